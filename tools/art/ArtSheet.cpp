#include "ArtSheet.h"

#include "ArtPaint.h"
#include "ArtPalette.h"

#include <QPainter>

using namespace ArtPalette;

namespace {

constexpr int SheetWidth = 1500;
constexpr int Gap = 14;
constexpr int LabelHeight = 16;

QSize ShownSize(const QImage& Image, int Zoom)
{
    return Image.width() <= 64 && Image.height() <= 64 ? Image.size() * Zoom : Image.size();
}

} // namespace

QImage ArtSheet(const std::vector<TArtSheetEntry>& Entries, int Zoom)
{
    // First pass lays the pictures out in rows; the second draws them.
    struct TPlace { QRect Box; const TArtSheetEntry* Entry; };
    std::vector<TPlace> Places;
    int X = Gap, Y = Gap, RowHeight = 0;
    for (const TArtSheetEntry& E : Entries) {
        const QSize S = ShownSize(E.Image, Zoom);
        const int W = qMax(S.width(), 100);
        if (X + W > SheetWidth - Gap && X > Gap) {
            X = Gap;
            Y += RowHeight + LabelHeight + Gap;
            RowHeight = 0;
        }
        Places.push_back({QRect(QPoint(X, Y), QSize(W, S.height())), &E});
        X += W + Gap;
        RowHeight = qMax(RowHeight, S.height());
    }
    QImage Sheet(SheetWidth, Y + RowHeight + LabelHeight + Gap, QImage::Format_RGB32);
    Sheet.fill(White);
    QPainter P(&Sheet);
    P.setFont(ArtPaint::BannerFont(11));
    for (const TPlace& Pl : Places) {
        const QSize S = ShownSize(Pl.Entry->Image, Zoom);
        const QRect Target(Pl.Box.topLeft(), S);
        // A checker shows where icons are transparent.
        for (int Cy = 0; Cy < S.height(); Cy += 8)
            for (int Cx = 0; Cx < S.width(); Cx += 8)
                P.fillRect(QRect(Target.left() + Cx, Target.top() + Cy, qMin(8, S.width() - Cx), qMin(8, S.height() - Cy)),
                           ((Cx + Cy) / 8) % 2 ? QColor(0xe6, 0xe6, 0xe6) : QColor(0xf6, 0xf6, 0xf6));
        P.drawImage(Target, Pl.Entry->Image);
        P.setPen(Slate);
        P.drawText(QRect(Pl.Box.left(), Pl.Box.bottom() + 2, qMax(Pl.Box.width(), 100), LabelHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, Pl.Entry->FileName);
    }
    return Sheet;
}
