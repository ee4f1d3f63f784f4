#include "grid/DBGridEhSelection.h"

#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "platform/db/DataSet.h"

#include <algorithm>

namespace {

TDataSet* OpenDataSet(const TCustomDBGridEh* Grid)
{
    TDataSet* D = Grid->DataLink()->DataSet();
    return Grid->DataLink()->Active() && D && D->Active() ? D : nullptr;
}

// Visits the data rows in view with the fields pointed at each record in
// turn (the cursor stays); Visit gets the raw row and the record's bookmark.
template <class F> void ForEachVisibleRow(const TCustomDBGridEh* Grid, F Visit)
{
    TDataSet* D = OpenDataSet(Grid);
    if (!D)
        return;
    TGridDataLinkEh* Link = Grid->DataLink();
    const int Saved = D->ActiveIndex();
    const int Titles = Grid->TitleRowCount();
    const int Rows = std::min(Link->RecordCount(), std::max(0, Grid->RowCount() - Titles));
    try {
        for (int i = 0; i < Rows; ++i) {
            Link->SetActiveRecord(i);
            Visit(Titles + i, D->GetBookmark());
        }
    } catch (...) {
        D->SetActiveIndex(Saved);
        throw;
    }
    D->SetActiveIndex(Saved);
}

} // namespace

// ---------------------------------------------------------------- record list

TBookmarkListEh::TBookmarkListEh(TCustomDBGridEh* AGrid) : FGrid(AGrid) {}

void TBookmarkListEh::Changed()
{
    FCacheKey.clear();
    FCacheIndex = -1;
}

int TBookmarkListEh::Compare(const TBookmark& A, const TBookmark& B) const
{
    TDataSet* D = FGrid->DataLink()->DataSet();
    return D ? D->CompareBookmarks(A, B) : 0;
}

bool TBookmarkListEh::Find(const TBookmark& Item, int& Index) const
{
    if (Item == FCacheKey && FCacheIndex >= 0) {
        Index = FCacheIndex;
        return FCacheFind;
    }
    int Lo = 0;
    int Hi = Count() - 1;
    bool Found = false;
    while (Lo <= Hi) {
        const int Mid = (Lo + Hi) >> 1;
        const int C = Compare(FList[size_t(Mid)], Item);
        if (C < 0) {
            Lo = Mid + 1;
        } else {
            Hi = Mid - 1;
            if (C == 0) {
                Found = true;
                Lo = Mid;
            }
        }
    }
    Index = Lo;
    FCacheKey = Item;
    FCacheIndex = Lo;
    FCacheFind = Found;
    return Found;
}

int TBookmarkListEh::IndexOf(const TBookmark& Item) const
{
    int Index = -1;
    return Find(Item, Index) ? Index : -1;
}

TBookmark TBookmarkListEh::CurrentRow() const
{
    if (!FLinkActive)
        throw EInvalidGridOperation(QStringLiteral("Cannot perform this operation on a closed dataset"));
    return FGrid->DataLink()->DataSet()->GetBookmark();
}

bool TBookmarkListEh::CurrentRowSelected() const
{
    if (!FLinkActive || FList.empty())
        return false;
    int Index = -1;
    return Find(CurrentRow(), Index);
}

void TBookmarkListEh::SetCurrentRowSelected(bool Value)
{
    if (!Include(CurrentRow(), Value))
        return;
    FGrid->InvalidateRow(FGrid->Row());
    TDBGridEhSelection* S = FGrid->Selection();
    if (!FList.empty() && S->SelectionType() != gstRecordBookmarks) {
        S->Clear();
        S->SetSelectionType(gstRecordBookmarks);
    }
    S->UpdateState();
}

bool TBookmarkListEh::Include(const TBookmark& Item, bool Value)
{
    int Index = -1;
    if (Item.isEmpty() || Find(Item, Index) == Value)
        return false;
    if (Value)
        FList.insert(FList.begin() + Index, Item);
    else
        FList.erase(FList.begin() + Index);
    Changed();
    return true;
}

void TBookmarkListEh::Clear()
{
    if (FList.empty())
        return;
    FList.clear();
    Changed();
    FGrid->Selection()->UpdateState();
    FGrid->Invalidate();
}

std::vector<TBookmark> TBookmarkListEh::Reachable() const
{
    const TDataSet* D = FGrid->DataLink()->DataSet();
    std::vector<TBookmark> Result;
    if (!D)
        return Result;
    for (const TBookmark& B : FList)
        if (D->BookmarkValid(B))
            Result.push_back(B);
    return Result;
}

void TBookmarkListEh::Delete()
{
    TDataSet* D = FGrid->DataLink()->DataSet();
    if (!D)
        return;
    D->DisableControls();
    try {
        for (int i = Count() - 1; i >= 0; --i) {
            if (!D->BookmarkValid(FList[size_t(i)]))
                continue;
            D->GotoBookmark(FList[size_t(i)]);
            D->Delete();
            FList.erase(FList.begin() + i);
            Changed();
        }
    } catch (...) {
        D->EnableControls();
        FGrid->Selection()->UpdateState();
        throw;
    }
    D->EnableControls();
    FGrid->Selection()->UpdateState();
}

void TBookmarkListEh::LinkActive(bool Value)
{
    FList.clear();
    Changed();
    FLinkActive = Value;
}

// ---------------------------------------------------------------- column list

int TDBGridEhSelectionCols::IndexOf(const TColumnEh* Column) const
{
    const auto It = std::find(FList.begin(), FList.end(), Column);
    return It == FList.end() ? -1 : int(It - FList.begin());
}

void TDBGridEhSelectionCols::InvalidateColumn(TColumnEh* Column)
{
    if (Column && IsGridColumn(Column))
        FGrid->InvalidateCol(Column->Index() + FGrid->IndicatorOffset());
}

bool TDBGridEhSelectionCols::IsGridColumn(const TColumnEh* Column) const
{
    TDBGridColumnsEh* Columns = FGrid->Columns();
    return Columns && Columns->IndexOf(Column) >= 0;
}

void TDBGridEhSelectionCols::Insert(TColumnEh* Column)
{
    if (IndexOf(Column) >= 0)
        return;
    const auto At = std::upper_bound(FList.begin(), FList.end(), Column,
                                     [](TColumnEh* A, TColumnEh* B) { return A->Index() < B->Index(); });
    FList.insert(At, Column);
    InvalidateColumn(Column);
}

void TDBGridEhSelectionCols::Remove(TColumnEh* Column)
{
    const int i = IndexOf(Column);
    if (i < 0)
        return;
    FList.erase(FList.begin() + i);
    InvalidateColumn(Column);
}

void TDBGridEhSelectionCols::InvertSelect(TColumnEh* Column)
{
    TDBGridEhSelection* S = FGrid->Selection();
    if (S->SelectionType() != gstColumns)
        S->Clear();
    if (IndexOf(Column) >= 0)
        Remove(Column);
    else
        Insert(Column);
    FAnchor = FShiftCol = Column;
    FShiftSelectedCols.clear();
    S->SetSelectionType(FList.empty() ? gstNon : gstColumns);
}

void TDBGridEhSelectionCols::Select(TColumnEh* Column, bool Add)
{
    TDBGridEhSelection* S = FGrid->Selection();
    if (S->SelectionType() != gstColumns)
        S->Clear();
    if (!Add)
        for (TColumnEh* C : TColumnsEhList(FList))
            if (C != Column)
                Remove(C);
    Insert(Column);
    FAnchor = FShiftCol = Column;
    FShiftSelectedCols.clear();
    S->SetSelectionType(gstColumns);
}

// The columns between the anchor and the old end that are no longer between
// the anchor and the new end are given back, the new ones taken in. Taking in
// follows the anchor's own state: a selected anchor selects the range, an
// anchor deselected by Ctrl deselects it. Only what this extension changed is
// ever given back.
void TDBGridEhSelectionCols::SelectShift(TColumnEh* Column)
{
    TDBGridEhSelection* S = FGrid->Selection();
    if (S->SelectionType() != gstColumns)
        S->Clear();
    if (!FAnchor || !IsGridColumn(FAnchor)) {
        Select(Column, true);
        return;
    }
    if (!FShiftCol || !IsGridColumn(FShiftCol))
        FShiftCol = FAnchor;
    const int A = FAnchor->Index();
    const int E = FShiftCol->Index();
    const int T = Column->Index();
    const bool AnchorSelected = IndexOf(FAnchor) >= 0;
    auto Between = [A](int X, int End) { return X >= std::min(A, End) && X <= std::max(A, End); };
    TDBGridColumnsEh* Columns = FGrid->Columns();
    // Walk from the old end's side so that the order of the extension list
    // follows the mouse.
    const int Lo = std::min({A, E, T});
    const int Hi = std::max({A, E, T});
    for (int k = Lo; k <= Hi; ++k) {
        TColumnEh* C = Columns->Items(k);
        if (C == FAnchor)
            continue;
        const bool Was = Between(k, E);
        const bool Now = Between(k, T);
        if (Was && !Now) {
            const auto It = std::find(FShiftSelectedCols.begin(), FShiftSelectedCols.end(), C);
            if (It == FShiftSelectedCols.end())
                continue;
            FShiftSelectedCols.erase(It);
            if (AnchorSelected)
                Remove(C);
            else
                Insert(C);
        } else if (!Was && Now) {
            if (AnchorSelected && C->Visible() && IndexOf(C) < 0) {
                Insert(C);
                FShiftSelectedCols.push_back(C);
            } else if (!AnchorSelected && IndexOf(C) >= 0) {
                Remove(C);
                FShiftSelectedCols.push_back(C);
            }
        }
    }
    FShiftCol = Column;
    S->SetSelectionType(FList.empty() ? gstNon : gstColumns);
}

void TDBGridEhSelectionCols::Clear()
{
    for (TColumnEh* C : FList)
        InvalidateColumn(C);
    FList.clear();
    FShiftSelectedCols.clear();
    FAnchor = FShiftCol = nullptr;
}

void TDBGridEhSelectionCols::Refresh()
{
    std::erase_if(FList, [this](TColumnEh* C) { return !IsGridColumn(C); });
    std::erase_if(FShiftSelectedCols, [this](TColumnEh* C) { return !IsGridColumn(C); });
    if (FAnchor && !IsGridColumn(FAnchor))
        FAnchor = nullptr;
    if (FShiftCol && !IsGridColumn(FShiftCol))
        FShiftCol = FAnchor;
    std::stable_sort(FList.begin(), FList.end(), [](TColumnEh* A, TColumnEh* B) { return A->Index() < B->Index(); });
}

// ---------------------------------------------------------------- rectangle

void TDBGridEhSelectionRect::CheckActive(const char* Message) const
{
    if (!OpenDataSet(FGrid))
        throw EInvalidGridOperation(QString::fromLatin1(Message));
}

TBookmark TDBGridEhSelectionRect::TopRow() const
{
    CheckActive("Error in TDBGridEhSelectionRect.GetTopRow");
    return FGrid->DataLink()->DataSet()->CompareBookmarks(FAnchorRow, FShiftRow) <= 0 ? FAnchorRow : FShiftRow;
}

TBookmark TDBGridEhSelectionRect::BottomRow() const
{
    CheckActive("Error in TDBGridEhSelectionRect.GetBottomRow");
    return FGrid->DataLink()->DataSet()->CompareBookmarks(FAnchorRow, FShiftRow) <= 0 ? FShiftRow : FAnchorRow;
}

void TDBGridEhSelectionRect::ForEachRow(const std::function<bool()>& Visit) const
{
    const TBookmark Top = TopRow();
    const TBookmark Bottom = BottomRow();
    TDataSet* D = FGrid->DataLink()->DataSet();
    if (D->BookmarkValid(Top)) {
        D->GotoBookmark(Top);
    } else {
        D->First();
        while (!D->Eof() && D->CompareBookmarks(D->GetBookmark(), Top) < 0)
            D->Next();
    }
    while (!D->Eof() && D->CompareBookmarks(D->GetBookmark(), Bottom) <= 0) {
        if (!Visit())
            return;
        D->Next();
    }
}

int TDBGridEhSelectionRect::LeftCol() const
{
    CheckActive("Error in TDBGridEhSelectionRect.GetLeftCol");
    return std::min(FAnchorCol, FShiftCol);
}

int TDBGridEhSelectionRect::RightCol() const
{
    CheckActive("Error in TDBGridEhSelectionRect.GetRightCol");
    return std::max(FAnchorCol, FShiftCol);
}

namespace {

bool InRect(const TDataSet* D, int Col, const TBookmark& Row, int ACol, const TBookmark& ARow, int BCol,
            const TBookmark& BRow)
{
    if (ACol < 0 || BCol < 0 || Col < std::min(ACol, BCol) || Col > std::max(ACol, BCol))
        return false;
    const bool AFirst = D->CompareBookmarks(ARow, BRow) <= 0;
    const TBookmark& Top = AFirst ? ARow : BRow;
    const TBookmark& Bottom = AFirst ? BRow : ARow;
    return D->CompareBookmarks(Top, Row) <= 0 && D->CompareBookmarks(Row, Bottom) <= 0;
}

} // namespace

bool TDBGridEhSelectionRect::CellSelected(int ACol, const TBookmark& ARow) const
{
    TDataSet* D = OpenDataSet(FGrid);
    if (!D)
        throw EInvalidGridOperation(QStringLiteral("Error in function TDBGridEhSelectionRect.CellSelected"));
    return InRect(D, ACol, ARow, FAnchorCol, FAnchorRow, FShiftCol, FShiftRow);
}

void TDBGridEhSelectionRect::Select(int ACol, const TBookmark& ARow, bool Extend)
{
    TDBGridEhSelection* S = FGrid->Selection();
    if (S->SelectionType() != gstRectangle)
        S->Clear();
    const int OldAnchorCol = FAnchorCol, OldShiftCol = FShiftCol;
    const TBookmark OldAnchorRow = FAnchorRow, OldShiftRow = FShiftRow;
    const bool WasRect = S->SelectionType() == gstRectangle;
    if (FAnchorCol < 0 || !Extend) {
        FAnchorCol = ACol;
        FAnchorRow = ARow;
    }
    FShiftCol = ACol;
    FShiftRow = ARow;
    TDataSet* D = FGrid->DataLink()->DataSet();
    const bool OneCell = FAnchorCol == FShiftCol && D && D->CompareBookmarks(FAnchorRow, FShiftRow) == 0;
    if (OneCell) {
        if (S->SelectionType() == gstRectangle)
            S->SetSelectionType(gstNon);
    } else {
        S->SetSelectionType(gstRectangle);
    }
    InvalidateChanged(WasRect, OldAnchorCol, OldAnchorRow, OldShiftCol, OldShiftRow);
}

void TDBGridEhSelectionRect::InvalidateChanged(bool WasShown, int OldAnchorCol, const TBookmark& OldAnchorRow,
                                               int OldShiftCol, const TBookmark& OldShiftRow)
{
    TDataSet* D = OpenDataSet(FGrid);
    if (!D || !FGrid->HandleAllocated())
        return;
    const int Ofs = FGrid->IndicatorOffset();
    const int ColCount = FGrid->Columns()->Count();
    const bool Shown = FGrid->Selection()->SelectionType() == gstRectangle;
    ForEachVisibleRow(FGrid, [&](int Row, const TBookmark& B) {
        for (int c = 0; c < ColCount; ++c) {
            const bool Old = WasShown && InRect(D, c, B, OldAnchorCol, OldAnchorRow, OldShiftCol, OldShiftRow);
            const bool New = Shown && InRect(D, c, B, FAnchorCol, FAnchorRow, FShiftCol, FShiftRow);
            if (Old != New)
                FGrid->InvalidateCell(c + Ofs, Row);
        }
    });
}

void TDBGridEhSelectionRect::Clear()
{
    FAnchorCol = FShiftCol = -1;
    FAnchorRow.clear();
    FShiftRow.clear();
    FGrid->Invalidate();
}

// ---------------------------------------------------------------- selection

TDBGridEhSelection::TDBGridEhSelection(TCustomDBGridEh* AGrid) : FColumns(AGrid), FGrid(AGrid), FRect(AGrid) {}

TBookmarkListEh* TDBGridEhSelection::Rows() const
{
    return FGrid->SelectedRows();
}

void TDBGridEhSelection::SetSelectionType(TDBGridEhSelectionType Value)
{
    if (Value == FSelectionType)
        return;
    FSelectionType = Value;
    FGrid->InvalidateSelection();
}

bool TDBGridEhSelection::DataCellSelected(int DataCol, const TBookmark& Row) const
{
    switch (FSelectionType) {
    case gstRecordBookmarks: {
        int Index = -1;
        return Rows()->Find(Row, Index);
    }
    case gstRectangle:
        return DataCol >= 0 && FRect.CellSelected(DataCol, Row);
    case gstColumns:
        return DataCol >= 0 && DataCol < FGrid->Columns()->Count()
            && FColumns.IndexOf(FGrid->Columns()->Items(DataCol)) >= 0;
    case gstAll:
        return true;
    case gstNon:
        break;
    }
    return false;
}

void TDBGridEhSelection::Clear()
{
    switch (FSelectionType) {
    case gstRecordBookmarks: Rows()->Clear(); break;
    case gstRectangle: FRect.Clear(); break;
    case gstColumns: FColumns.Clear(); break;
    case gstAll: FGrid->Invalidate(); break;
    case gstNon: break;
    }
    SetSelectionType(gstNon);
    if (FGrid->Options().Contains(dgAlwaysShowEditor) && FGrid->CanEditShow())
        FGrid->ShowEditor();
}

void TDBGridEhSelection::SelectAll()
{
    if (FSelectionType == gstAll)
        return;
    Clear();
    SetSelectionType(gstAll);
    FGrid->Invalidate();
}

void TDBGridEhSelection::LinkActive(bool Value)
{
    Rows()->LinkActive(Value);
    Clear();
}

void TDBGridEhSelection::UpdateState()
{
    if ((FSelectionType == gstRecordBookmarks && Rows()->Count() == 0)
        || (FSelectionType == gstColumns && FColumns.Count() == 0)) {
        SetSelectionType(gstNon);
        FGrid->Invalidate();
    }
}

TGridRectEh TDBGridEhSelection::SelectionToGridRect() const
{
    TGridRectEh R;
    const int Ofs = FGrid->IndicatorOffset();
    switch (FSelectionType) {
    case gstRecordBookmarks:
        ForEachVisibleRow(FGrid, [&](int Row, const TBookmark& B) {
            if (Rows()->IndexOf(B) < 0)
                return;
            if (R.Top < 0)
                R.Top = Row;
            R.Bottom = Row;
        });
        if (R.Top >= 0) {
            R.Left = 0;
            R.Right = FGrid->ColCount() - 1;
        }
        break;
    case gstRectangle: {
        if (!OpenDataSet(FGrid))
            break;
        TDataSet* D = FGrid->DataLink()->DataSet();
        const TBookmark Top = FRect.TopRow();
        const TBookmark Bottom = FRect.BottomRow();
        ForEachVisibleRow(FGrid, [&](int Row, const TBookmark& B) {
            if (D->CompareBookmarks(B, Top) >= 0 && D->CompareBookmarks(B, Bottom) <= 0) {
                if (R.Top < 0)
                    R.Top = Row;
                R.Bottom = Row;
            }
        });
        if (R.Top >= 0) {
            R.Left = FRect.LeftCol() + Ofs;
            R.Right = FRect.RightCol() + Ofs;
        }
        break;
    }
    case gstColumns:
        if (FColumns.Count() > 0) {
            R.Left = FColumns.Items(0)->Index() + Ofs;
            R.Right = FColumns.Items(FColumns.Count() - 1)->Index() + Ofs;
            R.Top = 0;
            R.Bottom = FGrid->RowCount() - 1;
        }
        break;
    case gstAll:
    case gstNon:
        break;
    }
    if (R.Top < 0)
        return TGridRectEh();
    return R;
}

void TDBGridEhSelection::BeginRowExtension()
{
    TDataSet* D = OpenDataSet(FGrid);
    if (!D)
        return;
    if (FSelectionType != gstRecordBookmarks || FRowAnchor.isEmpty() || !D->BookmarkValid(FRowAnchor)) {
        if (FSelectionType != gstRecordBookmarks)
            Clear();
        FRowAnchor = D->GetBookmark();
        FRowsAdded.clear();
    }
    ExtendRows();
}

void TDBGridEhSelection::AnchorRows()
{
    TDataSet* D = OpenDataSet(FGrid);
    FRowAnchor = D ? D->GetBookmark() : TBookmark();
    FRowsAdded.clear();
}

void TDBGridEhSelection::ExtendRows()
{
    TDataSet* D = OpenDataSet(FGrid);
    if (!D || D->IsEmpty())
        return;
    const TBookmark Current = D->GetBookmark();
    if (FRowAnchor.isEmpty() || !D->BookmarkValid(FRowAnchor)) {
        FRowAnchor = Current;
        FRowsAdded.clear();
    }
    const bool Down = D->CompareBookmarks(FRowAnchor, Current) <= 0;
    const TBookmark& Top = Down ? FRowAnchor : Current;
    const TBookmark& Bottom = Down ? Current : FRowAnchor;
    TBookmarkListEh* List = Rows();
    std::erase_if(FRowsAdded, [&](const TBookmark& B) {
        const bool Inside = D->CompareBookmarks(Top, B) <= 0 && D->CompareBookmarks(B, Bottom) <= 0;
        if (!Inside)
            List->Include(B, false);
        return !Inside;
    });
    D->DisableControls();
    try {
        D->GotoBookmark(Top);
        while (!D->Eof()) {
            const TBookmark B = D->GetBookmark();
            if (List->Include(B, true))
                FRowsAdded.push_back(B);
            if (D->CompareBookmarks(B, Bottom) >= 0)
                break;
            D->Next();
        }
        D->GotoBookmark(Current);
    } catch (...) {
        D->EnableControls();
        throw;
    }
    D->EnableControls();
    if (List->Count() > 0 && FSelectionType != gstRecordBookmarks)
        SetSelectionType(gstRecordBookmarks);
    UpdateState();
    FGrid->Invalidate();
}

// ---------------------------------------------------------------- the grid's side

bool TCustomDBGridEh::IsCellSelected(int ACol, int ARow) const
{
    if (!FSelection || !DataLink()->Active())
        return false;
    const TDBGridEhSelectionType Kind = FSelection->SelectionType();
    if (Kind == gstNon)
        return false;
    if (Kind == gstAll)
        return true;
    const int DataCol = ACol - FIndicatorOffset;
    if (Kind == gstColumns)
        return FSelection->DataCellSelected(DataCol, TBookmark());
    // Records and rectangles are rows of data: the painter has pointed the
    // fields at the painted record.
    const int Titles = TitleRowCount();
    if (ARow < Titles || ARow >= Titles + DataLink()->RecordCount())
        return false;
    return FSelection->DataCellSelected(DataCol, DataLink()->DataSet()->GetBookmark());
}

bool TCustomDBGridEh::SelectionExists() const
{
    return FSelection && FSelection->SelectionType() != gstNon;
}

void TCustomDBGridEh::InvalidateSelection()
{
    if (!FSelection || !HandleAllocated())
        return;
    if (FSelection->SelectionType() == gstAll) {
        Invalidate();
        return;
    }
    const TGridRectEh R = FSelection->SelectionToGridRect();
    if (!R.Empty())
        for (int r = R.Top; r <= R.Bottom && r < RowCount(); ++r)
            for (int c = R.Left; c <= R.Right && c < ColCount(); ++c)
                InvalidateCell(c, r);
    if (Row() < RowCount())
        InvalidateRow(Row());
}

void TCustomDBGridEh::SaveBookmark()
{
    FSavedTopRow.clear();
    FSavedDistance = 0;
    TDataSet* D = OpenDataSet(this);
    if (!D)
        return;
    const int Saved = D->ActiveIndex();
    FSavedDistance = DataLink()->ActiveRecord();
    DataLink()->SetActiveRecord(0);
    FSavedTopRow = D->GetBookmark();
    D->SetActiveIndex(Saved);
}

void TCustomDBGridEh::RestoreBookmark()
{
    TDataSet* D = OpenDataSet(this);
    if (!D || FSavedTopRow.isEmpty() || !D->BookmarkValid(FSavedTopRow))
        return;
    D->GotoBookmark(FSavedTopRow);
    D->MoveBy(FSavedDistance);
}

// ---------------------------------------------------------------- hooks of the keys and the mouse

TDBGridEhSelectionType TCustomDBGridEh::SelectionType() const
{
    return FSelection ? FSelection->SelectionType() : gstNon;
}

void TCustomDBGridEh::ClearSelection()
{
    if (FSelection && FSelection->SelectionType() != gstNon)
        FSelection->Clear();
}

void TCustomDBGridEh::SelectAll()
{
    FSelection->SelectAll();
}

int TCustomDBGridEh::SelectedRowCount() const
{
    return FBookmarks->Count();
}

bool TCustomDBGridEh::CurrentRowSelected() const
{
    return DataLink()->Active() && FBookmarks->CurrentRowSelected();
}

void TCustomDBGridEh::ToggleCurrentRowSelected()
{
    if (DataLink()->Active())
        FBookmarks->SetCurrentRowSelected(!FBookmarks->CurrentRowSelected());
}

void TCustomDBGridEh::BeginExtendSelection(TDBGridEhSelectionType Kind)
{
    TDataSet* D = OpenDataSet(this);
    if (!D || !AllowedSelections().Contains(Kind))
        return;
    if (Kind == gstRecordBookmarks) {
        FSelection->BeginRowExtension();
    } else if (Kind == gstRectangle && FSelection->SelectionType() != gstRectangle) {
        FSelection->Rect()->Select(SelectedIndex(), D->GetBookmark(), false);
    }
}

void TCustomDBGridEh::ExtendSelection(TDBGridEhSelectionType Kind)
{
    TDataSet* D = OpenDataSet(this);
    if (!D || !AllowedSelections().Contains(Kind))
        return;
    if (Kind == gstRecordBookmarks)
        FSelection->ExtendRows();
    else if (Kind == gstRectangle)
        FSelection->Rect()->Select(SelectedIndex(), D->GetBookmark(), true);
}

// Records are selected by the indicator (or anywhere with dgRowSelect),
// rectangles by data cells; Shift extends, Ctrl toggles a record or keeps
// what is selected, and a plain press clears the old selection with
// dghClearSelection.
TDBGridEhSelectionType TCustomDBGridEh::StartMouseSelection(TGridCoord Cell, TShiftState Shift)
{
    TDataSet* D = OpenDataSet(this);
    const bool Plain = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl);
    if (!D || !Options().Contains(dgMultiSelect))
        return gstNon;
    if (Plain && OptionsEh().Contains(dghClearSelection))
        ClearSelection();
    // The press leaves the record alone under Shift: the selection goes there.
    if (Shift.Contains(ssShift))
        DataLink()->MoveBy(Cell.Y - TitleRowCount() - DataLink()->ActiveRecord());
    const bool Records = Cell.X < FIndicatorOffset || Options().Contains(dgRowSelect);
    if (Records && AllowedSelections().Contains(gstRecordBookmarks)) {
        if (Shift.Contains(ssShift)) {
            FSelection->BeginRowExtension();
            return gstRecordBookmarks;
        }
        if (Shift.Contains(ssCtrl))
            ToggleCurrentRowSelected();
        else
            FBookmarks->SetCurrentRowSelected(true);
        FSelection->AnchorRows();
        return gstRecordBookmarks;
    }
    if (!Records && AllowedSelections().Contains(gstRectangle)) {
        FSelection->Rect()->Select(SelectedIndex(), D->GetBookmark(), Shift.Contains(ssShift));
        return gstRectangle;
    }
    return gstNon;
}

bool TCustomDBGridEh::ColumnSelectionPoint(int X, int Y) const
{
    if (!Options().Contains(dgMultiSelect) || !AllowedSelections().Contains(gstColumns) || !DataLink()->Active()
        || !Options().Contains(dgTitles))
        return false;
    const TGridCoord Cell = MouseCoord(X, Y);
    TColumnEh* Column = DataColumn(Cell.X);
    if (!Column || Cell.Y < 0 || Cell.Y >= TitleRowCount() || Cell.Y == FilterRow())
        return false;
    // A title button keeps its press.
    return !(Column->Title()->TitleButton() && InLeafTitle(Cell.X, Y));
}

void TCustomDBGridEh::SelectColumnByTitle(TColumnEh* Column, TShiftState Shift)
{
    if (Shift.Contains(ssShift))
        FSelection->Columns()->SelectShift(Column);
    else if (Shift.Contains(ssCtrl))
        FSelection->Columns()->InvertSelect(Column);
    else
        FSelection->Columns()->Select(Column, false);
}

void TCustomDBGridEh::ExtendColumnSelection(TColumnEh* Column)
{
    FSelection->Columns()->SelectShift(Column);
}

std::vector<TColumnEh*> TCustomDBGridEh::SelectedColumns() const
{
    return FSelection->SelectionType() == gstColumns ? FSelection->Columns()->List() : std::vector<TColumnEh*>();
}

void TCustomDBGridEh::DeleteSelectedRows()
{
    FBookmarks->Delete();
}
