// TFormAccount: one money account as its card shows it. It lists the
// account's receipts and payments of the working month, the working year or
// all time on the main window's money list, and renames or deletes the
// account behind the data-edit password. After a change it refreshes the main
// window and closes; a list closes it with mrCancel.
#pragma once

#include "app/SaveChecks.h"
#include "platform/gui/Forms.h"

class QAction;
class QLabel;
class TBitBtn;

class TFormAccount : public TForm
{
public:
    explicit TFormAccount(QWidget* AOwner = nullptr);

    // Set by the card click: the account's name (its key) and balance text.
    // The window reads the account by the name when it shows, and from then
    // on knows it by that row: an edit or a delete writes only while the row
    // under its index still carries the name and holds what was read.
    QString AccountText;
    QString BalanceText;

    QLabel* Label1;
    QLabel* Label2; // the name
    QLabel* Label3;
    QLabel* Label4; // the balance
    QAction* ActionMonth;
    QAction* ActionYear;
    QAction* ActionAll;
    QAction* ActionEdit;
    QAction* ActionDelete;
    QAction* ActionCancel;
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn2;
    TBitBtn* BitBtn3;
    TBitBtn* BitBtn4;
    TBitBtn* BitBtn5;
    TBitBtn* BitBtn6;

    void FormShow(QObject* Sender);
    void ActionMonthExecute(QObject* Sender);
    void ActionYearExecute(QObject* Sender);
    void ActionAllExecute(QObject* Sender);
    void ActionEditExecute(QObject* Sender);
    void ActionDeleteExecute(QObject* Sender);
    void ActionCancelExecute(QObject* Sender);

private:
    // Range: the date condition after the account's, empty for all time.
    void ShowMovements(const QString& Range);
    // The stored account of AccountText; 0 when there is none (or the read failed).
    int FindAccount(const QString& ErrorText);
    // The account as shown: its index with the name on the card. Another
    // copy of the program may have renamed it, and given the name to another.
    QString RowSQL() const;

    int FIndex = 0;  // the account read on showing; 0 = none
    TRowImage FRow;  // its row as read
};

extern TFormAccount* FormAccount;
