// Editing through queries: write-back by row id, counters, transactions, field
// types of computed columns, and Chinese text and dates on their way through.
#include "DbTestFixture.h"

#include "platform/db/JetSql.h"
#include "platform/rtl/SysUtils.h"

#include <sqlite3.h>

namespace {

using TADOQueryTest = TDbFixture;

TEST_F(TADOQueryTest, NewDatabaseHoldsTheFixedAndReservedRows)
{
    EXPECT_EQ(Render(Open(QStringLiteral("Select * From Power Where PowerIndex > 16 Order By PowerIndex")),
                     {QStringLiteral("PowerName"), QStringLiteral("PowerKey")}),
              QStringLiteral("财务主管|;财务总监|;管理员|;总经理|;修改|"));
    EXPECT_EQ(Open(QStringLiteral("Select * From Power Where PowerIndex <= 16 And PowerName = ''"))->RecordCount(), 16);
    EXPECT_EQ(Render(Open(QStringLiteral("Select * From Setting Order By SettingIndex")), {QStringLiteral("SettingIndex")}),
              QStringLiteral("1;2;3;4"));
    EXPECT_EQ(Render(Open(QStringLiteral("Select * From PrintList Order By ListIndex")), {QStringLiteral("ListIndex")}),
              QStringLiteral("1;2"));
    EXPECT_EQ(Open(QStringLiteral("Select * From PrintBigFont"))->RecordCount(), 1);
    for (const char* Table : {"Customer", "CustomerHide", "Bill", "MoneyTable", "Account"}) {
        SCOPED_TRACE(Table);
        const QString T = QString::fromLatin1(Table);
        const QString Prefix = T == QLatin1String("CustomerHide") ? QStringLiteral("Customer")
            : T == QLatin1String("MoneyTable")                  ? QStringLiteral("Money")
                                                                 : T;
        TADOQuery* Q = Open(QStringLiteral("Select * From ") + T);
        ASSERT_EQ(Q->RecordCount(), 1);
        EXPECT_EQ(Q->FieldByName(Prefix + QStringLiteral("Index"))->AsInteger(), 1);
    }
    TADOQuery* Q = Open(QStringLiteral("Select * From Bill"));
    EXPECT_TRUE(Q->FieldByName(QStringLiteral("BillCreateTime"))->IsNull());
    EXPECT_EQ(Q->FieldByName(QStringLiteral("BillSum"))->AsFloat(), 0.0);
}

TEST_F(TADOQueryTest, CounterIsReadBackAfterPostAndNeverReused)
{
    TADOQuery* Q = Open(QStringLiteral("Select * From Bill"));
    Q->Append();
    Q->FieldByName(QStringLiteral("BillKind"))->SetAsString(QStringLiteral("销售开单"));
    Q->FieldByName(QStringLiteral("BillSum"))->SetAsFloat(100);
    Q->Post();
    const int First = Q->FieldByName(QStringLiteral("BillIndex"))->AsInteger();
    EXPECT_EQ(First, 2);
    EXPECT_EQ(Q->FieldByName(QStringLiteral("BillUser"))->AsString(), QString()); // default read back
    Q->Delete();
    Q->Append();
    Q->FieldByName(QStringLiteral("BillKind"))->SetAsString(QStringLiteral("采购开单"));
    Q->Post();
    EXPECT_EQ(Q->FieldByName(QStringLiteral("BillIndex"))->AsInteger(), 3);
    EXPECT_EQ(Connection->Execute(QStringLiteral("Update Bill Set BillSum = 1 Where BillIndex = 2")), 0);
}

TEST_F(TADOQueryTest, RowsEditedWhileWalkingStayInTheSnapshot)
{
    Seed();
    // The hand-over of a renamed salesman: the condition no longer holds after each post.
    TADOQuery* Q = Open(QStringLiteral("Select * From MoneyTable Where MoneyMan = '业务员甲'"));
    int Walked = 0;
    for (Q->First(); !Q->Eof(); Q->Next()) {
        Q->Edit();
        Q->FieldByName(QStringLiteral("MoneyMan"))->SetAsString(QStringLiteral("业务员丙"));
        Q->Post();
        ++Walked;
    }
    EXPECT_EQ(Walked, 3);
    EXPECT_EQ(Open(QStringLiteral("Select * From MoneyTable Where MoneyMan = '业务员丙'"))->RecordCount(), 3);
}

TEST_F(TADOQueryTest, DeleteLoopsRemoveEveryRow)
{
    Seed();
    TADOQuery* Q = Open(QStringLiteral("Select * From MoneyTable Where MoneyBill = 2"));
    while (!Q->IsEmpty())
        Q->Delete();
    EXPECT_EQ(Open(QStringLiteral("Select * From MoneyTable Where MoneyBill = 2"))->RecordCount(), 0);

    // Deleting selected rows while walking: the walk ends after the last row.
    Q = Open(QStringLiteral("Select * From MoneyTable Where MoneyIndex > 1"));
    Q->First();
    while (!Q->Eof()) {
        if (Q->FieldByName(QStringLiteral("MoneySum"))->AsFloat() < 0)
            Q->Delete();
        else
            Q->Next();
    }
    EXPECT_EQ(Open(QStringLiteral("Select * From MoneyTable Where MoneyIndex > 1"))->RecordCount(), 0);
}

TEST_F(TADOQueryTest, JoinsAndAggregatesAreReadOnly)
{
    Seed();
    const char* ReadOnly[] = {
        "Select * From Account,MoneyTable Where (AccountIndex = MoneyAccount)",
        "Select Sum(BillSum) As TotalMoney From Bill",
        "Select Distinct Customer.* From (Customer Left Join Bill on Customer.CustomerName = Bill.BillUser)",
        "Select BillUser From Bill Group By BillUser",
    };
    for (const char* Sql : ReadOnly) {
        SCOPED_TRACE(Sql);
        TADOQuery* Q = Open(QString::fromUtf8(Sql));
        EXPECT_FALSE(Q->CanModify());
        EXPECT_THROW(Q->Edit(), EDatabaseError);
    }
    EXPECT_TRUE(Open(QStringLiteral("Select * From Parameter Where ParameterType = 2"))->CanModify());
    // One table with a computed column: the table's columns can be edited, the computed one cannot.
    TADOQuery* Q = Open(QStringLiteral("Select ABS(MoneySum) As MSum,* From MoneyTable Where MoneyIndex = 4"));
    ASSERT_TRUE(Q->CanModify());
    EXPECT_TRUE(Q->FieldByName(QStringLiteral("MSum"))->ReadOnly());
    Q->Edit();
    EXPECT_THROW(Q->FieldByName(QStringLiteral("MSum"))->SetAsFloat(1), EDatabaseError);
    Q->FieldByName(QStringLiteral("MoneyRemark"))->SetAsString(QStringLiteral("改"));
    Q->Post();
    EXPECT_EQ(Q->FieldByName(QStringLiteral("MSum"))->AsFloat(), 500.0);
    EXPECT_EQ(Render(Open(QStringLiteral("Select * From MoneyTable Where MoneyIndex = 4")), {QStringLiteral("MoneyRemark")}),
              QStringLiteral("改"));
}

TEST_F(TADOQueryTest, ComputedColumnsHaveFloatOrIntegerTypes)
{
    Seed();
    TADOQuery* Q = Open(QStringLiteral(
        "Select BillIndex,IIF(Round(Sum(MoneySum),2) Is Null,0,Round(Sum(MoneySum),2)) As BillGet,Count(*) As N "
        "From (Bill Left Join MoneyTable On Bill.BillIndex = MoneyTable.MoneyBill) Where BillIndex = 4 Group By BillIndex"));
    EXPECT_EQ(Q->FieldByName(QStringLiteral("BillIndex"))->DataType(), ftAutoInc);
    EXPECT_EQ(Q->FieldByName(QStringLiteral("BillGet"))->DataType(), ftFloat);
    EXPECT_EQ(Q->FieldByName(QStringLiteral("N"))->DataType(), ftInteger);
    Q = Open(QStringLiteral("Select Sum(MoneySum) As TotalMoney From MoneyTable Where MoneyIndex = 99"));
    EXPECT_EQ(Q->FieldByName(QStringLiteral("TotalMoney"))->DataType(), ftFloat);
    EXPECT_TRUE(Q->FieldByName(QStringLiteral("TotalMoney"))->IsNull());
    Q = Open(QStringLiteral("Select * From Bill"));
    const std::pair<const char*, TFieldType> Types[] = {
        {"BillKind", ftWideString}, {"BillCreateTime", ftDate}, {"BillRecordTime", ftDateTime}, {"BillSum", ftFloat}};
    for (const auto& [Name, Type] : Types)
        EXPECT_EQ(Q->FieldByName(QString::fromLatin1(Name))->DataType(), Type) << Name;
    EXPECT_EQ(Open(QStringLiteral("Select * From PrintReport"))->FieldByName(QStringLiteral("ReportEnable"))->DataType(),
              ftBoolean);
}

TEST_F(TADOQueryTest, ChineseTextAndDatesRoundTrip)
{
    TADOQuery* Q = Open(QStringLiteral("Select * From Contact"));
    const QString Long = QString(121, QChar(0x4E2D)) + QStringLiteral("'\"#");
    Q->Append();
    Q->FieldByName(QStringLiteral("ContactContent"))->SetAsString(Long);
    Q->FieldByName(QStringLiteral("ContactRecordTime"))->SetAsDateTime(EncodeDate(2024, 2, 29) + EncodeTime(13, 5, 9, 0));
    Q->FieldByName(QStringLiteral("ContactCreateTime"))->SetAsDateTime(EncodeDate(2024, 3, 1));
    Q->Post();
    const int Index = Q->FieldByName(QStringLiteral("ContactIndex"))->AsInteger();
    Q = Open(QStringLiteral("Select * From Contact Where ContactIndex = %1").arg(Index));
    EXPECT_EQ(Q->FieldByName(QStringLiteral("ContactContent"))->AsString(), Long);
    EXPECT_EQ(Q->FieldByName(QStringLiteral("ContactContent"))->DataType(), ftMemo);
    EXPECT_EQ(FormatDateTime(QStringLiteral("yyyy-mm-dd hh:nn:ss"), Q->FieldByName(QStringLiteral("ContactRecordTime"))->AsDateTime()),
              QStringLiteral("2024-02-29 13:05:09"));
    // Stored in the canonical text form, which other tools read and compare.
    Q = Open(QStringLiteral("Select ContactRecordTime || '' As T From Contact Where ContactCreateTime = #2024-03-01#"));
    EXPECT_EQ(Q->Fields(0)->AsString(), QStringLiteral("2024-02-29 13:05:09"));
}

TEST_F(TADOQueryTest, DocumentDatesMatchDayLiterals)
{
    TADOQuery* Q = Open(QStringLiteral("Select * From Bill"));
    Q->Append();
    // A date picker's value may carry the time it was read at; the document date drops it.
    Q->FieldByName(QStringLiteral("BillCreateTime"))->SetAsDateTime(EncodeDate(2024, 3, 10) + EncodeTime(9, 30, 0, 0));
    Q->FieldByName(QStringLiteral("BillRecordTime"))->SetAsDateTime(EncodeDate(2024, 3, 10) + EncodeTime(9, 30, 0, 0));
    Q->Post();
    const char* Conditions[] = {"BillCreateTime = #2024-03-10#", "BillCreateTime <= #2024-03-10#",
                                "BillCreateTime Between #2024-03-10# And #2024-03-10#",
                                "BillRecordTime Between #2024-03-10# And #2024-03-10 23:59:59#",
                                "BillRecordTime = #2024-03-10 09:30:00#"};
    for (const char* C : Conditions) {
        SCOPED_TRACE(C);
        EXPECT_EQ(Open(QStringLiteral("Select * From Bill Where BillIndex > 1 And ") + QString::fromLatin1(C))->RecordCount(), 1);
    }
}

TEST_F(TADOQueryTest, TransactionsCommitAndRollBack)
{
    EXPECT_EQ(Connection->BeginTrans(), 1);
    Connection->Execute(QStringLiteral("Insert Into Account (AccountName) Values ('甲')"));
    EXPECT_EQ(Connection->BeginTrans(), 2);
    Connection->Execute(QStringLiteral("Insert Into Account (AccountName) Values ('乙')"));
    Connection->RollbackTrans();
    Connection->CommitTrans();
    EXPECT_FALSE(Connection->InTransaction());
    EXPECT_EQ(Render(Open(QStringLiteral("Select * From Account Where AccountIndex > 1")), {QStringLiteral("AccountName")}),
              QStringLiteral("甲"));
    Connection->BeginTrans();
    TADOQuery* Q = Open(QStringLiteral("Select * From Account"));
    Q->Append();
    Q->FieldByName(QStringLiteral("AccountName"))->SetAsString(QStringLiteral("丙"));
    Q->Post();
    Connection->RollbackTrans();
    EXPECT_EQ(Open(QStringLiteral("Select * From Account Where AccountName = '丙'"))->RecordCount(), 0);
    EXPECT_THROW(Connection->CommitTrans(), EDatabaseError);
}

TEST_F(TADOQueryTest, ATransactionTheDatabaseEndedIsOver)
{
    struct TCase { const char* Name; const char* Cause; const char* Write; };
    const TCase Cases[] = {
        {"full disk", "PRAGMA max_page_count = 1", "Insert Into Account (AccountName) Values (hex(zeroblob(20000)))"},
        {"rolled back by a trigger", "Create Trigger Refuse Before Insert On Account Begin Select Raise(Rollback, 'no'); End",
         "Insert Into Account (AccountName) Values ('甲')"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Connection->Execute(QString::fromUtf8(C.Cause));
        ASSERT_EQ(Connection->BeginTrans(), 1);
        EXPECT_THROW(Connection->Execute(QString::fromUtf8(C.Write)), EDatabaseError);
        EXPECT_FALSE(Connection->InTransaction());
        EXPECT_NO_THROW(Connection->RollbackTrans());
        Connection->Close();
        Connection->Open();
    }
    // The next transaction is one of its own, and it holds the write lock from its start.
    EXPECT_EQ(Connection->BeginTrans(), 1);
    sqlite3* Other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(Path.toUtf8().constData(), &Other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(Other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_BUSY);
    sqlite3_close(Other);
    Connection->CommitTrans();
}

TEST_F(TADOQueryTest, QuotedTextNeverBreaksAStatement)
{
    const QString Name = QStringLiteral("O'Neil #2024-01-01# 'x' \"y\"");
    Connection->Execute(QStringLiteral("Insert Into Account (AccountName) Values (") + SqlQuoted(Name) + u')');
    TADOQuery* Q = Open(QStringLiteral("Select * From Account Where AccountName = ") + SqlQuoted(Name));
    ASSERT_EQ(Q->RecordCount(), 1);
    EXPECT_EQ(Q->FieldByName(QStringLiteral("AccountName"))->AsString(), Name);
}

TEST_F(TADOQueryTest, NamesSortByPinyin)
{
    // 材 and 李 share their first two UTF-8 bytes.
    for (const char* Name : {"张三", "李四", "张三丰", "王五", "阿里", "abc", "Bcd", "材料"})
        Connection->Execute(QStringLiteral("Insert Into Account (AccountName) Values ('%1')").arg(QString::fromUtf8(Name)));
    EXPECT_EQ(Render(Open(QStringLiteral("Select * From Account Where AccountIndex > 1 Order By AccountName")),
                     {QStringLiteral("AccountName")}),
              QStringLiteral("abc;Bcd;阿里;材料;李四;王五;张三;张三丰"));
    EXPECT_EQ(Render(Open(QStringLiteral("Select * From Account Where AccountIndex > 1 Order By Account.AccountName Desc")),
                     {QStringLiteral("AccountName")}),
              QStringLiteral("张三丰;张三;王五;李四;材料;阿里;Bcd;abc"));
}

TEST_F(TADOQueryTest, FileStaysReadableByPlainSqlite)
{
    Seed();
    Connection->Close();
    sqlite3* Db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(Path.toUtf8().constData(), &Db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    char* Err = nullptr;
    EXPECT_EQ(sqlite3_exec(Db, "PRAGMA integrity_check; SELECT * FROM Customer ORDER BY CustomerName;", nullptr,
                           nullptr, &Err), SQLITE_OK)
        << (Err ? Err : "");
    sqlite3_free(Err);
    sqlite3_close(Db);
}

TEST_F(TADOQueryTest, FailuresRaiseDatabaseErrors)
{
    const char* Bad[] = {"Select * From NoSuchTable", "Select * From Bill Where BillCreateTime = #2024-13-45#",
                         "Select * From Bill Where BillUser = 'unterminated", "Select * From Bill Where BillSum Between 1"};
    for (const char* Sql : Bad) {
        SCOPED_TRACE(Sql);
        EXPECT_THROW(Open(QString::fromUtf8(Sql)), EDatabaseError);
        EXPECT_FALSE(Query->Active());
    }
    TADOConnection Missing;
    Missing.SetConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + Dir.filePath(QStringLiteral("none.mdb")));
    EXPECT_THROW(Missing.Open(), EDatabaseError);
    EXPECT_FALSE(QFile::exists(Dir.filePath(QStringLiteral("none.mdb"))));
    EXPECT_THROW(CreateDatabaseFile(Path, SchemaText()), EDatabaseError);
}

TEST_F(TADOQueryTest, RefreshRereadsAndKeepsFieldsAndPosition)
{
    Seed();
    TADOQuery* Q = Open(QStringLiteral("Select * From Bill Where BillIndex > 1 Order By BillIndex"));
    Q->SetRecNo(2);
    TField* User = Q->FieldByName(QStringLiteral("BillUser"));
    Connection->Execute(QStringLiteral("Update Bill Set BillUser = '赵六' Where BillIndex = 3"));
    EXPECT_EQ(User->AsString(), QStringLiteral("李四商行")); // a snapshot until refreshed
    int Refreshes = 0;
    Q->AfterRefresh = [&](TDataSet*) { ++Refreshes; };
    Q->Refresh();
    EXPECT_EQ(Refreshes, 1);
    EXPECT_EQ(Q->FieldByName(QStringLiteral("BillUser")), User);
    EXPECT_EQ(Q->RecNo(), 2);
    EXPECT_EQ(User->AsString(), QStringLiteral("赵六"));
}

TEST_F(TADOQueryTest, WritingAVanishedRowFailsAndKeepsTheEdit)
{
    Seed();
    TADOQuery* Q = Open(QStringLiteral("Select * From Account Where AccountIndex = 3"));
    Connection->Execute(QStringLiteral("Delete From Account Where AccountIndex = 3"));
    Q->Edit();
    Q->FieldByName(QStringLiteral("AccountBase"))->SetAsFloat(7);
    EXPECT_THROW(Q->Post(), EDatabaseError);
    EXPECT_EQ(Q->State(), dsEdit);
    EXPECT_EQ(Q->FieldByName(QStringLiteral("AccountBase"))->AsFloat(), 7.0);
    Q->Cancel();
    EXPECT_THROW(Q->Delete(), EDatabaseError);
    EXPECT_EQ(Q->RecordCount(), 1);
}

TEST_F(TADOQueryTest, ClosingTheConnectionClosesItsQueries)
{
    Open(QStringLiteral("Select * From Bill"));
    Connection->Close();
    EXPECT_FALSE(Query->Active());
}

} // namespace
