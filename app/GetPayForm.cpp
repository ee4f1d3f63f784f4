#include "app/GetPayForm.h"

#include "app/MainForm.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "grid/DBCtrlsEh.h"
#include "grid/ToolCtrlsEh.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/Field.h"
#include "platform/gui/Buttons.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_DBSet.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

TFormGetPay* FormGetPay = nullptr;

namespace {

const QString OpenError = QStringLiteral("数据库打开失败");

QLabel* AddLabel(QWidget* Parent, const QString& Caption, int X, int Y)
{
    auto* Label = new QLabel(Caption, Parent);
    Label->setGeometry(X, Y, 64, 24);
    return Label;
}

QComboBox* AddCombo(QWidget* Parent, const char* Name, bool Editable, int X, int Y)
{
    auto* Combo = new QComboBox(Parent);
    Combo->setObjectName(QString::fromLatin1(Name));
    Combo->setEditable(Editable);
    Combo->setGeometry(X, Y, 150, 24);
    return Combo;
}

QLineEdit* AddEdit(QWidget* Parent, const char* Name, int X, int Y, int Width)
{
    auto* Edit = new QLineEdit(Parent);
    Edit->setObjectName(QString::fromLatin1(Name));
    Edit->setGeometry(X, Y, Width, 24);
    return Edit;
}

TBitBtn* AddButton(QWidget* Parent, const char* Name, const QString& Caption, int X, int Y)
{
    auto* Button = new TBitBtn(Parent);
    Button->setObjectName(QString::fromLatin1(Name));
    Button->SetCaption(Caption);
    Button->setGeometry(X, Y, 86, 30);
    return Button;
}

} // namespace

TFormGetPay::TFormGetPay(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormGetPay"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(600, 290);
    QFont F(QStringLiteral("宋体"));
    F.setPixelSize(12);
    setFont(F);
    BuildControls();

    frDBDataSet1 = new TfrDBDataSet(this);
    frDBDataSet1->SetName(QStringLiteral("frDBDataSet1"));
    frReport1 = new TfrReport(this);
    frReport1->SetName(QStringLiteral("frReport1"));
    frReport1->SetDataset(frDBDataSet1);
    frReport1->SetInitialZoom(pzDefault);
    frReport1->SetPreviewButtons(pbZoom | pbLoad | pbSave | pbPrint | pbFind | pbHelp | pbExit);
    frReport1->SetRebuildPrinter(false);
    frReport1->OnGetValue = [this](const QString& ParName, Variant& ParValue) {
        frReport1GetValue(ParName, ParValue);
    };

    OnShow = [this](QObject* Sender) { FormShow(Sender); };
}

void TFormGetPay::BuildControls()
{
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(12, 12, 128, 216);
    Image1->setAlignment(Qt::AlignCenter);

    const int L1 = 156, C1 = 222, L2 = 384, C2 = 440;
    AddLabel(this, QStringLiteral("单据编号"), L1, 16);
    Edit4 = AddEdit(this, "Edit4", C1, 16, 150);
    AddLabel(this, QStringLiteral("帐户名称"), L2, 16);
    ComboBox1 = AddCombo(this, "ComboBox1", false, C2, 16);

    AddLabel(this, QStringLiteral("录入时间"), L1, 52);
    DateTimePicker1 = new QDateEdit(this);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DateTimePicker1->setGeometry(C1, 52, 150, 24);
    AddLabel(this, QStringLiteral("客户名称"), L2, 52);
    ComboBox5 = AddCombo(this, "ComboBox5", true, C2, 52);

    AddLabel(this, QStringLiteral("金额"), L1, 88);
    // Amounts carry up to four decimals; only numbers can be typed.
    Edit2 = new TDBNumberEditEh(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->SetAutoSize(false);
    Edit2->setGeometry(C1, 88, 150, 24);
    Edit2->SetAlignment(taRightJustify);
    Edit2->SetDecimalPlaces(4);
    Edit2->EditButton()->SetVisible(true);
    AddLabel(this, QStringLiteral("业务种类"), L2, 88);
    ComboBox2 = AddCombo(this, "ComboBox2", false, C2, 88);

    AddLabel(this, QStringLiteral("款项类别"), L1, 124);
    ComboBox3 = AddCombo(this, "ComboBox3", false, C1, 124);
    AddLabel(this, QStringLiteral("凭证"), L2, 124);
    ComboBox4 = AddCombo(this, "ComboBox4", false, C2, 124);

    AddLabel(this, QStringLiteral("业务员"), L1, 160);
    Edit5 = AddEdit(this, "Edit5", C1, 160, 150);
    Edit5->setReadOnly(true);
    Edit5->setStyleSheet(QStringLiteral("background-color: #d4d0c8;"));

    AddLabel(this, QStringLiteral("备注"), L1, 196);
    Edit3 = AddEdit(this, "Edit3", C1, 196, 368);

    ActionPrint = new QAction(QStringLiteral("打印"), this);
    ActionPrint->setObjectName(QStringLiteral("ActionPrint"));
    QObject::connect(ActionPrint, &QAction::triggered, this, [this] { ActionPrintExecute(ActionPrint); });

    PrintButton = AddButton(this, "PrintButton", QStringLiteral("打印"), 156, 244);
    PrintButton->OnClick = [this](QObject*) { ActionPrint->trigger(); };
    BitBtn3 = AddButton(this, "BitBtn3", QStringLiteral("删除"), 254, 244);
    BitBtn3->OnClick = [this](QObject* Sender) { BitBtn3Click(Sender); };
    BitBtn1 = AddButton(this, "BitBtn1", QStringLiteral("确定"), 400, 244);
    BitBtn1->SetDefault(true);
    BitBtn1->OnClick = [this](QObject* Sender) { BitBtn1Click(Sender); };
    BitBtn2 = AddButton(this, "BitBtn2", QStringLiteral("取消"), 498, 244);
    BitBtn2->SetKind(bkCancel);
    BitBtn2->SetCaption(QStringLiteral("取消"));
}

// ---------------------------------------------------------------- showing

void TFormGetPay::FormShow(QObject*)
{
    const bool New = Mode == QStringLiteral("新增");
    SetCaption(Kind);
    const QString Picture = QStringLiteral("Res/") + QString::fromUtf16(New ? u"New" : u"Edit")
                            + QString::fromUtf16(IsReceipt() ? u"Get" : u"Pay") + QStringLiteral(".bmp");
    const QPixmap Pixmap(AppPath + Picture);
    if (Pixmap.isNull())
        Image1->clear();
    else
        Image1->setPixmap(Pixmap);

    LoadLists();
    ComboBox5->setEnabled(!CustomerFixed);
    CapitalAmount.clear();
    FShown.Clear();
    if (New)
        ShowNew();
    else
        ShowExisting();
    SetActiveControl(Edit2);
}

void TFormGetPay::LoadLists()
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    const QString Parameter = QStringLiteral("Select * From Parameter Where ParameterType = ");
    // Each account keeps its index: the account picked is stored by it.
    LoadCombo(ComboBox1, Q, QStringLiteral("Select * From Account Where (AccountIndex > 1)") + AccountFilter, false,
              QStringLiteral("AccountName"), QStringLiteral("AccountIndex"));
    LoadCombo(ComboBox2, Q, Parameter + u'1', false, QStringLiteral("ParameterValue"));
    LoadCombo(ComboBox3, Q, Parameter + u'2', false, QStringLiteral("ParameterValue"));
    LoadCombo(ComboBox4, Q, Parameter + u'3', false, QStringLiteral("ParameterValue"));
    LoadCombo(ComboBox5, Q, QStringLiteral("Select * From Customer Where (CustomerIndex > 1)") + CustomerFilter, false,
              QStringLiteral("CustomerName"));
    FCustomer = TCustomerChoice::Listed(ComboBox5);
}

void TFormGetPay::ShowExisting()
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    const QString SQL = QStringLiteral("Select * From Account,MoneyTable Where (AccountIndex = MoneyAccount) "
                                       "And (MoneyIndex = %1)").arg(MoneyIndex);
    BitBtn3->show();
    PrintButton->show();
    FMoney = {};
    // Without the row the boxes would still hold the last record shown, and
    // OK would write that over this one: the window closes instead.
    if (!OpenSQL(Q, SQL, QStringLiteral("帐款读入失败")) || Q->IsEmpty()) {
        ShowMessage(QStringLiteral("找不到要修改的记录"));
        Close();
        return;
    }
    FMoney = TRowImage::Of(Q, QStringLiteral("Money"));
    // The account, the choices and the amount stay as stored unless the user
    // changes them: an account the session does not list, a choice renamed
    // since and an amount of more decimals than shown are all written back.
    FShown.ShowChoice(ComboBox1, Q->FieldByName(QStringLiteral("AccountName"))->AsString(),
                      Variant(Q->FieldByName(QStringLiteral("MoneyAccount"))->AsInteger()));
    DateTimePicker1->setDate(DateTimeToQDate(Q->FieldByName(QStringLiteral("MoneyCreateTime"))->AsDateTime()));
    FShown.ShowChoice(ComboBox2, Q->FieldByName(QStringLiteral("MoneyReason"))->AsString());
    FShown.ShowAmount(Edit2, std::abs(Q->FieldByName(QStringLiteral("MoneySum"))->AsFloat()));
    FShown.ShowChoice(ComboBox3, Q->FieldByName(QStringLiteral("MoneyType"))->AsString());
    FShown.ShowChoice(ComboBox4, Q->FieldByName(QStringLiteral("MoneyToken"))->AsString());
    ComboBox5->setEditText(Q->FieldByName(QStringLiteral("MoneyUser"))->AsString());
    Edit3->setText(Q->FieldByName(QStringLiteral("MoneyRemark"))->AsString());
    Edit4->setText(Q->FieldByName(QStringLiteral("MoneySerial"))->AsString());
    Edit5->setText(Q->FieldByName(QStringLiteral("MoneyMan"))->AsString());
}

void TFormGetPay::ShowNew()
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    DateTimePicker1->setDate(DateTimeToQDate(FormMain ? FormMain->WorkingDay() : Date()));
    ComboBox5->setEditText(CustomerFixed ? QString() : CustomerName);
    Edit2->SetText(AmountText);
    Edit3->setText(RemarkText);
    Edit4->clear();
    Edit5->setText(CurrentUser);
    BitBtn3->hide();
    PrintButton->hide();
    for (QComboBox* Combo : {ComboBox1, ComboBox2, ComboBox3, ComboBox4})
        if (Combo->count() > 0)
            Combo->setCurrentIndex(0);
    if (CustomerIndex != 0
        && OpenSQL(Q, QStringLiteral("Select * From Customer Where CustomerIndex = %1").arg(CustomerIndex),
                   QStringLiteral("客户数据读入失败"))
        && !Q->IsEmpty()) {
        // A customer outside the session's list is still the one the caller named.
        FCustomer.Index = CustomerIndex;
        FCustomer.Name = Q->FieldByName(QStringLiteral("CustomerName"))->AsString();
        ComboBox5->setEditText(FCustomer.Name);
        SelectComboText(ComboBox5, FCustomer.Name);
    }
    if (!Reason.isEmpty())
        SelectComboText(ComboBox2, Reason);
    FBill = {};
    if (BillIndex != 0 && OpenSQL(Q, BillSQL(), OpenError))
        FBill = TRowImage::Of(Q, QStringLiteral("Bill"));
    FProposal = {};
    if (OpenSQL(Q, QStringLiteral("Select * From Setting Where SettingIndex = %1").arg(SettingIndex()), OpenError)
        && !Q->IsEmpty()) {
        const QString Counter = Q->FieldByName(QStringLiteral("SettingValue"))->AsString();
        FProposal = {Counter, ShareDataModule->NextSerial(Counter)};
        Edit4->setText(FProposal.Serial);
    }
}

// ---------------------------------------------------------------- saving

bool TFormGetPay::Refuse(const QString& Message, QWidget* Focus)
{
    ShowMessage(Message);
    if (Focus)
        SetActiveControl(Focus);
    return false;
}

bool TFormGetPay::CheckInput(int& AccountIndex)
{
    if (ComboBox1->currentIndex() < 0)
        return Refuse(QStringLiteral("请选择一个帐户"), ComboBox1);
    if (ComboBox2->currentIndex() < 0)
        return Refuse(QStringLiteral("请选择帐款项目"), ComboBox2);
    if (const QString Error = AmountError(Edit2->text()); !Error.isEmpty())
        return Refuse(Error, Edit2);
    if (ComboBox3->currentIndex() < 0)
        return Refuse(QStringLiteral("请选择帐款类别"), ComboBox3);
    if (ComboBox4->currentIndex() < 0)
        return Refuse(QStringLiteral("请选择帐款凭证"), ComboBox4);
    // The stored account while the box shows it; else the one picked, by the
    // index the list offered it with, while it still carries the name shown.
    AccountIndex = static_cast<int>(FShown.Value(ComboBox1, Variant(ComboBox1->currentData().toInt())).AsInteger());
    if (!FShown.Unchanged(ComboBox1)) {
        TADOQuery* Q = ShareDataModule->ADOQueryTemp;
        if (!OpenSQL(Q, AccountSQL(AccountIndex), OpenError))
            return false;
        if (Q->IsEmpty() || Q->FieldByName(QStringLiteral("AccountName"))->AsString() != ComboBox1->currentText())
            return Refuse(QStringLiteral("找不到所需要的帐户"), nullptr);
    }
    if (ComboBox5->currentText().isEmpty())
        return Refuse(QStringLiteral("请选择客户名称"), ComboBox5->isEnabled() ? ComboBox5 : nullptr);
    if (!ShareDataModule->SerialFormatOK(Edit4->text()))
        return Refuse(QStringLiteral("单据编号格式有误，字母不能在数字后面"), Edit4);
    return true;
}

void TFormGetPay::BitBtn1Click(QObject*)
{
    int AccountIndex = 0;
    if (!CheckInput(AccountIndex))
        return;
    if (Mode == QStringLiteral("新增"))
        SaveNew(AccountIndex);
    else
        SaveEdit(AccountIndex);
}

// The columns a save writes in both modes; the amount goes in with its sign.
void TFormGetPay::WriteColumns(TADOQuery* Q, int AccountIndex, const QString& Serial) const
{
    const bool Receipt = IsReceipt();
    const double Amount = FShown.Amount(Edit2, StrToFloat(Edit2->text()));
    Q->FieldByName(QStringLiteral("MoneyAccount"))->SetAsInteger(AccountIndex);
    Q->FieldByName(QStringLiteral("MoneyCreateTime"))->SetAsDateTime(QDateToDateTime(DateTimePicker1->date()));
    Q->FieldByName(QStringLiteral("MoneyUser"))->SetAsString(ComboBox5->currentText());
    Q->FieldByName(QStringLiteral("MoneyReason"))->SetAsString(FShown.Text(ComboBox2));
    Q->FieldByName(QStringLiteral("MoneyIn"))->SetAsFloat(Receipt ? Amount : 0.0);
    Q->FieldByName(QStringLiteral("MoneyOut"))->SetAsFloat(Receipt ? 0.0 : Amount);
    Q->FieldByName(QStringLiteral("MoneySum"))->SetAsFloat(Receipt ? Amount : -Amount);
    Q->FieldByName(QStringLiteral("MoneyType"))->SetAsString(FShown.Text(ComboBox3));
    Q->FieldByName(QStringLiteral("MoneyToken"))->SetAsString(FShown.Text(ComboBox4));
    Q->FieldByName(QStringLiteral("MoneyRemark"))->SetAsString(Edit3->text());
    Q->FieldByName(QStringLiteral("MoneySerial"))->SetAsString(Serial);
    Q->FieldByName(QStringLiteral("MoneyMan"))->SetAsString(Edit5->text());
}

// Inside the save's transaction: the account picked and the customer as
// checked before, which another copy of the program may have renamed or
// removed since. A stored account left as shown is the row's own.
void TFormGetPay::CheckNames(TADOQuery* Q, int AccountIndex)
{
    if (!FShown.Unchanged(ComboBox1)) {
        OpenOrRaise(Q, AccountSQL(AccountIndex));
        if (Q->IsEmpty() || Q->FieldByName(QStringLiteral("AccountName"))->AsString() != ComboBox1->currentText())
            throw ESaveRefused(QStringLiteral("找不到所需要的帐户"));
    }
    CheckCustomerName(ComboBox5->currentText(), FCustomer);
}

void TFormGetPay::SaveNew(int AccountIndex)
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    TSerialProposal Proposal = FProposal;
    const QString Shown = Edit4->text();
    QString Serial;
    const bool Saved = RunInTransaction([&] {
        CheckNames(Q, AccountIndex);
        // The document it settles must still be the one the caller named.
        if (BillIndex != 0)
            OpenSameRow(Q, BillSQL(), FBill, RecordChanged);
        Serial = ShareDataModule->ClaimSerial(Q, SettingIndex(), Edit4->text(), Proposal, true);
        OpenOrRaise(Q, QStringLiteral("Select * From MoneyTable"));
        Q->Append();
        WriteColumns(Q, AccountIndex, Serial);
        Q->FieldByName(QStringLiteral("MoneyBill"))->SetAsInteger(BillIndex);
        Q->FieldByName(QStringLiteral("MoneyRecordTime"))->SetAsDateTime(Date());
        Q->Post();
    });
    if (!Saved)
        return;
    FProposal = Proposal;
    Edit4->setText(Serial);
    ShowMessage(QStringLiteral("记录新增成功"));
    ShareDataModule->TellStoredSerial(Shown, Serial);
    SetModalResult(mrOk);
}

void TFormGetPay::SaveEdit(int AccountIndex)
{
    if (!ShareDataModule->CheckEditPassword(QStringLiteral("修改密码"), QStringLiteral("请输入资料修改密码"), QString()))
        return;
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    const bool Saved = RunInTransaction([&] {
        CheckNames(Q, AccountIndex);
        OpenSameRow(Q, MoneySQL(), FMoney, QStringLiteral("找不到要修改的记录"));
        Q->Edit();
        WriteColumns(Q, AccountIndex, Edit4->text());
        Q->Post();
    });
    if (!Saved)
        return;
    ShowMessage(QStringLiteral("记录修改成功"));
    SetModalResult(mrOk);
}

// ---------------------------------------------------------------- delete and print

void TFormGetPay::BitBtn3Click(QObject*)
{
    if (!ShareDataModule->CheckEditPassword(QStringLiteral("修改密码"), QStringLiteral("请输入资料修改密码"), QString()))
        return;
    if (DeleteRecord(MoneySQL(), OpenError, FMoney))
        SetModalResult(mrOk);
}

QString TFormGetPay::AmountInCapitals(double Amount)
{
    // The figures printed beside the capitals are the same two-decimal rounding.
    QString Text = FormatFloat(QStringLiteral("0.00"), std::abs(Amount));
    if (Text.indexOf(u'.') > 7)
        return QString();
    Text.remove(u'.');
    return AmountToCapital(Text);
}

void TFormGetPay::ActionPrintExecute(QObject*)
{
    if (Mode != QStringLiteral("修改"))
        return;
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    const QString SQL = QStringLiteral("Select ABS(MoneySum) As MSum,* From MoneyTable Where MoneyIndex = %1").arg(MoneyIndex);
    if (!OpenSQL(Q, SQL, OpenError))
        return;
    if (Q->IsEmpty()) {
        ShowMessage(QStringLiteral("找不到要打印的记录"));
        return;
    }
    // The stored amount is what the report prints, so the capitals follow it,
    // not an unsaved change in the amount box.
    CapitalAmount = AmountInCapitals(Q->FieldByName(QStringLiteral("MSum"))->AsFloat());
    if (CapitalAmount.isEmpty()) {
        ShowMessage(QStringLiteral("金额达到一千万元，无法打印大写金额"));
        return;
    }
    frDBDataSet1->SetDataSet(Q);
    if (!LoadReportTemplate(frReport1, AppPath + QStringLiteral("Frf/Money.frf")))
        return;
    if (frReport1->PrepareReport())
        frReport1->ShowReport();
}

void TFormGetPay::frReport1GetValue(const QString& ParName, Variant& ParValue)
{
    if (ParName == QStringLiteral("MoneyCN"))
        ParValue = Variant(CapitalAmount);
}
