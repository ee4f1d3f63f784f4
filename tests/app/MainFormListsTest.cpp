// The query lists of the main window and their filter windows: the texts each
// source runs, the three orders, footers, the reserved row, colours, widths,
// opening a row, print, and the conditions the filter windows build.
#include "PrintTestUtil.h"
#include "ProgramFixture.h"

#include "app/BillReportForm.h"
#include "app/BuySellForm.h"
#include "app/GetPayForm.h"
#include "app/MoneyReportForm.h"
#include "grid/DBGridEh.h"
#include "platform/gui/Shell.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TestRender.h"
#include "platform/rtl/PinyinOrder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTabWidget>
#include <QXmlStreamReader>
#include <map>

namespace {

const QString MoneyBase = QStringLiteral(
    "Select MoneyIndex,MoneyCreateTime,MoneySerial,AccountName,MoneyUser,MoneyIn,MoneyOut,MoneySum,MoneyMan,"
    "MoneyReason,MoneyType,MoneyToken,MoneyRemark From Account,MoneyTable Where (AccountIndex = MoneyAccount)");
const QString BillBase = QStringLiteral(
    "Select BillIndex,BillCreateTime,BillSerial,BillKind,BillUser,BillSum,IIF(Round(Sum(MoneySum),2) Is Null,0,"
    "Round(Sum(MoneySum),2)) As BillGet,BillSum-IIF(Round(Sum(MoneySum),2) Is Null,0,Round(Sum(MoneySum),2)) As "
    "BillOwe,BillMan,BillReason,BillState,BillRemark From (Bill Left Join MoneyTable On Bill.BillIndex = "
    "MoneyTable.MoneyBill) Where (BillIndex > 1)");

// "serial amount" of every row, then the footers of columns 0, 4, 5, 6.
QString ListText(TDBGridEh* Grid, const char* Serial, const char* Amount)
{
    QStringList Rows;
    TDataSet* D = Grid->DataSource()->DataSet();
    if (D->Active())
        for (D->First(); !D->Eof(); D->Next())
            Rows << D->FieldByName(QString::fromLatin1(Serial))->AsString() + u' '
                        + D->FieldByName(QString::fromLatin1(Amount))->AsString();
    QStringList Footers;
    for (int C : {0, 4, 5, 6})
        Footers << Grid->GetFooterValueText(0, Grid->Columns(C));
    return Rows.join(u',') + u'|' + Footers.join(u',');
}

} // namespace

class MainFormLists : public TProgramFixture
{
protected:
    void SetUp() override
    {
        TProgramFixture::SetUp();
        Application()->CreateForm(FormMoneyReport);
        Application()->CreateForm(FormBillReport);
        Exec(QStringLiteral("Insert Into Account (AccountIndex, AccountName, AccountMan) Values "
                            "(2, '现金', '财务主管'), (3, '银行', '财务主管')"));
        // The reserved rows carry a date, an account and an amount: no list may show or sum them.
        Exec(QStringLiteral("Update Bill Set BillCreateTime = '2024-03-14', BillSum = 999, BillKind = '销售开单' "
                            "Where BillIndex = 1"));
        Exec(QStringLiteral("Update MoneyTable Set MoneyCreateTime = '2024-03-14', MoneyAccount = 2, MoneyIn = 999, "
                            "MoneySum = 999 Where MoneyIndex = 1"));
        Exec(QStringLiteral(
            "Insert Into Bill (BillSerial, BillKind, BillUser, BillSum, BillCreateTime, BillMan, BillRemark) Values "
            "('S1', '销售开单', '乙', 100, '2024-03-15', '张三', 'O''Neil'), "
            "('P1', '采购开单', '甲', -50, '2024-03-14', '李四', ''), "
            "('S2', '销售开单', '丁', 30, '2024-03-16', '张三', '')"));
        Exec(QStringLiteral(
            "Insert Into MoneyTable (MoneySerial, MoneyAccount, MoneyBill, MoneyUser, MoneyIn, MoneyOut, MoneySum, "
            "MoneyCreateTime, MoneyMan) Values ('SK1', 2, 2, '乙', 30, 0, 30, '2024-03-15', '张三'), "
            "('FK1', 3, 3, '甲', 0, 20, -20, '2024-03-12', '李四'), "
            "('SK2', 3, 0, '丁', 0.4, 0, 0.4, '2024-03-13', '张三')"));
        TModalHandlers Handlers(User({Press(FormLogin->SpeedButton4)}), nullptr);
        FormMain->Show();
        ASSERT_FALSE(Application()->Terminated());
        FormMain->SetWorkingDay(EncodeDate(2024, 3, 20));
    }

    void TearDown() override
    {
        FormMoneyReport = nullptr;
        FormBillReport = nullptr;
        TProgramFixture::TearDown();
    }

    QString Money() { return ListText(FormMain->DBGridEh1, "MoneySerial", "MoneySum"); }
    QString Bills() { return ListText(FormMain->DBGridEh2, "BillSerial", "BillOwe"); }
};

TEST_F(MainFormLists, TextsAndOrders)
{
    struct TCase
    {
        const char* Name;
        bool IsMoney;
        QString Text;
        const char* Filter;
        std::array<const char*, 3> ByOrder; // 按时间排, 按帐户/客户排, 按金额排
    };
    const TCase Cases[] = {
        {"MoneyAll", true, MoneyBase, "",
         {"FK1 -20,SK2 0.4,SK1 30|共3条,30.4,20,10.4", "SK1 30,FK1 -20,SK2 0.4|共3条,30.4,20,10.4",
          "SK1 30,SK2 0.4,FK1 -20|共3条,30.4,20,10.4"}},
        {"MoneyOfAnAccount", true, MoneyBase + QStringLiteral(" And (AccountName = '银行')"), "",
         {"FK1 -20,SK2 0.4|共2条,0.4,20,-19.6", "FK1 -20,SK2 0.4|共2条,0.4,20,-19.6",
          "SK2 0.4,FK1 -20|共2条,0.4,20,-19.6"}},
        {"MoneyOfASalesman", true, MoneyBase, " And (MoneyMan = '张三')",
         {"SK2 0.4,SK1 30|共2条,30.4,0,30.4", "SK1 30,SK2 0.4|共2条,30.4,0,30.4", "SK1 30,SK2 0.4|共2条,30.4,0,30.4"}},
        {"BillsAll", false, BillBase, "",
         {"P1 -30,S1 70,S2 30|共3条,80,10,70", "S2 30,P1 -30,S1 70|共3条,80,10,70",
          "S1 70,S2 30,P1 -30|共3条,80,10,70"}},
        {"BillsOfACustomer", false, BillBase + QStringLiteral(" And (BillUser = '甲')"), "",
         {"P1 -30|共1条,-50,-20,-30", "P1 -30|共1条,-50,-20,-30", "P1 -30|共1条,-50,-20,-30"}},
        {"BillsOfASalesman", false, BillBase, " And (BillMan = '张三')",
         {"S1 70,S2 30|共2条,130,30,100", "S2 30,S1 70|共2条,130,30,100", "S1 70,S2 30|共2条,130,30,100"}},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        (C.IsMoney ? MoneyFilter : BillFilter) = QString::fromUtf8(C.Filter);
        QComboBox* Sort = C.IsMoney ? FormMain->ComboBox9 : FormMain->ComboBox2;
        Sort->setCurrentIndex(0);
        C.IsMoney ? FormMain->RunMoneyReport(C.Text) : FormMain->RunBillReport(C.Text);
        for (int I = 0; I < 3; ++I) {
            Sort->setCurrentIndex(I);
            EXPECT_EQ(C.IsMoney ? Money() : Bills(), QString::fromUtf8(C.ByOrder[I])) << I;
        }
        MoneyFilter = BillFilter = QString();
    }
    EXPECT_TRUE(TModalSeam::Messages().empty());
}

TEST_F(MainFormLists, EmptyAfterFullCountsNoneAndRefreshReruns)
{
    FormMain->RunMoneyReport(MoneyBase);
    FormMain->RunMoneyReport(MoneyBase + QStringLiteral(" And (MoneyUser = '无')"));
    EXPECT_EQ(Money(), QStringLiteral("|共0条,0,0,0"));
    Exec(QStringLiteral("Update MoneyTable Set MoneyUser = '无' Where MoneySerial = 'SK1'"));
    FormMain->RefreshAll();
    EXPECT_EQ(Money(), QStringLiteral("SK1 30|共1条,30,0,30"));
}

TEST_F(MainFormLists, AmountColoursAndWidthMemory)
{
    struct TCase { double Sum; TColor Colour; };
    for (const TCase C : {TCase{-0.4, clBlack}, TCase{-0.5, clBlack}, TCase{-0.6, clRed}, TCase{12, clBlack}}) {
        Exec(QStringLiteral("Update MoneyTable Set MoneySum = %1 Where MoneySerial = 'FK1'").arg(C.Sum));
        FormMain->RunMoneyReport(MoneyBase + QStringLiteral(" And (MoneySerial = 'FK1')"));
        TDBGridEh* G = FormMain->DBGridEh1;
        TFont Font;
        Font.SetColor(clGreen);
        TColor Back = clWhite;
        G->OnGetCellParams(G, G->Columns(6), &Font, Back, TGridDrawState());
        EXPECT_EQ(Font.Color(), C.Colour) << C.Sum;
    }
    TDBGridEh* G = FormMain->DBGridEh1;
    TColumnEh* Remark = G->Columns(11);
    Remark->SetTag(0);
    Exec(QStringLiteral("Update MoneyTable Set MoneyRemark = '一段很长很长很长很长很长很长很长的备注' Where MoneySerial = 'FK1'"));
    FormMain->RunMoneyReport(QString());
    TFont Font;
    TColor Back = clWhite;
    G->OnGetCellParams(G, Remark, &Font, Back, TGridDrawState());
    const int Wide = G->Canvas()->TextWidth(Remark->GetDisplayText()) + 20;
    EXPECT_EQ(Remark->Tag(), Wide);
    G->OnTitleClick(Remark);
    EXPECT_EQ(Remark->Width(), Wide);
    Remark->SetWidth(Wide + 50);
    G->OnTitleClick(Remark);
    EXPECT_EQ(Remark->Width(), Wide + 50);  // never narrows
}

TEST_F(MainFormLists, DoubleClickOpensTheRowsWindow)
{
    Application()->CreateForm(FormGetPay);
    Application()->CreateForm(FormBuySell);
    QStringList Opened;
    TModalHandlers Handlers(
        [&](TForm* Form) -> TModalResult {
            if (Form == FormGetPay)
                Opened << FormGetPay->Mode + FormGetPay->Kind + QString::number(FormGetPay->MoneyIndex);
            if (Form == FormBuySell)
                Opened << FormBuySell->Mode + FormBuySell->Kind + QString::number(FormBuySell->BillIndex);
            return mrCancel;
        },
        nullptr);
    FormMain->DBGridEh1->OnDblClick(nullptr);  // no list yet
    FormMain->RunMoneyReport(MoneyBase + QStringLiteral(" And (MoneySerial = 'FK1')"));
    FormMain->DBGridEh1->OnDblClick(nullptr);
    FormMain->RunBillReport(BillBase + QStringLiteral(" And (BillSerial = 'P1')"));
    FormMain->DBGridEh2->OnDblClick(nullptr);
    FormMain->RunBillReport(BillBase + QStringLiteral(" And (BillSerial = '无')"));
    FormMain->DBGridEh2->OnDblClick(nullptr);
    EXPECT_EQ(Opened.join(u','), QStringLiteral("修改财务支出单3,修改采购开单3"));
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList({QStringLiteral("请先选中需要查看的记录"),
                                                       QStringLiteral("请先选中需要查看的记录")}));
    FormGetPay = nullptr;
    FormBuySell = nullptr;
}

TEST_F(MainFormLists, PrintPicksTheTemplateByPrintType)
{
    InstallTemplates(AppPath);
    struct TCase { const char* PrintType; bool IsMoney; const char* First; const char* Last; };
    const TCase Cases[] = {{"纵向打印", true, "FK1", "SK1"}, {"横向打印", true, "FK1", "SK1"},
                           {"纵向打印", false, "P1", "S2"}, {"横向打印", false, "P1", "S2"}};
    FormMain->RunMoneyReport(MoneyBase);
    FormMain->RunBillReport(BillBase);
    for (const TCase& C : Cases) {
        SCOPED_TRACE(std::string(C.PrintType) + (C.IsMoney ? " money" : " bills"));
        WriteIni(QStringLiteral("Tallybridge"), QStringLiteral("PrintType"), QString::fromUtf8(C.PrintType), IniFileName);
        TfrReport* Report = C.IsMoney ? FormMain->frReport2 : FormMain->frReport3;
        QString Text;
        Report->OnEndDoc = [&] { Text = PreparedText(Report); };
        TModalHandlers Handlers([](TForm* Form) { return RunProgress(Form) ? mrNone : mrCancel; }, nullptr);
        FormMain->PageControl1->setCurrentIndex(C.IsMoney ? 5 : 2);
        (C.IsMoney ? FormMain->MoneyPrintButton : FormMain->BillPrintButton)->Click();
        const bool Wide = QString::fromUtf8(C.PrintType) != QStringLiteral("纵向打印");
        EXPECT_EQ(Report->FileName().endsWith(QStringLiteral("2.frf")), Wide);
        EXPECT_LT(Text.indexOf(QString::fromLatin1(C.First)), Text.indexOf(QString::fromLatin1(C.Last))) << Text.toStdString();
        EXPECT_GE(Text.indexOf(QString::fromLatin1(C.First)), 0);
    }
    QFile::remove(AppPath + QStringLiteral("Frf/BillReport.frf"));
    WriteIni(QStringLiteral("Tallybridge"), QStringLiteral("PrintType"), QStringLiteral("纵向打印"), IniFileName);
    TModalSeam::ClearMessages();
    FormMain->ActionPrintBillReportExecute(nullptr);
    EXPECT_EQ(TModalSeam::MessageTexts(),
              QStringList(QStringLiteral("找不到报表模板\n") + AppPath + QStringLiteral("Frf/BillReport.frf")));
}

// ---------------------------------------------------------------- filter windows

TEST_F(MainFormLists, FilterWindowsBuildTheirConditions)
{
    struct TCase
    {
        const char* Name;
        bool IsMoney;
        std::function<void()> Fill;
        const char* Conditions; // what follows the base text
        int Page;
    };
    TReportFilterForm* M = FormMoneyReport;
    TReportFilterForm* B = FormBillReport;
    auto Amounts = [](TReportFilterForm* F, int Kind, const char* Low, const char* High) {
        F->ComboBox5->setCurrentIndex(Kind);
        F->CheckBox2->click();
        F->Edit2->setText(QString::fromLatin1(Low));
        F->Edit4->setText(QString::fromLatin1(High));
    };
    const TCase Cases[] = {
        {"Receipts100To500", true, [&] { Amounts(M, 1, "100", "500"); },
         " And (MoneySum >= 100) And (MoneySum <= 500) And (MoneySum >= 0) And (MoneyIndex <> 1)", 5},
        {"Payments100To500", true, [&] { Amounts(M, 2, "100", "500."); },
         " And (MoneySum <= -100) And (MoneySum >= -500) And (MoneySum < 0) And (MoneyIndex <> 1)", 5},
        {"KindBackToAllClearsBounds", true, [&] { Amounts(M, 1, "100", "500"); M->ComboBox5->setCurrentIndex(0); },
         " And (MoneyIndex <> 1)", 5},
        {"QuotedTexts", true,
         [&] { M->ComboBox6->setEditText(QStringLiteral("O'Neil")); M->Edit3->setText(QStringLiteral("a'b")); },
         " And (InStr(MoneyUser,'O''Neil')) And (InStr(MoneyRemark,'a''b')) And (MoneyIndex <> 1)", 5},
        {"BillPeriodKindSerial", false,
         [&] { B->CheckBox1->click(); B->ComboBox5->setCurrentIndex(2); B->Edit5->setText(QStringLiteral("P")); },
         " And (BillCreateTime Between #2024-03-01# And #2024-03-31#) And (BillKind = '采购开单') "
         "And (InStr(BillSerial,'P')) And (BillIndex <> 1) Group By",
         2},
    };
    QStringList Log;
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TForm* Form = C.IsMoney ? static_cast<TForm*>(FormMoneyReport) : FormBillReport;
        Log.clear();
        SetOpenSQLLog(&Log);
        FormMain->PageControl1->setCurrentIndex(0);
        TModalResult Result = mrNone;
        TModalHandlers Handlers(
            [&](TForm* F) -> TModalResult {
                if (F == Form) {
                    C.Fill();
                    static_cast<TReportFilterForm*>(F)->BitBtn1->Click();
                    Result = F->ModalResult();
                }
                return mrNone;
            },
            nullptr);
        C.IsMoney ? FormMain->ActionMoneyReportExecute(nullptr) : FormMain->ActionBillReportExecute(nullptr);
        SetOpenSQLLog(nullptr);
        EXPECT_EQ(Result, mrOk);
        EXPECT_EQ(FormMain->PageControl1->currentIndex(), C.Page);
        ASSERT_FALSE(Log.isEmpty());
        const QString& Base = C.IsMoney ? MoneyBase : BillBase;
        EXPECT_TRUE(Log.last().startsWith(Base + QString::fromUtf8(C.Conditions))) << Log.last().toStdString();
    }
    EXPECT_TRUE(TModalSeam::Messages().empty());
}

TEST_F(MainFormLists, FilterWindowRefusals)
{
    struct TCase { const char* Low; const char* High; const char* Focus; };
    const TCase Cases[] = {{"1.2.3", "", "Edit2"}, {"", ".", "Edit4"}, {"-5", "", "Edit2"}};
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Low + std::string("|") + C.High);
        TModalSeam::ClearMessages();
        QString Focus;
        TModalHandlers Handlers(
            [&](TForm* F) -> TModalResult {
                FormMoneyReport->ComboBox5->setCurrentIndex(1);
                FormMoneyReport->CheckBox2->click();
                FormMoneyReport->Edit2->setText(QString::fromLatin1(C.Low));
                FormMoneyReport->Edit4->setText(QString::fromLatin1(C.High));
                FormMoneyReport->BitBtn1->Click();
                EXPECT_EQ(F->ModalResult(), mrNone);
                Focus = FormMoneyReport->focusWidget() ? FormMoneyReport->focusWidget()->objectName() : QString();
                return mrCancel;
            },
            nullptr);
        FormMoneyReport->ShowModal();
        EXPECT_EQ(TModalSeam::MessageTexts(), QStringList(QStringLiteral("金额格式有误，请重新输入")));
        EXPECT_TRUE(FormMain->MoneyReportSQL().isEmpty());
        EXPECT_EQ(Focus, QString::fromLatin1(C.Focus));
    }
    // The amount box asks for a kind first, and a salesman's own box is locked.
    CurrentRole = QStringLiteral("业务员");
    CurrentUser = QStringLiteral("张三");
    TModalSeam::ClearMessages();
    TModalHandlers Handlers(
        [&](TForm*) -> TModalResult {
            FormBillReport->CheckBox2->click();
            EXPECT_FALSE(FormBillReport->CheckBox2->isChecked());
            EXPECT_FALSE(FormBillReport->Edit2->isEnabled());
            EXPECT_EQ(FormBillReport->Edit6->text(), QStringLiteral("张三"));
            EXPECT_TRUE(FormBillReport->Edit6->isReadOnly());
            return mrCancel;
        },
        nullptr);
    FormBillReport->ShowModal();
    EXPECT_EQ(TModalSeam::MessageTexts(), QStringList(QStringLiteral("请先选定“单据类型”后再填金额范围")));
}

// ---------------------------------------------------------------- export

namespace {

// Every cell of the first sheet: "A1" -> "s:text", "n:value" or "d:value"
// (a number with a date style).
std::map<QString, QString> ReadSheet(const QString& File)
{
    QProcess Unzip;
    Unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), File, QStringLiteral("xl/worksheets/sheet1.xml")});
    Unzip.waitForFinished();
    QXmlStreamReader Xml(Unzip.readAllStandardOutput());
    std::map<QString, QString> Cells;
    QString Ref, Kind;
    while (!Xml.atEnd()) {
        Xml.readNext();
        if (!Xml.isStartElement())
            continue;
        if (Xml.name() == u"c") {
            Ref = Xml.attributes().value(QStringLiteral("r")).toString();
            const bool Text = Xml.attributes().value(QStringLiteral("t")) == u"inlineStr" || Xml.attributes().value(QStringLiteral("t")) == u"str";
            Kind = Text ? QStringLiteral("s:") : Xml.attributes().hasAttribute(QStringLiteral("s")) ? QStringLiteral("d:") : QStringLiteral("n:");
        } else if (Xml.name() == u"v" || Xml.name() == u"t")
            Cells[Ref] = Kind + Xml.readElementText();
    }
    return Cells;
}

// Points HOME and the user's folder settings into the test's folder while it lives.
class TScopedHome
{
public:
    explicit TScopedHome(const QString& Home)
    {
        for (const char* Name : {"HOME", "XDG_CONFIG_HOME"})
            FSaved.push_back({Name, qEnvironmentVariableIsSet(Name), qgetenv(Name)});
        qputenv("HOME", QFile::encodeName(Home));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(Home + QStringLiteral("/.config")));
    }
    ~TScopedHome()
    {
        for (const TSaved& S : FSaved)
            S.WasSet ? qputenv(S.Name, S.Value) : qunsetenv(S.Name);
    }

private:
    struct TSaved { const char* Name; bool WasSet; QByteArray Value; };
    std::vector<TSaved> FSaved;
};

} // namespace

TEST_F(MainFormLists, ExportWritesTheVisibleColumnsAndEveryRow)
{
    ShareDataModule->ExportFolder = AppPath + QStringLiteral("out");
    QDir().mkpath(ShareDataModule->ExportFolder);
    QStringList Opened;
    const TShellHandler Old = SetShellHandler([&](const QString& Target) { Opened << Target; return true; });
    Exec(QStringLiteral("Update MoneyTable Set MoneySerial = '007', MoneyCreateTime = '2024-03-12 08:30:00' "
                        "Where MoneySerial = 'FK1'"));
    FormMain->RunMoneyReport(MoneyBase);
    TDBGridEh* G = FormMain->DBGridEh1;
    G->Columns(11)->SetVisible(false);
    G->Columns(2)->KeyList()->Add(QStringLiteral("银行"));
    G->Columns(2)->PickList()->Add(QStringLiteral("Bank"));
    G->SetFrozenCols(2);
    FormMain->MReportADOQuery->Last();
    FormMain->ActionMExcelExecute(nullptr);
    ASSERT_EQ(Opened.size(), 1);
    EXPECT_TRUE(QFileInfo(Opened[0]).fileName().startsWith(QStringLiteral("财务报表-")));
    EXPECT_EQ(QDir(ShareDataModule->ExportFolder).entryList(QDir::Files).size(), 1);
    std::map<QString, QString> Cells = ReadSheet(Opened[0]);
    EXPECT_TRUE(Cells[QStringLiteral("A1")].startsWith(QStringLiteral("s:日期:")));
    const std::pair<const char*, const char*> Expected[] = {
        {"A3", "s:创建时间"}, {"K3", "s:凭证"}, {"L3", ""},  {"B4", "s:007"},    {"C4", "s:Bank"},
        {"D4", "s:甲"},      {"G4", "n:-20"},  {"L4", ""},  {"G6", "n:30"},     {"C6", "s:现金"},
        {"A4", "d:45363.3541666667"},           {"A5", "d:45364"}, {"A7", ""}};
    for (const auto& [Ref, Value] : Expected)
        EXPECT_EQ(Cells[QString::fromLatin1(Ref)].left(16), QString::fromUtf8(Value).left(16)) << Ref;
    EXPECT_EQ(G->FrozenCols(), 2);
    EXPECT_TRUE(FormMain->MReportADOQuery->Eof() || FormMain->MReportADOQuery->RecNo() == 3);

    // An empty list writes the date line and the titles only.
    Opened.clear();
    FormMain->RunMoneyReport(MoneyBase + QStringLiteral(" And (MoneyUser = '无')"));
    FormMain->ActionMExcelExecute(nullptr);
    ASSERT_EQ(Opened.size(), 1);
    Cells = ReadSheet(Opened[0]);
    EXPECT_EQ(Cells.size(), 12u);
    EXPECT_EQ(Cells.count(QStringLiteral("A4")), 0u);

    // A documents folder not made yet is made; one that cannot be made gives way to the home folder.
    ShareDataModule->ExportFolder.clear();
    const QString Home = AppPath + QStringLiteral("home");
    ASSERT_TRUE(QDir().mkpath(Home));
    {
        const TScopedHome Scoped(Home);
        Opened.clear();
        FormMain->ActionMExcelExecute(nullptr);
        ASSERT_EQ(Opened.size(), 1);
        EXPECT_EQ(QFileInfo(Opened[0]).path(), Home + QStringLiteral("/Documents"));
        ASSERT_TRUE(QDir(Home + QStringLiteral("/Documents")).removeRecursively());
        WriteIni(QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z"), Home + QStringLiteral("/Documents"));
        Opened.clear();
        FormMain->ActionMExcelExecute(nullptr);
        ASSERT_EQ(Opened.size(), 1);
        EXPECT_EQ(QFileInfo(Opened[0]).path(), Home);
    }

    // A folder that cannot take the file, nor a home in its place, leaves nothing behind.
    Opened.clear();
    ShareDataModule->ExportFolder = IniFileName + QStringLiteral("/out");
    WriteIni(QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z"), IniFileName);
    {
        const TScopedHome Scoped(IniFileName + QStringLiteral("/home"));
        FormMain->ActionMExcelExecute(nullptr);
    }
    EXPECT_TRUE(Opened.isEmpty());
    EXPECT_TRUE(TModalSeam::MessageTexts().last().startsWith(QStringLiteral("建立Excel文件不成功，请重试!\n")));
    SetShellHandler(Old);
}

// ---------------------------------------------------------------- order of names

TEST_F(MainFormLists, NamesEqualButForCaseSortByTheNextTerm)
{
    Exec(QStringLiteral("Delete From Bill Where BillIndex > 1"));
    Exec(QStringLiteral("Insert Into Bill (BillSerial, BillUser, BillCreateTime) Values "
                        "('1', '张a公司', '2024-03-01'), ('2', '张A公司', '2024-03-02'), ('3', '张a公司', '2024-03-03'), "
                        "('4', 'A张', '2024-03-01'), ('5', 'a张', '2024-03-02'), ('6', 'A张', '2024-03-03')"));
    FormMain->ComboBox2->setCurrentIndex(1);
    FormMain->RunBillReport(BillBase);
    EXPECT_EQ(Bills().section(u'|', 0, 0), QStringLiteral("4 0,5 0,6 0,1 0,2 0,3 0"));

    const QStringList Texts{QStringLiteral("张A公司"), QStringLiteral("张a公司"), QStringLiteral("a张"),
                            QStringLiteral("A张"),     QStringLiteral("張a"),     QStringLiteral("张"),
                            QStringLiteral("丁"),      QStringLiteral("ab"),      QStringLiteral("")};
    auto Sign = [](int V) { return (V > 0) - (V < 0); };
    for (const QString& A : Texts)
        for (const QString& B : Texts) {
            EXPECT_EQ(Sign(PinyinCompare(A, B)), -Sign(PinyinCompare(B, A))) << A.toStdString() << B.toStdString();
            EXPECT_EQ(Sign(PinyinCompareUtf8(A.toUtf8(), B.toUtf8())), Sign(PinyinCompare(A, B)));
            for (const QString& C : Texts) {
                if (PinyinCompare(A, B) <= 0 && PinyinCompare(B, C) <= 0) {
                    EXPECT_LE(PinyinCompare(A, C), 0) << A.toStdString() << B.toStdString() << C.toStdString();
                }
            }
        }
}

TEST_F(MainFormLists, ListPagesRenderWithNegativeAmountsInRed)
{
    FormMain->PageControl1->setCurrentIndex(2);
    auto RedAboveFooter = [] {
        const QImage Grid = RenderWidget(FormMain->DBGridEh2);
        const int Bottom = Grid.height() / 2;  // the three rows; the footer is at the foot
        for (int Y = 0; Y < Bottom; ++Y)
            for (int X = 0; X < Grid.width(); ++X) {
                const QColor C = Grid.pixelColor(X, Y);
                if (C.red() > 200 && C.green() < 80 && C.blue() < 80)
                    return true;
            }
        return false;
    };
    FormMain->RunBillReport(BillBase + QStringLiteral(" And (BillSum > 0)"));
    EXPECT_FALSE(RedAboveFooter());
    FormMain->RunBillReport(BillBase);
    EXPECT_TRUE(RedAboveFooter());

    const QString Keep = QString::fromLocal8Bit(qgetenv("TB_IMAGES_DIR"));
    if (Keep.isEmpty())
        return;
    RenderWidget(FormMain).save(Keep + QStringLiteral("/bill-list.png"));
    TModalHandlers Handlers(
        [&](TForm* Form) {
            RenderWidget(Form).save(Keep + QStringLiteral("/money-filter.png"));
            return mrCancel;
        },
        nullptr);
    FormMoneyReport->ShowModal();
}
