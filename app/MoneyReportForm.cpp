#include "app/MoneyReportForm.h"

#include "app/MainForm.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/StdCtrls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

TFormMoneyReport* FormMoneyReport = nullptr;

namespace {

const QString MoneySelect = QStringLiteral(
    "Select MoneyIndex,MoneyCreateTime,MoneySerial,AccountName,MoneyUser,MoneyIn,MoneyOut,MoneySum,MoneyMan,"
    "MoneyReason,MoneyType,MoneyToken,MoneyRemark From Account,MoneyTable Where (AccountIndex = MoneyAccount)");

void RunList(TForm* Form, const QString& SQL)
{
    if (FormMain) {
        FormMain->RunMoneyReport(SQL);
        FormMain->PageControl1->setCurrentIndex(5);
    }
    Form->SetModalResult(mrOk);
}

} // namespace

TFormMoneyReport::TFormMoneyReport(QWidget* AOwner)
    : TReportFilterForm(AOwner, QStringLiteral("FormMoneyReport"), QStringLiteral("财务单据查询"),
                        {QStringLiteral("所有"), QStringLiteral("财务收入单"), QStringLiteral("财务支出单")})
{
    ComboBox1 = AddCombo("ComboBox1", QStringLiteral("帐户名称"), 0, 2);
    ComboBox6 = AddCombo("ComboBox6", QStringLiteral("客户名称"), 0, 3, true);
    Edit3 = AddEdit("Edit3", QStringLiteral("备注"), 0, 4);
    Edit6 = AddEdit("Edit6", QStringLiteral("业务员"), 0, 5);
    ComboBox2 = AddCombo("ComboBox2", QStringLiteral("项目"), 1, 0);
    ComboBox3 = AddCombo("ComboBox3", QStringLiteral("款项类别"), 1, 1);
    ComboBox4 = AddCombo("ComboBox4", QStringLiteral("款项凭证"), 1, 2);
    Button1->SetCaption(QStringLiteral("当月财务单据"));
    OnShow = [this](QObject* Sender) { FormShow(Sender); };
    BitBtn1->OnClick = [this](QObject* Sender) { BitBtn1Click(Sender); };
    BitBtn2->OnClick = [this](QObject* Sender) { BitBtn2Click(Sender); };
    Button1->OnClick = [this](QObject* Sender) { Button1Click(Sender); };
}

void TFormMoneyReport::FormShow(QObject* Sender)
{
    TReportFilterForm::FormShow(Sender);
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    LoadCombo(ComboBox1, Q, QStringLiteral("Select * From Account Where AccountIndex > 1") + AccountFilter, true,
              QStringLiteral("AccountName"));
    QComboBox* const Lists[3] = {ComboBox2, ComboBox3, ComboBox4};
    for (int Type = 1; Type <= 3; ++Type)
        LoadCombo(Lists[Type - 1], Q, QStringLiteral("Select * From Parameter Where ParameterType = %1").arg(Type), true,
                  QStringLiteral("ParameterValue"));
    LoadCombo(ComboBox6, Q, QStringLiteral("Select * From Customer Where (CustomerIndex > 1)") + CustomerFilter, true,
              QStringLiteral("CustomerName"));
    ComboBox5->setCurrentIndex(0);
    ComboBox5->setFocus();
}

void TFormMoneyReport::BitBtn1Click(QObject*)
{
    if (!ReadBounds())
        return;
    const int Kind = ComboBox5->currentIndex();
    QString SQL = MoneySelect + PeriodCondition(QStringLiteral("MoneyCreateTime"))
                  + AmountConditions(QStringLiteral("MoneySum")) + ChoiceCondition(ComboBox1, QStringLiteral("AccountName"))
                  + ChoiceCondition(ComboBox2, QStringLiteral("MoneyReason"))
                  + ChoiceCondition(ComboBox3, QStringLiteral("MoneyType"))
                  + ChoiceCondition(ComboBox4, QStringLiteral("MoneyToken"));
    if (Kind == 1)
        SQL += QStringLiteral(" And (MoneySum >= 0)");
    else if (Kind == 2)
        SQL += QStringLiteral(" And (MoneySum < 0)");
    if (ComboBox6->currentText() != QStringLiteral("所有"))
        SQL += InStrCondition(QStringLiteral("MoneyUser"), ComboBox6->currentText());
    if (!Edit3->text().isEmpty())
        SQL += InStrCondition(QStringLiteral("MoneyRemark"), Edit3->text());
    if (!Edit5->text().isEmpty())
        SQL += InStrCondition(QStringLiteral("MoneySerial"), Edit5->text());
    if (!Edit6->text().isEmpty())
        SQL += InStrCondition(QStringLiteral("MoneyMan"), Edit6->text());
    RunList(this, SQL);
}

void TFormMoneyReport::BitBtn2Click(QObject*)
{
    SetModalResult(mrCancel);
}

void TFormMoneyReport::Button1Click(QObject*)
{
    TDateTime First, Last;
    WorkingMonth(First, Last);
    RunList(this, MoneySelect + QStringLiteral(" And (MoneyCreateTime Between ") + JetDateLiteral(First)
                      + QStringLiteral(" And ") + JetDateLiteral(Last) + u')');
}
