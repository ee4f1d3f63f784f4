// The object inspector: a tool window over the designer that lists the
// properties of the selected objects as name/value rows and edits a value in
// place. It knows nothing about views or pages: the designer fills it row by
// row and is told (OnModify) when a value was committed; it then applies the
// value and refills the rows, so no row entry is held across that call.
#pragma once

#include "platform/gui/Forms.h"
#include "platform/rtl/Variants.h"
#include "report/engine/FR_View.h"

#include <QHash>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QLineEdit;
class QScrollArea;
class TBitmap;
class TfrPopupListBox;
class TfrSpeedButton;
class TfrObject;
class TInspObjectCombo;
class TInspPanel;

// The inspector's refusal of a typed value: EConvertError with its message.
// Thrown by OnModify, it leaves the row as it was and shows that message.
[[noreturn]] void frRaiseInvalidValue(const QString& Text);

// One row: its text, kind bits (the property-record bits), editor and
// enumeration. An enumeration with values is numeric (the shown name stands
// for the value at its position); without values the name is the value.
class TProp
{
public:
    TProp() = default;
    virtual ~TProp() = default;

    QString Text;
    uint16_t DataType = 0;
    TfrPropEditor Editor;
    QStringList Enum;
    QList<Variant> EnumValues;

    bool EnumArray() const { return !EnumValues.isEmpty(); }
    // The text read by kind; raises EConvertError for a text the kind cannot
    // hold (no number, a colour beyond 32 bits, a number outside the values).
    Variant Value() const;
    // Formats a value into Text by kind; raises EConvertError as Value does.
    void SetValue(const Variant& AValue);
};

class TfrInspForm : public TForm
{
public:
    // AParentWindow: the window the inspector stays above (the designer).
    explicit TfrInspForm(QWidget* AParentWindow = nullptr);
    ~TfrInspForm() override;

    void ClearProperties();
    void AddProperty(const QString& PropName, const Variant& PropValue, uint16_t PropType,
                     TfrPropEditor PropEditor, const QStringList& PropEnum, const QList<Variant>& PropEnumValues);
    void ItemsChanged();
    int GetCount() const { return static_cast<int>(FItems.size()); }
    Variant GetItemValue(int Index) const;
    QString GetItemText(int Index) const;
    QString GetItemName(int Index) const;
    TProp* CurItem() const;
    // Commits a text to the current row: refused (message, previous text back,
    // no OnModify) when it does not convert by the row's kind; an EConvertError
    // from OnModify is shown and gives the row its previous text back.
    void SetItemValue(const QString& Value);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    void Grow();
    // The caption double-click: collapses to the caption or expands again.
    void ToggleCollapsed();

    int RowHeight() const { return FRowHeight; }
    int SplitPos() const { return FSplitPos; }
    void SetSplitPos(int Value);
    int PaintWidth() const { return FPaintWidth; }
    bool HideProperties() const { return FHideProperties; }
    void SetHideProperties(bool Value);
    QString ObjectName;
    TfrObject* CurObject = nullptr;
    QString LastProp;

    // The "..." and drop-down buttons, as a click on them acts.
    void EditBtnClick();
    void ComboBtnClick();
    // A double-click on the value, as in the edit.
    void Edit1DblClick();
    void PopupListClick(int Row);

    std::function<void(int Index)> OnModify;
    std::function<void(QObject* Sender)> OnHeightChanged;
    std::function<void(QStringList& Objects)> OnGetObjects;
    std::function<void(const QString& ObjName)> OnSelectionChanged;

    QComboBox* CB1() const;
    QScrollArea* Box = nullptr;
    TCustomControl* PaintBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QWidget* EditPanel = nullptr;
    TfrSpeedButton* EditBtn = nullptr;
    QWidget* ComboPanel = nullptr;
    TfrSpeedButton* ComboBtn = nullptr;
    TfrPopupListBox* PopupList() const { return FPopup; }

protected:
    bool event(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    friend class TInspObjectCombo;
    void FormResize();
    void SizeInnerPanel();
    void RefreshObjectList();
    void SyncObjectCombo();
    void PaintRows();
    void DrawRow(TCanvas* C, int Row, bool Current) const;
    void PaintBoxMouseDown(int Y);
    void PaintBoxMouseMove(int X);
    bool EditKey(int Key);
    void CommitEdit(const QString& Text);
    // Throws EConvertError with the text shown to the user.
    void CheckText(const QString& Name, const TProp* Prop, const QString& Text) const;
    void Deactivated();
    QString ShownName(const QString& Name) const;

    std::vector<std::pair<QString, std::unique_ptr<TProp>>> FItems;
    int FItemIndex = -1;
    int FRowHeight = 16;
    int FSplitPos = 75;
    int FPaintWidth = 0;
    int FCreatedHeight = 0;
    bool FHideProperties = false;
    bool FBusy = false;
    bool FModifying = false;
    bool FSplitDragging = false;
    uint32_t FLastRowClick = 0;
    QHash<QString, QString> FLocalizedNames;
    std::unique_ptr<TBitmap> FBitmap;
    TInspObjectCombo* FCB1 = nullptr;
    TInspPanel* FPanel = nullptr;
    TfrPopupListBox* FPopup = nullptr;
};
