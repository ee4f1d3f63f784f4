// The report component a window holds to print, with its template pages, its
// data dictionary and the report information; the page list and the view
// factory. The abstract designer and editor windows are in FR_ClassDesigner.h.
// Preparation, preview and printing are entry points here; the driver, preview
// and printer live in their own units.
#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"
#include "report/engine/FR_DBSet.h"

class QImage;
class TfrPage;
class TStream;
class TStrings;
class TStringList;
class TMemoryStream;
class TfrReport;
class TfrView;
class TfrBand;
class TfrDataDictionary;
class TfrEMFPages;
class TfrReportDesigner;

// Raised by the factory when an add-in class is not plugged in; carries the
// whole list of missing class names.
class EClassNotFound : public Exception { using Exception::Exception; };

enum TfrReportType : uint8_t { rtSimple, rtMultiple };
enum TfrPreviewZoom : uint8_t { pzDefault, pzPageWidth, pzOnePage, pzTwoPages };
enum TfrPreviewButton : uint8_t {
    pbZoom = 1 << 0, pbLoad = 1 << 1, pbSave = 1 << 2, pbPrint = 1 << 3,
    pbFind = 1 << 4, pbHelp = 1 << 5, pbExit = 1 << 6, pbPageSetup = 1 << 7,
};
using TfrPreviewButtons = uint8_t;

// ---------------------------------------------------------------- pages

// The template's pages, owned. A form holds at most 256 of them: the view
// records name their page in one byte.
class TfrPages
{
public:
    explicit TfrPages(TfrReport* AParent);
    ~TfrPages();
    TfrPages(const TfrPages&) = delete;
    TfrPages& operator=(const TfrPages&) = delete;

    TfrReport* Parent() const { return FParent; }
    int Count() const { return static_cast<int>(FPages.size()); }
    TfrPage* Pages(int Index) const { return FPages.at(Index).get(); }
    void Clear();
    void Add();                         // default paper, bin and orientation
    void Delete(int Index);
    void Move(int From, int To);
    std::unique_ptr<TfrPage> Extract(int Index);
    void Insert(int Index, std::unique_ptr<TfrPage> Page);

    // The pages stream: pages, views, dictionary, extension data. Reading
    // raises on damaged data (EReadError) or missing add-ins (EClassNotFound).
    void LoadFromStream(TStream& Stream);
    void SaveToStream(TStream& Stream);
    // Applies every view's band alignment once before a preparation.
    void ResetBandAlign();
    // The IDs of every view, pages and views in order. Pages read back from
    // their own copy take them again (SetViewIDs), so that what names views
    // by ID, such as the designer's undo history, still finds them; nothing
    // changes when the pages no longer hold as many views.
    std::vector<std::vector<int32_t>> ViewIDs() const;
    void SetViewIDs(const std::vector<std::vector<int32_t>>& IDs);

private:
    void ReadView(TStream& Stream, uint8_t Marker);

    TfrReport* FParent;
    std::vector<std::unique_ptr<TfrPage>> FPages;
};

// ---------------------------------------------------------------- factory

// Add-ins an application plugs in: the class (its creator) and what the
// designer's tool bar shows for it.
struct TfrAddInObjectInfo
{
    QString ClassName;
    std::function<std::unique_ptr<TfrView>()> Creator;
    QString ButtonBmpRes;
    QString ButtonHint;
    std::function<QWidget*()> EditorForm;
    // 1 for a control of dialog pages: its designer button shows only there.
    uint8_t IsControl = 0;
};

constexpr int frMaxAddIns = 64;
extern std::vector<TfrAddInObjectInfo> frAddIns;
int frAddInCount();
// Returns False when the table is full.
bool frRegisterObject(TfrAddInObjectInfo Info);

// Extra tools an application adds to the designer: a menu item and a button
// each, both firing OnClick. A caption that is a number is a resource id.
struct TfrToolInfo
{
    QString Caption;
    QImage Glyph;
    std::function<void()> OnClick;
};
extern std::vector<TfrToolInfo> frTools;
void frRegisterTool(TfrToolInfo Info);

// Type 0-4 built-in classes, 10 an add-in found by ClassName; other types give
// none. Every view made gets the next running ID.
std::unique_ptr<TfrView> CreateViewByType(uint8_t Type, const QString& ClassName);

// Optional data that travels in the pages stream and joins preparation.
class TfrFormExtension
{
public:
    virtual ~TfrFormExtension() = default;
    virtual void Clear() = 0;
    virtual void LoadFromStream(TStream& Stream) = 0;
    virtual void SaveToStream(TStream& Stream) = 0;
    virtual void BeforePrepare() = 0;
    virtual void AfterPrepare() = 0;
    virtual void PrepareDataSet(TDataSet* DataSet) = 0;
    virtual bool Ready() = 0;
};
extern TfrFormExtension* frFormExtension;   // not owned; none by default

// Asks for the password of a protected form: returns False when cancelled.
// The password dialog installs itself here; without one the form counts as
// not confirmed.
using TfrPasswordQuery = std::function<bool(QString& Password)>;
extern TfrPasswordQuery frPasswordQuery;

// ---------------------------------------------------------------- designer

// The designer window and the view editors as the engine sees them live in
// FR_ClassDesigner.h, which brings in the window layer. This creates the registered designer with the flag,
// shows it modally and frees it: its modal result, or mrCancel when no
// designer class is registered.
int frRunDesigner(uint8_t Flag);

// The page list of PrintPreparedReport ("1,3", "2-", "2-4"): page numbers as
// decimal texts, ranges ascending; an empty text gives an empty list (all pages).
QStringList frParsePageNumbers(const QString& PageNumbers, int PageCount);

// ---------------------------------------------------------------- report

class TfrReport : public QObject
{
    Q_OBJECT
public:
    explicit TfrReport(QObject* AOwner = nullptr);
    ~TfrReport() override;

    QString Name() const { return objectName(); }
    void SetName(const QString& Value) { setObjectName(Value); }

    TfrPages* Pages() const { return FPages.get(); }
    TfrEMFPages* EMFPages() const { return FEMFPages.get(); }
    TfrDataDictionary* Dictionary() const { return FDictionary.get(); }

    // Published properties.
    TfrDataset* Dataset() const { return FDataset; }
    void SetDataset(TfrDataset* Value);
    bool GrayedButtons() const { return FGrayedButtons; }
    void SetGrayedButtons(bool Value) { FGrayedButtons = Value; }
    TfrReportType ReportType() const { return FReportType; }
    void SetReportType(TfrReportType Value) { FReportType = Value; }
    const QString& Title() const { return FTitle; }
    void SetTitle(const QString& Value) { FTitle = Value; }
    bool ShowProgress() const { return FShowProgress; }
    void SetShowProgress(bool Value) { FShowProgress = Value; }
    bool ModalPreview() const { return FModalPreview; }
    void SetModalPreview(bool Value) { FModalPreview = Value; }
    bool ModifyPrepared() const { return FModifyPrepared; }
    void SetModifyPrepared(bool Value) { FModifyPrepared = Value; }
    // Unsaved changes, and whether the designer made some since it opened.
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    bool ChangedInDesigner() const { return FChangedInDesigner; }
    void SetChangedInDesigner(bool Value) { FChangedInDesigner = Value; }
    // The last form read left out views of classes no application registered:
    // written over its file, the report would drop them for good.
    bool ViewsSkipped() const { return FViewsSkipped; }
    bool StoreInDFM() const { return FStoreInDFM; }
    void SetStoreInDFM(bool Value) { FStoreInDFM = Value; }
    QObject* Preview() const { return FPreview; }
    void SetPreview(QObject* Value);
    TfrPreviewButtons PreviewButtons() const { return FPreviewButtons; }
    void SetPreviewButtons(TfrPreviewButtons Value) { FPreviewButtons = Value; }
    TfrPreviewZoom InitialZoom() const { return FInitialZoom; }
    void SetInitialZoom(TfrPreviewZoom Value) { FInitialZoom = Value; }
    bool MDIPreview() const { return FMDIPreview; }
    void SetMDIPreview(bool Value) { FMDIPreview = Value; }
    int DefaultCopies() const { return FDefaultCopies; }
    void SetDefaultCopies(int Value) { FDefaultCopies = Value; }
    bool DefaultCollate() const { return FDefaultCollate; }
    void SetDefaultCollate(bool Value) { FDefaultCollate = Value; }
    bool PrintIfEmpty() const { return FPrintIfEmpty; }
    void SetPrintIfEmpty(bool Value) { FPrintIfEmpty = Value; }
    bool ShowPrintDialog() const { return FShowPrintDialog; }
    void SetShowPrintDialog(bool Value) { FShowPrintDialog = Value; }
    bool RebuildPrinter() const { return FRebuildPrinter; }
    void SetRebuildPrinter(bool Value) { FRebuildPrinter = Value; }
    bool UseDefaultDataSetName() const { return FUseDefaultDataSetName; }
    void SetUseDefaultDataSetName(bool Value) { FUseDefaultDataSetName = Value; }

    // Engine state of the report.
    const QString& PrinterName() const { return FPrinterName; }
    bool PrintToDefault() const { return FPrintToDefault != 0; }
    void SetPrintToDefault(bool Value) { FPrintToDefault = Value ? 1 : 0; }
    bool DoublePass() const { return FDoublePass != 0; }
    void SetDoublePass(bool Value) { FDoublePass = Value ? -1 : 0; }
    bool FinalPass() const { return FFinalPass; }
    void SetFinalPass(bool Value) { FFinalPass = Value; }
    bool CanRebuild() const { return FCanRebuild; }
    void SetCanRebuild(bool Value) { FCanRebuild = Value; }
    bool Terminated() const { return FTerminated; }
    void SetTerminated(bool Value) { FTerminated = Value; }
    // A dialog page of the report was closed without OK.
    bool DialogCancelled() const { return FDialogCancelled; }
    void SetDialogCancelled(bool Value) { FDialogCancelled = Value; }
    bool SaveAsXML() const { return FSaveAsXML; }
    const QString& FileName() const { return FFileName; }
    void SetFileName(const QString& Value) { FFileName = Value; }
    const QString& PrintPageList() const { return FPrintPageList; }
    int PrintCopies() const { return FPrintCopies; }
    bool PrintCollate() const { return FPrintCollate; }
    uint8_t PrintPagesKind() const { return FPrintPagesKind; }
    TfrPage* FormingPage() const { return FFormingPage; }
    void SetFormingPage(TfrPage* Value) { FFormingPage = Value; }
    bool SavedDoublePass() const { return FSavedDoublePass; }
    void SetSavedDoublePass(bool Value) { FSavedDoublePass = Value; }
    QObject* ExportFilter() const { return FExportFilter; }

    // Report information.
    QString ReportComment, ReportName, ReportAutor;
    QString ReportVersionMajor, ReportVersionMinor, ReportVersionRelease, ReportVersionBuild;
    TDateTime ReportCreateDate = 0;
    TDateTime ReportLastChange = 0;
    bool ReportPasswordProtected = false;
    QString ReportPassword;
    QChar ReportMark = u'X';

    // Life cycle and storage.
    void Clear();
    void ResetReportInfo();
    // The "ReportForm" binary property of the owner's form resource.
    void WriteBinaryData(TStream& Stream);
    void ReadBinaryData(TStream& Stream);
    void Loaded();
    void Notification(QObject* AComponent);

    // Reading reports failures with a message box and returns False; the report
    // stays usable.
    bool LoadFromStream(TStream& Stream);
    // Reads back a copy of this report's own form, made by SaveToStream, with
    // ViewsSkipped as it was when the copy was made: the copy has nothing left
    // to skip, but the report still lacks what its file holds.
    void RestoreForm(TStream& Copy, bool ViewsSkipped);
    void SaveToStream(TStream& Stream);
    // False when the file does not exist, cannot be opened or cannot be read.
    bool LoadFromFile(const QString& AFileName);
    void SaveToFile(const QString& AFileName);
    // Writes the XML template beside AFileName with the extension ".fr3".
    void SaveToFR3File(const QString& AFileName);
    bool LoadTemplate(const QString& AFileName, TStrings* Comment, QImage* Picture, bool Load);
    void SaveTemplate(const QString& AFileName, TStrings* Comment, const QImage* Picture);
    // A file that cannot be read or is damaged is named in an error box; the
    // prepared pages stay as they were and the result is False.
    bool LoadPreparedReport(const QString& AFileName);
    // Writes the whole file or, on failure (EWriteError), leaves the old one.
    void SavePreparedReport(const QString& AFileName);

    // Preparation (FR_ClassPrepare.cpp): the template is saved, formed into
    // EMFPages in one or two passes and restored. False when a dialog page was
    // cancelled, the progress window was cancelled, the form extension
    // refused, or an error or "STOPREPORT" ended the run; an error is shown
    // once and its pages are dropped.
    bool PrepareReport();
    // One pass over the pages.
    virtual void BuildReport();
    // Prepares again, then shows the prepared pages in the preview.
    void ShowReport();
    void ShowPreparedReport();
    // Progress of preparing, printing and exporting: OnProgress, else the
    // progress window's label.
    void ReportProgress(int n);
    // Records an error raised while calculating and stops the run.
    void ReportCalcError(const Exception& E);

    // The services expressions call back while pages are formed
    // (FR_ClassValues.cpp): the value of a name, a function call, the text of
    // a memo's bracketed part and the display format of a value.
    void GetVariableValue(const QString& Name, Variant& Value);
    void DoFunction(const QString& Name, const Variant& P1, const Variant& P2, const Variant& P3,
                    Variant& Value);
    QString GetFormattedValue(const QString& Name);
    // Format packs kind, style, decimals and separator (see FR_Fmt.h); the
    // separator applies to a copy of the locale record only.
    static QString FormatValue(const Variant& Value, uint32_t Format, const QString& FormatStr);
    // Makes this report's value and function services the shared parser's.
    void InstallParserCallbacks();

    // Event adapters of the band engine.
    void DoBeginColumn(TfrBand* Band);
    void DoPrintColumn(int ColNo, int& Width);
    virtual void PrintPreparedReport(const QString& PageNumbers, int Copies, bool Collate,
                                     uint8_t PrintPages);
    // Prints prepared page Index on the running job: a new job when the paper
    // changes (the virtual printer's one PDF file takes pages of every size).
    void PrintOnePage(int Index);
    // Hands every prepared page to Filter (a TfrExportFilter) writing AFileName.
    void ExportTo(QObject* Filter, const QString& AFileName);
    int PreparedPageCount() const;

    // Printers.
    void SetPrinterName(const QString& Value);
    bool ChangePrinter(int OldIndex, int NewIndex);

    TfrView* FindObject(const QString& ObjName) const;

    // The designer: modal result, or mrCancel when no designer class is registered.
    int OpenDesigner();
    int DesignReport() { return OpenDesigner(); }
    void EditPreparedPage(int Index);

    // Events.
    std::function<void()> OnBeginDoc;
    std::function<void()> OnEndDoc;
    std::function<void(int pgNo)> OnBeginPage;
    std::function<void(int pgNo)> OnEndPage;
    std::function<void(TfrBand* Band)> OnBeginBand;
    std::function<void(TfrBand* Band)> OnEndBand;
    std::function<void(const QString& ParName, Variant& ParValue)> OnGetValue;
    std::function<void(TStringList* Memo, TfrView* View)> OnBeforePrint;
    std::function<void(int n)> OnProgress;
    std::function<void(const QString& Name, const Variant& p1, const Variant& p2,
                       const Variant& p3, Variant& Val)> OnUserFunction;
    std::function<void(TfrBand* Band)> OnBeginColumn;
    std::function<void(int ColNo, int& Width)> OnPrintColumn;
    std::function<void(TfrPage* Page)> OnManualBuild;
    std::function<void(TfrView* View)> OnObjectClick;
    std::function<void(TfrView* View, Qt::CursorShape& Cursor)> OnMouseOverObject;
    std::function<void()> OnPrintReport;
    std::function<void(QObject* Sender)> OnCustomizeObject;
    std::function<void()> OnBeforeBuild;

private:
    friend class TfrPages;
    bool LoadForm(TStream& Stream, bool AskPassword);
    void ReadReportInfo(TStream& Stream);
    void WriteReportInfo(TStream& Stream);
    bool CheckPassword();
    void MakeEmptyReport();
    void RefitPages();
    bool DoPrepareReport();
    void RunPass();
    void FormReportPages();

    std::unique_ptr<TfrPages> FPages;
    std::unique_ptr<TfrEMFPages> FEMFPages;
    std::unique_ptr<TfrDataDictionary> FDictionary;
    bool FFirstPageOfJob = true;
    std::unique_ptr<TMemoryStream> FFormStream;
    QPointer<TfrDataset> FDataset;
    QPointer<QObject> FPreview;
    QPointer<QObject> FExportFilter;
    bool FGrayedButtons = false;
    TfrReportType FReportType = rtSimple;
    QString FTitle;
    bool FShowProgress = true;
    bool FModalPreview = true;
    bool FModifyPrepared = true;
    bool FModified = false;
    bool FChangedInDesigner = false;
    bool FViewsSkipped = false;
    bool FStoreInDFM = false;
    TfrPreviewButtons FPreviewButtons =
        pbZoom | pbLoad | pbSave | pbPrint | pbFind | pbHelp | pbExit;
    TfrPreviewZoom FInitialZoom = pzDefault;
    QString FPrintPageList;
    int FPrintCopies = 1;
    bool FPrintCollate = true;
    uint8_t FPrintPagesKind = 0;
    TfrPage* FFormingPage = nullptr;
    bool FSavedDoublePass = false;
    bool FMDIPreview = false;
    int FDefaultCopies = 1;
    bool FDefaultCollate = true;
    QString FPrinterName;
    bool FPrintIfEmpty = true;
    bool FShowPrintDialog = true;
    bool FRebuildPrinter = false;
    bool FUseDefaultDataSetName = false;
    bool FCanRebuild = false;
    bool FTerminated = false;
    bool FDialogCancelled = false;
    int16_t FPrintToDefault = 0;
    int16_t FDoublePass = 0;
    bool FFinalPass = false;
    QString FFileName;
    bool FSaveAsXML = false;
};
