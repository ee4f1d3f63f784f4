// Money accounts: the card's window with its movement lists, rename and delete
// behind the data-edit password, and the dialog of name and opening balance.
#include "ProgramFixture.h"

#include "app/Account2Form.h"
#include "app/AccountForm.h"
#include "app/CardPage.h"

#include <QLabel>
#include <QTabWidget>

class Accounts : public TProgramFixture
{
protected:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        Application()->CreateForm(FormAccount);
        Application()->CreateForm(FormAccount2);
        Exec(QStringLiteral("Insert Into Account (AccountName, AccountBase) Values ('现金', 10), ('银行', 0), ('Cash', 0)"));
        Exec(QStringLiteral("Insert Into MoneyTable (MoneyAccount, MoneySerial, MoneySum, MoneyCreateTime) Values "
                            "(2, 'A', 5, '2023-02-28 00:00:00'), (2, 'B', 6, '2024-01-31 00:00:00'), (2, 'C', 7, '2024-02-29 00:00:00'), "
                            "(2, 'D', 8, '2024-03-01 00:00:00'), (3, 'E', 9, '2024-02-10 00:00:00')"));
        FormMain->SetWorkingDay(EncodeDate(2024, 2, 10));
    }

    void TearDown() override
    {
        FormAccount = nullptr;
        FormAccount2 = nullptr;
        TProgramFixture::TearDown();
    }

    // Shows the account window on Account; Act plays the user there. The dialog
    // gets Name and Base typed and OK pressed (and is cancelled when it stays
    // open); prompts get Password; Yes/No boxes get Answer.
    TModalResult Run(const QString& Account, const std::function<void()>& Act, const QString& Name = QString(),
                     const QString& Base = QString(), const QString& Password = QString(), TModalResult Answer = mrYes)
    {
        FormAccount->AccountText = Account;
        FormAccount->BalanceText = QStringLiteral("15 元");
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                if (Form == FormAccount) {
                    Act();
                } else if (Form == FormAccount2) {
                    ++DialogShows;
                    DialogShown = FormAccount2->Caption() + u'|' + FormAccount2->Edit1->text() + u'|'
                                  + FormAccount2->Edit2->text();
                    FormAccount2->Edit1->setText(Name);
                    FormAccount2->Edit2->setText(Base);
                    FormAccount2->BitBtn1->Click();
                    return FormAccount2->ModalResult() == mrNone ? mrCancel : mrNone;
                } else if (Form == FormAsk) {
                    FormAsk->Edit1->setText(Password);
                    FormAsk->BitBtn1->Click();
                }
                return mrNone;
            },
            [&](const TMessageRequest& M) { return M.Buttons.size() > 1 ? Answer : mrOk; });
        return FormAccount->ShowModal();
    }

    QString StoredAccounts() { return Column(QStringLiteral("Select AccountName || ':' || AccountBase From Account Where AccountIndex > 1 Order By AccountIndex")); }

    QString Column(const QString& SQL)
    {
        TADOQuery Q;
        Q.SetConnection(ShareDataModule->ADOConnection1);
        Q.SQL()->Add(SQL);
        Q.Open();
        QStringList Values;
        for (Q.First(); !Q.Eof(); Q.Next())
            Values << Q.Fields(0)->AsString();
        return Values.join(u',');
    }

    int DialogShows = 0;
    QString DialogShown;
};

TEST_F(Accounts, EditChecksAndStores)
{
    const struct
    {
        const char* Row;
        const char* Account;
        const char* Name;
        const char* Base;
        const char* Messages;
        TModalResult Result;
        const char* Stored;
    } Rows[] = {
        {"own name, new balance", "现金", "现金", "50", "帐户　现金　修改成功", mrOk, "现金:50.0,银行:0.0,Cash:0.0"},
        {"letter case alone", "Cash", "CASH", "0", "帐户　CASH　修改成功", mrOk, "现金:10.0,银行:0.0,CASH:0.0"},
        {"a quote in the name", "银行", "O'Neil", "1.5", "帐户　O'Neil　修改成功", mrOk, "现金:10.0,O'Neil:1.5,Cash:0.0"},
        {"taken name", "现金", "银行", "10", "该帐户名已经存在，请重新操作", mrCancel, "现金:10.0,银行:0.0,Cash:0.0"},
        {"taken in another case", "现金", "cash", "10", "该帐户名已经存在，请重新操作", mrCancel, "现金:10.0,银行:0.0,Cash:0.0"},
        {"empty name", "现金", "", "10", "帐户名不得为空", mrCancel, "现金:10.0,银行:0.0,Cash:0.0"},
        {"thousands separator", "现金", "现金", "1,000", "金额格式有误，请重新输入", mrCancel, "现金:10.0,银行:0.0,Cash:0.0"},
        {"two points", "现金", "现金", "1.2.3", "金额格式有误，请重新输入", mrCancel, "现金:10.0,银行:0.0,Cash:0.0"},
        {"account gone", "旧帐户", "新帐户", "1", "找不到要修改的帐户", mrOk, "现金:10.0,银行:0.0,Cash:0.0"},
    };
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Row);
        Exec(QStringLiteral("Update Account Set AccountName = '现金', AccountBase = 10 Where AccountIndex = 2"));
        Exec(QStringLiteral("Update Account Set AccountName = '银行', AccountBase = 0 Where AccountIndex = 3"));
        Exec(QStringLiteral("Update Account Set AccountName = 'Cash', AccountBase = 0 Where AccountIndex = 4"));
        const TModalResult Result = Run(QString::fromUtf8(R.Account), [] { FormAccount->ActionEdit->trigger(); },
                                        QString::fromUtf8(R.Name), QString::fromUtf8(R.Base));
        EXPECT_EQ(TModalSeam::MessageTexts().join(u'/'), QString::fromUtf8(R.Messages));
        EXPECT_EQ(Result, R.Result);
        EXPECT_EQ(StoredAccounts(), QString::fromUtf8(R.Stored));
    }
}

TEST_F(Accounts, DialogShowsTheStoredAccountOrANewOne)
{
    Exec(QStringLiteral("Update Account Set AccountBase = 1234.56789 Where AccountIndex = 2"));
    Run(QStringLiteral("现金"), [] { FormAccount->ActionEdit->trigger(); });
    EXPECT_EQ(DialogShown, QStringLiteral("修改帐户|现金|1234.5679"));
    TModalHandlers Handlers(
        [&](TForm*) -> TModalResult {
            DialogShown = FormAccount2->Caption() + u'|' + FormAccount2->Edit1->text() + u'|' + FormAccount2->Edit2->text();
            return mrCancel;
        },
        nullptr);
    FormMain->NewAccount();
    EXPECT_EQ(DialogShown, QStringLiteral("新增帐户||0"));
}

TEST_F(Accounts, WrongPasswordChangesNothing)
{
    Exec(QStringLiteral("Update Power Set PowerKey = 'pw' Where PowerName = '修改'"));
    for (QAction* Action : {FormAccount->ActionEdit, FormAccount->ActionDelete}) {
        SCOPED_TRACE(Action->objectName().toStdString());
        const TModalResult Result = Run(QStringLiteral("现金"), [Action] { Action->trigger(); }, QStringLiteral("x"),
                                        QStringLiteral("1"), QStringLiteral("PW"));
        EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("密码错误，请重新操作")});
        EXPECT_EQ(Result, mrCancel);
        EXPECT_EQ(DialogShows, 0);
        EXPECT_EQ(StoredAccounts(), QStringLiteral("现金:10.0,银行:0.0,Cash:0.0"));
        EXPECT_EQ(Scalar(QStringLiteral("Select Count(*) From MoneyTable Where MoneyAccount = 2")), QStringLiteral("4"));
    }
}

TEST_F(Accounts, MovementListsGoToTheMoneyList)
{
    const struct
    {
        const char* Row;
        TDateTime Day;
        QAction* TFormAccount::*Action;
        const char* Serials;
    } Rows[] = {
        {"February of a leap year", EncodeDate(2024, 2, 10), &TFormAccount::ActionMonth, "C"},
        {"February of a common year", EncodeDate(2023, 2, 1), &TFormAccount::ActionMonth, "A"},
        {"the working year", EncodeDate(2024, 2, 10), &TFormAccount::ActionYear, "B,C,D"},
        {"all time", EncodeDate(2024, 2, 10), &TFormAccount::ActionAll, "A,B,C,D"},
    };
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Row);
        FormMain->SetWorkingDay(R.Day);
        FormMain->PageControl1->setCurrentIndex(0);
        QAction* Action = FormAccount->*R.Action;
        EXPECT_EQ(Run(QStringLiteral("现金"), [Action] { Action->trigger(); }), mrCancel);
        EXPECT_EQ(FormMain->PageControl1->currentIndex(), 5);
        EXPECT_EQ(Column(QStringLiteral("Select MoneySerial From (") + FormMain->MoneyReportSQL()
                         + QStringLiteral(") Order By MoneySerial")),
                  QString::fromUtf8(R.Serials));
    }
}

TEST_F(Accounts, DeleteTakesTheMoneyRowsAlongOrNothing)
{
    const struct
    {
        const char* Row;
        TModalResult Answer;
        bool Failing;
        TModalResult Result;
        const char* Accounts;
        const char* MoneyAccounts;
    } Rows[] = {
        {"answered No", mrNo, false, mrCancel, "现金:10.0,银行:0.0,Cash:0.0", "2,2,2,2,3"},
        {"a step fails", mrYes, true, mrCancel, "现金:10.0,银行:0.0,Cash:0.0", "2,2,2,2,3"},
        {"answered Yes", mrYes, false, mrOk, "银行:0.0,Cash:0.0", "3"},
    };
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Row);
        if (R.Failing)
            Exec(QStringLiteral("Create Trigger NoDelete Before Delete On MoneyTable Begin Select Raise(Abort, 'x'); End"));
        const TModalResult Result =
            Run(QStringLiteral("现金"), [] { FormAccount->ActionDelete->trigger(); }, QString(), QString(), QString(), R.Answer);
        if (R.Failing)
            Exec(QStringLiteral("Drop Trigger NoDelete"));
        EXPECT_EQ(Result, R.Result);
        EXPECT_EQ(StoredAccounts(), QString::fromUtf8(R.Accounts));
        EXPECT_EQ(Column(QStringLiteral("Select MoneyAccount From MoneyTable Where MoneyIndex > 1 Order By MoneyIndex")),
                  QString::fromUtf8(R.MoneyAccounts));
    }
}

TEST_F(Accounts, CardAndNewAccountOpenTheWindows)
{
    FormMain->RefreshAccounts();
    TCardPage* Page = FormMain->AccountCards;
    QString Shown;
    {
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                if (Form == FormAccount)
                    Shown = FormAccount->Label2->text() + u'|' + FormAccount->Label4->text();
                return mrCancel;
            },
            nullptr);
        Page->Panels[0]->Click();
    }
    EXPECT_EQ(Shown, Page->Names[0]->text() + u'|' + Page->Moneys[0]->text());
    EXPECT_EQ(Shown, QStringLiteral("现金|21 元"));

    TModalHandlers Handlers(
        [&](TForm*) -> TModalResult {
            FormAccount2->Edit1->setText(QStringLiteral("零用金"));
            FormAccount2->Edit2->setText(QStringLiteral("200"));
            FormAccount2->BitBtn1->Click();
            return mrNone;
        },
        [](const TMessageRequest&) { return mrOk; });
    FormMain->NewAccount();
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("帐户　零用金　新增成功")});
    EXPECT_EQ(Scalar(QStringLiteral("Select AccountBase From Account Where AccountName = '零用金'")), QStringLiteral("200"));
}
