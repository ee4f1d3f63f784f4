// The data grid's in-place editor. For the current column it chooses a kind,
// which fixes the button at its right edge and the pop-up the button opens
// (pick list, calendar, calculator, the column's lookup list),
// hosts the column's extra buttons and the MRU drop-down, completes typed and
// pasted text against the column's pick list or lookup dataset, and leaves
// every chosen value in the grid's pending edit text and key value: the
// grid writes the field from there, never the editor.
#pragma once

#include "grid/ToolCtrlsEh.h"
#include "platform/gui/Grids.h"

#include <QPointer>
#include <vector>

class TCustomDBGridEh;
class TColumnEh;
class TDataSource;
class TPopupCalculatorEh;
class TPopupDataGridEh;
class TDataSet;
class TShape;

enum TGridEditorKindEh { ekSimple, ekEllipsis, ekPickList, ekDataList, ekDateCalendar, ekUpDown, ekDropDown };

// The kind a column's cells edit with. For painting, a pick list gives way
// to a column's images and lookup keys need not be modifiable.
TGridEditorKindEh ColumnEditorKindEh(TColumnEh* Column, bool ForPainting);
// The buttons a column shows in every cell (AlwaysShowEditButton): the main
// button's kind (ekSimple: none), then each visible extra button, with the
// widths they take from the left of the strip; ButtonWidth is the grid's.
struct TCellButtonEh
{
    int Width = 0;
    TDrawButtonControlStyleEh Kind = bcsDropDownEh;
    const TEditButtonEh* Item = nullptr; // null for the main button
};
std::vector<TCellButtonEh> CellButtonsEh(TColumnEh* Column, int ButtonWidth, bool Flat);
int CellButtonsWidthEh(const std::vector<TCellButtonEh>& Buttons);
// Paints the strip at the cell's right (left when mirrored).
void PaintCellButtonsEh(TCanvas* Canvas, const QRect& Strip, const std::vector<TCellButtonEh>& Buttons,
                        int ButtonHeight, bool Flat, TColor Background);
// The dataset a lookup column picks from, or none.
TDataSet* ColumnLookupDataSetEh(TColumnEh* Column);

class TDBGridInplaceEdit : public TInplaceEdit, public TPopupOwnerEh
{
public:
    explicit TDBGridInplaceEdit(TCustomDBGridEh* AGrid);
    ~TDBGridInplaceEdit() override;

    TCustomDBGridEh* DBGrid() const { return FGrid; }
    TGridEditorKindEh EditorKind() const { return FKind; }
    // The pop-up the main button opens now (none for kinds without one).
    QWidget* ActivePopup() const { return FActivePopup; }
    bool ListVisible() const { return FListVisible; }
    TPopupListboxEh* PickList() const { return FPickList; }
    TPopupMonthCalendarEh* Calendar() const { return FCalendar; }
    TPopupCalculatorEh* Calculator() const { return FCalculator; }
    // The column's lookup list while the kind is ekDataList.
    TPopupDataGridEh* DataListGrid() const;
    TMRUListboxEh* MRUListbox() const { return FMRUListbox; }
    bool MRUDroppedDown() const;
    // Pair 0 is the main button, pair i the column's EditButtons[i - 1].
    int ButtonCount() const { return int(FButtons.size()); }
    TEditButtonControlEh* Buttons(int Index) const { return FButtons.at(size_t(Index)).Button; }
    int ButtonsWidth() const { return FButtonsWidth; }

    void UpdateContents() override;
    void DropDown();
    void CloseUp(bool Accept) override;
    void CloseMRU(bool Accept);

protected:
    // The calculator, made on first need; the current column's lookup list.
    virtual QWidget* CreateCalculator();
    virtual QWidget* DataList() const;
    virtual TEditButtonControlEh* CreateEditButton();
    virtual TMRUListboxEh* CreateMRUListbox();

    void keyPressEvent(QKeyEvent* Event) override;
    void keyReleaseEvent(QKeyEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    struct TButtonPair
    {
        TShape* Separator;
        TEditButtonControlEh* Button;
    };
    TColumnEh* Column() const;
    void SetEditorKind(TGridEditorKindEh Value);
    void LayoutButtons();
    bool GridEditable() const;
    void SetPendingText(const QString& Text);
    void SetPendingKey(const Variant& Key);
    // The text, cut to the limit at a whole character, with the selection
    // within it; the text the editor took.
    QString SetEditorText(const QString& Text, int SelStart, int SelLength);
    void FollowList();
    void RederivePending();
    void StepValue(double Amount);

    // Keys, in the order they are tried.
    bool PopupKey(int Key, TShiftState Shift, const QString& Text);
    bool MRUKey(int Key, TShiftState Shift);
    bool EditorKeyDown(int Key, TShiftState Shift);
    bool ListValueKey(int Key);
    bool CompleteTyped(const QString& Typed);
    bool Paste();
    bool MatchText(const QString& NewText, int Typed);

    // Buttons.
    void ButtonMouseDown(TEditButtonControlEh* Sender, TMouseButton Button, int X, int Y);
    void ButtonDown(TEditButtonControlEh* Sender, bool TopButton, bool& AutoRepeat, bool& Handled);
    void ButtonMouseMove(TEditButtonControlEh* Sender, TShiftState Shift, int X, int Y);
    void ButtonMouseUp(TEditButtonControlEh* Sender, TMouseButton Button, int X, int Y);
    void ButtonClick(TEditButtonControlEh* Sender);
    int ButtonIndex(const TEditButtonControlEh* Sender) const;

    // The MRU drop-down.
    void TextEdited();
    void RefreshMRU();
    void RememberMRUSize();
    QRect TextRectOnScreen() const;

    // The calculator and the lookup list (DBGridEhInplaceEditPopups.cpp):
    // set up before showing (False: nothing opens), taken on close-up, and
    // their keys while open.
    bool PrepareOwnPopup(QWidget* Popup, int& Width);
    void CloseOwnPopup(QWidget* Popup, bool Accept, TColumnEh* C);
    bool OwnPopupKey(int Key, TShiftState Shift, const QString& Text);

    bool InsidePopup(QWidget* W) const;
    void WatchPresses(bool On);

    TCustomDBGridEh* FGrid;
    TGridEditorKindEh FKind = ekSimple;
    std::vector<TButtonPair> FButtons;
    QPointer<QWidget> FActivePopup;
    TPopupListboxEh* FPickList = nullptr;
    TPopupMonthCalendarEh* FCalendar = nullptr;
    TMRUListboxEh* FMRUListbox = nullptr;
    TPopupCalculatorEh* FCalculator = nullptr;
    // The lookup list is the column's: borrowed, let go of when it goes.
    mutable QPointer<TPopupDataGridEh> FDataList;
    TDataSource* FLookupSource = nullptr;
    bool FSpecRowMoved = false;
    TMRUListEh* FMRUList = nullptr;
    QPointer<TEditButtonControlEh> FMenuButton;
    Variant FListValue;
    int FButtonsWidth = 0;
    bool FListVisible = false;
    bool FButtonDown = false;
    bool FTracking = false;
    bool FReadOnlyOverridden = false;
    bool FWatching = false;
};
