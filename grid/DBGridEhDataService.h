// The one object through which every grid asks for its dataset to be sorted
// or filtered; without an installed handler it falls back on the dataset
// handler registered for the dataset's class. The program installs and
// registers none, so by default nothing sorts or filters by itself: the
// grid's own events are the way to do it.
#pragma once

#include "grid/DbUtilsEh.h"

#include <QString>
#include <functional>
#include <memory>

class TCustomDBGridEh;
class TDataSet;

// A dataset handler (DbUtilsEh's registry) that applies the grid's filter
// row and sort markers to datasets of its class.
class TDatasetFeaturesEh : public TDataSetHandlerEh
{
public:
    virtual void ApplyFilter(TCustomDBGridEh* Grid, TDataSet* DataSet, bool IsReopen) = 0;
    virtual void ApplySorting(TCustomDBGridEh* Grid, TDataSet* DataSet, bool IsReopen) = 0;
};

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
