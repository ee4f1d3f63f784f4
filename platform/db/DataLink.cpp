// TDataLink and TFieldDataLink.
#include "platform/db/DataLink.h"

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"

#include <QScopedValueRollback>
#include <algorithm>

TDataLink::TDataLink() = default;

TDataLink::~TDataLink()
{
    if (FDataSource)
        FDataSource->RemoveDataLink(this);
}

void TDataLink::SetDataSource(TDataSource* Value)
{
    if (Value == FDataSource)
        return;
    if (FDataSource)
        FDataSource->RemoveDataLink(this);
    FDataSource = Value;
    if (FDataSource)
        FDataSource->AddDataLink(this);
    UpdateActive();
    UpdateEditing();
}

TDataSet* TDataLink::DataSet() const
{
    return FDataSource ? FDataSource->DataSet() : nullptr;
}

void TDataLink::SetReadOnly(bool Value)
{
    if (Value == FReadOnly)
        return;
    FReadOnly = Value;
    UpdateEditing();
}

void TDataLink::SetBufferCount(int Value)
{
    FBufferCount = std::max(1, Value);
    if (FActive)
        UpdateWindow();
}

void TDataLink::UpdateWindow()
{
    TDataSet* D = DataSet();
    const int Current = D ? D->CurrentIndex() : -1;
    if (Current < 0) {
        FFirstRecord = 0;
        return;
    }
    const int Count = D->VisibleCount();
    const int Low = std::max(0, Current - FBufferCount + 1);
    const int High = std::min(Current, std::max(0, Count - FBufferCount));
    FFirstRecord = std::clamp(FFirstRecord, Low, High);
}

int TDataLink::RecordCount() const
{
    TDataSet* D = DataSet();
    if (!FActive || !D)
        return 0;
    return std::max(0, std::min(FBufferCount, D->VisibleCount() - FFirstRecord));
}

int TDataLink::ActiveRecord() const
{
    TDataSet* D = DataSet();
    if (!FActive || !D || D->ActiveIndex() < 0)
        return 0;
    return D->ActiveIndex() - FFirstRecord;
}

void TDataLink::SetActiveRecord(int Value)
{
    if (TDataSet* D = DataSet(); FActive && D)
        D->SetActiveIndex(FFirstRecord + Value);
}

void TDataLink::UpdateActive()
{
    TDataSet* D = DataSet();
    const bool New = FDataSource && FDataSource->Enabled() && D && D->Active();
    if (New == FActive)
        return;
    FActive = New;
    FFirstRecord = 0;
    if (FActive)
        UpdateWindow();
    ActiveChanged();
}

void TDataLink::UpdateEditing()
{
    TDataSet* D = DataSet();
    const bool New = FActive && !FReadOnly && D && (D->State() == dsEdit || D->State() == dsInsert);
    if (New == FEditing)
        return;
    FEditing = New;
    EditingChanged();
}

bool TDataLink::Edit()
{
    if (!FReadOnly && FDataSource)
        FDataSource->Edit();
    UpdateEditing();
    return FEditing;
}

void TDataLink::UpdateRecord()
{
    const QScopedValueRollback Updating(FUpdating, true);
    UpdateData();
}

int TDataLink::MoveBy(int Distance)
{
    TDataSet* D = DataSet();
    return D ? D->MoveBy(Distance) : 0;
}

bool TDataLink::Bof() const
{
    TDataSet* D = DataSet();
    return !D || D->Bof();
}

bool TDataLink::Eof() const
{
    TDataSet* D = DataSet();
    return !D || D->Eof();
}

void TDataLink::DataSetScrolled(int Distance)
{
    (void)Distance;
    DataSetChanged();
}

void TDataLink::DataEvent(TDataEvent Event, intptr_t Info)
{
    if (Event == deUpdateState) {
        UpdateActive();
        UpdateEditing();
        return;
    }
    if (!FActive)
        return;
    switch (Event) {
    case deFieldChange:
        RecordChanged(reinterpret_cast<TField*>(Info));
        break;
    case deRecordChange:
        RecordChanged(nullptr);
        break;
    case deDataSetChange:
        UpdateWindow();
        DataSetChanged();
        break;
    case deDataSetScroll: {
        const int Old = FFirstRecord;
        UpdateWindow();
        DataSetScrolled(FFirstRecord - Old);
        break;
    }
    case deLayoutChange:
        UpdateWindow();
        LayoutChanged();
        break;
    case deUpdateRecord:
        if (!FUpdating)
            UpdateRecord();
        break;
    case deCheckBrowseMode:
        CheckBrowseMode();
        break;
    case deFocusControl:
        FocusControl(reinterpret_cast<TField**>(Info));
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- TFieldDataLink

void TFieldDataLink::SetFieldName(const QString& Value)
{
    if (Value == FFieldName)
        return;
    FFieldName = Value;
    UpdateField();
}

void TFieldDataLink::UpdateField()
{
    TDataSet* D = DataSet();
    TField* New = (Active() && D && !FFieldName.isEmpty()) ? D->FindField(FFieldName) : nullptr;
    if (New == FField)
        return;
    FField = New;
    EditingChanged();
    RecordChanged(nullptr);
}

void TFieldDataLink::Reset()
{
    RecordChanged(nullptr);
}

bool TFieldDataLink::CanModify() const
{
    return !ReadOnly() && FField && FField->CanModify();
}

void TFieldDataLink::ActiveChanged()
{
    UpdateField();
    if (OnActiveChange)
        OnActiveChange(this);
}

void TFieldDataLink::EditingChanged()
{
    if (OnEditingChange)
        OnEditingChange(this);
}

void TFieldDataLink::FocusControl(TField** Field)
{
    (void)Field;
}

void TFieldDataLink::LayoutChanged()
{
    UpdateField();
}

void TFieldDataLink::RecordChanged(TField* Field)
{
    if (Field && Field != FField)
        return;
    if (OnDataChange)
        OnDataChange(this);
    FModified = false;
}

void TFieldDataLink::UpdateData()
{
    if (!FModified)
        return;
    if (FField && OnUpdateData)
        OnUpdateData(this);
    FModified = false;
}
