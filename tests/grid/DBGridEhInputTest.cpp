// The grid's keys and mouse as a user sends them: record and column moves,
// appending and cancelling, tabbing, deleting, title buttons and sort
// markers, check boxes, column and row sizing and scrolling while dragging.
#include "GridFixture.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/ModalSeam.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <functional>

namespace {

class TInputFixture : public TGridTestFixture
{
public:
    TInputFixture()
        : TGridTestFixture({{"Id", ftInteger}, {"Name", ftWideString, 20}, {"Amount", ftFloat}, {"Paid", ftBoolean}},
                           QSize(400, 300), 5)
    {
    }

    void SetUp() override
    {
        TGridTestFixture::SetUp();
        for (const char* Name : {"Id", "Name", "Amount", "Paid"})
            AddColumn(QString::fromUtf8(Name), QString::fromUtf8(Name), 70);
    }

    void Key(int K, Qt::KeyboardModifiers M = Qt::NoModifier, QEvent::Type T = QEvent::KeyPress)
    {
        const QString Text = K == Qt::Key_Space ? QStringLiteral(" ") : QString();
        QKeyEvent E(T, K, M, Text);
        QCoreApplication::sendEvent(Grid.get(), &E);
    }

    void Mouse(QEvent::Type T, QPoint P, Qt::KeyboardModifiers M = Qt::NoModifier)
    {
        const Qt::MouseButton Button = T == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons Held = T == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent E(T, P, Grid->mapToGlobal(P), Button, Held, M);
        QCoreApplication::sendEvent(Grid.get(), &E);
    }

    void ClickAt(QPoint P, Qt::KeyboardModifiers M = Qt::NoModifier)
    {
        Mouse(QEvent::MouseButtonPress, P, M);
        Mouse(QEvent::MouseButtonRelease, P, M);
    }

    QPoint Title(int DataCol) { return Grid->CellRect(DataCol + 1, 0).center(); }
    QPoint Cell(int DataCol, int DataRow) { return Grid->CellRect(DataCol + 1, DataRow + 1).center(); }

    // Current record (counting an inserted one), column, state, records and
    // the current record's Paid.
    QString Where()
    {
        static const char* States[] = {"inactive", "browse", "edit", "insert", "setkey"};
        TField* F = Grid->SelectedField();
        return QStringLiteral("%1 %2 %3 %4 %5")
            .arg(Data->CurrentIndex() + 1)
            .arg(F ? F->FieldName() : QStringLiteral("-"))
            .arg(QString::fromUtf8(States[std::min<int>(Data->State(), 4)]))
            .arg(Data->VisibleCount())
            .arg(Data->FieldByName(QStringLiteral("Paid"))->Text());
    }

    QString Order()
    {
        QStringList Out;
        for (int i = 0; i < Grid->Columns()->Count(); ++i)
            Out << Grid->Columns(i)->FieldName();
        return Out.join(u'|');
    }

protected:
    QList<Variant> Record(int i) const override
    {
        return {Variant(i), Variant(QStringLiteral("Name%1").arg(i)), Variant(i * 1.5), Variant(i % 2 == 0)};
    }
};

// ---------------------------------------------------------------- keys

struct TKeyStep
{
    int Key;
    Qt::KeyboardModifiers Modifiers = Qt::NoModifier;
};

struct TKeyCase
{
    const char* Name;
    std::function<void(TInputFixture&)> Setup;
    int StartRec;
    int StartCol;   // data column
    std::vector<TKeyStep> Keys;
    const char* Where;
    TModalResult Answer = mrOk;
    const char* Messages = "";
};

TEST_F(TInputFixture, KeySequencesMoveEditAndDelete)
{
    const auto None = [](TInputFixture&) {};
    const TKeyCase Cases[] = {
        {"Down and Up move the record", None, 2, 1, {{Qt::Key_Down}, {Qt::Key_Down}, {Qt::Key_Up}}, "3 Name browse 5 False"},
        {"Down on the last record appends", None, 5, 1, {{Qt::Key_Down}}, "6 Name insert 6 "},
        {"Down on the empty appended record stays", None, 5, 1, {{Qt::Key_Down}, {Qt::Key_Down}}, "6 Name insert 6 "},
        {"Up from the empty appended record cancels it", None, 5, 1, {{Qt::Key_Down}, {Qt::Key_Up}},
         "5 Name browse 5 False"},
        {"no append without the right",
         [](TInputFixture& F) { F.Grid->SetAllowedOperations({alopInsertEh, alopUpdateEh, alopDeleteEh}); }, 5, 1,
         {{Qt::Key_Down}}, "5 Name browse 5 False"},
        {"Tab from the last column goes to the next record", None, 1, 3, {{Qt::Key_Tab}}, "2 Id browse 5 True"},
        {"Shift+Tab from the first column goes to the prior record", None, 2, 0,
         {{Qt::Key_Backtab, Qt::ShiftModifier}}, "1 Paid browse 5 False"},
        {"Enter as Tab", [](TInputFixture& F) { F.Grid->SetOptionsEh(F.Grid->OptionsEh() << dghEnterAsTab); }, 1, 1,
         {{Qt::Key_Return}}, "1 Amount browse 5 False"},
        {"Right skips a hidden column", [](TInputFixture& F) { F.Grid->Columns(2)->SetVisible(false); }, 1, 1,
         {{Qt::Key_Right}}, "1 Paid browse 5 False"},
        {"right to left swaps Left and Right", [](TInputFixture& F) { F.Grid->SetBiDiMode(bdRightToLeft); }, 1, 1,
         {{Qt::Key_Right}}, "1 Id browse 5 False"},
        {"End and Ctrl+End", None, 2, 1, {{Qt::Key_End}, {Qt::Key_End, Qt::ControlModifier}}, "5 Paid browse 5 False"},
        {"Insert, then Esc", None, 3, 1, {{Qt::Key_Insert}}, "3 Name insert 6 "},
        {"Esc cancels the insert", None, 3, 1, {{Qt::Key_Insert}, {Qt::Key_Escape}}, "3 Name browse 5 False"},
        {"Ctrl+Delete after OK", None, 3, 1, {{Qt::Key_Delete, Qt::ControlModifier}}, "3 Name browse 4 True", mrOk,
         "Delete record?"},
        {"Ctrl+Delete on Cancel", None, 3, 1, {{Qt::Key_Delete, Qt::ControlModifier}}, "3 Name browse 5 False",
         mrCancel, "Delete record?"},
        {"Space steps a check box", None, 1, 3, {{Qt::Key_Space}}, "1 Paid edit 5 True"},
        {"Delete clears a check box", None, 2, 3, {{Qt::Key_Delete}}, "2 Paid edit 5 "},
    };
    for (const TKeyCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TearDown();
        SetUp();
        C.Setup(*this);
        Link();
        Data->First();
        Data->MoveBy(C.StartRec - 1);
        Grid->SetSelectedIndex(C.StartCol);
        TModalHandlers Handlers(nullptr, [&](const TMessageRequest&) { return C.Answer; });
        for (const TKeyStep& K : C.Keys)
            Key(K.Key, K.Modifiers);
        EXPECT_EQ(Where(), QString::fromUtf8(C.Where));
        EXPECT_EQ(TModalSeam::MessageTexts().join(u'|'), QString::fromUtf8(C.Messages));
    }
}

TEST_F(TInputFixture, EscWithNothingToCancelIsLeftToTheWindow)
{
    Grid->SetOptions(Grid->Options() - TDBGridOptions(dgEditing) << dgRowSelect);
    Link();
    auto Escape = [this] {
        QKeyEvent E(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(Grid.get(), &E);
        return E.isAccepted();
    };
    EXPECT_FALSE(Escape());
    Data->Edit();
    EXPECT_TRUE(Escape());
    EXPECT_EQ(Data->State(), dsBrowse);
}

// ---------------------------------------------------------------- title buttons and sorting

// A mouse script: p, m, r press, move and release over title Col (DX to
// the right); c a Ctrl+click on it; u lets Ctrl go; P, R, D press, release
// and double-click data cell (Col, first row); d releases over (Col, third row).
struct TMouseStep
{
    char What;
    int Col = 0;
    int DX = 0;
};

void TInputFixtureRun(TInputFixture& F, const std::vector<TMouseStep>& Steps)
{
    for (const TMouseStep& S : Steps) {
        const QPoint T = F.Title(S.Col) + QPoint(S.DX, 0), D = F.Cell(S.Col, 0);
        switch (S.What) {
        case 'p': F.Mouse(QEvent::MouseButtonPress, T); break;
        case 'm': F.Mouse(QEvent::MouseMove, T); break;
        case 'r': F.Mouse(QEvent::MouseButtonRelease, T); break;
        case 'c': F.ClickAt(T, Qt::ControlModifier); break;
        case 'u': F.Grid->OnTitleClick(nullptr); F.Key(Qt::Key_Control, Qt::NoModifier, QEvent::KeyRelease); break;
        case 'P': F.Mouse(QEvent::MouseButtonPress, D); break;
        case 'R': F.Mouse(QEvent::MouseButtonRelease, D); break;
        case 'D': F.Mouse(QEvent::MouseButtonDblClick, D); break;
        case 'd': F.Mouse(QEvent::MouseButtonRelease, F.Cell(S.Col, 2)); break;
        }
    }
}

struct TTitleCase
{
    const char* Name;
    std::vector<TMouseStep> Steps;
    const char* Log;
    const char* Order;
    const char* Markers;
};

TEST_F(TInputFixture, TitleButtonsSortAndMoveColumns)
{
    const char* Same = "Id|Name|Amount|Paid";
    const TTitleCase Cases[] = {
        {"a plain click sorts at once", {{'p', 1}, {'r', 1}}, "btn Name|sort|title Name", Same, "Name:1"},
        {"Ctrl+click on two titles sorts once, when Ctrl is let go", {{'c', 0}, {'c', 1}, {'u'}},
         "btn Id|title Id|btn Name|title Name|-|sort", Same, "Id:1 Name:2"},
        {"a 3-pixel drag stays a press", {{'p', 1}, {'m', 1, 3}, {'r', 1, 3}}, "btn Name|sort|title Name", Same,
         "Name:1"},
        {"a 4-pixel drag moves the column", {{'p', 1}, {'m', 1, 4}, {'m', 2}, {'r', 2}}, "title Name",
         "Id|Amount|Name|Paid", ""},
        {"let go over a data cell: no button click", {{'p', 1}, {'d', 1}}, "cell Id", Same, ""},
    };
    for (const TTitleCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TearDown();
        SetUp();
        Grid->SetOptionsEh(Grid->OptionsEh() << dghAutoSortMarking << dghMultiSortMarking);
        for (int i = 0; i < Grid->Columns()->Count(); ++i)
            Grid->Columns(i)->Title()->SetTitleButton(true);
        Link();
        QStringList Log;
        Grid->OnTitleBtnClick = [&](QObject*, int, TColumnEh* Column) { Log << "btn " + Column->FieldName(); };
        Grid->OnTitleClick = [&](TColumnEh* Column) { Log << (Column ? "title " + Column->FieldName() : "-"); };
        Grid->OnCellClick = [&](TColumnEh* Column) { Log << "cell " + Column->FieldName(); };
        Grid->OnSortMarkingChanged = [&](QObject*) { Log << "sort"; };
        TInputFixtureRun(*this, C.Steps);
        EXPECT_EQ(Log.join(u'|'), QString::fromUtf8(C.Log));
        EXPECT_EQ(Order(), QString::fromUtf8(C.Order));
        QStringList Markers;
        for (TColumnEh* M : Grid->SortMarkedColumns())
            Markers << QStringLiteral("%1:%2").arg(M->FieldName()).arg(M->Title()->SortIndex());
        EXPECT_EQ(Markers.join(u' '), QString::fromUtf8(C.Markers));
        EXPECT_EQ(Grid->PressedTitleColumn(), nullptr);
    }
}

// The held title looks pressed only while the pointer is over it; let go
// over it again, it still counts as a click.
TEST_F(TInputFixture, PressedTitleFollowsThePointer)
{
    Grid->Columns(1)->Title()->SetTitleButton(true);
    Link();
    int Clicks = 0;
    Grid->OnTitleBtnClick = [&](QObject*, int, TColumnEh*) { ++Clicks; };
    TColumnEh* Name = Grid->Columns(1);
    const std::pair<QEvent::Type, QPoint> Steps[] = {{QEvent::MouseButtonPress, Title(1)},
                                                     {QEvent::MouseMove, Cell(1, 0)},
                                                     {QEvent::MouseMove, Title(1)},
                                                     {QEvent::MouseButtonRelease, Title(1)}};
    TColumnEh* const Looks[] = {Name, nullptr, Name, nullptr};
    for (size_t i = 0; i < std::size(Steps); ++i) {
        SCOPED_TRACE(i);
        Mouse(Steps[i].first, Steps[i].second);
        EXPECT_EQ(Grid->PressedTitleColumn(), Looks[i]);
    }
    EXPECT_EQ(Clicks, 1);
}

TEST_F(TInputFixture, WaitingSortRunsWhenTheFocusGoesElsewhereButNotIntoTheEditor)
{
    QWidget Window;
    Window.resize(500, 400);
    Grid->setParent(&Window);
    QLineEdit Other(&Window);
    Other.move(0, 350);
    Grid->SetOptionsEh(Grid->OptionsEh() << dghAutoSortMarking << dghMultiSortMarking);
    Grid->Columns(0)->Title()->SetTitleButton(true);
    Link();
    Window.show();
    QApplication::setActiveWindow(&Window);
    Grid->SetSelectedIndex(1);
    Grid->setFocus();
    int Sorts = 0;
    Grid->OnSortMarkingChanged = [&](QObject*) { ++Sorts; };
    ClickAt(Title(0), Qt::ControlModifier);
    ASSERT_TRUE(Grid->SortByCtrlPending());
    Grid->ShowEditor();
    ASSERT_TRUE(Grid->InplaceEditor() && Grid->InplaceEditor()->hasFocus());
    EXPECT_EQ(Sorts, 0) << "the grid's own editor took the focus";
    Grid->setFocus();
    Other.setFocus();
    EXPECT_EQ(Sorts, 1);
    EXPECT_FALSE(Grid->SortByCtrlPending());
    Grid->setParent(nullptr);
}

// ---------------------------------------------------------------- check boxes

TEST_F(TInputFixture, CheckBoxesToggleOnlyWhenPressAndReleaseShareACell)
{
    const struct
    {
        const char* Name;
        bool DblClickNextVal;
        std::vector<TMouseStep> Steps;
        const char* Paid;   // the first record's Paid afterwards
    } Cases[] = {
        {"a click", false, {{'P', 3}, {'R', 3}}, "True"},
        {"let go in another cell", false, {{'P', 3}, {'R', 2}}, "False"},
        {"a click with DblClickNextVal", true, {{'P', 3}, {'R', 3}}, "False"},
        {"a double click with DblClickNextVal", true, {{'P', 3}, {'R', 3}, {'D', 3}, {'R', 3}}, "True"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TearDown();
        SetUp();
        Grid->Columns(3)->SetDblClickNextVal(C.DblClickNextVal);
        Link();
        TInputFixtureRun(*this, C.Steps);
        Data->First();
        EXPECT_EQ(Data->FieldByName(QStringLiteral("Paid"))->Text(), QString::fromUtf8(C.Paid));
    }
}

// ---------------------------------------------------------------- sizing

TEST_F(TInputFixture, ColumnSizingByTheGridsOwnLineAndTraced)
{
    Link();
    const QImage Before = FullPaint();
    const QRect Name = Grid->CellRect(2, 0);
    const QPoint Edge(Name.left() + Name.width(), Name.center().y());
    Mouse(QEvent::MouseButtonPress, Edge);
    ASSERT_EQ(Grid->GridMode(), 6);
    Mouse(QEvent::MouseMove, Edge + QPoint(25, 0));
    const QImage During = Painted();
    EXPECT_NE(During.pixel(Edge.x() + 25, 150), Before.pixel(Edge.x() + 25, 150))
        << "the sizing line crosses the data rows";
    Key(Qt::Key_Escape);
    EXPECT_EQ(Painted(), Before) << "Esc takes the line away and keeps the width";
    EXPECT_EQ(Grid->Columns(1)->Width(), 70);

    Mouse(QEvent::MouseButtonPress, Edge);
    Mouse(QEvent::MouseMove, Edge + QPoint(25, 0));
    Mouse(QEvent::MouseButtonRelease, Edge + QPoint(25, 0));
    EXPECT_EQ(Grid->Columns(1)->Width(), 95);
    EXPECT_EQ(Grid->GridMode(), 0);

    Grid->SetOptionsEh(Grid->OptionsEh() << dghTraceColSizing);
    const QPoint Traced(Grid->CellRect(2, 0).left() + 95, Edge.y());
    Mouse(QEvent::MouseButtonPress, Traced);
    Mouse(QEvent::MouseMove, Traced - QPoint(30, 0));
    EXPECT_EQ(Grid->Columns(1)->Width(), 65) << "the width follows the mouse before the release";
    Mouse(QEvent::MouseButtonRelease, Traced - QPoint(30, 0));
    EXPECT_EQ(Grid->Columns(1)->Width(), 65);
}

TEST_F(TInputFixture, RowSizedOverTheIndicatorSetsEveryRowsHeight)
{
    Grid->SetRowLines(1);
    Grid->SetRowSizingAllowed(true);
    Link();
    const int Old = Grid->DataRowHeight();
    const QRect Indicator = Grid->CellRect(0, 1);
    const QPoint Edge(Indicator.center().x(), Indicator.top() + Indicator.height());
    Mouse(QEvent::MouseButtonPress, Edge);
    Mouse(QEvent::MouseMove, Edge + QPoint(0, 9));
    Mouse(QEvent::MouseButtonRelease, Edge + QPoint(0, 9));
    EXPECT_EQ(Grid->RowHeight(), Old + 9);
    EXPECT_EQ(Grid->RowLines(), 0);
    EXPECT_EQ(Grid->RowHeights(3), Old + 9);
}

// ---------------------------------------------------------------- scrolling while dragging

TEST_F(TInputFixture, DragScrollMovesBySixthsOfTheDistance)
{
    Fill(25);
    Grid->DragKind = gstRectangle;
    Link();
    const struct { int Distance, Moved, Interval; } Rows[] = {{60, 8, 0}, {6, 1, 110}};
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Distance);
        Data->First();
        Mouse(QEvent::MouseButtonPress, Cell(1, 0));
        ASSERT_EQ(Grid->GridMode(), 3);
        const QRect D = Grid->DataRect();
        Mouse(QEvent::MouseMove, QPoint(D.center().x(), D.top() + D.height() - 1 + R.Distance));
        ASSERT_NE(Grid->ScrollByMouseTimer(), nullptr);
        EXPECT_TRUE(Grid->ScrollByMouseTimer()->Enabled());
        const int Before = Data->RecNo();
        Grid->ScrollByMouseTimer()->OnTimer(Grid->ScrollByMouseTimer());
        EXPECT_EQ(Data->RecNo() - Before, R.Moved);
        EXPECT_EQ(Grid->ScrollByMouseInterval(), R.Interval);
        Mouse(QEvent::MouseButtonRelease, QPoint(D.center().x(), D.center().y()));
        EXPECT_FALSE(Grid->ScrollByMouseTimer()->Enabled());
    }
}

} // namespace
