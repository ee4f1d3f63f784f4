#include "report/designer/FR_pgopt.h"

#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

QLineEdit* LabelledEdit(QWidget* Parent, int Id, int X, int Y, QLabel** Label = nullptr, int LabelWidth = 90)
{
    auto* L = new QLabel(LoadEngineString(Id).remove(u'&'), Parent);
    L->setGeometry(X, Y + 2, LabelWidth, 18);
    if (Label)
        *Label = L;
    auto* E = new QLineEdit(Parent);
    E->setGeometry(X + LabelWidth + 2, Y, 150 - LabelWidth, 21);
    return E;
}

} // namespace

TfrPgoptForm::TfrPgoptForm(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("frPgoptForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(381, 330);
    SetCaption(LoadEngineString(53390));
    auto* Orientation = new QGroupBox(LoadEngineString(53392), this);
    Orientation->setGeometry(8, 8, 120, 64);
    RB1 = new QRadioButton(LoadEngineString(53393).remove(u'&'), Orientation);
    RB1->setGeometry(8, 18, 104, 18);
    RB2 = new QRadioButton(LoadEngineString(53394).remove(u'&'), Orientation);
    RB2->setGeometry(8, 38, 104, 18);
    auto* Size = new QGroupBox(LoadEngineString(53395), this);
    Size->setGeometry(136, 8, 237, 100);
    ComB1 = new QComboBox(Size);
    ComB1->setGeometry(8, 18, 221, 22);
    E1 = LabelledEdit(Size, 53396, 8, 46, &Label1);
    E2 = LabelledEdit(Size, 53397, 8, 72, &Label2);
    QObject::connect(ComB1, &QComboBox::currentIndexChanged, this, [this] { ComB1Click(); });
    auto* Margins = new QGroupBox(LoadEngineString(53399), this);
    Margins->setGeometry(8, 112, 365, 82);
    E3 = LabelledEdit(Margins, 53400, 8, 18);
    E4 = LabelledEdit(Margins, 53401, 8, 44);
    E5 = LabelledEdit(Margins, 53402, 180, 18);
    E6 = LabelledEdit(Margins, 53403, 180, 44);
    auto* Options = new QGroupBox(LoadEngineString(53406), this);
    Options->setGeometry(8, 198, 180, 84);
    CB5 = new QCheckBox(LoadEngineString(53404).remove(u'&'), Options);
    CB5->setGeometry(8, 18, 168, 18);
    CB1 = new QCheckBox(LoadEngineString(53407).remove(u'&'), Options);
    CB1->setGeometry(8, 38, 168, 18);
    CB2 = new QCheckBox(LoadEngineString(53413).remove(u'&'), Options);
    CB2->setGeometry(8, 58, 168, 18);
    auto* Columns = new QGroupBox(LoadEngineString(53408), this);
    Columns->setGeometry(196, 198, 177, 84);
    Edit1 = LabelledEdit(Columns, 53409, 8, 18, nullptr, 108);
    Edit1->setText(QStringLiteral("1"));
    E7 = LabelledEdit(Columns, 53410, 8, 46, nullptr, 108);
    auto* Source = new QLabel(LoadEngineString(53412), this);
    Source->setGeometry(8, 296, 90, 18);
    BinList = new QComboBox(this);
    BinList->setGeometry(100, 294, 110, 22);
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(218, 294, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(298, 294, 75, 25);
}

void TfrPgoptForm::ComB1Click()
{
    const int i = ComB1->currentIndex();
    const bool Custom = i >= 0 && i < PaperCodes.size() && PaperCodes[i] == frCustomPaper;
    for (QWidget* W : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2), static_cast<QWidget*>(E1),
                       static_cast<QWidget*>(E2)})
        W->setEnabled(Custom);
}
