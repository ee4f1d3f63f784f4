// The preview's layout per zoom mode, painting, keys, zoom memory, menus and
// help mode, and the embedded panel. An A4 page on the virtual printer is
// 758 x 1071 layout pixels.
#include "PreviewTestUtil.h"

#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_ClassDesigner.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>

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
    // A red memo at the corner: on the paper with margins in use, else scaled
    // into the printable area (offset 18 px, margins 10 px); at half size.
    for (bool UseMargins : {true, false}) {
        SCOPED_TRACE(UseMargins ? "margins in use" : "printable area");
        Report->EMFPages()->Clear();
        AddPreparedPage(Report->EMFPages(), {{"Memo1", "", QRect(0, 0, 100, 50), clRed}}, UseMargins);
        for (int32_t& M : Report->EMFPages()->Items(0)->PageMargins)
            M = 10;
        TfrPreviewForm* F = Open(1000, 700, 50);
        const QImage& I = *F->PaintBox->Canvas()->Image();
        const QRect P = F->EMFPages->Items(0)->PageRect;
        ASSERT_EQ(P, QRect(310, 10, 379, 536));
        const std::pair<QPoint, unsigned> Pixels[] = {
            {{5, 5}, 0x808080u},                   // grey around
            {{310, 310}, 0x000000u},               // frame
            {{610, 410}, 0xFFFFFFu},               // paper
            {{610, 546}, 0x000000u},               // shadow under
            {{689, 310}, 0x000000u},               // shadow right
            {{610, 547}, 0x808080u},
        };
        for (const auto& [At, Rgb] : Pixels)
            EXPECT_EQ(uitest::Pixel(I, At.x(), At.y()), Rgb) << At.x() << "," << At.y();
        const QPoint Memo = UseMargins ? P.topLeft() : P.topLeft() + QPoint(14, 14);
        EXPECT_EQ(uitest::Pixel(I, Memo.x() + 1, Memo.y() + 1), 0xFF0000u) << "the memo's fill";
        EXPECT_EQ(uitest::Pixel(I, Memo.x() + 44, Memo.y() + 21), 0xFF0000u);
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
    const std::tuple<const char*, int, Qt::KeyboardModifiers, const char*> Steps[] = {
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
    for (const auto& [Name, QtKey, Mods, After] : Steps) {
        SCOPED_TRACE(Name);
        Key(F->ScrollBox1, QtKey, Mods);
        EXPECT_EQ(QStringLiteral("%1/%2").arg(F->CurPage).arg(F->VScrollBar->Position()), After);
    }
    EXPECT_EQ(F->Label1->text(), "Page 1/3");
    // With the line 11 pixels below the top between two pages the page
    // stays; two wheel notches up bring page 2 there.
    F->VScrollBar->SetPosition(2160);
    EXPECT_EQ(F->CurPage, 1);
    F->ScrollLines(2);
    EXPECT_EQ(QStringLiteral("%1/%2").arg(F->CurPage).arg(F->OfsY), "2/-2140");
    Key(F->ScrollBox1, Qt::Key_Escape);
    EXPECT_FALSE(F->isVisible());
    F->Disconnect();
}

TEST_F(TPreviewTest, ZoomTagsAreRememberedForTheNextPreview)
{
    AddPages(1);
    const std::tuple<int, uint8_t, double> Rows[] = {
        {200, zmPercent, 2.0}, {75, zmPercent, 0.75}, {10, zmPercent, 0.1},
        {1, zmPageWidth, 780.0 / 758}, {2, zmWholePage, 580.0 / 1071}, {3, zmTwoPages, 770.0 / 1516},
    };
    for (const auto& [Tag, Mode, Scale] : Rows) {
        SCOPED_TRACE(Tag);
        Open(800, 600, 100);
        Form->HScrollBar->SetParams(50, 0, 100);
        for (int i = 0; i < Form->ProcMenu->Items()->Count(); ++i)
            if (Form->ProcMenu->Items()->Items(i)->Tag() == Tag)
                Form->ProcMenu->Items()->Items(i)->Click();   // as the user picks it
        EXPECT_EQ(Form->HScrollBar->Position(), 0);
        Form->Disconnect();
        // A new preview starts where the last one ended, its item checked.
        Form = std::make_unique<TfrPreviewForm>();
        Form->Connect(Report.get());
        Form->PaintBox->resize(800, 600);
        Form->InitView(true);
        EXPECT_EQ(Form->ZoomMode, Mode);
        EXPECT_DOUBLE_EQ(Form->Scale, Scale);
        QList<int> Checked;
        for (int i = 0; i < Form->ProcMenu->Items()->Count(); ++i)
            if (Form->ProcMenu->Items()->Items(i)->Checked())
                Checked << Form->ProcMenu->Items()->Items(i)->Tag();
        EXPECT_EQ(Checked, QList<int>{Tag});
        Form->Disconnect();
    }
    Open(800, 600, 100);
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

TEST_F(TPreviewTest, EmbeddedPanelBorrowsTheWindowsPanels)
{
    AddPages(2);
    Report->SetPreviewButtons(pbZoom | pbPrint | pbHelp | pbExit);
    TfrPreview Panel;
    Panel.resize(600, 500);
    int Changed = 0;
    Panel.OnPageChanged = [&](QObject* Sender, int PageNo) { Changed = Sender == &Panel ? PageNo : -1; };
    Panel.SetShowToolbar(true);
    Report->SetPreview(&Panel);
    Report->ShowPreparedReport();
    TfrPreviewForm* W = Panel.Window();
    EXPECT_EQ(W->PreviewPanel->parentWidget(), &Panel);
    EXPECT_EQ(W->ToolPanel->parentWidget(), &Panel);
    EXPECT_EQ(Report->EMFPages()->Count(), 0) << "the panel holds the pages";
    EXPECT_EQ(W->PageCount(), 2);
    EXPECT_TRUE(W->HelpBtn->isHidden() && W->ExitBtn->isHidden()) << "help and exit belong to a window";
    W->PgDownClick();
    EXPECT_EQ(Panel.Page(), 2);
    EXPECT_EQ(Changed, 2);
    Panel.SetScrollBars(ssVertical);
    EXPECT_TRUE(W->BPanel->isHidden());
    EXPECT_FALSE(W->RPanel->isHidden());
    Panel.Disconnect();
    EXPECT_EQ(Report->EMFPages()->Count(), 2) << "given back";
}
