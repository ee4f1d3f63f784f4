#include "platform/gui/ImgList.h"

#include "platform/rtl/SysUtils.h"

#include <QPainter>

TImageList::TImageList(int AWidth, int AHeight) : FWidth(std::max(1, AWidth)), FHeight(std::max(1, AHeight))
{
}

void TImageList::SetSize(int AWidth, int AHeight)
{
    FWidth = std::max(1, AWidth);
    FHeight = std::max(1, AHeight);
    FImages.clear();
    Change();
}

void TImageList::Clear()
{
    FImages.clear();
    Change();
}

void TImageList::RegisterChanges(const void* Owner, std::function<void()> OnChange)
{
    UnRegisterChanges(Owner);
    FChangeLinks.emplace_back(Owner, std::move(OnChange));
}

void TImageList::UnRegisterChanges(const void* Owner)
{
    std::erase_if(FChangeLinks, [Owner](const auto& L) { return L.first == Owner; });
}

void TImageList::Change()
{
    // A handler may unregister itself: run over a copy.
    const auto Links = FChangeLinks;
    for (const auto& L : Links)
        L.second();
}

QImage TImageList::Fit(const QImage& Source) const
{
    QImage Out(FWidth, FHeight, QImage::Format_ARGB32);
    Out.fill(Qt::transparent);
    QPainter P(&Out);
    P.setCompositionMode(QPainter::CompositionMode_Source);
    P.drawImage(0, 0, Source);
    return Out;
}

int TImageList::AddMasked(const TBitmap* Image, TColor MaskColor)
{
    if (!Image || Image->Empty())
        return -1;
    QImage All = Image->Image().convertToFormat(QImage::Format_ARGB32);
    if (MaskColor != clNone) {
        const QRgb Key = ColorToQColor(MaskColor == clDefault ? Image->TransparentColor() : MaskColor).rgb()
                         & 0x00FFFFFF;
        for (int Y = 0; Y < All.height(); ++Y) {
            auto* Line = reinterpret_cast<QRgb*>(All.scanLine(Y));
            for (int X = 0; X < All.width(); ++X) {
                if ((Line[X] & 0x00FFFFFF) == Key)
                    Line[X] = 0;
            }
        }
    }
    const int First = Count();
    const int N = std::max(1, All.width() / FWidth);
    for (int i = 0; i < N; ++i)
        FImages.push_back(Fit(All.copy(i * FWidth, 0, FWidth, FHeight)));
    Change();
    return First;
}

int TImageList::Add(const TBitmap* Image, const TBitmap* Mask)
{
    if (!Image || Image->Empty())
        return -1;
    QImage All = Image->Image().convertToFormat(QImage::Format_ARGB32);
    if (Mask && !Mask->Empty()) {
        const QImage& M = Mask->Image();
        for (int Y = 0; Y < std::min(All.height(), M.height()); ++Y) {
            auto* Line = reinterpret_cast<QRgb*>(All.scanLine(Y));
            for (int X = 0; X < std::min(All.width(), M.width()); ++X) {
                if ((M.pixel(X, Y) & 0x00FFFFFF) != 0)
                    Line[X] = 0;
            }
        }
    }
    const int First = Count();
    const int N = std::max(1, All.width() / FWidth);
    for (int i = 0; i < N; ++i)
        FImages.push_back(Fit(All.copy(i * FWidth, 0, FWidth, FHeight)));
    Change();
    return First;
}

void TImageList::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        throw EListError(QStringLiteral("Image list index out of bounds (%1)").arg(Index));
    FImages.erase(FImages.begin() + Index);
    Change();
}

void TImageList::Replace(int Index, const TBitmap* Image, TColor MaskColor)
{
    if (Index < 0 || Index >= Count())
        throw EListError(QStringLiteral("Image list index out of bounds (%1)").arg(Index));
    TImageList One(FWidth, FHeight);
    if (One.AddMasked(Image, MaskColor) == 0)
        FImages[size_t(Index)] = One.FImages.front();
    Change();
}

QImage TImageList::Image(int Index) const
{
    return Index >= 0 && Index < Count() ? FImages[size_t(Index)] : QImage();
}

void TImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) const
{
    if (!Canvas || Index < 0 || Index >= Count())
        return;
    const QImage& Source = FImages[size_t(Index)];
    if (Enabled) {
        Canvas->DrawImage(X, Y, Source);
        return;
    }
    // Dark pixels of the image become the embossed shape: highlight offset by
    // one, shadow on top.
    QImage Shadow(Source.size(), QImage::Format_ARGB32), Light(Source.size(), QImage::Format_ARGB32);
    Shadow.fill(Qt::transparent);
    Light.fill(Qt::transparent);
    const QRgb ShadowRgb = ColorToQColor(clBtnShadow).rgb(), LightRgb = ColorToQColor(clBtnHighlight).rgb();
    for (int J = 0; J < Source.height(); ++J) {
        for (int I = 0; I < Source.width(); ++I) {
            const QRgb P = Source.pixel(I, J);
            if (qAlpha(P) == 0 || qGray(P) >= 192)
                continue;
            Shadow.setPixel(I, J, ShadowRgb);
            Light.setPixel(I, J, LightRgb);
        }
    }
    Canvas->DrawImage(X + 1, Y + 1, Light);
    Canvas->DrawImage(X, Y, Shadow);
}

void TImageList::GetBitmap(int Index, TBitmap* Target) const
{
    if (!Target || Index < 0 || Index >= Count())
        return;
    QImage Out(FWidth, FHeight, QImage::Format_RGB32);
    Out.fill(ColorToQColor(FBkColor == clNone ? clBtnFace : FBkColor));
    QPainter P(&Out);
    P.drawImage(0, 0, FImages[size_t(Index)]);
    P.end();
    Target->LoadFromImage(Out);
}

void TImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle Style, bool Selected,
                      bool Enabled) const
{
    if (!Enabled || Index < 0 || Index >= Count()
        || (!Selected && Style != dsSelected && Style != dsFocus)) {
        Draw(Canvas, X, Y, Index, Enabled);
        return;
    }
    const int Percent = (Selected || Style == dsSelected) ? 50 : 25;
    const QColor Blend = ColorToQColor(Selected || FBlendColor == clNone ? clHighlight : FBlendColor);
    QImage Out = FImages[size_t(Index)];
    for (int J = 0; J < Out.height(); ++J) {
        auto* Line = reinterpret_cast<QRgb*>(Out.scanLine(J));
        for (int I = 0; I < Out.width(); ++I) {
            const QRgb P = Line[I];
            if (qAlpha(P) == 0)
                continue;
            auto Mix = [&](int A, int B) { return (A * (100 - Percent) + B * Percent) / 100; };
            Line[I] = qRgba(Mix(qRed(P), Blend.red()), Mix(qGreen(P), Blend.green()), Mix(qBlue(P), Blend.blue()),
                            qAlpha(P));
        }
    }
    Canvas->DrawImage(X, Y, Out);
}
