// The chooser of a new receipt or payment and the money cards of the main
// window, both handing over to the receipt and payment window.
#include "ProgramFixture.h"

#include "app/Bill2Form.h"
#include "app/CardPage.h"
#include "app/GetPayForm.h"
#include "platform/gui/ExtCtrls.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>

class Bill2 : public TProgramFixture
{
protected:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        Application()->CreateForm(FormGetPay);
        Application()->CreateForm(FormBill2);
        Exec(QStringLiteral("Insert Into Account (AccountName) Values ('现金')"));
        TModalHandlers Handlers(User({Press(FormLogin->SpeedButton4)}), nullptr);
        FormMain->Show();
        ASSERT_FALSE(Application()->Terminated());
        FormMain->SetWorkingDay(EncodeDate(2024, 3, 15));
        FormMain->RefreshAll();
    }

    void TearDown() override
    {
        TProgramFixture::TearDown();
        FormGetPay = nullptr;
        FormBill2 = nullptr;
    }
};

TEST_F(Bill2, ChooserStartsAStandAloneRowAndRefreshesTheCards)
{
    struct TCase { const char* Name; TBitBtn* TFormBill2::*Button; const char* Kind; double Sum; };
    const TCase Cases[] = {
        {"receipt", &TFormBill2::BitBtn1, "财务收入单", 30},
        {"payment", &TFormBill2::BitBtn2, "财务支出单", -20},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        // Left over from an earlier caller: the chooser must clear them.
        FormGetPay->BillIndex = 9;
        FormGetPay->CustomerFixed = true;
        FormGetPay->RemarkText = QStringLiteral("旧备注");
        QString Mode, Kind, Remark, Day;
        int ChooserShows = 0;
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                if (Form == FormBill2) {
                    ++ChooserShows;
                    (FormBill2->*C.Button)->Click();
                } else if (Form == FormGetPay) {
                    Mode = FormGetPay->Mode;
                    Kind = FormGetPay->Kind;
                    Remark = FormGetPay->Edit3->text();
                    Day = FormGetPay->DateTimePicker1->date().toString(Qt::ISODate);
                    FormGetPay->ComboBox5->setEditText(QStringLiteral("丙"));
                    FormGetPay->Edit2->setText(QString::number(std::abs(C.Sum)));
                    FormGetPay->BitBtn1->Click();
                }
                return mrNone;
            },
            [](const TMessageRequest&) { return mrOk; });
        FormMain->NewMoneyClick(nullptr);
        EXPECT_EQ(ChooserShows, 1);
        EXPECT_EQ(FormBill2->ModalResult(), mrOk);
        EXPECT_EQ(Mode, QStringLiteral("新增"));
        EXPECT_EQ(Kind, QString::fromUtf8(C.Kind));
        EXPECT_EQ(Remark, QString());
        EXPECT_EQ(Day, QStringLiteral("2024-03-15"));
        const QString Last = QStringLiteral(" From MoneyTable Where MoneyIndex = (Select Max(MoneyIndex) From MoneyTable)");
        EXPECT_DOUBLE_EQ(Scalar("Select MoneySum" + Last).toDouble(), C.Sum);
        EXPECT_EQ(Scalar("Select MoneyBill" + Last), QStringLiteral("0"));
        EXPECT_EQ(Scalar("Select MoneyCreateTime" + Last), QStringLiteral("2024-03-15"));
    }
    // Both new rows are on the working day's money cards.
    EXPECT_EQ(FormMain->MoneyCards->Names[0]->text(), QStringLiteral("丙"));
    EXPECT_FALSE(FormMain->MoneyCards->Panels[1]->isHidden());
}

TEST_F(Bill2, MoneyCardOpensItsRowByTheSignOfTheSum)
{
    Exec(QStringLiteral("Insert Into MoneyTable (MoneyAccount, MoneyUser, MoneySum, MoneyOut, MoneyCreateTime) Values "
                        "(2, '甲', -20, 20, '2024-03-15 00:00:00')"));
    FormMain->RefreshAll();
    QString Mode, Kind, Amount;
    int Index = 0;
    TModalHandlers Handlers(
        [&](TForm* Form) -> TModalResult {
            if (Form == FormGetPay) {
                Mode = FormGetPay->Mode;
                Kind = FormGetPay->Kind;
                Index = FormGetPay->MoneyIndex;
                Amount = FormGetPay->Edit2->text();
            }
            return mrNone;
        },
        [](const TMessageRequest&) { return mrOk; });
    FormMain->MoneyCards->Panels[0]->Click();
    EXPECT_EQ(Mode, QStringLiteral("修改"));
    EXPECT_EQ(Kind, QStringLiteral("财务支出单"));
    EXPECT_EQ(Index, Scalar(QStringLiteral("Select Max(MoneyIndex) From MoneyTable")).toInt());
    EXPECT_EQ(Amount, QStringLiteral("20"));
}
