#include "app/Account2Form.h"

#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/Field.h"
#include "platform/gui/Buttons.h"
#include "platform/rtl/SysUtils.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

TFormAccount2* FormAccount2 = nullptr;

TFormAccount2::TFormAccount2(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormAccount2"));
    SetCaption(QStringLiteral("新增帐户"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(300, 130);
    QFont F(QStringLiteral("宋体"));
    F.setPixelSize(12);
    setFont(F);

    Label1 = new QLabel(QStringLiteral("帐户名称："), this);
    Label1->setGeometry(24, 20, 70, 24);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(96, 20, 180, 24);
    Label2 = new QLabel(QStringLiteral("起初金额："), this);
    Label2->setGeometry(24, 54, 70, 24);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(96, 54, 180, 24);
    Edit2->setAlignment(Qt::AlignRight);

    ActionYes = new QAction(QStringLiteral("确定"), this);
    ActionYes->setObjectName(QStringLiteral("ActionYes"));
    QObject::connect(ActionYes, &QAction::triggered, this, [this] { ActionYesExecute(ActionYes); });
    ActionCancel = new QAction(QStringLiteral("取消"), this);
    ActionCancel->setObjectName(QStringLiteral("ActionCancel"));
    QObject::connect(ActionCancel, &QAction::triggered, this, [this] { ActionCancelExecute(ActionCancel); });

    BitBtn1 = new TBitBtn(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->SetCaption(ActionYes->text());
    BitBtn1->SetDefault(true);
    BitBtn1->setGeometry(96, 92, 80, 28);
    BitBtn1->OnClick = [this](QObject*) { ActionYes->trigger(); };
    BitBtn2 = new TBitBtn(this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->SetCaption(ActionCancel->text());
    BitBtn2->SetCancel(true);
    BitBtn2->setGeometry(196, 92, 80, 28);
    BitBtn2->OnClick = [this](QObject*) { ActionCancel->trigger(); };

    OnCreate = [this](QObject* Sender) { FormCreate(Sender); };
    OnShow = [this](QObject* Sender) { FormShow(Sender); };
}

void TFormAccount2::FormCreate(QObject*)
{
    AccountName.clear();
    AccountIndex = 0;
    AccountBase = 0;
}

void TFormAccount2::FormShow(QObject*)
{
    FShown.Clear();
    if (AccountName.isEmpty()) {
        SetCaption(QStringLiteral("新增帐户"));
        AccountBase = 0;
        Edit1->clear();
        Edit2->setText(QStringLiteral("0"));
    } else {
        SetCaption(QStringLiteral("修改帐户"));
        // A row gone meanwhile still shows the name asked for, not the last account shown.
        Edit1->setText(AccountName);
        Edit2->setText(QStringLiteral("0"));
        TADOQuery* Q = ShareDataModule->ADOQueryTemp;
        if (OpenSQL(Q, QStringLiteral("Select * From Account Where AccountIndex = %1").arg(AccountIndex),
                    QStringLiteral("数据库打开失败"))
            && !Q->IsEmpty()) {
            FShown.ShowAmount(Edit2, Q->FieldByName(QStringLiteral("AccountBase"))->AsFloat());
        }
    }
    SetActiveControl(Edit1);
}

void TFormAccount2::ActionYesExecute(QObject*)
{
    // Digits and points alone let "1.2.3" through; it must not be stored as 0.
    double Base = 0;
    if (!IsNumeric(Edit2->text()) || !TryStrToFloat(Edit2->text(), Base)) {
        ShowMessage(QStringLiteral("金额格式有误，请重新输入"));
        SetActiveControl(Edit2);
        return;
    }
    AccountName = Edit1->text();
    AccountBase = FShown.Amount(Edit2, Base);
    SetModalResult(mrOk);
}

void TFormAccount2::ActionCancelExecute(QObject*)
{
    SetModalResult(mrCancel);
}
