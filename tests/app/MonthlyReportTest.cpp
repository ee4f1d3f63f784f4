// The monthly customer and account reports: the figures in PrintReport and
// PrintList, the table's growth and a failure that writes nothing.
#include "PrintTestUtil.h"
#include "ProgramFixture.h"

#include "app/CardQueries.h"
#include "app/Customer3Form.h"
#include "app/ProgressForm.h"
#include "platform/db/ADOQuery.h"

#include <QComboBox>

class MonthlyReport : public TProgramFixture
{
protected:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        Application()->CreateForm(FormProgress);
        FormMain->ADOQueryBig->SetConnection(ShareDataModule->ADOConnection1);
        InstallTemplates(AppPath);
        FormMain->SetWorkingDay(EncodeDate(2024, 3, 10));
    }
    void TearDown() override
    {
        FormProgress = nullptr;
        FormCustomer3 = nullptr;
        TProgramFixture::TearDown();
    }

    // Runs a report; any window it opens (the preview) is counted and closed.
    void Run(bool Customers)
    {
        Printed.clear();
        FormMain->frReport1->OnEndDoc = [this] { Printed = PreparedText(FormMain->frReport1); };
        TModalHandlers Handlers(
            [this](TForm* Form) {
                if (RunProgress(Form))
                    return mrNone;
                ++Windows;
                return mrCancel;
            },
            nullptr);
        if (Customers)
            FormMain->ActionCustomerReportExecute(nullptr);
        else
            FormMain->ActionAccountReportExecute(nullptr);
        Messages = TModalSeam::MessageTexts();
        EXPECT_FALSE(FormProgress->isVisible());
    }

    // The enabled rows as "cell1|cell2|...|cell6", in table order.
    QStringList Enabled()
    {
        TADOQuery Q;
        Q.SetConnection(ShareDataModule->ADOConnection1);
        Q.SQL()->Add(QStringLiteral("Select * From PrintReport Where ReportEnable = True"));
        Q.Open();
        QStringList Rows;
        for (Q.First(); !Q.Eof(); Q.Next()) {
            QStringList Cells;
            for (int C = 1; C <= 6; ++C)
                Cells << Q.FieldByName(QStringLiteral("ReportGrid%1").arg(C))->AsString();
            Rows << Cells.join(u'|');
        }
        return Rows;
    }
    QString Count(const char* Where = "1 = 1")
    {
        return Scalar(QStringLiteral("Select Count(*) From PrintReport Where ") + QString::fromLatin1(Where));
    }
    QString Title(int Index)
    {
        return Scalar(QStringLiteral("Select ListValue From PrintList Where ListIndex = %1").arg(Index));
    }
    void Customer(const QString& Name, double Owe = 0)
    {
        Exec(QStringLiteral("Insert Into Customer (CustomerName, CustomerOwe) Values (%1, %2)")
                 .arg(SqlQuoted(Name))
                 .arg(Owe));
    }
    void Bill(const char* Kind, const QString& User, double Sum, const char* Day)
    {
        Exec(QStringLiteral("Insert Into Bill (BillKind, BillUser, BillSum, BillCreateTime) Values ('%1', %2, %3, '%4')")
                 .arg(QString::fromUtf8(Kind), SqlQuoted(User))
                 .arg(Sum)
                 .arg(QString::fromLatin1(Day) + QStringLiteral(" 00:00:00")));
    }
    void Money(const QString& User, int Account, double Sum, const char* Day)
    {
        Exec(QStringLiteral("Insert Into MoneyTable (MoneyUser, MoneyAccount, MoneySum, MoneyCreateTime) Values (%1, "
                            "%2, %3, '%4')")
                 .arg(SqlQuoted(User))
                 .arg(Account)
                 .arg(Sum)
                 .arg(QString::fromLatin1(Day) + QStringLiteral(" 00:00:00")));
    }

    int Windows = 0;
    QString Printed; // what the preview showed
    QStringList Messages;
};

TEST_F(MonthlyReport, CustomerFigures)
{
    Customer(QStringLiteral("甲"), 100);
    Customer(QStringLiteral("乙"));
    Customer(QStringLiteral("O'Neil"));
    Customer(QStringLiteral("Abc"));
    Bill("销售开单", QStringLiteral("甲"), 300, "2024-02-20");   // before the month
    Money(QStringLiteral("甲"), 1, 50, "2024-02-21");
    Bill("销售开单", QStringLiteral("甲"), 1000, "2024-03-05");
    Bill("采购开单", QStringLiteral("甲"), -500, "2024-03-31");
    Money(QStringLiteral("甲"), 1, 200, "2024-03-01");
    Bill("销售开单", QStringLiteral("乙"), 70, "2024-04-01");     // after the month
    Bill("销售开单", QStringLiteral("O'Neil"), 10, "2024-03-10");
    Bill("销售开单", QStringLiteral("ABC"), 4, "2024-03-10");   // names match in any letter case
    Run(true);
    // purchases | sales | received | opening | closing
    EXPECT_EQ(Enabled(), (QStringList{QStringLiteral("甲|500|1000|200|350|650"), QStringLiteral("乙|0|0|0|0|0"),
                                      QStringLiteral("O'Neil|0|10|0|0|10"), QStringLiteral("Abc|0|4|0|0|4"),
                                      QStringLiteral("总合计|500|1014|200|350|664")}));
    EXPECT_EQ(Count(), QStringLiteral("6"));
    EXPECT_EQ(Title(1) + u'|' + Title(2), QStringLiteral("2024年3月份|各客户应收款"));
    EXPECT_EQ(Messages, QStringList());
    EXPECT_EQ(Windows, 1);
    for (const char* Text : {"各客户应收款", "统计期间：2024年3月份", "O'Neil|0|10|0|0|10", "总合计|500|1014|200|350|664"})
        EXPECT_TRUE(Printed.contains(QString::fromUtf8(Text))) << Text << ' ' << Printed.toStdString();
    // The account report writes its own title.
    Exec(QStringLiteral("Insert Into Account (AccountName, AccountBase) Values ('现金', 40)"));
    Run(false);
    EXPECT_EQ(Title(2), QStringLiteral("各帐户收支汇总"));
    EXPECT_TRUE(Printed.contains(QStringLiteral("现金|40|0|0|0|40"))) << Printed.toStdString();
}

TEST_F(MonthlyReport, TableGrowsOnlyAsNeededAndListsEveryone)
{
    for (int I = 0; I < 50; ++I)
        Exec(QStringLiteral("Insert Into PrintReport (ReportEnable, ReportGrid1) Values (True, 'old')"));
    for (const char* Name : {"甲", "乙", "丙"})
        Customer(QString::fromUtf8(Name));
    Run(true);
    EXPECT_EQ(Count(), QStringLiteral("50"));
    EXPECT_EQ(Count("ReportEnable = False"), QStringLiteral("46"));

    QStringList Many;
    for (int I = 0; I < 1500; ++I)
        Many << QStringLiteral("('客户%1')").arg(I, 4, 10, QLatin1Char('0'));
    Exec(QStringLiteral("Insert Into Customer (CustomerName) Values ") + Many.join(u','));
    Bill("销售开单", QStringLiteral("客户1499"), 7, "2024-03-02");
    Run(true);
    const QStringList Rows = Enabled();
    ASSERT_EQ(Rows.size(), 1504);
    EXPECT_EQ(Rows.back(), QStringLiteral("总合计|0|7|0|0|7"));
    EXPECT_EQ(Count(), QStringLiteral("1505"));
}

TEST_F(MonthlyReport, AccountFigures)
{
    Exec(QStringLiteral("Insert Into Account (AccountName, AccountBase) Values ('现金', 40), ('银行', 1000)"));
    const int Cash = Scalar(QStringLiteral("Select AccountIndex From Account Where AccountName = '现金'")).toInt();
    Money(QStringLiteral("甲"), Cash, 60, "2024-02-01");
    Money(QStringLiteral("甲"), Cash, 100, "2024-03-03");
    Money(QStringLiteral("乙"), Cash, -30, "2024-03-04");
    Money(QStringLiteral("乙"), Cash, -5, "2024-03-31");
    Run(false);
    // opening | income | expense | net | closing
    EXPECT_EQ(Enabled(), (QStringList{QStringLiteral("现金|100|100|35|65|165"), QStringLiteral("银行|1000|0|0|0|1000"),
                                      QStringLiteral("总合计|1100|100|35|65|1165")}));
    EXPECT_EQ(Title(1), QStringLiteral("2024年3月份"));
}

TEST_F(MonthlyReport, ClosingOnMonthsLastDayEqualsCardAmount)
{
    Customer(QStringLiteral("甲"), 100);
    Customer(QStringLiteral("乙"), -20);
    Customer(QStringLiteral("丙"));
    Bill("销售开单", QStringLiteral("甲"), 300, "2024-02-20");
    Money(QStringLiteral("甲"), 1, 50, "2024-02-21");
    Bill("销售开单", QStringLiteral("甲"), 1000, "2024-03-05");
    Bill("采购开单", QStringLiteral("乙"), -500, "2024-03-31");
    Money(QStringLiteral("乙"), 1, -120, "2024-03-31");
    Bill("销售开单", QStringLiteral("丙"), 70, "2024-04-01"); // after the month: neither counts it
    FormMain->SetWorkingDay(EncodeDate(2024, 3, 31));
    Run(true);
    TCardSettings Cards;
    Cards.WorkingDay = EncodeDate(2024, 3, 31);
    Cards.Order = FormMain->ComboBox6->currentText();
    Cards.Direction = FormMain->ComboBox7->currentText();
    const std::optional<TCardPageData> Page = LoadCardPage(ckCustomer, Cards, 0);
    ASSERT_TRUE(Page);
    QStringList Amounts, Closing;
    for (const TCardData& Card : Page->Cards)
        Amounts << Card.Name + u'|' + Card.Extra; // the amount owed
    for (const QString& Row : Enabled())
        Closing << Row.section(u'|', 0, 0) + u'|' + CardAmountText(Row.section(u'|', 5, 5).toDouble());
    Closing.removeLast(); // the total row
    EXPECT_EQ(Closing, Amounts);
    EXPECT_EQ(Closing.size(), 3);
}

TEST_F(MonthlyReport, CustomersAndOrderOfCardsAfterSearch)
{
    for (const char* Name : {"甲", "丁", "丙", "乙"})
        Customer(QString::fromUtf8(Name));
    Bill("销售开单", QStringLiteral("甲"), 10, "2024-03-02");
    Bill("销售开单", QStringLiteral("甲"), 20, "2024-03-03"); // listed once all the same
    Bill("销售开单", QStringLiteral("丙"), 5, "2024-01-03");
    Bill("销售开单", QStringLiteral("乙"), 3, "2024-03-09");
    Bill("采购开单", QStringLiteral("丁"), -7, "2024-03-04");
    Application()->CreateForm(FormCustomer3);
    FormCustomer3->SearchCondition = QStringLiteral(" And (BillKind = '销售开单')");
    FormMain->ComboBox6->setCurrentText(QStringLiteral("按名称排"));
    FormMain->ComboBox7->setCurrentText(QStringLiteral("按降序排"));
    Run(true);
    // Neither the table's order (甲 丙 乙) nor its reverse: the cards' order by name (pinyin), descending.
    EXPECT_EQ(Enabled(), (QStringList{QStringLiteral("乙|0|3|0|0|3"), QStringLiteral("甲|0|30|0|0|30"),
                                      QStringLiteral("丙|0|0|0|5|5"), QStringLiteral("总合计|0|33|0|5|38")}));
}

TEST_F(MonthlyReport, FailingStatementWritesNothing)
{
    Customer(QStringLiteral("甲"));
    Exec(QStringLiteral("Insert Into PrintReport (ReportEnable, ReportGrid1) Values (True, 'old')"));
    Exec(QStringLiteral("Update PrintList Set ListValue = 'kept'"));
    Exec(QStringLiteral("Drop Table MoneyTable"));
    Run(true);
    EXPECT_EQ(Messages, QStringList{QStringLiteral("数据库打开失败")});
    EXPECT_EQ(Enabled(), QStringList{QStringLiteral("old|||||")});
    EXPECT_EQ(Title(1) + Title(2), QStringLiteral("keptkept"));
    EXPECT_EQ(Windows, 0);

    Exec(QStringLiteral("Delete From Customer Where CustomerIndex > 1"));
    Run(true);
    EXPECT_EQ(Messages, QStringList{QStringLiteral("无客户记录可以统计")});
}
