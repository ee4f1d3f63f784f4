// Sample data under the component names the templates bind to, for drawing
// each template prepared into a picture.
#pragma once

#include <QString>

// Prepares the template file Path over sample data and saves its first page
// as PNG at Png; false with a message on standard error when it fails.
bool RenderTemplate(const QString& Name, const QString& Path, const QString& Png);
