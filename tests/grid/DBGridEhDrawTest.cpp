// The shared text and image writers: ellipsis shortening, the fast path's
// clipping and placement, the rotated font and images larger than the cell.
#include "GridFixture.h"
#include "grid/DBGridEhDraw.h"
#include "platform/gui/ImgList.h"

#include <QFontDatabase>

namespace {

struct TCanvasBench
{
    QImage Image{160, 50, QImage::Format_RGB32};
    TCanvas Canvas{&Image};

    TCanvasBench()
    {
        Canvas.Font()->SetName(QStringLiteral("DejaVu Sans"));
        Canvas.Font()->SetHeight(-24);
        Canvas.Brush()->SetColor(clWhite);
        Canvas.FillRect(Image.rect());
    }
    int Width(const QString& S) const { return Canvas.TextWidth(S); }
};

TEST(TDrawHelpers, EllipsisShortening)
{
    TCanvasBench B;
    const QString Pair = QString::fromUtf16(u"ab\U00020000cdefghij");
    const QString Wide = QString::fromUtf16(u"abcd\u2031\u2031");
    // The quirk shows only when the last character is wider than the dots.
    ASSERT_GT(B.Width(Wide), B.Width(QString::fromUtf16(u"abcd\u2031...")));
    struct TCase
    {
        const char* Name;
        QString Text;
        int MaxWidth;
        QString Want;
    } Cases[] = {
        {"fits unchanged", "abcdef", B.Width("abcdef"), "abcdef"},
        {"first candidate drops two", Wide, B.Width(QString::fromUtf16(u"abcd\u2031...")), "abcd..."},
        {"room for three", "abcdef", B.Width("abc..."), "abc..."},
        {"nothing fits", "abcdef", 1, "..."},
        {"surrogate pair kept whole", Pair, B.Width(QString::fromUtf16(u"ab\U00020000...")) - 1, "ab..."},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(EllipsisTextEh(C.Text, &B.Canvas, C.MaxWidth), C.Want) << C.Name;
}

TEST(TDrawHelpers, FastPathClipsAndPlaces)
{
    TCanvasBench B;
    const QString Text(20, QChar(0x2588)); // full blocks ink their whole advance
    const QRect R(10, 5, 40, 20);
    WriteCellText(&B.Canvas, R, false, 0, 0, false, false, tlTopEh, taLeftJustify, Text, 2, 2);
    B.Canvas.Release();
    const QRect Ink = TGridTestFixture::Ink(B.Image, B.Image.rect());
    EXPECT_EQ(Ink.left(), R.left() + 2) << "left edge is left + DX";
    EXPECT_EQ(Ink.right(), R.right()) << "clipped at the cell, not shortened";

    TCanvasBench Right;
    WriteCellText(&Right.Canvas, R, false, 0, 0, false, false, tlTopEh, taRightJustify, QStringLiteral("\u2588"),
                  2, 2);
    Right.Canvas.Release();
    EXPECT_EQ(TGridTestFixture::Ink(Right.Image, Right.Image.rect()).left(),
              RectRight(R) - 3 - Right.Width(QStringLiteral("\u2588")))
        << "ends three pixels inside the right edge";
}

TEST(TDrawHelpers, RotatedFontAndTallImage)
{
    TFont Font;
    Font.SetName(QStringLiteral("Default"));
    TFont Rotated;
    CreateRotatedFont(Font, Rotated);
    EXPECT_EQ(Rotated.Orientation(), 900);
    EXPECT_EQ(Rotated.Name(), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());

    TCanvasBench B;
    TImageList Images(8, 30);
    TBitmap Bar(8, 30);
    Bar.Canvas()->Brush()->SetColor(clRed);
    Bar.Canvas()->FillRect(QRect(0, 0, 8, 30));
    Images.AddMasked(&Bar, clWhite);
    const QRect Cell(20, 10, 30, 10);
    DrawImageInCell(&B.Canvas, Cell, &Images, 0, nullptr, taCenter, 2, true);
    B.Canvas.Release();
    EXPECT_EQ(TGridTestFixture::Colored(B.Image, B.Image.rect(), clRed), QRect(31, 10, 8, 10));
}

} // namespace
