// Page forming over templates built in code: bands, breaks, groups, footers,
// columns, splits, subreports, cross-tab and aggregates, compared as text.
#include "EngineTestUtil.h"

#include "report/engine/FR_DSet.h"
#include <QRegularExpression>

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
    // Row m ends exactly on the page footer's top and stays.
    EXPECT_EQ(Pages().join(" ").toStdString(),
              "1|Head@10:Title 1|Row@30:a 1 1|Row@50:b 2 1|Row@70:c 3 1|Row@90:d 4 1|Row@110:e 5 1|Row@130:f 6 "
              "1|Row@150:g 7 1|Row@170:h 8 1|Row@190:i 9 1|Row@210:j 10 1|Row@230:k 11 1|Row@250:l 12 "
              "1|Row@270:m 13 1|Foot@290:1/2 2|Head@10:Title 2|Row@30:n 14 2|Row@50:o 15 2|Foot@290:2/2");
}

TEST_F(TEngineTest, GroupsCloseInnermostFirstWithTheirSums)
{
    Data("Q", {"G", "H", "Amt:i"}, {"A,x,1", "A,x,2", "A,y,4", "B,y,8"});
    Band(btGroupHeader, "GH1", 10, 20, "[Q.G]");
    Memo("G1", 10, "G [Q.G]");
    Band(btGroupHeader, "GH2", 40, 20, "[Q.H]");
    Memo("G2", 40, "H [Q.H]");
    Band(btMasterData, "MD", 70, 20, "frQ");
    Memo("Row", 70, "[Q.Amt] [LINE#]");
    Band(btGroupFooter, "GF2", 100, 20);
    Memo("F2", 100, "[SUM([Q.Amt])] [COUNT(MD)]");
    Band(btGroupFooter, "GF1", 130, 20);
    Memo("F1", 130, "[SUM([Q.Amt])]");
    Band(btReportSummary, "RS", 160, 20);
    Memo("Total", 160, "[SUM([Q.Amt])] [MIN([Q.Amt])] [MAX([Q.Amt])] [AVG([Q.Amt])]");
    ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
    EXPECT_EQ(Trace.join(" ").toStdString(),
              "1:GH1@10 1:GH2@30 1:MD@50 1:MD@70 1:GF2@90 1:GH2@110 1:MD@130 1:GF2@150 1:GF1@170 1:GH1@190 1:GH2@210 "
              "1:MD@230 1:GF2@250 1:GF1@270 1:RS@290");
    // The report's average is not disturbed by the groups' resets.
    EXPECT_EQ(Pages().join(" ").toStdString(),
              "1|G1@10:G A 1|G2@30:H x 1|Row@50:1 1 1|Row@70:2 2 1|F2@90:3 2 1|G2@110:H y 1|Row@130:4 1 "
              "1|F2@150:4 1 1|F1@170:7 1|G1@190:G B 1|G2@210:H y 1|Row@230:8 1 1|F2@250:8 1 1|F1@270:8 "
              "1|Total@290:15 1 8 3.75");
}

// Each row builds a template over the 12 rows of Q and names the bands that
// end, with their page and top.
TEST_F(TEngineTest, FormingRules)
{
    struct TRow
    {
        const char* Name;
        std::function<void(TEngineTest&)> Build;
        const char* Expected;
    };
    auto Rows12 = QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
    const TRow Rows[] = {
        {"footer on the first page only",
         [](TEngineTest& T) {
             T.Band(btMasterData, "MD", 40, 40, "frQ");
             T.Band(btPageFooter, "PF", 100, 20)->SetFlags(flBandOnFirstPage);
         },
         "1:MD@10 1:MD@50 1:MD@90 1:MD@130 1:MD@170 1:MD@210 1:MD@250 1:PF@290 2:MD@10 2:MD@50 2:MD@90 2:MD@130 "
         "2:MD@170"},
        {"footer on the last page only",
         [](TEngineTest& T) {
             T.Band(btMasterData, "MD", 40, 40, "frQ");
             T.Band(btPageFooter, "PF", 100, 20)->SetFlags(flBandOnLastPage);
         },
         "1:MD@10 1:MD@50 1:MD@90 1:MD@130 1:MD@170 1:MD@210 1:MD@250 2:MD@10 2:MD@50 2:MD@90 2:MD@130 2:MD@170 "
         "2:PF@290"},
        {"two page columns",
         [](TEngineTest& T) {
             T.Page->Columns = 2;
             T.Page->ColumnGap = 10;
             T.Band(btColumnHeader, "CH", 10, 20);
             T.Band(btMasterData, "MD", 40, 50, "frQ");
             T.Band(btColumnFooter, "CF", 100, 20);
         },
         "1:CH@10 1:MD@30 1:MD@80 1:MD@130 1:MD@180 1:MD@230 1:CF@280 1:CH@10 1:MD@30 1:MD@80 1:MD@130 1:MD@180 "
         "1:MD@230 1:CF@280 2:CH@10 2:MD@30 2:MD@80 2:CF@130"},
        {"two page columns under a page header, without a column header",
         [](TEngineTest& T) {
             T.Page->Columns = 2;
             T.Page->ColumnGap = 10;
             T.Band(btPageHeader, "PH", 10, 20)->SetFlags(flBandOnFirstPage);
             T.Band(btMasterData, "MD", 40, 50, "frQ");
         },
         "1:PH@10 1:MD@30 1:MD@80 1:MD@130 1:MD@180 1:MD@230 1:MD@30 1:MD@80 1:MD@130 1:MD@180 1:MD@230 2:PH@10 "
         "2:MD@30 2:MD@80"},
        {"band columns",
         [](TEngineTest& T) {
             TfrBandView* B = T.Band(btMasterData, "MD", 40, 100, "frQ");
             B->SetColumns(3);
             T.Band(btMasterFooter, "MF", 150, 20);
         },
         "1:MD@10 1:MD@10 1:MD@10 1:MD@110 1:MD@110 1:MD@110 1:MD@210 1:MD@210 1:MD@210 2:MD@10 2:MD@10 2:MD@10 "
         "2:MF@110"},
        {"header repeated on a new page",
         [](TEngineTest& T) {
             T.Band(btMasterHeader, "MH", 10, 20)->SetFlags(flBandRepeatHeader);
             T.Band(btMasterData, "MD", 40, 40, "frQ");
         },
         "1:MH@10 1:MD@30 1:MD@70 1:MD@110 1:MD@150 1:MD@190 1:MD@230 1:MD@270 2:MH@10 2:MD@30 2:MD@70 2:MD@110 "
         "2:MD@150 2:MD@190"},
        {"new page after each record",
         [](TEngineTest& T) {
             T.Band(btMasterData, "MD", 40, 20, "frQ")->SetFlags(flBandNewPageAfter);
             T.Band(btMasterFooter, "MF", 150, 20);
         },
         "1:MD@10 2:MD@10 3:MD@10 4:MD@10 5:MD@10 6:MD@10 7:MD@10 8:MD@10 9:MD@10 10:MD@10 11:MD@10 12:MD@10 "
         "12:MF@30"},
    };
    Data("Q", {"N"}, Rows12);
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        while (Page->Count() > 0)
            Page->Delete(0);
        Page->Columns = 1;
        Trace.clear();
        Row.Build(*this);
        ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
        EXPECT_EQ(Trace.join(" ").toStdString(), Row.Expected);
    }
}

TEST_F(TEngineTest, MasterWithoutDetailRecords)
{
    Data("Q", {"N"}, {"1", "2"});
    Data("E", {"N"}, {});
    Band(btMasterHeader, "MH", 10, 20);
    Band(btMasterData, "MD", 40, 20, "frQ");
    Band(btDetailData, "DD", 70, 20, "frE");
    Band(btMasterFooter, "MF", 100, 20);
    ASSERT_TRUE(Report->PrepareReport());
    EXPECT_EQ(Trace.join(" ").toStdString(), "");
    Page->FindObject("MD")->SetFlags(flBandPrintIfSubsetEmpty);
    Trace.clear();
    ASSERT_TRUE(Report->PrepareReport());
    EXPECT_EQ(Trace.join(" ").toStdString(), "1:MH@10 1:MD@30 1:MD@50 1:MF@70");
    // A detail whose every record waits for an empty subdetail prints no
    // footer below the master that waits with it, in one pass and two.
    while (Page->Count() > 0)
        Page->Delete(0);
    Band(btMasterData, "MD", 40, 20, "frQ");
    Band(btDetailData, "DD", 70, 20, "2");
    Band(btSubDetailData, "SD", 100, 20, "frE");
    Band(btDetailFooter, "DF", 130, 20);
    Memo("DFm", 130, "df[COUNT(DD)]");
    Band(btMasterFooter, "MF", 160, 20);
    Memo("MFm", 160, "mf[COUNT(MD)]");
    for (bool TwoPasses : {false, true}) {
        Report->SetDoublePass(TwoPasses);
        ASSERT_TRUE(Report->PrepareReport());
        EXPECT_EQ(Texts(), "mf0");
    }
}

TEST_F(TEngineTest, TallBandSplitsOnAFreshPageAndMovesFromALowerOne)
{
    QStringList Lines;
    for (int i = 1; i <= 25; ++i)
        Lines << QString::number(i);
    Data("Q", {"N"}, {"1"});
    Band(btMasterData, "MD", 40, 20, "frQ")->SetFlags(flBandStretched);
    Memo("Text", 40, Lines.join("\r\n"))->SetFlags(flStretched);
    ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
    EXPECT_EQ(Pages().join(" ").toStdString(),
              "1|Text@10:1/2/3/4/5/6/7/8/9/10/11/12/13/14/15/16/17/18/19 2|Text@10:20/21/22/23/24/25");
    Band(btReportTitle, "RT", 10, 20);
    Memo("Title", 10, "Title");
    ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
    EXPECT_EQ(Pages().join(" ").toStdString(),
              "1|Title@10:Title 2|Text@10:1/2/3/4/5/6/7/8/9/10/11/12/13/14/15/16/17/18/19 3|Text@10:20/21/22/23/24/25");
}

TEST_F(TEngineTest, SubreportsPrintBesideEachOtherAcrossABreak)
{
    Data("Q", {"N"}, {"1"});
    Data("L", {"N"}, {"1", "2", "3", "4", "5", "6", "7", "8"});
    Data("R", {"N"}, {"1", "2"});
    Report->Pages()->Add();
    Report->Pages()->Add();
    TfrPage* Left = Report->Pages()->Pages(1);
    TfrPage* Right = Report->Pages()->Pages(2);
    Band(btMasterData, "LD", 10, 40, "frL", Left);
    Memo("L", 10, "L[L.N]", 0, 18, Left);
    Band(btMasterData, "RD", 10, 40, "frR", Right);
    Memo("R", 10, "R[R.N]", 0, 18, Right);
    Band(btMasterData, "MD", 100, 30, "frQ");
    Memo("Top", 100, "above");
    auto AddSub = [this](const char* Name, int Left, int PageIndex) {
        auto View = CreateViewByType(gtSubReport, {});
        View->SetName(Name);
        View->SetBounds(Left, 110, 100, 20);
        static_cast<TfrSubReportView*>(View.get())->SetSubPage(PageIndex);
        Page->Add(std::move(View));
    };
    AddSub("SubL", 20, 1);
    AddSub("SubR", 300, 2);
    AddSub("SubSelf", 500, 0);   // its own page: prints nothing
    Report->Pages()->Add();
    Report->Pages()->Pages(3)->PageType = ptDialog;
    AddSub("SubDialog", 600, 3);  // a dialog page: prints nothing
    Band(btMasterFooter, "MF", 200, 20);
    ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
    EXPECT_EQ(Pages().join(" ").toStdString(),
              "1|Top@10:above 1|L@20:L1 1|L@60:L2 1|L@100:L3 1|L@140:L4 1|L@180:L5 1|L@220:L6 1|L@260:L7 "
              "1|R@20:R1 1|R@60:R2 2|L@10:L8");
    EXPECT_EQ(Trace.join(" ").toStdString(),
              "1:LD@20 1:LD@60 1:LD@100 1:LD@140 1:LD@180 1:LD@220 1:LD@260 1:RD@20 1:RD@60 2:LD@10 2:MD@10 "
              "2:MF@50");
}

TEST_F(TEngineTest, CrossTabCellsRunAcrossAndOnToANewPage)
{
    Data("Q", {"N"}, {"1", "2"});
    Data("C", {"N"}, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"});
    auto Cross = [this](int Type, const char* Name, int Left, int Width, const QString& Source) {
        TfrBandView* B = Band(Type, Name, 0, 300, Source);
        B->SetBounds(Left, 0, Width, 300);
    };
    Cross(btCrossHeader, "CH", 20, 60, {});
    Cross(btCrossData, "CD", 80, 60, "frC");
    Band(btMasterData, "MD", 40, 20, "frQ");
    Memo("Head", 40, "r[Q.N]", 22, 18)->SetWidth(50);
    Memo("Cell", 40, "[Q.N]x[C.N]", 82, 18)->SetWidth(50);
    ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
    QStringList Out;
    for (int i = 0; i < Report->EMFPages()->Count(); ++i) {
        Report->EMFPages()->ObjectsToPage(i);
        TfrPage* P = Report->EMFPages()->Items(i)->PageObject.get();
        for (int v = 0; v < P->Count(); ++v)
            Out << QStringLiteral("%1|%2,%3:%4").arg(i + 1).arg(P->Objects(v)->Left()).arg(P->Objects(v)->Top())
                       .arg(P->Objects(v)->Memo()->Text().trimmed());
    }
    // Column 11 passes the right bound: it and what follows go to page 2 at
    // the same height.
    EXPECT_EQ(Out.join(" ").toStdString(),
              "1|22,10:r1 1|82,10:1x1 1|142,10:1x2 1|202,10:1x3 1|262,10:1x4 1|322,10:1x5 1|382,10:1x6 "
              "1|442,10:1x7 1|502,10:1x8 1|562,10:1x9 1|622,10:1x10 1|22,30:r2 1|82,30:2x1 1|142,30:2x2 "
              "1|202,30:2x3 1|262,30:2x4 1|322,30:2x5 1|382,30:2x6 1|442,30:2x7 1|502,30:2x8 1|562,30:2x9 "
              "1|622,30:2x10 2|22,10:1x11 2|82,10:1x12 2|22,30:2x11 2|82,30:2x12");
}

// 30 rows of Amt 1..30, 14 to a page: whichever pages show the footer, each
// adds up the rows of its own page, in the only pass and in the second of two.
TEST_F(TEngineTest, PageFootersAddUpTheirOwnPage)
{
    QStringList Amounts;
    for (int i = 1; i <= 30; ++i)
        Amounts << QString::number(i);
    Data("Q", {"Amt:i"}, Amounts);
    Band(btMasterData, "MD", 40, 20, "frQ");
    Band(btPageFooter, "PF", 100, 20);
    Memo("Foot", 100, "[SUM([Q.Amt])] [COUNT(MD)] [AVG([Q.Amt])]");
    struct TRow
    {
        uint16_t Flags;
        const char* Expected;
    };
    const TRow Rows[] = {
        {0, "2|Foot@290:301 14 21.5"},
        {flBandOnFirstPage, "1|Foot@290:105 14 7.5 2|Foot@290:301 14 21.5"},
        {flBandOnLastPage, "2|Foot@290:301 14 21.5 3|Foot@290:59 2 29.5"},
        {flBandOnFirstPage | flBandOnLastPage, "1|Foot@290:105 14 7.5 2|Foot@290:301 14 21.5 3|Foot@290:59 2 29.5"},
    };
    for (bool TwoPasses : {false, true}) {
        for (const TRow& Row : Rows) {
            SCOPED_TRACE(QStringLiteral("flags %1, two passes %2").arg(Row.Flags).arg(TwoPasses).toStdString());
            // Every run puts a new copy of the template back.
            static_cast<TfrBandView*>(Report->Pages()->Pages(0)->FindObject("PF"))->SetFlags(Row.Flags);
            Report->SetDoublePass(TwoPasses);
            ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
            EXPECT_EQ(Pages().filter("|Foot@").join(" ").toStdString(), Row.Expected);
        }
    }
}

// Master rows 2 and 3 have no detail rows: their group prints nothing, and
// the next group is the second and counts its rows from 1.
TEST_F(TEngineTest, GroupWithoutPrintedRecordsPrintsNothing)
{
    TMemDataSet* Q = Data("Q", {"G", "N", "Kids:i"}, {"A,1,1", "B,2,0", "B,3,0", "C,4,1"});
    auto* Details = new TdaZeveDataset(&Form);
    Details->SetName("frD");
    Details->OnCheckEOF = [Q](QObject* Sender, bool& Eof) {
        Eof = static_cast<TfrDataset*>(Sender)->RecNo() >= Q->FieldByName("Kids")->AsInteger();
    };
    Band(btGroupHeader, "GH", 10, 20, "[Q.G]");
    Memo("Head", 10, "G [Q.G] [LINE#]");
    Band(btMasterData, "MD", 40, 20, "frQ");
    Memo("Row", 40, "[Q.N] [LINE#]");
    Band(btDetailData, "DD", 70, 20, "frD");
    Band(btGroupFooter, "GF", 100, 20);
    Memo("Foot", 100, "end [Q.G]");
    ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
    EXPECT_EQ(Pages().join(" ").toStdString(),
              "1|Head@10:G A 1 1|Row@30:1 1 1|Foot@70:end A 1|Head@90:G C 2 1|Row@110:4 1 1|Foot@150:end C");
}

// The second page continues on the first, whose footer is shown already:
// no second footer prints over it.
TEST_F(TEngineTest, PageOnThePreviousPageSharesItsFooter)
{
    Data("Q", {"N"}, {"1", "2"});
    Data("R", {"N"}, {"3"});
    Report->Pages()->Add();
    TfrPage* Second = Report->Pages()->Pages(1);
    Second->PrintToPrevPage = 1;
    const uint16_t Both = flBandOnFirstPage | flBandOnLastPage;
    Band(btMasterData, "MD", 40, 20, "frQ");
    Memo("Row", 40, "[Q.N]");
    Band(btPageFooter, "PF", 100, 20)->SetFlags(Both);
    Memo("Foot", 100, "first");
    Band(btMasterData, "MD2", 40, 20, "frR", Second);
    Memo("Row2", 40, "[R.N]", 20, 18, Second);
    Band(btPageFooter, "PF2", 100, 20, {}, Second)->SetFlags(Both);
    Memo("Foot2", 100, "second", 20, 18, Second);
    ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
    EXPECT_EQ(Pages().join(" ").toStdString(), "1|Row@10:1 1|Row@30:2 1|Foot@290:first 1|Row2@50:3");
}

// A summary reads the accumulators of each data band it names; an average
// without the flag "1" divides by the rows its sum took, not the hidden ones.
TEST_F(TEngineTest, SummaryReadsEachDataBandItNames)
{
    Data("Q", {"Amt:i"}, {"1", "2", "3", "4"});
    Data("R", {"X:i"}, {"10", "20"});
    Band(btMasterData, "MD", 40, 20, "frQ")->Script()->SetText("Visible := [Q.Amt] mod 2 = 1");
    Band(btMasterData, "MD2", 70, 20, "frR");
    Band(btReportSummary, "RS", 100, 20);
    Memo("Total", 100, "[SUM([Q.Amt], MD)] [COUNT(MD)] [AVG([Q.Amt], MD)] [AVG([Q.Amt], MD, 1)] [SUM([R.X], MD2)]");
    ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
    EXPECT_EQ(Pages().filter("|Total@").join(" ").toStdString(), "1|Total@90:4 2 2 2.5 30");
}

// The bands a new page draws, and a child they print, never start a page or
// split, whatever their flags or scripts ask: the report prints the pages it
// prints without the asking. 20 rows, 14 to a page.
TEST_F(TEngineTest, BandsDrawnWithAPageNeverStartOne)
{
    struct TRow
    {
        const char* Name;
        int Type;
        uint16_t Flags;
        const char* Script;
        bool Child;        // a child that asks for a new page after it
    };
    const uint16_t Both = flBandOnFirstPage | flBandOnLastPage;
    const TRow Rows[] = {
        {"page footer, new page", btPageFooter, Both | flBandNewPageAfter, "", false},
        {"page footer, split", btPageFooter, Both | flBandBreaked, "", false},
        {"page footer's script", btPageFooter, Both, "begin newpage end", false},
        {"page footer's child", btPageFooter, Both, "", true},
        {"page header, new page", btPageHeader, flBandOnFirstPage | flBandNewPageAfter, "", false},
        {"page header's script", btPageHeader, flBandOnFirstPage, "begin newpage end", false},
        {"page header's child", btPageHeader, flBandOnFirstPage, "", true},
        {"overlay, new page", btOverlay, flBandNewPageAfter, "", false},
        {"column header, new page", btColumnHeader, flBandNewPageAfter, "", false},
        {"column footer, new page", btColumnFooter, flBandNewPageAfter, "", false},
    };
    QStringList Numbers;
    for (int i = 1; i <= 20; ++i)
        Numbers << QString::number(i);
    Data("Q", {"N"}, Numbers);
    // A runaway would form pages without end: stop it where the test can see it.
    Report->OnEndPage = [this](int) {
        if (Report->EMFPages()->Count() > 5)
            Report->SetTerminated(true);
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QString Without;
        for (bool Asking : {false, true}) {
            while (Page->Count() > 0)
                Page->Delete(0);
            Band(btMasterData, "MD", 40, 20, "frQ");
            Memo("Row", 40, "[Q.N]");
            const int Top = Row.Type == btPageFooter || Row.Type == btColumnFooter ? 100 : 10;
            TfrBandView* B = Band(Row.Type, "PB", Top, 20);
            B->SetFlags(Asking ? Row.Flags : Row.Flags & Both);
            B->Script()->SetText(Asking ? Row.Script : "");
            Memo("Own", Top, "[PAGE#]");
            if (Row.Child) {
                B->SetChildBand("CB");
                Band(btChild, "CB", 150, 20)->SetFlags(Asking ? flBandNewPageAfter | flBandBreaked : 0);
                Memo("Kid", 150, "kid");
            }
            ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
            if (!Asking)
                Without = Pages().join(" ");
            else
                EXPECT_EQ(Pages().join(" ").toStdString(), Without.toStdString());
        }
    }
}

// Every kind of footer that counts master rows adds up the rows it closes:
// R holds 1..30 in groups of ten, 14 rows to a page or page column. A
// footer prints "sum avg min max count".
TEST_F(TEngineTest, EveryFooterOfMasterRowsAddsThemUp)
{
    struct TRow
    {
        const char* Name;
        int Type;
        int Columns;
        const char* Expected;
    };
    const TRow Rows[] = {
        {"page footer", btPageFooter, 1, "1:105 7.5 1 14 14 2:301 21.5 15 28 14 3:59 29.5 29 30 2"},
        {"column footer", btColumnFooter, 1, "1:105 7.5 1 14 14 2:301 21.5 15 28 14 3:59 29.5 29 30 2"},
        {"column footer, three columns", btColumnFooter, 3, "1:105 7.5 1 14 14 1:301 21.5 15 28 14 1:59 29.5 29 30 2"},
        {"master footer", btMasterFooter, 1, "3:465 15.5 1 30 30"},
        {"group footer", btGroupFooter, 1, "1:55 5.5 1 10 10 2:155 15.5 11 20 10 3:255 25.5 21 30 10"},
        {"report summary", btReportSummary, 1, "3:465 15.5 1 30 30"},
    };
    QStringList Numbers;
    for (int i = 1; i <= 30; ++i)
        Numbers << QStringLiteral("%1,%2").arg(i).arg(QChar(u'a' + (i - 1) / 10));
    Data("R", {"N:i", "G"}, Numbers);
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        while (Page->Count() > 0)
            Page->Delete(0);
        Page->Columns = Row.Columns;
        if (Row.Type == btGroupFooter)
            Band(btGroupHeader, "GH", 10, 0, "[R.G]");
        Band(btMasterData, "MD", 40, 20, "frR");
        Band(Row.Type, "F", 100, 20)->SetFlags(flBandOnFirstPage | flBandOnLastPage);
        Memo("Sum", 100, "[SUM([R.N])] [AVG([R.N])] [MIN([R.N])] [MAX([R.N])] [COUNT(MD)]");
        ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
        QStringList Printed;
        for (const QString& Entry : Pages())
            Printed << Entry.section(u'|', 0, 0) + u':' + Entry.section(u':', 1);
        EXPECT_EQ(Printed.join(u' ').toStdString(), Row.Expected);
    }
}

// A child prints below its parent inside the page's bottom bound: a page
// footer, printed at that bound, has none, from its template or a script; an
// overlay's prints right below the overlay's own place and a column footer's
// below the footer, where room is left there. 20 rows, 14 to a page.
TEST_F(TEngineTest, ChildrenOfFootersPrintInsideTheBottomBound)
{
    struct TRow
    {
        const char* Name;
        int Type;
        const char* ChildBand;
        const char* Script;
        const char* Expected;
    };
    const TRow Rows[] = {
        {"page footer", btPageFooter, "CB", "", "1|Foot@290:foot 2|Foot@290:foot"},
        {"page footer, by a script", btPageFooter, "", "F.ChildBand := 'CB'", "1|Foot@290:foot 2|Foot@290:foot"},
        {"column footer", btColumnFooter, "CB", "", "1|Foot@290:foot 2|Foot@130:foot 2|Kid@150:kid"},
        {"overlay", btOverlay, "CB", "", "1|Foot@100:foot 1|Kid@120:kid 2|Foot@100:foot 2|Kid@120:kid"},
        {"overlay at the bottom, by a script", btOverlay, "CB", "F.Top := 295", "1|Foot@295:foot 2|Foot@295:foot"},
    };
    QStringList Numbers;
    for (int i = 1; i <= 20; ++i)
        Numbers << QString::number(i);
    Data("Q", {"N"}, Numbers);
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        while (Page->Count() > 0)
            Page->Delete(0);
        Band(btMasterData, "MD", 40, 20, "frQ");
        TfrBandView* Footer = Band(Row.Type, "F", 100, 20);
        Footer->SetFlags(flBandOnFirstPage | flBandOnLastPage);
        Footer->SetChildBand(Row.ChildBand);
        Footer->Script()->SetText(Row.Script);
        Memo("Foot", 100, "foot");
        Band(btChild, "CB", 150, 20);
        Memo("Kid", 150, "kid");
        ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
        EXPECT_EQ(Pages().filter(QRegularExpression("Foot|Kid")).join(" ").toStdString(), Row.Expected);
    }
}
