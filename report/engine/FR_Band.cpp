#include "report/engine/FR_Band.h"

#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_DBFields.h"
#include "report/engine/FR_DSet.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Pars.h"

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
    // Bound in the middle of a walk, a source would be walked from its first
    // record at every record whose script names it, and one shared with
    // another band would send that band's walk back too.
    if (FLooping) {
        FPendingSource = Text;
        return;
    }
    // Released and bound again, the same source would start over as well.
    if (AnsiCompareText(Text, FSourceText) == 0)
        return;
    if (DataSet) {
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

void TfrBand::BeginLoop()
{
    FLooping = true;
    FPendingSource.reset();
}

void TfrBand::EndLoop()
{
    FLooping = false;
    if (const std::optional<QString> Named = std::exchange(FPendingSource, std::nullopt))
        RebindDataSet(*Named);
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
