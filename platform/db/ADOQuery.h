// TADOQuery: SQL text in the Jet dialect run on a TADOConnection. Open takes a
// static snapshot of the result (rows changed by anyone later stay as read);
// a result read plainly from one table can be edited, and Post and Delete write
// back by row id, reading the counter and defaults back after an insert.
// Joins, grouping and computed columns are read-only.
#pragma once

#include "platform/db/DataSet.h"

#include <memory>

class TADOConnection;
class TStringList;
class TStrings;
struct TSnapshotInfo;

class TADOQuery : public TDataSet
{
    Q_OBJECT
public:
    explicit TADOQuery(QObject* AOwner = nullptr);
    ~TADOQuery() override;

    TADOConnection* Connection() const;
    void SetConnection(TADOConnection* Value);
    TStrings* SQL() const;                 // changing the text closes the query
    int ExecSQL();                         // runs the text; rows affected
    int RowsAffected() const { return FRowsAffected; }
    QString UpdateTable() const;           // the table edits go to; empty when read-only

protected:
    void InternalOpen() override;
    void InternalClose() override;
    bool InternalCanModify() const override;
    void InternalPost(uint32_t Row, bool Inserting, const std::vector<bool>& Changed) override;
    void InternalDelete(uint32_t Row) override;

private:
    TADOConnection* CheckConnection() const;

    QPointer<TADOConnection> FConnection;
    std::unique_ptr<TStringList> FSQL;
    std::unique_ptr<TSnapshotInfo> FInfo;
    int FRowsAffected = 0;
};
