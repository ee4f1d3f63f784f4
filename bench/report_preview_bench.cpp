// The preview over a 240-page list: each A4 page holds 36 lines of six framed
// memo views (a date, a name, four amounts). Measured: repainting the box at
// page width, and Ctrl+End from page 1 (the scroll, the last page rebuilt from
// its stream and painted, the first one released). Target: under 50 ms each.
#include "platform/gui/Controls.h"
#include "platform/gui/Printers.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Preview.h"
#include "report/engine/FR_Prntr.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int PageCount = 240;
constexpr int LinesPerPage = 36;

void AddListPage(TfrEMFPages* Pages, int PageNo)
{
    TfrPage Page(9, 2100, 2970, frNoBin, poPortrait);
    Pages->Insert(Pages->Count(), &Page);
    const int Index = Pages->Count() - 1;
    Pages->ObjectsToPage(Index);
    const int Widths[] = {90, 200, 100, 100, 100, 100};
    for (int Line = 0; Line < LinesPerPage; ++Line) {
        int X = 40;
        for (int Col = 0; Col < 6; ++Col) {
            auto Memo = std::make_unique<TfrMemoView>();
            Memo->Font()->SetName(QStringLiteral("WenQuanYi Micro Hei"));
            Memo->SetFrameTyp(15);
            Memo->SetBounds(X, 60 + Line * 26, Widths[Col], 26);
            const int Row = PageNo * LinesPerPage + Line;
            if (Col == 0)
                Memo->Memo()->Add(QStringLiteral("2024-%1-%2").arg(1 + Row % 12, 2, 10, QChar(u'0')).arg(1 + Row % 28, 2, 10, QChar(u'0')));
            else if (Col == 1)
                Memo->Memo()->Add(QStringLiteral("华北机电有限公司 %1").arg(Row % 97));
            else {
                Memo->SetAlignment(frtaRight);
                Memo->Memo()->Add(QStringLiteral("%1.%2").arg(1000 + Row * Col).arg(Row % 100, 2, 10, QChar(u'0')));
            }
            X += Widths[Col];
            Pages->Items(Index)->PageObject->Add(std::move(Memo));
        }
    }
    Pages->PageToObjects(Index);
    Pages->Items(Index)->PageObject.reset();
}

struct TPreview
{
    TFakePrinters Fakes{QList<TPrinterDescription>{}};
    TfrReport Report;
    TfrPreviewForm Form;

    TPreview()
    {
        frPrinter()->AttachPrinter(Printer());
        for (int i = 0; i < PageCount; ++i)
            AddListPage(Report.EMFPages(), i);
        Form.Connect(&Report);
        Form.PaintBox->resize(1000, 700);
        Form.ZoomMenuClick(zmPageWidth);
        Form.InitView(true);
    }
    ~TPreview() { Form.Disconnect(); }
};

void BM_RepaintAtPageWidth(benchmark::State& State)
{
    TPreview P;
    for (auto _ : State)
        P.Form.PaintBox->Repaint();
}
BENCHMARK(BM_RepaintAtPageWidth)->Unit(benchmark::kMillisecond);

void BM_CtrlEndFromPageOne(benchmark::State& State)
{
    TPreview P;
    for (auto _ : State) {
        State.PauseTiming();
        int Home = VK_HOME;
        P.Form.FormKeyDown(Home, TShiftState{ssCtrl});
        P.Form.PaintBox->Repaint();
        State.ResumeTiming();
        int End = VK_END;
        P.Form.FormKeyDown(End, TShiftState{ssCtrl});
        P.Form.PaintBox->Repaint();
    }
    if (P.Form.CurPage != PageCount)
        State.SkipWithError("Ctrl+End did not reach the last page");
}
BENCHMARK(BM_CtrlEndFromPageOne)->Unit(benchmark::kMillisecond);

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
