// What the two "Text editor" windows share: the text pane M1, the tool bar,
// the splitter and the script panel, ShowEditor and the OK check. The kind of
// script pane is the subclass's: the syntax memo (TfrEditorForm, FR_Edit) or a
// plain edit box with an error bar (TfrEditorForm1, FR_Edit1).
#pragma once

#include "report/engine/FR_ClassDesigner.h"

#include <QStringList>
#include <memory>

class QFrame;
class TCustomControl;
class TMemo;
class TfrReportDesigner;
class TfrSpeedButton;
class TfrView;

class TfrMemoEditorForm : public TfrObjEditorForm
{
public:
    // Owned by the designer window, which also answers the insert commands.
    explicit TfrMemoEditorForm(TfrReportDesigner* ADesigner);
    ~TfrMemoEditorForm() override;

    TModalResult ShowEditor(TfrView* View) override;

    QWidget* Panel1;
    QFrame* Bevel1;
    QWidget* MemoPanel;
    QFrame* Bevel2;
    QWidget* Panel2;
    TMemo* M1;
    TCustomControl* Splitter;
    QWidget* ScriptPanel;
    TfrSpeedButton* InsExprBtn;
    TfrSpeedButton* InsDBBtn;
    TfrSpeedButton* CutBtn;
    TfrSpeedButton* CopyBtn;
    TfrSpeedButton* PasteBtn;
    TfrSpeedButton* WordWrapBtn;
    TfrSpeedButton* ScriptBtn;
    TfrSpeedButton* OkBtn;
    TfrSpeedButton* CancelBtn;

    // The pane that last had the focus: M1 or the script pane.
    QWidget* ActivePane() const { return FActivePane; }
    virtual QWidget* ScriptPane() const = 0;
    TfrView* View() const { return FView; }
    int SplitterPos() const { return FSplitterPos; }
    bool ScriptShown() const { return FScriptShown; }

    void FormShow();
    void FormKeyPress(QChar& Key);
    void FormResize();
    void M1Enter(QWidget* Sender);
    void M1KeyDown(int& Key, TShiftState Shift);
    void InsExprBtnClick();
    void InsDBBtnClick();
    void CutBtnClick();
    void CopyBtnClick();
    void PasteBtnClick();
    void WordWrapBtnClick();
    void ScriptBtnClick();
    void SplitterMouseDown(int Y);
    void SplitterMouseMove(int Y);
    void SplitterMouseUp();
    void OkBtnClick();
    void CancelBtnClick();

protected:
    // Builds the components; the subclass then makes its script pane and
    // calls BindPane for it (which also places OK and Cancel).
    void FormCreate();
    void BindPane(QWidget* Pane);
    void Realign();
    void LoadFonts(TfrView* View);
    void LayoutPanes();
    // Places the splitter so that both panes keep their least height.
    void PlaceSplitter(int Pos);
    bool HasTextPane() const { return FHasTextPane; }
    // Inserts what the designer's dialog gives into the active pane.
    void InsertAsked(QString (TfrReportDesigner::*Ask)());

    // The script pane, per kind.
    virtual QStringList ScriptLines() = 0;
    virtual void SetScriptLines(const QStringList& Lines) = 0;
    virtual bool ScriptReadOnly() const = 0;
    virtual void SetScriptReadOnly(bool Value) = 0;
    virtual void SetScriptFont(const QString& Name, int Size, int Charset) = 0;
    virtual void ScriptInsert(const QString& Text) = 0;
    virtual void ScriptCut() = 0;
    virtual void ScriptCopy() = 0;
    virtual void ScriptPaste() = 0;
    // Whether the pane holds only the "begin ... end" template.
    virtual bool OnlyTemplate() = 0;
    virtual void ClearScriptError() = 0;
    virtual void ShowScriptError(int Line, int Col, const QString& Text) = 0;
    virtual void AfterResize() {}
    virtual void PaneKey() {}
    virtual void AfterShowEditor() {}

    TfrReportDesigner* FDesigner;
    TfrView* FView = nullptr;
    QWidget* FActivePane = nullptr;
    bool FDragging = false;
    int FDragStart = 0;
    bool FScriptShown = true;
    int FSplitterPos = 0;
    bool FHasTextPane = true;
    int FTextCharset = 1;
    int FLayoutX = 4;
    // A button of the tool bar at the next place (Gap: pixels before it).
    TfrSpeedButton* ToolButton(const QString& Name, int Id, int Glyph, int Gap = 0);
};

// The first error line of a compile, "Line n/m: message", read as whole
// numbers; false for any other text.
bool ParseScriptError(const QString& Error, int& Line, int& Col);
