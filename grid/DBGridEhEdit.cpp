// TCustomDBGridEh: the data link's notifications, the in-place editor's
// queries and the moves of the current record by keys and clicks.
#include "grid/DBGridEh.h"

#include "grid/DBGridEhColumns.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/rtl/Classes.h"

#include <algorithm>

// ---------------------------------------------------------------- data link

void TGridDataLinkEh::ActiveChanged()
{
    FGrid->LinkActive(Active());
}

void TGridDataLinkEh::DataSetChanged()
{
    FGrid->DataChanged();
}

void TGridDataLinkEh::LayoutChanged()
{
    FGrid->LinkLayoutChanged();
}

void TGridDataLinkEh::DataSetScrolled(int Distance)
{
    FGrid->ScrollData(Distance);
}

void TGridDataLinkEh::RecordChanged(TField* Field)
{
    FGrid->RecordChangedEh(Field);
}

// ---------------------------------------------------------------- record changes

void TCustomDBGridEh::RecordChangedEh(TField* Field)
{
    if (Loading())
        return;
    if (!Field) {
        Invalidate();
        return;
    }
    for (int i = 0; i < Columns()->Count(); ++i) {
        if (Columns()->Items(i)->Field() == Field) {
            InvalidateRow(Row());
            break;
        }
    }
}

// ---------------------------------------------------------------- editor queries

bool TCustomDBGridEh::CanEditShow() const
{
    if (!TCustomGrid::CanEditShow() || FLayoutLock > 0 || FInLayout || !DataLink()->Active())
        return false;
    const int i = SelectedIndex();
    if (i < 0 || i >= Columns()->Count())
        return false;
    TColumnEh* C = Columns()->Items(i);
    const TColumnEhType Kind = C->GetColumnType();
    return Kind != ctKeyImageList && Kind != ctCheckboxes && C->CanModify(false);
}

QString TCustomDBGridEh::GetEditText(int ACol, int)
{
    const int i = ACol - FIndicatorOffset;
    if (!DataLink()->Active() || i < 0 || i >= Columns()->Count())
        return QString();
    TColumnEh* C = Columns()->Items(i);
    TField* F = C->Field();
    if (!F)
        return QString();
    if (C->KeyList()->Count() > 0) {
        const int k = C->KeyList()->IndexOf(F->Text());
        return k >= 0 && k < C->PickList()->Count() ? C->PickList()->Strings(k) : QString();
    }
    if (F->DataType() == ftMemo && DrawMemoText())
        return F->AsString().replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return F->Text();
}

// The editor's text goes to the column's field; a key-list column stores the
// key at the picked entry's position, Null for a text not in the list.
void TCustomDBGridEh::SetEditText(int ACol, int, const QString& Value)
{
    const int i = ACol - FIndicatorOffset;
    if (!DataLink()->Active() || i < 0 || i >= Columns()->Count())
        return;
    TColumnEh* C = Columns()->Items(i);
    if (!C->CanModify(true))
        return;
    if (C->KeyList()->Count() > 0) {
        const int k = C->PickList()->IndexOf(Value);
        C->UpdateData(Value, k >= 0 && k < C->KeyList()->Count() ? Variant(C->KeyList()->Strings(k)) : Variant::Null(),
                      false);
        return;
    }
    C->UpdateData(Value, Variant(), true);
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

// Record keys move the dataset rather than the grid's row, so the window
// scrolls at its edges.
void TCustomDBGridEh::KeyDown(int& Key, TShiftState Shift)
{
    TDataSet* D = DataLink()->DataSet();
    const bool RecordKey = DataLink()->Active() && D
        && (Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT
            || ((Key == VK_HOME || Key == VK_END) && Shift.Contains(ssCtrl)));
    if (!RecordKey) {
        TCustomGrid::KeyDown(Key, Shift);
        return;
    }
    // OnKeyDown first: it may consume the key.
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    switch (Key) {
    case VK_UP: D->MoveBy(-1); break;
    case VK_DOWN: D->MoveBy(1); break;
    case VK_PRIOR: D->MoveBy(-VisibleDataRowCount()); break;
    case VK_NEXT: D->MoveBy(VisibleDataRowCount()); break;
    case VK_HOME: D->First(); break;
    default: D->Last(); break;
    }
    Key = 0;
}
