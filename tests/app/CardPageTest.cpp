// The card pages over a fresh database: paging, amounts up to the working day,
// icons and colours, the salesman's view, hover, failures and new accounts.
#include "AppFixture.h"

#include "app/CardPage.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <memory>

namespace {

const TDateTime Today = EncodeDate(2024, 3, 15);

} // namespace

class CardPageTest : public TAppFixture
{
protected:
    void SetUp() override
    {
        TAppFixture::SetUp();
        Settings.WorkingDay = Today;
        Settings.Direction = QStringLiteral("按升序排");
    }

    void TearDown() override
    {
        Pages.clear();
        TAppFixture::TearDown();
    }

    TCardPage* Page(TCardKind Kind)
    {
        auto Sheet = std::make_unique<QWidget>();
        Sheet->resize(660, 510);
        auto* P = new TCardPage(Kind, Sheet.get(), PageIndex);
        P->SettingsSource = [this] { return Settings; };
        Pages.push_back(std::move(Sheet));
        return P;
    }

    void AddCustomer(const QString& Name, double Owe = 0, const QString& Man = QString(),
                     const QString& Contact = QString())
    {
        Exec(QStringLiteral("Insert Into Customer (CustomerName, CustomerOwe, CustomerMan, CustomerContact) "
                            "Values ('%1', %2, '%3', '%4')")
                 .arg(Name).arg(Owe).arg(Man, Contact));
    }

    void AddBill(const QString& User, double Sum, const QString& Date, const QString& Man = QString())
    {
        Exec(QStringLiteral("Insert Into Bill (BillKind, BillUser, BillSum, BillCreateTime, BillMan) "
                            "Values ('%1', '%2', %3, '%4 00:00:00', '%5')")
                 .arg(Sum >= 0 ? QStringLiteral("销售开单") : QStringLiteral("采购开单"), User)
                 .arg(Sum)
                 .arg(Date, Man));
    }

    void AddMoney(const QString& User, double Sum, const QString& Date, int Account = 0, int Bill = 0,
                  const QString& Man = QString())
    {
        Exec(QStringLiteral("Insert Into MoneyTable (MoneyUser, MoneySum, MoneyCreateTime, MoneyAccount, MoneyBill, "
                            "MoneyMan, MoneyType, MoneyToken) Values ('%1', %2, '%3 00:00:00', %4, %5, '%6', '货款', '收据')")
                 .arg(User)
                 .arg(Sum)
                 .arg(Date)
                 .arg(Account)
                 .arg(Bill)
                 .arg(Man));
    }

    void AddAccountRow(const QString& Name, double Base, const QString& Man = QStringLiteral("财务主管"))
    {
        Exec(QStringLiteral("Insert Into Account (AccountName, AccountBase, AccountMan) Values ('%1', %2, '%3')")
                 .arg(Name)
                 .arg(Base)
                 .arg(Man));
    }

    // The visible cards as "name|money|extra|type" lines.
    static QStringList Cards(const TCardPage* P)
    {
        QStringList Lines;
        for (int I = 0; I < CardsPerPage; ++I) {
            if (P->Panels[I]->isHidden())
                continue;
            Lines << QStringList{P->Names[I]->text(), P->Moneys[I]->text(), P->Extras[I]->text(),
                                 P->Types[I] ? P->Types[I]->text() : QString()}
                         .join(u'|');
        }
        return Lines;
    }

    static int VisibleCards(const TCardPage* P)
    {
        int N = 0;
        for (const TCardPanel* Panel : P->Panels)
            N += Panel->isHidden() ? 0 : 1;
        return N;
    }

    static QColor TextColor(const QLabel* L) { return L->palette().color(QPalette::WindowText); }

    TCardSettings Settings;
    int PageIndex = 0;
    std::vector<std::unique_ptr<QWidget>> Pages;
};

TEST_F(CardPageTest, PagingByRecordCount)
{
    struct TRow
    {
        int Records;
        int Page;
        const char* Caption;
        int Visible;
        bool Prior, Next, NoData;
    };
    const TRow Rows[] = {
        {0, 0, "共 0 记录，第 1/1 页", 0, false, false, true},
        {15, 0, "共 15 记录，第 1/1 页", 15, false, false, false},
        {16, 0, "共 16 记录，第 1/2 页", 15, false, true, false},
        {16, 1, "共 16 记录，第 2/2 页", 1, true, false, false},
        {31, 1, "共 31 记录，第 2/3 页", 15, true, true, false},
    };
    TCardPage* P = Page(ckCustomer);
    int Made = 0;
    for (const TRow& R : Rows) {
        SCOPED_TRACE(R.Caption);
        for (; Made < R.Records; ++Made)
            AddCustomer(QStringLiteral("客户%1").arg(Made));
        PageIndex = R.Page;
        ASSERT_TRUE(P->Refresh());
        EXPECT_EQ(P->SumLabel->text(), QString::fromUtf8(R.Caption));
        EXPECT_EQ(VisibleCards(P), R.Visible);
        EXPECT_EQ(P->PriorButton->isEnabled(), R.Prior);
        EXPECT_EQ(P->NextButton->isEnabled(), R.Next);
        EXPECT_EQ(P->NoDataImage->isHidden(), !R.NoData);
    }
}

TEST_F(CardPageTest, NextAndPriorButtonsTurnThePage)
{
    for (int I = 0; I < 16; ++I)
        AddCustomer(QStringLiteral("客户%1").arg(I));
    TCardPage* P = Page(ckCustomer);
    Settings.Order = QStringLiteral("按编号排");
    ASSERT_TRUE(P->Refresh());
    P->NextButton->Click();
    EXPECT_EQ(PageIndex, 1);
    EXPECT_EQ(Cards(P), QStringList{QStringLiteral("客户15|0 元|0 元|")});
    P->PriorButton->Click();
    EXPECT_EQ(PageIndex, 0);
    EXPECT_EQ(VisibleCards(P), 15);
}

TEST_F(CardPageTest, PageIndexIsClampedWhenRowsDisappear)
{
    for (int I = 0; I < 16; ++I)
        AddCustomer(QStringLiteral("客户%1").arg(I));
    TCardPage* P = Page(ckCustomer);
    PageIndex = 1;
    ASSERT_TRUE(P->Refresh());
    Exec(QStringLiteral("Delete From Customer Where CustomerName = '客户15'"));
    ASSERT_TRUE(P->Refresh());
    EXPECT_EQ(P->SumLabel->text(), QStringLiteral("共 15 记录，第 1/1 页"));
    EXPECT_EQ(PageIndex, 0);
    EXPECT_EQ(VisibleCards(P), 15);
}

TEST_F(CardPageTest, CustomerAmountsCountUpToTheWorkingDay)
{
    AddCustomer(QStringLiteral("甲"), 100, QString(), QStringLiteral("张三丰李四"));
    AddBill(QStringLiteral("甲"), 500, QStringLiteral("2024-03-01"));
    AddBill(QStringLiteral("甲"), -200, QStringLiteral("2024-03-15"));
    AddBill(QStringLiteral("甲"), 1000, QStringLiteral("2024-03-16"));
    AddMoney(QStringLiteral("甲"), 50, QStringLiteral("2024-03-15"));
    AddMoney(QStringLiteral("甲"), 70, QStringLiteral("2024-03-16"));
    TCardPage* P = Page(ckCustomer);
    ASSERT_TRUE(P->Refresh());
    // Business 500 - 200 = 300; owed 100 + 300 - 50.
    EXPECT_EQ(Cards(P), QStringList{QStringLiteral("甲|300 元|350 元|张三丰")});
    EXPECT_EQ(TextColor(P->Moneys[0]), ColorToQColor(CardPositiveColor));
}

TEST_F(CardPageTest, CustomerWithOnlyPurchasesIsRedWithIconByMagnitude)
{
    AddCustomer(QStringLiteral("乙"));
    AddBill(QStringLiteral("乙"), -40000, QStringLiteral("2024-03-01"));
    TCardPage* P = Page(ckCustomer);
    ASSERT_TRUE(P->Refresh());
    EXPECT_EQ(Cards(P), QStringList{QStringLiteral("乙|-40000 元|-40000 元|")});
    for (const QLabel* L : {P->Names[0], P->Moneys[0], P->Extras[0], P->Types[0]})
        EXPECT_EQ(TextColor(L), ColorToQColor(CardNegativeColor)) << L->objectName().toStdString();
    EXPECT_EQ(AmountIcon(ckCustomer, -40000), QStringLiteral("Res/Blue++.ico"));
}

TEST_F(CardPageTest, NamesAreCutAtEighteenGbkBytes)
{
    struct TRow
    {
        const char* Name;
        const char* Shown;
    };
    const TRow Rows[] = {
        {"北京海淀科技发展有限公司", "北京海淀科技发展有"}, // 9 characters = 18 bytes
        {"A北京海淀科技发展有限", "A北京海淀科技发展"},     // a 19th byte would split a character
        {"ABCDEFGHIJKLMNOPQRSTUV", "ABCDEFGHIJKLMNOPQR"},
        {"短名", "短名"},
    };
    for (const TRow& R : Rows) {
        AddCustomer(QString::fromUtf8(R.Name));
        AddBill(QString::fromUtf8(R.Name), 10, QStringLiteral("2024-03-15"));
    }
    Settings.Order = QStringLiteral("按编号排");
    TCardPage* Customers = Page(ckCustomer);
    TCardPage* Bills = Page(ckBill);
    ASSERT_TRUE(Customers->Refresh());
    Settings.Range = QStringLiteral("当天单据");
    Settings.Order = QStringLiteral("按记录号");
    ASSERT_TRUE(Bills->Refresh());
    for (int I = 0; I < 4; ++I) {
        SCOPED_TRACE(Rows[I].Name);
        EXPECT_EQ(Customers->Names[I]->text(), QString::fromUtf8(Rows[I].Shown));
        EXPECT_EQ(Bills->Names[I]->text(), QString::fromUtf8(Rows[I].Shown));
    }
}

TEST_F(CardPageTest, AmountIconsByPageAndThreshold)
{
    struct TRow
    {
        TCardKind Kind;
        double Amount;
        const char* Icon;
    };
    const TRow Rows[] = {
        {ckBill, 0, "Res/Money0.ico"},           {ckBill, 0.01, "Res/Purple+.ico"},
        {ckBill, 3000, "Res/Purple+.ico"},       {ckBill, 3000.01, "Res/Purple++.ico"},
        {ckBill, -3000.01, "Res/Purple++.ico"},  {ckBill, 10000.01, "Res/Purple+++.ico"},
        {ckMoney, 10000, "Res/Green++.ico"},     {ckMoney, -10000.5, "Res/Green+++.ico"},
        {ckCustomer, 30000, "Res/Blue+.ico"},    {ckCustomer, 100000.01, "Res/Blue+++.ico"},
        {ckAccount, -0.01, "Res/Yellow+.ico"},   {ckAccount, 30001, "Res/Yellow++.ico"},
        {ckAccount, 0, "Res/Money0.ico"},
    };
    for (const TRow& R : Rows) {
        SCOPED_TRACE(R.Icon);
        EXPECT_EQ(AmountIcon(R.Kind, R.Amount), QString::fromLatin1(R.Icon));
    }
}

TEST_F(CardPageTest, DocumentCardsShowKindPaidAmountAndSign)
{
    AddBill(QStringLiteral("甲"), 3000, QStringLiteral("2024-03-15"));
    AddBill(QStringLiteral("乙"), -3000.01, QStringLiteral("2024-03-15"));
    AddMoney(QStringLiteral("甲"), 1000, QStringLiteral("2024-03-15"), 0, 2);
    AddMoney(QStringLiteral("甲"), 234.567, QStringLiteral("2024-03-15"), 0, 2);
    AddMoney(QStringLiteral("乙"), -500, QStringLiteral("2024-03-15"), 0, 3);
    Settings.Range = QStringLiteral("当天单据");
    Settings.Order = QStringLiteral("按记录号");
    TCardPage* Bills = Page(ckBill);
    ASSERT_TRUE(Bills->Refresh());
    EXPECT_EQ(Cards(Bills), (QStringList{QStringLiteral("甲|3000 元|1234.57 元|销售单"),
                                         QStringLiteral("乙|3000.01 元|500 元|采购单")}));
    EXPECT_EQ(TextColor(Bills->Moneys[1]), ColorToQColor(CardNegativeColor));
    EXPECT_EQ(Bills->Panels[0]->Tag(), 2);

    TCardPage* Money = Page(ckMoney);
    ASSERT_TRUE(Money->Refresh());
    EXPECT_EQ(Cards(Money), (QStringList{QStringLiteral("甲|1000 元|货款‖收据|收入单"),
                                         QStringLiteral("甲|234.567 元|货款‖收据|收入单"),
                                         QStringLiteral("乙|500 元|货款‖收据|支出单")}));
}

TEST_F(CardPageTest, RangeAndDirectionOfDocumentCards)
{
    AddBill(QStringLiteral("甲"), 1, QStringLiteral("2024-03-15"));
    AddBill(QStringLiteral("乙"), 2, QStringLiteral("2024-03-01"));
    AddBill(QStringLiteral("丙"), 3, QStringLiteral("2024-03-15"));
    AddBill(QStringLiteral("丁"), 4, QStringLiteral("2024-04-01"));
    AddBill(QStringLiteral("戊"), 5, QStringLiteral("2024-02-29"));
    TCardPage* P = Page(ckBill);
    auto Names = [&] {
        QStringList N;
        for (const QString& Line : Cards(P))
            N << Line.section(u'|', 0, 0);
        return N.join(u',');
    };
    struct TRow
    {
        const char* Range;
        const char* Order;
        const char* Direction;
        const char* Names;
    };
    const TRow Rows[] = {
        {"当天单据", "按记录号", "按升序排", "甲,丙"},
        {"当天单据", "按记录号", "按降序排", "丙,甲"},
        {"当月单据", "按记录号", "按升序排", "甲,乙,丙"},
        // Newest day first, and within a day the later record first.
        {"当月单据", "按日期时间", "按降序排", "丙,甲,乙"},
        {"当月单据", "按日期时间", "按升序排", "乙,甲,丙"},
    };
    for (const TRow& R : Rows) {
        SCOPED_TRACE(std::string(R.Range) + R.Order + R.Direction);
        Settings.Range = QString::fromUtf8(R.Range);
        Settings.Order = QString::fromUtf8(R.Order);
        Settings.Direction = QString::fromUtf8(R.Direction);
        ASSERT_TRUE(P->Refresh());
        EXPECT_EQ(Names(), QString::fromUtf8(R.Names));
    }
}

TEST_F(CardPageTest, AccountTotalCoversEveryPage)
{
    for (int I = 0; I < 17; ++I)
        AddAccountRow(QStringLiteral("帐户%1").arg(I), 100);
    // Account 2 is the first listed one (row 1 is reserved).
    AddMoney(QStringLiteral("甲"), 50.125, QStringLiteral("2024-03-15"), 2);
    AddMoney(QStringLiteral("甲"), -20, QStringLiteral("2024-02-10"), 2);
    AddMoney(QStringLiteral("甲"), 999, QStringLiteral("2024-03-16"), 2);
    AddMoney(QStringLiteral("甲"), 7, QStringLiteral("2024-01-01"), 18);
    TCardPage* P = Page(ckAccount);
    ASSERT_TRUE(P->Refresh());
    EXPECT_EQ(VisibleCards(P), 15);
    // 17 x 100 + round(50.125 - 20, 2) + 7, halves to even; the month has the 16th too
    EXPECT_EQ(P->SumLabel->text(), QStringLiteral("合计：1737.12 元"));
    EXPECT_EQ(Cards(P).first(), QStringLiteral("帐户0|130.12 元|1049.12 元|"));
    EXPECT_TRUE(P->NextButton->isEnabled());
    P->NextButton->Click();
    EXPECT_EQ(Cards(P), (QStringList{QStringLiteral("帐户15|100 元|0 元|"), QStringLiteral("帐户16|107 元|0 元|")}));
    EXPECT_EQ(P->SumLabel->text(), QStringLiteral("合计：1737.12 元"));
}

TEST_F(CardPageTest, NoAccountsGiveZeroTotal)
{
    TCardPage* P = Page(ckAccount);
    ASSERT_TRUE(P->Refresh());
    EXPECT_EQ(P->SumLabel->text(), QStringLiteral("合计：0 元"));
    EXPECT_FALSE(P->NoDataImage->isHidden());
}

TEST_F(CardPageTest, SalesmanSeesOnlyHisRows)
{
    AddCustomer(QStringLiteral("甲"), 0, QStringLiteral("小王"));
    AddCustomer(QStringLiteral("乙"), 0, QStringLiteral("小李"));
    AddBill(QStringLiteral("甲"), 10, QStringLiteral("2024-03-15"), QStringLiteral("小王"));
    AddBill(QStringLiteral("乙"), 20, QStringLiteral("2024-03-15"), QStringLiteral("小李"));
    AddMoney(QStringLiteral("甲"), 10, QStringLiteral("2024-03-15"), 0, 0, QStringLiteral("小王"));
    AddMoney(QStringLiteral("乙"), 20, QStringLiteral("2024-03-15"), 0, 0, QStringLiteral("小李"));
    AddAccountRow(QStringLiteral("公司"), 0, QStringLiteral("财务主管"));
    AddAccountRow(QStringLiteral("王的"), 0, QStringLiteral("小王"));
    AddAccountRow(QStringLiteral("李的"), 0, QStringLiteral("小李"));
    CurrentUser = QStringLiteral("小王");
    CustomerFilter = QStringLiteral(" And (CustomerMan = '小王')");
    AccountFilter = QStringLiteral(" And (AccountMan = '财务主管' Or AccountMan = '小王')");
    BillFilter = QStringLiteral(" And (BillMan = '小王')");
    MoneyFilter = QStringLiteral(" And (MoneyMan = '小王')");
    Settings.Range = QStringLiteral("当天单据");
    struct TRow
    {
        TCardKind Kind;
        const char* Names;
    };
    const TRow Rows[] = {{ckCustomer, "甲"}, {ckBill, "甲"}, {ckMoney, "甲"}, {ckAccount, "公司,王的"}};
    for (const TRow& R : Rows) {
        SCOPED_TRACE(CardPageWord(R.Kind).toStdString());
        TCardPage* P = Page(R.Kind);
        ASSERT_TRUE(P->Refresh());
        QStringList N;
        for (const QString& Line : Cards(P))
            N << Line.section(u'|', 0, 0);
        EXPECT_EQ(N.join(u','), QString::fromUtf8(R.Names));
    }
}

TEST_F(CardPageTest, FailedStatementLeavesThePageAsItWas)
{
    for (int I = 0; I < 16; ++I)
        AddCustomer(QStringLiteral("客户%1").arg(I));
    TCardPage* P = Page(ckCustomer);
    ASSERT_TRUE(P->Refresh());
    const QStringList Before = Cards(P);
    const QString Caption = P->SumLabel->text();
    AddCustomer(QStringLiteral("乙"));
    Settings.SearchCondition = QStringLiteral(" And (NoSuchColumn = 1)");
    TModalSeam::ClearMessages();
    EXPECT_FALSE(P->Refresh());
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("刷新客户时出错")});
    EXPECT_EQ(Cards(P), Before);
    EXPECT_EQ(P->SumLabel->text(), Caption);
    EXPECT_TRUE(P->NextButton->isEnabled());
}

TEST_F(CardPageTest, SearchOnDocumentDatesKeepsEachCustomerOnce)
{
    AddCustomer(QStringLiteral("甲"));
    AddCustomer(QStringLiteral("乙"));
    AddBill(QStringLiteral("甲"), 1, QStringLiteral("2024-03-01"));
    AddBill(QStringLiteral("甲"), 2, QStringLiteral("2024-03-02"));
    AddBill(QStringLiteral("乙"), 2, QStringLiteral("2024-05-02"));
    Settings.SearchCondition = QStringLiteral(" And (BillCreateTime Between #2024-03-01# And #2024-03-31#)");
    TCardPage* P = Page(ckCustomer);
    ASSERT_TRUE(P->Refresh());
    EXPECT_EQ(Cards(P), QStringList{QStringLiteral("甲|3 元|3 元|")});
}

TEST_F(CardPageTest, HoverHighlightsOneCard)
{
    for (int I = 0; I < 4; ++I)
        AddCustomer(QStringLiteral("客户%1").arg(I));
    TCardPage* P = Page(ckCustomer);
    ASSERT_TRUE(P->Refresh());
    auto Hot = [&] {
        QString S;
        for (const TCardPanel* Panel : P->Panels)
            S += Panel->Color() == CardHotColor ? u'#' : (Panel->Color() == clBtnFace ? u'.' : u'?');
        return S;
    };
    QMouseEvent Move(QEvent::MouseMove, QPointF(100, 40), P->Panels[2]->mapToGlobal(QPointF(100, 40)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(P->Panels[2], &Move);
    EXPECT_EQ(Hot(), QStringLiteral("..#............"));
    P->HighlightCard(4);
    EXPECT_EQ(Hot(), QStringLiteral("...#..........."));
    QMouseEvent Away(QEvent::MouseMove, QPointF(5, 500), P->Sheet()->mapToGlobal(QPointF(5, 500)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(P->Sheet(), &Away);
    EXPECT_EQ(Hot(), QStringLiteral("..............."));
}

TEST_F(CardPageTest, ClickReportsTheCard)
{
    AddCustomer(QStringLiteral("甲"));
    AddCustomer(QStringLiteral("乙"));
    TCardPage* P = Page(ckCustomer);
    Settings.Order = QStringLiteral("按编号排");
    ASSERT_TRUE(P->Refresh());
    int Clicked = 0;
    P->OnCardClick = [&](TCardPage*, int Number) { Clicked = Number; };
    P->Panels[1]->Click();
    EXPECT_EQ(Clicked, 2);
    EXPECT_EQ(P->Panels[1]->Tag(), 3);
}

TEST_F(CardPageTest, NewAccountChecksAndStores)
{
    CurrentUser = QStringLiteral("财务主管");
    AddAccountRow(QStringLiteral("现金"), 0);
    struct TRow
    {
        const char* Name;
        bool Added;
        const char* Message;
    };
    const TRow Rows[] = {
        {"", false, "帐户名不得为空"},
        {"现金", false, "该帐户名已经存在，请重新操作"},
        {"工商银行", true, "帐户　工商银行　新增成功"},
        {"O'Neil", true, "帐户　O'Neil　新增成功"},
    };
    for (const TRow& R : Rows) {
        SCOPED_TRACE(R.Message);
        TModalSeam::ClearMessages();
        EXPECT_EQ(AddAccount(QString::fromUtf8(R.Name), 12.5), R.Added);
        EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QString::fromUtf8(R.Message)});
    }
    EXPECT_EQ(Scalar(QStringLiteral("Select AccountBase || '|' || AccountMan From Account Where AccountName = '工商银行'")),
              QStringLiteral("12.5|财务主管"));
}

TEST_F(CardPageTest, VanishedDocumentIsReported)
{
    AddBill(QStringLiteral("甲"), -5, QStringLiteral("2024-03-15"));
    AddMoney(QStringLiteral("甲"), -5, QStringLiteral("2024-03-15"));
    EXPECT_EQ(CardDocumentKind(ckBill, 2), QStringLiteral("采购开单"));
    EXPECT_EQ(CardDocumentKind(ckMoney, 2), QStringLiteral("财务支出单"));
    Exec(QStringLiteral("Delete From Bill Where BillIndex = 2"));
    TModalSeam::ClearMessages();
    EXPECT_EQ(CardDocumentKind(ckBill, 2), QString());
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("找不到要修改的记录")});
}

TEST_F(CardPageTest, IconThatAppearsLaterIsShown)
{
    const QString Built = QCoreApplication::applicationDirPath() + QStringLiteral("/Res/Blue+.ico");
    if (!QFile::exists(Built))
        GTEST_SKIP() << "the program's pictures are not built";
    AddCustomer(QStringLiteral("甲"));
    AddBill(QStringLiteral("甲"), 10, QStringLiteral("2024-03-01"));
    TCardPage* P = Page(ckCustomer);
    ASSERT_TRUE(P->Refresh());
    EXPECT_TRUE(P->Images[0]->Picture()->Empty());
    QDir().mkpath(AppPath + QStringLiteral("Res"));
    ASSERT_TRUE(QFile::copy(Built, AppPath + QStringLiteral("Res/Blue+.ico")));
    ASSERT_TRUE(P->Refresh());
    EXPECT_EQ(P->Images[0]->Picture()->Width(), 32);
}
