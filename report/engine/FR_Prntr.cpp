#include "report/engine/FR_Prntr.h"

#include "platform/gui/Printers.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Utils.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int FirstPaperNameId = 55008;
constexpr int VirtualPrinterNameId = 55007;
constexpr int DefaultBinNameId = 55435;
constexpr int MaxBins = 255;
constexpr int MaxBinNames = 64;
constexpr int PaperNameChars = 64;
constexpr int BinNameChars = 24;
constexpr int A4 = 9;

std::array<TfrPaperInfo, frPaperTableCount>& PaperTable()
{
    static std::array<TfrPaperInfo, frPaperTableCount> Table = [] {
        std::array<TfrPaperInfo, frPaperTableCount> T{};
        const QList<TPaperSizeInfo>& Sizes = StandardPaperSizes();
        for (int i = 0; i < frPaperTableCount; ++i)
            T[i] = {Sizes[i].Code, Sizes[i].Width, Sizes[i].Height, QString()};
        return T;
    }();
    return Table;
}

// A device name is read into a fixed field of that many characters, its last
// one the terminator.
QString Field(const QString& Text, int Chars)
{
    return Text.left(Chars - 1);
}

} // namespace

const TfrPaperInfo* frFindPaper(int Code)
{
    for (const TfrPaperInfo& P : PaperTable())
        if (P.Code == Code)
            return &P;
    return nullptr;
}

const TfrPaperInfo& frPaperInfo(int Index)
{
    return PaperTable().at(static_cast<size_t>(Index));
}

TfrPrinter::TfrPrinter()
{
    LoadPaperNames();
}

TfrPrinter::~TfrPrinter() = default;

void TfrPrinter::LoadPaperNames()
{
    for (int i = 0; i < frPaperTableCount; ++i)
        PaperTable()[i].Name = LoadEngineString(FirstPaperNameId + i);
    if (Printers.Count() > 0)
        Printers.SetStrings(Printers.Count() - 1, LoadEngineString(VirtualPrinterNameId));
}

bool TfrPrinter::Printing() const
{
    return FPrinter && FPrinter->Printing();
}

void TfrPrinter::AttachPrinter(TPrinter* APrinter)
{
    Printers.Clear();
    PrinterIndex = 0;
    FPrinter = APrinter;
    const QStringList Names = FPrinter ? FPrinter->Printers() : QStringList();
    for (const QString& Name : Names)
        Printers.Add(Name);
    Printers.Add(LoadEngineString(VirtualPrinterNameId));
    VirtualIndex = Printers.Count() - 1;
    // The platform's PDF writer (index -1) is our virtual printer.
    const int Platform = FPrinter ? FPrinter->PrinterIndex() : -1;
    PrinterIndex = Names.isEmpty() || Platform < 0 ? VirtualIndex : Platform;
    if (IsVirtual())
        ApplySettings();
    else
        ReadDeviceSettings();
}

void TfrPrinter::SelectPrinter(int Index)
{
    if (Index < 0 || Index > VirtualIndex)
        throw EPrinter(QStringLiteral("There is no printer %1").arg(Index));
    if (Index == PrinterIndex)
        return;
    PrinterIndex = Index;
    if (!IsVirtual() && FPrinter && !FPrinter->Printers().isEmpty()) {
        FPrinter->SetPrinterIndex(Index);
        ReadDeviceSettings();
    } else {
        ApplySettings();
    }
}

void TfrPrinter::SetPaper(int32_t ASize, int32_t AWidth, int32_t AHeight, int32_t ABin,
                          uint8_t AOrientation, bool Force)
{
    if (Printing())
        return;
    AOrientation = AOrientation != 0 ? 1 : 0;
    const TfrPaperInfo* Known = ASize != frCustomPaper ? frFindPaper(ASize) : nullptr;
    if (!Known && (AWidth < 1 || AHeight < 1)) {
        // Nothing here says how big the sheet is: A4 rather than a page of nothing.
        ASize = A4;
        AWidth = AOrientation ? 2970 : 2100;
        AHeight = AOrientation ? 2100 : 2970;
    }
    if (!Force && SameSettings(ASize, AWidth, AHeight, ABin, AOrientation))
        return;
    PaperSize = ASize;
    PaperWidth = AWidth;
    PaperHeight = AHeight;
    Bin = ABin;
    Orientation = AOrientation;
    ApplySettings();
}

bool TfrPrinter::SameSettings(int32_t ASize, int32_t AWidth, int32_t AHeight, int32_t ABin,
                              uint8_t AOrientation) const
{
    if (PaperSize == frCustomPaper && ASize == frCustomPaper)
        return std::abs(PaperWidth - AWidth) <= 1 && std::abs(PaperHeight - AHeight) <= 1
               && Orientation == AOrientation;
    return PaperSize == ASize && Orientation == AOrientation && (Bin == ABin || (ABin & 0xFFFF) == 0xFFFF);
}

void TfrPrinter::ApplySettings()
{
    if (!IsVirtual() && FPrinter) {
        TDeviceMode Mode;
        if (!FPrinter->GetDeviceMode(Mode)) {
            UseVirtualPrinter();
            return;
        }
        if (PaperSize == frCustomPaper) {
            Mode.Fields |= dmfPaperLength | dmfPaperWidth;
            Mode.PaperLength = PaperHeight;
            Mode.PaperWidth = PaperWidth;
        } else {
            Mode.Fields &= ~uint32_t(dmfPaperLength | dmfPaperWidth);
        }
        if (Mode.Fields & dmfPaperSize)
            Mode.PaperSize = PaperSize;
        if (Mode.Fields & dmfOrientation)
            Mode.Orientation = Orientation == 1 ? dmoLandscape : dmoPortrait;
        if (Mode.Fields & dmfCopies)
            Mode.Copies = 1;
        if ((Mode.Fields & dmfDefaultSource) && (Bin & 0xFFFF) < 0xFFFF)
            Mode.DefaultSource = Bin;
        FPrinter->SetDeviceMode(Mode);
        ReadDeviceSettings();
        return;
    }

    PaperNames.Clear();
    for (int i = 0; i < frPaperTableCount; ++i) {
        PaperNames.Add(PaperTable()[i].Name);
        PaperSizes[i] = static_cast<uint16_t>(PaperTable()[i].Code);
    }
    PaperCount = frPaperTableCount;
    if (const TfrPaperInfo* P = PaperSize != frCustomPaper ? frFindPaper(PaperSize) : nullptr) {
        PaperWidth = Orientation == 1 ? P->Height : P->Width;
        PaperHeight = Orientation == 1 ? P->Width : P->Height;
    }
    BinNames.Clear();
    BinNames.Add(LoadEngineString(DefaultBinNameId));
    Bins.fill(0);
    Bins[0] = 0xFFFF;
    BinCount = 1;
    if (FPrinter && !Printing()) {
        // Printing on the virtual printer writes PDF on the asked paper.
        if (FPrinter->PrinterIndex() != -1)
            FPrinter->SetPrinterIndex(-1);
        TDeviceMode Mode;
        FPrinter->GetDeviceMode(Mode);
        Mode.Fields |= dmfPaperLength | dmfPaperWidth;
        Mode.PaperSize = frCustomPaper;
        Mode.Orientation = dmoPortrait;
        Mode.PaperWidth = PaperWidth;
        Mode.PaperLength = PaperHeight;
        FPrinter->SetDeviceMode(Mode);
    }
}

void TfrPrinter::UseVirtualPrinter()
{
    PrinterIndex = VirtualIndex;
    ApplySettings();
}

void TfrPrinter::ReadDeviceSettings()
{
    if (!FPrinter || IsVirtual()) {
        UseVirtualPrinter();
        return;
    }
    try {
        Device = Field(FPrinter->DeviceName(), 128);
        Driver = Field(FPrinter->DriverName(), 128);
        Port = Field(FPrinter->PortName(), 128);
        TDeviceMode Mode;
        if (!FPrinter->GetDeviceMode(Mode))
            throw EPrinter(QStringLiteral("No settings from printer ") + Device);
        const int DpiX = FPrinter->DpiX();
        const int DpiY = FPrinter->DpiY();
        const int Width = FPrinter->PhysicalWidth();
        const int Height = FPrinter->PhysicalHeight();
        // A device answering no resolution or no paper cannot be laid out on.
        if (DpiX <= 0 || DpiY <= 0 || Width <= 0 || Height <= 0)
            throw EPrinter(QStringLiteral("No paper geometry from printer ") + Device);
        PaperSize = Mode.PaperSize;
        PaperWidth = RoundInt(double(Width) / DpiX * 254);
        PaperHeight = RoundInt(double(Height) / DpiY * 254);

        const QList<int> Codes = FPrinter->PaperCodes();
        const QStringList Names = FPrinter->PaperNames();
        PaperSizes.fill(0);
        PaperCount = std::min<int>(Codes.size(), int(PaperSizes.size()));
        PaperNames.Clear();
        for (int i = 0; i < PaperCount; ++i) {
            PaperSizes[i] = static_cast<uint16_t>(Codes[i]);
            PaperNames.Add(Field(i < Names.size() ? Names[i] : QString(), PaperNameChars));
        }

        Bin = Mode.DefaultSource;
        const QList<int> BinCodes = FPrinter->BinCodes();
        const QStringList BinTexts = FPrinter->BinNames();
        const int Count = std::min<int>(BinCodes.size(), MaxBins);
        Bins.fill(0);
        Bins[0] = 0xFFFF;
        BinNames.Clear();
        BinNames.Add(LoadEngineString(DefaultBinNameId));
        for (int i = 0; i < Count; ++i) {
            Bins[i + 1] = static_cast<uint16_t>(BinCodes[i]);
            if (i < MaxBinNames && i < BinTexts.size())
                BinNames.Add(Field(BinTexts[i], BinNameChars));
        }
        BinCount = Count + 1;
        Orientation = Mode.Orientation == dmoPortrait ? 0 : 1;
    } catch (const Exception&) {
        // Whatever the device failed at, reports still lay out on the virtual printer.
        UseVirtualPrinter();
    }
}

void TfrPrinter::GetPrintableArea(TfrPrnInfo& Info) const
{
    const double k = frPaperPixelsPerInch;
    const int DpiX = FPrinter && !IsVirtual() ? FPrinter->DpiX() : 0;
    const int DpiY = FPrinter && !IsVirtual() ? FPrinter->DpiY() : 0;
    if (DpiX > 0 && DpiY > 0) {
        const double kx = k / DpiX;
        const double ky = k / DpiY;
        Info.DevicePaperWidth = FPrinter->PhysicalWidth();
        Info.PaperWidthPx = RoundInt(Info.DevicePaperWidth * kx);
        Info.DevicePaperHeight = FPrinter->PhysicalHeight();
        Info.PaperHeightPx = RoundInt(Info.DevicePaperHeight * ky);
        Info.DeviceOffsetX = FPrinter->PhysicalOffsetX();
        Info.OffsetX = RoundInt(Info.DeviceOffsetX * kx);
        Info.DeviceOffsetY = FPrinter->PhysicalOffsetY();
        Info.OffsetY = RoundInt(Info.DeviceOffsetY * ky);
        Info.DevicePrintableWidth = FPrinter->PageWidth();
        Info.PrintableWidth = RoundInt(Info.DevicePrintableWidth * kx);
        Info.DevicePrintableHeight = FPrinter->PageHeight();
        Info.PrintableHeight = RoundInt(Info.DevicePrintableHeight * ky);
        return;
    }
    Info.PaperWidthPx = RoundInt(PaperWidth * k / 254);
    Info.PaperHeightPx = RoundInt(PaperHeight * k / 254);
    Info.OffsetX = RoundInt(50 * k / 254);
    Info.OffsetY = Info.OffsetX;
    Info.PrintableWidth = Info.PaperWidthPx - 2 * Info.OffsetX;
    Info.PrintableHeight = Info.PaperHeightPx - 2 * Info.OffsetY;
}

int TfrPrinter::GetPaperIndex(int Code) const
{
    for (int i = 0; i < PaperCount; ++i)
        if (PaperSizes[i] == Code)
            return i;
    return PaperCount - 1;
}

int TfrPrinter::GetBinIndex(int Code) const
{
    for (int i = 0; i < BinCount; ++i)
        if (Bins[i] == Code)
            return i;
    return 0;
}

void TfrPrinter::ShowPropertiesDialog()
{
    if (!FPrinter || IsVirtual())
        return;
    TDeviceMode Copy;
    if (!FPrinter->GetDeviceMode(Copy))
        return;
    if (FPrinter->ShowPropertiesDialog(Copy)) {
        FPrinter->SetDeviceMode(Copy);
        ReadDeviceSettings();
    }
}

namespace {

struct TEnginePrinter
{
    std::unique_ptr<TfrPrinter> Printer;
    int DefaultPaper = A4;
};

TEnginePrinter& EnginePrinter()
{
    static TEnginePrinter Instance = [] {
        TEnginePrinter E;
        E.Printer = std::make_unique<TfrPrinter>();
        E.Printer->AttachPrinter(Printer());
        TDeviceMode Mode;
        if (!Printer()->GetDeviceMode(Mode)) {
            E.Printer->SelectPrinter(E.Printer->VirtualIndex);
            E.Printer->PaperSize = -1;
        }
        E.DefaultPaper = E.Printer->PaperSize;
        return E;
    }();
    return Instance;
}

} // namespace

TfrPrinter* frPrinter()
{
    return EnginePrinter().Printer.get();
}

int frDefaultPaper()
{
    return EnginePrinter().DefaultPaper;
}
