// The restrictions dialog: one box per restriction bit of a view.
#pragma once

#include "platform/gui/Forms.h"

class QCheckBox;
class TButton;

class TfrRestrictionsForm : public TForm
{
public:
    explicit TfrRestrictionsForm(QWidget* AOwner = nullptr);

    QCheckBox* CB1;   // 1 memo, 2 script, 4 contents, 8 modify, 16 size, 32 move, 64 delete
    QCheckBox* CB2;
    QCheckBox* Cb3;
    QCheckBox* CB4;
    QCheckBox* CB5;
    QCheckBox* CB6;
    QCheckBox* CB7;
    TButton* Button1;
    TButton* Button2;

    // The boxes in bit order.
    QCheckBox* Box(int Index) const;
};
