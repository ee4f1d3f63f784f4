#pragma once
// Text helpers every test program shares.
#include <QString>
#include <ostream>
#include <string>

// Failure messages show a QString as its text, not as bytes.
inline void PrintTo(const QString& S, std::ostream* Out)
{
    *Out << '"' << S.toStdString() << '"';
}

inline std::string U8(const QString& S)
{
    return S.toStdString();
}

inline QString U(const char* Utf8)
{
    return QString::fromUtf8(Utf8);
}
