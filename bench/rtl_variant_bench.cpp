// Variant costs on the report engine's hot path: every memo expression and band
// condition is evaluated per record with these operators and conversions.
#include "platform/rtl/Variants.h"

#include <benchmark/benchmark.h>

static void BM_VariantIntegerSum(benchmark::State& State)
{
    for (auto _ : State) {
        Variant Sum(0);
        for (int I = 0; I < 1000; ++I)
            Sum = Sum + Variant(I);
        benchmark::DoNotOptimize(Sum);
    }
    State.SetItemsProcessed(State.iterations() * 1000);
}
BENCHMARK(BM_VariantIntegerSum);

static void BM_VariantMixedArithmetic(benchmark::State& State)
{
    const Variant Price(12.5), Qty(3), Rate("0.17");
    for (auto _ : State) {
        Variant Amount = Price * Qty * (Variant(1) + Rate);
        benchmark::DoNotOptimize(Amount);
    }
}
BENCHMARK(BM_VariantMixedArithmetic);

static void BM_VariantCompareStrings(benchmark::State& State)
{
    const Variant A(QStringLiteral("办公用品-A4纸")), B(QStringLiteral("办公用品-A5纸"));
    for (auto _ : State)
        benchmark::DoNotOptimize(VarLess(A, B));
}
BENCHMARK(BM_VariantCompareStrings);

static void BM_VariantToText(benchmark::State& State)
{
    const Variant Value(1234.5678);
    for (auto _ : State)
        benchmark::DoNotOptimize(VarToStr(Value));
}
BENCHMARK(BM_VariantToText);

static void BM_VariantFormat(benchmark::State& State)
{
    const QString Fmt = QStringLiteral("%-10s %8.2f %5d");
    const QList<Variant> Args = {Variant("纸张"), Variant(1234.5678), Variant(42)};
    for (auto _ : State)
        benchmark::DoNotOptimize(Format(Fmt, Args));
}
BENCHMARK(BM_VariantFormat);

BENCHMARK_MAIN();
