// The analysis window's figures without widgets: the document rows it reads,
// the nine summary values, and the grouping of rows into chart points.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <QString>
#include <cstdint>
#include <vector>

class TDataSet;

// One row of the business-document list.
struct TAnalysisRow
{
    TDateTime BillCreateTime = 0;
    QString BillKind;
    QString BillUser;
    QString BillMan;
    QString BillReason;
    QString BillState;
    double BillSum = 0;
    double BillGet = 0;
    double BillOwe = 0;
};

// Reads every row of an open list; a column the list lacks reads as empty.
std::vector<TAnalysisRow> ReadAnalysisRows(TDataSet* Query);

// S: the sums over sales rows, P: over all other rows (purchases are negative).
struct TAnalysisSums
{
    double SaleSum = 0, SaleGet = 0, SaleOwe = 0;
    double OtherSum = 0, OtherGet = 0, OtherOwe = 0;
};
TAnalysisSums SumAnalysisRows(const std::vector<TAnalysisRow>& Rows);
// The nine summary values in label order (Label11 .. Label19).
std::vector<double> AnalysisLabelValues(const TAnalysisSums& Sums);

struct TChartPoint
{
    QString Label;
    int64_t Value = 0;
};

// How rows are grouped: a field key ("BillMan", "BillReason", "BillState",
// "BillUser") or a period key ("日统计", "月统计", "年统计") over Start..End.
struct TChartGrouping
{
    QString Key;
    // "应收款", "实收款", "未收款", "客户数目" or "订单数目".
    QString ValueName;
    TDateTime Start = 0;
    TDateTime End = 0;
    // Periods keep their order; groups are ordered largest first.
    bool Periods() const;
};

// The label an empty group text is charted under.
QString UnfilledLabel();
// At most the first 20 points: the largest groups, or the periods from Start.
// Rows come in the list's order (customer, date, index), which "客户数目" relies on.
std::vector<TChartPoint> GroupChartPoints(const std::vector<TAnalysisRow>& Rows, const TChartGrouping& Grouping);
