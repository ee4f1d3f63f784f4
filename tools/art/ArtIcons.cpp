#include "ArtIcons.h"

#include "ArtPaint.h"
#include "ArtPalette.h"

#include <QPainterPath>

#include <cmath>
#include <numbers>

using namespace ArtPalette;
using ArtPaint::Render;

namespace ArtIcons {

QImage CardIcon(const QColor& Accent, int Level)
{
    const QColor Base = Level == 0 ? Mist : Accent;
    return Render(QSize(CardIconSize, CardIconSize), Qt::transparent, [&](QPainter& P) {
        const QRectF Tile(2, 2, 28, 28);
        ArtPaint::Shadow(P, Tile, 7, 0.8);
        ArtPaint::RoundTile(P, Tile, 7, Tint(Base, 0.18), Shade(Base, 0.12));
        // Three bar slots rising left to right; Level of them are filled.
        const double Heights[3] = {8, 13, 18};
        P.setPen(Qt::NoPen);
        for (int I = 0; I < 3; ++I) {
            const QRectF Bar(7.5 + I * 6.5, 25 - Heights[I], 4.5, Heights[I]);
            P.setBrush(I < Level ? QColor(White) : QColor(255, 255, 255, 70));
            P.drawRoundedRect(Bar, 1.4, 1.4);
        }
        if (Level == 0) {
            P.setPen(QPen(White, 2.2, Qt::SolidLine, Qt::RoundCap));
            P.drawLine(QPointF(7.5, 25.5), QPointF(24.5, 25.5));
        }
    });
}

QImage RoleFish(const QColor& Accent)
{
    return Render(QSize(RoleSize, RoleSize), Tint(Accent, 0.82), [&](QPainter& P) {
        // Water: two soft waves across the bottom.
        P.setPen(Qt::NoPen);
        P.setBrush(Tint(Accent, 0.68));
        QPainterPath Wave;
        Wave.moveTo(0, 31);
        Wave.cubicTo(10, 27, 16, 35, 26, 31);
        Wave.cubicTo(32, 28.5, 36, 30, 40, 31);
        Wave.lineTo(40, 40);
        Wave.lineTo(0, 40);
        Wave.closeSubpath();
        P.drawPath(Wave);

        // Tail, body, fin, eye, bubbles.
        QPainterPath Tail;
        Tail.moveTo(10, 19);
        Tail.lineTo(3, 12);
        Tail.quadTo(5, 19, 3, 26);
        Tail.closeSubpath();
        P.setBrush(Shade(Accent, 0.12));
        P.drawPath(Tail);
        QLinearGradient Body(QPointF(0, 10), QPointF(0, 28));
        Body.setColorAt(0, Tint(Accent, 0.15));
        Body.setColorAt(1, Shade(Accent, 0.1));
        P.setBrush(Body);
        P.drawEllipse(QRectF(8, 10, 25, 18));
        P.setBrush(Tint(Accent, 0.45));
        QPainterPath Fin;
        Fin.moveTo(16, 11);
        Fin.quadTo(20, 5, 26, 11.5);
        Fin.closeSubpath();
        P.drawPath(Fin);
        P.setBrush(White);
        P.drawEllipse(QPointF(26.5, 17), 3, 3);
        P.setBrush(Ink);
        P.drawEllipse(QPointF(27.2, 17.2), 1.5, 1.5);
        P.setPen(QPen(Shade(Accent, 0.3), 1.1, Qt::SolidLine, Qt::RoundCap));
        P.setBrush(Qt::NoBrush);
        P.drawArc(QRectF(27, 20, 4, 3), 200 * 16, 120 * 16);
        P.setPen(QPen(White, 1.1));
        P.drawEllipse(QPointF(35, 9), 1.8, 1.8);
        P.drawEllipse(QPointF(33.5, 4), 1.2, 1.2);
    });
}

QImage DocumentPicture(const QString& Mark, const QColor& Accent, bool Edit)
{
    const int S = WindowPictureSize;
    return Render(QSize(S, S), Tint(Accent, 0.86), [&](QPainter& P) {
        const QRectF Sheet(12, 7, 36, 46);
        ArtPaint::Shadow(P, Sheet, 4, 1.5);
        P.setPen(QPen(Tint(Accent, 0.4), 1));
        P.setBrush(White);
        P.drawRoundedRect(Sheet, 4, 4);
        // Header band in the kind's colour, then ruled lines.
        QPainterPath Head;
        Head.addRoundedRect(QRectF(Sheet.left(), Sheet.top(), Sheet.width(), 12), 4, 4);
        Head.addRect(QRectF(Sheet.left(), Sheet.top() + 6, Sheet.width(), 6));
        P.setPen(Qt::NoPen);
        P.setBrush(Accent);
        Head.setFillRule(Qt::WindingFill);
        P.drawPath(Head.simplified());
        P.setPen(QPen(Cloud, 1.6, Qt::SolidLine, Qt::RoundCap));
        for (int I = 0; I < 3; ++I)
            P.drawLine(QPointF(17, 41 + I * 4.5), QPointF(I == 2 ? 32 : 43, 41 + I * 4.5));
        P.setPen(Shade(Accent, 0.2));
        P.setFont(ArtPaint::BannerFont(18, true));
        P.drawText(QRectF(Sheet.left(), 19, Sheet.width(), 20), Qt::AlignCenter, Mark);
        const QPointF BadgeAt(47, 48);
        if (Edit)
            ArtPaint::PencilBadge(P, BadgeAt, 10, Orange);
        else
            ArtPaint::PlusBadge(P, BadgeAt, 10, Teal);
    });
}

QImage CustomerIcon(const QColor& Accent)
{
    return Render(QSize(64, 64), Qt::transparent, [&](QPainter& P) {
        P.setPen(Qt::NoPen);
        P.setBrush(Tint(Accent, 0.8));
        P.drawEllipse(QRectF(3, 3, 58, 58));
        P.save();
        QPainterPath Clip;
        Clip.addEllipse(QRectF(3, 3, 58, 58));
        P.setClipPath(Clip);
        QLinearGradient Coat(QPointF(0, 40), QPointF(0, 62));
        Coat.setColorAt(0, Accent);
        Coat.setColorAt(1, Shade(Accent, 0.2));
        P.setBrush(Coat);
        P.drawRoundedRect(QRectF(13, 41, 38, 30), 16, 16);
        P.setBrush(White);
        QPainterPath Collar;
        Collar.moveTo(26, 41);
        Collar.lineTo(32, 50);
        Collar.lineTo(38, 41);
        Collar.closeSubpath();
        P.drawPath(Collar);
        P.restore();
        P.setBrush(QColor(0xf3, 0xc9, 0xa5));
        P.drawEllipse(QRectF(21, 14, 22, 25));
        P.setBrush(Shade(Accent, 0.55));
        QPainterPath Hair;
        Hair.moveTo(20.5, 27);
        Hair.cubicTo(19, 12, 45, 10, 43.5, 27);
        Hair.cubicTo(40, 20, 30, 22, 24, 19);
        Hair.cubicTo(22.5, 21, 21.5, 24, 20.5, 27);
        P.drawPath(Hair);
        P.setPen(QPen(White, 2.5));
        P.setBrush(Qt::NoBrush);
        P.drawEllipse(QRectF(4.25, 4.25, 55.5, 55.5));
    });
}

QImage PhonePicture(const QColor& Accent)
{
    const int S = WindowPictureSize;
    return Render(QSize(S, S), Tint(Accent, 0.86), [&](QPainter& P) {
        // Ringing waves above the handset.
        P.setBrush(Qt::NoBrush);
        for (int I = 0; I < 2; ++I) {
            P.setPen(QPen(Tint(Accent, 0.3 + 0.25 * I), 2.2, Qt::SolidLine, Qt::RoundCap));
            const double R = 7 + I * 5;
            P.drawArc(QRectF(32 - R, 12 - R, 2 * R, 2 * R), 40 * 16, 100 * 16);
        }
        const QRectF Body(12, 28, 40, 26);
        ArtPaint::Shadow(P, Body, 7, 1.5);
        QPainterPath Base;
        Base.moveTo(18, 28);
        Base.lineTo(46, 28);
        Base.quadTo(51, 28, 52, 33);
        Base.lineTo(54, 49);
        Base.quadTo(54.5, 54, 49, 54);
        Base.lineTo(15, 54);
        Base.quadTo(9.5, 54, 10, 49);
        Base.lineTo(12, 33);
        Base.quadTo(13, 28, 18, 28);
        QLinearGradient G(QPointF(0, 28), QPointF(0, 54));
        G.setColorAt(0, Tint(Accent, 0.1));
        G.setColorAt(1, Shade(Accent, 0.15));
        P.setPen(Qt::NoPen);
        P.setBrush(G);
        P.drawPath(Base);
        // Dial: a white ring with holes.
        P.setBrush(White);
        P.drawEllipse(QPointF(32, 41.5), 8.5, 8.5);
        P.setBrush(Tint(Accent, 0.35));
        for (int I = 0; I < 8; ++I) {
            const double A = (I * 40 - 110) * std::numbers::pi / 180;
            P.drawEllipse(QPointF(32 + 5.6 * std::cos(A), 41.5 + 5.6 * std::sin(A)), 1.3, 1.3);
        }
        P.setBrush(Shade(Accent, 0.2));
        P.drawEllipse(QPointF(32, 41.5), 2, 2);
        // Handset resting on top.
        QPainterPath Handset;
        Handset.moveTo(9, 27);
        Handset.quadTo(8, 19, 16, 18.5);
        Handset.lineTo(48, 18.5);
        Handset.quadTo(56, 19, 55, 27);
        Handset.lineTo(46, 27);
        Handset.quadTo(45, 24, 42, 24);
        Handset.lineTo(22, 24);
        Handset.quadTo(19, 24, 18, 27);
        Handset.closeSubpath();
        P.setBrush(Shade(Accent, 0.25));
        P.drawPath(Handset);
    });
}

} // namespace ArtIcons
