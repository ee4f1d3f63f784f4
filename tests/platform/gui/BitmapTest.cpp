// Bitmaps, icons, pictures, image lists and glyph transparency.
#include "GuiTestUtil.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/ImgList.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A 2 x 2, 24-bit bitmap written from the format description: rows bottom-up,
// blue-green-red, each row padded to 4 bytes. Bottom-left fuchsia, bottom-right
// red, top-left blue, top-right green.
QByteArray TinyBmp()
{
    QByteArray B;
    auto U16 = [&](int V) { B.append(char(V & 0xFF)).append(char((V >> 8) & 0xFF)); };
    auto U32 = [&](int V) { U16(V & 0xFFFF); U16((V >> 16) & 0xFFFF); };
    B.append("BM");
    U32(70);
    U32(0);
    U32(54);
    U32(40);
    U32(2);
    U32(2);
    U16(1);
    U16(24);
    U32(0);
    U32(16);
    U32(2835);
    U32(2835);
    U32(0);
    U32(0);
    B.append("\xFF\x00\xFF\x00\x00\xFF\x00\x00", 8); // bottom row
    B.append("\xFF\x00\x00\x00\xFF\x00\x00\x00", 8); // top row
    return B;
}

QString WriteFile(const QTemporaryDir& Dir, const QString& Name, const QByteArray& Bytes)
{
    const QString Path = Dir.filePath(Name);
    QFile F(Path);
    EXPECT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(Bytes);
    return Path;
}

} // namespace

TEST(Bitmap, ReadsAHandWrittenBmpAndTakesTheBottomLeftPixelAsTransparent)
{
    QTemporaryDir Dir;
    TBitmap B;
    B.LoadFromFile(WriteFile(Dir, QStringLiteral("tiny.bmp"), TinyBmp()));
    ASSERT_EQ(B.Width(), 2);
    ASSERT_EQ(B.Height(), 2);
    const std::tuple<int, int, TColor> Pixels[] = {{0, 1, clFuchsia}, {1, 1, clRed}, {0, 0, clBlue}, {1, 0, clLime}};
    for (const auto& [X, Y, C] : Pixels)
        EXPECT_EQ(B.Canvas()->Pixels(X, Y), C) << X << "," << Y;
    EXPECT_EQ(B.TransparentColor(), clFuchsia);
    B.SetTransparent(true);
    const QImage I = B.ToImage();
    EXPECT_EQ(qAlpha(I.pixel(0, 1)), 0);
    EXPECT_EQ(qAlpha(I.pixel(0, 0)), 255);
    B.SetTransparentColor(clRed);
    EXPECT_EQ(qAlpha(B.ToImage().pixel(1, 1)), 0);
    EXPECT_EQ(qAlpha(B.ToImage().pixel(0, 1)), 255);
}

TEST(Bitmap, StreamReadStopsAtTheEndOfTheBitmap)
{
    QByteArray Bytes = TinyBmp();
    Bytes.append("TAIL");
    TMemoryStream S(Bytes);
    TBitmap B;
    B.LoadFromStream(S);
    EXPECT_EQ(S.Position(), 70);
    EXPECT_EQ(B.Width(), 2);

    TMemoryStream Out;
    B.SaveToStream(Out);
    Out.SetPosition(0);
    TBitmap Again;
    Again.LoadFromStream(Out);
    EXPECT_EQ(Again.Image(), B.Image());
}

TEST(Bitmap, BadInputFailsCleanly)
{
    QTemporaryDir Dir;
    const std::pair<const char*, QByteArray> Rows[] = {
        {"truncated.bmp", TinyBmp().left(40)},
        {"empty.bmp", QByteArray()},
        {"garbage.bmp", QByteArray(100, 'x')},
    };
    for (const auto& [Name, Bytes] : Rows) {
        SCOPED_TRACE(Name);
        TBitmap B;
        EXPECT_THROW(B.LoadFromFile(WriteFile(Dir, QString::fromLatin1(Name), Bytes)), EReadError);
    }
    TBitmap B;
    EXPECT_THROW(B.LoadFromFile(Dir.filePath(QStringLiteral("missing.bmp"))), EReadError);
    TPicture P;
    EXPECT_THROW(P.LoadFromFile(WriteFile(Dir, QStringLiteral("a.xyz"), TinyBmp())), EReadError);
}

TEST(Picture, LoadsByExtensionAndConvertsToBitmap)
{
    QTemporaryDir Dir;
    QImage Icon(16, 16, QImage::Format_ARGB32);
    Icon.fill(Qt::transparent);
    Icon.setPixel(8, 8, qRgba(255, 0, 0, 255));
    const QString IcoPath = Dir.filePath(QStringLiteral("a.ico"));
    ASSERT_TRUE(Icon.save(IcoPath, "ICO"));

    TPicture P;
    P.LoadFromFile(IcoPath);
    ASSERT_NE(dynamic_cast<TIcon*>(P.Graphic()), nullptr);
    EXPECT_EQ(P.Width(), 16);
    EXPECT_EQ(qAlpha(P.Graphic()->ToImage().pixel(0, 0)), 0);
    TBitmap* B = P.Bitmap();
    EXPECT_EQ(B->Canvas()->Pixels(8, 8), clRed);
    EXPECT_EQ(B->Canvas()->Pixels(0, 0), clWhite);

    P.LoadFromFile(WriteFile(Dir, QStringLiteral("b.BMP"), TinyBmp()));
    EXPECT_NE(dynamic_cast<TBitmap*>(P.Graphic()), nullptr);
    TPicture Copy;
    Copy.Assign(P);
    EXPECT_EQ(Copy.Width(), 2);
}

TEST(Bitmap, ResizingKeepsThePicture)
{
    TBitmap B(4, 4);
    B.Canvas()->SetPixels(1, 1, clRed);
    B.SetSize(8, 3);
    EXPECT_EQ(B.Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(B.Canvas()->Pixels(7, 2), clWhite);
}

TEST(ImageList, StripsSplitAndMaskedPixelsStayUnpainted)
{
    TBitmap Strip(32, 16);
    TCanvas* C = Strip.Canvas();
    C->Brush()->SetColor(clFuchsia);
    C->FillRect(QRect(0, 0, 32, 16));
    C->Brush()->SetColor(clBlue);
    C->FillRect(QRect(4, 4, 8, 8));
    C->Brush()->SetColor(clBlack);
    C->FillRect(QRect(20, 4, 8, 8));
    TImageList List(16, 16);
    EXPECT_EQ(List.AddMasked(&Strip, clDefault), 0); // clDefault: the bottom-left pixel
    ASSERT_EQ(List.Count(), 2);

    QImage Image = WhiteImage(40, 20);
    TCanvas Target(&Image);
    List.Draw(&Target, 0, 0, 0);
    List.Draw(&Target, 20, 0, 1, false);
    Target.Release();
    EXPECT_EQ(Target.Pixels(0, 0), clWhite);      // transparent
    EXPECT_EQ(Target.Pixels(6, 6), clBlue);       // enabled image as it is
    EXPECT_EQ(Target.Pixels(26, 6), ColorToRGB(clBtnShadow)); // disabled: greyed
    EXPECT_EQ(Target.Pixels(20 + 12, 12), ColorToRGB(clBtnHighlight)); // with its highlight edge
    EXPECT_EQ(Target.Pixels(21, 1), clWhite);
    EXPECT_THROW(List.Delete(5), EListError);
}

TEST(Glyph, ButtonGlyphIsTransparentWhereTheBottomLeftColourIs)
{
    TBitBtn Button;
    Button.Glyph()->SetSize(16, 16);
    TCanvas* C = Button.Glyph()->Canvas();
    C->Brush()->SetColor(clOlive);
    C->FillRect(QRect(0, 0, 16, 16));
    C->Brush()->SetColor(clRed);
    C->FillRect(QRect(4, 4, 8, 8));
    Button.GlyphChanged();
    const QImage Icon = Button.icon().pixmap(16, 16).toImage();
    EXPECT_EQ(qAlpha(Icon.pixel(0, 15)), 0);
    EXPECT_EQ(qAlpha(Icon.pixel(15, 0)), 0);
    EXPECT_EQ(Icon.pixel(6, 6) & 0xFFFFFF, 0xFF0000u);
}

TEST(ImageList, SelectedAndFocusedImagesBlend)
{
    TBitmap One(4, 4);
    One.Canvas()->Brush()->SetColor(clWhite);
    One.Canvas()->FillRect(QRect(0, 0, 4, 4));
    TImageList List(4, 4);
    List.AddMasked(&One, clNone);
    List.SetBlendColor(clBlack);
    const QColor High = ColorToQColor(clHighlight);
    struct TRow
    {
        const char* Name;
        TDrawingStyle Style;
        bool Selected;
        QColor Expected;
    };
    const TRow Rows[] = {
        {"Normal", dsNormal, false, QColor(255, 255, 255)},
        {"FocusQuarter", dsFocus, false, QColor(191, 191, 191)},
        {"SelectedStyleHalf", dsSelected, false, QColor(127, 127, 127)},
        {"SelectedItemUsesHighlight", dsNormal, true,
         QColor((255 + High.red()) / 2, (255 + High.green()) / 2, (255 + High.blue()) / 2)},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QImage Image = WhiteImage(4, 4);
        TCanvas C(&Image);
        List.Draw(&C, 0, 0, 0, Row.Style, Row.Selected);
        C.Release();
        EXPECT_EQ(C.Pixels(1, 1), QColorToColor(Row.Expected));
    }
}

TEST(Glyph, ImageShowsTheParentThroughTransparentPixels)
{
    QWidget Parent;
    QPalette P = Parent.palette();
    P.setColor(QPalette::Window, QColor(0, 128, 0));
    Parent.setPalette(P);
    auto* Image = new TImage(&Parent);
    Image->resize(8, 8);
    Image->SetTransparent(true);
    TBitmap* B = Image->Picture()->Bitmap();
    B->SetSize(8, 8);
    B->Canvas()->Brush()->SetColor(clFuchsia);
    B->Canvas()->FillRect(QRect(0, 0, 8, 8));
    B->Canvas()->SetPixels(3, 3, clBlue);
    Image->Invalidate();
    const QImage Shot = Image->grab().toImage();
    EXPECT_EQ(Shot.pixel(0, 7) & 0xFFFFFF, 0x008000u);
    EXPECT_EQ(Shot.pixel(3, 3) & 0xFFFFFF, 0x0000FFu);
}

TEST(Glyph, SpeedButtonsOfOneGroupLetEachOtherUp)
{
    QWidget Parent;
    auto* A = new TSpeedButton(&Parent);
    auto* B = new TSpeedButton(&Parent);
    auto* Other = new TSpeedButton(&Parent);
    A->SetGroupIndex(1);
    B->SetGroupIndex(1);
    Other->SetGroupIndex(2);
    A->SetDown(true);
    Other->SetDown(true);
    B->Click();
    EXPECT_FALSE(A->Down());
    EXPECT_TRUE(B->Down());
    EXPECT_TRUE(Other->Down());
}
