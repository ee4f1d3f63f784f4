// Views on a QImage: fills and frame styles, lines, a control, and memo text by alignment, rotation, Chinese wrapping and printer
// resolution in real fonts.
#include "ViewTestUtil.h"

#include "report/engine/FR_Control.h"
#include "report/engine/FR_LineView.h"
#include "report/engine/FR_MemoView.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace viewtest;

namespace {

// 'F' frame blue, 'Y' fill yellow, '.' white.
QString Colours(const QImage& I, QPoint From, QPoint Step, int Count, bool Distinct)
{
    QString S;
    for (int k = 0; k < Count; ++k) {
        const TColor C = PixelAt(I, From.x() + Step.x() * k, From.y() + Step.y() * k);
        const QChar L = C == 0xFF0000 ? u'F' : C == 0x00FFFF ? u'Y' : C == clWhite ? u'.' : u'?';
        if (!Distinct || !S.contains(L))
            S += L;
    }
    if (Distinct)
        std::sort(S.begin(), S.end());
    return S;
}

TEST(ViewPaint, PrintStateFillsAndFrameStyles)
{
    // View (10, 10, 40, 30): across the right line (x 47..53, row 25) and the
    // colours down it; a styled line's pixel on row 25 may be a gap ('?').
    const struct
    {
        const char* Name;
        uint16_t Style;
        TColor Fill;
        uint16_t Lines;
        const char* Across;
        const char* Down;
    } Rows[] = {
        {"nothing to draw", fsSolid, clNone, 0, ".......", "."},
        {"fill only", fsSolid, 0x00FFFF, 0, "YYY....", "."},
        {"solid", fsSolid, 0x00FFFF, 15, "YYYF...", "F"},
        {"double", fsDouble, 0x00FFFF, 15, "YYFYF..", "Y"},
        {"double without fill", fsDouble, clNone, 15, "..F.F..", "."},
        {"dash shows the fill in its gaps", fsDash, 0x00FFFF, 15, "YYY?...", "FY"},
        {"dot without fill", fsDot, clNone, 15, "...?...", ".F"},
    };
    TEngineState State(dmPrinting);
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Name);
        QImage Image = WhiteImage(70, 60);
        TCanvas Canvas(&Image);
        TfrMemoView View;
        View.SetBounds(10, 10, 40, 30);
        View.SetFrameStyle(R.Style);
        View.SetFrameColor(0xFF0000);
        View.SetFillColor(R.Fill);
        View.SetFrameTyp(R.Lines);
        View.Draw(&Canvas);
        Canvas.Release();
        QString Across = Colours(Image, {47, 25}, {1, 0}, 7, false);
        if (R.Across[3] == '?')
            Across[3] = u'?';
        EXPECT_EQ(Across, QString::fromLatin1(R.Across));
        EXPECT_EQ(Colours(Image, {50, 12}, {0, 1}, 27, true), QString::fromLatin1(R.Down));
        EXPECT_TRUE(InkBox(Image, QRect(0, 0, 70, 9), 255).isNull()) << "nothing above the view";
    }
}

TEST(ViewPaint, LinesStandOrLieByTheirShape)
{
    const struct
    {
        int W, H;
        const char* Expected;   // frame line, size, ink
    } Rows[] = {{10, 100, "4 0x100 20,10,21,110"}, {100, 10, "8 100x0 20,10,120,11"}, {50, 50, "4 0x50 20,10,21,60"}};
    TEngineState State(dmPrinting);
    for (const auto& R : Rows) {
        QImage Image = WhiteImage(150, 150);
        TCanvas Canvas(&Image);
        TfrLineView Line;
        Line.SetBounds(20, 10, R.W, R.H);
        Line.Draw(&Canvas);
        Canvas.Release();
        EXPECT_EQ(QStringLiteral("%1 %2x%3 %4").arg(Line.FrameTyp()).arg(Line.Width()).arg(Line.Height())
                      .arg(Classic(InkBox(Image))),
                  QString::fromLatin1(R.Expected));
    }
}

class TfrLabelControl : public TfrControl
{
public:
    TfrLabelControl() : FLabel(std::make_unique<QLabel>())
    {
        FLabel->setStyleSheet(QStringLiteral("background: red"));
        SetControl(FLabel.get());
    }

private:
    std::unique_ptr<QLabel> FLabel;
};

TEST(ViewPaint, ControlIsRenderedWithoutAWindow)
{
    TEngineState State;
    QImage Image = WhiteImage(100, 60);
    TCanvas Canvas(&Image);
    TfrLabelControl View;
    View.SetBounds(20, 10, 50, 30);
    View.Draw(&Canvas);
    Canvas.Release();
    EXPECT_EQ(PixelAt(Image, 40, 25), clRed);
    EXPECT_EQ(PixelAt(Image, 10, 25), clWhite);
    EXPECT_FALSE(View.Control()->isVisible());
}

// A line of memo text in a real font, view (10, 10, 190, 90), gaps 2 and 1,
// lines of 15 + 2: its ink, and the text's measured width.
QRect MemoInk(int Alignment, int& TextWidth)
{
    QImage Image = WhiteImage(220, 120);
    TCanvas Canvas(&Image);
    TfrMemoView View;
    View.Font()->SetName(QStringLiteral("DejaVu Sans"));
    View.SetBounds(10, 10, 190, 90);
    View.SetAlignment(Alignment);
    View.Memo()->Add(QStringLiteral("HHHH"));
    View.Draw(&Canvas);
    Canvas.Release();
    TextWidth = frTextWidth(*View.Font(), QStringLiteral("HHHH"), 0);
    return InkBox(Image);
}

TEST(ViewPaint, MemoTextFollowsItsAlignment)
{
    // Against a reference alignment the same glyphs move by exactly the
    // difference of the start points.
    const struct
    {
        const char* Name;
        int Alignment, Reference;
        bool Vertical;
        int (*Shift)(int TextWidth);
    } Rows[] = {
        {"right", frtaRight, frtaLeft, false, [](int TW) { return 185 - TW; }},
        {"centre", frtaCenter, frtaLeft, false, [](int TW) { return (186 - TW) / 2; }},
        {"bottom", frtaDown, frtaLeft, true, [](int) { return 72; }},
        {"middle", frtaMiddle, frtaLeft, true, [](int) { return 36; }},
        {"rotated right", frtaVertical | frtaRight, frtaVertical, true, [](int TW) { return TW - 88; }},
        {"rotated centre", frtaVertical | frtaCenter, frtaVertical, true, [](int TW) { return -1 - (88 - TW) / 2; }},
    };
    TEngineState State(dmPrinting);
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Name);
        int TW = 0;
        const QRect Ref = MemoInk(R.Reference, TW);
        const QRect Ink = MemoInk(R.Alignment, TW);
        EXPECT_EQ(Ink.size(), Ref.size());
        EXPECT_EQ(R.Vertical ? Ink.top() - Ref.top() : Ink.left() - Ref.left(), R.Shift(TW));
    }
    int TW = 0;
    const QRect Upright = MemoInk(frtaLeft, TW), Rotated = MemoInk(frtaVertical, TW);
    EXPECT_EQ(QSize(Rotated.height(), Rotated.width()), Upright.size()) << "the same line turned upwards";
    EXPECT_LE(RectBottom(Rotated), 99) << "rotated text starts at the bottom gap";
}

TEST(ViewPaint, ChineseMemoWrapsBetweenCharactersInsideItsWidth)
{
    TEngineState State(dmPrinting);
    const QString Text = QStringLiteral("本月销售合计金额已按客户分类汇总，请财务主管核对后签字确认并存档备查。");
    QImage Image = WhiteImage(200, 300);
    TCanvas Canvas(&Image);
    TfrMemoView View;
    View.Font()->SetName(QStringLiteral("WenQuanYi Micro Hei"));
    View.SetBounds(10, 10, 120, 250);
    View.Memo()->Add(Text);
    View.Draw(&Canvas);
    Canvas.Release();
    const QStringList Lines = View.ExpandedMemo()->ToStringList();
    ASSERT_GT(Lines.size(), 2);
    EXPECT_EQ(Lines.join(QString()).remove(QChar(1)), Text) << "nothing dropped or doubled";
    for (const QString& Line : Lines)
        EXPECT_LE(frTextWidth(*View.Font(), Line, 0), 116) << Line.toStdString();
    EXPECT_TRUE(InkBox(Image, QRect(128, 0, 72, 300)).isNull()) << "no ink right of the clip";
    int Bands = 0;   // one band of ink per line
    for (int Y = 1; Y < 300; ++Y)
        Bands += !InkBox(Image, QRect(0, Y, 200, 1)).isNull() && InkBox(Image, QRect(0, Y - 1, 200, 1)).isNull();
    EXPECT_EQ(Bands, Lines.size());
}

TEST(ViewPaint, PrinterCanvasKeepsPointSizes)
{
    // The same memo on a 96-dpi screen at 1:1 and on a 300-dpi printer canvas
    // at 300/96: the text grows with the resolution.
    TEngineState State(dmPrinting);
    auto InkHeight = [](int Dpi) {
        QImage Image = WhiteImage(800, 300);
        TCanvas Canvas(&Image);
        Canvas.SetPixelsPerInch(Dpi);
        TfrMemoView View;
        View.SetIsPrinting(Dpi != 96);
        View.SetScale(Dpi / 96.0, Dpi / 96.0);
        View.Font()->SetName(QStringLiteral("DejaVu Sans"));
        View.Font()->SetSize(12);
        View.SetBounds(0, 0, 200, 60);
        View.Memo()->Add(QStringLiteral("HHHH"));
        View.Draw(&Canvas);
        Canvas.Release();
        return InkBox(Image).height();
    };
    EXPECT_NEAR(double(InkHeight(300)) / InkHeight(96), 300.0 / 96.0, 0.25);
}

} // namespace
