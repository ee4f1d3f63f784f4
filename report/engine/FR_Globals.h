// Engine-wide state: one set for the process, shared by loading, preparing,
// drawing and designing. The report component sets it while it loads, prepares,
// shows or designs; views and pages read it. One GUI thread, so plain globals.
#pragma once

#include "platform/rtl/Variants.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class TBitmap;
class TStringList;
class TStrings;
class TfrVariables;
class TfrReport;
class TfrPage;
class TfrView;
class TfrBand;
class TfrParser;
class TForm;
class TInterpretator;
class TfrCompressor;
class TfrInstalledFunctions;
class TfrProgressForm;

// DocMode values.
constexpr int dmDesigning = 0;
constexpr int dmPrinting = 1;

// The version every writer writes and the range the readers accept.
constexpr uint8_t frCurrentVersion = 25;
constexpr uint8_t frOldestVersion = 21;

extern TfrReport* CurReport;     // report being loaded, prepared, shown or designed
extern TfrReport* MasterReport;  // report whose preparation runs
extern TfrPage* CurPage;         // page being formed or edited
extern TfrBand* CurBand;         // band being printed; none while designing
extern TfrView* CurView;         // view being drawn
extern int DocMode;              // dmDesigning or dmPrinting
extern bool DisableDrawing;      // first pass of a two-pass report
extern int PageNo;               // index of the prepared page being formed
extern int TotalPages;
extern uint8_t FormVersion;      // version of the form being read; 25 when written

// Cleared at the start of each load; a missing add-in class sets the flag and
// appends its name and a carriage return to the list.
extern QString frMissingClasses;
extern bool frErrorFlag;

// The shared objects below belong to the engine's globals (TfrGlobals), made
// on first use once the application object exists and freed as it goes.

// Script variables and "Arr_" array cells, sorted by name; they keep their
// values between reports until the program ends.
TfrVariables& frVariables();
// The parser expressions share; a preparation installs its name and function
// callbacks in it.
TfrParser& frParser();
// The report's script interpreter.
TInterpretator& frInterpretator();

// Messages of the engine: a message box with OK through the program's modal
// seam, where a test answers and records it.
enum class TfrMessageKind { mkError, mkWarning, mkInformation };
void frShowMessage(const QString& Text, const QString& Caption, TfrMessageKind Kind);
// "Error" caption and the error icon.
void frShowError(const QString& Text);

// Shared objects of the views.
TBitmap* TempBmp();                 // 8 x 8, blank; its canvas measures text at 96 dpi
const TBitmap* frBandPattern();     // 8 x 8 checkerboard: white where x + y is even, silver where odd
TStringList* SMemo();               // the lines a memo view has just wrapped
extern bool frShowBandTitles;       // band views draw their title tabs (designer option)
TfrVariables& frConstants();        // script constants, sorted by name
// Hidden form whose components' names count as taken for new control views.
TForm* frDialogForm();

// The registration pass of the aggregate functions: set by the band engine
// while a page's footers are prepared, with the data band whose accumulators
// they register.
extern bool frRegisteringAggregates;
extern TfrBand* frAggregateBand;

// The engine's start-up object: makes the shared objects in this order and
// frees them in the classic order. One instance, frGlobals().
class TfrGlobals
{
public:
    TfrGlobals();
    ~TfrGlobals();
    TfrGlobals(const TfrGlobals&) = delete;
    TfrGlobals& operator=(const TfrGlobals&) = delete;

    // The engine's tables: default charset of new views (string 55337), the 23
    // band-type names, Boolean display formats, date and time formats.
    void LoadNames();
    int DefaultCharset = 1;
    QString BandNames[23];
    QString BoolStr[4];
    QString DateFormats[4];
    QString TimeFormats[4];

    std::unique_ptr<TStringList> SMemo;
    std::unique_ptr<TBitmap> BandPattern;
    std::unique_ptr<TBitmap> TempBmp;
    std::unique_ptr<TfrProgressForm> ProgressForm;
    std::unique_ptr<TfrInstalledFunctions> InstalledFunctions;
    std::unique_ptr<TfrParser> Parser;
    std::unique_ptr<TInterpretator> Interpretator;
    std::unique_ptr<TfrVariables> Variables;
    std::unique_ptr<TfrVariables> Consts;
    std::unique_ptr<TfrCompressor> Compressor;
    std::unique_ptr<TForm> DialogForm;

private:
    void FillConstants();
};

// Made on first use; a QApplication must exist. Freed when the application
// object is destroyed (or by frFreeGlobals), before its widgets go.
TfrGlobals& frGlobals();
void frFreeGlobals();

// Services of the preparation driver that views call while a report is
// prepared; each is empty until the driver installs it. The value of a
// bracketed expression as text (the view being printed is CurView):
extern std::function<QString(const QString& Expression)> frFormattedValue;
// Runs a view's compiled script:
extern std::function<void(TStrings* Script)> frRunScript;
// Evaluates a condition kept in postfix form:
extern std::function<Variant(const QString& Postfix)> frCalcPostfix;
