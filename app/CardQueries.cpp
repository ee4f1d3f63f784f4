// The card pages' statements and totals.
#include "app/CardQueries.h"

#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/Field.h"
#include "platform/db/JetSql.h"
#include "platform/rtl/GbkText.h"

#include <QHash>
#include <QStringList>
#include <cmath>

namespace {

QStringList* StatementLog = nullptr;

bool OpenCardSQL(TADOQuery* Q, const QString& SQL, const QString& ErrorText)
{
    if (StatementLog)
        StatementLog->append(SQL);
    return OpenSQL(Q, SQL, ErrorText);
}

// Names on cards are cut to what the card has room for, in GBK bytes.
constexpr int NameBytes = 18;

QString Field(TADOQuery* Q, const char* Name)
{
    return Q->FieldByName(QString::fromLatin1(Name))->AsString();
}

double Number(TADOQuery* Q, const char* Name)
{
    TField* F = Q->FieldByName(QString::fromLatin1(Name));
    return F->IsNull() ? 0.0 : F->AsFloat();
}

int Key(TADOQuery* Q, const char* Name)
{
    return Q->FieldByName(QString::fromLatin1(Name))->AsInteger();
}

TDateTime FirstOfMonth(TDateTime Day)
{
    int Y = 0, M = 0, D = 0;
    DecodeDate(Day, Y, M, D);
    return EncodeDate(Y, M, 1);
}

TDateTime LastOfMonth(TDateTime Day)
{
    return IncMonth(FirstOfMonth(Day), 1) - 1;
}


// The direction word goes on every column of the order, so a two-column
// order runs the same way on both.
QString OrderClause(const QStringList& Columns, const QString& Direction)
{
    if (Columns.isEmpty())
        return QString();
    QString Word;
    if (Direction == QStringLiteral("按升序排"))
        Word = QStringLiteral(" Asc");
    else if (Direction == QStringLiteral("按降序排"))
        Word = QStringLiteral(" Desc");
    QStringList Terms;
    for (const QString& C : Columns)
        Terms << C + Word;
    return QStringLiteral(" Order By ") + Terms.join(QLatin1Char(','));
}

QStringList DocumentOrder(const QString& Order, const QString& Prefix)
{
    if (Order == QStringLiteral("按记录号"))
        return {Prefix + QStringLiteral("Index")};
    if (Order == QStringLiteral("按单据号"))
        return {Prefix + QStringLiteral("Serial")};
    if (Order == QStringLiteral("按客户名"))
        return {Prefix + QStringLiteral("User"), Prefix + QStringLiteral("CreateTime")};
    if (Order == QStringLiteral("按日期时间"))
        return {Prefix + QStringLiteral("CreateTime"), Prefix + QStringLiteral("Index")};
    return {};
}

QString RangeClause(const QString& Range, const QString& Column, TDateTime Day)
{
    if (Range == QStringLiteral("当天单据"))
        return QStringLiteral(" And (%1 = %2)").arg(Column, JetDateLiteral(Day));
    if (Range == QStringLiteral("当月单据"))
        return QStringLiteral(" And (%1 Between %2 And %3)")
            .arg(Column, JetDateLiteral(FirstOfMonth(Day)), JetDateLiteral(LastOfMonth(Day)));
    return QString();
}

// The first column of the first row as an amount; an empty sum is 0.
bool SumOf(const QString& SQL, const QString& ErrorText, double& Value)
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp2;
    if (!OpenCardSQL(Q, SQL, ErrorText))
        return false;
    Value = (Q->IsEmpty() || Q->Fields(0)->IsNull()) ? 0.0 : Q->Fields(0)->AsFloat();
    return true;
}

// Amounts per account from one grouped statement: one pass over the money
// rows instead of one statement per account.
bool SumsByAccount(const QString& Where, const QString& ErrorText, QHash<int, double>& Sums)
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp2;
    const QString SQL = QStringLiteral("Select MoneyAccount,ROUND(Sum(MoneySum),2) As TotalMoney From MoneyTable Where ")
                        + Where + QStringLiteral(" Group By MoneyAccount");
    if (!OpenCardSQL(Q, SQL, ErrorText))
        return false;
    for (Q->First(); !Q->Eof(); Q->Next())
        Sums.insert(Q->Fields(0)->AsInteger(), Q->Fields(1)->IsNull() ? 0.0 : Q->Fields(1)->AsFloat());
    return true;
}

struct TCustomerRow
{
    int Index;
    QString Name;
    QString Contact;
    double Owe;
};

bool FillCustomers(TADOQuery* Q, TDateTime Day, TCardPageData& Page)
{
    std::vector<TCustomerRow> Rows;
    for (int I = 0; I < CardsPerPage && !Q->Eof(); ++I, Q->Next())
        Rows.push_back({Key(Q, "CustomerIndex"), Field(Q, "CustomerName"), Field(Q, "CustomerContact"),
                        Number(Q, "CustomerOwe")});
    const QString UpTo = JetDateLiteral(Day);
    for (const TCustomerRow& R : Rows) {
        const QString Name = SqlQuoted(R.Name);
        double B = 0, M = 0;
        if (!SumOf(QStringLiteral("Select Sum(BillSum) As TotalMoney From Bill Where (BillKind = '销售开单' Or "
                                  "BillKind = '采购开单') And (BillUser = %1) And (BillCreateTime <= %2)")
                       .arg(Name, UpTo),
                   QStringLiteral("统计客户货款时出错"), B))
            return false;
        if (!SumOf(QStringLiteral("Select Sum(MoneySum) As TotalMoney From MoneyTable Where (MoneyUser = %1) "
                                  "And (MoneyCreateTime <= %2)")
                       .arg(Name, UpTo),
                   QStringLiteral("统计客户付款时出错"), M))
            return false;
        TCardData C;
        C.Tag = R.Index;
        C.Name = GbkLeft(R.Name, NameBytes);
        C.Type = R.Contact.left(3);
        C.Money = CardAmountText(B);
        C.Extra = CardAmountText(R.Owe + B - M);
        C.Amount = B;
        Page.Cards.push_back(C);
    }
    return true;
}

bool FillBills(TADOQuery* Q, TCardPageData& Page)
{
    for (int I = 0; I < CardsPerPage && !Q->Eof(); ++I, Q->Next()) {
        TCardData C;
        C.Tag = Key(Q, "BillIndex");
        C.Amount = Number(Q, "BillSum");
        C.Name = GbkLeft(Field(Q, "BillUser"), NameBytes);
        C.Money = CardAmountText(std::fabs(C.Amount));
        C.Type = Field(Q, "BillKind").remove(QStringLiteral("开"));
        Page.Cards.push_back(C);
    }
    for (TCardData& C : Page.Cards) {
        double Pay = 0;
        if (!SumOf(QStringLiteral("Select ROUND(SUM(MoneySum),2) As BillPay From MoneyTable Where MoneyBill = %1").arg(C.Tag),
                   QStringLiteral("数据库打开失败"), Pay))
            return false;
        C.Extra = CardAmountText(std::fabs(Pay));
    }
    return true;
}

void FillMoney(TADOQuery* Q, TCardPageData& Page)
{
    for (int I = 0; I < CardsPerPage && !Q->Eof(); ++I, Q->Next()) {
        TCardData C;
        C.Tag = Key(Q, "MoneyIndex");
        C.Amount = Number(Q, "MoneySum");
        C.Name = GbkLeft(Field(Q, "MoneyUser"), NameBytes);
        C.Money = CardAmountText(std::fabs(C.Amount));
        C.Type = C.Amount >= 0 ? QStringLiteral("收入单") : QStringLiteral("支出单");
        C.Extra = Field(Q, "MoneyType") + QStringLiteral("‖") + Field(Q, "MoneyToken");
        Page.Cards.push_back(C);
    }
}

// Accounts: every listed account counts towards the total, on any page.
bool FillAccounts(TADOQuery* Q, TDateTime Day, int Skip, TCardPageData& Page)
{
    QHash<int, double> UpToDay, InMonth;
    if (!SumsByAccount(QStringLiteral("(MoneyCreateTime <= %1)").arg(JetDateLiteral(Day)),
                       QStringLiteral("统计帐户金额时出错"), UpToDay))
        return false;
    if (!SumsByAccount(QStringLiteral("(MoneyCreateTime Between %1 And %2)")
                           .arg(JetDateLiteral(FirstOfMonth(Day)), JetDateLiteral(LastOfMonth(Day))),
                       QStringLiteral("统计帐户金额时出错"), InMonth))
        return false;
    double Total = 0;
    int Row = 0;
    for (Q->First(); !Q->Eof(); Q->Next(), ++Row) {
        const int Index = Key(Q, "AccountIndex");
        const double Balance = Number(Q, "AccountBase") + UpToDay.value(Index, 0.0);
        Total += Balance;
        if (Row < Skip || Row >= Skip + CardsPerPage)
            continue;
        TCardData C;
        C.Tag = Index;
        C.Name = Field(Q, "AccountName");
        C.Money = CardAmountText(Balance);
        C.Extra = CardAmountText(InMonth.value(Index, 0.0));
        C.Amount = Balance;
        Page.Cards.push_back(C);
    }
    Page.SumCaption = QStringLiteral("合计：") + CardAmountText(Total);
    return true;
}

QString MainErrorText(TCardKind Kind)
{
    switch (Kind) {
    case ckCustomer: return QStringLiteral("刷新客户时出错");
    case ckBill: return QStringLiteral("获取单据时出错");
    case ckMoney: return QStringLiteral("获取财务单据时出错");
    case ckAccount: return QStringLiteral("刷新帐户时出错");
    }
    return QString();
}

} // namespace

QString CardPageWord(TCardKind Kind)
{
    switch (Kind) {
    case ckCustomer: return QStringLiteral("Customer");
    case ckBill: return QStringLiteral("Bill");
    case ckMoney: return QStringLiteral("Money");
    case ckAccount: return QStringLiteral("Account");
    }
    return QString();
}

QString CardStatement(TCardKind Kind, const TCardSettings& S)
{
    const TDateTime Day = DateOf(S.WorkingDay);
    switch (Kind) {
    case ckCustomer: {
        // The join only matters to a search that names document columns; the
        // plain list gives the same rows without joining every document.
        const QString From = S.SearchCondition.contains(QStringLiteral("Bill"), Qt::CaseInsensitive)
            ? QStringLiteral("Select Distinct Customer.* From (Customer Left Join Bill on "
                             "Customer.CustomerName = Bill.BillUser)")
            : QStringLiteral("Select Customer.* From Customer");
        QStringList Order;
        if (S.Order == QStringLiteral("按编号排"))
            Order << QStringLiteral("CustomerIndex");
        else if (S.Order == QStringLiteral("按名称排"))
            Order << QStringLiteral("CustomerName");
        return From + QStringLiteral(" Where (CustomerIndex > 1)") + CustomerFilter + S.SearchCondition
               + OrderClause(Order, S.Direction);
    }
    // Row 1 is left out with "<> 1" (counters start at 1): a range on the key
    // would draw SQLite into walking every document in key order instead of
    // taking the day's or month's rows from the date index.
    case ckBill:
        return QStringLiteral("Select * From Bill Where (BillIndex <> 1) And (BillKind = '销售开单' Or BillKind = '采购开单')")
               + RangeClause(S.Range, QStringLiteral("BillCreateTime"), Day) + BillFilter
               + OrderClause(DocumentOrder(S.Order, QStringLiteral("Bill")), S.Direction);
    case ckMoney:
        return QStringLiteral("Select * From MoneyTable Where (MoneyIndex <> 1)")
               + RangeClause(S.Range, QStringLiteral("MoneyCreateTime"), Day) + MoneyFilter
               + OrderClause(DocumentOrder(S.Order, QStringLiteral("Money")), S.Direction);
    case ckAccount:
        return QStringLiteral("Select * From Account Where (AccountIndex > 1)") + AccountFilter;
    }
    return QString();
}

std::optional<TCardPageData> LoadCardPage(TCardKind Kind, const TCardSettings& Settings, int PageIndex)
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    if (!OpenCardSQL(Q, CardStatement(Kind, Settings), MainErrorText(Kind)))
        return std::nullopt;
    TCardPageData Page;
    Page.Count = Q->RecordCount();
    Page.Pages = std::max(1, Page.Count / CardsPerPage + (Page.Count % CardsPerPage != 0 ? 1 : 0));
    // Rows may have gone since the page was chosen: stay on the last page that exists.
    Page.PageIndex = std::clamp(PageIndex, 0, Page.Pages - 1);
    Page.SumCaption = PagingCaption(Page.Count, Page.PageIndex, Page.Pages);
    Page.NextEnabled = Page.Count > 0 && Page.PageIndex + 1 < Page.Pages;
    Page.PriorEnabled = Page.Count > 0 && Page.PageIndex > 0;
    const int Skip = Page.PageIndex * CardsPerPage;
    const TDateTime Day = DateOf(Settings.WorkingDay);
    bool Ok = true;
    if (Kind == ckAccount) {
        Ok = FillAccounts(Q, Day, Skip, Page);
    } else if (Page.Count > 0) {
        Q->First();
        Q->MoveBy(Skip);
        if (Kind == ckCustomer)
            Ok = FillCustomers(Q, Day, Page);
        else if (Kind == ckBill)
            Ok = FillBills(Q, Page);
        else
            FillMoney(Q, Page);
    }
    if (!Ok)
        return std::nullopt;
    for (TCardData& C : Page.Cards)
        C.Icon = AmountIcon(Kind, C.Amount);
    return Page;
}

QString AmountIcon(TCardKind Kind, double Amount)
{
    if (Amount == 0)
        return QStringLiteral("Res/Money0.ico");
    struct TScale
    {
        const char* Colour;
        double T1, T2;
    };
    static const TScale Scales[] = {{"Blue", 30000, 100000}, {"Purple", 3000, 10000},
                                    {"Green", 3000, 10000}, {"Yellow", 30000, 100000}};
    const TScale& S = Scales[static_cast<int>(Kind)];
    const double A = std::fabs(Amount);
    QString Name = QString::fromLatin1(S.Colour) + QLatin1Char('+');
    if (A > S.T1)
        Name += QLatin1Char('+');
    if (A > S.T2)
        Name += QLatin1Char('+');
    return QStringLiteral("Res/") + Name + QStringLiteral(".ico");
}

void SetCardStatementLog(QStringList* Log)
{
    StatementLog = Log;
}

QString PagingCaption(int Count, int PageIndex, int Pages)
{
    return QStringLiteral("共 %1 记录，第 %2/%3 页").arg(Count).arg(PageIndex + 1).arg(Pages);
}

QString CardAmountText(double Value)
{
    return RoundStr(Value) + QStringLiteral(" 元");
}

bool AddAccount(const QString& Name, double Base)
{
    if (Name.isEmpty()) {
        ShowMessage(QStringLiteral("帐户名不得为空"));
        return false;
    }
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    // Checked where it is stored, so that another copy of the program cannot
    // store the same name in between.
    bool Taken = false;
    const bool Stored = RunInTransaction([&] {
        OpenOrRaise(Q, QStringLiteral("Select * From Account Where AccountName = ") + SqlQuoted(Name));
        Taken = !Q->IsEmpty();
        if (Taken)
            return;
        Q->Append();
        Q->FieldByName(QStringLiteral("AccountName"))->SetAsString(Name);
        Q->FieldByName(QStringLiteral("AccountBase"))->SetAsFloat(Base);
        Q->FieldByName(QStringLiteral("AccountMan"))->SetAsString(CurrentUser);
        Q->Post();
    });
    if (!Stored)
        return false;
    if (Taken) {
        ShowMessage(QStringLiteral("该帐户名已经存在，请重新操作"));
        return false;
    }
    ShowMessage(QStringLiteral("帐户　") + Name + QStringLiteral("　新增成功"));
    return true;
}

QString CardDocumentKind(TCardKind Kind, int Tag)
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    const QString SQL = Kind == ckBill ? QStringLiteral("Select * From Bill Where BillIndex = %1").arg(Tag)
                                       : QStringLiteral("Select * From MoneyTable Where MoneyIndex = %1").arg(Tag);
    if (!OpenSQL(Q, SQL, QStringLiteral("单据表打开失败")))
        return QString();
    if (Q->IsEmpty()) {
        ShowMessage(QStringLiteral("找不到要修改的记录"));
        return QString();
    }
    if (Kind == ckBill)
        return Field(Q, "BillKind");
    return Number(Q, "MoneySum") >= 0 ? QStringLiteral("财务收入单") : QStringLiteral("财务支出单");
}
