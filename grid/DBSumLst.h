// The sum list: running sums, averages and counts of fields of one dataset,
// kept current from the dataset's own notifications so that grid footers show
// totals without re-reading the data on every change. A full pass runs on open
// and on demand; edits, inserts, posts and deletes adjust the totals in place.
// For a dataset that cannot number its records it can also keep an ordered
// bookmark list (virtual records) that gives the grid a record number and count.
//
// Amounts are fixed-point with four decimals: a value v counts as round(v * 10000),
// halves to even, read as 64 bits. The totals are kept wider than that, so a
// total past the 64-bit range is reported as such (and read as a floating-point
// value) instead of wrapping, and taking back the amount that put it there
// makes it exact again. It does not format anything; footers do that.
#pragma once

#include "platform/db/DataSet.h"
#include "platform/rtl/Variants.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TDataSet;
class TField;
class TDBSumCollection;
class TDBSumListProducer;

enum TGroupOperation { goSum, goAvg, goCount };

// Ten-thousandths of an amount, wide enough that no total over a dataset's
// records can overflow.
using TSumUnitsEh = __int128;

// round(Value * 10000), halves to even. Amounts past 10^24 count as 10^24 and
// what is not a number counts as 0, so the bound above holds.
TSumUnitsEh SumUnits(double Value);
// Whether a total can be read as the classic 64-bit value.
bool SumUnitsFit(TSumUnitsEh Units);

class TDBSum
{
public:
    explicit TDBSum(TDBSumCollection* ACollection);

    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& Value);
    TGroupOperation GroupOperation() const { return FGroupOperation; }
    void SetGroupOperation(TGroupOperation Value);

    // The sum, the average or the count, times 10000; the nearest 64-bit
    // value when the total leaves that range.
    int64_t SumValue() const;
    // The total no longer fits in 64 bits of ten-thousandths.
    bool OutOfRange() const { return !SumUnitsFit(FSumValue); }
    // Exact while in range; past it, the nearest floating-point value.
    double Value() const { return double(FSumValue) / 10000.0; }
    TDBSumCollection* Collection() const { return FCollection; }
    int Index() const;

private:
    friend class TDBSumListProducer;
    friend class TDBSumCollection;
    // Counted in a pass: every count, and sums and averages that name a field.
    bool Counted() const { return FGroupOperation == goCount || !FFieldName.isEmpty(); }

    TDBSumCollection* FCollection;
    QString FFieldName;
    TGroupOperation FGroupOperation = goSum;
    TSumUnitsEh FSumValue = 0;
    TSumUnitsEh FOldContribution = 0; // the current record's share when editing began
    TSumUnitsEh FRunningSum = 0;      // averages only
    int FCount = 0;               // averages only: values that are not null
    Variant FOldValue;
    // What a record being deleted takes off once the delete has succeeded.
    TSumUnitsEh FDeleteShare = 0;
    bool FDeleteCounts = false;
};

class TDBSumCollection
{
public:
    explicit TDBSumCollection(TDBSumListProducer* AProducer);
    ~TDBSumCollection();
    TDBSumCollection(const TDBSumCollection&) = delete;
    TDBSumCollection& operator=(const TDBSumCollection&) = delete;

    int Count() const { return int(FItems.size()); }
    TDBSum* Items(int Index) const; // raises EListError out of range
    TDBSum* Add();
    void Delete(int Index);
    void Remove(TDBSum* Item);
    void Clear();
    int IndexOf(const TDBSum* Item) const;
    // Copies field names and operations.
    void Assign(const TDBSumCollection& Source);

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    // Tells the producer that the set of sums changed (once per outermost update).
    void Update();

private:
    TDBSumListProducer* FProducer;
    std::vector<std::unique_ptr<TDBSum>> FItems;
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
};

class TDBSumListProducer
{
public:
    explicit TDBSumListProducer(QObject* AOwner);
    virtual ~TDBSumListProducer();
    TDBSumListProducer(const TDBSumListProducer&) = delete;
    TDBSumListProducer& operator=(const TDBSumListProducer&) = delete;

    QObject* Owner() const { return FOwner; }
    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* Value);
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    bool ExternalRecalc() const { return FExternalRecalc; }
    void SetExternalRecalc(bool Value);
    bool VirtualRecords() const { return FVirtualRecords; }
    void SetVirtualRecords(bool Value);
    TDBSumCollection* SumCollection() const { return FSumCollection.get(); }
    bool Hooked() const { return FHooked; }
    bool Recalculating() const { return FRecalculating; }

    // Called by the owner when it has finished reading its settings.
    void Loaded();

    virtual void RecalcAll();
    // Takes a delete the dataset has carried out off the totals, and
    // recalculates when the dataset's filter changed since the last full pass.
    // Scrolling checks it; a data-aware control also calls it on a data change,
    // since a new filter need not move the cursor and a control may read the
    // totals before the dataset's own events after a delete have run.
    void CheckDataChanged();
    virtual void ClearSums();
    virtual int GetRecNo() const;
    virtual void SetRecNo(int Value);
    virtual int GetRecordCount() const;
    virtual bool IsSequenced() const;
    // Position in the virtual-record list, -1 when absent; moves the search cursor.
    virtual int IndexOfBookmark(const TBookmark& Bookmark);
    int VirtualRecordCount() const { return int(FBookmarks.size()); }
    TBookmark VirtualRecord(int Index) const { return FBookmarks.at(size_t(Index)); }

    // The first sum of that operation whose field name equals Name without regard to case.
    TDBSum* FindSumByOperationAndField(TGroupOperation Operation, const QString& Name) const;
    void Assign(const TDBSumListProducer& Source);

    std::function<void(TDBSumListProducer* Sender)> OnRecalcAll;
    std::function<void(TDBSumListProducer* Sender)> OnAfterRecalcAll;
    std::function<void(TDBSumListProducer* Sender)> SumListChanged;

protected:
    // True while the owner reads its settings; recalculation waits until it is done.
    virtual bool OwnerLoading() const { return false; }

    virtual void Hook();
    virtual void Unhook();
    virtual void DataSetAfterOpen(TDataSet* DataSet);
    virtual void DataSetAfterClose(TDataSet* DataSet);
    virtual void DataSetAfterEdit(TDataSet* DataSet);
    virtual void DataSetAfterInsert(TDataSet* DataSet);
    virtual void DataSetAfterPost(TDataSet* DataSet);
    virtual void DataSetAfterCancel(TDataSet* DataSet);
    virtual void DataSetAfterScroll(TDataSet* DataSet);
    virtual void DataSetBeforeDelete(TDataSet* DataSet);
    virtual void DataSetAfterRefresh(TDataSet* DataSet);
    virtual void MasterDataSetAfterScroll(TDataSet* DataSet);

private:
    friend class TDBSumCollection;
    struct THookLink;
    struct THookHandler;

    bool UseVirtual() const;
    void Dispatch(int Kind, TDataSet* DataSet);

    void SumCollectionChanged();
    void Activate(bool DoRecalc);
    void Deactivate();
    void ScanDataSet();
    void FinishAverages();
    void ClearBookmarks();
    void PlacePendingInsert();
    void SettleDelete();
    int FindBookmark(const TBookmark& Bookmark) const;
    void CallSaved(int Kind, TDataSet* DataSet) const;
    TField* SumField(const TDBSum* Sum) const;
    void DataSetDestroyed();
    void Notify(const std::function<void(TDBSumListProducer*)>& Event);

    QObject* FOwner;
    std::unique_ptr<TDBSumCollection> FSumCollection;
    QPointer<TDataSet> FDataSet;
    QPointer<TDataSet> FMasterDataSet;
    std::vector<std::shared_ptr<THookLink>> FLinks; // one per hooked event while hooked
    std::vector<TBookmark> FBookmarks;
    TBookmark FDeleting;           // the record of a delete not yet known to have succeeded
    QMetaObject::Connection FDestroyedConnection;
    QString FFilter;
    mutable int FVirtualIndex = -1; // search cursor of the bookmark list, a cache only
    bool FActive = false;
    bool FExternalRecalc = false;
    bool FVirtualRecords = false;
    bool FHooked = false;
    bool FRecalculating = false;
    bool FInsertPending = false;
    bool FDeletePending = false;
    bool FFiltered = false;
    bool FDestroying = false;
};
