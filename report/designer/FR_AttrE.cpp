#include "report/designer/FR_AttrE.h"

#include "platform/gui/StdCtrls.h"
#include "report/designer/FR_Expr.h"
#include "report/engine/FR_ClassDesigner.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Utils.h"
#include "report/engine/FR_View.h"

#include <QGroupBox>

TfrAttrEditorForm::TfrAttrEditorForm()
    : TForm(nullptr)
{
    setObjectName(QStringLiteral("frAttrEditorForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(285, 89);
    SetCaption(LoadEngineString(53740));
    GB1 = new QGroupBox(this);
    GB1->setGeometry(8, 4, 269, 45);
    Edit1 = new TfrComboEdit(GB1);
    Edit1->setGeometry(8, 14, 253, 21);
    Edit1->SetButtonHint(LoadEngineString(53575));
    Edit1->OnButtonClick = [this](QObject*) { frSpeedButton1Click(); };
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(122, 57, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(202, 57, 75, 25);
}

void TfrAttrEditorForm::frSpeedButton1Click()
{
    TfrExprForm Expr;
    if (Expr.ShowModal() == mrOk)
        Edit1->insert(Expr.Text());
}

TModalResult frEditAttributes(TfrAttrEditorForm& Form, TfrView* View)
{
    Form.Edit1->setText(View->Tag());
    const TModalResult Result = Form.ShowModal();
    if (Result == mrOk) {
        if (frDesigner)
            frDesigner->BeforeChange();
        View->SetTag(Form.Edit1->text());
    }
    return Result;
}
