// TFormBillReport: the filter window of the sales and purchase documents
// list. OK and the quick query run the list on the main window and switch to
// its page.
#pragma once

#include "app/ReportFilter.h"

class QAction;

class TFormBillReport : public TReportFilterForm
{
public:
    explicit TFormBillReport(QWidget* AOwner = nullptr);

    QAction* ActionYes;
    QAction* ActionCancel;

    void FormShow(QObject* Sender);
    void ActionYesExecute(QObject* Sender);
    void ActionCancelExecute(QObject* Sender);
    void Button1Click(QObject* Sender);
};

extern TFormBillReport* FormBillReport;
