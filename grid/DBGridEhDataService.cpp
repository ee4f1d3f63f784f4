#include "grid/DBGridEhDataService.h"

#include "grid/DBGridEh.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"

#include <QMetaObject>
#include <vector>

namespace {

struct THandlerEntry
{
    QString ClassName; // upper-cased
    std::unique_ptr<TDatasetFeaturesEh> Features;
};

std::vector<THandlerEntry>& Registry()
{
    static std::vector<THandlerEntry> Entries;
    return Entries;
}

TDataSet* GridDataSet(TCustomDBGridEh* Grid)
{
    return Grid && Grid->DataSource() ? Grid->DataSource()->DataSet() : nullptr;
}

} // namespace

void RegisterDatasetFeaturesEh(const QString& DataSetClassName, std::unique_ptr<TDatasetFeaturesEh> Features)
{
    Registry().push_back({DataSetClassName.toUpper(), std::move(Features)});
}

void UnregisterDatasetFeaturesEh(const QString& DataSetClassName)
{
    const QString Name = DataSetClassName.toUpper();
    std::erase_if(Registry(), [&](const THandlerEntry& E) { return E.ClassName == Name; });
}

TDatasetFeaturesEh* FindDataSetHandler(const TDataSet* DataSet)
{
    if (!DataSet)
        return nullptr;
    // Entries are in registration order, so the first match of the nearest
    // class is the first registered one.
    for (const QMetaObject* M = DataSet->metaObject(); M; M = M->superClass()) {
        const QString Name = QString::fromLatin1(M->className()).toUpper();
        for (const THandlerEntry& E : Registry())
            if (E.ClassName == Name)
                return E.Features.get();
    }
    return nullptr;
}

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
        if (TDatasetFeaturesEh* F = FindDataSetHandler(D))
            F->ApplyFilter(Grid, D, true);
}

void TDBGridEhDataService::DefaultApplySorting(TCustomDBGridEh* Grid)
{
    if (TDataSet* D = GridDataSet(Grid))
        if (TDatasetFeaturesEh* F = FindDataSetHandler(D))
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
