// The classic Format over Variant arguments.
#include "platform/rtl/Variants.h"

#include <algorithm>
#include <limits>

namespace {

// Widths and precisions come from typed display formats; a runaway number must
// not turn into a huge allocation.
constexpr int MaxFormatNumber = 65535;

class TFormatter
{
public:
    TFormatter(const QString& Fmt, const QList<Variant>& Args, const TFormatSettings& Settings)
        : FFmt(Fmt), FArgs(Args), FSettings(Settings)
    {
    }

    QString Run();

private:
    [[noreturn]] void Fail() const;
    QChar Peek() const { return FPos < FFmt.size() ? FFmt.at(FPos) : QChar(); }
    const Variant& NextArg();
    int ReadNumber();      // digits or '*'; -1 when neither
    QString Convert(QChar Type, int Precision);
    int64_t IntegerArg(const Variant& V) const;
    double FloatArg(const Variant& V) const;

    const QString& FFmt;
    const QList<Variant>& FArgs;
    const TFormatSettings& FSettings;
    qsizetype FPos = 0;
    qsizetype FArgIndex = 0;
};

void TFormatter::Fail() const
{
    throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(FFmt));
}

const Variant& TFormatter::NextArg()
{
    if (FArgIndex < 0 || FArgIndex >= FArgs.size())
        Fail();
    return FArgs.at(FArgIndex++);
}

int TFormatter::ReadNumber()
{
    if (Peek() == u'*') {
        ++FPos;
        const int64_t Value = IntegerArg(NextArg());
        if (Value > MaxFormatNumber)
            Fail();
        return Value < 0 ? -1 : int(Value);
    }
    int Value = -1;
    while (Peek().isDigit() && Peek().unicode() < 128) {
        Value = std::max(Value, 0) * 10 + (Peek().unicode() - '0');
        if (Value > MaxFormatNumber)
            Fail();
        ++FPos;
    }
    return Value;
}

int64_t TFormatter::IntegerArg(const Variant& V) const
{
    if (V.Kind() != Variant::TKind::Integer)
        Fail();
    return V.AsInteger();
}

double TFormatter::FloatArg(const Variant& V) const
{
    switch (V.Kind()) {
    case Variant::TKind::Integer:
    case Variant::TKind::Double:
    case Variant::TKind::DateTime: return V.AsFloat();
    default: break;
    }
    Fail();
}

QString PadDigits(QString Digits, int Precision)
{
    if (Precision > Digits.size())
        Digits.prepend(QString(Precision - Digits.size(), u'0'));
    return Digits;
}

// Negative values print as their two's complement in 32 bits when they fit an
// Integer, else in 64 bits.
uint64_t AsUnsigned(int64_t Value)
{
    if (Value < 0 && Value >= std::numeric_limits<int32_t>::min())
        return uint32_t(int32_t(Value));
    return uint64_t(Value);
}

QString TFormatter::Convert(QChar Type, int Precision)
{
    const Variant& Arg = NextArg();
    // %e and %g count significant digits (15 by default); %f %n %m count decimals
    // and round the value as stored, to at most 18 digits, as the classic does.
    const int Significant = Precision < 0 || Precision > 15 ? 15 : std::max(Precision, 1);
    const int Decimals = std::min(Precision, 18);
    switch (Type.toUpper().unicode()) {
    case 'D': {
        const int64_t I = IntegerArg(Arg);
        const QString Digits = PadDigits(QString::number(I < 0 ? -uint64_t(I) : uint64_t(I)), Precision);
        return I < 0 ? u'-' + Digits : Digits;
    }
    case 'U': return PadDigits(QString::number(AsUnsigned(IntegerArg(Arg))), Precision);
    case 'X': return PadDigits(QString::number(AsUnsigned(IntegerArg(Arg)), 16).toUpper(), Precision);
    case 'P': return PadDigits(QString::number(AsUnsigned(IntegerArg(Arg)), 16).toUpper(), 8);
    case 'E': return FloatToStrF(FloatArg(Arg), TFloatFormat::ffExponent, Significant, 3, FSettings);
    case 'G': return FloatToStrF(FloatArg(Arg), TFloatFormat::ffGeneral, Significant, 3, FSettings);
    case 'F': return FloatToStrF(FloatArg(Arg), TFloatFormat::ffFixed, 18, Decimals < 0 ? 2 : Decimals, FSettings);
    case 'N': return FloatToStrF(FloatArg(Arg), TFloatFormat::ffNumber, 18, Decimals < 0 ? 2 : Decimals, FSettings);
    case 'M':
        return FloatToStrF(FloatArg(Arg), TFloatFormat::ffCurrency, 18,
                           Decimals < 0 ? FSettings.CurrencyDecimals : Decimals, FSettings);
    case 'S': {
        const QString Text = Arg.AsString(FSettings);
        return Precision >= 0 ? Text.left(Precision) : Text;
    }
    default: break;
    }
    Fail();
}

QString TFormatter::Run()
{
    QString Result;
    Result.reserve(FFmt.size());
    while (FPos < FFmt.size()) {
        const QChar C = FFmt.at(FPos++);
        if (C != u'%') {
            Result += C;
            continue;
        }
        if (Peek() == u'%') {
            Result += u'%';
            ++FPos;
            continue;
        }
        bool Left = false;
        if (Peek() == u'-') {
            Left = true;
            ++FPos;
        }
        int Width = ReadNumber();
        if (Peek() == u':') {
            // An index: later plain specifiers go on from the argument after it.
            if (Left)
                Fail();
            ++FPos;
            FArgIndex = std::max(Width, 0);
            if (Peek() == u'-') {
                Left = true;
                ++FPos;
            }
            Width = ReadNumber();
        }
        int Precision = -1;
        if (Peek() == u'.') {
            ++FPos;
            Precision = std::max(ReadNumber(), 0);
        }
        if (FPos >= FFmt.size())
            Fail();
        const QString Text = Convert(FFmt.at(FPos++), Precision);
        if (Width > Text.size()) {
            const QString Pad(Width - Text.size(), u' ');
            Result += Left ? Text + Pad : Pad + Text;
        } else {
            Result += Text;
        }
    }
    return Result;
}

} // namespace

QString Format(const QString& Fmt, const QList<Variant>& Args)
{
    return Format(Fmt, Args, FormatSettings());
}

QString Format(const QString& Fmt, const QList<Variant>& Args, const TFormatSettings& Settings)
{
    return TFormatter(Fmt, Args, Settings).Run();
}
