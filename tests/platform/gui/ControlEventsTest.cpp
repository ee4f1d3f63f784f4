// Event translation of TCustomControl and TForm: mouse order, virtual keys,
// shift states, control characters, consumed keys and key preview.
#include "GuiTestUtil.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

QString ShiftText(TShiftState S)
{
    static const std::pair<TShiftStateItem, const char*> Names[] = {
        {ssShift, "Shift"}, {ssAlt, "Alt"}, {ssCtrl, "Ctrl"}, {ssLeft, "L"},
        {ssRight, "R"}, {ssMiddle, "M"}, {ssDouble, "Dbl"}};
    QStringList L;
    for (const auto& [Item, Name] : Names)
        if (S.Contains(Item))
            L << QString::fromLatin1(Name);
    return u'{' + L.join(u',') + u'}';
}

QString ButtonText(TMouseButton B)
{
    return B == mbLeft ? QStringLiteral("Left") : B == mbRight ? QStringLiteral("Right") : QStringLiteral("Middle");
}

// Logs every classic event it receives.
class TRecorder : public TCustomControl
{
public:
    explicit TRecorder(QWidget* AParent = nullptr) : TCustomControl(AParent) { resize(100, 60); }

    void MouseDown(TMouseButton B, TShiftState S, int X, int Y) override
    {
        Log << QStringLiteral("down:%1%2@%3,%4").arg(ButtonText(B), ShiftText(S)).arg(X).arg(Y);
    }
    void MouseUp(TMouseButton B, TShiftState S, int X, int Y) override
    {
        Log << QStringLiteral("up:%1%2@%3,%4").arg(ButtonText(B), ShiftText(S)).arg(X).arg(Y);
    }
    void MouseMove(TShiftState S, int X, int Y) override
    {
        Log << QStringLiteral("move%1@%2,%3").arg(ShiftText(S)).arg(X).arg(Y);
    }
    void Click() override { Log << QStringLiteral("click"); }
    void DblClick() override { Log << QStringLiteral("dbl"); }
    void MouseEnter() override { Log << QStringLiteral("enter"); }
    void MouseLeave() override { Log << QStringLiteral("leave"); }
    void KeyDown(int& Key, TShiftState S) override
    {
        Log << QStringLiteral("keydown:%1%2").arg(Key).arg(ShiftText(S));
        if (Key == ConsumeKey)
            Key = 0;
    }
    void KeyPress(QChar& C) override
    {
        Log << QStringLiteral("keypress:#%1").arg(C.unicode());
        if (C == ConsumeChar)
            C = QChar();
    }
    void Paint() override
    {
        ++Paints;
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(ClientRect());
    }

    QStringList Log;
    int ConsumeKey = -1;
    QChar ConsumeChar = QChar(0xFFFF);
    int Paints = 0;
};

void SendMouse(QWidget* W, QEvent::Type Type, Qt::MouseButton Button, Qt::MouseButtons Buttons, QPoint P,
               Qt::KeyboardModifiers Mods = Qt::NoModifier)
{
    QMouseEvent E(Type, QPointF(P), W->mapToGlobal(QPointF(P)), Button, Buttons, Mods);
    QCoreApplication::sendEvent(W, &E);
}

} // namespace

TEST(ControlEvents, DoubleClickComesBeforeTheMouseDownThatCarriesDouble)
{
    TRecorder C;
    const QPoint P(5, 7);
    SendMouse(&C, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, P);
    SendMouse(&C, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, P);
    SendMouse(&C, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, P);
    SendMouse(&C, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, P);
    EXPECT_EQ(C.Log.join(u' '), QStringLiteral("down:Left{L}@5,7 click up:Left{}@5,7 dbl down:Left{L,Dbl}@5,7 up:Left{}@5,7"));
}

TEST(ControlEvents, MouseSequences)
{
    struct TRow
    {
        const char* Name;
        std::function<void(TRecorder*)> Act;
        const char* Expected;
    };
    const TRow Rows[] = {
        {"RightDoubleClickHasNoDblClick",
         [](TRecorder* C) {
             SendMouse(C, QEvent::MouseButtonDblClick, Qt::RightButton, Qt::RightButton, {3, 3});
         },
         "down:Right{R,Dbl}@3,3"},
        {"ReleaseOutsideIsNoClick",
         [](TRecorder* C) {
             SendMouse(C, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {3, 3});
             SendMouse(C, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {150, 3});
             SendMouse(C, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {150, 3});
         },
         "down:Left{L}@3,3 move{L}@150,3 up:Left{}@150,3"},
        {"ShiftCtrlClick",
         [](TRecorder* C) {
             SendMouse(C, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {1, 2},
                       Qt::ShiftModifier | Qt::ControlModifier);
         },
         "down:Left{Shift,Ctrl,L}@1,2"},
        {"MiddleWithRightHeld",
         [](TRecorder* C) {
             SendMouse(C, QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton | Qt::RightButton, {9, 9});
         },
         "down:Middle{R,M}@9,9"},
        {"HoverMove", [](TRecorder* C) { SendMouse(C, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {4, 4}); },
         "move{}@4,4"},
        {"EnterAndLeave",
         [](TRecorder* C) {
             QEnterEvent Enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
             QCoreApplication::sendEvent(C, &Enter);
             QEvent Leave(QEvent::Leave);
             QCoreApplication::sendEvent(C, &Leave);
         },
         "enter leave"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TRecorder C;
        Row.Act(&C);
        EXPECT_EQ(C.Log.join(u' '), QString::fromUtf8(Row.Expected));
    }
}

TEST(ControlEvents, VirtualKeysShiftStatesAndCharacters)
{
    struct TRow
    {
        const char* Name;
        int QtKey;
        Qt::KeyboardModifiers Mods;
        QString Text;
        const char* Expected;
    };
    const TRow Rows[] = {
        {"Letter", Qt::Key_A, Qt::NoModifier, QStringLiteral("a"), "keydown:65{} keypress:#97"},
        {"ShiftLetter", Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"), "keydown:65{Shift} keypress:#65"},
        {"LetterWithoutText", Qt::Key_B, Qt::NoModifier, QString(), "keydown:66{} keypress:#98"},
        {"CtrlC", Qt::Key_C, Qt::ControlModifier, QStringLiteral("\x03"), "keydown:67{Ctrl} keypress:#3"},
        {"CtrlZ", Qt::Key_Z, Qt::ControlModifier, QString(), "keydown:90{Ctrl} keypress:#26"},
        {"Enter", Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), "keydown:13{} keypress:#13"},
        {"CtrlEnter", Qt::Key_Return, Qt::ControlModifier, QString(), "keydown:13{Ctrl} keypress:#10"},
        {"Escape", Qt::Key_Escape, Qt::NoModifier, QString(), "keydown:27{} keypress:#27"},
        {"Backspace", Qt::Key_Backspace, Qt::NoModifier, QString(), "keydown:8{} keypress:#8"},
        {"F5", Qt::Key_F5, Qt::NoModifier, QString(), "keydown:116{}"},
        {"Left", Qt::Key_Left, Qt::NoModifier, QString(), "keydown:37{}"},
        {"ShiftPageDown", Qt::Key_PageDown, Qt::ShiftModifier, QString(), "keydown:34{Shift}"},
        {"Delete", Qt::Key_Delete, Qt::NoModifier, QString(), "keydown:46{}"},
        {"Keypad1", Qt::Key_1, Qt::KeypadModifier, QStringLiteral("1"), "keydown:97{} keypress:#49"},
        {"KeypadPlus", Qt::Key_Plus, Qt::KeypadModifier, QStringLiteral("+"), "keydown:107{} keypress:#43"},
        {"ShiftedDigit", Qt::Key_Exclam, Qt::ShiftModifier, QStringLiteral("!"), "keydown:49{Shift} keypress:#33"},
        {"Comma", Qt::Key_Comma, Qt::NoModifier, QStringLiteral(","), "keydown:188{} keypress:#44"},
        {"AltLetterIsNoCharacter", Qt::Key_F, Qt::AltModifier, QStringLiteral("f"), "keydown:70{Alt}"},
        {"InputMethodText", Qt::Key_unknown, Qt::NoModifier, QStringLiteral("中"), "keypress:#20013"},
        {"TabMovesFocusUnlessWanted", Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"), ""},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TRecorder C;
        SendKey(&C, Row.QtKey, Row.Mods, Row.Text);
        EXPECT_EQ(C.Log.join(u' '), QString::fromUtf8(Row.Expected));
    }
    TRecorder Tabs;
    Tabs.SetWantTabs(true);
    SendKey(&Tabs, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    EXPECT_EQ(Tabs.Log.join(u' '), QStringLiteral("keydown:9{} keypress:#9"));
}

TEST(ControlEvents, ZeroKeyOrCharacterConsumesTheKey)
{
    struct TRow
    {
        const char* Name;
        int ConsumeKey;
        QChar ConsumeChar;
        const char* ControlLog;
        bool FormSees;
    };
    const TRow Rows[] = {
        {"KeyDownConsumes", 'X', QChar(0xFFFF), "keydown:88{}", false},
        {"KeyPressConsumes", -1, QChar(u'x'), "keydown:88{} keypress:#120", false},
        {"NothingConsumedGoesToTheForm", -1, QChar(0xFFFF), "keydown:88{} keypress:#120", true},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TForm Form;
        auto* C = new TRecorder(&Form);
        C->ConsumeKey = Row.ConsumeKey;
        C->ConsumeChar = Row.ConsumeChar;
        bool FormSaw = false;
        Form.OnKeyDown = [&](QObject*, int&, TShiftState) { FormSaw = true; };
        const bool Accepted = SendKey(C, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        EXPECT_EQ(C->Log.join(u' '), QString::fromUtf8(Row.ControlLog));
        EXPECT_EQ(FormSaw, Row.FormSees);
        EXPECT_EQ(Accepted, !Row.FormSees);
    }
}

TEST(ControlEvents, KeyPreviewLetsTheFormSeeAndChangeKeysFirst)
{
    TForm Form;
    auto* C = new TRecorder(&Form);
    Form.SetKeyPreview(true);
    QStringList FormLog;
    Form.OnKeyDown = [&](QObject*, int& Key, TShiftState) {
        FormLog << QStringLiteral("form:%1").arg(Key);
        if (Key == VK_F2)
            Key = 0;
    };
    Form.OnKeyPress = [&](QObject*, QChar& Ch) {
        if (Ch == u'a')
            Ch = u'b';
    };
    SendKey(C, Qt::Key_F2, Qt::NoModifier);
    SendKey(C, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    EXPECT_EQ(FormLog.join(u' '), QStringLiteral("form:113 form:65"));
    EXPECT_EQ(C->Log.join(u' '), QStringLiteral("keydown:65{} keypress:#98"));
    Form.SetKeyPreview(false);
}

TEST(ControlEvents, XorMarksSurviveUpdatesUntilInvalidated)
{
    TRecorder C;
    C.setAttribute(Qt::WA_DontShowOnScreen);
    C.show();
    C.Repaint();
    EXPECT_EQ(C.Paints, 1);
    TCanvas* Canvas = C.Canvas();
    Canvas->Pen()->SetMode(pmXor);
    Canvas->Pen()->SetColor(clWhite);
    Canvas->MoveTo(10, 10);
    Canvas->LineTo(50, 10);
    QCoreApplication::processEvents();
    QImage Shown = C.grab().toImage();
    EXPECT_EQ(Shown.pixel(20, 10) & 0xFFFFFF, 0x000000u); // white XOR white
    EXPECT_EQ(C.Paints, 1);                              // the mark did not cause a repaint
    Canvas->MoveTo(10, 10);
    Canvas->LineTo(50, 10); // drawn again: gone
    Shown = C.grab().toImage();
    EXPECT_EQ(Shown.pixel(20, 10) & 0xFFFFFF, 0xFFFFFFu);
    C.Invalidate();
    QCoreApplication::processEvents();
    C.grab();
    EXPECT_EQ(C.Paints, 2);
}

TEST(ControlEvents, ScrollBarsShrinkTheClientArea)
{
    TRecorder C;
    C.resize(200, 100);
    const int Full = C.ClientWidth();
    C.SetScrollBars(ssBoth);
    EXPECT_LT(C.ClientWidth(), Full);
    EXPECT_LT(C.ClientHeight(), 100);
    int Scrolled = -1;
    struct TScroller : TRecorder
    {
        int* Target = nullptr;
        void Scroll(TScrollBarKind, int Position) override { *Target = Position; }
    } S;
    S.Target = &Scrolled;
    S.SetScrollBars(ssVertical);
    S.VertBar()->SetParams(4, 0, 10);
    EXPECT_EQ(Scrolled, 4);
}
