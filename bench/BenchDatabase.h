// A fresh database made from the delivered schema, for the benchmarks that
// fill one with generated rows.
#pragma once

#include "platform/db/NewDatabase.h"
#include "platform/rtl/PinyinOrder.h"
#include "platform/rtl/SysUtils.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdint>
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

// A firm's data: 10,000 customers, 200,000 documents, 200,000 money rows and
// 100 accounts, in a filled database made once per program.
namespace BenchFirm {

constexpr int Customers = 10000;
constexpr int Documents = 200000;
constexpr int MoneyRows = 200000;
constexpr int Accounts = 100;

// Documents are entered day by day over two years, so rows of one day lie
// close together, with a few entered late.
inline QByteArray DayText(int I, int Count)
{
    const int Late = I % 10 == 0 ? (I * 7919) % 30 : 0;
    const TDateTime Day = EncodeDate(2023, 1, 1) + std::max(0, static_cast<int>(int64_t(I) * 730 / Count) - Late);
    return (FormatDateTime(QStringLiteral("yyyy-mm-dd"), Day) + QStringLiteral(" 00:00:00")).toUtf8();
}

inline QByteArray CustomerName(int I)
{
    return QStringLiteral("客户%1贸易有限公司").arg(I, 5, 10, QLatin1Char('0')).toUtf8();
}

// Documents and money rows as many as asked, by default a firm's.
inline void Fill(sqlite3* Db, int Documents = BenchFirm::Documents, int MoneyRows = BenchFirm::MoneyRows)
{
    sqlite3_exec(Db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* S = nullptr;
    sqlite3_prepare_v2(Db, "INSERT INTO Customer (CustomerName, CustomerOwe, CustomerContact, CustomerMan) "
                           "VALUES (?, ?, '张经理', '业务员甲')", -1, &S, nullptr);
    for (int I = 0; I < Customers; ++I) {
        const QByteArray Name = CustomerName(I);
        sqlite3_bind_text(S, 1, Name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(S, 2, (I % 7) * 100.0);
        sqlite3_step(S);
        sqlite3_reset(S);
    }
    sqlite3_finalize(S);
    sqlite3_prepare_v2(Db, "INSERT INTO Account (AccountName, AccountBase, AccountMan) VALUES (?, ?, '财务主管')", -1, &S,
                       nullptr);
    for (int I = 0; I < Accounts; ++I) {
        const QByteArray Name = QStringLiteral("帐户%1").arg(I).toUtf8();
        sqlite3_bind_text(S, 1, Name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(S, 2, I * 1000.0);
        sqlite3_step(S);
        sqlite3_reset(S);
    }
    sqlite3_finalize(S);
    sqlite3_prepare_v2(Db, "INSERT INTO Bill (BillKind, BillRecordTime, BillCreateTime, BillSerial, BillUser, BillSum, "
                           "BillReason, BillState, BillRemark, BillMan) VALUES (?, ?, ?, ?, ?, ?, '商品销售', '已签约', '', '业务员甲')",
                       -1, &S, nullptr);
    for (int I = 0; I < Documents; ++I) {
        const QByteArray Day = DayText(I, Documents);
        const QByteArray Serial = QStringLiteral("XS%1").arg(I + 1001).toUtf8();
        const QByteArray User = CustomerName((I * 31) % Customers);
        sqlite3_bind_text(S, 1, I % 3 ? "销售开单" : "采购开单", -1, SQLITE_STATIC);
        sqlite3_bind_text(S, 2, Day.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(S, 3, Day.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(S, 4, Serial.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(S, 5, User.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(S, 6, (I % 3 ? 1 : -1) * (I % 20000 + 0.25));
        sqlite3_step(S);
        sqlite3_reset(S);
    }
    sqlite3_finalize(S);
    sqlite3_prepare_v2(Db, "INSERT INTO MoneyTable (MoneyAccount, MoneyBill, MoneyRecordTime, MoneyCreateTime, MoneyUser, "
                           "MoneyReason, MoneyIn, MoneyOut, MoneySum, MoneyType, MoneyToken, MoneyRemark, MoneySerial, MoneyMan) "
                           "VALUES (?, ?, ?, ?, ?, '商品销售', ?, ?, ?, '货款', '收据', '', ?, '业务员甲')",
                       -1, &S, nullptr);
    for (int I = 0; I < MoneyRows; ++I) {
        const int Bill = I % 2 ? 2 + (I * 13) % Documents : 0;
        const QByteArray Day = DayText(I, MoneyRows);
        const QByteArray User = CustomerName((I * 17) % Customers);
        const QByteArray Serial = QStringLiteral("SK%1").arg(I + 1001).toUtf8();
        const double Amount = (I % 4 ? 1 : -1) * (I % 9000 + 0.5);
        sqlite3_bind_int(S, 1, 2 + I % Accounts);
        sqlite3_bind_int(S, 2, Bill);
        sqlite3_bind_text(S, 3, Day.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(S, 4, Day.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(S, 5, User.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(S, 6, Amount > 0 ? Amount : 0);
        sqlite3_bind_double(S, 7, Amount < 0 ? -Amount : 0);
        sqlite3_bind_double(S, 8, Amount);
        sqlite3_bind_text(S, 9, Serial.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_step(S);
        sqlite3_reset(S);
    }
    sqlite3_finalize(S);
    sqlite3_exec(Db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_exec(Db, "ANALYZE", nullptr, nullptr, nullptr);
}

inline QTemporaryDir* TempDir()
{
    static QTemporaryDir Dir;
    return &Dir;
}

// The filled database, made on the first call.
inline QString DatabasePath()
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

} // namespace BenchFirm

// Lower-case names of the text columns of the database at Path, as the program
// reads them for ordering by pinyin.
inline QSet<QString> TextColumnsOf(const QString& Path)
{
    QSet<QString> Names;
    sqlite3* Db = nullptr;
    sqlite3_open_v2(Path.toUtf8().constData(), &Db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* S = nullptr;
    sqlite3_prepare_v2(Db, "SELECT p.name, p.type FROM sqlite_master m, pragma_table_info(m.name) p WHERE m.type = 'table'",
                       -1, &S, nullptr);
    while (sqlite3_step(S) == SQLITE_ROW) {
        const QString Type = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(S, 1))).toUpper();
        if (Type.contains(QLatin1String("CHAR")) || Type.contains(QLatin1String("TEXT"))
            || Type.contains(QLatin1String("MEMO")) || Type.contains(QLatin1String("CLOB")))
            Names.insert(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(S, 0))).toLower());
    }
    sqlite3_finalize(S);
    sqlite3_close(Db);
    return Names;
}

// The baseline of a ratio: SQLite alone preparing each statement, stepping it
// and reading every column, over the database at Path. Statements ordered by
// a text column use the program's pinyin order, registered here as it is on
// the program's connection.
inline void StepStatementsAlone(benchmark::State& State, const QString& Path, const std::vector<QByteArray>& Statements)
{
    sqlite3* Db = nullptr;
    sqlite3_open_v2(Path.toUtf8().constData(), &Db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_create_collation_v2(Db, "PINYIN", SQLITE_UTF8, nullptr,
                                [](void*, int LenA, const void* A, int LenB, const void* B) {
                                    return PinyinCompareUtf8(QByteArrayView(static_cast<const char*>(A), LenA),
                                                             QByteArrayView(static_cast<const char*>(B), LenB));
                                },
                                nullptr);
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
