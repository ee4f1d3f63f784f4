#include "report/engine/FR_MemoView.h"

#include "report/engine/FR_Globals.h"

#include "platform/rtl/Streams.h"

#include <algorithm>
#include <array>

void frRegisterMemoView()
{
    frRegisterViewClass(gtMemo, QStringLiteral("TfrMemoView"), [] { return std::make_unique<TfrMemoView>(); });
}

namespace {

// Far beyond any real font; keeps a damaged size from overflowing the
// point-to-pixel conversion.
constexpr int MaxFontSize = 0xFFFF;

struct TFlagName
{
    const char16_t* Name;
    uint16_t Bit;
};

// Booleans on the memo's own Flags bits.
constexpr std::array<TFlagName, 8> MemoFlagNames{{
    {u"WORDWRAP", flWordWrap},
    {u"WORDBREAK", flWordBreak},
    {u"AUTOWIDTH", flAutoWidth},
    {u"TEXTONLY", flTextOnly},
    {u"SUPPRESS", flSuppressRepeated},
    {u"HIDEZEROS", flHideZeroValues},
    {u"UNDERLINES", flUnderlines},
    {u"RTLREADING", flRTLReading},
}};

const TFlagName* FindFlag(const QString& UpperName)
{
    for (const TFlagName& Flag : MemoFlagNames)
        if (UpperName == QStringView(Flag.Name))
            return &Flag;
    return nullptr;
}

} // namespace

TfrMemoView::TfrMemoView() : FFont(std::make_unique<TFont>())
{
    FBaseName = QStringLiteral("Memo");
    FObjectType = gtMemo;
    FFlags = flStretched | flWordWrap;
    FFont->SetName(QStringLiteral("Arial"));
    FFont->SetSize(10);
    FFont->SetColor(clBlack);
    FFont->SetCharset(DefaultCharset());
}

TfrMemoView::~TfrMemoView() = default;

void TfrMemoView::LoadFromStream(TStream& Stream)
{
    TfrView::LoadFromStream(Stream);
    FFont->SetName(frReadString(Stream));
    FFont->SetSize(std::clamp(Stream.ReadI32(), -MaxFontSize, MaxFontSize));
    FFont->SetStyle(SetFontStyleBits(Stream.ReadU16()));
    FFont->SetColor(Stream.ReadU32());
    FAlignment = Stream.ReadI32();
    const uint16_t Charset = Stream.ReadU16();
    FFont->SetCharset(FormVersion < 23 ? DefaultCharset() : (Charset & 0xFF));
    if (StreamMode() == 0) {
        FHighlight.FontStyle = Stream.ReadU16();
        FHighlight.FontColor = Stream.ReadU32();
        FHighlight.FillColor = Stream.ReadU32();
        FHighlightCondition = frReadString(Stream);
    }
    if (FormVersion >= 24) {
        FLineSpacing = Stream.ReadI32();
        FCharSpacing = Stream.ReadI32();
    }
    if (FormVersion == 21)
        FFlags |= flWordWrap;
}

void TfrMemoView::SaveToStream(TStream& Stream)
{
    TfrView::SaveToStream(Stream);
    WriteStreamString(Stream, FFont->Name());
    Stream.WriteI32(FFont->Size());
    Stream.WriteU16(static_cast<uint16_t>(GetFontStyleBits(FFont->Style())));
    Stream.WriteU32(FFont->Color());
    Stream.WriteI32(FAlignment);
    Stream.WriteU16(static_cast<uint16_t>(FFont->Charset() & 0xFF));
    if (StreamMode() == 0) {
        Stream.WriteU16(static_cast<uint16_t>(FHighlight.FontStyle));
        Stream.WriteU32(FHighlight.FontColor);
        Stream.WriteU32(FHighlight.FillColor);
        WriteStreamString(Stream, FHighlightCondition);
    }
    Stream.WriteI32(FLineSpacing);
    Stream.WriteI32(FCharSpacing);
}

void TfrMemoView::SetPropValue(const QString& Name, const Variant& Value)
{
    const QString N = UpperCase(Name);
    if (N == u"FONT.NAME")
        FFont->SetName(Value.AsString());
    else if (N == u"FONT.SIZE")
        FFont->SetSize(static_cast<int>(std::clamp<int64_t>(Value.AsInteger(), -MaxFontSize, MaxFontSize)));
    else if (N == u"FONT.STYLE")
        FFont->SetStyle(SetFontStyleBits(static_cast<int>(Value.AsInteger())));
    else if (N == u"FONT.COLOR")
        FFont->SetColor(static_cast<uint32_t>(Value.AsInteger()));
    else if (N == u"ALIGNMENT")
        FAlignment = static_cast<int>(Value.AsInteger());
    else if (N == u"LINESPACING")
        FLineSpacing = static_cast<int>(Value.AsInteger());
    else if (N == u"CHARSPACING")
        FCharSpacing = static_cast<int>(Value.AsInteger());
    else if (const TFlagName* Flag = FindFlag(N))
        FFlags = frSetBit(FFlags, Flag->Bit, Value.AsBoolean());
    else
        TfrView::SetPropValue(Name, Value);
}

Variant TfrMemoView::GetPropValue(const QString& Name)
{
    Variant Result = TfrView::GetPropValue(Name);
    if (!Result.IsEmpty())
        return Result;
    const QString N = UpperCase(Name);
    if (N == u"FONT.NAME")
        return FFont->Name();
    if (N == u"FONT.SIZE")
        return FFont->Size();
    if (N == u"FONT.STYLE")
        return GetFontStyleBits(FFont->Style());
    if (N == u"FONT.COLOR")
        return static_cast<int64_t>(FFont->Color());
    if (N == u"ALIGNMENT")
        return FAlignment;
    if (N == u"LINESPACING")
        return FLineSpacing;
    if (N == u"CHARSPACING")
        return FCharSpacing;
    if (N == u"LINES.COUNT")
        return Memo()->Count();
    if (const TFlagName* Flag = FindFlag(N))
        return (FFlags & Flag->Bit) != 0;
    return Result;
}

Variant TfrMemoView::CallMethod(const QString& Name, const Variant& Par1, const Variant& Par2,
                                const Variant& Par3)
{
    Variant Result = TfrStretcheable::CallMethod(Name, Par1, Par2, Par3);
    if (!Result.IsEmpty())
        return Result;
    return CallListMethod(*Memo(), QStringLiteral("LINES"), Name, Par1, Par2, Par3);
}

void TfrMemoView::RegisterProperties()
{
    TfrStretcheable::RegisterProperties();
    for (const char* Name : {"Font.Name", "Font.Size", "Font.Style", "Font.Color"})
        AddProperty(QString::fromLatin1(Name), 0);
    AddProperty(QStringLiteral("Font"), PropHasEditor, frFontEditor);
    AddProperty(QStringLiteral("Alignment"), 0);
    AddProperty(QStringLiteral("DisplayFormat"), PropHasEditor, frDisplayFormatEditor);
    AddProperty(QStringLiteral("Highlight"), PropHasEditor, frHighlightEditor);
    for (const char* Name : {"LineSpacing", "CharSpacing", "GapX", "GapY"})
        AddProperty(QString::fromLatin1(Name), PropInteger);
    for (const char* Name : {"Stretched", "WordWrap", "WordBreak", "AutoWidth", "TextOnly", "Suppress", "HideZeros"})
        AddProperty(QString::fromLatin1(Name), PropBoolean);
    AddProperty(QStringLiteral("Lines.Count"), 0);
    AddProperty(QStringLiteral("Underlines"), PropBoolean);
    AddProperty(QStringLiteral("RTLReading"), PropBoolean);
}
