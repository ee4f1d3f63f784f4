// The template in print state: band scripts that act on the run-time band,
// memo highlights measured with the band, and number styles whose separators
// would clash.
#include "EngineTestUtil.h"

#include <QRegularExpression>

using namespace enginetest;

// Each row builds bands over Q (rows 1, 2) and R (rows a, b); MD prints
// "Row" with its script, and the pages come back as text.
TEST_F(TEngineTest, BandScriptsActOnTheRunTimeBand)
{
    struct TRow
    {
        const char* Name;
        std::function<void(TEngineTest&)> Build;
        const char* Expected;
    };
    auto Master = [](TEngineTest& T, const char* Script, const char* Text = "[Q.N]") {
        TfrBandView* B = T.Band(btMasterData, "MD", 40, 20, "frQ");
        B->Script()->SetText(Script);
        T.Memo("Row", 40, Text);
        return B;
    };
    auto Title = [](TEngineTest& T, const char* Script) {
        T.Band(btReportTitle, "RT", 10, 20)->Script()->SetText(Script);
    };
    const TRow Rows[] = {
        {"height", [&](TEngineTest& T) { Master(T, "MD.Height := 50"); }, "1|Row@10:1 1|Row@60:2"},
        {"next skips a record", [&](TEngineTest& T) { Master(T, "MD.Next;"); }, "1|Row@10:2"},
        {"eof of its data source", [&](TEngineTest& T) { Master(T, "", "[Q.N] [MD.EOF]"); },
         "1|Row@10:1 False 1|Row@30:2 False"},
        {"data source",
         [&](TEngineTest& T) {
             Title(T, "MD.DataSource := 'frR'");
             Master(T, "", "[R.N]");
         },
         "1|Row@30:a 1|Row@50:b"},
        {"child band",
         [&](TEngineTest& T) {
             Master(T, "MD.ChildBand := 'CB'");
             T.Band(btChild, "CB", 70, 20);
             T.Memo("Kid", 70, "kid");
         },
         "1|Row@10:1 1|Kid@30:kid 1|Row@50:2 1|Kid@70:kid"},
        {"breaked splits at once",
         [&](TEngineTest& T) {
             Title(T, "");
             T.Page->Objects(0)->SetHeight(240);
             TfrBandView* B = Master(T, "MD.Breaked := True", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8");
             B->SetTop(260);
             B->SetFlags(flBandStretched);
             T.Page->FindObject("Row")->SetTop(260);
             T.Page->FindObject("Row")->SetFlags(flStretched);
         },
         "1|Row@250:1/2/3 2|Row@10:4/5/6/7/8 2|Row@88:1/2/3/4/5/6/7/8"},
        {"condition",
         [&](TEngineTest& T) {
             T.Band(btGroupHeader, "GH", 20, 20, "[Q.N]")->Script()->SetText("GH.Condition := '[Q.N] > 0'");
             T.Memo("Head", 20, "G");
             Master(T, "");
         },
         "1|Head@10:G 1|Row@30:1 1|Row@50:2"},
    };
    Data("Q", {"N"}, {"1", "2"});
    Data("R", {"N"}, {"a", "b"});
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        while (Page->Count() > 0)
            Page->Delete(0);
        Row.Build(*this);
        ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
        EXPECT_EQ(Pages().filter(QRegularExpression("Row|Kid|Head")).join(" ").toStdString(), Row.Expected);
    }
}

TEST_F(TEngineTest, HighlightInAStretchedBandReadsItsOwnMemosValue)
{
    Data("P", {"Name", "Amt:i"}, {"x,5", "y,20"});
    Band(btMasterData, "MD", 40, 20, "frP")->SetFlags(flBandStretched);
    TfrMemoView* Amount = Memo("Amt", 40, "[P.Amt]");
    Amount->SetFlags(flStretched);
    Amount->SetHighlightCondition("Value > 10");
    // Measured after Amt, so its value is the last one expanded when Amt prints.
    Memo("Name", 40, "[P.Name]", 200)->SetFlags(flStretched);
    ASSERT_TRUE(Report->PrepareReport());
    ASSERT_EQ(frErrorText.toStdString(), "");
    QStringList Shown;
    Report->EMFPages()->ObjectsToPage(0);
    TfrPage* Printed = Report->EMFPages()->Items(0)->PageObject.get();
    for (int v = 0; v < Printed->Count(); ++v)
        if (auto* M = dynamic_cast<TfrMemoView*>(Printed->Objects(v)); M && M->Name() == u"Amt")
            Shown << M->Memo()->Text().remove(QChar(1)).trimmed() + (M->Font()->Style().Contains(fsBold) ? " bold" : "");
    EXPECT_EQ(Shown.join(u'|').toStdString(), "5|20 bold");
}

TEST(PrepareFormat, ThousandsGiveWayToADecimalComma)
{
    // Style 2 and 3 group thousands; the separator byte is a comma.
    TfrReport Report;
    for (auto [Style, Expected] : {std::pair{2u, "5.000,5"}, std::pair{3u, "5.000,50"}}) {
        SCOPED_TRACE(Style);
        const uint32_t Format = (1u << 24) | (Style << 16) | (Style == 2 ? 1u : 2u) << 8 | ',';
        EXPECT_EQ(Report.FormatValue(5000.5, Format, QString()).toStdString(), Expected);
    }
}

// A band script that names another source while the band's records are
// walked: the walk ends over the records it began with, whatever was named,
// and the band walks the named source from then on: in the final pass of two,
// where the bands stand as the first pass left them. A second preparation
// gives the same pages. Q has rows 1, 2 and closes its dataset when
// released, R has rows a, b.
TEST_F(TEngineTest, ABandScriptRebindingItsSourceEndsTheWalkOverItsOwnRecords)
{
    struct TRow
    {
        const char* Name;
        const char* MasterSource;
        const char* MasterScript;
        const char* DetailScript;  // nullptr: no detail band
        const char* OnePass;
        const char* TwoPasses;
    };
    const TRow Rows[] = {
        {"unknown name", "frQ", "MD.DataSource := 'frNope'", nullptr, "1|Row@10:1 1|Row@30:2", ""},
        {"unknown name on a detail", "frQ", "", "DD.DataSource := 'frNope'", "1|Row@10:1 1|Det@30:1 1|Det@50:2",
         ""},
        {"counted source for a counted one", "3", "MD.DataSource := '2'", nullptr,
         "1|Row@10:1 1|Row@30:2 1|Row@50:3", "1|Row@10:1 1|Row@30:2"},
        {"the source it has", "frQ", "MD.DataSource := 'frq'", nullptr, "1|Row@10:1 1|Row@30:2",
         "1|Row@10:1 1|Row@30:2"},
        {"empty name", "frQ", "MD.DataSource := ''", nullptr, "1|Row@10:1 1|Row@30:2", ""},
        {"the master's source on a detail", "frQ", "", "DD.DataSource := 'frQ'",
         "1|Row@10:1 1|Det@30:1 1|Det@50:2 1|Row@70:1 1|Det@90:1 1|Det@110:2", "1|Row@10:1 1|Det@30:1 1|Det@50:2"},
    };
    Data("Q", {"N"}, {"1", "2"});
    Data("R", {"N"}, {"a", "b"});
    Form.findChild<TfrDBDataSet*>("frQ")->SetCloseDataSource(true);
    // A runaway walk would form pages without end: stop it where the test can see it.
    Report->OnEndPage = [this](int) {
        if (Report->EMFPages()->Count() > 5)
            Report->SetTerminated(true);
    };
    for (bool TwoPasses : {false, true}) {
        for (const TRow& Row : Rows) {
            SCOPED_TRACE(std::string(Row.Name) + (TwoPasses ? ", two passes" : ""));
            while (Page->Count() > 0)
                Page->Delete(0);
            Report->SetDoublePass(TwoPasses);
            Band(btMasterData, "MD", 40, 20, Row.MasterSource)->Script()->SetText(Row.MasterScript);
            Memo("Row", 40, QLatin1String(Row.MasterSource) == u"frQ" ? "[Q.N]" : "[LINE#]");
            if (Row.DetailScript) {
                Band(btDetailData, "DD", 70, 20, "frR")->Script()->SetText(Row.DetailScript);
                Memo("Det", 70, "[LINE#]");
            }
            for (int Run = 0; Run < 2; ++Run) {
                ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
                EXPECT_EQ(Pages().filter(QRegularExpression("Row|Det")).join(" ").toStdString(),
                          TwoPasses ? Row.TwoPasses : Row.OnePass);
            }
        }
    }
}
