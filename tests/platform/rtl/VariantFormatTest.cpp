#include "VariantTestText.h"

#include <gtest/gtest.h>

using namespace VariantTest;

namespace {

struct TFormatRow
{
    const char* Fmt;
    QList<Variant> Args;
    std::string Expected; // "!" when EConvertError is expected
};

void RunFormatTable(const std::vector<TFormatRow>& Rows, const TFormatSettings& Settings = TFormatSettings())
{
    for (const TFormatRow& Row : Rows) {
        SCOPED_TRACE(Row.Fmt);
        std::string Got;
        try {
            Got = Format(QString::fromUtf8(Row.Fmt), Row.Args, Settings).toStdString();
        } catch (const EConvertError&) {
            Got = "!";
        }
        EXPECT_EQ(Got, Row.Expected);
    }
}

} // namespace

TEST(VariantFormat, IntegerConversions)
{
    RunFormatTable({
        {"%d", {42}, "42"},
        {"%5d", {42}, "   42"},
        {"%-5d|", {42}, "42   |"},
        {"%.4d", {42}, "0042"},
        {"%.4d", {-42}, "-0042"},
        {"%d", {int64_t(5000000000LL)}, "5000000000"},
        {"%d", {int64_t(-9223372036854775807LL - 1)}, "-9223372036854775808"},
        {"%D", {7}, "7"},
        {"%d", {1.5}, "!"},
        {"%d", {"1"}, "!"},
        {"%d", {true}, "!"},
        {"%d", {N()}, "!"},
        {"%u", {-1}, "4294967295"},
        {"%u", {int64_t(-5000000000LL)}, "18446744068709551616"},
        {"%x", {255}, "FF"},
        {"%x", {-1}, "FFFFFFFF"},
        {"%.4x", {255}, "00FF"},
        {"%x", {int64_t(-5000000000LL)}, "FFFFFFFED5FA0E00"},
        {"%p", {255}, "000000FF"},
    });
}

TEST(VariantFormat, TextAndArgumentSelection)
{
    RunFormatTable({
        {"%s", {"abc"}, "abc"},
        {"%5s", {"abc"}, "  abc"},
        {"%-5s|", {"abc"}, "abc  |"},
        {"%.2s", {"abc"}, "ab"},
        {"%s", {5}, "5"},
        {"%s", {N()}, ""},
        {"%s", {true}, "True"},
        {"%s", {T(45000)}, "2023-03-15"},
        {"[%4s]", {"金额"}, "[  金额]"},
        {"%s %s", {"a"}, "!"},
        {"%1:s %0:s", {"a", "b"}, "b a"},
        {"%1:s %s", {"a", "b", "c"}, "b c"},
        {"%0:s%0:s", {"a"}, "aa"},
        {"%2:s", {"a"}, "!"},
        {"%0:-4s|", {"a"}, "a   |"},
        {"%*d", {5, 42}, "   42"},
        {"%-*d|", {4, 7}, "7   |"},
        {"%.*s", {1, "xyz"}, "x"},
        {"%*d", {"x", 1}, "!"},
        {"%%", {}, "%"},
        {"100%%", {}, "100%"},
        {"abc", {}, "abc"},
        {"", {}, ""},
        {"%", {}, "!"},
        {"%5", {1}, "!"},
        {"%-", {1}, "!"},
        {"%z", {1}, "!"},
        {"%99999999d", {1}, "!"},
    });
}

TEST(VariantFormat, FloatConversions)
{
    RunFormatTable({
        {"%f", {3.14159}, "3.14"},
        {"%.0f", {2.4}, "2"},
        {"%.3f", {2.25}, "2.250"},
        {"%f", {3}, "3.00"},
        {"%8.2f", {3.14159}, "    3.14"},
        {"%-8.2f|", {3.14159}, "3.14    |"},
        {"%f", {-1.5}, "-1.50"},
        {"%.2f", {2.675}, "2.67"},
        {"%.2f", {1234567890123456.0}, "1234567890123456.00"},
        {"%.0f", {1e20}, "1E20"},
        {"%f", {T(45000.5)}, "45000.50"},
        {"%f", {"1"}, "!"},
        {"%f", {N()}, "!"},
        {"%e", {1234.5}, "1.23450000000000E+003"},
        {"%.3e", {1234.5}, "1.23E+003"},
        {"%g", {1.5}, "1.5"},
        {"%g", {100}, "100"},
        {"%n", {1234567.891}, "1,234,567.89"},
        {"%.0n", {1234.4}, "1,234"},
        {"%.1n", {-1234.26}, "-1,234.3"},
    });
}

TEST(VariantFormat, SettingsGiveTheSeparators)
{
    TFormatSettings Comma;
    Comma.DecimalSeparator = u',';
    Comma.ThousandSeparator = u'.';
    RunFormatTable(
        {
            {"%.2f", {2.5}, "2,50"},
            {"%n", {1234.5}, "1.234,50"},
            {"%s", {2.5}, "2,5"},
        },
        Comma);
}

TEST(VariantFormat, ErrorMessageQuotesTheFormat)
{
    try {
        Format(QStringLiteral("%d"), {Variant("x")});
        FAIL() << "no exception";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("Format '%d' invalid or incompatible with argument"));
    }
}
