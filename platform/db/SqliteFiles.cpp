// Whole database files: a backup through SQLite's online backup, and the check
// of a file offered for a restore.
#include "platform/db/ADOConnection.h"
#include "platform/db/DbEngine_p.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// A temporary file that is removed unless it was put in place.
class TTempFile
{
public:
    explicit TTempFile(const QByteArray& Beside) : FName(Beside + ".XXXXXX")
    {
        const int Fd = mkstemp(FName.data());
        if (Fd < 0) {
            FError = errno;
            FName.clear();
            return;
        }
        // mkstemp makes the file private; a backup gets the usual permissions.
        const mode_t Mask = umask(0);
        umask(Mask);
        fchmod(Fd, 0666 & ~Mask);
        close(Fd);
    }
    ~TTempFile()
    {
        if (FName.isEmpty())
            return;
        unlink(FName.constData());
        // A write that failed half-way may leave SQLite's journal behind.
        unlink((FName + "-journal").constData());
    }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    const QByteArray& Name() const { return FName; }
    int Error() const { return FError; }
    void Release() { FName.clear(); }

private:
    QByteArray FName;
    int FError = 0;
};

QString SystemError(int Error)
{
    return QString::fromLocal8Bit(std::strerror(Error));
}

// Copies Source into the empty file Dest; SQLite's result code.
int CopyPages(sqlite3* Source, const QByteArray& Dest, QString& Message)
{
    sqlite3* Db = nullptr;
    int Rc = sqlite3_open_v2(Dest.constData(), &Db, SQLITE_OPEN_READWRITE, nullptr);
    if (Rc == SQLITE_OK) {
        sqlite3_backup* Backup = sqlite3_backup_init(Db, "main", Source, "main");
        if (!Backup) {
            Rc = sqlite3_errcode(Db);
        } else {
            const int Step = sqlite3_backup_step(Backup, -1);
            const int Finish = sqlite3_backup_finish(Backup);
            Rc = Step == SQLITE_DONE ? Finish : Step;
        }
    }
    if (Rc != SQLITE_OK)
        Message = Db ? QString::fromUtf8(sqlite3_errmsg(Db)) : QString::fromUtf8(sqlite3_errstr(Rc));
    const int CloseRc = sqlite3_close_v2(Db);
    if (Rc == SQLITE_OK && CloseRc != SQLITE_OK) {
        Rc = CloseRc;
        Message = QString::fromUtf8(sqlite3_errstr(Rc));
    }
    return Rc;
}

QString Text(sqlite3_stmt* S, int Column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(S, Column)));
}

TDbFileCheck Fault(sqlite3* Db, int Rc)
{
    const QString Words = QString::fromUtf8(sqlite3_errmsg(Db));
    switch (Rc & 0xff) {
    case SQLITE_NOTADB: return {dfNotDatabase, Words, {}};
    case SQLITE_CORRUPT: return {dfDamaged, Words, {}};
    default: return {dfCannotOpen, Words, {}};
    }
}

// Runs Sql and hands every row's first column to Row; SQLite's result code.
template <class F>
int EachRow(sqlite3* Db, const char* Sql, F Row)
{
    sqlite3_stmt* S = nullptr;
    int Rc = sqlite3_prepare_v2(Db, Sql, -1, &S, nullptr);
    while (Rc == SQLITE_OK && (Rc = sqlite3_step(S)) == SQLITE_ROW) {
        Row(Text(S, 0));
        Rc = SQLITE_OK;
    }
    sqlite3_finalize(S);
    return Rc == SQLITE_DONE ? SQLITE_OK : Rc;
}

// A database's own tables (not the engine's) and their columns.
using TTableColumns = std::vector<std::pair<QString, QStringList>>;

int ReadTableColumns(sqlite3* Db, TTableColumns& Tables)
{
    int Rc = EachRow(Db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'",
                     [&](const QString& Name) { Tables.push_back({Name, {}}); });
    for (auto& [Table, Columns] : Tables) {
        if (Rc != SQLITE_OK)
            break;
        char* Sql = sqlite3_mprintf("SELECT name FROM pragma_table_info(%Q)", Table.toUtf8().constData());
        Rc = EachRow(Db, Sql, [&](const QString& Column) { Columns << Column; });
        sqlite3_free(Sql);
    }
    return Rc;
}

// The tables and columns a schema script creates, made in memory.
TTableColumns SchemaColumns(const QString& SchemaSql)
{
    sqlite3* Db = nullptr;
    TTableColumns Tables;
    int Rc = sqlite3_open_v2(":memory:", &Db, SQLITE_OPEN_READWRITE, nullptr);
    if (Rc == SQLITE_OK)
        Rc = sqlite3_exec(Db, SchemaSql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (Rc == SQLITE_OK)
        Rc = ReadTableColumns(Db, Tables);
    const QString Words = Db ? QString::fromUtf8(sqlite3_errmsg(Db)) : QString::fromUtf8(sqlite3_errstr(Rc));
    sqlite3_close_v2(Db);
    if (Rc != SQLITE_OK)
        throw EDatabaseError(QStringLiteral("The schema does not run: %1").arg(Words));
    return Tables;
}

// The first table of Expected that Found misses, else the first column that
// differs, or none.
TDbFileCheck CompareColumns(const TTableColumns& Expected, const TTableColumns& Found)
{
    const auto FoundTable = [&](const QString& Table) {
        return std::find_if(Found.begin(), Found.end(),
                            [&](const auto& T) { return T.first.compare(Table, Qt::CaseInsensitive) == 0; });
    };
    for (const auto& Table : Expected)
        if (FoundTable(Table.first) == Found.end())
            return {dfMissingTable, Table.first, {}};
    for (const auto& [Table, Columns] : Expected) {
        const auto It = FoundTable(Table);
        for (const QString& Column : Columns)
            if (!It->second.contains(Column, Qt::CaseInsensitive))
                return {dfMissingColumn, Table, Column};
        for (const QString& Column : It->second)
            if (!Columns.contains(Column, Qt::CaseInsensitive))
                return {dfExtraColumn, Table, Column};
    }
    return {};
}

TDbFileCheck CheckOpenFile(sqlite3* Db, const TTableColumns& Expected)
{
    TTableColumns Found;
    int Rc = ReadTableColumns(Db, Found);
    if (Rc != SQLITE_OK)
        return Fault(Db, Rc);
    // A table of another program passes for one of ours by its name, and then
    // fails every statement: its columns must be ours too.
    const TDbFileCheck Columns = CompareColumns(Expected, Found);
    if (Columns.Fault == dfMissingTable)
        return Columns;
    // The check lists what it found and may then stop on a page it cannot read.
    QStringList Problems;
    Rc = EachRow(Db, "PRAGMA integrity_check(10)", [&](const QString& Line) {
        if (Line != QLatin1String("ok") && !Line.startsWith(QLatin1String("***")))
            Problems << Line;
    });
    if (!Problems.isEmpty())
        return {dfDamaged, Problems.join(u'\n'), {}};
    if (Rc != SQLITE_OK)
        return Fault(Db, Rc);
    return Columns;
}

} // namespace

void BackupSqlite(sqlite3* Source, const QString& FileName)
{
    const QByteArray Target = QFile::encodeName(FileName);
    std::error_code Ec;
    if (std::filesystem::equivalent(sqlite3_db_filename(Source, "main"), Target.constData(), Ec))
        throw EBackupError(QStringLiteral("'%1' is the open database itself").arg(FileName), SQLITE_MISUSE);
    TTempFile Temp(Target);
    if (Temp.Name().isEmpty())
        throw EBackupError(QStringLiteral("Cannot create a file beside '%1': %2").arg(FileName, SystemError(Temp.Error())),
                           Temp.Error());
    QString Message;
    const int Rc = CopyPages(Source, Temp.Name(), Message);
    if (Rc != SQLITE_OK)
        throw EBackupError(QStringLiteral("Cannot back up to '%1': %2").arg(FileName, Message), Rc);
    if (std::rename(Temp.Name().constData(), Target.constData()) != 0) {
        const int Error = errno;
        throw EBackupError(QStringLiteral("Cannot replace '%1': %2").arg(FileName, SystemError(Error)), Error);
    }
    Temp.Release();
}

TDbFileCheck CheckSqliteFile(const QString& FileName, const QString& SchemaSql)
{
    const TTableColumns Expected = SchemaColumns(SchemaSql);
    sqlite3* Db = nullptr;
    const QByteArray Path = QFile::encodeName(FileName);
    const int Rc = sqlite3_open_v2(Path.constData(), &Db, SQLITE_OPEN_READONLY, nullptr);
    const TDbFileCheck Result = Rc == SQLITE_OK ? CheckOpenFile(Db, Expected)
                                                : TDbFileCheck{dfCannotOpen, QString::fromUtf8(sqlite3_errstr(Rc)), {}};
    sqlite3_close_v2(Db);
    return Result;
}
