// Helpers shared by the window-layer tests.
#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QWidget>
#include <QString>
#include <ostream>
#include "TestText.h"

// A white RGB image to draw on.
inline QImage WhiteImage(int Width, int Height)
{
    QImage I(Width, Height, QImage::Format_RGB32);
    I.fill(Qt::white);
    return I;
}

// Sends one key press; answers whether a handler accepted it.
inline bool SendKey(QWidget* W, int Key, Qt::KeyboardModifiers Mods = Qt::NoModifier, const QString& Text = {})
{
    QKeyEvent E(QEvent::KeyPress, Key, Mods, Text);
    QCoreApplication::sendEvent(W, &E);
    return E.isAccepted();
}
