// The conditional highlight dialog of memo views: condition, font style, font
// colour and background. The designer fills it and applies it on OK.
#pragma once

#include "platform/gui/Forms.h"

#include <cstdint>

class QCheckBox;
class QRadioButton;
class TButton;
class TfrComboEdit;
class TfrSpeedButton;

class TfrHilightForm : public TForm
{
public:
    explicit TfrHilightForm(QWidget* AOwner = nullptr);

    // Draws both colour swatches and checks the background's radio button.
    void FormActivate();
    // The background colour is chosen only with "Other"; "Transparent" clears it.
    void RB1Click();
    // The colour dialog on the font (1) or background (2) colour.
    void SpeedButton1Click();
    void SpeedButton2Click();
    // The expression builder on the condition.
    void Edit1ButtonClick();

    TfrComboEdit* Edit1;   // condition
    QCheckBox* CB1;        // bold
    QCheckBox* CB2;        // italic
    QCheckBox* CB3;        // underline
    QRadioButton* RB1;     // transparent
    QRadioButton* RB2;     // other
    TfrSpeedButton* SpeedButton1; // font colour
    TfrSpeedButton* SpeedButton2; // background colour
    TButton* Button3;
    TButton* Button4;
    uint32_t FontColor = 0;
    uint32_t FillColor = 0x1FFFFFFF;

private:
    void DrawSwatches();
};
