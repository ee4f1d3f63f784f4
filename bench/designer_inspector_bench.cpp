// The inspector following the selection: the selection changes between one
// memo and 100 memos on a page; each refresh is FillInspector and one repaint
// of the rows, offscreen. The baseline reads the same properties of the same
// views by name. Target: under 10 ms per refresh.
#include "BenchRatio.h"

#include "platform/gui/Controls.h"
#include "platform/rtl/IniFiles.h"
#include "report/designer/FR_Desgn.h"
#include "report/designer/FR_DsgPage.h"
#include "report/designer/FR_Insp.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"

#include <QApplication>
#include <QTemporaryDir>
#include <memory>

namespace {

constexpr int MemoCount = 100;

struct TDesigner
{
    QTemporaryDir Settings;
    TfrReport Report;
    std::unique_ptr<TfrDesignerForm> Form;

    TDesigner()
    {
        TRegIniFile::SetStorageFolder(Settings.path());
        frRegisterDesigner();
        CurReport = &Report;
        Report.Pages()->Add();
        TfrPage* Page = Report.Pages()->Pages(0);
        for (int i = 0; i < MemoCount; ++i) {
            auto V = CreateViewByType(gtMemo, QString());
            V->SetName(QStringLiteral("Memo%1").arg(i + 1));
            V->SetBounds(10 + (i % 10) * 70, 10 + (i / 10) * 30, 64, 24);
            V->Memo()->Add(QStringLiteral("[Customers.\"Name\"]"));
            Page->Add(std::move(V));
        }
        Form = std::make_unique<TfrDesignerForm>(1);
        frDesigner = Form.get();
        Form->FormShow();
        Form->InspForm->resize(220, 400);
    }
    ~TDesigner()
    {
        Form.reset();
        CurReport = nullptr;
        frUnregisterDesigner();
        TRegIniFile::SetStorageFolder(QString());
    }
    // The first Count memos selected.
    void Select(int Count)
    {
        TfrPage* Page = Report.Pages()->Pages(0);
        SelCount = 0;
        for (int i = 0; i < Page->Count(); ++i) {
            Page->Objects(i)->SetSelected(i < Count);
            SelCount += i < Count;
        }
    }
};

// Made on first use, gone before the application object.
std::unique_ptr<TDesigner> GDesigner;

TDesigner& Designer()
{
    if (!GDesigner)
        GDesigner = std::make_unique<TDesigner>();
    return *GDesigner;
}

void Refresh(benchmark::State& State, int Count)
{
    TDesigner& D = Designer();
    for (auto _ : State) {
        State.PauseTiming();
        D.Select(Count == 1 ? MemoCount : 1);
        D.Form->FillInspector();
        D.Select(Count);
        State.ResumeTiming();
        D.Form->FillInspector();
        D.Form->InspForm->PaintBox1->Repaint();
    }
    State.counters["rows"] = D.Form->InspForm->GetCount();
}

// The same properties read by name from the same views.
void ReadByName(benchmark::State& State, int Count)
{
    TDesigner& D = Designer();
    D.Select(Count);
    D.Form->FillInspector();
    QStringList Names;
    for (int i = 0; i < D.Form->InspForm->GetCount(); ++i)
        Names << D.Form->InspForm->GetItemName(i);
    TfrPage* Page = D.Report.Pages()->Pages(0);
    for (auto _ : State) {
        int Length = 0;
        for (int i = 0; i < Count; ++i) {
            TfrView* V = Page->Objects(i);
            V->RegisterProperties();
            for (const QString& Name : Names)
                Length += static_cast<int>(V->GetPropValue(Name).AsString().size());
        }
        benchmark::DoNotOptimize(Length);
    }
}

void BM_RefreshOneMemo(benchmark::State& State) { Refresh(State, 1); }
void BM_RefreshHundredMemos(benchmark::State& State) { Refresh(State, MemoCount); }
void BM_ReadOneMemoByName(benchmark::State& State) { ReadByName(State, 1); }
void BM_ReadHundredMemosByName(benchmark::State& State) { ReadByName(State, MemoCount); }
BENCHMARK(BM_RefreshOneMemo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshHundredMemos)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadOneMemoByName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadHundredMemosByName)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    GDesigner.reset();
    const auto Print = [&Reporter](const char* Label, const char* Ours, const char* Base) {
        const double A = Reporter.Times[Ours], B = Reporter.Times[Base];
        if (A > 0 && B > 0)
            std::printf("%s: %.3f ms per refresh, %.1f x reading by name (target: under 10 ms)\n", Label, A, A / B);
    };
    Print("one memo", "BM_RefreshOneMemo", "BM_ReadOneMemoByName");
    Print("100 memos", "BM_RefreshHundredMemos", "BM_ReadHundredMemosByName");
    benchmark::Shutdown();
    return 0;
}
