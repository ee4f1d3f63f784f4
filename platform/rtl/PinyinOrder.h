// The order of text wherever this program sorts or ranks it: the database's
// ordered lists and the report expressions' "<" and ">". Digits and Latin
// letters come before Chinese, ASCII letters compare without regard to case,
// and Chinese text follows its pinyin through the collator. Texts that differ
// only in the case of ASCII letters compare equal; every other difference
// gives a non-zero answer, so the order is total.
#pragma once

#include <QByteArrayView>
#include <QStringView>

// Negative, zero or positive as A orders before, with or after B.
int PinyinCompare(QStringView A, QStringView B);
// The same order over UTF-8 bytes, as the database hands them over.
int PinyinCompareUtf8(QByteArrayView A, QByteArrayView B);
