// Canvas output on a QImage: XOR marks, text layout, edges, frame controls,
// clipping, rotated text and pattern brushes.
#include "GuiTestUtil.h"
#include "platform/gui/Graphics.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

// A busy background, so that XOR and NOT results are checked on every colour.
QImage NoiseImage(int Width, int Height)
{
    QImage I(Width, Height, QImage::Format_RGB32);
    uint32_t Seed = 12345;
    for (int Y = 0; Y < Height; ++Y) {
        for (int X = 0; X < Width; ++X) {
            Seed = Seed * 1103515245u + 12345u;
            I.setPixel(X, Y, 0xFF000000u | (Seed >> 8));
        }
    }
    return I;
}

int CountDifferent(const QImage& A, const QImage& B)
{
    int N = 0;
    for (int Y = 0; Y < A.height(); ++Y)
        for (int X = 0; X < A.width(); ++X)
            N += A.pixel(X, Y) != B.pixel(X, Y);
    return N;
}

// The bounding box of pixels that are not white.
QRect InkBounds(const QImage& I)
{
    QRect R;
    for (int Y = 0; Y < I.height(); ++Y)
        for (int X = 0; X < I.width(); ++X)
            if ((I.pixel(X, Y) & 0xFFFFFF) != 0xFFFFFF)
                R = R.united(QRect(X, Y, 1, 1));
    return R;
}

} // namespace

TEST(Canvas, XorAndNotMarksVanishWhenDrawnTwice)
{
    struct TRow
    {
        const char* Name;
        std::function<void(TCanvas*)> Draw;
    };
    const TRow Rows[] = {
        {"HandleDot", [](TCanvas* C) {
             C->Pen()->SetWidth(5); C->Pen()->SetColor(clWhite); C->Pen()->SetMode(pmXor);
             C->MoveTo(20, 20); C->LineTo(20, 20);
         }},
        {"SilverOutline", [](TCanvas* C) {
             C->Pen()->SetColor(clSilver); C->Pen()->SetMode(pmXor); C->Brush()->SetStyle(bsClear);
             C->Rectangle(5, 6, 40, 30);
         }},
        {"DiagonalPolyline", [](TCanvas* C) {
             C->Pen()->SetColor(clSilver); C->Pen()->SetMode(pmXor);
             C->Polyline({{1, 1}, {45, 17}, {3, 38}, {3, 2}});
         }},
        {"InvertingWideLine", [](TCanvas* C) {
             C->Pen()->SetWidth(2); C->Pen()->SetMode(pmNot);
             C->MoveTo(4, 30); C->LineTo(44, 30);
         }},
        {"DottedXorLine", [](TCanvas* C) {
             C->Pen()->SetStyle(psDot); C->Pen()->SetColor(clWhite); C->Pen()->SetMode(pmXor);
             C->MoveTo(0, 10); C->LineTo(47, 10);
         }},
        {"FilledXorRectangle", [](TCanvas* C) {
             C->Pen()->SetMode(pmXor); C->Pen()->SetColor(clWhite); C->Brush()->SetColor(clSilver);
             C->Rectangle(10, 10, 30, 20);
         }},
        {"FocusRect", [](TCanvas* C) { C->DrawFocusRect(QRect(3, 4, 30, 20)); }},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const QImage Original = NoiseImage(48, 40);
        QImage Image = Original;
        TCanvas Canvas(&Image);
        Row.Draw(&Canvas);
        Canvas.Release();
        EXPECT_GT(CountDifferent(Original, Image), 0);
        Row.Draw(&Canvas);
        Canvas.Release();
        EXPECT_EQ(CountDifferent(Original, Image), 0);
    }
}

TEST(Canvas, RectangleAndLinesCoverClassicPixels)
{
    QImage Image = WhiteImage(12, 10);
    TCanvas C(&Image);
    C.Brush()->SetColor(clYellow);
    C.Rectangle(2, 2, 8, 6);
    C.MoveTo(0, 9);
    C.LineTo(5, 9); // the end point is not drawn
    C.MoveTo(11, 0);
    C.LineTo(9, 0); // two pixels, drawn leftwards
    C.Release();
    struct TPixel
    {
        int X, Y;
        TColor Expected;
    };
    const TPixel Pixels[] = {{2, 2, clBlack}, {7, 5, clBlack}, {7, 2, clBlack}, {8, 6, clWhite},
                             {8, 2, clWhite}, {3, 3, clYellow}, {6, 4, clYellow},
                             {0, 9, clBlack}, {4, 9, clBlack}, {5, 9, clWhite},
                             {11, 0, clBlack}, {10, 0, clBlack}, {9, 0, clWhite}};
    for (const TPixel& P : Pixels) {
        SCOPED_TRACE(testing::Message() << P.X << "," << P.Y);
        EXPECT_EQ(C.Pixels(P.X, P.Y), P.Expected);
    }
}

TEST(Canvas, DashPatternsFollowTheClassicPixelRhythm)
{
    struct TRow
    {
        TPenStyle Style;
        const char* Expected; // the first 24 pixels of a horizontal line
        int From = 0;         // where the line starts, left of the image or at its edge
    };
    const TRow Rows[] = {{psSolid, "########################"},
                         {psDot, "###...###...###...###..."},
                         {psDash, "##################......"},
                         {psDashDot, "#########......###......"},
                         // Plotted only where it shows, in the same rhythm.
                         {psDot, "###...###...###...###...", -1800000000}};
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(testing::Message() << Row.Expected << " from " << Row.From);
        QImage Image = WhiteImage(30, 3);
        TCanvas C(&Image);
        C.Pen()->SetStyle(Row.Style);
        C.MoveTo(Row.From, 1);
        C.LineTo(30, 1);
        C.Release();
        QString Got;
        for (int X = 0; X < 24; ++X)
            Got += C.Pixels(X, 1) == clBlack ? u'#' : u'.';
        EXPECT_EQ(Got, QString::fromLatin1(Row.Expected));
    }
}

TEST(Canvas, DrawTextCalcRectSizes)
{
    QImage Image = WhiteImage(10, 10);
    TCanvas C(&Image);
    C.Font()->SetName(QStringLiteral("DejaVu Sans"));
    C.Font()->SetHeight(-12);
    const int LineH = C.TextHeight(QStringLiteral("X"));
    const int Two = C.TextWidth(QStringLiteral("aaa bbb"));
    const int Han3 = C.TextWidth(QStringLiteral("一二三"));
    struct TRow
    {
        const char* Name;
        QString Text;
        int Width;
        unsigned Flags;
        int ExpectedWidth;  // -1: not checked
        int ExpectedLines;
    };
    const TRow Rows[] = {
        {"SingleLine", QStringLiteral("Hello"), 500, DT_SINGLELINE, C.TextWidth(QStringLiteral("Hello")), 1},
        {"WordBreak", QStringLiteral("aaa bbb ccc"), Two + 2, DT_WORDBREAK, Two, 2},
        {"ChineseBreaksBetweenCharacters", QStringLiteral("一二三四五六七"), Han3 + 1, DT_WORDBREAK, Han3, 3},
        {"LongWordStaysWhole", QStringLiteral("abcdefghijkl"), 20, DT_WORDBREAK,
         C.TextWidth(QStringLiteral("abcdefghijkl")), 1},
        {"EditControlBreaksLongWords", QStringLiteral("abcdefghijkl"), 30, DT_WORDBREAK | DT_EDITCONTROL, -1, 0},
        {"LineBreaks", QStringLiteral("a\r\nb\nc"), 500, 0, -1, 3},
        {"SingleLineIgnoresBreaks", QStringLiteral("a\r\nb"), 500, DT_SINGLELINE, -1, 1},
        {"PrefixRemoved", QStringLiteral("&File"), 500, DT_SINGLELINE, C.TextWidth(QStringLiteral("File")), 1},
        {"DoublePrefixKeepsOne", QStringLiteral("A&&B"), 500, DT_SINGLELINE, C.TextWidth(QStringLiteral("A&B")), 1},
        {"NoPrefix", QStringLiteral("&File"), 500, DT_SINGLELINE | DT_NOPREFIX, C.TextWidth(QStringLiteral("&File")), 1},
        {"EmptyTextHasOneLine", QString(), 500, DT_SINGLELINE, 0, 1},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QRect R(10, 20, Row.Width, 5);
        const int H = C.DrawText(Row.Text, R, Row.Flags | DT_CALCRECT);
        EXPECT_EQ(R.left(), 10);
        EXPECT_EQ(R.top(), 20);
        if (Row.ExpectedWidth >= 0) {
            EXPECT_EQ(R.width(), Row.ExpectedWidth);
        }
        if (Row.ExpectedLines > 0) {
            EXPECT_EQ(H, Row.ExpectedLines * LineH);
            EXPECT_EQ(R.height(), H);
        } else {
            EXPECT_GT(H, 2 * LineH);
            EXPECT_LE(R.width(), 30);
        }
    }
}

TEST(Canvas, EndEllipsisShortensToTheRectangle)
{
    QImage Image = WhiteImage(200, 20);
    TCanvas C(&Image);
    C.Font()->SetName(QStringLiteral("DejaVu Sans"));
    const QString Text = QStringLiteral("A rather long caption for a narrow cell");
    for (int Width : {200, 80, 40, 12}) {
        SCOPED_TRACE(Width);
        QRect R(0, 0, Width, 20);
        C.DrawText(Text, R, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
        EXPECT_LE(R.width(), std::max(Width, C.TextWidth(QStringLiteral("..."))));
        QRect Clipped(0, 0, Width, 20);
        C.DrawText(Text, Clipped, DT_SINGLELINE | DT_CALCRECT);
        EXPECT_EQ(Clipped.width(), C.TextWidth(Text)); // without the flag nothing is shortened
    }
    QRect WithMargins(0, 0, 500, 20);
    TDrawTextParams Params;
    Params.LeftMargin = 5;
    Params.RightMargin = 7;
    C.DrawTextEx(QStringLiteral("Hi"), WithMargins, DT_SINGLELINE | DT_CALCRECT, &Params);
    EXPECT_EQ(WithMargins.width(), C.TextWidth(QStringLiteral("Hi")) + 12);
}

TEST(Canvas, DrawTextAlignsAndClips)
{
    struct TRow
    {
        const char* Name;
        unsigned Flags;
        int MinX, MaxX, MinY, MaxY; // where the ink must lie in a 100 x 40 rectangle at (50, 30)
    };
    const TRow Rows[] = {
        {"LeftTop", DT_SINGLELINE, 50, 90, 30, 46},
        {"RightBottom", DT_SINGLELINE | DT_RIGHT | DT_BOTTOM, 110, 149, 54, 69},
        {"CentreMiddle", DT_SINGLELINE | DT_CENTER | DT_VCENTER, 75, 125, 36, 63},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QImage Image = WhiteImage(200, 100);
        TCanvas C(&Image);
        C.Font()->SetName(QStringLiteral("DejaVu Sans"));
        C.Brush()->SetStyle(bsClear);
        QRect R(50, 30, 100, 40);
        C.DrawText(QStringLiteral("Tally"), R, Row.Flags);
        C.Release();
        const QRect Ink = InkBounds(Image);
        ASSERT_FALSE(Ink.isEmpty());
        EXPECT_GE(Ink.left(), Row.MinX);
        EXPECT_LE(Ink.right(), Row.MaxX);
        EXPECT_GE(Ink.top(), Row.MinY);
        EXPECT_LE(Ink.bottom(), Row.MaxY);
    }
    QImage Image = WhiteImage(200, 100);
    TCanvas C(&Image);
    C.Brush()->SetStyle(bsClear);
    QRect Narrow(10, 10, 20, 20);
    C.DrawText(QStringLiteral("WWWWWWWWWW"), Narrow, DT_SINGLELINE);
    C.Release();
    EXPECT_LE(InkBounds(Image).right(), 29);
}

TEST(Canvas, EdgesUseTheClassicPalette)
{
    const TColor Face = ColorToRGB(clBtnFace), Shadow = ColorToRGB(clBtnShadow),
                 Dark = ColorToRGB(cl3DDkShadow), Light = ColorToRGB(cl3DLight), White = clWhite;
    struct TRow
    {
        const char* Name;
        unsigned Edge, Flags;
        std::vector<std::tuple<int, int, TColor>> Pixels;
    };
    const TRow Rows[] = {
        {"Raised", EDGE_RAISED, BF_RECT | BF_MIDDLE,
         {{0, 0, Light}, {1, 1, White}, {9, 9, Dark}, {8, 8, Shadow}, {0, 9, Dark}, {9, 0, Dark}, {5, 5, Face}}},
        {"Sunken", EDGE_SUNKEN, BF_RECT,
         {{0, 0, Shadow}, {1, 1, Dark}, {9, 9, White}, {8, 8, Light}, {5, 5, clFuchsia}}},
        {"Flat", EDGE_SUNKEN, BF_RECT | BF_FLAT | BF_MIDDLE, {{0, 0, Shadow}, {9, 9, Shadow}, {1, 1, Face}, {5, 5, Face}}},
        {"BottomOnly", EDGE_RAISED, BF_BOTTOM, {{0, 0, clFuchsia}, {4, 9, Dark}, {4, 8, Shadow}, {9, 4, clFuchsia}}},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QImage Image(10, 10, QImage::Format_RGB32);
        Image.fill(ColorToQColor(clFuchsia));
        TCanvas C(&Image);
        QRect R(0, 0, 10, 10);
        EXPECT_TRUE(C.DrawEdge(R, Row.Edge, Row.Flags));
        C.Release();
        for (const auto& [X, Y, Expected] : Row.Pixels) {
            SCOPED_TRACE(testing::Message() << X << "," << Y);
            EXPECT_EQ(C.Pixels(X, Y), Expected);
        }
    }
    QImage Image = WhiteImage(10, 10);
    TCanvas C(&Image);
    QRect R(0, 0, 10, 10);
    C.DrawEdge(R, EDGE_RAISED, BF_RECT | BF_ADJUST);
    EXPECT_EQ(R, QRect(2, 2, 6, 6));
}

TEST(Canvas, FrameControlsDrawBoxesAndArrows)
{
    const TColor Face = ColorToRGB(clBtnFace), Shadow = ColorToRGB(clBtnShadow);
    struct TRow
    {
        const char* Name;
        unsigned Type, State;
        QRect Box;
        std::vector<std::tuple<int, int, TColor>> Pixels;
    };
    const TRow Rows[] = {
        {"Unchecked", DFC_BUTTON, DFCS_BUTTONCHECK, QRect(0, 0, 13, 13),
         {{0, 0, Shadow}, {6, 6, clWhite}, {3, 3, clWhite}}},
        {"Checked", DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED, QRect(0, 0, 13, 13),
         {{0, 0, Shadow}, {6, 8, clBlack}, {2, 2, clWhite}, {10, 10, clWhite}}},
        {"Grayed", DFC_BUTTON, DFCS_BUTTON3STATE | DFCS_CHECKED, QRect(0, 0, 13, 13),
         {{6, 8, Shadow}, {2, 2, Face}}},
        {"FlatChecked", DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_FLAT, QRect(0, 0, 13, 13),
         {{0, 0, Shadow}, {12, 12, Shadow}, {1, 1, clWhite}}},
        {"ComboArrow", DFC_SCROLL, DFCS_SCROLLCOMBOBOX, QRect(0, 0, 17, 17),
         {{5, 6, clBlack}, {11, 6, clBlack}, {8, 9, clBlack}, {4, 6, Face}, {7, 9, Face}, {16, 16, ColorToRGB(cl3DDkShadow)}}},
        {"PushedArrowMoves", DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_PUSHED, QRect(0, 0, 17, 17),
         {{9, 10, clBlack}, {5, 6, Face}, {0, 0, Shadow}}},
        {"SpinUp", DFC_SCROLL, DFCS_SCROLLUP, QRect(0, 0, 17, 17), {{8, 6, clBlack}, {5, 9, clBlack}, {5, 6, Face}}},
        {"InactiveArrowIsGrey", DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_INACTIVE, QRect(0, 0, 17, 17), {{8, 7, Shadow}}},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QImage Image = WhiteImage(20, 20);
        TCanvas C(&Image);
        QRect R = Row.Box;
        EXPECT_TRUE(C.DrawFrameControl(R, Row.Type, Row.State));
        C.Release();
        for (const auto& [X, Y, Expected] : Row.Pixels) {
            SCOPED_TRACE(testing::Message() << X << "," << Y);
            EXPECT_EQ(C.Pixels(X, Y), Expected);
        }
    }
}

TEST(Canvas, RegionsCombineAndClip)
{
    const QRegion A = CreateRectRgn(0, 0, 10, 10), B = CreateRectRgn(5, 5, 15, 15);
    struct TRow
    {
        const char* Name;
        int Mode, Kind;
        std::vector<std::pair<QPoint, bool>> Points;
    };
    const TRow Rows[] = {
        {"Union", RGN_OR, COMPLEXREGION, {{{0, 0}, true}, {{14, 14}, true}, {{12, 2}, false}, {{15, 15}, false}}},
        {"Intersection", RGN_AND, SIMPLEREGION, {{{5, 5}, true}, {{9, 9}, true}, {{4, 4}, false}, {{10, 10}, false}}},
        {"Difference", RGN_DIFF, COMPLEXREGION, {{{0, 0}, true}, {{9, 4}, true}, {{5, 5}, false}, {{12, 12}, false}}},
        {"Xor", RGN_XOR, COMPLEXREGION, {{{0, 0}, true}, {{7, 7}, false}, {{14, 14}, true}}},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QRegion R;
        EXPECT_EQ(CombineRgn(R, A, B, Row.Mode), Row.Kind);
        for (const auto& [P, Inside] : Row.Points)
            EXPECT_EQ(PtInRegion(R, P.x(), P.y()), Inside) << P.x() << "," << P.y();

        // Drawing through the region paints exactly its pixels.
        QImage Image = WhiteImage(16, 16);
        TCanvas C(&Image);
        C.SelectClipRgn(&R);
        C.Brush()->SetColor(clBlack);
        C.FillRect(QRect(0, 0, 16, 16));
        C.Release();
        for (int Y = 0; Y < 16; ++Y)
            for (int X = 0; X < 16; ++X)
                ASSERT_EQ(C.Pixels(X, Y) == clBlack, PtInRegion(R, X, Y)) << X << "," << Y;
    }
    QRegion Empty;
    EXPECT_EQ(CombineRgn(Empty, A, CreateRectRgn(20, 20, 30, 30), RGN_AND), NULLREGION);
    EXPECT_TRUE(CreateRectRgn(5, 5, 5, 9).isEmpty());
}

TEST(Canvas, SavedStateRestoresClipAndTools)
{
    QImage Image = WhiteImage(20, 20);
    TCanvas C(&Image);
    C.Brush()->SetColor(clRed);
    {
        TCanvasState Saved(&C);
        C.IntersectClipRect(QRect(0, 0, 5, 5));
        C.ExcludeClipRect(QRect(0, 0, 2, 2));
        C.Brush()->SetColor(clBlue);
        C.FillRect(QRect(0, 0, 20, 20));
        EXPECT_EQ(C.ClipRect(), QRect(0, 0, 5, 5));
    }
    C.Release();
    EXPECT_EQ(C.Pixels(3, 3), clBlue);
    EXPECT_EQ(C.Pixels(1, 1), clWhite);
    EXPECT_EQ(C.Pixels(10, 10), clWhite);
    EXPECT_FALSE(C.HasClip());
    EXPECT_EQ(C.Brush()->Color(), clRed);
    C.Brush()->SetStyle(bsClear);
    C.Brush()->SetColor(clRed); // the same colour still ends the clear brush
    EXPECT_EQ(C.Brush()->Style(), bsSolid);
}

TEST(Canvas, RotatedTextRunsUpwardsFromTheOrigin)
{
    QImage Image = WhiteImage(120, 160);
    TCanvas C(&Image);
    C.Font()->SetName(QStringLiteral("DejaVu Sans"));
    C.Font()->SetHeight(-14);
    const QString Text = QStringLiteral("Vertical");
    const int W = C.TextWidth(Text), H = C.TextHeight(Text);
    C.Font()->SetOrientation(900);
    C.Brush()->SetStyle(bsClear);
    C.TextOut(40, 140, Text);
    C.Release();
    const QRect Ink = InkBounds(Image);
    ASSERT_FALSE(Ink.isEmpty());
    EXPECT_GE(Ink.left(), 40 - 1);
    EXPECT_LE(Ink.right(), 40 + H);
    EXPECT_GE(Ink.top(), 140 - W - 1);
    EXPECT_LE(Ink.bottom(), 140);
    EXPECT_GT(Ink.height(), Ink.width() * 2); // it really runs vertically
}

TEST(Canvas, OpaqueTextFillsTheCellWithTheBrush)
{
    QImage Image = WhiteImage(100, 30);
    TCanvas C(&Image);
    C.Brush()->SetColor(clYellow);
    C.TextOut(5, 5, QStringLiteral("Abc"));
    C.Release();
    EXPECT_EQ(C.Pixels(5, 5), clYellow);
    EXPECT_EQ(C.PenPos(), QPoint(5 + C.TextWidth(QStringLiteral("Abc")), 5));
    EXPECT_EQ(C.Pixels(4, 5), clWhite);

    QImage Spaced = WhiteImage(10, 10);
    TCanvas S(&Spaced);
    const int Plain = S.TextWidth(QStringLiteral("abcd"));
    S.SetTextCharacterExtra(3);
    EXPECT_EQ(S.TextWidth(QStringLiteral("abcd")), Plain + 12);
    S.SetTextCharacterExtra(0);
    const int Words = S.TextWidth(QStringLiteral("a b c"));
    S.SetTextJustification(10, 2); // justified line: the two spaces share 10 pixels
    EXPECT_EQ(S.TextWidth(QStringLiteral("a b c")), Words + 10);
    S.SetTextJustification(0, 0);
    EXPECT_EQ(S.TextWidth(QStringLiteral("a b c")), Words);
}

TEST(Canvas, PatternBrushRepeatsFromTheOrigin)
{
    TBitmap Grid(8, 8);
    Grid.Canvas()->Brush()->SetColor(clWhite);
    Grid.Canvas()->FillRect(QRect(0, 0, 8, 8));
    Grid.Canvas()->SetPixels(0, 0, clBlack);
    Grid.Canvas()->SetPixels(4, 4, clBlack);
    QImage Image = WhiteImage(24, 24);
    TCanvas C(&Image);
    C.Brush()->SetBitmap(&Grid);
    C.FillRect(QRect(3, 3, 20, 20));
    C.Release();
    int Black = 0;
    for (int Y = 0; Y < 24; ++Y)
        for (int X = 0; X < 24; ++X)
            if (C.Pixels(X, Y) == clBlack) {
                ++Black;
                EXPECT_TRUE((X % 8 == 0 && Y % 8 == 0) || (X % 8 == 4 && Y % 8 == 4)) << X << "," << Y;
            }
    EXPECT_EQ(Black, 4 + 9); // (8|16, 8|16) and (4|12|20, 4|12|20) inside 3..22
}

TEST(Colors, SystemColoursMapToTheFixedPalette)
{
    struct TRow
    {
        TColor Color, Rgb;
    };
    const TRow Rows[] = {{clBtnFace, RGB(212, 208, 200)}, {clWindow, clWhite}, {clWindowText, clBlack},
                         {clHighlight, RGB(10, 36, 106)}, {clHighlightText, clWhite},
                         {clBtnShadow, RGB(128, 128, 128)}, {clBtnHighlight, clWhite},
                         {clGrayText, RGB(128, 128, 128)}, {cl3DDkShadow, RGB(64, 64, 64)},
                         {TColor(0x00F0CAA6), TColor(0x00F0CAA6)}, {clNone, clBlack}};
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(testing::Message() << std::hex << Row.Color);
        EXPECT_EQ(ColorToRGB(Row.Color), Row.Rgb);
    }
    EXPECT_EQ(uint32_t(clBtnFace), 0xFF00000Fu);
    EXPECT_EQ(ColorToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(QColorToColor(QColor(0, 0, 255)), clBlue);
}

TEST(Fonts, SizeAndHeightConvertAt96Dpi)
{
    TFont F;
    const std::pair<int, int> Rows[] = {{9, -12}, {12, -16}, {10, -13}, {14, -19}};
    for (const auto& [Size, Height] : Rows) {
        SCOPED_TRACE(Size);
        F.SetSize(Size);
        EXPECT_EQ(F.Height(), Height);
        EXPECT_EQ(F.Size(), Size);
        EXPECT_EQ(F.ToQFont().pixelSize(), -Height);
    }
    F.SetName(QStringLiteral("default"));
    EXPECT_NE(F.ToQFont().family(), QStringLiteral("default"));
}

TEST(Canvas, BorrowedScaledPainterDrawsWholeLines)
{
    QImage Image = WhiteImage(40, 10);
    QPainter Painter(&Image);
    Painter.scale(2, 2);
    {
        TCanvas C(&Painter);
        C.Pen()->SetColor(clBlack);
        C.MoveTo(0, 2);
        C.LineTo(15, 2);
        C.Brush()->SetColor(clRed);
        C.FillRect(QRect(0, 3, 5, 1));
    }
    Painter.end();
    for (int X = 2; X < 28; ++X)
        EXPECT_NE(Image.pixel(X, 4) & 0xFFFFFF, 0xFFFFFFu) << X; // no gaps between scaled pixels
    EXPECT_EQ(Image.pixel(9, 6) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(Image.pixel(10, 6) & 0xFFFFFF, 0xFFFFFFu);
}
// A region clip after a fill without clipping still holds: the painter keeps
// its clip record, and turning clipping off must not leave it disabled.
TEST(Canvas, RegionClipHoldsAfterAFillWithoutClip)
{
    QImage Image = WhiteImage(60, 20);
    TCanvas C(&Image);
    const QRegion Holes = QRegion(0, 0, 60, 20) - QRegion(10, 5, 10, 10) - QRegion(40, 5, 10, 10);
    for (TColor Color : {clRed, clBlack, clBlue}) {
        C.SelectClipRgn(Color == clBlack ? nullptr : &Holes);
        C.Brush()->SetColor(Color);
        C.FillRect(QRect(0, 0, 60, 20));
    }
    // Thin lines are clipped pixel by pixel the same way.
    C.Pen()->SetColor(clLime);
    C.MoveTo(0, 12);
    C.LineTo(60, 12);
    C.Release();
    EXPECT_EQ(C.Pixels(15, 10), clBlack);
    EXPECT_EQ(C.Pixels(45, 10), clBlack);
    EXPECT_EQ(C.Pixels(30, 10), clBlue);
    EXPECT_EQ(C.Pixels(15, 12), clBlack);
    EXPECT_EQ(C.Pixels(30, 12), clLime);
}
