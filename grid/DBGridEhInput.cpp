// TCustomDBGridEh: the input layer. Keys move the record (through the
// dataset, so the record window scrolls at its edges) and the column, insert,
// append, delete and cancel; the mouse chooses cells, presses title buttons,
// sizes and moves columns and toggles check boxes. Selection, incremental
// search, the clipboard and the filter row are reached through hooks.
#include "grid/DBGridEh.h"

#include "grid/DBGridEhColumns.h"
#include "grid/DBGridEhTitles.h"
#include "grid/DbUtilsEh.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Menus.h"

#include <QApplication>
#include <QScopedValueRollback>
#include <algorithm>

namespace {

// Idle time that ends an incremental search started by typing.
constexpr int IncSearchIdle = 1500;
// A title button dragged further than this turns into a column move.
constexpr int TitleDragSlack = 3;

QString WithoutLastChar(QString Text)
{
    const qsizetype N = Text.size();
    const bool Pair = N >= 2 && Text[N - 1].isLowSurrogate() && Text[N - 2].isHighSurrogate();
    Text.chop(Pair ? 2 : 1);
    return Text;
}

} // namespace

// ---------------------------------------------------------------- small tests

TColumnEh* TCustomDBGridEh::DataColumn(int RawCol) const
{
    const int i = RawCol - FIndicatorOffset;
    return i >= 0 && i < Columns()->Count() ? Columns()->Items(i) : nullptr;
}

bool TCustomDBGridEh::CheckKindColumn(int RawCol) const
{
    const TColumnEh* C = DataColumn(RawCol);
    if (!C)
        return false;
    const TColumnEhType Kind = C->GetColumnType();
    return Kind == ctCheckboxes || Kind == ctKeyImageList;
}

// A column Tab stops at: shown, editable, and its field (or a lookup
// field's keys) may be changed.
bool TCustomDBGridEh::ColumnTabStop(int RawCol) const
{
    TColumnEh* C = DataColumn(RawCol);
    if (!C || !C->Visible() || C->ReadOnly() || DataLink()->ReadOnly() || !DataLink()->Active())
        return false;
    TField* F = C->Field();
    if (!F)
        return false;
    if (!F->Lookup())
        return F->CanModify();
    if (F->KeyFields().isEmpty())
        return false;
    for (const QString& Name : F->KeyFields().split(u';', Qt::SkipEmptyParts)) {
        TField* Key = DataLink()->DataSet()->FindField(Name.trimmed());
        if (!Key || !Key->CanModify())
            return false;
    }
    return true;
}

bool TCustomDBGridEh::StartsIncSearch() const
{
    TColumnEh* C = DataColumn(Col());
    const TDBGridEhOptions O = OptionsEh();
    return (O.Contains(dghIncSearch) && (!C || !C->CanModify(false)))
        || (O.Contains(dghPreferIncSearch) && !Options().Contains(dgAlwaysShowEditor) && !EditorMode());
}

// Under multi-line titles only the leaf caption's part of the title cell
// acts as the column's button.
bool TCustomDBGridEh::InLeafTitle(int RawCol, int Y) const
{
    const int i = RawCol - FIndicatorOffset;
    if (!UseMultiTitle() || i < 0 || i >= int(FLeafFieldArr.size()))
        return true;
    const QRect R = CellRect(RawCol, 0);
    return Y >= R.top() + R.height() - FLeafFieldArr[size_t(i)]->Height;
}

bool TCustomDBGridEh::OverTitle(int RawCol, int X, int Y) const
{
    const TGridCoord Cell = MouseCoord(X, Y);
    return Cell.X == RawCol && Cell.Y >= 0 && Cell.Y < TitleRowCount() && Cell.Y != FilterRow()
           && InLeafTitle(RawCol, Y);
}

// ---------------------------------------------------------------- edit action tests

bool TCustomDBGridEh::CheckCopyAction() const
{
    return DataLink()->Active() && SelectionExists();
}

bool TCustomDBGridEh::CheckDeleteAction() const
{
    TDataSet* D = DataLink()->DataSet();
    if (!DataLink()->Active() || !D || ReadOnly() || D->IsEmpty() || !D->CanModify())
        return false;
    switch (SelectionType()) {
    case gstRecordBookmarks:
    case gstAll: return AllowedOperations().Contains(alopDeleteEh);
    case gstRectangle:
    case gstColumns: return AllowedOperations().Contains(alopUpdateEh);
    // Without a selection the action deletes the current record.
    case gstNon: return AllowedOperations().Contains(alopDeleteEh);
    }
    return false;
}

bool TCustomDBGridEh::CheckCutAction() const
{
    return CheckCopyAction() && CheckDeleteAction();
}

bool TCustomDBGridEh::CheckPasteAction() const
{
    TDataSet* D = DataLink()->DataSet();
    if (!DataLink()->Active() || !D || ReadOnly() || !D->CanModify())
        return false;
    if (!Clipboard()->HasFormat(QStringLiteral("VCLDBIF")) && Clipboard()->AsText().isEmpty())
        return false;
    return D->State() == dsInsert || AllowedOperations().Contains(alopUpdateEh);
}

bool TCustomDBGridEh::CheckSelectAllAction() const
{
    TDataSet* D = DataLink()->DataSet();
    return DataLink()->Active() && D && !D->IsEmpty() && AllowedSelections().Contains(gstAll);
}

// ---------------------------------------------------------------- keys

void TCustomDBGridEh::KeyDown(int& Key, TShiftState Shift)
{
    FKeepSelection = Shift.Contains(ssCtrl) || !OptionsEh().Contains(dghClearSelection);
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    if (Key == VK_UP && EnterFilterRowByKey(Shift)) {
        Key = 0;
        return;
    }
    if (UseRightToLeftAlignment() && (Key == VK_LEFT || Key == VK_RIGHT))
        Key = Key == VK_LEFT ? VK_RIGHT : VK_LEFT;
    TDataSet* D = DataLink()->DataSet();
    if (!DataLink()->Active() || !D || Columns()->Count() == 0)
        return;
    const bool Ctrl = Shift.Contains(ssCtrl);
    const bool ShiftKey = Shift.Contains(ssShift);
    const bool Alt = Shift.Contains(ssAlt);
    const bool Plain = !Ctrl && !ShiftKey && !Alt;
    bool Done = false;
    if (Ctrl && !ShiftKey && !Alt && Key == VK_OEM_7) {
        CopyValueFromRecordAbove();
        Done = true;
    } else if (Ctrl && !ShiftKey && !Alt && Key == 'F' && OptionsEh().Contains(dghIncSearch)) {
        IncrementalSearch(QString(), IncSearchIdle, 0);
        Done = true;
    } else if (IncSearchRunning() && Plain && (Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_F2)) {
        EndIncrementalSearch();
        Done = true;
    } else if (IncSearchRunning() && Plain && Key == VK_BACK) {
        const QString Text = WithoutLastChar(IncSearchText());
        EndIncrementalSearch();
        IncrementalSearch(Text, IncSearchIdle, 0);
        Done = true;
    } else if (IncSearchRunning() && Ctrl && !Alt && Key == VK_RETURN) {
        IncrementalSearch(QString(), IncSearchIdle, ShiftKey ? 2 : 1);
        Done = true;
    } else {
        Done = Ctrl ? KeyWithCtrl(Key, Shift) : KeyWithoutCtrl(Key, Shift);
    }
    // Delete empties a check-box or image cell.
    if (Key == VK_DELETE && !Ctrl && !Options().Contains(dgRowSelect) && CheckKindColumn(Col())) {
        TColumnEh* C = DataColumn(Col());
        if (C->Field() && !C->Field()->ReadOnly() && C->CanModify(true)) {
            C->Field()->Clear();
            Done = true;
        }
    }
    if (Done)
        Key = 0;
}

bool TCustomDBGridEh::KeyWithoutCtrl(int Key, TShiftState Shift)
{
    TDataSet* D = DataLink()->DataSet();
    const bool ShiftKey = Shift.Contains(ssShift);
    const bool Multi = Options().Contains(dgMultiSelect);
    const bool RowSelect = Options().Contains(dgRowSelect);
    switch (Key) {
    case VK_LEFT:
    case VK_RIGHT: {
        const int Dir = Key == VK_LEFT ? -1 : 1;
        if (RowSelect) {
            SetLeftCol(LeftCol() + Dir);
            return true;
        }
        if (!(Multi && ShiftKey))
            ClearSelection();
        MoveCol(Col() + Dir, Dir, Multi && ShiftKey);
        return true;
    }
    case VK_UP:
        PriorRow(ShiftKey);
        return true;
    case VK_DOWN:
        NextRow(ShiftKey);
        return true;
    case VK_TAB:
        if (Shift.Contains(ssAlt) || !Options().Contains(dgTabs))
            return false;
        Tab(!ShiftKey);
        return true;
    case VK_RETURN:
        if (!OptionsEh().Contains(dghEnterAsTab))
            return false;
        Tab(!ShiftKey);
        return true;
    case VK_ESCAPE:
        // A list that had nothing to cancel leaves Esc to the window.
        return EscapeKey() || Options().Contains(dgEditing);
    case VK_PRIOR:
    case VK_NEXT:
        MoveRows(Key == VK_PRIOR ? -VisibleDataRowCount() : VisibleDataRowCount(), ShiftKey);
        return true;
    case VK_HOME:
    case VK_END:
        if (VisibleColumns().size() == 1 || RowSelect)
            MoveRowsTo(Key == VK_END, ShiftKey);
        else if (Key == VK_HOME)
            MoveCol(FIndicatorOffset, 1, ShiftKey && Multi);
        else
            MoveCol(ColCount() - 1, -1, ShiftKey && Multi);
        return true;
    case VK_INSERT:
        if (ShiftKey) {
            PasteKey();
            return true;
        }
        if (D->CanModify() && !ReadOnly() && Options().Contains(dgEditing)) {
            ClearSelection();
            if (AllowedOperations().Contains(alopInsertEh))
                D->Insert();
            else if (AllowedOperations().Contains(alopAppendEh))
                D->Append();
        }
        return true;
    case VK_DELETE:
        if (!ShiftKey || !EditActions().Contains(geaCutEh) || !CheckCutAction())
            return false;
        DoCutAction();
        return true;
    case VK_F2:
        ShowEditor();
        return true;
    default:
        return false;
    }
}

bool TCustomDBGridEh::KeyWithCtrl(int Key, TShiftState Shift)
{
    const bool Select = Shift.Contains(ssShift) && Options().Contains(dgMultiSelect);
    switch (Key) {
    case VK_UP:
    case VK_PRIOR:
        MoveRows(-DataLink()->ActiveRecord(), Select);
        return true;
    case VK_DOWN:
    case VK_NEXT:
        MoveRows(DataLink()->RecordCount() - 1 - DataLink()->ActiveRecord(), Select);
        return true;
    case VK_HOME:
    case VK_END:
        MoveRowsTo(Key == VK_END, Select);
        return true;
    case VK_LEFT:
        MoveCol(FIndicatorOffset, 1, false);
        return true;
    case VK_RIGHT:
        MoveCol(ColCount() - 1, -1, false);
        return true;
    case VK_INSERT:
    case 'C':
        if (!EditActions().Contains(geaCopyEh) || !CheckCopyAction())
            return false;
        DoCopyAction();
        return true;
    case 'V':
        PasteKey();
        return true;
    case 'X':
        if (!EditActions().Contains(geaCutEh) || !CheckCutAction())
            return false;
        DoCutAction();
        return true;
    case 'A':
        if (!EditActions().Contains(geaSelectAllEh) || !CheckSelectAllAction())
            return false;
        SelectAll();
        return true;
    case VK_DELETE:
        CtrlDeleteKey();
        return true;
    default:
        return false;
    }
}

// While a search runs, pasted text goes into the search.
void TCustomDBGridEh::PasteKey()
{
    if (IncSearchRunning())
        IncrementalSearch(Clipboard()->AsText(), IncSearchIdle, 0);
    else if (EditActions().Contains(geaPasteEh) && CheckPasteAction())
        DoPasteAction();
}

void TCustomDBGridEh::CtrlDeleteKey()
{
    if (EditActions().Contains(geaDeleteEh) && SelectionExists()) {
        if (CheckDeleteAction())
            DoDeleteAction();
        return;
    }
    DeleteCurrentRecords();
}

// The current record, or the selected records, after the confirmation.
void TCustomDBGridEh::DeleteCurrentRecords()
{
    TDataSet* D = DataLink()->DataSet();
    if (!D || !DataLink()->Active() || ReadOnly() || D->IsEmpty() || !D->CanModify()
        || !AllowedOperations().Contains(alopDeleteEh))
        return;
    const int Selected = SelectedRowCount();
    if (Options().Contains(dgConfirmDelete)) {
        const QString Text = Selected < 2 ? QStringLiteral("Delete record?")
                                          : QStringLiteral("Delete all selected records?");
        if (MessageDlg(Text, mtConfirmation, TMsgDlgButtons({mbOK, mbCancel})) != mrOk)
            return;
    }
    if (Selected == 0)
        D->Delete();
    else
        DeleteSelectedRows();
}

// The first Esc drops what was typed, the next one the record's edit; True
// when it cancelled anything.
bool TCustomDBGridEh::EscapeKey()
{
    TDataSet* D = DataLink()->DataSet();
    bool Done = true;
    if (DataLink()->Modified()) {
        DataLink()->ClearModified();
        RefreshEditor();
    } else if (D->State() == dsEdit || D->State() == dsInsert) {
        D->Cancel();
    } else {
        Done = false;
    }
    ClearSelection();
    if (EditorMode() && !Options().Contains(dgAlwaysShowEditor)) {
        HideEditor();
        Done = true;
    }
    if ((GridState() != gsNormal && GridState() != gsSelecting) || FGridMode == 6) {
        CancelMode();
        Done = true;
    }
    return Done;
}

void TCustomDBGridEh::KeyPress(QChar& Key)
{
    TColumnEh* C = DataColumn(Col());
    if (Key == u' ' && !Options().Contains(dgRowSelect) && CheckKindColumn(Col())) {
        TCustomControl::KeyPress(Key);
        if (Key == u' ') {
            C->StepValue(QApplication::keyboardModifiers().testFlag(Qt::ShiftModifier) ? -1 : 1);
            Key = QChar();
        }
        return;
    }
    if (OptionsEh().Contains(dghEnterAsTab) && Key == QChar(VK_RETURN))
        Key = QChar(VK_TAB);
    if (!Options().Contains(dgAlwaysShowEditor) && Key == QChar(VK_RETURN) && DataLink()->Active())
        DataLink()->UpdateRecord();
    TCustomControl::KeyPress(Key);
    if (Key.isNull())
        return;
    if (SearchTyped(TypedText(Key))) {
        Key = QChar();
        return;
    }
    EditorKeyPress(Key);
}

bool TCustomDBGridEh::SearchTyped(const QString& Text)
{
    TDataSet* D = DataLink()->DataSet();
    const bool Browsing = DataLink()->Active() && D && D->State() != dsEdit && D->State() != dsInsert
        && D->State() != dsSetKey;
    if (!PrintableText(Text) || !Browsing || !(IncSearchRunning() || StartsIncSearch()))
        return false;
    IncrementalSearch(Text, IncSearchIdle, 0);
    return true;
}

// A sort waiting for Ctrl runs when Ctrl is let go.
void TCustomDBGridEh::KeyUp(int& Key, TShiftState Shift)
{
    const bool Control = Key == VK_CONTROL;
    TCustomGrid::KeyUp(Key, Shift);
    if (Control && FSortByCtrlPending) {
        FSortByCtrlPending = false;
        SortMarkingChanged();
    }
}

// Losing the focus to anything but the grid's own editor runs a waiting sort.
void TCustomDBGridEh::DoExit()
{
    CancelOnExit();
    TCustomGrid::DoExit();
    if (!FSortByCtrlPending)
        return;
    const QWidget* To = QApplication::focusWidget();
    if (To && InplaceEditor() && To == InplaceEditor())
        return;
    FSortByCtrlPending = false;
    SortMarkingChanged();
}

// ---------------------------------------------------------------- moves

void TCustomDBGridEh::MoveRows(int Distance, bool Select)
{
    TDataSet* D = DataLink()->DataSet();
    if (Select && Options().Contains(dgMultiSelect)) {
        const TDBGridEhSelectionType Kind =
            Options().Contains(dgRowSelect) || !AllowedSelections().Contains(gstRectangle) ? gstRecordBookmarks
                                                                                            : gstRectangle;
        BeginExtendSelection(Kind);
        D->MoveBy(Distance);
        ExtendSelection(Kind);
        return;
    }
    if (!FKeepSelection)
        ClearSelection();
    D->MoveBy(Distance);
}

void TCustomDBGridEh::MoveRowsTo(bool Last, bool Select)
{
    TDataSet* D = DataLink()->DataSet();
    if (Select && Options().Contains(dgMultiSelect)) {
        BeginExtendSelection(gstRecordBookmarks);
        Last ? D->Last() : D->First();
        ExtendSelection(gstRecordBookmarks);
        return;
    }
    ClearSelection();
    Last ? D->Last() : D->First();
}

// Down past the last record appends one; Down on an empty appended record
// stays on it, and an empty inserted record elsewhere is dropped.
void TCustomDBGridEh::NextRow(bool Select)
{
    TDataSet* D = DataLink()->DataSet();
    if (D->State() == dsInsert && !D->Modified() && !DataLink()->Modified()) {
        if (InsertedAtEnd(D))
            return;
        D->Cancel();
    } else {
        MoveRows(1, Select);
    }
    if (D->Eof() && D->CanModify() && !ReadOnly() && Options().Contains(dgEditing)
        && AllowedOperations().Contains(alopAppendEh))
        D->Append();
}

void TCustomDBGridEh::PriorRow(bool Select)
{
    TDataSet* D = DataLink()->DataSet();
    if (D->State() == dsInsert && !D->Modified() && InsertedAtEnd(D) && !DataLink()->Modified())
        D->Cancel();
    else
        MoveRows(-1, Select);
}

// Tab walks the columns that take input, wrapping into the next or prior
// record, and stops where it started when none does.
void TCustomDBGridEh::Tab(bool Forward)
{
    ClearSelection();
    BeginUpdate();
    try {
        int ACol = Col();
        const int Original = ACol;
        for (;;) {
            ACol += Forward ? 1 : -1;
            if (ACol >= ColCount()) {
                NextRow(false);
                ACol = FIndicatorOffset;
            } else if (ACol < FIndicatorOffset) {
                PriorRow(false);
                ACol = ColCount() - 1;
            }
            if (ACol == Original)
                break;
            if (ColumnTabStop(ACol)) {
                MoveCol(ACol, 0, false);
                break;
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    InvalidateRow(Row());
}

void TCustomDBGridEh::MoveCol(int RawCol, int Direction, bool Select)
{
    const bool RowSelect = Options().Contains(dgRowSelect);
    if (Select && !RowSelect && AllowedSelections().Contains(gstRectangle))
        BeginExtendSelection(gstRectangle);
    if (DataLink()->Active())
        DataLink()->UpdateRecord();
    RawCol = std::clamp(RawCol, FIndicatorOffset, ColCount() - 1);
    if (Direction == 1 || Direction == -1) {
        while (RawCol >= FIndicatorOffset && RawCol < ColCount() && ColWidths(RawCol) <= 0)
            RawCol += Direction;
        if (RawCol < FIndicatorOffset || RawCol >= ColCount())
            return;
    }
    if (RawCol != Col()) {
        const int Old = Col();
        if (!FInColExit) {
            const QScopedValueRollback Exiting(FInColExit, true);
            if (OnColExit && !Loading() && !FDestroying)
                OnColExit(this);
        }
        if (Col() != Old)
            return;
        if (!Options().Contains(dgAlwaysShowEditor))
            HideEditor();
        if (!RowSelect) {
            const QScopedValueRollback Moving(FInMoveCol, true);
            SetCol(RawCol);
        }
        if (Options().Contains(dgAlwaysShowEditor) && !CheckKindColumn(RawCol) && !FilterEditing())
            ShowEditor();
        if (OnColEnter && !Loading() && !FDestroying)
            OnColEnter(this);
    }
    if (Select && !RowSelect && AllowedSelections().Contains(gstRectangle))
        ExtendSelection(gstRectangle);
}

// ---------------------------------------------------------------- mouse

void TCustomDBGridEh::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FKeepSelection = Shift.Contains(ssCtrl) || !OptionsEh().Contains(dghClearSelection);
    FMouseDownCell = TGridCoord{-1, -1};
    FMouseDownPoint = FLastMousePoint = QPoint(X, Y);
    FDoublePress = Shift.Contains(ssDouble);
    FSelectionClickPending = false;
    if (FilterMouseDown(Button, Shift, X, Y))
        return;
    if (!AcquireFocus())
        return;
    if (FilterEditing())
        HideFilterEdit();
    if (Button != mbLeft || GridState() != gsNormal || FGridMode != 0) {
        TCustomGrid::MouseDown(Button, Shift, X, Y);
        return;
    }
    const TGridCoord Cell = MouseCoord(X, Y);
    const int Titles = TitleRowCount();
    const bool TitleRow = Cell.Y >= 0 && Cell.Y < Titles;
    const bool DataRow = Cell.Y >= Titles && Cell.Y < Titles + FDataRowCount;
    TColumnEh* Column = DataColumn(Cell.X);
    TGridState Sizing = gsNormal;
    int Index = -1, Pos = 0, Ofs = 0;
    CalcSizingState(X, Y, Sizing, Index, Pos, Ofs);
    if (FDoublePress) {
        if (Sizing == gsColSizing && OptionsEh().Contains(dghDblClickOptimizeColWidth) && DataColumn(Index))
            FitColumnToData(DataColumn(Index));
        else if (DataRow && Column && CheckKindColumn(Cell.X) && Column->DblClickNextVal())
            Column->StepValue(Shift.Contains(ssShift) ? -1 : 1);
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (Sizing == gsColSizing && !OptionsEh().Contains(dghTraceColSizing)) {
        FGridMode = 6;
        FOwnSizingIndex = Index;
        FOwnSizingPos = Pos;
        FOwnSizingOfs = Ofs;
        DrawOwnSizingLine();
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (Sizing != gsNormal) {
        TCustomGrid::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (TitleRow && Column && ColumnSelectionPoint(X, Y)) {
        InvalidateCol(Cell.X);
        FGridMode = 2;
        FDragSelection = gstColumns;
        SelectColumnByTitle(Column, Shift);
        StartScrollByMouse();
    } else if (TitleRow && Column && Options().Contains(dgTitles) && Column->Title()->TitleButton()
               && InLeafTitle(Cell.X, Y)) {
        SetPressedTitle(Column, true);
    } else if (TitleRow && Cell.X >= 0 && Cell.X < FIndicatorOffset) {
        const TDBGridEhAllowedSelections All({gstRecordBookmarks, gstRectangle, gstColumns, gstAll});
        if (Options().Contains(dgMultiSelect) && DataLink()->Active() && (AllowedSelections() * All) == All) {
            if (SelectionExists())
                ClearSelection();
            else
                SelectAll();
        }
    } else if (DataRow && Cell.X >= 0) {
        DataPress(Cell, Shift);
    } else if (TitleRow) {
        // A title that is no button starts the base grid's column move.
        TCustomGrid::MouseDown(Button, Shift, X, Y);
        return;
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

// A left press on a data or indicator cell: the record and the column move
// there, a drag selection may start, and a second press opens the editor.
void TCustomDBGridEh::DataPress(TGridCoord Cell, TShiftState Shift)
{
    const bool DataCell = Cell.X >= FIndicatorOffset;
    const bool Again = DataCell && Cell.X == Col() && Cell.Y == Row();
    const bool Multi = Options().Contains(dgMultiSelect);
    const bool PlainPress = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl);
    const bool OnButton = DataCell && InCellButtons(Cell, FMouseDownPoint);
    BeginUpdate();
    try {
        HideEditor();
        if (DataLink()->Active() && !(Shift.Contains(ssShift) && Multi))
            DataLink()->MoveBy(Cell.Y - TitleRowCount() - DataLink()->ActiveRecord());
        if (DataCell)
            MoveCol(Cell.X, 0, false);
        if (Multi && PlainPress && DataLink()->Active() && CurrentRowSelected()) {
            FSelectionClickPending = true;
        } else {
            FDragSelection = StartMouseSelection(Cell, Shift);
            FGridMode = FDragSelection == gstRectangle ? 3 : 1;
            if (FDragSelection == gstNon)
                SetGridState(gsSelecting);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    InvalidateRow(Row());
    if (DataCell && (Again || Options().Contains(dgAlwaysShowEditor) || OnButton))
        ShowEditor();
    if (OnButton)
        PressEditorButton(FMouseDownPoint);
    if (DataCell && CheckKindColumn(Cell.X))
        FMouseDownCell = Cell;
}

void TCustomDBGridEh::MouseMove(TShiftState Shift, int X, int Y)
{
    FLastMousePoint = QPoint(X, Y);
    if (FilterMouseFollow(false, X, Y))
        return;
    if (TColumnEh* Held = FPressedTitleColumn) {
        const int Raw = Held->Index() + FIndicatorOffset;
        if (std::abs(X - FMouseDownPoint.x()) > TitleDragSlack && Options().Contains(dgColumnResize)
            && Raw >= FixedCols()) {
            SetPressedTitle(nullptr, false);
            SetGridState(gsColMoving, Raw);
            TCustomGrid::MouseMove(Shift, X, Y);
            return;
        }
        // The held title looks pressed only while the pointer is over it.
        SetPressedTitle(Held, OverTitle(Raw, X, Y));
        TCustomControl::MouseMove(Shift, X, Y);
        return;
    }
    const int Titles = TitleRowCount();
    if (FGridMode == 3 || FDragSelection == gstRecordBookmarks) {
        const int PX = std::clamp(X, 0, std::max(0, ClientWidth() - 1));
        const int PY = std::clamp(Y, 0, std::max(0, ClientHeight() - 1));
        const TGridCoord Cell = MouseCoord(PX, PY);
        if (Cell.Y >= Titles && Cell.Y < Titles + FDataRowCount && Cell.Y != Row()) {
            DataLink()->MoveBy(Cell.Y - Titles - DataLink()->ActiveRecord());
            ExtendSelection(FDragSelection);
        }
        if (FGridMode == 3 && Cell.X >= FIndicatorOffset && Cell.X != Col()) {
            MoveCol(Cell.X, 0, false);
            ExtendSelection(gstRectangle);
        }
        StartScrollByMouse();
        TCustomControl::MouseMove(Shift, X, Y);
        return;
    }
    if (FGridMode == 2) {
        const TGridCoord Cell = MouseCoord(X, Y);
        if (Cell.Y >= 0 && Cell.Y < Titles && DataColumn(Cell.X))
            ExtendColumnSelection(DataColumn(Cell.X));
        else
            StartScrollByMouse();
        TCustomControl::MouseMove(Shift, X, Y);
        return;
    }
    if (FGridMode == 6) {
        const int Pos = std::max(ColLeft(FOwnSizingIndex) + 1, X + FOwnSizingOfs);
        if (Pos != FOwnSizingPos) {
            DrawOwnSizingLine();
            FOwnSizingPos = Pos;
            DrawOwnSizingLine();
        }
        TCustomControl::MouseMove(Shift, X, Y);
        return;
    }
    if (GridState() == gsNormal)
        HoverChanged(Shift, X, Y);
    TCustomGrid::MouseMove(Shift, X, Y);
}

void TCustomDBGridEh::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FilterMouseFollow(true, X, Y))
        return;
    if (Button == mbRight && PopupColumnMenu(X, Y))
        return;
    ReleaseEditorButton(X, Y);
    const int Mode = FGridMode;
    const TGridState State = GridState();
    if (Mode == 6)
        EndOwnSizing(true);
    if (FSelectionClickPending) {
        FSelectionClickPending = false;
        if (Shift.Contains(ssCtrl) && Options().Contains(dgRowSelect))
            ToggleCurrentRowSelected();
        else if (OptionsEh().Contains(dghClearSelection))
            ClearSelection();
    }
    if (State == gsColSizing && TraceColSizing()) {
        FGridMode = 0;
        TCustomGrid::MouseUp(Button, Shift, X, Y);
        return;
    }
    FGridMode = 0;
    FDragSelection = gstNon;
    if (Button == mbLeft)
        TitleButtonReleased(Shift, X, Y);
    StopScrollByMouse();
    TCustomGrid::MouseUp(Button, Shift, X, Y);
    if (State == gsRowSizing)
        ApplySizedRow();
    const bool Sizing = Mode == 6 || State == gsColSizing || State == gsRowSizing;
    QLineEdit* E = InplaceEditor();
    const bool InEditor = E && EditorMode() && E->isVisible() && E->geometry().contains(X, Y);
    if (!Sizing && !InEditor)
        ClicksOnRelease(Button, Shift, X, Y);
    FMouseDownCell = TGridCoord{-1, -1};
}

// A title button counts as clicked when it is let go over its own title.
void TCustomDBGridEh::TitleButtonReleased(TShiftState Shift, int X, int Y)
{
    TColumnEh* C = FPressedTitleColumn;
    if (!C)
        return;
    const bool Clicked = OverTitle(C->Index() + FIndicatorOffset, X, Y);
    SetPressedTitle(nullptr, false);
    if (!Clicked)
        return;
    TitleBtnClick(C->Index(), C);
    const bool Ctrl = Shift.Contains(ssCtrl);
    if (OptionsEh().Contains(dghAutoSortMarking)) {
        C->Title()->ClickSortMarker(Ctrl);
        FSortByCtrlPending = Ctrl;
    }
    if (!Ctrl)
        SortMarkingChanged();
}

void TCustomDBGridEh::ClicksOnRelease(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft)
        return;
    const TGridCoord Cell = MouseCoord(X, Y);
    const int Titles = TitleRowCount();
    TColumnEh* Column = DataColumn(Cell.X);
    if (Column && Cell.Y >= 0 && Cell.Y < Titles)
        TitleClick(Column);
    else if (Column && Cell.Y >= Titles && Cell.Y < Titles + FDataRowCount)
        if (TColumnEh* Current = DataColumn(Col()))
            CellClick(Current);
    // A check box toggles only when pressed and let go in the same cell.
    if (Column && Cell == FMouseDownCell && CheckKindColumn(Cell.X) && !Column->DblClickNextVal() && !FDoublePress
        && Column->CanModify(false))
        Column->StepValue(Shift.Contains(ssShift) ? -1 : 1);
}

// A right click on a data cell shows its column's menu, if it has one that
// pops up by itself; the grid's own mouse mode ends first.
bool TCustomDBGridEh::PopupColumnMenu(int X, int Y)
{
    const TGridCoord Cell = MouseCoord(X, Y);
    const int Titles = TitleRowCount();
    TColumnEh* Column = DataColumn(Cell.X);
    if (!Column || Cell.Y < Titles || Cell.Y >= Titles + FDataRowCount)
        return false;
    TPopupMenu* Menu = Column->PopupMenu();
    if (!Menu || !Menu->AutoPopup())
        return false;
    CancelMode();
    Menu->SetPopupComponent(this);
    const QPoint At = mapToGlobal(QPoint(X, Y));
    Menu->Popup(At.x(), At.y());
    return true;
}

// ---------------------------------------------------------------- column and row sizing

bool TCustomDBGridEh::TraceColSizing() const
{
    return OptionsEh().Contains(dghTraceColSizing);
}

// The width follows the mouse; under auto-fit it stops where the columns to
// the right would have no room left.
void TCustomDBGridEh::ColSizingTracked(int Index, int Pos)
{
    if (AutoFitColWidths()) {
        int Limit = ClientWidth();
        for (int c = Index; c < ColCount(); ++c)
            Limit -= 1 + GridLineWidth();
        if (Pos >= Limit)
            return;
    }
    SetColWidths(Index, std::max(1, Pos - ColLeft(Index)));
}

// The grid's own sizing mark: a dotted line over the whole height, drawn
// with XOR so that drawing it again takes it away.
void TCustomDBGridEh::DrawOwnSizingLine()
{
    TCanvas* C = Canvas();
    TCanvasState Saved(C);
    C->Pen()->SetMode(pmXor);
    C->Pen()->SetColor(clWhite);
    C->Pen()->SetWidth(1);
    C->Pen()->SetStyle(psDot);
    C->MoveTo(FOwnSizingPos, 0);
    C->LineTo(FOwnSizingPos, ClientHeight());
}

void TCustomDBGridEh::EndOwnSizing(bool Apply)
{
    DrawOwnSizingLine();
    FGridMode = 0;
    if (!Apply || FOwnSizingIndex < 0 || FOwnSizingIndex >= ColCount())
        return;
    const int Width = FOwnSizingPos - ColLeft(FOwnSizingIndex);
    if (Width > 1)
        SetColWidths(FOwnSizingIndex, Width);
}

// A data row sized by the user sets the height of every data row.
void TCustomDBGridEh::ApplySizedRow()
{
    const int Titles = TitleRowCount();
    for (int r = Titles; r < Titles + FDataRowCount && r < RowCount(); ++r) {
        if (RowHeights(r) != FDataRowHeight) {
            FRowHeight = RowHeights(r);
            FRowLines = 0;
            break;
        }
    }
    LayoutChanged();
    UpdateVertScrollBar();
}

void TCustomDBGridEh::CancelMode()
{
    if (FGridMode == 6)
        EndOwnSizing(false);
    StopScrollByMouse();
    FGridMode = 0;
    FDragSelection = gstNon;
    FSelectionClickPending = false;
    if (FPressedTitleColumn)
        SetPressedTitle(nullptr, false);
    // A press handed on to the filter editor must not leave it selecting.
    FilterMouseFollow(true, FFilterMousePos.x(), FFilterMousePos.y());
    TCustomGrid::CancelMode();
}
