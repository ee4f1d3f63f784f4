// The expression builder: a free-text expression with buttons that insert
// operators, data fields, variables and functions.
#pragma once

#include "platform/gui/Forms.h"

#include <vector>

class QGroupBox;
class TButton;
class TMemo;
class TfrSpeedButton;

// A name as it enters an expression: bare when made of letters, digits, "."
// and "_", else between "[" and "]"; a variable also when it would read as a
// number or an operator word. Empty stays empty.
QString frBracketName(const QString& Name, bool Variable = true);

class TfrExprForm : public TForm
{
public:
    TfrExprForm();

    QGroupBox* GroupBox1;
    TMemo* ExprMemo;
    QGroupBox* GroupBox2;
    std::vector<TfrSpeedButton*> OperatorButtons;   // frSpeedButton1 .. frSpeedButton13
    TButton* InsDBBtn;
    TButton* InsVarBtn;
    TButton* InsFuncBtn;
    TButton* Button1;
    TButton* Button2;

    // The expression, its lines joined by blanks.
    QString Text() const;
    void InsertText(const QString& Text);

    void frSpeedButton1Click(TfrSpeedButton* Sender);
    void InsDBBtnClick();
    void InsVarBtnClick();
    void InsFuncBtnClick();
};
