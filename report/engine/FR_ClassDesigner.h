// The two abstract windows through which the engine reaches the designer and
// the view editors without knowing them, and the designer-class variable the
// designer fills at start-up.
#pragma once

#include "platform/gui/Forms.h"

#include <QString>
#include <cstdint>
#include <functional>

class TfrPage;
class TfrView;

class TfrReportDesigner : public TForm
{
public:
    // Flag 1: designing a report; 0: editing a prepared page. Made without owner.
    explicit TfrReportDesigner(uint8_t AFlag);
    ~TfrReportDesigner() override;

    uint8_t Flag() const { return FFlag; }
    TfrPage* Page = nullptr;            // cleared by EditPreparedPage

    virtual bool GetModified() = 0;
    virtual void SetModified(bool Value) = 0;
    // Around a change made to an object from outside the window (undo point).
    virtual void BeforeChange() = 0;
    virtual void AfterChange() = 0;
    virtual void RedrawPage() = 0;
    virtual void SelectObject(const QString& ObjName) = 0;
    // Let the user pick a data field or build an expression; the text to insert.
    virtual QString InsertDBField() = 0;
    virtual QString InsertExpression() = 0;

private:
    uint8_t FFlag;
};

// Creates the designer window for a flag; none until the designer registers.
using TfrDesignerClass = std::function<TfrReportDesigner*(uint8_t Flag)>;
extern TfrDesignerClass DesignerClass;
extern TfrReportDesigner* frDesigner;       // the open designer window

// Base of the view editors.
class TfrObjEditorForm : public TForm
{
public:
    explicit TfrObjEditorForm(QWidget* AParent = nullptr);
    ~TfrObjEditorForm() override;
    // The base does nothing and answers mrOk.
    virtual TModalResult ShowEditor(TfrView* View);
};
