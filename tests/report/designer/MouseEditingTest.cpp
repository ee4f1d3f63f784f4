#include "DesignerTestUtil.h"

namespace designertest {
namespace {

struct TGesture
{
    const char* Name;
    const char* Page;
    int Tool;            // -1 select, else the tool's tag
    const char* Events;
    const char* After;
    const char* Records;
};

class GestureTest : public TDesignerTest, public ::testing::WithParamInterface<TGesture>
{
};

TEST_P(GestureTest, EditsThePageThroughOneRecordPerGesture)
{
    const TGesture& G = GetParam();
    Open();
    Build(QString::fromUtf8(G.Page));
    Designer->PressTool(G.Tool);
    Run(QString::fromUtf8(G.Events));
    EXPECT_EQ(PageText(), QString::fromUtf8(G.After));
    EXPECT_EQ(Records(), QString::fromUtf8(G.Records));
    int Selected = 0;
    for (int i = 0; i < Page()->Count(); ++i)
        Selected += Page()->Objects(i)->Selected();
    EXPECT_EQ(SelCount, Selected);
}

const TGesture Gestures[] = {
    {"ClickSelects", "Memo1 8,8 96x20", -1, "D 20,12; U 20,12", "Memo1 8,8 96x20 sel", ""},
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
     "Memo1 12,12 28x28 sel", "2:Memo1"},
    {"RubberBandOverBandOnlySelectsIt", "Band1 band 0,40 600x40", -1, "D 10,10; M 300,60; U 300,60",
     "Band1 0,40 758x40 sel", ""},
    {"RubberBandPrefersViews", "Band1 band 0,40 600x40; Memo1 8,48 96x20", -1, "D 4,4; M 300,60; U 300,60",
     "Band1 0,40 758x40; Memo1 8,48 96x20 sel", ""},
    {"ShiftClickOnSoleSelectionClears", "Memo1 8,8 96x20 sel", -1, "D 20,12 Shift; U 20,12", "Memo1 8,8 96x20",
     ""},
    {"ClickWithMemoToolInsertsDefaultSize", "", 0, "M 101,101; D 101,101; U 101,101", "Memo1 100,100 96x20 sel",
     "0:Memo1"},
    {"DraggedMemoToolTakesTheRectangle", "", 0, "M 20,20; D 20,20; M 60,44; U 60,44", "Memo1 20,20 40x24 sel",
     "0:Memo1"},
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
    {"ProportionalResizeKeepsZeroExtentAxis", "Memo1 0,0 20x20 sel; Line1 line 0,0 40x0 sel", -1,
     "M 40,0; D 40,0; M 80,8; U 80,8", "Memo1 0,0 40x20 sel; Line1 0,0 80x0 sel", "2:Memo1,Line1"},
};

INSTANTIATE_TEST_SUITE_P(Designer, GestureTest, ::testing::ValuesIn(Gestures),
                         [](const auto& Info) { return std::string(Info.param.Name); });

} // namespace
} // namespace designertest
