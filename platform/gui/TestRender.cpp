#include "platform/gui/TestRender.h"

#include "platform/rtl/SysUtils.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QWidget>

QImage RenderWidget(QWidget* Widget)
{
    if (!Widget)
        return QImage();
    const bool WasVisible = Widget->isVisible();
    if (!WasVisible && Widget->isWindow()) {
        Widget->setAttribute(Qt::WA_DontShowOnScreen, true);
        Widget->show();
    }
    QCoreApplication::processEvents();
    QImage Image = Widget->grab().toImage();
    if (!WasVisible && Widget->isWindow()) {
        Widget->hide();
        Widget->setAttribute(Qt::WA_DontShowOnScreen, false);
    }
    return Image;
}

void RenderToPng(QWidget* Widget, const QString& FileName)
{
    if (!RenderWidget(Widget).save(FileName, "PNG"))
        throw EWriteError(QStringLiteral("Cannot write the picture %1").arg(FileName));
}
