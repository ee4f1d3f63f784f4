#include "report/engine/FR_Aggr.h"

#include "report/engine/FR_Class.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Intrp.h"
#include "report/engine/FR_Pars.h"

namespace {

constexpr double MinStart = 1e300;

const TfrVariables* DictionaryVariables()
{
    return CurReport && CurReport->Dictionary() ? &CurReport->Dictionary()->Variables : nullptr;
}

} // namespace

// ---------------------------------------------------------------- accumulators

QChar frAggregateKind(const QString& Key)
{
    // The kind is the second field, or the third behind a column field.
    const QStringList Fields = Key.split(frKeySeparator);
    for (int i = 1; i <= 2 && i < Fields.size(); ++i)
        if (Fields[i].size() == 1 && Fields[i][0].unicode() >= frAggSum &&
            Fields[i][0].unicode() <= frAggCount)
            return Fields[i][0];
    return QChar();
}

Variant frAggregateResetValue(const QString& Key)
{
    const QChar Kind = frAggregateKind(Key);
    if (Kind == QChar(frAggMin) || Kind == QChar(frAggMax))
        return Variant::Null();
    return Variant(0);
}

void frUpdateAggregate(Variant& Accumulator, const QString& Key, const Variant& Value)
{
    switch (frAggregateKind(Key).unicode()) {
    case frAggSum:
    case frAggAvg:
        Accumulator = (Accumulator.IsNull() ? Variant(0) : Accumulator) +
                      (Value.IsNull() || Value.IsEmpty() ? Variant(0) : Value);
        break;
    case frAggMin:
        if (!Value.IsNull() && !Value.IsEmpty() && (Accumulator.IsNull() || VarLess(Value, Accumulator)))
            Accumulator = Value;
        break;
    case frAggMax:
        if (!Value.IsNull() && !Value.IsEmpty() &&
            (Accumulator.IsNull() || VarGreater(Value, Accumulator)))
            Accumulator = Value;
        break;
    case frAggCount:
        Accumulator = (Accumulator.IsNull() ? Variant(0) : Accumulator) + Variant(1);
        break;
    default:
        break;
    }
}

Variant frAggregateResult(const Variant& Accumulator, const QString& Key, int Count)
{
    switch (frAggregateKind(Key).unicode()) {
    case frAggAvg:
        // Our Variant division raises on 0; the report language gives 0.
        if (Count < 1 || Accumulator.IsNull())
            return Variant(0);
        return Accumulator / Variant(Count);
    case frAggMin:
        return Accumulator.IsNull() ? Variant(MinStart) : Accumulator;
    case frAggMax:
        return Accumulator.IsNull() ? Variant(0) : Accumulator;
    default:
        return Accumulator;
    }
}

// ---------------------------------------------------------------- functions

void frAggregateFunction(const QString&, const Variant&, const Variant&, const Variant&, Variant&)
{
}

// ---------------------------------------------------------------- splitter

TAggregateFunctionsSplitter::TAggregateFunctionsSplitter(TStrings* SplitTo)
    : FMatchFuncs(QStringList{QStringLiteral("AVG"), QStringLiteral("COUNT"), QStringLiteral("MAX"),
                              QStringLiteral("MIN"), QStringLiteral("SUM")}),
      FSplitTo(SplitTo)
{
}

void TAggregateFunctionsSplitter::SplitMemo(const TStrings& Memo)
{
    TfrFunctionSplitter Splitter(&FMatchFuncs, FSplitTo, DictionaryVariables());
    for (int i = 0; i < Memo.Count(); ++i) {
        const QString Line = Memo.Strings(i);
        int From = 0;
        for (;;) {
            const int Start = Line.indexOf(u'[', From);
            if (Start < 0)
                break;
            int Open = 0, Close = 0;
            const QString Inner = GetBracketedText(Line, Start, Open, Close);
            Splitter.Split(u'[' + Inner + u']');
            From = Close + 1;
        }
    }
}

void TAggregateFunctionsSplitter::SplitScript(const TStrings& Script)
{
    if (Script.Count() == 0)
        return;
    TfrInterpretator Interpretator;
    Interpretator.SplitExpressions(Script, FMatchFuncs, *FSplitTo, DictionaryVariables());
}
