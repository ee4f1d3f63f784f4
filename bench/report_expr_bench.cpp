// Expression evaluation as the band engine does it: a band condition kept as
// postfix text, and a memo expression calculated from its text, each with five
// operands and two function calls answered through the callback.
#include "report/engine/FR_Pars.h"

#include <benchmark/benchmark.h>

namespace {

void SetUp(TfrParser& Parser)
{
    Parser.OnGetValue = [](TfrParser*, const QString& Name, Variant& Value) {
        if (Name == QLatin1String("Orders.Qty"))
            Value = Variant(12);
        else if (Name == QLatin1String("Orders.Price"))
            Value = Variant(3.25);
        else
            Value = Variant(QStringLiteral("Customer"));
    };
    Parser.OnFunction = [](TfrParser* Sender, const QString& Name, const Variant& P1, const Variant&,
                           const Variant&, Variant& Value) {
        if (Name == QLatin1String("UPPERCASE"))
            Value = Variant(Sender->Calc(P1.AsString()).AsString().toUpper());
        else
            Value = Variant(int(Sender->Calc(P1.AsString()).AsString().size()));
    };
}

void BandCondition(benchmark::State& State)
{
    TfrParser Parser;
    SetUp(Parser);
    const QString Postfix = Parser.ConvertToPostfix(
        QStringLiteral("([Orders.Qty] * [Orders.Price] > 10) and (LENGTH([Name]) > 3) or (UPPERCASE([Code]) = 'X')"));
    for (auto _ : State)
        benchmark::DoNotOptimize(Parser.EvaluatePostfix(Postfix));
}
BENCHMARK(BandCondition);

void MemoExpression(benchmark::State& State)
{
    TfrParser Parser;
    SetUp(Parser);
    const QString Text = QStringLiteral("UPPERCASE([Name]) + ' ' + STR([Orders.Qty] * [Orders.Price] + LENGTH([Code]) + 1)");
    for (auto _ : State)
        benchmark::DoNotOptimize(Parser.Calc(Text));
}
BENCHMARK(MemoExpression);

} // namespace

BENCHMARK_MAIN();
