// The data-aware grid: what it owns (columns, default values, the data link,
// the sum list, the title tree, the sort list) and its settings. This unit is
// the model side of the grid; drawing, keys, mouse, scrolling and editing build
// on it elsewhere and call LayoutChanged after a change of the model.
#pragma once

#include "grid/DBGridEhColumns.h"
#include "grid/DBSumLst.h"
#include "platform/db/DataLink.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Sets.h"

#include <functional>
#include <memory>
#include <vector>

class TDataSource;
class THeadTreeNode;

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

enum class TDBGridEhAllowedOperation { alopInsertEh, alopUpdateEh, alopDeleteEh, alopAppendEh };
using enum TDBGridEhAllowedOperation;
using TDBGridEhAllowedOperations = TSet<TDBGridEhAllowedOperation>;

// The grid's link to its dataset: passes activation, data and layout changes on.
class TGridDataLinkEh : public TDataLink
{
public:
    explicit TGridDataLinkEh(TCustomDBGridEh* AGrid) : FGrid(AGrid) {}

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void LayoutChanged() override;

private:
    TCustomDBGridEh* FGrid;
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

class TCustomDBGridEh : public TCustomControl
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
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);

    // ---- layout
    void BeginLayout();
    void EndLayout();
    bool Loading() const { return FLoading; }
    void BeginLoading() { FLoading = true; }
    void Loaded();
    // True while the grid makes its default columns from the dataset's fields.
    bool LayingOutDefaultColumns() const { return FLayingOutDefaultColumns; }
    // Default columns write widths into their fields' display widths (on by default).
    bool DefaultColumnsFollowFields() const { return FDefaultColumnsFollowFields; }
    void SetDefaultColumnsFollowFields(bool Value) { FDefaultColumnsFollowFields = Value; }
    virtual void LayoutChanged();
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

protected:
    friend class TGridDataLinkEh;
    friend class TDBGridColumnsEh;
    // Factories, so that a descendant grid can make its own parts.
    virtual std::unique_ptr<TDBGridColumnsEh> CreateColumns();
    virtual std::unique_ptr<TDBGridEhColumnDefValuesEh> CreateColumnDefValues();
    virtual void LinkActive(bool Value);
    virtual void DataChanged();
    // The dataset's fields or their display settings changed.
    virtual void LinkLayoutChanged();
    // The column collection changed (Item nullptr: all of it).
    virtual void ColumnsChanged(TColumnEh* Item);
    // Rebuilds the default columns from the dataset's visible fields.
    void MakeDefaultColumns();
    void SumListChanged();

private:
    void InternalLayout();

    mutable std::unique_ptr<TDBGridColumnsEh> FColumns;
    mutable std::unique_ptr<TDBGridEhColumnDefValuesEh> FColumnDefValues;
    std::unique_ptr<TGridDataLinkEh> FDataLink;
    std::unique_ptr<TDBGridEhSumList> FSumList;
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
};

class TDBGridEh : public TCustomDBGridEh
{
public:
    using TCustomDBGridEh::TCustomDBGridEh;
};
