// The design page on an offscreen window: a full repaint of a page of 500
// views (bands, framed Chinese memos) and of 5,000, and one step of dragging
// 100 selected views with their contents shown (Selection 1) and as outlines
// (Selection 0). Baselines in the same run: the views' bare Draw on an image
// of the page's size, and a plain QPainter loop filling, framing and writing
// the same boxes. Target: under 16 ms a frame for 500 views and the drag;
// 5,000 views about 10 times 500, never quadratic. Times are per frame.
#include "BenchRatio.h"

#include "report/designer/FR_Desgn.h"
#include "report/designer/FR_DsgPage.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"

#include <QApplication>
#include <QPainter>
#include <memory>

namespace {

const QString Text = QStringLiteral("客户名称");
constexpr int Columns = 14, MemoW = 48, MemoH = 16, RowH = 18, RowsPerBand = 10;

// A designer window on a report whose one page holds Count views: every
// band is followed by ten rows of fourteen memos.
struct TDesignedPage
{
    explicit TDesignedPage(int Count)
    {
        frRegisterDesigner();
        CurReport = &Report;
        Report.Pages()->Add();
        TfrPage* P = Report.Pages()->Pages(0);
        int Y = 20, Made = 0;
        while (Made < Count) {
            auto Band = CreateViewByType(gtBand, QString());
            Band->SetName(QStringLiteral("Band%1").arg(Made));
            Band->SetBounds(0, Y, 740, RowH * (RowsPerBand + 1));
            P->Add(std::move(Band));
            ++Made;
            for (int i = 0; i < RowsPerBand * Columns && Made < Count; ++i, ++Made) {
                auto Memo = std::make_unique<TfrMemoView>();
                Memo->SetName(QStringLiteral("Memo%1").arg(Made));
                Memo->Font()->SetName(QStringLiteral("WenQuanYi Micro Hei"));
                Memo->SetFrameTyp(15);
                Memo->Memo()->Add(Text);
                Memo->SetBounds(20 + (i % Columns) * (MemoW + 2), Y + RowH * (1 + i / Columns), MemoW, MemoH);
                P->Add(std::move(Memo));
            }
            Y += RowH * (RowsPerBand + 1) + 4;
        }
        P->PrnInfo.PaperHeightPx = std::max(P->PrnInfo.PaperHeightPx, Y + 40);
        Designer = std::make_unique<TfrDesignerForm>(1);
        frDesigner = Designer.get();
        Designer->resize(900, 640);
        Designer->FormShow();
        Designer->GridShow = true;
    }
    ~TDesignedPage()
    {
        Designer.reset();
        frDesigner = nullptr;
        CurReport = nullptr;
        CurPage = nullptr;
        frUnregisterDesigner();
    }
    TfrPage* Page() const { return Report.Pages()->Pages(0); }

    TfrReport Report;
    std::unique_ptr<TfrDesignerForm> Designer;
};

void Repaint(benchmark::State& State, int Count)
{
    TDesignedPage D(Count);
    for (auto _ : State)
        D.Designer->PageView->PaintViews(10000);
}

void BareDraw(benchmark::State& State, int Count)
{
    TDesignedPage D(Count);
    QImage Image(D.Designer->PageView->size(), QImage::Format_RGB32);
    Image.fill(Qt::white);
    TCanvas Canvas(&Image);
    DocMode = dmDesigning;
    for (auto _ : State)
        for (int i = 0; i < D.Page()->Count(); ++i)
            D.Page()->Objects(i)->Draw(&Canvas);
}

void PlainQPainter(benchmark::State& State, int Count)
{
    TDesignedPage D(Count);
    QImage Image(D.Designer->PageView->size(), QImage::Format_RGB32);
    QPainter P(&Image);
    P.setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 10));
    std::vector<std::pair<QRect, bool>> Boxes;
    for (int i = 0; i < D.Page()->Count(); ++i) {
        TfrView* V = D.Page()->Objects(i);
        Boxes.push_back({QRect(V->Left(), V->Top(), V->Width(), V->Height()), V->ObjectType() == gtBand});
    }
    for (auto _ : State) {
        P.fillRect(Image.rect(), Qt::white);
        for (const auto& [R, Band] : Boxes) {
            P.fillRect(R, Band ? QColor(Qt::lightGray) : QColor(Qt::white));
            if (Band)
                continue;
            P.setPen(Qt::black);
            P.drawRect(R.adjusted(0, 0, -1, -1));
            P.drawText(R.adjusted(2, 1, -1, -1), Qt::AlignLeft | Qt::AlignTop, Text);
        }
    }
}

// One grid step of dragging 100 selected memos, back and forth.
void MoveStep(benchmark::State& State, int Selection)
{
    TDesignedPage D(500);
    D.Designer->Selection = Selection;
    TfrDesignerPage* Page = D.Designer->PageView;
    int Selected = 0;
    for (int i = 0; i < D.Page()->Count() && Selected < 100; ++i)
        if (D.Page()->Objects(i)->ObjectType() != gtBand) {
            SetViewSelected(D.Page()->Objects(i), true);
            ++Selected;
        }
    Page->ComputeSelectionBounds();
    TfrView* First = D.Page()->Objects(1);
    const int X = First->Left() + 10, Y = First->Top() + 8;
    Page->MouseMove({}, X, Y);
    Page->MouseDown(mbLeft, TShiftState{ssLeft}, X, Y);
    int Step = 0;
    for (auto _ : State) {
        Step ^= 1;
        Page->MouseMove(TShiftState{ssLeft}, X + 4 * Step, Y);
    }
    Page->MouseUp(mbLeft, {}, X + 4 * Step, Y);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    for (int Count : {500, 5000}) {
        const std::string N = std::to_string(Count);
        benchmark::RegisterBenchmark(("BM_Repaint" + N).c_str(), Repaint, Count)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_BareDraw" + N).c_str(), BareDraw, Count)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_PlainQPainter" + N).c_str(), PlainQPainter, Count)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("BM_MoveStepContents", MoveStep, 1)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_MoveStepOutlines", MoveStep, 0)->Unit(benchmark::kMillisecond);
    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    Reporter.PrintRatio("repaint 500 / bare Draw 500", "BM_Repaint500", "BM_BareDraw500", 2);
    Reporter.PrintRatio("repaint 500 / plain QPainter 500", "BM_Repaint500", "BM_PlainQPainter500", 10);
    Reporter.PrintRatio("repaint 5000 / bare Draw 5000", "BM_Repaint5000", "BM_BareDraw5000", 2);
    Reporter.PrintRatio("repaint 5000 / plain QPainter 5000", "BM_Repaint5000", "BM_PlainQPainter5000", 10);
    Reporter.PrintRatio("repaint 5000 / repaint 500", "BM_Repaint5000", "BM_Repaint500", 10);
    Reporter.PrintRatio("drag step / bare Draw 500", "BM_MoveStepContents", "BM_BareDraw500", 1);
    benchmark::Shutdown();
    return 0;
}
