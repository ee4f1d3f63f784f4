// Data sources walking datasets by their ranges, the values fields give, and
// the resolution of "dataset.field" texts across forms and data modules.
#include "DataTestUtil.h"

#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/NewDatabase.h"
#include "platform/rtl/Classes.h"
#include "report/engine/FR_DBFields.h"
#include "report/engine/FR_DBSet.h"

#include <QTemporaryDir>

using namespace datatest;

namespace {

// Walks Source as a band does: the ids printed, then where the dataset stands.
QString Walk(TfrDataset& Source, TDataSet* D)
{
    QStringList Ids;
    Source.Init();
    Source.First();
    while (!Source.Eof() && Ids.size() < 20) {
        Ids << (D ? D->FieldByName("Id")->AsString() : QString::number(Source.RecNo()));
        Source.Next();
    }
    Source.Exit();
    return Ids.join(u',') + u'@' + (D ? D->FieldByName("Id")->AsString() : QString());
}

struct TRangeRow
{
    const char* Name;
    TRangeBegin Begin;
    TRangeEnd End;
    int Count;
    int Current;       // record number the dataset stands on at the start
    const char* Expected;
};

const TRangeRow RangeRows[] = {
    {"AllRows", rbFirst, reLast, 0, 3, "1,2,3,4,5@5"},
    {"OnlyTheCurrentRecord", rbCurrent, reCurrent, 0, 3, "3@3"},
    {"FirstUpToTheCurrent", rbFirst, reCurrent, 0, 3, "1,2,3@3"},
    {"CurrentToTheEndThenBack", rbCurrent, reLast, 0, 4, "4,5@4"},
    {"CountedFromFirst", rbFirst, reCount, 2, 5, "1,2@3"},
    {"CountedFromCurrentPastTheEnd", rbCurrent, reCount, 3, 4, "4,5@4"},
    {"CurrentIsTheLast", rbCurrent, reCurrent, 0, 5, "5@5"},
    {"ZeroCount", rbFirst, reCount, 0, 2, "@1"},
};

void CheckRanges(TDataSet* D)
{
    for (const TRangeRow& Row : RangeRows) {
        SCOPED_TRACE(Row.Name);
        D->SetRecNo(Row.Current);
        TfrDBDataSet Source;
        Source.SetDataSet(D);
        Source.SetRangeBegin(Row.Begin);
        Source.SetRangeEnd(Row.End);
        Source.SetRangeEndCount(Row.Count);
        EXPECT_EQ(Walk(Source, D), QString::fromLatin1(Row.Expected));
    }
}

} // namespace

TEST(DataSource, RangesOverAnInMemoryDataSet)
{
    TMemDataSet D;
    D.FieldDefs()->Add("Id", ftInteger);
    D.Open();
    for (int i = 1; i <= 5; ++i)
        D.AppendRecord({Variant(i)});
    CheckRanges(&D);
}

TEST(DataSource, RangesOverAQueryThatOpensAndCloses)
{
    QTemporaryDir Dir;
    const QString Path = Dir.filePath("t.mdb");
    CreateDatabaseFile(Path, "Create Table T (Id Integer); Insert Into T Values (3), (1), (5), (2), (4);");
    TADOConnection Connection;
    Connection.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + Path);
    Connection.Open();
    TADOQuery Q;
    Q.SetConnection(&Connection);
    Q.SQL()->Add("Select Id From T Order By Id");
    Q.Open();
    CheckRanges(&Q);
}

TEST_F(TReportWorld, NumberedAndNamedDataSources)
{
    std::unique_ptr<TfrDataset> Owned;
    TfrDataset* Five = GetDataSource("5", Owned);
    ASSERT_NE(Five, nullptr);
    EXPECT_EQ(Five, Owned.get());
    EXPECT_EQ(Walk(*Five, nullptr), "0,1,2,3,4@");

    // An end-of-data handler ends it at once.
    Five->OnCheckEOF = [](QObject*, bool& Eof) { Eof = true; };
    EXPECT_EQ(Walk(*Five, nullptr), "@");

    auto* Named = new TfrDBDataSet(&FormA);
    Named->SetName("frDBDataSet1");
    Named->SetDataSet(Query1);
    EXPECT_EQ(GetDataSource("frDBDataSet1", Owned), Named);
    EXPECT_EQ(Owned, nullptr);
    EXPECT_EQ(GetDataSource("Query1", Owned), nullptr);   // not a data source
    EXPECT_THROW(GetDataSource("5x", Owned), EConvertError);

    (new TfrDBDataSet(&FormA))->SetName("frDBDataSet2");
    try {
        GetDataSource("frDBDataSet2", Owned);
        FAIL() << "a data source without a dataset opened";
    } catch (const EDSError& E) {
        EXPECT_EQ(E.Message(), "Unable to open dataset frDBDataSet2");
    }
}

TEST(DataSource, NullsByFieldTypeAndWideIntegersAsNumbers)
{
    struct TRow
    {
        TFieldType Type;
        const char* Expected;  // value type and text
    };
    const TRow Rows[] = {{ftString, "String:"},  {ftWideString, "String:"}, {ftMemo, "String:"},
                         {ftFloat, "Integer:0"}, {ftDateTime, "Integer:0"}, {ftBoolean, "Boolean:False"},
                         {ftLargeint, "Integer:0"}};
    TMemDataSet D;
    for (const TRow& Row : Rows)
        D.FieldDefs()->Add(FieldTypeName(Row.Type) + "F", Row.Type);
    D.Open();
    D.Append();
    D.Post();
    for (int i = 0; i < int(std::size(Rows)); ++i) {
        SCOPED_TRACE(Rows[i].Expected);
        const Variant V = GetFieldValue(D.Fields(i));
        EXPECT_EQ(VarTypeName(VarType(V)) + u':' + VarToStr(V), QString::fromLatin1(Rows[i].Expected));
    }

    TMemDataSet Wide;
    Wide.FieldDefs()->Add("A", ftLargeint);
    Wide.Open();
    Wide.AppendRecord({Variant(int64_t(5000000000))});
    const Variant Sum = GetFieldValue(Wide.Fields(0)) + Variant(1);
    EXPECT_EQ(VarToStr(Sum), "5000000001");
}

TEST_F(TReportWorld, DataSetAndFieldFromZeroToThreePoints)
{
    struct TRow
    {
        const char* Text;
        TDataSet* Given;
        TDataSet* DataSet;
        const char* Field;
    };
    const TRow Rows[] = {
        {"Name", Query1, Query1, "Name"},
        {"\"A.B\"", Query1, Query1, "A.B"},
        {"Missing", Query1, Query1, ""},
        {"Query1.Amount", nullptr, Query1, "Amount"},
        {"Query1.\"A.B\"", Query2, Query1, "A.B"},
        {"Query1.Code", nullptr, Query1, ""},
        {"DM.Query2.Amount", nullptr, Query2, "Amount"},
        {"FormB.Frame1.Query3.Code", nullptr, Query3, "Code"},
        {"Nowhere.Name", Query1, nullptr, ""},
        {"A.B.C.D.E", Query1, nullptr, ""},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Text);
        TDataSet* D = Row.Given;
        QString Field;
        GetDataSetAndField(QString::fromUtf8(Row.Text), D, Field);
        EXPECT_EQ(D, Row.DataSet);
        EXPECT_EQ(Field, QString::fromLatin1(Row.Field));
    }

    Query2->First();
    Query2->Edit();
    Query2->FieldByName("Amount")->Clear();
    Query2->Post();
    EXPECT_TRUE(FieldIsNull("DM.Query2.Amount"));
    Query2->Next();
    EXPECT_FALSE(FieldIsNull("DM.Query2.Amount"));
    EXPECT_TRUE(FieldIsNull("DM.Query2.Nothing"));
}
