// Text on the canvas: TextOut, TextRect, metrics and the DrawText layout
// (prefixes, tabs, word break with CJK break points, end ellipsis, CALCRECT).
#include "platform/gui/Graphics.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTransform>

namespace {

// Double-byte scripts break between any two characters.
bool IsWideChar(QChar C)
{
    return C.unicode() >= 0x2E80;
}

// Removes '&' prefixes ("&&" stays one '&').
QString StripPrefixes(const QString& S)
{
    QString Out;
    Out.reserve(S.size());
    for (qsizetype i = 0; i < S.size(); ++i) {
        if (S[i] == u'&') {
            if (i + 1 < S.size() && S[i + 1] == u'&')
                ++i;
            else
                continue;
        }
        Out += S[i];
    }
    return Out;
}

QString ExpandTabs(const QString& Line, const QFontMetrics& M, int TabPixels)
{
    if (!Line.contains(u'\t'))
        return Line;
    QString Out;
    for (QChar C : Line) {
        if (C != u'\t') {
            Out += C;
            continue;
        }
        const int W = M.horizontalAdvance(Out);
        const int Next = TabPixels > 0 ? (W / TabPixels + 1) * TabPixels : W;
        do
            Out += u' ';
        while (M.horizontalAdvance(Out) < Next);
    }
    return Out;
}

// Greedy word wrap; a word wider than the line stays whole unless BreakWords.
QStringList WrapLine(const QString& Line, const QFontMetrics& M, int Width, bool BreakWords)
{
    QStringList Tokens; // words, single wide characters, runs of spaces
    for (qsizetype i = 0; i < Line.size();) {
        qsizetype j = i + 1;
        if (Line[i] == u' ') {
            while (j < Line.size() && Line[j] == u' ')
                ++j;
        } else if (!IsWideChar(Line[i])) {
            while (j < Line.size() && Line[j] != u' ' && !IsWideChar(Line[j]))
                ++j;
        }
        Tokens << Line.mid(i, j - i);
        i = j;
    }
    QStringList Out;
    QString Current;
    for (const QString& T : Tokens) {
        if (T.startsWith(u' ')) {
            if (!Current.isEmpty())
                Current += T;
            continue;
        }
        const QString Candidate = Current + T;
        if (Current.isEmpty() || M.horizontalAdvance(Candidate.trimmed()) <= Width) {
            Current = Candidate;
        } else {
            Out << Current.trimmed();
            Current = T;
        }
        if (BreakWords) {
            while (Current.size() > 1 && M.horizontalAdvance(Current) > Width) {
                qsizetype n = Current.size() - 1;
                while (n > 1 && M.horizontalAdvance(Current.left(n)) > Width)
                    --n;
                Out << Current.left(n);
                Current = Current.mid(n);
            }
        }
    }
    if (!Current.trimmed().isEmpty() || Out.isEmpty())
        Out << Current.trimmed();
    return Out;
}

QString WithEllipsis(const QString& Line, const QFontMetrics& M, int Width)
{
    if (M.horizontalAdvance(Line) <= Width)
        return Line;
    const QString Dots = QStringLiteral("...");
    for (qsizetype n = Line.size() - 1; n > 0; --n) {
        const QString S = Line.left(n) + Dots;
        if (M.horizontalAdvance(S) <= Width)
            return S;
    }
    return Dots;
}

} // namespace

QFont TCanvas::TextFont() const
{
    QFont F = FFont->ToQFont();
    if (FCharExtra != 0)
        F.setLetterSpacing(QFont::AbsoluteSpacing, FCharExtra);
    if (FWordSpacing != 0)
        F.setWordSpacing(FWordSpacing);
    return F;
}

void TCanvas::SetTextJustification(int BreakExtra, int BreakCount)
{
    FWordSpacing = BreakCount > 0 ? double(BreakExtra) / BreakCount : 0.0;
}

int TCanvas::TextWidth(const QString& Text) const
{
    return QFontMetrics(TextFont()).horizontalAdvance(Text);
}

int TCanvas::TextHeight(const QString& Text) const
{
    Q_UNUSED(Text);
    const QFontMetrics M(TextFont());
    return M.ascent() + M.descent();
}

QSize TCanvas::TextExtent(const QString& Text) const
{
    return QSize(TextWidth(Text), TextHeight(Text));
}

TTextMetric TCanvas::TextMetrics() const
{
    const QFont F = TextFont();
    const QFontMetrics M(F);
    TTextMetric T;
    T.tmAscent = M.ascent();
    T.tmDescent = M.descent();
    T.tmHeight = T.tmAscent + T.tmDescent;
    T.tmInternalLeading = std::max(0, T.tmHeight - F.pixelSize());
    T.tmExternalLeading = std::max(0, M.leading());
    T.tmAveCharWidth = M.averageCharWidth();
    T.tmMaxCharWidth = M.maxWidth();
    T.tmWeight = F.bold() ? 700 : 400;
    T.tmItalic = F.italic();
    T.tmUnderlined = F.underline();
    T.tmStruckOut = F.strikeOut();
    T.tmFixedPitch = FFont->Pitch() == fpFixed;
    T.tmCharSet = FFont->Charset();
    return T;
}

// One line at (X, Y), Y being the top of the text cell. The font's escapement
// turns the line about (X, Y), counter-clockwise.
void TCanvas::DrawTextLine(int X, int Y, const QString& Text, bool Opaque, const QRect* Clip)
{
    QPainter* Painter = P();
    if (!Painter->isActive())
        return;
    ApplyClip(Painter);
    if (Clip) {
        if (FHasClip)
            Painter->setClipRect(*Clip, Qt::IntersectClip);
        else
            Painter->setClipRect(*Clip);
    }
    ApplyFont(Painter);
    const QFontMetrics M(Painter->font());
    // Upright text needs no transform; the width is measured only for an
    // opaque background, since measuring shapes the text once more.
    if (FFont->Orientation() == 0) {
        if (Opaque) {
            const QRect Cell(X, Y, M.horizontalAdvance(Text), M.ascent() + M.descent());
            if (!Cell.isEmpty())
                Painter->fillRect(Cell, ColorToQColor(FBrush->Color()));
        }
        Painter->drawText(X, Y + M.ascent(), Text);
        return;
    }
    const QRect Cell(0, 0, Opaque ? M.horizontalAdvance(Text) : 0, M.ascent() + M.descent());
    const QTransform Saved = Painter->transform();
    Painter->translate(X, Y);
    Painter->rotate(-FFont->Orientation() / 10.0);
    if (Opaque && !Cell.isEmpty())
        Painter->fillRect(Cell, ColorToQColor(FBrush->Color()));
    Painter->drawText(0, M.ascent(), Text);
    Painter->setTransform(Saved);
}

namespace {

// An embedding gives the line a right-to-left base direction; the marks
// themselves take no room.
QString RightToLeft(const QString& Text)
{
    return QChar(0x202B) + Text + QChar(0x202C);
}

} // namespace

void TCanvas::TextOut(int X, int Y, const QString& Text)
{
    DrawTextLine(X, Y, (FTextFlags & ETO_RTLREADING) ? RightToLeft(Text) : Text, FBrush->Style() != bsClear,
                 nullptr);
    FPenPos = QPoint(X + TextWidth(Text), Y);
    Changed();
}

void TCanvas::TextRect(const QRect& R, int X, int Y, const QString& Text)
{
    if (FBrush->Style() != bsClear)
        FillSolid(R, FBrush->Color());
    DrawTextLine(X, Y, (FTextFlags & ETO_RTLREADING) ? RightToLeft(Text) : Text, false, &R);
    Changed();
}

int TCanvas::DrawText(const QString& Text, QRect& R, unsigned Format)
{
    return DrawTextEx(Text, R, Format, nullptr);
}

int TCanvas::DrawTextEx(const QString& Text, QRect& R, unsigned Format, TDrawTextParams* Params)
{
    const QFont F = TextFont();
    const QFontMetrics M(F);
    // One plain line (the common case of a grid cell) goes straight to the
    // painter, without splitting it into lines.
    constexpr unsigned Plain = DT_SINGLELINE | DT_NOPREFIX;
    constexpr unsigned Special = DT_CALCRECT | DT_EXPANDTABS | DT_END_ELLIPSIS | DT_PATH_ELLIPSIS
        | DT_WORD_ELLIPSIS | DT_RTLREADING | DT_BOTTOM;
    if ((Format & Plain) == Plain && !(Format & Special) && !Params && !Text.contains(u'\r')
        && !Text.contains(u'\n')) {
        const int LineHeight = M.ascent() + M.descent()
                               + ((Format & DT_EXTERNALLEADING) ? std::max(0, M.leading()) : 0);
        const int Top = (Format & DT_VCENTER) ? R.top() + (R.height() - LineHeight) / 2 : R.top();
        int X = R.left();
        if (Format & (DT_CENTER | DT_RIGHT)) {
            const int W = M.horizontalAdvance(Text);
            X = (Format & DT_CENTER) ? R.left() + (R.width() - W) / 2 : RectRight(R) - W;
        }
        DrawTextLine(X, Top, Text, FBrush->Style() != bsClear, (Format & DT_NOCLIP) ? nullptr : &R);
        Changed();
        return (Format & DT_VCENTER) ? Top - R.top() + LineHeight : LineHeight;
    }
    const int LeftMargin = Params ? Params->LeftMargin : 0;
    const int RightMargin = Params ? Params->RightMargin : 0;
    const int TabPixels = (Params ? Params->TabLength : 8) * std::max(1, M.averageCharWidth());
    const int Avail = std::max(0, R.width() - LeftMargin - RightMargin);
    const int LineHeight = M.ascent() + M.descent()
                           + ((Format & DT_EXTERNALLEADING) ? std::max(0, M.leading()) : 0);

    QString S = (Format & DT_NOPREFIX) ? Text : StripPrefixes(Text);
    QStringList Paragraphs;
    if (Format & DT_SINGLELINE) {
        S.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        S.replace(u'\r', u' ');
        S.replace(u'\n', u' ');
        Paragraphs << S;
    } else {
        S.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        S.replace(u'\r', u'\n');
        Paragraphs = S.split(u'\n');
    }
    QStringList Lines;
    for (QString P : Paragraphs) {
        if (Format & DT_EXPANDTABS)
            P = ExpandTabs(P, M, TabPixels);
        if ((Format & DT_WORDBREAK) && !(Format & DT_SINGLELINE))
            Lines << WrapLine(P, M, Avail, (Format & DT_EDITCONTROL) != 0);
        else
            Lines << P;
    }
    if (Format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) {
        for (QString& L : Lines)
            L = WithEllipsis(L, M, Avail);
    }
    if (Params)
        Params->LengthDrawn = int(Text.size());

    const int TotalHeight = int(Lines.size()) * LineHeight;
    if (Format & DT_CALCRECT) {
        int Widest = 0;
        for (const QString& L : Lines)
            Widest = std::max(Widest, M.horizontalAdvance(L));
        R.setWidth(Widest + LeftMargin + RightMargin);
        R.setHeight(TotalHeight);
        return TotalHeight;
    }

    int Top = R.top();
    if (Format & DT_SINGLELINE) {
        if (Format & DT_VCENTER)
            Top = R.top() + (R.height() - LineHeight) / 2;
        else if (Format & DT_BOTTOM)
            Top = RectBottom(R) - LineHeight;
    }
    const bool Opaque = FBrush->Style() != bsClear;
    const QRect* Clip = (Format & DT_NOCLIP) ? nullptr : &R;
    int Y = Top;
    for (const QString& L : Lines) {
        const int W = M.horizontalAdvance(L);
        int X = R.left() + LeftMargin;
        if (Format & DT_CENTER)
            X += (Avail - W) / 2;
        else if (Format & DT_RIGHT)
            X = RectRight(R) - RightMargin - W;
        DrawTextLine(X, Y, (Format & DT_RTLREADING) ? RightToLeft(L) : L, Opaque, Clip);
        Y += LineHeight;
    }
    Changed();
    return (Format & DT_SINGLELINE) && (Format & (DT_VCENTER | DT_BOTTOM)) ? Top - R.top() + LineHeight
                                                                           : TotalHeight;
}
