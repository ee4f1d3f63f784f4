// The designer's data dictionary command and its band editors.
#include "report/designer/FR_Desgn.h"

#include "report/designer/FR_BndEd.h"
#include "report/designer/FR_DictForm.h"
#include "report/designer/FR_DsgPage.h"
#include "report/designer/FR_GrpEd.h"
#include "report/designer/FR_InsFields.h"
#include "report/designer/FR_VBnd.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"

void TfrDesignerForm::N42Click()
{
    TfrDictForm Form;
    Form.Doc = CurReport;
    if (Form.ShowModal() != mrOk)
        return;
    if (frInsFieldsForm)
        frInsFieldsForm->RefreshData();
    SetModified(true);
}

// The band hooks edit the topmost selected band with the editor of its type.
void TfrDesignerForm::BandEditorHook()
{
    if (SelCount > 0 && Page)
        ShowBandEditor(Page->Objects(LastSelectedIndex()));
}

void TfrDesignerForm::VBandEditorHook()
{
    BandEditorHook();
}

void TfrDesignerForm::GroupEditorHook()
{
    BandEditorHook();
}

void TfrDesignerForm::ShowBandEditor(TfrView* View)
{
    auto* Band = dynamic_cast<TfrBandView*>(View);
    if (!Band)
        return;
    std::unique_ptr<TfrObjEditorForm> Form;
    switch (Band->BandType()) {
    case btMasterData:
    case btDetailData:
    case btSubDetailData:
        Form = std::make_unique<TfrBandEditorForm>();
        break;
    case btGroupHeader:
        Form = std::make_unique<TfrGroupEditorForm>();
        break;
    case btCrossData:
        Form = std::make_unique<TfrVBandEditorForm>();
        break;
    default:
        return;
    }
    if (Form->ShowEditor(Band) == mrOk)
        AfterChange();
}
