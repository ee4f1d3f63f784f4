// Floating-point rounding, formatting and parsing with the classic rules.
//
// Every formatter starts from the value's 18-significant-digit decimal expansion
// (the precision the classic formatter works with) and rounds that digit string
// half away from zero at the wanted precision or decimal place. So
// FormatFloat("0.00", 2.675) is "2.67": the double is 2.67499999999999982...
// A result that rounds to zero never carries a minus sign ("-0.00" is not shown).
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr int MaxDigits = 18;

// Value = 0.Digits x 10^Exponent; Digits has no trailing zeros and is empty for 0.
struct TFloatRec
{
    bool Negative = false;
    bool Nan = false;
    bool Inf = false;
    int Exponent = 0;
    std::string Digits;

    bool IsZero() const { return !Nan && !Inf && Digits.empty(); }
};

// Rounds to at most Precision significant digits and at most Decimals decimals.
TFloatRec FloatToDecimal(double Value, int Precision, int Decimals)
{
    TFloatRec R;
    if (std::isnan(Value)) {
        R.Nan = true;
        return R;
    }
    if (std::isinf(Value)) {
        R.Inf = true;
        R.Negative = Value < 0;
        return R;
    }
    if (Value == 0)
        return R;
    char Buf[48];
    std::snprintf(Buf, sizeof Buf, "%.17e", std::fabs(Value));
    std::string D(1, Buf[0]);
    D.append(Buf + 2, MaxDigits - 1);
    int Exp = std::atoi(std::strchr(Buf, 'e') + 1) + 1;

    Precision = std::clamp(Precision, 1, MaxDigits);
    const int Keep = std::min(Precision, Exp + std::min(Decimals, 9999));
    if (Keep < 0)
        return R;
    const bool Up = Keep < MaxDigits && D[Keep] >= '5';
    D.resize(Keep);
    if (Up) {
        int I = Keep - 1;
        while (I >= 0 && D[I] == '9')
            D[I--] = '0';
        if (I < 0) {
            D.insert(D.begin(), '1');
            ++Exp;
        } else {
            ++D[I];
        }
    }
    while (!D.empty() && D.back() == '0')
        D.pop_back();
    if (D.empty())
        return R;
    R.Negative = Value < 0;
    R.Exponent = Exp;
    R.Digits = std::move(D);
    return R;
}

QString Latin(const std::string& S)
{
    return QString::fromLatin1(S.data(), qsizetype(S.size()));
}

QString SpecialText(const TFloatRec& R)
{
    if (R.Nan)
        return QStringLiteral("NAN");
    return R.Negative ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString ExponentText(int Exponent, int MinDigits, bool AlwaysSign)
{
    QString Text = QString::number(std::abs(Exponent));
    if (Text.size() < MinDigits)
        Text.prepend(QString(MinDigits - Text.size(), u'0'));
    if (Exponent < 0)
        return u'-' + Text;
    return AlwaysSign ? u'+' + Text : Text;
}

QString FormatGeneral(const TFloatRec& R, int Precision, int Digits, const TFormatSettings& S)
{
    if (R.Nan || R.Inf)
        return SpecialText(R);
    if (R.IsZero())
        return QStringLiteral("0");
    QString Text;
    const std::string& D = R.Digits;
    const int Len = int(D.size());
    if (R.Exponent > Precision || R.Exponent < -3) {
        Text = QChar(D[0]);
        if (Len > 1)
            Text += S.DecimalSeparator + Latin(D.substr(1));
        Text += u'E' + ExponentText(R.Exponent - 1, std::clamp(Digits, 0, 4), false);
    } else if (R.Exponent <= 0) {
        Text = u'0' + QString(S.DecimalSeparator) + QString(-R.Exponent, u'0') + Latin(D);
    } else {
        Text = Latin(D.substr(0, std::min(Len, R.Exponent)));
        if (Len < R.Exponent)
            Text += QString(R.Exponent - Len, u'0');
        else if (Len > R.Exponent)
            Text += S.DecimalSeparator + Latin(D.substr(R.Exponent));
    }
    return R.Negative ? u'-' + Text : Text;
}

// Integer digits of a rounded value ("" for values below one).
std::string IntegerDigits(const TFloatRec& R)
{
    if (R.Exponent <= 0)
        return {};
    std::string Int = R.Digits.substr(0, std::min<size_t>(R.Digits.size(), R.Exponent));
    Int.append(R.Exponent - Int.size(), '0');
    return Int;
}

// Fraction digits of a rounded value, without trailing zeros.
std::string FractionDigits(const TFloatRec& R)
{
    if (R.Exponent >= 0)
        return R.Exponent < int(R.Digits.size()) ? R.Digits.substr(R.Exponent) : std::string();
    return std::string(-R.Exponent, '0') + R.Digits;
}

QString GroupThousands(const std::string& Int, QChar Separator)
{
    QString Text;
    const int Len = int(Int.size());
    for (int I = 0; I < Len; ++I) {
        Text += QChar(Int[I]);
        const int Remaining = Len - 1 - I;
        if (Remaining > 0 && Remaining % 3 == 0)
            Text += Separator;
    }
    return Text;
}

// The unsigned fixed or grouped text of a rounded value with exactly Digits decimals.
QString FixedText(const TFloatRec& R, int Digits, bool Thousands, const TFormatSettings& S)
{
    std::string Int = IntegerDigits(R);
    if (Int.empty())
        Int = "0";
    QString Text = Thousands ? GroupThousands(Int, S.ThousandSeparator) : Latin(Int);
    if (Digits > 0) {
        std::string Frac = FractionDigits(R);
        Frac.resize(Digits, '0');
        Text += S.DecimalSeparator + Latin(Frac);
    }
    return Text;
}

QString CurrencyText(const QString& Number, bool Negative, const TFormatSettings& S)
{
    static const char* const Positive[] = {"$1", "1$", "$ 1", "1 $"};
    static const char* const NegativeForms[] = {"($1)", "-$1", "$-1", "$1-", "(1$)", "-1$",
                                                "1-$", "1$-", "-1 $", "-$ 1", "1 $-", "$ 1-",
                                                "$ -1", "1- $", "($ 1)", "(1 $)"};
    const char* Pattern = Negative ? NegativeForms[std::clamp(S.NegCurrFormat, 0, 15)]
                                   : Positive[std::clamp(S.CurrencyFormat, 0, 3)];
    QString Text;
    for (const char* P = Pattern; *P; ++P) {
        if (*P == '$')
            Text += S.CurrencyString;
        else if (*P == '1')
            Text += Number;
        else
            Text += QChar(*P);
    }
    return Text;
}

} // namespace

// ---------------------------------------------------------------- rounding

int64_t RoundHalfEven(double Value)
{
    const double R = std::nearbyint(Value);
    if (!(R >= -9223372036854775808.0 && R < 9223372036854775808.0))
        throw EOverflow(QStringLiteral("Floating point overflow"));
    return int64_t(R);
}

int RoundInt(double Value)
{
    return static_cast<int>(RoundHalfEven(Value));
}

int64_t Trunc(double Value)
{
    const double R = std::trunc(Value);
    if (!(R >= -9223372036854775808.0 && R < 9223372036854775808.0))
        throw EOverflow(QStringLiteral("Floating point overflow"));
    return int64_t(R);
}

double Frac(double Value)
{
    return Value - std::trunc(Value);
}

// Works on the shortest decimal text that reads back as Value, so that a value
// typed as 2.675 rounds as 2.675 and not as its binary neighbour.
double RoundTo(double Value, int Digits)
{
    if (!std::isfinite(Value) || Value == 0)
        return Value;
    char Buf[64];
    const auto Res = std::to_chars(Buf, Buf + sizeof Buf, std::fabs(Value), std::chars_format::scientific);
    const std::string Text(Buf, Res.ptr);
    const size_t EPos = Text.find('e');
    std::string D = Text.substr(0, EPos);
    D.erase(std::remove(D.begin(), D.end(), '.'), D.end());
    int Exp = std::atoi(Text.c_str() + EPos + 1) + 1;

    const long Keep = long(Exp) - Digits;
    if (Keep >= long(D.size()))
        return Value;
    if (Keep < 0)
        return 0.0;
    const char Next = D[Keep];
    const bool RestNonZero = D.find_first_not_of('0', Keep + 1) != std::string::npos;
    const bool PrevOdd = Keep > 0 && (D[Keep - 1] - '0') % 2 == 1;
    const bool Up = Next > '5' || (Next == '5' && (RestNonZero || PrevOdd));
    D.resize(Keep);
    if (Up) {
        long I = Keep - 1;
        while (I >= 0 && D[I] == '9')
            D[I--] = '0';
        if (I < 0) {
            D.insert(D.begin(), '1');
            ++Exp;
        } else {
            ++D[I];
        }
    }
    if (D.empty())
        return 0.0;
    const std::string Back = "0." + D + "e" + std::to_string(Exp);
    double Result = 0;
    std::from_chars(Back.data(), Back.data() + Back.size(), Result);
    return Value < 0 ? -Result : Result;
}

// ---------------------------------------------------------------- FloatToStr

QString FloatToStr(double Value)
{
    return FloatToStr(Value, FormatSettings());
}

QString FloatToStr(double Value, const TFormatSettings& Settings)
{
    return FormatGeneral(FloatToDecimal(Value, 15, 9999), 15, 0, Settings);
}

QString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits)
{
    return FloatToStrF(Value, Format, Precision, Digits, FormatSettings());
}

QString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits,
                    const TFormatSettings& Settings)
{
    Precision = std::clamp(Precision, 1, MaxDigits);
    switch (Format) {
    case TFloatFormat::ffGeneral:
        return FormatGeneral(FloatToDecimal(Value, Precision, 9999), Precision, Digits, Settings);
    case TFloatFormat::ffExponent: {
        const TFloatRec R = FloatToDecimal(Value, Precision, 9999);
        if (R.Nan || R.Inf)
            return SpecialText(R);
        std::string D = R.Digits;
        D.resize(Precision, '0');
        QString Text = QChar(D[0]);
        if (Precision > 1)
            Text += Settings.DecimalSeparator + Latin(D.substr(1));
        const int Exp = R.IsZero() ? 0 : R.Exponent - 1;
        Text += u'E' + ExponentText(Exp, std::clamp(Digits, 0, 4), true);
        return R.Negative ? u'-' + Text : Text;
    }
    case TFloatFormat::ffFixed:
    case TFloatFormat::ffNumber:
    case TFloatFormat::ffCurrency: {
        Digits = std::clamp(Digits, 0, MaxDigits);
        const TFloatRec R = FloatToDecimal(Value, Precision, Digits);
        if (R.Nan || R.Inf)
            return SpecialText(R);
        // Too many integer digits for the precision: the general format takes over.
        if (R.Exponent > Precision)
            return FormatGeneral(FloatToDecimal(Value, Precision, 9999), Precision, 0, Settings);
        const QString Number = FixedText(R, Digits, Format != TFloatFormat::ffFixed, Settings);
        if (Format == TFloatFormat::ffCurrency)
            return CurrencyText(Number, R.Negative, Settings);
        return R.Negative ? u'-' + Number : Number;
    }
    }
    return QString();
}

// ---------------------------------------------------------------- FormatFloat

namespace {

// What one section of a FormatFloat picture asks for.
struct TPicture
{
    QString Text;
    int DigitCount = 0;    // '0' and '#' placeholders, not counting exponent zeros
    int DecimalIndex = -1; // placeholders before the first '.'
    int FirstDigit = std::numeric_limits<int>::max(); // index of the first '0' placeholder
    int LastDigit = 0;     // index after the last '0' placeholder
    bool Thousands = false;
    bool Scientific = false;
};

bool IsExponentAt(const QString& T, qsizetype I)
{
    return (T[I] == u'E' || T[I] == u'e') && I + 1 < T.size() && (T[I + 1] == u'+' || T[I + 1] == u'-');
}

TPicture ScanPicture(const QString& Text)
{
    TPicture P;
    P.Text = Text;
    for (qsizetype I = 0; I < Text.size(); ++I) {
        const QChar C = Text[I];
        if (C == u'\'' || C == u'"') {
            const qsizetype Close = Text.indexOf(C, I + 1);
            I = Close < 0 ? Text.size() : Close;
        } else if (C == u'#') {
            ++P.DigitCount;
        } else if (C == u'0') {
            P.FirstDigit = std::min(P.FirstDigit, P.DigitCount);
            P.LastDigit = ++P.DigitCount;
        } else if (C == u'.') {
            if (P.DecimalIndex < 0)
                P.DecimalIndex = P.DigitCount;
        } else if (C == u',') {
            P.Thousands = true;
        } else if (IsExponentAt(Text, I)) {
            P.Scientific = true;
            ++I;
            while (I + 1 < Text.size() && Text[I + 1] == u'0')
                ++I;
        }
    }
    if (P.DecimalIndex < 0)
        P.DecimalIndex = P.DigitCount;
    return P;
}

std::vector<QString> SplitSections(const QString& Format)
{
    std::vector<QString> Sections(1);
    QChar Quote;
    for (const QChar C : Format) {
        if (!Quote.isNull()) {
            if (C == Quote)
                Quote = QChar();
        } else if (C == u'\'' || C == u'"') {
            Quote = C;
        } else if (C == u';') {
            if (Sections.size() == 3)
                break;
            Sections.emplace_back();
            continue;
        }
        Sections.back() += C;
    }
    return Sections;
}

// The digits a picture writes: integer and fraction digits, and the exponent.
struct TPictureDigits
{
    std::string Int;
    std::string Frac;
    int Exponent = 0;
};

TPictureDigits PictureDigits(const TPicture& P, const TFloatRec& R)
{
    TPictureDigits Out;
    const int MinInt = P.FirstDigit < P.DecimalIndex ? P.DecimalIndex - P.FirstDigit : 0;
    const int MinFrac = std::max(0, P.LastDigit - P.DecimalIndex);
    if (P.Scientific) {
        if (!R.IsZero()) {
            Out.Int = R.Digits.substr(0, std::min<size_t>(R.Digits.size(), P.DecimalIndex));
            Out.Int.append(P.DecimalIndex - Out.Int.size(), '0');
            if (R.Digits.size() > size_t(P.DecimalIndex))
                Out.Frac = R.Digits.substr(P.DecimalIndex);
            Out.Exponent = R.Exponent - P.DecimalIndex;
        }
    } else {
        Out.Int = IntegerDigits(R);
        Out.Frac = FractionDigits(R);
    }
    if (int(Out.Int.size()) < MinInt)
        Out.Int.insert(0, MinInt - Out.Int.size(), '0');
    if (int(Out.Frac.size()) < MinFrac)
        Out.Frac.append(MinFrac - Out.Frac.size(), '0');
    return Out;
}

class TPictureWriter
{
public:
    TPictureWriter(const TPicture& P, const TPictureDigits& D, const TFormatSettings& S)
        : FPicture(P), FDigits(D), FSettings(S) {}

    QString Write()
    {
        const QString& T = FPicture.Text;
        for (qsizetype I = 0; I < T.size(); ++I) {
            const QChar C = T[I];
            if (C == u'\'' || C == u'"') {
                const qsizetype Close = T.indexOf(C, I + 1);
                const qsizetype End = Close < 0 ? T.size() : Close;
                FText += T.mid(I + 1, End - I - 1);
                I = End;
            } else if (C == u'0' || C == u'#') {
                Placeholder();
            } else if (C == u'.' || C == u',') {
                // The separators are written with the digits.
            } else if (IsExponentAt(T, I)) {
                I = ExponentPart(I);
            } else {
                FText += C;
            }
        }
        return FText;
    }

private:
    void IntDigit(int Index)
    {
        const std::string& Int = FDigits.Int;
        FText += QChar(Int[Index]);
        const int Remaining = int(Int.size()) - 1 - Index;
        if (FPicture.Thousands && Remaining > 0 && Remaining % 3 == 0)
            FText += FSettings.ThousandSeparator;
    }

    void Placeholder()
    {
        const int K = FIndex++;
        const int IntPlaces = FPicture.DecimalIndex;
        const int Len = int(FDigits.Int.size());
        if (K < IntPlaces) {
            // Placeholders take the integer digits right-aligned; the first one
            // also writes every digit that has no placeholder of its own.
            const int Pos = Len - (IntPlaces - K);
            for (int I = (K == 0 ? 0 : Pos); I <= Pos; ++I)
                if (I >= 0)
                    IntDigit(I);
            return;
        }
        const int J = K - IntPlaces;
        if (IntPlaces == 0 && J == 0)
            for (int I = 0; I < Len; ++I)
                IntDigit(I);
        if (J < int(FDigits.Frac.size())) {
            if (J == 0)
                FText += FSettings.DecimalSeparator;
            FText += QChar(FDigits.Frac[J]);
        }
    }

    qsizetype ExponentPart(qsizetype I)
    {
        const QString& T = FPicture.Text;
        FText += T[I];
        const bool AlwaysSign = T[I + 1] == u'+';
        I += 1;
        int Zeros = 0;
        while (I + 1 < T.size() && T[I + 1] == u'0') {
            ++Zeros;
            ++I;
        }
        FText += ExponentText(FDigits.Exponent, Zeros, AlwaysSign);
        return I;
    }

    const TPicture& FPicture;
    const TPictureDigits& FDigits;
    const TFormatSettings& FSettings;
    QString FText;
    int FIndex = 0;
};

TFloatRec RoundForPicture(const TPicture& P, double Value)
{
    if (P.Scientific)
        return FloatToDecimal(std::fabs(Value), std::max(P.DigitCount, 1), 9999);
    return FloatToDecimal(std::fabs(Value), MaxDigits, P.DigitCount - P.DecimalIndex);
}

} // namespace

QString FormatFloat(const QString& Format, double Value)
{
    return FormatFloat(Format, Value, FormatSettings());
}

// Sections: positive;negative;zero. An empty or missing section falls back to the
// first. The negative section writes no sign of its own; the first one, used for a
// negative value, is preceded by '-'. The zero section also serves values that round
// to zero in the chosen section.
QString FormatFloat(const QString& Format, double Value, const TFormatSettings& Settings)
{
    if (Format.isEmpty() || !std::isfinite(Value))
        return FloatToStr(Value, Settings);
    const std::vector<QString> Sections = SplitSections(Format);
    auto Usable = [&](size_t Index) { return Index < Sections.size() && !Sections[Index].isEmpty(); };
    size_t Index = Value > 0 ? 0 : (Value < 0 ? 1 : 2);
    if (!Usable(Index))
        Index = 0;
    if (Sections[Index].isEmpty())
        return FloatToStr(Value, Settings);

    TPicture Picture = ScanPicture(Sections[Index]);
    TFloatRec R = RoundForPicture(Picture, Value);
    if (!Picture.Scientific && R.Exponent > MaxDigits)
        return FloatToStr(Value, Settings);
    bool Minus = Value < 0 && Index == 0;
    if (R.IsZero()) {
        Minus = false;
        const size_t ZeroIndex = Usable(2) ? 2 : 0;
        if (ZeroIndex != Index) {
            Picture = ScanPicture(Sections[ZeroIndex]);
            R = TFloatRec();
        }
    }
    const QString Text = TPictureWriter(Picture, PictureDigits(Picture, R), Settings).Write();
    return Minus ? u'-' + Text : Text;
}

// ---------------------------------------------------------------- currency

namespace {
double ToCurrency(double Value)
{
    // Currency keeps four decimals; beyond its range the value is left as it is.
    const double Scaled = Value * 10000.0;
    return std::fabs(Scaled) < 9.2e18 ? std::nearbyint(Scaled) / 10000.0 : Value;
}
} // namespace

QString CurrToStr(double Value)
{
    return FloatToStr(ToCurrency(Value));
}

QString CurrToStrF(double Value, TFloatFormat Format, int Digits)
{
    return CurrToStrF(Value, Format, Digits, FormatSettings());
}

QString CurrToStrF(double Value, TFloatFormat Format, int Digits, const TFormatSettings& Settings)
{
    return FloatToStrF(ToCurrency(Value), Format, 15, Digits, Settings);
}

QString FormatCurr(const QString& Format, double Value)
{
    return FormatCurr(Format, Value, FormatSettings());
}

QString FormatCurr(const QString& Format, double Value, const TFormatSettings& Settings)
{
    return FormatFloat(Format, ToCurrency(Value), Settings);
}

// ---------------------------------------------------------------- StrToFloat

namespace {

// Blanks, an optional sign, digits with at most one decimal separator (at least
// one digit in all), an optional exponent, blanks. No thousand separators.
bool ParseFloat(const QString& S, double& Value, QChar Decimal)
{
    qsizetype I = 0;
    const qsizetype N = S.size();
    while (I < N && S[I] == u' ')
        ++I;
    std::string Mantissa;
    if (I < N && (S[I] == u'+' || S[I] == u'-')) {
        if (S[I] == u'-')
            Mantissa += '-';
        ++I;
    }
    int DigitCount = 0;
    bool Point = false;
    for (; I < N; ++I) {
        const QChar C = S[I];
        if (C >= u'0' && C <= u'9') {
            Mantissa += char(C.unicode());
            ++DigitCount;
        } else if (C == Decimal && !Point) {
            Mantissa += '.';
            Point = true;
        } else {
            break;
        }
    }
    if (DigitCount == 0)
        return false;
    long Exponent = 0;
    if (I < N && (S[I] == u'e' || S[I] == u'E')) {
        ++I;
        bool NegExp = false;
        if (I < N && (S[I] == u'+' || S[I] == u'-'))
            NegExp = S[I++] == u'-';
        const qsizetype Start = I;
        for (; I < N && S[I] >= u'0' && S[I] <= u'9'; ++I)
            Exponent = std::min(Exponent * 10 + (S[I].unicode() - u'0'), 100000L);
        if (I == Start)
            return false;
        if (NegExp)
            Exponent = -Exponent;
    }
    while (I < N && S[I] == u' ')
        ++I;
    if (I != N)
        return false;

    const std::string Text = Mantissa + "e" + std::to_string(Exponent);
    double V = 0;
    const auto Res = std::from_chars(Text.data(), Text.data() + Text.size(), V);
    if (Res.ec == std::errc::result_out_of_range) {
        // Too small becomes zero; too large is not a number we can hold. The
        // magnitude is where the first significant digit stands.
        const size_t First = Mantissa.find_first_of("123456789");
        size_t Point = Mantissa.find('.');
        if (Point == std::string::npos)
            Point = Mantissa.size();
        const long Magnitude = long(Point) - long(First) + Exponent;
        if (First != std::string::npos && Magnitude > 0)
            return false;
        V = Mantissa[0] == '-' ? -0.0 : 0.0;
    } else if (Res.ec != std::errc() || Res.ptr != Text.data() + Text.size()) {
        return false;
    }
    Value = V;
    return true;
}

} // namespace

bool TryStrToFloat(const QString& S, double& Value)
{
    return TryStrToFloat(S, Value, FormatSettings());
}

bool TryStrToFloat(const QString& S, double& Value, const TFormatSettings& Settings)
{
    return ParseFloat(S, Value, Settings.DecimalSeparator);
}

double StrToFloat(const QString& S)
{
    return StrToFloat(S, FormatSettings());
}

double StrToFloat(const QString& S, const TFormatSettings& Settings)
{
    double V;
    if (!ParseFloat(S, V, Settings.DecimalSeparator))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(S));
    return V;
}

double StrToFloatDef(const QString& S, double Default)
{
    double V;
    return ParseFloat(S, V, FormatSettings().DecimalSeparator) ? V : Default;
}
