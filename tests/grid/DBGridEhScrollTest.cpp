// The grid's scroll bars: the vertical bar follows the record number (or a
// five-position scale), its actions move the dataset, an external bar stands
// in for the grid's own, and components the grid refers to may go away.
#include "GridFixture.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TestRender.h"

#include <QDir>
#include <functional>

namespace {

class TScrollFixture : public TGridTestFixture
{
public:
    TScrollFixture() : TGridTestFixture({{"Name", ftWideString, 20}, {"Qty", ftInteger}}, QSize(300, 200)) {}

    TScrollBar* Bar() const { return Grid->VertBar(); }
    int RecNo() const { return Data->RecNo(); }

protected:
    QList<Variant> Record(int i) const override { return {Variant(QStringLiteral("Item %1").arg(i)), Variant(i)}; }
};

} // namespace

TEST_F(TScrollFixture, VerticalBarFollowsTheRecordNumber)
{
    Fill(100);
    Link();
    const int Page = Grid->VisibleDataRowCount();
    ASSERT_GT(Page, 3);
    EXPECT_TRUE(Grid->VertScrollBar()->IsScrollBarShowing());
    EXPECT_EQ(Bar()->Min(), 1);
    EXPECT_EQ(Bar()->PageSize(), Page);
    EXPECT_EQ(Bar()->Max(), 100 + Page - 1);
    EXPECT_EQ(Bar()->Position(), 1);
    Data->MoveBy(41);
    EXPECT_EQ(Bar()->Position(), 42);
    Data->Last();
    EXPECT_EQ(Bar()->Position(), 100);
    // A new record has no number yet: the thumb stays where it was.
    Data->Append();
    EXPECT_EQ(Bar()->Position(), 100);
    Data->Cancel();
}

TEST_F(TScrollFixture, BarActionsMoveTheDataset)
{
    Fill(100);
    Link();
    const int Page = Grid->VisibleDataRowCount();
    // Line steps leave the window: they depend on where it stands.
    auto Top = [&] { return RecNo() - Grid->DataLink()->ActiveRecord(); };
    auto Below = [&] { return Top() + Grid->DataLink()->RecordCount(); };
    struct TCase
    {
        const char* Name;
        TScrollCode Code;
        std::function<int()> Expected;
    };
    const TCase Cases[] = {
        {"line up goes above the top row", scLineUp, [&] { return Top() - 1; }},
        {"line down goes below the bottom row", scLineDown, Below},
        {"page up", scPageUp, [&] { return 50 - Page; }},
        {"page down", scPageDown, [&] { return 50 + Page; }},
        {"top", scTop, [] { return 1; }},
        {"bottom", scBottom, [] { return 100; }},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Data->SetRecNo(50);
        const int Expected = C.Expected();
        Grid->WMVScroll(C.Code, 0);
        EXPECT_EQ(RecNo(), Expected);
        EXPECT_EQ(Bar()->Position(), Expected);
    }
}

TEST_F(TScrollFixture, ThumbDropChoosesTheRecord)
{
    Fill(100);
    Link();
    struct TCase
    {
        const char* Name;
        int Thumb;
        int Expected;
    };
    const TCase Cases[] = {
        {"first position", 1, 1},
        {"middle", 37, 37},
        {"last position", 100, 100},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Data->SetRecNo(50);
        // Dragging without tracking leaves the dataset where it is.
        Bar()->setSliderDown(true);
        Bar()->setSliderPosition(C.Thumb);
        EXPECT_EQ(RecNo(), 50);
        Bar()->setSliderDown(false);
        EXPECT_EQ(RecNo(), C.Expected);
        EXPECT_EQ(Bar()->Position(), C.Expected);
    }
}

TEST_F(TScrollFixture, TrackingMovesWhileDraggingAndNotAgainOnRelease)
{
    Fill(100);
    Link();
    Grid->VertScrollBar()->SetTracking(true);
    Bar()->setSliderDown(true);
    Bar()->setSliderPosition(30);
    EXPECT_EQ(RecNo(), 30);
    Bar()->setSliderPosition(60);
    EXPECT_EQ(RecNo(), 60);
    // Someone moves the dataset before the thumb is let go: the release must
    // not move it back.
    Data->SetRecNo(10);
    Bar()->setSliderDown(false);
    EXPECT_EQ(RecNo(), 10);
}

TEST_F(TScrollFixture, UnnumberedDatasetUsesFivePositions)
{
    Data->SetSequenced(false);
    Fill(100);
    Link();
    EXPECT_EQ(Bar()->Min(), 0);
    EXPECT_EQ(Bar()->Max(), 4);
    EXPECT_EQ(Bar()->PageSize(), 0);
    EXPECT_EQ(Bar()->Position(), 0) << "at the first record";
    Data->MoveBy(50);
    EXPECT_EQ(Bar()->Position(), 2);
    Data->Last();
    Data->Next();
    EXPECT_EQ(Bar()->Position(), 4) << "past the last record";

    const int Page = Grid->VisibleDataRowCount();
    struct TCase
    {
        const char* Name;
        int Pos;
        int Move; // expected change of the record, INT_MIN first, INT_MAX last
    };
    const TCase Cases[] = {
        {"0 goes to the first", 0, INT_MIN},
        {"1 pages up", 1, -Page},
        {"2 stays", 2, 0},
        {"3 pages down", 3, Page},
        {"4 goes to the last", 4, INT_MAX},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Data->First();
        Data->MoveBy(50);
        const QString Before = Data->FieldByName(QStringLiteral("Name"))->AsString();
        Grid->WMVScroll(scPosition, C.Pos);
        const int Qty = Data->FieldByName(QStringLiteral("Qty"))->AsInteger();
        if (C.Move == INT_MIN)
            EXPECT_EQ(Qty, 1);
        else if (C.Move == INT_MAX)
            EXPECT_EQ(Qty, 100);
        else
            EXPECT_EQ(Qty, 51 + C.Move) << qPrintable(Before);
    }
}

TEST_F(TScrollFixture, VisibleModeDecidesWhetherAnIdleBarShows)
{
    Fill(3); // all records fit
    Link();
    struct TCase
    {
        const char* Name;
        TScrollBarVisibleModeEh Mode;
        bool Showing;
        bool Enabled;
    };
    const TCase Cases[] = {
        {"auto hides an idle bar", sbAutoShowEh, false, true},
        {"always keeps it, disabled", sbAlwaysShowEh, true, false},
        {"never", sbNeverShowEh, false, true},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->VertScrollBar()->SetVisibleMode(C.Mode);
        EXPECT_EQ(Grid->ScrollBarShowing(sbVertical), C.Showing);
        EXPECT_EQ(Bar()->isEnabled(), C.Enabled);
        EXPECT_EQ(Grid->VertScrollBar()->Visible(), C.Mode != sbNeverShowEh);
    }
    // With more records than rows the bar shows unless it must never.
    Fill(100);
    Grid->VertScrollBar()->SetVisible(true);
    EXPECT_EQ(Grid->VertScrollBar()->VisibleMode(), sbAutoShowEh);
    EXPECT_TRUE(Grid->ScrollBarShowing(sbVertical));
    Grid->VertScrollBar()->SetVisible(false);
    EXPECT_FALSE(Grid->ScrollBarShowing(sbVertical));
    EXPECT_FALSE(Grid->VertScrollBar()->IsScrollBarShowing());
}

TEST_F(TScrollFixture, WheelAndTimedScrollMoveOneRecordPastTheWindow)
{
    Fill(100);
    Link();
    Data->SetRecNo(20);
    Grid->MouseWheel({}, -120, 10, 50);
    EXPECT_EQ(RecNo(), 21);
    Grid->MouseWheel({}, 120, 10, 50);
    EXPECT_EQ(RecNo(), 20);
    const int Top = RecNo() - Grid->DataLink()->ActiveRecord();
    Grid->TimedScroll(TGridScrollDirections(sdUp));
    EXPECT_EQ(RecNo(), Top - 1);
    const int Top2 = RecNo() - Grid->DataLink()->ActiveRecord();
    Grid->TimedScroll(TGridScrollDirections(sdDown));
    EXPECT_EQ(RecNo(), Top2 + Grid->DataLink()->RecordCount());
}

TEST_F(TScrollFixture, ExternalBarStandsInForTheOwnOne)
{
    Fill(100);
    Link();
    TScrollBar Ext(sbVertical);
    Ext.setObjectName(QStringLiteral("ListBar"));
    Grid->VertScrollBar()->SetExtScrollBar(&Ext);
    EXPECT_FALSE(Grid->ScrollBarShowing(sbVertical)) << "the own bar gives way";
    EXPECT_EQ(Ext.Min(), 1);
    EXPECT_EQ(Ext.Max(), 100 + Grid->VisibleDataRowCount() - 1);
    Data->MoveBy(9);
    EXPECT_EQ(Ext.Position(), 10);

    // The bar's actions reach the grid first, then its own event.
    std::vector<TScrollCode> Heard;
    Ext.OnScroll = [&](QObject*, TScrollCode Code, int&) { Heard.push_back(Code); };
    Ext.triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(RecNo(), 100);
    EXPECT_EQ(Ext.Position(), 100);
    EXPECT_EQ(Heard, std::vector<TScrollCode>{scBottom});

    // One bar serves one control.
    TTestGridEh Other;
    try {
        Other.VertScrollBar()->SetExtScrollBar(&Ext);
        FAIL() << "a second control took the bar";
    } catch (const EInvalidGridOperation& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("Possible ListBar already attached to the other control."));
    }

    // Letting go gives the bar back.
    Grid->VertScrollBar()->SetExtScrollBar(nullptr);
    EXPECT_EQ(Ext.AttachedTo(), nullptr);
    EXPECT_TRUE(Grid->ScrollBarShowing(sbVertical));
    Other.VertScrollBar()->SetExtScrollBar(&Ext);
    EXPECT_EQ(Ext.AttachedTo(), &Other);
}

TEST_F(TScrollFixture, DestroyedComponentsAreLetGo)
{
    Fill(10);
    Link();
    auto Ext = std::make_unique<TScrollBar>(sbHorizontal);
    Grid->HorzScrollBar()->SetExtScrollBar(Ext.get());
    auto Images = std::make_unique<TImageList>(8, 8);
    auto ColumnImages = std::make_unique<TImageList>(8, 8);
    Grid->SetTitleImages(Images.get());
    Grid->Columns(1)->SetImageList(ColumnImages.get());
    Grid->Columns(0)->SetImageList(ColumnImages.get());

    Ext.reset();
    EXPECT_EQ(Grid->HorzScrollBar()->ExtScrollBar(), nullptr);
    Images.reset();
    EXPECT_EQ(Grid->TitleImages(), nullptr);
    ColumnImages.reset();
    EXPECT_EQ(Grid->Columns(0)->ImageList(), nullptr);
    EXPECT_EQ(Grid->Columns(1)->ImageList(), nullptr);
    // Painting afterwards touches none of them.
    Grid->Repaint();
}

TEST_F(TScrollFixture, ExternalHorizontalBarScrollsColumns)
{
    Fill(10);
    for (int i = 0; i < 12; ++i)
        AddColumn(i % 2 ? QStringLiteral("Qty") : QStringLiteral("Name"), 80);
    Link();
    TScrollBar Ext(sbHorizontal);
    Grid->HorzScrollBar()->SetExtScrollBar(&Ext);
    EXPECT_FALSE(Grid->ScrollBarShowing(sbHorizontal));
    EXPECT_EQ(Ext.Max(), 127);
    EXPECT_EQ(Ext.Position(), 0);
    Ext.triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_GT(Grid->LeftCol(), Grid->FixedCols());
    EXPECT_EQ(Ext.Position(), 127);
    Ext.triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_LT(Ext.Position(), 127);
    Ext.triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(Grid->LeftCol(), Grid->FixedCols());
    // A dragged thumb moves the columns at once only with Tracking.
    for (const bool Tracking : {false, true}) {
        SCOPED_TRACE(Tracking);
        Grid->HorzScrollBar()->SetTracking(Tracking);
        Grid->WMHScroll(scTrack, 127);
        EXPECT_EQ(Grid->LeftCol() > Grid->FixedCols(), Tracking);
        EXPECT_EQ(Grid->HorzBar()->hasTracking(), Tracking);
        Grid->WMHScroll(scTop, 0);
    }
}

TEST_F(TScrollFixture, OwnHorizontalBarShowsOnlyWhenColumnsAreCutOff)
{
    Fill(3);
    AddColumn(QStringLiteral("Qty"));
    TColumnEh* Wide = AddColumn(QStringLiteral("Name"), 100);
    Link();
    EXPECT_FALSE(Grid->ScrollBarShowing(sbHorizontal));
    Wide->SetWidth(280);
    EXPECT_TRUE(Grid->ScrollBarShowing(sbHorizontal));
    Grid->HorzScrollBar()->SetVisible(false);
    EXPECT_FALSE(Grid->ScrollBarShowing(sbHorizontal));
    Grid->HorzScrollBar()->SetVisible(true);
    Grid->SetAutoFitColWidths(true);
    EXPECT_FALSE(Grid->ScrollBarShowing(sbHorizontal)) << "auto-fit never needs it";
}

// The bars are drawn inside the grid's bounds and the cells give them room.
TEST_F(TScrollFixture, BarsTakeTheirRoomFromTheCells)
{
    Fill(100);
    for (int i = 0; i < 6; ++i)
        AddColumn(i % 2 ? QStringLiteral("Qty") : QStringLiteral("Name"), 70);
    Link();
    ASSERT_TRUE(Grid->ScrollBarShowing(sbVertical));
    ASSERT_TRUE(Grid->ScrollBarShowing(sbHorizontal));
    EXPECT_EQ(Grid->VertBar()->geometry().right(), Grid->width() - 1);
    EXPECT_EQ(Grid->HorzBar()->geometry().bottom(), Grid->height() - 1);
    EXPECT_LE(Grid->ClientWidth(), Grid->VertBar()->geometry().left());
    EXPECT_LE(Grid->ClientHeight(), Grid->HorzBar()->geometry().top());
    // Every data row fits above the horizontal bar.
    const int LastData = Grid->TitleRowCount() + Grid->DataLink()->RecordCount() - 1;
    const QRect R = Grid->CellRect(1, LastData);
    EXPECT_LE(R.bottom(), Grid->ClientHeight());
    const QString Dir = qEnvironmentVariable("TB_RENDER_DIR", QDir::tempPath());
    const QString File = QDir(Dir).filePath(QStringLiteral("grid-scroll.png"));
    RenderToPng(Grid.get(), File);
    EXPECT_FALSE(QImage(File).isNull());
}

TEST_F(TScrollFixture, RightClickOnADataCellShowsTheColumnMenu)
{
    Fill(10);
    TColumnEh* Name = AddColumn(QStringLiteral("Name"));
    TColumnEh* Qty = AddColumn(QStringLiteral("Qty"));
    Link();
    auto Menu = std::make_unique<TPopupMenu>();
    Menu->Items()->Add(QStringLiteral("复制"));
    Name->SetPopupMenu(Menu.get());
    const QRect NameCell = Grid->CellRect(1, Grid->TitleRowCount() + 2);
    const QRect QtyCell = Grid->CellRect(2, Grid->TitleRowCount() + 2);
    const QRect Title = Grid->CellRect(1, 0);
    struct TCase
    {
        const char* Name;
        QPoint At;
        bool AutoPopup;
        bool Shown;
    };
    const TCase Cases[] = {
        {"data cell of the column", NameCell.center(), true, true},
        {"menu that does not pop up by itself", NameCell.center(), false, false},
        {"column without a menu", QtyCell.center(), true, false},
        {"title of the column", Title.center(), true, false},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        delete Menu->ShownMenu();
        Menu->SetPopupComponent(nullptr);
        Menu->SetAutoPopup(C.AutoPopup);
        Grid->MouseDown(mbRight, {}, C.At.x(), C.At.y());
        Grid->MouseUp(mbRight, {}, C.At.x(), C.At.y());
        EXPECT_EQ(Menu->ShownMenu() != nullptr, C.Shown);
        EXPECT_EQ(Menu->PopupComponent() == Grid.get(), C.Shown);
    }
    // A copy of the column shares the menu; a freed menu leaves both.
    Qty->Assign(*Name);
    EXPECT_EQ(Qty->PopupMenu(), Menu.get());
    Menu.reset();
    EXPECT_EQ(Name->PopupMenu(), nullptr);
    EXPECT_EQ(Qty->PopupMenu(), nullptr);
    Grid->MouseUp(mbRight, {}, NameCell.center().x(), NameCell.center().y());
}
