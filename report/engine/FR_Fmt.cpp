#include "report/engine/FR_Fmt.h"

#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_Utils.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace {

constexpr int CategoryCount = 5;
constexpr int FormatsPerCategory = 5;
constexpr int CustomFormat = 4;

QLabel* LabelFor(QWidget* Parent, int Id, QWidget* Buddy, int X, int Y, int W)
{
    auto* L = new QLabel(LoadEngineString(Id), Parent);
    L->setBuddy(Buddy);
    L->setGeometry(X, Y, W, 16);
    return L;
}

} // namespace

TfrFmtForm::TfrFmtForm(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("frFmtForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(360, 232);
    SetCaption(LoadEngineString(53420));
    CatLB = new QListWidget(this);
    CatLB->setGeometry(8, 8, 110, 124);
    TypeLB = new QListWidget(this);
    TypeLB->setGeometry(124, 8, 228, 124);
    DecEdit = new QLineEdit(QStringLiteral("0"), this);
    DecEdit->setGeometry(112, 142, 44, 21);
    Label1 = LabelFor(this, 53422, DecEdit, 8, 145, 100);
    SplEdit = new QLineEdit(this);
    SplEdit->setGeometry(322, 142, 30, 21);
    SplEdit->installEventFilter(this);
    Label2 = LabelFor(this, 53423, SplEdit, 178, 145, 140);
    FormatEdit = new QLineEdit(this);
    FormatEdit->setGeometry(112, 170, 240, 21);
    Label3 = LabelFor(this, 53424, FormatEdit, 8, 173, 100);
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(196, 200, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(277, 200, 75, 25);

    QObject::connect(CatLB, &QListWidget::currentRowChanged, this, [this](int Row) {
        if (FFilling)
            return;
        FillTypes(Row);
        ShowPanels();
    });
    QObject::connect(TypeLB, &QListWidget::currentRowChanged, this, [this](int) {
        if (!FFilling)
            ShowPanels();
    });
    OnShow = [this](QObject*) { FormActivate(); };
    OnClose = [this](QObject*, TCloseAction&) { FormClose(); };
}

void TfrFmtForm::FormActivate()
{
    FFilling = true;
    CatLB->clear();
    for (int i = 0; i < CategoryCount; ++i)
        CatLB->addItem(LoadEngineString(55130 + i));
    // Bits out of range choose the first entry, so that the packed value never
    // names a category or format that is not there.
    int Category = int((FFormat >> 24) & 0x0F);
    if (Category >= CategoryCount)
        Category = 0;
    CatLB->setCurrentRow(Category);
    FillTypes(Category);
    const int Type = int((FFormat >> 16) & 0xFF);
    FFilling = true;
    TypeLB->setCurrentRow(Type < TypeLB->count() ? Type : 0);
    FFilling = false;
    ShowPanels();
}

void TfrFmtForm::FillTypes(int Category)
{
    FFilling = true;
    TypeLB->clear();
    for (int i = 0; i < FormatsPerCategory; ++i) {
        const QString Text = LoadEngineString(55150 + FormatsPerCategory * Category + i);
        if (!Text.isEmpty())
            TypeLB->addItem(Text);
    }
    TypeLB->setCurrentRow(0);
    FFilling = false;
}

void TfrFmtForm::ShowPanels()
{
    const bool Number = CatLB->currentRow() == 1;
    EnableControls({Label1, Label2, DecEdit, SplEdit}, Number);
    if (Number) {
        DecEdit->setText(QString::number((FFormat >> 8) & 0xFF));
        const ushort Separator = ushort(FFormat & 0xFF);
        SplEdit->setText(Separator ? QString(QChar(Separator)) : QString());
    } else {
        DecEdit->clear();
        SplEdit->clear();
    }
    const bool Custom = TypeLB->currentRow() == CustomFormat;
    EnableControls({Label3, FormatEdit}, Custom);
    FormatEdit->setText(Custom ? FFormatStr : QString());
}

bool TfrFmtForm::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == SplEdit && Event->type() == QEvent::FocusIn)
        SplEdit->selectAll();
    return TForm::eventFilter(Watched, Event);
}

void TfrFmtForm::FormClose()
{
    if (ModalResult() != mrOk)
        return;
    const uint32_t Category = uint32_t(std::max(0, CatLB->currentRow()));
    const uint32_t Type = uint32_t(std::max(0, TypeLB->currentRow()));
    bool IsNumber = false;
    const int Digits = DecEdit->text().trimmed().toInt(&IsNumber);
    // Each field keeps to its own byte.
    const uint32_t Decimals = IsNumber ? uint32_t(std::clamp(Digits, 0, 255)) : 0u;
    const QString Text = SplEdit->text();
    uint32_t Separator = Text.isEmpty() ? u',' : Text.at(0).unicode();
    if (Separator > 0xFF)
        Separator = u',';
    FFormat = Category << 24 | Type << 16 | Decimals << 8 | Separator;
    if (FormatEdit->isEnabled())
        FFormatStr = FormatEdit->text();
}
