// TColumnDropDownBoxEh: a column's description of the multi-column list that
// drops down from its lookup cells. It keeps its list source and a few flags
// itself and hands columns, default values and options on to the column's
// drop-down lookup grid, which the column makes on first use.
#pragma once

#include "grid/DBLookupGridsEh.h"

#include <memory>

class TColumnEh;
class TDataSource;
class TDBGridColumnsEh;
class TDBGridEhColumnDefValuesEh;
class TSpecRowEh;

class TColumnDropDownBoxEh
{
public:
    explicit TColumnDropDownBoxEh(TColumnEh* AColumn);
    ~TColumnDropDownBoxEh();
    TColumnDropDownBoxEh(const TColumnDropDownBoxEh&) = delete;
    TColumnDropDownBoxEh& operator=(const TColumnDropDownBoxEh&) = delete;

    TColumnEh* Column() const { return FColumn; }
    bool AutoFitColWidths() const { return FAutoFitColWidths; }
    void SetAutoFitColWidths(bool Value) { FAutoFitColWidths = Value; }
    bool UseMultiTitle() const { return FUseMultiTitle; }
    void SetUseMultiTitle(bool Value) { FUseMultiTitle = Value; }
    // Registered with the column's grid, whose Notification lets go of it
    // when the data source is destroyed.
    TDataSource* ListSource() const { return FListSource; }
    void SetListSource(TDataSource* Value);
    // Forwarded to the column's drop-down lookup grid.
    TDBGridColumnsEh* Columns() const;
    TDBGridEhColumnDefValuesEh* ColumnDefValues() const;
    TDBLookupGridEhOptions Options() const;
    void SetOptions(TDBLookupGridEhOptions Value);
    TSpecRowEh* SpecRow() const { return FSpecRow.get(); }
    // Settings of the list kept for the lookup grid and copied by Assign.
    bool Sizable() const { return FSizable; }
    void SetSizable(bool Value) { FSizable = Value; }
    bool ShowTitles() const { return FShowTitles; }
    void SetShowTitles(bool Value) { FShowTitles = Value; }
    int Rows() const { return FRows; }
    void SetRows(int Value) { FRows = Value; }
    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    bool AutoDrop() const { return FAutoDrop; }
    void SetAutoDrop(bool Value) { FAutoDrop = Value; }
    bool SortLocal() const { return FSortLocal; }
    void SetSortLocal(bool Value) { FSortLocal = Value; }
    Variant DefaultKeyValue() const { return FDefaultKeyValue; }
    void SetDefaultKeyValue(const Variant& Value) { FDefaultKeyValue = Value; }

    // Columns that were never customized in the source clear the target's.
    void Assign(const TColumnDropDownBoxEh& Source);

private:
    TPopupDataGridEh* LookupGrid() const;

    TColumnEh* FColumn;
    TDataSource* FListSource = nullptr;
    std::unique_ptr<TSpecRowEh> FSpecRow;
    Variant FDefaultKeyValue = Variant::Null();
    int FRows = 7;
    int FWidth = 0;
    bool FAutoFitColWidths = true;
    bool FUseMultiTitle = false;
    bool FSizable = false;
    bool FShowTitles = false;
    bool FAutoDrop = false;
    bool FSortLocal = false;
};
