// Engine-wide state: one set for the process, shared by loading, preparing,
// drawing and designing. The report component sets it while it loads, prepares,
// shows or designs; views and pages read it. One GUI thread, so plain globals.
#pragma once

#include "platform/rtl/Variants.h"

#include <QString>
#include <cstdint>
#include <functional>

class TBitmap;
class TStringList;
class TStrings;
class TfrVariables;
class TfrReport;
class TfrPage;
class TfrView;
class TfrBand;
class TfrParser;
class TfrVariables;

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

// Script variables and "Arr_" array cells, shared by the whole engine.
extern TfrVariables frVariables;
// The parser expressions share; a preparation installs its name and function
// callbacks in it.
TfrParser& frParser();

// Messages of the engine: a message box with OK through the program's modal
// seam, where a test answers and records it.
enum class TfrMessageKind { mkError, mkWarning, mkInformation };
void frShowMessage(const QString& Text, const QString& Caption, TfrMessageKind Kind);
// "Error" caption and the error icon.
void frShowError(const QString& Text);

// Shared objects of the views, made on first use and kept until the program
// ends; the engine's start-up object takes them over.
TBitmap* TempBmp();                 // 8 x 8, blank; its canvas measures text at 96 dpi
const TBitmap* frBandPattern();     // 8 x 8 checkerboard: white where x + y is even, silver where odd
TStringList* SMemo();               // the lines a memo view has just wrapped
extern bool frShowBandTitles;       // band views draw their title tabs (designer option)
TfrVariables& frConstants();        // script constants, sorted by name

// Services of the preparation driver that views call while a report is
// prepared; each is empty until the driver installs it. The value of a
// bracketed expression as text (the view being printed is CurView):
extern std::function<QString(const QString& Expression)> frFormattedValue;
// Runs a view's compiled script:
extern std::function<void(TStrings* Script)> frRunScript;
// Evaluates a condition kept in postfix form:
extern std::function<Variant(const QString& Postfix)> frCalcPostfix;
