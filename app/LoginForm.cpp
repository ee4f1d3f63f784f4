#include "app/LoginForm.h"

#include "app/AskForm.h"
#include "app/OnlineChatForm.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "app/UserForm.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/Field.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Shell.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

TFormLogin* FormLogin = nullptr;

namespace {

const QString OpenError = QStringLiteral("数据库打开失败");
const QString WrongPassword = QStringLiteral("密码错误，请重新操作");

// Plain and coloured files of the banner and the three pictures in its place.
struct TPictureFiles
{
    const char* Plain;
    const char* Coloured;
};
constexpr TPictureFiles PictureFiles[4] = {
    {"Res/Title.bmp", "Res/ColorTitle.bmp"},
    {"Res/Up1.bmp", "Res/ColorUp1.bmp"},
    {"Res/Up2.bmp", "Res/ColorUp2.bmp"},
    {"Res/Up4.bmp", "Res/ColorUp4.bmp"},
};

// A picture that cannot be read shows nothing rather than stopping the login.
void LoadGlyphOrNothing(TSpeedButton* Button, const QString& FileName)
{
    try {
        Button->LoadGlyph(FileName);
    } catch (const Exception&) {
        Button->Glyph()->SetSize(0, 0);
        Button->GlyphChanged();
    }
}

TImage* NewImage(QWidget* Parent, const char* Name, const QRect& Bounds)
{
    auto* Image = new TImage(Parent);
    Image->setObjectName(QString::fromLatin1(Name));
    Image->setGeometry(Bounds);
    Image->SetCursor(crHandPoint);
    return Image;
}

TSpeedButton* NewButton(QWidget* Parent, const QString& Name, const QString& Caption, const QRect& Bounds)
{
    auto* Button = new TSpeedButton(Parent);
    Button->setObjectName(Name);
    Button->SetCaption(Caption);
    Button->SetLayout(blGlyphTop);
    Button->SetFlat(true);
    Button->setGeometry(Bounds);
    Button->setCursor(Qt::PointingHandCursor);
    return Button;
}

QFrame* NewGroup(QWidget* Parent, const char* Name, const QRect& Bounds)
{
    auto* Frame = new QFrame(Parent);
    Frame->setObjectName(QString::fromLatin1(Name));
    Frame->setFrameShape(QFrame::StyledPanel);
    Frame->setFrameShadow(QFrame::Sunken);
    Frame->setGeometry(Bounds);
    // A move over the group reaches the window, which swaps the banner
    // pictures back as over its own empty area.
    Frame->setMouseTracking(true);
    return Frame;
}

QLabel* NewGroupLabel(QFrame* Group, const QString& Caption)
{
    auto* Label = new QLabel(Caption, Group);
    Label->setGeometry(10, 5, 200, 16);
    QPalette P = Label->palette();
    P.setColor(QPalette::WindowText, QColor(0x2B, 0x57, 0x9A));
    Label->setPalette(P);
    Label->setMouseTracking(true);
    return Label;
}

} // namespace

TFormLogin::TFormLogin(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormLogin"));
    SetCaption(QStringLiteral("Tallybridge业务管理软件"));
    SetBorderStyle(bsDialog);
    SetPosition(poDesktopCenter);
    Font()->SetName(QStringLiteral("宋体"));
    Font()->SetHeight(-12);
    SetClientSize(721, 465);

    BuildBanner();
    BuildMen();
    BuildRoles();
    BindHandlers();
}

TFormLogin::~TFormLogin() = default;

void TFormLogin::BuildBanner()
{
    ImageTitle = NewImage(this, "ImageTitle", QRect(15, 10, 690, 90));
    ImageUp1 = NewImage(this, "ImageUp1", QRect(80, 20, 160, 70));
    ImageUp2 = NewImage(this, "ImageUp2", QRect(280, 20, 160, 70));
    ImageUp4 = NewImage(this, "ImageUp4", QRect(480, 20, 160, 70));
    FPictures = {ImageTitle, ImageUp1, ImageUp2, ImageUp4};
}

void TFormLogin::BuildMen()
{
    PanelMen = NewGroup(this, "PanelMen", QRect(15, 110, 690, 200));
    LabelMen = NewGroupLabel(PanelMen, QStringLiteral("业务员登录"));
    for (int I = 0; I < ManCount; ++I) {
        const QRect Bounds(12 + (I % 8) * 85, 28 + (I / 8) * 85, 73, 73);
        Man[I] = NewButton(PanelMen, QStringLiteral("Man%1").arg(I + 1), QString(), Bounds);
    }
}

void TFormLogin::BuildRoles()
{
    PanelRoles = NewGroup(this, "PanelRoles", QRect(15, 318, 690, 135));
    LabelRoles = NewGroupLabel(PanelRoles, QStringLiteral("系统登录"));
    auto At = [](int Column) { return QRect(23 + Column * 133, 36, 110, 78); };
    SpeedButton1 = NewButton(PanelRoles, QStringLiteral("SpeedButton1"), QStringLiteral("财务主管"), At(0));
    SpeedButton2 = NewButton(PanelRoles, QStringLiteral("SpeedButton2"), QStringLiteral("财务总监"), At(1));
    SpeedButton3 = NewButton(PanelRoles, QStringLiteral("SpeedButton3"), QStringLiteral("管理员"), At(2));
    SpeedButton4 = NewButton(PanelRoles, QStringLiteral("SpeedButton4"), QStringLiteral("总经理"), At(3));
    // User management is no login: a plain button beside the four roles.
    ManManage = NewButton(PanelRoles, QStringLiteral("ManManage"), QStringLiteral("人员管理"), QRect(570, 56, 96, 32));
    ManManage->SetFlat(false);
}

void TFormLogin::BindHandlers()
{
    OnShow = [this](QObject* Sender) { FormShow(Sender); };
    OnMouseMove = [this](QObject*, TShiftState, int, int) { HoverPicture(nullptr); };
    for (int I = 0; I < ManCount; ++I)
        Man[I]->OnClick = [this, I](QObject*) { SalesmanLogin(I + 1); };
    SpeedButton1->OnClick = [this](QObject* Sender) { Action1Execute(Sender); };
    SpeedButton2->OnClick = [this](QObject* Sender) { Action2Execute(Sender); };
    SpeedButton3->OnClick = [this](QObject* Sender) { Action3Execute(Sender); };
    SpeedButton4->OnClick = [this](QObject* Sender) { Action4Execute(Sender); };
    ManManage->OnClick = [this](QObject* Sender) { ActionManageExecute(Sender); };
    ImageTitle->OnClick = [this](QObject* Sender) { ImageTitleClick(Sender); };
    ImageUp1->OnClick = [this](QObject* Sender) { ImageUp1Click(Sender); };
    ImageUp2->OnClick = [this](QObject* Sender) { ImageUp2Click(Sender); };
    ImageUp4->OnClick = [this](QObject* Sender) { ImageUp4Click(Sender); };
    for (TImage* Image : FPictures)
        Image->OnMouseMove = [this, Image](QObject*, TShiftState, int, int) { HoverPicture(Image); };
}

// ---------------------------------------------------------------- showing

void TFormLogin::FormShow(QObject*)
{
    ImageTitle->setVisible(true);
    ImageUp1->setVisible(false);
    ImageUp2->setVisible(false);
    ImageUp4->setVisible(false);
    for (int I = 0; I < 4; ++I)
        LoadPictureState(I, false);
    LoadGlyphOrNothing(SpeedButton1, AppPath + QStringLiteral("Res/YellowFish.bmp"));
    LoadGlyphOrNothing(SpeedButton2, AppPath + QStringLiteral("Res/OrangeFish.bmp"));
    LoadGlyphOrNothing(SpeedButton3, AppPath + QStringLiteral("Res/BlueFish.bmp"));
    LoadGlyphOrNothing(SpeedButton4, AppPath + QStringLiteral("Res/GreenFish.bmp"));
    LoadUserButtons();
}

void TFormLogin::LoadUserButtons()
{
    for (TSpeedButton* Button : Man) {
        Button->SetCaption(QString());
        LoadGlyphOrNothing(Button, AppPath + QStringLiteral("Faces/1.bmp"));
    }
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    if (!OpenSQL(Q, QStringLiteral("Select * From Power Where PowerIndex <= 16 Order By PowerIndex"), OpenError))
        return;
    // Each row goes to the button of its own number, so button N always logs
    // in as the salesman it shows, even when a slot is missing.
    for (Q->First(); !Q->Eof(); Q->Next()) {
        const int Index = Q->FieldByName(QStringLiteral("PowerIndex"))->AsInteger();
        if (Index < 1 || Index > ManCount)
            continue;
        TSpeedButton* Button = Man[Index - 1];
        Button->SetCaption(Q->FieldByName(QStringLiteral("PowerName"))->AsString());
        LoadGlyphOrNothing(Button, AppPath + Q->FieldByName(QStringLiteral("PowerPicture"))->AsString());
    }
}

// ---------------------------------------------------------------- logins

void TFormLogin::SalesmanLogin(int N)
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    if (!OpenSQL(Q, QStringLiteral("Select * From Power Where PowerIndex = %1").arg(N), OpenError) || Q->IsEmpty())
        return;
    const QString Name = Q->FieldByName(QStringLiteral("PowerName"))->AsString();
    if (Name.isEmpty())
        return;

    FormAsk->AskCaption = QStringLiteral("业务员登录");
    FormAsk->AskPrompt = QStringLiteral("请输入 ") + Name + QStringLiteral(" 的登录密码");
    FormAsk->AskText = QString();
    SetPasswordChar(FormAsk->Edit1, u'#');
    const TModalResult Answer = FormAsk->ShowModal();
    SetPasswordChar(FormAsk->Edit1, QChar());
    if (Answer != mrOk)
        return;
    // The slot as it stands now: another copy may have changed the password
    // while the prompt was open, or given the slot to someone else.
    if (!OpenSQL(Q, QStringLiteral("Select * From Power Where PowerIndex = %1").arg(N), OpenError) || Q->IsEmpty()
        || Q->FieldByName(QStringLiteral("PowerName"))->AsString() != Name)
        return;
    if (FormAsk->AskText != Q->FieldByName(QStringLiteral("PowerKey"))->AsString()) {
        ShowMessage(WrongPassword);
        return;
    }
    CurrentRole = QStringLiteral("业务员");
    CurrentUser = Name;
    CurrentRange = Q->FieldByName(QStringLiteral("PowerRange"))->AsString();
    CurrentSlot = N;
    SetModalResult(mrOk);
}

bool TFormLogin::CheckRolePassword(const QString& Role, const QString& Caption, const QString& Prompt)
{
    FormAsk->AskCaption = Caption;
    FormAsk->AskPrompt = Prompt;
    FormAsk->AskText = QString();
    SetPasswordChar(FormAsk->Edit1, u'#');
    const TModalResult Answer = FormAsk->ShowModal();
    SetPasswordChar(FormAsk->Edit1, QChar());
    if (Answer != mrOk)
        return false;
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    if (!OpenSQL(Q, QStringLiteral("Select * From Power Where PowerName = ") + SqlQuoted(Role), OpenError))
        return false;
    if (Q->IsEmpty()) {
        ShowMessage(QStringLiteral("数据库出错，资料修改密码被删除"));
        return false;
    }
    if (FormAsk->AskText != Q->FieldByName(QStringLiteral("PowerKey"))->AsString()) {
        ShowMessage(WrongPassword);
        return false;
    }
    return true;
}

void TFormLogin::RoleLogin(const QString& Role)
{
    if (!CheckRolePassword(Role, QStringLiteral("系统登录"), QStringLiteral("请输入") + Role + QStringLiteral("登录密码")))
        return;
    CurrentRole = Role;
    CurrentUser = Role;
    // The fixed roles carry no rights text; a salesman's must not linger.
    CurrentRange = QString();
    CurrentSlot = 0;
    SetModalResult(mrOk);
}

void TFormLogin::Action1Execute(QObject*) { RoleLogin(QStringLiteral("财务主管")); }
void TFormLogin::Action2Execute(QObject*) { RoleLogin(QStringLiteral("财务总监")); }
void TFormLogin::Action3Execute(QObject*) { RoleLogin(QStringLiteral("管理员")); }
void TFormLogin::Action4Execute(QObject*) { RoleLogin(QStringLiteral("总经理")); }

void TFormLogin::ActionManageExecute(QObject*)
{
    if (!CheckRolePassword(QStringLiteral("管理员"), QStringLiteral("人员管理登录"), QStringLiteral("请输入管理员密码")))
        return;
    // Names and faces may have changed whatever the user window's result.
    if (FormUser)
        FormUser->ShowModal();
    LoadUserButtons();
}

// ---------------------------------------------------------------- banner

void TFormLogin::ImageTitleClick(QObject*)
{
    ImageTitle->setVisible(false);
    ImageUp1->setVisible(true);
    ImageUp2->setVisible(true);
    ImageUp4->setVisible(true);
}

void TFormLogin::ImageUp1Click(QObject*)
{
    if (FormOnlineChat)
        FormOnlineChat->ShowModal();
}

QString TFormLogin::ProductPage()
{
    return QStringLiteral("https://www.tallybridge.example/Tallybridge");
}

void TFormLogin::ImageUp2Click(QObject*)
{
    ShellOpen(ProductPage());
}

void TFormLogin::ImageUp4Click(QObject*)
{
    SetModalResult(mrCancel);
}

void TFormLogin::LoadPictureState(int Picture, bool Coloured)
{
    FColoured[Picture] = Coloured;
    const char* File = Coloured ? PictureFiles[Picture].Coloured : PictureFiles[Picture].Plain;
    try {
        FPictures[Picture]->Picture()->LoadFromFile(AppPath + QString::fromLatin1(File));
    } catch (const Exception&) {
        FPictures[Picture]->Picture()->Clear();
    }
}

void TFormLogin::HoverPicture(TImage* Image)
{
    for (int I = 0; I < 4; ++I) {
        const bool Coloured = FPictures[I] == Image;
        if (FColoured[I] != Coloured)
            LoadPictureState(I, Coloured);
    }
}

bool TFormLogin::PictureColoured(const TImage* Image) const
{
    for (int I = 0; I < 4; ++I)
        if (FPictures[I] == Image)
            return FColoured[I];
    return false;
}
