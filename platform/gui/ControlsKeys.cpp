// Qt key and mouse state to the classic virtual keys, characters and shift sets.
#include "platform/gui/Controls.h"

#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringView>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons)
{
    TShiftState S;
    if (Modifiers & Qt::ShiftModifier)
        S << ssShift;
    if (Modifiers & Qt::AltModifier)
        S << ssAlt;
    if (Modifiers & Qt::ControlModifier)
        S << ssCtrl;
    if (Buttons & Qt::LeftButton)
        S << ssLeft;
    if (Buttons & Qt::RightButton)
        S << ssRight;
    if (Buttons & Qt::MiddleButton)
        S << ssMiddle;
    return S;
}

namespace {

// Punctuation by the key that carries it on a US keyboard, shifted or not.
int PunctuationKey(int Key)
{
    switch (Key) {
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_Asterisk: return '8';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    case Qt::Key_Semicolon: case Qt::Key_Colon: return VK_OEM_1;
    case Qt::Key_Equal: case Qt::Key_Plus: return VK_OEM_PLUS;
    case Qt::Key_Comma: case Qt::Key_Less: return VK_OEM_COMMA;
    case Qt::Key_Minus: case Qt::Key_Underscore: return VK_OEM_MINUS;
    case Qt::Key_Period: case Qt::Key_Greater: return VK_OEM_PERIOD;
    case Qt::Key_Slash: case Qt::Key_Question: return VK_OEM_2;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return VK_OEM_3;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return VK_OEM_4;
    case Qt::Key_Backslash: case Qt::Key_Bar: return VK_OEM_5;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return VK_OEM_6;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return VK_OEM_7;
    default: return 0;
    }
}

int KeypadKey(int Key)
{
    if (Key >= Qt::Key_0 && Key <= Qt::Key_9)
        return VK_NUMPAD0 + (Key - Qt::Key_0);
    switch (Key) {
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    case Qt::Key_Plus: return VK_ADD;
    case Qt::Key_Minus: return VK_SUBTRACT;
    case Qt::Key_Period: case Qt::Key_Comma: return VK_DECIMAL;
    case Qt::Key_Slash: return VK_DIVIDE;
    case Qt::Key_Enter: return VK_RETURN;
    default: return 0;
    }
}

} // namespace

int VirtualKeyFromQt(const QKeyEvent* Event)
{
    const int Key = Event->key();
    if (Event->modifiers() & Qt::KeypadModifier) {
        if (const int K = KeypadKey(Key))
            return K;
    }
    if (Key >= Qt::Key_A && Key <= Qt::Key_Z)
        return Key;
    if (Key >= Qt::Key_0 && Key <= Qt::Key_9)
        return Key;
    if (Key >= Qt::Key_F1 && Key <= Qt::Key_F24)
        return VK_F1 + (Key - Qt::Key_F1);
    switch (Key) {
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Clear: return VK_CLEAR;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_Meta: return VK_LWIN;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_Help: return VK_HELP;
    default: return PunctuationKey(Key);
    }
}

QChar KeyCharFromQt(const QKeyEvent* Event)
{
    const int Key = Event->key();
    const Qt::KeyboardModifiers M = Event->modifiers();
    const bool Ctrl = M & Qt::ControlModifier, Alt = M & Qt::AltModifier;
    switch (Key) {
    case Qt::Key_Return: case Qt::Key_Enter: return QChar(Ctrl ? 10 : 13);
    case Qt::Key_Escape: return QChar(27);
    case Qt::Key_Backspace: return QChar(Ctrl ? 127 : 8);
    case Qt::Key_Tab: case Qt::Key_Backtab: return Ctrl ? QChar() : QChar(9);
    default: break;
    }
    // Alt alone makes a menu key, not a character; Ctrl+Alt is AltGr.
    if (Alt && !Ctrl)
        return QChar();
    if (Ctrl && !Alt) {
        if (Key >= Qt::Key_A && Key <= Qt::Key_Z)
            return QChar(Key - Qt::Key_A + 1);
        switch (Key) {
        case Qt::Key_BracketLeft: return QChar(27);
        case Qt::Key_Backslash: return QChar(28);
        case Qt::Key_BracketRight: return QChar(29);
        default: return QChar();
        }
    }
    const QString Text = Event->text();
    if (!Text.isEmpty())
        return Text[0].unicode() >= 32 && Text[0].unicode() != 127 ? Text[0] : QChar();
    // Synthetic events may carry no text: derive it from the key.
    if (Key >= Qt::Key_A && Key <= Qt::Key_Z)
        return QChar((M & Qt::ShiftModifier) ? Key : Key - Qt::Key_A + 'a');
    if (Key >= 0x20 && Key <= 0x7E)
        return QChar(Key);
    return QChar();
}

bool PrintableText(QStringView Text)
{
    if (Text.isEmpty())
        return false;
    for (const char32_t C : Text.toUcs4())
        if (!QChar::isPrint(C))
            return false;
    return true;
}

namespace {

// Where text typed into a line edit or a text box goes: its caret, or the
// start of its selection, which the text replaces. -1 for other widgets.
int InsertionPoint(const QWidget* Box)
{
    if (const auto* Line = qobject_cast<const QLineEdit*>(Box))
        return Line->hasSelectedText() ? Line->selectionStart() : Line->cursorPosition();
    if (const auto* Text = qobject_cast<const QPlainTextEdit*>(Box))
        return Text->textCursor().selectionStart();
    return -1;
}

void PutCaret(QWidget* Box, int Position)
{
    if (auto* Line = qobject_cast<QLineEdit*>(Box)) {
        Line->setCursorPosition(std::min(Position, int(Line->text().size())));
    } else if (auto* Text = qobject_cast<QPlainTextEdit*>(Box)) {
        QTextCursor C = Text->textCursor();
        C.setPosition(std::min(Position, Text->document()->characterCount() - 1));
        Text->setTextCursor(C);
    }
}

} // namespace

void TypeCommittedText(QWidget* Box, QInputMethodEvent* Event, const std::function<void(QKeyEvent*)>& Typed,
                       const std::function<void(QInputMethodEvent*)>& Rest)
{
    const QString Commit = Event->commitString();
    if (Commit.isEmpty()) {
        Rest(Event);
        return;
    }
    // The composition ends and a range the commit replaces goes first; the
    // committed characters then arrive as keys at the caret. Qt leaves the
    // caret by the text it stood beside, which is the range's start only
    // where the range ended at the caret.
    const int From = Event->replacementStart(), Length = Event->replacementLength();
    const int Point = InsertionPoint(Box);
    QInputMethodEvent Clear;
    Clear.setCommitString(QString(), From, Length);
    Rest(&Clear);
    if (From + Length != 0 && Point >= 0)
        PutCaret(Box, std::max(0, Point + From));
    QStringView Left(Commit);
    while (!Left.isEmpty()) {
        const qsizetype Size = Left.size() > 1 && Left[0].isHighSurrogate() && Left[1].isLowSurrogate() ? 2 : 1;
        QKeyEvent Key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, Left.left(Size).toString());
        Typed(&Key);
        Left = Left.mid(Size);
    }
    if (!Event->preeditString().isEmpty()) {
        QInputMethodEvent Composing(Event->preeditString(), Event->attributes());
        Rest(&Composing);
    }
    Event->accept();
}
