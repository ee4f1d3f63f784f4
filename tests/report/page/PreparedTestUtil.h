// Helpers of the prepared-page tests: prepared pages made of memo views, a
// little-endian byte writer for hand-made files, and engine state put back.
#pragma once

#include "platform/rtl/Streams.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"
#include "TestText.h"

#include <QRect>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

namespace preparedtest {

struct TMemo
{
    QString Name;
    QRect Bounds;
    QString Text;
    uint32_t Fill = clNone;
};

// Appends a record on Paper's paper holding Memos.
inline void AddPage(TfrEMFPages& Pages, const TfrPage& Paper, const std::vector<TMemo>& Memos)
{
    Pages.Add(&Paper);
    const int Index = Pages.Count() - 1;
    auto Page = std::make_unique<TfrPage>(Paper.Size, Paper.Width, Paper.Height, Paper.Bin, Paper.Orientation);
    for (const TMemo& M : Memos) {
        auto View = std::make_unique<TfrMemoView>();
        View->SetName(M.Name);
        View->SetBounds(M.Bounds.x(), M.Bounds.y(), M.Bounds.width(), M.Bounds.height());
        View->Memo()->SetText(M.Text);
        View->SetFillColor(M.Fill);
        Page->Add(std::move(View));
    }
    Pages.Items(Index)->PageObject = std::move(Page);
    Pages.PageToObjects(Index);
    Pages.Items(Index)->PageObject.reset();
}

// Views of a record as "Name x,y wxh text" lines.
inline QString Views(TfrEMFPages& Pages, int Index)
{
    Pages.ObjectsToPage(Index);
    const TfrPage* Page = Pages.Items(Index)->PageObject.get();
    QStringList L;
    for (int i = 0; i < Page->Count(); ++i) {
        const TfrView* V = Page->Objects(i);
        L << QStringLiteral("%1 %2,%3 %4x%5 %6").arg(V->Name()).arg(V->Left()).arg(V->Top()).arg(V->Width())
                 .arg(V->Height()).arg(V->Memo()->Text().trimmed());
    }
    return L.join('\n');
}

// Hand-made files.
class TBytes
{
public:
    TBytes& U8(int V) { S.WriteU8(static_cast<uint8_t>(V)); return *this; }
    TBytes& I16(int V) { S.WriteI16(static_cast<int16_t>(V)); return *this; }
    TBytes& I32(int V) { S.WriteI32(V); return *this; }
    TBytes& Raw(const QByteArray& B) { S.WriteBytes(B); return *this; }
    // Counted string: 2-byte length, the characters, one 0 byte.
    TBytes& Str(const QByteArray& B) { return I16(int(B.size())).Raw(B).U8(0); }
    int Pos() const { return static_cast<int>(S.Position()); }
    // Writes V at At and returns to the end.
    TBytes& PatchI32(int At, int V) { const int64_t E = S.Position(); S.SetPosition(At); S.WriteI32(V); S.SetPosition(E); return *this; }
    QByteArray Data() const { return S.Data(); }

private:
    TMemoryStream S;
};

class TPreparedTest : public ::testing::Test
{
protected:
    void SetUp() override { CurReport = MasterReport = &Report; }
    void TearDown() override
    {
        CurReport = MasterReport = nullptr;
        CurPage = nullptr;
        CurView = nullptr;
        DocMode = dmDesigning;
    }
    TfrReport Report;
    TfrPage* Paper = (Report.Pages()->Add(), Report.Pages()->Pages(0));
};

} // namespace preparedtest
