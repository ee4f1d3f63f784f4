// The windows of one copy of the program while another copy, this test
// program run again, works on the same file through its own windows: the
// monthly reports and the document print printed side by side, customers,
// salesmen and accounts renamed or changed under an open window, and a
// restore followed by a new document under a document window that is still
// open; and what an edit by one copy alone writes back of what it read.
#include "PrintTestUtil.h"
#include "ProgramFixture.h"
#include "SaleFields.h"
#include "ChildRun.h"

#include "app/Account2Form.h"
#include "app/AccountForm.h"
#include "app/BuySellForm.h"
#include "app/Customer2Form.h"
#include "app/GetPayForm.h"
#include "app/ProgressForm.h"
#include "app/User2Form.h"
#include "app/UserForm.h"
#include "grid/DBCtrlsEh.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/StdCtrls.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>
#include <iostream>
#include <memory>
#include <string>
#include <utility>

namespace {

const char* const OtherCopyDatabase = "TB_OTHER_COPY_DATABASE";
const char* const RecordGone = "该记录已被其他用户修改或删除，请重新启动软件";
const char* const CustomerGone = "该客户已被其他用户修改或删除，请重新启动软件";
const char* const LogInAgain = "业务员名字已改变，请重新登录";

// The other copy: this test program again, over the database of the test that
// started it, taking one command a line and answering "done" and its result.
class TOtherCopy
{
public:
    explicit TOtherCopy(const QString& Database)
    {
        QProcessEnvironment Env = ChildRunEnvironment(FTemp.path());
        Env.insert(QString::fromLatin1(OtherCopyDatabase), Database);
        FProcess.setProcessEnvironment(Env);
        FProcess.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=SecondCopy.OtherCopy")});
        Answer();
    }

    ~TOtherCopy()
    {
        FProcess.write("quit\n");
        FProcess.waitForBytesWritten();
        FProcess.closeWriteChannel();
        if (!FProcess.waitForFinished(120000))
            FProcess.kill();
        FOutput += FProcess.readAllStandardOutput();
        EXPECT_TRUE(FProcess.exitStatus() == QProcess::NormalExit && FProcess.exitCode() == 0
                    && FOutput.contains("[  PASSED  ] 1 test"))
            << FOutput.toStdString();
    }

    QString Do(const QString& Command)
    {
        FProcess.write((Command + u'\n').toUtf8());
        FProcess.waitForBytesWritten();
        return Answer();
    }

private:
    QString Answer()
    {
        for (;;) {
            const qsizetype End = FOutput.indexOf("\ndone ", FRead);
            if (End >= 0) {
                const qsizetype Line = FOutput.indexOf('\n', End + 1);
                if (Line >= 0) {
                    FRead = Line;
                    return QString::fromUtf8(FOutput.mid(End + 6, Line - End - 6));
                }
            }
            if (!FProcess.waitForReadyRead(120000)) {
                ADD_FAILURE() << "the other copy did not answer: " << FOutput.toStdString();
                return QString();
            }
            FOutput += FProcess.readAllStandardOutput();
        }
    }

    QTemporaryDir FTemp;
    QProcess FProcess;
    QByteArray FOutput = "\n";
    qsizetype FRead = 0;
};

class SecondCopy : public TProgramFixture
{
public:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        Application()->CreateForm(FormBuySell);
        Application()->CreateForm(FormGetPay);
        Application()->CreateForm(FormCustomer2);
        Application()->CreateForm(FormUser);
        Application()->CreateForm(FormUser2);
        Application()->CreateForm(FormProgress);
        Application()->CreateForm(FormAccount);
        Application()->CreateForm(FormAccount2);
        FormMain->ADOQueryBig->SetConnection(ShareDataModule->ADOConnection1);
        FormMain->SetWorkingDay(EncodeDate(2024, 3, 10));
        InstallTemplates(AppPath);
        NameSalesman(1, QStringLiteral("张三"), QString(), QStringLiteral("业务管理；财务管理；"));
        Exec(QStringLiteral("Insert Into Account (AccountName, AccountBase, AccountMan) Values ('现金', 40, '张三')"));
        Exec(QStringLiteral("Insert Into Customer (CustomerName, CustomerOwe, CustomerMan) Values ('甲', 100, '张三'), "
                            "('乙', 0, '张三')"));
        Exec(QStringLiteral("Insert Into CustomerHide (CustomerName) Values ('丙')"));
        Exec(QStringLiteral("Insert Into Bill (BillKind, BillSum, BillSerial, BillUser, BillReason, BillState, BillMan, "
                            "BillCreateTime) Values ('销售开单', 100, 'XS0500', '甲', '商品销售', '已签约', '张三', "
                            "'2024-03-05 00:00:00'), ('销售开单', 999, 'XS0501', '乙', '商品销售', '已签约', '张三', "
                            "'2024-03-06 00:00:00')"));
        Exec(QStringLiteral("Insert Into MoneyTable (MoneyAccount, MoneyBill, MoneyUser, MoneyReason, MoneyIn, MoneySum, "
                            "MoneyType, MoneyToken, MoneySerial, MoneyMan, MoneyCreateTime) Values (2, 2, '甲', "
                            "'商品销售', 30, 30, '货款', '现金', 'SK0500', '张三', '2024-03-07 00:00:00')"));
        Exec(QStringLiteral("Update Setting Set SettingValue = 'XS1000' Where SettingIndex = 1"));
    }

    void TearDown() override
    {
        FormBuySell = nullptr;
        FormGetPay = nullptr;
        FormCustomer2 = nullptr;
        FormUser = nullptr;
        FormUser2 = nullptr;
        FormProgress = nullptr;
        FormAccount = nullptr;
        FormAccount2 = nullptr;
        TProgramFixture::TearDown();
    }

    // Shows Window with Act as the user; another window it opens gets Other
    // (or is left), a preview is left, prompts are answered empty, Yes/No
    // boxes with Yes. Gives the messages shown, "/" between them.
    static QString Run(TForm* Window, const std::function<void()>& Act,
                       const std::function<void()>& Other = nullptr)
    {
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                if (RunProgress(Form))
                    return mrNone;
                if (Form == FormAsk)
                    FormAsk->BitBtn1->Click();
                else if (Form == Window)
                    Act();
                else if (Other)
                    Other();
                else
                    return mrCancel;
                return mrNone;
            },
            [](const TMessageRequest& M) { return M.Buttons.size() > 1 ? mrYes : mrOk; });
        if (Window)
            Window->ShowModal();
        else
            Act();
        return TModalSeam::MessageTexts().join(u'/');
    }

    // Prints a monthly report, "customer" or "account", or "document N"; gives
    // every printed text, "|" between views.
    static QString Print(const QString& What)
    {
        QString Printed;
        const bool Document = What.startsWith(u"document");
        TfrReport* Report = Document ? FormBuySell->frReport1 : FormMain->frReport1;
        Report->OnEndDoc = [&] { Printed = PreparedText(Report); };
        if (Document) {
            OpenDocument(What.section(u' ', 1).toInt());
            Run(FormBuySell, [] { FormBuySell->ActionPrint->trigger(); });
        } else {
            Run(nullptr, [What] {
                if (What == u"customer")
                    FormMain->ActionCustomerReportExecute(nullptr);
                else
                    FormMain->ActionAccountReportExecute(nullptr);
            });
        }
        Report->OnEndDoc = nullptr;
        return Printed;
    }

    static void OpenDocument(int Index)
    {
        FormBuySell->Mode = QStringLiteral("修改");
        FormBuySell->Kind = QStringLiteral("销售开单");
        FormBuySell->BillIndex = Index;
        FormBuySell->CustomerFixed = false;
        FormBuySell->EditUnlocked = false;
    }

    static void NewReceipt(int Customer, bool Fixed, int Document = 0)
    {
        FormGetPay->Mode = QStringLiteral("新增");
        FormGetPay->Kind = QStringLiteral("财务收入单");
        FormGetPay->BillIndex = Document;
        FormGetPay->CustomerIndex = Customer;
        FormGetPay->CustomerFixed = Fixed;
        FormGetPay->CustomerName = QStringLiteral("甲");
        FormGetPay->Reason.clear();
        FormGetPay->AmountText.clear();
        FormGetPay->RemarkText.clear();
    }

    // One command of the other copy, done through its own windows; gives the
    // messages it showed, or what it printed.
    static QString Serve(const QString& Command)
    {
        const QString Verb = Command.section(u' ', 0, 0);
        const QString A = Command.section(u' ', 1, 1), B = Command.section(u' ', 2);
        if (Verb == u"print")
            return Print(Command.section(u' ', 1));
        if (Verb == u"exec") {
            ShareDataModule->ADOConnection1->Execute(Command.section(u' ', 1));
            return QString();
        }
        // "hold" keeps the write lock until "release".
        if (Verb == u"hold") {
            ShareDataModule->ADOConnection1->BeginTrans();
            return QString();
        }
        if (Verb == u"release") {
            ShareDataModule->ADOConnection1->RollbackTrans();
            return QString();
        }
        if (Verb == u"backup") {
            ShareDataModule->ADOConnection1->BackupTo(A);
            return QString();
        }
        if (Verb == u"restore")
            return QString::number(int(ShareDataModule->ADOConnection1->RestoreFrom(A, DeliveredSchema()).Fault));
        if (Verb == u"document") {
            PrepareNewSale();
            return Run(FormBuySell, [&] {
                FormBuySell->ComboBox5->setEditText(A);
                FormBuySell->Edit2->setText(B);
                FormBuySell->BitBtn1->Click();
            });
        }
        if (Verb == u"salesman") {
            return Run(FormUser, [&] {
                FormUser->ADOQuery1->Locate(QStringLiteral("PowerIndex"), Variant(A.toInt()));
                FormUser->Edit1->setText(B);
                FormUser->Button1->Click();
            });
        }
        // "customer 甲 丁" renames, "promote 丙" promotes, each in the record window.
        const bool Promote = Verb == u"promote";
        FormCustomer2->EditMode = 1;
        FormCustomer2->CustomerKind = Promote ? QStringLiteral("潜在客户") : QStringLiteral("正式客户");
        FormCustomer2->CustomerIndex =
            FirstValue(QStringLiteral("Select CustomerIndex From %1 Where CustomerName = %2")
                           .arg(Promote ? QStringLiteral("CustomerHide") : QStringLiteral("Customer"), SqlQuoted(A)))
                .toInt();
        return Run(FormCustomer2, [&] {
            if (Promote) {
                FormCustomer2->BitBtn4->Click();
            } else {
                FormCustomer2->CustomerName->setText(B);
                FormCustomer2->BitBtn1->Click();
            }
        });
    }

    // The other copy restores the backup and, started again, stores a document.
    static void Restore(TOtherCopy& Other)
    {
        Held = FormBuySell->BillIndex;
        EXPECT_EQ(Other.Do(QStringLiteral("restore ") + Backup), QStringLiteral("0"));
        EXPECT_EQ(Other.Do(QStringLiteral("document 丙客户 999")), QStringLiteral("单据新增成功"));
        TModalSeam::ClearMessages();
    }

    static inline QString Backup;
    static inline int Held = 0; // the index of the document this copy holds

    static QString FirstValue(const QString& SQL)
    {
        TADOQuery Q;
        Q.SetConnection(ShareDataModule->ADOConnection1);
        Q.SQL()->Add(SQL);
        Q.Open();
        return Q.IsEmpty() ? QString() : Q.Fields(0)->AsString();
    }

    // Every column of every row of SQL: "|" between columns, "/" between rows,
    // with today's date (a record time) as "today".
    static QString RowsText(const QString& SQL)
    {
        TADOQuery Q;
        Q.SetConnection(ShareDataModule->ADOConnection1);
        Q.SQL()->Add(SQL);
        Q.Open();
        QStringList Rows;
        for (Q.First(); !Q.Eof(); Q.Next()) {
            QStringList Cells;
            for (int I = 0; I < Q.FieldCount(); ++I)
                Cells << Q.Fields(I)->AsString();
            Rows << Cells.join(u'|');
        }
        return Rows.join(u'/').replace(DateToStr(Date()), QStringLiteral("today"));
    }

    // This copy's session: salesman 张三 of slot 1.
    static void LogInAsZhangSan()
    {
        CurrentRole = QStringLiteral("业务员");
        CurrentUser = QStringLiteral("张三");
        CurrentSlot = 1;
    }
};

TEST_F(SecondCopy, OtherCopy)
{
    if (!qEnvironmentVariableIsSet(OtherCopyDatabase))
        GTEST_SKIP() << "run by the other SecondCopy tests as the other copy of the program";
    ConnectTo(qEnvironmentVariable(OtherCopyDatabase));
    CurrentRole = CurrentUser = QStringLiteral("管理员");
    std::cout << "done ready" << std::endl;
    for (std::string Line; std::getline(std::cin, Line) && Line != "quit";)
        std::cout << "done " << Serve(QString::fromStdString(Line)).replace(u'\n', u' ').toStdString() << std::endl;
}

// Each report printed while the other copy prints the other one between this
// copy's last figure and its print: every report holds its own title and figures.
TEST_F(SecondCopy, PrintsOnlyWhatItComputed)
{
    const struct
    {
        const char* Mine;
        const char* Other;
        const char* Printed; // what this copy's print holds, "/" between
        const char* Foreign; // what only the other's print holds
    } Rows[] = {
        {"customer", "account", "各客户应收款/统计期间：2024年3月份/甲|0|100|30|100|170/总合计|0|1099|30|100|1169", "现金"},
        {"account", "customer", "各帐户收支/统计期间：2024年3月份/现金|40|30|0|30|70/总合计|40|30|0|30|70", "甲|"},
        {"document 2", "document 3", "XS0500/壹佰　零拾　零元", "玖佰"},
    };
    TOtherCopy Other(AppPath + QStringLiteral("Tallybridge.mdb"));
    for (int Round = 0; Round < 2; ++Round) {
        for (const auto& R : Rows) {
            SCOPED_TRACE(R.Mine);
            const QString OtherKind = QString::fromUtf8(R.Other);
            QString OtherPrinted;
            // The moment the other copy prints: when the progress shows 100
            // (the figures are read) or the document's print begins.
            auto OtherPrints = [&] {
                if (OtherPrinted.isEmpty())
                    OtherPrinted = Other.Do(QStringLiteral("print ") + OtherKind);
            };
            const QMetaObject::Connection Hook = QObject::connect(
                FormProgress->ProgressBar1, &QProgressBar::valueChanged, [&](int Value) {
                    if (Value == 100)
                        OtherPrints();
                });
            FormBuySell->frReport1->OnBeginDoc = OtherPrints;
            const QString Printed = Print(QString::fromUtf8(R.Mine));
            QObject::disconnect(Hook);
            FormBuySell->frReport1->OnBeginDoc = nullptr;
            ASSERT_FALSE(OtherPrinted.isEmpty());
            for (const QString& Text : QString::fromUtf8(R.Printed).split(u'/'))
                EXPECT_TRUE(Printed.contains(Text)) << Text.toStdString() << " in " << Printed.toStdString();
            EXPECT_FALSE(Printed.contains(QString::fromUtf8(R.Foreign))) << Printed.toStdString();
            EXPECT_TRUE(OtherPrinted.contains(QString::fromUtf8(R.Foreign))) << OtherPrinted.toStdString();
        }
    }
}

struct TRenameRow
{
    const char* Name;
    const char* Role;    // this copy's login: a salesman (张三) or a fixed role
    const char* Command; // what the other copy does while the window is open
    TForm* (*Window)();
    void (*Prepare)();
    void (*Press)();
    const char* Messages;
    const char* Rows; // what the file holds afterwards
    const char* Expected;
};

void PrintTo(const TRenameRow& Row, std::ostream* Os)
{
    *Os << Row.Name;
}

TForm* DocumentWindow() { return FormBuySell; }
TForm* ReceiptWindow() { return FormGetPay; }
TForm* CustomerWindow() { return FormCustomer2; }

void SaveSale()
{
    FormBuySell->Edit2->setText(QStringLiteral("10"));
    FormBuySell->BitBtn1->Click();
}

void SaveReceipt()
{
    FormGetPay->Edit2->SetText(QStringLiteral("30"));
    FormGetPay->BitBtn1->Click();
}

void EditCustomerRow(const char* Kind)
{
    FormCustomer2->EditMode = 1;
    FormCustomer2->CustomerIndex = 2;
    FormCustomer2->CustomerKind = QString::fromUtf8(Kind);
}

const char* const NoNewSale = "Select Count(*) From Bill Where BillIndex > 3 Or BillUser = '甲'";
const char* const NoNewReceipt = "Select Count(*) From MoneyTable Where MoneyIndex > 2 Or MoneyUser = '甲'";

class RenamedMeanwhile : public SecondCopy, public ::testing::WithParamInterface<TRenameRow>
{
};

const TRenameRow RenameRows[] = {
    {"NewSaleFromTheCustomerWindow", "", "customer 甲 丁", DocumentWindow, [] { PrepareNewSale(2, true); },
     SaveSale, CustomerGone, NoNewSale, "0"},
    {"SaleStoredForItsReceiptFromTheCustomerWindow", "", "customer 甲 丁", DocumentWindow,
     [] { PrepareNewSale(2, true); },
     [] {
         FormBuySell->Edit2->setText(QStringLiteral("10"));
         FormBuySell->Button1->Click();
     },
     CustomerGone, NoNewSale, "0"},
    {"NewReceiptFromTheCustomerWindow", "", "customer 甲 丁", ReceiptWindow, [] { SecondCopy::NewReceipt(2, true); },
     SaveReceipt, CustomerGone, NoNewReceipt, "0"},
    {"NewSalePickedFromTheList", "", "customer 甲 丁", DocumentWindow, [] { PrepareNewSale(); },
     [] {
         FormBuySell->ComboBox5->setCurrentIndex(FormBuySell->ComboBox5->findText(QStringLiteral("甲")));
         SaveSale();
     },
     CustomerGone, NoNewSale, "0"},
    {"EditedDocument", "", "customer 甲 丁", DocumentWindow, [] { SecondCopy::OpenDocument(2); },
     [] {
         FormBuySell->SpeedButton4->Click();
         FormBuySell->Edit2->setText(QStringLiteral("95"));
         FormBuySell->BitBtn1->Click();
     },
     CustomerGone, "Select BillUser || '|' || BillSum From Bill Where BillIndex = 2", "丁|100.0"},
    {"EditedReceipt", "", "customer 甲 丁", ReceiptWindow,
     [] {
         FormGetPay->Mode = QStringLiteral("修改");
         FormGetPay->Kind = QStringLiteral("财务收入单");
         FormGetPay->MoneyIndex = 2;
     },
     [] {
         FormGetPay->Edit2->SetText(QStringLiteral("25"));
         FormGetPay->BitBtn1->Click();
     },
     CustomerGone, "Select MoneyUser || '|' || MoneySum From MoneyTable Where MoneyIndex = 2", "丁|30.0"},
    // The old name is neither written back nor rippled into the documents.
    {"CustomerRecordWindow", "", "customer 甲 丁", CustomerWindow, [] { EditCustomerRow("正式客户"); },
     [] {
         FormCustomer2->CustomerPhone->setText(QStringLiteral("123"));
         FormCustomer2->BitBtn1->Click();
     },
     RecordGone,
     "Select (Select Group_Concat(CustomerName || CustomerPhone) From Customer Where CustomerIndex > 1) || '|' || "
     "(Select Group_Concat(BillUser) From Bill Where BillIndex > 1)",
     "丁,乙|丁,乙"},
    {"ProspectPromotedMeanwhile", "", "promote 丙", CustomerWindow, [] { EditCustomerRow("潜在客户"); },
     [] {
         FormCustomer2->CustomerPhone->setText(QStringLiteral("123"));
         FormCustomer2->BitBtn1->Click();
     },
     "找不到要修改的客户",
     "Select (Select Count(*) From CustomerHide Where CustomerIndex > 1) || '|' || "
     "(Select Group_Concat(CustomerName || CustomerPhone) From Customer Where CustomerName = '丙')",
     "0|丙"},
    {"ReceiptForARenamedAccount", "", "exec Update Account Set AccountName = '银行' Where AccountName = '现金'",
     ReceiptWindow, [] { SecondCopy::NewReceipt(0, false); }, SaveReceipt, "找不到所需要的帐户",
     "Select Count(*) From MoneyTable Where MoneyIndex > 2", "0"},
    {"SalesmansNewDocument", "张三", "salesman 1 张三丰", DocumentWindow, [] { PrepareNewSale(); },
     [] {
         FormBuySell->ComboBox5->setEditText(QStringLiteral("甲"));
         SaveSale();
     },
     LogInAgain, "Select Count(*) From Bill Where BillIndex > 3", "0"},
    {"SalesmansNewCustomer", "张三", "salesman 1 张三丰", CustomerWindow,
     [] {
         FormCustomer2->EditMode = 0;
         FormCustomer2->CustomerKind = QStringLiteral("正式客户");
     },
     [] {
         FormCustomer2->CustomerName->setText(QStringLiteral("戊"));
         FormCustomer2->BitBtn1->Click();
     },
     LogInAgain, "Select Count(*) From Customer Where CustomerIndex > 3", "0"},
    {"SalesmansNewReceipt", "张三", "salesman 1 张三丰", ReceiptWindow, [] { SecondCopy::NewReceipt(0, false); },
     SaveReceipt, LogInAgain, "Select Count(*) From MoneyTable Where MoneyIndex > 2", "0"},
    {"FixedRolesNewDocument", "财务主管", "salesman 1 张三丰", DocumentWindow, [] { PrepareNewSale(); },
     [] {
         FormBuySell->ComboBox5->setEditText(QStringLiteral("甲"));
         SaveSale();
     },
     "单据新增成功", "Select BillUser || '|' || BillMan From Bill Where BillIndex > 3", "甲|财务主管"},
};

// The other copy renames what an open window read (a customer, a salesman
// logged in here, an account) or promotes it: the window stores nothing under
// the old name and says so.
TEST_P(RenamedMeanwhile, StoresNothingUnderTheOldName)
{
    const TRenameRow& R = GetParam();
    const QString Role = QString::fromUtf8(R.Role);
    CurrentRole = Role == u"张三" ? QStringLiteral("业务员") : Role;
    CurrentUser = Role;
    CurrentSlot = Role == u"张三" ? 1 : 0;
    TOtherCopy Other(AppPath + QStringLiteral("Tallybridge.mdb"));
    R.Prepare();
    const QString Messages = Run(R.Window(), [&] {
        Other.Do(QString::fromUtf8(R.Command));
        TModalSeam::ClearMessages();
        R.Press();
    });
    EXPECT_EQ(Messages, QString::fromUtf8(R.Messages));
    EXPECT_EQ(FirstValue(QString::fromUtf8(R.Rows)), QString::fromUtf8(R.Expected));
}

INSTANTIATE_TEST_SUITE_P(Windows, RenamedMeanwhile, ::testing::ValuesIn(RenameRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

// The other copy's part of a row, done when the window calls it; once.
std::function<void()> Meanwhile;

void OtherCopyActs()
{
    if (auto Act = std::exchange(Meanwhile, nullptr))
        Act();
}

struct TAccountRow
{
    const char* Name;
    const char* Commands; // the other copy's, "\n" between them
    TForm* (*Window)();
    void (*Prepare)();
    void (*Press)(); // as the user; calls OtherCopyActs() where the other copy acts
    const char* Rows; // what the file holds, as text
    const char* Messages;
    const char* Stored;
    const char* AloneMessages; // the same once more, with no other copy at work
    const char* AloneStored;
};

void PrintTo(const TAccountRow& Row, std::ostream* Os)
{
    *Os << Row.Name;
}

const char* const BalanceSet = "exec Update Account Set AccountBase = 500 Where AccountIndex = 2";
const char* const Renamed = "exec Update Account Set AccountName = '银行' Where AccountIndex = 2";
// Renamed, and a new 现金 with a receipt of 9 in it.
const char* const RenamedAndNew =
    "exec Update Account Set AccountName = '银行' Where AccountIndex = 2\n"
    "exec Insert Into Account (AccountName, AccountBase, AccountMan) Values ('现金', 77, '张三')\n"
    "exec Insert Into MoneyTable (MoneyAccount, MoneyUser, MoneyReason, MoneyIn, MoneySum, MoneyType, MoneyToken, "
    "MoneySerial, MoneyMan, MoneyCreateTime) Values (3, '乙', '商品销售', 9, 9, '货款', '现金', 'SK0600', '张三', "
    "'2024-03-08 00:00:00')";
const char* const AccountsAndMoney =
    "Select IfNull((Select Group_Concat(AccountIndex || ':' || AccountName || ':' || AccountBase) From Account "
    "Where AccountIndex > 1), '') || '/' || IfNull((Select Group_Concat(MoneyIndex || ':' || MoneyAccount) "
    "From MoneyTable Where MoneyIndex > 1), '')";
// The receipt edited and the one stored, every column a window writes.
const char* const Receipts =
    "Select Group_Concat(MoneyIndex || '|' || MoneyAccount || '|' || MoneyBill || '|' || MoneyCreateTime || '|' || "
    "MoneyUser || '|' || MoneyReason || '|' || MoneyIn || '|' || MoneyOut || '|' || MoneySum || '|' || MoneyType || "
    "'|' || MoneyToken || '|' || MoneyRemark || '|' || MoneySerial || '|' || MoneyMan, ' ') From MoneyTable "
    "Where MoneyIndex In (2, 4)";

const char* const AskDelete = "删除帐户将删除该帐户下所有记录，确实要删除吗？";
const char* const ReceiptAsStored = "2|2|2|2024-03-07 00:00:00|甲|商品销售|30.0|0.0|30.0|货款|现金||SK0500|张三";

// The window of the account last stored, as its card opens it.
void OpenLastAccount()
{
    FormAccount->AccountText = SecondCopy::FirstValue(
        QStringLiteral("Select AccountName From Account Where AccountIndex = (Select Max(AccountIndex) From Account)"));
    FormAccount->BalanceText.clear();
}

TForm* AccountWindow() { return FormAccount; }

// The account's dialog: the name changed, the balance left as shown.
void RenameInTheDialog()
{
    OtherCopyActs();
    FormAccount2->Edit1->setText(QStringLiteral("现金2"));
    FormAccount2->BitBtn1->Click();
}

void DeleteAccount()
{
    OtherCopyActs();
    FormAccount->ActionDelete->trigger();
}

void EditReceiptTwo()
{
    FormGetPay->Mode = QStringLiteral("修改");
    FormGetPay->Kind = QStringLiteral("财务收入单");
    FormGetPay->MoneyIndex = 2;
}

class AccountChangedMeanwhile : public SecondCopy, public ::testing::WithParamInterface<TAccountRow>
{
};

const TAccountRow AccountRows[] = {
    {"EditAfterBalanceSet", BalanceSet, AccountWindow, OpenLastAccount,
     [] { FormAccount->ActionEdit->trigger(); }, AccountsAndMoney, RecordGone, "2:现金:500.0/2:2", "帐户　现金2　修改成功",
     "2:现金2:500.0/2:2"},
    {"EditAfterRenameAndNewAccount", RenamedAndNew, AccountWindow, OpenLastAccount,
     [] { FormAccount->ActionEdit->trigger(); }, AccountsAndMoney, "找不到要修改的帐户", "2:银行:40.0,3:现金:77.0/2:2,3:3",
     "帐户　现金2　修改成功", "2:银行:40.0,3:现金2:77.0/2:2,3:3"},
    {"DeleteAfterBalanceSet", BalanceSet, AccountWindow, OpenLastAccount, DeleteAccount, AccountsAndMoney,
     "删除帐户将删除该帐户下所有记录，确实要删除吗？/该记录已被其他用户修改或删除，请重新启动软件", "2:现金:500.0/2:2",
     AskDelete, "/"},
    {"DeleteAfterRenameAndNewAccount", RenamedAndNew, AccountWindow, OpenLastAccount, DeleteAccount, AccountsAndMoney,
     "找不到要删除的记录", "2:银行:40.0,3:现金:77.0/2:2,3:3", AskDelete, "2:银行:40.0/2:2"},
    {"DeleteAfterRename", Renamed, AccountWindow, OpenLastAccount, DeleteAccount, AccountsAndMoney, "找不到要删除的记录",
     "2:银行:40.0/2:2", AskDelete, "/"},
    // The account picked is the one the list offered, known by its index.
    {"NewReceiptAfterRenameAndNewAccount", RenamedAndNew, ReceiptWindow, [] { SecondCopy::NewReceipt(0, false); },
     [] {
         OtherCopyActs();
         FormGetPay->ComboBox1->setCurrentIndex(FormGetPay->ComboBox1->findText(QStringLiteral("现金")));
         FormGetPay->Edit2->SetText(QStringLiteral("5"));
         FormGetPay->BitBtn1->Click();
     },
     Receipts, "找不到所需要的帐户", ReceiptAsStored, "记录新增成功",
     "2|2|2|2024-03-07 00:00:00|甲|商品销售|30.0|0.0|30.0|货款|现金||SK0500|张三 "
     "4|3|0|2024-03-10 00:00:00|甲|商品销售|5.0|0.0|5.0|货款|现金||SK1001|财务主管"},
    // Only the remark changes: the receipt stays in its account.
    {"EditedReceiptAfterRenameAndNewAccount", RenamedAndNew, ReceiptWindow, EditReceiptTwo,
     [] {
         OtherCopyActs();
         FormGetPay->Edit3->setText(FormGetPay->Edit3->text() + QStringLiteral("改"));
         FormGetPay->BitBtn1->Click();
     },
     Receipts, "记录修改成功", "2|2|2|2024-03-07 00:00:00|甲|商品销售|30.0|0.0|30.0|货款|现金|改|SK0500|张三",
     "记录修改成功", "2|2|2|2024-03-07 00:00:00|甲|商品销售|30.0|0.0|30.0|货款|现金|改改|SK0500|张三"},
};

// The other copy changes or renames the account an open window read, and
// gives its name to a new account: the account windows write only the row
// they read, a receipt goes only into the account the user picked or left,
// and with no other copy at work each stores what it should.
TEST_P(AccountChangedMeanwhile, WritesOnlyTheRowItRead)
{
    const TAccountRow& R = GetParam();
    CurrentRole = CurrentUser = QStringLiteral("财务主管");
    TOtherCopy Other(AppPath + QStringLiteral("Tallybridge.mdb"));
    const auto Press = [&](bool Alone) {
        Meanwhile = Alone ? std::function<void()>() : [&] {
            for (const QString& Command : QString::fromUtf8(R.Commands).split(u'\n'))
                Other.Do(Command);
            TModalSeam::ClearMessages();
        };
        R.Prepare();
        return Run(R.Window(), R.Press, RenameInTheDialog);
    };
    EXPECT_EQ(Press(false), QString::fromUtf8(R.Messages));
    EXPECT_EQ(FirstValue(QString::fromUtf8(R.Rows)), QString::fromUtf8(R.Stored));
    TModalSeam::ClearMessages();
    EXPECT_EQ(Press(true), QString::fromUtf8(R.AloneMessages));
    EXPECT_EQ(FirstValue(QString::fromUtf8(R.Rows)), QString::fromUtf8(R.AloneStored));
}

INSTANTIATE_TEST_SUITE_P(Windows, AccountChangedMeanwhile, ::testing::ValuesIn(AccountRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

// The other copy restores a backup taken before this copy's new document
// existed and stores a document of its own: this copy's edit, Cancel and
// receipt neither write into nor remove the other's document, which keeps an
// index of its own.
TEST_F(SecondCopy, RestoreUnderAnOpenDocument)
{
    const struct
    {
        const char* Name;
        bool Stored; // the document stored before it is opened, else by its first receipt
        std::function<void(TOtherCopy&)> Act;
        std::function<void(TOtherCopy&)> Receipt;
        const char* Messages;
    } Rows[] = {
        {"edited", true,
         [](TOtherCopy& Other) {
             FormBuySell->SpeedButton4->Click();
             Restore(Other);
             FormBuySell->Edit2->setText(QStringLiteral("95"));
             FormBuySell->BitBtn1->Click();
         },
         nullptr, "找不到要修改的记录"},
        {"cancelled after its first receipt", false,
         [](TOtherCopy& Other) {
             FormBuySell->Button1->Click();
             Restore(Other);
             FormBuySell->BitBtn2->Click();
         },
         [](TOtherCopy&) {
             FormGetPay->Edit2->SetText(QStringLiteral("5"));
             FormGetPay->BitBtn1->Click();
         },
         RecordGone},
        {"its first receipt", false, [](TOtherCopy&) { FormBuySell->Button1->Click(); },
         [](TOtherCopy& Other) {
             Restore(Other);
             FormGetPay->Edit2->SetText(QStringLiteral("5"));
             FormGetPay->BitBtn1->Click();
         },
         "该记录已被其他用户修改或删除，请重新启动软件/该记录已被其他用户修改或删除，请重新启动软件"},
    };
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Name);
        TOtherCopy Other(AppPath + QStringLiteral("Tallybridge.mdb"));
        Backup = AppPath + QStringLiteral("before-%1.mdb").arg(&R - Rows);
        EXPECT_EQ(Other.Do(QStringLiteral("backup ") + Backup), QString());
        if (R.Stored) {
            Exec(QStringLiteral("Insert Into Bill (BillKind, BillSum, BillSerial, BillUser, BillReason, BillState) "
                                "Values ('销售开单', 200, 'XS1002', '乙', '商品销售', '已签约')"));
            OpenDocument(4);
        } else {
            PrepareNewSale();
        }
        const QString Messages = Run(
            FormBuySell,
            [&] {
                if (!R.Stored) {
                    FormBuySell->ComboBox5->setEditText(QStringLiteral("乙"));
                    FormBuySell->Edit2->setText(QStringLiteral("200"));
                }
                R.Act(Other);
            },
            [&] {
                if (R.Receipt)
                    R.Receipt(Other);
            });
        EXPECT_EQ(Messages, QString::fromUtf8(R.Messages));
        // The other copy's document is whole, under an index of its own.
        EXPECT_EQ(FirstValue(QStringLiteral("Select (BillIndex <> %1) || '|' || BillSerial || '|' || BillSum || '|' || "
                                            "(Select Count(*) From MoneyTable Where MoneyBill = BillIndex) "
                                            "From Bill Where BillUser = '丙客户'")
                                 .arg(Held)),
                  QStringLiteral("1|XS1001|999.0|0"));
        Exec(QStringLiteral("Delete From Bill Where BillIndex > 3"));
        Exec(QStringLiteral("Update Setting Set SettingValue = 'XS1000' Where SettingIndex = 1"));
    }
}

struct TAloneRow
{
    const char* Name;
    const char* Changes; // made to the file before the window opens, "\n" between them
    TForm* (*Window)();
    void (*Prepare)();
    void (*Press)();
    const char* Messages;
    const char* Rows;
    const char* Stored;
};

void PrintTo(const TAloneRow& Row, std::ostream* Os)
{
    *Os << Row.Name;
}

struct TCancelRow
{
    const char* Name;
    const char* Command; // the other copy's, between the receipt and the Cancel
    const char* Then;    // the other copy's, before a second Cancel
    const char* Messages;
    int Cancels; // 2: the window stayed open after the first
    const char* Left; // the sale and its receipt afterwards
};

void PrintTo(const TCancelRow& Row, std::ostream* Os)
{
    *Os << Row.Name;
}

void CustomerRemark()
{
    FormCustomer2->CustomerRemark->setPlainText(QStringLiteral("改"));
    FormCustomer2->BitBtn1->Click();
}

void ReceiptRemark()
{
    FormGetPay->Edit3->setText(QStringLiteral("改"));
    FormGetPay->BitBtn1->Click();
}

void DocumentRemark()
{
    FormBuySell->SpeedButton4->Click();
    FormBuySell->Edit3->setText(QStringLiteral("改"));
    FormBuySell->BitBtn1->Click();
}

const char* const CustomerRow =
    "Select CustomerName || '|' || CustomerOwe || '|' || CustomerPhone || '|' || CustomerFax || '|' || "
    "CustomerContact || '|' || CustomerHandPhone || '|' || CustomerEMail || '|' || CustomerWebsite || '|' || "
    "CustomerAddress || '|' || CustomerRemark || '|' || CustomerMan From Customer Where CustomerIndex = 2";
const char* const ProspectRow =
    "Select CustomerName || '|' || CustomerOwe || '|' || CustomerPhone || '|' || CustomerFax || '|' || "
    "CustomerContact || '|' || CustomerHandPhone || '|' || CustomerEMail || '|' || CustomerWebsite || '|' || "
    "CustomerAddress || '|' || CustomerRemark || '|' || CustomerMan From CustomerHide Where CustomerIndex = 2";
const char* const DocumentRow =
    "Select BillKind || '|' || BillCreateTime || '|' || BillSerial || '|' || BillUser || '|' || BillSum || '|' || "
    "BillReason || '|' || BillState || '|' || BillRemark || '|' || BillMan From Bill Where BillIndex = 2";

class EditedAlone : public SecondCopy, public ::testing::WithParamInterface<TAloneRow>
{
};

const TAloneRow AloneRows[] = {
    {"CustomerRecordOfSixDecimals", "Update Customer Set CustomerOwe = 12.345678 Where CustomerIndex = 2",
     CustomerWindow, [] { EditCustomerRow("正式客户"); }, CustomerRemark, "客户资料修改成功", CustomerRow,
     "甲|12.345678||||||||改|张三"},
    {"ProspectRecordOfSixDecimals", "Update CustomerHide Set CustomerOwe = 12.345678 Where CustomerIndex = 2",
     CustomerWindow, [] { EditCustomerRow("潜在客户"); }, CustomerRemark, "客户资料修改成功", ProspectRow,
     "丙|12.345678||||||||改|"},
    {"AccountOfSixDecimals", "Update Account Set AccountBase = 100.123456 Where AccountIndex = 2", AccountWindow,
     OpenLastAccount, [] { FormAccount->ActionEdit->trigger(); }, "帐户　现金2　修改成功",
     "Select AccountName || '|' || AccountBase || '|' || AccountMan From Account Where AccountIndex > 1",
     "现金2|100.123456|张三"},
    {"ReceiptOfSixDecimals", "Update MoneyTable Set MoneyIn = 12.345678, MoneySum = 12.345678 Where MoneyIndex = 2",
     ReceiptWindow, EditReceiptTwo, ReceiptRemark, "记录修改成功", Receipts,
     "2|2|2|2024-03-07 00:00:00|甲|商品销售|12.345678|0.0|12.345678|货款|现金|改|SK0500|张三"},
    {"DocumentOfSixDecimals", "Update Bill Set BillSum = 12.345678 Where BillIndex = 2", DocumentWindow,
     [] { SecondCopy::OpenDocument(2); }, DocumentRemark, "记录修改成功", DocumentRow,
     "销售开单|2024-03-05 00:00:00|XS0500|甲|12.345678|商品销售|已签约|改|张三"},
    // The parameter page renamed a choice the row holds; the row keeps it.
    {"ReceiptOfARenamedCategory",
     "Update MoneyTable Set MoneyType = '预收款' Where MoneyIndex = 2\n"
     "Update Parameter Set ParameterValue = '预收货款' Where ParameterValue = '预收款'",
     ReceiptWindow, EditReceiptTwo, ReceiptRemark, "记录修改成功", Receipts,
     "2|2|2|2024-03-07 00:00:00|甲|商品销售|30.0|0.0|30.0|预收款|现金|改|SK0500|张三"},
    {"DocumentOfARenamedProgress", "Update Parameter Set ParameterValue = '已签合同' Where ParameterValue = '已签约'",
     DocumentWindow, [] { SecondCopy::OpenDocument(2); }, DocumentRemark, "记录修改成功", DocumentRow,
     "销售开单|2024-03-05 00:00:00|XS0500|甲|100.0|商品销售|已签约|改|张三"},
    // The finance director moved the salesman's receipt into an account of his own.
    {"SalesmansReceiptInAnAccountHeDoesNotList",
     "Insert Into Account (AccountName, AccountMan) Values ('银行', '财务总监')\n"
     "Update MoneyTable Set MoneyAccount = 3 Where MoneyIndex = 2",
     ReceiptWindow,
     [] {
         CurrentRole = QStringLiteral("业务员");
         CurrentUser = QStringLiteral("张三");
         CurrentSlot = 1;
         AccountFilter = QStringLiteral(" And (AccountMan = '财务主管' Or AccountMan = '张三')");
         EditReceiptTwo();
     },
     ReceiptRemark, "记录修改成功", Receipts,
     "2|3|2|2024-03-07 00:00:00|甲|商品销售|30.0|0.0|30.0|货款|现金|改|SK0500|张三"},
};

// One copy alone edits a stored row and changes only its remark or name:
// every other value is stored as it was read, also one the box shows
// rounded or its list no longer holds.
TEST_P(EditedAlone, KeepsWhatTheUserLeft)
{
    const TAloneRow& R = GetParam();
    for (const QString& Change : QString::fromUtf8(R.Changes).split(u'\n'))
        Exec(Change);
    R.Prepare();
    EXPECT_EQ(Run(R.Window(), R.Press, RenameInTheDialog), QString::fromUtf8(R.Messages));
    EXPECT_EQ(FirstValue(QString::fromUtf8(R.Rows)), QString::fromUtf8(R.Stored));
}

INSTANTIATE_TEST_SUITE_P(Windows, EditedAlone, ::testing::ValuesIn(AloneRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

class CancelledMeanwhile : public SecondCopy, public ::testing::WithParamInterface<TCancelRow>
{
};

const TCancelRow CancelRows[] = {
    {"CustomerRenamed", "customer 甲 丁", "", "", 1, "0|0"},
    {"SalesmanHandedOver", "salesman 1 张三丰", "", "", 1, "0|0"},
    {"FileHeld", "hold", "release", "数据保存失败，本次修改已全部撤销/单据　XS1001　仍然保存着，没有取消", 2, "0|0"},
    {"ReceiptChanged", "exec Update MoneyTable Set MoneySum = 5 Where MoneyIndex > 2", "",
     "该记录已被其他用户修改或删除，请重新启动软件/单据　XS1001　仍然保存着，没有取消/"
     "该记录已被其他用户修改或删除，请重新启动软件/单据　XS1001　仍然保存着，没有取消",
     2, "1|1"},
};

// A salesman's new sale stored for its first receipt, then cancelled after
// the other copy renamed its customer, handed him over, held the file or
// changed the receipt: the sale and its receipt go while they are what this
// copy stored, whatever names they carry now; else they stay, and the window,
// open once more, names the sale.
TEST_P(CancelledMeanwhile, RemovesWhatItStored)
{
    const TCancelRow& R = GetParam();
    LogInAsZhangSan();
    TOtherCopy Other(AppPath + QStringLiteral("Tallybridge.mdb"));
    PrepareNewSale();
    QString Stored;
    int Cancels = 0;
    const QString Messages = Run(
        FormBuySell,
        [&] {
            if (Cancels == 0) {
                FillSale();
                FormBuySell->Button1->Click();
                Stored = RowsText(QStringLiteral("Select * From Bill Where BillIndex > 3")) + u'/'
                    + RowsText(QStringLiteral("Select * From MoneyTable Where MoneyIndex > 2"));
                TModalSeam::ClearMessages();
            }
            if (const char* Command = Cancels++ == 0 ? R.Command : R.Then; *Command)
                Other.Do(QString::fromUtf8(Command));
            FormBuySell->BitBtn2->Click();
        },
        [] {
            FormGetPay->Edit2->SetText(QStringLiteral("4"));
            FormGetPay->BitBtn1->Click();
        });
    EXPECT_EQ(Stored, QStringLiteral("4|销售开单|today|2024-03-10|XS1001|甲|10|商品销售|洽谈中||张三/"
                                     "3|2|4|today|2024-03-10|甲|商品销售|4|0|4|货款|现金|销售开单：XS1001|SK1001|张三"));
    EXPECT_EQ(Messages, QString::fromUtf8(R.Messages));
    EXPECT_EQ(Cancels, R.Cancels);
    EXPECT_EQ(FirstValue(QStringLiteral("Select (Select Count(*) From Bill Where BillIndex > 3) || '|' || "
                                        "(Select Count(*) From MoneyTable Where MoneyIndex > 2)")),
              QString::fromUtf8(R.Left));
}

INSTANTIATE_TEST_SUITE_P(Sale, CancelledMeanwhile, ::testing::ValuesIn(CancelRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

// The document's list deletes a receipt only while it is the row the list
// read, every column of it.
TEST_F(SecondCopy, ReceiptDeletedFromTheDocument)
{
    const struct
    {
        const char* Command; // the other copy's while the list is shown
        const char* Messages;
        const char* Left;
    } Rows[] = {
        {"exec Update MoneyTable Set MoneyRemark = '另' Where MoneyIndex = 2",
         "确实要删除该记录吗？/该记录已被其他用户修改或删除，请重新启动软件", "2|另"},
        {"", "确实要删除该记录吗？", ""},
    };
    TOtherCopy Other(AppPath + QStringLiteral("Tallybridge.mdb"));
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Command);
        OpenDocument(2);
        const QString Messages = Run(FormBuySell, [&] {
            FormBuySell->SpeedButton4->Click();
            if (*R.Command)
                Other.Do(QString::fromUtf8(R.Command));
            TModalSeam::ClearMessages();
            FormBuySell->Button3->Click();
        });
        EXPECT_EQ(Messages, QString::fromUtf8(R.Messages));
        EXPECT_EQ(RowsText(QStringLiteral("Select MoneyIndex, MoneyRemark From MoneyTable Where MoneyIndex = 2")),
                  QString::fromUtf8(R.Left));
    }
}

// A salesman's saves go under the slot he logged in with: once the other copy
// renamed him (with the hand-over) and gave his old name to another slot, they
// are refused. User management, entered with the administrator's password,
// saves for the administrator whatever became of the salesman.
TEST_F(SecondCopy, SavesGoUnderTheSessionsSlot)
{
    LogInAsZhangSan();
    TOtherCopy Other(AppPath + QStringLiteral("Tallybridge.mdb"));
    const auto NewCustomer = [](const char* Name) {
        TModalSeam::ClearMessages();
        FormCustomer2->EditMode = 0;
        FormCustomer2->CustomerKind = QStringLiteral("正式客户");
        return Run(FormCustomer2, [&] {
            FormCustomer2->CustomerName->setText(QString::fromUtf8(Name));
            FormCustomer2->BitBtn1->Click();
        });
    };
    const auto NameSlot2 = [](const char* Name) {
        TModalSeam::ClearMessages();
        return Run(FormUser, [&] {
            FormUser->ADOQuery1->Locate(QStringLiteral("PowerIndex"), Variant(2));
            FormUser->Edit1->setText(QString::fromUtf8(Name));
            FormUser->Button1->Click();
        });
    };
    EXPECT_EQ(NewCustomer("戊"), QStringLiteral("客户　戊　新增成功"));
    EXPECT_EQ(NameSlot2("李四"), QString());
    EXPECT_EQ(RowsText(QStringLiteral("Select * From Customer Where CustomerName = '戊'")) + u'/'
                  + RowsText(QStringLiteral("Select * From Power Where PowerIndex = 2")),
              QStringLiteral("4|戊|0|||||||||张三/2|李四||Faces/1.bmp||业务员"));
    Other.Do(QStringLiteral("salesman 1 张三丰"));
    EXPECT_EQ(NameSlot2("王五"),
              QStringLiteral("业务员名字已改变，是否把旧业务员数据移交给新业务员管理？/业务员数据移交成功"));
    Other.Do(QStringLiteral("salesman 3 张三"));
    EXPECT_EQ(NewCustomer("己"), QString::fromUtf8(LogInAgain));
    EXPECT_EQ(FirstValue(QStringLiteral("Select (Select Count(*) From Customer Where CustomerName = '己') || '|' || "
                                        "(Select PowerName From Power Where PowerIndex = 2)")),
              QStringLiteral("0|王五"));
}

// The login window compares the typed password with the one stored when it
// checks it, not when the prompt opened.
TEST_F(SecondCopy, LoginTakesThePasswordStoredThen)
{
    const struct
    {
        const char* Command; // the other copy's while the prompt is open
        const char* Session; // the messages and the session afterwards
    } Rows[] = {
        {"", "|业务员|李四|2|业务管理；"},
        {"exec Update Power Set PowerKey = '新' Where PowerIndex = 2", "密码错误，请重新操作|||0|"},
    };
    NameSalesman(2, QStringLiteral("李四"), QStringLiteral("旧"), QStringLiteral("业务管理；"));
    TOtherCopy Other(AppPath + QStringLiteral("Tallybridge.mdb"));
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Command);
        Exec(QStringLiteral("Update Power Set PowerKey = '旧' Where PowerIndex = 2"));
        CurrentRole = CurrentUser = CurrentRange = QString();
        CurrentSlot = 0;
        TModalSeam::ClearMessages();
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                if (Form == FormLogin) {
                    FormLogin->Man[1]->Click();
                } else if (Form == FormAsk) {
                    if (*R.Command)
                        Other.Do(QString::fromUtf8(R.Command));
                    FormAsk->Edit1->setText(QStringLiteral("旧"));
                    FormAsk->BitBtn1->Click();
                } else {
                    return mrCancel;
                }
                return mrNone;
            },
            [](const TMessageRequest&) { return mrOk; });
        FormLogin->ShowModal();
        EXPECT_EQ(QStringList({TModalSeam::MessageTexts().join(u'/'), CurrentRole, CurrentUser,
                               QString::number(CurrentSlot), CurrentRange})
                      .join(u'|'),
                  QString::fromUtf8(R.Session));
    }
}

} // namespace
