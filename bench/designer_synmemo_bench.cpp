// The script editor on a 10,000-line script (block comments, strings,
// Chinese), offscreen: keystrokes at line 5,000 (characters, Enter, a
// Backspace that joins lines, Ctrl+Z, Page Down) and "{" typed on line 1,
// which turns the whole script into a comment; each keystroke is painted.
// Prints the median and worst milliseconds per keystroke and the median's
// ratio to bare TCanvas calls drawing the visible rows. Target: every
// keystroke under 16 ms, median within 3 times the bare drawing.
#include "BenchRatio.h"
#include "report/designer/fr_synmemo.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct TBenchMemo
{
    QWidget Host;
    TfrSyntaxMemo* Memo;

    TBenchMemo()
    {
        Host.resize(800, 600);
        Memo = new TfrSyntaxMemo(&Host);
        Memo->resize(800, 600);
        QStringList L;
        for (int i = 0; i < 10000; ++i) {
            switch (i % 5) {
            case 0: L << QStringLiteral("(* 第 %1 段：计算合计").arg(i); break;
            case 1: L << QStringLiteral("   并写入变量 *)"); break;
            case 2: L << QStringLiteral("if [Total] > %1 then").arg(i); break;
            case 3: L << QStringLiteral("  Memo%1.Text := '客户 ' + [Name]; // 注释").arg(i); break;
            default: L << QStringLiteral("end;"); break;
            }
        }
        Memo->SetLines(TStringList(L));
        Memo->Update();
    }
    void Key(int Key, Qt::KeyboardModifiers M = Qt::NoModifier, const QString& Text = QString())
    {
        QKeyEvent E(QEvent::KeyPress, Key, M, Text);
        QCoreApplication::sendEvent(Memo, &E);
    }
};

std::map<std::string, std::vector<double>> Samples;

// Times one keystroke and its paint; Setup runs untimed before it.
template <class FSetup, class FKey>
void Keystrokes(benchmark::State& State, const char* Name, FSetup Setup, FKey Key)
{
    TBenchMemo B;
    std::vector<double>& Ms = Samples[Name];
    for (auto _ : State) {
        Setup(B);
        B.Memo->Update();
        const auto T0 = Clock::now();
        Key(B);
        B.Memo->Update();
        const double S = std::chrono::duration<double>(Clock::now() - T0).count();
        State.SetIterationTime(S);
        Ms.push_back(S * 1000);
    }
}

void BM_Characters(benchmark::State& State)
{
    int n = 0;
    Keystrokes(State, "characters", [&](TBenchMemo& B) {
        if (n++ % 50 == 0)
            B.Memo->SetCaretPos(3, 5000);
    }, [](TBenchMemo& B) { B.Key(Qt::Key_A, Qt::NoModifier, QStringLiteral("a")); });
}
BENCHMARK(BM_Characters)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);

void BM_Enter(benchmark::State& State)
{
    Keystrokes(State, "Enter", [](TBenchMemo& B) { B.Memo->SetCaretPos(5, 5000); },
               [](TBenchMemo& B) { B.Key(Qt::Key_Return); });
}
BENCHMARK(BM_Enter)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);

void BM_BackspaceJoin(benchmark::State& State)
{
    Keystrokes(State, "Backspace join", [](TBenchMemo& B) { B.Memo->SetCaretPos(1, 5000); },
               [](TBenchMemo& B) { B.Key(Qt::Key_Backspace); });
}
BENCHMARK(BM_BackspaceJoin)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);

void BM_Undo(benchmark::State& State)
{
    Keystrokes(State, "Ctrl+Z", [](TBenchMemo& B) {
        B.Memo->SetCaretPos(3, 5000);
        B.Key(Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
    }, [](TBenchMemo& B) { B.Key(Qt::Key_Z, Qt::ControlModifier); });
}
BENCHMARK(BM_Undo)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);

void BM_PageDown(benchmark::State& State)
{
    int n = 0;
    Keystrokes(State, "Page Down", [&](TBenchMemo& B) {
        if (n++ % 100 == 0)
            B.Memo->SetCaretPos(1, 5000);
    }, [](TBenchMemo& B) { B.Key(Qt::Key_PageDown); });
}
BENCHMARK(BM_PageDown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);

void BM_BraceOnFirstLine(benchmark::State& State)
{
    Keystrokes(State, "\"{\" on line 1", [](TBenchMemo& B) {
        if (B.Memo->Text()[0].startsWith(u'{'))
            B.Key(Qt::Key_Z, Qt::ControlModifier);   // back to the script without the brace
        B.Memo->SetCaretPos(1, 1);
    }, [](TBenchMemo& B) { B.Key(Qt::Key_BraceLeft, Qt::NoModifier, QStringLiteral("{")); });
}
BENCHMARK(BM_BraceOnFirstLine)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

// The baseline: the visible rows drawn with one TextOut each on the same canvas.
void BM_BareCanvasRows(benchmark::State& State)
{
    TBenchMemo B;
    B.Memo->SetCaretPos(1, 5000);
    B.Memo->Update();
    TCanvas* C = B.Memo->Canvas();
    const int Rows = B.Memo->VisibleRows(), H = B.Memo->CellSize().height(), Top = B.Memo->TopLine();
    std::vector<double>& Ms = Samples["bare canvas rows"];
    for (auto _ : State) {
        const auto T0 = Clock::now();
        C->Brush()->SetColor(clWindow);
        C->FillRect(QRect(0, 0, 800, 600));
        C->Font()->Assign(*B.Memo->TextAttr());
        for (int i = 0; i < Rows; ++i)
            C->TextOut(20, i * H, B.Memo->Text()[Top + i]);
        C->Release();
        const double S = std::chrono::duration<double>(Clock::now() - T0).count();
        State.SetIterationTime(S);
        Ms.push_back(S * 1000);
    }
}
BENCHMARK(BM_BareCanvasRows)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);

double Median(std::vector<double> V)
{
    std::sort(V.begin(), V.end());
    return V.empty() ? 0 : V[V.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    const double Base = Median(Samples["bare canvas rows"]);
    std::printf("bare canvas rows: median %.2f ms\n", Base);
    std::vector<double> All;
    for (const char* Name : {"characters", "Enter", "Backspace join", "Ctrl+Z", "Page Down", "\"{\" on line 1"}) {
        const std::vector<double>& V = Samples[Name];
        if (V.empty())
            continue;
        All.insert(All.end(), V.begin(), V.end());
        const double Med = Median(V), Worst = *std::max_element(V.begin(), V.end());
        std::printf("%-16s median %.2f ms, worst %.2f ms (target: under 16), median / bare rows %.2f (target: within 3)\n",
                    Name, Med, Worst, Base > 0 ? Med / Base : 0.0);
    }
    if (!All.empty() && Base > 0)
        std::printf("every keystroke: median %.2f ms, worst %.2f ms, median / bare rows %.2f (target: within 3)\n",
                    Median(All), *std::max_element(All.begin(), All.end()), Median(All) / Base);
    benchmark::Shutdown();
    return 0;
}
