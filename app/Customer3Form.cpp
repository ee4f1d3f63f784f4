#include "app/Customer3Form.h"

#include "app/MainForm.h"
#include "app/PublicFunction.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Buttons.h"
#include "platform/rtl/SysUtils.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

TFormCustomer3* FormCustomer3 = nullptr;

namespace {

struct TFilterSpec
{
    const char* Caption;
    const char* Column;
};

const TFilterSpec Filters[] = {
    {"客户名称：", "CustomerName"},    {"联 系 人：", "CustomerContact"}, {"手机号码：", "CustomerHandPhone"},
    {"电话号码：", "CustomerPhone"},   {"传真号码：", "CustomerFax"},     {"电子邮箱：", "CustomerEMail"},
    {"客户主页：", "CustomerWebsite"}, {"联系地址：", "CustomerAddress"}, {"备注信息：", "CustomerRemark"},
};

} // namespace

TFormCustomer3::TFormCustomer3(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormCustomer3"));
    SetCaption(QStringLiteral("客户信息搜索"));
    SetBorderStyle(bsDialog);
    SetPosition(poMainFormCenter);
    Font()->SetName(QStringLiteral("宋体"));
    Font()->SetHeight(-12);
    SetClientSize(470, 300);
    BuildControls();
    OnShow = [this](QObject* Sender) { FormShow(Sender); };
}

void TFormCustomer3::BuildControls()
{
    // Two columns of filters: the first five on the left, the rest on the right.
    for (size_t I = 0; I < Edits.size(); ++I) {
        const int Left = I < 5 ? 16 : 244;
        const int Top = 16 + int(I % 5) * 32;
        auto* Label = new QLabel(QString::fromUtf8(Filters[I].Caption), this);
        Label->setGeometry(Left, Top + 3, 70, 16);
        Edits[I] = new QLineEdit(this);
        Edits[I]->setObjectName(QStringLiteral("Edit") + QString::number(I + 1));
        Edits[I]->setGeometry(Left + 70, Top, 140, 22);
    }

    CheckBox1 = new QCheckBox(QStringLiteral("搜有业务的客户"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(244, 146, 210, 22);
    auto* Period = new QGroupBox(QStringLiteral("业务时段："), this);
    Period->setGeometry(16, 180, 438, 62);
    auto AddPicker = [Period](const char* Name, const QString& Caption, int Left) {
        auto* Label = new QLabel(Caption, Period);
        Label->setGeometry(Left, 27, 64, 16);
        auto* Picker = new QDateEdit(Period);
        Picker->setObjectName(QString::fromLatin1(Name));
        Picker->setGeometry(Left + 64, 24, 130, 22);
        Picker->setCalendarPopup(true);
        Picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        Picker->setEnabled(false);
        return Picker;
    };
    DateTimePicker1 = AddPicker("DateTimePicker1", QStringLiteral("开始日期："), 12);
    DateTimePicker2 = AddPicker("DateTimePicker2", QStringLiteral("结束日期："), 226);

    ActionYes = new QAction(QStringLiteral("确定"), this);
    ActionYes->setObjectName(QStringLiteral("ActionYes"));
    ActionCancel = new QAction(QStringLiteral("取消"), this);
    ActionCancel->setObjectName(QStringLiteral("ActionCancel"));
    BitBtn1 = new TBitBtn(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->SetCaption(ActionYes->text());
    BitBtn1->SetDefault(true);
    BitBtn1->setGeometry(272, 256, 86, 28);
    BitBtn2 = new TBitBtn(this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->SetCaption(ActionCancel->text());
    BitBtn2->setGeometry(368, 256, 86, 28);

    QObject::connect(ActionYes, &QAction::triggered, this, [this] { ActionYesExecute(ActionYes); });
    QObject::connect(ActionCancel, &QAction::triggered, this, [this] { ActionCancelExecute(ActionCancel); });
    BitBtn1->OnClick = [this](QObject*) { ActionYes->trigger(); };
    BitBtn2->OnClick = [this](QObject*) { ActionCancel->trigger(); };
    QObject::connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(CheckBox1); });
}

void TFormCustomer3::FormShow(QObject*)
{
    const TDateTime Day = FormMain ? FormMain->WorkingDay() : Date();
    int Y, M, D;
    DecodeDate(Day, Y, M, D);
    const TDateTime First = EncodeDate(Y, M, 1);
    DateTimePicker1->setDate(DateTimeToQDate(First));
    DateTimePicker2->setDate(DateTimeToQDate(IncMonth(First, 1) - 1));
}

void TFormCustomer3::CheckBox1Click(QObject*)
{
    DateTimePicker1->setEnabled(!DateTimePicker1->isEnabled());
    DateTimePicker2->setEnabled(!DateTimePicker2->isEnabled());
}

void TFormCustomer3::ActionYesExecute(QObject*)
{
    SearchCondition.clear();
    for (size_t I = 0; I < Edits.size(); ++I)
        if (!Edits[I]->text().isEmpty())
            SearchCondition += InStrCondition(QString::fromLatin1(Filters[I].Column), Edits[I]->text());
    if (CheckBox1->isChecked())
        SearchCondition += QStringLiteral(" And (BillCreateTime Between ")
                           + JetDateLiteral(QDateToDateTime(DateTimePicker1->date())) + QStringLiteral(" And ")
                           + JetDateLiteral(QDateToDateTime(DateTimePicker2->date())) + u')';
    SetModalResult(mrOk);
}

void TFormCustomer3::ActionCancelExecute(QObject*)
{
    SetModalResult(mrCancel);
}
