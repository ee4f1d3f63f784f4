#include "ArtBanners.h"

#include "ArtPaint.h"
#include "ArtPalette.h"

#include <QPainterPath>

using namespace ArtPalette;
using ArtPaint::Render;

namespace ArtBanners {

namespace {

// A simple arch bridge: the program's mark, drawn in white over the banner.
void Bridge(QPainter& P, const QRectF& R, const QColor& Colour)
{
    P.save();
    P.setBrush(Qt::NoBrush);
    P.setPen(QPen(Colour, 3, Qt::SolidLine, Qt::RoundCap));
    const double Deck = R.top() + R.height() * 0.42;
    P.drawLine(QPointF(R.left(), Deck), QPointF(R.right(), Deck));
    QPainterPath Arch;
    Arch.moveTo(R.left() + R.width() * 0.08, R.bottom());
    Arch.quadTo(R.center().x(), R.top() - R.height() * 0.35, R.right() - R.width() * 0.08, R.bottom());
    P.drawPath(Arch);
    // Hangers between deck and arch.
    P.setPen(QPen(Colour, 1.5));
    for (int I = 1; I < 8; ++I) {
        const double X = R.left() + R.width() * (0.08 + 0.84 * I / 8.0);
        const double T = (X - (R.left() + R.width() * 0.08)) / (R.width() * 0.84);
        const double ArchY = (1 - T) * (1 - T) * R.bottom() + 2 * (1 - T) * T * (R.top() - R.height() * 0.35)
                             + T * T * R.bottom();
        if (ArchY > Deck)
            P.drawLine(QPointF(X, Deck), QPointF(X, ArchY));
        else
            P.drawLine(QPointF(X, ArchY), QPointF(X, Deck));
    }
    P.restore();
}

void LogoMark(QPainter& P, const QRectF& R)
{
    ArtPaint::Shadow(P, R, 10, 1.5);
    ArtPaint::RoundTile(P, R, 10, White, Sky100);
    P.save();
    // Three rising tallies standing on a small arch bridge.
    const double Deck = R.bottom() - 17;
    P.setPen(Qt::NoPen);
    const QColor Bars[3] = {Green, Yellow, Purple};
    for (int I = 0; I < 3; ++I) {
        const double H = 9 + I * 7;
        P.setBrush(Bars[I]);
        P.drawRoundedRect(QRectF(R.left() + 15 + I * 11, Deck - 2 - H, 8, H), 2, 2);
    }
    P.setPen(QPen(Blue600, 3, Qt::SolidLine, Qt::RoundCap));
    P.drawLine(QPointF(R.left() + 9, Deck), QPointF(R.right() - 9, Deck));
    P.setBrush(Qt::NoBrush);
    P.setPen(QPen(Blue600, 2.6, Qt::SolidLine, Qt::RoundCap));
    P.drawArc(QRectF(R.left() + 14, Deck + 2, R.width() - 28, 22), 0, 180 * 16);
    P.restore();
}

void ChatGlyph(QPainter& P, QPointF C, const QColor& Ink)
{
    QPainterPath Bubble;
    Bubble.addRoundedRect(QRectF(C.x() - 11, C.y() - 9, 22, 15), 5, 5);
    QPainterPath Tail;
    Tail.moveTo(C.x() - 5, C.y() + 5);
    Tail.lineTo(C.x() - 8, C.y() + 11);
    Tail.lineTo(C.x() + 1, C.y() + 5);
    Tail.closeSubpath();
    P.setPen(Qt::NoPen);
    P.setBrush(White);
    P.drawPath(Bubble.united(Tail));
    P.setBrush(Ink);
    for (int I = -1; I <= 1; ++I)
        P.drawEllipse(QPointF(C.x() + I * 5.5, C.y() - 1.5), 1.8, 1.8);
}

void GlobeGlyph(QPainter& P, QPointF C)
{
    P.setBrush(Qt::NoBrush);
    P.setPen(QPen(White, 2.2));
    P.drawEllipse(C, 11, 11);
    P.drawEllipse(QRectF(C.x() - 5, C.y() - 11, 10, 22));
    P.drawLine(QPointF(C.x() - 11, C.y()), QPointF(C.x() + 11, C.y()));
    P.drawLine(QPointF(C.x(), C.y() - 11), QPointF(C.x(), C.y() + 11));
    P.setPen(QPen(White, 1.6));
    P.drawLine(QPointF(C.x() - 9.5, C.y() - 5.5), QPointF(C.x() + 9.5, C.y() - 5.5));
    P.drawLine(QPointF(C.x() - 9.5, C.y() + 5.5), QPointF(C.x() + 9.5, C.y() + 5.5));
}

void LeaveGlyph(QPainter& P, QPointF C)
{
    P.setBrush(Qt::NoBrush);
    P.setPen(QPen(White, 2.8, Qt::SolidLine, Qt::RoundCap));
    P.drawArc(QRectF(C.x() - 10, C.y() - 9, 20, 20), 120 * 16, 300 * 16);
    P.drawLine(QPointF(C.x(), C.y() - 12), QPointF(C.x(), C.y() + 1));
}

} // namespace

QImage TitleBanner()
{
    const QSize Size(TitleWidth, TitleHeight);
    return Render(Size, Sky50, [&](QPainter& P) {
        QLinearGradient Sky(QPointF(0, 0), QPointF(TitleWidth, 0));
        Sky.setColorAt(0, Blue600);
        Sky.setColorAt(0.6, Blue);
        Sky.setColorAt(1, Sky400);
        P.fillRect(QRectF(0, 0, TitleWidth, TitleHeight), Sky);
        // Soft hills of light at the bottom.
        P.setPen(Qt::NoPen);
        P.setBrush(QColor(255, 255, 255, 28));
        P.drawEllipse(QRectF(380, 50, 420, 110));
        P.setBrush(QColor(255, 255, 255, 20));
        P.drawEllipse(QRectF(-120, 62, 520, 90));
        Bridge(P, QRectF(462, 14, 180, 48), QColor(255, 255, 255, 150));

        LogoMark(P, QRectF(22, 15, 60, 60));
        P.setPen(White);
        P.setFont(ArtPaint::BannerFont(30, true));
        P.drawText(QRectF(100, 12, 420, 40), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Tallybridge业务管理软件"));
        P.setPen(QColor(255, 255, 255, 215));
        P.setFont(ArtPaint::BannerFont(14));
        P.drawText(QRectF(102, 52, 420, 24), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("客户管理 · 业务单据 · 财务帐户 · 统计报表"));
        P.setPen(QColor(255, 255, 255, 200));
        P.setFont(ArtPaint::BannerFont(12));
        P.drawText(QRectF(TitleWidth - 170, TitleHeight - 22, 160, 18), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("点击查看更多 ›"));
    }, 2);
}

QImage UpPicture(TUpKind Kind)
{
    QColor Accent;
    QString Caption, Note;
    switch (Kind) {
    case TUpKind::OnlineService:
        Accent = Teal;
        Caption = QStringLiteral("在线服务");
        Note = QStringLiteral("咨询与帮助");
        break;
    case TUpKind::ProductPage:
        Accent = Blue;
        Caption = QStringLiteral("产品主页");
        Note = QStringLiteral("访问官方网站");
        break;
    case TUpKind::Leave:
        Accent = Orange;
        Caption = QStringLiteral("退出系统");
        Note = QStringLiteral("关闭登录窗口");
        break;
    }
    return Render(QSize(UpWidth, UpHeight), Sky50, [&](QPainter& P) {
        ArtPaint::RoundTile(P, QRectF(0, 0, UpWidth, UpHeight), 0, Tint(Accent, 0.9), Tint(Accent, 0.74));
        P.fillRect(QRectF(0, UpHeight - 4, UpWidth, 4), Accent);
        const QPointF C(34, 33);
        P.setPen(Qt::NoPen);
        P.setBrush(Accent);
        P.drawEllipse(C, 21, 21);
        if (Kind == TUpKind::OnlineService)
            ChatGlyph(P, C, Accent);
        else if (Kind == TUpKind::ProductPage)
            GlobeGlyph(P, C);
        else
            LeaveGlyph(P, C);
        P.setPen(Shade(Accent, 0.35));
        P.setFont(ArtPaint::BannerFont(18, true));
        P.drawText(QRectF(62, 12, 96, 26), Qt::AlignLeft | Qt::AlignVCenter, Caption);
        P.setPen(Shade(Accent, 0.1));
        P.setFont(ArtPaint::BannerFont(12));
        P.drawText(QRectF(63, 38, 96, 18), Qt::AlignLeft | Qt::AlignVCenter, Note);
    }, 2);
}

QImage CollapseStrip(bool PointLeft)
{
    return Render(QSize(StripWidth, StripHeight), Sky100, [&](QPainter& P) {
        QLinearGradient G(QPointF(0, 0), QPointF(StripWidth, 0));
        G.setColorAt(0, Sky50);
        G.setColorAt(1, Sky200);
        P.fillRect(QRectF(0, 0, StripWidth, StripHeight), G);
        P.setPen(QPen(Sky400, 1));
        P.drawLine(QPointF(StripWidth - 0.5, 0), QPointF(StripWidth - 0.5, StripHeight));
        // The handle: a pill with a chevron, grip dots above and below.
        const double Mid = StripHeight / 2.0;
        ArtPaint::RoundTile(P, QRectF(2, Mid - 24, 12, 48), 6, Sky400, Blue600);
        P.setPen(QPen(White, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const double Dir = PointLeft ? -1 : 1;
        QPolygonF Chevron;
        Chevron << QPointF(8 - Dir * 2, Mid - 5) << QPointF(8 + Dir * 2, Mid) << QPointF(8 - Dir * 2, Mid + 5);
        P.drawPolyline(Chevron);
        P.setPen(Qt::NoPen);
        P.setBrush(Sky400);
        for (int I = 0; I < 4; ++I) {
            P.drawEllipse(QPointF(8, Mid - 34 - I * 6), 1.2, 1.2);
            P.drawEllipse(QPointF(8, Mid + 34 + I * 6), 1.2, 1.2);
        }
    });
}

} // namespace ArtBanners
