#include "platform/gui/SystemMetrics.h"

#include "platform/gui/Screen.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QStyleHints>

int ScrollBarWidth()
{
    return QApplication::style() ? QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 16;
}

int DoubleClickTime()
{
    return QGuiApplication::styleHints()->mouseDoubleClickInterval();
}

int DoubleClickDistance()
{
    return QGuiApplication::styleHints()->mouseDoubleClickDistance();
}

QRect ScreenWorkArea()
{
    return Screen()->WorkAreaRect();
}

int ScreenDpi()
{
    const QScreen* S = QGuiApplication::primaryScreen();
    return S ? qRound(S->logicalDotsPerInch()) : 96;
}
