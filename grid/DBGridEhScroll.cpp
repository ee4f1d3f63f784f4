// TCustomDBGridEh: the scroll bars. The vertical bar stands for the dataset,
// not for the grid's rows: its position is the record number and its actions
// move the dataset, whose data link then scrolls the rows.
#include "grid/DBGridEh.h"

#include "platform/db/DataSet.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

namespace {

// Scale of an external horizontal bar: column positions map onto 0..127.
constexpr int HorzScale = 127;

// Whether a bar has nothing to scroll: every position fits in one page.
bool NothingToScroll(const TScrollInfoEh& I)
{
    const int Positions = I.Max - I.Min + 2 - std::max(I.Page, 1);
    return Positions <= 1 || (I.Page > 0 && Positions <= I.Page);
}

} // namespace

// ---------------------------------------------------------------- settings object

TDBGridEhScrollBar::TDBGridEhScrollBar(TCustomDBGridEh* AGrid, TScrollBarKind AKind) : FGrid(AGrid), FKind(AKind) {}

TDBGridEhScrollBar::~TDBGridEhScrollBar()
{
    if (FExtScrollBar) {
        QObject::disconnect(FDestroyedLink);
        FExtScrollBar->Detach();
    }
}

void TDBGridEhScrollBar::SetExtScrollBar(TScrollBar* Value)
{
    if (Value == FExtScrollBar)
        return;
    if (Value && Value->AttachedTo())
        throw EInvalidGridOperation(QStringLiteral("Possible ") + Value->objectName()
                                    + QStringLiteral(" already attached to the other control."));
    if (FExtScrollBar) {
        QObject::disconnect(FDestroyedLink);
        FExtScrollBar->Detach();
    }
    FExtScrollBar = Value;
    if (Value) {
        TCustomDBGridEh* G = FGrid;
        FDestroyedLink = QObject::connect(Value, &QObject::destroyed, G,
                                          [G](QObject* O) { G->Notification(O, opRemove); });
        if (FKind == sbVertical)
            Value->Attach(G, [G](TScrollCode Code, int Pos) { G->WMVScroll(Code, Pos); });
        else
            Value->Attach(G, [G](TScrollCode Code, int Pos) { G->WMHScroll(Code, Pos); });
        Value->setVisible(Visible());
    }
    FGrid->UpdateVertScrollBar();
    FGrid->UpdateHorzScrollBar();
    FGrid->LayoutChanged();
}

// The grid's own horizontal bar reports its position while the thumb is
// dragged only when tracking; otherwise when the thumb is let go.
void TDBGridEhScrollBar::SetTracking(bool Value)
{
    FTracking = Value;
    if (FKind == sbHorizontal && FGrid->HorzBar())
        FGrid->HorzBar()->setTracking(Value);
}

void TDBGridEhScrollBar::ExtScrollBarRemoved()
{
    QObject::disconnect(FDestroyedLink);
    FExtScrollBar = nullptr;
}

void TDBGridEhScrollBar::SetVisibleMode(TScrollBarVisibleModeEh Value)
{
    if (Value == FVisibleMode)
        return;
    FVisibleMode = Value;
    FGrid->UpdateVertScrollBar();
    FGrid->LayoutChanged();
}

bool TDBGridEhScrollBar::IsScrollBarShowing() const
{
    if (FExtScrollBar)
        return !FExtScrollBar->isHidden();
    return Visible() && FGrid->ScrollBarShowing(FKind);
}

TScrollInfoEh TDBGridEhScrollBar::ScrollInfo() const
{
    const TScrollBar* Bar = FExtScrollBar ? FExtScrollBar : (FKind == sbVertical ? FGrid->VertBar() : FGrid->HorzBar());
    if (!Bar)
        return {};
    return TScrollInfoEh{Bar->Min(), Bar->Max(), Bar->PageSize(), Bar->Position(), Bar->TrackPos()};
}

// ---------------------------------------------------------------- driving the bars

void TCustomDBGridEh::UpdateVertScrollBar()
{
    TScrollBar* Own = VertBar();
    if (FDestroying || !Own || !HandleAllocated())
        return;
    TScrollInfoEh New{0, 1, 2, 0, 0};
    TDataSet* D = DataLink()->DataSet();
    if (DataLink()->Active() && D) {
        if (FSumList->IsSequenced()) {
            New.Min = 1;
            New.Page = VisibleDataRowCount();
            New.Max = FSumList->GetRecordCount() + New.Page - 1;
            const TDataSetState State = D->State();
            // While a record is inserted it has no number yet.
            New.Pos = State == dsInactive || State == dsBrowse || State == dsEdit ? FSumList->GetRecNo()
                                                                                    : Own->Position();
        } else {
            New = TScrollInfoEh{0, 4, 0, D->Bof() ? 0 : D->Eof() ? 4 : 2, 0};
        }
    }
    TScrollBar* Ext = FVertScrollBar->ExtScrollBar();
    const TScrollBarVisibleModeEh Mode = FVertScrollBar->VisibleMode();
    // The own bar collapses when it is not wanted or another bar stands in.
    TScrollInfoEh OwnInfo = New;
    if (!FVertScrollBar->Visible() || Ext)
        OwnInfo.Max = OwnInfo.Min;
    const bool Differs = Own->Min() != OwnInfo.Min || Own->Max() != OwnInfo.Max || Own->PageSize() != OwnInfo.Page
        || Own->Position() != OwnInfo.Pos || Own->TrackPos() != OwnInfo.Pos;
    if (Differs || !FVisibleModeApplied || Mode != FAppliedVisibleMode) {
        const bool Idle = NothingToScroll(OwnInfo);
        if (Mode != sbAlwaysShowEh || Ext) {
            Own->setEnabled(true);
            ShowScrollBar(sbVertical, !Idle);
        } else {
            ShowScrollBar(sbVertical, true);
            Own->setEnabled(!Idle);
        }
        Own->SetPageSize(OwnInfo.Page);
        Own->SetParams(OwnInfo.Pos, OwnInfo.Min, OwnInfo.Max);
        FAppliedVisibleMode = Mode;
        FVisibleModeApplied = true;
    }
    if (Ext) {
        Ext->SetPageSize(New.Page);
        Ext->SetParams(New.Pos, New.Min, New.Max);
    }
}

void TCustomDBGridEh::UpdateVertScrollBarFit()
{
    const bool Was = ScrollBarShowing(sbVertical);
    UpdateVertScrollBar();
    if (Was != ScrollBarShowing(sbVertical) && AutoFitColWidths() && !FInLayout)
        FDeferredLayout->Post();
}

void TCustomDBGridEh::UpdateHorzScrollBar()
{
    TScrollBar* Ext = FHorzScrollBar ? FHorzScrollBar->ExtScrollBar() : nullptr;
    if (!Ext || FDestroying)
        return;
    const int Fixed = FixedCols();
    const int Greatest = MaxLeftCol();
    const int Max = VisibleColCount() + Fixed >= ColCount() || Greatest <= Fixed ? 0 : HorzScale;
    const int Pos = Max > 0 ? MulDiv(LeftCol() - Fixed, HorzScale, Greatest - Fixed) : 0;
    if (Ext->Min() != 0 || Ext->Max() != Max || Ext->Position() != Pos || Ext->PageSize() != 0) {
        Ext->SetPageSize(0);
        Ext->SetParams(Pos, 0, Max);
    }
}

bool TCustomDBGridEh::UpdateOwnHorzBar()
{
    const bool Wanted = !AutoFitColWidths() && FHorzScrollBar->Visible() && !FHorzScrollBar->ExtScrollBar();
    const bool Show = Wanted && MaxLeftCol() > FixedCols();
    if (Show == ScrollBarShowing(sbHorizontal))
        return false;
    ShowScrollBar(sbHorizontal, Show);
    return true;
}

void TCustomDBGridEh::UpdateScrollRange()
{
    UpdateHorzScrollRange();
    UpdateHorzScrollBar();
    UpdateVertScrollBarFit();
}

// The title rows are painted anew when the first data row comes into or
// leaves the top.
void TCustomDBGridEh::TopLeftChanged()
{
    TCustomGrid::TopLeftChanged();
    const bool AtFirst = TopRow() == TitleRowCount();
    if (AtFirst != FTopAtFirstDataRow) {
        FTopAtFirstDataRow = AtFirst;
        for (int r = 0; r < TitleRowCount() && r < RowCount(); ++r)
            InvalidateRow(r);
    }
    UpdateHorzScrollBar();
    PlaceFilterEdit(false);
}

// ---------------------------------------------------------------- scroll actions

// The own vertical bar's position is the record number, never the top row.
void TCustomDBGridEh::Scroll(TScrollBarKind Kind, int Position)
{
    if (Kind == sbHorizontal)
        TCustomGrid::Scroll(Kind, Position);
}

void TCustomDBGridEh::WMVScroll(TScrollCode Code, int Pos)
{
    TDataSet* D = DataLink()->DataSet();
    if (!DataLink()->Active() || !D || !isEnabled() || focusPolicy() == Qt::NoFocus) {
        UpdateVertScrollBar();
        return;
    }
    SetFocus();
    switch (Code) {
    case scLineUp: D->MoveBy(-DataLink()->ActiveRecord() - 1); break;
    case scLineDown: D->MoveBy(DataLink()->RecordCount() - DataLink()->ActiveRecord()); break;
    case scPageUp: D->MoveBy(-VisibleDataRowCount()); break;
    case scPageDown: D->MoveBy(VisibleDataRowCount()); break;
    case scPosition: ThumbReleased(Pos); break;
    case scTrack:
        // Without tracking the thumb moves alone until it is let go.
        if (!FVertScrollBar->Tracking() || !FSumList->IsSequenced())
            return;
        D->MoveBy(FVertScrollBar->ScrollInfo().TrackPos - FSumList->GetRecNo());
        FThumbTracked = true;
        break;
    case scTop: D->First(); break;
    case scBottom: D->Last(); break;
    case scEndScroll: return;
    }
    // Also when the dataset could not move: the bar shows where it is.
    UpdateVertScrollBar();
}

void TCustomDBGridEh::ThumbReleased(int Pos)
{
    TDataSet* D = DataLink()->DataSet();
    if (FThumbTracked) {
        FThumbTracked = false;
        return;
    }
    if (FSumList->IsSequenced()) {
        const int Target = FVertScrollBar->ScrollInfo().TrackPos;
        if (Target <= 1)
            D->First();
        else if (Target >= FSumList->GetRecordCount())
            D->Last();
        else
            FSumList->SetRecNo(Target);
        return;
    }
    switch (Pos) {
    case 0: D->First(); break;
    case 1: D->MoveBy(-VisibleDataRowCount()); break;
    case 3: D->MoveBy(VisibleDataRowCount()); break;
    case 4: D->Last(); break;
    default: break;
    }
}

// Actions of an external horizontal bar; the own bar scrolls through Scroll.
void TCustomDBGridEh::WMHScroll(TScrollCode Code, int Pos)
{
    if (!FHorzScrollBar->ExtScrollBar())
        return;
    const int Fixed = FixedCols();
    const int Greatest = std::max(Fixed, MaxLeftCol());
    switch (Code) {
    case scLineUp: SetLeftCol(LeftCol() - 1); break;
    case scLineDown: SetLeftCol(LeftCol() + 1); break;
    case scPageUp: SetLeftCol(LeftCol() - std::max(1, VisibleColCount())); break;
    case scPageDown: SetLeftCol(LeftCol() + std::max(1, VisibleColCount())); break;
    case scTrack:
        // Without tracking the columns move when the thumb is let go.
        if (!FHorzScrollBar->Tracking())
            return;
        [[fallthrough]];
    case scPosition: SetLeftCol(Fixed + MulDiv(std::clamp(Pos, 0, HorzScale), Greatest - Fixed, HorzScale)); break;
    case scTop: SetLeftCol(Fixed); break;
    case scBottom: SetLeftCol(Greatest); break;
    case scEndScroll: break;
    }
    UpdateHorzScrollBar();
}

bool TCustomDBGridEh::MouseWheel(TShiftState Shift, int WheelDelta, int X, int Y)
{
    if (TCustomControl::MouseWheel(Shift, WheelDelta, X, Y))
        return true;
    TDataSet* D = DataLink()->DataSet();
    if (!DataLink()->Active() || !D || WheelDelta == 0)
        return false;
    D->MoveBy(WheelDelta < 0 ? 1 : -1);
    return true;
}

// Held above or below the rows, the pointer pulls in the next record.
void TCustomDBGridEh::TimedScroll(TGridScrollDirections Direction)
{
    TDataSet* D = DataLink()->DataSet();
    if (DataLink()->Active() && D) {
        if (Direction.Contains(sdUp))
            D->MoveBy(-DataLink()->ActiveRecord() - 1);
        else if (Direction.Contains(sdDown))
            D->MoveBy(DataLink()->RecordCount() - DataLink()->ActiveRecord());
        Direction >> sdUp >> sdDown;
    }
    if (!Direction.Empty())
        TCustomGrid::TimedScroll(Direction);
}

// ---------------------------------------------------------------- geometry for the mouse

QRect TCustomDBGridEh::DataRect() const
{
    const int Titles = TitleRowCount();
    const int Last = std::min(Titles + FDataRowCount, RowCount()) - 1;
    if (Last < Titles)
        return QRect();
    const int Left = FIndicatorOffset < FixedCols() ? ColLeft(FIndicatorOffset) : FixedWidth();
    const int Top = RowTop(Titles);
    const int LastTop = RowTop(Last);
    const int Bottom = std::min(ClientHeight(), LastTop + RowHeights(Last));
    const int Right = std::min(ClientWidth(), GridWidth());
    return QRect(Left, Top, std::max(0, Right - Left), std::max(0, Bottom - Top));
}

TGridCoord TCustomDBGridEh::MaxTopLeftFor(int ACol, int ARow) const
{
    TGridCoord Result{std::max(ACol, FixedCols()), std::max(ARow, FixedRows())};
    int Width = FixedWidth() + ColBox(Result.X);
    while (Result.X - 1 >= FixedCols() && Width + ColBox(Result.X - 1) <= ClientWidth())
        Width += ColBox(--Result.X);
    int Height = FixedHeight() + RowBox(Result.Y);
    while (Result.Y - 1 >= FixedRows() && Height + RowBox(Result.Y - 1) <= ClientHeight())
        Height += RowBox(--Result.Y);
    return Result;
}

// ---------------------------------------------------------------- scrolling while dragging

bool TCustomDBGridEh::ScrollDistance(QPoint P, int& DirX, int& DirY, int& Distance, int& DistX) const
{
    const QRect R = DataRect();
    const int Right = R.left() + R.width();
    const int Bottom = R.top() + R.height();
    int DistY = 0;
    DirX = DirY = DistX = 0;
    if (P.y() < R.top()) {
        DirY = -1;
        DistY = R.top() - P.y();
    } else if (P.y() >= Bottom) {
        DirY = 1;
        DistY = P.y() - Bottom + 1;
    }
    if (P.x() < R.left()) {
        DirX = -1;
        DistX = R.left() - P.x();
    } else if (P.x() >= Right) {
        DirX = 1;
        DistX = P.x() - Right;
    }
    Distance = std::max(DistX, DistY);
    return DirX != 0 || DirY != 0;
}

// Each tick moves by a sixth of the distance (at most 8 records) and comes
// sooner the further the pointer is.
void TCustomDBGridEh::TimedScrollByMouse()
{
    TDataSet* D = DataLink()->DataSet();
    int DirX = 0, DirY = 0, Distance = 0, DistX = 0;
    const bool Outside = ScrollDistance(FLastMousePoint, DirX, DirY, Distance, DistX);
    if (!DataLink()->Active() || !D || FDragSelection == gstNon) {
        StopScrollByMouse();
        return;
    }
    if (FDragSelection == gstColumns) {
        if (DirX == 0) {
            StopScrollByMouse();
            return;
        }
        SetLeftCol(LeftCol() + DirX);
        if (TColumnEh* Edge = DataColumn(DirX < 0 ? LeftCol() : LeftCol() + VisibleColCount() - 1))
            ExtendColumnSelection(Edge);
        SetScrollInterval(200 - 10 * DistX);
        return;
    }
    if (!Outside) {
        StopScrollByMouse();
        return;
    }
    const int Step = std::min(Distance / 6, 8);
    if (DirY != 0) {
        D->MoveBy(DirY * Step);
        ExtendSelection(FDragSelection);
    }
    if (DirX != 0 && FDragSelection == gstRectangle) {
        if ((DirX < 0 && LeftCol() > FixedCols()) || (DirX > 0 && LeftCol() < MaxLeftCol()))
            SetLeftCol(LeftCol() + DirX);
        MoveCol(Col() + DirX, DirX, false);
        ExtendSelection(gstRectangle);
    }
    Update();
    SetScrollInterval(200 - 15 * Distance);
}

void TCustomDBGridEh::StartScrollByMouse()
{
    int DirX = 0, DirY = 0, Distance = 0, DistX = 0;
    const bool Outside = ScrollDistance(FLastMousePoint, DirX, DirY, Distance, DistX);
    if (FDragSelection == gstColumns ? DirX == 0 : !Outside) {
        StopScrollByMouse();
        return;
    }
    if (!FScrollTimer || !FScrollTimer->Enabled())
        SetScrollInterval(FDragSelection == gstColumns ? 200 - 10 * DistX : 200 - 15 * Distance);
}

void TCustomDBGridEh::StopScrollByMouse()
{
    if (FScrollTimer)
        FScrollTimer->SetEnabled(false);
}

// Started, or restarted when the interval changed; an interval of 0 means
// the next tick as soon as the event loop is free.
void TCustomDBGridEh::SetScrollInterval(int Interval)
{
    Interval = std::max(0, Interval);
    if (!FScrollTimer) {
        FScrollTimer = std::make_unique<TTimer>();
        FScrollTimer->SetEnabled(false);
        FScrollTimer->OnTimer = [this](QObject*) { TimedScrollByMouse(); };
    }
    if (FScrollTimer->Enabled() && Interval == FScrollInterval)
        return;
    FScrollInterval = Interval;
    FScrollTimer->SetEnabled(false);
    FScrollTimer->SetInterval(std::max(1, Interval));
    FScrollTimer->SetEnabled(true);
}
