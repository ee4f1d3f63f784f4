#include "app/ContactForm.h"

#include "app/MainForm.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/Field.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/SysUtils.h"

#include <QAction>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>

TFormContact* FormContact = nullptr;

namespace {

const QString OpenError = QStringLiteral("数据库打开失败");
const QString Vanished = QStringLiteral("找不到要修改的记录");

QString RowSQL(int Index)
{
    return QStringLiteral("Select * From Contact Where ContactIndex = %1").arg(Index);
}

} // namespace

TFormContact::TFormContact(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormContact"));
    SetCaption(QStringLiteral("客户往来记录管理"));
    SetBorderStyle(bsSingle);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    SetPosition(poMainFormCenter);
    Font()->SetName(QStringLiteral("宋体"));
    Font()->SetHeight(-12);
    SetClientSize(460, 300);

    auto* Label1 = new QLabel(QStringLiteral("记录编号："), this);
    Label1->setGeometry(16, 19, 70, 16);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(86, 16, 130, 22);
    Edit1->setReadOnly(true);
    QPalette Grey = Edit1->palette();
    Grey.setColor(QPalette::Base, QColor(0xE0, 0xE0, 0xE0));
    Edit1->setPalette(Grey);
    auto* Label2 = new QLabel(QStringLiteral("记录时间："), this);
    Label2->setGeometry(240, 19, 70, 16);
    DateTimePicker1 = new QDateEdit(this);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setGeometry(310, 16, 134, 22);
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    auto* Label3 = new QLabel(QStringLiteral("记录内容："), this);
    Label3->setGeometry(16, 50, 70, 16);
    Memo1 = new TMemo(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(16, 70, 428, 180);

    ActionYes = new QAction(QStringLiteral("确定"), this);
    ActionYes->setObjectName(QStringLiteral("ActionYes"));
    ActionCancel = new QAction(QStringLiteral("取消"), this);
    ActionCancel->setObjectName(QStringLiteral("ActionCancel"));
    SpeedButton1 = new TSpeedButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->SetCaption(ActionYes->text());
    SpeedButton1->setGeometry(268, 262, 84, 28);
    SpeedButton2 = new TSpeedButton(this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->SetCaption(ActionCancel->text());
    SpeedButton2->setGeometry(360, 262, 84, 28);

    QObject::connect(ActionYes, &QAction::triggered, this, [this] { ActionYesExecute(ActionYes); });
    QObject::connect(ActionCancel, &QAction::triggered, this, [this] { ActionCancelExecute(ActionCancel); });
    SpeedButton1->OnClick = [this](QObject*) { ActionYes->trigger(); };
    SpeedButton2->OnClick = [this](QObject*) { ActionCancel->trigger(); };
    OnShow = [this](QObject* Sender) { FormShow(Sender); };
}

QString TFormContact::ContactHead(const QString& Text)
{
    // Counted in characters, so a character outside the basic plane (a
    // surrogate pair) is kept or dropped whole.
    qsizetype End = 0;
    for (int Count = 0; Count < 120 && End < Text.size(); ++Count)
        End += Text.at(End).isHighSurrogate() && End + 1 < Text.size() ? 2 : 1;
    return Text.left(End);
}

void TFormContact::FormShow(QObject*)
{
    if (IsNew()) {
        Edit1->setText(QStringLiteral("自动生成"));
        DateTimePicker1->setDate(DateTimeToQDate(FormMain ? FormMain->WorkingDay() : Date()));
        Memo1->clear();
    } else {
        TADOQuery* Q = ShareDataModule->ADOQueryTemp;
        if (!OpenSQL(Q, RowSQL(ContactIndex), OpenError)) {
            SetModalResult(mrCancel);
            return;
        }
        // Showing the previous record's text would let it be stored over this one.
        if (Q->IsEmpty()) {
            ShowMessage(Vanished);
            SetModalResult(mrCancel);
            return;
        }
        FRow = TRowImage::Of(Q, QStringLiteral("Contact"));
        Edit1->setText(Q->FieldByName(QStringLiteral("ContactIndex"))->AsString());
        DateTimePicker1->setDate(DateTimeToQDate(Q->FieldByName(QStringLiteral("ContactCreateTime"))->AsDateTime()));
        Memo1->setPlainText(Q->FieldByName(QStringLiteral("ContactContent"))->AsString());
    }
    SetActiveControl(Memo1);
}

void TFormContact::ActionYesExecute(QObject*)
{
    if (IsNew())
        StoreNew();
    else
        StoreEdit();
}

void TFormContact::StoreNew()
{
    const QString Text = Memo1->toPlainText();
    const QString SQL =
        QStringLiteral("Insert Into Contact (ContactUser, ContactRecordTime, ContactCreateTime, ContactHead, "
                       "ContactContent) Values (%1, %2, %3, %4, %5)")
            .arg(ContactUser)
            .arg(JetDateLiteral(Date()), JetDateLiteral(QDateToDateTime(DateTimePicker1->date())),
                 SqlQuoted(ContactHead(Text)), SqlQuoted(Text));
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    const bool Stored = RunInTransaction([&] {
        // A note for a customer another copy of the program removed would belong to nobody.
        OpenOrRaise(Q, QStringLiteral("Select CustomerIndex From Customer Where CustomerIndex = %1").arg(ContactUser));
        if (Q->IsEmpty())
            throw ESaveRefused(CustomerChanged);
        ShareDataModule->ADOConnection1->Execute(SQL);
    });
    if (!Stored)
        return;
    ShowMessage(QStringLiteral("记录新增成功"));
    SetModalResult(mrOk);
}

void TFormContact::StoreEdit()
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    if (!OpenSQL(Q, RowSQL(ContactIndex), OpenError))
        return;
    if (Q->IsEmpty()) {
        ShowMessage(Vanished);
        SetModalResult(mrCancel);
        return;
    }
    const QString Text = Memo1->toPlainText();
    const bool Stored = RunInTransaction([&] {
        OpenSameRow(Q, RowSQL(ContactIndex), FRow, Vanished);
        Q->Edit();
        Q->FieldByName(QStringLiteral("ContactCreateTime"))->SetAsDateTime(QDateToDateTime(DateTimePicker1->date()));
        Q->FieldByName(QStringLiteral("ContactHead"))->SetAsString(ContactHead(Text));
        Q->FieldByName(QStringLiteral("ContactContent"))->SetAsString(Text);
        Q->Post();
    });
    if (Stored)
        SetModalResult(mrOk);
}

void TFormContact::ActionCancelExecute(QObject*)
{
    SetModalResult(mrCancel);
}
