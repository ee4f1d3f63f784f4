// The password dialog: asks for the password of a protected report when it is
// opened, and in the designer for a new password and its confirmation (the
// designer puts L2's text into L1 for the second asking).
#pragma once

#include "platform/gui/Forms.h"

class QLabel;
class QLineEdit;
class TButton;

class TfrPasswForm : public TForm
{
public:
    explicit TfrPasswForm(QWidget* AOwner = nullptr);

    QLabel* L1;
    QLabel* L2;       // the confirmation prompt; not shown
    QLineEdit* E1;    // shows "*" for each character
    TButton* OK;
    TButton* Cancel;
};

// Makes the dialog the engine's password query (frPasswordQuery); the program
// calls it at start-up.
void frInstallPasswordForm();
