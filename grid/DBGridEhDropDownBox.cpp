#include "grid/DBGridEhDropDownBox.h"

#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "grid/ToolCtrlsEh.h"
#include "platform/db/DataSource.h"

TColumnDropDownBoxEh::TColumnDropDownBoxEh(TColumnEh* AColumn)
    : FColumn(AColumn), FSpecRow(std::make_unique<TSpecRowEh>())
{
}

TColumnDropDownBoxEh::~TColumnDropDownBoxEh() = default;

TPopupDataGridEh* TColumnDropDownBoxEh::LookupGrid() const
{
    return FColumn ? FColumn->DropDownLookupGrid() : nullptr;
}

void TColumnDropDownBoxEh::SetListSource(TDataSource* Value)
{
    if (Value == FListSource)
        return;
    FListSource = Value;
    if (TCustomDBGridEh* Owner = FColumn ? FColumn->Grid() : nullptr)
        Owner->FreeNotification(Value);
    if (TPopupDataGridEh* Grid = LookupGrid())
        Grid->SetListSource(Value);
}

TDBGridColumnsEh* TColumnDropDownBoxEh::Columns() const
{
    TPopupDataGridEh* Grid = LookupGrid();
    return Grid ? Grid->Columns() : nullptr;
}

TDBGridEhColumnDefValuesEh* TColumnDropDownBoxEh::ColumnDefValues() const
{
    TPopupDataGridEh* Grid = LookupGrid();
    return Grid ? Grid->ColumnDefValues() : nullptr;
}

TDBLookupGridEhOptions TColumnDropDownBoxEh::Options() const
{
    TPopupDataGridEh* Grid = LookupGrid();
    return Grid ? Grid->LookupOptions() : TDBLookupGridEhOptions{};
}

void TColumnDropDownBoxEh::SetOptions(TDBLookupGridEhOptions Value)
{
    if (TPopupDataGridEh* Grid = LookupGrid())
        Grid->SetLookupOptions(Value);
}

void TColumnDropDownBoxEh::Assign(const TColumnDropDownBoxEh& Source)
{
    FSizable = Source.FSizable;
    FShowTitles = Source.FShowTitles;
    FRows = Source.FRows;
    FWidth = Source.FWidth;
    FAutoDrop = Source.FAutoDrop;
    FSortLocal = Source.FSortLocal;
    FDefaultKeyValue = Source.FDefaultKeyValue;
    SetAutoFitColWidths(Source.AutoFitColWidths());
    if (TDBGridEhColumnDefValuesEh* To = ColumnDefValues())
        if (const TDBGridEhColumnDefValuesEh* From = Source.ColumnDefValues()) {
            To->SetAlwaysShowEditButton(From->AlwaysShowEditButton());
            To->SetAutoDropDown(From->AutoDropDown());
            To->SetDblClickNextVal(From->DblClickNextVal());
            To->SetDropDownShowTitles(From->DropDownShowTitles());
            To->SetDropDownSizing(From->DropDownSizing());
            To->SetEndEllipsis(From->EndEllipsis());
            To->SetToolTips(From->ToolTips());
        }
    if (TDBGridColumnsEh* To = Columns()) {
        const TDBGridColumnsEh* From = Source.Columns();
        if (!From || !From->Customized())
            To->Clear();
        else
            To->Assign(*From);
    }
    SetOptions(Source.Options());
    SetListSource(Source.ListSource());
    SetUseMultiTitle(Source.UseMultiTitle());
    FSpecRow->Assign(*Source.FSpecRow);
}

// ---------------------------------------------------------------- column side

TColumnDropDownBoxEh* TColumnEh::DropDownBox() const
{
    if (!FDropDownBox)
        FDropDownBox = std::make_unique<TColumnDropDownBoxEh>(const_cast<TColumnEh*>(this));
    return FDropDownBox.get();
}

TPopupDataGridEh* TColumnEh::DropDownLookupGrid() const
{
    if (!FDropDownLookupGrid)
        FDropDownLookupGrid = std::make_unique<TPopupDataGridEh>();
    return FDropDownLookupGrid.get();
}
