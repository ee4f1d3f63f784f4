#include "grid/DBCtrlsEh.h"

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"
#include "platform/gui/Grids.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/StdCtrls.h"
#include "grid/ToolCtrlsEh.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QTextCursor>
#include <algorithm>

// ---------------------------------------------------------------- TFieldDataLinkEh

void TFieldDataLinkEh::SetFieldName(const QString& Value)
{
    if (Value == FFieldName)
        return;
    FFieldName = Value;
    UpdateUnbound();
    UpdateField();
}

// Changing between bound and unbound forgets the own value.
void TFieldDataLinkEh::UpdateUnbound()
{
    const bool Unbound = !DataSource() && FFieldName.isEmpty();
    if (Unbound == FUnbound)
        return;
    FUnbound = Unbound;
    FValue = Variant::Null();
    FEditing = false;
    if (OnDataChange)
        OnDataChange();
}

void TFieldDataLinkEh::UpdateField()
{
    FFields.clear();
    TDataSet* D = DataSet();
    if (Active() && D && !FFieldName.isEmpty()) {
        if (FMultiFields) {
            for (const QString& Name : FFieldName.split(u';', Qt::SkipEmptyParts))
                FFields.push_back(D->FieldByName(Name.trimmed()));
        } else {
            FFields.push_back(D->FieldByName(FFieldName));
        }
    }
    if (OnDataChange)
        OnDataChange();
}

bool TFieldDataLinkEh::LinkEditing() const
{
    return FUnbound ? FEditing : Editing();
}

bool TFieldDataLinkEh::CanModify() const
{
    if (FUnbound)
        return true;
    if (ReadOnly() || FFields.empty())
        return false;
    for (TField* F : FFields)
        if (!F->CanModify())
            return false;
    return true;
}

bool TFieldDataLinkEh::Edit()
{
    if (FUnbound) {
        if (!FEditing) {
            FEditing = true;
            FModified = false;
            if (OnEditingChange)
                OnEditingChange();
        }
        return true;
    }
    return CanModify() && TDataLink::Edit();
}

void TFieldDataLinkEh::Reset()
{
    RecordChanged(nullptr);
}

void TFieldDataLinkEh::SetText(const QString& Text)
{
    if (FUnbound) {
        FValue = Variant(Text);
        if (OnDataChange)
            OnDataChange();
        return;
    }
    if (TField* F = Field()) {
        if (F->DataType() == ftMemo)
            F->SetAsString(Text);
        else
            F->SetText(Text);
    }
}

void TFieldDataLinkEh::SetValue(const Variant& Value)
{
    if (FUnbound) {
        FValue = Value;
        return;
    }
    if (FFields.size() == 1 || Value.IsNull() || Value.IsEmpty()) {
        for (TField* F : FFields)
            F->SetValue(Value.IsEmpty() ? Variant::Null() : Value);
        return;
    }
    if (!Value.IsArray()) {
        FFields.front()->SetValue(Value);
        return;
    }
    // Several fields take the elements of an array in order.
    const QList<Variant> Values = Value.Elements();
    for (size_t i = 0; i < FFields.size(); ++i)
        FFields[i]->SetValue(qsizetype(i) < Values.size() ? Values[qsizetype(i)] : Variant::Null());
}

void TFieldDataLinkEh::ActiveChanged()
{
    UpdateField();
    if (OnActiveChange)
        OnActiveChange();
}

void TFieldDataLinkEh::EditingChanged()
{
    if (OnEditingChange)
        OnEditingChange();
}

void TFieldDataLinkEh::LayoutChanged()
{
    UpdateField();
}

void TFieldDataLinkEh::RecordChanged(TField* Field)
{
    if (Field && std::find(FFields.begin(), FFields.end(), Field) == FFields.end())
        return;
    if (OnDataChange)
        OnDataChange();
    FModified = false;
}

void TFieldDataLinkEh::UpdateData()
{
    if (!FModified)
        return;
    if (OnUpdateData)
        OnUpdateData();
    FModified = false;
}

// ---------------------------------------------------------------- TEditImageEh

void TEditImageEh::SetImageIndex(int Value)
{
    if (Value == FImageIndex)
        return;
    FImageIndex = Value;
    FEdit->update();
}

void TEditImageEh::SetImages(TImageList* Value)
{
    if (Value == FImages)
        return;
    FImages = Value;
    if (Value)
        QObject::connect(Value, &QObject::destroyed, FEdit, [this] { Changed(); });
    Changed();
}

void TEditImageEh::SetUseImageHeight(bool Value)
{
    if (Value == FUseImageHeight)
        return;
    FUseImageHeight = Value;
    Changed();
}

void TEditImageEh::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    Changed();
}

void TEditImageEh::SetWidth(int Value)
{
    if (Value == FWidth)
        return;
    FWidth = Value;
    Changed();
}

void TEditImageEh::Assign(const TEditImageEh& Source)
{
    SetImages(Source.FImages);
    SetImageIndex(Source.FImageIndex);
    SetVisible(Source.FVisible);
    SetWidth(Source.FWidth);
}

int TEditImageEh::AreaWidth() const
{
    if (!FVisible || !FImages)
        return 0;
    return (FWidth < 1 ? FImages->Width() : FWidth) + 4;
}

void TEditImageEh::Changed()
{
    FEdit->LayoutChanged();
    FEdit->AdjustHeight();
}

// ---------------------------------------------------------------- TWrapEditEh

// The word-wrapping editor over the edit: its keys and focus go through the
// edit's own rules, which hand the keys back to it.
class TWrapEditEh : public TWrapView
{
public:
    explicit TWrapEditEh(TCustomDBEditEh* AEdit) : TWrapView(AEdit), FEdit(AEdit)
    {
        setFrameStyle(QFrame::NoFrame);
        setLineWrapMode(QPlainTextEdit::WidgetWidth);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setTabChangesFocus(true);
        document()->setDocumentMargin(1);
    }

protected:
    void keyPressEvent(QKeyEvent* Event) override
    {
        FEdit->keyPressEvent(Event);
        // A key the edit let go of goes on to its parent as it would from
        // the line edit, without passing the edit's rules a second time.
        if (!Event->isAccepted())
            FEdit->FPassedUp = Event;
    }
    void inputMethodEvent(QInputMethodEvent* Event) override
    {
        TypeCommittedText(this, Event, [this](QKeyEvent* Key) { FEdit->keyPressEvent(Key); },
                          [this](QInputMethodEvent* Rest) { TWrapView::inputMethodEvent(Rest); });
    }
    bool focusNextPrevChild(bool Next) override
    {
        return FEdit->TakesTabs() ? false : TWrapView::focusNextPrevChild(Next);
    }
    void focusInEvent(QFocusEvent* Event) override
    {
        TWrapView::focusInEvent(Event);
        FEdit->focusInEvent(Event);
    }
    void focusOutEvent(QFocusEvent* Event) override
    {
        TWrapView::focusOutEvent(Event);
        FEdit->focusOutEvent(Event);
    }

private:
    TCustomDBEditEh* FEdit;
};

// ---------------------------------------------------------------- TCustomDBEditEh

TCustomDBEditEh::TCustomDBEditEh(QWidget* AParent)
    : QLineEdit(AParent), FDataLink(std::make_unique<TFieldDataLinkEh>()),
      FEditImage(std::make_unique<TEditImageEh>(this)), FEditButtons(std::make_unique<TEditButtonsEh>(this)),
      FMRUList(std::make_unique<TMRUListEh>(this))
{
    FEditButtons->OnChanged = [this](TEditButtonsEh*) { LayoutButtons(); };
    FDataLink->OnDataChange = [this] { DataChanged(); };
    FDataLink->OnEditingChange = [this] { EditingChanged(); };
    FDataLink->OnUpdateData = [this] { UpdateData(); };
    FDataLink->OnActiveChange = [this] { ActiveChanged(); };
    QObject::connect(this, &QLineEdit::textEdited, this, [this] {
        KeepCharCase();
        TextEdited();
    });
    QObject::connect(this, &QLineEdit::textChanged, this, [this] {
        if (FWrapEdit && !FSyncingWrap) {
            FSyncingWrap = true;
            FWrapEdit->setPlainText(text());
            FSyncingWrap = false;
        }
        if (!FSettingText && !FInKeyEvent)
            TextSetByCode();
        if (OnChange)
            OnChange(this);
    });
    setMaxLength(32767);
    KeepWholeCharacters(this);
    AdjustHeight();
}

TCustomDBEditEh::~TCustomDBEditEh()
{
    FDataLink->OnDataChange = nullptr;
    FDataLink->OnEditingChange = nullptr;
    FDataLink->OnUpdateData = nullptr;
    FDataLink->OnActiveChange = nullptr;
    FEditButtons->OnChanged = nullptr;
}

TDataSource* TCustomDBEditEh::DataSource() const
{
    return FDataLink->DataSource();
}

void TCustomDBEditEh::SetDataSource(TDataSource* Value)
{
    if (Value == FDataLink->DataSource())
        return;
    FDataLink->SetDataSource(Value);
    FDataLink->UpdateUnbound();
    FDataLink->UpdateField();
}

void TCustomDBEditEh::SetDataField(const QString& Value)
{
    FDataLink->SetFieldName(Value);
}

void TCustomDBEditEh::SetControlText(const QString& Value)
{
    const QString Cased = CharCaseText(Value, FCharCase);
    if (Cased == text() || FKeepingText)
        return;
    FSettingText = true;
    SetLineEditText(this, Cased);
    FSettingText = false;
}

void TCustomDBEditEh::SetCharCase(TEditCharCase Value)
{
    if (Value == FCharCase)
        return;
    FCharCase = Value;
    KeepCharCase();
}

// Typed or pasted text takes the edit's case; the caret and selection stay.
void TCustomDBEditEh::KeepCharCase()
{
    const QString Cased = CharCaseText(text(), FCharCase);
    if (Cased == text())
        return;
    const int Caret = cursorPosition(), Start = selectionStart(), Length = int(selectedText().size());
    SetLineEditText(this, Cased);
    if (Length > 0)
        setSelection(Start, Length);
    else
        setCursorPosition(Caret);
}

void TCustomDBEditEh::SetPasswordChar(QChar Value)
{
    if (Value == FPasswordChar)
        return;
    FPasswordChar = Value;
    ::SetPasswordChar(this, Value);
}

// A value set from code first puts the record (or the own value) in edit state.
void TCustomDBEditEh::EditForWrite()
{
    if (!IsUnbound()) {
        TDataSet* D = FDataLink->DataSet();
        if (!D)
            throw EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
        D->Edit();
    } else {
        FDataLink->Edit();
    }
}

void TCustomDBEditEh::SetText(const QString& Value)
{
    EditForWrite();
    InternalSetText(Value);
    if (!FInUpdateData)
        CommitEdit();
}

void TCustomDBEditEh::SetVariantValue(const Variant& Value)
{
    EditForWrite();
    InternalSetValue(Value);
    if (!FInUpdateData)
        CommitEdit();
}

void TCustomDBEditEh::InternalSetText(const QString& Value)
{
    SetControlText(Value);
    FDataLink->SetModified();
}

void TCustomDBEditEh::InternalSetValue(const Variant& Value)
{
    InternalSetText(VarToStr(Value));
}

TAlignment TCustomDBEditEh::Alignment() const
{
    if (FAlignmentSet)
        return FAlignment;
    return Field() ? Field()->Alignment() : taLeftJustify;
}

void TCustomDBEditEh::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    FAlignmentSet = true;
    UpdateFieldAlignment();
}

void TCustomDBEditEh::UpdateFieldAlignment()
{
    const TAlignment A = Alignment();
    const Qt::Alignment Flags = A == taRightJustify ? Qt::AlignRight : A == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
    setAlignment(Flags | Qt::AlignVCenter);
}

void TCustomDBEditEh::SetAlwaysShowBorder(bool Value)
{
    if (Value == FAlwaysShowBorder)
        return;
    FAlwaysShowBorder = Value;
    update();
}

void TCustomDBEditEh::SetAutoSize(bool Value)
{
    if (Value == FAutoSize)
        return;
    FAutoSize = Value;
    AdjustHeight();
}

void TCustomDBEditEh::SetEditMask(const QString& Value)
{
    FEditMask = Value;
    FEditMaskSet = true;
    ApplyInputMask(Value);
}

void TCustomDBEditEh::ApplyInputMask(const QString& Mask)
{
    const QString Input = InputMaskFromEditMask(Mask);
    if (Input != inputMask()) {
        FSettingText = true;
        setInputMask(Input);
        FSettingText = false;
    }
}

void TCustomDBEditEh::SetFlat(bool Value)
{
    if (Value == FFlat)
        return;
    FFlat = Value;
    setFrame(!Value);
    LayoutButtons();
    AdjustHeight();
}

void TCustomDBEditEh::SetMaxLength(int Value)
{
    FMaxLength = std::max(0, Value);
    UpdateMaxLength();
}

void TCustomDBEditEh::UpdateMaxLength()
{
    int Limit = FMaxLength;
    if (Limit == 0 && Field() && (Field()->DataType() == ftString || Field()->DataType() == ftWideString))
        Limit = Field()->Size();
    // Setting the limit re-sets the text and so the selection: only on a change.
    if (const int Max = Limit > 0 ? Limit : 32767; Max != maxLength())
        setMaxLength(Max);
}

void TCustomDBEditEh::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    RefreshReadOnlyState();
}

bool TCustomDBEditEh::CheckReadOnly() const
{
    if (FReadOnly || (!FDataLink->CanModify() && !IsUnbound()))
        return true;
    return FInplaceEditHolder && !FInplaceEditHolder->InplaceEditCanModify(this);
}

void TCustomDBEditEh::SetInplaceEditHolder(IInplaceEditHolderEh* Value)
{
    FInplaceEditHolder = Value;
    RefreshReadOnlyState();
}

bool TCustomDBEditEh::TakesTabs() const
{
    return FWantTabs || (FInplaceEditHolder && FInplaceEditHolder->InplaceEditWantTabs(this));
}

void TCustomDBEditEh::RefreshReadOnlyState()
{
    const bool R = CheckReadOnly();
    if (R != isReadOnly())
        setReadOnly(R);
    if (FWrapEdit)
        FWrapEdit->setReadOnly(R);
}

void TCustomDBEditEh::SelectAllText()
{
    selectAll();
    if (FWrapEdit)
        FWrapEdit->selectAll();
}

void TCustomDBEditEh::SetWordWrap(bool Value)
{
    if (Value == WordWrap())
        return;
    if (!Value) {
        delete FWrapEdit;
        FWrapEdit = nullptr;
        setFocusProxy(nullptr);
        AdjustHeight();
        update();
        return;
    }
    FWrapEdit = new TWrapEditEh(this);
    FWrapEdit->setPlainText(text());
    // What the user types there becomes the line edit's text, which the
    // link, the commit and the display rules work on; the view then shows
    // what the line edit took, so that the field gets what the box shows.
    // The view kept to the limit where the text went in.
    QObject::connect(FWrapEdit, &QPlainTextEdit::textChanged, this, [this] {
        if (FSyncingWrap)
            return;
        const QString Shown = FWrapEdit->toPlainText();
        const QString Old = text();
        try {
            {
                const QScopedValueRollback<bool> Syncing(FSyncingWrap, true);
                const QScopedValueRollback<bool> InKey(FInKeyEvent, true);
                setText(LeftWholeChars(Shown, maxLength()));
                if (text() != Shown) {
                    const int Caret = FWrapEdit->textCursor().position();
                    FWrapEdit->setPlainText(text());
                    QTextCursor C = FWrapEdit->textCursor();
                    C.setPosition(std::min(Caret, int(text().size())));
                    FWrapEdit->setTextCursor(C);
                }
            }
            if (text() != Old)
                TextEdited();
        } catch (const std::exception& E) {
            Application()->HandleException(E);
        }
    });
    setFocusProxy(FWrapEdit);
    RefreshReadOnlyState();
    PlaceWrapEdit();
    FWrapEdit->show();
}

void TCustomDBEditEh::PlaceWrapEdit()
{
    if (!FWrapEdit)
        return;
    const int Frame = FFlat ? 1 : 2;
    FWrapEdit->setGeometry(GetEditRect().adjusted(Frame + (FFlat ? 1 : 0), Frame, -Frame, -Frame));
}

void TCustomDBEditEh::PassKey(QKeyEvent* Event)
{
    if (FWrapEdit)
        FWrapEdit->TakeKey(Event);
    else
        LineEditKeyPress(this, Event, [this](QKeyEvent* Key) { QLineEdit::keyPressEvent(Key); });
}

QString TCustomDBEditEh::GetDisplayTextForState() const
{
    if (TField* F = Field())
        return F->DisplayText();
    return text();
}

bool TCustomDBEditEh::IsValidChar(QChar Key) const
{
    return !Field() || Field()->IsValidChar(Key);
}

// ---- link notifications

void TCustomDBEditEh::DataChanged()
{
    UpdateFieldAlignment();
    UpdateControlText();
}

void TCustomDBEditEh::EditingChanged()
{
    RefreshReadOnlyState();
}

void TCustomDBEditEh::ActiveChanged()
{
    RefreshReadOnlyState();
}

void TCustomDBEditEh::UpdateData()
{
    CommitEdit();
}

void TCustomDBEditEh::UpdateControlText()
{
    if (TField* F = Field()) {
        if (!FEditMaskSet)
            ApplyInputMask(F->EditMask());
        UpdateMaxLength();
        const bool Memo = F->DataType() == ftMemo;
        if (FFocused && FDataLink->CanModify())
            SetControlText(Memo ? F->AsString() : F->Text());
        else
            SetControlText(Memo ? F->AsString() : F->DisplayText());
    } else if (IsUnbound()) {
        if (!FEditMaskSet)
            ApplyInputMask(QString());
        UpdateMaxLength();
        SetControlText(VarToStr(FDataLink->OwnValue()));
    } else {
        SetControlText(QString());
    }
    RefreshReadOnlyState();
    FDataLink->ClearModified();
}

void TCustomDBEditEh::CommitEdit()
{
    if (FInUpdateData)
        return;
    FInUpdateData = true;
    try {
        bool Handled = false;
        if (OnUpdateData)
            OnUpdateData(this, Handled);
        if (!Handled)
            UpdateFieldFromText();
        if (FMRUList->Active() && !CheckReadOnly())
            FMRUList->Add(text());
    } catch (...) {
        FInUpdateData = false;
        throw;
    }
    FInUpdateData = false;
    FDataLink->ClearModified();
}

void TCustomDBEditEh::UpdateFieldFromText()
{
    FDataLink->SetText(text());
}

void TCustomDBEditEh::TextSetByCode()
{
    if (IsUnbound())
        FDataLink->SetValue(Variant(text()));
}

void TCustomDBEditEh::TextEdited()
{
    if (FSettingText)
        return;
    // Cut and undo from the context menu, a drop and a middle click change
    // the text without a key: the record goes into edit state now and keeps
    // the changed text. The record's refresh as it enters edit state leaves
    // the text alone, which keeps the caret and the undo history of the box
    // that shows it. A record that refuses shows what it holds again.
    if (!IsUnbound() && !FDataLink->LinkEditing() && !CheckReadOnly()) {
        try {
            const QScopedValueRollback<bool> Keeping(FKeepingText, true);
            FDataLink->Edit();
        } catch (const std::exception& E) {
            FDataLink->Reset();
            Application()->HandleException(E);
            return;
        }
    }
    FDataLink->SetModified();
    if (FMRUList->Active() || MRUDroppedDown())
        UpdateMRUList(false);
}

// ---- input

void TCustomDBEditEh::KeyDown(int& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
    if (Key == 0 || MRUKeyDown(Key, Shift) || ShortCutKeyDown(Key, Shift))
        return;
    // Enter stores the text and still reaches the window's default button,
    // unless it starts a new line of a word-wrapping edit.
    if (Key == VK_RETURN && Modified() && !(FWrapEdit && FWantReturns))
        CommitEdit();
    if (Key == 'A' && Shift == TShiftState{ssCtrl}) {
        SelectAllText();
        Key = 0;
        return;
    }
    if ((Key == VK_DELETE || (Key == VK_INSERT && Shift.Contains(ssShift))) && !CheckReadOnly())
        FDataLink->Edit();
}

void TCustomDBEditEh::KeyPress(QChar& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
    if (Key.isNull())
        return;
    const ushort Code = Key.unicode();
    if (Code >= 32 && !IsUnbound() && !IsValidChar(Key)) {
        QApplication::beep();
        Key = QChar();
        return;
    }
    if (Code == 27) {
        FDataLink->Reset();
        SelectAllText();
        Key = QChar();
        return;
    }
    if ((Code == 8 || Code == 22 || Code == 24 || Code >= 32) && !CheckReadOnly())
        FDataLink->Edit();
}

void TCustomDBEditEh::keyPressEvent(QKeyEvent* Event)
{
    struct TGuard
    {
        bool& Flag;
        bool Old;
        ~TGuard() { Flag = Old; }
    } Guard{FInKeyEvent, FInKeyEvent};
    FInKeyEvent = true;
    try {
        int Key = VirtualKeyFromQt(Event);
        if (Key != 0) {
            KeyDown(Key, ShiftStateFromQt(Event->modifiers(), Qt::NoButton));
            if (Key == 0) {
                Event->accept();
                return;
            }
        }
        const QChar Char = KeyCharFromQt(Event);
        if (Char.isNull()) {
            PassKey(Event);
            return;
        }
        QChar Typed = Char;
        KeyPress(Typed);
        if (Typed.isNull()) {
            Event->accept();
            return;
        }
        const ushort Code = Typed.unicode();
        if ((Code == 13 && !FWantReturns) || (Code == 9 && !TakesTabs()) || Code == 10) {
            Event->ignore();
            return;
        }
        if (Typed == Char || Code < 32) {
            PassKey(Event);
            return;
        }
        QKeyEvent Changed(QEvent::KeyPress, 0, Event->modifiers() & ~Qt::ControlModifier, QString(Typed));
        PassKey(&Changed);
    } catch (const std::exception& E) {
        Application()->HandleException(E);
    }
}

void TCustomDBEditEh::inputMethodEvent(QInputMethodEvent* Event)
{
    TypeCommittedText(this, Event, [this](QKeyEvent* Key) { keyPressEvent(Key); },
                      [this](QInputMethodEvent* Rest) { QLineEdit::inputMethodEvent(Rest); });
}

bool TCustomDBEditEh::event(QEvent* Event)
{
    if (Event == FPassedUp) {
        FPassedUp = nullptr;
        Event->ignore();
        return false;
    }
    if (Event->type() == QEvent::KeyPress && TakesTabs()) {
        auto* K = static_cast<QKeyEvent*>(Event);
        if (K->key() == Qt::Key_Tab || K->key() == Qt::Key_Backtab) {
            keyPressEvent(K);
            return true;
        }
    }
    return QLineEdit::event(Event);
}

void TCustomDBEditEh::focusInEvent(QFocusEvent* Event)
{
    FMouseEntry = Event->reason() == Qt::MouseFocusReason;
    QLineEdit::focusInEvent(Event);
    // The window coming back, or a menu closing, is no new entry: the text
    // typed so far stays.
    if (FFocused)
        return;
    try {
        DoEnter();
    } catch (const std::exception& E) {
        Application()->HandleException(E);
    }
}

void TCustomDBEditEh::focusOutEvent(QFocusEvent* Event)
{
    CloseMRUList(false);
    QLineEdit::focusOutEvent(Event);
    if (Event->reason() == Qt::ActiveWindowFocusReason || Event->reason() == Qt::PopupFocusReason)
        return;
    try {
        DoExit();
    } catch (const std::exception& E) {
        // A text the field does not take stays in the edit, which keeps the focus.
        Application()->HandleException(E);
        FFocused = true;
        setFocus(Qt::OtherFocusReason);
    }
}

void TCustomDBEditEh::DoEnter()
{
    FFocused = true;
    UpdateControlText();
    if (FAutoSelect && !FMouseEntry)
        SelectAllText();
    FMouseEntry = false;
    update();
    if (OnEnter)
        OnEnter(this);
}

void TCustomDBEditEh::DoExit()
{
    if (Modified())
        CommitEdit();
    FFocused = false;
    UpdateControlText();
    update();
    if (OnExit)
        OnExit(this);
}

// ---- layout and painting

void TCustomDBEditEh::AdjustHeight()
{
    // Several lines need the height they were given.
    if (!FAutoSize || FWrapEdit)
        return;
    const int Allowance = 8 - (FFlat ? 2 : 0);
    int H = QFontMetrics(font()).height() + Allowance;
    if (FEditImage->Visible() && FEditImage->UseImageHeight() && FEditImage->Images())
        H = std::max(H, FEditImage->Images()->Height() + Allowance);
    if (H != height())
        resize(width(), H);
}

QRect TCustomDBEditEh::GetEditRect() const
{
    QRect R = rect();
    R.setLeft(R.left() + FEditImage->AreaWidth());
    if (FButtonsWidth > 0)
        R.setRight(R.right() - FButtonsWidth - (FFlat ? 1 : 2));
    return R;
}

void TCustomDBEditEh::LayoutChanged()
{
    const int Border = FFlat ? 2 : 0;
    setTextMargins(FEditImage->AreaWidth() + Border, Border / 2, Border + FButtonsWidth, Border / 2);
    PlaceWrapEdit();
    update();
}

void TCustomDBEditEh::resizeEvent(QResizeEvent* Event)
{
    QLineEdit::resizeEvent(Event);
    LayoutButtons();
}

void TCustomDBEditEh::enterEvent(QEnterEvent* Event)
{
    QLineEdit::enterEvent(Event);
    FMouseInside = true;
    if (FFlat)
        update();
}

void TCustomDBEditEh::leaveEvent(QEvent* Event)
{
    QLineEdit::leaveEvent(Event);
    FMouseInside = false;
    if (FFlat)
        update();
}

void TCustomDBEditEh::PasteFromClipboard()
{
    if (!CheckReadOnly())
        FDataLink->Edit();
    LineEditPaste(this);
}

// The menu's paste follows the same rules as Ctrl+V.
void TCustomDBEditEh::contextMenuEvent(QContextMenuEvent* Event)
{
    ExecEditContextMenuEh(this, Event->globalPos(), [this] {
        try {
            PasteFromClipboard();
        } catch (const std::exception& E) {
            Application()->HandleException(E);
        }
    });
}

void TCustomDBEditEh::paintEvent(QPaintEvent* Event)
{
    QLineEdit::paintEvent(Event);
    QPainter P(this);
    const TEditImageEh* Image = FEditImage.get();
    if (Image->AreaWidth() > 0 && Image->ImageIndex() >= 0) {
        const QImage I = Image->Images()->Image(Image->ImageIndex());
        if (!I.isNull())
            P.drawImage(QPoint(2, (height() - I.height()) / 2), I);
    }
    if (!FFlat)
        return;
    // The flat look: a thin sunken edge while focused, hovered or always
    // shown, else a frame in the button face colour.
    const QRect R = rect().adjusted(0, 0, -1, -1);
    if (hasFocus() || FMouseInside || FAlwaysShowBorder) {
        P.setPen(ColorToQColor(clBtnShadow));
        P.drawLine(R.topLeft(), R.topRight());
        P.drawLine(R.topLeft(), R.bottomLeft());
        P.setPen(ColorToQColor(clBtnHighlight));
        P.drawLine(R.bottomLeft(), R.bottomRight());
        P.drawLine(R.topRight(), R.bottomRight());
    } else {
        P.setPen(ColorToQColor(clBtnFace));
        P.drawRect(R);
    }
}
