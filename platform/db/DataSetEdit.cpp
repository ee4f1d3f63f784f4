// TDataSet: editing, inserting, posting and deleting records.
#include "platform/db/DataSet.h"

#include "platform/db/RowStore_p.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

void TDataSet::CheckEditing(const TField* Field) const
{
    if (FState != dsEdit && FState != dsInsert)
        throw EDatabaseError(QStringLiteral("%1: Dataset not in edit or insert mode").arg(objectName()));
    if (Field->FReadOnly && !FInPost)
        throw EDatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(Field->FFieldName));
    if (Field->FFieldNo < 0)
        throw EDatabaseError(QStringLiteral("Field '%1' has no column to store a value in").arg(Field->FFieldName));
}

void TDataSet::WriteCell(TField* Field, const TCell& Value)
{
    CheckEditing(Field);
    const size_t No = size_t(Field->FFieldNo);
    const TCell Old = FEditCells[No];
    FEditCells[No] = Value;
    if (Field->OnValidate) {
        try {
            Field->OnValidate(Field);
        } catch (...) {
            FEditCells[No] = Old;
            throw;
        }
    }
    FChanged[No] = true;
    FModified = true;
    if (Field->OnChange)
        Field->OnChange(Field);
    DataEvent(deFieldChange, reinterpret_cast<intptr_t>(Field));
}

void TDataSet::Edit()
{
    if (FState == dsEdit || FState == dsInsert)
        return;
    CheckActive();
    if (FRecs.empty()) {
        Insert();
        return;
    }
    CheckBrowseMode();
    if (!CanModify())
        throw EDatabaseError(QStringLiteral("%1: Cannot modify a read-only dataset").arg(objectName()));
    DoEvent(BeforeEdit);
    const TCell* Cells = FStore->RowCells(FRecs[size_t(FCurrent)]);
    FEditCells.assign(Cells, Cells + FStore->FieldCount);
    FChanged.assign(size_t(FStore->FieldCount), false);
    FActive = FCurrent;
    SetState(dsEdit);
    DataEvent(deRecordChange);
    DoEvent(AfterEdit);
}

int64_t TDataSet::OrderKeyBetween(int Index)
{
    auto KeyAt = [this](int i) { return FStore->Rows[FRecs[size_t(i)]].Order; };
    if (Index >= int(FRecs.size()))
        return FStore->MaxOrder + TRowStore::OrderStep;
    const int64_t After = KeyAt(Index);
    const int64_t Before = Index > 0 ? KeyAt(Index - 1) : After - 2 * TRowStore::OrderStep;
    if (After - Before >= 2)
        return Before + (After - Before) / 2;
    // No room left between the neighbours: spread every row out again, in order.
    std::vector<uint32_t> All;
    for (uint32_t H = 0; H < FStore->Rows.size(); ++H)
        if (!FStore->Rows[H].Deleted)
            All.push_back(H);
    std::sort(All.begin(), All.end(),
              [this](uint32_t A, uint32_t B) { return FStore->Rows[A].Order < FStore->Rows[B].Order; });
    int64_t Key = 0;
    for (uint32_t H : All)
        FStore->Rows[H].Order = (Key += TRowStore::OrderStep);
    FStore->MaxOrder = Key;
    return OrderKeyBetween(Index);
}

void TDataSet::BeginInsertAppend(bool Appending)
{
    CheckActive();
    CheckBrowseMode();
    if (!CanModify())
        throw EDatabaseError(QStringLiteral("%1: Cannot modify a read-only dataset").arg(objectName()));
    DoEvent(BeforeInsert);
    DoEvent(BeforeScroll);
    const int Index = Appending ? int(FRecs.size()) : std::max(FCurrent, 0);
    const int64_t Key = OrderKeyBetween(Index);
    const TRowHandle H = FStore->AddRow(0);
    FStore->Rows[H].Order = Key;
    FRecs.insert(FRecs.begin() + Index, H);
    FInsertedIndex = Index;
    FCurrent = FActive = Index;
    FEditCells.assign(size_t(FStore->FieldCount), TCell());
    FChanged.assign(size_t(FStore->FieldCount), false);
    FBof = FEof = false;
    SetState(dsInsert);
    DoEvent(OnNewRecord);
    FModified = false;
    DataEvent(deDataSetChange);
    DoEvent(AfterInsert);
    DoEvent(AfterScroll);
}

void TDataSet::Insert()
{
    BeginInsertAppend(false);
}

void TDataSet::Append()
{
    BeginInsertAppend(true);
}

void TDataSet::DropInsertedRow()
{
    if (FInsertedIndex < 0 || FInsertedIndex >= int(FRecs.size()))
        return;
    FStore->Rows[FRecs[size_t(FInsertedIndex)]].Deleted = true;
    FRecs.erase(FRecs.begin() + FInsertedIndex);
    FCurrent = std::min(FInsertedIndex, int(FRecs.size()) - 1);
    FActive = FCurrent;
    FInsertedIndex = -1;
    FBof = FEof = FRecs.empty();
}

void TDataSet::UpdateRecord()
{
    if (FState != dsEdit && FState != dsInsert)
        throw EDatabaseError(QStringLiteral("%1: Dataset not in edit or insert mode").arg(objectName()));
    DataEvent(deUpdateRecord);
}

void TDataSet::Post()
{
    CheckActive();
    if (FState != dsEdit && FState != dsInsert)
        return;
    UpdateRecord();
    DataEvent(deCheckBrowseMode);
    DoEvent(BeforePost);
    for (TField* F : FFields)
        if (F->FRequired && F->FFieldKind == fkData && !F->FReadOnly && F->IsNull())
            throw EDatabaseError(QStringLiteral("Field '%1' must have a value").arg(F->FFieldName));
    const bool Inserting = FState == dsInsert;
    const uint32_t Row = FRecs[size_t(FCurrent)];
    TCell* Cells = FStore->RowCells(Row);
    const std::vector<TCell> Old(Cells, Cells + FStore->FieldCount);
    std::copy(FEditCells.begin(), FEditCells.end(), Cells);
    FInPost = true;
    try {
        InternalPost(Row, Inserting, FChanged);
    } catch (...) {
        // The record stays in edit or insert state with the values typed, so the user can mend it.
        std::copy(Old.begin(), Old.end(), FStore->RowCells(Row));
        FInPost = false;
        throw;
    }
    FInPost = false;
    FInsertedIndex = -1;
    FEditCells.clear();
    FChanged.clear();
    SetState(dsBrowse);
    Resync();
    DoEvent(AfterPost);
}

void TDataSet::Cancel()
{
    if (FState != dsEdit && FState != dsInsert)
        return;
    DataEvent(deCheckBrowseMode);
    DoEvent(BeforeCancel);
    if (FState == dsInsert)
        DropInsertedRow();
    FEditCells.clear();
    FChanged.clear();
    SetState(dsBrowse);
    Resync();
    DoEvent(AfterCancel);
}

void TDataSet::Delete()
{
    CheckActive();
    if (FState == dsInsert) {
        Cancel();
        return;
    }
    if (FRecs.empty())
        throw EDatabaseError(QStringLiteral("%1: Cannot perform this operation on an empty dataset").arg(objectName()));
    if (!CanModify())
        throw EDatabaseError(QStringLiteral("%1: Cannot modify a read-only dataset").arg(objectName()));
    DataEvent(deCheckBrowseMode);
    DoEvent(BeforeDelete);
    DoEvent(BeforeScroll);
    const uint32_t Row = FRecs[size_t(FCurrent)];
    InternalDelete(Row);
    FStore->Rows[Row].Deleted = true;
    FRecs.erase(FRecs.begin() + FCurrent);
    const bool WasLast = FCurrent >= int(FRecs.size());
    if (WasLast)
        FCurrent = int(FRecs.size()) - 1;
    FActive = FCurrent;
    FEditCells.clear();
    FChanged.clear();
    FBof = FRecs.empty();
    // Deleting the last record ends a "while not Eof" walk instead of stepping back.
    FEof = FRecs.empty() || WasLast;
    if (FState != dsBrowse)
        SetState(dsBrowse);
    Resync();
    DoEvent(AfterDelete);
    DoEvent(AfterScroll);
}

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    DataEvent(deCheckBrowseMode);
    if (FState == dsEdit || FState == dsInsert) {
        UpdateRecord();
        if (FModified)
            Post();
        else
            Cancel();
    }
}

void TDataSet::ClearFields()
{
    if (FState != dsEdit && FState != dsInsert)
        throw EDatabaseError(QStringLiteral("%1: Dataset not in edit or insert mode").arg(objectName()));
    std::fill(FEditCells.begin(), FEditCells.end(), TCell());
    std::fill(FChanged.begin(), FChanged.end(), true);
    FModified = true;
    DataEvent(deRecordChange);
}

void TDataSet::AppendRecord(const QList<Variant>& Values)
{
    Append();
    try {
        for (int i = 0; i < Values.size() && i < FieldCount(); ++i) {
            TField* F = FFields[size_t(i)];
            if (F->FReadOnly && (Values[i].IsNull() || Values[i].IsEmpty()))
                continue;
            F->SetAsVariant(Values[i]);
        }
        Post();
    } catch (...) {
        Cancel();
        throw;
    }
}

void TDataSet::InsertRecord(const QList<Variant>& Values)
{
    Insert();
    try {
        for (int i = 0; i < Values.size() && i < FieldCount(); ++i) {
            TField* F = FFields[size_t(i)];
            if (F->FReadOnly && (Values[i].IsNull() || Values[i].IsEmpty()))
                continue;
            F->SetAsVariant(Values[i]);
        }
        Post();
    } catch (...) {
        Cancel();
        throw;
    }
}
