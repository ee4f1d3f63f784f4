// TFormMoneyReport: the filter window of the receipts and payments list. OK
// and the quick query run the list on the main window and switch to its page.
#pragma once

#include "app/ReportFilter.h"

class TFormMoneyReport : public TReportFilterForm
{
public:
    explicit TFormMoneyReport(QWidget* AOwner = nullptr);

    QComboBox* ComboBox1; // 帐户名称
    QComboBox* ComboBox4; // 款项凭证

    void FormShow(QObject* Sender);
    void BitBtn1Click(QObject* Sender);
    void BitBtn2Click(QObject* Sender);
    void Button1Click(QObject* Sender);
};

extern TFormMoneyReport* FormMoneyReport;
