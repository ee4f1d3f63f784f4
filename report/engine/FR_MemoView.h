// The text object of a report: lines in which bracketed expressions become
// values when the report is prepared, drawn with one font and aligned. Here the
// fields, defaults, by-name access and the record; drawing comes with the
// engine's drawing code.
#pragma once

#include "report/engine/FR_Utils.h"
#include "report/engine/FR_View.h"

// Memo Flags bits (besides flStretched).
constexpr uint16_t flWordWrap = 2;
constexpr uint16_t flWordBreak = 4;
constexpr uint16_t flAutoWidth = 8;
constexpr uint16_t flTextOnly = 16;
constexpr uint16_t flSuppressRepeated = 32;
constexpr uint16_t flHideZeroValues = 64;
constexpr uint16_t flUnderlines = 128;
constexpr uint16_t flRTLReading = 256;

// Alignment bits.
enum TfrMemoAlign : int {
    frtaLeft = 0,
    frtaRight = 1,
    frtaCenter = 2,
    frtaJustify = 3,
    frtaVertical = 4,       // rotated 90 degrees
    frtaMiddle = 8,         // vertical centre
    frtaDown = 16,          // vertical bottom
};

// Attributes used while the highlight condition holds.
struct TfrHighlightAttr
{
    int FontStyle = frfsBold;     // stored style bits
    uint32_t FontColor = 0;
    uint32_t FillColor = clWhite;

    bool operator==(const TfrHighlightAttr&) const = default;
};

class TfrMemoView : public TfrStretcheable
{
public:
    TfrMemoView();
    ~TfrMemoView() override;

    QString ClassName() const override { return QStringLiteral("TfrMemoView"); }

    TFont* Font() const { return FFont.get(); }
    int Alignment() const { return FAlignment; }
    void SetAlignment(int Value) { FAlignment = Value; }
    const TfrHighlightAttr& Highlight() const { return FHighlight; }
    void SetHighlight(const TfrHighlightAttr& Value) { FHighlight = Value; }
    const QString& HighlightCondition() const { return FHighlightCondition; }
    void SetHighlightCondition(const QString& Value) { FHighlightCondition = Value; }
    int LineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(int Value) { FLineSpacing = Value; }
    int CharSpacing() const { return FCharSpacing; }
    void SetCharSpacing(int Value) { FCharSpacing = Value; }
    // Text of the last printed value, for "Suppress repeated values".
    const QString& LastValue() const { return FLastValue; }
    void SetLastValue(const QString& Value) { FLastValue = Value; }

    void LoadFromStream(TStream& Stream) override;
    void SaveToStream(TStream& Stream) override;

    void SetPropValue(const QString& Name, const Variant& Value) override;
    Variant GetPropValue(const QString& Name) override;
    Variant CallMethod(const QString& Name, const Variant& Par1, const Variant& Par2,
                       const Variant& Par3) override;
    void RegisterProperties() override;

private:
    std::unique_ptr<TFont> FFont;
    QString FLastValue;
    int FAlignment = 0;
    TfrHighlightAttr FHighlight;
    QString FHighlightCondition;
    int FLineSpacing = 2;
    int FCharSpacing = 0;
};
