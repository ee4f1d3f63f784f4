// Window placement, sizes, border styles and closing outside ShowModal.
#include "GuiTestUtil.h"
#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Screen.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

TEST(Forms, PlacementOnFirstShow)
{
    struct TRow
    {
        const char* Name;
        TPosition Position;
        bool Centred;
    };
    const TRow Rows[] = {{"Designed", poDesigned, false},
                         {"ScreenCenter", poScreenCenter, true},
                         {"DesktopCenter", poDesktopCenter, true},
                         {"MainFormCenterWithoutMainForm", poMainFormCenter, true}};
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TForm Form;
        Form.setAttribute(Qt::WA_DontShowOnScreen);
        Form.SetPosition(Row.Position);
        Form.SetBounds(3, 4, 200, 100);
        Form.Show();
        const QRect Work = Screen()->WorkAreaRect();
        if (Row.Centred) {
            EXPECT_EQ(Form.Left(), Work.left() + (Work.width() - Form.Width()) / 2);
            EXPECT_EQ(Form.Top(), Work.top() + (Work.height() - Form.Height()) / 2);
        } else {
            EXPECT_EQ(Form.Left(), 3);
            EXPECT_EQ(Form.Top(), 4);
        }
    }
}

TEST(Forms, FixedBordersKeepTheirSizeButCodeMayResize)
{
    TForm Form;
    Form.SetBorderStyle(bsSingle);
    Form.SetClientSize(786, 538);
    EXPECT_EQ(Form.minimumSize(), QSize(786, 538));
    EXPECT_EQ(Form.maximumSize(), QSize(786, 538));
    Form.SetClientSize(300, 200);
    EXPECT_EQ(Form.ClientWidth(), 300);
    EXPECT_EQ(Form.maximumSize(), QSize(300, 200));
    Form.SetBorderStyle(bsSizeable);
    EXPECT_EQ(Form.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

TEST(Forms, OnResizeMayPutTheWindowBack)
{
    TForm Form;
    Form.setAttribute(Qt::WA_DontShowOnScreen);
    Form.Show();
    int Calls = 0;
    Form.OnResize = [&](QObject*) {
        ++Calls;
        if (Form.Height() > 600)
            Form.SetBounds(75, 90, 884, 571);
    };
    Form.SetClientSize(1000, 800);
    QCoreApplication::processEvents();
    EXPECT_EQ(Form.Width(), 884);
    EXPECT_EQ(Form.Height(), 571);
    EXPECT_EQ(Form.Left(), 75);
    EXPECT_LE(Calls, 3);
}

TEST(Forms, CloseAsksCloseQueryAndOnClose)
{
    struct TRow
    {
        const char* Name;
        bool CanClose;
        TCloseAction Action;
        bool StaysVisible;
    };
    const TRow Rows[] = {{"Hides", true, caHide, false},
                         {"RefusedByCloseQuery", false, caHide, true},
                         {"ActionNone", true, caNone, true}};
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TForm Form;
        Form.setAttribute(Qt::WA_DontShowOnScreen);
        QStringList Log;
        Form.OnCloseQuery = [&](QObject*, bool& CanClose) { Log << QStringLiteral("query"); CanClose = Row.CanClose; };
        Form.OnClose = [&](QObject*, TCloseAction& Action) { Log << QStringLiteral("close"); Action = Row.Action; };
        Form.Show();
        Form.Close();
        EXPECT_EQ(Form.isVisible(), Row.StaysVisible);
        EXPECT_EQ(Log.join(u','), Row.CanClose ? QStringLiteral("query,close") : QStringLiteral("query"));
    }
}

TEST(Forms, ClosingTheMainWindowEndsTheProgram)
{
    TForm Main;
    Main.setAttribute(Qt::WA_DontShowOnScreen);
    Application()->SetMainForm(&Main);
    Main.Show();
    Main.Close();
    EXPECT_TRUE(Application()->Terminated());
    Application()->SetMainForm(nullptr);
    Application()->ResetTerminated();
}

TEST(Forms, FontAndColourReachTheWidget)
{
    TForm Form;
    EXPECT_EQ(Form.font().pixelSize(), 12);
    Form.Font()->SetHeight(-16);
    Form.Font()->SetColor(clBlue);
    Form.SetColor(TColor(0xF0CAA6));
    EXPECT_EQ(Form.font().pixelSize(), 16);
    EXPECT_EQ(Form.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(Form.palette().color(QPalette::Window), QColor(0xA6, 0xCA, 0xF0));
}
