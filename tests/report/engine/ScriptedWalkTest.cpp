// Plain reports whose band scripts number and add up what prints, walked over
// details with and without empty ones, in one pass and two: a guard for the
// walk's rules on which bands print and whose scripts run.
#include "EngineTestUtil.h"

#include "report/engine/FR_DSet.h"

using namespace enginetest;

// Customers Beta, Alpha, Gamma and Delta with 0, 2, 1 and 0 documents, or
// with 1, 2, 1 and 2 where no detail is empty; the first document of each has
// one line, the second none (one in the full case). The title starts K and T
// at 0 and the summary prints them; each row puts a script that counts on one
// kind of band. Only a band that prints runs its script, so only the printed
// masters set the summary's text. The texts are those the walk printed before
// it ever ran a script ahead (063fe9d).
TEST_F(TEngineTest, ScriptsCountThePrintedBandsOnly)
{
    struct TRow
    {
        const char* Name;
        std::function<void(TEngineTest&)> Build;
        const char* Expected;       // over the empty details
        const char* ExpectedFull;   // over none
    };
    // Bands in the order of their tops; a group header names the band it belongs to.
    auto Add = [](TEngineTest& T, int Typ, const char* Name, const QString& Source, const QString& Text,
                  const QString& Script = {}, const QString& Master = {}) {
        const int Top = 10 + 20 * T.Page->Count();
        TfrBandView* B = T.Band(Typ, Name, Top, 10, Source);
        if (!Script.isEmpty())
            B->Script()->SetText("begin " + Script + " end");
        B->SetMaster(Master);
        if (!Text.isEmpty())
            T.Memo(QString(Name) + "m", Top, Text, 20, 10);
        return B;
    };
    auto Detail = [&](TEngineTest& T, const QString& Script = {}) {
        Add(T, btDetailData, "DD", "frDocs", "d[LINE#]", Script);
    };
    const TRow Rows[] = {
        {"master",
         [&](TEngineTest& T) {
             Add(T, btMasterData, "MD", "frCust", "[K]. [Cust.Name]",
                 "K := K + 1; T := T + [Cust.Credit]; if [Cust.Docs] = 0 then RSm.Memo := 'none'");
             Detail(T);
         },
         "1. Alpha d1 d2 2. Gamma d1 K=2 T=40", "1. Beta d1 2. Alpha d1 d2 3. Gamma d1 4. Delta d1 d2 none"},
        {"master header",
         [&](TEngineTest& T) {
             Add(T, btMasterHeader, "MH", {}, "h[K]", "K := K + 1; T := T + 5");
             Add(T, btMasterData, "MD", "frCust", "[Cust.Name]");
             Detail(T);
         },
         "h1 Alpha d1 d2 Gamma d1 K=1 T=5",
         "h1 Beta d1 Alpha d1 d2 Gamma d1 Delta d1 d2 K=1 T=5"},
        {"master's group header and footer",
         [&](TEngineTest& T) {
             Add(T, btGroupHeader, "GH", "[Cust.Name]", "g[K]", "K := K + 1", "MD");
             Add(T, btMasterData, "MD", "frCust", "[Cust.Name]");
             Detail(T);
             Add(T, btGroupFooter, "GF", {}, "gf[T]", "T := T + [Cust.Credit]");
         },
         "g1 Alpha d1 d2 gf10 g2 Gamma d1 gf40 K=2 T=40",
         "g1 Beta d1 gf20 g2 Alpha d1 d2 gf30 g3 Gamma d1 gf60 g4 Delta d1 d2 gf100 K=4 T=100"},
        {"master, print if detail empty, and detail header",
         [&](TEngineTest& T) {
             Add(T, btMasterData, "MD", "frCust", "[Cust.Name]")->SetFlags(flBandPrintIfSubsetEmpty);
             Add(T, btDetailHeader, "DH", {}, "h[K]", "K := K + 1; T := T + [Cust.Credit]");
             Detail(T);
         },
         "Beta Alpha h1 d1 d2 Gamma h2 d1 Delta K=2 T=40",
         "Beta h1 d1 Alpha h2 d1 d2 Gamma h3 d1 Delta h4 d1 d2 K=4 T=100"},
        {"detail header",
         [&](TEngineTest& T) {
             Add(T, btMasterData, "MD", "frCust", "[K]. [Cust.Name]");
             Add(T, btDetailHeader, "DH", {}, "h[K]", "K := K + 1; T := T + [Cust.Credit]");
             Detail(T);
         },
         "0. Alpha h1 d1 d2 1. Gamma h2 d1 K=2 T=40",
         "0. Beta h1 d1 1. Alpha h2 d1 d2 2. Gamma h3 d1 3. Delta h4 d1 d2 K=4 T=100"},
        {"detail",
         [&](TEngineTest& T) {
             Add(T, btMasterData, "MD", "frCust", "[Cust.Name]");
             Detail(T, "K := K + 1; T := T + [LINE#]");
         },
         "Alpha d1 d2 Gamma d1 K=3 T=4",
         "Beta d1 Alpha d1 d2 Gamma d1 Delta d1 d2 K=6 T=8"},
        {"detail's group header",
         [&](TEngineTest& T) {
             Add(T, btMasterData, "MD", "frCust", "[Cust.Name]");
             Add(T, btGroupHeader, "GH", "'x'", "g[K]", "K := K + 1", "DD");
             Detail(T);
         },
         "Alpha g1 d1 d2 Gamma g2 d1 K=2 T=0",
         "Beta g1 d1 Alpha g2 d1 d2 Gamma g3 d1 Delta g4 d1 d2 K=4 T=0"},
        {"footers and summary",
         [&](TEngineTest& T) {
             Add(T, btMasterData, "MD", "frCust", "[Cust.Name]");
             Detail(T);
             Add(T, btDetailFooter, "DF", {}, "df[K] [COUNT(DD)]", "K := K + 1");
             Add(T, btMasterFooter, "MF", {}, "mf[T] [COUNT(MD)]", "T := T + K");
             T.Page->FindObject("RS")->Script()->SetText("K := K * 10");
         },
         "Alpha d1 d2 df1 2 Gamma d1 df2 1 mf2 2 K=20 T=2",
         "Beta d1 df1 1 Alpha d1 d2 df2 2 Gamma d1 df3 1 Delta d1 d2 df4 2 mf4 4 K=40 T=4"},
        {"subdetail and its header",
         [&](TEngineTest& T) {
             Add(T, btMasterData, "MD", "frCust", "[Cust.Name]", "K := K + 1");
             Detail(T, "T := T + 1");
             Add(T, btSubDetailHeader, "SH", {}, "sh[K].[T]", "T := T + 10");
             Add(T, btSubDetailData, "SD", "frLines", "s[K].[T]");
         },
         "Alpha d1 sh1.11 s1.11 Gamma d1 sh2.22 s2.22 K=2 T=22",
         "Beta d1 sh1.11 s1.11 Alpha d1 sh2.22 s2.22 d2 sh2.33 s2.33 Gamma d1 sh3.44 s3.44 Delta d1 sh4.55 s4.55 "
         "d2 sh4.66 s4.66 K=4 T=66"},
    };
    TMemDataSet* Cust = Data("Cust", {"Name", "Credit:i", "Docs:i", "Full:i"},
                             {"Beta,20,0,1", "Alpha,10,2,2", "Gamma,30,1,1", "Delta,40,0,2"});
    bool Full = false;
    auto* Docs = new TdaZeveDataset(&Form);
    Docs->SetName("frDocs");
    Docs->OnCheckEOF = [&, Docs](QObject*, bool& Eof) {
        Eof = Docs->RecNo() >= Cust->FieldByName(Full ? "Full" : "Docs")->AsInteger();
    };
    auto* Lines = new TdaZeveDataset(&Form);
    Lines->SetName("frLines");
    Lines->OnCheckEOF = [&, Lines, Docs](QObject*, bool& Eof) {
        Eof = Lines->RecNo() >= (Full || Docs->RecNo() == 0 ? 1 : 0);
    };
    for (const TRow& Row : Rows) {
        for (bool WithFull : {false, true}) {
            for (bool TwoPasses : {false, true}) {
                SCOPED_TRACE(std::string(Row.Name) + (WithFull ? ", no empty detail" : "") +
                             (TwoPasses ? ", two passes" : ""));
                Full = WithFull;
                while (Page->Count() > 0)
                    Page->Delete(0);
                Report->SetDoublePass(TwoPasses);
                Add(*this, btReportTitle, "RT", {}, "", "K := 0; T := 0");
                Add(*this, btReportSummary, "RS", {}, "K=[K] T=[T]");
                Row.Build(*this);
                ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
                EXPECT_EQ(Texts(), WithFull ? Row.ExpectedFull : Row.Expected);
            }
        }
    }
}
