// Edits the variable and category names of the dictionary as plain text:
// categories at the left margin, variables indented by one blank.
#pragma once

#include "platform/gui/Forms.h"

class QLabel;
class TButton;
class TMemo;
class TfrVariables;

// A variable name the parser can read back and the dictionary can keep: not
// empty, no leading or trailing blank, no bracket, quote, " #" (read as a
// display format) or line break, and every character one GBK can hold.
bool frValidVariableName(const QString& Name);

class TfrVaredForm : public TForm
{
public:
    TfrVaredForm();

    QLabel* Label1;
    TMemo* Memo1;
    TButton* Button4;
    TButton* Button5;
    // The list to edit; set by the caller.
    TfrVariables* Doc = nullptr;

    void FormShow();
    // With OK: false (the window stays open) when a line names an entry twice,
    // a variable the rule refuses or a variable before the first category.
    bool FormHide();
};
