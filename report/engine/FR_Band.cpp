#include "report/engine/FR_Band.h"

#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_DBFields.h"
#include "report/engine/FR_DSet.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Pars.h"
#include "report/engine/FR_Prepare.h"

#include <utility>

namespace {

// Fields named without their dataset look in the current band's data band.
const bool HooksInstalled = [] {
    frBandType = [](const TfrBand* Band) { return static_cast<int>(Band->Typ); };
    frBandDataSource = [](const TfrBand* Band) { return Band->DataSet; };
    return true;
}();

} // namespace

TfrBand::TfrBand() = default;

TfrBand::~TfrBand()
{
    FreeDataSets();
}

std::unique_ptr<TfrBand> TfrBand::CreateRuntimeBand(TfrPage* APage, uint8_t ATyp)
{
    (void)HooksInstalled;
    auto Band = std::make_unique<TfrBand>();
    Band->Parent = APage;
    Band->Typ = ATyp;
    return Band;
}

void TfrBand::InitDataSet(const QString& Text)
{
    FSourceText = Text;
    if (Typ == btGroupHeader) {
        GroupCondition = frParser().ConvertToPostfix(Text);
        return;
    }
    if (!Text.contains(u';')) {
        DataSet = GetDataSource(Text, FOwnedDataSet);
        OwnsDataSet = FOwnedDataSet != nullptr;
    }
    if (Typ == btMasterData && !DataSet && CurReport && CurReport->ReportType() == rtSimple)
        DataSet = CurReport->Dataset();
}

void TfrBand::SetCrossDataSet(TfrDataset* ASource, std::unique_ptr<TfrDataset> Owned)
{
    if (CrossDataSet)
        CrossDataSet->Exit();
    FOwnedCrossDataSet = std::move(Owned);
    CrossDataSet = ASource;
    OwnsCrossDataSet = FOwnedCrossDataSet != nullptr;
}

void TfrBand::RebindDataSet(const QString& Text)
{
    // Asked ahead, a name that gives no source is left to the script's run
    // when its band prints.
    if (frAskingFor == this && !NamesASource(Text))
        return;
    ++FNamings;
    // Bound in the middle of a walk that has drawn a record, a source would
    // be walked from its first record at every record whose script names it,
    // and one shared with another band would send that band's walk back too.
    // A recorded walk plays the records it counted on the source it had.
    if (FLooping && (FWalkDrawn || (FPlaying && NamesASource(Text)))) {
        FPendingSource = Text;
        return;
    }
    // Released and bound again, the same source would start over as well.
    if (AnsiCompareText(Text, FSourceText) == 0)
        return;
    BindDataSet(Text);
    // A script's unknown or empty name leaves a band that walks a source with
    // nothing more to print (a template's own unknown name means what it did).
    FSourceReleased = !DataSet && !Text.contains(u';') &&
                      (Typ == btMasterData || Typ == btDetailData || Typ == btSubDetailData || Typ == btCrossData);
    // Walked from its start, also by a walk that has drawn nothing yet; the
    // record that walk stood on is gone with the old source.
    if (DataSet) {
        DataSet->First();
        FRanOut = FLooping && DataSet->Eof();
    }
}

bool TfrBand::NamesASource(const QString& Text) const
{
    if (Typ == btGroupHeader || Text.contains(u';'))
        return false;
    std::unique_ptr<TfrDataset> Owned;
    return FindDataSource(Text, Owned) != nullptr;
}

void TfrBand::BindDataSet(const QString& Text)
{
    // A source another band of the page still walks stays open for it; it
    // closes with that band.
    bool Shared = false;
    if (DataSet && Parent)
        for (TfrBand* Head : Parent->Bands)
            for (TfrBand* B = Head; B && !Shared; B = B->Next)
                Shared = B != this && B->DataSet == DataSet;
    if (DataSet && !Shared) {
        try {
            DataSet->Exit();
        } catch (const Exception&) {
        }
    }
    DataSet = nullptr;
    FOwnedDataSet.reset();
    OwnsDataSet = false;
    InitDataSet(Text);
}

void TfrBand::KeepTemplate()
{
    TTemplateValues& T = FTemplate.emplace();
    T.Visible = Visible;
    T.PageBreak = PageBreak;
    T.X = X;
    T.Y = Y;
    T.DX = DX;
    T.DY = DY;
    T.Child = Child;
    T.GroupCondition = GroupCondition;
    if (View) {
        T.ViewFlags = View->Flags();
        T.ViewChildBand = View->ChildBand();
        T.ViewMaster = View->Master();
        T.ViewCondition = View->FormatStr();
        T.Columns = View->Columns();
        T.ColumnWidth = View->ColumnWidth();
        T.ColumnGap = View->ColumnGap();
        T.NewColumnAfter = View->NewColumnAfter();
    }
}

void TfrBand::RestoreTemplate()
{
    // What a first-pass script set on the band or its view (visibility and
    // columns are read from the view at every output) would otherwise hold
    // from the final pass's first record on.
    if (FTemplate) {
        const TTemplateValues& T = *FTemplate;
        Visible = T.Visible;
        PageBreak = T.PageBreak;
        X = T.X;
        Y = T.Y;
        DX = T.DX;
        DY = T.DY;
        Child = T.Child;
        GroupCondition = T.GroupCondition;
        if (View) {
            View->SetVisible(T.Visible);
            View->SetFlags(T.ViewFlags);
            View->SetChildBand(T.ViewChildBand);
            View->SetMaster(T.ViewMaster);
            View->SetFormatStr(T.ViewCondition);
            View->SetColumns(T.Columns);
            View->SetColumnWidth(T.ColumnWidth);
            View->SetColumnGap(T.ColumnGap);
            View->SetNewColumnAfter(T.NewColumnAfter);
        }
    }
    FLooping = false;
    FPlaying = false;
    FPendingSource.reset();
    FSourceReleased = false;
    FRanOut = false;
    if (View && AnsiCompareText(View->DataSet(), FSourceText) != 0)
        BindDataSet(View->DataSet());
}

void TfrBand::BeginLoop(bool DeferAll)
{
    FLooping = true;
    FWalkDrawn = DeferAll;
    FRanOut = false;
    FPendingSource.reset();
}

void TfrBand::EndLoop()
{
    FLooping = false;
    FRanOut = false;
    if (FPlaying)
        return;
    if (const std::optional<QString> Named = std::exchange(FPendingSource, std::nullopt))
        RebindDataSet(*Named);
}

void TfrBand::BeginPlay()
{
    BeginLoop();
    FPlaying = true;
}

void TfrBand::EndPlay()
{
    if (!FPlaying)
        return;
    FPlaying = false;
    EndLoop();
}

void TfrBand::WalkDrew()
{
    if (FLooping)
        FWalkDrawn = true;
}

void TfrBand::FreeDataSets()
{
    // A source that fails to close must not keep the others open.
    for (TfrDataset* Source : {DataSet, CrossDataSet}) {
        if (!Source)
            continue;
        try {
            Source->Exit();
        } catch (const Exception&) {
        }
    }
    DataSet = nullptr;
    CrossDataSet = nullptr;
    FOwnedDataSet.reset();
    FOwnedCrossDataSet.reset();
    OwnsDataSet = false;
    OwnsCrossDataSet = false;
}
