// The check of a database file offered for a restore against the tables the
// schema script makes.
#include "platform/db/ADOConnection.h"
#include "platform/db/DbEngine_p.h"
#include "platform/db/SqliteFiles_p.h"

#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>
#include <QStringView>
#include <algorithm>
#include <cmath>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

// The affinity SQLite gives a declared type, by its rules in their order.
enum class TAffinity { Integer, Text, Blob, Real, Numeric };

TAffinity AffinityOf(const QString& Type)
{
    const QString T = Type.toUpper();
    const auto Has = [&](const char* Part) { return T.contains(QLatin1String(Part)); };
    if (Has("INT"))
        return TAffinity::Integer;
    if (Has("CHAR") || Has("CLOB") || Has("TEXT"))
        return TAffinity::Text;
    if (Has("BLOB") || T.trimmed().isEmpty())
        return TAffinity::Blob;
    if (Has("REAL") || Has("FLOA") || Has("DOUB"))
        return TAffinity::Real;
    return TAffinity::Numeric;
}

int ReadColumns(sqlite3* Db, TShapeTable& Table)
{
    char* Sql = sqlite3_mprintf("SELECT name, type, pk FROM pragma_table_xinfo(%Q)", Table.Name.toUtf8().constData());
    sqlite3_stmt* S = nullptr;
    int Rc = sqlite3_prepare_v2(Db, Sql, -1, &S, nullptr);
    sqlite3_free(Sql);
    int Keys = 0, Key = -1;
    while (Rc == SQLITE_OK && (Rc = sqlite3_step(S)) == SQLITE_ROW) {
        const QString Type = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(S, 1)));
        if (sqlite3_column_int(S, 2) > 0) {
            ++Keys;
            if (Type.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0)
                Key = int(Table.Columns.size());
        }
        const TAffinity Affinity = AffinityOf(Type);
        Table.Columns.push_back({QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(S, 0))),
                                 Affinity == TAffinity::Integer || Affinity == TAffinity::Real,
                                 Affinity == TAffinity::Blob, Affinity == TAffinity::Text});
        Rc = SQLITE_OK;
    }
    sqlite3_finalize(S);
    // One INTEGER key column of a table with row ids is its row id.
    Table.Key = Keys == 1 ? Key : -1;
    return Rc == SQLITE_DONE ? SQLITE_OK : Rc;
}

// The tables in the order they were made. The engine tells which are
// tables, so that a virtual table of another module, named like one of ours,
// is none of them.
int ReadShape(sqlite3* Db, TSchemaShape& Shape)
{
    int Rc = EachRow(Db,
                     "SELECT m.name FROM sqlite_master AS m JOIN pragma_table_list AS l "
                     "ON l.schema = 'main' AND l.name = m.name AND l.type = 'table' "
                     "WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY m.rowid",
                     [&](const QString& Name) { Shape.Tables.push_back({Name, {}}); });
    for (TShapeTable& Table : Shape.Tables) {
        if (Rc != SQLITE_OK)
            break;
        Rc = ReadColumns(Db, Table);
    }
    if (Rc == SQLITE_OK)
        Rc = EachRow(Db,
                     "SELECT type || char(10) || name || char(10) || ifnull(sql, '') FROM sqlite_master "
                     "WHERE type IN ('trigger', 'view')",
                     [&](const QString& Object) { Shape.Objects << Object; });
    return Rc;
}

// The first table of Expected that Found misses, else the first column that
// differs, or none.
TDbFileCheck CompareColumns(const std::vector<TShapeTable>& Expected, const std::vector<TShapeTable>& Found)
{
    const auto FoundTable = [&](const QString& Table) {
        return std::find_if(Found.begin(), Found.end(),
                            [&](const TShapeTable& T) { return T.Name.compare(Table, Qt::CaseInsensitive) == 0; });
    };
    const auto Holds = [](const TShapeTable& Table, const QString& Column) {
        return std::any_of(Table.Columns.begin(), Table.Columns.end(),
                           [&](const TShapeColumn& C) { return C.Name.compare(Column, Qt::CaseInsensitive) == 0; });
    };
    for (const TShapeTable& Table : Expected)
        if (FoundTable(Table.Name) == Found.end())
            return {dfMissingTable, Table.Name, {}, {}};
    for (const TShapeTable& Table : Expected) {
        const TShapeTable& Other = *FoundTable(Table.Name);
        for (const TShapeColumn& Column : Table.Columns)
            if (!Holds(Other, Column.Name))
                return {dfMissingColumn, Table.Name, Column.Name, {}};
        for (const TShapeColumn& Column : Other.Columns)
            if (!Holds(Table, Column.Name))
                return {dfExtraColumn, Table.Name, Column.Name, {}};
    }
    return {};
}

// The problems an integrity check named, without the lines that only say
// which database they are in.
QString Problems(const QStringList& Answer)
{
    const QStringList Lines = Answer.join(u'\n').split(u'\n');
    QStringList Named;
    for (const QString& Line : Lines)
        if (!Line.startsWith(QLatin1String("*** in database")))
            Named << Line;
    return (Named.isEmpty() ? Lines : Named).join(u'\n');
}

// Whether column I of S holds whole characters of the file's encoding. Read
// as stored: SQLite's conversion from UTF-16 would alter bad text silently.
bool WholeCharacters(sqlite3_stmt* S, int I, bool Utf8)
{
    if (Utf8)
        return QByteArrayView(reinterpret_cast<const char*>(sqlite3_column_text(S, I)), sqlite3_column_bytes(S, I))
            .isValidUtf8();
    const auto* Units = static_cast<const char16_t*>(sqlite3_column_text16(S, I));
    const int Bytes = sqlite3_column_bytes16(S, I);
    return Bytes % 2 == 0 && QStringView(Units, Bytes / 2).isValidUtf16();
}

// The first value of Table that ours could not keep: text that is not whole
// characters, or where ours keeps numbers, one that is not a finite number
// (text such as '1e999' becomes infinity there).
TDbFileCheck CheckTableValues(sqlite3* Db, const TShapeTable& Table, bool Utf8)
{
    QStringList Names;
    for (const TShapeColumn& Column : Table.Columns)
        Names << QuoteName(Column.Name);
    sqlite3_stmt* S = nullptr;
    int Rc = sqlite3_prepare_v2(
        Db, QStringLiteral("SELECT %1 FROM main.%2 NOT INDEXED").arg(Names.join(u','), QuoteName(Table.Name)).toUtf8().constData(),
        -1, &S, nullptr);
    TDbFileCheck Result;
    while (Rc == SQLITE_OK && (Rc = sqlite3_step(S)) == SQLITE_ROW) {
        Rc = SQLITE_OK;
        for (int I = 0; I < int(Table.Columns.size()) && Result.Fault == dfNone; ++I) {
            const TShapeColumn& Column = Table.Columns[size_t(I)];
            const int Type = sqlite3_column_type(S, I);
            if ((Type == SQLITE_TEXT && !WholeCharacters(S, I, Utf8))
                || ((Type == SQLITE_TEXT || Type == SQLITE_FLOAT) && !Column.Text && !Column.Blobs
                    && !std::isfinite(sqlite3_column_double(S, I))))
                Result = {dfBadValue, Table.Name, Column.Name, {}};
        }
        if (Result.Fault != dfNone)
            break;
    }
    sqlite3_finalize(S);
    if (Result.Fault == dfNone && Rc != SQLITE_OK && Rc != SQLITE_DONE)
        return Fault(Db, Rc);
    return Result;
}

// Whether File is a regular file (after links), so that opening it cannot block.
bool IsRegularFile(const QByteArray& File)
{
    struct stat St{};
    return stat(File.constData(), &St) == 0 && S_ISREG(St.st_mode);
}

} // namespace

int OpenForeign(const QByteArray& File, int Flags, sqlite3** Db)
{
    int Rc = sqlite3_open_v2(File.constData(), Db, Flags, nullptr);
    if (Rc == SQLITE_OK)
        Rc = sqlite3_db_config(*Db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    if (Rc == SQLITE_OK)
        Rc = sqlite3_db_config(*Db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    return Rc;
}

QString EngineWords(sqlite3* Db, int Rc)
{
    return Db ? QString::fromUtf8(sqlite3_errmsg(Db)) : QString::fromUtf8(sqlite3_errstr(Rc));
}

TDbFileCheck Fault(sqlite3* Db, int Rc)
{
    const QString Words = EngineWords(Db, Rc);
    switch (Rc & 0xff) {
    case SQLITE_NOTADB: return {dfNotDatabase, Words, {}, {}};
    case SQLITE_CORRUPT: return {dfDamaged, Words, {}, {}};
    default: return {dfCannotOpen, Words, {}, {}};
    }
}

TSchemaShape SchemaShape(const QString& SchemaSql)
{
    sqlite3* Db = nullptr;
    TSchemaShape Shape;
    int Rc = sqlite3_open_v2(":memory:", &Db, SQLITE_OPEN_READWRITE, nullptr);
    if (Rc == SQLITE_OK)
        Rc = sqlite3_exec(Db, SchemaSql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (Rc == SQLITE_OK)
        Rc = ReadShape(Db, Shape);
    for (TShapeTable& Table : Shape.Tables) {
        int AutoIncrement = 0;
        if (Rc == SQLITE_OK && Table.Key >= 0)
            Rc = sqlite3_table_column_metadata(Db, "main", Table.Name.toUtf8().constData(),
                                               Table.Columns[size_t(Table.Key)].Name.toUtf8().constData(), nullptr,
                                               nullptr, nullptr, nullptr, &AutoIncrement);
        Table.AutoIncrement = AutoIncrement != 0;
    }
    const QString Words = EngineWords(Db, Rc);
    sqlite3_close_v2(Db);
    if (Rc != SQLITE_OK)
        throw EDatabaseError(QStringLiteral("The schema does not run: %1").arg(Words));
    return Shape;
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
    // Any answer but a single "ok" is damage. The check may list what it
    // found and then stop on a page it cannot read.
    QStringList Answer;
    Rc = EachRow(Db, "PRAGMA integrity_check(10)", [&](const QString& Line) { Answer << Line; });
    if (!Answer.isEmpty() && Answer != QStringList{QStringLiteral("ok")})
        return {dfDamaged, Problems(Answer), {}, {}};
    if (Rc != SQLITE_OK)
        return Fault(Db, Rc);
    if (Columns.Fault != dfNone)
        return Columns;
    // A trigger or view runs the file's own statements inside the program's.
    for (const QString& Object : Found.Objects)
        if (!Expected.Objects.contains(Object))
            return {Object.startsWith(u't') ? dfExtraTrigger : dfExtraView, Object.section(u'\n', 1, 1), {}, {}};
    return {};
}

TDbFileCheck CheckValues(sqlite3* Db, const TSchemaShape& Expected)
{
    QString Encoding;
    const int Rc = EachRow(Db, "PRAGMA encoding", [&](const QString& Value) { Encoding = Value; });
    if (Rc != SQLITE_OK)
        return Fault(Db, Rc);
    for (const TShapeTable& Table : Expected.Tables)
        if (TDbFileCheck Check = CheckTableValues(Db, Table, Encoding == QLatin1String("UTF-8")); Check.Fault != dfNone)
            return Check;
    return {};
}

TDbFileCheck CheckSqliteFile(const QString& FileName, const QString& SchemaSql)
{
    const TSchemaShape Expected = SchemaShape(SchemaSql);
    const QByteArray Path = QFile::encodeName(FileName);
    if (QFileInfo::exists(FileName) && !IsRegularFile(Path))
        return {dfNotDatabase, QStringLiteral("'%1' is not a regular file").arg(FileName), {}, {}};
    sqlite3* Db = nullptr;
    const int Rc = OpenForeign(Path, SQLITE_OPEN_READONLY, &Db);
    const TDbFileCheck Result = Rc == SQLITE_OK ? CheckOpenFile(Db, Expected) : TDbFileCheck{dfCannotOpen, EngineWords(Db, Rc), {}, {}};
    sqlite3_close_v2(Db);
    return Result;
}
