// The report designer window: tool bars on docks, the page tabs with the
// design page in a scroll box, the status bar, and the designer's side of the
// engine's designer interface. Every change of the page's views goes through
// AddUndoAction before it is made (FR_Undo.cpp); the keys, the grid and the
// alignment palette are in FR_DesgnKeys.cpp.
#pragma once

#include "report/designer/FR_Undo.h"
#include "report/engine/FR_ClassDesigner.h"
#include "platform/gui/Controls.h"

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

    // Appends View to the page through the change path (an insert record).
    TfrView* InsertView(std::unique_ptr<TfrView> View);

    // ---- undo, redo and the designer clipboard (FR_Undo.cpp)
    // The one change path: records the selection (every view for z-order)
    // before it changes, or after an insertion.
    void AddUndoAction(TfrUndoAction Action);
    // Records exactly Pairs; Order, when given, is the page order before the change.
    void RecordChange(TfrUndoAction Action, std::vector<TfrUndoPair> Pairs,
                      const std::vector<int32_t>* Order = nullptr);
    void AddUndoRecord(TfrUndoBuffer& Buffer, TfrUndoAction Action, const std::vector<TfrUndoPair>& Pairs,
                       std::vector<int32_t> Order);
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
    bool DisableUndo = false;

    // ---- keyboard editing, grid and alignment (FR_DesgnKeys.cpp)
    void FormKeyDown(int& Key, TShiftState Shift);
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
    void SetColorGlyph(uint32_t Color, const QString& ButtonName, int Index);
    void SetShowGrid(bool Value);
    void SetGridAlign(bool Value);
    void GB3Click();
    void AlignClick(int Number);
    // The status bar's third panel.
    QString SelectionText() const;
    static uint16_t SetBits(uint16_t Word, bool On, uint16_t Mask);
    // Binds the edit, undo, grid and alignment commands to their buttons and menu items.
    void WireEditCommands();
    bool ToolbarBusy = false;

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
    TfrUndoBuffer FUndoBuffer;
    TfrUndoBuffer FRedoBuffer;
    void EnableNamed(const QString& Name, bool Enabled);
    void ApplyCombo(const QString& Name, const QString& Text);
    void ClickButton(const QString& Name, bool Toggle);
    std::vector<TfrTBButton*> FObjectButtons;
};
