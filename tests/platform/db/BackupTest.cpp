// Backups of the open database and the check of a file offered for a restore.
#include "ChildRun.h"
#include "DbTestFixture.h"

#include "platform/db/Field.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

class BackupTest : public TDbFixture
{
protected:
    QString InDir(const char* Name) const { return Dir.filePath(QString::fromUtf8(Name)); }
    static QByteArray Read(const QString& File)
    {
        struct stat St{}; // a pipe would be waited on
        QFile F(File);
        return stat(QFile::encodeName(File).constData(), &St) == 0 && S_ISREG(St.st_mode) && F.open(QIODevice::ReadOnly)
            ? F.readAll()
            : QByteArray();
    }
    static void Write(const QString& File, const QByteArray& Bytes)
    {
        QFile F(File);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write(Bytes);
    }
    // Hidden ones too: a temporary file left behind shows.
    static QString FilesIn(const QString& Folder)
    {
        return QDir(Folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name).join(u',');
    }
    QString Files() const { return FilesIn(Dir.path()); }
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
    EXPECT_EQ(Code, EFBIG); // the system's number, not the engine's

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
    CreateDatabaseFile(InDir("trigger.mdb"), SchemaText() + QStringLiteral(
        "CREATE TRIGGER Wipe AFTER INSERT ON Bill BEGIN DELETE FROM Customer; END;"));
    CreateDatabaseFile(InDir("view.mdb"), SchemaText() + QStringLiteral("CREATE VIEW Everything AS SELECT * FROM Bill;"));
    ASSERT_EQ(mkfifo(QFile::encodeName(InDir("fifo.mdb")).constData(), 0600), 0);
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
    // Free pages, the first of them named far past the end of the file.
    CreateDatabaseFile(InDir("freelist.mdb"), SchemaText() + QStringLiteral(
        "WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 30) "
        "INSERT INTO Contact (ContactContent) SELECT hex(randomblob(3000)) FROM N; DELETE FROM Contact;"));
    QByteArray Freed = Read(InDir("freelist.mdb"));
    ASSERT_NE(Freed.mid(36, 4), QByteArray(4, 0));
    Write(InDir("freelist.mdb"), Freed.replace(32, 4, QByteArray::fromHex("40000000")));

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
        {"trigger.mdb", dfExtraTrigger, "Wipe"},
        {"view.mdb", dfExtraView, "Everything"},
        {"fifo.mdb", dfNotDatabase, nullptr},
        {"page.mdb", dfDamaged, nullptr},
        {"rows.mdb", dfDamaged, nullptr},
        {"freelist.mdb", dfDamaged, "Main freelist: invalid page number 1073741824"},
        {"absent.mdb", dfCannotOpen, nullptr},
    };
    for (const auto& R : Rows) {
        const QByteArray Before = Read(InDir(R.File));
        const TDbFileCheck C = TADOConnection::CheckDatabaseFile(InDir(R.File), SchemaText());
        EXPECT_EQ(C.Fault, R.Fault) << R.File << ": " << C.Detail.toStdString();
        EXPECT_TRUE(!R.Detail || C.Detail.section(u'\n', 0, 0) == QString::fromUtf8(R.Detail))
            << R.File << ": " << C.Detail.toStdString();
        EXPECT_EQ(C.Column, QString::fromUtf8(R.Column)) << R.File;
        EXPECT_EQ(Read(InDir(R.File)), Before) << R.File;
    }
    EXPECT_FALSE(QFile::exists(InDir("absent.mdb")));
}

TEST_F(BackupTest, WhatKilledRunsLeftIsRemovedByTheNextRun)
{
    const QString Folder = InDir("备份");
    // The other side: a run of this test program that a full disk kills half-way.
    if (const QStringList Run = qEnvironmentVariable("TB_KILLED_RUN").split(u'|'); Run.size() == 3) {
        TADOConnection Other;
        Other.SetConnectionString(QStringLiteral("Provider=SQLite;Data Source=") + Run[1]);
        Other.Open();
        rlimit Small{32768, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &Small);
        if (Run[0] == u"backup")
            Other.BackupTo(Run[2]);
        else
            Other.RestoreFrom(Run[2], SchemaText());
        return;
    }
    Seed();
    for (int i = 0; i < 20; ++i)
        Connection->Execute(QStringLiteral("Insert Into Contact (ContactUser, ContactContent) Values (2, '%1')").arg(QString(2000, u'x')));
    ASSERT_TRUE(QDir().mkpath(Folder));
    Connection->BackupTo(Folder + QStringLiteral("/good.mdb"));
    // Files a user named, whatever they look like, stay where a backup writes
    // and where a restore reads.
    for (const QString& Where : {Dir.path(), Folder})
        for (const char* Name : {"good.mdb.backup", "账本.tallybridge-backup", "年末结账.mdb.tallybridge-2026Q4",
                                 "备忘.tallybridge-abcdef-wal", "other.mdb.tallybridge-Ab12Cd"})
            Write(Where + u'/' + QString::fromUtf8(Name), "mine");
    const auto AllFiles = [&] { return Files() + u'|' + FilesIn(Folder); };
    const QString Before = AllFiles();
    const QStringList BeforeInFolder = QDir(Folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    const QString Backup = QStringLiteral("backup|%1|%2/new.mdb").arg(Path, Folder);
    const QString Restore = QStringLiteral("restore|%1|%2/good.mdb").arg(Path, Folder);
    const struct
    {
        const char* Name;
        QString Killed;    // TB_KILLED_RUN of the run that is killed
        const char* Then;  // the runs that follow: b a backup into the folder, r a restore from it
        bool Alive = false; // what the killed backup left is locked, as by a run that goes on, during the first
    } Rows[] = {
        {"a killed backup, then a backup", Backup, "b"},
        {"a killed backup, then a restore from its folder, then a backup", Backup, "rb"},
        {"a killed restore, then a restore", Restore, "r"},
        {"a killed restore, then a backup", Restore, "b"},
        {"a killed backup whose file seems in use, then two backups", Backup, "bb", true},
    };
    for (const auto& Row : Rows) {
        const QTemporaryDir RunTemp;
        QProcess Run;
        QProcessEnvironment Env = ChildRunEnvironment(RunTemp.path());
        Env.insert(QStringLiteral("TB_KILLED_RUN"), Row.Killed);
        Run.setProcessEnvironment(Env);
        Run.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--gtest_filter=BackupTest.WhatKilledRunsLeftIsRemovedByTheNextRun")});
        ASSERT_TRUE(Run.waitForFinished(60000)) << Row.Name;
        ASSERT_EQ(Run.exitStatus(), QProcess::CrashExit) << Row.Name;
        ASSERT_NE(AllFiles(), Before) << Row.Name;
        std::vector<int> Locks;
        for (const QString& Entry : QDir(Folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
            if (Row.Alive && !BeforeInFolder.contains(Entry)) {
                Locks.push_back(open(QFile::encodeName(Folder + u'/' + Entry).constData(), O_RDONLY | O_CLOEXEC));
                ASSERT_EQ(flock(Locks.back(), LOCK_EX), 0) << Row.Name;
            }
        for (const char* Step = Row.Then; *Step; ++Step) {
            if (*Step == 'r') {
                EXPECT_EQ(Connection->RestoreFrom(Folder + QStringLiteral("/good.mdb"), SchemaText()).Fault, dfNone);
            } else {
                Connection->BackupTo(Folder + QStringLiteral("/new.mdb"));
                EXPECT_TRUE(QFile::remove(Folder + QStringLiteral("/new.mdb")));
            }
            if (Step[1]) {
                EXPECT_NE(AllFiles(), Before) << Row.Name << ": the leftover stays after " << Step - Row.Then + 1;
                for (const int Lock : Locks)
                    close(Lock);
                Locks.clear();
            }
        }
        EXPECT_EQ(AllFiles(), Before) << Row.Name;
    }
}
