// Colours, fonts, pens, brushes and regions.
#include "platform/gui/Graphics.h"

#include "platform/rtl/SysUtils.h"

#include <QColor>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <array>

namespace {

// The classic grey desktop scheme, by COLOR_* index.
constexpr std::array<TColor, COLOR_ENDCOLORS> ClassicPalette = {
    RGB(212, 208, 200), // scroll bar
    RGB(58, 110, 165),  // desktop
    RGB(10, 36, 106),   // active caption
    RGB(128, 128, 128), // inactive caption
    RGB(212, 208, 200), // menu
    RGB(255, 255, 255), // window
    RGB(0, 0, 0),       // window frame
    RGB(0, 0, 0),       // menu text
    RGB(0, 0, 0),       // window text
    RGB(255, 255, 255), // caption text
    RGB(212, 208, 200), // active border
    RGB(212, 208, 200), // inactive border
    RGB(128, 128, 128), // application workspace
    RGB(10, 36, 106),   // highlight
    RGB(255, 255, 255), // highlight text
    RGB(212, 208, 200), // button face
    RGB(128, 128, 128), // button shadow
    RGB(128, 128, 128), // grey text
    RGB(0, 0, 0),       // button text
    RGB(212, 208, 200), // inactive caption text
    RGB(255, 255, 255), // button highlight
    RGB(64, 64, 64),    // 3-D dark shadow
    RGB(212, 208, 200), // 3-D light
    RGB(0, 0, 0),       // tool-tip text
    RGB(255, 255, 225), // tool-tip background
    RGB(181, 181, 181), // unused
    RGB(0, 0, 128),     // hot-tracked item
    RGB(166, 202, 240), // gradient active caption
    RGB(192, 192, 192), // gradient inactive caption
    RGB(10, 36, 106),   // menu highlight
    RGB(212, 208, 200), // menu bar
};

} // namespace

bool IsSystemColor(TColor Color)
{
    return (uint32_t(Color) & 0xFF000000u) == 0xFF000000u;
}

TColor ColorToRGB(TColor Color)
{
    if (IsSystemColor(Color)) {
        const int Index = Color & 0xFF;
        return Index < COLOR_ENDCOLORS ? ClassicPalette[Index] : clBlack;
    }
    if (Color == clNone || Color == clDefault)
        return clBlack;
    return Color & 0x00FFFFFF;
}

QColor ColorToQColor(TColor Color)
{
    const TColor C = ColorToRGB(Color);
    return QColor(GetRValue(C), GetGValue(C), GetBValue(C));
}

TColor QColorToColor(const QColor& Color)
{
    return RGB(Color.red(), Color.green(), Color.blue());
}

// ---------------------------------------------------------------- TFont

TFont::TFont() : FName(QStringLiteral("宋体")), FHeight(-12)
{
}

void TFont::Assign(const TFont& Source)
{
    if (&Source == this)
        return;
    FName = Source.FName;
    FHeight = Source.FHeight;
    FColor = Source.FColor;
    FStyle = Source.FStyle;
    FCharset = Source.FCharset;
    FPitch = Source.FPitch;
    FOrientation = Source.FOrientation;
    FQFont = Source.FQFont;
    FQFontValid = Source.FQFontValid;
    // Between resolutions the point size is what a font means.
    if (Source.FPixelsPerInch != FPixelsPerInch) {
        FHeight = -MulDiv(Source.Size(), FPixelsPerInch, 72);
        FQFontValid = false;
    }
    Changed();
}

void TFont::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TFont::SetName(const QString& Value)
{
    if (FName == Value)
        return;
    FName = Value;
    FontChanged();
}

int TFont::Size() const
{
    return -MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int Value)
{
    SetHeight(-MulDiv(Value, FPixelsPerInch, 72));
}

void TFont::SetPixelsPerInch(int Value)
{
    FPixelsPerInch = Value > 0 ? Value : 96;
}

void TFont::SetHeight(int Value)
{
    if (FHeight == Value)
        return;
    FHeight = Value;
    FontChanged();
}

void TFont::SetColor(TColor Value)
{
    if (FColor == Value)
        return;
    FColor = Value;
    Changed();
}

void TFont::SetStyle(TFontStyles Value)
{
    if (FStyle == Value)
        return;
    FStyle = Value;
    FontChanged();
}

void TFont::SetCharset(int Value)
{
    if (FCharset == Value)
        return;
    FCharset = Value;
    FontChanged();
}

void TFont::SetPitch(TFontPitch Value)
{
    if (FPitch == Value)
        return;
    FPitch = Value;
    FontChanged();
}

void TFont::SetOrientation(int Value)
{
    if (FOrientation == Value)
        return;
    FOrientation = Value;
    FontChanged();
}

QFont TFont::ToQFont() const
{
    if (FQFontValid)
        return FQFont;
    QFont F;
    if (FName.compare(QLatin1String("Default"), Qt::CaseInsensitive) == 0)
        F = QGuiApplication::font();
    else
        F.setFamilies({FName, QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("DejaVu Sans")});
    F.setBold(FStyle.Contains(fsBold));
    F.setItalic(FStyle.Contains(fsItalic));
    F.setUnderline(FStyle.Contains(fsUnderline));
    F.setStrikeOut(FStyle.Contains(fsStrikeOut));
    F.setFixedPitch(FPitch == fpFixed);
    if (FPitch == fpFixed)
        F.setStyleHint(QFont::TypeWriter);
    F.setHintingPreference(QFont::PreferFullHinting);
    if (FHeight < 0) {
        F.setPixelSize(-FHeight);
    } else if (FHeight > 0) {
        // A positive height is the whole cell: scale the em so that ascent +
        // descent come out at the asked height.
        F.setPixelSize(FHeight);
        const QFontMetrics M(F);
        const int Cell = M.ascent() + M.descent();
        if (Cell > 0)
            F.setPixelSize(static_cast<int>(std::max<int64_t>(1, int64_t(FHeight) * FHeight / Cell)));
    } else {
        F.setPixelSize(12);
    }
    FQFont = F;
    FQFontValid = true;
    return F;
}

QString PlainFontFamily(const QString& Family)
{
    const qsizetype Open = Family.lastIndexOf(QLatin1String(" ["));
    return Open > 0 && Family.endsWith(u']') ? Family.left(Open) : Family;
}

void TFont::SetFromQFont(const QFont& Font)
{
    FQFontValid = false;
    FName = PlainFontFamily(Font.family());
    const QFontInfo Info(Font);
    FHeight = -Info.pixelSize();
    TFontStyles S;
    if (Font.bold())
        S << fsBold;
    if (Font.italic())
        S << fsItalic;
    if (Font.underline())
        S << fsUnderline;
    if (Font.strikeOut())
        S << fsStrikeOut;
    FStyle = S;
    Changed();
}

// ---------------------------------------------------------------- TPen, TBrush

void TPen::Assign(const TPen& Source)
{
    FColor = Source.FColor;
    FWidth = Source.FWidth;
    FStyle = Source.FStyle;
    FMode = Source.FMode;
    Changed();
}

void TPen::SetColor(TColor Value)
{
    if (FColor == Value)
        return;
    FColor = Value;
    Changed();
}

void TPen::SetWidth(int Value)
{
    Value = std::max(0, Value);
    if (FWidth == Value)
        return;
    FWidth = Value;
    Changed();
}

void TPen::SetStyle(TPenStyle Value)
{
    if (FStyle == Value)
        return;
    FStyle = Value;
    Changed();
}

void TPen::SetMode(TPenMode Value)
{
    if (FMode == Value)
        return;
    FMode = Value;
    Changed();
}

void TBrush::Assign(const TBrush& Source)
{
    FColor = Source.FColor;
    FStyle = Source.FStyle;
    FPattern = Source.FPattern;
    Changed();
}

void TBrush::SetColor(TColor Value)
{
    if (FColor == Value && FPattern.isNull() && FStyle != bsClear)
        return;
    FColor = Value;
    // Choosing a colour ends a pattern brush, as with the classic brush.
    FPattern = QImage();
    if (FStyle == bsClear)
        FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value)
{
    if (FStyle == Value)
        return;
    FStyle = Value;
    Changed();
}

void TBrush::SetBitmap(const TBitmap* Value)
{
    FPattern = Value ? Value->Image().copy() : QImage();
    if (!FPattern.isNull())
        FStyle = bsSolid;
    Changed();
}

// ---------------------------------------------------------------- regions

QRegion CreateRectRgn(int Left, int Top, int Right, int Bottom)
{
    if (Right <= Left || Bottom <= Top)
        return QRegion();
    return QRegion(Rect(Left, Top, Right, Bottom));
}

int CombineRgn(QRegion& Dest, const QRegion& A, const QRegion& B, int Mode)
{
    switch (Mode) {
    case RGN_AND: Dest = A.intersected(B); break;
    case RGN_OR: Dest = A.united(B); break;
    case RGN_XOR: Dest = A.xored(B); break;
    case RGN_DIFF: Dest = A.subtracted(B); break;
    case RGN_COPY: Dest = A; break;
    default: return RGN_ERROR;
    }
    if (Dest.isEmpty())
        return NULLREGION;
    return Dest.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool PtInRegion(const QRegion& Region, int X, int Y)
{
    return Region.contains(QPoint(X, Y));
}

bool RectInRegion(const QRegion& Region, const QRect& R)
{
    return Region.intersects(R);
}
