// Float rounding, formatting and parsing against the classic results.
#include "platform/rtl/SysUtils.h"
#include "TestText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

struct TFloatCase
{
    double Value;
    const char* Expected;
};

TEST(SysUtilsFloat, FloatToStrUsesGeneralFormatWith15Digits)
{
    const TFloatCase Cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {1, "1"},
        {-1.5, "-1.5"},
        {12.5, "12.5"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {0.0001, "0.0001"},
        {0.000123, "0.000123"},
        {0.00001, "1E-5"},
        {-1.5e-10, "-1.5E-10"},
        {1e14, "100000000000000"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1234567890123456.0, "1.23456789012346E15"},
        {999999999999999.9, "1E15"},
        {1e300, "1E300"},
        {NaN, "NAN"},
        {Inf, "INF"},
        {-Inf, "-INF"},
    };
    for (const TFloatCase& C : Cases) {
        SCOPED_TRACE(C.Expected);
        EXPECT_EQ(U8(FloatToStr(C.Value)), C.Expected);
    }
}

TEST(SysUtilsFloat, FloatToStrWritesTheLocaleDecimalSeparator)
{
    TFormatSettings S;
    S.DecimalSeparator = u',';
    EXPECT_EQ(U8(FloatToStr(1.5, S)), "1,5");
    EXPECT_EQ(U8(FloatToStr(-2.5e-7, S)), "-2,5E-7");
}

struct TFloatFCase
{
    double Value;
    TFloatFormat Format;
    int Precision;
    int Digits;
    const char* Expected;
};

TEST(SysUtilsFloat, FloatToStrF)
{
    using enum TFloatFormat;
    const TFloatFCase Cases[] = {
        {1234.5678, ffFixed, 15, 2, "1234.57"},
        {0.5, ffFixed, 15, 0, "1"},
        {2.5, ffFixed, 15, 0, "3"},
        {-2.5, ffFixed, 15, 0, "-3"},
        {-0.001, ffFixed, 15, 2, "0.00"},
        {0.125, ffFixed, 15, 2, "0.13"},
        {1.23456789, ffFixed, 4, 6, "1.235000"},
        {1e20, ffFixed, 15, 2, "1E20"},
        {1234.5678, ffNumber, 15, 2, "1,234.57"},
        {-1234567.891, ffNumber, 15, 1, "-1,234,567.9"},
        {999.999, ffNumber, 15, 2, "1,000.00"},
        {0, ffNumber, 15, 2, "0.00"},
        {1234.5, ffCurrency, 15, 2, "￥1,234.50"},
        {-1234.5, ffCurrency, 15, 2, "￥-1,234.50"},
        {1234.5678, ffExponent, 4, 2, "1.235E+03"},
        {0.00012, ffExponent, 3, 0, "1.20E-4"},
        {-5, ffExponent, 2, 3, "-5.0E+000"},
        {0, ffExponent, 3, 2, "0.00E+00"},
        {12.5, ffGeneral, 15, 0, "12.5"},
        {1e-5, ffGeneral, 15, 2, "1E-05"},
        {123456, ffGeneral, 4, 0, "1.235E5"},
        {1.0 / 3, ffGeneral, 4, 0, "0.3333"},
    };
    for (const TFloatFCase& C : Cases) {
        SCOPED_TRACE(C.Expected);
        EXPECT_EQ(U8(FloatToStrF(C.Value, C.Format, C.Precision, C.Digits)), C.Expected);
    }
}

TEST(SysUtilsFloat, CurrencyPlacementFollowsTheLocale)
{
    TFormatSettings S;
    S.CurrencyString = QStringLiteral("EUR");
    S.CurrencyFormat = 3;
    S.NegCurrFormat = 15;
    EXPECT_EQ(U8(FloatToStrF(5, TFloatFormat::ffCurrency, 15, 2, S)), "5.00 EUR");
    EXPECT_EQ(U8(FloatToStrF(-5, TFloatFormat::ffCurrency, 15, 2, S)), "(5.00 EUR)");
}

struct TFormatCase
{
    const char* Format;
    double Value;
    const char* Expected;
};

TEST(SysUtilsFloat, FormatFloatPictures)
{
    const TFormatCase Cases[] = {
        // placeholders and padding
        {"0.00", 1234.567, "1234.57"},
        {"00000", 42, "00042"},
        {"0", 123456, "123456"},
        {".00", 12.5, "12.50"},
        {"#.##", 0.5, ".5"},
        {"0.##", 1, "1"},
        {"0.##", 1.5, "1.5"},
        {"0.0#", 1.5, "1.5"},
        {"0.0#", 1.25, "1.25"},
        {"#", 0, ""},
        // halves go away from zero on the 18-digit expansion of the double
        {"0", 0.5, "1"},
        {"0", 1.5, "2"},
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"0.00", 0.125, "0.13"},
        {"0.00", -0.125, "-0.13"},
        {"0.00", 2.675, "2.67"},
        {"0.0", 0.15, "0.1"},
        {"0.0", 0.05, "0.1"},
        {"0.00", 9.995, "9.99"},
        {"0.00", 9.999, "10.00"},
        // thousands
        {"#,##0", 0, "0"},
        {"#,##0", 1000, "1,000"},
        {"#,##0", 999999, "999,999"},
        {"#,##0.00", 1234567.891, "1,234,567.89"},
        {"#,##0.00", -1234.5, "-1,234.50"},
        {"#,##0.00", 999.999, "1,000.00"},
        {"0,000", 1234567, "1,234,567"},
        // sections
        {"0.00;(0.00)", -5, "(5.00)"},
        {"#,##0.00;(#,##0.00)", -1234.5, "(1,234.50)"},
        {"0.00;(0.00);'zero'", 0, "zero"},
        {"0.00;;'zero'", -5, "-5.00"},
        {"0.00;-0.00;'zero'", 0.001, "zero"},
        {"0.00;(0.00);", 0, "0.00"},
        {"0.00", -0.001, "0.00"},
        {"'+'0;'-'0;'nil'", 3, "+3"},
        {"'+'0;'-'0;'nil'", -3, "-3"},
        {"'+'0;'-'0;'nil'", 0, "nil"},
        // exponents
        {"0.00E+00", 1234.5, "1.23E+03"},
        {"0.00E-00", 1234.5, "1.23E03"},
        {"0.00E-00", 0.0012345, "1.23E-03"},
        {"0.###E+0", 0.000123, "1.23E-4"},
        {"0.0e+0", -12345, "-1.2e+4"},
        {"00.0E+0", 1000, "10.0E+2"},
        {"0.00E+00", 0, "0.00E+00"},
        // literals
        {"'$'#,##0.00", 1234.5, "$1,234.50"},
        {"\"合计:\"0.00", 3, "合计:3.00"},
        {"0.00'%'", 12.375, "12.38%"},
        {"0.0 'kg'", 2, "2.0 kg"},
        {"'a;b'0", 1, "a;b1"},
        {"'#0.'0", 7, "#0.7"},
        // fallbacks to the general format
        {"", 1.5, "1.5"},
        {"0.00", 1e20, "1E20"},
        {"0.00", NaN, "NAN"},
        {";", 2.5, "2.5"},
    };
    for (const TFormatCase& C : Cases) {
        SCOPED_TRACE(std::string(C.Format) + " " + C.Expected);
        EXPECT_EQ(U8(FormatFloat(QString::fromUtf8(C.Format), C.Value)), C.Expected);
    }
}

TEST(SysUtilsFloat, FormatFloatWritesTheLocaleSeparators)
{
    TFormatSettings S;
    S.DecimalSeparator = u',';
    S.ThousandSeparator = u' ';
    EXPECT_EQ(U8(FormatFloat(QStringLiteral("#,##0.00"), 1234.5, S)), "1 234,50");
    EXPECT_EQ(U8(FloatToStrF(1234.5, TFloatFormat::ffNumber, 15, 1, S)), "1 234,5");
}

TEST(SysUtilsFloat, CurrencyKeepsFourDecimals)
{
    EXPECT_EQ(U8(CurrToStr(1.23456)), "1.2346");
    EXPECT_EQ(U8(CurrToStr(12)), "12");
    EXPECT_EQ(U8(CurrToStrF(1234.5, TFloatFormat::ffCurrency, 2)), "￥1,234.50");
    // 0.00499 is first held as the currency value 0.005.
    EXPECT_EQ(U8(FormatCurr(QStringLiteral("0.00"), 0.00499)), "0.01");
}

TEST(SysUtilsFloat, RoundHalfEven)
{
    const std::pair<double, int64_t> Cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
        {2.4999, 2}, {2.5000001, 3}, {-2.5000001, -3}, {1e15 + 0.5, 1000000000000000},
    };
    for (const auto& [Value, Expected] : Cases) {
        SCOPED_TRACE(Value);
        EXPECT_EQ(RoundHalfEven(Value), Expected);
    }
    EXPECT_THROW(RoundHalfEven(1e19), EOverflow);
    EXPECT_THROW(RoundHalfEven(NaN), EOverflow);
}

TEST(SysUtilsFloat, RoundToUsesTheDecimalValueAsWritten)
{
    struct TCase
    {
        double Value;
        int Digits;
        double Expected;
    };
    const TCase Cases[] = {
        {2.675, -2, 2.68},   {2.665, -2, 2.66},   {-2.675, -2, -2.68}, {1.005, -2, 1.0},
        {1.015, -2, 1.02},   {1.0151, -2, 1.02},  {1234.5, 0, 1234},   {1235.5, 0, 1236},
        {0.5, 0, 0},         {1250, 2, 1200},     {1350, 2, 1400},     {49, 2, 0},
        {0.00005, -4, 0},    {0.00015, -4, 0.0002}, {123.456, -4, 123.456},
        {0.1 + 0.2, -4, 0.3}, {9.99995, -4, 10},  {0, -2, 0},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(testing::Message() << C.Value << " at " << C.Digits);
        EXPECT_EQ(RoundTo(C.Value, C.Digits), C.Expected);
    }
}

TEST(SysUtilsFloat, TruncAndFrac)
{
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Trunc(2.7), 2);
    EXPECT_DOUBLE_EQ(Frac(-2.75), -0.75);
    EXPECT_THROW(Trunc(1e300), EOverflow);
}

TEST(SysUtilsFloat, StrToFloatAccepts)
{
    const TFloatCase Cases[] = {
        {1.5, "1.5"},   {1.5, "  1.5  "}, {-1.5, "-1.5"}, {2, "+2"},     {1, "1."},
        {0.5, ".5"},    {1000, "1e3"},    {0.001, "1E-3"}, {150, "1.5e+2"}, {0, "0"},
        {12, "00012"},  {0, "1e-400"},    {0.1, "0.1"},
    };
    for (const TFloatCase& C : Cases) {
        SCOPED_TRACE(C.Expected);
        double V = -99;
        EXPECT_TRUE(TryStrToFloat(QString::fromUtf8(C.Expected), V));
        EXPECT_EQ(V, C.Value);
    }
}

TEST(SysUtilsFloat, StrToFloatRejects)
{
    const char* const Cases[] = {"", " ", "abc", "1,5", "1.2.3", "1e", "e3", ".", "1 2", "--1",
                                 "1,000", "0x10", "1e400", "1.5x", "- 1", "\t1", "1e+", "INF"};
    for (const char* Text : Cases) {
        SCOPED_TRACE(Text);
        double V = 7;
        EXPECT_FALSE(TryStrToFloat(QString::fromUtf8(Text), V));
        EXPECT_EQ(V, 7);
        EXPECT_EQ(StrToFloatDef(QString::fromUtf8(Text), -1), -1);
    }
}

TEST(SysUtilsFloat, StrToFloatWithManyDigits)
{
    double V = 7;
    EXPECT_FALSE(TryStrToFloat(u'1' + QString(400, u'0'), V));
    EXPECT_TRUE(TryStrToFloat(QStringLiteral("0.") + QString(400, u'0') + u'1', V));
    EXPECT_EQ(V, 0);
    EXPECT_TRUE(TryStrToFloat(u'1' + QString(300, u'0') + QStringLiteral("e-300"), V));
    EXPECT_EQ(V, 1);
}

TEST(SysUtilsFloat, StrToFloatReportsTheText)
{
    try {
        StrToFloat(QStringLiteral("x"));
        FAIL();
    } catch (const EConvertError& E) {
        EXPECT_EQ(U8(E.Message()), "'x' is not a valid floating point value");
    }
}

TEST(SysUtilsFloat, StrToFloatUsesTheLocaleDecimalSeparator)
{
    TFormatSettings S;
    S.DecimalSeparator = u',';
    EXPECT_EQ(StrToFloat(QStringLiteral("12,5"), S), 12.5);
    EXPECT_THROW(StrToFloat(QStringLiteral("12.5"), S), EConvertError);
}

TEST(SysUtilsFloat, FloatToStrRoundTripsThroughStrToFloat)
{
    const double Values[] = {0, 1, -1.5, 0.1, 123.456, 1e-5, 1e15, 987654321.123, 12345678.9};
    for (double V : Values) {
        SCOPED_TRACE(V);
        EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(V)), V);
    }
}

} // namespace
