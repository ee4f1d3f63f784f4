// The card pages on the main window: the login's refresh, the boxes and the
// working day that reorder and recount them, hover, clicks and new accounts.
#include "ProgramFixture.h"

#include "app/BuySellForm.h"
#include "app/CardPage.h"
#include "app/GetPayForm.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TestRender.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QTabWidget>
#include <QLabel>
#include <algorithm>
#include <map>

namespace {

const TDateTime TheWorkingDay = EncodeDate(2024, 3, 15);

QString Names(const TCardPage* Page)
{
    QStringList N;
    for (int I = 0; I < CardsPerPage; ++I)
        if (!Page->Panels[I]->isHidden())
            N << Page->Names[I]->text();
    return N.join(u',');
}

} // namespace

class MainFormCards : public TProgramFixture
{
protected:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        for (const char* Name : {"甲", "乙"})
            Exec(QStringLiteral("Insert Into Customer (CustomerName) Values ('%1')").arg(QString::fromUtf8(Name)));
        Exec(QStringLiteral("Insert Into Bill (BillKind, BillUser, BillSum, BillCreateTime) Values "
                            "('销售开单', '甲', 100, '2024-03-14 00:00:00'), ('采购开单', '乙', -50, '2024-03-15 00:00:00')"));
        Exec(QStringLiteral("Insert Into MoneyTable (MoneyUser, MoneySum, MoneyCreateTime) Values "
                            "('甲', 30, '2024-03-15 00:00:00'), ('乙', -20, '2024-03-15 00:00:00')"));
        Exec(QStringLiteral("Insert Into Account (AccountName, AccountBase, AccountMan) Values ('现金', 10, '财务主管')"));
        TModalHandlers Handlers(User({Press(FormLogin->SpeedButton4)}), nullptr);
        FormMain->Show();
        ASSERT_FALSE(Application()->Terminated());
        FormMain->SetWorkingDay(TheWorkingDay);
        FormMain->RefreshAll();
    }
};

TEST_F(MainFormCards, RefreshAllFillsTheFourPages)
{
    // The defaults: customers by number descending, today's documents by record number descending.
    EXPECT_EQ(Names(FormMain->CustomerCards), QStringLiteral("乙,甲"));
    EXPECT_EQ(Names(FormMain->BillCards), QStringLiteral("乙"));
    EXPECT_EQ(Names(FormMain->MoneyCards), QStringLiteral("乙,甲"));
    EXPECT_EQ(Names(FormMain->AccountCards), QStringLiteral("现金"));
    EXPECT_EQ(FormMain->AccountCards->SumLabel->text(), QStringLiteral("合计：10 元"));
    EXPECT_EQ(FormMain->CustomerCards->Moneys[1]->text(), QStringLiteral("100 元"));
    EXPECT_EQ(FormMain->findChild<QLabel*>(QStringLiteral("CustomerSum"))->text(), QStringLiteral("共 2 记录，第 1/1 页"));
    EXPECT_NE(FormMain->findChild<TCardPanel*>(QStringLiteral("MoneyPanel15")), nullptr);
}

TEST_F(MainFormCards, BoxesReorderAndRecountTheirPage)
{
    FormMain->ComboBox12->setCurrentIndex(0); // 按升序排
    EXPECT_EQ(Names(FormMain->MoneyCards), QStringLiteral("甲,乙"));
    FormMain->ComboBox3->setCurrentIndex(1); // 当月单据
    EXPECT_EQ(Names(FormMain->BillCards), QStringLiteral("乙,甲"));
    FormMain->ComboBox7->setCurrentIndex(0);
    EXPECT_EQ(Names(FormMain->CustomerCards), QStringLiteral("甲,乙"));
}

TEST_F(MainFormCards, TheDayBeforeCountsLess)
{
    FormMain->BitBtn1->Click();
    EXPECT_EQ(Names(FormMain->BillCards), QStringLiteral("甲"));
    EXPECT_EQ(Names(FormMain->MoneyCards), QString());
    EXPECT_FALSE(FormMain->MoneyCards->NoDataImage->isHidden());
    // 甲 owes its sale of the 14th; its receipt of the 15th is not yet counted.
    EXPECT_EQ(FormMain->CustomerCards->Extras[1]->text(), QStringLiteral("100 元"));
    FormMain->BitBtn2->Click();
    EXPECT_EQ(FormMain->CustomerCards->Extras[1]->text(), QStringLiteral("70 元"));
}

TEST_F(MainFormCards, HoverByPageWord)
{
    FormMain->HighlightCard(QStringLiteral("Money"), 2);
    EXPECT_EQ(FormMain->MoneyCards->Panels[1]->Color(), CardHotColor);
    EXPECT_EQ(FormMain->BillCards->Panels[1]->Color(), clBtnFace);
    FormMain->HighlightCard(QStringLiteral("Money"), 0);
    EXPECT_EQ(FormMain->MoneyCards->Panels[1]->Color(), clBtnFace);
}

TEST_F(MainFormCards, VanishedDocumentCardOpensNothing)
{
    // The windows the cards open are there, so only the check keeps them shut.
    FormBuySell = new TFormBuySell();
    FormGetPay = new TFormGetPay();
    struct TCase { const char* Table; TCardPage* Page; };
    const TCase Cases[] = {{"Bill", FormMain->BillCards}, {"MoneyTable", FormMain->MoneyCards}};
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Table);
        Exec(QStringLiteral("Delete From ") + QString::fromLatin1(C.Table));
        FormBuySell->Mode = FormGetPay->Mode = QString();
        TModalHandlers Handlers(nullptr, [](const TMessageRequest&) { return mrOk; });
        C.Page->Panels[0]->Click();
        EXPECT_EQ(FormBuySell->Mode + FormGetPay->Mode, QString()) << "a window was handed the card";
        EXPECT_EQ(TModalSeam::MessageTexts().join(u'|'), QStringLiteral("找不到要修改的记录"));
    }
    delete FormGetPay;
    FormGetPay = nullptr;
    delete FormBuySell;
    FormBuySell = nullptr;
}

TEST_F(MainFormCards, NewAccountShowsOnItsPage)
{
    TModalHandlers Handlers(nullptr, [](const TMessageRequest&) { return mrOk; });
    FormMain->AddNewAccount(QStringLiteral("银行"), 5);
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("帐户　银行　新增成功")});
    EXPECT_EQ(Names(FormMain->AccountCards), QStringLiteral("现金,银行"));
    EXPECT_EQ(FormMain->AccountCards->SumLabel->text(), QStringLiteral("合计：15 元"));
}

// The customer page of a small firm, one card under the mouse, rendered as a
// user sees it; TB_CARDS_PNG names a file to keep the picture in.
TEST_F(MainFormCards, RenderedCustomerPage)
{
    const QString Res = QCoreApplication::applicationDirPath() + QStringLiteral("/Res/");
    QDir().mkpath(AppPath + QStringLiteral("Res"));
    for (const QString& File : QDir(Res).entryList(QDir::Files))
        QFile::copy(Res + File, AppPath + QStringLiteral("Res/") + File);
    const struct
    {
        const char* Name;
        const char* Contact;
        double Sale;
        double Paid;
    } Firms[] = {
        {"华东机电设备有限公司", "王建国", 128000, 20000}, {"明达五金", "李明达", 4500, 4500},
        {"杭州西湖茶叶贸易公司", "陈静", 36500.5, 10000}, {"蓝天办公用品", "赵蓝天", -2600, 0},
        {"顺丰物流服务部", "刘顺", 0, 0},                    {"金穗粮油批发中心", "孙金穗", 88000, 88000},
        {"新世纪电脑城", "周新", 15200, 3000},              {"宏远建材", "吴宏远", -45800, -20000},
        {"佳美装饰工程有限公司", "郑佳美", 9900, 0},        {"恒通汽车配件", "冯恒通", 230000, 150000},
        {"绿源农业科技", "褚绿源", 1200, 1200},             {"长江印刷厂", "卫长江", 56000, 6000},
        {"星光文具店", "蒋星光", 380, 0}};
    Exec(QStringLiteral("Delete From Customer Where CustomerIndex > 1"));
    for (const auto& F : Firms) {
        const QString Name = QString::fromUtf8(F.Name);
        Exec(QStringLiteral("Insert Into Customer (CustomerName, CustomerContact) Values ('%1', '%2')")
                 .arg(Name, QString::fromUtf8(F.Contact)));
        if (F.Sale != 0)
            Exec(QStringLiteral("Insert Into Bill (BillKind, BillUser, BillSum, BillCreateTime) Values ('%1', '%2', %3, "
                                "'2024-03-01 00:00:00')")
                     .arg(F.Sale > 0 ? QStringLiteral("销售开单") : QStringLiteral("采购开单"), Name)
                     .arg(F.Sale));
        if (F.Paid != 0)
            Exec(QStringLiteral("Insert Into MoneyTable (MoneyUser, MoneySum, MoneyCreateTime) Values ('%1', %2, "
                                "'2024-03-02 00:00:00')")
                     .arg(Name)
                     .arg(F.Paid));
    }
    FormMain->ComboBox7->setCurrentIndex(0);
    FormMain->PageControl1->setCurrentIndex(0);
    FormMain->Login->LoadGlyph(AppPath + QStringLiteral("Res/GreenFish.bmp"));
    FormMain->HighlightCard(QStringLiteral("Customer"), 5);
    const QImage Shot = RenderWidget(FormMain);
    const QByteArray Keep = qgetenv("TB_CARDS_PNG");
    if (!Keep.isEmpty())
        Shot.save(QString::fromLocal8Bit(Keep));
    // Read from the picture, card by card: its face (H under the mouse, P
    // plain, - no card drawn) and the colour of its sales amount.
    const auto Where = [](QWidget* W) { return QRect(W->mapTo(FormMain, QPoint()), W->size()); };
    const auto Face = [&](const QRect& R) {
        std::map<QRgb, int> Count;
        for (int Y = R.top(); Y <= R.bottom(); ++Y)
            for (int X = R.left(); X <= R.right(); ++X)
                ++Count[Shot.pixel(X, Y) & 0xFFFFFF];
        const QRgb Most = std::max_element(Count.begin(), Count.end(), [](const auto& A, const auto& B) {
                              return A.second < B.second;
                          })->first;
        return Most == (ColorToQColor(CardHotColor).rgb() & 0xFFFFFF) ? u'H'
            : Most == (ColorToQColor(clBtnFace).rgb() & 0xFFFFFF)     ? u'P'
                                                                       : u'-';
    };
    const auto Tint = [&](const QRect& R) {
        for (int Y = R.top(); Y <= R.bottom(); ++Y)
            for (int X = R.left(); X <= R.right(); ++X) {
                const QColor C = Shot.pixelColor(X, Y);
                if (C.green() < 100 && C.red() > 160 && C.blue() < 100)
                    return u'r';
                if (C.green() < 100 && C.blue() > 160 && C.red() < 100)
                    return u'b';
            }
        return u' ';
    };
    QStringList Cards;
    for (int I = 0; I < CardsPerPage; ++I) {
        const QChar Kind = Face(Where(FormMain->CustomerCards->Panels[I]));
        Cards << (Kind == u'-' ? QString(Kind) : QString(Kind) + Tint(Where(FormMain->CustomerCards->Moneys[I])));
    }
    EXPECT_EQ(Cards.join(u','), QStringLiteral("Pb,Pb,Pb,Pr,Hb,Pb,Pb,Pr,Pb,Pb,Pb,Pb,Pb,-,-"));
}
