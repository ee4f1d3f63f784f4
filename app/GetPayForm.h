// TFormGetPay: one receipt ("财务收入单") or payment ("财务支出单") of table
// MoneyTable: new, shown, edited and deleted behind the data-edit password,
// and printed with its amount in capital figures. The caller fills the public
// fields before ShowModal; mrOk means a row was saved or deleted.
#pragma once

#include "app/SaveChecks.h"
#include "app/ShareDM.h"
#include "app/ShownValues.h"
#include "grid/DBCtrlsEh.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Variants.h"

class QAction;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class TADOQuery;
class TBitBtn;

class TfrDBDataSet;
class TfrReport;

class TFormGetPay : public TForm
{
public:
    explicit TFormGetPay(QWidget* AOwner = nullptr);

    // Set by the caller before every showing.
    QString Mode;            // "新增" or "修改"
    QString Kind;            // "财务收入单" or "财务支出单"
    int MoneyIndex = 0;      // the row shown in "修改"
    int BillIndex = 0;       // the document a new row settles; 0 = none
    int CustomerIndex = 0;   // customer preselected in "新增"; 0 = none
    bool CustomerFixed = false;
    QString CustomerName;
    QString Reason;
    QString AmountText;
    QString RemarkText;
    // The window's own: the printed amount in capital figures ("MoneyCN").
    QString CapitalAmount;

    QLabel* Image1;
    QLineEdit* Edit4;
    QComboBox* ComboBox1;
    QDateEdit* DateTimePicker1;
    QComboBox* ComboBox5;
    TDBNumberEditEh* Edit2;
    QComboBox* ComboBox2;
    QComboBox* ComboBox3;
    QComboBox* ComboBox4;
    QLineEdit* Edit5;
    QLineEdit* Edit3;
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn2;
    TBitBtn* BitBtn3;
    TBitBtn* PrintButton;
    QAction* ActionPrint;
    TfrReport* frReport1;
    TfrDBDataSet* frDBDataSet1;

    void FormShow(QObject* Sender);
    void BitBtn1Click(QObject* Sender);
    void BitBtn3Click(QObject* Sender);
    void ActionPrintExecute(QObject* Sender);
    void frReport1GetValue(const QString& ParName, Variant& ParValue);

    // The amount in fen as capital figures; empty when it is 10,000,000.00 or
    // more, which the capital figures cannot hold.
    static QString AmountInCapitals(double Amount);

private:
    void BuildControls();
    void LoadLists();
    void ShowExisting();
    void ShowNew();
    bool CheckInput(int& AccountIndex);
    bool Refuse(const QString& Message, QWidget* Focus);
    void CheckNames(TADOQuery* Q, int AccountIndex);
    void WriteColumns(TADOQuery* Q, int AccountIndex, const QString& Serial) const;
    void SaveNew(int AccountIndex);
    void SaveEdit(int AccountIndex);
    QString MoneySQL() const
    {
        return QStringLiteral("Select * From MoneyTable Where MoneyIndex = %1").arg(MoneyIndex);
    }
    QString BillSQL() const { return QStringLiteral("Select * From Bill Where BillIndex = %1").arg(BillIndex); }
    static QString AccountSQL(int Index)
    {
        return QStringLiteral("Select * From Account Where AccountIndex = %1").arg(Index);
    }
    bool IsReceipt() const { return Kind == QStringLiteral("财务收入单"); }
    int SettingIndex() const { return IsReceipt() ? 3 : 4; }

    TSerialProposal FProposal; // the number this showing proposed
    TRowImage FMoney;          // the row shown in "修改"
    TRowImage FBill;           // the document a new row settles
    TCustomerChoice FCustomer; // where the customer box's names came from
    TShownValues FShown;       // the row shown in "修改", box by box
};

extern TFormGetPay* FormGetPay;
