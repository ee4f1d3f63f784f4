// Exceptions, text helpers and integer conversions.
#include "platform/rtl/SysUtils.h"
#include "TestText.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(SysUtils, ExceptionCarriesItsMessage)
{
    EConvertError E(QStringLiteral("数据错误"));
    EXPECT_EQ(U8(E.Message()), "数据错误");
    EXPECT_STREQ(E.what(), "数据错误");
    E.SetMessage(QStringLiteral("other"));
    EXPECT_STREQ(E.what(), "other");
    const Exception& Base = E;
    EXPECT_EQ(U8(Base.Message()), "other");
}

TEST(SysUtils, DefaultFormatSettings)
{
    const TFormatSettings& S = FormatSettings();
    EXPECT_EQ(S.DecimalSeparator, u'.');
    EXPECT_EQ(S.ThousandSeparator, u',');
    EXPECT_EQ(S.ListSeparator, u',');
    EXPECT_EQ(S.CurrencyDecimals, 2);
    EXPECT_EQ(U8(S.ShortDateFormat), "yyyy-mm-dd");
    EXPECT_EQ(U8(S.ShortTimeFormat), "hh:nn:ss");
    EXPECT_EQ(U8(S.LongMonthNames[0]), "一月");
    EXPECT_EQ(U8(S.LongMonthNames[11]), "十二月");
    EXPECT_EQ(U8(S.LongDayNames[0]), "星期日");
    EXPECT_EQ(U8(S.ShortDayNames[6]), "周六");
}

TEST(SysUtils, TextHelpers)
{
    struct TCase
    {
        QString Actual;
        const char* Expected;
    };
    const TCase Cases[] = {
        {Trim(QStringLiteral(" \t a b \r\n")), "a b"},
        {TrimLeft(QStringLiteral("  a ")), "a "},
        {TrimRight(QStringLiteral("  a ")), "  a"},
        {Trim(QStringLiteral("   ")), ""},
        {UpperCase(QStringLiteral("abc中ä")), "ABC中ä"},
        {LowerCase(QStringLiteral("ABCÄ")), "abcÄ"},
        {AnsiUpperCase(QStringLiteral("abcä")), "ABCÄ"},
        {QuotedStr(QStringLiteral("it's")), "'it''s'"},
        {AnsiQuotedStr(QStringLiteral("a\"b"), u'"'), "\"a\"\"b\""},
        {AnsiDequotedStr(QStringLiteral("'it''s' tail"), u'\''), "it's"},
        {AnsiDequotedStr(QStringLiteral("plain"), u'\''), "plain"},
        {AnsiDequotedStr(QStringLiteral("'open"), u'\''), "'open"},
        {AnsiDequotedStr(QStringLiteral("''"), u'\''), ""},
        {StringOfChar(u'-', 3), "---"},
        {StringOfChar(u'-', -1), ""},
        {IncludeTrailingPathDelimiter(QStringLiteral("/tmp")), "/tmp/"},
        {IncludeTrailingPathDelimiter(QStringLiteral("/tmp/")), "/tmp/"},
        {ExtractFilePath(QStringLiteral("/a/b.c/d.txt")), "/a/b.c/"},
        {ExtractFilePath(QStringLiteral("C:\\Prog\\Tallybridge.mdb")), "C:\\Prog\\"},
        {ExtractFilePath(QStringLiteral("file")), ""},
        {ExtractFileName(QStringLiteral("/a/b.c/d.txt")), "d.txt"},
        {ExtractFileExt(QStringLiteral("/a/b.c/d.txt")), ".txt"},
        {ExtractFileExt(QStringLiteral("/a/b.c/d")), ""},
        {ChangeFileExt(QStringLiteral("/a/b.c/d.txt"), QStringLiteral(".frf")), "/a/b.c/d.frf"},
        {ChangeFileExt(QStringLiteral("/a/b.c/d"), QStringLiteral(".frf")), "/a/b.c/d.frf"},
        {IntToStr(-1234567890123), "-1234567890123"},
        {IntToHex(255, 4), "00FF"},
        {IntToHex(0x12345, 2), "12345"},
        {IntToHex(-1, 1), "FFFFFFFFFFFFFFFF"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Expected);
        EXPECT_EQ(U8(C.Actual), C.Expected);
    }
}

TEST(SysUtils, ComparisonsIgnoreAsciiCase)
{
    EXPECT_EQ(CompareText(QStringLiteral("abc"), QStringLiteral("ABC")), 0);
    EXPECT_LT(CompareText(QStringLiteral("abc"), QStringLiteral("ABD")), 0);
    EXPECT_GT(CompareText(QStringLiteral("abcd"), QStringLiteral("ABC")), 0);
    EXPECT_TRUE(SameText(QStringLiteral("Sum"), QStringLiteral("SUM")));
    EXPECT_FALSE(SameText(QStringLiteral("Sum"), QStringLiteral("Sums")));
    EXPECT_EQ(AnsiCompareText(QStringLiteral("Äb"), QStringLiteral("äB")), 0);
    EXPECT_NE(AnsiCompareStr(QStringLiteral("a"), QStringLiteral("b")), 0);
}

TEST(SysUtils, StrToIntAccepts)
{
    const std::pair<const char*, int> Cases[] = {
        {"0", 0},      {"123", 123},   {"-123", -123},          {"  42", 42},
        {"+7", 7},     {"$FF", 255},   {"0x1f", 31},            {"-$10", -16},
        {"007", 7},    {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
    };
    for (const auto& [Text, Expected] : Cases) {
        SCOPED_TRACE(Text);
        EXPECT_EQ(StrToInt(QString::fromUtf8(Text)), Expected);
    }
    EXPECT_EQ(StrToInt64(QStringLiteral("-9223372036854775808")), INT64_MIN);
    EXPECT_EQ(StrToInt64(QStringLiteral("9223372036854775807")), INT64_MAX);
}

TEST(SysUtils, StrToIntRejects)
{
    const char* const Cases[] = {"", " ", "abc", "12a", "1.5", "2147483648", "-2147483649", "42 ",
                                 "- 1", "$", "0x", "+", "１２", "9223372036854775808"};
    for (const char* Text : Cases) {
        SCOPED_TRACE(Text);
        int V = 9;
        EXPECT_FALSE(TryStrToInt(QString::fromUtf8(Text), V));
        EXPECT_EQ(V, 9);
        EXPECT_EQ(StrToIntDef(QString::fromUtf8(Text), -5), -5);
    }
    EXPECT_EQ(StrToInt64Def(QStringLiteral("9223372036854775808"), -5), -5);
    EXPECT_EQ(StrToInt64Def(QStringLiteral("2147483648"), -5), 2147483648LL);
}

TEST(SysUtils, StrToIntReportsTheText)
{
    try {
        StrToInt(QStringLiteral("abc"));
        FAIL();
    } catch (const EConvertError& E) {
        EXPECT_EQ(U8(E.Message()), "'abc' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt64(QStringLiteral("x")), EConvertError);
}

TEST(SysUtils, MulDivRoundsHalvesAwayFromZero)
{
    struct TCase
    {
        int Number, Numerator, Denominator, Expected;
    };
    const TCase Cases[] = {
        {10, 3, 4, 8},     {-10, 3, 4, -8},  {10, -3, 4, -8},   {10, 3, -4, -8},
        {-10, -3, -4, -8}, {7, 1, 2, 4},     {7, 1, 3, 2},      {8, 1, 3, 3},
        {100, 96, 72, 133}, {0, 5, 7, 0},    {5, 1, 0, -1},     {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {INT_MAX, 2, 1, -1}, {INT_MIN, 1, 1, INT_MIN}, {65536, 65536, 65536, 65536},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(testing::Message() << C.Number << "*" << C.Numerator << "/" << C.Denominator);
        EXPECT_EQ(MulDiv(C.Number, C.Numerator, C.Denominator), C.Expected);
    }
}

} // namespace
