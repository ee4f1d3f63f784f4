// Helpers of the preview tests: the virtual printer only, settings in a
// temporary folder, a report whose prepared A4 pages are built directly with
// memo views, and a preview window over it with a box of a given size.
#pragma once

#include "UiTestUtil.h"
#include "platform/gui/Printers.h"
#include "platform/rtl/IniFiles.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Preview.h"
#include "report/engine/FR_Prntr.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace previewtest {

struct TMemo
{
    QString Name;
    QString Text;
    QRect Bounds;
    uint32_t Fill = clNone;
    uint16_t Frame = 0;        // frame sides
    int FontSize = 10;
    int Alignment = 0;
};

// Appends a prepared A4 portrait page holding the memos to Pages.
inline void AddPreparedPage(TfrEMFPages* Pages, const std::vector<TMemo>& Memos, bool UseMargins = true)
{
    TfrPage Page(9, 2100, 2970, frNoBin, poPortrait);
    Page.UseMargins = UseMargins ? -1 : 0;
    Pages->Insert(Pages->Count(), &Page);
    const int Index = Pages->Count() - 1;
    Pages->ObjectsToPage(Index);
    for (const TMemo& M : Memos) {
        auto View = std::make_unique<TfrMemoView>();
        View->SetName(M.Name);
        View->SetBounds(M.Bounds.left(), M.Bounds.top(), M.Bounds.width(), M.Bounds.height());
        View->Memo()->Add(M.Text);
        View->SetFillColor(M.Fill);
        View->SetFrameTyp(M.Frame);
        View->Font()->SetSize(M.FontSize);
        View->SetAlignment(M.Alignment);
        Pages->Items(Index)->PageObject->Add(std::move(View));
    }
    Pages->PageToObjects(Index);
    Pages->Items(Index)->PageObject.reset();
}

class TPreviewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Fakes = std::make_unique<TFakePrinters>(QList<TPrinterDescription>{});
        frPrinter()->AttachPrinter(Printer());
        TRegIniFile::SetStorageFolder(Folder.path());
        Report = std::make_unique<TfrReport>();
        // Page setup prepares the report again: no progress window to answer.
        Report->SetShowProgress(false);
        Report->Pages()->Add();
    }
    void TearDown() override
    {
        Form.reset();
        Report.reset();
        TRegIniFile::SetStorageFolder(QString());
        Fakes.reset();
        frPrinter()->AttachPrinter(Printer());
        DocMode = dmDesigning;
    }

    // Count pages, each with one memo "Page n" at (100, 100).
    void AddPages(int Count)
    {
        for (int i = 0; i < Count; ++i) {
            const QString Text = QStringLiteral("Page %1").arg(Report->EMFPages()->Count() + 1);
            AddPreparedPage(Report->EMFPages(), {{QStringLiteral("Memo1"), Text, QRect(100, 100, 200, 20)}});
        }
    }

    // A preview over the report with its box W x H at the zoom Tag.
    TfrPreviewForm* Open(int W = 800, int H = 600, int Tag = 100)
    {
        Form = std::make_unique<TfrPreviewForm>();
        Form->Connect(Report.get());
        Form->SetupButtons();
        Form->PaintBox->resize(W, H);
        Form->ZoomMenuClick(Tag);
        Form->InitView(true);
        return Form.get();
    }

    QTemporaryDir Folder;
    std::unique_ptr<TFakePrinters> Fakes;
    std::unique_ptr<TfrReport> Report;
    std::unique_ptr<TfrPreviewForm> Form;
};

} // namespace previewtest
