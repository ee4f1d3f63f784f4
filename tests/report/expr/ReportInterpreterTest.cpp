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

// Each row shows only what its assignment changed.
TEST(ReportInterpreter, AssignmentsGoToTheFirstPlaceThatTakesThem)
{
    struct TRow { const char* Name; const char* Script; bool BreakRequested; bool Dialog; const char* Changed; };
    const TRow Rows[] = {
        {"GlobalBeforeDictionary", "Both := 5", false, false, "Both=5"},
        {"Dictionary", "D := 7", false, false, "D=7"},
        {"ModalResultOnReportPage", "modalresult := 1", false, false, ""},
        {"ModalResultOnDialogPage", "ModalResult := 1", false, true, "Result=1"},
        {"CurY", "CurY := 120", false, false, "Y=120"},
        {"CurYAfterNewPage", "CURY := 120", true, false, "Y=120 Keep=1"},
        {"ViewProperty", "Memo1.Visible := False", false, false, "Visible=0"},
        {"PageProperty", "Page1.Columns := 2", false, false, "Columns=2"},
        {"NewGlobal", "MyTotal := 5", false, false, "New=MyTotal"},
        {"UnknownProperty", "Memo1.Nothing := 3", false, false, "New=Memo1.Nothing"},
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
        if (Row.Dialog) {
            Page->PageType = ptDialog;
            Page->Form = std::make_unique<TForm>();
        }
        TfrVariables& Dict = Report.Dictionary()->Variables;
        Dict.SetVariable(QStringLiteral("Both"), QStringLiteral("'dict'"));
        Dict.SetVariable(QStringLiteral("D"), QStringLiteral("1"));
        frVariables().Clear();
        frVariables().SetVariable(QStringLiteral("Both"), 0);
        auto Band = TfrBand::CreateRuntimeBand(Page, btMasterData);
        Band->NewPagesRequested = Row.BreakRequested ? 1 : 0;
        CurPage = Page;
        CurBand = Band.get();
        const auto State = [&] {
            QStringList New;
            for (int i = 1; i < frVariables().Count(); ++i)
                New << frVariables().GetName(i);
            return QStringList{"Both=" + VarToStr(frVariables().GetVariable("Both")),
                               "D=" + VarToStr(Dict.GetVariable("D")),
                               "Dict=" + VarToStr(Dict.GetVariable("Both")),
                               QStringLiteral("Result=%1").arg(Page->Form ? Page->Form->ModalResult() : 0),
                               QStringLiteral("Y=%1").arg(Page->CurY), QStringLiteral("Keep=%1").arg(Band->KeepY),
                               QStringLiteral("Visible=%1").arg(MemoView->Visible()),
                               QStringLiteral("Columns=%1").arg(Page->Columns), "New=" + New.join(u',')};
        };
        const QStringList Before = State();
        RunScript(QString::fromLatin1(Row.Script));
        QStringList Changed;
        for (const QString& Item : State())
            if (!Before.contains(Item))
                Changed << Item;
        EXPECT_EQ(Changed.join(u' '), QString::fromLatin1(Row.Changed));
        CurBand = nullptr;
        CurPage = nullptr;
        CurReport = nullptr;
    }
    frVariables().Clear();
}

TEST(EngineGlobals, ScriptConstantsAndTables)
{
    struct TRow { const char* Name; const char* Value; };
    const TRow Rows[] = {{"fsBold", "I:2"}, {"FSITALIC", "I:1"}, {"clTransparent", "I:536870911"},
                         {"clBtnFace", "I:-16777201"}, {"clNavy", "I:8388608"}, {"mb_YesNo", "I:4"},
                         {"mrNo", "I:7"}, {"baRest", "I:7"}, {"CRLF", "S:\r\n"}, {"Null", "N"}};
    for (const TRow& Row : Rows)
        EXPECT_EQ(ShowValue(frConstants().GetVariable(Row.Name)), QString::fromLatin1(Row.Value)) << Row.Name;
    const TfrGlobals& G = frGlobals();
    EXPECT_EQ(G.BandNames[5] + u'|' + G.BoolStr[1] + u'|' + G.TimeFormats[3], QStringLiteral("Master data|No;Yes|h:nn"));
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
    EXPECT_TRUE(Empty && Empty->Width() == 16 && LocaleInstance()->LoadBmp(QStringLiteral("fr_empty")) == Empty);
    EXPECT_EQ(LocaleInstance()->LoadBmp(QStringLiteral("FR_NOSUCH")), nullptr);
}

} // namespace
