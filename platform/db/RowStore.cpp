// Canonical date-time text of the database: "YYYY-MM-DD HH:MM:SS".
#include "platform/db/RowStore_p.h"

#include <cmath>
#include <cstdio>

namespace {

bool Digits(const char* S, int Count, int& Value)
{
    Value = 0;
    for (int i = 0; i < Count; ++i) {
        if (S[i] < '0' || S[i] > '9')
            return false;
        Value = Value * 10 + (S[i] - '0');
    }
    return true;
}

} // namespace

bool ParseCanonicalDateTime(const char* S, size_t Len, double& Value)
{
    int Y, M, D, H = 0, N = 0, Sec = 0;
    if (Len != 10 && Len != 16 && Len != 19)
        return false;
    if (!Digits(S, 4, Y) || S[4] != '-' || !Digits(S + 5, 2, M) || S[7] != '-' || !Digits(S + 8, 2, D))
        return false;
    if (Len >= 16) {
        if ((S[10] != ' ' && S[10] != 'T') || !Digits(S + 11, 2, H) || S[13] != ':' || !Digits(S + 14, 2, N))
            return false;
        if (Len == 19 && (S[16] != ':' || !Digits(S + 17, 2, Sec)))
            return false;
    }
    TDateTime Date, Time;
    if (!TryEncodeDate(Y, M, D, Date) || !TryEncodeTime(H, N, Sec, 0, Time))
        return false;
    Value = Date + Time;
    return true;
}

QByteArray FormatCanonicalDateTime(double Value)
{
    // Whole seconds, counted from the day's start, so 23:59:59.9996 becomes the next day.
    const double Day = std::floor(Value);
    double Seconds = std::round((Value - Day) * 86400.0);
    double Days = Day;
    if (Seconds >= 86400.0) {
        Days += 1;
        Seconds -= 86400.0;
    }
    int Y, M, D;
    DecodeDate(Days, Y, M, D);
    const int Secs = int(Seconds);
    char Buf[32];
    std::snprintf(Buf, sizeof Buf, "%04d-%02d-%02d %02d:%02d:%02d", Y, M, D, Secs / 3600, Secs / 60 % 60, Secs % 60);
    return QByteArray(Buf);
}
