// TfrMemoView: expansion, wrapping and drawing of the text.
#include "report/engine/FR_MemoView.h"

#include "platform/rtl/Classes.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Export.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_TextMeasure.h"

namespace {

// Some two and a half kilometres of text, 650,000 lines of ten points.
constexpr int64_t MaxTextHeight = 10'000'000;
// How far from the canvas's origin a line of text may start.
constexpr int64_t MaxLineOffset = 1'000'000'000;

bool Printing()
{
    return DocMode == dmPrinting;
}

char32_t CodeAt(const QString& S, int I)
{
    if (S[I].isHighSurrogate() && I + 1 < S.size() && S[I + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(S[I], S[I + 1]);
    return S[I].unicode();
}

int CodeLength(const QString& S, int I)
{
    return CodeAt(S, I) > 0xFFFF ? 2 : 1;
}

char32_t CodeBefore(const QString& S, int I)
{
    if (I >= 2 && S[I - 1].isLowSurrogate() && S[I - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(S[I - 2], S[I - 1]);
    return S[I - 1].unicode();
}

// Chinese (and the other CJK scripts) break between any two characters.
bool IsWide(char32_t C)
{
    return (C >= 0x2E80 && C <= 0x9FFF) || (C >= 0xAC00 && C <= 0xD7AF) || (C >= 0xF900 && C <= 0xFAFF)
           || (C >= 0xFE30 && C <= 0xFE4F) || (C >= 0xFF00 && C <= 0xFFEF) || (C >= 0x20000 && C <= 0x3FFFF);
}

bool IsLineBreak(QChar C)
{
    return C == u'\r' || C == u'\n';
}

// The lines of a text as a string list's text would split them; an empty
// text gives none, a trailing line break no empty line.
QStringList TextLines(const QString& Text)
{
    TStringList List;
    List.SetText(Text);
    return List.ToStringList();
}

// Wraps lines into SMemo, counting the position they reach.
class TWrapper
{
public:
    TWrapper(const TFont& Font, int CharSpacing, int MaxWidth, bool WordBreak)
        : FWidths(Font, CharSpacing), FFont(Font), FCharSpacing(CharSpacing), FMaxWidth(MaxWidth),
          FWordBreak(WordBreak)
    {
    }

    int Lines = 0;

    void Output(const QString& Line)
    {
        SMemo()->Add(Line);
        ++Lines;
    }

    int Width(const QString& Line)
    {
        FWidths.SetText(Line);
        return FWidths.Width();
    }

    void WrapLine(const QString& Line);

private:
    bool Hyphenate(const QString& Line, int& Beg, int Brk, bool BrkDrops);

    TfrTextWidths FWidths;
    const TFont& FFont;
    int FCharSpacing;
    int FMaxWidth;
    bool FWordBreak;
};

void TWrapper::WrapLine(const QString& Line)
{
    const int N = static_cast<int>(Line.size());
    const bool HasBreaks = Line.contains(u'\r') || Line.contains(u'\n');
    FWidths.SetText(Line);
    if (!HasBreaks && (N < 2 || (N == 2 && CodeLength(Line, 0) == 2) || FWidths.Width() <= FMaxWidth)) {
        Output(Line + frParagraphMark);
        return;
    }
    int Beg = 0;
    int Brk = -1;          // last place to break at
    bool BrkDrops = false; // the break is a blank, which the break swallows
    int I = 0;
    while (I < N) {
        const QChar C = Line[I];
        if (IsLineBreak(C)) {
            Output(Line.mid(Beg, I - Beg) + frParagraphMark);
            while (I < N && IsLineBreak(Line[I]))
                ++I;
            Beg = I;
            Brk = -1;
            if (I >= N)
                return;
            continue;
        }
        const int Len = CodeLength(Line, I);
        if (C == u' ') {
            Brk = I;
            BrkDrops = true;
            I += Len;
            continue;
        }
        // A boundary beside a Chinese character breaks like a blank but drops
        // nothing; after a blank the blank's own break stands.
        if (I > Beg && Line[I - 1] != u' ' && (IsWide(CodeAt(Line, I)) || IsWide(CodeBefore(Line, I)))) {
            Brk = I;
            BrkDrops = false;
        }
        if (FWidths.Width(Beg, I + Len) <= FMaxWidth) {
            I += Len;
            continue;
        }
        if (FWordBreak && Hyphenate(Line, Beg, Brk, BrkDrops)) {
            // Beg moved past the syllables put on the line.
        } else if (Brk > Beg) {
            Output(Line.mid(Beg, Brk - Beg));
            Beg = BrkDrops ? Brk + 1 : Brk;
        } else if (I > Beg) {
            Output(Line.mid(Beg, I - Beg));
            Beg = I;
        } else {
            // Not even one character fits: it stands alone, so the text still
            // moves on and nothing is lost.
            Output(Line.mid(Beg, Len));
            Beg = I + Len;
        }
        Brk = -1;
        I = Beg;
    }
    if (Beg < N)
        Output(Line.mid(Beg) + frParagraphMark);
    else
        SMemo()->SetStrings(SMemo()->Count() - 1, SMemo()->Strings(SMemo()->Count() - 1) + frParagraphMark);
}

// Puts as many syllables of the word at the break on the line as fit, with a
// hyphen; false when not even one does.
bool TWrapper::Hyphenate(const QString& Line, int& Beg, int Brk, bool BrkDrops)
{
    const int N = static_cast<int>(Line.size());
    const int WordStart = Brk > Beg ? (BrkDrops ? Brk + 1 : Brk) : Beg;
    int WordEnd = WordStart;
    while (WordEnd < N && !QStringLiteral(" ,-.\r\n").contains(Line[WordEnd]))
        ++WordEnd;
    const int Hyphen = frTextWidth(FFont, QStringLiteral("-"), FCharSpacing);
    int Best = -1;
    for (int P : frHyphenate(Line.mid(WordStart, WordEnd - WordStart))) {
        const int End = WordStart + P;
        if (End <= Beg || Line[End].isLowSurrogate())
            continue;
        if (FWidths.Width(Beg, End) + Hyphen > FMaxWidth)
            break;
        Best = End;
    }
    if (Best < 0)
        return false;
    Output(Line.mid(Beg, Best - Beg) + u'-');
    Beg = Best;
    return true;
}

} // namespace

// ---------------------------------------------------------------- hyphenation

QList<int> frHyphenate(const QString& Word)
{
    QList<int> Result;
    const QString W = Word.toUpper();
    const int L = static_cast<int>(W.size());
    if (L < 4)
        return Result;
    static const QString Vowels = QStringLiteral("АЕЁИОУЫЭЮЯ");
    static const QString Signs = QStringLiteral("ЪЬ");
    static const QString Delimiters = QStringLiteral(" ,-.");
    // 1-based, as the rule is written.
    auto At = [&](int P) { return W[P - 1]; };
    auto Vowel = [&](int P) { return Vowels.contains(At(P)); };
    auto Sign = [&](int P) { return Signs.contains(At(P)); };
    for (int P = 2; P <= L - 2; ++P) {
        const bool SignRule = Sign(P) && !Delimiters.contains(At(P + 2));
        const bool Allowed =
            (Vowel(P) && Vowel(P + 1)) || SignRule
            || (Vowel(P + 2)
                && ((Vowel(P) && !Vowel(P + 1)) || (!Vowel(P) && !SignRule && !Vowel(P + 1) && !Sign(P + 1))));
        if (Allowed)
            Result.append(P);
    }
    return Result;
}

// ---------------------------------------------------------------- expansion and wrapping

void TfrMemoView::ExpandMemo()
{
    TStringList* Out = ExpandedMemo();
    Out->Clear();
    for (int i = 0; i < Memo()->Count(); ++i) {
        const QString Line = Memo()->Strings(i);
        if (Line.isEmpty()) {
            Out->Add(QString());
            continue;
        }
        for (const QString& Part : TextLines((Flags() & flTextOnly) ? Line : frExpandText(Line)))
            Out->Add(Part);
    }
}

int TfrMemoView::LineHeight96() const
{
    const int FontHeight = -RoundInt(FFont->Size() * 96.0 / 72.0);
    // A line is at least one pixel high, so that no count divides by zero.
    return std::max(1, FLineSpacing - FontHeight);
}

void TfrMemoView::WrapMemo()
{
    SMemo()->Clear();
    const bool Rotated = FAlignment & frtaVertical;
    TFont Font;
    Font.Assign(*FFont);
    Font.SetHeight(-RoundInt(FFont->Size() * 96.0 / 72.0));
    FLineHeight = LineHeight96();
    const int MaxWidth = Rotated ? Height() - 2 * GapY() : Width() - 2 * GapX();
    TWrapper Wrapper(Font, FCharSpacing, MaxWidth, Flags() & flWordBreak);
    const TStringList* Lines = ExpandedMemo();
    if (!Rotated && !Printing() && Lines->Count() == 1 && Lines->Strings(0).startsWith(u'[')
        && Wrapper.Width(Lines->Strings(0)) > MaxWidth) {
        // An expression of the designer's is shown whole rather than torn apart.
        Wrapper.Output(Lines->Strings(0) + frParagraphMark);
    } else {
        for (int i = 0; i < Lines->Count(); ++i) {
            const QString Line = Lines->Strings(i);
            if (FPreWrapped)
                Wrapper.Output(Line);
            else if (Flags() & flWordWrap)
                Wrapper.WrapLine(Line);
            else
                Wrapper.Output(Rotated ? Line : Line + frParagraphMark);
        }
    }
    // Held to a height that every canvas scale keeps within range: a text of
    // many lines at a wide spacing overflowed.
    const int64_t TextHeight = int64_t(Wrapper.Lines) * FLineHeight + 2 * int64_t(Rotated ? GapX() : GapY());
    FVHeight = static_cast<int>(std::clamp<int64_t>(TextHeight, -MaxTextHeight, MaxTextHeight));
}

// ---------------------------------------------------------------- drawing

void TfrMemoView::AssignCanvasFont(TCanvas* C)
{
    C->Brush()->SetStyle(bsClear);
    C->Font()->Assign(*FFont);
    if (!IsPrinting()) {
        const double H = FFont->Size() * 96.0 / 72.0 * ScaleY();
        C->Font()->SetHeight(-(ScaleY() == 1.0 ? RoundInt(H) : static_cast<int>(H)));
    }
}

int TfrMemoView::MeasuredWidth()
{
    QString Text = Memo()->Text();
    Text.remove(frParagraphMark);
    if (Text.endsWith(QStringLiteral("\r\n")))
        Text.chop(2);
    AssignCanvasFont(FCanvas);
    int Widest = 0;
    for (const QString& Line : TextLines(Text))
        Widest = std::max(Widest, frTextWidth(*FCanvas->Font(), Line, RoundInt(FCharSpacing * ScaleX())));
    return RoundInt(Widest / ScaleX() + FrameWidth() + 2 * GapX() + 1);
}

void TfrMemoView::Draw(TCanvas* ACanvas)
{
    TCanvasState State(ACanvas);
    FCanvas = ACanvas;
    const bool Rotated = FAlignment & frtaVertical;
    const bool AutoWidth = (Flags() & flAutoWidth) && Printing();
    if (AutoWidth && Memo()->Count() > 0) {
        const int W = MeasuredWidth();
        if (Rotated) {
            SetHeight(W);
        } else {
            if ((FAlignment & 3) == frtaRight || (FAlignment & 3) == frtaJustify)
                SetLeft(Left() + Width() - W);
            SetWidth(W);
        }
    }
    ApplyBandAlign(ACanvas);
    FPartMode = false;
    ExpandedMemo()->Assign(*Memo());
    if (ExpandedMemo()->Count() > 0) {
        FPreWrapped = ExpandedMemo()->Text().contains(frParagraphMark);
        if (ExpandedMemo()->Strings(ExpandedMemo()->Count() - 1) == QString(frParagraphMark))
            ExpandedMemo()->Delete(ExpandedMemo()->Count() - 1);
        const double SavedX = ScaleX(), SavedY = ScaleY();
        SetScale(1.0, 1.0);
        {
            TfrDrawScope Scope(this);
            if (AutoWidth)
                SetWidth(Width() + 100);
            WrapMemo();
        }
        SetScale(SavedX, SavedY);
        ExpandedMemo()->Assign(*SMemo());
    }
    TfrDrawScope Scope(this);
    if (!FExporting) {
        DrawBackground();
        DrawFrame();
        if (Flags() & flUnderlines)
            DrawUnderlines();
    }
    if (ExpandedMemo()->Count() > 0)
        ShowMemo();
    ACanvas->SetTextCharacterExtra(0);
}

void TfrMemoView::DrawUnderlines()
{
    if (DisableDrawing)
        return;
    TCanvas* C = FCanvas;
    AssignCanvasFont(C);
    C->Pen()->SetColor(FrameColor());
    C->Pen()->SetWidth(RoundInt(FrameWidth()));
    C->Pen()->SetStyle(psSolid);
    const int FontHeight = C->Font()->Height();
    const int Step = RoundInt(FLineSpacing * ScaleY()) - FontHeight;
    const int Offset = RoundInt(2 * ScaleY()) - FontHeight;
    const QRect Clip = C->ClipRect();
    if (Step <= 0 || Clip.isEmpty())
        return;
    // Only the lines the clip shows (with the pen's reach): a tall view of
    // close lines holds hundreds of thousands.
    const int64_t Base = int64_t(Top()) + GapY() + Offset;
    const int64_t Reach = std::max(1, C->Pen()->Width());
    const auto FloorDiv = [Step](int64_t A) { return A >= 0 ? A / Step : -((-A + Step - 1) / Step); };
    const int64_t First = std::max<int64_t>(1, FloorDiv(Clip.top() - Reach - Base) + 1);
    const int64_t Last = std::min<int64_t>(Height() / Step, FloorDiv(Clip.bottom() + Reach - Base) + 1);
    for (int64_t k = First; k <= Last; ++k) {
        const int Y = static_cast<int>(Base + Step * (k - 1));
        C->MoveTo(Left(), Y);
        C->LineTo(Left() + Width() - 1, Y);
    }
}

void TfrMemoView::ShowMemo()
{
    if (DisableDrawing && !FCountOnly)
        return;
    AssignCanvasFont(FCanvas);
    FCanvas->SetTextCharacterExtra(RoundInt(FCharSpacing * ScaleX()));
    FVHeight = RoundInt(FVHeight * ScaleY());
    const bool Rotated = FAlignment & frtaVertical;
    const int SavedAlignment = FAlignment, SavedLeft = Left(), SavedTop = Top();
    if (FAlignment & (frtaMiddle | frtaDown)) {
        const QRect& D = DrawRect();
        const bool Middle = FAlignment & frtaMiddle;
        FAlignment &= frtaRight | frtaCenter | frtaVertical;
        if (Rotated)
            SetLeft(Middle ? Left() + (D.width() - FVHeight) / 2 : RectRight(D) - FVHeight);
        else if (!FPartMode)
            SetTop(Middle ? Top() + (D.height() - FVHeight) / 2 : RectBottom(D) - FVHeight - 1);
    }
    ShowLines(Rotated);
    FAlignment = SavedAlignment;
    SetLeft(SavedLeft);
    SetTop(SavedTop);
}

void TfrMemoView::ShowLines(bool Rotated)
{
    TCanvas* C = FCanvas;
    const QRect& D = DrawRect();
    const QRect Clip = Rect(D.left() + 1, D.top(), RectRight(D) - 2, RectBottom(D) - 1);
    const int ClipBottom = RectBottom(D) - 1;
    const int FontHeight = C->Font()->Height();
    const int Step = RoundInt(FLineSpacing * (Rotated ? ScaleX() : ScaleY())) - FontHeight;
    TfrTextWidths Widths(*C->Font(), C->TextCharacterExtra());
    TfrExportFilter* Filter =
        FExporting && CurReport ? dynamic_cast<TfrExportFilter*>(CurReport->ExportFilter()) : nullptr;
    const unsigned SavedFlags = C->TextFlags();
    if (Flags() & flRTLReading)
        C->SetTextFlags(SavedFlags | ETO_RTLREADING);
    int Align = FAlignment & 3;
    const TStringList* Lines = ExpandedMemo();
    // A designer's expression wider than the view shows its end.
    if (!Rotated && !Printing() && Lines->Count() == 1 && Lines->Strings(0).startsWith(u'[')) {
        Widths.SetText(Lines->Strings(0));
        if (Widths.Width() > Clip.width())
            Align = frtaRight;
    }
    // Drawing ends with the first line past what the view and the canvas show
    // (lines run one way); counting and export go on, as far as a coordinate
    // keeps its range.
    const QRect Shown = Clip.intersected(C->ClipRect());
    const int Reach = std::abs(FontHeight);
    const bool Drawing = !FExporting && !FCountOnly;
    const auto Past = [&](int64_t At, int Lo, int Hi) {
        if (At < -MaxLineOffset || At > MaxLineOffset)
            return true;
        return Drawing && (Shown.isEmpty() || (Step > 0 && At - Reach > Hi) || (Step < 0 && At + Reach < Lo));
    };
    if (Rotated) {
        TFont Saved;
        Saved.SetPixelsPerInch(C->Font()->PixelsPerInch());
        Saved.Assign(*C->Font());
        C->Font()->SetOrientation(900);
        const int H = D.height();
        int64_t NextX = Left() + GapX();
        FLinesDrawn = 0;
        for (int i = 0; i < Lines->Count() && !Past(NextX, Shown.left(), Shown.right()); ++i) {
            const int X = static_cast<int>(NextX);
            QString Line = Lines->Strings(i);
            const bool EndsParagraph = Line.endsWith(frParagraphMark);
            if (EndsParagraph)
                Line.chop(1);
            Widths.SetText(Line);
            const int TW = Widths.Width();
            int Y = RectBottom(D) - GapY();
            if (Align == frtaRight)
                Y = Top() + GapY() + TW;
            else if (Align == frtaCenter)
                Y = RectBottom(D) - 1 - GapY() - (H - 2 * GapY() - TW) / 2;
            else if (Align == frtaJustify)
                Y = H + Top() - GapY();
            const int Blanks = static_cast<int>(Line.count(u' ') + Line.count(QChar(0xA0)));
            if (Align == frtaJustify && Blanks > 0 && !EndsParagraph)
                C->SetTextJustification(H - 2 * GapY() - TW, Blanks);
            if (!FExporting && !FCountOnly)
                C->TextRect(Clip, X, Y, Line);
            else if (Filter)
                Filter->OnText(Clip, X, Y, Line, FrameTyp(), this);
            C->SetTextJustification(0, 0);
            ++FLinesDrawn;
            NextX += Step;
        }
        C->Font()->Assign(Saved);
        C->SetTextFlags(SavedFlags);
        return;
    }
    const int W = D.width();
    int64_t NextY = Top() + GapY();
    FLinesDrawn = 0;
    for (int i = 0; i < Lines->Count() && !Past(NextY, Shown.top(), Shown.bottom()); ++i) {
        if (FPartMode && NextY + Step > ClipBottom)
            break;
        const int Y = static_cast<int>(NextY);
        QString Line = Lines->Strings(i);
        const bool EndsParagraph = Line.endsWith(frParagraphMark);
        if (EndsParagraph)
            Line.chop(1);
        Widths.SetText(Line);
        const int TW = Widths.Width();
        int X = Left() + GapX();
        if (Align == frtaRight)
            X = W + Left() - 1 - GapX() - TW;
        else if (Align == frtaCenter)
            X = Left() + GapX() + (W - 2 * GapX() - TW) / 2;
        const int Blanks = static_cast<int>(Line.count(u' ') + Line.count(QChar(0xA0)));
        if (Align == frtaJustify && Blanks > 0 && !EndsParagraph)
            C->SetTextJustification(W - 2 * GapX() - TW, Blanks);
        if (FExporting) {
            if (Filter) {
                uint16_t Sides = FrameTyp();
                if (i > 0)
                    Sides &= ~frbTop;
                if (i < Lines->Count() - 1)
                    Sides &= ~frbBottom;
                Filter->OnText(Clip, X, Y, Line, Sides, this);
            }
        } else if (!FCountOnly) {
            C->TextRect(Clip, X, Y, Line);
        }
        C->SetTextJustification(0, 0);
        ++FLinesDrawn;
        NextY += Step;
    }
    C->SetTextFlags(SavedFlags);
}
