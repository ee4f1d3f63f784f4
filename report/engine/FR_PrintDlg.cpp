#include "report/engine/FR_PrintDlg.h"

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Prntr.h"
#include "report/engine/FR_Utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace {

// ---------------------------------------------------------------- pictures

std::unique_ptr<TBitmap> ToBitmap(const QImage& Image, TColor Transparent)
{
    auto B = std::make_unique<TBitmap>();
    B->LoadFromImage(Image);
    B->SetTransparentColor(Transparent);
    B->SetTransparent(true);
    return B;
}

// A printer of 18 x 16 on olive: paper over a grey body with a dark slot.
std::unique_ptr<TBitmap> PrinterPicture()
{
    QImage I(18, 16, QImage::Format_RGB32);
    I.fill(ColorToQColor(clOlive));
    QPainter P(&I);
    P.setPen(Qt::black);
    P.setBrush(Qt::white);
    P.drawRect(5, 1, 8, 6);
    P.setBrush(QColor(192, 192, 192));
    P.drawRect(1, 6, 15, 6);
    P.setBrush(QColor(128, 128, 128));
    P.drawRect(3, 12, 11, 2);
    P.fillRect(13, 8, 2, 1, QColor(0, 160, 0));
    return ToBitmap(I, clOlive);
}

// Sets of numbered pages on silver: each set a stack of pages 22 x 30, each
// page 6 pixels right and down of the one behind it.
std::unique_ptr<TBitmap> PagesPicture(int Width, int Height, const std::vector<QStringList>& Stacks)
{
    QImage I(Width, Height, QImage::Format_RGB32);
    I.fill(ColorToQColor(clSilver));
    QPainter P(&I);
    QFont F = P.font();
    F.setPixelSize(10);
    P.setFont(F);
    int X = 0;
    for (const QStringList& Stack : Stacks) {
        int Offset = 0;
        for (const QString& Number : Stack) {
            const QRect Page(X + Offset, Offset, 21, 29);
            P.setPen(Qt::black);
            P.setBrush(Qt::white);
            P.drawRect(Page);
            P.drawText(Page.adjusted(3, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, Number);
            Offset += 6;
        }
        X += 22 + 6 * int(Stack.size() - 1) + 4;
    }
    return ToBitmap(I, clSilver);
}

// A small black arrow on olive for the copies' up and down buttons.
std::unique_ptr<TBitmap> ArrowPicture(bool Up)
{
    QImage I(7, 4, QImage::Format_RGB32);
    I.fill(ColorToQColor(clOlive));
    for (int Row = 0; Row < 4; ++Row) {
        const int Y = Up ? 3 - Row : Row;
        for (int X = Row; X < 7 - Row; ++X)
            I.setPixel(X, Y, qRgb(0, 0, 0));
    }
    return ToBitmap(I, clOlive);
}

TButton* DialogButton(QWidget* Parent, int TextId, TModalResult Result, int X, int Y)
{
    auto* B = new TButton(Parent);
    B->SetCaption(LoadEngineString(TextId));
    B->SetModalResult(Result);
    B->setGeometry(X, Y, 75, 25);
    return B;
}

} // namespace

TfrPrintForm::TfrPrintForm(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("frPrintForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(420, 250);
    SetCaption(LoadEngineString(53040));

    GroupBox1 = new QGroupBox(LoadEngineString(53041), this);
    GroupBox1->setGeometry(8, 4, 404, 56);
    CB1 = new QComboBox(GroupBox1);
    CB1->setGeometry(64, 22, 240, 22);
    CB1->setIconSize(QSize(18, 16));
    Label4 = new QLabel(LoadEngineString(53049), GroupBox1);
    Label4->setBuddy(CB1);
    Label4->setGeometry(12, 25, 50, 16);
    Image1 = new TImage(GroupBox1);
    Image1->Picture()->SetGraphic(PrinterPicture());
    Image1->hide();
    PropButton = new TButton(GroupBox1);
    PropButton->SetCaption(LoadEngineString(53042));
    PropButton->setGeometry(312, 21, 84, 25);

    GroupBox2 = new QGroupBox(LoadEngineString(53044), this);
    GroupBox2->setGeometry(8, 64, 220, 140);
    RB1 = new QRadioButton(LoadEngineString(53045), GroupBox2);
    RB1->setGeometry(12, 20, 200, 20);
    RB1->setChecked(true);
    RB2 = new QRadioButton(LoadEngineString(53046), GroupBox2);
    RB2->setGeometry(12, 42, 200, 20);
    RB3 = new QRadioButton(LoadEngineString(53047), GroupBox2);
    RB3->setGeometry(12, 65, 66, 20);
    E2 = new QLineEdit(GroupBox2);
    E2->setGeometry(80, 64, 128, 21);
    // Page numbers, commas, dashes and blanks only.
    E2->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9, -]*")), E2));
    E2->installEventFilter(this);
    Label2 = new QLabel(LoadEngineString(53048), GroupBox2);
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setGeometry(12, 92, 200, 44);

    GroupBox3 = new QGroupBox(LoadEngineString(53043), this);
    GroupBox3->setGeometry(236, 64, 176, 140);
    E1 = new QLineEdit(QStringLiteral("1"), GroupBox3);
    E1->setGeometry(124, 20, 32, 21);
    Label1 = new QLabel(LoadEngineString(53050), GroupBox3);
    Label1->setBuddy(E1);
    Label1->setGeometry(10, 23, 112, 16);
    Panel1 = new TCustomControl(GroupBox3);
    Panel1->setGeometry(156, 20, 13, 21);
    frSpeedButton1 = new TfrSpeedButton(Panel1);
    frSpeedButton1->setGeometry(0, 0, 13, 10);
    frSpeedButton1->SetGlyph(ArrowPicture(true).get());
    frSpeedButton2 = new TfrSpeedButton(Panel1);
    frSpeedButton2->setGeometry(0, 10, 13, 11);
    frSpeedButton2->SetGlyph(ArrowPicture(false).get());
    PB1 = new TCustomControl(GroupBox3);
    PB1->setGeometry(8, 58, 92, 53);
    CollateCB = new QCheckBox(GroupBox3);
    CollateCB->setGeometry(106, 76, 18, 20);
    CollateCB->setChecked(true);
    Label3 = new QLabel(LoadEngineString(53051), GroupBox3);
    Label3->setBuddy(CollateCB);
    Label3->setGeometry(124, 78, 48, 16);
    Label3->installEventFilter(this);
    CollateImg = new TImage(GroupBox3);
    CollateImg->Picture()->SetGraphic(PagesPicture(74, 53, {{"1", "2", "3"}, {"1", "2", "3"}}));
    CollateImg->hide();
    NonCollateImg = new TImage(GroupBox3);
    NonCollateImg->Picture()->SetGraphic(PagesPicture(92, 40, {{"1", "1"}, {"2", "2"}, {"3", "3"}}));
    NonCollateImg->hide();

    Label5 = new QLabel(LoadEngineString(53052), this);
    Label5->move(8, 218);
    Label5->adjustSize();
    CB2 = new QComboBox(this);
    for (int Id : {53053, 53054, 53055})
        CB2->addItem(LoadEngineString(Id));
    CB2->setCurrentIndex(0);
    Label5->setBuddy(CB2);
    CB2->setGeometry(RectRight(Label5->geometry()) + 11, 214, 130, 22);
    Button1 = DialogButton(this, 55000, mrOk, 256, 214);
    Button1->SetDefault(true);
    Button2 = DialogButton(this, 55001, mrCancel, 337, 214);
    Button2->SetCancel(true);

    FFilling = true;
    TfrPrinter* Prn = frPrinter();
    const QIcon Icon(QPixmap::fromImage(Image1->Picture()->Graphic()->ToImage()));
    for (int i = 0; i < Prn->Printers.Count(); ++i)
        CB1->addItem(Icon, Prn->Printers.Strings(i));
    CB1->setCurrentIndex(Prn->PrinterIndex);
    FOldIndex = Prn->PrinterIndex;
    FFilling = false;

    QObject::connect(CB1, &QComboBox::currentIndexChanged, this, [this](int) { CB1Click(); });
    PropButton->OnClick = [this](QObject*) { PropButtonClick(); };
    QObject::connect(RB3, &QRadioButton::clicked, this, [this] { E2->setFocus(); });
    frSpeedButton1->OnClick = [this](QObject*) { SpeedButtonClick(1); };
    frSpeedButton2->OnClick = [this](QObject*) { SpeedButtonClick(-1); };
    QObject::connect(CollateCB, &QCheckBox::toggled, this, [this](bool) { PB1->Invalidate(); });
    PB1->OnPaint = [this](TCustomControl*) { PB1Paint(); };
    OnClose = [this](QObject*, TCloseAction&) { FormClose(); };
}

QString TfrPrintForm::PageNumbers(int CurrentPage) const
{
    if (RB2->isChecked())
        return QString::number(CurrentPage);
    if (RB3->isChecked())
        return E2->text();
    return QString();
}

int TfrPrintForm::Copies() const
{
    bool Whole = false;
    const int N = E1->text().trimmed().toInt(&Whole);
    return Whole && N >= 1 ? N : 1;
}

void TfrPrintForm::CB1Click()
{
    if (FFilling || CB1->currentIndex() < 0)
        return;
    frPrinter()->SelectPrinter(CB1->currentIndex());
}

void TfrPrintForm::PropButtonClick()
{
    frPrinter()->ShowPropertiesDialog();
}

void TfrPrintForm::FormClose()
{
    TfrPrinter* Prn = frPrinter();
    if (ModalResult() != mrOk && FOldIndex >= 0 && FOldIndex < Prn->Printers.Count())
        Prn->SelectPrinter(FOldIndex);
}

void TfrPrintForm::SpeedButtonClick(int Step)
{
    E1->setText(QString::number(std::max(1, Copies() + Step)));
}

bool TfrPrintForm::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == E2 && Event->type() == QEvent::FocusIn)
        RB3->setChecked(true);
    if (Watched == Label3
        && (Event->type() == QEvent::MouseButtonPress || Event->type() == QEvent::MouseButtonDblClick))
        CollateCB->toggle();
    return TForm::eventFilter(Watched, Event);
}

void TfrPrintForm::PB1Paint()
{
    TCanvas* C = PB1->Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(PB1->ClientRect());
    const TGraphic* Picture = (CollateCB->isChecked() ? CollateImg : NonCollateImg)->Picture()->Graphic();
    if (CollateCB->isChecked())
        C->Draw(8, 0, Picture);
    else
        C->Draw(0, 8, Picture);
}
