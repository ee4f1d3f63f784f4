#include "app/CustomerForm.h"

#include "app/BuySellForm.h"
#include "app/ContactForm.h"
#include "app/Customer2Form.h"
#include "app/GetPayForm.h"
#include "app/ListGrid.h"
#include "app/MainForm.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "grid/DBGridEh.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Shell.h"
#include "platform/rtl/SysUtils.h"

#include <QAction>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

TFormCustomer* FormCustomer = nullptr;

namespace {

const QString OpenError = QStringLiteral("数据库打开失败");
const QString Sale = QStringLiteral("销售开单");
const QString Purchase = QStringLiteral("采购开单");

TDateTime FirstOfMonth(TDateTime Day)
{
    int Y = 0, M = 0, D = 0;
    DecodeDate(Day, Y, M, D);
    return EncodeDate(Y, M, 1);
}

TDateTime WorkingDay()
{
    return FormMain ? FormMain->WorkingDay() : Date();
}

// A sum that the statement gives as its only column; no row or null is 0.
double SumOf(TADOQuery* Q, const QString& SQL)
{
    if (!OpenSQL(Q, SQL, OpenError) || Q->IsEmpty())
        return 0;
    return Q->Fields(0)->AsFloat();
}

} // namespace

TFormCustomer::TFormCustomer(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormCustomer"));
    SetCaption(QStringLiteral("客户信息"));
    SetBorderStyle(bsSingle);
    SetPosition(poMainFormCenter);
    Font()->SetName(QStringLiteral("宋体"));
    Font()->SetHeight(-12);
    SetClientSize(760, 540);
    BuildHeader();
    BuildToolBar();
    BuildPages();
    BindHandlers();
}

void TFormCustomer::BuildHeader()
{
    auto* Panel = new QFrame(this);
    Panel->setObjectName(QStringLiteral("Panel1"));
    Panel->setGeometry(0, 0, 760, 112);
    Panel->setAutoFillBackground(true);
    QPalette White = Panel->palette();
    White.setColor(QPalette::Window, Qt::white);
    Panel->setPalette(White);
    struct TSpec { QLineEdit* TFormCustomer::*Edit; const char* Name; const char* Caption; int X, Row, Width; };
    static const TSpec Specs[] = {
        {&TFormCustomer::CustomerName, "CustomerName", "客户名称", 12, 0, 190},
        {&TFormCustomer::CustomerPhone, "CustomerPhone", "电话号码", 12, 1, 190},
        {&TFormCustomer::CustomerAddress, "CustomerAddress", "客户地址", 12, 2, 190},
        {&TFormCustomer::CustomerRemark, "CustomerRemark", "备注信息", 12, 3, 430},
        {&TFormCustomer::CustomerContact, "CustomerContact", "联 系 人", 270, 0, 170},
        {&TFormCustomer::CustomerFax, "CustomerFax", "传真号码", 270, 1, 170},
        {&TFormCustomer::CustomerWebsite, "CustomerWebsite", "客户主页", 270, 2, 170},
        {&TFormCustomer::CustomerHandPhone, "CustomerHandPhone", "联系手机", 508, 0, 180},
        {&TFormCustomer::CustomerOwe, "CustomerOwe", "起初欠款", 508, 1, 180},
        {&TFormCustomer::CustomerEMail, "CustomerEMail", "客户邮箱", 508, 2, 180},
    };
    for (const TSpec& S : Specs) {
        const int Top = 10 + S.Row * 25;
        auto* Label = new QLabel(QString::fromUtf8(S.Caption) + u'：', Panel);
        Label->setGeometry(S.X, Top + 2, 64, 16);
        QLineEdit* Edit = new QLineEdit(Panel);
        Edit->setObjectName(QString::fromLatin1(S.Name));
        Edit->setGeometry(S.X + 64, Top, S.Width, 20);
        Edit->setReadOnly(true);
        Edit->setFrame(false);
        this->*S.Edit = Edit;
    }
    Button5 = new TButton(Panel);
    Button5->setObjectName(QStringLiteral("Button5"));
    Button5->SetCaption(QStringLiteral("资料修改"));
    Button5->setGeometry(572, 83, 80, 24);
    Button6 = new TButton(Panel);
    Button6->setObjectName(QStringLiteral("Button6"));
    Button6->SetCaption(QStringLiteral("客户目录"));
    Button6->setGeometry(660, 83, 80, 24);
}

void TFormCustomer::BuildToolBar()
{
    auto AddAction = [this](const char* Name, const char* Caption) {
        auto* Action = new QAction(QString::fromUtf8(Caption), this);
        Action->setObjectName(QString::fromLatin1(Name));
        return Action;
    };
    ActionCancel = AddAction("ActionCancel", "关闭窗口");
    ActionContact = AddAction("ActionContact", "往来记录");
    ActionSell = AddAction("ActionSell", "销售开单");
    ActionBuy = AddAction("ActionBuy", "采购开单");
    ActionGet = AddAction("ActionGet", "财务收入");
    ActionPay = AddAction("ActionPay", "财务支出");
    auto* Bar = new QFrame(this);
    Bar->setObjectName(QStringLiteral("ToolBar1"));
    Bar->setFrameShape(QFrame::StyledPanel);
    Bar->setGeometry(0, 112, 760, 40);
    int Left = 8;
    auto AddButton = [&](const char* Name, QAction* Action) {
        auto* Button = new TSpeedButton(Bar);
        Button->setObjectName(QString::fromLatin1(Name));
        Button->SetCaption(Action->text());
        Button->setGeometry(Left, 6, 84, 28);
        Button->OnClick = [Action](QObject*) { Action->trigger(); };
        Left += 90;
        return Button;
    };
    ContactButton = AddButton("ContactButton", ActionContact);
    SellButton = AddButton("SellButton", ActionSell);
    BuyButton = AddButton("BuyButton", ActionBuy);
    GetButton = AddButton("GetButton", ActionGet);
    PayButton = AddButton("PayButton", ActionPay);
    Left = 760 - 92;
    CancelButton = AddButton("CancelButton", ActionCancel);
}

// The grid fills its page whatever the height of the tab bar above it; a
// fixed height left the footer row flush against the window's edge.
static TDBGridEh* FillPage(QWidget* Sheet, TDBGridEh* Grid)
{
    auto* Layout = new QVBoxLayout(Sheet);
    Layout->setContentsMargins(4, 4, 4, 4);
    Layout->addWidget(Grid);
    return Grid;
}

void TFormCustomer::BuildPages()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 156, 760, 384);
    auto AddQuery = [this](const char* Query, const char* Source, TDataSource*& DataSource) {
        auto* Q = new TADOQuery(this);
        Q->setObjectName(QString::fromLatin1(Query));
        DataSource = new TDataSource(this);
        DataSource->setObjectName(QString::fromLatin1(Source));
        DataSource->SetDataSet(Q);
        return Q;
    };
    ADOQueryContact = AddQuery("ADOQueryContact", "DataSourceContact", DataSourceContact);
    ADOQueryBill = AddQuery("ADOQueryBill", "DataSourceBill", DataSourceBill);
    ADOQueryMoney = AddQuery("ADOQueryMoney", "DataSourceMoney", DataSourceMoney);

    auto* Sheet1 = new QWidget;
    DBGridEhContact = FillPage(Sheet1, NewListGrid(Sheet1, "DBGridEhContact", QRect(4, 4, 744, 352), DataSourceContact,
                              {{"ContactIndex", "记录编号", 70}, {"ContactCreateTime", "创建时间", 90},
                               {"ContactHead", "信息内容", 548}}, true));
    PageControl1->addTab(Sheet1, QStringLiteral("客户往来记录"));
    auto* Sheet2 = new QWidget;
    DBGridEhBill = FillPage(Sheet2, NewListGrid(Sheet2, "DBGridEhBill", QRect(4, 4, 744, 352), DataSourceBill,
                           {{"BillCreateTime", "创建时间", 80}, {"BillSerial", "单据编号", 80}, {"BillKind", "单据类型", 70},
                            {"BillUser", "客户名称", 130}, {"BillSum", "单据金额", 72}, {"BillGet", "已收金额", 72},
                            {"BillOwe", "未收金额", 72}, {"BillMan", "业务员", 60}, {"BillReason", "业务种类", 70}}, true));
    PageControl1->addTab(Sheet2, QStringLiteral("客户业务单据"));
    auto* Sheet3 = new QWidget;
    DBGridEhMoney = FillPage(Sheet3, NewListGrid(Sheet3, "DBGridEhMoney", QRect(4, 4, 744, 352), DataSourceMoney,
                            {{"MoneyCreateTime", "创建时间", 80}, {"MoneySerial", "单据编号", 80}, {"AccountName", "帐户名称", 80},
                             {"MoneyUser", "客户名称", 130}, {"MoneyIn", "收入", 72}, {"MoneyOut", "支出", 72},
                             {"MoneySum", "合计", 72}, {"MoneyMan", "业务员", 60}, {"MoneyReason", "收支种类", 60}}, true));
    PageControl1->addTab(Sheet3, QStringLiteral("客户财务单据"));
    auto* Sheet4 = new QWidget;
    BuildBalancePage(Sheet4);
    PageControl1->addTab(Sheet4, QStringLiteral("客户业务状况"));
}

void TFormCustomer::BuildBalancePage(QWidget* Sheet)
{
    auto* Balance = new QGroupBox(QStringLiteral("客户欠款"), Sheet);
    Balance->setGeometry(12, 12, 728, 110);
    struct TTerm { QLabel* TFormCustomer::*Label; const char* Name; const char* Caption; const char* Operator; };
    static const TTerm Terms[] = {
        {&TFormCustomer::LabelFirstOwe, "LabelFirstOwe", "起初欠款", "+"},
        {&TFormCustomer::LabelSell, "LabelSell", "销售总额", "－"},
        {&TFormCustomer::LabelBuy, "LabelBuy", "采购总额", "－"},
        {&TFormCustomer::LabelGet, "LabelGet", "已收总额", "＝"},
        {&TFormCustomer::LabelOwe, "LabelOwe", "客户欠款", ""},
    };
    int Left = 16;
    for (const TTerm& T : Terms) {
        auto* Caption = new QLabel(QString::fromUtf8(T.Caption), Balance);
        Caption->setGeometry(Left, 28, 110, 18);
        Caption->setAlignment(Qt::AlignCenter);
        QLabel* Value = new QLabel(QStringLiteral("0"), Balance);
        Value->setObjectName(QString::fromLatin1(T.Name));
        Value->setGeometry(Left, 56, 110, 28);
        Value->setAlignment(Qt::AlignCenter);
        Value->setFrameShape(QFrame::Panel);
        Value->setFrameShadow(QFrame::Sunken);
        this->*T.Label = Value;
        auto* Operator = new QLabel(QString::fromUtf8(T.Operator), Balance);
        Operator->setGeometry(Left + 112, 56, 32, 28);
        Operator->setAlignment(Qt::AlignCenter);
        Left += 144;
    }
    QFont Bold = LabelOwe->font();
    Bold.setBold(true);
    LabelOwe->setFont(Bold);

    GroupBox1 = new QGroupBox(QStringLiteral("客户单据搜索"), Sheet);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(12, 136, 728, 110);
    struct TList { TButton* TFormCustomer::*Button; const char* Name; const char* Caption; };
    static const TList Lists[] = {
        {&TFormCustomer::Button1, "Button1", "本月销售单"}, {&TFormCustomer::Button2, "Button2", "本月采购单"},
        {&TFormCustomer::Button3, "Button3", "本月收入单"}, {&TFormCustomer::Button4, "Button4", "本月支出单"},
        {&TFormCustomer::Button7, "Button7", "所有销售单"}, {&TFormCustomer::Button8, "Button8", "所有采购单"},
        {&TFormCustomer::Button9, "Button9", "所有收入单"}, {&TFormCustomer::Button10, "Button10", "所有支出单"},
    };
    for (int I = 0; I < 8; ++I) {
        auto* Button = new TButton(GroupBox1);
        Button->setObjectName(QString::fromLatin1(Lists[I].Name));
        Button->SetCaption(QString::fromUtf8(Lists[I].Caption));
        Button->setGeometry(24 + (I % 4) * 176, 30 + (I / 4) * 40, 150, 28);
        Button->OnClick = [this, Button](QObject*) { ListButtonClick(Button); };
        this->*Lists[I].Button = Button;
    }
}

void TFormCustomer::BindHandlers()
{
    OnShow = [this](QObject* Sender) { FormShow(Sender); };
    OnClose = [this](QObject* Sender, TCloseAction&) { FormClose(Sender); };
    QObject::connect(ActionCancel, &QAction::triggered, this, [this] { SetModalResult(mrCancel); });
    QObject::connect(ActionContact, &QAction::triggered, this, [this] { ActionContactExecute(ActionContact); });
    QObject::connect(ActionSell, &QAction::triggered, this, [this] { ActionSellExecute(ActionSell); });
    QObject::connect(ActionBuy, &QAction::triggered, this, [this] { ActionBuyExecute(ActionBuy); });
    QObject::connect(ActionGet, &QAction::triggered, this, [this] { ActionGetExecute(ActionGet); });
    QObject::connect(ActionPay, &QAction::triggered, this, [this] { ActionPayExecute(ActionPay); });
    DBGridEhContact->OnDblClick = [this](QObject* Sender) { DBGridEhContactDblClick(Sender); };
    DBGridEhBill->OnDblClick = [this](QObject* Sender) { DBGridEhBillDblClick(Sender); };
    DBGridEhMoney->OnDblClick = [this](QObject* Sender) { DBGridEhMoneyDblClick(Sender); };
    Button5->OnClick = [this](QObject* Sender) { Button5Click(Sender); };
    Button6->OnClick = [this](QObject* Sender) { Button6Click(Sender); };
}

// ---------------------------------------------------------------- showing and refresh

void TFormCustomer::FormShow(QObject*)
{
    for (TADOQuery* Q : {ADOQueryContact, ADOQueryBill, ADOQueryMoney})
        Q->SetConnection(ShareDataModule->ADOConnection1);
    DataChanged = false;
    ShowRights();
    if (!RefreshCustomer())
        SetModalResult(mrCancel);
}

void TFormCustomer::ShowRights()
{
    const bool Salesman = CurrentRole == QStringLiteral("业务员");
    const bool Business = !Salesman || CurrentRange.contains(QStringLiteral("业务管理"));
    const bool Money = !Salesman || CurrentRange.contains(QStringLiteral("财务管理"));
    for (QWidget* W : std::initializer_list<QWidget*>{SellButton, BuyButton, Button1, Button2, Button7, Button8})
        W->setVisible(Business);
    for (QWidget* W : std::initializer_list<QWidget*>{GetButton, PayButton, Button3, Button4, Button9, Button10})
        W->setVisible(Money);
}

bool TFormCustomer::RefreshCustomer()
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    if (!OpenSQL(Q, QStringLiteral("Select * From Customer Where CustomerIndex = %1").arg(CustomerIndex),
                 QStringLiteral("客户资料表打开失败")))
        return false;
    // Showing the previous customer's details under this one's index would
    // hand its documents to the wrong name.
    if (Q->IsEmpty()) {
        ShowMessage(QStringLiteral("该客户记录已被删除"));
        return false;
    }
    for (QLineEdit* Edit : {CustomerName, CustomerPhone, CustomerAddress, CustomerRemark, CustomerContact, CustomerFax,
                            CustomerWebsite, CustomerHandPhone, CustomerEMail})
        Edit->setText(Q->FieldByName(Edit->objectName())->AsString());
    const double FirstOwe = Q->FieldByName(QStringLiteral("CustomerOwe"))->AsFloat();
    CustomerOwe->setText(RoundStr(FirstOwe));
    RefreshLists(CustomerName->text());
    RefreshBalance(CustomerName->text(), FirstOwe);
    return true;
}

void TFormCustomer::RefreshLists(const QString& Name)
{
    const QString Quoted = SqlQuoted(Name);
    OpenSQL(ADOQueryContact, QStringLiteral("Select * From Contact Where ContactUser = %1").arg(CustomerIndex), OpenError);
    const QString Got = QStringLiteral("IIF(Round(Sum(MoneySum),2) Is Null,0,Round(Sum(MoneySum),2))");
    OpenSQL(ADOQueryBill,
            QStringLiteral("Select BillIndex,BillCreateTime,BillSerial,BillKind,BillUser,BillSum,") + Got
                + QStringLiteral(" As BillGet,BillSum-") + Got
                + QStringLiteral(" As BillOwe,BillMan,BillReason From (Bill Left Join MoneyTable On Bill.BillIndex = "
                                 "MoneyTable.MoneyBill) Where (BillIndex > 1) And (BillUser = ")
                + Quoted + u')' + BillFilter
                + QStringLiteral(" Group By BillIndex,BillCreateTime,BillSerial,BillKind,BillUser,BillSum,BillMan,"
                                 "BillReason Order By BillCreateTime,BillIndex"),
            OpenError);
    OpenSQL(ADOQueryMoney,
            QStringLiteral("Select MoneyIndex,MoneyCreateTime,MoneySerial,AccountName,MoneyUser,MoneyIn,MoneyOut,"
                           "MoneySum,MoneyMan,MoneyReason From Account,MoneyTable Where (AccountIndex = MoneyAccount) "
                           "And (MoneyUser = ")
                + Quoted + u')' + MoneyFilter + QStringLiteral(" Order By MoneyCreateTime,MoneyIndex"),
            OpenError);
    static const char* const NoSums[3] = {nullptr, nullptr, nullptr};
    static const unsigned NoColours[3] = {0, 0, 0};
    static const char* const BillSums[3] = {"BillSum", "BillGet", "BillOwe"};
    static const unsigned BillColours[3] = {clBlack, clBlue, clRed};
    static const char* const MoneySums[3] = {"MoneyIn", "MoneyOut", "MoneySum"};
    static const unsigned MoneyColours[3] = {clBlue, clRed, clBlack};
    SetFooters(DBGridEhContact, ADOQueryContact, NoSums, NoColours);
    SetFooters(DBGridEhBill, ADOQueryBill, BillSums, BillColours);
    SetFooters(DBGridEhMoney, ADOQueryMoney, MoneySums, MoneyColours);
}

// A list with rows counts them in column 0 and sums columns 4 to 6; an empty
// or failed list shows no footers, so the previous customer's never remain.
void TFormCustomer::SetFooters(TDBGridEh* Grid, TADOQuery* Query, const char* const Sums[3], const unsigned Colours[3])
{
    const bool Rows = Query->Active() && !Query->IsEmpty();
    TColumnFooterEh* Count = Grid->Columns(0)->Footer();
    Count->SetValueType(Rows ? fvtStaticText : fvtNon);
    Count->SetValue(Rows ? QStringLiteral("共%1条").arg(Query->RecordCount()) : QString());
    Count->SetAlignment(taCenter);
    Count->Font()->SetColor(clBlack);
    for (int I = 0; I < 3; ++I) {
        if (!Sums[I])
            continue;
        TColumnFooterEh* Footer = Grid->Columns(4 + I)->Footer();
        Footer->SetFieldName(QString::fromLatin1(Sums[I]));
        Footer->SetValueType(Rows ? fvtSum : fvtNon);
        Footer->SetAlignment(taCenter);
        Footer->Font()->SetColor(static_cast<TColor>(Colours[I]));
    }
    Grid->SumList()->RecalcAll();
}

// The balance counts every document of the customer up to the working day,
// whoever booked it: the salesman filters shape only the lists.
void TFormCustomer::RefreshBalance(const QString& Name, double FirstOwe)
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp2;
    const QString Quoted = SqlQuoted(Name);
    const QString UpTo = JetDateLiteral(WorkingDay());
    const double Sell = SumOf(Q, QStringLiteral("Select ROUND(Sum(BillSum),2) As TotalMoney From Bill Where (BillKind = "
                                                "'销售开单') And (BillUser = %1) And (BillCreateTime <= %2)")
                                     .arg(Quoted, UpTo));
    const double Buy = SumOf(Q, QStringLiteral("Select ROUND(ABS(Sum(BillSum)),2) As TotalMoney From Bill Where (BillKind = "
                                               "'采购开单') And (BillUser = %1) And (BillCreateTime <= %2)")
                                    .arg(Quoted, UpTo));
    const double Got = SumOf(Q, QStringLiteral("Select Sum(MoneySum) As TotalMoney From MoneyTable Where (MoneyUser = %1) "
                                               "And (MoneyCreateTime <= %2)")
                                    .arg(Quoted, UpTo));
    LabelFirstOwe->setText(RoundStr(FirstOwe));
    LabelSell->setText(RoundStr(Sell));
    LabelBuy->setText(RoundStr(Buy));
    LabelGet->setText(RoundStr(Got));
    // Each term as its label shows it, so the sum on screen adds up.
    double Terms[4] = {};
    const QLabel* Labels[4] = {LabelFirstOwe, LabelSell, LabelBuy, LabelGet};
    for (int I = 0; I < 4; ++I)
        TryStrToFloat(Labels[I]->text(), Terms[I]);
    LabelOwe->setText(RoundStr(Terms[0] + Terms[1] - Terms[2] - Terms[3]));
}

// ---------------------------------------------------------------- hand-overs

void TFormCustomer::Changed(bool Condition)
{
    if (!Condition)
        return;
    DataChanged = true;
    if (!RefreshCustomer())
        SetModalResult(mrOk);
}

void TFormCustomer::ActionContactExecute(QObject*)
{
    FormContact->ContactMode = QStringLiteral("新增");
    FormContact->ContactUser = CustomerIndex;
    Changed(FormContact->ShowModal() == mrOk);
}

void TFormCustomer::NewDocument(bool IsSale)
{
    FormBuySell->Mode = QStringLiteral("新增");
    FormBuySell->Kind = IsSale ? Sale : Purchase;
    FormBuySell->BillIndex = 1;
    FormBuySell->CustomerIndex = CustomerIndex;
    FormBuySell->CustomerFixed = true;
    Changed(FormBuySell->ShowModal() == mrOk);
}

void TFormCustomer::NewMoney(bool Receipt)
{
    FormGetPay->Mode = QStringLiteral("新增");
    FormGetPay->Kind = Receipt ? QStringLiteral("财务收入单") : QStringLiteral("财务支出单");
    FormGetPay->BillIndex = 0;
    FormGetPay->CustomerIndex = CustomerIndex;
    FormGetPay->CustomerFixed = true;
    FormGetPay->CustomerName.clear();
    FormGetPay->Reason.clear();
    FormGetPay->AmountText.clear();
    FormGetPay->RemarkText.clear();
    Changed(FormGetPay->ShowModal() == mrOk);
}

void TFormCustomer::ActionSellExecute(QObject*) { NewDocument(true); }
void TFormCustomer::ActionBuyExecute(QObject*) { NewDocument(false); }
void TFormCustomer::ActionGetExecute(QObject*) { NewMoney(true); }
void TFormCustomer::ActionPayExecute(QObject*) { NewMoney(false); }

bool TFormCustomer::HasCurrentRow(TADOQuery* Query, const char* IndexField)
{
    if (Query->Active() && !Query->IsEmpty() && !Query->FieldByName(QString::fromLatin1(IndexField))->IsNull())
        return true;
    ShowMessage(QStringLiteral("请先选中需要查看的记录"));
    return false;
}

void TFormCustomer::DBGridEhContactDblClick(QObject*)
{
    if (!HasCurrentRow(ADOQueryContact, "ContactIndex"))
        return;
    FormContact->ContactMode = QStringLiteral("修改");
    FormContact->ContactIndex = ADOQueryContact->FieldByName(QStringLiteral("ContactIndex"))->AsInteger();
    FormContact->ContactUser = CustomerIndex;
    Changed(FormContact->ShowModal() == mrOk);
}

void TFormCustomer::DBGridEhBillDblClick(QObject*)
{
    if (!HasCurrentRow(ADOQueryBill, "BillIndex"))
        return;
    FormBuySell->Mode = QStringLiteral("修改");
    FormBuySell->Kind = ADOQueryBill->FieldByName(QStringLiteral("BillKind"))->AsString() == Sale ? Sale : Purchase;
    FormBuySell->BillIndex = ADOQueryBill->FieldByName(QStringLiteral("BillIndex"))->AsInteger();
    FormBuySell->EditUnlocked = false;
    FormBuySell->CustomerFixed = false;
    // An unlocked document may have changed whatever the window's result.
    FormBuySell->ShowModal();
    Changed(FormBuySell->EditUnlocked);
}

void TFormCustomer::DBGridEhMoneyDblClick(QObject*)
{
    if (!HasCurrentRow(ADOQueryMoney, "MoneyIndex"))
        return;
    FormGetPay->Mode = QStringLiteral("修改");
    FormGetPay->Kind = ADOQueryMoney->FieldByName(QStringLiteral("MoneySum"))->AsFloat() >= 0
                           ? QStringLiteral("财务收入单")
                           : QStringLiteral("财务支出单");
    FormGetPay->MoneyIndex = ADOQueryMoney->FieldByName(QStringLiteral("MoneyIndex"))->AsInteger();
    FormGetPay->CustomerFixed = false;
    Changed(FormGetPay->ShowModal() == mrOk);
}

// ---------------------------------------------------------------- lists, edit, folder

void TFormCustomer::ListButtonClick(TButton* Sender)
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    if (!OpenSQL(Q, QStringLiteral("Select * From Customer Where CustomerIndex = %1").arg(CustomerIndex), OpenError)
        || Q->IsEmpty() || !FormMain)
        return;
    const QString Name = SqlQuoted(Q->FieldByName(QStringLiteral("CustomerName"))->AsString());
    const bool Document = Sender == Button1 || Sender == Button2 || Sender == Button7 || Sender == Button8;
    const bool ThisMonth = Sender == Button1 || Sender == Button2 || Sender == Button3 || Sender == Button4;
    QString SQL;
    if (Document) {
        const bool IsSale = Sender == Button1 || Sender == Button7;
        const QString Got = QStringLiteral("IIF(Round(Sum(MoneySum),2) Is Null,0,Round(Sum(MoneySum),2))");
        SQL = QStringLiteral("Select BillIndex,BillCreateTime,BillSerial,BillKind,BillUser,BillSum,") + Got
              + QStringLiteral(" As BillGet,BillSum-") + Got
              + QStringLiteral(" As BillOwe,BillMan,BillReason,BillState,BillRemark From (Bill Left Join MoneyTable On "
                               "Bill.BillIndex = MoneyTable.MoneyBill) Where (BillUser = ")
              + Name + QStringLiteral(") And (BillKind = ") + SqlQuoted(IsSale ? Sale : Purchase) + u')';
    } else {
        const bool Receipt = Sender == Button3 || Sender == Button9;
        SQL = QStringLiteral("Select MoneyIndex,MoneyCreateTime,MoneySerial,AccountName,MoneyUser,MoneyIn,MoneyOut,"
                             "MoneySum,MoneyMan,MoneyReason,MoneyType,MoneyToken,MoneyRemark From Account,MoneyTable "
                             "Where (AccountIndex = MoneyAccount) And (MoneyUser = ")
              + Name + (Receipt ? QStringLiteral(") And (MoneySum >= 0)") : QStringLiteral(") And (MoneySum < 0)"));
    }
    if (ThisMonth) {
        const TDateTime First = FirstOfMonth(WorkingDay());
        SQL += QStringLiteral(" And (%1 Between %2 And %3)")
                   .arg(Document ? QStringLiteral("BillCreateTime") : QStringLiteral("MoneyCreateTime"),
                        JetDateLiteral(First), JetDateLiteral(IncMonth(First, 1) - 1));
    }
    if (Document)
        FormMain->RunBillReport(SQL);
    else
        FormMain->RunMoneyReport(SQL);
    FormMain->PageControl1->setCurrentIndex(Document ? 2 : 5);
    SetModalResult(mrCancel);
}

void TFormCustomer::Button5Click(QObject*)
{
    if (!ShareDataModule->CheckEditPassword(QStringLiteral("修改密码"), QStringLiteral("请输入资料修改密码"), QString()))
        return;
    FormCustomer2->EditMode = 1;
    FormCustomer2->CustomerIndex = CustomerIndex;
    FormCustomer2->CustomerKind = QStringLiteral("正式客户");
    if (FormCustomer2->ShowModal() == mrOk)
        SetModalResult(mrOk);
}

QString TFormCustomer::CustomerFolder(const QString& Base, const QString& Name)
{
    // The stored name stays as it is; only the folder's name is made safe.
    QString Safe = Name;
    for (QChar& C : Safe)
        if (C == u'/' || C == u'\\' || C.category() == QChar::Other_Control)
            C = u'_';
    if (Safe.count(u'.') == Safe.size())
        Safe.prepend(u'_');
    const QString Root = QDir::cleanPath(Base);
    const QString Folder = QDir::cleanPath(Root + u'/' + Safe);
    if (!Folder.startsWith(Root + u'/'))
        return QString();
    return Folder;
}

void TFormCustomer::Button6Click(QObject*)
{
    const QString Base = AppPath + QStringLiteral("客户目录");
    const QString Folder = CustomerFolder(Base, CustomerName->text());
    if (Folder.isEmpty() || !QDir().mkpath(Folder))
        return;
    ShellOpen(Folder);
}

void TFormCustomer::FormClose(QObject*)
{
    if (DataChanged && FormMain)
        FormMain->RefreshAll();
}
