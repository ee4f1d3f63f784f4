// The program's start: the database check, the login and each role's shape of
// the main window.
#include "ProgramFixture.h"

#include "app/DataMaintenance.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ExtCtrls.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// "012345--": the index of every visible tab, '-' for a hidden one.
QString VisibleTabs()
{
    QString Text;
    for (int I = 0; I < FormMain->PageControl1->count(); ++I)
        Text += FormMain->PageControl1->isTabVisible(I) ? QChar(u'0' + I) : QChar(u'-');
    return Text;
}

QString Filters()
{
    return QStringList{CustomerFilter, AccountFilter, BillFilter, MoneyFilter}.join(u'|');
}

} // namespace

class MainFormStart : public TProgramFixture {};

TEST_F(MainFormStart, MissingDatabaseEndsTheProgramWithAMessage)
{
    ShareDataModule->ADOConnection1->Close();
    ASSERT_TRUE(QFile::remove(AppPath + QStringLiteral("Tallybridge.mdb")));
    TModalHandlers Handlers(User({}), [](const TMessageRequest&) { return mrOk; });
    FormMain->Show();
    ASSERT_EQ(TModalSeam::Messages().size(), 1u);
    EXPECT_EQ(TModalSeam::Messages()[0].Text, QStringLiteral("数据库文件找不到，请联系软件供应商"));
    EXPECT_EQ(TModalSeam::Messages()[0].Icon, miError);
    EXPECT_TRUE(Application()->Terminated());
    EXPECT_EQ(LoginShows, 0);
}

TEST_F(MainFormStart, DatabaseThatDoesNotOpenEndsTheProgramWithAMessage)
{
    ShareDataModule->ADOConnection1->Close();
    QFile File(AppPath + QStringLiteral("Tallybridge.mdb"));
    ASSERT_TRUE(File.open(QIODevice::WriteOnly | QIODevice::Truncate));
    File.write(QByteArray(4096, 'x'));
    File.close();
    TModalHandlers Handlers(User({}), [](const TMessageRequest&) { return mrOk; });
    FormMain->Show();
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("数据库打开失败")});
    EXPECT_TRUE(Application()->Terminated());
    EXPECT_EQ(LoginShows, 0);
}

TEST_F(MainFormStart, StartRemovesWhatKilledBackupsAndRestoresLeft)
{
    // The hidden names that prove a file ours.
    const auto Ours = [](const char* Random) {
        const QByteArray Check = QCryptographicHash::hash(QByteArray("Tallybridge temporary file ") + Random,
                                                          QCryptographicHash::Sha256).toHex().left(8);
        return QStringLiteral(".tallybridge~%1~%2.tmp").arg(QLatin1String(Random), QLatin1String(Check));
    };
    ASSERT_TRUE(QDir().mkpath(BackupFolder()));
    const QStringList Left{AppPath + Ours("killedrestore001"), AppPath + Ours("killedrestore001") + QStringLiteral("-journal"),
                           BackupFolder() + u'/' + Ours("killedbackup0001")};
    // A live run's, and a user's file that only looks like ours.
    const QStringList Kept{AppPath + Ours("liverunholdsit01"),
                           AppPath + QStringLiteral(".tallybridge~killedrestore001~00000000.tmp")};
    for (const QString& File : Left + Kept) {
        QFile F(File);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write("x");
    }
    const int Lock = open(QFile::encodeName(Kept[0]).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(Lock, LOCK_EX), 0);
    TModalHandlers Handlers(User({Press(FormLogin->SpeedButton4)}), nullptr);
    FormMain->Show();
    close(Lock);
    for (const QString& File : Left)
        EXPECT_FALSE(QFile::exists(File)) << File.toStdString();
    for (const QString& File : Kept)
        EXPECT_TRUE(QFile::exists(File)) << File.toStdString();
}

TEST_F(MainFormStart, CancelledFirstLoginEndsTheProgram)
{
    TModalHandlers Handlers(User({[] { FormLogin->ImageTitle->Click(); }, [] { FormLogin->ImageUp4->Click(); }}),
                            nullptr);
    FormMain->Show();
    EXPECT_EQ(LoginShows, 1);
    EXPECT_TRUE(Application()->Terminated());
    EXPECT_FALSE(FormMain->isVisible());
}

TEST_F(MainFormStart, OpensTheWorkingDayOnToday)
{
    TModalHandlers Handlers(User({Press(FormLogin->SpeedButton4)}), nullptr);
    FormMain->Show();
    ASSERT_FALSE(Application()->Terminated());
    const TDateTime Today = Date();
    EXPECT_EQ(FormMain->WorkingDay(), Today);
    FormMain->BitBtn1->Click();
    EXPECT_EQ(FormMain->WorkingDay(), Today - 1);
    FormMain->BitBtn2->Click();
    FormMain->BitBtn2->Click();
    EXPECT_EQ(FormMain->WorkingDay(), Today + 1);
    EXPECT_TRUE(TModalSeam::Messages().empty());
}

// ---------------------------------------------------------------- roles

struct TRoleCase
{
    const char* Name;
    int RoleButton;      // 1..4: SpeedButton1..4; 0: the salesman of button 1
    const char* Range;   // the salesman's rights
    const char* Tabs;
    int Active;          // -1: no tab to show
    const char* Caption; // of the Login button
    int Glyph;           // size of the picture the Login button shows
};

class MainFormRoles : public TProgramFixture, public ::testing::WithParamInterface<TRoleCase> {};

TEST_P(MainFormRoles, LoginShapesTheWindow)
{
    const TRoleCase& C = GetParam();
    WritePicture(QStringLiteral("Res/YellowFish.bmp"), 21, Qt::yellow);
    WritePicture(QStringLiteral("Res/OrangeFish.bmp"), 22, QColor(255, 128, 0));
    WritePicture(QStringLiteral("Res/BlueFish.bmp"), 23, Qt::blue);
    WritePicture(QStringLiteral("Res/GreenFish.bmp"), 24, Qt::green);
    WritePicture(QStringLiteral("Faces/7.bmp"), 27, Qt::gray);
    NameSalesman(1, QStringLiteral("张三"), QString(), QString::fromUtf8(C.Range), QStringLiteral("Faces/7.bmp"));
    // A previous salesman's session.
    CustomerFilter = AccountFilter = BillFilter = MoneyFilter = QStringLiteral(" And (X = '旧')");

    TSpeedButton* const Buttons[] = {FormLogin->Man[0], FormLogin->SpeedButton1, FormLogin->SpeedButton2,
                                     FormLogin->SpeedButton3, FormLogin->SpeedButton4};
    TModalHandlers Handlers(User({Press(Buttons[C.RoleButton])}), nullptr);
    FormMain->Show();

    ASSERT_FALSE(Application()->Terminated());
    EXPECT_EQ(VisibleTabs(), QString::fromLatin1(C.Tabs));
    if (C.Active >= 0) {
        EXPECT_EQ(FormMain->PageControl1->currentIndex(), C.Active);
    } else {
        for (int I = 0; I < FormMain->PageControl1->count(); ++I)
            EXPECT_FALSE(FormMain->PageControl1->widget(I)->isVisible()) << "sheet " << I;
    }
    EXPECT_EQ(FormMain->Login->Caption(), QString::fromUtf8(C.Caption));
    EXPECT_EQ(FormMain->Login->Glyph()->Width(), C.Glyph);
    if (C.RoleButton == 0) {
        EXPECT_EQ(CurrentRole, QStringLiteral("业务员"));
        EXPECT_EQ(CurrentUser, QStringLiteral("张三"));
        EXPECT_EQ(CurrentRange, QString::fromUtf8(C.Range));
        EXPECT_EQ(Filters(), QStringLiteral(" And (CustomerMan = '张三')| And (AccountMan = '财务主管' Or AccountMan = "
                                            "'张三')| And (BillMan = '张三')| And (MoneyMan = '张三')"));
    } else {
        EXPECT_EQ(CurrentRole, QString::fromUtf8(C.Caption));
        EXPECT_EQ(CurrentUser, QString::fromUtf8(C.Caption));
        EXPECT_EQ(CurrentRange, QString());
        EXPECT_EQ(Filters(), QStringLiteral("|||"));
    }
    EXPECT_TRUE(TModalSeam::Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    EachRole, MainFormRoles,
    ::testing::Values(TRoleCase{"Supervisor", 1, "", "012345--", 0, "财务主管", 21},
                      TRoleCase{"Director", 2, "", "012345--", 0, "财务总监", 22},
                      TRoleCase{"Administrator", 3, "", "------67", 6, "管理员", 23},
                      TRoleCase{"Manager", 4, "", "012345--", 0, "总经理", 24},
                      TRoleCase{"SalesmanWithBoth", 0, "业务管理；财务管理；", "012345--", 0, "张三", 27},
                      TRoleCase{"SalesmanWithBusiness", 0, "业务管理；", "012-----", 0, "张三", 27},
                      TRoleCase{"SalesmanWithMoney", 0, "财务管理；", "---345--", 3, "张三", 27},
                      TRoleCase{"SalesmanWithNeither", 0, "", "--------", -1, "张三", 27}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(MainFormStart, SalesmanNameWithAQuoteStaysOneLiteral)
{
    NameSalesman(2, QStringLiteral("O'Neil"), QString(), QStringLiteral("业务管理；"));
    Exec(QStringLiteral("Insert Into Customer (CustomerName, CustomerMan) Values ('甲', 'O''Neil')"));
    Exec(QStringLiteral("Insert Into Customer (CustomerName, CustomerMan) Values ('乙', '张三')"));
    TModalHandlers Handlers(User({Press(FormLogin->Man[1])}), nullptr);
    FormMain->Show();
    EXPECT_EQ(FormMain->Login->Caption(), QStringLiteral("O'Neil"));
    EXPECT_EQ(Scalar(QStringLiteral("Select Count(*) From Customer Where (CustomerIndex > 1)") + CustomerFilter),
              QStringLiteral("1"));
    EXPECT_TRUE(TModalSeam::Messages().empty());
}

TEST_F(MainFormStart, WrongPasswordLetsTheUserTryAgain)
{
    Exec(QStringLiteral("Update Power Set PowerKey = 'abc' Where PowerName = '总经理'"));
    TModalHandlers Handlers(User({Press(FormLogin->SpeedButton4), Press(FormLogin->SpeedButton4),
                                  Press(FormLogin->SpeedButton4)},
                                 {QStringLiteral("x"), QStringLiteral("ABC"), QStringLiteral("abc")}),
                            nullptr);
    FormMain->Show();
    EXPECT_EQ(TModalSeam::MessageTexts(),
              (QStringList{QStringLiteral("密码错误，请重新操作"), QStringLiteral("密码错误，请重新操作")}));
    EXPECT_EQ(CurrentRole, QStringLiteral("总经理"));
    EXPECT_EQ(LoginShows, 1);
}

TEST_F(MainFormStart, MissingRoleRowIsReported)
{
    Exec(QStringLiteral("Delete From Power Where PowerName = '财务总监'"));
    TModalHandlers Handlers(User({Press(FormLogin->SpeedButton2), Press(FormLogin->SpeedButton1)}), nullptr);
    FormMain->Show();
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("数据库出错，资料修改密码被删除")});
    EXPECT_EQ(CurrentRole, QStringLiteral("财务主管"));
}

TEST_F(MainFormStart, CancelledReloginKeepsTheUser)
{
    NameSalesman(1, QStringLiteral("张三"), QString(), QStringLiteral("财务管理；"));
    {
        TModalHandlers Handlers(User({Press(FormLogin->Man[0])}), nullptr);
        FormMain->Show();
    }
    const QString Before = Filters();
    TModalHandlers Handlers(User({[] { FormLogin->ImageUp4Click(nullptr); }}), nullptr);
    FormMain->Login->Click();
    EXPECT_EQ(LoginShows, 2);
    EXPECT_EQ(CurrentUser, QStringLiteral("张三"));
    EXPECT_EQ(Filters(), Before);
    EXPECT_EQ(VisibleTabs(), QStringLiteral("---345--"));
    EXPECT_EQ(FormMain->Login->Caption(), QStringLiteral("张三"));
    EXPECT_FALSE(Application()->Terminated());
    EXPECT_TRUE(FormMain->isVisible());
}

TEST_F(MainFormStart, ReloginAsAnotherRoleReshapesTheWindow)
{
    NameSalesman(1, QStringLiteral("张三"), QString(), QStringLiteral("业务管理；"));
    {
        TModalHandlers Handlers(User({Press(FormLogin->Man[0])}), nullptr);
        FormMain->Show();
    }
    TModalHandlers Handlers(User({Press(FormLogin->SpeedButton3)}), nullptr);
    FormMain->Login->Click();
    EXPECT_EQ(VisibleTabs(), QStringLiteral("------67"));
    EXPECT_EQ(FormMain->PageControl1->currentIndex(), 6);
    EXPECT_EQ(Filters(), QStringLiteral("|||"));
    EXPECT_EQ(CurrentRange, QString());
}

TEST_F(MainFormStart, SheetsComeBackAfterASessionWithoutTabs)
{
    NameSalesman(1, QStringLiteral("张三"), QString(), QString());
    {
        TModalHandlers Handlers(User({Press(FormLogin->Man[0])}), nullptr);
        FormMain->Show();
    }
    ASSERT_EQ(VisibleTabs(), QStringLiteral("--------"));
    TModalHandlers Handlers(User({Press(FormLogin->SpeedButton1)}), nullptr);
    FormMain->Login->Click();
    EXPECT_EQ(VisibleTabs(), QStringLiteral("012345--"));
    EXPECT_EQ(FormMain->PageControl1->currentIndex(), 0);
    EXPECT_TRUE(FormMain->TabSheet8->isVisible());
}
