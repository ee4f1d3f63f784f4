// The online-service window: the required fields and the message address the
// browser is given.
#include "AppFixture.h"

#include "app/OnlineChatForm.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Shell.h"
#include "platform/gui/TestRender.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUrl>
#include <QUrlQuery>

class OnlineChatForm : public TAppFixture
{
protected:
    void SetUp() override
    {
        TAppFixture::SetUp();
        FormOnlineChat = new TFormOnlineChat();
        OldShell = SetShellHandler([this](const QString& Target) {
            Opened << Target;
            return true;
        });
    }
    void TearDown() override
    {
        SetShellHandler(OldShell);
        delete FormOnlineChat;
        FormOnlineChat = nullptr;
        TAppFixture::TearDown();
    }

    // Shows the window, types name and phone, picks a content item, may type
    // into the memo, presses OK; the modal result.
    TModalResult Send(const QString& Name, const QString& Phone, int Item, const QString* Content = nullptr)
    {
        TModalHandlers Handlers(
            [&](TForm*) -> TModalResult {
                TFormOnlineChat* F = FormOnlineChat;
                ShownFocus = F->ActiveControl();
                F->Edit1->setText(Name);
                F->Edit2->setText(Phone);
                F->ComboBox1->setCurrentIndex(Item);
                F->ComboBox1Change(F->ComboBox1);
                if (Content)
                    F->Memo1->setPlainText(*Content);
                F->Login->Click();
                Focus = F->ActiveControl();
                return mrNone;
            },
            nullptr);
        return FormOnlineChat->ShowModal();
    }

    QUrlQuery SentQuery() const { return QUrlQuery(QUrl(Opened.value(0))); }
    static QString Value(const QUrlQuery& Q, const char* Key)
    {
        return Q.queryItemValue(QString::fromLatin1(Key), QUrl::FullyDecoded);
    }

    TShellHandler OldShell;
    QStringList Opened;
    QWidget* ShownFocus = nullptr;
    QWidget* Focus = nullptr;
};

TEST_F(OnlineChatForm, TypedTextsArriveIntact)
{
    WriteIni(QStringLiteral("Tallybridge"), QStringLiteral("SaleLink"), QStringLiteral("http://a.example/?x=1&y=2"),
             IniFileName);
    const struct { const char* Name; const char* Phone; const char* Content; } Rows[] = {
        {"A&B=C", "010+1", "A&B=C"},
        {"50% + 1", "#9", "50% + 1"},
        {"张三 #2", "139 1234", "张三 #2"},
        {"王五", "1", "第一行\n第二行"},
    };
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Name);
        Opened.clear();
        const QString Content = QString::fromUtf8(R.Content);
        EXPECT_EQ(Send(QString::fromUtf8(R.Name), QString::fromUtf8(R.Phone), 4, &Content), mrOk);
        ASSERT_EQ(Opened.size(), 1);
        EXPECT_TRUE(Opened[0].startsWith(QStringLiteral("https://www.tallybridge.example/message.asp?")));
        const QUrlQuery Q = SentQuery();
        EXPECT_EQ(Value(Q, "Product"), QStringLiteral("Tallybridge"));
        EXPECT_EQ(Value(Q, "ContactName"), QString::fromUtf8(R.Name));
        EXPECT_EQ(Value(Q, "ContactPhone"), QString::fromUtf8(R.Phone));
        EXPECT_EQ(Value(Q, "ContactContent"), Content);
        EXPECT_EQ(Value(Q, "SaleLink"), QStringLiteral("http://a.example/?x=1&y=2"));
        EXPECT_EQ(Q.queryItems().size(), 5);
    }
}

TEST_F(OnlineChatForm, RequiredFieldsAreCheckedInOrderWithFocus)
{
    const struct { const char* Name; const char* Phone; const char* Message; const char* Focus; } Rows[] = {
        {"", "", "联系人不能为空", "Edit1"},
        {"", "1", "联系人不能为空", "Edit1"},
        {"张三", "", "联系电话不能为空", "Edit2"},
    };
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Message);
        Opened.clear();
        TModalSeam::ClearMessages();
        EXPECT_EQ(Send(QString::fromUtf8(R.Name), QString::fromUtf8(R.Phone), 0), mrCancel);
        EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QString::fromUtf8(R.Message)});
        ASSERT_TRUE(Focus);
        EXPECT_EQ(Focus->objectName(), QString::fromLatin1(R.Focus));
        EXPECT_EQ(ShownFocus, FormOnlineChat->Edit1);
        EXPECT_TRUE(Opened.isEmpty());
    }
}

TEST_F(OnlineChatForm, ContentItemsFillTheMemoAndCustomStillSends)
{
    EXPECT_EQ(Send(QStringLiteral("张三"), QStringLiteral("1"), 2), mrOk);
    EXPECT_EQ(Value(SentQuery(), "ContactContent"), QStringLiteral("我需要类似的软件产品，请跟我联系"));
    EXPECT_EQ(Value(SentQuery(), "SaleLink"), QStringLiteral("https://www.tallybridge.example"));
    Opened.clear();
    EXPECT_EQ(Send(QStringLiteral("张三"), QStringLiteral("1"), 4), mrOk);
    EXPECT_EQ(FormOnlineChat->Memo1->toPlainText(), QString());
    ASSERT_EQ(Opened.size(), 1);
    EXPECT_TRUE(SentQuery().hasQueryItem(QStringLiteral("ContactContent")));
    EXPECT_EQ(Value(SentQuery(), "ContactContent"), QString());
}

TEST_F(OnlineChatForm, Render)
{
    FormOnlineChat->Show();
    FormOnlineChat->Edit1->setText(QStringLiteral("张三"));
    FormOnlineChat->Edit2->setText(QStringLiteral("13912345678"));
    const QImage Shot = RenderWidget(FormOnlineChat);
    EXPECT_EQ(Shot.size(), QSize(585, 361));
    // The hotline number is drawn in large dark figures inside its box.
    int Dark = 0;
    for (int Y = 66; Y < 106; ++Y)
        for (int X = 26; X < 270; ++X)
            Dark += qGray(Shot.pixel(X, Y)) < 96;
    EXPECT_GT(Dark, 300);
    const QString Keep = QString::fromLocal8Bit(qgetenv("TB_IMAGES_DIR"));
    if (!Keep.isEmpty())
        Shot.save(Keep + QStringLiteral("/onlinechat.png"));
}
