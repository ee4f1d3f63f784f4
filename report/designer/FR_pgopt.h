// The page options dialog: paper, orientation, margins, columns and paper
// source of a report page. The designer fills it and reads it back on OK.
#pragma once

#include "platform/gui/Forms.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class TButton;

class TfrPgoptForm : public TForm
{
public:
    explicit TfrPgoptForm(QWidget* AOwner = nullptr);

    // The size boxes are usable only for the custom paper.
    void ComB1Click();

    QRadioButton* RB1;   // portrait
    QRadioButton* RB2;   // landscape
    QComboBox* ComB1;    // paper names
    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* E1;       // width, mm
    QLineEdit* E2;       // height, mm
    QCheckBox* CB2;      // unlimited height
    QComboBox* BinList;
    QLineEdit* E3;       // margins left, top, right, bottom, mm
    QLineEdit* E4;
    QLineEdit* E5;
    QLineEdit* E6;
    QCheckBox* CB5;      // stretch to print area
    QCheckBox* CB1;      // print to previous page
    QLineEdit* Edit1;    // columns
    QLineEdit* E7;       // column gap, mm
    TButton* Button1;
    TButton* Button2;
    // Paper codes in the order of ComB1's names.
    QList<int> PaperCodes;
};
