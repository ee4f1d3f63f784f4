// The classic input box: a small modal window with a caption, a prompt, one
// edit and OK and Cancel, shown through the modal seam so that a test can type
// into its edit and press a button.
#pragma once

#include "platform/gui/Forms.h"

#include <QString>

class QLabel;
class QLineEdit;
class TButton;

class TInputBoxForm : public TForm
{
public:
    TInputBoxForm(const QString& ACaption, const QString& APrompt, const QString& ADefault);

    QLabel* Prompt;
    QLineEdit* Edit;
    TButton* OKButton;
    TButton* CancelButton;
};

// The text entered when OK is pressed; Default when the box is cancelled.
QString InputBox(const QString& ACaption, const QString& APrompt, const QString& ADefault);
