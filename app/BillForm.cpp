#include "app/BillForm.h"

#include "app/BuySellForm.h"
#include "app/MainForm.h"
#include "platform/gui/Buttons.h"

#include <QAction>

TFormBill* FormBill = nullptr;

TFormBill::TFormBill(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormBill"));
    SetCaption(QStringLiteral("业务单据"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(260, 110);
    Font()->SetName(QStringLiteral("宋体"));
    Font()->SetHeight(-12);

    ActionSell = new QAction(QStringLiteral("销售开单"), this);
    ActionSell->setObjectName(QStringLiteral("ActionSell"));
    QObject::connect(ActionSell, &QAction::triggered, this, [this] { ActionSellExecute(ActionSell); });
    ActionBuy = new QAction(QStringLiteral("采购开单"), this);
    ActionBuy->setObjectName(QStringLiteral("ActionBuy"));
    QObject::connect(ActionBuy, &QAction::triggered, this, [this] { ActionBuyExecute(ActionBuy); });

    BitBtn1 = new TBitBtn(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->SetCaption(ActionSell->text());
    BitBtn1->setGeometry(20, 30, 100, 48);
    BitBtn1->OnClick = [this](QObject*) { ActionSell->trigger(); };
    BitBtn2 = new TBitBtn(this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->SetCaption(ActionBuy->text());
    BitBtn2->setGeometry(140, 30, 100, 48);
    BitBtn2->OnClick = [this](QObject*) { ActionBuy->trigger(); };
}

void TFormBill::ActionSellExecute(QObject*)
{
    StartNew(QStringLiteral("销售开单"));
}

void TFormBill::ActionBuyExecute(QObject*)
{
    StartNew(QStringLiteral("采购开单"));
}

void TFormBill::StartNew(const QString& Kind)
{
    FormBuySell->Mode = QStringLiteral("新增");
    FormBuySell->Kind = Kind;
    FormBuySell->BillIndex = 1;
    FormBuySell->CustomerIndex = 0;
    FormBuySell->CustomerFixed = false;
    const TModalResult Result = FormBuySell->ShowModal();
    if (Result == mrOk && FormMain)
        FormMain->RefreshAll();
    // The chooser's work is done either way; its result tells whether a document was saved.
    SetModalResult(Result == mrOk ? mrOk : mrCancel);
}
