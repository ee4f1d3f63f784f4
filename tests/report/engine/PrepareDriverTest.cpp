// The preparation driver: passes and the progress window, names and
// functions of expressions, display formats, and how a run ends on a stop or
// an error.
#include "EngineTestUtil.h"

#include "platform/rtl/SysUtils.h"
#include "report/engine/FR_DSet.h"
#include "report/engine/FR_Preview.h"
#include "report/engine/FR_Progress.h"
#include "platform/gui/StdCtrls.h"

#include <QCoreApplication>
#include <QLabel>

using namespace enginetest;

TEST(PrepareFormat, InlineFormatsAndDisplayKinds)
{
    struct TRow
    {
        const char* Name;
        Variant Value;
        uint32_t Format;
        const char* Expression;
        const char* Expected;
    };
    const TDateTime Day = EncodeDate(2024, 3, 5);
    const TRow Rows[] = {
        {"two decimals", 12.5, 0, "V #N0.00", "12.50"},
        {"comma separator", 12.5, 0, "V #N0,00", "12,50"},
        {"leading digit", 3.14159, 0, "V #0.000", "3.142"},
        {"picture", 1234.5, 0, "V #N#,##0.0", "1,234.5"},
        {"boolean false", false, 0, "V #BNo;Yes", "No"},
        {"boolean true", true, 0, "V #BNo;Yes", "Yes"},
        {"date picture", Variant::FromDateTime(Day), 0, "V #Ddd.mm.yyyy", "05.03.2024"},
        {"view format: fixed", 2.0, 0x01010200u | '.', "V", "2.00"},
        {"view format: long date", Variant::FromDateTime(Day), 0x02030000u, "V", "2024年3月5日"},
        {"view format: style past the table", 2.0, 0x01050000u, "V", ""},
        {"view format: boolean style", true, 0x04010000u, "V", "Yes"},
        {"text kind", QStringLiteral("abc"), 0, "V", "abc"},
        {"blank text", QStringLiteral("  "), 0x01010200u, "V", ""},
        {"number format on text", QStringLiteral("abc"), 0x01010200u, "V", "abc"},
    };
    TfrReport Report;
    Report.OnGetValue = [&](const QString& Name, Variant& Value) {
        if (Name == u"V")
            Value = CurValue;
    };
    TfrMemoView View;
    CurReport = &Report;
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        View.SetFormat(Row.Format);
        CurView = &View;
        Report.OnGetValue = [&](const QString& Name, Variant& Value) {
            if (Name == u"V")
                Value = Row.Value;
        };
        EXPECT_EQ(Report.GetFormattedValue(QString::fromUtf8(Row.Expression)).toStdString(), Row.Expected);
    }
    // The separator lives in a copy of the locale record.
    EXPECT_EQ(FormatSettings().DecimalSeparator, u'.');
    View.SetFlags(flHideZeroValues);
    View.SetFormat(0);
    Report.OnGetValue = [](const QString&, Variant& Value) { Value = 0; };
    EXPECT_EQ(Report.GetFormattedValue("V").toStdString(), "");
    Report.OnGetValue = [](const QString&, Variant& Value) { Value = QStringLiteral("0"); };
    EXPECT_EQ(Report.GetFormattedValue("V").toStdString(), "0");
    CurView = nullptr;
    CurReport = nullptr;
}

TEST_F(TEngineTest, NamesAndCommands)
{
    Data("Q", {"N:i"}, {"7"});
    Report->OnGetValue = [](const QString& Name, Variant& Value) {
        if (Name == u"Known")
            Value = 5;
    };
    Report->Dictionary()->Variables.SetVariable("A", "[B]");
    Report->Dictionary()->Variables.SetVariable("B", "[A] + 1");
    Band(btMasterData, "MD", 40, 20, "frQ");
    Memo("M", 40,
         "[Known] [PAGE#] [TOTALPAGES] [FINALPASS] [SETARRAY(A, 1, [Q.N] * 2)][GETARRAY(A, 1)] [Q.N #N0.0] [CURRENT#]");
    ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
    EXPECT_EQ(Pages().join(" ").toStdString(), "1|M@10:5 1 0 True 14 7.0 1");
    EXPECT_EQ(VarToStr(frVariables().GetVariable("Arr_A_1")).toStdString(), "14");
    Report->SetDoublePass(true);
    ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
    // The second pass counts its rows from the start again.
    EXPECT_EQ(Pages().join(" ").toStdString(), "1|M@10:5 1 1 True 14 7.0 1");

    // A name that comes back to itself is an error, shown once.
    TModalHandlers Handlers(nullptr, [](const TMessageRequest&) { return mrOk; });
    struct TRow { const char* Text; const char* Error; };
    const TRow Rows[] = {{"[a]", "Undefined symbol \"A\""}, {"[Nothing] + 1", "Undefined symbol \"NOTHING\""},
                         {"[A]", "Undefined symbol \"A\""}};
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Text);
        Page->FindObject("M")->Memo()->SetText(Row.Text);
        TModalSeam::ClearMessages();
        EXPECT_FALSE(Report->PrepareReport());
        ASSERT_EQ(TModalSeam::MessageTexts().size(), 1);
        EXPECT_TRUE(TModalSeam::MessageTexts()[0].endsWith(Row.Error)) << TModalSeam::MessageTexts()[0].toStdString();
        EXPECT_EQ(Report->PreparedPageCount(), 0);
        EXPECT_EQ(Page->FindObject("M")->Memo()->Text().trimmed().toStdString(), Row.Text);
    }
}

TEST_F(TEngineTest, ReportPerRecordFormsThePagesForEach)
{
    TMemDataSet* Q = Data("Q", {"N"}, {"x", "y", "z"});
    (void)Q;
    Report->SetDataset(Form.findChild<TfrDBDataSet*>("frQ"));
    Report->SetReportType(rtMultiple);
    Band(btReportTitle, "RT", 10, 20);
    Memo("T", 10, "[Q.N]");
    ASSERT_TRUE(Report->PrepareReport());
    EXPECT_EQ(Pages().join(" ").toStdString(), "1|T@10:x 2|T@10:y 3|T@10:z");
}

namespace {

// A data source that fails when rewound.
class TBrokenSource : public TfrDataset
{
public:
    using TfrDataset::TfrDataset;
    void First() override { throw EDSError(QStringLiteral("The connection was lost")); }
};

} // namespace

TEST_F(TEngineTest, EndsOnStopOrErrorWithoutAProgressWindow)
{
    TModalHandlers Handlers(nullptr, [](const TMessageRequest&) { return mrOk; });
    Data("Q", {"N"}, {"1", "2", "3"});
    Band(btMasterData, "MD", 40, 20, "frQ");
    Memo("M", 40, "[Q.N]")->Script()->SetText("begin if [Q.N] = '2' then StopReport end");
    EXPECT_TRUE(Report->PrepareReport());
    EXPECT_TRUE(TModalSeam::MessageTexts().isEmpty());
    EXPECT_EQ(Pages().join(" ").toStdString(), "1|M@10:1 1|M@30:2");

    auto* Broken = new TBrokenSource(&Form);
    Broken->SetName("frBroken");
    Page->FindObject("M")->Script()->Clear();
    Band(btMasterData, "MD2", 100, 20, "frBroken");
    EXPECT_FALSE(Report->PrepareReport());
    ASSERT_EQ(TModalSeam::MessageTexts().size(), 1);
    EXPECT_TRUE(TModalSeam::MessageTexts()[0].endsWith("The connection was lost"));
    EXPECT_EQ(Report->PreparedPageCount(), 0);
    EXPECT_EQ(Page->Count(), 3);
    EXPECT_EQ(CurPage, nullptr);
    EXPECT_FALSE(DisableDrawing);
}

TEST_F(TEngineTest, NoEndlessPages)
{
    TModalHandlers Handlers(nullptr, [](const TMessageRequest&) { return mrOk; });
    Data("Q", {"N"}, {"1", "2", "3"});
    // The page header and the repeated master header fill every page: each
    // record prints below them instead of breaking again and again.
    Band(btPageHeader, "PH", 10, 200)->SetFlags(flBandOnFirstPage);
    Band(btMasterHeader, "MH", 220, 150)->SetFlags(flBandRepeatHeader);
    Band(btMasterData, "MD", 380, 20, "frQ");
    ASSERT_TRUE(Report->PrepareReport()) << frErrorText.toStdString();
    EXPECT_EQ(Trace.join(" ").toStdString(), "1:PH@10 1:MH@210 2:PH@10 2:MH@210 2:MD@360 3:PH@10 3:MH@210 3:MD@360 "
                                             "4:PH@10 4:MH@210 4:MD@360");
    // A page footer that leaves no room stops the run with a message.
    Band(btPageFooter, "PF", 420, 400);
    EXPECT_FALSE(Report->PrepareReport());
    ASSERT_EQ(TModalSeam::MessageTexts().size(), 1);
    EXPECT_TRUE(TModalSeam::MessageTexts()[0].contains("no height"));
}

TEST_F(TEngineTest, ProgressWindowShowsPassesAndCancels)
{
    Data("Q", {"N"}, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16"});
    Band(btMasterData, "MD", 40, 20, "frQ")->Script()->SetText("Progress := [Q.N]");
    Report->SetShowProgress(true);
    Report->SetDoublePass(true);
    Report->SetTitle("List");
    QStringList Seen;
    Report->OnEndPage = [&](int) { Seen << frProgressForm()->windowTitle() + " / " + frProgressForm()->Label1->text(); };
    bool Cancel = false;
    TModalHandlers Handlers(
        [&](TForm* Form) -> TModalResult {
            auto* Progress = dynamic_cast<TfrProgressForm*>(Form);
            EXPECT_NE(Progress, nullptr);
            if (Cancel)
                Progress->Button1->Click();
            QCoreApplication::sendPostedEvents();
            return mrNone;
        },
        [](const TMessageRequest&) { return mrOk; });
    ASSERT_TRUE(Report->PrepareReport());
    EXPECT_EQ(Report->PreparedPageCount(), 2);
    EXPECT_EQ(frProgressForm()->Label2->text().toStdString(), "16");
    EXPECT_EQ(Seen.join(" | ").toStdString(), "Preparing report - List / Performing 1st pass:  2 | "
                                              "Preparing report - List / Processing page:  2 from 2");
    Cancel = true;
    EXPECT_FALSE(Report->PrepareReport());
    EXPECT_EQ(Report->PreparedPageCount(), 0);
}

// A template that stops itself shows the pages it formed.
TEST_F(TEngineTest, ShowReportShowsWhatAStoppedTemplateFormed)
{
    Data("Q", {"N"}, {"1", "2", "3"});
    Band(btMasterData, "MD", 40, 20, "frQ");
    Memo("M", 40, "[Q.N]")->Script()->SetText("begin if [Q.N] = '2' then StopReport end");
    QStringList Shown;
    TModalHandlers Handlers(
        [&](TForm* Form) -> TModalResult {
            auto* Preview = dynamic_cast<TfrPreviewForm*>(Form);
            Shown << Form->windowTitle() + " " + QString::number(Preview ? Preview->PageCount() : -1);
            return mrOk;
        },
        [](const TMessageRequest&) { return mrOk; });
    Report->ShowReport();
    EXPECT_EQ(Shown.join(" | ").toStdString(), "Preview 1");
}
