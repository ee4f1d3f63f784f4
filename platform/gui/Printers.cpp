#include "platform/gui/Printers.h"

#include "platform/gui/Graphics.h"
#include "platform/gui/ModalSeam.h"

#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>
#include <optional>

std::function<bool(TPrinter* Sender, TDeviceMode& Mode)> TPrinter::PropertiesDialogHook;

namespace {

// Installed by TFakePrinters; none means the system's printers.
struct TFakeList
{
    QList<TPrinterDescription> Printers;
    int DefaultIndex = 0;
};
std::optional<TFakeList>& Fakes()
{
    static std::optional<TFakeList> List;
    return List;
}

constexpr double MMPerInch = 25.4;

int MMToPixels(double MM, int Dpi)
{
    return static_cast<int>(std::lround(MM / MMPerInch * Dpi));
}

TPrinterDescription DescribeSystemPrinter(const QPrinterInfo& Info)
{
    TPrinterDescription D;
    D.Name = Info.printerName();
    D.PageSizes = Info.supportedPageSizes();
    D.DefaultPageSize = Info.defaultPageSize().isValid() ? Info.defaultPageSize() : QPageSize(QPageSize::A4);
    QPrinter Probe(Info, QPrinter::HighResolution);
    D.DpiX = D.DpiY = Probe.resolution();
    const QRectF Paper = Probe.paperRect(QPrinter::Millimeter);
    const QRectF Page = Probe.pageRect(QPrinter::Millimeter);
    D.Margins = QMarginsF(Page.left() - Paper.left(), Page.top() - Paper.top(),
                          Paper.right() - Page.right(), Paper.bottom() - Page.bottom());
    // Qt does not expose a printer's input trays.
    return D;
}

TPrinterDescription PdfWriter()
{
    TPrinterDescription D;
    for (const TPaperSizeInfo& P : StandardPaperSizes())
        if (P.Code != dmpCustom)
            D.PageSizes << PaperCodePageSize(P.Code);
    return D;
}

// Paper codes of a printer's page sizes; sizes without a classic code stay out.
QList<int> CodesOf(const TPrinterDescription& D, QStringList* Names)
{
    QList<int> Codes;
    for (const QPageSize& Size : D.PageSizes) {
        const int Code = Size.windowsId();
        if (Code <= 0 || Code >= dmpCustom || Codes.contains(Code))
            continue;
        Codes << Code;
        if (Names)
            *Names << Size.name();
    }
    return Codes;
}

TDeviceMode DefaultMode(const TPrinterDescription& D)
{
    TDeviceMode M;
    M.Fields = dmfOrientation | dmfPaperSize | dmfCopies;
    const int Code = D.DefaultPageSize.windowsId();
    if (Code > 0 && Code < dmpCustom) {
        M.PaperSize = Code;
    } else {
        const QSizeF MM = D.DefaultPageSize.size(QPageSize::Millimeter);
        M.PaperSize = dmpCustom;
        M.Fields |= dmfPaperLength | dmfPaperWidth;
        M.PaperWidth = static_cast<int>(std::lround(MM.width() * 10));
        M.PaperLength = static_cast<int>(std::lround(MM.height() * 10));
    }
    if (!D.Bins.isEmpty()) {
        M.Fields |= dmfDefaultSource;
        M.DefaultSource = D.Bins.first().Code;
    }
    return M;
}

} // namespace

// ---------------------------------------------------------------- papers

const QList<TPaperSizeInfo>& StandardPaperSizes()
{
    static const QList<TPaperSizeInfo> Table = {
        {1, 2159, 2794},   {2, 2159, 2794},   {3, 2794, 4318},   {4, 4318, 2794},
        {5, 2159, 3556},   {6, 1397, 2159},   {7, 1842, 2667},   {8, 2970, 4200},
        {9, 2100, 2970},   {10, 2100, 2970},  {11, 1480, 2100},  {12, 2500, 3540},
        {13, 1820, 2570},  {14, 2159, 3302},  {15, 2150, 2750},  {16, 2540, 3556},
        {17, 2794, 4318},  {18, 2159, 2794},  {19, 984, 2254},   {20, 1048, 2413},
        {21, 1143, 2635},  {22, 1207, 2794},  {23, 1270, 2921},  {24, 4318, 5588},
        {25, 5588, 8636},  {26, 8636, 11176}, {27, 1100, 2200},  {28, 1620, 2290},
        {29, 3240, 4580},  {30, 2290, 3240},  {31, 1140, 1620},  {32, 1140, 2290},
        {33, 2500, 3530},  {34, 1760, 2500},  {35, 1760, 1250},  {36, 1100, 2300},
        {37, 984, 1905},   {38, 920, 1651},   {39, 3778, 2794},  {40, 2159, 3048},
        {41, 2159, 3302},  {42, 2500, 3530},  {43, 1000, 1480},  {44, 2286, 2794},
        {45, 2540, 2794},  {46, 3810, 2794},  {47, 2200, 2200},  {50, 2355, 3048},
        {51, 2355, 3810},  {52, 2969, 4572},  {53, 2354, 3223},  {54, 2101, 2794},
        {55, 2100, 2970},  {56, 2355, 3048},  {57, 2270, 3560},  {58, 3050, 4870},
        {59, 2159, 3223},  {60, 2100, 3300},  {61, 1480, 2100},  {62, 1820, 2570},
        {63, 3220, 4450},  {64, 1740, 2350},  {65, 2010, 2760},  {66, 4200, 5940},
        {67, 2970, 4200},  {68, 3220, 4450},  {256, 0, 0},
    };
    return Table;
}

const TPaperSizeInfo* FindStandardPaper(int Code)
{
    for (const TPaperSizeInfo& P : StandardPaperSizes())
        if (P.Code == Code)
            return &P;
    return nullptr;
}

QSizeF PageSizeMillimeters(const QPageSize& Size)
{
    const QSizeF D = Size.definitionSize();
    switch (Size.definitionUnits()) {
    case QPageSize::Millimeter:
        return D;
    case QPageSize::Inch:
        return D * MMPerInch;
    case QPageSize::Point:
        return D * MMPerInch / 72;
    default:
        return Size.size(QPageSize::Millimeter);
    }
}

QPageSize PaperCodePageSize(int Code, int Width, int Height)
{
    const TPaperSizeInfo* Known = Code != dmpCustom ? FindStandardPaper(Code) : nullptr;
    if (Known) {
        const QPageSize::PageSizeId Id = QPageSize::id(Code);
        if (Id != QPageSize::Custom) {
            const QPageSize Qt(Id);
            const QSizeF MM = PageSizeMillimeters(Qt);
            if (std::abs(MM.width() * 10 - Known->Width) <= 1 && std::abs(MM.height() * 10 - Known->Height) <= 1)
                return Qt;
        }
        Width = Known->Width;
        Height = Known->Height;
    }
    if (Width < 1 || Height < 1)
        return QPageSize();
    return QPageSize(QSizeF(Width / 10.0, Height / 10.0), QPageSize::Millimeter, QString(),
                     QPageSize::ExactMatch);
}

// ---------------------------------------------------------------- printer

struct TPrinter::TState
{
    QList<TPrinterDescription> Printers;
    QList<TDeviceMode> Modes;
    QList<bool> System;               // the printer is the system's (not a fake)
    TPrinterDescription Pdf = PdfWriter();
    TDeviceMode PdfMode = DefaultMode(Pdf);
};

struct TPrinter::TJob
{
    std::unique_ptr<QPrinter> Device;
    std::unique_ptr<QPainter> Painter;
    std::unique_ptr<TCanvas> Canvas;
};

TPrinter::TPrinter()
    : FState(std::make_unique<TState>())
{
    Refresh();
}

TPrinter::~TPrinter()
{
    if (FJob)
        Abort();
}

void TPrinter::Refresh()
{
    if (Printing())
        throw EPrinter(QStringLiteral("The printer list cannot change while printing"));
    FState->Printers.clear();
    FState->Modes.clear();
    FState->System.clear();
    FIndex = -1;
    if (Fakes()) {
        for (const TPrinterDescription& D : Fakes()->Printers) {
            FState->Printers << D;
            FState->System << false;
        }
        if (!FState->Printers.isEmpty())
            FIndex = qBound(0, Fakes()->DefaultIndex, int(FState->Printers.size()) - 1);
    } else if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // The system's printers are asked through the GUI platform; a tool
        // without one prints to PDF only.
        const QString DefaultName = QPrinterInfo::defaultPrinterName();
        for (const QPrinterInfo& Info : QPrinterInfo::availablePrinters()) {
            if (Info.printerName() == DefaultName)
                FIndex = int(FState->Printers.size());
            FState->Printers << DescribeSystemPrinter(Info);
            FState->System << true;
        }
        if (FIndex < 0 && !FState->Printers.isEmpty())
            FIndex = 0;
    }
    for (const TPrinterDescription& D : FState->Printers)
        FState->Modes << DefaultMode(D);
}

QStringList TPrinter::Printers() const
{
    QStringList Names;
    for (const TPrinterDescription& D : FState->Printers)
        Names << D.Name;
    return Names;
}

void TPrinter::SetPrinterIndex(int Value)
{
    if (Value < -1 || Value >= FState->Printers.size())
        throw EPrinter(QStringLiteral("There is no printer %1").arg(Value));
    if (Printing())
        throw EPrinter(QStringLiteral("The printer cannot change while printing"));
    FIndex = Value;
}

const TPrinterDescription& TPrinter::Current() const
{
    return FIndex < 0 ? FState->Pdf : FState->Printers[FIndex];
}

TDeviceMode& TPrinter::CurrentMode()
{
    return FIndex < 0 ? FState->PdfMode : FState->Modes[FIndex];
}

const TDeviceMode& TPrinter::CurrentMode() const
{
    return FIndex < 0 ? FState->PdfMode : FState->Modes[FIndex];
}

QString TPrinter::DeviceName() const
{
    return Current().Name;
}

QString TPrinter::DriverName() const
{
    if (FIndex < 0 || !FState->System[FIndex])
        return QString();
    return QPrinterInfo::printerInfo(Current().Name).makeAndModel();
}

QString TPrinter::PortName() const
{
    if (FIndex < 0 || !FState->System[FIndex])
        return QString();
    return QPrinterInfo::printerInfo(Current().Name).location();
}

bool TPrinter::GetDeviceMode(TDeviceMode& Mode) const
{
    Mode = CurrentMode();
    return true;
}

void TPrinter::SetDeviceMode(const TDeviceMode& Mode)
{
    TDeviceMode& M = CurrentMode();
    const uint32_t Fields = M.Fields;
    M = Mode;
    // The record keeps the fields the printer takes; custom sizes come and go.
    M.Fields = (Fields & ~uint32_t(dmfPaperLength | dmfPaperWidth)) | (Mode.Fields & (dmfPaperLength | dmfPaperWidth));
    if (M.Copies < 1)
        M.Copies = 1;
}

QList<int> TPrinter::PaperCodes() const
{
    return CodesOf(Current(), nullptr);
}

QStringList TPrinter::PaperNames() const
{
    QStringList Names;
    CodesOf(Current(), &Names);
    return Names;
}

QList<int> TPrinter::BinCodes() const
{
    QList<int> Codes;
    for (const TPrinterBin& B : Current().Bins)
        Codes << B.Code;
    return Codes;
}

QStringList TPrinter::BinNames() const
{
    QStringList Names;
    for (const TPrinterBin& B : Current().Bins)
        Names << B.Name;
    return Names;
}

QPageLayout TPrinter::Layout() const
{
    const TDeviceMode& M = CurrentMode();
    const bool Custom = M.PaperSize == dmpCustom
                        || (M.Fields & (dmfPaperLength | dmfPaperWidth)) == (dmfPaperLength | dmfPaperWidth);
    QPageSize Size = Custom ? PaperCodePageSize(dmpCustom, M.PaperWidth, M.PaperLength)
                            : PaperCodePageSize(M.PaperSize);
    if (!Size.isValid())
        Size = Current().DefaultPageSize;
    const auto Orientation = M.Orientation == dmoLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    return QPageLayout(Size, Orientation, Current().Margins, QPageLayout::Millimeter, QMarginsF());
}

int TPrinter::DpiX() const
{
    return Current().DpiX;
}

int TPrinter::DpiY() const
{
    return Current().DpiY;
}

QSizeF TPrinter::PaperMillimeters() const
{
    const QPageLayout L = Layout();
    const QSizeF MM = PageSizeMillimeters(L.pageSize());
    return L.orientation() == QPageLayout::Landscape ? MM.transposed() : MM;
}

int TPrinter::PhysicalWidth() const
{
    return MMToPixels(PaperMillimeters().width(), DpiX());
}

int TPrinter::PhysicalHeight() const
{
    return MMToPixels(PaperMillimeters().height(), DpiY());
}

int TPrinter::PhysicalOffsetX() const
{
    return MMToPixels(Current().Margins.left(), DpiX());
}

int TPrinter::PhysicalOffsetY() const
{
    return MMToPixels(Current().Margins.top(), DpiY());
}

int TPrinter::PageWidth() const
{
    const QMarginsF& M = Current().Margins;
    return std::max(0, PhysicalWidth() - MMToPixels(M.left() + M.right(), DpiX()));
}

int TPrinter::PageHeight() const
{
    const QMarginsF& M = Current().Margins;
    return std::max(0, PhysicalHeight() - MMToPixels(M.top() + M.bottom(), DpiY()));
}

// ---------------------------------------------------------------- job

void TPrinter::BeginDoc()
{
    if (Printing())
        throw EPrinter(QStringLiteral("Printing is already in progress"));
    const bool System = FIndex >= 0 && FState->System[FIndex];
    if (!System && FOutputFileName.isEmpty())
        throw EPrinter(QStringLiteral("No output file for printer \"%1\"").arg(Current().Name));
    auto Job = std::make_unique<TJob>();
    Job->Device = System && FOutputFileName.isEmpty()
                      ? std::make_unique<QPrinter>(QPrinterInfo::printerInfo(Current().Name), QPrinter::HighResolution)
                      : std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter& P = *Job->Device;
    if (!FOutputFileName.isEmpty()) {
        P.setOutputFormat(QPrinter::PdfFormat);
        P.setOutputFileName(FOutputFileName);
        P.setResolution(DpiX());
    } else {
        P.setCopyCount(FCopies);
    }
    P.setDocName(FTitle);
    P.setFullPage(false);
    P.setPageLayout(Layout());
    Job->Painter = std::make_unique<QPainter>();
    if (!Job->Painter->begin(&P))
        throw EPrinter(QStringLiteral("Printing cannot start on \"%1\"")
                           .arg(FOutputFileName.isEmpty() ? Current().Name : FOutputFileName));
    Job->Canvas = std::make_unique<TCanvas>(Job->Painter.get());
    FJob = std::move(Job);
    FAborted = false;
    FPageNumber = 1;
}

void TPrinter::NewPage()
{
    if (!Printing())
        throw EPrinter(QStringLiteral("A new page needs a print job"));
    // A PDF file takes each sheet in the paper asked for it.
    if (!FOutputFileName.isEmpty())
        FJob->Device->setPageLayout(Layout());
    FJob->Device->newPage();
    ++FPageNumber;
}

void TPrinter::EndDoc()
{
    if (!Printing())
        return;
    FJob->Canvas.reset();
    FJob->Painter->end();
    FJob.reset();
}

void TPrinter::Abort()
{
    if (!Printing())
        return;
    FJob->Canvas.reset();
    FJob->Device->abort();
    if (FJob->Painter->isActive())
        FJob->Painter->end();
    FJob.reset();
    if (!FOutputFileName.isEmpty())
        QFile::remove(FOutputFileName);
    FAborted = true;
}

bool TPrinter::Printing() const
{
    return FJob != nullptr;
}

TCanvas* TPrinter::Canvas() const
{
    return FJob ? FJob->Canvas.get() : nullptr;
}

bool TPrinter::ShowPropertiesDialog(TDeviceMode& Mode)
{
    if (PropertiesDialogHook)
        return PropertiesDialogHook(this, Mode);
    if (Headless())
        return false;
    QPrinter Device(QPrinter::HighResolution);
    if (FIndex >= 0 && FState->System[FIndex])
        Device.setPrinterName(Current().Name);
    Device.setPageLayout(Layout());
    QPageSetupDialog Dialog(&Device);
    if (Dialog.exec() != QDialog::Accepted)
        return false;
    const QPageLayout Chosen = Device.pageLayout();
    const int Code = Chosen.pageSize().windowsId();
    if (Code > 0 && Code < dmpCustom) {
        Mode.PaperSize = Code;
        Mode.Fields &= ~uint32_t(dmfPaperLength | dmfPaperWidth);
    } else {
        const QSizeF MM = PageSizeMillimeters(Chosen.pageSize());
        Mode.PaperSize = dmpCustom;
        Mode.Fields |= dmfPaperLength | dmfPaperWidth;
        Mode.PaperWidth = static_cast<int>(std::lround(MM.width() * 10));
        Mode.PaperLength = static_cast<int>(std::lround(MM.height() * 10));
    }
    Mode.Orientation = Chosen.orientation() == QPageLayout::Landscape ? dmoLandscape : dmoPortrait;
    return true;
}

TPrinter* Printer()
{
    static TPrinter Instance;
    return &Instance;
}

// ---------------------------------------------------------------- test seam

TFakePrinters::TFakePrinters(const QList<TPrinterDescription>& Printers, int DefaultIndex)
{
    Fakes() = TFakeList{Printers, DefaultIndex};
    Printer()->Refresh();
}

TFakePrinters::~TFakePrinters()
{
    Fakes().reset();
    Printer()->Refresh();
}
