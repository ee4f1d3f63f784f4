// Every save of the business windows against the failures a shared file meets:
// a commit that finds it busy (another program reads it past the busy
// timeout), a write refused, a disk that takes nothing more, and another
// writer for a moment.
// A failed save leaves the window as it was and the rows untouched; pressed
// again once the cause is gone, it stores once.
#include "ProgramFixture.h"
#include "SaleFields.h"

#include "app/BuySellForm.h"
#include "app/Customer2Form.h"
#include "app/GetPayForm.h"
#include "app/UserForm.h"
#include "app/User2Form.h"
#include "platform/gui/StdCtrls.h"

#include <QComboBox>
#include <QListWidget>
#include <chrono>
#include <csignal>
#include <future>
#include <ostream>
#include <sqlite3.h>
#include <sys/resource.h>
#include <thread>

namespace {

enum class TFailure { Busy, Refused, Full, Writer };

struct TSaveRow
{
    const char* Name;
    const char* Event;   // the save's last write, where a refused or full write strikes
    TForm* (*Window)();  // shown modally around the script; none for the main window's lists
    void (*Prepare)();   // the caller's fields
    void (*Fill)();      // what the user types before OK
    void (*Press)();
    QString (*State)();  // what the window shows
    const char* Failed;  // State after a failed save
    const char* Rows;    // the rows the save writes, as one text
    const char* Before;
    const char* After;
    const char* Question; // asked before the save, or empty
    const char* Saved;    // messages of a good save after the question
};

void PrintTo(const TSaveRow& Row, std::ostream* Os)
{
    *Os << Row.Name;
}

void PrintTo(TFailure Failure, std::ostream* Os)
{
    *Os << int(Failure);
}

QString Items(const QListWidget* List)
{
    QStringList Texts;
    for (int I = 0; I < List->count(); ++I)
        Texts << List->item(I)->text();
    return Texts.join(u',');
}

QString SaleState()
{
    return QStringLiteral("%1|%2|%3").arg(FormBuySell->BillIndex).arg(FormBuySell->Edit1->text()).arg(FormBuySell->ModalResult());
}

const char* const Bills = "Select Count(*) || '|' || (Select SettingValue From Setting Where SettingIndex = 1) || '|' "
                          "|| IfNull(Group_Concat(BillSerial || ':' || BillSum), '') From Bill Where BillIndex > 2";
const char* const HandOverQuestion = "业务员名字已改变，是否把旧业务员数据移交给新业务员管理？";
const char* const Owners = "Select PowerName || '|' || (Select Group_Concat(CustomerMan) From Customer Where CustomerMan <> '') "
                           "|| '|' || (Select Group_Concat(AccountMan) From Account Where AccountMan <> '') "
                           "From Power Where PowerIndex = 1";

const TSaveRow SaveRows[] = {
    {"NewDocument", "Update On Setting", [] { return static_cast<TForm*>(FormBuySell); }, [] { PrepareNewSale(); },
     FillSale, [] { FormBuySell->BitBtn1->Click(); }, SaleState, "1|XS1001|0", Bills, "0|XS1000|",
     "1|XS1001|XS1001:10.0", "", "单据新增成功"},
    {"DocumentForItsFirstReceipt", "Update On Setting", [] { return static_cast<TForm*>(FormBuySell); },
     [] { PrepareNewSale(); }, FillSale, [] { FormBuySell->Button1->Click(); }, SaleState, "1|XS1001|0", Bills,
     "0|XS1000|", "1|XS1001|XS1001:10.0", "", ""},
    {"EditedDocument", "Update On Bill", [] { return static_cast<TForm*>(FormBuySell); },
     [] {
         FormBuySell->Mode = QStringLiteral("修改");
         FormBuySell->Kind = QStringLiteral("销售开单");
         FormBuySell->BillIndex = 2;
     },
     [] {
         FormBuySell->SpeedButton4->Click();
         FormBuySell->Edit2->setText(QStringLiteral("95"));
     },
     [] { FormBuySell->BitBtn1->Click(); },
     [] { return FormBuySell->Edit2->text() + u'|' + QString::number(FormBuySell->ModalResult()); }, "95|0",
     "Select BillSum From Bill Where BillIndex = 2", "100", "95", "", "记录修改成功"},
    {"Receipt", "Update On Setting", [] { return static_cast<TForm*>(FormGetPay); },
     [] {
         FormGetPay->Mode = QStringLiteral("新增");
         FormGetPay->Kind = QStringLiteral("财务收入单");
         FormGetPay->CustomerName = QStringLiteral("甲");
     },
     [] { FormGetPay->Edit2->SetText(QStringLiteral("30")); }, [] { FormGetPay->BitBtn1->Click(); },
     [] { return FormGetPay->Edit4->text() + u'|' + QString::number(FormGetPay->ModalResult()); }, "SK1001|0",
     "Select Count(*) || '|' || (Select SettingValue From Setting Where SettingIndex = 3) || '|' "
     "|| IfNull(Group_Concat(MoneySerial || ':' || MoneySum), '') From MoneyTable Where MoneyIndex > 1 And MoneySum > 0",
     "0|SK1000|", "1|SK1001|SK1001:30.0", "", "记录新增成功"},
    {"EditedPayment", "Update On MoneyTable", [] { return static_cast<TForm*>(FormGetPay); },
     [] {
         FormGetPay->Mode = QStringLiteral("修改");
         FormGetPay->Kind = QStringLiteral("财务支出单");
         FormGetPay->MoneyIndex = 2;
     },
     [] { FormGetPay->Edit2->SetText(QStringLiteral("25")); }, [] { FormGetPay->BitBtn1->Click(); },
     [] { return FormGetPay->Edit2->text() + u'|' + QString::number(FormGetPay->ModalResult()); }, "25|0",
     "Select MoneySum From MoneyTable Where MoneyIndex = 2", "-20", "-25", "", "记录修改成功"},
    {"Customer", "Insert On Customer", [] { return static_cast<TForm*>(FormCustomer2); },
     [] {
         FormCustomer2->EditMode = 0;
         FormCustomer2->CustomerKind = QStringLiteral("正式客户");
     },
     [] { FormCustomer2->CustomerName->setText(QStringLiteral("丙")); }, [] { FormCustomer2->BitBtn1->Click(); },
     [] { return FormCustomer2->CustomerName->text() + u'|' + QString::number(FormCustomer2->ModalResult()); },
     "丙|0", "Select Group_Concat(CustomerName) From Customer Where CustomerIndex > 1", "甲,乙", "甲,乙,丙", "",
     "客户　丙　新增成功"},
    // The settings tab is not shown: its button is pressed through its handler.
    {"ParameterList", "Insert On Parameter", [] { return static_cast<TForm*>(nullptr); },
     [] { FormMain->LoadParameterList1(); }, [] {}, [] { FormMain->Button1->OnClick(FormMain->Button1); },
     [] { return Items(FormMain->ListBox1); }, "商品销售,商品采购,服务收入,其他业务",
     "Select Group_Concat(ParameterValue) From Parameter Where ParameterType = 1", "商品销售,商品采购,服务收入,其他业务",
     "商品销售,商品采购,服务收入,其他业务,零售", "", ""},
    {"SalesmanRename", "Update On Power", [] { return static_cast<TForm*>(FormUser); }, [] {},
     [] {
         FormUser->ADOQuery1->Locate(QStringLiteral("PowerIndex"), Variant(1));
         FormUser->Edit1->setText(QStringLiteral("张三丰"));
     },
     [] { FormUser->Button1->Click(); },
     [] { return FormUser->ADOQuery1->FieldByName(QStringLiteral("PowerName"))->AsString() + u'|' + FormUser->Edit1->text(); },
     "张三|张三", Owners, "张三|张三|张三", "张三丰|张三|张三", HandOverQuestion, ""},
    {"SalesmanRenameWithHandOver", "Update On Account", [] { return static_cast<TForm*>(FormUser); }, [] {},
     [] {
         FormUser->ADOQuery1->Locate(QStringLiteral("PowerIndex"), Variant(1));
         FormUser->Edit1->setText(QStringLiteral("张三丰"));
     },
     [] { FormUser->Button1->Click(); },
     [] { return FormUser->ADOQuery1->FieldByName(QStringLiteral("PowerName"))->AsString() + u'|' + FormUser->Edit1->text(); },
     "张三|张三", Owners, "张三|张三|张三", "张三丰|张三丰|张三丰", HandOverQuestion, "业务员数据移交成功"},
};

// Another program on the same file: a reader that holds its read transaction,
// or a writer that holds the write lock for half a second.
class TOtherProgram
{
public:
    explicit TOtherProgram(const QString& File)
    {
        sqlite3_open_v2(File.toUtf8().constData(), &FDb, SQLITE_OPEN_READWRITE, nullptr);
    }
    ~TOtherProgram()
    {
        End();
        sqlite3_close(FDb);
    }
    bool Read() { return sqlite3_exec(FDb, "BEGIN; SELECT Count(*) FROM Power;", nullptr, nullptr, nullptr) == SQLITE_OK; }
    // True once the lock is held.
    bool Write()
    {
        std::promise<bool> Locked;
        std::future<bool> Held = Locked.get_future();
        FWriter = std::thread([this, &Locked] {
            Locked.set_value(sqlite3_exec(FDb, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK);
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            sqlite3_exec(FDb, "COMMIT", nullptr, nullptr, nullptr);
        });
        return Held.get();
    }
    void End()
    {
        if (FWriter.joinable())
            FWriter.join();
        else if (!sqlite3_get_autocommit(FDb))
            sqlite3_exec(FDb, "ROLLBACK", nullptr, nullptr, nullptr);
    }

private:
    sqlite3* FDb = nullptr;
    std::thread FWriter;
};

class FailedSave : public TProgramFixture, public ::testing::WithParamInterface<std::tuple<TSaveRow, TFailure>>
{
protected:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        Application()->CreateForm(FormBuySell);
        Application()->CreateForm(FormGetPay);
        Application()->CreateForm(FormCustomer2);
        Application()->CreateForm(FormUser);
        Application()->CreateForm(FormUser2);
        StoreSaleBooks();
    }

    void TearDown() override
    {
        FormBuySell = nullptr;
        FormGetPay = nullptr;
        FormCustomer2 = nullptr;
        FormUser = nullptr;
        FormUser2 = nullptr;
        TProgramFixture::TearDown();
    }

    // Sets the failure up; the returned step takes its cause away.
    std::function<void()> Cause(TFailure Failure, const char* Event, TOtherProgram& Other)
    {
        const QString On = QString::fromUtf8(Event);
        switch (Failure) {
        case TFailure::Busy:
            EXPECT_TRUE(Other.Read());
            return [&Other] { Other.End(); };
        case TFailure::Refused:
            Exec(QStringLiteral("Create Trigger Refuse Before %1 Begin Select Raise(Abort, 'refused'); End").arg(On));
            return [this] { Exec(QStringLiteral("Drop Trigger Refuse")); };
        case TFailure::Full: {
            // Not one byte more reaches any file: the journal cannot be written
            // and SQLite rolls the transaction back by itself.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit Saved{};
            getrlimit(RLIMIT_FSIZE, &Saved);
            const rlimit None{0, Saved.rlim_max};
            setrlimit(RLIMIT_FSIZE, &None);
            return [Saved] {
                setrlimit(RLIMIT_FSIZE, &Saved);
                std::signal(SIGXFSZ, SIG_DFL);
            };
        }
        case TFailure::Writer:
            EXPECT_TRUE(Other.Write());
            return [] {};
        }
        return [] {};
    }
};

TEST_P(FailedSave, LeavesTheWindowAndTheRowsAsTheyWere)
{
    const auto& [R, Failure] = GetParam();
    const QString Failed = QStringLiteral("数据保存失败，本次修改已全部撤销");
    const QString Question = QString::fromUtf8(R.Question);
    QStringList First, Second;
    QString State, RowsAfterFailure, RowsSaved;
    bool Open = true;
    const auto Script = [&] {
        TOtherProgram Other(AppPath + QStringLiteral("Tallybridge.mdb"));
        R.Fill();
        const std::function<void()> Remove = Cause(Failure, R.Event, Other);
        R.Press();
        Remove();
        First = TModalSeam::MessageTexts();
        TModalSeam::ClearMessages();
        if (Failure == TFailure::Writer) {
            RowsSaved = Scalar(QString::fromUtf8(R.Rows));
            return;
        }
        State = R.State();
        RowsAfterFailure = Scalar(QString::fromUtf8(R.Rows));
        Open = !ShareDataModule->ADOConnection1->InTransaction();
        R.Fill();
        R.Press();
        Second = TModalSeam::MessageTexts();
        RowsSaved = Scalar(QString::fromUtf8(R.Rows));
    };
    R.Prepare();
    TModalHandlers Handlers(
        [&](TForm* Form) -> TModalResult {
            if (Form == FormAsk) {
                FormAsk->Edit1->setText(FormAsk->AskCaption == QStringLiteral("参数设置") ? QStringLiteral("零售")
                                                                                          : QString());
                FormAsk->BitBtn1->Click();
                return mrNone;
            }
            if (Form != R.Window())
                return mrCancel; // the receipt of a new document: left without a row
            Script();
            return mrNone;
        },
        [&](const TMessageRequest& M) {
            return M.Buttons.size() > 1 ? (QString::fromUtf8(R.Saved).isEmpty() ? mrNo : mrYes) : mrOk;
        });
    if (TForm* Window = R.Window())
        Window->ShowModal();
    else
        Script();

    QStringList Good, Refused;
    if (!Question.isEmpty())
        Good << Question, Refused << Question;
    if (*R.Saved)
        Good << QString::fromUtf8(R.Saved);
    Refused << Failed;
    if (Failure == TFailure::Writer) {
        EXPECT_EQ(First, Good);
    } else {
        EXPECT_EQ(First, Refused);
        EXPECT_EQ(State, QString::fromUtf8(R.Failed));
        EXPECT_EQ(RowsAfterFailure, QString::fromUtf8(R.Before));
        EXPECT_TRUE(Open) << "the connection still counts a transaction";
        EXPECT_EQ(Second, Good);
    }
    EXPECT_EQ(RowsSaved, QString::fromUtf8(R.After));
}

const char* FailureName(TFailure Failure)
{
    switch (Failure) {
    case TFailure::Busy: return "Busy";
    case TFailure::Refused: return "Refused";
    case TFailure::Full: return "DiskFull";
    case TFailure::Writer: return "AnotherWriter";
    }
    return "";
}

INSTANTIATE_TEST_SUITE_P(Saves, FailedSave,
                         ::testing::Combine(::testing::ValuesIn(SaveRows),
                                            ::testing::Values(TFailure::Busy, TFailure::Refused, TFailure::Full,
                                                              TFailure::Writer)),
                         [](const auto& Info) {
                             return std::string(std::get<0>(Info.param).Name) + FailureName(std::get<1>(Info.param));
                         });

} // namespace
