// Edits the condition of a group-header band.
#pragma once

#include "report/engine/FR_ClassDesigner.h"

class QGroupBox;
class TButton;
class TfrComboEdit;

class TfrGroupEditorForm : public TfrObjEditorForm
{
public:
    TfrGroupEditorForm();

    QGroupBox* GB1;
    TfrComboEdit* Edit1;
    TButton* Button1;
    TButton* Button2;

    TModalResult ShowEditor(TfrView* View) override;
    void frSpeedButton1Click();
};
