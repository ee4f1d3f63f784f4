// TDataSet: state, fields, navigation, bookmarks and notifications.
// Editing lives in DataSetEdit.cpp, searching and filtering in DataSetLocate.cpp.
#include "platform/db/DataSet.h"

#include "platform/db/DataSource.h"
#include "platform/db/RowStore_p.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

void TFieldDefs::Add(const QString& Name, TFieldType DataType, int Size, bool Required)
{
    TFieldDef D;
    D.Name = Name;
    D.DataType = DataType;
    D.Size = Size;
    D.Required = Required;
    FItems.push_back(D);
}

int TFieldDefs::IndexOf(const QString& Name) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].Name.compare(Name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

TDataSet::TDataSet(QObject* AOwner)
    : QObject(AOwner), FStore(std::make_unique<TRowStore>())
{
}

TDataSet::~TDataSet()
{
    // Links must hear that the data went away, but no user event runs from a destructor.
    if (Active()) {
        FState = dsInactive;
        NotifyLinks(deUpdateState, 0);
    }
    const auto Sources = FDataSources;
    FDataSources.clear();
    for (const auto& Source : Sources)
        if (Source)
            Source->SetDataSet(nullptr);
    for (TField* F : FFields)
        F->FDataSet = nullptr;
}

// ---------------------------------------------------------------- state

void TDataSet::SetActive(bool Value)
{
    if (Value == Active())
        return;
    if (Value) {
        DoEvent(BeforeOpen);
        OpenCursor();
        SetState(dsBrowse);
        DoEvent(AfterOpen);
        DoEvent(AfterScroll);
    } else {
        DoEvent(BeforeClose);
        SetState(dsInactive);
        CloseCursor();
        DoEvent(AfterClose);
    }
}

void TDataSet::OpenCursor()
{
    try {
        InternalOpen();
        CreateFields();
        RebuildRecords();
    } catch (...) {
        InternalClose();
        DestroyDefaultFields();
        FRecs.clear();
        throw;
    }
    FCurrent = FRecs.empty() ? -1 : 0;
    FActive = FCurrent;
    FBof = true;
    FEof = FRecs.empty();
}

void TDataSet::CloseCursor()
{
    FEditCells.clear();
    FChanged.clear();
    FModified = false;
    FInsertedIndex = -1;
    InternalClose();
    DestroyDefaultFields();
    FRecs.clear();
    FCurrent = FActive = -1;
    FBof = FEof = true;
}

void TDataSet::InternalClose()
{
    FStore->Reset(FStore->FieldCount);
}

void TDataSet::InternalPost(uint32_t, bool, const std::vector<bool>&)
{
}

void TDataSet::InternalDelete(uint32_t)
{
}

void TDataSet::InternalRefresh()
{
    // Fields stay: links and windows hold them.
    InternalClose();
    InternalOpen();
    for (TField* F : FFields)
        if (F->FFieldKind == fkData)
            F->FFieldNo = FFieldDefs.IndexOf(F->FFieldName);
}

void TDataSet::SetState(TDataSetState Value)
{
    if (FState == Value)
        return;
    FState = Value;
    FModified = false;
    DataEvent(deUpdateState);
}

bool TDataSet::CanModify() const
{
    return !FReadOnly && InternalCanModify();
}

void TDataSet::CheckActive() const
{
    if (!Active())
        throw EDatabaseError(QStringLiteral("%1: Cannot perform this operation on a closed dataset")
                                 .arg(objectName()));
}

void TDataSet::DoEvent(const TDataSetNotifyEvent& Event)
{
    if (Event)
        Event(this);
}

// ---------------------------------------------------------------- fields

void TDataSet::CreateFields()
{
    const int Count = FFieldDefs.Count();
    // Persistent fields bind to their column by name; the rest get default fields.
    for (TField* F : FFields)
        if (F->FFieldKind == fkData) {
            F->FFieldNo = FFieldDefs.IndexOf(F->FFieldName);
            if (F->FFieldNo < 0)
                throw EDatabaseError(QStringLiteral("%1: Field '%2' not found")
                                         .arg(objectName(), F->FFieldName));
            if (F->FDataType == ftUnknown)
                F->FDataType = FFieldDefs.Items(F->FFieldNo).DataType;
        }
    const bool HavePersistent = !FFields.empty();
    if (HavePersistent)
        return;
    for (int i = 0; i < Count; ++i) {
        const TFieldDef& D = FFieldDefs.Items(i);
        auto* F = new TField(this);
        F->FFieldName = D.Name;
        F->FDataType = D.DataType;
        F->FSize = D.Size;
        F->FRequired = D.Required;
        F->FReadOnly = D.ReadOnly;
        F->FFieldNo = i;
        F->FDefault = true;
        F->FDataSet = this;
        FFields.push_back(F);
    }
}

void TDataSet::DestroyDefaultFields()
{
    std::vector<TField*> Keep;
    for (TField* F : FFields) {
        if (F->FDefault) {
            F->FDataSet = nullptr;
            delete F;
        } else {
            Keep.push_back(F);
        }
    }
    FFields.swap(Keep);
}

void TDataSet::AddField(TField* Field)
{
    if (Active())
        throw EDatabaseError(QStringLiteral("%1: Cannot perform this operation on an open dataset")
                                 .arg(objectName()));
    FFields.push_back(Field);
}

void TDataSet::RemoveField(TField* Field)
{
    auto It = std::find(FFields.begin(), FFields.end(), Field);
    if (It != FFields.end())
        FFields.erase(It);
}

int TDataSet::FieldIndexOf(const TField* Field) const
{
    auto It = std::find(FFields.begin(), FFields.end(), Field);
    return It == FFields.end() ? -1 : int(It - FFields.begin());
}

void TDataSet::MoveField(TField* Field, int NewIndex)
{
    const int Old = FieldIndexOf(Field);
    if (Old < 0)
        return;
    NewIndex = std::clamp(NewIndex, 0, FieldCount() - 1);
    if (Old == NewIndex)
        return;
    FFields.erase(FFields.begin() + Old);
    FFields.insert(FFields.begin() + NewIndex, Field);
    DataEvent(deLayoutChange);
}

TField* TDataSet::Fields(int Index) const
{
    if (Index < 0 || Index >= FieldCount())
        throw EDatabaseError(QStringLiteral("%1: List index out of bounds (%2)").arg(objectName()).arg(Index));
    return FFields[size_t(Index)];
}

TField* TDataSet::FindField(const QString& Name) const
{
    for (TField* F : FFields)
        if (F->FFieldName.compare(Name, Qt::CaseInsensitive) == 0)
            return F;
    return nullptr;
}

TField* TDataSet::FieldByName(const QString& Name) const
{
    if (TField* F = FindField(Name))
        return F;
    const QString Prefix = objectName().isEmpty() ? QString() : objectName() + QStringLiteral(": ");
    throw EDatabaseError(Prefix + QStringLiteral("Field '%1' not found").arg(Name));
}

QStringList TDataSet::FieldNames() const
{
    QStringList Names;
    for (TField* F : FFields)
        Names << F->FFieldName;
    return Names;
}

void TDataSet::GetFieldNames(TStrings* List) const
{
    List->BeginUpdate();
    List->Clear();
    for (TField* F : FFields)
        List->Add(F->FFieldName);
    List->EndUpdate();
}

const TCell& TDataSet::ReadCell(int FieldNo) const
{
    static const TCell NullCell;
    if (FieldNo < 0)
        return NullCell;
    if (FReadRow >= 0)
        return FStore->RowCells(uint32_t(FReadRow))[FieldNo];
    if (FActive < 0)
        return NullCell;
    if ((FState == dsEdit || FState == dsInsert) && FActive == FCurrent)
        return FEditCells[size_t(FieldNo)];
    return FStore->RowCells(FRecs[size_t(FActive)])[FieldNo];
}

// ---------------------------------------------------------------- navigation

void TDataSet::RebuildRecords()
{
    FRecs.clear();
    FRecs.reserve(FStore->Rows.size());
    const bool Filter = FFiltered;
    for (uint32_t H = 0; H < FStore->Rows.size(); ++H) {
        TRowRec& R = FStore->Rows[H];
        if (R.Deleted)
            continue;
        if (Filter) {
            R.Hidden = !RecordAccepted(H);
            if (R.Hidden)
                continue;
        } else {
            R.Hidden = false;
        }
        FRecs.push_back(H);
    }
    // Rows are appended in order while loading; only inserts break it.
    auto Less = [this](uint32_t A, uint32_t B) { return FStore->Rows[A].Order < FStore->Rows[B].Order; };
    if (!std::is_sorted(FRecs.begin(), FRecs.end(), Less))
        std::sort(FRecs.begin(), FRecs.end(), Less);
}

void TDataSet::MoveTo(int Index, bool Scroll)
{
    FCurrent = Index;
    FActive = Index;
    if (Scroll)
        DataEvent(deDataSetScroll);
}

void TDataSet::First()
{
    CheckBrowseMode();
    DoEvent(BeforeScroll);
    // The flags are set before the links hear of the move: they read them.
    FBof = true;
    FEof = FRecs.empty();
    MoveTo(FRecs.empty() ? -1 : 0, true);
    DoEvent(AfterScroll);
}

void TDataSet::Last()
{
    CheckBrowseMode();
    DoEvent(BeforeScroll);
    FEof = true;
    FBof = FRecs.empty();
    MoveTo(int(FRecs.size()) - 1, true);
    DoEvent(AfterScroll);
}

int TDataSet::MoveBy(int Distance)
{
    CheckBrowseMode();
    if (Distance == 0)
        return 0;
    const int Count = int(FRecs.size());
    if (Count == 0) {
        FBof = FEof = true;
        return 0;
    }
    DoEvent(BeforeScroll);
    int Target = FCurrent + Distance;
    const bool OldBof = FBof;
    const bool OldEof = FEof;
    FBof = false;
    FEof = false;
    if (Target >= Count) {
        Target = Count - 1;
        FEof = true;
    } else if (Target < 0) {
        Target = 0;
        FBof = true;
    }
    const int Moved = Target - FCurrent;
    // Running into an end moves nothing but still changes what the links show.
    if (Moved != 0 || OldBof != FBof || OldEof != FEof)
        MoveTo(Target, true);
    DoEvent(AfterScroll);
    return Moved;
}

bool TDataSet::IsEmpty() const
{
    return FRecs.empty();
}

int TDataSet::RecordCount() const
{
    CheckActive();
    return FSequenced ? int(FRecs.size()) : -1;
}

int TDataSet::RecNo() const
{
    if (!Active() || !FSequenced || FCurrent < 0)
        return -1;
    return FCurrent + 1;
}

void TDataSet::SetRecNo(int Value)
{
    CheckActive();
    if (!FSequenced || FRecs.empty())
        return;
    CheckBrowseMode();
    Value = std::clamp(Value, 1, int(FRecs.size()));
    if (Value - 1 == FCurrent)
        return;
    DoEvent(BeforeScroll);
    MoveTo(Value - 1, true);
    FBof = FEof = false;
    DoEvent(AfterScroll);
}

void TDataSet::SetActiveIndex(int Index)
{
    if (Index < 0 || Index >= int(FRecs.size()))
        Index = FCurrent;
    FActive = Index;
}

// ---------------------------------------------------------------- bookmarks

static TBookmark MakeBookmark(uint32_t Row)
{
    return TBookmark(reinterpret_cast<const char*>(&Row), sizeof Row);
}

static bool BookmarkRow(const TBookmark& B, uint32_t& Row)
{
    if (B.size() != sizeof Row)
        return false;
    memcpy(&Row, B.constData(), sizeof Row);
    return true;
}

// The bookmark of the record the fields read: a link reading its record
// window (SetActiveIndex) gets the bookmark of the record it reads.
TBookmark TDataSet::GetBookmark() const
{
    const int Index = FActive >= 0 && FActive < int(FRecs.size()) ? FActive : FCurrent;
    if (!Active() || Index < 0)
        return TBookmark();
    return MakeBookmark(FRecs[size_t(Index)]);
}

int TDataSet::IndexOfRow(uint32_t Row) const
{
    if (Row >= FStore->Rows.size())
        return -1;
    const TRowRec& R = FStore->Rows[Row];
    if (R.Deleted || R.Hidden)
        return -1;
    auto It = std::lower_bound(FRecs.begin(), FRecs.end(), R.Order, [this](uint32_t H, int64_t Order) {
        return FStore->Rows[H].Order < Order;
    });
    if (It == FRecs.end() || *It != Row)
        return -1;
    return int(It - FRecs.begin());
}

bool TDataSet::BookmarkValid(const TBookmark& Bookmark) const
{
    uint32_t Row;
    return Active() && BookmarkRow(Bookmark, Row) && IndexOfRow(Row) >= 0;
}

void TDataSet::GotoBookmark(const TBookmark& Bookmark)
{
    CheckActive();
    uint32_t Row;
    const int Index = BookmarkRow(Bookmark, Row) ? IndexOfRow(Row) : -1;
    if (Index < 0)
        throw EDatabaseError(QStringLiteral("%1: Record not found").arg(objectName()));
    CheckBrowseMode();
    DoEvent(BeforeScroll);
    MoveTo(Index, true);
    FBof = FEof = false;
    DoEvent(AfterScroll);
}

int TDataSet::CompareBookmarks(const TBookmark& A, const TBookmark& B) const
{
    uint32_t RA, RB;
    const bool HaveA = BookmarkRow(A, RA) && RA < FStore->Rows.size();
    const bool HaveB = BookmarkRow(B, RB) && RB < FStore->Rows.size();
    if (!HaveA || !HaveB)
        return HaveA == HaveB ? 0 : (HaveA ? 1 : -1);
    const int64_t OA = FStore->Rows[RA].Order, OB = FStore->Rows[RB].Order;
    return OA < OB ? -1 : (OA > OB ? 1 : 0);
}

// ---------------------------------------------------------------- controls

void TDataSet::DisableControls()
{
    if (FDisableCount++ == 0) {
        FDisableState = FState;
        FEnableEvent = deDataSetChange;
    }
}

void TDataSet::EnableControls()
{
    if (FDisableCount == 0)
        return;
    if (--FDisableCount > 0)
        return;
    if (FDisableState != FState)
        DataEvent(deUpdateState);
    if (FDisableState != dsInactive && FState != dsInactive)
        DataEvent(FEnableEvent);
}

void TDataSet::RegisterDataSource(TDataSource* Source)
{
    if (!FDataSources.contains(Source))
        FDataSources.append(Source);
}

void TDataSet::UnregisterDataSource(TDataSource* Source)
{
    FDataSources.removeAll(Source);
}

void TDataSet::DataEvent(TDataEvent Event, intptr_t Info)
{
    if (FDisableCount > 0) {
        // Remember that the layout changed (or the dataset closed) for EnableControls.
        if (Event == deLayoutChange || (Event == deUpdateState && FState == dsInactive))
            FEnableEvent = deLayoutChange;
        if (Event != deUpdateState || FState != dsInactive)
            return;
    }
    NotifyLinks(Event, Info);
}

void TDataSet::NotifyLinks(TDataEvent Event, intptr_t Info)
{
    if (FDataSources.isEmpty())
        return;
    const auto Sources = FDataSources;
    for (const auto& Source : Sources)
        if (Source)
            Source->DataEvent(Event, Info);
}

void TDataSet::Resync()
{
    if (FCurrent >= int(FRecs.size()))
        FCurrent = int(FRecs.size()) - 1;
    if (FCurrent < 0 && !FRecs.empty())
        FCurrent = 0;
    FActive = FCurrent;
    DataEvent(deDataSetChange);
}

void TDataSet::Refresh()
{
    CheckActive();
    CheckBrowseMode();
    const int OldIndex = FCurrent;
    const int64_t RowId = FCurrent >= 0 ? FStore->Rows[FRecs[size_t(FCurrent)]].RowId : 0;
    InternalRefresh();
    RebuildRecords();
    int Index = -1;
    if (RowId != 0) {
        for (size_t i = 0; i < FRecs.size() && Index < 0; ++i)
            if (FStore->Rows[FRecs[i]].RowId == RowId)
                Index = int(i);
    }
    if (Index < 0)
        Index = std::min(OldIndex, int(FRecs.size()) - 1);
    FCurrent = FActive = Index;
    FBof = FCurrent <= 0;
    FEof = FRecs.empty();
    DataEvent(deDataSetChange);
    DoEvent(AfterRefresh);
}
