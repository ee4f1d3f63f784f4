// The "New report template" dialog: the description and the picture with
// which the designer saves the report as a wizard template.
#pragma once

#include "platform/gui/Forms.h"

class TButton;
class TImage;
class TMemo;

class TfrTemplNewForm : public TForm
{
public:
    explicit TfrTemplNewForm(QWidget* AOwner = nullptr);

    void Button1Click();

    TMemo* Memo1;
    TImage* Image1;
    TButton* Button1;   // browse for a bitmap
    TButton* Button2;
    TButton* Button3;
};
