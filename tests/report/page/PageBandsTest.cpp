// Setting report pages up for a run: the run-time band structure built from
// band views (checked as a text rendering), bounds and columns, subreport
// marks, and dialog pages shown through the modal seam.
#include "PreparedTestUtil.h"

#include "platform/gui/Forms.h"
#include "platform/gui/ModalSeam.h"
#include "report/engine/FR_Band.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Control.h"
#include "report/engine/FR_DSet.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_SubReportView.h"

#include <QLabel>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct TBand
{
    int Type;
    const char* Name;
    int Y, DY;
    const char* Extra = "";   // data source text, or "child:Name", "master:Name"
};

// Builds bands and memos ("Name@Y", or "Name@X,Y") on a fresh page.
TfrPage* Build(TfrReport& Report, const std::vector<TBand>& Bands, const QStringList& Memos,
               int X = 0, int DX = 0)
{
    Report.Pages()->Add();
    TfrPage* Page = Report.Pages()->Pages(Report.Pages()->Count() - 1);
    for (const TBand& B : Bands) {
        auto View = std::make_unique<TfrBandView>();
        View->SetBandType(B.Type);
        View->SetName(B.Name);
        const bool Cross = B.Type >= btCrossHeader && B.Type <= btCrossFooter;
        View->SetBounds(Cross ? X : 0, Cross ? 0 : B.Y, Cross ? DX : 700, Cross ? 1000 : B.DY);
        const QString Extra = B.Extra;
        if (Extra.startsWith("child:"))
            View->SetChildBand(Extra.mid(6));
        else if (Extra.startsWith("master:"))
            View->SetMaster(Extra.mid(7));
        else
            View->SetFormatStr(Extra);
        Page->Add(std::move(View));
    }
    for (const QString& M : Memos) {
        auto View = std::make_unique<TfrMemoView>();
        View->SetName(M.section('@', 0, 0));
        const QStringList At = M.section('@', 1).split(',');
        View->SetBounds(At.size() > 1 ? At[0].toInt() : 10, At.last().toInt(), 40, 10);
        Page->Add(std::move(View));
    }
    return Page;
}

QString Names(const std::vector<TfrView*>& Views)
{
    QStringList L;
    for (TfrView* V : Views)
        L << QStringLiteral("%1@%2,%3").arg(V->Name()).arg(V->Left()).arg(V->Top());
    return L.join(' ');
}

// One line per active band in chain order: type, name, rectangle, views and links.
QString Structure(const TfrPage& Page)
{
    QStringList Lines;
    for (int T = 0; T < frBandTypeCount; ++T) {
        for (TfrBand* B = Page.Bands[T]; B; B = B->Next) {
            if (!TfrPage::BandExists(B))
                continue;
            QString L = QStringLiteral("%1 %2 %3,%4 [%5]").arg(T).arg(B->Name).arg(B->Y).arg(B->DY)
                            .arg(Names(B->Objects));
            if (B->Header)
                L += " H=" + B->Header->Name;
            if (B->Footer)
                L += " F=" + B->Footer->Name;
            if (B->DataBand)
                L += " D=" + B->DataBand->Name;
            for (TfrBand* G = B->FirstGroup; G; G = G->NextGroup)
                L += (G == B->FirstGroup ? " G=" : ",") + G->Name;
            if (B->Child)
                L += " C=" + B->Child->Name;
            if (B->CrossDataSet)
                L += QStringLiteral(" X=%1rows").arg(B->CrossDataSet->RangeEndCount());
            if (B->PageBreak || B->NewPageAfter)
                L += " breaks";
            Lines << L;
        }
    }
    return Lines.join('\n');
}

class TPageBands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CurReport = &Report;
        DocMode = dmPrinting;
    }
    void TearDown() override
    {
        for (int i = 0; i < Report.Pages()->Count(); ++i)
            Report.Pages()->Pages(i)->DoneReport();
        CurReport = nullptr;
        CurPage = nullptr;
        DocMode = dmDesigning;
    }
    TfrReport Report;
};

} // namespace

TEST_F(TPageBands, StructureFromBandViews)
{
    struct TRow
    {
        const char* Name;
        std::vector<TBand> Bands;
        QStringList Memos;
        const char* Expected;
    };
    const TRow Rows[] = {
        {"chains sorted by Y, edges inclusive, headers and footers linked, the rest on the page",
         {{btMasterData, "Data2", 100, 20}, {btMasterHeader, "Head", 10, 20}, {btMasterData, "Data1", 40, 20},
          {btMasterFooter, "Foot", 130, 20}, {btMasterFooter, "Foot2", 200, 20}},
         {"OnTop@40", "OnBottom@60", "Loose@300", "Between@61"},
         "4 Head 10,20 [] D=Data1\n"
         "5 Data1 40,20 [OnTop@10,0 OnBottom@10,20] H=Head\n"
         "5 Data2 100,20 [] F=Foot\n"
         "6 Foot 130,20 [] D=Data2\n"
         "6 Foot2 200,20 []\n"
         "22  0,0 [Loose@10,300 Between@10,61]"},
        {"group headers pair with footers inside out and attach to the master data",
         {{btGroupHeader, "G1", 10, 10}, {btGroupHeader, "G2", 30, 10}, {btGroupHeader, "G3", 50, 10},
          {btMasterData, "Data", 100, 20}, {btGroupFooter, "F1", 200, 10}, {btGroupFooter, "F2", 220, 10}},
         {},
         "5 Data 100,20 [] G=G1,G2,G3\n"
         "16 G1 10,10 []\n"
         "16 G2 30,10 [] F=F2\n"
         "16 G3 50,10 [] F=F1\n"
         "17 F1 200,10 []\n"
         "17 F2 220,10 []"},
        {"a group naming a data band of another level, a child, a child chain that loops",
         {{btMasterData, "Data", 100, 20, "child:Kid"}, {btDetailData, "Detail", 150, 20},
          {btGroupHeader, "G1", 10, 10, "master:Detail"}, {btChild, "Kid", 300, 20, "child:Kid2"},
          {btChild, "Kid2", 400, 20, "child:Kid"}},
         {},
         "5 Data 100,20 [] C=Kid\n"
         "8 Detail 150,20 [] G=G1\n"
         "16 G1 10,10 []\n"
         "21 Kid 300,20 [] C=Kid2\n"
         "21 Kid2 400,20 []"},
        {"cross bands take views across them, which join the horizontal band too",
         {{btMasterData, "Data", 100, 20}, {btCrossData, "Cross", 0, 0, "Data=3;Nothing=2;"}},
         {"Cell@310,100", "Plain@10,100", "Wide@290,100"},
         "5 Data 100,20 [Plain@10,0 Wide@290,0 Cell@10,0] X=3rows\n"
         "19 Cross 0,0 [Cell@10,0]"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TfrReport Local;
        CurReport = &Local;
        TfrPage* Page = Build(Local, Row.Bands, Row.Memos, 300, 100);
        Page->InitReport();
        EXPECT_EQ(Structure(*Page), QString::fromUtf8(Row.Expected));
        Page->DoneReport();
        EXPECT_EQ(Page->Bands[btMasterData], nullptr);
    }
}

TEST_F(TPageBands, BoundsColumnsAndPageFooter)
{
    TfrPage* Page = Build(Report, {{btPageFooter, "PF", 900, 30}}, {});
    Page->LeftMargin = 40;
    Page->RightMargin = 60;
    Page->BottomMargin = 50;
    const int Usable = Page->PrnInfo.PaperWidthPx - 100;
    const struct { int Columns, ExpectedColumns, ExpectedWidth; } Rows[] = {
        {0, 1, Usable}, {-3, 1, Usable}, {3, 3, (Usable - 20) / 3}};
    for (const auto& Row : Rows) {
        Page->Columns = Row.Columns;
        Page->ColumnGap = 10;
        Page->InitReport();
        EXPECT_EQ(Page->Columns, Row.ExpectedColumns);
        EXPECT_EQ(Page->ColumnWidth, Row.ExpectedWidth);
        // While printing the page footer's height is not part of the page.
        EXPECT_EQ(Page->GetBottomBound(), Page->PrnInfo.PaperHeightPx - 50 - 30);
        DocMode = dmDesigning;
        EXPECT_EQ(Page->GetBottomBound(), Page->PrnInfo.PaperHeightPx - 50);
        DocMode = dmPrinting;
        Page->DoneReport();
    }
}

TEST_F(TPageBands, SubreportsMarkOnlyPagesThatDoNotLeadBack)
{
    // 0 inserts 1 and 4; 1 and 2 insert each other; 3 itself and no page.
    for (int i = 0; i < 5; ++i)
        Build(Report, {{btMasterData, "Data", 10, 20}}, {});
    auto Sub = [this](int From, int To) {
        auto View = std::make_unique<TfrSubReportView>();
        View->SetSubPage(To);
        View->SetBounds(0, 15, 50, 10);
        Report.Pages()->Pages(From)->Add(std::move(View));
    };
    Sub(0, 1);
    Sub(0, 4);
    Sub(1, 2);
    Sub(2, 1);
    Sub(3, 3);
    Sub(3, 99);
    for (int i = 0; i < 5; ++i)
        Report.Pages()->Pages(i)->InitReport();
    QString Marks;
    for (int i = 0; i < 5; ++i)
        Marks += Report.Pages()->Pages(i)->IsSubReportPage ? '1' : '0';
    // Page 1 is sound for page 0; pages 1 and 2 lead back to each other.
    EXPECT_EQ(Marks, "01001");
}

namespace {

class TLabelControl : public TfrControl
{
public:
    TLabelControl() : FLabel(std::make_unique<QLabel>("Ask")) { SetControl(FLabel.get()); }
    ~TLabelControl() override { SetControl(nullptr); }

private:
    std::unique_ptr<QLabel> FLabel;
};

} // namespace

TEST_F(TPageBands, DialogPageAnswersThroughTheModalSeam)
{
    struct TRow
    {
        const char* Name;
        bool WithControl;
        bool Visible;
        TModalResult Answer;
        const char* Shown;   // caption of the form shown, "" when none
        bool Cancelled;
    };
    const TRow Rows[] = {
        {"OK goes on", true, true, mrOk, "Choose", false},
        {"Cancel stops the report", true, true, mrCancel, "Choose", true},
        {"no controls: no form", false, true, mrCancel, "", false},
        {"hidden page: no form", true, false, mrCancel, "", false},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TfrReport Local;
        CurReport = &Local;
        Local.Pages()->Add();
        TfrPage* Page = Local.Pages()->Pages(0);
        Page->PageType = ptDialog;
        Page->Caption = "Choose";
        Page->Visible = Row.Visible;
        int Customized = 0;
        Local.OnCustomizeObject = [&](QObject* Sender) { Customized += Sender != nullptr; };
        if (Row.WithControl) {
            auto Control = std::make_unique<TLabelControl>();
            Control->SetBounds(10, 10, 80, 20);
            Page->Add(std::move(Control));
        }
        QString Shown;
        TModalHandlers Handlers(
            [&](TForm* Form) {
                Shown = Form->Caption();
                return Row.Answer;
            },
            nullptr);
        Page->InitReport();
        EXPECT_EQ(Shown, QString(Row.Shown));
        EXPECT_EQ(Local.DialogCancelled(), Row.Cancelled);
        EXPECT_EQ(Customized, Row.WithControl ? 1 : 0);
        EXPECT_TRUE(Page->Prepared);
        Page->DoneReport();
        EXPECT_EQ(Page->Form, nullptr);
    }
}
