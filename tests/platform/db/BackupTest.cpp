// Backups of the open database and the check of a file offered for a restore.
#include "DbTestFixture.h"

#include "platform/db/Field.h"

#include <QDir>
#include <csignal>
#include <sys/resource.h>

namespace {

class BackupTest : public TDbFixture
{
protected:
    QString InDir(const char* Name) const { return Dir.filePath(QString::fromUtf8(Name)); }
    static QByteArray Read(const QString& File)
    {
        QFile F(File);
        return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
    }
    static void Write(const QString& File, const QByteArray& Bytes)
    {
        QFile F(File);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write(Bytes);
    }
    QString Files() const { return QDir(Dir.path()).entryList(QDir::Files, QDir::Name).join(u','); }
};

} // namespace

TEST_F(BackupTest, BackupEqualsTheOpenDatabase)
{
    Seed();
    Connection->BackupTo(InDir("备份.mdb"));
    // Page by page; only the header's change counters may differ.
    EXPECT_EQ(Read(InDir("备份.mdb")).mid(100), Read(Path).mid(100));
    EXPECT_THROW(Connection->BackupTo(Dir.filePath(QStringLiteral("./Tallybridge.mdb"))), EBackupError);
    EXPECT_EQ(Files(), QStringLiteral("Tallybridge.mdb,备份.mdb"));
}

TEST_F(BackupTest, FailedBackupLeavesTheEarlierFileAndNoPartialOne)
{
    Connection->BackupTo(InDir("old.mdb"));
    const QByteArray Earlier = Read(InDir("old.mdb"));
    Seed();
    // A full disk: writes past the file-size limit fail.
    const auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit Saved{};
    getrlimit(RLIMIT_FSIZE, &Saved);
    rlimit Small = Saved;
    Small.rlim_cur = 8192;
    setrlimit(RLIMIT_FSIZE, &Small);
    int Code = 0;
    try {
        Connection->BackupTo(InDir("old.mdb"));
    } catch (const EBackupError& E) {
        Code = E.ErrorCode();
    }
    setrlimit(RLIMIT_FSIZE, &Saved);
    std::signal(SIGXFSZ, OldHandler);
    EXPECT_NE(Code, 0);
    EXPECT_EQ(Read(InDir("old.mdb")), Earlier);
    EXPECT_EQ(Files(), QStringLiteral("Tallybridge.mdb,old.mdb"));
}

TEST_F(BackupTest, CheckOfAFileOfferedForARestore)
{
    Seed();
    Connection->BackupTo(InDir("good.mdb"));
    Write(InDir("text.mdb"), QByteArray("这不是数据库。").repeated(200));
    CreateDatabaseFile(InDir("other.mdb"), QStringLiteral("Create Table Power (PowerName Text);"));
    // Our tables by name, with another program's columns.
    CreateDatabaseFile(InDir("renamed.mdb"), SchemaText().replace(QStringLiteral("PowerName"), QStringLiteral("UserName")));
    CreateDatabaseFile(InDir("wider.mdb"), SchemaText().replace(QStringLiteral("BigFontValue "), QStringLiteral("BigFontSize INTEGER, BigFontValue ")));
    // The page of Bill's rows, wholly or one customer name in it (only the
    // indexes then tell): the file still opens and lists its tables.
    QByteArray Good = Read(InDir("good.mdb"));
    const int PageSize = (uchar(Good[16]) << 8) | uchar(Good[17]);
    const int Page = Open(QStringLiteral("Select rootpage From sqlite_master Where name = 'Bill'"))->Fields(0)->AsInteger();
    Write(InDir("page.mdb"), QByteArray(Good).replace((Page - 1) * PageSize, PageSize, QByteArray(PageSize, 'Z')));
    const QByteArray Name = QStringLiteral("李四商行").toUtf8();
    const qsizetype At = Good.indexOf(Name, (Page - 1) * PageSize);
    ASSERT_LT(At, Page * PageSize);
    Write(InDir("rows.mdb"), Good.replace(At, Name.size(), QStringLiteral("王五商行").toUtf8()));

    const struct
    {
        const char* File;
        TDbFileFault Fault;
        const char* Detail; // null: the engine's words, whatever they are
        const char* Column = "";
    } Rows[] = {
        {"good.mdb", dfNone, ""},
        {"text.mdb", dfNotDatabase, "file is not a database"},
        {"other.mdb", dfMissingTable, "Customer"},
        {"renamed.mdb", dfMissingColumn, "Power", "PowerName"},
        {"wider.mdb", dfExtraColumn, "PrintBigFont", "BigFontSize"},
        {"page.mdb", dfDamaged, "database disk image is malformed"},
        {"rows.mdb", dfDamaged, nullptr},
        {"absent.mdb", dfCannotOpen, nullptr},
    };
    for (const auto& R : Rows) {
        const QByteArray Before = Read(InDir(R.File));
        const TDbFileCheck C = TADOConnection::CheckDatabaseFile(InDir(R.File), SchemaText());
        EXPECT_EQ(C.Fault, R.Fault) << R.File << ": " << C.Detail.toStdString();
        EXPECT_TRUE(!R.Detail || C.Detail == QString::fromUtf8(R.Detail)) << R.File << ": " << C.Detail.toStdString();
        EXPECT_EQ(C.Column, QString::fromUtf8(R.Column)) << R.File;
        EXPECT_EQ(Read(InDir(R.File)), Before) << R.File;
    }
    EXPECT_FALSE(QFile::exists(InDir("absent.mdb")));
}
