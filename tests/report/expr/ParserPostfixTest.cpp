// Infix text to the exact postfix text that templates and compiled scripts keep.
#include "ExprTestText.h"
#include "report/engine/FR_Pars.h"

#include <gtest/gtest.h>

namespace {

struct TPostfixRow
{
    const char* Name;
    const char16_t* Infix;
    const char16_t* Postfix; // operator codes written as {n}
};

const TPostfixRow PostfixRows[] = {
    {"Empty", u"", u""},
    {"MulBeforeAdd", u"2+3*4", u"2 3 4 *+"},
    {"Parentheses", u"(2+3)*4", u"2 3 +4 *"},
    {"LeftAssociativeMinus", u"a - b - c", u"a b -c -"},
    {"MulDivSameClass", u"a * b / c", u"a b *c /"},
    {"BinaryMinus", u"a-5", u"a 5 -"},
    {"UnaryMinus", u"-5", u"5 {9}"},
    {"UnaryMinusInParens", u"(-5)", u"5 {9}"},
    {"UnaryPlus", u"+a", u"a {10}"},
    {"UnaryMinusAfterMul", u"2 * -3", u"2 *3 {9}"},
    {"NotEqual", u"A <> B", u"A B {3}"},
    {"GreaterEqual", u"a >= b", u"a b {1}"},
    {"LessEqual", u"a <= b", u"a b {2}"},
    {"EqualThenLessIsTwoOperators", u"a =< b", u"a =b <"},
    {"ComparisonBindsLoosest", u"a = b + 1", u"a b 1 +="},
    {"AndBindsLikeMul", u"1 = 1 and 2 = 2", u"1 1 2 {5}=2 ="},
    {"Or", u"a or b", u"a b {4}"},
    {"Mod", u"7 mod 3", u"7 3 {13}"},
    {"Not", u"not a", u"a {12}"},
    {"NotBeforeComparison", u"not a = b", u"a {12}b ="},
    {"Int", u"INT(2.5)", u"2.5 {6}"},
    {"FracThenPlus", u"frac(x)+1", u"x {7}1 +"},
    {"Round", u"Round(x)", u"x {14}"},
    {"Str", u"STR(x)", u"x {11}"},
    {"FunctionKeptAsWritten", u"IF([A] > 1, 'a(b', COPY('x', 1, 2))",
     u"IF([A] > 1, 'a(b', COPY('x', 1, 2))"},
    {"FunctionsHaveNoBlank", u"F(1) + G(2)", u"F(1)G(2)+"},
    {"BracketGroup", u"[Order.Amount] * 2", u"[Order.Amount] 2 *"},
    {"NestedBrackets", u"[A[1]] + 1", u"[A[1]] 1 +"},
    {"QuotedBracketInString", u"[A] + 'x[y'", u"[A] 'x[y' +"},
    {"QuotedBracketInGroup", u"['a]b'] + 1", u"['a]b'] 1 +"},
    {"ArrayOperand", u"Arr[2] * 3", u"Arr[2] 3 *"},
    {"QuotedFieldName", u"Data.\"Field Name\" + 1", u"Data.\"Field Name\" 1 +"},
    {"QuotedString", u"'It''s'", u"'It''s' "},
    {"DecimalComma", u"1,5 + .5", u"1,5 .5 +"},
    {"PercentPrefix", u"%d[X]", u"%d[X] "},
    {"PercentPrefixWord", u"%sName", u"%sName "},
    {"SemicolonEnds", u"a + b ;c", u"a b +"},
    {"SemicolonInsideWord", u"a + b; c", u"a b; c +"},
    {"CarriageReturnSkipped", u"a +\r\nb", u"a b +"},
    {"LineFeedBeforeOperatorIsEmptyOperand", u"a\r\n+ b", u"a  b +"},
};

class ParserPostfixTest : public ::testing::TestWithParam<TPostfixRow>
{
};

TEST_P(ParserPostfixTest, ConvertsToExactPostfix)
{
    TfrParser Parser;
    const TPostfixRow& Row = GetParam();
    EXPECT_EQ(ShowCodes(Parser.ConvertToPostfix(QString::fromUtf16(Row.Infix))),
              QString::fromUtf16(Row.Postfix));
}

INSTANTIATE_TEST_SUITE_P(Rows, ParserPostfixTest, ::testing::ValuesIn(PostfixRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(ParserPostfix, UnbalancedParenthesesRaiseARealMessage)
{
    TfrParser Parser;
    for (const char* Text : {"(1+2", "1+2)", "F(1", "((a)", "IF(1, 'a', 'b'"}) {
        SCOPED_TRACE(Text);
        try {
            Parser.ConvertToPostfix(QString::fromUtf8(Text));
            ADD_FAILURE() << "no error";
        } catch (const EParserError& E) {
            EXPECT_TRUE(E.Message().contains(QStringLiteral("Unbalanced parentheses"))) << E.what();
        }
    }
}

TEST(ParserPostfix, ScanningHelpers)
{
    int Pos = 0;
    EXPECT_EQ(ReadIdentifier(QStringLiteral("  Data.\"A B\"+1"), Pos), QStringLiteral("Data.\"A B\""));
    EXPECT_EQ(Pos, 12);

    Pos = 1;
    EXPECT_EQ(ReadQuotedString(QStringLiteral("x'a''b'c"), Pos), QStringLiteral("'a''b'"));
    EXPECT_EQ(Pos, 7);

    int Open = -1, Close = -1;
    EXPECT_EQ(GetBracketedText(QStringLiteral("x[a[b]\"]\"]y"), 1, Open, Close), QStringLiteral("a[b]\"]\""));
    EXPECT_EQ(Open, 1);
    EXPECT_EQ(Close, 9);
    EXPECT_EQ(GetBracketedText(QStringLiteral("abc"), 1, Open, Close), QString());
    EXPECT_EQ(Close, 1);
    EXPECT_EQ(GetBracketedText(QStringLiteral("[abc"), 0, Open, Close), QStringLiteral("abc"));
    EXPECT_EQ(Close, 4);
}

TEST(ParserPostfix, FunctionArgumentPieces)
{
    const struct { const char* Text; const char* P1; const char* P2; const char* P3; int End; } Rows[] = {
        {"F()", "", "", "", 3},
        {"F(a)", "a", "", "", 4},
        {"F(a, (b,c), 'd,e')", "a", " (b,c)", " 'd,e'", 18},
        {"F(a,b,c,d)", "a", "c", "", 10},
        {"F(')', x)", "')'", " x", "", 9},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Text);
        int Pos = 1;
        const TfrFunctionArguments A = ReadFunctionArguments(QString::fromUtf8(Row.Text), Pos);
        EXPECT_EQ(A.P1, QString::fromUtf8(Row.P1));
        EXPECT_EQ(A.P2, QString::fromUtf8(Row.P2));
        EXPECT_EQ(A.P3, QString::fromUtf8(Row.P3));
        EXPECT_EQ(Pos, Row.End);
    }
}

} // namespace
