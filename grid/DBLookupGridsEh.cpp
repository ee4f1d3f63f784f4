#include "grid/DBLookupGridsEh.h"

#include "grid/ToolCtrlsEh.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/gui/ExtCtrls.h"

#include <QFontMetrics>

// ---------------------------------------------------------------- TLookupGridDataLinkEh

void TLookupGridDataLinkEh::ActiveChanged()
{
    FGrid->UpdateListFields();
}

void TLookupGridDataLinkEh::LayoutChanged()
{
    FGrid->UpdateListFields();
}

void TLookupGridDataLinkEh::RecordChanged(TField*)
{
    FGrid->ListRecordChanged();
}

void TLookupGridDataLinkEh::FocusControl(TField** Field)
{
    if (Field && *Field && FGrid->isEnabled() && FGrid->focusPolicy() != Qt::NoFocus) {
        FGrid->SetFocus();
        *Field = nullptr;
    }
}

// ---------------------------------------------------------------- TGridColumnSpecCellEh

TGridColumnSpecCellEh::TGridColumnSpecCellEh(TDBLookupGridColumnEh* AColumn)
    : FColumn(AColumn), FFont(std::make_unique<TFont>())
{
}

TGridColumnSpecCellEh::~TGridColumnSpecCellEh() = default;

TSpecRowEh* TGridColumnSpecCellEh::SpecRow() const
{
    auto* Grid = dynamic_cast<TDBLookupGridEh*>(FColumn->Grid());
    return Grid ? Grid->SpecRow() : nullptr;
}

TColor TGridColumnSpecCellEh::Color() const
{
    if (FColorSet)
        return FColor;
    const TSpecRowEh* Row = SpecRow();
    return Row ? Row->Color() : FColor;
}

void TGridColumnSpecCellEh::SetColor(TColor Value)
{
    FColor = Value;
    FColorSet = true;
    FColumn->Changed();
}

TFont* TGridColumnSpecCellEh::Font() const
{
    if (!FFontSet)
        if (const TSpecRowEh* Row = SpecRow())
            FFont->Assign(*Row->Font());
    return FFont.get();
}

void TGridColumnSpecCellEh::SetFont(const TFont& Value)
{
    FFont->Assign(Value);
    FFontSet = true;
    FColumn->Changed();
}

QString TGridColumnSpecCellEh::Text() const
{
    if (FTextSet)
        return FText;
    const TSpecRowEh* Row = SpecRow();
    return Row ? Row->CellText(FColumn->Index()) : QString();
}

void TGridColumnSpecCellEh::SetText(const QString& Value)
{
    FText = Value;
    FTextSet = true;
    FColumn->Changed();
}

void TGridColumnSpecCellEh::Assign(const TGridColumnSpecCellEh& Source)
{
    FText = Source.FText;
    FTextSet = Source.FTextSet;
    FColor = Source.FColor;
    FColorSet = Source.FColorSet;
    if (Source.FFontSet) {
        FFont->Assign(*Source.FFont);
        FFontSet = true;
    }
}

// ---------------------------------------------------------------- TDBLookupGridColumnEh

TDBLookupGridColumnEh::TDBLookupGridColumnEh(TDBGridColumnsEh* ACollection)
    : TColumnEh(ACollection), FSpecCell(std::make_unique<TGridColumnSpecCellEh>(this))
{
}

TDBLookupGridColumnEh::~TDBLookupGridColumnEh() = default;

void TDBLookupGridColumnEh::SetWidth(int Value)
{
    TColumnEh::SetWidth(Value);
}

namespace {

class TDBLookupGridColumnsEh : public TDBGridColumnsEh
{
public:
    using TDBGridColumnsEh::TDBGridColumnsEh;

protected:
    std::unique_ptr<TColumnEh> NewItem() override { return std::make_unique<TDBLookupGridColumnEh>(this); }
};

std::vector<TField*> FieldsOf(TDataSet* D, const QString& Names)
{
    if (!D || !D->Active() || Names.trimmed().isEmpty())
        return {};
    return GetFieldsList(D, Names);
}

bool SearchableField(const TField* F)
{
    if (!F || (F->FieldKind() != fkData && F->FieldKind() != fkInternalCalc))
        return false;
    const TFieldType T = F->DataType();
    return T == ftString || T == ftWideString || T == ftFixedChar;
}

} // namespace

// ---------------------------------------------------------------- TDBLookupGridEh

TDBLookupGridEh::TDBLookupGridEh(QWidget* AParent)
    : TCustomDBGridEh(AParent), Clock(GetTickCount), FListLink(std::make_unique<TLookupGridDataLinkEh>(this)),
      FListDataSource(std::make_unique<TDataSource>()), FDataLink(std::make_unique<TDataLink>()),
      FSpecRow(std::make_unique<TSpecRowEh>(this))
{
    SetOptions({dgColLines, dgRowSelect});
    SetOptionsEh(OptionsEh() + dghTraceColSizing);
    SetFlat(true);
    SetDrawMemoText(true);
    setFocusPolicy(Qt::ClickFocus);
    SetVTitleMargin(5);
    SetColor(clWindow);
    SetDataSource(FListDataSource.get());
    FSpecRow->OnChanged = [this](TSpecRowEh*) { SpecRowChanged(); };
}

TDBLookupGridEh::~TDBLookupGridEh()
{
    FSpecRow->OnChanged = nullptr;
    FListLink->SetDataSource(nullptr);
    SetDataSource(nullptr);
}

std::unique_ptr<TDBGridColumnsEh> TDBLookupGridEh::CreateColumns()
{
    return std::make_unique<TDBLookupGridColumnsEh>(this);
}

TDataSet* TDBLookupGridEh::ListDataSet() const
{
    return FListDataSource->DataSet();
}

void TDBLookupGridEh::SetListSource(TDataSource* Value)
{
    if (Value == FListSource)
        return;
    FListSource = Value;
    QObject::disconnect(FListSourceGone);
    if (Value)
        FListSourceGone = QObject::connect(Value, &QObject::destroyed, this, [this] {
            FListSource = nullptr;
            if (!FLookupField)
                FListLink->SetDataSource(nullptr);
            UpdateListFields();
        });
    if (!FLookupField)
        FListLink->SetDataSource(Value);
    UpdateListFields();
}

void TDBLookupGridEh::SetKeyFieldName(const QString& Value)
{
    if (Value == FKeyFieldName)
        return;
    FKeyFieldName = Value;
    UpdateListFields();
}

void TDBLookupGridEh::SetListFieldName(const QString& Value)
{
    if (Value == FListFieldName)
        return;
    FListFieldName = Value;
    UpdateListFields();
}

TDataSource* TDBLookupGridEh::DataFieldSource() const
{
    return FDataLink->DataSource();
}

void TDBLookupGridEh::SetDataFieldSource(TDataSource* Value)
{
    FDataLink->SetDataSource(Value);
    UpdateDataFields();
}

void TDBLookupGridEh::SetDataFieldName(const QString& Value)
{
    FDataFieldName = Value;
    UpdateDataFields();
}

void TDBLookupGridEh::UpdateDataFields()
{
    TDataSet* D = FDataLink->DataSet();
    std::vector<TField*> Named = FieldsOf(D, FDataFieldName);
    TField* Lookup = Named.size() == 1 && Named.front()->Lookup() ? Named.front() : nullptr;
    FDataFields = Lookup ? FieldsOf(D, Lookup->KeyFields()) : Named;
    if (Lookup == FLookupField)
        return;
    // The list follows the lookup field while it is the data field, and the
    // configured list source again afterwards.
    FLookupField = Lookup;
    FListLink->SetDataSource(FLookupField ? FListDataSource.get() : FListSource);
    UpdateListFields();
}

QString TDBLookupGridEh::ListKeyNames() const
{
    return FLookupField ? FLookupField->LookupKeyFields() : FKeyFieldName;
}

QString TDBLookupGridEh::ListFieldNames() const
{
    return FLookupField ? FLookupField->LookupResultField() : FListFieldName;
}

// The list follows the list source; the grid's columns show the list fields.
void TDBLookupGridEh::UpdateListFields()
{
    TDataSet* D = FLookupField ? FLookupField->LookupDataSet() : (FListSource ? FListSource->DataSet() : nullptr);
    if (FListDataSource->DataSet() != D)
        FListDataSource->SetDataSet(D);
    FKeyFields = FieldsOf(D, ListKeyNames());
    FListFields = FieldsOf(D, ListFieldNames());
    if (FKeyFields.empty())
        FListFields.clear();
    if (!FListFields.empty() && (FListColumns || !Columns()->Customized())) {
        Columns()->BeginUpdate();
        Columns()->Clear();
        for (TField* F : FListFields)
            Columns()->Add()->SetFieldName(F->FieldName());
        Columns()->EndUpdate();
        FListColumns = true;
    }
    ListLinkActiveChanged();
    LocateKeyValue();
}

void TDBLookupGridEh::ListLinkActiveChanged()
{
    LayoutChanged();
    Invalidate();
}

void TDBLookupGridEh::ListRecordChanged()
{
    Invalidate();
}

bool TDBLookupGridEh::CanLocateKey() const
{
    TDataSet* D = ListDataSet();
    return D && D->Active() && !FKeyFields.empty() && !FListFields.empty();
}

Variant TDBLookupGridEh::CurrentRecordKey() const
{
    TDataSet* D = ListDataSet();
    if (!D || !D->Active() || D->IsEmpty() || FKeyFields.empty())
        return Variant::Null();
    if (FKeyFields.size() == 1)
        return FKeyFields.front()->Value();
    QList<Variant> Values;
    for (TField* F : FKeyFields)
        Values << F->Value();
    return VarArrayOf(Values);
}

bool TDBLookupGridEh::KeyValueFits(const Variant& Value) const
{
    if (Value.IsNull() || Value.IsEmpty())
        return true;
    const qsizetype Count = ListKeyNames().split(u';', Qt::SkipEmptyParts).size();
    return Value.IsArray() ? Value.Elements().size() == Count : Count == 1;
}

void TDBLookupGridEh::SetKeyValue(const Variant& Value)
{
    if (!KeyValueFits(Value))
        return;
    FKeyValue = Value.IsEmpty() ? Variant::Null() : Value;
    LocateKeyValue();
    UpdateSpecRowText();
    Invalidate();
}

bool TDBLookupGridEh::LocateKeyValue()
{
    FKeyFound = false;
    TDataSet* D = ListDataSet();
    if (FKeyValue.IsNull() || !D || !D->Active() || FKeyFields.empty() || !KeyValueFits(FKeyValue))
        return false;
    FKeyFound = D->Locate(ListKeyNames(), FKeyValue, 0);
    return FKeyFound;
}

bool TDBLookupGridEh::SpecRowCurrent() const
{
    if (!FSpecRow->Visible())
        return false;
    const Variant Spec = FSpecRow->Value();
    const bool KeyNull = FKeyValue.IsNull() || FKeyValue.IsEmpty();
    const bool SpecNull = Spec.IsNull() || Spec.IsEmpty();
    if (KeyNull || SpecNull)
        return KeyNull && SpecNull;
    return VarEqualsEh(FKeyValue, Spec);
}

void TDBLookupGridEh::UpdateSpecRowText()
{
    if (!SpecRowCurrent() && !FKeyFound && FSpecRow->Visible())
        LocateKeyValue();
    Invalidate();
}

QString TDBLookupGridEh::DisplayText() const
{
    if (SpecRowCurrent())
        return FSpecRow->CellText(0);
    TDataSet* D = ListDataSet();
    if (FKeyValue.IsNull() || !D || !D->Active() || FListFields.empty() || FKeyFields.empty()
        || !KeyValueFits(FKeyValue))
        return QString();
    return VarToStr(D->Lookup(ListKeyNames(), FKeyValue, FListFields.front()->FieldName()));
}

void TDBLookupGridEh::SelectKeyValue(const Variant& Value)
{
    if (!FDataFields.empty()) {
        if (!FDataLink->Edit())
            return;
        // One element per data field; Null clears them all.
        const QList<Variant> Values = KeyValuesOf(Value.IsEmpty() ? Variant::Null() : Value);
        for (size_t i = 0; i < FDataFields.size(); ++i)
            FDataFields[i]->SetValue(qsizetype(i) < Values.size() ? Values[qsizetype(i)] : Variant::Null());
    }
    FKeyValue = Value;
    FKeyFound = !Value.IsNull() && VarEqualsEh(Value, CurrentRecordKey());
    Invalidate();
    Click();
}

void TDBLookupGridEh::SpecRowChanged()
{
    LayoutChanged();
    UpdateSpecRowText();
}

TDBLookupGridEhOptions TDBLookupGridEh::LookupOptions() const
{
    TDBLookupGridEhOptions Result;
    if (Options().Contains(dgColumnResize))
        Result << dlgColumnResizeEh;
    if (Options().Contains(dgColLines))
        Result << dlgColLinesEh;
    if (Options().Contains(dgRowLines))
        Result << dlgRowLinesEh;
    if (OptionsEh().Contains(dghAutoSortMarking))
        Result << dlgAutoSortMarkingEh;
    if (OptionsEh().Contains(dghMultiSortMarking))
        Result << dlgMultiSortMarkingEh;
    return Result;
}

void TDBLookupGridEh::SetLookupOptions(TDBLookupGridEhOptions Value)
{
    TDBGridOptions O = Options() - dgColumnResize - dgColLines - dgRowLines;
    if (Value.Contains(dlgColumnResizeEh))
        O << dgColumnResize;
    if (Value.Contains(dlgColLinesEh))
        O << dgColLines;
    if (Value.Contains(dlgRowLinesEh))
        O << dgRowLines;
    SetOptions(O);
    TDBGridEhOptions E = OptionsEh() - dghAutoSortMarking - dghMultiSortMarking;
    if (Value.Contains(dlgAutoSortMarkingEh))
        E << dghAutoSortMarking;
    if (Value.Contains(dlgMultiSortMarkingEh))
        E << dghMultiSortMarking;
    SetOptionsEh(E);
}

// ---- geometry

int TDBLookupGridEh::GetRowStep() const
{
    return DataRowHeight() + (Options().Contains(dgRowLines) ? GridLineWidth() : 0);
}

int TDBLookupGridEh::ExtraTitleHeight() const
{
    return FSpecRow && FSpecRow->Visible() ? GetRowStep() : 0;
}

int TDBLookupGridEh::DataTop() const
{
    if (TitleRowCount() == 0)
        return 0;
    const int LineWidth = Options().Contains(dgRowLines) ? GridLineWidth() : 0;
    return (Options().Contains(dgTitles) ? TitleRowHeight() : 0) + ExtraTitleHeight() + LineWidth;
}

int TDBLookupGridEh::HeightForRows(int Rows) const
{
    return GetBorderHeight() + DataTop() + std::max(1, Rows) * GetRowStep();
}

int TDBLookupGridEh::SnapHeight(int Requested) const
{
    const int Rows = std::max(1, (Requested - GetBorderHeight() - DataTop()) / std::max(1, GetRowStep()));
    return HeightForRows(Rows);
}

void TDBLookupGridEh::Resize()
{
    if (!FSnapping) {
        const int H = SnapHeight(height());
        if (H != height()) {
            FSnapping = true;
            resize(width(), H);
            FSnapping = false;
            return;
        }
    }
    FRememberedRows = (height() - GetBorderHeight() - DataTop()) / std::max(1, GetRowStep());
    TCustomDBGridEh::Resize();
}

bool TDBLookupGridEh::OverSpecRow(int X, int Y) const
{
    return FSpecRow->Visible() && X >= 0 && X < ClientWidth() && Y >= SpecRowTop() && Y < DataTop();
}

bool TDBLookupGridEh::OverDataRows(int X, int Y) const
{
    const int Rows = DataLink()->Active() ? DataLink()->RecordCount() : 0;
    return X >= 0 && X < ClientWidth() && Y >= DataTop() && Y < DataTop() + Rows * GetRowStep();
}

// ---- painting

void TDBLookupGridEh::DrawCell(int ACol, int ARow, const QRect& ARect, TGridDrawState AState)
{
    if (ARow != 0 || TitleRowCount() == 0 || ExtraTitleHeight() == 0) {
        TCustomDBGridEh::DrawCell(ACol, ARow, ARect, AState);
        return;
    }
    const int SpecTop = ARect.bottom() + 1 - ExtraTitleHeight();
    if (Options().Contains(dgTitles))
        TCustomDBGridEh::DrawCell(ACol, ARow, QRect(ARect.left(), ARect.top(), ARect.width(), SpecTop - ARect.top()),
                                  AState);
    DrawSpecRowCell(ACol, QRect(ARect.left(), SpecTop, ARect.width(), ExtraTitleHeight()));
}

void TDBLookupGridEh::DrawSpecRowCell(int ACol, const QRect& R)
{
    TCanvas* C = Canvas();
    TCanvasState Saved(C);
    const int DataCol = ACol - IndicatorOffset();
    auto* Column = DataCol >= 0 && DataCol < Columns()->Count()
                       ? dynamic_cast<TDBLookupGridColumnEh*>(Columns()->Items(DataCol))
                       : nullptr;
    TColor Background = Column ? Column->SpecCell()->Color() : FSpecRow->Color();
    C->Font()->Assign(Column ? *Column->SpecCell()->Font() : *FSpecRow->Font());
    if (SpecRowCurrent()) {
        Background = clHighlight;
        C->Font()->SetColor(clHighlightText);
    }
    C->Brush()->SetColor(Background);
    C->FillRect(R);
    if (Column)
        C->TextRect(R, R.left() + 2, R.top() + 2, Column->SpecCell()->Text());
}

bool TDBLookupGridEh::HighlightDataCell(int DataCol, int DataRow, TFont* AFont, TColor& Background,
                                        TGridDrawState& State)
{
    (void)DataCol;
    (void)DataRow;
    // The painter points the fields at the painted record.
    if (SpecRowCurrent() || FKeyValue.IsNull() || !VarEqualsEh(CurrentRecordKey(), FKeyValue))
        return false;
    State << gdSelected;
    Background = clHighlight;
    AFont->SetColor(clHighlightText);
    return true;
}

// ---- type-ahead, keys and mouse

void TDBLookupGridEh::IncrementalSearch(QChar Key)
{
    const ushort Code = Key.unicode();
    if (Code == 8 || Code == 27) {
        FSearchText.clear();
        return;
    }
    if (Code < 32 || !CanLocateKey() || !SearchableField(ListField()))
        return;
    const uint32_t Now = Clock ? Clock() : GetTickCount();
    if (Now - FSearchTick > 2000)
        FSearchText.clear();
    FSearchTick = Now;
    // Characters, not bytes: a Chinese character counts as one.
    if (FSearchText.size() >= 32)
        return;
    const QString Candidate = FSearchText + Key;
    if (ListDataSet()->Locate(ListField()->FieldName(), Candidate, loCaseInsensitive | loPartialKey)) {
        SelectKeyValue(CurrentRecordKey());
        FSearchText = Candidate;
    }
}

void TDBLookupGridEh::KeyPress(QChar& Key)
{
    IncrementalSearch(Key);
    TCustomControl::KeyPress(Key);
}

void TDBLookupGridEh::SelectSpecRow()
{
    if (!FSpecRow->Visible())
        return;
    if (ListDataSet() && ListDataSet()->Active())
        ListDataSet()->First();
    SelectKeyValue(FSpecRow->Value());
}

// Moves the list as the keys do: the special row sits above the first record.
void TDBLookupGridEh::MoveList(int Delta, bool Select)
{
    TDataSet* D = ListDataSet();
    FSearchText.clear();
    if (SpecRowCurrent()) {
        if (Delta < 0) {
            SelectSpecRow();
            return;
        }
        D->First();
        if (Delta > 1)
            D->MoveBy(Delta - 1);
    } else {
        if (!FKeyValue.IsNull())
            LocateKeyValue();
        if (D->MoveBy(Delta) == 0 && Delta < 0 && FSpecRow->Visible()) {
            SelectSpecRow();
            return;
        }
    }
    const Variant Key = CurrentRecordKey();
    if (Select && !D->IsEmpty() && (SpecRowCurrent() || !VarEqualsEh(Key, FKeyValue)))
        SelectKeyValue(Key);
}

void TDBLookupGridEh::KeyDown(int& Key, TShiftState Shift)
{
    if (!CanLocateKey()) {
        TCustomDBGridEh::KeyDown(Key, Shift);
        return;
    }
    TDataSet* D = ListDataSet();
    const int Page = std::max(1, VisibleDataRowCount());
    const bool HorzShown = HorzScrollBar()->IsScrollBarShowing();
    switch (Key) {
    case VK_PRIOR: MoveList(1 - Page, true); break;
    case VK_NEXT: MoveList(Page - 1, true); break;
    case VK_UP: MoveList(-1, true); break;
    case VK_DOWN: MoveList(1, true); break;
    case VK_LEFT:
        if (HorzShown)
            return TCustomDBGridEh::KeyDown(Key, Shift);
        MoveList(-1, true);
        break;
    case VK_RIGHT:
        if (HorzShown)
            return TCustomDBGridEh::KeyDown(Key, Shift);
        MoveList(1, true);
        break;
    case VK_HOME:
        FSearchText.clear();
        D->First();
        SelectKeyValue(CurrentRecordKey());
        break;
    case VK_END:
        FSearchText.clear();
        D->Last();
        SelectKeyValue(CurrentRecordKey());
        break;
    default:
        TCustomDBGridEh::KeyDown(Key, Shift);
        return;
    }
    Key = 0;
}

void TDBLookupGridEh::TrackMouse(int Y)
{
    TDataSet* D = ListDataSet();
    if (!CanLocateKey() || !D)
        return;
    if (OverSpecRow(0, Y)) {
        SelectSpecRow();
        return;
    }
    if (Y < DataTop() && FSpecRow->Visible())
        return;
    const int Rows = DataLink()->RecordCount();
    const int Clamped = std::clamp(Y, DataTop(), std::max(DataTop(), ClientHeight() - 1));
    const int Row = std::min(Rows - 1, (Clamped - DataTop()) / std::max(1, GetRowStep()));
    if (Row < 0)
        return;
    DataLink()->MoveBy(Row - DataLink()->ActiveRecord());
    const Variant Key = CurrentRecordKey();
    if (!VarEqualsEh(Key, FKeyValue) || SpecRowCurrent())
        SelectKeyValue(Key);
}

void TDBLookupGridEh::MouseTimerTick()
{
    TDataSet* D = ListDataSet();
    if (!FTracking || FMouseDirection == 0 || !D || !D->Active())
        return;
    D->MoveBy(FMouseDirection);
    const Variant Key = CurrentRecordKey();
    if (!VarEqualsEh(Key, FKeyValue))
        SelectKeyValue(Key);
}

void TDBLookupGridEh::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft || Y < SpecRowTop() || !CanLocateKey()) {
        TCustomDBGridEh::MouseDown(Button, Shift, X, Y);
        return;
    }
    FSearchText.clear();
    FTracking = true;
    TrackMouse(Y);
}

void TDBLookupGridEh::MouseMove(TShiftState Shift, int X, int Y)
{
    if (!FTracking) {
        TCustomDBGridEh::MouseMove(Shift, X, Y);
        return;
    }
    const int Distance = Y < 0 ? -Y : Y >= ClientHeight() ? Y - ClientHeight() + 1 : 0;
    if (Distance == 0) {
        FMouseDirection = 0;
        if (FMouseTimer)
            FMouseTimer->SetEnabled(false);
        TrackMouse(Y);
        return;
    }
    FMouseDirection = Y < 0 ? -1 : 1;
    if (!FMouseTimer) {
        FMouseTimer = std::make_unique<TTimer>();
        FMouseTimer->OnTimer = [this](QObject*) { MouseTimerTick(); };
    }
    FMouseTimer->SetInterval(MouseScrollInterval(Distance));
    FMouseTimer->SetEnabled(true);
}

void TDBLookupGridEh::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!FTracking) {
        TCustomDBGridEh::MouseUp(Button, Shift, X, Y);
        return;
    }
    FTracking = false;
    FMouseDirection = 0;
    if (FMouseTimer)
        FMouseTimer->SetEnabled(false);
}

void TDBLookupGridEh::WMVScroll(TScrollCode Code, int Pos)
{
    TDataSet* D = ListDataSet();
    if (!D || !D->Active()) {
        TCustomDBGridEh::WMVScroll(Code, Pos);
        return;
    }
    const int A = DataLink()->ActiveRecord(), N = DataLink()->RecordCount();
    switch (Code) {
    case scLineUp: D->MoveBy(-A - 1); break;
    case scLineDown: D->MoveBy(N - A); break;
    case scPageUp: D->MoveBy(-A - N + 1); break;
    case scPageDown: D->MoveBy(2 * N - A - 2); break;
    case scPosition:
        if (D->IsSequenced())
            D->SetRecNo(Pos);
        else if (Pos == 0)
            D->First();
        else if (Pos == 1)
            D->MoveBy(-A - N + 1);
        else if (Pos == 3)
            D->MoveBy(2 * N - A - 2);
        else if (Pos == 4)
            D->Last();
        break;
    case scTrack:
        if (D->IsSequenced())
            D->SetRecNo(Pos);
        break;
    case scTop: D->First(); break;
    case scBottom: D->Last(); break;
    default: break;
    }
}

// ---------------------------------------------------------------- TPopupDataGridEh

TPopupDataGridEh::TPopupDataGridEh(QWidget* AOwner) : TDBLookupGridEh(AOwner), FGrip(new TSizeGripEh(this))
{
    MakePopupWindowEh(this);
    VertScrollBar()->SetTracking(true);
    FGrip->hide();
    hide();
}

// Every change of size counts as the user's until the owner clears the mark.
void TPopupDataGridEh::Resize()
{
    TDBLookupGridEh::Resize();
    FResized = true;
}

TPopupDataGridEh::~TPopupDataGridEh() = default;

void TPopupDataGridEh::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TDBLookupGridEh::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !OnOwnerNotify)
        return;
    OnOwnerNotify(this, OverDataRows(X, Y) || OverSpecRow(X, Y));
}

void TPopupDataGridEh::UpdateSpecRowText()
{
    TDBLookupGridEh::UpdateSpecRowText();
    if (OnSpecRowChanged)
        OnSpecRowChanged(this);
}

// Once per pop-up: the fitted widths become the columns' own.
void TPopupDataGridEh::RememberColumnWidths()
{
    if (FWidthsRemembered)
        return;
    FWidthsRemembered = true;
    if (FAutoFitRequested)
        SetAutoFitColWidths(true);
    for (int i = 0; i < Columns()->Count(); ++i)
        Columns()->Items(i)->SetWidth(Columns()->Items(i)->Width());
}

void TPopupDataGridEh::showEvent(QShowEvent* Event)
{
    TDBLookupGridEh::showEvent(Event);
    RememberColumnWidths();
}

void TPopupDataGridEh::Paint()
{
    TDBLookupGridEh::Paint();
    QRect R = rect();
    Canvas()->DrawEdge(R, EDGE_RAISED, BF_RECT);
}
