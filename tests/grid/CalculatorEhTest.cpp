#include "GridTestUtil.h"
#include "grid/CalculatorEh.h"
#include "grid/ToolCtrlsEh.h"
#include "platform/gui/Clipbrd.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

// Types a key sequence; "\b" is Backspace, "\r" Enter, "\x1b" Esc.
void Type(TCalculatorEh& Calc, const QString& Keys)
{
    for (QChar K : Keys)
        Calc.KeyPress(K);
}

} // namespace

TEST(CalculatorEh, KeysToDisplay)
{
    struct TCase
    {
        const char* Name;
        const char* Keys;
        const char* Display;
        const char* Equal;
    };
    const TCase Cases[] = {
        {"sum", "2+3=", "5", "Ok"},
        {"percent added", "2+3%", "2.06", "Ok"},
        {"percent of product", "50*10%", "5", "Ok"},
        {"pending operation shows =", "2+3", "3", "="},
        {"operand 0 shows Ok", "0+5", "5", "Ok"},
        {"sixteenth digit ignored", "1234567890.123456", "1234567890.1234", "Ok"},
        {"minus allows one more", "123456789012345I9", "-123456789012345", "Ok"},
        {"one decimal separator", "1..5", "1.5", "Ok"},
        {"comma is the separator", "1,5", "1.5", "Ok"},
        {"backspace", "123\b", "12", "Ok"},
        {"backspace to zero", "-\b", "0", "Ok"},
        {"backspace of negative digit", "5I\b", "0", "Ok"},
        {"division by zero", "1/0=", "Error", "Ok"},
        {"error ignores keys", "1/0=5+", "Error", "Ok"},
        {"C leaves the error", "1/0=C7", "7", "Ok"},
        {"Esc does not leave the error", "1/0=\x1b", "Error", "Ok"},
        {"Esc clears", "12+3\x1b", "0", "Ok"},
        {"reciprocal", "4R", "0.25", "Ok"},
        {"reciprocal of 0", "0R", "Error", "Ok"},
        {"root", "9S", "3", "Ok"},
        {"root of negative", "9IS", "Error", "Ok"},
        {"enter computes", "6*7\r", "42", "Ok"},
        {"chained", "2+3*4=", "20", "Ok"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TCalculatorEh Calc;
        Type(Calc, QString::fromLatin1(C.Keys));
        EXPECT_EQ(Calc.DisplayText(), QString::fromLatin1(C.Display));
        EXPECT_EQ(Calc.spEqual->Caption(), QString::fromLatin1(C.Equal));
    }
}

TEST(CalculatorEh, OverflowShowsError)
{
    TCalculatorEh Calc;
    Calc.SetDisplayValue(1e308);
    Type(Calc, "*10=");
    EXPECT_EQ(Calc.DisplayText(), "Error");
    EXPECT_EQ(Calc.Status(), 2);
}

// A layout stored for another resolution is scaled to the screen's: the
// font first, then the geometry by the height of "0".
TEST(CalculatorEh, StoredResolutionRescales)
{
    TCalculatorEh Calc;
    const QSize AtScreen = Calc.size();
    const QRect Equal = Calc.spEqual->geometry();
    const struct
    {
        int PixelsPerInch, Kept, FontHeight;
    } Cases[] = {
        {192, 192, -6},  // laid out at twice the screen's: half the font
        {30, 192, -6},   // below 36: ignored
        {96, 96, -11},   // the screen's own: as stored
        {0, 0, -11},     // none: the font as stored
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.PixelsPerInch);
        Calc.SetPixelsPerInch(C.PixelsPerInch);
        EXPECT_EQ(Calc.PixelsPerInch(), C.Kept);
        EXPECT_EQ(Calc.Font()->Height(), C.FontHeight);
        const int Text = QFontMetrics(Calc.Font()->ToQFont()).height();
        EXPECT_EQ(Calc.width(), MulDiv(184, Text, 13));
        EXPECT_EQ(Calc.spEqual->width(), MulDiv(56, Text, 13));
    }
    EXPECT_EQ(Calc.size(), AtScreen);
    EXPECT_EQ(Calc.spEqual->geometry(), Equal);
    Calc.SetPixelsPerInch(192);
    EXPECT_LT(Calc.width(), AtScreen.width());
}

TEST(CalculatorEh, ButtonsSendTheirKeys)
{
    TCalculatorEh Calc;
    for (int Tag : {13, 22, 14, 23}) // 1 + 2 =
        Calc.Buttons(Tag)->Click();
    EXPECT_EQ(Calc.DisplayText(), "3");
}

TEST(CalculatorEh, PasteTakesOnlyNumbers)
{
    TCalculatorEh Calc;
    Type(Calc, "7");
    TClipboard().SetAsText(" 12.5 ");
    Type(Calc, QString(QChar(22)));
    EXPECT_EQ(Calc.DisplayText(), "12.5");
    TClipboard().SetAsText("abc");
    Type(Calc, QString(QChar(22)));
    EXPECT_EQ(Calc.DisplayText(), "12.5");
    Type(Calc, QString(QChar(3)));
    EXPECT_EQ(TClipboard().AsText(), "12.5");
}

TEST(PopupCalculatorEh, ClosesUpByKey)
{
    struct TCase
    {
        const char* Name;
        const char* Keys;
        int VirtualKey; // sent as key-down after the characters, 0 for none
        int Closes;     // -1 open, 0 cancelled, 1 accepted
        const char* Value;
    };
    const TCase Cases[] = {
        {"Enter on Ok accepts", "0+5\r", 0, 1, "5"},
        {"Enter on = computes", "2+3\r", 0, -1, "5"},
        {"= on Ok accepts", "7=", 0, 1, "7"},
        {"Esc cancels", "7", VK_ESCAPE, 0, "7"},
        {"Cancel cancels", "7A", 0, 0, "7"},
        {"Error gives null", "0R\r", 0, 1, ""},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TPopupCalculatorEh Calc;
        int Closed = -1;
        Calc.OnCloseUp = [&](bool Accept) { Closed = Accept ? 1 : 0; };
        Type(Calc, QString::fromLatin1(C.Keys));
        if (C.VirtualKey != 0) {
            int Key = C.VirtualKey;
            Calc.KeyDown(Key, {});
            EXPECT_EQ(Key, 0);
        }
        EXPECT_EQ(Closed, C.Closes);
        EXPECT_EQ(VarToStr(Calc.Value()), QString::fromLatin1(C.Value));
    }
}

TEST(PopupCalculatorEh, WheelStepsButNotOnError)
{
    TPopupCalculatorEh Calc;
    Calc.SetValue(2.5);
    Calc.MouseWheel({}, 120, 0, 0);
    EXPECT_EQ(Calc.DisplayText(), "3.5");
    Calc.MouseWheel({}, -120, 0, 0);
    Calc.MouseWheel({}, -120, 0, 0);
    EXPECT_EQ(Calc.DisplayText(), "1.5");
    Type(Calc, "0R");
    Calc.MouseWheel({}, 120, 0, 0);
    EXPECT_EQ(Calc.DisplayText(), "Error");
}
