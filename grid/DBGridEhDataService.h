// The one object through which every grid asks for its dataset to be sorted
// or filtered, and the registry of dataset handlers it falls back on. The
// program installs no handler and registers none, so by default nothing sorts
// or filters by itself: the grid's own events are the way to do it.
#pragma once

#include <QString>
#include <functional>
#include <memory>

class TCustomDBGridEh;
class TDataSet;

// What a dataset class offers the grid: applying the grid's filter row and
// sort markers to a dataset of that class.
class TDatasetFeaturesEh
{
public:
    virtual ~TDatasetFeaturesEh() = default;
    virtual void ApplyFilter(TCustomDBGridEh* Grid, TDataSet* DataSet, bool IsReopen) = 0;
    virtual void ApplySorting(TCustomDBGridEh* Grid, TDataSet* DataSet, bool IsReopen) = 0;
};

// Registers the handler for datasets of the named class and its descendants;
// the registry owns it until it is unregistered or the program ends.
void RegisterDatasetFeaturesEh(const QString& DataSetClassName, std::unique_ptr<TDatasetFeaturesEh> Features);
void UnregisterDatasetFeaturesEh(const QString& DataSetClassName);
// The handler registered for the nearest class of the dataset's class chain
// (names compared upper-cased; the first registered wins a tie); none when
// nothing matches.
TDatasetFeaturesEh* FindDataSetHandler(const TDataSet* DataSet);

class TDBGridEhDataService
{
public:
    TDBGridEhDataService() = default;
    virtual ~TDBGridEhDataService() = default;
    TDBGridEhDataService(const TDBGridEhDataService&) = delete;
    TDBGridEhDataService& operator=(const TDBGridEhDataService&) = delete;

    // The installed handler when set, else the default operation.
    virtual void ApplyFilter(TCustomDBGridEh* Grid);
    virtual void ApplySorting(TCustomDBGridEh* Grid);
    // The registered handler of the grid's dataset, when there is one.
    virtual void DefaultApplyFilter(TCustomDBGridEh* Grid);
    virtual void DefaultApplySorting(TCustomDBGridEh* Grid);

    std::function<void(TDBGridEhDataService* Sender, TCustomDBGridEh* Grid)> OnApplyFilter;
    std::function<void(TDBGridEhDataService* Sender, TCustomDBGridEh* Grid)> OnApplySorting;
};

// The service shared by all grids, made on first use, freed at exit.
TDBGridEhDataService* DBGridEhDataService();
