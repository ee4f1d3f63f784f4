// A new firm's first day, window by window through the main window: the
// manager opens an account and a customer and books a contact, a sale and a
// receipt there; the administrator then sets passwords, names a salesman with
// a face, adds to a choice list, backs the data up and restores them.
#include "ProgramFixture.h"

#include "app/Account2Form.h"
#include "app/AccountForm.h"
#include "app/BuySellForm.h"
#include "app/CardPage.h"
#include "app/ContactForm.h"
#include "app/Customer2Form.h"
#include "app/CustomerForm.h"
#include "app/DataMaintenance.h"
#include "app/GetPayForm.h"
#include "app/User2Form.h"
#include "app/UserForm.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <memory>

class ProgramWalk : public TProgramFixture
{
protected:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        Application()->CreateForm(FormAccount);
        Application()->CreateForm(FormCustomer);
        Application()->CreateForm(FormCustomer2);
        Application()->CreateForm(FormUser);
        Application()->CreateForm(FormUser2);
        Application()->CreateForm(FormAccount2);
        Application()->CreateForm(FormContact);
        Application()->CreateForm(FormBuySell);
        Application()->CreateForm(FormGetPay);
    }

    void TearDown() override
    {
        FormAccount = nullptr, FormCustomer = nullptr, FormCustomer2 = nullptr, FormUser = nullptr;
        FormUser2 = nullptr, FormAccount2 = nullptr, FormContact = nullptr, FormBuySell = nullptr;
        FormGetPay = nullptr;
        TProgramFixture::TearDown();
    }

    static QString Card(const TCardPage* Page)
    {
        return Page->Names[0]->text() + u'|' + Page->Moneys[0]->text() + u'|' + Page->Extras[0]->text();
    }
};

TEST_F(ProgramWalk, FromTheFirstCustomerToARestoredBackup)
{
    WritePicture(QStringLiteral("Faces/5.bmp"), 24, Qt::blue);
    {
        TModalHandlers Handlers(User({Press(FormLogin->SpeedButton4)}), nullptr);
        FormMain->Show();
    }
    ASSERT_EQ(CurrentRole, QStringLiteral("总经理"));

    auto Handlers = std::make_unique<TModalHandlers>(
        [](TForm* Form) -> TModalResult {
            if (Form == FormAccount2) {
                FormAccount2->Edit1->setText(QStringLiteral("工商银行"));
                FormAccount2->Edit2->setText(QStringLiteral("1000"));
                FormAccount2->BitBtn1->Click();
            } else if (Form == FormCustomer2) {
                FormCustomer2->CustomerName->setText(QStringLiteral("新客户"));
                FormCustomer2->BitBtn1->Click();
            } else if (Form == FormCustomer) {
                FormCustomer->ActionContact->trigger();
                FormCustomer->ActionSell->trigger();
                FormCustomer->ActionGet->trigger();
                FormCustomer->ActionCancel->trigger();
            } else if (Form == FormContact) {
                FormContact->Memo1->setPlainText(QStringLiteral("首次拜访"));
                FormContact->SpeedButton1->Click();
            } else if (Form == FormBuySell) {
                FormBuySell->Edit2->setText(QStringLiteral("800"));
                FormBuySell->BitBtn1->Click();
            } else if (Form == FormGetPay) {
                FormGetPay->ComboBox1->setCurrentText(QStringLiteral("工商银行"));
                FormGetPay->Edit2->setText(QStringLiteral("300"));
                FormGetPay->BitBtn1->Click();
            }
            return Form->ModalResult() == mrNone ? mrCancel : mrNone;
        },
        [](const TMessageRequest&) { return mrOk; });
    FormMain->NewAccount();
    EXPECT_EQ(Card(FormMain->AccountCards), QStringLiteral("工商银行|1000 元|0 元"));
    FormMain->CustomerCards->NewButton->Click();
    FormMain->CustomerCards->Panels[0]->Click();
    EXPECT_EQ(TModalSeam::MessageTexts(),
              (QStringList{QStringLiteral("帐户　工商银行　新增成功"), QStringLiteral("客户　新客户　新增成功"),
                           QStringLiteral("记录新增成功"), QStringLiteral("单据新增成功"), QStringLiteral("记录新增成功")}));
    EXPECT_EQ(Card(FormMain->CustomerCards), QStringLiteral("新客户|800 元|500 元"));
    EXPECT_EQ(Card(FormMain->BillCards).section(u'|', 0, 1), QStringLiteral("新客户|800 元"));
    EXPECT_EQ(Card(FormMain->AccountCards), QStringLiteral("工商银行|1300 元|300 元"));
    EXPECT_EQ(Scalar(QStringLiteral("Select Count(*) From Contact Where ContactContent = '首次拜访'")), QStringLiteral("1"));

    // The administrator names salesman 1 with face 5 from the login window,
    // then logs in: the passwords, a reason for documents, a backup, a loss
    // and the restore of the backup.
    TModalSeam::ClearMessages();
    QStringList Typed{QString(), QString(), QStringLiteral("零售批发")};
    QString File = BackupFolder() + QStringLiteral("/walk.mdb");
    Handlers.reset(); // the old handlers go before the new ones are saved
    Handlers = std::make_unique<TModalHandlers>(
        [&](TForm* Form) -> TModalResult {
            if (Form == FormLogin) {
                FormLogin->ManManage->Click();
                FormLogin->SpeedButton3->Click();
            } else if (Form == FormAsk) {
                FormAsk->Edit1->setText(Typed.takeFirst());
                FormAsk->BitBtn1->Click();
            } else if (Form == FormUser) {
                FormUser->ADOQuery1->Locate(QStringLiteral("PowerIndex"), Variant(1));
                FormUser->Edit1->setText(QStringLiteral("张三"));
                FormUser->CheckBox1->setChecked(true);
                FormUser->Image1->Click();
                FormUser->Button1->Click();
                return mrCancel;
            } else if (Form == FormUser2) {
                FormUser2->RadioButtons[4]->setChecked(true);
                FormUser2->BitBtn1->Click();
            }
            return mrNone;
        },
        [](const TMessageRequest& M) { return M.Buttons.size() > 1 ? mrYes : mrOk; },
        [&](const TFileRequest&) { return File; });
    FormMain->Login->Click();
    ASSERT_EQ(CurrentRole, QStringLiteral("管理员"));
    EXPECT_EQ(FormLogin->Man[0]->Caption(), QStringLiteral("张三"));
    EXPECT_EQ(FormLogin->Man[0]->Glyph()->Width(), 24);
    FormMain->ComboBox1->setCurrentText(QStringLiteral("总经理"));
    FormMain->Edit1->setText(QStringLiteral("boss"));
    FormMain->Button10->Click();
    FormMain->Edit2->setText(QStringLiteral("edit"));
    FormMain->Button11->Click();
    FormMain->Button1->Click();
    EXPECT_EQ(FormMain->ListBox1->findItems(QStringLiteral("零售批发"), Qt::MatchExactly).size(), 1);
    FormMain->ActionSave->trigger();
    Exec(QStringLiteral("Delete From Bill Where BillIndex > 1"));
    FormMain->ActionLoad->trigger();
    EXPECT_EQ(TModalSeam::MessageTexts(),
              (QStringList{QStringLiteral("确定要把该密码修改为 boss 吗？"), QStringLiteral("用户密码修改成功"),
                           QStringLiteral("确定要把该密码修改为 edit 吗？"), QStringLiteral("密码修改成功"),
                           QStringLiteral("恭喜您，数据库备份成功"), QStringLiteral("数据库恢复将导致当前数据全部丢失，是否继续？"),
                           QStringLiteral("恭喜您，数据库恢复成功，请重新启动软件")}));
    EXPECT_TRUE(Application()->Terminated());
    EXPECT_EQ(Scalar(QStringLiteral("Select Group_Concat(PowerName || PowerKey, '|') From Power "
                                    "Where PowerName In ('总经理', '修改')")),
              QStringLiteral("修改edit|总经理boss"));
    EXPECT_EQ(Scalar(QStringLiteral("Select PowerName || PowerPicture || PowerRange From Power Where PowerIndex = 1")),
              QStringLiteral("张三Faces/5.bmp业务管理；"));
    EXPECT_EQ(Scalar(QStringLiteral("Select Count(*) From Parameter Where ParameterValue = '零售批发'")), QStringLiteral("1"));
    EXPECT_EQ(Scalar(QStringLiteral("Select BillUser || Cast(BillSum As Integer) From Bill Where BillIndex > 1")),
              QStringLiteral("新客户800"));
}
