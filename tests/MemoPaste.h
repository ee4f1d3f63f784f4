#pragma once
// For the tests that walk a layer's windows: every multi-line box is a TMemo
// and keeps its text when the clipboard holds data without any format.
#include "platform/gui/StdCtrls.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QStringList>

// Presses Ctrl+V over an empty clipboard in every multi-line box under
// Window, hidden ones too. One entry per box in creation order, its name (or
// class) alone when it is a TMemo and kept its text, else followed by
// "(not a TMemo)" or "(text changed)". A box that is not a TMemo gets no key:
// Qt would end the test program there.
inline QString PasteNothingIntoBoxes(QWidget* Window)
{
    QStringList Boxes;
    for (QPlainTextEdit* Box : Window->findChildren<QPlainTextEdit*>()) {
        QString Entry = Box->objectName().isEmpty() ? QString::fromLatin1(Box->metaObject()->className())
                                                    : Box->objectName();
        if (!dynamic_cast<TMemo*>(Box)) {
            Boxes << Entry + QStringLiteral(" (not a TMemo)");
            continue;
        }
        const QString Before = Box->toPlainText();
        QGuiApplication::clipboard()->setMimeData(new QMimeData);
        QKeyEvent Press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QString(QChar(0x16)));
        QCoreApplication::sendEvent(Box, &Press);
        QKeyEvent Release(QEvent::KeyRelease, Qt::Key_V, Qt::ControlModifier, QString(QChar(0x16)));
        QCoreApplication::sendEvent(Box, &Release);
        if (Box->toPlainText() != Before)
            Entry += QStringLiteral(" (text changed)");
        Boxes << Entry;
    }
    QGuiApplication::clipboard()->clear();
    return Boxes.join(QStringLiteral("; "));
}
