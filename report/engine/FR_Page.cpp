#include "report/engine/FR_Page.h"

#include "platform/gui/Forms.h"
#include "platform/rtl/Streams.h"
#include "report/engine/FR_Band.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Control.h"
#include "report/engine/FR_Control.h"
#include "report/engine/FR_DBFields.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Intrp.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Pars.h"
#include "report/engine/FR_Prntr.h"
#include "report/engine/FR_SubReportView.h"
#include "report/engine/FR_Utils.h"
#include "report/engine/FR_View.h"

#include <QSize>
#include <algorithm>
#include <cmath>

TfrInterpretator* frInterpreter = nullptr;
std::function<void(TfrPage* Page, TfrBand* DataBand, const std::vector<int>& FooterTypes)>
    frPrepareAggregates;
std::function<bool(bool Show)> frShowProgress;
std::vector<TfrView*> frMemoHookViews;

TfrPage::TfrPage(int32_t ASize, int32_t AWidth, int32_t AHeight, int32_t ABin,
                 TPrinterOrientation AOrientation)
{
    Caption = QStringLiteral("Form");
    ChangePaper(ASize, AWidth, AHeight, ABin, AOrientation);
}

TfrPage::~TfrPage()
{
    FreeBands();
    Clear();
}

void TfrPage::Add(std::unique_ptr<TfrView> View)
{
    FObjects.push_back(std::move(View));
}

void TfrPage::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        return;
    if (CurView == FObjects[Index].get())
        CurView = nullptr;
    FObjects.erase(FObjects.begin() + Index);
}

void TfrPage::Clear()
{
    // Views may look at their page while they go; free them back to front.
    while (!FObjects.empty()) {
        if (CurView == FObjects.back().get())
            CurView = nullptr;
        FObjects.pop_back();
    }
}

void TfrPage::Insert(int Index, std::unique_ptr<TfrView> View)
{
    Index = std::clamp(Index, 0, Count());
    FObjects.insert(FObjects.begin() + Index, std::move(View));
}

void TfrPage::Move(int From, int To)
{
    if (From < 0 || From >= Count() || To < 0 || To >= Count() || From == To)
        return;
    auto View = std::move(FObjects[From]);
    FObjects.erase(FObjects.begin() + From);
    FObjects.insert(FObjects.begin() + To, std::move(View));
}

std::unique_ptr<TfrView> TfrPage::Extract(int Index)
{
    if (Index < 0 || Index >= Count())
        return nullptr;
    std::unique_ptr<TfrView> View = std::move(FObjects[Index]);
    FObjects.erase(FObjects.begin() + Index);
    return View;
}

int TfrPage::FindObjectByID(int32_t ID) const
{
    for (int i = 0; i < Count(); ++i)
        if (FObjects[i]->ID() == ID)
            return i;
    return -1;
}

TfrView* TfrPage::FindObject(const QString& AName) const
{
    for (const auto& View : FObjects)
        if (AnsiCompareText(View->Name(), AName) == 0)
            return View.get();
    return nullptr;
}

void TfrPage::ChangePaper(int32_t ASize, int32_t AWidth, int32_t AHeight, int32_t ABin,
                          TPrinterOrientation AOrientation)
{
    TfrPrinter* Prn = frPrinter();
    Prn->SetPaper(ASize, AWidth, AHeight, ABin, AOrientation, false);
    Prn->GetPrintableArea(PrnInfo);
    // What the printer accepted: an unknown paper code becomes its answer.
    Size = Prn->PaperSize;
    Width = Prn->PaperWidth;
    Height = Prn->PaperHeight;
    Orientation = Prn->Orientation == 1 ? poLandscape : poPortrait;
    Bin = (ABin & 0xFFFF) == 0xFFFF ? frNoBin : Prn->Bin;
}

int TfrPage::GetLeftBound() const
{
    if (!UseMargins)
        return 0;
    return LeftMargin != 0 ? LeftMargin : PrnInfo.OffsetX;
}

int TfrPage::GetTopBound() const
{
    if (!UseMargins)
        return 0;
    return TopMargin != 0 ? TopMargin : PrnInfo.OffsetY;
}

int TfrPage::GetRightBound() const
{
    if (!UseMargins)
        return PrnInfo.PaperWidthPx;
    return RightMargin != 0 ? PrnInfo.PaperWidthPx - RightMargin
                            : PrnInfo.OffsetX + PrnInfo.PrintableWidth;
}

int TfrPage::GetBottomBound() const
{
    int Bottom = PrnInfo.PaperHeightPx;
    if (UseMargins)
        Bottom = BottomMargin != 0 ? PrnInfo.PaperHeightPx - BottomMargin
                                   : PrnInfo.OffsetY + PrnInfo.PrintableHeight;
    if (DocMode == dmPrinting && BandExists(Bands[btPageFooter]))
        Bottom -= Bands[btPageFooter]->DY;
    return Bottom;
}

void TfrPage::CreateUniqueName()
{
    CreateUniqueName(CurReport ? CurReport->Pages() : nullptr);
}

void TfrPage::CreateUniqueName(const TfrPages* Pages)
{
    // The numbers the other pages take, gathered in one pass: asking for each
    // candidate in turn made reading a form of many pages take minutes.
    constexpr int MaxNumber = 10000;
    std::vector<bool> Taken(MaxNumber + 1);
    for (int i = 0; Pages && i < Pages->Count(); ++i) {
        const QString& Other = Pages->Pages(i)->Name;
        if (Pages->Pages(i) == this || !Other.startsWith(QLatin1String("Page")))
            continue;
        bool Number = false;
        const int n = Other.mid(4).toInt(&Number);
        if (Number && n >= 1 && n <= MaxNumber && QString::number(n) == Other.mid(4))
            Taken[n] = true;
    }
    Name = QStringLiteral("Page");
    for (int n = 1; n <= MaxNumber; ++n)
        if (!Taken[n]) {
            Name = QStringLiteral("Page") + QString::number(n);
            return;
        }
}

void TfrPage::SetPropValue(const QString& PropName, const Variant& Value)
{
    const QString N = PropName.toUpper();
    const bool Report = PageType == ptReport;
    if (N == u"LEFT")
        FormLeft = static_cast<int32_t>(Value.AsInteger());
    else if (N == u"TOP")
        FormTop = static_cast<int32_t>(Value.AsInteger());
    else if (N == u"WIDTH" && Report)
        Width = static_cast<int32_t>(RoundHalfEven(Value.AsFloat() * 10 * 5 / 18));
    else if (N == u"HEIGHT" && Report)
        Height = static_cast<int32_t>(RoundHalfEven(Value.AsFloat() * 10 * 5 / 18));
    else if (N == u"WIDTH")
        FormWidth = static_cast<int32_t>(Value.AsInteger());
    else if (N == u"HEIGHT")
        FormHeight = static_cast<int32_t>(Value.AsInteger());
    else if (N == u"TYPE")
        PageType = Value.AsInteger() == ptDialog ? ptDialog : ptReport;
    else if (N == u"BORDERSTYLE")
        BorderStyle = static_cast<uint8_t>(Value.AsInteger());
    else if (N == u"CAPTION")
        Caption = Value.AsString();
    else if (N == u"NAME")
        Name = Value.AsString();
    else if (N == u"COLOR")
        Color = static_cast<uint32_t>(Value.AsInteger());
    else if (N == u"POSITION")
        Position = static_cast<uint8_t>(Value.AsInteger());
    else if (N == u"SIZE")
        Size = static_cast<int32_t>(Value.AsInteger());
    else if (N == u"LEFTMARGIN")
        LeftMargin = static_cast<int32_t>(Value.AsInteger());
    else if (N == u"TOPMARGIN")
        TopMargin = static_cast<int32_t>(Value.AsInteger());
    else if (N == u"RIGHTMARGIN")
        RightMargin = static_cast<int32_t>(Value.AsInteger());
    else if (N == u"BOTTOMMARGIN")
        BottomMargin = static_cast<int32_t>(Value.AsInteger());
    else if (N == u"ORIENTATION")
        Orientation = Value.AsInteger() == poLandscape ? poLandscape : poPortrait;
    else if (N == u"PRINTTOPREVPAGE")
        PrintToPrevPage = Value.AsBoolean() ? 1 : 0;   // read back as "> 0"
    else if (N == u"STRETCHTOPRINTABLE")
        UseMargins = Value.AsBoolean() ? 0 : -1;
    else if (N == u"COLUMNS")
        Columns = static_cast<int32_t>(Value.AsInteger());
    else if (N == u"COLUMNGAP")
        ColumnGap = static_cast<int32_t>(Value.AsInteger());
    else if (N == u"COLUMNWIDTH")
        ColumnWidth = static_cast<int32_t>(Value.AsInteger());
    else if (N == u"VISIBLE")
        Visible = Value.AsBoolean();
}

Variant TfrPage::GetPropValue(const QString& PropName)
{
    const QString N = PropName.toUpper();
    const bool Report = PageType == ptReport;
    const bool Printing = DocMode == dmPrinting;
    if (N == u"LEFT")
        return FormLeft;
    if (N == u"TOP")
        return FormTop;
    if (N == u"WIDTH")
        return Report ? static_cast<int>(RoundHalfEven(Width / 10.0 * 18 / 5)) : FormWidth;
    if (N == u"HEIGHT")
        return Report ? static_cast<int>(RoundHalfEven(Height / 10.0 * 18 / 5)) : FormHeight;
    if (N == u"TYPE")
        return static_cast<int>(PageType);
    if (N == u"BORDERSTYLE")
        return static_cast<int>(BorderStyle);
    if (N == u"CAPTION")
        return Caption;
    if (N == u"NAME")
        return Name;
    if (N == u"COLOR")
        return static_cast<int64_t>(Color);
    if (N == u"POSITION")
        return static_cast<int>(Position);
    if (N == u"SIZE")
        return Size;
    if (N == u"LEFTMARGIN")
        return Printing ? GetLeftBound() : LeftMargin;
    if (N == u"TOPMARGIN")
        return Printing ? GetTopBound() : TopMargin;
    if (N == u"RIGHTMARGIN")
        return Printing ? GetRightBound() : RightMargin;
    if (N == u"BOTTOMMARGIN")
        return Printing ? GetBottomBound() : BottomMargin;
    if (N == u"ORIENTATION")
        return static_cast<int>(Orientation);
    if (N == u"PRINTTOPREVPAGE")
        return PrintToPrevPage > 0;
    if (N == u"STRETCHTOPRINTABLE")
        return UseMargins == 0;
    if (N == u"COLUMNS")
        return Columns;
    if (N == u"COLUMNGAP")
        return ColumnGap;
    if (N == u"VISIBLE")
        return Visible;
    return Variant();
}

void TfrPage::RegisterProperties()
{
    ClearPropList();
    AddEnumProperty(QStringLiteral("Type"), QStringLiteral("ptReport;ptDialog"), {0, 1});
    AddProperty(QStringLiteral("Visible"), PropBoolean);
    const TfrPropEditor ScriptEditor = [this] { EditScript(); };
    if (PageType == ptReport) {
        AddEnumProperty(QStringLiteral("Size"), PaperNameList(), PaperCodeList());
        for (const char* Name : {"Width", "Height", "LeftMargin", "TopMargin", "RightMargin", "BottomMargin"})
            AddProperty(QString::fromLatin1(Name), PropInteger);
        AddEnumProperty(QStringLiteral("Orientation"), QStringLiteral("poPortrait;poLandscape"), {0, 1});
        AddProperty(QStringLiteral("PrintToPrevPage"), PropBoolean);
        AddProperty(QStringLiteral("StretchToPrintable"), PropBoolean);
        for (const char* Name : {"Columns", "ColumnWidth", "ColumnGap"})
            AddProperty(QString::fromLatin1(Name), PropInteger);
        AddProperty(QStringLiteral("OnBeforePrint"), PropHasEditor, ScriptEditor);
    } else {
        AddEnumProperty(QStringLiteral("BorderStyle"), QStringLiteral("bsDialog;bsSizeable"), {3, 2});
        AddProperty(QStringLiteral("Caption"), PropString);
        AddProperty(QStringLiteral("Color"), PropColor);
        for (const char* Name : {"Left", "Top", "Width", "Height"})
            AddProperty(QString::fromLatin1(Name), PropInteger);
        AddEnumProperty(QStringLiteral("Position"), QStringLiteral("poDesigned;poScreenCenter"), {0, 4});
        AddProperty(QStringLiteral("OnActivate"), PropHasEditor, ScriptEditor);
    }
}

QString TfrPage::PaperNameList()
{
    const TfrPrinter* Prn = frPrinter();
    if (Prn->PaperNames.Count() == 0)
        return QStringLiteral("No data");
    QStringList Names;
    for (int i = 0; i < Prn->PaperNames.Count(); ++i)
        Names << Prn->PaperNames.Strings(i);
    return Names.join(u';');
}

QList<Variant> TfrPage::PaperCodeList()
{
    const TfrPrinter* Prn = frPrinter();
    QList<Variant> Codes;
    for (int i = 0; i < Prn->PaperCount; ++i)
        Codes << Variant(static_cast<int>(Prn->PaperSizes[i]));
    return Codes;
}

void TfrPage::EditScript()
{
    if (!frMemoEditor)
        return;
    // The memo editor works on a view; lend it one that carries the script.
    TfrControl Holder;
    Holder.Script()->Assign(Script);
    TfrView* SavedView = CurView;
    CurView = &Holder;
    frMemoEditor();
    CurView = SavedView;
    Script.Assign(*Holder.Script());
}

namespace {

// The largest custom paper side, in millimetres; the table's largest paper fits.
constexpr double MaxPaperMM = 1200;
// A margin or column gap as wide as the largest paper, in pixels.
const int MaxLengthPx = static_cast<int>(std::nearbyint(MaxPaperMM * 18 / 5));

// The size in layout pixels of paper Size (Width x Height tenths of a mm for
// the custom paper) in the given orientation; an unknown code counts as A4.
QSize PaperPixels(int Size, int Width, int Height, bool Landscape)
{
    if (Size != frCustomPaper) {
        const TfrPaperInfo* Paper = frFindPaper(Size);
        Width = Paper ? Paper->Width : 2100;
        Height = Paper ? Paper->Height : 2970;
    }
    const auto Px = [](int Tenths) { return static_cast<int>(std::nearbyint(Tenths / 254.0 * frPaperPixelsPerInch)); };
    return Landscape ? QSize(Px(Height), Px(Width)) : QSize(Px(Width), Px(Height));
}

} // namespace

QString frPageLayoutError(const TfrPageLayout& L)
{
    if (L.Columns < 0 || L.Columns > frMaxBandColumns)
        return QStringLiteral("'%1' is not a valid integer value").arg(L.Columns);
    const int MaxTenths = static_cast<int>(MaxPaperMM * 10);
    if (L.Size == frCustomPaper && !(L.Width >= 10 && L.Width <= MaxTenths && L.Height >= 10 && L.Height <= MaxTenths))
        return LoadEngineString(55681);
    // One margin wider than the largest paper leaves no room on any.
    for (const int32_t M : L.Margins)
        if (M < 0 || M > MaxLengthPx)
            return LoadEngineString(55682);
    if (L.ColumnGap < 0 || L.ColumnGap > MaxLengthPx)
        return LoadEngineString(55683);
    const QSize Paper = PaperPixels(L.Size, L.Width, L.Height, L.Landscape);
    if (L.UseMargins && (L.Margins[0] + L.Margins[2] >= Paper.width() || L.Margins[1] + L.Margins[3] >= Paper.height()))
        return LoadEngineString(55682);
    const int Room = L.UseMargins ? Paper.width() - L.Margins[0] - L.Margins[2] : Paper.width();
    if (L.Columns >= 1 && (Room - (L.Columns - 1) * L.ColumnGap) / L.Columns < 1)
        return LoadEngineString(55683);
    return QString();
}

void TfrPage::LoadFromStream(TStream& Stream)
{
    const int V = FormVersion;
    const int32_t First = Stream.ReadI32();
    const bool HasScript = First == -1;
    int32_t ASize = HasScript ? Stream.ReadI32() : First;
    int32_t AWidth = Stream.ReadI32();
    int32_t AHeight = Stream.ReadI32();
    LeftMargin = Stream.ReadI32();
    TopMargin = Stream.ReadI32();
    RightMargin = Stream.ReadI32();
    BottomMargin = Stream.ReadI32();
    auto AOrientation = static_cast<TPrinterOrientation>(Stream.ReadU8() != 0 ? 1 : 0);
    if (V < 23)
        Stream.ReadBytes(6);
    int32_t ABin = V > 23 ? Stream.ReadI32() : -1;
    PrintToPrevPage = Stream.ReadI16();
    UseMargins = Stream.ReadI16();
    Columns = Stream.ReadI32();
    ColumnGap = Stream.ReadI32();
    if (V >= 24) {
        PageType = Stream.ReadU8() == 1 ? ptDialog : ptReport;
        Name = ReadStreamString(Stream);
        const uint8_t Border = Stream.ReadU8();
        BorderStyle = Border == 0 ? 3 : Border == 1 ? 2 : Border;
        Caption = ReadStreamString(Stream);
        Color = Stream.ReadU32();
        FormLeft = Stream.ReadI32();
        FormTop = Stream.ReadI32();
        FormWidth = Stream.ReadI32();
        FormHeight = Stream.ReadI32();
        Position = Stream.ReadU8() != 0 ? 4 : 0;
        if (HasScript)
            ReadStreamStrings(Stream, Script);
    } else {
        CreateUniqueName();
    }
    // Paper, margins and columns the page options would refuse are damage:
    // past them the bounds overflow and the columns never end.
    TfrPageLayout Layout;
    Layout.Size = ASize;
    Layout.Width = AWidth;
    Layout.Height = AHeight;
    Layout.Landscape = AOrientation == poLandscape;
    Layout.UseMargins = UseMargins != 0;
    Layout.Margins[0] = LeftMargin;
    Layout.Margins[1] = TopMargin;
    Layout.Margins[2] = RightMargin;
    Layout.Margins[3] = BottomMargin;
    Layout.ColumnGap = ColumnGap;
    Layout.Columns = Columns;
    if (const QString Error = frPageLayoutError(Layout); !Error.isEmpty())
        throw EReadError(QStringLiteral("Page %1 of the report form: %2").arg(Name, Error));
    // So are a dialog's bounds past the lengths of a view.
    const double L = FormLeft, T = FormTop, W = FormWidth, H = FormHeight;
    for (const double Length : {L, T, W, H, L + W, T + H})
        if (!frWithinCoordRange(Length))
            throw EReadError(QStringLiteral("Page %1 of the report form: the dialog lies beyond the page limits").arg(Name));
    ChangePaper(ASize, AWidth, AHeight, ABin, AOrientation);
}

void TfrPage::SaveToStream(TStream& Stream) const
{
    Stream.WriteI32(-1);
    Stream.WriteI32(Size);
    Stream.WriteI32(Width);
    Stream.WriteI32(Height);
    Stream.WriteI32(LeftMargin);
    Stream.WriteI32(TopMargin);
    Stream.WriteI32(RightMargin);
    Stream.WriteI32(BottomMargin);
    Stream.WriteU8(Orientation);
    Stream.WriteI32(Bin);
    Stream.WriteI16(PrintToPrevPage);
    Stream.WriteI16(UseMargins);
    Stream.WriteI32(Columns);
    Stream.WriteI32(ColumnGap);
    Stream.WriteU8(PageType);
    WriteStreamString(Stream, Name);
    Stream.WriteU8(BorderStyle);
    WriteStreamString(Stream, Caption);
    Stream.WriteU32(Color);
    Stream.WriteI32(FormLeft);
    Stream.WriteI32(FormTop);
    Stream.WriteI32(FormWidth);
    Stream.WriteI32(FormHeight);
    Stream.WriteU8(Position);
    WriteStreamStrings(Stream, Script);
}
