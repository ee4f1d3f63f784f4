#include "app/BuySellForm.h"

#include "app/GetPayForm.h"
#include "app/ListGrid.h"
#include "app/MainForm.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "grid/DBGridEh.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Buttons.h"
#include "platform/rtl/SysUtils.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_DBSet.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

TFormBuySell* FormBuySell = nullptr;

namespace {

const QString OpenError = QStringLiteral("数据库打开失败");
const QString SerialError = QStringLiteral("单据编号格式有误，字母不能在数字后面");

QLabel* AddLabel(QWidget* Parent, const QString& Caption, int X, int Y)
{
    auto* Label = new QLabel(Caption, Parent);
    Label->setGeometry(X, Y + 3, 70, 16);
    return Label;
}

template <class T> T* Named(T* Widget, const char* Name, const QRect& Bounds)
{
    Widget->setObjectName(QString::fromLatin1(Name));
    Widget->setGeometry(Bounds);
    return Widget;
}

int SettingIndex(bool Sale)
{
    return Sale ? 1 : 2;
}

QString BillSQL(int Index)
{
    return QStringLiteral("Select * From Bill Where BillIndex = %1").arg(Index);
}

} // namespace

TFormBuySell::TFormBuySell(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormBuySell"));
    SetCaption(QStringLiteral("业务单据"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    Font()->SetName(QStringLiteral("宋体"));
    Font()->SetHeight(-12);
    SetClientSize(560, 470);
    BuildControls();
    BuildGrid();
    BindHandlers();
}

void TFormBuySell::BuildControls()
{
    Image1 = Named(new QLabel(this), "Image1", QRect(16, 8, 64, 64));
    Image1->setAlignment(Qt::AlignCenter);
    AddLabel(this, QStringLiteral("开单日期"), 16, 82);
    DateTimePicker1 = Named(new QDateEdit(this), "DateTimePicker1", QRect(86, 82, 170, 22));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    AddLabel(this, QStringLiteral("单据编号"), 290, 82);
    Edit1 = Named(new QLineEdit(this), "Edit1", QRect(360, 82, 180, 22));
    AddLabel(this, QStringLiteral("客户名称"), 16, 112);
    ComboBox5 = Named(new QComboBox(this), "ComboBox5", QRect(86, 112, 454, 22));
    ComboBox5->setEditable(true);
    AddLabel(this, QStringLiteral("单据金额"), 16, 142);
    Edit2 = Named(new QLineEdit(this), "Edit2", QRect(86, 142, 170, 22));
    AddLabel(this, QStringLiteral("业务种类"), 290, 142);
    ComboBox2 = Named(new QComboBox(this), "ComboBox2", QRect(360, 142, 180, 22));
    AddLabel(this, QStringLiteral("业务进度"), 16, 172);
    ComboBox3 = Named(new QComboBox(this), "ComboBox3", QRect(86, 172, 170, 22));
    AddLabel(this, QStringLiteral("业 务 员"), 290, 172);
    Edit4 = Named(new QLineEdit(this), "Edit4", QRect(360, 172, 180, 22));
    Edit4->setReadOnly(true);
    QPalette Grey = Edit4->palette();
    Grey.setColor(QPalette::Base, QColor(0xE0, 0xE0, 0xE0));
    Edit4->setPalette(Grey);
    AddLabel(this, QStringLiteral("单据备注"), 16, 202);
    Edit3 = Named(new QLineEdit(this), "Edit3", QRect(86, 202, 454, 22));

    Button1 = Named(new TButton(this), "Button1", QRect(16, 236, 60, 24));
    Button1->SetCaption(QStringLiteral("新增"));
    Button2 = Named(new TButton(this), "Button2", QRect(82, 236, 60, 24));
    Button2->SetCaption(QStringLiteral("修改"));
    Button3 = Named(new TButton(this), "Button3", QRect(148, 236, 60, 24));
    Button3->SetCaption(QStringLiteral("删除"));
    auto* MoneyLabel = new QLabel(QStringLiteral("财务单据"), this);
    MoneyLabel->setGeometry(480, 240, 70, 16);

    SpeedButton4 = Named(new TSpeedButton(this), "SpeedButton4", QRect(16, 430, 80, 28));
    SpeedButton4->SetCaption(QStringLiteral("修改"));
    SpeedButton1 = Named(new TSpeedButton(this), "SpeedButton1", QRect(102, 430, 80, 28));
    SpeedButton1->SetCaption(QStringLiteral("打印"));
    BitBtn3 = Named(new TBitBtn(this), "BitBtn3", QRect(280, 430, 80, 28));
    BitBtn3->SetCaption(QStringLiteral("删除"));
    BitBtn1 = Named(new TBitBtn(this), "BitBtn1", QRect(370, 430, 80, 28));
    BitBtn1->SetCaption(QStringLiteral("确定"));
    BitBtn2 = Named(new TBitBtn(this), "BitBtn2", QRect(460, 430, 80, 28));
    BitBtn2->SetKind(bkCancel);
    BitBtn2->SetCaption(QStringLiteral("取消"));

    ActionEdit = new QAction(QStringLiteral("修改"), this);
    ActionEdit->setObjectName(QStringLiteral("ActionEdit"));
    ActionPrint = new QAction(QStringLiteral("打印"), this);
    ActionPrint->setObjectName(QStringLiteral("ActionPrint"));
}

void TFormBuySell::BuildGrid()
{
    ADOQuery1 = new TADOQuery(this);
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    ADOQuery2 = new TADOQuery(this);
    ADOQuery2->setObjectName(QStringLiteral("ADOQuery2"));
    DataSource1 = new TDataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->SetDataSet(ADOQuery2);

    DBGridEh1 = NewListGrid(this, "DBGridEh1", QRect(16, 264, 528, 156), DataSource1,
                            {{"MoneyCreateTime", "开单时间", 80}, {"MoneySerial", "单据编号", 80},
                             {"AccountName", "帐户名称", 110}, {"MoneyIn", "收入", 70}, {"MoneyOut", "支出", 70},
                             {"MoneySum", "合计", 75}},
                            true, TListCells::Centred);

    frDBDataSet1 = new TfrDBDataSet(this);
    frDBDataSet1->SetName(QStringLiteral("frDBDataSet1"));
    frDBDataSet1->SetDataSet(ADOQuery2);
    frDBDataSet2 = new TfrDBDataSet(this);
    frDBDataSet2->SetName(QStringLiteral("frDBDataSet2"));
    frDBDataSet2->SetDataSet(ADOQuery1);
    frReport1 = new TfrReport(this);
    frReport1->SetName(QStringLiteral("frReport1"));
    frReport1->SetDataset(frDBDataSet1);
    frReport1->SetInitialZoom(pzDefault);
    frReport1->SetPreviewButtons(pbZoom | pbPrint | pbFind | pbExit);
    frReport1->SetRebuildPrinter(false);
}

void TFormBuySell::BindHandlers()
{
    OnShow = [this](QObject* Sender) { FormShow(Sender); };
    OnClose = [this](QObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
    QObject::connect(ActionEdit, &QAction::triggered, this, [this] { ActionEditExecute(ActionEdit); });
    QObject::connect(ActionPrint, &QAction::triggered, this, [this] { ActionPrintExecute(ActionPrint); });
    SpeedButton4->OnClick = [this](QObject*) { ActionEdit->trigger(); };
    SpeedButton1->OnClick = [this](QObject*) { ActionPrint->trigger(); };
    BitBtn1->OnClick = [this](QObject* Sender) { BitBtn1Click(Sender); };
    BitBtn3->OnClick = [this](QObject* Sender) { BitBtn3Click(Sender); };
    Button1->OnClick = [this](QObject* Sender) { Button1Click(Sender); };
    Button2->OnClick = [this](QObject* Sender) { Button2Click(Sender); };
    Button3->OnClick = [this](QObject* Sender) { Button3Click(Sender); };
    DBGridEh1->OnDblClick = [this](QObject* Sender) { Button2Click(Sender); };
}

// ---------------------------------------------------------------- showing

void TFormBuySell::FormShow(QObject*)
{
    FCancelRefused = false;
    ADOQuery1->SetConnection(ShareDataModule->ADOConnection1);
    ADOQuery2->SetConnection(ShareDataModule->ADOConnection1);
    LoadPicture();
    LoadLists();
    FShown.Clear();
    ComboBox5->setEnabled(!CustomerFixed);
    if (IsNew())
        ShowNew();
    else
        ShowExisting();
    SetActiveControl(Edit2);
}

void TFormBuySell::LoadPicture()
{
    const QString Name = (IsSale() ? QStringLiteral("Sell") : QStringLiteral("Buy"));
    QPixmap Picture(AppPath + QStringLiteral("Res/") + (IsNew() ? QStringLiteral("New") : QStringLiteral("Edit")) + Name
                    + QStringLiteral(".bmp"));
    Image1->setPixmap(Picture);
    SetCaption(Kind);
}

void TFormBuySell::LoadLists()
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    const QString Value = QStringLiteral("ParameterValue");
    LoadCombo(ComboBox2, Q, QStringLiteral("Select * From Parameter Where ParameterType = 1"), false, Value);
    LoadCombo(ComboBox3, Q, QStringLiteral("Select * From Parameter Where ParameterType = 4"), false, Value);
    LoadCombo(ComboBox5, Q, QStringLiteral("Select * From Customer Where (CustomerIndex > 1)") + CustomerFilter, false,
              QStringLiteral("CustomerName"));
    FCustomer = TCustomerChoice::Listed(ComboBox5);
}

void TFormBuySell::ShowExisting()
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    const bool Opened = OpenSQL(Q, BillSQL(BillIndex), QStringLiteral("数据读入失败"));
    if (!Opened || Q->IsEmpty()) {
        ShowMessage(QStringLiteral("找不到要修改的记录"));
        SetEditButtons(false);
        Close();
        return;
    }
    FBill = TRowImage::Of(Q, QStringLiteral("Bill"));
    const QString User = Q->FieldByName(QStringLiteral("BillUser"))->AsString();
    TADOQuery* Q2 = ShareDataModule->ADOQueryTemp2;
    CustomerIndex = 0;
    if (OpenSQL(Q2, QStringLiteral("Select * From Customer Where CustomerName = ") + SqlQuoted(User), OpenError)
        && !Q2->IsEmpty())
        CustomerIndex = Q2->FieldByName(QStringLiteral("CustomerIndex"))->AsInteger();
    DateTimePicker1->setDate(DateTimeToQDate(Q->FieldByName(QStringLiteral("BillCreateTime"))->AsDateTime()));
    Edit1->setText(Q->FieldByName(QStringLiteral("BillSerial"))->AsString());
    // A choice renamed since and an amount of more decimals than shown are
    // written back as stored unless the user changes them.
    FShown.ShowChoice(ComboBox2, Q->FieldByName(QStringLiteral("BillReason"))->AsString());
    FShown.ShowChoice(ComboBox3, Q->FieldByName(QStringLiteral("BillState"))->AsString());
    ComboBox5->setEditText(User);
    FShown.ShowAmount(Edit2, std::abs(Q->FieldByName(QStringLiteral("BillSum"))->AsFloat()));
    Edit3->setText(Q->FieldByName(QStringLiteral("BillRemark"))->AsString());
    Edit4->setText(Q->FieldByName(QStringLiteral("BillMan"))->AsString());
    RefreshMoneyGrid();
    SetEditButtons(false);
}

void TFormBuySell::ShowNew()
{
    BillIndex = 1;
    DateTimePicker1->setDate(DateTimeToQDate(FormMain ? FormMain->WorkingDay() : Date()));
    if (!CustomerFixed)
        ComboBox5->setEditText(QString());
    Edit2->clear();
    Edit3->clear();
    Edit4->setText(CurrentUser);
    SetEditButtons(true);
    BitBtn3->setVisible(false);
    SpeedButton4->setVisible(false);
    SpeedButton1->setVisible(false);
    Edit1->clear();
    FProposal = {};
    FBill = {};
    FStoredBill = {};
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    if (OpenSQL(Q, QStringLiteral("Select * From Setting Where SettingIndex = %1").arg(SettingIndex(IsSale())), OpenError)
        && !Q->IsEmpty()) {
        const QString Counter = Q->FieldByName(QStringLiteral("SettingValue"))->AsString();
        FProposal = {Counter, ShareDataModule->NextSerial(Counter)};
        Edit1->setText(FProposal.Serial);
    }
    for (QComboBox* Combo : {ComboBox2, ComboBox3})
        if (Combo->count() > 0)
            Combo->setCurrentIndex(0);
    if (CustomerIndex != 0
        && OpenSQL(Q, QStringLiteral("Select * From Customer Where CustomerIndex = %1").arg(CustomerIndex),
                   QStringLiteral("客户数据读入失败"))
        && !Q->IsEmpty()) {
        FCustomer.Index = CustomerIndex;
        FCustomer.Name = Q->FieldByName(QStringLiteral("CustomerName"))->AsString();
        SelectComboText(ComboBox5, FCustomer.Name);
    }
    RefreshMoneyGrid();
}

// Editing shows the money buttons and OK; an existing document shows its
// unlock and print buttons until it is unlocked.
void TFormBuySell::SetEditButtons(bool Editing)
{
    for (QWidget* W : {static_cast<QWidget*>(Button1), static_cast<QWidget*>(Button2),
                       static_cast<QWidget*>(Button3), static_cast<QWidget*>(BitBtn1)})
        W->setVisible(Editing);
    BitBtn3->setVisible(Editing && !IsNew());
    SpeedButton4->setVisible(!IsNew());
    SpeedButton1->setVisible(!IsNew());
}

void TFormBuySell::RefreshMoneyGrid()
{
    // Whole rows: a delete from the list goes only while the row is as read.
    const QString SQL =
        QStringLiteral("Select * From Account,MoneyTable Where (AccountIndex = MoneyAccount) And (MoneyBill = %1)")
            .arg(BillIndex);
    const bool Opened = OpenSQL(ADOQuery2, SQL, OpenError);
    KeepMoneyRows();
    if (!Opened)
        return;
    // The footers follow the list even when it becomes empty, so a deleted
    // last row does not leave its count and sums behind.
    TColumnFooterEh* Count = DBGridEh1->Columns(0)->Footer();
    Count->SetValueType(fvtStaticText);
    Count->SetValue(QStringLiteral("%1条").arg(ADOQuery2->IsEmpty() ? 0 : ADOQuery2->RecordCount()));
    static const char* const Sums[] = {"MoneyIn", "MoneyOut", "MoneySum"};
    for (int I = 0; I < 3; ++I) {
        TColumnFooterEh* Footer = DBGridEh1->Columns(3 + I)->Footer();
        Footer->SetFieldName(QString::fromLatin1(Sums[I]));
        Footer->SetValueType(fvtSum);
    }
    for (int Col : {0, 3, 4, 5}) {
        DBGridEh1->Columns(Col)->Footer()->SetAlignment(taCenter);
        DBGridEh1->Columns(Col)->Footer()->Font()->SetColor(clBlue);
    }
    DBGridEh1->SumList()->RecalcAll();
}

// ---------------------------------------------------------------- unlock and save

void TFormBuySell::ActionEditExecute(QObject*)
{
    if (!ShareDataModule->CheckEditPassword(QStringLiteral("修改密码"), QStringLiteral("请输入资料修改密码"), QString()))
        return;
    EditUnlocked = true;
    for (QWidget* W : {static_cast<QWidget*>(Button1), static_cast<QWidget*>(Button2), static_cast<QWidget*>(Button3),
                       static_cast<QWidget*>(BitBtn1), static_cast<QWidget*>(BitBtn3)})
        W->setVisible(true);
}

bool TFormBuySell::Refuse(const QString& Message, QWidget* Focus)
{
    ShowMessage(Message);
    if (Focus)
        SetActiveControl(Focus);
    return false;
}

// The amount is held to the same rules as a receipt's, so that text which is
// no number is refused instead of being stored as 0.
bool TFormBuySell::CheckAmount()
{
    if (const QString Error = AmountError(Edit2->text()); !Error.isEmpty())
        return Refuse(Error, Edit2);
    return true;
}

bool TFormBuySell::CheckInput()
{
    if (!ShareDataModule->SerialFormatOK(Edit1->text()))
        return Refuse(SerialError, Edit1);
    if (ComboBox5->currentText().isEmpty())
        return Refuse(QStringLiteral("请选择客户名称"), ComboBox5->isEnabled() ? ComboBox5 : nullptr);
    if (ComboBox2->currentText().isEmpty())
        return Refuse(QStringLiteral("请选择收支种类"), ComboBox2);
    if (ComboBox3->currentText().isEmpty())
        return Refuse(QStringLiteral("请选择业务进度"), ComboBox3);
    return CheckAmount();
}

void TFormBuySell::WriteBill(TADOQuery* Q, bool KeepMan, const QString& Serial)
{
    const double Amount = FShown.Amount(Edit2, StrToFloatZero(Edit2->text()));
    Q->FieldByName(QStringLiteral("BillRecordTime"))->SetAsDateTime(Date());
    Q->FieldByName(QStringLiteral("BillCreateTime"))->SetAsDateTime(QDateToDateTime(DateTimePicker1->date()));
    Q->FieldByName(QStringLiteral("BillSerial"))->SetAsString(Serial);
    Q->FieldByName(QStringLiteral("BillUser"))->SetAsString(ComboBox5->currentText());
    Q->FieldByName(QStringLiteral("BillSum"))->SetAsFloat(IsSale() ? Amount : -Amount);
    Q->FieldByName(QStringLiteral("BillReason"))->SetAsString(FShown.Text(ComboBox2));
    Q->FieldByName(QStringLiteral("BillState"))->SetAsString(FShown.Text(ComboBox3));
    Q->FieldByName(QStringLiteral("BillRemark"))->SetAsString(Edit3->text());
    // An edit keeps the salesman the document belongs to.
    if (!KeepMan)
        Q->FieldByName(QStringLiteral("BillMan"))->SetAsString(CurrentUser);
}

QString TFormBuySell::ClaimSerial(TSerialProposal& Proposal)
{
    return ShareDataModule->ClaimSerial(ShareDataModule->ADOQueryTemp, SettingIndex(IsSale()), Edit1->text(), Proposal,
                                        BillIndex == 1);
}

// Taken over only once the save has committed: the index of a rolled-back row
// goes to the next document stored, perhaps another copy's.
void TFormBuySell::KeepStored(int Index, const QString& Serial, const TSerialProposal& Proposal,
                              const TRowImage& Stored, const TStoredRow& Removable)
{
    BillIndex = Index;
    FProposal = Proposal;
    FBill = Stored;
    FStoredBill = Removable;
    Edit1->setText(Serial);
}

void TFormBuySell::BitBtn1Click(QObject*)
{
    if (!CheckInput())
        return;
    if (IsNew())
        SaveNew();
    else
        SaveEdit();
}

void TFormBuySell::SaveNew()
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    TSerialProposal Proposal = FProposal;
    const QString Shown = Edit1->text();
    QString Serial;
    int Index = BillIndex;
    const bool Saved = RunInTransaction([&] {
        CheckCustomerName(ComboBox5->currentText(), FCustomer);
        // The row stored for the first receipt is written only while it is
        // still the document stored then.
        if (BillIndex != 1)
            OpenSameRow(Q, BillSQL(BillIndex), FBill, RecordChanged);
        Serial = ClaimSerial(Proposal);
        if (BillIndex == 1) {
            OpenOrRaise(Q, QStringLiteral("Select * From Bill"));
            Q->Append();
            Q->FieldByName(QStringLiteral("BillKind"))->SetAsString(Kind);
        } else {
            OpenOrRaise(Q, BillSQL(BillIndex));
            Q->Edit();
        }
        WriteBill(Q, false, Serial);
        Q->Post();
        Index = Q->FieldByName(QStringLiteral("BillIndex"))->AsInteger();
    });
    if (!Saved)
        return;
    KeepStored(Index, Serial, Proposal, FBill, FStoredBill);
    ShowMessage(QStringLiteral("单据新增成功"));
    ShareDataModule->TellStoredSerial(Shown, Serial);
    SetModalResult(mrOk);
}

void TFormBuySell::SaveEdit()
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    const bool Saved = RunInTransaction([&] {
        CheckCustomerName(ComboBox5->currentText(), FCustomer);
        OpenSameRow(Q, BillSQL(BillIndex), FBill, QStringLiteral("找不到要修改的记录"));
        Q->Edit();
        WriteBill(Q, true, Edit1->text());
        Q->Post();
    });
    if (!Saved)
        return;
    ShowMessage(QStringLiteral("记录修改成功"));
    SetModalResult(mrOk);
}

void TFormBuySell::BitBtn3Click(QObject*)
{
    if (DeleteRecord(BillSQL(BillIndex), OpenError, FBill))
        SetModalResult(mrOk);
}

// ---------------------------------------------------------------- linked money rows

bool TFormBuySell::StoreNewDocument()
{
    if (!ShareDataModule->SerialFormatOK(Edit1->text()))
        return Refuse(SerialError, Edit1);
    if (!Edit2->text().isEmpty() && !CheckAmount())
        return false;
    TSerialProposal Proposal = FProposal;
    const QString Shown = Edit1->text();
    QString Serial;
    int Index = 1;
    TRowImage Stored;
    TStoredRow Removable;
    if (!RunInTransaction([&] {
            CheckCustomerName(ComboBox5->currentText(), FCustomer);
            Serial = ClaimSerial(Proposal);
            OpenOrRaise(ADOQuery1, QStringLiteral("Select * From Bill"));
            ADOQuery1->Append();
            ADOQuery1->FieldByName(QStringLiteral("BillKind"))->SetAsString(Kind);
            WriteBill(ADOQuery1, false, Serial);
            ADOQuery1->Post();
            Index = ADOQuery1->FieldByName(QStringLiteral("BillIndex"))->AsInteger();
            // As the file holds it, to know it again when OK or Cancel comes.
            OpenOrRaise(ADOQuery1, BillSQL(Index));
            Stored = TRowImage::Of(ADOQuery1, QStringLiteral("Bill"));
            Removable = TStoredRow::Of(ADOQuery1, QStringLiteral("Bill"));
        }))
        return false;
    KeepStored(Index, Serial, Proposal, Stored, Removable);
    ShareDataModule->TellStoredSerial(Shown, Serial);
    return true;
}

// A money row is stored against the document only while it is still the one
// this window read or stored.
bool TFormBuySell::DocumentUnchanged()
{
    if (!OpenSQL(ADOQuery1, BillSQL(BillIndex), OpenError))
        return false;
    if (FBill.Matches(ADOQuery1))
        return true;
    ShowMessage(RecordChanged);
    return false;
}

void TFormBuySell::Button1Click(QObject*)
{
    if (BillIndex == 1 ? !StoreNewDocument() : !DocumentUnchanged())
        return;
    FormGetPay->Mode = QStringLiteral("新增");
    FormGetPay->Kind = IsSale() ? QStringLiteral("财务收入单") : QStringLiteral("财务支出单");
    FormGetPay->BillIndex = BillIndex;
    FormGetPay->CustomerIndex = CustomerIndex;
    FormGetPay->CustomerFixed = CustomerFixed;
    FormGetPay->CustomerName = ComboBox5->currentText();
    FormGetPay->Reason = ComboBox2->currentText();
    FormGetPay->AmountText = QString();
    FormGetPay->RemarkText = Kind + QStringLiteral("：") + Edit1->text();
    if (FormGetPay->ShowModal() == mrOk)
        RefreshMoneyGrid();
}

void TFormBuySell::Button2Click(QObject*)
{
    if (Button2->isHidden() || !ADOQuery2->Active() || ADOQuery2->IsEmpty())
        return;
    TField* Index = ADOQuery2->FieldByName(QStringLiteral("MoneyIndex"));
    if (Index->IsNull())
        return;
    FormGetPay->Mode = QStringLiteral("修改");
    FormGetPay->Kind = ADOQuery2->FieldByName(QStringLiteral("MoneySum"))->AsFloat() >= 0
        ? QStringLiteral("财务收入单") : QStringLiteral("财务支出单");
    FormGetPay->MoneyIndex = Index->AsInteger();
    FormGetPay->BillIndex = BillIndex;
    FormGetPay->CustomerIndex = CustomerIndex;
    FormGetPay->CustomerFixed = CustomerFixed;
    if (FormGetPay->ShowModal() == mrOk)
        RefreshMoneyGrid();
}

void TFormBuySell::Button3Click(QObject*)
{
    if (!ADOQuery2->Active() || ADOQuery2->IsEmpty())
        return;
    TField* Index = ADOQuery2->FieldByName(QStringLiteral("MoneyIndex"));
    if (Index->IsNull())
        return;
    const QString SQL = QStringLiteral("Select * From MoneyTable Where MoneyIndex = %1").arg(Index->AsInteger());
    if (DeleteRecord(SQL, OpenError, TRowImage::Of(ADOQuery2, QStringLiteral("Money"))))
        RefreshMoneyGrid();
}

// ---------------------------------------------------------------- closing and printing

// A Cancel that cannot remove what the window stored keeps the window open,
// once, having said what stays; the user may try again, or leave and delete it.
void TFormBuySell::FormClose(QObject*, TCloseAction& Action)
{
    if (!IsNew() || ModalResult() != mrCancel || BillIndex == 1 || RemoveAbandoned())
        return;
    if (!FCancelRefused)
        Action = caNone;
    FCancelRefused = true;
}

// The money rows of a document this window stored, as it stored them or read
// them back after its receipts.
void TFormBuySell::KeepMoneyRows()
{
    FMoneyRows.clear();
    if (!IsNew() || BillIndex == 1 || !ADOQuery2->Active())
        return;
    ADOQuery2->DisableControls();
    try {
        for (ADOQuery2->First(); !ADOQuery2->Eof(); ADOQuery2->Next())
            FMoneyRows.insert(ADOQuery2->FieldByName(QStringLiteral("MoneyIndex"))->AsInteger(),
                              TStoredRow::Of(ADOQuery2, QStringLiteral("Money")));
    } catch (const std::exception&) {
        // Rows it does not know are rows its Cancel leaves.
        FMoneyRows.clear();
    }
    ADOQuery2->First();
    ADOQuery2->EnableControls();
}

// A new document stored for its first receipt and then cancelled goes with
// the money rows that settle it; the serial it used stays used. Only while
// they are still the rows this window stored, but for the names another
// copy's customer rename or salesman hand-over carried into them: under its
// index another copy may keep a document of its own, or have changed this one
// or added a receipt. Removing its own rows is no save of the session's, so
// no login check refuses it. False, having said what stays, when the document
// is still stored.
bool TFormBuySell::RemoveAbandoned()
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    TADOQuery* Q2 = ShareDataModule->ADOQueryTemp2;
    QString Stored = Edit1->text(); // the number it is stored under, as last known
    bool Gone = false;
    const bool Removed = RunInTransaction(
        [&] {
            OpenOrRaise(Q, BillSQL(BillIndex));
            Gone = Q->IsEmpty();
            if (Gone)
                throw ESaveRefused(RecordChanged);
            Stored = Q->FieldByName(QStringLiteral("BillSerial"))->AsString();
            if (!FStoredBill.Matches(Q))
                throw ESaveRefused(RecordChanged);
            OpenOrRaise(Q2, QStringLiteral("Select * From MoneyTable Where MoneyBill = %1").arg(BillIndex));
            int Count = 0;
            for (Q2->First(); !Q2->Eof(); Q2->Next(), ++Count) {
                const auto Mine = FMoneyRows.constFind(Q2->FieldByName(QStringLiteral("MoneyIndex"))->AsInteger());
                if (Mine == FMoneyRows.cend() || !Mine->Matches(Q2))
                    throw ESaveRefused(RecordChanged);
            }
            if (Count != FMoneyRows.size())
                throw ESaveRefused(RecordChanged);
            while (!Q2->IsEmpty()) {
                Q2->First();
                Q2->Delete();
            }
            Q->Delete();
        },
        TWriter::OwnRows);
    if (Removed || Gone) {
        BillIndex = 1;
        return true;
    }
    ShowMessage(Stored.isEmpty() ? QStringLiteral("单据仍然保存着，没有取消")
                                 : QStringLiteral("单据　%1　仍然保存着，没有取消").arg(Stored));
    return false;
}

void TFormBuySell::ActionPrintExecute(QObject*)
{
    const QString SQL = QStringLiteral(
        "Select BillIndex,BillCreateTime,BillSerial,BillKind,BillUser,BillSum,"
        "IIF(Round(Sum(MoneySum),2) Is Null,0,Round(Sum(MoneySum),2)) As BillGet,"
        "BillSum-IIF(Round(Sum(MoneySum),2) Is Null,0,Round(Sum(MoneySum),2)) As BillOwe,"
        "BillMan,BillReason,BillState,BillRemark From (Bill Left Join MoneyTable On Bill.BillIndex = MoneyTable.MoneyBill) "
        "Where (BillIndex = %1) Group By BillIndex,BillCreateTime,BillSerial,BillKind,BillUser,BillSum,BillMan,"
        "BillReason,BillState,BillRemark").arg(BillIndex);
    if (!OpenSQL(ADOQuery1, SQL, OpenError))
        return;
    if (ADOQuery1->IsEmpty()) {
        ShowMessage(QStringLiteral("找不到要打印的单据"));
        return;
    }
    const QString Capital = TFormGetPay::AmountInCapitals(ADOQuery1->FieldByName(QStringLiteral("BillSum"))->AsFloat());
    if (Capital.isEmpty()) {
        ShowMessage(QStringLiteral("金额达到一千万元，无法打印大写金额"));
        return;
    }
    // The template reads the capitals from this query's row as posted inside
    // the transaction, never from the table again: another copy of the
    // program printing at the same moment writes the same row.
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    const bool Written = RunInTransaction([&] {
        OpenOrRaise(Q, QStringLiteral("Select * From PrintBigFont"));
        if (Q->IsEmpty())
            return;
        Q->Edit();
        Q->FieldByName(QStringLiteral("BigFontValue"))->SetAsString(Capital);
        Q->Post();
    });
    if (!Written)
        return;
    if (!LoadReportTemplate(frReport1, AppPath + QStringLiteral("Frf/Bill.frf")))
        return;
    if (frReport1->PrepareReport())
        frReport1->ShowReport();
}
