#include "VariantTestText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

using namespace VariantTest;

namespace {

const int64_t Int64Max = std::numeric_limits<int64_t>::max();
const int64_t Int64Min = std::numeric_limits<int64_t>::min();

using TBinary = Variant (*)(const Variant&, const Variant&);

TBinary BinaryOp(const std::string& Name)
{
    static const std::map<std::string, TBinary> Ops = {
        {"+", [](const Variant& A, const Variant& B) { return A + B; }},
        {"-", [](const Variant& A, const Variant& B) { return A - B; }},
        {"*", [](const Variant& A, const Variant& B) { return A * B; }},
        {"/", [](const Variant& A, const Variant& B) { return A / B; }},
        {"div", VarIntDiv},
        {"mod", VarMod},
        {"and", VarAnd},
        {"or", VarOr},
        {"xor", VarXor},
    };
    return Ops.at(Name);
}

struct TBinaryRow
{
    const char* Name;
    Variant A;
    std::string Op;
    Variant B;
    std::string Expected;
};

void RunBinaryTable(const std::vector<TBinaryRow>& Rows)
{
    for (const TBinaryRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        EXPECT_EQ(Outcome([&] { return Show(BinaryOp(Row.Op)(Row.A, Row.B)); }), Row.Expected);
    }
}

} // namespace

TEST(VariantOperator, AdditionFollowsPromotionRules)
{
    RunBinaryTable({
        {"int+int stays int", 3, "+", 4, "I:7"},
        {"int+double", 3, "+", 0.5, "D:3.5"},
        {"double+double", 1.5, "+", 2.25, "D:3.75"},
        {"True counts as -1", 3, "+", true, "I:2"},
        {"Boolean+Boolean is a number", true, "+", true, "I:-2"},
        {"strings concatenate", "ab", "+", "cd", "S:abcd"},
        {"numeric string + int converts", "12", "+", 3, "D:15"},
        {"int + numeric string", 3, "+", " 1.5 ", "D:4.5"},
        {"string that is no number raises", "abc", "+", 1, "!EVariantError"},
        {"null left", N(), "+", 1, "N"},
        {"null right", 1, "+", N(), "N"},
        {"null beside a string", N(), "+", "a", "N"},
        {"empty is 0 beside a number", Variant(), "+", 5, "I:5"},
        {"empty is '' beside a string", Variant(), "+", "x", "S:x"},
        {"empty + empty", Variant(), "+", Variant(), "I:0"},
        {"date + days stays a date", T(45000), "+", 1, "T:45001"},
        {"days + date stays a date", 1, "+", T(45000), "T:45001"},
        {"date + fraction", T(45000.5), "+", 0.25, "T:45000.75"},
        {"date + date is a number", T(1), "+", T(2), "D:3"},
        {"overflow promotes to double", Int64Max, "+", 1, "D:9223372036854776000"},
        {"int64 beyond 32 bits stays int", int64_t(3000000000LL), "+", 3000000000LL, "I:6000000000"},
    });
}

TEST(VariantOperator, SubtractionAndMultiplication)
{
    RunBinaryTable({
        {"int-int", 3, "-", 5, "I:-2"},
        {"date-date is days", T(45001.5), "-", T(45000), "D:1.5"},
        {"date-int is a date", T(45001), "-", 1, "T:45000"},
        {"int-date is a number", 45001, "-", T(45000), "D:1"},
        {"numeric strings subtract", "5", "-", "2", "D:3"},
        {"text strings do not subtract", "a", "-", "b", "!EVariantError"},
        {"underflow promotes", Int64Min, "-", 1, "D:-9223372036854776000"},
        {"null", N(), "-", 1, "N"},
        {"int*int", 6, "*", 7, "I:42"},
        {"int*double", 2, "*", 1.25, "D:2.5"},
        {"True*int", true, "*", 5, "I:-5"},
        {"strings multiply as numbers", "2", "*", "3", "D:6"},
        {"overflow promotes", int64_t(1) << 62, "*", 4, "D:18446744073709552000"},
        {"null*string", N(), "*", "x", "N"},
        {"date*int is a number", T(2), "*", 3, "D:6"},
    });
}

TEST(VariantOperator, DivisionIsAlwaysDouble)
{
    RunBinaryTable({
        {"int/int", 7, "/", 2, "D:3.5"},
        {"exact quotient still double", 6, "/", 3, "D:2"},
        {"int/0 raises", 1, "/", 0, "!EZeroDivide"},
        {"double/0.0 raises", 1.5, "/", 0.0, "!EZeroDivide"},
        {"0/0 raises", 0, "/", 0, "!EZeroDivide"},
        {"null/0 is null", N(), "/", 0, "N"},
        {"string/int", "9", "/", 3, "D:3"},
        {"empty/int", Variant(), "/", 4, "D:0"},
        {"int/False raises", 1, "/", false, "!EZeroDivide"},
        {"text/int raises", "x", "/", 1, "!EVariantError"},
    });
}

TEST(VariantOperator, DivAndModWorkOnIntegers)
{
    RunBinaryTable({
        {"div", 7, "div", 2, "I:3"},
        {"div truncates toward zero", -7, "div", 2, "I:-3"},
        {"double operand rounds half to even first", 7.5, "div", 2, "I:4"},
        {"6.5 rounds to 6", 6.5, "div", 1, "I:6"},
        {"div by zero", 1, "div", 0, "!EZeroDivide"},
        {"div by 0.4 (rounds to 0)", 1, "div", 0.4, "!EZeroDivide"},
        {"min div -1 promotes", Int64Min, "div", -1, "D:9223372036854776000"},
        {"string div", "9", "div", 2, "I:4"},
        {"null div", N(), "div", 1, "N"},
        {"mod", 7, "mod", 3, "I:1"},
        {"mod takes the dividend's sign", -7, "mod", 3, "I:-1"},
        {"negative divisor", 7, "mod", -3, "I:1"},
        {"mod by zero", 1, "mod", 0, "!EZeroDivide"},
        {"min mod -1", Int64Min, "mod", -1, "I:0"},
        {"2.5 rounds to 2", 2.5, "mod", 2, "I:0"},
        {"mod null", 5, "mod", N(), "N"},
        {"text mod raises", "x", "mod", 2, "!EVariantError"},
    });
}

TEST(VariantOperator, LogicalOnBooleansBitwiseOnIntegers)
{
    RunBinaryTable({
        {"True and False", true, "and", false, "B:False"},
        {"True and True", true, "and", true, "B:True"},
        {"bitwise and", 12, "and", 10, "I:8"},
        {"True is -1 beside an int", true, "and", 6, "I:6"},
        {"False beside an int", false, "or", 6, "I:6"},
        {"string TRUE is a Boolean", "TRUE", "and", true, "B:True"},
        {"two Boolean strings", "true", "or", "False", "B:True"},
        {"numeric string is an int", "5", "and", 3, "I:1"},
        {"double rounds half to even", 2.5, "and", 3, "I:2"},
        {"text raises", "abc", "and", 1, "!EVariantError"},
        {"null and Boolean", N(), "and", false, "N"},
        {"or", false, "or", true, "B:True"},
        {"bitwise or", 12, "or", 3, "I:15"},
        {"xor Booleans", true, "xor", true, "B:False"},
        {"xor differs", true, "xor", false, "B:True"},
        {"bitwise xor", 12, "xor", 10, "I:6"},
        {"empty is 0", Variant(), "or", 5, "I:5"},
    });
}

TEST(VariantOperator, UnaryNegationAndNot)
{
    struct TRow
    {
        const char* Name;
        Variant A;
        std::string Negated;
        std::string Inverted;
    };
    const std::vector<TRow> Rows = {
        {"int", 5, "I:-5", "I:-6"},
        {"zero", 0, "I:0", "I:-1"},
        {"double", 2.5, "D:-2.5", "I:-3"},
        {"True", true, "I:1", "B:False"},
        {"False", false, "I:0", "B:True"},
        {"null", N(), "N", "N"},
        {"empty", Variant(), "I:0", "I:-1"},
        {"numeric string", "2.5", "D:-2.5", "I:-3"},
        {"Boolean string", "false", "!EVariantError", "B:True"},
        {"date", T(1.5), "T:-1.5", "I:-3"},
        {"int64 min", Int64Min, "D:9223372036854776000", "I:9223372036854775807"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        EXPECT_EQ(Outcome([&] { return Show(-Row.A); }), Row.Negated);
        EXPECT_EQ(Outcome([&] { return Show(VarNot(Row.A)); }), Row.Inverted);
    }
}

TEST(VariantOperator, FailedConversionNamesBothTypes)
{
    try {
        (void)(Variant("abc") + Variant(1));
        FAIL() << "no exception";
    } catch (const EVariantError& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("Could not convert variant of type (String) into type (Double)"));
    }
}

// ---------------------------------------------------------------- comparison

namespace {

struct TCompareRow
{
    const char* Name;
    Variant A;
    Variant B;
    std::string Expected; // "<", "=", ">", "!=" or "!EVariantError"
};

std::string ShowRelation(TVariantRelationship R)
{
    switch (R) {
    case TVariantRelationship::vrEqual: return "=";
    case TVariantRelationship::vrLessThan: return "<";
    case TVariantRelationship::vrGreaterThan: return ">";
    case TVariantRelationship::vrNotEqual: return "!=";
    }
    return "?";
}

} // namespace

TEST(VariantCompare, RelationshipTable)
{
    const std::vector<TCompareRow> Rows = {
        {"ints", 1, 2, "<"},
        {"int equals double", 2, 2.0, "="},
        {"double above int", 2.5, 2, ">"},
        {"strings", "a", "b", "<"},
        {"strings are case-sensitive", "a", "A", ">"},
        {"same text", "abc", "abc", "="},
        {"Chinese text", "金额", "金额", "="},
        {"Chinese text by pinyin", "李", "张", "<"},
        {"pinyin after a common start", "材料李", "材料杜", ">"},
        {"letter case only breaks a tie", "a", "B", "<"},
        {"numeric string against int compares numbers", "10", 9, ">"},
        {"int against numeric string", 9, "10", "<"},
        {"text against int raises", "x", 1, "!EVariantError"},
        {"null equals null", N(), N(), "="},
        {"null orders first", N(), 0, "<"},
        {"anything after null", 0, N(), ">"},
        {"null before empty text", N(), "", "<"},
        {"empty equals ''", Variant(), "", "="},
        {"empty equals 0", Variant(), 0, "="},
        {"empty after null", Variant(), N(), ">"},
        {"True is -1", true, -1, "="},
        {"False above True", false, true, ">"},
        {"Boolean string", "true", true, "="},
        {"date against its number", T(45000), 45000.0, "="},
        {"large ints stay exact", (int64_t(1) << 53) + 1, double(int64_t(1) << 53), ">"},
        {"NaN is not equal", std::nan(""), 1.0, "!="},
        {"arrays equal pairwise", VarArrayOf({1, "b"}), VarArrayOf({1.0, "b"}), "="},
        {"arrays differing in one element", VarArrayOf({1, "b"}), VarArrayOf({1, "c"}), "!="},
        {"arrays of other lengths", VarArrayOf({1}), VarArrayOf({1, 2}), "!="},
        {"array against a value raises", VarArrayOf({1}), 1, "!EVariantError"},
        {"null before an array", N(), VarArrayOf({1}), "<"},
    };
    for (const TCompareRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const std::string Got = Outcome([&] { return ShowRelation(VarCompareValue(Row.A, Row.B)); });
        EXPECT_EQ(Got, Row.Expected);
        if (Got[0] == '!' && Got != "!=")
            continue;
        EXPECT_EQ(VarEquals(Row.A, Row.B), Got == "=");
        EXPECT_EQ(VarLess(Row.A, Row.B), Got == "<");
        EXPECT_EQ(VarLessEq(Row.A, Row.B), Got == "<" || Got == "=");
        EXPECT_EQ(VarGreater(Row.A, Row.B), Got == ">");
        EXPECT_EQ(VarGreaterEq(Row.A, Row.B), Got == ">" || Got == "=");
    }
}

TEST(VariantCompare, StringAgainstDateParsesTheDate)
{
    EXPECT_TRUE(VarEquals(Variant("2023-03-15"), T(45000)));
    EXPECT_TRUE(VarLess(T(45000), Variant("2023-03-15 12:00:00")));
    EXPECT_THROW(VarCompareValue(T(45000), Variant("soon")), EVariantError);
}

TEST(VariantCompare, SameNeedsSameKind)
{
    struct TRow
    {
        const char* Name;
        Variant A;
        Variant B;
        bool Expected;
    };
    const std::vector<TRow> Rows = {
        {"int and double", 1, 1.0, false},
        {"equal ints", 7, int64_t(7), true},
        {"NaN and NaN", std::nan(""), std::nan(""), true},
        {"equal strings", "a", "a", true},
        {"strings differing in case", "a", "A", false},
        {"null and null", N(), N(), true},
        {"null and empty", N(), Variant(), false},
        {"date and its number", T(2), 2.0, false},
        {"Booleans", true, true, true},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        EXPECT_EQ(VarSame(Row.A, Row.B), Row.Expected);
    }
}
