// The standard edit actions (cut, copy, paste, delete, select all) as
// QActions. An action acts on the focused control: a control that handles
// edit actions itself (TEditActionTarget, found from the focused widget up
// through its parents) says whether the action is enabled and executes it;
// a focused line edit is served directly. Without a target the action is
// disabled.
#pragma once

#include <QAction>
#include <QPointer>

class QWidget;

enum class TEditActionKind { eaCut, eaCopy, eaPaste, eaDelete, eaSelectAll };
using enum TEditActionKind;

class TEditActionTarget
{
public:
    virtual ~TEditActionTarget() = default;
    // True when the control handles Kind; Enabled then says whether it may run.
    virtual bool UpdateEditAction(TEditActionKind Kind, bool& Enabled) = 0;
    // True when the control handled Kind.
    virtual bool ExecuteEditAction(TEditActionKind Kind) = 0;
};

class TEditAction : public QAction
{
public:
    TEditAction(TEditActionKind Kind, QObject* AOwner = nullptr);

    TEditActionKind Kind() const { return FKind; }
    // A fixed control to act on instead of the focused one.
    QWidget* Control() const { return FControl; }
    void SetControl(QWidget* Value) { FControl = Value; }
    // Asks the control and enables or disables the action.
    void Update();
    // Runs the action on the control; false when none took it.
    bool Execute();

private:
    QWidget* Target() const;

    TEditActionKind FKind;
    QPointer<QWidget> FControl;
};

// The classic names of the five.
class TEditCut : public TEditAction
{
public:
    explicit TEditCut(QObject* AOwner = nullptr) : TEditAction(eaCut, AOwner) {}
};
class TEditCopy : public TEditAction
{
public:
    explicit TEditCopy(QObject* AOwner = nullptr) : TEditAction(eaCopy, AOwner) {}
};
class TEditPaste : public TEditAction
{
public:
    explicit TEditPaste(QObject* AOwner = nullptr) : TEditAction(eaPaste, AOwner) {}
};
class TEditDelete : public TEditAction
{
public:
    explicit TEditDelete(QObject* AOwner = nullptr) : TEditAction(eaDelete, AOwner) {}
};
class TEditSelectAll : public TEditAction
{
public:
    explicit TEditSelectAll(QObject* AOwner = nullptr) : TEditAction(eaSelectAll, AOwner) {}
};
