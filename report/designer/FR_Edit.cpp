#include "report/designer/FR_Edit.h"

#include "report/designer/fr_synmemo.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Dock.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_View.h"

TfrEditorForm::TfrEditorForm(TfrReportDesigner* ADesigner) : TfrMemoEditorForm(ADesigner)
{
    FormCreate();
    EditTag = ToolButton(QStringLiteral("EditTag"), 53740, 7);
    EditTag->OnClick = [this](QObject*) { EditTagClick(); };
    FMemo = new TfrSyntaxMemo(ScriptPanel);
    FMemo->setObjectName(QStringLiteral("ScriptMemo"));
    SetControlAlign(FMemo, alClient);
    FMemo->Font()->SetName(QStringLiteral("Courier New"));
    FMemo->Font()->SetSize(10);
    FMemo->SetSyntaxType(stPascal);
    BindPane(FMemo);
}

QWidget* TfrEditorForm::ScriptPane() const
{
    return FMemo;
}

QStringList TfrEditorForm::ScriptLines()
{
    return FMemo->Lines()->ToStringList();
}

void TfrEditorForm::SetScriptLines(const QStringList& Lines)
{
    FMemo->SetLines(TStringList(Lines));
}

bool TfrEditorForm::ScriptReadOnly() const
{
    return FMemo->ReadOnly();
}

void TfrEditorForm::SetScriptReadOnly(bool Value)
{
    FMemo->SetReadOnly(Value);
}

void TfrEditorForm::SetScriptFont(const QString& Name, int Size, int Charset)
{
    FMemo->Font()->SetName(Name);
    FMemo->Font()->SetSize(Size);
    FMemo->Font()->SetCharset(Charset);
}

void TfrEditorForm::ScriptInsert(const QString& Text)
{
    FMemo->InsertText(Text);
}

void TfrEditorForm::ScriptCut()
{
    FMemo->CutToClipboard();
}

void TfrEditorForm::ScriptCopy()
{
    FMemo->CopyToClipboard();
}

void TfrEditorForm::ScriptPaste()
{
    FMemo->PasteFromClipboard();
}

bool TfrEditorForm::OnlyTemplate()
{
    QString Bare;
    for (const QString& L : ScriptLines())
        for (QChar C : L)
            if (C.unicode() >= 33)
                Bare += C;
    return Bare.isEmpty() || Bare.compare(QStringLiteral("beginend"), Qt::CaseInsensitive) == 0;
}

void TfrEditorForm::ClearScriptError()
{
    FMemo->SetStatusText(QString());
}

void TfrEditorForm::ShowScriptError(int Line, int Col, const QString& Text)
{
    SetActiveControl(FMemo);
    FMemo->SetFocus();
    FMemo->SetCaretPos(Col, Line);
    FMemo->SetStatusText(Text);
}

// The tag editor works on the view in the editor; a page's script is lent a
// view that belongs to no page, and has no tag to edit.
void TfrEditorForm::AfterShowEditor()
{
    bool OnPage = false;
    for (int p = 0; CurReport && p < CurReport->Pages()->Count() && !OnPage; ++p) {
        TfrPage* Pg = CurReport->Pages()->Pages(p);
        for (int i = 0; i < Pg->Count() && !OnPage; ++i)
            OnPage = Pg->Objects(i) == FView;
    }
    EditTag->SetEnabled(OnPage);
}

void TfrEditorForm::EditTagClick()
{
    if (!FView || !frTagEditor)
        return;
    TfrView* Saved = CurView;
    CurView = FView;
    frTagEditor();
    CurView = Saved;
}
