// Ctrl+Right on 500 selected memos in the report designer: each press
// records the selection for undo, moves it a pixel and repaints it on the
// offscreen page, and the event loop then refills the inspector; then the
// undo of such a press. Target: under 15 ms each. A held key's presses that
// arrive together share one refill: BM_CtrlRightBurst is one of five presses
// handled before the event loop runs, per press.
// The baseline is one full repaint of the same page, which a press needs at
// least once. BM_Paste400 pastes 400 copied memos onto that page, each taking
// the next free "Memo" number, and repaints it; its baseline is the same
// repaint.
#include "platform/gui/Controls.h"
#include "report/designer/FR_Desgn.h"
#include "report/designer/FR_DsgPage.h"
#include "report/designer/FR_Undo.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"

#include "BenchRatio.h"

#include <QApplication>
#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <utility>

namespace {

constexpr int MemoCount = 500;

struct TDesigner
{
    TDesigner()
    {
        frRegisterDesigner();
        CurReport = &Report;
        Report.Pages()->Add();
        TfrPage* Page = Report.Pages()->Pages(0);
        for (int i = 0; i < MemoCount; ++i) {
            auto V = CreateViewByType(gtMemo, QString());
            V->SetName(QStringLiteral("Memo%1").arg(i + 1));
            V->SetBounds(20 + (i % 20) * 36, 20 + (i / 20) * 40, 32, 20);
            V->Memo()->Add(QStringLiteral("[Field%1]").arg(i));
            Page->Add(std::move(V));
        }
        Designer = std::make_unique<TfrDesignerForm>(1);
        frDesigner = Designer.get();
        Designer->resize(900, 640);
        Designer->FormShow();
    }
    ~TDesigner()
    {
        Designer.reset();
        frDesigner = nullptr;
        CurReport = nullptr;
        frUnregisterDesigner();
    }
    void SelectAll()
    {
        Designer->SelectAll();
    }
    void CtrlRight()
    {
        int Key = VK_RIGHT;
        Designer->FormKeyDown(Key, TShiftState() << ssCtrl);
    }
    // What waits for the event loop after a press (the inspector refill).
    static void RunEventLoop()
    {
        QCoreApplication::processEvents();
    }

    TfrReport Report;
    std::unique_ptr<TfrDesignerForm> Designer;
};

void BM_CtrlRight(benchmark::State& State)
{
    TDesigner D;
    D.SelectAll();
    for (auto _ : State) {
        D.CtrlRight();
        D.RunEventLoop();
    }
}
BENCHMARK(BM_CtrlRight)->Unit(benchmark::kMillisecond);

constexpr int Burst = 5;

void BM_CtrlRightBurst(benchmark::State& State)
{
    TDesigner D;
    D.SelectAll();
    for (auto _ : State) {
        for (int i = 0; i < Burst; ++i)
            D.CtrlRight();
        D.RunEventLoop();
    }
}
BENCHMARK(BM_CtrlRightBurst)->Unit(benchmark::kMillisecond);

void BM_UndoCtrlRight(benchmark::State& State)
{
    TDesigner D;
    for (auto _ : State) {
        State.PauseTiming();
        D.SelectAll();
        D.CtrlRight();
        D.RunEventLoop();
        State.ResumeTiming();
        D.Designer->UndoBClick();
        D.RunEventLoop();
    }
}
BENCHMARK(BM_UndoCtrlRight)->Unit(benchmark::kMillisecond);

constexpr int PastedCount = 400;

void BM_Paste400(benchmark::State& State)
{
    TDesigner D;
    for (int i = 0; i < PastedCount; ++i)
        SetViewSelected(D.Designer->Page->Objects(i), true);
    D.Designer->CopySelection();
    for (auto _ : State) {
        D.Designer->PstBClick();
        State.PauseTiming();
        D.Designer->UndoBClick();
        State.ResumeTiming();
    }
}
BENCHMARK(BM_Paste400)->Unit(benchmark::kMillisecond);

void BM_RepaintPage(benchmark::State& State)
{
    TDesigner D;
    D.SelectAll();
    for (auto _ : State)
        D.Designer->RedrawPage();
}
BENCHMARK(BM_RepaintPage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    const double Repaint = Reporter.Times["BM_RepaintPage"];
    const std::pair<const char*, int> Figures[] = {{"BM_CtrlRight", 1}, {"BM_CtrlRightBurst", Burst}, {"BM_UndoCtrlRight", 1}};
    for (const auto& [Name, Presses] : Figures) {
        const double A = Reporter.Times[Name] / Presses;
        if (A > 0 && Repaint > 0)
            std::printf("%s: %.1f ms a press, %.2f x a full repaint (target: under 15 ms)\n", Name, A, A / Repaint);
    }
    if (const double Paste = Reporter.Times["BM_Paste400"]; Paste > 0 && Repaint > 0)
        std::printf("BM_Paste400: %.1f ms for %d views, %.2f x a full repaint\n", Paste, PastedCount,
                    Paste / Repaint);
    benchmark::Shutdown();
    return 0;
}
