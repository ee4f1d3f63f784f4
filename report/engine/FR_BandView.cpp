#include "report/engine/FR_BandView.h"

#include "platform/gui/Menus.h"
#include "report/engine/FR_Band.h"
#include "report/engine/FR_DSet.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Pars.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_TextMeasure.h"
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
    if (DocMode == dmPrinting && FRunBand)
        SetRunBandValue(N, Value);
}

// A script in print state acts on the band being formed; the view itself is
// the template, read back once the preparation ends.
void TfrBandView::SetRunBandValue(const QString& N, const Variant& Value)
{
    TfrBand* Band = FRunBand;
    if (N == u"CHILDBAND") {
        auto* ChildView = CurPage ? dynamic_cast<TfrBandView*>(CurPage->FindObject(Value.AsString())) : nullptr;
        TfrBand* Child = ChildView ? ChildView->RunBand() : nullptr;
        // A child chain that came back to this band would print forever.
        for (TfrBand* C = Child; C; C = C->Child)
            if (C == Band) {
                Child = nullptr;
                break;
            }
        Band->Child = Child;
    } else if (N == u"BREAKED") {
        // Bands of a subreport page never split: the playing band breaks for them.
        Band->PageBreak = Value.AsBoolean() && !(Band->Parent && Band->Parent->IsSubReportPage);
    } else if (N == u"CONDITION") {
        if (Band->Typ == btGroupHeader)
            Band->GroupCondition = frParser().ConvertToPostfix(Value.AsString());
    } else if (N == u"LEFT") {
        Band->X = static_cast<int>(Value.AsInteger());
    } else if (N == u"TOP") {
        Band->Y = static_cast<int>(Value.AsInteger());
    } else if (N == u"WIDTH") {
        Band->DX = static_cast<int>(Value.AsInteger());
    } else if (N == u"HEIGHT") {
        Band->DY = static_cast<int>(Value.AsInteger());
    } else if (N == u"VISIBLE") {
        Band->Visible = Value.AsBoolean();
    } else if (N == u"DATASOURCE") {
        Band->RebindDataSet(Value.AsString());
    }
}

Variant TfrBandView::GetPropValue(const QString& Name)
{
    const QString N = UpperCase(Name);
    if (DocMode == dmPrinting && FRunBand) {
        if (N == u"LEFT")
            return FRunBand->X;
        if (N == u"TOP")
            return FRunBand->Y;
        if (N == u"WIDTH")
            return FRunBand->DX;
        if (N == u"HEIGHT")
            return FRunBand->DY;
        if (N == u"VISIBLE")
            return FRunBand->Visible;
    }
    Variant Result = TfrView::GetPropValue(Name);
    if (!Result.IsEmpty())
        return Result;
    if (N == u"CHILDBAND")
        return FChildBand;
    if (N == u"MASTER")
        return FMaster;
    if (N == u"CONDITION")
        return FormatStr();
    if (N == u"EOF")
        return DataSourceAtEnd();
    if (N == u"BREAKED" && DocMode == dmPrinting && FRunBand)
        return FRunBand->PageBreak;
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

// Without a run-time band or a data source (design state, page bands) there
// is nothing left to walk.
bool TfrBandView::DataSourceAtEnd() const
{
    if (!FRunBand || !FRunBand->DataSet)
        return true;
    try {
        return FRunBand->DataSet->Eof();
    } catch (const Exception&) {
        return true;
    }
}

Variant TfrBandView::CallMethod(const QString& Name, const Variant& Par1, const Variant& Par2,
                                const Variant& Par3)
{
    const QString N = UpperCase(Name);
    if (N == u"NEXT" || N == u"PRIOR" || N == u"FIRST") {
        if (TfrDataset* Source = FRunBand ? FRunBand->DataSet : nullptr) {
            if (N == u"NEXT")
                Source->Next();
            else if (N == u"PRIOR")
                Source->Prior();
            else
                Source->First();
        }
        return Variant();
    }
    return TfrView::CallMethod(Name, Par1, Par2, Par3);
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
    if (frengine::IsDataBand(Type)) {
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

// ---------------------------------------------------------------- drawing

namespace {

constexpr int TitleDepth = 18;

void SetTitleFont(TFont* Font)
{
    Font->SetName(QStringLiteral("Arial"));
    Font->SetSize(8);
    Font->SetStyle({});
    Font->SetColor(clBlack);
    Font->SetCharset(DefaultCharset());
    Font->SetOrientation(0);
}

} // namespace

int TfrBandView::TitleWidth() const
{
    TFont Font;
    SetTitleFont(&Font);
    return std::max(100, frTextWidth(Font, frBandName(BandType()), 0) + 8);
}

void TfrBandView::FitToPage()
{
    const bool Cross = frIsCrossBand(BandType());
    TfrPage* Page = AlignPage();
    // A page whose paper is not known yet leaves the band as stored.
    if (Page && !Cross && Page->PrnInfo.PaperWidthPx > 0) {
        SetLeft(0);
        SetWidth(Page->PrnInfo.PaperWidthPx);
    } else if (Page && Cross && Page->PrnInfo.PaperHeightPx > 0) {
        SetTop(0);
        SetHeight(Page->PrnInfo.PaperHeightPx);
    }
}

void TfrBandView::Draw(TCanvas* ACanvas)
{
    FCanvas = ACanvas;
    if (DocMode == dmPrinting)
        return;
    SetFrameWidth(1.0f);
    const bool Cross = frIsCrossBand(BandType());
    TfrPage* Page = AlignPage();
    FitToPage();
    ApplyBandAlign(ACanvas);
    TfrDrawScope Scope(this);
    if (DisableDrawing)
        return;
    TCanvas* C = ACanvas;
    TCanvasState State(C);
    C->Brush()->SetBitmap(frBandPattern());
    C->FillRect(DrawRect());
    SetTitleFont(C->Font());
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(clBtnFace);
    C->Brush()->SetStyle(bsClear);
    const int L = Left(), T = Top();
    C->Rectangle(L, T, L + Width() + 1, T + Height() + 1);
    if (FColumns > 1) {
        C->Pen()->SetStyle(psDot);
        C->Pen()->SetColor(clBlack);
        const int Lo = Page ? Page->GetLeftBound() : 0;
        const QRect Clip = C->ClipRect();
        for (int k = 1; k <= FColumns; ++k) {
            const int X = Lo + (k - 1) * (FColumnWidth + FColumnGap);
            // Only the columns the clip shows.
            if (QRect(QPoint(X, T), QPoint(X + FColumnWidth, T + Height())).normalized().intersects(Clip))
                C->Rectangle(X, T, X + FColumnWidth, T + Height());
        }
    }
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetColor(clBtnFace);
    C->Brush()->SetColor(clBtnFace);
    const QString Name = frBandName(BandType());
    const int W = TitleWidth();
    auto Stroke = [C](TColor Color, int X1, int Y1, int X2, int Y2) {
        C->Pen()->SetColor(Color);
        C->MoveTo(X1, Y1);
        C->LineTo(X2, Y2);
    };
    if (frShowBandTitles) {
        if (!Cross) {
            C->Rectangle(L, T - TitleDepth, L + W, T);
            Stroke(clBtnShadow, L + W - 2, T - TitleDepth, L + W - 2, T);
            Stroke(clBlack, L + W - 1, T - TitleDepth, L + W - 1, T);
            C->Brush()->SetStyle(bsClear);
            C->TextOut(L + 4, T - 17, Name);
        } else {
            C->Rectangle(L - TitleDepth, T, L, T + W);
            Stroke(clBtnShadow, L - TitleDepth, T + W - 2, L, T + W - 2);
            Stroke(clBlack, L - TitleDepth, T + W - 1, L, T + W - 1);
            Stroke(clBtnHighlight, L - TitleDepth, T, L - TitleDepth, T + W);
            C->Brush()->SetStyle(bsClear);
            C->Font()->SetOrientation(900);
            C->TextOut(L - 15, T + frTextWidth(*C->Font(), Name, 0) + 4, Name);
        }
    } else {
        C->Brush()->SetStyle(bsClear);
        if (!Cross) {
            C->TextOut(L + 4, T + 2, Name);
        } else {
            C->Font()->SetOrientation(900);
            C->TextOut(L + 2, T + 94, Name);
        }
    }
}

QRegion TfrBandView::GetClipRgn(bool Extended)
{
    if (!frShowBandTitles)
        return TfrView::GetClipRgn(Extended);
    const int E = Extended ? 10 : 0;
    const int L = Left(), T = Top(), W = TitleWidth();
    QRegion Region = CreateRectRgn(L - E, T - E, L + Width() + 1 + E, T + Height() + 1 + E);
    const QRegion Tab = frIsCrossBand(BandType()) ? CreateRectRgn(L - TitleDepth, T, L, T + W)
                                                  : CreateRectRgn(L, T - TitleDepth, L + W, T);
    return Region.united(Tab);
}

void TfrBandView::DefinePopupMenu(TPopupMenu* Popup)
{
    const int Type = BandType();
    if (frBandOffersFlag(Type, flBandStretched))
        TfrView::DefinePopupMenu(Popup);
    else if (Type == btPageFooter)
        Popup->Items()->Add(QStringLiteral("-"));
    struct TItem
    {
        int Id;
        uint16_t Bit;
        bool SelectedToo;   // set on every selected view, not on this band alone
    };
    static const TItem Items[] = {
        {55194, flBandNewPageAfter, true}, {55195, flBandPrintIfSubsetEmpty, true},
        {55196, flBandBreaked, true},      {55231, flBandOnFirstPage, false},
        {55232, flBandOnLastPage, false},  {55233, flBandRepeatHeader, false},
        {55440, flBandPrintChildIfInvisible, false},
    };
    for (const TItem& Item : Items)
        if (frBandOffersFlag(Type, Item.Bit))
            AddFlagItem(Popup, LoadEngineString(Item.Id), Item.Bit, frrfDontModify, Item.SelectedToo);
}
