#include "VariantTestText.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace VariantTest;

namespace {

struct TRow
{
    const char* Name;
    Variant Value;
    std::string Expected;
};

void RunTable(const std::vector<TRow>& Rows, const std::function<std::string(const Variant&)>& Convert)
{
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        EXPECT_EQ(Outcome([&] { return Convert(Row.Value); }), Row.Expected);
    }
}

std::string Num(double D)
{
    return QString::number(D, 'g', QLocale::FloatingPointShortest).toStdString();
}

} // namespace

TEST(VariantConversion, ToText)
{
    RunTable(
        {
            {"empty", Variant(), ""},
            {"null", N(), ""},
            {"int", -42, "-42"},
            {"int64", int64_t(5000000000LL), "5000000000"},
            {"double", 2.5, "2.5"},
            {"a third keeps 15 digits", 1.0 / 3, "0.333333333333333"},
            {"True", true, "True"},
            {"False", false, "False"},
            {"string", "金额 abc", "金额 abc"},
            {"date without time", T(45000), "2023-03-15"},
            {"date with time", T(45000.5), "2023-03-15 12:00:00"},
        },
        [](const Variant& V) { return V.AsString().toStdString(); });
}

TEST(VariantConversion, ToFloatIsStrict)
{
    RunTable(
        {
            {"empty is 0", Variant(), "0"},
            {"null raises", N(), "!EVariantError"},
            {"int", 3, "3"},
            {"True is -1", true, "-1"},
            {"date", T(45000.25), "45000.25"},
            {"string with blanks around", " 2.5 ", "2.5"},
            {"negative string", "-0.125", "-0.125"},
            {"exponent", "1e3", "1000"},
            {"text raises", "abc", "!EVariantError"},
            {"empty text raises", "", "!EVariantError"},
            {"thousand separator is no number", "1,5", "!EVariantError"},
            {"trailing text raises", "12abc", "!EVariantError"},
        },
        [](const Variant& V) { return Num(V.AsFloat()); });
}

TEST(VariantConversion, ToIntegerRoundsHalvesToEven)
{
    RunTable(
        {
            {"2.5 to 2", 2.5, "2"},
            {"3.5 to 4", 3.5, "4"},
            {"-2.5 to -2", -2.5, "-2"},
            {"2.6 to 3", 2.6, "3"},
            {"too large raises", 1e30, "!EVariantError"},
            {"NaN raises", std::nan(""), "!EVariantError"},
            {"integer text", "42", "42"},
            {"int64 text stays exact", "9223372036854775807", "9223372036854775807"},
            {"decimal text rounds", "2.5", "2"},
            {"True", true, "-1"},
            {"empty", Variant(), "0"},
            {"null raises", N(), "!EVariantError"},
            {"text raises", "x", "!EVariantError"},
        },
        [](const Variant& V) { return std::to_string(V.AsInteger()); });
}

TEST(VariantConversion, ToBoolean)
{
    RunTable(
        {
            {"TRUE", "TRUE", "1"},
            {"false", "false", "0"},
            {"blanks around", " True ", "1"},
            {"numeric text zero", "0", "0"},
            {"numeric text", "2", "1"},
            {"other text raises", "yes", "!EVariantError"},
            {"zero", 0, "0"},
            {"small double", 0.1, "1"},
            {"null raises", N(), "!EVariantError"},
            {"empty", Variant(), "0"},
        },
        [](const Variant& V) { return std::string(V.AsBoolean() ? "1" : "0"); });
}

TEST(VariantConversion, ToDateTime)
{
    RunTable(
        {
            {"date text", "2023-03-15", "45000"},
            {"date and time text", "2023-03-15 12:00:00", "45000.5"},
            {"text raises", "abc", "!EVariantError"},
            {"number", 45000, "45000"},
            {"null raises", N(), "!EVariantError"},
        },
        [](const Variant& V) { return Num(V.AsDateTime()); });
}

TEST(VariantConversion, MessagesNameTheTypes)
{
    struct TMessageRow
    {
        const char* Name;
        std::function<void()> Body;
        QString Expected;
    };
    const std::vector<TMessageRow> Rows = {
        {"string to double", [] { (void)Variant("x").AsFloat(); },
         "Could not convert variant of type (String) into type (Double)"},
        {"null to double", [] { (void)Variant::Null().AsFloat(); },
         "Could not convert variant of type (Null) into type (Double)"},
        {"string to date", [] { (void)Variant("x").AsDateTime(); },
         "Could not convert variant of type (String) into type (Date)"},
        {"string to Boolean", [] { (void)Variant("x").AsBoolean(); },
         "Could not convert variant of type (String) into type (Boolean)"},
    };
    for (const TMessageRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        try {
            Row.Body();
            ADD_FAILURE() << "no exception";
        } catch (const EVariantError& E) {
            EXPECT_EQ(E.Message(), Row.Expected);
        }
    }
}

TEST(VariantConversion, VarTypeOfEachKind)
{
    struct TTypeRow
    {
        const char* Name;
        Variant Value;
        TVarType Expected;
    };
    const std::vector<TTypeRow> Rows = {
        {"empty", Variant(), varEmpty},
        {"null", N(), varNull},
        {"small int", 5, varInteger},
        {"int32 min", int64_t(-2147483648LL), varInteger},
        {"2^31", int64_t(2147483648LL), varInt64},
        {"double", 1.5, varDouble},
        {"Boolean", false, varBoolean},
        {"string", "s", varString},
        {"date", T(1), varDate},
        {"array", VarArrayOf({1, "a"}), TVarType(varArray | varVariant)},
    };
    for (const TTypeRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        EXPECT_EQ(VarType(Row.Value), Row.Expected);
    }
    EXPECT_TRUE(VarIsNull(N()));
    EXPECT_FALSE(VarIsNull(Variant()));
    EXPECT_TRUE(VarIsEmpty(Variant()));
    EXPECT_FALSE(VarIsEmpty(Variant("")));
    EXPECT_EQ(VarTypeName(varInt64), QStringLiteral("Int64"));
    EXPECT_EQ(VarTypeName(varString), QStringLiteral("String"));
}

// An array holds a key over several fields: it keeps its elements and
// converts to no single value.
TEST(VariantConversion, ArrayKeepsElementsAndConvertsToNothing)
{
    const Variant A = VarArrayOf({5, N(), "x"});
    EXPECT_EQ(Show(A), "A:I:5,N,S:x");
    EXPECT_TRUE(VarIsArray(A));
    EXPECT_FALSE(VarIsArray(Variant(5)));
    EXPECT_TRUE(Variant(5).Elements().isEmpty());
    EXPECT_EQ(Outcome([&] { return A.AsString().toStdString(); }), "!EVariantError");
    EXPECT_EQ(Outcome([&] { return Show(A + Variant(1)); }), "!EVariantError");
    try {
        (void)A.AsFloat();
        ADD_FAILURE() << "no exception";
    } catch (const EVariantError& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("Could not convert variant of type (Array Variant) into type (Double)"));
    }
    EXPECT_TRUE(VarSame(A, VarArrayOf({5, N(), "x"})));
    EXPECT_FALSE(VarSame(A, VarArrayOf({5.0, N(), "x"})));
}

TEST(VariantConversion, VarAsTypeTable)
{
    struct TAsRow
    {
        const char* Name;
        Variant Value;
        TVarType Type;
        std::string Expected;
    };
    const std::vector<TAsRow> Rows = {
        {"int to string", 5, varString, "S:5"},
        {"string to integer", "12", varInteger, "I:12"},
        {"smallint out of range", "70000", varSmallint, "!EVariantError"},
        {"byte out of range", 300, varByte, "!EVariantError"},
        {"integer out of 32 bits", int64_t(1) << 40, varInteger, "!EVariantError"},
        {"int64 keeps it", int64_t(1) << 40, varInt64, "I:1099511627776"},
        {"double to integer rounds", 2.5, varInteger, "I:2"},
        {"string to date", "2023-03-15", varDate, "T:45000"},
        {"int to Boolean", 1, varBoolean, "B:True"},
        {"Boolean to double", true, varDouble, "D:-1"},
        {"currency keeps four decimals", 1.23456789, varCurrency, "D:1.2346"},
        {"null to string raises", N(), varString, "!EVariantError"},
        {"null to null", N(), varNull, "N"},
        {"anything to empty", "x", varEmpty, "E"},
        {"unknown type", "x", TVarType(0x0F), "!EVariantError"},
    };
    for (const TAsRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        EXPECT_EQ(Outcome([&] { return Show(VarAsType(Row.Value, Row.Type)); }), Row.Expected);
    }
}

TEST(VariantConversion, ExplicitSettingsDecideTheSeparator)
{
    TFormatSettings Comma;
    Comma.DecimalSeparator = u',';
    Comma.ThousandSeparator = u'.';
    EXPECT_DOUBLE_EQ(Variant("2,5").AsFloat(Comma), 2.5);
    EXPECT_EQ(Variant(2.5).AsString(Comma), QStringLiteral("2,5"));
    EXPECT_THROW((void)Variant("2.5").AsFloat(Comma), EVariantError);
    EXPECT_EQ(VarToStr(Variant(2.5)), QStringLiteral("2.5"));
}
