// Engine-wide state of the preparation that runs: what the driver (the
// TfrReport preparation methods in FR_ClassPrepare.cpp and FR_ClassValues.cpp)
// sets for the band engine and for the names and functions of expressions,
// and what the band engine keeps between the pages of one build. One
// preparation at a time on the GUI thread, so plain globals.
#pragma once

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"

#include <QString>
#include <QStringList>

extern TDateTime ReportDate;       // "DATE": the start of PrepareReport
extern TDateTime ReportTime;       // "TIME"
extern Variant CurValue;           // "VALUE": the value a memo is printing
extern QString CurVariable;        // the name a memo is printing
// Names being evaluated as expressions, innermost last: a name met again on
// the way down is "Undefined symbol" instead of endless recursion.
extern QStringList EvaluatingNames;
// Page set-up: unknown names raise nothing and memo values stay unformatted.
extern bool SuppressErrors;
extern QString frErrorText;        // message of the error that ended a preparation

// Page continuation: the next page continues on the last prepared page
// (AppendPage, set by the driver), whether the page before ended by showing
// its page footer, and where it stopped.
extern bool AppendPage;
extern bool frPrevFooterShown;
extern int frPrevCurY;
extern int frPrevBottomY;

class TfrBand;
// The band whose walk, over a source without records, asks the scripts of the
// bands before its first record which source they name for it (FR_BandEngine);
// none otherwise. Meanwhile a script changes its variables, which are put
// back afterwards, and that band's source, and nothing else: it sets no other
// property and starts no page, column, band or stop.
extern TfrBand* frAskingFor;

// Raised by the band engine when a page has no height left for its bands;
// reported like any error of a preparation.
class EPageTooSmall : public Exception
{
    using Exception::Exception;
};

// Puts every engine-wide forming reference back to its resting value (no
// page, band or view; drawing enabled; no pending page continuation).
void frResetFormingState();
