// Where views land: the canvas rectangles of BeginDraw, the clip regions of
// each frame style, line and band, and the placements of every band alignment.
#include "ViewTestUtil.h"

#include "report/engine/FR_Band.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_LineView.h"
#include "report/engine/FR_MemoView.h"

#include <gtest/gtest.h>

using namespace viewtest;

namespace {

TEST(ViewGeometry, BeginDrawScalesAndInsetsByTheFrame)
{
    // View (10, 20, 100, 50): DrawRect, then GapX and GapY on the canvas.
    const struct
    {
        float FrameWidth;
        double Scale;
        uint16_t FrameTyp;
        const char* Expected;
    } Rows[] = {
        {1, 1, 15, "10,20,111,71 gap 2,1"},       {1.5f, 1, 15, "10,20,110,70 gap 3,1"},
        {3, 1, 15, "11,21,109,69 gap 4,2"},       {1, 1.5, 15, "15,30,165,105 gap 4,2"},
        {1.5f, 6.25, 15, "66,129,684,434 gap 17,8"}, {3, 6.25, 15, "71,134,680,430 gap 21,10"},
        {3, 1.5, 0, "15,30,165,105 gap 5,3"},
    };
    TEngineState State(dmPrinting);
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Expected);
        TfrMemoView View;
        View.SetBounds(10, 20, 100, 50);
        View.SetFrameWidth(Row.FrameWidth);
        View.SetFrameTyp(Row.FrameTyp);
        View.SetScale(Row.Scale, Row.Scale);
        {
            TfrDrawScope Scope(&View);
            EXPECT_EQ(QStringLiteral("%1 gap %2,%3").arg(Classic(View.DrawRect())).arg(View.GapX()).arg(View.GapY()),
                      QString::fromLatin1(Row.Expected));
        }
        EXPECT_EQ(QStringLiteral("%1,%2,%3,%4,%5").arg(View.Left()).arg(View.Top()).arg(View.Width()).arg(View.Height())
                      .arg(View.FrameWidth()),
                  QStringLiteral("10,20,100,50,%1").arg(Row.FrameWidth))
            << "EndDraw puts the design values back";
    }
}

TEST(ViewGeometry, ClipRegionCoversFrameAndTitle)
{
    // Memos at (10, 20, 100, 50), a vertical line at (10, 20, 0, 50), bands at
    // (0, 100, 700, 40) with their tabs above: the bounding rectangle.
    const struct
    {
        const char* Name;
        int Class;   // 0 memo, 1 line, else the band type
        uint16_t Style;
        float Width;
        uint16_t Lines;
        bool Extended;
        const char* Expected;
    } Rows[] = {
        {"solid 1", 0, fsSolid, 1, 15, false, "10,20,111,71"},
        {"solid 1 extended", 0, fsSolid, 1, 15, true, "0,10,121,81"},
        {"solid 3", 0, fsSolid, 3, 15, false, "8,18,112,72"},
        {"dash 3, left and top only", 0, fsDash, 3, frbLeft | frbTop, false, "8,18,111,71"},
        {"double 2", 0, fsDouble, 2, 15, false, "7,17,113,73"},
        {"no lines", 0, fsSolid, 3, 0, false, "10,20,111,71"},
        {"vertical line width 3", 1, fsSolid, 3, frbLeft, false, "9,20,12,71"},
        {"band, tab 100 wide", btMasterData, 0, 1, 0, false, "0,82,701,141"},
        {"band, tab for 16 characters", btSubDetailFooter, 0, 1, 0, true, "-10,82,711,151"},
    };
    TEngineState State;
    UseKnownMetrics();
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        std::unique_ptr<TfrView> View;
        if (Row.Class > 1) {
            auto Band = std::make_unique<TfrBandView>();
            Band->SetBandType(Row.Class);
            Band->SetBounds(0, 100, 700, 40);
            View = std::move(Band);
        } else {
            View = Row.Class ? std::unique_ptr<TfrView>(std::make_unique<TfrLineView>())
                             : std::unique_ptr<TfrView>(std::make_unique<TfrMemoView>());
            View->SetBounds(10, 20, Row.Class ? 0 : 100, 50);
            View->SetFrameStyle(Row.Style);
            View->SetFrameWidth(Row.Width);
            View->SetFrameTyp(Row.Lines);
        }
        const QRegion Region = View->GetClipRgn(Row.Extended);
        EXPECT_EQ(Classic(Region.boundingRect()), QString::fromLatin1(Row.Expected));
        if (Row.Class > 1) {
            const int Tab = Row.Class == btSubDetailFooter ? 104 : 100;   // 16 x 6 + 8
            EXPECT_TRUE(Region.contains(QPoint(Tab - 1, 85)) && !Region.contains(QPoint(Tab, 85)));
        }
    }
}

TEST(ViewGeometry, BandAlignPlacesByNeighboursBandAndPage)
{
    // Page span 40..740; on row 10 a baLeft view at 100..150 and a baRight one
    // at 600; a data band at 100..140 and a cross band at 500..620.
    const struct
    {
        const char* Name;
        int DocMode;
        uint8_t Align;
        QRect Bounds;
        const char* Expected;
    } Rows[] = {
        {"left after its neighbour", dmDesigning, baLeft, {300, 10, 80, 20}, "150,10,80,20"},
        {"left on another row", dmDesigning, baLeft, {300, 11, 80, 20}, "40,11,80,20"},
        {"right before its neighbour", dmDesigning, baRight, {300, 10, 80, 20}, "519,10,80,20"},
        {"right without one", dmDesigning, baRight, {650, 10, 80, 20}, "660,10,80,20"},
        {"rest between both", dmDesigning, baRest, {300, 10, 80, 20}, "150,10,450,20"},
        {"centre", dmDesigning, baCenter, {0, 300, 100, 20}, "340,300,100,20"},
        {"width of the page", dmDesigning, baWidth, {200, 110, 50, 20}, "40,110,700,20"},
        {"width of a cross band", dmDesigning, baWidth, {510, 300, 50, 20}, "500,300,120,20"},
        {"bottom of its band", dmDesigning, baBottom, {200, 105, 50, 10}, "200,130,50,10"},
        {"top of its band", dmDesigning, baTop, {200, 125, 50, 10}, "200,100,50,10"},
        {"width while printing, no band", dmPrinting, baWidth, {200, 110, 50, 20}, "40,110,699,20"},
        {"right while printing, moved down by its band", dmPrinting, baRight, {300, 110, 80, 20}, "519,110,80,20"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TEngineState State(Row.DocMode);
        auto Page = NewPage();
        auto Add = [&](std::unique_ptr<TfrView> V, QRect R, uint8_t Align, int BandType = -1) {
            V->SetBounds(R.x(), R.y(), R.width(), R.height());
            V->SetBandAlign(Align);
            if (BandType >= 0)
                static_cast<TfrBandView*>(V.get())->SetBandType(BandType);
            Page->Add(std::move(V));
            return Page->Objects(Page->Count() - 1);
        };
        Add(std::make_unique<TfrMemoView>(), {100, 10, 50, 20}, baLeft);
        Add(std::make_unique<TfrMemoView>(), {600, 10, 50, 20}, baRight);
        Add(std::make_unique<TfrBandView>(), {0, 100, 800, 40}, baNone, btMasterData);
        Add(std::make_unique<TfrBandView>(), {500, 280, 120, 400}, baNone, btCrossData);
        TfrView* Subject = Add(std::make_unique<TfrMemoView>(), Row.Bounds, Row.Align);
        TfrBand RunBand;
        RunBand.Y = 100;
        if (Row.DocMode == dmPrinting && Row.Align != baWidth)
            CurBand = &RunBand;
        CurPage = Page.get();
        Subject->ApplyBandAlign(nullptr);
        EXPECT_EQ(QStringLiteral("%1,%2,%3,%4").arg(Subject->Left()).arg(Subject->Top()).arg(Subject->Width())
                      .arg(Subject->Height()),
                  QString::fromLatin1(Row.Expected));
        EXPECT_EQ(CurView, Subject);
    }
}

} // namespace
