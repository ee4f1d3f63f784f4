// Collects up to three arguments of a function and builds the call text.
#pragma once

#include "platform/gui/Forms.h"

class QLabel;
class TButton;
class TfrComboEdit;

class TfrFuncArgForm : public TForm
{
public:
    TfrFuncArgForm();

    QLabel* FuncLabel;
    QLabel* DescrLabel;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    TfrComboEdit* ArgEdit1;
    TfrComboEdit* ArgEdit2;
    TfrComboEdit* ArgEdit3;
    TButton* Button1;
    TButton* Button2;
    // The function name on entry, the call text once the window has closed.
    QString FuncName;

    void FormShow();
    void ExprBtn1Click(TfrComboEdit* Sender);
    void FormHide();
};

// Name(a, b, c): empty arguments keep their place up to the last filled one.
QString frBuildCall(const QString& Name, const QStringList& Arguments);
