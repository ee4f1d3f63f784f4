// TFormCustomerHide: the list of prospective customers (table CustomerHide),
// narrowed by nine filter edits, from which prospects are created, edited,
// promoted and deleted through the customer record window. It lists every
// prospect to every user: prospects belong to no salesman.
#pragma once

#include "platform/gui/Forms.h"

#include <array>

class QAction;
class QLineEdit;
class TADOQuery;
class TDataSource;
class TDBGridEh;
class TSpeedButton;

class TFormCustomerHide : public TForm
{
public:
    explicit TFormCustomerHide(QWidget* AOwner = nullptr);

    // Filter edits Edit1 ... Edit9, in the order their conditions are appended.
    std::array<QLineEdit*, 9> Edits{};
    TDBGridEh* DBGridEh1;
    TADOQuery* ADOQuery1;
    TDataSource* DataSource1;
    QAction* ActionClose;
    QAction* ActionSearch;
    QAction* ActionNew;
    QAction* ActionEdit;
    QAction* ActionDelete;

    // The conditions of the non-empty filter edits.
    QString FilterCondition() const;
    // Lists the prospects that meet the filter.
    void RefreshList();

    void FormShow(QObject* Sender);
    void ActionCloseExecute(QObject* Sender);
    void ActionNewExecute(QObject* Sender);
    void ActionEditExecute(QObject* Sender);
    void ActionDeleteExecute(QObject* Sender);

private:
    void BuildControls();
    void BuildGrid();
    // The current row's CustomerIndex, or 0 when there is no current row.
    int CurrentIndex() const;
};

extern TFormCustomerHide* FormCustomerHide;
