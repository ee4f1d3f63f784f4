// Page forming over templates built in code: bands, breaks, groups, footers,
// columns, splits, subreports, cross-tab and aggregates, compared as text.
#include "EngineTestUtil.h"

using namespace enginetest;

TEST_F(TEngineTest, MasterListBreaksPagesUnderHeaderAndFooter)
{
    Data("Q", {"Name"}, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o"});
    Band(btPageHeader, "PH", 10, 20)->SetFlags(flBandOnFirstPage);
    Memo("Head", 10, "Title");
    Band(btMasterData, "MD", 40, 20, "frQ");
    Memo("Row", 40, "[Q.Name] [LINE#]");
    Band(btPageFooter, "PF", 80, 20)->SetFlags(flBandOnFirstPage | flBandOnLastPage);
    Memo("Foot", 80, "[PAGE#]/[TOTALPAGES]");
    Report->SetDoublePass(true);
    ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
    EXPECT_EQ(Pages().join("\n").toStdString(), "");
    EXPECT_EQ(Trace.join(" ").toStdString(), "");
}
