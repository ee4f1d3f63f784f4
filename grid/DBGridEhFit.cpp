// TCustomDBGridEh: columns fitted to their data, and the change of sort
// markers handed to the owner or the data service.
#include "grid/DBGridEh.h"

#include "grid/DBGridEhColumns.h"
#include "grid/DBGridEhTitles.h"
#include "platform/db/DataSet.h"
#include "platform/gui/ImgList.h"

#include <QImage>
#include <algorithm>
#include <optional>

namespace {

// Margins of a measured text, as the painter leaves them.
constexpr int CellMargin = 4;
constexpr int FooterMargin = 5;
constexpr int CheckBoxSize = 13;
// Room a sort marker takes beside the caption; 2 pixels of it the margin has.
constexpr int SortMarkerRoom = 16;

// Width of Text in the canvas's font, word-wrapped into WrapWidth when given.
int TextExtent(TCanvas* C, const QString& Text, int WrapWidth)
{
    if (WrapWidth <= 0)
        return C->TextWidth(Text);
    QRect R(0, 0, WrapWidth, 0);
    C->DrawText(Text, R, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return R.width();
}

// The screen position as the records on it: the record half a window above
// the current one is remembered, so the same records come back into view.
class TScreenPosition
{
public:
    TScreenPosition(TDataLink* Link, TDataSet* D) : FD(D)
    {
        const int Held = Link->RecordCount();
        FOffset = Link->ActiveRecord() - Held / 2 + (Held + 1) % 2;
        FD->MoveBy(-FOffset);
        FMark = FD->GetBookmark();
        FD->MoveBy(FOffset);
    }

    void Restore()
    {
        if (FD->BookmarkValid(FMark))
            FD->GotoBookmark(FMark);
        FD->MoveBy(FOffset);
    }

private:
    TDataSet* FD;
    TBookmark FMark;
    int FOffset = 0;
};

} // namespace

// ---------------------------------------------------------------- widths by data

int TCustomDBGridEh::TitleWidth(TColumnEh* Column, TCanvas* C)
{
    TColumnTitleEh* Title = Column->Title();
    C->Font()->Assign(*Title->Font());
    QString Caption = Title->Caption();
    const size_t Index = size_t(Column->Index());
    if (UseMultiTitle() && Index < FLeafFieldArr.size())
        Caption = FLeafFieldArr[Index]->Text;
    int Margin = CellMargin;
    if (Title->SortMarker() != smNoneEh)
        Margin += SortMarkerRoom - 2;
    if (FTitleImages && Title->ImageIndex() != -1)
        Margin += FTitleImages->Width();
    if (UseMultiTitle() && Title->Orientation() == tohVertical)
        return C->TextHeight(Caption) + Margin;
    const bool Wrapped = UseMultiTitle() || TitleHeight() > 0 || TitleLines() > 0;
    return TextExtent(C, Caption, Wrapped ? Column->Width() : 0) + Margin;
}

// The current record's cell, in the font and text its parameters give it.
int TCustomDBGridEh::CellWidth(TColumnEh* Column, TCanvas* C)
{
    int Width = CellMargin;
    if (Column->AlwaysShowEditButton())
        Width += ButtonWidth();
    switch (Column->GetColumnType()) {
    case ctKeyImageList:
        return Width + (Column->ImageList() ? Column->ImageList()->Width() : 0);
    case ctCheckboxes:
        return Width + CheckBoxSize;
    default:
        break;
    }
    C->Font()->Assign(*Column->Font());
    TColCellParamsEh P;
    Column->FillColCellParams(P);
    P.Font = C->Font();
    P.Background = Column->Color();
    P.Text = Column->GetDisplayText();
    Column->GetColCellParams(false, P);
    GetCellParams(Column, C->Font(), P.Background, TGridDrawState());
    return Width + TextExtent(C, P.Text, Column->WordWrap() && FMultiLineRows ? Column->Width() : 0);
}

int TCustomDBGridEh::FooterWidth(TColumnEh* Column, TCanvas* C)
{
    int Width = 0;
    for (int f = 0; f < FooterRowCount(); ++f) {
        TColumnFooterEh* Footer = Column->UsedFooter(f);
        C->Font()->Assign(*Footer->Font());
        TColor Background = Footer->Color();
        TAlignment Alignment = Footer->Alignment();
        QString Text = GetFooterValueText(f, Column);
        GetFooterParams(Column->Index(), f, Column, C->Font(), Background, Alignment, TGridDrawState(), Text);
        const int Wrap = Footer->WordWrap() && FMultiLineRows ? Column->Width() : 0;
        Width = std::max(Width, TextExtent(C, Text, Wrap) + FooterMargin);
    }
    return Width;
}

void TCustomDBGridEh::FitColumnToData(TColumnEh* Column)
{
    std::vector<TColumnEh*> List;
    if (SelectionType() == gstColumns) {
        List = SelectedColumns();
    } else if (SelectionType() == gstAll) {
        for (int i = 0; i < Columns()->Count(); ++i)
            List.push_back(Columns()->Items(i));
    }
    if (Column && std::find(List.begin(), List.end(), Column) == List.end())
        List.push_back(Column);
    FitColumnsToData(List);
}

// Reads every record; a failure on the way puts the records on screen back
// and enables the controls again before it is reported.
void TCustomDBGridEh::FitColumnsToData(const std::vector<TColumnEh*>& ColumnsList)
{
    if (ColumnsList.empty())
        return;
    QImage Image(1, 1, QImage::Format_RGB32);
    TCanvas C(&Image);
    std::vector<int> Widths;
    for (TColumnEh* Column : ColumnsList)
        Widths.push_back(TitleWidth(Column, &C));
    TDataSet* D = DataLink()->DataSet();
    if (DataLink()->Active() && D) {
        D->DisableControls();
        std::optional<TScreenPosition> Screen;
        try {
            Screen.emplace(DataLink(), D);
            D->First();
            while (!D->Eof()) {
                for (size_t i = 0; i < ColumnsList.size(); ++i)
                    Widths[i] = std::max(Widths[i], CellWidth(ColumnsList[i], &C));
                if (D->IsSequenced() && D->RecNo() >= D->RecordCount())
                    break;
                D->Next();
            }
        } catch (...) {
            try {
                if (Screen)
                    Screen->Restore();
            } catch (...) {
                // The first failure is the one to report.
            }
            D->EnableControls();
            throw;
        }
        Screen->Restore();
        D->EnableControls();
    }
    for (size_t i = 0; i < ColumnsList.size(); ++i)
        Widths[i] = std::max(Widths[i], FooterWidth(ColumnsList[i], &C));
    const bool OneUpdate = !AutoFitColWidths();
    if (OneUpdate)
        BeginLayout();
    try {
        for (size_t i = 0; i < ColumnsList.size(); ++i)
            ColumnsList[i]->SetWidth(Widths[i]);
    } catch (...) {
        if (OneUpdate)
            EndLayout();
        throw;
    }
    if (OneUpdate)
        EndLayout();
}

// ---------------------------------------------------------------- sorting

void TCustomDBGridEh::SortMarkingChanged()
{
    if (!OptionsEh().Contains(dghAutoSortMarking))
        return;
    if (OnSortMarkingChanged)
        OnSortMarkingChanged(this);
    else
        DataServiceApplySorting();
}

void TCustomDBGridEh::RebuildSortMarkedColumns()
{
    RebuildSortMarked();
}
