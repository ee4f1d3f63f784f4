#include "DesignerTestUtil.h"

#include "platform/gui/Menus.h"
#include "platform/rtl/Streams.h"
#include "report/designer/FR_BTyp.h"
#include "report/designer/FR_BndEd.h"
#include "report/engine/FR_PictureView.h"

#include <QRadioButton>

namespace designertest {
namespace {

// An add-in that comes with its own size and allows one per page.
class TfrStampView : public TfrPictureView
{
public:
    TfrStampView()
    {
        FBaseName = QStringLiteral("Stamp");
        SetBounds(0, 0, 80, 24);
        SetFlags(Flags() | flOnePerPage);
    }
    QString ClassName() const override { return QStringLiteral("TfrStampView"); }
};

struct TGesture
{
    const char* Name;
    const char* Page;
    int Tool;            // -1 select, else the tool's tag
    const char* Events;
    const char* After;
    const char* Records;
    // Optional: "ref <view or -> <cursor>", then " pages <n>", " editor" when an editor
    // opened, and the messages shown.
    const char* State = nullptr;
    TfrPageType PageType = ptReport;
    TModalResult BandAnswer = mrOk;   // the band-type dialog chooses "Master data"
    const char* Box = nullptr;        // the position box's texts, joined by "|"
    int BandType = btMasterData;      // the type chosen there
};

const char* CursorName(TCursor C)
{
    const std::pair<TCursor, const char*> Names[] = {{crDefault, "arrow"}, {crCross, "cross"},
        {crPencil, "pencil"}, {crSizeNWSE, "nwse"}, {crSizeNESW, "nesw"}, {crSizeNS, "ns"}, {crSizeWE, "we"},
        {crHSplit, "split"}};
    for (const auto& [Cursor, Name] : Names)
        if (Cursor == C)
            return Name;
    return "?";
}

class GestureTest : public TDesignerTest, public ::testing::WithParamInterface<TGesture>
{
protected:
    void SetUp() override
    {
        TDesignerTest::SetUp();
        frAddIns.push_back({QStringLiteral("TfrStampView"), [] { return std::make_unique<TfrStampView>(); },
                            QString(), QStringLiteral("Stamp"), nullptr, 0});
    }
    void TearDown() override
    {
        TDesignerTest::TearDown();
        frAddIns.clear();
    }
};

TEST_P(GestureTest, EditsThePageThroughOneRecordPerGesture)
{
    const TGesture& G = GetParam();
    Page()->PageType = G.PageType;
    Open();
    Build(QString::fromUtf8(G.Page));
    TModalSeam::ClearMessages();
    int Editors = 0;
    TModalHandlers Seam(
        [&](TForm* Form) {
            if (auto* Types = dynamic_cast<TfrBandTypesForm*>(Form))
                Types->TypeButton(G.BandType)->click();
            if (!dynamic_cast<TfrBandEditorForm*>(Form))
                return G.BandAnswer;
            ++Editors;
            return mrCancel;
        },
        [](const TMessageRequest&) { return mrOk; });
    frMemoEditor = frPictureEditor = [&] { ++Editors; };
    Designer->PressTool(G.Tool);
    Designer->PageView->grab();   // on the screen before the gesture
    Run(QString::fromUtf8(G.Events));
    EXPECT_EQ(PageText(), QString::fromUtf8(G.After));
    EXPECT_EQ(Records(), QString::fromUtf8(G.Records));
    int Selected = 0;
    for (int i = 0; i < Page()->Count(); ++i)
        Selected += Page()->Objects(i)->Selected();
    EXPECT_EQ(SelCount, Selected);
    if (G.State) {
        QString State = QStringLiteral("ref %1 %2").arg(RefView ? RefView->Name() : QStringLiteral("-"),
                                                        QString::fromUtf8(CursorName(Designer->PageView->Cursor())));
        if (Report.Pages()->Count() > 1)
            State += QStringLiteral(" pages %1").arg(Report.Pages()->Count());
        if (Editors > 0)
            State += QStringLiteral(" editor");
        for (const TMessageRequest& M : TModalSeam::Messages())
            State += u' ' + M.Describe();
        EXPECT_EQ(State, QString::fromUtf8(G.State));
    }
    if (G.Box) {
        EXPECT_EQ(Designer->PositionTexts().join(u'|'), QString::fromUtf8(G.Box));
    }
    if (!Designer->PageView->Down) {
        // The page as shown is the page drawn whole.
        const QImage Shown = Designer->PageView->grab().toImage().convertToFormat(QImage::Format_RGB32);
        Designer->RedrawPage();
        EXPECT_TRUE(Shown == Designer->PageView->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
}

const TGesture Gestures[] = {
    {"ClickSelects", "Memo1 8,8 96x20", -1, "D 20,12; U 20,12", "Memo1 8,8 96x20 sel", "", "ref Memo1 arrow"},
    {"MotionBelowGridMovesNothing", "Memo1 8,8 96x20", -1, "D 20,12; M 21,12; M 22,13; U 22,13",
     "Memo1 8,8 96x20 sel", ""},
    {"MoveByWholeGridSteps", "Memo1 8,8 96x20", -1, "D 20,12; M 30,12; M 31,12; U 31,12",
     "Memo1 16,8 96x20 sel", "2:Memo1"},
    {"AltInvertsGridAlign", "Memo1 8,8 96x20", -1, "D 20,12; M 23,13 Alt; U 23,13", "Memo1 11,9 96x20 sel",
     "2:Memo1"},
    {"BandTakesItsContents", "Band1 band 0,40 600x40; Memo1 8,48 96x20", -1, "D 300,70; M 300,78; U 300,78",
     "Band1 0,48 758x40 sel; Memo1 8,56 96x20 sel", "2:Band1,Memo1"},
    {"BandWithAltMovesAlone", "Band1 band 0,40 600x40; Memo1 8,48 96x20", -1, "D 300,70; M 300,78 Alt; U 300,78",
     "Band1 0,48 758x40 sel; Memo1 8,48 96x20", "2:Band1"},
    {"RestrictedViewStays", "Memo1 8,8 96x20 r32", -1, "D 20,12; M 40,12; U 40,12", "Memo1 8,8 96x20 sel",
     "2:Memo1"},
    {"ResizePastOppositeCornerFlips", "Memo1 40,40 20x20 sel", -1, "M 60,60; D 60,60; M 20,20; M 12,12; U 12,12",
     "Memo1 12,12 28x28 sel", "2:Memo1", "ref - nwse"},
    {"HoverTopRightCorner", "Memo1 40,40 20x20 sel", -1, "M 61,39", "Memo1 40,40 20x20 sel", "", "ref - nesw"},
    {"HoverEdgeMidpoint", "Memo1 40,40 20x20 sel", -1, "M 40,50", "Memo1 40,40 20x20 sel", "", "ref - we"},
    {"HoverCommonEdge", "Memo1 0,0 40x20 sel; Memo2 40,0 40x20 sel", -1, "M 41,10",
     "Memo1 0,0 40x20 sel; Memo2 40,0 40x20 sel", "", "ref - split"},
    {"RubberBandOverBandOnlySelectsIt", "Band1 band 0,40 600x40", -1, "D 10,10; M 300,60; U 300,60",
     "Band1 0,40 758x40 sel", ""},
    {"RubberBandPrefersViews", "Band1 band 0,40 600x40; Memo1 8,48 96x20", -1, "D 4,4; M 300,60; U 300,60",
     "Band1 0,40 758x40; Memo1 8,48 96x20 sel", ""},
    {"ShiftClickOnSoleSelectionClears", "Memo1 8,8 96x20 sel", -1, "D 20,12 Shift; U 20,12", "Memo1 8,8 96x20",
     "", "ref - arrow"},
    {"ShiftClickAddsKeepingTheReference", "Memo1 8,8 96x20; Memo2 8,40 96x20", -1,
     "D 20,12; U 20,12; D 20,44 Shift; U 20,44", "Memo1 8,8 96x20 sel; Memo2 8,40 96x20 sel", "", "ref Memo1 arrow"},
    {"ClickWithMemoToolInsertsDefaultSizeThenSelects", "", 0, "M 101,101; D 101,101; U 101,101; D 101,101; U 101,101",
     "Memo1 100,100 96x20 sel", "0:Memo1", "ref Memo1 arrow editor"},
    {"DraggedMemoToolTakesTheRectangle", "", 0, "M 20,20; D 20,20; M 60,44; U 60,44", "Memo1 20,20 40x24 sel",
     "0:Memo1", "ref Memo1 arrow editor"},
    {"PictureToolClick", "", 1, "M 40,40; D 40,40; U 40,40", "Picture1 40,40 96x20 sel", "0:Picture1"},
    {"BandToolInsertsTheChosenTypeBelowTheViews", "Memo1 8,8 96x20", 2, "M 20,101; D 20,101; U 20,101",
     "MasterData1 0,100 758x20 sel; Memo1 8,8 96x20", "0:MasterData1", "ref MasterData1 arrow editor"},
    {"SummaryBandWithoutAnEditorIsDrawnWhole", "", 2, "M 300,101; D 300,101; U 300,101", "ReportSummary1 0,100 758x20 sel",
     "0:ReportSummary1", "ref ReportSummary1 arrow", ptReport, mrOk, nullptr, btReportSummary},
    {"BandTypeCancelledInsertsNothing", "Memo1 8,8 96x20", 2, "M 20,101; D 20,101; U 20,101", "Memo1 8,8 96x20",
     "", "ref - arrow", ptReport, mrCancel},
    {"SubreportPointsAtANewPage", "", 3, "M 20,20; D 20,20; U 20,20", "SubReport1 20,20 96x20 sel",
     "0:SubReport1", "ref SubReport1 arrow pages 2"},
    {"SecondOnePerPageAddInRefused", "Stamp1 addin 0,0 80x24", 10, "M 100,100; D 100,100; U 100,100",
     "Stamp1 0,0 80x24", "",
     "ref - arrow Error|You can't place two or more TfrStampView objects on one page.|error|OK"},
    {"AddInKeepsItsOwnSize", "", 10, "M 100,100; D 100,100; M 140,140; U 140,140", "Stamp1 100,100 80x24 sel",
     "0:Stamp1"},
    {"DialogPageClickTakesTheViewsOwnSize", "", 10, "M 21,21; D 21,21; U 21,21", "Stamp1 20,20 80x24 sel",
     "0:Stamp1", "ref Stamp1 arrow editor", ptDialog},
    {"DialogPageDraggedMemo", "", 0, "M 21,21; D 21,21; M 61,45; U 61,45", "Memo1 20,20 40x24 sel", "0:Memo1",
     nullptr, ptDialog},
    {"LineRightwards", "", 4, "M 10,10; D 10,10; M 50,12; U 50,12", "Line1 8,8 40x0 sel", "0:Line1"},
    {"LineLeftwardsFromTheRoundedStart", "", 4, "M 50,10; D 50,10; M 10,10; U 10,10", "Line1 12,8 36x0 sel", "0:Line1"},
    {"LineUpwards", "", 4, "M 8,48; D 8,48; M 8,8; U 8,8", "Line1 8,8 0x40 sel", "0:Line1"},
    {"LineDownwardsSnapsToCorner", "Memo1 20,20 40x20", 4, "M 21,41; D 21,41; M 21,81; U 21,81",
     "Memo1 20,20 40x20; Line1 20,40 0x40 sel", "0:Line1"},
    {"SplitMovesTheCommonEdge", "Memo1 0,0 40x20 sel; Memo2 40,0 40x20 sel", -1, "M 41,10; D 41,10; M 49,10; U 49,10",
     "Memo1 0,0 48x20 sel; Memo2 48,0 32x20 sel", "2:Memo1,Memo2"},
    {"SplitToZeroWidthRefused", "Memo1 0,0 40x20 sel; Memo2 40,0 40x20 sel", -1, "M 41,10; D 41,10; M 81,10; U 81,10",
     "Memo1 0,0 40x20 sel; Memo2 40,0 40x20 sel", "2:Memo1,Memo2"},
    {"ProportionalResize", "Memo1 0,0 20x20 sel; Memo2 20,20 20x20 sel", -1, "M 40,40; D 40,40; M 80,60; U 80,60",
     "Memo1 0,0 40x30 sel; Memo2 40,30 40x30 sel", "2:Memo1,Memo2"},
    {"SeveralDraggedShowWhereTheyAre", "Memo1 8,8 20x20 sel; Memo2 40,16 20x20 sel", -1, "D 12,12; M 20,20; M 28,28",
     "Memo1 24,24 20x20 sel; Memo2 56,32 20x20 sel", "2:Memo1,Memo2", nullptr, ptReport, mrOk,
     "24;24|52;28"},
    {"ProportionalResizeKeepsZeroExtentAxis", "Memo1 0,0 20x20 sel; Line1 line 0,0 40x0 sel", -1,
     "M 40,0; D 40,0; M 80,8; U 80,8", "Memo1 0,0 40x20 sel; Line1 0,0 80x0 sel", "2:Memo1,Line1"},
};

INSTANTIATE_TEST_SUITE_P(Designer, GestureTest, ::testing::ValuesIn(Gestures),
                         [](const auto& Info) { return std::string(Info.param.Name); });

struct TResizeRow
{
    const char* Name;
    const char* Page;
    const char* Events;
};

class ResizeLimitTest : public TDesignerTest, public ::testing::WithParamInterface<TResizeRow>
{
};

// Every mouse resize stops where a move does, at the limits of a view the
// form reader takes back: the form saved afterwards opens again.
TEST_P(ResizeLimitTest, StopsAtTheLimitsTheFormReaderTakes)
{
    const TResizeRow& R = GetParam();
    Open();
    Build(QString::fromUtf8(R.Page));
    const QString Before = PageText();
    Run(QString::fromUtf8(R.Events));
    EXPECT_EQ(PageText(), Before);
    TModalHandlers Seam(nullptr, [](const TMessageRequest&) { return mrOk; });
    TMemoryStream Saved;
    Report.SaveToStream(Saved);
    Saved.SetPosition(0);
    TfrReport Reopened;
    EXPECT_TRUE(Reopened.LoadFromStream(Saved));
    EXPECT_EQ(Reopened.Pages()->Pages(0)->Count(), Page()->Count());
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList());
    CurReport = &Report;
}

const char* const Huge = "Memo1 8,8 99984x99984 sel";
const TResizeRow ResizeRows[] = {
    {"TopLeftHandle", Huge, "M 8,8; D 8,8; M -16,-16; U -16,-16"},
    {"BottomRightHandle", Huge, "M 99992,99992; D 99992,99992; M 100016,100016; U 100016,100016"},
    {"TopRightHandle", Huge, "M 99992,8; D 99992,8; M 100016,-16; U 100016,-16"},
    {"BottomLeftHandle", Huge, "M 8,99992; D 8,99992; M -16,100016; U -16,100016"},
    {"LeftEdge", Huge, "M 8,50000; D 8,50000; M -16,50000; U -16,50000"},
    {"RightEdge", "Memo1 99940,8 40x20 sel", "M 99980,18; D 99980,18; M 100040,18 Alt; U 100040,18 Alt"},
    {"TopEdge", Huge, "M 50000,8; D 50000,8; M 50000,-16; U 50000,-16"},
    {"BottomEdge", Huge, "M 50000,99992; D 50000,99992; M 50000,100016; U 50000,100016"},
    {"FlippedPastTheOppositeEdge", "Memo1 -99992,8 8x20 sel", "M -99984,18; D -99984,18; M -100008,18; U -100008,18"},
    {"SeveralProportionally", "Memo1 0,0 49992x49992 sel; Memo2 49992,49992 49992x49992 sel",
     "M 99984,99984; D 99984,99984; M 100008,100008; U 100008,100008"},
};
INSTANTIATE_TEST_SUITE_P(Designer, ResizeLimitTest, ::testing::ValuesIn(ResizeRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(TDesignerTest, RightClickShowsTheMenuAndDoubleClickTheEditor)
{
    Open();
    Build(QStringLiteral("Memo1 8,8 96x20; Memo2 8,40 96x20"));
    int Menus = 0, Editors = 0;
    Designer->Popup1->OnPopup = [&](QObject*) { ++Menus; };
    frMemoEditor = [&] { ++Editors; };
    Run(QStringLiteral("R 20,44"));
    EXPECT_EQ(PageText(), QStringLiteral("Memo1 8,8 96x20; Memo2 8,40 96x20 sel"));
    EXPECT_EQ(Menus, 1);
    EXPECT_FALSE(Designer->PageView->Down);

    Designer->PageView->DblClick();
    EXPECT_EQ(Editors, 1);
    Run(QStringLiteral("D 20,12; U 20,12"));
    EXPECT_EQ(PageText(), QStringLiteral("Memo1 8,8 96x20; Memo2 8,40 96x20 sel")) << "the down after a double click";
    Designer->SelectAll();
    Designer->PageView->DblClick();
    EXPECT_EQ(Editors, 1) << "several views: no editor";

    // A report page without selection opens the page options.
    Designer->UnselectAll();
    QString Shown;
    TModalHandlers Seam([&](TForm* Form) {
        Shown = QString::fromLatin1(typeid(*Form).name());
        return mrCancel;
    }, nullptr);
    Designer->PageView->DblClick();
    EXPECT_TRUE(Shown.contains(QStringLiteral("TfrPgoptForm"))) << Shown.toStdString();

    // A dialog page without selection opens its script.
    Report.Pages()->Add();
    Report.Pages()->Pages(1)->PageType = ptDialog;
    Designer->SetCurPage(1);
    Designer->PageView->DblClick();
    EXPECT_EQ(Editors, 2);
    EXPECT_EQ(Records(), QString());
}

} // namespace
} // namespace designertest
