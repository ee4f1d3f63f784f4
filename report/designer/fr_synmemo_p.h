// Character and column helpers shared by the syntax memo's source files.
#pragma once

#include <QString>

namespace synmemo {

// Columns (code points) of a text.
inline int Cols(const QString& S)
{
    int N = static_cast<int>(S.size());
    for (qsizetype i = 1; i < S.size(); ++i)
        if (S[i].isLowSurrogate() && S[i - 1].isHighSurrogate())
            --N;
    return N;
}

// UTF-16 index where column Col (from 1) starts; the text's length for any
// column past its end.
inline int IndexOfCol(const QString& S, int Col)
{
    qsizetype i = 0;
    for (int c = 1; c < Col && i < S.size(); ++c)
        i += (S[i].isHighSurrogate() && i + 1 < S.size() && S[i + 1].isLowSurrogate()) ? 2 : 1;
    return static_cast<int>(i);
}

// The code point starting at index i and its length in units.
inline char32_t CodeAt(const QString& S, qsizetype i, int& Units)
{
    if (S[i].isHighSurrogate() && i + 1 < S.size() && S[i + 1].isLowSurrogate()) {
        Units = 2;
        return QChar::surrogateToUcs4(S[i], S[i + 1]);
    }
    Units = 1;
    return S[i].unicode();
}

// Wide and fullwidth characters take two cells.
inline bool IsWide(char32_t C)
{
    return (C >= 0x1100 && C <= 0x115F) || (C >= 0x2E80 && C <= 0xA4CF && C != 0x303F) ||
           (C >= 0xAC00 && C <= 0xD7A3) || (C >= 0xF900 && C <= 0xFAFF) || (C >= 0xFE30 && C <= 0xFE4F) ||
           (C >= 0xFF00 && C <= 0xFF60) || (C >= 0xFFE0 && C <= 0xFFE6) || (C >= 0x1F300 && C <= 0x1F64F) ||
           (C >= 0x1F900 && C <= 0x1F9FF) || (C >= 0x20000 && C <= 0x3FFFD);
}

inline bool IsWordChar(QChar C)
{
    const ushort U = C.unicode();
    return (U >= 'a' && U <= 'z') || (U >= 'A' && U <= 'Z') || (U >= '0' && U <= '9') || U == '_';
}

// Characters of a word for word moves and double-click: letters (Chinese
// included), digits and '_'.
inline bool IsWordMoveChar(QChar C)
{
    return C.isLetterOrNumber() || C == u'_' || C.isSurrogate();
}

} // namespace synmemo
