#include "grid/DBGridEh.h"

#include "grid/DBGridEhColumns.h"
#include "grid/DBGridEhDropDownBox.h"
#include "grid/DBGridEhDraw.h"
#include "grid/DBGridEhFilter.h"
#include "grid/DBGridEhSelection.h"
#include "grid/DBGridEhTitles.h"
#include "grid/PropFilerEh.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Screen.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/SystemMetrics.h"
#include "platform/rtl/SysUtils.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPixmap>
#include <QScopedValueRollback>
#include <algorithm>

// ---------------------------------------------------------------- shared resources

namespace {

constexpr int CursorSize = 16;
constexpr TColor CursorMask = 0x808000;

// A solid arrow, drawn by our own hand like the other grid glyphs: black with
// a white edge so that it shows over titles and the indicator alike.
QCursor MakeArrowCursor(const std::vector<QPoint>& Shape, QPoint HotSpot)
{
    TBitmap B(CursorSize, CursorSize);
    TCanvas* C = B.Canvas();
    C->Brush()->SetColor(CursorMask);
    C->FillRect(QRect(0, 0, CursorSize, CursorSize));
    C->Brush()->SetColor(clBlack);
    C->Pen()->SetColor(clWhite);
    C->Polygon(Shape);
    QImage Image = B.Image().convertToFormat(QImage::Format_ARGB32);
    const QRgb Mask = qRgb(CursorMask & 0xFF, (CursorMask >> 8) & 0xFF, (CursorMask >> 16) & 0xFF);
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            if ((Image.pixel(x, y) & 0xFFFFFF) == (Mask & 0xFFFFFF))
                Image.setPixel(x, y, qRgba(0, 0, 0, 0));
    const QPixmap Pixmap = QPixmap::fromImage(Image);
    if (Pixmap.isNull())
        throw EInvalidGridOperation(QStringLiteral("Cannot load cursor resource"));
    return QCursor(Pixmap, HotSpot.x(), HotSpot.y());
}

} // namespace

void LoadGridCursorsEh()
{
    static bool Loaded = false;
    if (Loaded)
        return;
    // "DOWNCUREH": over titles, selects whole columns.
    Screen()->SetCursors(crDownCurEh, MakeArrowCursor({{5, 0}, {10, 0}, {10, 8}, {14, 8}, {7, 15}, {1, 8}, {5, 8}},
                                                      QPoint(7, 15)));
    // "RIGHTCUREH" and "LEFTCUREH": over the indicator, select records.
    Screen()->SetCursors(crRightCurEh, MakeArrowCursor({{0, 5}, {8, 5}, {8, 1}, {15, 7}, {8, 14}, {8, 10}, {0, 10}},
                                                       QPoint(15, 7)));
    Screen()->SetCursors(crLeftCurEh, MakeArrowCursor({{15, 5}, {7, 5}, {7, 1}, {0, 7}, {7, 14}, {7, 10}, {15, 10}},
                                                      QPoint(0, 7)));
    Loaded = true;
}

// ---------------------------------------------------------------- sum list

TDBGridEhSumList::TDBGridEhSumList(TCustomDBGridEh* AGrid) : TDBSumListProducer(AGrid), FGrid(AGrid) {}

bool TDBGridEhSumList::OwnerLoading() const
{
    return FGrid->Loading();
}

// ---------------------------------------------------------------- grid

TCustomDBGridEh::TCustomDBGridEh(QWidget* AParent)
    : TCustomGrid(AParent),
      FOptions({dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
                dgConfirmDelete, dgCancelOnExit}),
      FOptionsEh({dghFixed3D, dghHighlightFocus, dghClearSelection}),
      FAllowedOperations({alopInsertEh, alopUpdateEh, alopDeleteEh, alopAppendEh}),
      FFixedColor(clBtnFace),
      FFooterColor(clWindow),
      FImeMode(imDontCare),
      FAllowedSelections({gstRecordBookmarks, gstRectangle, gstColumns, gstAll})
{
    RegisterGridInterceptors();
    LoadGridCursorsEh();
    AcquireDrawBitmapEh();
    SetColor(clWindow);
    SetColCount(2);
    SetRowCount(2);
    // The painter sets up and fills every cell in its own fonts and colours.
    SetPrepareCells(false);
    FDataLink = std::make_unique<TGridDataLinkEh>(this);
    FDeferredLayout = std::make_unique<TPostedCall>([this] { LayoutChanged(); });
    FTitleFont = std::make_unique<TFont>();
    FTitleFont->OnChange = [this](TFont*) {
        if (!FLoading && !FInParentFontChange)
            FParentFont = false;
        if (FOptions.Contains(dgTitles))
            LayoutChanged();
    };
    FHeadTree = std::make_unique<THeadTreeNode>(QStringLiteral("Root"), 10, 0);
    FSumList = std::make_unique<TDBGridEhSumList>(this);
    FSumList->SumListChanged = [this](TDBSumListProducer*) { SumListChanged(); };
    FSumList->OnRecalcAll = [this](TDBSumListProducer*) {
        if (OnSumListRecalcAll)
            OnSumListRecalcAll(this);
    };
    FSumList->OnAfterRecalcAll = [this](TDBSumListProducer*) {
        if (OnSumListAfterRecalcAll)
            OnSumListAfterRecalcAll(this);
    };
    FHorzScrollBar = std::make_unique<TDBGridEhScrollBar>(this, sbHorizontal);
    FVertScrollBar = std::make_unique<TVertDBGridEhScrollBar>(this);
    // Both own bars exist from the start, hidden until there is something
    // to scroll.
    SetScrollBars(ssBoth);
    SetScrollBars(ssNone);
    FHorzScrollBar->SetTracking(FHorzScrollBar->Tracking());
    FBookmarks = std::make_unique<TBookmarkListEh>(this);
    FSelection = std::make_unique<TDBGridEhSelection>(this);
    FFooterFont = std::make_unique<TFont>();
    FFooterFont->OnChange = [this](TFont*) {
        if (!FLoading && !FInParentFontChange)
            FParentFont = false;
        if (FFooterRowCount >= 1)
            LayoutChanged();
    };
    Font()->OnChange = [this](TFont*) { GridFontChanged(); };
    FSTFilter = std::make_unique<TSTDBGridEhFilter>(this);
}

TCustomDBGridEh::~TCustomDBGridEh()
{
    ReleaseDrawBitmapEh();
    FDestroying = true;
    // The editor goes while the grid is whole: closing the window later
    // would send it focus and hide events that ask the grid.
    delete InplaceEditor();
    delete FFilterEdit;
    FFilterEdit = nullptr;
    FDeferredLayout->Cancel();
    if (FTitleImages)
        FTitleImages->UnRegisterChanges(this);
    FHorzScrollBar.reset();
    FVertScrollBar.reset();
    FDataLink->SetDataSource(nullptr);
    FDataLink.reset();
    // Columns before the sum list: their footers give their sums back to it.
    FLoading = true;
    FColumns.reset();
    FLeafFieldArr.clear();
    FHeadTree.reset();
    FSumList.reset();
}

std::unique_ptr<TDBGridColumnsEh> TCustomDBGridEh::CreateColumns()
{
    return std::make_unique<TDBGridColumnsEh>(this);
}

std::unique_ptr<TDBGridEhColumnDefValuesEh> TCustomDBGridEh::CreateColumnDefValues()
{
    return std::make_unique<TDBGridEhColumnDefValuesEh>(this);
}

// Made on first use rather than in the constructor, so that a descendant
// grid's factories are the ones called.
TDBGridColumnsEh* TCustomDBGridEh::Columns() const
{
    if (!FColumns && !FDestroying)
        FColumns = const_cast<TCustomDBGridEh*>(this)->CreateColumns();
    return FColumns.get();
}

TDBGridEhColumnDefValuesEh* TCustomDBGridEh::ColumnDefValues() const
{
    if (!FColumnDefValues)
        FColumnDefValues = const_cast<TCustomDBGridEh*>(this)->CreateColumnDefValues();
    return FColumnDefValues.get();
}

TColumnEh* TCustomDBGridEh::Columns(int Index) const
{
    return Columns()->Items(Index);
}

TDataSource* TCustomDBGridEh::DataSource() const
{
    return FDataLink->DataSource();
}

void TCustomDBGridEh::SetDataSource(TDataSource* Value)
{
    if (Value == DataSource())
        return;
    ClearSelection();
    FDataLink->SetDataSource(Value);
    LinkActive(FDataLink->Active());
}

// ---- settings

void TCustomDBGridEh::SetOptions(TDBGridOptions Value)
{
    // A grid that selects whole rows edits no cell.
    if (Value.Contains(dgRowSelect))
        Value = Value - TDBGridOptions({dgEditing, dgAlwaysShowEditor});
    if (Value == FOptions)
        return;
    const bool DropsMultiSelect = FOptions.Contains(dgMultiSelect) && !Value.Contains(dgMultiSelect);
    FOptions = Value;
    if (DropsMultiSelect)
        ClearSelection();
    LayoutChanged();
    if (EditorMode())
        ShowEditor();
}

void TCustomDBGridEh::SetOptionsEh(TDBGridEhOptions Value)
{
    if (Value == FOptionsEh)
        return;
    // Without multiple sorting only the first sorted column keeps its marker;
    // the others are cleared while the list still numbers them.
    if (FOptionsEh.Contains(dghMultiSortMarking) && !Value.Contains(dghMultiSortMarking)
        && FSortMarkedColumns.size() > 1) {
        const std::vector<TColumnEh*> Others(FSortMarkedColumns.begin() + 1, FSortMarkedColumns.end());
        for (TColumnEh* C : Others)
            C->Title()->SetSortMarker(smNoneEh);
    }
    FOptionsEh = Value;
    LayoutChanged();
}

void TCustomDBGridEh::SetAutoFitColWidths(bool Value)
{
    if (Value == FAutoFitColWidths)
        return;
    FAutoFitColWidths = Value;
    // The widths set so far become the shares of auto-fit, and come back
    // when it is switched off again.
    if (!FLoading) {
        Columns()->BeginUpdate();
        for (int i = 0; i < Columns()->Count(); ++i) {
            TColumnEh* C = Columns()->Items(i);
            if (Value)
                C->SetLayoutWidth(C->Width());
            else if (C->LayoutWidth() > 0)
                C->SetWidth(C->LayoutWidth());
        }
        Columns()->EndUpdate();
    }
    LayoutChanged();
}

void TCustomDBGridEh::SetDrawMemoText(bool Value)
{
    if (Value == FDrawMemoText)
        return;
    FDrawMemoText = Value;
    Invalidate();
}

void TCustomDBGridEh::SetFixedColor(TColor Value)
{
    if (Value == FFixedColor)
        return;
    FFixedColor = Value;
    TCustomGrid::SetFixedColor(Value);
    Invalidate();
}

void TCustomDBGridEh::SetFooterColor(TColor Value)
{
    if (Value == FFooterColor)
        return;
    FFooterColor = Value;
    FParentColor = false;
    InvalidateFooter();
}

void TCustomDBGridEh::SetFooterRowCount(int Value)
{
    Value = std::max(0, Value);
    if (Value == FFooterRowCount)
        return;
    FFooterRowCount = Value;
    LayoutChanged();
}

void TCustomDBGridEh::SetReadOnly(bool Value)
{
    if (Value == FReadOnly)
        return;
    FReadOnly = Value;
    Invalidate();
}

void TCustomDBGridEh::SetUseMultiTitle(bool Value)
{
    if (Value == FUseMultiTitle)
        return;
    FUseMultiTitle = Value;
    LayoutChanged();
}

void TCustomDBGridEh::SetVTitleMargin(int Value)
{
    if (Value == FVTitleMargin)
        return;
    FVTitleMargin = Value;
    LayoutChanged();
}

void TCustomDBGridEh::SetDefaultColWidth(int Value)
{
    if (Value == FDefaultColWidth)
        return;
    FDefaultColWidth = Value;
    LayoutChanged();
}

void TCustomDBGridEh::SetFlat(bool Value)
{
    if (Value == FFlat)
        return;
    FFlat = Value;
    LayoutChanged();
}

void TCustomDBGridEh::SetTitleImages(TImageList* Value)
{
    if (Value == FTitleImages)
        return;
    if (FTitleImages)
        FTitleImages->UnRegisterChanges(this);
    FTitleImages = Value;
    if (Value) {
        Value->RegisterChanges(this, [this] { Invalidate(); });
        FreeNotification(Value);
    }
    Invalidate();
}

void TCustomDBGridEh::SetPressedTitle(TColumnEh* Column, bool Down)
{
    if (Column == FPressedTitleColumn && Down == FTitleButtonDown)
        return;
    auto InvalidateTitle = [this](TColumnEh* C) {
        if (C && Options().Contains(dgTitles) && C->Index() + FIndicatorOffset < ColCount())
            InvalidateCell(C->Index() + FIndicatorOffset, 0);
    };
    InvalidateTitle(PressedTitleColumn());
    FPressedTitleColumn = Column;
    FTitleButtonDown = Down && Column;
    InvalidateTitle(PressedTitleColumn());
}

// ---- layout

void TCustomDBGridEh::BeginLayout()
{
    if (FLayoutLock++ == 0)
        Columns()->BeginUpdate();
}

// The pass runs while the outermost level is still held, so that the widths
// and columns it sets neither start another pass nor reach ColWidthsChanged;
// the columns' own notification at the end of the update is then covered too.
void TCustomDBGridEh::EndLayout()
{
    if (FLayoutLock == 0)
        return;
    if (FLayoutLock == 1) {
        try {
            RunLayoutPass();
        } catch (...) {
            Columns()->EndUpdate();
            --FLayoutLock;
            throw;
        }
        Columns()->EndUpdate();
    }
    --FLayoutLock;
}

bool TCustomDBGridEh::AcquireLayoutLock()
{
    if (FLayoutLock > 0 || FUpdateLock > 0)
        return false;
    BeginLayout();
    return true;
}

void TCustomDBGridEh::Loaded()
{
    FLoading = false;
    TDBGridColumnsEh* Cols = Columns();
    if (Cols->Count() > 0) {
        SetColCount(Cols->Count() + FIndicatorOffset);
        // What was read as widths becomes the shares of auto-fit.
        if (FAutoFitColWidths) {
            Cols->BeginUpdate();
            for (int i = 0; i < Cols->Count(); ++i)
                Cols->Items(i)->SetLayoutWidth(Cols->Items(i)->Width());
            Cols->EndUpdate();
            UpdateScrollRange();
        }
        RebuildSortMarked();
    }
    if (DataSource())
        FSumList->Loaded();
    LayoutChanged();
    DeferLayout();
}

// The sort list is not streamed: it follows the titles' SortIndex.
void TCustomDBGridEh::RebuildSortMarked()
{
    FSortMarkedColumns.clear();
    for (int i = 0; i < Columns()->Count(); ++i) {
        TColumnEh* C = Columns()->Items(i);
        if (C->Title()->SortIndex() > 0 && C->Title()->SortMarker() != smNoneEh)
            FSortMarkedColumns.push_back(C);
    }
    std::stable_sort(FSortMarkedColumns.begin(), FSortMarkedColumns.end(),
                     [](TColumnEh* A, TColumnEh* B) { return A->Title()->SortIndex() < B->Title()->SortIndex(); });
}

void TCustomDBGridEh::LayoutChanged()
{
    if (FDestroying || FLoading || FClosingLayoutLevel)
        return;
    if (AcquireLayoutLock())
        EndLayout();
}

void TCustomDBGridEh::RunLayoutPass()
{
    // Another column update still open (ours is the first) ends with its own notification.
    if (FDestroying || FLoading || FInLayout || Columns()->UpdateCount() > 1)
        return;
    // This pass covers whatever a queued request asked for.
    if (FDeferredLayout)
        FDeferredLayout->Cancel();
    const QScopedValueRollback InLayout(FInLayout, true);
    InternalLayout();
}

void TCustomDBGridEh::DeferLayout()
{
    if (FDestroying || !FDeferredLayout)
        return;
    FDeferredLayout->Post();
    if (FLayoutLock > 0) {
        // The queued pass does the work this level would have done at its end.
        FClosingLayoutLevel = true;
        if (--FLayoutLock == 0)
            Columns()->EndUpdate();
        FClosingLayoutLevel = false;
    }
    FUpdateLock = std::max(0, FUpdateLock - 1);
}

bool TCustomDBGridEh::LayoutDeferred() const
{
    return FDeferredLayout && FDeferredLayout->Queued();
}

void TCustomDBGridEh::WatchField(TField* Field)
{
    if (!Field || FDestroying || std::find(FWatchedFields.begin(), FWatchedFields.end(), Field) != FWatchedFields.end())
        return;
    FWatchedFields.push_back(Field);
    connect(Field, &QObject::destroyed, this, [this](QObject* O) { FieldDestroyed(O); });
}

void TCustomDBGridEh::FreeNotification(QObject* AComponent)
{
    if (!AComponent || FDestroying)
        return;
    // Unique: registering one component twice still notifies once.
    connect(AComponent, &QObject::destroyed, this, &TCustomDBGridEh::ComponentDestroyed, Qt::UniqueConnection);
}

void TCustomDBGridEh::ComponentDestroyed(QObject* AComponent)
{
    Notification(AComponent, opRemove);
}

// By the time a field says it is destroyed the columns' guarded pointers to it
// are already empty, so a watched field counts as one a column showed.
void TCustomDBGridEh::FieldDestroyed(QObject* Field)
{
    auto It = std::find(FWatchedFields.begin(), FWatchedFields.end(), Field);
    if (It == FWatchedFields.end())
        return;
    FWatchedFields.erase(It);
    // A closing dataset frees its fields after the link has gone inactive;
    // the grid has let go of them already.
    if (FDataLink->DataSet() && !FDataLink->Active())
        return;
    bool AnyUnbound = !FDataLink->DataSet();
    for (int i = 0; i < Columns()->Count() && !AnyUnbound; ++i) {
        TColumnEh* C = Columns()->Items(i);
        AnyUnbound = !C->FieldName().isEmpty() && !C->Field();
    }
    FieldRemoved(AnyUnbound);
}

void TCustomDBGridEh::FieldRemoved(bool AnyUnbound)
{
    if (!AnyUnbound || FDestroying)
        return;
    // A dataset being destroyed has already let go of its data sources, so
    // the link has no dataset then: the layout waits for the event loop.
    TDataSet* D = FDataLink->DataSet();
    if (!D || FLoading) {
        DeferLayout();
        return;
    }
    LayoutChanged();
}

void TCustomDBGridEh::Notification(QObject* AComponent, TOperation Operation)
{
    if (Operation != opRemove || !AComponent || FDestroying)
        return;
    if (AComponent == DataSource()) {
        SetDataSource(nullptr);
        return;
    }
    for (TDBGridEhScrollBar* Bar : {static_cast<TDBGridEhScrollBar*>(FHorzScrollBar.get()),
                                    static_cast<TDBGridEhScrollBar*>(FVertScrollBar.get())}) {
        if (Bar->ExtScrollBar() && static_cast<QObject*>(Bar->ExtScrollBar()) == AComponent) {
            Bar->ExtScrollBarRemoved();
            UpdateVertScrollBar();
            LayoutChanged();
            return;
        }
    }
    bool MenuGone = false;
    for (int i = 0; i < Columns()->Count(); ++i) {
        TColumnEh* C = Columns()->Items(i);
        if (C->PopupMenu() && static_cast<QObject*>(C->PopupMenu()) == AComponent) {
            C->SetPopupMenu(nullptr);
            MenuGone = true;
        }
    }
    if (MenuGone)
        return;
    bool ListGone = false;
    for (int i = 0; i < Columns()->Count(); ++i) {
        TColumnDropDownBoxEh* Box = Columns()->Items(i)->DropDownBox();
        if (Box->ListSource() && static_cast<QObject*>(Box->ListSource()) == AComponent) {
            Box->SetListSource(nullptr);
            ListGone = true;
        }
    }
    if (ListGone)
        return;
    bool ImagesGone = false;
    if (FTitleImages && static_cast<QObject*>(FTitleImages) == AComponent) {
        FTitleImages = nullptr;
        ImagesGone = true;
    }
    for (int i = 0; i < Columns()->Count(); ++i) {
        TColumnEh* C = Columns()->Items(i);
        if (C->ImageList() && static_cast<QObject*>(C->ImageList()) == AComponent) {
            C->SetImageList(nullptr);
            ImagesGone = true;
        }
    }
    if (ImagesGone) {
        Invalidate();
        return;
    }
    bool AnyUnbound = false;
    for (int i = 0; i < Columns()->Count(); ++i) {
        TColumnEh* C = Columns()->Items(i);
        if (C->Field() && C->Field() == AComponent) {
            C->SetField(nullptr);
            AnyUnbound = true;
        }
    }
    if (AnyUnbound)
        std::erase(FWatchedFields, AComponent);
    FieldRemoved(AnyUnbound);
}

void TCustomDBGridEh::InternalLayout()
{
    FreeMixedDefaultColumns();
    LayoutDefaultColumns();
    LayoutScreen();
}

// Default columns and columns set up by code do not mix: once a column set up
// by code follows a default one, the default ones go.
void TCustomDBGridEh::FreeMixedDefaultColumns()
{
    TDBGridColumnsEh* Cols = Columns();
    bool SeenDefault = false;
    bool Mixed = false;
    for (int i = 0; i < Cols->Count() && !Mixed; ++i) {
        if (Cols->Items(i)->IsDefaultColumn())
            SeenDefault = true;
        else
            Mixed = SeenDefault;
    }
    if (!Mixed)
        return;
    for (int i = Cols->Count() - 1; i >= 0; --i)
        if (Cols->Items(i)->IsDefaultColumn())
            Cols->Delete(i);
}

// Customized columns look their fields up by name. Default columns follow the
// dataset's visible fields one by one: a column keeps its field and whatever
// was set on it at run time (footers, captions), columns of fields that are
// gone are freed, new fields get columns, and each moves to its field's place.
void TCustomDBGridEh::LayoutDefaultColumns()
{
    TDBGridColumnsEh* Cols = Columns();
    if (Cols->Customized()) {
        for (int i = 0; i < Cols->Count(); ++i)
            Cols->Items(i)->Field();
        return;
    }
    if (!FDataLink->Active()) {
        if (FDataLink->DefaultFields()) {
            Cols->Clear();
            return;
        }
        // Columns of another dataset's fields have nothing to come back to.
        for (int j = Cols->Count() - 1; j >= 0; --j)
            if (TField* F = Cols->Items(j)->Field(); F && F->DataSet() != FDataLink->DataSet())
                Cols->Delete(j);
        return;
    }
    TDataSet* D = FDataLink->DataSet();
    std::vector<TField*> Fields;
    for (int i = 0; i < D->FieldCount(); ++i)
        if (D->Fields(i)->Visible())
            Fields.push_back(D->Fields(i));
    const QScopedValueRollback Making(FLayingOutDefaultColumns, true);
    for (int j = Cols->Count() - 1; j >= 0; --j) {
        TField* F = Cols->Items(j)->Field();
        if (!F || std::find(Fields.begin(), Fields.end(), F) == Fields.end())
            Cols->Delete(j);
    }
    for (int j = 0; j < int(Fields.size()); ++j) {
        int k = j;
        while (k < Cols->Count() && Cols->Items(k)->Field() != Fields[size_t(j)])
            ++k;
        if (k >= Cols->Count()) {
            Cols->AddDefaultColumn(Fields[size_t(j)]);
            k = Cols->Count() - 1;
        }
        // The collection's own move: a default column's SetIndex would move its field.
        if (k != j)
            Cols->Move(k, j);
    }
}

void TCustomDBGridEh::ColumnsChanged(TColumnEh* Item)
{
    (void)Item;
    // A pressed title whose column went away is let go of.
    if (FPressedTitleColumn) {
        bool Found = false;
        for (int i = 0; i < Columns()->Count() && !Found; ++i)
            Found = Columns()->Items(i) == FPressedTitleColumn;
        if (!Found) {
            FPressedTitleColumn = nullptr;
            FTitleButtonDown = false;
        }
    }
    if (FSelection)
        FSelection->Columns()->Refresh();
    LayoutChanged();
}

void TCustomDBGridEh::LinkActive(bool Value)
{
    if (FDestroying)
        return;
    if (!Value)
        HideEditor();
    FSelection->LinkActive(Value);
    // The same dataset closed and opened again stays hooked: its own open
    // recalculates once.
    FSumList->SetDataSet(FDataLink->DataSet());
    // Customized columns look their fields up again: the dataset's fields may
    // be new ones. Default columns are matched to the fields by the layout.
    Columns()->BeginUpdate();
    for (int i = 0; i < Columns()->Count(); ++i) {
        TColumnEh* Column = Columns()->Items(i);
        if (Column->ExplicitSetup())
            Column->SetField(nullptr);
    }
    for (int i = 0; i < Columns()->Count(); ++i)
        Columns()->Items(i)->Field();
    Columns()->EndUpdate();
    LayoutChanged();
    if (Value && Options().Contains(dgAlwaysShowEditor))
        ShowEditor();
    UpdateVertScrollBarFit();
}

void TCustomDBGridEh::LinkLayoutChanged()
{
    const QScopedValueRollback FromLink(FLayingOutDefaultColumns, true);
    LayoutChanged();
}

void TCustomDBGridEh::DataChanged()
{
    FSumList->CheckDataChanged();
    if (FDestroying || FLoading)
        return;
    LayoutChangedRedraw();
}

// The window may hold more or fewer records now.
void TCustomDBGridEh::LayoutChangedRedraw()
{
    if (!HandleAllocated() || FInLayout)
        return;
    UpdateRowHeights();
    UpdateVertScrollBarFit();
    SyncCurrentCell();
    Invalidate();
}

void TCustomDBGridEh::TitleClick(TColumnEh* Column)
{
    if (OnTitleClick)
        OnTitleClick(Column);
}

void TCustomDBGridEh::TitleBtnClick(int ACol, TColumnEh* Column)
{
    if (OnTitleBtnClick)
        OnTitleBtnClick(this, ACol, Column);
}

void TCustomDBGridEh::EditButtonClick()
{
    if (OnEditButtonClick)
        OnEditButtonClick(this);
}

void TCustomDBGridEh::CheckTitleEhButton(int ACol, bool& Enabled)
{
    TColumnEh* Column = nullptr;
    if (ACol >= 0 && ACol < Columns()->Count())
        Column = Columns()->Items(ACol);
    else
        Enabled = false;
    if (OnCheckButton)
        OnCheckButton(this, ACol, Column, Enabled);
}

void TCustomDBGridEh::SetParentFont(bool Value)
{
    if (Value == FParentFont)
        return;
    FParentFont = Value;
    if (Value)
        if (auto* Parent = dynamic_cast<TCustomControl*>(parentWidget()))
            Font()->Assign(*Parent->Font());
    LayoutChanged();
}

void TCustomDBGridEh::InvalidateFooter()
{
    if (FFooterRowCount < 1) {
        Invalidate();
        return;
    }
    for (int r = std::max(0, RowCount() - FFooterRowCount); r < RowCount(); ++r)
        InvalidateRow(r);
}

void TCustomDBGridEh::SumListChanged()
{
    InvalidateFooter();
}

// ---- sort list

void TCustomDBGridEh::AddSortMarked(TColumnEh* Column)
{
    if (std::find(FSortMarkedColumns.begin(), FSortMarkedColumns.end(), Column) == FSortMarkedColumns.end())
        FSortMarkedColumns.push_back(Column);
}

void TCustomDBGridEh::RemoveSortMarked(TColumnEh* Column)
{
    std::erase(FSortMarkedColumns, Column);
}

void TCustomDBGridEh::SwapSortMarked(TColumnEh* A, TColumnEh* B)
{
    auto IA = std::find(FSortMarkedColumns.begin(), FSortMarkedColumns.end(), A);
    auto IB = std::find(FSortMarkedColumns.begin(), FSortMarkedColumns.end(), B);
    if (IA != FSortMarkedColumns.end() && IB != FSortMarkedColumns.end())
        std::iter_swap(IA, IB);
}
