// Backing the database up and restoring it: the answers a user gives, what is
// said, and what happens to the open data.
#include "AppFixture.h"

#include "app/DataMaintenance.h"
#include "platform/gui/Application.h"
#include "platform/gui/FileDialogs.h"
#include "platform/rtl/SysUtils.h"

#include <QDir>

namespace {

class DataMaintenanceTest : public TAppFixture
{
protected:
    void TearDown() override
    {
        Application()->ResetTerminated();
        TAppFixture::TearDown();
    }
    QString Accounts() { return Scalar(QStringLiteral("Select Count(*) From Account Where AccountName = '旧帐户'")); }
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
    Exec(QStringLiteral("Delete From Account Where AccountName = '旧帐户'"));

    const QString Warning = QStringLiteral("数据库恢复将导致当前数据全部丢失，是否继续？");
    const struct
    {
        TModalResult AtWarning;
        const char* File; // empty: Cancel
        const char* Message;
    } Rows[] = {
        {mrNo, "good.mdb", nullptr},
        {mrYes, "", nullptr},
        {mrYes, "text.mdb", "数据库恢复失败：所选文件不是数据库文件"},
        {mrYes, "foreign.mdb", "数据库恢复失败：所选数据库的数据表 Power 缺少列 PowerName"},
        {mrYes, "../Tallybridge.mdb", "数据库恢复失败：所选文件就是正在使用的数据库文件"},
        {mrYes, "good.mdb", "恭喜您，数据库恢复成功，请重新启动软件"},
    };
    for (const auto& Row : Rows) {
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
        EXPECT_EQ(Accounts(), Good ? QStringLiteral("1") : QStringLiteral("0")) << Row.File;
        EXPECT_EQ(Application()->Terminated(), Good);
        EXPECT_EQ(ProgramFiles(), QStringLiteral("Tallybridge.mdb"));
    }
}
