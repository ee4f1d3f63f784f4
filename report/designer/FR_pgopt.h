// The page options dialog: paper, orientation, margins, columns and paper
// source of a report page, on four sheets. The designer fills it and reads it
// back on OK.
#pragma once

#include "platform/gui/Forms.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class TButton;
class TfrSpeedButton;

class TfrPgoptForm : public TForm
{
public:
    explicit TfrPgoptForm(QWidget* AOwner = nullptr);

    // Shows the checked orientation's picture and sets the size boxes.
    void FormActivate();
    void RB1Click();
    void RB2Click();
    // The size boxes are usable only for the custom paper.
    void ComB1Click();
    // The column counter: up by one, down by one but not below 0. Text that
    // is not a whole number is refused with a message and left as it is.
    void SB1Click();
    void SB2Click();

    QTabWidget* PageControl1;
    QRadioButton* RB1;   // portrait
    QRadioButton* RB2;   // landscape
    QLabel* imgPortrait;
    QLabel* imgLandScape;
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
    TfrSpeedButton* SB1;
    TfrSpeedButton* SB2;
    QLineEdit* E7;       // column gap, mm
    TButton* Button1;
    TButton* Button2;
    // Paper codes in the order of ComB1's names.
    QList<int> PaperCodes;

private:
    void StepColumns(int Delta);
};
