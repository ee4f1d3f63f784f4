// The report options dialog: printer, two passes, password protection and the
// report's document texts. The designer fills it and takes the values on OK.
#pragma once

#include "platform/gui/Forms.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class TButton;

class TfrDocOptForm : public TForm
{
public:
    explicit TfrDocOptForm(QWidget* AOwner = nullptr);

    QCheckBox* CB1;      // select the printer when the report is loaded
    QCheckBox* CB2;      // two-pass report
    QCheckBox* CB3;      // password protected
    QListWidget* LB1;    // printers
    QLineEdit* E1;       // name
    QLineEdit* E2;       // author
    QPlainTextEdit* M1;  // comment
    QLineEdit* E3;       // version: major, minor, release, build
    QLineEdit* E4;
    QLineEdit* E5;
    QLineEdit* E6;
    QLabel* LM1;         // created
    QLabel* LM2;         // last changed
    TButton* Button1;
    TButton* Button2;
};
