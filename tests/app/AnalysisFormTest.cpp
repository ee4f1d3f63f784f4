// The sales-analysis window: who may open it, the summary labels over the
// produced list, and its charts as drawn.
#include "ProgramFixture.h"

#include "app/AnalysisForm.h"
#include "platform/gui/TestRender.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPieSeries>
#include <QTabWidget>

class AnalysisForm : public TProgramFixture
{
protected:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        Application()->CreateForm(FormAnalysis);
        FormMain->BReportADOQuery->SetConnection(ShareDataModule->ADOConnection1);
        QDir().mkpath(AppPath + QStringLiteral("Res"));
        QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/Res/Analysis.bmp"),
                    AppPath + QStringLiteral("Res/Analysis.bmp"));
        Exec(QStringLiteral("Insert Into Bill (BillKind, BillUser, BillSum, BillMan, BillReason, BillState, "
                            "BillCreateTime) Values "
                            "('销售开单', '北京华联', 1200, '张三', '批发', '完成', '2024-03-02 00:00:00'), "
                            "('销售开单', '上海一百', 800, '李四', '零售', '进行', '2024-03-09 00:00:00'), "
                            "('采购开单', '广州供货', -600, '张三', '采购', '完成', '2024-03-12 00:00:00')"));
        const int Sale = Scalar(QStringLiteral("Select BillIndex From Bill Where BillUser = '北京华联'")).toInt();
        Exec(QStringLiteral("Insert Into MoneyTable (MoneyBill, MoneyUser, MoneySum) Values (%1, '北京华联', 1000)")
                 .arg(Sale));
        Exec(QStringLiteral("Insert Into MoneyTable (MoneyBill, MoneyUser, MoneySum) Values (%1, '广州供货', -250)")
                 .arg(Sale + 2));
        // The reserved row carries a date in the month and an amount; no list shows it.
        Exec(QStringLiteral("Update Bill Set BillKind = '销售开单', BillSum = 500, BillCreateTime = '2024-03-05 00:00:00' "
                            "Where BillIndex = 1"));
        FormMain->SetWorkingDay(EncodeDate(2024, 3, 15));
    }
    void TearDown() override
    {
        FormAnalysis = nullptr;
        TProgramFixture::TearDown();
    }
    // The month's documents, as the filter window's quick query asks for them.
    void ProduceList(const QString& Condition = QString())
    {
        FormMain->RunBillReport(QStringLiteral(
            "Select BillIndex,BillCreateTime,BillSerial,BillKind,BillUser,BillSum,IIF(Round(Sum(MoneySum),2) Is "
            "Null,0,Round(Sum(MoneySum),2)) As BillGet,BillSum-IIF(Round(Sum(MoneySum),2) Is "
            "Null,0,Round(Sum(MoneySum),2)) As BillOwe,BillMan,BillReason,BillState,BillRemark From (Bill Left Join "
            "MoneyTable On Bill.BillIndex = MoneyTable.MoneyBill) Where (BillCreateTime Between #2024-03-01# And "
            "#2024-03-31#)") + Condition);
    }
    QString SummaryTexts()
    {
        QStringList Texts;
        Open(QStringLiteral("总经理"), [&] {
            for (QLabel* L : FormAnalysis->SummaryLabels())
                Texts << L->text();
        });
        return Texts.join(u'|');
    }
    // Opens the window as the role would; the window's checks run inside.
    int Open(const QString& Role, const std::function<void()>& Inside = {})
    {
        CurrentRole = Role;
        int Shown = 0;
        TModalHandlers Handlers(
            [&](TForm*) {
                ++Shown;
                if (Inside)
                    Inside();
                return mrCancel;
            },
            nullptr);
        FormMain->ActionAnalysisExecute(nullptr);
        Messages = TModalSeam::MessageTexts();
        return Shown;
    }
    QStringList Messages;
};

TEST_F(AnalysisForm, OpeningRules)
{
    EXPECT_EQ(Open(QStringLiteral("业务员")), 0);
    EXPECT_EQ(Messages, QStringList{QStringLiteral("请以财务主管，财务总监，或总经理身份登录软件，查看经营报表")});
    EXPECT_EQ(Open(QStringLiteral("财务主管")), 0);
    EXPECT_EQ(Messages, QStringList{QStringLiteral("请先“查找单据”，生成数据报表，再进行图形分析")});
    // A search whose statement failed leaves no list to analyse.
    FormMain->RunBillReport(QStringLiteral("Select NoSuchColumn From Bill Where (1 = 1)"));
    EXPECT_EQ(Open(QStringLiteral("财务主管")), 0);
    EXPECT_EQ(Messages, QStringList{QStringLiteral("请先“查找单据”，生成数据报表，再进行图形分析")});
    ProduceList();
    EXPECT_EQ(Open(QStringLiteral("总经理")), 1);
    EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(AnalysisForm, SummaryAndCharts)
{
    ProduceList();
    QStringList Labels;
    QString Bars, Pie;
    Open(QStringLiteral("总经理"), [&] {
        for (QLabel* L : FormAnalysis->SummaryLabels())
            Labels << L->text();
        FormAnalysis->PageControl1->setCurrentIndex(3);
        const QImage BarShot = RenderWidget(FormAnalysis);
        auto* Series = qobject_cast<QBarSeries*>(FormAnalysis->Chart3->chart()->series().value(0));
        ASSERT_TRUE(Series);
        for (QBarSet* Set : Series->barSets())
            Bars += Set->label() + u'=' + QString::number(Set->at(0)) + u' ';
        FormAnalysis->ComboBox1->setCurrentIndex(1);
        auto* Slices = qobject_cast<QPieSeries*>(FormAnalysis->Chart3->chart()->series().value(0));
        ASSERT_TRUE(Slices);
        Pie = QString::number(Slices->count());
        FormAnalysis->PageControl1->setCurrentIndex(1);
        const QImage PieShot = RenderWidget(FormAnalysis);
        FormAnalysis->PageControl1->setCurrentIndex(0);
        const QImage Summary = RenderWidget(FormAnalysis);
        EXPECT_NE(BarShot, PieShot);
        const QString Keep = QString::fromLocal8Bit(qgetenv("TB_IMAGES_DIR"));
        if (!Keep.isEmpty()) {
            BarShot.save(Keep + QStringLiteral("/analysis-bars.png"));
            PieShot.save(Keep + QStringLiteral("/analysis-pie.png"));
            Summary.save(Keep + QStringLiteral("/analysis.png"));
        }
    });
    EXPECT_EQ(Labels.join(u'|'), QStringLiteral("2000|1000|1000|600|250|350|400|1400|750"));
    EXPECT_EQ(Bars, QStringLiteral("北京华联=1200 上海一百=800 广州供货=-600 "));
    EXPECT_EQ(Pie, QStringLiteral("3"));

    // A list without rows sums to nothing, as its footers do.
    ProduceList(QStringLiteral(" And (BillUser = '无')"));
    EXPECT_EQ(SummaryTexts(), QStringLiteral("0|0|0|0|0|0|0|0|0"));
}
