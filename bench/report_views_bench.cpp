// One list line of a report drawn as the preview draws it: eight memo views
// with frames, seven right-aligned amounts and a Chinese remark of 60
// characters wrapped into three lines, on an offscreen image. The baseline
// draws the same frames and text with bare canvas calls, its lines and
// positions worked out beforehand. Target: under 30 µs per memo, within 3x.
#include "BenchRatio.h"

#include "platform/gui/Graphics.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_TextMeasure.h"

#include <QApplication>
#include <memory>
#include <vector>

namespace {

constexpr int MemoCount = 8;

const QString Remark = QStringLiteral(
    "本月销售合计已按客户分类汇总，请财务主管核对后签字确认并存档备查。如有疑问请及时联系销售部门负责人处理，谢谢配合！");

std::vector<std::unique_ptr<TfrMemoView>> ListLine()
{
    std::vector<std::unique_ptr<TfrMemoView>> Memos;
    for (int i = 0; i < MemoCount; ++i) {
        auto Memo = std::make_unique<TfrMemoView>();
        Memo->Font()->SetName(QStringLiteral("WenQuanYi Micro Hei"));
        Memo->SetFrameTyp(15);
        if (i < MemoCount - 1) {
            Memo->SetBounds(10 + i * 80, 10, 80, 20);
            Memo->SetAlignment(frtaRight);
            Memo->Memo()->Add(QStringLiteral("%1.50").arg(12345 + i * 1111));
        } else {
            Memo->SetBounds(570, 10, 330, 60);
            Memo->Memo()->Add(Remark);
        }
        Memos.push_back(std::move(Memo));
    }
    return Memos;
}

void Counters(benchmark::State& State)
{
    State.counters["per_memo"] = benchmark::Counter(static_cast<double>(State.iterations() * MemoCount),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_DrawListLine(benchmark::State& State)
{
    DocMode = dmPrinting;
    QImage Image(920, 80, QImage::Format_RGB32);
    Image.fill(Qt::white);
    TCanvas Canvas(&Image);
    auto Memos = ListLine();
    for (auto _ : State)
        for (auto& Memo : Memos)
            Memo->Draw(&Canvas);
    Counters(State);
}
BENCHMARK(BM_DrawListLine)->Unit(benchmark::kMicrosecond);

// The same pixels through bare canvas calls: frames, then each line's text
// at a place computed once.
void BM_BareCanvas(benchmark::State& State)
{
    QImage Image(920, 80, QImage::Format_RGB32);
    Image.fill(Qt::white);
    TCanvas Canvas(&Image);
    Canvas.Font()->SetName(QStringLiteral("WenQuanYi Micro Hei"));
    Canvas.Font()->SetSize(10);
    Canvas.Brush()->SetStyle(bsClear);
    struct TText
    {
        QRect Clip;
        int X, Y;
        QString Line;
    };
    std::vector<QRect> Boxes;
    std::vector<TText> Texts;
    for (int i = 0; i < MemoCount - 1; ++i) {
        const QString Amount = QStringLiteral("%1.50").arg(12345 + i * 1111);
        const int L = 10 + i * 80;
        Boxes.push_back(Rect(L, 10, L + 80, 30));
        Texts.push_back({Rect(L + 1, 10, L + 79, 30), L + 80 - 3 - Canvas.TextWidth(Amount), 11, Amount});
    }
    Boxes.push_back(Rect(570, 10, 900, 70));
    for (int k = 0; k < 3; ++k)
        Texts.push_back({Rect(571, 10, 899, 70), 572, 11 + 15 * k, Remark.mid(k * 25, 25)});
    for (auto _ : State) {
        for (const QRect& R : Boxes) {
            Canvas.MoveTo(RectRight(R), R.top());
            Canvas.LineTo(RectRight(R), RectBottom(R));
            Canvas.MoveTo(R.left(), R.top());
            Canvas.LineTo(R.left(), RectBottom(R));
            Canvas.MoveTo(R.left(), RectBottom(R));
            Canvas.LineTo(RectRight(R), RectBottom(R));
            Canvas.MoveTo(R.left(), R.top());
            Canvas.LineTo(RectRight(R), R.top());
        }
        for (const TText& T : Texts)
            Canvas.TextRect(T.Clip, T.X, T.Y, T.Line);
    }
    Counters(State);
}
BENCHMARK(BM_BareCanvas)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    Reporter.PrintRatio("memo views / bare canvas calls", "BM_DrawListLine", "BM_BareCanvas", 3);
    benchmark::Shutdown();
    return 0;
}
