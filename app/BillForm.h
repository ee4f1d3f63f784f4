// TFormBill: the small chooser behind "new document": a sale or a purchase,
// each started as a new document in TFormBuySell. It closes itself either
// way; a saved document refreshes the main window.
#pragma once

#include "platform/gui/Forms.h"

class QAction;
class TBitBtn;

class TFormBill : public TForm
{
public:
    explicit TFormBill(QWidget* AOwner = nullptr);

    QAction* ActionSell;
    QAction* ActionBuy;
    TBitBtn* BitBtn1; // 销售开单
    TBitBtn* BitBtn2; // 采购开单

    void ActionSellExecute(QObject* Sender);
    void ActionBuyExecute(QObject* Sender);

private:
    void StartNew(const QString& Kind);
};

extern TFormBill* FormBill;
