#include "app/AnalysisFormGroups.h"

#include "platform/db/DataSet.h"
#include "platform/db/Field.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <functional>

namespace {

constexpr size_t MaxPoints = 20;

QString Text(TDataSet* Query, const char* Name)
{
    TField* Field = Query->FindField(QString::fromLatin1(Name));
    return Field ? Field->AsString() : QString();
}

double Number(TDataSet* Query, const char* Name)
{
    TField* Field = Query->FindField(QString::fromLatin1(Name));
    return Field && !Field->IsNull() ? Field->AsFloat() : 0.0;
}

// An amount charted as a whole number, halves to even as the list's integer reading does.
int64_t Whole(double Value)
{
    return static_cast<int64_t>(std::nearbyint(Value));
}

QString DayLabel(TDateTime Day)
{
    return DateToStr(Day);
}

QString MonthLabel(TDateTime Day)
{
    int Year, Month, D;
    DecodeDate(Day, Year, Month, D);
    return QString::number(Year) + u'-' + QString::number(Month);
}

QString YearLabel(TDateTime Day)
{
    return DateToStr(Day).left(4);
}

// The slots of the groups in order of first use, found by label through a hash.
class TSlots
{
public:
    int64_t& At(const QString& Label)
    {
        auto It = FIndex.constFind(Label);
        if (It != FIndex.constEnd())
            return FPoints[*It].Value;
        FIndex.insert(Label, int(FPoints.size()));
        FPoints.push_back({Label, 0});
        return FPoints.back().Value;
    }
    std::vector<TChartPoint> Take() { return std::move(FPoints); }

private:
    QHash<QString, int> FIndex;
    std::vector<TChartPoint> FPoints;
};

// The value a row adds; "客户数目" counts a customer at its first row only.
class TChartValue
{
public:
    explicit TChartValue(const QString& Name) : FName(Name) {}
    int64_t operator()(const TAnalysisRow& Row)
    {
        if (FName == QStringLiteral("订单数目"))
            return 1;
        if (FName == QStringLiteral("客户数目")) {
            if (Row.BillUser == FLastUser)
                return 0;
            FLastUser = Row.BillUser;
            return 1;
        }
        if (FName == QStringLiteral("应收款"))
            return Whole(Row.BillSum);
        if (FName == QStringLiteral("实收款"))
            return Whole(Row.BillGet);
        if (FName == QStringLiteral("未收款"))
            return Whole(Row.BillOwe);
        return 0;
    }

private:
    QString FName;
    QString FLastUser;
};

std::vector<TChartPoint> GroupPeriods(const std::vector<TAnalysisRow>& Rows, const TChartGrouping& G)
{
    std::function<QString(TDateTime)> Label;
    std::function<TDateTime(TDateTime)> Step;
    if (G.Key == QStringLiteral("日统计")) {
        Label = DayLabel;
        Step = [](TDateTime D) { return D + 1; };
    } else if (G.Key == QStringLiteral("月统计")) {
        Label = MonthLabel;
        Step = [](TDateTime D) { return IncMonth(D, 1); };
    } else {
        Label = YearLabel;
        Step = [](TDateTime D) { return IncMonth(D, 12); };
    }
    const TDateTime Start = std::floor(G.Start);
    const TDateTime End = std::floor(G.End);
    // Only the first periods are drawn; the pickers reach from 1752 to 9999, so
    // a slot for every day of the range would cost seconds and hundreds of MB.
    TSlots Slots;
    size_t Periods = 0;
    for (TDateTime D = Start; D <= End && Periods < MaxPoints; D = Step(D), ++Periods)
        Slots.At(Label(D));
    TChartValue Value(G.ValueName);
    for (const TAnalysisRow& Row : Rows) {
        if (Row.BillCreateTime < Start || std::floor(Row.BillCreateTime) > End)
            continue;
        const int64_t V = Value(Row);
        Slots.At(Label(Row.BillCreateTime)) += V;
    }
    std::vector<TChartPoint> Points = Slots.Take();
    if (Points.size() > MaxPoints)
        Points.resize(MaxPoints);
    return Points;
}

const QString& GroupText(const TAnalysisRow& Row, const QString& Key)
{
    if (Key == QStringLiteral("BillMan"))
        return Row.BillMan;
    if (Key == QStringLiteral("BillReason"))
        return Row.BillReason;
    if (Key == QStringLiteral("BillState"))
        return Row.BillState;
    return Row.BillUser;
}

} // namespace

std::vector<TAnalysisRow> ReadAnalysisRows(TDataSet* Query)
{
    std::vector<TAnalysisRow> Rows;
    if (!Query || !Query->Active())
        return Rows;
    TField* Created = Query->FindField(QStringLiteral("BillCreateTime"));
    for (Query->First(); !Query->Eof(); Query->Next()) {
        TAnalysisRow Row;
        Row.BillCreateTime = Created && !Created->IsNull() ? Created->AsDateTime() : 0;
        Row.BillKind = Text(Query, "BillKind");
        Row.BillUser = Text(Query, "BillUser");
        Row.BillMan = Text(Query, "BillMan");
        Row.BillReason = Text(Query, "BillReason");
        Row.BillState = Text(Query, "BillState");
        Row.BillSum = Number(Query, "BillSum");
        Row.BillGet = Number(Query, "BillGet");
        Row.BillOwe = Number(Query, "BillOwe");
        Rows.push_back(std::move(Row));
    }
    return Rows;
}

TAnalysisSums SumAnalysisRows(const std::vector<TAnalysisRow>& Rows)
{
    TAnalysisSums S;
    for (const TAnalysisRow& Row : Rows) {
        if (Row.BillKind == QStringLiteral("销售开单")) {
            S.SaleSum += Row.BillSum;
            S.SaleGet += Row.BillGet;
            S.SaleOwe += Row.BillOwe;
        } else {
            S.OtherSum += Row.BillSum;
            S.OtherGet += Row.BillGet;
            S.OtherOwe += Row.BillOwe;
        }
    }
    return S;
}

std::vector<double> AnalysisLabelValues(const TAnalysisSums& S)
{
    return {S.SaleSum,
            S.SaleGet,
            S.SaleOwe,
            std::fabs(S.OtherSum),
            std::fabs(S.OtherGet),
            std::fabs(S.OtherOwe),
            S.SaleGet + S.OtherSum,
            S.SaleSum + S.OtherSum,
            S.SaleGet + S.OtherGet};
}

bool TChartGrouping::Periods() const
{
    return Key == QStringLiteral("日统计") || Key == QStringLiteral("月统计") || Key == QStringLiteral("年统计");
}

QString UnfilledLabel()
{
    return QStringLiteral("（未填写）");
}

std::vector<TChartPoint> GroupChartPoints(const std::vector<TAnalysisRow>& Rows, const TChartGrouping& Grouping)
{
    if (Grouping.Periods())
        return GroupPeriods(Rows, Grouping);
    TSlots Slots;
    TChartValue Value(Grouping.ValueName);
    for (const TAnalysisRow& Row : Rows) {
        const QString& Group = GroupText(Row, Grouping.Key);
        const int64_t V = Value(Row);
        Slots.At(Group.isEmpty() ? UnfilledLabel() : Group) += V;
    }
    std::vector<TChartPoint> Points = Slots.Take();
    std::stable_sort(Points.begin(), Points.end(),
                     [](const TChartPoint& A, const TChartPoint& B) { return A.Value > B.Value; });
    if (Points.size() > MaxPoints)
        Points.resize(MaxPoints);
    return Points;
}
