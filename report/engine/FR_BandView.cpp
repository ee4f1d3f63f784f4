#include "report/engine/FR_BandView.h"

#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Utils.h"

#include "platform/rtl/Streams.h"

#include <array>

void frRegisterBandView()
{
    frRegisterViewClass(gtBand, QStringLiteral("TfrBandView"), [] { return std::make_unique<TfrBandView>(); });
}

namespace {

constexpr int FirstBandNameId = 55077;

// Bit n set: band type n.
constexpr uint32_t Types(std::initializer_list<int> List)
{
    uint32_t Mask = 0;
    for (int Type : List)
        Mask |= 1u << Type;
    return Mask;
}

constexpr uint32_t TypeRange(int From, int To)
{
    uint32_t Mask = 0;
    for (int Type = From; Type <= To; ++Type)
        Mask |= 1u << Type;
    return Mask;
}

struct TBandFlag
{
    const char* PropName;
    const char16_t* UpperName;
    uint16_t Bit;
    uint32_t OfferedFor;
};

// In registration order; "PrintChildIfInvisible" is registered on its own.
const std::array<TBandFlag, 8> BandFlags{{
    {"Stretched", u"STRETCHED", flBandStretched,
     TypeRange(0, 2) | TypeRange(4, 12) | TypeRange(16, 18) | Types({21})},
    {"FormNewPage", u"FORMNEWPAGE", flBandNewPageAfter, Types({0, 1, 5, 6, 8, 9, 11, 12, 16})},
    {"PrintIfSubsetEmpty", u"PRINTIFSUBSETEMPTY", flBandPrintIfSubsetEmpty, Types({5, 8})},
    {"Breaked", u"BREAKED", flBandBreaked, Types({0, 1}) | TypeRange(4, 12) | Types({16, 17, 21})},
    {"OnFirstPage", u"ONFIRSTPAGE", flBandOnFirstPage, Types({2, 3})},
    {"OnLastPage", u"ONLASTPAGE", flBandOnLastPage, Types({3})},
    {"RepeatHeader", u"REPEATHEADER", flBandRepeatHeader, Types({4, 7, 10, 16, 18})},
    {"PrintChildIfInvisible", u"PRINTCHILDIFINVISIBLE", flBandPrintChildIfInvisible,
     TypeRange(0, btChild) & ~Types({3})},
}};

const TBandFlag* FindBandFlag(const QString& UpperName)
{
    for (const TBandFlag& Flag : BandFlags)
        if (UpperName == QStringView(Flag.UpperName))
            return &Flag;
    return nullptr;
}

const char* const XmlNames[btNone] = {
    "TfrReportTitle", "TfrReportSummary", "TfrPageHeader", "TfrPageFooter", "TfrHeader",
    "TfrMasterData", "TfrFooter", "TfrHeader", "TfrDetailData", "TfrFooter",
    "TfrHeader", "TfrSubDetailData", "TfrFooter", "", "TfrColumnHeader",
    "TfrColumnFooter", "TfrGroupHeader", "TfrGroupFooter", "", "",
    "", "TfrChild",
};

bool IsDataBand(int Type)
{
    return Type == btMasterData || Type == btDetailData || Type == btSubDetailData;
}

// The names of the other band views of the given types on the page being
// designed, ";"-separated; empty outside design state.
QString OtherBandNames(const TfrBandView* Self, uint32_t TypeMask)
{
    QStringList Names;
    if (DocMode == dmDesigning && CurPage)
        for (int i = 0; i < CurPage->Count(); ++i) {
            auto* Band = dynamic_cast<TfrBandView*>(CurPage->Objects(i));
            if (Band && Band != Self && (TypeMask & (1u << Band->BandType())))
                Names.append(Band->Name());
        }
    return Names.join(u';');
}

} // namespace

QString frBandName(int BandType)
{
    if (BandType < 0 || BandType > btNone)
        return QString();
    return LoadEngineString(FirstBandNameId + BandType);
}

QString frBandXmlName(int BandType)
{
    if (BandType < 0 || BandType >= btNone)
        return QString();
    return QString::fromLatin1(XmlNames[BandType]);
}

bool frBandOffersFlag(int BandType, uint16_t Flag)
{
    if (BandType < 0 || BandType >= btNone)
        return false;
    for (const TBandFlag& Entry : BandFlags)
        if (Entry.Bit == Flag)
            return (Entry.OfferedFor & (1u << BandType)) != 0;
    return false;
}

TfrBandView::TfrBandView()
{
    FBaseName = QStringLiteral("Band");
    FObjectType = gtBand;
    FFlags = flBandOnFirstPage | flBandOnLastPage;
    FFormat = 0;
    FRecordSubVersion = 1;
}

TfrBandView::~TfrBandView() = default;

void TfrBandView::LoadFromStream(TStream& Stream)
{
    TfrView::LoadFromStream(Stream);
    if (FormVersion > 23) {
        FChildBand = ReadStreamString(Stream);
        FColumns = Stream.ReadI32();
        FColumnWidth = Stream.ReadI32();
        FColumnGap = Stream.ReadI32();
        FNewColumnAfter = Stream.ReadI32();
        if (FRecordVersion * 10 + FRecordSubVersion > 20)
            FMaster = ReadStreamString(Stream);
    }
}

void TfrBandView::SaveToStream(TStream& Stream)
{
    // The sub-version that tells a reader the Master text follows.
    FRecordSubVersion = 1;
    TfrView::SaveToStream(Stream);
    WriteStreamString(Stream, FChildBand);
    Stream.WriteI32(FColumns);
    Stream.WriteI32(FColumnWidth);
    Stream.WriteI32(FColumnGap);
    Stream.WriteI32(FNewColumnAfter);
    WriteStreamString(Stream, FMaster);
}

void TfrBandView::SetPropValue(const QString& Name, const Variant& Value)
{
    const QString N = UpperCase(Name);
    const TBandFlag* Flag = FindBandFlag(N);
    if (Flag && Flag->Bit != flBandStretched)
        FFlags = frSetBit(FFlags, Flag->Bit, Value.AsBoolean());
    else if (N == u"CHILDBAND")
        FChildBand = Value.AsString();
    else if (N == u"MASTER")
        FMaster = Value.AsString();
    else if (N == u"CONDITION")
        SetFormatStr(Value.AsString());
    else if (N == u"COLUMNS")
        FColumns = static_cast<int>(Value.AsInteger());
    else if (N == u"COLUMNGAP")
        FColumnGap = static_cast<int>(Value.AsInteger());
    else if (N == u"COLUMNWIDTH")
        FColumnWidth = static_cast<int>(Value.AsInteger());
    else if (N == u"NEWCOLUMNAFTER")
        FNewColumnAfter = static_cast<int>(Value.AsInteger());
    else
        TfrView::SetPropValue(Name, Value);
}

Variant TfrBandView::GetPropValue(const QString& Name)
{
    Variant Result = TfrView::GetPropValue(Name);
    if (!Result.IsEmpty())
        return Result;
    const QString N = UpperCase(Name);
    if (N == u"CHILDBAND")
        return FChildBand;
    if (N == u"MASTER")
        return FMaster;
    if (N == u"CONDITION")
        return FormatStr();
    // Without a run-time band there is no data source to walk: nothing left.
    if (N == u"EOF")
        return true;
    if (const TBandFlag* Flag = FindBandFlag(N))
        return (FFlags & Flag->Bit) != 0;
    if (N == u"COLUMNS")
        return FColumns;
    if (N == u"COLUMNGAP")
        return FColumnGap;
    if (N == u"NEWCOLUMNAFTER")
        return FNewColumnAfter;
    if (N == u"COLUMNWIDTH")
        return FColumnWidth;
    return Result;
}

void TfrBandView::RegisterProperties()
{
    TfrView::RegisterProperties();
    const int Type = BandType();
    if (Type != btPageFooter) {
        AddEnumProperty(QStringLiteral("ChildBand"), OtherBandNames(this, 1u << btChild), {});
        AddProperty(QStringLiteral("PrintChildIfInvisible"), PropBoolean);
    }
    for (const TBandFlag& Flag : BandFlags)
        if (Flag.Bit != flBandPrintChildIfInvisible && (Flag.OfferedFor & (1u << Type)))
            AddProperty(QString::fromLatin1(Flag.PropName), PropBoolean);
    if (Type == btCrossData)
        AddProperty(QStringLiteral("DataSource"), PropHasEditor, frCrossDataSourceEditor);
    if (IsDataBand(Type)) {
        AddProperty(QStringLiteral("Columns"), PropInteger);
        AddProperty(QStringLiteral("ColumnWidth"), PropSize);
        AddProperty(QStringLiteral("ColumnGap"), PropSize);
        AddProperty(QStringLiteral("DataSource"), PropHasEditor, frDataSourceEditor);
    }
    if (Type == btGroupHeader) {
        AddProperty(QStringLiteral("Condition"), PropString);
        AddEnumProperty(QStringLiteral("Master"),
                        OtherBandNames(this, (1u << btMasterData) | (1u << btDetailData) |
                                                 (1u << btSubDetailData)),
                        {});
    }
    AddProperty(QStringLiteral("EOF"), 0);
    if (TfrPropRec* Memo = FindPropRec(QStringLiteral("Memo")))
        Memo->PropName = QStringLiteral("OnBeforePrint");
}
