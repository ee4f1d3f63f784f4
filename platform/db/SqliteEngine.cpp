// The SQLite engine: runs translated Jet SQL, loads snapshots, writes edits back
// by row id, and registers the Jet functions and the pinyin collation.
#include "platform/db/ADOConnection.h"
#include "platform/db/DbEngine_p.h"
#include "platform/db/JetSql.h"
#include "platform/rtl/PinyinOrder.h"
#include "platform/rtl/SysUtils.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <string_view>
#include <sqlite3.h>

namespace {

// ---------------------------------------------------------------- Jet functions

bool Truth(sqlite3_value* V)
{
    switch (sqlite3_value_type(V)) {
    case SQLITE_INTEGER:
        return sqlite3_value_int64(V) != 0;
    case SQLITE_FLOAT:
        return sqlite3_value_double(V) != 0;
    case SQLITE_TEXT: {
        const QString S = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(V))).trimmed();
        if (S.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        bool Ok = false;
        const double D = S.toDouble(&Ok);
        return Ok && D != 0;
    }
    default:
        return false;
    }
}

void JetIIf(sqlite3_context* Ctx, int, sqlite3_value** Argv)
{
    sqlite3_result_value(Ctx, Truth(Argv[0]) ? Argv[1] : Argv[2]);
}

QString ValueText(sqlite3_value* V)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(V)), sqlite3_value_bytes(V));
}

// The length in bytes of the UTF-8 sequence starting at Text[At], or 0 when
// it is not well formed (as QString::fromUtf8 would replace it).
int Utf8Sequence(const unsigned char* Text, size_t Bytes, size_t At)
{
    const unsigned char B = Text[At];
    if (B < 0x80)
        return 1;
    int Length;
    unsigned char Low = 0x80, High = 0xBF; // the range of the second byte
    if (B >= 0xC2 && B <= 0xDF)
        Length = 2;
    else if (B >= 0xE0 && B <= 0xEF) {
        Length = 3;
        if (B == 0xE0)
            Low = 0xA0;
        else if (B == 0xED)
            High = 0x9F;
    } else if (B >= 0xF0 && B <= 0xF4) {
        Length = 4;
        if (B == 0xF0)
            Low = 0x90;
        else if (B == 0xF4)
            High = 0x8F;
    } else
        return 0;
    if (Bytes - At < size_t(Length) || Text[At + 1] < Low || Text[At + 1] > High)
        return 0;
    for (int I = 2; I < Length; ++I)
        if ((Text[At + I] & 0xC0) != 0x80)
            return 0;
    return Length;
}

// How a text may be searched without converting it.
enum class TScan { Ascii, Utf8, Malformed };

TScan ScanUtf8(const unsigned char* Text, size_t Bytes)
{
    TScan Kind = TScan::Ascii;
    for (size_t At = 0; At < Bytes;) {
        const int Length = Utf8Sequence(Text, Bytes, At);
        if (Length == 0)
            return TScan::Malformed;
        if (Length > 1)
            Kind = TScan::Utf8;
        At += size_t(Length);
    }
    return Kind;
}

char32_t DecodeUtf8(const unsigned char* S, int Length)
{
    static constexpr unsigned char LeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t C = S[0] & LeadMask[Length];
    for (int I = 1; I < Length; ++I)
        C = (C << 6) | (S[I] & 0x3F);
    return C;
}

// Characters no other character folds to and that fold to nothing else: the
// ideographs, kana, hangul and their punctuation, and the full-width signs
// and digits. (Not every character without a case mapping is one: "ß" is
// what "ẞ" folds to.)
bool Uncased(char32_t C)
{
    if (C < 0x80)
        return !((C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z'));
    return (C >= 0x2E80 && C <= 0xA4CF) || (C >= 0xAC00 && C <= 0xD7A3) || (C >= 0xF900 && C <= 0xFAFF)
           || (C >= 0xFE30 && C <= 0xFE6F) || (C >= 0xFF01 && C <= 0xFF20) || (C >= 0xFF3B && C <= 0xFF40)
           || (C >= 0xFF5B && C <= 0xFFEF) || (C >= 0x20000 && C <= 0x3FFFF);
}

bool UncasedUtf8(const unsigned char* Part, size_t Bytes)
{
    for (size_t At = 0; At < Bytes;) {
        const int Length = Utf8Sequence(Part, Bytes, At);
        if (Length == 0 || !Uncased(DecodeUtf8(Part + At, Length)))
            return false;
        At += size_t(Length);
    }
    return true;
}

// UTF-16 units of the well-formed UTF-8 in [From, To): one per sequence, two
// for those past the basic plane.
qsizetype Utf16Units(const unsigned char* From, const unsigned char* To)
{
    qsizetype Units = 0;
    for (; From < To; ++From)
        Units += ((*From & 0xC0) != 0x80) + (*From >= 0xF0);
    return Units;
}

unsigned char AsciiLower(unsigned char C) { return C >= 'A' && C <= 'Z' ? C + ('a' - 'A') : C; }

// What decides how a part is searched; kept per statement for a constant part.
struct TPartKind
{
    bool Ascii = false;   // well-formed and ASCII only
    bool Uncased = false; // well-formed, and no character of it has another case
};

TPartKind KindOfPart(const unsigned char* Part, size_t Bytes)
{
    return {ScanUtf8(Part, Bytes) == TScan::Ascii, UncasedUtf8(Part, Bytes)};
}

// InStr on the UTF-8 itself, for the texts where bytes decide: a part without
// cased letters, or an ASCII part in an ASCII text. Positions and Start count
// UTF-16 units, as in the program's texts. False when the texts need Qt's
// case folding, or a malformed text would be counted differently.
bool InStrOnBytes(sqlite3_context* Ctx, int Start, sqlite3_value* TextValue, const unsigned char* Part,
                  size_t PartBytes, TPartKind Kind)
{
    const auto* Text = sqlite3_value_text(TextValue);
    const size_t TextBytes = size_t(sqlite3_value_bytes(TextValue));
    if (!Text)
        return false;
    bool FoldAscii = false;
    if (!Kind.Uncased) {
        if (!Kind.Ascii || ScanUtf8(Text, TextBytes) != TScan::Ascii)
            return false;
        FoldAscii = true;
    } else if (Start > 1 && ScanUtf8(Text, TextBytes) == TScan::Malformed) {
        return false;
    }

    // Skip Start - 1 units; a start past the end finds nothing.
    size_t At = 0;
    qsizetype Units = 0;
    while (At < TextBytes && Units < Start - 1) {
        Units += 1 + (Text[At] >= 0xF0);
        At += size_t(Utf8Sequence(Text, TextBytes, At));
    }
    if (Units < Start - 1 || (At == TextBytes && Units == Start - 1)) {
        sqlite3_result_int(Ctx, 0);
        return true;
    }
    if (PartBytes == 0) {
        sqlite3_result_int(Ctx, Start);
        return true;
    }
    const unsigned char* Found = nullptr;
    if (FoldAscii) {
        for (size_t I = At; !Found && I + PartBytes <= TextBytes; ++I) {
            size_t K = 0;
            while (K < PartBytes && AsciiLower(Text[I + K]) == AsciiLower(Part[K]))
                ++K;
            if (K == PartBytes)
                Found = Text + I;
        }
    } else {
        // Malformed bytes decode only to U+FFFD, which no uncased part holds,
        // so the text needs checking only in front of a match.
        const std::string_view Haystack(reinterpret_cast<const char*>(Text), TextBytes);
        const size_t I = Haystack.find(std::string_view(reinterpret_cast<const char*>(Part), PartBytes), At);
        if (I != std::string_view::npos) {
            if (ScanUtf8(Text, I) == TScan::Malformed)
                return false;
            Found = Text + I;
        }
    }
    sqlite3_result_int64(Ctx, Found ? Units + Utf16Units(Text + At, Found) + 1 : 0);
    return true;
}

void InStrFolded(sqlite3_context* Ctx, int Start, sqlite3_value* TextValue, sqlite3_value* PartValue)
{
    const QString Text = ValueText(TextValue);
    const QString Part = ValueText(PartValue);
    if (Start > Text.size()) {
        sqlite3_result_int(Ctx, 0);
        return;
    }
    if (Part.isEmpty()) {
        sqlite3_result_int(Ctx, Text.isEmpty() ? 0 : Start);
        return;
    }
    const qsizetype At = Text.indexOf(Part, Start - 1, Qt::CaseInsensitive);
    sqlite3_result_int64(Ctx, At < 0 ? 0 : At + 1);
}

// InStr([start,] text, part): 1-based, case-insensitive, 0 when absent; an empty part
// is found at the start of any text that is not empty.
void JetInStr(sqlite3_context* Ctx, int Argc, sqlite3_value** Argv)
{
    int Start = 1;
    if (Argc == 3) {
        if (sqlite3_value_type(Argv[0]) == SQLITE_NULL) {
            sqlite3_result_null(Ctx);
            return;
        }
        Start = sqlite3_value_int(Argv[0]);
        if (Start < 1) {
            sqlite3_result_error(Ctx, "Invalid procedure call or argument", -1);
            return;
        }
        ++Argv;
    }
    if (sqlite3_value_type(Argv[0]) == SQLITE_NULL || sqlite3_value_type(Argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(Ctx);
        return;
    }
    // Converting every row's text to UTF-16 is most of a search's time, so
    // the bytes are searched wherever they give the same answer.
    const auto* Part = sqlite3_value_text(Argv[1]);
    const size_t PartBytes = size_t(sqlite3_value_bytes(Argv[1]));
    if (!Part) {
        InStrFolded(Ctx, Start, Argv[0], Argv[1]);
        return;
    }
    const int PartArgument = Argc - 1;
    const auto* Cached = static_cast<const TPartKind*>(sqlite3_get_auxdata(Ctx, PartArgument));
    const TPartKind Kind = Cached ? *Cached : KindOfPart(Part, PartBytes);
    if (!InStrOnBytes(Ctx, Start, Argv[0], Part, PartBytes, Kind))
        InStrFolded(Ctx, Start, Argv[0], Argv[1]);
    // Last: SQLite may free the data at once when the part is not a constant.
    if (!Cached)
        sqlite3_set_auxdata(Ctx, PartArgument, new TPartKind(Kind), [](void* P) { delete static_cast<TPartKind*>(P); });
}

bool NumberOf(sqlite3_value* V, double& D, bool& IsInt, int64_t& I)
{
    switch (sqlite3_value_numeric_type(V)) {
    case SQLITE_INTEGER:
        I = sqlite3_value_int64(V);
        D = double(I);
        IsInt = true;
        return true;
    case SQLITE_FLOAT:
        D = sqlite3_value_double(V);
        IsInt = false;
        return true;
    default:
        return false;
    }
}

// Round(x[, digits]) with halves to the even neighbour, as Jet rounds.
void JetRound(sqlite3_context* Ctx, int Argc, sqlite3_value** Argv)
{
    double D;
    bool IsInt;
    int64_t I;
    if (sqlite3_value_type(Argv[0]) == SQLITE_NULL || !NumberOf(Argv[0], D, IsInt, I)) {
        sqlite3_result_null(Ctx);
        return;
    }
    const int Digits = Argc > 1 ? sqlite3_value_int(Argv[1]) : 0;
    if (Digits < 0 || Digits > 15) {
        sqlite3_result_error(Ctx, "Invalid procedure call or argument", -1);
        return;
    }
    // Past 2^52 a double holds no fraction; rounding it would only risk an
    // overflow exception inside SQLite's C code.
    if (!std::isfinite(D) || std::fabs(D) >= 4503599627370496.0) {
        sqlite3_result_double(Ctx, D);
        return;
    }
    sqlite3_result_double(Ctx, Digits == 0 ? double(RoundHalfEven(D)) : RoundTo(D, -Digits));
}

void JetAbs(sqlite3_context* Ctx, int, sqlite3_value** Argv)
{
    double D;
    bool IsInt;
    int64_t I;
    if (sqlite3_value_type(Argv[0]) == SQLITE_NULL || !NumberOf(Argv[0], D, IsInt, I)) {
        sqlite3_result_null(Ctx);
        return;
    }
    if (IsInt && I != INT64_MIN)
        sqlite3_result_int64(Ctx, I < 0 ? -I : I);
    else
        sqlite3_result_double(Ctx, std::fabs(D));
}

// Text columns sort in the program's one text order (platform/rtl/PinyinOrder).
int PinyinCollate(void*, int LenA, const void* A, int LenB, const void* B)
{
    return PinyinCompareUtf8(QByteArrayView(static_cast<const char*>(A), LenA),
                             QByteArrayView(static_cast<const char*>(B), LenB));
}

// ---------------------------------------------------------------- statements

class TStatement
{
public:
    TStatement(sqlite3* Db, const QString& Sql, const QString& Context) : FContext(Context)
    {
        const QByteArray U = Sql.toUtf8();
        if (sqlite3_prepare_v2(Db, U.constData(), int(U.size()), &FStmt, nullptr) != SQLITE_OK) {
            const QString Msg = QString::fromUtf8(sqlite3_errmsg(Db));
            sqlite3_finalize(FStmt);
            FStmt = nullptr;
            throw EDatabaseError(Msg + QStringLiteral(" [") + Context + u']');
        }
    }
    ~TStatement() { sqlite3_finalize(FStmt); }
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    sqlite3_stmt* Handle() const { return FStmt; }
    bool Step()
    {
        const int Rc = sqlite3_step(FStmt);
        if (Rc == SQLITE_ROW)
            return true;
        if (Rc == SQLITE_DONE)
            return false;
        throw EDatabaseError(QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(FStmt))) + QStringLiteral(" [")
                             + FContext + u']');
    }

private:
    sqlite3_stmt* FStmt = nullptr;
    QString FContext;
};

TFieldType TypeOfDecl(const QString& Decl, int& Size)
{
    Size = 0;
    const QString D = Decl.toUpper();
    static const QRegularExpression SizeRe(QStringLiteral("\\((\\d+)\\)"));
    const auto M = SizeRe.match(D);
    if (M.hasMatch())
        Size = M.captured(1).toInt();
    if (D.contains(QLatin1String("MEMO")) || D.contains(QLatin1String("LONGTEXT")) || D.contains(QLatin1String("CLOB")))
        return ftMemo;
    if (D.contains(QLatin1String("CHAR")) || D.contains(QLatin1String("TEXT"))) {
        if (Size == 0)
            Size = 255;
        return ftWideString;
    }
    if (D.contains(QLatin1String("BOOL")) || D == QLatin1String("BIT") || D.contains(QLatin1String("YESNO")))
        return ftBoolean;
    if (D.contains(QLatin1String("DATETIME")) || D.contains(QLatin1String("TIMESTAMP")))
        return ftDateTime;
    if (D == QLatin1String("DATE"))
        return ftDate;
    if (D == QLatin1String("TIME"))
        return ftTime;
    if (D.contains(QLatin1String("BIGINT")))
        return ftLargeint;
    if (D.contains(QLatin1String("SMALLINT")))
        return ftSmallint;
    if (D.contains(QLatin1String("INT")))
        return ftInteger;
    if (D.contains(QLatin1String("MONEY")) || D.contains(QLatin1String("CURRENCY")))
        return ftCurrency;
    if (D.contains(QLatin1String("REAL")) || D.contains(QLatin1String("FLOA")) || D.contains(QLatin1String("DOUB"))
        || D.contains(QLatin1String("NUMERIC")) || D.contains(QLatin1String("DECIMAL")))
        return ftFloat;
    if (D.contains(QLatin1String("BLOB")))
        return ftBlob;
    return ftUnknown;
}

class TSqliteEngine : public TDbEngine
{
public:
    TSqliteEngine() = default;
    ~TSqliteEngine() override { Close(); }

    void Open(const QString& FileName) override;
    void Close() override
    {
        if (FDb)
            sqlite3_close_v2(FDb);
        FDb = nullptr;
    }
    int Execute(const QString& JetSql) override;
    void Select(const QString& JetSql, TRowStore& Store, TSnapshotInfo& Info) override;
    void InsertRow(const TSnapshotInfo& Info, TRowStore& Store, TRowHandle Row, const std::vector<bool>& Changed) override;
    void UpdateRow(const TSnapshotInfo& Info, TRowStore& Store, TRowHandle Row, const std::vector<bool>& Changed) override;
    void DeleteRow(const TSnapshotInfo& Info, const TRowStore& Store, TRowHandle Row) override;
    void Begin(int Level) override
    {
        // The write lock is taken at once, where the busy timeout waits for
        // another writer; taken later, by a write after a read, SQLite gives
        // up at once rather than risk a deadlock.
        Exec(Level == 1 ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("SAVEPOINT tb_%1").arg(Level));
    }
    void Commit(int Level) override
    {
        Exec(Level == 1 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE tb_%1").arg(Level));
    }
    void Rollback(int Level) override
    {
        if (Level == 1)
            Exec(QStringLiteral("ROLLBACK"));
        else
            Exec(QStringLiteral("ROLLBACK TO tb_%1; RELEASE tb_%1").arg(Level));
    }
    bool InTransaction() const override { return FDb && !sqlite3_get_autocommit(FDb); }
    void BackupTo(const QString& FileName) override
    {
        CheckOpen();
        BackupSqlite(FDb, FileName);
    }
    TDbFileCheck RestoreFrom(const QString& FileName, const QString& SchemaSql) override
    {
        CheckOpen();
        const TDbFileCheck Check = RestoreSqlite(FDb, FileName, SchemaSql);
        LoadTextColumns();
        return Check;
    }

private:
    void Exec(const QString& Sql);
    void RegisterFunctions();
    void LoadTextColumns();
    void CheckOpen() const
    {
        if (!FDb)
            throw EDatabaseError(QStringLiteral("Operation is not allowed when the object is closed"));
    }
    void BindCell(sqlite3_stmt* S, int Index, const TRowStore& Store, const TCell& C);
    void ReadRow(const TSnapshotInfo& Info, TRowStore& Store, TRowHandle Row);

    sqlite3* FDb = nullptr;
    QSet<QString> FTextColumns;
};

void TSqliteEngine::Open(const QString& FileName)
{
    Close();
    if (!QFileInfo::exists(FileName))
        throw EDatabaseError(QStringLiteral("Could not find file '%1'.").arg(FileName));
    const QByteArray Path = FileName.toUtf8();
    if (sqlite3_open_v2(Path.constData(), &FDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        const QString Msg = FDb ? QString::fromUtf8(sqlite3_errmsg(FDb)) : QStringLiteral("out of memory");
        Close();
        throw EDatabaseError(QStringLiteral("Cannot open database '%1': %2").arg(FileName, Msg));
    }
    sqlite3_busy_timeout(FDb, 3000);
    try {
        LoadTextColumns(); // also proves the file is a database
    } catch (const EDatabaseError&) {
        Close();
        throw EDatabaseError(QStringLiteral("Unrecognized database format '%1'.").arg(FileName));
    }
    RegisterFunctions();
}

void TSqliteEngine::RegisterFunctions()
{
    const int Flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(FDb, "IIF", 3, Flags, nullptr, JetIIf, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(FDb, "InStr", 2, Flags, nullptr, JetInStr, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(FDb, "InStr", 3, Flags, nullptr, JetInStr, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(FDb, "Round", 1, Flags, nullptr, JetRound, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(FDb, "Round", 2, Flags, nullptr, JetRound, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(FDb, "Abs", 1, Flags, nullptr, JetAbs, nullptr, nullptr, nullptr);
    sqlite3_create_collation_v2(FDb, PinyinCollation, SQLITE_UTF8, nullptr, PinyinCollate, nullptr);
}

void TSqliteEngine::LoadTextColumns()
{
    FTextColumns.clear();
    QStringList Tables;
    {
        TStatement S(FDb, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"), QStringLiteral("schema"));
        while (S.Step())
            Tables << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(S.Handle(), 0)));
    }
    for (const QString& Table : Tables) {
        TStatement S(FDb, QStringLiteral("PRAGMA table_info(%1)").arg(QuoteName(Table)), Table);
        while (S.Step()) {
            int Size;
            const QString Decl = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(S.Handle(), 2)));
            if (IsStringFieldType(TypeOfDecl(Decl, Size)))
                FTextColumns.insert(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(S.Handle(), 1))).toLower());
        }
    }
}

void TSqliteEngine::Exec(const QString& Sql)
{
    CheckOpen();
    char* Err = nullptr;
    if (sqlite3_exec(FDb, Sql.toUtf8().constData(), nullptr, nullptr, &Err) != SQLITE_OK) {
        const QString Msg = QString::fromUtf8(Err ? Err : "error");
        sqlite3_free(Err);
        throw EDatabaseError(Msg + QStringLiteral(" [") + Sql + u']');
    }
}

int TSqliteEngine::Execute(const QString& JetSql)
{
    CheckOpen();
    const TJetTranslation T = TranslateJetSql(JetSql, FTextColumns);
    TStatement S(FDb, T.Sql, JetSql);
    while (S.Step()) {
    }
    return sqlite3_changes(FDb);
}

// ---------------------------------------------------------------- snapshots

enum class TLoadAs : uint8_t { Any, Integer, Float, Boolean, DateTime, Text };

TLoadAs LoadAsOf(TFieldType T)
{
    switch (T) {
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftLargeint:
        return TLoadAs::Integer;
    case ftFloat: case ftCurrency: case ftBCD:
        return TLoadAs::Float;
    case ftBoolean:
        return TLoadAs::Boolean;
    case ftDate: case ftTime: case ftDateTime:
        return TLoadAs::DateTime;
    case ftString: case ftFixedChar: case ftWideString: case ftMemo: case ftFmtMemo:
        return TLoadAs::Text;
    default:
        return TLoadAs::Any;
    }
}

TCell LoadCell(sqlite3_stmt* H, int Col, TLoadAs As, TRowStore& Store)
{
    switch (sqlite3_column_type(H, Col)) {
    case SQLITE_INTEGER: {
        const int64_t V = sqlite3_column_int64(H, Col);
        switch (As) {
        case TLoadAs::Boolean:
            return TCell::Bool(V != 0);
        case TLoadAs::DateTime:
            return TCell::Date(double(V));
        case TLoadAs::Float:
            return TCell::Float(double(V));
        default:
            return TCell::Int(V);
        }
    }
    case SQLITE_FLOAT: {
        const double D = sqlite3_column_double(H, Col);
        return As == TLoadAs::DateTime ? TCell::Date(D) : TCell::Float(D);
    }
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const char* P = reinterpret_cast<const char*>(sqlite3_column_text(H, Col));
        const size_t N = size_t(sqlite3_column_bytes(H, Col));
        if (As == TLoadAs::DateTime) {
            double V;
            if (ParseCanonicalDateTime(P, N, V))
                return TCell::Date(V);
        }
        return Store.MakeText(P, N);
    }
    default:
        return TCell::Null();
    }
}

// Computed columns have no declared type: amounts are floats, whole numbers that
// fit 32 bits are integers, anything textual is text.
TFieldType TypeOfValues(const TRowStore& Store, int Col, bool AmountHint)
{
    bool AnyText = false, AnyFloat = false, AnyInt = false, Wide = false;
    for (const TRowRec& R : Store.Rows) {
        const TCell& C = Store.Cells[R.FirstCell + uint32_t(Col)];
        switch (C.Kind) {
        case TCellKind::Text:
            AnyText = true;
            break;
        case TCellKind::Float:
        case TCellKind::DateTime:
            AnyFloat = true;
            break;
        case TCellKind::Integer:
        case TCellKind::Boolean:
            AnyInt = true;
            Wide = Wide || C.I < INT32_MIN || C.I > INT32_MAX;
            break;
        case TCellKind::Null:
            break;
        }
    }
    if (AnyText)
        return ftWideString;
    if (AnyFloat || AmountHint)
        return ftFloat;
    if (AnyInt)
        return Wide ? ftLargeint : ftInteger;
    return ftWideString;
}

void TSqliteEngine::Select(const QString& JetSql, TRowStore& Store, TSnapshotInfo& Info)
{
    CheckOpen();
    const TJetTranslation T = TranslateJetSql(JetSql, FTextColumns);
    std::unique_ptr<TStatement> S;
    bool WithRowId = false;
    if (!T.SqlWithRowId.isEmpty()) {
        try {
            S = std::make_unique<TStatement>(FDb, T.SqlWithRowId, JetSql);
            WithRowId = true;
        } catch (const EDatabaseError&) {
            // A view or a table without row ids: the result is read-only.
        }
    }
    if (!S)
        S = std::make_unique<TStatement>(FDb, T.Sql, JetSql);
    sqlite3_stmt* H = S->Handle();
    const int First = WithRowId ? 1 : 0;
    const int Count = sqlite3_column_count(H) - First;
    if (Count <= 0)
        throw EDatabaseError(QStringLiteral("CommandText does not return a result set [%1]").arg(JetSql));
    Info = TSnapshotInfo();
    QString Table;
    bool Updatable = WithRowId;
    std::vector<TLoadAs> LoadAs(size_t(Count), TLoadAs::Any);
    std::vector<bool> Computed(size_t(Count), false);
    for (int i = 0; i < Count; ++i) {
        const int Col = First + i;
        TFieldDef D;
        D.Name = QString::fromUtf8(sqlite3_column_name(H, Col));
        const char* Decl = sqlite3_column_decltype(H, Col);
        const char* Tab = sqlite3_column_table_name(H, Col);
        const char* Origin = sqlite3_column_origin_name(H, Col);
        D.DataType = Decl ? TypeOfDecl(QString::fromUtf8(Decl), D.Size) : ftUnknown;
        Computed[size_t(i)] = D.DataType == ftUnknown;
        if (Tab && Origin) {
            int NotNull = 0, PrimaryKey = 0, AutoInc = 0;
            if (sqlite3_table_column_metadata(FDb, sqlite3_column_database_name(H, Col), Tab, Origin, nullptr,
                                              nullptr, &NotNull, &PrimaryKey, &AutoInc) == SQLITE_OK
                && AutoInc) {
                D.DataType = ftAutoInc;
                D.ReadOnly = true;
            }
            const QString TabName = QString::fromUtf8(Tab);
            if (Table.isEmpty())
                Table = TabName;
            else if (Table != TabName)
                Updatable = false;
        } else {
            D.ReadOnly = true; // computed: the table's own columns stay editable
        }
        Info.Columns << (Origin ? QString::fromUtf8(Origin) : QString());
        LoadAs[size_t(i)] = LoadAsOf(D.DataType);
        Info.Defs.Add(D);
    }
    Store.Reset(Count);
    while (S->Step()) {
        Store.BeginRow(WithRowId ? sqlite3_column_int64(H, 0) : 0);
        for (int i = 0; i < Count; ++i)
            Store.Cells.push_back(LoadCell(H, First + i, LoadAs[size_t(i)], Store));
    }
    TFieldDefs Defs;
    for (int i = 0; i < Count; ++i) {
        TFieldDef D = Info.Defs.Items(i);
        if (Computed[size_t(i)]) {
            D.DataType = TypeOfValues(Store, i, T.FloatColumns.contains(D.Name.toLower()));
            D.Size = D.DataType == ftWideString ? 255 : 0;
        }
        if (!Updatable)
            D.ReadOnly = true;
        Defs.Add(D);
    }
    Info.Defs = Defs;
    Info.Table = Updatable ? Table : QString();
}

void TSqliteEngine::BindCell(sqlite3_stmt* S, int Index, const TRowStore& Store, const TCell& C)
{
    switch (C.Kind) {
    case TCellKind::Null:
        sqlite3_bind_null(S, Index);
        break;
    case TCellKind::Integer:
    case TCellKind::Boolean:
        sqlite3_bind_int64(S, Index, C.I);
        break;
    case TCellKind::Float:
        sqlite3_bind_double(S, Index, C.D);
        break;
    case TCellKind::DateTime: {
        const QByteArray Text = FormatCanonicalDateTime(C.D);
        sqlite3_bind_text(S, Index, Text.constData(), int(Text.size()), SQLITE_TRANSIENT);
        break;
    }
    case TCellKind::Text:
        sqlite3_bind_text(S, Index, Store.TextData(C), int(C.Len), SQLITE_TRANSIENT);
        break;
    }
}

void TSqliteEngine::ReadRow(const TSnapshotInfo& Info, TRowStore& Store, TRowHandle Row)
{
    QStringList Cols;
    std::vector<int> Fields;
    for (int i = 0; i < Info.Columns.size(); ++i)
        if (!Info.Columns[i].isEmpty()) {
            Cols << QuoteName(Info.Columns[i]);
            Fields.push_back(i);
        }
    if (Fields.empty())
        return;
    TStatement S(FDb, QStringLiteral("SELECT %1 FROM %2 WHERE _ROWID_ = ?").arg(Cols.join(u','), QuoteName(Info.Table)),
                 Info.Table);
    sqlite3_bind_int64(S.Handle(), 1, Store.Rows[Row].RowId);
    if (!S.Step())
        return;
    for (size_t k = 0; k < Fields.size(); ++k) {
        const int i = Fields[k];
        const TCell C = LoadCell(S.Handle(), int(k), LoadAsOf(Info.Defs.Items(i).DataType), Store);
        Store.Cells[Store.Rows[Row].FirstCell + uint32_t(i)] = C;
    }
}

void TSqliteEngine::InsertRow(const TSnapshotInfo& Info, TRowStore& Store, TRowHandle Row,
                              const std::vector<bool>& Changed)
{
    CheckOpen();
    QStringList Cols, Marks;
    std::vector<int> Fields;
    for (int i = 0; i < Info.Defs.Count(); ++i)
        if (Changed[size_t(i)] && !Info.Columns[i].isEmpty() && !Info.Defs.Items(i).ReadOnly) {
            Cols << QuoteName(Info.Columns[i]);
            Marks << QStringLiteral("?");
            Fields.push_back(i);
        }
    const QString Sql = Cols.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(QuoteName(Info.Table))
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(QuoteName(Info.Table), Cols.join(u','), Marks.join(u','));
    TStatement S(FDb, Sql, Info.Table);
    const TCell* Cells = Store.RowCells(Row);
    for (size_t k = 0; k < Fields.size(); ++k)
        BindCell(S.Handle(), int(k) + 1, Store, Cells[Fields[k]]);
    S.Step();
    Store.Rows[Row].RowId = sqlite3_last_insert_rowid(FDb);
    ReadRow(Info, Store, Row);
}

void TSqliteEngine::UpdateRow(const TSnapshotInfo& Info, TRowStore& Store, TRowHandle Row,
                              const std::vector<bool>& Changed)
{
    CheckOpen();
    QStringList Sets;
    std::vector<int> Fields;
    for (int i = 0; i < Info.Defs.Count(); ++i)
        if (Changed[size_t(i)] && !Info.Columns[i].isEmpty() && !Info.Defs.Items(i).ReadOnly) {
            Sets << QuoteName(Info.Columns[i]) + QStringLiteral(" = ?");
            Fields.push_back(i);
        }
    if (Fields.empty())
        return;
    TStatement S(FDb, QStringLiteral("UPDATE %1 SET %2 WHERE _ROWID_ = ?").arg(QuoteName(Info.Table), Sets.join(u',')),
                 Info.Table);
    const TCell* Cells = Store.RowCells(Row);
    for (size_t k = 0; k < Fields.size(); ++k)
        BindCell(S.Handle(), int(k) + 1, Store, Cells[Fields[k]]);
    sqlite3_bind_int64(S.Handle(), int(Fields.size()) + 1, Store.Rows[Row].RowId);
    S.Step();
    if (sqlite3_changes(FDb) == 0)
        throw EDatabaseError(QStringLiteral("Row cannot be located for updating. "
                                            "Some values may have been changed since it was last read. [%1]")
                                 .arg(Info.Table));
    ReadRow(Info, Store, Row);
}

void TSqliteEngine::DeleteRow(const TSnapshotInfo& Info, const TRowStore& Store, TRowHandle Row)
{
    CheckOpen();
    TStatement S(FDb, QStringLiteral("DELETE FROM %1 WHERE _ROWID_ = ?").arg(QuoteName(Info.Table)), Info.Table);
    sqlite3_bind_int64(S.Handle(), 1, Store.Rows[Row].RowId);
    S.Step();
    if (sqlite3_changes(FDb) == 0)
        throw EDatabaseError(QStringLiteral("Row cannot be located for deletion. [%1]").arg(Info.Table));
}

} // namespace

std::unique_ptr<TDbEngine> CreateSqliteEngine()
{
    return std::make_unique<TSqliteEngine>();
}
