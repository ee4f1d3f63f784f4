// The modal seam: windows and message boxes driven without an event loop.
#include "GuiTestUtil.h"
#include "platform/gui/Application.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/SysUtils.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A small prompt window in the shape of the program's own dialogs.
class TFormPrompt : public TForm
{
public:
    explicit TFormPrompt(QWidget* AOwner = nullptr) : TForm(AOwner)
    {
        setObjectName(QStringLiteral("FormPrompt"));
        SetCaption(QStringLiteral("提示"));
        SetClientSize(300, 120);
        Edit1 = new QLineEdit(this);
        Edit1->setGeometry(10, 10, 280, 24);
        BitBtn1 = new TBitBtn(this);
        BitBtn1->SetKind(bkOK);
        BitBtn1->setGeometry(60, 80, 80, 28);
        BitBtn2 = new TBitBtn(this);
        BitBtn2->SetKind(bkCancel);
        BitBtn2->setGeometry(160, 80, 80, 28);
        OnShow = [this](QObject*) { Log << QStringLiteral("show"); Edit1->setText(AskText); };
        OnClose = [this](QObject*, TCloseAction&) { Log << QStringLiteral("close:") + ModalResultName(ModalResult()); };
        BitBtn1->OnClick = [this](QObject*) {
            Log << QStringLiteral("click:") + ModalResultName(ModalResult());
            if (Edit1->text().isEmpty()) {
                ShowError(QStringLiteral("请输入内容"));
                SetModalResult(mrNone);
                return;
            }
            AskText = Edit1->text();
        };
    }

    QLineEdit* Edit1;
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn2;
    QString AskText;
    QStringList Log;
};

struct TModalRow
{
    const char* Name;
    std::function<TModalResult(TFormPrompt*)> User;
    TModalResult Expected;
    const char* Log;
    const char* Answer;
};

class ModalSeamTest : public ::testing::TestWithParam<TModalRow>
{
};

} // namespace

TEST_P(ModalSeamTest, ResultAndOrderOfEvents)
{
    const TModalRow& Row = GetParam();
    TFormPrompt Form;
    Form.AskText = QStringLiteral("old");
    TModalHandlers Handlers([&](TForm* F) { return Row.User(static_cast<TFormPrompt*>(F)); },
                            [](const TMessageRequest&) { return mrOk; });
    EXPECT_EQ(Form.ShowModal(), Row.Expected);
    EXPECT_EQ(Form.Log.join(u','), QString::fromUtf8(Row.Log));
    EXPECT_EQ(Form.AskText, QString::fromUtf8(Row.Answer));
    EXPECT_FALSE(Form.isVisible());
    EXPECT_FALSE(Form.InModal());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ModalSeamTest,
    ::testing::Values(
        TModalRow{"OkButtonGivesResultBeforeClick",
                  [](TFormPrompt* F) { F->Edit1->setText(QStringLiteral("new")); F->BitBtn1->Click(); return mrNone; },
                  mrOk, "show,click:OK,close:OK", "new"},
        TModalRow{"HandlerMayOverwriteResult",
                  [](TFormPrompt* F) { F->Edit1->clear(); F->BitBtn1->Click(); return mrNone; },
                  mrCancel, "show,click:OK,close:Cancel", "old"},
        TModalRow{"CancelButton", [](TFormPrompt* F) { F->BitBtn2->Click(); return mrNone; },
                  mrCancel, "show,close:Cancel", "old"},
        TModalRow{"CloseBoxGivesCancel", [](TFormPrompt* F) { F->close(); return mrNone; },
                  mrCancel, "show,close:Cancel", "old"},
        TModalRow{"EnterPressesDefaultButton",
                  [](TFormPrompt* F) {
                      F->Edit1->setText(QStringLiteral("typed"));
                      QKeyEvent Enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                      QCoreApplication::sendEvent(F->Edit1, &Enter);
                      return mrNone;
                  },
                  mrOk, "show,click:OK,close:OK", "typed"},
        TModalRow{"HandlerAnswerWins", [](TFormPrompt*) { return mrYes; }, mrYes, "show,close:Yes", "old"}),
    [](const ::testing::TestParamInfo<TModalRow>& Info) { return std::string(Info.param.Name); });

TEST(ModalSeam, OnShowMayEndTheWindowBeforeTheHandler)
{
    TFormPrompt Form;
    Form.OnShow = [&](QObject*) { Form.SetModalResult(mrAbort); };
    int Calls = 0;
    TModalHandlers Handlers([&](TForm*) { ++Calls; return mrOk; }, nullptr);
    EXPECT_EQ(Form.ShowModal(), mrAbort);
    EXPECT_EQ(Calls, 0);
}

TEST(ModalSeam, NestedWindowsReturnInOrder)
{
    TFormPrompt Outer, Inner;
    Outer.setObjectName(QStringLiteral("Outer"));
    Inner.setObjectName(QStringLiteral("Inner"));
    QStringList Order;
    Outer.BitBtn1->OnClick = [&](QObject*) {
        Order << QStringLiteral("inner=") + ModalResultName(Inner.ShowModal());
        Order << QStringLiteral("outer still modal=") + (Outer.InModal() ? "yes" : "no");
    };
    TModalHandlers Handlers(
        [&](TForm* F) {
            Order << QStringLiteral("handler:") + F->objectName();
            if (F == &Outer) {
                Outer.BitBtn1->Click();
                return mrNone;
            }
            return mrNo;
        },
        nullptr);
    EXPECT_EQ(Outer.ShowModal(), mrOk);
    EXPECT_EQ(Order.join(u','), QStringLiteral("handler:Outer,handler:Inner,inner=No,outer still modal=yes"));
}

TEST(ModalSeam, CloseQueryKeepsTheWindowOpenUntilAllowed)
{
    TFormPrompt Form;
    int Asked = 0;
    Form.OnCloseQuery = [&](QObject*, bool& CanClose) { CanClose = ++Asked >= 2; };
    int Rounds = 0;
    TModalHandlers Handlers([&](TForm*) { ++Rounds; return mrOk; }, nullptr);
    EXPECT_EQ(Form.ShowModal(), mrOk);
    EXPECT_EQ(Rounds, 2);
}

TEST(ModalSeam, ShowModalOfAVisibleWindowRaises)
{
    TFormPrompt Form;
    Form.setAttribute(Qt::WA_DontShowOnScreen);
    Form.Show();
    EXPECT_THROW(Form.ShowModal(), EInvalidOperation);
}

TEST(ModalSeam, MissingHandlerRaisesInsteadOfHanging)
{
    TFormPrompt Form;
    TModalHandlers Handlers(nullptr, nullptr);
    EXPECT_THROW(Form.ShowModal(), EInvalidOperation);
    EXPECT_FALSE(Form.isVisible());
}

TEST(ModalSeam, MessagesAreRecordedWithKindButtonsAndAnswers)
{
    struct TRow
    {
        const char* Name;
        std::function<TModalResult()> Ask;
        TModalResult Answer;
        const char* Described;
    };
    const TRow Rows[] = {
        {"Ok", [] { return Application()->MessageBox(QStringLiteral("已保存"), QString()); }, mrOk, "T|已保存|none|OK"},
        {"Error", [] { ShowError(QStringLiteral("数据库打开失败")); return mrOk; }, mrOk, "T|数据库打开失败|error|OK"},
        {"Information", [] { ShowInformation(QStringLiteral("完成"), QStringLiteral("提示")); return mrOk; }, mrOk,
         "提示|完成|information|OK"},
        {"YesNo", [] { return AskYesNo(QStringLiteral("确认删除吗？"), QStringLiteral("删除警告")); }, mrNo,
         "删除警告|确认删除吗？|question|Yes,No"},
        {"YesNoCancel", [] { return AskYesNoCancel(QStringLiteral("保存修改？"), QStringLiteral("T")); }, mrCancel,
         "T|保存修改？|question|Yes,No,Cancel"},
        {"YesNoAll", [] { return AskYesNoAll(QStringLiteral("覆盖？"), QStringLiteral("T")); }, mrAll,
         "T|覆盖？|question|Yes,No,All"},
        {"ApplicationBox",
         [] { return Application()->MessageBox(QStringLiteral("继续？"), QStringLiteral("T"), MB_YESNO | MB_ICONQUESTION); },
         mrYes, "T|继续？|question|Yes,No"},
        {"MessageDlg", [] { return MessageDlg(QStringLiteral("出错"), mtError, {mbOK, mbCancel}); }, mrCancel,
         "错误|出错|error|OK,Cancel"},
    };
    Application()->SetTitle(QStringLiteral("T"));
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TModalHandlers Handlers(nullptr, [&](const TMessageRequest&) { return Row.Answer; });
        EXPECT_EQ(Row.Ask(), Row.Answer);
        ASSERT_EQ(TModalSeam::Messages().size(), 1u);
        EXPECT_EQ(TModalSeam::Messages().front().Describe(), QString::fromUtf8(Row.Described));
    }
    Application()->SetTitle(QString());
}

TEST(ModalSeam, FailedCheckShowsOneMessageAndKeepsTheWindow)
{
    TFormPrompt Form;
    TModalHandlers Handlers(
        [](TForm* F) {
            auto* P = static_cast<TFormPrompt*>(F);
            P->Edit1->clear();
            P->BitBtn1->Click();
            EXPECT_EQ(P->ModalResult(), mrNone);
            EXPECT_TRUE(P->isVisible());
            P->Edit1->setText(QStringLiteral("ok"));
            P->BitBtn1->Click();
            return mrNone;
        },
        [](const TMessageRequest&) { return mrOk; });
    EXPECT_EQ(Form.ShowModal(), mrOk);
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList{QStringLiteral("请输入内容")});
}

TEST(Application, TerminateBeforeTheLoopEndsRunAtOnce)
{
    TFormPrompt* Main = nullptr;
    Application()->CreateForm(Main);
    Main->setAttribute(Qt::WA_DontShowOnScreen);
    bool Shown = false;
    Main->OnShow = [&](QObject*) { Shown = true; Application()->Terminate(); };
    Application()->Run(); // must return without entering the loop
    EXPECT_TRUE(Shown);
    EXPECT_TRUE(Application()->Terminated());
    Application()->DestroyForms();
    Application()->ResetTerminated();
    EXPECT_EQ(Application()->MainForm(), nullptr);
}

// An exception that escapes an event handler, sent or posted through the
// loop, is the program's error box; the loop goes on with the next event.
TEST(Application, ExceptionLeavingAnEventIsReported)
{
    class TThrower : public QObject
    {
    public:
        int Handled = 0;
        bool event(QEvent* Event) override
        {
            if (Event->type() != QEvent::User)
                return QObject::event(Event);
            if (++Handled == 1)
                throw EConvertError(QStringLiteral("'x' is not a valid integer value"));
            return true;
        }
    };
    struct TRow
    {
        const char* Name;
        std::function<void(QObject*)> Deliver;
    };
    const TRow Rows[] = {
        {"Sent", [](QObject* O) {
             QEvent E(QEvent::User);
             QCoreApplication::sendEvent(O, &E);
             QCoreApplication::sendEvent(O, &E);
         }},
        {"Posted", [](QObject* O) {
             QCoreApplication::postEvent(O, new QEvent(QEvent::User));
             QCoreApplication::postEvent(O, new QEvent(QEvent::User));
             QCoreApplication::processEvents();
         }},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TModalHandlers Handlers(nullptr, [](const TMessageRequest&) { return mrOk; });
        TThrower Receiver;
        Row.Deliver(&Receiver);
        EXPECT_EQ(Receiver.Handled, 2);
        ASSERT_EQ(TModalSeam::Messages().size(), 1u);
        EXPECT_EQ(TModalSeam::Messages()[0].Text, QStringLiteral("'x' is not a valid integer value"));
        EXPECT_EQ(TModalSeam::Messages()[0].Icon, miError);
    }
}

TEST(ModalSeam, TheProgramLoopEndsWithTheResult)
{
    struct TRow
    {
        const char* Name;
        std::function<void(TFormPrompt*)> Later;
        TModalResult Expected;
    };
    const TRow Rows[] = {
        {"Button", [](TFormPrompt* F) { F->Edit1->setText(QStringLiteral("x")); F->BitBtn1->Click(); }, mrOk},
        {"CloseBox", [](TFormPrompt* F) { F->close(); }, mrCancel},
        {"Terminate", [](TFormPrompt*) { Application()->Terminate(); }, mrCancel},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TFormPrompt Form;
        Form.setAttribute(Qt::WA_DontShowOnScreen);
        // The handler runs the real nested loop; the "user" acts from a timer.
        TModalHandlers Handlers(
            [&](TForm* F) {
                QTimer::singleShot(0, F, [&] { Row.Later(&Form); });
                return F->ExecModalLoop();
            },
            [](const TMessageRequest&) { return mrOk; });
        EXPECT_EQ(Form.ShowModal(), Row.Expected);
        Application()->ResetTerminated();
    }
}
