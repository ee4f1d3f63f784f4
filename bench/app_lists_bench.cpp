// The two query lists of the main window over a firm's data: the document
// list of 200,000 documents by date and by customer, and the money list of
// 200,000 rows, each up to the filled grid and its footers, against SQLite
// alone stepping the same translated statement (target: within 1.5); and the
// spreadsheet export of 100,000 rows of 10 columns (targets: under 3 s, peak
// memory growth under 30 MB, as at 10,000 rows). Figures are printed last.
#include "app/MainForm.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "grid/DBGridEh.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/JetSql.h"
#include "platform/gui/Shell.h"
#include "BenchDatabase.h"
#include "BenchMemory.h"
#include "BenchRatio.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QSignalBlocker>

#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

namespace {

using BenchFirm::DatabasePath;

// The texts the filter windows build for "all documents" and "all money rows".
const QString MoneyBase = QStringLiteral(
    "Select MoneyIndex,MoneyCreateTime,MoneySerial,AccountName,MoneyUser,MoneyIn,MoneyOut,MoneySum,MoneyMan,"
    "MoneyReason,MoneyType,MoneyToken,MoneyRemark From Account,MoneyTable Where (AccountIndex = MoneyAccount)");
const QString BillBase = QStringLiteral(
    "Select BillIndex,BillCreateTime,BillSerial,BillKind,BillUser,BillSum,IIF(Round(Sum(MoneySum),2) Is Null,0,"
    "Round(Sum(MoneySum),2)) As BillGet,BillSum-IIF(Round(Sum(MoneySum),2) Is Null,0,Round(Sum(MoneySum),2)) As "
    "BillOwe,BillMan,BillReason,BillState,BillRemark From (Bill Left Join MoneyTable On Bill.BillIndex = "
    "MoneyTable.MoneyBill) Where (BillIndex > 1)");

struct TList
{
    const char* Name;
    bool IsMoney;
    int SortIndex; // 0 "按时间排", 1 "按客户排"
};

const TList Lists[] = {
    {"BillsByTime", false, 0},
    {"BillsByCustomer", false, 1},
    {"MoneyByTime", true, 0},
};

void OpenProgram()
{
    if (FormMain)
        return;
    AppPath = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    ShareDataModule = new TShareDataModule();
    ShareDataModule->ADOConnection1->SetConnectionString(JetConnectionString(DatabasePath(), DatabasePassword));
    ShareDataModule->ADOConnection1->Open();
    FormMain = new TFormMain();
    FormMain->MReportADOQuery->SetConnection(ShareDataModule->ADOConnection1);
    FormMain->BReportADOQuery->SetConnection(ShareDataModule->ADOConnection1);
}

// One run of a list as its window's "确定" starts it, up to the painted grid.
void RunList(const TList& L, const QString& Extra = QString())
{
    QComboBox* Sort = L.IsMoney ? FormMain->ComboBox9 : FormMain->ComboBox2;
    {
        const QSignalBlocker Quiet(Sort);
        Sort->setCurrentIndex(L.SortIndex);
    }
    if (L.IsMoney)
        FormMain->RunMoneyReport(MoneyBase + Extra);
    else
        FormMain->RunBillReport(BillBase + Extra);
    benchmark::DoNotOptimize((L.IsMoney ? FormMain->DBGridEh1 : FormMain->DBGridEh2)->grab());
}

void BM_List(benchmark::State& State, const TList& L)
{
    OpenProgram();
    RunList(L);
    for (auto _ : State)
        RunList(L);
    State.counters["rows"] = (L.IsMoney ? FormMain->MReportADOQuery : FormMain->BReportADOQuery)->RecordCount();
}

// The statement one run of the list opens, as SQLite receives it.
std::vector<QByteArray> ListStatements(const TList& L)
{
    OpenProgram();
    QStringList Log;
    SetOpenSQLLog(&Log);
    RunList(L);
    SetOpenSQLLog(nullptr);
    const QSet<QString> TextColumns = TextColumnsOf(DatabasePath());
    std::vector<QByteArray> Sql;
    for (const QString& Jet : Log)
        Sql.push_back(TranslateJetSql(Jet, TextColumns).Sql.toUtf8());
    return Sql;
}

void BM_Alone(benchmark::State& State, const TList& L)
{
    StepStatementsAlone(State, DatabasePath(), ListStatements(L));
}

// ---------------------------------------------------------------- export

QDir ExportDir()
{
    static QTemporaryDir* Dir = new QTemporaryDir();
    return QDir(Dir->path());
}

// The money list of Rows rows with 10 visible columns (the voucher and remark hidden).
void PrepareExport(int Rows)
{
    OpenProgram();
    ShareDataModule->ExportFolder = ExportDir().path();
    SetShellHandler([](const QString&) { return true; });
    RunList(Lists[2], QStringLiteral(" And (MoneyIndex Between 2 And %1)").arg(Rows + 1));
    FormMain->DBGridEh1->Columns(10)->SetVisible(false);
    FormMain->DBGridEh1->Columns(11)->SetVisible(false);
}

void BM_Export(benchmark::State& State)
{
    const int Rows = static_cast<int>(State.range(0));
    PrepareExport(Rows);
    double PeakMb = 0;
    bool PeakKnown = true;
    for (auto _ : State) {
        State.PauseTiming();
        for (const QString& F : ExportDir().entryList(QDir::Files))
            ExportDir().remove(F);
        PeakKnown = PeakKnown && ResetPeak();
        const long Before = StatusKb("VmRSS:");
        State.ResumeTiming();
        ShareDataModule->ExportGridToExcel(FormMain->DBGridEh1);
        State.PauseTiming();
        PeakMb = std::max(PeakMb, (StatusKb("VmHWM:") - Before) / 1024.0);
        State.ResumeTiming();
    }
    if (ExportDir().entryList(QDir::Files).size() != 1)
        State.SkipWithError("no spreadsheet written");
    State.counters["rows"] = FormMain->MReportADOQuery->RecordCount();
    State.counters["peak_MB"] = PeakKnown ? PeakMb : -1;
}

BENCHMARK(BM_Export)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    DatabasePath();
    for (const TList& L : Lists) {
        benchmark::RegisterBenchmark((std::string(L.Name) + "Alone").c_str(), BM_Alone, L)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0);
        benchmark::RegisterBenchmark(L.Name, BM_List, L)->Unit(benchmark::kMillisecond)->MinTime(1.0);
    }
    // Keeps each run's peak too, read from its counters.
    struct TReporter : TRatioReporter
    {
        void ReportRuns(const std::vector<Run>& Runs) override
        {
            TRatioReporter::ReportRuns(Runs);
            for (const Run& R : Runs) {
                const auto Peak = R.counters.find("peak_MB");
                if (Peak != R.counters.end())
                    Exports[R.run_name.str()] = {R.GetAdjustedRealTime(), Peak->second.value};
            }
        }
        std::map<std::string, std::pair<double, double>> Exports;
    } Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    for (const TList& L : Lists) {
        const double Ours = Reporter.Times[L.Name];
        const double Alone = Reporter.Times[std::string(L.Name) + "Alone"];
        if (Ours > 0 && Alone > 0)
            std::printf("%s %.1f ms, statement alone %.1f ms, ratio %.2f (target: within 1.5)\n", L.Name, Ours, Alone,
                        Ours / Alone);
    }
    for (const auto& [Name, Figures] : Reporter.Exports)
        std::printf("%s %.2f s, peak memory growth %.1f MB (targets at 100000 rows: under 3 s, under 30 MB)\n",
                    Name.c_str(), Figures.first / 1000.0, Figures.second);
    delete FormMain;
    delete ShareDataModule;
    benchmark::Shutdown();
    return 0;
}
