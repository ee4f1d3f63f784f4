// TCustomDBGridEh: the data link's notifications, the in-place editor's
// queries and permissions, the column focus events and the move of the
// record when another data row is chosen. Text typed into the editor stays
// pending (the link's modified flag) until the dataset asks for it before
// it posts or leaves the record; a record change drops what is stale.
#include "grid/DBGridEh.h"

#include "grid/DBGridEhColumns.h"
#include "grid/ToolCtrlsEh.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/rtl/Classes.h"

#include <QScopedValueRollback>
#include <algorithm>

// ---------------------------------------------------------------- data link

void TGridDataLinkEh::ClearModified()
{
    FModified = false;
    // A key picked or completed belongs to the record it was picked on.
    FGrid->FEditKeyValue = Variant();
    // The base grid writes a modified editor back on its next move: the
    // text must not follow the cursor into another record.
    if (QLineEdit* E = FGrid->InplaceEditor())
        E->setModified(false);
}

void TGridDataLinkEh::ActiveChanged()
{
    // Cleared first: hiding the editor of a closing dataset must not write to it.
    ClearModified();
    FGrid->LinkActive(Active());
}

void TGridDataLinkEh::DataSetChanged()
{
    ClearModified();
    FGrid->DataChanged();
    FGrid->DataChanged(nullptr);
}

void TGridDataLinkEh::LayoutChanged()
{
    FGrid->LinkLayoutChanged();
}

// The cursor only moves after the dataset asked for pending text
// (CheckBrowseMode), so whatever the editor still holds is stale.
void TGridDataLinkEh::DataSetScrolled(int Distance)
{
    ClearModified();
    FGrid->ScrollData(Distance);
}

// A change of another field leaves the text typed into the editor pending:
// it is still the user's and is written with the record.
void TGridDataLinkEh::RecordChanged(TField* Field)
{
    FGrid->RecordChanged(Field);
    if (!Field || Field == FGrid->SelectedField())
        ClearModified();
}

void TGridDataLinkEh::EditingChanged()
{
    FGrid->EditingChanged();
}

void TGridDataLinkEh::FocusControl(TField** Field)
{
    if (!Field || !*Field)
        return;
    TDBGridColumnsEh* Columns = FGrid->Columns();
    // Every column of the field in turn: the last one ends current.
    for (int i = 0; i < Columns->Count(); ++i)
        if (Columns->Items(i)->Field() == *Field)
            FGrid->SetSelectedIndex(i);
    if (FGrid->SelectedField() == *Field && FGrid->AcquireFocus()) {
        *Field = nullptr;
        FGrid->HideFilterEditThenBase();
    }
}

void TGridDataLinkEh::UpdateData()
{
    if (FInUpdateData || !FModified)
        return;
    {
        // A failure leaves the text pending: the user can mend it.
        const QScopedValueRollback Updating(FInUpdateData, true);
        FGrid->UpdateData();
    }
    ClearModified();
}

// ---------------------------------------------------------------- record changes

void TCustomDBGridEh::DataChanged(TField* Field)
{
    if (Loading() || FDestroying)
        return;
    if (!Field) {
        Invalidate();
    } else {
        for (int i = 0; i < Columns()->Count(); ++i) {
            if (Columns()->Items(i)->Field() == Field) {
                InvalidateRow(Row());
                break;
            }
        }
    }
    if (!EditorMode() || !DataLink()->Active())
        return;
    const int i = SelectedIndex();
    if (i < 0 || i >= Columns()->Count() || (Field && Field != Columns()->Items(i)->Field()))
        return;
    if (ColumnEditText(i) != FEditText)
        InvalidateEditor();
}

// The current row follows the link's record; then the changed field is repainted.
void TCustomDBGridEh::RecordChanged(TField* Field)
{
    if (HandleAllocated() && !Loading() && !FDestroying && DataLink()->Active()) {
        const int R = DataLink()->ActiveRecord() + TitleRowCount();
        if (R != Row() && R < RowCount()) {
            if (!Options().Contains(dgAlwaysShowEditor))
                HideEditor();
            MoveCurrent(Col(), R, false);
            RefreshEditor();
        }
    }
    DataChanged(Field);
}

void TCustomDBGridEh::RefreshEditor()
{
    const int i = SelectedIndex();
    if (DataLink()->Active() && i >= 0 && i < Columns()->Count())
        FEditText = ColumnEditText(i);
    if (FUpdateLock == 0)
        InvalidateEditor();
}

void TCustomDBGridEh::EditingChanged()
{
    // The indicator shows the edit glyph while the record is edited.
    if (FIndicatorOffset > 0 && Row() < RowCount())
        InvalidateCell(0, Row());
}

void TCustomDBGridEh::UpdateData()
{
    const int i = SelectedIndex();
    if (!DataLink()->Active() || i < 0 || i >= Columns()->Count())
        return;
    TColumnEh* C = Columns()->Items(i);
    // Taken first: putting the record into edit state reloads the editor,
    // and writing the key fields lets go of the pending key.
    const QString Text = FEditText;
    const Variant Key = FEditKeyValue;
    if (!C->CanModify(true))
        return;
    // A text not in a column's list is offered to OnNotInList, which may add
    // it and ask for the list to be searched again.
    auto NotInList = [C, &Text] {
        bool Recheck = false;
        if (C->OnNotInList)
            C->OnNotInList(C, Text, Recheck);
        return Recheck;
    };
    // A key-list column stores the key at the picked entry's position, Null
    // for a text not in the list.
    if (C->KeyList()->Count() > 0) {
        int k = C->PickList()->IndexOf(Text);
        if (k < 0 && NotInList())
            k = C->PickList()->IndexOf(Text);
        C->UpdateData(Text, k >= 0 && k < C->KeyList()->Count() ? Variant(C->KeyList()->Strings(k)) : Variant::Null(),
                      false);
        return;
    }
    TField* F = C->Field();
    // A key chosen from the column's list (or completed) is written as it is.
    if (F && F->Lookup() && !F->KeyFields().isEmpty() && !Key.IsEmpty() && !Key.IsNull()) {
        C->UpdateData(Text, Key, false);
        return;
    }
    // A lookup column writes the key of the record whose text it is (whole
    // text, any letter case), Null for none.
    if (F && F->Lookup() && F->LookupDataSet() && !F->KeyFields().isEmpty()) {
        TDataSet* List = F->LookupDataSet();
        auto Find = [&] { return List->Locate(F->LookupResultField(), Variant(Text), loCaseInsensitive); };
        const bool Found = Text.isEmpty() ? false : (Find() || (NotInList() && Find()));
        C->UpdateData(Text, Found ? GetFieldValues(List, F->LookupKeyFields()) : Variant::Null(), false);
        return;
    }
    if (C->GetColumnType() == ctPickList && C->PickList()->IndexOf(Text) < 0)
        NotInList();
    C->UpdateData(Text, Variant(), true);
}

// ---------------------------------------------------------------- editing permission

bool TCustomDBGridEh::CanEditShow() const
{
    bool Result = TCustomGrid::CanEditShow() && FLayoutLock == 0 && !FInLayout && DataLink()->Active()
        && !FilterEditing();
    if (Result) {
        const int i = SelectedIndex();
        Result = i >= 0 && i < Columns()->Count();
        if (Result) {
            TColumnEh* C = Columns()->Items(i);
            const TColumnEhType Kind = C->GetColumnType();
            Result = Kind != ctKeyImageList && Kind != ctCheckboxes && C->CanModify(false);
        }
    }
    // Editing would clear a selection that a rectangle selection may still need.
    if (Result && SelectionExists())
        Result = !OptionsEh().Contains(dghClearSelection) || !AllowedSelections().Contains(gstRectangle);
    if (!Result && InplaceEditor() && EditorMode())
        InplaceEditor()->hide();
    return Result;
}

// Asked before the user changes the text: the record goes into edit state
// now, so that the dataset asks for the text before it posts or moves.
bool TCustomDBGridEh::CanEditModify() const
{
    const int i = SelectedIndex();
    if (ReadOnly() || !DataLink()->Active() || DataLink()->ReadOnly() || i < 0 || i >= Columns()->Count())
        return false;
    if (!Columns()->Items(i)->CanModify(false))
        return false;
    return DataLink()->Edit();
}

bool TCustomDBGridEh::CanEditAcceptKey(QChar Key) const
{
    if (InplaceEditor() && EditorMode() && InplaceEditor()->isReadOnly())
        return false;
    const int i = SelectedIndex();
    if (!DataLink()->Active() || i < 0 || i >= Columns()->Count())
        return false;
    TColumnEh* C = Columns()->Items(i);
    if (C->KeyList()->Count() > 0)
        return true;
    TField* F = C->Field();
    return F && F->IsValidChar(Key);
}

void TCustomDBGridEh::EditorTextEdited()
{
    if (!InplaceEditor() || !CanEditModify()) {
        InvalidateEditor();
        return;
    }
    FEditText = InplaceEditor()->text();
    // Text changed outside completion (cut, drop) is matched again when it
    // is written: a key picked for the old text would not be its key.
    FEditKeyValue = Variant();
    DataLink()->SetModified();
}

void TCustomDBGridEh::EditorTextReverted()
{
    if (InplaceEditor())
        FEditText = InplaceEditor()->text();
    DataLink()->ClearModified();
}

// ---------------------------------------------------------------- editor queries

int TCustomDBGridEh::GetEditLimit()
{
    const int i = SelectedIndex();
    if (i < 0 || i >= Columns()->Count())
        return 0;
    TColumnEh* C = Columns()->Items(i);
    TField* F = C->Field();
    if (C->KeyList()->Count() > 0 || !F)
        return 0;
    switch (F->DataType()) {
    case ftString: case ftFixedChar: case ftWideString:
        return F->Size();
    default:
        return 0;
    }
}

QString TCustomDBGridEh::GetEditMask(int ACol)
{
    const int i = ACol - FIndicatorOffset;
    if (!DataLink()->Active() || i < 0 || i >= Columns()->Count())
        return QString();
    TColumnEh* C = Columns()->Items(i);
    if (!C->EditMask().isEmpty())
        return C->EditMask();
    if (C->Field() && C->KeyList()->Count() == 0)
        return C->Field()->EditMask();
    return QString();
}

QString TCustomDBGridEh::ColumnEditText(int DataCol)
{
    TColumnEh* C = Columns()->Items(DataCol);
    TField* F = C->Field();
    QString Text;
    if (F) {
        if (C->KeyList()->Count() > 0) {
            const int k = C->KeyList()->IndexOf(F->Text());
            Text = k >= 0 && k < C->PickList()->Count() ? C->PickList()->Strings(k) : QString();
        } else if (F->DataType() == ftMemo && DrawMemoText()) {
            Text = F->AsString().replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        } else {
            Text = F->Text();
        }
        // The key value behind a lookup column's text is kept by the lookup
        // editing; other fields have none.
        if (!F->Lookup())
            FEditKeyValue = Variant();
    }
    TColCellParamsEh Params;
    C->FillColCellParams(Params);
    Params.Col = DataCol + FIndicatorOffset;
    Params.Row = Row();
    Params.Text = Text;
    C->GetColCellParams(true, Params);
    return Params.Text;
}

QString TCustomDBGridEh::GetEditText(int ACol, int)
{
    const int i = ACol - FIndicatorOffset;
    if (!DataLink()->Active() || i < 0 || i >= Columns()->Count())
        return QString();
    FEditText = ColumnEditText(i);
    return FEditText;
}

// The text is written through the data link, which writes pending text once
// and only while the record it was typed for is current.
void TCustomDBGridEh::SetEditText(int ACol, int, const QString& Value)
{
    const int i = ACol - FIndicatorOffset;
    if (!DataLink()->Active() || i < 0 || i >= Columns()->Count())
        return;
    FEditText = Value;
    DataLink()->SetModified();
    DataLink()->UpdateRecord();
}

// ---------------------------------------------------------------- focus and column events

bool TCustomDBGridEh::AcquireFocus()
{
    // A grid that cannot take the focus lets the action go on.
    if (!isEnabled() || !isVisible() || focusPolicy() == Qt::NoFocus)
        return true;
    SetFocus();
    return GridFocused() || FilterEditing();
}

void TCustomDBGridEh::HideFilterEditThenBase()
{
    HideFilterEdit();
    SetFocus();
}

void TCustomDBGridEh::SetSelectedIndex(int Value)
{
    if (Value >= 0 && Value < Columns()->Count())
        SetCol(Value + FIndicatorOffset);
}

// MoveCol fires the column events itself, once, around its own move.
void TCustomDBGridEh::ColExit()
{
    if (!Loading() && !FDestroying && !FInMoveCol && OnColExit)
        OnColExit(this);
}

void TCustomDBGridEh::ColEnter()
{
    if (Loading() || FDestroying)
        return;
    // The editor takes the new column's text, limit and mask, the grid its
    // input method.
    if (EditorMode())
        InvalidateEditor();
    if (GridFocused())
        ApplyImeMode();
    if (OnColEnter && !FInMoveCol)
        OnColEnter(this);
}

void TCustomDBGridEh::CellClick(TColumnEh* Column)
{
    if (OnCellClick)
        OnCellClick(Column);
}

// ---------------------------------------------------------------- moving the record

// The grid's rows are the record window: choosing another data row moves the
// dataset there, and the link's notification then places the current row.
bool TCustomDBGridEh::SelectCell(int ACol, int ARow)
{
    if (!TCustomGrid::SelectCell(ACol, ARow))
        return false;
    const int Titles = TitleRowCount();
    if (!DataLink()->Active() || ARow < Titles || ARow == Row())
        return true;
    if (ARow >= Titles + FDataRowCount)
        return false;
    DataLink()->MoveBy(ARow - Titles - DataLink()->ActiveRecord());
    if (Row() == ARow)
        return true;
    // The dataset could not go that far: only the column changes.
    if (ACol != Col())
        MoveCurrent(ACol, Row(), true);
    return false;
}
