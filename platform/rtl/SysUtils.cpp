// Exceptions, the locale record, text helpers and integer conversions.
#include "platform/rtl/SysUtils.h"

#include <QFileInfo>

#include <cstdlib>
#include <limits>

// ---------------------------------------------------------------- exceptions

Exception::Exception(QString Message)
    : FMessage(std::move(Message)), FUtf8(FMessage.toUtf8())
{
}

void Exception::SetMessage(const QString& Value)
{
    FMessage = Value;
    FUtf8 = FMessage.toUtf8();
}

// ---------------------------------------------------------------- locale

TFormatSettings::TFormatSettings()
{
    static const char16_t* const Months[12] = {u"一月", u"二月", u"三月", u"四月", u"五月", u"六月",
                                               u"七月", u"八月", u"九月", u"十月", u"十一月", u"十二月"};
    static const char16_t* const Days[7] = {u"日", u"一", u"二", u"三", u"四", u"五", u"六"};
    for (int I = 0; I < 12; ++I) {
        ShortMonthNames[I] = QString::fromUtf16(Months[I]);
        LongMonthNames[I] = ShortMonthNames[I];
    }
    for (int I = 0; I < 7; ++I) {
        ShortDayNames[I] = QStringLiteral("周") + QString::fromUtf16(Days[I]);
        LongDayNames[I] = QStringLiteral("星期") + QString::fromUtf16(Days[I]);
    }
}

namespace {
TFormatSettings& GlobalSettings()
{
    static TFormatSettings Instance;
    return Instance;
}
} // namespace

const TFormatSettings& FormatSettings()
{
    return GlobalSettings();
}

void SetFormatSettings(const TFormatSettings& Value)
{
    GlobalSettings() = Value;
}

// ---------------------------------------------------------------- text

QString Trim(const QString& S)
{
    qsizetype B = 0, E = S.size();
    while (B < E && S[B] <= u' ')
        ++B;
    while (E > B && S[E - 1] <= u' ')
        --E;
    return S.mid(B, E - B);
}

QString TrimLeft(const QString& S)
{
    qsizetype B = 0;
    while (B < S.size() && S[B] <= u' ')
        ++B;
    return S.mid(B);
}

QString TrimRight(const QString& S)
{
    qsizetype E = S.size();
    while (E > 0 && S[E - 1] <= u' ')
        --E;
    return S.left(E);
}

QChar UpCase(QChar C)
{
    return (C >= u'a' && C <= u'z') ? QChar(C.unicode() - 32) : C;
}

namespace {
QChar AsciiLower(QChar C)
{
    return (C >= u'A' && C <= u'Z') ? QChar(C.unicode() + 32) : C;
}
} // namespace

QString UpperCase(const QString& S)
{
    QString R = S;
    for (QChar& C : R)
        C = UpCase(C);
    return R;
}

QString LowerCase(const QString& S)
{
    QString R = S;
    for (QChar& C : R)
        C = AsciiLower(C);
    return R;
}

QString AnsiUpperCase(const QString& S)
{
    return S.toUpper();
}

QString AnsiLowerCase(const QString& S)
{
    return S.toLower();
}

int CompareText(const QString& A, const QString& B)
{
    const qsizetype N = std::min(A.size(), B.size());
    for (qsizetype I = 0; I < N; ++I) {
        const int D = int(UpCase(A[I]).unicode()) - int(UpCase(B[I]).unicode());
        if (D != 0)
            return D;
    }
    return int(A.size() - B.size());
}

bool SameText(const QString& A, const QString& B)
{
    return A.size() == B.size() && CompareText(A, B) == 0;
}

int AnsiCompareText(const QString& A, const QString& B)
{
    return QString::localeAwareCompare(A.toLower(), B.toLower());
}

int AnsiCompareStr(const QString& A, const QString& B)
{
    return QString::localeAwareCompare(A, B);
}

QString AnsiQuotedStr(const QString& S, QChar Quote)
{
    QString R;
    R.reserve(S.size() + 2);
    R += Quote;
    for (QChar C : S) {
        R += C;
        if (C == Quote)
            R += C;
    }
    R += Quote;
    return R;
}

QString QuotedStr(const QString& S)
{
    return AnsiQuotedStr(S, u'\'');
}

// Reads a quoted text up to its closing quote, undoubling inner quotes. A text that
// does not start with the quote, or whose quote is never closed, comes back unchanged.
QString AnsiDequotedStr(const QString& S, QChar Quote)
{
    if (S.isEmpty() || S[0] != Quote)
        return S;
    QString R;
    qsizetype I = 1;
    while (I < S.size()) {
        if (S[I] == Quote) {
            if (I + 1 < S.size() && S[I + 1] == Quote) {
                R += Quote;
                I += 2;
                continue;
            }
            return R;
        }
        R += S[I++];
    }
    return S;
}

QString StringOfChar(QChar C, int Count)
{
    return Count > 0 ? QString(Count, C) : QString();
}

namespace {
bool IsPathDelimiter(QChar C)
{
    return C == u'/' || C == u'\\';
}

qsizetype LastDelimiter(const QString& FileName)
{
    for (qsizetype I = FileName.size() - 1; I >= 0; --I)
        if (IsPathDelimiter(FileName[I]))
            return I;
    return -1;
}
} // namespace

QString IncludeTrailingPathDelimiter(const QString& Path)
{
    if (!Path.isEmpty() && IsPathDelimiter(Path.back()))
        return Path;
    return Path + u'/';
}

QString ExtractFilePath(const QString& FileName)
{
    return FileName.left(LastDelimiter(FileName) + 1);
}

QString ExtractFileName(const QString& FileName)
{
    return FileName.mid(LastDelimiter(FileName) + 1);
}

QString ExtractFileExt(const QString& FileName)
{
    const qsizetype Dot = FileName.lastIndexOf(u'.');
    return Dot > LastDelimiter(FileName) ? FileName.mid(Dot) : QString();
}

QString ChangeFileExt(const QString& FileName, const QString& Ext)
{
    const qsizetype Dot = FileName.lastIndexOf(u'.');
    if (Dot > LastDelimiter(FileName))
        return FileName.left(Dot) + Ext;
    return FileName + Ext;
}

QString AddFileExt(const QString& FileName, const QString& Ext)
{
    if (Ext.isEmpty() || FileName.endsWith(Ext, Qt::CaseInsensitive))
        return FileName;
    if (FileName.endsWith(u'.') && Ext.startsWith(u'.'))
        return FileName + Ext.mid(1);
    return FileName + Ext;
}

bool FileExists(const QString& FileName)
{
    const QFileInfo Info(FileName);
    return Info.exists() && !Info.isDir();
}

bool DirectoryExists(const QString& Dir)
{
    return !Dir.isEmpty() && QFileInfo(Dir).isDir();
}

// ---------------------------------------------------------------- integers

QString IntToStr(int64_t Value)
{
    return QString::number(Value);
}

QString IntToHex(int64_t Value, int Digits)
{
    QString R = QString::number(static_cast<quint64>(Value), 16).toUpper();
    if (R.size() < Digits)
        R.prepend(QString(Digits - R.size(), u'0'));
    return R;
}

namespace {
// Leading blanks, a sign, then decimal digits or a '$' / "0x" hexadecimal number;
// nothing may follow. Out-of-range values fail instead of wrapping.
bool ParseInt64(const QString& S, int64_t& Value)
{
    qsizetype I = 0;
    const qsizetype N = S.size();
    while (I < N && S[I] == u' ')
        ++I;
    bool Negative = false;
    if (I < N && (S[I] == u'+' || S[I] == u'-')) {
        Negative = S[I] == u'-';
        ++I;
    }
    int Base = 10;
    if (I < N && S[I] == u'$') {
        Base = 16;
        ++I;
    } else if (I + 1 < N && S[I] == u'0' && (S[I + 1] == u'x' || S[I + 1] == u'X')) {
        Base = 16;
        I += 2;
    }
    if (I >= N)
        return false;
    // Accumulate as a negative number so that INT64_MIN is reachable.
    const int64_t Min = std::numeric_limits<int64_t>::min();
    int64_t Acc = 0;
    for (; I < N; ++I) {
        const char16_t C = S[I].unicode();
        int D;
        if (C >= u'0' && C <= u'9')
            D = C - u'0';
        else if (Base == 16 && C >= u'a' && C <= u'f')
            D = C - u'a' + 10;
        else if (Base == 16 && C >= u'A' && C <= u'F')
            D = C - u'A' + 10;
        else
            return false;
        if (Acc < (Min + D) / Base)
            return false;
        Acc = Acc * Base - D;
    }
    if (!Negative) {
        if (Acc == Min)
            return false;
        Acc = -Acc;
    }
    Value = Acc;
    return true;
}

[[noreturn]] void RaiseInvalidInteger(const QString& S)
{
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(S));
}
} // namespace

bool TryStrToInt64(const QString& S, int64_t& Value)
{
    return ParseInt64(S, Value);
}

bool TryStrToInt(const QString& S, int& Value)
{
    int64_t V;
    if (!ParseInt64(S, V) || V < std::numeric_limits<int>::min() || V > std::numeric_limits<int>::max())
        return false;
    Value = int(V);
    return true;
}

int StrToInt(const QString& S)
{
    int V;
    if (!TryStrToInt(S, V))
        RaiseInvalidInteger(S);
    return V;
}

int StrToIntDef(const QString& S, int Default)
{
    int V;
    return TryStrToInt(S, V) ? V : Default;
}

int64_t StrToInt64(const QString& S)
{
    int64_t V;
    if (!ParseInt64(S, V))
        RaiseInvalidInteger(S);
    return V;
}

int64_t StrToInt64Def(const QString& S, int64_t Default)
{
    int64_t V;
    return ParseInt64(S, V) ? V : Default;
}

int MulDiv(int Number, int Numerator, int Denominator)
{
    if (Denominator == 0)
        return -1;
    const int64_t P = int64_t(Number) * Numerator;
    int64_t Q = P / Denominator;
    const int64_t R = P % Denominator;
    if (2 * std::llabs(R) >= std::llabs(int64_t(Denominator)))
        Q += ((P < 0) != (Denominator < 0)) ? -1 : 1;
    if (Q < std::numeric_limits<int>::min() || Q > std::numeric_limits<int>::max())
        return -1;
    return int(Q);
}
