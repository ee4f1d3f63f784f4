// Backing the database up and restoring it: the answers a user gives, what is
// said, and what happens to the open data.
#include "AppFixture.h"

#include "app/DataMaintenance.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Application.h"
#include "platform/gui/FileDialogs.h"
#include "platform/rtl/SysUtils.h"

#include <QDir>
#include <ostream>

inline void PrintTo(const QString& S, std::ostream* Out)
{
    *Out << '"' << S.toStdString() << '"';
}

namespace {

class DataMaintenanceTest : public TAppFixture
{
protected:
    void SetUp() override
    {
        TAppFixture::SetUp();
        AddAccount(QStringLiteral("旧帐户"));
    }
    void TearDown() override
    {
        Application()->ResetTerminated();
        TAppFixture::TearDown();
    }

    void AddAccount(const QString& Name)
    {
        Exec(QStringLiteral("Insert Into Account (AccountName, AccountBase) Values (") + SqlQuoted(Name)
             + QStringLiteral(", 0)"));
    }
    QString Accounts() { return Names(QStringLiteral("Select AccountName From Account Order By AccountIndex")); }
    QString Names(const QString& SQL)
    {
        TADOQuery Q;
        Q.SetConnection(ShareDataModule->ADOConnection1);
        Q.SQL()->Add(SQL);
        Q.Open();
        QStringList L;
        for (Q.First(); !Q.Eof(); Q.Next())
            L << Q.Fields(0)->AsString();
        return L.join(u',');
    }
    // Every file in the program folder, so a left-over copy shows.
    QString FolderFiles() const { return QDir(AppPath).entryList(QDir::Files, QDir::Name).join(u','); }
    static QString InFolder(const QString& Name) { return BackupFolder() + u'/' + Name; }

    static void WriteFile(const QString& File, const QByteArray& Bytes)
    {
        QFile F(File);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write(Bytes);
    }
};

QString Live()
{
    return AppPath + QStringLiteral("Tallybridge.mdb");
}

} // namespace

TEST_F(DataMaintenanceTest, BackupAnswers)
{
    struct TRow
    {
        const char* Name;
        std::function<QString()> Answer;
        QStringList Messages;
        bool Written; // the file answered holds the open data
    } Rows[] = {
        {"Cancelled", [] { return QString(); }, {}, false},
        {"NewFile", [] { return InFolder(QStringLiteral("a.mdb")); }, {"恭喜您，数据库备份成功"}, true},
        {"OlderFileReplaced", [] { return InFolder(QStringLiteral("a.mdb")); }, {"恭喜您，数据库备份成功"}, true},
        {"LiveFileRefused", [] { return AppPath + QStringLiteral("./Tallybridge.mdb"); },
         {"数据库备份失败：不能覆盖正在使用的数据库文件"}, false},
        {"FailureNumberIsTheSystemError", [] { return AppPath + QStringLiteral("none/a.mdb"); },
         {"数据库备份失败，失败号为：2"}, false},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        if (QString(Row.Name) == QLatin1String("OlderFileReplaced"))
            AddAccount(QStringLiteral("新帐户"));
        const QByteArray LiveBytes = [] { QFile F(Live()); F.open(QIODevice::ReadOnly); return F.readAll(); }();
        TFileRequest Asked;
        TModalHandlers Handlers(nullptr, nullptr, [&](const TFileRequest& R) { Asked = R; return Row.Answer(); });
        TSaveDialog Dialog;
        BackupDatabase(Dialog);
        EXPECT_EQ(TModalSeam::MessageTexts(), Row.Messages);
        EXPECT_TRUE(Asked.Save);
        EXPECT_EQ(Asked.FileName, QStringLiteral("Tallybridge业务软件") + DateToStr(Date()) + QStringLiteral(".mdb"));
        EXPECT_EQ(Asked.InitialDir, BackupFolder());
        EXPECT_TRUE(QDir(BackupFolder()).exists());
        if (Row.Written) {
            TADOConnection Copy;
            Copy.SetConnectionString(JetConnectionString(Row.Answer(), DatabasePassword));
            TADOQuery Q;
            Q.SetConnection(&Copy);
            Q.SQL()->Add(QStringLiteral("Select AccountName From Account Order By AccountIndex"));
            Q.Open();
            QStringList L;
            for (Q.First(); !Q.Eof(); Q.Next())
                L << Q.Fields(0)->AsString();
            EXPECT_EQ(L.join(u','), Accounts());
        }
        EXPECT_EQ([] { QFile F(Live()); F.open(QIODevice::ReadOnly); return F.readAll(); }(), LiveBytes);
        EXPECT_EQ(FolderFiles(), QStringLiteral("Tallybridge.mdb"));
    }
}

TEST_F(DataMaintenanceTest, BackupFolderThatCannotBeMadeStopsBeforeTheDialog)
{
    WriteFile(BackupFolder(), "a file where the folder should be");
    int Asked = 0;
    TModalHandlers Handlers(nullptr, nullptr, [&](const TFileRequest&) { ++Asked; return QString(); });
    TSaveDialog Dialog;
    BackupDatabase(Dialog);
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("数据库备份目录创建失败，请检查磁盘属性是否只读")});
    EXPECT_EQ(Asked, 0);
}

TEST_F(DataMaintenanceTest, RestoreAnswers)
{
    ASSERT_TRUE(QDir().mkpath(BackupFolder()));
    ShareDataModule->ADOConnection1->BackupTo(InFolder(QStringLiteral("good.mdb")));
    WriteFile(InFolder(QStringLiteral("text.mdb")), QByteArray("这不是数据库。").repeated(300));
    CreateDatabaseFile(InFolder(QStringLiteral("other.mdb")), QStringLiteral("Create Table Power (PowerName Text);"));
    {
        QFile Good(InFolder(QStringLiteral("good.mdb")));
        ASSERT_TRUE(Good.open(QIODevice::ReadOnly));
        QByteArray Bytes = Good.readAll();
        const int PageSize = (uchar(Bytes[16]) << 8) | uchar(Bytes[17]);
        const int Page = Scalar(QStringLiteral("Select rootpage From sqlite_master Where name = 'Account'")).toInt();
        WriteFile(InFolder(QStringLiteral("damaged.mdb")),
                  Bytes.replace((Page - 1) * PageSize, PageSize, QByteArray(PageSize, '\x5a')));
    }
    AddAccount(QStringLiteral("新帐户"));
    const QString Before = Accounts();
    const QString Warning = QStringLiteral("数据库恢复将导致当前数据全部丢失，是否继续？");
    const QString Failed = QStringLiteral("数据库恢复失败：");

    struct TRow
    {
        const char* Name;
        TModalResult AtWarning;
        const char* File; // in the backup folder; empty: Cancel
        QStringList Messages;
        bool Restored;
    } Rows[] = {
        {"NoAtTheWarning", mrNo, "good.mdb", {Warning}, false},
        {"Cancelled", mrYes, "", {Warning}, false},
        {"TextFile", mrYes, "text.mdb", {Warning, Failed + "所选文件不是数据库文件"}, false},
        {"WithoutTheTables", mrYes, "other.mdb", {Warning, Failed + "所选数据库缺少数据表 Customer"}, false},
        {"DamagedPage", mrYes, "damaged.mdb", {Warning, Failed + "所选数据库文件已损坏（database disk image is malformed）"},
         false},
        {"LiveFile", mrYes, "../Tallybridge.mdb", {Warning, Failed + "所选文件就是正在使用的数据库文件"}, false},
        {"Good", mrYes, "good.mdb", {Warning, "恭喜您，数据库恢复成功，请重新启动软件"}, true},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        int Dialogs = 0;
        TModalHandlers Handlers(
            nullptr, [&](const TMessageRequest& M) { return M.Text == Warning ? Row.AtWarning : mrOk; },
            [&](const TFileRequest& R) {
                ++Dialogs;
                EXPECT_EQ(R.FileName + u'|' + R.InitialDir, QStringLiteral("*.mdb|") + BackupFolder());
                return *Row.File ? InFolder(QString::fromUtf8(Row.File)) : QString();
            });
        TOpenDialog Dialog;
        RestoreDatabase(Dialog);
        EXPECT_EQ(TModalSeam::MessageTexts(), Row.Messages);
        EXPECT_EQ(Dialogs, Row.AtWarning == mrYes ? 1 : 0);
        EXPECT_TRUE(ShareDataModule->ADOConnection1->Connected());
        EXPECT_EQ(Accounts(), Row.Restored ? Before.section(u',', 0, -2) : Before);
        EXPECT_EQ(Application()->Terminated(), Row.Restored);
        EXPECT_EQ(FolderFiles(), QStringLiteral("Tallybridge.mdb"));
    }
}
