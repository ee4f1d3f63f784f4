// A restore: the rows of a checked copy of the chosen file written into the
// open database in one write transaction of its own connection.
#include "platform/db/ADOConnection.h"
#include "platform/db/DbEngine_p.h"
#include "platform/db/JetSql.h"
#include "platform/db/SqliteFiles_p.h"

#include <QFile>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <sqlite3.h>

namespace {

using TConnection = std::unique_ptr<sqlite3, decltype(&sqlite3_close_v2)>;

// A failed step of the open database: another copy holding it, or a write
// the system refused.
EBackupError LiveFailure(sqlite3* Live, int Rc)
{
    const int Code = Rc & 0xff;
    return EBackupError(QStringLiteral("Cannot write into the database: %1").arg(EngineWords(Live, Rc)),
                        SystemErrno(Live, Rc), Code == SQLITE_BUSY || Code == SQLITE_LOCKED);
}

void LiveExec(sqlite3* Live, const QString& Sql)
{
    const int Rc = sqlite3_exec(Live, Sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (Rc != SQLITE_OK)
        throw LiveFailure(Live, Rc);
}

// A prepared statement, finalized when it goes.
class TPrepared
{
public:
    TPrepared(sqlite3* Db, const QString& Sql) { FRc = sqlite3_prepare_v2(Db, Sql.toUtf8().constData(), -1, &FStmt, nullptr); }
    ~TPrepared() { sqlite3_finalize(FStmt); }
    TPrepared(const TPrepared&) = delete;
    TPrepared& operator=(const TPrepared&) = delete;

    int Prepared() const { return FRc; }
    sqlite3_stmt* operator*() const { return FStmt; }

private:
    sqlite3_stmt* FStmt = nullptr;
    int FRc;
};

// The first column of the one row of Sql on the open database, as a number.
int64_t LiveNumber(sqlite3* Live, const QString& Sql, const QString& Bound = QString())
{
    TPrepared S(Live, Sql);
    if (S.Prepared() != SQLITE_OK)
        throw LiveFailure(Live, S.Prepared());
    if (!Bound.isNull())
        sqlite3_bind_text(*S, 1, Bound.toUtf8().constData(), -1, SQLITE_TRANSIENT);
    const int Rc = sqlite3_step(*S);
    if (Rc != SQLITE_ROW)
        throw LiveFailure(Live, Rc);
    return sqlite3_column_int64(*S, 0);
}

// Our write lock, taken at once: the busy timeout waits for another copy's
// write, and nothing another copy writes falls between what is read here and
// what is written. Rolled back unless committed. Its pages stay in memory
// until the commit: written to the file before, they would need the file's
// exclusive lock, which keeps every other copy from reading its lists.
class TLiveTransaction
{
public:
    explicit TLiveTransaction(sqlite3* Live) : FLive(Live)
    {
        LiveExec(Live, QStringLiteral("BEGIN IMMEDIATE"));
        // Spilled only past this many pages: never.
        sqlite3_exec(Live, "PRAGMA main.cache_spill = 2147483647", nullptr, nullptr, nullptr);
    }
    ~TLiveTransaction()
    {
        // A full disk or an I/O error may have ended it already.
        if (!sqlite3_get_autocommit(FLive))
            sqlite3_exec(FLive, "ROLLBACK", nullptr, nullptr, nullptr);
        // SQLite's own threshold again: the cache's size.
        sqlite3_exec(FLive, "PRAGMA main.cache_spill = 1", nullptr, nullptr, nullptr);
        sqlite3_db_release_memory(FLive);
    }
    TLiveTransaction(const TLiveTransaction&) = delete;
    TLiveTransaction& operator=(const TLiveTransaction&) = delete;
    void Commit() { LiveExec(FLive, QStringLiteral("COMMIT")); }

private:
    sqlite3* FLive;
};

// The copy is read through memory mapped on it, without a system call for
// each page: it is our own file, which no one else shortens or writes.
void MapCopy(sqlite3* Db, const char* Schema)
{
    sqlite3_exec(Db, QStringLiteral("PRAGMA %1.mmap_size = 2147418112").arg(QLatin1String(Schema)).toUtf8().constData(),
                 nullptr, nullptr, nullptr);
}

// The copy attached to the open database while the rows go in, so that a
// table goes in by one statement, rows and index entries carried over as
// they are where the copy's table is made as ours. Only a copy in the
// database's own text encoding can be attached.
const char* const CopySchema = "tb_copy";

class TAttachedCopy
{
public:
    TAttachedCopy(sqlite3* Live, const QByteArray& File) : FLive(Live)
    {
        TPrepared Attach(Live, QStringLiteral("ATTACH DATABASE ?1 AS %1").arg(QLatin1String(CopySchema)));
        if (Attach.Prepared() != SQLITE_OK)
            throw LiveFailure(Live, Attach.Prepared());
        sqlite3_bind_text(*Attach, 1, File.constData(), -1, SQLITE_TRANSIENT);
        if (const int Rc = sqlite3_step(*Attach); Rc != SQLITE_DONE)
            throw LiveFailure(Live, Rc);
        MapCopy(Live, CopySchema);
    }
    ~TAttachedCopy()
    {
        sqlite3_exec(FLive, QStringLiteral("DETACH DATABASE %1").arg(QLatin1String(CopySchema)).toUtf8().constData(),
                     nullptr, nullptr, nullptr);
    }
    TAttachedCopy(const TAttachedCopy&) = delete;
    TAttachedCopy& operator=(const TAttachedCopy&) = delete;

private:
    sqlite3* FLive;
};

// The highest index a table's counter in the copy names, 0 without one.
TDbFileCheck FileCounter(sqlite3* Copy, const QString& Table, int64_t& Counter)
{
    Counter = 0;
    TPrepared Has(Copy, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'sqlite_sequence'"));
    int Rc = Has.Prepared() == SQLITE_OK ? sqlite3_step(*Has) : Has.Prepared();
    if (Rc != SQLITE_ROW)
        return Fault(Copy, Rc);
    if (sqlite3_column_int(*Has, 0) == 0)
        return {};
    TPrepared S(Copy, QStringLiteral("SELECT ifnull(max(CAST(seq AS INTEGER)), 0) FROM sqlite_sequence WHERE name = ?1 COLLATE NOCASE"));
    if (S.Prepared() != SQLITE_OK)
        return Fault(Copy, S.Prepared());
    sqlite3_bind_text(*S, 1, Table.toUtf8().constData(), -1, SQLITE_TRANSIENT);
    if ((Rc = sqlite3_step(*S)) != SQLITE_ROW)
        return Fault(Copy, Rc);
    Counter = sqlite3_column_int64(*S, 0);
    return {};
}

QString ColumnList(const TShapeTable& Table)
{
    QStringList Names;
    for (const TShapeColumn& Column : Table.Columns)
        Names << QuoteName(Column.Name);
    return Names.join(u',');
}

// Writes the copy's rows of Table into the open database by our column
// names, value by value, so that text of another encoding is converted;
// Highest is the largest row id written.
TDbFileCheck CopyRows(sqlite3* Copy, sqlite3* Live, const TShapeTable& Table, int64_t& Highest)
{
    const QString Columns = ColumnList(Table);
    // Not through an index of the file's: its rows as its table holds them.
    TPrepared From(Copy, QStringLiteral("SELECT %1 FROM main.%2 NOT INDEXED").arg(Columns, QuoteName(Table.Name)));
    if (From.Prepared() != SQLITE_OK)
        return Fault(Copy, From.Prepared());
    QStringList Marks;
    for (size_t I = 1; I <= Table.Columns.size(); ++I)
        Marks << QStringLiteral("?%1").arg(I);
    TPrepared Into(Live, QStringLiteral("INSERT INTO main.%1 (%2) VALUES (%3)").arg(QuoteName(Table.Name), Columns, Marks.join(u',')));
    if (Into.Prepared() != SQLITE_OK)
        throw LiveFailure(Live, Into.Prepared());
    int Rc;
    while ((Rc = sqlite3_step(*From)) == SQLITE_ROW) {
        for (int I = 0; I < int(Table.Columns.size()); ++I) {
            const TShapeColumn& Column = Table.Columns[size_t(I)];
            const int Type = sqlite3_column_type(*From, I);
            // A blob is no value of ours (and may be a huge one of nothing);
            // a row without its index would get a new one.
            if ((Type == SQLITE_BLOB && !Column.Blobs) || (Type == SQLITE_NULL && I == Table.Key))
                return {dfBadValue, Table.Name, Column.Name, {}};
            sqlite3_bind_value(*Into, I + 1, sqlite3_column_value(*From, I));
        }
        const int Written = sqlite3_step(*Into);
        if (Written != SQLITE_DONE) {
            if ((Written & 0xff) == SQLITE_CONSTRAINT || (Written & 0xff) == SQLITE_MISMATCH)
                return {dfBadValue, Table.Name, EngineWords(Live, Written), {}};
            throw LiveFailure(Live, Written);
        }
        sqlite3_reset(*Into);
        Highest = std::max<int64_t>(Highest, sqlite3_last_insert_rowid(Live));
    }
    return Rc == SQLITE_DONE ? TDbFileCheck{} : Fault(Copy, Rc);
}

// How the copy's table holds our columns: in our order, so that its rows
// may go in as they are; in another; or one of them computed by the file's
// own expression, which must run on the copy's connection, not ours.
enum class TCopyColumns { Ours, Reordered, Computed };

TCopyColumns CopyColumns(sqlite3* Copy, const TShapeTable& Table)
{
    QStringList Names;
    bool Computed = false;
    char* Sql = sqlite3_mprintf("SELECT name, hidden FROM pragma_table_xinfo(%Q)", Table.Name.toUtf8().constData());
    sqlite3_stmt* S = nullptr;
    int Rc = sqlite3_prepare_v2(Copy, Sql, -1, &S, nullptr);
    sqlite3_free(Sql);
    while (Rc == SQLITE_OK && sqlite3_step(S) == SQLITE_ROW) {
        Names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(S, 0)));
        Computed = Computed || sqlite3_column_int(S, 1) != 0;
    }
    sqlite3_finalize(S);
    if (Computed || Rc != SQLITE_OK)
        return TCopyColumns::Computed;
    if (Names.size() != qsizetype(Table.Columns.size()))
        return TCopyColumns::Reordered;
    for (size_t I = 0; I < Table.Columns.size(); ++I)
        if (Names[qsizetype(I)].compare(Table.Columns[I].Name, Qt::CaseInsensitive) != 0)
            return TCopyColumns::Reordered;
    return TCopyColumns::Ours;
}

// Writes the rows of Table of the attached copy into the open database by
// one statement, in the order the copy's table holds them, never through its
// indexes; Highest is the largest row id written.
TDbFileCheck InsertRows(sqlite3* Live, sqlite3* Copy, const TShapeTable& Table, int64_t& Highest)
{
    const TCopyColumns Columns = CopyColumns(Copy, Table);
    if (Columns == TCopyColumns::Computed)
        return CopyRows(Copy, Live, Table, Highest);
    const QString From = QStringLiteral("%1.%2").arg(QLatin1String(CopySchema), QuoteName(Table.Name));
    // A row without its index would get a new one.
    if (Table.Key >= 0) {
        const QString Key = QuoteName(Table.Columns[size_t(Table.Key)].Name);
        if (LiveNumber(Live, QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1 NOT INDEXED WHERE %2 IS NULL)").arg(From, Key)))
            return {dfBadValue, Table.Name, Table.Columns[size_t(Table.Key)].Name, {}};
    }
    // SQLite carries rows and index entries over as they are only for "SELECT *".
    const QString Sql = Columns == TCopyColumns::Ours
        ? QStringLiteral("INSERT INTO main.%1 SELECT * FROM %2 NOT INDEXED").arg(QuoteName(Table.Name), From)
        : QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM %3 NOT INDEXED")
              .arg(QuoteName(Table.Name), ColumnList(Table), From);
    const int Rc = sqlite3_exec(Live, Sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if ((Rc & 0xff) == SQLITE_CONSTRAINT || (Rc & 0xff) == SQLITE_MISMATCH)
        return {dfBadValue, Table.Name, EngineWords(Live, Rc), {}};
    if (Rc != SQLITE_OK)
        throw LiveFailure(Live, Rc);
    if (Table.Key >= 0)
        Highest = std::max(Highest, LiveNumber(Live, QStringLiteral("SELECT ifnull(max(%1), 0) FROM main.%2")
                                                          .arg(QuoteName(Table.Columns[size_t(Table.Key)].Name),
                                                               QuoteName(Table.Name))));
    return {};
}

// The first column of Table, as written into the open database, holding a
// value that cannot be ours: text where only numbers belong (text the
// column's affinity could not make a number of), or a blob, which the program
// does not read (and may be a huge one of nothing).
TDbFileCheck CheckWrittenValues(sqlite3* Live, const TShapeTable& Table)
{
    QStringList Cases, Any;
    for (const TShapeColumn& Column : Table.Columns) {
        const QString Name = QuoteName(Column.Name);
        const QString Misfit = Column.Numbers ? QStringLiteral("typeof(%1) IN ('text', 'blob')").arg(Name)
            : Column.Blobs                    ? QString()
                                              : QStringLiteral("typeof(%1) = 'blob'").arg(Name);
        if (Misfit.isEmpty())
            continue;
        Cases << QStringLiteral("WHEN %1 THEN %2").arg(Misfit, SqlQuoted(Column.Name));
        Any << Misfit;
    }
    if (Any.isEmpty())
        return {};
    TPrepared S(Live, QStringLiteral("SELECT CASE %1 END FROM main.%2 WHERE %3 LIMIT 1")
                          .arg(Cases.join(u' '), QuoteName(Table.Name), Any.join(QStringLiteral(" OR "))));
    if (S.Prepared() != SQLITE_OK)
        throw LiveFailure(Live, S.Prepared());
    const int Rc = sqlite3_step(*S);
    if (Rc == SQLITE_ROW)
        return {dfBadValue, Table.Name, QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(*S, 0))), {}};
    if (Rc != SQLITE_DONE)
        throw LiveFailure(Live, Rc);
    return {};
}

// Sets Table's counter in the open database.
void SetCounter(sqlite3* Live, const QString& Table, int64_t Counter)
{
    for (const char* Sql : {"UPDATE main.sqlite_sequence SET seq = ?2 WHERE name = ?1",
                            "INSERT INTO main.sqlite_sequence (name, seq) VALUES (?1, ?2)"}) {
        TPrepared S(Live, QString::fromLatin1(Sql));
        if (S.Prepared() != SQLITE_OK)
            throw LiveFailure(Live, S.Prepared());
        sqlite3_bind_text(*S, 1, Table.toUtf8().constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(*S, 2, Counter);
        const int Rc = sqlite3_step(*S);
        if (Rc != SQLITE_DONE)
            throw LiveFailure(Live, Rc);
        if (sqlite3_changes(Live) > 0)
            return;
    }
}

QString EncodingOf(sqlite3* Db)
{
    QString Encoding;
    EachRow(Db, "PRAGMA encoding", [&](const QString& Value) { Encoding = Value; });
    return Encoding;
}

// The structure of what was written: pages, records, free list. Its index
// entries SQLite made, or carried over from the copy, whose full check found
// them to agree with its rows; checking them again would take as long.
void CheckLive(sqlite3* Live)
{
    QStringList Answer;
    const int Rc = EachRow(Live, "PRAGMA main.quick_check", [&](const QString& Line) { Answer << Line; });
    if (Rc != SQLITE_OK)
        throw LiveFailure(Live, Rc);
    if (Answer != QStringList{QStringLiteral("ok")})
        throw EBackupError(QStringLiteral("The restored database fails its check: %1").arg(Answer.join(u'\n')), 0);
}

// In one write transaction: every table of ours emptied and filled with the
// copy's rows, and each counter set to the largest of its own (with the
// largest index the database held), the copy's and the largest index
// written, so that no index handed out before is handed out again.
TDbFileCheck WriteRows(sqlite3* Live, sqlite3* Copy, const QByteArray& CopyFile, const TSchemaShape& Expected)
{
    const size_t Count = Expected.Tables.size();
    std::vector<int64_t> Counters(Count, 0);
    for (size_t I = 0; I < Count; ++I)
        if (Expected.Tables[I].AutoIncrement)
            if (TDbFileCheck Check = FileCounter(Copy, Expected.Tables[I].Name, Counters[I]); Check.Fault != dfNone)
                return Check;
    // Text of another encoding is converted value by value.
    std::optional<TAttachedCopy> Attached;
    if (EncodingOf(Copy) == EncodingOf(Live))
        Attached.emplace(Live, CopyFile);
    TLiveTransaction Transaction(Live);
    for (size_t I = 0; I < Count; ++I) {
        const TShapeTable& Table = Expected.Tables[I];
        if (Table.AutoIncrement)
            Counters[I] = std::max(
                {Counters[I],
                 LiveNumber(Live, QStringLiteral("SELECT ifnull(max(seq), 0) FROM main.sqlite_sequence WHERE name = ?1"), Table.Name),
                 LiveNumber(Live, QStringLiteral("SELECT ifnull(max(%1), 0) FROM main.%2")
                                      .arg(QuoteName(Table.Columns[size_t(Table.Key)].Name), QuoteName(Table.Name)))});
        LiveExec(Live, QStringLiteral("DELETE FROM main.%1").arg(QuoteName(Table.Name)));
    }
    for (size_t I = 0; I < Count; ++I) {
        const TShapeTable& Table = Expected.Tables[I];
        TDbFileCheck Check = Attached ? InsertRows(Live, Copy, Table, Counters[I]) : CopyRows(Copy, Live, Table, Counters[I]);
        if (Check.Fault == dfNone)
            Check = CheckWrittenValues(Live, Table);
        if (Check.Fault != dfNone)
            return Check;
        if (!Table.AutoIncrement)
            continue;
        if (Counters[I] == INT64_MAX)
            return {dfNoRoom, Table.Name, {}, {}};
        SetCounter(Live, Table.Name, Counters[I]);
    }
    CheckLive(Live);
    Transaction.Commit();
    return {};
}

// Opens the copy, folds its journal or log into it and checks it.
TDbFileCheck OpenCopy(const QByteArray& File, const TSchemaShape& Expected, TConnection& Copy)
{
    sqlite3* Db = nullptr;
    int Rc = OpenForeign(File, SQLITE_OPEN_READWRITE, &Db);
    Copy.reset(Db);
    // Leaving write-ahead logging folds the log into the file; a hot journal
    // is played back at the first read.
    QString Mode;
    if (Rc == SQLITE_OK)
        Rc = EachRow(Db, "PRAGMA journal_mode = DELETE", [&](const QString& Value) { Mode = Value; });
    if (Rc != SQLITE_OK)
        return Fault(Db, Rc);
    if (Mode != QLatin1String("delete"))
        return {dfCannotOpen, QStringLiteral("The journal mode stays %1").arg(Mode), {}, {}};
    MapCopy(Db, "main");
    return CheckOpenFile(Db, Expected);
}

} // namespace

TDbFileCheck RestoreSqlite(sqlite3* Live, const QString& FileName, const QString& SchemaSql)
{
    const TSchemaShape Expected = SchemaShape(SchemaSql);
    const QByteArray Database = sqlite3_db_filename(Live, "main");
    const QByteArray Source = QFile::encodeName(FileName);
    const QByteArray Folder = FolderOf(Database);
    // Never in the folder the file comes from: that holds the user's own files.
    if (!SameFolder(Folder, FolderOf(Source)))
        RemoveLeftovers(Folder);
    // A copy of our own: the file cannot change between the check and the
    // write, and SQLite may play its journal or log into the copy, never into
    // the user's file.
    TTempFile Temp(Folder);
    if (Temp.Name().isEmpty())
        throw EBackupError(
            QStringLiteral("Cannot create a file beside the database: %1").arg(SystemError(Temp.Error())), Temp.Error());
    TDbFileCheck Result = CopySource(Source, Temp);
    if (Result.Fault != dfNone)
        return Result;
    TConnection Copy(nullptr, &sqlite3_close_v2);
    Result = OpenCopy(Temp.Name(), Expected, Copy);
    if (Result.Fault == dfNone)
        Result = CheckValues(Copy.get(), Expected);
    if (Result.Fault != dfNone)
        return Result;
    Result = WriteRows(Live, Copy.get(), Temp.Name(), Expected);
    // Told only when the text was in fact converted to ours: a database an
    // earlier version left in another encoding keeps it.
    const QString Ours = QStringLiteral("UTF-8");
    if (Result.Fault == dfNone && EncodingOf(Copy.get()) != Ours && EncodingOf(Live) == Ours)
        Result.Encoding = EncodingOf(Copy.get());
    return Result;
}
