// What the work on whole SQLite files shares: our temporary files, the copy
// of a file offered for a restore, the tables a schema script makes, and the
// check of a file against them (SqliteFiles.cpp, SqliteFilesCheck.cpp,
// SqliteFilesRestore.cpp).
#pragma once

#include "platform/db/ADOConnection.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <sqlite3.h>
#include <vector>

// A temporary file of ours in a folder, removed unless it was put in place.
// Its name is hidden and proves itself ours (RemoveLeftovers); it stays open
// and locked for its whole life, so SQLite's connections to it must be closed
// before it goes, as closing our descriptor drops this process's locks on it.
class TTempFile
{
public:
    explicit TTempFile(const QByteArray& Folder);
    ~TTempFile();
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    const QByteArray& Name() const { return FName; } // empty when it could not be made
    int Handle() const { return FFd; }
    int Error() const { return FError; }             // errno when it could not be made
    void Release() { FName.clear(); }

private:
    QByteArray FName;
    int FFd = -1;
    int FError = 0;
};

// Removes from Folder what killed runs left: only files whose names prove
// them ours, whose run is gone.
void RemoveLeftovers(const QByteArray& Folder);
QByteArray FolderOf(const QByteArray& File);
bool SameFolder(const QByteArray& A, const QByteArray& B);
QString SystemError(int Error);
// The system's error number behind a failed step of Db's own file, 0 when
// the failure was not the system's.
int SystemErrno(sqlite3* Db, int Rc);

// Copies Source, with the journal or log SQLite reads beside it, into Temp,
// in one committed state: held against its writers as SQLite's readers hold
// it. The fault when Source cannot be read or another program keeps writing
// it (dfInUse); raises EBackupError when Temp cannot be written.
TDbFileCheck CopySource(const QByteArray& Source, const TTempFile& Temp);

// Opens a file that is not ours so that its schema cannot run anything of
// ours: a connection of its own with none of the program's functions,
// trusted_schema off and the defensive flag on. SQLite's result code.
int OpenForeign(const QByteArray& File, int Flags, sqlite3** Db);
QString EngineWords(sqlite3* Db, int Rc);
TDbFileCheck Fault(sqlite3* Db, int Rc);

// Runs Sql and hands every row's first column, as text, to Row; SQLite's
// result code.
template <class F>
int EachRow(sqlite3* Db, const char* Sql, F Row)
{
    sqlite3_stmt* S = nullptr;
    int Rc = sqlite3_prepare_v2(Db, Sql, -1, &S, nullptr);
    while (Rc == SQLITE_OK && (Rc = sqlite3_step(S)) == SQLITE_ROW) {
        Row(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(S, 0))));
        Rc = SQLITE_OK;
    }
    sqlite3_finalize(S);
    return Rc == SQLITE_DONE ? SQLITE_OK : Rc;
}

// A database's own tables (not the engine's, not virtual ones) with their
// columns, generated ones included, and its triggers and views, each
// "type\nname\nstatement".
struct TShapeColumn
{
    QString Name;
    bool Numbers = false; // INTEGER or REAL affinity: text there is a value the column cannot hold
    bool Blobs = false;   // BLOB affinity: the only kind that holds blobs as the program reads them
    bool Text = false;    // TEXT affinity: a number there is kept as text
};
struct TShapeTable
{
    QString Name;
    std::vector<TShapeColumn> Columns;
    int Key = -1;               // the column that is the row id, if one is
    bool AutoIncrement = false; // its counter is kept in sqlite_sequence
};
struct TSchemaShape
{
    std::vector<TShapeTable> Tables;
    QStringList Objects;
};

// What a schema script creates, made in memory.
TSchemaShape SchemaShape(const QString& SchemaSql);
// The fault of an open file against Expected, none when it is one of ours.
TDbFileCheck CheckOpenFile(sqlite3* Db, const TSchemaShape& Expected);
// The first value in Expected's tables of an open file that ours could not
// keep as the file holds it, none when every one is sound.
TDbFileCheck CheckValues(sqlite3* Db, const TSchemaShape& Expected);
