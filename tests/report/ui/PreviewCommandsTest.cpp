// The preview's commands through the modal seam: links, find, removing and
// adding pages, prepared report files, printing to PDF on the virtual
// printer, page setup and the report's show-prepared call.
#include "PreviewTestUtil.h"

#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TestRender.h"
#include "report/engine/FR_ClassDesigner.h"
#include "report/engine/FR_PreviewSearch.h"
#include "report/engine/FR_PrintDlg.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>

using namespace previewtest;
using namespace uitest;

TEST_F(TPreviewTest, LinksJumpOnlyToPagesThatExist)
{
    // Link text, the current page after clicking it from page 2, the hint.
    const std::tuple<const char*, int, const char*> Rows[] = {
        {"@3", 3, "Page 3"}, {"@", 1, ""}, {"@0", 1, "Page 0"}, {"@99", 2, "Page 99"}, {"@abc", 2, ""},
    };
    for (const auto& [Link, Page, Hint] : Rows) {
        SCOPED_TRACE(Link);
        Report->EMFPages()->Clear();
        AddPreparedPage(Report->EMFPages(), {{"URL1", Link, QRect(100, 100, 200, 20)}});
        AddPages(3);
        TfrPreviewForm* F = Open(1000, 700, 50);   // page 1 at 10,10, half size
        F->CurPage = 2;
        const QPoint OnLink(10 + 75, 10 + 55);
        Mouse(F->PaintBox, QEvent::MouseMove, OnLink);
        EXPECT_EQ(F->PaintBox->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(F->Label2->text(), Hint);
        Click(F->PaintBox, OnLink);
        EXPECT_EQ(F->CurPage, Page);
        Mouse(F->PaintBox, QEvent::MouseMove, QPoint(10 + 75, 10 + 200));
        EXPECT_NE(F->PaintBox->cursor().shape(), Qt::PointingHandCursor);
        F->Disconnect();
    }
}

TEST_F(TPreviewTest, FindAcrossPagesWithAndWithoutCase)
{
    AddPreparedPage(Report->EMFPages(), {{"Memo1", "Total amount", QRect(100, 100, 300, 20)}});
    AddPreparedPage(Report->EMFPages(), {{"Memo1", "nothing here", QRect(100, 100, 300, 20)}});
    AddPreparedPage(Report->EMFPages(), {{"Memo1", "TOTAL due", QRect(100, 100, 300, 20)},
                                         {"Memo2", "the total again", QRect(100, 300, 300, 20)}});
    struct TRow
    {
        const char* Name;
        const char* Text;
        bool Case;
        bool FromCurrent;     // from page 2, else from the first page
        const char* Hits;     // page:top / 100 of the search and each F3, "-" when none
    };
    const TRow Rows[] = {
        {"AnyCase", "total", false, false, "1:1 3:1 3:3 -"},
        {"CaseSensitive", "total", true, false, "3:3 -"},
        {"FromTheCurrentPage", "TOTAL", false, true, "3:1 3:3 -"},
        {"NotThere", "sum", false, false, "-"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TfrPreviewForm* F = Open(800, 600, 100);
        F->CurPage = 2;
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                auto* Find = dynamic_cast<TfrPreviewSearchForm*>(Form);
                Find->Edit1->setText(Row.Text);
                Find->CB1->setChecked(Row.Case);
                (Row.FromCurrent ? Find->RB2 : Find->RB1)->setChecked(true);
                Find->Button1->Click();
                return mrNone;
            },
            nullptr);
        QStringList Hits;
        F->FindBtnClick();
        for (int Round = 0; Round < 4 && Hits.join(u' ').right(1) != "-"; ++Round) {
            Hits << (F->Found ? QStringLiteral("%1:%2").arg(F->CurPage).arg(F->FoundRect.top() / 100) : "-");
            int Key = VK_F3;
            F->FormKeyDown(Key, TShiftState());
        }
        EXPECT_EQ(Hits.join(u' '), Row.Hits);
        F->Disconnect();
    }
}

TEST_F(TPreviewTest, FoundTextIsInvertedOnScreen)
{
    AddPages(2);
    TfrPreviewForm* F = Open(800, 600, 100);
    F->FindText = "PAGE 2";
    F->FindNext();
    ASSERT_EQ(F->CurPage, 2);
    const QRect Hit = F->FoundRect.translated(F->EMFPages->Items(1)->PageRect.topLeft() + QPoint(F->OfsX, F->OfsY));
    ASSERT_TRUE(QRect(0, 0, 800, 600).contains(Hit)) << "scrolled into view";
    const QImage& I = *F->PaintBox->Canvas()->Image();
    int Dark = 0;
    for (int Y = Hit.top(); Y <= Hit.bottom(); ++Y)
        for (int X = Hit.left(); X <= Hit.right(); ++X)
            Dark += qGray(I.pixel(X, Y)) < 128;
    EXPECT_GT(Dark * 2, Hit.width() * Hit.height()) << "white paper under the text turned black";
    EXPECT_EQ(Pixel(I, Hit.right() + 3, Hit.top()), 0xFFFFFFu) << "beside it the paper stays";
    F->Disconnect();
}

TEST_F(TPreviewTest, RemovingAndAddingPages)
{
    AddPages(1);
    TfrPreviewForm* F = Open();
    TModalHandlers Handlers(nullptr, [](const TMessageRequest&) { return mrYes; });
    EXPECT_FALSE(F->DelPageItem->Enabled()) << "a single page cannot be removed";
    F->DelPageClick();
    EXPECT_EQ(F->PageCount(), 1);
    EXPECT_TRUE(TModalSeam::Messages().empty());
    F->Disconnect();

    AddPages(2);
    F = Open();
    for (TModalResult Answer : {mrNo, mrYes}) {
        TModalHandlers Asked(nullptr, [&](const TMessageRequest&) { return Answer; });
        F->CurPage = 2;
        F->DelPageClick();
        EXPECT_EQ(TModalSeam::Messages().at(0).Describe(), "Confirm|Remove this page?|question|Yes,No");
    }
    EXPECT_EQ(F->PageCount(), 2);
    EXPECT_EQ(F->CurPage, 1);
    F->FindText = "PAGE 3";
    F->FindNext();
    EXPECT_EQ(F->CurPage, 2) << "page 2 went, page 3 stays";

    // Adding needs a designer; the blank page goes before the current one.
    F->AddPageClick();
    EXPECT_EQ(F->PageCount(), 2);
    DesignerClass = [](uint8_t) { return nullptr; };
    F->AddPageClick();
    DesignerClass = nullptr;
    EXPECT_EQ(F->PageCount(), 3);
    F->EMFPages->ObjectsToPage(1);
    EXPECT_EQ(F->EMFPages->Items(1)->PageObject->Count(), 0);
    F->Disconnect();
}

TEST_F(TPreviewTest, PreparedReportFileRoundTripThroughTheDialogs)
{
    AddPages(3);
    TfrPreviewForm* F = Open();
    const QString Path = Folder.filePath("saved");
    TModalHandlers Saving(nullptr, nullptr, [&](const TFileRequest& R) {
        EXPECT_TRUE(R.Save);
        EXPECT_EQ(R.NameFilters, QStringList{"Report file (*.frp) (*.frp)"});
        return Path;
    });
    F->SaveBtnClick();
    ASSERT_TRUE(QFile::exists(Path + ".frp"));
    EXPECT_EQ(F->PageCount(), 3) << "connected again";
    F->Disconnect();

    TfrReport Other;
    TfrPreviewForm G;
    G.Connect(&Other);
    G.PaintBox->resize(800, 600);
    TModalHandlers Opening(nullptr, nullptr, [&](const TFileRequest&) { return Path + ".frp"; });
    G.LoadBtnClick();
    ASSERT_EQ(G.PageCount(), 3);
    EXPECT_EQ(G.Label1->text(), "Page 1/3");
    G.FindText = "PAGE 3";
    G.FindNext();
    EXPECT_EQ(G.CurPage, 3);

    // A damaged file is named and the pages shown stay.
    QFile Bad(Folder.filePath("bad.frp"));
    ASSERT_TRUE(Bad.open(QIODevice::WriteOnly));
    Bad.write(QByteArray("\x19\x00\x00\x00\x05\x00\x00\x00", 8));
    Bad.close();
    TModalHandlers Damaged(nullptr, [](const TMessageRequest&) { return mrOk; },
                           [&](const TFileRequest&) { return Bad.fileName(); });
    G.LoadBtnClick();
    EXPECT_EQ(TModalSeam::Messages().size(), 1u);
    EXPECT_EQ(G.PageCount(), 3);
    G.Disconnect();
}

TEST_F(TPreviewTest, PrintsToPdfOnTheVirtualPrinter)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    AddPages(3);
    Report->SetTitle("Receipt");
    // Page list typed (nullptr: all), dialog confirmed, the pages' texts in
    // the PDF (nullptr: no file).
    const std::tuple<const char*, const char*, bool, const char*> Rows[] = {
        {"AllPages", nullptr, true, "Page 1|Page 2|Page 3"},
        {"ARange", "2-3", true, "Page 2|Page 3"},
        {"AListSelectingNoPagePrintsNothing", "5-2", true, nullptr},
        {"CancelledDialog", nullptr, false, nullptr},
    };
    for (const auto& [Name, Range, Confirm, Text] : Rows) {
        SCOPED_TRACE(Name);
        TfrPreviewForm* F = Open();
        EXPECT_TRUE(F->PrintBtn->Enabled()) << "the virtual printer counts as a printer";
        const QString Pdf = Folder.filePath(QString::fromLatin1(Name) + ".pdf");
        QString Proposed;
        TModalHandlers Handlers(
            [&](TForm* Form) -> TModalResult {
                auto* Print = dynamic_cast<TfrPrintForm*>(Form);
                Print->RB3->setChecked(Range != nullptr);
                Print->E2->setText(Range);
                return Confirm ? mrOk : mrCancel;
            },
            nullptr,
            [&](const TFileRequest& R) {
                Proposed = R.FileName;
                return Pdf;
            });
        F->PrintBtnClick();
        EXPECT_EQ(Proposed, Confirm ? "Receipt.pdf" : "");
        QStringList Lines;
        if (QFile::exists(Pdf)) {
            QProcess P;
            P.start("pdftotext", {Pdf, "-"});
            P.waitForFinished();
            for (const QString& L : QString::fromUtf8(P.readAllStandardOutput()).remove(u'\f').split(u'\n'))
                if (L.startsWith("Page"))
                    Lines << L.trimmed();
        }
        EXPECT_EQ(Lines.join(u'|'), Text ? Text : "");
        EXPECT_EQ(QFile::exists(Pdf), Text != nullptr);
        EXPECT_EQ(F->PageCount(), 3) << "connected again";
        F->Disconnect();
    }
}

TEST_F(TPreviewTest, PageSetupConfirmedUnchangedKeepsTheMargins)
{
    AddPages(1);
    // Margins in layout pixels; the dialog shows hundredths of a millimetre.
    const std::array<int32_t, 4> Rows[] = {{0, 0, 0, 0}, {10, 37, 55, 1}, {18, 36, 72, 99}};
    for (const auto& Margins : Rows) {
        SCOPED_TRACE(Margins[1]);
        std::copy(Margins.begin(), Margins.end(), Report->EMFPages()->Items(0)->PageMargins);
        QMargins Shown;
        frPageSetupDialog = [&](TDeviceMode&, QMargins& M) {
            Shown = M;
            return true;
        };
        Open()->PageSetupBtnClick();
        frPageSetupDialog = nullptr;
        const TfrPage* Page = Report->Pages()->Pages(0);
        EXPECT_EQ(Shown.top(), qRound(Margins[1] * 500 / 18.0));
        EXPECT_EQ(QList<int32_t>({Page->LeftMargin, Page->TopMargin, Page->RightMargin, Page->BottomMargin}),
                  QList<int32_t>(Margins.begin(), Margins.end()));
        Form->Disconnect();
    }
    // A landscape choice turns the report's pages.
    frPageSetupDialog = [](TDeviceMode& Mode, QMargins&) { Mode.Orientation = dmoLandscape; return true; };
    Open()->PageSetupBtnClick();
    frPageSetupDialog = nullptr;
    EXPECT_EQ(Report->Pages()->Pages(0)->Width, 2970);
    Form->Disconnect();
}

TEST_F(TPreviewTest, ShowPreparedReportOpensTheWindowModally)
{
    Report->SetTitle("Receipt");
    Report->SetPreviewButtons(pbZoom | pbPrint | pbFind | pbExit);
    Report->SetGrayedButtons(true);
    int Shown = 0;
    TModalHandlers Handlers(
        [&](TForm* Form) -> TModalResult {
            auto* F = dynamic_cast<TfrPreviewForm*>(Form);
            ++Shown;
            EXPECT_EQ(F->Caption(), "Preview - Receipt");
            EXPECT_EQ(F->PageCount(), 2);
            EXPECT_EQ(Report->EMFPages()->Count(), 0) << "the window holds the pages";
            QString Visible;
            for (TfrSpeedButton* B : {F->ZoomBtn, F->LoadBtn, F->SaveBtn, F->PrintBtn, F->PageSetupBtn, F->FindBtn,
                                      F->HelpBtn, F->ExitBtn})
                Visible += B->isHidden() ? u'-' : u'+';
            EXPECT_EQ(Visible, "+--+-+-+");
            EXPECT_FALSE(F->Sep1->isHidden() || F->Sep3->isHidden());
            EXPECT_TRUE(F->PrintBtn->GrayedInactive()) << "the report's GrayedButtons";
            EXPECT_FALSE(F->EditPageItem->Visible()) << "no designer installed";
            // Laid out for the box the shown window gave it.
            const QRect Last = F->EMFPages->Items(1)->PageRect;
            EXPECT_EQ(F->VScrollBar->Max(), std::max(0, Last.top() + Last.height() - F->PaintBox->height() + 10));
            EXPECT_GT(F->PaintBox->height(), 300);
            const QString Keep = QString::fromLocal8Bit(qgetenv("TB_IMAGES_DIR"));
            if (!Keep.isEmpty()) {
                F->ZoomMenuClick(zmPageWidth);
                RenderToPng(F, Keep + QStringLiteral("/preview.png"));
            }
            F->ExitBtn->Click();
            return mrNone;
        },
        nullptr);
    Report->ShowPreparedReport();
    EXPECT_EQ(Shown, 0) << "no pages, no window";
    const int C = frtaCenter | frtaMiddle;
    const int M = frtaMiddle;
    AddPreparedPage(Report->EMFPages(), {{"Memo1", "收款单", QRect(229, 60, 300, 40), clNone, 0, 20, C},
                                         {"Memo2", "日期：2024-03-05", QRect(60, 120, 300, 24), clNone, 0, 10, M},
                                         {"Memo3", "客户", QRect(60, 150, 120, 30), clNone, 15, 10, C},
                                         {"Memo4", "华北机电有限公司", QRect(180, 150, 518, 30), clNone, 15, 10, M},
                                         {"Memo5", "金额", QRect(60, 180, 120, 30), clNone, 15, 10, C},
                                         {"Memo6", "123.45", QRect(180, 180, 518, 30), clNone, 15, 10, M},
                                         {"Memo7", "大写", QRect(60, 210, 120, 30), clNone, 15, 10, C},
                                         {"Memo8", "壹佰贰拾叁元肆角伍分", QRect(180, 210, 518, 30), clNone, 15, 10, M}});
    AddPages(1);
    Report->ShowPreparedReport();
    EXPECT_EQ(Shown, 1);
    EXPECT_EQ(CurReport, Report.get());
}
