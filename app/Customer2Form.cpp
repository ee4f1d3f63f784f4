#include "app/Customer2Form.h"

#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/Field.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

TFormCustomer2* FormCustomer2 = nullptr;

namespace {

// The one-line text columns besides the name, each shown in the edit of its
// name; the remark is the memo.
const char* const TextColumns[] = {"CustomerPhone", "CustomerFax", "CustomerContact", "CustomerHandPhone",
                                   "CustomerEMail", "CustomerWebsite", "CustomerAddress"};

QString RowSQL(const QString& Table, int Index)
{
    return QStringLiteral("Select * From %1 Where CustomerIndex = %2").arg(Table).arg(Index);
}

} // namespace

TFormCustomer2::TFormCustomer2(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormCustomer2"));
    SetBorderStyle(bsDialog);
    SetPosition(poMainFormCenter);
    Font()->SetName(QStringLiteral("宋体"));
    Font()->SetHeight(-12);
    SetClientSize(520, 366);
    BuildControls();
    OnShow = [this](QObject* Sender) { FormShow(Sender); };
    BitBtn1->OnClick = [this](QObject* Sender) { BitBtn1Click(Sender); };
    BitBtn3->OnClick = [this](QObject* Sender) { BitBtn3Click(Sender); };
    BitBtn4->OnClick = [this](QObject* Sender) { BitBtn4Click(Sender); };
}

void TFormCustomer2::BuildControls()
{
    auto* Frame = new QFrame(this);
    Frame->setFrameShape(QFrame::Box);
    Frame->setFrameShadow(QFrame::Sunken);
    Frame->setGeometry(16, 16, 76, 76);
    Image1 = new TImage(Frame);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(6, 6, 64, 64);
    Image1->SetCenter(true);
    Image1->SetTransparent(true);

    struct TEditSpec { QLineEdit* TFormCustomer2::*Edit; const char* Name; const char* Caption; };
    static const TEditSpec Specs[] = {
        {&TFormCustomer2::CustomerName, "CustomerName", "客户名称："},
        {nullptr, "CustomerOwe", "起初欠款："},
        {&TFormCustomer2::CustomerPhone, "CustomerPhone", "电话号码："},
        {&TFormCustomer2::CustomerFax, "CustomerFax", "传真号码："},
        {&TFormCustomer2::CustomerContact, "CustomerContact", "联 系 人："},
        {&TFormCustomer2::CustomerHandPhone, "CustomerHandPhone", "联系手机："},
        {&TFormCustomer2::CustomerEMail, "CustomerEMail", "客户邮箱："},
        {&TFormCustomer2::CustomerWebsite, "CustomerWebsite", "客户主页："},
        {&TFormCustomer2::CustomerAddress, "CustomerAddress", "客户地址："},
    };
    int Top = 16;
    for (const TEditSpec& S : Specs) {
        auto* Label = new QLabel(QString::fromUtf8(S.Caption), this);
        Label->setGeometry(108, Top + 3, 72, 16);
        // The opening balance is a number edit: only numbers can be typed.
        QLineEdit* Edit = S.Edit ? new QLineEdit(this) : (CustomerOwe = new TDBNumberEditEh(this));
        Edit->setObjectName(QString::fromLatin1(S.Name));
        Edit->setGeometry(180, Top, 320, 22);
        if (S.Edit)
            this->*S.Edit = Edit;
        Top += 28;
    }
    CustomerOwe->SetAutoSize(false);
    CustomerOwe->setGeometry(180, 44, 320, 22);
    CustomerOwe->SetAlignment(taRightJustify);

    auto* RemarkLabel = new QLabel(QStringLiteral("客户备注："), this);
    RemarkLabel->setGeometry(108, Top + 3, 72, 16);
    CustomerRemark = new TMemo(this);
    CustomerRemark->setObjectName(QStringLiteral("CustomerRemark"));
    CustomerRemark->setGeometry(180, Top, 320, 44);

    auto AddButton = [this](const char* Name, const QString& Caption, int X) {
        auto* Button = new TBitBtn(this);
        Button->setObjectName(QString::fromLatin1(Name));
        Button->SetCaption(Caption);
        Button->setGeometry(X, 324, 86, 28);
        return Button;
    };
    BitBtn1 = AddButton("BitBtn1", QStringLiteral("确定"), 234);
    BitBtn1->SetDefault(true);
    BitBtn2 = AddButton("BitBtn2", QString(), 330);
    BitBtn2->SetKind(bkCancel);
    BitBtn2->SetCaption(QStringLiteral("取消"));
    BitBtn3 = AddButton("BitBtn3", QStringLiteral("删除"), 16);
    BitBtn3->SetModalResult(mrNo);
    BitBtn4 = AddButton("BitBtn4", QStringLiteral("转正"), 112);

    QWidget* Order[] = {CustomerName, CustomerOwe, CustomerPhone, CustomerFax, CustomerContact,
                        CustomerHandPhone, CustomerEMail, CustomerWebsite, CustomerAddress,
                        BitBtn1, BitBtn2, BitBtn3, BitBtn4, CustomerRemark};
    for (size_t I = 1; I < std::size(Order); ++I)
        setTabOrder(Order[I - 1], Order[I]);
}

// ---------------------------------------------------------------- showing

void TFormCustomer2::FormShow(QObject*)
{
    const bool Prospect = !IsRegular();
    TableName = Prospect ? QStringLiteral("CustomerHide") : QStringLiteral("Customer");
    SetCaption(Prospect ? QStringLiteral("潜在客户信息管理") : QStringLiteral("正式客户信息管理"));
    try {
        Image1->Picture()->LoadFromFile(AppPath + (Prospect ? QStringLiteral("Res/BlueCustomer64.ico")
                                                            : QStringLiteral("Res/RedCustomer64.ico")));
    } catch (const Exception&) {
        Image1->Picture()->Clear();
    }
    Image1->Invalidate();

    FShown.Clear();
    if (EditMode != 0) {
        TADOQuery* Q = ShareDataModule->ADOQueryTemp;
        if (!OpenSQL(Q, RowSQL(TableName, CustomerIndex), QStringLiteral("客户资料读入失败"))) {
            SetModalResult(mrCancel);
            return;
        }
        if (Q->IsEmpty()) {
            ShowMessage(QStringLiteral("找不到要修改的记录"));
            SetModalResult(mrCancel);
            return;
        }
        FRow = TRowImage::Of(Q, QStringLiteral("Customer"));
        ShowRow(Q);
        BitBtn3->show();
        BitBtn4->setVisible(Prospect);
    } else {
        FRow = {};
        ClearEdits();
        CustomerName->setText(PresetName);
        CustomerPhone->setText(PresetPhone);
        BitBtn3->hide();
        BitBtn4->hide();
    }
    PresetName.clear();
    PresetPhone.clear();
    SetActiveControl(CustomerName);
}

void TFormCustomer2::ShowRow(TADOQuery* Q)
{
    CustomerName->setText(Q->FieldByName(QStringLiteral("CustomerName"))->AsString());
    // Shown to four decimals, stored as read while left as shown.
    FShown.ShowAmount(CustomerOwe, Q->FieldByName(QStringLiteral("CustomerOwe"))->AsFloat());
    for (const char* Column : TextColumns)
        findChild<QLineEdit*>(QString::fromLatin1(Column))
            ->setText(Q->FieldByName(QString::fromLatin1(Column))->AsString());
    CustomerRemark->setPlainText(Q->FieldByName(QStringLiteral("CustomerRemark"))->AsString());
}

void TFormCustomer2::ClearEdits()
{
    for (QLineEdit* Edit : findChildren<QLineEdit*>())
        Edit->clear();
    CustomerRemark->clear();
}

// ---------------------------------------------------------------- checks

bool TFormCustomer2::Refuse(const QString& Message, QWidget* Focus)
{
    ShowMessage(Message);
    SetActiveControl(Focus);
    return false;
}

bool TFormCustomer2::CheckNameAndOwe()
{
    if (CustomerName->text().isEmpty())
        return Refuse(QStringLiteral("客户名不得为空"), CustomerName);
    // An opening balance may be negative (the firm owes the customer); text
    // that is no number would otherwise be stored as 0 without a word.
    double Owe = 0;
    if (!CustomerOwe->text().isEmpty() && !TryStrToFloat(CustomerOwe->text(), Owe))
        return Refuse(QStringLiteral("金额格式有误，请重新输入"), CustomerOwe);
    return true;
}

// Names compare without case; the row being edited never counts, so a change
// of letter case alone goes through. Asked inside the write's transaction,
// which holds the write lock: another copy of the program cannot store the
// same name between the check and the write.
bool TFormCustomer2::NameTaken(TADOQuery* Q, const QString& Table, int ExceptIndex)
{
    QString SQL = QStringLiteral("Select * From ") + Table + QStringLiteral(" Where CustomerName = ")
                  + SqlQuoted(CustomerName->text());
    if (ExceptIndex != 0)
        SQL += QStringLiteral(" And CustomerIndex <> %1").arg(ExceptIndex);
    OpenOrRaise(Q, SQL);
    return !Q->IsEmpty();
}

void TFormCustomer2::WriteColumns(TADOQuery* Q) const
{
    double Owe = 0;
    TryStrToFloat(CustomerOwe->text(), Owe);
    Q->FieldByName(QStringLiteral("CustomerName"))->SetAsString(CustomerName->text());
    Q->FieldByName(QStringLiteral("CustomerOwe"))->SetAsFloat(FShown.Amount(CustomerOwe, Owe));
    for (const char* Column : TextColumns)
        Q->FieldByName(QString::fromLatin1(Column))
            ->SetAsString(findChild<QLineEdit*>(QString::fromLatin1(Column))->text());
    Q->FieldByName(QStringLiteral("CustomerRemark"))->SetAsString(CustomerRemark->toPlainText());
}

// ---------------------------------------------------------------- store

void TFormCustomer2::BitBtn1Click(QObject*)
{
    if (!CheckNameAndOwe())
        return;
    if (EditMode == 0)
        StoreNew();
    else
        StoreEdit();
}

void TFormCustomer2::StoreNew()
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    bool Taken = false;
    const bool Stored = RunInTransaction([&] {
        Taken = NameTaken(Q, TableName, 0);
        if (Taken)
            return;
        // The uniqueness query found no row; its empty result takes the new one.
        Q->Append();
        Q->FieldByName(QStringLiteral("CustomerMan"))->SetAsString(CurrentUser);
        WriteColumns(Q);
        Q->Post();
    });
    if (!Stored)
        return;
    if (Taken) {
        Refuse(QStringLiteral("该客户名已经存在，请重新操作"), CustomerName);
        return;
    }
    ShowMessage(QStringLiteral("客户　") + CustomerName->text() + QStringLiteral("　新增成功"));
    SetModalResult(mrOk);
}

void TFormCustomer2::StoreEdit()
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    const QString NewName = CustomerName->text();
    TADOQuery* Ripple = ShareDataModule->ADOQueryTemp2;
    bool Taken = false;
    const bool Stored = RunInTransaction([&] {
        // Only the row as shown is stored: had another copy of the program
        // renamed it since, its name would be written back and rippled.
        OpenSameRow(Q, RowSQL(TableName, CustomerIndex), FRow, QStringLiteral("找不到要修改的客户"));
        const QString OldName = Q->FieldByName(QStringLiteral("CustomerName"))->AsString();
        const bool Renamed = OldName != NewName;
        Taken = Renamed && NameTaken(Q, TableName, CustomerIndex);
        if (Taken)
            return;
        // Documents and money rows name their customer; contacts use the index.
        if (Renamed && IsRegular()) {
            for (const QString& Statement :
                 {QStringLiteral("Update Bill Set BillUser = %1 Where BillUser = %2"),
                  QStringLiteral("Update MoneyTable Set MoneyUser = %1 Where MoneyUser = %2")}) {
                Ripple->Close();
                Ripple->SQL()->Clear();
                Ripple->SQL()->Add(Statement.arg(SqlQuoted(NewName), SqlQuoted(OldName)));
                Ripple->ExecSQL();
            }
        }
        OpenOrRaise(Q, RowSQL(TableName, CustomerIndex));
        if (Q->IsEmpty())
            throw Exception(QStringLiteral("customer %1 vanished").arg(CustomerIndex));
        Q->Edit();
        WriteColumns(Q);
        Q->Post();
    });
    if (!Stored)
        return;
    if (Taken) {
        Refuse(QStringLiteral("该客户名已经存在，请重新操作"), CustomerName);
        return;
    }
    ShowMessage(QStringLiteral("客户资料修改成功"));
    SetModalResult(mrOk);
}

// ---------------------------------------------------------------- delete and promote

void TFormCustomer2::BitBtn3Click(QObject*)
{
    if (DeleteRecord(RowSQL(TableName, CustomerIndex), QStringLiteral("数据库打开失败"), FRow))
        SetModalResult(mrOk);
}

void TFormCustomer2::BitBtn4Click(QObject*)
{
    TMessageRequest Ask;
    Ask.Caption = QStringLiteral("转正确认");
    Ask.Text = QStringLiteral("确实要把该客户转为正式客户吗？");
    Ask.Icon = miQuestion;
    Ask.Buttons = {mrYes, mrNo};
    Ask.DefaultButton = mrNo;
    if (TModalSeam::Ask(Ask) != mrYes)
        return;
    if (!CheckNameAndOwe())
        return;
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    TADOQuery* Prospect = ShareDataModule->ADOQueryTemp2;
    bool Taken = false;
    // The new regular row and the prospect's removal are one step: a failure
    // leaves the prospect where it was and no regular row behind.
    const bool Stored = RunInTransaction([&] {
        // A prospect another copy of the program promoted or changed meanwhile stays as it is.
        OpenSameRow(Prospect, RowSQL(QStringLiteral("CustomerHide"), CustomerIndex), FRow,
                    QStringLiteral("找不到要修改的客户"));
        Taken = NameTaken(Q, QStringLiteral("Customer"), 0);
        if (Taken)
            return;
        Q->Append();
        Q->FieldByName(QStringLiteral("CustomerMan"))->SetAsString(CurrentUser);
        WriteColumns(Q);
        Q->Post();
        Prospect->Delete();
    });
    if (!Stored)
        return;
    if (Taken) {
        Refuse(QStringLiteral("正式客户中，该客户名已经存在，请重新操作"), CustomerName);
        return;
    }
    ShowMessage(QStringLiteral("客户　") + CustomerName->text() + QStringLiteral("　转正成功"));
    Promoted = true;
    SetModalResult(mrOk);
}
