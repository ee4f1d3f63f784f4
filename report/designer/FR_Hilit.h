// The conditional highlight dialog of memo views: condition, font style, font
// colour and background. The designer fills it and applies it on OK.
#pragma once

#include "platform/gui/Forms.h"

#include <cstdint>

class QCheckBox;
class QRadioButton;
class TButton;
class TfrComboEdit;

class TfrHilightForm : public TForm
{
public:
    explicit TfrHilightForm(QWidget* AOwner = nullptr);

    void FormActivate();
    // The background colour is chosen only with "Other"; "Transparent" clears it.
    void RB1Click();

    TfrComboEdit* Edit1;   // condition
    QCheckBox* CB1;        // bold
    QCheckBox* CB2;        // italic
    QCheckBox* CB3;        // underline
    QRadioButton* RB1;     // transparent
    QRadioButton* RB2;     // other
    TButton* SpeedButton1; // font colour
    TButton* SpeedButton2; // background colour
    TButton* Button3;
    TButton* Button4;
    uint32_t FontColor = 0;
    uint32_t FillColor = 0x1FFFFFFF;
};
