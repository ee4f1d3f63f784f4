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
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <iostream>
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
                } else if (Line.starts_with("hold")) {
                    // More than the page cache holds: pages reach the file, the journal stays beside it.
                    Connection->BeginTrans();
                    for (int i = 0; i < 500; ++i)
                        Exec(QStringLiteral("Insert Into Contact (ContactUser, ContactContent) Values (2, '%1')")
                                 .arg(QString(2000, u'记')));
                    Answer = QStringLiteral("holding");
                }
            } catch (const Exception& E) {
                Answer = E.Message();
            }
            std::cout << "=> " << Answer.toStdString() << std::endl;
            if (Line == "hold briefly") {
                QThread::msleep(300);
                Connection->CommitTrans();
            }
        }
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
    static QString ProgramFiles() { return QDir(AppPath).entryList(QDir::Files).join(u','); }
};

} // namespace

TEST_F(DataMaintenanceTest, BackupAnswers)
{
    ASSERT_TRUE(QDir().mkpath(BackupFolder()));
    Write(InFolder("older.mdb"), "an older backup");
    const struct
    {
        QString Answer;
        const char* Message;
    } Rows[] = {
        {QString(), nullptr},
        {InFolder("new.mdb"), "恭喜您，数据库备份成功"},
        {InFolder("older.mdb"), "恭喜您，数据库备份成功"},
        {AppPath + QStringLiteral("./Tallybridge.mdb"), "数据库备份失败：不能覆盖正在使用的数据库文件"},
        {AppPath + QStringLiteral("none/new.mdb"), "数据库备份失败，失败号为：2"},
    };
    const QByteArray Live = Read(AppPath + QStringLiteral("Tallybridge.mdb"));
    for (const auto& Row : Rows) {
        QString Asked;
        TModalHandlers Handlers(nullptr, nullptr, [&](const TFileRequest& R) {
            Asked = R.FileName + u'|' + R.InitialDir;
            return Row.Answer;
        });
        TSaveDialog Dialog;
        BackupDatabase(Dialog);
        EXPECT_EQ(TModalSeam::MessageTexts(), Row.Message ? QStringList{QString::fromUtf8(Row.Message)} : QStringList());
        EXPECT_EQ(Asked, QStringLiteral("Tallybridge业务软件%1.mdb|").arg(DateToStr(Date())) + BackupFolder());
        if (QString::fromUtf8(Row.Message).startsWith(u"恭喜")) {
            EXPECT_TRUE(Read(Row.Answer).startsWith("SQLite format 3")) << Row.Answer.toStdString();
        }
    }
    EXPECT_EQ(Read(AppPath + QStringLiteral("Tallybridge.mdb")), Live);
    EXPECT_EQ(ProgramFiles(), QStringLiteral("Tallybridge.mdb"));
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
