// One page of a report template: its views in z-order, its paper settings and,
// for a dialog page, the settings of the form it becomes. While a report is
// prepared a report page turns its band views into run-time bands (one chain
// per band type, linked to headers, footers, groups and children), and a
// dialog page is shown as a modal form. Forming prepared pages from the bands
// belongs to the band engine.
#pragma once

#include <QHash>
#include <QString>
#include <array>
#include <functional>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/rtl/Classes.h"
#include "report/engine/FR_View.h"

class TForm;
class TStream;
class TStrings;
class TfrBand;
class TfrInterpretator;
class TfrPages;
class TfrSubReportView;

enum TfrPageType : uint8_t { ptReport = 0, ptDialog = 1 };
enum TPrinterOrientation : uint8_t { poPortrait = 0, poLandscape = 1 };

// Printable-area record filled by the engine printer; device values in device
// pixels, the others in layout pixels.
struct TfrPrnInfo
{
    int32_t DevicePaperWidth = 0;
    int32_t DevicePaperHeight = 0;
    int32_t PaperWidthPx = 0;
    int32_t PaperHeightPx = 0;
    int32_t DeviceOffsetX = 0;
    int32_t DeviceOffsetY = 0;
    int32_t OffsetX = 0;
    int32_t OffsetY = 0;
    int32_t DevicePrintableWidth = 0;
    int32_t DevicePrintableHeight = 0;
    int32_t PrintableWidth = 0;
    int32_t PrintableHeight = 0;
};

constexpr int frBandTypeCount = 23;
constexpr int32_t frNoBin = 65535;
constexpr int32_t frCustomPaper = 256;

// A recorded action of a page formed as a subreport: 0 show the band, 1 rewind
// its data source, 2 advance it.
struct TfrRecAction
{
    TfrBand* Band = nullptr;
    uint8_t Action = 0;
};

// The report's script interpreter, installed by the engine's start-up object.
// Without one, scripts compile in the plain language and nothing runs them.
extern TfrInterpretator* frInterpreter;
// Registers in DataBand's accumulators the aggregates that the footers of
// FooterTypes count for it, and points those footers at it; the function
// library installs it.
extern std::function<void(TfrPage* Page, TfrBand* DataBand, const std::vector<int>& FooterTypes)>
    frPrepareAggregates;
// Shows (true) or hides the progress window and answers whether it was
// showing; the progress window installs it. A dialog page hides it while shown.
extern std::function<bool(bool Show)> frShowProgress;
// Views told about every printed memo (flag bit 15), collected by page
// initialisation; the preparation driver empties it.
extern std::vector<TfrView*> frMemoHookViews;

// Compiles Script with the report interpreter and runs it; nothing for an
// empty script.
void ExecuteScript(const TStrings& Script);

// A report page's paper, margins and columns as the page options store them.
struct TfrPageLayout
{
    int32_t Size = 0;                 // paper code
    int32_t Width = 0, Height = 0;    // the custom paper's, tenths of a millimetre
    bool Landscape = false;
    bool UseMargins = true;
    int32_t Margins[4] = {};          // left, top, right, bottom, pixels
    int32_t ColumnGap = 0;            // pixels
    int32_t Columns = 1;
};

// Why Layout cannot be stored, in the page options' words, or "" when it can:
// a custom paper side of 1 to 1200 mm, margins and column gap no wider than
// that, room left between the margins and for every column, and at most as
// many columns as a band takes (frMaxBandColumns). The page options, the
// page's rows of the inspector and the form reader refuse the same.
QString frPageLayoutError(const TfrPageLayout& Layout);

class TfrPage : public TfrObject
{
public:
    TfrPage(int32_t ASize, int32_t AWidth, int32_t AHeight, int32_t ABin,
            TPrinterOrientation AOrientation);
    ~TfrPage() override;

    // Views, owned, in z-order.
    int Count() const { return static_cast<int>(FObjects.size()); }
    TfrView* Objects(int Index) const { return FObjects.at(Index).get(); }
    void Add(std::unique_ptr<TfrView> View);
    void Delete(int Index);
    // Puts View at Index (clamped to the list); Move keeps every other view's order.
    void Insert(int Index, std::unique_ptr<TfrView> View);
    void Move(int From, int To);
    void Clear();
    std::unique_ptr<TfrView> Extract(int Index);
    int FindObjectByID(int32_t ID) const;
    TfrView* FindObject(const QString& AName) const;   // case-insensitive

    // Run-time structure, built by InitReport and freed by DoneReport.
    // A band is active when a band view made it, or when it is the band of
    // views outside any band and holds one.
    static bool BandExists(const TfrBand* Band);
    void InitReport();
    void DoneReport();
    void InitPageBands();
    void PrepareObjects();
    // The band a view belongs to while the page is prepared; none outside one.
    TfrBand* ViewBand(const TfrView* View) const { return FViewBand.value(View, nullptr); }
    void SetViewBand(const TfrView* View, TfrBand* Band);
    // The page a subreport view inserts: none when it names no page of the
    // current report, this page, or a page that leads back here through
    // other subreports; such a subreport stays empty.
    TfrPage* SubReportPage(const TfrSubReportView* View) const;

    // Forming (FR_BandEngine.cpp): the page's output into the master
    // report's prepared pages; on a subreport page (RecMode) the actions are
    // recorded for PlayRecList instead.
    void FormPage();
    // Draws an active band; nothing for an empty slot.
    void ShowBand(TfrBand* Band);
    // The first band of any type, in chain order, whose view has that name.
    void ShowBandByName(const QString& AName);
    void NewPage();
    void StartColumns();
    void NewColumn(TfrBand* Band);
    void DrawPageFooters();
    // Plays recorded actions from RecPos; true when a page filled and the
    // action that needed the break waits for the next page.
    bool PlayRecList();

    // Scripts: the memo editor on the page's script; the dialog form's
    // activation handler.
    void EditScript();
    void RunScript();

    // Paper: hands the values to the engine printer and takes back what it accepted.
    void ChangePaper(int32_t ASize, int32_t AWidth, int32_t AHeight, int32_t ABin,
                     TPrinterOrientation AOrientation);
    int GetLeftBound() const;
    int GetTopBound() const;
    int GetRightBound() const;
    int GetBottomBound() const;

    // "Page" + the smallest n from 1 that no page of the current report uses.
    void CreateUniqueName();
    void CreateUniqueName(const TfrPages* Pages);

    // Script access by upper-case name; unknown names are ignored or answered
    // with an empty value. Report pages give their paper size in millimetres.
    void SetPropValue(const QString& PropName, const Variant& Value) override;
    Variant GetPropValue(const QString& PropName) override;
    void RegisterProperties() override;
    // The printer's paper names joined by ";", or "No data" without papers.
    static QString PaperNameList();
    static QList<Variant> PaperCodeList();

    // The page record of the pages stream; the reader follows FormVersion.
    void LoadFromStream(TStream& Stream);
    void SaveToStream(TStream& Stream) const;

    // Fields, as the band engine and the designer use them.
    std::array<TfrBand*, frBandTypeCount> Bands{};
    bool IsSubReportPage = false;
    bool Prepared = false;
    int32_t CurColumn = 0;
    int32_t ColumnTop = 0;
    int32_t XAdjust = 0;
    std::vector<TfrRecAction> RecList;
    uint8_t RecMode = 0;
    int32_t RecPos = 0;
    TfrBand* PendingSubReportBand = nullptr;
    int32_t CrossColumn = 0;
    int32_t RowCount = 0;
    TfrBand* LastBand = nullptr;
    bool PrintingFinalFooters = false;
    // CurY where the page's own headers ended on the page being formed: a
    // band that does not fit there prints there rather than break again.
    int32_t FreshY = -1;
    int32_t CrossMaxCount = 0;   // most cross records of one row so far

    int32_t Size = 0;            // paper code; 256 custom
    int32_t Width = 0;           // 0.1 mm, swapped for landscape
    int32_t Height = 0;
    int32_t LeftMargin = 0;      // layout pixels; 0 = printer's offset
    int32_t TopMargin = 0;
    int32_t RightMargin = 0;
    int32_t BottomMargin = 0;
    TPrinterOrientation Orientation = poPortrait;
    int32_t Bin = frNoBin;
    int16_t PrintToPrevPage = 0;
    int16_t UseMargins = -1;     // all bits set = true
    TfrPrnInfo PrnInfo;
    int32_t Columns = 1;
    int32_t ColumnWidth = 0;
    int32_t ColumnGap = 0;
    TfrPageType PageType = ptReport;
    int32_t CurY = 0;
    int32_t CurBottomY = 0;
    QString Name;
    uint8_t BorderStyle = 3;     // 3 bsDialog, 2 bsSizeable
    QString Caption;
    uint32_t Color = 0xFF00000F; // button face
    int32_t FormLeft = 220;      // dialog bounds, screen pixels
    int32_t FormTop = 120;
    int32_t FormWidth = 380;
    int32_t FormHeight = 300;
    uint8_t Position = 4;        // 0 poDesigned, 4 poScreenCenter
    std::unique_ptr<TForm> Form; // a dialog page's form while it is shown
    TStringList Script;
    bool Visible = true;

private:
    TfrBand* NewBand(uint8_t Typ);
    void FreeBands();
    void InitDialog();
    void CollectViews(TfrBand* Band);
    void LinkHeadersAndFooters(int HeaderTyp, int DataTyp, int FooterTyp);
    void InitCrossSources();

    std::vector<std::unique_ptr<TfrView>> FObjects;
    std::vector<std::unique_ptr<TfrBand>> FRunBands;   // every run-time band of the page
    QHash<const TfrView*, TfrBand*> FViewBand;
};
