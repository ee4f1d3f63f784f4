// Renders a window or control to a PNG file offscreen, for visual checks in
// tests and for pictures in the documentation.
#pragma once

#include <QImage>
#include <QString>

class QWidget;

// The widget as it would appear (shown offscreen first when hidden).
QImage RenderWidget(QWidget* Widget);
// Raises EWriteError when the file cannot be written.
void RenderToPng(QWidget* Widget, const QString& FileName);
