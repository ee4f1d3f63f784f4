// The filter row: conditions typed under the titles through real keys and
// clicks, Enter handing them to OnApplyFilter, and the editor's keys.
#include "EditKeys.h"
#include "GridFixture.h"
#include "grid/DBGridEhFilter.h"
#include "platform/gui/ModalSeam.h"
#include "platform/gui/TestRender.h"

#include <QApplication>
#include <QDir>

namespace {

class TFilterRowFixture : public TGridTestFixture
{
public:
    TFilterRowFixture()
        : TGridTestFixture({{"Id", ftInteger}, {"Name", ftWideString, 20}, {"Memo", ftWideString, 20},
                            {"Amount", ftFloat}},
                           QSize(420, 220), 5, true, true)
    {
    }

    QList<Variant> Record(int i) const override
    {
        static const char* Names[] = {"张三", "李四", "O'Brien", "张五", "王"};
        return {Variant(i), Variant(QString::fromUtf8(Names[i - 1])), Variant("m"), Variant(i * 10.0)};
    }

    void SetUp() override
    {
        TGridTestFixture::SetUp();
        AddColumn("Id", "Id", 50);
        AddColumn("Name", "Name", 90);
        AddColumn("Memo", "Memo", 60)->STFilter()->SetVisible(false);
        AddColumn("Amount", "Amount", 80)->Footer()->SetValueType(fvtSum);
        Grid->SetFooterRowCount(1);
        Grid->STFilter()->SetVisible(true);
        Grid->OnApplyFilter = [this](QObject*) { ++Applied; };
        Grid->OnSumListAfterRecalcAll = [this](QObject*) { ++Recalcs; };
        Link();
        Grid->SumList()->SetActive(true);
        Grid->show();
        QApplication::setActiveWindow(Grid.get());
        TModalSeam::ClearMessages();
    }

    // Clicks the filter cell of data column DataCol and types Keys.
    TInplaceFilterEditEh* Type(int DataCol, const QString& Keys)
    {
        Click(DataCol + 1, Grid->FilterRow());
        TInplaceFilterEditEh* E = Grid->FilterEdit();
        TypeKeys(E, Keys);
        return E;
    }

    QString FilterText(int DataCol) const { return Grid->Columns(DataCol)->STFilter()->FilterText(); }

    int Applied = 0;
    int Recalcs = 0;
};

TEST_F(TFilterRowFixture, FilterRowIsLastTitleRowPaintedBlueOnLightenedFixedColour)
{
    EXPECT_EQ(Grid->FilterRow(), 1);
    EXPECT_EQ(Grid->TitleRowCount(), 2);
    EXPECT_EQ(FilterCellColorEh(RGB(0xF0, 0x10, 0x80)), RGB(0xFF, 0x12, 0x90));
    Grid->Columns(1)->STFilter()->SetFilterText(QStringLiteral("~ 张"));
    const QImage I = FullPaint();
    const QRect Name = Grid->CellRect(2, 1).adjusted(2, 2, -2, -2);
    EXPECT_EQ(Background(I, Name), ColorToRGB(FilterCellColorEh(Grid->FixedColor())));
    int BlueInk = 0;
    for (int y = Name.top(); y <= Name.bottom(); ++y)
        for (int x = Name.left(); x <= Name.right(); ++x)
            BlueInk += qBlue(I.pixel(x, y)) > 200 && qRed(I.pixel(x, y)) < 120;
    EXPECT_GT(BlueInk, 10) << "the text is drawn in blue";
    // A column whose filter cell is hidden keeps the fixed colour.
    EXPECT_EQ(Background(I, Grid->CellRect(3, 1).adjusted(2, 2, -2, -2)), ColorToRGB(Grid->FixedColor()));
    Grid->STFilter()->SetVisible(false);
    EXPECT_EQ(Grid->FilterRow(), -1);
    EXPECT_EQ(Grid->TitleRowCount(), 1);
}

// Typing stores the text as typed; Enter applies once and recalculates the sums.
TEST_F(TFilterRowFixture, EnterAppliesTypedConditionOnce)
{
    TInplaceFilterEditEh* E = Type(3, QStringLiteral("> 5"));
    ASSERT_TRUE(E && E->isVisible());
    EXPECT_EQ(Grid->FilterCol(), 3);
    EXPECT_EQ(E->geometry().left(), Grid->CellRect(4, 1).left() + 1);
    EXPECT_EQ(FilterText(3), "> 5");
    EXPECT_EQ(Grid->Columns(3)->STFilter()->FilterConditions().Operator1, foGreaterThan);
    const int Before = Recalcs;
    TypeKeys(E, QStringLiteral("<Enter>"));
    EXPECT_EQ(Applied, 1);
    EXPECT_EQ(Recalcs, Before + 1);
    EXPECT_TRUE(TModalSeam::Messages().empty());
    // A bare list on a number column is In, also of three-digit numbers.
    TypeKeys(Type(0, QStringLiteral("100,200")), QStringLiteral("<Enter>"));
    EXPECT_EQ(FilterText(0), "100,200");
    EXPECT_EQ(Grid->Columns(0)->STFilter()->FilterConditions().Operator1, foIn);
    EXPECT_EQ(Applied, 2);
    EXPECT_TRUE(TModalSeam::Messages().empty());
    // Chinese and quoted operands on a text column.
    Type(1, QStringLiteral("~ 张"));
    EXPECT_EQ(Grid->Columns(1)->STFilter()->FilterConditions().Operand1.Value().AsString(), "张");
    E->clear();
    TypeKeys(E, QStringLiteral("O'Brien"));
    EXPECT_EQ(Grid->Columns(1)->STFilter()->FilterConditions().Operand1.Value().AsString(), "O'Brien");
}

struct TBadTextRow
{
    const char* Name;
    const char* Typed;
    const char* LeaveKey;
    const char* Message;
    int FilterColAfter;
    int DataCol = 0;
};

class FilterRowBadText : public TFilterRowFixture, public ::testing::WithParamInterface<TBadTextRow> {};

// A text that does not parse is silent while typed key by key, reported once
// on Enter or on leaving the cell, and never applied; the column keeps the
// text it had when the edit began, not a prefix of the typing that parsed.
TEST_P(FilterRowBadText, ReportsOnceAndKeepsLastGoodText)
{
    const TBadTextRow& R = GetParam();
    Grid->SetOptions(Grid->Options() + dgTabs);
    Grid->Columns(R.DataCol)->STFilter()->SetFilterText(QStringLiteral("> 1"));
    TInplaceFilterEditEh* E = Type(R.DataCol, QString());
    E->selectAll();
    TypeKeys(E, QString::fromUtf8(R.Typed));
    EXPECT_TRUE(TModalSeam::Messages().empty()) << "typing is silent";
    EXPECT_EQ(FilterText(R.DataCol), "> 1");
    const QString Key = QString::fromUtf8(R.LeaveKey);
    if (Key == u"Tab")
        SendKey(E, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    else
        TypeKeys(E, Key);
    ASSERT_EQ(TModalSeam::Messages().size(), 1u);
    EXPECT_EQ(TModalSeam::Messages()[0].Text, QString::fromUtf8(R.Message));
    EXPECT_EQ(Applied, 0);
    EXPECT_EQ(FilterText(R.DataCol), "> 1");
    EXPECT_EQ(Grid->FilterCol(), R.FilterColAfter);
    if (Key == u"<Enter>") {
        EXPECT_EQ(E->text(), QString::fromUtf8(R.Typed)) << "the editor keeps what was typed";
    }
    // Leaving the grid afterwards does not report the same text again.
    Grid->HideFilterEdit();
    EXPECT_EQ(TModalSeam::Messages().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FilterRowBadText,
    ::testing::Values(TBadTextRow{"DanglingAndOnEnter", "> 5 and", "<Enter>", "Incorrect expression: > 5 and", 0},
                      TBadTextRow{"OpenListOnTab", "in (1,", "Tab", "')' expected: in (1,", 1},
                      TBadTextRow{"NotANumberOnEnter", "> abc", "<Enter>", "'abc' is not a valid floating point value", 0},
                      TBadTextRow{"ListWhosePrefixParsedOnEnter", "in (a,b", "<Enter>", "')' expected: in (a,b", 1, 1}),
    [](const auto& Info) { return std::string(Info.param.Name); });

struct TKeyRow
{
    const char* Name;
    int StartCol;
    const char* Text;
    int Caret;
    int Key;
    Qt::KeyboardModifiers Mods;
    bool Tabs;
    int FilterCol;
};

class FilterRowKeys : public TFilterRowFixture, public ::testing::WithParamInterface<TKeyRow> {};

TEST_P(FilterRowKeys, MoveBetweenEditableCells)
{
    const TKeyRow& R = GetParam();
    Grid->SetOptions(R.Tabs ? Grid->Options() + dgTabs : Grid->Options() - dgTabs);
    TInplaceFilterEditEh* E = Type(R.StartCol, QString::fromUtf8(R.Text));
    E->setCursorPosition(R.Caret < 0 ? int(E->text().size()) : R.Caret);
    SendKey(E, R.Key, R.Mods, R.Key == Qt::Key_Tab ? QStringLiteral("\t") : QString());
    EXPECT_EQ(Grid->FilterCol(), R.FilterCol);
    EXPECT_TRUE(Grid->FilterEdit()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Table, FilterRowKeys,
    ::testing::Values(TKeyRow{"RightAtEndNext", 0, "ab", -1, Qt::Key_Right, Qt::NoModifier, false, 1},
                      TKeyRow{"RightSkipsHiddenCell", 1, "", -1, Qt::Key_Right, Qt::NoModifier, false, 3},
                      TKeyRow{"RightOnLastWraps", 3, "", -1, Qt::Key_Right, Qt::NoModifier, false, 0},
                      TKeyRow{"RightInsideTextStays", 0, "ab", 1, Qt::Key_Right, Qt::NoModifier, false, 0},
                      TKeyRow{"LeftAtStartPrevious", 3, "ab", 0, Qt::Key_Left, Qt::NoModifier, false, 1},
                      TKeyRow{"LeftInsideTextStays", 3, "ab", 1, Qt::Key_Left, Qt::NoModifier, false, 3},
                      TKeyRow{"CtrlLeftFirst", 3, "ab", 1, Qt::Key_Left, Qt::ControlModifier, false, 0},
                      TKeyRow{"CtrlRightLast", 0, "ab", 0, Qt::Key_Right, Qt::ControlModifier, false, 3},
                      TKeyRow{"HomeAtStartFirst", 3, "", 0, Qt::Key_Home, Qt::NoModifier, false, 0},
                      TKeyRow{"EndAtEndLast", 1, "x", -1, Qt::Key_End, Qt::NoModifier, false, 3},
                      TKeyRow{"UpSwallowed", 1, "", 0, Qt::Key_Up, Qt::NoModifier, false, 1},
                      TKeyRow{"TabWithDgTabsNext", 0, "", 0, Qt::Key_Tab, Qt::NoModifier, true, 1},
                      TKeyRow{"ShiftTabWithDgTabsPrevious", 0, "", 0, Qt::Key_Tab, Qt::ShiftModifier, true, 3},
                      TKeyRow{"TabWithoutDgTabsStays", 0, "", 0, Qt::Key_Tab, Qt::NoModifier, false, 0}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(TFilterRowFixture, OnlyOneEditableCellKeepsRight)
{
    for (int i : {0, 1, 3})
        if (i != 1)
            Grid->Columns(i)->STFilter()->SetVisible(false);
    TInplaceFilterEditEh* E = Type(1, QStringLiteral("a"));
    TypeKeys(E, QStringLiteral("<Right>"));
    EXPECT_EQ(Grid->FilterCol(), 1);
    EXPECT_EQ(E->text(), "a");
}

// Up on the first record opens the filter cell of the current column; Down
// goes back to the top record of the window in the filter cell's column.
TEST_F(TFilterRowFixture, UpAndDownCrossBetweenDataAndFilterRow)
{
    Grid->SetFocus();
    Grid->SetSelectedIndex(1);
    Data->SetRecNo(2);
    TypeKeys(Grid.get(), QStringLiteral("<Up>"));
    EXPECT_FALSE(Grid->FilterEditing());
    EXPECT_EQ(Data->RecNo(), 1);
    TypeKeys(Grid.get(), QStringLiteral("<Up>"));
    ASSERT_TRUE(Grid->FilterEditing());
    EXPECT_EQ(Grid->FilterCol(), 1);
    TInplaceFilterEditEh* E = Grid->FilterEdit();
    TypeKeys(E, QStringLiteral("<Right><Right>"));
    EXPECT_EQ(Grid->FilterCol(), 0) << "Right with an empty text wraps over the last cell";
    Data->SetRecNo(3);
    TypeKeys(E, QStringLiteral("<Down>"));
    EXPECT_FALSE(Grid->FilterEditing());
    EXPECT_FALSE(E->isVisible());
    EXPECT_EQ(Grid->SelectedIndex(), 0);
    EXPECT_EQ(Data->RecNo(), 1);
}

// The press that opens the editor goes on to it: the caret lands under the pointer.
TEST_F(TFilterRowFixture, PressPutsCaretUnderPointer)
{
    Grid->Columns(3)->STFilter()->SetFilterText(QStringLiteral("1234567890"));
    Click(4, Grid->FilterRow());
    TInplaceFilterEditEh* E = Grid->FilterEdit();
    ASSERT_TRUE(E && E->isVisible());
    EXPECT_FALSE(E->hasSelectedText());
    EXPECT_GT(E->cursorPosition(), 2);
    EXPECT_LT(E->cursorPosition(), 8);
}

// A press elsewhere in the grid closes the editor, keeping what it holds.
TEST_F(TFilterRowFixture, PressOnDataCellHidesEditorAndStoresText)
{
    TInplaceFilterEditEh* E = Type(3, QStringLiteral(">= 20"));
    E->SetText(QStringLiteral("<= 40"));
    Click(2, 3);
    EXPECT_FALSE(Grid->FilterEditing());
    EXPECT_FALSE(E->isVisible());
    EXPECT_EQ(FilterText(3), "<= 40");
    EXPECT_EQ(Applied, 0);
}

// The editor sits over its filter cell in the picture of the whole grid,
// beside a running incremental search.
TEST_F(TFilterRowFixture, RenderingShowsEditorOverItsCell)
{
    Grid->Columns(3)->STFilter()->SetFilterText(QStringLiteral(">= 20"));
    Grid->Columns(1)->SetReadOnly(true);
    Grid->SetOptionsEh(Grid->OptionsEh() + dghIncSearch);
    Grid->SetFocus();
    Grid->SetSelectedIndex(1);
    SendKey(Grid.get(), 0, Qt::NoModifier, QStringLiteral("张"));
    ASSERT_TRUE(Grid->IncSearchRunning());
    TInplaceFilterEditEh* E = Type(1, QStringLiteral("~ 张"));
    ASSERT_TRUE(E->isVisible());
    const QString File =
        QDir(qEnvironmentVariable("TB_RENDER_DIR", QDir::tempPath())).filePath("grid-filter-row.png");
    RenderToPng(Grid.get(), File);
    const QImage I(File);
    const QRect Cell = Grid->CellRect(2, 1).adjusted(3, 3, -3, -3);
    EXPECT_EQ(Background(I, Cell), ColorToRGB(FilterCellColorEh(Grid->FixedColor())));
    EXPECT_TRUE(HasInk(I, Cell)) << "the editor's text";
    EXPECT_TRUE(HasColor(I, Grid->CellRect(2, 2), clYellow)) << "the search highlight";
}

// Hiding the cell under the editor closes the editor and lets the data editor show again.
TEST_F(TFilterRowFixture, HiddenFilterCellReleasesTheDataEditor)
{
    Type(1, QStringLiteral("~ a"));
    ASSERT_FALSE(Grid->CanEditShow());
    Grid->Columns(1)->STFilter()->SetVisible(false);
    EXPECT_FALSE(Grid->FilterEditing());
    EXPECT_FALSE(Grid->FilterEdit()->isVisible());
    EXPECT_TRUE(Grid->CanEditShow());
}

} // namespace
