// The account, user and face windows and the administrator's two tabs,
// rendered with the program's own pictures; TB_IMAGES_DIR names a folder to
// keep the pictures in.
#include "ProgramFixture.h"

#include "app/Account2Form.h"
#include "app/AccountForm.h"
#include "app/User2Form.h"
#include "app/UserForm.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/TestRender.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTabWidget>

class AdminWindows : public TProgramFixture
{
protected:
    void TearDown() override
    {
        FormAccount = nullptr;
        FormAccount2 = nullptr;
        FormUser = nullptr;
        FormUser2 = nullptr;
        TProgramFixture::TearDown();
    }
};

TEST_F(AdminWindows, Render)
{
    for (const QString& Folder : {QStringLiteral("Res"), QStringLiteral("Faces")}) {
        const QString From = QCoreApplication::applicationDirPath() + u'/' + Folder + u'/';
        QDir().mkpath(AppPath + Folder);
        for (const QString& File : QDir(From).entryList(QDir::Files))
            QFile::copy(From + File, AppPath + Folder + u'/' + File);
    }
    Application()->CreateForm(FormAccount);
    Application()->CreateForm(FormUser);
    Application()->CreateForm(FormUser2);
    Application()->CreateForm(FormAccount2);
    NameSalesman(1, QStringLiteral("张三"), QStringLiteral("zs2024"), QStringLiteral("业务管理；财务管理；"),
                 QStringLiteral("Faces/12.bmp"));
    NameSalesman(2, QStringLiteral("李四"), QString(), QStringLiteral("财务管理；"), QStringLiteral("Faces/5.bmp"));
    Exec(QStringLiteral("Insert Into Account (AccountName, AccountBase) Values ('中国银行基本户', 52000)"));
    {
        TModalHandlers Handlers(User({Press(FormLogin->SpeedButton3)}), nullptr);
        FormMain->Show();
    }
    FormAccount->AccountText = FormAccount2->AccountName = QStringLiteral("中国银行基本户");
    FormAccount->BalanceText = QStringLiteral("86320.5 元");
    FormUser2->FacePicture = QStringLiteral("Faces/12.bmp");
    for (TForm* Form : std::initializer_list<TForm*>{FormAccount, FormAccount2, FormUser, FormUser2})
        Form->Show();
    // The face under the mouse.
    QMouseEvent Move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(FormUser->Image1, &Move);

    const QImage User = RenderWidget(FormUser);
    EXPECT_EQ(User.pixelColor(FormUser->Shape1->geometry().topLeft() + QPoint(2, 2)), ColorToQColor(0xF0CAA6));
    const QImage Face12(AppPath + QStringLiteral("Faces/12.bmp"));
    const QImage Faces = RenderWidget(FormUser2);
    const QPoint Centre = FormUser2->Images[11]->geometry().topLeft() + QPoint(20, 20);
    EXPECT_EQ(Faces.pixelColor(Centre), Face12.pixelColor(20, 20));
    EXPECT_EQ(User.pixelColor(FormUser->Image1->geometry().topLeft() + QPoint(20, 20)), Faces.pixelColor(Centre));

    const QString Keep = QString::fromLocal8Bit(qgetenv("TB_IMAGES_DIR"));
    if (Keep.isEmpty())
        return;
    User.save(Keep + QStringLiteral("/user.png"));
    Faces.save(Keep + QStringLiteral("/user2.png"));
    RenderWidget(FormAccount).save(Keep + QStringLiteral("/account.png"));
    RenderWidget(FormAccount2).save(Keep + QStringLiteral("/account2.png"));
    FormMain->PageControl1->setCurrentIndex(6);
    RenderWidget(FormMain).save(Keep + QStringLiteral("/settings.png"));
    FormMain->PageControl1->setCurrentIndex(7);
    RenderWidget(FormMain).save(Keep + QStringLiteral("/maintenance.png"));
}
