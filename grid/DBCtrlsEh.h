// The data-aware edits of the business windows: TDBEditEh, a line edit that
// shows and edits one field through a data link or, with neither data source
// nor field name, holds its own value; and TDBNumberEditEh, the same for
// numbers, with display and edit formats, typing rules, stepping, a range and
// the drop-down calculator. Each edit talks to its field only through its
// TFieldDataLinkEh; the windows read Text and Value.
#pragma once

#include "platform/db/DataLink.h"
#include "platform/gui/Controls.h"
#include "platform/gui/EditChars.h"
#include "platform/gui/ImgList.h"
#include "platform/rtl/Variants.h"

#include <QLineEdit>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class TCustomDBEditEh;
class TDataSource;
class TEditButtonControlEh;
class TEditButtonEh;
class TEditButtonsEh;
class IInplaceEditHolderEh;
class TMRUListEh;
class TMRUListboxEh;
class TField;
class TPopupCalculatorEh;
class TWrapEditEh;

// ---------------------------------------------------------------- data link

class TFieldDataLinkEh : public TDataLink
{
public:
    TFieldDataLinkEh() = default;

    QString FieldName() const { return FFieldName; }
    void SetFieldName(const QString& Value);
    // A ";"-list names several fields.
    bool MultiFields() const { return FMultiFields; }
    void SetMultiFields(bool Value) { FMultiFields = Value; }
    TField* Field() const { return FFields.empty() ? nullptr : FFields.front(); }
    const std::vector<TField*>& Fields() const { return FFields; }
    // Neither a data source nor a field name: the link holds its own value.
    bool Unbound() const { return FUnbound; }
    // The own value of an unbound link.
    Variant OwnValue() const { return FValue; }
    // Unbound: editing flag of its own; bound: the dataset's edit state.
    bool LinkEditing() const;
    bool Modified() const { return FModified; }
    void SetModified() { FModified = true; }
    void ClearModified() { FModified = false; }
    bool CanModify() const;
    // Asks to edit: bound links put the dataset into Edit.
    bool Edit();
    // Shows the stored value again (the control's changes are dropped).
    void Reset();
    // Stores text (field's Text, memo AsString) or a value into the field(s)
    // or the own value.
    void SetText(const QString& Text);
    void SetValue(const Variant& Value);
    // Resolves the field names against the dataset (raises for a missing one).
    void UpdateField();

    std::function<void()> OnDataChange;
    std::function<void()> OnEditingChange;
    std::function<void()> OnUpdateData;
    std::function<void()> OnActiveChange;

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField* Field) override;
    void UpdateData() override;

private:
    friend class TCustomDBEditEh;
    void UpdateUnbound();

    QString FFieldName;
    std::vector<TField*> FFields;
    bool FUnbound = true;
    bool FEditing = false;
    bool FModified = false;
    bool FMultiFields = false;
    Variant FValue = Variant::Null();
};

// ---------------------------------------------------------------- image

// The image drawn left of an edit's text.
class TEditImageEh
{
public:
    explicit TEditImageEh(TCustomDBEditEh* AEdit) : FEdit(AEdit) {}

    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TImageList* Images() const { return FImages.data(); }
    void SetImages(TImageList* Value);
    bool UseImageHeight() const { return FUseImageHeight; }
    void SetUseImageHeight(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    void Assign(const TEditImageEh& Source);
    // Width taken at the left: the image's width and 4 pixels, 0 when not shown.
    int AreaWidth() const;

private:
    void Changed();

    TCustomDBEditEh* FEdit;
    // Let go of when the list is destroyed.
    QPointer<TImageList> FImages;
    int FImageIndex = -1;
    int FWidth = 0;
    bool FUseImageHeight = true;
    bool FVisible = false;
};

// ---------------------------------------------------------------- edit

class TCustomDBEditEh : public QLineEdit
{
public:
    explicit TCustomDBEditEh(QWidget* AParent = nullptr);
    ~TCustomDBEditEh() override;

    // ---- data
    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* Value);
    QString DataField() const { return FDataLink->FieldName(); }
    void SetDataField(const QString& Value);
    TField* Field() const { return FDataLink->Field(); }
    TFieldDataLinkEh* DataLink() const { return FDataLink.get(); }
    // The edit's text; writing it stores it through the link (a bound edit
    // puts its dataset into Edit first).
    QString Text() const { return text(); }
    void SetText(const QString& Value);
    Variant Value() const { return GetValue(); }
    void SetValue(const Variant& Value) { SetVariantValue(Value); }
    bool Modified() const { return FDataLink->Modified(); }

    // ---- settings
    TAlignment Alignment() const;
    void SetAlignment(TAlignment Value);
    bool AlwaysShowBorder() const { return FAlwaysShowBorder; }
    void SetAlwaysShowBorder(bool Value);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    // Typed and shown text in one case.
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    QChar PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(QChar Value);
    QString EditMask() const { return FEditMask; }
    void SetEditMask(const QString& Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    // 0 = no limit; a string field gives its size.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    // Not owned; the holder outlives the edit.
    IInplaceEditHolderEh* InplaceEditHolder() const { return FInplaceEditHolder; }
    void SetInplaceEditHolder(IInplaceEditHolderEh* Value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    // Several lines, wrapped at the edit's width: a plain-text editor then
    // shows and takes the text over the line edit, which still holds it.
    bool WordWrap() const { return FWrapEdit != nullptr; }
    void SetWordWrap(bool Value);
    TEditImageEh* EditImage() const { return FEditImage.get(); }
    // The main button (hidden until made visible) and the extra buttons
    // beside it; the control showing each (0 the main one), for a test.
    TEditButtonEh* EditButton() const;
    TEditButtonsEh* EditButtons() const { return FEditButtons.get(); }
    TEditButtonControlEh* EditButtonControl(int Index) const;
    // Earlier entries offered while typing (off until made Active).
    TMRUListEh* MRUList() const { return FMRUList.get(); }
    TMRUListboxEh* MRUListbox() const { return FMRUListbox; }
    bool MRUDroppedDown() const;
    // Text shown while the edit is focused comes from the field's edit text.
    bool FocusedForEditing() const { return FFocused; }

    // Height from the font (and a taller image) with AutoSize.
    virtual void AdjustHeight();
    // Client area less the image at the left.
    virtual QRect GetEditRect() const;
    // Stores the text through the link, after OnUpdateData.
    virtual void CommitEdit();

    // Classic input: keys reach these before the line edit's own handling.
    virtual void KeyDown(int& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);
    virtual void DoEnter();
    virtual void DoExit();

    std::function<void(QObject* Sender, bool& Handled)> OnUpdateData;
    std::function<void(QObject* Sender, bool& Handled)> OnButtonClick;
    std::function<void(QObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled)> OnButtonDown;
    std::function<void(QObject* Sender)> OnChange;
    std::function<void(QObject* Sender, int& Key, TShiftState Shift)> OnKeyDown;
    std::function<void(QObject* Sender, QChar& Key)> OnKeyPress;
    std::function<void(QObject* Sender)> OnEnter;
    std::function<void(QObject* Sender)> OnExit;

protected:
    // The main button: a plain one; the number edit makes a drop-down one.
    virtual std::unique_ptr<TEditButtonEh> CreateEditButton();
    // A press of the main button not handled by OnButtonDown: drop-down
    // buttons open the MRU list (the number edit: the calculator).
    virtual void PressMainButton(bool TopButton);
    // Lays the buttons out at the right and narrows the text to their left.
    void LayoutButtons();
    // Makes the main button again through CreateEditButton (a descendant's
    // constructor calls it, as the base's could not reach its factory).
    void ResetEditButton();
    void CloseMRUList(bool Accept);
    void UpdateMRUList(bool ShowAll);
    virtual bool IsUnbound() const { return FDataLink->Unbound(); }
    virtual Variant GetValue() const { return Variant(text()); }
    virtual QString GetDisplayTextForState() const;
    // Whether the field accepts a typed character.
    virtual bool IsValidChar(QChar Key) const;
    // Field or own value to text.
    virtual void UpdateControlText();
    virtual void InternalSetText(const QString& Value);
    virtual void InternalSetValue(const Variant& Value);
    virtual void UpdateFieldFromText();
    virtual void SetVariantValue(const Variant& Value);
    void EditForWrite();
    virtual bool CheckReadOnly() const;
    void RefreshReadOnlyState();
    virtual void UpdateMaxLength();
    // Sets the line edit's text without counting as the user's change.
    void SetControlText(const QString& Value);
    bool SettingText() const { return FSettingText; }
    // Selects the whole text in whichever editor shows it.
    void SelectAllText();
    // The user changed the text (typing, paste, cut).
    virtual void TextEdited();
    // The clipboard's text pasted by Ctrl+V or the context menu.
    virtual void PasteFromClipboard();
    // Code wrote the line edit's text directly: an unbound edit takes it
    // as its value, so a later refresh does not bring back an older one.
    virtual void TextSetByCode();

    void keyPressEvent(QKeyEvent* Event) override;
    // Composed text takes the road of typed keys (KeyPress, IsValidChar).
    void inputMethodEvent(QInputMethodEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;
    void enterEvent(QEnterEvent* Event) override;
    void leaveEvent(QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    bool event(QEvent* Event) override;

    void LayoutChanged();

private:
    friend class TEditImageEh;
    friend class TWrapEditEh;
    // Hands a key to the editor that shows the text.
    void PassKey(QKeyEvent* Event);
    void PlaceWrapEdit();
    void DataChanged();
    void EditingChanged();
    void UpdateData();
    void ActiveChanged();
    void UpdateFieldAlignment();
    void KeepCharCase();
    void ApplyInputMask(const QString& Mask);
    void ButtonDown(int Index, bool TopButton, bool& AutoRepeat);
    void ButtonClick(int Index);
    bool MRUKeyDown(int& Key, TShiftState Shift);
    bool ShortCutKeyDown(int& Key, TShiftState Shift);

    std::unique_ptr<TFieldDataLinkEh> FDataLink;
    std::unique_ptr<TEditImageEh> FEditImage;
    mutable std::unique_ptr<TEditButtonEh> FEditButton;
    std::unique_ptr<TEditButtonsEh> FEditButtons;
    std::vector<TEditButtonControlEh*> FButtonControls;
    std::unique_ptr<TMRUListEh> FMRUList;
    TWrapEditEh* FWrapEdit = nullptr;
    TMRUListboxEh* FMRUListbox = nullptr;
    int FButtonsWidth = 0;
    QString FEditMask;
    TAlignment FAlignment = taLeftJustify;
    int FMaxLength = 0;
    bool FAlignmentSet = false;
    bool FEditMaskSet = false;
    bool FAlwaysShowBorder = false;
    TEditCharCase FCharCase = ecNormal;
    QChar FPasswordChar;
    bool FAutoSelect = true;
    bool FAutoSize = true;
    bool FFlat = false;
    bool FReadOnly = false;
    bool FWantTabs = false;
    bool FWantReturns = false;
    IInplaceEditHolderEh* FInplaceEditHolder = nullptr;
    // WantTabs, or the holder wants them.
    bool TakesTabs() const;
    bool FFocused = false;
    bool FMouseInside = false;
    bool FInUpdateData = false;
    bool FSettingText = false;
    bool FMouseEntry = false;
    bool FInKeyEvent = false;
    bool FSyncingWrap = false;
    // The user's change stays while the record enters edit state.
    bool FKeepingText = false;
    QEvent* FPassedUp = nullptr;
};

class TDBEditEh : public TCustomDBEditEh
{
public:
    using TCustomDBEditEh::TCustomDBEditEh;
};

// ---------------------------------------------------------------- number edit

// How a number edit reads and checks typed text; pure, so the rules can be
// tested apart from the control.
namespace NumberEditEh {
// The edit format a display format gives: only "#", ",", "." and "0" of its
// first section, quoted text and exponents left out.
QString EditFormatFromDisplayFormat(const QString& DisplayFormat);
// Blanks trimmed, thousand separators removed, "." or "," read as the
// decimal separator when neither separator is that character.
QString Normalize(const QString& Text, const TFormatSettings& Settings);
// Whether text typed so far may stand: signs, digits, E and the separator
// only; "+" or "-" alone or a number; no more decimals than allowed; no
// negative number when the range is non-negative.
bool IsValidText(const QString& Text, int DecimalPlaces, double MinValue, double MaxValue,
                 const TFormatSettings& Settings);
// The value limited by MinValue..MaxValue; equal bounds, or two non-zero
// bounds in the wrong order, set no limit.
double LimitToRange(double Value, double MinValue, double MaxValue);
// The integer part of typed text with thousand separators every three digits.
QString WithThousands(const QString& Text, const TFormatSettings& Settings);
} // namespace NumberEditEh

class TCustomDBNumberEditEh : public TCustomDBEditEh
{
public:
    explicit TCustomDBNumberEditEh(QWidget* AParent = nullptr);
    ~TCustomDBNumberEditEh() override;

    // ---- defaulted from the field until set
    QString DisplayFormat() const;
    void SetDisplayFormat(const QString& Value);
    bool Currency() const;
    void SetCurrency(bool Value);
    double MaxValue() const;
    void SetMaxValue(double Value);
    double MinValue() const;
    void SetMinValue(double Value);
    // ---- own
    int DecimalPlaces() const { return FDecimalPlaces; }
    void SetDecimalPlaces(int Value);
    double Increment() const { return FIncrement; }
    void SetIncrement(double Value) { FIncrement = Value; }
    // What the text is formatted with while typing.
    QString EditFormat() const { return FEditFormat; }
    // The text shown for the current value when not editing.
    virtual QString GetDisplayTextForValue() const;

    // Steps the value by Increment, up or down, within the range.
    void Step(bool Up);

    // ---- calculator
    virtual TPopupCalculatorEh* GetCalculator();
    bool DroppedDown() const { return FDroppedDown; }
    // Opens the calculator under the edit (above when there is no room).
    virtual void DropDown();
    // Closes it; with Accept its value becomes the edit's.
    virtual void CloseUp(bool Accept);
    std::function<void(QObject* Sender)> OnDropDown;
    std::function<void(QObject* Sender, bool Accept)> OnCloseUp;

    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void DoExit() override;

protected:
    std::unique_ptr<TEditButtonEh> CreateEditButton() override;
    void PressMainButton(bool TopButton) override;
    Variant GetValue() const override { return FValue; }
    bool IsValidChar(QChar Key) const override;
    void UpdateControlText() override;
    void InternalSetText(const QString& Value) override;
    void InternalSetValue(const Variant& Value) override;
    void UpdateFieldFromText() override;
    void TextEdited() override;
    void PasteFromClipboard() override;
    void TextSetByCode() override;
    void wheelEvent(QWheelEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;

private:
    enum TAssigned { naDisplayFormat = 1, naCurrency = 2, naMaxValue = 4, naMinValue = 8 };
    void UpdateEditFormat();
    void RefreshText();
    // The text the user leaves: "+"/"-" is 0, else converted and limited.
    // False when it is not a number (text and value are kept).
    bool TakeTypedText();
    bool CanStep() const;

    int FAssigned = 0;
    bool FCurrency = false;
    int FDecimalPlaces = 2;
    QString FDisplayFormat;
    TPopupCalculatorEh* FCalculator = nullptr;
    QString FEditFormat;
    double FIncrement = 1;
    double FMinValue = 0;
    double FMaxValue = 0;
    bool FInSetText = false;
    bool FDroppedDown = false;
    Variant FValue = Variant::Null();
};

class TDBNumberEditEh : public TCustomDBNumberEditEh
{
public:
    using TCustomDBNumberEditEh::TCustomDBNumberEditEh;
};
