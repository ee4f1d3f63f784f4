// The report designer window: tool bars on docks, the page tabs with the
// design page in a scroll box, the status bar, and the designer's side of the
// engine's designer interface. Every change of the page's views goes through
// AddUndoAction before it is made (FR_Undo.cpp); the keys, the grid and the
// alignment palette are in FR_DesgnKeys.cpp.
#pragma once

#include "report/designer/FR_Undo.h"
#include "report/engine/FR_ClassDesigner.h"
#include "platform/gui/Controls.h"

#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QAction;
class QMenu;
class TfrComboBox;
class TfrFontComboBox;
class QStyle;
class TCanvas;
class TFontDialog;
class TfrMemoView;
class TColorSelector;
class TMainMenu;
class TScrollBox;
class TStatusBar;
class TTabControl;
class TMenuItem;
class TOpenDialog;
class TSaveDialog;
class TfrDesignerPage;
class TfrDock;
class TfrInspForm;
class TfrPage;
class TfrSpeedButton;
class TfrTBButton;
class TfrToolBar;
class TfrView;
class TfrObject;
class Variant;
class TForm;
class TCustomControl;
class TPopupMenu;

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
// Set while the tool bars follow the selection: their click events do nothing.
extern bool ToolbarBusy;
// Set while the inspector must not be refilled (FR_DesgnInsp.cpp).
extern bool InspectorBusy;

// ---- Commands: pages and files, formatting, settings, menus (FR_DesgnFile.cpp,
//      FR_DesgnFormat.cpp, FR_DesgnSettings.cpp, FR_DesgnMenus.cpp)
// Folder of the wizard templates offered by New from template.
extern QString TemplateDir;
// Set by the last save or page-options command when it completed.
extern bool LastCommandOk;
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

    // Appends View to the page through the change path (an insert record).
    TfrView* InsertView(std::unique_ptr<TfrView> View);

    // ---- undo, redo and the designer clipboard (FR_Undo.cpp)
    // The one change path: records the selection (every view for z-order)
    // before it changes, or after an insertion.
    void AddUndoAction(TfrUndoAction Action);
    // Records the selection and the bands linking to it by name, before a rename.
    void RecordRename();
    // Records exactly Pairs; Order, when given, is the page order before the change.
    void RecordChange(TfrUndoAction Action, std::vector<TfrUndoPair> Pairs,
                      const std::vector<int32_t>* Order = nullptr);
    void AddUndoRecord(TfrUndoBuffer& Buffer, TfrUndoAction Action, const std::vector<TfrUndoPair>& Pairs,
                       std::vector<int32_t> Order);
    // Puts the views of the last undo record, an edit, back as it holds them
    // and forgets the record: for an edit that failed half way.
    void DropLastRecord();
    // Undo from the undo buffer, redo from the redo buffer.
    void ReplayUndo(TfrUndoBuffer& Buffer);
    void ClearUndoBuffer();
    void ClearRedoBuffer();
    TfrUndoBuffer& UndoBuffer() { return FUndoBuffer; }
    TfrUndoBuffer& RedoBuffer() { return FRedoBuffer; }
    void CopySelection();
    void PasteFromClipboard();
    bool CanPaste() const;
    void UndoBClick();
    void RedoBClick();
    void CutBClick();
    void CopyBClick();
    void PstBClick();
    void SelAllBClick();
    void N5Click();
    void ZB1Click();
    void ZB2Click();

    // ---- keyboard editing, grid and alignment (FR_DesgnKeys.cpp)
    void MoveOrResizeSelection(int DX, int DY, bool Resize);
    // The nearest view in the arrow's direction; Snap moves the selected view
    // against it instead of selecting it.
    void JumpToNearest(int DX, int DY, bool Snap);
    // Deletes the selected views; Record false when the caller recorded them.
    void DeleteSelection(bool Record = true);
    // Records a delete of the selection: what it removes and the bands linking to it.
    void RecordDeletion();
    void RenameChildBandLinks(const QString& OldName, const QString& NewName);
    void RefreshInspectorAndStatus();
    // Bits 1 band, 2 memo, 4 other view (one selected), 8 several, 16 clipboard filled.
    int SelectionKind() const;
    void SetColorGlyph(uint32_t Color, TfrSpeedButton* Button, int Index);
    void GB3Click();
    void AlignClick(int Number);
    // The status bar's third panel.
    QString SelectionText() const;
    static uint16_t SetBits(uint16_t Word, bool On, uint16_t Mask);
    // Binds the edit, undo, grid and alignment commands to their buttons and menu items.
    void WireEditCommands();

    void SetCurPage(int Index);
    // Lets go of the current page before the report's pages are freed or read
    // anew (a preview's preparation, a load, a new report): no selection, and
    // an inspector that shows nothing, until SetCurPage takes a page again.
    void ReleasePage();
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
    // The rectangle being drawn or dragged: in the status bar and the position box.
    void ShowPosition(const QRect& R);
    void ShowViewEditor(TfrView* View, bool MemoEditor);
    void ShowPopup(int X, int Y);

    // The editor of the band's type (FR_DesgnEditors.cpp): data source, cross
    // data sources, group condition; other types have none.
    void ShowBandEditor(TfrView* View);

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
    bool EditAfterInsert = true;
    int Selection = 1;
    int PagePosition = 5;
    bool UnlimitedHeight = false;
    bool SyntaxHighlight = true;

    TfrDesignerPage* PageView = nullptr;
    TScrollBox* ScrollBox1 = nullptr;
    QWidget* ScrollHost = nullptr;
    TTabControl* Tab1 = nullptr;
    TStatusBar* StatusBar1 = nullptr;
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
    std::vector<TfrSpeedButton*> FlagButtons;   // enabled only with DesignerFlag

    // The memo editor: TfrEditorForm with SyntaxHighlight, else TfrEditorForm1.
    TfrObjEditorForm* MemoEditor = nullptr;
    // Makes the kind SyntaxHighlight asks for, replacing the other kind.
    void CreateMemoEditor();
    // Edits View; repaints the page on OK.
    void ShowMemoEditor(TfrView* View);

    // ---- Object inspector and fields window (FR_DesgnInsp.cpp)
    TfrInspForm* InspForm = nullptr;
    // The listed properties' values common to the selection ("" where they differ).
    QStringList PropValues;
    double ToUnits(double Pixels) const;
    double FromUnits(double Value) const;
    // Made at the first show; bound to the selection and the change path.
    void CreateInspector();
    void FillInspector();
    // One refill for a burst of nudges (a held arrow key), when the event
    // loop next runs; a direct refill before then takes its place.
    void FillInspectorLater();
    void ApplyProperty(int Index);
    void ShowFieldsWindow(bool Visible);
    // Stacks the inspector and the fields window in one column over the work area.
    void ArrangeToolWindows();
    void SaveInspectorSettings();
    // A name a view may take: an identifier no object of the report has.
    bool IsValidNewName(const QString& Name) const;

    // ---- window layout: every control by its name. Commands of other units
    // bind their handlers to these; unbound ones do nothing yet.
    // Standard bar.
    TfrTBButton *FileBtn1 = nullptr, *FileBtn2 = nullptr, *FileBtn3 = nullptr, *FileBtn4 = nullptr;
    TfrTBButton *CutB = nullptr, *CopyB = nullptr, *PstB = nullptr;
    TfrTBButton *UndoB = nullptr, *RedoB = nullptr, *ZB1 = nullptr, *ZB2 = nullptr, *SelAllB = nullptr;
    TfrTBButton *PgB1 = nullptr, *PgB2 = nullptr, *PgB3 = nullptr, *PgB4 = nullptr;
    TfrTBButton *GB1 = nullptr, *GB2 = nullptr, *GB3 = nullptr, *ExitB = nullptr, *HelpBtn = nullptr;
    // Text bar.
    TfrTBButton *AlB1 = nullptr, *AlB2 = nullptr, *AlB3 = nullptr, *AlB4 = nullptr, *AlB5 = nullptr,
                *AlB6 = nullptr, *AlB7 = nullptr, *AlB8 = nullptr;
    TfrTBButton *FnB1 = nullptr, *FnB2 = nullptr, *FnB3 = nullptr, *ClB2 = nullptr, *HlB1 = nullptr;
    TfrComboBox* C3 = nullptr;       // font size
    TfrFontComboBox* C2 = nullptr;   // font name
    // Rectangle bar.
    TfrTBButton *FrB1 = nullptr, *FrB2 = nullptr, *FrB3 = nullptr, *FrB4 = nullptr, *FrB5 = nullptr,
                *FrB6 = nullptr, *ClB1 = nullptr, *ClB3 = nullptr, *StB1 = nullptr;
    TfrComboBox* C4 = nullptr;   // frame width
    // Objects and alignment bars.
    TfrTBButton *OB1 = nullptr, *OB2 = nullptr, *OB3 = nullptr, *OB4 = nullptr, *OB5 = nullptr, *OB6 = nullptr;
    TfrTBButton *Align1 = nullptr, *Align2 = nullptr, *Align3 = nullptr, *Align4 = nullptr, *Align5 = nullptr,
                *Align6 = nullptr, *Align7 = nullptr, *Align8 = nullptr, *Align9 = nullptr, *Align10 = nullptr;
    // Line styles (tags 25-30), shown under StB1.
    TCustomControl* LinePanel = nullptr;
    TfrSpeedButton* LineStyleButtons[6] = {};
    // Position box drawn over the status bar.
    TCustomControl* Panel7 = nullptr;
    TCustomControl* PBox1 = nullptr;
    // Main menu.
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem *FileMenu = nullptr, *N23 = nullptr, *N19 = nullptr, *N20 = nullptr, *N17 = nullptr, *N42 = nullptr,
              *N8 = nullptr, *N25 = nullptr, *N39 = nullptr, *N10 = nullptr;
    TMenuItem *EditMenu = nullptr, *N46 = nullptr, *N48 = nullptr, *N11 = nullptr, *N12 = nullptr, *N13 = nullptr,
              *N27 = nullptr, *N28 = nullptr, *N36 = nullptr, *N29 = nullptr, *N30 = nullptr, *N15 = nullptr,
              *N32 = nullptr, *N33 = nullptr;
    TMenuItem *ToolMenu = nullptr, *N37 = nullptr, *MastMenu = nullptr, *N14 = nullptr, *N22 = nullptr,
              *N35 = nullptr, *N34 = nullptr;
    TMenuItem *Pan1 = nullptr, *Pan2 = nullptr, *Pan3 = nullptr, *Pan4 = nullptr, *Pan5 = nullptr, *Pan6 = nullptr,
              *Pan7 = nullptr, *Pan8 = nullptr;
    // Object context menu; the selected view appends its own items after these.
    TMenuItem *N2 = nullptr, *N1 = nullptr, *N3 = nullptr, *N5 = nullptr, *N16 = nullptr, *N6 = nullptr;
    // Page-tab context menu: forwards to N29, N30, N25 and N15.
    TPopupMenu* Popup2 = nullptr;
    TMenuItem *N41 = nullptr, *N43 = nullptr, *N44 = nullptr, *N45 = nullptr;
    // "Insert DB fields" under MastMenu (designing only); its Panel6 button clicks it.
    TMenuItem* InsFieldsItem = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;

    // Enabled of a menu item or of any other control.
    static void EnableControl(QObject* Control, bool Enabled);
    void SelectAll();
    // Tool bars menu: check marks on opening, Pan*Click toggling by Tag.
    void N37Click();
    void Pan2Click(TMenuItem* Item);
    // 0 pixels, 1 millimetres, 2 inches; a double click on the status bar's
    // first panel steps it.
    int Units = 0;
    // Keys of the floating form of a dialog page: Ctrl+C/X/V as Ctrl+Insert,
    // Shift+Delete, Shift+Insert, Ctrl+A selects all; then FormKeyDown.
    void DialogPageKeyDown(int& Key, TShiftState Shift);
    void FormKeyDown(int& Key, TShiftState Shift);
    // Points the engine's ten editor hooks and its display-format hook at
    // the handlers below.
    void InstallEditorHooks();
    void MemoEditorHook();
    void PictureEditorHook();
    void TagEditorHook();
    void RestrictionsEditorHook();
    void HighlightEditorHook();
    void FieldEditorHook();
    void BandEditorHook();
    void VBandEditorHook();
    void GroupEditorHook();
    void FontEditorHook();
    // The display format of the topmost selected memo, set on every selected
    // memo that may be modified.
    void DisplayFormatEditorHook();

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
    void Popup1Popup();
    // "Insert DB fields": memos for the chosen fields of a dataset, with bands.
    void InsertFieldsClick();
    // Settings and units.
    void LoadDesignerSettings();
    void SaveDesignerSettings();
    void SetGridSize(int Value);
    void SetShowGrid(bool Value);
    void SetGridAlign(bool Value);
    void SetUnits(int Value);
    void SetGrayButtons(bool Value);
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

    bool GrayButtons = false;
    bool DisableUndo = false;
    bool InspectorRefillPending = false;
    bool HelpMode = false;
    // The colour last chosen in the colour selector, taken by the colour buttons.
    uint32_t ChosenColor = 0x1FFFFFFF;
    TColorSelector* ColorSelector = nullptr;
    // The colour button whose choice the selector is showing.
    TfrSpeedButton* ColorButton = nullptr;
    void ClB1Click(TfrSpeedButton* Button);
    // Paints Color into the colour bar along the bottom of Button's glyph.
    void SetColorGlyph(TfrSpeedButton* Button, uint32_t Color);
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
    void BuildFormatBars();
    void BuildObjectBars();
    void BuildMenus();
    void BuildPopupMenus();
    void BuildLinePanel();
    void AddExtraTools();
    void Localize();
    void FlipObjectButtons(bool DialogControls);
    // ---- Commands' private parts
    void BuildCommands();
    void BuildFormatting();
    void BuildMenuStyle();
    QString PageTabName(int Index) const;
    bool SaveBeforeLeaving();
    bool LoadKeepingReport(const QString& Name, const std::function<bool()>& Load);
    // The inspector's edit of a page or of the selected views: false when it
    // ended without a change; EConvertError when the value is refused.
    bool ApplyPageProperty(const QString& Name, const QString& Text, const Variant& Value);
    bool ApplyViewProperty(const std::vector<TfrObject*>& Objects, const QString& Name, const QString& Text,
                           bool Size, const Variant& Value);
    bool SaveReportAs(int FilterIndex, const QString& Name);
    std::vector<std::pair<QPointer<QObject>, TfrSpeedButton*>> FMenuButtons;
    QStyle* FMenuStyle = nullptr;
    // ---- end
    // Our own drawings on the tool bars' buttons (FR_DesgnGlyphs.cpp).
    void DrawToolGlyphs();

    std::function<void()> OnResizeLayout;
    int FCurPageIndex = 0;
    uint8_t FCurPageType = 0;
    QString FFileName;
    // Save asks for a name although the report has one: it was opened without
    // some of its views, or last saved in the XML form, which the designer
    // cannot open; a plain Save would lose what the file holds.
    bool FAskNameOnSave = false;
    QString FTitleText;
    bool FModified = false;
    bool FFirstShow = true;
    int FStatusDownX = -1;
    bool FDestroying = false;
    bool FDialogButtons = false;
    TfrUndoBuffer FUndoBuffer;
    TfrUndoBuffer FRedoBuffer;
    void ApplyCombo(QComboBox* Combo, const QString& Text);
    void ClickButton(TfrSpeedButton* Button, bool Toggle);
    std::vector<TfrTBButton*> FObjectButtons;
};
