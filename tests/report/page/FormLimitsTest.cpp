// Forms whose views or pages hold lengths at the designer's limits and one
// past them: past them the form is refused as damaged; at them it reads back
// as written, draws only what its surface shows, prepares, and opens in the
// designer with a backing image no larger than a screen (this program runs
// under the sanitizers, so an overflow fails it too).
#include "PreparedTestUtil.h"

#include "platform/gui/ModalSeam.h"
#include "platform/rtl/IniFiles.h"
#include "report/designer/FR_Desgn.h"
#include "report/designer/FR_DsgPage.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_PreviewSearch.h"

#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <functional>

namespace {

// A page of a master band of two records in two columns, holding a memo
// with a dashed frame and ruled lines.
void LimitForm(TfrReport& Report)
{
    Report.Pages()->Add();
    TfrPage* Page = Report.Pages()->Pages(0);
    auto Band = std::make_unique<TfrBandView>();
    Band->SetName(QStringLiteral("Band1"));
    Band->SetBandType(btMasterData);
    Band->SetBounds(0, 40, 700, 60);
    Band->SetFormatStr(QStringLiteral("2"));
    Band->SetColumns(2);
    Page->Add(std::move(Band));
    auto Memo = std::make_unique<TfrMemoView>();
    Memo->SetName(QStringLiteral("Memo1"));
    Memo->SetBounds(20, 45, 150, 20);
    Memo->Memo()->Add(QStringLiteral("Limits"));
    Memo->SetFlags(Memo->Flags() | flUnderlines);
    Memo->SetFrameTyp(15);
    Memo->SetFrameStyle(fsDash);
    Page->Add(std::move(Memo));
}

TfrPage* FirstPage(TfrReport& R) { return R.Pages()->Pages(0); }
TfrBandView* LimitBand(TfrReport& R) { return static_cast<TfrBandView*>(FirstPage(R)->Objects(0)); }
TfrMemoView* LimitMemo(TfrReport& R) { return static_cast<TfrMemoView*>(FirstPage(R)->Objects(1)); }

QByteArray FormBytes(TfrReport& Report)
{
    TMemoryStream Stream;
    Report.SaveToStream(Stream);
    return Stream.Data();
}

// One page record more than the form holds: the first one again, after the
// views, whose end offsets stay as they are.
QByteArray OnePageMore(const QByteArray& Form)
{
    const QByteArray Mark("\xFF\xFF\xFF\xFF\xFF", 5);   // page marker, then the record's -1
    const qsizetype First = Form.indexOf(Mark), Second = Form.indexOf(Mark, First + 1);
    const qsizetype Dictionary = Form.indexOf(QByteArray("\xFE\xFE\xFF", 3));
    EXPECT_GT(Second, First);
    EXPECT_GT(Dictionary, Second);
    return QByteArray(Form).insert(Dictionary, Form.mid(First, Second - First));
}

// Drawing calls made for a page: its views as the designer draws them, or a
// prepared page, onto a recorder of the page's size.
int DrawCalls(const TfrPrnInfo& Paper, const std::function<void(TCanvas&)>& Draw)
{
    TfrDrawRecorder Device(QSize(Paper.PaperWidthPx, Paper.PaperHeightPx));
    {
        QPainter Painter(&Device);
        TCanvas Canvas(&Painter);
        Draw(Canvas);
    }
    return static_cast<int>(Device.Records().size());
}

// The base form's views make some dozens; a loop over what no surface shows,
// hundreds of thousands.
constexpr int MaxDrawCalls = 10000;

struct TLimitRow
{
    const char* Name;
    std::function<void(TfrReport&)> Change;
    bool Refused;
    bool ExtraPage = false;
};

void PrintTo(const TLimitRow& Row, std::ostream* Out)
{
    *Out << Row.Name;
}

class FormLimitsTest : public preparedtest::TPreparedTest, public ::testing::WithParamInterface<TLimitRow>
{
protected:
    void SetUp() override
    {
        TPreparedTest::SetUp();
        TRegIniFile::SetStorageFolder(Settings.path());
        frRegisterDesigner();
    }
    void TearDown() override
    {
        Designer.reset();
        frUnregisterDesigner();
        TRegIniFile::SetStorageFolder(QString());
        DisableDrawing = false;
        TPreparedTest::TearDown();
    }

    QTemporaryDir Settings;
    std::unique_ptr<TfrDesignerForm> Designer;
};

TEST_P(FormLimitsTest, IsRefusedPastTheLimitAndWorksAtIt)
{
    const TLimitRow& Row = GetParam();
    QByteArray Bytes;
    {
        TfrReport Source;
        CurReport = &Source;
        LimitForm(Source);
        Row.Change(Source);
        Bytes = FormBytes(Source);
        if (Row.ExtraPage)
            Bytes = OnePageMore(Bytes);
    }
    CurReport = &Report;
    Report.SetShowProgress(false);
    QStringList Messages;
    TModalHandlers Handlers(nullptr, [&](const TMessageRequest& M) {
        Messages << M.Caption + u':' + M.Text;
        return mrOk;
    });
    TMemoryStream In(Bytes);
    const bool Loaded = Report.LoadFromStream(In);
    if (Row.Refused) {
        EXPECT_FALSE(Loaded);
        EXPECT_EQ(Messages, QStringList{QStringLiteral("Error:Unsupported FRF format")});
        ASSERT_EQ(Report.Pages()->Count(), 1);
        EXPECT_EQ(FirstPage(Report)->Count(), 0);
        return;
    }
    ASSERT_TRUE(Loaded);
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join(u'\n').toStdString();
    // As written, the date of the last change aside.
    EXPECT_EQ(FormBytes(Report).chopped(8), Bytes.chopped(8));

    DocMode = dmDesigning;
    CurPage = FirstPage(Report);
    EXPECT_LT(DrawCalls(CurPage->PrnInfo, [&](TCanvas& C) {
                  for (int i = 0; i < CurPage->Count(); ++i)
                      CurPage->Objects(i)->Draw(&C);
              }),
              MaxDrawCalls);

    ASSERT_TRUE(Report.PrepareReport());
    TfrEMFPages& Pages = *Report.EMFPages();
    ASSERT_GE(Pages.Count(), 1);
    TfrPageInfo& Info = *Pages.Items(0);
    EXPECT_LT(DrawCalls(Info.PagePrnInfo, [&](TCanvas& C) {
                  Info.OnScreen = true;
                  Pages.Draw(0, &C, QRect(0, 0, Info.PagePrnInfo.PaperWidthPx, Info.PagePrnInfo.PaperHeightPx));
              }),
              MaxDrawCalls);

    Designer = std::make_unique<TfrDesignerForm>(1);
    frDesigner = Designer.get();
    Designer->resize(900, 640);
    Designer->FormShow();
    for (int p = 0; p < std::min(Report.Pages()->Count(), 2); ++p) {
        Designer->SetCurPage(p);
        Designer->RedrawPage();
        const QImage* Image = Designer->PageView->Canvas()->Image();
        EXPECT_LE(qint64(Image->width()) * Image->height(), 3840 * 2160);
        // Painted: the ground with the grid, bands and frames on it.
        QSet<QRgb> Colours;
        for (int Y = 0; Y < Image->height() && Colours.size() < 2; ++Y)
            for (int X = 0; X < Image->width(); ++X)
                Colours.insert(Image->pixel(X, Y));
        EXPECT_GE(Colours.size(), 2) << p;
    }
}

void Custom(TfrPage* P, int Width, int Height)
{
    P->Size = frCustomPaper;
    P->Width = Width;
    P->Height = Height;
}

// A dialog page after the report page, Width wide at 220 from the left.
void DialogOf(TfrReport& R, int Width)
{
    R.Pages()->Add();
    TfrPage* Dialog = R.Pages()->Pages(1);
    Dialog->PageType = ptDialog;
    Dialog->FormWidth = Width;
}

const TLimitRow LimitRows[] = {
    {"MemoEndingAtTheRightLimit", [](TfrReport& R) { LimitMemo(R)->SetLeft(100000 - 150); }, false},
    {"MemoEndingPastIt", [](TfrReport& R) { LimitMemo(R)->SetLeft(100000 - 149); }, true},
    {"MemoAtTheLeftLimit", [](TfrReport& R) { LimitMemo(R)->SetLeft(-100000); }, false},
    {"MemoPastIt", [](TfrReport& R) { LimitMemo(R)->SetLeft(-100001); }, true},
    {"TallMemoOfRuledLines", [](TfrReport& R) { LimitMemo(R)->SetHeight(100000 - 45); }, false},
    {"MemoTallerStill", [](TfrReport& R) { LimitMemo(R)->SetHeight(100000 - 44); }, true},
    {"WidestGap", [](TfrReport& R) { LimitMemo(R)->SetGapX(100000); }, false},
    {"GapWiderStill", [](TfrReport& R) { LimitMemo(R)->SetGapX(100001); }, true},
    {"MostNegativeGap", [](TfrReport& R) { LimitMemo(R)->SetGapY(-100000); }, false},
    {"GapBelowIt", [](TfrReport& R) { LimitMemo(R)->SetGapY(-100001); }, true},
    {"WidestDashedFrame", [](TfrReport& R) { LimitMemo(R)->SetFrameWidth(100000); }, false},
    {"FrameWiderStill", [](TfrReport& R) { LimitMemo(R)->SetFrameWidth(100001); }, true},
    {"WidestLineSpacingOfALongText",
     [](TfrReport& R) {
         LimitMemo(R)->SetLineSpacing(100000);
         LimitMemo(R)->Memo()->SetText(QStringLiteral("Limits\r\n").repeated(30000));
         LimitBand(R)->SetFlags(LimitBand(R)->Flags() | flBandStretched);
     },
     false},
    {"LineSpacingWiderStill", [](TfrReport& R) { LimitMemo(R)->SetLineSpacing(100001); }, true},
    {"MostNegativeCharSpacing", [](TfrReport& R) { LimitMemo(R)->SetCharSpacing(-100000); }, false},
    {"CharSpacingBelowIt", [](TfrReport& R) { LimitMemo(R)->SetCharSpacing(-100001); }, true},
    {"BandOf255Columns", [](TfrReport& R) { LimitBand(R)->SetColumns(255); }, false},
    {"BandOf256Columns", [](TfrReport& R) { LimitBand(R)->SetColumns(256); }, true},
    {"WidestBandColumns", [](TfrReport& R) { LimitBand(R)->SetColumnWidth(100000); }, false},
    {"BandColumnsWiderStill", [](TfrReport& R) { LimitBand(R)->SetColumnWidth(100001); }, true},
    {"MostNegativeBandColumnGap", [](TfrReport& R) { LimitBand(R)->SetColumnGap(-100000); }, false},
    {"BandColumnGapBelowIt", [](TfrReport& R) { LimitBand(R)->SetColumnGap(-100001); }, true},
    {"LargestCustomPaper", [](TfrReport& R) { Custom(FirstPage(R), 12000, 12000); }, false},
    {"CustomPaperLargerStill", [](TfrReport& R) { Custom(FirstPage(R), 12000, 12001); }, true},
    {"WidestMargin", [](TfrReport& R) { Custom(FirstPage(R), 12000, 12000); FirstPage(R)->LeftMargin = 4320; }, false},
    {"MarginWiderStill", [](TfrReport& R) { Custom(FirstPage(R), 12000, 12000); FirstPage(R)->LeftMargin = 4321; },
     true},
    {"NegativeMargin", [](TfrReport& R) { FirstPage(R)->TopMargin = -1; }, true},
    {"MarginsLeavingAPixel", [](TfrReport& R) { FirstPage(R)->LeftMargin = 400; FirstPage(R)->RightMargin = 357; },
     false},
    {"MarginsLeavingNone", [](TfrReport& R) { FirstPage(R)->LeftMargin = 400; FirstPage(R)->RightMargin = 358; },
     true},
    {"PageOf255Columns", [](TfrReport& R) { FirstPage(R)->Columns = 255; }, false},
    {"PageOf256Columns", [](TfrReport& R) { FirstPage(R)->Columns = 256; }, true},
    {"PageColumnsOfAPixel", [](TfrReport& R) { FirstPage(R)->Columns = 2; FirstPage(R)->ColumnGap = 756; }, false},
    {"PageColumnsOfNone", [](TfrReport& R) { FirstPage(R)->Columns = 2; FirstPage(R)->ColumnGap = 757; }, true},
    {"WidestColumnGap", [](TfrReport& R) { FirstPage(R)->ColumnGap = 4320; }, false},
    {"ColumnGapWiderStill", [](TfrReport& R) { FirstPage(R)->ColumnGap = 4321; }, true},
    {"DialogEndingAtTheRightLimit", [](TfrReport& R) { DialogOf(R, 100000 - 220); }, false},
    {"DialogEndingPastIt", [](TfrReport& R) { DialogOf(R, 100000 - 219); }, true},
    {"256Pages", [](TfrReport& R) { while (R.Pages()->Count() < 256) R.Pages()->Add(); }, false},
    {"257Pages", [](TfrReport& R) { while (R.Pages()->Count() < 256) R.Pages()->Add(); }, true, true},
};
INSTANTIATE_TEST_SUITE_P(Form, FormLimitsTest, ::testing::ValuesIn(LimitRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

} // namespace
