// The program's multi-line boxes, in their windows opened as the program
// opens them: each is a TMemo, and Ctrl+V over an empty clipboard (a fresh
// X11 session's) leaves its text as it was.
#include "ProgramFixture.h"

#include "MemoPaste.h"
#include "app/ContactForm.h"
#include "app/Customer2Form.h"
#include "app/OnlineChatForm.h"

#include <functional>

class MultiLineBoxes : public TProgramFixture
{
protected:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        Application()->CreateForm(FormOnlineChat);
        Application()->CreateForm(FormCustomer2);
        Application()->CreateForm(FormContact);
    }

    void TearDown() override
    {
        FormOnlineChat = nullptr, FormCustomer2 = nullptr, FormContact = nullptr;
        TProgramFixture::TearDown();
    }
};

TEST_F(MultiLineBoxes, EveryBoxIsAMemoThatAPasteOfNothingLeavesAsItWas)
{
    const struct
    {
        const char* Name;
        std::function<void()> Open;
    } Windows[] = {
        {"chat from the main window", [] { FormMain->ActionOlineChatExecute(FormMain); }},
        {"chat from the login banner", [] { FormLogin->ImageUp1Click(FormLogin); }},
        {"customer",
         [] {
             FormCustomer2->CustomerKind = QStringLiteral("正式客户");
             FormCustomer2->EditMode = 0;
             FormCustomer2->ShowModal();
         }},
        {"contact",
         [] {
             FormContact->ContactMode = QStringLiteral("新增");
             FormContact->ShowModal();
         }},
    };
    QStringList Seen;
    for (const auto& W : Windows) {
        QString Boxes = QStringLiteral("not shown");
        TModalHandlers Handlers(
            [&](TForm* Form) {
                Boxes = PasteNothingIntoBoxes(Form);
                return mrCancel;
            },
            [](const TMessageRequest&) { return mrOk; });
        W.Open();
        Seen << QString::fromUtf8(W.Name) + QStringLiteral(": ") + Boxes;
    }
    EXPECT_EQ(Seen.join(QStringLiteral(" | ")),
              QStringLiteral("chat from the main window: Memo1 | chat from the login banner: Memo1 | "
                             "customer: CustomerRemark | contact: Memo1"));
}
