// Backing the database up and restoring it: the answers a user gives, what is
// said, and what happens to the open data.
#include "AppFixture.h"
#include "ChildRun.h"

#include "app/DataMaintenance.h"
#include "platform/gui/Application.h"
#include "platform/gui/FileDialogs.h"
#include "platform/rtl/SysUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <iostream>
#include <map>
#include <poll.h>
#include <sqlite3.h>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// Another copy of the program on the same database: this test program run
// again as the other side of RestoreBesideASecondCopy, answering each command
// line with one line.
class TSecondCopy
{
public:
    explicit TSecondCopy(const QString& Database)
    {
        QProcessEnvironment Env = ChildRunEnvironment(FTemp.path());
        Env.insert(QStringLiteral("TB_SECOND_COPY"), Database);
        FProcess.setProcessEnvironment(Env);
        FProcess.start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--gtest_filter=DataMaintenanceTest.RestoreBesideASecondCopy")});
    }
    ~TSecondCopy() { Kill(); }
    QString Ask(const char* Command)
    {
        FProcess.write(QByteArray(Command) + '\n');
        for (;;) {
            while (!FProcess.canReadLine())
                if (!FProcess.waitForReadyRead(30000))
                    return QStringLiteral("no answer");
            const QByteArray Line = FProcess.readLine().trimmed();
            if (Line.startsWith("=>"))
                return QString::fromUtf8(Line.mid(2).trimmed());
        }
    }
    void Kill()
    {
        FProcess.kill();
        FProcess.waitForFinished();
    }

private:
    QTemporaryDir FTemp;
    QProcess FProcess;
};

class DataMaintenanceTest : public TAppFixture
{
protected:
    void TearDown() override
    {
        Application()->ResetTerminated();
        TAppFixture::TearDown();
    }
    // A restore of File through the program's own dialog, every question
    // answered Yes; the message after the warning.
    static QString RestoreChosen(const QString& File)
    {
        Application()->ResetTerminated();
        TModalSeam::ClearMessages();
        TModalHandlers Handlers(nullptr, [](const TMessageRequest&) { return mrYes; },
                                [&](const TFileRequest&) { return File; });
        TOpenDialog Dialog;
        RestoreDatabase(Dialog);
        return TModalSeam::MessageTexts().value(1);
    }
    QString Accounts()
    {
        TADOQuery Q;
        Q.SetConnection(ShareDataModule->ADOConnection1);
        Q.SQL()->Add(QStringLiteral("Select AccountName From Account Where AccountIndex > 1 Order By AccountIndex"));
        Q.Open();
        QStringList Names;
        for (; !Q.Eof(); Q.Next())
            Names << Q.Fields(0)->AsString();
        return Names.join(u',');
    }
    // The other side of a two-copy test, on the first copy's database.
    void ServeAsSecondCopy(const QString& Database)
    {
        TADOConnection* Connection = ShareDataModule->ADOConnection1;
        Connection->SetConnectionString(JetConnectionString(Database, DatabasePassword));
        Connection->Open();
        for (std::string Line; std::getline(std::cin, Line);) {
            QString Answer;
            try {
                if (Line == "accounts") {
                    Answer = Accounts();
                } else if (Line == "save") {
                    Exec(QStringLiteral("Insert Into Account (AccountName) Values ('新帐户')"));
                    Answer = QStringLiteral("saved");
                } else if (Line.starts_with("keep")) {
                    std::cout << "=> started" << std::endl;
                    Answer = KeepWorking(Line == "keep writing");
                } else if (Line.starts_with("hold")) {
                    // More than the page cache holds: pages reach the file, the journal stays
                    // beside it. One row stays in memory: others may read meanwhile.
                    Connection->BeginTrans();
                    for (int i = 0, Rows = Line.starts_with("hold one") ? 1 : 500; i < Rows; ++i)
                        Exec(QStringLiteral("Insert Into Contact (ContactUser, ContactContent) Values (2, '%1')")
                                 .arg(QString(2000, u'记')));
                    Answer = QStringLiteral("holding");
                }
            } catch (const Exception& E) {
                Answer = E.Message();
            }
            std::cout << "=> " << Answer.toStdString() << std::endl;
            if (Line.ends_with("briefly")) {
                QThread::msleep(300);
                Connection->CommitTrans();
            }
        }
    }
    // Until the next command line: commits that keep the first account's
    // base equal to the number of customers, or reads of the account list as
    // the program reads it. How many failed of how many.
    QString KeepWorking(bool Writing)
    {
        if (Writing)
            Exec(QStringLiteral("PRAGMA synchronous = OFF"));
        TADOConnection* Connection = ShareDataModule->ADOConnection1;
        int Done = 0, Failed = 0;
        for (pollfd Next{0, POLLIN, 0}; poll(&Next, 1, 0) == 0; ++Done) {
            try {
                if (!Writing) {
                    TADOQuery Q;
                    Q.SetConnection(Connection);
                    Failed += !OpenSQL(&Q, QStringLiteral("Select * From Account Where AccountIndex > 1"),
                                       QStringLiteral("数据库打开失败"));
                    continue;
                }
                Connection->BeginTrans();
                Exec(QStringLiteral("Insert Into Customer (CustomerName) Values ('客户%1')").arg(Done));
                Exec(QStringLiteral("Update Account Set AccountBase = (Select Count(*) - 1 From Customer) Where AccountIndex = 2"));
                Connection->CommitTrans();
            } catch (const Exception&) {
                ++Failed;
                if (Connection->InTransaction())
                    Connection->RollbackTrans();
            }
        }
        return QStringLiteral("%1 of %2 failed").arg(Failed).arg(Done);
    }
    static QString InFolder(const char* Name) { return BackupFolder() + u'/' + QString::fromUtf8(Name); }
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
    // A left-over copy beside the database would show here.
    static QString ProgramFiles() { return QDir(AppPath).entryList(QDir::Files | QDir::Hidden | QDir::System).join(u','); }
    // Runs Sql on File through a plain connection of its own and, while that
    // still holds what it wrote in its Companion (the journal or the log),
    // copies both aside, closes it and puts the copies back: the file is left
    // as a run killed at that moment would leave it.
    static void LeaveInFlight(const QString& File, const char* Sql, const char* Companion)
    {
        sqlite3* Db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(File).constData(), &Db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(Db, Sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(Db);
        const QByteArray Main = Read(File);
        const QByteArray Side = Read(File + QString::fromLatin1(Companion));
        sqlite3_close(Db);
        ASSERT_FALSE(Side.isEmpty());
        Write(File, Main);
        Write(File + QString::fromLatin1(Companion), Side);
    }
    // Every table, index and trigger of a database, as its statements.
    static QString SchemaOf(TADOConnection* Connection)
    {
        TADOQuery Q;
        Q.SetConnection(Connection);
        Q.SQL()->Add(QStringLiteral("Select type || ' ' || name || ' ' || ifnull(sql, '') From sqlite_master Order By name"));
        Q.Open();
        QStringList Objects;
        for (; !Q.Eof(); Q.Next())
            Objects << Q.Fields(0)->AsString();
        return Objects.join(u'\n');
    }
    // The program's own work after a restore: a customer and a document
    // stored, the first of them changed and the new one removed, as the
    // windows do; empty text when it all went through, else what failed.
    static QString StoreChangeAndRemove()
    {
        try {
            for (const char* Table : {"Customer", "Bill"}) {
                const bool Bill = Table == std::string_view("Bill");
                const QString Name = Bill ? QStringLiteral("BillUser") : QStringLiteral("CustomerName");
                TADOQuery Q;
                Q.SetConnection(ShareDataModule->ADOConnection1);
                Q.SQL()->Add(QStringLiteral("Select * From %1 Where %1Index > 1 Order By %1Index").arg(U(Table)));
                Q.Open();
                Q.Append();
                Q.FieldByName(Name)->SetAsString(QStringLiteral("新客户A"));
                Q.FieldByName(Bill ? QStringLiteral("BillSum") : QStringLiteral("CustomerOwe"))->SetAsFloat(5000);
                Q.Post();
                Q.First();
                Q.Edit();
                Q.FieldByName(Name)->SetAsString(Q.FieldByName(Name)->AsString() + QStringLiteral("a"));
                Q.Post();
                Q.Last();
                Q.Delete();
            }
        } catch (const Exception& E) {
            return E.Message();
        }
        return QString();
    }
};

// What a file offered for a restore holds besides its schema: an account, a
// customer and a document named after it, and a contact record with text the
// program stores (an emoji, a note of 20,000 characters).
QString TaggedRows(const QString& Tag)
{
    return QStringLiteral(
               "\nINSERT INTO Account (AccountIndex, AccountName) VALUES (2, '%1');"
               "\nINSERT INTO Customer (CustomerIndex, CustomerName, CustomerOwe, CustomerMan) VALUES (2, '%1客户A', '12.5', '%1');"
               "\nINSERT INTO Bill (BillIndex, BillUser, BillSum) VALUES (2, '%1客户A', 100);"
               "\nINSERT INTO Contact (ContactIndex, ContactUser, ContactHead, ContactContent) "
               "VALUES (2, 2, '来访😀', replace(hex(zeroblob(20000)), '00', '记'));\n")
        .arg(Tag);
}

// The first free-list trunk page of a database file, set to a page far past its end.
void DamageFreeList(const QString& File)
{
    QFile F(File);
    ASSERT_TRUE(F.open(QIODevice::ReadWrite));
    const QByteArray Header = F.read(40);
    ASSERT_NE(Header.mid(36, 4), QByteArray(4, 0)) << "no free pages";
    F.seek(32);
    F.write(QByteArray::fromHex("40000000"));
}

} // namespace

TEST_F(DataMaintenanceTest, BackupAnswers)
{
    ASSERT_TRUE(QDir().mkpath(BackupFolder()));
    Write(InFolder("older.mdb"), "an older backup");
    const struct
    {
        QString Answer;
        const char* Message;
        bool Limited = false; // files may not grow past 8 KB: the system says EFBIG (27)
    } Rows[] = {
        {QString(), nullptr},
        {InFolder("new.mdb"), "恭喜您，数据库备份成功"},
        {InFolder("older.mdb"), "恭喜您，数据库备份成功"},
        {AppPath + QStringLiteral("./Tallybridge.mdb"), "数据库备份失败：不能覆盖正在使用的数据库文件"},
        {AppPath + QStringLiteral("none/new.mdb"), "数据库备份失败，失败号为：2"},
        {InFolder("limited.mdb"), "数据库备份失败，失败号为：27", true},
    };
    const QByteArray Live = Read(AppPath + QStringLiteral("Tallybridge.mdb"));
    rlimit Saved{};
    getrlimit(RLIMIT_FSIZE, &Saved);
    for (const auto& Row : Rows) {
        QString Asked;
        TModalHandlers Handlers(nullptr, nullptr, [&](const TFileRequest& R) {
            Asked = R.FileName + u'|' + R.InitialDir;
            if (Row.Limited) {
                const rlimit Small{8192, Saved.rlim_max};
                setrlimit(RLIMIT_FSIZE, &Small);
            }
            return Row.Answer;
        });
        TSaveDialog Dialog;
        BackupDatabase(Dialog);
        if (Row.Limited)
            setrlimit(RLIMIT_FSIZE, &Saved);
        EXPECT_EQ(TModalSeam::MessageTexts(), Row.Message ? QStringList{QString::fromUtf8(Row.Message)} : QStringList());
        EXPECT_EQ(Asked, QStringLiteral("Tallybridge业务软件%1.mdb|").arg(DateToStr(Date())) + BackupFolder());
        if (QString::fromUtf8(Row.Message).startsWith(u"恭喜")) {
            EXPECT_TRUE(Read(Row.Answer).startsWith("SQLite format 3")) << Row.Answer.toStdString();
        }
    }
    EXPECT_EQ(Read(AppPath + QStringLiteral("Tallybridge.mdb")), Live);
    EXPECT_EQ(ProgramFiles(), QStringLiteral("Tallybridge.mdb"));
}

// The program as started, with nothing of a test's own: this test program
// run again under a file-size limit (its application object is the
// program's). A backup past the limit is refused with the system's number and
// the program goes on.
TEST_F(DataMaintenanceTest, BackupPastTheFileSizeLimitLeavesTheProgramRunning)
{
    if (qEnvironmentVariableIsSet("TB_FILE_SIZE_LIMIT")) {
        ASSERT_TRUE(QDir().mkpath(BackupFolder()));
        rlimit Limit{};
        getrlimit(RLIMIT_FSIZE, &Limit);
        Limit.rlim_cur = 8192;
        setrlimit(RLIMIT_FSIZE, &Limit);
        TModalHandlers Handlers(nullptr, nullptr, [](const TFileRequest&) { return InFolder("limited.mdb"); });
        TSaveDialog Dialog;
        BackupDatabase(Dialog);
        std::cout << "=> " << TModalSeam::MessageTexts().join(u'/').toStdString() << std::endl;
        return;
    }
    const QTemporaryDir Temp;
    QProcess Run;
    QProcessEnvironment Env = ChildRunEnvironment(Temp.path());
    Env.insert(QStringLiteral("TB_FILE_SIZE_LIMIT"), QStringLiteral("8192"));
    Run.setProcessEnvironment(Env);
    Run.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_filter=DataMaintenanceTest.BackupPastTheFileSizeLimitLeavesTheProgramRunning")});
    ASSERT_TRUE(Run.waitForFinished(60000));
    EXPECT_EQ(Run.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(Run.exitCode(), 0);
    EXPECT_TRUE(Run.readAllStandardOutput().contains(QStringLiteral("=> 数据库备份失败，失败号为：27\n").toUtf8()));
}

TEST_F(DataMaintenanceTest, BackupFolderThatCannotBeMadeStopsBeforeTheDialog)
{
    Write(BackupFolder(), "a file where the folder should be");
    TModalHandlers Handlers(nullptr, nullptr, [](const TFileRequest&) -> QString { throw Exception("asked"); });
    TSaveDialog Dialog;
    BackupDatabase(Dialog);
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("数据库备份目录创建失败，请检查磁盘属性是否只读")});
}

TEST_F(DataMaintenanceTest, RestoreAnswers)
{
    Exec(QStringLiteral("Insert Into Account (AccountName) Values ('旧帐户')"));
    ASSERT_TRUE(QDir().mkpath(BackupFolder()));
    ShareDataModule->ADOConnection1->BackupTo(InFolder("good.mdb"));
    Write(InFolder("text.mdb"), QByteArray("这不是数据库。").repeated(300));
    // Another program's database: the same twelve tables, not the same columns.
    CreateDatabaseFile(InFolder("foreign.mdb"), DeliveredSchema().replace(QStringLiteral("PowerName"), QStringLiteral("UserName")));
    CreateDatabaseFile(InFolder("trigger.mdb"), DeliveredSchema() + QStringLiteral(
        "CREATE TRIGGER Wipe AFTER INSERT ON Bill BEGIN DELETE FROM Customer; END;"));
    ASSERT_EQ(mkfifo(QFile::encodeName(InFolder("fifo.mdb")).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(InFolder("folder.mdb")));
    // A database in write-ahead logging whose last commit is in its log only:
    // its connection stays open through the restore.
    CreateDatabaseFile(InFolder("wal.mdb"), DeliveredSchema());
    TADOConnection Logging;
    Logging.SetConnectionString(JetConnectionString(InFolder("wal.mdb"), DatabasePassword));
    Logging.Execute(QStringLiteral("PRAGMA journal_mode = WAL"));
    Logging.Execute(QStringLiteral("Insert Into Account (AccountName) Values ('日志帐户')"));
    ASSERT_TRUE(QFile::exists(InFolder("wal.mdb-wal")));
    Exec(QStringLiteral("Delete From Account Where AccountName = '旧帐户'"));

    const QString Warning = QStringLiteral("数据库恢复将导致当前数据全部丢失，是否继续？");
    const struct
    {
        TModalResult AtWarning;
        const char* File; // empty: Cancel
        const char* Message;
        const char* Accounts = "";
    } Rows[] = {
        {mrNo, "good.mdb", nullptr},
        {mrYes, "", nullptr},
        {mrYes, "text.mdb", "数据库恢复失败：所选文件不是数据库文件"},
        {mrYes, "foreign.mdb", "数据库恢复失败：所选数据库的数据表 Power 缺少列 PowerName"},
        {mrYes, "trigger.mdb", "数据库恢复失败：所选数据库多出触发器 Wipe"},
        {mrYes, "fifo.mdb", "数据库恢复失败：所选文件不是数据库文件"},
        {mrYes, "folder.mdb", "数据库恢复失败：所选文件不是数据库文件"},
        {mrYes, "../Tallybridge.mdb", "数据库恢复失败：所选文件就是正在使用的数据库文件"},
        {mrYes, "wal.mdb", "恭喜您，数据库恢复成功，请重新启动软件", "日志帐户"},
        {mrYes, "good.mdb", "恭喜您，数据库恢复成功，请重新启动软件", "旧帐户"},
    };
    for (const auto& Row : Rows) {
        Application()->ResetTerminated();
        const bool Good = QString::fromUtf8(Row.Message).startsWith(u"恭喜");
        QString Asked;
        TModalHandlers Handlers(
            nullptr, [&](const TMessageRequest& M) { return M.Text == Warning ? Row.AtWarning : mrOk; },
            [&](const TFileRequest& R) {
                Asked = R.FileName + u'|' + R.InitialDir;
                return *Row.File ? InFolder(Row.File) : QString();
            });
        TOpenDialog Dialog;
        RestoreDatabase(Dialog);
        EXPECT_EQ(TModalSeam::MessageTexts().join(u'/'),
                  Warning + (Row.Message ? u'/' + QString::fromUtf8(Row.Message) : QString()));
        EXPECT_EQ(Asked, Row.AtWarning == mrYes ? QStringLiteral("*.mdb|") + BackupFolder() : QString());
        EXPECT_TRUE(ShareDataModule->ADOConnection1->Connected());
        EXPECT_EQ(Accounts(), QString::fromUtf8(Row.Accounts)) << Row.File;
        EXPECT_EQ(Application()->Terminated(), Good);
        EXPECT_EQ(ProgramFiles(), QStringLiteral("Tallybridge.mdb"));
    }
}

TEST_F(DataMaintenanceTest, RestoreBesideASecondCopy)
{
    if (const QString Database = qEnvironmentVariable("TB_SECOND_COPY"); !Database.isEmpty())
        return ServeAsSecondCopy(Database);
    Exec(QStringLiteral("Insert Into Account (AccountName) Values ('旧帐户')"));
    ASSERT_TRUE(QDir().mkpath(BackupFolder()));
    ShareDataModule->ADOConnection1->BackupTo(InFolder("good.mdb"));
    const QString Restored = QStringLiteral("恭喜您，数据库恢复成功，请重新启动软件");
    const struct
    {
        const char* Name;
        const char* Hold; // what the other copy does before the restore
        QString Message;
    } Rows[] = {
        {"idle", nullptr, Restored},
        {"writing until shortly after", "hold briefly", Restored},
        {"writing past the wait", "hold",
         QStringLiteral("数据库恢复失败：另一个程序正在写入数据库，当前数据未作改变，请稍后再试")},
    };
    for (const auto& Row : Rows) {
        // Data the backup does not hold, on pages the other copy's write changes.
        ShareDataModule->ADOConnection1->BeginTrans();
        Exec(QStringLiteral("Delete From Account Where AccountIndex > 1"));
        for (int i = 0; i < 100; ++i)
            Exec(QStringLiteral("Insert Into Contact (ContactUser, ContactContent) Values (2, '%1')").arg(QString(300, u'旧')));
        ShareDataModule->ADOConnection1->CommitTrans();
        Application()->ResetTerminated();
        TSecondCopy Copy(AppPath + QStringLiteral("Tallybridge.mdb"));
        EXPECT_EQ(Copy.Ask("accounts"), QString()) << Row.Name;
        if (Row.Hold) {
            EXPECT_EQ(Copy.Ask(Row.Hold), QStringLiteral("holding")) << Row.Name;
        }
        TModalHandlers Handlers(nullptr, [](const TMessageRequest&) { return mrYes; },
                                [&](const TFileRequest&) { return InFolder("good.mdb"); });
        TOpenDialog Dialog;
        RestoreDatabase(Dialog);
        EXPECT_EQ(TModalSeam::MessageTexts().value(1), Row.Message) << Row.Name;
        if (Row.Message != Restored) {
            // The worst end of the other copy's write: its journal is left behind.
            Copy.Kill();
            EXPECT_EQ(Scalar(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok")) << Row.Name;
            EXPECT_EQ(Scalar(QStringLiteral("Select Count(*) From Contact Where ContactIndex > 1")), QStringLiteral("100"));
            EXPECT_EQ(Accounts(), QString()) << Row.Name;
            continue;
        }
        // Both copies read the restored data and go on saving.
        EXPECT_EQ(Copy.Ask("accounts"), QStringLiteral("旧帐户")) << Row.Name;
        EXPECT_EQ(Copy.Ask("save"), QStringLiteral("saved")) << Row.Name;
        EXPECT_EQ(Accounts(), QStringLiteral("旧帐户,新帐户")) << Row.Name;
        EXPECT_EQ(Scalar(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok")) << Row.Name;
    }
}

TEST_F(DataMaintenanceTest, RestoreWhileAnotherProgramWorks)
{
    ASSERT_TRUE(QDir().mkpath(BackupFolder()));
    const QString Restored = QStringLiteral("恭喜您，数据库恢复成功，请重新启动软件");
    const QString InUse = QStringLiteral("数据库恢复失败：所选文件正被另一个程序写入，当前数据未作改变，请稍后再试");
    const struct
    {
        const char* File;
        int Count;
        const char* Rows; // N(I) counts to Count; besides the first account, whose base is the number of customers
        bool OnLive;      // the other side works on the open database, else on the chosen file
        const char* Work;
        int Restores;
        const char* Before = "";
    } Rows[] = {
        // Its commits fall between the pages of a copy read without the file's lock.
        {"written.mdb", 1000, "INSERT INTO Contact (ContactContent) SELECT hex(randomblob(2000)) FROM N;", false,
         "keep writing", 10},
        // Customers in no order of their names, which the file keeps no index of: the
        // restore makes the index, long enough for a lock held through it to outlast
        // the other copy's wait.
        {"large.mdb", 400000,
         "INSERT INTO Customer (CustomerName, CustomerMan) SELECT hex(randomblob(6)), hex(randomblob(4)) FROM N; "
         "UPDATE Account SET AccountBase = 400000;",
         true, "keep reading", 1, "DROP INDEX CustomerName_Index; DROP INDEX CustomerMan_Index;"},
    };
    for (const auto& Row : Rows) {
        const QString File = InFolder(Row.File);
        CreateDatabaseFile(File, DeliveredSchema() + U(Row.Before) + QStringLiteral(
            "INSERT INTO Account (AccountIndex, AccountName) VALUES (2, '帐户');"
            "WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < %1) ").arg(Row.Count) + U(Row.Rows));
        TSecondCopy Other(Row.OnLive ? AppPath + QStringLiteral("Tallybridge.mdb") : File);
        ASSERT_EQ(Other.Ask(Row.Work), QStringLiteral("started")) << Row.File;
        int Good = 0;
        for (int i = 0; i < Row.Restores; ++i) {
            const QString Message = RestoreChosen(File);
            EXPECT_TRUE(Message == Restored || Message == InUse) << Row.File << ": " << Message.toStdString();
            if (Message != Restored)
                continue;
            ++Good;
            // One committed state of the file.
            EXPECT_EQ(Scalar(QStringLiteral("Select (Select AccountBase From Account Where AccountIndex = 2) - "
                                            "(Select Count(*) - 1 From Customer)")),
                      QStringLiteral("0"))
                << Row.File;
        }
        EXPECT_GT(Good, 0) << Row.File;
        const QString Worked = Other.Ask("stop");
        EXPECT_TRUE(!Row.OnLive || Worked.startsWith(u"0 of")) << Row.File << ": " << Worked.toStdString();
    }
}

TEST_F(DataMaintenanceTest, WhatAFileBringsIntoTheDatabase)
{
    ASSERT_TRUE(QDir().mkpath(BackupFolder()));
    using TEdit = QString (*)(QString);
    const TEdit TextOwe = [](QString S) {
        return S.replace(QStringLiteral("CustomerOwe       REAL DEFAULT 0"), QStringLiteral("CustomerOwe       TEXT DEFAULT 0"));
    };
    const TEdit Utf16 = [](QString S) { return S.prepend(QStringLiteral("PRAGMA encoding = 'UTF-16le';\n")); };
    const QString Restored = QStringLiteral("恭喜您，数据库恢复成功，请重新启动软件");
    const struct
    {
        const char* File;
        TEdit Schema;      // the file's own schema, from ours
        const char* Sql;   // run after it
        const char* Refusal; // after "数据库恢复失败："; null: restored
        const char* Note = ""; // after the restore's message
        void (*Then)(const QString& File) = nullptr; // what happens to the file (or the database) once made
    } Rows[] = {
        {"backup", nullptr, "", nullptr},
        {"utf16", Utf16, "", nullptr, "\n所选数据库的文字编码为 UTF-16le，已转换为 UTF-8"},
        // Text that is no whole characters of its encoding as stored (two high
        // surrogates, a lone one, an encoded surrogate, a cut sequence), and
        // amounts that are no finite number.
        {"highs16", Utf16, "UPDATE Customer SET CustomerName = CAST(X'41003DD83DD8' AS TEXT) WHERE CustomerIndex = 2;",
         "所选数据库的数据表 Customer 中有本程序不能保存的数据（CustomerName）"},
        {"lone16", Utf16, "UPDATE Bill SET BillRemark = CAST(X'410000D84200' AS TEXT);",
         "所选数据库的数据表 Bill 中有本程序不能保存的数据（BillRemark）"},
        {"surrogate8", nullptr, "UPDATE Account SET AccountMan = CAST(X'41EDA080' AS TEXT);",
         "所选数据库的数据表 Account 中有本程序不能保存的数据（AccountMan）"},
        {"cut8", nullptr, "UPDATE Contact SET ContactContent = CAST(X'C328' AS TEXT) WHERE ContactIndex = 2;",
         "所选数据库的数据表 Contact 中有本程序不能保存的数据（ContactContent）"},
        {"overflow", TextOwe, "UPDATE Customer SET CustomerOwe = '1e999' WHERE CustomerIndex = 2;",
         "所选数据库的数据表 Customer 中有本程序不能保存的数据（CustomerOwe）"},
        {"infinite", nullptr, "UPDATE Bill SET BillSum = -1e999 WHERE BillIndex = 2;",
         "所选数据库的数据表 Bill 中有本程序不能保存的数据（BillSum）"},
        {"freelist", nullptr,
         "WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 30) "
         "INSERT INTO Contact (ContactContent) SELECT hex(randomblob(3000)) FROM N; DELETE FROM Contact WHERE ContactIndex > 1;",
         "所选数据库文件已损坏（Main freelist: invalid page number 1073741824）", "", DamageFreeList},
        {"page512", [](QString S) { return S.prepend(QStringLiteral("PRAGMA page_size = 512;\n")); }, "", nullptr},
        {"page65536", [](QString S) { return S.prepend(QStringLiteral("PRAGMA page_size = 65536;\n")); }, "", nullptr},
        // What a killed writer left: the journal restores the rows before its change.
        {"hot", nullptr, "", nullptr, "", [](const QString& File) {
             LeaveInFlight(File, "PRAGMA cache_size = 1; BEGIN; UPDATE Account SET AccountName = 'uncommitted'; "
                                 "WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 200) "
                                 "INSERT INTO Contact (ContactContent) SELECT hex(randomblob(2000)) FROM N;", "-journal");
         }},
        {"logged", nullptr, "", "所选数据库多出触发器 Wipe", "", [](const QString& File) {
             LeaveInFlight(File, "PRAGMA journal_mode = WAL; "
                                 "CREATE TRIGGER Wipe AFTER INSERT ON Bill BEGIN DELETE FROM Customer; END;", "-wal");
         }},
        // Another database's log beside a file that keeps no log.
        {"straylog", nullptr, "", nullptr, "", [](const QString& File) {
             const QString Other = File + QStringLiteral(".other");
             ASSERT_TRUE(QFile::copy(File, Other));
             LeaveInFlight(Other, "PRAGMA journal_mode = WAL; UPDATE Account SET AccountName = 'WALFOREIGN'; "
                                  "UPDATE Customer SET CustomerName = 'WALFOREIGN';", "-wal");
             ASSERT_TRUE(QFile::rename(Other + QStringLiteral("-wal"), File + QStringLiteral("-wal")));
         }},
        {"instr", nullptr, "CREATE INDEX Odd ON Customer (instr(CustomerName, 'a'));", nullptr},
        {"round", nullptr, "CREATE INDEX Rounded ON Customer (round(CustomerOwe));", nullptr},
        {"generated", [](QString S) {
             return S.replace(QStringLiteral("CREATE TABLE Customer ("), QStringLiteral(
                 "CREATE TABLE Customer (\n    CustomerTrimmed TEXT GENERATED ALWAYS AS (trim(CustomerRemark)) STORED,"));
         }, "", "所选数据库的数据表 Customer 多出列 CustomerTrimmed"},
        {"zeroblob", [](QString S) {
             return S.replace(QStringLiteral("BigFontValue    TEXT(255) COLLATE NOCASE DEFAULT ''"),
                              QStringLiteral("BigFontValue    TEXT(255) COLLATE NOCASE DEFAULT (zeroblob(900000000))"));
         }, "", nullptr},
        {"fts5", [](QString S) {
             return S.replace(QRegularExpression(QStringLiteral("CREATE TABLE Contact \\([^;]*;")),
                              QStringLiteral("CREATE VIRTUAL TABLE Contact USING fts5(ContactIndex, ContactUser, ContactRecordTime, "
                                             "ContactCreateTime, ContactHead, ContactContent);"))
                 .remove(QStringLiteral("CREATE INDEX ContactUser_Index ON Contact (ContactUser);"));
         }, "", "所选数据库缺少数据表 Contact"},
        {"unique", nullptr, "CREATE UNIQUE INDEX OneMan ON Customer (CustomerMan);", nullptr},
        {"indexes", [](QString S) {
             return S.replace(QStringLiteral("ON Customer (CustomerName);"),
                              QStringLiteral("ON Customer (CustomerName COLLATE BINARY DESC, CustomerPhone);"))
                 .remove(QStringLiteral("CREATE INDEX BillUser_Index ON Bill (BillUser);"));
         }, "", nullptr},
        {"norowid", [](QString S) {
             return S.replace(QStringLiteral("CustomerIndex     INTEGER PRIMARY KEY AUTOINCREMENT"),
                              QStringLiteral("CustomerIndex     INTEGER PRIMARY KEY"))
                 .replace(QStringLiteral("CustomerMan       TEXT(50)  COLLATE NOCASE DEFAULT ''\n)"),
                          QStringLiteral("CustomerMan       TEXT(50)  COLLATE NOCASE DEFAULT ''\n) WITHOUT ROWID"));
         }, "", nullptr},
        {"counterless", [](QString S) {
             return S.replace(QStringLiteral("BillIndex       INTEGER PRIMARY KEY AUTOINCREMENT"),
                              QStringLiteral("BillIndex       INTEGER PRIMARY KEY"));
         }, "", nullptr},
        {"strict", [](QString S) {
             return S.replace(QRegularExpression(QStringLiteral("CREATE TABLE Account \\([^;]*;")), QStringLiteral(
                 "CREATE TABLE Account (AccountIndex INTEGER PRIMARY KEY AUTOINCREMENT, AccountName TEXT DEFAULT '', "
                 "AccountBase REAL DEFAULT 0, AccountMan TEXT DEFAULT '') STRICT;"));
         }, "", nullptr},
        {"types", TextOwe, "", nullptr},
        {"misfit", TextOwe, "UPDATE Customer SET CustomerOwe = 'abc' WHERE CustomerIndex = 2;",
         "所选数据库的数据表 Customer 中有本程序不能保存的数据（CustomerOwe）"},
        {"collation", [](QString S) {
             return S.replace(QStringLiteral("CustomerName      TEXT(100) COLLATE NOCASE"),
                              QStringLiteral("CustomerName      TEXT(100) COLLATE RTRIM"));
         }, "", nullptr},
        {"check", [](QString S) {
             return S.replace(QStringLiteral("BillSum         REAL DEFAULT 0"),
                              QStringLiteral("BillSum         REAL DEFAULT 0 CHECK (BillSum <= 1000)"));
         }, "", nullptr},
        {"counter", nullptr, "UPDATE sqlite_sequence SET seq = 9223372036854775807 WHERE name = 'Bill';",
         "所选数据库的数据表 Bill 的编号已用完"},
        {"last", nullptr,
         "INSERT INTO Bill (BillIndex) VALUES (9223372036854775807); UPDATE sqlite_sequence SET seq = 5 WHERE name = 'Bill';",
         "所选数据库的数据表 Bill 的编号已用完"},
        // Into a database an earlier version left in UTF-16: nothing is converted.
        {"intoutf16", nullptr, "", nullptr, "", [](const QString&) {
             const QString Database = AppPath + QStringLiteral("Tallybridge.mdb");
             ShareDataModule->ADOConnection1->Close();
             ASSERT_TRUE(QFile::remove(Database));
             CreateDatabaseFile(Database, QStringLiteral("PRAGMA encoding = 'UTF-16le';\n") + DeliveredSchema());
             ConnectTo(Database);
         }},
    };
    const QString Live = AppPath + QStringLiteral("Tallybridge.mdb");
    const QString Fresh = AppPath + QStringLiteral("fresh/Tallybridge.mdb");
    ASSERT_TRUE(QDir().mkpath(AppPath + QStringLiteral("fresh")));
    CreateDatabaseFile(Fresh, DeliveredSchema());
    TADOConnection FreshConnection;
    FreshConnection.SetConnectionString(JetConnectionString(Fresh, DatabasePassword));
    const QString OurSchema = SchemaOf(&FreshConnection);
    const auto LiveRows = [&] {
        return Scalar(QStringLiteral("Select AccountName || '|' || CustomerName || '|' || typeof(CustomerOwe) || ' ' || CustomerOwe "
                                     "|| '|' || BillUser || '|' || ContactHead || length(ContactContent) "
                                     "From Account, Customer, Bill, Contact "
                                     "Where AccountIndex = 2 And CustomerIndex = 2 And BillIndex = 2 And ContactIndex = 2"));
    };
    for (const auto& Row : Rows) {
        const QString File = InFolder(Row.File) + QStringLiteral(".mdb");
        const QString Tag = QString::fromUtf8(Row.File);
        CreateDatabaseFile(File, (Row.Schema ? Row.Schema(DeliveredSchema()) : DeliveredSchema()) + TaggedRows(Tag)
                                     + QString::fromUtf8(Row.Sql));
        if (Row.Then)
            Row.Then(File);
        const auto Chosen = [&] {
            return Read(File) + '|' + Read(File + QStringLiteral("-journal")) + '|' + Read(File + QStringLiteral("-wal"));
        };
        const QByteArray ChosenBefore = Chosen();
        const QByteArray Before = Read(Live);
        const QString RowsBefore = LiveRows();
        const QString Encoding = Scalar(QStringLiteral("PRAGMA encoding"));
        const QString Message = Row.Refusal ? QStringLiteral("数据库恢复失败：") + QString::fromUtf8(Row.Refusal)
                                            : Restored + QString::fromUtf8(Row.Note);
        EXPECT_EQ(RestoreChosen(File), Message) << Row.File;
        EXPECT_EQ(Chosen(), ChosenBefore) << Row.File;
        if (Row.Refusal) {
            EXPECT_EQ(Read(Live), Before) << Row.File;
            EXPECT_EQ(LiveRows(), RowsBefore) << Row.File;
        } else {
            EXPECT_EQ(LiveRows(), QStringLiteral("%1|%1客户A|real 12.5|%1客户A|来访😀20000").arg(Tag)) << Row.File;
        }
        EXPECT_EQ(Scalar(QStringLiteral("PRAGMA encoding")), Encoding) << Row.File;
        EXPECT_EQ(Scalar(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok")) << Row.File;
        EXPECT_EQ(SchemaOf(ShareDataModule->ADOConnection1), OurSchema) << Row.File;
        EXPECT_EQ(StoreChangeAndRemove(), QString()) << Row.File;
        EXPECT_LT(QFileInfo(Live).size(), 10 << 20) << Row.File;
        EXPECT_EQ(ProgramFiles(), QStringLiteral("Tallybridge.mdb")) << Row.File;
    }
}

TEST_F(DataMaintenanceTest, ARestoreNeverHandsAnIndexOutTwice)
{
    ASSERT_TRUE(QDir().mkpath(BackupFolder()));
    ShareDataModule->ADOConnection1->BackupTo(InFolder("early.mdb"));
    const struct
    {
        const char* Table;
        const char* Key;
    } Tables[] = {{"Customer", "CustomerIndex"}, {"CustomerHide", "CustomerIndex"}, {"Bill", "BillIndex"},
                  {"MoneyTable", "MoneyIndex"},   {"Account", "AccountIndex"},       {"Contact", "ContactIndex"}};
    // Indices handed out after the backup, the last of them deleted again.
    std::map<QString, qlonglong> HandedOut;
    for (const auto& T : Tables) {
        for (int i = 0; i < 3; ++i)
            Exec(QStringLiteral("Insert Into %1 (%2) Values (Null)").arg(U(T.Table), U(T.Key)));
        Exec(QStringLiteral("Delete From %1 Where %2 = (Select Max(%2) From %1)").arg(U(T.Table), U(T.Key)));
        HandedOut[U(T.Table)] =
            Scalar(QStringLiteral("Select seq From sqlite_sequence Where name = '%1'").arg(U(T.Table))).toLongLong();
    }
    // The backup's own counter of documents is ahead of the database's.
    {
        TADOConnection Early;
        Early.SetConnectionString(JetConnectionString(InFolder("early.mdb"), DatabasePassword));
        Early.Execute(QStringLiteral("Update sqlite_sequence Set seq = 1000 Where name = 'Bill'"));
    }
    HandedOut[QStringLiteral("Bill")] = 1000;
    // Another copy stores a contact while the restore begins: the restore may
    // read meanwhile, and writes once that copy committed.
    TSecondCopy Copy(AppPath + QStringLiteral("Tallybridge.mdb"));
    EXPECT_EQ(Copy.Ask("hold one briefly"), QStringLiteral("holding"));
    HandedOut[QStringLiteral("Contact")] += 1;
    TModalHandlers Handlers(nullptr, [](const TMessageRequest&) { return mrYes; },
                            [&](const TFileRequest&) { return InFolder("early.mdb"); });
    TOpenDialog Dialog;
    RestoreDatabase(Dialog);
    EXPECT_EQ(TModalSeam::MessageTexts().value(1), QStringLiteral("恭喜您，数据库恢复成功，请重新启动软件"));
    for (const auto& T : Tables) {
        Exec(QStringLiteral("Insert Into %1 (%2) Values (Null)").arg(U(T.Table), U(T.Key)));
        EXPECT_GT(Scalar(QStringLiteral("Select Max(%2) From %1").arg(U(T.Table), U(T.Key))).toLongLong(),
                  HandedOut[U(T.Table)])
            << T.Table;
    }
}

TEST_F(DataMaintenanceTest, AWriteTheDatabaseRefusesChangesNothing)
{
    Exec(QStringLiteral("Insert Into Account (AccountName) Values ('现有帐户')"));
    ASSERT_TRUE(QDir().mkpath(BackupFolder()));
    // A backup with more rows than the database holds now.
    CreateDatabaseFile(InFolder("bigger.mdb"), DeliveredSchema() + TaggedRows(QStringLiteral("备份")) + QStringLiteral(
        "WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 100) "
        "INSERT INTO Contact (ContactContent) SELECT hex(randomblob(2000)) FROM N;"));
    const struct
    {
        const char* Name;
        const char* Cause; // on the database's own connection
        const char* Message;
        const char* Gone;  // what ends the cause
    } Rows[] = {
        // No more pages than it has: the engine's "disk full".
        {"no room for more pages", "PRAGMA max_page_count = 1",
         "数据库恢复失败，失败号为：28", "PRAGMA max_page_count = 1073741823"},
        {"a write refused", "Create Trigger Refuse Before Insert On Contact Begin Select json('x'); End",
         "数据库恢复失败：Cannot write into the database: malformed JSON", "Drop Trigger Refuse"},
    };
    const QString Live = AppPath + QStringLiteral("Tallybridge.mdb");
    for (const auto& Row : Rows) {
        Exec(U(Row.Cause));
        const QByteArray Before = Read(Live);
        Application()->ResetTerminated();
        TModalSeam::ClearMessages();
        TModalHandlers Handlers(nullptr, [](const TMessageRequest&) { return mrYes; },
                                [&](const TFileRequest&) { return InFolder("bigger.mdb"); });
        TOpenDialog Dialog;
        RestoreDatabase(Dialog);
        EXPECT_EQ(TModalSeam::MessageTexts().value(1), U(Row.Message)) << Row.Name;
        EXPECT_EQ(Read(Live), Before) << Row.Name;
        EXPECT_EQ(Accounts(), QStringLiteral("现有帐户")) << Row.Name;
        EXPECT_EQ(Scalar(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok")) << Row.Name;
        EXPECT_FALSE(Application()->Terminated()) << Row.Name;
        EXPECT_EQ(ProgramFiles(), QStringLiteral("Tallybridge.mdb")) << Row.Name;
        // Once the cause is gone the same file restores.
        Exec(U(Row.Gone));
        TModalSeam::ClearMessages();
        RestoreDatabase(Dialog);
        EXPECT_EQ(TModalSeam::MessageTexts().value(1), QStringLiteral("恭喜您，数据库恢复成功，请重新启动软件")) << Row.Name;
        EXPECT_EQ(Accounts(), QStringLiteral("备份")) << Row.Name;
        Exec(QStringLiteral("Update Account Set AccountName = '现有帐户' Where AccountIndex = 2"));
        Exec(QStringLiteral("Delete From Contact Where ContactIndex > 1"));
    }
}
