// The canvas: painter set-up, lines and shapes, pixels, pictures and clipping.
// Thin lines are plotted pixel by pixel as the classic line routine does (end
// point excluded, each pixel once), so XOR drawing of a polyline or frame is
// exactly undone by drawing it again.
#include "platform/gui/Graphics.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPen>
#include <QTransform>
#include <algorithm>
#include <cstdlib>

TCanvas::TCanvas(QImage* Image)
    : FImage(Image), FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()),
      FBrush(std::make_unique<TBrush>())
{
}

TCanvas::TCanvas(QPainter* Painter)
    : FBorrowed(Painter), FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()),
      FBrush(std::make_unique<TBrush>())
{
    if (Painter && Painter->hasClipping()) {
        FHasClip = true;
        FClip = Painter->clipRegion();
    }
    // Screen surfaces are pixel surfaces at 96 dpi whatever the desktop says;
    // printers and PDF writers draw at their own resolution.
    if (Painter && Painter->device()) {
        const int Type = Painter->device()->devType();
        if (Type != QInternal::Widget && Type != QInternal::Pixmap && Type != QInternal::Image)
            SetPixelsPerInch(Painter->device()->logicalDpiY());
    }
}

void TCanvas::SetPixelsPerInch(int Value)
{
    FPixelsPerInch = Value > 0 ? Value : 96;
    // The font keeps its point size at the new resolution.
    const int Size = FFont->Size();
    FFont->SetPixelsPerInch(FPixelsPerInch);
    FFont->SetSize(Size);
}

TCanvas::~TCanvas()
{
    Release();
}

QPainter* TCanvas::P() const
{
    if (FBorrowed)
        return FBorrowed;
    if (!FOwnPainter) {
        FOwnPainter = std::make_unique<QPainter>();
        if (FImage && !FImage->isNull() && FOwnPainter->begin(FImage))
            FOwnPainter->translate(-FOrigin);
    }
    return FOwnPainter.get();
}

void TCanvas::SetOrigin(QPoint Value)
{
    if (FOrigin == Value)
        return;
    Release();
    FOrigin = Value;
}

void TCanvas::Release()
{
    if (FOwnPainter) {
        if (FOwnPainter->isActive())
            FOwnPainter->end();
        FOwnPainter.reset();
    }
}

void TCanvas::Changed()
{
    if (OnChange)
        OnChange(this);
}

bool TCanvas::RasterPen() const
{
    return FImage != nullptr || (FBorrowed && FBorrowed->device()
                                 && FBorrowed->device()->devType() == QInternal::Image);
}

void TCanvas::ApplyPen(QPainter* Painter) const
{
    QPainter::CompositionMode Mode = QPainter::CompositionMode_SourceOver;
    if (RasterPen()) {
        switch (FPen->Mode()) {
        case pmCopy: break;
        case pmXor: Mode = QPainter::RasterOp_SourceXorDestination; break;
        case pmNot: Mode = QPainter::RasterOp_NotDestination; break;
        case pmNotXor: Mode = QPainter::RasterOp_NotSourceXorDestination; break;
        }
    }
    Painter->setCompositionMode(Mode);
    Painter->setRenderHint(QPainter::Antialiasing, false);
    if (FPen->Style() == psClear) {
        Painter->setPen(Qt::NoPen);
        return;
    }
    QPen Pen(ColorToQColor(FPen->Color()));
    // Qt keeps no pen of 32,768 pixels or more.
    Pen.setWidth(std::clamp(FPen->Width(), 1, 32767));
    Pen.setCapStyle(Qt::RoundCap);
    Pen.setJoinStyle(Qt::RoundJoin);
    switch (FPen->Style()) {
    case psDash: Pen.setStyle(Qt::DashLine); break;
    case psDot: Pen.setStyle(Qt::DotLine); break;
    case psDashDot: Pen.setStyle(Qt::DashDotLine); break;
    case psDashDotDot: Pen.setStyle(Qt::DashDotDotLine); break;
    default: Pen.setStyle(Qt::SolidLine); break;
    }
    Painter->setPen(Pen);
}

void TCanvas::ApplyBrush(QPainter* Painter) const
{
    if (FBrush->Style() == bsClear) {
        Painter->setBrush(Qt::NoBrush);
        return;
    }
    if (!FBrush->Pattern().isNull()) {
        Painter->setBrush(QBrush(FBrush->Pattern()));
        Painter->setBrushOrigin(0, 0);
        return;
    }
    Qt::BrushStyle Style = Qt::SolidPattern;
    switch (FBrush->Style()) {
    case bsHorizontal: Style = Qt::HorPattern; break;
    case bsVertical: Style = Qt::VerPattern; break;
    case bsFDiagonal: Style = Qt::FDiagPattern; break;
    case bsBDiagonal: Style = Qt::BDiagPattern; break;
    case bsCross: Style = Qt::CrossPattern; break;
    case bsDiagCross: Style = Qt::DiagCrossPattern; break;
    default: break;
    }
    Painter->setBrush(QBrush(ColorToQColor(FBrush->Color()), Style));
}

namespace {

// Qt scales an absolute letter spacing from its default resolution to the
// device it draws on (a 600-dpi printer gets about six times the spacing),
// while the canvas means pixels of its device. How much Qt scales is measured
// once per resolution, as the advance one more glyph gains with the spacing.
double LetterSpacingScale(const QFont& Font, const QPaintDevice* Device)
{
    static QHash<int, double> Scales;
    const int Dpi = Device->logicalDpiY();
    if (const auto It = Scales.constFind(Dpi); It != Scales.cend())
        return *It;
    constexpr double Probe = 64;
    auto Step = [&](double Spacing) {
        QFont F = Font;
        F.setLetterSpacing(QFont::AbsoluteSpacing, Spacing);
        const QFontMetricsF M(F, Device);
        return M.horizontalAdvance(QStringLiteral("xx")) - M.horizontalAdvance(QStringLiteral("x"));
    };
    const double Gained = Step(Probe) - Step(0);
    const double Scale = Gained > 0 ? Gained / Probe : 1.0;
    Scales.insert(Dpi, Scale);
    return Scale;
}

} // namespace

void TCanvas::ApplyFont(QPainter* Painter) const
{
    // Setting a font makes the painter resolve it anew: skip an equal one.
    QFont F = TextFont();
    if (FCharExtra != 0 && Painter->device())
        F.setLetterSpacing(QFont::AbsoluteSpacing, FCharExtra / LetterSpacingScale(F, Painter->device()));
    if (Painter->font() != F)
        Painter->setFont(F);
    Painter->setPen(ColorToQColor(FFont->Color()));
    Painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

QPainter* TCanvas::FillPainter() const
{
    QPainter* Painter = P();
    if (!Painter->isActive())
        return nullptr;
    ApplyClip(Painter);
    Painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    return Painter;
}

void TCanvas::ApplyClip(QPainter* Painter) const
{
    // Clipping is ended by dropping the clip, not by switching it off: a clip
    // switched off stays off in the painter's raster engine when the next
    // region is set, and that fill would then cover the whole image.
    if (FHasClip)
        Painter->setClipRegion(FClip);
    else
        Painter->setClipRegion(QRegion(), Qt::NoClip);
}

// ---------------------------------------------------------------- lines

namespace {

// Classic cosmetic dash patterns in pixels: on, off, on, off ...
const std::vector<int>& DashPattern(TPenStyle Style)
{
    static const std::vector<int> Solid, Dash{18, 6}, Dot{3, 3}, DashDot{9, 6, 3, 6},
        DashDotDot{9, 3, 3, 3, 3, 3};
    switch (Style) {
    case psDash: return Dash;
    case psDot: return Dot;
    case psDashDot: return DashDot;
    case psDashDotDot: return DashDotDot;
    default: return Solid;
    }
}

bool PatternOn(const std::vector<int>& Pattern, int Pos)
{
    if (Pattern.empty())
        return true;
    int Total = 0;
    for (int L : Pattern)
        Total += L;
    Pos %= Total;
    for (size_t i = 0; i < Pattern.size(); ++i) {
        if (Pos < Pattern[i])
            return i % 2 == 0;
        Pos -= Pattern[i];
    }
    return true;
}

} // namespace

// Bresenham from A towards B, B itself excluded, keeping only the points
// inside Clip. The walk starts where the line enters Clip along its major
// axis, with the minor coordinate, the error term and the dash rhythm it
// would have had there, so that a line far longer than the canvas costs no
// more than one across it and puts down the very same pixels.
void TCanvas::PlotLine(std::vector<QPoint>& Out, QPoint A, QPoint B, int& DashPos, const QRect& Clip) const
{
    const std::vector<int>& Pattern = DashPattern(FPen->Style());
    int PatternLength = 0;
    for (int L : Pattern)
        PatternLength += L;
    const int64_t DX = std::abs(int64_t(B.x()) - A.x()), DY = std::abs(int64_t(B.y()) - A.y());
    const int SX = A.x() < B.x() ? 1 : -1, SY = A.y() < B.y() ? 1 : -1;
    const bool XMajor = DX >= DY;
    const int64_t Steps = std::max(DX, DY);
    // Every step moves the major coordinate by one: the steps that stay
    // within the clip on that axis are a range.
    const int64_t From = XMajor ? A.x() : A.y(), Dir = XMajor ? SX : SY;
    const int64_t Lo = XMajor ? Clip.left() : Clip.top(), Hi = XMajor ? Clip.right() : Clip.bottom();
    const int64_t First = std::max<int64_t>(0, Dir > 0 ? Lo - From : From - Hi);
    const int64_t Last = std::min<int64_t>(Steps - 1, Dir > 0 ? Hi - From : From - Lo);
    const auto Advance = [&](int64_t N) {
        if (PatternLength > 0)
            DashPos = static_cast<int>((DashPos + N % PatternLength) % PatternLength);
    };
    if (First > Last) {
        Advance(Steps);
        return;
    }
    // After K steps along the major axis the walk has taken
    // (2 * minor * K + major) / (2 * major) steps along the other; the
    // products need more than 64 bits for lines near the coordinate limits.
    const __int128 Major = Steps, Minor = XMajor ? DY : DX;
    const int64_t Across = static_cast<int64_t>((2 * Minor * First + Major) / (2 * Major));
    const int64_t U = XMajor ? First : Across, V = XMajor ? Across : First;
    int64_t X = A.x() + SX * U, Y = A.y() + SY * V;
    int64_t Err = static_cast<int64_t>(__int128(DX) * (V + 1) - __int128(DY) * (U + 1));
    Advance(First);
    for (int64_t K = First; K <= Last; ++K) {
        if (PatternOn(Pattern, DashPos) && Y >= Clip.top() && Y <= Clip.bottom() && X >= Clip.left()
            && X <= Clip.right())
            Out.emplace_back(static_cast<int>(X), static_cast<int>(Y));
        Advance(1);
        const int64_t E2 = 2 * Err;
        if (E2 >= -DY) {
            Err -= DY;
            X += SX;
        }
        if (E2 <= DX) {
            Err += DX;
            Y += SY;
        }
    }
    Advance(Steps - 1 - Last);
}

void TCanvas::StrokePolyline(const std::vector<QPoint>& Points, bool Closed)
{
    if (Points.empty() || FPen->Style() == psClear)
        return;
    QPainter* Painter = P();
    if (!Painter->isActive())
        return;
    ApplyClip(Painter);
    ApplyPen(Painter);
    // Pixel plotting only where pixels are device pixels; printers, PDF and
    // scaled painters get real lines.
    const bool PixelExact = FPen->Width() <= 1 && RasterPen()
                            && Painter->transform().type() <= QTransform::TxTranslate;
    if (PixelExact) {
        // Only what the device and the clip can show is plotted.
        const QPaintDevice* Device = Painter->device();
        QRect Visible = Painter->transform().inverted().mapRect(QRect(0, 0, Device->width(), Device->height()));
        if (FHasClip)
            Visible &= FClip.boundingRect();
        std::vector<QPoint> Pixels;
        int DashPos = 0;
        for (size_t i = 0; i + 1 < Points.size(); ++i)
            PlotLine(Pixels, Points[i], Points[i + 1], DashPos, Visible);
        if (Closed && Points.size() > 1)
            PlotLine(Pixels, Points.back(), Points.front(), DashPos, Visible);
        QPen Pen = Painter->pen();
        Pen.setWidth(1);
        Pen.setStyle(Qt::SolidLine);
        Pen.setCapStyle(Qt::SquareCap);
        Painter->setPen(Pen);
        // The raster engine plots clipped points at a cost that grows with
        // the height of the image: the pixels are clipped here instead.
        if (FHasClip) {
            const bool Simple = FClip.rectCount() <= 1;
            const QRect Bounds = FClip.boundingRect();
            std::erase_if(Pixels, [&](const QPoint& Pt) {
                return Simple ? !Bounds.contains(Pt) : !FClip.contains(Pt);
            });
            Painter->setClipRegion(QRegion(), Qt::NoClip);
        }
        // Runs of neighbouring pixels along a row or a column are filled as
        // one rectangle each, the rest plotted together: the same pixels,
        // each touched once, as plotting costs per point (frames and handles
        // of hundreds of views).
        const QColor Colour = Pen.color();
        std::vector<QPoint> Single;
        for (size_t i = 0; i < Pixels.size();) {
            size_t j = i + 1;
            const QPoint Step = j < Pixels.size() ? Pixels[j] - Pixels[i] : QPoint();
            if (Step.manhattanLength() == 1)
                while (j < Pixels.size() && Pixels[j] - Pixels[j - 1] == Step)
                    ++j;
            if (j - i == 1)
                Single.push_back(Pixels[i]);
            else {
                // Corners in either order: QRect(p, q).normalized() is empty
                // for two pixels running left or up.
                const QPoint A = Pixels[i], B = Pixels[j - 1];
                Painter->fillRect(QRect(QPoint(std::min(A.x(), B.x()), std::min(A.y(), B.y())),
                                        QPoint(std::max(A.x(), B.x()), std::max(A.y(), B.y()))),
                                  Colour);
            }
            i = j;
        }
        if (!Single.empty())
            Painter->drawPoints(Single.data(), int(Single.size()));
    } else if (Points.size() == 1 || (Points.size() == 2 && Points[0] == Points[1])) {
        Painter->drawPoint(Points[0]);
    } else if (Closed) {
        Painter->setBrush(Qt::NoBrush);
        Painter->drawPolygon(Points.data(), int(Points.size()));
    } else {
        Painter->drawPolyline(Points.data(), int(Points.size()));
    }
    Changed();
}

void TCanvas::MoveTo(int X, int Y)
{
    FPenPos = QPoint(X, Y);
}

void TCanvas::LineTo(int X, int Y)
{
    const QPoint To(X, Y);
    if (To == FPenPos && FPen->Width() > 1)
        StrokePolyline({To}, false); // a wide pen leaves a dot
    else
        StrokePolyline({FPenPos, To}, false);
    FPenPos = To;
}

void TCanvas::Polyline(const std::vector<QPoint>& Points)
{
    StrokePolyline(Points, false);
}

void TCanvas::Polygon(const std::vector<QPoint>& Points)
{
    if (Points.size() < 2)
        return;
    QPainter* Painter = P();
    if (!Painter->isActive())
        return;
    if (FBrush->Style() != bsClear) {
        ApplyClip(Painter);
        ApplyPen(Painter);
        ApplyBrush(Painter);
        Painter->setPen(Qt::NoPen);
        Painter->drawPolygon(Points.data(), int(Points.size()), Qt::OddEvenFill);
    }
    StrokePolyline(Points, true);
    Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    if (X2 < X1)
        std::swap(X1, X2);
    if (Y2 < Y1)
        std::swap(Y1, Y2);
    if (X2 - X1 < 1 || Y2 - Y1 < 1)
        return;
    QPainter* Painter = P();
    if (!Painter->isActive())
        return;
    const bool HasPen = FPen->Style() != psClear;
    if (FBrush->Style() != bsClear) {
        ApplyClip(Painter);
        ApplyPen(Painter);
        ApplyBrush(Painter);
        const int Inset = HasPen ? 1 : 0;
        const QRect Inner = Rect(X1 + Inset, Y1 + Inset, X2 - Inset, Y2 - Inset);
        if (Inner.isValid())
            Painter->fillRect(Inner, Painter->brush());
    }
    if (HasPen) {
        if (FPen->Width() <= 1) {
            StrokePolyline({{X1, Y1}, {X2 - 1, Y1}, {X2 - 1, Y2 - 1}, {X1, Y2 - 1}}, true);
        } else {
            ApplyPen(Painter);
            Painter->setBrush(Qt::NoBrush);
            const int W = FPen->Width();
            Painter->drawRect(QRectF(X1 + W / 2.0 - 0.5, Y1 + W / 2.0 - 0.5, X2 - X1 - W, Y2 - Y1 - W));
        }
    }
    Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3)
{
    QPainter* Painter = P();
    if (!Painter->isActive())
        return;
    ApplyClip(Painter);
    ApplyPen(Painter);
    ApplyBrush(Painter);
    Painter->drawRoundedRect(QRect(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1), X3 / 2.0, Y3 / 2.0);
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
    QPainter* Painter = P();
    if (!Painter->isActive())
        return;
    ApplyClip(Painter);
    ApplyPen(Painter);
    ApplyBrush(Painter);
    Painter->drawEllipse(QRect(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1));
    Changed();
}

// ---------------------------------------------------------------- fills

void TCanvas::FillRect(const QRect& R)
{
    if (FBrush->Style() == bsClear || R.isEmpty())
        return;
    QPainter* Painter = FillPainter();
    if (!Painter)
        return;
    ApplyBrush(Painter);
    Painter->fillRect(R.normalized(), Painter->brush());
    Changed();
}

void TCanvas::FillSolid(const QRect& R, TColor Color)
{
    if (R.isEmpty())
        return;
    QPainter* Painter = FillPainter();
    if (!Painter)
        return;
    Painter->fillRect(R, ColorToQColor(Color));
}

void TCanvas::FrameRect(const QRect& R)
{
    if (R.isEmpty())
        return;
    QPainter* Painter = FillPainter();
    if (!Painter)
        return;
    ApplyBrush(Painter);
    const QBrush B = Painter->brush();
    const int L = R.left(), T = R.top(), Rt = RectRight(R), Bt = RectBottom(R);
    Painter->fillRect(Rect(L, T, Rt, T + 1), B);
    Painter->fillRect(Rect(L, Bt - 1, Rt, Bt), B);
    if (Bt - T > 2) {
        Painter->fillRect(Rect(L, T + 1, L + 1, Bt - 1), B);
        Painter->fillRect(Rect(Rt - 1, T + 1, Rt, Bt - 1), B);
    }
    Changed();
}

// A dotted frame that inverts every other pixel, so drawing it again removes it.
void TCanvas::DrawFocusRect(const QRect& R)
{
    if (R.isEmpty())
        return;
    QPainter* Painter = P();
    if (!Painter->isActive())
        return;
    std::vector<QPoint> Pixels;
    const int L = R.left(), T = R.top(), Rt = RectRight(R) - 1, Bt = RectBottom(R) - 1;
    auto Add = [&](int X, int Y) {
        if (((X + Y) & 1) == 0)
            Pixels.emplace_back(X, Y);
    };
    for (int X = L; X <= Rt; ++X) {
        Add(X, T);
        if (Bt != T)
            Add(X, Bt);
    }
    for (int Y = T + 1; Y < Bt; ++Y) {
        Add(L, Y);
        if (Rt != L)
            Add(Rt, Y);
    }
    ApplyClip(Painter);
    Painter->setRenderHint(QPainter::Antialiasing, false);
    Painter->setCompositionMode(RasterPen() ? QPainter::RasterOp_SourceXorDestination
                                            : QPainter::CompositionMode_SourceOver);
    Painter->setPen(QPen(RasterPen() ? Qt::white : Qt::black, 1));
    if (!Pixels.empty())
        Painter->drawPoints(Pixels.data(), int(Pixels.size()));
    Changed();
}

// ---------------------------------------------------------------- pixels and pictures

TColor TCanvas::Pixels(int X, int Y) const
{
    const QImage* Img = FImage;
    if (!Img && FBorrowed && FBorrowed->device() && FBorrowed->device()->devType() == QInternal::Image)
        Img = static_cast<const QImage*>(FBorrowed->device());
    if (Img == FImage) {
        X -= FOrigin.x();
        Y -= FOrigin.y();
    }
    if (!Img || !Img->valid(X, Y))
        return clNone;
    return QColorToColor(QColor::fromRgb(Img->pixel(X, Y)));
}

void TCanvas::SetPixels(int X, int Y, TColor Color)
{
    QPainter* Painter = FillPainter();
    if (!Painter)
        return;
    Painter->setPen(QPen(ColorToQColor(Color), 1));
    Painter->drawPoint(X, Y);
    Changed();
}

void TCanvas::DrawImage(int X, int Y, const QImage& Image)
{
    if (Image.isNull())
        return;
    QPainter* Painter = FillPainter();
    if (!Painter)
        return;
    Painter->drawImage(X, Y, Image);
    Changed();
}

void TCanvas::StretchDrawImage(const QRect& R, const QImage& Image)
{
    if (Image.isNull() || R.isEmpty())
        return;
    QPainter* Painter = FillPainter();
    if (!Painter)
        return;
    Painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    Painter->drawImage(R, Image);
    Changed();
}

void TCanvas::Draw(int X, int Y, const TGraphic* Graphic)
{
    if (Graphic && !Graphic->Empty())
        DrawImage(X, Y, Graphic->ToImage());
}

void TCanvas::StretchDraw(const QRect& R, const TGraphic* Graphic)
{
    if (!Graphic || Graphic->Empty() || R.isEmpty())
        return;
    QPainter* Painter = FillPainter();
    if (!Painter)
        return;
    Painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    Painter->drawImage(R, Graphic->ToImage());
    Changed();
}

void TCanvas::CopyRect(const QRect& Dest, const TCanvas* Source, const QRect& SourceRect)
{
    if (!Source || !Source->Image() || Dest.isEmpty())
        return;
    // Copy first: the source may be this very image.
    const QImage Part = Source->Image()->copy(SourceRect.translated(-Source->Origin()));
    QPainter* Painter = P();
    if (!Painter->isActive())
        return;
    ApplyClip(Painter);
    Painter->setCompositionMode(QPainter::CompositionMode_Source);
    Painter->drawImage(Dest, Part);
    Painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    Changed();
}

// ---------------------------------------------------------------- clipping

QRect TCanvas::ClipRect() const
{
    QRect Device;
    if (FImage)
        Device = FImage->rect().translated(FOrigin);
    else if (FBorrowed && FBorrowed->device())
        Device = QRect(0, 0, FBorrowed->device()->width(), FBorrowed->device()->height());
    return FHasClip ? FClip.boundingRect().intersected(Device.isNull() ? FClip.boundingRect() : Device)
                    : Device;
}

void TCanvas::SelectClipRgn(const QRegion* Region)
{
    FHasClip = Region != nullptr;
    FClip = Region ? *Region : QRegion();
}

void TCanvas::IntersectClipRect(const QRect& R)
{
    FClip = FHasClip ? FClip.intersected(R) : QRegion(R);
    FHasClip = true;
}

void TCanvas::ExcludeClipRect(const QRect& R)
{
    const QRegion Base = FHasClip ? FClip : QRegion(ClipRect());
    FClip = Base.subtracted(R);
    FHasClip = true;
}

// ---------------------------------------------------------------- saved state

TCanvasState::TCanvasState(TCanvas* Canvas)
    : FCanvas(Canvas), FHasClip(Canvas->FHasClip), FClip(Canvas->FClip)
{
    FFont.SetPixelsPerInch(Canvas->Font()->PixelsPerInch());
    FFont.Assign(*Canvas->Font());
    FPen.Assign(*Canvas->Pen());
    FBrush.Assign(*Canvas->Brush());
}

TCanvasState::~TCanvasState()
{
    FCanvas->Font()->Assign(FFont);
    FCanvas->Pen()->Assign(FPen);
    FCanvas->Brush()->Assign(FBrush);
    FCanvas->FHasClip = FHasClip;
    FCanvas->FClip = FClip;
}
