// Both "Text editor" windows through the modal seam, on a test designer that
// counts BeforeChange and answers the insert commands.
#include "DesignerTestUtil.h"

#include "platform/gui/TestRender.h"
#include "platform/rtl/IniFiles.h"
#include "report/designer/FR_Edit.h"
#include "report/designer/FR_Edit1.h"
#include "report/designer/fr_synmemo.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_MemoView.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>

namespace {

class TTestDesigner : public TfrReportDesigner
{
public:
    TTestDesigner() : TfrReportDesigner(1) {}
    bool GetModified() override { return false; }
    void SetModified(bool) override {}
    void BeforeChange() override { ++BeforeChanges; }
    void AfterChange() override {}
    void RedrawPage() override {}
    void SelectObject(const QString&) override {}
    QString InsertDBField() override { return QStringLiteral("[Field]"); }
    QString InsertExpression() override { return QStringLiteral("[Expr]"); }
    int BeforeChanges = 0;
};

class MemoEditor : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        TRegIniFile::SetStorageFolder(Dir.path());
        if (GetParam())
            Editor = new TfrEditorForm(&Designer);
        else
            Editor = new TfrEditorForm1(&Designer);
        View = CreateViewByType(gtMemo, QString());
    }
    void TearDown() override { TRegIniFile::SetStorageFolder(QString()); }

    // Runs the editor on V; Act plays the user and may close the window.
    TModalResult Run(TfrView* V, const std::function<void(TfrMemoEditorForm*)>& Act)
    {
        TModalHandlers Handlers(
            [&](TForm* Form) {
                Act(dynamic_cast<TfrMemoEditorForm*>(Form));
                return mrNone;
            },
            nullptr);
        return Editor->ShowEditor(V);
    }
    QString Script() const { return View->Script()->ToStringList().join(u'|'); }
    // The script pane's text, whichever kind it is.
    QString PaneText(TfrMemoEditorForm* E) const
    {
        if (auto* S = dynamic_cast<TfrSyntaxMemo*>(E->ScriptPane()))
            return S->Text().join(u'|');
        return static_cast<QPlainTextEdit*>(E->ScriptPane())->toPlainText().replace(u'\n', u'|');
    }
    void SetPane(TfrMemoEditorForm* E, const QString& Text)
    {
        if (auto* S = dynamic_cast<TfrSyntaxMemo*>(E->ScriptPane()))
            S->SetLines(TStringList(Text.split(u'|')));
        else
            static_cast<QPlainTextEdit*>(E->ScriptPane())->setPlainText(QString(Text).replace(u'|', u'\n'));
    }
    static void Key(QWidget* W, int Key, Qt::KeyboardModifiers M = Qt::NoModifier)
    {
        QKeyEvent E(QEvent::KeyPress, Key, M);
        QCoreApplication::sendEvent(W, &E);
    }

    QTemporaryDir Dir;
    TTestDesigner Designer;
    TfrMemoEditorForm* Editor = nullptr;
    std::unique_ptr<TfrView> View;
};

struct TTemplateCase
{
    const char* Name;
    const char* Before;   // the view's script
    const char* Typed;    // the pane's text at OK, or null to leave it
    const char* Syntax;   // stored script with the syntax memo
    const char* Plain;    // stored script with the plain pane
};

const TTemplateCase TemplateCases[] = {
    {"UntouchedTemplateStoresNothing", "", nullptr, "", ""},
    {"UpperCaseTemplate", "", "BEGIN||END", "", "BEGIN||END"},
    {"TemplateClearsAStoredScript", "x := 1;", "begin|  |end", "", ""},
    {"ScriptKept", "x := 1;", nullptr, "x := 1;", "x := 1;"},
};

TEST_P(MemoEditor, Templates)
{
    for (const TTemplateCase& C : TemplateCases) {
        View->Script()->SetText(QString::fromLatin1(C.Before));
        QString Shown;
        const TModalResult R = Run(View.get(), [&](TfrMemoEditorForm* E) {
            Shown = PaneText(E);
            if (C.Typed)
                SetPane(E, QString::fromLatin1(C.Typed));
            E->OkBtnClick();
        });
        EXPECT_EQ(R, mrOk) << C.Name;
        if (!*C.Before) {
            EXPECT_EQ(Shown, QStringLiteral("begin|  |end")) << C.Name;
        }
        EXPECT_EQ(Script(), QString::fromLatin1(GetParam() ? C.Syntax : C.Plain)) << C.Name;
    }
    EXPECT_EQ(Designer.BeforeChanges, 4);
}

TEST_P(MemoEditor, TextStoredAndBeforeChangeOnlyOnOk)
{
    View->Memo()->SetText(QStringLiteral("[Name]"));
    Run(View.get(), [](TfrMemoEditorForm* E) {
        E->M1->setPlainText(QStringLiteral("甲\n乙"));
        E->CancelBtnClick();
    });
    EXPECT_EQ(View->Memo()->ToStringList().join(u'|'), QStringLiteral("[Name]"));
    EXPECT_EQ(Designer.BeforeChanges, 0);
    Run(View.get(), [](TfrMemoEditorForm* E) {
        E->WordWrapBtn->SetDown(true);
        E->WordWrapBtnClick();
        E->M1->setPlainText(QStringLiteral("甲\n乙"));
        E->OkBtnClick();
    });
    EXPECT_EQ(View->Memo()->ToStringList().join(u'|'), QStringLiteral("甲|乙"));
    EXPECT_EQ(Designer.BeforeChanges, 1);
}

TEST_P(MemoEditor, RestrictionsMakePanesReadOnly)
{
    View->SetRestrictions(frrfDontEditMemo | frrfDontEditScript);
    View->Script()->SetText(QStringLiteral("begin x := ( end"));   // does not compile
    const TModalResult R = Run(View.get(), [&](TfrMemoEditorForm* E) {
        EXPECT_TRUE(E->M1->isReadOnly());
        E->InsDBBtnClick();
        Key(E->M1, Qt::Key_Insert);
        E->ScriptPane()->setFocus();
        E->M1Enter(E->ScriptPane());
        E->InsExprBtnClick();
        E->PasteBtnClick();
        EXPECT_EQ(PaneText(E), QStringLiteral("begin x := ( end"));
        EXPECT_TRUE(E->M1->toPlainText().isEmpty());
        E->OkBtnClick();   // a locked script is not compiled
    });
    EXPECT_EQ(R, mrOk);
}

TEST_P(MemoEditor, InsertKeyAndButtonsInsertIntoActivePane)
{
    Run(View.get(), [&](TfrMemoEditorForm* E) {
        Key(E->M1, Qt::Key_Insert);
        EXPECT_EQ(E->M1->toPlainText(), QStringLiteral("[Field]"));
        E->ScriptPane()->setFocus();
        E->M1Enter(E->ScriptPane());
        E->InsExprBtnClick();
        EXPECT_TRUE(PaneText(E).contains(QStringLiteral("[Expr]")));
        E->CancelBtnClick();
    });
}

TEST_P(MemoEditor, BandViewHasOnlyTheScriptPane)
{
    auto Band = CreateViewByType(gtBand, QString());
    Run(Band.get(), [&](TfrMemoEditorForm* E) {
        EXPECT_TRUE(E->MemoPanel->isHidden());
        EXPECT_EQ(E->ScriptPane()->height(), E->ScriptPanel->height());
        EXPECT_EQ(E->ScriptPanel->height(), E->ClientHeight() - E->Panel1->height());
        E->ScriptBtn->SetDown(false);
        E->ScriptBtnClick();
        EXPECT_TRUE(E->ScriptBtn->Down());
        EXPECT_EQ(E->ActivePane(), E->ScriptPane());
        E->CancelBtnClick();
    });
}

TEST_P(MemoEditor, CompileErrorPointsAtTheScriptAndKeepsTheWindowOpen)
{
    // Each emoji is one column of the memo and two units of the compiler's text.
    View->Script()->SetText(QStringLiteral("begin\n  x := ('\U0001F600\U0001F600' + ;\nend"));
    const int ErrorCol = 16, ErrorUnits = ErrorCol + 1;   // ";" after two pairs
    Run(View.get(), [&](TfrMemoEditorForm* E) {
        E->ScriptBtn->SetDown(false);   // the pane is hidden by the user
        E->ScriptBtnClick();
        ASSERT_TRUE(E->ScriptPanel->isHidden());
        E->OkBtnClick();
        EXPECT_EQ(E->ModalResult(), mrNone);
        EXPECT_FALSE(E->ScriptPanel->isHidden());
        if (auto* S = dynamic_cast<TfrSyntaxMemo*>(E->ScriptPane())) {
            EXPECT_TRUE(S->StatusText().startsWith(QStringLiteral("Line 2/"))) << S->StatusText().toStdString();
            EXPECT_EQ(S->CaretPos(), (TSynPos{ErrorCol, 2}));
        } else {
            auto* Panel = static_cast<TfrEditorForm1*>(E)->ErrorPanel;
            EXPECT_FALSE(Panel->isHidden());
            EXPECT_TRUE(Panel->text().startsWith(QStringLiteral(" Line 2/")));
            auto* P = static_cast<QPlainTextEdit*>(E->ScriptPane());
            EXPECT_EQ(P->textCursor().blockNumber(), 1);
            EXPECT_EQ(P->textCursor().positionInBlock(), ErrorUnits);
            Key(P, Qt::Key_Left);
            EXPECT_TRUE(Panel->isHidden());   // any key hides the error
        }
        E->CancelBtnClick();
    });
    EXPECT_EQ(Script(), QStringLiteral("begin|  x := ('\U0001F600\U0001F600' + ;|end"));
}

TEST(MemoEditorError, OnlyWholeNumbersAreRead)
{
    const struct { const char* Text; bool Ok; int Line; int Col; } Rows[] = {
        {"Line 3/5: Unknown name", true, 3, 5}, {"Line x/5: y", false, 0, 0}, {"Line 3/5 missing colon", false, 0, 0},
        {"Line 3.5/2: y", false, 0, 0}, {"Line 99999999999/1: big", false, 0, 0}, {"Error", false, 0, 0}};
    for (const auto& R : Rows) {
        int Line = 0, Col = 0;
        EXPECT_EQ(ParseScriptError(QString::fromLatin1(R.Text), Line, Col), R.Ok) << R.Text;
        if (R.Ok) {
            EXPECT_EQ(QStringLiteral("%1/%2").arg(Line).arg(Col), QStringLiteral("%1/%2").arg(R.Line).arg(R.Col));
        }
    }
}

TEST_P(MemoEditor, CtrlEnterConfirmsAndEscCancels)
{
    for (bool Script : {false, true}) {
        EXPECT_EQ(Run(View.get(),
                      [&](TfrMemoEditorForm* E) {
                          Key(Script ? E->ScriptPane() : E->M1, Qt::Key_Return, Qt::ControlModifier);
                      }),
                  mrOk)
            << Script;
    }
    EXPECT_EQ(Designer.BeforeChanges, 2);
    EXPECT_EQ(Run(View.get(), [&](TfrMemoEditorForm* E) {
                  E->M1->setPlainText(QStringLiteral("lost"));
                  Key(E->ScriptPane(), Qt::Key_Escape);
              }),
              mrCancel);
    EXPECT_TRUE(View->Memo()->ToStringList().isEmpty());
}

TEST_P(MemoEditor, SplitterKeepsBothPanesAndResizeHalves)
{
    TRegIniFile(frRegRootKey).WriteInteger(QStringLiteral("Form\\TfrDesignerForm"), QStringLiteral("SplitterPos"), 5);
    Run(View.get(), [&](TfrMemoEditorForm* E) {
        E->SetClientSize(432, 450);
        EXPECT_GE(E->MemoPanel->height(), 20);   // a saved position too high
        E->SplitterMouseDown(0);
        E->SplitterMouseMove(1000);
        E->SplitterMouseUp();
        EXPECT_EQ(E->ScriptPanel->height(), 20);
        E->SplitterMouseDown(0);
        E->SplitterMouseMove(-100);
        EXPECT_EQ(E->ScriptPanel->height(), 120);
        EXPECT_EQ(E->SplitterPos(), E->Splitter->y());
        E->SetClientSize(432, 150);   // the script pane would leave less than 40
        EXPECT_EQ(E->ScriptPanel->height(), 75);
        E->CancelBtnClick();
    });
    EXPECT_EQ(TRegIniFile(frRegRootKey).ReadInteger(QStringLiteral("Form\\TfrDesignerForm"), QStringLiteral("SplitterPos"), 0),
              Editor->SplitterPos());
}

TEST_P(MemoEditor, FontsFromSettingsWithDefaultsForBadValues)
{
    const QString Section = QStringLiteral("Form\\TfrDesignerForm");
    auto* Memo = static_cast<TfrMemoView*>(View.get());
    Memo->Font()->SetName(QStringLiteral("Times"));
    const struct { const char* Use; const char* Size; const char* Family; int Pixels; } Rows[] = {
        {"1", "14", "Times", 13}, {"0", "12", "Arial", 16}, {"0", "abc", "Arial", 13}, {"0", "-3", "Arial", 13}};
    for (const auto& R : Rows) {
        TRegIniFile Ini(frRegRootKey);
        Ini.WriteString(Section, QStringLiteral("UseDefaultFont"), QString::fromLatin1(R.Use));
        Ini.WriteString(Section, QStringLiteral("TextFontSize"), QString::fromLatin1(R.Size));
        Ini.Flush();
        Run(View.get(), [&](TfrMemoEditorForm* E) {
            EXPECT_EQ(E->M1->font().families().value(0), QString::fromLatin1(R.Family)) << R.Size;
            EXPECT_EQ(E->M1->font().pixelSize(), R.Pixels) << R.Size;
            E->CancelBtnClick();
        });
    }
}

// Both windows with a selection in the text, a bookmark and a compile error;
// TB_IMAGES_DIR keeps the pictures.
TEST_P(MemoEditor, RenderingShowsTheError)
{
    View->Memo()->SetText(QStringLiteral("[Customer.\"Name\"]\r\n合计：[Total]"));
    View->Script()->SetText(QStringLiteral("{ 计算折扣 }\r\nbegin\r\n  if [Total] > 1000 then\r\n"
                                           "    Discount := 'VIP 客户';\r\n  (* 未完成的表达式 *)\r\n"
                                           "  x := (1 + ;\r\n") +
                            QStringLiteral("  Sum := Sum + [Amount]; // 累计\r\n").repeated(12) + QStringLiteral("end"));
    Run(View.get(), [&](TfrMemoEditorForm* E) {
        QTextCursor C = E->M1->textCursor();
        C.setPosition(1);
        C.setPosition(9, QTextCursor::KeepAnchor);
        E->M1->setTextCursor(C);
        auto* S = dynamic_cast<TfrSyntaxMemo*>(E->ScriptPane());
        if (S) {
            S->SetCaretPos(1, 3);
            Key(S, Qt::Key_1, Qt::ControlModifier | Qt::ShiftModifier);
        }
        E->OkBtnClick();
        const QImage I = RenderWidget(E);
        const QPoint At = E->ScriptPane()->mapTo(E, QPoint(0, 0));
        int Marked = 0;   // maroon status in the footer, or the error bar's text
        for (int y = At.y() + E->ScriptPane()->height() - 20; y < At.y() + E->ScriptPane()->height(); ++y)
            for (int x = At.x(); x < At.x() + 200; ++x)
                Marked += (I.pixel(x, y) & 0xFFFFFF) == (ColorToQColor(clMaroon).rgb() & 0xFFFFFF);
        if (S)
            EXPECT_GT(Marked, 20);
        else
            EXPECT_FALSE(static_cast<TfrEditorForm1*>(E)->ErrorPanel->isHidden());
        const QString Keep = QString::fromLocal8Bit(qgetenv("TB_IMAGES_DIR"));
        if (!Keep.isEmpty())
            RenderToPng(E, Keep + (S ? QStringLiteral("/memo-editor.png") : QStringLiteral("/memo-editor1.png")));
        E->CancelBtnClick();
    });
}

INSTANTIATE_TEST_SUITE_P(Kinds, MemoEditor, ::testing::Values(true, false),
                         [](const auto& Info) { return Info.param ? std::string("Syntax") : std::string("Plain"); });

class DesignerMemoEditor : public designertest::TDesignerTest
{};

TEST_F(DesignerMemoEditor, SettingPicksTheKindAndDoubleClickOpensTheEditor)
{
    QTemporaryDir Dir;
    TRegIniFile::SetStorageFolder(Dir.path());
    Open();
    EXPECT_NE(dynamic_cast<TfrEditorForm*>(Designer->MemoEditor), nullptr);
    Designer->SyntaxHighlight = false;
    Designer->CreateMemoEditor();
    EXPECT_NE(dynamic_cast<TfrEditorForm1*>(Designer->MemoEditor), nullptr);
    Designer->SyntaxHighlight = true;   // the editor follows when next opened
    Build(QStringLiteral("Memo1 10,10 96x20 sel"));
    TfrView* V = Page()->Objects(0);
    bool Tag = false;
    TModalHandlers Handlers(
        [&](TForm* Form) {
            auto* E = dynamic_cast<TfrEditorForm*>(Form);
            if (!E) {
                ADD_FAILURE() << "not the syntax memo's editor";
                return mrCancel;
            }
            Tag = E->EditTag->Enabled();
            E->M1->setPlainText(QStringLiteral("[Total]"));
            E->OkBtnClick();
            return mrNone;
        },
        nullptr);
    Designer->PageView->DblClick();   // through the view's editor and the memo hook
    EXPECT_TRUE(Tag);
    EXPECT_EQ(V->Memo()->Text(), QStringLiteral("[Total]\r\n"));
    EXPECT_EQ(Records(), QStringLiteral("2:Memo1"));
    Designer->UnselectAll();
    Page()->EditScript();   // a page's script is lent a view of no page: no tag to edit
    EXPECT_FALSE(Tag);
    TRegIniFile::SetStorageFolder(QString());
}

} // namespace
