// The customer side over a firm's data (10,000 customers, 10,000 prospects,
// 100,000 contacts, 200,000 documents, 200,000 money rows): the customer cards
// with a name and period search, the customer window's refresh for a customer
// with 2,000 documents and 100 contacts, and a landline lookup in each scope,
// each against SQLite alone running the same statements. Targets: within 1.5
// times the statements alone, and the customer window under 100 ms. The
// ratios are printed last.
#include "app/CardPage.h"
#include "app/CustomerForm.h"
#include "app/PhoneForm.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/JetSql.h"
#include "BenchDatabase.h"
#include "BenchRatio.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlite3.h>

namespace {

constexpr int Customers = 10000;
constexpr int Prospects = 10000;
constexpr int Contacts = 100000;
constexpr int Documents = 200000;
constexpr int MoneyRows = 200000;
constexpr int Accounts = 100;
// Customer 0 (CustomerIndex 2) has the first 2,000 documents and 100 contacts.
constexpr int BusyDocuments = 2000;
constexpr int BusyContacts = 100;
const TDateTime WorkingDay = EncodeDate(2024, 6, 14);

QTemporaryDir* TempDir()
{
    static QTemporaryDir Dir;
    return &Dir;
}

QByteArray DayText(int I, int Count)
{
    const TDateTime Day = EncodeDate(2023, 1, 1) + static_cast<int>(int64_t(I) * 730 / Count);
    return (FormatDateTime(QStringLiteral("yyyy-mm-dd"), Day) + QStringLiteral(" 00:00:00")).toUtf8();
}

QByteArray CustomerName(int I)
{
    return QStringLiteral("客户%1贸易有限公司").arg(I, 5, 10, QLatin1Char('0')).toUtf8();
}

// Landlines with an area code ("0" + 2-3 digits, "-", 8 digits) and mobiles.
QByteArray Landline(int I, int Salt)
{
    return QStringLiteral("0%1-%2").arg(10 + (I * 7 + Salt) % 890).arg(60000000 + (I * 7919 + Salt) % 39999999).toUtf8();
}

QByteArray Mobile(int I, int Salt)
{
    return QStringLiteral("13%1").arg((I * 104729 + Salt) % 1000000000, 9, 10, QLatin1Char('0')).toUtf8();
}

void Run(sqlite3* Db, const char* Sql, int Count, const std::function<void(sqlite3_stmt*, int)>& Bind)
{
    sqlite3_stmt* S = nullptr;
    sqlite3_prepare_v2(Db, Sql, -1, &S, nullptr);
    for (int I = 0; I < Count; ++I) {
        Bind(S, I);
        sqlite3_step(S);
        sqlite3_reset(S);
    }
    sqlite3_finalize(S);
}

void BindText(sqlite3_stmt* S, int Column, const QByteArray& Text)
{
    sqlite3_bind_text(S, Column, Text.constData(), -1, SQLITE_TRANSIENT);
}

void Fill(sqlite3* Db)
{
    sqlite3_exec(Db, "BEGIN", nullptr, nullptr, nullptr);
    for (const char* Table : {"Customer", "CustomerHide"}) {
        const QByteArray Sql = QByteArray("INSERT INTO ") + Table
            + " (CustomerName, CustomerOwe, CustomerPhone, CustomerHandPhone, CustomerContact, CustomerAddress, "
              "CustomerMan) VALUES (?, ?, ?, ?, '张经理', '上海市浦东新区世纪大道100号', '业务员甲')";
        const int Salt = Table[8] ? 1 : 0;
        Run(Db, Sql.constData(), Salt ? Prospects : Customers, [&](sqlite3_stmt* S, int I) {
            BindText(S, 1, Salt ? QStringLiteral("潜在客户%1").arg(I).toUtf8() : CustomerName(I));
            sqlite3_bind_double(S, 2, (I % 7) * 100.0);
            BindText(S, 3, Landline(I, Salt));
            BindText(S, 4, Mobile(I, Salt));
        });
    }
    Run(Db, "INSERT INTO Account (AccountName, AccountBase, AccountMan) VALUES (?, 0, '财务主管')", Accounts,
        [](sqlite3_stmt* S, int I) { BindText(S, 1, QStringLiteral("帐户%1").arg(I).toUtf8()); });
    Run(Db, "INSERT INTO Contact (ContactUser, ContactRecordTime, ContactCreateTime, ContactHead, ContactContent) "
            "VALUES (?, ?, ?, '电话回访，客户对报价满意', '电话回访，客户对报价满意，下周签约')",
        Contacts, [](sqlite3_stmt* S, int I) {
            const QByteArray Day = DayText(I, Contacts);
            sqlite3_bind_int(S, 1, I < BusyContacts ? 2 : 3 + I % (Customers - 1));
            BindText(S, 2, Day);
            BindText(S, 3, Day);
        });
    Run(Db, "INSERT INTO Bill (BillKind, BillRecordTime, BillCreateTime, BillSerial, BillUser, BillSum, BillReason, "
            "BillState, BillRemark, BillMan) VALUES (?, ?, ?, ?, ?, ?, '商品销售', '已签约', '', '业务员甲')",
        Documents, [](sqlite3_stmt* S, int I) {
            // The busy customer's documents are spread over the two years too.
            const int Slot = I < BusyDocuments ? I * (Documents / BusyDocuments) : I;
            const QByteArray Day = DayText(Slot, Documents);
            sqlite3_bind_text(S, 1, I % 3 ? "销售开单" : "采购开单", -1, SQLITE_STATIC);
            BindText(S, 2, Day);
            BindText(S, 3, Day);
            BindText(S, 4, QStringLiteral("XS%1").arg(I + 1001).toUtf8());
            BindText(S, 5, CustomerName(I < BusyDocuments ? 0 : 1 + (I * 31) % (Customers - 1)));
            sqlite3_bind_double(S, 6, (I % 3 ? 1 : -1) * (I % 20000 + 0.25));
        });
    Run(Db, "INSERT INTO MoneyTable (MoneyAccount, MoneyBill, MoneyRecordTime, MoneyCreateTime, MoneyUser, MoneyReason, "
            "MoneyIn, MoneyOut, MoneySum, MoneyType, MoneyToken, MoneyRemark, MoneySerial, MoneyMan) "
            "VALUES (?, ?, ?, ?, ?, '商品销售', ?, ?, ?, '货款', '收据', '', ?, '业务员甲')",
        MoneyRows, [](sqlite3_stmt* S, int I) {
            // Every other row settles a document (the busy customer's among them).
            const int Bill = I % 2 ? 2 + (I / 2) % Documents : 0;
            const int User = I % 2 ? ((I / 2) % Documents < BusyDocuments ? 0 : 1 + ((I / 2) * 31) % (Customers - 1))
                                   : 1 + (I * 17) % (Customers - 1);
            const QByteArray Day = DayText(I, MoneyRows);
            const double Amount = (I % 4 ? 1 : -1) * (I % 9000 + 0.5);
            sqlite3_bind_int(S, 1, 2 + I % Accounts);
            sqlite3_bind_int(S, 2, Bill);
            BindText(S, 3, Day);
            BindText(S, 4, Day);
            BindText(S, 5, CustomerName(User));
            sqlite3_bind_double(S, 6, Amount > 0 ? Amount : 0);
            sqlite3_bind_double(S, 7, Amount < 0 ? -Amount : 0);
            sqlite3_bind_double(S, 8, Amount);
            BindText(S, 9, QStringLiteral("SK%1").arg(I + 1001).toUtf8());
        });
    sqlite3_exec(Db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_exec(Db, "ANALYZE", nullptr, nullptr, nullptr);
}

QString DatabasePath()
{
    static QString Path;
    if (!Path.isEmpty())
        return Path;
    Path = TempDir()->filePath(QStringLiteral("Tallybridge.mdb"));
    CreateDeliveredDatabase(Path);
    sqlite3* Db = nullptr;
    sqlite3_open(Path.toUtf8().constData(), &Db);
    Fill(Db);
    sqlite3_close(Db);
    return Path;
}

void OpenProgramDatabase()
{
    static bool Done = false;
    if (Done)
        return;
    Done = true;
    AppPath = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    ShareDataModule = new TShareDataModule();
    ShareDataModule->ADOConnection1->SetConnectionString(JetConnectionString(DatabasePath(), DatabasePassword));
    ShareDataModule->ADOConnection1->Open();
}

// ---------------------------------------------------------------- the three operations

// The customer cards with a name and a period search, as the main window holds them.
struct TSearchedCards
{
    QWidget Sheet;
    int Index = 0;
    TCardPage* Page;

    TSearchedCards()
    {
        Sheet.resize(660, 510);
        Page = new TCardPage(ckCustomer, &Sheet, Index);
        Page->SettingsSource = [] {
            TCardSettings S;
            S.WorkingDay = WorkingDay;
            S.Order = QStringLiteral("按编号排");
            S.Direction = QStringLiteral("按降序排");
            S.SearchCondition = InStrCondition(QStringLiteral("CustomerName"), QStringLiteral("客户001"))
                                + QStringLiteral(" And (BillCreateTime Between #2024-06-01# And #2024-06-30#)");
            return S;
        };
    }
};

TSearchedCards& Cards()
{
    static TSearchedCards* C = new TSearchedCards();
    return *C;
}

TFormCustomer* CustomerWindow()
{
    if (!FormCustomer) {
        FormCustomer = new TFormCustomer();
        FormCustomer->CustomerIndex = 2;
        FormCustomer->FormShow(FormCustomer); // binds the lists and reads them once
    }
    return FormCustomer;
}

TFormPhone* Lookup(int Scope)
{
    if (!FormPhone) {
        FormPhone = new TFormPhone();
        FormPhone->SearchKind = QStringLiteral("潜在客户");
        FormPhone->FormShow(FormPhone);
    }
    FormPhone->ComboBox1->setCurrentIndex(Scope);
    FormPhone->ComboBox1Change(FormPhone->ComboBox1);
    // Found by its last seven digits only (stored numbers never have 5 before
    // them), so both searches run.
    FormPhone->Edit1->setText(QStringLiteral("021-5") + QString::fromUtf8(Landline(4321, Scope == 0 ? 1 : 0).right(7)));
    return FormPhone;
}

const std::function<void()> Operations[] = {
    [] { Cards().Page->Refresh(); },
    [] { CustomerWindow()->RefreshCustomer(); },
    [] { Lookup(0)->Lookup(); },
    [] { Lookup(1)->Lookup(); },
};

void BM_Ours(benchmark::State& State)
{
    OpenProgramDatabase();
    const auto& Operation = Operations[State.range(0)];
    Operation();
    for (auto _ : State)
        Operation();
}

// The statements one run of an operation opens, as SQLite receives them.
std::vector<QByteArray> Statements(int Which)
{
    OpenProgramDatabase();
    Operations[Which](); // the windows' own preparation stays out of the log
    QStringList Log;
    SetOpenSQLLog(&Log);
    Operations[Which]();
    SetOpenSQLLog(nullptr);
    std::vector<QByteArray> Sql;
    for (const QString& Jet : Log)
        Sql.push_back(TranslateJetSql(Jet, {}).Sql.toUtf8());
    return Sql;
}

// SQLite alone: prepare each statement, step it and read every column.
void BM_Alone(benchmark::State& State)
{
    StepStatementsAlone(State, DatabasePath(), Statements(State.range(0)));
}

const char* const Names[] = {"search cards", "customer window", "lookup prospects", "lookup customers"};

void Register()
{
    for (int I = 0; I < 4; ++I) {
        benchmark::RegisterBenchmark((std::string("Alone/") + Names[I]).c_str(), BM_Alone)
            ->Arg(I)->Unit(benchmark::kMillisecond)->MinTime(0.5);
        benchmark::RegisterBenchmark((std::string("Ours/") + Names[I]).c_str(), BM_Ours)
            ->Arg(I)->Unit(benchmark::kMillisecond)->MinTime(0.5);
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    DatabasePath();
    Register();
    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    for (const char* Name : Names) {
        const double Alone = Reporter.Times[std::string("Alone/") + Name];
        const double Ours = Reporter.Times[std::string("Ours/") + Name];
        if (Alone > 0 && Ours > 0)
            std::printf("%s: %.2f ms, statements alone %.2f ms, ratio %.2f (target: within 1.5)\n", Name, Ours, Alone,
                        Ours / Alone);
    }
    const double Window = Reporter.Times["Ours/customer window"];
    if (Window > 0)
        std::printf("customer window refresh %.1f ms (target: under 100 ms)\n", Window);
    delete FormCustomer;
    delete FormPhone;
    delete ShareDataModule;
    benchmark::Shutdown();
    return 0;
}
