// Refreshing the four card pages of the main window over a firm's data
// (10,000 customers, 200,000 documents, 200,000 money rows, 100 accounts),
// against SQLite alone running the same statements. Targets: under 300 ms per
// refresh of all four pages, and within 1.5 times the statements alone. The
// ratio is printed last.
#include "app/CardPage.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/JetSql.h"
#include "platform/db/NewDatabase.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>
#include "BenchDatabase.h"
#include "BenchRatio.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <sqlite3.h>

namespace {

using BenchFirm::DatabasePath;

const TDateTime WorkingDay = EncodeDate(2024, 6, 14);

// The four pages as the main window holds them, with its default boxes.
struct TPages
{
    QWidget Sheets[4];
    int Indexes[4] = {0, 0, 0, 0};
    std::vector<TCardPage*> Pages;

    TPages()
    {
        const TCardKind Kinds[4] = {ckCustomer, ckBill, ckMoney, ckAccount};
        for (int I = 0; I < 4; ++I) {
            Sheets[I].resize(660, 510);
            auto* P = new TCardPage(Kinds[I], &Sheets[I], Indexes[I]);
            P->SettingsSource = [Kind = Kinds[I]] {
                TCardSettings S;
                S.WorkingDay = WorkingDay;
                S.Range = QStringLiteral("当月单据");
                S.Order = Kind == ckCustomer ? QStringLiteral("按编号排") : QStringLiteral("按记录号");
                S.Direction = QStringLiteral("按降序排");
                return S;
            };
            Pages.push_back(P);
        }
    }

    void RefreshAll()
    {
        for (TCardPage* P : Pages)
            P->Refresh();
    }
};

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

void BM_RefreshAllCardPages(benchmark::State& State)
{
    OpenProgramDatabase();
    TPages Pages;
    Pages.RefreshAll(); // warm the page cache and the icons
    for (auto _ : State)
        Pages.RefreshAll();
}

// The statements one refresh runs, as SQLite receives them.
std::vector<QByteArray> RefreshStatements()
{
    OpenProgramDatabase();
    TPages Pages;
    QStringList Log;
    SetCardStatementLog(&Log);
    Pages.RefreshAll();
    SetCardStatementLog(nullptr);
    std::vector<QByteArray> Sql;
    for (const QString& Jet : Log)
        Sql.push_back(TranslateJetSql(Jet, {}).Sql.toUtf8());
    return Sql;
}

// SQLite alone: prepare each statement, step it and read every column.
void BM_StatementsAlone(benchmark::State& State)
{
    StepStatementsAlone(State, DatabasePath(), RefreshStatements());
}

// With TB_BENCH_DETAIL set: each statement of one refresh with its time alone.
void PrintStatementTimes()
{
    sqlite3* Db = nullptr;
    sqlite3_open_v2(DatabasePath().toUtf8().constData(), &Db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    for (const QByteArray& Sql : RefreshStatements()) {
        const auto Start = std::chrono::steady_clock::now();
        sqlite3_stmt* S = nullptr;
        sqlite3_prepare_v2(Db, Sql.constData(), -1, &S, nullptr);
        int Rows = 0;
        while (sqlite3_step(S) == SQLITE_ROW)
            ++Rows;
        sqlite3_finalize(S);
        const double Ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start).count();
        std::printf("%8.3f ms %6d rows  %s\n", Ms, Rows, Sql.constData());
    }
    sqlite3_close(Db);
}

BENCHMARK(BM_StatementsAlone)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RefreshAllCardPages)->Unit(benchmark::kMillisecond)->MinTime(1.0);


} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    DatabasePath();
    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    if (qEnvironmentVariableIsSet("TB_BENCH_DETAIL"))
        PrintStatementTimes();
    const double Alone = Reporter.Times["BM_StatementsAlone"];
    const double Ours = Reporter.Times["BM_RefreshAllCardPages"];
    if (Alone > 0 && Ours > 0)
        std::printf("RefreshAll %.1f ms, statements alone %.1f ms, ratio %.2f (targets: under 300 ms, within 1.5)\n",
                    Ours, Alone, Ours / Alone);
    delete ShareDataModule;
    benchmark::Shutdown();
    return 0;
}
