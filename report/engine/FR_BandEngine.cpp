// Page forming: one report page's run-time bands become prepared pages. The
// data loop walks master, detail and subdetail bands over their data sources,
// keeps the headers and group bands that wait for a printed record, breaks
// pages and columns, and, on a page formed as a subreport, records its
// actions to be played beside the other subreports of the band that holds it.
#include "report/engine/FR_BandEngine_p.h"

#include "report/engine/FR_Band.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_DSet.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Pars.h"
#include "report/engine/FR_Prepare.h"
#include "report/engine/FR_Utils.h"
#include "report/engine/FR_Variables.h"

#include <algorithm>

bool AppendPage = false;
bool frPrevFooterShown = false;
int frPrevCurY = 0;
int frPrevBottomY = 0;
TfrBand* frAskingFor = nullptr;

namespace frengine {

bool Stopped()
{
    return (MasterReport && MasterReport->Terminated()) || (CurReport && CurReport->Terminated());
}

bool IsDataBand(int Typ)
{
    return Typ == btMasterData || Typ == btDetailData || Typ == btSubDetailData;
}

TfrEMFPages* PreparedPages()
{
    TfrReport* Report = MasterReport ? MasterReport : CurReport;
    return Report ? Report->EMFPages() : nullptr;
}

int PreparedCount()
{
    TfrEMFPages* Pages = PreparedPages();
    return Pages ? Pages->Count() : 0;
}

void AddPreparedPage(const TfrPage* Page)
{
    if (TfrEMFPages* Pages = PreparedPages())
        Pages->Add(Page);
}

void FireBand(bool Begin, TfrBand* Band)
{
    auto Fire = [&](TfrReport* R) {
        if (!R)
            return;
        const auto& Event = Begin ? R->OnBeginBand : R->OnEndBand;
        if (Event)
            Event(Band);
    };
    Fire(CurReport);
    if (MasterReport != CurReport)
        Fire(MasterReport);
}

void FireEndPage(int Page)
{
    auto Fire = [&](TfrReport* R) {
        if (R && R->OnEndPage)
            R->OnEndPage(Page);
    };
    Fire(CurReport);
    if (MasterReport != CurReport)
        Fire(MasterReport);
}

void CheckUsableHeight(const TfrPage* Page)
{
    if (Page->GetBottomBound() <= Page->GetTopBound())
        throw EPageTooSmall(QStringLiteral("The page \"%1\" has no height left for its bands.").arg(Page->Name));
}

TfrBand* GroupDataBand(const TfrPage* Page, const TfrBand* Group)
{
    for (int Typ : {btMasterData, btDetailData, btSubDetailData})
        for (TfrBand* D = Page->Bands[Typ]; D; D = D->Next)
            for (const TfrBand* G = D->FirstGroup; G; G = G->NextGroup)
                if (G == Group)
                    return D;
    return nullptr;
}

Variant GroupConditionValue(TfrBand* Data, const TfrBand* Group)
{
    if (Group->GroupCondition.isEmpty())
        return Variant::Null();
    TfrBand* SavedBand = CurBand;
    if (Data)
        CurBand = Data;
    try {
        const Variant Value = frParser().EvaluatePostfix(Group->GroupCondition);
        CurBand = SavedBand;
        return Value;
    } catch (...) {
        CurBand = SavedBand;
        throw;
    }
}

} // namespace frengine

using namespace frengine;

namespace {

// A page footer adds up the rows of its own page only: it starts over with
// every prepared page and every pass, whether or not it printed before.
void StartPageTotals(TfrPage* Page)
{
    for (TfrBand* Footer = Page->Bands[btPageFooter]; Footer; Footer = Footer->Next)
        Footer->InitValues();
}

} // namespace

void frResetFormingState()
{
    CurPage = nullptr;
    CurBand = nullptr;
    CurView = nullptr;
    DisableDrawing = false;
    AppendPage = false;
    frPrevFooterShown = false;
    frPrevCurY = 0;
    frPrevBottomY = 0;
    frAskingFor = nullptr;
    EvaluatingNames.clear();
    SuppressErrors = false;
    frRegisteringAggregates = false;
    frAggregateBand = nullptr;
}

// ---------------------------------------------------------------- bands by page

void TfrPage::ShowBand(TfrBand* Band)
{
    if (!BandExists(Band))
        return;
    if (RecMode) {
        RecList.push_back({Band, 0});
        return;
    }
    Band->Draw();
}

void TfrPage::ShowBandByName(const QString& AName)
{
    for (TfrBand* Head : Bands)
        for (TfrBand* B = Head; B; B = B->Next)
            if (B->View && AnsiCompareText(B->View->Name(), AName) == 0) {
                B->Draw();
                return;
            }
}

void TfrPage::NewPage()
{
    if (CurReport)
        CurReport->ReportProgress(PageNo + 2);
    if (!PrintingFinalFooters)
        ShowBand(Bands[btColumnFooter]);
    DrawPageFooters();
    CurBottomY = GetBottomBound();
    CheckUsableHeight(this);
    AddPreparedPage(this);
    StartPageTotals(this);
    AppendPage = false;
    ShowBand(Bands[btOverlay]);
    CurY = GetTopBound();
    ShowBand(Bands[btPageHeader]);
    StartColumns();
    FreshY = CurY;
}

// The page's columns start below its header, with or without a column
// header to print there.
void TfrPage::StartColumns()
{
    ColumnTop = CurY;
    ShowBand(Bands[btColumnHeader]);
}

void TfrPage::NewColumn(TfrBand* Band)
{
    if (CurColumn < Columns - 1) {
        ShowBand(Bands[btColumnFooter]);
        ++CurColumn;
        XAdjust += ColumnWidth + ColumnGap;
        CurY = ColumnTop;
        ShowBand(Bands[btColumnHeader]);
        FreshY = CurY;
    } else {
        NewPage();
    }
    if (!Band) {
        FreshY = CurY;
        return;
    }
    // Headers of the groups the band is inside of, outermost first, then a
    // data band's own header.
    TfrBand* Data = IsDataBand(Band->Typ) ? Band : nullptr;
    TfrBand* Stop = nullptr;
    if (Band->Typ == btGroupHeader) {
        Stop = Band;
        Data = GroupDataBand(this, Band);
    }
    if (Data && !(Band->Typ == btGroupHeader && PrintingFinalFooters)) {
        for (TfrBand* G = Data->FirstGroup; G && G != Stop; G = G->NextGroup) {
            if (!(G->Flags & flBandRepeatHeader))
                continue;
            G->Repeating = true;
            ShowBand(G);
            G->Repeating = false;
        }
    }
    if (IsDataBand(Band->Typ) && Band->Header && (Band->Header->Flags & flBandRepeatHeader)) {
        Band->Header->Repeating = true;
        ShowBand(Band->Header);
        Band->Header->Repeating = false;
    }
    // Repeated headers are the page's own too.
    FreshY = CurY;
}

void TfrPage::DrawPageFooters()
{
    CurColumn = 0;
    XAdjust = GetLeftBound();
    TfrBand* Footer = Bands[btPageFooter];
    const int Count = PreparedCount();
    if (PageNo == 0 && !(Footer && (Footer->Flags & flBandOnFirstPage))) {
        PageNo = Count;
        return;
    }
    while (PageNo < Count) {
        if (!(AppendPage && frPrevFooterShown)) {
            FireEndPage(PageNo);
            ShowBand(Footer);
        }
        ++PageNo;
    }
    PageNo = Count;
}

// ---------------------------------------------------------------- data loop

namespace {

class TDataLoop
{
public:
    TDataLoop(TfrPage* Page, int MaxLevel) : FPage(Page), FMaxLevel(MaxLevel) {}
    void Run(int Level);

private:
    // What the scripts asked ahead answer for a walk over a source without
    // records: no other source, one with records, one without.
    enum class TAsked { Nothing, Records, NoRecord };

    void Walk(TfrBand* Band, int Level);
    int DeepestLevel() const;
    bool Live(size_t Outer) const;
    void ShowList();
    TAsked AskAgain(TfrBand* Band);
    void Rewind(TfrBand* Band);
    void Advance(TfrBand* Band, bool Printed, bool AtEnd);
    void GroupBreak(TfrBand* Band, bool Printed);
    void StartGroups(TfrBand* First, size_t At);

    TfrPage* FPage;
    int FMaxLevel;
    std::vector<TfrBand*> FWaiting;
    std::vector<TfrBand*> FWalking;   // outermost first
};

const int LoopDataTypes[] = {btMasterData, btDetailData, btSubDetailData};

// The deepest level with a band left to walk: a level whose bands a script
// all left without a source counts as one the template does not have.
int TDataLoop::DeepestLevel() const
{
    for (int Level = FMaxLevel; Level > 1; --Level)
        for (TfrBand* B = FPage->Bands[LoopDataTypes[Level - 1]]; B; B = B->Next)
            if (B->View && !B->SourceReleased())
                return Level;
    return 1;
}

// Nothing more of a walk prints once a script has left its band, or a band
// whose record it belongs to, without a source, or has moved one of the Outer
// outermost walks to a source without records.
bool TDataLoop::Live(size_t Outer) const
{
    const auto Last = FWalking.begin() + static_cast<std::ptrdiff_t>(std::min(Outer, FWalking.size()));
    return std::all_of(FWalking.begin(), FWalking.end(), [](const TfrBand* B) { return B->DataSet; }) &&
           std::none_of(FWalking.begin(), Last, [](const TfrBand* B) { return B->WalkRanOut(); });
}

// A data band whose walk a script has moved to a source without records
// prints no record, nor what waits below it.
void TDataLoop::ShowList()
{
    const std::vector<TfrBand*> List = std::move(FWaiting);
    FWaiting.clear();
    for (TfrBand* Band : List) {
        if (!Live(0) || Band->WalkRanOut())
            return;
        FPage->ShowBand(Band);
        if (Band->WalkRanOut())
            return;
    }
}

// Scripts asked ahead which source they name for Band's walk: what they
// assign to the script variables and to the dictionary's variables is put
// back once they have answered, however they end.
class TAskedScripts
{
public:
    explicit TAskedScripts(TfrBand* Band) : FDictionary(CurReport ? &CurReport->Dictionary()->Variables : nullptr)
    {
        FVariables.Assign(frVariables());
        for (int i = 0; FDictionary && i < FDictionary->Count(); ++i)
            FValues << FDictionary->GetValue(i);
        frAskingFor = Band;
    }
    ~TAskedScripts()
    {
        frAskingFor = nullptr;
        frVariables().Assign(FVariables);
        for (int i = 0; FDictionary && i < FValues.size() && i < FDictionary->Count(); ++i)
            FDictionary->SetValue(i, FValues[i]);
    }
    TAskedScripts(const TAskedScripts&) = delete;
    TAskedScripts& operator=(const TAskedScripts&) = delete;

private:
    TfrVariables FVariables;
    TfrVariables* FDictionary;
    QList<Variant> FValues;
};

// A walk over a source without records asks the scripts of the bands that
// would print before its first record, in their order (those waiting, its
// group headers, its header, last itself), which source they name for it.
// They change nothing else (frAskingFor) and run again when their bands
// print, so a band that never prints leaves no trace of its script, and
// each band a script moves to a source without records prints alike.
TDataLoop::TAsked TDataLoop::AskAgain(TfrBand* Band)
{
    if (FPage->RecMode)
        return TAsked::Nothing;
    std::vector<TfrBand*> Ask = FWaiting;
    for (TfrBand* G = Band->FirstGroup; G; G = G->NextGroup)
        Ask.push_back(G);
    if (Band->Header)
        Ask.push_back(Band->Header);
    Ask.push_back(Band);
    std::erase_if(Ask, [](const TfrBand* B) { return !TfrPage::BandExists(B) || B->Script.Count() == 0; });
    if (Ask.empty())
        return TAsked::Nothing;
    const int Named = Band->Namings();
    {
        TAskedScripts Asked(Band);
        for (TfrBand* B : Ask) {
            // A script that fails here fails again if its band prints.
            try {
                B->RunScriptAhead();
            } catch (const Exception&) {
            }
        }
    }
    if (Band->Namings() == Named || !Band->DataSet)
        return TAsked::Nothing;
    if (Band->DataSet->Eof())
        return TAsked::NoRecord;
    Rewind(Band);
    return TAsked::Records;
}

void TDataLoop::Rewind(TfrBand* Band)
{
    Band->DataSet->First();
    if (FPage->RecMode) {
        FPage->RecList.push_back({Band, 1});
    } else {
        Band->LocalLine = 1;
        Band->ClearMemoCaches();
        Band->GlobalLine = 1;
    }
    for (TfrBand* G = Band->FirstGroup; G; G = G->NextGroup) {
        G->LocalLine = 0;
        G->ClearMemoCaches();
        G->GlobalLine = 0;
        G->GroupValue = Variant::Null();
    }
}

// Queues the headers of group First and the groups inside it at At of the
// waiting list for the record the data source stands on, and keeps the
// value each group starts with: a group none of whose records prints must
// still end where its value changes.
void TDataLoop::StartGroups(TfrBand* First, size_t At)
{
    for (TfrBand* H = First; H; H = H->NextGroup) {
        ++H->LocalLine;
        ++H->GlobalLine;
        FWaiting.insert(FWaiting.begin() + static_cast<std::ptrdiff_t>(At++), H);
    }
    First->InitValues();
}

void TDataLoop::GroupBreak(TfrBand* Band, bool Printed)
{
    const bool AtEnd = Band->DataSet->Eof();
    TfrBand* Broken = nullptr;
    if (AtEnd) {
        Broken = Band->FirstGroup;
    } else {
        for (TfrBand* G = Band->FirstGroup; G && !Broken; G = G->NextGroup) {
            if (G->GroupValue.IsNull() || G->GroupValue.IsEmpty())
                continue;
            const Variant Now = GroupConditionValue(Band, G);
            bool Same = false;
            try {
                Same = VarEquals(Now, G->GroupValue);
            } catch (const Exception&) {
                Same = VarSame(Now, G->GroupValue);
            }
            if (!Same)
                Broken = G;
        }
    }
    if (!Broken)
        return;
    // The footers print with the group's last record. A group whose header
    // still waits printed no record: header and footer are dropped and its
    // number goes to the next group.
    if (!AtEnd)
        Band->DataSet->Prior();
    bool Footers = false;
    // The next group's headers take the dropped ones' place, still before
    // the data band's own header when that waits too.
    size_t At = FWaiting.size();
    for (TfrBand* H = Band->LastGroup; H; H = H->PrevGroup) {
        if (auto It = std::find(FWaiting.begin(), FWaiting.end(), H); It != FWaiting.end()) {
            At = static_cast<size_t>(It - FWaiting.begin());
            FWaiting.erase(It);
            --H->LocalLine;
            --H->GlobalLine;
        } else if (H->Footer) {
            FWaiting.push_back(H->Footer);
            Footers = true;
            if (H != Broken) {
                H->Footer->LocalLine = 0;
                H->Footer->ClearMemoCaches();
            }
        }
        if (H == Broken)
            break;
        H->LocalLine = 0;
        H->ClearMemoCaches();
    }
    if (Footers)
        ShowList();
    if (AtEnd)
        return;
    Band->DataSet->Next();
    if (Broken->NewPageAfter && Broken->Visible)
        FPage->NewPage();
    StartGroups(Broken, std::min(At, FWaiting.size()));
    // The new group's first record is line 1; Advance still counts the
    // record just left when that one printed.
    Band->LocalLine = Printed ? 0 : 1;
}

void TDataLoop::Advance(TfrBand* Band, bool Printed, bool AtEnd)
{
    if (FPage->RecMode) {
        FPage->RecList.push_back({Band, 2});
        return;
    }
    if (!Printed)
        return;
    ++FPage->RowCount;
    ++Band->GlobalLine;
    ++Band->LocalLine;
    if (!AtEnd && Band->NewPageAfter && Band->Visible)
        FPage->NewPage();
}

void TDataLoop::Run(int Level)
{
    for (TfrBand* Band = FPage->Bands[LoopDataTypes[Level - 1]]; Band && !Stopped() && Live(FWalking.size());
         Band = Band->Next) {
        if (!Band->View || !Band->DataSet)
            continue;
        // A source a script names once the walk has drawn a record is bound after it.
        Band->BeginLoop();
        FWalking.push_back(Band);
        Walk(Band, Level);
        FWalking.pop_back();
        Band->EndLoop();
    }
}

void TDataLoop::Walk(TfrBand* Band, int Level)
{
    const size_t Entry = FWaiting.size();
    const size_t Outer = static_cast<size_t>(Level - 1);
    Rewind(Band);
    const TAsked Asked = Band->DataSet->Eof() ? AskAgain(Band) : TAsked::Records;
    if (Asked == TAsked::Nothing)
        return;
    if (Band->FirstGroup)
        StartGroups(Band->FirstGroup, FWaiting.size());
    if (Band->Header)
        FWaiting.push_back(Band->Header);
    if (Band->Footer)
        Band->Footer->InitValues();
    // Named a source without records, as when a band before its first record
    // names it as it prints: those bands print, the walk has no record.
    if (Asked == TAsked::NoRecord)
        ShowList();
    while (Live(Outer) && !Band->DataSet->Eof() && !Stopped()) {
        bool Printed = true;
        FWaiting.push_back(Band);
        if (Band->PrintIfSubsetEmpty)
            ShowList();
        if (Level < DeepestLevel()) {
            Run(Level + 1);
            if (!FWaiting.empty()) {
                // The detail had no records.
                if (Band->PrintIfSubsetEmpty) {
                    ShowList();
                } else {
                    FWaiting.erase(std::find(FWaiting.begin(), FWaiting.end(), Band), FWaiting.end());
                    Printed = false;
                }
            }
        } else {
            ShowList();
            // The record's scripts may have named a source for a detail again.
            if (Level < FMaxLevel)
                Run(Level + 1);
        }
        if (!Live(Outer))
            break;
        // A source named before the band printed left it no record: the
        // walk ends there.
        if (Band->WalkRanOut())
            Printed = false;
        else
            Band->DataSet->Next();
        if (Band->FirstGroup)
            GroupBreak(Band, Printed);
        Advance(Band, Printed, Band->DataSet->Eof());
    }
    if (!Live(Outer) || FWaiting.size() > Entry) {
        // Nothing of this band printed: its headers go unprinted too.
        FWaiting.resize(std::min(Entry, FWaiting.size()));
    } else if (FWaiting.empty() && Band->Footer) {
        // A band above that still waits tells that nothing of this walk
        // printed: its footer would print under no record.
        FPage->ShowBand(Band->Footer);
    }
}

bool PageIsEmpty(TfrPage* Page)
{
    TfrBand* Master = Page->Bands[btMasterData];
    if (!Master || !Master->DataSet)
        return false;
    try {
        Master->DataSet->First();
        return Master->DataSet->Eof();
    } catch (const Exception&) {
        return true;
    }
}

} // namespace

void TfrPage::FormPage()
{
    TfrReport* Report = CurReport;
    const bool Manual = Report && Report->OnManualBuild;
    if (Report && !Report->PrintIfEmpty() && PageIsEmpty(this)) {
        if (AppendPage)
            ++PageNo;
        return;
    }
    PrintingFinalFooters = false;
    if (!RecMode) {
        ExecuteScript(Script);
        if (AppendPage && frPrevCurY == frPrevBottomY) {
            AppendPage = false;
            frPrevFooterShown = false;
            PageNo = PreparedCount();
        }
        CurBottomY = AppendPage && frPrevFooterShown ? frPrevBottomY : GetBottomBound();
        CheckUsableHeight(this);
        CurColumn = 0;
        XAdjust = GetLeftBound();
        StartPageTotals(this);
        if (AppendPage) {
            CurY = frPrevCurY;
        } else {
            AddPreparedPage(this);
            CurY = GetTopBound();
            ShowBand(Bands[btOverlay]);
            ShowBand(Bands[btNone]);
        }
        const int PagesBefore = PreparedCount();
        const int TitleY = CurY;
        if (!Manual)
            ShowBand(Bands[btReportTitle]);
        // Below a title a band that does not fit still gains from a new page.
        FreshY = CurY == TitleY ? -2 : -1;
        if (PreparedCount() == PagesBefore) {
            if (Bands[btPageHeader]->Flags & flBandOnFirstPage)
                ShowBand(Bands[btPageHeader]);
            StartColumns();
            if (FreshY == -2)
                FreshY = CurY;
        }
    }

    if (!Manual) {
        int MaxLevel = 0;
        for (int Level : {1, 2, 3}) {
            const int Typ = Level == 1 ? btMasterData : Level == 2 ? btDetailData : btSubDetailData;
            if (BandExists(Bands[Typ]))
                MaxLevel = Level;
        }
        if (MaxLevel > 0)
            TDataLoop(this, MaxLevel).Run(1);
    }

    if (RecMode)
        return;
    if (Manual) {
        if (CurReport->OnManualBuild)
            CurReport->OnManualBuild(this);
        if (MasterReport && MasterReport != CurReport && MasterReport->OnManualBuild)
            MasterReport->OnManualBuild(this);
    } else {
        PrintingFinalFooters = true;
        ShowBand(Bands[btColumnFooter]);
        TfrBand* ColumnFooter = Bands[btColumnFooter];
        const int SavedHeight = ColumnFooter->DY;
        ColumnFooter->DY = 0;
        ShowBand(Bands[btReportSummary]);
        ColumnFooter->DY = SavedHeight;
        PrintingFinalFooters = false;
    }
    frPrevCurY = CurColumn > 0 ? GetBottomBound() : CurY;
    frPrevBottomY = CurBottomY;
    CurColumn = 0;
    XAdjust = GetLeftBound();
    const int Before = PageNo;
    TfrBand* Footer = Bands[btPageFooter];
    bool FooterShown = false;
    if (!Manual && ((PageNo == 0 && (Footer->Flags & flBandOnFirstPage)) || (Footer->Flags & flBandOnLastPage))) {
        const uint16_t Saved = Footer->Flags;
        Footer->Flags |= flBandOnFirstPage;
        DrawPageFooters();
        Footer->Flags = Saved;
        FooterShown = BandExists(Footer);
    }
    // Read by DrawPageFooters above with the page before's value: a page
    // continued on a page that shows its footer already prints no second one
    // at the same place, and the shared page keeps counting as footed.
    frPrevFooterShown = FooterShown || (AppendPage && frPrevFooterShown);
    FireEndPage(Before);
    PageNo = Before + 1;
    LastBand = nullptr;
}

bool TfrPage::PlayRecList()
{
    while (RecPos < static_cast<int>(RecList.size())) {
        const TfrRecAction Action = RecList[RecPos];
        TfrBand* Band = Action.Band;
        switch (Action.Action) {
        case 0:
            if (TfrBand* Pending = PendingSubReportBand) {
                if (Pending->ResumeSubReports())
                    return true;
                if (Pending == Band) {
                    ++RecPos;
                    continue;
                }
            }
            if (Band->Draw())
                return true;
            break;
        case 1:
            if (Band->DataSet)
                Band->DataSet->First();
            Band->LocalLine = 1;
            Band->ClearMemoCaches();
            break;
        default:
            if (Band->DataSet)
                Band->DataSet->Next();
            ++RowCount;
            ++Band->GlobalLine;
            ++Band->LocalLine;
            break;
        }
        ++RecPos;
    }
    return false;
}
