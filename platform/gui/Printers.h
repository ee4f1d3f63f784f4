// TPrinter: the program's printer object over Qt PrintSupport. It lists the
// system's printers (or fakes a test installs), keeps a device-mode record per
// printer (paper code or custom size, orientation, copies, bin), answers the
// device geometry in device pixels and runs print jobs whose pages are drawn on
// a TCanvas. Index -1 is the PDF writer: no device, pages go to a PDF file the
// caller names. Paper codes are the classic device-mode paper numbers.
// It knows nothing of reports; the report engine's printer builds on it.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <QList>
#include <QMarginsF>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QPageLayout;
class TCanvas;

class EPrinter : public Exception { using Exception::Exception; };

// Which fields of a device-mode record the printer takes.
enum TDeviceModeField : uint32_t {
    dmfOrientation = 0x0001,
    dmfPaperSize = 0x0002,
    dmfPaperLength = 0x0004,
    dmfPaperWidth = 0x0008,
    dmfCopies = 0x0100,
    dmfDefaultSource = 0x0200,
};
constexpr int dmoPortrait = 1;
constexpr int dmoLandscape = 2;
constexpr int dmpCustom = 256;        // paper code of a size given in tenths of a millimetre
constexpr int dmbNone = 65535;        // no bin chosen

struct TDeviceMode
{
    uint32_t Fields = 0;
    int Orientation = dmoPortrait;
    int PaperSize = 9;                // A4
    int PaperLength = 0;              // tenths of a millimetre, with dmfPaperLength
    int PaperWidth = 0;               // tenths of a millimetre, with dmfPaperWidth
    int Copies = 1;
    int DefaultSource = dmbNone;
};

struct TPrinterBin
{
    int Code = 0;
    QString Name;
};

// What a printer offers: read from the system for real printers, given whole
// by tests for fakes.
struct TPrinterDescription
{
    QString Name;
    int DpiX = 600;
    int DpiY = 600;
    QList<QPageSize> PageSizes;
    QPageSize DefaultPageSize{QPageSize::A4};
    QMarginsF Margins;                // unprintable edges, millimetres
    QList<TPrinterBin> Bins;
};

// The classic paper codes with their sizes in tenths of a millimetre, in the
// order of the device-mode paper constants; code 256 (custom) is last, 0 x 0.
struct TPaperSizeInfo
{
    int Code;
    int Width;
    int Height;
};
const QList<TPaperSizeInfo>& StandardPaperSizes();
// Nullptr for a code the table does not hold.
const TPaperSizeInfo* FindStandardPaper(int Code);
// Qt's page size for a paper code: Qt's own size where its Windows id agrees
// with the table within a tenth of a millimetre, else the table's size. Custom
// and unknown codes take Width x Height (tenths of a millimetre).
QPageSize PaperCodePageSize(int Code, int Width = 0, int Height = 0);
// The size in millimetres from the page size's own definition: Qt's
// millimetre table rounds sizes defined in inches (13 in reads 330 mm).
QSizeF PageSizeMillimeters(const QPageSize& Size);

class TPrinter
{
public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // Printers and the current one; -1 is the PDF writer. The system's default
    // printer is current after construction and Refresh.
    QStringList Printers() const;
    int PrinterIndex() const { return FIndex; }
    void SetPrinterIndex(int Value);  // raises EPrinter out of range or while printing
    void Refresh();                   // reads the printer list again

    // Names of the current printer; the PDF writer has none.
    QString DeviceName() const;
    QString DriverName() const;
    QString PortName() const;
    // False when there is no record to give.
    bool GetDeviceMode(TDeviceMode& Mode) const;
    void SetDeviceMode(const TDeviceMode& Mode);

    // Papers and bins of the current printer.
    QList<int> PaperCodes() const;
    QStringList PaperNames() const;
    QList<int> BinCodes() const;
    QStringList BinNames() const;

    // Geometry of the current paper in device pixels; the printable area
    // starts at the offsets.
    int DpiX() const;
    int DpiY() const;
    int PhysicalWidth() const;
    int PhysicalHeight() const;
    int PhysicalOffsetX() const;
    int PhysicalOffsetY() const;
    int PageWidth() const;
    int PageHeight() const;

    // The print job. A fake printer and the PDF writer need OutputFileName;
    // with it a real printer prints to that PDF file as well.
    QString Title() const { return FTitle; }
    void SetTitle(const QString& Value) { FTitle = Value; }
    int Copies() const { return FCopies; }
    void SetCopies(int Value) { FCopies = Value < 1 ? 1 : Value; }
    QString OutputFileName() const { return FOutputFileName; }
    void SetOutputFileName(const QString& Value) { FOutputFileName = Value; }
    // Whether the job makes Copies itself: a device does; a PDF file holds
    // each sheet once, so its caller draws a sheet as often as it wants it.
    bool MakesCopies() const { return FOutputFileName.isEmpty(); }
    void BeginDoc();                  // raises EPrinter when the job cannot start
    void NewPage();
    void EndDoc();
    void Abort();                     // ends the job and removes a PDF file begun
    bool Printing() const;
    bool Aborted() const { return FAborted; }
    int PageNumber() const { return FPageNumber; }
    // The job's canvas in device pixels, origin at the printable area; nullptr
    // outside a job.
    TCanvas* Canvas() const;

    // The printer's settings dialog (Qt's page setup): Mode is changed only
    // when it is accepted. Tests answer through the hook; on a headless
    // platform without one it counts as cancelled.
    bool ShowPropertiesDialog(TDeviceMode& Mode);
    static std::function<bool(TPrinter* Sender, TDeviceMode& Mode)> PropertiesDialogHook;

private:
    struct TJob;
    struct TState;
    const TPrinterDescription& Current() const;
    TDeviceMode& CurrentMode();
    const TDeviceMode& CurrentMode() const;
    QPageLayout Layout() const;
    QSizeF PaperMillimeters() const;   // as oriented

    std::unique_ptr<TState> FState;
    std::unique_ptr<TJob> FJob;
    int FIndex = -1;
    QString FTitle;
    int FCopies = 1;
    QString FOutputFileName;
    bool FAborted = false;
    int FPageNumber = 0;
};

// The program's one printer.
TPrinter* Printer();

// Test seam: while installed, printers are these fakes instead of the
// system's (an empty list means no printer at all) and Printer() is refreshed.
class TFakePrinters
{
public:
    explicit TFakePrinters(const QList<TPrinterDescription>& Printers, int DefaultIndex = 0);
    ~TFakePrinters();
    TFakePrinters(const TFakePrinters&) = delete;
    TFakePrinters& operator=(const TFakePrinters&) = delete;
};
