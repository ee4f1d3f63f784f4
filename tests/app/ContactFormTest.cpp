// Contact records: the head cut by characters, the two dates, editing that
// keeps customer and entry date, and a record that vanished.
#include "ProgramFixture.h"

#include "app/ContactForm.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/TestRender.h"
#include "platform/rtl/SysUtils.h"

#include <QDateEdit>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>

class Contact : public TProgramFixture
{
protected:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        FormContact = new TFormContact();
        FormMain->SetWorkingDay(EncodeDate(2024, 3, 15));
        // The customer whose contacts these are.
        Exec(QStringLiteral("Insert Into Customer (CustomerIndex, CustomerName) Values (7, '甲')"));
    }

    void TearDown() override
    {
        delete FormContact;
        FormContact = nullptr;
        TProgramFixture::TearDown();
    }

    // Shows the window for Mode; Act plays the user.
    TModalResult Run(const QString& Mode, int Index, const std::function<void()>& Act)
    {
        FormContact->ContactMode = Mode;
        FormContact->ContactIndex = Index;
        FormContact->ContactUser = 7;
        TModalHandlers Handlers(
            [&](TForm*) -> TModalResult {
                Act();
                return mrNone;
            },
            [](const TMessageRequest&) { return mrOk; });
        return FormContact->ShowModal();
    }

    QString Row(int Index)
    {
        return Scalar(QStringLiteral("Select ContactUser || '|' || ContactRecordTime || '|' || ContactCreateTime || '|' "
                                     "|| Length(ContactHead) || '|' || Length(ContactContent) From Contact "
                                     "Where ContactIndex = %1").arg(Index));
    }
};

TEST_F(Contact, StoresHeadByCharactersAndBothDates)
{
    const QString Today = FormatDateTime(QStringLiteral("yyyy-mm-dd"), Date()) + QStringLiteral(" 00:00:00");
    QString Long;
    for (int I = 0; I < 121; ++I)
        Long += QChar(0x4E00 + I);
    const QString Emoji = QString(119, u'甲') + QStringLiteral("😀😀");
    struct TCase { const char* Row; QString Text; const char* Lengths; };
    const TCase Cases[] = {
        {"a note", QStringLiteral("电话回访：客户对上月到货的五金配件满意，\n下月初再订一批，请提前备货。"), "|35|35"},
        {"121 Chinese characters", Long, "|120|121"},
        {"a quote stays text", QStringLiteral("甲'乙') Or (1=1"), "|13|13"},
        {"a pair outside the basic plane is kept whole", Emoji, "|120|121"},
        {"empty", QString(), "|0|0"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Row);
        QString Shown, Date;
        QImage Shot;
        const TModalResult Result = Run(QStringLiteral("新增"), 0, [&] {
            Shown = FormContact->Edit1->text();
            Date = FormContact->DateTimePicker1->date().toString(Qt::ISODate);
            FormContact->Memo1->setPlainText(C.Text);
            Shot = RenderWidget(FormContact);
            FormContact->SpeedButton1->Click();
        });
        // The number box is grey; TB_CONTACT_PNG names a file to keep the first picture in.
        EXPECT_EQ(Shot.pixelColor(FormContact->Edit1->mapTo(FormContact, QPoint(FormContact->Edit1->width() - 6, 6))),
                  QColor(0xE0, 0xE0, 0xE0));
        if (const QByteArray Keep = qgetenv("TB_CONTACT_PNG"); !Keep.isEmpty() && &C == Cases)
            Shot.save(QString::fromLocal8Bit(Keep));
        EXPECT_EQ(Result, mrOk);
        EXPECT_EQ(Shown, QStringLiteral("自动生成"));
        EXPECT_EQ(Date, QStringLiteral("2024-03-15"));
        EXPECT_EQ(TModalSeam::MessageTexts().last(), QStringLiteral("记录新增成功"));
        const int Index = Scalar(QStringLiteral("Select Max(ContactIndex) From Contact")).toInt();
        EXPECT_EQ(Row(Index), QStringLiteral("7|") + Today + QStringLiteral("|2024-03-15 00:00:00") + QString::fromUtf8(C.Lengths));
        EXPECT_EQ(Scalar(QStringLiteral("Select ContactContent From Contact Where ContactIndex = %1").arg(Index)), C.Text);
        EXPECT_TRUE(C.Text.startsWith(Scalar(QStringLiteral("Select ContactHead From Contact Where ContactIndex = %1").arg(Index))));
    }
}

TEST_F(Contact, EditKeepsCustomerAndEntryDateAndAVanishedRecordStoresNothing)
{
    Exec(QStringLiteral("Insert Into Contact (ContactUser, ContactRecordTime, ContactCreateTime, ContactHead, ContactContent) "
                        "Values (3, '2023-01-02 10:00:00', '2023-01-05', '旧', '旧')"));
    QString Shown;
    EXPECT_EQ(Run(QStringLiteral("修改"), 2, [&] {
                  Shown = FormContact->Edit1->text() + u'|' + FormContact->DateTimePicker1->date().toString(Qt::ISODate)
                          + u'|' + FormContact->Memo1->toPlainText();
                  FormContact->DateTimePicker1->setDate(QDate(2023, 2, 1));
                  FormContact->Memo1->setPlainText(QStringLiteral("新内容"));
                  FormContact->SpeedButton1->Click();
              }),
              mrOk);
    EXPECT_EQ(Shown, QStringLiteral("2|2023-01-05|旧"));
    EXPECT_EQ(Row(2), QStringLiteral("3|2023-01-02 10:00:00|2023-02-01 00:00:00|3|3"));
    EXPECT_TRUE(TModalSeam::MessageTexts().isEmpty());

    struct TCase { const char* Row; int Index; bool DeleteBeforeOk; };
    const TCase Cases[] = {{"missing on show", 9, false}, {"deleted before OK", 2, true}};
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Row);
        TModalSeam::ClearMessages();
        const TModalResult Result = Run(QStringLiteral("修改"), C.Index, [&] {
            if (C.DeleteBeforeOk)
                Exec(QStringLiteral("Delete From Contact Where ContactIndex = 2"));
            FormContact->Memo1->setPlainText(QStringLiteral("别的客户的内容"));
            FormContact->SpeedButton1->Click();
        });
        EXPECT_EQ(Result, mrCancel);
        EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("找不到要修改的记录")});
        EXPECT_EQ(Scalar(QStringLiteral("Select Count(*) From Contact Where ContactContent = '别的客户的内容'")),
                  QStringLiteral("0"));
    }
}
