// Every statement shape the program sends, run through the translator against a
// small database: each row names the statement and the first column of the
// result ("#N" means only the row count is checked, "exec:N" rows affected).
#include "DbTestFixture.h"

#include "platform/rtl/SysUtils.h"

namespace {

struct TStatementCase
{
    const char* Name;
    const char* Sql;
    const char* Expect;
};

#define MONEY_BASE "Select MoneyIndex,MoneyCreateTime,MoneySerial,AccountName,MoneyUser,MoneyIn,MoneyOut,MoneySum,MoneyMan,MoneyReason,MoneyType,MoneyToken,MoneyRemark From Account,MoneyTable Where (AccountIndex = MoneyAccount)"
#define BILL_SELECT "Select BillIndex,BillCreateTime,BillSerial,BillKind,BillUser,BillSum,IIF(Round(Sum(MoneySum),2) Is Null,0,Round(Sum(MoneySum),2)) As BillGet,BillSum-IIF(Round(Sum(MoneySum),2) Is Null,0,Round(Sum(MoneySum),2)) As BillOwe,BillMan,BillReason,BillState,BillRemark From (Bill Left Join MoneyTable On Bill.BillIndex = MoneyTable.MoneyBill)"
#define BILL_GROUP " Group By BillIndex,BillCreateTime,BillSerial,BillKind,BillUser,BillSum,BillMan,BillReason,BillState,BillRemark"

const TStatementCase Cases[] = {
    // start-up, login and users
    {"login buttons", "Select * From Power Where PowerIndex <= 16", "#16"},
    {"salesman slot", "Select * From Power Where PowerIndex = 3", "3"},
    {"role row", "Select * From Power Where PowerName = '管理员'", "19"},
    {"edit password row", "Select * From Power Where PowerName = '修改'", "21"},
    {"salesmen list", "Select * From Power Where PowerRole = '业务员' Order By PowerIndex", "#16"},
    {"hand-over customers", "Select * From Customer Where CustomerMan = '业务员甲'", "2"},
    {"hand-over bills", "Select * From Bill Where BillMan = '业务员甲'", "2,4"},
    {"hand-over money", "Select * From MoneyTable Where MoneyMan = '业务员甲'", "2,3,5"},
    // card pages
    {"customer cards by number desc",
     "Select Distinct Customer.* From (Customer Left Join Bill on Customer.CustomerName = Bill.BillUser) Where (CustomerIndex > 1) Order By CustomerIndex Desc",
     "4,3,2"},
    {"customer cards of a salesman by name",
     "Select Distinct Customer.* From (Customer Left Join Bill on Customer.CustomerName = Bill.BillUser) Where (CustomerIndex > 1) And (CustomerMan = '业务员乙') Order By CustomerName Asc",
     "4,3"},
    {"customer search with business in range",
     "Select Distinct Customer.* From (Customer Left Join Bill on Customer.CustomerName = Bill.BillUser) Where (CustomerIndex > 1) And (InStr(CustomerName,'张')) And (InStr(CustomerPhone,'8888')) And (BillCreateTime Between #2024-03-01# And #2024-03-31#) Order By CustomerIndex Asc",
     "2"},
    {"customer business total",
     "Select Sum(BillSum) As TotalMoney From Bill Where (BillKind = '销售开单' Or BillKind = '采购开单') And (BillUser = '张三公司') And (BillCreateTime <= #2024-03-10#)",
     "1000"},
    {"customer money total",
     "Select Sum(MoneySum) As TotalMoney From MoneyTable Where (MoneyUser = '张三公司') And (MoneyCreateTime <= #2024-03-10#)",
     "900"},
    {"empty sum reads as null", "Select Sum(MoneySum) As TotalMoney From MoneyTable Where (MoneyUser = '无此客户')", ""},
    {"bills of the day",
     "Select * From Bill Where (BillIndex > 1) And (BillKind = '销售开单' Or BillKind = '采购开单') And (BillCreateTime = #2024-03-10#) Order By BillIndex Desc",
     "3"},
    {"bills of the month by customer",
     "Select * From Bill Where (BillIndex > 1) And (BillKind = '销售开单' Or BillKind = '采购开单') And (BillCreateTime Between #2024-03-01# And #2024-03-31#) Order By BillUser,BillCreateTime Asc",
     "3,2"},
    {"bills of a salesman by serial",
     "Select * From Bill Where (BillIndex > 1) And (BillKind = '销售开单' Or BillKind = '采购开单') And (BillMan = '业务员甲') Order By BillSerial Desc",
     "4,2"},
    {"bills by date", "Select * From Bill Where (BillIndex > 1) And (BillKind = '销售开单' Or BillKind = '采购开单') Order By BillCreateTime,BillIndex Desc", "2,3,4"},
    {"document paid", "Select ROUND(SUM(MoneySum),2) As BillPay From MoneyTable Where MoneyBill = 2", "900"},
    {"money of the day", "Select * From MoneyTable Where (MoneyIndex > 1) And (MoneyCreateTime = #2024-03-12#) Order By MoneyIndex Desc", "4"},
    {"money of the month",
     "Select * From MoneyTable Where (MoneyIndex > 1) And (MoneyCreateTime Between #2024-03-01# And #2024-03-31#) And (MoneyMan = '业务员甲') Order By MoneyUser,MoneyCreateTime Asc",
     "2,3"},
    {"money by sum sign order", "Select * From MoneyTable Where (MoneyIndex > 1) Order By MoneySerial Asc", "4,5,2,3"},
    {"accounts of a salesman", "Select * From Account Where (AccountIndex > 1) And (AccountMan = '财务主管' Or AccountMan = '业务员甲')", "2,3"},
    {"account balance", "Select ROUND(Sum(MoneySum),2) As TotalMoney From MoneyTable Where (MoneyAccount = 3) And (MoneyCreateTime <= #2024-03-31#)", "-200"},
    {"account month",
     "Select ROUND(Sum(MoneySum),2) As TotalMoney From MoneyTable Where (MoneyAccount = 2) And (MoneyCreateTime Between #2024-04-01# And #2024-04-30#)",
     "-50"},
    {"bill card click", "Select * From Bill Where BillIndex = 2", "2"},
    {"money card click", "Select * From MoneyTable Where MoneyIndex = 3", "3"},
    {"account by name", "Select * From Account Where AccountName = '现金'", "2"},
    // documents and money documents
    {"parameter list 1", "Select * From Parameter Where ParameterType = 1", "#4"},
    {"parameter list 4", "Select * From Parameter Where ParameterType = 4", "#4"},
    {"customer combo", "Select * From Customer Where (CustomerIndex > 1) And (CustomerMan = '业务员甲')", "2"},
    {"customer by name", "Select * From Customer Where CustomerName = '张三公司'", "2"},
    {"customer name with a quote", "Select * From Customer Where CustomerName = 'O''Neil Trading'", "4"},
    {"customer by index", "Select * From Customer Where CustomerIndex = 3", "3"},
    {"serial row", "Select * From Setting Where SettingIndex = 1", "1"},
    {"all bills", "Select * From Bill", "1,2,3,4"},
    {"linked money grid",
     "Select MoneyIndex,MoneyCreateTime,MoneySerial,AccountName,MoneyIn,MoneyOut,MoneySum From Account,MoneyTable Where (AccountIndex = MoneyAccount) And (MoneyBill = 2)",
     "2,3"},
    {"linked money rows", "Select * From MoneyTable Where MoneyBill = 2", "2,3"},
    {"document print", BILL_SELECT " Where (BillIndex = 2)" BILL_GROUP, "2"},
    {"capital figures row", "Select * From PrintBigFont", "#1"},
    {"accounts combo", "Select * From Account Where (AccountIndex > 1)", "2,3"},
    {"parameter list 3", "Select * From Parameter Where ParameterType = 3", "#4"},
    {"money row with account", "Select * From Account,MoneyTable Where (AccountIndex = MoneyAccount) And (MoneyIndex = 4)", "3"},
    {"all money", "Select * From MoneyTable", "1,2,3,4,5"},
    {"money print", "Select ABS(MoneySum) As MSum,* From MoneyTable Where MoneyIndex = 4", "500"},
    // account window
    {"account month list", MONEY_BASE " And (MoneyAccount = 3) And (MoneyCreateTime Between #2024-03-01# And #2024-03-31#)", "3,4"},
    {"account year list", MONEY_BASE " And (MoneyAccount = 2) And (MoneyCreateTime Between #2024-01-01# And #2024-12-31#)", "2,5"},
    {"account money rows", "Select * From MoneyTable Where MoneyAccount = 3", "3,4"},
    // query lists and their filters
    {"money list by time", MONEY_BASE " Order By MoneyCreateTime,MoneyIndex", "2,3,4,5"},
    {"money list by account", MONEY_BASE " And (MoneyMan = '业务员甲') Order By AccountName,MoneyCreateTime,MoneyIndex", "3,2,5"},
    {"money list by amount", MONEY_BASE " Order By MoneySum Desc,MoneyCreateTime,MoneyIndex", "2,3,5,4"},
    {"bill list by time", BILL_SELECT " Where (BillIndex > 1)" BILL_GROUP " Order By BillCreateTime,BillIndex", "2,3,4"},
    {"bill list by customer", BILL_SELECT " Where (BillIndex > 1) And (BillMan = '业务员甲')" BILL_GROUP " Order By BillUser,BillCreateTime,BillIndex", "2,4"},
    {"bill list by amount", BILL_SELECT " Where (BillIndex > 1)" BILL_GROUP " Order By BillSum Desc,BillCreateTime,BillIndex", "2,4,3"},
    {"receipt filter",
     MONEY_BASE " And (MoneyCreateTime Between #2024-03-01# And #2024-03-31#) And (MoneySum >= 100) And (MoneySum <= 500) And (AccountName = '工商银行') And (MoneyReason = '商品销售') And (MoneyType = '货款') And (MoneyToken = '银行转账') And (MoneySum >= 0) And (InStr(MoneyUser,'张三')) And (InStr(MoneyRemark,'PAID')) And (InStr(MoneySerial,'sk')) And (InStr(MoneyMan,'甲')) Order By MoneyCreateTime,MoneyIndex",
     "3"},
    {"payment filter", MONEY_BASE " And (MoneySum <= -100) And (MoneySum >= -500) And (MoneySum < 0) Order By MoneyCreateTime,MoneyIndex", "4"},
    {"date range picked backwards", MONEY_BASE " And (MoneyCreateTime Between #2024-03-31# And #2024-03-01#) Order By MoneyCreateTime,MoneyIndex", "2,3,4"},
    {"bill filter",
     BILL_SELECT " Where (BillIndex > 1) And (BillCreateTime Between #2024-03-01# And #2024-03-31#) And (BillSum >= 100) And (BillSum <= 5000) And (BillReason = '商品销售') And (BillState = '已签约') And (BillKind = '销售开单') And (InStr(BillUser,'张三')) And (InStr(BillRemark,'#1')) And (InStr(BillSerial,'xs')) And (InStr(BillMan,'业务员'))" BILL_GROUP " Order By BillCreateTime,BillIndex",
     "2"},
    {"purchase amount filter", BILL_SELECT " Where (BillIndex > 1) And (BillSum <= -100) And (BillSum >= -1000)" BILL_GROUP " Order By BillCreateTime,BillIndex", "3"},
    {"bill quick query", BILL_SELECT " Where (BillCreateTime Between #2024-04-01# And #2024-04-30#)" BILL_GROUP " Order By BillCreateTime,BillIndex", "4"},
    {"analysis source", BILL_SELECT " Where (BillIndex > 1)" BILL_GROUP " Order By BillUser,BillCreateTime,BillIndex", "3,2,4"},
    // settings page
    {"parameter list with two blanks", "Select * From Parameter Where ParameterType =  2", "#5"},
    {"parameter duplicate test", "Select * From Parameter Where (ParameterType =  2) And (ParameterValue = '货款')", "#1"},
    // customer windows
    {"customer record", "Select * From Customer Where CustomerIndex = 2", "2"},
    {"prospect by name", "Select * From CustomerHide Where CustomerName = '王五'", "2"},
    {"rename ripple bills", "Select * From Bill Where BillUser = '张三公司'", "2,4"},
    {"rename ripple money", "Select * From MoneyTable Where MoneyUser = '张三公司'", "2,3,5"},
    {"contacts of a customer", "Select * From Contact Where ContactUser = 2", "2"},
    {"customer documents",
     "Select BillIndex,BillCreateTime,BillSerial,BillKind,BillUser,BillSum,IIF(Round(Sum(MoneySum),2) Is Null,0,Round(Sum(MoneySum),2)) As BillGet,BillSum-IIF(Round(Sum(MoneySum),2) Is Null,0,Round(Sum(MoneySum),2)) As BillOwe,BillMan,BillReason From (Bill Left Join MoneyTable On Bill.BillIndex = MoneyTable.MoneyBill) Where (BillIndex > 1) And (BillUser = '张三公司') And (BillMan = '业务员甲') Group By BillIndex,BillCreateTime,BillSerial,BillKind,BillUser,BillSum,BillMan,BillReason Order By BillCreateTime,BillIndex",
     "2,4"},
    {"customer money documents",
     "Select MoneyIndex,MoneyCreateTime,MoneySerial,AccountName,MoneyUser,MoneyIn,MoneyOut,MoneySum,MoneyMan,MoneyReason From Account,MoneyTable Where (AccountIndex = MoneyAccount) And (MoneyUser = '张三公司') Order By MoneyCreateTime,MoneyIndex",
     "2,3,5"},
    {"customer sales", "Select ROUND(Sum(BillSum),2) As TotalMoney From Bill Where (BillKind = '销售开单') And (BillUser = '张三公司') And (BillCreateTime <= #2024-04-01#)", "1200.5"},
    {"customer purchases", "Select ROUND(ABS(Sum(BillSum)),2) As TotalMoney From Bill Where (BillKind = '采购开单') And (BillUser = '李四商行') And (BillCreateTime <= #2024-03-10#)", "500"},
    {"customer month sales list", BILL_SELECT " Where (BillUser = '张三公司') And (BillKind = '销售开单') And (BillCreateTime Between #2024-03-01# And #2024-03-31#)" BILL_GROUP, "2"},
    {"customer receipts list", MONEY_BASE " And (MoneyUser = '张三公司') And (MoneySum >= 0)", "2,3"},
    {"customer payments list", MONEY_BASE " And (MoneyUser = '张三公司') And (MoneySum < 0) And (MoneyCreateTime Between #2024-04-01# And #2024-04-30#)", "5"},
    {"contact append source", "Select * From Contact", "1,2"},
    {"contact record", "Select * From Contact Where ContactIndex = 2", "2"},
    {"prospect list", "Select * From CustomerHide Where (CustomerIndex > 1) And (InStr(CustomerName,'王')) And (InStr(CustomerPhone,'6666'))", "2"},
    {"prospect row", "Select * From CustomerHide Where CustomerIndex = 2", "2"},
    {"phone lookup prospects", "Select * From CustomerHide Where ((InStr(CustomerPhone,'66667777')) Or (InStr(CustomerHandPhone,'66667777')))", "2"},
    {"phone lookup customers", "Select * From Customer Where ((InStr(CustomerPhone,'13800001111')) Or (InStr(CustomerHandPhone,'13800001111'))) And (CustomerMan = '业务员甲')", "2"},
    // monthly reports
    {"print rows", "Select * From PrintReport", "#0"},
    {"clear print rows", "Update PrintReport Set ReportEnable = False", "exec:0"},
    {"enabled print rows", "Select * From PrintReport Where ReportEnable = True", "#0"},
    {"month purchases", "Select ABS(SUM(BillSum)) As TotalMoney From Bill Where (BillKind = '采购开单') And (BillUser = '李四商行') And (BillCreateTime Between #2024-03-01# And #2024-03-31#)", "500"},
    {"month sales", "Select SUM(BillSum) As TotalMoney From Bill Where (BillKind = '销售开单') And (BillUser = '张三公司') And (BillCreateTime Between #2024-03-01# And #2024-03-31#)", "1000"},
    {"month received", "Select SUM(MoneySum) As TotalMoney From MoneyTable Where (MoneyUser = '张三公司') And (MoneyCreateTime Between #2024-03-01# And #2024-03-31#)", "900"},
    {"opening bills", "Select Sum(BillSum) As TotalMoney From Bill Where ((BillKind = '销售开单') Or (BillKind = '采购开单')) And (BillUser = '张三公司') And (BillCreateTime < #2024-04-01#)", "1000"},
    {"opening money", "Select Sum(MoneySum) As TotalMoney From MoneyTable Where (MoneyUser = '张三公司') And (MoneyCreateTime < #2024-04-01#)", "900"},
    {"account opening", "Select Sum(MoneySum) As TotalMoney From Account,MoneyTable Where (AccountIndex > 1) And (AccountIndex = MoneyAccount) And (AccountIndex = 3) And (MoneyCreateTime < #2024-04-01#)", "-200"},
    {"account income", "Select Sum(MoneySum) As TotalMoney From Account,MoneyTable Where (AccountIndex > 1) And (AccountIndex = MoneyAccount) And (AccountIndex = 3) And (MoneySum > 0) And (MoneyCreateTime Between #2024-03-01# And #2024-03-31#)", "300"},
    {"account expense", "Select ABS(Sum(MoneySum)) As TotalMoney From Account,MoneyTable Where (AccountIndex > 1) And (AccountIndex = MoneyAccount) And (AccountIndex = 3) And (MoneySum < 0) And (MoneyCreateTime Between #2024-03-01# And #2024-03-31#)", "500"},
    {"period row", "Select * From PrintList Where ListIndex = 1", "1"},
    {"title row", "Select * From PrintList Where ListIndex = 2", "2"},
};

class TJetStatements : public TDbFixture, public ::testing::WithParamInterface<TStatementCase>
{
};

TEST_P(TJetStatements, RunsAndFindsTheExpectedRows)
{
    Seed();
    const TStatementCase& C = GetParam();
    const QString Sql = QString::fromUtf8(C.Sql);
    const QString Expect = QString::fromUtf8(C.Expect);
    if (Expect.startsWith(QLatin1String("exec:"))) {
        Query->SQL()->SetText(Sql);
        EXPECT_EQ(Query->ExecSQL(), Expect.mid(5).toInt());
        return;
    }
    TADOQuery* Q = Open(Sql);
    if (Expect.startsWith(u'#')) {
        EXPECT_EQ(Q->RecordCount(), Expect.mid(1).toInt());
        return;
    }
    QStringList Values;
    for (Q->First(); !Q->Eof(); Q->Next())
        Values << Q->Fields(0)->AsString();
    EXPECT_EQ(Values.join(u','), Expect);
}

INSTANTIATE_TEST_SUITE_P(Corpus, TJetStatements, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<TStatementCase>& Info) {
                             std::string Name = Info.param.Name;
                             for (char& Ch : Name)
                                 if (!isalnum(static_cast<unsigned char>(Ch)))
                                     Ch = '_';
                             return Name;
                         });

} // namespace
