// Helpers shared by the window-layer tests.
#pragma once

#include <QImage>
#include <QString>
#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& S, std::ostream* Out)
{
    *Out << '"' << S.toStdString() << '"';
}

// A white RGB image to draw on.
inline QImage WhiteImage(int Width, int Height)
{
    QImage I(Width, Height, QImage::Format_RGB32);
    I.fill(Qt::white);
    return I;
}
