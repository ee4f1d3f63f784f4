// Shared by the grid tests: readable QString output in failure messages.
#pragma once

#include <QString>
#include <ostream>

inline void PrintTo(const QString& S, std::ostream* Out)
{
    *Out << '"' << S.toStdString() << '"';
}
