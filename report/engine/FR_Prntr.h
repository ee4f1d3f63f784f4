// TfrPrinter: the engine's one printer object. It wraps the platform printer,
// lists its printers plus the virtual printer (always last), which lets reports
// be designed, prepared and printed to PDF without any installed printer, and
// answers the paper questions of pages and prepared pages: the papers and bins
// of the current printer, the size of a paper code and the printable area in
// layout pixels. Sizes are in tenths of a millimetre.
#pragma once

#include "platform/rtl/Classes.h"

#include <QString>
#include <array>
#include <cstdint>

class TPrinter;
struct TfrPrnInfo;

// Layout pixels per inch of paper geometry.
constexpr double frPaperPixelsPerInch = 91.6256157635468;
constexpr int frPaperTableCount = 67;

// The engine's paper table: codes and sizes of the classic paper constants,
// named by engine strings 55008.. in table order; the last row is "Custom".
struct TfrPaperInfo
{
    int Code;
    int Width;
    int Height;
    QString Name;
};
const TfrPaperInfo& frPaperInfo(int Index);
// The table's row of a paper code, or null.
const TfrPaperInfo* frFindPaper(int Code);

class TfrPrinter
{
public:
    TfrPrinter();
    ~TfrPrinter();
    TfrPrinter(const TfrPrinter&) = delete;
    TfrPrinter& operator=(const TfrPrinter&) = delete;

    TPrinter* Printer() const { return FPrinter; }
    bool IsVirtual() const { return PrinterIndex == VirtualIndex; }

    // Table names in the engine's current language; renames the virtual entry.
    void LoadPaperNames();
    // Takes the platform printer (not owned) and reads its printers.
    void AttachPrinter(TPrinter* APrinter);
    // Raises EPrinter for an index outside Printers.
    void SelectPrinter(int Index);
    // Ignored while printing; unless Force, ignored when SameSettings holds.
    // A paper with no size (below 1 either way, such as "Custom" 0 x 0) becomes
    // A4 in the asked orientation.
    void SetPaper(int32_t ASize, int32_t AWidth, int32_t AHeight, int32_t ABin, uint8_t AOrientation,
                  bool Force);
    bool SameSettings(int32_t ASize, int32_t AWidth, int32_t AHeight, int32_t ABin, uint8_t AOrientation) const;
    void ApplySettings();
    void ReadDeviceSettings();
    void Refresh() { ReadDeviceSettings(); }
    void GetPrintableArea(TfrPrnInfo& Info) const;
    // The last paper when absent; the bin index 0 ("Default") when absent.
    int GetPaperIndex(int Code) const;
    int GetBinIndex(int Code) const;
    // The printer's settings dialog; cancelling changes nothing. The virtual
    // printer has none.
    void ShowPropertiesDialog();

    // Current printer's names.
    QString Device, Driver, Port;
    TStringList PaperNames;
    TStringList BinNames;
    TStringList Printers;
    int PrinterIndex = 0;
    int VirtualIndex = 0;
    uint8_t Orientation = 0;          // 0 portrait, 1 landscape
    int32_t PaperSize = 9;
    int32_t PaperWidth = 0;           // as oriented
    int32_t PaperHeight = 0;
    int32_t Bin = 0;
    std::array<uint16_t, 256> PaperSizes{};
    int PaperCount = 0;
    std::array<uint16_t, 256> Bins{};
    int BinCount = 0;

private:
    void UseVirtualPrinter();
    bool Printing() const;

    TPrinter* FPrinter = nullptr;
};

// The engine printer, made and attached to the platform printer on first use.
TfrPrinter* frPrinter();
// The paper code new pages get: the engine printer's paper at its start-up.
int frDefaultPaper();
