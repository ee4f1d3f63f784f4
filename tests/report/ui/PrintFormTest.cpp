// The print dialog over fake printers: the printer chosen and put back, the
// copies and page list as the caller reads them, the collate picture.
#include "UiTestUtil.h"
#include "platform/gui/Printers.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TestRender.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Fmt.h"
#include "report/engine/FR_PrintDlg.h"
#include "report/engine/FR_Prntr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <memory>

using namespace uitest;

namespace {

class TPrintFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TPrinterDescription Laser, Ink;
        Laser.Name = "Laser";
        Ink.Name = "Ink";
        Fakes = std::make_unique<TFakePrinters>(QList<TPrinterDescription>{Laser, Ink});
        frPrinter()->AttachPrinter(Printer());
        frPrinter()->SelectPrinter(0);
    }
    void TearDown() override
    {
        Fakes.reset();
        frPrinter()->AttachPrinter(Printer());
    }

    std::unique_ptr<TFakePrinters> Fakes;
};

} // namespace

TEST_F(TPrintFormTest, ChosenPrinterStaysOnlyWithOk)
{
    for (bool Ok : {true, false}) {
        SCOPED_TRACE(Ok ? "OK" : "Cancel");
        TfrPrintForm Form;
        int Chosen = -1;
        QStringList Items;
        TModalHandlers Handlers(
            [&](TForm*) -> TModalResult {
                for (int i = 0; i < Form.CB1->count(); ++i)
                    Items << Form.CB1->itemText(i);
                Form.CB1->setCurrentIndex(1);
                Chosen = frPrinter()->PrinterIndex;
                (Ok ? Form.Button1 : Form.Button2)->Click();
                return mrNone;
            },
            nullptr);
        Form.ShowModal();
        EXPECT_EQ(Items.mid(0, 2), (QStringList{"Laser", "Ink"}));
        EXPECT_EQ(Items.size(), 3) << "the virtual printer comes last";
        EXPECT_EQ(Chosen, 1);
        EXPECT_EQ(frPrinter()->PrinterIndex, Ok ? 1 : 0);
        frPrinter()->SelectPrinter(0);
    }
}

TEST_F(TPrintFormTest, CopiesAndPagesAsTheCallerReadsThem)
{
    struct TRow { const char* Name; const char* Typed; int Step; const char* Shown; int Copies; };
    const TRow Rows[] = {
        {"DownStopsAtOne", "1", -1, "1", 1},      {"UpAddsOne", "3", 1, "4", 4},
        {"UpFromNoNumber", "abc", 1, "2", 2},    {"ZeroIsOne", "0", 0, "0", 1},
        {"FractionIsOne", "2.5", 0, "2.5", 1},   {"BlanksAround", " 7 ", 0, " 7 ", 7},
    };
    TfrPrintForm Form;
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        Form.E1->setText(Row.Typed);
        if (Row.Step != 0)
            Click(Row.Step > 0 ? Form.frSpeedButton1 : Form.frSpeedButton2);
        EXPECT_EQ(Form.E1->text(), QString::fromLatin1(Row.Shown));
        EXPECT_EQ(Form.Copies(), Row.Copies);
    }
    EXPECT_EQ(Form.PageNumbers(5), QString());
    Form.RB2->setChecked(true);
    EXPECT_EQ(Form.PageNumbers(5), QStringLiteral("5"));
    Form.E2->setText("1,3-5");
    QFocusEvent Enter(QEvent::FocusIn);
    QCoreApplication::sendEvent(Form.E2, &Enter);
    EXPECT_TRUE(Form.RB3->isChecked());
    EXPECT_EQ(Form.PageNumbers(5), QStringLiteral("1,3-5"));
}

TEST_F(TPrintFormTest, CollatePictureFollowsTheCheckBox)
{
    TfrPrintForm Form;
    Form.show();
    const QPoint PB1 = Form.PB1->mapTo(&Form, QPoint(0, 0));
    const unsigned Face = ColorToQColor(clBtnFace).rgb() & 0xFFFFFF;
    const QImage Collated = RenderWidget(&Form);
    EXPECT_EQ(Pixel(Collated, PB1.x() + 8, PB1.y()), 0x000000u) << "the first page's corner";
    EXPECT_EQ(Pixel(Collated, PB1.x(), PB1.y() + 8), Face);
    Click(Form.Label3);
    EXPECT_FALSE(Form.CollateCB->isChecked());
    const QImage Uncollated = RenderWidget(&Form);
    EXPECT_EQ(Pixel(Uncollated, PB1.x() + 8, PB1.y()), Face);
    EXPECT_EQ(Pixel(Uncollated, PB1.x(), PB1.y() + 8), 0x000000u);
    EXPECT_EQ(Form.CB2->x(), RectRight(Form.Label5->geometry()) + 11);

    const QString Keep = QString::fromLocal8Bit(qgetenv("TB_IMAGES_DIR"));
    if (Keep.isEmpty())
        return;
    Click(Form.Label3);
    RenderToPng(&Form, Keep + QStringLiteral("/print-dialog.png"));
    TfrFmtForm Fmt;
    Fmt.SetFormat(0x0102022C);
    Fmt.OnShow(&Fmt);
    RenderToPng(&Fmt, Keep + QStringLiteral("/format-dialog.png"));
}
