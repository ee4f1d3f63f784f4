// Load and save of a generated report form with 1,000 views; the "per_view"
// counter is the time per view. Loads of forms of 64 and 256 pages (the most a
// form holds) and of dictionaries of 7,500 and 30,000 variables: growth
// targets within 5x for 4x the input (loading is linear).
#include "BenchRatio.h"

#include "platform/rtl/Streams.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Globals.h"
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

// A form of Count pages, each with one memo.
QByteArray PagesForm(int Count)
{
    TfrReport Report;
    CurReport = &Report;
    for (int p = 0; p < Count; ++p) {
        Report.Pages()->Add();
        auto View = CreateViewByType(gtMemo, QString());
        View->SetName(QStringLiteral("Memo%1").arg(p + 1));
        View->SetBounds(20, 20, 200, 18);
        Report.Pages()->Pages(p)->Add(std::move(View));
    }
    TMemoryStream Stream;
    Report.SaveToStream(Stream);
    CurReport = nullptr;
    return Stream.Data();
}

void LoadPages(benchmark::State& State, int Count)
{
    const QByteArray Form = PagesForm(Count);
    for (auto _ : State) {
        TfrReport Report;
        TMemoryStream Stream(Form);
        benchmark::DoNotOptimize(Report.LoadFromStream(Stream));
    }
}

// A dictionary block of Count variables in categories of 100.
QByteArray DictionaryBlock(int Count)
{
    TfrDataDictionary Dictionary;
    for (int i = 0; i < Count; ++i) {
        if (i % 100 == 0)
            Dictionary.Variables.SetVariable(QStringLiteral(" 类别%1").arg(i / 100), Variant(QString()));
        Dictionary.Variables.SetVariable(QStringLiteral("变量%1").arg(i), Variant(QStringLiteral("[金额] * %1").arg(i)));
    }
    TMemoryStream Stream;
    Dictionary.SaveToStream(Stream);
    return Stream.Data();
}

void LoadDictionary(benchmark::State& State, int Count)
{
    const QByteArray Block = DictionaryBlock(Count);
    for (auto _ : State) {
        TfrDataDictionary Dictionary;
        TMemoryStream Stream(Block);
        Dictionary.LoadFromStream(Stream);
        benchmark::DoNotOptimize(Dictionary.Variables.Count());
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    for (int Count : {64, 256})
        benchmark::RegisterBenchmark(("BM_LoadPages" + std::to_string(Count)).c_str(), LoadPages, Count)
            ->Unit(benchmark::kMillisecond);
    for (int Count : {7500, 30000})
        benchmark::RegisterBenchmark(("BM_LoadDictionary" + std::to_string(Count)).c_str(), LoadDictionary, Count)
            ->Unit(benchmark::kMillisecond);
    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    Reporter.PrintRatio("load 256 pages / load 64 pages", "BM_LoadPages256", "BM_LoadPages64", 5);
    Reporter.PrintRatio("load 30,000 variables / load 7,500", "BM_LoadDictionary30000", "BM_LoadDictionary7500", 5);
    benchmark::Shutdown();
    return 0;
}
