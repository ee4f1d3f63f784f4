// The template in print state: band scripts that act on the run-time band,
// memo highlights measured with the band, and number styles whose separators
// would clash.
#include "EngineTestUtil.h"

#include <QRegularExpression>

using namespace enginetest;

// Each row builds bands over Q (rows 1, 2) and R (rows a, b); MD prints
// "Row" with its script, and the pages come back as text, the same in one
// pass and in two: what a script set from a record on holds from there.
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
        {"hidden from a record on", [&](TEngineTest& T) { Master(T, "if [Q.N] = '2' then MD.Visible := False"); },
         "1|Row@10:1"},
        {"height from a record on", [&](TEngineTest& T) { Master(T, "if [Q.N] = '2' then MD.Height := 40"); },
         "1|Row@10:1 1|Row@30:2"},
        {"child band from a record on",
         [&](TEngineTest& T) {
             Master(T, "if [Q.N] = '2' then MD.ChildBand := 'CB'");
             T.Band(btChild, "CB", 70, 20);
             T.Memo("Kid", 70, "kid");
         },
         "1|Row@10:1 1|Row@30:2 1|Kid@50:kid"},
        {"condition from a group on",
         [&](TEngineTest& T) {
             T.Band(btGroupHeader, "GH", 20, 20, "[Q.N]")
                 ->Script()
                 ->SetText("if [Q.N] = '2' then GH.Condition := '[Q.N] > 5'");
             T.Memo("Head", 20, "G");
             Master(T, "");
         },
         "1|Head@10:G 1|Row@30:1 1|Head@50:G 1|Row@70:2"},
        {"columns from a record on",
         [&](TEngineTest& T) { Master(T, "if [Q.N] = '2' then MD.Columns := 2")->SetColumnWidth(100); },
         "1|Row@10:1 1|Row@30:2"},
    };
    Data("Q", {"N"}, {"1", "2"});
    Data("R", {"N"}, {"a", "b"});
    for (bool TwoPasses : {false, true}) {
        for (const TRow& Row : Rows) {
            SCOPED_TRACE(std::string(Row.Name) + (TwoPasses ? ", two passes" : ""));
            while (Page->Count() > 0)
                Page->Delete(0);
            Report->SetDoublePass(TwoPasses);
            Row.Build(*this);
            ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
            EXPECT_EQ(Pages().filter(QRegularExpression("Row|Kid|Head")).join(" ").toStdString(), Row.Expected);
        }
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

// A band script that names another source for its own band: named before
// the walk has drawn a record it is walked from its first, after that it
// waits for the end of the walk, and one pass, two and a second preparation
// print the same. Q has rows 1, 2 and closes its dataset when released, R has
// rows a, b.
TEST_F(TEngineTest, ABandScriptRebindingItsSourceEndsTheWalkOverItsOwnRecords)
{
    struct TRow
    {
        const char* Name;
        const char* MasterSource;
        const char* MasterScript;
        const char* DetailScript;  // nullptr: no detail band
        const char* Expected;
    };
    const TRow Rows[] = {
        {"unknown name", "frQ", "MD.DataSource := 'frNope'", nullptr, ""},
        {"unknown name on a detail", "frQ", "", "DD.DataSource := 'frNope'", "1|Row@10:1 1|Row@30:2"},
        {"counted source for a counted one", "3", "MD.DataSource := '2'", nullptr, "1|Row@10:1 1|Row@30:2"},
        {"the source it has", "frQ", "MD.DataSource := 'frq'", nullptr, "1|Row@10:1 1|Row@30:2"},
        {"empty name", "frQ", "MD.DataSource := ''", nullptr, ""},
        {"the master's source on a detail", "frQ", "", "DD.DataSource := 'frQ'",
         "1|Row@10:1 1|Det@30:1 1|Det@50:2"},
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
                EXPECT_EQ(Pages().filter(QRegularExpression("Row|Det")).join(" ").toStdString(), Row.Expected);
            }
        }
    }
}

// A script of each kind of band names a source (X) for a data band. Named
// before that band's walk has drawn a record, it is walked from its first
// record; named later, it waits for the next walk; a cross walk finishes over
// the source it holds. No source leaves the band printing nothing more, the
// others as without it. One pass, two and a second preparation print the
// same, on as many pages as TOTALPAGES counts. A has rows 1-3, B 1-2 and C,
// which closes its dataset when released, one row; pages show as "/".
TEST_F(TEngineTest, BandScriptsNamingASourcePrintTheSameInEveryPass)
{
    auto Data = [](TEngineTest& T, int Typ, const char* Name, int Top, const QString& Source, const char* Text,
                   const QString& Script = {}, TfrPage* On = nullptr) {
        T.Band(Typ, Name, Top, 20, Source, On)->Script()->SetText(Script);
        T.Memo(QString(Name) + "m", Top, Text, 20, 18, On);
    };
    auto Plain = [](TEngineTest& T, int Typ, const char* Name, const QString& Script, const QString& Cond = {}) {
        T.Band(Typ, Name, Typ == btDetailHeader ? 70 : 10, 20, Cond)->Script()->SetText(Script);
        T.Memo(QString(Name) + "m", Typ == btDetailHeader ? 70 : 10, Name);
    };
    auto Named = [](const char* Band, const QString& X) { return QStringLiteral("%1.DataSource := '%2'").arg(Band, X); };
    // The second record names X, the others the band's own source.
    auto Second = [](const char* Band, const QString& X) {
        return QStringLiteral("if [LINE#] = 2 then %1.DataSource := '%2' else %1.DataSource := 'frA'").arg(Band, X);
    };
    struct TKind
    {
        const char* Name;
        std::function<void(TEngineTest&, const QString&)> Build;
        // X = B, none, empty, A in capitals, counted 4, C.
        const char* Expected[6];
    };
    const TKind Kinds[] = {
        {"title",
         [&](TEngineTest& T, const QString& X) {
             Plain(T, btReportTitle, "RT", Named("MD", X));
             Data(T, btMasterData, "MD", 40, "frA", "[LINE#]");
         },
         {"RT 1 2", "RT", "RT", "RT 1 2 3", "RT 1 2 3 4", "RT 1"}},
        {"page header",
         [&](TEngineTest& T, const QString& X) {
             Plain(T, btPageHeader, "PH", Named("MD", X));
             static_cast<TfrBandView*>(T.Page->FindObject("PH"))->SetFlags(flBandOnFirstPage);
             Data(T, btMasterData, "MD", 40, "frA", "[LINE#]");
         },
         {"PH 1 2", "PH", "PH", "PH 1 2 3", "PH 1 2 3 4", "PH 1"}},
        {"master header",
         [&](TEngineTest& T, const QString& X) {
             Plain(T, btMasterHeader, "MH", Named("MD", X));
             Data(T, btMasterData, "MD", 40, "30", "[LINE#]");
         },
         {"MH 1 2", "MH", "MH", "MH 1 2 3", "MH 1 2 3 4", "MH 1"}},
        {"group header",
         [&](TEngineTest& T, const QString& X) {
             Plain(T, btGroupHeader, "GH", Named("MD", X), "'g'");
             Data(T, btMasterData, "MD", 40, "frA", "[LINE#]");
         },
         {"GH 1 2", "GH", "GH", "GH 1 2 3", "GH 1 2 3 4", "GH 1"}},
        {"master",
         [&](TEngineTest& T, const QString& X) {
             Data(T, btMasterData, "MD", 40, "3", "M[LINE#]", Second("DD", X));
             Data(T, btDetailData, "DD", 70, "frA", "[LINE#]");
             Data(T, btDetailFooter, "DF", 100, {}, "=[COUNT(DD)]");
         },
         {"M1 1 2 3 =3 M2 1 2 =2 M3 1 2 3 =3", "M1 1 2 3 =3 M2 M3 1 2 3 =3", "M1 1 2 3 =3 M2 M3 1 2 3 =3",
          "M1 1 2 3 =3 M2 1 2 3 =3 M3 1 2 3 =3", "M1 1 2 3 =3 M2 1 2 3 4 =4 M3 1 2 3 / =3",
          "M1 1 2 3 =3 M2 1 =1 M3 1 2 3 =3"}},
        {"detail header",
         [&](TEngineTest& T, const QString& X) {
             Data(T, btMasterData, "MD", 40, "2", "M[LINE#]");
             Plain(T, btDetailHeader, "DH", Named("DD", X));
             Data(T, btDetailData, "DD", 100, "frA", "[LINE#]");
         },
         {"M1 DH 1 2 M2 DH 1 2", "M1 DH M2", "M1 DH M2", "M1 DH 1 2 3 M2 DH 1 2 3", "M1 DH 1 2 3 4 M2 DH 1 2 3 4",
          "M1 DH 1 M2 DH 1"}},
        {"detail",
         [&](TEngineTest& T, const QString& X) {
             Data(T, btMasterData, "MD", 40, "1", "M[LINE#]");
             Data(T, btDetailData, "DD", 70, "2", "D[LINE#]", Second("SD", X));
             Data(T, btSubDetailData, "SD", 100, "frA", "[LINE#]");
         },
         {"M1 D1 1 2 3 D2 1 2", "M1 D1 1 2 3 D2", "M1 D1 1 2 3 D2", "M1 D1 1 2 3 D2 1 2 3", "M1 D1 1 2 3 D2 1 2 3 4",
          "M1 D1 1 2 3 D2 1"}},
        // Its own script runs as its first record prints, which comes from A.
        {"subdetail",
         [&](TEngineTest& T, const QString& X) {
             Data(T, btMasterData, "MD", 40, "1", "M[LINE#]");
             Data(T, btDetailData, "DD", 70, "2", "D[LINE#]");
             Data(T, btSubDetailData, "SD", 100, "frA", "[LINE#]", Named("SD", X));
         },
         {"M1 D1 1 2 D2 1 2", "M1 D1 D2", "M1 D1 D2", "M1 D1 1 2 3 D2 1 2 3", "M1 D1 1 2 3 4 D2 1 2 3 4",
          "M1 D1 1 D2 1"}},
        {"cross",
         [&](TEngineTest& T, const QString& X) {
             TfrBandView* Cross = T.Band(btCrossData, "CD", 0, 300, "3");
             Cross->SetBounds(80, 0, 60, 300);
             Cross->Script()->SetText(Named("CD", X));
             T.Band(btMasterData, "MD", 40, 20, "2");
             T.Memo("MDm", 40, "M[LINE#]", 22, 18)->SetWidth(50);
             T.Memo("CDm", 40, "x", 82, 18)->SetWidth(50);
         },
         {"M1 x x x M2 x x", "M1 x x x M2", "M1 x x x M2", "M1 x x x M2 x x x", "M1 x x x M2 x x x x",
          "M1 x x x M2 x"}},
        // The subreport's walk was recorded over A's three records.
        {"subreport",
         [&](TEngineTest& T, const QString& X) {
             T.Report->Pages()->Add();
             TfrPage* Sub = T.Report->Pages()->Pages(1);
             T.Band(btMasterHeader, "MH", 10, 20, {}, Sub)->Script()->SetText(Named("MD", X));
             Data(T, btMasterData, "MD", 40, "frA", "[LINE#]", {}, Sub);
             T.Band(btMasterData, "MD0", 40, 30, "1");
             auto View = CreateViewByType(gtSubReport, {});
             View->SetBounds(20, 45, 100, 20);
             static_cast<TfrSubReportView*>(View.get())->SetSubPage(1);
             T.Page->Add(std::move(View));
         },
         {"1 2 3", "", "", "1 2 3", "1 2 3", "1 2 3"}},
    };
    const char* Sources[] = {"frB", "frNope", "", "FRA", "4", "frC"};
    TEngineTest::Data("A", {"N"}, {"1", "2", "3"});
    TEngineTest::Data("B", {"N"}, {"1", "2"});
    TEngineTest::Data("C", {"N"}, {"1"});
    Form.findChild<TfrDBDataSet*>("frC")->SetCloseDataSource(true);
    // A runaway walk would form pages without end: stop it where the test can see it.
    Report->OnEndPage = [this](int) {
        if (Report->EMFPages()->Count() > 5)
            Report->SetTerminated(true);
    };
    auto Printed = [this] {
        QStringList Out;
        QString At = "1";
        for (const QString& Entry : Pages()) {
            if (Entry.section(u'|', 0, 0) != At)
                Out << "/";
            At = Entry.section(u'|', 0, 0);
            Out << Entry.section(u':', 1);
        }
        return Out.join(u' ').toStdString();
    };
    for (const TKind& Kind : Kinds) {
        for (int s = 0; s < 6; ++s) {
            for (bool TwoPasses : {false, true}) {
                SCOPED_TRACE(std::string(Kind.Name) + " naming '" + Sources[s] + (TwoPasses ? "', two passes" : "'"));
                while (Report->Pages()->Count() > 1)
                    Report->Pages()->Delete(1);
                while (Page->Count() > 0)
                    Page->Delete(0);
                Report->SetDoublePass(TwoPasses);
                Kind.Build(*this, Sources[s]);
                for (int Run = 0; Run < 2; ++Run) {
                    ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
                    EXPECT_EQ(Printed(), Kind.Expected[s]);
                    if (TwoPasses) {
                        EXPECT_EQ(TotalPages, Report->EMFPages()->Count());
                    }
                }
            }
        }
    }
}

// A script names, for the band at the level its row gives, Buys (no records)
// for the customers who buy and Sales (two) for the others. A source without
// records gives the walk none: its footer counts 0, later customers print,
// the second buyer, whose walk starts on Buys, as the first, and with "Print
// if detail empty" only the buyers' own lines differ. One pass and two print
// the same.
TEST_F(TEngineTest, AScriptNamingAnEmptySourceGivesTheWalkNoRecord)
{
    struct TRow
    {
        const char* Name;
        const char* ScriptOn;   // the band whose script names the source
        const char* Target;     // the band it names it for
        const char* Expected;
        const char* WithPrintIfEmpty;   // nullptr: the same
        bool ByKind = false;            // customers in groups by kind
    };
    const TRow Rows[] = {
        {"master data", "MD", "DD", "C:Alpha 1 2 =2 C:Beta =0 C:Delta =0 C:Gamma 1 2 =2",
         "C:Alpha 1 2 =2 C:Beta C:Delta C:Gamma 1 2 =2"},
        {"master data, in groups by kind", "MD", "DD",
         "sale: C:Alpha 1 2 =2 n1 buy: C:Beta =0 C:Delta =0 n2 sale: C:Gamma 1 2 =2 n1",
         "sale: C:Alpha 1 2 =2 n1 buy: C:Beta C:Delta n2 sale: C:Gamma 1 2 =2 n1", true},
        {"detail header", "DH", "DD", "C:Alpha DH 1 2 =2 C:Beta DH =0 C:Delta DH =0 C:Gamma DH 1 2 =2", nullptr},
        {"group header", "GH", "DD", "C:Alpha GH 1 2 =2 C:Beta GH =0 C:Delta GH =0 C:Gamma GH 1 2 =2", nullptr},
        {"detail data, its own", "DD", "DD", "C:Alpha 1 2 =2 C:Beta =0 C:Delta =0 C:Gamma 1 2 =2", nullptr},
        {"detail data", "DD", "SD", "C:Alpha d 1 2 =2 C:Beta d =0 C:Delta d =0 C:Gamma d 1 2 =2",
         "C:Alpha d 1 2 =2 C:Beta d C:Delta d C:Gamma d 1 2 =2"},
        {"subdetail header", "SH", "SD",
         "C:Alpha d SH 1 2 =2 C:Beta d SH =0 C:Delta d SH =0 C:Gamma d SH 1 2 =2", nullptr},
        {"subdetail data, its own", "SD", "SD", "C:Alpha d 1 2 =2 C:Beta d =0 C:Delta d =0 C:Gamma d 1 2 =2", nullptr},
        {"master header", "MH", "MD", "MH =0", nullptr},
        {"master's group header", "GH", "MD", "GH =0", nullptr},
    };
    Data("Cust", {"Name", "Kind"}, {"Alpha,sale", "Beta,buy", "Delta,buy", "Gamma,sale"});
    Data("Sales", {"Doc"}, {"XS1", "XS2"});
    Data("Buys", {"Doc"}, {});
    for (const TRow& Row : Rows) {
        const QString Target = Row.Target;
        // Bands named after the text they print; a header only where it names the source.
        auto Add = [&](int Typ, const char* Name, const QString& Source, const QString& Text) {
            const bool Header = Typ == btMasterHeader || Typ == btDetailHeader || Typ == btSubDetailHeader ||
                                Typ == btGroupHeader;
            if (Header && QLatin1String(Row.ScriptOn) != QLatin1String(Name))
                return;
            const int Top = 10 + 30 * Page->Count();
            Band(Typ, Name, Top, 20, Source)->SetMaster(Typ == btGroupHeader ? Target : QString());
            Memo(QString(Name) + "m", Top, Text);
        };
        for (bool PrintIfEmpty : {false, true}) {
            for (bool TwoPasses : {false, true}) {
                SCOPED_TRACE(std::string(Row.Name) + (PrintIfEmpty ? ", print if detail empty" : "") +
                             (TwoPasses ? ", two passes" : ""));
                while (Page->Count() > 0)
                    Page->Delete(0);
                Report->SetDoublePass(TwoPasses);
                Add(btGroupHeader, "GH", "'g'", "GH");
                if (Row.ByKind) {
                    Band(btGroupHeader, "KH", 300, 10, "[Cust.Kind]")->SetMaster("MD");
                    Memo("KHm", 300, "[Cust.Kind]:", 20, 10);
                    Band(btGroupFooter, "KF", 320, 10);
                    Memo("KFm", 320, "n[COUNT(MD)]", 20, 10);
                }
                Add(btMasterHeader, "MH", {}, "MH");
                Add(btMasterData, "MD", "frCust", "C:[Cust.Name]");
                if (Target == u"MD") {
                    Add(btMasterFooter, "MF", {}, "=[COUNT(MD)]");
                } else if (Target == u"DD") {
                    Add(btDetailHeader, "DH", {}, "DH");
                    Add(btDetailData, "DD", "frSales", "[LINE#]");
                    Add(btDetailFooter, "DF", {}, "=[COUNT(DD)]");
                } else {
                    Add(btDetailData, "DD", "1", "d");
                    Add(btSubDetailHeader, "SH", {}, "SH");
                    Add(btSubDetailData, "SD", "frSales", "[LINE#]");
                    Add(btSubDetailFooter, "SF", {}, "=[COUNT(SD)]");
                }
                for (const char* Name : {"MD", "DD"})
                    if (auto* B = static_cast<TfrBandView*>(Page->FindObject(Name)); B && PrintIfEmpty)
                        B->SetFlags(flBandPrintIfSubsetEmpty);
                Page->FindObject(Row.ScriptOn)
                    ->Script()
                    ->SetText(Target == u"MD" ? QStringLiteral("MD.DataSource := 'frBuys'")
                                              : QStringLiteral("if [Cust.Kind] = 'buy' then %1.DataSource := 'frBuys' "
                                                               "else %1.DataSource := 'frSales'")
                                                    .arg(Target));
                ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
                EXPECT_EQ(Texts(), PrintIfEmpty && Row.WithPrintIfEmpty ? Row.WithPrintIfEmpty : Row.Expected);
            }
        }
    }
}

// Fields named without their dataset read the source of their band's data
// band, as their qualified names would: after a script switches the detail
// to Buys, in the band and in its footer's aggregates; the master's Name is
// the customer's, the detail's the document's, and the master's group
// condition reads the customer's Kind wherever the walk is.
TEST_F(TEngineTest, AFieldNamedWithoutItsSourceReadsTheBandsSource)
{
    const char* const ScriptOn[] = {"MD", "DH", "DD"};
    Data("Cust", {"Name", "Kind"}, {"Alpha,sale", "Beta,buy"});
    Data("Sales", {"Name", "Amt:i"}, {"XS1,100", "XS2,200"});
    Data("Buys", {"Name", "Amt:i"}, {"XB1,5", "XB2,7", "XB3,9"});
    for (const char* On : ScriptOn) {
        for (bool TwoPasses : {false, true}) {
            SCOPED_TRACE(std::string(On) + (TwoPasses ? ", two passes" : ""));
            while (Page->Count() > 0)
                Page->Delete(0);
            Report->SetDoublePass(TwoPasses);
            Band(btGroupHeader, "GH", 130, 20, "[Kind]");
            Memo("Group", 130, "[Kind]:");
            Band(btMasterData, "MD", 10, 20, "frCust");
            Memo("Row", 10, "C:[Name]");
            Band(btDetailHeader, "DH", 40, 20);
            Band(btDetailData, "DD", 70, 20, "frSales");
            Memo("Doc", 70, "[Name]=[Amt]");
            Band(btDetailFooter, "DF", 100, 20);
            Memo("Sum", 100, "[SUM([Amt])] [MAX([Amt])]");
            Page->FindObject(On)->Script()->SetText(
                "if [Cust.Kind] = 'buy' then DD.DataSource := 'frBuys' else DD.DataSource := 'frSales'");
            ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
            EXPECT_EQ(Texts(), "sale: C:Alpha XS1=100 XS2=200 300 200 buy: C:Beta XB1=5 XB2=7 XB3=9 21 9");
        }
    }
}

// A band on a subreport page plays the walk recorded over its own source A
// (a1-a3): a source a script names meanwhile, B (b1, b2), is taken once that
// walk ends, so each of A's records prints once and the subreport of Q's
// second record walks B. One pass and two print the same. The memo names
// its field without a source: the band's own.
TEST_F(TEngineTest, ASubreportBandTakesANamedSourceAfterItsWalk)
{
    struct TRow
    {
        const char* Name;
        const char* ScriptOn;
        const char* Script;
    };
    const TRow Rows[] = {
        {"from its second record", "SD", "if [LINE#] = 2 then SD.DataSource := 'frB'"},
        {"from its first record", "SD", "SD.DataSource := 'frB'"},
        {"its header", "SH", "SD.DataSource := 'frB'"},
    };
    Data("Q", {"N"}, {"1", "2"});
    Data("A", {"N"}, {"a1", "a2", "a3"});
    Data("B", {"N"}, {"b1", "b2"});
    for (const TRow& Row : Rows) {
        for (bool TwoPasses : {false, true}) {
            SCOPED_TRACE(std::string(Row.Name) + (TwoPasses ? ", two passes" : ""));
            while (Report->Pages()->Count() > 1)
                Report->Pages()->Delete(1);
            while (Page->Count() > 0)
                Page->Delete(0);
            Report->SetDoublePass(TwoPasses);
            Report->Pages()->Add();
            TfrPage* Sub = Report->Pages()->Pages(1);
            Band(btMasterHeader, "SH", 10, 20, {}, Sub);
            Band(btMasterData, "SD", 40, 20, "frA", Sub);
            Memo("Row", 40, "[N] [LINE#]", 0, 18, Sub);
            Sub->FindObject(Row.ScriptOn)->Script()->SetText(Row.Script);
            Band(btMasterData, "MD", 40, 30, "frQ");
            auto View = CreateViewByType(gtSubReport, {});
            View->SetBounds(20, 45, 100, 20);
            static_cast<TfrSubReportView*>(View.get())->SetSubPage(1);
            Page->Add(std::move(View));
            ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
            EXPECT_EQ(Texts(), "a1 1 a2 2 a3 3 b1 1 b2 2");
        }
    }
}
