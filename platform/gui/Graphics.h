// The classic drawing objects over Qt: 32-bit colours, fonts, pens, brushes,
// bitmaps, pictures and the canvas. A canvas draws on a QImage (a control's
// backing image, a bitmap) or through a painter that someone else owns (the
// printer). Raster-only operations (XOR and NOT pens, pixels, CopyRect) need an
// image underneath; on other devices they fall back to plain drawing.
#pragma once

#include "platform/gui/Sets.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QColor;
class QPainter;
class QPaintDevice;
class TStream;
class TCanvas;

// ---------------------------------------------------------------- colours

// 0x00BBGGRR as stored; system colours carry 0xFF in the high byte and the
// COLOR_* index below; clNone and clDefault are markers, never drawn. Setting a
// brush colour makes a clear brush solid again.
using TColor = uint32_t;

constexpr TColor RGB(int R, int G, int B) { return TColor((R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16)); }
constexpr int GetRValue(TColor C) { return C & 0xFF; }
constexpr int GetGValue(TColor C) { return (C >> 8) & 0xFF; }
constexpr int GetBValue(TColor C) { return (C >> 16) & 0xFF; }

enum : int {
    COLOR_SCROLLBAR = 0, COLOR_BACKGROUND, COLOR_ACTIVECAPTION, COLOR_INACTIVECAPTION,
    COLOR_MENU, COLOR_WINDOW, COLOR_WINDOWFRAME, COLOR_MENUTEXT, COLOR_WINDOWTEXT,
    COLOR_CAPTIONTEXT, COLOR_ACTIVEBORDER, COLOR_INACTIVEBORDER, COLOR_APPWORKSPACE,
    COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_GRAYTEXT,
    COLOR_BTNTEXT, COLOR_INACTIVECAPTIONTEXT, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW,
    COLOR_3DLIGHT, COLOR_INFOTEXT, COLOR_INFOBK, COLOR_UNUSED25, COLOR_HOTLIGHT,
    COLOR_GRADIENTACTIVECAPTION, COLOR_GRADIENTINACTIVECAPTION, COLOR_MENUHILIGHT,
    COLOR_MENUBAR, COLOR_ENDCOLORS
};

constexpr TColor SystemColor(int Index) { return TColor(0xFF000000u | unsigned(Index)); }

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
    clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
    clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
    clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
    clLtGray = 0xC0C0C0, clDkGray = 0x808080, clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6,
    clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR), clBackground = SystemColor(COLOR_BACKGROUND),
    clActiveCaption = SystemColor(COLOR_ACTIVECAPTION), clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION),
    clMenu = SystemColor(COLOR_MENU), clWindow = SystemColor(COLOR_WINDOW),
    clWindowFrame = SystemColor(COLOR_WINDOWFRAME), clMenuText = SystemColor(COLOR_MENUTEXT),
    clWindowText = SystemColor(COLOR_WINDOWTEXT), clCaptionText = SystemColor(COLOR_CAPTIONTEXT),
    clActiveBorder = SystemColor(COLOR_ACTIVEBORDER), clInactiveBorder = SystemColor(COLOR_INACTIVEBORDER),
    clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE), clHighlight = SystemColor(COLOR_HIGHLIGHT),
    clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT), clBtnFace = SystemColor(COLOR_BTNFACE),
    clBtnShadow = SystemColor(COLOR_BTNSHADOW), clGrayText = SystemColor(COLOR_GRAYTEXT),
    clBtnText = SystemColor(COLOR_BTNTEXT), clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT),
    clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT), cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW),
    cl3DLight = SystemColor(COLOR_3DLIGHT), clInfoText = SystemColor(COLOR_INFOTEXT),
    clInfoBk = SystemColor(COLOR_INFOBK), clHotLight = SystemColor(COLOR_HOTLIGHT),
    clGradientActiveCaption = SystemColor(COLOR_GRADIENTACTIVECAPTION),
    clGradientInactiveCaption = SystemColor(COLOR_GRADIENTINACTIVECAPTION),
    clMenuHighlight = SystemColor(COLOR_MENUHILIGHT), clMenuBar = SystemColor(COLOR_MENUBAR);

// System colours resolve through one fixed classic palette, so that screens,
// tests and printouts agree whatever desktop theme runs. clNone and clDefault
// give black; callers test for them before drawing.
TColor ColorToRGB(TColor Color);
QColor ColorToQColor(TColor Color);
TColor QColorToColor(const QColor& Color);
bool IsSystemColor(TColor Color);

// ---------------------------------------------------------------- font, pen, brush

// A family name as Qt lists it, less the " [Foundry]" Qt adds where several
// foundries supply one family: fonts are stored by plain names only.
QString PlainFontFamily(const QString& Family);

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
using enum TFontStyle;
enum class TFontPitch { fpDefault, fpVariable, fpFixed };
using enum TFontPitch;

constexpr int DEFAULT_CHARSET = 1;
constexpr int GB2312_CHARSET = 134;

// Sizes are points at the font's resolution (96 pixels per inch unless a
// canvas of another device owns the font): Height = -Size * PixelsPerInch / 72.
// A negative height is the character height in pixels, a positive one the cell
// height. Assigning between fonts of different resolutions keeps the point
// size, so a view's font keeps its size on a printer's canvas.
class TFont
{
public:
    TFont();
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    void Assign(const TFont& Source);

    QString Name() const { return FName; }
    void SetName(const QString& Value);
    int Size() const;
    void SetSize(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    int Charset() const { return FCharset; }
    void SetCharset(int Value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    // Escapement in tenths of a degree, counter-clockwise (900 runs upwards).
    int Orientation() const { return FOrientation; }
    void SetOrientation(int Value);
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value);

    // The Qt font at the font's pixel size; "Default" names the system face.
    QFont ToQFont() const;
    void SetFromQFont(const QFont& Font);

    std::function<void(TFont* Sender)> OnChange;

private:
    void Changed();
    // The Qt font is kept until a property it depends on changes.
    void FontChanged() { FQFontValid = false; Changed(); }

    mutable QFont FQFont;
    mutable bool FQFontValid = false;
    QString FName;
    int FHeight;
    TColor FColor = clWindowText;
    TFontStyles FStyle;
    int FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = fpDefault;
    int FOrientation = 0;
    int FPixelsPerInch = 96;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
using enum TPenStyle;
// Copy, XOR with the pen colour, invert the destination, XOR then invert.
enum class TPenMode { pmCopy, pmXor, pmNot, pmNotXor };
using enum TPenMode;

class TPen
{
public:
    TPen() = default;
    TPen(const TPen&) = delete;
    TPen& operator=(const TPen&) = delete;
    void Assign(const TPen& Source);

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode Value);

    std::function<void(TPen* Sender)> OnChange;

private:
    void Changed() { if (OnChange) OnChange(this); }
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
using enum TBrushStyle;
class TBitmap;

class TBrush
{
public:
    TBrush() = default;
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;
    void Assign(const TBrush& Source);

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);
    // A pattern brush repeats the bitmap (8 x 8 in practice) from the device
    // origin. The brush keeps a copy, taken when assigned; nullptr clears it.
    const QImage& Pattern() const { return FPattern; }
    void SetBitmap(const TBitmap* Value);

    std::function<void(TBrush* Sender)> OnChange;

private:
    void Changed() { if (OnChange) OnChange(this); }
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    QImage FPattern;
};

// ---------------------------------------------------------------- graphics

class TGraphic
{
public:
    virtual ~TGraphic() = default;
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void LoadFromFile(const QString& FileName) = 0;
    virtual void SaveToFile(const QString& FileName) const = 0;
    virtual void LoadFromStream(TStream& Stream) = 0;
    virtual void SaveToStream(TStream& Stream) const = 0;
    // The image with transparent pixels cleared to alpha 0 when Transparent().
    virtual QImage ToImage() const = 0;
    virtual std::unique_ptr<TGraphic> Clone() const = 0;
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool Value) { FTransparent = Value; }

protected:
    bool FTransparent = false;
};

enum class TTransparentMode { tmAuto, tmFixed };
using enum TTransparentMode;

// A device-independent RGB image with its own canvas. Transparency follows the
// classic rule for glyphs: in tmAuto the colour of the bottom-left pixel.
class TBitmap : public TGraphic
{
public:
    TBitmap();
    TBitmap(int AWidth, int AHeight);
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    void Assign(const TBitmap& Source);

    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    void SetWidth(int Value);
    void SetHeight(int Value);
    void SetSize(int AWidth, int AHeight);
    TCanvas* Canvas();

    TColor TransparentColor() const;
    void SetTransparentColor(TColor Value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode Value) { FTransparentMode = Value; }

    // Loads BMP, ICO, PNG and whatever the Qt image plugins read; raises
    // EReadError naming the file when it cannot be read.
    void LoadFromFile(const QString& FileName) override;
    void SaveToFile(const QString& FileName) const override; // format by extension, BMP by default
    void LoadFromStream(TStream& Stream) override;
    void SaveToStream(TStream& Stream) const override;        // BMP
    void LoadFromImage(const QImage& Image);

    // The pixels as stored (opaque); finishes any drawing on the canvas first.
    const QImage& Image() const;
    QImage ToImage() const override;
    std::unique_ptr<TGraphic> Clone() const override;

private:
    QImage FImage;
    std::unique_ptr<TCanvas> FCanvas;
    TTransparentMode FTransparentMode = tmAuto;
    TColor FTransparentColor = clDefault;
};

// A Windows icon (.ico): the largest image of the file, with its own alpha.
class TIcon : public TGraphic
{
public:
    TIcon() { FTransparent = true; }
    bool Empty() const override { return FImage.isNull(); }
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }
    void LoadFromFile(const QString& FileName) override;
    void SaveToFile(const QString& FileName) const override;
    void LoadFromStream(TStream& Stream) override;
    void SaveToStream(TStream& Stream) const override;
    QImage ToImage() const override { return FImage; }
    std::unique_ptr<TGraphic> Clone() const override;

private:
    QImage FImage;
};

// Holds one graphic of any registered kind. Kinds register by file extension,
// so the report engine adds JPEG without this layer knowing it.
class TPicture
{
public:
    using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

    TPicture();
    ~TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;
    void Assign(const TPicture& Source);

    TGraphic* Graphic() const { return FGraphic.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> Value);
    // The picture as a bitmap; a picture of another kind is converted once.
    TBitmap* Bitmap();
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }
    bool Empty() const { return !FGraphic || FGraphic->Empty(); }

    void LoadFromFile(const QString& FileName); // raises EReadError (unknown kind, bad file)
    void SaveToFile(const QString& FileName) const;
    void Clear();

    static void RegisterFileFormat(const QString& Extension, TGraphicFactory Factory);

    std::function<void(TPicture* Sender)> OnChange;

private:
    void Changed() { if (OnChange) OnChange(this); }
    std::unique_ptr<TGraphic> FGraphic;
};

// ---------------------------------------------------------------- regions

// Regions are QRegion values; these keep the classic calls.
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
enum : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };
QRegion CreateRectRgn(int Left, int Top, int Right, int Bottom);
int CombineRgn(QRegion& Dest, const QRegion& A, const QRegion& B, int Mode);
bool PtInRegion(const QRegion& Region, int X, int Y);
bool RectInRegion(const QRegion& Region, const QRect& Rect);

// Classic rectangles are (Left, Top, Right, Bottom) with Right and Bottom
// outside; QRect keeps inclusive right and bottom.
inline QRect Rect(int Left, int Top, int Right, int Bottom) { return QRect(QPoint(Left, Top), QPoint(Right - 1, Bottom - 1)); }
inline int RectRight(const QRect& R) { return R.left() + R.width(); }
inline int RectBottom(const QRect& R) { return R.top() + R.height(); }

// ---------------------------------------------------------------- text and edges

enum : unsigned {
    DT_TOP = 0, DT_LEFT = 0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_TABSTOP = 0x80,
    DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800,
    DT_INTERNAL = 0x1000, DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000,
    DT_END_ELLIPSIS = 0x8000, DT_MODIFYSTRING = 0x10000, DT_RTLREADING = 0x20000,
    DT_WORD_ELLIPSIS = 0x40000
};

struct TDrawTextParams
{
    int TabLength = 8;   // in average character widths
    int LeftMargin = 0;  // pixels
    int RightMargin = 0;
    int LengthDrawn = 0; // characters processed, filled in
};

struct TTextMetric
{
    int tmHeight = 0, tmAscent = 0, tmDescent = 0, tmInternalLeading = 0, tmExternalLeading = 0;
    int tmAveCharWidth = 0, tmMaxCharWidth = 0, tmWeight = 400, tmOverhang = 0;
    bool tmItalic = false, tmUnderlined = false, tmStruckOut = false, tmFixedPitch = false;
    int tmCharSet = DEFAULT_CHARSET;
};

// TextOut and TextRect options (TCanvas::SetTextFlags).
enum : unsigned { ETO_OPAQUE = 0x2, ETO_CLIPPED = 0x4, ETO_RTLREADING = 0x80 };

enum : unsigned {
    BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4, BDR_SUNKENINNER = 0x8,
    BDR_OUTER = 0x3, BDR_INNER = 0xC,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER, EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER, EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER
};
enum : unsigned {
    BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8,
    BF_TOPLEFT = BF_TOP | BF_LEFT, BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT,
    BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM,
    BF_MIDDLE = 0x800, BF_SOFT = 0x1000, BF_ADJUST = 0x2000, BF_FLAT = 0x4000, BF_MONO = 0x8000
};
enum : unsigned { DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4 };
enum : unsigned {
    DFCS_SCROLLUP = 0x0, DFCS_SCROLLDOWN = 0x1, DFCS_SCROLLLEFT = 0x2, DFCS_SCROLLRIGHT = 0x3,
    DFCS_SCROLLCOMBOBOX = 0x5,
    DFCS_BUTTONCHECK = 0x0, DFCS_BUTTONRADIO = 0x4, DFCS_BUTTON3STATE = 0x8, DFCS_BUTTONPUSH = 0x10,
    DFCS_INACTIVE = 0x100, DFCS_PUSHED = 0x200, DFCS_CHECKED = 0x400, DFCS_ADJUSTRECT = 0x2000,
    DFCS_FLAT = 0x4000, DFCS_MONO = 0x8000
};

// ---------------------------------------------------------------- canvas

class TCanvas
{
public:
    // Draws on Image (not owned; it must outlive the canvas or Release()).
    explicit TCanvas(QImage* Image);
    // Draws through a painter someone else owns and keeps active.
    explicit TCanvas(QPainter* Painter);
    // A canvas has the resolution of its device: 96 pixels per inch for images
    // and widgets, the printer's for a printer or PDF writer; its font follows,
    // so sizes in points come out at that resolution.
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TFont* Font() const { return FFont.get(); }
    TPen* Pen() const { return FPen.get(); }
    TBrush* Brush() const { return FBrush.get(); }
    QPoint PenPos() const { return FPenPos; }
    void SetPenPos(QPoint Value) { FPenPos = Value; }
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value);
    // Extra pixels of the canvas's device after every character of text.
    int TextCharacterExtra() const { return FCharExtra; }
    void SetTextCharacterExtra(int Value) { FCharExtra = Value; }
    // Spreads BreakExtra pixels over the BreakCount spaces of each following
    // line of text (justified memo lines); 0, 0 ends it.
    void SetTextJustification(int BreakExtra, int BreakCount);
    // ETO_RTLREADING makes TextOut and TextRect read right to left, as
    // DrawText does with DT_RTLREADING; the other bits are taken from the brush.
    unsigned TextFlags() const { return FTextFlags; }
    void SetTextFlags(unsigned Value) { FTextFlags = Value; }
    QImage* Image() const { return FImage; }
    // The point of the canvas that the image's top-left pixel shows (0, 0
    // unless the image holds only part of a larger surface); drawing, pixels
    // and the clip box are in canvas points.
    QPoint Origin() const { return FOrigin; }
    void SetOrigin(QPoint Value);

    // Lines and shapes. Rectangles are classic: Right and Bottom are outside.
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Polyline(const std::vector<QPoint>& Points);
    void Polygon(const std::vector<QPoint>& Points);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const QRect& R) { Rectangle(R.left(), R.top(), RectRight(R), RectBottom(R)); }
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void FillRect(const QRect& R);
    void FrameRect(const QRect& R);
    void DrawFocusRect(const QRect& R);
    bool DrawEdge(QRect& R, unsigned Edge, unsigned Flags);
    bool DrawFrameControl(QRect& R, unsigned Type, unsigned State);
    TColor Pixels(int X, int Y) const;
    void SetPixels(int X, int Y, TColor Color);

    // Text. Opaque (filled with the brush colour) unless the brush is bsClear.
    void TextOut(int X, int Y, const QString& Text);
    void TextRect(const QRect& R, int X, int Y, const QString& Text);
    int TextWidth(const QString& Text) const;
    int TextHeight(const QString& Text) const;
    QSize TextExtent(const QString& Text) const;
    TTextMetric TextMetrics() const;
    // Returns the height of the text; with DT_CALCRECT sizes R and draws nothing.
    int DrawText(const QString& Text, QRect& R, unsigned Format);
    int DrawTextEx(const QString& Text, QRect& R, unsigned Format, TDrawTextParams* Params);

    // Pictures.
    void Draw(int X, int Y, const TGraphic* Graphic);
    void StretchDraw(const QRect& R, const TGraphic* Graphic);
    void DrawImage(int X, int Y, const QImage& Image);
    void StretchDrawImage(const QRect& R, const QImage& Image);
    void CopyRect(const QRect& Dest, const TCanvas* Source, const QRect& SourceRect);

    // Clipping. An empty optional region means no clipping.
    QRect ClipRect() const;
    void SelectClipRgn(const QRegion* Region);
    void IntersectClipRect(const QRect& R);
    void ExcludeClipRect(const QRect& R);
    bool HasClip() const { return FHasClip; }
    QRegion ClipRegion() const { return FClip; }

    // Finishes drawing on the image so that others may read or resize it; the
    // next call starts again.
    void Release();

    // Called after drawing outside a paint pass (the control updates its widget).
    std::function<void(TCanvas* Sender)> OnChange;

private:
    friend class TCanvasState;
    QPainter* P() const;
    // The active painter, clipped and copying its source; nullptr outside a paint.
    QPainter* FillPainter() const;
    void Changed();
    void ApplyPen(QPainter* P) const;
    void ApplyBrush(QPainter* P) const;
    void ApplyFont(QPainter* P) const;
    void ApplyClip(QPainter* P) const;
    bool RasterPen() const;
    QFont TextFont() const;
    void PlotLine(std::vector<QPoint>& Out, QPoint A, QPoint B, int& DashPos, const QRect& Clip) const;
    void StrokePolyline(const std::vector<QPoint>& Points, bool Closed);
    void DrawTextLine(int X, int Y, const QString& Text, bool Opaque, const QRect* Clip);
    void FillSolid(const QRect& R, TColor Color);
    void EdgeLines(const QRect& R, TColor TopLeft, TColor BottomRight, unsigned Flags);
    void DrawCheckBox(QRect R, unsigned State);
    void DrawScrollButton(QRect R, unsigned State);

    QImage* FImage = nullptr;
    QPainter* FBorrowed = nullptr;
    mutable std::unique_ptr<QPainter> FOwnPainter;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    QPoint FPenPos;
    int FCharExtra = 0;
    double FWordSpacing = 0;
    unsigned FTextFlags = 0;
    int FPixelsPerInch = 96;
    bool FHasClip = false;
    QRegion FClip;
    QPoint FOrigin;
};

// Saves pen, brush, font and clip of a canvas and restores them when it ends.
class TCanvasState
{
public:
    explicit TCanvasState(TCanvas* Canvas);
    ~TCanvasState();
    TCanvasState(const TCanvasState&) = delete;
    TCanvasState& operator=(const TCanvasState&) = delete;

private:
    TCanvas* FCanvas;
    TFont FFont;
    TPen FPen;
    TBrush FBrush;
    bool FHasClip;
    QRegion FClip;
};
