// TMemDataSet: a dataset whose rows exist only in memory: for data that has no
// SQL and for tests. Define FieldDefs, Open (or CreateDataSet), then Append or
// AppendRecord; the rows stay while the dataset is closed and reopened until
// EmptyDataSet. SetSequenced(false) makes a dataset that cannot number its
// records (RecNo and RecordCount report -1), as some server cursors behave.
#pragma once

#include "platform/db/DataSet.h"

class TMemDataSet : public TDataSet
{
    Q_OBJECT
public:
    explicit TMemDataSet(QObject* AOwner = nullptr);

    void CreateDataSet() { Open(); }
    void EmptyDataSet();                     // drops every row
    void SetSequenced(bool Value) { TDataSet::SetSequenced(Value); }

protected:
    void InternalOpen() override;
    void InternalClose() override;
    void InternalRefresh() override {}

private:
    bool FHasRows = false;
};
