#include "tools/frf/Templates.h"

#include "platform/gui/Graphics.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"

#include <functional>
#include <vector>

namespace {

const QString CjkFont = QStringLiteral("WenQuanYi Micro Hei");
constexpr int PaperA4 = 9;
constexpr int PaperA5 = 11;
constexpr int Margin = 36;   // 10 mm in layout pixels

// Display formats of memo views: kind, style, decimals, separator.
constexpr uint32_t MoneyFormat = (1u << 24) | (1u << 16) | (2u << 8) | '.';
constexpr uint32_t DateFormat = (2u << 24) | (4u << 16);

enum TAlign { alLeft = frtaLeft | frtaMiddle, alCenter = frtaCenter | frtaMiddle, alRight = frtaRight | frtaMiddle };

class TLayout
{
public:
    TLayout(TfrReport& Report, int Paper, TPrinterOrientation Orientation) : FReport(Report)
    {
        Report.Clear();
        Report.Pages()->Add();
        FPage = Report.Pages()->Pages(0);
        const bool A5 = Paper == PaperA5;
        FPage->ChangePaper(Paper, A5 ? 1480 : 2100, A5 ? 2100 : 2970, -1, Orientation);
        FPage->LeftMargin = Margin;
        FPage->TopMargin = Margin;
        FPage->RightMargin = Margin;
        FPage->BottomMargin = Margin;
    }

    int Left() const { return Margin; }
    int Width() const { return FPage->PrnInfo.PaperWidthPx - 2 * Margin; }

    TfrBandView* Band(int Type, const QString& Name, int Top, int Height, const QString& Source = {},
                      uint16_t Flags = 0)
    {
        auto View = CreateViewByType(gtBand, {});
        auto* B = static_cast<TfrBandView*>(View.get());
        B->SetName(Name);
        B->SetBandType(Type);
        B->SetBounds(0, Top, FPage->PrnInfo.PaperWidthPx, Height);
        B->SetFormatStr(Source);
        B->SetFlags(Flags);
        FPage->Add(std::move(View));
        return B;
    }

    TfrMemoView* Text(int Left, int Top, int Width, int Height, const QString& Text, int Align = alLeft,
                      int Size = 10, bool Bold = false, uint16_t Frame = 0)
    {
        auto View = CreateViewByType(gtMemo, {});
        auto* M = static_cast<TfrMemoView*>(View.get());
        M->SetName(QStringLiteral("Memo%1").arg(++FCount));
        M->SetBounds(Left, Top, Width, Height);
        M->Memo()->SetText(Text);
        M->SetAlignment(Align);
        M->SetFlags(0);
        M->SetFrameTyp(Frame);
        M->Font()->SetName(CjkFont);
        M->Font()->SetSize(Size);
        M->Font()->SetCharset(GB2312_CHARSET);
        if (Bold)
            M->Font()->SetStyle(TFontStyles{fsBold});
        FPage->Add(std::move(View));
        return M;
    }

    // A row of framed cells across the usable width, one per column.
    struct TColumn
    {
        QString Title;
        QString Field;     // empty: no cell in data rows
        int Width;
        uint32_t Format = 0;
        int Align = alCenter;
    };
    void TitleRow(const std::vector<TColumn>& Columns, int Top, int Height)
    {
        int X = Left();
        for (const TColumn& C : Columns) {
            Text(X, Top, C.Width, Height, C.Title, alCenter, 9, true, 15)->SetFillColor(0xEEEEEE);
            X += C.Width;
        }
    }
    void DataRow(const std::vector<TColumn>& Columns, const QString& DataSet, int Top, int Height)
    {
        int X = Left();
        for (const TColumn& C : Columns) {
            const QString Field = C.Field.isEmpty() ? QString() : u'[' + DataSet + u'.' + C.Field + u']';
            Text(X, Top, C.Width, Height, Field, C.Align, 9, false, 15)->SetFormat(C.Format);
            X += C.Width;
        }
    }

    TfrPage* Page() const { return FPage; }

private:
    TfrReport& FReport;
    TfrPage* FPage;
    int FCount = 0;
};

using TColumn = TLayout::TColumn;

// ---------------------------------------------------------------- receipt and document

void Money(TfrReport& Report)
{
    TLayout L(Report, PaperA5, poLandscape);
    const QString Q = QStringLiteral("ShareDataModule.ADOQueryTemp.");
    auto F = [&](const char* Field) { return u'[' + Q + QString::fromLatin1(Field) + u']'; };
    const int W = L.Width(), X = L.Left();
    L.Band(btMasterData, QStringLiteral("MasterData1"), 40, 400, QStringLiteral("frDBDataSet1"));
    L.Text(X, 50, W, 40, QStringLiteral("[IF([") + Q + QStringLiteral("MoneySum] >= 0, '收款收据', '付款凭证')]"),
           alCenter, 20, true);
    L.Text(X, 100, W / 2, 22, QStringLiteral("单据编号：") + F("MoneySerial"));
    L.Text(X + W / 2, 100, W / 2, 22, QStringLiteral("日期：[") + Q + QStringLiteral("MoneyCreateTime #Dyyyy年m月d日]"),
           alRight);
    const int Label = 110, Row = 34;
    const struct { const char* Title; QString Value; } Rows[] = {
        {"客户名称", F("MoneyUser")},
        {"业务种类", F("MoneyReason")},
        {"款项类别", F("MoneyType") + QStringLiteral("　　凭证：") + F("MoneyToken")},
        {"金额（大写）", QStringLiteral("[MoneyCN]")},
        {"金额（小写）", QStringLiteral("￥[") + Q + QStringLiteral("MSum #N0.00]")},
        {"备注", F("MoneyRemark")},
    };
    int Y = 130;
    for (const auto& R : Rows) {
        L.Text(X, Y, Label, Row, QString::fromUtf8(R.Title), alCenter, 10, true, 15);
        L.Text(X + Label, Y, W - Label, Row, R.Value, alLeft, 11, false, 15);
        Y += Row;
    }
    L.Text(X, Y + 14, W / 2, 22, QStringLiteral("业务员：") + F("MoneyMan"));
    L.Text(X + W / 2, Y + 14, W / 2, 22, QStringLiteral("收款人签字："), alRight);
}

void Bill(TfrReport& Report)
{
    TLayout L(Report, PaperA4, poPortrait);
    const QString D = QStringLiteral("ADOQuery1.");
    auto F = [&](const char* Field) { return u'[' + D + QString::fromLatin1(Field) + u']'; };
    const int W = L.Width(), X = L.Left(), Half = W / 2, Label = 90, Row = 28;
    L.Band(btReportTitle, QStringLiteral("ReportTitle1"), 40, 290);
    L.Text(X, 44, W, 40, F("BillKind") + QStringLiteral("单"), alCenter, 20, true);
    const struct { const char* Title; QString Value; uint32_t Format; } Cells[] = {
        {"单据编号", F("BillSerial"), 0},
        {"开单日期", u'[' + D + QStringLiteral("BillCreateTime #Dyyyy-mm-dd]"), 0},
        {"客户名称", F("BillUser"), 0},
        {"业务员", F("BillMan"), 0},
        {"单据金额", u'[' + D + QStringLiteral("BillSum]"), MoneyFormat},
        {"业务种类", F("BillReason"), 0},
        {"已收金额", u'[' + D + QStringLiteral("BillGet]"), MoneyFormat},
        {"业务进度", F("BillState"), 0},
        {"未收金额", u'[' + D + QStringLiteral("BillOwe]"), MoneyFormat},
        {"备注", F("BillRemark"), 0},
    };
    int Y = 96;
    for (size_t i = 0; i < std::size(Cells); ++i) {
        const int CX = X + (i % 2) * Half;
        L.Text(CX, Y, Label, Row, QString::fromUtf8(Cells[i].Title), alCenter, 10, true, 15);
        L.Text(CX + Label, Y, Half - Label, Row, Cells[i].Value, alLeft, 10, false, 15)->SetFormat(Cells[i].Format);
        if (i % 2)
            Y += Row;
    }
    L.Text(X, Y, Label, Row + 8, QStringLiteral("金额大写"), alCenter, 10, true, 15);
    L.Text(X + Label, Y, W - Label, Row + 8, QStringLiteral("[ShareDataModule.ADOQueryTemp.BigFontValue]"),
           alLeft, 13, true, 15);
    L.Text(X, Y + Row + 18, W, 22, QStringLiteral("结算记录"), alLeft, 11, true);

    const std::vector<TColumn> Columns = {
        {QStringLiteral("开单时间"), QStringLiteral("MoneyCreateTime #Dyyyy-mm-dd"), 105},
        {QStringLiteral("单据编号"), QStringLiteral("MoneySerial"), 110},
        {QStringLiteral("帐户名称"), QStringLiteral("AccountName"), W - 105 - 110 - 3 * 95},
        {QStringLiteral("收入"), QStringLiteral("MoneyIn"), 95, MoneyFormat, alRight},
        {QStringLiteral("支出"), QStringLiteral("MoneyOut"), 95, MoneyFormat, alRight},
        {QStringLiteral("合计"), QStringLiteral("MoneySum"), 95, MoneyFormat, alRight},
    };
    L.Band(btMasterHeader, QStringLiteral("MasterHeader1"), 350, 24);
    L.TitleRow(Columns, 350, 24);
    L.Band(btMasterData, QStringLiteral("MasterData1"), 390, 22, QStringLiteral("frDBDataSet1"));
    L.DataRow(Columns, QStringLiteral("ADOQuery2"), 390, 22);
    L.Band(btMasterFooter, QStringLiteral("MasterFooter1"), 430, 24);
    const int Sums = X + 105 + 110 + Columns[2].Width;
    L.Text(X, 430, Sums - X, 24, QStringLiteral("共[COUNT(MasterData1)]条"), alCenter, 9, true, 15);
    const char* Fields[] = {"MoneyIn", "MoneyOut", "MoneySum"};
    for (int i = 0; i < 3; ++i)
        L.Text(Sums + i * 95, 430, 95, 24, QStringLiteral("[SUM([ADOQuery2.%1])]").arg(QLatin1String(Fields[i])),
               alRight, 9, true, 15)
            ->SetFormat(MoneyFormat);
}

// ---------------------------------------------------------------- query lists

void List(TfrReport& Report, TPrinterOrientation Orientation, const QString& Title, const QString& Source,
          const QString& DataSet, const std::vector<TColumn>& Columns, int SumFrom)
{
    TLayout L(Report, PaperA4, Orientation);
    Report.SetDoublePass(true);
    const int W = L.Width(), X = L.Left();
    L.Band(btReportTitle, QStringLiteral("ReportTitle1"), 40, 60);
    L.Text(X, 44, W, 34, Title, alCenter, 18, true);
    L.Text(X, 78, W, 20, QStringLiteral("打印日期：[DATE #Dyyyy-mm-dd]"), alRight, 9);
    L.Band(btPageHeader, QStringLiteral("PageHeader1"), 110, 26, {}, flBandOnFirstPage);
    L.TitleRow(Columns, 110, 26);
    L.Band(btMasterData, QStringLiteral("MasterData1"), 150, 22, Source);
    L.DataRow(Columns, DataSet, 150, 22);
    L.Band(btReportSummary, QStringLiteral("ReportSummary1"), 190, 24);
    int SumX = X;
    for (int i = 0; i < SumFrom; ++i)
        SumX += Columns[i].Width;
    L.Text(X, 190, SumX - X, 24, QStringLiteral("共[COUNT(MasterData1)]条"), alCenter, 9, true, 15);
    for (size_t i = SumFrom; i < Columns.size() && i < size_t(SumFrom) + 3; ++i) {
        L.Text(SumX, 190, Columns[i].Width, 24,
               QStringLiteral("[SUM([") + DataSet + u'.' + Columns[i].Field + QStringLiteral("])]"), alRight, 9,
               true, 15)
            ->SetFormat(MoneyFormat);
        SumX += Columns[i].Width;
    }
    L.Band(btPageFooter, QStringLiteral("PageFooter1"), 230, 24, {}, flBandOnFirstPage | flBandOnLastPage);
    L.Text(X, 234, W, 20, QStringLiteral("第[PAGE#]页 共[TOTALPAGES]页"), alCenter, 9);
}

TColumn Col(const char* Title, const char* Field, int Width, bool Money = false)
{
    return {QString::fromUtf8(Title), QString::fromLatin1(Field), Width, Money ? MoneyFormat : 0,
            Money ? int(alRight) : int(alCenter)};
}

void MoneyReport(TfrReport& Report, bool Wide)
{
    std::vector<TColumn> Columns;
    if (!Wide) {
        Columns = {Col("创建时间", "MoneyCreateTime #Dyyyy-mm-dd", 80), Col("单据编号", "MoneySerial", 95),
                   Col("帐户名称", "AccountName", 100), Col("客户名称", "MoneyUser", 170),
                   Col("收入", "MoneyIn", 80, true), Col("支出", "MoneyOut", 80, true), Col("合计", "MoneySum", 80, true)};
    } else {
        Columns = {Col("创建时间", "MoneyCreateTime #Dyyyy-mm-dd", 75), Col("单据编号", "MoneySerial", 80),
                   Col("帐户名称", "AccountName", 85), Col("客户名称", "MoneyUser", 130),
                   Col("收入", "MoneyIn", 70, true), Col("支出", "MoneyOut", 70, true), Col("合计", "MoneySum", 70, true),
                   Col("业务员", "MoneyMan", 60), Col("收支种类", "MoneyReason", 70), Col("类别", "MoneyType", 70),
                   Col("凭证", "MoneyToken", 70), Col("备注信息", "MoneyRemark", 149)};
    }
    List(Report, Wide ? poLandscape : poPortrait, QStringLiteral("财务报表"), QStringLiteral("frDBDataSet2"),
         QStringLiteral("MReportADOQuery"), Columns, 4);
}

void BillReport(TfrReport& Report, bool Wide)
{
    std::vector<TColumn> Columns;
    if (!Wide) {
        Columns = {Col("创建时间", "BillCreateTime #Dyyyy-mm-dd", 80), Col("单据编号", "BillSerial", 95),
                   Col("单据类型", "BillKind", 80), Col("客户名称", "BillUser", 190),
                   Col("单据金额", "BillSum", 80, true), Col("已收金额", "BillGet", 80, true),
                   Col("未收金额", "BillOwe", 80, true)};
    } else {
        Columns = {Col("创建时间", "BillCreateTime #Dyyyy-mm-dd", 75), Col("单据编号", "BillSerial", 85),
                   Col("单据类型", "BillKind", 75), Col("客户名称", "BillUser", 150),
                   Col("单据金额", "BillSum", 80, true), Col("已收金额", "BillGet", 80, true),
                   Col("未收金额", "BillOwe", 80, true), Col("业务员", "BillMan", 65),
                   Col("业务种类", "BillReason", 80), Col("业务进度", "BillState", 80),
                   Col("备注信息", "BillRemark", 149)};
    }
    List(Report, Wide ? poLandscape : poPortrait, QStringLiteral("业务报表"), QStringLiteral("frDBDataSet3"),
         QStringLiteral("BReportADOQuery"), Columns, 4);
}

// ---------------------------------------------------------------- monthly reports

void Month(TfrReport& Report, const QStringList& Titles, const QString& Heading)
{
    TLayout L(Report, PaperA4, poPortrait);
    const int W = L.Width(), X = L.Left();
    L.Band(btReportTitle, QStringLiteral("ReportTitle1"), 40, 70);
    L.Text(X, 44, W, 34, Heading, alCenter, 18, true);
    L.Text(X, 82, W, 22, QStringLiteral("统计期间：[ShareDataModule.ADOQueryTemp.ListValue]"), alCenter, 10);
    std::vector<TColumn> Columns;
    const int First = W - 5 * 100;
    for (int i = 0; i < 6; ++i)
        Columns.push_back({Titles[i], QStringLiteral("ReportGrid%1").arg(i + 1), i == 0 ? First : 100, 0,
                           i == 0 ? int(alCenter) : int(alRight)});
    L.Band(btPageHeader, QStringLiteral("PageHeader1"), 120, 26, {}, flBandOnFirstPage);
    L.TitleRow(Columns, 120, 26);
    L.Band(btMasterData, QStringLiteral("MasterData1"), 160, 22, QStringLiteral("frDBDataSet1"));
    L.DataRow(Columns, QStringLiteral("ADOQueryBig"), 160, 22);
    L.Band(btPageFooter, QStringLiteral("PageFooter1"), 200, 24, {}, flBandOnFirstPage | flBandOnLastPage);
    L.Text(X, 204, W, 20, QStringLiteral("第[PAGE#]页"), alCenter, 9);
}

void CustomerMonth(TfrReport& Report)
{
    Month(Report, {QStringLiteral("客户名称"), QStringLiteral("本月采购"), QStringLiteral("本月销售"),
                   QStringLiteral("本月收款"), QStringLiteral("月初应收"), QStringLiteral("月末应收")},
          QStringLiteral("[ShareDataModule.ADOQueryTemp2.ListValue]"));
}

void MoneyMonth(TfrReport& Report)
{
    // The title row of PrintList belongs to the customer report, which the
    // account report leaves as it was: this one has its own heading.
    Month(Report, {QStringLiteral("帐户名称"), QStringLiteral("月初余额"), QStringLiteral("本月收入"),
                   QStringLiteral("本月支出"), QStringLiteral("本月净额"), QStringLiteral("月末余额")},
          QStringLiteral("各帐户收支"));
}

} // namespace

QStringList TemplateNames()
{
    return {QStringLiteral("Money"),        QStringLiteral("Bill"),        QStringLiteral("MoneyReport"),
            QStringLiteral("MoneyReport2"), QStringLiteral("BillReport"),  QStringLiteral("BillReport2"),
            QStringLiteral("CustomerMonth"), QStringLiteral("MoneyMonth")};
}

void LayOutTemplate(const QString& Name, TfrReport& Report)
{
    if (Name == u"Money")
        Money(Report);
    else if (Name == u"Bill")
        Bill(Report);
    else if (Name == u"MoneyReport" || Name == u"MoneyReport2")
        MoneyReport(Report, Name.endsWith(u'2'));
    else if (Name == u"BillReport" || Name == u"BillReport2")
        BillReport(Report, Name.endsWith(u'2'));
    else if (Name == u"CustomerMonth")
        CustomerMonth(Report);
    else if (Name == u"MoneyMonth")
        MoneyMonth(Report);
    Report.ReportName = Name;
}
