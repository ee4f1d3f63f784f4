// TCustomDBGridEh: what the pointer shows without a press. A cut-off cell of
// a column (or title) with ToolTips shows its whole text at once over the
// cell; a title's Hint is a plain tool tip; the cursor announces column
// sizing and, with multi-selection, record and column selection.
#include "grid/DBGridEh.h"

#include "grid/DBGridEhColumns.h"
#include "platform/db/DataSet.h"
#include "platform/gui/Screen.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QToolTip>

namespace {

// Room the cell text keeps from the cell's edges, and a hint window's own margins.
constexpr int CellTextMargin = 4;
constexpr int HintMargins = 7;
// Height of a title's bottom band that selects whole columns.
constexpr int ColumnSelectBand = 7;

int TextWidth(const QFont& Font, const QString& Text)
{
    return QFontMetrics(Font).horizontalAdvance(Text);
}

} // namespace

TToolTipsWindow::TToolTipsWindow() : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setMargin(2);
    setAutoFillBackground(true);
}

void TToolTipsWindow::ActivateHint(const TCellToolTipEh& Tip)
{
    setFont(Tip.Font);
    QPalette P = palette();
    P.setColor(QPalette::WindowText, ColorToQColor(clWindowText));
    P.setColor(QPalette::Window, ColorToQColor(clInfoBk));
    setPalette(P);
    setWordWrap(Tip.MaxWidth > 0);
    setMaximumWidth(Tip.MaxWidth > 0 ? Tip.MaxWidth : QWIDGETSIZE_MAX);
    setText(Tip.Text);
    adjustSize();
}

TCursor TCustomDBGridEh::CursorAt(int X, int Y) const
{
    TGridState Sizing;
    int Index, Pos, Ofs;
    CalcSizingState(X, Y, Sizing, Index, Pos, Ofs);
    if (Sizing == gsColSizing)
        return crHSplit;
    TDataSet* D = DataLink()->DataSet();
    if (!DataLink()->Active() || !D)
        return crArrow;
    if (!Options().Contains(dgMultiSelect))
        return crDefault;
    const TGridCoord Cell = MouseCoord(X, Y);
    const int Titles = TitleRowCount();
    if (Options().Contains(dgIndicator) && Cell.X == 0 && Cell.Y >= Titles && Cell.Y < Titles + FDataRowCount
        && !D->IsEmpty() && AllowedSelections().Contains(gstRecordBookmarks))
        return UseRightToLeftAlignment() ? crLeftCurEh : crRightCurEh;
    const int TitleRows = Titles - (FilterRow() >= 0 ? 1 : 0);
    if (Options().Contains(dgTitles) && !Options().Contains(dgRowSelect) && AllowedSelections().Contains(gstColumns)
        && Cell.X >= FIndicatorOffset && Cell.Y >= 0 && Cell.Y < TitleRows) {
        const QRect R = CellRect(Cell.X, TitleRows - 1);
        if (Y > R.bottom() - std::min(ColumnSelectBand, R.height()))
            return crDownCurEh;
    }
    return crDefault;
}

bool TCustomDBGridEh::CellToolTip(int X, int Y, TCellToolTipEh& Tip)
{
    const TGridCoord Cell = MouseCoord(X, Y);
    TColumnEh* Column = DataColumn(Cell.X);
    if (!Column)
        return false;
    const int Titles = TitleRowCount();
    const int TitleRows = Titles - (FilterRow() >= 0 ? 1 : 0);
    TDataSet* D = DataLink()->DataSet();
    bool Wrap = false;
    int Usable = Column->Width();
    // A title's own Hint takes the place of its tool tip.
    if (Cell.Y >= 0 && Cell.Y < TitleRows && Column->Title()->ToolTips() && Column->Title()->Hint().isEmpty()) {
        QString Caption = Column->Title()->Caption();
        if (UseMultiTitle())
            Caption = Caption.section(u'|', -1);
        Tip.Text = Caption;
        Tip.Font = Column->Title()->Font()->ToQFont();
        Tip.Alignment = Column->Title()->Alignment();
        Tip.Area = CellRect(Cell.X, TitleRows - 1).united(CellRect(Cell.X, Cell.Y));
        Wrap = Column->Title()->Orientation() != tohVertical && (TitleHeight() > 0 || TitleLines() > 0 || UseMultiTitle());
    } else if (Cell.Y >= Titles && Cell.Y < Titles + FDataRowCount && Column->ToolTips() && DataLink()->Active() && D
               && Cell.Y - Titles < DataLink()->RecordCount()) {
        const int Saved = D->ActiveIndex();
        DataLink()->SetActiveRecord(Cell.Y - Titles);
        TFont Font;
        Font.Assign(*Column->Font());
        TColCellParamsEh P;
        try {
            Column->FillColCellParams(P);
            P.Font = &Font;
            P.Background = Column->Color();
            P.Alignment = Column->Alignment();
            P.Text = Column->GetDisplayText();
            Column->GetColCellParams(false, P);
            GetCellParams(Column, &Font, P.Background, TGridDrawState());
        } catch (...) {
            D->SetActiveIndex(Saved);
            throw;
        }
        D->SetActiveIndex(Saved);
        Tip.Text = P.Text;
        Tip.Font = Font.ToQFont();
        const TColumnEhType Kind = Column->GetColumnType();
        Tip.Alignment = Kind == ctPickList || Kind == ctCheckboxes ? taLeftJustify : P.Alignment;
        Tip.Area = CellRect(Cell.X, Cell.Y);
        if (Column->AlwaysShowEditButton())
            Usable -= ButtonWidth();
        Wrap = Column->WordWrap() && FMultiLineRows;
    } else {
        return false;
    }
    if (Tip.Text.isEmpty())
        return false;
    const QFontMetrics M(Tip.Font);
    const int Room = Usable - CellTextMargin;
    const bool Fits = Wrap ? M.boundingRect(QRect(0, 0, std::max(1, Room), 100000), Qt::TextWordWrap, Tip.Text)
                                     .height() <= Tip.Area.height()
                                 && M.boundingRect(QRect(0, 0, std::max(1, Room), 100000), Qt::TextWordWrap,
                                                   Tip.Text).width() <= Room
                           : TextWidth(Tip.Font, Tip.Text) <= Room;
    if (Fits)
        return false;
    Tip.MaxWidth = Wrap ? Tip.Area.width() - CellTextMargin : 0;
    const int HintWidth = (Wrap ? std::min(Tip.MaxWidth, TextWidth(Tip.Font, Tip.Text)) : TextWidth(Tip.Font, Tip.Text))
        + HintMargins;
    const int Shift = Flat() ? 2 : 1;
    TAlignment A = Tip.Alignment;
    if (UseRightToLeftAlignment() && A != taCenter)
        A = A == taLeftJustify ? taRightJustify : taLeftJustify;
    int Left = Tip.Area.left() - Shift;
    if (A == taRightJustify)
        Left = Tip.Area.right() + 1 - HintWidth;
    else if (A == taCenter)
        Left = Tip.Area.left() + (Tip.Area.width() - HintWidth) / 2;
    Tip.Pos = QPoint(Left, Tip.Area.top() - Shift);
    return true;
}

// The pointer moved with no button held.
void TCustomDBGridEh::HoverChanged(TShiftState Shift, int X, int Y)
{
    SetCursor(CursorAt(X, Y));
    TCellToolTipEh Tip;
    const bool Captured = Shift.Contains(ssLeft) || Shift.Contains(ssRight) || Shift.Contains(ssMiddle);
    if (!Captured && !Shift.Contains(ssCtrl) && CellToolTip(X, Y, Tip)) {
        if (!FToolTipsWindow)
            FToolTipsWindow = std::make_unique<TToolTipsWindow>();
        FToolTipsWindow->ActivateHint(Tip);
        FToolTipsWindow->move(mapToGlobal(Tip.Pos));
        FToolTipsWindow->show();
    } else if (FToolTipsWindow) {
        FToolTipsWindow->hide();
    }
}

// A title's Hint is a plain tool tip over the title cell.
bool TCustomDBGridEh::TitleHintEvent(QHelpEvent* Event)
{
    const TGridCoord Cell = MouseCoord(Event->pos().x(), Event->pos().y());
    TColumnEh* Column = DataColumn(Cell.X);
    const int TitleRows = TitleRowCount() - (FilterRow() >= 0 ? 1 : 0);
    if (!Column || Cell.Y < 0 || Cell.Y >= TitleRows || Column->Title()->Hint().isEmpty())
        return false;
    QToolTip::showText(Event->globalPos(), Column->Title()->Hint(), this, CellRect(Cell.X, Cell.Y));
    return true;
}
