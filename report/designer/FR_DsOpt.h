// The designer options dialog: grid, units, buttons, page position, undo and
// the memo editor kind. The designer fills it and takes the values on OK.
#pragma once

#include "platform/gui/Forms.h"

class QCheckBox;
class QRadioButton;
class TButton;

class TfrDesOptionsForm : public TForm
{
public:
    explicit TfrDesOptionsForm(QWidget* AOwner = nullptr);

    QCheckBox* CB1;   // show grid
    QCheckBox* CB2;   // align to grid
    QCheckBox* CB3;   // coloured buttons
    QCheckBox* CB4;   // editing after insert
    QCheckBox* CB5;   // band titles
    QCheckBox* CB6;   // contents while moving
    QCheckBox* CB7;   // localized property names
    QCheckBox* CB8;   // disable undo
    QCheckBox* CB9;   // syntax highlight
    QRadioButton* RB1;   // grid 4, 8, 18
    QRadioButton* RB2;
    QRadioButton* RB3;
    QRadioButton* RB6;   // pixels, mm, inches
    QRadioButton* RB7;
    QRadioButton* RB8;
    QRadioButton* RB9;   // centre, left, right
    QRadioButton* RB10;
    QRadioButton* RB11;
    TButton* Button1;
    TButton* Button2;
};
