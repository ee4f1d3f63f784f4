// TImageList: equal-sized images with masks, drawn enabled or greyed. Images
// are added from bitmaps with a mask colour (a strip adds several at once).
// Controls that draw from a list register for its changes and hear of its
// destruction through QObject::destroyed.
#pragma once

#include "platform/gui/Graphics.h"

#include <QImage>
#include <QObject>
#include <functional>
#include <vector>

enum class TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
using enum TDrawingStyle;

class TImageList : public QObject
{
public:
    explicit TImageList(int AWidth = 16, int AHeight = 16);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetSize(int AWidth, int AHeight); // clears the list
    int Count() const { return int(FImages.size()); }
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor Value) { FBkColor = Value; }
    TColor BlendColor() const { return FBlendColor; }
    void SetBlendColor(TColor Value) { FBlendColor = Value; }
    TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
    void SetDrawingStyle(TDrawingStyle Value) { FDrawingStyle = Value; }

    // Pixels of MaskColor become transparent; a bitmap wider than one image
    // adds one image per Width() columns. Returns the index of the first.
    int AddMasked(const TBitmap* Image, TColor MaskColor);
    // Without a mask bitmap the image is opaque; mask pixels that are not black
    // are transparent.
    int Add(const TBitmap* Image, const TBitmap* Mask);
    void Delete(int Index);
    void Clear();
    void Replace(int Index, const TBitmap* Image, TColor MaskColor);

    // Disabled images are drawn greyed and embossed, as classic lists do.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true) const;
    // dsSelected blends half, dsFocus a quarter with BlendColor (clHighlight
    // when clNone); a selected item always blends with clHighlight.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle Style, bool Selected,
              bool Enabled = true) const;
    void GetBitmap(int Index, TBitmap* Target) const;
    // The image with its transparency as alpha.
    QImage Image(int Index) const;

    // Change links: OnChange runs after every change of the images; one
    // registration per Owner.
    void RegisterChanges(const void* Owner, std::function<void()> OnChange);
    void UnRegisterChanges(const void* Owner);

private:
    void Change();
    QImage Fit(const QImage& Source) const;
    int FWidth, FHeight;
    TColor FBkColor = clNone;
    TColor FBlendColor = clNone;
    TDrawingStyle FDrawingStyle = dsNormal;
    std::vector<QImage> FImages; // ARGB32, transparency in alpha
    std::vector<std::pair<const void*, std::function<void()>>> FChangeLinks;
};
