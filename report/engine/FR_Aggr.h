// Aggregate functions (SUM, MIN, MAX, AVG, COUNT) compute nothing themselves:
// while a page's footers are prepared they register an accumulator with the
// data band whose rows they count, and while the footer prints they read it
// back. The band engine keeps the accumulators up to date through
// frUpdateAggregate and resets them to frAggregateResetValue.
//
// An accumulator key is a text of fields each followed by the character 1:
// [column,] band name, kind character, expression, flag ("1": invisible rows
// count too). Keys of a band holding cross-tab views lead with a column field,
// "0" for the templates the band engine copies per cross column.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/rtl/Variants.h"

#include <QString>

#include <vector>

class TfrBand;
class TfrPage;

// Kind characters inside keys.
constexpr char16_t frAggSum = 11, frAggMin = 12, frAggMax = 13, frAggAvg = 14, frAggCount = 15;
constexpr QChar frKeySeparator = QChar(1);

// "SUM", "MIN", "MAX", "AVG" or "COUNT" called with its argument texts. In
// the registration pass (frRegisteringAggregates set by the band engine) the
// accumulator is registered with frAggregateBand; otherwise its value is read
// from the one of the current band's AggregateSources the call names, or from
// AggregateSource when it names none. Value is left alone when there is
// nothing to register or read.
void frAggregateFunction(const QString& Name, const Variant& P1, const Variant& P2,
                         const Variant& P3, Variant& Value);

// Registers the aggregate calls of the footers of FooterTypes on Page (the
// memos and scripts of their views and their own scripts) with DataBand, and
// points each footer that registers one at it.
void frRegisterAggregates(TfrPage* Page, TfrBand* DataBand, const std::vector<int>& FooterTypes);

// The kind character of a key; a null character for a text that is no key.
QChar frAggregateKind(const QString& Key);
// What an accumulator holds before its first value: MIN and MAX hold null
// ("nothing accumulated", read as 1e300 and 0), the others the integer 0.
Variant frAggregateResetValue(const QString& Key);
// One row's Value into the accumulator: SUM and AVG add (null counts as 0),
// MIN and MAX take the first value after a reset and skip null values, COUNT
// adds 1.
void frUpdateAggregate(Variant& Accumulator, const QString& Key, const Variant& Value);
// An accumulator as the footer prints it: AVG divided by Count (0 when Count
// is 0), MIN and MAX with nothing accumulated 1e300 and 0.
Variant frAggregateResult(const Variant& Accumulator, const QString& Key, int Count);
// Key of a data band's OutputCounts: the footer's name and whether its
// aggregate takes hidden rows too (the flag "1").
QString frOutputCountKey(const QString& FooterName, bool CountsInvisible);

// Finds the aggregate calls of a band's memo lines and compiled script and
// appends their texts to the output list, expanding the current report's
// dictionary variables on the way.
class TAggregateFunctionsSplitter
{
public:
    explicit TAggregateFunctionsSplitter(TStrings* SplitTo);
    // Every top-level bracket group of every line.
    void SplitMemo(const TStrings& Memo);
    void SplitScript(const TStrings& Script);

private:
    TStringList FMatchFuncs;
    TStrings* FSplitTo;
};
