#include "app/PhoneForm.h"

#include "app/Customer2Form.h"
#include "app/CustomerForm.h"
#include "app/CustomerHideForm.h"
#include "app/ListGrid.h"
#include "app/MainForm.h"
#include "app/Phone2Form.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "grid/DBGridEh.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/rtl/SysUtils.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

TFormPhone* FormPhone = nullptr;

namespace {

const QString Prospect = QStringLiteral("潜在客户");
const QString Regular = QStringLiteral("成交客户");
const QString ReadyCaption = QStringLiteral("客户来电查询（可与电话连接，提供来电弹出客户功能）");
constexpr TColor HotFrame = 0xF0CAA6;

} // namespace

TFormPhone::TFormPhone(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormPhone"));
    SetCaption(ReadyCaption);
    SetBorderStyle(bsDialog);
    SetPosition(poDesktopCenter);
    Font()->SetName(QStringLiteral("宋体"));
    Font()->SetHeight(-12);
    SetClientSize(560, 360);
    BuildControls();
    BuildGrid();
    OnShow = [this](QObject* Sender) { FormShow(Sender); };
    OnMouseMove = [this](QObject* Sender, TShiftState, int, int) { FormMouseMove(Sender); };
}

void TFormPhone::BuildControls()
{
    Shape1 = new TShape(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(12, 12, 80, 80);
    Shape1->Pen()->SetColor(clSilver);
    Shape1->OnMouseMove = [this](QObject* Sender, TShiftState, int, int) { Image1MouseMove(Sender); };
    Image1 = new TImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(20, 20, 64, 64);
    Image1->SetCenter(true);
    Image1->SetCursor(crHandPoint);
    Image1->OnMouseMove = [this](QObject* Sender, TShiftState, int, int) { Image1MouseMove(Sender); };
    Image1->OnClick = [this](QObject* Sender) { Image1Click(Sender); };

    auto* Label = new QLabel(QStringLiteral("电话号码："), this);
    Label->setGeometry(108, 19, 70, 16);
    Edit1 = new QLineEdit(QStringLiteral("13912345678"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(178, 16, 180, 22);
    auto* Scope = new QGroupBox(QStringLiteral("查询范围"), this);
    Scope->setGeometry(374, 4, 174, 46);
    ComboBox1 = new QComboBox(Scope);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(10, 18, 154, 22);
    ComboBox1->addItems({Prospect, Regular});
    QObject::connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(ComboBox1); });

    struct TActionSpec { QAction* TFormPhone::*Action; const char* Name; const char* Caption; };
    static const TActionSpec Actions[] = {
        {&TFormPhone::ActionSearch, "ActionSearch", "来电查询"},
        {&TFormPhone::ActionNew, "ActionNew", "潜在客户新增"},
        {&TFormPhone::ActionManage, "ActionManage", "潜在客户管理"},
        {&TFormPhone::ActionClose, "ActionClose", "关闭窗口"},
    };
    int Left = 108;
    for (const TActionSpec& A : Actions) {
        this->*A.Action = NewActionButton(this, A.Name, A.Caption, QRect(Left, 58, 104, 30), false);
        Left += 110;
    }
    QObject::connect(ActionSearch, &QAction::triggered, this, [this] { Lookup(); });
    QObject::connect(ActionNew, &QAction::triggered, this, [this] { ActionNewExecute(ActionNew); });
    QObject::connect(ActionManage, &QAction::triggered, this, [this] { ActionManageExecute(ActionManage); });
    QObject::connect(ActionClose, &QAction::triggered, this, [this] { ActionCloseExecute(ActionClose); });
}

void TFormPhone::BuildGrid()
{
    ADOQuery1 = new TADOQuery(this);
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    DataSource1 = new TDataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->SetDataSet(ADOQuery1);

    DBGridEhContact = NewListGrid(this, "DBGridEhContact", QRect(12, 104, 536, 244), DataSource1,
                                  {{"CustomerName", "客户名称", 240}, {"CustomerPhone", "电话号码", 130},
                                   {"CustomerHandPhone", "联系手机", 130}},
                                  true);
    DBGridEhContact->OnDblClick = [this](QObject* Sender) { DBGridEhContactDblClick(Sender); };
}

// ---------------------------------------------------------------- showing

void TFormPhone::FormShow(QObject*)
{
    SetCaption(ReadyCaption);
    // An earlier showing's rows may be of the other scope or another user.
    ADOQuery1->Close();
    ADOQuery1->SetConnection(ShareDataModule->ADOConnection1);
    SetActiveControl(Edit1);
    ComboBox1->setCurrentIndex(Prospects() ? 0 : 1);
    ComboBox1Change(ComboBox1);
}

void TFormPhone::ComboBox1Change(QObject*)
{
    const bool First = ComboBox1->currentIndex() == 0;
    const QString Kind = First ? Prospect : Regular;
    // Found rows belong to the table they were found in; left on screen under
    // the other scope a double-click would open or delete the row of that
    // index in the wrong table.
    if (Kind != SearchKind) {
        ADOQuery1->Close();
        SetCaption(ReadyCaption);
    }
    SearchKind = Kind;
    try {
        Image1->Picture()->LoadFromFile(AppPath + (First ? QStringLiteral("Res/BluePhone.bmp")
                                                         : QStringLiteral("Res/RedPhone.bmp")));
    } catch (const Exception&) {
        Image1->Picture()->Clear();
    }
}

void TFormPhone::FormMouseMove(QObject*)
{
    Shape1->Brush()->SetColor(clWhite);
}

void TFormPhone::Image1MouseMove(QObject*)
{
    Shape1->Brush()->SetColor(HotFrame);
}

void TFormPhone::Image1Click(QObject*)
{
    if (FormPhone2)
        FormPhone2->ShowModal();
}

// ---------------------------------------------------------------- lookup

bool TFormPhone::Search(const QString& Text)
{
    const QString Quoted = SqlQuoted(Text);
    const QString Where = QStringLiteral(" Where ((InStr(CustomerPhone,%1)) Or (InStr(CustomerHandPhone,%1)))").arg(Quoted);
    const QString SQL = Prospects() ? QStringLiteral("Select * From CustomerHide") + Where
                                    : QStringLiteral("Select * From Customer") + Where + CustomerFilter;
    return OpenSQL(ADOQuery1, SQL, QStringLiteral("数据库打开失败")) && !ADOQuery1->IsEmpty();
}

void TFormPhone::Lookup()
{
    SetCaption(ReadyCaption);
    const QString Number = Edit1->text().right(11);
    // A mobile number is searched whole; a landline by its last eight digits
    // and then seven, so that an area code typed or stored does not matter.
    bool Found;
    if (Number.startsWith(QStringLiteral("13")))
        Found = Search(Number);
    else
        Found = Search(Number.right(8)) || Search(Number.right(7));
    if (!Found)
        SetCaption(QStringLiteral("客户来电查询（找不到该号码对应的客户记录）"));
}

void TFormPhone::DBGridEhContactDblClick(QObject*)
{
    const TField* Index = ADOQuery1->Active() && !ADOQuery1->IsEmpty()
        ? ADOQuery1->FieldByName(QStringLiteral("CustomerIndex")) : nullptr;
    if (!Index || Index->IsNull()) {
        ShowMessage(QStringLiteral("请先选中需要查看的记录"));
        return;
    }
    if (!Prospects()) {
        FormCustomer->CustomerIndex = Index->AsInteger();
        // mrOk: the customer was renamed or deleted through its record window.
        if (FormCustomer->ShowModal() == mrOk) {
            if (FormMain)
                FormMain->RefreshCustomers();
            Lookup();
        }
        return;
    }
    FormCustomer2->EditMode = 1;
    FormCustomer2->CustomerIndex = Index->AsInteger();
    FormCustomer2->CustomerKind = Prospect;
    if (FormCustomer2->ShowModal() == mrOk)
        Lookup();
}

// ---------------------------------------------------------------- actions

void TFormPhone::ActionNewExecute(QObject*)
{
    FormCustomer2->EditMode = 0;
    FormCustomer2->CustomerKind = Prospect;
    const TDateTime Moment = Now();
    FormCustomer2->PresetName = DateToStr(Moment) + u' ' + TimeToStr(Moment);
    FormCustomer2->PresetPhone = Edit1->text();
    if (FormCustomer2->ShowModal() == mrOk)
        SetModalResult(mrCancel);
}

void TFormPhone::ActionManageExecute(QObject*)
{
    FormCustomerHide->ShowModal();
}

void TFormPhone::ActionCloseExecute(QObject*)
{
    SetModalResult(mrCancel);
}
