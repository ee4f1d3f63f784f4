// Backups of the open database and the check of a file offered for a restore.
#include "DbTestFixture.h"

#include "platform/db/Field.h"

#include <QDir>
#include <csignal>
#include <sys/resource.h>

namespace {

const QStringList SomeTables = {QStringLiteral("Power"), QStringLiteral("Bill"), QStringLiteral("PrintBigFont")};

class BackupTest : public TDbFixture
{
protected:
    // Every row of every table of the file, table by table.
    static QString Dump(const QString& File)
    {
        TADOConnection C;
        C.SetConnectionString(QStringLiteral("Provider=SQLite;Data Source=") + File);
        TADOQuery Q;
        Q.SetConnection(&C);
        Q.SQL()->Add(QStringLiteral("Select name From sqlite_master Where type = 'table' Order By name"));
        Q.Open();
        QStringList Tables;
        for (Q.First(); !Q.Eof(); Q.Next())
            Tables << Q.Fields(0)->AsString();
        QStringList Out;
        for (const QString& T : Tables) {
            Q.Close();
            Q.SQL()->Clear();
            Q.SQL()->Add(QStringLiteral("Select * From ") + T);
            Q.Open();
            Out << T + u':';
            for (Q.First(); !Q.Eof(); Q.Next()) {
                QStringList Cells;
                for (int I = 0; I < Q.FieldCount(); ++I)
                    Cells << Q.Fields(I)->AsString();
                Out << Cells.join(u'|');
            }
        }
        return Out.join(u'\n');
    }

    QString Backup(const char* Name) const { return Dir.filePath(QString::fromUtf8(Name)); }

    static void WriteText(const QString& File, const QByteArray& Bytes)
    {
        QFile F(File);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write(Bytes);
    }

    static QByteArray Read(const QString& File)
    {
        QFile F(File);
        return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
    }

    QStringList Files() const { return QDir(Dir.path()).entryList(QDir::Files, QDir::Name); }
};

} // namespace

TEST_F(BackupTest, BackupEqualsTheOpenDatabaseAndReplacesAnOlderFile)
{
    Seed();
    WriteText(Backup("备份.mdb"), "an older backup");
    Connection->BackupTo(Backup("备份.mdb"));
    const QString Live = Dump(Path);
    EXPECT_EQ(Dump(Backup("备份.mdb")), Live);
    EXPECT_TRUE(Live.contains(QStringLiteral("XS1002")));
    EXPECT_EQ(Files(), (QStringList{QStringLiteral("Tallybridge.mdb"), QStringLiteral("备份.mdb")}));
    EXPECT_TRUE(Connection->Connected());
}

TEST_F(BackupTest, FailedBackupLeavesTheEarlierFileAndNoPartialOne)
{
    Connection->BackupTo(Backup("old.mdb"));
    const QByteArray Earlier = Read(Backup("old.mdb"));
    Seed();
    // A full disk, as the file-size limit makes writes past it fail.
    const auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit Saved{};
    getrlimit(RLIMIT_FSIZE, &Saved);
    rlimit Small = Saved;
    Small.rlim_cur = 8192;
    setrlimit(RLIMIT_FSIZE, &Small);
    int Code = 0;
    try {
        Connection->BackupTo(Backup("old.mdb"));
    } catch (const EBackupError& E) {
        Code = E.ErrorCode();
    }
    setrlimit(RLIMIT_FSIZE, &Saved);
    std::signal(SIGXFSZ, OldHandler);
    EXPECT_NE(Code, 0);
    EXPECT_EQ(Read(Backup("old.mdb")), Earlier);
    EXPECT_EQ(Files(), (QStringList{QStringLiteral("Tallybridge.mdb"), QStringLiteral("old.mdb")}));
}

TEST_F(BackupTest, RefusedTargets)
{
    const QByteArray Live = Read(Path);
    for (const QString& Target : {Path, Dir.filePath(QStringLiteral("./Tallybridge.mdb")),
                                  Dir.filePath(QStringLiteral("missing/x.mdb"))}) {
        EXPECT_THROW(Connection->BackupTo(Target), EBackupError) << Target.toStdString();
    }
    try {
        Connection->BackupTo(Dir.filePath(QStringLiteral("missing/x.mdb")));
    } catch (const EBackupError& E) {
        EXPECT_EQ(E.ErrorCode(), ENOENT);
    }
    EXPECT_EQ(Read(Path), Live);
    EXPECT_EQ(Files(), QStringList{QStringLiteral("Tallybridge.mdb")});
}

TEST_F(BackupTest, CheckOfAFileOfferedForARestore)
{
    Seed();
    Connection->BackupTo(Backup("good.mdb"));
    WriteText(Backup("text.mdb"), QByteArray("这不是数据库。").repeated(200));
    CreateDatabaseFile(Backup("other.mdb"), QStringLiteral("Create Table Power (PowerName Text);"));
    // The page of Bill's rows, wholly or one customer name in it (only the
    // indexes then tell): the file still opens and lists its tables.
    const QByteArray Good = Read(Backup("good.mdb"));
    const int PageSize = (uchar(Good[16]) << 8) | uchar(Good[17]);
    const int Page = Open(QStringLiteral("Select rootpage From sqlite_master Where name = 'Bill'"))->Fields(0)->AsInteger();
    WriteText(Backup("page.mdb"), QByteArray(Good).replace((Page - 1) * PageSize, PageSize, QByteArray(PageSize, '\x5a')));
    QByteArray Renamed = Good;
    const QByteArray Name = QStringLiteral("李四商行").toUtf8();
    const qsizetype At = Renamed.indexOf(Name, (Page - 1) * PageSize);
    ASSERT_LT(At, Page * PageSize);
    WriteText(Backup("rows.mdb"), Renamed.replace(At, Name.size(), QStringLiteral("王五商行").toUtf8()));

    struct TRow
    {
        const char* File;
        TDbFileFault Fault;
        const char* Detail;
    } Rows[] = {
        {"good.mdb", dfNone, ""},
        {"text.mdb", dfNotDatabase, "file is not a database"},
        {"other.mdb", dfMissingTable, "Bill"},
        {"page.mdb", dfDamaged, "database disk image is malformed"},
        {"rows.mdb", dfDamaged, nullptr},
        {"absent.mdb", dfCannotOpen, nullptr},
    };
    for (const TRow& R : Rows) {
        const QByteArray Before = Read(Backup(R.File));
        const TDbFileCheck C = TADOConnection::CheckDatabaseFile(Backup(R.File), SomeTables);
        EXPECT_EQ(C.Fault, R.Fault) << R.File << ": " << C.Detail.toStdString();
        if (R.Detail) {
            EXPECT_EQ(C.Detail, QString::fromUtf8(R.Detail)) << R.File;
        }
        EXPECT_EQ(Read(Backup(R.File)), Before) << R.File;
    }
    EXPECT_FALSE(QFile::exists(Backup("absent.mdb")));
}
