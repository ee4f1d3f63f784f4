#include "app/CustomerHideForm.h"

#include "app/Customer2Form.h"
#include "app/ListGrid.h"
#include "app/PublicFunction.h"
#include "app/SaveChecks.h"
#include "app/ShareDM.h"
#include "grid/DBGridEh.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/gui/Buttons.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

TFormCustomerHide* FormCustomerHide = nullptr;

namespace {

const QString Prospect = QStringLiteral("潜在客户");

struct TFilterSpec
{
    const char* Caption;
    const char* Column;
};

const TFilterSpec Filters[] = {
    {"客户名称：", "CustomerName"},    {"电话号码：", "CustomerPhone"},   {"传真号码：", "CustomerFax"},
    {"联 系 人：", "CustomerContact"}, {"联系手机：", "CustomerHandPhone"}, {"客户邮箱：", "CustomerEMail"},
    {"客户主页：", "CustomerWebsite"}, {"客户地址：", "CustomerAddress"}, {"客户备注：", "CustomerRemark"},
};

} // namespace

TFormCustomerHide::TFormCustomerHide(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormCustomerHide"));
    SetCaption(QStringLiteral("潜在客户资料管理"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    Font()->SetName(QStringLiteral("宋体"));
    Font()->SetHeight(-12);
    SetClientSize(660, 400);
    BuildControls();
    BuildGrid();
    OnShow = [this](QObject* Sender) { FormShow(Sender); };
}

void TFormCustomerHide::BuildControls()
{
    struct TActionSpec { QAction* TFormCustomerHide::*Action; const char* Name; const char* Caption; };
    static const TActionSpec Actions[] = {
        {&TFormCustomerHide::ActionSearch, "ActionSearch", "客户筛选"},
        {&TFormCustomerHide::ActionNew, "ActionNew", "新增记录"},
        {&TFormCustomerHide::ActionEdit, "ActionEdit", "修改记录"},
        {&TFormCustomerHide::ActionDelete, "ActionDelete", "删除记录"},
        {&TFormCustomerHide::ActionClose, "ActionClose", "关闭窗口"},
    };
    int Left = 8;
    for (const TActionSpec& A : Actions) {
        this->*A.Action = NewActionButton(this, A.Name, A.Caption, QRect(Left, 6, 80, 28), true);
        Left += 84;
    }
    auto* Rule = new QFrame(this);
    Rule->setFrameShape(QFrame::HLine);
    Rule->setFrameShadow(QFrame::Sunken);
    Rule->setGeometry(0, 38, 660, 2);
    QObject::connect(ActionSearch, &QAction::triggered, this, [this] { RefreshList(); });
    QObject::connect(ActionNew, &QAction::triggered, this, [this] { ActionNewExecute(ActionNew); });
    QObject::connect(ActionEdit, &QAction::triggered, this, [this] { ActionEditExecute(ActionEdit); });
    QObject::connect(ActionDelete, &QAction::triggered, this, [this] { ActionDeleteExecute(ActionDelete); });
    QObject::connect(ActionClose, &QAction::triggered, this, [this] { ActionCloseExecute(ActionClose); });

    for (size_t I = 0; I < Edits.size(); ++I) {
        const int Top = 48 + int(I) * 38;
        auto* Label = new QLabel(QString::fromUtf8(Filters[I].Caption), this);
        Label->setGeometry(8, Top + 3, 72, 16);
        Edits[I] = new QLineEdit(this);
        Edits[I]->setObjectName(QStringLiteral("Edit") + QString::number(I + 1));
        Edits[I]->setGeometry(80, Top, 140, 22);
    }
}

void TFormCustomerHide::BuildGrid()
{
    ADOQuery1 = new TADOQuery(this);
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    DataSource1 = new TDataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->SetDataSet(ADOQuery1);

    DBGridEh1 = NewListGrid(this, "DBGridEh1", QRect(232, 44, 420, 348), DataSource1,
                            {{"CustomerName", "客户名称", 180}, {"CustomerPhone", "电话号码", 105},
                             {"CustomerHandPhone", "联系手机", 105}},
                            true);
    DBGridEh1->OnDblClick = [this](QObject*) { ActionEdit->trigger(); };
}

QString TFormCustomerHide::FilterCondition() const
{
    QString Condition;
    for (size_t I = 0; I < Edits.size(); ++I)
        if (!Edits[I]->text().isEmpty())
            Condition += InStrCondition(QString::fromLatin1(Filters[I].Column), Edits[I]->text());
    return Condition;
}

void TFormCustomerHide::RefreshList()
{
    ADOQuery1->SetConnection(ShareDataModule->ADOConnection1);
    OpenSQL(ADOQuery1, QStringLiteral("Select * From CustomerHide Where (CustomerIndex > 1)") + FilterCondition(),
            QStringLiteral("数据库打开失败"));
}

void TFormCustomerHide::FormShow(QObject*)
{
    RefreshList();
}

void TFormCustomerHide::ActionCloseExecute(QObject*)
{
    SetModalResult(mrCancel);
}

int TFormCustomerHide::CurrentIndex() const
{
    if (!ADOQuery1->Active() || ADOQuery1->IsEmpty())
        return 0;
    const TField* Index = ADOQuery1->FieldByName(QStringLiteral("CustomerIndex"));
    return Index->IsNull() ? 0 : Index->AsInteger();
}

void TFormCustomerHide::ActionNewExecute(QObject*)
{
    FormCustomer2->EditMode = 0;
    FormCustomer2->CustomerKind = Prospect;
    if (FormCustomer2->ShowModal() == mrOk)
        RefreshList();
}

void TFormCustomerHide::ActionEditExecute(QObject*)
{
    const int Index = CurrentIndex();
    if (Index == 0) {
        ShowMessage(QStringLiteral("请先选中需要查看的记录"));
        return;
    }
    FormCustomer2->EditMode = 1;
    FormCustomer2->CustomerIndex = Index;
    FormCustomer2->CustomerKind = Prospect;
    if (FormCustomer2->ShowModal() == mrOk)
        RefreshList();
}

void TFormCustomerHide::ActionDeleteExecute(QObject*)
{
    const int Index = CurrentIndex();
    if (Index == 0) {
        ShowMessage(QStringLiteral("请先选中需要删除的记录"));
        return;
    }
    if (DeleteRecord(QStringLiteral("Select * From CustomerHide Where CustomerIndex = %1").arg(Index),
                     QStringLiteral("数据库打开失败"), TRowImage::Of(ADOQuery1, QStringLiteral("Customer"))))
        RefreshList();
}
