// Evaluation of expressions across value kinds, the built-in functions, the
// callbacks, and the guards against malformed input.
#include "ExprTestText.h"
#include "report/engine/FR_Pars.h"

#include <gtest/gtest.h>

namespace {

// A parser whose names come from a variable list and whose unknown functions
// are logged as NAME(p1|p2|p3).
class TTestParser
{
public:
    TTestParser()
    {
        Values.SetVariable(QStringLiteral("X"), Variant(5));
        Values.SetVariable(QStringLiteral("S"), Variant(QStringLiteral("abc")));
        Values.SetVariable(QStringLiteral("N"), Variant::Null());
        Values.SetVariable(QStringLiteral("B"), Variant(true));
        Values.SetVariable(QStringLiteral("F"), Variant(false));
        Values.SetVariable(QStringLiteral("Order.Amount"), Variant(2.5));
        Parser.OnGetValue = [this](TfrParser*, const QString& Name, Variant& Value) {
            Log << Name;
            if (Values.IndexOf(Name) >= 0)
                Value = Values.GetVariable(Name);
        };
        Parser.OnFunction = [this](TfrParser* Sender, const QString& Name, const Variant& P1,
                                   const Variant& P2, const Variant& P3, Variant& Value) {
            Log << Name + u'(' + P1.AsString() + u'|' + P2.AsString() + u'|' + P3.AsString() + u')';
            if (Name == QLatin1String("TWICE"))
                Value = Sender->Calc(P1.AsString()) * Variant(2);
        };
    }

    TfrParser Parser;
    TfrVariables Values;
    QStringList Log;
};

struct TEvalRow
{
    const char* Name;
    const char16_t* Text;
    const char16_t* Result;
};

const TEvalRow EvalRows[] = {
    {"EmptyIsZero", u"", u"I:0"},
    {"Priorities", u"2+3*4", u"D:14"},
    {"Parentheses", u"(2+3)*4", u"D:20"},
    {"Division", u"10/4", u"D:2.5"},
    {"DivisionByZeroIsZero", u"10/0", u"I:0"},
    {"DivisionByZeroText", u"10/'0'", u"I:0"},
    {"Mod", u"7 mod 3", u"I:1"},
    {"ModByZeroIsZero", u"7 mod 0", u"I:0"},
    {"ModByFractionBelowHalf", u"7 mod 0.4", u"I:0"},
    {"AndWithoutParentheses", u"1 = 1 and 2 = 2", u"I:0"},
    {"AndWithParentheses", u"(1 = 1) and (2 = 2)", u"I:1"},
    {"OrOfComparisons", u"([X] = 1) or ([X] = 5)", u"I:1"},
    {"IntNearWhole", u"INT(2.99999999999)", u"D:3"},
    {"IntNegative", u"INT(-2.5)", u"D:-2"},
    {"Frac", u"FRAC(1.25)", u"D:0.25"},
    {"FracNearWhole", u"FRAC(2.99999999999)", u"D:0"},
    {"RoundHalfToEvenDown", u"ROUND(2.5)", u"D:2"},
    {"RoundHalfToEvenUp", u"ROUND(3.5)", u"D:4"},
    {"StrOfNumber", u"STR(5)", u"S:5"},
    {"StrOfNull", u"STR([N])", u"S:"},
    {"NotZero", u"NOT 0", u"I:1"},
    {"NotNonZero", u"NOT 5", u"I:0"},
    {"NotFalse", u"NOT FALSE", u"I:1"},
    {"UnaryMinus", u"-[X]", u"I:-5"},
    {"UnaryPlus", u"+[X]", u"I:5"},
    {"QuotedString", u"'It''s'", u"S:It's"},
    {"RunOfQuotes", u"'a''''b'", u"S:a'b"},
    {"DecimalComma", u"1,5", u"D:1.5"},
    {"DecimalPoint", u"1.5", u"D:1.5"},
    {"Concatenation", u"'a' + 'b'", u"S:ab"},
    {"TextMeetsNumber", u"'2' + 3", u"D:5"},
    {"TextComparison", u"'abc' < 'abd'", u"I:1"},
    {"ChineseTextOrder", u"'李' < '张'", u"I:1"},
    {"NumericComparison", u"[X] > 3", u"I:1"},
    {"GreaterEqual", u"[X] >= 5", u"I:1"},
    {"LessEqual", u"[X] <= 4", u"I:0"},
    {"NotEqual", u"[X] <> 5", u"I:0"},
    {"True", u"TRUE", u"B:True"},
    {"FalseAnyCase", u"false", u"B:False"},
    {"BooleanAsNumber", u"TRUE + 1", u"D:0"},
    {"BooleanAnd", u"[B] and [F]", u"B:False"},
    {"NullInArithmetic", u"[N] + 1", u"N"},
    {"NullEqualsNumber", u"[N] = 1", u"I:0"},
    {"NullNotEqualNumber", u"[N] <> 1", u"I:1"},
    {"NullEqualsNull", u"[N] = [N]", u"I:1"},
    {"UnknownNameStaysNull", u"Nothing", u"N"},
    {"BracketName", u"[Order.Amount] * 2", u"D:5"},
    {"IfFraction", u"IF(0.9, 'a', 'b')", u"S:b"},
    {"IfBeyondIntegers", u"IF(1e20, 'a', 'b')", u"S:a"},
    {"IfNumber", u"IF([X] - 4, 'a', 'b')", u"S:a"},
    {"IfTrue", u"IF(TRUE, 'a', 'b')", u"S:a"},
    {"IfFalse", u"IF(FALSE, 'a', 'b')", u"S:b"},
    {"IfBooleanField", u"IF([B], 'yes', 'no')", u"S:yes"},
    {"IfComparison", u"IF([S] = 'abc', 1, 2)", u"D:1"},
    {"IfNested", u"IF(1, IF(0, 'x', 'y'), 'z')", u"S:y"},
    {"Copy", u"COPY('abcdef', 2, 3)", u"S:bcd"},
    {"CopyFromBelowOne", u"copy('abc', 0, 2)", u"S:ab"},
    {"CopyPastEnd", u"COPY('abc', 2, 10)", u"S:bc"},
    {"CopyNegativeCount", u"COPY('abc', 2, -1)", u"S:"},
    {"CopyOfField", u"COPY([S], [X] - 3, 1)", u"S:b"},
    {"FunctionResult", u"TWICE(3) + 1", u"D:7"},
    {"MissingOperandCountsAsZero", u"2 * -3", u"D:0"},
    {"TwoOperandsGiveTheFirst", u"1 2", u"D:1"},
    {"SemicolonEnds", u"1 ; 2 +", u"D:1"},
};

class ParserEvaluateTest : public ::testing::TestWithParam<TEvalRow>
{
};

TEST_P(ParserEvaluateTest, Evaluates)
{
    TTestParser T;
    const TEvalRow& Row = GetParam();
    EXPECT_EQ(ShowValue(T.Parser.Calc(QString::fromUtf16(Row.Text))), QString::fromUtf16(Row.Result));
}

INSTANTIATE_TEST_SUITE_P(Rows, ParserEvaluateTest, ::testing::ValuesIn(EvalRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(ParserEvaluate, ConversionErrorsPropagate)
{
    TTestParser T;
    for (const char* Text : {"'abc' + 1", "[S] * 2", "COPY('abc', 'x', 1)", "COPY('abc', 1.5, 1)",
                             "IF('yes', 1, 2)", "IF([N], 1, 2)", "STRTODATE('not a date')", "1.2.3"}) {
        SCOPED_TRACE(Text);
        EXPECT_THROW(T.Parser.Calc(QString::fromUtf8(Text)), Exception);
    }
}

TEST(ParserEvaluate, NamesReachTheCallback)
{
    TTestParser T;
    T.Parser.Calc(QStringLiteral("[Order.Amount] + amount + Data.\"Qty\""));
    EXPECT_EQ(T.Log.join(u'|'), QStringLiteral("Order.Amount|AMOUNT|DATA.\"QTY\""));
}

TEST(ParserEvaluate, FunctionsReceiveArgumentTexts)
{
    TTestParser T;
    T.Parser.Calc(QStringLiteral("myFunc(1, 'a,b', (2+3)) + f2(a,b,c,d) + g()"));
    EXPECT_EQ(T.Log.join(u' '), QStringLiteral("MYFUNC(1| 'a,b'| (2+3)) F2(a|c|) G(||)"));
}

TEST(ParserEvaluate, ArrayOperandBecomesGetArray)
{
    TTestParser T;
    T.Parser.Calc(QStringLiteral("Arr[2]"));
    EXPECT_EQ(T.Log.join(u' '), QStringLiteral("GETARRAY(Arr| 2|)"));
}

TEST(ParserEvaluate, IfEvaluatesOnlyTheChosenBranch)
{
    TTestParser T;
    EXPECT_EQ(ShowValue(T.Parser.Calc(QStringLiteral("IF(1, 'a', [X])"))), QStringLiteral("S:a"));
    EXPECT_TRUE(T.Log.isEmpty()) << T.Log.join(u' ').toStdString();
}

TEST(ParserEvaluate, StrToDateAndTimeUseTheLocale)
{
    TTestParser T;
    EXPECT_EQ(ShowValue(T.Parser.Calc(QStringLiteral("STRTODATE('2024-03-15')"))),
              ShowValue(Variant::FromDateTime(EncodeDate(2024, 3, 15))));
    EXPECT_EQ(ShowValue(T.Parser.Calc(QStringLiteral("STRTOTIME('12:00:00')"))), QStringLiteral("T:0.5"));
}

TEST(ParserEvaluate, StoredPostfixEvaluatesAgain)
{
    TTestParser T;
    const QString P = T.Parser.ConvertToPostfix(QStringLiteral("[X] * 2 > 9"));
    for (int I = 0; I < 3; ++I)
        EXPECT_EQ(ShowValue(T.Parser.EvaluatePostfix(P)), QStringLiteral("I:1"));
}

TEST(ParserEvaluate, ValueStackHoldsThirtyTwo)
{
    TTestParser T;
    EXPECT_EQ(ShowValue(T.Parser.Calc(QStringLiteral("7 ") + QStringLiteral("1 ").repeated(31))),
              QStringLiteral("D:7"));
    try {
        T.Parser.Calc(QStringLiteral("1 ").repeated(33));
        ADD_FAILURE() << "no error";
    } catch (const EParserError& E) {
        EXPECT_TRUE(E.Message().contains(QStringLiteral("32"))) << E.what();
    }
}

TEST(ParserEvaluate, DeepNestingFailsCleanly)
{
    TTestParser T;
    const QString Text = QStringLiteral("IF(1, ").repeated(400) + u'1' + QStringLiteral(", 0)").repeated(400);
    EXPECT_THROW(T.Parser.Calc(Text), EParserError);
    // The parser is usable afterwards.
    EXPECT_EQ(ShowValue(T.Parser.Calc(QStringLiteral("IF(1, IF(1, 2, 3), 4)"))), QStringLiteral("D:2"));
}

TEST(ParserEvaluate, ReentrantCallsKeepTheirOwnStacks)
{
    TTestParser T;
    // TWICE re-enters the same parser while the outer evaluation has values pending.
    EXPECT_EQ(ShowValue(T.Parser.Calc(QStringLiteral("1 + 2 * TWICE(3 + 4) - 5"))), QStringLiteral("D:24"));
}

// Damaged postfix text, as a corrupted template could carry, ends without
// hanging or reading outside the text.
TEST(ParserEvaluate, DamagedPostfixTerminates)
{
    TTestParser T;
    const QString Cases[] = {
        QStringLiteral(")"), QStringLiteral("(("), QStringLiteral("[abc"), QStringLiteral("'abc"),
        QStringLiteral("\x08\x08"), QStringLiteral("F("), QStringLiteral("]]]"),
        QString(QChar(ttUnMinus)), QString(QChar(ttGe)) + QChar(ttNot), QStringLiteral("%"),
        QStringLiteral("A["), QStringLiteral("\t\n\r"),
    };
    for (const QString& P : Cases) {
        SCOPED_TRACE(ShowCodes(P).toStdString());
        try {
            T.Parser.EvaluatePostfix(P);
        } catch (const Exception&) {
        }
    }
}

TEST(ParserEvaluate, AnyAsciiTextConvertsOrFailsCleanly)
{
    TTestParser T;
    // Every short text over a small alphabet of troublesome characters.
    const QString Alphabet = QStringLiteral("(')[]\"-+1a;%,<=>\r");
    const int N = int(Alphabet.size());
    for (int A = 0; A < N; ++A)
        for (int B = 0; B < N; ++B)
            for (int C = 0; C < N; ++C) {
                const QString Text = QString(Alphabet[A]) + Alphabet[B] + Alphabet[C];
                try {
                    T.Parser.Calc(Text);
                } catch (const Exception&) {
                }
            }
    SUCCEED();
}

} // namespace
