// A monthly list of 10,000 prepared pages: each page appended with 40 memo
// views printed into its stream, the whole saved as a prepared report file,
// loaded back, and one page built and drawn offscreen. The baseline of the
// load is reading the file's bytes alone. Targets: under 0.5 ms per appended
// page, load within 2x the plain read, no page object alive after appending
// or loading, memory per page within 1.25x its stream bytes, one page drawn
// under 10 ms. Clearing 200,000 empty pages within 5x clearing 50,000 (a clear
// is linear).
#include "BenchRatio.h"

#include "platform/gui/Graphics.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <malloc.h>
#include <memory>
#include <vector>

namespace {

constexpr int PageCount = 10000;
constexpr int MemosPerPage = 40;

struct TWorld
{
    TfrReport Report;
    std::vector<std::unique_ptr<TfrMemoView>> Memos;
    QTemporaryDir Dir;
    QString File;
};
TWorld* World = nullptr;

size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

int64_t StreamBytes(TfrEMFPages& Pages)
{
    int64_t Bytes = 0;
    for (int i = 0; i < Pages.Count(); ++i)
        Bytes += Pages.Items(i)->Stream->Size();
    return Bytes;
}

int PageObjects(TfrEMFPages& Pages)
{
    int Alive = 0;
    for (int i = 0; i < Pages.Count(); ++i)
        Alive += Pages.Items(i)->PageObject != nullptr;
    return Alive;
}

// Twenty list lines of a customer name and an amount.
void MakeMemos()
{
    for (int i = 0; i < MemosPerPage; ++i) {
        auto Memo = std::make_unique<TfrMemoView>();
        const int Row = i / 2;
        Memo->SetName(QStringLiteral("Memo%1").arg(i + 1));
        Memo->SetBounds(i % 2 ? 420 : 40, 60 + Row * 24, i % 2 ? 200 : 360, 22);
        Memo->SetFrameTyp(15);
        Memo->SetStreamMode(1);   // as page set-up leaves every view of a report run
        if (i % 2)
            Memo->SetAlignment(frtaRight);
        World->Memos.push_back(std::move(Memo));
    }
}

void BM_AppendPage(benchmark::State& State)
{
    DocMode = dmPrinting;
    TfrReport& Report = World->Report;
    CurReport = &Report;
    MasterReport = &Report;
    TfrPage* Page = Report.Pages()->Pages(0);
    TfrEMFPages& Pages = *Report.EMFPages();
    Pages.Clear();
    const size_t Before = HeapInUse();
    int n = 0;
    for (auto _ : State) {
        Pages.Add(Page);
        TMemoryStream& Stream = *Pages.Items(Pages.Count() - 1)->Stream;
        for (int i = 0; i < MemosPerPage; ++i) {
            TfrMemoView& Memo = *World->Memos[i];
            Memo.Memo()->SetText(i % 2 ? QStringLiteral("%1.50").arg(1000 + n * 7 % 90000)
                                       : QStringLiteral("客户 %1 号 Customer").arg(n * 20 + i / 2));
            Memo.Print(Stream);
        }
        ++n;
    }
    Pages.Add(Page);   // the last page is complete too
    Pages.Delete(Pages.Count() - 1);
    const double Heap = static_cast<double>(HeapInUse() - Before);
    const double Stored = static_cast<double>(StreamBytes(Pages));
    State.counters["page_objects"] = PageObjects(Pages);
    State.counters["heap_per_page"] = Heap / Pages.Count();
    State.counters["stream_per_page"] = Stored / Pages.Count();
    std::printf("memory per appended page / its stream bytes: %.2f (target: within 1.25)\n", Heap / Stored);
}
BENCHMARK(BM_AppendPage)->Iterations(PageCount)->Unit(benchmark::kMicrosecond);

void BM_SavePrepared(benchmark::State& State)
{
    for (auto _ : State)
        World->Report.SavePreparedReport(World->File);
    State.counters["file_bytes"] = static_cast<double>(QFile(World->File).size());
}
BENCHMARK(BM_SavePrepared)->Unit(benchmark::kMillisecond);

// Per 1,000 pages.
void BM_ReadFileBytes(benchmark::State& State)
{
    for (auto _ : State) {
        QFile F(World->File);
        F.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(F.readAll());
    }
    State.SetItemsProcessed(State.iterations() * PageCount);
}
BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMillisecond);

void BM_LoadPrepared(benchmark::State& State)
{
    TfrReport& Report = World->Report;
    size_t Heap = 0;
    for (auto _ : State) {
        State.PauseTiming();
        Report.EMFPages()->Clear();
        const size_t Before = HeapInUse();
        State.ResumeTiming();
        Report.LoadPreparedReport(World->File);
        Heap = HeapInUse() - Before;
    }
    TfrEMFPages& Pages = *Report.EMFPages();
    State.SetItemsProcessed(State.iterations() * PageCount);
    State.counters["page_objects"] = PageObjects(Pages);
    State.counters["heap_per_page"] = static_cast<double>(Heap) / Pages.Count();
    std::printf("memory per loaded page / its stream bytes: %.2f (target: within 1.25)\n",
                static_cast<double>(Heap) / static_cast<double>(StreamBytes(Pages)));
}
BENCHMARK(BM_LoadPrepared)->Unit(benchmark::kMillisecond);

void BM_DrawOnePage(benchmark::State& State)
{
    TfrEMFPages& Pages = *World->Report.EMFPages();
    TfrPageInfo& Info = *Pages.Items(PageCount / 2);
    const QRect Rect(0, 0, Info.PagePrnInfo.PaperWidthPx, Info.PagePrnInfo.PaperHeightPx);
    QImage Image(Rect.size(), QImage::Format_RGB32);
    TCanvas Canvas(&Image);
    for (auto _ : State) {
        Image.fill(Qt::white);
        Info.OnScreen = true;
        Pages.Draw(PageCount / 2, &Canvas, Rect);
        Info.OnScreen = false;
        Pages.Draw(PageCount / 2, &Canvas, QRect());
    }
}
BENCHMARK(BM_DrawOnePage)->Unit(benchmark::kMillisecond);

void ClearPages(benchmark::State& State, int Count)
{
    TfrReport& Report = World->Report;
    TfrPage* Page = Report.Pages()->Pages(0);
    TfrEMFPages Pages(&Report);
    for (auto _ : State) {
        State.PauseTiming();
        for (int i = 0; i < Count; ++i)
            Pages.Add(Page);
        State.ResumeTiming();
        Pages.Clear();
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    TWorld W;
    World = &W;
    W.Report.Pages()->Add();
    W.File = W.Dir.filePath(QStringLiteral("month.frp"));
    MakeMemos();
    for (int Count : {50000, 200000})
        benchmark::RegisterBenchmark(("BM_ClearPages" + std::to_string(Count)).c_str(), ClearPages, Count)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    Reporter.PrintRatio("load / plain read of the file", "BM_LoadPrepared", "BM_ReadFileBytes", 2);
    Reporter.PrintRatio("clear 200,000 pages / clear 50,000", "BM_ClearPages200000", "BM_ClearPages50000", 5);
    benchmark::Shutdown();
    World = nullptr;
    CurReport = nullptr;
    MasterReport = nullptr;
    return 0;
}
