// TFormAnalysis: the business-document list the user last produced, as nine
// summary figures and four charts (by salesman, by kind or progress, by
// customer and over time). It reads only that list.
#pragma once

#include "app/AnalysisFormGroups.h"
#include "platform/gui/Forms.h"

#include <vector>

class QAction;
class QChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QTabWidget;
class TADOQuery;
class TImage;
class TSpeedButton;

class TFormAnalysis : public TForm
{
public:
    explicit TFormAnalysis(QWidget* AOwner = nullptr);

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    QWidget* TabSheet4;
    QWidget* TabSheet5;
    TImage* Image1;
    QLabel* Label11;
    QLabel* Label12;
    QLabel* Label13;
    QLabel* Label14;
    QLabel* Label15;
    QLabel* Label16;
    QLabel* Label17;
    QLabel* Label18;
    QLabel* Label19;
    QChartView* Chart1;
    QChartView* Chart2;
    QChartView* Chart3;
    QChartView* Chart4;
    QComboBox* ComboBox1; // bars or pie
    QComboBox* ComboBox2; // value of each chart
    QComboBox* ComboBox3;
    QComboBox* ComboBox4; // kind or progress
    QComboBox* ComboBox5;
    QComboBox* ComboBox6;
    QComboBox* ComboBox7; // day, month or year
    QDateEdit* DateTimePicker1;
    QDateEdit* DateTimePicker2;
    TSpeedButton* SpeedButton2;
    QAction* ActionCancel;
    TADOQuery* ADOQueryReport;

    // The nine summary labels in order.
    std::vector<QLabel*> SummaryLabels() const;

    void ShowSummary();
    // 0 Chart1 .. 3 Chart4.
    void RefreshChart(int Index);
    void FillChart(QChartView* Chart, const QString& ValueName, bool Bars, const QString& Key);

    void FormShow(QObject* Sender);
    void ActionCancelExecute(QObject* Sender);

private:
    void BuildSummaryTab();
    QChartView* BuildChartTab(QWidget* Sheet, const char* Name, QComboBox*& Values, const char* ValuesName);
    void BuildSideBar();
    void BindEvents();
    bool ListOpen() const;

    std::vector<TAnalysisRow> FRows;
};

extern TFormAnalysis* FormAnalysis;
