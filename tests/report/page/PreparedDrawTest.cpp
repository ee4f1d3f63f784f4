// Prepared pages on screen and on paper: drawing at a scale, page objects
// dropped when the page leaves the screen, clicks and links, and print runs
// on the virtual printer into one PDF file.
#include "PreparedTestUtil.h"

#include "platform/gui/Graphics.h"
#include "platform/gui/Printers.h"
#include "platform/gui/Shell.h"
#include "report/engine/FR_Prntr.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace preparedtest;

namespace {

bool IsRed(const QImage& I, int X, int Y) { return I.pixel(X, Y) == qRgb(255, 0, 0); }
bool IsWhite(const QImage& I, int X, int Y) { return I.pixel(X, Y) == qRgb(255, 255, 255); }

} // namespace

TEST_F(TPreparedTest, DrawScalesTheRecordAndDropsItsObjectsOffScreen)
{
    TfrEMFPages& Pages = *Report.EMFPages();
    AddPage(Pages, *Paper, {{"Box", {100, 100, 200, 100}, "", 0x0000FF}});
    TfrPageInfo& Info = *Pages.Items(0);
    const int W = Info.PagePrnInfo.PaperWidthPx, H = Info.PagePrnInfo.PaperHeightPx;
    QImage Image(W / 2 + 20, H / 2 + 30, QImage::Format_RGB32);
    Image.fill(Qt::white);
    TCanvas Canvas(&Image);
    Info.OnScreen = true;
    Pages.Draw(0, &Canvas, QRect(20, 30, W / 2, H / 2));
    // Half size, moved by the rectangle's corner: the box spans 70..170 x 80..130.
    EXPECT_TRUE(IsRed(Image, 72, 82));
    EXPECT_TRUE(IsRed(Image, 167, 127));
    EXPECT_TRUE(IsWhite(Image, 66, 76));
    EXPECT_TRUE(IsWhite(Image, 175, 135));
    ASSERT_NE(Info.PageObject, nullptr);
    EXPECT_EQ(CurPage, Info.PageObject.get());

    // Off screen: the page object goes, and the engine forgets it.
    CurView = Info.PageObject->Objects(0);
    Info.OnScreen = false;
    Pages.Draw(0, &Canvas, QRect());
    EXPECT_EQ(Info.PageObject, nullptr);
    EXPECT_EQ(CurPage, nullptr);
    EXPECT_EQ(CurView, nullptr);

    // A record without paper width draws and answers nothing.
    Image.fill(Qt::white);
    Info.OnScreen = true;
    Info.PagePrnInfo.PaperWidthPx = 0;
    Pages.Draw(0, &Canvas, QRect(20, 30, W / 2, H / 2));
    EXPECT_TRUE(IsWhite(Image, 100, 100));
    QString Url;
    Qt::CursorShape Cursor = Qt::ArrowCursor;
    EXPECT_FALSE(Pages.DoClick(0, QPoint(150, 150), Url, Cursor, true));
}

TEST_F(TPreparedTest, ClicksOpenWebLinksAndHandBackMailAddresses)
{
    QStringList Opened;
    const TShellHandler Saved = SetShellHandler([&](const QString& T) { Opened << T; return true; });
    struct TRow
    {
        const char* Name;
        bool Margins;
        QPoint At;
        bool Click;
        bool Result;
        const char* Url;
        const char* Opened;
        bool Hand;
    };
    const TRow Rows[] = {
        {"web link opens", true, {150, 120}, true, true, "", "http://example.com/a", false},
        {"mail address comes back", true, {150, 220}, true, true, "someone@example.com", "", false},
        {"program path refused", true, {150, 320}, true, true, "", "", false},
        {"plain view without event", true, {150, 420}, true, false, "", "", false},
        {"nothing there", true, {600, 600}, true, false, "", "", false},
        {"hand over a link", true, {150, 120}, false, true, "http://example.com/a", "", true},
        {"page mapped to the printable area: corner misses", false, {110, 101}, true, false, "", "", false},
        {"page mapped to the printable area: middle hits", false, {200, 130}, true, true, "", "http://example.com/a",
         false},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TfrEMFPages Pages(&Report);
        Paper->UseMargins = Row.Margins ? -1 : 0;
        AddPage(Pages, *Paper,
                {{"URLWeb", {100, 100, 200, 50}, "http://example.com/a"},
                 {"urlMail", {100, 200, 200, 50}, "someone@example.com"},
                 {"URLBad", {100, 300, 200, 50}, "/bin/sh"},
                 {"Plain", {100, 400, 200, 50}, "p"}});
        Opened.clear();
        QString Url = "old";
        Qt::CursorShape Cursor = Qt::ArrowCursor;
        EXPECT_EQ(Pages.DoClick(0, Row.At, Url, Cursor, Row.Click), Row.Result);
        EXPECT_EQ(Url, QString(Row.Result ? Row.Url : "old"));
        EXPECT_EQ(Opened.join(','), QString(Row.Opened));
        EXPECT_EQ(Cursor == Qt::PointingHandCursor, Row.Hand);
    }
    SetShellHandler(Saved);
}

namespace {

// Page sizes of a PDF file in points, in page order.
QStringList PdfPages(const QString& File)
{
    QFile F(File);
    if (!F.open(QIODevice::ReadOnly))
        return {"missing"};
    const QString Pdf = QString::fromLatin1(F.readAll());
    QStringList Sizes;
    const QRegularExpression Box("/MediaBox\\s*\\[\\s*0\\s+0\\s+([\\d.]+)\\s+([\\d.]+)\\s*\\]");
    for (auto It = Box.globalMatch(Pdf); It.hasNext();) {
        const auto M = It.next();
        Sizes << QStringLiteral("%1x%2").arg(qRound(M.captured(1).toDouble())).arg(qRound(M.captured(2).toDouble()));
    }
    return Sizes;
}

} // namespace

TEST_F(TPreparedTest, PrintRunsOnTheVirtualPrinter)
{
    auto NoPrinters = std::make_unique<TFakePrinters>(QList<TPrinterDescription>{});
    frPrinter()->AttachPrinter(Printer());
    struct TRow
    {
        const char* Name;
        const char* Pages;
        int Copies;
        bool Collate;
        uint8_t Parity;
        bool PaperChange;
        const char* Progress;
        int PlatformCopies;
        const char* Sheets;
    };
    const TRow Rows[] = {
        {"two collated copies", "", 2, true, 0, false, "1 2 3 1 2 3", 1,
         "595x842 595x842 595x842 595x842 595x842 595x842"},
        // A file takes no copy count: each page goes in as often.
        {"pages 1 and 3, two copies uncollated", "1,3", 2, false, 0, false, "1 1 3 3", 2,
         "595x842 595x842 595x842 595x842"},
        {"page 2, three copies uncollated", "2", 3, false, 0, false, "2 2 2", 3, "595x842 595x842 595x842"},
        {"from page 2", "2-", 1, true, 0, false, "2 3", 1, "595x842 595x842"},
        {"odd pages", "", 1, true, 1, false, "1 3", 1, "595x842 595x842"},
        {"paper changes in the middle: one file", "", 1, true, 0, true, "1 2 3", 1, "595x842 595x420 595x842"},
    };
    QTemporaryDir Dir;
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        Report.EMFPages()->Clear();
        for (int i = 0; i < 3; ++i) {
            const bool Small = Row.PaperChange && i == 1;
            Paper->ChangePaper(Small ? 11 : 9, 0, 0, frNoBin, Small ? poLandscape : poPortrait);
            AddPage(*Report.EMFPages(), *Paper, {{"P", {50, 50, 100, 20}, QString::number(i + 1), 0x0000FF}});
        }
        QStringList Progress;
        Report.OnProgress = [&](int n) { Progress << QString::number(n); };
        const QString File = Dir.filePath(QString(Row.Name) + ".pdf");
        Printer()->SetOutputFileName(File);
        Report.PrintPreparedReport(Row.Pages, Row.Copies, Row.Collate, Row.Parity);
        Printer()->SetOutputFileName(QString());
        EXPECT_EQ(Progress.join(' '), QString(Row.Progress));
        EXPECT_EQ(Printer()->Copies(), Row.PlatformCopies);
        EXPECT_EQ(PdfPages(File).join(' '), QString(Row.Sheets));
        EXPECT_EQ(Report.EMFPages()->Items(0)->PageObject, nullptr);
    }
    NoPrinters.reset();
    frPrinter()->AttachPrinter(Printer());
}
