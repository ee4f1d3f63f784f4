// Whole database files: a backup through SQLite's online backup, the check
// of a file offered for a restore, and the restore itself.
#include "platform/db/ADOConnection.h"
#include "platform/db/DbEngine_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// Our temporary files are named "<file>.tallybridge-XXXXXX", with SQLite's
// files of that name beside them. The run that made one holds a lock on it
// while it lives, so such a file without the lock was left by a run that was
// killed, and the next backup or restore removes it.
const QByteArray TempMark = QByteArrayLiteral(".tallybridge-");
const char* const SqliteCompanions[] = {"-journal", "-wal", "-shm"};

void RemoveWithCompanions(const QByteArray& Name)
{
    unlink(Name.constData());
    for (const char* Suffix : SqliteCompanions)
        unlink((Name + Suffix).constData());
}

// Removes what killed runs left in the folder of File: only files of our
// temporary names whose run is gone.
void RemoveLeftovers(const QByteArray& File)
{
    static const QRegularExpression Ours(QStringLiteral("^(.+\\.tallybridge-[A-Za-z0-9]{6})(-journal|-wal|-shm)?$"));
    const QDir Folder = QFileInfo(QFile::decodeName(File)).absoluteDir();
    QSet<QString> Mains;
    const QStringList Entries =
        Folder.entryList({QStringLiteral("*.tallybridge-*")}, QDir::Files | QDir::System | QDir::Hidden);
    for (const QString& Entry : Entries) {
        const QRegularExpressionMatch M = Ours.match(Entry);
        if (M.hasMatch())
            Mains.insert(M.captured(1));
    }
    for (const QString& Main : Mains) {
        const QByteArray Name = QFile::encodeName(Folder.filePath(Main));
        const int Fd = open(Name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        struct stat St{};
        // Without the file its companions are orphans; with it, the lock says
        // whether its run still lives.
        const bool Gone = Fd < 0 ? errno == ENOENT
                                 : fstat(Fd, &St) == 0 && S_ISREG(St.st_mode) && flock(Fd, LOCK_EX | LOCK_NB) == 0;
        if (Gone)
            RemoveWithCompanions(Name);
        if (Fd >= 0)
            close(Fd);
    }
}

// A temporary file that is removed unless it was put in place. It stays open
// and locked for its whole life; SQLite's connections to it must be closed
// before it goes, as closing our descriptor drops this process's locks on it.
class TTempFile
{
public:
    explicit TTempFile(const QByteArray& Beside) : FName(Beside + TempMark + "XXXXXX")
    {
        FFd = mkostemp(FName.data(), O_CLOEXEC);
        if (FFd < 0) {
            FError = errno;
            FName.clear();
            return;
        }
        flock(FFd, LOCK_EX);
        // mkstemp makes the file private; a backup gets the usual permissions.
        const mode_t Mask = umask(0);
        umask(Mask);
        fchmod(FFd, 0666 & ~Mask);
    }
    ~TTempFile()
    {
        // A write that failed half-way may leave SQLite's journal behind.
        if (!FName.isEmpty())
            RemoveWithCompanions(FName);
        if (FFd >= 0)
            close(FFd);
    }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    const QByteArray& Name() const { return FName; }
    int Handle() const { return FFd; }
    int Error() const { return FError; }
    void Release() { FName.clear(); }

private:
    QByteArray FName;
    int FFd = -1;
    int FError = 0;
};

QString SystemError(int Error)
{
    return QString::fromLocal8Bit(std::strerror(Error));
}

// Writes every page of Source into Dest in one transaction of Dest; SQLite's
// result code. Dest's busy timeout applies to its locks.
int CopyPages(sqlite3* Source, sqlite3* Dest)
{
    sqlite3_backup* Backup = sqlite3_backup_init(Dest, "main", Source, "main");
    if (!Backup)
        return sqlite3_errcode(Dest);
    const int Step = sqlite3_backup_step(Backup, -1);
    const int Finish = sqlite3_backup_finish(Backup);
    return Step == SQLITE_DONE ? Finish : Step;
}

// Copies Source into the empty file Dest; SQLite's result code.
int CopyPagesInto(sqlite3* Source, const QByteArray& Dest, QString& Message)
{
    sqlite3* Db = nullptr;
    int Rc = sqlite3_open_v2(Dest.constData(), &Db, SQLITE_OPEN_READWRITE, nullptr);
    if (Rc == SQLITE_OK)
        Rc = CopyPages(Source, Db);
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

// A database's own tables (not the engine's) and their columns, and its
// triggers and views, each "type\nname\nstatement".
using TTableColumns = std::vector<std::pair<QString, QStringList>>;
struct TSchemaShape
{
    TTableColumns Tables;
    QStringList Objects;
};

int ReadShape(sqlite3* Db, TSchemaShape& Shape)
{
    int Rc = EachRow(Db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'",
                     [&](const QString& Name) { Shape.Tables.push_back({Name, {}}); });
    for (auto& [Table, Columns] : Shape.Tables) {
        if (Rc != SQLITE_OK)
            break;
        char* Sql = sqlite3_mprintf("SELECT name FROM pragma_table_info(%Q)", Table.toUtf8().constData());
        Rc = EachRow(Db, Sql, [&](const QString& Column) { Columns << Column; });
        sqlite3_free(Sql);
    }
    if (Rc == SQLITE_OK)
        Rc = EachRow(Db,
                     "SELECT type || char(10) || name || char(10) || ifnull(sql, '') FROM sqlite_master "
                     "WHERE type IN ('trigger', 'view')",
                     [&](const QString& Object) { Shape.Objects << Object; });
    return Rc;
}

// What a schema script creates, made in memory.
TSchemaShape SchemaShape(const QString& SchemaSql)
{
    sqlite3* Db = nullptr;
    TSchemaShape Shape;
    int Rc = sqlite3_open_v2(":memory:", &Db, SQLITE_OPEN_READWRITE, nullptr);
    if (Rc == SQLITE_OK)
        Rc = sqlite3_exec(Db, SchemaSql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (Rc == SQLITE_OK)
        Rc = ReadShape(Db, Shape);
    const QString Words = Db ? QString::fromUtf8(sqlite3_errmsg(Db)) : QString::fromUtf8(sqlite3_errstr(Rc));
    sqlite3_close_v2(Db);
    if (Rc != SQLITE_OK)
        throw EDatabaseError(QStringLiteral("The schema does not run: %1").arg(Words));
    return Shape;
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

TDbFileCheck CheckOpenFile(sqlite3* Db, const TSchemaShape& Expected)
{
    TSchemaShape Found;
    int Rc = ReadShape(Db, Found);
    if (Rc != SQLITE_OK)
        return Fault(Db, Rc);
    // A table of another program passes for one of ours by its name, and then
    // fails every statement: its columns must be ours too.
    const TDbFileCheck Columns = CompareColumns(Expected.Tables, Found.Tables);
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
    if (Columns.Fault != dfNone)
        return Columns;
    // A trigger or view runs the file's own statements inside the program's.
    for (const QString& Object : Found.Objects)
        if (!Expected.Objects.contains(Object))
            return {Object.startsWith(u't') ? dfExtraTrigger : dfExtraView, Object.section(u'\n', 1, 1), {}};
    return {};
}

// Whether File is a regular file (after links), so that opening it cannot block.
bool IsRegularFile(const QByteArray& File)
{
    struct stat St{};
    return stat(File.constData(), &St) == 0 && S_ISREG(St.st_mode);
}

// Copies the regular file From into the open file To. Empty text, or why
// From could not be read (NotFile: it is no regular file); raises
// EBackupError when To cannot be written.
QString CopyFileInto(const QByteArray& From, int To, bool& NotFile)
{
    // Not blocking: a pipe is refused, not waited on.
    const int Fd = open(From.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (Fd < 0)
        return SystemError(errno);
    struct stat St{};
    NotFile = fstat(Fd, &St) != 0 || !S_ISREG(St.st_mode);
    QString Problem;
    std::vector<char> Block(1 << 20);
    while (!NotFile && Problem.isEmpty()) {
        const ssize_t N = read(Fd, Block.data(), Block.size());
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0) {
            if (N < 0)
                Problem = SystemError(errno);
            break;
        }
        for (ssize_t Done = 0; Done < N;) {
            const ssize_t W = write(To, Block.data() + Done, size_t(N - Done));
            if (W < 0 && errno == EINTR)
                continue;
            if (W <= 0) {
                const int Error = W < 0 ? errno : ENOSPC;
                close(Fd);
                throw EBackupError(QStringLiteral("Cannot copy '%1' beside the database: %2")
                                       .arg(QFile::decodeName(From), SystemError(Error)),
                                   Error);
            }
            Done += W;
        }
    }
    close(Fd);
    return Problem;
}

// Copies Source, with the journal or log SQLite reads beside it, into Temp.
TDbFileCheck CopySource(const QByteArray& Source, const TTempFile& Temp)
{
    for (const char* Suffix : {"", "-journal", "-wal"}) {
        const QByteArray From = Source + Suffix;
        int To = Temp.Handle();
        if (*Suffix) {
            if (access(From.constData(), F_OK) != 0)
                continue;
            To = open((Temp.Name() + Suffix).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (To < 0) {
                const int Error = errno;
                throw EBackupError(QStringLiteral("Cannot copy '%1' beside the database: %2")
                                       .arg(QFile::decodeName(From), SystemError(Error)),
                                   Error);
            }
        }
        bool NotFile = false;
        QString Problem;
        try {
            Problem = CopyFileInto(From, To, NotFile);
        } catch (...) {
            if (*Suffix)
                close(To);
            throw;
        }
        if (*Suffix)
            close(To);
        if (NotFile)
            return {dfNotDatabase, QStringLiteral("'%1' is not a regular file").arg(QFile::decodeName(From)), {}};
        if (!Problem.isEmpty())
            return {dfCannotOpen, Problem, {}};
    }
    return {};
}

} // namespace

void BackupSqlite(sqlite3* Source, const QString& FileName)
{
    const QByteArray Target = QFile::encodeName(FileName);
    const QByteArray Live = sqlite3_db_filename(Source, "main");
    std::error_code Ec;
    if (std::filesystem::equivalent(Live.constData(), Target.constData(), Ec))
        throw EBackupError(QStringLiteral("'%1' is the open database itself").arg(FileName), SQLITE_MISUSE);
    RemoveLeftovers(Live);
    RemoveLeftovers(Target);
    TTempFile Temp(Target);
    if (Temp.Name().isEmpty())
        throw EBackupError(QStringLiteral("Cannot create a file beside '%1': %2").arg(FileName, SystemError(Temp.Error())),
                           Temp.Error());
    QString Message;
    const int Rc = CopyPagesInto(Source, Temp.Name(), Message);
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
    const TSchemaShape Expected = SchemaShape(SchemaSql);
    sqlite3* Db = nullptr;
    const QByteArray Path = QFile::encodeName(FileName);
    if (QFileInfo::exists(FileName) && !IsRegularFile(Path))
        return {dfNotDatabase, QStringLiteral("'%1' is not a regular file").arg(FileName), {}};
    const int Rc = sqlite3_open_v2(Path.constData(), &Db, SQLITE_OPEN_READONLY, nullptr);
    const TDbFileCheck Result = Rc == SQLITE_OK ? CheckOpenFile(Db, Expected)
                                                : TDbFileCheck{dfCannotOpen, QString::fromUtf8(sqlite3_errstr(Rc)), {}};
    sqlite3_close_v2(Db);
    return Result;
}

TDbFileCheck RestoreSqlite(sqlite3* Live, const QString& FileName, const QString& SchemaSql)
{
    const TSchemaShape Expected = SchemaShape(SchemaSql);
    const QByteArray Database = sqlite3_db_filename(Live, "main");
    const QByteArray Source = QFile::encodeName(FileName);
    RemoveLeftovers(Database);
    RemoveLeftovers(Source);
    // A copy of our own: the file cannot change between the check and the
    // write, and SQLite may play its journal or log into it.
    TTempFile Temp(Database);
    if (Temp.Name().isEmpty())
        throw EBackupError(
            QStringLiteral("Cannot create a file beside the database: %1").arg(SystemError(Temp.Error())), Temp.Error());
    TDbFileCheck Result = CopySource(Source, Temp);
    if (Result.Fault != dfNone)
        return Result;
    sqlite3* Db = nullptr;
    int Rc = sqlite3_open_v2(Temp.Name().constData(), &Db, SQLITE_OPEN_READWRITE, nullptr);
    // Leaving write-ahead logging folds the log into the file, and the pages
    // written into the database then do not switch it to a log of its own.
    QString Mode;
    if (Rc == SQLITE_OK)
        Rc = EachRow(Db, "PRAGMA journal_mode = DELETE", [&](const QString& Value) { Mode = Value; });
    if (Rc != SQLITE_OK)
        Result = Fault(Db, Rc);
    else if (Mode != QLatin1String("delete"))
        Result = {dfCannotOpen, QStringLiteral("The journal mode stays %1").arg(Mode), {}};
    else
        Result = CheckOpenFile(Db, Expected);
    QString Message;
    if (Result.Fault == dfNone && (Rc = CopyPages(Db, Live)) != SQLITE_OK)
        Message = QString::fromUtf8(sqlite3_errmsg(Live));
    sqlite3_close_v2(Db);
    if (!Message.isEmpty())
        throw EBackupError(QStringLiteral("Cannot write into the database: %1").arg(Message), Rc & 0xff);
    return Result;
}
