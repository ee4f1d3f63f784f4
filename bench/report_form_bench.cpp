// Load and save of a generated report form with 1,000 views; the "per_view"
// counter is the time per view.
#include "platform/rtl/Streams.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

constexpr int ViewCount = 1000;

QByteArray GeneratedForm()
{
    TfrReport Report;
    Report.Pages()->Add();
    TfrPage* Page = Report.Pages()->Pages(0);
    for (int i = 0; i < ViewCount; ++i) {
        std::unique_ptr<TfrView> View = CreateViewByType(i % 20 == 0 ? gtBand : gtMemo, QString());
        View->SetName(QStringLiteral("View%1").arg(i + 1));
        View->SetBounds(10 + i % 7 * 100, 20 + i / 7 * 18, 96, 18);
        View->Memo()->Add(QStringLiteral("合计：[Sum(Amount%1)]").arg(i));
        Page->Add(std::move(View));
    }
    TMemoryStream Stream;
    Report.SaveToStream(Stream);
    return Stream.Data();
}

void Counters(benchmark::State& State)
{
    State.SetItemsProcessed(State.iterations() * ViewCount);
    State.counters["per_view"] = benchmark::Counter(
        static_cast<double>(State.iterations() * ViewCount),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_LoadForm(benchmark::State& State)
{
    const QByteArray Form = GeneratedForm();
    for (auto _ : State) {
        TfrReport Report;
        TMemoryStream Stream(Form);
        benchmark::DoNotOptimize(Report.LoadFromStream(Stream));
    }
    Counters(State);
}
BENCHMARK(BM_LoadForm)->Unit(benchmark::kMillisecond);

void BM_SaveForm(benchmark::State& State)
{
    TfrReport Report;
    TMemoryStream Source(GeneratedForm());
    Report.LoadFromStream(Source);
    for (auto _ : State) {
        TMemoryStream Stream;
        Report.SaveToStream(Stream);
        benchmark::DoNotOptimize(Stream.Size());
    }
    Counters(State);
}
BENCHMARK(BM_SaveForm)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
