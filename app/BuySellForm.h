// TFormBuySell: one sales ("销售开单") or purchase ("采购开单") document of
// table Bill, with the receipts and payments that settle it. New documents are
// entered directly; an existing one is read-only until the data-edit password
// unlocks it. Sales are stored with a positive BillSum, purchases negative;
// the window always shows the amount without sign. The caller fills the
// public fields before ShowModal; mrOk means the document was saved or deleted.
#pragma once

#include "app/SaveChecks.h"
#include "app/ShareDM.h"
#include "app/ShownValues.h"
#include "platform/gui/Forms.h"

#include <QMap>

class QAction;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class TADOQuery;
class TBitBtn;
class TButton;
class TDataSource;
class TDBGridEh;
class TSpeedButton;
class TfrDBDataSet;
class TfrReport;

class TFormBuySell : public TForm
{
public:
    explicit TFormBuySell(QWidget* AOwner = nullptr);

    // Set by the caller before every showing.
    QString Mode;              // "新增" or "修改"
    int BillIndex = 1;         // 1: not stored yet (row 1 of Bill is reserved)
    QString Kind;              // "销售开单" or "采购开单"
    int CustomerIndex = 0;     // customer to preselect; 0 = none
    bool EditUnlocked = false; // set by the window when the password unlocks editing
    bool CustomerFixed = false;

    QLabel* Image1;
    QDateEdit* DateTimePicker1;
    QLineEdit* Edit1;
    QComboBox* ComboBox5;
    QLineEdit* Edit2;
    QComboBox* ComboBox2;
    QComboBox* ComboBox3;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    TDBGridEh* DBGridEh1;
    TButton* Button1;
    TButton* Button2;
    TButton* Button3;
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn2;
    TBitBtn* BitBtn3;
    TSpeedButton* SpeedButton4;
    TSpeedButton* SpeedButton1;
    QAction* ActionEdit;
    QAction* ActionPrint;
    TADOQuery* ADOQuery1;   // the window's own query: storing and printing
    TADOQuery* ADOQuery2;   // the linked money rows of the grid
    TDataSource* DataSource1;
    TfrReport* frReport1;
    TfrDBDataSet* frDBDataSet1; // the money rows
    TfrDBDataSet* frDBDataSet2; // the document with its settlement totals

    void RefreshMoneyGrid();

    void FormShow(QObject* Sender);
    void FormClose(QObject* Sender, TCloseAction& Action);
    void ActionEditExecute(QObject* Sender);
    void ActionPrintExecute(QObject* Sender);
    void BitBtn1Click(QObject* Sender);
    void BitBtn3Click(QObject* Sender);
    void Button1Click(QObject* Sender);
    void Button2Click(QObject* Sender);
    void Button3Click(QObject* Sender);

private:
    void BuildControls();
    void BuildGrid();
    void BindHandlers();
    void LoadPicture();
    void LoadLists();
    void ShowExisting();
    void ShowNew();
    void SetEditButtons(bool Editing);
    bool CheckInput();
    bool CheckAmount();
    bool Refuse(const QString& Message, QWidget* Focus);
    // Writes the columns common to a new and an edited document on the current row.
    void WriteBill(TADOQuery* Q, bool KeepMan, const QString& Serial);
    QString ClaimSerial(TSerialProposal& Proposal);
    void KeepStored(int Index, const QString& Serial, const TSerialProposal& Proposal, const TRowImage& Stored,
                    const TStoredRow& Removable);
    bool StoreNewDocument(); // the abandoned-or-kept row made before a linked money row
    bool DocumentUnchanged();
    void SaveNew();
    void SaveEdit();
    void KeepMoneyRows();
    bool RemoveAbandoned();
    // Hands one money row to the receipt window; true on mrOk.
    bool RunGetPay(const QString& GetPayMode, const QString& GetPayKind, int MoneyIndex);
    bool IsSale() const { return Kind == QStringLiteral("销售开单"); }
    bool IsNew() const { return Mode == QStringLiteral("新增"); }

    TSerialProposal FProposal; // the number this showing proposed
    TRowImage FBill;           // the stored document as read or stored
    // A new document stored for its first receipt and its money rows by
    // MoneyIndex, as this window stored them: what its Cancel removes.
    TStoredRow FStoredBill;
    QMap<int, TStoredRow> FMoneyRows;
    bool FCancelRefused = false; // the last Cancel could not remove them
    TCustomerChoice FCustomer; // where the customer box's names came from
    TShownValues FShown;       // the stored document, box by box
};

extern TFormBuySell* FormBuySell;
