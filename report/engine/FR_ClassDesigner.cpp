#include "report/engine/FR_ClassDesigner.h"

#include "report/engine/FR_Class.h"

#include <memory>

TfrDesignerClass DesignerClass;
TfrReportDesigner* frDesigner = nullptr;

TfrReportDesigner::TfrReportDesigner(uint8_t AFlag)
    : TForm(nullptr)
    , FFlag(AFlag)
{
}

TfrReportDesigner::~TfrReportDesigner()
{
    if (frDesigner == this)
        frDesigner = nullptr;
}

TfrObjEditorForm::TfrObjEditorForm(QWidget* AParent)
    : TForm(AParent)
{
}

TfrObjEditorForm::~TfrObjEditorForm() = default;

TModalResult TfrObjEditorForm::ShowEditor(TfrView* View)
{
    (void)View;
    return mrOk;
}

int frRunDesigner(uint8_t Flag)
{
    if (!DesignerClass)
        return mrCancel;
    std::unique_ptr<TfrReportDesigner> Designer(DesignerClass(Flag));
    if (!Designer)
        return mrCancel;
    frDesigner = Designer.get();
    const TModalResult Result = Designer->ShowModal();
    frDesigner = nullptr;
    return Result;
}
