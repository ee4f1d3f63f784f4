#include "report/engine/FR_DBSet.h"

#include "platform/db/Field.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"

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

void TfrDBDataSet::Init()
{
    TDataSet* D = GetDataSet();
    if (FOpenDataSource)
        D->Open();
    if (OnOpen)
        OnOpen(this);
    FBookmark.clear();
    if (RangeBegin() == rbCurrent || RangeEnd() == reCurrent)
        FBookmark = D->GetBookmark();
    FEndReached = false;
}

void TfrDBDataSet::Exit()
{
    if (!FBookmark.isEmpty()) {
        TDataSet* D = GetDataSet();
        // The dataset may have been closed or the record deleted meanwhile.
        if (D->Active() && D->BookmarkValid(FBookmark))
            D->GotoBookmark(FBookmark);
        D->FreeBookmark(FBookmark);
    }
    FBookmark.clear();
    if (OnClose)
        OnClose(this);
    if (FCloseDataSource)
        GetDataSet()->Close();
}

void TfrDBDataSet::First()
{
    TDataSet* D = GetDataSet();
    if (RangeBegin() == rbFirst)
        D->First();
    else if (!FBookmark.isEmpty() && D->BookmarkValid(FBookmark))
        D->GotoBookmark(FBookmark);
    FEndReached = false;
    TfrDataset::First();
}

void TfrDBDataSet::Next()
{
    TDataSet* D = GetDataSet();
    FEndReached = false;
    if (RangeEnd() == reCurrent && D->CompareBookmarks(D->GetBookmark(), FBookmark) == 0)
        FEndReached = true;
    D->Next();
    TfrDataset::Next();
}

void TfrDBDataSet::Prior()
{
    GetDataSet()->Prior();
    TfrDataset::Prior();
}

bool TfrDBDataSet::Eof()
{
    return TfrDataset::Eof() || GetDataSet()->Eof() || FEndReached;
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
