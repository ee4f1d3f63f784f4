#include "ArtPaint.h"

#include "ArtPalette.h"

#include <QFontDatabase>
#include <QPainterPath>

namespace ArtPaint {

QImage Render(QSize Size, const QColor& Background, const TDrawProc& Draw, int Scale)
{
    QImage Big(Size * Scale, QImage::Format_ARGB32_Premultiplied);
    Big.fill(Background);
    {
        QPainter P(&Big);
        P.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        P.scale(Scale, Scale);
        Draw(P);
    }
    if (Scale == 1)
        return Big;
    return Big.scaled(Size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage Plain(const QImage& Coloured)
{
    // Mostly grey with a trace of the original hue, lifted towards white, so the
    // resting state still belongs to the palette but clearly steps back.
    constexpr double Keep = 0.3, Lift = 0.18;
    QImage Out = Coloured.convertToFormat(QImage::Format_ARGB32);
    for (int Y = 0; Y < Out.height(); ++Y) {
        auto* Line = reinterpret_cast<QRgb*>(Out.scanLine(Y));
        for (int X = 0; X < Out.width(); ++X) {
            const QRgb C = Line[X];
            const double L = 0.299 * qRed(C) + 0.587 * qGreen(C) + 0.114 * qBlue(C);
            auto Channel = [&](int V) {
                const double Toned = L + (V - L) * Keep;
                return qBound(0, int(Toned + (255 - Toned) * Lift + 0.5), 255);
            };
            Line[X] = qRgba(Channel(qRed(C)), Channel(qGreen(C)), Channel(qBlue(C)), qAlpha(C));
        }
    }
    return Out;
}

QFont BannerFont(double PixelSize, bool Bold)
{
    static const QString Family = [] {
        const QString Wanted = QStringLiteral("WenQuanYi Micro Hei");
        return QFontDatabase::families().contains(Wanted) ? Wanted : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    QFont F(Family);
    F.setPixelSize(qMax(1, int(PixelSize + 0.5)));
    F.setBold(Bold);
    F.setStyleStrategy(QFont::PreferAntialias);
    return F;
}

void RoundTile(QPainter& P, const QRectF& R, double Radius, const QColor& Top, const QColor& Bottom)
{
    QLinearGradient G(R.topLeft(), R.bottomLeft());
    G.setColorAt(0, Top);
    G.setColorAt(1, Bottom);
    P.save();
    P.setPen(Qt::NoPen);
    P.setBrush(G);
    P.drawRoundedRect(R, Radius, Radius);
    P.restore();
}

static void BadgeDisc(QPainter& P, QPointF Centre, double Radius, const QColor& Fill)
{
    P.setPen(QPen(ArtPalette::White, Radius * 0.22));
    P.setBrush(Fill);
    P.drawEllipse(Centre, Radius, Radius);
}

void PlusBadge(QPainter& P, QPointF Centre, double Radius, const QColor& Fill)
{
    P.save();
    BadgeDisc(P, Centre, Radius, Fill);
    const double Arm = Radius * 0.5;
    P.setPen(QPen(ArtPalette::White, Radius * 0.3, Qt::SolidLine, Qt::RoundCap));
    P.drawLine(Centre + QPointF(-Arm, 0), Centre + QPointF(Arm, 0));
    P.drawLine(Centre + QPointF(0, -Arm), Centre + QPointF(0, Arm));
    P.restore();
}

void PencilBadge(QPainter& P, QPointF Centre, double Radius, const QColor& Fill)
{
    P.save();
    BadgeDisc(P, Centre, Radius, Fill);
    P.translate(Centre);
    P.rotate(-45);
    const double L = Radius * 1.25, W = Radius * 0.42;
    // Body, then the sharpened tip and its lead.
    P.setPen(Qt::NoPen);
    P.setBrush(ArtPalette::White);
    P.drawRect(QRectF(-L / 2, -W / 2, L * 0.72, W));
    QPainterPath Tip;
    Tip.moveTo(-L / 2 + L * 0.72, -W / 2);
    Tip.lineTo(L / 2, 0);
    Tip.lineTo(-L / 2 + L * 0.72, W / 2);
    Tip.closeSubpath();
    P.drawPath(Tip);
    P.setBrush(ArtPalette::Shade(Fill, 0.45));
    P.drawEllipse(QPointF(L / 2 - W * 0.22, 0), W * 0.16, W * 0.16);
    P.restore();
}

void Shadow(QPainter& P, const QRectF& R, double Radius, double Offset)
{
    P.save();
    P.setPen(Qt::NoPen);
    for (int I = 3; I >= 1; --I) {
        P.setBrush(QColor(20, 40, 70, 14));
        const double Grow = I * Offset * 0.35;
        P.drawRoundedRect(R.translated(0, Offset).adjusted(-Grow, -Grow, Grow, Grow), Radius + Grow, Radius + Grow);
    }
    P.restore();
}

} // namespace ArtPaint
