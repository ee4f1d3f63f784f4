// TFormCustomer2: one customer row created, edited, deleted or promoted. The
// same window serves the regular customers (kind "正式客户", table Customer)
// and the prospective ones ("潜在客户", CustomerHide), whose tables share one
// layout. The caller fills the public fields before ShowModal; mrOk means a
// row was stored, deleted or promoted, mrNo that "删除" ended without deleting.
#pragma once

#include "app/SaveChecks.h"
#include "app/ShownValues.h"
#include "grid/DBCtrlsEh.h"
#include "platform/gui/Forms.h"

class QLineEdit;
class TADOQuery;
class TBitBtn;
class TImage;
class TMemo;

class TFormCustomer2 : public TForm
{
public:
    explicit TFormCustomer2(QWidget* AOwner = nullptr);

    // Set by the caller before every showing.
    int EditMode = 0;      // 0 = new row, otherwise edit CustomerIndex
    int CustomerIndex = 0;
    QString CustomerKind;  // "正式客户" or "潜在客户"
    QString TableName;     // set on show from the kind
    QString PresetName;    // new row only; cleared on show
    QString PresetPhone;   // new row only; cleared on show
    // Set when a prospect was promoted. Only the window's callers clear it, so
    // a promotion in a nested showing still reaches the one who asked.
    bool Promoted = false;

    QLineEdit* CustomerName;
    TDBNumberEditEh* CustomerOwe;
    QLineEdit* CustomerPhone;
    QLineEdit* CustomerFax;
    QLineEdit* CustomerContact;
    QLineEdit* CustomerHandPhone;
    QLineEdit* CustomerEMail;
    QLineEdit* CustomerWebsite;
    QLineEdit* CustomerAddress;
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn2;
    TBitBtn* BitBtn3;
    TBitBtn* BitBtn4;
    TMemo* CustomerRemark;
    TImage* Image1;

    void FormShow(QObject* Sender);
    void BitBtn1Click(QObject* Sender);
    void BitBtn3Click(QObject* Sender);
    void BitBtn4Click(QObject* Sender);

private:
    void BuildControls();
    void ShowRow(TADOQuery* Q);
    void ClearEdits();
    bool Refuse(const QString& Message, QWidget* Focus);
    bool CheckNameAndOwe();
    bool NameTaken(TADOQuery* Q, const QString& Table, int ExceptIndex);
    void WriteColumns(TADOQuery* Q) const;
    void StoreNew();
    void StoreEdit();
    bool IsRegular() const { return CustomerKind == QStringLiteral("正式客户"); }

    TRowImage FRow;       // the row shown in edit mode
    TShownValues FShown;  // its opening balance as stored
};

extern TFormCustomer2* FormCustomer2;
