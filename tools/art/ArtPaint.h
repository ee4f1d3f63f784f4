#pragma once

// Drawing helpers shared by every picture: supersampled rendering, the plain
// (greyed) twin of a hover picture, tiles, badges and the banner font.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <functional>

namespace ArtPaint {

using TDrawProc = std::function<void(QPainter&)>;

// Draws in logical pixels of Size on a canvas Scale times larger, then scales
// down smoothly: small pictures get clean anti-aliased edges. A transparent
// Background keeps the alpha channel (for icons).
QImage Render(QSize Size, const QColor& Background, const TDrawProc& Draw, int Scale = 4);

// The quiet twin of a coloured picture: desaturated and lifted towards white.
QImage Plain(const QImage& Coloured);

// The banner font, falling back to the default family when it is not installed.
QFont BannerFont(double PixelSize, bool Bold = false);

void RoundTile(QPainter& P, const QRectF& R, double Radius, const QColor& Top, const QColor& Bottom);
// A round badge at Centre with a plus (New) or a pencil (Edit).
void PlusBadge(QPainter& P, QPointF Centre, double Radius, const QColor& Fill);
void PencilBadge(QPainter& P, QPointF Centre, double Radius, const QColor& Fill);
// A soft drop shadow under a rounded shape.
void Shadow(QPainter& P, const QRectF& R, double Radius, double Offset);

} // namespace ArtPaint
