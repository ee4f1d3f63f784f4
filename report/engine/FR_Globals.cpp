#include "report/engine/FR_Globals.h"

#include "platform/gui/Graphics.h"
#include "platform/gui/ModalSeam.h"
#include "platform/rtl/Classes.h"
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

bool frShowBandTitles = true;
std::function<QString(const QString& Expression)> frFormattedValue;
std::function<void(TStrings* Script)> frRunScript;
std::function<Variant(const QString& Postfix)> frCalcPostfix;

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

TBitmap* TempBmp()
{
    static TBitmap Bitmap(8, 8);
    return &Bitmap;
}

const TBitmap* frBandPattern()
{
    static const TBitmap& Pattern = [] () -> const TBitmap& {
        static TBitmap B(8, 8);
        for (int Y = 0; Y < 8; ++Y)
            for (int X = 0; X < 8; ++X)
                B.Canvas()->SetPixels(X, Y, (X + Y) % 2 == 0 ? clWhite : clSilver);
        B.Canvas()->Release();
        return B;
    }();
    return &Pattern;
}

TStringList* SMemo()
{
    static TStringList List;
    return &List;
}

TfrVariables& frConstants()
{
    static TfrVariables& List = [] () -> TfrVariables& {
        static TfrVariables L;
        L.SetSorted(true);
        return L;
    }();
    return List;
}
