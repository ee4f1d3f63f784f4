// The syntax memo on the screen: character cells, painting, the caret and the
// scroll bar.
#include "report/designer/fr_synmemo.h"
#include "report/designer/fr_synmemo_p.h"

#include "platform/gui/StdCtrls.h"

#include <QFontInfo>
#include <algorithm>

using namespace synmemo;

namespace {

// Wide characters and surrogate pairs: such a run is drawn cell by cell.
bool NeedsCells(const QString& Run)
{
    for (qsizetype i = 0; i < Run.size(); ++i) {
        int Units = 1;
        const char32_t C = CodeAt(Run, i, Units);
        if (Units == 2 || IsWide(C))
            return true;
        i += Units - 1;
    }
    return false;
}

} // namespace

void TfrSyntaxMemo::UpdateMetrics()
{
    // The face the font system puts in for the name ("Courier New" is
    // usually substituted), so that a real fixed-pitch face draws the text.
    QFont Probe(Font()->Name());
    Probe.setPixelSize(std::max(1, Font()->ToQFont().pixelSize()));
    const QString Face = QFontInfo(Probe).family();
    for (auto& A : FAttr) {
        A->SetName(Face.isEmpty() ? Font()->Name() : Face);
        A->SetSize(Font()->Size());
        A->SetCharset(Font()->Charset());
    }
    TCanvas* C = Canvas();
    C->Font()->Assign(*TextAttr());
    C->Font()->SetStyle(TFontStyles{fsBold});
    FCellH = std::max(1, C->TextHeight(QStringLiteral("Wg")));
    C->Font()->Assign(*TextAttr());
    FCellW = std::max(1, C->TextWidth(QStringLiteral("W")));
    // A run is drawn at once only when the face really is fixed-pitch.
    FFixedPitch = Font()->Name().toUpper().contains(QStringLiteral("COURIER NEW")) &&
                  QFontInfo(TextAttr()->ToQFont()).fixedPitch();
    UpdateScrollBar();
}

int TfrSyntaxMemo::TextWidthArea() const
{
    return FBar && !FBar->isHidden() ? width() - FBar->width() - 4 : width();
}

int TfrSyntaxMemo::VisibleRows() const
{
    return std::max(0, (height() - FooterHeight()) / FCellH);
}

int TfrSyntaxMemo::VisibleCols() const
{
    return std::max(0, (TextWidthArea() - GutterWidth()) / FCellW);
}

void TfrSyntaxMemo::Resize()
{
    UpdateScrollBar();
    TCustomControl::Resize();
}

void TfrSyntaxMemo::UpdateScrollBar()
{
    if (!FBar)
        return;
    const bool Show = LineCount() > VisibleRows();
    FBar->setGeometry(width() - FBar->sizeHint().width(), 0, FBar->sizeHint().width(), std::max(0, height() - 4));
    const int Top = FTopLine;
    const auto Saved = FBar->OnChange;
    FBar->OnChange = nullptr;
    FBar->SetPageSize(std::max(1, VisibleRows()));
    FBar->SetLargeChange(std::max(1, VisibleRows()));
    FBar->SetParams(Top, 0, LineCount());
    FBar->OnChange = Saved;
    FBar->setVisible(Show);
    FTopLine = Top;
}

int TfrSyntaxMemo::CellsBefore(int Line, int Col) const
{
    const QString& S = FText[std::clamp(Line, 1, LineCount()) - 1];
    int Cells = 0, c = 1;
    qsizetype i = 0;
    for (; c < Col && i < S.size(); ++c) {
        int Units = 1;
        Cells += IsWide(CodeAt(S, i, Units)) ? 2 : 1;
        i += Units;
    }
    return Cells + std::max(0, Col - c);
}

QPoint TfrSyntaxMemo::PosToPoint(TSynPos P) const
{
    return QPoint((CellsBefore(P.Line, P.Col) - FLeftCol) * FCellW + GutterWidth(), (P.Line - 1 - FTopLine) * FCellH);
}

TSynPos TfrSyntaxMemo::PointToPos(int X, int Y) const
{
    const int Line = std::clamp(FTopLine + std::max(0, Y) / FCellH + 1, 1, LineCount());
    const int Target = FLeftCol + std::max(0, X - GutterWidth()) / FCellW;
    const QString& S = FText[Line - 1];
    int Cells = 0, Col = 1;
    for (qsizetype i = 0; i < S.size(); ++Col) {
        int Units = 1;
        const int W = IsWide(CodeAt(S, i, Units)) ? 2 : 1;
        // Either half of a wide character is that character.
        if (Target < Cells + W)
            return {Col, Line};
        Cells += W;
        i += Units;
    }
    return {std::min(Col + Target - Cells, std::max(MaxLineLength, Col)), Line};
}

void TfrSyntaxMemo::ScrollToCaret()
{
    const int Cell = CellsBefore(FCaret.Line, FCaret.Col), Cols = std::max(1, VisibleCols());
    if (Cell >= FLeftCol + Cols)
        FLeftCol = Cell - Cols + 1;
    else if (Cell < FLeftCol)
        FLeftCol = Cell;
    // Lines follow too, so that a move in both directions keeps the caret in view.
    const int Rows = std::max(1, VisibleRows());
    if (FCaret.Line - 1 >= FTopLine + Rows)
        FTopLine = FCaret.Line - Rows;
    else if (FCaret.Line - 1 < FTopLine)
        FTopLine = FCaret.Line - 1;
    UpdateScrollBar();
}

void TfrSyntaxMemo::SetCaretPos(int Col, int Line)
{
    FStatus.clear();
    FCaret.Line = std::clamp(Line, 1, LineCount());
    FCaret.Col = std::clamp(Col, 1, std::max(MaxLineLength, Cols(FText[FCaret.Line - 1]) + 1));
    ScrollToCaret();
    Invalidate();
}

TFont* TfrSyntaxMemo::StyleFont(uint8_t Style) const
{
    switch (Style) {
    case synKeyword: return KeywordAttr();
    case synString: return StringAttr();
    case synComment: return CommentAttr();
    default: return TextAttr();
    }
}

// ---------------------------------------------------------------- painting

void TfrSyntaxMemo::Paint()
{
    TCanvas* C = Canvas();
    TCanvasState Keep(C);
    const int W = TextWidthArea(), H = height() - FooterHeight(), G = GutterWidth();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(QRect(G, 0, std::max(0, W - G), H));
    if (FBar && !FBar->isHidden())
        C->FillRect(QRect(W, FBar->height(), width() - W, height() - FBar->height()));
    const int Rows = VisibleRows();
    for (int i = FTopLine; i < FTopLine + Rows && i < LineCount(); ++i)
        PaintLine(C, i, (i - FTopLine) * FCellH);
    if (FShowGutter)
        PaintGutter(C);
    if (FShowFooter)
        PaintFooter(C);
    const QPoint At = PosToPoint(FCaret);
    if (!FPreedit.isEmpty() && At.x() >= G) {
        C->Font()->Assign(*TextAttr());
        C->Font()->SetStyle(TFontStyles{fsUnderline});
        C->Brush()->SetColor(Color());
        C->TextOut(At.x(), At.y(), FPreedit);
    }
    if (Focused() && At.x() >= G && At.y() >= 0 && At.y() < H) {
        C->Brush()->SetColor(clWindowText);
        C->FillRect(QRect(At.x(), At.y(), 2, FCellH));
    }
    if (OnPaint)
        OnPaint(this);
}

void TfrSyntaxMemo::PaintLine(TCanvas* C, int Index, int Y)
{
    const QString& S = FText[Index];
    const QByteArray& St = FStyles[Index].Styles;
    const int Line = Index + 1, Right = TextWidthArea();
    const TSynPos A = SelStart(), B = SelEnd();
    const bool Sel = HasSelection();
    auto Selected = [&](int Col) { return Sel && A <= TSynPos{Col, Line} && TSynPos{Col, Line} < B; };

    // Skip to the first character starting at or after the left edge.
    int Cell = 0, Col = 1;
    qsizetype i = 0;
    while (i < S.size() && Cell < FLeftCol) {
        int Units = 1;
        Cell += IsWide(CodeAt(S, i, Units)) ? 2 : 1;
        i += Units;
        ++Col;
    }
    int X = GutterWidth() + (Cell - FLeftCol) * FCellW;
    const TFont* Current = nullptr;
    while (i < S.size() && X < Right) {
        // One run: equal style and selection.
        auto StyleAt = [&](qsizetype k) { return k < St.size() ? static_cast<uint8_t>(St[k]) : uint8_t(synText); };
        const uint8_t Style = StyleAt(i);
        const bool RunSel = Selected(Col);
        QString Run;
        int RunCells = 0;
        const int RunX = X;
        while (i < S.size() && StyleAt(i) == Style && Selected(Col) == RunSel &&
               RunX + RunCells * FCellW < Right) {
            int Units = 1;
            const char32_t Code = CodeAt(S, i, Units);
            Run += Code < 32 ? QString(u' ') : S.mid(i, Units);
            RunCells += IsWide(Code) ? 2 : 1;
            i += Units;
            ++Col;
        }
        const TFont* F = StyleFont(Style);
        if (F != Current) {
            C->Font()->Assign(*F);
            Current = F;
        }
        C->Font()->SetColor(RunSel ? FBlockFontColor : F->Color());
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(RunSel ? FBlockColor : Color());
        if (FFixedPitch && !NeedsCells(Run)) {
            C->TextOut(RunX, Y, Run);
        } else {
            C->FillRect(QRect(RunX, Y, RunCells * FCellW, FCellH));
            C->Brush()->SetStyle(bsClear);
            int CX = RunX;
            for (qsizetype k = 0; k < Run.size();) {
                int Units = 1;
                const char32_t Code = CodeAt(Run, k, Units);
                C->TextOut(CX, Y, Run.mid(k, Units));
                CX += (IsWide(Code) ? 2 : 1) * FCellW;
                k += Units;
            }
            C->Brush()->SetStyle(bsSolid);
        }
        X = RunX + RunCells * FCellW;
    }
    // Selected blank space after the text.
    if (Sel && X < Right) {
        const int End = Cols(S) + 1;
        const TSynPos From = std::max(A, TSynPos{End, Line});
        if (From.Line == Line && From < B) {
            const int FromX = PosToPoint(From).x();
            const int ToX = B.Line > Line ? Right : PosToPoint(B).x();
            C->Brush()->SetColor(FBlockColor);
            C->FillRect(QRect(std::max(FromX, GutterWidth()), Y, std::max(0, std::min(ToX, Right) - std::max(FromX, GutterWidth())), FCellH));
        }
    }
}

void TfrSyntaxMemo::PaintGutter(TCanvas* C)
{
    const int G = GutterWidth(), H = height() - FooterHeight();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(QRect(0, 0, G - 1, H));
    C->Pen()->SetColor(clBtnHighlight);
    C->MoveTo(G - 4, 0);
    C->LineTo(G - 4, H);
    for (int i = FTopLine; i < FTopLine + VisibleRows() && i < LineCount(); ++i) {
        const int Y = (i - FTopLine) * FCellH;
        const auto It = std::find(FBookmarks.begin(), FBookmarks.end(), i);
        if (It == FBookmarks.end()) {
            C->Brush()->SetColor(clBtnFace);
            C->FillRect(Rect(2, Y + 2, 13, Y + 13));
            continue;
        }
        C->Brush()->SetColor(clBlack);
        C->FillRect(Rect(3, Y + 1, 13, Y + 12));
        C->Brush()->SetColor(static_cast<TColor>(0x008000));
        C->FillRect(Rect(2, Y + 2, 12, Y + 13));
        C->Font()->SetName(QStringLiteral("Tahoma"));
        C->Font()->SetSize(7);
        C->Font()->SetStyle(TFontStyles{fsBold});
        C->Font()->SetColor(clWhite);
        C->Brush()->SetStyle(bsClear);
        C->TextOut(4, Y + 2, QString::number(It - FBookmarks.begin()));
        C->Brush()->SetStyle(bsSolid);
    }
}

void TfrSyntaxMemo::PaintFooter(TCanvas* C)
{
    const int Top = height() - FooterHeight(), W = TextWidthArea();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(QRect(0, Top, W, FooterHeight()));
    C->Pen()->SetColor(clBtnHighlight);
    C->MoveTo(0, Top);
    C->LineTo(W, Top);
    C->Font()->SetName(QStringLiteral("Tahoma"));
    C->Font()->SetSize(8);
    const int Y = height() - 5 - C->TextHeight(QStringLiteral("|"));
    if (!FStatus.isEmpty()) {
        C->Font()->SetStyle(TFontStyles{fsBold});
        C->Font()->SetColor(clWhite);
        C->Brush()->SetColor(clMaroon);
        C->TextOut(GutterWidth() + 4, Y, FStatus);
    } else {
        C->Font()->SetStyle(TFontStyles());
        C->Font()->SetColor(clBlack);
        C->TextOut(GutterWidth() + 4, Y, QStringLiteral("%1 : %2    ").arg(FCaret.Line).arg(FCaret.Col));
    }
}
