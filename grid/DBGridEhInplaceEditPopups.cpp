// The in-place editor's calculator and lookup list: the pop-ups that come
// from the edit controls and the lookup grid.
#include "grid/CalculatorEh.h"
#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "grid/DBGridEhDropDownBox.h"
#include "grid/DBGridEhInplaceEdit.h"
#include "grid/DBLookupGridsEh.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/gui/SystemMetrics.h"

QWidget* TDBGridInplaceEdit::CreateCalculator()
{
    if (!FCalculator) {
        FCalculator = new TPopupCalculatorEh(this);
        FCalculator->OnCloseUp = [this](bool Accept) { CloseUp(Accept); };
    }
    return FCalculator;
}

TPopupDataGridEh* TDBGridInplaceEdit::DataListGrid() const
{
    return FKind == ekDataList ? FDataList.data() : nullptr;
}

// The column's lookup list: it tells the editor when a row was chosen and
// when its columns moved (the special row's texts move with them).
QWidget* TDBGridInplaceEdit::DataList() const
{
    TColumnEh* C = Column();
    if (!C)
        return nullptr;
    TPopupDataGridEh* Grid = C->DropDownLookupGrid();
    if (FDataList != Grid) {
        FDataList = Grid;
        auto* Self = const_cast<TDBGridInplaceEdit*>(this);
        Grid->OnOwnerNotify = [Self](TPopupDataGridEh*, bool Accept) { Self->CloseUp(Accept); };
        Grid->OnColumnMoved = [Self](QObject*, int, int) { Self->FSpecRowMoved = true; };
    }
    return Grid;
}

bool TDBGridInplaceEdit::PrepareOwnPopup(QWidget* Popup, int& Width)
{
    TColumnEh* C = Column();
    if (Popup == FCalculator) {
        // Text that is no number starts the calculator at 0 rather than failing.
        double V = 0;
        if (!TryStrToFloat(text().trimmed(), V))
            V = 0;
        FCalculator->SetValue(V);
        FCalculator->SetFlat(FGrid->Flat());
        FCalculator->Font()->SetFromQFont(font());
        deselect();
        Width = FCalculator->width();
        return true;
    }
    TDataSet* List = ColumnLookupDataSetEh(C);
    if (Popup != FDataList || !FDataList || !List || !C->Field())
        return false;
    TPopupDataGridEh* G = FDataList;
    TField* F = C->Field();
    G->SetColor(QColorToColor(palette().color(QPalette::Base)));
    G->Font()->Assign(*C->Font());
    G->SpecRow()->Assign(*C->DropDownSpecRow());
    int Rows = C->DropDownRows();
    if (List->IsSequenced() && List->RecordCount() > 0 && List->RecordCount() < Rows)
        Rows = List->RecordCount();
    G->SetOptions(C->DropDownShowTitles() ? G->Options() + dgTitles : G->Options() - dgTitles);
    if (!FLookupSource)
        FLookupSource = new TDataSource(this);
    FLookupSource->SetDataSet(List);
    G->SetKeyFieldName(F->LookupKeyFields());
    G->SetListFieldName(C->LookupDisplayFields().isEmpty() ? F->LookupResultField() : C->LookupDisplayFields());
    G->SetUseMultiTitle(C->DropDownBox()->UseMultiTitle());
    G->SetListSource(FLookupSource);
    G->SetAutoFitRequested(C->DropDownBox()->AutoFitColWidths());
    G->SetAutoFitColWidths(C->DropDownBox()->AutoFitColWidths());
    if (C->DropDownWidth() == -1) {
        int Fit = 2 * 2 + ScrollBarWidth();
        for (int i = 0; i < G->Columns()->Count(); ++i)
            Fit += G->Columns()->Items(i)->Width() + 1;
        Width = Fit;
    } else if (C->DropDownWidth() >= 1) {
        Width = C->DropDownWidth();
    }
    Width = std::max(Width, width());
    G->resize(Width, G->HeightForRows(Rows));
    // The key chosen so far, or the record's own while nothing was chosen.
    Variant Key = FGrid->FEditKeyValue;
    if (!FGrid->DataLink()->Modified() && F->DataSet())
        Key = GetFieldValues(F->DataSet(), F->KeyFields());
    G->SetKeyValue(Key);
    FSpecRowMoved = false;
    return true;
}

void TDBGridInplaceEdit::CloseOwnPopup(QWidget* Popup, bool Accept, TColumnEh* C)
{
    if (Popup == FCalculator) {
        if (!Accept || !FGrid->CanEditModify())
            return;
        const Variant V = FCalculator->Value();
        if (V.Kind() != Variant::TKind::Double && V.Kind() != Variant::TKind::Integer)
            return;
        const QString T = FloatToStr(V.AsFloat());
        SetPendingText(SetEditorText(T, 0, int(T.size())));
        return;
    }
    TPopupDataGridEh* G = FDataList;
    FListValue = G->KeyValue();
    const QString Shown = G->DisplayText();
    // A list the user resized keeps its rows and width for the next time.
    if (C && G->Resized()) {
        C->SetDropDownRows(G->RememberedRows());
        C->SetDropDownWidth(G->width());
    }
    if (C && FSpecRowMoved)
        C->DropDownSpecRow()->SetCellsText(G->SpecRow()->CellsText());
    G->SetAutoFitColWidths(false);
    G->SetListSource(nullptr);
    if (FLookupSource)
        FLookupSource->SetDataSet(nullptr);
    if (!C)
        return;
    if (!Accept) {
        SetEditorText(FGrid->FEditText, 0, int(FGrid->FEditText.size()));
        return;
    }
    TField* F = C->Field();
    if (!F || !F->DataSet())
        return;
    for (TField* Key : GetFieldsList(F->DataSet(), F->KeyFields()))
        if (!Key->CanModify())
            return;
    F->DataSet()->Edit();
    if (!FGrid->DataLink()->Editing())
        return;
    // The text first: setting it clears the editor's modified mark, which
    // the pending text sets again for the grid to write as the cell is left.
    const QString Kept = SetEditorText(Shown, 0, int(Shown.size()));
    FGrid->FEditKeyValue = FListValue;
    SetPendingText(Kept);
}

// While the calculator is open Enter, Esc and printable characters are its;
// the lookup list takes the navigation keys and the editor shows its choice.
bool TDBGridInplaceEdit::OwnPopupKey(int Key, TShiftState Shift, const QString& Text)
{
    if (FActivePopup == FCalculator) {
        if (Key == VK_ESCAPE) {
            int K = Key;
            FCalculator->KeyDown(K, Shift);
            return true;
        }
        QChar Char = Key == VK_RETURN ? QChar(13) : Text.isEmpty() ? QChar() : Text[0];
        if (Char.isNull() || (Char.unicode() != 13 && (Char.unicode() < 32 || Char.unicode() > 126)))
            return false;
        FCalculator->KeyPress(Char);
        return true;
    }
    const bool Nav = ((Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT) && !Shift.Contains(ssShift)
                      && !Shift.Contains(ssAlt))
                     || ((Key == VK_HOME || Key == VK_END) && Shift.Contains(ssCtrl));
    if (!Nav || !FDataList)
        return false;
    int K = Key;
    FDataList->KeyDown(K, Shift - ssCtrl);
    const QString Shown = FDataList->DisplayText();
    if (Shown != text())
        SetEditorText(Shown, 0, int(Shown.size()));
    return true;
}
