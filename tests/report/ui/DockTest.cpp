// Docks and tool bars: rows, dragging along and across, floating and docking
// again, saved states and window placement in a temporary settings folder.
#include "UiTestUtil.h"
#include "platform/gui/SystemMetrics.h"
#include "platform/rtl/IniFiles.h"
#include "report/engine/FR_Dock.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace uitest;

namespace {

QString Geometry(const QWidget* W)
{
    return QStringLiteral("%1,%2 %3x%4").arg(W->x()).arg(W->y()).arg(W->width()).arg(W->height());
}

// A window of 400 x 300 at the screen's origin with docks on all four sides.
struct THost
{
    THost()
    {
        Form.setObjectName("HostForm");
        Form.SetBounds(0, 0, 400, 300);
        Top = new TfrDock(&Form, alTop);
        Top->setObjectName("TopDock");
        Bottom = new TfrDock(&Form, alBottom);
        Bottom->setObjectName("BottomDock");
        Left = new TfrDock(&Form, alLeft);
        Left->setObjectName("LeftDock");
        AlignControls(&Form, Form.rect());
    }

    // A bar of three buttons, fitted to them.
    TfrToolBar* Bar(const char* Name, TfrDock* Dock)
    {
        auto* B = new TfrToolBar(&Form);
        B->setObjectName(Name);
        for (int i = 0; i < 3; ++i)
            new TfrTBButton(B);
        B->AddToDock(Dock);
        B->AdjustBounds();
        Dock->AdjustBounds();
        return B;
    }

    // Presses the bar's drag box and moves the mouse by each step in turn.
    static void Drag(TfrToolBar* Bar, std::initializer_list<QPoint> Steps)
    {
        const QPoint Start = Bar->DragBox()->mapToGlobal(QPoint(5, 5));
        Press(Bar->DragBox(), QPoint(5, 5));
        QWidget* Target = Bar->DragBox();
        for (QPoint Step : Steps) {
            if (Bar->Floating())
                break;
            Move(Target, Target->mapFromGlobal(Start + Step));
        }
        if (!Bar->Floating())
            Release(Target, Target->mapFromGlobal(Start));
    }

    TForm Form;
    TfrDock* Top;
    TfrDock* Bottom;
    TfrDock* Left;
};

} // namespace

TEST(Dock, BarsTakeRowsAndTheDockShrinksToOnePixelWithoutThem)
{
    struct TRow { const char* Name; int Side; const char* Bar; const char* Dock; const char* Two; };
    const TRow Rows[] = {
        {"Top", 0, "0,0 81x26", "0,0 400x27", "0,0 400x53"},
        {"Bottom", 1, "0,1 81x26", "0,273 400x27", "0,247 400x53"},
        {"LeftTurnsTheBar", 2, "0,0 26x81", "0,1 27x298", "0,1 53x298"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        THost H;
        TfrDock* Dock = Row.Side == 0 ? H.Top : Row.Side == 1 ? H.Bottom : H.Left;
        TfrToolBar* A = H.Bar("A", Dock);
        EXPECT_EQ(Geometry(A), Row.Bar);
        EXPECT_EQ(Geometry(Dock), Row.Dock);
        TfrToolBar* B = H.Bar("B", Dock);
        EXPECT_EQ(Geometry(Dock), Row.Two);
        delete A;
        EXPECT_EQ(Geometry(Dock), Row.Dock) << "the empty row closes";
        delete B;
        EXPECT_EQ(Row.Side == 2 ? Dock->width() : Dock->height(), 1);
    }
}

TEST(Dock, DraggingMovesAlongByPixelsAcrossByRowsAndFloatsPast20Pixels)
{
    struct TRow
    {
        const char* Name;
        bool Second;   // B shares row 0 at x 100
        std::initializer_list<QPoint> Steps;
        bool CanFloat;
        const char* Expected;   // A's place and the dock's height, or "float"
    };
    const TRow Rows[] = {
        {"AlongByPixels", true, {{7, 3}}, true, "7,0 h27"},
        {"TwentyPixelsOnlyClamps", true, {{-20, 0}}, true, "0,0 h27"},
        {"TwentyOnePixelsFloat", true, {{-20, 0}, {-21, 0}}, true, "float h27"},
        {"AcrossByWholeRows", true, {{0, 30}}, true, "0,26 h53"},
        {"PushedBesideTheOther", true, {{90, 0}}, true, "19,0 h27"},
        {"JumpsOverTheOtherWhenPulledFar", true, {{90, 0}, {110, 0}}, true, "181,0 h27"},
        {"AloneLeavingItsRowFloats", false, {{0, 26}}, true, "float h1"},
        {"AboveTheFirstRowFloats", false, {{0, -26}}, true, "float h1"},
        {"MayNotFloatClampsPast20", true, {{-30, 0}}, false, "0,0 h27"},
        {"MayNotFloatStaysInTheFirstRow", false, {{0, -26}}, false, "0,0 h27"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        THost H;
        TfrToolBar* A = H.Bar("A", H.Top);
        if (Row.Second)
            H.Bar("B", H.Top)->DockTo(H.Top, 100, 0);
        A->SetCanFloat(Row.CanFloat);
        THost::Drag(A, Row.Steps);
        const QString Place = A->Floating() ? QStringLiteral("float") : QStringLiteral("%1,%2").arg(A->x()).arg(A->y());
        EXPECT_EQ(QStringLiteral("%1 h%2").arg(Place).arg(H.Top->height()), Row.Expected);
        EXPECT_EQ(A->Floating(), A->GetFloatWindow() != nullptr);
        if (A->Floating()) {
            EXPECT_EQ(A->GetFloatWindow()->ClientArea().size(), QSize(A->width() - 11, A->height()));
            EXPECT_TRUE(A->DragBox()->isHidden());
        }
    }
}

TEST(Dock, FloatWindowDocksUnderTheMouseWithinItsOrientation)
{
    struct TRow { const char* Name; TfrOrientation Orientation; QPoint Over; const char* Expected; };
    const TRow Rows[] = {
        {"TopDockAtTheMouse", toAny, {150, 0}, "TopDock 150,0"},
        {"LeftDockTurnsTheBar", toAny, {0, 120}, "LeftDock 0,119"},
        {"HorizontalOnlyStaysFloatingOverTheLeftDock", toHorzOnly, {0, 120}, "floating"},
        {"VerticalOnlyStaysFloatingOverTheTopDock", toVertOnly, {150, 0}, "floating"},
        {"ClampedToTheDockEnd", toAny, {390, 0}, "TopDock 319,0"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        THost H;
        TfrToolBar* A = H.Bar("A", H.Top);
        A->SetOrientation(Row.Orientation);
        A->FloatAt(200, 150);
        TfrFloatWindow* Window = A->GetFloatWindow();
        ASSERT_NE(Window, nullptr);
        Window->DragMouseDown(QPoint(200, 150));
        Window->DragMouseMove(H.Form.mapToGlobal(Row.Over));
        const QString Result = A->Floating() ? QStringLiteral("floating")
                                             : QStringLiteral("%1 %2,%3").arg(A->parentWidget()->objectName())
                                                   .arg(A->x()).arg(A->y());
        EXPECT_EQ(Result, Row.Expected);
        EXPECT_EQ(A->Dragging(), !A->Floating()) << "the press goes on dragging the docked bar";
        if (A->Floating()) {
            EXPECT_EQ(Window->DragRect().topLeft(), H.Form.mapToGlobal(Row.Over));
            Window->DragMouseUp();
            EXPECT_EQ(Window->pos(), H.Form.mapToGlobal(Row.Over));
        }
    }
}

TEST(Dock, StatesAndPlacesComeBackFromTheSettingsStore)
{
    QTemporaryDir Folder;
    TRegIniFile::SetStorageFolder(Folder.path());
    THost H;
    TfrToolBar* A = H.Bar("A", H.Top);
    TfrToolBar* B = H.Bar("B", H.Top);
    B->DockTo(H.Top, 100, 0);
    A->DockTo(H.Top, 10, 0);
    A->SaveState();
    B->FloatAt(250, 120);
    B->SaveState();
    {
        TRegIniFile Ini(QStringLiteral("Software\\Pagewright"));
        EXPECT_EQ(Ini.ReadString("ToolBar\\A", "DockName", ""), QStringLiteral("TopDock"));
        EXPECT_FALSE(Ini.ValueExists("ToolBar\\B", "DockName"));
    }
    A->DockTo(H.Left, 0, 0);
    B->DockTo(H.Bottom, 0, 1);
    A->RestoreState();
    B->RestoreState();
    EXPECT_EQ(A->parentWidget(), H.Top);
    EXPECT_EQ(Geometry(A), QStringLiteral("10,0 81x26"));
    ASSERT_TRUE(B->Floating());
    EXPECT_EQ(B->GetFloatWindow()->pos(), QPoint(250, 120));
    EXPECT_EQ(H.Bottom->height(), 1);

    // No section: every value is the current one.
    TfrToolBar* C = H.Bar("C", H.Bottom);
    const QString Before = Geometry(C);
    C->RestoreState();
    EXPECT_EQ(Geometry(C), Before);
    EXPECT_EQ(C->parentWidget(), H.Bottom);
    EXPECT_TRUE(C->IsVisible());

    // A float window saved far off the screen comes back onto it.
    {
        TRegIniFile Ini(QStringLiteral("Software\\Pagewright"));
        Ini.WriteInteger("ToolBar\\B", "XPosition", 9000);
    }
    B->DockTo(H.Top, 200, 0);
    B->RestoreState();
    EXPECT_TRUE(ScreenWorkArea().intersects(B->GetFloatWindow()->geometry()));
    TRegIniFile::SetStorageFolder(QString());
}

TEST(Dock, WindowPlacementRoundTripsAndComesBackOnScreen)
{
    QTemporaryDir Folder;
    TRegIniFile::SetStorageFolder(Folder.path());
    TForm Form;
    Form.SetBounds(40, 50, 300, 200);
    RestoreFormPosition(&Form);
    EXPECT_EQ(QRect(Form.Left(), Form.Top(), Form.Width(), Form.Height()), QRect(40, 50, 300, 200))
        << "a missing section keeps the bounds";
    SaveFormPosition(&Form);
    {
        TRegIniFile Ini(QStringLiteral("Software\\Pagewright"));
        EXPECT_EQ(Ini.ReadInteger("Form\\TForm", "Width", 0), 300);
        EXPECT_FALSE(Ini.ReadBool("Form\\TForm", "Maximized", true));
    }
    Form.SetBounds(0, 0, 100, 100);
    RestoreFormPosition(&Form);
    EXPECT_EQ(QRect(Form.Left(), Form.Top(), Form.Width(), Form.Height()), QRect(40, 50, 300, 200));
    {
        TRegIniFile Ini(QStringLiteral("Software\\Pagewright"));
        Ini.WriteInteger("Form\\TForm", "XPosition", -5000);
    }
    RestoreFormPosition(&Form);
    EXPECT_TRUE(ScreenWorkArea().intersects(Form.frameGeometry()));
    TRegIniFile::SetStorageFolder(QString());
}
