#include "DesignerTestUtil.h"

#include "platform/gui/ComCtrls.h"
#include "platform/gui/Menus.h"
#include "report/designer/FR_Combo.h"
#include "report/designer/FR_Insp.h"
#include "report/engine/FR_Dock.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QScrollBar>
#include <QWheelEvent>

namespace designertest {
namespace {

QImage Pixels(TfrDesignerForm* D)
{
    D->RedrawPage();
    return D->PageView->Canvas()->Image()->copy();
}

bool Black(const QImage& I, int X, int Y)
{
    return (I.pixel(X, Y) & 0xFFFFFF) == 0;
}

struct TGridRow
{
    const char* Name;
    int Step;
    std::vector<QPoint> Dots, Blank;
};

class GridTest : public TDesignerTest, public ::testing::WithParamInterface<TGridRow>
{
};

TEST_P(GridTest, DotsRepeatByTheGridStep)
{
    Open();
    Designer->GridSizeX = Designer->GridSizeY = GetParam().Step;
    Page()->UseMargins = 0;
    const QImage I = Pixels(Designer.get());
    for (const QPoint& P : GetParam().Dots)
        EXPECT_TRUE(Black(I, P.x(), P.y())) << P.x() << "," << P.y();
    for (const QPoint& P : GetParam().Blank)
        EXPECT_FALSE(Black(I, P.x(), P.y())) << P.x() << "," << P.y();
}

const TGridRow GridRows[] = {
    {"Four", 4, {{0, 0}, {4, 0}, {4, 4}, {96, 100}}, {{2, 0}, {5, 4}}},
    {"Eight", 8, {{0, 0}, {8, 8}, {96, 104}}, {{4, 0}, {4, 4}}},
    {"Eighteen", 18, {{0, 0}, {18, 0}, {36, 54}}, {{8, 0}, {16, 0}}},
};
INSTANTIATE_TEST_SUITE_P(Designer, GridTest, ::testing::ValuesIn(GridRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(TDesignerTest, MarginsAndColumnsAreDrawnInGrey)
{
    Open();
    Designer->GridShow = false;
    Page()->LeftMargin = 40;
    Page()->TopMargin = 40;
    Page()->RightMargin = 40;
    Page()->BottomMargin = 40;
    Page()->Columns = 2;
    Page()->ColumnGap = 20;
    const QImage I = Pixels(Designer.get());
    const int Right = Page()->GetRightBound();
    EXPECT_EQ(I.pixel(40, 100) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(Page()->ColumnWidth, (Right - 40 - 20) / 2);
    EXPECT_EQ(I.pixel(41, 40) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(I.pixel(41, 39) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(TDesignerTest, XorFeedbackDrawnTwiceRestoresEveryPixel)
{
    Open();
    Build(QStringLiteral("Memo1 8,8 96x20 sel; Band1 band 0,40 600x40"));
    const QImage Before = Pixels(Designer.get());
    TfrDesignerPage* P = Designer->PageView;
    for (const TfrRect& R : {TfrRect{5, 5, 120, 60}, TfrRect{30, 10, 31, 80}, TfrRect{10, 30, 90, 31}}) {
        P->XorOutline(R);
        P->XorSplitLine(R);
        P->XorLinePreview(R);
        P->DrawSelected(1);
        P->DrawSelected(2);
        EXPECT_NE(*P->Canvas()->Image(), Before);
        P->DrawSelected(2);
        P->DrawSelected(1);
        P->XorLinePreview(R);
        P->XorSplitLine(R);
        P->XorOutline(R);
        EXPECT_EQ(*P->Canvas()->Image(), Before);
    }
}

TEST_F(TDesignerTest, HandlesOfAMultipleSelectionMarkTheCornerViewInTeal)
{
    Open();
    Designer->GridShow = false;
    Page()->UseMargins = 0;
    Build(QStringLiteral("Memo1 20,20 40x20 sel; Memo2 80,60 40x20 sel"));
    const QImage I = Pixels(Designer.get());
    // Beside the views the 5-pixel dots lie on white: teal ($808000, RGB
    // 008080) XOR white for the corner view, white XOR white for the others.
    EXPECT_EQ(I.pixel(122, 82) & 0xFFFFFF, 0xFF7F7Fu);
    EXPECT_EQ(I.pixel(62, 42) & 0xFFFFFF, 0u);
    EXPECT_EQ(I.pixel(40, 18) & 0xFFFFFF, 0xFFFFFFu) << "no edge midpoints with several views";
}

TEST_F(TDesignerTest, PaintUptoLeavesHigherViewsUnpainted)
{
    Open();
    Designer->GridShow = false;
    Build(QStringLiteral("Memo1 20,20 40x40; Memo2 100,20 40x40"));
    Page()->Objects(0)->SetFillColor(0x0000FF);
    Page()->Objects(1)->SetFillColor(0x00FF00);
    TfrDesignerPage* P = Designer->PageView;
    P->Canvas()->Brush()->SetColor(clBlack);
    P->Canvas()->FillRect(P->rect());
    P->PaintViews(0);
    const QImage I = P->Canvas()->Image()->copy();
    EXPECT_EQ(I.pixel(40, 40) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(I.pixel(120, 40) & 0xFFFFFF, 0u);
    EXPECT_EQ(I.pixel(80, 40) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(TDesignerTest, ZeroWidthLineIsHitWithinThreePixels)
{
    Open();
    Build(QStringLiteral("Line1 line 10,10 0x40"));
    TfrDesignerPage* P = Designer->PageView;
    EXPECT_NE(P->HitTest(13, 30), nullptr);
    EXPECT_NE(P->HitTest(7, 30), nullptr);
    EXPECT_EQ(P->HitTest(14, 30), nullptr);
    EXPECT_EQ(P->HitTest(10, 54), nullptr);
}

TEST_F(TDesignerTest, DesignActionOpensTheDesignerAndCloseEndsWithOk)
{
    QStringList Seen;
    TModalHandlers Seam(
        [&](TForm* Form) {
            auto* D = dynamic_cast<TfrDesignerForm*>(Form);
            if (!D)
                return mrCancel;
            Seen << D->Caption();
            D->ExitB->Click();
            return mrNone;
        },
        nullptr);
    Report.SetFileName(QStringLiteral("/tmp/Frf/Bill.frf"));
    EXPECT_EQ(Report.DesignReport(), mrOk);
    EXPECT_EQ(Seen, QStringList{QStringLiteral("Designer - Bill.frf")});
    EXPECT_EQ(frDesigner, nullptr);
}

TEST_F(TDesignerTest, PreparedPageEditingKeepsReportCommandsOffAndTheFileName)
{
    Report.SetFileName(QStringLiteral("Bill.frf"));
    Open(0);
    for (TfrSpeedButton* B : Designer->FlagButtons)
        EXPECT_FALSE(B->Enabled()) << B->objectName().toStdString();
    EXPECT_FALSE(Designer->ToolButton(gtBand)->Enabled());
    EXPECT_FALSE(Designer->ToolButton(gtSubReport)->Enabled());
    // Save follows the modified state; only designing marks the report changed.
    EXPECT_FALSE(Designer->FileBtn3->Enabled());
    Designer->SetModified(true);
    EXPECT_TRUE(Designer->FileBtn3->Enabled());
    EXPECT_TRUE(Designer->N20->Enabled());
    EXPECT_TRUE(Report.Modified());
    EXPECT_FALSE(Report.ChangedInDesigner());
    for (TMenuItem* Item : {Designer->N23, Designer->N19, Designer->N39, Designer->N29, Designer->N41,
                            Designer->N15, Designer->N30, Designer->N44, Designer->N42, Designer->N8})
        EXPECT_FALSE(Item->Enabled()) << Item->objectName().toStdString();
    EXPECT_TRUE(Designer->N17->Enabled());
    EXPECT_FALSE(Designer->MastMenu->Enabled()) << "no extra tools when editing a prepared page";
    EXPECT_EQ(Designer->Caption(), QStringLiteral("Designer - Untitled"));
    Designer.reset();
    EXPECT_EQ(Report.FileName(), QStringLiteral("Bill.frf"));
}

TEST_F(TDesignerTest, FirstDialogPageOpensInItsFormWithDialogControls)
{
    Page()->PageType = ptDialog;
    Page()->Caption = QStringLiteral("Ask");
    Open();
    ASSERT_NE(Designer->DialogPageForm, nullptr);
    EXPECT_EQ(Designer->PageView->parentWidget(), Designer->DialogPageForm);
    EXPECT_EQ(Designer->DialogPageForm->Caption(), QStringLiteral("Ask"));
    EXPECT_FALSE(Designer->ToolButton(gtMemo)->isVisibleTo(Designer->Panel4));
    Report.Pages()->Add();
    Designer->SetCurPage(1);
    EXPECT_EQ(Designer->DialogPageForm, nullptr);
    EXPECT_EQ(Designer->PageView->parentWidget(), Designer->ScrollHost);
    EXPECT_TRUE(Designer->ToolButton(gtMemo)->isVisibleTo(Designer->Panel4));
}

TEST_F(TDesignerTest, SelectObjectByViewOrPageName)
{
    Report.Pages()->Add();
    Report.Pages()->Add();
    Open();
    Build(QStringLiteral("Memo1 8,8 96x20; Page2 8,40 96x20"));
    const struct
    {
        const char* Name;
        int Page;
        const char* Selected;
    } Rows[] = {
        {"memo1", 0, "Memo1"}, {"Page2", 0, "Page2"}, {"Page3", 2, ""}, {"PageHeader1", 2, ""},
        {"Page0", 2, ""},      {"Page4", 2, ""},      {"Page1", 0, ""},
    };
    for (const auto& R : Rows) {
        Designer->SelectObject(QString::fromUtf8(R.Name));
        EXPECT_EQ(Designer->CurPageIndex(), R.Page) << R.Name;
        QStringList Selected;
        for (int i = 0; i < Designer->Page->Count(); ++i)
            if (Designer->Page->Objects(i)->Selected())
                Selected << Designer->Page->Objects(i)->Name();
        EXPECT_EQ(Selected.join(u','), QString::fromUtf8(R.Selected)) << R.Name;
    }
}

TEST_F(TDesignerTest, MenusTakeTheirTextsAndTheTabMenuRunsItsTwins)
{
    Open();
    const std::pair<TMenuItem*, const char*> Rows[] = {
        {Designer->FileMenu, "&File"},      {Designer->N10, "E&xit"},        {Designer->N33, "Send to &back"},
        {Designer->Pan5, "Object &Inspector"}, {Designer->Pan8, "Insert data field"},
        {Designer->N15, "Add dialog &form"}, {Designer->N6, "&Edit..."},       {Designer->N45, "Add dialog &form"},
        {Designer->N43, "&Remove page"}};
    for (const auto& [Item, Text] : Rows)
        EXPECT_EQ(Item->Caption(), QString::fromUtf8(Text)) << Item->objectName().toStdString();
    EXPECT_EQ(Designer->C3->count(), 19);
    EXPECT_EQ(Designer->C4->itemText(0), QStringLiteral("0,1"));
    int Added = 0;
    Designer->N29->OnClick = [&](QObject*) { ++Added; };
    Designer->N41->Click();
    EXPECT_EQ(Added, 1);

    // The engine's hooks lead into the window while it lives, and nowhere after.
    int Highlights = 0;
    Designer->HlB1->OnClick = [&](QObject*) { ++Highlights; };
    ASSERT_TRUE(frHighlightEditor);
    frHighlightEditor();
    EXPECT_EQ(Highlights, 1);
    Designer->SetModified(true);
    EXPECT_TRUE(Report.ChangedInDesigner());
    Designer.reset();
    EXPECT_FALSE(frHighlightEditor);
}

TEST_F(TDesignerTest, ToolbarsMenuShowsAndTogglesTheBars)
{
    Open();
    Designer->show();
    Designer->N37->OnClick(Designer->N37);
    EXPECT_TRUE(Designer->Pan1->Checked());
    EXPECT_EQ(Designer->Pan5->Checked(), Designer->InspForm && Designer->InspForm->isVisible());
    Designer->Pan1->Click();
    EXPECT_FALSE(Designer->Panel1->IsVisible());
    Designer->Pan1->Click();
    EXPECT_TRUE(Designer->Panel1->IsVisible());
    Designer->Pan6->Click();
    EXPECT_FALSE(Designer->Panel5->IsVisible()) << "Pan6 is the alignment palette";
}

struct TBarsRow
{
    const char* Name;
    std::function<void()> Before;                  // the settings folder before the first session
    std::function<void(TfrDesignerForm*)> First;   // done in the first session, before its places are taken
};

class ToolbarsTest : public TDesignerTest, public ::testing::WithParamInterface<TBarsRow>
{
protected:
    // "Panel2 frDock1 0,0 ..." for every visible bar; overlapping bars and
    // buttons outside the window are reported.
    QString Places() const
    {
        QStringList L;
        std::vector<TfrToolBar*> Shown;
        for (TfrToolBar* T : {Designer->Panel1, Designer->Panel2, Designer->Panel3, Designer->Panel4,
                              Designer->Panel5, Designer->Panel6}) {
            if (!T->IsVisible())
                continue;
            L << QStringLiteral("%1 %2 %3,%4").arg(T->objectName(), T->parentWidget()->objectName())
                     .arg(T->x()).arg(T->y());
            for (TfrToolBar* U : Shown)
                if (U->parentWidget() == T->parentWidget() && U->geometry().intersects(T->geometry()))
                    L << T->objectName() + QStringLiteral(" covers ") + U->objectName();
            Shown.push_back(T);
            for (TfrTBButton* B : T->findChildren<TfrTBButton*>())
                if (!B->isHidden() && !Designer->rect().contains(QRect(B->mapTo(Designer.get(), QPoint()), B->size())))
                    L << B->objectName() + QStringLiteral(" outside");
        }
        return L.join(QStringLiteral("; "));
    }
};

// The bars come back where they were, whatever the settings folder held.
TEST_P(ToolbarsTest, ComeBackWhereTheyWereAndNeverOverlap)
{
    QString Expected;
    if (GetParam().Before)
        GetParam().Before();
    for (int Session = 0; Session < 3; ++Session) {
        Open();
        if (Session == 0) {
            if (GetParam().First)
                GetParam().First(Designer.get());
            Expected = Places();
            EXPECT_FALSE(Expected.contains(QStringLiteral("covers")) || Expected.contains(QStringLiteral("outside")))
                << Expected.toStdString();
            EXPECT_EQ(Designer->Panel4->parentWidget(), Designer->frDock2);
            EXPECT_EQ(Designer->Panel5->parentWidget(), Designer->frDock4);
        } else {
            EXPECT_EQ(Places(), Expected) << Session;
        }
        Designer.reset();
    }
}

const TBarsRow BarsRows[] = {
    {"FreshFolder", nullptr, nullptr},
    {"BarMovedToTheFirstRow", nullptr,
     [](TfrDesignerForm* D) {
         // The Rectangle bar dragged from the third row up beside the Standard bar.
         TfrToolBar* Bar = D->Panel1;
         ASSERT_EQ(Bar->y(), 52);
         const QPoint Start = Bar->DragBox()->mapToGlobal(QPoint(5, 5));
         Bar->DragMouseDown(Start);
         Bar->DragMouseMove(Start + QPoint(D->Panel2->width() + 20, -52));
         Bar->DragMouseUp();
         ASSERT_EQ(Bar->y(), 0);
     }},
    {"FirstRowDraggedBelowTheOthers", nullptr,
     [](TfrDesignerForm* D) {
         // The Standard bar put beside the Rectangle bar: the Text bar's row is the first.
         TfrToolBar* Bar = D->Panel2;
         const QPoint Start = Bar->DragBox()->mapToGlobal(QPoint(5, 5));
         Bar->DragMouseDown(Start);
         Bar->DragMouseMove(Start + QPoint(0, 52));
         Bar->DragMouseUp();
         ASSERT_EQ(QStringLiteral("%1 %2,%3").arg(D->Panel3->y()).arg(D->Panel1->y()).arg(Bar->y()),
                   QStringLiteral("0 26,26"));
     }},
    // The Text bar saved on the Standard bar's row: it gets a row of its own.
    {"OverlapStoredByAnEarlierVersion",
     [] { TRegIniFile(frRegRootKey).WriteInteger(QStringLiteral("ToolBar\\Panel3"), QStringLiteral("YPosition"), 0); },
     nullptr},
};
INSTANTIATE_TEST_SUITE_P(Designer, ToolbarsTest, ::testing::ValuesIn(BarsRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(TDesignerTest, StatusBarUnitsWheelAndDialogPageKeys)
{
    Page()->PageType = ptDialog;
    Report.Pages()->Add();
    Open();
    TCustomControl* Status = Designer->StatusBar1;
    for (const auto& [X, Units] : {std::pair{10, 1}, {200, 1}, {70, 2}, {5, 0}}) {
        Status->OnMouseDown(Status, mbLeft, {}, X, 5);
        Status->OnDblClick(Status);
        EXPECT_EQ(Designer->Units, Units) << X;
    }

    Build(QStringLiteral("Memo1 8,8 96x20; Memo2 8,40 96x20"));
    int Key = 'A';
    Designer->DialogPageForm->OnKeyDown(Designer->DialogPageForm, Key, TShiftState{ssCtrl});
    EXPECT_EQ(SelCount, 2);

    Designer->SetCurPage(1);
    Designer->show();
    QScrollBar* Bar = Designer->ScrollBox1->verticalScrollBar();
    ASSERT_GT(Bar->maximum(), 16);
    for (const auto& [Delta, Value] : {std::pair{-240, 16}, {120, 8}}) {
        QWheelEvent Wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, Delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(Designer->ScrollBox1->viewport(), &Wheel);
        EXPECT_EQ(Bar->value(), Value) << Delta;
    }
}

TEST_F(TDesignerTest, ExtraToolsAndDialogControlsComeFromTheEngineLists)
{
    int Clicks = 0;
    frTools.push_back({QStringLiteral("53080"), QImage(), [&] { ++Clicks; }});
    frAddIns.push_back({QStringLiteral("TfrCheck"), nullptr, QString(), QStringLiteral("Check"), nullptr, 1});
    Open();
    frTools.clear();
    frAddIns.clear();
    ASSERT_TRUE(Designer->MastMenu->Enabled());
    ASSERT_EQ(Designer->MastMenu->Count(), 2);
    EXPECT_EQ(Designer->MastMenu->Items(0), Designer->InsFieldsItem);
    EXPECT_EQ(Designer->MastMenu->Items(1)->Caption(), QStringLiteral("Designer"));
    Designer->MastMenu->Items(1)->Click();
    for (auto* B : Designer->Panel6->findChildren<TfrTBButton*>())
        if (B->Tag() == 36 && B->Hint() == QStringLiteral("Designer"))
            B->Click();
    EXPECT_EQ(Clicks, 2);
    EXPECT_FALSE(Designer->ToolButton(10)->isVisibleTo(Designer->Panel4)) << "dialog controls wait for a dialog page";
}

} // namespace
} // namespace designertest
