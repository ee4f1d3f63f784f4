// TCustomDBGridEh: the clipboard actions of the keys, the standard edit
// actions (cut, copy, paste, delete, select all), focus and input method.
#include "grid/DBGridEh.h"
#include "grid/DBGridEhImpExp.h"
#include "platform/db/DataSet.h"

#include <QApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QLineEdit>

void TCustomDBGridEh::DoCopyAction()
{
    CopyGridSelection(this, false);
}

void TCustomDBGridEh::DoCutAction()
{
    CutGridSelection(this, false);
}

void TCustomDBGridEh::DoPasteAction()
{
    PasteIntoGrid(this, false);
}

void TCustomDBGridEh::DoDeleteAction()
{
    DeleteGridSelection(this, false);
}

namespace {

TDBGridEhEditAction GridAction(TEditActionKind Kind)
{
    switch (Kind) {
    case eaCut: return geaCutEh;
    case eaCopy: return geaCopyEh;
    case eaPaste: return geaPasteEh;
    case eaDelete: return geaDeleteEh;
    case eaSelectAll: break;
    }
    return geaSelectAllEh;
}

} // namespace

bool TCustomDBGridEh::UpdateEditAction(TEditActionKind Kind, bool& Enabled)
{
    if (!DataSource() || !EditActions().Contains(GridAction(Kind)))
        return false;
    switch (Kind) {
    case eaCut: Enabled = CheckCutAction(); break;
    case eaCopy: Enabled = CheckCopyAction(); break;
    case eaPaste: Enabled = CheckPasteAction(); break;
    case eaDelete: Enabled = CheckDeleteAction(); break;
    case eaSelectAll: Enabled = CheckSelectAllAction(); break;
    }
    return true;
}

bool TCustomDBGridEh::ExecuteEditAction(TEditActionKind Kind)
{
    if (!DataSource() || !EditActions().Contains(GridAction(Kind)))
        return false;
    switch (Kind) {
    case eaCut: DoCutAction(); break;
    case eaCopy: DoCopyAction(); break;
    case eaPaste: DoPasteAction(); break;
    case eaDelete: DoDeleteAction(); break;
    case eaSelectAll: SelectAll(); break;
    }
    return true;
}

void TCustomDBGridEh::SetAllowedSelections(TDBGridEhAllowedSelections Value)
{
    FAllowedSelections = Value;
    if (SelectionExists() && !Value.Contains(SelectionType()))
        ClearSelection();
}

// ---------------------------------------------------------------- focus and input method

void TCustomDBGridEh::CancelOnExit()
{
    const QWidget* To = QApplication::focusWidget();
    if ((To && InplaceEditor() && To == InplaceEditor()) || !DataLink()->Active())
        return;
    TDataSet* D = DataLink()->DataSet();
    if (Options().Contains(dgCancelOnExit) && D->State() == dsInsert && !D->Modified() && !DataLink()->Modified())
        D->Cancel();
    DataLink()->UpdateRecord();
}

// Closed and alphanumeric modes take no composed text; Qt cannot pick a
// conversion mode, so the others just open the input method.
void TCustomDBGridEh::ApplyImeMode()
{
    const int i = SelectedIndex();
    const TImeMode Mode = i >= 0 && i < Columns()->Count() ? Columns()->Items(i)->ImeMode() : ImeMode();
    const bool Open = Mode != imDisable && Mode != imClose;
    const Qt::InputMethodHints Hints = Mode == imAlpha || Mode == imSAlpha ? Qt::ImhLatinOnly : Qt::ImhNone;
    for (QWidget* W : {static_cast<QWidget*>(this), static_cast<QWidget*>(InplaceEditor())}) {
        if (!W)
            continue;
        W->setAttribute(Qt::WA_InputMethodEnabled, Open);
        W->setInputMethodHints(Hints);
    }
    if (QGuiApplication::inputMethod())
        QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints);
}

void TCustomDBGridEh::DoEnter()
{
    ApplyImeMode();
    if (Options().Contains(dgRowSelect) && Row() < RowCount())
        InvalidateRow(Row());
    TCustomGrid::DoEnter();
    InvalidateSelection();
}

void TCustomDBGridEh::inputMethodEvent(QInputMethodEvent* Event)
{
    if (!EditorMode() && !CanEditShow()) {
        Event->ignore();
        return;
    }
    ShowEditor();
    QLineEdit* E = InplaceEditor();
    if (!E || !EditorMode()) {
        Event->ignore();
        return;
    }
    E->setFocus();
    QCoreApplication::sendEvent(E, Event);
}
