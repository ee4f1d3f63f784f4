#include "report/designer/FR_GrpEd.h"

#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Utils.h"

#include <QGroupBox>

TfrGroupEditorForm::TfrGroupEditorForm()
{
    setObjectName(QStringLiteral("frGroupEditorForm"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(285, 89);
    SetCaption(LoadEngineString(53490));
    GB1 = new QGroupBox(LoadEngineString(53491), this);
    GB1->setGeometry(4, 4, 277, 49);
    Edit1 = new TfrComboEdit(GB1);
    Edit1->setGeometry(8, 18, 261, 21);
    Edit1->Button()->SetCaption(QStringLiteral("..."));
    Edit1->SetButtonHint(LoadEngineString(53492));
    Edit1->OnButtonClick = [this](QObject*) { frSpeedButton1Click(); };
    Button1 = new TButton(this);
    Button1->SetCaption(LoadEngineString(55000));
    Button1->SetModalResult(mrOk);
    Button1->SetDefault(true);
    Button1->setGeometry(125, 60, 75, 25);
    Button2 = new TButton(this);
    Button2->SetCaption(LoadEngineString(55001));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
    Button2->setGeometry(206, 60, 75, 25);
}

void TfrGroupEditorForm::frSpeedButton1Click()
{
    if (!frDesigner)
        return;
    const QString Text = frDesigner->InsertExpression();
    if (!Text.isEmpty())
        Edit1->setText(Text);
}

TModalResult TfrGroupEditorForm::ShowEditor(TfrView* View)
{
    auto* Band = dynamic_cast<TfrBandView*>(View);
    if (!Band)
        return mrCancel;
    Edit1->setText(Band->FormatStr());
    SetActiveControl(Edit1);
    const TModalResult Result = ShowModal();
    if (Result == mrOk) {
        if (frDesigner)
            frDesigner->BeforeChange();
        Band->SetFormatStr(Edit1->text());
    }
    return Result;
}
