// The template page: bounds from margins and the printable area, naming, and
// the conversions its stream record applies.
#include "FormTestUtil.h"

#include "report/engine/FR_Utils.h"

#include <gtest/gtest.h>

using namespace formtest;

TEST(Page, BoundsFollowMarginsOrThePrintableArea)
{
    struct TRow { const char* Name; bool UseMargins; int Margin; QString Expected; };
    TfrPage Probe(9, 2100, 2970, frNoBin, poPortrait);
    const int W = Probe.PrnInfo.PaperWidthPx, H = Probe.PrnInfo.PaperHeightPx;
    const TRow Rows[] = {
        {"margins", true, 10, QStringLiteral("10,10,%1,%2").arg(W - 10).arg(H - 10)},
        // Margins of 0 fall back to the printable area, not to 0.
        {"printable area", true, 0, QStringLiteral("5,7,%1,%2").arg(5 + W - 20).arg(7 + H - 30)},
        {"whole sheet", false, 10, QStringLiteral("0,0,%1,%2").arg(W).arg(H)},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TfrPage P(9, 2100, 2970, frNoBin, poPortrait);
        P.UseMargins = Row.UseMargins ? -1 : 0;
        P.LeftMargin = P.TopMargin = P.RightMargin = P.BottomMargin = Row.Margin;
        P.PrnInfo.OffsetX = 5;
        P.PrnInfo.OffsetY = 7;
        P.PrnInfo.PrintableWidth = W - 20;
        P.PrnInfo.PrintableHeight = H - 30;
        EXPECT_EQ(QStringLiteral("%1,%2,%3,%4").arg(P.GetLeftBound()).arg(P.GetTopBound())
                      .arg(P.GetRightBound()).arg(P.GetBottomBound()),
                  Row.Expected);
    }
    // A4 at 91.6256... layout pixels per inch.
    EXPECT_EQ(W, 758);
    EXPECT_EQ(H, 1071);
}

TEST(Page, NewPagesTakeTheFirstFreeName)
{
    TfrReport Report;
    CurReport = &Report;
    Report.Pages()->Add();
    Report.Pages()->Add();
    Report.Pages()->Add();
    EXPECT_EQ(Report.Pages()->Pages(2)->Name, QStringLiteral("Page3"));
    Report.Pages()->Delete(1);
    Report.Pages()->Add();
    EXPECT_EQ(Report.Pages()->Pages(2)->Name, QStringLiteral("Page2"));
}

TEST(Page, RecordConvertsDialogSettings)
{
    struct TRow { uint8_t Border; uint8_t Position; uint8_t ExpectedBorder; uint8_t ExpectedPosition; };
    const TRow Rows[] = {{0, 0, 3, 0}, {1, 1, 2, 4}, {3, 4, 3, 4}, {2, 9, 2, 4}};
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Border);
        TfrPage Source(9, 2100, 2970, frNoBin, poPortrait);
        Source.BorderStyle = Row.Border;
        Source.Position = Row.Position;
        FormVersion = 25;
        TMemoryStream Stream;
        Source.SaveToStream(Stream);
        Stream.SetPosition(0);
        TfrPage Read(9, 2100, 2970, frNoBin, poPortrait);
        Read.LoadFromStream(Stream);
        EXPECT_EQ(Read.BorderStyle, Row.ExpectedBorder);
        EXPECT_EQ(Read.Position, Row.ExpectedPosition);
        EXPECT_EQ(Stream.Position(), Stream.Size());
    }
}

TEST(Page, BinOfAnyLowWordFFFFMeansNoBin)
{
    TfrPage P(9, 2100, 2970, -1, poPortrait);
    EXPECT_EQ(P.Bin, frNoBin);
    P.ChangePaper(9, 2100, 2970, 0x1FFFF, poPortrait);
    EXPECT_EQ(P.Bin, frNoBin);
    P.ChangePaper(256, 1000, 500, 7, poLandscape);
    EXPECT_EQ(P.Bin, 7);
    EXPECT_EQ(P.Orientation, poLandscape);
}

TEST(Page, ScriptPropertiesByName)
{
    TfrPage P(9, 2100, 2970, frNoBin, poPortrait);
    DocMode = dmDesigning;
    // Report pages give their paper in millimetres at 18/5 pixels each.
    EXPECT_EQ(P.GetPropValue("width").AsInteger(), 756);
    P.SetPropValue("Width", Variant(720));
    EXPECT_EQ(P.Width, 2000);
    P.SetPropValue("StretchToPrintable", Variant(true));
    EXPECT_EQ(P.UseMargins, 0);
    EXPECT_TRUE(P.GetPropValue("STRETCHTOPRINTABLE").AsBoolean());
    P.SetPropValue("PrintToPrevPage", Variant(true));
    EXPECT_TRUE(P.GetPropValue("PRINTTOPREVPAGE").AsBoolean());
    P.SetPropValue("LeftMargin", Variant(12));
    EXPECT_EQ(P.GetPropValue("LEFTMARGIN").AsInteger(), 12);
    EXPECT_TRUE(P.GetPropValue("NoSuchProperty").IsEmpty());
    // Dialog pages use their form's size.
    P.SetPropValue("TYPE", Variant(1));
    P.SetPropValue("WIDTH", Variant(500));
    EXPECT_EQ(P.FormWidth, 500);
    EXPECT_EQ(P.GetPropValue("WIDTH").AsInteger(), 500);
    EXPECT_EQ(P.Width, 2000);
}
