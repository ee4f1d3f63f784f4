// Number and date formatting: the grid and the report engine format every visible
// cell through these on each repaint.
#include "platform/rtl/SysUtils.h"

#include <benchmark/benchmark.h>

namespace {

const double Values[] = {0, 1234.5678, -98765.4321, 0.000123, 1e15, 12.5, 1.0 / 3, 45351.75};

void BM_FloatToStr(benchmark::State& State)
{
    for (auto _ : State)
        for (double V : Values)
            benchmark::DoNotOptimize(FloatToStr(V));
}
BENCHMARK(BM_FloatToStr);

void BM_FormatFloat(benchmark::State& State)
{
    const QString Picture = QStringLiteral("#,##0.00;(#,##0.00);'-'");
    for (auto _ : State)
        for (double V : Values)
            benchmark::DoNotOptimize(FormatFloat(Picture, V));
}
BENCHMARK(BM_FormatFloat);

void BM_FormatDateTime(benchmark::State& State)
{
    const QString Picture = QStringLiteral("yyyy-mm-dd hh:nn:ss");
    for (auto _ : State)
        for (double V : Values)
            benchmark::DoNotOptimize(FormatDateTime(Picture, V + 40000));
}
BENCHMARK(BM_FormatDateTime);

void BM_StrToFloat(benchmark::State& State)
{
    const QString Texts[] = {QStringLiteral("1234.5678"), QStringLiteral("-0.000123"), QStringLiteral("1e15")};
    for (auto _ : State)
        for (const QString& T : Texts)
            benchmark::DoNotOptimize(StrToFloat(T));
}
BENCHMARK(BM_StrToFloat);

} // namespace

BENCHMARK_MAIN();
