// The report options dialog on two sheets: printer, two passes and password
// protection on "General", the report's document texts on "Document". The
// designer fills it and takes the values on OK.
#pragma once

#include "platform/gui/Forms.h"

#include <QPixmap>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPainter;
class QTabWidget;
class TButton;
class TMemo;

class TfrDocOptForm : public TForm
{
public:
    explicit TfrDocOptForm(QWidget* AOwner = nullptr);

    QTabWidget* Prop;
    QWidget* General;
    QWidget* Documents;
    QCheckBox* CB1;      // select the printer when the report is loaded
    QCheckBox* CB2;      // two-pass report
    QCheckBox* CB3;      // password protected
    QListWidget* LB1;    // printers, drawn with Image1's icon
    QLineEdit* E1;       // name
    QLineEdit* E2;       // author
    TMemo* M1;           // comment
    QLineEdit* E3;       // version: major, minor, release, build
    QLineEdit* E4;
    QLineEdit* E5;
    QLineEdit* E6;
    QLabel* LM1;         // created
    QLabel* LM2;         // last changed
    QPixmap Image1;      // the printer icon
    TButton* Button1;
    TButton* Button2;

    // The icon in an 18 x 16 box 2 pixels from the left, the text 24 pixels
    // from the left and 1 pixel down.
    void LB1DrawItem(QPainter& Canvas, int Index, const QRect& Rect, bool Selected) const;
};
