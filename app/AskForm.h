// TFormAsk: the one modal prompt of the program, for passwords and one-line
// text. The caller sets AskCaption, AskPrompt and AskText, shows it modally and
// after mrOk reads the typed answer from AskText.
#pragma once

#include "platform/gui/EditChars.h" // callers set the prompt's PasswordChar
#include "platform/gui/Forms.h"

class QLabel;
class QLineEdit;
class TBitBtn;

class TFormAsk : public TForm
{
public:
    explicit TFormAsk(QWidget* AOwner = nullptr);

    QString AskCaption;
    QString AskPrompt;
    QString AskText;

    QLabel* Image1;
    QLabel* Label1;
    QLineEdit* Edit1;
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn2;

    void FormShow(QObject* Sender);
    void BitBtn1Click(QObject* Sender);
};

extern TFormAsk* FormAsk;
