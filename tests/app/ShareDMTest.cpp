#include "AppFixture.h"

#include "platform/gui/Buttons.h"
#include "platform/db/JetSql.h"
#include "platform/rtl/Classes.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

class ShareDM : public TAppFixture
{
};

TEST_F(ShareDM, NextSerialKeepsThePrefixWhole)
{
    struct TCase
    {
        QString Serial;
        QString Next;
    };
    const TCase Cases[] = {
        {"", ""},
        {"0", ""},
        {"ABC", ""},
        {"BS0009", "BS00010"},
        {"BS0010", "BS0011"},
        {"A99", "A100"},
        {"销售0009", "销售00010"},
        {"XS-0012", "XS-0013"},
        {"9223372036854775806", "9223372036854775807"},
        {"X9223372036854775807", ""},   // the next number would not fit 64 bits
        {"X99999999999999999999", ""},
        {"XS12A", ""},                   // refused by SerialFormatOK before it is ever stored
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Serial.toStdString());
        EXPECT_EQ(ShareDataModule->NextSerial(C.Serial), C.Next);
    }
}

TEST_F(ShareDM, SerialFormatOKWantsDigitsAfterTheFirstNonZeroDigit)
{
    const std::pair<QString, bool> Cases[] = {
        {"", true}, {"ABC", true}, {"XS-0012", true}, {"00", true}, {"销售0009", true},
        {"XS12A", false}, {"12-3", false}, {"1 2", false},
    };
    for (const auto& [Serial, Ok] : Cases) {
        SCOPED_TRACE(Serial.toStdString());
        EXPECT_EQ(ShareDataModule->SerialFormatOK(Serial), Ok);
    }
}

// How the user answers the prompt: the text typed, or Cancel.
struct TPasswordCase
{
    const char* Name;
    QString Stored;        // PowerKey of "修改"; "<none>" deletes the row
    bool Answer;           // false presses Cancel
    QString Typed;
    bool Expected;
    bool Prompted;
    QStringList Messages;
};

TEST_F(ShareDM, CheckEditPasswordAsksUnlessThePasswordIsEmpty)
{
    const TPasswordCase Cases[] = {
        {"empty password passes silently", "", true, "", true, false, {}},
        {"right password", "abc", true, "abc", true, true, {}},
        {"case matters", "abc", true, "ABC", false, true, {"密码错误，请重新操作"}},
        {"wrong password", "abc", true, "x", false, true, {"密码错误，请重新操作"}},
        {"cancel says nothing", "abc", false, "abc", false, true, {}},
        {"missing row", "<none>", true, "", false, true, {"数据库出错，资料修改密码被删除"}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Exec("Update Power Set PowerKey = '' Where PowerName = '修改'");
        if (C.Stored == "<none>")
            Exec("Delete From Power Where PowerName = '修改'");
        else
            Exec("Update Power Set PowerKey = '" + C.Stored + "' Where PowerName = '修改'");

        bool Prompted = false;
        QString Caption, Prompt;
        QLineEdit::EchoMode Echo = QLineEdit::Normal;
        TModalHandlers Handlers(
            [&](TForm* Form) {
                Prompted = true;
                auto* Ask = static_cast<TFormAsk*>(Form);
                Caption = Ask->Caption();
                Prompt = Ask->Label1->text();
                Echo = Ask->Edit1->echoMode();
                Ask->Edit1->setText(C.Typed);
                (C.Answer ? Ask->BitBtn1 : Ask->BitBtn2)->Click();
                return mrNone;
            },
            nullptr);
        EXPECT_EQ(ShareDataModule->CheckEditPassword("修改单据", "请输入资料修改密码", ""), C.Expected);
        EXPECT_EQ(Prompted, C.Prompted);
        if (Prompted) {
            EXPECT_EQ(Caption, "修改单据");
            EXPECT_EQ(Prompt, "请输入资料修改密码");
            EXPECT_EQ(Echo, QLineEdit::Password);
        }
        EXPECT_EQ(FormAsk->Edit1->echoMode(), QLineEdit::Normal);
        EXPECT_EQ(TModalSeam::MessageTexts(), C.Messages);
        if (C.Stored == "<none>")
            Exec("Insert Into Power (PowerIndex, PowerName, PowerKey) Values (99, '修改', '')");
    }
}

TEST_F(ShareDM, OpenSQLFailureShowsTheCallersTextAndLeavesTheQueryClosed)
{
    TModalHandlers Handlers(nullptr, nullptr);
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    EXPECT_TRUE(OpenSQL(Q, "Select * From Account Where (AccountIndex > 1)", "数据库打开失败"));
    EXPECT_TRUE(Q->Active());
    EXPECT_FALSE(OpenSQL(Q, "Select * From NoSuchTable", "数据库打开失败"));
    EXPECT_FALSE(Q->Active());
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{"数据库打开失败"});

    TModalSeam::ClearMessages();
    EXPECT_EQ(ExecSQL(Q, "Update NoSuchTable Set X = 1"), 0);
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{"SQL命令执行出错"});
    EXPECT_EQ(ExecSQL(Q, "Update PrintReport Set ReportEnable = False"), Scalar("Select Count(*) From PrintReport").toInt());
}

TEST_F(ShareDM, SplicedQuotesAreDoubled)
{
    TModalHandlers Handlers(nullptr, nullptr);
    // A name with a quote must neither break the statement nor reach another row.
    Exec("Insert Into Account (AccountName, AccountBase, AccountMan) Values ('O''Brien', 0, '管理员')");
    EXPECT_TRUE(OpenSQL(ShareDataModule->ADOQueryTemp,
                        "Select * From Account Where AccountName = " + SqlQuoted("O'Brien"), "数据库打开失败"));
    EXPECT_EQ(ShareDataModule->ADOQueryTemp->RecordCount(), 1);
}

TEST_F(ShareDM, LoadComboAddsAllAndSelectsTheFirstItem)
{
    TModalHandlers Handlers(nullptr, nullptr);
    QComboBox Combo;
    Combo.addItem("旧");
    LoadCombo(&Combo, ShareDataModule->ADOQueryTemp, "Select * From Parameter Where ParameterType = 999", true,
              "ParameterValue");
    EXPECT_EQ(Combo.count(), 1);
    EXPECT_EQ(Combo.currentText(), "所有");

    Exec("Insert Into Parameter (ParameterType, ParameterValue) Values (999, '甲')");
    Exec("Insert Into Parameter (ParameterType, ParameterValue) Values (999, '乙')");
    LoadCombo(&Combo, ShareDataModule->ADOQueryTemp,
              "Select * From Parameter Where ParameterType = 999 Order By ParameterValue", false, "ParameterValue");
    EXPECT_EQ(Combo.count(), 2);
    EXPECT_EQ(Combo.currentIndex(), 0);

    LoadCombo(&Combo, ShareDataModule->ADOQueryTemp, "Select * From Nowhere", true, "ParameterValue");
    EXPECT_EQ(Combo.count(), 1);
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{"LoadCombo失败"});
}

} // namespace
