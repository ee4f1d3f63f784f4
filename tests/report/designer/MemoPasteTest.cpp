// The designer's multi-line boxes over a clipboard without any format: the
// memo editor's Paste button on either pane and Ctrl+V in every box of the
// designer's windows insert nothing, and each box is a TMemo.
#include "DesignerTestUtil.h"

#include "MemoPaste.h"
#include "report/ui/UiTestUtil.h"
#include "report/designer/FR_Dopt.h"
#include "report/designer/FR_Edit.h"
#include "report/designer/FR_Edit1.h"
#include "report/designer/FR_Expr.h"
#include "report/designer/FR_Newrp.h"
#include "report/designer/FR_Templ.h"
#include "report/designer/FR_Vared.h"
#include "report/designer/fr_synmemo.h"
#include "report/engine/FR_Ctrls.h"

#include <functional>
#include <memory>

namespace designertest {
namespace {

class MemoPaste : public TDesignerTest
{
protected:
    // The script pane's lines, whichever kind it is.
    static QString ScriptText(TfrMemoEditorForm* E)
    {
        if (auto* S = dynamic_cast<TfrSyntaxMemo*>(E->ScriptPane()))
            return S->Text().join(u'|');
        return static_cast<QPlainTextEdit*>(E->ScriptPane())->toPlainText().replace(u'\n', u'|');
    }
};

// Per kind of memo editor: the memo and the script after the Paste button
// on each pane, then the boxes Ctrl+V was pressed in.
TEST_F(MemoPaste, MemoEditorPasteButtonAndKeysInsertNothing)
{
    Open();
    Build(QStringLiteral("Memo1 10,10 96x20 sel text=[Name]"));
    TfrView* V = Page()->Objects(0);
    QStringList Seen;
    for (const bool Syntax : {true, false}) {
        Designer->SyntaxHighlight = Syntax;
        Designer->CreateMemoEditor();
        auto* Editor = dynamic_cast<TfrMemoEditorForm*>(Designer->MemoEditor);
        ASSERT_NE(Editor, nullptr);
        TModalHandlers Handlers(
            [&](TForm*) {
                QGuiApplication::clipboard()->setMimeData(new QMimeData);
                Editor->M1Enter(Editor->M1);
                uitest::Click(Editor->PasteBtn, Editor->PasteBtn->rect().center());
                QGuiApplication::clipboard()->setMimeData(new QMimeData);
                Editor->M1Enter(Editor->ScriptPane());
                uitest::Click(Editor->PasteBtn, Editor->PasteBtn->rect().center());
                Seen << (Syntax ? QStringLiteral("syntax: ") : QStringLiteral("plain: ")) + Editor->M1->toPlainText()
                            + u'/' + ScriptText(Editor) + u'/' + PasteNothingIntoBoxes(Editor);
                return mrCancel;
            },
            nullptr);
        Editor->ShowEditor(V);
    }
    QGuiApplication::clipboard()->clear();
    EXPECT_EQ(Seen.join(QStringLiteral(" | ")),
              QStringLiteral("syntax: [Name]/begin|  |end/M1 | plain: [Name]/begin|  |end/M1; ScriptEdit"));
}

// The other windows of the designer with a multi-line box.
TEST_F(MemoPaste, DialogBoxesAreMemosThatKeyPastesOfNothingLeaveAsTheyWere)
{
    Open();
    const struct
    {
        const char* Name;
        std::function<std::unique_ptr<TForm>()> Make;
    } Dialogs[] = {
        {"expression", [] { return std::make_unique<TfrExprForm>(); }},
        {"variables", [] { return std::make_unique<TfrVaredForm>(); }},
        {"new template", [] { return std::make_unique<TfrTemplNewForm>(); }},
        {"new report", [] { return std::make_unique<TfrTemplForm>(); }},
        {"report options", [] { return std::make_unique<TfrDocOptForm>(); }},
    };
    QStringList Seen;
    for (const auto& D : Dialogs) {
        const std::unique_ptr<TForm> Form = D.Make();
        Form->show();
        Seen << QString::fromUtf8(D.Name) + QStringLiteral(": ") + PasteNothingIntoBoxes(Form.get());
    }
    EXPECT_EQ(Seen.join(QStringLiteral(" | ")),
              QStringLiteral("expression: TMemo | variables: TMemo | new template: TMemo | new report: TMemo | "
                             "report options: TMemo"));
}

} // namespace
} // namespace designertest
