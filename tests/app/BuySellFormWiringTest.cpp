// The main window's hand-over to the document window: a document card opens
// it read-only and refreshes only when it was unlocked; the new-document
// button goes through the chooser.
#include "ProgramFixture.h"

#include "app/BillForm.h"
#include "app/BuySellForm.h"
#include "app/CardPage.h"
#include "app/GetPayForm.h"
#include "platform/gui/ExtCtrls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

class BuySellWiring : public TProgramFixture
{
protected:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        FormBill = new TFormBill();
        FormBuySell = new TFormBuySell();
        FormGetPay = new TFormGetPay();
        Exec(QStringLiteral("Insert Into Customer (CustomerName) Values ('甲')"));
        Exec(QStringLiteral("Insert Into Bill (BillKind, BillUser, BillSum, BillCreateTime) Values "
                            "('采购开单', '甲', -50, '2024-03-15 00:00:00')"));
        TModalHandlers Handlers(User({Press(FormLogin->SpeedButton4)}), nullptr);
        FormMain->Show();
        ASSERT_FALSE(Application()->Terminated());
        FormMain->SetWorkingDay(EncodeDate(2024, 3, 15));
        FormMain->RefreshAll();
    }

    void TearDown() override
    {
        delete FormGetPay;
        FormGetPay = nullptr;
        delete FormBuySell;
        FormBuySell = nullptr;
        delete FormBill;
        FormBill = nullptr;
        TProgramFixture::TearDown();
    }
};

TEST_F(BuySellWiring, ADocumentCardRefreshesOnlyWhenUnlocked)
{
    for (bool Unlock : {false, true}) {
        SCOPED_TRACE(Unlock);
        // A change made behind the main window shows only after a refresh.
        Exec(QStringLiteral("Update Bill Set BillUser = '%1' Where BillIndex = 2").arg(Unlock ? QStringLiteral("丙") : QStringLiteral("乙")));
        QString Seen;
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                if (Form == FormBuySell) {
                    Seen = FormBuySell->Mode + u'|' + FormBuySell->Kind + u'|' + QString::number(FormBuySell->BillIndex);
                    if (Unlock)
                        FormBuySell->SpeedButton4->Click();
                }
                return mrCancel;
            },
            nullptr);
        FormMain->BillCards->Panels[0]->Click();
        EXPECT_EQ(Seen, QStringLiteral("修改|采购开单|2"));
        EXPECT_EQ(FormMain->BillCards->Names[0]->text(), Unlock ? QStringLiteral("丙") : QStringLiteral("甲"));
    }
}

TEST_F(BuySellWiring, TheNewButtonSavesASaleThroughTheChooser)
{
    TModalHandlers Handlers(
        [&](TForm* Form) -> TModalResult {
            if (Form == FormBill)
                FormBill->BitBtn1->Click();
            if (Form == FormBuySell) {
                FormBuySell->ComboBox5->setEditText(QStringLiteral("甲"));
                FormBuySell->Edit2->setText(QStringLiteral("70"));
                FormBuySell->BitBtn1->Click();
            }
            return mrNone;
        },
        [](const TMessageRequest&) { return mrOk; });
    // The button sits on a page that need not be the current one.
    FormMain->NewBillClick(FormMain->BillCards->NewButton);
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("单据新增成功")});
    EXPECT_EQ(FormMain->BillCards->Names[0]->text(), QStringLiteral("甲"));
    EXPECT_EQ(Scalar(QStringLiteral("Select BillSum || '|' || BillSerial From Bill Where BillIndex = 3")),
              QStringLiteral("70.0|XS1001"));
}
