#include "platform/db/NewDatabase.h"

#include "platform/rtl/SysUtils.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

void CreateDatabaseFile(const QString& FileName, const QString& SchemaSql)
{
    if (QFileInfo::exists(FileName))
        throw EDatabaseError(QStringLiteral("'%1' already exists; it is not overwritten").arg(FileName));
    sqlite3* Db = nullptr;
    const QByteArray Path = FileName.toUtf8();
    const int Rc = sqlite3_open_v2(Path.constData(), &Db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    QString Error;
    if (Rc != SQLITE_OK) {
        Error = Db ? QString::fromUtf8(sqlite3_errmsg(Db)) : QStringLiteral("out of memory");
    } else {
        const QByteArray Script = QByteArrayLiteral("BEGIN;\n") + SchemaSql.toUtf8() + QByteArrayLiteral("\nCOMMIT;");
        char* Msg = nullptr;
        if (sqlite3_exec(Db, Script.constData(), nullptr, nullptr, &Msg) != SQLITE_OK) {
            Error = QString::fromUtf8(Msg ? Msg : "error");
            sqlite3_free(Msg);
        }
    }
    sqlite3_close_v2(Db);
    if (!Error.isEmpty()) {
        QFile::remove(FileName);
        throw EDatabaseError(QStringLiteral("Cannot create '%1': %2").arg(FileName, Error));
    }
}
