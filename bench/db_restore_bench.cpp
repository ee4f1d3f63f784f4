// A restore of a firm's file (documents and as many money rows, 10,000
// customers) into the open database, beside a plain copy of the same file, at
// N and 4N documents; and the memory a restore takes for a file holding one
// large text. The ratios are printed last: the restore against the copy, 4N
// against N (4 is linear), and the peak memory against the file or the text.
#include "platform/db/ADOConnection.h"

#include "BenchDatabase.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int LargeTextMb = 192;

QString SchemaText()
{
    QFile Schema(QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../resources/schema.sql")));
    if (!Schema.open(QIODevice::ReadOnly))
        std::abort();
    return QString::fromUtf8(Schema.readAll());
}

// A file of Documents documents, made once; 0: the large text alone.
QString FileOf(int Documents)
{
    static std::map<int, QString> Made;
    if (Made.count(Documents))
        return Made[Documents];
    const QString Path = BenchFirm::TempDir()->filePath(QStringLiteral("backup%1.mdb").arg(Documents));
    CreateDeliveredDatabase(Path);
    sqlite3* Db = nullptr;
    sqlite3_open(Path.toUtf8().constData(), &Db);
    if (Documents > 0) {
        BenchFirm::Fill(Db, Documents, Documents);
    } else {
        const QByteArray Sql = QStringLiteral("INSERT INTO Contact (ContactContent) VALUES (replace(hex(zeroblob(%1)), '0', '记'))")
                                   .arg((LargeTextMb << 20) / 6)
                                   .toUtf8();
        sqlite3_exec(Db, Sql.constData(), nullptr, nullptr, nullptr);
    }
    sqlite3_close(Db);
    return Made[Documents] = Path;
}

// The program's database, in a folder of its own.
TADOConnection& Live()
{
    static TADOConnection Connection;
    if (!Connection.Connected()) {
        const QString Path = BenchFirm::TempDir()->filePath(QStringLiteral("live/Tallybridge.mdb"));
        QDir().mkpath(QFileInfo(Path).path());
        CreateDeliveredDatabase(Path);
        Connection.SetConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + Path);
        Connection.Open();
    }
    return Connection;
}

// What a copy of the file costs: read whole and written beside the database.
void BM_CopyFile(benchmark::State& State)
{
    const QByteArray From = QFile::encodeName(FileOf(int(State.range(0))));
    const QByteArray To = QFile::encodeName(BenchFirm::TempDir()->filePath(QStringLiteral("live/copy.tmp")));
    std::vector<char> Block(1 << 20);
    for (auto _ : State) {
        const int In = open(From.constData(), O_RDONLY);
        const int Out = open(To.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        bool Written = In >= 0 && Out >= 0;
        for (ssize_t N; Written && (N = read(In, Block.data(), Block.size())) > 0;)
            Written = write(Out, Block.data(), size_t(N)) == N;
        close(In);
        close(Out);
        if (!Written) {
            State.SkipWithError("cannot copy the file");
            break;
        }
        State.PauseTiming();
        unlink(To.constData());
        State.ResumeTiming();
    }
    State.counters["file_MB"] = QFileInfo(QFile::decodeName(From)).size() / 1048576.0;
}

void BM_Restore(benchmark::State& State)
{
    const QString File = FileOf(int(State.range(0)));
    const QString Schema = SchemaText();
    TADOConnection& Connection = Live();
    double PeakMb = 0;
    for (auto _ : State) {
        State.PauseTiming();
        // What SQLite holds: the pages and the values of the restore.
        const sqlite3_int64 Before = sqlite3_memory_used();
        sqlite3_memory_highwater(1);
        State.ResumeTiming();
        if (Connection.RestoreFrom(File, Schema).Fault != dfNone) {
            State.SkipWithError("the file was refused");
            break;
        }
        State.PauseTiming();
        PeakMb = std::max(PeakMb, double(sqlite3_memory_highwater(0) - Before) / 1048576.0);
        State.ResumeTiming();
    }
    State.counters["file_MB"] = QFileInfo(File).size() / 1048576.0;
    State.counters["peak_MB"] = PeakMb;
}

BENCHMARK(BM_CopyFile)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Restore)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(3);
// The large text alone.
BENCHMARK(BM_Restore)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);

// Keeps each run's time and peak by its name and argument.
class TReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& Runs) override
    {
        ConsoleReporter::ReportRuns(Runs);
        for (const Run& R : Runs) {
            const auto Peak = R.counters.find("peak_MB");
            const auto File = R.counters.find("file_MB");
            Figures[R.run_name.function_name + '/' + R.run_name.args] = {R.GetAdjustedRealTime(), Peak != R.counters.end() ? Peak->second.value : 0,
                                         File != R.counters.end() ? File->second.value : 0};
        }
    }
    struct TFigures
    {
        double Time = 0, PeakMb = 0, FileMb = 0;
    };
    std::map<std::string, TFigures> Figures;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Live();
    TReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    auto& F = Reporter.Figures;
    for (const char* N : {"50000", "200000"}) {
        const auto& Restore = F[std::string("BM_Restore/") + N];
        const auto& Copy = F[std::string("BM_CopyFile/") + N];
        if (Restore.Time > 0 && Copy.Time > 0)
            std::printf("restore of %s documents (%.0f MB): %.0f ms, copy of the file %.0f ms, ratio %.1f; "
                        "peak memory %.0f MB, %.2f of the file\n",
                        N, Restore.FileMb, Restore.Time, Copy.Time, Restore.Time / Copy.Time, Restore.PeakMb,
                        Restore.PeakMb / Restore.FileMb);
    }
    if (F["BM_Restore/50000"].Time > 0 && F["BM_CopyFile/50000"].Time > 0)
        std::printf("4N / N: restore %.2f, copy %.2f (4 is linear)\n",
                    F["BM_Restore/200000"].Time / F["BM_Restore/50000"].Time,
                    F["BM_CopyFile/200000"].Time / F["BM_CopyFile/50000"].Time);
    if (const auto& Large = F["BM_Restore/0"]; Large.Time > 0)
        std::printf("restore of one %d MB text: %.0f ms, peak memory %.0f MB, %.2f of the text\n", LargeTextMb,
                    Large.Time, Large.PeakMb, Large.PeakMb / LargeTextMb);
    benchmark::Shutdown();
    return 0;
}
