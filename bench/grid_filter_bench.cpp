// The filter row over 100,000 in-memory rows (a number and a Chinese text
// column, a sum footer): Enter on a typed condition until the rows and the
// footer are current, against a plain loop through the dataset API that
// evaluates the same condition with the same matcher. The grid's owner
// filters in OnApplyFilter through OnFilterRecord with that matcher.
// Target: within 2 times the plain loop.
#include "BenchRatio.h"
#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "grid/DBGridEhFilter.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/db/MemDataSet.h"

#include <QApplication>
#include <QKeyEvent>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

constexpr int RowCount = 100000;

// One column's condition read from the grid, checked against a field.
struct TColumnCondition
{
    TField* Field = nullptr;
    TSTFilterConditionsEh Record;
};

bool MatchOne(TSTFilterOperatorEh Op, const TSTFilterOperandEh& Operand, TField* F)
{
    if (Op == foNon)
        return true;
    if (F->IsNull())
        return Op == foNull || Op == foNotEqual || Op == foNotLike;
    switch (Op) {
    case foNull:
        return false;
    case foNotNull:
        return true;
    case foLike:
    case foNotLike:
        return F->AsString().contains(Operand.Value().AsString()) == (Op == foLike);
    default:
        break;
    }
    const double V = F->AsFloat();
    const double W = Operand.Value().AsFloat();
    switch (Op) {
    case foEqual: return V == W;
    case foNotEqual: return V != W;
    case foGreaterThan: return V > W;
    case foLessThan: return V < W;
    case foGreaterOrEqual: return V >= W;
    case foLessOrEqual: return V <= W;
    default: return true;
    }
}

bool Match(const std::vector<TColumnCondition>& Conditions)
{
    for (const TColumnCondition& C : Conditions) {
        const TSTFilterConditionsEh& R = C.Record;
        const bool First = MatchOne(R.Operator1, R.Operand1, C.Field);
        bool Ok = First;
        if (R.Join == foAND)
            Ok = First && MatchOne(R.Operator2, R.Operand2, C.Field);
        else if (R.Join == foOR)
            Ok = First || MatchOne(R.Operator2, R.Operand2, C.Field);
        if (!Ok)
            return false;
    }
    return true;
}

std::vector<TColumnCondition> ConditionsOf(TCustomDBGridEh* Grid)
{
    std::vector<TColumnCondition> Result;
    for (int i = 0; i < Grid->Columns()->Count(); ++i) {
        TColumnEh* C = Grid->Columns(i);
        if (C->Field() && C->STFilter()->FilterConditions().Operator1 != foNon)
            Result.push_back({C->Field(), C->STFilter()->FilterConditions()});
    }
    return Result;
}

struct TBenchGrid
{
    std::unique_ptr<TMemDataSet> Data;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TDBGridEh> Grid;
    std::vector<TColumnCondition> Conditions;

    TBenchGrid()
    {
        Data = std::make_unique<TMemDataSet>();
        Data->FieldDefs()->Add(QStringLiteral("Qty"), ftInteger);
        Data->FieldDefs()->Add(QStringLiteral("Name"), ftWideString, 20);
        Data->Open();
        Data->DisableControls();
        static const char* Surnames[] = {"张", "李", "王", "刘", "陈"};
        for (int i = 0; i < RowCount; ++i)
            Data->AppendRecord({Variant(i % 50000), Variant(QString::fromUtf8(Surnames[i % 5]) + QString::number(i))});
        Data->First();
        Data->EnableControls();
        Source = std::make_unique<TDataSource>();
        Source->SetDataSet(Data.get());
        Grid = std::make_unique<TDBGridEh>();
        Grid->resize(500, 600);
        for (const char* Name : {"Qty", "Name"}) {
            TColumnEh* C = Grid->Columns()->Add();
            C->SetFieldName(QString::fromUtf8(Name));
            C->SetWidth(150);
        }
        Grid->Columns(0)->Footer()->SetValueType(fvtSum);
        Grid->SetFooterRowCount(1);
        Grid->STFilter()->SetVisible(true);
        Grid->SetDataSource(Source.get());
        Grid->SumList()->SetActive(true);
        Grid->OnApplyFilter = [this](QObject*) {
            Conditions = ConditionsOf(Grid.get());
            Data->OnFilterRecord = [this](TDataSet*, bool& Accept) { Accept = Match(Conditions); };
            if (Data->Filtered())
                Data->Refresh();
            else
                Data->SetFiltered(true);
        };
        Grid->show();
        Grid->Update();
    }

    // Types Text into the filter cell of column DataCol.
    void TypeFilter(int DataCol, const QString& Text)
    {
        Grid->ShowFilterEdit(DataCol);
        Grid->FilterEdit()->SetText(Text);
    }

    void Enter()
    {
        QKeyEvent Press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(Grid->FilterEdit(), &Press);
        Grid->Update();
    }
};

// Made on first use and freed before the application object.
std::unique_ptr<TBenchGrid> GBench;

TBenchGrid& Bench()
{
    if (!GBench)
        GBench = std::make_unique<TBenchGrid>();
    return *GBench;
}

// Each pass starts from the whole list, so every Enter filters all rows.
void EnterCondition(benchmark::State& State, int DataCol, const char* Text)
{
    TBenchGrid& B = Bench();
    for (auto _ : State) {
        State.PauseTiming();
        B.Data->SetFiltered(false);
        for (int i = 0; i < 2; ++i)
            B.Grid->Columns(i)->STFilter()->SetFilterText(QString());
        B.TypeFilter(DataCol, QString::fromUtf8(Text));
        State.ResumeTiming();
        B.Enter();
        benchmark::DoNotOptimize(B.Grid->GetFooterValueText(0, B.Grid->Columns(0)));
    }
    State.counters["rows"] = B.Data->RecordCount();
}

void PlainLoop(benchmark::State& State, int DataCol, const char* Text)
{
    TBenchGrid& B = Bench();
    B.Data->SetFiltered(false);
    TColumnCondition C;
    C.Field = B.Grid->Columns(DataCol)->Field();
    C.Record.DataType = STFilterDataTypeOf(C.Field->DataType());
    ParseFilterText(QString::fromUtf8(Text), C.Record);
    const std::vector<TColumnCondition> Conditions{C};
    TField* Qty = B.Data->FieldByName(QStringLiteral("Qty"));
    for (auto _ : State) {
        double Sum = 0;
        int Count = 0;
        B.Data->DisableControls();
        B.Data->First();
        while (!B.Data->Eof()) {
            if (Match(Conditions)) {
                Sum += Qty->AsFloat();
                ++Count;
            }
            B.Data->Next();
        }
        B.Data->EnableControls();
        benchmark::DoNotOptimize(Sum);
        State.counters["rows"] = Count;
    }
}

void BM_PlainLoopRange(benchmark::State& State) { PlainLoop(State, 0, ">= 10 and <= 20000"); }
BENCHMARK(BM_PlainLoopRange)->Unit(benchmark::kMillisecond);
void BM_EnterRange(benchmark::State& State) { EnterCondition(State, 0, ">= 10 and <= 20000"); }
BENCHMARK(BM_EnterRange)->Unit(benchmark::kMillisecond);
void BM_PlainLoopLike(benchmark::State& State) { PlainLoop(State, 1, "~ 张"); }
BENCHMARK(BM_PlainLoopLike)->Unit(benchmark::kMillisecond);
void BM_EnterLike(benchmark::State& State) { EnterCondition(State, 1, "~ 张"); }
BENCHMARK(BM_EnterLike)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    Reporter.PrintRatio("Enter on \">= 10 and <= 20000\" / plain loop", "BM_EnterRange", "BM_PlainLoopRange", 2);
    Reporter.PrintRatio("Enter on \"~ 张\" / plain loop", "BM_EnterLike", "BM_PlainLoopLike", 2);
    GBench.reset();
    benchmark::Shutdown();
    return 0;
}
