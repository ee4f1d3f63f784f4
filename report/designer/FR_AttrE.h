// The object tag editor: the view's Tag text, with the expression builder
// inserting at the caret.
#pragma once

#include "platform/gui/Forms.h"

class QGroupBox;
class TButton;
class TfrComboEdit;
class TfrView;

class TfrAttrEditorForm : public TForm
{
public:
    TfrAttrEditorForm();

    QGroupBox* GB1;
    TfrComboEdit* Edit1;
    TButton* Button1;
    TButton* Button2;

    // The builder's text at the caret, replacing the selection, as it is.
    void frSpeedButton1Click();
};

// Shows Form for View; on OK the view's Tag takes the text (an undo point first).
TModalResult frEditAttributes(TfrAttrEditorForm& Form, TfrView* View);
