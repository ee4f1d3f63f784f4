// TfrEditorForm1: the "Text editor" whose script pane is a plain edit box;
// the first script error shows in ErrorPanel under it.
#pragma once

#include "report/designer/FR_EditBase.h"

class QLabel;

class TfrEditorForm1 : public TfrMemoEditorForm
{
public:
    explicit TfrEditorForm1(TfrReportDesigner* ADesigner);

    QLabel* ErrorPanel;
    TMemo* ScriptEdit() const { return FEdit; }
    QWidget* ScriptPane() const override;

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
    void AfterResize() override;
    void PaneKey() override;

private:
    TMemo* FEdit;
};
