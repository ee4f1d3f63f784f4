#include "app/AnalysisForm.h"

#include "app/MainForm.h"
#include "app/PublicFunction.h"
#include "app/ShareDM.h"
#include "platform/db/ADOQuery.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/rtl/SysUtils.h"

#include <QAction>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QPieSeries>
#include <QPieSlice>
#include <QTabWidget>

TFormAnalysis* FormAnalysis = nullptr;

namespace {

const QStringList ValueItems = {QStringLiteral("应收款"), QStringLiteral("实收款"), QStringLiteral("未收款"),
                                QStringLiteral("客户数目"), QStringLiteral("订单数目")};
const char* const Explanations[] = {
    "应收款：业务的应收金额总和", "实收款：业务的实收金额总和", "未收款：应收款 － 实收款",
    "应付款：业务的应付金额总和", "实付款：业务的实付金额总和", "未付款：应付款 － 实付款",
    "现有毛利：实收款 － 应付款", "预算毛利：应收款 － 应付款", "资金增益：实收款 － 实付款",
};
// The tiles of the diagram picture, column by column, that the labels sit on.
constexpr int TileWidth = 176;
QPoint TileAt(int Index)
{
    return QPoint(8 + 12 + (Index / 3) * 200, 8 + 52 + (Index % 3) * 124);
}

QComboBox* NewCombo(QWidget* Parent, const char* Name, const QStringList& Items, const QRect& Bounds)
{
    auto* Combo = new QComboBox(Parent);
    Combo->setObjectName(QString::fromLatin1(Name));
    Combo->addItems(Items);
    Combo->setGeometry(Bounds);
    return Combo;
}

QLabel* NewLabel(QWidget* Parent, const QString& Text, const QRect& Bounds)
{
    auto* Label = new QLabel(Text, Parent);
    Label->setGeometry(Bounds);
    return Label;
}

} // namespace

TFormAnalysis::TFormAnalysis(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("FormAnalysis"));
    SetCaption(QStringLiteral("企业经营分析"));
    SetBorderStyle(bsSingle);
    SetPosition(poScreenCenter);
    Font()->SetName(QStringLiteral("宋体"));
    Font()->SetHeight(-12);
    SetClientSize(743, 479);
    ADOQueryReport = new TADOQuery(this);
    ADOQueryReport->setObjectName(QStringLiteral("ADOQueryReport"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 0, 625, 479);
    const std::pair<QWidget* TFormAnalysis::*, const char*> Sheets[] = {
        {&TFormAnalysis::TabSheet1, "企业经营数据"}, {&TFormAnalysis::TabSheet2, "员工业绩分析"},
        {&TFormAnalysis::TabSheet3, "业务数据分析"}, {&TFormAnalysis::TabSheet4, "客户销售分析"},
        {&TFormAnalysis::TabSheet5, "公司业绩分析"}};
    int Number = 1;
    for (const auto& [Member, Caption] : Sheets) {
        auto* Sheet = new QWidget(PageControl1);
        Sheet->setObjectName(QStringLiteral("TabSheet%1").arg(Number++));
        PageControl1->addTab(Sheet, QString::fromUtf8(Caption));
        this->*Member = Sheet;
    }
    BuildSummaryTab();
    Chart1 = BuildChartTab(TabSheet2, "Chart1", ComboBox2, "ComboBox2");
    Chart2 = BuildChartTab(TabSheet3, "Chart2", ComboBox3, "ComboBox3");
    NewLabel(TabSheet3, QStringLiteral("分析对象："), QRect(210, 11, 64, 16));
    ComboBox4 = NewCombo(TabSheet3, "ComboBox4", {QStringLiteral("业务种类"), QStringLiteral("业务进度")},
                         QRect(274, 8, 110, 22));
    Chart3 = BuildChartTab(TabSheet4, "Chart3", ComboBox5, "ComboBox5");
    Chart4 = BuildChartTab(TabSheet5, "Chart4", ComboBox6, "ComboBox6");
    ComboBox7 = NewCombo(TabSheet5, "ComboBox7",
                         {QStringLiteral("日统计"), QStringLiteral("月统计"), QStringLiteral("年统计")},
                         QRect(210, 8, 80, 22));
    ComboBox7->setCurrentIndex(1);
    DateTimePicker1 = new QDateEdit(TabSheet5);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setGeometry(300, 8, 110, 22);
    DateTimePicker1->setCalendarPopup(true);
    NewLabel(TabSheet5, QStringLiteral("至"), QRect(416, 11, 16, 16));
    DateTimePicker2 = new QDateEdit(TabSheet5);
    DateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
    DateTimePicker2->setGeometry(436, 8, 110, 22);
    DateTimePicker2->setCalendarPopup(true);
    BuildSideBar();
    BindEvents();
    OnShow = [this](QObject* Sender) { FormShow(Sender); };
}

void TFormAnalysis::BuildSummaryTab()
{
    Image1 = new TImage(TabSheet1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(8, 8, 600, 420);
    QLabel** Values[] = {&Label11, &Label12, &Label13, &Label14, &Label15, &Label16, &Label17, &Label18, &Label19};
    for (int I = 0; I < 9; ++I) {
        const QPoint Tile = TileAt(I);
        QLabel* Value = NewLabel(TabSheet1, QStringLiteral("0"), QRect(Tile + QPoint(22, 12), QSize(TileWidth - 32, 30)));
        Value->setObjectName(QStringLiteral("Label%1").arg(11 + I));
        QFont Large = Value->font();
        Large.setPixelSize(20);
        Large.setBold(true);
        Value->setFont(Large);
        Value->setStyleSheet(QStringLiteral("color: #0000FF"));
        *Values[I] = Value;
        QLabel* Note = NewLabel(TabSheet1, QString::fromUtf8(Explanations[I]),
                                QRect(Tile + QPoint(22, 48), QSize(TileWidth - 32, 44)));
        Note->setObjectName(QStringLiteral("Label%1").arg(21 + I));
        Note->setWordWrap(true);
    }
}

QChartView* TFormAnalysis::BuildChartTab(QWidget* Sheet, const char* Name, QComboBox*& Values, const char* ValuesName)
{
    NewLabel(Sheet, QStringLiteral("分析内容："), QRect(8, 11, 64, 16));
    Values = NewCombo(Sheet, ValuesName, ValueItems, QRect(72, 8, 110, 22));
    auto* View = new QChartView(Sheet);
    View->setObjectName(QString::fromLatin1(Name));
    View->setGeometry(4, 36, 613, 410);
    View->setFrameShape(QFrame::NoFrame);
    View->setRenderHint(QPainter::Antialiasing);
    View->chart()->setBackgroundVisible(false);
    View->chart()->setPlotAreaBackgroundVisible(false);
    View->chart()->legend()->setAlignment(Qt::AlignRight);
    return View;
}

void TFormAnalysis::BuildSideBar()
{
    auto* Shape = new QGroupBox(QStringLiteral("图形形状设置"), this);
    Shape->setGeometry(631, 24, 106, 70);
    ComboBox1 = NewCombo(Shape, "ComboBox1", {QStringLiteral("条形图显示"), QStringLiteral("饼形图显示")},
                         QRect(8, 28, 90, 22));
    ActionCancel = new QAction(QStringLiteral("退出"), this);
    ActionCancel->setObjectName(QStringLiteral("ActionCancel"));
    SpeedButton2 = new TSpeedButton(this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->SetCaption(ActionCancel->text());
    SpeedButton2->setGeometry(641, 420, 86, 30);
    SpeedButton2->OnClick = [this](QObject*) { ActionCancel->trigger(); };
    QObject::connect(ActionCancel, &QAction::triggered, this, [this] { ActionCancelExecute(ActionCancel); });
}

void TFormAnalysis::BindEvents()
{
    const std::pair<QComboBox*, std::vector<int>> Combos[] = {
        {ComboBox1, {0, 1, 2, 3}}, {ComboBox2, {0}}, {ComboBox3, {1}}, {ComboBox4, {1}},
        {ComboBox5, {2}}, {ComboBox6, {3}}, {ComboBox7, {3}}};
    for (const auto& [Combo, Charts] : Combos) {
        const std::vector<int> Redraw = Charts;
        QObject::connect(Combo, &QComboBox::currentIndexChanged, this, [this, Redraw] {
            for (int Chart : Redraw)
                RefreshChart(Chart);
        });
    }
    for (QDateEdit* Picker : {DateTimePicker1, DateTimePicker2})
        QObject::connect(Picker, &QDateEdit::dateChanged, this, [this] { RefreshChart(3); });
}

std::vector<QLabel*> TFormAnalysis::SummaryLabels() const
{
    return {Label11, Label12, Label13, Label14, Label15, Label16, Label17, Label18, Label19};
}

bool TFormAnalysis::ListOpen() const
{
    // The list's query, not its remembered statement: a search whose statement
    // failed leaves a statement but no list to analyse.
    return FormMain && FormMain->BReportADOQuery->Active();
}

// ---------------------------------------------------------------- showing

void TFormAnalysis::FormShow(QObject*)
{
    try {
        Image1->Picture()->LoadFromFile(AppPath + QStringLiteral("Res/Analysis.bmp"));
    } catch (const Exception&) {
        // Without the picture the figures still show on the plain tab.
    }
    FRows.clear();
    const TDateTime Day = FormMain ? FormMain->WorkingDay() : Date();
    int Year, Month, D;
    DecodeDate(Day, Year, Month, D);
    const TDateTime First = EncodeDate(Year, Month, 1);
    {
        const QSignalBlocker Block1(DateTimePicker1), Block2(DateTimePicker2);
        DateTimePicker1->setDate(DateTimeToQDate(First));
        DateTimePicker2->setDate(DateTimeToQDate(IncMonth(First, 1) - 1));
    }
    if (!ListOpen()) {
        ShowMessage(QStringLiteral("请先生成数据报表，再进行图形分析"));
        SetModalResult(mrCancel);
        return;
    }
    ADOQueryReport->SetConnection(ShareDataModule->ADOConnection1);
    const QString SQL = FormMain->BillListStatement(QStringLiteral(" Order By BillUser,BillCreateTime,BillIndex"));
    if (OpenSQL(ADOQueryReport, SQL, QStringLiteral("数据库打开失败")))
        FRows = ReadAnalysisRows(ADOQueryReport);
    ShowSummary();
}

void TFormAnalysis::ShowSummary()
{
    // No rows sum to 0, as the list's footers show; the figures of an earlier
    // list must not stand beside an empty one.
    const std::vector<double> Values = AnalysisLabelValues(SumAnalysisRows(FRows));
    const std::vector<QLabel*> Labels = SummaryLabels();
    for (size_t I = 0; I < Labels.size(); ++I)
        Labels[I]->setText(RoundStr(Values[I]));
    for (int Chart = 0; Chart < 4; ++Chart)
        RefreshChart(Chart);
}

void TFormAnalysis::RefreshChart(int Index)
{
    if (!ListOpen())
        return;
    const bool Bars = ComboBox1->currentText() == QStringLiteral("条形图显示");
    switch (Index) {
    case 0:
        FillChart(Chart1, ComboBox2->currentText(), Bars, QStringLiteral("BillMan"));
        break;
    case 1:
        FillChart(Chart2, ComboBox3->currentText(), Bars,
                  ComboBox4->currentText() == QStringLiteral("业务种类") ? QStringLiteral("BillReason")
                                                                        : QStringLiteral("BillState"));
        break;
    case 2:
        FillChart(Chart3, ComboBox5->currentText(), Bars, QStringLiteral("BillUser"));
        break;
    default:
        FillChart(Chart4, ComboBox6->currentText(), Bars, ComboBox7->currentText());
        break;
    }
}

// ---------------------------------------------------------------- drawing

void TFormAnalysis::FillChart(QChartView* Chart, const QString& ValueName, bool Bars, const QString& Key)
{
    TChartGrouping Grouping;
    Grouping.Key = Key;
    Grouping.ValueName = ValueName;
    Grouping.Start = QDateToDateTime(DateTimePicker1->date());
    Grouping.End = QDateToDateTime(DateTimePicker2->date());
    const std::vector<TChartPoint> Points = GroupChartPoints(FRows, Grouping);

    QChart* C = Chart->chart();
    C->removeAllSeries();
    const QString Titles[] = {QStringLiteral("员工业绩分析"), QStringLiteral("业务数据分析"),
                              QStringLiteral("客户销售分析"), QStringLiteral("公司业绩分析")};
    const int Number = Chart->objectName().right(1).toInt();
    C->setTitle(Titles[qBound(1, Number, 4) - 1]);
    double Total = 0;
    for (const TChartPoint& P : Points)
        Total += double(P.Value);
    // The legend shows values; the staff chart shows each one's share.
    auto LegendText = [&](const TChartPoint& P) {
        if (Chart == Chart1 && Total != 0)
            return P.Label + u' ' + QString::number(100.0 * double(P.Value) / Total, 'f', 1) + u'%';
        return P.Label + u' ' + QString::number(P.Value);
    };
    QStringList Legend;
    if (Bars) {
        auto* Series = new QBarSeries();
        for (const TChartPoint& P : Points) {
            auto* Set = new QBarSet(P.Label);
            *Set << double(P.Value);
            Series->append(Set);
            Legend << LegendText(P);
        }
        Series->setLabelsVisible(true);
        Series->setLabelsFormat(QStringLiteral("@value"));
        C->addSeries(Series);
    } else {
        auto* Series = new QPieSeries();
        for (const TChartPoint& P : Points) {
            QPieSlice* Slice = Series->append(P.Label + u' ' + QString::number(P.Value), double(P.Value));
            Slice->setLabelVisible(true);
            Legend << LegendText(P);
        }
        Series->setPieSize(0.6);
        C->addSeries(Series);
    }
    const QList<QLegendMarker*> Markers = C->legend()->markers();
    for (int I = 0; I < Markers.size() && I < Legend.size(); ++I)
        Markers[I]->setLabel(Legend[I]);
    C->legend()->setAlignment(Qt::AlignRight);
    C->legend()->setVisible(true);
}

void TFormAnalysis::ActionCancelExecute(QObject*)
{
    SetModalResult(mrCancel);
}
