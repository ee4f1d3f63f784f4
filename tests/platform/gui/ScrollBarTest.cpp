// The scroll bar's classic range and the scroll codes it reports.
#include "platform/gui/StdCtrls.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct TRangeCase
{
    const char* Name;
    int Min, Max, Page, Position;
    int FirstPos, LastPos, Clamped;
};

TEST(ScrollBar, PositionsRunToMaxLessPagePlusOne)
{
    const TRangeCase Cases[] = {
        {"records with a page", 1, 100 + 20 - 1, 20, 50, 1, 100, 50},
        {"no page", 0, 4, 0, 2, 0, 4, 2},
        {"position past the end", 1, 10 + 5 - 1, 5, 99, 1, 10, 10},
        {"page larger than the range", 0, 3, 10, 2, 0, 0, 0},
        {"maximum below minimum", 5, 1, 0, 3, 5, 5, 5},
    };
    for (const TRangeCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TScrollBar Bar(sbVertical);
        Bar.SetPageSize(C.Page);
        Bar.SetParams(C.Position, C.Min, C.Max);
        EXPECT_EQ(Bar.Min(), C.Min);
        EXPECT_EQ(Bar.Max(), C.Max);
        EXPECT_EQ(Bar.PageSize(), C.Page);
        EXPECT_EQ(Bar.minimum(), C.FirstPos);
        EXPECT_EQ(Bar.maximum(), C.LastPos);
        EXPECT_EQ(Bar.Position(), C.Clamped);
    }
}

struct TReport
{
    TScrollCode Code;
    int Pos;
    bool operator==(const TReport&) const = default;
};

TEST(ScrollBar, ActionsReportClassicCodes)
{
    struct TCase
    {
        QAbstractSlider::SliderAction Action;
        TScrollCode Code;
        int Pos;
    };
    const TCase Cases[] = {
        {QAbstractSlider::SliderSingleStepSub, scLineUp, 4},
        {QAbstractSlider::SliderSingleStepAdd, scLineDown, 6},
        {QAbstractSlider::SliderPageStepSub, scPageUp, 2},
        {QAbstractSlider::SliderPageStepAdd, scPageDown, 8},
        {QAbstractSlider::SliderToMinimum, scTop, 0},
        {QAbstractSlider::SliderToMaximum, scBottom, 10},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(int(C.Code));
        TScrollBar Bar(sbVertical);
        Bar.SetLargeChange(3);
        Bar.SetParams(5, 0, 10);
        std::vector<TReport> Seen;
        Bar.Attach(&Bar, [&](TScrollCode Code, int Pos) { Seen.push_back({Code, Pos}); });
        Bar.triggerAction(C.Action);
        EXPECT_EQ(Seen, (std::vector<TReport>{{C.Code, C.Pos}}));
    }
}

// The attached control hears first and may place the bar itself; OnScroll
// then sees that position and may still change it.
TEST(ScrollBar, AttachedControlDecidesThePosition)
{
    TScrollBar Bar(sbHorizontal);
    Bar.SetParams(5, 0, 10);
    std::vector<QString> Order;
    Bar.Attach(&Bar, [&](TScrollCode, int) {
        Order.push_back(QStringLiteral("owner"));
        Bar.SetPosition(9);
    });
    Bar.OnScroll = [&](QObject*, TScrollCode Code, int& Pos) {
        Order.push_back(QStringLiteral("event"));
        EXPECT_EQ(Code, scLineDown);
        EXPECT_EQ(Pos, 6);
    };
    Bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Order, (std::vector<QString>{QStringLiteral("owner"), QStringLiteral("event")}));
    EXPECT_EQ(Bar.Position(), 9);

    Bar.Detach();
    EXPECT_EQ(Bar.AttachedTo(), nullptr);
    Bar.OnScroll = [](QObject*, TScrollCode, int& Pos) { Pos = 2; };
    Bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Bar.Position(), 2);
}

TEST(ScrollBar, ControlShowsAndHidesItsOwnBars)
{
    TCustomControl C;
    C.resize(200, 100);
    EXPECT_FALSE(C.ScrollBarShowing(sbVertical));
    C.ShowScrollBar(sbVertical, true);
    EXPECT_TRUE(C.ScrollBarShowing(sbVertical));
    EXPECT_FALSE(C.ScrollBarShowing(sbHorizontal));
    EXPECT_EQ(C.VertBar()->AttachedTo(), &C);
    const int Narrow = C.ClientWidth();
    C.ShowScrollBar(sbHorizontal, true);
    EXPECT_EQ(C.ScrollBars(), ssBoth);
    C.ShowScrollBar(sbVertical, false);
    EXPECT_EQ(C.ScrollBars(), ssHorizontal);
    EXPECT_GT(C.ClientWidth(), Narrow);
}

} // namespace
