// TDBLookupGridEh: a grid over the records of a list dataset that selects one
// by its key: it shows the list fields, offers a special first row for an
// empty or fixed value, finds an entry by typing its beginning and follows
// the keys and the mouse through the list. TPopupDataGridEh is the same as
// the drop-down window of a lookup cell or edit. The grid only chooses a key;
// its owner decides what to do with it.
#pragma once

#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "platform/db/DataLink.h"
#include "platform/rtl/Variants.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TDBLookupGridEh;
class TDBLookupGridColumnEh;
class TDataSource;
class TField;
class TSizeGripEh;
class TSpecRowEh;
class TTimer;

enum class TDBLookupGridEhOption {
    dlgColumnResizeEh, dlgColLinesEh, dlgRowLinesEh, dlgAutoSortMarkingEh, dlgMultiSortMarkingEh
};
using enum TDBLookupGridEhOption;
using TDBLookupGridEhOptions = TSet<TDBLookupGridEhOption>;

// The lookup grid's link to the list: activation and layout changes rebuild
// its fields, record changes reach the grid.
class TLookupGridDataLinkEh : public TDataLink
{
public:
    explicit TLookupGridDataLinkEh(TDBLookupGridEh* AGrid) : FGrid(AGrid) {}

protected:
    void ActiveChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField* Field) override;
    void FocusControl(TField** Field) override;

private:
    TDBLookupGridEh* FGrid;
};

// The special row's text, colour and font in one column; unset values come
// from the grid's special row.
class TGridColumnSpecCellEh
{
public:
    explicit TGridColumnSpecCellEh(TDBLookupGridColumnEh* AColumn);
    ~TGridColumnSpecCellEh();
    TGridColumnSpecCellEh(const TGridColumnSpecCellEh&) = delete;
    TGridColumnSpecCellEh& operator=(const TGridColumnSpecCellEh&) = delete;

    TColor Color() const;
    void SetColor(TColor Value);
    TFont* Font() const;
    void SetFont(const TFont& Value);
    QString Text() const;
    void SetText(const QString& Value);
    void Assign(const TGridColumnSpecCellEh& Source);

private:
    TSpecRowEh* SpecRow() const;

    TDBLookupGridColumnEh* FColumn;
    std::unique_ptr<TFont> FFont;
    QString FText;
    TColor FColor = clWindow;
    bool FColorSet = false;
    bool FFontSet = false;
    bool FTextSet = false;
};

class TDBLookupGridColumnEh : public TColumnEh
{
public:
    explicit TDBLookupGridColumnEh(TDBGridColumnsEh* ACollection = nullptr);
    ~TDBLookupGridColumnEh() override;

    TGridColumnSpecCellEh* SpecCell() const { return FSpecCell.get(); }
    // A width set by the user is kept by the pop-up's grid.
    void SetWidth(int Value) override;

private:
    std::unique_ptr<TGridColumnSpecCellEh> FSpecCell;
};

class TDBLookupGridEh : public TCustomDBGridEh
{
public:
    explicit TDBLookupGridEh(QWidget* AParent = nullptr);
    ~TDBLookupGridEh() override;

    // ---- the list
    TDataSource* ListSource() const { return FListSource; }
    void SetListSource(TDataSource* Value);
    // ";"-lists of field names of the list dataset.
    QString KeyFieldName() const { return FKeyFieldName; }
    void SetKeyFieldName(const QString& Value);
    QString ListFieldName() const { return FListFieldName; }
    void SetListFieldName(const QString& Value);
    const std::vector<TField*>& KeyFields() const { return FKeyFields; }
    const std::vector<TField*>& ListFields() const { return FListFields; }
    TField* ListField() const { return FListFields.empty() ? nullptr : FListFields.front(); }
    TDataSet* ListDataSet() const;
    // ---- the data the chosen key is written to (none by default). A single
    // lookup field as data field brings its own list: its lookup dataset,
    // key and result fields; the key is written into its KeyFields.
    TDataSource* DataFieldSource() const;
    void SetDataFieldSource(TDataSource* Value);
    QString DataFieldName() const { return FDataFieldName; }
    void SetDataFieldName(const QString& Value);
    const std::vector<TField*>& DataFields() const { return FDataFields; }
    // Whether the list comes from a lookup data field.
    bool ListFromLookupField() const { return FLookupField != nullptr; }

    // ---- the key
    // One value for one key field, an array of one value per field for
    // several; Null for none.
    Variant KeyValue() const { return FKeyValue; }
    // Stores the key and looks for its record in the list. A key that does
    // not match the number of key fields is rejected: nothing changes.
    virtual void SetKeyValue(const Variant& Value);
    // Whether a key matches the key fields (Null always does).
    bool KeyValueFits(const Variant& Value) const;
    // Whether the last look-up found the key's record.
    bool KeyFound() const { return FKeyFound; }
    // The special row: shown above the data when Visible.
    TSpecRowEh* SpecRow() const { return FSpecRow.get(); }
    // The special row is current: the key equals its value (Null and empty alike).
    bool SpecRowCurrent() const;
    // The text a closed lookup shows: the key record's list field, or the
    // special row's cell when it is current.
    QString DisplayText() const;
    TDBLookupGridEhOptions LookupOptions() const;
    void SetLookupOptions(TDBLookupGridEhOptions Value);

    // ---- geometry
    int GetBorderHeight() const { return height() - ClientHeight(); }
    int GetRowStep() const;
    // The height that shows Rows whole data rows (and the special row).
    int HeightForRows(int Rows) const;
    // The nearest height at or below Requested that holds whole rows.
    int SnapHeight(int Requested) const;
    // Whole data rows the height holds, as last laid out.
    int RememberedRows() const { return FRememberedRows; }
    // Interval of the drag-scroll timer for a mouse Distance pixels outside.
    static int MouseScrollInterval(int Distance) { return std::max(0, 200 - 15 * Distance); }
    TTimer* MouseScrollTimer() const { return FMouseTimer.get(); }

    // ---- type-ahead
    QString SearchText() const { return FSearchText; }
    // The clock of the type-ahead pause (a test replaces it).
    std::function<uint32_t()> Clock;

    virtual bool CanLocateKey() const;
    // Chooses a key as the user does: written to the data fields when there
    // are some, else only stored; fires OnClick.
    virtual void SelectKeyValue(const Variant& Value);
    // Puts the list on the key's record; True when found.
    virtual bool LocateKeyValue();
    virtual void UpdateListFields();
    virtual void UpdateDataFields();
    using TCustomDBGridEh::IncrementalSearch;
    virtual void IncrementalSearch(QChar Key);
    virtual void UpdateSpecRowText();
    virtual void ListLinkActiveChanged();
    virtual void RememberColumnWidths() {}

    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WMVScroll(TScrollCode Code, int Pos) override;

protected:
    int ExtraTitleHeight() const override;
    void DrawCell(int ACol, int ARow, const QRect& ARect, TGridDrawState AState) override;
    bool HighlightDataCell(int DataCol, int DataRow, TFont* AFont, TColor& Background,
                           TGridDrawState& State) override;
    std::unique_ptr<TDBGridColumnsEh> CreateColumns() override;
    void Resize() override;
    // Top of the data rows and of the special row band, in client pixels.
    int DataTop() const;
    int SpecRowTop() const { return DataTop() - ExtraTitleHeight(); }
    // Whether a client point lies over the data rows or the special row.
    bool OverDataRows(int X, int Y) const;
    bool OverSpecRow(int X, int Y) const;
    // The key of the list's current record.
    Variant CurrentRecordKey() const;

private:
    friend class TLookupGridDataLinkEh;
    void ListRecordChanged();
    void MoveList(int Delta, bool Select);
    void SelectSpecRow();
    void TrackMouse(int Y);
    void MouseTimerTick();
    void SpecRowChanged();
    void DrawSpecRowCell(int ACol, const QRect& R);
    // The list's key and list field names in force: the lookup data field's
    // when the list comes from it, else the configured ones.
    QString ListKeyNames() const;
    QString ListFieldNames() const;

    std::unique_ptr<TLookupGridDataLinkEh> FListLink;
    std::unique_ptr<TDataSource> FListDataSource;
    std::unique_ptr<TDataLink> FDataLink;
    TDataSource* FListSource = nullptr;
    QMetaObject::Connection FListSourceGone;
    QString FKeyFieldName;
    QString FListFieldName;
    QString FDataFieldName;
    std::vector<TField*> FKeyFields;
    std::vector<TField*> FListFields;
    std::vector<TField*> FDataFields;
    TField* FLookupField = nullptr;
    Variant FKeyValue = Variant::Null();
    std::unique_ptr<TSpecRowEh> FSpecRow;
    std::unique_ptr<TTimer> FMouseTimer;
    QString FSearchText;
    uint32_t FSearchTick = 0;
    int FMouseDirection = 0;
    int FRememberedRows = 0;
    bool FKeyFound = false;
    bool FListColumns = false;
    bool FTracking = false;
    bool FSnapping = false;
};

// The lookup grid as a drop-down window: never takes the focus, tells its
// owner when the user has chosen (a release over a row) or cancelled (a
// release elsewhere).
class TPopupDataGridEh : public TDBLookupGridEh
{
public:
    explicit TPopupDataGridEh(QWidget* AOwner = nullptr);
    ~TPopupDataGridEh() override;

    // Turn on AutoFitColWidths the first time widths are remembered.
    bool AutoFitRequested() const { return FAutoFitRequested; }
    void SetAutoFitRequested(bool Value) { FAutoFitRequested = Value; }
    void RememberColumnWidths() override;
    void UpdateSpecRowText() override;
    // The grip the user resizes the list with (shown by the owner), and
    // whether the size changed since the owner last cleared the mark.
    TSizeGripEh* SizeGrip() const { return FGrip; }
    bool Resized() const { return FResized; }
    void SetResized(bool Value) { FResized = Value; }

    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Paint() override;

    std::function<void(TPopupDataGridEh* Sender, bool Accept)> OnOwnerNotify;
    std::function<void(TPopupDataGridEh* Sender)> OnSpecRowChanged;

protected:
    // The first showing keeps the widths the columns were laid out with.
    void showEvent(QShowEvent* Event) override;
    void Resize() override;

private:
    TSizeGripEh* FGrip;
    bool FResized = false;
    bool FAutoFitRequested = false;
    bool FWidthsRemembered = false;
};
