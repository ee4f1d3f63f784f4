// The report designer window: tool bars on docks, the page tabs with the
// design page in a scroll box, the status bar, and the designer's side of the
// engine's designer interface. Every change of the page's views goes through
// AddUndoAction before it is made (FR_DsgChange.cpp).
#pragma once

#include "report/engine/FR_ClassDesigner.h"

#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QScrollArea;
class QStyle;
class TCanvas;
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
class TOpenDialog;
class TSaveDialog;
class TFontDialog;
class TfrMemoView;

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

// ---- Commands: pages and files, formatting, settings, menus (FR_DesgnFile.cpp,
//      FR_DesgnFormat.cpp, FR_DesgnSettings.cpp, FR_DesgnMenus.cpp)
// Folder of the wizard templates offered by New from template.
extern QString TemplateDir;
// Set by the last save or page-options command when it completed.
extern bool LastCommandOk;
// Set while the inspector must not follow the page (a preview runs).
extern bool InspectorBusy;
// Set while the tool bars follow the selection: their clicks are ignored.
extern bool ToolbarBusy;
// Whether the inspector shows localised property names.
extern bool frLocalizedPropNames;
// Asks for help by context; Linux has no help file, so by default the hint
// of the control the user pointed at is shown as a "what's this" text.
extern std::function<void(int Context, QWidget* Control)> frHelpContext;
// ---- end of commands

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

    // ---- Commands (FR_DesgnFile.cpp, FR_DesgnFormat.cpp, FR_DesgnSettings.cpp, FR_DesgnMenus.cpp)
    // Pages.
    void PgB1Click();
    void PgB4Click();
    void PgB2Click();
    void PgB3Click();
    // Moves page From to the place of page To, subreports keeping their pages.
    void MovePage(int From, int To);
    void Tab1DragDrop(int X, int Y);
    // Files.
    void FileBtn1Click();
    void N23Click();
    void FileBtn2Click();
    void FileBtn3Click();
    void N20Click();
    void FileBtn4Click();
    bool FormCloseQuery();
    // Yes, No or Cancel to "Save changes to ...?".
    int AskSave();
    // Formatting.
    void DoClick(QObject* Sender);
    void HlB1Click();
    void N6Click();
    void FontEditor();
    void RestrictionsEditor();
    void InstallEditorHooks();
    void Popup1Popup();
    // Settings and units.
    void LoadDesignerSettings();
    void SaveDesignerSettings();
    void SetGridSize(int Value);
    void SetShowGrid(bool Value);
    void SetGridAlign(bool Value);
    void SetUnits(int Value);
    void SetGrayButtons(bool Value);
    double ToUnits(int Pixels) const;
    int FromUnits(double Value) const;
    void N14Click();
    void N8Click();
    void N42Click();
    void N34Click();
    // Menus, position box and help.
    void InitOwnerDrawMenus();
    // Item: a menu's QAction or a TMenuItem of a pop-up menu.
    void SetMenuItemButton(QObject* Item, TfrSpeedButton* Button);
    // Draws Menu and its sub-menus with the designer's menu style.
    void MakeOwnerDrawn(QMenu* Menu);
    TfrSpeedButton* MenuItemButton(const QAction* Item) const;
    // Position, size and scale texts of the position box; empty without a sole view.
    QStringList PositionTexts() const;
    void PBox1Paint(TCanvas* Canvas, const QRect& Area);
    void HelpBtnClick();
    // The help context of Control: Tag + 430 in Panel4 (tags above 4 as 5),
    // else Tag + 400; -1 for the help button itself.
    int HelpContextOf(QWidget* Control) const;
    void HelpToolClick(QWidget* Control);
    TfrSpeedButton* SpeedButton(const QString& Name) const;

    int Units = 0;              // 0 pixels, 1 millimetres, 2 inches
    bool GrayButtons = false;
    bool DisableUndo = false;
    bool SyntaxHighlight = true;
    int InspSplitPos = 75;
    bool InspVisible = true;
    bool FieldsVisible = true;
    bool HelpMode = false;
    // The colour last chosen in the colour selector, taken by the colour buttons.
    uint32_t ChosenColor = 0x1FFFFFFF;
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TFontDialog* FontDialog1 = nullptr;
    // What the position box shows while a rectangle is drawn or dragged.
    QRect PBoxRect;
    bool PBoxRectShown = false;
    // ---- end of commands

    void FormCreate();
    void FormShow();
    void FormResize();
    void FormDestroy();

private:
    void BuildToolBars();
    void Localize();
    void FlipObjectButtons(bool DialogControls);
    void PaintStatusBar();
    // ---- Commands' private parts
    void BuildCommands();
    void BuildFormatting();
    void BuildMenus();
    QString PageTabName(int Index) const;
    bool SaveBeforeLeaving();
    bool LoadKeepingReport(const QString& Name, const std::function<bool()>& Load);
    bool SaveReportAs(int FilterIndex, const QString& Name);
    std::vector<std::pair<QPointer<QObject>, TfrSpeedButton*>> FMenuButtons;
    QStyle* FMenuStyle = nullptr;
    // ---- end

    std::function<void()> OnResizeLayout;
    int FCurPageIndex = 0;
    uint8_t FCurPageType = 0;
    QString FFileName;
    QString FTitleText;
    QString FStatusPos;
    bool FModified = false;
    bool FDestroying = false;
    bool FDialogButtons = false;
    bool FFirstShow = true;
    std::vector<TfrChangeRecord> FChangeLog;
    std::vector<TfrTBButton*> FObjectButtons;
};
