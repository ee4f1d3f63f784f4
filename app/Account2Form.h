// TFormAccount2: the small dialog that takes an account's name and opening
// balance, empty for a new account or filled from the stored row for an edit.
// It checks only that the balance is a number; the caller tests the name and
// stores the values.
#pragma once

#include "app/ShownValues.h"
#include "platform/gui/Forms.h"

class QAction;
class QLabel;
class QLineEdit;
class TBitBtn;

class TFormAccount2 : public TForm
{
public:
    explicit TFormAccount2(QWidget* AOwner = nullptr);

    // In: empty for a new account, else the account to edit. Out: the name typed.
    QString AccountName;
    // In: the index of the account to edit, by which its row is read: another
    // copy of the program may have given the name to another account since.
    int AccountIndex = 0;
    // Out: the opening balance typed; the stored one while the box shows it.
    double AccountBase = 0;

    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    QLineEdit* Edit2;
    QAction* ActionYes;
    QAction* ActionCancel;
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn2;

    void FormCreate(QObject* Sender);
    void FormShow(QObject* Sender);
    void ActionYesExecute(QObject* Sender);
    void ActionCancelExecute(QObject* Sender);

private:
    TShownValues FShown;
};

extern TFormAccount2* FormAccount2;
