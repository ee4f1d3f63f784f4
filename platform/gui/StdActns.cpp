#include "platform/gui/StdActns.h"

#include "platform/gui/Clipbrd.h"

#include <QApplication>
#include <QLineEdit>

TEditAction::TEditAction(TEditActionKind Kind, QObject* AOwner) : QAction(AOwner), FKind(Kind)
{
    connect(this, &QAction::triggered, this, [this] { Execute(); });
}

QWidget* TEditAction::Target() const
{
    return FControl ? FControl.data() : QApplication::focusWidget();
}

namespace {

// A focused line edit serves itself; otherwise the nearest of W and its
// parents that handles edit actions.
TEditActionTarget* FindTarget(QWidget* W, QLineEdit*& Edit)
{
    Edit = qobject_cast<QLineEdit*>(W);
    if (Edit)
        return nullptr;
    for (QWidget* P = W; P; P = P->parentWidget())
        if (auto* T = dynamic_cast<TEditActionTarget*>(P))
            return T;
    return nullptr;
}

bool EditEnabled(const QLineEdit* E, TEditActionKind Kind)
{
    switch (Kind) {
    case eaCut: case eaDelete: return E->hasSelectedText() && !E->isReadOnly();
    case eaCopy: return E->hasSelectedText();
    case eaPaste: return !E->isReadOnly() && !Clipboard()->AsText().isEmpty();
    case eaSelectAll: return !E->text().isEmpty();
    }
    return false;
}

} // namespace

void TEditAction::Update()
{
    QLineEdit* Edit = nullptr;
    bool Enabled = false;
    if (TEditActionTarget* T = FindTarget(Target(), Edit))
        T->UpdateEditAction(FKind, Enabled);
    else if (Edit)
        Enabled = EditEnabled(Edit, FKind);
    setEnabled(Enabled);
}

bool TEditAction::Execute()
{
    QLineEdit* Edit = nullptr;
    if (TEditActionTarget* T = FindTarget(Target(), Edit)) {
        bool Enabled = false;
        return T->UpdateEditAction(FKind, Enabled) && Enabled && T->ExecuteEditAction(FKind);
    }
    if (!Edit || !EditEnabled(Edit, FKind))
        return false;
    switch (FKind) {
    case eaCut: Edit->cut(); break;
    case eaCopy: Edit->copy(); break;
    case eaPaste: Edit->paste(); break;
    case eaDelete: Edit->del(); break;
    case eaSelectAll: Edit->selectAll(); break;
    }
    return true;
}
