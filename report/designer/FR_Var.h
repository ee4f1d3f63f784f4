// Picks a variable of the report's dictionary by category, or a system
// variable.
#pragma once

#include "platform/gui/Forms.h"

class QListWidget;
class TButton;

// The special names by table entry: 0 "PAGE#", 1 empty (unused), 2 "DATE" ..
// 8 "TOTALPAGES".
QString frSpecialName(int Entry);
// The eight system variables as the lists show them ("Page#" .. "TotalPages").
QStringList frSystemVariableTexts();
// Table entry of list position p of those eight: 0 for p = 0, else p + 1.
inline int frSystemVariableEntry(int Position) { return Position == 0 ? 0 : Position + 1; }

class TfrVarForm : public TForm
{
public:
    TfrVarForm();

    QListWidget* CategoryLB;
    QListWidget* VarLB;
    TButton* Button1;
    TButton* Button2;
    // Set when the window closes with OK and a variable chosen.
    QString SelectedItem;

    void FormActivate();
    void CategoryLBClick();
    void FormDeactivate();

    static QString& LastCategory();
};
