#include "tools/frf/Sample.h"

#include "platform/db/Field.h"
#include "platform/db/MemDataSet.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/ModalSeam.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_DBSet.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Prepare.h"
#include "report/engine/FR_Utils.h"

#include <QImage>
#include <QPainter>
#include <cstdio>

namespace {

struct TField
{
    const char* Name;
    TFieldType Type;
};

TMemDataSet* MakeData(QObject* Owner, const char* Name, const std::vector<TField>& Fields,
                      const std::vector<QList<Variant>>& Rows)
{
    auto* D = new TMemDataSet(Owner);
    D->setObjectName(QString::fromLatin1(Name));
    for (const TField& F : Fields)
        D->FieldDefs()->Add(QString::fromLatin1(F.Name), F.Type, F.Type == ftString ? 60 : 0);
    D->Open();
    for (const QList<Variant>& Row : Rows)
        D->AppendRecord(Row);
    D->First();
    return D;
}

Variant Day(int Month, int DayOfMonth)
{
    return Variant::FromDateTime(EncodeDate(2024, Month, DayOfMonth));
}

const QStringList Customers = {QStringLiteral("广州华南贸易有限公司"), QStringLiteral("深圳创新电子厂"),
                               QStringLiteral("上海浦东物流公司"), QStringLiteral("北京海淀软件园"),
                               QStringLiteral("杭州西湖茶业")};

// The data module and a window holding every dataset and report data source
// the templates name.
struct TSampleWorld
{
    QObject DataModule;
    QObject Window;

    TSampleWorld()
    {
        DataModule.setObjectName(QStringLiteral("ShareDataModule"));
        Window.setObjectName(QStringLiteral("FormSample"));
        frRegisterGlobalComponent(&DataModule);
    }
    ~TSampleWorld() { frUnregisterGlobalComponent(&DataModule); }

    TfrDBDataSet* Source(const char* Name, TDataSet* Data)
    {
        auto* S = new TfrDBDataSet(&Window);
        S->SetName(QString::fromLatin1(Name));
        S->SetDataSet(Data);
        return S;
    }
};

std::vector<QList<Variant>> MoneyRows(int Count)
{
    const char* Accounts[] = {"现金", "工商银行", "建设银行"};
    std::vector<QList<Variant>> Rows;
    for (int i = 0; i < Count; ++i) {
        const double Amount = (i % 3 == 2 ? -1 : 1) * (1200.5 + i * 137.25);
        Rows.push_back({i + 2, Day(3, 1 + i % 28), QStringLiteral("SK%1").arg(240301 + i), QString::fromUtf8(Accounts[i % 3]),
                        Customers[i % Customers.size()], Amount > 0 ? Amount : 0.0, Amount < 0 ? -Amount : 0.0, Amount,
                        QStringLiteral("张三"), QStringLiteral("货款"), QStringLiteral("预收款"),
                        QStringLiteral("收据"), i % 4 == 0 ? QStringLiteral("月底结清") : QString()});
    }
    return Rows;
}

const std::vector<TField> MoneyFields = {
    {"MoneyIndex", ftInteger}, {"MoneyCreateTime", ftDateTime}, {"MoneySerial", ftString},
    {"AccountName", ftString}, {"MoneyUser", ftString},        {"MoneyIn", ftFloat},
    {"MoneyOut", ftFloat},     {"MoneySum", ftFloat},          {"MoneyMan", ftString},
    {"MoneyReason", ftString}, {"MoneyType", ftString},        {"MoneyToken", ftString},
    {"MoneyRemark", ftString}};

void FillWorld(TSampleWorld& W, const QString& Name, TfrReport& Report)
{
    if (Name == u"Money") {
        TMemDataSet* Q = MakeData(&W.DataModule, "ADOQueryTemp",
                                  {{"MSum", ftFloat}, {"MoneySum", ftFloat}, {"MoneySerial", ftString},
                                   {"MoneyCreateTime", ftDateTime}, {"MoneyUser", ftString},
                                   {"MoneyReason", ftString}, {"MoneyType", ftString}, {"MoneyToken", ftString},
                                   {"MoneyRemark", ftString}, {"MoneyMan", ftString}},
                                  {{3850.0, 3850.0, QStringLiteral("SK240315"), Day(3, 15), Customers[0],
                                    QStringLiteral("货款"), QStringLiteral("预收款"), QStringLiteral("收据"),
                                    QStringLiteral("销售开单：XS240311"), QStringLiteral("张三")}});
        Report.SetDataset(W.Source("frDBDataSet1", Q));
        Report.OnGetValue = [](const QString& ParName, Variant& ParValue) {
            if (ParName == u"MoneyCN")
                ParValue = QStringLiteral("叁仟捌佰伍拾元整");
        };
    } else if (Name == u"Bill") {
        MakeData(&W.DataModule, "ADOQueryTemp", {{"BigFontValue", ftString}}, {{QStringLiteral("壹万贰仟叁佰肆拾伍元伍角")}});
        MakeData(&W.Window, "ADOQuery1",
                 {{"BillSerial", ftString}, {"BillCreateTime", ftDateTime}, {"BillKind", ftString},
                  {"BillUser", ftString}, {"BillSum", ftFloat}, {"BillGet", ftFloat}, {"BillOwe", ftFloat},
                  {"BillMan", ftString}, {"BillReason", ftString}, {"BillState", ftString}, {"BillRemark", ftString}},
                 {{QStringLiteral("XS240311"), Day(3, 11), QStringLiteral("销售开单"), Customers[0], 12345.5, 8000.0,
                   4345.5, QStringLiteral("张三"), QStringLiteral("货款"), QStringLiteral("已发货"),
                   QStringLiteral("分两次付款")}});
        std::vector<QList<Variant>> Rows = MoneyRows(3);
        TMemDataSet* Money = MakeData(&W.Window, "ADOQuery2", MoneyFields, Rows);
        Report.SetDataset(W.Source("frDBDataSet1", Money));
    } else if (Name.startsWith(u"MoneyReport")) {
        W.Source("frDBDataSet2", MakeData(&W.Window, "MReportADOQuery", MoneyFields, MoneyRows(60)));
    } else if (Name.startsWith(u"BillReport")) {
        std::vector<QList<Variant>> Rows;
        for (int i = 0; i < 60; ++i) {
            const bool Sale = i % 3 != 2;
            const double Sum = (Sale ? 1 : -1) * (2000 + i * 211.5);
            Rows.push_back({Day(3, 1 + i % 28), QStringLiteral("%1%2").arg(Sale ? u"XS" : u"CG").arg(240301 + i),
                            Sale ? QStringLiteral("销售开单") : QStringLiteral("采购开单"),
                            Customers[i % Customers.size()], Sum, Sum / 2, Sum / 2, QStringLiteral("李四"),
                            QStringLiteral("货款"), QStringLiteral("进行中"), QString()});
        }
        W.Source("frDBDataSet3",
                 MakeData(&W.Window, "BReportADOQuery",
                          {{"BillCreateTime", ftDateTime}, {"BillSerial", ftString}, {"BillKind", ftString},
                           {"BillUser", ftString}, {"BillSum", ftFloat}, {"BillGet", ftFloat}, {"BillOwe", ftFloat},
                           {"BillMan", ftString}, {"BillReason", ftString}, {"BillState", ftString},
                           {"BillRemark", ftString}},
                          Rows));
    } else {
        MakeData(&W.DataModule, "ADOQueryTemp", {{"ListValue", ftString}}, {{QStringLiteral("2024年3月份")}});
        MakeData(&W.DataModule, "ADOQueryTemp2", {{"ListValue", ftString}}, {{QStringLiteral("各客户应收款")}});
        std::vector<QList<Variant>> Rows;
        const QStringList Accounts = {QStringLiteral("现金"), QStringLiteral("工商银行"), QStringLiteral("建设银行")};
        const QStringList& Names = Name == u"CustomerMonth" ? Customers : Accounts;
        for (int i = 0; i <= Names.size(); ++i) {
            QList<Variant> Row{i < Names.size() ? Names[i] : QStringLiteral("总合计")};
            for (int c = 2; c <= 6; ++c)
                Row << QString::number((i + 1) * 1000 + c * 125.5, 'f', 2);
            Rows.push_back(Row);
        }
        std::vector<TField> Fields{{"ReportGrid1", ftString}};
        static const char* Grid[] = {"ReportGrid2", "ReportGrid3", "ReportGrid4", "ReportGrid5", "ReportGrid6"};
        for (const char* G : Grid)
            Fields.push_back({G, ftString});
        Report.SetDataset(W.Source("frDBDataSet1", MakeData(&W.Window, "ADOQueryBig", Fields, Rows)));
    }
}

} // namespace

bool RenderTemplate(const QString& Name, const QString& Path, const QString& Png)
{
    TSampleWorld World;
    auto* Report = new TfrReport(&World.Window);
    Report->SetName(QStringLiteral("frReport1"));
    Report->SetShowProgress(false);
    FillWorld(World, Name, *Report);
    if (!Report->LoadFromFile(Path) || !Report->PrepareReport() || Report->PreparedPageCount() == 0) {
        std::fprintf(stderr, "%s: not prepared: %s\n", qPrintable(Name), qPrintable(frErrorText));
        return false;
    }
    TfrEMFPages* Pages = Report->EMFPages();
    const TfrPageInfo& Info = *Pages->Items(0);
    const int W = Info.PagePrnInfo.PaperWidthPx, H = Info.PagePrnInfo.PaperHeightPx;
    TBitmap Bitmap(W, H);
    Bitmap.Canvas()->Brush()->SetColor(clWhite);
    Bitmap.Canvas()->FillRect(QRect(0, 0, W, H));
    Pages->Items(0)->OnScreen = true;
    Pages->Draw(0, Bitmap.Canvas(), QRect(0, 0, W, H));
    Bitmap.Canvas()->Release();
    if (!Bitmap.Image().save(Png)) {
        std::fprintf(stderr, "%s: cannot write %s\n", qPrintable(Name), qPrintable(Png));
        return false;
    }
    return true;
}
