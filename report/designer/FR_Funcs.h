// Picks an installed function by category and shows its syntax and
// description.
#pragma once

#include "platform/gui/Forms.h"

class QLabel;
class QListWidget;
class QTreeWidget;
class TButton;

class TfrFuncForm : public TForm
{
public:
    TfrFuncForm();

    QTreeWidget* Tree1;
    QListWidget* FuncLB;
    QLabel* FuncLabel;
    QLabel* DescrLabel;
    TButton* Button1;
    TButton* Button2;

    void Tree1Change();
    void FuncLBClick();
};
