// The report's script interpreter: where assignments go, in which order; the
// engine's script constants and tables; texts and bitmaps of the locale.
#include "ExprTestText.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_Band.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Locale.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Passw.h"
#include "report/engine/FR_ReportIntrp.h"
#include "report/engine/FR_Utils.h"

#include <gtest/gtest.h>

namespace {

void RunScript(const QString& Source)
{
    TStringList Script(QStringList{Source}), Errors;
    frInterpretator().CompileScript(Script, Script, Errors);
    ASSERT_EQ(Errors.Count(), 0) << Errors.Text().toStdString();
    frInterpretator().RunScript(Script);
}

TEST(ReportInterpreter, AssignmentsGoToTheFirstPlaceThatTakesThem)
{
    struct TRow
    {
        const char* Name;
        const char* Script;
        bool BreakRequested;
        const char* State;
    };
    const TRow Rows[] = {
        {"GlobalBeforeDictionary", "Both := 5", false, "Both=5/'dict' D=1 Y=0 Keep=0 Visible=1 Columns=1 New="},
        {"Dictionary", "D := 7", false, "Both=0/'dict' D=7 Y=0 Keep=0 Visible=1 Columns=1 New="},
        {"ModalResultOnReportPage", "modalresult := 1", false, "Both=0/'dict' D=1 Y=0 Keep=0 Visible=1 Columns=1 New="},
        {"CurY", "CurY := 120", false, "Both=0/'dict' D=1 Y=120 Keep=0 Visible=1 Columns=1 New="},
        {"CurYAfterNewPage", "CURY := 120", true, "Both=0/'dict' D=1 Y=120 Keep=1 Visible=1 Columns=1 New="},
        {"ViewProperty", "Memo1.Visible := False", false, "Both=0/'dict' D=1 Y=0 Keep=0 Visible=0 Columns=1 New="},
        {"PageProperty", "Page1.Columns := 2", false, "Both=0/'dict' D=1 Y=0 Keep=0 Visible=1 Columns=2 New="},
        {"NewGlobal", "MyTotal := 5", false, "Both=0/'dict' D=1 Y=0 Keep=0 Visible=1 Columns=1 New=MyTotal"},
        {"UnknownProperty", "Memo1.Nothing := 3", false,
         "Both=0/'dict' D=1 Y=0 Keep=0 Visible=1 Columns=1 New=Memo1.Nothing"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TfrReport Report;
        CurReport = &Report;
        Report.Pages()->Add();
        TfrPage* Page = Report.Pages()->Pages(0);
        auto Memo = std::make_unique<TfrMemoView>();
        Memo->SetName(QStringLiteral("Memo1"));
        TfrView* MemoView = Memo.get();
        Page->Add(std::move(Memo));
        Report.Dictionary()->Variables.SetVariable(QStringLiteral("Both"), QStringLiteral("'dict'"));
        Report.Dictionary()->Variables.SetVariable(QStringLiteral("D"), QStringLiteral("1"));
        frVariables().Clear();
        frVariables().SetVariable(QStringLiteral("Both"), 0);
        auto Band = TfrBand::CreateRuntimeBand(Page, btMasterData);
        Band->NewPagesRequested = Row.BreakRequested ? 1 : 0;
        Page->CurY = 0;
        CurPage = Page;
        CurBand = Band.get();
        RunScript(QString::fromLatin1(Row.Script));
        QStringList New;
        for (int i = 0; i < frVariables().Count(); ++i)
            if (frVariables().GetName(i) != u"Both")
                New << frVariables().GetName(i);
        const QString State =
            QStringLiteral("Both=%1/%2 D=%3 Y=%4 Keep=%5 Visible=%6 Columns=%7 New=%8")
                .arg(VarToStr(frVariables().GetVariable("Both")),
                     VarToStr(Report.Dictionary()->Variables.GetVariable("Both")),
                     VarToStr(Report.Dictionary()->Variables.GetVariable("D")))
                .arg(Page->CurY).arg(int(Band->KeepY)).arg(int(MemoView->Visible())).arg(Page->Columns)
                .arg(New.join(u','));
        EXPECT_EQ(State, QString::fromLatin1(Row.State));
        CurBand = nullptr;
        CurPage = nullptr;
        CurReport = nullptr;
    }
    frVariables().Clear();
}

TEST(ReportInterpreter, ModalResultClosesADialogPage)
{
    TfrReport Report;
    CurReport = &Report;
    Report.Pages()->Add();
    TfrPage* Page = Report.Pages()->Pages(0);
    Page->PageType = ptDialog;
    Page->Form = std::make_unique<TForm>();
    CurPage = Page;
    RunScript(QStringLiteral("ModalResult := 1"));
    EXPECT_EQ(Page->Form->ModalResult(), mrOk);
    EXPECT_EQ(frVariables().IndexOf(QStringLiteral("ModalResult")), -1);
    CurPage = nullptr;
    CurReport = nullptr;
}

TEST(EngineGlobals, ScriptConstantsAndTables)
{
    struct TRow { const char* Name; const char* Value; };
    const TRow Rows[] = {
        {"fsBold", "I:2"}, {"FSITALIC", "I:1"}, {"clTransparent", "I:536870911"},
        {"clBtnFace", "I:-16777201"}, {"clNavy", "I:8388608"}, {"mb_YesNo", "I:4"},
        {"mb_IconWarning", "I:48"}, {"mrNo", "I:7"}, {"baRest", "I:7"}, {"frtaDown", "I:16"},
        {"psDouble", "I:5"}, {"CRLF", "S:\r\n"}, {"Null", "N"},
    };
    for (const TRow& Row : Rows)
        EXPECT_EQ(ShowValue(frConstants().GetVariable(QString::fromLatin1(Row.Name))),
                  QString::fromLatin1(Row.Value))
            << Row.Name;
    EXPECT_GE(frConstants().IndexOf(QStringLiteral("clInfoBk")), 0);
    const TfrGlobals& G = frGlobals();
    EXPECT_EQ(QStringList({G.BandNames[5], G.BandNames[22], G.BoolStr[1], G.DateFormats[2], G.TimeFormats[3]})
                  .join(u'|'),
              QStringLiteral("Master data|None|No;Yes|d mmm yyyy|h:nn"));
    EXPECT_EQ(frDialogForm()->objectName(), QStringLiteral("DialogForm"));
}

TEST(EngineLocale, OnLocalizeComesBeforeTheEngineTexts)
{
    LocaleInstance()->OnLocalize = [](int Id, QString& Text) {
        if (Id == 55000)
            Text = QStringLiteral("好");
    };
    TfrPasswForm Form;
    LocaleInstance()->OnLocalize = nullptr;
    EXPECT_EQ(Form.OK->Caption(), QStringLiteral("好"));
    EXPECT_EQ(Form.Cancel->Caption(), QStringLiteral("Cancel"));
    EXPECT_EQ(LoadEngineString(55000), QStringLiteral("OK"));

    const TBitmap* Empty = LocaleInstance()->LoadBmp(QStringLiteral("FR_EMPTY"));
    ASSERT_NE(Empty, nullptr);
    EXPECT_EQ(QSize(Empty->Width(), Empty->Height()), QSize(16, 16));
    EXPECT_EQ(LocaleInstance()->LoadBmp(QStringLiteral("fr_empty")), Empty);
    EXPECT_EQ(LocaleInstance()->LoadBmp(QStringLiteral("FR_NOSUCH")), nullptr);
}

} // namespace
