#include "report/engine/FR_Aggr.h"

#include "report/engine/FR_Band.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Intrp.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Pars.h"
#include "report/engine/FR_View.h"

#include <algorithm>
#include <vector>

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

QString frOutputCountKey(const QString& FooterName, bool CountsInvisible)
{
    return FooterName.toLower() + frKeySeparator + (CountsInvisible ? u'1' : u'0');
}

// ---------------------------------------------------------------- functions

namespace {

QChar KindOf(const QString& Name)
{
    if (Name == u"SUM")
        return QChar(frAggSum);
    if (Name == u"MIN")
        return QChar(frAggMin);
    if (Name == u"MAX")
        return QChar(frAggMax);
    if (Name == u"AVG")
        return QChar(frAggAvg);
    return QChar(frAggCount);
}

// The data band type whose rows a footer of that type counts; -1 for bands
// that count nothing by themselves.
int CountedDataType(int FooterType)
{
    switch (FooterType) {
    case btReportSummary:
    case btPageFooter:
    case btColumnFooter:
    case btMasterFooter:
    case btGroupFooter:
        return btMasterData;
    case btDetailFooter:
        return btDetailData;
    case btSubDetailFooter:
        return btSubDetailData;
    case btCrossFooter:
        return btCrossData;
    default:
        return -1;
    }
}

QString MakeKey(const QString& Prefix, QChar Kind, const QString& Expression, const QString& Flag)
{
    return Prefix + frKeySeparator + Kind + frKeySeparator + Expression + frKeySeparator + Flag +
           frKeySeparator;
}

void RegisterAggregate(QChar Kind, const QString& BandText, const QString& Expression,
                       const QString& Flag)
{
    TfrBand* Data = frAggregateBand;
    if (!CurBand || !Data)
        return;
    QString BandName = Trim(BandText);
    if (BandName.isEmpty()) {
        if (Data->Typ != CountedDataType(CurBand->Typ))
            return;
        BandName = Data->Name;
    }
    if (BandName.compare(Data->Name, Qt::CaseInsensitive) != 0)
        return;
    QString Prefix = CurBand->Name;
    if (CurBand->Typ != btCrossFooter && CurBand->HasCross())
        Prefix = QStringLiteral("0") + frKeySeparator + CurBand->Name;
    const QString Key = MakeKey(Prefix, Kind, Expression, Flag);
    Data->SetAggregateValue(Key, frAggregateResetValue(Key));
    CurBand->AggregateSource = Data;
    std::vector<TfrBand*>& Sources = CurBand->AggregateSources;
    if (std::find(Sources.begin(), Sources.end(), Data) == Sources.end())
        Sources.push_back(Data);
}

// The data band holding the accumulator of a call that names BandText; a
// call naming none reads the band registered last.
TfrBand* AccumulatorBand(const QString& BandText)
{
    const QString BandName = Trim(BandText);
    if (BandName.isEmpty() || CurBand->Typ == btCrossData)
        return CurBand->AggregateSource;
    for (TfrBand* Source : CurBand->AggregateSources)
        if (Source->Name.compare(BandName, Qt::CaseInsensitive) == 0)
            return Source;
    return nullptr;
}

void ReadAggregate(QChar Kind, const QString& BandText, const QString& Expression, const QString& Flag,
                   Variant& Value)
{
    if (!CurBand)
        return;
    TfrBand* Source = AccumulatorBand(BandText);
    if (!Source)
        return;
    QString Prefix = CurBand->Name;
    if (CurBand->Typ == btCrossData)
        Prefix = QString::number(CurPage ? CurPage->CrossColumn : 0) + frKeySeparator + Source->Name;
    Value = Source->GetAggregateValue(MakeKey(Prefix, Kind, Expression, Flag));
}

} // namespace

void frAggregateFunction(const QString& Name, const Variant& P1, const Variant& P2, const Variant& P3,
                         Variant& Value)
{
    const QString Upper = Name.toUpper();
    const QChar Kind = KindOf(Upper);
    // COUNT names its band first; the band name then also stands in the
    // expression field and its second argument takes the flag's place.
    const bool Count = Kind == QChar(frAggCount);
    const QString BandText = VarToStr(Count ? P1 : P2);
    const QString Expression = VarToStr(P1);
    // The band engine compares the flag with "1": "SUM([A], Band1, 1)" must
    // not leave the blank before it in the key.
    const QString Flag = Trim(VarToStr(Count ? P2 : P3));
    if (frRegisteringAggregates)
        RegisterAggregate(Kind, BandText, Expression, Flag);
    else
        ReadAggregate(Kind, BandText, Expression, Flag, Value);
}

void frRegisterAggregates(TfrPage* Page, TfrBand* DataBand, const std::vector<int>& FooterTypes)
{
    if (!Page || !DataBand)
        return;
    TfrBand* SavedBand = CurBand;
    TfrBand* SavedData = frAggregateBand;
    const bool SavedFlag = frRegisteringAggregates;
    frAggregateBand = DataBand;
    frRegisteringAggregates = true;
    try {
        for (int Typ : FooterTypes) {
            for (TfrBand* Footer = Page->Bands[Typ]; Footer; Footer = Footer->Next) {
                TStringList Calls;
                TAggregateFunctionsSplitter Splitter(&Calls);
                for (TfrView* View : Footer->Objects) {
                    Splitter.SplitMemo(*View->Memo());
                    Splitter.SplitScript(*View->Script());
                }
                Splitter.SplitScript(Footer->Script);
                CurBand = Footer;
                for (int i = 0; i < Calls.Count(); ++i) {
                    // Only the call itself: its arguments are texts, not
                    // evaluated while registering.
                    const QString Call = Calls.Strings(i);
                    int Pos = 0;
                    const QString FuncName = ReadIdentifier(Call, Pos);
                    while (Pos < Call.size() && Call[Pos] != u'(')
                        ++Pos;
                    if (Pos >= Call.size())
                        continue;
                    const TfrFunctionArguments Args = ReadFunctionArguments(Call, Pos);
                    Variant Ignored;
                    frAggregateFunction(FuncName, Args.P1, Args.P2, Args.P3, Ignored);
                }
            }
        }
    } catch (...) {
        CurBand = SavedBand;
        frAggregateBand = SavedData;
        frRegisteringAggregates = SavedFlag;
        throw;
    }
    CurBand = SavedBand;
    frAggregateBand = SavedData;
    frRegisteringAggregates = SavedFlag;
}

// ---------------------------------------------------------------- band accumulators

Variant TfrBand::GetAggregateValue(const QString& Key) const
{
    // The band-name field stands before the kind, the flag two after it.
    const QStringList Fields = Key.split(frKeySeparator);
    int Count = AggregateCount;
    for (int i = 1; i <= 2 && i < Fields.size(); ++i)
        if (Fields[i].size() == 1 && Fields[i][0] == frAggregateKind(Key))
            Count = OutputCounts.value(frOutputCountKey(Fields[i - 1], Fields.value(i + 2) == u"1"),
                                       AggregateCount);
    return frAggregateResult(Values.GetVariable(Key), Key, Count);
}

void TfrBand::SetAggregateValue(const QString& Key, const Variant& Value)
{
    Values.SetVariable(Key, Value);
}

bool TfrBand::HasCross() const
{
    if (!Parent)
        return false;
    for (const TfrView* View : Objects)
        if (const TfrBand* Owner = Parent->ViewBand(View); Owner && frIsCrossBand(Owner->Typ))
            return true;
    return false;
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
