#include "report/designer/FR_pgopt.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Utils.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QTabWidget>

namespace {

QLineEdit* LabelledEdit(QWidget* Parent, int Id, int X, int Y, QLabel** Label = nullptr, int LabelWidth = 90)
{
    auto* L = new QLabel(LoadEngineString(Id).remove(u'&'), Parent);
    L->setGeometry(X, Y + 2, LabelWidth, 18);
    if (Label)
        *Label = L;
    auto* E = new QLineEdit(Parent);
    E->setGeometry(X + LabelWidth + 2, Y, 60, 21);
    return E;
}

QGroupBox* Group(QWidget* Parent, int Id, int X, int Y, int W, int H)
{
    auto* G = new QGroupBox(LoadEngineString(Id), Parent);
    G->setGeometry(X, Y, W, H);
    return G;
}

// Our orientation pictures: a sheet with text lines, upright or lying.
QPixmap SheetPicture(bool Landscape)
{
    QPixmap P(40, 40);
    P.fill(Qt::transparent);
    QPainter G(&P);
    const QRect Sheet = Landscape ? QRect(2, 8, 35, 25) : QRect(8, 2, 25, 35);
    G.setPen(Qt::black);
    G.setBrush(Qt::white);
    G.drawRect(Sheet);
    G.setPen(QColor(0x1F, 0x4E, 0x8C));
    for (int Y = Sheet.top() + 5; Y < Sheet.bottom() - 3; Y += 4)
        G.drawLine(Sheet.left() + 4, Y, Sheet.right() - 4, Y);
    return P;
}

// Our arrow glyphs for the column counter.
std::unique_ptr<TBitmap> ArrowGlyph(bool Up)
{
    QImage I(8, 5, QImage::Format_RGB32);
    I.fill(ColorToQColor(clOlive));
    QPainter G(&I);
    G.setPen(Qt::NoPen);
    G.setBrush(Qt::black);
    G.drawPolygon(Up ? QPolygon({QPoint(0, 4), QPoint(4, 0), QPoint(8, 4)})
                     : QPolygon({QPoint(0, 0), QPoint(4, 4), QPoint(8, 0)}));
    G.end();
    auto B = std::make_unique<TBitmap>();
    B->LoadFromImage(I);
    return B;
}

} // namespace

TfrPgoptForm::TfrPgoptForm(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("frPgoptForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(381, 189);
    SetCaption(LoadEngineString(53390));
    PageControl1 = new QTabWidget(this);
    PageControl1->setGeometry(8, 8, 365, 144);

    auto* TabSheet1 = new QWidget;
    PageControl1->addTab(TabSheet1, LoadEngineString(53391));
    QGroupBox* Orientation = Group(TabSheet1, 53392, 6, 4, 150, 84);
    RB1 = new QRadioButton(LoadEngineString(53393).remove(u'&'), Orientation);
    RB1->setGeometry(8, 20, 90, 18);
    RB2 = new QRadioButton(LoadEngineString(53394).remove(u'&'), Orientation);
    RB2->setGeometry(8, 44, 90, 18);
    imgPortrait = new QLabel(Orientation);
    imgPortrait->setPixmap(SheetPicture(false));
    imgPortrait->setGeometry(104, 22, 40, 40);
    imgLandScape = new QLabel(Orientation);
    imgLandScape->setPixmap(SheetPicture(true));
    imgLandScape->setGeometry(104, 22, 40, 40);
    CB2 = new QCheckBox(LoadEngineString(53413).remove(u'&'), TabSheet1);
    CB2->setGeometry(10, 94, 146, 18);
    QGroupBox* Size = Group(TabSheet1, 53395, 162, 4, 190, 108);
    ComB1 = new QComboBox(Size);
    ComB1->setGeometry(8, 20, 174, 22);
    E1 = LabelledEdit(Size, 53396, 8, 50, &Label1);
    E2 = LabelledEdit(Size, 53397, 8, 76, &Label2);
    QObject::connect(ComB1, &QComboBox::currentIndexChanged, this, [this] { ComB1Click(); });
    QObject::connect(RB1, &QRadioButton::clicked, this, [this] { RB1Click(); });
    QObject::connect(RB2, &QRadioButton::clicked, this, [this] { RB2Click(); });

    auto* TabSheet2 = new QWidget;
    PageControl1->addTab(TabSheet2, LoadEngineString(53398));
    QGroupBox* Margins = Group(TabSheet2, 53399, 6, 4, 346, 80);
    E3 = LabelledEdit(Margins, 53400, 8, 20);
    E4 = LabelledEdit(Margins, 53401, 8, 48);
    E5 = LabelledEdit(Margins, 53402, 176, 20);
    E6 = LabelledEdit(Margins, 53403, 176, 48);
    CB5 = new QCheckBox(LoadEngineString(53404).remove(u'&'), TabSheet2);
    CB5->setGeometry(10, 90, 300, 18);

    auto* TabSheet3 = new QWidget;
    PageControl1->addTab(TabSheet3, LoadEngineString(53405));
    QGroupBox* GroupBox1 = Group(TabSheet3, 53406, 6, 4, 150, 108);
    CB1 = new QCheckBox(LoadEngineString(53407).remove(u'&'), GroupBox1);
    CB1->setGeometry(8, 20, 138, 18);
    QGroupBox* Columns = Group(TabSheet3, 53408, 162, 4, 190, 108);
    Edit1 = LabelledEdit(Columns, 53409, 8, 20, nullptr, 108);
    Edit1->resize(24, 21);
    Edit1->setText(QStringLiteral("1"));
    SB1 = new TfrSpeedButton(Columns);
    SB1->setObjectName(QStringLiteral("SB1"));
    SB1->SetGlyph(ArrowGlyph(true).get());
    SB1->setGeometry(144, 20, 16, 11);
    SB1->OnClick = [this](QObject*) { SB1Click(); };
    SB2 = new TfrSpeedButton(Columns);
    SB2->setObjectName(QStringLiteral("SB2"));
    SB2->SetGlyph(ArrowGlyph(false).get());
    SB2->setGeometry(144, 31, 16, 10);
    SB2->OnClick = [this](QObject*) { SB2Click(); };
    E7 = LabelledEdit(Columns, 53410, 8, 50, nullptr, 108);

    auto* TabSheet4 = new QWidget;
    PageControl1->addTab(TabSheet4, LoadEngineString(53411));
    QGroupBox* Source = Group(TabSheet4, 53412, 6, 4, 346, 56);
    BinList = new QComboBox(Source);
    BinList->setGeometry(8, 22, 330, 22);

    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(218, 158, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(298, 158, 75, 25);
    OnShow = [this](QObject*) { FormActivate(); };
}

void TfrPgoptForm::FormActivate()
{
    if (RB1->isChecked())
        RB1Click();
    else
        RB2Click();
    ComB1Click();
    ComB1->view()->setMinimumWidth(200);
}

void TfrPgoptForm::RB1Click()
{
    imgPortrait->setVisible(true);
    imgLandScape->setVisible(false);
}

void TfrPgoptForm::RB2Click()
{
    imgPortrait->setVisible(false);
    imgLandScape->setVisible(true);
}

void TfrPgoptForm::ComB1Click()
{
    const int i = ComB1->currentIndex();
    const bool Custom = i >= 0 && i < PaperCodes.size() && PaperCodes[i] == frCustomPaper;
    EnableControls({Label1, Label2, E1, E2}, Custom);
}

void TfrPgoptForm::StepColumns(int Delta)
{
    bool Ok = false;
    const int N = Edit1->text().trimmed().toInt(&Ok);
    if (!Ok) {
        ShowError(QStringLiteral("'%1' is not a valid integer value").arg(Edit1->text()));
        return;
    }
    Edit1->setText(QString::number(std::max(0, N + Delta)));
}

void TfrPgoptForm::SB1Click()
{
    StepColumns(1);
}

void TfrPgoptForm::SB2Click()
{
    StepColumns(-1);
}
