// GBK conversion and measuring at the byte formats' edge: every memo line of a
// template passes through these on load, save and wrap.
#include "platform/rtl/GbkText.h"

#include <benchmark/benchmark.h>

namespace {

QString SampleLine()
{
    return QString::fromUtf8("2026年12月 销售汇总 Sales total: ￥12,345.67 壹万贰仟叁佰肆拾伍元陆角柒分");
}

void BM_ToGbk(benchmark::State& State)
{
    const QString Text = SampleLine().repeated(State.range(0));
    for (auto _ : State)
        benchmark::DoNotOptimize(ToGbk(Text));
}
BENCHMARK(BM_ToGbk)->Arg(1)->Arg(64);

void BM_FromGbk(benchmark::State& State)
{
    const QByteArray Bytes = ToGbk(SampleLine().repeated(State.range(0)));
    for (auto _ : State)
        benchmark::DoNotOptimize(FromGbk(Bytes));
}
BENCHMARK(BM_FromGbk)->Arg(1)->Arg(64);

void BM_GbkLeft(benchmark::State& State)
{
    const QString Text = SampleLine().repeated(State.range(0));
    for (auto _ : State)
        benchmark::DoNotOptimize(GbkLeft(Text, 1023));
}
BENCHMARK(BM_GbkLeft)->Arg(1)->Arg(64);

} // namespace

BENCHMARK_MAIN();
