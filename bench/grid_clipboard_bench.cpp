// A copy of the whole grid (100,000 rows x 10 columns: integers, amounts,
// dates, Chinese text, nulls) in each export format and as the clipboard copy
// with all four, against a loop that reads the same display texts into one
// buffer. Target: the whole copy under 1 s.
// A paste of one row of N empty cells (text) or one record of N null cells
// (VCLDBIF) into three columns, at N and 4N: time and peak memory growth.
// Target: the paste holds only the three cells it keeps, so its peak stays
// within a few bytes per byte of the block and grows no faster than it.
#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "grid/DBGridEhImpExp.h"
#include "platform/db/DataSource.h"
#include "platform/db/MemDataSet.h"
#include "platform/rtl/Streams.h"
#include "BenchMemory.h"

#include <QApplication>
#include <QFile>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <map>
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

// ---------------------------------------------------------------- paste

struct TPasteGrid
{
    TMemDataSet Data;
    TDataSource Source;
    TDBGridEh Grid;

    TPasteGrid()
    {
        for (const char* Name : {"A", "B", "C"})
            Data.FieldDefs()->Add(QString::fromUtf8(Name), ftWideString, 20);
        Data.Open();
        Data.AppendRecord({Variant("a"), Variant("b"), Variant("c")});
        Source.SetDataSet(&Data);
        for (const char* Name : {"A", "B", "C"})
            Grid.Columns()->Add()->SetFieldName(QString::fromUtf8(Name));
        Grid.SetDataSource(&Source);
    }
};

QByteArray WideBlock(bool Binary, int Cells)
{
    if (!Binary)
        return QByteArray(Cells, '\t');
    QByteArray B("VCLDBIF\x01", 8);
    const int32_t Count = Cells;
    B.append(reinterpret_cast<const char*>(&Count), 4);
    for (int i = 0; i < Cells; ++i)
        B.append("\x01\0", 2);
    return B + QByteArray(Cells, '\x02') + QByteArray(1, '\0');
}

// Per block kind and cell count: milliseconds, peak growth in MB, block bytes.
struct TPasteFigures
{
    double Ms = 0, PeakMb = -1, Bytes = 0;
};
std::map<std::pair<bool, int>, TPasteFigures> PasteFigures;

void BM_PasteWideRow(benchmark::State& State)
{
    const bool Binary = State.range(0) != 0;
    const int Cells = int(State.range(1));
    TPasteGrid G;
    const QByteArray Block = WideBlock(Binary, Cells);
    using Clock = std::chrono::steady_clock;
    Clock::duration Spent{};
    double PeakMb = 0;
    bool PeakKnown = true;
    for (auto _ : State) {
        State.PauseTiming();
        PeakKnown = PeakKnown && ResetPeak();
        const long Before = StatusKb("VmRSS:");
        State.ResumeTiming();
        const auto T0 = Clock::now();
        TMemoryStream S(Block);
        if (Binary)
            ImportGridFromStream<TDBGridEhImportAsVCLDBIF>(&G.Grid, S, false);
        else
            ImportGridFromStream<TDBGridEhImportAsText>(&G.Grid, S, false);
        Spent += Clock::now() - T0;
        State.PauseTiming();
        PeakMb = std::max(PeakMb, (StatusKb("VmHWM:") - Before) / 1024.0);
        State.ResumeTiming();
    }
    if (G.Data.RecordCount() != 1)
        State.SkipWithError("the paste appended records");
    PasteFigures[{Binary, Cells}] = {std::chrono::duration<double, std::milli>(Spent).count() / double(State.iterations()),
                                     PeakKnown ? PeakMb : -1, double(Block.size())};
    State.counters["peak_MB"] = PeakKnown ? PeakMb : -1;
}

constexpr int PasteCells = 1000000;
BENCHMARK(BM_PasteWideRow)
    ->ArgsProduct({{0, 1}, {PasteCells, 4 * PasteCells}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void PrintPasteRatios()
{
    for (const bool Binary : {false, true}) {
        const auto N = PasteFigures.find({Binary, PasteCells});
        const auto N4 = PasteFigures.find({Binary, 4 * PasteCells});
        if (N == PasteFigures.end() || N4 == PasteFigures.end())
            continue;
        const TPasteFigures& A = N->second;
        const TPasteFigures& B = N4->second;
        std::printf("%s paste of one row of %d / %d cells into 3 columns: %.0f / %.0f ms (ratio %.2f, target "
                    "within 4.5), peak growth %.1f / %.1f MB (ratio %.2f, target within 4.5; %.2f bytes per block "
                    "byte at 4N, target under 4)\n",
                    Binary ? "VCLDBIF" : "text", PasteCells, 4 * PasteCells, A.Ms, B.Ms, B.Ms / A.Ms, A.PeakMb,
                    B.PeakMb, A.PeakMb > 0 ? B.PeakMb / A.PeakMb : 0.0, B.PeakMb * 1024 * 1024 / B.Bytes);
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    PrintPasteRatios();
    benchmark::Shutdown();
    return 0;
}
