// Views on a QImage: backgrounds and frame styles in print and design state,
// lines, the design drawing of bands, subreports and controls, and memo text
// placed by alignment, rotation and resolution with real fonts.
#include "ViewTestUtil.h"

#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Control.h"
#include "report/engine/FR_LineView.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_SubReportView.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace viewtest;

namespace {

constexpr TColor FrameBlue = 0xFF0000;
constexpr TColor FillYellow = 0x00FFFF;

char Letter(TColor C)
{
    return C == FrameBlue ? 'F' : C == FillYellow ? 'Y' : C == clWhite ? '.' : '?';
}

// The colours along a row from X0 to X1, and the set of colours down a column.
QString Row(const QImage& I, int X0, int X1, int Y)
{
    QString S;
    for (int X = X0; X <= X1; ++X)
        S += QLatin1Char(Letter(PixelAt(I, X, Y)));
    return S;
}

QString Column(const QImage& I, int X, int Y0, int Y1)
{
    QString S;
    for (int Y = Y0; Y <= Y1; ++Y)
        if (!S.contains(QLatin1Char(Letter(PixelAt(I, X, Y)))))
            S += QLatin1Char(Letter(PixelAt(I, X, Y)));
    std::sort(S.begin(), S.end());
    return S;
}

struct TFrameRow
{
    const char* Name;
    uint16_t Style;
    float Width;
    TColor Fill;
    uint16_t Lines;
    const char* Across;   // x 47..53 on row 25, the right line being at x 50
    const char* Down;     // colours down x 50
};

TEST(ViewPaint, PrintStateFillsAndFrameStyles)
{
    const TFrameRow Rows[] = {
        {"nothing to draw", fsSolid, 1, clNone, 0, ".......", "."},
        {"fill only", fsSolid, 1, FillYellow, 0, "YYY....", "."},
        {"solid", fsSolid, 1, FillYellow, 15, "YYYF...", "F"},
        {"double", fsDouble, 1, FillYellow, 15, "YYFYF..", "Y"},
        {"double without fill", fsDouble, 1, clNone, 15, "..F.F..", "."},
        {"dash shows the fill in its gaps", fsDash, 1, FillYellow, 15, "YYY?...", "FY"},
        {"dot without fill", fsDot, 1, clNone, 15, "...?...", ".F"},
    };
    for (const TFrameRow& R : Rows) {
        SCOPED_TRACE(R.Name);
        TEngineState State(dmPrinting);
        QImage Image = WhiteImage(70, 60);
        TCanvas Canvas(&Image);
        TfrMemoView View;
        View.SetBounds(10, 10, 40, 30);
        View.SetFrameStyle(R.Style);
        View.SetFrameWidth(R.Width);
        View.SetFrameColor(FrameBlue);
        View.SetFillColor(R.Fill);
        View.SetFrameTyp(R.Lines);
        View.Draw(&Canvas);
        Canvas.Release();
        QString Across = Row(Image, 47, 53, 25);
        if (QString::fromLatin1(R.Across).contains(u'?'))
            Across[3] = u'?';   // a styled line's pixel on this row may be a gap
        EXPECT_EQ(Across, QString::fromLatin1(R.Across));
        EXPECT_EQ(Column(Image, 50, 12, 38), QString::fromLatin1(R.Down));
        EXPECT_EQ(Column(Image, 5, 0, 59) + Column(Image, 60, 0, 59), QStringLiteral("..")) << "nothing outside";
    }
}

TEST(ViewPaint, DesignStateShowsCornerMarksOnWhite)
{
    TEngineState State(dmDesigning);
    QImage Image(70, 60, QImage::Format_RGB32);
    Image.fill(Qt::gray);
    TCanvas Canvas(&Image);
    TfrMemoView View;
    View.SetBounds(10, 10, 40, 30);
    View.Draw(&Canvas);
    Canvas.Release();
    for (QPoint P : {QPoint(10, 12), QPoint(13, 10), QPoint(10, 38), QPoint(50, 12), QPoint(47, 40), QPoint(50, 38)})
        EXPECT_EQ(PixelAt(Image, P.x(), P.y()), clBlack) << P.x() << "," << P.y();
    EXPECT_EQ(PixelAt(Image, 30, 25), clWhite) << "the inner rectangle is filled white";
    EXPECT_EQ(PixelAt(Image, 30, 5), QColorToColor(QColor(Qt::gray)));
}

TEST(ViewPaint, LinesStandOrLieByTheirShape)
{
    const struct
    {
        int W, H;
        const char* Expected;   // frame line, size, ink box
    } Rows[] = {
        {10, 100, "4 0x100 20,10,21,110"},
        {100, 10, "8 100x0 20,10,120,11"},
        {50, 50, "4 0x50 20,10,21,60"},
    };
    TEngineState State(dmPrinting);
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Expected);
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

TEST(ViewPaint, BandInDesignIsHatchedWithATitleTab)
{
    TEngineState State(dmDesigning);
    auto Page = NewPage();
    Page->PrnInfo.PaperHeightPx = 200;
    CurPage = Page.get();
    QImage Image = WhiteImage(820, 220);
    TCanvas Canvas(&Image);
    TfrBandView Band;
    Band.SetBandType(btMasterData);
    Band.SetBounds(5, 40, 300, 30);
    Band.Draw(&Canvas);
    TfrBandView Cross;
    Cross.SetBandType(btCrossData);
    Cross.SetBounds(400, 60, 60, 10);
    Cross.Draw(&Canvas);
    Canvas.Release();
    EXPECT_EQ(QStringLiteral("%1,%2").arg(Band.Left()).arg(Band.Width()), QStringLiteral("0,800"));
    EXPECT_EQ(PixelAt(Image, 200, 56), clWhite);
    EXPECT_EQ(PixelAt(Image, 201, 56), clSilver);
    EXPECT_EQ(PixelAt(Image, 50, 24), ColorToRGB(clBtnFace)) << "tab";
    EXPECT_EQ(PixelAt(Image, 98, 30), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelAt(Image, 99, 30), clBlack);
    EXPECT_FALSE(InkBox(Image, QRect(2, 23, 95, 16)).isNull()) << "the type name on the tab";
    EXPECT_EQ(QStringLiteral("%1,%2").arg(Cross.Top()).arg(Cross.Height()), QStringLiteral("0,200"));
    const QRect Title = InkBox(Image, QRect(382, 0, 18, 100));
    EXPECT_GT(Title.height(), Title.width()) << "the cross band's name runs upwards";
}

TEST(ViewPaint, SubReportIsANamedBox)
{
    TEngineState State(dmDesigning);
    QImage Image(120, 60, QImage::Format_RGB32);
    Image.fill(Qt::gray);
    TCanvas Canvas(&Image);
    TfrSubReportView View;
    View.SetName(QStringLiteral("SubReport1"));
    View.SetBounds(10, 10, 100, 40);
    View.Draw(&Canvas);
    Canvas.Release();
    EXPECT_EQ(PixelAt(Image, 10, 30), clBlack);
    EXPECT_EQ(PixelAt(Image, 105, 45), clWhite);
    EXPECT_FALSE(InkBox(Image, QRect(12, 12, 90, 14)).isNull());
}

class TfrLabelControl : public TfrControl
{
public:
    TfrLabelControl() : FLabel(std::make_unique<QLabel>())
    {
        FLabel->setAutoFillBackground(true);
        FLabel->setStyleSheet(QStringLiteral("background: red"));
        SetControl(FLabel.get());
    }

private:
    std::unique_ptr<QLabel> FLabel;
};

TEST(ViewPaint, ControlIsRenderedWithoutAWindow)
{
    TEngineState State(dmDesigning);
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

// The ink of a memo line in a real font, drawn with an alignment and with a
// reference alignment: the same glyphs, moved by exactly the difference of
// the two start points. View (10, 10, 190, 90), gaps 2 and 1, line 15 + 2.
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

struct TAlignRow
{
    const char* Name;
    int Alignment;
    int Reference;
    bool Vertical;            // compare tops, else lefts
    int (*Shift)(int TextWidth);
};

TEST(ViewPaint, MemoTextFollowsItsAlignment)
{
    const TAlignRow Rows[] = {
        {"right", frtaRight, frtaLeft, false, [](int TW) { return 185 - TW; }},
        {"centre", frtaCenter, frtaLeft, false, [](int TW) { return (186 - TW) / 2; }},
        {"bottom", frtaDown, frtaLeft, true, [](int) { return 72; }},
        {"middle", frtaMiddle, frtaLeft, true, [](int) { return 36; }},
        {"rotated right", frtaVertical | frtaRight, frtaVertical, true, [](int TW) { return TW - 88; }},
        {"rotated centre", frtaVertical | frtaCenter, frtaVertical, true, [](int TW) { return -1 - (88 - TW) / 2; }},
    };
    TEngineState State(dmPrinting);
    for (const TAlignRow& R : Rows) {
        SCOPED_TRACE(R.Name);
        int TW = 0;
        const QRect Ref = MemoInk(R.Reference, TW);
        const QRect Ink = MemoInk(R.Alignment, TW);
        ASSERT_FALSE(Ink.isNull());
        EXPECT_EQ(Ink.size(), Ref.size());
        EXPECT_EQ(R.Vertical ? Ink.top() - Ref.top() : Ink.left() - Ref.left(), R.Shift(TW));
    }
    int TW = 0;
    const QRect Upright = MemoInk(frtaLeft, TW), Rotated = MemoInk(frtaVertical, TW);
    EXPECT_EQ(QSize(Rotated.height(), Rotated.width()), Upright.size()) << "the same line turned upwards";
    EXPECT_LE(RectBottom(Rotated), 99) << "rotated text starts at the bottom gap";
    EXPECT_GE(Rotated.left(), 12);
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
    // One band of ink per line, 15 pixels apart.
    int Bands = 0;
    for (int Y = 0; Y < 300; ++Y)
        if (!InkBox(Image, QRect(0, Y, 200, 1)).isNull() && InkBox(Image, QRect(0, Y - 1, 200, 1)).isNull())
            ++Bands;
    EXPECT_EQ(Bands, Lines.size());
}

TEST(ViewPaint, PrinterCanvasKeepsPointSizes)
{
    // The same memo on a 96-dpi screen at 1:1 and on a 300-dpi printer
    // canvas at 300/96: the text grows by the resolution, not by 1/3 of it.
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
    const double Ratio = double(InkHeight(300)) / InkHeight(96);
    EXPECT_NEAR(Ratio, 300.0 / 96.0, 0.25);
}

} // namespace
