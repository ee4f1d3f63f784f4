// The account, user and face windows and the administrator's two tabs,
// rendered as a user sees them with the program's own pictures;
// TB_IMAGES_DIR names a folder to keep the pictures in.
#include "ProgramFixture.h"

#include "app/Account2Form.h"
#include "app/AccountForm.h"
#include "app/User2Form.h"
#include "app/UserForm.h"
#include "grid/DBGridEh.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/TestRender.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QTabWidget>

namespace {

// Pixels of Area that are much darker than the window: drawn text or lines.
int DarkPixels(const QImage& Shot, const QRect& Area)
{
    int Count = 0;
    for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
        for (int X = Area.left(); X <= Area.right(); ++X)
            if (qGray(Shot.pixel(X, Y)) < 100)
                ++Count;
    return Count;
}

void CopyFolder(const QString& Name)
{
    const QString From = QCoreApplication::applicationDirPath() + u'/' + Name + u'/';
    QDir().mkpath(AppPath + Name);
    for (const QString& File : QDir(From).entryList(QDir::Files))
        QFile::copy(From + File, AppPath + Name + u'/' + File);
}

} // namespace

class AdminWindowsRender : public TProgramFixture
{
protected:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        CopyFolder(QStringLiteral("Res"));
        CopyFolder(QStringLiteral("Faces"));
        Application()->CreateForm(FormAccount);
        Application()->CreateForm(FormUser);
        Application()->CreateForm(FormUser2);
        Application()->CreateForm(FormAccount2);
    }

    void TearDown() override
    {
        FormAccount = nullptr;
        FormUser = nullptr;
        FormUser2 = nullptr;
        FormAccount2 = nullptr;
        TProgramFixture::TearDown();
    }

    // Renders Widget, checks that Part of it is drawn and keeps the picture when asked.
    void Check(QWidget* Widget, QWidget* Part, const char* File)
    {
        SCOPED_TRACE(File);
        const QImage Shot = RenderWidget(Widget);
        const QRect Area(Part->mapTo(Widget, QPoint(0, 0)), Part->size());
        EXPECT_GT(DarkPixels(Shot, Area), 20);
        const QByteArray Keep = qgetenv("TB_IMAGES_DIR");
        if (!Keep.isEmpty())
            Shot.save(QString::fromLocal8Bit(Keep) + u'/' + QString::fromLatin1(File));
    }
};

TEST_F(AdminWindowsRender, WindowsAndTabs)
{
    NameSalesman(1, QStringLiteral("张三"), QStringLiteral("zs2024"), QStringLiteral("业务管理；财务管理；"),
                 QStringLiteral("Faces/12.bmp"));
    NameSalesman(2, QStringLiteral("李四"), QString(), QStringLiteral("财务管理；"), QStringLiteral("Faces/5.bmp"));
    Exec(QStringLiteral("Insert Into Account (AccountName, AccountBase) Values ('中国银行基本户', 52000)"));

    FormAccount->AccountText = QStringLiteral("中国银行基本户");
    FormAccount->BalanceText = QStringLiteral("86320.5 元");
    FormAccount2->AccountName = FormAccount->AccountText;
    TModalHandlers Handlers(
        [&](TForm* Form) -> TModalResult {
            if (Form == FormAccount)
                Check(FormAccount, FormAccount->Label2, "account.png");
            else if (Form == FormAccount2)
                Check(FormAccount2, FormAccount2->Edit1, "account2.png");
            else if (Form == FormUser2)
                Check(FormUser2, FormUser2->Images[11], "user2.png");
            else if (Form == FormUser) {
                FormUser->Image1->Click();
                QMouseEvent Move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton,
                                 Qt::NoModifier);
                QCoreApplication::sendEvent(FormUser->Image1, &Move);
                Check(FormUser, FormUser->DBGridEh1, "user.png");
                const QImage Shot = RenderWidget(FormUser);
                EXPECT_EQ(Shot.pixelColor(FormUser->Shape1->geometry().topLeft() + QPoint(2, 2)),
                          ColorToQColor(0xF0CAA6));
            } else if (Form == FormLogin) {
                FormLogin->SpeedButton3->Click();
                return mrNone;
            } else if (Form == FormAsk) {
                FormAsk->BitBtn1->Click();
                return mrNone;
            }
            return mrCancel;
        },
        nullptr);
    FormAccount->ShowModal();
    FormAccount2->ShowModal();
    FormUser->ShowModal();

    FormMain->Show();
    FormMain->PageControl1->setCurrentIndex(6);
    Check(FormMain, FormMain->ListBox1, "settings.png");
    FormMain->PageControl1->setCurrentIndex(7);
    Check(FormMain, FormMain->GroupBoxData, "maintenance.png");
}
