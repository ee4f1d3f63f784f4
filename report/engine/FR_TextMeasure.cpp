#include "report/engine/FR_TextMeasure.h"

#include "platform/gui/Graphics.h"

#include <QFontMetricsF>
#include <QHash>
#include <cmath>
#include <memory>

namespace {

TfrMeasureHook& Hook()
{
    static TfrMeasureHook H;
    return H;
}

struct TFontWidths
{
    explicit TFontWidths(const QFont& Font) : Metrics(Font) {}
    QFontMetricsF Metrics;
    QHash<char32_t, double> Widths;
};

// Fonts hold Qt font engines, which must not outlive the application: the
// cache is made once and never destroyed.
QHash<QString, std::shared_ptr<TFontWidths>>& Cache()
{
    static auto* C = new QHash<QString, std::shared_ptr<TFontWidths>>();
    return *C;
}

constexpr int MaxCachedFonts = 64;

QString FontKey(const TFont& Font)
{
    int Style = 0;
    for (TFontStyle S : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
        Style = Style * 2 + (Font.Style().Contains(S) ? 1 : 0);
    return Font.Name() + u'|' + QString::number(Font.Height()) + u'|' + QString::number(Style) + u'|'
           + QString::number(static_cast<int>(Font.Pitch()));
}

TFontWidths& WidthsOf(const TFont& Font)
{
    const QString Key = FontKey(Font);
    auto It = Cache().find(Key);
    if (It == Cache().end()) {
        if (Cache().size() >= MaxCachedFonts)
            Cache().clear();
        It = Cache().insert(Key, std::make_shared<TFontWidths>(Font.ToQFont()));
    }
    return **It;
}

double CharWidth(const TFont& Font, TFontWidths& Widths, char32_t Code, const QString& Char)
{
    if (Hook())
        return Hook()(Font, Char);
    auto It = Widths.Widths.constFind(Code);
    if (It != Widths.Widths.constEnd())
        return *It;
    const double W = Widths.Metrics.horizontalAdvance(Char);
    Widths.Widths.insert(Code, W);
    return W;
}

} // namespace

void frSetMeasureHook(TfrMeasureHook H)
{
    Hook() = std::move(H);
}

TfrTextWidths::TfrTextWidths(const TFont& Font, int CharSpacing) : FFont(Font), FCharSpacing(CharSpacing)
{
    FPrefix.assign(1, 0.0);
}

void TfrTextWidths::SetText(const QString& Text)
{
    const qsizetype N = Text.size();
    FPrefix.assign(static_cast<size_t>(N) + 1, 0.0);
    TFontWidths* Widths = Hook() ? nullptr : &WidthsOf(FFont);
    double Sum = 0;
    for (qsizetype i = 0; i < N;) {
        const bool Pair = Text[i].isHighSurrogate() && i + 1 < N && Text[i + 1].isLowSurrogate();
        const qsizetype Len = Pair ? 2 : 1;
        const char32_t Code = Pair ? QChar::surrogateToUcs4(Text[i], Text[i + 1]) : Text[i].unicode();
        const QString Char = Text.mid(i, Len);
        Sum += (Widths ? CharWidth(FFont, *Widths, Code, Char) : Hook()(FFont, Char)) + FCharSpacing;
        // A position inside a pair measures as the pair's start.
        if (Pair)
            FPrefix[static_cast<size_t>(i) + 1] = FPrefix[static_cast<size_t>(i)];
        FPrefix[static_cast<size_t>(i + Len)] = Sum;
        i += Len;
    }
}

int TfrTextWidths::Width(int From, int To) const
{
    const int Last = static_cast<int>(FPrefix.size()) - 1;
    From = std::clamp(From, 0, Last);
    To = std::clamp(To, From, Last);
    return static_cast<int>(std::lround(FPrefix[static_cast<size_t>(To)] - FPrefix[static_cast<size_t>(From)]));
}

int frTextWidth(const TFont& Font, const QString& Text, int CharSpacing)
{
    TfrTextWidths Widths(Font, CharSpacing);
    Widths.SetText(Text);
    return Widths.Width();
}
