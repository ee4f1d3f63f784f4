// Sends a key sequence to a widget as real key events: plain characters, and
// named keys in angle brackets (<Up>, <Down>, <Left>, <Right>, <Enter>,
// <Esc>, <BS>, <Del>, <Alt+Down>, <Ctrl+V>, <Ctrl+A>, <Ctrl+Enter>); <IM:text>
// is text an input method commits.
#pragma once

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWidget>

inline void SendKey(QWidget* W, int Key, Qt::KeyboardModifiers Mods, const QString& Text)
{
    QKeyEvent Press(QEvent::KeyPress, Key, Mods, Text);
    QCoreApplication::sendEvent(W, &Press);
    QKeyEvent Release(QEvent::KeyRelease, Key, Mods, Text);
    QCoreApplication::sendEvent(W, &Release);
}

inline void TypeKeys(QWidget* W, const QString& Keys)
{
    struct TNamed
    {
        const char* Name;
        int Key;
        Qt::KeyboardModifiers Mods;
        QString Text;
    };
    const TNamed Named[] = {
        {"Up", Qt::Key_Up, Qt::NoModifier, {}},          {"Down", Qt::Key_Down, Qt::NoModifier, {}},
        {"Left", Qt::Key_Left, Qt::NoModifier, {}},      {"Right", Qt::Key_Right, Qt::NoModifier, {}},
        {"Enter", Qt::Key_Return, Qt::NoModifier, "\r"}, {"Esc", Qt::Key_Escape, Qt::NoModifier, "\x1b"},
        {"BS", Qt::Key_Backspace, Qt::NoModifier, "\b"}, {"Del", Qt::Key_Delete, Qt::NoModifier, {}},
        {"Alt+Down", Qt::Key_Down, Qt::AltModifier, {}}, {"Ctrl+V", Qt::Key_V, Qt::ControlModifier, "\x16"},
        {"Ctrl+A", Qt::Key_A, Qt::ControlModifier, "\x01"},
        {"Ctrl+Enter", Qt::Key_Return, Qt::ControlModifier, "\r"},
    };
    for (qsizetype I = 0; I < Keys.size(); ++I) {
        if (Keys[I] == u'<') {
            const qsizetype Close = Keys.indexOf(u'>', I);
            const QString Name = Keys.mid(I + 1, Close - I - 1);
            if (Name.startsWith(QLatin1String("IM:"))) {
                QInputMethodEvent Commit;
                Commit.setCommitString(Name.mid(3));
                QCoreApplication::sendEvent(W, &Commit);
            }
            for (const TNamed& N : Named)
                if (Name == QLatin1String(N.Name))
                    SendKey(W, N.Key, N.Mods, N.Text);
            I = Close;
            continue;
        }
        const QChar C = Keys[I];
        const int Key = C.isLetter() ? Qt::Key_A + (C.toUpper().unicode() - u'A') : C.unicode();
        SendKey(W, Key, Qt::NoModifier, QString(C));
    }
}

inline void SendFocus(QWidget* W, bool In)
{
    QFocusEvent E(In ? QEvent::FocusIn : QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(W, &E);
}

// Opens the widget's context menu and picks the entry whose caption starts
// with Caption ("Paste"; accelerator marks ignored).
inline void ChooseFromContextMenu(QWidget* W, const QString& Caption)
{
    QTimer::singleShot(0, [Caption] {
        if (auto* M = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* A : M->actions())
                if (QString(A->text()).remove(u'&').startsWith(Caption)) {
                    A->trigger();
                    break;
                }
            M->close();
        }
    });
    QContextMenuEvent Event(QContextMenuEvent::Mouse, QPoint(2, 2), W->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(W, &Event);
}
