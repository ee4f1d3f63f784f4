// The sum list's full pass against a plain loop that reads the same two fields
// through the dataset API; the target is within 1.5 times the plain loop.
#include "grid/DBSumLst.h"
#include "platform/db/MemDataSet.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <memory>

namespace {

constexpr int RowCount = 1000000;

TMemDataSet* Rows()
{
    static std::unique_ptr<TMemDataSet> Data = [] {
        auto D = std::make_unique<TMemDataSet>();
        D->FieldDefs()->Add(QStringLiteral("Qty"), ftInteger);
        D->FieldDefs()->Add(QStringLiteral("Amount"), ftFloat);
        D->Open();
        D->DisableControls();
        for (int i = 0; i < RowCount; ++i)
            D->AppendRecord({Variant(i % 97), i % 13 == 0 ? Variant::Null() : Variant(i * 0.25)});
        D->EnableControls();
        return D;
    }();
    return Data.get();
}

double PlainLoop(TMemDataSet* D)
{
    TField* Qty = D->FieldByName(QStringLiteral("Qty"));
    TField* Amount = D->FieldByName(QStringLiteral("Amount"));
    double Total = 0;
    D->DisableControls();
    D->First();
    while (!D->Eof()) {
        if (!Qty->IsNull())
            Total += Qty->AsFloat();
        if (!Amount->IsNull())
            Total += Amount->AsFloat();
        D->Next();
    }
    D->First();
    D->EnableControls();
    return Total;
}

std::unique_ptr<TDBSumListProducer> MakeSumList(TMemDataSet* D)
{
    auto Sums = std::make_unique<TDBSumListProducer>(nullptr);
    Sums->SetDataSet(D);
    Sums->SumCollection()->BeginUpdate();
    Sums->SumCollection()->Add()->SetFieldName(QStringLiteral("Qty"));
    TDBSum* Avg = Sums->SumCollection()->Add();
    Avg->SetFieldName(QStringLiteral("Amount"));
    Avg->SetGroupOperation(goAvg);
    Sums->SumCollection()->EndUpdate();
    Sums->SetActive(true);
    return Sums;
}

void BM_PlainLoop(benchmark::State& State)
{
    TMemDataSet* D = Rows();
    for (auto _ : State)
        benchmark::DoNotOptimize(PlainLoop(D));
    State.SetItemsProcessed(State.iterations() * RowCount);
}
BENCHMARK(BM_PlainLoop)->Unit(benchmark::kMillisecond);

void BM_SumListRecalcAll(benchmark::State& State)
{
    auto Sums = MakeSumList(Rows());
    for (auto _ : State) {
        Sums->RecalcAll();
        benchmark::DoNotOptimize(Sums->SumCollection()->Items(0)->SumValue());
    }
    State.SetItemsProcessed(State.iterations() * RowCount);
}
BENCHMARK(BM_SumListRecalcAll)->Unit(benchmark::kMillisecond);

// Both in one run, alternating, so that the ratio is not skewed by the machine's mood.
void BM_RatioRecalcAllToPlainLoop(benchmark::State& State)
{
    TMemDataSet* D = Rows();
    auto Sums = MakeSumList(D);
    using Clock = std::chrono::steady_clock;
    Clock::duration Plain{}, Recalc{};
    for (auto _ : State) {
        auto T0 = Clock::now();
        benchmark::DoNotOptimize(PlainLoop(D));
        auto T1 = Clock::now();
        Sums->RecalcAll();
        auto T2 = Clock::now();
        Plain += T1 - T0;
        Recalc += T2 - T1;
    }
    const double Ratio = double(Recalc.count()) / double(Plain.count());
    State.counters["ratio"] = Ratio;
    std::printf("RecalcAll / plain loop over %d rows: %.2f (target <= 1.5)\n", RowCount, Ratio);
}
BENCHMARK(BM_RatioRecalcAllToPlainLoop)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
