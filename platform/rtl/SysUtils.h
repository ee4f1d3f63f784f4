// The runtime's exceptions, locale record and classic conversion functions:
// text, numbers and dates with the exact behaviour the program, the grid and the
// report engine were written against. QtCore only; nothing here touches a window.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <exception>

class QDate;
class QDateTime;
class QTime;

// ---------------------------------------------------------------- exceptions

class Exception : public std::exception
{
public:
    explicit Exception(QString Message);
    const QString& Message() const { return FMessage; }
    void SetMessage(const QString& Value);
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

class EConvertError : public Exception { using Exception::Exception; };
class EReadError : public Exception { using Exception::Exception; };
class EWriteError : public Exception { using Exception::Exception; };
class EDatabaseError : public Exception { using Exception::Exception; };
class EInvalidOperation : public Exception { using Exception::Exception; };
class EVariantError : public Exception { using Exception::Exception; };
class EZeroDivide : public Exception { using Exception::Exception; };
class EOverflow : public Exception { using Exception::Exception; };
class EListError : public Exception { using Exception::Exception; };

// ---------------------------------------------------------------- locale

struct TFormatSettings
{
    QChar DecimalSeparator = u'.';
    QChar ThousandSeparator = u',';
    QChar ListSeparator = u',';
    QChar DateSeparator = u'-';
    QChar TimeSeparator = u':';
    int CurrencyDecimals = 2;
    int CurrencyFormat = 0;  // 0 "￥1", 1 "1￥", 2 "￥ 1", 3 "1 ￥"
    int NegCurrFormat = 2;   // 0 "(￥1)" 1 "-￥1" 2 "￥-1" 3 "￥1-" ... 15 "(1 ￥)"
    int TwoDigitYearCenturyWindow = 50; // two-digit years fall within this many years before now
    QString CurrencyString = QStringLiteral("￥");
    QString ShortDateFormat = QStringLiteral("yyyy-mm-dd");
    QString LongDateFormat = QStringLiteral("yyyy'年'm'月'd'日'");
    QString ShortTimeFormat = QStringLiteral("hh:nn:ss");
    QString LongTimeFormat = QStringLiteral("hh:nn:ss");
    QString TimeAMString = QStringLiteral("上午");
    QString TimePMString = QStringLiteral("下午");
    std::array<QString, 12> ShortMonthNames;
    std::array<QString, 12> LongMonthNames;
    std::array<QString, 7> ShortDayNames; // Sunday first
    std::array<QString, 7> LongDayNames;

    TFormatSettings(); // fills the Chinese month and day names
};

// The one process-wide record. Set once at start-up; nothing changes it temporarily.
const TFormatSettings& FormatSettings();
void SetFormatSettings(const TFormatSettings& Value);

// ---------------------------------------------------------------- text

QString Trim(const QString& S);      // strips characters <= ' ' at both ends
QString TrimLeft(const QString& S);
QString TrimRight(const QString& S);
QString UpperCase(const QString& S); // ASCII letters only, as the classic call
QChar UpCase(QChar C);               // ASCII letters only
QString LowerCase(const QString& S);
QString AnsiUpperCase(const QString& S);
QString AnsiLowerCase(const QString& S);
int CompareText(const QString& A, const QString& B);     // ASCII case-insensitive
bool SameText(const QString& A, const QString& B);
int AnsiCompareText(const QString& A, const QString& B); // locale, case-insensitive
int AnsiCompareStr(const QString& A, const QString& B);
QString AnsiQuotedStr(const QString& S, QChar Quote);    // doubles inner quotes
QString QuotedStr(const QString& S);                     // AnsiQuotedStr(S, '\'')
QString AnsiDequotedStr(const QString& S, QChar Quote);
QString StringOfChar(QChar C, int Count);
QString IncludeTrailingPathDelimiter(const QString& Path);
QString ExtractFilePath(const QString& FileName);        // with the trailing '/'
QString ExtractFileName(const QString& FileName);
QString ExtractFileExt(const QString& FileName);         // with the dot
QString ChangeFileExt(const QString& FileName, const QString& Ext);
// FileName with Ext (".frp") added unless it ends in Ext already, in any letter
// case; a trailing dot gives way to it. Nothing the user typed after a dot is
// replaced: "v1.2" becomes "v1.2.frp", not "v1.frp".
QString AddFileExt(const QString& FileName, const QString& Ext);
bool FileExists(const QString& FileName);
bool DirectoryExists(const QString& Dir);

// ---------------------------------------------------------------- integers

QString IntToStr(int64_t Value);
QString IntToHex(int64_t Value, int Digits);
int StrToInt(const QString& S);                   // raises EConvertError
int StrToIntDef(const QString& S, int Default);
int64_t StrToInt64(const QString& S);
int64_t StrToInt64Def(const QString& S, int64_t Default);
bool TryStrToInt(const QString& S, int& Value);
bool TryStrToInt64(const QString& S, int64_t& Value);

// 64-bit intermediate product; halves round away from zero; -1 when Denominator is 0.
int MulDiv(int Number, int Numerator, int Denominator);

// ---------------------------------------------------------------- floats

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Rounds halves to the even neighbour (the classic Round of a double).
int64_t RoundHalfEven(double Value);
int RoundInt(double Value); // the same, narrowed to a pixel count
// Rounds to 10^Digits (Digits -2 gives hundredths) with halves to even on the
// decimal value as written, so 2.675 at -2 is 2.68 and 2.665 is 2.66.
double RoundTo(double Value, int Digits);
int64_t Trunc(double Value);
double Frac(double Value);

QString FloatToStr(double Value);                 // general format, 15 digits
QString FloatToStr(double Value, const TFormatSettings& Settings);
QString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits);
QString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits,
                    const TFormatSettings& Settings);
// Formatting rounds the value's 18-significant-digit decimal expansion half away
// from zero, so FormatFloat("0.00", 0.125) is "0.13" but 2.675 (a double just below
// 2.675) gives "2.67". A result that rounds to zero is written without a minus sign.
// FormatFloat pictures: 0 # . , E+ E- e+ e- '..' "..", sections positive;negative;zero
// (an empty section uses the first; the zero section also takes values that round to
// zero); an empty picture or a value of 1E18 and more without exponent gives FloatToStr.
QString FormatFloat(const QString& Format, double Value);
QString FormatFloat(const QString& Format, double Value, const TFormatSettings& Settings);
// Currency values hold four decimals: the value is rounded to 0.0001 (halves to even) first.
QString CurrToStr(double Value);
QString CurrToStrF(double Value, TFloatFormat Format, int Digits);
QString CurrToStrF(double Value, TFloatFormat Format, int Digits, const TFormatSettings& Settings);
QString FormatCurr(const QString& Format, double Value);
QString FormatCurr(const QString& Format, double Value, const TFormatSettings& Settings);

double StrToFloat(const QString& S);              // strict; raises EConvertError
double StrToFloat(const QString& S, const TFormatSettings& Settings);
double StrToFloatDef(const QString& S, double Default);
bool TryStrToFloat(const QString& S, double& Value);
bool TryStrToFloat(const QString& S, double& Value, const TFormatSettings& Settings);

// ---------------------------------------------------------------- dates

// Days since 1899-12-30; the fraction is the time of day.
using TDateTime = double;

constexpr TDateTime DateDelta = 693594; // days from 0001-01-01 to 1899-12-31, classic
constexpr double MSecsPerDay = 86400000.0;

TDateTime EncodeDate(int Year, int Month, int Day); // raises EConvertError
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Value);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Value);
void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec);
int DayOfWeek(TDateTime Value);                    // 1 = Sunday
bool IsLeapYear(int Year);
int DaysInMonth(int Year, int Month);
int YearOf(TDateTime Value);
int MonthOf(TDateTime Value);
int DayOf(TDateTime Value);
TDateTime IncMonth(TDateTime Value, int Months);   // clamps the day to the month's end
TDateTime DateOf(TDateTime Value);                 // drops the time of day
TDateTime TimeOf(TDateTime Value);
TDateTime Date();
TDateTime Time();
TDateTime Now();

TDateTime QDateToDateTime(const QDate& D);
TDateTime QDateTimeToDateTime(const QDateTime& DT);
QDate DateTimeToQDate(TDateTime Value);
QDateTime DateTimeToQDateTime(TDateTime Value);

// Formatting patterns: d dd ddd dddd ddddd dddddd, m mm mmm mmmm, yy yyyy,
// h hh n nn s ss z zzz, am/pm a/p ampm, c, t tt, / and : from the locale, "..." '...'.
QString FormatDateTime(const QString& Format, TDateTime Value);
QString FormatDateTime(const QString& Format, TDateTime Value, const TFormatSettings& Settings);
QString DateToStr(TDateTime Value);
QString DateToStr(TDateTime Value, const TFormatSettings& Settings);
QString TimeToStr(TDateTime Value);
QString TimeToStr(TDateTime Value, const TFormatSettings& Settings);
QString DateTimeToStr(TDateTime Value);           // no time part when it is midnight
QString DateTimeToStr(TDateTime Value, const TFormatSettings& Settings);

// Parsing follows the order of the short date format's y, m and d, with the date
// separator; two-digit years fall in the window of TwoDigitYearCenturyWindow years
// before now; a missing year is this year. Times are h[:n[:s[.fff]]] with am/pm (or
// the locale's markers) before or after; the digits after the decimal separator are a
// fraction of a second. Raises EConvertError.
TDateTime StrToDate(const QString& S);
TDateTime StrToDate(const QString& S, const TFormatSettings& Settings);
TDateTime StrToTime(const QString& S);
TDateTime StrToTime(const QString& S, const TFormatSettings& Settings);
TDateTime StrToDateTime(const QString& S);
TDateTime StrToDateTime(const QString& S, const TFormatSettings& Settings);
bool TryStrToDate(const QString& S, TDateTime& Value, const TFormatSettings& Settings);
bool TryStrToTime(const QString& S, TDateTime& Value, const TFormatSettings& Settings);
bool TryStrToDateTime(const QString& S, TDateTime& Value, const TFormatSettings& Settings);
