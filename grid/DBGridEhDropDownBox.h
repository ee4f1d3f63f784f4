// TColumnDropDownBoxEh: a column's description of the multi-column list that
// drops down from its lookup cells. It keeps its list source and a few flags
// itself and hands columns, default values and options on to the column's
// drop-down lookup grid, which the column makes on first use.
#pragma once

#include "grid/DBLookupGridsEh.h"

#include <QPointer>
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
    // Let go of when the data source is destroyed.
    TDataSource* ListSource() const { return FListSource.data(); }
    void SetListSource(TDataSource* Value);
    // Forwarded to the column's drop-down lookup grid.
    TDBGridColumnsEh* Columns() const;
    TDBGridEhColumnDefValuesEh* ColumnDefValues() const;
    TDBLookupGridEhOptions Options() const;
    void SetOptions(TDBLookupGridEhOptions Value);
    TSpecRowEh* SpecRow() const { return FSpecRow.get(); }

    // Columns that were never customized in the source clear the target's.
    void Assign(const TColumnDropDownBoxEh& Source);

private:
    TPopupDataGridEh* LookupGrid() const;

    TColumnEh* FColumn;
    QPointer<TDataSource> FListSource;
    std::unique_ptr<TSpecRowEh> FSpecRow;
    bool FAutoFitColWidths = true;
    bool FUseMultiTitle = false;
};
