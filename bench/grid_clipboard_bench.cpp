// A copy of the whole grid (100,000 rows x 10 columns: integers, amounts,
// dates, Chinese text, nulls) in each export format and as the clipboard copy
// with all four, against a loop that reads the same display texts into one
// buffer. Target: the whole copy under 1 s.
#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "grid/DBGridEhImpExp.h"
#include "platform/db/DataSource.h"
#include "platform/db/MemDataSet.h"
#include "platform/rtl/Streams.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <memory>

namespace {

constexpr int RowCount = 100000;

struct TBenchGrid
{
    std::unique_ptr<TMemDataSet> Data;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TDBGridEh> Grid;

    TBenchGrid()
    {
        Data = std::make_unique<TMemDataSet>();
        const std::pair<const char*, TFieldType> Fields[] = {
            {"Id", ftInteger}, {"Qty", ftInteger}, {"Price", ftFloat}, {"Amount", ftCurrency},
            {"Day", ftDate}, {"Due", ftDateTime}, {"Customer", ftWideString}, {"Man", ftWideString},
            {"Note", ftWideString}, {"Paid", ftBoolean}};
        for (const auto& [Name, Type] : Fields)
            Data->FieldDefs()->Add(QString::fromUtf8(Name), Type, Type == ftWideString ? 40 : 0);
        Data->Open();
        Data->DisableControls();
        for (int i = 0; i < RowCount; ++i) {
            const bool Null = i % 7 == 0;
            Data->AppendRecord({Variant(i), Variant(i % 1000), Variant(i * 0.37),
                                Null ? Variant::Null() : Variant(i * 12.5),
                                Variant::FromDateTime(45000 + i % 400), Variant::FromDateTime(45000.5 + i % 300),
                                Variant(QStringLiteral("北京客户%1").arg(i % 500)), Variant(QStringLiteral("张三")),
                                Null ? Variant::Null() : Variant(QStringLiteral("备注 \"%1\"").arg(i)),
                                Variant(i % 3 == 0)});
        }
        Data->First();
        Data->EnableControls();
        Source = std::make_unique<TDataSource>();
        Source->SetDataSet(Data.get());
        Grid = std::make_unique<TDBGridEh>();
        for (const auto& [Name, Type] : Fields) {
            TColumnEh* C = Grid->Columns()->Add();
            C->SetFieldName(QString::fromUtf8(Name));
            C->Title()->SetCaption(QString::fromUtf8(Name));
        }
        Grid->Columns(3)->Footer()->SetValueType(fvtSum);
        Grid->SetFooterRowCount(1);
        Grid->SetDataSource(Source.get());
    }
};

TBenchGrid& Bench()
{
    static TBenchGrid B;
    return B;
}

// The same display texts the export reads, into one buffer.
size_t ReadDisplayTexts(TBenchGrid& B)
{
    QString Buffer;
    TDataSet* D = B.Data.get();
    TDBGridColumnsEh* Columns = B.Grid->Columns();
    D->DisableControls();
    D->First();
    while (!D->Eof()) {
        for (int c = 0; c < Columns->Count(); ++c) {
            Buffer += Columns->Items(c)->GetDisplayText();
            Buffer += u'\t';
        }
        D->Next();
    }
    D->First();
    D->EnableControls();
    return size_t(Buffer.size());
}

void BM_ReadDisplayTexts(benchmark::State& State)
{
    TBenchGrid& B = Bench();
    for (auto _ : State)
        benchmark::DoNotOptimize(ReadDisplayTexts(B));
}
BENCHMARK(BM_ReadDisplayTexts)->Unit(benchmark::kMillisecond);

template <class T> void BM_Export(benchmark::State& State)
{
    TBenchGrid& B = Bench();
    for (auto _ : State) {
        TMemoryStream S;
        ExportGridToStream<T>(B.Grid.get(), S, true);
        benchmark::DoNotOptimize(S.Size());
    }
}
BENCHMARK(BM_Export<TDBGridEhExportAsText>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export<TDBGridEhExportAsCSV>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export<TDBGridEhExportAsRTF>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export<TDBGridEhExportAsVCLDBIF>)->Unit(benchmark::kMillisecond);

// The whole copy and the plain loop in one run, alternating.
void BM_CopyGridSelection(benchmark::State& State)
{
    TBenchGrid& B = Bench();
    using Clock = std::chrono::steady_clock;
    Clock::duration Plain{}, Copy{};
    for (auto _ : State) {
        auto T0 = Clock::now();
        benchmark::DoNotOptimize(ReadDisplayTexts(B));
        auto T1 = Clock::now();
        CopyGridSelection(B.Grid.get(), true);
        auto T2 = Clock::now();
        Plain += T1 - T0;
        Copy += T2 - T1;
    }
    const double Ms = std::chrono::duration<double, std::milli>(Copy).count() / double(State.iterations());
    const double Ratio = double(Copy.count()) / double(Plain.count());
    State.counters["copy_ms"] = Ms;
    State.counters["ratio"] = Ratio;
    std::printf("copy of %d rows x 10 columns in four formats: %.0f ms (target < 1000), %.2f x reading the texts\n",
                RowCount, Ms, Ratio);
}
BENCHMARK(BM_CopyGridSelection)->Unit(benchmark::kMillisecond)->Iterations(3);

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
