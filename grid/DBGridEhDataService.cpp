#include "grid/DBGridEhDataService.h"

#include "grid/DBGridEh.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"

namespace {

TDataSet* GridDataSet(TCustomDBGridEh* Grid)
{
    return Grid && Grid->DataSource() ? Grid->DataSource()->DataSet() : nullptr;
}

TDatasetFeaturesEh* FeaturesOf(TDataSet* DataSet)
{
    return dynamic_cast<TDatasetFeaturesEh*>(FindDataSetHandler(DataSet));
}

} // namespace

void TDBGridEhDataService::ApplyFilter(TCustomDBGridEh* Grid)
{
    if (OnApplyFilter)
        OnApplyFilter(this, Grid);
    else
        DefaultApplyFilter(Grid);
}

void TDBGridEhDataService::ApplySorting(TCustomDBGridEh* Grid)
{
    if (OnApplySorting)
        OnApplySorting(this, Grid);
    else
        DefaultApplySorting(Grid);
}

void TDBGridEhDataService::DefaultApplyFilter(TCustomDBGridEh* Grid)
{
    if (TDataSet* D = GridDataSet(Grid))
        if (TDatasetFeaturesEh* F = FeaturesOf(D))
            F->ApplyFilter(Grid, D, true);
}

void TDBGridEhDataService::DefaultApplySorting(TCustomDBGridEh* Grid)
{
    if (TDataSet* D = GridDataSet(Grid))
        if (TDatasetFeaturesEh* F = FeaturesOf(D))
            F->ApplySorting(Grid, D, true);
}

TDBGridEhDataService* DBGridEhDataService()
{
    static TDBGridEhDataService Service;
    return &Service;
}

void TCustomDBGridEh::DataServiceApplySorting()
{
    DBGridEhDataService()->ApplySorting(this);
}
