// Aggregates: which data band a footer's call registers with and under which
// key, reading the accumulators back, and finding the calls in memos and
// scripts. Keys are shown with "|" for the separator and the kind by name.
#include "ExprTestText.h"
#include "report/engine/FR_Aggr.h"
#include "report/engine/FR_Band.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Funcs.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Pars.h"
#include "report/engine/FR_ReportIntrp.h"

#include <gtest/gtest.h>

namespace {

// Keys with "|" for the separator and the kind by name, with their values.
QString ShowValues(const TfrBand& Band)
{
    QStringList L;
    for (int i = 0; i < Band.Values.Count(); ++i) {
        QString Key = Band.Values.GetName(i).replace(frKeySeparator, u'|');
        int K = 0;
        for (const char* Kind : {"SUM", "MIN", "MAX", "AVG", "COUNT"})
            Key.replace(QChar(frAggSum + K++), QString::fromLatin1(Kind));
        L << Key + u'=' + ShowValue(Band.Values.GetValue(i));
    }
    return L.join(QStringLiteral(", "));
}

class TAggregates : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frParser().OnFunction = [](TfrParser*, const QString& Name, const Variant& P1, const Variant& P2,
                                   const Variant& P3, Variant& Value) {
            frCallLibraryFunction(Name, P1, P2, P3, Value);
        };
    }
    void TearDown() override
    {
        frParser().OnFunction = nullptr;
        frRegisteringAggregates = false;
        frAggregateBand = nullptr;
        CurBand = nullptr;
        CurPage = nullptr;
        CurReport = nullptr;
    }
    // A footer named "Footer" and the data band it registers with.
    void MakeBands(int FooterType, int DataType, const char* DataName)
    {
        Footer = TfrBand::CreateRuntimeBand(&Page, uint8_t(FooterType));
        Footer->Name = QStringLiteral("Footer");
        Data = TfrBand::CreateRuntimeBand(&Page, uint8_t(DataType));
        Data->Name = QString::fromLatin1(DataName);
        CurBand = Footer.get();
        frAggregateBand = Data.get();
        frRegisteringAggregates = true;
    }
    TfrPage Page{9, 2100, 2970, frNoBin, poPortrait};
    std::unique_ptr<TfrBand> Footer, Data;
};

TEST_F(TAggregates, FootersRegisterWithTheDataBandTheyCount)
{
    struct TRow
    {
        const char* Name;
        int FooterType;
        bool Cross;       // the footer holds a view of a cross band
        int DataType;
        const char* DataName;
        const char* Call;
        const char* Values;
    };
    const TRow Rows[] = {
        {"MasterFooter", btMasterFooter, false, btMasterData, "MasterData1", "SUM([Qty])", "Footer|SUM|[Qty]||=I:0"},
        {"Summary", btReportSummary, false, btMasterData, "MasterData1", "MIN([Qty])", "Footer|MIN|[Qty]||=N"},
        {"DetailFooterNotMaster", btDetailFooter, false, btMasterData, "MasterData1", "SUM([Qty])", ""},
        {"DetailFooter", btDetailFooter, false, btDetailData, "DetailData1", "SUM([Qty])", "Footer|SUM|[Qty]||=I:0"},
        {"SubdetailFooter", btSubDetailFooter, false, btSubDetailData, "Sub1", "MAX([P])", "Footer|MAX|[P]||=N"},
        {"NamedBandAnyCase", btDetailFooter, false, btMasterData, "MasterData2", "SUM([Qty], masterdata2)",
         "Footer|SUM|[Qty]||=I:0"},
        {"WrongName", btMasterFooter, false, btMasterData, "MasterData1", "SUM([Qty], MasterData2)", ""},
        {"PageHeader", btPageHeader, false, btMasterData, "MasterData1", "SUM([Qty])", ""},
        {"Count", btMasterFooter, false, btMasterData, "MasterData1", "COUNT(MasterData1)",
         "Footer|COUNT|MasterData1||=I:0"},
        {"InvisibleRowsToo", btMasterFooter, false, btMasterData, "M", "MAX([Qty], M, 1)", "Footer|MAX|[Qty]|1|=N"},
        {"CountInvisibleRowsToo", btMasterFooter, false, btMasterData, "M", "COUNT(M, 1)", "Footer|COUNT|M|1|=I:0"},
        {"CrossCellTemplate", btMasterFooter, true, btMasterData, "M", "SUM([Qty])", "0|Footer|SUM|[Qty]||=I:0"},
        {"CrossFooter", btCrossFooter, true, btCrossData, "CrossData1", "SUM([X])", "Footer|SUM|[X]||=I:0"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        MakeBands(Row.FooterType, Row.DataType, Row.DataName);
        auto CrossBand = TfrBand::CreateRuntimeBand(&Page, btCrossData);
        TfrMemoView Cell;
        if (Row.Cross) {
            Footer->Objects.push_back(&Cell);
            Page.SetViewBand(&Cell, CrossBand.get());
        }
        EXPECT_EQ(ShowValue(frParser().Calc(QString::fromLatin1(Row.Call))), QStringLiteral("S:0"));
        EXPECT_EQ(ShowValues(*Data), QString::fromLatin1(Row.Values));
        EXPECT_EQ(Footer->AggregateSource, *Row.Values ? Data.get() : nullptr);
        Page.SetViewBand(&Cell, nullptr);
    }
}

TEST_F(TAggregates, FootersReadTheirAccumulatorsBack)
{
    struct TRow { int FooterType; const char* Call; QList<Variant> Rows; const char* Expected; };
    const Variant N = Variant::Null();
    const TRow Rows[] = {
        {btMasterFooter, "SUM([Qty])", {3, -5, N}, "I:-2"},
        {btMasterFooter, "AVG([Qty])", {3, 4}, "D:3.5"},
        {btMasterFooter, "AVG([Qty])", {}, "I:0"},
        // Payments are stored negative: MAX must not stay at a starting 0.
        {btMasterFooter, "MAX([Qty])", {-5, -2, N}, "I:-2"},
        {btMasterFooter, "MIN([Qty])", {N, 4, 7}, "I:4"},
        {btMasterFooter, "MIN([Qty])", {}, "D:1E300"},
        {btMasterFooter, "COUNT(MasterData1)", {N, 1, 1}, "I:3"},
        {btPageHeader, "SUM([Qty])", {1}, "S:0"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Call);
        MakeBands(Row.FooterType, btMasterData, "MasterData1");
        frParser().Calc(QString::fromLatin1(Row.Call));
        // What the band engine does per printed row.
        for (const Variant& V : Row.Rows) {
            for (int i = 0; i < Data->Values.Count(); ++i) {
                Variant Acc = Data->Values.GetValue(i);
                frUpdateAggregate(Acc, Data->Values.GetName(i), V);
                Data->Values.SetValue(i, Acc);
            }
            ++Data->AggregateCount;
        }
        frRegisteringAggregates = false;
        EXPECT_EQ(ShowValue(frParser().Calc(QString::fromLatin1(Row.Call))), QString::fromLatin1(Row.Expected));
    }
    // A cross data cell reads its column's copy in the horizontal band.
    auto Cell = TfrBand::CreateRuntimeBand(&Page, btCrossData);
    Cell->AggregateSource = Footer.get();
    const QChar S = frKeySeparator;
    Footer->SetAggregateValue(QStringLiteral("2") + S + "Footer" + S + QChar(frAggSum) + S + "[X]" + S + S, 42);
    Page.CrossColumn = 2;
    CurPage = &Page;
    CurBand = Cell.get();
    EXPECT_EQ(ShowValue(frParser().Calc(QStringLiteral("SUM([X])"))), QStringLiteral("I:42"));
}

TEST_F(TAggregates, SplitterFindsCallsInMemosAndScripts)
{
    TfrReport Report;
    CurReport = &Report;
    Report.Dictionary()->Variables.SetVariable(QStringLiteral("Total"), QStringLiteral("SUM([Amount])"));
    struct TRow { const char* Name; QStringList Memo; const char* Found; };
    const TRow Rows[] = {
        {"SeveralGroups", {"Qty [SUM([Qty])] avg [AVG([P], MasterData1)] [Name]"},
         "SUM([Qty])|AVG([P], MasterData1)"},
        {"Nested", {"[IF(COUNT(MasterData1) > 0, SUM([A]) / COUNT(MasterData1), 0)]"},
         "COUNT(MasterData1)|SUM([A])| COUNT(MasterData1)"},
        {"OutsideBrackets", {"SUM([Qty])", "[MIN(1, 2)] [MINNUM(1, 2)]"}, "MIN(1, 2)"},
        {"DictionaryVariable", {"[Total]", "['[Total]']"}, "SUM([Amount])"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TStringList Out;
        TAggregateFunctionsSplitter(&Out).SplitMemo(TStringList(Row.Memo));
        EXPECT_EQ(Out.ToStringList().join(u'|'), QString::fromLatin1(Row.Found));
    }
    TStringList Script({"begin T := SUM([Qty]); if MAX([P]) > 1 then X := MIN([P]) else showband(B1) end"});
    TStringList Errors, Out;
    frInterpretator().CompileScript(Script, Script, Errors);
    ASSERT_EQ(Errors.Count(), 0);
    TAggregateFunctionsSplitter(&Out).SplitScript(Script);
    EXPECT_EQ(Out.ToStringList().join(u'|'), QStringLiteral("SUM([Qty])|MAX([P])|MIN([P])"));
}

// A template's footers register while its pages are set up for a run.
TEST_F(TAggregates, PageSetUpRegistersFooterCalls)
{
    TfrReport Report;
    CurReport = &Report;
    Report.Pages()->Add();
    TfrPage* P = Report.Pages()->Pages(0);
    struct TBand { int Type; const char* Name; int Y; const char* Source; const char* Memo; };
    const TBand Bands[] = {
        {btMasterData, "MasterData1", 100, "3", nullptr},
        {btDetailData, "DetailData1", 140, "2", nullptr},
        {btDetailFooter, "DetailFooter1", 170, "", "[AVG([P])]"},
        {btMasterFooter, "MasterFooter1", 200, "", "[SUM([Qty])] of [COUNT(MasterData1)]"},
        {btPageFooter, "PageFooter1", 900, "", "[MAX([Qty], DetailData1)]"},
    };
    for (const TBand& B : Bands) {
        auto View = std::make_unique<TfrBandView>();
        View->SetBandType(B.Type);
        View->SetName(QString::fromLatin1(B.Name));
        View->SetBounds(0, B.Y, 700, 20);
        View->SetFormatStr(QString::fromLatin1(B.Source));
        P->Add(std::move(View));
        if (B.Memo) {
            auto Memo = std::make_unique<TfrMemoView>();
            Memo->SetBounds(10, B.Y + 2, 100, 16);
            Memo->Memo()->SetText(QString::fromLatin1(B.Memo));
            P->Add(std::move(Memo));
        }
    }
    P->InitReport();
    P->PrepareObjects();
    EXPECT_EQ(ShowValues(*P->Bands[btMasterData]),
              QStringLiteral("MasterFooter1|SUM|[Qty]||=I:0, MasterFooter1|COUNT|MasterData1||=I:0"));
    EXPECT_EQ(ShowValues(*P->Bands[btDetailData]),
              QStringLiteral("PageFooter1|MAX|[Qty]||=N, DetailFooter1|AVG|[P]||=I:0"));
    EXPECT_EQ(P->Bands[btPageFooter]->AggregateSource, P->Bands[btDetailData]);
    P->DoneReport();
}

} // namespace
