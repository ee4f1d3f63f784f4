// TADOConnection: the program's one database connection. The connection string
// is parsed as the classic provider strings are ("Provider=...;Data Source=
// file;..."): "Data Source" names the file, the provider selects the engine
// (the Jet 4.0 and ACE providers and "SQLite" open an SQLite file), a database
// password is accepted and not needed. Opening never creates a file.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class TDbEngine;
class TDataSet;

// A backup or restore that could not be written. ErrorCode is the system's
// error number (errno) where the system refused a step, else 0; Busy tells
// that another connection kept the database past the wait.
class EBackupError : public EDatabaseError
{
public:
    EBackupError(const QString& Message, int ErrorCode, bool Busy = false)
        : EDatabaseError(Message), FErrorCode(ErrorCode), FBusy(Busy)
    {
    }
    int ErrorCode() const { return FErrorCode; }
    bool Busy() const { return FBusy; }

private:
    int FErrorCode;
    bool FBusy;
};

// What is wrong with a database file offered for a restore.
enum class TDbFileFault {
    dfNone, dfCannotOpen, dfNotDatabase, dfMissingTable, dfMissingColumn, dfExtraColumn, dfDamaged,
    dfExtraTrigger, dfExtraView, dfBadValue, dfNoRoom, dfInUse
};
using enum TDbFileFault;

struct TDbFileCheck
{
    TDbFileFault Fault = dfNone;
    // The table missing, holding the column or out of indices, the trigger or
    // view, the file another program kept writing, or the engine's own words.
    QString Detail;
    QString Column;   // the column missing, not ours, or holding a value ours cannot
    QString Encoding; // a restore: the file's text encoding, when its text was converted into UTF-8
};

class TADOConnection : public QObject
{
    Q_OBJECT
public:
    explicit TADOConnection(QObject* AOwner = nullptr);
    ~TADOConnection() override;

    QString ConnectionString() const { return FConnectionString; }
    void SetConnectionString(const QString& Value);   // closes an open connection first
    QString Provider() const;
    QString DataSourceName() const;                    // the database file
    bool LoginPrompt() const { return FLoginPrompt; }
    void SetLoginPrompt(bool Value) { FLoginPrompt = Value; }

    bool Connected() const { return FEngine != nullptr; }
    void SetConnected(bool Value);
    void Open() { SetConnected(true); }
    void Close() { SetConnected(false); }            // closes every dataset on it first

    int Execute(const QString& SQL);                  // rows affected

    // Writes a consistent copy of the open database to FileName while it stays
    // open. The copy goes to a temporary file beside FileName that replaces it
    // only when complete, so a failure leaves no partial file and an earlier
    // file of that name as it was. The database's own file is refused.
    // Raises EBackupError. What a killed run left beside the database or
    // FileName is removed.
    void BackupTo(const QString& FileName);
    // Whether FileName opens read-only as a database of this engine, holds every
    // table SchemaSql creates with exactly its columns (other tables may stand
    // beside them) and no trigger or view SchemaSql does not create, and passes
    // the engine's integrity check without a word. Never writes it; its schema
    // can call none of the program's functions and nothing the engine deems
    // unsafe.
    static TDbFileCheck CheckDatabaseFile(const QString& FileName, const QString& SchemaSql);
    // Replaces the rows of every table SchemaSql creates with those of the
    // regular file FileName as the engine reads it (its journal included, its
    // log when its header says it logs), copied aside in one committed state
    // while held against its writers as the engine's readers hold it (dfInUse
    // when another program keeps writing it past the wait), and checked as
    // CheckDatabaseFile does. The database keeps its own schema and text
    // encoding: the rows are written by column name in one write transaction,
    // which waits for other connections' writes as long as the busy timeout
    // and lets them read the old rows until its commit, and each counter ends
    // at the largest of its own, the file's and the file's largest index, so
    // no index is ever handed out twice. A row that does not fit our columns,
    // or a counter left without room, refuses the file; any failure leaves the
    // database as it was. Returns the copy's fault; raises EBackupError when
    // the copy cannot be made or written in. What a killed run left beside
    // the database is removed, never a file in FileName's folder.
    TDbFileCheck RestoreFrom(const QString& FileName, const QString& SchemaSql);
    // Removes from Folder what killed backups and restores left there: only
    // files whose hidden names prove them ours, and only when no run that
    // still lives holds them.
    static void RemoveLeftovers(const QString& Folder);

    // Transactions nest; an inner level is a savepoint. BeginTrans returns the
    // new level; the outermost takes the write lock at once. The level follows
    // the database's: a transaction it rolled back by itself is over.
    int BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const;

    int DataSetCount() const;
    TDataSet* DataSets(int Index) const;

    std::function<void(TADOConnection* Sender)> AfterConnect;
    std::function<void(TADOConnection* Sender)> AfterDisconnect;

    // For datasets of this connection.
    TDbEngine* Engine();                               // connects when needed
    void RegisterDataSet(TDataSet* DataSet);
    void UnregisterDataSet(TDataSet* DataSet);

    // "Key=Value" pairs of a connection string; keys compare case-insensitively.
    static QString ConnectionStringValue(const QString& ConnectionString, const QString& Key);

private:
    void SyncTransLevel();

    QString FConnectionString;
    std::unique_ptr<TDbEngine> FEngine;
    QList<QPointer<TDataSet>> FDataSets;
    int FTransLevel = 0;
    bool FLoginPrompt = true;
};
