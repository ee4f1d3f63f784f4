// The text object of a report: lines in which bracketed expressions become
// values when the report is prepared, drawn with one font, aligned, rotated,
// wrapped at word boundaries (Chinese text between any two characters), and
// measured and split for the band engine. Fields, by-name access and the
// record are in FR_MemoView.cpp, wrapping and drawing in FR_MemoViewDraw.cpp,
// heights, printing and the designer menu in FR_MemoViewPrint.cpp.
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

// Ends the last line of a paragraph in wrapped text.
constexpr QChar frParagraphMark(1);

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

// Positions after which a word may be broken by the syllable rule of
// "WordBreak" (a count of characters before the break), ascending; none for
// words shorter than 4 characters. The rule knows Cyrillic letters only.
QList<int> frHyphenate(const QString& Word);

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

    // State of the last wrapping and drawing.
    // Height of the wrapped text with both vertical gaps (design units after
    // wrapping, canvas units while showing).
    int VHeight() const { return FVHeight; }
    // LineSpacing plus the glyph height at 96 dpi.
    int LineHeight() const { return FLineHeight; }
    // Lines output by the last drawing or split.
    int LinesDrawn() const { return FLinesDrawn; }

    // ExpandedMemo becomes Memo with its bracketed expressions expanded (none
    // with "TextOnly"); a value holding line breaks gives several lines.
    void ExpandMemo();
    // Wraps ExpandedMemo into SMemo at the view's width, measured at 96 dpi;
    // each paragraph's last line ends in the mark character 0x01. Call between
    // BeginDraw and EndDraw.
    void WrapMemo();

    void Draw(TCanvas* ACanvas) override;
    void Print(TStream& Stream) override;
    void ExportData() override;
    void GetBlob(TField* Field) override;
    void DefinePopupMenu(TPopupMenu* Popup) override;
    void ShowEditor() override;
    int CalcHeight() override;
    // Width the memo's text needs on one line per paragraph, with frame and gaps.
    int CalcWidth();
    int MinHeight() override;
    int RemainHeight() override;

    void LoadFromStream(TStream& Stream) override;
    void SaveToStream(TStream& Stream) override;
    void SaveToFR3(TStream& Stream) override;

    void SetPropValue(const QString& Name, const Variant& Value) override;
    Variant GetPropValue(const QString& Name) override;
    Variant CallMethod(const QString& Name, const Variant& Par1, const Variant& Par2,
                       const Variant& Par3) override;
    void RegisterProperties() override;

private:
    friend class THighlightScope;
    // The view's font on Canvas as drawing sees it: transparent, and at the
    // view's scale unless the canvas is a printer's (which keeps points).
    void AssignCanvasFont(TCanvas* Canvas);
    // Width of the whole memo text on FCanvas, in design units with frame and gaps.
    int MeasuredWidth();
    void DrawUnderlines();
    // Outputs the wrapped lines of ExpandedMemo; call between BeginDraw and EndDraw.
    void ShowMemo();
    void ShowLines(bool Rotated);
    bool HighlightHolds() const;
    int LineHeight96() const;

    bool FPreWrapped = false;
    int FVHeight = 0;
    bool FPartMode = false;
    int FLineHeight = 0;
    int FLinesDrawn = 0;
    bool FExporting = false;
    bool FCountOnly = false;        // split: count the lines that fit, draw none
    bool FHighlighted = false;      // the condition held when the text was last expanded

    std::unique_ptr<TFont> FFont;
    QString FLastValue;
    int FAlignment = 0;
    TfrHighlightAttr FHighlight;
    QString FHighlightCondition;
    int FLineSpacing = 2;
    int FCharSpacing = 0;
};
