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
                            "(2, 'A', 5, '2023-02-28 00:00:00'), (2, 'B', 6, '2024-01-31 00:00:00'), "
                            "(2, 'C', 7, '2024-02-29 00:00:00'), (2, 'D', 8, '2024-03-01 00:00:00'), "
                            "(3, 'E', 9, '2024-02-10 00:00:00')"));
        FormMain->SetWorkingDay(EncodeDate(2024, 2, 10));
    }

    void TearDown() override
    {
        FormAccount = nullptr;
        FormAccount2 = nullptr;
        TProgramFixture::TearDown();
    }

    // Shows the window of Account and triggers Action. The dialog gets Name and
    // Base and OK (cancelled when it stays open), prompts Password, Yes/No boxes Answer.
    TModalResult Run(const QString& Account, QAction* Action, const QString& Name = QString(),
                     const QString& Base = QString(), const QString& Password = QString(), TModalResult Answer = mrYes)
    {
        FormAccount->AccountText = Account;
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                if (Form == FormAccount) {
                    Action->trigger();
                } else if (Form == FormAccount2) {
                    ++DialogShows;
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

    QString Column(const QString& SQL) { return Scalar(QStringLiteral("Select Group_Concat(X) From (%1)").arg(SQL)); }
    QString Stored() { return Column(QStringLiteral("Select AccountName || ':' || AccountBase As X From Account Where AccountIndex > 1")); }

    int DialogShows = 0;
};

TEST_F(Accounts, EditChecksAndStores)
{
    const char* const Unchanged = "现金:10.0,银行:0.0,Cash:0.0";
    const struct { const char* Row; const char* Account; const char* Name; const char* Base; const char* Messages;
                   TModalResult Result; const char* Stored; } Rows[] = {
        {"own name", "现金", "现金", "50", "帐户　现金　修改成功", mrOk, "现金:50.0,银行:0.0,Cash:0.0"},
        {"letter case alone", "Cash", "CASH", "0", "帐户　CASH　修改成功", mrOk, "现金:10.0,银行:0.0,CASH:0.0"},
        {"a quote", "银行", "O'Neil", "1.5", "帐户　O'Neil　修改成功", mrOk, "现金:10.0,O'Neil:1.5,Cash:0.0"},
        {"taken name", "现金", "银行", "10", "该帐户名已经存在，请重新操作", mrCancel, Unchanged},
        {"taken in another case", "现金", "cash", "10", "该帐户名已经存在，请重新操作", mrCancel, Unchanged},
        {"empty name", "现金", "", "10", "帐户名不得为空", mrCancel, Unchanged},
        {"thousands separator", "现金", "现金", "1,000", "金额格式有误，请重新输入", mrCancel, Unchanged},
        {"two points", "现金", "现金", "1.2.3", "金额格式有误，请重新输入", mrCancel, Unchanged},
        {"account gone", "旧帐户", "新帐户", "1", "找不到要修改的帐户", mrOk, Unchanged},
    };
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Row);
        Exec(QStringLiteral("Update Account Set AccountName = Case AccountIndex When 2 Then '现金' When 3 Then '银行' "
                            "Else 'Cash' End, AccountBase = Case AccountIndex When 2 Then 10 Else 0 End Where AccountIndex > 1"));
        EXPECT_EQ(Run(QString::fromUtf8(R.Account), FormAccount->ActionEdit, QString::fromUtf8(R.Name),
                      QString::fromUtf8(R.Base)),
                  R.Result);
        EXPECT_EQ(TModalSeam::MessageTexts().join(u'/'), QString::fromUtf8(R.Messages));
        EXPECT_EQ(Stored(), QString::fromUtf8(R.Stored));
    }
}

TEST_F(Accounts, WrongPasswordChangesNothing)
{
    Exec(QStringLiteral("Update Power Set PowerKey = 'pw' Where PowerName = '修改'"));
    for (QAction* Action : {FormAccount->ActionEdit, FormAccount->ActionDelete}) {
        EXPECT_EQ(Run(QStringLiteral("现金"), Action, QStringLiteral("x"), QStringLiteral("1"), QStringLiteral("PW")),
                  mrCancel);
        EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("密码错误，请重新操作")});
    }
    EXPECT_EQ(DialogShows, 0);
    EXPECT_EQ(Stored(), QStringLiteral("现金:10.0,银行:0.0,Cash:0.0"));
    EXPECT_EQ(Scalar(QStringLiteral("Select Count(*) From MoneyTable Where MoneyAccount = 2")), QStringLiteral("4"));
}

TEST_F(Accounts, MovementListsGoToTheMoneyList)
{
    const struct { const char* Row; TDateTime Day; QAction* TFormAccount::*Action; const char* Serials; } Rows[] = {
        {"February of a leap year", EncodeDate(2024, 2, 10), &TFormAccount::ActionMonth, "C"},
        {"February of a common year", EncodeDate(2023, 2, 1), &TFormAccount::ActionMonth, "A"},
        {"the working year", EncodeDate(2024, 2, 10), &TFormAccount::ActionYear, "B,C,D"},
        {"all time", EncodeDate(2024, 2, 10), &TFormAccount::ActionAll, "A,B,C,D"},
    };
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Row);
        FormMain->SetWorkingDay(R.Day);
        FormMain->PageControl1->setCurrentIndex(0);
        EXPECT_EQ(Run(QStringLiteral("现金"), FormAccount->*R.Action), mrCancel);
        EXPECT_EQ(FormMain->PageControl1->currentIndex(), 5);
        EXPECT_EQ(Column(QStringLiteral("Select MoneySerial As X From (%1) Order By MoneySerial").arg(FormMain->MoneyReportSQL())),
                  QString::fromUtf8(R.Serials));
    }
}

TEST_F(Accounts, DeleteTakesTheMoneyRowsAlongOrNothing)
{
    const char* const Unchanged = "现金:10.0,银行:0.0,Cash:0.0";
    const struct { const char* Row; TModalResult Answer; bool Failing; TModalResult Result; const char* Accounts;
                   const char* MoneyAccounts; } Rows[] = {
        {"answered No", mrNo, false, mrCancel, Unchanged, "2,2,2,2,3"},
        {"a step fails", mrYes, true, mrCancel, Unchanged, "2,2,2,2,3"},
        {"answered Yes", mrYes, false, mrOk, "银行:0.0,Cash:0.0", "3"},
    };
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Row);
        if (R.Failing)
            Exec(QStringLiteral("Create Trigger NoDelete Before Delete On MoneyTable Begin Select Raise(Abort, 'x'); End"));
        EXPECT_EQ(Run(QStringLiteral("现金"), FormAccount->ActionDelete, {}, {}, {}, R.Answer), R.Result);
        Exec(QStringLiteral("Drop Trigger If Exists NoDelete"));
        EXPECT_EQ(Stored(), QString::fromUtf8(R.Accounts));
        EXPECT_EQ(Column(QStringLiteral("Select MoneyAccount As X From MoneyTable Where MoneyIndex > 1")),
                  QString::fromUtf8(R.MoneyAccounts));
    }
}

TEST_F(Accounts, CardAndNewAccountOpenTheWindows)
{
    Exec(QStringLiteral("Update Account Set AccountBase = 1234.56789 Where AccountIndex = 3"));
    FormMain->RefreshAccounts();
    QStringList Shown;
    TModalHandlers Handlers(
        [&](TForm* Form) -> TModalResult {
            if (Form == FormAccount) {
                Shown << FormAccount->Label2->text() + u'|' + FormAccount->Label4->text();
                FormAccount->ActionEdit->trigger(); // shows the stored balance, then cancelled
                return mrCancel;
            }
            Shown << FormAccount2->Caption() + u'|' + FormAccount2->Edit1->text() + u'|' + FormAccount2->Edit2->text();
            if (Shown.size() == 2)
                return mrCancel;
            FormAccount2->Edit1->setText(QStringLiteral("零用金"));
            FormAccount2->Edit2->setText(QStringLiteral("200"));
            FormAccount2->BitBtn1->Click();
            return mrNone;
        },
        [](const TMessageRequest&) { return mrOk; });
    FormMain->AccountCards->Panels[1]->Click();
    FormMain->NewAccount();
    EXPECT_EQ(Shown, (QStringList{QStringLiteral("银行|1243.5679 元"), QStringLiteral("修改帐户|银行|1234.5679"),
                                  QStringLiteral("新增帐户||0")}));
    EXPECT_EQ(Scalar(QStringLiteral("Select AccountBase From Account Where AccountName = '零用金'")), QStringLiteral("200"));
}
