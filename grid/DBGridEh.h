// The data-aware grid: what it owns (columns, default values, the data link,
// the sum list, the title tree, the sort list) and its settings. This unit is
// the model side of the grid; drawing, keys, mouse, scrolling and editing build
// on it elsewhere and call LayoutChanged after a change of the model.
#pragma once

#include "grid/DBGridEhColumns.h"
#include "grid/DBSumLst.h"
#include "platform/db/DataLink.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Grids.h"
#include "platform/gui/Sets.h"
#include "platform/gui/StdActns.h"

#include <QLabel>
#include <QPointer>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

class TDataSource;
class TPostedCall;
class TImageList;
class THeadTreeNode;
class TScrollBar;
class TBookmarkListEh;
class TDBGridEhSelection;
class TTimer;
class TToolTipsWindow;
class TSTDBGridEhFilter;
class TInplaceFilterEditEh;
class QHelpEvent;

// A tool tip due over a cut-off cell: its text, the cell, the font, the
// window's top-left on the screen and, with word wrap, its widest line.
struct TCellToolTipEh
{
    QString Text;
    QRect Area;
    QFont Font;
    QPoint Pos;
    TAlignment Alignment = taLeftJustify;
    int MaxWidth = 0;
};

enum class TDBGridOption {
    dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines,
    dgTabs, dgRowSelect, dgAlwaysShowSelection, dgConfirmDelete, dgCancelOnExit, dgMultiSelect
};
using enum TDBGridOption;
using TDBGridOptions = TSet<TDBGridOption>;

enum class TDBGridEhOption {
    dghFixed3D, dghFrozen3D, dghFooter3D, dghData3D, dghResizeWholeRightPart, dghHighlightFocus,
    dghClearSelection, dghFitRowHeightToText, dghAutoSortMarking, dghMultiSortMarking, dghEnterAsTab,
    dghTraceColSizing, dghIncSearch, dghPreferIncSearch, dghRowHighlight, dghDblClickOptimizeColWidth
};
using enum TDBGridEhOption;
using TDBGridEhOptions = TSet<TDBGridEhOption>;

// What happened to a component the grid refers to.
enum TOperation { opInsert, opRemove };

enum class TDBGridEhAllowedOperation { alopInsertEh, alopUpdateEh, alopDeleteEh, alopAppendEh };
using enum TDBGridEhAllowedOperation;
using TDBGridEhAllowedOperations = TSet<TDBGridEhAllowedOperation>;

enum class TDBGridEhSelectionType { gstNon, gstRecordBookmarks, gstRectangle, gstColumns, gstAll };
using enum TDBGridEhSelectionType;
using TDBGridEhAllowedSelections = TSet<TDBGridEhSelectionType>;

enum class TDBGridEhEditAction { geaCutEh, geaCopyEh, geaPasteEh, geaDeleteEh, geaSelectAllEh };
using enum TDBGridEhEditAction;
using TDBGridEhEditActions = TSet<TDBGridEhEditAction>;

// The grid's own cursors, registered with the screen the first time a grid is
// made: column selection over titles, record selection over the indicator.
constexpr TCursor crDownCurEh = 1001, crRightCurEh = 1002, crLeftCurEh = 1003;
// Makes the cursors once; raises EInvalidGridOperation "Cannot load cursor
// resource" when one cannot be made.
void LoadGridCursorsEh();

// Where a cell lies: the indicator or a data column, and which band of rows.
enum TDBGridEhRowArea { raTitle, raFilter, raData, raFiller, raFooter };
struct TDBGridEhCellType
{
    bool Indicator = false;
    int DataCol = 0;                 // raw column less the indicator column
    TDBGridEhRowArea Area = raFiller;
    int Index = 0;                   // row inside its band (footer index for footers)
};

// The tint of a selected cell: per channel half way from Background to
// Highlight, then lightened; Dark is the variant used over the highlight colour.
TColor BlendColorEh(TColor Background, TColor Highlight, bool Dark);

// Room a title leaves its caption beside the sort marker: the text's right
// edge (exclusive) and whether the marker glyph and the sort number still fit.
struct TSortMarkerRoomEh
{
    int Right = 0;
    bool Glyph = true;
    bool Number = false;
};
TSortMarkerRoomEh SortMarkerRoomEh(int Left, int Right, int ImageWidth, int NumberWidth, bool Numbered);

enum TScrollBarVisibleModeEh { sbAlwaysShowEh, sbNeverShowEh, sbAutoShowEh };

// What a scroll bar shows, in the classic terms (positions Min..Max-Page+1).
struct TScrollInfoEh
{
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;
    int TrackPos = 0;
};

// Settings of one of the grid's scroll bars. An external bar (ExtScrollBar)
// takes the place of the grid's own: the grid drives its range and hears its
// scroll actions as its own, and a bar serves one control only.
class TDBGridEhScrollBar
{
public:
    TDBGridEhScrollBar(TCustomDBGridEh* AGrid, TScrollBarKind AKind);
    virtual ~TDBGridEhScrollBar();
    TDBGridEhScrollBar(const TDBGridEhScrollBar&) = delete;
    TDBGridEhScrollBar& operator=(const TDBGridEhScrollBar&) = delete;

    TCustomDBGridEh* Grid() const { return FGrid; }
    TScrollBarKind Kind() const { return FKind; }
    TScrollBar* ExtScrollBar() const { return FExtScrollBar; }
    // Raises EInvalidGridOperation for a bar that already serves another control.
    void SetExtScrollBar(TScrollBar* Value);
    // Dragging the thumb moves the dataset at once, not only on release.
    bool Tracking() const { return FTracking; }
    void SetTracking(bool Value);
    TScrollBarVisibleModeEh VisibleMode() const { return FVisibleMode; }
    void SetVisibleMode(TScrollBarVisibleModeEh Value);
    bool Visible() const { return FVisibleMode != sbNeverShowEh; }
    void SetVisible(bool Value) { SetVisibleMode(Value ? sbAutoShowEh : sbNeverShowEh); }
    bool IsScrollBarShowing() const;
    // From the external bar when there is one, else from the grid's own.
    TScrollInfoEh ScrollInfo() const;

private:
    friend class TCustomDBGridEh;
    // The external bar is being destroyed: forget it without touching it.
    void ExtScrollBarRemoved();

    TCustomDBGridEh* FGrid;
    TScrollBarKind FKind;
    TScrollBar* FExtScrollBar = nullptr;
    QMetaObject::Connection FDestroyedLink;
    bool FTracking = false;
    TScrollBarVisibleModeEh FVisibleMode = sbAutoShowEh;
};

class TVertDBGridEhScrollBar : public TDBGridEhScrollBar
{
public:
    explicit TVertDBGridEhScrollBar(TCustomDBGridEh* AGrid) : TDBGridEhScrollBar(AGrid, sbVertical) {}
};

// The grid's link to its dataset: passes activation, data and layout changes on.
class TGridDataLinkEh : public TDataLink
{
public:
    explicit TGridDataLinkEh(TCustomDBGridEh* AGrid) : FGrid(AGrid) {}

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void LayoutChanged() override;
    void DataSetScrolled(int Distance) override;
    void RecordChanged(TField* Field) override;
    void EditingChanged() override;
    void FocusControl(TField** Field) override;
    // Writes the editor's pending text into the record, once, before the
    // dataset posts or leaves the record.
    void UpdateData() override;

public:
    // The editor holds text that the record does not have yet.
    bool Modified() const { return FModified; }
    void SetModified() { FModified = true; }
    // The editor's text belongs to a record that is gone or was reloaded.
    void ClearModified();
    // The field map: the dataset field index shown by each entry, -1 for a
    // name the dataset lacks. Built from the columns when they are the
    // grid's own, else from the visible fields.
    void BuildFieldMap();
    // Raises EInvalidGridOperation when the map is full; a missing field is
    // allowed (-1) only while the map is built from columns.
    void AddMapping(const QString& FieldName);
    void ClearMapping() { FFieldMap.clear(); }
    // Whether an unlinked grid may drop its default columns.
    bool DefaultFields() const;
    int MappedCount() const { return int(FFieldMap.size()); }
    TField* GetMappedField(int Index) const; // nullptr out of range or missing

private:
    TCustomDBGridEh* FGrid;
    std::vector<int> FFieldMap;
    bool FSparseMap = false;
    bool FModified = false;
    bool FInUpdateData = false;
};

// The grid's sum list: may work while the grid reads its settings only after.
class TDBGridEhSumList : public TDBSumListProducer
{
public:
    explicit TDBGridEhSumList(TCustomDBGridEh* AGrid);

protected:
    bool OwnerLoading() const override;

private:
    TCustomDBGridEh* FGrid;
};

class TCustomDBGridEh : public TCustomGrid, public TEditActionTarget, public IInplaceEditHolderEh
{
public:
    explicit TCustomDBGridEh(QWidget* AParent = nullptr);
    ~TCustomDBGridEh() override;

    // ---- owned parts
    TDBGridColumnsEh* Columns() const;
    TColumnEh* Columns(int Index) const;
    TDBGridEhColumnDefValuesEh* ColumnDefValues() const;
    TDBGridEhSumList* SumList() const { return FSumList.get(); }
    TGridDataLinkEh* DataLink() const { return FDataLink.get(); }
    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* Value);
    TFont* TitleFont() const { return FTitleFont.get(); }
    TFont* FooterFont() const { return FFooterFont.get(); }
    THeadTreeNode* HeadTree() const { return FHeadTree.get(); }
    // The title-tree leaf of each column, in column order.
    const std::vector<THeadTreeNode*>& LeafFieldArr() const { return FLeafFieldArr; }
    // Columns with a sort marker, in sort order.
    const std::vector<TColumnEh*>& SortMarkedColumns() const { return FSortMarkedColumns; }

    // ---- settings
    TDBGridOptions Options() const { return FOptions; }
    void SetOptions(TDBGridOptions Value);
    TDBGridEhOptions OptionsEh() const { return FOptionsEh; }
    void SetOptionsEh(TDBGridEhOptions Value);
    TDBGridEhAllowedOperations AllowedOperations() const { return FAllowedOperations; }
    void SetAllowedOperations(TDBGridEhAllowedOperations Value) { FAllowedOperations = Value; }
    bool AutoFitColWidths() const { return FAutoFitColWidths; }
    void SetAutoFitColWidths(bool Value);
    bool DrawMemoText() const { return FDrawMemoText; }
    void SetDrawMemoText(bool Value);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);
    TColor FooterColor() const { return FFooterColor; }
    void SetFooterColor(TColor Value);
    int FooterRowCount() const { return FFooterRowCount; }
    void SetFooterRowCount(int Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool UseMultiTitle() const { return FUseMultiTitle; }
    void SetUseMultiTitle(bool Value);
    int VTitleMargin() const { return FVTitleMargin; }
    void SetVTitleMargin(int Value);
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int Value);
    // Height of the title row, the height each title-tree leaf starts with.
    int TitleRowHeight() const;
    TImeMode ImeMode() const { return FImeMode; }
    void SetImeMode(TImeMode Value) { FImeMode = Value; }
    QString ImeName() const { return FImeName; }
    void SetImeName(const QString& Value) { FImeName = Value; }
    TDBGridEhAllowedSelections AllowedSelections() const { return FAllowedSelections; }
    // A selection of a kind no longer allowed is cleared.
    void SetAllowedSelections(TDBGridEhAllowedSelections Value);
    TDBGridEhEditActions EditActions() const { return FEditActions; }
    void SetEditActions(TDBGridEhEditActions Value) { FEditActions = Value; }
    // The grid takes its font from its parent; a change of TitleFont or
    // FooterFont outside loading turns it off.
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    // The grid takes its colour from its parent, and FooterColor with it;
    // setting FooterColor turns it off.
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    // Whether a scaling while loading includes the fonts (the form reader's
    // flag; outside loading fonts are always scaled).
    bool ScalingFonts() const { return FScalingFonts; }
    void SetScalingFonts(bool Value) { FScalingFonts = Value; }
    // In-cell edit buttons: width from Flat and the scroll bar, height fitted
    // to the data rows (computed by the layout pass).
    int ButtonWidth() const { return FButtonWidth; }
    int ButtonHeight() const { return FButtonHeight; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    TDBGridEhScrollBar* HorzScrollBar() const { return FHorzScrollBar.get(); }
    TVertDBGridEhScrollBar* VertScrollBar() const { return FVertScrollBar.get(); }
    // Images shown in titles instead of their captions (Title()->ImageIndex);
    // not owned: the grid lets go of a list that is destroyed.
    TImageList* TitleImages() const { return FTitleImages; }
    void SetTitleImages(TImageList* Value);
    // The title button that is held down: drawn sunken, its caption shifted.
    TColumnEh* PressedTitleColumn() const { return FTitleButtonDown ? FPressedTitleColumn : nullptr; }
    void SetPressedTitle(TColumnEh* Column, bool Down);

    // ---- layout
    void BeginLayout();
    void EndLayout();
    // The grid's update counter: while raised no layout pass runs and
    // selected cells are not highlighted. EndUpdate does not lay out.
    void BeginUpdate() { ++FUpdateLock; }
    void EndUpdate() { FUpdateLock = std::max(0, FUpdateLock - 1); }
    int UpdateLock() const { return FUpdateLock; }
    int LayoutLock() const { return FLayoutLock; }
    // Begins a layout level when neither counter is raised; False otherwise.
    bool AcquireLayoutLock();
    bool Loading() const { return FLoading; }
    void BeginLoading() { FLoading = true; }
    void Loaded();
    // True while the grid makes its default columns from the dataset's fields.
    bool LayingOutDefaultColumns() const { return FLayingOutDefaultColumns; }
    // Whether the grid has a window to lay out: it was shown or sized.
    bool HandleAllocated() const;
    // Default columns write widths into their fields' display widths (on by default).
    bool DefaultColumnsFollowFields() const { return FDefaultColumnsFollowFields; }
    void SetDefaultColumnsFollowFields(bool Value) { FDefaultColumnsFollowFields = Value; }
    virtual void LayoutChanged();
    // Asks for a layout pass later, from the event loop; only one request is
    // ever queued and every layout pass drops a queued one. Closes an open
    // layout level without running the pass.
    void DeferLayout();
    bool LayoutDeferred() const;
    // A component the grid refers to is going away: the grid lets go of it.
    // Fields are also watched on their own: deleting a field a column shows
    // re-lays out the grid.
    virtual void Notification(QObject* AComponent, TOperation Operation);
    // Called by a column that has bound Field, so that its removal is heard.
    void WatchField(TField* Field);
    // The grid hears of the component's destruction through Notification.
    void FreeNotification(QObject* AComponent);
    // Redraws the footer rows after their values changed.
    virtual void InvalidateFooter();

    // ---- sort markers (used by titles)
    void AddSortMarked(TColumnEh* Column);
    void RemoveSortMarked(TColumnEh* Column);
    void ClearSortMarked() { FSortMarkedColumns.clear(); }
    void SwapSortMarked(TColumnEh* A, TColumnEh* B);

    std::function<void(QObject* Sender)> OnSortMarkingChanged;
    std::function<void(QObject* Sender)> OnSumListRecalcAll;
    std::function<void(QObject* Sender)> OnSumListAfterRecalcAll;
    std::function<void(QObject* Sender, int FromIndex, int ToIndex)> OnColumnMoved;

    // ---- screen settings
    int FrozenCols() const { return FFrozenCols; }
    void SetFrozenCols(int Value);
    int RowHeight() const { return FRowHeight; }
    void SetRowHeight(int Value);
    int RowLines() const { return FRowLines; }
    void SetRowLines(int Value);
    int TitleHeight() const { return FTitleHeight; }
    void SetTitleHeight(int Value);
    int TitleLines() const { return FTitleLines; }
    void SetTitleLines(int Value);
    int MinAutoFitWidth() const { return FMinAutoFitWidth; }
    void SetMinAutoFitWidth(int Value);
    bool RowSizingAllowed() const { return FRowSizingAllowed; }
    void SetRowSizingAllowed(bool Value);
    // Scales fonts and column widths by M/D (a form moved to another screen
    // density); widths are scaled as running sums so rounding does not drift.
    virtual void ChangeScale(int M, int D);

    // ---- what the last layout pass computed
    int IndicatorOffset() const { return FIndicatorOffset; }
    // Rows above the first data row.
    int TitleRowCount() const;
    int TitleOffset() const { return TitleRowCount(); }
    int DataRowHeight() const { return FDataRowHeight; }
    // Data rows are taller than one line of text: cells word-wrap.
    bool MultiLineRows() const { return FMultiLineRows; }
    const std::vector<TColumnEh*>& VisibleColumns() const { return FVisibleColumns; }
    int VisibleDataRowCount() const;
    // Raises EInvalidGridOperation for a row that belongs to no band.
    TDBGridEhCellType GetCellType(int ACol, int ARow) const;
    QString GetFooterValueText(int FooterIndex, TColumnEh* Column) const;
    int SelectedIndex() const;
    TField* SelectedField() const;

    // ---- record window
    // The data link moved its window by Distance records: moves the painted
    // rows and repaints only the uncovered band and the indicator rows.
    void ScrollData(int Distance);
    // As many data rows as fit; the filler row keeps the footers at the bottom.
    virtual void UpdateRowHeights();
    void InvalidateCurrentIndicator();
    // The vertical bar follows the record number (from the sum list) or, for
    // a dataset without record numbers, a five-position scale; it hides when
    // all records fit unless its mode keeps it shown.
    virtual void UpdateVertScrollBar();
    // Drives an external horizontal bar on a 0..127 scale of the columns.
    virtual void UpdateHorzScrollBar();
    // Shared by all grids: selected cells beside the focused one are tinted
    // with the highlight colour rather than drawn in it (on by default).
    static bool ColorBlending();
    static void SetColorBlending(bool Value);

    std::function<void(QObject* Sender, TColumnEh* Column, TFont* AFont, TColor& Background, TGridDrawState State)>
        OnGetCellParams;
    std::function<void(QObject* Sender, int DataCol, int Row, TColumnEh* Column, TFont* AFont, TColor& Background,
                       TAlignment& Alignment, TGridDrawState State, QString& Text)>
        OnGetFooterParams;
    std::function<void(QObject* Sender, TColumnEh* Column, TFont* AFont, TColor& Background,
                       TSortMarkerEh& SortMarker, bool IsDown)>
        OnGetBtnParams;
    std::function<void(QObject* Sender, const QRect& Rect, int DataCol, TColumnEh* Column, TGridDrawState State)>
        OnDrawColumnCell;
    std::function<void(QObject* Sender, const QRect& Rect, TField* Field, TGridDrawState State)> OnDrawDataCell;
    std::function<void(QObject* Sender, int DataCol, int Row, TColumnEh* Column, const QRect& Rect,
                       TGridDrawState State)>
        OnDrawFooterCell;
    std::function<void(QObject* Sender)> OnColWidthsChanged;
    std::function<void(TColumnEh* Column)> OnTitleClick;
    std::function<void(QObject* Sender, int ACol, TColumnEh* Column)> OnTitleBtnClick;
    std::function<void(QObject* Sender)> OnEditButtonClick;
    std::function<void(QObject* Sender, int ACol, TColumnEh* Column, bool& Enabled)> OnCheckButton;
    std::function<void(QObject* Sender)> OnApplyFilter;
    std::function<void(TColumnEh* Column)> OnCellClick;
    std::function<void(QObject* Sender)> OnColEnter;
    std::function<void(QObject* Sender)> OnColExit;

    // Makes the data column Value current.
    void SetSelectedIndex(int Value);
    // The in-place editor's text the grid will store, and for a lookup
    // column the key chosen with it (Null for none).
    QString PendingEditText() const { return FEditText; }
    Variant EditKeyValue() const { return FEditKeyValue; }

    // ---- the standard edit actions (DBGridEhActions.cpp), each allowed by
    // EditActions and enabled by the grid's state
    bool UpdateEditAction(TEditActionKind Kind, bool& Enabled) override;
    bool ExecuteEditAction(TEditActionKind Kind) override;

    // ---- selection (DBGridEhSelection.cpp)
    TDBGridEhSelection* Selection() const { return FSelection.get(); }
    TBookmarkListEh* SelectedRows() const { return FBookmarks.get(); }
    // Remember and restore the first record in view and the current
    // record's distance from it, around a walk over the dataset.
    void SaveBookmark();
    void RestoreBookmark();
    // Repaints the selection's cells and the current row.
    void InvalidateSelection();

    // ---- input
    // Makes raw column RawCol current: pending edits are written first, a
    // Direction of +1 or -1 steps over hidden columns, OnColExit and
    // OnColEnter fire around the move; Select extends a rectangle selection.
    void MoveCol(int RawCol, int Direction, bool Select);
    // The last title click changed the sort markers with Ctrl held: the sort
    // waits for Ctrl's release or the loss of the focus.
    bool SortByCtrlPending() const { return FSortByCtrlPending; }
    // Cell area of the data rows, from the first data column to the last
    // column in view.
    QRect DataRect() const;
    // The smallest left column and top row that still show cell (ACol, ARow)
    // as the last one fully in view.
    TGridCoord MaxTopLeftFor(int ACol, int ARow) const;
    // Widens each column to its widest title, cell or footer text, reading
    // the whole dataset; the records on screen stay where they were.
    void FitColumnsToData(const std::vector<TColumnEh*>& ColumnsList);
    // Fits Column, and the selected columns with it.
    void FitColumnToData(TColumnEh* Column);
    // The sort list again from the titles' SortIndex.
    void RebuildSortMarkedColumns();
    // Ends every mouse drag without applying it.
    void CancelMode() override;

    // ---- filter row (DBGridEhFilterRow.cpp)
    TSTDBGridEhFilter* STFilter() const { return FSTFilter.get(); }
    // The filter editor (nullptr before its first use) and the data column
    // it was last shown in (-1 none; kept while it is hidden).
    TInplaceFilterEditEh* FilterEdit() const { return FFilterEdit; }
    int FilterCol() const { return FFilterCol; }
    // Raw row of the filter row: the last title row; -1 when not shown.
    int FilterRow() const;
    // The column exists, is visible and its filter cell is visible.
    bool FilterCellEditable(int DataCol) const;
    void ShowFilterEdit(int DataCol);
    void HideFilterEdit();
    void PlaceFilterEdit(bool SelectAll);
    // Stores the current filter cell's text and hands the filter to
    // OnApplyFilter (else the data service); a text that does not parse is
    // reported once and nothing is applied.
    void ApplyFilter();
    void MoveToFilterCell(bool Forward, bool FromEdge);
    // True while a filter is being applied: the grid paints nothing then.
    bool ApplyingFilter() const { return FApplyingFilter; }

protected:
    // Height added to the title row below the titles, for a row that stays
    // above the data (the lookup grid's special row); it paints it itself.
    virtual int ExtraTitleHeight() const { return 0; }
    // ---- painting
    void DrawCell(int ACol, int ARow, const QRect& ARect, TGridDrawState AState) override;
    void Paint() override;
    // Highlight colours of title, filler, footer and indicator cells; draws nothing.
    virtual bool HighlightNonDataCell(TFont* AFont, TColor& Background, bool IsSelected, TGridDrawState State,
                                      const TDBGridEhCellType& CellType);
    // Highlight colours of data cells; may add gdSelected; draws nothing.
    virtual bool HighlightDataCell(int DataCol, int DataRow, TFont* AFont, TColor& Background,
                                   TGridDrawState& State);
    virtual void GetCellParams(TColumnEh* Column, TFont* AFont, TColor& Background, TGridDrawState State);
    virtual void GetFooterParams(int DataCol, int Row, TColumnEh* Column, TFont* AFont, TColor& Background,
                                 TAlignment& Alignment, TGridDrawState State, QString& Text);
    virtual void DrawDataCell(const QRect& Rect, TField* Field, TGridDrawState State);
    virtual void DrawColumnCell(const QRect& Rect, int DataCol, TColumnEh* Column, TGridDrawState State);
    // Whether the grid or its in-place editor has the focus.
    virtual bool GridFocused() const;
    // The grid (or its in-place editor) is the focused control of its window.
    virtual bool IsActiveControl() const;
    // Whether a cell (raw coordinates; data cells and indicator rows are
    // asked with the painted record active) is selected, and whether any
    // selection exists.
    virtual bool IsCellSelected(int ACol, int ARow) const;
    virtual bool SelectionExists() const;
    // Incremental search is running (the current-row glyph turns yellow).
    virtual bool IncSearchRunning() const { return FIncSearching; }
    // ---- hooks the keys and the mouse reach; the selection and clipboard
    // ones live in DBGridEhSelection.cpp and DBGridEhActions.cpp, the
    // search ones in DBGridEhSearch.cpp, the filter row's in DBGridEhFilterRow.cpp.
    virtual TDBGridEhSelectionType SelectionType() const;
    virtual void ClearSelection();
    virtual void SelectAll();
    // Records selected (the delete confirmation's count).
    virtual int SelectedRowCount() const;
    virtual bool CurrentRowSelected() const;
    virtual void ToggleCurrentRowSelected();
    // Anchors a selection of Kind at the current cell when none exists, and
    // extends it to the current cell after a move.
    virtual void BeginExtendSelection(TDBGridEhSelectionType Kind);
    virtual void ExtendSelection(TDBGridEhSelectionType Kind);
    // A press on a data or indicator cell starts a drag selection; the kind
    // returned (records or rectangle) is dragged, gstNon starts none.
    virtual TDBGridEhSelectionType StartMouseSelection(TGridCoord Cell, TShiftState Shift);
    // Whether a press at (X, Y) on a title selects whole columns, and the
    // column selection by titles: a press and the drag over them.
    virtual bool ColumnSelectionPoint(int X, int Y) const;
    virtual void SelectColumnByTitle(TColumnEh* Column, TShiftState Shift);
    virtual void ExtendColumnSelection(TColumnEh* Column);
    virtual std::vector<TColumnEh*> SelectedColumns() const;
    virtual void DeleteSelectedRows();
    virtual bool CheckCopyAction() const;
    virtual bool CheckCutAction() const;
    virtual bool CheckPasteAction() const;
    virtual bool CheckDeleteAction() const;
    virtual bool CheckSelectAllAction() const;
    virtual void DoCopyAction();
    virtual void DoCutAction();
    virtual void DoPasteAction();
    virtual void DoDeleteAction();
    // Incremental search (DBGridEhSearch.cpp): Text is added to the search
    // text; Kind 0 searches from the first record, 1 forward, 2 backward;
    // TimeOut (ms, -1 none) of idling ends the search.
    virtual QString IncSearchText() const { return FIncSearchText; }
    virtual void IncrementalSearch(const QString& Text, int TimeOut, int Kind);
    virtual void EndIncrementalSearch();
    virtual void CopyValueFromRecordAbove();
    // Up on the first record (or with Ctrl) opens the filter row; True when it did.
    virtual bool EnterFilterRowByKey(TShiftState Shift);
    // Sorting: the owner's event, else the data service.
    virtual void SortMarkingChanged();
    virtual void DataServiceApplySorting();
    // Timer 1: scrolls while a drag selection is held outside the data rows.
    virtual void TimedScrollByMouse();
    // The link's current record changed.
    virtual void RecordChanged(TField* Field);
    bool IsFixed3DEdgeCell(const TDBGridEhCellType& Type, TGridDrawState State) const;
    TColor FixedLineColor() const override;
    TColor LineColor() const override;
    TColor GridLineColor(int ACol, int ARow) const override;
    bool TraceColSizing() const override;
    void ColSizingTracked(int Index, int Pos) override;
    // ---- base grid
    void ColWidthsChanged() override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void Resize() override;
    bool SelectCell(int ACol, int ARow) override;
    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void KeyUp(int& Key, TShiftState Shift) override;
    void DoExit() override;
    // Focus and input method (DBGridEhActions.cpp): the current column's
    // ImeMode switches the input method; composed text typed on a cell
    // opens the in-place editor and goes into it.
    void DoEnter() override;
    void inputMethodEvent(QInputMethodEvent* Event) override;
    // Window events: the keys the grid takes before the window's shortcuts,
    // font and colour changes of the parent and of the system.
    bool event(QEvent* Event) override;
    bool WantsKey(const QKeyEvent* Event) const;
    void ParentFontChanged();
    void ParentColorChanged();
    // The grid's own font changed: columns without a font of their own follow.
    void GridFontChanged();
    void ApplyImeMode();
    // Leaving the grid drops an untouched inserted record (dgCancelOnExit)
    // and writes pending text back.
    void CancelOnExit();
    // ---- scrolling (the vertical bar moves the dataset, not the rows)
    void WMVScroll(TScrollCode Code, int Pos) override;
    void WMHScroll(TScrollCode Code, int Pos) override;
    void Scroll(TScrollBarKind Kind, int Position) override;
    void UpdateScrollRange() override;
    void TopLeftChanged() override;
    bool MouseWheel(TShiftState Shift, int WheelDelta, int X, int Y) override;
    void TimedScroll(TGridScrollDirections Direction) override;
    // ---- in-place editor
    QLineEdit* CreateEditor() override;
    bool CanEditShow() const override;
    bool CanEditModify() const override;
    bool CanEditAcceptKey(QChar Key) const override;
    int GetEditLimit() override;
    QString GetEditMask(int ACol) override;
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString& Value) override;
    void EditorTextEdited() override;
    void EditorTextReverted() override;
    // Takes the focus for a mouse press or a field's focus request; False
    // when neither the grid nor its editor got it.
    virtual bool AcquireFocus();
    // Focuses the grid, closing the filter row's editor first.
    virtual void HideFilterEditThenBase();
    // The filter row's editor is in use.
    virtual bool FilterEditing() const { return FFilterEditInUse; }
    // ---- filter row: the editor's factory (owned by the grid as its child),
    // whether it may show now, moving text between it and a column.
    virtual TInplaceFilterEditEh* CreateFilterEdit();
    virtual bool IsFilterEditUsable() const;
    // Raises the parser's error when the text does not parse.
    virtual void StoreFilterText(int DataCol);
    virtual void LoadFilterEdit(int DataCol);
    virtual void DataServiceApplyFilter();
    // A record's field (nullptr: the whole record) changed.
    virtual void DataChanged(TField* Field);
    // The dataset entered or left edit state.
    virtual void EditingChanged();
    // Writes the pending edit text into the current column's field.
    virtual void UpdateData();
    void ColExit() override;
    void ColEnter() override;
    virtual void CellClick(TColumnEh* Column);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    friend class TGridDataLinkEh;
    friend class TDBGridColumnsEh;
    friend class TDBGridInplaceEdit;
    friend class TDBGridEhSelection;
    friend class TDBGridEhScrollBar;
    friend class TInplaceFilterEditEh;
    friend class TSTDBGridEhFilter;
    // Factories, so that a descendant grid can make its own parts.
    virtual std::unique_ptr<TDBGridColumnsEh> CreateColumns();
    virtual std::unique_ptr<TDBGridEhColumnDefValuesEh> CreateColumnDefValues();
    virtual void LinkActive(bool Value);
    virtual void DataChanged();
    // The dataset changed as a whole: rows, vertical bar, record position, repaint.
    virtual void LayoutChangedRedraw();
    // Relays for the mouse and edit-button code: fire their events.
    virtual void TitleClick(TColumnEh* Column);
    virtual void TitleBtnClick(int ACol, TColumnEh* Column);
    virtual void EditButtonClick();
    // Whether the title button of data column ACol may be pressed.
    virtual void CheckTitleEhButton(int ACol, bool& Enabled);
    // The dataset's fields or their display settings changed.
    virtual void LinkLayoutChanged();
    // The column collection changed (Item nullptr: all of it).
    virtual void ColumnsChanged(TColumnEh* Item);
    void SumListChanged();

private:
    void LayoutScreen();
    void ApplyGridOptions();
    void LayoutColumns();
    void LayoutRowHeight();
    void LayoutTitles();
    void LayoutTitleTree();
    int MeasureHeadTree(int MinLeafHeight);
    void AutoFitColumns();
    void ApplyColumnWidths();
    void SyncCurrentCell();
    int RowStep() const;
    int TextPad() const;
    QRect FullRowRect(int ARow) const;
    // The editor's text for a cell, passed through the column's cell parameters.
    QString ColumnEditText(int DataCol);
    // The record under the editor changed while the window stayed: reload it.
    void RefreshEditor();
    bool ClassifyCell(int ACol, int ARow, TDBGridEhCellType& Type) const;
    void PaintTitleGroups();
    void DrawTitleCell(TColumnEh* Column, const QRect& R, int DX, int DY);
    void DrawTitleContent(TColumnEh* Column, const QRect& R, QRect TextRect, int DX, int DY, int Press,
                          int ImageWidth);
    void DrawTitleParents(int DataCol, const QRect& CellRect, std::vector<const THeadTreeNode*>& Painted);
    void DrawDataCellEh(int ACol, int ARow, int DataCol, TColumnEh* Column, const QRect& R, TGridDrawState State,
                        int DX, int DY);
    void DrawDataCellContent(TColumnEh* Column, TColumnEhType Kind, const QRect& R, int DX, int DY);
    void DrawFooterCellEh(int DataCol, int FooterIndex, TColumnEh* Column, const QRect& R, TGridDrawState State,
                          int DX, int DY);
    void DrawIndicatorCell(int ARow, const QRect& R, const TDBGridEhCellType& Type, int DX);
    void InternalLayout();
    void RunLayoutPass();
    void RebuildSortMarked();
    void LayoutDefaultColumns();
    void FreeMixedDefaultColumns();
    void ApplyUserWidths();
    void UpdateButtonMetrics();
    void ScaleColumns(int M, int D);
    void ScaleControl(int M, int D, bool Fonts);
    void FieldDestroyed(QObject* Field);
    void FieldRemoved(bool AnyUnbound);
    void ThumbReleased(int Pos);
    bool PopupColumnMenu(int X, int Y);
    // Input (DBGridEhInput.cpp).
    bool KeyWithoutCtrl(int Key, TShiftState Shift);
    bool KeyWithCtrl(int Key, TShiftState Shift);
    void PasteKey();
    void CtrlDeleteKey();
    void DeleteCurrentRecords();
    bool EscapeKey();
    void MoveRows(int Distance, bool Select);
    void MoveRowsTo(bool Last, bool Select);
    void NextRow(bool Select);
    void PriorRow(bool Select);
    void Tab(bool Forward);
    bool ColumnTabStop(int RawCol) const;
    TColumnEh* DataColumn(int RawCol) const;
    bool CheckKindColumn(int RawCol) const;
    bool StartsIncSearch() const;
    // Typed text (a key's whole text, or an input method's commit) that runs
    // or starts incremental search goes there whole; True when it did.
    bool SearchTyped(const QString& Text);
    bool InLeafTitle(int RawCol, int Y) const;
    // The point lies on the button part of the title of raw column RawCol.
    bool OverTitle(int RawCol, int X, int Y) const;
    void DataPress(TGridCoord Cell, TShiftState Shift);
    // Buttons shown in every cell (DBGridEhInplaceEdit.cpp): a press on one
    // is the press of the editor's button there, and so is the release.
    bool InCellButtons(TGridCoord Cell, QPoint P) const;
    void PressEditorButton(QPoint P);
    void ReleaseEditorButton(int X, int Y);
    void TitleButtonReleased(TShiftState Shift, int X, int Y);
    void ClicksOnRelease(TMouseButton Button, TShiftState Shift, int X, int Y);
    void DrawOwnSizingLine();
    void EndOwnSizing(bool Apply);
    void ApplySizedRow();
    // Direction and distance of a point outside DataRect; False inside it.
    bool ScrollDistance(QPoint P, int& DirX, int& DirY, int& Distance, int& DistX) const;
    void StartScrollByMouse();
    void StopScrollByMouse();
    void SetScrollInterval(int Interval);
    int TitleWidth(TColumnEh* Column, TCanvas* C);
    int CellWidth(TColumnEh* Column, TCanvas* C);
    int FooterWidth(TColumnEh* Column, TCanvas* C);
    void ComponentDestroyed(QObject* AComponent);
    // Updates the vertical bar; when that showed or hid it under auto-fit
    // the widths are laid out again later.
    void UpdateVertScrollBarFit();
    // Shows the own horizontal bar when it is wanted and columns are cut off;
    // True when that changed.
    bool UpdateOwnHorzBar();

    mutable std::unique_ptr<TDBGridColumnsEh> FColumns;
    mutable std::unique_ptr<TDBGridEhColumnDefValuesEh> FColumnDefValues;
    std::unique_ptr<TGridDataLinkEh> FDataLink;
    std::unique_ptr<TPostedCall> FDeferredLayout;
    TImageList* FTitleImages = nullptr;
    TColumnEh* FPressedTitleColumn = nullptr;
    bool FTitleButtonDown = false;
    std::vector<const QObject*> FWatchedFields; // identity only, never dereferenced
    bool FClosingLayoutLevel = false;
    std::unique_ptr<TDBGridEhSumList> FSumList;
    std::unique_ptr<TDBGridEhScrollBar> FHorzScrollBar;
    std::unique_ptr<TVertDBGridEhScrollBar> FVertScrollBar;
    TScrollBarVisibleModeEh FAppliedVisibleMode = sbAutoShowEh;
    bool FVisibleModeApplied = false;
    bool FThumbTracked = false;
    std::unique_ptr<TFont> FTitleFont;
    std::unique_ptr<TFont> FFooterFont;
    std::unique_ptr<THeadTreeNode> FHeadTree;
    std::vector<THeadTreeNode*> FLeafFieldArr;
    std::vector<TColumnEh*> FSortMarkedColumns;
    TDBGridOptions FOptions;
    TDBGridEhOptions FOptionsEh;
    TDBGridEhAllowedOperations FAllowedOperations;
    TColor FFixedColor;
    TColor FFooterColor;
    TImeMode FImeMode;
    QString FImeName;
    TDBGridEhAllowedSelections FAllowedSelections;
    TDBGridEhEditActions FEditActions;
    bool FParentFont = true;
    bool FParentColor = false;
    bool FInParentFontChange = false;
    bool FScalingFonts = true;
    int FButtonWidth = 0;
    int FButtonHeight = 0;
    int FFooterRowCount = 0;
    int FVTitleMargin = 10;
    int FDefaultColWidth = 64;
    int FLayoutLock = 0;
    bool FAutoFitColWidths = false;
    bool FDrawMemoText = false;
    bool FReadOnly = false;
    bool FUseMultiTitle = false;
    bool FFlat = false;
    bool FLoading = false;
    bool FLayingOutDefaultColumns = false;
    bool FDefaultColumnsFollowFields = true;
    bool FInLayout = false;
    bool FDestroying = false;
    // Screen side: settings and what the layout pass computed.
    TColCellParamsEh FCellParams;
    std::vector<TColumnEh*> FVisibleColumns;
    int FFrozenCols = 0;
    int FRowHeight = 0;
    int FRowLines = 0;
    int FTitleHeight = 0;
    int FTitleLines = 0;
    int FMinAutoFitWidth = 0;
    int FIndicatorOffset = 1;
    int FDataRowHeight = 18;
    int FTitleRowHeight = 0;
    int FDataRowCount = 1;
    int FIndicatorRow = -1;      // raw row that last carried the current-row glyph
    int FUpdateLock = 0;
    bool FRowSizingAllowed = false;
    bool FMultiLineRows = false;
    bool FSettingWidths = false;
    // The in-place editor's side: the text the editor holds for the current
    // cell, and the key value behind a lookup column's text.
    QString FEditText;
    Variant FEditKeyValue;
    std::unique_ptr<TBookmarkListEh> FBookmarks;
    std::unique_ptr<TDBGridEhSelection> FSelection;
    TBookmark FSavedTopRow;
    int FSavedDistance = 0;
    // Input state: the check-box cell of the last left press, the press
    // point, the mouse mode (0 none, 1 a press on data cells held, 2 columns
    // selected over titles, 3 a rectangle dragged, 6 the grid's own column
    // sizing) and the drag selection running.
    TGridCoord FMouseDownCell{-1, -1};
    QPoint FMouseDownPoint;
    QPoint FLastMousePoint;
    int FGridMode = 0;
    TDBGridEhSelectionType FDragSelection = gstNon;
    bool FDoublePress = false;
    bool FKeepSelection = false;
    bool FSortByCtrlPending = false;
    bool FSelectionClickPending = false;
    bool FInColExit = false;
    bool FInMoveCol = false;
    bool FTopAtFirstDataRow = true;
    int FOwnSizingIndex = -1;
    int FOwnSizingPos = 0;
    int FOwnSizingOfs = 0;
    std::unique_ptr<TTimer> FScrollTimer;
    int FScrollInterval = -1;
    QPointer<QWidget> FPressedEditorButton;

    // Tool tips of cut-off cells and the cursor under the pointer.
    std::unique_ptr<TToolTipsWindow> FToolTipsWindow;
    void HoverChanged(TShiftState Shift, int X, int Y);
    bool TitleHintEvent(QHelpEvent* Event);
    // Incremental search and its timer 2.
    bool FIncSearching = false;
    QString FIncSearchText;
    std::unique_ptr<TTimer> FIncSearchTimer;
    void DrawIncSearchText(const QRect& R, int DX, int DY, bool WordWrap);
    // Filter row (DBGridEhFilterRow.cpp).
    std::unique_ptr<TSTDBGridEhFilter> FSTFilter;
    TInplaceFilterEditEh* FFilterEdit = nullptr; // child widget of the grid
    int FFilterCol = -1;
    int FFilterRowHeight = 0;
    bool FFilterEditInUse = false;
    bool FApplyingFilter = false;
    bool FFilterPressPassed = false;
    bool FLoadingFilterEdit = false;
    QPoint FFilterMousePos;
    // The last text whose parse error was shown on leaving, so one bad text
    // is reported once.
    QString FFilterErrorShown;
    // The cell's text when its edit began: a text that does not parse puts
    // it back, rather than whatever prefix of the typing parsed last.
    int FFilterStartCol = -1;
    QString FFilterStartText;
    void RestoreFilterStartText(int DataCol);
    bool FilterMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    // A press passed to the filter editor: its moves and release follow it.
    bool FilterMouseFollow(bool Release, int X, int Y);
    void DrawFilterCell(TColumnEh* Column, const QRect& ARect);
    void SendFilterEditMouse(int Type, int Buttons, int X, int Y);
    void FilterTextChanged();
    // Stores the cell's text; a parse error is shown (when Always, or for a
    // text not reported yet) and False returned.
    bool StoreFilterTextReporting(int DataCol, bool Always);
    void ApplyFilterEditLook();
    void FilterKeyDown(int& Key, TShiftState Shift);
    // The filter editor edits only while its cell can take a filter; it
    // takes Tab with dgTabs.
    bool InplaceEditCanModify(const TCustomDBEditEh* Edit) const override;
    bool InplaceEditWantTabs(const TCustomDBEditEh* Edit) const override;

public:
    // The cursor the pointer gets at (X, Y).
    TCursor CursorAt(int X, int Y) const;
    // The tool tip of a cut-off cell at (X, Y): False when none is due.
    bool CellToolTip(int X, int Y, TCellToolTipEh& Tip);
    // The window showing the last tool tip (nullptr before the first).
    TToolTipsWindow* ToolTipsWindow() const { return FToolTipsWindow.get(); }
    // Timer 2, ending an incremental search (nullptr before the first search).
    TTimer* IncSearchTimer() const { return FIncSearchTimer.get(); }
    // Timer 1 of the drag scrolling (exposed so a test can fire it), and the
    // last interval it was started with (-1 before the first).
    TTimer* ScrollByMouseTimer() const { return FScrollTimer.get(); }
    int ScrollByMouseInterval() const { return FScrollInterval; }
    int GridMode() const { return FGridMode; }
};

// A tool tip with the full text of a cell: the cell's font, always in the
// window-text colour.
class TToolTipsWindow : public QLabel
{
public:
    TToolTipsWindow();
    void ActivateHint(const TCellToolTipEh& Tip);
};

class TDBGridEh : public TCustomDBGridEh
{
public:
    using TCustomDBGridEh::TCustomDBGridEh;
};
