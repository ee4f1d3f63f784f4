// The engine's password and display-format dialogs, filled and read through
// the modal seam as a user would.
#include "UiTestUtil.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TestRender.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Fmt.h"
#include "report/engine/FR_Passw.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <functional>
#include <gtest/gtest.h>

namespace {

QString Shown(TfrFmtForm* F)
{
    return QStringList{F->CatLB->currentItem()->text(), F->TypeLB->currentItem()->text(), F->DecEdit->text(),
                       F->SplEdit->text(),
                       F->FormatEdit->isEnabled() ? QStringLiteral("custom:") + F->FormatEdit->text()
                                                  : QStringLiteral("-"),
                       QString::number(F->TypeLB->count())}
        .join(u'/');
}

} // namespace

TEST(FmtForm, PacksAndUnpacksTheFormat)
{
    struct TRow
    {
        const char* Name;
        uint32_t In;
        const char* InStr;
        const char* Shown;
        std::function<void(TfrFmtForm*)> Act;
        bool Ok;
        uint32_t Out;
        const char* OutStr;
    };
    const TRow Rows[] = {
        {"NumberOpensOnItsFormatAndAnEmptySeparatorIsAComma", 0x01020000, "", "Number/1 234,5/0//-/5", nullptr,
         true, 0x0102002C, ""},
        {"TextOffersOnlyNone", 0x00000000, "", "Text/[None]///-/1", nullptr, true, 0x0000002C, ""},
        {"CustomShowsAndTakesItsText", 0x02040000, "dd.mm", "Date/Custom///custom:dd.mm/5",
         [](TfrFmtForm* F) { F->FormatEdit->setText("yyyy"); }, true, 0x0204002C, "yyyy"},
        {"DigitsAndSeparatorKeepToTheirBytes", 0x0101022E, "", "Number/1234,50/2/./-/5",
         [](TfrFmtForm* F) {
             F->DecEdit->setText("999");
             F->SplEdit->setText(QString(QChar(0xFF0C)));
         },
         true, 0x0101FF2C, ""},
        {"DigitsThatAreNoNumberCountAsNone", 0x01000000, "", "Number/1234,5/0//-/5",
         [](TfrFmtForm* F) {
             F->DecEdit->setText("abc");
             F->SplEdit->setText(";");
         },
         true, 0x0100003B, ""},
        {"ChoosingACategoryTakesItsFirstFormat", 0x01030000, "", "Number/1 234,50/0//-/5",
         [](TfrFmtForm* F) { F->CatLB->setCurrentRow(3); }, true, 0x0300002C, ""},
        {"BitsOutOfRangeOpenTheFirstEntries", 0x0F090000, "", "Text/[None]///-/1", nullptr, true, 0x0000002C, ""},
        {"CancelKeepsTheFormat", 0x01020000, "x", "Number/1 234,5/0//-/5",
         [](TfrFmtForm* F) { F->DecEdit->setText("7"); }, false, 0x01020000, "x"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TfrFmtForm Form;
        Form.SetFormat(Row.In);
        Form.SetFormatStr(Row.InStr);
        QString Seen;
        TModalHandlers Handlers(
            [&](TForm* F) -> TModalResult {
                auto* Fmt = dynamic_cast<TfrFmtForm*>(F);
                Seen = Shown(Fmt);
                if (Row.Act)
                    Row.Act(Fmt);
                (Row.Ok ? Fmt->Button1 : Fmt->Button2)->Click();
                return mrNone;
            },
            nullptr);
        EXPECT_EQ(Form.ShowModal(), Row.Ok ? mrOk : mrCancel);
        EXPECT_EQ(Seen, QString::fromUtf8(Row.Shown));
        EXPECT_EQ(Form.Format(), Row.Out) << std::hex << Form.Format();
        EXPECT_EQ(Form.FormatStr(), QString::fromUtf8(Row.OutStr));
    }
}

TEST(PasswForm, AnswersThePasswordQuery)
{
    frInstallPasswordForm();
    for (bool Ok : {true, false}) {
        SCOPED_TRACE(Ok ? "OK" : "Cancel");
        QString Seen;
        TModalHandlers Handlers(
            [&](TForm* F) -> TModalResult {
                auto* P = dynamic_cast<TfrPasswForm*>(F);
                Seen = P->Caption() + u'|' + P->L1->text() + u'|'
                       + (P->ActiveControl() == P->E1 && P->E1->echoMode() == QLineEdit::Password ? "hidden in E1"
                                                                                                  : "");
                P->E1->setText("secret");
                (Ok ? P->OK : P->Cancel)->Click();
                return mrNone;
            },
            nullptr);
        QString Password;
        EXPECT_EQ(frPasswordQuery(Password), Ok);
        EXPECT_EQ(Password, Ok ? QStringLiteral("secret") : QString());
        EXPECT_EQ(Seen, QStringLiteral("Password|Enter password for opening report|hidden in E1"));
    }
}
