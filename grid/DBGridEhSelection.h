// The grid's multi-selection: a set of records, a rectangle of cells, a set of
// whole columns, or everything. TDBGridEhSelection holds the kind and one
// member object per kind; only the member of the current kind means anything,
// and changing the kind clears the old member first. The painter asks whether
// a cell is selected, the mouse and keys change the selection, and the
// clipboard code copies, cuts and deletes by it.
#pragma once

#include "grid/DBGridEh.h"
#include "platform/db/DBTypes.h"

#include <functional>
#include <vector>

class TColumnEh;
class TCustomDBGridEh;

// An ordered list of grid columns that does not own them.
using TColumnsEhList = std::vector<TColumnEh*>;

// A rectangle of grid cells (raw columns and rows, both ends included);
// Left -1 when empty.
struct TGridRectEh
{
    int Left = -1;
    int Top = -1;
    int Right = -1;
    int Bottom = -1;
    bool Empty() const { return Left < 0; }
    bool operator==(const TGridRectEh&) const = default;
};

// The selected records as bookmarks, kept in the dataset's bookmark order and
// searched by halving: the painter asks for every cell. The last answer is
// cached until the list changes.
class TBookmarkListEh
{
public:
    explicit TBookmarkListEh(TCustomDBGridEh* AGrid);

    int Count() const { return int(FList.size()); }
    const TBookmark& Items(int Index) const { return FList.at(size_t(Index)); }
    const std::vector<TBookmark>& List() const { return FList; }
    // The listed records the dataset can reach now: a filter may hide some,
    // and a record may be gone.
    std::vector<TBookmark> Reachable() const;

    // Whether the current record is listed; writing inserts or removes it.
    bool CurrentRowSelected() const;
    void SetCurrentRowSelected(bool Value);
    int IndexOf(const TBookmark& Item) const;
    // True when found; Index is the match or the place to insert.
    bool Find(const TBookmark& Item, int& Index) const;
    void Clear();
    // Deletes every listed record the dataset can reach, last entry first;
    // the others stay listed. A failing delete stops there and leaves the
    // entries not yet handled.
    void Delete();
    // The current record's bookmark; raises when the link is not active.
    TBookmark CurrentRow() const;
    // The grid's link went active or inactive: the list empties.
    void LinkActive(bool Value);

private:
    friend class TDBGridEhSelection;
    void Changed();
    int Compare(const TBookmark& A, const TBookmark& B) const;
    // Adds or removes one bookmark; true when the list changed.
    bool Include(const TBookmark& Item, bool Value);

    mutable TBookmark FCacheKey;
    mutable bool FCacheFind = false;
    mutable int FCacheIndex = -1;
    TCustomDBGridEh* FGrid;
    bool FLinkActive = false;
    std::vector<TBookmark> FList;
};

// Whole columns, kept in the order of their Index.
class TDBGridEhSelectionCols
{
public:
    explicit TDBGridEhSelectionCols(TCustomDBGridEh* AGrid) : FGrid(AGrid) {}

    int Count() const { return int(FList.size()); }
    TColumnEh* Items(int Index) const { return FList.at(size_t(Index)); }
    const TColumnsEhList& List() const { return FList; }
    int IndexOf(const TColumnEh* Column) const;
    TColumnEh* Anchor() const { return FAnchor; }

    // Ctrl+click on a title: adds or removes the column.
    void InvertSelect(TColumnEh* Column);
    // A plain click (Add false) selects only the column.
    void Select(TColumnEh* Column, bool Add);
    // Shift+click or a drag over titles: the range from the anchor follows
    // the column; columns selected before the extension began stay.
    void SelectShift(TColumnEh* Column);
    void Clear();
    // The grid's columns changed: drops the columns that are gone, re-sorts.
    void Refresh();

private:
    void Insert(TColumnEh* Column);
    void Remove(TColumnEh* Column);
    void InvalidateColumn(TColumnEh* Column);
    bool IsGridColumn(const TColumnEh* Column) const;

    TColumnsEhList FList;
    TColumnEh* FAnchor = nullptr;
    TCustomDBGridEh* FGrid;
    TColumnEh* FShiftCol = nullptr;
    TColumnsEhList FShiftSelectedCols;
};

// A rectangle of cells between an anchor and a shift end (data column and
// bookmark each), both ends included, in either order.
class TDBGridEhSelectionRect
{
public:
    explicit TDBGridEhSelectionRect(TCustomDBGridEh* AGrid) : FGrid(AGrid) {}

    // Starts (Extend false or no anchor yet) or extends the rectangle; a
    // one-cell rectangle is no selection.
    void Select(int ACol, const TBookmark& ARow, bool Extend);
    void Clear();
    TBookmark TopRow() const;
    TBookmark BottomRow() const;
    int LeftCol() const;
    int RightCol() const;
    // Raises when the grid's dataset is not open.
    bool CellSelected(int ACol, const TBookmark& ARow) const;
    // Puts the cursor on each record the dataset reaches between the top and
    // the bottom row in turn, until Visit returns false. The walk never goes
    // past the bottom row, even when a filter hides it or it is gone.
    void ForEachRow(const std::function<bool()>& Visit) const;

private:
    void CheckActive(const char* Message) const;
    // Repaints the visible cells whose state differs between the rectangle
    // shown before (OldAnchor..OldShift, when WasShown) and now.
    void InvalidateChanged(bool WasShown, int OldAnchorCol, const TBookmark& OldAnchorRow, int OldShiftCol,
                           const TBookmark& OldShiftRow);

    int FAnchorCol = -1;
    TBookmark FAnchorRow;
    TCustomDBGridEh* FGrid;
    int FShiftCol = -1;
    TBookmark FShiftRow;
};

class TDBGridEhSelection
{
public:
    explicit TDBGridEhSelection(TCustomDBGridEh* AGrid);

    TDBGridEhSelectionType SelectionType() const { return FSelectionType; }
    void SetSelectionType(TDBGridEhSelectionType Value);
    TDBGridEhSelectionCols* Columns() { return &FColumns; }
    TDBGridEhSelectionRect* Rect() { return &FRect; }
    TBookmarkListEh* Rows() const;

    // DataCol is a column of the grid's collection (-1: the indicator).
    bool DataCellSelected(int DataCol, const TBookmark& Row) const;
    void Clear();
    void SelectAll();
    void LinkActive(bool Value);
    // An emptied record or column list ends its kind.
    void UpdateState();
    // Raw cells covering the visible part of the selection; empty for none
    // (the whole grid repaints for gstAll instead).
    TGridRectEh SelectionToGridRect() const;
    // Shift with keys or a drag over records: the records from the anchor
    // (the current record when the extension begins) to the current one are
    // selected; those this extension added and left behind are given back.
    void BeginRowExtension();
    void ExtendRows();
    // A new extension starts from the current record.
    void AnchorRows();

private:
    TBookmark FRowAnchor;
    std::vector<TBookmark> FRowsAdded;
    TDBGridEhSelectionCols FColumns;
    TCustomDBGridEh* FGrid;
    TDBGridEhSelectionRect FRect;
    TDBGridEhSelectionType FSelectionType = gstNon;
};
