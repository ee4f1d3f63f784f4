// TCustomDBGridEh: the layout pass (fixed columns, row and title heights,
// auto-fit widths, the title tree's heights), the record window's rows and the
// scrolling of the data rows when the data link moves its window.
#include "grid/DBGridEh.h"

#include "grid/DBGridEhColumns.h"
#include "grid/DBGridEhFilter.h"
#include "grid/DBGridEhTitles.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/SystemMetrics.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

#include <QImage>
#include <algorithm>

namespace {

// Metrics of a font without disturbing the grid's canvas.
TTextMetric MetricsOf(const TFont* Font)
{
    QImage Image(1, 1, QImage::Format_RGB32);
    TCanvas C(&Image);
    C.Font()->Assign(*Font);
    return C.TextMetrics();
}

int TextHeightOf(const TFont* Font, const QString& Text)
{
    QImage Image(1, 1, QImage::Format_RGB32);
    TCanvas C(&Image);
    C.Font()->Assign(*Font);
    return C.TextHeight(Text);
}

// Height of a caption word-wrapped into Width pixels.
int WrappedHeight(const TFont* Font, const QString& Text, int Width)
{
    QImage Image(1, 1, QImage::Format_RGB32);
    TCanvas C(&Image);
    C.Font()->Assign(*Font);
    QRect R(0, 0, std::max(1, Width), 0);
    C.DrawText(Text.isEmpty() ? QStringLiteral(" ") : Text, R, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return R.height();
}

// Length of one line of text: what a caption written upwards needs.
int LineLength(const TFont* Font, const QString& Text)
{
    QImage Image(1, 1, QImage::Format_RGB32);
    TCanvas C(&Image);
    C.Font()->Assign(*Font);
    return C.TextWidth(Text);
}

// The indicator column is as wide as its glyph and two margins.
constexpr int IndicatorWidth = 11;

} // namespace

// ---------------------------------------------------------------- settings

void TCustomDBGridEh::SetFrozenCols(int Value)
{
    if (Value == FFrozenCols && Value < 0)
        return;
    FFrozenCols = std::max(0, Value);
    LayoutChanged();
}

void TCustomDBGridEh::SetRowHeight(int Value)
{
    Value = std::max(0, Value);
    if (Value == FRowHeight)
        return;
    FRowHeight = Value;
    LayoutChanged();
}

void TCustomDBGridEh::SetRowLines(int Value)
{
    Value = std::max(0, Value);
    if (Value == FRowLines)
        return;
    FRowLines = Value;
    LayoutChanged();
}

void TCustomDBGridEh::SetTitleHeight(int Value)
{
    Value = std::max(0, Value);
    if (Value == FTitleHeight)
        return;
    FTitleHeight = Value;
    LayoutChanged();
}

void TCustomDBGridEh::SetTitleLines(int Value)
{
    Value = std::max(0, Value);
    if (Value == FTitleLines)
        return;
    FTitleLines = Value;
    LayoutChanged();
}

void TCustomDBGridEh::SetMinAutoFitWidth(int Value)
{
    if (Value == FMinAutoFitWidth)
        return;
    FMinAutoFitWidth = Value;
    LayoutChanged();
}

void TCustomDBGridEh::SetRowSizingAllowed(bool Value)
{
    if (Value == FRowSizingAllowed)
        return;
    FRowSizingAllowed = Value;
    LayoutChanged();
}

int TCustomDBGridEh::TitleRowHeight() const
{
    return FTitleRowHeight > 0 ? FTitleRowHeight : MetricsOf(TitleFont()).tmHeight + TextPad();
}

int TCustomDBGridEh::TextPad() const
{
    return Flat() ? 2 : 4;
}

// ---------------------------------------------------------------- layout pass

void TCustomDBGridEh::LayoutScreen()
{
    FIndicatorOffset = Options().Contains(dgIndicator) ? 1 : 0;
    DataLink()->BuildFieldMap();
    ApplyGridOptions();
    LayoutColumns();
    LayoutRowHeight();
    LayoutTitles();
    if (AutoFitColWidths() && HandleAllocated())
        AutoFitColumns();
    // Group captions span the widths auto-fit has just given.
    LayoutTitleTree();
    ApplyColumnWidths();
    UpdateRowHeights();
    UpdateVertScrollBarFit();
    // The bars take room from each other: the horizontal one costs rows.
    if (UpdateOwnHorzBar()) {
        UpdateRowHeights();
        UpdateVertScrollBarFit();
    }
    UpdateScrollRange();
    SyncCurrentCell();
    Invalidate();
    PlaceFilterEdit(false);
}

// The grid's options as the base grid knows them.
void TCustomDBGridEh::ApplyGridOptions()
{
    const TDBGridOptions O = Options();
    TGridOptions G;
    if (O.Contains(dgColLines))
        G << goFixedVertLine << goVertLine;
    if (O.Contains(dgRowLines))
        G << goFixedHorzLine << goHorzLine;
    if (O.Contains(dgColumnResize))
        G << goColSizing << goColMoving;
    if (O.Contains(dgTabs))
        G << goTabs;
    if (O.Contains(dgRowSelect))
        G << goRowSelect;
    else {
        if (O.Contains(dgEditing))
            G << goEditing;
        if (O.Contains(dgAlwaysShowEditor))
            G << goAlwaysShowEditor;
    }
    if (FRowSizingAllowed)
        G << goRowSizing;
    TCustomGrid::SetOptions(G);
}

// Visible columns, column count and the frozen (fixed) columns. FrozenCols
// counts visible columns, so hidden ones among them are added to the fixed part.
void TCustomDBGridEh::LayoutColumns()
{
    TDBGridColumnsEh* Cols = Columns();
    FVisibleColumns.clear();
    for (int i = 0; i < Cols->Count(); ++i)
        if (Cols->Items(i)->Visible())
            FVisibleColumns.push_back(Cols->Items(i));
    int Hidden = 0;
    int i = 0;
    for (int Seen = 0; i < Cols->Count() && Seen < FFrozenCols; ++i) {
        if (Cols->Items(i)->Visible())
            ++Seen;
        else
            ++Hidden;
    }
    // Hidden columns right after the frozen part belong to it too.
    while (i < Cols->Count() && !Cols->Items(i)->Visible()) {
        ++Hidden;
        ++i;
    }
    if (FVisibleColumns.empty() && Hidden > 0)
        --Hidden;
    const int Count = std::max(Cols->Count(), 1) + FIndicatorOffset;
    SetColCount(Count);
    int Fixed = FIndicatorOffset + Hidden;
    if (DataLink()->Active() || Cols->Customized())
        Fixed += std::min(FFrozenCols, int(FVisibleColumns.size()));
    SetFixedCols(std::min(Fixed, Count - 1));
    if (FIndicatorOffset) {
        FSettingWidths = true;
        SetColWidths(0, IndicatorWidth);
        FSettingWidths = false;
    }
}

void TCustomDBGridEh::LayoutRowHeight()
{
    const int LineWidth = Options().Contains(dgRowLines) ? GridLineWidth() : 0;
    const int M = (Flat() ? 1 : 3) + LineWidth;
    const TTextMetric Metric = MetricsOf(Font());
    const int T = std::max(1, TextHeightOf(Font(), QStringLiteral("Wg")));
    int Height;
    if (FRowHeight < 1 && FRowLines < 1)
        Height = T + M;
    else
        Height = (Metric.tmHeight + Metric.tmExternalLeading) * FRowLines + FRowHeight;
    if (OptionsEh().Contains(dghFitRowHeightToText)) {
        const int Q = (Height - M) / T;
        const int R = (Height - M) % T;
        Height = (R <= T / 2 && Q > 0) ? Q * T + M : (Q + 1) * T + M;
        FRowLines = (Height - M) / T;
        FRowHeight = M;
    }
    FDataRowHeight = std::max(1, Height);
    // The filter row holds one line of the grid's font, whatever the data rows hold.
    FFilterRowHeight = T + M;
    UpdateButtonMetrics();
    FMultiLineRows = Metric.tmHeight + Metric.tmExternalLeading + Metric.tmInternalLeading + TextPad() < FDataRowHeight;
}

// The title row as high as the tallest title font.
void TCustomDBGridEh::LayoutTitles()
{
    FTitleRowHeight = 0;
    if (!Options().Contains(dgTitles))
        return;
    TDBGridColumnsEh* Cols = Columns();
    int Height = 0;
    for (int i = 0; i < Cols->Count(); ++i)
        Height = std::max(Height, TextHeightOf(Cols->Items(i)->Title()->Font(), QStringLiteral("Wg")) + TextPad());
    if (Cols->Count() == 0)
        Height = TextHeightOf(TitleFont(), QStringLiteral("Wg")) + TextPad();
    FTitleRowHeight = Height;
}

// Once the widths are final: the title row by TitleLines and TitleHeight, and
// the tree of multi-line titles over the columns.
void TCustomDBGridEh::LayoutTitleTree()
{
    if (!Options().Contains(dgTitles)) {
        HeadTree()->BuildFromColumns(this, FLeafFieldArr);
        return;
    }
    TDBGridColumnsEh* Cols = Columns();
    if (FTitleHeight > 0 || FTitleLines > 0) {
        TTextMetric Tallest = MetricsOf(TitleFont());
        for (int i = 0; i < Cols->Count(); ++i) {
            const TTextMetric M = MetricsOf(Cols->Items(i)->Title()->Font());
            if (M.tmHeight > Tallest.tmHeight)
                Tallest = M;
        }
        FTitleRowHeight = FTitleLines * Tallest.tmHeight + Tallest.tmExternalLeading + 2 + FTitleHeight
            + (Options().Contains(dgRowLines) ? 1 : 0);
    }
    HeadTree()->BuildFromColumns(this, FLeafFieldArr);
    if (UseMultiTitle())
        FTitleRowHeight = MeasureHeadTree(FTitleRowHeight);
}

// Heights of the title tree: each node as high as its caption wrapped into its
// width plus the title margin; leaves stretch so that every path from the top
// ends at the same bottom. Returns the height of the title row.
int TCustomDBGridEh::MeasureHeadTree(int MinLeafHeight)
{
    THeadTreeNode* Root = HeadTree();
    Root->ForEachDescendant([&](THeadTreeNode* Node) {
        const TFont* F = Node->Column ? Node->Column->Title()->Font() : TitleFont();
        // A caption written upwards needs its length in height, 2 pixels each end.
        const bool Upwards = Node->Column && Node->Column->Title()->Orientation() == tohVertical;
        const int Text = Upwards ? LineLength(F, Node->Text) + 4
                                 : WrappedHeight(F, Node->Text, Node->Width - 4) + TextPad();
        Node->Height = Node->Column ? std::max(Text, MinLeafHeight) : std::max(Text, VTitleMargin() + Text / 2);
    });
    auto Above = [Root](const THeadTreeNode* Node) {
        int H = 0;
        for (const THeadTreeNode* P = Node->Parent; P && P != Root; P = P->Parent)
            H += P->Height;
        return H;
    };
    int Total = 0;
    for (THeadTreeNode* Leaf : FLeafFieldArr)
        Total = std::max(Total, Above(Leaf) + Leaf->Height);
    for (THeadTreeNode* Leaf : FLeafFieldArr)
        Leaf->Height = Total - Above(Leaf);
    return std::max(Total, MinLeafHeight);
}

// Auto-fit: the auto-fit columns share what the others leave of the client
// width, in proportion to their laid-out widths; a column its limits clamp is
// held and the rest shared again.
void TCustomDBGridEh::AutoFitColumns()
{
    std::vector<bool> Held(FVisibleColumns.size(), false);
    const int LineWidth = Options().Contains(dgColLines) ? GridLineWidth() : 0;
    int Room = 0;
    int Sum = 0;
    for (size_t Pass = 0; Pass < std::max<size_t>(1, FVisibleColumns.size()); ++Pass) {
        // Showing or hiding the vertical bar changes the room to share.
        UpdateVertScrollBar();
        int Fixed = 0;
        int Basis = 0;
        for (size_t i = 0; i < FVisibleColumns.size(); ++i) {
            TColumnEh* C = FVisibleColumns[i];
            if (!C->AutoFitColWidth() || Held[i])
                Fixed += C->Width();
            else
                Basis += std::max(0, C->LayoutWidth());
        }
        Room = std::max(0, std::max(ClientWidth(), FMinAutoFitWidth) - Fixed);
        if (FIndicatorOffset)
            Room -= IndicatorWidth + LineWidth;
        Room -= LineWidth * int(FVisibleColumns.size());
        Room = std::max(0, Room);
        bool Changed = false;
        Sum = 0;
        for (size_t i = 0; i < FVisibleColumns.size(); ++i) {
            TColumnEh* C = FVisibleColumns[i];
            if (!C->AutoFitColWidth() || Held[i])
                continue;
            const int Asked = Basis > 0 ? MulDiv(std::max(0, C->LayoutWidth()), Room, Basis) : 0;
            C->SetWidth(Asked);
            if (C->Width() != Asked) {
                Held[i] = true;
                Changed = true;
            }
            Sum += C->Width();
        }
        if (!Changed)
            break;
    }
    // Rounding leaves a few pixels over or short: the right-most free column takes them.
    for (size_t i = FVisibleColumns.size(); i-- > 0;) {
        TColumnEh* C = FVisibleColumns[i];
        if (C->AutoFitColWidth() && !Held[i]) {
            if (Sum != Room)
                C->SetWidth(std::max(0, C->Width() + Room - Sum));
            break;
        }
    }
}

void TCustomDBGridEh::ApplyColumnWidths()
{
    FSettingWidths = true;
    TDBGridColumnsEh* Cols = Columns();
    for (int i = 0; i < Cols->Count(); ++i) {
        TColumnEh* C = Cols->Items(i);
        SetColWidths(i + FIndicatorOffset, C->Visible() ? std::max(1, C->Width()) : 0);
    }
    if (Cols->Count() == 0)
        SetColWidths(FIndicatorOffset, DefaultColWidth());
    FSettingWidths = false;
}

// ---------------------------------------------------------------- rows

int TCustomDBGridEh::TitleRowCount() const
{
    const int Filter = FSTFilter && FSTFilter->Visible() ? 1 : 0;
    return (Options().Contains(dgTitles) || ExtraTitleHeight() > 0 ? 1 : 0) + Filter;
}

int TCustomDBGridEh::RowStep() const
{
    return FDataRowHeight + (Options().Contains(dgRowLines) ? GridLineWidth() : 0);
}

// Rows of the record window: as many as fit between the titles and the
// footers; the filler row takes what is left so that footers sit at the bottom.
void TCustomDBGridEh::UpdateRowHeights()
{
    const int Titles = TitleRowCount();
    const int LineWidth = Options().Contains(dgRowLines) ? GridLineWidth() : 0;
    const int Footers = FooterRowCount();
    const int OldCount = RowCount();
    int Used = 0;
    const int FilterRow = this->FilterRow();
    if (Titles > (FilterRow >= 0 ? 1 : 0))
        Used += FTitleRowHeight + ExtraTitleHeight() + LineWidth;
    if (FilterRow >= 0)
        Used += FFilterRowHeight + LineWidth;
    Used += Footers * RowStep() + (Footers > 0 ? LineWidth : 0);
    int Records = 0;
    TDataSet* D = DataLink()->DataSet();
    if (DataLink()->Active() && D && !D->IsEmpty() && HandleAllocated()) {
        const int Rows = std::max(1, (ClientHeight() - Used) / RowStep());
        DataLink()->SetBufferCount(Rows);
        Records = std::max(1, DataLink()->RecordCount());
    } else {
        Records = 1;
    }
    FDataRowCount = Records;
    Used += Records * RowStep();
    const int Count = Titles + Records + (Footers > 0 ? 1 + Footers : 0);
    SetRowCount(Count);
    SetFixedRows(std::min(Titles, Count - 1));
    // Each row set once: a height set twice would repaint the whole grid.
    const int Filler = Footers > 0 ? Titles + Records : -1;
    for (int r = 0; r < Count; ++r) {
        int Height = FDataRowHeight;
        if (r == FilterRow)
            Height = FFilterRowHeight;
        else if (r < Titles)
            Height = FTitleRowHeight + ExtraTitleHeight();
        else if (r == Filler)
            Height = std::max(0, ClientHeight() - Used);
        SetRowHeights(r, Height);
    }
    SetTopRow(Titles);
    if (Count != OldCount)
        Invalidate();
}

// The current cell follows the data link's active record.
void TCustomDBGridEh::SyncCurrentCell()
{
    int R = TitleRowCount();
    if (DataLink()->Active())
        R += std::clamp(DataLink()->ActiveRecord(), 0, std::max(0, FDataRowCount - 1));
    R = std::min(R, RowCount() - 1);
    const int C = std::clamp(Col(), FixedCols(), ColCount() - 1);
    if (R != Row() || C != Col())
        MoveCurrent(C, R, false);
}

int TCustomDBGridEh::VisibleDataRowCount() const
{
    return FDataRowCount;
}

// ---------------------------------------------------------------- data link

void TCustomDBGridEh::ScrollData(int Distance)
{
    if (Loading())
        return;
    const QRect OldRow = FullRowRect(Row());
    // Only a window scrolled to its last row can hold fewer or more records.
    if (DataLink()->ActiveRecord() >= FDataRowCount - 1)
        UpdateRowHeights();
    UpdateVertScrollBarFit();
    SyncCurrentCell();
    InvalidateRect(OldRow);
    InvalidateRect(FullRowRect(Row()));
    if (Distance == 0) {
        RefreshEditor();
        return;
    }
    HideEditor();
    if (std::abs(Distance) > FDataRowCount) {
        Invalidate();
        return;
    }
    if (FIndicatorOffset && FIndicatorRow >= 0)
        InvalidateRect(FullRowRect(FIndicatorRow));
    const int Top = RowTop(TitleRowCount());
    // Footers and the filler row stay where they are while the data rows move.
    int Bottom = ClientHeight();
    if (FooterRowCount() > 0)
        Bottom = Top + FDataRowCount * RowStep();
    const QRect Area(0, Top, ClientWidth(), std::max(0, Bottom - Top));
    ScrollWindow(0, -RowStep() * Distance, Area, Area);
    if (FIndicatorOffset)
        InvalidateRect(FullRowRect(Row()));
    if (Options().Contains(dgAlwaysShowEditor))
        ShowEditor();
}

QRect TCustomDBGridEh::FullRowRect(int ARow) const
{
    if (ARow < 0 || ARow >= RowCount())
        return QRect();
    const int Y = RowTop(ARow);
    if (Y < 0 || Y >= ClientHeight())
        return QRect();
    return QRect(0, Y, ClientWidth(), RowHeights(ARow) + GridLineWidth());
}

void TCustomDBGridEh::InvalidateCurrentIndicator()
{
    if (FIndicatorOffset && FIndicatorRow >= 0)
        InvalidateCell(0, FIndicatorRow);
}

// ---------------------------------------------------------------- base grid hooks

bool TCustomDBGridEh::HandleAllocated() const
{
    // A grid that was never sized or shown has no client area to lay out.
    return testAttribute(Qt::WA_WState_Created) || testAttribute(Qt::WA_Resized);
}

// A width changed by the user goes to its column. Widths the grid sets itself
// arrive while the layout lock is held and are not taken back.
void TCustomDBGridEh::ColWidthsChanged()
{
    TCustomGrid::ColWidthsChanged();
    if (FDestroying || FLoading || FSettingWidths || (!DataLink()->Active() && !Columns()->Customized()))
        return;
    if (!AcquireLayoutLock())
        return;
    try {
        ApplyUserWidths();
    } catch (...) {
        EndLayout();
        throw;
    }
    EndLayout();
    PlaceFilterEdit(false);
    if (OnColWidthsChanged)
        OnColWidthsChanged(this);
}

// Under auto-fit a resized column changes its share (its laid-out width);
// the next visible column gives up as much, not below 0, or with
// dghResizeWholeRightPart every later auto-fit column gives up its part.
void TCustomDBGridEh::ApplyUserWidths()
{
    TDBGridColumnsEh* Cols = Columns();
    const bool WholeRight = OptionsEh().Contains(dghResizeWholeRightPart);
    for (int i = 0; i < Cols->Count() && i + FIndicatorOffset < ColCount(); ++i) {
        TColumnEh* C = Cols->Items(i);
        if (!C->Visible())
            continue;
        int W = ColWidths(i + FIndicatorOffset);
        if (C->MinWidth() > 0 && C->MinWidth() > W)
            W = C->MinWidth();
        else if (C->MaxWidth() > 0 && C->MaxWidth() < W)
            W = C->MaxWidth();
        const int OldWidth = C->Width();
        if (W == OldWidth)
            continue;
        if (!AutoFitColWidths() || !C->AutoFitColWidth()) {
            C->SetWidth(W);
            continue;
        }
        const int OldLayout = C->LayoutWidth();
        const int NewLayout = OldWidth > 0 ? MulDiv(OldLayout, W, OldWidth) : W;
        C->SetLayoutWidth(NewLayout);
        const int Delta = NewLayout - OldLayout;
        if (!WholeRight) {
            for (int j = i + 1; j < Cols->Count(); ++j) {
                TColumnEh* Next = Cols->Items(j);
                if (Next->Visible()) {
                    Next->SetLayoutWidth(std::max(0, Next->LayoutWidth() - Delta));
                    break;
                }
            }
            continue;
        }
        int Total = 0;
        for (int j = i + 1; j < Cols->Count(); ++j)
            if (Cols->Items(j)->Visible() && Cols->Items(j)->AutoFitColWidth())
                Total += Cols->Items(j)->LayoutWidth();
        if (Total <= 0)
            continue;
        for (int j = i + 1; j < Cols->Count(); ++j) {
            TColumnEh* Next = Cols->Items(j);
            if (Next->Visible() && Next->AutoFitColWidth())
                Next->SetLayoutWidth(std::max(1, MulDiv(Total - Delta, Next->LayoutWidth(), Total)));
        }
    }
}

void TCustomDBGridEh::ColumnMoved(int FromIndex, int ToIndex)
{
    TCustomGrid::ColumnMoved(FromIndex, ToIndex);
    const int From = FromIndex - FIndicatorOffset;
    const int To = ToIndex - FIndicatorOffset;
    if (From < 0 || To < 0 || From >= Columns()->Count() || To >= Columns()->Count())
        return;
    // The filter editor moves once, after the columns have.
    FSTFilter->BeginUpdate();
    try {
        Columns()->Items(From)->SetIndex(To);
        if (OnColumnMoved)
            OnColumnMoved(this, From, To);
    } catch (...) {
        FSTFilter->EndUpdate();
        throw;
    }
    FSTFilter->EndUpdate();
    PlaceFilterEdit(false);
}

void TCustomDBGridEh::Resize()
{
    TCustomGrid::Resize();
    if (AutoFitColWidths())
        LayoutChanged();
    else {
        UpdateRowHeights();
        if (UpdateOwnHorzBar())
            UpdateRowHeights();
        UpdateVertScrollBarFit();
        SyncCurrentCell();
    }
    PlaceFilterEdit(false);
}

int TCustomDBGridEh::SelectedIndex() const
{
    return Col() - FIndicatorOffset;
}

TField* TCustomDBGridEh::SelectedField() const
{
    const int i = SelectedIndex();
    return i >= 0 && i < Columns()->Count() ? Columns()->Items(i)->Field() : nullptr;
}

// ---------------------------------------------------------------- field map

void TGridDataLinkEh::BuildFieldMap()
{
    ClearMapping();
    TDataSet* D = DataSet();
    if (!Active() || !D)
        return;
    TDBGridColumnsEh* Cols = FGrid->Columns();
    FSparseMap = Cols->Customized();
    if (FSparseMap) {
        for (int i = 0; i < Cols->Count(); ++i)
            AddMapping(Cols->Items(i)->FieldName());
    } else {
        for (int i = 0; i < D->FieldCount(); ++i)
            if (D->Fields(i)->Visible())
                AddMapping(D->Fields(i)->FieldName());
    }
}

void TGridDataLinkEh::AddMapping(const QString& FieldName)
{
    constexpr size_t MaxMapSize = 268435455;
    if (FFieldMap.size() >= MaxMapSize)
        throw EInvalidGridOperation(QStringLiteral("Grid requested to display more than 256 columns"));
    TDataSet* D = DataSet();
    TField* F = nullptr;
    if (D)
        F = FSparseMap ? D->FindField(FieldName) : D->FieldByName(FieldName);
    FFieldMap.push_back(F ? F->Index() : -1);
}

// Our datasets remake the fields they made on open under the same names, and
// default columns find their fields again by name; so a closed dataset keeps
// the default columns with what was set on them, and only a link without a
// dataset lets them go.
bool TGridDataLinkEh::DefaultFields() const
{
    return !DataSet();
}

TField* TGridDataLinkEh::GetMappedField(int Index) const
{
    TDataSet* D = DataSet();
    if (!D || Index < 0 || Index >= MappedCount() || FFieldMap[size_t(Index)] < 0
        || FFieldMap[size_t(Index)] >= D->FieldCount())
        return nullptr;
    return D->Fields(FFieldMap[size_t(Index)]);
}

// ---------------------------------------------------------------- scaling

void TCustomDBGridEh::ChangeScale(int M, int D)
{
    if (M == D || D == 0)
        return;
    const bool Fonts = !FLoading || FScalingFonts;
    auto ScaleFont = [M, D](TFont* F) { F->SetSize(MulDiv(F->Size(), M, D)); };
    if (Fonts && !FParentFont) {
        ScaleFont(FTitleFont.get());
        ScaleFont(FFooterFont.get());
    }
    if (Fonts) {
        BeginLayout();
        try {
            ScaleColumns(M, D);
        } catch (...) {
            EndLayout();
            throw;
        }
        EndLayout();
    }
    ScaleControl(M, D, Fonts);
}

// Column fonts set on the column, and the widths as running sums so that
// rounding does not drift.
void TCustomDBGridEh::ScaleColumns(int M, int D)
{
    auto ScaleFont = [M, D](TFont* F) { F->SetSize(MulDiv(F->Size(), M, D)); };
    TDBGridColumnsEh* Cols = Columns();
    int OldSum = 0;
    int ScaledSum = 0;
    for (int i = 0; i < Cols->Count(); ++i) {
        TColumnEh* C = Cols->Items(i);
        if (C->IsFontStored())
            ScaleFont(C->Font());
        if (C->Title()->IsFontStored())
            ScaleFont(C->Title()->Font());
        if (C->Footer()->IsFontStored())
            ScaleFont(C->Footer()->Font());
        for (int f = 0; f < C->Footers()->Count(); ++f)
            if (C->Footers()->Items(f)->IsFontStored())
                ScaleFont(C->Footers()->Items(f)->Font());
        OldSum += C->Width();
        const int Scaled = MulDiv(OldSum, M, D);
        C->SetWidth(Scaled - ScaledSum);
        ScaledSum = Scaled;
    }
}

// What any control does when scaled: its bounds, and its own font unless it
// takes the parent's.
void TCustomDBGridEh::ScaleControl(int M, int D, bool Fonts)
{
    if (Fonts && !FParentFont)
        Font()->SetSize(MulDiv(Font()->Size(), M, D));
    const QRect G = geometry();
    const int Left = MulDiv(G.x(), M, D);
    const int Top = MulDiv(G.y(), M, D);
    setGeometry(Left, Top, MulDiv(G.x() + G.width(), M, D) - Left, MulDiv(G.y() + G.height(), M, D) - Top);
}

// In-cell edit buttons are as wide as a scroll bar (a flat one a little
// narrower) and as high as a row, up to a square and a half.
void TCustomDBGridEh::UpdateButtonMetrics()
{
    FButtonWidth = Flat() ? FlatButtonWidthEh() + 1 : ScrollBarWidth();
    FButtonHeight = FDataRowHeight > MulDiv(FButtonWidth, 3, 2) ? FButtonWidth : FDataRowHeight;
}
