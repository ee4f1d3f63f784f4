// Every save, delete and promotion of a window that keeps a row's index, when
// another copy of the program removed that row meanwhile, or removed it and
// stored another under its index (as a restore once did): the window writes
// and deletes nothing and says why. And a new document whose proposed number
// another save took says the number it was stored under.
#include "ProgramFixture.h"
#include "SaleFields.h"

#include "app/Account2Form.h"
#include "app/AccountForm.h"
#include "app/BuySellForm.h"
#include "app/ContactForm.h"
#include "app/Customer2Form.h"
#include "app/CustomerHideForm.h"
#include "app/GetPayForm.h"
#include "app/User2Form.h"
#include "app/UserForm.h"
#include "grid/DBCtrlsEh.h"
#include "platform/gui/StdCtrls.h"

#include <QComboBox>
#include <QListWidget>
#include <ostream>

namespace {

const char* const StaleText = "该记录已被其他用户修改或删除，请重新启动软件";

enum class TStaleCause { Removed, Replaced };

enum class TStrikeAt { InWindow, InReceipt, AtQuestion };

// What the other copy does to the row Table.rowid = Index while the window is open.
std::function<void()> Strike;

struct TStaleRow
{
    const char* Name;
    const char* Table;
    int (*Index)(); // the row's rowid
    TForm* (*Window)(); // none: the main window's handler is called directly
    void (*Prepare)();
    void (*Act)(); // as the user; calls Strike() when the row is struck in the window
    TStrikeAt At;
    const char* Removed;  // the messages, "/" between them
    const char* Replaced; // nullptr: the window cannot tell
};

void PrintTo(const TStaleRow& Row, std::ostream* Os)
{
    *Os << Row.Name;
}

int Two()
{
    return 2;
}

void EditSale(int Index)
{
    FormBuySell->Mode = QStringLiteral("修改");
    FormBuySell->Kind = QStringLiteral("销售开单");
    FormBuySell->BillIndex = Index;
    FormBuySell->CustomerFixed = false;
    FormBuySell->EditUnlocked = false;
}

void StoreForReceipt()
{
    FillSale();
    FormBuySell->Button1->Click();
    Strike();
}

void StoreContact()
{
    Strike();
    FormContact->Memo1->setPlainText(QStringLiteral("新内容"));
    FormContact->SpeedButton1->Click();
}

void EditPayment()
{
    FormGetPay->Mode = QStringLiteral("修改");
    FormGetPay->Kind = QStringLiteral("财务支出单");
    FormGetPay->MoneyIndex = 2;
}

void EditCustomer(const char* Kind)
{
    FormCustomer2->EditMode = 1;
    FormCustomer2->CustomerIndex = 2;
    FormCustomer2->CustomerKind = QString::fromUtf8(Kind);
}

TForm* BuySellWindow() { return FormBuySell; }
TForm* GetPayWindow() { return FormGetPay; }
TForm* Customer2Window() { return FormCustomer2; }

const TStaleRow StaleRows[] = {
    {"EditedDocument", "Bill", Two, BuySellWindow, [] { EditSale(2); },
     [] {
         FormBuySell->SpeedButton4->Click();
         Strike();
         FormBuySell->Edit2->setText(QStringLiteral("95"));
         FormBuySell->BitBtn1->Click();
     },
     TStrikeAt::InWindow, "找不到要修改的记录", StaleText},
    // OK refused, then the window left: its Cancel removes nothing either.
    {"DocumentStoredForItsReceipt", "Bill", [] { return 3; }, BuySellWindow, [] { PrepareNewSale(); },
     [] {
         StoreForReceipt();
         FormBuySell->BitBtn1->Click();
     },
     TStrikeAt::InWindow, "该记录已被其他用户修改或删除，请重新启动软件/该记录已被其他用户修改或删除，请重新启动软件",
     "该记录已被其他用户修改或删除，请重新启动软件/该记录已被其他用户修改或删除，请重新启动软件/单据仍然保存着，没有取消"},
    // A Cancel that finds another row under its index keeps the window open
    // once, the user going through it again.
    {"CancelledDocumentStoredForItsReceipt", "Bill", [] { return 3; }, BuySellWindow, [] { PrepareNewSale(); },
     [] {
         StoreForReceipt();
         FormBuySell->BitBtn2->Click();
     },
     TStrikeAt::InWindow, StaleText, "该记录已被其他用户修改或删除，请重新启动软件/单据仍然保存着，没有取消"},
    {"ReceiptForTheDocument", "Bill", Two, BuySellWindow, [] { EditSale(2); },
     [] {
         FormBuySell->SpeedButton4->Click();
         FormBuySell->Button1->Click();
     },
     TStrikeAt::InReceipt, StaleText, StaleText},
    {"EditedReceipt", "MoneyTable", Two, GetPayWindow, EditPayment,
     [] {
         Strike();
         FormGetPay->Edit2->SetText(QStringLiteral("25"));
         FormGetPay->BitBtn1->Click();
     },
     TStrikeAt::InWindow, "找不到要修改的记录", StaleText},
    {"DeletedDocument", "Bill", Two, BuySellWindow, [] { EditSale(2); },
     [] {
         FormBuySell->SpeedButton4->Click();
         FormBuySell->BitBtn3->Click();
     },
     TStrikeAt::AtQuestion, "找不到要删除的记录", StaleText},
    {"DeletedMoneyRowOfTheDocument", "MoneyTable", [] { return 3; }, BuySellWindow, [] { EditSale(2); },
     [] {
         FormBuySell->SpeedButton4->Click();
         FormBuySell->Button3->Click();
     },
     TStrikeAt::AtQuestion, "找不到要删除的记录", StaleText},
    {"DeletedReceipt", "MoneyTable", Two, GetPayWindow, EditPayment, [] { FormGetPay->BitBtn3->Click(); },
     TStrikeAt::AtQuestion, "找不到要删除的记录", StaleText},
    {"EditedCustomer", "Customer", Two, Customer2Window, [] { EditCustomer("正式客户"); },
     [] {
         Strike();
         FormCustomer2->CustomerPhone->setText(QStringLiteral("123"));
         FormCustomer2->BitBtn1->Click();
     },
     TStrikeAt::InWindow, "找不到要修改的客户", StaleText},
    {"DeletedCustomer", "Customer", Two, Customer2Window, [] { EditCustomer("正式客户"); },
     [] { FormCustomer2->BitBtn3->Click(); }, TStrikeAt::AtQuestion, "找不到要删除的记录", StaleText},
    {"PromotedProspect", "CustomerHide", Two, Customer2Window, [] { EditCustomer("潜在客户"); },
     [] { FormCustomer2->BitBtn4->Click(); }, TStrikeAt::AtQuestion, "找不到要修改的客户", StaleText},
    {"DeletedProspectFromTheList", "CustomerHide", Two, [] { return static_cast<TForm*>(FormCustomerHide); }, [] {},
     [] { FormCustomerHide->ActionDelete->trigger(); }, TStrikeAt::AtQuestion, "找不到要删除的记录", StaleText},
    {"EditedContact", "Contact", Two, [] { return static_cast<TForm*>(FormContact); },
     [] {
         FormContact->ContactMode = QStringLiteral("修改");
         FormContact->ContactIndex = 2;
     },
     StoreContact,
     TStrikeAt::InWindow, "找不到要修改的记录", StaleText},
    // The contact knows its customer by index only.
    {"NewContactOfTheCustomer", "Customer", Two, [] { return static_cast<TForm*>(FormContact); },
     [] {
         FormContact->ContactMode = QStringLiteral("新增");
         FormContact->ContactUser = 2;
     },
     StoreContact,
     TStrikeAt::InWindow, "该客户已被其他用户修改或删除，请重新启动软件", nullptr},
    // The account is known by its index with the name on its card.
    {"DeletedAccount", "Account", Two, [] { return static_cast<TForm*>(FormAccount); },
     [] { FormAccount->AccountText = QStringLiteral("现金"); }, [] { FormAccount->ActionDelete->trigger(); },
     TStrikeAt::AtQuestion, "找不到要删除的记录", "找不到要删除的记录"},
    {"SavedSalesman", "Power", [] { return 1; }, [] { return static_cast<TForm*>(FormUser); }, [] {},
     [] {
         FormUser->ADOQuery1->Locate(QStringLiteral("PowerIndex"), Variant(1));
         Strike();
         FormUser->Edit1->setText(QStringLiteral("张三丰"));
         FormUser->Button1->Click();
     },
     TStrikeAt::InWindow, "业务员名字已改变，是否把旧业务员数据移交给新业务员管理？/该记录已被其他用户修改或删除，请重新启动软件",
     "业务员名字已改变，是否把旧业务员数据移交给新业务员管理？/该记录已被其他用户修改或删除，请重新启动软件"},
    // The table's row ids are used again: the one read before the question may be another value by then.
    {"DeletedParameter", "Parameter",
     [] {
         TADOQuery Q;
         Q.SetConnection(ShareDataModule->ADOConnection1);
         Q.SQL()->Add(QStringLiteral("Select rowid From Parameter Where ParameterValue = '商品销售'"));
         Q.Open();
         return Q.Fields(0)->AsInteger();
     },
     [] { return static_cast<TForm*>(nullptr); },
     [] {
         FormMain->LoadParameterList1();
         FormMain->ListBox1->setCurrentRow(0);
     },
     [] { FormMain->DeleteParameter(1); }, TStrikeAt::AtQuestion, "该记录已不存在", "该记录已不存在"},
};

// The business tables as text, to tell whether anything was written.
const char* const DumpedTables[] = {"Power", "Customer", "CustomerHide", "Bill", "MoneyTable", "Account",
                                    "Contact", "Parameter", "Setting"};

class StaleRow : public TProgramFixture, public ::testing::WithParamInterface<std::tuple<TStaleRow, TStaleCause>>
{
protected:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        Application()->CreateForm(FormBuySell);
        Application()->CreateForm(FormGetPay);
        Application()->CreateForm(FormCustomer2);
        Application()->CreateForm(FormCustomerHide);
        Application()->CreateForm(FormContact);
        Application()->CreateForm(FormAccount);
        Application()->CreateForm(FormAccount2);
        Application()->CreateForm(FormUser);
        Application()->CreateForm(FormUser2);
        StoreSaleBooks();
        Exec(QStringLiteral("Insert Into CustomerHide (CustomerName) Values ('丙')"));
        Exec(QStringLiteral("Insert Into Contact (ContactUser, ContactHead, ContactContent) Values (2, '旧', '旧')"));
        Exec(QStringLiteral("Insert Into MoneyTable (MoneyAccount, MoneyBill, MoneyUser, MoneyReason, MoneyIn, MoneySum, "
                            "MoneyType, MoneyToken, MoneySerial) Values (2, 2, '甲', '商品销售', 30, 30, '货款', '现金', "
                            "'SK0500')"));
    }

    void TearDown() override
    {
        Strike = nullptr;
        FormBuySell = nullptr;
        FormGetPay = nullptr;
        FormCustomer2 = nullptr;
        FormCustomerHide = nullptr;
        FormContact = nullptr;
        FormAccount = nullptr;
        FormAccount2 = nullptr;
        FormUser = nullptr;
        FormUser2 = nullptr;
        TProgramFixture::TearDown();
    }

    QString Dump()
    {
        QStringList Rows;
        for (const char* Table : DumpedTables) {
            TADOQuery Q;
            Q.SetConnection(ShareDataModule->ADOConnection1);
            Q.SQL()->Add(QStringLiteral("Select * From %1 Order By rowid").arg(QString::fromLatin1(Table)));
            Q.Open();
            for (Q.First(); !Q.Eof(); Q.Next()) {
                QStringList Cells{QString::fromLatin1(Table)};
                for (int I = 0; I < Q.FieldCount(); ++I)
                    Cells << Q.Fields(I)->AsString();
                Rows << Cells.join(u'|');
            }
        }
        return Rows.join(u'\n');
    }
};

TEST_P(StaleRow, WritesNothingAndSaysWhy)
{
    const auto& [R, Cause] = GetParam();
    const char* Expected = Cause == TStaleCause::Removed ? R.Removed : R.Replaced;
    if (!Expected)
        GTEST_SKIP() << "the window knows the row by its index only";
    const QString Table = QString::fromUtf8(R.Table);
    QString Before;
    bool Struck = false;
    Strike = [&] {
        const int Index = R.Index();
        Exec(QStringLiteral("Delete From %1 Where rowid = %2").arg(Table).arg(Index));
        if (Cause == TStaleCause::Replaced)
            Exec(QStringLiteral("Insert Into %1 (rowid) Values (%2)").arg(Table).arg(Index));
        Before = Dump();
        TModalSeam::ClearMessages();
        Struck = true;
    };
    R.Prepare();
    TModalHandlers Handlers(
        [&](TForm* Form) -> TModalResult {
            if (Form == FormAsk) {
                FormAsk->BitBtn1->Click();
            } else if (Form == R.Window()) {
                R.Act();
            } else if (Form == FormGetPay) {
                // A receipt for the document the window holds.
                if (R.At == TStrikeAt::InReceipt)
                    Strike();
                FormGetPay->Edit2->SetText(QStringLiteral("5"));
                FormGetPay->BitBtn1->Click();
            } else {
                return mrCancel;
            }
            return mrNone;
        },
        [&](const TMessageRequest& M) {
            if (M.Buttons.size() < 2)
                return mrOk;
            if (R.At == TStrikeAt::AtQuestion && !Struck)
                Strike();
            return mrYes;
        });
    if (TForm* Window = R.Window())
        Window->ShowModal();
    else
        R.Act();
    ASSERT_TRUE(Struck);
    EXPECT_EQ(TModalSeam::MessageTexts().join(u'/'), QString::fromUtf8(Expected));
    EXPECT_EQ(Dump(), Before);
}

INSTANTIATE_TEST_SUITE_P(Windows, StaleRow,
                         ::testing::Combine(::testing::ValuesIn(StaleRows),
                                            ::testing::Values(TStaleCause::Removed, TStaleCause::Replaced)),
                         [](const auto& Info) {
                             return std::string(std::get<0>(Info.param).Name)
                                    + (std::get<1>(Info.param) == TStaleCause::Removed ? "Removed" : "Replaced");
                         });

// Another save stored the number a new document proposed: it is stored under
// the next one, and the user is told which.
TEST_F(StaleRow, TakenNumberIsNamed)
{
    const struct
    {
        const char* Name;
        TForm* Window;
        int Setting;
        std::function<void()> Prepare, Press;
        const char* Messages;
        const char* Stored; // the last document's number afterwards
    } Rows[] = {
        {"new document", FormBuySell, 1, [] { PrepareNewSale(); },
         [] {
             FillSale();
             FormBuySell->BitBtn1->Click();
         },
         "单据新增成功/单据编号已被其他单据使用，本单据编号改为：XS1002", "XS1002"},
        {"document stored for its receipt", FormBuySell, 1, [] { PrepareNewSale(); },
         [] {
             FillSale();
             FormBuySell->Button1->Click();
             FormBuySell->BitBtn1->Click();
         },
         "单据编号已被其他单据使用，本单据编号改为：XS1004/单据新增成功", "XS1004"},
        {"receipt", FormGetPay, 3,
         [] {
             FormGetPay->Mode = QStringLiteral("新增");
             FormGetPay->Kind = QStringLiteral("财务收入单");
             FormGetPay->BillIndex = 0;
             FormGetPay->CustomerName = QStringLiteral("甲");
         },
         [] {
             FormGetPay->Edit2->SetText(QStringLiteral("30"));
             FormGetPay->BitBtn1->Click();
         },
         "记录新增成功/单据编号已被其他单据使用，本单据编号改为：SK1002", "SK1002"},
    };
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Name);
        R.Prepare();
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                if (Form != R.Window)
                    return mrCancel; // the receipt of a stored document: left without a row
                QLineEdit* Number = Form == FormBuySell ? FormBuySell->Edit1 : FormGetPay->Edit4;
                // The other copy stores a document under the number shown.
                Exec(QStringLiteral("Update Setting Set SettingValue = %1 Where SettingIndex = %2")
                         .arg(SqlQuoted(Number->text()))
                         .arg(R.Setting));
                R.Press();
                return mrNone;
            },
            [](const TMessageRequest&) { return mrOk; });
        R.Window->ShowModal();
        EXPECT_EQ(TModalSeam::MessageTexts().join(u'/'), QString::fromUtf8(R.Messages));
        EXPECT_EQ(Scalar(QStringLiteral("Select SettingValue From Setting Where SettingIndex = %1").arg(R.Setting)),
                  QString::fromUtf8(R.Stored));
    }
}

} // namespace
