#include "platform/rtl/PinyinOrder.h"

#include <QCollator>
#include <QLocale>
#include <QString>
#include <algorithm>
#include <cctype>
#include <type_traits>

namespace {

const QCollator& ChineseCollator()
{
    // A collator is not shared between threads.
    thread_local const QCollator Collator = [] {
        QCollator C(QLocale(QLocale::Chinese, QLocale::China));
        C.setCaseSensitivity(Qt::CaseInsensitive);
        return C;
    }();
    return Collator;
}

int Lower(unsigned U)
{
    return std::tolower(int(U));
}

QString TailText(const char* P, qsizetype N)
{
    return QString::fromUtf8(P, N);
}

QString TailText(const char16_t* P, qsizetype N)
{
    return QString(reinterpret_cast<const QChar*>(P), N);
}

// The inner part of a character: a UTF-8 continuation byte or a low surrogate.
bool InsideCharacter(unsigned char U)
{
    return (U & 0xC0) == 0x80;
}

bool InsideCharacter(char16_t U)
{
    return U >= 0xDC00 && U <= 0xDFFF;
}

// One routine for both encodings: ASCII is the same code in each. Equal
// leading characters are skipped and ASCII is decided here, so only the rest
// of two Chinese texts reaches the collator, which keeps large sorts fast.
template <typename TUnit>
int Compare(const TUnit* Pa, qsizetype LenA, const TUnit* Pb, qsizetype LenB)
{
    using U = std::conditional_t<std::is_same_v<TUnit, char>, unsigned char, char16_t>;
    if (LenA == LenB && std::equal(Pa, Pa + LenA, Pb))
        return 0;
    const qsizetype N = std::min(LenA, LenB);
    qsizetype i = 0;
    for (; i < N; ++i) {
        if (Pa[i] == Pb[i])
            continue;
        if (U(Pa[i]) < 0x80 && U(Pb[i]) < 0x80 && Lower(U(Pa[i])) == Lower(U(Pb[i])))
            continue;
        break;
    }
    // The collator gets whole characters.
    while (i > 0 && i < N && InsideCharacter(U(Pa[i])))
        --i;
    if (i == LenA || i == LenB)
        return LenA == LenB ? 0 : LenA < LenB ? -1 : 1;
    const bool AsciiA = U(Pa[i]) < 0x80, AsciiB = U(Pb[i]) < 0x80;
    if (AsciiA && AsciiB)
        return Lower(U(Pa[i])) - Lower(U(Pb[i]));
    if (AsciiA != AsciiB)
        return AsciiA ? -1 : 1;
    const int R = ChineseCollator().compare(TailText(Pa + i, LenA - i), TailText(Pb + i, LenB - i));
    if (R != 0)
        return R;
    // Equal for the collator but different code: keep a total order, in
    // which letter case alone still makes no difference.
    for (qsizetype k = i; k < N; ++k) {
        const int a = U(Pa[k]) < 0x80 ? Lower(U(Pa[k])) : int(U(Pa[k]));
        const int b = U(Pb[k]) < 0x80 ? Lower(U(Pb[k])) : int(U(Pb[k]));
        if (a != b)
            return a < b ? -1 : 1;
    }
    return LenA == LenB ? 0 : LenA < LenB ? -1 : 1;
}

} // namespace

int PinyinCompare(QStringView A, QStringView B)
{
    return Compare(A.utf16(), A.size(), B.utf16(), B.size());
}

int PinyinCompareUtf8(QByteArrayView A, QByteArrayView B)
{
    return Compare(A.data(), A.size(), B.data(), B.size());
}
