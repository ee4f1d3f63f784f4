// The design-time form of a band: a strip of a report page that the band
// engine prints once, per record, per group, per page or per column, by its
// type. Here the fields, the band types with their names, by-name access, the
// record and the designer's drawing (hatched strip with a title tab); the
// run-time band (FR_Band) is built and walked by the band engine.
#pragma once

#include "report/engine/FR_View.h"

// Band types 0-21; 22 is "None".
enum TfrBandType : int {
    btReportTitle = 0,
    btReportSummary = 1,
    btPageHeader = 2,
    btPageFooter = 3,
    btMasterHeader = 4,
    btMasterData = 5,
    btMasterFooter = 6,
    btDetailHeader = 7,
    btDetailData = 8,
    btDetailFooter = 9,
    btSubDetailHeader = 10,
    btSubDetailData = 11,
    btSubDetailFooter = 12,
    btOverlay = 13,
    btColumnHeader = 14,
    btColumnFooter = 15,
    btGroupHeader = 16,
    btGroupFooter = 17,
    btCrossHeader = 18,
    btCrossData = 19,
    btCrossFooter = 20,
    btChild = 21,
    btNone = 22,
};

// Band Flags bits.
constexpr uint16_t flBandStretched = 1;
constexpr uint16_t flBandNewPageAfter = 2;
constexpr uint16_t flBandPrintIfSubsetEmpty = 4;
constexpr uint16_t flBandBreaked = 8;
constexpr uint16_t flBandOnFirstPage = 16;
constexpr uint16_t flBandOnLastPage = 32;
constexpr uint16_t flBandRepeatHeader = 64;
constexpr uint16_t flBandPrintChildIfInvisible = 128;

// The name of a band type (strings 55077-55099); "" outside 0-22.
QString frBandName(int BandType);
// The XML element of a band type; "" for types without one.
QString frBandXmlName(int BandType);
// Whether a type offers a Flags bit (as a property and as a menu item).
bool frBandOffersFlag(int BandType, uint16_t Flag);
inline bool frIsCrossBand(int BandType) { return BandType >= btCrossHeader && BandType <= btCrossFooter; }

class TfrBandView : public TfrView
{
public:
    TfrBandView();
    ~TfrBandView() override;

    QString ClassName() const override { return QStringLiteral("TfrBandView"); }

    // The type lives in the low 7 bits of FrameTyp.
    int BandType() const { return FFrameTyp & 127; }
    void SetBandType(int Value) { FFrameTyp = static_cast<uint16_t>(Value & 127); }
    int GetBandType() const { return BandType(); }

    // Data source name of a data band, or the condition of a group header.
    const QString& DataSet() const { return FormatStr(); }
    const QString& ChildBand() const { return FChildBand; }
    void SetChildBand(const QString& Value) { FChildBand = Value; }
    const QString& Master() const { return FMaster; }
    void SetMaster(const QString& Value) { FMaster = Value; }
    int Columns() const { return FColumns; }
    void SetColumns(int Value) { FColumns = Value; }
    int ColumnWidth() const { return FColumnWidth; }
    void SetColumnWidth(int Value) { FColumnWidth = Value; }
    int ColumnGap() const { return FColumnGap; }
    void SetColumnGap(int Value) { FColumnGap = Value; }
    int NewColumnAfter() const { return FNewColumnAfter; }
    void SetNewColumnAfter(int Value) { FNewColumnAfter = Value; }
    // The run-time band built from this view while a report is prepared.
    TfrBand* RunBand() const { return FRunBand; }
    void SetRunBand(TfrBand* Value) { FRunBand = Value; }

    // Width of the title tab: the type name in Arial 8 plus 8, at least 100.
    int TitleWidth() const;

    // Across the page (down it for a cross band) once its paper is known,
    // as the designer draws it.
    void FitToPage();
    // Design state only: the band across the page (down it for cross bands),
    // hatched, with column frames and the title tab; bands print nothing.
    void Draw(TCanvas* ACanvas) override;
    // With band titles shown, the band and its title tab.
    QRegion GetClipRgn(bool Extended) override;
    void DefinePopupMenu(TPopupMenu* Popup) override;

    void LoadFromStream(TStream& Stream) override;
    void SaveToStream(TStream& Stream) override;
    void SaveToFR3(TStream& Stream) override;

    // In print state geometry, visibility, the child, the split flag, the
    // condition and the data source also go to the run-time band, and
    // "NEXT", "PRIOR" and "FIRST" walk its data source.
    void SetPropValue(const QString& Name, const Variant& Value) override;
    Variant GetPropValue(const QString& Name) override;
    Variant CallMethod(const QString& Name, const Variant& Par1, const Variant& Par2,
                       const Variant& Par3) override;
    void RegisterProperties() override;

protected:
    bool HasFrameProperties() const override { return false; }

private:
    void SetRunBandValue(const QString& UpperName, const Variant& Value);
    bool DataSourceAtEnd() const;

    QString FChildBand;
    QString FMaster;
    int FColumns = 1;
    int FColumnWidth = 200;
    int FColumnGap = 20;
    int FNewColumnAfter = 1;
    TfrBand* FRunBand = nullptr;
};
