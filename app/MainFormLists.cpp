// TFormMain: the two query lists, "业务报表" and "财务报表": their grids over
// their queries, the list routines with their orders and footers, the cell
// colours and width memory, opening a row, print and export.
#include "app/MainForm.h"

#include "app/BillReportForm.h"
#include "app/BuySellForm.h"
#include "app/GetPayForm.h"
#include "app/ListGrid.h"
#include "app/MoneyReportForm.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "grid/DBGridEh.h"
#include "grid/DBSumLst.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_DBSet.h"

#include <QComboBox>

namespace {

// A list row's fields for its footers: the count column and three sums.
struct TListFooters
{
    const char* Sums[3];
    TColor Colours[3];
};

const TListFooters MoneyFooters{{"MoneyIn", "MoneyOut", "MoneySum"}, {clBlue, clRed, clBlack}};
const TListFooters BillFooters{{"BillSum", "BillGet", "BillOwe"}, {clBlack, clBlue, clRed}};

const QString BillGroupBy = QStringLiteral(
    " Group By BillIndex,BillCreateTime,BillSerial,BillKind,BillUser,BillSum,BillMan,BillReason,BillState,BillRemark");

// Column 0 counts the rows, columns 4 to 6 sum; an empty or failed list
// counts 0 rather than keeping the previous list's count.
void SetListFooters(TDBGridEh* Grid, TADOQuery* Query, const TListFooters& F)
{
    const int Rows = Query->Active() ? Query->RecordCount() : 0;
    TColumnFooterEh* Count = Grid->Columns(0)->Footer();
    Count->SetValueType(fvtStaticText);
    Count->SetValue(QStringLiteral("共%1条").arg(Rows));
    Count->SetAlignment(taCenter);
    Count->Font()->SetColor(clBlack);
    for (int I = 0; I < 3; ++I) {
        TColumnFooterEh* Footer = Grid->Columns(4 + I)->Footer();
        Footer->SetFieldName(QString::fromLatin1(F.Sums[I]));
        Footer->SetValueType(fvtSum);
        Footer->SetAlignment(taCenter);
        Footer->Font()->SetColor(F.Colours[I]);
    }
    Grid->SumList()->RecalcAll();
}

// The amount column is red when the amount, rounded to a whole number, is
// below 0; every column's Tag keeps the widest text drawn so far plus 20.
void ListCellParams(TDBGridEh* Grid, TColumnEh* Column, TFont* AFont, const QString& AmountField)
{
    if (Column->FieldName() == AmountField && Column->Field())
        AFont->SetColor(RoundHalfEven(Column->Field()->AsFloat()) < 0 ? clRed : clBlack);
    const int Width = Grid->Canvas()->TextWidth(Column->GetDisplayText());
    if (Width > Column->Tag())
        Column->SetTag(Width + 20);
}

// One click widens a column to the widest text seen; it never narrows.
void ListTitleClick(TColumnEh* Column)
{
    if (Column->Width() < Column->Tag())
        Column->SetWidth(Column->Tag());
}

TButton* NewListButton(QWidget* Parent, const char* Name, const QString& Caption, int Column)
{
    auto* Button = new TButton(Parent);
    Button->setObjectName(QString::fromLatin1(Name));
    Button->SetCaption(Caption);
    Button->setGeometry(120 + Column * 98, 6, 90, 26);
    return Button;
}

const QRect ListBounds(4, 38, 654, 436);

} // namespace

void TFormMain::BuildListPages()
{
    MReportADOQuery = new TADOQuery(this);
    MReportADOQuery->setObjectName(QStringLiteral("MReportADOQuery"));
    DataSource1 = new TDataSource(this);
    DataSource1->SetDataSet(MReportADOQuery);
    BReportADOQuery = new TADOQuery(this);
    BReportADOQuery->setObjectName(QStringLiteral("BReportADOQuery"));
    DataSource2 = new TDataSource(this);
    DataSource2->SetDataSet(BReportADOQuery);

    DBGridEh1 = NewListGrid(TabSheet4, "DBGridEh1", ListBounds, DataSource1,
                            {{"MoneyCreateTime", "创建时间", 70},
                             {"MoneySerial", "单据编号", 65},
                             {"AccountName", "帐户名称", 80},
                             {"MoneyUser", "客户名称", 100},
                             {"MoneyIn", "收入", 65},
                             {"MoneyOut", "支出", 65},
                             {"MoneySum", "合计", 65},
                             {"MoneyMan", "业务员", 50},
                             {"MoneyReason", "收支种类", 60},
                             {"MoneyType", "类别", 60},
                             {"MoneyToken", "凭证", 60},
                             {"MoneyRemark", "备注信息", 100}},
                            true, TListCells::Centred);
    DBGridEh2 = NewListGrid(TabSheet2, "DBGridEh2", ListBounds, DataSource2,
                            {{"BillCreateTime", "创建时间", 70},
                             {"BillSerial", "单据编号", 80},
                             {"BillKind", "单据类型", 80},
                             {"BillUser", "客户名称", 120},
                             {"BillSum", "单据金额", 70},
                             {"BillGet", "已收金额", 70},
                             {"BillOwe", "未收金额", 70},
                             {"BillMan", "业务员", 60},
                             {"BillReason", "业务种类", 70},
                             {"BillState", "业务进度", 70},
                             {"BillRemark", "备注信息", 120}},
                            true, TListCells::Centred);

    BillReportButton = NewListButton(TabSheet2, "BillReportButton", QStringLiteral("查找单据"), 0);
    BillPrintButton = NewListButton(TabSheet2, "BillPrintButton", QStringLiteral("打印报表"), 1);
    BillExcelButton = NewListButton(TabSheet2, "BillExcelButton", QStringLiteral("导出Excel"), 2);
    MoneyReportButton = NewListButton(TabSheet4, "MoneyReportButton", QStringLiteral("查找单据"), 0);
    MoneyPrintButton = NewListButton(TabSheet4, "MoneyPrintButton", QStringLiteral("打印报表"), 1);
    MoneyExcelButton = NewListButton(TabSheet4, "MoneyExcelButton", QStringLiteral("导出Excel"), 2);

    const struct
    {
        TfrDBDataSet*& DataSet;
        TfrReport*& Report;
        const char* DataSetName;
        const char* ReportName;
        TADOQuery* Query;
    } Reports[] = {{frDBDataSet2, frReport2, "frDBDataSet2", "frReport2", MReportADOQuery},
                   {frDBDataSet3, frReport3, "frDBDataSet3", "frReport3", BReportADOQuery}};
    for (const auto& R : Reports) {
        R.DataSet = new TfrDBDataSet(this);
        R.DataSet->setObjectName(QString::fromLatin1(R.DataSetName));
        R.DataSet->SetDataSet(R.Query);
        R.Report = new TfrReport(this);
        R.Report->SetName(QString::fromLatin1(R.ReportName));
        R.Report->SetDataset(R.DataSet);
        R.Report->SetInitialZoom(pzDefault);
        R.Report->SetPreviewButtons(pbZoom | pbPrint | pbFind | pbExit);
        R.Report->SetRebuildPrinter(false);
    }
}

void TFormMain::BindListHandlers()
{
    BillReportButton->OnClick = [this](QObject* Sender) { ActionBillReportExecute(Sender); };
    BillPrintButton->OnClick = [this](QObject* Sender) { ActionPrintBillReportExecute(Sender); };
    MoneyReportButton->OnClick = [this](QObject* Sender) { ActionMoneyReportExecute(Sender); };
    MoneyPrintButton->OnClick = [this](QObject* Sender) { ActionPrintMoneyReportExecute(Sender); };
    BillExcelButton->OnClick = [this](QObject* Sender) { ActionBExecelExecute(Sender); };
    MoneyExcelButton->OnClick = [this](QObject* Sender) { ActionMExcelExecute(Sender); };
    DBGridEh1->OnDblClick = [this](QObject* Sender) { DBGridEh1DblClick(Sender); };
    DBGridEh2->OnDblClick = [this](QObject* Sender) { DBGridEh2DblClick(Sender); };
    DBGridEh1->OnGetCellParams = [this](QObject*, TColumnEh* Column, TFont* AFont, TColor&, TGridDrawState) {
        DBGridEh1GetCellParams(Column, AFont);
    };
    DBGridEh2->OnGetCellParams = [this](QObject*, TColumnEh* Column, TFont* AFont, TColor&, TGridDrawState) {
        DBGridEh2GetCellParams(Column, AFont);
    };
    DBGridEh1->OnTitleClick = [this](TColumnEh* Column) { DBGridEh1TitleClick(Column); };
    DBGridEh2->OnTitleClick = [this](TColumnEh* Column) { DBGridEh2TitleClick(Column); };
}

// ---------------------------------------------------------------- list routines

void TFormMain::RunMoneyReport(const QString& BaseSQL)
{
    if (!BaseSQL.isEmpty())
        LastMoneyReportSQL = BaseSQL;
    const QString Sort = ComboBox9->currentText();
    const QString Order = Sort == QStringLiteral("按帐户排")   ? QStringLiteral(" Order By AccountName,MoneyCreateTime,MoneyIndex")
                          : Sort == QStringLiteral("按金额排") ? QStringLiteral(" Order By MoneySum Desc,MoneyCreateTime,MoneyIndex")
                                                              : QStringLiteral(" Order By MoneyCreateTime,MoneyIndex");
    if (LastMoneyReportSQL.isEmpty())
        return;
    // Row 1 is the reserved row that only dates the card pages; no list shows or sums it.
    OpenSQL(MReportADOQuery, LastMoneyReportSQL + MoneyFilter + QStringLiteral(" And (MoneyIndex <> 1)") + Order,
            QStringLiteral("数据库打开失败"));
    SetListFooters(DBGridEh1, MReportADOQuery, MoneyFooters);
}

void TFormMain::RunBillReport(const QString& BaseSQL)
{
    if (!BaseSQL.isEmpty())
        LastBillReportSQL = BaseSQL;
    const QString Sort = ComboBox2->currentText();
    const QString Order = Sort == QStringLiteral("按客户排")   ? QStringLiteral(" Order By BillUser,BillCreateTime,BillIndex")
                          : Sort == QStringLiteral("按金额排") ? QStringLiteral(" Order By BillSum Desc,BillCreateTime,BillIndex")
                                                              : QStringLiteral(" Order By BillCreateTime,BillIndex");
    if (LastBillReportSQL.isEmpty())
        return;
    OpenSQL(BReportADOQuery, BillListStatement(Order), QStringLiteral("数据库打开失败"));
    SetListFooters(DBGridEh2, BReportADOQuery, BillFooters);
}

QString TFormMain::BillListStatement(const QString& Order) const
{
    return LastBillReportSQL + BillFilter + QStringLiteral(" And (BillIndex <> 1)") + BillGroupBy + Order;
}

void TFormMain::ComboBox2Change(QObject*)
{
    RunBillReport(QString());
}

void TFormMain::ComboBox9Change(QObject*)
{
    RunMoneyReport(QString());
}

// ---------------------------------------------------------------- filter windows

void TFormMain::ActionBillReportExecute(QObject*)
{
    if (FormBillReport)
        FormBillReport->ShowModal();
}

void TFormMain::ActionMoneyReportExecute(QObject*)
{
    if (FormMoneyReport)
        FormMoneyReport->ShowModal();
}

// ---------------------------------------------------------------- grid events

void TFormMain::DBGridEh1GetCellParams(TColumnEh* Column, TFont* AFont)
{
    ListCellParams(DBGridEh1, Column, AFont, QStringLiteral("MoneySum"));
}

void TFormMain::DBGridEh2GetCellParams(TColumnEh* Column, TFont* AFont)
{
    ListCellParams(DBGridEh2, Column, AFont, QStringLiteral("BillSum"));
}

void TFormMain::DBGridEh1TitleClick(TColumnEh* Column)
{
    ListTitleClick(Column);
}

void TFormMain::DBGridEh2TitleClick(TColumnEh* Column)
{
    ListTitleClick(Column);
}

void TFormMain::DBGridEh1DblClick(QObject*)
{
    TADOQuery* Q = MReportADOQuery;
    if (!Q->Active() || Q->IsEmpty() || Q->FieldByName(QStringLiteral("MoneyIndex"))->IsNull()) {
        ShowMessage(QStringLiteral("请先选中需要查看的记录"));
        return;
    }
    if (!FormGetPay)
        return;
    FormGetPay->Mode = QStringLiteral("修改");
    FormGetPay->Kind = Q->FieldByName(QStringLiteral("MoneySum"))->AsFloat() >= 0 ? QStringLiteral("财务收入单")
                                                                                  : QStringLiteral("财务支出单");
    FormGetPay->MoneyIndex = Q->FieldByName(QStringLiteral("MoneyIndex"))->AsInteger();
    FormGetPay->CustomerFixed = false;
    if (FormGetPay->ShowModal() == mrOk)
        RefreshAll();
}

void TFormMain::DBGridEh2DblClick(QObject*)
{
    TADOQuery* Q = BReportADOQuery;
    if (!Q->Active() || Q->IsEmpty() || Q->FieldByName(QStringLiteral("BillIndex"))->IsNull()) {
        ShowMessage(QStringLiteral("请先选中需要查看的记录"));
        return;
    }
    if (!FormBuySell)
        return;
    FormBuySell->Mode = QStringLiteral("修改");
    FormBuySell->Kind = Q->FieldByName(QStringLiteral("BillKind"))->AsString() == QStringLiteral("销售开单")
                            ? QStringLiteral("销售开单")
                            : QStringLiteral("采购开单");
    FormBuySell->BillIndex = Q->FieldByName(QStringLiteral("BillIndex"))->AsInteger();
    FormBuySell->EditUnlocked = false;
    FormBuySell->CustomerFixed = false;
    FormBuySell->ShowModal();
    if (FormBuySell->EditUnlocked)
        RefreshAll();
}

// ---------------------------------------------------------------- print

void TFormMain::PrintList(TADOQuery* Query, TfrReport* Report, const QString& Name)
{
    if (!Query->Active())
        return;
    const bool Portrait = ReadIni(QStringLiteral("Tallybridge"), QStringLiteral("PrintType"), QStringLiteral("纵向打印"),
                                  IniFileName)
                          == QStringLiteral("纵向打印");
    if (!LoadReportTemplate(Report, AppPath + QStringLiteral("Frf/") + Name + (Portrait ? QString() : QStringLiteral("2"))
                                        + QStringLiteral(".frf")))
        return;
    if (Report->PrepareReport())
        Report->ShowReport();
}

void TFormMain::ActionPrintMoneyReportExecute(QObject*)
{
    PrintList(MReportADOQuery, frReport2, QStringLiteral("MoneyReport"));
}

void TFormMain::ActionPrintBillReportExecute(QObject*)
{
    PrintList(BReportADOQuery, frReport3, QStringLiteral("BillReport"));
}

// ---------------------------------------------------------------- export

void TFormMain::ActionBExecelExecute(QObject*)
{
    ShareDataModule->ExportGridToExcel(DBGridEh2);
}

void TFormMain::ActionMExcelExecute(QObject*)
{
    ShareDataModule->ExportGridToExcel(DBGridEh1);
}
