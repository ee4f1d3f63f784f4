// The preview's layout per zoom mode, its painting, the key table, the zoom
// menu with the memory it leaves for the next preview, and the embedded panel.
// An A4 page on the virtual printer is 758 x 1071 layout pixels.
#include "PreviewTestUtil.h"

#include "platform/gui/Application.h"
#include "platform/gui/Menus.h"
#include "report/engine/FR_ClassDesigner.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TestRender.h"
#include "report/engine/FR_MemoView.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QLabel>

using namespace previewtest;

namespace {

QString Layout(TfrPreviewForm* F)
{
    QStringList Out;
    for (int i = 0; i < F->PageCount(); ++i) {
        const QRect R = F->EMFPages->Items(i)->PageRect;
        Out << QStringLiteral("%1,%2 %3x%4").arg(R.left()).arg(R.top()).arg(R.width()).arg(R.height());
    }
    return Out.join(u'|') + QStringLiteral(" h%1 v%2").arg(F->HScrollBar->Max()).arg(F->VScrollBar->Max());
}

void Key(QWidget* W, int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier)
{
    QKeyEvent Press(QEvent::KeyPress, QtKey, Mods);
    QCoreApplication::sendEvent(W, &Press);
}

} // namespace

TEST_F(TPreviewTest, LayoutPerZoomMode)
{
    struct TRow
    {
        const char* Name;
        int Pages, W, H, Tag;
        double Scale;
        const char* Layout;
    };
    const TRow Rows[] = {
        {"WholePageFitsTheBoxHeightCentred", 1, 800, 620, 2, 600.0 / 1071, "187,10 425x600 h0 v0"},
        {"PageWidthLeavesTenEachSide", 1, 800, 620, 1, 780.0 / 758, "10,10 780x1102 h0 v502"},
        {"TwoPagesSideBySide", 3, 800, 620, 3, 770.0 / 1516, "10,10 385x544|405,10 385x544|10,564 385x544 h0 v498"},
        {"FourAtHalfInRowsOfTwo", 4, 1000, 700, 50, 0.5,
         "10,10 379x536|399,10 379x536|10,556 379x536|399,556 379x536 h0 v402"},
        {"OnePerRowCentredInAWideBox", 2, 1000, 700, 100, 1.0, "121,10 758x1071|121,1091 758x1071 h0 v1472"},
        {"NotCentredInANarrowBox", 1, 700, 700, 100, 1.0, "10,10 758x1071 h78 v391"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        Report->EMFPages()->Clear();
        AddPages(Row.Pages);
        TfrPreviewForm* F = Open(Row.W, Row.H, Row.Tag);
        EXPECT_DOUBLE_EQ(F->Scale, Row.Scale);
        EXPECT_EQ(Layout(F), Row.Layout);
        EXPECT_EQ(F->ZoomBtn->Caption(), QString::number(qRound(Row.Scale * 100)) + u'%');
        F->Disconnect();
    }
}

TEST_F(TPreviewTest, PaintsPagesWithShadowAndContentInTheirArea)
{
    // A red memo at the page's corner: on the paper with margins in use,
    // inside the printable area (offset 18 px, margins 10 px) without; all at
    // half size.
    for (bool UseMargins : {true, false}) {
        SCOPED_TRACE(UseMargins ? "margins in use" : "printable area");
        Report->EMFPages()->Clear();
        AddPreparedPage(Report->EMFPages(), {{"Memo1", "", QRect(0, 0, 100, 50), clRed}}, UseMargins);
        for (int32_t& M : Report->EMFPages()->Items(0)->PageMargins)
            M = 10;
        TfrPreviewForm* F = Open(1000, 700, 50);
        const QImage& I = *F->PaintBox->Canvas()->Image();
        const QRect P = F->EMFPages->Items(0)->PageRect;
        EXPECT_EQ(P, QRect(310, 10, 379, 536));
        EXPECT_EQ(uitest::Pixel(I, 5, 5), 0x808080u) << "grey around the pages";
        EXPECT_EQ(uitest::Pixel(I, P.left(), P.top() + 300), 0x000000u) << "frame";
        EXPECT_EQ(uitest::Pixel(I, P.left() + 300, P.top() + 400), 0xFFFFFFu) << "paper";
        EXPECT_EQ(uitest::Pixel(I, P.left() + 300, P.top() + P.height()), 0x000000u) << "shadow under the page";
        EXPECT_EQ(uitest::Pixel(I, P.left() + P.width(), P.top() + 300), 0x000000u) << "shadow right of it";
        EXPECT_EQ(uitest::Pixel(I, P.left() + 300, P.top() + P.height() + 1), 0x808080u);
        const QPoint Memo = UseMargins ? P.topLeft() : P.topLeft() + QPoint(14, 14);
        EXPECT_EQ(uitest::Pixel(I, Memo.x() + 1, Memo.y() + 1), 0xFF0000u) << "the memo's fill";
        EXPECT_EQ(uitest::Pixel(I, Memo.x() + 44, Memo.y() + 21), 0xFF0000u) << "scaled into the area";
        EXPECT_NE(uitest::Pixel(I, Memo.x() + 52, Memo.y() + 27), 0xFF0000u);
        EXPECT_NE(uitest::Pixel(I, Memo.x() - 1, Memo.y() - 1), 0xFF0000u);
        F->Disconnect();
    }
}

TEST_F(TPreviewTest, KeysPageAndScroll)
{
    // Pages at 10, 1091 and 2172; the bar ends at 2653.
    AddPages(3);
    TfrPreviewForm* F = Open(800, 600, 100);
    F->show();
    struct TStep
    {
        const char* Name;
        int QtKey;
        Qt::KeyboardModifiers Mods;
        const char* After;   // page/vertical position
    };
    const TStep Steps[] = {
        {"Down", Qt::Key_Down, Qt::NoModifier, "1/10"},
        {"PageDown", Qt::Key_PageDown, Qt::NoModifier, "1/210"},
        {"Up", Qt::Key_Up, Qt::NoModifier, "1/200"},
        {"CtrlPageDownNextPage", Qt::Key_PageDown, Qt::ControlModifier, "2/1081"},
        {"PageUp", Qt::Key_PageUp, Qt::NoModifier, "1/881"},
        {"CtrlEndLastPage", Qt::Key_End, Qt::ControlModifier, "3/2162"},
        {"CtrlPageDownStaysOnTheLast", Qt::Key_PageDown, Qt::ControlModifier, "3/2162"},
        {"CtrlHomeTopOfTheFirst", Qt::Key_Home, Qt::ControlModifier, "1/0"},
        {"CtrlPageUpStaysOnTheFirst", Qt::Key_PageUp, Qt::ControlModifier, "1/0"},
        {"HomeAloneIsNotOurs", Qt::Key_Home, Qt::NoModifier, "1/0"},
    };
    for (const TStep& S : Steps) {
        SCOPED_TRACE(S.Name);
        Key(F->ScrollBox1, S.QtKey, S.Mods);
        EXPECT_EQ(QStringLiteral("%1/%2").arg(F->CurPage).arg(F->VScrollBar->Position()), S.After);
    }
    EXPECT_EQ(F->Label1->text(), "Page 1/3");
    // Escape closes the window.
    Key(F->ScrollBox1, Qt::Key_Escape);
    EXPECT_FALSE(F->isVisible());
    F->Disconnect();
}

TEST_F(TPreviewTest, ZoomTagsAreRememberedForTheNextPreview)
{
    AddPages(1);
    struct TRow
    {
        int Tag;
        uint8_t Mode;
        double Scale;
        int Checked;   // index of the checked zoom item
    };
    const TRow Rows[] = {
        {200, zmPercent, 2.0, 0}, {75, zmPercent, 0.75, 3}, {10, zmPercent, 0.1, 6},
        {1, zmPageWidth, 780.0 / 758, 7}, {2, zmWholePage, 580.0 / 1071, 8}, {3, zmTwoPages, 770.0 / 1516, 9},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Tag);
        Open(800, 600, 100);
        Form->HScrollBar->SetParams(50, 0, 100);
        // As the user picks it from the zoom menu.
        TMenuItem* Item = nullptr;
        for (int i = 0; i < Form->ProcMenu->Items()->Count(); ++i)
            if (Form->ProcMenu->Items()->Items(i)->Tag() == Row.Tag)
                Item = Form->ProcMenu->Items()->Items(i);
        ASSERT_TRUE(Item);
        Item->Click();
        EXPECT_EQ(Form->HScrollBar->Position(), 0);
        Form->Disconnect();
        // A new preview starts where the last one ended.
        Form = std::make_unique<TfrPreviewForm>();
        Form->Connect(Report.get());
        Form->PaintBox->resize(800, 600);
        Form->InitView(true);
        EXPECT_EQ(Form->ZoomMode, Row.Mode);
        EXPECT_DOUBLE_EQ(Form->Scale, Row.Scale);
        int Checked = -1, Index = 0;
        for (int i = 0; i < Form->ProcMenu->Items()->Count(); ++i) {
            TMenuItem* It = Form->ProcMenu->Items()->Items(i);
            if (It->IsSeparator())
                continue;
            if (It->Checked())
                Checked = Index;
            ++Index;
        }
        EXPECT_EQ(Checked, Row.Checked);
        Form->Disconnect();
    }
    Open(800, 600, 100);
}

TEST_F(TPreviewTest, ScrollingFollowsTheCurrentPage)
{
    AddPages(3);
    TfrPreviewForm* F = Open(800, 600, 100);
    // The page spanning the line 11 pixels below the top is current.
    const std::pair<int, int> Rows[] = {{0, 1}, {1069, 1}, {1070, 1}, {1080, 2}, {2160, 2}, {2161, 3}};
    for (const auto& [Pos, Page] : Rows) {
        SCOPED_TRACE(Pos);
        F->VScrollBar->SetPosition(Pos);
        EXPECT_EQ(F->OfsY, -Pos);
        EXPECT_EQ(F->CurPage, Page);
    }
    // Two wheel notches up scroll two small changes.
    F->ScrollLines(2);
    EXPECT_EQ(F->VScrollBar->Position(), 2141);
    F->Disconnect();
}

TEST_F(TPreviewTest, EmbeddedPanelBorrowsTheWindowsPanels)
{
    AddPages(2);
    Report->SetPreviewButtons(pbZoom | pbPrint | pbHelp | pbExit);
    TfrPreview Panel;
    Panel.resize(600, 500);
    int Changed = 0;
    Panel.OnPageChanged = [&](QObject* Sender, int PageNo) {
        EXPECT_EQ(Sender, &Panel);
        Changed = PageNo;
    };
    Panel.SetShowToolbar(true);
    Report->SetPreview(&Panel);
    Report->ShowPreparedReport();
    TfrPreviewForm* W = Panel.Window();
    EXPECT_EQ(W->PreviewPanel->parentWidget(), &Panel);
    EXPECT_EQ(W->ToolPanel->parentWidget(), &Panel);
    EXPECT_EQ(Report->EMFPages()->Count(), 0) << "the panel holds the pages";
    EXPECT_EQ(W->PageCount(), 2);
    EXPECT_EQ(W->WheelStep, 3);
    EXPECT_TRUE(W->HelpBtn->isHidden()) << "help and exit belong to a window";
    EXPECT_TRUE(W->ExitBtn->isHidden());
    EXPECT_FALSE(W->PrintBtn->isHidden());
    W->PgDownClick();
    EXPECT_EQ(Panel.Page(), 2);
    EXPECT_EQ(Changed, 2);
    Panel.SetScrollBars(ssVertical);
    EXPECT_TRUE(W->BPanel->isHidden());
    EXPECT_FALSE(W->RPanel->isHidden());
    Panel.Disconnect();
    EXPECT_EQ(Report->EMFPages()->Count(), 2) << "given back";
}

TEST_F(TPreviewTest, ShowsAReceiptInItsWindow)
{
    const int Centre = frtaCenter | frtaMiddle;
    AddPreparedPage(Report->EMFPages(),
                    {{"Memo1", "收款单", QRect(229, 60, 300, 40), clNone, 0, 20, Centre},
                     {"Memo2", "日期：2024-03-05", QRect(60, 120, 300, 24), clNone, 0, 10, frtaMiddle},
                     {"Memo3", "单号：SK-0042", QRect(398, 120, 300, 24), clNone, 0, 10, frtaRight | frtaMiddle},
                     {"Memo4", "客户", QRect(60, 150, 120, 30), clNone, 15, 10, Centre},
                     {"Memo5", "华北机电有限公司", QRect(180, 150, 518, 30), clNone, 15, 10, frtaMiddle},
                     {"Memo6", "金额", QRect(60, 180, 120, 30), clNone, 15, 10, Centre},
                     {"Memo7", "123.45", QRect(180, 180, 518, 30), clNone, 15, 10, frtaMiddle},
                     {"Memo8", "大写", QRect(60, 210, 120, 30), clNone, 15, 10, Centre},
                     {"Memo9", "壹佰贰拾叁元肆角伍分", QRect(180, 210, 518, 30), clNone, 15, 10, frtaMiddle},
                     {"Memo10", "经手人：李明", QRect(60, 250, 300, 24), clNone, 0, 10, frtaMiddle}});
    Report->SetTitle("Receipt");
    Form = std::make_unique<TfrPreviewForm>();
    Form->setWindowState(Qt::WindowNoState);
    Form->SetCaption("Preview - Receipt");
    Form->resize(900, 640);
    Form->Connect(Report.get());
    Form->SetupButtons();
    Form->show();
    Form->ZoomMenuClick(zmPageWidth);
    const QImage Shot = RenderWidget(Form.get());
    const QPoint Box = Form->PaintBox->mapTo(Form.get(), QPoint(0, 0));
    const QRect Page = Form->EMFPages->Items(0)->PageRect.translated(Box);
    EXPECT_EQ(uitest::Pixel(Shot, Box.x() + 3, Box.y() + 3), 0x808080u);
    // The amount's frame runs along the page at its scaled place.
    const int FrameY = Page.top() + qRound(180 * Form->Scale);
    EXPECT_EQ(uitest::Pixel(Shot, Page.left() + Page.width() / 2, FrameY), 0x000000u);
    EXPECT_EQ(Form->Label1->text(), "Page 1/1");
    const QString Keep = QString::fromLocal8Bit(qgetenv("TB_IMAGES_DIR"));
    if (!Keep.isEmpty())
        RenderToPng(Form.get(), Keep + QStringLiteral("/preview.png"));
    Form->Disconnect();
}

TEST_F(TPreviewTest, ToolButtonsGreyAsTheSettingsSay)
{
    AddPages(1);
    struct TRow
    {
        const char* Name;
        bool Designer;
        const char* Stored;   // "GrayButtons" in the designer's settings; nullptr: none
        bool Grayed;          // the report's GrayedButtons
        bool Expected;
    };
    const TRow Rows[] = {
        {"WithoutDesignerTheReportDecides", false, "0", true, true},
        {"NothingStoredTheReportDecides", true, nullptr, true, true},
        {"StoredOffWins", true, "0", true, false},
        {"StoredOnWins", true, "1", false, true},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TRegIniFile Settings(QStringLiteral("Software\\Pagewright\\") + Application()->Title());
        Settings.EraseSection("Form\\TfrDesignerForm");
        if (Row.Stored)
            Settings.WriteString("Form\\TfrDesignerForm", "GrayButtons", Row.Stored);
        Settings.Flush();
        if (Row.Designer)
            DesignerClass = [](uint8_t) { return nullptr; };
        Report->SetGrayedButtons(Row.Grayed);
        TfrPreviewForm* F = Open();
        DesignerClass = nullptr;
        EXPECT_EQ(F->PrintBtn->GrayedInactive(), Row.Expected);
        EXPECT_EQ(F->FindBtn->GrayedInactive(), Row.Expected);
        F->Disconnect();
    }
}

TEST_F(TPreviewTest, MenusAndTheHelpMode)
{
    AddPages(2);
    DesignerClass = [](uint8_t) { return nullptr; };
    TfrPreviewForm* F = Open();
    F->show();
    // Space opens the zoom menu without the page items, a right click with them.
    Key(F->ScrollBox1, Qt::Key_Space);
    ASSERT_TRUE(F->ProcMenu->ShownMenu());
    EXPECT_FALSE(F->EditPageItem->Visible());
    F->ProcMenu->ShownMenu()->close();
    QMouseEvent Right(QEvent::MouseButtonPress, QPointF(50, 50), QPointF(F->PaintBox->mapToGlobal(QPoint(50, 50))),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(F->PaintBox, &Right);
    ASSERT_TRUE(F->ProcMenu->ShownMenu());
    EXPECT_TRUE(F->EditPageItem->Visible());
    EXPECT_TRUE(F->DelPageItem->Enabled());
    F->ProcMenu->ShownMenu()->close();
    DesignerClass = nullptr;

    // The help button stays down until the next press, which goes nowhere else.
    F->HelpBtnClick();
    EXPECT_TRUE(F->HelpBtn->Down());
    ASSERT_TRUE(QGuiApplication::overrideCursor());
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WhatsThisCursor);
    uitest::Press(F->PaintBox, QPoint(50, 50));
    EXPECT_FALSE(F->HelpBtn->Down());
    EXPECT_FALSE(QGuiApplication::overrideCursor());
    EXPECT_FALSE(F->PaintBox->Dragging);
    uitest::Press(F->PaintBox, QPoint(50, 50));
    EXPECT_TRUE(F->PaintBox->Dragging) << "presses reach the box again";
    F->Disconnect();
}
