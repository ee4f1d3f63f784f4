// TADOConnection: connection string, engine selection and transactions.
#include "platform/db/ADOConnection.h"

#include "platform/db/DataSet.h"
#include "platform/db/DbEngine_p.h"
#include "platform/rtl/SysUtils.h"

TADOConnection::TADOConnection(QObject* AOwner) : QObject(AOwner)
{
}

TADOConnection::~TADOConnection()
{
    // Datasets may outlive us (another owner); they must not reach a dead engine.
    for (auto& D : FDataSets)
        if (D)
            D->Close();
    FEngine.reset();
}

QString TADOConnection::ConnectionStringValue(const QString& ConnectionString, const QString& Key)
{
    for (const QString& Part : ConnectionString.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype Eq = Part.indexOf(u'=');
        if (Eq < 0 || Part.left(Eq).trimmed().compare(Key, Qt::CaseInsensitive) != 0)
            continue;
        QString Value = Part.mid(Eq + 1).trimmed();
        if (Value.size() >= 2 && (Value.front() == u'"' || Value.front() == u'\'') && Value.back() == Value.front())
            Value = Value.mid(1, Value.size() - 2);
        return Value;
    }
    return QString();
}

void TADOConnection::SetConnectionString(const QString& Value)
{
    if (Value == FConnectionString)
        return;
    Close();
    FConnectionString = Value;
}

QString TADOConnection::Provider() const
{
    return ConnectionStringValue(FConnectionString, QStringLiteral("Provider"));
}

QString TADOConnection::DataSourceName() const
{
    return ConnectionStringValue(FConnectionString, QStringLiteral("Data Source"));
}

void TADOConnection::SetConnected(bool Value)
{
    if (Value == Connected())
        return;
    if (Value) {
        const QString P = Provider();
        const bool Sqlite = P.isEmpty() || P.startsWith(QLatin1String("Microsoft.Jet.OLEDB"), Qt::CaseInsensitive)
            || P.startsWith(QLatin1String("Microsoft.ACE.OLEDB"), Qt::CaseInsensitive)
            || P.compare(QLatin1String("SQLite"), Qt::CaseInsensitive) == 0;
        if (!Sqlite)
            throw EDatabaseError(QStringLiteral("Provider cannot be found. It may not be properly installed. [%1]").arg(P));
        const QString File = DataSourceName();
        if (File.isEmpty())
            throw EDatabaseError(QStringLiteral("The connection string names no data source"));
        std::unique_ptr<TDbEngine> Engine = CreateSqliteEngine();
        Engine->Open(File);
        FEngine = std::move(Engine);
        FTransLevel = 0;
        if (AfterConnect)
            AfterConnect(this);
    } else {
        const auto Sets = FDataSets;
        for (const auto& D : Sets)
            if (D)
                D->Close();
        if (FTransLevel > 0) {
            // An open transaction is abandoned with the connection, as the server would.
            try {
                FEngine->Rollback(1);
            } catch (const EDatabaseError&) {
            }
        }
        FTransLevel = 0;
        FEngine->Close();
        FEngine.reset();
        if (AfterDisconnect)
            AfterDisconnect(this);
    }
}

TDbEngine* TADOConnection::Engine()
{
    if (!FEngine)
        Open();
    return FEngine.get();
}

int TADOConnection::Execute(const QString& SQL)
{
    return Engine()->Execute(SQL);
}

void TADOConnection::BackupTo(const QString& FileName)
{
    Engine()->BackupTo(FileName);
}

TDbFileCheck TADOConnection::RestoreFrom(const QString& FileName, const QString& SchemaSql)
{
    return Engine()->RestoreFrom(FileName, SchemaSql);
}

TDbFileCheck TADOConnection::CheckDatabaseFile(const QString& FileName, const QString& SchemaSql)
{
    return CheckSqliteFile(FileName, SchemaSql);
}

void TADOConnection::RemoveLeftovers(const QString& Folder)
{
    RemoveSqliteLeftovers(Folder);
}

bool TADOConnection::InTransaction() const
{
    return FTransLevel > 0 && FEngine && FEngine->InTransaction();
}

// A failed write can end the transaction inside SQLite (a full disk, an I/O
// error); the level follows it, so the next save begins a transaction of its
// own instead of a savepoint of one that is gone.
void TADOConnection::SyncTransLevel()
{
    if (!InTransaction())
        FTransLevel = 0;
}

int TADOConnection::BeginTrans()
{
    Engine();
    SyncTransLevel();
    FEngine->Begin(FTransLevel + 1);
    return ++FTransLevel;
}

void TADOConnection::CommitTrans()
{
    const bool Active = FTransLevel > 0;
    SyncTransLevel();
    if (FTransLevel == 0)
        throw EDatabaseError(Active ? QStringLiteral("The transaction was rolled back by the database")
                                    : QStringLiteral("No transaction is active"));
    FEngine->Commit(FTransLevel);
    --FTransLevel;
}

void TADOConnection::RollbackTrans()
{
    if (FTransLevel == 0)
        throw EDatabaseError(QStringLiteral("No transaction is active"));
    // Already rolled back by the database: what the caller asked for is done.
    SyncTransLevel();
    if (FTransLevel == 0)
        return;
    FEngine->Rollback(FTransLevel);
    --FTransLevel;
}

int TADOConnection::DataSetCount() const
{
    int N = 0;
    for (const auto& D : FDataSets)
        N += D ? 1 : 0;
    return N;
}

TDataSet* TADOConnection::DataSets(int Index) const
{
    for (const auto& D : FDataSets)
        if (D && Index-- == 0)
            return D;
    return nullptr;
}

void TADOConnection::RegisterDataSet(TDataSet* DataSet)
{
    FDataSets.removeAll(nullptr);
    if (!FDataSets.contains(DataSet))
        FDataSets.append(DataSet);
}

void TADOConnection::UnregisterDataSet(TDataSet* DataSet)
{
    FDataSets.removeAll(DataSet);
}
