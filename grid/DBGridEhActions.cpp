// TCustomDBGridEh: the clipboard actions of the keys, the standard edit
// actions (cut, copy, paste, delete, select all), focus and input method.
#include "grid/DBGridEh.h"
#include "grid/DBGridEhFilter.h"
#include "grid/DBGridEhImpExp.h"
#include "platform/db/DataSet.h"

#include <QApplication>
#include <QHelpEvent>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>

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
    if (SelectionExists())
        DeleteGridSelection(this, false);
    else
        DeleteCurrentRecords();
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
    // The filter row's editor keeps the focus while it is in use.
    if (FilterEditing() && FFilterEdit && FFilterEdit->isVisible())
        FFilterEdit->setFocus();
    InvalidateSelection();
}

void TCustomDBGridEh::inputMethodEvent(QInputMethodEvent* Event)
{
    // Composed text searches as typed text does, whole.
    if (!EditorMode() && SearchTyped(Event->commitString())) {
        Event->accept();
        return;
    }
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

// ---------------------------------------------------------------- window events

bool TCustomDBGridEh::event(QEvent* Event)
{
    switch (Event->type()) {
    case QEvent::ShortcutOverride:
        if (WantsKey(static_cast<QKeyEvent*>(Event))) {
            Event->accept();
            return true;
        }
        break;
    case QEvent::ToolTip:
        if (TitleHintEvent(static_cast<QHelpEvent*>(Event)))
            return true;
        break;
    case QEvent::Leave:
        if (FToolTipsWindow)
            FToolTipsWindow->hide();
        break;
    case QEvent::FontChange: ParentFontChanged(); break;
    case QEvent::PaletteChange: ParentColorChanged(); break;
    // The shared glyphs are drawn in fixed colours; the cells repaint in the new ones.
    case QEvent::ApplicationPaletteChange:
    case QEvent::ThemeChange: Invalidate(); break;
    default: break;
    }
    return TCustomGrid::event(Event);
}

// Arrows always, Tab when it moves between cells, and typed characters when
// cells can be edited or typing starts a search: a window shortcut on such a
// key does not take it from the grid.
bool TCustomDBGridEh::WantsKey(const QKeyEvent* Event) const
{
    if (Event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (Event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return TCustomGrid::Options().Contains(goTabs);
    default: break;
    }
    const QString Text = Event->text();
    if (Text.isEmpty() || Text[0] < u' ' || Text[0] == QChar(0x7F))
        return false;
    return TCustomGrid::Options().Contains(goEditing) || OptionsEh().Contains(dghPreferIncSearch);
}

// The parent's font reached the grid: with ParentFont the titles and
// footers take it too, in one layout pass, and ParentFont stays on.
void TCustomDBGridEh::ParentFontChanged()
{
    if (!FParentFont || FDestroying)
        return;
    const QFont New = font();
    QScopedValueRollback Guard(FInParentFontChange, true);
    const bool Locked = AcquireLayoutLock();
    try {
        Font()->SetFromQFont(New);
        FTitleFont->SetFromQFont(New);
        FFooterFont->SetFromQFont(New);
    } catch (...) {
        if (Locked)
            EndLayout();
        throw;
    }
    if (Locked)
        EndLayout();
}

void TCustomDBGridEh::SetParentColor(bool Value)
{
    if (Value == FParentColor)
        return;
    FParentColor = Value;
    if (Value)
        ParentColorChanged();
}

void TCustomDBGridEh::ParentColorChanged()
{
    if (!FParentColor || FDestroying)
        return;
    if (const auto* Parent = dynamic_cast<const TCustomControl*>(parentWidget()))
        SetColor(Parent->Color());
    else
        SetColor(QColorToColor(palette().color(QPalette::Window)));
    FFooterColor = Color();
    Invalidate();
}

void TCustomDBGridEh::GridFontChanged()
{
    if (FDestroying)
        return;
    const bool Locked = AcquireLayoutLock();
    // Reading a column's font takes the grid's when the column has none of its own.
    for (int i = 0; i < Columns()->Count(); ++i)
        (void)Columns()->Items(i)->Font();
    if (Locked)
        EndLayout();
}
