#include "report/engine/FR_View.h"

#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Utils.h"

#include "platform/rtl/Streams.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

TfrPropEditor frMemoEditor;
TfrPropEditor frPictureEditor;
TfrPropEditor frTagEditor;
TfrPropEditor frRestrictionsEditor;
TfrPropEditor frHighlightEditor;
TfrPropEditor frFieldEditor;
TfrPropEditor frDataSourceEditor;
TfrPropEditor frCrossDataSourceEditor;
TfrPropEditor frGroupEditor;
TfrPropEditor frFontEditor;
TfrPropEditor frDisplayFormatEditor;
std::function<Variant(const Variant& Parameter)> frEvaluateParameter;

namespace {

constexpr int MaxUniqueNames = 10000;

Variant Evaluated(const Variant& Parameter)
{
    return frEvaluateParameter ? frEvaluateParameter(Parameter) : Parameter;
}

int32_t ClampToInt32(double Value)
{
    if (Value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (Value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(Value);
}

// Colours travel as integers; the stored 32 bits come back unchanged.
uint32_t ColorOf(const Variant& Value)
{
    return static_cast<uint32_t>(Value.AsInteger());
}

} // namespace

// ---------------------------------------------------------------- TfrObject

TfrObject::TfrObject() = default;

TfrObject::~TfrObject() = default;

TfrPropRec* TfrObject::FindPropRec(const QString& Name) const
{
    for (const auto& Rec : FPropList)
        if (SameText(Rec->PropName, Name))
            return Rec.get();
    return nullptr;
}

void TfrObject::AddProperty(const QString& Name, uint16_t Type, TfrPropEditor Editor)
{
    auto Rec = std::make_unique<TfrPropRec>();
    Rec->PropName = Name.left(32);
    Rec->PropType = Type;
    Rec->PropEditor = std::move(Editor);
    FPropList.push_back(std::move(Rec));
}

void TfrObject::AddEnumProperty(const QString& Name, const QString& Names, const QList<Variant>& Values)
{
    auto Rec = std::make_unique<TfrPropRec>();
    Rec->PropName = Name.left(32);
    Rec->PropType = PropEnum;
    TStringList List;
    SplitSemicolons(Names, List);
    Rec->EnumNames = List.ToStringList();
    Rec->EnumValues = Values;
    FPropList.push_back(std::move(Rec));
}

void TfrObject::ClearPropList()
{
    FPropList.clear();
}

void TfrObject::SetPropValue(const QString&, const Variant&) {}

Variant TfrObject::GetPropValue(const QString&)
{
    return Variant();
}

Variant TfrObject::CallMethod(const QString&, const Variant&, const Variant&, const Variant&)
{
    return Variant();
}

void TfrObject::RegisterProperties() {}

// ---------------------------------------------------------------- frame width

int32_t frEncodeFrameWidth(float Width)
{
    const double W = Width;
    if (std::isnan(W))
        return 0;
    if (W == std::floor(W) && W < 11)
        return ClampToInt32(W);
    const double Thousandths = static_cast<double>(RoundHalfEven(std::clamp(W * 1000, -4e18, 4e18)));
    if (Thousandths >= 11)
        return ClampToInt32(Thousandths);
    // Too small for thousandths (they would read back as whole units): the
    // nearest width that reads back as itself.
    if (W > 0)
        return W >= 0.0055 ? 11 : 0;
    return ClampToInt32(static_cast<double>(RoundHalfEven(W)));
}

float frDecodeFrameWidth(int32_t Stored)
{
    if (Stored < 11)
        return static_cast<float>(Stored);
    return static_cast<float>(Stored) / 1000.0f;
}

// ---------------------------------------------------------------- limits

bool frWithinCoordRange(double Value)
{
    return Value >= -frMaxCoord && Value <= frMaxCoord;
}

bool frViewWithinLimits(const TfrView* View)
{
    const double L = View->Left(), T = View->Top(), W = View->Width(), H = View->Height();
    for (const double V : {L, T, W, H, L + W, T + H, double(View->GapX()), double(View->GapY()),
                           double(View->FrameWidth())})
        if (!frWithinCoordRange(V))
            return false;
    if (const auto* Memo = dynamic_cast<const TfrMemoView*>(View))
        return frWithinCoordRange(Memo->LineSpacing()) && frWithinCoordRange(Memo->CharSpacing());
    const auto* Band = dynamic_cast<const TfrBandView*>(View);
    return !Band || (Band->Columns() >= 0 && Band->Columns() <= frMaxBandColumns
                     && frWithinCoordRange(Band->ColumnWidth()) && frWithinCoordRange(Band->ColumnGap()));
}

bool frSetBoundsWithinLimits(TfrView* View, int L, int T, int W, int H)
{
    const int OldL = View->Left(), OldT = View->Top(), OldW = View->Width(), OldH = View->Height();
    View->SetLeft(L);
    View->SetTop(T);
    View->SetWidth(W);
    View->SetHeight(H);
    if (frViewWithinLimits(View))
        return true;
    View->SetLeft(OldL);
    View->SetTop(OldT);
    View->SetWidth(OldW);
    View->SetHeight(OldH);
    return false;
}

// ---------------------------------------------------------------- TfrView

TfrView::TfrView()
    : FMemo(std::make_unique<TStringList>()),
      FScript(std::make_unique<TStringList>()),
      FExpandedMemo(std::make_unique<TStringList>())
{
    FFormat = 2 * 256 + FormatSettings().DecimalSeparator.unicode();
}

TfrView::~TfrView() = default;

void TfrView::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
}

void TfrView::CreateUniqueName()
{
    FName.clear();
    // The numbers the report's names take after the base name, gathered in
    // one pass: asking for each candidate in turn made pasting many views
    // slow beyond use.
    std::vector<bool> Taken(MaxUniqueNames + 1);
    const int BaseLength = static_cast<int>(FBaseName.size());
    for (int p = 0; CurReport && p < CurReport->Pages()->Count(); ++p) {
        const TfrPage* Page = CurReport->Pages()->Pages(p);
        for (int i = 0; i < Page->Count(); ++i) {
            const QString& Name = Page->Objects(i)->Name();
            if (Name.size() <= BaseLength || AnsiCompareText(Name.left(BaseLength), FBaseName) != 0)
                continue;
            bool Number = false;
            const int n = Name.mid(BaseLength).toInt(&Number);
            if (Number && n >= 1 && n <= MaxUniqueNames && QString::number(n) == Name.mid(BaseLength))
                Taken[n] = true;
        }
    }
    for (int n = 1; n <= MaxUniqueNames; ++n)
        if (!Taken[n]) {
            SetPropValue(QStringLiteral("Name"), FBaseName + QString::number(n));
            return;
        }
}

void TfrView::Assign(TfrView* Source)
{
    if (!Source || Source == this)
        return;
    FName = Source->FName;
    FObjectType = Source->FObjectType;
    FSelected = Source->FSelected;
    FormVersion = frCurrentVersion;
    Source->FStreamMode = 0;
    FStreamMode = 0;
    TMemoryStream Stream;
    Source->SaveToStream(Stream);
    Stream.SetPosition(0);
    LoadFromStream(Stream);
}

void TfrView::LoadFromStream(TStream& Stream)
{
    if (FormVersion >= 24 || (FormVersion == 23 && FStreamMode == 0))
        FName = frReadString(Stream);
    else
        CreateUniqueName();
    if (FormVersion > 23) {
        FRecordVersion = Stream.ReadU8();
        FRecordSubVersion = Stream.ReadU8();
    }
    FLeft = Stream.ReadI32();
    FTop = Stream.ReadI32();
    FWidth = Stream.ReadI32();
    FHeight = Stream.ReadI32();
    FFlags = Stream.ReadU16();
    FFrameTyp = Stream.ReadU16();
    FFrameWidth = frDecodeFrameWidth(Stream.ReadI32());
    FFrameColor = Stream.ReadU32();
    FFrameStyle = Stream.ReadU16();
    FFillColor = Stream.ReadU32();
    if (FStreamMode == 0) {
        FFormat = Stream.ReadU32();
        FFormatStr = frReadString(Stream);
    }
    frReadMemo(Stream, *FMemo);
    if (FStreamMode == 0 && FormVersion >= 23) {
        frReadMemo(Stream, *FScript);
        FVisible = Stream.ReadU16();
    }
    if (FormVersion >= 24) {
        FRestrictions = Stream.ReadU16();
        FTag = frReadString(Stream);
        FGapX = Stream.ReadI32();
        FGapY = Stream.ReadI32();
    }
    if (FRecordVersion > 1)
        FBandAlign = Stream.ReadU8();
}

void TfrView::SaveToStream(TStream& Stream)
{
    FRecordVersion = 2;
    WriteStreamString(Stream, FName);
    Stream.WriteU8(FRecordVersion);
    Stream.WriteU8(FRecordSubVersion);
    Stream.WriteI32(FLeft);
    Stream.WriteI32(FTop);
    Stream.WriteI32(FWidth);
    Stream.WriteI32(FHeight);
    Stream.WriteU16(FFlags);
    Stream.WriteU16(FFrameTyp);
    Stream.WriteI32(frEncodeFrameWidth(FFrameWidth));
    Stream.WriteU32(FFrameColor);
    Stream.WriteU16(FFrameStyle);
    Stream.WriteU32(FFillColor);
    if (FStreamMode == 0) {
        Stream.WriteU32(FFormat);
        WriteStreamString(Stream, FFormatStr);
        WriteStreamStrings(Stream, *FMemo);
        WriteStreamStrings(Stream, *FScript);
        Stream.WriteU16(FVisible);
    } else {
        WriteStreamStrings(Stream, *FExpandedMemo);
    }
    Stream.WriteU16(FRestrictions);
    WriteStreamString(Stream, FTag);
    Stream.WriteI32(FGapX);
    Stream.WriteI32(FGapY);
    Stream.WriteU8(FBandAlign);
}

void TfrView::SetPropValue(const QString& Name, const Variant& Value)
{
    const QString N = UpperCase(Name);
    if (N == u"NAME")
        FName = Value.AsString();
    else if (N == u"LEFT")
        FLeft = static_cast<int>(Value.AsInteger());
    else if (N == u"TOP")
        FTop = static_cast<int>(Value.AsInteger());
    else if (N == u"WIDTH")
        FWidth = static_cast<int>(Value.AsInteger());
    else if (N == u"HEIGHT")
        FHeight = static_cast<int>(Value.AsInteger());
    else if (N == u"FLAGS")
        FFlags = static_cast<uint16_t>(Value.AsInteger());
    else if (N == u"FRAMETYP")
        FFrameTyp = static_cast<uint16_t>(Value.AsInteger());
    else if (N == u"FRAMEWIDTH")
        FFrameWidth = static_cast<float>(Value.AsFloat());
    else if (N == u"FRAMECOLOR")
        FFrameColor = ColorOf(Value);
    else if (N == u"FRAMESTYLE")
        FFrameStyle = static_cast<uint16_t>(Value.AsInteger());
    else if (N == u"FILLCOLOR")
        FFillColor = ColorOf(Value);
    else if (N == u"TAG")
        FTag = Value.AsString();
    else if (N == u"BANDALIGN")
        FBandAlign = static_cast<uint8_t>(Value.AsInteger());
    else if (N == u"VISIBLE")
        SetVisible(Value.AsBoolean());
    else if (N == u"MEMO" || N == u"DATAFIELD")
        FMemo->SetText(Value.AsString());
    else if (N == u"GAPX")
        FGapX = static_cast<int>(Value.AsInteger());
    else if (N == u"GAPY")
        FGapY = static_cast<int>(Value.AsInteger());
    else if (N == u"STRETCHED")
        FFlags = frSetBit(FFlags, flStretched, Value.AsBoolean());
}

Variant TfrView::GetPropValue(const QString& Name)
{
    const QString N = UpperCase(Name);
    if (N == u"NAME")
        return FName;
    if (N == u"LEFT")
        return FLeft;
    if (N == u"TOP")
        return FTop;
    if (N == u"WIDTH")
        return FWidth;
    if (N == u"HEIGHT")
        return FHeight;
    if (N == u"FLAGS")
        return static_cast<int>(FFlags);
    if (N == u"FRAMETYP")
        return static_cast<int>(FFrameTyp);
    if (N == u"FRAMEWIDTH")
        return static_cast<double>(FFrameWidth);
    if (N == u"FRAMECOLOR")
        return static_cast<int64_t>(FFrameColor);
    if (N == u"FRAMESTYLE")
        return static_cast<int>(FFrameStyle);
    if (N == u"FILLCOLOR")
        return static_cast<int64_t>(FFillColor);
    if (N == u"TAG")
        return FTag;
    if (N == u"BANDALIGN")
        return static_cast<int>(FBandAlign);
    if (N == u"VISIBLE")
        return Visible();
    if (N == u"MEMO")
        return FMemo->Text();
    if (N == u"MEMO.COUNT")
        return FMemo->Count();
    if (N == u"GAPX")
        return FGapX;
    if (N == u"GAPY")
        return FGapY;
    if (N == u"STRETCHED")
        return (FFlags & flStretched) != 0;
    if (N == u"DATAFIELD")
        return FMemo->Count() > 0 ? FMemo->Strings(0) : QString();
    return TfrObject::GetPropValue(Name);
}

Variant TfrView::CallMethod(const QString& Name, const Variant& Par1, const Variant& Par2,
                            const Variant& Par3)
{
    Variant Result = TfrObject::CallMethod(Name, Par1, Par2, Par3);
    if (!Result.IsEmpty())
        return Result;
    const QString N = UpperCase(Name);
    if (N == u"HIDE") {
        SetPropValue(QStringLiteral("Visible"), false);
        return Result;
    }
    if (N == u"SHOW") {
        SetPropValue(QStringLiteral("Visible"), true);
        return Result;
    }
    return CallListMethod(*FMemo, QStringLiteral("MEMO"), N, Par1, Par2, Par3);
}

Variant TfrView::CallListMethod(TStrings& List, const QString& Stem, const QString& Name,
                                const Variant& Par1, const Variant& Par2, const Variant& Par3)
{
    const QString N = UpperCase(Name);
    const QString Prefix = Stem + u'.';
    auto ValidIndex = [&](int64_t Index) { return Index >= 0 && Index < List.Count(); };
    if (N == u"SETINDEXPROPERTY" && SameText(Par1.AsString(), Stem)) {
        const int64_t Index = Par2.AsInteger();
        if (ValidIndex(Index))
            List.SetStrings(static_cast<int>(Index), Par3.AsString());
    } else if (N == u"GETINDEXPROPERTY" && SameText(Par1.AsString(), Stem)) {
        const int64_t Index = Par2.AsInteger();
        return ValidIndex(Index) ? Variant(List.Strings(static_cast<int>(Index))) : Variant(QString());
    } else if (N == Prefix + QStringLiteral("ADD")) {
        List.Add(Evaluated(Par1).AsString());
    } else if (N == Prefix + QStringLiteral("CLEAR")) {
        List.Clear();
    } else if (N == Prefix + QStringLiteral("DELETE")) {
        const int64_t Index = Evaluated(Par1).AsInteger();
        if (ValidIndex(Index))
            List.Delete(static_cast<int>(Index));
    } else if (N == Prefix + QStringLiteral("INDEXOF")) {
        return List.IndexOf(Evaluated(Par1).AsString());
    }
    return Variant();
}

void TfrView::RegisterProperties()
{
    ClearPropList();
    AddProperty(QStringLiteral("Name"), PropString | PropOneObject);
    for (const char* Name : {"Left", "Top", "Width", "Height"})
        AddProperty(QString::fromLatin1(Name), PropSize);
    AddProperty(QStringLiteral("Flags"), 0);
    if (HasFrameProperties()) {
        AddProperty(QStringLiteral("FrameTyp"), PropInteger);
        AddProperty(QStringLiteral("FrameWidth"), PropFloat | PropSize);
        AddProperty(QStringLiteral("FrameColor"), PropColor);
        AddEnumProperty(QStringLiteral("FrameStyle"),
                        QStringLiteral("psSolid;psDash;psDot;psDashDot;psDashDotDot;psDouble"),
                        {0, 1, 2, 3, 4, 5});
        AddProperty(QStringLiteral("FillColor"), PropColor);
        AddProperty(QStringLiteral("Tag"), PropHasEditor | PropOneObject, frTagEditor);
        AddEnumProperty(QStringLiteral("BandAlign"),
                        QStringLiteral("baNone;baLeft;baRight;baCenter;baWidth;baBottom;baTop;baRest"),
                        {0, 1, 2, 3, 4, 5, 6, 7});
    }
    AddProperty(QStringLiteral("Visible"), PropBoolean);
    AddProperty(QStringLiteral("Memo"), PropHasEditor | PropOneObject, frMemoEditor);
    AddProperty(QStringLiteral("Memo.Count"), 0);
    AddProperty(QStringLiteral("Restrictions"), PropHasEditor, frRestrictionsEditor);
}

// ---------------------------------------------------------------- registry

// The standard classes register from their own units; naming those functions
// here keeps the linker from dropping units nothing else refers to.
void frRegisterMemoView();
void frRegisterPictureView();
void frRegisterBandView();
void frRegisterSubReportView();
void frRegisterLineView();

namespace {

// Entries stay where they are, so the pointers handed out stay valid.
std::vector<std::unique_ptr<TfrViewClass>>& ViewClasses()
{
    static std::vector<std::unique_ptr<TfrViewClass>> Classes;
    static bool Standard = false;
    if (!Standard) {
        Standard = true;
        frRegisterMemoView();
        frRegisterPictureView();
        frRegisterBandView();
        frRegisterSubReportView();
        frRegisterLineView();
    }
    return Classes;
}

} // namespace

void frRegisterViewClass(uint8_t ObjectType, const QString& ClassName, TfrViewCreator Creator)
{
    for (auto& Class : ViewClasses())
        if (Class->ClassName == ClassName) {
            Class->ObjectType = ObjectType;
            Class->Create = std::move(Creator);
            return;
        }
    ViewClasses().push_back(
        std::make_unique<TfrViewClass>(TfrViewClass{ObjectType, ClassName, std::move(Creator)}));
}

void frUnregisterViewClass(const QString& ClassName)
{
    std::erase_if(ViewClasses(), [&](const auto& Class) { return Class->ClassName == ClassName; });
}

const TfrViewClass* frFindViewClass(uint8_t ObjectType)
{
    if (ObjectType > gtLine)
        return nullptr;
    for (const auto& Class : ViewClasses())
        if (Class->ObjectType == ObjectType)
            return Class.get();
    return nullptr;
}

const TfrViewClass* frFindViewClassByName(const QString& ClassName)
{
    for (const auto& Class : ViewClasses())
        if (Class->ClassName == ClassName)
            return Class.get();
    return nullptr;
}

QList<TfrViewClass> frViewClasses()
{
    QList<TfrViewClass> Result;
    for (const auto& Class : ViewClasses())
        Result.append(*Class);
    return Result;
}
