#include "grid/DBSumLst.h"

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

enum THookKind : int {
    hkAfterEdit,
    hkAfterInsert,
    hkAfterOpen,
    hkAfterPost,
    hkAfterScroll,
    hkBeforeDelete,
    hkAfterClose,
    hkAfterCancel,
    hkAfterRefresh,
    hkMasterAfterScroll,
    hkCount
};

TDataSetNotifyEvent& EventSlot(TDataSet* DataSet, int Kind)
{
    switch (Kind) {
    case hkAfterEdit: return DataSet->AfterEdit;
    case hkAfterInsert: return DataSet->AfterInsert;
    case hkAfterOpen: return DataSet->AfterOpen;
    case hkAfterPost: return DataSet->AfterPost;
    case hkBeforeDelete: return DataSet->BeforeDelete;
    case hkAfterClose: return DataSet->AfterClose;
    case hkAfterCancel: return DataSet->AfterCancel;
    case hkAfterRefresh: return DataSet->AfterRefresh;
    default: return DataSet->AfterScroll; // the dataset's own or the master's
    }
}

TSumUnitsEh Contribution(const TField* Field)
{
    return SumUnits(Field->AsFloat());
}

// Num / Den rounded to the nearest integer, halves to even (Den > 0).
TSumUnitsEh RoundDiv(TSumUnitsEh Num, int Den)
{
    TSumUnitsEh Q = Num / Den;
    TSumUnitsEh R = Num % Den;
    if (R < 0) {
        --Q;
        R += Den;
    }
    const TSumUnitsEh Twice = 2 * R;
    if (Twice > Den || (Twice == Den && (Q & 1)))
        ++Q;
    return Q;
}

// 10^28 ten-thousandths: even INT_MAX records of it stay far inside 128 bits.
constexpr double MaxUnits = 1e28;

} // namespace

TSumUnitsEh SumUnits(double Value)
{
    const double Units = std::nearbyint(Value * 10000.0);
    if (std::isnan(Units))
        return 0;
    return TSumUnitsEh(std::clamp(Units, -MaxUnits, MaxUnits));
}

bool SumUnitsFit(TSumUnitsEh Units)
{
    return Units >= std::numeric_limits<int64_t>::min() && Units <= std::numeric_limits<int64_t>::max();
}

// ---------------------------------------------------------------- TDBSum

TDBSum::TDBSum(TDBSumCollection* ACollection)
    : FCollection(ACollection), FOldValue(Variant::Null())
{
}

void TDBSum::SetFieldName(const QString& Value)
{
    if (Value == FFieldName)
        return;
    FFieldName = Value;
    if (FCollection)
        FCollection->Update();
}

void TDBSum::SetGroupOperation(TGroupOperation Value)
{
    if (Value == FGroupOperation)
        return;
    FGroupOperation = Value;
    if (FCollection)
        FCollection->Update();
}

int64_t TDBSum::SumValue() const
{
    if (SumUnitsFit(FSumValue))
        return int64_t(FSumValue);
    return FSumValue < 0 ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
}

int TDBSum::Index() const
{
    return FCollection ? FCollection->IndexOf(this) : -1;
}

// ---------------------------------------------------------------- TDBSumCollection

TDBSumCollection::TDBSumCollection(TDBSumListProducer* AProducer) : FProducer(AProducer) {}

TDBSumCollection::~TDBSumCollection() = default;

TDBSum* TDBSumCollection::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems[size_t(Index)].get();
}

TDBSum* TDBSumCollection::Add()
{
    FItems.push_back(std::make_unique<TDBSum>(this));
    Update();
    return FItems.back().get();
}

void TDBSumCollection::Delete(int Index)
{
    Items(Index);
    FItems.erase(FItems.begin() + Index);
    Update();
}

void TDBSumCollection::Remove(TDBSum* Item)
{
    const int Index = IndexOf(Item);
    if (Index >= 0)
        Delete(Index);
}

void TDBSumCollection::Clear()
{
    if (FItems.empty())
        return;
    FItems.clear();
    Update();
}

int TDBSumCollection::IndexOf(const TDBSum* Item) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == Item)
            return int(i);
    return -1;
}

void TDBSumCollection::Assign(const TDBSumCollection& Source)
{
    if (&Source == this)
        return;
    BeginUpdate();
    FItems.clear();
    for (const auto& Item : Source.FItems) {
        auto Copy = std::make_unique<TDBSum>(this);
        Copy->FFieldName = Item->FFieldName;
        Copy->FGroupOperation = Item->FGroupOperation;
        FItems.push_back(std::move(Copy));
    }
    Update();
    EndUpdate();
}

void TDBSumCollection::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChangedInUpdate) {
        FChangedInUpdate = false;
        Update();
    }
}

void TDBSumCollection::Update()
{
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    if (FProducer)
        FProducer->SumCollectionChanged();
}

// ---------------------------------------------------------------- hooking

// One taken-over event. While the producer is hooked it receives the event;
// after it unhooks from under a handler installed later by someone else, the
// link stays in that chain as a plain pass-through to the handler it saved.
struct TDBSumListProducer::THookLink
{
    TDBSumListProducer* Producer = nullptr;
    TDataSetNotifyEvent Saved;
    int Kind = 0;
};

struct TDBSumListProducer::THookHandler
{
    std::shared_ptr<THookLink> Link;

    void operator()(TDataSet* DataSet) const
    {
        const std::shared_ptr<THookLink> Keep = Link; // the slot may be reassigned during the call
        if (Keep->Producer)
            Keep->Producer->Dispatch(Keep->Kind, DataSet);
        else if (Keep->Saved)
            Keep->Saved(DataSet);
    }
};

TDBSumListProducer::TDBSumListProducer(QObject* AOwner)
    : FOwner(AOwner), FSumCollection(std::make_unique<TDBSumCollection>(this))
{
}

TDBSumListProducer::~TDBSumListProducer()
{
    FDestroying = true;
    FActive = false;
    Unhook();
    QObject::disconnect(FDestroyedConnection);
}

void TDBSumListProducer::Hook()
{
    if (!FDataSet || FHooked)
        return;
    TDataSource* Master = FDataSet->MasterSource();
    FMasterDataSet = Master ? Master->DataSet() : nullptr;
    FLinks.assign(hkCount, nullptr);
    for (int Kind = 0; Kind < hkCount; ++Kind) {
        TDataSet* Target = Kind == hkMasterAfterScroll ? FMasterDataSet.data() : FDataSet.data();
        if (!Target)
            continue;
        auto Link = std::make_shared<THookLink>();
        Link->Producer = this;
        Link->Kind = Kind;
        TDataSetNotifyEvent& Slot = EventSlot(Target, Kind);
        Link->Saved = std::move(Slot);
        Slot = THookHandler{Link};
        FLinks[size_t(Kind)] = std::move(Link);
    }
    FHooked = true;
}

void TDBSumListProducer::Unhook()
{
    for (int Kind = 0; Kind < int(FLinks.size()); ++Kind) {
        const std::shared_ptr<THookLink>& Link = FLinks[size_t(Kind)];
        if (!Link)
            continue;
        TDataSet* Target = Kind == hkMasterAfterScroll ? FMasterDataSet.data() : FDataSet.data();
        Link->Producer = nullptr;
        if (!Target)
            continue;
        TDataSetNotifyEvent& Slot = EventSlot(Target, Kind);
        const THookHandler* Top = Slot.target<THookHandler>();
        // Someone installed a handler over ours: stay in the chain as a pass-through
        // rather than cut their handler off or leave it calling a dead producer.
        if (Top && Top->Link == Link)
            Slot = std::move(Link->Saved);
    }
    FLinks.clear();
    FMasterDataSet = nullptr;
    FHooked = false;
    FDeletePending = false;
    ClearBookmarks();
}

void TDBSumListProducer::DataSetDestroyed()
{
    // The dataset's events are gone with it: only forget the links.
    for (const auto& Link : FLinks)
        if (Link)
            Link->Producer = nullptr;
    FLinks.clear();
    FMasterDataSet = nullptr;
    FHooked = false;
    FDeletePending = false;
    FBookmarks.clear();
    FVirtualIndex = -1;
    FDataSet = nullptr;
}

void TDBSumListProducer::CallSaved(int Kind, TDataSet* DataSet) const
{
    if (Kind >= int(FLinks.size()) || !FLinks[size_t(Kind)])
        return;
    // The handler that called us holds the link alive for the length of the call.
    const THookLink* Link = FLinks[size_t(Kind)].get();
    if (Link->Saved)
        Link->Saved(DataSet);
}

void TDBSumListProducer::Dispatch(int Kind, TDataSet* DataSet)
{
    switch (Kind) {
    case hkAfterEdit: DataSetAfterEdit(DataSet); break;
    case hkAfterInsert: DataSetAfterInsert(DataSet); break;
    case hkAfterOpen: DataSetAfterOpen(DataSet); break;
    case hkAfterPost: DataSetAfterPost(DataSet); break;
    case hkAfterScroll: DataSetAfterScroll(DataSet); break;
    case hkBeforeDelete: DataSetBeforeDelete(DataSet); break;
    case hkAfterClose: DataSetAfterClose(DataSet); break;
    case hkAfterCancel: DataSetAfterCancel(DataSet); break;
    case hkAfterRefresh: DataSetAfterRefresh(DataSet); break;
    case hkMasterAfterScroll: MasterDataSetAfterScroll(DataSet); break;
    default: break;
    }
}

// ---------------------------------------------------------------- properties

void TDBSumListProducer::SetDataSet(TDataSet* Value)
{
    if (Value == FDataSet)
        return;
    const bool WasActive = FActive;
    if (WasActive && !OwnerLoading())
        Deactivate();
    QObject::disconnect(FDestroyedConnection);
    FDataSet = Value;
    if (Value)
        FDestroyedConnection = QObject::connect(Value, &QObject::destroyed, [this] { DataSetDestroyed(); });
    if (WasActive && !OwnerLoading())
        Activate(true);
}

void TDBSumListProducer::SetActive(bool Value)
{
    if (Value == FActive)
        return;
    if (Value)
        Activate(true);
    else
        Deactivate();
}

void TDBSumListProducer::Activate(bool DoRecalc)
{
    FActive = true;
    if (OwnerLoading())
        return;
    Hook();
    if (DoRecalc)
        RecalcAll();
}

void TDBSumListProducer::Deactivate()
{
    FActive = false;
    Unhook();
    ClearSums();
}

void TDBSumListProducer::Loaded()
{
    if (FActive && !OwnerLoading()) {
        Hook();
        RecalcAll();
    }
}

void TDBSumListProducer::SetExternalRecalc(bool Value)
{
    if (Value == FExternalRecalc)
        return;
    FExternalRecalc = Value;
    RecalcAll();
}

void TDBSumListProducer::SetVirtualRecords(bool Value)
{
    if (Value == FVirtualRecords)
        return;
    FVirtualRecords = Value;
    if (Value)
        RecalcAll();
    else
        ClearBookmarks();
}

void TDBSumListProducer::SumCollectionChanged()
{
    if (!OwnerLoading() && !FDestroying)
        RecalcAll();
}

void TDBSumListProducer::Assign(const TDBSumListProducer& Source)
{
    if (&Source == this)
        return;
    SetActive(false);
    SetDataSet(Source.DataSet());
    FSumCollection->Assign(*Source.SumCollection());
    FExternalRecalc = Source.FExternalRecalc;
    FVirtualRecords = Source.FVirtualRecords;
    SumListChanged = Source.SumListChanged;
    OnRecalcAll = Source.OnRecalcAll;
    OnAfterRecalcAll = Source.OnAfterRecalcAll;
    SetActive(Source.Active());
}

TDBSum* TDBSumListProducer::FindSumByOperationAndField(TGroupOperation Operation, const QString& Name) const
{
    for (int i = 0; i < FSumCollection->Count(); ++i) {
        TDBSum* Sum = FSumCollection->Items(i);
        if (Sum->GroupOperation() == Operation && AnsiCompareText(Sum->FieldName(), Name) == 0)
            return Sum;
    }
    return nullptr;
}

void TDBSumListProducer::Notify(const std::function<void(TDBSumListProducer*)>& Event)
{
    if (Event)
        Event(this);
}

TField* TDBSumListProducer::SumField(const TDBSum* Sum) const
{
    if (!FDataSet || Sum->FFieldName.isEmpty())
        return nullptr;
    return FDataSet->FindField(Sum->FFieldName);
}

// ---------------------------------------------------------------- recalculation

void TDBSumListProducer::ClearSums()
{
    for (int i = 0; i < FSumCollection->Count(); ++i) {
        TDBSum* Sum = FSumCollection->Items(i);
        Sum->FSumValue = 0;
        Sum->FRunningSum = 0;
        Sum->FCount = 0;
        Sum->FOldContribution = 0;
    }
    FDeletePending = false;
}

void TDBSumListProducer::RecalcAll()
{
    if (OwnerLoading() || !FActive || !FDataSet || !FDataSet->Active() || !FHooked)
        return;
    ClearSums();
    FVirtualIndex = -1;
    Notify(OnRecalcAll);
    if (!FExternalRecalc) {
        bool Needed = UseVirtual();
        for (int i = 0; i < FSumCollection->Count() && !Needed; ++i)
            Needed = FSumCollection->Items(i)->Counted();
        if (Needed)
            ScanDataSet();
    }
    Notify(OnAfterRecalcAll);
    FFiltered = FDataSet->Filtered();
    FFilter = FDataSet->Filter();
    FRecalculating = false;
    Notify(SumListChanged);
}

void TDBSumListProducer::ScanDataSet()
{
    struct TEntry
    {
        TDBSum* Sum;
        TField* Field;
    };
    std::vector<TEntry> Entries;
    for (int i = 0; i < FSumCollection->Count(); ++i) {
        TDBSum* Sum = FSumCollection->Items(i);
        TField* Field = SumField(Sum);
        // A sum over a field the dataset lacks stays 0 rather than failing the grid.
        if (Sum->GroupOperation() == goCount || Field)
            Entries.push_back({Sum, Field});
    }
    const bool Virtual = UseVirtual();
    TDataSet* DataSet = FDataSet;
    DataSet->DisableControls();
    ClearBookmarks();
    FRecalculating = true;
    try {
        DataSet->First();
        while (!DataSet->Eof()) {
            for (const TEntry& E : Entries) {
                TDBSum* Sum = E.Sum;
                const bool Null = E.Field && E.Field->IsNull();
                switch (Sum->FGroupOperation) {
                case goSum:
                    if (!Null)
                        Sum->FSumValue += Contribution(E.Field);
                    break;
                case goAvg:
                    if (!Null) {
                        ++Sum->FCount;
                        Sum->FRunningSum += Contribution(E.Field);
                    }
                    break;
                case goCount:
                    if (!Null)
                        Sum->FSumValue += 10000;
                    break;
                }
            }
            if (Virtual)
                FBookmarks.push_back(DataSet->GetBookmark());
            DataSet->Next();
        }
        DataSet->First();
    } catch (...) {
        // Half a pass is no total: show none, give the controls back and say so.
        ClearSums();
        ClearBookmarks();
        if (FDataSet)
            DataSet->EnableControls();
        FRecalculating = false;
        Notify(SumListChanged);
        throw;
    }
    FinishAverages();
    DataSet->EnableControls();
}

void TDBSumListProducer::FinishAverages()
{
    for (int i = 0; i < FSumCollection->Count(); ++i) {
        TDBSum* Sum = FSumCollection->Items(i);
        if (Sum->FGroupOperation == goAvg)
            Sum->FSumValue = Sum->FCount == 0 ? 0 : RoundDiv(Sum->FRunningSum, Sum->FCount);
    }
}

// ---------------------------------------------------------------- dataset events

void TDBSumListProducer::DataSetAfterOpen(TDataSet* DataSet)
{
    if (FActive)
        RecalcAll();
    CallSaved(hkAfterOpen, DataSet);
}

void TDBSumListProducer::DataSetAfterClose(TDataSet* DataSet)
{
    if (FActive) {
        ClearSums();
        Notify(SumListChanged);
        FRecalculating = false;
        ClearBookmarks();
    }
    CallSaved(hkAfterClose, DataSet);
}

void TDBSumListProducer::DataSetAfterEdit(TDataSet* DataSet)
{
    if (FActive) {
        for (int i = 0; i < FSumCollection->Count(); ++i) {
            TDBSum* Sum = FSumCollection->Items(i);
            if (!Sum->Counted())
                continue;
            const TField* Field = SumField(Sum);
            const bool Null = !Field || Field->IsNull();
            if (Sum->FGroupOperation == goCount) {
                Sum->FOldContribution = Field && Field->IsNull() ? 0 : 10000;
            } else {
                Sum->FOldContribution = Null ? 0 : Contribution(Field);
                Sum->FOldValue = Null ? Variant::Null() : Field->AsVariant();
            }
        }
    }
    CallSaved(hkAfterEdit, DataSet);
}

void TDBSumListProducer::DataSetAfterInsert(TDataSet* DataSet)
{
    if (FActive) {
        // A new record counted for nothing before, whatever OnNewRecord put in it.
        for (int i = 0; i < FSumCollection->Count(); ++i) {
            TDBSum* Sum = FSumCollection->Items(i);
            Sum->FOldContribution = 0;
            Sum->FOldValue = Variant::Null();
        }
        // Its place in the bookmark list is known only once it is posted; a
        // cancelled insert then leaves nothing behind.
        FInsertPending = UseVirtual();
    }
    CallSaved(hkAfterInsert, DataSet);
}

void TDBSumListProducer::DataSetAfterPost(TDataSet* DataSet)
{
    if (FRecalculating) {
        // The pass moving off an edited record posts it; the pass counts it itself.
        FInsertPending = false;
    } else if (FActive) {
        for (int i = 0; i < FSumCollection->Count(); ++i) {
            TDBSum* Sum = FSumCollection->Items(i);
            if (!Sum->Counted())
                continue;
            const TField* Field = SumField(Sum);
            const bool Null = !Field || Field->IsNull();
            switch (Sum->FGroupOperation) {
            case goSum:
                Sum->FSumValue += (Null ? 0 : Contribution(Field)) - Sum->FOldContribution;
                break;
            case goAvg:
                if (Null) {
                    if (!Sum->FOldValue.IsNull())
                        --Sum->FCount;
                    Sum->FRunningSum -= Sum->FOldContribution;
                } else {
                    if (Sum->FOldValue.IsNull())
                        ++Sum->FCount;
                    Sum->FRunningSum += Contribution(Field) - Sum->FOldContribution;
                }
                Sum->FSumValue = Sum->FCount == 0 ? 0 : RoundDiv(Sum->FRunningSum, Sum->FCount);
                break;
            case goCount:
                Sum->FSumValue += (Field && Field->IsNull() ? 0 : 10000) - Sum->FOldContribution;
                break;
            }
            // The posted record now counts with its new value.
            Sum->FOldContribution = 0;
            Sum->FOldValue = Variant::Null();
        }
        if (FInsertPending && UseVirtual())
            PlacePendingInsert();
        FInsertPending = false;
        Notify(SumListChanged);
    }
    CallSaved(hkAfterPost, DataSet);
}

void TDBSumListProducer::DataSetAfterCancel(TDataSet* DataSet)
{
    CallSaved(hkAfterCancel, DataSet);
    if (FActive)
        FInsertPending = false;
}

void TDBSumListProducer::DataSetAfterScroll(TDataSet* DataSet)
{
    CallSaved(hkAfterScroll, DataSet);
    CheckDataChanged();
}

void TDBSumListProducer::DataSetAfterRefresh(TDataSet* DataSet)
{
    // Every row may have changed. The pass ends on the first record; the
    // refresh had kept the user's one.
    if (FActive && !FRecalculating) {
        const TBookmark Here = DataSet->GetBookmark();
        RecalcAll();
        if (!Here.isEmpty() && DataSet->BookmarkValid(Here) && DataSet->CompareBookmarks(Here, DataSet->GetBookmark()) != 0)
            DataSet->GotoBookmark(Here);
    }
    CallSaved(hkAfterRefresh, DataSet);
}

void TDBSumListProducer::CheckDataChanged()
{
    if (!FActive || FRecalculating || !FHooked || !FDataSet || !FDataSet->Active())
        return;
    SettleDelete();
    const bool Filtered = FDataSet->Filtered();
    if (Filtered != FFiltered || (Filtered && FDataSet->Filter() != FFilter))
        RecalcAll();
}

void TDBSumListProducer::MasterDataSetAfterScroll(TDataSet* DataSet)
{
    CallSaved(hkMasterAfterScroll, DataSet);
    if (FActive && !FRecalculating)
        RecalcAll();
}

void TDBSumListProducer::DataSetBeforeDelete(TDataSet* DataSet)
{
    CallSaved(hkBeforeDelete, DataSet);
    if (!FActive || !FDataSet)
        return;
    SettleDelete();
    // The record's share comes off only once it is gone: a delete the database
    // refuses leaves the record, and its amount, where they were. A record
    // deleted in the middle of an edit counted with its stored value, not with
    // what was typed since.
    const bool Editing = FDataSet->State() == dsEdit;
    for (int i = 0; i < FSumCollection->Count(); ++i) {
        TDBSum* Sum = FSumCollection->Items(i);
        if (!Sum->Counted())
            continue;
        const TField* Field = SumField(Sum);
        if (Sum->FGroupOperation == goCount) {
            Sum->FDeleteShare = 10000;
            Sum->FDeleteCounts = Editing ? Sum->FOldContribution != 0 : !(Field && Field->IsNull());
        } else if (Editing) {
            Sum->FDeleteShare = Sum->FOldContribution;
            Sum->FDeleteCounts = !Sum->FOldValue.IsNull();
        } else {
            Sum->FDeleteCounts = Field && !Field->IsNull();
            Sum->FDeleteShare = Sum->FDeleteCounts ? Contribution(Field) : 0;
        }
    }
    FDeleting = FDataSet->GetBookmark();
    FDeletePending = true;
}

// Called on the first notification after a delete began: when the record is
// gone the delete succeeded and its share comes off; when it is still there
// the delete failed and nothing changes.
void TDBSumListProducer::SettleDelete()
{
    if (!FDeletePending)
        return;
    FDeletePending = false;
    if (!FDataSet || FDataSet->BookmarkValid(FDeleting))
        return;
    for (int i = 0; i < FSumCollection->Count(); ++i) {
        TDBSum* Sum = FSumCollection->Items(i);
        if (!Sum->Counted())
            continue;
        switch (Sum->FGroupOperation) {
        case goSum:
            Sum->FSumValue -= Sum->FDeleteShare;
            break;
        case goAvg:
            Sum->FRunningSum -= Sum->FDeleteShare;
            if (Sum->FDeleteCounts)
                --Sum->FCount;
            Sum->FSumValue = Sum->FCount == 0 ? 0 : RoundDiv(Sum->FRunningSum, Sum->FCount);
            break;
        case goCount:
            if (Sum->FDeleteCounts)
                Sum->FSumValue -= Sum->FDeleteShare;
            break;
        }
    }
    if (UseVirtual()) {
        const int Index = IndexOfBookmark(FDeleting);
        if (Index >= 0) {
            FDataSet->FreeBookmark(FBookmarks[size_t(Index)]);
            FBookmarks.erase(FBookmarks.begin() + Index);
        }
    }
    Notify(SumListChanged);
}

// ---------------------------------------------------------------- virtual records

bool TDBSumListProducer::UseVirtual() const
{
    return FActive && FVirtualRecords && FDataSet && !FDataSet->IsSequenced();
}

void TDBSumListProducer::ClearBookmarks()
{
    if (FDataSet)
        for (TBookmark& B : FBookmarks)
            FDataSet->FreeBookmark(B);
    FBookmarks.clear();
    FVirtualIndex = -1;
}

int TDBSumListProducer::IndexOfBookmark(const TBookmark& Bookmark)
{
    return FindBookmark(Bookmark);
}

int TDBSumListProducer::FindBookmark(const TBookmark& Bookmark) const
{
    const int Count = int(FBookmarks.size());
    if (Count == 0 || !FDataSet)
        return -1;
    int i = FVirtualIndex < 0 || FVirtualIndex >= Count ? 0 : FVirtualIndex;
    int c = FDataSet->CompareBookmarks(FBookmarks[size_t(i)], Bookmark);
    const int Step = c > 0 ? -1 : 1;
    while (c != 0) {
        i += Step;
        if (i < 0 || i >= Count)
            return -1;
        c = FDataSet->CompareBookmarks(FBookmarks[size_t(i)], Bookmark);
        if (c != 0 && (c > 0) != (Step < 0))
            return -1; // walked past where it would be
    }
    FVirtualIndex = i;
    return i;
}

void TDBSumListProducer::PlacePendingInsert()
{
    const TBookmark New = FDataSet->GetBookmark();
    if (New.isEmpty() || IndexOfBookmark(New) >= 0)
        return;
    const int Count = int(FBookmarks.size());
    int i = FVirtualIndex < 0 || FVirtualIndex >= Count ? 0 : FVirtualIndex;
    if (Count > 0 && FDataSet->CompareBookmarks(FBookmarks[size_t(i)], New) < 0) {
        while (i < Count && FDataSet->CompareBookmarks(FBookmarks[size_t(i)], New) < 0)
            ++i;
    } else {
        while (i > 0 && FDataSet->CompareBookmarks(FBookmarks[size_t(i - 1)], New) > 0)
            --i;
    }
    FBookmarks.insert(FBookmarks.begin() + i, New);
    FVirtualIndex = i;
}

bool TDBSumListProducer::IsSequenced() const
{
    if (!FDataSet || FDataSet->IsSequenced())
        return true;
    if (FActive && FVirtualRecords)
        return !FBookmarks.empty() || (FDataSet->Bof() && FDataSet->Eof());
    return false;
}

int TDBSumListProducer::GetRecordCount() const
{
    if (!FDataSet || !FDataSet->Active())
        return 0;
    return UseVirtual() ? int(FBookmarks.size()) : FDataSet->RecordCount();
}

int TDBSumListProducer::GetRecNo() const
{
    if (!FDataSet || !FDataSet->Active())
        return -1;
    if (!UseVirtual())
        return FDataSet->RecNo();
    return 1 + FindBookmark(FDataSet->GetBookmark());
}

void TDBSumListProducer::SetRecNo(int Value)
{
    if (!FDataSet || !FDataSet->Active())
        return;
    if (!UseVirtual()) {
        FDataSet->SetRecNo(Value);
        return;
    }
    if (Value >= 1 && Value <= int(FBookmarks.size())) {
        FVirtualIndex = Value - 1;
        FDataSet->GotoBookmark(FBookmarks[size_t(Value - 1)]);
    }
}
