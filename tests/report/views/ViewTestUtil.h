// Helpers of the view tests: engine state reset when a test ends, metrics of
// known widths (Latin 6 px, Chinese 12 px), a page, and ink scans.
#pragma once

#include "platform/gui/Graphics.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_TextMeasure.h"
#include "report/engine/FR_View.h"

#include <QImage>
#include <memory>

namespace viewtest {

class TEngineState
{
public:
    explicit TEngineState(int Mode = dmDesigning)
    {
        DocMode = Mode;
        CurPage = nullptr;
        CurBand = nullptr;
        CurReport = nullptr;
    }
    ~TEngineState()
    {
        DocMode = dmDesigning;
        CurPage = nullptr;
        CurBand = nullptr;
        frSetMeasureHook({});
        frFormattedValue = {};
        frRunScript = {};
    }
};

inline void UseKnownMetrics()
{
    frSetMeasureHook([](const TFont&, const QString& Text) {
        double W = 0;
        for (QChar C : Text)
            W += C.isLowSurrogate() ? 0 : C.unicode() >= 0x2E80 || C.isHighSurrogate() ? 12 : 6;
        return W;
    });
}

// 800 x 200 pixels, usable from 40 to 740.
inline std::unique_ptr<TfrPage> NewPage()
{
    auto Page = std::make_unique<TfrPage>(9, 2100, 2970, frNoBin, poPortrait);
    Page->PrnInfo.PaperWidthPx = 800;
    Page->PrnInfo.PaperHeightPx = 200;
    Page->LeftMargin = 40;
    Page->RightMargin = 60;
    return Page;
}

inline QImage WhiteImage(int W, int H)
{
    QImage Image(W, H, QImage::Format_RGB32);
    Image.fill(Qt::white);
    return Image;
}

inline TColor PixelAt(const QImage& Image, int X, int Y)
{
    return QColorToColor(QColor::fromRgb(Image.pixel(X, Y)));
}

// Bounding box of the pixels darker than Threshold, or a null rectangle.
inline QRect InkBox(const QImage& Image, const QRect& Area = QRect(), int Threshold = 128)
{
    const QRect A = Area.isNull() ? Image.rect() : Area.intersected(Image.rect());
    QRect Box;
    for (int Y = A.top(); Y <= A.bottom(); ++Y)
        for (int X = A.left(); X <= A.right(); ++X)
            if (qGray(Image.pixel(X, Y)) < Threshold)
                Box |= QRect(X, Y, 1, 1);
    return Box;
}

// "L,T,R,B", R and B outside.
inline QString Classic(const QRect& R)
{
    return QStringLiteral("%1,%2,%3,%4").arg(R.left()).arg(R.top()).arg(RectRight(R)).arg(RectBottom(R));
}

} // namespace viewtest
