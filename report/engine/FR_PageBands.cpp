// Setting a page up for a report run: the run-time bands of a report page,
// the field references and aggregate bookkeeping of its views, and the modal
// form of a dialog page.
#include "report/engine/FR_Page.h"

#include "platform/gui/Forms.h"
#include "report/engine/FR_Band.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Control.h"
#include "report/engine/FR_DBFields.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Intrp.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Pars.h"
#include "report/engine/FR_SubReportView.h"
#include "report/engine/FR_Utils.h"

#include <algorithm>

namespace {

constexpr bool IsCrossType(int Typ) { return Typ >= btCrossHeader && Typ <= btCrossFooter; }

bool InRange(int Value, int Low, int High) { return Value >= Low && Value <= High; }

// Footers that count the records of a data band of each level.
const std::vector<int> MasterFooters{btPageFooter, btColumnFooter, btMasterFooter, btGroupFooter,
                                     btReportSummary};
const std::vector<int> DetailFooters{btPageFooter, btColumnFooter, btMasterFooter, btDetailFooter,
                                     btGroupFooter, btReportSummary};
const std::vector<int> SubDetailFooters{btPageFooter, btColumnFooter, btMasterFooter, btDetailFooter,
                                        btSubDetailFooter, btGroupFooter, btReportSummary};

TfrInterpretator& Interpreter()
{
    static TfrInterpretator Plain;
    return frInterpreter ? *frInterpreter : Plain;
}

void CompileInPlace(TStrings& Script)
{
    TStringList Errors;
    Interpreter().CompileScript(Script, Script, Errors);
}

} // namespace

void ExecuteScript(const TStrings& Script)
{
    if (Script.Text().isEmpty())
        return;
    CurView = nullptr;
    TStringList Compiled;
    TStringList Variables;
    Interpreter().CompileScript(Script, Compiled, Variables);
    Interpreter().RunScript(Compiled);
}

bool TfrPage::BandExists(const TfrBand* Band)
{
    return Band && (Band->View || (Band->Typ == btNone && !Band->Objects.empty()));
}

void TfrPage::SetViewBand(const TfrView* View, TfrBand* Band)
{
    if (Band)
        FViewBand.insert(View, Band);
    else
        FViewBand.remove(View);
}

TfrPage* TfrPage::SubReportPage(const TfrSubReportView* View) const
{
    const TfrPages* Pages = CurReport ? CurReport->Pages() : nullptr;
    if (!Pages || View->SubPage() < 0 || View->SubPage() >= Pages->Count())
        return nullptr;
    TfrPage* Target = Pages->Pages(View->SubPage());
    // Walk every page the target reaches through its own subreports.
    std::vector<const TfrPage*> Seen;
    std::vector<const TfrPage*> Todo{Target};
    while (!Todo.empty()) {
        const TfrPage* P = Todo.back();
        Todo.pop_back();
        if (P == this)
            return nullptr;
        if (std::find(Seen.begin(), Seen.end(), P) != Seen.end())
            continue;
        Seen.push_back(P);
        for (int i = 0; i < P->Count(); ++i)
            if (auto* Sub = dynamic_cast<const TfrSubReportView*>(P->Objects(i)))
                if (Sub->SubPage() >= 0 && Sub->SubPage() < Pages->Count())
                    Todo.push_back(Pages->Pages(Sub->SubPage()));
    }
    return Target;
}

TfrBand* TfrPage::NewBand(uint8_t Typ)
{
    FRunBands.push_back(TfrBand::CreateRuntimeBand(this, Typ));
    return FRunBands.back().get();
}

void TfrPage::FreeBands()
{
    for (const auto& Band : FRunBands)
        if (Band->View && Band->View->RunBand() == Band.get())
            Band->View->SetRunBand(nullptr);
    if (CurBand && std::any_of(FRunBands.begin(), FRunBands.end(),
                               [](const auto& Band) { return Band.get() == CurBand; }))
        CurBand = nullptr;
    FRunBands.clear();
    Bands.fill(nullptr);
    FViewBand.clear();
    PendingSubReportBand = nullptr;
    LastBand = nullptr;
    RecList.clear();
}

// ---------------------------------------------------------------- report run

void TfrPage::InitReport()
{
    TfrReport* Report = CurReport;
    if (Report && Report->DoublePass() && Report->FinalPass() && PageType == ptReport) {
        // Final pass of two: the structure stands; caches, sources and the
        // "CURRENT#" count restart, and each band starts from its template's
        // values and source, as in the first pass.
        for (const auto& View : FObjects)
            if (auto* Memo = dynamic_cast<TfrMemoView*>(View.get()))
                Memo->SetLastValue(QString());
        for (const auto& Band : FRunBands)
            Band->RestoreTemplate();
        for (TfrBand* Band : Bands)
            if (Band && Band->DataSet)
                Band->DataSet->First();
        RowCount = 1;
        return;
    }
    if (PageType == ptReport) {
        FreeBands();
        for (int Typ = 0; Typ < frBandTypeCount; ++Typ)
            Bands[Typ] = NewBand(static_cast<uint8_t>(Typ));
        InitPageBands();
        RowCount = 1;
        CrossColumn = 1;
    } else {
        InitDialog();
    }
    Prepared = true;
}

void TfrPage::DoneReport()
{
    TfrReport* Report = CurReport;
    if (Report && Report->DoublePass() && !Report->FinalPass())
        return;
    if (Prepared) {
        if (PageType == ptReport) {
            FreeBands();
        } else {
            // Views that go with the page must not be told of memos any more.
            for (const auto& Own : FObjects)
                std::erase(frMemoHookViews, Own.get());
            Clear();
            Form.reset();
        }
    }
    Prepared = false;
}

void TfrPage::InitDialog()
{
    CurPage = this;
    Form = std::make_unique<TForm>();
    Form->setObjectName(QStringLiteral("DialogForm"));
    int Placed = 0;
    for (const auto& View : FObjects) {
        auto* Control = dynamic_cast<TfrControl*>(View.get());
        if (CurReport && CurReport->OnCustomizeObject)
            CurReport->OnCustomizeObject(Control ? Control->Control() : nullptr);
        if (!Control || !Control->Control())
            continue;
        Control->PlaceControl(Form.get());
        Control->SetPropValue(QStringLiteral("Visible"), Control->Visible());
        ++Placed;
    }
    if (Placed == 0 || !Visible) {
        ExecuteScript(Script);
        return;
    }
    const bool ProgressShown = frShowProgress ? frShowProgress(false) : false;
    Form->SetBorderStyle(BorderStyle == 2 ? bsSizeable : bsDialog);
    Form->SetCaption(Caption);
    Form->SetColor(Color);
    Form->SetBounds(FormLeft, FormTop, FormWidth, FormHeight);
    Form->SetPosition(Position == 4 ? poScreenCenter : poDesigned);
    // The activation script runs once, before the form shows; it may already
    // decide the outcome through "ModalResult".
    RunScript();
    TModalResult Result = Form->ModalResult();
    if (Result == mrNone)
        Result = Form->ShowModal();
    if (Result == mrCancel && CurReport)
        CurReport->SetDialogCancelled(true);
    if (frShowProgress && ProgressShown)
        frShowProgress(true);
}

void TfrPage::RunScript()
{
    ExecuteScript(Script);
}

// ---------------------------------------------------------------- bands

void TfrPage::CollectViews(TfrBand* Band)
{
    const int Top = Band->Y;
    const int Bottom = Band->Y + Band->DY;
    auto Take = [&](TfrView* View) {
        View->SetTop(View->Top() - Top);
        View->SetSelected(false);
        Band->Objects.push_back(View);
    };
    // Plain views, then views of cross bands, then subreports: subreports come
    // last so that everything else of the band prints before them.
    for (int Pass = 0; Pass < 3; ++Pass) {
        for (const auto& Own : FObjects) {
            TfrView* View = Own.get();
            if (!View->Selected() || !InRange(View->Top(), Top, Bottom))
                continue;
            TfrBand* Parent = ViewBand(View);
            const bool Sub = View->ObjectType() == gtSubReport;
            if (Pass == 0 && !Parent && !Sub) {
                SetViewBand(View, Band);
                Take(View);
            } else if (Pass == 1 && Parent && IsCrossType(Parent->Typ)) {
                Take(View);
            } else if (Pass == 2 && !Parent && Sub) {
                SetViewBand(View, Band);
                Take(View);
            }
        }
    }
}

void TfrPage::LinkHeadersAndFooters(int HeaderTyp, int DataTyp, int FooterTyp)
{
    for (TfrBand* H = Bands[HeaderTyp]; H; H = H->Next) {
        if (!H->View)
            continue;
        for (TfrBand* D = Bands[DataTyp]; D; D = D->Next) {
            if (D->View && D->Y > H->Y + H->DY) {
                if (!D->Header) {
                    D->Header = H;
                    H->DataBand = D;
                }
                break;
            }
        }
    }
    for (TfrBand* F = Bands[FooterTyp]; F; F = F->Next) {
        if (!F->View)
            continue;
        TfrBand* Last = nullptr;
        for (TfrBand* D = Bands[DataTyp]; D; D = D->Next)
            if (D->View && D->Y + D->DY <= F->Y)
                Last = D;
        if (Last && !Last->Footer) {
            Last->Footer = F;
            F->DataBand = Last;
        }
    }
}

void TfrPage::InitCrossSources()
{
    TfrBand* Cross = Bands[btCrossData];
    if (!BandExists(Cross) || !Cross->View->DataSet().contains(u';'))
        return;
    // "band=source;band=source;"
    const QStringList Pairs = Cross->View->DataSet().split(u';', Qt::SkipEmptyParts);
    for (const QString& Pair : Pairs) {
        const qsizetype Eq = Pair.indexOf(u'=');
        if (Eq < 0)
            continue;
        const QString BandName = Pair.left(Eq);
        const QString Source = Pair.mid(Eq + 1);
        for (int Typ = btMasterHeader; Typ <= btChild; ++Typ) {
            for (TfrBand* B = Bands[Typ]; B; B = B->Next) {
                if (!B->View || AnsiCompareText(B->View->Name(), BandName) != 0)
                    continue;
                std::unique_ptr<TfrDataset> Owned;
                TfrDataset* Found = GetDataSource(Source, Owned);
                B->SetCrossDataSet(Found, std::move(Owned));
            }
        }
    }
}

void TfrPage::InitPageBands()
{
    // 1. Views in print state; subreports mark the pages they insert.
    for (const auto& Own : FObjects) {
        TfrView* View = Own.get();
        View->SetStreamMode(1);
        if (auto* Memo = dynamic_cast<TfrMemoView*>(View); Memo && !Memo->HighlightCondition().isEmpty())
            Memo->SetHighlightCondition(frParser().ConvertToPostfix(Memo->HighlightCondition()));
        if ((View->Flags() & flWantHook) &&
            std::find(frMemoHookViews.begin(), frMemoHookViews.end(), View) == frMemoHookViews.end())
            frMemoHookViews.push_back(View);
        View->SetSelected(View->ObjectType() != gtBand);
        CompileInPlace(*View->Script());
        if (auto* Sub = dynamic_cast<TfrSubReportView*>(View))
            if (TfrPage* Target = SubReportPage(Sub))
                Target->IsSubReportPage = true;
    }
    FViewBand.clear();

    auto BandViews = [this](int Typ) {
        std::vector<TfrBandView*> Result;
        for (const auto& Own : FObjects)
            if (auto* BV = dynamic_cast<TfrBandView*>(Own.get()); BV && BV->BandType() == Typ)
                Result.push_back(BV);
        return Result;
    };
    auto TakeView = [](TfrBand* Band, TfrBandView* BV) {
        Band->View = BV;
        BV->SetRunBand(Band);
        Band->Memo.Assign(*BV->Memo());
        Band->Script.Assign(*BV->Script());
        Band->Flags = BV->Flags();
        Band->Visible = BV->Visible();
        Band->Name = BV->Name();
    };

    // 2. Cross bands; the views across them join them but stay unplaced.
    for (int Typ = btCrossHeader; Typ <= btCrossFooter; ++Typ) {
        for (TfrBandView* BV : BandViews(Typ)) {
            TfrBand* Band = Bands[Typ];
            TakeView(Band, BV);
            Band->X = BV->Left();
            Band->DX = BV->Width();
            Band->FreeDataSets();
            Band->InitDataSet(BV->DataSet());
            for (const auto& Own : FObjects) {
                TfrView* View = Own.get();
                if (!View->Selected() || ViewBand(View))
                    continue;
                if (InRange(View->Left(), Band->X, Band->X + Band->DX) &&
                    InRange(View->Left() + View->Width(), Band->X, Band->X + Band->DX)) {
                    View->SetLeft(View->Left() - Band->X);
                    SetViewBand(View, Band);
                    Band->Objects.push_back(View);
                }
            }
        }
    }

    // 3, 4. Horizontal bands, each type a chain sorted by Y.
    for (int Typ = 0; Typ <= btChild; ++Typ) {
        if (IsCrossType(Typ))
            continue;
        std::vector<TfrBand*> Chain{Bands[Typ]};
        bool First = true;
        for (TfrBandView* BV : BandViews(Typ)) {
            TfrBand* Band = First ? Bands[Typ] : NewBand(static_cast<uint8_t>(Typ));
            if (!First)
                Chain.push_back(Band);
            First = false;
            TakeView(Band, BV);
            Band->Y = BV->Top();
            Band->DY = BV->Height();
            Band->Column = 1;
            Band->InitDataSet(BV->DataSet());
            const uint16_t F = BV->Flags();
            Band->Stretched = F & flBandStretched;
            Band->NewPageAfter = F & flBandNewPageAfter;
            Band->PrintIfSubsetEmpty = F & flBandPrintIfSubsetEmpty;
            Band->PageBreak = F & flBandBreaked;
            Band->PrintChildIfInvisible = F & flBandPrintChildIfInvisible;
            if (IsSubReportPage) {
                Band->NewPageAfter = false;
                Band->PageBreak = false;
            }
            CollectViews(Band);
        }
        for (size_t i = 0; i + 1 < Chain.size(); ++i) {
            size_t Min = i;
            for (size_t j = i + 1; j < Chain.size(); ++j)
                if (Chain[j]->Y < Chain[Min]->Y)
                    Min = j;
            std::swap(Chain[i], Chain[Min]);
        }
        for (size_t i = 0; i < Chain.size(); ++i) {
            Chain[i]->Prev = i > 0 ? Chain[i - 1] : nullptr;
            Chain[i]->Next = i + 1 < Chain.size() ? Chain[i + 1] : nullptr;
        }
        Bands[Typ] = Chain.front();
        Bands[Typ]->LastOfChain = Chain.back();
    }

    // 5. Whatever lies outside every band prints with the page.
    for (const auto& Own : FObjects) {
        TfrView* View = Own.get();
        if (View->Selected() && !ViewBand(View)) {
            View->SetSelected(false);
            SetViewBand(View, Bands[btNone]);
            Bands[btNone]->Objects.push_back(View);
        }
    }

    // 6, 7. Headers and footers of each data level; groups pair inside out.
    LinkHeadersAndFooters(btMasterHeader, btMasterData, btMasterFooter);
    LinkHeadersAndFooters(btDetailHeader, btDetailData, btDetailFooter);
    LinkHeadersAndFooters(btSubDetailHeader, btSubDetailData, btSubDetailFooter);
    {
        TfrBand* H = Bands[btGroupHeader]->LastOfChain;
        TfrBand* F = Bands[btGroupFooter];
        while (H && H->View && F && F->View) {
            H->Footer = F;
            H = H->Prev;
            F = F->Next;
        }
    }

    // 8. Per-band sources of the cross-tab.
    InitCrossSources();

    // 9. Children, refusing a chain that comes back to where it started.
    for (const auto& Band : FRunBands) {
        if (!Band->View || Band->View->ChildBand().isEmpty())
            continue;
        auto* ChildView = dynamic_cast<TfrBandView*>(FindObject(Band->View->ChildBand()));
        TfrBand* Child = ChildView ? ChildView->RunBand() : nullptr;
        bool Loops = false;
        for (TfrBand* C = Child; C && !Loops; C = C->Child)
            Loops = C == Band.get();
        if (!Loops)
            Band->Child = Child;
    }

    // 10. Group headers attach to the data band they name, else the master data.
    if (BandExists(Bands[btMasterData])) {
        for (TfrBand* G = Bands[btGroupHeader]; G; G = G->Next) {
            if (!G->View)
                continue;
            TfrBand* Data = Bands[btMasterData];
            if (!G->View->Master().isEmpty()) {
                auto* MasterView = dynamic_cast<TfrBandView*>(FindObject(G->View->Master()));
                Data = MasterView ? MasterView->RunBand() : nullptr;
            }
            if (!Data)
                continue;
            if (!Data->FirstGroup) {
                Data->FirstGroup = G;
            } else {
                Data->LastGroup->NextGroup = G;
                G->PrevGroup = Data->LastGroup;
            }
            Data->LastGroup = G;
        }
    }

    // What scripts may change, as the final pass of two starts from it.
    for (const auto& Band : FRunBands)
        Band->KeepTemplate();

    // 11. Page columns.
    if (Columns < 1)
        Columns = 1;
    ColumnWidth = (GetRightBound() - GetLeftBound() - (Columns - 1) * ColumnGap) / Columns;
}

void TfrPage::PrepareObjects()
{
    TfrReport* Report = CurReport;
    if (PageType == ptDialog || (Report && Report->DoublePass() && Report->FinalPass()))
        return;
    TfrBand* SavedBand = CurBand;
    for (const auto& Own : FObjects) {
        TfrView* View = Own.get();
        View->SetFieldDataSet(nullptr);
        View->SetFieldName(QString());
        const QString Text = View->Memo()->Text().trimmed();
        auto* Memo = dynamic_cast<TfrMemoView*>(View);
        if (Text.length() <= 2 || !Text.startsWith(u'[') || (Memo && (Memo->Flags() & flTextOnly)))
            continue;
        const qsizetype Close = Text.lastIndexOf(u']');
        if (Close <= 1)
            continue;
        const QString Expression = Text.mid(1, Close - 1);
        TDataSet* DataSet = nullptr;
        QString Field;
        TfrDataDictionary* Dict = Report ? Report->Dictionary() : nullptr;
        const int Var = Dict ? Dict->Variables.IndexOf(Expression) : -1;
        if (Var >= 0) {
            GetDataSetAndField(Dict->GetRealDataSetName(VarToStr(Dict->Variables.GetValue(Var))), DataSet,
                               Field);
        } else {
            if (Report && Report->UseDefaultDataSetName()) {
                CurBand = ViewBand(View);
                DataSet = GetDefaultDataSet();
            }
            GetDataSetAndField(Expression, DataSet, Field);
        }
        if (!Field.isEmpty()) {
            View->SetFieldDataSet(DataSet);
            View->SetFieldName(Field);
        }
    }
    CurBand = SavedBand;

    if (!frPrepareAggregates)
        return;
    const std::pair<int, const std::vector<int>*> Levels[] = {
        {btMasterData, &MasterFooters}, {btDetailData, &DetailFooters}, {btSubDetailData, &SubDetailFooters}};
    for (const auto& [Typ, Footers] : Levels)
        for (TfrBand* Data = Bands[Typ]; Data && Data->DataSet; Data = Data->Next)
            frPrepareAggregates(this, Data, *Footers);
    if (BandExists(Bands[btCrossData]))
        frPrepareAggregates(this, Bands[btCrossData], {btCrossFooter});
}
