// The small controls shared by the grid's in-place editor, the data-aware
// edits and the lookup grid: edit buttons (the model and the control that
// shows one), the button painter with its bitmap cache, the size grip of
// resizable pop-ups, the pop-up list box and month calendar, the placement
// of a pop-up under a rectangle, the special row of drop-down lists, the MRU
// list, and a few value and field-list helpers.
//
// Pop-ups are top-level windows that never take the focus: their owner keeps
// it and hands them the keys, and closes them through TPopupOwnerEh.
#pragma once

#include "platform/db/DBTypes.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Variants.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TDataSet;
class TField;
class TImageList;
class TPopupMenu;
class TScrollBar;
class TStringList;
class TStrings;
class TTimer;

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// ---------------------------------------------------------------- short cuts

// A key with its modifiers in the classic encoding: the virtual key in the
// low byte, scShift, scCtrl and scAlt above it.
using TShortCut = uint16_t;
enum : TShortCut { scNone = 0, scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };
TShortCut ShortCut(int Key, TShiftState Shift);

// ---------------------------------------------------------------- edit buttons

enum TEditButtonStyleEh { ebsDropDownEh, ebsEllipsisEh, ebsGlyphEh, ebsUpDownEh, ebsPlusEh, ebsMinusEh };

using TButtonClickEventEh = std::function<void(QObject* Sender, bool& Handled)>;
using TButtonDownEventEh = std::function<void(QObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled)>;

class TEditButtonsEh;
class TEditButtonControlEh;

// One button of an edit or a column beside the main one.
class TEditButtonEh
{
public:
    // An item of Collection (may be null), or a stand-alone button of an edit.
    explicit TEditButtonEh(TEditButtonsEh* ACollection = nullptr, QWidget* AEditControl = nullptr);
    virtual ~TEditButtonEh();
    TEditButtonEh(const TEditButtonEh&) = delete;
    TEditButtonEh& operator=(const TEditButtonEh&) = delete;

    TEditButtonsEh* Collection() const { return FCollection; }
    TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(TPopupMenu* Value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(const TBitmap& Value);
    QString Hint() const { return FHint; }
    void SetHint(const QString& Value);
    // Images side by side in Glyph (up, disabled, down, ...); kept in 1..4.
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    TEditButtonStyleEh Style() const { return FStyle; }
    void SetStyle(TEditButtonStyleEh Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // 0: the editor's automatic width.
    int Width() const { return FWidth; }
    void SetWidth(int Value);

    void Assign(const TEditButtonEh& Source);
    // The control that shows this button: 10 x 17, visible, parented to the edit.
    virtual TEditButtonControlEh* CreateEditButtonControl();

    TButtonClickEventEh OnClick;
    TButtonDownEventEh OnDown;
    // Replaces the collection's change notification when set.
    std::function<void(TEditButtonEh* Sender)> OnChange;

protected:
    void Changed();

private:
    template <class T> void SetValue(T& Field, const T& Value);

    TEditButtonsEh* FCollection;
    QPointer<QWidget> FEditControl;
    TPopupMenu* FDropdownMenu = nullptr;
    std::unique_ptr<TBitmap> FGlyph;
    QString FHint;
    int FNumGlyphs = 1;
    TShortCut FShortCut = 0;
    TEditButtonStyleEh FStyle = ebsDropDownEh;
    bool FVisible = false;
    int FWidth = 0;
};

class TDropDownEditButtonEh : public TEditButtonEh
{
public:
    explicit TDropDownEditButtonEh(TEditButtonsEh* ACollection = nullptr, QWidget* AEditControl = nullptr);
};

// The item class of the EditButtons of columns and edits: shown by default.
class TVisibleEditButtonEh : public TEditButtonEh
{
public:
    explicit TVisibleEditButtonEh(TEditButtonsEh* ACollection = nullptr, QWidget* AEditControl = nullptr);
};

class TEditButtonsEh
{
public:
    using TItemFactory = std::function<std::unique_ptr<TEditButtonEh>(TEditButtonsEh*)>;
    // Owner: the column or edit holding the buttons; Factory makes items of
    // the collection's one class (TVisibleEditButtonEh when empty).
    explicit TEditButtonsEh(void* AOwner, TItemFactory Factory = nullptr);
    virtual ~TEditButtonsEh();
    TEditButtonsEh(const TEditButtonsEh&) = delete;
    TEditButtonsEh& operator=(const TEditButtonsEh&) = delete;

    void* Owner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    TEditButtonEh* Items(int Index) const; // raises EListError out of range
    TEditButtonEh* Add();
    void Delete(int Index);
    void Clear();
    void Assign(const TEditButtonsEh& Source);
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    // An item changed (nullptr: the collection).
    void Update(TEditButtonEh* Item);

    // Fired after every update of the collection.
    std::function<void(TEditButtonsEh* Sender)> OnChanged;

private:
    void* FOwner;
    TItemFactory FFactory;
    std::vector<std::unique_ptr<TEditButtonEh>> FItems;
    int FUpdateCount = 0;
    bool FChanged = false;
};

// ---------------------------------------------------------------- button painter

// What the painter draws: each edit-button style but the glyph one maps to one.
enum TDrawButtonControlStyleEh { bcsDropDownEh, bcsEllipsisEh, bcsUpDownEh, bcsCheckboxEh, bcsPlusEh, bcsMinusEh };
TDrawButtonControlStyleEh EditButtonDrawStyleEh(TEditButtonStyleEh Style);

// Paints a button of Kind into R. PressedPart: 0 none, 1 the button (the
// upper half of an up-down), 2 the lower half. Each distinct image is drawn
// once into the process's bitmap cache and copied afterwards.
void PaintButtonControlEh(TCanvas* Canvas, const QRect& R, TColor ParentColor, TDrawButtonControlStyleEh Kind,
                          int PressedPart, bool Flat, bool Active, bool Enabled, TCheckBoxState State);
void PaintCheckBoxEh(TCanvas* Canvas, const QRect& R, TCheckBoxState State, bool Enabled, bool Flat, bool Active,
                     bool Pressed, TColor ParentColor);

// The bitmaps of drawn buttons, by a 15-byte key of size, kind and state.
class TButtonsBitmapCache
{
public:
    struct TKey
    {
        int Width = 0;
        int Height = 0;
        uint8_t Kind = 0;
        bool Flat = false;
        uint8_t Pressed = 0;
        bool Active = false;
        bool Enabled = true;
        bool LowerArrow = false;
        uint8_t CheckState = 0;
        std::array<uint8_t, 15> Bytes() const;
    };
    // The bitmap of Key, made (empty, of the key's size) on a miss; Created
    // tells the caller to draw it.
    TBitmap* Get(const TKey& Key, bool& Created);
    void Clear() { FItems.clear(); }
    int Count() const { return int(FItems.size()); }

private:
    std::vector<std::pair<std::array<uint8_t, 15>, std::unique_ptr<TBitmap>>> FItems;
};
TButtonsBitmapCache& ButtonsBitmapCache();
// Empties the cache (the system's colours changed).
void ClearButtonsBitmapCache();

// Width of a flat in-cell or in-edit button: two thirds of the system font's
// height, odd, never wider than a scroll bar.
int FlatButtonWidthEh();
// One glyph of the system check-box bitmap.
QSize DefaultCheckBoxSizeEh();
// Whether two clicks Elapsed milliseconds apart at the points make a double click.
bool IsDoubleClickEh(int Elapsed, QPoint First, QPoint Second);

// ---------------------------------------------------------------- button control

// The control showing an edit button: drawn by the painter (glyph buttons
// by their Glyph); an up-down button has two halves, each pressed on its own,
// and repeats OnDown while held (400 ms, then every 100 ms).
class TEditButtonControlEh : public TSpeedButton
{
public:
    explicit TEditButtonControlEh(QWidget* AParent = nullptr);
    ~TEditButtonControlEh() override;

    TEditButtonStyleEh Style() const { return FStyle; }
    void SetStyle(TEditButtonStyleEh Value);
    // Flat buttons draw their edge only while active.
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value) { FNumGlyphs = std::clamp(Value, 1, 4); update(); }
    // Held down by its owner (a pop-up is open): cannot be released by a click.
    void SetAlwaysDown(bool Value);
    bool AlwaysDown() const { return FAlwaysDown; }
    // 0 none, 1 the button or the upper half, 2 the lower half.
    int PressedPart() const { return FPressedPart; }
    bool IsDown() const { return isDown() || FAlwaysDown; }
    // The repeat timer, made on the first repeat (tests fire it).
    TTimer* RepeatTimer() const { return FTimer.get(); }
    // Lets the button up without a click (a press moved into a pop-up).
    void CancelPress();

    TButtonDownEventEh OnDown;
    // Mouse events for the owning edit, in the button's coordinates.
    std::function<void(TEditButtonControlEh* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>
        OnMouseDown, OnMouseUp;
    std::function<void(TEditButtonControlEh* Sender, TShiftState Shift, int X, int Y)> OnMouseMove;

protected:
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    void UpdatePressedPart(int Y);
    void RepeatTick();

    TEditButtonStyleEh FStyle = ebsDropDownEh;
    std::unique_ptr<TTimer> FTimer;
    int FPressedPart = 0;
    int FNumGlyphs = 1;
    bool FActive = false;
    bool FAlwaysDown = false;
    bool FSuppressClick = false;
    bool FRepeating = false;
};

class TSpeedButtonEh : public TEditButtonControlEh
{
public:
    using TEditButtonControlEh::TEditButtonControlEh;
};

// ---------------------------------------------------------------- pop-ups

// What a pop-up asks of the control that opened it.
class TPopupOwnerEh
{
public:
    virtual ~TPopupOwnerEh() = default;
    virtual void CloseUp(bool Accept) = 0;
};

class TCustomDBEditEh;

// The control an edit lives inside (the grid, for its filter-row editor):
// it may refuse editing and may take the Tab key for itself.
class IInplaceEditHolderEh
{
public:
    virtual bool InplaceEditCanModify(const TCustomDBEditEh* Edit) const = 0;
    virtual bool InplaceEditWantTabs(const TCustomDBEditEh* Edit) const = 0;

protected:
    ~IInplaceEditHolderEh() = default;
};

// Makes W a frameless top-level window that is shown without activation and
// never takes the focus.
void MakePopupWindowEh(QWidget* W);

// Runs the line edit's standard context menu with its paste entry calling
// Paste, so that a paste from the menu follows the editor's own rules.
void ExecEditContextMenuEh(QLineEdit* Edit, QPoint GlobalPos, const std::function<void()>& Paste);

// Where a pop-up of Size opens under (or above) Anchor, both in screen
// coordinates, inside WorkArea: below unless it fits only above, or fits
// neither and has more room above; shortened to the room there and narrowed
// to the work area. VertSide is the grip side code 3 (below) or 2 (above),
// HorzSide 0 (pushed left / right-aligned) or 1.
struct TDropDownPlacementEh
{
    QRect Bounds;
    int VertSide = 3;
    int HorzSide = 1;
};
TDropDownPlacementEh PlaceDropDownEh(const QRect& Anchor, QSize Size, TAlignment Alignment, const QRect& WorkArea);

// The triangle in a corner of a pop-up that resizes it.
class TSizeGripEh : public TCustomControl
{
public:
    explicit TSizeGripEh(QWidget* AParent);
    // 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left.
    int Corner() const { return FCorner; }
    void SetCorner(int Value);
    bool Triangle() const { return FTriangle; }
    void SetTriangle(bool Value);
    // Moves the grip away from the side the pop-up opened against: 0 moves a
    // right grip left, 1 a left grip right, 2 a bottom grip up, 3 a top grip down.
    void ChangeSide(int SideCode);
    // Into its corner of the parent's client area.
    void UpdatePosition();

    std::function<void(TSizeGripEh* Sender)> OnParentResized;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void showEvent(QShowEvent* Event) override;

private:
    void UpdateShape();

    QPoint FDownPos;
    QRect FDownGeometry;
    QSize FDownClient;
    int FCorner = 2;
    bool FTriangle = true;
    bool FDragging = false;
    bool FRepositioning = false;
};

// A drop-down list: fixed-height owner-drawn items with optional images, the
// item under the pointer selected, type-ahead, and rows snapped to whole items.
class TPopupListboxEh : public TCustomControl
{
public:
    explicit TPopupListboxEh(QWidget* AOwner = nullptr);
    ~TPopupListboxEh() override;

    TStringList* Items() const { return FItems.get(); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int Value);
    int ItemHeight() const;
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* Value);
    // Rows shown: sets the height to whole items plus the border.
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    int BorderWidth() const { return 2; }
    TSizeGripEh* SizeGrip() const { return FGrip; }
    // The user resized the list with its grip since the flag was cleared.
    bool Resized() const { return FResized; }
    void SetResized(bool Value) { FResized = Value; }
    // Widest item text (plus its image).
    int WidestItemWidth();
    int ItemAt(QPoint P) const; // -1 outside the items
    // Keys handed over by the owner; True when used.
    virtual bool HandleKey(int Key, TShiftState Shift);
    // A character typed while the list is open: the type-ahead.
    bool HandleChar(QChar Char);
    // The clock of the type-ahead (milliseconds); replaced in tests.
    std::function<uint32_t()> Clock;

    std::function<void(TPopupListboxEh* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)> OnMouseUp;

protected:
    void Paint() override;
    void Resize() override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool MouseWheel(TShiftState Shift, int WheelDelta, int X, int Y) override;
    void resizeEvent(QResizeEvent* Event) override;
    // The scroll bar's place; the MRU list stands it beside the grip.
    virtual void PlaceScrollBar();
    TScrollBar* ListScrollBar() const { return FScrollBar; }
    QRect ItemsRect() const;
    void SyncScrollBar();

private:
    void ItemsChanged();

    std::unique_ptr<TStringList> FItems;
    TImageList* FImages = nullptr;
    TSizeGripEh* FGrip;
    TScrollBar* FScrollBar;
    QPoint FLastMouse{-1, -1};
    QString FSearch;
    uint32_t FSearchTick = 0;
    int FItemIndex = -1;
    int FTopIndex = 0;
    int FRowCount = 1;
    bool FResized = false;
    bool FSnapping = false;
};

// A month calendar as a pop-up: Enter or a click accepts, Esc cancels; the
// wheel moves the date by a day. A click on the previous or next button or
// on the day names does not close it; one on a day, a week number, the month
// name or the background accepts.
class TPopupMonthCalendarEh : public QCalendarWidget
{
public:
    explicit TPopupMonthCalendarEh(TPopupOwnerEh* AOwner, QWidget* AParent = nullptr);
    TPopupOwnerEh* Owner() const { return FOwner; }
    int BorderWidth() const { return 2; }
    // Keys handed over by the owner; True when used.
    bool HandleKey(int Key, TShiftState Shift);

protected:
    void keyPressEvent(QKeyEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;

private:
    // Where a release in the day table or the navigation bar lands: True
    // when it closes the calendar with accept.
    bool TableReleaseAccepts(const QPoint& Pos) const;
    bool NavigationReleaseAccepts(const QPoint& Pos) const;
    bool IsDayCell(const QPoint& Pos) const;
    void AcceptClick();

    TPopupOwnerEh* FOwner;
};

// ---------------------------------------------------------------- special row

// The first row of a drop-down list that stands for an empty or a fixed
// value: its cell texts (a ";"-list, cells may be double-quoted), colour, font,
// short cut and value.
class TSpecRowEh
{
public:
    // Colour and font follow OwnerControl until set.
    explicit TSpecRowEh(TCustomControl* AOwnerControl = nullptr);
    ~TSpecRowEh();
    TSpecRowEh(const TSpecRowEh&) = delete;
    TSpecRowEh& operator=(const TSpecRowEh&) = delete;

    QString CellsText() const { return FCellsText; }
    void SetCellsText(const QString& Value);
    QString CellText(int Index) const;
    int CellCount() const { return int(FCells.size()); }
    TColor Color() const;
    void SetColor(TColor Value);
    TFont* Font() const;
    bool IsFontStored() const { return FFontSet; }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    bool ShowIfNotInKeyList() const { return FShowIfNotInKeyList; }
    void SetShowIfNotInKeyList(bool Value);
    Variant Value() const { return FValue; }
    void SetValue(const Variant& Value);
    bool IsValueStored() const { return !FValue.IsNull(); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

    void Assign(const TSpecRowEh& Source);
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    std::function<void(TSpecRowEh* Sender)> OnChanged;

private:
    void Changed();

    QPointer<TCustomControl> FOwnerControl;
    QString FCellsText;
    QStringList FCells;
    std::unique_ptr<TFont> FFont;
    TColor FColor = clWindow;
    TShortCut FShortCut;
    Variant FValue = Variant::Null();
    int FUpdateCount = 0;
    bool FColorSet = false;
    bool FFontSet = false;
    bool FShowIfNotInKeyList = true;
    bool FVisible = false;
    bool FRefreshingFont = false;
};

// ---------------------------------------------------------------- MRU list

// Texts the user entered in a column or an edit, oldest first, offered again
// in a drop-down while typing.
class TMRUListEh
{
public:
    explicit TMRUListEh(void* AOwner = nullptr);
    ~TMRUListEh();
    TMRUListEh(const TMRUListEh&) = delete;
    TMRUListEh& operator=(const TMRUListEh&) = delete;

    void* Owner() const { return FOwner; }
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }
    TStringList* Items() const { return FItems.get(); }
    void SetItems(const TStrings& Value);
    // A negative limit counts as 0.
    int Limit() const { return FLimit; }
    void SetLimit(int Value);
    int Rows() const { return FRows; }
    void SetRows(int Value) { FRows = Value; }
    // Pixels; 0 when the user never widened the drop-down.
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int Value) { FDropDownWidth = Value; }
    bool DroppedDown() const { return FDroppedDown; }
    void SetDroppedDown(bool Value) { FDroppedDown = Value; }

    // Trims Text; moves an equal item to the end, or appends it and trims
    // the list to Limit.
    void Add(const QString& Text);
    // Whether Item is offered for the typed text: it starts with it.
    bool FilterItem(const QString& Item, const QString& Typed) const;
    // Asks the owner to show or hide the drop-down.
    void DropDown(bool Show);
    void Assign(const TMRUListEh& Source);

    std::function<void(TMRUListEh* Sender)> OnActiveChanged;
    std::function<void(TMRUListEh* Sender, const QString& Item, bool& Accept)> OnFilterItem;
    std::function<void(TMRUListEh* Sender, bool Show)> OnSetDropDown;

private:
    void Trim();

    void* FOwner;
    std::unique_ptr<TStringList> FItems;
    int FLimit = 100;
    int FRows = 7;
    int FDropDownWidth = 0;
    bool FActive = false;
    bool FCaseSensitive = false;
    bool FDroppedDown = false;
};

// The MRU drop-down: sorted, its scroll bar standing beside the grip.
class TMRUListboxEh : public TPopupListboxEh
{
public:
    explicit TMRUListboxEh(QWidget* AOwner = nullptr);

protected:
    void PlaceScrollBar() override;
};

// ---------------------------------------------------------------- values and fields

// Key values: two values differ when exactly one is empty; otherwise they are
// compared as values, and a comparison that fails counts as unequal. Lists
// (keys of several fields) are equal when of one length and equal in order.
bool VarEqualsEh(const Variant& A, const Variant& B);
bool VarEqualsEh(const QList<Variant>& A, const QList<Variant>& B);

// The fields named in a ";"-list; raises EDatabaseError "Field 'X' not found".
std::vector<TField*> GetFieldsList(TDataSet* DataSet, const QString& FieldNames);
// Their values in order.
QList<Variant> GetFieldValuesList(TDataSet* DataSet, const QString& FieldNames);
// The key the named fields hold: one field's value, or an array of the
// values of several fields.
Variant GetFieldValues(TDataSet* DataSet, const QString& FieldNames);
// The elements of a key: an array's, else the single value.
QList<Variant> KeyValuesOf(const Variant& Key);
// Writes key values: a single Null clears every named field; otherwise one
// value per field, in order.
void SetKeyValues(TDataSet* DataSet, const QString& FieldNames, const QList<Variant>& Values);
void SetKeyValues(TDataSet* DataSet, const QString& FieldNames, const Variant& Key);
