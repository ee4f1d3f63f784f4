// The translator's rewrites, and Jet's function semantics as SQLite runs them.
#include "DbTestFixture.h"

#include "platform/db/JetSql.h"
#include "platform/rtl/SysUtils.h"

namespace {

struct TTranslateCase
{
    const char* Name;
    const char* Jet;
    const char* Sqlite;
};

const TTranslateCase TranslateCases[] = {
    {"date literal", "Where D = #2024-03-05#", "Where D = '2024-03-05 00:00:00'"},
    {"date literal with time", "Where D <= #2024-03-05 13:04:05#", "Where D <= '2024-03-05 13:04:05'"},
    {"jet month/day/year", "Where D = #3/5/2024#", "Where D = '2024-03-05 00:00:00'"},
    {"hash and quotes inside text", "Where R = '#2024-03-05# ''True''' And X = True",
     "Where R = '#2024-03-05# ''True''' And X = 1"},
    {"double-quoted text", "Where R = \"it's \"\"x\"\"\"", "Where R = 'it''s \"x\"'"},
    {"booleans", "Set E = False Where E = TRUE", "Set E = 0 Where E = 1"},
    {"between", "Where (D Between #2024-03-31# And #2024-03-01#) And X = 1",
     "Where (D Between min('2024-03-31 00:00:00','2024-03-01 00:00:00') And max('2024-03-31 00:00:00','2024-03-01 00:00:00') ) And X = 1"},
    {"order by text column", "Select * From T Order By Name Desc,Id", "Select * From T Order By Name COLLATE PINYIN Desc,Id"},
    {"order by expression left alone", "Select * From T Order By Upper(Name)", "Select * From T Order By Upper(Name)"},
};

TEST(TJetSqlTest, Translates)
{
    const QSet<QString> TextColumns{QStringLiteral("name")};
    for (const TTranslateCase& C : TranslateCases) {
        SCOPED_TRACE(C.Name);
        EXPECT_EQ(TranslateJetSql(QString::fromUtf8(C.Jet), TextColumns).Sql, QString::fromUtf8(C.Sqlite));
    }
}

TEST(TJetSqlTest, RowIdOnlyForPlainSingleTableReads)
{
    const struct
    {
        const char* Sql;
        bool RowId;
    } Cases[] = {
        {"Select * From Bill Where BillIndex > 1 Order By BillIndex", true},
        {"Select ABS(MoneySum) As MSum,* From MoneyTable Where MoneyIndex = 4", true},
        {"Select * From Account,MoneyTable Where AccountIndex = MoneyAccount", false},
        {"Select Distinct Customer.* From (Customer Left Join Bill on Customer.CustomerName = Bill.BillUser)", false},
        {"Select Sum(BillSum) As TotalMoney From Bill", false},
        {"Select BillUser From Bill Group By BillUser", false},
        {"Update Bill Set BillSum = 1", false},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Sql);
        EXPECT_EQ(!TranslateJetSql(QString::fromUtf8(C.Sql), {}).SqlWithRowId.isEmpty(), C.RowId);
    }
}

TEST(TJetSqlTest, QuotingHelperDoublesQuotes)
{
    EXPECT_EQ(SqlQuoted(QStringLiteral("O'Neil''s")), QStringLiteral("'O''Neil''''s'"));
    EXPECT_EQ(SqlQuoted(QString()), QStringLiteral("''"));
    EXPECT_EQ(JetDateLiteral(EncodeDate(2024, 3, 5)), QStringLiteral("#2024-03-05#"));
    EXPECT_EQ(JetDateLiteral(EncodeDate(2024, 3, 5) + EncodeTime(8, 9, 10, 0)), QStringLiteral("#2024-03-05 08:09:10#"));
}

using TJetFunctionTest = TDbFixture;

TEST_F(TJetFunctionTest, FunctionsBehaveAsJet)
{
    const struct
    {
        const char* Expr;
        const char* Expect;
    } Cases[] = {
        {"InStr('Trading Co','co')", "9"},
        {"InStr('abc','')", "1"},
        {"InStr('','')", "0"},
        {"InStr('张三公司','公司')", "3"},
        {"InStr('abc','x')", "0"},
        {"InStr(3,'abcabc','A')", "4"},
        {"InStr(Null,'a') Is Null", "1"},
        {"InStr('a',Null) Is Null", "1"},
        {"InStr(4,'电话0571-88','8')", "8"},
        {"InStr('𠀀甲','甲')", "3"},
        {"InStr(2,'甲乙','')", "2"},
        {"InStr(3,'甲乙','')", "0"},
        {"InStr('ÄBC','äb')", "1"},
        {"InStr('Ｂ-ＡＢ','ａｂ')", "3"},
        {"InStr('\u1E9E','\u00DF')", "1"}, // capital sharp s folds to the small one
        {"InStr('\u212A2','k2')", "1"},     // the Kelvin sign folds to k
        {"InStr(Cast(X'FF38' As Text),'8')", "2"}, // a malformed byte reads as one character
        {"Round(2.5)", "2"},
        {"Round(3.5)", "4"},
        {"Round(-2.5)", "-2"},
        {"Round(2.675,2)", "2.68"},
        {"Round(2.665,2)", "2.66"},
        {"Round(1234.5,0)", "1234"},
        {"Round(Null,2) Is Null", "1"},
        {"Abs(-3)", "3"},
        {"Abs(-2.25)", "2.25"},
        {"IIF(Null Is Null,0,1)", "0"},
        {"IIF(1 > 2,'a','b')", "b"},
        {"IIF(Null,'a','b')", "b"},
        {"5 Between 10 And 1", "1"},
        {"True + True", "2"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Expr);
        try {
            TADOQuery* Q = Open(QStringLiteral("Select ") + QString::fromUtf8(C.Expr) + QStringLiteral(" As V"));
            EXPECT_EQ(Q->Fields(0)->AsString(), QString::fromUtf8(C.Expect));
        } catch (const Exception& E) {
            ADD_FAILURE() << E.what();
        }
    }
}

} // namespace
