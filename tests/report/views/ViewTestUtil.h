// Shared helpers of the view tests: the engine state a test sets (restored
// when it ends), the measuring seam of known metrics (Latin 6 px, Chinese
// 12 px a character) and ink scans of rendered images.
#pragma once

#include "platform/gui/Graphics.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_TextMeasure.h"
#include "report/engine/FR_View.h"

#include <QImage>
#include <QString>
#include <memory>

namespace viewtest {

// Engine state for one test; everything goes back when it ends.
class TEngineState
{
public:
    explicit TEngineState(int ADocMode = dmDesigning)
        : FDocMode(DocMode), FPage(CurPage), FBand(CurBand), FDisable(DisableDrawing), FTitles(frShowBandTitles)
    {
        DocMode = ADocMode;
        CurPage = nullptr;
        CurBand = nullptr;
        CurReport = nullptr;
        DisableDrawing = false;
    }
    ~TEngineState()
    {
        DocMode = FDocMode;
        CurPage = FPage;
        CurBand = FBand;
        DisableDrawing = FDisable;
        frShowBandTitles = FTitles;
        frSetMeasureHook({});
        frFormattedValue = {};
        frRunScript = {};
        frCalcPostfix = {};
    }
    TEngineState(const TEngineState&) = delete;
    TEngineState& operator=(const TEngineState&) = delete;

private:
    int FDocMode;
    TfrPage* FPage;
    TfrBand* FBand;
    bool FDisable;
    bool FTitles;
};

// Latin characters 6 pixels wide, Chinese 12, whatever the font.
inline void UseKnownMetrics()
{
    frSetMeasureHook([](const TFont&, const QString& Text) {
        double W = 0;
        for (QChar C : Text)
            if (!C.isLowSurrogate())
                W += C.unicode() >= 0x2E80 || C.isHighSurrogate() ? 12 : 6;
        return W;
    });
}

// A page 800 pixels wide whose usable span is 40..740.
inline std::unique_ptr<TfrPage> NewPage()
{
    auto Page = std::make_unique<TfrPage>(9, 2100, 2970, frNoBin, poPortrait);
    Page->PrnInfo.PaperWidthPx = 800;
    Page->PrnInfo.PaperHeightPx = 1100;
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

// Bounding box of the pixels darker than Threshold (grey level), or a null rectangle.
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

// "L,T,R,B" with R and B outside, as the classic rectangles are written.
inline QString Classic(const QRect& R)
{
    return QStringLiteral("%1,%2,%3,%4").arg(R.left()).arg(R.top()).arg(RectRight(R)).arg(RectBottom(R));
}

} // namespace viewtest
