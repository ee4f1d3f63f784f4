// Helpers of the engine's window tests: real mouse events and pixel reads.
#pragma once

#include <QCoreApplication>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QString>
#include <QWidget>
#include <ostream>
#include "TestText.h"

namespace uitest {

inline void Mouse(QWidget* W, QEvent::Type Type, QPoint P, Qt::MouseButtons Held = Qt::NoButton)
{
    const Qt::MouseButton Button = Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent E(Type, QPointF(P), QPointF(W->mapToGlobal(P)), Button,
                  Type == QEvent::MouseButtonPress || Type == QEvent::MouseMove ? Held | Button : Held,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(W, &E);
}

inline void Press(QWidget* W, QPoint P) { Mouse(W, QEvent::MouseButtonPress, P); }
inline void Move(QWidget* W, QPoint P) { Mouse(W, QEvent::MouseMove, P, Qt::LeftButton); }
inline void Release(QWidget* W, QPoint P) { Mouse(W, QEvent::MouseButtonRelease, P); }
inline void Click(QWidget* W, QPoint P = QPoint(5, 5))
{
    Press(W, P);
    Release(W, P);
}

inline void Enter(QWidget* W)
{
    QEnterEvent E(QPointF(1, 1), QPointF(1, 1), QPointF(W->mapToGlobal(QPoint(1, 1))));
    QCoreApplication::sendEvent(W, &E);
}

inline void Leave(QWidget* W)
{
    QEvent E(QEvent::Leave);
    QCoreApplication::sendEvent(W, &E);
}

// The pixel as 0xRRGGBB.
inline unsigned Pixel(const QImage& I, int X, int Y)
{
    return I.pixel(X, Y) & 0xFFFFFFu;
}

} // namespace uitest
