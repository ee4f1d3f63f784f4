// Opening a query over 100,000 Bill rows and walking it, reading five fields
// per row, against a plain sqlite3_step loop over the same statement.
// Target: the dataset within 3 times the plain loop. The ratio is printed last.
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/NewDatabase.h"
#include "platform/rtl/Classes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include "BenchDatabase.h"
#include "BenchRatio.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <sqlite3.h>

namespace {

constexpr int RowCount = 100000;
const char* const Statement = "Select * From Bill Where BillIndex > 1";

QTemporaryDir* TempDir()
{
    static QTemporaryDir Dir;
    return &Dir;
}

QString DatabasePath()
{
    static QString Path;
    if (!Path.isEmpty())
        return Path;
    Path = TempDir()->filePath(QStringLiteral("Bench.mdb"));
    CreateDeliveredDatabase(Path);
    sqlite3* Db = nullptr;
    sqlite3_open(Path.toUtf8().constData(), &Db);
    sqlite3_exec(Db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* Insert = nullptr;
    sqlite3_prepare_v2(Db,
                       "INSERT INTO Bill (BillKind, BillRecordTime, BillCreateTime, BillSerial, BillUser, BillSum, "
                       "BillReason, BillState, BillRemark, BillMan) VALUES (?, ?, ?, ?, ?, ?, '商品销售', '已签约', '', '业务员甲')",
                       -1, &Insert, nullptr);
    for (int i = 0; i < RowCount; ++i) {
        const QByteArray Date = QStringLiteral("2024-%1-%2 00:00:00")
                                    .arg(i % 12 + 1, 2, 10, QLatin1Char('0'))
                                    .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                                    .toUtf8();
        const QByteArray Serial = QStringLiteral("XS%1").arg(i + 1001).toUtf8();
        const QByteArray User = QStringLiteral("客户%1有限公司").arg(i % 500).toUtf8();
        sqlite3_bind_text(Insert, 1, i % 3 ? "销售开单" : "采购开单", -1, SQLITE_STATIC);
        sqlite3_bind_text(Insert, 2, Date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(Insert, 3, Date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(Insert, 4, Serial.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(Insert, 5, User.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(Insert, 6, (i % 3 ? 1 : -1) * (i % 1000 + 0.25));
        sqlite3_step(Insert);
        sqlite3_reset(Insert);
    }
    sqlite3_finalize(Insert);
    sqlite3_exec(Db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(Db);
    return Path;
}

// What a hand-written loop does: step the statement and turn the five values into
// program values (numbers as they are, texts as QString).
void BM_PlainStepLoop(benchmark::State& State)
{
    sqlite3* Db = nullptr;
    // The same open flags as the connection: one thread uses it.
    sqlite3_open_v2(DatabasePath().toUtf8().constData(), &Db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    double Sum = 0;
    int64_t Rows = 0;
    for (auto _ : State) {
        sqlite3_stmt* S = nullptr;
        sqlite3_prepare_v2(Db, "SELECT * FROM Bill WHERE BillIndex > 1", -1, &S, nullptr);
        while (sqlite3_step(S) == SQLITE_ROW) {
            const int64_t Index = sqlite3_column_int64(S, 0);
            const QString Kind = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(S, 1)));
            const QString Created = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(S, 3)));
            const QString User = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(S, 5)));
            const double Amount = sqlite3_column_double(S, 6);
            Sum += Amount + double(Index) + Kind.size() + Created.size() + User.size();
            ++Rows;
        }
        sqlite3_finalize(S);
    }
    benchmark::DoNotOptimize(Sum);
    State.SetItemsProcessed(Rows);
    sqlite3_close(Db);
}

void BM_QueryOpenAndWalk(benchmark::State& State)
{
    TADOConnection Connection;
    Connection.SetConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + DatabasePath());
    Connection.Open();
    TADOQuery Query;
    Query.SetConnection(&Connection);
    Query.SQL()->Add(QString::fromLatin1(Statement));
    Query.Open(); // warm the page cache as the plain loop's first run does
    Query.Close();
    double Sum = 0;
    int64_t Rows = 0;
    for (auto _ : State) {
        Query.Open();
        TField* Index = Query.FieldByName(QStringLiteral("BillIndex"));
        TField* Kind = Query.FieldByName(QStringLiteral("BillKind"));
        TField* Created = Query.FieldByName(QStringLiteral("BillCreateTime"));
        TField* User = Query.FieldByName(QStringLiteral("BillUser"));
        TField* Amount = Query.FieldByName(QStringLiteral("BillSum"));
        for (Query.First(); !Query.Eof(); Query.Next()) {
            Sum += Amount->AsFloat() + Index->AsInteger() + Kind->AsString().size() + Created->AsDateTime()
                + User->AsString().size();
            ++Rows;
        }
        Query.Close();
    }
    benchmark::DoNotOptimize(Sum);
    State.SetItemsProcessed(Rows);
}

BENCHMARK(BM_PlainStepLoop)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_QueryOpenAndWalk)->Unit(benchmark::kMillisecond)->MinTime(1.0);


} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    DatabasePath();
    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    Reporter.PrintRatio("dataset / plain sqlite3_step loop", "BM_QueryOpenAndWalk", "BM_PlainStepLoop", 3);
    benchmark::Shutdown();
    return 0;
}
