#include "report/engine/FR_Globals.h"

#include "platform/gui/ModalSeam.h"
#include "report/engine/FR_Pars.h"
#include "report/engine/FR_Utils.h"
#include "report/engine/FR_Variables.h"

TfrReport* CurReport = nullptr;
TfrReport* MasterReport = nullptr;
TfrPage* CurPage = nullptr;
TfrBand* CurBand = nullptr;
TfrView* CurView = nullptr;
int DocMode = dmDesigning;
bool DisableDrawing = false;
int PageNo = 0;
int TotalPages = 0;
uint8_t FormVersion = frCurrentVersion;

TfrVariables frVariables;

TfrParser& frParser()
{
    static TfrParser Parser;
    return Parser;
}

QString frMissingClasses;
bool frErrorFlag = false;

void frShowMessage(const QString& Text, const QString& Caption, TfrMessageKind Kind)
{
    TMessageRequest Request;
    Request.Caption = Caption;
    Request.Text = Text;
    Request.Icon = Kind == TfrMessageKind::mkError     ? miError
                   : Kind == TfrMessageKind::mkWarning ? miWarning
                                                       : miInformation;
    TModalSeam::Ask(Request);
}

void frShowError(const QString& Text)
{
    frShowMessage(Text, LoadEngineString(55206), TfrMessageKind::mkError);
}
