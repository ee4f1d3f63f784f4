// Filter texts typed under a column title: what they parse into, the
// messages of bad texts, the display text, and damaged texts that must either
// parse or raise without touching the record.
#include "grid/DbUtilsEh.h"
#include "platform/db/MemDataSet.h"

#include <gtest/gtest.h>
#include <random>

namespace {

QString OperandStr(const TSTFilterOperandEh& O)
{
    if (O.IsUnassigned())
        return QStringLiteral("-");
    QStringList Items;
    for (const Variant& V : O.Values)
        Items << (V.Kind() == Variant::TKind::Double ? QStringLiteral("#") : QString()) + V.AsString();
    return O.IsArray ? u'[' + Items.join(u'|') + u']' : Items.first();
}

// "op operand [join op operand]" with numbers marked by '#'.
QString Describe(const TSTFilterConditionsEh& R)
{
    QString S = QString::number(R.Operator1) + u' ' + OperandStr(R.Operand1);
    if (R.Join != foNon)
        S += u' ' + QString::number(R.Join) + u' ' + QString::number(R.Operator2) + u' ' + OperandStr(R.Operand2);
    return S;
}

TFormatSettings CommaDecimal()
{
    TFormatSettings S;
    S.DecimalSeparator = u',';
    S.ThousandSeparator = u'.';
    return S;
}

struct TParseRow
{
    const char* Name;
    const char* Text;
    TSTFilterDataTypeEh Kind;
    const char* Expected;   // Describe() of the record
    const char* Display;    // FormatFilterConditions; nullptr: not checked
    bool CommaLocale = false;
};

class FilterParse : public ::testing::TestWithParam<TParseRow> {};

TEST_P(FilterParse, GivesRecordAndDisplay)
{
    const TParseRow& Row = GetParam();
    const TFormatSettings Settings = Row.CommaLocale ? CommaDecimal() : TFormatSettings();
    TSTFilterConditionsEh R;
    R.DataType = Row.Kind;
    ParseFilterText(QString::fromUtf8(Row.Text), R, Settings);
    EXPECT_EQ(Describe(R), QString::fromUtf8(Row.Expected));
    EXPECT_EQ(R.DataType, Row.Kind);
    if (Row.Display) {
        EXPECT_EQ(FormatFilterConditions(R, Settings), QString::fromUtf8(Row.Display));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FilterParse,
    ::testing::Values(
        TParseRow{"Empty", "   ", fdtNumber, "0 -", ""},
        TParseRow{"BareTextIsLike", "abc", fdtString, "7 abc", "~ 'abc'"},
        TParseRow{"BareNumberIsEqual", "5", fdtNumber, "1 #5", "= 5"},
        TParseRow{"BareListIsIn", "1,2", fdtString, "9 [1|2]", "In ('1','2')"},
        TParseRow{"BareNumberListIsIn", "3,7", fdtNumber, "9 [#3|#7]", "In (3,7)"},
        TParseRow{"BareNumberListOfThree", "3,7,9", fdtNumber, "9 [#3|#7|#9]", "In (3,7,9)"},
        TParseRow{"BareNumberListOrValue", "1,5 or 8", fdtNumber, "9 [#1|#5] 14 1 #8", "In (1,5) OR = 8"},
        TParseRow{"ThreeDigitItems", "100,200", fdtNumber, "9 [#100|#200]", "In (100,200)"},
        TParseRow{"ThreeDigitItemsOfThree", "5,250,300", fdtNumber, "9 [#5|#250|#300]", "In (5,250,300)"},
        TParseRow{"ThreeDigitItemsOrValue", "1,234 or 5", fdtNumber, "9 [#1|#234] 14 1 #5", "In (1,234) OR = 5"},
        TParseRow{"NegativeThreeDigitItems", "-12,345,678", fdtNumber, "9 [#-12|#345|#678]", nullptr},
        TParseRow{"InNumbers", "in (1, 2, 3)", fdtNumber, "9 [#1|#2|#3]", "In (1,2,3)"},
        TParseRow{"NotInQuoted", "!in ('a b', '张三')", fdtString, "10 [a b|张三]", "!In ('a b','张三')"},
        TParseRow{"EqualNull", "= null", fdtNumber, "11 -", "=Null"},
        TParseRow{"NotEqualNull", "<> NULL", fdtString, "12 -", "<>Null"},
        TParseRow{"BangEqualNull", "!= Null", fdtString, "12 -", "<>Null"},
        TParseRow{"AndRange", ">= 10 and <= 20", fdtNumber, "5 #10 13 6 #20", ">= 10 AND <= 20"},
        TParseRow{"OrKeywordsAnyCase", "> 5 Or < 1", fdtNumber, "3 #5 14 4 #1", "> 5 OR < 1"},
        TParseRow{"AmpersandAnd", "> 5 & !~ x", fdtString, "3 5 13 8 x", "> '5' AND !~ 'x'"},
        TParseRow{"ChineseLike", "~ 张", fdtString, "7 张", "~ '张'"},
        TParseRow{"SpacesInValue", "abc def", fdtString, "7 abc def", nullptr},
        TParseRow{"ValueEndsBeforeOperator", "abc or 李 四", fdtString, "7 abc 14 7 李 四", nullptr},
        TParseRow{"ApostropheInsideWord", "O'Brien", fdtString, "7 O'Brien", nullptr},
        TParseRow{"NotAWordOperator", "sign in please", fdtString, "7 sign in please", nullptr},
        TParseRow{"CommaDecimalNumber", "1,5", fdtNumber, "1 #1.5", "= 1,5", true},
        TParseRow{"CommaDecimalInList", "in (1,5)", fdtNumber, "9 [#1|#5]", nullptr, true},
        TParseRow{"SecondInListUnclosed", "in (1,2) or in (3,4", fdtNumber, "9 [#1|#2] 14 9 [#3|#4]", nullptr},
        TParseRow{"SecondInListClosed", "= 1 or in (3,4)", fdtNumber, "1 #1 14 9 [#3|#4]", nullptr},
        TParseRow{"BooleanStaysText", "true", fdtBoolean, "1 true", "= 'true'"},
        TParseRow{"SurrogatePair", "~ 𠀀x", fdtString, "7 𠀀x", nullptr}),
    [](const auto& Info) { return std::string(Info.param.Name); });

struct TErrorRow
{
    const char* Name;
    const char* Text;
    TSTFilterDataTypeEh Kind;
    const char* Message;    // followed by the trimmed text
};

class FilterParseError : public ::testing::TestWithParam<TErrorRow> {};

TEST_P(FilterParseError, RaisesAndKeepsRecord)
{
    const TErrorRow& Row = GetParam();
    TSTFilterConditionsEh R;
    R.DataType = Row.Kind;
    ParseFilterText(QStringLiteral("< 100"), R);
    const QString Text = QString::fromUtf8(Row.Text);
    try {
        ParseFilterText(Text, R);
        FAIL() << "no error for " << Row.Text;
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), QString::fromUtf8(Row.Message) + Text.trimmed());
    }
    EXPECT_EQ(Describe(R), Row.Kind == fdtNumber ? QStringLiteral("4 #100") : QStringLiteral("4 100"));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FilterParseError,
    ::testing::Values(
        TErrorRow{"QuoteAbsent", " 'abc ", fdtString, "Quote is absent: "},
        TErrorRow{"InWithoutParen", "in 1,2", fdtNumber, "'(' expected: "},
        TErrorRow{"InUnclosed", "in (1,2", fdtNumber, "')' expected: "},
        TErrorRow{"StartsWithParen", "(1)", fdtNumber, "Error in expression: "},
        TErrorRow{"StartsWithAnd", "and 5", fdtNumber, "Error in expression: "},
        TErrorRow{"NullAlone", "null", fdtString, "Error in expression: "},
        TErrorRow{"GreaterNull", "> null", fdtNumber, "Unexpected expression before Null: "},
        TErrorRow{"OperatorWithoutValue", ">", fdtNumber, "Unexpected expression after operator: "},
        TErrorRow{"TwoOperators", "> <", fdtNumber, "Unexpected expression after operator: "},
        TErrorRow{"OperatorAfterCondition", "> 1 = 2", fdtNumber, "Unexpected AND or OR: "},
        TErrorRow{"ParenAfterCondition", "> 1 (", fdtNumber, "Incorrect expression: "},
        TErrorRow{"DanglingAnd", "> 5 and", fdtNumber, "Incorrect expression: "},
        TErrorRow{"DanglingOr", "abc or", fdtString, "Incorrect expression: "},
        TErrorRow{"ThirdCondition", "> 1 and < 5 and > 7", fdtNumber, "Incorrect expression: "},
        TErrorRow{"TypingInList", "in (1,", fdtNumber, "')' expected: "},
        TErrorRow{"ListAfterEqual", "= 1,5", fdtNumber, "Unexpected expression after operator: "},
        TErrorRow{"ThousandSeparatorsOnNumber", "1,234.50", fdtNumber, "Error in expression: "},
        TErrorRow{"ThousandSeparatorsNegative", "-12,345,678.9", fdtNumber, "Error in expression: "},
        TErrorRow{"ThousandSeparatorsInSecondCondition", "< 0 or 1,234.5", fdtNumber, "Error in expression: "}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(FilterParse, OperandThatDoesNotConvertNamesItAndKeepsRecord)
{
    TSTFilterConditionsEh R;
    R.DataType = fdtNumber;
    ParseFilterText(QStringLiteral("= 7"), R);
    EXPECT_THROW(
        {
            try {
                ParseFilterText(QStringLiteral("> 5 and < abc"), R);
            } catch (const EConvertError& E) {
                EXPECT_TRUE(E.Message().contains(QStringLiteral("abc")));
                throw;
            }
        },
        EConvertError);
    EXPECT_EQ(Describe(R), QStringLiteral("1 #7"));
}

TEST(FilterParse, DateOperandsConvert)
{
    TSTFilterConditionsEh R;
    R.DataType = fdtDateTime;
    ParseFilterText(QStringLiteral(">= 2024-03-01"), R);
    ASSERT_EQ(R.Operand1.Value().Kind(), Variant::TKind::DateTime);
    EXPECT_EQ(FormatFilterConditions(R), QStringLiteral(">= 2024-03-01"));
}

// Truncations and byte flips of good texts: every one parses or raises one
// of the parser's messages or a conversion error naming the text, and a
// failure leaves the record alone.
TEST(FilterParse, DamagedTextsParseOrRaise)
{
    const char* Corpus[] = {">= 10 and <= 20", "in (1, 2, 3)", "!in ('a','b') or = null", "~ 张三 | !~ '李'",
                            "'O''Brien'", "<> Null and in (5,6", "1,5 or 2.5", "abc like x"};
    const char* Messages[] = {"Quote is absent: ", "'(' expected: ", "')' expected: ", "Error in expression: ",
                              "Unexpected expression before Null: ", "Unexpected expression after operator: ",
                              "Incorrect expression: ", "Unexpected AND or OR: "};
    std::mt19937 Rng(31);
    int Parsed = 0, Raised = 0;
    for (const char* C : Corpus) {
        const QByteArray Good = QByteArray(C);
        std::vector<QByteArray> Texts;
        for (int N = 0; N <= Good.size(); ++N)
            Texts.push_back(Good.left(N));
        for (int I = 0; I < 200; ++I) {
            QByteArray B = Good;
            B[Rng() % B.size()] = char(Rng() % 256);
            Texts.push_back(B);
        }
        for (const QByteArray& B : Texts) {
            const QString Text = QString::fromUtf8(B);
            for (TSTFilterDataTypeEh Kind : {fdtString, fdtNumber, fdtDateTime}) {
                TSTFilterConditionsEh R;
                R.DataType = Kind;
                R.Operator1 = foGreaterThan;
                R.Operand1 = TSTFilterOperandEh::Single(QStringLiteral("keep"));
                try {
                    ParseFilterText(Text, R, Kind == fdtNumber ? CommaDecimal() : TFormatSettings());
                    FormatFilterConditions(R);
                    ++Parsed;
                    continue;
                } catch (const EConvertError& E) {
                    EXPECT_FALSE(E.Message().isEmpty()) << B.constData();
                } catch (const Exception& E) {
                    bool Known = false;
                    for (const char* M : Messages)
                        Known = Known || E.Message() == QString::fromUtf8(M) + Text.trimmed();
                    EXPECT_TRUE(Known) << E.Message().toStdString();
                }
                ++Raised;
                EXPECT_EQ(Describe(R), QStringLiteral("3 keep")) << B.constData();
            }
        }
    }
    EXPECT_GT(Parsed, 100);
    EXPECT_GT(Raised, 100);
}

TEST(FilterHandlers, NearestClassWinsFirstOnTies)
{
    TDataSetHandlerRegistryEh Registry;
    TMemDataSet Plain;
    EXPECT_EQ(Registry.Find(&Plain), nullptr);
    auto Base = std::make_unique<TDataSetHandlerEh>();
    auto Mem = std::make_unique<TDataSetHandlerEh>();
    auto MemAgain = std::make_unique<TDataSetHandlerEh>();
    TDataSetHandlerEh* BaseP = Base.get();
    TDataSetHandlerEh* MemP = Mem.get();
    Registry.Register(QStringLiteral("TDataSet"), std::move(Base));
    EXPECT_EQ(Registry.Find(&Plain), BaseP);
    Registry.Register(QStringLiteral("tmemdataset"), std::move(Mem));
    Registry.Register(QStringLiteral("TMemDataSet"), std::move(MemAgain));
    EXPECT_EQ(Registry.Find(&Plain), MemP);
    TDataSet* AsBase = &Plain;
    EXPECT_EQ(Registry.Find(AsBase), MemP);
    EXPECT_EQ(FindDataSetHandler(&Plain), nullptr);
}

} // namespace
