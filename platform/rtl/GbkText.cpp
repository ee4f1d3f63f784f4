#include "platform/rtl/GbkText.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

// One converter per thread: building an ICU converter costs more than most
// of the strings it converts. Stateless, so no call sees another's leftovers.
QStringEncoder& Encoder()
{
    thread_local QStringEncoder E("GBK", QStringConverter::Flag::Stateless);
    return E;
}

QStringDecoder& Decoder()
{
    thread_local QStringDecoder D("GBK", QStringConverter::Flag::Stateless);
    return D;
}

// Length of the code point starting at I (2 for a surrogate pair, else 1).
qsizetype CodePointLength(const QString& Text, qsizetype I)
{
    if (Text.at(I).isHighSurrogate() && I + 1 < Text.size() && Text.at(I + 1).isLowSurrogate())
        return 2;
    return 1;
}

// GBK bytes of one code point; a character GBK lacks is written as '?' (1 byte).
// The encoder's error flag stays set once raised, so an unencodable character
// is recognised by its lone '?' (a real '?' takes the ASCII path).
qsizetype CodePointBytes(QStringView CodePoint, bool* Encodable = nullptr)
{
    const char16_t C = CodePoint.at(0).unicode();
    if (CodePoint.size() == 1 && (C < 0x80 || (C >= 0x4E00 && C <= 0x9FA5))) {
        // ASCII, and the unified ideographs that GBK holds in full: no converter needed.
        if (Encodable)
            *Encodable = true;
        return C < 0x80 ? 1 : 2;
    }
    QStringEncoder& E = Encoder();
    E.resetState();
    const QByteArray Bytes = E.encode(CodePoint);
    const bool Ok = !(Bytes.size() == 1 && Bytes.at(0) == '?');
    if (Encodable)
        *Encodable = Ok;
    return Bytes.isEmpty() ? 1 : Bytes.size();
}

// True when the bytes end inside a two-byte character (a lone lead byte),
// pairing bytes the way the decoder does.
bool EndsWithLoneLeadByte(const char* Bytes, qsizetype Length)
{
    qsizetype I = 0;
    while (I < Length) {
        const auto B = static_cast<unsigned char>(Bytes[I]);
        if (B < 0x81 || B == 0xFF) {
            ++I;
            continue;
        }
        if (I + 1 >= Length)
            return true;
        const auto T = static_cast<unsigned char>(Bytes[I + 1]);
        I += (T < 0x40 || T == 0x7F || T == 0xFF) ? 1 : 2;
    }
    return false;
}

} // namespace

QByteArray ToGbk(const QString& Text)
{
    QStringEncoder& E = Encoder();
    E.resetState();
    QByteArray Result = E.encode(Text);
    return Result;
}

QString FromGbk(const QByteArray& Bytes)
{
    return FromGbk(Bytes.constData(), Bytes.size());
}

QString FromGbk(const char* Bytes, qsizetype Length)
{
    if (!Bytes || Length <= 0)
        return {};
    // The decoder drops a lead byte cut off at the end; show it as U+FFFD.
    const bool Truncated = EndsWithLoneLeadByte(Bytes, Length);
    QStringDecoder& D = Decoder();
    D.resetState();
    QString Result = D.decode(QByteArrayView(Bytes, Truncated ? Length - 1 : Length));
    if (Truncated)
        Result += QChar(QChar::ReplacementCharacter);
    return Result;
}

qsizetype GbkLength(const QString& Text)
{
    // One pass of the converter; a character GBK lacks becomes one '?' byte,
    // as CodePointBytes counts it.
    return ToGbk(Text).size();
}

QString GbkLeft(const QString& Text, qsizetype MaxBytes)
{
    if (MaxBytes >= Text.size() * 2)
        return Text;
    qsizetype Used = 0;
    qsizetype I = 0;
    while (I < Text.size()) {
        const qsizetype N = CodePointLength(Text, I);
        const qsizetype Bytes = CodePointBytes(QStringView(Text).mid(I, N));
        if (Used + Bytes > MaxBytes)
            break;
        Used += Bytes;
        I += N;
    }
    return Text.left(I);
}

bool GbkCanEncode(const QString& Text)
{
    for (qsizetype I = 0; I < Text.size();) {
        const qsizetype N = CodePointLength(Text, I);
        bool Ok = true;
        CodePointBytes(QStringView(Text).mid(I, N), &Ok);
        if (!Ok)
            return false;
        I += N;
    }
    return true;
}
