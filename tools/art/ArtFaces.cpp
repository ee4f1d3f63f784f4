#include "ArtFaces.h"

#include "ArtPaint.h"
#include "ArtPalette.h"

#include <QPainterPath>

#include <cmath>

using namespace ArtPalette;

namespace ArtFaces {

namespace {

enum class THair { Crop, Long, Bun, SidePart, Curly, Bob };

struct TLook
{
    QColor Background;
    QColor Skin;
    QColor Hair;
    QColor Clothes;
    THair Style;
    bool Glasses;
};

// Every look comes from the number through counters that cycle at different
// lengths; background (8) and skin (5) alone already make 40 distinct pairs.
TLook LookOf(int Number)
{
    static const QColor Backgrounds[8] = {Sky100, {0xe3, 0xf4, 0xe9}, {0xfb, 0xee, 0xd2}, {0xee, 0xe4, 0xf8},
                                          {0xfd, 0xe5, 0xdc}, {0xdc, 0xf2, 0xf1}, {0xe8, 0xec, 0xf1}, {0xfa, 0xe3, 0xec}};
    static const QColor Skins[5] = {{0xf6, 0xd5, 0xb8}, {0xee, 0xc0, 0x98}, {0xd9, 0xa0, 0x74},
                                    {0xb7, 0x7b, 0x52}, {0x8d, 0x5a, 0x3b}};
    static const QColor Hairs[6] = {{0x2a, 0x26, 0x24}, {0x4a, 0x30, 0x22}, {0x7a, 0x4e, 0x2d},
                                    {0xa6, 0x55, 0x2e}, {0x9c, 0x9c, 0xa2}, {0xcf, 0xa5, 0x52}};
    static const QColor Clothes[7] = {Blue, Purple, Green, Orange, Teal, Red, Navy};
    static const THair Styles[6] = {THair::Crop, THair::Long, THair::SidePart, THair::Bun, THair::Curly, THair::Bob};
    const int I = Number - 1;
    TLook L;
    L.Background = Backgrounds[I % 8];
    L.Skin = Skins[(I * 3) % 5];
    L.Style = Styles[(I + I / 6) % 6];
    // About half the faces take one of the three dark colours, so light hair stays rarer.
    L.Hair = Hairs[(I * 5 + 1) % 11 < 6 ? (I * 5 + 1) % 11 : (I % 3)];
    L.Clothes = Clothes[(I * 4 + 2) % 7];
    L.Glasses = I % 5 == 3 || I % 7 == 5;
    return L;
}

void HairBack(QPainter& P, const TLook& L)
{
    P.setBrush(L.Hair);
    switch (L.Style) {
    case THair::Long:
        P.drawRoundedRect(QRectF(9.5, 9, 21, 24), 9, 9);
        break;
    case THair::Bob:
        P.drawRoundedRect(QRectF(10, 8.5, 20, 19), 8, 8);
        break;
    case THair::Bun:
        P.drawEllipse(QPointF(20, 5.8), 4.2, 4.0);
        break;
    case THair::Curly:
        for (int K = 0; K < 9; ++K) {
            const double A = (200 + K * 17.5) * 3.14159265 / 180;
            P.drawEllipse(QPointF(20 + 10.5 * std::cos(A), 17.5 + 10.5 * std::sin(A)), 3.8, 3.8);
        }
        break;
    default:
        break;
    }
}

void HairFront(QPainter& P, const TLook& L)
{
    P.setBrush(L.Hair);
    QPainterPath Top;
    switch (L.Style) {
    case THair::Crop:
        Top.moveTo(12.3, 17);
        Top.cubicTo(11.5, 6.5, 28.5, 6.5, 27.7, 17);
        Top.cubicTo(25, 13.5, 16, 14, 12.3, 17);
        break;
    case THair::SidePart:
        Top.moveTo(12.2, 18);
        Top.cubicTo(10.5, 6, 30, 5.5, 27.8, 18);
        Top.cubicTo(27, 14, 24, 12.5, 17, 13.2);
        Top.cubicTo(15, 14.5, 13.5, 16, 12.2, 18);
        break;
    case THair::Bob:
        Top.moveTo(12, 18);
        Top.cubicTo(11, 7.5, 29, 7.5, 28, 18);
        Top.lineTo(28, 15);
        Top.cubicTo(24, 14.8, 17, 14.8, 12, 15.5);
        Top.closeSubpath();
        break;
    case THair::Long:
    case THair::Bun:
        Top.moveTo(12.2, 18);
        Top.cubicTo(11.5, 7, 28.5, 7, 27.8, 18);
        Top.cubicTo(26, 13, 22, 12.5, 20, 11.8);
        Top.cubicTo(18, 12.5, 14, 13, 12.2, 18);
        break;
    case THair::Curly:
        // A solid cap edged with small curls along the hairline.
        Top.moveTo(12.4, 16);
        Top.cubicTo(12, 8, 28, 8, 27.6, 16);
        Top.cubicTo(25, 12, 15, 12, 12.4, 16);
        for (int K = 0; K < 6; ++K) {
            const double X = 13.3 + K * 2.7;
            Top.addEllipse(QPointF(X, 12.6 + (K == 0 || K == 5 ? 2.2 : 0.4 * ((K + 1) % 2))), 2.5, 2.5);
        }
        break;
    }
    Top.setFillRule(Qt::WindingFill);
    P.drawPath(Top.simplified());
}

void FaceFeatures(QPainter& P, const TLook& L)
{
    P.setBrush(Ink);
    P.drawEllipse(QPointF(16.7, 19.6), 1.15, 1.3);
    P.drawEllipse(QPointF(23.3, 19.6), 1.15, 1.3);
    P.setBrush(QColor(0xf0, 0x80, 0x80, 70));
    P.drawEllipse(QPointF(14.6, 22.6), 1.8, 1.1);
    P.drawEllipse(QPointF(25.4, 22.6), 1.8, 1.1);
    P.setBrush(Qt::NoBrush);
    P.setPen(QPen(Shade(L.Skin, 0.55), 0.9, Qt::SolidLine, Qt::RoundCap));
    P.drawArc(QRectF(17.2, 20.6, 5.6, 4.2), 200 * 16, 140 * 16);
    if (L.Glasses) {
        P.setPen(QPen(Ink, 0.8));
        P.drawEllipse(QPointF(16.7, 19.6), 2.9, 2.6);
        P.drawEllipse(QPointF(23.3, 19.6), 2.9, 2.6);
        P.drawLine(QPointF(19.6, 19.4), QPointF(20.4, 19.4));
    }
    P.setPen(Qt::NoPen);
}

} // namespace

QImage Face(int Number)
{
    const TLook L = LookOf(Number);
    return ArtPaint::Render(QSize(FaceSize, FaceSize), L.Background, [&](QPainter& P) {
        P.setPen(Qt::NoPen);
        // A lighter halo behind the head keeps small faces readable.
        P.setBrush(Tint(L.Background, 0.5));
        P.drawEllipse(QPointF(20, 19), 15, 15);
        HairBack(P, L);
        // Shoulders and a collar in the clothing colour.
        QPainterPath Body;
        Body.addRoundedRect(QRectF(6, 30, 28, 18), 9, 9);
        P.setBrush(L.Clothes);
        P.drawPath(Body);
        P.setBrush(Shade(L.Skin, 0.12));
        P.drawRect(QRectF(17.5, 26, 5, 5.5));
        QPainterPath Neck;
        Neck.moveTo(16.5, 30);
        Neck.lineTo(20, 34.5);
        Neck.lineTo(23.5, 30);
        Neck.closeSubpath();
        P.setBrush(L.Skin);
        P.drawPath(Neck);
        // Ears, head, hair over the forehead, then the face.
        P.drawEllipse(QPointF(12.2, 20), 1.8, 2.4);
        P.drawEllipse(QPointF(27.8, 20), 1.8, 2.4);
        P.drawEllipse(QRectF(12.3, 10, 15.4, 18));
        HairFront(P, L);
        FaceFeatures(P, L);
    });
}

} // namespace ArtFaces
