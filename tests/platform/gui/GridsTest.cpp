// The base grid: geometry, hit tests, scrolling that repaints only the
// uncovered band, sizing and moving by mouse, keys and the in-place editor.
#include "GuiTestUtil.h"
#include "platform/gui/Grids.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <map>

namespace {

// Paints every scrolled cell in a colour of its own, so that a scrolled image
// can be compared with a fresh one, and records what the grid asked of it.
class TTestGrid : public TCustomGrid
{
public:
    TTestGrid()
    {
        resize(300, 200);
        SetDefaultRowHeight(20);
        SetDefaultColWidth(50);
        SetColWidths(0, 10);
        WidthChanges = 0;
    }

    int Draws = 0;
    std::vector<TGridCoord> Drawn;
    std::vector<std::pair<int, int>> Moves;
    int WidthChanges = 0;
    int TopLeftChanges = 0;
    TGridCoord Forbidden{-1, -1};
    TGridCoord Marked{-1, -1};
    std::map<std::pair<int, int>, QString> Texts;

    const QImage& Image() { return *Canvas()->Image(); }
    using TCustomGrid::ColLeft;
    using TCustomGrid::MaxTopRow;

protected:
    void DrawCell(int ACol, int ARow, const QRect& ARect, TGridDrawState AState) override
    {
        ++Draws;
        Drawn.push_back(TGridCoord{ACol, ARow});
        if (!AState.Contains(gdFixed)) {
            const bool Mark = TGridCoord{ACol, ARow} == Marked;
            Canvas()->Brush()->SetColor(Mark ? clRed : RGB(ACol * 30, (ARow * 7) % 256, AState.Contains(gdFocused) ? 255 : 100));
            Canvas()->FillRect(ARect);
        }
    }
    void ColumnMoved(int FromIndex, int ToIndex) override { Moves.push_back({FromIndex, ToIndex}); }
    void ColWidthsChanged() override { ++WidthChanges; }
    void TopLeftChanged() override { ++TopLeftChanges; }
    bool SelectCell(int ACol, int ARow) override { return !(TGridCoord{ACol, ARow} == Forbidden); }
    QString GetEditText(int ACol, int ARow) override { return Texts[{ACol, ARow}]; }
    void SetEditText(int ACol, int ARow, const QString& Value) override { Texts[{ACol, ARow}] = Value; }
};

void SendMouse(QWidget* W, QEvent::Type Type, int X, int Y, Qt::MouseButtons Buttons = Qt::LeftButton)
{
    QMouseEvent E(Type, QPointF(X, Y), W->mapToGlobal(QPointF(X, Y)),
                  Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(W, &E);
}

} // namespace

TEST(GridsTest, CellRectsFollowWidthsLinesAndHiddenColumns)
{
    struct TRow
    {
        const char* Name;
        int LineWidth;
        std::vector<int> Widths;
        int Col;
        QRect Expected;
    };
    const TRow Rows[] = {
        {"first scrolled column after fixed", 1, {10, 50, 50, 50, 50}, 1, QRect(11, 21, 50, 20)},
        {"hidden column takes no room", 1, {10, 50, 0, 40, 50}, 3, QRect(62, 21, 40, 20)},
        {"hidden column has no rect", 1, {10, 50, 0, 40, 50}, 2, QRect()},
        {"no lines", 0, {10, 50, 50, 50, 50}, 2, QRect(60, 20, 50, 20)},
        {"thick lines", 3, {10, 50, 50, 50, 50}, 2, QRect(66, 23, 50, 20)},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TTestGrid G;
        G.SetGridLineWidth(Row.LineWidth);
        for (int c = 0; c < 5; ++c)
            G.SetColWidths(c, Row.Widths[size_t(c)]);
        EXPECT_EQ(G.CellRect(Row.Col, 1), Row.Expected);
        if (!Row.Expected.isEmpty()) {
            // Every pixel of the box, line included, hits the same cell.
            EXPECT_EQ(G.MouseCoord(Row.Expected.left(), Row.Expected.top()), (TGridCoord{Row.Col, 1}));
            EXPECT_EQ(G.MouseCoord(Row.Expected.right() + Row.LineWidth, Row.Expected.bottom()),
                      (TGridCoord{Row.Col, 1}));
        }
    }
}

TEST(GridsTest, VisibleCountsAndTopRowLimits)
{
    TTestGrid G;
    G.SetRowCount(100);
    // 200 pixels: a fixed row of 21, then 8 rows of 21 fit fully (189), a ninth in part.
    EXPECT_EQ(G.VisibleRowCount(), 8);
    EXPECT_EQ(G.MaxTopRow(), 100 - 8);
    G.SetTopRow(1000);
    EXPECT_EQ(G.TopRow(), 92);
    G.SetTopRow(-5);
    EXPECT_EQ(G.TopRow(), 1);
    EXPECT_EQ(G.MouseCoord(5, 5), (TGridCoord{0, 0}));
    EXPECT_EQ(G.MouseCoord(214, 199).X, 4);
    EXPECT_EQ(G.MouseCoord(215, 199).X, -1) << "right of the last column";
    G.SetColCount(3);
    EXPECT_EQ(G.MouseCoord(213, 30), (TGridCoord{-1, -1})) << "column 4 is gone";
}

TEST(GridsTest, FocusCellScrollsIntoViewAndHonoursSelectCell)
{
    TTestGrid G;
    G.SetRowCount(50);
    G.FocusCell(2, 30);
    EXPECT_EQ(G.Row(), 30);
    EXPECT_EQ(G.TopRow(), 30 - 8 + 1) << "the least scroll that shows the row fully";
    G.Forbidden = TGridCoord{2, 31};
    G.FocusCell(2, 31);
    EXPECT_EQ(G.Row(), 30);
    G.FocusCell(2, 3);
    EXPECT_EQ(G.TopRow(), 3);
    EXPECT_THROW(G.SetFixedRows(50), EInvalidGridOperation);
}

TEST(GridsTest, ScrollingRepaintsOnlyTheUncoveredBandAndMatchesAFullPaint)
{
    for (int Distance : {1, 3, -2, 9}) {
        SCOPED_TRACE(Distance);
        TTestGrid G;
        G.SetRowCount(100);
        G.SetTopRow(20);
        G.Update();
        G.Drawn.clear();
        G.SetTopRow(20 + Distance);
        G.Update();
        const QImage Scrolled = G.Image().copy();
        const int Visible = 9; // 8 full rows and one in part
        int MaxRows = std::abs(Distance) + 1;
        if (std::abs(Distance) >= Visible - 1)
            MaxRows = Visible;
        int Rows = 0;
        for (int r = 0; r < 100; ++r) {
            bool Any = false;
            for (const TGridCoord& C : G.Drawn)
                Any = Any || C.Y == r;
            Rows += Any;
        }
        EXPECT_LE(Rows, MaxRows);
        G.Invalidate();
        G.Update();
        EXPECT_EQ(Scrolled, G.Image()) << "the scrolled pixels equal a full repaint";
    }
}

TEST(GridsTest, ColumnSizingByMouse)
{
    TTestGrid G;
    G.SetOptions(G.Options() + goColSizing);
    TGridState State;
    int Index, Pos, Ofs;
    // The right border of column 1 lies at 11 + 50 = 61.
    G.CalcSizingState(60, 5, State, Index, Pos, Ofs);
    EXPECT_EQ(State, gsColSizing);
    EXPECT_EQ(Index, 1);
    EXPECT_EQ(Pos, 61);
    G.CalcSizingState(40, 5, State, Index, Pos, Ofs);
    EXPECT_EQ(State, gsNormal);
    G.CalcSizingState(60, 50, State, Index, Pos, Ofs);
    EXPECT_EQ(State, gsNormal) << "only over the fixed rows";

    G.Update();
    const QImage Before = G.Image().copy();
    SendMouse(&G, QEvent::MouseButtonPress, 61, 5);
    EXPECT_EQ(G.GridState(), gsColSizing);
    SendMouse(&G, QEvent::MouseMove, 81, 5);
    SendMouse(&G, QEvent::MouseMove, 91, 5);
    SendMouse(&G, QEvent::MouseButtonRelease, 91, 5, Qt::NoButton);
    EXPECT_EQ(G.ColWidths(1), 80);
    EXPECT_EQ(G.WidthChanges, 1);
    EXPECT_EQ(G.GridState(), gsNormal);
    (void)Before;
}

TEST(GridsTest, ColumnMovingByMouseDragOverTitles)
{
    TTestGrid G;
    G.SetOptions(G.Options() + goColMoving);
    G.SetColWidths(3, 33);
    SendMouse(&G, QEvent::MouseButtonPress, 30, 5);   // column 1
    SendMouse(&G, QEvent::MouseMove, 120, 5);         // column 3
    SendMouse(&G, QEvent::MouseButtonRelease, 120, 5, Qt::NoButton);
    ASSERT_EQ(G.Moves.size(), 1u);
    EXPECT_EQ(G.Moves[0], (std::pair<int, int>{1, 3}));
    EXPECT_EQ(G.ColWidths(2), 33) << "widths move with their columns";
    EXPECT_EQ(G.ColWidths(3), 50);
}

TEST(GridsTest, KeysMoveTheCurrentCell)
{
    struct TRow
    {
        const char* Name;
        int Key;
        Qt::KeyboardModifiers Modifiers;
        TGridCoord Start;
        TGridCoord Expected;
    };
    const TRow Rows[] = {
        {"down", Qt::Key_Down, Qt::NoModifier, {1, 1}, {1, 2}},
        {"up stops at the first row", Qt::Key_Up, Qt::NoModifier, {1, 1}, {1, 1}},
        {"right skips a hidden column", Qt::Key_Right, Qt::NoModifier, {1, 1}, {3, 1}},
        {"tab wraps to the next row", Qt::Key_Tab, Qt::NoModifier, {4, 1}, {1, 2}},
        {"shift tab wraps back", Qt::Key_Backtab, Qt::ShiftModifier, {1, 2}, {4, 1}},
        {"page down", Qt::Key_PageDown, Qt::NoModifier, {1, 1}, {1, 9}},
        {"ctrl end", Qt::Key_End, Qt::ControlModifier, {1, 1}, {1, 19}},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TTestGrid G;
        G.SetRowCount(20);
        G.SetColWidths(2, 0);
        G.SetOptions(G.Options() + goTabs);
        G.SetWantTabs(true);
        G.FocusCell(Row.Start.X, Row.Start.Y);
        SendKey(&G, Row.Key, Row.Modifiers);
        EXPECT_EQ(G.Col(), Row.Expected.X);
        EXPECT_EQ(G.Row(), Row.Expected.Y);
    }
}

TEST(GridsTest, InplaceEditorLoadsAndWritesBackOnlyChangedText)
{
    TTestGrid G;
    G.Texts[std::make_pair(1, 1)] = "abc";
    G.ShowEditor();
    EXPECT_FALSE(G.EditorMode()) << "editing not allowed";
    G.SetOptions(G.Options() + goEditing);
    G.ShowEditor();
    ASSERT_TRUE(G.EditorMode());
    ASSERT_NE(G.InplaceEditor(), nullptr);
    EXPECT_EQ(G.InplaceEditor()->text(), "abc");
    EXPECT_EQ(G.InplaceEditor()->geometry(), G.CellRect(1, 1));
    G.InplaceEditor()->setText("xyz");
    G.InplaceEditor()->setModified(true);
    SendKey(G.InplaceEditor(), Qt::Key_Escape);
    EXPECT_FALSE(G.EditorMode());
    EXPECT_EQ(G.Texts[std::make_pair(1, 1)], "abc") << "Esc drops the typed text";

    G.ShowEditor();
    G.InplaceEditor()->setText("new");
    G.InplaceEditor()->setModified(true);
    G.FocusCell(2, 1);
    EXPECT_EQ(G.Texts[std::make_pair(1, 1)], "new") << "moving on writes the text back";
    G.SetOptions(G.Options() + goRowSelect);
    EXPECT_FALSE(G.EditorMode()) << "row selection hides the editor";
}

TEST(GridsTest, ScrollWindowMovesPendingInvalidAreas)
{
    // A paint that is still pending when the pixels move must land where its
    // cell went, or a stale cell would stay on screen.
    TTestGrid G;
    G.SetRowCount(100);
    G.Update();
    G.Marked = TGridCoord{1, 5};
    G.InvalidateCell(1, 5);
    G.SetTopRow(3);
    G.Update();
    const QImage Scrolled = G.Image().copy();
    G.Invalidate();
    G.Update();
    EXPECT_EQ(Scrolled, G.Image());
}
