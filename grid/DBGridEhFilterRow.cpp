// TCustomDBGridEh: the filter row. One editor moves from filter cell to filter
// cell; what is typed is parsed into the column's condition record as it
// changes (silently: a text that does not parse leaves the column as it was
// when the edit began), and Enter hands the records to OnApplyFilter or the
// data service.
#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "grid/DBGridEhDataService.h"
#include "grid/DBGridEhDraw.h"
#include "grid/DBGridEhFilter.h"
#include "grid/ToolCtrlsEh.h"
#include "platform/db/DataSet.h"
#include "platform/gui/Application.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScopedValueRollback>

int TCustomDBGridEh::FilterRow() const
{
    return FSTFilter && FSTFilter->Visible() ? TitleRowCount() - 1 : -1;
}

bool TCustomDBGridEh::FilterCellEditable(int DataCol) const
{
    if (DataCol < 0 || DataCol >= Columns()->Count())
        return false;
    TColumnEh* C = Columns()->Items(DataCol);
    return C->Visible() && C->STFilter()->Visible();
}

TInplaceFilterEditEh* TCustomDBGridEh::CreateFilterEdit()
{
    return new TInplaceFilterEditEh(this);
}

bool TCustomDBGridEh::InplaceEditCanModify(const TCustomDBEditEh* Edit) const
{
    return Edit == FFilterEdit && FilterCellEditable(FFilterCol);
}

bool TCustomDBGridEh::InplaceEditWantTabs(const TCustomDBEditEh* Edit) const
{
    return Edit == FFilterEdit && Options().Contains(dgTabs);
}

bool TCustomDBGridEh::IsFilterEditUsable() const
{
    return FFilterEditInUse && FDragSelection == gstNon;
}

void TCustomDBGridEh::StoreFilterText(int DataCol)
{
    if (!FFilterEdit || DataCol < 0 || DataCol >= Columns()->Count())
        return;
    TColumnEh* C = Columns()->Items(DataCol);
    if (!C->FieldName().isEmpty())
        C->STFilter()->SetFilterText(FFilterEdit->Text());
}

void TCustomDBGridEh::LoadFilterEdit(int DataCol)
{
    const QScopedValueRollback Loading(FLoadingFilterEdit, true);
    FFilterEdit->SetValue(Variant::Null());
    FFilterEdit->EditButton()->SetVisible(false);
    TColumnEh* C = DataCol >= 0 && DataCol < Columns()->Count() ? Columns()->Items(DataCol) : nullptr;
    FFilterStartCol = DataCol;
    FFilterStartText = C && !C->FieldName().isEmpty() ? C->STFilter()->FilterText() : QString();
    FFilterEdit->SetText(FFilterStartText);
}

void TCustomDBGridEh::RestoreFilterStartText(int DataCol)
{
    if (DataCol != FFilterStartCol || DataCol < 0 || DataCol >= Columns()->Count())
        return;
    TSTColumnFilterEh* F = Columns()->Items(DataCol)->STFilter();
    if (F->FilterText() == FFilterStartText)
        return;
    try {
        F->SetFilterText(FFilterStartText);
    } catch (const Exception&) {
        // It parsed when the edit began; a field of another kind since keeps the column as it is.
    }
}

void TCustomDBGridEh::DataServiceApplyFilter()
{
    DBGridEhDataService()->ApplyFilter(this);
}

bool TCustomDBGridEh::StoreFilterTextReporting(int DataCol, bool Always)
{
    try {
        StoreFilterText(DataCol);
        return true;
    } catch (const Exception& E) {
        RestoreFilterStartText(DataCol);
        const QString Text = FFilterEdit->Text();
        if (Always || Text != FFilterErrorShown) {
            FFilterErrorShown = Text;
            Application()->HandleException(E);
        }
        return false;
    }
}

// Typing: each change is parsed at once, but a text that does not parse
// yet ("in (1,") is no error until the user leaves the cell or presses Enter.
void TCustomDBGridEh::FilterTextChanged()
{
    if (FLoadingFilterEdit || !FFilterEditInUse || FFilterCol < 0 || FFilterCol >= Columns()->Count())
        return;
    FFilterErrorShown.clear();
    if (Columns()->Items(FFilterCol)->STFilter()->FilterText() == FFilterEdit->Text())
        return;
    try {
        StoreFilterText(FFilterCol);
    } catch (const Exception&) {
        RestoreFilterStartText(FFilterCol);
    }
}

void TCustomDBGridEh::ApplyFilterEditLook()
{
    TFont F;
    F.Assign(*Font());
    QFont QF = F.ToQFont();
    FFilterEdit->setFont(QF);
    QPalette P = FFilterEdit->palette();
    P.setColor(QPalette::Text, ColorToQColor(clBlue));
    P.setColor(QPalette::Base, ColorToQColor(FilterCellColorEh(FixedColor())));
    FFilterEdit->setPalette(P);
    FFilterEdit->SetFlat(Flat());
}

void TCustomDBGridEh::ShowFilterEdit(int DataCol)
{
    if (!FSTFilter->Visible() || !FilterCellEditable(DataCol))
        return;
    // A record that cannot be posted keeps the user where he is.
    TDataSet* D = DataLink()->DataSet();
    if (DataLink()->Active() && D && (D->State() == dsEdit || D->State() == dsInsert))
        D->CheckBrowseMode();
    if (!FFilterEdit) {
        FFilterEdit = CreateFilterEdit();
        FFilterEdit->SetInplaceEditHolder(this);
    }
    const int Old = FFilterCol;
    const bool Moved = FFilterEditInUse && FFilterEdit->isVisible() && Old >= 0 && Old != DataCol;
    if (Moved)
        StoreFilterTextReporting(Old, false);
    FFilterCol = DataCol;
    FFilterEditInUse = true;
    HideEditor();
    const int Raw = DataCol + FIndicatorOffset;
    if (Options().Contains(dgRowSelect)) {
        if (Raw >= FixedCols()) {
            if (Raw < LeftCol())
                SetLeftCol(Raw);
            else if (const TGridCoord Max = MaxTopLeftFor(Raw, TopRow()); LeftCol() < Max.X)
                SetLeftCol(Max.X);
        }
    } else if (Raw != Col()) {
        MoveCol(Raw, 0, false);
    }
    InvalidateCell(Raw, FilterRow());
    if (Moved)
        InvalidateCell(Old + FIndicatorOffset, FilterRow());
    PlaceFilterEdit(true);
    if (FFilterEdit->isVisible())
        FFilterEdit->setFocus();
}

void TCustomDBGridEh::PlaceFilterEdit(bool SelectAll)
{
    if (!FFilterEdit || !FSTFilter || FSTFilter->UpdateCount() > 0)
        return;
    if (!FSTFilter->Visible() || !FilterCellEditable(FFilterCol) || !FFilterEditInUse) {
        // A cell that went away (its column deleted or hidden) must not keep
        // the data editor shut out.
        FFilterEditInUse = false;
        FFilterEdit->hide();
        return;
    }
    QRect R = CellRect(FFilterCol + FIndicatorOffset, FilterRow());
    R.setLeft(R.left() + 1);
    if (!IsFilterEditUsable() || R.width() <= 0 || R.height() <= 0) {
        FFilterEdit->hide();
        return;
    }
    if (SelectAll) {
        ApplyFilterEditLook();
        FFilterEdit->show();
        LoadFilterEdit(FFilterCol);
        FFilterEdit->selectAll();
    }
    FFilterEdit->setGeometry(R);
    FFilterEdit->show();
}

void TCustomDBGridEh::HideFilterEdit()
{
    if (!FSTFilter || FSTFilter->UpdateCount() > 0)
        return;
    if (FFilterEdit && FFilterEdit->isVisible()) {
        StoreFilterTextReporting(FFilterCol, false);
        if (FilterRow() >= 0)
            InvalidateCell(FFilterCol + FIndicatorOffset, FilterRow());
        const bool HadFocus = FFilterEdit->hasFocus();
        // Not in use before the grid takes the focus, or it would hand it back.
        FFilterEditInUse = false;
        if (HadFocus && isEnabled() && isVisible())
            SetFocus();
        FFilterEdit->hide();
    }
    FFilterEditInUse = false;
    if (Options().Contains(dgAlwaysShowEditor))
        ShowEditor();
}

void TCustomDBGridEh::ApplyFilter()
{
    if (!FFilterEdit || FFilterCol < 0)
        return;
    if (!StoreFilterTextReporting(FFilterCol, true))
        return;
    const int Left = LeftCol();
    {
        const QScopedValueRollback Busy(FApplyingFilter, true);
        if (OnApplyFilter)
            OnApplyFilter(this);
        else
            DataServiceApplyFilter();
        if (Left < ColCount())
            SetLeftCol(Left);
    }
    PlaceFilterEdit(true);
    if (SumList()->Active())
        SumList()->RecalcAll();
    Invalidate();
}

// FromEdge finds the first (Forward false) or the last (Forward true) cell.
void TCustomDBGridEh::MoveToFilterCell(bool Forward, bool FromEdge)
{
    const int First = FIndicatorOffset;
    const int Last = ColCount() - 1;
    int Start = FFilterCol + FIndicatorOffset;
    if (FromEdge || FFilterCol < 0) {
        // A search from outside covers every column: it never wraps.
        FromEdge = true;
        Start = Forward ? Last + 1 : First - 1;
        Forward = !Forward;
    }
    const int Step = Forward ? 1 : -1;
    int C = Start;
    for (int Guard = 0; Guard <= ColCount(); ++Guard) {
        C += Step;
        if (C > Last || C < First) {
            if (FromEdge)
                return;
            C = C > Last ? First : Last;
        }
        if (C == Start)
            return;
        if (FilterCellEditable(C - FIndicatorOffset)) {
            ShowFilterEdit(C - FIndicatorOffset);
            return;
        }
    }
}

void TCustomDBGridEh::FilterKeyDown(int& Key, TShiftState Shift)
{
    const bool Ctrl = Shift.Contains(ssCtrl);
    const bool Plain = !Ctrl && !Shift.Contains(ssShift) && !Shift.Contains(ssAlt);
    const int Pos = FFilterEdit->cursorPosition();
    const bool AtStart = Pos == 0;
    const bool AtEnd = Pos == FFilterEdit->text().size();
    auto Move = [&](bool Forward, bool FromEdge) {
        MoveToFilterCell(Forward, FromEdge);
        Key = 0;
    };
    switch (Key) {
    case VK_LEFT:
        if (Ctrl)
            Move(false, true);
        else if (AtStart && !FFilterEdit->hasSelectedText())
            Move(false, false);
        break;
    case VK_RIGHT:
        if (Ctrl)
            Move(true, true);
        else if (AtEnd)
            Move(true, false);
        break;
    case VK_HOME:
        if (Ctrl || AtStart)
            Move(false, true);
        break;
    case VK_END:
        if (Ctrl || AtEnd)
            Move(true, true);
        break;
    case VK_TAB:
        if (Options().Contains(dgTabs))
            Move(!Shift.Contains(ssShift), false);
        break;
    case VK_UP:
        if (Plain)
            Key = 0;
        break;
    case VK_DOWN:
        if ((Plain || Shift == TShiftState{ssCtrl}) && DataLink()->Active()) {
            MoveCol(FFilterCol + FIndicatorOffset, 0, false);
            if (!Ctrl)
                DataLink()->MoveBy(-DataLink()->ActiveRecord());
            HideFilterEdit();
            Key = 0;
        }
        break;
    case VK_F2:
        FFilterEdit->deselect();
        FFilterEdit->end(false);
        Key = 0;
        break;
    case VK_RETURN:
        ApplyFilter();
        Key = 0;
        break;
    default:
        break;
    }
}

bool TCustomDBGridEh::EnterFilterRowByKey(TShiftState Shift)
{
    TDataSet* D = DataLink()->DataSet();
    if (FilterRow() < 0 || !DataLink()->Active() || !D)
        return false;
    if (D->CurrentIndex() > 0 && !Shift.Contains(ssCtrl))
        return false;
    int DataCol = SelectedIndex();
    if (Options().Contains(dgRowSelect)) {
        // From the remembered filter column onwards, wrapping.
        const int Count = Columns()->Count();
        const int From = std::max(0, FFilterCol);
        DataCol = -1;
        for (int i = 0; i < Count && DataCol < 0; ++i)
            if (FilterCellEditable((From + i) % Count))
                DataCol = (From + i) % Count;
    }
    ShowFilterEdit(DataCol);
    return true;
}

bool TCustomDBGridEh::FilterMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    (void)Shift;
    if ((Button != mbLeft && Button != mbRight) || FilterRow() < 0)
        return false;
    const TGridCoord Cell = MouseCoord(X, Y);
    if (Cell.Y != FilterRow() || Cell.X < FIndicatorOffset || !FilterCellEditable(Cell.X - FIndicatorOffset))
        return false;
    ClearSelection();
    ShowFilterEdit(Cell.X - FIndicatorOffset);
    FFilterMousePos = QPoint(X, Y);
    // The caret lands under the pointer: the press goes on to the editor.
    if (Button == mbLeft && FFilterEdit && FFilterEdit->isVisible()) {
        FFilterPressPassed = true;
        SendFilterEditMouse(QEvent::MouseButtonPress, Qt::LeftButton, X, Y);
    }
    return true;
}

bool TCustomDBGridEh::FilterMouseFollow(bool Release, int X, int Y)
{
    if (!FFilterPressPassed)
        return false;
    if (Release)
        FFilterPressPassed = false;
    SendFilterEditMouse(Release ? QEvent::MouseButtonRelease : QEvent::MouseMove,
                        Release ? Qt::NoButton : Qt::LeftButton, X, Y);
    return true;
}

void TCustomDBGridEh::SendFilterEditMouse(int Type, int Buttons, int X, int Y)
{
    if (!FFilterEdit || !FFilterEdit->isVisible())
        return;
    const QPoint P = FFilterEdit->mapFrom(this, QPoint(X, Y));
    QMouseEvent E(QEvent::Type(Type), P, mapToGlobal(QPoint(X, Y)), Qt::LeftButton, Qt::MouseButtons(Buttons),
                  Qt::NoModifier);
    QCoreApplication::sendEvent(FFilterEdit, &E);
}

void TCustomDBGridEh::DrawFilterCell(TColumnEh* Column, const QRect& ARect)
{
    TCanvas* C = Canvas();
    C->Font()->Assign(*Font());
    C->Font()->SetColor(clBlue);
    C->Brush()->SetColor(FilterCellColorEh(FixedColor()));
    C->FillRect(ARect);
    const int DY = Flat() ? 1 : 2;
    WriteCellText(C, ARect, UseRightToLeftAlignment(), 2, 2, false, false, tlTopEh, taLeftJustify,
                  Column->STFilter()->FilterText(), DY, 2);
    if (!Flat()) {
        QRect Edge = ARect;
        C->DrawEdge(Edge, BDR_RAISEDINNER, BF_RECT);
    }
}
