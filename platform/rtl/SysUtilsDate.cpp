// Dates and times: encoding, decoding, arithmetic, formatting and parsing.
//
// A TDateTime before 1899-12-30 is negative, and as in the stored formats its
// integer part and its fraction are read separately: -1.25 is 1899-12-29 06:00,
// not 1899-12-28 18:00. The time of day is always the absolute fraction.
#include "platform/rtl/SysUtils.h"

#include <QDateTime>

#include <cmath>

namespace {

constexpr int64_t MSecsPerDayInt = 86400000;
constexpr int MinDay = -693593; // 0001-01-01
constexpr int MaxDay = 2958465; // 9999-12-31

// Whole days and milliseconds of the day, the day truncated toward zero.
struct TTimeStamp
{
    int64_t Day = 0;
    int64_t MSec = 0;
};

TTimeStamp ToTimeStamp(TDateTime Value)
{
    TTimeStamp T;
    // Far outside the calendar: a day no date decodes, and no 64-bit overflow.
    if (!std::isfinite(Value) || std::fabs(Value) > 1e10)
        return {int64_t(MaxDay) + 1, 0};
    const int64_t MSecs = std::llrint(Value * MSecsPerDay);
    T.Day = MSecs / MSecsPerDayInt;
    T.MSec = std::llabs(MSecs) % MSecsPerDayInt;
    return T;
}

TDateTime FromParts(double Day, double TimeFraction)
{
    return Day < 0 ? Day - TimeFraction : Day + TimeFraction;
}

// Days since 1899-12-30 for a proleptic Gregorian date (no range check).
int64_t DaysFromCivil(int64_t Y, int M, int D)
{
    Y -= M <= 2;
    const int64_t Era = (Y >= 0 ? Y : Y - 399) / 400;
    const int64_t Yoe = Y - Era * 400;
    const int64_t Doy = (153 * (M + (M > 2 ? -3 : 9)) + 2) / 5 + D - 1;
    const int64_t Doe = Yoe * 365 + Yoe / 4 - Yoe / 100 + Doy;
    return Era * 146097 + Doe - 719468 + 25569;
}

void CivilFromDays(int64_t Days, int& Year, int& Month, int& Day)
{
    if (Days < MinDay || Days > MaxDay) {
        Year = Month = Day = 0;
        return;
    }
    const int64_t Z = Days - 25569 + 719468;
    const int64_t Era = (Z >= 0 ? Z : Z - 146096) / 146097;
    const int64_t Doe = Z - Era * 146097;
    const int64_t Yoe = (Doe - Doe / 1460 + Doe / 36524 - Doe / 146096) / 365;
    const int64_t Doy = Doe - (365 * Yoe + Yoe / 4 - Yoe / 100);
    const int64_t Mp = (5 * Doy + 2) / 153;
    Day = int(Doy - (153 * Mp + 2) / 5 + 1);
    Month = int(Mp < 10 ? Mp + 3 : Mp - 9);
    Year = int(Yoe + Era * 400 + (Month <= 2));
}

} // namespace

// ---------------------------------------------------------------- encoding

bool IsLeapYear(int Year)
{
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

int DaysInMonth(int Year, int Month)
{
    static const int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (Month < 1 || Month > 12)
        return 0;
    return Month == 2 && IsLeapYear(Year) ? 29 : Days[Month - 1];
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Value)
{
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInMonth(Year, Month))
        return false;
    Value = double(DaysFromCivil(Year, Month, Day));
    return true;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Value)
{
    if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999)
        return false;
    Value = (((Hour * 60.0 + Min) * 60.0 + Sec) * 1000.0 + MSec) / MSecsPerDay;
    return true;
}

TDateTime EncodeDate(int Year, int Month, int Day)
{
    TDateTime V;
    if (!TryEncodeDate(Year, Month, Day, V))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return V;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec)
{
    TDateTime V;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, V))
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return V;
}

void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day)
{
    CivilFromDays(ToTimeStamp(Value).Day, Year, Month, Day);
}

void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec)
{
    int64_t T = ToTimeStamp(Value).MSec;
    MSec = int(T % 1000);
    T /= 1000;
    Sec = int(T % 60);
    T /= 60;
    Min = int(T % 60);
    Hour = int(T / 60);
}

int DayOfWeek(TDateTime Value)
{
    // 1899-12-30 was a Saturday (7).
    const int64_t Day = ToTimeStamp(Value).Day;
    return int(((Day + 6) % 7 + 7) % 7) + 1;
}

int YearOf(TDateTime Value)
{
    int Y, M, D;
    DecodeDate(Value, Y, M, D);
    return Y;
}

int MonthOf(TDateTime Value)
{
    int Y, M, D;
    DecodeDate(Value, Y, M, D);
    return M;
}

int DayOf(TDateTime Value)
{
    int Y, M, D;
    DecodeDate(Value, Y, M, D);
    return D;
}

TDateTime IncMonth(TDateTime Value, int Months)
{
    int Y, M, D;
    DecodeDate(Value, Y, M, D);
    if (Y == 0)
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    const int64_t Total = int64_t(Y) * 12 + (M - 1) + Months;
    const int64_t NewYear = Total >= 0 ? Total / 12 : -((11 - Total) / 12);
    const int NewMonth = int(Total - NewYear * 12) + 1;
    if (NewYear < 1 || NewYear > 9999)
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    const int NewDay = std::min(D, DaysInMonth(int(NewYear), NewMonth));
    return FromParts(EncodeDate(int(NewYear), NewMonth, NewDay), TimeOf(Value));
}

TDateTime DateOf(TDateTime Value)
{
    if (!(std::fabs(Value) <= 1e10))
        return std::trunc(Value);
    return double(ToTimeStamp(Value).Day);
}

TDateTime TimeOf(TDateTime Value)
{
    return double(ToTimeStamp(Value).MSec) / MSecsPerDay;
}

TDateTime Now()
{
    return QDateTimeToDateTime(QDateTime::currentDateTime());
}

TDateTime Date()
{
    return DateOf(Now());
}

TDateTime Time()
{
    return TimeOf(Now());
}

// ---------------------------------------------------------------- Qt types

TDateTime QDateToDateTime(const QDate& D)
{
    if (!D.isValid())
        return 0;
    return double(D.toJulianDay() - QDate(1899, 12, 30).toJulianDay());
}

TDateTime QDateTimeToDateTime(const QDateTime& DT)
{
    if (!DT.isValid())
        return 0;
    const QTime T = DT.time();
    return FromParts(QDateToDateTime(DT.date()), T.msecsSinceStartOfDay() / MSecsPerDay);
}

QDate DateTimeToQDate(TDateTime Value)
{
    const int64_t Day = ToTimeStamp(Value).Day;
    if (Day < MinDay || Day > MaxDay)
        return QDate();
    return QDate::fromJulianDay(QDate(1899, 12, 30).toJulianDay() + Day);
}

QDateTime DateTimeToQDateTime(TDateTime Value)
{
    const QDate D = DateTimeToQDate(Value);
    if (!D.isValid())
        return QDateTime();
    return QDateTime(D, QTime::fromMSecsSinceStartOfDay(int(ToTimeStamp(Value).MSec)));
}

// ---------------------------------------------------------------- formatting

namespace {

bool StartsWithAt(const QString& S, qsizetype Pos, QLatin1StringView What)
{
    return S.mid(Pos, What.size()).compare(What, Qt::CaseInsensitive) == 0 && Pos + What.size() <= S.size();
}

// Writes a date-time through a picture; nested pictures (ddddd, c, t) recurse at
// most two levels so that a locale format naming itself cannot loop.
class TDateTimeWriter
{
public:
    TDateTimeWriter(TDateTime Value, const TFormatSettings& S) : FSettings(S)
    {
        DecodeDate(Value, FYear, FMonth, FDay);
        DecodeTime(Value, FHour, FMin, FSec, FMSec);
        FDayOfWeek = DayOfWeek(Value);
    }

    void Append(const QString& Format, int Level);
    QString Text() const { return FText; }

private:
    void Number(int Value, int Digits)
    {
        FText += QString::number(Value).rightJustified(Digits, u'0');
    }
    void Name(const QString* Names, int Count, int Index)
    {
        if (Index >= 1 && Index <= Count)
            FText += Names[Index - 1];
    }
    void Field(char16_t Token, int Count, const QString& F, qsizetype I, int Level);
    bool Uses12HourClock(const QString& F, qsizetype From) const;
    qsizetype AmPm(const QString& F, qsizetype P);

    const TFormatSettings& FSettings;
    QString FText;
    int FYear, FMonth, FDay, FHour, FMin, FSec, FMSec, FDayOfWeek;
};

// The hour is 12-hour when the first 'a' after it, outside quotes and before the
// next hour, opens an am/pm marker.
bool TDateTimeWriter::Uses12HourClock(const QString& F, qsizetype From) const
{
    bool Quoted = false;
    for (qsizetype P = From; P < F.size(); ++P) {
        const QChar C = F[P];
        if (C == u'\'' || C == u'"')
            Quoted = !Quoted;
        else if (!Quoted && (C == u'h' || C == u'H'))
            return false;
        else if (!Quoted && (C == u'a' || C == u'A'))
            return StartsWithAt(F, P, QLatin1StringView("am/pm")) || StartsWithAt(F, P, QLatin1StringView("a/p"))
                || StartsWithAt(F, P, QLatin1StringView("ampm"));
    }
    return false;
}

// Handles the marker starting at P; returns the index after it.
qsizetype TDateTimeWriter::AmPm(const QString& F, qsizetype P)
{
    const bool Pm = FHour >= 12;
    if (StartsWithAt(F, P, QLatin1StringView("am/pm"))) {
        FText += F.mid(Pm ? P + 3 : P, 2); // keeps the case written in the picture
        return P + 5;
    }
    if (StartsWithAt(F, P, QLatin1StringView("a/p"))) {
        FText += F[Pm ? P + 2 : P];
        return P + 3;
    }
    if (StartsWithAt(F, P, QLatin1StringView("ampm"))) {
        FText += Pm ? FSettings.TimePMString : FSettings.TimeAMString;
        return P + 4;
    }
    if (StartsWithAt(F, P, QLatin1StringView("aaaa"))) {
        Name(FSettings.LongDayNames.data(), 7, FDayOfWeek);
        return P + 4;
    }
    if (StartsWithAt(F, P, QLatin1StringView("aaa"))) {
        Name(FSettings.ShortDayNames.data(), 7, FDayOfWeek);
        return P + 3;
    }
    FText += F[P];
    return P + 1;
}

// A field letter repeated Count times; I is just past the repetition.
void TDateTimeWriter::Field(char16_t Token, int Count, const QString& F, qsizetype I, int Level)
{
    switch (Token) {
    case u'Y':
        if (Count <= 2)
            Number(FYear % 100, 2);
        else
            Number(FYear, 4);
        break;
    case u'M':
        if (Count <= 2)
            Number(FMonth, Count);
        else
            Name(Count == 3 ? FSettings.ShortMonthNames.data() : FSettings.LongMonthNames.data(), 12, FMonth);
        break;
    case u'D':
        if (Count <= 2)
            Number(FDay, Count);
        else if (Count <= 4)
            Name(Count == 3 ? FSettings.ShortDayNames.data() : FSettings.LongDayNames.data(), 7, FDayOfWeek);
        else
            Append(Count == 5 ? FSettings.ShortDateFormat : FSettings.LongDateFormat, Level + 1);
        break;
    case u'H': {
        int H = FHour;
        if (Uses12HourClock(F, I))
            H = H == 0 ? 12 : (H > 12 ? H - 12 : H);
        Number(H, std::min(Count, 2));
        break;
    }
    case u'N':
        Number(FMin, std::min(Count, 2));
        break;
    case u'S':
        Number(FSec, std::min(Count, 2));
        break;
    case u'Z':
        Number(FMSec, Count == 1 ? 1 : 3);
        break;
    case u'T':
        Append(Count == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat, Level + 1);
        break;
    case u'C':
        Append(FSettings.ShortDateFormat, Level + 1);
        if (FHour != 0 || FMin != 0 || FSec != 0 || FMSec != 0) {
            FText += u' ';
            Append(FSettings.LongTimeFormat, Level + 1);
        }
        break;
    }
}

void TDateTimeWriter::Append(const QString& F, int Level)
{
    if (Level > 2)
        return;
    QChar LastToken;
    qsizetype I = 0;
    const qsizetype N = F.size();
    while (I < N) {
        const QChar Starter = F[I++];
        QChar Token = UpCase(Starter);
        if (Token >= u'A' && Token <= u'Z') {
            // An m right after an hour means minutes: "hh:mm".
            if (Token == u'M' && LastToken == u'H')
                Token = u'N';
            LastToken = Token;
        }
        if (QStringView(u"YMDHNSZTC").contains(Token)) {
            int Count = 1;
            for (; I < N && F[I] == Starter; ++I)
                ++Count;
            Field(Token.unicode(), Count, F, I, Level);
        } else if (Token == u'A') {
            I = AmPm(F, I - 1);
        } else if (Token == u'/') {
            if (!FSettings.DateSeparator.isNull())
                FText += FSettings.DateSeparator;
        } else if (Token == u':') {
            if (!FSettings.TimeSeparator.isNull())
                FText += FSettings.TimeSeparator;
        } else if (Token == u'\'' || Token == u'"') {
            const qsizetype Close = F.indexOf(Starter, I);
            const qsizetype End = Close < 0 ? N : Close;
            FText += F.mid(I, End - I);
            I = std::min(End + 1, N);
        } else {
            FText += Starter;
        }
    }
}

} // namespace

QString FormatDateTime(const QString& Format, TDateTime Value)
{
    return FormatDateTime(Format, Value, FormatSettings());
}

QString FormatDateTime(const QString& Format, TDateTime Value, const TFormatSettings& Settings)
{
    TDateTimeWriter W(Value, Settings);
    W.Append(Format.isEmpty() ? QStringLiteral("c") : Format, 0);
    return W.Text();
}

QString DateToStr(TDateTime Value)
{
    return DateToStr(Value, FormatSettings());
}

QString DateToStr(TDateTime Value, const TFormatSettings& Settings)
{
    return FormatDateTime(QStringLiteral("ddddd"), Value, Settings);
}

QString TimeToStr(TDateTime Value)
{
    return TimeToStr(Value, FormatSettings());
}

QString TimeToStr(TDateTime Value, const TFormatSettings& Settings)
{
    return FormatDateTime(QStringLiteral("tt"), Value, Settings);
}

QString DateTimeToStr(TDateTime Value)
{
    return DateTimeToStr(Value, FormatSettings());
}

QString DateTimeToStr(TDateTime Value, const TFormatSettings& Settings)
{
    return FormatDateTime(QStringLiteral("c"), Value, Settings);
}

// ---------------------------------------------------------------- parsing

namespace {

enum class TDateOrder { MDY, DMY, YMD };

TDateOrder GetDateOrder(const QString& Format)
{
    for (const QChar C : Format) {
        switch (UpCase(C).unicode()) {
        case u'Y': return TDateOrder::YMD;
        case u'M': return TDateOrder::MDY;
        case u'D': return TDateOrder::DMY;
        default: break;
        }
    }
    return TDateOrder::MDY;
}

class TDateTimeScanner
{
public:
    TDateTimeScanner(const QString& S, const TFormatSettings& Settings) : FS(S), FSettings(Settings) {}

    bool AtEnd() const { return FPos >= FS.size(); }
    bool ScanDate(TDateTime& Value);
    bool ScanTime(TDateTime& Value);

private:
    void ScanBlanks()
    {
        while (FPos < FS.size() && FS[FPos] == u' ')
            ++FPos;
    }
    bool ScanChar(QChar C)
    {
        ScanBlanks();
        if (FPos < FS.size() && FS[FPos] == C) {
            ++FPos;
            return true;
        }
        return false;
    }
    bool ScanString(const QString& Symbol)
    {
        ScanBlanks();
        if (Symbol.isEmpty() || FS.mid(FPos, Symbol.size()).compare(Symbol, Qt::CaseInsensitive) != 0)
            return false;
        FPos += Symbol.size();
        return true;
    }
    // Up to four significant digits, as a date or time field never needs more.
    bool ScanNumber(int& Number, int& DigitCount)
    {
        ScanBlanks();
        const qsizetype Start = FPos;
        int N = 0;
        while (FPos < FS.size() && FS[FPos] >= u'0' && FS[FPos] <= u'9' && N < 1000)
            N = N * 10 + (FS[FPos++].unicode() - u'0');
        if (FPos == Start)
            return false;
        Number = N;
        DigitCount = int(FPos - Start);
        return true;
    }
    int MeridiemBase()
    {
        if (ScanString(FSettings.TimeAMString) || ScanString(QStringLiteral("AM")))
            return 0;
        if (ScanString(FSettings.TimePMString) || ScanString(QStringLiteral("PM")))
            return 12;
        return -1;
    }

    const QString& FS;
    const TFormatSettings& FSettings;
    qsizetype FPos = 0;
};

int CurrentYear()
{
    return QDate::currentDate().year();
}

bool TDateTimeScanner::ScanDate(TDateTime& Value)
{
    const TDateOrder Order = GetDateOrder(FSettings.ShortDateFormat);
    const QChar Sep = FSettings.DateSeparator;
    int N1, N2, N3, L1, L2, L3;
    if (!(ScanNumber(N1, L1) && ScanChar(Sep) && ScanNumber(N2, L2)))
        return false;
    int Y, M, D;
    if (ScanChar(Sep)) {
        if (!ScanNumber(N3, L3))
            return false;
        int YearLen;
        switch (Order) {
        case TDateOrder::MDY: Y = N3; YearLen = L3; M = N1; D = N2; break;
        case TDateOrder::DMY: Y = N3; YearLen = L3; M = N2; D = N1; break;
        default: Y = N1; YearLen = L1; M = N2; D = N3; break;
        }
        if (YearLen <= 2) {
            // Two-digit years fall in the window that starts so many years back.
            const int Window = FSettings.TwoDigitYearCenturyWindow;
            const int Base = CurrentYear() - Window;
            Y += Base / 100 * 100;
            if (Window > 0 && Y < Base)
                Y += 100;
        }
    } else {
        Y = CurrentYear();
        if (Order == TDateOrder::DMY) {
            D = N1;
            M = N2;
        } else {
            M = N1;
            D = N2;
        }
    }
    ScanChar(u'.');
    ScanBlanks();
    return TryEncodeDate(Y, M, D, Value);
}

bool TDateTimeScanner::ScanTime(TDateTime& Value)
{
    int BaseHour = MeridiemBase();
    int Hour, Min = 0, Sec = 0, MSec = 0, Digits;
    if (!ScanNumber(Hour, Digits))
        return false;
    if (ScanChar(FSettings.TimeSeparator)) {
        if (!ScanNumber(Min, Digits))
            return false;
        if (ScanChar(FSettings.TimeSeparator)) {
            if (!ScanNumber(Sec, Digits))
                return false;
            // Digits after the decimal separator are a fraction of a second.
            if (ScanChar(FSettings.DecimalSeparator)) {
                if (!ScanNumber(MSec, Digits) || Digits > 3)
                    return false;
                for (; Digits < 3; ++Digits)
                    MSec *= 10;
            }
        }
    }
    if (BaseHour < 0)
        BaseHour = MeridiemBase();
    if (BaseHour >= 0) {
        if (Hour == 0 || Hour > 12)
            return false;
        if (Hour == 12)
            Hour = 0;
        Hour += BaseHour;
    }
    ScanBlanks();
    return TryEncodeTime(Hour, Min, Sec, MSec, Value);
}

} // namespace

bool TryStrToDate(const QString& S, TDateTime& Value, const TFormatSettings& Settings)
{
    TDateTimeScanner Scanner(S, Settings);
    TDateTime V;
    if (!Scanner.ScanDate(V) || !Scanner.AtEnd())
        return false;
    Value = V;
    return true;
}

bool TryStrToTime(const QString& S, TDateTime& Value, const TFormatSettings& Settings)
{
    TDateTimeScanner Scanner(S, Settings);
    TDateTime V;
    if (!Scanner.ScanTime(V) || !Scanner.AtEnd())
        return false;
    Value = V;
    return true;
}

bool TryStrToDateTime(const QString& S, TDateTime& Value, const TFormatSettings& Settings)
{
    TDateTimeScanner Scanner(S, Settings);
    TDateTime D, T = 0;
    if (!Scanner.ScanDate(D) || !(Scanner.AtEnd() || (Scanner.ScanTime(T) && Scanner.AtEnd())))
        return TryStrToTime(S, Value, Settings);
    Value = FromParts(D, T);
    return true;
}

TDateTime StrToDate(const QString& S)
{
    return StrToDate(S, FormatSettings());
}

TDateTime StrToDate(const QString& S, const TFormatSettings& Settings)
{
    TDateTime V;
    if (!TryStrToDate(S, V, Settings))
        throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(S));
    return V;
}

TDateTime StrToTime(const QString& S)
{
    return StrToTime(S, FormatSettings());
}

TDateTime StrToTime(const QString& S, const TFormatSettings& Settings)
{
    TDateTime V;
    if (!TryStrToTime(S, V, Settings))
        throw EConvertError(QStringLiteral("'%1' is not a valid time").arg(S));
    return V;
}

TDateTime StrToDateTime(const QString& S)
{
    return StrToDateTime(S, FormatSettings());
}

TDateTime StrToDateTime(const QString& S, const TFormatSettings& Settings)
{
    TDateTime V;
    if (!TryStrToDateTime(S, V, Settings))
        throw EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(S));
    return V;
}
