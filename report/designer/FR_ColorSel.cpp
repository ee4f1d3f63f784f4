#include "report/designer/FR_ColorSel.h"

#include "platform/gui/ColorDialog.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Utils.h"

const std::array<TfrColorName, frColorCount> frColors = {{
    {clWhite, "clWhite"}, {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"},
    {clOlive, "clOlive"}, {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"},
    {clGray, "clGray"}, {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"},
    {clYellow, "clYellow"}, {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"},
    {clTransparent, "clTransparent"}, {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"}, {clMenu, "clMenu"},
    {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"}, {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"}, {clCaptionText, "clCaptionText"}, {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"}, {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"}, {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"}, {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"}, {clInfoBk, "clInfoBk"},
}};

int frColorIndex(TColor Value)
{
    for (int i = 0; i < frColorCount; ++i)
        if (frColors[i].Value == Value)
            return i;
    return -1;
}

int frColorIndexOf(const QString& Name)
{
    for (int i = 0; i < frColorCount; ++i)
        if (Name.compare(QLatin1String(frColors[i].Name), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString frColorText(TColor Value)
{
    const int i = frColorIndex(Value);
    if (i >= 0)
        return QLatin1String(frColors[i].Name);
    return QLatin1Char('$') + IntToHex(Value, 6);
}

bool frTryTextToColor(const QString& Text, TColor& Value)
{
    const int i = frColorIndexOf(Text.trimmed());
    if (i >= 0) {
        Value = frColors[i].Value;
        return true;
    }
    int64_t N = 0;
    if (!TryStrToInt64(Text, N) || N < 0 || N > 0xFFFFFFFFll)
        return false;
    Value = static_cast<TColor>(N);
    return true;
}

namespace {

// Button face around a square of the colour outlined in button shadow.
std::unique_ptr<TBitmap> Swatch(TColor Color, int W, int H, int Side)
{
    auto B = std::make_unique<TBitmap>(W, H);
    TCanvas* C = B->Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(QRect(0, 0, W, H));
    C->Pen()->SetColor(clBtnShadow);
    C->Brush()->SetColor(Color == clTransparent ? clBtnFace : Color);
    C->Rectangle(0, 0, Side, Side);
    return B;
}

} // namespace

TColorSelector::TColorSelector(QWidget* AParent)
    : TCustomControl(AParent)
{
    setObjectName(QStringLiteral("ColorSelector"));
    resize(96, 132);
    for (int Tag = 0; Tag < 18; ++Tag) {
        auto* B = new TfrSpeedButton(this);
        B->setObjectName(QStringLiteral("ColorButton%1").arg(Tag));
        B->SetTag(Tag);
        B->SetFlat(true);
        B->SetGroupIndex(1);
        B->SetAllowAllUp(true);
        B->SetGrayedInactive(false);
        if (Tag < 16) {
            B->setGeometry(4 + 22 * (Tag % 4), 4 + 22 * (Tag / 4), 22, 22);
            B->SetGlyph(Swatch(frColors[Tag].Value, 16, 17, 16).get());
        } else {
            B->setGeometry(4, Tag == 16 ? 92 : 110, 88, 18);
            B->SetCaption(LoadEngineString(Tag == 16 ? 55229 : 55230));
        }
        B->OnClick = [this, Tag](QObject*) { ButtonClick(Tag); };
        FButtons[Tag] = B;
    }
}

TfrSpeedButton* TColorSelector::Button(int Tag) const
{
    return Tag >= 0 && Tag < 18 ? FButtons[Tag] : nullptr;
}

void TColorSelector::SetColor(TColor Value)
{
    FColor = Value;
    int Tag = -1;
    for (int i = 0; i <= 16; ++i)
        if (frColors[i].Value == Value)
            Tag = i;
    if (Tag >= 0) {
        FButtons[Tag]->SetDown(true);
        FButtons[17]->SetGlyph(nullptr);
        return;
    }
    for (TfrSpeedButton* B : FButtons)
        B->SetDown(false);
    FButtons[17]->SetGlyph(Swatch(Value, 12, 13, 12).get());
}

void TColorSelector::ButtonClick(int Tag)
{
    if (Tag < 16) {
        FColor = frColors[Tag].Value;
    } else if (Tag == 16) {
        FColor = clTransparent;
    } else {
        hide();
        TColorDialog Dialog;
        Dialog.SetColor(FColor);
        Dialog.SetFullOpen(true);
        if (!Dialog.Execute())
            return;
        FColor = Dialog.Color();
    }
    hide();
    if (OnColorSelected)
        OnColorSelected(this);
}

void TColorSelector::Paint()
{
    TCanvas* C = Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(rect());
    QRect R = rect();
    C->DrawEdge(R, EDGE_RAISED, BF_RECT);
}
