// The receipt window's amount typed as keys into its number edit: only a
// number with up to four decimals gets in, and the calculator's result is
// saved like a typed amount.
#include "AppFixture.h"

#include "../grid/EditKeys.h"
#include "app/GetPayForm.h"
#include "grid/CalculatorEh.h"
#include "grid/ToolCtrlsEh.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/TestRender.h"

#include <QComboBox>

class GetPayAmount : public TAppFixture
{
protected:
    void SetUp() override
    {
        TAppFixture::SetUp();
        CurrentUser = QStringLiteral("张三");
        Exec(QStringLiteral("Insert Into Account (AccountName) Values ('现金')"));
        Exec(QStringLiteral("Insert Into Customer (CustomerName) Values ('甲')"));
        FormGetPay = new TFormGetPay();
        FormGetPay->Mode = QStringLiteral("新增");
        FormGetPay->Kind = QStringLiteral("财务收入单");
        FormGetPay->CustomerName = QStringLiteral("甲");
    }

    void TearDown() override
    {
        delete FormGetPay;
        FormGetPay = nullptr;
        TAppFixture::TearDown();
    }

    // Types Keys into the amount and presses OK; returns what the box showed.
    QString TypeAndSave(const QString& Keys)
    {
        QString Shown;
        TModalHandlers Handlers(
            [&](TForm*) -> TModalResult {
                SendFocus(FormGetPay->Edit2, true);
                TypeKeys(FormGetPay->Edit2, Keys);
                Shown = FormGetPay->Edit2->text();
                FormGetPay->BitBtn1->Click();
                return mrNone;
            },
            [](const TMessageRequest&) { return mrOk; });
        FormGetPay->ShowModal();
        return Shown;
    }

    QString StoredSum()
    {
        return Scalar(QStringLiteral("Select MoneySum From MoneyTable Where MoneyIndex = "
                                     "(Select Max(MoneyIndex) From MoneyTable)"));
    }
};

TEST_F(GetPayAmount, OnlyNumbersAreTyped)
{
    struct TCase
    {
        const char* Name;
        const char* Keys;
        const char* Shown;
        const char* Stored;
    };
    const TCase Cases[] = {
        {"letter dropped", "12a", "12", "12"},
        {"four decimals", "1.23456", "1.2345", "1.2345"},
        {"minus refused by the check", "-5", "-5", ""},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TModalSeam::ClearMessages();
        const QString Before = StoredSum();
        EXPECT_EQ(TypeAndSave(QString::fromLatin1(C.Keys)), QString::fromLatin1(C.Shown));
        if (*C.Stored)
            EXPECT_EQ(StoredSum(), QString::fromLatin1(C.Stored));
        else
            EXPECT_EQ(StoredSum(), Before);
    }
}

TEST_F(GetPayAmount, CalculatorResultIsSaved)
{
    EXPECT_EQ(TypeAndSave("<Alt+Down>6*7<Enter><Enter>"), "42");
    EXPECT_EQ(StoredSum(), "42");
}

TEST_F(GetPayAmount, Render)
{
    QImage Image;
    QRect Button;
    bool Shown = false;
    TModalHandlers Handlers(
        [&](TForm*) -> TModalResult {
            SendFocus(FormGetPay->Edit2, true);
            TypeKeys(FormGetPay->Edit2, "1234.5");
            Image = RenderWidget(FormGetPay);
            const TEditButtonControlEh* B = FormGetPay->Edit2->EditButtonControl(0);
            Button = QRect(B->mapTo(FormGetPay, QPoint(0, 0)), B->size());
            Shown = B->isVisible() && FormGetPay->Edit2->text() == QStringLiteral("1234.5");
            return mrCancel;
        },
        [](const TMessageRequest&) { return mrOk; });
    FormGetPay->ShowModal();
    ASSERT_FALSE(Image.isNull());
    EXPECT_TRUE(Shown);
    EXPECT_EQ(Image.pixelColor(Button.center() + QPoint(0, 5)), ColorToQColor(clBtnFace)) << "the calculator's button";
    if (const QString Dir = qEnvironmentVariable("TB_IMAGES_DIR"); !Dir.isEmpty())
        Image.save(Dir + QStringLiteral("/getpay.png"));
}
