// TFormBill2: the small chooser behind "new money document": a receipt or a
// payment, each started stand-alone in TFormGetPay. It closes itself either
// way; a saved row refreshes the main window.
#pragma once

#include "platform/gui/Forms.h"

class QAction;
class TBitBtn;

class TFormBill2 : public TForm
{
public:
    explicit TFormBill2(QWidget* AOwner = nullptr);

    QAction* ActionGet;
    QAction* ActionPay;
    TBitBtn* BitBtn1; // 财务收入
    TBitBtn* BitBtn2; // 财务支出

    void ActionGetExecute(QObject* Sender);
    void ActionPayExecute(QObject* Sender);

private:
    void StartNew(const QString& Kind);
};

extern TFormBill2* FormBill2;
