#include "app/Bill2Form.h"

#include "app/GetPayForm.h"
#include "app/MainForm.h"
#include "platform/gui/Buttons.h"

#include <QAction>

TFormBill2* FormBill2 = nullptr;

TFormBill2::TFormBill2(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormBill2"));
    SetCaption(QStringLiteral("财务单据"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(260, 110);
    QFont F(QStringLiteral("宋体"));
    F.setPixelSize(12);
    setFont(F);

    ActionGet = new QAction(QStringLiteral("财务收入"), this);
    ActionGet->setObjectName(QStringLiteral("ActionGet"));
    QObject::connect(ActionGet, &QAction::triggered, this, [this] { ActionGetExecute(ActionGet); });
    ActionPay = new QAction(QStringLiteral("财务支出"), this);
    ActionPay->setObjectName(QStringLiteral("ActionPay"));
    QObject::connect(ActionPay, &QAction::triggered, this, [this] { ActionPayExecute(ActionPay); });

    BitBtn1 = new TBitBtn(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->SetCaption(ActionGet->text());
    BitBtn1->setGeometry(20, 30, 100, 48);
    BitBtn1->OnClick = [this](QObject*) { ActionGet->trigger(); };
    BitBtn2 = new TBitBtn(this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->SetCaption(ActionPay->text());
    BitBtn2->setGeometry(140, 30, 100, 48);
    BitBtn2->OnClick = [this](QObject*) { ActionPay->trigger(); };
}

void TFormBill2::ActionGetExecute(QObject*)
{
    StartNew(QStringLiteral("财务收入单"));
}

void TFormBill2::ActionPayExecute(QObject*)
{
    StartNew(QStringLiteral("财务支出单"));
}

void TFormBill2::StartNew(const QString& Kind)
{
    FormGetPay->Mode = QStringLiteral("新增");
    FormGetPay->Kind = Kind;
    FormGetPay->BillIndex = 0;
    FormGetPay->CustomerIndex = 0;
    FormGetPay->CustomerFixed = false;
    FormGetPay->CustomerName.clear();
    FormGetPay->Reason.clear();
    FormGetPay->AmountText.clear();
    FormGetPay->RemarkText.clear();
    const TModalResult Result = FormGetPay->ShowModal();
    if (Result == mrOk && FormMain)
        FormMain->RefreshAll();
    // The chooser's work is done either way; its result tells whether a row was saved.
    SetModalResult(Result == mrOk ? mrOk : mrCancel);
}
