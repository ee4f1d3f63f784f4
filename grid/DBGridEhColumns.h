// The grid's column model: columns, their titles and footers, and the column
// collection. A property listed as defaulted returns its own value once one was
// assigned, and otherwise a default computed at the moment of reading from the
// grid or the field; assigning the value it already has changes nothing. Every
// change ends in one change notification of the collection, which re-lays out
// the grid. Painting and editing read this model; they do not live here.
#pragma once

#include "grid/ToolCtrlsEh.h"
#include "platform/db/DBTypes.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Sets.h"
#include "platform/rtl/Variants.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TCustomDBGridEh;
class TColumnDropDownBoxEh;
class TColumnEh;
class TDBGridColumnsEh;
class TDBSum;
class TField;
class TImageList;
class TPopupDataGridEh;
class TPopupMenu;
class TSTColumnFilterEh;
class TStringList;

enum TFooterValueType { fvtNon, fvtSum, fvtAvg, fvtCount, fvtFieldValue, fvtStaticText };
enum TSortMarkerEh { smNoneEh, smDownEh, smUpEh };
enum TTextOrientationEh { tohHorizontal, tohVertical };
enum TColumnButtonStyleEh { cbsAuto, cbsEllipsis, cbsNone, cbsUpDown, cbsDropDown };
enum TImeMode { imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata,
                imChinese, imSHanguel, imHanguel };
// The editing behaviour a column's settings give, in order of precedence.
enum TColumnEhType { ctCommon, ctPickList, ctLookupField, ctKeyPickList, ctKeyImageList, ctCheckboxes };

// ---------------------------------------------------------------- title

class TColumnTitleEh
{
public:
    explicit TColumnTitleEh(TColumnEh* AColumn);
    virtual ~TColumnTitleEh();
    TColumnTitleEh(const TColumnTitleEh&) = delete;
    TColumnTitleEh& operator=(const TColumnTitleEh&) = delete;

    TColumnEh* Column() const { return FColumn; }
    TAlignment Alignment() const;
    void SetAlignment(TAlignment Value);
    QString Caption() const;
    virtual void SetCaption(const QString& Value);
    TColor Color() const;
    void SetColor(TColor Value);
    bool EndEllipsis() const;
    void SetEndEllipsis(bool Value);
    TFont* Font() const;           // changing it assigns the title its own font
    void SetFont(const TFont& Value);
    QString Hint() const { return FHint; }
    void SetHint(const QString& Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TTextOrientationEh Orientation() const;
    void SetOrientation(TTextOrientationEh Value);
    int SortIndex() const { return FSortIndex; }
    void SetSortIndex(int Value);
    TSortMarkerEh SortMarker() const { return FSortMarker; }
    void SetSortMarker(TSortMarkerEh Value);
    bool TitleButton() const;
    void SetTitleButton(bool Value);
    bool ToolTips() const;
    void SetToolTips(bool Value);

    // The marker a title click gives: none -> down -> up -> none with KeepOthers
    // (Ctrl held), up -> down without; a click without it clears other columns first.
    void ClickSortMarker(bool KeepOthers);
    // Whether a property holds its own value, and so is stored.
    bool IsCaptionStored() const;
    bool IsAlignmentStored() const { return FAssigned.Contains(tvAlignment); }
    bool IsColorStored() const { return FAssigned.Contains(tvColor); }
    bool IsFontStored() const { return FAssigned.Contains(tvFont); }

    void Assign(const TColumnTitleEh& Source);
    virtual void RestoreDefaults();

private:
    enum TTitleValue { tvAlignment, tvCaption, tvColor, tvEndEllipsis, tvFont, tvOrientation, tvTitleButton, tvToolTips };
    void Changed(bool Layout = true);
    void RefreshDefaultFont() const;
    TFont* DefaultFont() const;
    void FontChanged();
    // Writes a defaulted property: nothing when already assigned with that value.
    template <class T> void SetValue(T& Field, T Value, TTitleValue Flag);

    TColumnEh* FColumn;
    std::unique_ptr<TFont> FFont;
    TSet<TTitleValue> FAssigned;
    QString FCaption;
    QString FHint;
    TAlignment FAlignment = taLeftJustify;
    TColor FColor = clBtnFace;
    TTextOrientationEh FOrientation = tohHorizontal;
    TSortMarkerEh FSortMarker = smNoneEh;
    int FImageIndex = -1;
    int FSortIndex = 0;
    bool FEndEllipsis = false;
    bool FTitleButton = false;
    bool FToolTips = false;
    bool FRefreshingFont = false;
};

// ---------------------------------------------------------------- footers

class TColumnFootersEh;

class TColumnFooterEh
{
public:
    // A footer row of a column's Footers collection.
    explicit TColumnFooterEh(TColumnFootersEh* ACollection);
    // The column's single Footer, in no collection.
    explicit TColumnFooterEh(TColumnEh* AColumn);
    virtual ~TColumnFooterEh();
    TColumnFooterEh(const TColumnFooterEh&) = delete;
    TColumnFooterEh& operator=(const TColumnFooterEh&) = delete;

    TColumnEh* Column() const { return FColumn; }
    TAlignment Alignment() const;
    void SetAlignment(TAlignment Value);
    TColor Color() const;
    void SetColor(TColor Value);
    QString DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const QString& Value);
    bool EndEllipsis() const { return FEndEllipsis; }
    void SetEndEllipsis(bool Value);
    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& Value);
    TFont* Font() const;
    void SetFont(const TFont& Value);
    bool IsFontStored() const { return FAssigned.Contains(fvFont); }
    QString Value() const { return FValue; }
    void SetValue(const QString& Value);
    TFooterValueType ValueType() const { return FValueType; }
    void SetValueType(TFooterValueType Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);

    // The sum of the grid's sum list that this footer owns, or none.
    TDBSum* DBSum() const { return FDBSum; }
    // Makes, sets or frees the footer's sum to match its value type.
    void EnsureSumValue();

    void Assign(const TColumnFooterEh& Source);
    virtual void RestoreDefaults();

private:
    enum TFooterValue { fvAlignment, fvColor, fvFont };
    void Init();
    void Changed();
    void FontChanged();
    void RefreshDefaultFont() const;
    void FreeSum();

    TColumnEh* FColumn;
    std::unique_ptr<TFont> FFont;
    TSet<TFooterValue> FAssigned;
    QString FDisplayFormat;
    QString FFieldName;
    QString FValue;
    TDBSum* FDBSum = nullptr; // an item of the grid's sum list
    TAlignment FAlignment = taLeftJustify;
    TColor FColor = clWindow;
    TFooterValueType FValueType = fvtNon;
    bool FEndEllipsis = false;
    bool FWordWrap = false;
    bool FRefreshingFont = false;
};

class TColumnFootersEh
{
public:
    explicit TColumnFootersEh(TColumnEh* AColumn);
    virtual ~TColumnFootersEh();
    TColumnFootersEh(const TColumnFootersEh&) = delete;
    TColumnFootersEh& operator=(const TColumnFootersEh&) = delete;

    TColumnEh* Column() const { return FColumn; }
    int Count() const { return int(FItems.size()); }
    TColumnFooterEh* Items(int Index) const; // raises EListError out of range
    TColumnFooterEh* Add();
    void Delete(int Index);
    void Clear();
    void Assign(const TColumnFootersEh& Source);

protected:
    virtual std::unique_ptr<TColumnFooterEh> NewItem() { return std::make_unique<TColumnFooterEh>(this); }

private:
    TColumnEh* FColumn;
    std::vector<std::unique_ptr<TColumnFooterEh>> FItems;
};

// ---------------------------------------------------------------- column

// Parameters a column hands to OnGetCellParams.
struct TColCellParamsEh
{
    TAlignment Alignment = taLeftJustify;
    TColor Background = clWindow;
    TCheckBoxState CheckboxState = cbUnchecked;
    int Col = -1;
    int Row = -1;
    TFont* Font = nullptr;
    int ImageIndex = -1;
    bool ReadOnly = false;
    int State = 0;
    QString Text;
};

class TColumnEh
{
public:
    explicit TColumnEh(TDBGridColumnsEh* ACollection = nullptr);
    virtual ~TColumnEh();
    TColumnEh(const TColumnEh&) = delete;
    TColumnEh& operator=(const TColumnEh&) = delete;

    TDBGridColumnsEh* Collection() const { return FCollection; }
    TCustomDBGridEh* Grid() const;
    int Index() const;
    virtual void SetIndex(int Value);
    QString DisplayName() const;

    // ---- properties
    TAlignment Alignment() const;
    virtual void SetAlignment(TAlignment Value);
    bool AlwaysShowEditButton() const;
    void SetAlwaysShowEditButton(bool Value);
    bool AutoDropDown() const;
    void SetAutoDropDown(bool Value);
    bool AutoFitColWidth() const { return FAutoFitColWidth; }
    virtual void SetAutoFitColWidth(bool Value);
    TColumnButtonStyleEh ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TColumnButtonStyleEh Value);
    bool Checkboxes() const;
    void SetCheckboxes(bool Value);
    TColor Color() const;
    void SetColor(TColor Value);
    bool DblClickNextVal() const;
    void SetDblClickNextVal(bool Value);
    // The special first row of the column's drop-down list.
    TSpecRowEh* DropDownSpecRow() const;
    QString DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const QString& Value);
    int DropDownRows() const { return FDropDownRows; }
    void SetDropDownRows(int Value);
    bool DropDownShowTitles() const;
    void SetDropDownShowTitles(bool Value);
    bool DropDownSizing() const;
    void SetDropDownSizing(bool Value);
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int Value);
    QString EditMask() const { return FEditMask; }
    void SetEditMask(const QString& Value);
    // Buttons the cell editor shows beside its main one.
    TEditButtonsEh* EditButtons() const;
    bool EndEllipsis() const;
    void SetEndEllipsis(bool Value);
    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& Value);
    TFont* Font() const;                 // changing it assigns the column its own font
    void SetFont(const TFont& Value);
    TColumnFooterEh* Footer() const;
    TColumnFootersEh* Footers() const;
    TColumnFooterEh* UsedFooter(int Row) const; // footer row Row: Footers(Row) when it exists, else Footer
    TImageList* ImageList() const { return FImageList; }
    void SetImageList(TImageList* Value);
    // Shown by a right click on the column's data cells; not owned.
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);
    TImeMode ImeMode() const;
    virtual void SetImeMode(TImeMode Value);
    QString ImeName() const;
    virtual void SetImeName(const QString& Value);
    double Increment() const { return FIncrement; }
    void SetIncrement(double Value);
    TStringList* KeyList() const;        // made empty on first read
    QString LookupDisplayFields() const;
    virtual void SetLookupDisplayFields(const QString& Value);
    // Entries typed into the column, offered again while typing.
    TMRUListEh* MRUList() const;
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int Value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int Value);
    int NotInKeyListIndex() const { return FNotInKeyListIndex; }
    void SetNotInKeyListIndex(int Value);
    TStringList* PickList() const;       // made empty on first read
    bool ReadOnly() const;
    virtual void SetReadOnly(bool Value);
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    TColumnTitleEh* Title() const;
    bool ToolTips() const;
    void SetToolTips(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    int Width() const;
    virtual void SetWidth(int Value);
    bool WordWrap() const;
    virtual void SetWordWrap(bool Value);

    // Whether a defaulted property holds its own value, and so is stored.
    bool IsWidthStored() const { return FAssigned.Contains(cvWidth); }
    bool IsColorStored() const { return FAssigned.Contains(cvColor); }
    bool IsFontStored() const { return FAssigned.Contains(cvFont); }
    bool IsAlignmentStored() const { return FAssigned.Contains(cvAlignment); }
    bool IsReadOnlyStored() const { return FAssigned.Contains(cvReadOnly); }

    // ---- state
    TField* Field() const;
    virtual void SetField(TField* Value);
    // False for a column the grid made from the dataset's fields.
    bool ExplicitSetup() const { return FExplicitSetup; }
    void SetExplicitSetup(bool Value) { FExplicitSetup = Value; }
    virtual bool IsDefaultColumn() const { return !FExplicitSetup; }
    int LayoutWidth() const { return FLayoutWidth; } // the width as last laid out
    void SetLayoutWidth(int Value) { FLayoutWidth = Value; }
    int DefaultWidth() const;
    TColumnEhType GetColumnType() const;

    // The drop-down list of lookup cells: its description, and the lookup
    // grid it describes, both made on first use and freed with the column.
    TColumnDropDownBoxEh* DropDownBox() const;
    TPopupDataGridEh* DropDownLookupGrid() const;
    // The column's cell of the filter row, made on first use (DBGridEhFilter.cpp).
    TSTColumnFilterEh* STFilter() const;

    // ---- cell values
    QString GetDisplayText() const;
    TCheckBoxState CheckboxState() const;
    void SetCheckboxState(TCheckBoxState Value);
    void UpdateData(const QString& Text, const Variant& Value, bool UseText);
    bool CanModify(bool TryEdit);
    void StepValue(double Step);
    void FillColCellParams(TColCellParamsEh& Params) const;
    virtual void GetColCellParams(bool EditMode, TColCellParamsEh& Params);

    void Assign(const TColumnEh& Source);
    virtual void RestoreDefaults();
    // Makes every footer's sum of the grid's sum list match the footer.
    void EnsureSumValues();
    // Sends the change notification of this column (re-lays out the grid).
    void Changed();

    std::function<void(TColumnEh* Sender, bool EditMode, TColCellParamsEh& Params)> OnGetCellParams;
    std::function<void(TColumnEh* Sender, QString& Text, Variant& Value, bool& UseText, bool& Handled)> OnUpdateData;
    std::function<void(TColumnEh* Sender, const QString& NewText, bool& RecheckInList)> OnNotInList;
    // The cell editor's main button: clicked, and pressed (TopButton: the
    // upper half of an up-down button).
    std::function<void(TColumnEh* Sender, bool& Handled)> OnEditButtonClick;
    std::function<void(TColumnEh* Sender, bool TopButton, bool& AutoRepeat, bool& Handled)> OnEditButtonDown;

protected:
    // Factories, so that a descendant column can make its own parts.
    virtual std::unique_ptr<TColumnTitleEh> CreateTitle() { return std::make_unique<TColumnTitleEh>(this); }
    virtual std::unique_ptr<TColumnFooterEh> CreateFooter() { return std::make_unique<TColumnFooterEh>(this); }
    virtual std::unique_ptr<TColumnFootersEh> CreateFooters() { return std::make_unique<TColumnFootersEh>(this); }
    virtual std::unique_ptr<TEditButtonsEh> CreateEditButtons();
    virtual std::unique_ptr<TSTColumnFilterEh> CreateSTFilter() const;

private:
    friend class TDBGridColumnsEh;
    enum TColumnValue {
        cvColor, cvWidth, cvFont, cvAlignment, cvReadOnly, cvImeMode, cvWordWrap, cvLookupDisplayFields,
        cvCheckboxes, cvAlwaysShowEditButton, cvEndEllipsis, cvAutoDropDown, cvDblClickNextVal, cvToolTips,
        cvDropDownSizing, cvDropDownShowTitles, cvImeName
    };
    template <class T> void SetValue(T& Field, T Value, TColumnValue Flag);
    bool DataLinkActive() const;
    void FontChanged();
    void RefreshDefaultFont() const;
    std::optional<QString> EditorText() const;
    void StepInList(const TStringList* List, double Step, bool AsValue, const QString& Current);
    void StepLookup(double Step);

    TDBGridColumnsEh* FCollection;
    mutable std::unique_ptr<TColumnTitleEh> FTitle;
    mutable std::unique_ptr<TColumnFooterEh> FFooter;
    mutable std::unique_ptr<TColumnFootersEh> FFooters;
    mutable std::unique_ptr<TFont> FFont;
    mutable std::unique_ptr<TStringList> FKeyList;
    mutable std::unique_ptr<TStringList> FPickList;
    mutable std::unique_ptr<TEditButtonsEh> FEditButtons;
    mutable std::unique_ptr<TMRUListEh> FMRUList;
    mutable std::unique_ptr<TSpecRowEh> FDropDownSpecRow;
    mutable QPointer<TField> FField;
    mutable std::unique_ptr<TColumnDropDownBoxEh> FDropDownBox;
    mutable std::unique_ptr<TPopupDataGridEh> FDropDownLookupGrid;
    mutable std::unique_ptr<TSTColumnFilterEh> FSTFilter;
    TSet<TColumnValue> FAssigned;
    QString FFieldName;
    QString FDisplayFormat;
    QString FEditMask;
    QString FLookupDisplayFields;
    QString FImeName;
    TImageList* FImageList = nullptr;
    TPopupMenu* FPopupMenu = nullptr;
    double FIncrement = 1;
    TAlignment FAlignment = taLeftJustify;
    TColor FColor = clWindow;
    TColumnButtonStyleEh FButtonStyle = cbsAuto;
    TImeMode FImeMode = imDontCare;
    int FDropDownRows = 7;
    int FDropDownWidth = 0;
    int FMaxWidth = 0;
    int FMinWidth = 0;
    int FNotInKeyListIndex = -1;
    int FTag = 0;
    int FWidth = 0;
    int FLayoutWidth = 0;
    bool FAutoFitColWidth = true;
    bool FAlwaysShowEditButton = false;
    bool FAutoDropDown = false;
    bool FCheckboxes = false;
    bool FDblClickNextVal = false;
    bool FDropDownShowTitles = false;
    bool FDropDownSizing = false;
    bool FEndEllipsis = false;
    bool FReadOnly = false;
    bool FToolTips = false;
    bool FVisible = true;
    bool FWordWrap = false;
    bool FExplicitSetup = true;
    bool FRefreshingFont = false;
};

// The published column class of the grid; it adds nothing.
class TDBGridColumnEh : public TColumnEh
{
public:
    using TColumnEh::TColumnEh;
};

// ---------------------------------------------------------------- collection

class TDBGridColumnsEh
{
public:
    explicit TDBGridColumnsEh(TCustomDBGridEh* AGrid);
    virtual ~TDBGridColumnsEh();
    TDBGridColumnsEh(const TDBGridColumnsEh&) = delete;
    TDBGridColumnsEh& operator=(const TDBGridColumnsEh&) = delete;

    TCustomDBGridEh* Grid() const { return FGrid; }
    int Count() const { return int(FItems.size()); }
    TColumnEh* Items(int Index) const;  // raises EListError out of range
    TColumnEh* operator[](int Index) const { return Items(Index); }
    // A column set up by code; the first one replaces the default columns.
    TColumnEh* Add();
    // A default column made by the grid from a field of its dataset.
    TColumnEh* AddDefaultColumn(TField* Field);
    void Delete(int Index);
    void Clear();
    int IndexOf(const TColumnEh* Column) const;
    void Move(int From, int To);
    void Assign(const TDBGridColumnsEh& Source);
    // At least one column, the first set up by code rather than made from the fields.
    bool Customized() const;

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    // A change of one column (Item) or of the whole collection (nullptr).
    void Update(TColumnEh* Item);

protected:
    virtual std::unique_ptr<TColumnEh> NewItem() { return std::make_unique<TDBGridColumnEh>(this); }

private:
    TCustomDBGridEh* FGrid;
    std::vector<std::unique_ptr<TColumnEh>> FItems;
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
};

// ---------------------------------------------------------------- defaults

class TColumnTitleDefValuesEh
{
public:
    explicit TColumnTitleDefValuesEh(TCustomDBGridEh* AGrid) : FGrid(AGrid) {}

    TAlignment Alignment() const;      // centred under multi-line titles
    void SetAlignment(TAlignment Value);
    TColor Color() const;              // the grid's FixedColor
    void SetColor(TColor Value);
    bool EndEllipsis() const { return FEndEllipsis; }
    void SetEndEllipsis(bool Value);
    TTextOrientationEh Orientation() const { return FOrientation; }
    void SetOrientation(TTextOrientationEh Value);
    bool TitleButton() const { return FTitleButton; }
    void SetTitleButton(bool Value);
    bool ToolTips() const { return FToolTips; }
    void SetToolTips(bool Value);

private:
    void Changed(bool Layout);

    TCustomDBGridEh* FGrid;
    TAlignment FAlignment = taLeftJustify;
    TColor FColor = clBtnFace;
    TTextOrientationEh FOrientation = tohHorizontal;
    bool FAlignmentSet = false;
    bool FColorSet = false;
    bool FEndEllipsis = false;
    bool FTitleButton = false;
    bool FToolTips = false;
};

class TDBGridEhColumnDefValuesEh
{
public:
    explicit TDBGridEhColumnDefValuesEh(TCustomDBGridEh* AGrid) : FGrid(AGrid), FTitle(AGrid) {}

    bool AlwaysShowEditButton() const { return FAlwaysShowEditButton; }
    void SetAlwaysShowEditButton(bool Value) { Set(FAlwaysShowEditButton, Value); }
    bool AutoDropDown() const { return FAutoDropDown; }
    void SetAutoDropDown(bool Value) { Set(FAutoDropDown, Value); }
    bool DblClickNextVal() const { return FDblClickNextVal; }
    void SetDblClickNextVal(bool Value) { Set(FDblClickNextVal, Value); }
    bool DropDownShowTitles() const { return FDropDownShowTitles; }
    void SetDropDownShowTitles(bool Value) { Set(FDropDownShowTitles, Value); }
    bool DropDownSizing() const { return FDropDownSizing; }
    void SetDropDownSizing(bool Value) { Set(FDropDownSizing, Value); }
    bool EndEllipsis() const { return FEndEllipsis; }
    void SetEndEllipsis(bool Value) { Set(FEndEllipsis, Value); }
    bool ToolTips() const { return FToolTips; }
    void SetToolTips(bool Value) { Set(FToolTips, Value); }
    TColumnTitleDefValuesEh* Title() { return &FTitle; }
    const TColumnTitleDefValuesEh* Title() const { return &FTitle; }

private:
    void Set(bool& Field, bool Value);

    TCustomDBGridEh* FGrid;
    TColumnTitleDefValuesEh FTitle;
    bool FAlwaysShowEditButton = false;
    bool FAutoDropDown = false;
    bool FDblClickNextVal = false;
    bool FDropDownShowTitles = false;
    bool FDropDownSizing = false;
    bool FEndEllipsis = false;
    bool FToolTips = false;
};
