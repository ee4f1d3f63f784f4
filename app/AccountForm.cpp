#include "app/AccountForm.h"

#include "app/Account2Form.h"
#include "app/MainForm.h"
#include "app/PublicFunction.h"
#include "app/SaveChecks.h"
#include "app/ShareDM.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/Field.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ModalSeam.h"
#include "platform/rtl/SysUtils.h"

#include <QAction>
#include <QLabel>
#include <QTabWidget>

TFormAccount* FormAccount = nullptr;

namespace {

const QString EditCaption = QStringLiteral("修改密码");
const QString EditPrompt = QStringLiteral("请输入资料修改密码");

// The main window's money list.
constexpr int MoneyListPage = 5;

QAction* NewAction(QObject* Owner, const char* Name, const QString& Caption)
{
    auto* Action = new QAction(Caption, Owner);
    Action->setObjectName(QString::fromLatin1(Name));
    return Action;
}

TBitBtn* NewButton(QWidget* Parent, const char* Name, QAction* Action, const QRect& Bounds)
{
    auto* Button = new TBitBtn(Parent);
    Button->setObjectName(QString::fromLatin1(Name));
    Button->SetCaption(Action->text());
    Button->setGeometry(Bounds);
    Button->OnClick = [Action](QObject*) { Action->trigger(); };
    return Button;
}

QString DateRange(TDateTime First, TDateTime Last)
{
    return QStringLiteral(" And (MoneyCreateTime Between %1 And %2)").arg(JetDateLiteral(First), JetDateLiteral(Last));
}

bool ConfirmAccountDelete()
{
    TMessageRequest Ask;
    Ask.Caption = QStringLiteral("删除警告");
    Ask.Text = QStringLiteral("删除帐户将删除该帐户下所有记录，确实要删除吗？");
    Ask.Icon = miWarning;
    Ask.Buttons = {mrYes, mrNo};
    Ask.DefaultButton = mrNo;
    return TModalSeam::Ask(Ask) == mrYes;
}

} // namespace

TFormAccount::TFormAccount(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormAccount"));
    SetCaption(QStringLiteral("帐户管理"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(360, 190);
    QFont F(QStringLiteral("宋体"));
    F.setPixelSize(12);
    setFont(F);

    Label1 = new QLabel(QStringLiteral("帐户名称："), this);
    Label1->setGeometry(30, 20, 70, 24);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(100, 20, 230, 24);
    Label3 = new QLabel(QStringLiteral("帐户余额："), this);
    Label3->setGeometry(30, 52, 70, 24);
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(100, 52, 230, 24);
    for (QLabel* Value : {Label2, Label4}) {
        QFont Bold = Value->font();
        Bold.setBold(true);
        Value->setFont(Bold);
    }

    ActionMonth = NewAction(this, "ActionMonth", QStringLiteral("当月记录"));
    ActionYear = NewAction(this, "ActionYear", QStringLiteral("当年记录"));
    ActionAll = NewAction(this, "ActionAll", QStringLiteral("所有记录"));
    ActionEdit = NewAction(this, "ActionEdit", QStringLiteral("修改帐户"));
    ActionDelete = NewAction(this, "ActionDelete", QStringLiteral("删除帐户"));
    ActionCancel = NewAction(this, "ActionCancel", QStringLiteral("取消操作"));
    auto At = [](int Column, int Row) { return QRect(30 + Column * 104, 96 + Row * 42, 92, 30); };
    BitBtn1 = NewButton(this, "BitBtn1", ActionMonth, At(0, 0));
    BitBtn2 = NewButton(this, "BitBtn2", ActionYear, At(1, 0));
    BitBtn3 = NewButton(this, "BitBtn3", ActionAll, At(2, 0));
    BitBtn4 = NewButton(this, "BitBtn4", ActionEdit, At(0, 1));
    BitBtn5 = NewButton(this, "BitBtn5", ActionDelete, At(1, 1));
    BitBtn6 = NewButton(this, "BitBtn6", ActionCancel, At(2, 1));
    BitBtn6->SetCancel(true);

    QObject::connect(ActionMonth, &QAction::triggered, this, [this] { ActionMonthExecute(ActionMonth); });
    QObject::connect(ActionYear, &QAction::triggered, this, [this] { ActionYearExecute(ActionYear); });
    QObject::connect(ActionAll, &QAction::triggered, this, [this] { ActionAllExecute(ActionAll); });
    QObject::connect(ActionEdit, &QAction::triggered, this, [this] { ActionEditExecute(ActionEdit); });
    QObject::connect(ActionDelete, &QAction::triggered, this, [this] { ActionDeleteExecute(ActionDelete); });
    QObject::connect(ActionCancel, &QAction::triggered, this, [this] { ActionCancelExecute(ActionCancel); });
    OnShow = [this](QObject* Sender) { FormShow(Sender); };
}

void TFormAccount::FormShow(QObject*)
{
    Label2->setText(AccountText);
    Label4->setText(BalanceText);
    FRow = {};
    FIndex = FindAccount(QStringLiteral("数据库打开失败"));
    if (FIndex != 0)
        FRow = TRowImage::Of(ShareDataModule->ADOQueryTemp, QStringLiteral("Account"));
}

QString TFormAccount::RowSQL() const
{
    return QStringLiteral("Select * From Account Where (AccountIndex = %1) And (AccountName = %2)")
        .arg(QString::number(FIndex), SqlQuoted(AccountText));
}

int TFormAccount::FindAccount(const QString& ErrorText)
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    if (!OpenSQL(Q, QStringLiteral("Select * From Account Where AccountName = ") + SqlQuoted(AccountText), ErrorText)
        || Q->IsEmpty())
        return 0;
    return Q->FieldByName(QStringLiteral("AccountIndex"))->AsInteger();
}

// ---------------------------------------------------------------- movements

void TFormAccount::ShowMovements(const QString& Range)
{
    const int Index = FindAccount(QStringLiteral("数据库打开失败"));
    if (Index == 0)
        return;
    const QString SQL =
        QStringLiteral("Select MoneyIndex,MoneySerial,MoneyCreateTime,AccountName,MoneyUser,MoneyIn,MoneyOut,MoneySum,"
                       "MoneyMan,MoneyReason,MoneyType,MoneyToken,MoneyRemark From Account,MoneyTable "
                       "Where (AccountIndex = MoneyAccount) And (MoneyAccount = %1)")
            .arg(Index)
        + Range;
    FormMain->RunMoneyReport(SQL);
    FormMain->PageControl1->setCurrentIndex(MoneyListPage);
    SetModalResult(mrCancel);
}

void TFormAccount::ActionMonthExecute(QObject*)
{
    int Y = 0, M = 0, D = 0;
    DecodeDate(FormMain->WorkingDay(), Y, M, D);
    const TDateTime First = EncodeDate(Y, M, 1);
    ShowMovements(DateRange(First, IncMonth(First, 1) - 1));
}

void TFormAccount::ActionYearExecute(QObject*)
{
    int Y = 0, M = 0, D = 0;
    DecodeDate(FormMain->WorkingDay(), Y, M, D);
    ShowMovements(DateRange(EncodeDate(Y, 1, 1), EncodeDate(Y, 12, 31)));
}

void TFormAccount::ActionAllExecute(QObject*)
{
    ShowMovements(QString());
}

// ---------------------------------------------------------------- edit and delete

void TFormAccount::ActionEditExecute(QObject*)
{
    if (!ShareDataModule->CheckEditPassword(EditCaption, EditPrompt, QString()))
        return;
    FormAccount2->AccountName = AccountText;
    FormAccount2->AccountIndex = FIndex;
    if (FormAccount2->ShowModal() != mrOk)
        return;
    const QString Name = FormAccount2->AccountName;
    const double Base = FormAccount2->AccountBase;
    if (Name.isEmpty()) {
        ShowMessage(QStringLiteral("帐户名不得为空"));
        return;
    }
    if (FIndex == 0) {
        ShowMessage(QStringLiteral("找不到要修改的帐户"));
    } else {
        TADOQuery* Q = ShareDataModule->ADOQueryTemp;
        bool Taken = false;
        const bool Saved = RunInTransaction([&] {
            OpenSameRow(Q, RowSQL(), FRow, QStringLiteral("找不到要修改的帐户"));
            // Checked where it is stored, so that another copy of the program
            // cannot take the name in between. The account itself never
            // counts: a change of letter case alone is allowed.
            if (Name != AccountText) {
                TADOQuery* Other = ShareDataModule->ADOQueryTemp2;
                OpenOrRaise(Other, QStringLiteral("Select * From Account Where (AccountName = %1) And (AccountIndex <> %2)")
                                       .arg(SqlQuoted(Name), QString::number(FIndex)));
                Taken = !Other->IsEmpty();
                if (Taken)
                    return;
            }
            Q->Edit();
            Q->FieldByName(QStringLiteral("AccountName"))->SetAsString(Name);
            Q->FieldByName(QStringLiteral("AccountBase"))->SetAsFloat(Base);
            Q->Post();
        });
        if (!Saved)
            return;
        if (Taken) {
            ShowMessage(QStringLiteral("该帐户名已经存在，请重新操作"));
            return;
        }
        ShowMessage(QStringLiteral("帐户　") + Name + QStringLiteral("　修改成功"));
    }
    FormMain->RefreshAll();
    SetModalResult(mrOk);
}

void TFormAccount::ActionDeleteExecute(QObject*)
{
    if (!ShareDataModule->CheckEditPassword(EditCaption, EditPrompt, QString()))
        return;
    const QString Gone = QStringLiteral("找不到要删除的记录");
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    if (!OpenSQL(Q, RowSQL(), QStringLiteral("数据库打开失败")))
        return;
    if (Q->IsEmpty()) {
        ShowMessage(Gone);
        return;
    }
    if (!ConfirmAccountDelete())
        return;
    // The account and every receipt and payment booked to it go together or
    // not at all, and only while it is still the account the question was
    // about: another copy of the program may have changed it meanwhile.
    TADOConnection* Connection = ShareDataModule->ADOConnection1;
    const bool Deleted = RunInTransaction([&] {
        OpenSameRow(Q, RowSQL(), FRow, Gone);
        Connection->Execute(QStringLiteral("Delete From Account Where AccountIndex = %1").arg(FIndex));
        Connection->Execute(QStringLiteral("Delete From MoneyTable Where MoneyAccount = %1").arg(FIndex));
    });
    if (!Deleted)
        return;
    FormMain->RefreshAll();
    SetModalResult(mrOk);
}

void TFormAccount::ActionCancelExecute(QObject*)
{
    SetModalResult(mrCancel);
}
