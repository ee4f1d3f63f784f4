// The headline list report: 10,000 rows of Bill read from an SQLite file
// through TADOQuery, prepared on A4 portrait with 10 mm margins, a page header
// with a title, a 6 mm master data band of five fields and a page footer with
// the page number (about 230 pages), then every page printed to one PDF file.
// The baseline is reading the same rows through TADOQuery alone. Targets:
// prepare at most 0.5 s, PDF of all pages at most 2.8 s, peak memory at most
// 100 MiB, cost per row at 100,000 rows within 1.2 times that at 10,000.
#include "BenchDatabase.h"
#include "BenchMemory.h"
#include "BenchRatio.h"

#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/Field.h"
#include "platform/gui/Printers.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_DBSet.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int SmallRows = 10000;
constexpr int LargeRows = 100000;

struct TWorld
{
    QTemporaryDir Dir;
    QObject Form;
    TADOConnection* Connection = nullptr;
    TADOQuery* Query = nullptr;
    TfrDBDataSet* Source = nullptr;
    TfrReport* Report = nullptr;
};
TWorld* World = nullptr;

// Peak resident memory since the last reset, in MiB.
double PeakMiB()
{
    return std::max(0L, StatusKb("VmHWM:")) / 1024.0;
}

void FillBills(const QString& Path, int Rows)
{
    sqlite3* Db = nullptr;
    sqlite3_open(Path.toUtf8().constData(), &Db);
    sqlite3_exec(Db, "Begin", nullptr, nullptr, nullptr);
    sqlite3_stmt* S = nullptr;
    sqlite3_prepare_v2(Db,
                       "Insert Into Bill (BillSerial, BillUser, BillCreateTime, BillSum, BillKind) "
                       "Values ('XS000123', ?, ?, ?, '销售开单')",
                       -1, &S, nullptr);
    for (int n = 0; n < Rows; ++n) {
        const QByteArray User = QStringLiteral("广州华南贸易有限公司%1").arg(n).toUtf8();
        const QByteArray Day = QStringLiteral("2024-%1-%2 00:00:00")
                                   .arg(1 + n % 12, 2, 10, QChar(u'0'))
                                   .arg(1 + n % 28, 2, 10, QChar(u'0'))
                                   .toUtf8();
        sqlite3_bind_text(S, 1, User.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(S, 2, Day.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(S, 3, 100 + n * 1.25);
        sqlite3_step(S);
        sqlite3_reset(S);
    }
    sqlite3_finalize(S);
    sqlite3_exec(Db, "Commit", nullptr, nullptr, nullptr);
    sqlite3_close(Db);
}

const char* const ListSql =
    "Select BillIndex,BillSerial,BillUser,BillCreateTime,BillSum From Bill Where BillIndex <> 1 And BillIndex <= %1";

TfrMemoView* AddMemo(TfrPage* Page, int Left, int Top, int Width, int Height, const QString& Text)
{
    auto View = CreateViewByType(gtMemo, {});
    auto* M = static_cast<TfrMemoView*>(View.get());
    M->SetBounds(Left, Top, Width, Height);
    M->Memo()->SetText(Text);
    M->SetFlags(0);
    M->SetFrameTyp(15);
    M->Font()->SetName(QStringLiteral("WenQuanYi Micro Hei"));
    M->Font()->SetSize(9);
    M->CreateUniqueName();
    Page->Add(std::move(View));
    return M;
}

void AddBand(TfrPage* Page, int Type, int Top, int Height, const QString& Source, uint16_t Flags)
{
    auto View = CreateViewByType(gtBand, {});
    auto* B = static_cast<TfrBandView*>(View.get());
    B->SetBandType(Type);
    B->SetBounds(0, Top, Page->PrnInfo.PaperWidthPx, Height);
    B->SetFormatStr(Source);
    B->SetFlags(Flags);
    B->CreateUniqueName();
    Page->Add(std::move(View));
}

void LayOut(TfrReport& Report)
{
    Report.Pages()->Add();
    TfrPage* Page = Report.Pages()->Pages(0);
    Page->ChangePaper(9, 2100, 2970, -1, poPortrait);
    Page->LeftMargin = Page->TopMargin = Page->RightMargin = Page->BottomMargin = 36;
    AddBand(Page, btPageHeader, 40, 30, {}, flBandOnFirstPage);
    AddMemo(Page, 36, 40, 685, 28, QStringLiteral("业务单据清单"))->SetAlignment(frtaCenter | frtaMiddle);
    AddBand(Page, btMasterData, 90, 22, QStringLiteral("frList"), 0);
    const struct { int Width; const char* Field; uint32_t Format; } Cells[] = {
        {70, "BillIndex", 0},
        {110, "BillSerial", 0},
        {295, "BillUser", 0},
        {100, "BillCreateTime #Dyyyy-mm-dd", 0},
        {110, "BillSum", (1u << 24) | (1u << 16) | (2u << 8) | '.'},
    };
    int X = 36;
    for (const auto& C : Cells) {
        AddMemo(Page, X, 90, C.Width, 22, QStringLiteral("[Bills.%1]").arg(QLatin1String(C.Field)))->SetFormat(C.Format);
        X += C.Width;
    }
    AddBand(Page, btPageFooter, 130, 22, {}, flBandOnFirstPage | flBandOnLastPage);
    AddMemo(Page, 36, 130, 685, 20, QStringLiteral("第[PAGE#]页"))->SetAlignment(frtaCenter | frtaMiddle);
}

void OpenRows(int Rows)
{
    World->Query->Close();
    World->Query->SQL()->SetText(QString::fromLatin1(ListSql).arg(Rows + 1));
    World->Query->Open();
}

void BM_ReadRowsAlone(benchmark::State& State)
{
    double Sum = 0;
    for (auto _ : State) {
        OpenRows(SmallRows);
        for (World->Query->First(); !World->Query->Eof(); World->Query->Next())
            for (int f = 0; f < World->Query->FieldCount(); ++f)
                Sum += World->Query->Fields(f)->AsString().size();
    }
    benchmark::DoNotOptimize(Sum);
}
BENCHMARK(BM_ReadRowsAlone)->Unit(benchmark::kMillisecond)->Iterations(3);

void Prepare(benchmark::State& State, int Rows)
{
    bool Ok = true;
    ResetPeak();
    for (auto _ : State) {
        OpenRows(Rows);
        Ok = World->Report->PrepareReport() && Ok;
    }
    if (!Ok)
        State.SkipWithError("preparation failed");
    State.counters["pages"] = World->Report->PreparedPageCount();
    State.counters["peak_MiB"] = PeakMiB();
    State.counters["us_per_row"] = benchmark::Counter(static_cast<double>(Rows) * State.iterations(),
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                                                      benchmark::Counter::kIs1000);
}

void BM_Prepare10k(benchmark::State& State)
{
    Prepare(State, SmallRows);
}
BENCHMARK(BM_Prepare10k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PdfAllPages(benchmark::State& State)
{
    OpenRows(SmallRows);
    World->Report->PrepareReport();
    const QString File = World->Dir.filePath(QStringLiteral("list.pdf"));
    ResetPeak();
    for (auto _ : State) {
        Printer()->SetOutputFileName(File);
        World->Report->PrintPreparedReport(QString(), 1, true, 0);
        Printer()->SetOutputFileName(QString());
    }
    State.counters["pages"] = World->Report->PreparedPageCount();
    State.counters["peak_MiB"] = PeakMiB();
    State.counters["pdf_KiB"] = static_cast<double>(QFile(File).size()) / 1024.0;
}
BENCHMARK(BM_PdfAllPages)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_Prepare100k(benchmark::State& State)
{
    Prepare(State, LargeRows);
}
BENCHMARK(BM_Prepare100k)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    TWorld W;
    World = &W;
    const QString Path = W.Dir.filePath(QStringLiteral("Tallybridge.mdb"));
    CreateDeliveredDatabase(Path);
    FillBills(Path, LargeRows);
    W.Form.setObjectName(QStringLiteral("FormList"));
    W.Connection = new TADOConnection(&W.Form);
    W.Connection->SetConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + Path);
    W.Connection->SetLoginPrompt(false);
    W.Connection->Open();
    W.Query = new TADOQuery(&W.Form);
    W.Query->setObjectName(QStringLiteral("Bills"));
    W.Query->SetConnection(W.Connection);
    W.Source = new TfrDBDataSet(&W.Form);
    W.Source->SetName(QStringLiteral("frList"));
    W.Source->SetDataSet(W.Query);
    W.Report = new TfrReport(&W.Form);
    W.Report->SetShowProgress(false);
    LayOut(*W.Report);

    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    const double Small = Reporter.Times["BM_Prepare10k"];
    const double Large = Reporter.Times["BM_Prepare100k"];
    if (Small > 0)
        std::printf("prepare 10,000 rows: %.0f ms, %.1f us per row (target: at most 500 ms)\n", Small,
                    Small * 1000 / SmallRows);
    if (Reporter.Times["BM_PdfAllPages"] > 0)
        std::printf("PDF of all pages: %.0f ms (target: at most 2800 ms)\n", Reporter.Times["BM_PdfAllPages"]);
    if (Small > 0 && Large > 0)
        std::printf("cost per row at 100,000 / at 10,000: %.2f (target: within 1.2)\n",
                    (Large / LargeRows) / (Small / SmallRows));
    if (Small > 0 && Reporter.Times["BM_ReadRowsAlone"] > 0)
        std::printf("prepare / reading the rows through TADOQuery alone: %.2f\n",
                    Small / Reporter.Times["BM_ReadRowsAlone"]);
    benchmark::Shutdown();
    World = nullptr;
    CurReport = nullptr;
    MasterReport = nullptr;
    return 0;
}
