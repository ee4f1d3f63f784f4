// The report designer window: tool bars on docks, the page tabs with the
// design page in a scroll box, the status bar, and the designer's side of the
// engine's designer interface. Every change of the page's views goes through
// AddUndoAction before it is made (FR_DsgChange.cpp).
#pragma once

#include "report/engine/FR_ClassDesigner.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QScrollArea;
class QTabBar;
class TfrDesignerPage;
class TfrDock;
class TfrPage;
class TfrSpeedButton;
class TfrTBButton;
class TfrToolBar;
class TfrView;
class TForm;
class TCustomControl;
class TPopupMenu;

// Kinds of change record.
enum TfrUndoAction : uint8_t { acInsert = 0, acDelete = 1, acEdit = 2, acZOrder = 3 };

// One change record: its kind and the names of the views it covers.
struct TfrChangeRecord
{
    TfrUndoAction Kind = acEdit;
    QStringList Views;
};

// Last-used attributes that new objects take.
struct TfrLastUsed
{
    QString FontName;
    int FontSize = 10;
    uint16_t FontStyle = 0;
    uint32_t FontColor = 0;
    uint16_t Adjust = 0;
    uint16_t FrameTyp = 0;
    float FrameWidth = 1.0f;
    float LineWidth = 2.0f;
    uint32_t FrameColor = 0;
    uint32_t FillColor = 0x1FFFFFFF;
    uint16_t Charset = 1;
};
extern TfrLastUsed frLastUsed;
extern bool KeepTool;

// Unit start-up and shut-down: fills the engine's designer class; reference
// counted.
void frRegisterDesigner();
void frUnregisterDesigner();

class TfrDesignerForm : public TfrReportDesigner
{
public:
    explicit TfrDesignerForm(uint8_t AFlag);
    ~TfrDesignerForm() override;

    // The engine's operations.
    bool GetModified() override;
    void SetModified(bool Value) override;
    void BeforeChange() override;
    void AfterChange() override;
    void RedrawPage() override;
    void SelectObject(const QString& ObjName) override;
    QString InsertDBField() override;
    QString InsertExpression() override;

    // The one change path: records the change before it is made.
    void AddUndoAction(TfrUndoAction Kind);
    const std::vector<TfrChangeRecord>& ChangeLog() const { return FChangeLog; }
    void ClearChangeLog() { FChangeLog.clear(); }
    // Appends View to the page through the change path (an insert record).
    TfrView* InsertView(std::unique_ptr<TfrView> View);

    void SetCurPage(int Index);
    int CurPageIndex() const { return FCurPageIndex; }
    uint8_t CurPageType() const { return FCurPageType; }
    void SetFileName(const QString& Name);
    QString FileName() const { return FFileName; }
    void UnselectAll();
    void ResetSelection();
    void UpdatePageTabs();
    void Tab1Change(int Index);
    // Refreshes what depends on the selection (tool bars, status bar).
    void SelectionChanged();
    void UpdateStatus();
    // Shown in the status bar while dragging.
    void ShowPosition(const QString& Text);
    void ShowViewEditor(TfrView* View, bool MemoEditor);
    void ShowPopup(int X, int Y);
    void PageOptions();

    // Pressed object tool: -1 select, type code, 10 + add-in index.
    int ToolTag() const;
    void PressTool(int Tag);
    TfrTBButton* ToolButton(int Tag) const;
    // Whether the current page is the page of a subreport view.
    bool CurPageIsSubReport() const;

    // Settings.
    int GridSizeX = 4;
    int GridSizeY = 4;
    bool GridShow = true;
    bool GridAlign = true;
    bool EditAfterInsert = false;
    int Selection = 1;
    int PagePosition = 3;
    bool UnlimitedHeight = false;
    bool SyntaxHighlight = true;

    TfrDesignerPage* PageView = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QWidget* ScrollHost = nullptr;
    QTabBar* Tab1 = nullptr;
    TCustomControl* StatusBar1 = nullptr;
    TForm* DialogPageForm = nullptr;
    TfrDock* frDock1 = nullptr;
    TfrDock* frDock2 = nullptr;
    TfrDock* frDock3 = nullptr;
    TfrDock* frDock4 = nullptr;
    TfrToolBar* Panel1 = nullptr;
    TfrToolBar* Panel2 = nullptr;
    TfrToolBar* Panel3 = nullptr;
    TfrToolBar* Panel4 = nullptr;
    TfrToolBar* Panel5 = nullptr;
    TfrToolBar* Panel6 = nullptr;
    TPopupMenu* Popup1 = nullptr;
    TfrSpeedButton* ExitB = nullptr;
    TfrSpeedButton* FileBtn3 = nullptr;
    std::vector<TfrSpeedButton*> FlagButtons;   // enabled only with DesignerFlag

    // The memo editor: TfrEditorForm with SyntaxHighlight, else TfrEditorForm1.
    TfrObjEditorForm* MemoEditor = nullptr;
    // Makes the kind SyntaxHighlight asks for, replacing the other kind.
    void CreateMemoEditor();
    // Edits View (or the topmost selected view); repaints on OK.
    void ShowMemoEditor(TfrView* View);

    void FormCreate();
    void FormShow();
    void FormResize();
    void FormDestroy();

private:
    void BuildToolBars();
    void Localize();
    void FlipObjectButtons(bool DialogControls);
    void PaintStatusBar();

    std::function<void()> OnResizeLayout;
    int FCurPageIndex = 0;
    uint8_t FCurPageType = 0;
    QString FFileName;
    QString FTitleText;
    QString FStatusPos;
    bool FModified = false;
    bool FDestroying = false;
    bool FDialogButtons = false;
    std::vector<TfrChangeRecord> FChangeLog;
    std::vector<TfrTBButton*> FObjectButtons;
};
