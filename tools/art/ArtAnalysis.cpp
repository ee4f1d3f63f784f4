#include "ArtAnalysis.h"

#include "ArtPaint.h"
#include "ArtPalette.h"

#include <QPainterPath>

using namespace ArtPalette;

namespace ArtAnalysis {

namespace {

void Arrow(QPainter& P, QPointF From, QPointF To, const QColor& Colour)
{
    P.setPen(QPen(Colour, 2.5, Qt::SolidLine, Qt::RoundCap));
    P.drawLine(From, To);
    const QPointF D = (To - From) / std::hypot(To.x() - From.x(), To.y() - From.y());
    const QPointF N(-D.y(), D.x());
    QPainterPath Head;
    Head.moveTo(To);
    Head.lineTo(To - D * 9 + N * 5);
    Head.lineTo(To - D * 9 - N * 5);
    Head.closeSubpath();
    P.setPen(Qt::NoPen);
    P.fillPath(Head, Colour);
}

} // namespace

QImage Diagram()
{
    const QColor Accents[] = {Blue, Orange, Green};
    const char* Headings[] = {"收入（销售）", "支出（采购）", "毛利与资金"};
    return ArtPaint::Render(QSize(Width, Height), Paper, [&](QPainter& P) {
        for (int Column = 0; Column < 3; ++Column) {
            const QColor& Accent = Accents[Column];
            const QRectF Head(TileLeft(Column), 10, TileWidth, 30);
            ArtPaint::RoundTile(P, Head, 8, Accent.lighter(115), Accent);
            P.setPen(White);
            P.setFont(ArtPaint::BannerFont(15, true));
            P.drawText(Head, Qt::AlignCenter, QString::fromUtf8(Headings[Column]));
            for (int Row = 0; Row < 3; ++Row) {
                const QRectF Tile(TileLeft(Column), TileTop(Row), TileWidth, TileHeight);
                ArtPaint::Shadow(P, Tile, 10, 3);
                ArtPaint::RoundTile(P, Tile, 10, White, Sky50);
                P.setPen(QPen(Accent.lighter(140), 1.5));
                P.setBrush(Qt::NoBrush);
                P.drawRoundedRect(Tile, 10, 10);
                P.fillRect(QRectF(Tile.left() + 10, Tile.top() + 8, 5, Tile.height() - 16), Accent);
                if (Row < 2)
                    Arrow(P, QPointF(Tile.center().x(), Tile.bottom() + 2),
                          QPointF(Tile.center().x(), Tile.bottom() + 18), Mist);
            }
            if (Column < 2)
                Arrow(P, QPointF(TileLeft(Column) + TileWidth + 2, TileTop(1) + TileHeight / 2.0),
                      QPointF(TileLeft(Column + 1) - 2, TileTop(1) + TileHeight / 2.0), Mist);
        }
    }, 2);
}

} // namespace ArtAnalysis
