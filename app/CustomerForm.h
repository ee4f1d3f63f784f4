// TFormCustomer: one regular customer with everything that refers to it: its
// details, contact records, documents, money documents and balance up to the
// working day. From here the user records contacts, starts documents for the
// customer, edits it behind the data-edit password, opens its folder and
// sends its document lists to the main window's list pages. The caller sets
// CustomerIndex before ShowModal; mrOk means the customer itself changed.
#pragma once

#include "platform/gui/Forms.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class TADOQuery;
class TButton;
class TDataSource;
class TDBGridEh;
class TSpeedButton;

class TFormCustomer : public TForm
{
public:
    explicit TFormCustomer(QWidget* AOwner = nullptr);

    int CustomerIndex = 0;     // set by the caller
    bool DataChanged = false;  // a window opened from here stored something

    // Header.
    QLineEdit* CustomerName;
    QLineEdit* CustomerPhone;
    QLineEdit* CustomerAddress;
    QLineEdit* CustomerRemark;
    QLineEdit* CustomerContact;
    QLineEdit* CustomerFax;
    QLineEdit* CustomerWebsite;
    QLineEdit* CustomerHandPhone;
    QLineEdit* CustomerOwe;
    QLineEdit* CustomerEMail;
    TButton* Button5;
    TButton* Button6;
    // Tool bar.
    TSpeedButton* ContactButton;
    TSpeedButton* SellButton;
    TSpeedButton* BuyButton;
    TSpeedButton* GetButton;
    TSpeedButton* PayButton;
    TSpeedButton* CancelButton;
    QAction* ActionCancel;
    QAction* ActionContact;
    QAction* ActionSell;
    QAction* ActionBuy;
    QAction* ActionGet;
    QAction* ActionPay;
    // Tabs.
    QTabWidget* PageControl1;
    TADOQuery* ADOQueryContact;
    TADOQuery* ADOQueryBill;
    TADOQuery* ADOQueryMoney;
    TDataSource* DataSourceContact;
    TDataSource* DataSourceBill;
    TDataSource* DataSourceMoney;
    TDBGridEh* DBGridEhContact;
    TDBGridEh* DBGridEhBill;
    TDBGridEh* DBGridEhMoney;
    QLabel* LabelFirstOwe;
    QLabel* LabelSell;
    QLabel* LabelBuy;
    QLabel* LabelGet;
    QLabel* LabelOwe;
    QGroupBox* GroupBox1;
    TButton* Button1;  // 本月销售单
    TButton* Button2;  // 本月采购单
    TButton* Button3;  // 本月收入单
    TButton* Button4;  // 本月支出单
    TButton* Button7;  // 所有销售单
    TButton* Button8;  // 所有采购单
    TButton* Button9;  // 所有收入单
    TButton* Button10; // 所有支出单

    // Reads the customer and its lists and balance again; false when the
    // customer is gone, which closes the window.
    bool RefreshCustomer();

    void FormShow(QObject* Sender);
    void FormClose(QObject* Sender);
    void ActionContactExecute(QObject* Sender);
    void ActionSellExecute(QObject* Sender);
    void ActionBuyExecute(QObject* Sender);
    void ActionGetExecute(QObject* Sender);
    void ActionPayExecute(QObject* Sender);
    void DBGridEhContactDblClick(QObject* Sender);
    void DBGridEhBillDblClick(QObject* Sender);
    void DBGridEhMoneyDblClick(QObject* Sender);
    void Button5Click(QObject* Sender);
    void Button6Click(QObject* Sender);
    // The eight list buttons: Sale or purchase, receipt or payment, this month or all.
    void ListButtonClick(TButton* Sender);

    // The folder of a customer under Base: characters that would leave the
    // folder or confuse the shell become "_". Empty when it would lie outside.
    static QString CustomerFolder(const QString& Base, const QString& Name);

private:
    void BuildHeader();
    void BuildToolBar();
    void BuildPages();
    void BuildBalancePage(QWidget* Sheet);
    void BindHandlers();
    void ShowRights();
    void RefreshLists(const QString& Name);
    void SetFooters(TDBGridEh* Grid, TADOQuery* Query, const char* const Sums[3], const unsigned Colours[3]);
    void RefreshBalance(const QString& Name, double FirstOwe);
    void Changed(bool Condition);
    void NewDocument(bool Sale);
    void NewMoney(bool Receipt);
    bool HasCurrentRow(TADOQuery* Query, const char* IndexField);
};

extern TFormCustomer* FormCustomer;
