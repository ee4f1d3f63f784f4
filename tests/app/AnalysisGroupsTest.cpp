// Grouping the document list into chart points and the summary figures.
#include "app/AnalysisFormGroups.h"

#include <gtest/gtest.h>

namespace {

TDateTime Day(int Y, int M, int D)
{
    return EncodeDate(Y, M, D);
}

TAnalysisRow Row(const char* User, TDateTime Created, double Sum, const char* Man = "张三", const char* Reason = "批发",
                 const char* State = "完成", const char* Kind = "销售开单", double Get = 0)
{
    TAnalysisRow R;
    R.BillUser = QString::fromUtf8(User);
    R.BillCreateTime = Created;
    R.BillSum = Sum;
    R.BillGet = Get;
    R.BillOwe = Sum - Get;
    R.BillMan = QString::fromUtf8(Man);
    R.BillReason = QString::fromUtf8(Reason);
    R.BillState = QString::fromUtf8(State);
    R.BillKind = QString::fromUtf8(Kind);
    return R;
}

QString Render(const std::vector<TChartPoint>& Points)
{
    QStringList Parts;
    for (const TChartPoint& P : Points)
        Parts << P.Label + u'=' + QString::number(P.Value);
    return Parts.join(u'|');
}

QString Group(const std::vector<TAnalysisRow>& Rows, const char* Key, const char* Value, TDateTime Start = 0,
              TDateTime End = 0)
{
    TChartGrouping G;
    G.Key = QString::fromUtf8(Key);
    G.ValueName = QString::fromUtf8(Value);
    G.Start = Start;
    G.End = End;
    return Render(GroupChartPoints(Rows, G));
}

} // namespace

TEST(AnalysisGroups, Keys)
{
    const std::vector<TAnalysisRow> Rows = {
        Row("甲", Day(2024, 3, 1), 100.4, "张三", "批发", "完成"),
        Row("甲", Day(2024, 3, 2), 50.5, "李四", "零售", "进行"),
        Row("乙", Day(2024, 4, 2), 300.6, "张三", "批发", "完成"),
        Row("丙", Day(2025, 1, 9), 7, "", "", ""),
    };
    const struct { const char* Name; const char* Key; const char* Value; const char* Points; } Cases[] = {
        {"salesman", "BillMan", "应收款", "张三=401|李四=50|（未填写）=7"},
        {"kind", "BillReason", "订单数目", "批发=2|零售=1|（未填写）=1"},
        {"progress", "BillState", "未收款", "完成=401|进行=50|（未填写）=7"},
        {"customer", "BillUser", "应收款", "乙=301|甲=150|丙=7"},
        {"month", "月统计", "应收款", "2024-3=150|2024-4=301|2024-5=0"},
        {"year", "年统计", "订单数目", "2024=3|2025=1"},
        {"day outside range", "日统计", "订单数目", "2024-03-02=1|2024-03-03=0"},
    };
    const TDateTime Ranges[][2] = {{0, 0}, {0, 0}, {0, 0}, {0, 0},
                                   {Day(2024, 3, 1), Day(2024, 5, 31)},
                                   {Day(2024, 1, 1), Day(2025, 12, 31)},
                                   {Day(2024, 3, 2), Day(2024, 3, 3)}};
    for (size_t I = 0; I < std::size(Cases); ++I) {
        SCOPED_TRACE(Cases[I].Name);
        EXPECT_EQ(Group(Rows, Cases[I].Key, Cases[I].Value, Ranges[I][0], Ranges[I][1]),
                  QString::fromUtf8(Cases[I].Points));
    }
}

TEST(AnalysisGroups, PeriodsBeyondTheRowCountAndTheFirstTwenty)
{
    // A 31-day month charts its first 20 days.
    std::vector<TAnalysisRow> Rows;
    for (int D = 1; D <= 31; ++D)
        Rows.push_back(Row("甲", Day(2024, 1, D), D));
    const QString Month = Group(Rows, "日统计", "应收款", Day(2024, 1, 1), Day(2024, 1, 31));
    EXPECT_EQ(Month.count(u'|'), 19);
    EXPECT_TRUE(Month.startsWith(QStringLiteral("2024-01-01=1|2024-01-02=2|")));
    EXPECT_TRUE(Month.endsWith(QStringLiteral("|2024-01-20=20")));
    // 40 days but 3 rows: every period has its slot, so the rows land on their own days.
    Rows = {Row("甲", Day(2024, 1, 2), 5), Row("乙", Day(2024, 1, 15), 6), Row("丙", Day(2024, 2, 8), 7)};
    const QString Forty = Group(Rows, "日统计", "应收款", Day(2024, 1, 1), Day(2024, 2, 9));
    EXPECT_TRUE(Forty.contains(QStringLiteral("|2024-01-02=5|")));
    EXPECT_TRUE(Forty.contains(QStringLiteral("|2024-01-15=6|")));
    EXPECT_FALSE(Forty.contains(QStringLiteral("2024-02-08")));
    EXPECT_EQ(Forty.count(u'|'), 19);
}

TEST(AnalysisGroups, LargestTwentyGroupsTiesKeepTheirOrder)
{
    std::vector<TAnalysisRow> Rows;
    for (int I = 1; I <= 25; ++I)
        Rows.push_back(Row(qPrintable(QStringLiteral("客户%1").arg(I)), Day(2024, 1, 1), I));
    const QString Top = Group(Rows, "BillUser", "应收款");
    EXPECT_TRUE(Top.startsWith(QStringLiteral("客户25=25|客户24=24|")));
    EXPECT_TRUE(Top.endsWith(QStringLiteral("|客户6=6")));
    EXPECT_EQ(Top.count(u'|'), 19);
    Rows = {Row("甲", 0, 1), Row("乙", 0, 2), Row("丙", 0, 1), Row("丁", 0, 2)};
    EXPECT_EQ(Group(Rows, "BillUser", "应收款"), QStringLiteral("乙=2|丁=2|甲=1|丙=1"));
}

TEST(AnalysisGroups, CustomerCountCountsEachCustomerAtItsFirstRow)
{
    // Rows in the list's order: customer, then date.
    const std::vector<TAnalysisRow> Rows = {
        Row("甲", Day(2024, 1, 1), 0, "张三"), Row("甲", Day(2024, 2, 1), 0, "李四"),
        Row("乙", Day(2024, 1, 5), 0, "李四"), Row("乙", Day(2024, 1, 6), 0, "李四"),
        Row("丙", Day(2024, 2, 3), 0, "王五"),
    };
    EXPECT_EQ(Group(Rows, "BillMan", "客户数目"), QStringLiteral("张三=1|李四=1|王五=1"));
    EXPECT_EQ(Group(Rows, "月统计", "客户数目", Day(2024, 1, 1), Day(2024, 2, 29)), QStringLiteral("2024-1=2|2024-2=1"));
}

TEST(AnalysisGroups, WholeNumbersAndWideSums)
{
    std::vector<TAnalysisRow> Rows(3, Row("甲", 0, 2000000000.0));
    Rows.push_back(Row("乙", 0, 2.5));
    Rows.push_back(Row("丙", 0, 3.5));
    EXPECT_EQ(Group(Rows, "BillUser", "应收款"), QStringLiteral("甲=6000000000|丙=4|乙=2"));
}

TEST(AnalysisGroups, SummaryValues)
{
    const std::vector<TAnalysisRow> Rows = {
        Row("甲", 0, 1000, "", "", "", "销售开单", 600),
        Row("乙", 0, 500, "", "", "", "销售开单", 500),
        Row("丙", 0, -800, "", "", "", "采购开单", -300),
    };
    const std::vector<double> V = AnalysisLabelValues(SumAnalysisRows(Rows));
    const std::vector<double> Expected = {1500, 1100, 400, 800, 300, 500, 300, 700, 800};
    EXPECT_EQ(V, Expected);
}
