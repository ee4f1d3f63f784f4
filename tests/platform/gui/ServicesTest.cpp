// Posted calls, timers, the clipboard, the shell seam and system metrics.
#include "GuiTestUtil.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Screen.h"
#include "platform/gui/Shell.h"
#include "platform/gui/SystemMetrics.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <gtest/gtest.h>

TEST(PostedCall, RunsOnceFromTheLoopAndCanBeCancelled)
{
    struct TRow
    {
        const char* Name;
        std::function<void(TPostedCall&)> Act;
        int Expected;
    };
    const TRow Rows[] = {
        {"OnePost", [](TPostedCall& C) { C.Post(); }, 1},
        {"PostWhileQueuedIsDropped", [](TPostedCall& C) { C.Post(); C.Post(); C.Post(); }, 1},
        {"Cancelled", [](TPostedCall& C) { C.Post(); C.Cancel(); }, 0},
        {"PostAfterCancel", [](TPostedCall& C) { C.Post(); C.Cancel(); C.Post(); }, 1},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        int Runs = 0;
        TPostedCall Call([&] { ++Runs; });
        Row.Act(Call);
        EXPECT_EQ(Runs, 0); // nothing runs before the loop
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        EXPECT_EQ(Runs, Row.Expected);
        EXPECT_FALSE(Call.Queued());
    }
    int Runs = 0;
    {
        TPostedCall Gone([&] { ++Runs; });
        Gone.Post();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(Runs, 0); // the end of the object drops its call
}

TEST(Timer, FiresWhileEnabled)
{
    TTimer Timer;
    int Ticks = 0;
    Timer.OnTimer = [&](QObject*) { ++Ticks; };
    Timer.SetInterval(5);
    QElapsedTimer Clock;
    Clock.start();
    while (Ticks < 2 && Clock.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_GE(Ticks, 2);
    Timer.SetEnabled(false);
    const int Stopped = Ticks;
    Clock.restart();
    while (Clock.elapsed() < 30)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    EXPECT_EQ(Ticks, Stopped);
    const uint32_t A = GetTickCount();
    EXPECT_GE(GetTickCount() - A, 0u);
}

TEST(Clipboard, OneCopyCarriesEveryFormat)
{
    TClipboard* C = Clipboard();
    C->Open();
    C->SetAsText(QStringLiteral("甲\t乙"));
    C->SetFormat(QStringLiteral("Csv"), QByteArray("a,b"));
    C->SetFormat(QStringLiteral("VCLDBIF"), QByteArray("\x01\x02", 2));
    C->Close();
    EXPECT_EQ(C->AsText(), QStringLiteral("甲\t乙"));
    EXPECT_TRUE(C->HasFormat(QStringLiteral("Csv")));
    EXPECT_EQ(C->GetFormat(QStringLiteral("VCLDBIF")), QByteArray("\x01\x02", 2));
    EXPECT_EQ(C->GetFormat(QStringLiteral("Csv")), QByteArray("a,b"));

    C->SetAsText(QStringLiteral("only text")); // a new copy replaces all formats
    EXPECT_FALSE(C->HasFormat(QStringLiteral("Csv")));
    EXPECT_EQ(C->AsText(), QStringLiteral("only text"));
}

TEST(Shell, OpenGoesThroughTheHandler)
{
    QStringList Opened;
    const TShellHandler Old = SetShellHandler([&](const QString& T) { Opened << T; return true; });
    EXPECT_TRUE(ShellOpen(QStringLiteral("http://example.com/Tallybridge")));
    EXPECT_TRUE(ShellOpen(QStringLiteral("/tmp")));
    SetShellHandler(Old);
    EXPECT_EQ(Opened, (QStringList{QStringLiteral("http://example.com/Tallybridge"), QStringLiteral("/tmp")}));
}

// An address opens as itself, anything else as a local path: a drive letter,
// a colon after a folder or after a non-ASCII name is no scheme.
TEST(Shell, TargetWithASchemeOpensAsAnAddress)
{
    const struct
    {
        const char* Target;
        const char* Opened;   // "url <text>", or "file" for a local path
    } Rows[] = {
        {"mailto:sales@example.com", "url mailto:sales@example.com"},
        {"http://example.com/Tallybridge", "url http://example.com/Tallybridge"},
        {"svn+ssh://host/x", "url svn+ssh://host/x"},
        {"C:\\报表\\Bill.frf", "file"},
        {"/home/用户/Frf/Bill.frf", "file"},
        {"Frf/a:b.frf", "file"},
        {"报表:1.frf", "file"},
        {"1ab:c", "file"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Target);
        const QUrl U = ShellTargetUrl(QString::fromUtf8(Row.Target));
        const QString Opened = U.isLocalFile() ? QStringLiteral("file") : QStringLiteral("url ") + U.toString();
        EXPECT_EQ(Opened, QString::fromUtf8(Row.Opened));
    }
}

TEST(SystemMetrics, AreSensible)
{
    EXPECT_GT(ScrollBarWidth(), 0);
    EXPECT_GT(DoubleClickTime(), 0);
    EXPECT_GE(DoubleClickDistance(), 0);
    EXPECT_FALSE(ScreenWorkArea().isEmpty());
    EXPECT_GT(ScreenDpi(), 0);
}

TEST(Screen, CursorOverrideFollowsTheScreenCursor)
{
    {
        TWaitCursor Wait;
        EXPECT_EQ(Screen()->Cursor(), crHourGlass);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(Screen()->Cursor(), crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    Screen()->SetCursors(11, QCursor(Qt::CrossCursor));
    EXPECT_EQ(Screen()->Cursors(11).shape(), Qt::CrossCursor);
    EXPECT_EQ(Screen()->Cursors(crHSplit).shape(), Qt::SplitHCursor);
    EXPECT_EQ(Screen()->Cursors(crAppStart).shape(), Qt::BusyCursor);
}
