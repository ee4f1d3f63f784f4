// TfrEditorForm: the "Text editor" whose script pane is the syntax memo, with
// an "Object tag" button.
#pragma once

#include "report/designer/FR_EditBase.h"

class TfrSyntaxMemo;

class TfrEditorForm : public TfrMemoEditorForm
{
public:
    explicit TfrEditorForm(TfrReportDesigner* ADesigner);

    TfrSpeedButton* EditTag;
    TfrSyntaxMemo* ScriptMemo() const { return FMemo; }
    QWidget* ScriptPane() const override;

    void EditTagClick();

protected:
    QStringList ScriptLines() override;
    void SetScriptLines(const QStringList& Lines) override;
    bool ScriptReadOnly() const override;
    void SetScriptReadOnly(bool Value) override;
    void SetScriptFont(const QString& Name, int Size, int Charset) override;
    void ScriptInsert(const QString& Text) override;
    void ScriptCut() override;
    void ScriptCopy() override;
    void ScriptPaste() override;
    bool OnlyTemplate() override;
    void ClearScriptError() override;
    void ShowScriptError(int Line, int Col, const QString& Text) override;
    void AfterShowEditor() override;

private:
    TfrSyntaxMemo* FMemo;
};
