// Byte builder for hand-written records: each call appends one field of the
// format as the description lays it out (little-endian numbers, the two
// generations of stream strings), so a golden record reads like its table.
#pragma once

#include "platform/rtl/GbkText.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace viewtest {

class TBytes
{
public:
    TBytes& U8(uint8_t V)
    {
        FData.append(static_cast<char>(V));
        return *this;
    }
    TBytes& U16(uint16_t V) { return U8(V & 0xFF).U8(V >> 8); }
    TBytes& U32(uint32_t V) { return U16(V & 0xFFFF).U16(V >> 16); }
    TBytes& I32(int32_t V) { return U32(static_cast<uint32_t>(V)); }
    TBytes& Raw(const QByteArray& Bytes)
    {
        FData.append(Bytes);
        return *this;
    }
    // Length-prefixed string: 2-byte length, GBK bytes, a byte 0.
    TBytes& Str(const QString& S)
    {
        const QByteArray B = ToGbk(S);
        return U16(static_cast<uint16_t>(B.size())).Raw(B).U8(0);
    }
    // Zero-terminated string of old forms.
    TBytes& OldStr(const QString& S) { return Raw(ToGbk(S)).U8(0); }
    // Length-prefixed list: count, lines with 13 between and 0 after the last.
    TBytes& List(const QStringList& Lines)
    {
        U16(static_cast<uint16_t>(Lines.size()));
        if (Lines.isEmpty())
            return U8(0);
        for (int i = 0; i < Lines.size(); ++i) {
            const QByteArray B = ToGbk(Lines[i]);
            U16(static_cast<uint16_t>(B.size())).Raw(B).U8(i + 1 < Lines.size() ? 13 : 0);
        }
        return *this;
    }
    // Old list: the lines joined by 13, then 0.
    TBytes& OldList(const QStringList& Lines) { return Raw(ToGbk(Lines.join(QChar(13)))).U8(0); }

    const QByteArray& Data() const { return FData; }
    operator QByteArray() const { return FData; }

private:
    QByteArray FData;
};

} // namespace viewtest
