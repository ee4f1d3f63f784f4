// The login window on its own: the salesman buttons, the prompts, user
// management and the banner.
#include "ProgramFixture.h"

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Shell.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>

class LoginForm : public TProgramFixture
{
protected:
    // Shows the login window with a scripted user; the modal result.
    TModalResult Run(std::vector<std::function<void()>> Steps, QStringList Passwords = {})
    {
        TModalHandlers Handlers(User(std::move(Steps), std::move(Passwords)), nullptr);
        const TModalResult Result = FormLogin->ShowModal();
        Messages = TModalSeam::MessageTexts();
        return Result;
    }

    QStringList Messages;
};

TEST_F(LoginForm, ButtonNShowsTheSalesmanNumberedN)
{
    WritePicture(QStringLiteral("Faces/1.bmp"), 40, Qt::white);
    WritePicture(QStringLiteral("Faces/12.bmp"), 36, Qt::red);
    NameSalesman(1, QStringLiteral("张三"), QString(), QString(), QStringLiteral("Faces/12.bmp"));
    NameSalesman(4, QStringLiteral("李四"), QString(), QString(), QStringLiteral("Faces/none.bmp"));
    // A slot gone from the table leaves its own button empty rather than
    // shifting every later salesman onto the wrong button.
    Exec(QStringLiteral("Delete From Power Where PowerIndex = 3"));
    Run({});
    const struct { int Button; const char* Caption; int Glyph; } Rows[] = {
        {1, "张三", 36}, {2, "", 40}, {3, "", 40}, {4, "李四", 0}, {16, "", 40}};
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Button);
        EXPECT_EQ(FormLogin->Man[R.Button - 1]->Caption(), QString::fromUtf8(R.Caption));
        EXPECT_EQ(FormLogin->Man[R.Button - 1]->Glyph()->Width(), R.Glyph);
    }
}

TEST_F(LoginForm, SalesmanLoginFillsTheSession)
{
    NameSalesman(5, QStringLiteral("王五"), QStringLiteral("k5"), QStringLiteral("财务管理；"));
    EXPECT_EQ(Run({Press(FormLogin->Man[4])}, {QStringLiteral("k5")}), mrOk);
    EXPECT_EQ(Prompts, QStringList{QStringLiteral("业务员登录|请输入 王五 的登录密码|#")});
    EXPECT_EQ(CurrentRole + u'|' + CurrentUser + u'|' + CurrentRange, QStringLiteral("业务员|王五|财务管理；"));
    EXPECT_EQ(FormAsk->Edit1->echoMode(), QLineEdit::Normal);
    EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(LoginForm, UnnamedSlotDoesNothing)
{
    EXPECT_EQ(Run({Press(FormLogin->Man[6])}), mrCancel);
    EXPECT_TRUE(Prompts.isEmpty());
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(CurrentRole, QString());
}

TEST_F(LoginForm, CancelledPromptKeepsTheWindowOpen)
{
    NameSalesman(1, QStringLiteral("张三"), QStringLiteral("k"), QString());
    auto CancelPrompt = TModalHandlers(
        [this](TForm* Form) -> TModalResult {
            if (Form == FormAsk)
                return mrCancel;
            FormLogin->Man[0]->Click();
            EXPECT_EQ(FormLogin->ModalResult(), mrNone);
            EXPECT_EQ(FormAsk->Edit1->echoMode(), QLineEdit::Normal);
            return mrNone;
        },
        nullptr);
    EXPECT_EQ(FormLogin->ShowModal(), mrCancel);
    EXPECT_TRUE(TModalSeam::Messages().empty());
    EXPECT_EQ(CurrentUser, QString());
}

TEST_F(LoginForm, EachRoleHasItsOwnPrompt)
{
    TSpeedButton* const Buttons[] = {FormLogin->SpeedButton1, FormLogin->SpeedButton2, FormLogin->SpeedButton3,
                                     FormLogin->SpeedButton4};
    const char* const Roles[] = {"财务主管", "财务总监", "管理员", "总经理"};
    for (int I = 0; I < 4; ++I) {
        const QString Role = QString::fromUtf8(Roles[I]);
        SCOPED_TRACE(Role.toStdString());
        Prompts.clear();
        CurrentRange = QStringLiteral("业务管理；");
        Exec(QStringLiteral("Update Power Set PowerKey = 'p%1' Where PowerName = %2").arg(I).arg(SqlQuoted(Role)));
        EXPECT_EQ(Run({Press(Buttons[I]), Press(Buttons[I])}, {QString(), QStringLiteral("p%1").arg(I)}), mrOk);
        EXPECT_EQ(Prompts, QStringList(2, QStringLiteral("系统登录|请输入") + Role + QStringLiteral("登录密码|#")));
        EXPECT_EQ(Messages, QStringList{QStringLiteral("密码错误，请重新操作")});
        EXPECT_EQ(CurrentRole + u'|' + CurrentUser + u'|' + CurrentRange, Role + u'|' + Role + u'|');
    }
}

TEST_F(LoginForm, UserManagementNeedsTheAdministratorPassword)
{
    Exec(QStringLiteral("Update Power Set PowerKey = 'admin' Where PowerName = '管理员'"));
    TSpeedButton* Manage = FormLogin->ManManage;
    const TModalResult Result = Run({Press(Manage), [this] { NameSalesman(2, QStringLiteral("赵六"), {}, {}); },
                                     Press(Manage)},
                                    {QStringLiteral("x"), QStringLiteral("admin")});
    EXPECT_EQ(Result, mrCancel); // the window stays open until the user leaves it
    EXPECT_EQ(Prompts, QStringList(2, QStringLiteral("人员管理登录|请输入管理员密码|#")));
    EXPECT_EQ(Messages, QStringList{QStringLiteral("密码错误，请重新操作")});
    EXPECT_EQ(FormLogin->Man[1]->Caption(), QStringLiteral("赵六"));
    EXPECT_EQ(CurrentRole, QString());
}

TEST_F(LoginForm, UserManagementWithoutAdministratorRow)
{
    Exec(QStringLiteral("Delete From Power Where PowerName = '管理员'"));
    Run({Press(FormLogin->ManManage)});
    EXPECT_EQ(Messages, QStringList{QStringLiteral("数据库出错，资料修改密码被删除")});
}

TEST_F(LoginForm, BannerOpensThePicturesUnderIt)
{
    QString Opened;
    const TShellHandler Saved = SetShellHandler([&](const QString& Target) {
        Opened = Target;
        return true;
    });
    const TModalResult Result = Run({[] {
                                         EXPECT_TRUE(FormLogin->ImageTitle->isVisible());
                                         EXPECT_FALSE(FormLogin->ImageUp1->isVisible());
                                         FormLogin->ImageTitle->Click();
                                         EXPECT_FALSE(FormLogin->ImageTitle->isVisible());
                                         EXPECT_TRUE(FormLogin->ImageUp2->isVisible());
                                         FormLogin->ImageUp2->Click();
                                         EXPECT_EQ(FormLogin->ModalResult(), mrNone);
                                     },
                                     [] { FormLogin->ImageUp4->Click(); }});
    SetShellHandler(Saved);
    EXPECT_EQ(Result, mrCancel);
    EXPECT_TRUE(Opened.endsWith(QStringLiteral("/Tallybridge")));
    // The next showing starts from the banner again.
    Run({[] { EXPECT_TRUE(FormLogin->ImageTitle->isVisible()); }});
}

TEST_F(LoginForm, HoverColoursOnlyThePictureUnderTheMouse)
{
    WritePicture(QStringLiteral("Res/Up1.bmp"), 11, Qt::gray);
    WritePicture(QStringLiteral("Res/ColorUp1.bmp"), 12, Qt::green);
    WritePicture(QStringLiteral("Res/Title.bmp"), 13, Qt::gray);
    WritePicture(QStringLiteral("Res/ColorTitle.bmp"), 14, Qt::blue);
    Run({[] {
        TImage* Up1 = FormLogin->ImageUp1;
        FormLogin->ImageTitle->Click();
        QMouseEvent Move(QEvent::MouseMove, QPointF(5, 5), Up1->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Up1, &Move);
        EXPECT_TRUE(FormLogin->PictureColoured(Up1));
        EXPECT_EQ(Up1->Picture()->Width(), 12);
        FormLogin->HoverPicture(FormLogin->ImageTitle);
        EXPECT_FALSE(FormLogin->PictureColoured(Up1));
        EXPECT_EQ(Up1->Picture()->Width(), 11);
        EXPECT_EQ(FormLogin->ImageTitle->Picture()->Width(), 14);
        FormLogin->HoverPicture(nullptr);
        EXPECT_EQ(FormLogin->ImageTitle->Picture()->Width(), 13);
        EXPECT_TRUE(FormLogin->ImageUp4->Picture()->Empty()); // no file: nothing shown
        // The framed groups and their captions count as the window's empty area.
        const struct { const char* Name; QWidget* Over; } Areas[] = {
            {"salesmen group", FormLogin->PanelMen}, {"its caption", FormLogin->LabelMen},
            {"roles group", FormLogin->PanelRoles}, {"its caption", FormLogin->LabelRoles}};
        for (const auto& [Name, Over] : Areas) {
            SCOPED_TRACE(Name);
            FormLogin->HoverPicture(Up1);
            QMouseEvent Leave(QEvent::MouseMove, QPointF(3, 3), Over->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                              Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(Over, &Leave);
            EXPECT_FALSE(FormLogin->PictureColoured(Up1));
        }
    }});
}
