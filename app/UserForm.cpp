#include "app/UserForm.h"

#include "app/ListGrid.h"
#include "app/PublicFunction.h"
#include "app/SaveChecks.h"
#include "app/ShareDM.h"
#include "app/User2Form.h"
#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

TFormUser* FormUser = nullptr;

namespace {

const QString OpenError = QStringLiteral("数据库打开失败");
const QString ListSQL = QStringLiteral("Select * From Power Where PowerRole = '业务员' Order By PowerIndex");
constexpr TColor HoverColor = 0xF0CAA6;

QLineEdit* NewEdit(QWidget* Parent, const char* Name, const QString& Caption, int Top)
{
    auto* Label = new QLabel(Caption, Parent);
    Label->setGeometry(506, Top, 64, 22);
    Label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* Edit = new QLineEdit(Parent);
    Edit->setObjectName(QString::fromLatin1(Name));
    Edit->setGeometry(574, Top, 140, 22);
    return Edit;
}

QCheckBox* NewCheckBox(QWidget* Parent, const char* Name, const QString& Caption, int Top)
{
    auto* Label = new QLabel(Caption, Parent);
    Label->setGeometry(506, Top, 64, 22);
    Label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* Box = new QCheckBox(Parent);
    Box->setObjectName(QString::fromLatin1(Name));
    Box->setGeometry(574, Top, 22, 22);
    return Box;
}

TButton* NewButton(QWidget* Parent, const char* Name, const QString& Caption, const QRect& Bounds)
{
    auto* Button = new TButton(Parent);
    Button->setObjectName(QString::fromLatin1(Name));
    Button->SetCaption(Caption);
    Button->setGeometry(Bounds);
    return Button;
}

} // namespace

TFormUser::TFormUser(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormUser"));
    SetCaption(QStringLiteral("人员管理"));
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(730, 316);
    SetColor(clWindow);
    QFont F(QStringLiteral("宋体"));
    F.setPixelSize(12);
    setFont(F);
    BuildControls();

    OnShow = [this](QObject* Sender) { FormShow(Sender); };
    OnMouseMove = [this](QObject*, TShiftState, int, int) { HoverFace(false); };
    ADOQuery1->AfterScroll = [this](TDataSet*) { ShowCurrentRow(); };
    DataSource1->OnStateChange = [this](TDataSource* Sender) {
        if (Sender->State() == dsBrowse)
            ShowCurrentRow();
    };
    Image1->OnClick = [this](QObject* Sender) { Image1Click(Sender); };
    Image1->OnMouseMove = [this](QObject*, TShiftState, int, int) { HoverFace(true); };
    Shape1->OnMouseMove = [this](QObject*, TShiftState, int, int) { HoverFace(true); };
    Button1->OnClick = [this](QObject* Sender) { Button1Click(Sender); };
    Button2->OnClick = [this](QObject* Sender) { Button2Click(Sender); };
}

void TFormUser::BuildControls()
{
    ADOQuery1 = new TADOQuery(this);
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    DataSource1 = new TDataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->SetDataSet(ADOQuery1);

    DBGridEh1 = NewListGrid(this, "DBGridEh1", QRect(8, 8, 492, 300), DataSource1,
                            {{"PowerIndex", "编号", 50}, {"PowerName", "业务员名称", 80}, {"PowerKey", "登录密码", 70},
                             {"PowerPicture", "图片地址", 120}, {"PowerRange", "管理权限", 130}},
                            false, TListCells::Centred);

    Edit1 = NewEdit(this, "Edit1", QStringLiteral("名称："), 16);
    Edit2 = NewEdit(this, "Edit2", QStringLiteral("密码："), 48);
    Edit3 = NewEdit(this, "Edit3", QStringLiteral("头像："), 80);
    Edit3->setReadOnly(true);

    Shape1 = new TShape(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->SetShape(stSquare);
    Shape1->setGeometry(574, 112, 50, 50);
    Shape1->Brush()->SetColor(clWindow);
    Image1 = new TImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(579, 117, 40, 40);
    Image1->SetStretch(true);
    Image1->SetCursor(crHandPoint);
    Image1->setToolTip(QStringLiteral("单击选择头像"));

    CheckBox1 = NewCheckBox(this, "CheckBox1", QStringLiteral("业务管理："), 176);
    CheckBox2 = NewCheckBox(this, "CheckBox2", QStringLiteral("财务管理："), 206);
    Button1 = NewButton(this, "Button1", QStringLiteral("确　定"), QRect(526, 264, 86, 30));
    Button1->SetDefault(true);
    Button2 = NewButton(this, "Button2", QStringLiteral("取　消"), QRect(628, 264, 86, 30));
    Button2->SetModalResult(mrCancel);
    Button2->SetCancel(true);
}

// ---------------------------------------------------------------- showing

void TFormUser::FormShow(QObject*)
{
    ADOQuery1->SetConnection(ShareDataModule->ADOConnection1);
    HoverFace(false);
    OpenSQL(ADOQuery1, ListSQL, OpenError);
}

void TFormUser::ShowCurrentRow()
{
    if (!ADOQuery1->Active() || ADOQuery1->IsEmpty())
        return;
    Edit1->setText(ADOQuery1->FieldByName(QStringLiteral("PowerName"))->AsString());
    Edit2->setText(ADOQuery1->FieldByName(QStringLiteral("PowerKey"))->AsString());
    Edit3->setText(ADOQuery1->FieldByName(QStringLiteral("PowerPicture"))->AsString());
    LoadFace();
    const QString Range = ADOQuery1->FieldByName(QStringLiteral("PowerRange"))->AsString();
    CheckBox1->setChecked(Range.contains(QStringLiteral("业务管理")));
    CheckBox2->setChecked(Range.contains(QStringLiteral("财务管理")));
}

void TFormUser::LoadFace()
{
    // A missing picture leaves the frame empty rather than stopping the window.
    try {
        Image1->Picture()->LoadFromFile(AppPath + Edit3->text());
    } catch (const Exception&) {
        Image1->Picture()->Clear();
    }
}

void TFormUser::Image1Click(QObject*)
{
    FormUser2->FacePicture = Edit3->text();
    if (FormUser2->ShowModal() != mrOk)
        return;
    Edit3->setText(FormUser2->FacePicture);
    LoadFace();
}

void TFormUser::HoverFace(bool Over)
{
    const TColor Colour = Over ? HoverColor : clWindow;
    if (Shape1->Brush()->Color() != Colour)
        Shape1->Brush()->SetColor(Colour);
}

// ---------------------------------------------------------------- saving

void TFormUser::Button1Click(QObject*)
{
    if (!ADOQuery1->Active() || ADOQuery1->IsEmpty())
        return;
    const int Index = ADOQuery1->FieldByName(QStringLiteral("PowerIndex"))->AsInteger();
    const QString Name = Edit1->text();
    // Every Power row counts but the salesman's own: no salesman takes a role's
    // name, and a name cannot be cleared while another slot is unnamed.
    const QString NameTaken = QStringLiteral("名字有重复，请重新操作");
    const QString OthersOfTheName = QStringLiteral("Select * From Power Where (PowerName = %1) And (PowerIndex <> %2)")
                                        .arg(SqlQuoted(Name), QString::number(Index));
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    if (!OpenSQL(Q, OthersOfTheName, OpenError))
        return;
    if (!Q->IsEmpty()) {
        ShowMessage(NameTaken);
        return;
    }
    const QString OldName = ADOQuery1->FieldByName(QStringLiteral("PowerName"))->AsString();
    QString Range;
    if (CheckBox1->isChecked())
        Range += QStringLiteral("业务管理；");
    if (CheckBox2->isChecked())
        Range += QStringLiteral("财务管理；");
    const QString Key = Edit2->text();
    const QString Picture = Edit3->text();
    // Asked before anything is written: the rename and the hand-over are one
    // save, so a failure leaves neither the new name nor a half hand-over.
    const bool Hand = !OldName.isEmpty() && OldName != Name
        && AskYesNo(QStringLiteral("业务员名字已改变，是否把旧业务员数据移交给新业务员管理？"),
                    QStringLiteral("移交确认"))
               == mrYes;
    // Written only while the slot is as the list showed it: had another copy
    // of the program renamed him since, the old name would come back and the
    // hand-over would start from a name nobody carries.
    const TRowImage Shown = TRowImage::Of(ADOQuery1, QStringLiteral("Power"));
    const bool Saved = RunInTransaction([&] {
        OpenSameRow(ShareDataModule->ADOQueryTemp2,
                    QStringLiteral("Select * From Power Where PowerIndex = %1").arg(Index), Shown, RecordChanged);
        // Again where it counts: another copy may have given the name to
        // another slot since the check above.
        OpenOrRaise(Q, OthersOfTheName);
        if (!Q->IsEmpty())
            throw ESaveRefused(NameTaken);
        ADOQuery1->Edit();
        ADOQuery1->FieldByName(QStringLiteral("PowerName"))->SetAsString(Name);
        ADOQuery1->FieldByName(QStringLiteral("PowerKey"))->SetAsString(Key);
        ADOQuery1->FieldByName(QStringLiteral("PowerPicture"))->SetAsString(Picture);
        ADOQuery1->FieldByName(QStringLiteral("PowerRange"))->SetAsString(Range);
        ADOQuery1->Post();
        if (Hand)
            HandOver(OldName, Name);
    }, TWriter::Administrator);
    if (!Saved && ADOQuery1->State() != dsBrowse)
        ADOQuery1->Cancel();
    // A failed save too: the list holds the row as posted, the file does not,
    // and the next save would take its old name from the list.
    if (OpenSQL(ADOQuery1, ListSQL, OpenError))
        ADOQuery1->Locate(QStringLiteral("PowerIndex"), Variant(Index));
    if (Saved && Hand)
        ShowMessage(QStringLiteral("业务员数据移交成功"));
}

void TFormUser::HandOver(const QString& OldName, const QString& NewName)
{
    TADOConnection* Connection = ShareDataModule->ADOConnection1;
    const QString From = SqlQuoted(OldName);
    const QString To = SqlQuoted(NewName);
    Connection->Execute(QStringLiteral("Update Customer Set CustomerMan = %1 Where CustomerMan = %2").arg(To, From));
    Connection->Execute(QStringLiteral("Update Bill Set BillMan = %1 Where BillMan = %2").arg(To, From));
    Connection->Execute(QStringLiteral("Update MoneyTable Set MoneyMan = %1 Where MoneyMan = %2").arg(To, From));
    // The accounts he made go with him, else he no longer sees them.
    Connection->Execute(QStringLiteral("Update Account Set AccountMan = %1 Where AccountMan = %2").arg(To, From));
}

void TFormUser::Button2Click(QObject*)
{
    SetModalResult(mrCancel);
}
