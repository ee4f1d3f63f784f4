// The engine printer on the virtual printer and on fake printers: paper
// codes and sizes, printable areas, failing devices, changing printers and a
// job printed to PDF.
#include "DataTestUtil.h"

#include "platform/gui/Graphics.h"
#include "platform/gui/ModalSeam.h"
#include "platform/gui/Printers.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Prntr.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// Layout pixels: paper, offsets, printable area; with Device the device
// pixels first.
QString Area(const TfrPrnInfo& I, bool Device = false)
{
    const QString Px = QStringLiteral("%1x%2 %3,%4 %5x%6").arg(I.PaperWidthPx).arg(I.PaperHeightPx)
                           .arg(I.OffsetX).arg(I.OffsetY).arg(I.PrintableWidth).arg(I.PrintableHeight);
    if (!Device)
        return Px;
    return QStringLiteral("%1x%2 %3,%4 %5x%6 ").arg(I.DevicePaperWidth).arg(I.DevicePaperHeight)
               .arg(I.DeviceOffsetX).arg(I.DeviceOffsetY).arg(I.DevicePrintableWidth)
               .arg(I.DevicePrintableHeight) + Px;
}

QString Paper(const TfrPage& P)
{
    return QStringLiteral("%1 %2x%3 ").arg(P.Size).arg(P.Width).arg(P.Height) + Area(P.PrnInfo);
}

TPrinterDescription Fake(const QString& Name, int Dpi)
{
    TPrinterDescription D;
    D.Name = Name;
    D.DpiX = D.DpiY = Dpi;
    D.PageSizes = {QPageSize(QPageSize::A4), QPageSize(QPageSize::Letter), QPageSize(QPageSize::A5)};
    D.Margins = QMarginsF(5, 5, 5, 5);
    D.Bins = {{15, "Upper tray"}, {7, "Manual feed"}};
    return D;
}

// Fresh fakes and an engine printer attached to them, on A4 portrait.
class TPrinterTest : public ::testing::Test
{
protected:
    void Install(const QList<TPrinterDescription>& Printers)
    {
        Fakes = std::make_unique<TFakePrinters>(Printers);
        Prn = frPrinter();
        Prn->PaperSize = 9;
        Prn->Orientation = 0;
        Prn->Bin = 0xFFFF;
        Prn->AttachPrinter(Printer());
    }
    void TearDown() override
    {
        Fakes.reset();
        frPrinter()->AttachPrinter(Printer());
    }

    std::unique_ptr<TFakePrinters> Fakes;
    TfrPrinter* Prn = nullptr;
};

} // namespace

TEST_F(TPrinterTest, WithoutPrintersAPageGetsVirtualA4)
{
    Install({});
    EXPECT_EQ(Prn->Printers.ToStringList(), QStringList{"Virtual printer"});
    EXPECT_EQ(Prn->PaperCount, 67);
    EXPECT_EQ(Prn->PaperNames.Strings(8), "A4 210 x 297 mm");
    // Misses: the last paper, the "Default" bin.
    EXPECT_EQ(Prn->GetPaperIndex(48), 66);
    EXPECT_EQ(Prn->GetBinIndex(7), 0);

    TfrReport Report;
    Report.Pages()->Add();
    EXPECT_EQ(Paper(*Report.Pages()->Pages(0)), "9 2100x2970 758x1071 18,18 722x1035");
}

TEST_F(TPrinterTest, PapersOnTheVirtualPrinter)
{
    struct TRow
    {
        int Size, Width, Height;
        TPrinterOrientation Orientation;
        const char* Expected;
    };
    const TRow Rows[] = {
        {9, 0, 0, poPortrait, "9 2100x2970 758x1071 18,18 722x1035"},
        {9, 0, 0, poLandscape, "9 2970x2100 1071x758 18,18 1035x722"},
        {1, 5, 5, poPortrait, "1 2159x2794 779x1008 18,18 743x972"},
        {256, 1480, 2100, poPortrait, "256 1480x2100 534x758 18,18 498x722"},
        {256, 2100, 1480, poLandscape, "256 2100x1480 758x534 18,18 722x498"},
        {256, 0, 0, poPortrait, "9 2100x2970 758x1071 18,18 722x1035"},
        {256, 0, 0, poLandscape, "9 2970x2100 1071x758 18,18 1035x722"},
        {48, 0, 0, poPortrait, "9 2100x2970 758x1071 18,18 722x1035"},
        {48, 1000, 1000, poPortrait, "48 1000x1000 361x361 18,18 325x325"},
        {-1, -5, 7, poPortrait, "9 2100x2970 758x1071 18,18 722x1035"},
        {256, 1000, 1000, poPortrait, "256 1000x1000 361x361 18,18 325x325"},
    };
    Install({});
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Expected);
        TfrPage Page(Row.Size, Row.Width, Row.Height, frNoBin, Row.Orientation);
        EXPECT_EQ(Paper(Page), QString::fromLatin1(Row.Expected));
    }
    // A custom size within a tenth of the current one is not applied again.
    Prn->SetPaper(256, 1001, 999, 0xFFFF, 0, false);
    EXPECT_EQ(QStringLiteral("%1x%2").arg(Prn->PaperWidth).arg(Prn->PaperHeight), "1000x1000");
    Prn->SetPaper(256, 1002, 1000, 0xFFFF, 0, false);
    EXPECT_EQ(Prn->PaperWidth, 1002);
}

TEST_F(TPrinterTest, PrintableAreaOfRealPrinters)
{
    Install({Fake("Office 300", 300), Fake("Office 600", 600)});
    EXPECT_EQ(Prn->Printers.ToStringList(), (QStringList{"Office 300", "Office 600", "Virtual printer"}));
    const char* Expected[] = {
        "2100x2970 2480x3508 59,59 2362x3390 757x1071 18,18 721x1035",
        "2100x2970 4961x7016 118,118 4725x6780 758x1071 18,18 722x1035",
    };
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        Prn->SelectPrinter(i);
        Prn->SetPaper(9, 0, 0, 0xFFFF, 0, true);
        TfrPrnInfo Info;
        Prn->GetPrintableArea(Info);
        EXPECT_EQ(QStringLiteral("%1x%2 ").arg(Prn->PaperWidth).arg(Prn->PaperHeight) + Area(Info, true),
                  QString::fromLatin1(Expected[i]));
    }
    // The printer's own papers and bins, "Default" first.
    EXPECT_EQ(Prn->GetPaperIndex(11), 2);
    EXPECT_EQ(Prn->BinNames.ToStringList(), (QStringList{"Default", "Upper tray", "Manual feed"}));
    Prn->SetPaper(9, 0, 0, 7, 1, false);
    EXPECT_EQ(QStringLiteral("%1x%2 %3").arg(Prn->PaperWidth).arg(Prn->PaperHeight).arg(Prn->GetBinIndex(Prn->Bin)),
              "2970x2100 2");
}

TEST_F(TPrinterTest, FailingPrinterFallsBackToTheVirtualOne)
{
    for (bool NoResolution : {true, false}) {
        SCOPED_TRACE(NoResolution);
        TPrinterDescription D = Fake("Broken", 300);
        if (NoResolution)
            D.DpiX = 0;
        else
            D.DefaultPageSize = QPageSize();   // no paper at all
        Install({D});
        EXPECT_TRUE(Prn->IsVirtual());
        EXPECT_EQ(Paper(TfrPage(9, 0, 0, frNoBin, poPortrait)), "9 2100x2970 758x1071 18,18 722x1035");
    }
}

TEST_F(TPrinterTest, ChangingPrinterRefitsPagesOrGoesBack)
{
    Install({Fake("Office 300", 300), Fake("Office 600", 600)});
    TModalHandlers Handlers(nullptr, [](const TMessageRequest&) { return mrOk; });
    TfrReport Report;
    Report.Pages()->Add();
    TfrPage* Page = Report.Pages()->Pages(0);
    EXPECT_EQ(Area(Page->PrnInfo, true), "2480x3508 59,59 2362x3390 757x1071 18,18 721x1035");

    EXPECT_TRUE(Report.ChangePrinter(0, 1));
    EXPECT_EQ(Report.PrinterName(), "Office 600");
    EXPECT_EQ(Area(Page->PrnInfo, true), "4961x7016 118,118 4725x6780 758x1071 18,18 722x1035");

    EXPECT_FALSE(Report.ChangePrinter(1, 7));
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{"Printer selected is not valid"});
    EXPECT_EQ(Report.PrinterName(), "Office 600");
    EXPECT_EQ(Prn->PrinterIndex, 1);

    Report.SetPrinterName("Virtual printer");
    EXPECT_TRUE(Prn->IsVirtual());
    Report.SetPrinterName("Gone");
    EXPECT_TRUE(Prn->IsVirtual());
    EXPECT_EQ(Report.PrinterName(), "Gone");
}

TEST_F(TPrinterTest, PropertiesDialogChangesOnlyWhenAccepted)
{
    Install({Fake("Office 300", 300)});
    for (bool Accept : {false, true}) {
        TPrinter::PropertiesDialogHook = [Accept](TPrinter*, TDeviceMode& Mode) {
            Mode.Orientation = dmoLandscape;
            Mode.PaperSize = 11;
            return Accept;
        };
        Prn->ShowPropertiesDialog();
        EXPECT_EQ(QStringLiteral("%1 %2x%3").arg(Prn->PaperSize).arg(Prn->PaperWidth).arg(Prn->PaperHeight),
                  Accept ? "11 2100x1480" : "9 2100x2970");
    }
    TPrinter::PropertiesDialogHook = nullptr;
}

TEST_F(TPrinterTest, VirtualPrinterPrintsTwoPagesToPdfOnTheAskedPaper)
{
    Install({Fake("Office 300", 300)});
    Prn->SelectPrinter(Prn->VirtualIndex);
    Prn->SetPaper(11, 0, 0, 0xFFFF, 1, false);
    QTemporaryDir Dir;
    const QString File = Dir.filePath("out.pdf");
    TPrinter* P = Printer();
    P->SetOutputFileName(File);
    P->BeginDoc();
    P->Canvas()->TextOut(100, 100, "第一页");
    // Paper changes wait for the job to end.
    Prn->SetPaper(9, 0, 0, 0xFFFF, 0, false);
    EXPECT_EQ(Prn->PaperSize, 11);
    P->NewPage();
    P->Canvas()->TextOut(100, 100, "2");
    P->EndDoc();
    P->SetOutputFileName(QString());

    QFile F(File);
    ASSERT_TRUE(F.open(QIODevice::ReadOnly));
    const QString Pdf = QString::fromLatin1(F.readAll());
    EXPECT_EQ(Pdf.count(QRegularExpression("/Type\\s*/Page\\b(?!s)")), 2);
    const QRegularExpression Box("/MediaBox\\s*\\[\\s*0\\s+0\\s+([\\d.]+)\\s+([\\d.]+)\\s*\\]");
    int Boxes = 0;
    for (auto It = Box.globalMatch(Pdf); It.hasNext(); ++Boxes) {
        const auto M = It.next();
        // A5 landscape: 210 x 148 mm in points.
        EXPECT_NEAR(M.captured(1).toDouble(), 595.28, 1);
        EXPECT_NEAR(M.captured(2).toDouble(), 419.53, 1);
    }
    EXPECT_EQ(Boxes, 2);
}
