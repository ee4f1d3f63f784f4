#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

// The lines as one compact text: a|b|c.
QString Joined(const TStrings& L)
{
    return L.ToStringList().join(u'|');
}

TStringList Sorted(const QStringList& Lines, TDuplicates Dup = TDuplicates::dupIgnore)
{
    TStringList L;
    L.SetSorted(true);
    L.SetDuplicates(Dup);
    for (const QString& Line : Lines)
        L.Add(Line);
    return L;
}

} // namespace

TEST(ClassesStringListTest, TextSplitsAtCrLfAndCrLf)
{
    const struct
    {
        const char* Name;
        const char* Text;
        const char* Lines;
        int Count;
    } Rows[] = {
        {"empty", "", "", 0},
        {"one line", "abc", "abc", 1},
        {"final break adds no line", "a\r\n", "a", 1},
        {"crlf", "a\r\nb", "a|b", 2},
        {"lf", "a\nb\n", "a|b", 2},
        {"cr", "a\rb", "a|b", 2},
        {"lf cr is two breaks", "a\n\rb", "a||b", 3},
        {"empty lines kept", "\r\n\r\nx", "||x", 3},
        {"only a break", "\n", "", 1},
        {"mixed", "a\rb\nc\r\nd", "a|b|c|d", 4},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TStringList L;
        L.SetText(QString::fromUtf8(Row.Text));
        EXPECT_EQ(L.Count(), Row.Count);
        EXPECT_EQ(Joined(L), QString::fromUtf8(Row.Lines));
    }
    TStringList L(QStringList{"x", "", "中"});
    EXPECT_EQ(L.Text(), QString::fromUtf8("x\r\n\r\n中\r\n"));
    EXPECT_EQ(TStringList().Text(), QString());
}

TEST(ClassesStringListTest, CommaTextQuotesWhatNeedsIt)
{
    const struct
    {
        const char* Name;
        QStringList Lines;
        const char* Comma;
    } Rows[] = {
        {"empty list", {}, ""},
        {"one empty item", {""}, "\"\""},
        {"plain", {"a", "b"}, "a,b"},
        {"space", {"a b", "c"}, "\"a b\",c"},
        {"comma", {"a,b"}, "\"a,b\""},
        {"quote doubled", {"say \"hi\""}, "\"say \"\"hi\"\"\""},
        {"tab", {"a\tb"}, "\"a\tb\""},
        {"empty among others", {"a", "", "b"}, "a,,b"},
        {"chinese", {"中文", "甲 乙"}, "中文,\"甲 乙\""},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TStringList L(Row.Lines);
        EXPECT_EQ(L.CommaText(), QString::fromUtf8(Row.Comma));
        TStringList Back;
        Back.SetCommaText(L.CommaText());
        EXPECT_EQ(Back.ToStringList(), Row.Lines);
    }
}

TEST(ClassesStringListTest, SetCommaTextParsesTheClassicWay)
{
    const struct
    {
        const char* Name;
        const char* Comma;
        const char* Lines;
        int Count;
    } Rows[] = {
        {"spaces separate", "a b,c", "a|b|c", 3},
        {"blanks around", "  a , b  ", "a|b", 2},
        {"trailing comma", "a,", "a|", 2},
        {"leading comma", ",a", "|a", 2},
        {"two commas", "a,,b", "a||b", 3},
        {"quoted with comma", "\"x,y\",z", "x,y|z", 2},
        {"doubled quote", "\"a\"\"b\"", "a\"b", 1},
        {"unterminated quote", "\"abc", "abc", 1},
        {"text after closing quote", "\"a\"b,c", "a|b|c", 3},
        {"only blanks", "   ", "", 0},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TStringList L;
        L.SetCommaText(QString::fromUtf8(Row.Comma));
        EXPECT_EQ(L.Count(), Row.Count);
        EXPECT_EQ(Joined(L), QString::fromUtf8(Row.Lines));
    }
}

TEST(ClassesStringListTest, NameValuePairs)
{
    TStringList L(QStringList{"Server=local", "noequals", "Path=C:\\a=b", "Empty="});
    EXPECT_EQ(L.Names(0), "Server");
    EXPECT_EQ(L.Names(1), "");
    EXPECT_EQ(L.Values("server"), "local");
    EXPECT_EQ(L.Values("PATH"), "C:\\a=b");
    EXPECT_EQ(L.Values("missing"), "");
    EXPECT_EQ(L.Values("Empty"), "");
    EXPECT_EQ(L.ValueFromIndex(2), "C:\\a=b");
    // A line without '=' has no value (not the line minus its first letter).
    EXPECT_EQ(L.ValueFromIndex(1), "");
    EXPECT_EQ(L.IndexOfName("EMPTY"), 3);
    EXPECT_EQ(L.IndexOfName("noequals"), -1);

    L.SetValues("SERVER", "remote");
    EXPECT_EQ(L.Strings(0), "SERVER=remote");
    L.SetValues("New", "1");
    EXPECT_EQ(L.Strings(4), "New=1");
    L.SetValues("Path", "");
    EXPECT_EQ(Joined(L), "SERVER=remote|noequals|Empty=|New=1");
    L.SetValues("absent", "");
    EXPECT_EQ(L.Count(), 4);
}

TEST(ClassesStringListTest, IndexOfIgnoresCase)
{
    TStringList L(QStringList{"Alpha", "beta", "中文"});
    EXPECT_EQ(L.IndexOf("ALPHA"), 0);
    EXPECT_EQ(L.IndexOf("Beta"), 1);
    EXPECT_EQ(L.IndexOf("中文"), 2);
    EXPECT_EQ(L.IndexOf("gamma"), -1);
    L.SetCaseSensitive(true);
    EXPECT_EQ(L.IndexOf("ALPHA"), -1);
}

TEST(ClassesStringListTest, SortedAddHonoursDuplicates)
{
    TStringList Ignore = Sorted({"c", "A", "b", "a"});
    EXPECT_EQ(Joined(Ignore), "A|b|c");
    EXPECT_EQ(Ignore.Add("B"), 1);
    EXPECT_EQ(Ignore.Count(), 3);

    TStringList Accept = Sorted({"c", "A", "b", "a"}, TDuplicates::dupAccept);
    // An accepted duplicate goes before the equal lines already there.
    EXPECT_EQ(Joined(Accept), "a|A|b|c");

    TStringList Error = Sorted({"x"}, TDuplicates::dupError);
    try {
        Error.Add("X");
        FAIL() << "duplicate accepted";
    } catch (const EListError& E) {
        EXPECT_EQ(E.Message(), "String list does not allow duplicates");
    }
    EXPECT_EQ(Error.Count(), 1);
}

TEST(ClassesStringListTest, FindAndIndexOfInSortedMode)
{
    TStringList L = Sorted({"delta", "alpha", "charlie", "bravo"});
    int Index = -1;
    EXPECT_TRUE(L.Find("CHARLIE", Index));
    EXPECT_EQ(Index, 2);
    EXPECT_FALSE(L.Find("beta", Index));
    EXPECT_EQ(Index, 1);
    EXPECT_FALSE(L.Find("zulu", Index));
    EXPECT_EQ(Index, 4);
    EXPECT_EQ(L.IndexOf("Bravo"), 1);
    EXPECT_EQ(L.IndexOf("echo"), -1);
}

TEST(ClassesStringListTest, CaseSensitiveSwitchResortsTheList)
{
    TStringList L = Sorted({"b", "B", "a", "A"}, TDuplicates::dupAccept);
    L.SetCaseSensitive(true);
    // Every line is found again after the order changed with the comparison.
    for (const QString& S : {QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("b"),
                             QStringLiteral("B")}) {
        SCOPED_TRACE(S.toStdString());
        int Index = -1;
        ASSERT_TRUE(L.Find(S, Index));
        EXPECT_EQ(L.Strings(Index), S);
    }
}

TEST(ClassesStringListTest, SortedListRefusesPositionalChanges)
{
    TStringList L = Sorted({"a", "b"});
    const struct
    {
        const char* Name;
        std::function<void()> Act;
    } Rows[] = {
        {"Insert", [&] { L.Insert(0, "z"); }},
        {"SetStrings", [&] { L.SetStrings(0, "z"); }},
        {"Exchange", [&] { L.Exchange(0, 1); }},
        {"Move", [&] { L.Move(0, 1); }},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        try {
            Row.Act();
            FAIL() << "no exception";
        } catch (const EListError& E) {
            EXPECT_EQ(E.Message(), "Operation not allowed on sorted list");
        }
        EXPECT_EQ(Joined(L), "a|b");
    }
}

TEST(ClassesStringListTest, IndexErrorsNameTheIndex)
{
    TStringList L(QStringList{"a", "b"});
    const struct
    {
        const char* Name;
        std::function<void()> Act;
        const char* Message;
    } Rows[] = {
        {"Strings -1", [&] { L.Strings(-1); }, "List index out of bounds (-1)"},
        {"Strings 2", [&] { L.Strings(2); }, "List index out of bounds (2)"},
        {"Delete 5", [&] { L.Delete(5); }, "List index out of bounds (5)"},
        {"Insert 3", [&] { L.Insert(3, "x"); }, "List index out of bounds (3)"},
        {"Objects 2", [&] { L.Objects(2); }, "List index out of bounds (2)"},
        {"Move to 2", [&] { L.Move(0, 2); }, "List index out of bounds (2)"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        try {
            Row.Act();
            FAIL() << "no exception";
        } catch (const EListError& E) {
            EXPECT_EQ(E.Message(), Row.Message);
        }
        EXPECT_EQ(Joined(L), "a|b");
    }
    L.Insert(2, "c");
    EXPECT_EQ(Joined(L), "a|b|c");
}

TEST(ClassesStringListTest, ObjectsTravelWithTheirLines)
{
    int X = 1, Y = 2, Z = 3;
    TStringList L;
    L.AddObject("x", &X);
    L.AddObject("y", &Y);
    L.InsertObject(0, "z", &Z);
    L.Move(0, 2);
    EXPECT_EQ(Joined(L), "x|y|z");
    EXPECT_EQ(L.Objects(2), &Z);
    L.Exchange(0, 1);
    EXPECT_EQ(L.Objects(0), &Y);
    EXPECT_EQ(L.IndexOfObject(&X), 1);
    L.SetSorted(true);
    EXPECT_EQ(L.Objects(L.IndexOf("z")), &Z);
    TStringList Copy;
    Copy.Assign(L);
    EXPECT_TRUE(Copy.Equals(L));
    EXPECT_EQ(Copy.Objects(0), L.Objects(0));
}

TEST(ClassesStringListTest, OnChangeWaitsForTheOutermostEndUpdate)
{
    TStringList L;
    int Calls = 0;
    L.OnChange = [&](TStrings* Sender) {
        EXPECT_EQ(Sender, &L);
        ++Calls;
    };
    L.Add("a");
    L.Add("b");
    EXPECT_EQ(Calls, 2);
    L.BeginUpdate();
    L.BeginUpdate();
    L.Add("c");
    L.Delete(0);
    L.EndUpdate();
    EXPECT_EQ(Calls, 2);
    L.EndUpdate();
    EXPECT_EQ(Calls, 3);
    L.SetText("x\ny\nz");
    EXPECT_EQ(Calls, 4);
    L.Clear();
    L.Clear();
    EXPECT_EQ(Calls, 5);
    EXPECT_EQ(L.UpdateCount(), 0);
}

TEST(ClassesStringListTest, CustomSortIsStable)
{
    TStringList L(QStringList{"b2", "a1", "b1", "a2"});
    L.CustomSort([](const TStringList& List, int A, int B) {
        return int(List.Strings(A).at(0).unicode()) - int(List.Strings(B).at(0).unicode());
    });
    EXPECT_EQ(Joined(L), "a1|a2|b2|b1");
}

TEST(ClassesStringListTest, FilesHoldUtf8AndReadOlderGbk)
{
    QTemporaryDir Dir;
    const QString Name = Dir.filePath("lines.txt");
    TStringList L(QStringList{"select *", "from 商品"});
    L.SaveToFile(Name);
    TStringList Back;
    Back.LoadFromFile(Name);
    EXPECT_EQ(Joined(Back), QString::fromUtf8("select *|from 商品"));

    TMemoryStream Gbk(QByteArray("\xEF\xBB\xBF" "a\r\n"));
    Back.LoadFromStream(Gbk);
    EXPECT_EQ(Joined(Back), "a");
    TMemoryStream Old(QByteArray("\xd6\xd0\xce\xc4\r\nx"));
    Back.LoadFromStream(Old);
    EXPECT_EQ(Joined(Back), QString::fromUtf8("中文|x"));
    EXPECT_THROW(Back.LoadFromFile(Dir.filePath("missing.txt")), EReadError);
}

TEST(ClassesStringListTest, MoveInBothDirections)
{
    const struct
    {
        int From;
        int To;
        const char* Expected;
    } Rows[] = {
        {0, 3, "b|c|d|a"},
        {3, 0, "d|a|b|c"},
        {1, 2, "a|c|b|d"},
        {2, 1, "a|c|b|d"},
        {2, 2, "a|b|c|d"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(std::to_string(Row.From) + " to " + std::to_string(Row.To));
        TStringList L(QStringList{"a", "b", "c", "d"});
        L.Move(Row.From, Row.To);
        EXPECT_EQ(Joined(L), Row.Expected);
    }
}
