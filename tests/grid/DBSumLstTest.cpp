#include "GridTestUtil.h"
#include "grid/DBSumLst.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/DataSource.h"
#include "platform/db/MemDataSet.h"
#include "platform/db/NewDatabase.h"
#include "platform/rtl/Classes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Rows of Id and Amount; a null Amount is written as NaN in the table.
constexpr double Null = -999999;

class TSumListTest : public ::testing::TestWithParam<bool>
{
public:
    void Build(const std::vector<double>& Amounts, bool Sequenced = true)
    {
        Data = std::make_unique<TMemDataSet>();
        Data->FieldDefs()->Add(QStringLiteral("Id"), ftInteger);
        Data->FieldDefs()->Add(QStringLiteral("Amount"), ftFloat);
        Data->FieldDefs()->Add(QStringLiteral("Note"), ftWideString, 20);
        Data->SetSequenced(Sequenced);
        Data->Open();
        int Id = 0;
        for (double A : Amounts)
            Data->AppendRecord({Variant(++Id), A == Null ? Variant::Null() : Variant(A), Variant("x")});
        Data->First();
        Sums = std::make_unique<TDBSumListProducer>(nullptr);
        Sums->SetDataSet(Data.get());
        Sum = AddSum(goSum, "Amount");
        Avg = AddSum(goAvg, "Amount");
        CountField = AddSum(goCount, "Amount");
        CountAll = AddSum(goCount, "");
        Sums->SetActive(true);
    }

    TDBSum* AddSum(TGroupOperation Op, const char* Field)
    {
        TDBSum* S = Sums->SumCollection()->Add();
        S->SetGroupOperation(Op);
        S->SetFieldName(QString::fromUtf8(Field));
        return S;
    }

    // sum|avg|count of Amount|count of records, each times 10000.
    QString Render() const
    {
        return QStringLiteral("%1|%2|%3|%4")
            .arg(Sum->SumValue()).arg(Avg->SumValue()).arg(CountField->SumValue()).arg(CountAll->SumValue());
    }

    void GoTo(int Id) { ASSERT_TRUE(Data->Locate(QStringLiteral("Id"), Variant(Id))); }

    void SetAmount(double A)
    {
        if (A == Null)
            Data->FieldByName(QStringLiteral("Amount"))->Clear();
        else
            Data->FieldByName(QStringLiteral("Amount"))->SetAsFloat(A);
    }

    std::unique_ptr<TMemDataSet> Data;
    std::unique_ptr<TDBSumListProducer> Sums;
    TDBSum* Sum = nullptr;
    TDBSum* Avg = nullptr;
    TDBSum* CountField = nullptr;
    TDBSum* CountAll = nullptr;
};

TEST_F(TSumListTest, FullPassSumsAveragesAndCounts)
{
    struct TRow
    {
        const char* Name;
        std::vector<double> Amounts;
        const char* Expected;
    };
    const TRow Rows[] = {
        {"empty", {}, "0|0|0|0"},
        {"mixed with a null", {1.5, Null, 2.25, 3}, "67500|22500|30000|40000"},
        {"all null average is 0", {Null, Null}, "0|0|0|20000"},
        {"average 1.5 rounds up to even", {0.0001, 0.0002}, "3|2|20000|20000"},
        {"average 2.5 rounds down to even", {0.0001, 0.0004}, "5|2|20000|20000"},
        {"negative average -1.5 rounds to -2", {-0.0001, -0.0002}, "-3|-2|20000|20000"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        Build(Row.Amounts);
        EXPECT_EQ(Render(), QString::fromUtf8(Row.Expected));
    }
}

// Each edit sequence is checked against its expected totals and against a fresh
// full pass, on a dataset with record numbers and on one without.
TEST_P(TSumListTest, InPlaceUpdatesMatchAFullPass)
{
    struct TRow
    {
        const char* Name;
        std::function<void(TSumListTest*)> Steps;
        const char* Expected;
    };
    const TRow Rows[] = {
        {"edit a value", [](TSumListTest* T) { T->GoTo(1); T->Data->Edit(); T->SetAmount(10); T->Data->Post(); },
         "152500|50833|30000|40000"},
        {"edit null to 5 counts it", [](TSumListTest* T) { T->GoTo(2); T->Data->Edit(); T->SetAmount(5); T->Data->Post(); },
         "117500|29375|40000|40000"},
        {"edit 3 to null uncounts it", [](TSumListTest* T) { T->GoTo(4); T->Data->Edit(); T->SetAmount(Null); T->Data->Post(); },
         "37500|18750|20000|40000"},
        {"edit then cancel", [](TSumListTest* T) { T->GoTo(1); T->Data->Edit(); T->SetAmount(99); T->Data->Cancel(); },
         "67500|22500|30000|40000"},
        {"append and post", [](TSumListTest* T) { T->Data->Append(); T->SetAmount(2.5); T->Data->Post(); },
         "92500|23125|40000|50000"},
        {"append a null", [](TSumListTest* T) { T->Data->Append(); T->Data->Post(); },
         "67500|22500|30000|50000"},
        {"insert then cancel", [](TSumListTest* T) { T->GoTo(2); T->Data->Insert(); T->SetAmount(7); T->Data->Cancel(); },
         "67500|22500|30000|40000"},
        {"delete a record", [](TSumListTest* T) { T->GoTo(3); T->Data->Delete(); },
         "45000|22500|20000|30000"},
        {"delete a null record", [](TSumListTest* T) { T->GoTo(2); T->Data->Delete(); },
         "67500|22500|30000|30000"},
        {"delete in the middle of an edit", [](TSumListTest* T) { T->GoTo(1); T->Data->Edit(); T->SetAmount(50); T->Data->Delete(); },
         "52500|26250|20000|30000"},
        {"recalculation during an edit", [](TSumListTest* T) {
             T->GoTo(1); T->Data->Edit(); T->SetAmount(10); T->Sums->RecalcAll(); },
         "152500|50833|30000|40000"},
        {"two edits of one record", [](TSumListTest* T) {
             T->GoTo(1); T->Data->Edit(); T->SetAmount(2); T->Data->Post();
             T->Data->Edit(); T->SetAmount(Null); T->Data->Post(); },
         "52500|26250|20000|40000"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        Build({1.5, Null, 2.25, 3}, GetParam());
        Row.Steps(this);
        EXPECT_EQ(Render(), QString::fromUtf8(Row.Expected));
        Sums->RecalcAll();
        EXPECT_EQ(Render(), QString::fromUtf8(Row.Expected)) << "after a full pass";
    }
}

INSTANTIATE_TEST_SUITE_P(Sequencing, TSumListTest, ::testing::Values(true, false),
                         [](const auto& Info) { return Info.param ? "Sequenced" : "Unsequenced"; });

TEST_F(TSumListTest, ANewRecordFilledByOnNewRecordIsCountedOnce)
{
    Build({1, 2});
    Data->OnNewRecord = [](TDataSet* D) { D->FieldByName(QStringLiteral("Amount"))->SetAsFloat(4); };
    Data->Append();
    Data->Post();
    EXPECT_EQ(Render(), QStringLiteral("70000|23333|30000|30000"));
}

TEST_F(TSumListTest, SavedHandlersRunInTheirOrderAndComeBack)
{
    Build({1, 2});
    Sums->SetActive(false);
    QStringList Log;
    Data->AfterPost = [&](TDataSet*) { Log << QStringLiteral("post:%1").arg(Sum->SumValue()); };
    Data->BeforeDelete = [&](TDataSet*) { Log << QStringLiteral("delete:%1").arg(Sum->SumValue()); };
    Data->AfterOpen = [&](TDataSet*) { Log << QStringLiteral("open:%1").arg(Sum->SumValue()); };
    Sums->SetActive(true);
    Data->Edit();
    SetAmount(5);
    Data->Post();   // totals first, then the program's handler
    Data->Delete(); // the program's handler first, then the totals
    Data->Close();
    Data->Open();
    EXPECT_EQ(Log.join(u' '), QStringLiteral("post:70000 delete:70000 open:20000"));
    EXPECT_EQ(Sum->SumValue(), 20000);

    Sums->SetActive(false);
    Log.clear();
    Data->Edit();
    Data->Post();
    EXPECT_EQ(Log.join(u' '), QStringLiteral("post:0")) << "the program's own handler is back";
    EXPECT_FALSE(Data->AfterScroll) << "an empty slot stays empty";
}

TEST_F(TSumListTest, TwoSumListsUnhookInAnyOrder)
{
    Build({1, 2});
    int AppPosts = 0;
    Sums->SetActive(false);
    Data->AfterPost = [&](TDataSet*) { ++AppPosts; };
    Sums->SetActive(true);
    auto Second = std::make_unique<TDBSumListProducer>(nullptr);
    Second->SetDataSet(Data.get());
    TDBSum* S2 = Second->SumCollection()->Add();
    S2->SetFieldName(QStringLiteral("Amount"));
    Second->SetActive(true);
    Sums.reset(); // the first one goes while the second still sits on top of it
    Data->Edit();
    SetAmount(10);
    Data->Post();
    EXPECT_EQ(S2->SumValue(), 120000);
    EXPECT_EQ(AppPosts, 1);
    Second.reset();
    Data->Edit();
    Data->Post();
    EXPECT_EQ(AppPosts, 2);
}

TEST_F(TSumListTest, ExternalRecalcFiresEventsWithoutAScan)
{
    Build({1, 2, 3});
    GoTo(3);
    QStringList Log;
    Sums->OnRecalcAll = [&](TDBSumListProducer*) { Log << QStringLiteral("recalc"); };
    Sums->OnAfterRecalcAll = [&](TDBSumListProducer*) { Log << QStringLiteral("after"); };
    Sums->SumListChanged = [&](TDBSumListProducer*) { Log << QStringLiteral("changed"); };
    Sums->SetExternalRecalc(true);
    EXPECT_EQ(Log.join(u' '), QStringLiteral("recalc after changed"));
    EXPECT_EQ(Render(), QStringLiteral("0|0|0|0"));
    EXPECT_EQ(Data->RecNo(), 3);
    Sums->SetExternalRecalc(false);
    EXPECT_EQ(Sum->SumValue(), 60000);
    EXPECT_EQ(Data->RecNo(), 1) << "a pass leaves the dataset on its first record";
}

TEST_F(TSumListTest, AFailedPassGivesTheControlsBackAndReportsTheChange)
{
    Build({1, 2});
    int Changes = 0;
    Sums->SumListChanged = [&](TDBSumListProducer*) { ++Changes; };
    Sums->SumCollection()->BeginUpdate();
    AddSum(goSum, "Note"); // not numbers: the pass fails on the first record
    EXPECT_ANY_THROW(Sums->SumCollection()->EndUpdate());
    EXPECT_FALSE(Data->ControlsDisabled());
    EXPECT_FALSE(Sums->Recalculating());
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Render(), QStringLiteral("0|0|0|0"));
}

TEST_F(TSumListTest, AFilterChangeRecalculates)
{
    Build({1, 2, 3});
    Data->SetFilter(QStringLiteral("Amount > 1"));
    Data->SetFiltered(true);
    Data->First(); // the change is noticed on the next scroll
    EXPECT_EQ(Sum->SumValue(), 50000);
    Data->SetFilter(QStringLiteral("Amount > 2"));
    Data->First();
    EXPECT_EQ(Sum->SumValue(), 30000);
    Data->SetFiltered(false);
    Data->First();
    EXPECT_EQ(Sum->SumValue(), 60000);
}

// Rows another user changes in the database: the totals follow a refresh,
// and a delete the database refuses takes nothing off.
TEST(TSumListOverADatabase, TotalsFollowWhatTheDatabaseDid)
{
    struct TRow
    {
        const char* Name;
        const char* OtherUser;
        std::function<void(TADOQuery*)> OnSecondRecord;
        double Expected;
    };
    const TRow Rows[] = {
        {"a refresh reads the raised amounts", "Update T Set Amount = Amount + 100",
         [](TADOQuery* Q) { Q->Refresh(); EXPECT_EQ(Q->RecNo(), 2) << "the refresh keeps its record"; }, 6300},
        {"a refused delete keeps the record's amount", "Delete From T Where Id = 2",
         [](TADOQuery* Q) { EXPECT_THROW(Q->Delete(), EDatabaseError); Q->Next(); }, 6000},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QTemporaryDir Dir;
        const QString Path = Dir.filePath(QStringLiteral("sums.mdb"));
        CreateDatabaseFile(Path, QStringLiteral("Create Table T (Id Integer, Amount Double);"
                                                "Insert Into T Values (1, 1000), (2, 2000), (3, 3000);"));
        TADOConnection Connection;
        Connection.SetConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + Path);
        Connection.Open();
        TADOQuery Query;
        Query.SetConnection(&Connection);
        Query.SQL()->Add(QStringLiteral("Select * From T Order By Id"));
        Query.Open();
        TDBSumListProducer Sums(nullptr);
        Sums.SetDataSet(&Query);
        TDBSum* Sum = Sums.SumCollection()->Add();
        Sum->SetFieldName(QStringLiteral("Amount"));
        Sums.SetActive(true);
        Connection.Execute(QString::fromUtf8(Row.OtherUser));
        Query.Next();
        Row.OnSecondRecord(&Query);
        EXPECT_EQ(Sum->Value(), Row.Expected);
    }
}

TEST_F(TSumListTest, VirtualRecordsNumberAnUnsequencedDataSet)
{
    Build({1, 2, 3}, false);
    EXPECT_EQ(Sums->GetRecordCount(), -1);
    Sums->SetVirtualRecords(true);
    EXPECT_EQ(Sums->GetRecordCount(), 3);
    EXPECT_TRUE(Sums->IsSequenced());
    GoTo(3);
    EXPECT_EQ(Sums->GetRecNo(), 3);
    Sums->SetRecNo(2);
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Id"))->AsInteger(), 2);

    GoTo(1);
    Data->Insert(); // sorts before every other record
    Data->FieldByName(QStringLiteral("Id"))->SetAsInteger(0);
    EXPECT_EQ(Sums->GetRecordCount(), 3) << "not counted before it is posted";
    Data->Post();
    EXPECT_EQ(Sums->GetRecordCount(), 4);
    EXPECT_EQ(Sums->GetRecNo(), 1);
    GoTo(3);
    EXPECT_EQ(Sums->GetRecNo(), 4);

    Data->Insert();
    Data->Cancel();
    EXPECT_EQ(Sums->GetRecordCount(), 4);
    GoTo(2);
    Data->Delete();
    EXPECT_EQ(Sums->GetRecordCount(), 3);
    GoTo(3);
    EXPECT_EQ(Sums->GetRecNo(), 3);
    for (int i = 0; i + 1 < Sums->VirtualRecordCount(); ++i)
        EXPECT_LT(Data->CompareBookmarks(Sums->VirtualRecord(i), Sums->VirtualRecord(i + 1)), 0);
}

TEST_F(TSumListTest, ADetailFollowsItsMasterAndADestroyedDataSetIsForgotten)
{
    Build({1, 2});
    TMemDataSet Master;
    Master.FieldDefs()->Add(QStringLiteral("K"), ftInteger);
    Master.Open();
    Master.AppendRecord({Variant(1)});
    Master.AppendRecord({Variant(2)});
    TDataSource MasterSource;
    MasterSource.SetDataSet(&Master);
    Sums->SetActive(false);
    Data->SetMasterSource(&MasterSource);
    Sums->SetActive(true);
    int Recalcs = 0;
    Sums->OnRecalcAll = [&](TDBSumListProducer*) { ++Recalcs; };
    Master.Next();
    EXPECT_EQ(Recalcs, 1);
    Data.reset();
    EXPECT_EQ(Sums->DataSet(), nullptr);
    EXPECT_FALSE(Sums->Hooked());
    Master.Next(); // the master's slot must not call into the forgotten hook
    Sums.reset();
}

} // namespace
