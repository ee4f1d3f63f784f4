// TFormMain: the two monthly reports. Every figure is read first; only then
// are the scratch tables PrintReport and PrintList written, in one
// transaction, and the report printed from the enabled PrintReport rows.
#include "app/MainForm.h"

#include "app/CardQueries.h"
#include "app/ProgressForm.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/Field.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Buttons.h"
#include "report/engine/FR_Class.h"

#include <QHash>
#include <QTabWidget>
#include <array>
#include <optional>
#include <vector>

namespace {

// One printed row: the name and five amounts.
struct TMonthRow
{
    QString Name;
    std::array<double, 5> Values{};
};

struct TMonthBounds
{
    QString First; // "#...#" literals
    QString Last;
    QString Period; // e.g. "2024年3月份"
};

TMonthBounds MonthBounds(TDateTime Day)
{
    int Year, Month, D;
    DecodeDate(Day, Year, Month, D);
    const TDateTime First = EncodeDate(Year, Month, 1);
    return {JetDateLiteral(First), JetDateLiteral(IncMonth(First, 1) - 1),
            QString::number(Year) + QStringLiteral("年") + QString::number(Month) + QStringLiteral("月份")};
}

// The single sum of SQL, 0 over no rows; nullopt when the statement failed
// (its message has been shown).
std::optional<double> Total(const QString& SQL)
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp2;
    if (!OpenSQL(Q, SQL, QStringLiteral("数据库打开失败")))
        return std::nullopt;
    TField* F = Q->FindField(QStringLiteral("TotalMoney"));
    return F && !Q->IsEmpty() && !F->IsNull() ? F->AsFloat() : 0.0;
}

// Hides the progress window on every way out.
struct TProgressShown
{
    TProgressShown()
    {
        if (FormProgress) {
            FormProgress->Show();
            FormProgress->SetProgress(25);
        }
    }
    ~TProgressShown() { Hide(); }
    void Step(int Position)
    {
        if (FormProgress)
            FormProgress->SetProgress(Position);
    }
    void Hide()
    {
        if (FormProgress)
            FormProgress->Hide();
    }
};

// Names compare as the name columns do: ASCII letters in any case.
QString NameKey(const QString& Name)
{
    QString Key = Name;
    for (QChar& C : Key)
        if (C.unicode() < 128)
            C = C.toLower();
    return Key;
}

// The sums of a statement grouped by its first column, keyed by NameKey;
// nullopt when it failed (its message has been shown).
std::optional<QHash<QString, double>> GroupedTotals(const QString& SQL)
{
    TADOQuery* Q = ShareDataModule->ADOQueryTemp2;
    if (!OpenSQL(Q, SQL, QStringLiteral("数据库打开失败")))
        return std::nullopt;
    QHash<QString, double> Totals;
    TField* Name = Q->Fields(0);
    TField* Sum = Q->FieldByName(QStringLiteral("TotalMoney"));
    for (Q->First(); !Q->Eof(); Q->Next())
        Totals.insert(NameKey(Name->AsString()), Sum->IsNull() ? 0.0 : Sum->AsFloat());
    Q->Close();
    return Totals;
}

// The five figures of every customer, one grouped statement per figure
// rather than five statements per customer.
std::optional<std::vector<TMonthRow>> CustomerRows(const std::vector<std::pair<QString, double>>& Customers,
                                                   const TMonthBounds& B)
{
    const QString InMonthBill = QStringLiteral(" And (BillCreateTime Between ") + B.First + QStringLiteral(" And ")
                                + B.Last + u')';
    const QString InMonthMoney = QStringLiteral(" Where (MoneyCreateTime Between ") + B.First + QStringLiteral(" And ")
                                 + B.Last + u')';
    const QString Statements[] = {
        QStringLiteral("Select BillUser, ABS(SUM(BillSum)) As TotalMoney From Bill Where (BillKind = '采购开单')")
            + InMonthBill + QStringLiteral(" Group By BillUser"),
        QStringLiteral("Select BillUser, SUM(BillSum) As TotalMoney From Bill Where (BillKind = '销售开单')")
            + InMonthBill + QStringLiteral(" Group By BillUser"),
        QStringLiteral("Select MoneyUser, SUM(MoneySum) As TotalMoney From MoneyTable") + InMonthMoney
            + QStringLiteral(" Group By MoneyUser"),
        QStringLiteral("Select BillUser, Sum(BillSum) As TotalMoney From Bill Where ((BillKind = '销售开单') Or "
                       "(BillKind = '采购开单')) And (BillCreateTime < ")
            + B.First + QStringLiteral(") Group By BillUser"),
        QStringLiteral("Select MoneyUser, Sum(MoneySum) As TotalMoney From MoneyTable Where (MoneyCreateTime < ")
            + B.First + QStringLiteral(") Group By MoneyUser"),
    };
    std::vector<QHash<QString, double>> Totals;
    for (const QString& SQL : Statements) {
        std::optional<QHash<QString, double>> T = GroupedTotals(SQL);
        if (!T)
            return std::nullopt;
        Totals.push_back(std::move(*T));
    }
    std::vector<TMonthRow> Rows;
    Rows.reserve(Customers.size());
    for (const auto& [Name, Owe] : Customers) {
        const QString Key = NameKey(Name);
        const double Purchases = Totals[0].value(Key), Sales = Totals[1].value(Key), Received = Totals[2].value(Key);
        const double Opening = Owe + Totals[3].value(Key) - Totals[4].value(Key);
        Rows.push_back({Name, {Purchases, Sales, Received, Opening, Opening + Sales - Purchases - Received}});
    }
    return Rows;
}

std::optional<TMonthRow> AccountRow(const QString& Name, int Index, double Base, const TMonthBounds& B)
{
    const QString Account = QStringLiteral(" From Account,MoneyTable Where (AccountIndex > 1) And (AccountIndex = "
                                           "MoneyAccount) And (AccountIndex = ")
                            + QString::number(Index) + u')';
    const QString InMonth = QStringLiteral(" And (MoneyCreateTime Between ") + B.First + QStringLiteral(" And ")
                            + B.Last + u')';
    const auto Before = Total(QStringLiteral("Select Sum(MoneySum) As TotalMoney") + Account
                              + QStringLiteral(" And (MoneyCreateTime < ") + B.First + u')');
    if (!Before)
        return std::nullopt;
    const auto Income = Total(QStringLiteral("Select Sum(MoneySum) As TotalMoney") + Account
                              + QStringLiteral(" And (MoneySum > 0)") + InMonth);
    if (!Income)
        return std::nullopt;
    const auto Expense = Total(QStringLiteral("Select ABS(Sum(MoneySum)) As TotalMoney") + Account
                               + QStringLiteral(" And (MoneySum < 0)") + InMonth);
    if (!Expense)
        return std::nullopt;
    const double Opening = Base + *Before;
    const double Net = *Income - *Expense;
    return TMonthRow{Name, {Opening, *Income, *Expense, Net, Opening + Net}};
}

// Rows enabled in order, then the total row; PrintReport grows to hold them
// all and its other rows are disabled. Raises on failure.
void WritePrintReport(const std::vector<TMonthRow>& Rows)
{
    TADOConnection* Connection = ShareDataModule->ADOConnection1;
    TADOQuery* Q = ShareDataModule->ADOQueryTemp;
    OpenOrRaise(Q, QStringLiteral("Select Count(*) As N From PrintReport"));
    const int Have = Q->Fields(0)->AsInteger();
    const int Need = int(Rows.size()) + 2;
    for (int I = Have; I < Need; ++I)
        Connection->Execute(QStringLiteral("Insert Into PrintReport (ReportEnable) Values (False)"));
    Connection->Execute(QStringLiteral("Update PrintReport Set ReportEnable = False"));

    TMonthRow Sum{QStringLiteral("总合计"), {}};
    for (const TMonthRow& Row : Rows)
        for (size_t V = 0; V < Row.Values.size(); ++V)
            Sum.Values[V] += Row.Values[V];
    OpenOrRaise(Q, QStringLiteral("Select * From PrintReport"));
    Q->First();
    auto Write = [Q](const TMonthRow& Row) {
        Q->Edit();
        Q->FieldByName(QStringLiteral("ReportEnable"))->SetAsBoolean(true);
        Q->FieldByName(QStringLiteral("ReportGrid1"))->SetAsString(Row.Name);
        for (size_t V = 0; V < Row.Values.size(); ++V)
            Q->FieldByName(QStringLiteral("ReportGrid%1").arg(V + 2))->SetAsString(RoundStr(Row.Values[V]));
        for (int Empty = 7; Empty <= 9; ++Empty)
            Q->FieldByName(QStringLiteral("ReportGrid%1").arg(Empty))->SetAsString(QString());
        Q->Post();
        Q->Next();
    };
    for (const TMonthRow& Row : Rows)
        Write(Row);
    Write(Sum);
}

void WritePrintList(int Index, const QString& Value)
{
    ShareDataModule->ADOConnection1->Execute(QStringLiteral("Update PrintList Set ListValue = ") + SqlQuoted(Value)
                                             + QStringLiteral(" Where ListIndex = ") + QString::number(Index));
}

// Writes the rows, the period and the title, and opens what the report
// prints in the same transaction: another copy of the program printing at the
// same moment writes the same two tables, and a read after the commit could
// find its rows and title. The queries keep what they read, so the report
// prints it after the commit.
bool WriteAndOpen(TFormMain* Main, const std::vector<TMonthRow>& Rows, const QString& Period, const QString& Title)
{
    return RunInTransaction([&] {
        WritePrintReport(Rows);
        WritePrintList(1, Period);
        WritePrintList(2, Title);
        // The templates read the period and the title from the two scratch queries.
        OpenOrRaise(Main->ADOQueryBig, QStringLiteral("Select * From PrintReport Where ReportEnable = True"));
        OpenOrRaise(ShareDataModule->ADOQueryTemp, QStringLiteral("Select * From PrintList Where ListIndex = 1"));
        OpenOrRaise(ShareDataModule->ADOQueryTemp2, QStringLiteral("Select * From PrintList Where ListIndex = 2"));
    });
}

// Writes and opens the report's rows and shows it when it prepares.
void PrintMonthReport(TFormMain* Main, TProgressShown& Progress, const std::vector<TMonthRow>& Rows,
                      const QString& Period, const QString& Title, const QString& Template)
{
    Progress.Step(100);
    const bool Opened = WriteAndOpen(Main, Rows, Period, Title);
    Progress.Hide();
    if (!Opened)
        return;
    if (!LoadReportTemplate(Main->frReport1, AppPath + Template))
        return;
    if (Main->frReport1->PrepareReport())
        Main->frReport1->ShowReport();
}

} // namespace

void TFormMain::BuildReportButtons()
{
    BigReport = new TSpeedButton(TabSheet8);
    BigReport->setObjectName(QStringLiteral("BigReport"));
    BigReport->SetCaption(QStringLiteral("客户报表"));
    // Under the sort boxes: the row of page buttons is full.
    BigReport->setGeometry(8, 478, 96, 24);
    BigReport->OnClick = [this](QObject* Sender) { ActionCustomerReportExecute(Sender); };
    MoneyMonth = new TSpeedButton(TabSheet3);
    MoneyMonth->setObjectName(QStringLiteral("MoneyMonth"));
    MoneyMonth->SetCaption(QStringLiteral("帐户报表"));
    MoneyMonth->setGeometry(8, 448, 96, 26);
    MoneyMonth->OnClick = [this](QObject* Sender) { ActionAccountReportExecute(Sender); };
    AnalysisButton = new TSpeedButton(TabSheet2);
    AnalysisButton->setObjectName(QStringLiteral("ActionAnalysis"));
    AnalysisButton->SetCaption(QStringLiteral("经营报表"));
    AnalysisButton->setGeometry(520, 6, 96, 26);
    AnalysisButton->OnClick = [this](QObject* Sender) { ActionAnalysisExecute(Sender); };
}

void TFormMain::ActionCustomerReportExecute(QObject*)
{
    TProgressShown Progress;
    const TMonthBounds Bounds = MonthBounds(WorkingDay());
    TADOQuery* Customers = ShareDataModule->ADOQueryTemp;
    if (!OpenSQL(Customers, CardStatement(ckCustomer, CardSettings(ckCustomer)), QStringLiteral("刷新客户时出错")))
        return;
    if (Customers->IsEmpty()) {
        Progress.Hide();
        ShowMessage(QStringLiteral("无客户记录可以统计"));
        return;
    }
    std::vector<std::pair<QString, double>> Names;
    for (Customers->First(); !Customers->Eof(); Customers->Next())
        Names.emplace_back(Customers->FieldByName(QStringLiteral("CustomerName"))->AsString(),
                           Customers->FieldByName(QStringLiteral("CustomerOwe"))->AsFloat());
    Progress.Step(50);
    const std::optional<std::vector<TMonthRow>> Rows = CustomerRows(Names, Bounds);
    if (!Rows)
        return;
    PrintMonthReport(this, Progress, *Rows, Bounds.Period, QStringLiteral("各客户应收款"),
                     QStringLiteral("Frf/CustomerMonth.frf"));
}

void TFormMain::ActionAccountReportExecute(QObject*)
{
    TProgressShown Progress;
    const TMonthBounds Bounds = MonthBounds(WorkingDay());
    TADOQuery* Accounts = ShareDataModule->ADOQueryTemp;
    if (!OpenSQL(Accounts, QStringLiteral("Select * From Account Where (AccountIndex > 1)") + AccountFilter,
                 QStringLiteral("数据库打开失败")))
        return;
    if (Accounts->IsEmpty())
        return;
    struct TAccount { QString Name; int Index; double Base; };
    std::vector<TAccount> List;
    for (Accounts->First(); !Accounts->Eof(); Accounts->Next())
        List.push_back({Accounts->FieldByName(QStringLiteral("AccountName"))->AsString(),
                        Accounts->FieldByName(QStringLiteral("AccountIndex"))->AsInteger(),
                        Accounts->FieldByName(QStringLiteral("AccountBase"))->AsFloat()});
    Progress.Step(50);
    std::vector<TMonthRow> Rows;
    Rows.reserve(List.size());
    for (const TAccount& A : List) {
        std::optional<TMonthRow> Row = AccountRow(A.Name, A.Index, A.Base, Bounds);
        if (!Row)
            return;
        Rows.push_back(std::move(*Row));
    }
    // The account report writes its own title rather than keep the customer report's.
    PrintMonthReport(this, Progress, Rows, Bounds.Period, QStringLiteral("各帐户收支汇总"),
                     QStringLiteral("Frf/MoneyMonth.frf"));
}
