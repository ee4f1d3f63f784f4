// Printing one run-time band: its script, page and column breaks, stretching,
// splitting across pages, band columns, subreports beside each other, and the
// aggregates it counts. Views print into the stream of the prepared page
// PageNo of the master report.
#include "report/engine/FR_Band.h"

#include "report/engine/FR_Aggr.h"
#include "report/engine/FR_BandEngine_p.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_DSet.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Pars.h"
#include "report/engine/FR_Prepare.h"
#include "report/engine/FR_SubReportView.h"

#include <algorithm>

using namespace frengine;

namespace {

void RunViewScript(TStrings* Script)
{
    if (frRunScript && Script->Count() > 0)
        frRunScript(Script);
}

bool IsFixed(int Typ)
{
    return Typ == btPageFooter || Typ == btOverlay || Typ == btNone;
}

// Bands drawn while a page starts or ends (page header and footer, overlay,
// column header and footer), with the children they print: a break or a split
// there would start the page again, and so on without end.
int PageBandsDrawing = 0;
// Bands drawn with a column footer, which keeps room for itself alone, or with
// an overlay, which prints at a place of its own: what they draw below
// themselves prints only inside the page's bottom bound.
int InsideBottomDrawing = 0;

bool KeepsInsideBottom(int Typ)
{
    return Typ == btColumnFooter || Typ == btOverlay;
}

bool DrawnWithPage(int Typ)
{
    return PageBandsDrawing > 0 || Typ == btPageHeader || Typ == btPageFooter || Typ == btOverlay ||
           Typ == btColumnHeader || Typ == btColumnFooter;
}

// One output of a band: begin and end band fire around it, and its split
// flag is put back after it, however it ends.
class TBandOutput
{
public:
    TBandOutput(TfrBand* Band, bool PageBreak)
        : FBand(Band), FPageBreak(PageBreak), FWithPage(DrawnWithPage(Band->Typ)),
          FInsideBottom(InsideBottomDrawing > 0)
    {
        FireBand(true, Band);
        if (FWithPage)
            ++PageBandsDrawing;
        if (KeepsInsideBottom(Band->Typ))
            ++InsideBottomDrawing;
    }
    ~TBandOutput()
    {
        if (FWithPage)
            --PageBandsDrawing;
        if (KeepsInsideBottom(FBand->Typ))
            --InsideBottomDrawing;
        if (FPrinted) {
            FireBand(false, FBand);
            FBand->WalkDrew();
        }
        FBand->PageBreak = FPageBreak;
    }
    TBandOutput(const TBandOutput&) = delete;
    TBandOutput& operator=(const TBandOutput&) = delete;

    bool WithPage() const { return FWithPage; }
    bool InsideBottom() const { return FInsideBottom; }
    void NotPrinted() { FPrinted = false; }

private:
    TfrBand* FBand;
    bool FPageBreak;
    bool FWithPage;
    bool FInsideBottom;
    bool FPrinted = true;
};

// Bands that belong to the page's own top (and never break or split).
bool IsPageHeading(const TfrBand* Band)
{
    return Band->Repeating || Band->Typ == btPageHeader || Band->Typ == btColumnHeader || IsFixed(Band->Typ) ||
           PageBandsDrawing > 0;
}

// Nothing but the page's own headers printed yet.
bool AtFreshPlace(const TfrPage* Page)
{
    return Page->CurY == Page->FreshY || Page->CurY == Page->GetTopBound();
}

// The band after Band that prints in its chain: the next one without a
// source of its own. A band a script left without a source is passed over.
TfrBand* NextInChain(const TfrBand* Band)
{
    TfrBand* Next = Band->Next;
    while (Next && Next->SourceReleased())
        Next = Next->Next;
    return Next && !Next->DataSet ? Next : nullptr;
}

// A page footer prints at the page's bottom bound: a child would print below
// it, so it has none.
TfrBand* PrintedChild(const TfrBand* Band)
{
    return Band->Typ == btPageFooter ? nullptr : Band->Child;
}

int ColumnFooterHeight(const TfrPage* Page)
{
    const TfrBand* Footer = Page->Bands[btColumnFooter];
    return TfrPage::BandExists(Footer) ? Footer->DY : 0;
}

// Moves a view by (DX, DY) for as long as it lives.
class TViewShift
{
public:
    TViewShift(TfrView* View, int DX, int DY) : FView(View), FDX(DX), FDY(DY)
    {
        View->SetLeft(View->Left() + DX);
        View->SetTop(View->Top() + DY);
    }
    ~TViewShift()
    {
        FView->SetLeft(FView->Left() - FDX);
        FView->SetTop(FView->Top() - FDY);
    }
    TViewShift(const TViewShift&) = delete;
    TViewShift& operator=(const TViewShift&) = delete;

private:
    TfrView* FView;
    int FDX, FDY;
};

} // namespace

void TfrBand::ClearMemoCaches()
{
    for (TfrView* V : Objects)
        if (auto* Memo = dynamic_cast<TfrMemoView*>(V))
            Memo->SetLastValue(QString());
}

// ---------------------------------------------------------------- Draw

bool TfrBand::FitsOrBreaks(int Height)
{
    TfrPage* P = Parent;
    if (P->CurY + Height <= P->CurBottomY || PageBreak)
        return false;
    // A new page would hold the same headers and leave no more room: the
    // band prints here, split unless it is one of the page's own headers.
    if (IsPageHeading(this) || AtFreshPlace(P)) {
        if (!IsPageHeading(this) && !P->IsSubReportPage)
            PageBreak = true;
        return false;
    }
    if (P->IsSubReportPage)
        return true;
    CheckPageBreak(P->CurY, 10000, false);
    // Still too tall on the new page: it splits there.
    if (P->CurY + Height > P->CurBottomY)
        PageBreak = true;
    return false;
}

void TfrBand::RunScriptAhead()
{
    TfrBand* SavedBand = CurBand;
    TfrView* SavedView = CurView;
    CurBand = this;
    CurView = View;
    try {
        RunViewScript(&Script);
    } catch (...) {
        CurBand = SavedBand;
        CurView = SavedView;
        throw;
    }
    CurBand = SavedBand;
    CurView = SavedView;
}

// The new pages and columns its script asked for; none for a band drawn
// with the page. KeepY puts the page back where the script left it.
void TfrBand::TakeRequests(bool WithPage, int SavedY)
{
    TfrPage* P = Parent;
    if (WithPage) {
        NewPagesRequested = 0;
        NewColumnsRequested = 0;
        PageBreak = false;
    }
    for (int i = 0; i < NewPagesRequested; ++i) {
        P->CurColumn = P->Columns - 1;
        P->NewColumn(this);
    }
    for (int i = 0; i < NewColumnsRequested; ++i)
        P->NewColumn(this);
    if (KeepY) {
        P->CurY = SavedY;
        KeepY = false;
    }
}

// The child prints where the page has come to; below an overlay, which
// prints at a place of its own and leaves the page where it was, right below
// the overlay (where it would be when hidden).
void TfrBand::ShowChild()
{
    TfrPage* P = Parent;
    if (Typ != btOverlay) {
        P->ShowBand(Child);
        return;
    }
    const int SavedY = P->CurY;
    P->CurY = Y + (Visible ? DY : 0);
    try {
        P->ShowBand(Child);
    } catch (...) {
        P->CurY = SavedY;
        throw;
    }
    P->CurY = SavedY;
}

// A data band prints with the bands of its chain that have no source of
// their own; another band prints with its child, then a new page after it.
void TfrBand::PrintOutput(bool WithPage)
{
    TfrPage* P = Parent;
    if (IsDataBand(Typ) && NextInChain(this)) {
        for (TfrBand* B = this; B; B = NextInChain(B)) {
            if (B != this && B->View)
                B->Visible = B->View->Visible();
            if (B->Visible)
                B->DoDraw();
        }
        CurBand = this;
        return;
    }
    DoDraw();
    if (PrintedChild(this))
        ShowChild();
    if (!IsDataBand(Typ) && Typ != btGroupHeader && NewPageAfter && Visible && !WithPage)
        P->NewPage();
}

bool TfrBand::Draw()
{
    TfrPage* P = Parent;
    const bool SavedPageBreak = PageBreak;
    CurView = View;
    CurBand = this;
    FCalcHeight = -1;
    NewPagesRequested = 0;
    NewColumnsRequested = 0;
    TBandOutput End(this, SavedPageBreak);
    const bool WithPage = End.WithPage();

    TfrBand* Last = P->LastBand;
    if (Last && Last != this && TfrPage::BandExists(Last) && Last->Column > 1) {
        P->XAdjust = Last->ColumnX;
        P->CurY += Last->DY;
        Last->Column = 1;
    }
    if (!ScriptDone)
        RunViewScript(&Script);
    ScriptDone = false;
    const int SavedY = P->CurY;
    if (Stopped() || FSourceReleased)
        return false;
    // Its own script moved its walk to a source without records.
    if (FRanOut) {
        End.NotPrinted();
        return false;
    }
    TakeRequests(WithPage, SavedY);
    CurView = View;
    CurBand = this;
    if (View)
        Visible = View->Visible();

    bool Result = false;
    if (!Visible) {
        if (PrintChildIfInvisible && PrintedChild(this))
            ShowChild();
        if (IsDataBand(Typ))
            DoAggregate();
    } else {
        if (Typ == btColumnHeader)
            P->ColumnTop = P->CurY;
        if (Typ == btPageFooter)
            Y = P->CurBottomY;
        if (TfrPage::BandExists(this)) {
            FCalcHeight = std::max(FCalcHeight, DY);
            if (Typ != btPageFooter && Typ != btOverlay && Typ != btColumnFooter && Typ != btNone) {
                const int Height = CalcHeight();
                if (End.InsideBottom() && P->CurY + Height > P->CurBottomY) {
                    End.NotPrinted();
                    return false;
                }
                if (FitsOrBreaks(Height)) {
                    // Not printed here: the subreport's band plays again on the next page.
                    End.NotPrinted();
                    return true;
                }
            }
            PrintOutput(WithPage);
            Result = P->PendingSubReportBand == this;
        }
    }
    if (!Repeating && (Typ != btPageFooter || PageNo >= PreparedCount() - 1))
        InitValues();
    return Result;
}

// ---------------------------------------------------------------- heights

int TfrBand::StretchedHeight()
{
    auto Measure = [this](bool CrossToo) {
        int Max = DY;
        for (TfrView* V : Objects) {
            const TfrBand* Owner = Parent->ViewBand(V);
            const bool Cross = Owner && frIsCrossBand(Owner->Typ);
            if ((Owner != this && !(CrossToo && Cross)) || !(V->Flags() & flStretched))
                continue;
            auto* S = dynamic_cast<TfrStretcheable*>(V);
            if (!S)
                continue;
            CurView = V;
            Max = std::max(Max, S->CalcHeight() + V->Top());
            // A cross cell is measured per column and expanded again when it prints.
            if (Cross)
                S->SetCalcState(0);
        }
        return Max;
    };
    if (!HasCross())
        return Measure(false);
    TfrBand* CrossData = Parent->Bands[btCrossData];
    TfrDataset* Source = CrossData && CrossData->DataSet ? CrossData->DataSet : CrossDataSet;
    if (!Source || (CrossData && CrossData->SourceReleased()))
        return Measure(false);
    int Max = DY;
    Parent->CrossColumn = 1;
    Source->First();
    while (!Source->Eof() && !Stopped()) {
        Max = std::max(Max, Measure(true));
        ++Parent->CrossColumn;
        Source->Next();
    }
    return Max;
}

int TfrBand::CalcHeight()
{
    auto Own = [](TfrBand* B) {
        const int H = B->Stretched ? B->StretchedHeight() : B->DY;
        B->FCalcHeight = std::max(B->FCalcHeight, H);
        return B->FCalcHeight;
    };
    if (IsDataBand(Typ) && NextInChain(this)) {
        int Sum = 0;
        for (TfrBand* B = this; B; B = NextInChain(B)) {
            if (B != this)
                B->FCalcHeight = -1;
            if (B->Visible)
                Sum += Own(B);
        }
        return Sum;
    }
    return Own(this);
}

bool TfrBand::CheckPageBreak(int AY, int ADY, bool OnlyTest)
{
    if (Typ == btColumnFooter)
        return false;
    if (AY + ADY + ColumnFooterHeight(Parent) <= Parent->CurBottomY)
        return false;
    if (!OnlyTest)
        Parent->NewColumn(this);
    return true;
}

// ---------------------------------------------------------------- DoDraw

void TfrBand::DoDraw()
{
    TfrPage* P = Parent;
    const bool Fixed = IsFixed(Typ);
    if (!Fixed)
        Y = P->CurY;
    CurBand = this;
    CurView = View;
    int Height = DY;
    std::vector<std::pair<TfrView*, int>> Heights;
    if (Stretched) {
        if (FCalcHeight < 0)
            CalcHeight();
        Height = std::max(FCalcHeight, DY);
        for (TfrView* V : Objects)
            if (P->ViewBand(V) == this && (V->Flags() & flStretched) && dynamic_cast<TfrStretcheable*>(V)) {
                Heights.emplace_back(V, V->Height());
                V->SetHeight(Height - V->Top());
            }
    }
    MaxY = Height;
    const bool Split = PageBreak;
    if (!Split && !Fixed && !P->IsSubReportPage && !IsPageHeading(this) && !AtFreshPlace(P) &&
        CheckPageBreak(Y, Height, false)) {
        Y = P->CurY;
        CurBand = this;
    }
    bool SubReports = false;
    try {
        if (Split) {
            DrawPageBreak();
        } else {
            SubReports = DrawObjects();
            if (Typ != btPageFooter && HasCross())
                DrawCross();
        }
    } catch (...) {
        for (auto& [V, H] : Heights)
            V->SetHeight(H);
        throw;
    }
    for (auto& [V, H] : Heights)
        V->SetHeight(H);
    if (!Fixed && !Split && !SubReports)
        P->CurY += Height;

    if (P->LastBand != this) {
        Column = 1;
        P->LastBand = this;
    }
    if (View && View->Columns() >= 2 && View->NewColumnAfter() == 1 && !Split) {
        if (Column == 1)
            ColumnX = P->XAdjust;
        ++Column;
        if (Column <= View->Columns()) {
            P->XAdjust = ColumnX + (View->ColumnWidth() + View->ColumnGap()) * (Column - 1);
            P->CurY -= Height;
        } else {
            P->XAdjust = ColumnX;
            Column = 1;
        }
    }
    if (IsDataBand(Typ))
        DoAggregate();
}

// ---------------------------------------------------------------- views

void TfrBand::DrawObject(TfrView* AView)
{
    TfrPage* P = Parent;
    if (P->ViewBand(AView) != this)
        return;
    CurView = AView;
    auto* Stretch = dynamic_cast<TfrStretcheable*>(AView);
    if (DisableDrawing && !PageBreak) {
        if (Stretch && Stretch->CalcState() == 2)
            return;
        RunViewScript(AView->Script());
        // A measured text would otherwise print stale in the next output.
        if (Stretch)
            Stretch->SetCalcState(0);
        return;
    }
    TfrEMFPages* Pages = PreparedPages();
    if (!Pages || PageNo < 0 || PageNo >= Pages->Count())
        return;
    const bool SplitPart = Stretch && Stretch->CalcState() == 2;
    {
        TViewShift Shift(AView, P->XAdjust - P->GetLeftBound(), Y);
        AView->Print(*Pages->Items(PageNo)->Stream);
    }
    if (!SplitPart && dynamic_cast<TfrMemoView*>(AView))
        for (TfrView* Hook : frMemoHookViews)
            Hook->MemoPrinted(AView);
}

bool TfrBand::DrawObjects()
{
    for (size_t i = 0; i < Objects.size(); ++i) {
        TfrView* V = Objects[i];
        if (V->ObjectType() == gtSubReport && V->Visible() && Parent->ViewBand(V) == this) {
            FirstSubReport = static_cast<int32_t>(i);
            const int Bottom = std::max(0, Parent->CurY + DY);
            const int PagesBefore = PreparedCount();
            PrepareSubReports();
            const bool Pending = ResumeSubReports();
            if (!Pending && PreparedCount() == PagesBefore && Bottom > Parent->CurY)
                Parent->CurY = Bottom;
            return true;
        }
        DrawObject(V);
    }
    return false;
}

// ---------------------------------------------------------------- splitting

namespace {

// Splits one band across pages: each round prints what fits above the
// usable height, cuts stretchable views there and moves the rest up for the
// next page.
class TBandSplitter
{
public:
    explicit TBandSplitter(TfrBand* Band) : FBand(Band), FPage(Band->Parent)
    {
        for (TfrView* V : Band->Objects) {
            if (FPage->ViewBand(V) != Band)
                continue;
            FViews.push_back({V, QRect(V->Left(), V->Top(), V->Width(), V->Height()), true});
            if (V->BandAlign() == baBottom)
                V->SetTop(std::max(Band->FCalcHeight, Band->DY) - V->Height());
        }
    }
    ~TBandSplitter()
    {
        for (const TState& S : FViews)
            S.View->SetBounds(S.Saved.x(), S.Saved.y(), S.Saved.width(), S.Saved.height());
    }
    TBandSplitter(const TBandSplitter&) = delete;
    TBandSplitter& operator=(const TBandSplitter&) = delete;

    void PrintAll()
    {
        for (TState& S : FViews)
            FBand->DrawObject(S.View);
    }

    void Run()
    {
        bool Fresh = AtFreshPlace(FPage);
        while (!Stopped()) {
            const int A = FPage->CurBottomY - ColumnFooterHeight(FPage) - FBand->Y - 2;
            if (A <= 0 && Fresh) {
                // The page's own headers fill it: what is left prints here.
                for (TState& S : FViews)
                    if (S.Pending)
                        PrintRest(S);
                return;
            }
            if (A > 0)
                for (TState& S : FViews)
                    if (S.Pending)
                        Place(S, A, Fresh);
            if (std::none_of(FViews.begin(), FViews.end(), [](const TState& S) { return S.Pending; }))
                return;
            for (TState& S : FViews)
                if (S.Pending)
                    S.View->SetTop(S.View->Top() - std::max(A, 0));
            FBand->CheckPageBreak(FBand->Y, 10000, false);
            FBand->Y = FPage->CurY;
            CurBand = FBand;
            Fresh = true;
            FBand->MaxY = 0;
            for (const TState& S : FViews)
                if (S.Pending)
                    FBand->MaxY = std::max(FBand->MaxY, S.View->Top() + S.View->Height());
        }
    }

private:
    struct TState
    {
        TfrView* View;
        QRect Saved;
        bool Pending;
    };

    static TfrStretcheable* Stretchable(TfrView* V) { return dynamic_cast<TfrStretcheable*>(V); }

    void PrintRest(TState& S)
    {
        if (TfrStretcheable* St = Stretchable(S.View); St && S.View->Top() < 0)
            St->SetCalcState(1);
        FBand->DrawObject(S.View);
        S.Pending = false;
    }

    // One pending view against the usable height A of this page.
    void Place(TState& S, int A, bool Fresh)
    {
        TfrView* V = S.View;
        const int Top = V->Top();
        const int Bottom = Top + V->Height();
        TfrStretcheable* St = Stretchable(V);
        if (Top >= 0 && Top < A) {
            if (Bottom < A) {
                FBand->DrawObject(V);
                S.Pending = false;
            } else if (St) {
                Cut(S, A, Fresh && Top == 0);
            } else if (Fresh && Top == 0) {
                FBand->DrawObject(V);   // taller than a page: printed as it is
                S.Pending = false;
            } else {
                V->SetTop(A);
            }
        } else if (Top < 0 && Bottom > 0) {
            if (St && Bottom < A) {
                V->SetTop(0);
                V->SetHeight(Bottom);
                St->SetCalcState(1);
                FBand->DrawObject(V);
                S.Pending = false;
            } else if (St) {
                Cut(S, A, Fresh && Bottom >= A);
            } else {
                S.Pending = false;   // a fixed view's rest is not printed again
            }
        } else if (Bottom <= 0) {
            S.Pending = false;
        }
    }

    // Prints the part of a stretchable view above A and moves the views below
    // it down by the height its cut wastes.
    void Cut(TState& S, int A, bool Forced)
    {
        TfrView* V = S.View;
        TfrStretcheable* St = Stretchable(V);
        const int FullHeight = V->Height();
        const int Top = V->Top();
        V->SetHeight(A - std::max(Top, 0) + 1);
        V->SetTop(std::max(Top, 0));
        const int Rest = St->RemainHeight();
        if (St->MinHeight() < V->Height()) {
            St->SetCalcState(2);
            FBand->DrawObject(V);
        } else if (Forced) {
            // Not even one line fits a fresh page: the view prints whole.
            V->SetHeight(FullHeight + std::min(Top, 0));
            St->SetCalcState(1);
            FBand->DrawObject(V);
            S.Pending = false;
            return;
        }
        V->SetTop(Top);
        V->SetHeight(FullHeight);
        for (TState& Other : FViews)
            if (Other.Pending && Other.View != V && Other.View->Top() >= Top + FullHeight - Rest &&
                Other.View->Left() < V->Left() + V->Width() && Other.View->Left() + Other.View->Width() > V->Left())
                Other.View->SetTop(Other.View->Top() + Rest);
        V->SetHeight(FullHeight + Rest);
    }

    TfrBand* FBand;
    TfrPage* FPage;
    std::vector<TState> FViews;
};

} // namespace

void TfrBand::DrawPageBreak()
{
    {
        TBandSplitter Splitter(this);
        if (CheckPageBreak(Y, MaxY, true))
            Splitter.Run();
        else
            Splitter.PrintAll();
    }
    Parent->CurY += MaxY;
}

// ---------------------------------------------------------------- subreports

namespace {

// The data bands of a subreport page while its recorded walks play.
void SetPlaying(TfrPage* Page, bool On)
{
    for (TfrBand* Head : Page->Bands)
        for (TfrBand* B = Head; B; B = B->Next)
            if (IsDataBand(B->Typ))
                On ? B->BeginPlay() : B->EndPlay();
}

} // namespace

void TfrBand::PrepareSubReports()
{
    TfrPage* P = Parent;
    const int Count = static_cast<int>(Objects.size()) - FirstSubReport;
    SubReportDone.assign(std::max(Count, 0), 1);
    TfrPage* SavedPage = CurPage;
    for (int i = 0; i < Count; ++i) {
        auto* Sub = dynamic_cast<TfrSubReportView*>(Objects[FirstSubReport + i]);
        if (!Sub || !Sub->Visible() || P->ViewBand(Sub) != this)
            continue;
        TfrPage* Target = P->SubReportPage(Sub);
        // A missing, own, cyclic or dialog page prints nothing.
        if (!Target || Target->PageType != ptReport || !Target->Prepared)
            continue;
        SubReportDone[i] = 0;
        Target->RecList.clear();
        Target->RecPos = 0;
        Target->RecMode = 1;
        CurPage = Target;
        try {
            Target->FormPage();
        } catch (...) {
            Target->RecMode = 0;
            CurPage = SavedPage;
            throw;
        }
        Target->RecMode = 0;
        SetPlaying(Target, true);
        Target->CurY = Sub->Top() + Y;
        Target->CurBottomY = P->CurBottomY;
        Target->XAdjust = P->XAdjust + Sub->Left();
        Target->UseMargins = P->UseMargins;
        Target->LeftMargin = P->LeftMargin;
        Target->TopMargin = P->TopMargin;
        Target->RightMargin = P->RightMargin;
        Target->BottomMargin = P->BottomMargin;
        Target->Columns = 1;
        Target->FreshY = -1;
    }
    CurPage = SavedPage;
    CurBand = this;
    P->PendingSubReportBand = nullptr;
    SubReportsDone = true;   // the first round keeps each subreport's own top
}

bool TfrBand::ResumeSubReports()
{
    TfrPage* P = Parent;
    TfrPage* SavedPage = CurPage;
    auto Target = [&](int i) -> TfrPage* {
        auto* Sub = dynamic_cast<TfrSubReportView*>(Objects[FirstSubReport + i]);
        return Sub ? P->SubReportPage(Sub) : nullptr;
    };
    const int Count = static_cast<int>(SubReportDone.size());
    for (;;) {
        const bool AfterBreak = !SubReportsDone;
        for (int i = 0; i < Count; ++i) {
            if (SubReportDone[i])
                continue;
            TfrPage* T = Target(i);
            T->CurBottomY = P->CurBottomY;
            if (AfterBreak) {
                T->CurY = P->CurY;
                T->FreshY = AtFreshPlace(P) ? T->CurY : -1;
            }
        }
        SubReportsDone = true;
        SubReportBottom = P->CurY;
        for (int i = 0; i < Count && !Stopped(); ++i) {
            if (SubReportDone[i])
                continue;
            TfrPage* T = Target(i);
            CurPage = T;
            bool Full = false;
            try {
                Full = T->PlayRecList();
            } catch (...) {
                CurPage = SavedPage;
                throw;
            }
            CurPage = SavedPage;
            if (!Full) {
                SubReportDone[i] = 1;
                SubReportBottom = std::max(SubReportBottom, T->CurY);
            } else {
                SubReportsDone = false;
            }
        }
        CurBand = this;
        const bool All = std::all_of(SubReportDone.begin(), SubReportDone.end(), [](uint8_t D) { return D; });
        if (All || Stopped())
            break;
        if (P->IsSubReportPage) {
            P->PendingSubReportBand = this;
            return true;
        }
        SubReportsDone = false;
        P->NewPage();
        CurBand = this;
    }
    for (int i = 0; i < Count; ++i)
        if (TfrPage* T = Target(i)) {
            T->RecList.clear();
            T->RecPos = 0;
            SetPlaying(T, false);
        }
    P->CurY += std::max(SubReportBottom - P->CurY, std::max(FCalcHeight, DY));
    P->PendingSubReportBand = nullptr;
    return false;
}

// ---------------------------------------------------------------- aggregates

void TfrBand::BuildAggregateSlots()
{
    if (FSlotKeys == Values.Count())
        return;
    FSlots.clear();
    FCountedFooters.clear();
    for (int i = 0; i < Values.Count(); ++i) {
        const QString Key = Values.GetName(i);
        const QStringList Fields = Key.split(frKeySeparator);
        TfrAggregateSlot Slot;
        Slot.Kind = frAggregateKind(Key);
        const bool HasColumn = Fields.size() > 2 && Fields[2] == QString(Slot.Kind) && Fields[1] != QString(Slot.Kind);
        const int Base = HasColumn ? 1 : 0;
        if (HasColumn) {
            Slot.Column = Fields[0];
            Slot.Rest = Key.mid(Fields[0].size() + 1);
        }
        Slot.BandName = Fields.value(Base);
        Slot.Expression = Fields.value(Base + 2);
        Slot.CountsInvisible = Fields.value(Base + 3) == u"1";
        if (Slot.Kind != QChar(frAggCount))
            Slot.Postfix = frParser().ConvertToPostfix(Slot.Expression);
        if (!FCountedFooters.contains(Slot.BandName.toLower()))
            FCountedFooters << Slot.BandName.toLower();
        FSlots.push_back(std::move(Slot));
    }
    FSlotKeys = Values.Count();
}

void TfrBand::DoAggregate(bool CrossCell)
{
    if (Values.Count() == 0)
        return;
    BuildAggregateSlots();
    const QString Column = CrossCell ? QString::number(Parent->CrossColumn) : QString();
    if (CrossCell) {
        for (size_t i = 0, n = FSlots.size(); i < n; ++i) {
            if (FSlots[i].Column != u"0")
                continue;
            const QString Key = Column + frKeySeparator + FSlots[i].Rest;
            if (Values.IndexOf(Key) < 0)
                Values.SetVariable(Key, frAggregateResetValue(Key));
        }
        BuildAggregateSlots();
    }
    TfrBand* SavedBand = CurBand;
    CurBand = this;
    QString LastExpression;
    Variant LastValue;
    bool Evaluated = false;
    try {
        for (size_t i = 0; i < FSlots.size(); ++i) {
            const TfrAggregateSlot& Slot = FSlots[i];
            if (Slot.Column != Column || (!Visible && !Slot.CountsInvisible))
                continue;
            Variant Value;
            if (Slot.Kind != QChar(frAggCount)) {
                if (!Evaluated || Slot.Expression != LastExpression) {
                    LastValue = frParser().EvaluatePostfix(Slot.Postfix);
                    LastExpression = Slot.Expression;
                    Evaluated = true;
                }
                Value = LastValue;
            }
            Variant Accumulator = Values.GetValue(static_cast<int>(i));
            frUpdateAggregate(Accumulator, Values.GetName(static_cast<int>(i)), Value);
            Values.SetValue(static_cast<int>(i), Accumulator);
        }
    } catch (...) {
        CurBand = SavedBand;
        throw;
    }
    CurBand = SavedBand;
    if (!CrossCell) {
        ++AggregateCount;
        for (const QString& Footer : FCountedFooters) {
            ++OutputCounts[frOutputCountKey(Footer, true)];
            if (Visible)
                ++OutputCounts[frOutputCountKey(Footer, false)];
        }
    }
}

void TfrBand::InitValues()
{
    if (Typ == btGroupHeader) {
        TfrBand* Data = Parent ? GroupDataBand(Parent, this) : nullptr;
        TfrBand* G = this;
        while (G->PrevGroup)
            G = G->PrevGroup;
        for (; G; G = G->NextGroup)
            G->GroupValue = GroupConditionValue(Data, G);
        return;
    }
    std::vector<TfrBand*> Sources = AggregateSources;
    if (AggregateSource && std::find(Sources.begin(), Sources.end(), AggregateSource) == Sources.end())
        Sources.push_back(AggregateSource);
    for (TfrBand* Source : Sources) {
        if (Source->Values.Count() == 0)
            continue;
        Source->BuildAggregateSlots();
        for (size_t i = 0; i < Source->FSlots.size(); ++i)
            if (Source->FSlots[i].BandName.compare(Name, Qt::CaseInsensitive) == 0) {
                const int Index = static_cast<int>(i);
                Source->Values.SetValue(Index, frAggregateResetValue(Source->Values.GetName(Index)));
            }
        Source->AggregateCount = 0;
        Source->OutputCounts[frOutputCountKey(Name, true)] = 0;
        Source->OutputCounts[frOutputCountKey(Name, false)] = 0;
    }
}
