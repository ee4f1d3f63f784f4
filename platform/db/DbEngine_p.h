// The seam between the connection and a database backend. The windows never
// see it: they talk to TADOConnection and TADOQuery, and the provider named in
// the connection string picks the engine. SQLite is the only engine today.
#pragma once

#include "platform/db/DataSet.h"
#include "platform/db/RowStore_p.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// What a query's snapshot knows about its columns and where edits go.
struct TSnapshotInfo
{
    TFieldDefs Defs;
    QString Table;            // the one table edits are written to; empty when read-only
    QStringList Columns;      // that table's column behind each field
};

struct TDbFileCheck;

class TDbEngine
{
public:
    virtual ~TDbEngine() = default;

    virtual void Open(const QString& FileName) = 0;       // raises EDatabaseError
    virtual void Close() = 0;
    virtual int Execute(const QString& JetSql) = 0;        // rows affected
    virtual void Select(const QString& JetSql, TRowStore& Store, TSnapshotInfo& Info) = 0;
    // Write-back by row id. Insert stores the new row id and reads the row back
    // (counter and defaults) into the store.
    virtual void InsertRow(const TSnapshotInfo& Info, TRowStore& Store, TRowHandle Row,
                           const std::vector<bool>& Changed) = 0;
    virtual void UpdateRow(const TSnapshotInfo& Info, TRowStore& Store, TRowHandle Row,
                           const std::vector<bool>& Changed) = 0;
    virtual void DeleteRow(const TSnapshotInfo& Info, const TRowStore& Store, TRowHandle Row) = 0;
    virtual void Begin(int Level) = 0;
    virtual void Commit(int Level) = 0;
    virtual void Rollback(int Level) = 0;
    // Whether the database holds a transaction open; it ends one by itself
    // when a write fails for want of space or on an I/O error.
    virtual bool InTransaction() const = 0;
    virtual void BackupTo(const QString& FileName) = 0;   // raises EBackupError
    virtual TDbFileCheck RestoreFrom(const QString& FileName, const QString& SchemaSql) = 0; // raises EBackupError
};

std::unique_ptr<TDbEngine> CreateSqliteEngine();

// A table or column name in double quotes, quotes inside doubled.
inline QString QuoteName(const QString& Name)
{
    QString S = Name;
    S.replace(u'"', QStringLiteral("\"\""));
    return u'"' + S + u'"';
}

// The file-level work on SQLite databases (SqliteFiles.cpp).
struct sqlite3;
void BackupSqlite(sqlite3* Source, const QString& FileName);
TDbFileCheck CheckSqliteFile(const QString& FileName, const QString& SchemaSql);
void RemoveSqliteLeftovers(const QString& Folder);
TDbFileCheck RestoreSqlite(sqlite3* Live, const QString& FileName, const QString& SchemaSql);
