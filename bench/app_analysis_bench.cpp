// The time chart of the sales-analysis window by day ("日统计") over a month
// of 3,000 documents: the widest range the date pickers allow (1752-09-14 to
// 9999-12-31) against the working month (target: within 1.5). Only the first
// 20 days are drawn, so the range must not cost more than the rows do.
#include "app/AnalysisFormGroups.h"
#include "BenchRatio.h"

#include <benchmark/benchmark.h>

namespace {

std::vector<TAnalysisRow> MonthOfDocuments()
{
    std::vector<TAnalysisRow> Rows;
    for (int I = 0; I < 3000; ++I) {
        TAnalysisRow Row;
        Row.BillCreateTime = EncodeDate(2024, 3, 1 + I % 31);
        Row.BillKind = QStringLiteral("销售开单");
        Row.BillUser = QStringLiteral("客户%1").arg(I % 300);
        Row.BillSum = 100 + I % 977;
        Rows.push_back(std::move(Row));
    }
    return Rows;
}

void BM_DayChart(benchmark::State& State, TDateTime Start, TDateTime End)
{
    const std::vector<TAnalysisRow> Rows = MonthOfDocuments();
    TChartGrouping Grouping;
    Grouping.Key = QStringLiteral("日统计");
    Grouping.ValueName = QStringLiteral("应收款");
    Grouping.Start = Start;
    Grouping.End = End;
    size_t Points = 0;
    for (auto _ : State) {
        const std::vector<TChartPoint> Chart = GroupChartPoints(Rows, Grouping);
        Points = Chart.size();
        benchmark::DoNotOptimize(Chart.data());
    }
    State.counters["points"] = double(Points);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("DayChartMonth", BM_DayChart, EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 31))
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("DayChartWidestRange", BM_DayChart, EncodeDate(1752, 9, 14), EncodeDate(9999, 12, 31))
        ->Unit(benchmark::kMicrosecond);
    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    Reporter.PrintRatio("DayChartWidestRange / DayChartMonth", "DayChartWidestRange", "DayChartMonth", 1.5);
    benchmark::Shutdown();
    return 0;
}
