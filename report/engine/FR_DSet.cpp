#include "report/engine/FR_DSet.h"

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

TdaZeveDataset::TdaZeveDataset(QObject* AOwner)
    : TfrDataset(AOwner)
{
}
