// TfrVariables and TfrFunctionSplitter.
#include "ExprTestText.h"
#include "platform/rtl/Classes.h"
#include "report/engine/FR_Pars.h"

#include <gtest/gtest.h>

namespace {

QString Names(const TfrVariables& V)
{
    QStringList R;
    for (int I = 0; I < V.GetCount(); ++I)
        R << V.GetName(I) + u'=' + V.GetValue(I).AsString();
    return R.join(u'|');
}

TEST(Variables, AbsentAndOutOfRange)
{
    TfrVariables V;
    V.SetVariable(QStringLiteral("a"), Variant(1));
    EXPECT_EQ(ShowValue(V.GetVariable(QStringLiteral("missing"))), QStringLiteral("N"));
    EXPECT_EQ(ShowValue(V.GetValue(-1)), QStringLiteral("I:0"));
    EXPECT_EQ(ShowValue(V.GetValue(1)), QStringLiteral("I:0"));
    EXPECT_EQ(V.GetName(5), QString());
    V.SetValue(7, Variant(3));
    V.SetName(-1, QStringLiteral("x"));
    V.Delete(9);
    EXPECT_EQ(Names(V), QStringLiteral("a=1"));
}

TEST(Variables, NamesIgnoreCase)
{
    for (bool Sorted : {false, true}) {
        SCOPED_TRACE(Sorted);
        TfrVariables V;
        V.SetSorted(Sorted);
        V.SetVariable(QStringLiteral("Total"), Variant(1));
        V.SetVariable(QStringLiteral("TOTAL"), Variant(2));
        EXPECT_EQ(Names(V), QStringLiteral("Total=2"));
        EXPECT_EQ(V.IndexOf(QStringLiteral("total")), 0);
        EXPECT_EQ(ShowValue(V.GetVariable(QStringLiteral("tOtAl"))), QStringLiteral("I:2"));
    }
}

TEST(Variables, UnsortedKeepsInsertionOrderSortedKeepsNameOrder)
{
    TfrVariables V;
    for (const char* N : {"b", "a", "C", "d"})
        V.SetVariable(QString::fromUtf8(N), Variant(QString::fromUtf8(N)));
    EXPECT_EQ(Names(V), QStringLiteral("b=b|a=a|C=C|d=d"));
    V.Insert(1, QStringLiteral("x"));
    EXPECT_EQ(Names(V), QStringLiteral("b=b|x=0|a=a|C=C|d=d"));
    V.SetSorted(true);
    EXPECT_EQ(Names(V), QStringLiteral("a=a|b=b|C=C|d=d|x=0"));
    V.SetVariable(QStringLiteral("B2"), Variant(7));
    V.Insert(0, QStringLiteral("aa"));
    EXPECT_EQ(Names(V), QStringLiteral("a=a|aa=0|b=b|B2=7|C=C|d=d|x=0"));
    for (const char* N : {"a", "aa", "b", "B2", "C", "d", "x"})
        EXPECT_GE(V.IndexOf(QString::fromUtf8(N)), 0) << N;
    EXPECT_EQ(V.IndexOf(QStringLiteral("c2")), -1);
}

TEST(Variables, RenameDeleteClearAssign)
{
    TfrVariables V;
    V.SetVariable(QStringLiteral(" Category"), Variant());
    V.SetVariable(QStringLiteral("a"), Variant(1));
    V.SetVariable(QStringLiteral("b"), Variant(2));
    V.SetName(1, QStringLiteral("z"));
    V.Delete(0);
    EXPECT_EQ(Names(V), QStringLiteral("z=1|b=2"));

    TfrVariables Sorted;
    Sorted.SetSorted(true);
    Sorted.Assign(V);
    EXPECT_EQ(Names(Sorted), QStringLiteral("b=2|z=1"));
    Sorted.SetName(1, QStringLiteral("a"));
    EXPECT_EQ(Names(Sorted), QStringLiteral("a=1|b=2"));
    EXPECT_EQ(Sorted.IndexOf(QStringLiteral("a")), 0);
    // A name another entry holds is refused; the entry's own name in another case is not.
    EXPECT_THROW(Sorted.SetName(0, QStringLiteral("B")), EListError);
    EXPECT_EQ(Names(Sorted), QStringLiteral("a=1|b=2"));
    Sorted.SetName(0, QStringLiteral("A"));
    EXPECT_EQ(Names(Sorted), QStringLiteral("A=1|b=2"));

    V.Clear();
    EXPECT_EQ(V.GetCount(), 0);
    Sorted.Assign(Sorted);
    EXPECT_EQ(Sorted.GetCount(), 2);
}

// ---------------------------------------------------------------- splitter

class FunctionSplitter : public ::testing::Test
{
protected:
    FunctionSplitter()
    {
        Match.SetCommaText(QStringLiteral("AVG,COUNT,MAX,MIN,SUM"));
    }
    QString Split(const QString& Text)
    {
        Out.Clear();
        TfrFunctionSplitter S(&Match, &Out, &Vars);
        S.Split(Text);
        return Out.ToStringList().join(u'|');
    }

    TStringList Match;
    TStringList Out;
    TfrVariables Vars;
};

TEST_F(FunctionSplitter, FindsCalls)
{
    Vars.SetVariable(QStringLiteral("Total"), Variant(QStringLiteral("SUM([Qty])")));
    Vars.SetVariable(QStringLiteral("Other"), Variant(QStringLiteral("[Total] / Count(Band1)")));
    const struct { const char* Text; const char* Found; } Rows[] = {
        {"SUM([Qty]) + [X]", "SUM([Qty])"},
        {"'SUM([Qty])'", ""},
        {"[X] + sum([Qty])", " sum([Qty])"},
        {"IF([A] > 1, SUM([Q]), MAX([Q], Band1))", "SUM([Q])|MAX([Q], Band1)"},
        {"SUM(MIN([A]))", "MIN([A])|SUM(MIN([A]))"},
        {"[Total] * 2", "SUM([Qty])"},
        {"Total + 1", "SUM([Qty])"},
        {"[Other] + [Total]", "SUM([Qty])| Count(Band1)|SUM([Qty])"},
        {"[SUM([Q])]", "SUM([Q])"},
        {"COPY('SUM(x)', 1, 2)", ""},
        {"", ""},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Text);
        EXPECT_EQ(Split(QString::fromUtf8(Row.Text)), QString::fromUtf8(Row.Found));
    }
}

TEST_F(FunctionSplitter, SelfReferenceIsAnUndefinedSymbol)
{
    Vars.SetVariable(QStringLiteral("A"), Variant(QStringLiteral("[B] + 1")));
    Vars.SetVariable(QStringLiteral("B"), Variant(QStringLiteral("SUM([Q]) + A")));
    Vars.SetVariable(QStringLiteral("Self"), Variant(QStringLiteral("[Self]")));
    const struct { const char* Text; const char* Symbol; } Rows[] = {
        {"[A]", "A"},
        {"B * 2", "B"},
        {"[Self]", "Self"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Text);
        try {
            Split(QString::fromUtf8(Row.Text));
            ADD_FAILURE() << "no error";
        } catch (const EParserError& E) {
            EXPECT_EQ(E.Message(), QStringLiteral("Undefined symbol \"%1\"").arg(QString::fromUtf8(Row.Symbol)));
        }
    }
}

TEST_F(FunctionSplitter, MalformedTextEndsCleanly)
{
    EXPECT_THROW(Split(QStringLiteral("SUM([Q]")), EParserError);
    for (const char* Text : {"[[[", ")))", "]]", "SUM", "\"SUM(", "+-*/<=>", "[A"})
        EXPECT_NO_THROW(Split(QString::fromUtf8(Text))) << Text;
}

} // namespace
