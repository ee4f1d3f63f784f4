#include "report/engine/FR_DBSet.h"

#include "platform/db/Field.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"

TfrDataset::TfrDataset(QObject* AOwner)
    : QObject(AOwner)
{
}

TfrDataset::~TfrDataset() = default;

void TfrDataset::First()
{
    FRecNo = 0;
    if (OnFirst)
        OnFirst(this);
}

void TfrDataset::Next()
{
    ++FRecNo;
    if (FRangeEnd == reCount && FRecNo >= FRangeEndCount)
        return;
    if (OnNext)
        OnNext(this);
}

void TfrDataset::Prior()
{
    --FRecNo;
    if (OnPrior)
        OnPrior(this);
}

bool TfrDataset::Eof()
{
    bool Result = FRangeEnd == reCount && FRecNo >= FRangeEndCount;
    if (OnCheckEOF)
        OnCheckEOF(this, Result);
    return Result;
}

TfrDBDataSet::TfrDBDataSet(QObject* AOwner)
    : TfrDataset(AOwner)
{
}

TfrDBDataSet::~TfrDBDataSet() = default;

void TfrDBDataSet::SetDataSet(TDataSet* Value)
{
    FDataSet = Value;
    FDataSource = nullptr;
}

void TfrDBDataSet::SetDataSource(TDataSource* Value)
{
    FDataSource = Value;
    if (Value)
        FDataSet = nullptr;
}

TDataSet* TfrDBDataSet::GetDataSet() const
{
    if (FDataSource && FDataSource->DataSet())
        return FDataSource->DataSet();
    if (FDataSet)
        return FDataSet;
    throw EDSError(QStringLiteral("Unable to open dataset ") + Name());
}

// ---------------------------------------------------------------- blob fields

bool IsBlobField(TField* Field)
{
    return Field && Field->DataType() >= ftBlob && Field->DataType() <= ftTypedBinary;
}

void AssignBlobTo(TField* Field, TStream& Target)
{
    if (Field && !Field->IsNull())
        Target.WriteBytes(Field->AsBytes());
    Target.SetPosition(0);
}

void AssignBlobTo(TField* Field, TStrings& Target)
{
    Target.SetText(Field && !Field->IsNull() ? Field->AsString() : QString());
}
