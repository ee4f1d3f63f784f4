#include "app/BillReportForm.h"

#include "app/MainForm.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/StdCtrls.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

TFormBillReport* FormBillReport = nullptr;

namespace {

const QString BillSelect = QStringLiteral(
    "Select BillIndex,BillCreateTime,BillSerial,BillKind,BillUser,BillSum,IIF(Round(Sum(MoneySum),2) Is Null,0,"
    "Round(Sum(MoneySum),2)) As BillGet,BillSum-IIF(Round(Sum(MoneySum),2) Is Null,0,Round(Sum(MoneySum),2)) As "
    "BillOwe,BillMan,BillReason,BillState,BillRemark From (Bill Left Join MoneyTable On Bill.BillIndex = "
    "MoneyTable.MoneyBill)");

void RunList(TForm* Form, const QString& SQL)
{
    if (FormMain) {
        FormMain->RunBillReport(SQL);
        FormMain->PageControl1->setCurrentIndex(2);
    }
    Form->SetModalResult(mrOk);
}

} // namespace

TFormBillReport::TFormBillReport(QWidget* AOwner)
    : TReportFilterForm(AOwner, QStringLiteral("FormBillReport"), QStringLiteral("业务单据查询"),
                        {QStringLiteral("所有"), QStringLiteral("销售开单"), QStringLiteral("采购开单")})
{
    ComboBox6 = AddCombo("ComboBox6", QStringLiteral("客户名称"), 0, 2, true);
    Edit3 = AddEdit("Edit3", QStringLiteral("备注信息"), 0, 3);
    Edit6 = AddEdit("Edit6", QStringLiteral("业务员"), 0, 4);
    ComboBox2 = AddCombo("ComboBox2", QStringLiteral("业务种类"), 1, 0);
    ComboBox3 = AddCombo("ComboBox3", QStringLiteral("业务进度"), 1, 1);
    Button1->SetCaption(QStringLiteral("当月业务单据"));
    ActionYes = new QAction(QStringLiteral("确定"), this);
    ActionYes->setObjectName(QStringLiteral("ActionYes"));
    ActionCancel = new QAction(QStringLiteral("取消"), this);
    ActionCancel->setObjectName(QStringLiteral("ActionCancel"));
    QObject::connect(ActionYes, &QAction::triggered, this, [this] { ActionYesExecute(ActionYes); });
    QObject::connect(ActionCancel, &QAction::triggered, this, [this] { ActionCancelExecute(ActionCancel); });
    OnShow = [this](QObject* Sender) { FormShow(Sender); };
    BitBtn1->OnClick = [this](QObject*) { ActionYes->trigger(); };
    BitBtn2->OnClick = [this](QObject*) { ActionCancel->trigger(); };
    Button1->OnClick = [this](QObject* Sender) { Button1Click(Sender); };
}

void TFormBillReport::FormShow(QObject* Sender)
{
    TReportFilterForm::FormShow(Sender);
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    LoadCombo(ComboBox2, Q, QStringLiteral("Select * From Parameter Where ParameterType = 1"), true,
              QStringLiteral("ParameterValue"));
    LoadCombo(ComboBox3, Q, QStringLiteral("Select * From Parameter Where ParameterType = 4"), true,
              QStringLiteral("ParameterValue"));
    LoadCombo(ComboBox6, Q, QStringLiteral("Select * From Customer Where (CustomerIndex > 1)") + CustomerFilter, true,
              QStringLiteral("CustomerName"));
    ComboBox5->setCurrentIndex(0);
    ComboBox5->setFocus();
}

void TFormBillReport::ActionYesExecute(QObject*)
{
    if (!ReadBounds())
        return;
    QString SQL = BillSelect + QStringLiteral(" Where (BillIndex > 1)") + PeriodCondition(QStringLiteral("BillCreateTime"))
                  + AmountConditions(QStringLiteral("BillSum")) + ChoiceCondition(ComboBox2, QStringLiteral("BillReason"))
                  + ChoiceCondition(ComboBox3, QStringLiteral("BillState"))
                  + ChoiceCondition(ComboBox5, QStringLiteral("BillKind"));
    if (ComboBox6->currentText() != QStringLiteral("所有"))
        SQL += InStrCondition(QStringLiteral("BillUser"), ComboBox6->currentText());
    if (!Edit3->text().isEmpty())
        SQL += InStrCondition(QStringLiteral("BillRemark"), Edit3->text());
    if (!Edit5->text().isEmpty())
        SQL += InStrCondition(QStringLiteral("BillSerial"), Edit5->text());
    if (!Edit6->text().isEmpty())
        SQL += InStrCondition(QStringLiteral("BillMan"), Edit6->text());
    RunList(this, SQL);
}

void TFormBillReport::ActionCancelExecute(QObject*)
{
    SetModalResult(mrCancel);
}

void TFormBillReport::Button1Click(QObject*)
{
    TDateTime First, Last;
    WorkingMonth(First, Last);
    RunList(this, BillSelect + QStringLiteral(" Where (BillCreateTime Between ") + JetDateLiteral(First)
                      + QStringLiteral(" And ") + JetDateLiteral(Last) + u')');
}
