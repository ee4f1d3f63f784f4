// Text and image drawing shared by the grid's painter and the pop-up lists.
#include "grid/DBGridEhDraw.h"

#include "platform/gui/ImgList.h"

#include <QFontDatabase>
#include <algorithm>
#include <memory>

namespace {

struct TDrawBitmap
{
    std::unique_ptr<TBitmap> Bitmap;
    int Uses = 0;
};

TDrawBitmap& Shared()
{
    static TDrawBitmap Work;
    return Work;
}

// The shared bitmap, at least W x H; it never shrinks.
TBitmap* WorkBitmap(int W, int H)
{
    TDrawBitmap& S = Shared();
    if (!S.Bitmap)
        S.Bitmap = std::make_unique<TBitmap>();
    if (S.Bitmap->Width() < W || S.Bitmap->Height() < H)
        S.Bitmap->SetSize(std::max(W, S.Bitmap->Width()), std::max(H, S.Bitmap->Height()));
    return S.Bitmap.get();
}

// A brush the device shows as one colour: anything but a hatch pattern.
bool PureBrush(const TCanvas* C)
{
    const TBrushStyle S = C->Brush()->Style();
    return S == bsSolid || S == bsClear;
}

unsigned AlignmentFlags(TAlignment Alignment)
{
    unsigned Flags = DT_NOPREFIX | DT_EXPANDTABS;
    if (Alignment == taRightJustify)
        Flags |= DT_RIGHT;
    else if (Alignment == taCenter)
        Flags |= DT_CENTER;
    return Flags;
}

} // namespace

void AcquireDrawBitmapEh()
{
    ++Shared().Uses;
}

void ReleaseDrawBitmapEh()
{
    TDrawBitmap& S = Shared();
    if (S.Uses > 0 && --S.Uses == 0)
        S.Bitmap.reset();
}

QSize DrawBitmapSizeEh()
{
    const TDrawBitmap& S = Shared();
    return S.Bitmap ? QSize(S.Bitmap->Width(), S.Bitmap->Height()) : QSize(0, 0);
}

QString EllipsisTextEh(const QString& Text, const TCanvas* Canvas, int MaxWidth)
{
    QString Result = Text;
    const qsizetype Length = Text.size();
    for (qsizetype i = 1; i <= Length && Canvas->TextWidth(Result) > MaxWidth;) {
        ++i;
        qsizetype Keep = std::max<qsizetype>(0, Length - i);
        // A character outside the basic plane is one, never half of one.
        if (Keep > 0 && Text[Keep - 1].isHighSurrogate())
            --Keep;
        Result = Text.left(Keep) + QStringLiteral("...");
    }
    return Result;
}

void WriteCellText(TCanvas* Canvas, const QRect& R, bool RightToLeftReading, int RightMarg, int LeftMarg,
                   bool EndEllipsis, bool WordWrap, TTextLayoutEh Layout, TAlignment Alignment, const QString& Text,
                   int DY, int DX)
{
    TCanvas* C = Canvas;
    if (PureBrush(C) && !WordWrap) {
        const QString Shown = EndEllipsis ? EllipsisTextEh(Text, C, R.width() - DX) : Text;
        int Left = R.left() + DX;
        if (Alignment != taLeftJustify) {
            const int W = C->TextWidth(Shown);
            if (Alignment == taRightJustify)
                Left = RectRight(R) - W - 3;
            else
                Left = R.width() <= 0 ? 0 : R.left() + R.width() / 2 - W / 2;
        }
        const unsigned SavedFlags = C->TextFlags();
        if (RightToLeftReading)
            C->SetTextFlags(SavedFlags | ETO_RTLREADING);
        C->TextRect(R, Left, R.top() + DY, Shown);
        C->SetTextFlags(SavedFlags);
        return;
    }
    if (R.width() <= 0 || R.height() <= 0)
        return;
    TBitmap* B = WorkBitmap(R.width(), R.height());
    TCanvas* BC = B->Canvas();
    BC->Font()->Assign(*C->Font());
    BC->Brush()->Assign(*C->Brush());
    const QRect Area(0, 0, R.width(), R.height());
    BC->FillRect(Area);
    unsigned Flags = AlignmentFlags(Alignment);
    if (RightToLeftReading)
        Flags |= DT_RTLREADING;
    if (EndEllipsis)
        Flags |= DT_END_ELLIPSIS;
    if (WordWrap)
        Flags |= DT_WORDBREAK;
    TDrawTextParams Params;
    Params.LeftMargin = LeftMarg;
    Params.RightMargin = RightMarg;
    int Top = DY, Bottom = R.height() - DY;
    const int Left = DX, Right = R.width() - DX;
    if (Layout != tlTopEh) {
        QRect Measure = Rect(Left, Top, Right, Bottom);
        TDrawTextParams Calc = Params;
        const int TextHeight = C->DrawTextEx(Text, Measure, Flags | DT_CALCRECT, &Calc);
        if (Layout == tlCenterEh)
            Top += (Bottom - Top) / 2 - TextHeight / 2;
        else
            Top = Bottom - TextHeight;
    }
    if (DX > 0)
        ++Bottom;
    QRect Draw = Rect(Left, Top, Right, Bottom);
    BC->Brush()->SetStyle(bsClear);
    BC->DrawTextEx(Text, Draw, Flags, &Params);
    C->CopyRect(R, BC, Area);
}

void CreateRotatedFont(const TFont& Font, TFont& Rotated)
{
    Rotated.Assign(Font);
    if (Font.Name().compare(QLatin1String("Default"), Qt::CaseInsensitive) == 0)
        Rotated.SetName(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    Rotated.SetOrientation(900);
}

void WriteRotatedText(TCanvas* Canvas, const QRect& R, TTextLayoutEh Layout, TAlignment Alignment,
                      const QString& Text, int DY, int DX, bool EndEllipsis, bool Skip)
{
    if (Skip || Text.isEmpty() || R.width() <= 0 || R.height() <= 2 * DY)
        return;
    TCanvas* C = Canvas;
    TCanvasState State(C);
    TFont Rotated;
    CreateRotatedFont(*C->Font(), Rotated);
    C->Font()->Assign(Rotated);
    const int Room = R.height() - 2 * DY;
    const QString Shown = EndEllipsis ? EllipsisTextEh(Text, C, Room) : Text;
    const int Length = C->TextWidth(Shown);
    const int Thick = C->TextHeight(Shown);
    int X = R.left() + (R.width() - Thick) / 2;
    if (Alignment == taLeftJustify)
        X = R.left() + DX;
    else if (Alignment == taRightJustify)
        X = RectRight(R) - DX - Thick;
    int Y = RectBottom(R) - DY;
    if (Layout == tlBottomEh)
        Y = R.top() + DY + Length;
    else if (Layout == tlCenterEh)
        Y = (R.top() + RectBottom(R) + Length) / 2;
    if (PureBrush(C)) {
        C->IntersectClipRect(R);
        C->Brush()->SetStyle(bsClear);
        C->TextOut(X, Y, Shown);
        return;
    }
    TBitmap* B = WorkBitmap(R.width(), R.height());
    TCanvas* BC = B->Canvas();
    BC->Font()->Assign(Rotated);
    BC->Brush()->Assign(*C->Brush());
    const QRect Area(0, 0, R.width(), R.height());
    BC->FillRect(Area);
    BC->Brush()->SetStyle(bsClear);
    BC->TextOut(X - R.left(), Y - R.top(), Shown);
    C->CopyRect(R, BC, Area);
}

void DrawImageInCell(TCanvas* Canvas, const QRect& R, TImageList* Images, int Index, const TBitmap* Bitmap,
                     TAlignment Alignment, int DX, bool Enabled)
{
    if (!Images && !Bitmap)
        return;
    const int W = Images ? Images->Width() : Bitmap->Width();
    const int H = Images ? Images->Height() : Bitmap->Height();
    const int Y = R.top() + (R.height() - H) / 2;
    int X = R.left() + (R.width() - W) / 2;
    if (Alignment == taLeftJustify)
        X = R.left() + DX;
    else if (Alignment == taRightJustify)
        X = RectRight(R) - W;
    TCanvasState State(Canvas);
    if (W > R.width() || H > R.height())
        Canvas->IntersectClipRect(R);
    if (Images)
        Images->Draw(Canvas, X, Y, Index, Enabled);
    else
        Canvas->Draw(X, Y, Bitmap);
}

void DrawImageListCentered(TCanvas* Canvas, const QRect& R, TImageList* Images, int Index, bool Selected)
{
    if (!Images || Index < 0 || Index >= Images->Count())
        return;
    const int X = R.left() + (R.width() - Images->Width()) / 2;
    const int Y = R.top() + (R.height() - Images->Height()) / 2;
    TCanvasState State(Canvas);
    if (Images->Width() > R.width() || Images->Height() > R.height())
        Canvas->IntersectClipRect(R);
    Images->Draw(Canvas, X, Y, Index, Images->DrawingStyle(), Selected);
}
