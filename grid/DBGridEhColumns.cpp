#include "grid/DBGridEhColumns.h"

#include "grid/DBGridEh.h"
#include "grid/DBGridEhDropDownBox.h"
#include "grid/DBGridEhFilter.h"
#include "grid/DBSumLst.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Menus.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

#include <QFontMetrics>
#include <QLineEdit>

namespace {

bool IsWordWrapType(TFieldType Type)
{
    return Type == ftString || Type == ftMemo || Type == ftFmtMemo || Type == ftWideString;
}

QList<QString> SplitList(const QString& Text)
{
    return Text.split(u';');
}

} // namespace

// ---------------------------------------------------------------- TColumnEh

TColumnEh::TColumnEh(TDBGridColumnsEh* ACollection) : FCollection(ACollection)
{
    FLayoutWidth = DefaultWidth();
}

TColumnEh::~TColumnEh()
{
    if (TCustomDBGridEh* G = Grid())
        G->RemoveSortMarked(this);
    // Footers give their sums back to the grid's sum list.
    FFooters.reset();
    FFooter.reset();
}

TCustomDBGridEh* TColumnEh::Grid() const
{
    return FCollection ? FCollection->Grid() : nullptr;
}

int TColumnEh::Index() const
{
    return FCollection ? FCollection->IndexOf(this) : -1;
}

void TColumnEh::SetIndex(int Value)
{
    if (!FCollection || Value == Index())
        return;
    // A default column moves its field with it.
    TField* F = Field();
    if (IsDefaultColumn() && F && DataLinkActive() && Value >= 0 && Value < FCollection->Count())
        if (TField* Other = FCollection->Items(Value)->Field())
            F->SetIndex(Other->Index());
    FCollection->Move(Index(), Value);
}

QString TColumnEh::DisplayName() const
{
    return FFieldName.isEmpty() ? QStringLiteral("TColumnEh") : FFieldName;
}

bool TColumnEh::DataLinkActive() const
{
    TCustomDBGridEh* G = Grid();
    return G && G->DataLink()->Active();
}

template <class T>
void TColumnEh::SetValue(T& Field, T Value, TColumnValue Flag)
{
    if (FAssigned.Contains(Flag) && Field == Value)
        return;
    Field = Value;
    FAssigned << Flag;
    Changed();
}

void TColumnEh::Changed()
{
    if (FCollection)
        FCollection->Update(this);
}

// ---- properties with defaults

TAlignment TColumnEh::Alignment() const
{
    if (FAssigned.Contains(cvAlignment))
        return FAlignment;
    TField* F = Field();
    return F ? F->Alignment() : taLeftJustify;
}

void TColumnEh::SetAlignment(TAlignment Value)
{
    if (IsDefaultColumn() && DataLinkActive() && Field()) {
        Field()->SetAlignment(Value);
        return;
    }
    SetValue(FAlignment, Value, cvAlignment);
}

#define TB_GRID_DEFAULTED_BOOL(Name, Flag, Member)                                   \
    bool TColumnEh::Name() const                                                     \
    {                                                                                \
        if (FAssigned.Contains(Flag))                                                \
            return Member;                                                           \
        TCustomDBGridEh* G = Grid();                                                 \
        return G ? G->ColumnDefValues()->Name() : false;                             \
    }                                                                                \
    void TColumnEh::Set##Name(bool Value) { SetValue(Member, Value, Flag); }

TB_GRID_DEFAULTED_BOOL(AlwaysShowEditButton, cvAlwaysShowEditButton, FAlwaysShowEditButton)
TB_GRID_DEFAULTED_BOOL(AutoDropDown, cvAutoDropDown, FAutoDropDown)
TB_GRID_DEFAULTED_BOOL(DblClickNextVal, cvDblClickNextVal, FDblClickNextVal)
TB_GRID_DEFAULTED_BOOL(DropDownShowTitles, cvDropDownShowTitles, FDropDownShowTitles)
TB_GRID_DEFAULTED_BOOL(DropDownSizing, cvDropDownSizing, FDropDownSizing)
TB_GRID_DEFAULTED_BOOL(EndEllipsis, cvEndEllipsis, FEndEllipsis)
TB_GRID_DEFAULTED_BOOL(ToolTips, cvToolTips, FToolTips)

#undef TB_GRID_DEFAULTED_BOOL

void TColumnEh::SetAutoFitColWidth(bool Value)
{
    if (Value == FAutoFitColWidth)
        return;
    FAutoFitColWidth = Value;
    TCustomDBGridEh* G = Grid();
    if (G && G->AutoFitColWidths() && !G->Loading())
        SetWidth(FLayoutWidth);
    Changed();
}

void TColumnEh::SetButtonStyle(TColumnButtonStyleEh Value)
{
    if (Value == FButtonStyle)
        return;
    FButtonStyle = Value;
    Changed();
}

bool TColumnEh::Checkboxes() const
{
    if (FAssigned.Contains(cvCheckboxes))
        return FCheckboxes;
    TField* F = Field();
    return F && F->DataType() == ftBoolean;
}

void TColumnEh::SetCheckboxes(bool Value)
{
    SetValue(FCheckboxes, Value, cvCheckboxes);
}

TColor TColumnEh::Color() const
{
    if (FAssigned.Contains(cvColor))
        return FColor;
    TCustomDBGridEh* G = Grid();
    return G ? G->Color() : clWindow;
}

void TColumnEh::SetColor(TColor Value)
{
    SetValue(FColor, Value, cvColor);
}

void TColumnEh::SetDisplayFormat(const QString& Value)
{
    if (Value == FDisplayFormat)
        return;
    FDisplayFormat = Value;
    Changed();
}

void TColumnEh::SetDropDownRows(int Value)
{
    if (Value == FDropDownRows)
        return;
    FDropDownRows = Value;
    Changed();
}

void TColumnEh::SetDropDownWidth(int Value)
{
    if (Value == FDropDownWidth)
        return;
    FDropDownWidth = Value;
    Changed();
}

void TColumnEh::SetEditMask(const QString& Value)
{
    if (Value == FEditMask)
        return;
    FEditMask = Value;
    Changed();
}

void TColumnEh::SetFieldName(const QString& Value)
{
    TField* AField = nullptr;
    TCustomDBGridEh* G = Grid();
    if (G && !G->Loading() && G->DataLink()->DataSet() && !Value.isEmpty())
        AField = G->DataLink()->DataSet()->FindField(Value);
    FFieldName = Value;
    SetField(AField);
    FLayoutWidth = Width();
    Changed();
}

TField* TColumnEh::Field() const
{
    if (FField)
        return FField;
    TCustomDBGridEh* G = Grid();
    TDataSet* D = G ? G->DataLink()->DataSet() : nullptr;
    if (FFieldName.isEmpty() || !D || !D->Active())
        return nullptr;
    TField* Found = D->FindField(FFieldName);
    if (Found) {
        auto* Self = const_cast<TColumnEh*>(this);
        Self->FField = Found;
        Self->FFieldName = Found->FieldName();
        G->WatchField(Found);
        Self->EnsureSumValues();
    }
    return Found;
}

void TColumnEh::SetField(TField* Value)
{
    if (FField == Value)
        return;
    FField = Value;
    if (Value) {
        FFieldName = Value->FieldName();
        if (TCustomDBGridEh* G = Grid())
            G->WatchField(Value);
    }
    if (IsDefaultColumn()) {
        if (!Value)
            FFieldName.clear();
        RestoreDefaults();
        FLayoutWidth = Width();
    }
    EnsureSumValues();
    Changed();
}

TFont* TColumnEh::Font() const
{
    if (!FFont) {
        FFont = std::make_unique<TFont>();
        FFont->OnChange = [this](TFont*) { const_cast<TColumnEh*>(this)->FontChanged(); };
    }
    if (!FAssigned.Contains(cvFont))
        RefreshDefaultFont();
    return FFont.get();
}

void TColumnEh::RefreshDefaultFont() const
{
    TCustomDBGridEh* G = Grid();
    if (!G)
        return;
    auto* Self = const_cast<TColumnEh*>(this);
    Self->FRefreshingFont = true;
    FFont->Assign(*G->Font());
    Self->FRefreshingFont = false;
}

void TColumnEh::FontChanged()
{
    if (FRefreshingFont)
        return;
    FAssigned << cvFont;
    Changed();
}

void TColumnEh::SetFont(const TFont& Value)
{
    Font()->Assign(Value);
    if (!FAssigned.Contains(cvFont)) { // same face as the default: still the column's own now
        FAssigned << cvFont;
        Changed();
    }
}

TColumnFooterEh* TColumnEh::Footer() const
{
    if (!FFooter)
        FFooter = const_cast<TColumnEh*>(this)->CreateFooter();
    return FFooter.get();
}

TColumnFootersEh* TColumnEh::Footers() const
{
    if (!FFooters)
        FFooters = const_cast<TColumnEh*>(this)->CreateFooters();
    return FFooters.get();
}

TColumnFooterEh* TColumnEh::UsedFooter(int Row) const
{
    return Row >= 0 && Footers()->Count() > Row ? Footers()->Items(Row) : Footer();
}

TColumnTitleEh* TColumnEh::Title() const
{
    if (!FTitle)
        FTitle = const_cast<TColumnEh*>(this)->CreateTitle();
    return FTitle.get();
}

void TColumnEh::SetImageList(TImageList* Value)
{
    if (Value == FImageList)
        return;
    FImageList = Value;
    if (TCustomDBGridEh* G = Grid())
        G->FreeNotification(Value);
    Changed();
}

void TColumnEh::SetPopupMenu(TPopupMenu* Value)
{
    if (Value == FPopupMenu)
        return;
    FPopupMenu = Value;
    if (TCustomDBGridEh* G = Grid())
        G->FreeNotification(Value);
}

TImeMode TColumnEh::ImeMode() const
{
    if (FAssigned.Contains(cvImeMode))
        return FImeMode;
    TCustomDBGridEh* G = Grid();
    return G ? G->ImeMode() : imDontCare;
}

void TColumnEh::SetImeMode(TImeMode Value)
{
    SetValue(FImeMode, Value, cvImeMode);
}

QString TColumnEh::ImeName() const
{
    if (FAssigned.Contains(cvImeName))
        return FImeName;
    TCustomDBGridEh* G = Grid();
    return G ? G->ImeName() : QString();
}

void TColumnEh::SetImeName(const QString& Value)
{
    SetValue(FImeName, Value, cvImeName);
}

void TColumnEh::SetIncrement(double Value)
{
    if (Value == FIncrement)
        return;
    FIncrement = Value;
    Changed();
}

TStringList* TColumnEh::KeyList() const
{
    if (!FKeyList)
        FKeyList = std::make_unique<TStringList>();
    return FKeyList.get();
}

TStringList* TColumnEh::PickList() const
{
    if (!FPickList)
        FPickList = std::make_unique<TStringList>();
    return FPickList.get();
}

QString TColumnEh::LookupDisplayFields() const
{
    if (FAssigned.Contains(cvLookupDisplayFields))
        return FLookupDisplayFields;
    TField* F = Field();
    return F && F->Lookup() ? F->LookupResultField() : QString();
}

void TColumnEh::SetLookupDisplayFields(const QString& Value)
{
    SetValue(FLookupDisplayFields, Value, cvLookupDisplayFields);
}

void TColumnEh::SetMaxWidth(int Value)
{
    if (Value == FMaxWidth)
        return;
    FMaxWidth = Value;
    if (Value > 0 && Width() > Value)
        SetWidth(Value);
    Changed();
}

void TColumnEh::SetMinWidth(int Value)
{
    if (Value == FMinWidth)
        return;
    FMinWidth = Value;
    if (Value > 0 && Width() < Value)
        SetWidth(Value);
    Changed();
}

void TColumnEh::SetNotInKeyListIndex(int Value)
{
    if (Value == FNotInKeyListIndex)
        return;
    FNotInKeyListIndex = Value;
    Changed();
}

bool TColumnEh::ReadOnly() const
{
    if (FAssigned.Contains(cvReadOnly))
        return FReadOnly;
    TCustomDBGridEh* G = Grid();
    if (G && G->ReadOnly())
        return true;
    TField* F = Field();
    return F && F->ReadOnly();
}

void TColumnEh::SetReadOnly(bool Value)
{
    if (IsDefaultColumn() && DataLinkActive() && Field()) {
        Field()->SetReadOnly(Value);
        Changed();
        return;
    }
    SetValue(FReadOnly, Value, cvReadOnly);
}

void TColumnEh::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    Changed();
}

int TColumnEh::DefaultWidth() const
{
    TCustomDBGridEh* G = Grid();
    if (!G)
        return 64;
    TField* F = Field();
    if (!F)
        return G->DefaultColWidth();
    const QFontMetrics M(Font()->ToQFont());
    return M.horizontalAdvance(u'0') * F->DisplayWidth() + 4;
}

int TColumnEh::Width() const
{
    return FAssigned.Contains(cvWidth) ? FWidth : DefaultWidth();
}

void TColumnEh::SetWidth(int Value)
{
    TCustomDBGridEh* G = Grid();
    TField* F = Field();
    if (IsDefaultColumn() && G && G->HandleAllocated() && F && G->DefaultColumnsFollowFields()) {
        const QFontMetrics M(Font()->ToQFont());
        const int Zero = std::max(1, M.horizontalAdvance(u'0'));
        TDBGridColumnsEh* Cols = FCollection;
        // The field's new display width re-lays the grid out, which remakes its
        // default columns from the fields: this column may be gone after it.
        F->SetDisplayWidth(std::max(1, (Value + M.averageCharWidth() / 2 - 3) / Zero));
        bool Kept = false;
        for (int i = 0; Cols && i < Cols->Count() && !Kept; ++i)
            Kept = Cols->Items(i) == this;
        // While the grid makes its default columns their width is the field's;
        // a width given afterwards (the user's, a scaled or restored one) holds exactly.
        if (!Kept || (G->LayingOutDefaultColumns() && !FAssigned.Contains(cvWidth)))
            return;
    }
    if (!FAssigned.Contains(cvWidth) && Value == DefaultWidth()) {
        Changed();
        return;
    }
    if (Value != -1) {
        FWidth = Value;
        FAssigned << cvWidth;
        if (FMaxWidth >= 1 && FWidth > FMaxWidth)
            FWidth = FMaxWidth;
        if (FMinWidth > FWidth)
            FWidth = FMinWidth;
    }
    Changed();
}

bool TColumnEh::WordWrap() const
{
    if (FAssigned.Contains(cvWordWrap))
        return FWordWrap;
    TField* F = Field();
    return F && IsWordWrapType(F->DataType());
}

void TColumnEh::SetWordWrap(bool Value)
{
    SetValue(FWordWrap, Value, cvWordWrap);
}

// ---- kinds and values

TColumnEhType TColumnEh::GetColumnType() const
{
    if (Checkboxes())
        return ctCheckboxes;
    TField* F = Field();
    if (F && F->Lookup())
        return ctLookupField;
    const bool HasKeys = FKeyList && FKeyList->Count() > 0;
    if (FPickList && FPickList->Count() > 0 && !HasKeys)
        return ctPickList;
    if (HasKeys) {
        if (FImageList)
            return ctKeyImageList;
        if (FPickList)
            return ctKeyPickList;
    }
    return ctCommon;
}

QString TColumnEh::GetDisplayText() const
{
    TField* F = Field();
    if (!F || GetColumnType() == ctKeyImageList)
        return QString();
    if (FKeyList && FKeyList->Count() > 0) {
        const int Pos = FKeyList->IndexOf(F->Text());
        const int Picks = PickList()->Count();
        if (Pos >= 0 && Pos < Picks)
            return FPickList->Strings(Pos);
        if (FNotInKeyListIndex >= 0 && FNotInKeyListIndex < Picks)
            return FPickList->Strings(FNotInKeyListIndex);
        return QString();
    }
    // A lookup's special row stands for its value, and for no value at all.
    if (F->Lookup() && FDropDownSpecRow && FDropDownSpecRow->Visible() && F->DataSet()
        && !F->KeyFields().isEmpty()) {
        if (VarEqualsEh(GetFieldValues(F->DataSet(), F->KeyFields()), FDropDownSpecRow->Value())
            || (FDropDownSpecRow->ShowIfNotInKeyList() && F->IsNull()))
            return FDropDownSpecRow->CellsText();
    }
    TCustomDBGridEh* G = Grid();
    if (F->DataType() == ftMemo && G && G->DrawMemoText())
        return F->AsString();
    if (FDisplayFormat.isEmpty())
        return F->DisplayText();
    if (F->IsNull())
        return QString();
    if (IsNumericFieldType(F->DataType()))
        return FormatFloat(FDisplayFormat, F->AsFloat());
    if (IsDateTimeFieldType(F->DataType()))
        return FormatDateTime(FDisplayFormat, F->AsDateTime());
    return QString();
}

TCheckBoxState TColumnEh::CheckboxState() const
{
    TField* F = Field();
    if (!F || F->IsNull())
        return cbGrayed;
    if (F->DataType() == ftBoolean)
        return F->AsBoolean() ? cbChecked : cbUnchecked;
    const QString Text = F->Text();
    auto InList = [&Text](const QString& List) {
        for (const QString& Item : SplitList(List))
            if (AnsiCompareText(Item, Text) == 0)
                return true;
        return false;
    };
    const int Lists = FKeyList ? FKeyList->Count() : 0;
    if (Lists >= 1 && InList(FKeyList->Strings(0)))
        return cbChecked;
    if (Lists < 2)
        return cbGrayed;
    return InList(FKeyList->Strings(1)) ? cbUnchecked : cbGrayed;
}

void TColumnEh::SetCheckboxState(TCheckBoxState Value)
{
    TField* F = Field();
    if (!F)
        return;
    if (Value == cbGrayed) {
        UpdateData(QString(), Variant::Null(), false);
    } else if (F->DataType() == ftBoolean) {
        UpdateData(QString(), Variant(Value == cbChecked), false);
    } else {
        const int Entry = Value == cbChecked ? 0 : 1;
        QString Text;
        if (FKeyList && FKeyList->Count() > Entry)
            Text = SplitList(FKeyList->Strings(Entry)).value(0);
        UpdateData(Text, Variant(Text), true);
    }
}

void TColumnEh::UpdateData(const QString& Text, const Variant& Value, bool UseText)
{
    QString T = Text;
    Variant V = Value;
    bool Use = UseText;
    bool Handled = false;
    if (OnUpdateData)
        OnUpdateData(this, T, V, Use, Handled);
    TField* F = Field();
    if (Handled || !F)
        return;
    TCustomDBGridEh* G = Grid();
    // Asked before the write, which settles the editor's pending text.
    const bool Remember = FMRUList && FMRUList->Active() && G && G->EditorMode() && G->SelectedIndex() == Index()
        && G->InplaceEditor() && G->InplaceEditor()->isVisible() && G->DataLink()->Modified();
    if (Use) {
        if (F->DataType() == ftMemo && G && G->DrawMemoText())
            F->SetAsString(T);
        else
            F->SetText(T);
    } else if (F->Lookup() && !F->KeyFields().isEmpty()) {
        SetKeyValues(F->DataSet(), F->KeyFields(), V);
    } else {
        F->SetAsVariant(V);
    }
    // Text the user typed into the showing editor is remembered.
    if (Remember)
        FMRUList->Add(G->InplaceEditor()->text());
}

std::unique_ptr<TEditButtonsEh> TColumnEh::CreateEditButtons()
{
    return std::make_unique<TEditButtonsEh>(this);
}

TEditButtonsEh* TColumnEh::EditButtons() const
{
    if (!FEditButtons) {
        auto* Self = const_cast<TColumnEh*>(this);
        FEditButtons = Self->CreateEditButtons();
        FEditButtons->OnChanged = [Self](TEditButtonsEh*) { Self->Changed(); };
    }
    return FEditButtons.get();
}

TMRUListEh* TColumnEh::MRUList() const
{
    if (!FMRUList)
        FMRUList = std::make_unique<TMRUListEh>(const_cast<TColumnEh*>(this));
    return FMRUList.get();
}

TSpecRowEh* TColumnEh::DropDownSpecRow() const
{
    if (!FDropDownSpecRow) {
        auto* Self = const_cast<TColumnEh*>(this);
        FDropDownSpecRow = std::make_unique<TSpecRowEh>();
        FDropDownSpecRow->OnChanged = [Self](TSpecRowEh*) { Self->Changed(); };
    }
    return FDropDownSpecRow.get();
}

bool TColumnEh::CanModify(bool TryEdit)
{
    TCustomDBGridEh* G = Grid();
    TField* F = Field();
    if (!G || G->ReadOnly() || !G->DataLink()->Active() || ReadOnly() || !F)
        return false;
    TDataSet* D = G->DataLink()->DataSet();
    if (!D || !D->CanModify())
        return false;
    if (F->Lookup()) {
        if (F->KeyFields().isEmpty())
            return false;
        for (const QString& Name : SplitList(F->KeyFields())) {
            TField* Key = D->FindField(Name.trimmed());
            if (!Key || !Key->CanModify())
                return false;
        }
    } else if (!F->CanModify()) {
        return false;
    }
    if (F->IsBlob() && !F->OnSetText && !(F->DataType() == ftMemo && G->DrawMemoText()))
        return false;
    const TDBGridEhAllowedOperations Ops = G->AllowedOperations();
    if (!Ops.Contains(alopUpdateEh) && D->State() != dsInsert)
        return false;
    if (D->IsEmpty() && !Ops.Contains(alopInsertEh) && !Ops.Contains(alopAppendEh))
        return false;
    if (!TryEdit)
        return true;
    if (D->State() == dsBrowse)
        D->Edit();
    return D->State() == dsEdit || D->State() == dsInsert;
}

// The text a step starts from: what the in-place editor shows in this column,
// else the field's edit text.
std::optional<QString> TColumnEh::EditorText() const
{
    TCustomDBGridEh* G = Grid();
    if (!G || !G->EditorMode() || !G->InplaceEditor() || G->SelectedIndex() != Index())
        return std::nullopt;
    return G->InplaceEditor()->text();
}

void TColumnEh::StepInList(const TStringList* List, double Step, bool AsValue, const QString& Current)
{
    const int Count = List->Count();
    if (Count == 0)
        return;
    const int Pos = List->IndexOf(Current);
    int Next;
    if (Step > 0)
        Next = Pos < 0 || Pos >= Count - 1 ? 0 : Pos + 1;
    else
        Next = Pos <= 0 ? Count - 1 : Pos - 1;
    const QString Text = List->Strings(Next);
    UpdateData(Text, Variant(Text), !AsValue);
}

void TColumnEh::StepLookup(double Step)
{
    TField* F = Field();
    TDataSet* List = F->LookupDataSet();
    if (!List || !List->Active() || List->IsEmpty() || F->KeyFields().isEmpty())
        return;
    const Variant Key = GetFieldValues(F->DataSet(), F->KeyFields());
    if (Key.IsNull() || !List->Locate(F->LookupKeyFields(), Key))
        List->First();
    if (List->MoveBy(Step > 0 ? 1 : -1) == 0) { // at an end: wrap round
        if (Step > 0)
            List->First();
        else
            List->Last();
    }
    UpdateData(QString(), GetFieldValues(List, F->LookupKeyFields()), false);
}

void TColumnEh::StepValue(double Step)
{
    // Read first: starting the edit must not lose what the user typed.
    const std::optional<QString> Typed = EditorText();
    if (!CanModify(true))
        return;
    TField* F = Field();
    switch (GetColumnType()) {
    case ctCheckboxes:
        SetCheckboxState(CheckboxState() == cbChecked ? cbUnchecked : cbChecked);
        return;
    case ctKeyPickList:
    case ctKeyImageList: {
        // The editor of a key list shows the pick-list text of the key.
        QString Key = F->Text();
        if (Typed) {
            const int Pos = FPickList ? FPickList->IndexOf(*Typed) : -1;
            Key = Pos >= 0 && Pos < KeyList()->Count() ? KeyList()->Strings(Pos) : *Typed;
        }
        StepInList(KeyList(), Step, true, Key);
        return;
    }
    case ctPickList:
        StepInList(PickList(), Step, false, Typed.value_or(F->Text()));
        return;
    case ctLookupField:
        StepLookup(Step);
        return;
    case ctCommon:
        break;
    }
    switch (F->DataType()) {
    case ftSmallint: case ftInteger: case ftWord: case ftFloat: case ftCurrency: case ftBCD: {
        // An empty cell counts as 0; text that is no number raises with the text in the message.
        double Value = F->IsNull() ? 0.0 : F->AsFloat();
        if (Typed)
            Value = Typed->trimmed().isEmpty() ? 0.0 : StrToFloat(Typed->trimmed());
        F->SetAsFloat(Value + Step);
        break;
    }
    default:
        break;
    }
}

void TColumnEh::FillColCellParams(TColCellParamsEh& Params) const
{
    Params.Col = -1;
    Params.Row = -1;
    Params.State = 0;
    Params.Font = Font();
    Params.Background = Color();
    Params.Alignment = Alignment();
    Params.ImageIndex = -1;
    Params.Text = GetDisplayText();
    Params.CheckboxState = CheckboxState();
    Params.ReadOnly = ReadOnly();
}

void TColumnEh::GetColCellParams(bool EditMode, TColCellParamsEh& Params)
{
    if (OnGetCellParams)
        OnGetCellParams(this, EditMode, Params);
}

void TColumnEh::EnsureSumValues()
{
    if (!Grid())
        return;
    Footer()->EnsureSumValue();
    for (int i = 0; i < Footers()->Count(); ++i)
        Footers()->Items(i)->EnsureSumValue();
}

void TColumnEh::RestoreDefaults()
{
    const bool FontWasSet = FAssigned.Contains(cvFont);
    if (FTitle)
        FTitle->RestoreDefaults();
    FAssigned = {};
    if (FFont)
        RefreshDefaultFont();
    FPickList.reset();
    FKeyList.reset();
    FButtonStyle = cbsAuto;
    if (FontWasSet && FCollection)
        FCollection->Update(nullptr);
    else
        Changed();
}

void TColumnEh::Assign(const TColumnEh& Source)
{
    if (&Source == this)
        return;
    if (FCollection)
        FCollection->BeginUpdate();
    RestoreDefaults();
    SetFieldName(Source.FieldName());
    const TSet<TColumnValue> Set = Source.FAssigned;
    if (Set.Contains(cvColor)) SetColor(Source.Color());
    if (Set.Contains(cvWidth)) SetWidth(Source.Width());
    if (Set.Contains(cvFont)) SetFont(*Source.Font());
    if (Set.Contains(cvImeMode)) SetImeMode(Source.ImeMode());
    if (Set.Contains(cvImeName)) SetImeName(Source.ImeName());
    if (Set.Contains(cvAlignment)) SetValue(FAlignment, Source.FAlignment, cvAlignment);
    if (Set.Contains(cvReadOnly)) SetValue(FReadOnly, Source.FReadOnly, cvReadOnly);
    Title()->Assign(*Source.Title());
    SetDropDownRows(Source.DropDownRows());
    SetButtonStyle(Source.ButtonStyle());
    if (Source.FPickList)
        PickList()->Assign(*Source.FPickList);
    SetPopupMenu(Source.PopupMenu());
    FLayoutWidth = Source.FLayoutWidth;
    FAutoFitColWidth = Source.FAutoFitColWidth;
    SetEndEllipsis(Source.EndEllipsis());
    SetDropDownWidth(Source.DropDownWidth());
    if (Set.Contains(cvLookupDisplayFields)) SetLookupDisplayFields(Source.FLookupDisplayFields);
    SetAutoDropDown(Source.AutoDropDown());
    SetAlwaysShowEditButton(Source.AlwaysShowEditButton());
    SetWordWrap(Source.WordWrap());
    Footer()->Assign(*Source.Footer());
    if (Source.FKeyList)
        KeyList()->Assign(*Source.FKeyList);
    if (Set.Contains(cvCheckboxes)) SetCheckboxes(Source.FCheckboxes);
    SetIncrement(Source.Increment());
    SetToolTips(Source.ToolTips());
    Footers()->Assign(*Source.Footers());
    FTag = Source.FTag;
    SetVisible(Source.Visible());
    SetImageList(Source.ImageList());
    SetNotInKeyListIndex(Source.NotInKeyListIndex());
    SetMinWidth(Source.MinWidth());
    SetMaxWidth(Source.MaxWidth());
    SetDblClickNextVal(Source.DblClickNextVal());
    SetDropDownSizing(Source.DropDownSizing());
    SetDropDownShowTitles(Source.DropDownShowTitles());
    if (Source.FSTFilter)
        STFilter()->Assign(*Source.FSTFilter);
    OnGetCellParams = Source.OnGetCellParams;
    OnNotInList = Source.OnNotInList;
    OnUpdateData = Source.OnUpdateData;
    OnEditButtonClick = Source.OnEditButtonClick;
    OnEditButtonDown = Source.OnEditButtonDown;
    if (Source.FEditButtons)
        EditButtons()->Assign(*Source.FEditButtons);
    if (Source.FMRUList)
        MRUList()->Assign(*Source.FMRUList);
    if (Source.FDropDownSpecRow)
        DropDownSpecRow()->Assign(*Source.FDropDownSpecRow);
    SetDisplayFormat(Source.DisplayFormat());
    SetEditMask(Source.EditMask());
    if (Source.FDropDownBox || FDropDownBox)
        DropDownBox()->Assign(*Source.DropDownBox());
    if (FCollection)
        FCollection->EndUpdate();
}

// ---------------------------------------------------------------- collection

TDBGridColumnsEh::TDBGridColumnsEh(TCustomDBGridEh* AGrid) : FGrid(AGrid) {}

TDBGridColumnsEh::~TDBGridColumnsEh()
{
    FUpdateCount = 1; // no notifications while the columns go
    FItems.clear();
}

TColumnEh* TDBGridColumnsEh::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems[size_t(Index)].get();
}

TColumnEh* TDBGridColumnsEh::Add()
{
    // The first column set up by code replaces the columns made from the fields.
    if (!FItems.empty() && !Customized()) {
        BeginUpdate();
        Clear();
        FItems.push_back(NewItem());
        EndUpdate();
        return FItems.back().get();
    }
    FItems.push_back(NewItem());
    TColumnEh* Column = FItems.back().get();
    Update(nullptr);
    return Column;
}

TColumnEh* TDBGridColumnsEh::AddDefaultColumn(TField* Field)
{
    FItems.push_back(NewItem());
    TColumnEh* Column = FItems.back().get();
    Column->SetExplicitSetup(false);
    Column->SetField(Field);
    Update(nullptr);
    return Column;
}

void TDBGridColumnsEh::Delete(int Index)
{
    Items(Index);
    auto Gone = std::move(FItems[size_t(Index)]);
    FItems.erase(FItems.begin() + Index);
    Gone.reset();
    Update(nullptr);
}

void TDBGridColumnsEh::Clear()
{
    if (FItems.empty())
        return;
    BeginUpdate();
    while (!FItems.empty()) {
        auto Gone = std::move(FItems.back());
        FItems.pop_back();
    }
    Update(nullptr);
    EndUpdate();
}

int TDBGridColumnsEh::IndexOf(const TColumnEh* Column) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == Column)
            return int(i);
    return -1;
}

void TDBGridColumnsEh::Move(int From, int To)
{
    Items(From);
    Items(To);
    if (From == To)
        return;
    auto Item = std::move(FItems[size_t(From)]);
    FItems.erase(FItems.begin() + From);
    FItems.insert(FItems.begin() + To, std::move(Item));
    Update(nullptr);
}

void TDBGridColumnsEh::Assign(const TDBGridColumnsEh& Source)
{
    if (&Source == this)
        return;
    BeginUpdate();
    Clear();
    for (const auto& Item : Source.FItems)
        Add()->Assign(*Item);
    EndUpdate();
}

bool TDBGridColumnsEh::Customized() const
{
    return !FItems.empty() && FItems.front()->ExplicitSetup();
}

void TDBGridColumnsEh::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChangedInUpdate) {
        FChangedInUpdate = false;
        Update(nullptr);
    }
}

void TDBGridColumnsEh::Update(TColumnEh* Item)
{
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    if (FGrid)
        FGrid->ColumnsChanged(Item);
}

// ---------------------------------------------------------------- default values

TAlignment TColumnTitleDefValuesEh::Alignment() const
{
    if (FAlignmentSet)
        return FAlignment;
    return FGrid && FGrid->UseMultiTitle() ? taCenter : taLeftJustify;
}

void TColumnTitleDefValuesEh::SetAlignment(TAlignment Value)
{
    if (FAlignmentSet && Value == FAlignment)
        return;
    FAlignment = Value;
    FAlignmentSet = true;
    Changed(true);
}

TColor TColumnTitleDefValuesEh::Color() const
{
    if (FColorSet)
        return FColor;
    return FGrid ? FGrid->FixedColor() : clBtnFace;
}

void TColumnTitleDefValuesEh::SetColor(TColor Value)
{
    if (FColorSet && Value == FColor)
        return;
    FColor = Value;
    FColorSet = true;
    Changed(false);
}

void TColumnTitleDefValuesEh::SetEndEllipsis(bool Value)
{
    if (Value == FEndEllipsis)
        return;
    FEndEllipsis = Value;
    Changed(false);
}

void TColumnTitleDefValuesEh::SetOrientation(TTextOrientationEh Value)
{
    if (Value == FOrientation)
        return;
    FOrientation = Value;
    Changed(true);
}

void TColumnTitleDefValuesEh::SetTitleButton(bool Value)
{
    if (Value == FTitleButton)
        return;
    FTitleButton = Value;
    Changed(false);
}

void TColumnTitleDefValuesEh::SetToolTips(bool Value)
{
    if (Value == FToolTips)
        return;
    FToolTips = Value;
    Changed(false);
}

void TColumnTitleDefValuesEh::Changed(bool Layout)
{
    if (!FGrid)
        return;
    if (Layout)
        FGrid->LayoutChanged();
    else
        FGrid->Invalidate();
}

void TDBGridEhColumnDefValuesEh::Set(bool& Field, bool Value)
{
    if (Field == Value)
        return;
    Field = Value;
    if (FGrid)
        FGrid->Invalidate();
}
