// The designer's small tool window "Insert data field": the datasets the
// report may use in an upper list, the fields of the chosen one below. A field
// dragged from the lower list onto the design page becomes a memo holding the
// field reference (DBField); the page reads it on the drop.
#pragma once

#include "platform/gui/Forms.h"

#include <QListWidget>
#include <functional>

class TfrInsFieldsForm;

// The one fields window, or nullptr; cleared however the window goes.
extern TfrInsFieldsForm* frInsFieldsForm;

// The field list: a drag from it carries the window's DBField.
class TfrFieldsListBox : public QListWidget
{
public:
    explicit TfrFieldsListBox(TfrInsFieldsForm* AForm, QWidget* AParent);

protected:
    void startDrag(Qt::DropActions Actions) override;

private:
    TfrInsFieldsForm* FForm;
};

class TfrInsFieldsForm : public TForm
{
public:
    explicit TfrInsFieldsForm(QWidget* AOwner = nullptr);
    ~TfrInsFieldsForm() override;

    // Dataset "." field in double quotes; empty while no field is chosen.
    QString DBField;
    // Refills both lists keeping the chosen dataset (after the report or its
    // dictionary changed).
    void RefreshData();
    void Grow();
    // The caption double-click: collapses to the caption or expands again.
    void ToggleCollapsed();
    // Works out DBField from the chosen field (at a drag start and on hiding).
    void ComputeDBField();
    // Drags the splitter by DY pixels.
    void MoveSplitter(int DY);

    QListWidget* DatasetsLB = nullptr;
    QWidget* Splitter = nullptr;
    TfrFieldsListBox* FieldsLB = nullptr;
    std::function<void(QObject* Sender)> OnHeightChanged;

protected:
    bool event(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

private:
    void Fill();
    void FillFields();
    void LayoutLists();

    int FRestoreHeight = 300;
    bool FSplitDragging = false;
    int FSplitStartY = 0;
};
