// Two copies of the program on one database file, as a firm gets when the
// program is started twice: this test program runs once more as the second
// copy, and both store documents and customers through their own windows at
// the same time. No number is given out twice, the counter never goes back,
// and no customer name is stored twice.
#include "ProgramFixture.h"
#include "ChildRun.h"

#include "app/BuySellForm.h"
#include "app/CardQueries.h"
#include "app/Customer2Form.h"
#include "app/GetPayForm.h"
#include "platform/gui/Buttons.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <iostream>
#include <string>

namespace {

constexpr int SavesEach = 40;
const char* const SecondCopyFile = "TB_SECOND_COPY_FILE";
const char* const SecondCopyTask = "TB_SECOND_COPY_TASK";

class TwoCopies : public TProgramFixture
{
protected:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        CurrentUser = QStringLiteral("张三");
        FormBuySell = new TFormBuySell();
        FormGetPay = new TFormGetPay();
        FormCustomer2 = new TFormCustomer2();
    }

    void TearDown() override
    {
        delete FormCustomer2;
        FormCustomer2 = nullptr;
        delete FormGetPay;
        FormGetPay = nullptr;
        delete FormBuySell;
        FormBuySell = nullptr;
        TProgramFixture::TearDown();
    }

    // Stores SavesEach new sales, or tries the customers 客户1 to 客户N, the
    // accounts 帐户1 to 帐户N or the document kinds 种类1 to 种类N in order, each
    // as the program stores it; gives every message shown.
    static QStringList Save(const QString& Task)
    {
        QStringList Messages;
        QString Answer; // to the next prompt
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                if (Form == FormBuySell) {
                    FormBuySell->ComboBox5->setEditText(QStringLiteral("甲"));
                    FormBuySell->Edit2->setText(QStringLiteral("10"));
                    FormBuySell->BitBtn1->Click();
                } else if (Form == FormCustomer2) {
                    FormCustomer2->BitBtn1->Click();
                } else if (Form == FormAsk) {
                    FormAsk->Edit1->setText(Answer);
                    FormAsk->BitBtn1->Click();
                }
                return mrNone;
            },
            [](const TMessageRequest&) { return mrOk; });
        for (int I = 1; I <= SavesEach; ++I) {
            TModalSeam::ClearMessages();
            if (Task == QStringLiteral("numbers")) {
                FormBuySell->Mode = QStringLiteral("新增");
                FormBuySell->Kind = QStringLiteral("销售开单");
                FormBuySell->BillIndex = 1;
                FormBuySell->ShowModal();
            } else if (Task == QStringLiteral("accounts")) {
                AddAccount(QStringLiteral("帐户%1").arg(I), 0);
            } else if (Task == QStringLiteral("parameters")) {
                Answer = QStringLiteral("种类%1").arg(I);
                FormMain->Button1->OnClick(FormMain->Button1);
            } else {
                FormCustomer2->EditMode = 0;
                FormCustomer2->CustomerKind = QStringLiteral("正式客户");
                FormCustomer2->PresetName = QStringLiteral("客户%1").arg(I);
                FormCustomer2->ShowModal();
            }
            Messages << TModalSeam::MessageTexts();
            // A moment between saves, as users take: a copy that saves without
            // pause could keep the other waiting past the busy timeout.
            QThread::msleep(20);
        }
        return Messages;
    }

    // Each insert into Table takes a while, as on a slow disk: long enough for
    // the other copy to read what this one is about to change.
    void SlowInserts(const QString& Table)
    {
        Exec(QStringLiteral("Drop Trigger If Exists Slow"));
        Exec(QStringLiteral("Create Trigger Slow After Insert On %1 Begin Select Count(*) From (With Recursive "
                            "N(I) As (Select 1 Union All Select I + 1 From N Where I < 20000) Select I From N); End")
                 .arg(Table));
    }

    // Runs the second copy over this test's database, both copies saving at once.
    QStringList SaveWithASecondCopy(const QString& Task, QString& Failure)
    {
        const QTemporaryDir CopyTemp;
        QProcess Copy;
        QProcessEnvironment Env = ChildRunEnvironment(CopyTemp.path());
        Env.insert(QString::fromLatin1(SecondCopyFile), AppPath + QStringLiteral("Tallybridge.mdb"));
        Env.insert(QString::fromLatin1(SecondCopyTask), Task);
        Copy.setProcessEnvironment(Env);
        Copy.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=TwoCopies.SecondCopy")});
        QByteArray Output;
        while (!Output.contains("second copy ready") && Copy.waitForReadyRead(60000))
            Output += Copy.readAllStandardOutput();
        Copy.write("go\n");
        Copy.waitForBytesWritten();
        const QStringList Messages = Save(Task);
        Copy.waitForFinished(120000);
        Output += Copy.readAllStandardOutput();
        if (Copy.exitStatus() != QProcess::NormalExit || Copy.exitCode() != 0 || !Output.contains("[  PASSED  ] 1 test"))
            Failure = QString::fromLocal8Bit(Output);
        return Messages;
    }
};

// The second copy: run by the tests below in a process of its own.
TEST_F(TwoCopies, SecondCopy)
{
    if (!qEnvironmentVariableIsSet(SecondCopyFile))
        GTEST_SKIP() << "run by the other TwoCopies tests as the second copy of the program";
    ConnectTo(qEnvironmentVariable(SecondCopyFile));
    std::cout << "second copy ready" << std::endl;
    std::string Go;
    std::getline(std::cin, Go);
    const QString Task = qEnvironmentVariable(SecondCopyTask);
    const QStringList Messages = Save(Task);
    for (const QString& M : Messages)
        EXPECT_TRUE(M == QStringLiteral("单据新增成功") || M.endsWith(QStringLiteral("新增成功"))
                    || M == QStringLiteral("该客户名已经存在，请重新操作")
                    || M == QStringLiteral("该帐户名已经存在，请重新操作") || M.startsWith(QStringLiteral("存在同名的"))
                    || M.startsWith(QStringLiteral("单据编号已被其他单据使用，本单据编号改为：")))
            << M.toStdString();
}

TEST_F(TwoCopies, NeverGiveOutOneNumberTwice)
{
    SlowInserts(QStringLiteral("Bill"));
    QString Failure;
    const QStringList Messages = SaveWithASecondCopy(QStringLiteral("numbers"), Failure);
    EXPECT_EQ(Failure, QString());
    EXPECT_EQ(Messages.count(QStringLiteral("单据新增成功")), SavesEach) << Messages.join(u' ').toStdString();
    EXPECT_EQ(Scalar(QStringLiteral("Select Count(*) || '|' || Count(Distinct BillSerial) || '|' || Max(BillSerial) "
                                    "From Bill Where BillIndex > 1")),
              QStringLiteral("%1|%1|XS%2").arg(2 * SavesEach).arg(1000 + 2 * SavesEach));
    EXPECT_EQ(Scalar(QStringLiteral("Select SettingValue From Setting Where SettingIndex = 1")),
              QStringLiteral("XS%1").arg(1000 + 2 * SavesEach));
}

// Names that documents and money rows refer to by their text.
const struct TNameRow
{
    const char* Task;
    const char* Table;
    const char* Names; // what counts them and their distinct texts
} NameRows[] = {
    {"customers", "Customer", "Count(*) || '|' || Count(Distinct CustomerName) From Customer Where CustomerIndex > 1"},
    {"accounts", "Account", "Count(*) || '|' || Count(Distinct AccountName) From Account Where AccountName Like '帐户%'"},
    {"parameters", "Parameter",
     "Count(*) || '|' || Count(Distinct ParameterValue) From Parameter Where ParameterValue Like '种类%'"},
};

TEST_F(TwoCopies, NeverStoreOneNameTwice)
{
    for (const TNameRow& Row : NameRows) {
        SCOPED_TRACE(Row.Task);
        SlowInserts(QString::fromUtf8(Row.Table));
        QString Failure;
        const QStringList Messages = SaveWithASecondCopy(QString::fromUtf8(Row.Task), Failure);
        EXPECT_EQ(Failure, QString());
        EXPECT_EQ(Messages.filter(QStringLiteral("数据保存失败")), QStringList());
        EXPECT_EQ(Scalar(QStringLiteral("Select ") + QString::fromUtf8(Row.Names)), QStringLiteral("%1|%1").arg(SavesEach));
    }
}

} // namespace
