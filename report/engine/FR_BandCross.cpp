// Cross-tab: a horizontal band holding views of the vertical (cross) bands
// prints a cell per cross record across the page, continuing on further
// prepared pages at the same height when the row passes the right bound.
#include "report/engine/FR_Band.h"

#include "report/engine/FR_BandEngine_p.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_DSet.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Prepare.h"

#include <algorithm>

using namespace frengine;

namespace {

void RunBandScript(TfrBand* Band)
{
    if (frRunScript && Band->Script.Count() > 0) {
        CurView = Band->View;
        CurBand = Band;
        frRunScript(&Band->Script);
    }
}

} // namespace

void TfrBand::DrawCrossCell(TfrBand* CrossBand, int AX)
{
    TfrPage* P = Parent;
    CrossBand->LocalLine = LocalLine;
    CrossBand->GlobalLine = GlobalLine;
    if (CrossBand->Typ == btCrossData)
        CrossBand->AggregateSource = this;
    TfrBand* SavedBand = CurBand;
    CurBand = CrossBand;
    TfrEMFPages* Pages = PreparedPages();
    try {
        for (TfrView* V : CrossBand->Objects) {
            if (std::find(Objects.begin(), Objects.end(), V) == Objects.end())
                continue;
            CurView = V;
            if (DisableDrawing) {
                if (frRunScript && V->Script()->Count() > 0)
                    frRunScript(V->Script());
                if (auto* S = dynamic_cast<TfrStretcheable*>(V))
                    S->SetCalcState(0);
                continue;
            }
            if (!Pages || PageNo < 0 || PageNo >= Pages->Count())
                continue;
            V->SetLeft(V->Left() + AX);
            V->SetTop(V->Top() + Y);
            try {
                V->Print(*Pages->Items(PageNo)->Stream);
            } catch (...) {
                V->SetLeft(V->Left() - AX);
                V->SetTop(V->Top() - Y);
                throw;
            }
            V->SetLeft(V->Left() - AX);
            V->SetTop(V->Top() - Y);
        }
    } catch (...) {
        CurBand = SavedBand;
        throw;
    }
    CurBand = SavedBand;
    (void)P;
}

void TfrBand::CheckCrossBreak(int& AX, int Width, int StartPageNo)
{
    TfrPage* P = Parent;
    if (AX + Width <= P->GetRightBound())
        return;
    AX = P->GetLeftBound();
    ++PageNo;
    TfrBand* SavedBand = CurBand;
    if (PageNo >= PreparedCount()) {
        AddPreparedPage(P);
        P->ShowBand(P->Bands[btOverlay]);
        TfrBand* Header = P->Bands[btPageHeader];
        if (StartPageNo != 0 || (Header->Flags & flBandOnFirstPage)) {
            const int SavedY = P->CurY;
            P->CurY = P->GetTopBound();
            P->ShowBand(Header);
            P->CurY = SavedY;
        }
        if (CurReport)
            CurReport->ReportProgress(PageNo + 1);
    }
    CurBand = SavedBand;
    TfrBand* CrossHeader = P->Bands[btCrossHeader];
    if (TfrPage::BandExists(CrossHeader) && (CrossHeader->Flags & flBandRepeatHeader)) {
        DrawCrossCell(CrossHeader, AX);
        AX += CrossHeader->DX;
    }
}

void TfrBand::DrawCross()
{
    TfrPage* P = Parent;
    const int StartPageNo = PageNo;
    int X = 0;
    P->CrossColumn = 1;
    if (CurReport)
        CurReport->DoBeginColumn(this);
    TfrBand* Header = P->Bands[btCrossHeader];
    TfrBand* Data = P->Bands[btCrossData];
    TfrBand* Footer = P->Bands[btCrossFooter];
    if (TfrPage::BandExists(Header)) {
        RunBandScript(Header);
        DrawCrossCell(Header, Header->X);
        X = Header->X + Header->DX;
    }
    if (TfrPage::BandExists(Data) && !Data->SourceReleased()) {
        if (X == 0)
            X = Data->X;
        TfrDataset* Source = Data->DataSet ? Data->DataSet : CrossDataSet;
        std::unique_ptr<TfrDataset> Virtual;
        bool Empty = true;
        if (Source) {
            Source->First();
            Empty = Source->Eof();
        }
        // Footer columns line up with the widest row above them.
        if (Typ == btMasterFooter && Empty && P->CrossMaxCount > 0) {
            auto Rows = std::make_unique<TdaZeveDataset>();
            Rows->SetRangeEnd(reCount);
            Rows->SetRangeEndCount(P->CrossMaxCount);
            Virtual = std::move(Rows);
            Source = Virtual.get();
            Source->Init();
            Source->First();
        }
        int Count = 0;
        // The loop holds the source: one a script names now waits for its end.
        Data->BeginLoop(true);
        while (Source && !Source->Eof() && !Stopped()) {
            CurView = Data->View;
            int Width = Data->DX;
            if (CurReport)
                CurReport->DoPrintColumn(P->CrossColumn, Width);
            Data->DX = Width;
            RunBandScript(Data);
            CheckCrossBreak(X, Data->DX, StartPageNo);
            DrawCrossCell(Data, X);
            Data->DoAggregate();
            if (IsDataBand(Typ))
                DoAggregate(true);
            X += Data->DX;
            ++P->CrossColumn;
            ++Count;
            Source->Next();
        }
        Data->EndLoop();
        P->CrossMaxCount = std::max(P->CrossMaxCount, Count);
        if (Virtual)
            Virtual->Exit();
    }
    if (TfrPage::BandExists(Footer)) {
        if (X == 0)
            X = Footer->X;
        RunBandScript(Footer);
        CheckCrossBreak(X, Footer->DX, StartPageNo);
        DrawCrossCell(Footer, X);
        Footer->InitValues();
    }
    CurBand = this;
    CurView = View;
    PageNo = StartPageNo;
}
