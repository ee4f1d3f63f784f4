// The monthly customer report over a firm's data (10,000 customers, 200,000
// documents and money rows): every figure read and PrintReport filled, up to
// the template step, against SQLite alone stepping the same statements.
// Targets: under 3 s and within 1.5. Figures are printed last.
#include "app/MainForm.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/JetSql.h"
#include "platform/gui/ModalSeam.h"
#include "BenchDatabase.h"
#include "BenchRatio.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

using BenchFirm::DatabasePath;

void OpenProgram()
{
    if (FormMain)
        return;
    // No templates in the program folder: the run stops after "找不到报表模板",
    // so no preview is measured.
    static QTemporaryDir Folder;
    AppPath = Folder.path() + QLatin1Char('/');
    ShareDataModule = new TShareDataModule();
    ShareDataModule->ADOConnection1->SetConnectionString(JetConnectionString(DatabasePath(), DatabasePassword));
    ShareDataModule->ADOConnection1->Open();
    FormMain = new TFormMain();
    FormMain->ADOQueryBig->SetConnection(ShareDataModule->ADOConnection1);
    FormMain->SetWorkingDay(EncodeDate(2024, 6, 15));
}

// One run of "客户报表"; false when it did not get as far as the template.
bool RunReport()
{
    TModalHandlers Quiet(nullptr, [](const TMessageRequest&) { return mrOk; });
    FormMain->ActionCustomerReportExecute(nullptr);
    return TModalSeam::MessageTexts().value(0).startsWith(QStringLiteral("找不到报表模板"));
}

void BM_CustomerReport(benchmark::State& State)
{
    OpenProgram();
    if (!RunReport()) // the first run also grows PrintReport
        State.SkipWithError("the report stopped before its template");
    for (auto _ : State)
        RunReport();
    State.counters["rows"] = FormMain->ADOQueryBig->RecordCount();
}

// The statements one run opens, as SQLite receives them.
std::vector<QByteArray> ReportStatements()
{
    OpenProgram();
    QStringList Log;
    SetOpenSQLLog(&Log);
    RunReport();
    SetOpenSQLLog(nullptr);
    const QSet<QString> TextColumns = TextColumnsOf(DatabasePath());
    std::vector<QByteArray> Sql;
    for (const QString& Jet : Log)
        Sql.push_back(TranslateJetSql(Jet, TextColumns).Sql.toUtf8());
    return Sql;
}

void BM_CustomerReportAlone(benchmark::State& State)
{
    StepStatementsAlone(State, DatabasePath(), ReportStatements());
}

BENCHMARK(BM_CustomerReportAlone)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CustomerReport)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    DatabasePath();
    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    const double Ours = Reporter.Times["BM_CustomerReport"];
    const double Alone = Reporter.Times["BM_CustomerReportAlone"];
    if (Ours > 0 && Alone > 0)
        std::printf("customer report %.1f ms (target: under 3000), statements alone %.1f ms, ratio %.2f "
                    "(target: within 1.5)\n",
                    Ours, Alone, Ours / Alone);
    delete FormMain;
    delete ShareDataModule;
    benchmark::Shutdown();
    return 0;
}
