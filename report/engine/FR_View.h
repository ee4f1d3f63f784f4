// The root of everything a report template holds on its pages (TfrObject, with
// the property records through which scripts, the inspector and the XML writer
// reach any object by name), the base of every view placed on a page (TfrView:
// fields, defaults and the common part of its stream record in FR_View.cpp;
// drawing, band alignment, printing and menu items in FR_ViewDraw.cpp), and the
// registry of view classes keyed by stored type code and class name.
#pragma once

#include "platform/gui/Graphics.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Variants.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TStream;
class TfrBand;
class TfrBandView;
class TfrView;
class TfrPage;
class TDataSet;
class TField;
class TPopupMenu;
class TfrXmlTag;

// ---------------------------------------------------------------- property records

enum TfrPropType : uint16_t {
    PropString = 1,
    PropInteger = 2,
    PropFloat = 4,
    PropBoolean = 8,
    PropColor = 16,
    PropEnum = 32,
    PropHasEditor = 64,
    PropSize = 128,
    PropOneObject = 256,
};

// Opens a dedicated editor for a property.
using TfrPropEditor = std::function<void()>;

struct TfrPropRec
{
    QString PropName;            // at most 32 characters
    uint16_t PropType = 0;
    QStringList EnumNames;
    QList<Variant> EnumValues;
    TfrPropEditor PropEditor;
};

// Engine-wide editor hooks; the designer fills them when its window is shown.
// Views register whatever they hold at the time.
extern TfrPropEditor frMemoEditor;
extern TfrPropEditor frPictureEditor;
extern TfrPropEditor frTagEditor;
extern TfrPropEditor frRestrictionsEditor;
extern TfrPropEditor frHighlightEditor;
extern TfrPropEditor frFieldEditor;
extern TfrPropEditor frDataSourceEditor;
extern TfrPropEditor frCrossDataSourceEditor;
extern TfrPropEditor frGroupEditor;
extern TfrPropEditor frFontEditor;
// The display-format dialog on the view being inspected.
extern TfrPropEditor frDisplayFormatEditor;

// Evaluates a parameter of a script's method call (the expression parser
// installs itself here); without it the parameter is taken as it is.
extern std::function<Variant(const Variant& Parameter)> frEvaluateParameter;

class TfrObject
{
public:
    TfrObject();
    virtual ~TfrObject();
    TfrObject(const TfrObject&) = delete;
    TfrObject& operator=(const TfrObject&) = delete;

    // Property records, filled by RegisterProperties when asked.
    int PropCount() const { return static_cast<int>(FPropList.size()); }
    const TfrPropRec& PropRec(int Index) const { return *FPropList[Index]; }
    TfrPropRec* FindPropRec(const QString& Name) const;       // case-insensitive
    void AddProperty(const QString& Name, uint16_t Type, TfrPropEditor Editor = {});
    // Names is one ";"-separated text; the record gets type PropEnum.
    void AddEnumProperty(const QString& Name, const QString& Names, const QList<Variant>& Values);
    void ClearPropList();

    // Names in any case; unknown names are ignored by the setter and leave the
    // getter's result unassigned (empty).
    virtual void SetPropValue(const QString& Name, const Variant& Value);
    virtual Variant GetPropValue(const QString& Name);
    virtual Variant CallMethod(const QString& Name, const Variant& Par1, const Variant& Par2,
                               const Variant& Par3);
    virtual void RegisterProperties();

private:
    std::vector<std::unique_ptr<TfrPropRec>> FPropList;
};

// ---------------------------------------------------------------- views

// Stored type codes.
enum TfrObjectType : uint8_t {
    gtMemo = 0,
    gtPicture = 1,
    gtBand = 2,
    gtSubReport = 3,
    gtLine = 4,
    gtAddIn = 10,
};

// Flags bits common to every view.
constexpr uint16_t flStretched = 1;
constexpr uint16_t flOnePerPage = 8192;
constexpr uint16_t flNoUndo = 16384;
constexpr uint16_t flWantHook = 32768;

// Frame lines (FrameTyp bits).
constexpr uint16_t frbRight = 1;
constexpr uint16_t frbBottom = 2;
constexpr uint16_t frbLeft = 4;
constexpr uint16_t frbTop = 8;

enum TfrFrameStyle : uint16_t {
    fsSolid = 0,
    fsDash = 1,
    fsDot = 2,
    fsDashDot = 3,
    fsDashDotDot = 4,
    fsDouble = 5,
};

enum TfrBandAlign : uint8_t {
    baNone = 0,
    baLeft = 1,
    baRight = 2,
    baCenter = 3,
    baWidth = 4,
    baBottom = 5,
    baTop = 6,
    baRest = 7,
};

// Designer locks (Restrictions bits).
constexpr uint16_t frrfDontEditMemo = 1;
constexpr uint16_t frrfDontEditScript = 2;
constexpr uint16_t frrfDontEditContents = 4;
constexpr uint16_t frrfDontModify = 8;
constexpr uint16_t frrfDontSize = 16;
constexpr uint16_t frrfDontMove = 32;
constexpr uint16_t frrfDontDelete = 64;

// Value with Bit set or cleared.
constexpr uint16_t frSetBit(uint16_t Value, uint16_t Bit, bool On)
{
    return static_cast<uint16_t>(On ? (Value | Bit) : (Value & ~Bit));
}

// The frame width as its 4-byte stored form and back. Integral widths below 11
// are stored as the integer, others in thousandths; so that every width reads
// back as written, integral widths of 11 and more are stored in thousandths
// too, and widths too small for thousandths go to the nearest value that is.
int32_t frEncodeFrameWidth(float Width);
float frDecodeFrameWidth(int32_t Stored);

// The lengths a view may hold, in pixels: position, size and their sums, the
// gaps, the frame width and a memo's line and character spacing lie within
// -frMaxCoord..frMaxCoord, and a band has at most frMaxBandColumns columns.
// That is some 26 m at 96 dpi, far past any paper yet far from overflowing a
// sum or a zoomed coordinate; beyond lies nothing a page can show, only
// painting that overflows or never ends. The form reader refuses a form with
// a view beyond them, the designer's clipboard such a block, and the
// inspector such a value, and a move or resize in the designer stops at them.
constexpr int frMaxCoord = 100000;
constexpr int frMaxBandColumns = 255;
bool frWithinCoordRange(double Value);
bool frViewWithinLimits(const TfrView* View);
// Gives View the bounds L, T, W, H unless they lie beyond the limits; whether it did.
bool frSetBoundsWithinLimits(TfrView* View, int L, int T, int W, int H);

class TfrView : public TfrObject
{
public:
    TfrView();
    ~TfrView() override;

    // The class name written for add-in records and shown to the user.
    virtual QString ClassName() const { return QStringLiteral("TfrView"); }

    // Identity.
    const QString& Name() const { return FName; }
    void SetName(const QString& Value) { FName = Value; }
    const QString& BaseName() const { return FBaseName; }
    uint8_t ObjectType() const { return FObjectType; }
    void SetObjectType(uint8_t Value) { FObjectType = Value; }
    int ID() const { return FID; }
    void SetID(int Value) { FID = Value; }
    bool Selected() const { return FSelected; }
    void SetSelected(bool Value) { FSelected = Value; }
    // 0: part of a report form; non-zero: part of a prepared page.
    uint8_t StreamMode() const { return FStreamMode; }
    void SetStreamMode(uint8_t Value) { FStreamMode = Value; }
    uint8_t RecordVersion() const { return FRecordVersion; }
    uint8_t RecordSubVersion() const { return FRecordSubVersion; }

    // Position and size in design units (pixels at 96 dpi).
    int Left() const { return FLeft; }
    void SetLeft(int Value) { FLeft = Value; }
    int Top() const { return FTop; }
    void SetTop(int Value) { FTop = Value; }
    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);

    uint16_t Flags() const { return FFlags; }
    void SetFlags(uint16_t Value) { FFlags = Value; }
    uint16_t FrameTyp() const { return FFrameTyp; }
    void SetFrameTyp(uint16_t Value) { FFrameTyp = Value; }
    float FrameWidth() const { return FFrameWidth; }
    void SetFrameWidth(float Value) { FFrameWidth = Value; }
    uint32_t FrameColor() const { return FFrameColor; }
    void SetFrameColor(uint32_t Value) { FFrameColor = Value; }
    uint16_t FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(uint16_t Value) { FFrameStyle = Value; }
    uint32_t FillColor() const { return FFillColor; }
    void SetFillColor(uint32_t Value) { FFillColor = Value; }
    // Display format: group, variant, decimals, separator character (bytes 4..1).
    uint32_t Format() const { return FFormat; }
    void SetFormat(uint32_t Value) { FFormat = Value; }
    const QString& FormatStr() const { return FFormatStr; }
    void SetFormatStr(const QString& Value) { FFormatStr = Value; }
    // Stored as a 16-bit Boolean: true is all bits set; any non-zero reads true.
    bool Visible() const { return FVisible != 0; }
    void SetVisible(bool Value) { FVisible = Value ? 0xFFFF : 0; }
    int GapX() const { return FGapX; }
    void SetGapX(int Value) { FGapX = Value; }
    int GapY() const { return FGapY; }
    void SetGapY(int Value) { FGapY = Value; }
    uint16_t Restrictions() const { return FRestrictions; }
    void SetRestrictions(uint16_t Value) { FRestrictions = Value; }
    const QString& Tag() const { return FTag; }
    void SetTag(const QString& Value) { FTag = Value; }
    uint8_t BandAlign() const { return FBandAlign; }
    void SetBandAlign(uint8_t Value) { FBandAlign = Value; }

    TStringList* Memo() const { return FMemo.get(); }
    TStringList* Script() const { return FScript.get(); }
    // The memo after expansion; what a prepared page receives.
    TStringList* ExpandedMemo() const { return FExpandedMemo.get(); }

    // Data field the view shows, attached by page preparation.
    TDataSet* FieldDataSet() const { return FFieldDataSet; }
    void SetFieldDataSet(TDataSet* Value) { FFieldDataSet = Value; }
    const QString& FieldName() const { return FFieldName; }
    void SetFieldName(const QString& Value) { FFieldName = Value; }

    // Drawing state (filled by drawing).
    double ScaleX() const { return FScaleX; }
    double ScaleY() const { return FScaleY; }
    void SetScale(double AScaleX, double AScaleY) { FScaleX = AScaleX; FScaleY = AScaleY; }
    int OffsX() const { return FOffsX; }
    int OffsY() const { return FOffsY; }
    void SetOffset(int AOffsX, int AOffsY) { FOffsX = AOffsX; FOffsY = AOffsY; }
    bool IsPrinting() const { return FIsPrinting; }
    void SetIsPrinting(bool Value) { FIsPrinting = Value; }
    // Inner rectangle of the last BeginDraw (text and picture area); classic:
    // RectRight and RectBottom lie outside.
    const QRect& DrawRect() const { return FDrawRect; }
    // The bounds the view had when the designer last measured a multiple
    // selection holding it; a proportional resize scales from them. Kept
    // apart from BeginDraw's save fields, which every repaint overwrites.
    const std::optional<QRect>& SelectionBounds() const { return FSelectionBounds; }
    void SetSelectionBounds(const QRect& Value) { FSelectionBounds = Value; }
    // Surface of the current drawing (set by ApplyBandAlign).
    TCanvas* Canvas() const { return FCanvas; }

    // Drawing. One path for every surface: the designer draws at scale 1, the
    // preview and the printer set scale, offset and IsPrinting first.
    // Draw of the base draws nothing.
    virtual void Draw(TCanvas* Canvas);
    // Replace position, size, gaps and frame width by canvas values (design
    // state: scale 1) and compute DrawRect; EndDraw puts the design values
    // back. Always in pairs: see TfrDrawScope.
    void BeginDraw();
    void EndDraw();
    virtual void DrawBackground();
    virtual void DrawFrame();
    // The area the view covers with its frame lines; Extended adds 10 pixels
    // on every side (the designer's hit area).
    virtual QRegion GetClipRgn(bool Extended);
    // Design state: the band view of the page being designed that holds this
    // view's top-left corner (the last in page order); nullptr otherwise.
    TfrBandView* GetBand() const;
    // Takes Canvas as the current surface and this view as CurView, then
    // moves or sizes the view by BandAlign within the current page's bounds.
    void ApplyBandAlign(TCanvas* ACanvas);

    // Preparation. Writes the view into a prepared page's stream (type byte,
    // class name for add-ins, record).
    virtual void Print(TStream& Stream);
    // Hands the view to the report's export filter.
    virtual void ExportData();
    // Loads the view's data from a blob field (memo text, picture).
    virtual void GetBlob(TField* Field) { (void)Field; }
    virtual void AfterResize() {}

    // Designer. Appends the view's context-menu items to Popup.
    virtual void DefinePopupMenu(TPopupMenu* Popup);
    virtual void ShowEditor() {}

    // Actions.
    // BaseName + the first free number from 1 to 10000 (none free: empty).
    virtual void CreateUniqueName();
    // Copies Name, ObjectType and Selected, then the rest through a stream
    // record of the current version.
    virtual void Assign(TfrView* Source);
    virtual void AfterLoad() {}
    virtual void MemoPrinted(TfrView* Memo) { (void)Memo; }

    // The record: the common part here, then each class's own data. Readers use
    // FormVersion for the forms and conditions; every damaged length raises.
    virtual void LoadFromStream(TStream& Stream);
    virtual void SaveToStream(TStream& Stream);
    // The opening part of the view's element in the XML template ("<", the
    // element name, the attributes; no line break). Views without an element
    // write nothing.
    virtual void SaveToFR3(TStream& Stream);

    // By name.
    void SetPropValue(const QString& Name, const Variant& Value) override;
    Variant GetPropValue(const QString& Name) override;
    Variant CallMethod(const QString& Name, const Variant& Par1, const Variant& Par2,
                       const Variant& Par3) override;
    void RegisterProperties() override;

protected:
    // The page whose views a view lines up with: the page being formed in
    // print state, the designer's page (else CurPage) in design state.
    static TfrPage* AlignPage();
    // The right and bottom canvas edges of the view being drawn.
    int DrawRight() const;
    int DrawBottom() const;
    // Fetches the blob field the view shows, then runs the report's
    // before-print event on ExpandedMemo.
    void DoBeforePrint();
    // Writes the type byte, the class name of an add-in and the record.
    void WriteRecord(TStream& Stream);
    // Runs Action on every selected view of the designer's page (this view
    // alone without a designer) that lacks Restriction, between the
    // designer's BeforeChange and AfterChange.
    void ChangeSelected(uint16_t Restriction, const std::function<void(TfrView* View)>& Action);
    // A check item for Flag of Flags toggling it through ChangeSelected.
    void AddFlagItem(TPopupMenu* Popup, const QString& Caption, uint16_t Flag, uint16_t Restriction = frrfDontModify,
                     bool SelectedToo = true);

    // The string-list methods on List under the stem Stem ("MEMO", "LINES");
    // Result stays empty when Name is not one of them.
    Variant CallListMethod(TStrings& List, const QString& Stem, const QString& Name,
                           const Variant& Par1, const Variant& Par2, const Variant& Par3);
    // The element name and attributes every view class starts its XML element with.
    void AddFR3Attributes(TfrXmlTag& Tag) const;
    // Classes without frame, fill, tag and band-align records (band, subreport).
    virtual bool HasFrameProperties() const { return true; }

    QString FBaseName = QStringLiteral("View");
    uint8_t FObjectType = gtAddIn;
    uint8_t FRecordVersion = 0;
    uint8_t FRecordSubVersion = 0;
    uint16_t FFlags = flStretched;
    uint16_t FFrameTyp = 0;
    float FFrameWidth = 1.0f;
    uint32_t FFrameColor = 0;
    uint16_t FFrameStyle = fsSolid;
    uint32_t FFillColor = clNone;
    uint32_t FFormat = 0;
    uint16_t FVisible = 0xFFFF;
    int FGapX = 2;
    int FGapY = 1;
    QRect FDrawRect;
    TCanvas* FCanvas = nullptr;

private:
    int FSaveLeft = 0, FSaveTop = 0, FSaveWidth = 0, FSaveHeight = 0, FSaveGapX = 0, FSaveGapY = 0;
    float FSaveFrameWidth = 0;
    std::optional<QRect> FSelectionBounds;
    TDataSet* FFieldDataSet = nullptr;
    QString FFieldName;
    uint8_t FStreamMode = 0;
    QString FName;
    int FID = 0;
    bool FSelected = false;
    double FScaleX = 1.0;
    double FScaleY = 1.0;
    int FOffsX = 0;
    int FOffsY = 0;
    bool FIsPrinting = false;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    QString FFormatStr;
    uint16_t FRestrictions = 0;
    QString FTag;
    uint8_t FBandAlign = baNone;
    std::unique_ptr<TStringList> FMemo;
    std::unique_ptr<TStringList> FScript;
    std::unique_ptr<TStringList> FExpandedMemo;
};

// Keeps a view between BeginDraw and EndDraw for as long as it lives.
class TfrDrawScope
{
public:
    explicit TfrDrawScope(TfrView* View) : FView(View) { FView->BeginDraw(); }
    ~TfrDrawScope() { FView->EndDraw(); }
    TfrDrawScope(const TfrDrawScope&) = delete;
    TfrDrawScope& operator=(const TfrDrawScope&) = delete;

private:
    TfrView* FView;
};

// The text of Text with every bracketed expression replaced by its value as
// text; an inserted value is not scanned again, and a "[" without its "]"
// stays as it is.
QString frExpandText(const QString& Text);

// A view whose height the band engine can ask for (memo, line).
class TfrStretcheable : public TfrView
{
public:
    // Height the view needs for its content, in design units.
    virtual int CalcHeight() = 0;
    // Smallest height worth printing on a page (one line).
    virtual int MinHeight() = 0;
    // What is left over below the last whole line when the view is cut at its
    // current height.
    virtual int RemainHeight() = 0;

    Variant CallMethod(const QString& Name, const Variant& Par1, const Variant& Par2,
                       const Variant& Par3) override;

    // 0 normal; 1 CalcHeight has expanded and measured the text for the next
    // Print; 2 Print outputs only the lines that fit (split).
    uint8_t CalcState() const { return FCalcState; }
    void SetCalcState(uint8_t Value) { FCalcState = Value; }

private:
    uint8_t FCalcState = 0;
};

// ---------------------------------------------------------------- registry

// Each view class registers itself from its own unit, keyed by its stored type
// code (0-4; add-ins 10) and its class name.
using TfrViewCreator = std::function<std::unique_ptr<TfrView>()>;

struct TfrViewClass
{
    uint8_t ObjectType = gtAddIn;
    QString ClassName;
    TfrViewCreator Create;
};

// A later registration of the same class name replaces the earlier one.
void frRegisterViewClass(uint8_t ObjectType, const QString& ClassName, TfrViewCreator Creator);
void frUnregisterViewClass(const QString& ClassName);
// The class stored under a type code 0-4 (nullptr for others and unknown codes).
const TfrViewClass* frFindViewClass(uint8_t ObjectType);
// By class name, exact and case-sensitive; nullptr when none.
const TfrViewClass* frFindViewClassByName(const QString& ClassName);
QList<TfrViewClass> frViewClasses();
