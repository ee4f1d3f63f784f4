// TMemDataSet: rows kept in memory across Close and Open.
#include "platform/db/MemDataSet.h"

#include "platform/db/RowStore_p.h"
#include "platform/rtl/SysUtils.h"

TMemDataSet::TMemDataSet(QObject* AOwner) : TDataSet(AOwner)
{
}

void TMemDataSet::InternalOpen()
{
    if (FieldDefs()->Count() == 0)
        throw EDatabaseError(QStringLiteral("%1: Missing data provider or data packet").arg(objectName()));
    if (!FHasRows || Store().FieldCount != FieldDefs()->Count())
        Store().Reset(FieldDefs()->Count());
    FHasRows = true;
}

void TMemDataSet::InternalClose()
{
    // The rows are the data itself: closing keeps them.
}

void TMemDataSet::EmptyDataSet()
{
    Store().Reset(FieldDefs()->Count());
    if (Active())
        Refresh();
}
