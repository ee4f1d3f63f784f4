// TFormCustomer3: the customer search of the main window's customer cards. It
// only builds a condition from nine filter edits and, when asked, a period in
// which the customer must have documents; the main window appends
// SearchCondition to its customer statement on every refresh.
#pragma once

#include "platform/gui/Forms.h"

#include <array>

class QAction;
class QCheckBox;
class QDateEdit;
class QLineEdit;
class TBitBtn;

class TFormCustomer3 : public TForm
{
public:
    explicit TFormCustomer3(QWidget* AOwner = nullptr);

    // The condition of the last confirmed search; empty before the first.
    QString SearchCondition;

    // Filter edits Edit1 ... Edit9, in the order their conditions are appended.
    std::array<QLineEdit*, 9> Edits{};
    QCheckBox* CheckBox1;
    QDateEdit* DateTimePicker1;
    QDateEdit* DateTimePicker2;
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn2;
    QAction* ActionYes;
    QAction* ActionCancel;

    void FormShow(QObject* Sender);
    void CheckBox1Click(QObject* Sender);
    void ActionYesExecute(QObject* Sender);
    void ActionCancelExecute(QObject* Sender);

private:
    void BuildControls();
};

extern TFormCustomer3* FormCustomer3;
