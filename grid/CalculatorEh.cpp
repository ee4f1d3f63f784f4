#include "grid/CalculatorEh.h"

#include "grid/ToolCtrlsEh.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Screen.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <cmath>

namespace {

constexpr int ClientW = 184, ClientH = 127;
constexpr int ButtonW = 27, ButtonH = 22, EqualW = 56;
constexpr int PanelX = 6, PanelY = 4, PanelW = 171, PanelH = 19;
// The stored description: the resolution it was laid out at, its font's
// pixel height ("MS Sans Serif" 8 pt at 96 pixels per inch) and the height of
// "0" in that font.
constexpr int DesignPixelsPerInch = 96;
constexpr int DesignFontHeight = -11;
constexpr int DesignTextHeight = 13;

struct TButtonInfo
{
    const char* Caption;
    QChar Key;
    bool Blue; // digits and functions; operators and control keys are red
};

const TButtonInfo ButtonInfo[23] = {
    {"7", u'7', true},      {"8", u'8', true},   {"9", u'9', true},   {"/", u'/', false},
    {"sqrt", u'S', true},   {"C", u'C', false},  {"4", u'4', true},   {"5", u'5', true},
    {"6", u'6', true},      {"*", u'*', false},  {"%", u'%', true},   {"Cancel", u'A', false},
    {"1", u'1', true},      {"2", u'2', true},   {"3", u'3', true},   {"-", u'-', false},
    {"1/x", u'R', true},    {"<-", QChar(8), false}, {"0", u'0', true}, {"+/-", u'I', true},
    {".", u'.', true},      {"+", u'+', false},  {"Ok", u'=', false},
};

bool IsPendingArithmetic(QChar Op)
{
    return Op == u'*' || Op == u'+' || Op == u'-' || Op == u'/';
}

// A calculator key: a glyph-style button with its caption in the key's
// colour, raised while the mouse is over it.
class TCalcButtonEh : public TSpeedButtonEh
{
public:
    explicit TCalcButtonEh(QWidget* AParent) : TSpeedButtonEh(AParent) { SetStyle(ebsGlyphEh); }

protected:
    void paintEvent(QPaintEvent* Event) override
    {
        TSpeedButtonEh::paintEvent(Event);
        QPainter P(this);
        // A caption wider than its key ("Cancel") is set smaller to fit.
        QFont F = font();
        const int Room = width() - 2;
        for (int Px = QFontInfo(F).pixelSize(); Px > 6 && QFontMetrics(F).horizontalAdvance(Caption()) > Room; --Px)
            F.setPixelSize(Px - 1);
        P.setFont(F);
        P.setPen(palette().color(QPalette::ButtonText));
        const int Shift = IsDown() ? 1 : 0;
        P.drawText(rect().translated(Shift, Shift), Qt::AlignCenter, Caption());
    }
    void enterEvent(QEnterEvent* Event) override
    {
        TSpeedButtonEh::enterEvent(Event);
        SetActive(true);
    }
    void leaveEvent(QEvent* Event) override
    {
        TSpeedButtonEh::leaveEvent(Event);
        SetActive(false);
    }
};

} // namespace

// ---------------------------------------------------------------- TCalculatorEh

TCalculatorEh::TCalculatorEh(QWidget* AParent) : TCustomControl(AParent)
{
    SetColor(clBtnFace);
    setFocusPolicy(Qt::StrongFocus);
    // "MS Sans Serif", taken as the default sans face.
    Font()->SetName(QApplication::font().family());
    FPixelsPerInch = DesignPixelsPerInch;
    BuildControls();
    ApplyScaling();
    Clear();
}

// Scaled as a form is: the font by screen over stored pixels per inch, then
// the geometry by the height of "0" in that font over the stored one.
void TCalculatorEh::ApplyScaling()
{
    int Height = DesignFontHeight;
    const int ScreenPpi = Screen()->PixelsPerInch();
    if (FPixelsPerInch != 0 && FPixelsPerInch != ScreenPpi)
        Height = MulDiv(Height, ScreenPpi, FPixelsPerInch);
    Font()->SetHeight(Height);
    const QFont F = Font()->ToQFont();
    TextBox->setFont(F);
    for (TSpeedButtonEh* B : FButtons)
        B->setFont(F);
    const int Text = QFontMetrics(F).height();
    FScaleM = Text > 0 && Text != DesignTextHeight ? Text : DesignTextHeight;
    FScaleD = DesignTextHeight;
    PlaceControls();
}

TCalculatorEh::~TCalculatorEh() = default;

QChar TCalculatorEh::KeyOfTag(int Tag)
{
    return Tag >= 1 && Tag <= 23 ? ButtonInfo[Tag - 1].Key : QChar();
}

void TCalculatorEh::BuildControls()
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    QPalette P = Panel1->palette();
    P.setColor(QPalette::Window, ColorToQColor(clHighlightText));
    Panel1->setPalette(P);
    TextBox = new QLabel(Panel1);
    TextBox->setObjectName(QStringLiteral("TextBox"));
    TextBox->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (int Tag = 1; Tag <= 23; ++Tag) {
        const TButtonInfo& I = ButtonInfo[Tag - 1];
        auto* B = new TCalcButtonEh(this);
        B->setObjectName(QStringLiteral("SpeedButton%1").arg(Tag));
        B->SetTag(Tag);
        B->SetCaption(QString::fromLatin1(I.Caption));
        B->SetFlat(true);
        B->setFocusPolicy(Qt::NoFocus);
        QPalette BP = B->palette();
        BP.setColor(QPalette::ButtonText, ColorToQColor(I.Blue ? clBlue : clRed));
        B->setPalette(BP);
        B->OnClick = [this](QObject* Sender) { SpeedButtonClick(Sender); };
        FButtons[size_t(Tag - 1)] = B;
    }
    spEqual = FButtons[22];
    spEqual->setObjectName(QStringLiteral("spEqual"));
}

// Rows of six by tag under the display; "=" is two buttons wide. Every
// measure is scaled by the font's "0" height against the design's.
void TCalculatorEh::PlaceControls()
{
    auto S = [this](int V) { return MulDiv(V, FScaleM, FScaleD); };
    const int B = FBorderWidth;
    Panel1->setGeometry(B + S(PanelX), B + S(PanelY), S(PanelW), S(PanelH));
    TextBox->setGeometry(2, 2, S(PanelW) - 4, S(PanelH) - 4);
    for (int Tag = 1; Tag <= 23; ++Tag) {
        const int Row = (Tag - 1) / 6, Column = (Tag - 1) % 6;
        const int W = Tag == 23 ? EqualW : ButtonW;
        FButtons[size_t(Tag - 1)]->setGeometry(B + S(6 + Column * 29), B + S(30 + Row * 24), S(W), S(ButtonH));
    }
    resize(S(ClientW) + 2 * B, S(ClientH) + 2 * B);
}

void TCalculatorEh::SetBorderWidth(int Value)
{
    if (Value == FBorderWidth)
        return;
    FBorderWidth = Value;
    PlaceControls();
}

void TCalculatorEh::SetPixelsPerInch(int Value)
{
    if ((Value != 0 && Value < 36) || Value == FPixelsPerInch)
        return;
    FPixelsPerInch = Value;
    ApplyScaling();
}

QString TCalculatorEh::DisplayText() const
{
    return TextBox->text();
}

void TCalculatorEh::SetDisplay(const QString& Text)
{
    TextBox->setText(Text);
}

void TCalculatorEh::Clear()
{
    FStatus = 0;
    SetDisplay(QStringLiteral("0"));
    FOperator = u'=';
    FOperand = 0;
    UpdateEqualCaption();
}

bool TCalculatorEh::DisplayValue(double& Value) const
{
    return FStatus != 2 && TryStrToFloat(DisplayText(), Value);
}

void TCalculatorEh::SetError()
{
    FStatus = 2;
    SetDisplay(QStringLiteral("Error"));
}

void TCalculatorEh::SetDisplayValue(double Value)
{
    // A result beyond the range of a double could not be handed back.
    if (!std::isfinite(Value)) {
        SetError();
        return;
    }
    SetDisplay(FloatToStr(Value));
}

void TCalculatorEh::StartNumber()
{
    if (FStatus == 0) {
        FStatus = 1;
        SetDisplay(QStringLiteral("0"));
    }
}

void TCalculatorEh::CalcKey(QChar Key)
{
    Key = Key.toUpper();
    if (FStatus == 2 && Key != u'C') {
        UpdateEqualCaption();
        return;
    }
    const QChar Decimal = FormatSettings().DecimalSeparator;
    const ushort Code = Key.unicode();
    if (Key == u'.' || Key == u',' || Key == Decimal) {
        StartNumber();
        if (!DisplayText().contains(Decimal))
            SetDisplay(DisplayText() + Decimal);
    } else if (Key >= u'0' && Key <= u'9') {
        StartNumber();
        QString Text = DisplayText();
        if (Text == u'0')
            Text.clear();
        const int Limit = Text.startsWith(u'-') ? 16 : 15;
        if (!Text.contains(u'E') && Text.size() < Limit)
            Text += Key;
        SetDisplay(Text.isEmpty() ? QStringLiteral("0") : Text);
    } else if (Key == u'C' || Code == 27) {
        Clear();
    } else if (Code == 8) {
        StartNumber();
        const QString Text = DisplayText();
        if (Text.size() == 1 || (Text.size() == 2 && Text.startsWith(u'-')))
            SetDisplay(QStringLiteral("0"));
        else
            SetDisplay(Text.chopped(1));
    } else if (Key == u'I') {
        double V;
        if (DisplayValue(V))
            SetDisplayValue(-V);
    } else if (Key == u'R' || Key == u'S') {
        FStatus = 0;
        double V = 0;
        DisplayValue(V);
        if (Key == u'R' ? V == 0 : V < 0)
            SetError();
        else
            SetDisplayValue(Key == u'R' ? 1 / V : std::sqrt(V));
    } else if (Code == 3) {
        TClipboard().SetAsText(DisplayText());
    } else if (Code == 22) {
        PasteNumber();
    } else if (Key == u'+' || Key == u'-' || Key == u'*' || Key == u'/' || Key == u'%' || Key == u'='
               || Code == 13) {
        Operate(Code == 13 ? QChar(u'=') : Key);
    }
    UpdateEqualCaption();
}

// Text that is not a number is refused with a beep; the display stays.
void TCalculatorEh::PasteNumber()
{
    const TClipboard Clipboard;
    double V;
    if (!Clipboard.HasFormat(QStringLiteral("text/plain")) || !TryStrToFloat(Trim(Clipboard.AsText()), V)) {
        QApplication::beep();
        return;
    }
    SetDisplayValue(V);
}

void TCalculatorEh::Operate(QChar Key)
{
    if (FStatus == 1) {
        FStatus = 0;
        double V = 0;
        DisplayValue(V);
        if (Key == u'%') {
            if (FOperator == u'*' || FOperator == u'/')
                V = V / 100;
            else if (FOperator == u'+' || FOperator == u'-')
                V = FOperand * V / 100;
        }
        double Result = V;
        switch (FOperator.unicode()) {
        case u'*': Result = FOperand * V; break;
        case u'+': Result = FOperand + V; break;
        case u'-': Result = FOperand - V; break;
        case u'/':
            if (V == 0) {
                SetError();
                return;
            }
            Result = FOperand / V;
            break;
        default: break;
        }
        SetDisplayValue(Result);
        if (FStatus == 2)
            return;
    }
    FOperator = Key;
    double V = 0;
    DisplayValue(V);
    FOperand = V;
}

// "=" only while it would compute something; otherwise "Ok" hands the value back.
void TCalculatorEh::UpdateEqualCaption()
{
    const bool Compute = FOperand != 0 && FStatus == 1 && IsPendingArithmetic(FOperator);
    spEqual->SetCaption(Compute ? QStringLiteral("=") : QStringLiteral("Ok"));
}

void TCalculatorEh::SpeedButtonClick(QObject* Sender)
{
    auto* Button = dynamic_cast<TSpeedButtonEh*>(Sender);
    if (!Button)
        return;
    QChar Key = KeyOfTag(Button->Tag());
    KeyPress(Key);
}

void TCalculatorEh::KeyPress(QChar& Key)
{
    TCustomControl::KeyPress(Key);
    if (!Key.isNull())
        CalcKey(Key);
}

void TCalculatorEh::Paint()
{
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

// ---------------------------------------------------------------- TPopupCalculatorEh

TPopupCalculatorEh::TPopupCalculatorEh(QWidget* AOwner) : TCalculatorEh(AOwner)
{
    MakePopupWindowEh(this);
    SetBorderWidth(2);
    hide();
}

TPopupCalculatorEh::~TPopupCalculatorEh() = default;

Variant TPopupCalculatorEh::Value() const
{
    double V;
    return DisplayValue(V) ? Variant(V) : Variant::Null();
}

void TPopupCalculatorEh::SetValue(const Variant& Value)
{
    Clear();
    if (!Value.IsNull() && !Value.IsEmpty())
        SetDisplayValue(Value.AsFloat());
}

void TPopupCalculatorEh::SetFlat(bool Value)
{
    FFlat = Value;
    for (int Tag = 1; Tag <= 23; ++Tag)
        Buttons(Tag)->SetFlat(Value);
}

void TPopupCalculatorEh::SetCtl3D(bool Value)
{
    if (Value == FCtl3D)
        return;
    FCtl3D = Value;
    SetBorderWidth(Value ? 2 : 0);
    Invalidate();
}

void TPopupCalculatorEh::CloseUp(bool Accept)
{
    if (OnCloseUp)
        OnCloseUp(Accept);
}

void TPopupCalculatorEh::KeyDown(int& Key, TShiftState Shift)
{
    TCalculatorEh::KeyDown(Key, Shift);
    if (Key == VK_ESCAPE) {
        Key = 0;
        CloseUp(false);
    }
}

void TPopupCalculatorEh::KeyPress(QChar& Key)
{
    const bool Ok = spEqual->Caption() == QStringLiteral("Ok");
    if ((Key == QChar(13) || Key == u'=') && Ok) {
        Key = QChar();
        CloseUp(true);
        return;
    }
    // "Cancel" closes like Esc.
    if (Key.toUpper() == u'A') {
        Key = QChar();
        CloseUp(false);
        return;
    }
    TCalculatorEh::KeyPress(Key);
}

bool TPopupCalculatorEh::MouseWheel(TShiftState Shift, int WheelDelta, int X, int Y)
{
    (void)Shift;
    (void)X;
    (void)Y;
    double V;
    if (WheelDelta != 0 && DisplayValue(V))
        SetDisplayValue(WheelDelta > 0 ? V + 1 : V - 1);
    return true;
}

void TPopupCalculatorEh::Paint()
{
    TCalculatorEh::Paint();
    if (!FCtl3D)
        return;
    TCanvas* C = Canvas();
    QRect R = ClientRect();
    C->Brush()->SetColor(cl3DDkShadow);
    C->FrameRect(R);
    R.adjust(1, 1, -1, -1);
    C->DrawEdge(R, BDR_RAISEDINNER, BF_RECT);
}
