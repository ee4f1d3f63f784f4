// What the pointer shows without a press: the whole text of a cut-off cell
// and the cursors of column sizing and of record and column selection.
#include "GridFixture.h"

namespace {

class THintsFixture : public TGridTestFixture
{
public:
    THintsFixture() : TGridTestFixture({{"Id", ftInteger}, {"Name", ftWideString, 40}}, QSize(300, 200), 3) {}

    QList<Variant> Record(int i) const override
    {
        return {Variant(i), Variant(i == 2 ? QStringLiteral("张三李四王五赵六孙七周八吴九") : QStringLiteral("短"))};
    }

    void SetUp() override
    {
        TGridTestFixture::SetUp();
        AddColumn(QStringLiteral("Id"), QStringLiteral("编号"), 40);
        Name = AddColumn(QStringLiteral("Name"), QStringLiteral("名称"), 60);
        Name->SetToolTips(true);
        Link();
    }

    void Move(QPoint P, Qt::KeyboardModifiers M = Qt::NoModifier)
    {
        QMouseEvent E(QEvent::MouseMove, P, Grid->mapToGlobal(P), Qt::NoButton, Qt::NoButton, M);
        QCoreApplication::sendEvent(Grid.get(), &E);
    }

    bool TipShown() { return Grid->ToolTipsWindow() && Grid->ToolTipsWindow()->isVisible(); }

    TColumnEh* Name = nullptr;
};

struct TTipRow
{
    const char* Name;
    int DataRow;
    TAlignment Alignment;
    bool Ctrl;
    bool Shown;
};

class CellToolTip : public THintsFixture, public ::testing::WithParamInterface<TTipRow> {};

TEST_P(CellToolTip, ShownOnlyOverCutOffCell)
{
    const TTipRow& Row = GetParam();
    Name->SetAlignment(Row.Alignment);
    const QRect Cell = Grid->CellRect(2, Row.DataRow + 1);
    Move(Cell.center(), Row.Ctrl ? Qt::ControlModifier : Qt::NoModifier);
    ASSERT_EQ(TipShown(), Row.Shown);
    if (!Row.Shown)
        return;
    TToolTipsWindow* W = Grid->ToolTipsWindow();
    EXPECT_EQ(W->text(), QStringLiteral("张三李四王五赵六孙七周八吴九"));
    EXPECT_EQ(W->font().pointSize(), Name->Font()->ToQFont().pointSize());
    const QPoint At = Grid->mapFromGlobal(W->pos());
    EXPECT_EQ(At.y(), Cell.top() - 1);
    if (Row.Alignment == taLeftJustify)
        EXPECT_EQ(At.x(), Cell.left() - 1);
    else
        EXPECT_LT(At.x(), Cell.left() - 20);
}

INSTANTIATE_TEST_SUITE_P(Cells, CellToolTip,
                         ::testing::Values(TTipRow{"FitsLeft", 0, taLeftJustify, false, false},
                                           TTipRow{"FitsRight", 0, taRightJustify, false, false},
                                           TTipRow{"CutOffLeft", 1, taLeftJustify, false, true},
                                           TTipRow{"CutOffRight", 1, taRightJustify, false, true},
                                           TTipRow{"NotWithCtrl", 1, taLeftJustify, true, false}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(THintsFixture, NoToolTipWithoutTheColumnsSetting)
{
    Name->SetToolTips(false);
    Move(Grid->CellRect(2, 2).center());
    EXPECT_FALSE(TipShown());
}

TEST_F(THintsFixture, CutOffTitleShowsCaptionUnlessItHasAHint)
{
    Name->Title()->SetCaption(QStringLiteral("客户名称与地址"));
    Name->Title()->SetToolTips(true);
    Move(Grid->CellRect(2, 0).center());
    ASSERT_TRUE(TipShown());
    EXPECT_EQ(Grid->ToolTipsWindow()->text(), QStringLiteral("客户名称与地址"));
    Name->Title()->SetHint(QStringLiteral("提示"));
    Move(Grid->CellRect(2, 0).center() + QPoint(1, 0));
    EXPECT_FALSE(TipShown());
}

struct TCursorRow
{
    const char* Name;
    bool MultiSelect;
    int Col;          // raw column
    int Row;          // raw row
    int FromBottom;   // pixels above the cell's bottom edge; -1 the centre
    TCursor Cursor;
};

class GridCursor : public THintsFixture, public ::testing::WithParamInterface<TCursorRow> {};

TEST_P(GridCursor, FollowsPointer)
{
    const TCursorRow& Row = GetParam();
    if (Row.MultiSelect)
        Grid->SetOptions(Grid->Options() + dgMultiSelect);
    const QRect Cell = Grid->CellRect(Row.Col, Row.Row);
    const QPoint P(Cell.center().x(), Row.FromBottom < 0 ? Cell.center().y() : Cell.bottom() - Row.FromBottom);
    Move(P);
    EXPECT_EQ(Grid->Cursor(), Row.Cursor);
}

INSTANTIATE_TEST_SUITE_P(Points, GridCursor,
                         ::testing::Values(TCursorRow{"IndicatorSelectsRecords", true, 0, 2, -1, crRightCurEh},
                                           TCursorRow{"TitleBottomSelectsColumns", true, 2, 0, 2, crDownCurEh},
                                           TCursorRow{"TitleTopIsPlain", true, 2, 0, 10, crDefault},
                                           TCursorRow{"DataCellIsPlain", true, 2, 2, -1, crDefault},
                                           TCursorRow{"NoMultiSelect", false, 0, 2, -1, crDefault}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(THintsFixture, SplitCursorOverTitleBorder)
{
    const QRect Title = Grid->CellRect(1, 0);
    Move(QPoint(Title.right() + 1, Title.center().y()));
    EXPECT_EQ(Grid->Cursor(), crHSplit);
    Move(QPoint(Title.right() - 6, Title.center().y()));
    EXPECT_NE(Grid->Cursor(), crHSplit);
}

} // namespace
