#include "platform/rtl/GbkText.h"
#include "TestText.h"

#include <gtest/gtest.h>

TEST(GbkTextTest, RoundTripsAndLengths)
{
    const struct
    {
        const char* Name;
        const char* Text;
        const char* GbkHex;
    } Rows[] = {
        {"empty", "", ""},
        {"ascii", "Abc 1?", "41626320313f"},
        {"chinese", "中文", "d6d0cec4"},
        {"mixed", "a中b", "61d6d062"},
        {"ideographic space", "\u3000", "a1a1"},
        {"capital figures", "壹贰", "d2bcb7a1"},
        {"euro is one byte", "\u20ac", "80"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const QString Text = U(Row.Text);
        const QByteArray Bytes = ToGbk(Text);
        EXPECT_EQ(Bytes.toHex(), QByteArray(Row.GbkHex));
        EXPECT_EQ(FromGbk(Bytes), Text);
        EXPECT_EQ(GbkLength(Text), Bytes.size());
        EXPECT_TRUE(GbkCanEncode(Text));
    }
}

TEST(GbkTextTest, CharactersOutsideGbkBecomeQuestionMarks)
{
    const struct
    {
        const char* Name;
        const char* Text;
        const char* Expected;
    } Rows[] = {
        {"emoji (surrogate pair)", "a😀b", "a?b"},
        {"korean", "中한", "中?"},
        {"two emoji", "😀😀", "??"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const QString Text = U(Row.Text);
        EXPECT_FALSE(GbkCanEncode(Text));
        EXPECT_EQ(FromGbk(ToGbk(Text)), U(Row.Expected));
        EXPECT_EQ(GbkLength(Text), ToGbk(Text).size());
    }
    // An encodable text after an unencodable one is still recognised as such.
    EXPECT_TRUE(GbkCanEncode(U("中文")));
}

TEST(GbkTextTest, GbkLeftCutsAtCharacterBoundaries)
{
    const struct
    {
        const char* Text;
        qsizetype Max;
        const char* Expected;
    } Rows[] = {
        {"中文字", 0, ""},
        {"中文字", -5, ""},
        {"中文字", 1, ""},
        {"中文字", 2, "中"},
        {"中文字", 3, "中"},
        {"中文字", 5, "中文"},
        {"中文字", 6, "中文字"},
        {"中文字", 100, "中文字"},
        {"a中b", 2, "a"},
        {"a中b", 3, "a中"},
        {"😀x", 1, "😀"},
        {"x😀", 1, "x"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(std::string(Row.Text) + " at " + std::to_string(Row.Max));
        const QString Cut = GbkLeft(U(Row.Text), Row.Max);
        EXPECT_EQ(Cut, U(Row.Expected));
        EXPECT_LE(GbkLength(Cut), std::max<qsizetype>(Row.Max, 0));
    }
}

TEST(GbkTextTest, DamagedBytesDecodeWithoutThrowing)
{
    const struct
    {
        const char* Name;
        QByteArray Bytes;
        const char* Expected;
    } Rows[] = {
        {"lone lead byte at the end", QByteArray("A\xd6"), "A\xef\xbf\xbd"},
        {"only a lead byte", QByteArray("\xd6"), "\xef\xbf\xbd"},
        {"bad trail byte", QByteArray("\x81\x20"), "\xef\xbf\xbd "},
        {"embedded zero", QByteArray("a\0b", 3), nullptr},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const QString Text = FromGbk(Row.Bytes);
        if (Row.Expected)
            EXPECT_EQ(Text, U(Row.Expected));
        else
            EXPECT_EQ(Text, QString(QStringLiteral("a")) + QChar(0) + u'b');
    }
    EXPECT_EQ(FromGbk(nullptr, 4), QString());
    EXPECT_EQ(FromGbk("\xd6\xd0", -1), QString());
}
