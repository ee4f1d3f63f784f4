// A fresh database made from the delivered schema, for the benchmarks that
// fill one with generated rows.
#pragma once

#include "platform/db/NewDatabase.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <sqlite3.h>
#include <vector>

inline void CreateDeliveredDatabase(const QString& Path)
{
    QFile Schema(QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../resources/schema.sql")));
    if (!Schema.open(QIODevice::ReadOnly))
        std::abort();
    CreateDatabaseFile(Path, QString::fromUtf8(Schema.readAll()));
}

// The baseline of a ratio: SQLite alone preparing each statement, stepping it
// and reading every column, over the database at Path.
inline void StepStatementsAlone(benchmark::State& State, const QString& Path, const std::vector<QByteArray>& Statements)
{
    sqlite3* Db = nullptr;
    sqlite3_open_v2(Path.toUtf8().constData(), &Db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    double Sum = 0;
    for (auto _ : State) {
        for (const QByteArray& Sql : Statements) {
            sqlite3_stmt* S = nullptr;
            if (sqlite3_prepare_v2(Db, Sql.constData(), -1, &S, nullptr) != SQLITE_OK) {
                State.SkipWithError(sqlite3_errmsg(Db));
                break;
            }
            const int Columns = sqlite3_column_count(S);
            while (sqlite3_step(S) == SQLITE_ROW)
                for (int C = 0; C < Columns; ++C)
                    Sum += sqlite3_column_type(S, C) == SQLITE_TEXT ? sqlite3_column_bytes(S, C)
                                                                      : sqlite3_column_double(S, C);
            sqlite3_finalize(S);
        }
    }
    benchmark::DoNotOptimize(Sum);
    State.counters["statements"] = static_cast<double>(Statements.size());
    sqlite3_close(Db);
}
