// The customer window: the balance up to the working day, footers per
// customer, a salesman's rights, what each action hands over, the list
// statements sent to the main window, the customer folder, a vanished
// customer, and a whole walk from a new customer to its changed card.
#include "ProgramFixture.h"

#include "app/BuySellForm.h"
#include "app/CardPage.h"
#include "app/ContactForm.h"
#include "app/Customer2Form.h"
#include "app/CustomerForm.h"
#include "app/GetPayForm.h"
#include "grid/DBGridEh.h"
#include "platform/gui/Shell.h"
#include "platform/gui/TestRender.h"
#include "platform/rtl/SysUtils.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <functional>

class Customer : public TProgramFixture
{
protected:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        FormCustomer = new TFormCustomer();
        FormCustomer2 = new TFormCustomer2();
        FormContact = new TFormContact();
        FormBuySell = new TFormBuySell();
        FormGetPay = new TFormGetPay();
        // Customer 2 has a quote in its name, 3 has nothing booked.
        Exec(QStringLiteral("Insert Into Customer (CustomerName, CustomerOwe) Values ('甲''乙公司', 100), ('丙', 0)"));
        Exec(QStringLiteral("Insert Into Account (AccountName) Values ('现金')"));
        Exec(QStringLiteral("Insert Into Bill (BillKind, BillUser, BillSum, BillCreateTime) Values "
                            "('销售开单', '甲''乙公司', 500, '2024-03-01'), ('采购开单', '甲''乙公司', -200, '2024-03-10'), "
                            "('销售开单', '甲''乙公司', 1000, '2024-04-01')"));
        Exec(QStringLiteral("Insert Into MoneyTable (MoneyAccount, MoneyBill, MoneyUser, MoneyIn, MoneyOut, MoneySum, "
                            "MoneyCreateTime) Values (2, 2, '甲''乙公司', 300, 0, 300, '2024-03-05'), "
                            "(2, 0, '甲''乙公司', 0, 50, -50, '2024-03-12')"));
        Exec(QStringLiteral("Insert Into Contact (ContactUser, ContactCreateTime, ContactHead, ContactContent) Values "
                            "(2, '2024-03-02', '来电', '来电')"));
        TModalHandlers Handlers(User({Press(FormLogin->SpeedButton4)}), nullptr);
        FormMain->Show();
        ASSERT_FALSE(Application()->Terminated());
        FormMain->SetWorkingDay(EncodeDate(2024, 3, 15));
    }

    template <class T> static void Free(T*& Form)
    {
        delete Form;
        Form = nullptr;
    }

    void TearDown() override
    {
        SetShellHandler(nullptr);
        Free(FormCustomer), Free(FormCustomer2), Free(FormContact), Free(FormBuySell), Free(FormGetPay);
        TProgramFixture::TearDown();
    }

    // Shows the customer window for Index; Act plays the user there, Inner
    // answers every window opened from it.
    TModalResult Run(int Index, const std::function<void()>& Act,
                     const std::function<TModalResult(TForm*)>& Inner = nullptr)
    {
        FormCustomer->CustomerIndex = Index;
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                if (Form != FormCustomer)
                    return Inner ? Inner(Form) : mrCancel;
                Act();
                return mrNone;
            },
            [](const TMessageRequest&) { return mrOk; });
        return FormCustomer->ShowModal();
    }

    QString Balance() const
    {
        const TFormCustomer* F = FormCustomer;
        return QStringList{F->LabelFirstOwe->text(), F->LabelSell->text(), F->LabelBuy->text(), F->LabelGet->text(),
                           F->LabelOwe->text()}
            .join(u'|');
    }

    static QString Footers(TDBGridEh* Grid, std::initializer_list<int> Columns)
    {
        QStringList Texts;
        for (int Column : Columns)
            Texts << Grid->GetFooterValueText(0, Grid->Columns(Column));
        return Texts.join(u'|');
    }
};

TEST_F(Customer, BalanceUpToTheWorkingDayAndFootersOfTheShownCustomer)
{
    struct TCase { const char* Row; int Index; TDateTime Day; const char* Balance; const char* Bills; const char* Money;
                   const char* Contacts; };
    const TCase Cases[] = {
        {"documents up to the day", 2, EncodeDate(2024, 3, 15), "100|500|200|250|150", "共3条|1300|300|1000", "共2条|300|50|250",
         "共1条"},
        {"a later sale counts from its day", 2, EncodeDate(2024, 4, 1), "100|1500|200|250|1150", "共3条|1300|300|1000",
         "共2条|300|50|250", "共1条"},
        {"nothing booked, after another customer", 3, EncodeDate(2024, 3, 15), "0|0|0|0|0", "|||", "|||", ""},
    };
    Exec(QStringLiteral("Update Customer Set CustomerPhone = '0571-88886666', CustomerContact = '王建国', "
                        "CustomerAddress = '杭州市西湖区文三路 90 号', CustomerEMail = 'wang@example.com' Where CustomerIndex = 2"));
    Exec(QStringLiteral("Update Bill Set BillSerial = 'XS' || (1000 + BillIndex), BillMan = '张明', BillReason = '批发'"));
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Row);
        FormMain->SetWorkingDay(C.Day);
        QString Bills, Money, Contacts;
        QImage Shot;
        QRect Unpaid;
        Run(C.Index, [&] {
            Bills = Footers(FormCustomer->DBGridEhBill, {0, 4, 5, 6});
            Money = Footers(FormCustomer->DBGridEhMoney, {0, 4, 5, 6});
            Contacts = Footers(FormCustomer->DBGridEhContact, {0});
            FormCustomer->PageControl1->setCurrentIndex(1);
            TDBGridEh* Grid = FormCustomer->DBGridEhBill;
            Shot = RenderWidget(FormCustomer);
            const QRect Cell = Grid->CellRect(7, Grid->RowCount() - 1);
            Unpaid = QRect(Grid->mapTo(FormCustomer, Cell.topLeft()), Cell.size());
        });
        // The unpaid sum shows in red; TB_CUSTOMER_PNG names a file to keep the first picture in.
        int Red = 0;
        for (int Y = Unpaid.top(); Y <= Unpaid.bottom(); ++Y)
            for (int X = Unpaid.left(); X <= Unpaid.right(); ++X) {
                const QColor P = Shot.pixelColor(X, Y);
                Red += P.red() > 150 && P.green() < 100 && P.blue() < 100;
            }
        EXPECT_EQ(Red > 10, C.Index == 2);
        if (const QByteArray Keep = qgetenv("TB_CUSTOMER_PNG"); !Keep.isEmpty() && &C == Cases)
            Shot.save(QString::fromLocal8Bit(Keep));
        EXPECT_EQ(Balance(), QString::fromUtf8(C.Balance));
        EXPECT_EQ(Bills, QString::fromUtf8(C.Bills));
        EXPECT_EQ(Money, QString::fromUtf8(C.Money));
        EXPECT_EQ(Contacts, QString::fromUtf8(C.Contacts));
    }
}

TEST_F(Customer, ASalesmanSeesTheButtonsOfHisRights)
{
    struct TCase { const char* Role; const char* Range; bool Business, Money; };
    const TCase Cases[] = {
        {"业务员", "财务管理；", false, true},
        {"业务员", "业务管理；", true, false},
        {"总经理", "", true, true},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Range);
        CurrentRole = QString::fromUtf8(C.Role);
        CurrentRange = QString::fromUtf8(C.Range);
        TFormCustomer* F = FormCustomer;
        Run(2, [&] {
            for (QWidget* W : std::initializer_list<QWidget*>{F->SellButton, F->BuyButton, F->Button1, F->Button2,
                                                              F->Button7, F->Button8})
                EXPECT_EQ(!W->isHidden(), C.Business) << W->objectName().toStdString();
            for (QWidget* W : std::initializer_list<QWidget*>{F->GetButton, F->PayButton, F->Button3, F->Button4,
                                                              F->Button9, F->Button10})
                EXPECT_EQ(!W->isHidden(), C.Money) << W->objectName().toStdString();
        });
    }
}

TEST_F(Customer, EachActionHandsOverItsFieldsAndCountsItsChange)
{
    // What the opened window was given, as "window|mode|kind|index|customer|fixed";
    // an existing record names its own customer.
    const auto Given = [](TForm* Form) {
        if (Form == FormContact)
            return QStringLiteral("Contact|%1|%2|%3").arg(FormContact->ContactMode)
                .arg(FormContact->ContactMode == QStringLiteral("修改") ? FormContact->ContactIndex : 0)
                .arg(FormContact->ContactUser);
        if (Form == FormBuySell)
            return QStringLiteral("BuySell|%1|%2|%3|%4|%5").arg(FormBuySell->Mode, FormBuySell->Kind)
                .arg(FormBuySell->BillIndex).arg(FormBuySell->Mode == QStringLiteral("新增") ? FormBuySell->CustomerIndex : 0)
                .arg(int(FormBuySell->CustomerFixed));
        return QStringLiteral("GetPay|%1|%2|%3|%4|%5").arg(FormGetPay->Mode, FormGetPay->Kind)
            .arg(FormGetPay->Mode == QStringLiteral("新增") ? FormGetPay->BillIndex : FormGetPay->MoneyIndex)
            .arg(FormGetPay->Mode == QStringLiteral("新增") ? FormGetPay->CustomerIndex : 0).arg(int(FormGetPay->CustomerFixed))
            + FormGetPay->CustomerName + FormGetPay->Reason + FormGetPay->AmountText + FormGetPay->RemarkText;
    };
    FormGetPay->CustomerName = FormGetPay->Reason = FormGetPay->AmountText = FormGetPay->RemarkText = QStringLiteral("旧");
    TFormCustomer* F = FormCustomer;
    struct TCase { const char* Row; std::function<void()> Act; TModalResult Answer; bool Unlock; const char* Given;
                   bool Changed; };
    const std::vector<TCase> Cases = {
        {"contact saved", [F] { F->ActionContact->trigger(); }, mrOk, false, "Contact|新增|0|2", true},
        {"contact cancelled", [F] { F->ActionContact->trigger(); }, mrCancel, false, "Contact|新增|0|2", false},
        {"sale", [F] { F->SellButton->Click(); }, mrOk, false, "BuySell|新增|销售开单|1|2|1", true},
        {"purchase cancelled", [F] { F->BuyButton->Click(); }, mrCancel, false, "BuySell|新增|采购开单|1|2|1", false},
        {"receipt", [F] { F->GetButton->Click(); }, mrOk, false, "GetPay|新增|财务收入单|0|2|1", true},
        {"payment", [F] { F->PayButton->Click(); }, mrOk, false, "GetPay|新增|财务支出单|0|2|1", true},
        {"contact row", [F] { F->DBGridEhContact->OnDblClick(nullptr); }, mrOk, false, "Contact|修改|2|2", true},
        {"document left locked", [F] { F->DBGridEhBill->OnDblClick(nullptr); }, mrOk, false, "BuySell|修改|销售开单|2|0|0", false},
        {"document unlocked", [F] { F->DBGridEhBill->OnDblClick(nullptr); }, mrCancel, true, "BuySell|修改|销售开单|2|0|0", true},
        {"money row", [F] { F->DBGridEhMoney->OnDblClick(nullptr); }, mrOk, false, "GetPay|修改|财务收入单|2|0|0", true},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Row);
        // A refresh after the change shows what the window stored meanwhile.
        QString Seen, Header;
        bool Changed = false;
        Run(2, [&] {
            C.Act();
            Changed = F->DataChanged;
            Header = F->CustomerPhone->text();
        }, [&](TForm* Form) {
            Seen = Given(Form);
            if (Form == FormBuySell && C.Unlock)
                FormBuySell->EditUnlocked = true;
            Exec(QStringLiteral("Update Customer Set CustomerPhone = '%1' Where CustomerIndex = 2").arg(C.Row));
            return C.Answer;
        });
        EXPECT_EQ(Seen, QString::fromUtf8(C.Given));
        EXPECT_EQ(Changed, C.Changed);
        EXPECT_EQ(Header == QString::fromUtf8(C.Row), C.Changed);
    }
    TModalSeam::ClearMessages();
    Run(3, [F] { F->DBGridEhBill->OnDblClick(nullptr); });
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("请先选中需要查看的记录")});
}

TEST_F(Customer, ListButtonsHandTheCustomersStatementToTheMainWindow)
{
    const QString Name = QStringLiteral("(BillUser = '甲''乙公司')");
    struct TCase { const char* Row; TButton* TFormCustomer::*Button; TDateTime Day; bool Document; const char* Ends; };
    const TCase Cases[] = {
        {"sales of 31 January", &TFormCustomer::Button1, EncodeDate(2024, 1, 31), true,
         "(BillUser = '甲''乙公司') And (BillKind = '销售开单') And (BillCreateTime Between #2024-01-01# And #2024-01-31#)"},
        {"sales of 15 February", &TFormCustomer::Button1, EncodeDate(2024, 2, 15), true,
         "(BillKind = '销售开单') And (BillCreateTime Between #2024-02-01# And #2024-02-29#)"},
        {"payments of the month", &TFormCustomer::Button4, EncodeDate(2024, 2, 15), false,
         "(MoneyUser = '甲''乙公司') And (MoneySum < 0) And (MoneyCreateTime Between #2024-02-01# And #2024-02-29#)"},
        {"all purchases", &TFormCustomer::Button8, EncodeDate(2024, 2, 15), true, "(BillKind = '采购开单')"},
        {"all receipts", &TFormCustomer::Button9, EncodeDate(2024, 2, 15), false, "(MoneySum >= 0)"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Row);
        FormMain->SetWorkingDay(C.Day);
        FormMain->PageControl1->setCurrentIndex(0);
        const TModalResult Result = Run(2, [&] {
            FormCustomer->PageControl1->setCurrentIndex(3);
            (FormCustomer->*C.Button)->Click();
        });
        EXPECT_EQ(Result, mrCancel);
        const QString SQL = C.Document ? FormMain->BillReportSQL() : FormMain->MoneyReportSQL();
        EXPECT_TRUE(SQL.endsWith(QString::fromUtf8(C.Ends))) << SQL.toStdString();
        EXPECT_EQ(FormMain->PageControl1->currentIndex(), C.Document ? 2 : 5);
    }
    EXPECT_TRUE(FormMain->BillReportSQL().contains(
        QStringLiteral("From (Bill Left Join MoneyTable On Bill.BillIndex = MoneyTable.MoneyBill) Where ") + Name));
}

TEST_F(Customer, TheFolderKeepsInsideTheCustomerFolders)
{
    QString Opened;
    SetShellHandler([&](const QString& Target) {
        Opened = Target;
        return true;
    });
    struct TCase { const char* Name; const char* Folder; };
    const TCase Cases[] = {{"a/b", "a_b"}, {"..", "_.."}, {"甲公司", "甲公司"}, {"c\\d\te", "c_d_e"}};
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Exec(QStringLiteral("Update Customer Set CustomerName = %1 Where CustomerIndex = 3").arg(SqlQuoted(QString::fromUtf8(C.Name))));
        Opened.clear();
        Run(3, [] { FormCustomer->Button6->Click(); });
        const QString Expected = QDir::cleanPath(AppPath + QStringLiteral("客户目录/") + QString::fromUtf8(C.Folder));
        EXPECT_EQ(Opened, Expected);
        EXPECT_TRUE(QDir(Expected).exists());
        EXPECT_EQ(Scalar(QStringLiteral("Select CustomerName From Customer Where CustomerIndex = 3")), QString::fromUtf8(C.Name));
    }
}

TEST_F(Customer, AVanishedCustomerClosesTheWindow)
{
    EXPECT_EQ(Run(99, [] {}), mrCancel);
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("该客户记录已被删除")});
    // Deleted while a contact was being written: the refresh after it closes the window.
    TModalSeam::ClearMessages();
    const TModalResult Result = Run(3, [] { FormCustomer->ActionContact->trigger(); }, [this](TForm*) {
        Exec(QStringLiteral("Delete From Customer Where CustomerIndex = 3"));
        return mrOk;
    });
    EXPECT_EQ(Result, mrOk);
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("该客户记录已被删除")});
}

// From the main window: a new customer, a contact, a sale and a receipt from
// the customer window, and the customer's card shows the new amounts.
TEST_F(Customer, WalkFromANewCustomerToItsChangedCard)
{
    FormMain->RefreshAll();
    TModalHandlers Handlers(
        [&](TForm* Form) -> TModalResult {
            if (Form == FormCustomer2) {
                FormCustomer2->CustomerName->setText(QStringLiteral("新客户"));
                FormCustomer2->CustomerOwe->setText(QStringLiteral("20"));
                FormCustomer2->BitBtn1->Click();
            } else if (Form == FormCustomer) {
                FormCustomer->ActionContact->trigger();
                FormCustomer->ActionSell->trigger();
                FormCustomer->ActionGet->trigger();
                EXPECT_EQ(Balance(), QStringLiteral("20|800|0|300|520"));
                FormCustomer->ActionCancel->trigger();
            } else if (Form == FormContact) {
                FormContact->Memo1->setPlainText(QStringLiteral("首次拜访"));
                FormContact->SpeedButton1->Click();
            } else if (Form == FormBuySell) {
                FormBuySell->Edit2->setText(QStringLiteral("800"));
                FormBuySell->BitBtn1->Click();
            } else if (Form == FormGetPay) {
                FormGetPay->Edit2->setText(QStringLiteral("300"));
                FormGetPay->BitBtn1->Click();
            }
            return mrNone;
        },
        [](const TMessageRequest&) { return mrOk; });
    FormMain->CustomerCards->NewButton->Click();
    ASSERT_EQ(FormMain->CustomerCards->Names[0]->text(), QStringLiteral("新客户"));
    EXPECT_EQ(FormMain->CustomerCards->Moneys[0]->text(), QStringLiteral("0 元"));
    FormMain->CustomerCards->Panels[0]->Click();
    EXPECT_EQ(TModalSeam::MessageTexts(), (QStringList{QStringLiteral("客户　新客户　新增成功"), QStringLiteral("记录新增成功"),
                                                       QStringLiteral("单据新增成功"), QStringLiteral("记录新增成功")}));
    EXPECT_EQ(FormMain->CustomerCards->Names[0]->text(), QStringLiteral("新客户"));
    EXPECT_EQ(FormMain->CustomerCards->Moneys[0]->text(), QStringLiteral("800 元"));
    EXPECT_EQ(FormMain->CustomerCards->Extras[0]->text(), QStringLiteral("520 元"));
    EXPECT_EQ(Scalar(QStringLiteral("Select Count(*) From Contact Where ContactContent = '首次拜访'")), QStringLiteral("1"));
}
