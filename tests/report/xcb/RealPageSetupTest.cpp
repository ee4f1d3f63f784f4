// Qt's page-setup dialog as the preview's Page setup shows it on the PDF
// printer, driven as a user would: the paper it shows is the report's, and
// an OK without a change keeps that paper exactly.
#include "DialogUser.h"
#include "report/designer/DesignerTestUtil.h"

#include "platform/gui/Printers.h"
#include "report/engine/FR_Preview.h"
#include "report/engine/FR_Prntr.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QPageSize>
#include <QRadioButton>
#include <QRegularExpression>

namespace designertest {
namespace {

using namespace xcbtest;

class RealPageSetupTest : public TDesignerTest
{
protected:
    void SetUp() override
    {
        TDesignerTest::SetUp();
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    }
    QTemporaryDir Dir;
};

// The sheets of a PDF file in points, in page order.
QString PdfSheets(const QString& File)
{
    QFile F(File);
    if (!F.open(QIODevice::ReadOnly))
        return QStringLiteral("missing");
    const QString Pdf = QString::fromLatin1(F.readAll());
    QStringList Sizes;
    const QRegularExpression Box(QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([\\d.]+)\\s+([\\d.]+)\\s*\\]"));
    for (auto It = Box.globalMatch(Pdf); It.hasNext();) {
        const auto M = It.next();
        Sizes << QStringLiteral("%1x%2").arg(qRound(M.captured(1).toDouble())).arg(qRound(M.captured(2).toDouble()));
    }
    return Sizes.join(u' ');
}

// One after another on one report: a custom paper picked, reopened, turned,
// reopened; then templates on table papers that Qt sizes otherwise (B4, Folio)
// or lists as they are (A3 Extra), opened and left as they are.
TEST_F(RealPageSetupTest, ThePaperShownIsThePaperKept)
{
    auto NoPrinters = std::make_unique<TFakePrinters>(QList<TPrinterDescription>{});
    frPrinter()->AttachPrinter(Printer());
    Report.SetShowProgress(false);
    TfrPreviewForm Preview;
    const struct
    {
        const char* Step;
        int Paper;             // the template's paper code set before, 0 none
        int Pick;              // the Qt page size picked, -1 none
        const char* Typed;     // width and height typed for a custom paper
        bool Turn;             // the other orientation clicked
        const char* Shown;     // paper, width x height in mm, orientation as the dialog opens
        const char* Printed;   // the sheet in points
        int Code;              // the report page's paper code afterwards
    } Steps[] = {
        {"custom picked", 9, QPageSize::Custom, "150 100", false, "A4 210x297 portrait", "425x283", 256},
        {"reopened", 0, -1, "", false, "Custom 150x100 portrait", "425x283", 256},
        {"turned", 0, -1, "", true, "Custom 150x100 portrait", "283x425", 256},
        {"reopened", 0, -1, "", false, "Custom 100x150 landscape", "283x425", 256},
        // Qt's dialog shows the ISO B4 it finds close by; left so, the paper stays.
        {"B4", 12, -1, "", false, "Custom 250x353 portrait", "709x1003", 12},
        {"Folio", 14, -1, "", false, "Fan-fold German Legal (8.5 x 13 in) 215.9x330 portrait", "612x936", 14},
        {"A3 Extra", 63, -1, "", false, "A3 Extra 322x445 portrait", "913x1262", 63},
    };
    int Index = 0;
    for (const auto& Step : Steps) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(++Index).arg(QString::fromUtf8(Step.Step)).toStdString());
        if (Step.Paper) {
            Page()->ChangePaper(Step.Paper, 0, 0, frNoBin, poPortrait);
            ASSERT_TRUE(Report.PrepareReport());
        }
        Preview.Connect(&Report);
        QString Shown;
        TDialogUser User;
        User.Then([&](QDialog* D) {
            auto* Papers = D->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
            auto* Width = D->findChild<QDoubleSpinBox*>(QStringLiteral("pageWidth"));
            auto* Height = D->findChild<QDoubleSpinBox*>(QStringLiteral("pageHeight"));
            auto* Landscape = D->findChild<QRadioButton*>(QStringLiteral("landscape"));
            auto* Portrait = D->findChild<QRadioButton*>(QStringLiteral("portrait"));
            auto* Buttons = D->findChild<QDialogButtonBox*>();
            if (!Papers || !Width || !Height || !Landscape || !Portrait || !Buttons) {
                D->reject();
                return;
            }
            Shown = QStringLiteral("%1 %2x%3 %4").arg(Papers->currentText()).arg(Width->value()).arg(Height->value())
                        .arg(Landscape->isChecked() ? QStringLiteral("landscape") : QStringLiteral("portrait"));
            for (int i = 0; i < Papers->count() && Step.Pick >= 0; ++i) {
                const QVariant Data = Papers->itemData(i);
                if (Data.isValid() ? Data.value<QPageSize>().id() == Step.Pick : Step.Pick == QPageSize::Custom)
                    Papers->setCurrentIndex(i);
            }
            const QStringList Typed = QString::fromUtf8(Step.Typed).split(u' ', Qt::SkipEmptyParts);
            if (Typed.size() == 2) {
                TypeOver(Width, Typed[0]);
                TypeOver(Height, Typed[1]);
            }
            if (Step.Turn)
                (Landscape->isChecked() ? Portrait : Landscape)->click();
            Buttons->button(QDialogButtonBox::Ok)->click();
        });
        Preview.PageSetupBtnClick();
        EXPECT_EQ(Shown, QString::fromUtf8(Step.Shown));
        Preview.Disconnect();
        const QString File = Dir.filePath(QStringLiteral("%1.pdf").arg(Index));
        Printer()->SetOutputFileName(File);
        Report.PrintPreparedReport(QString(), 1, true, 0);
        Printer()->SetOutputFileName(QString());
        EXPECT_EQ(PdfSheets(File), QString::fromUtf8(Step.Printed));
        EXPECT_EQ(Page()->Size, Step.Code);
    }
    NoPrinters.reset();
    frPrinter()->AttachPrinter(Printer());
}

} // namespace
} // namespace designertest
