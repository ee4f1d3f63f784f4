#include "report/engine/FR_Globals.h"

#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/ModalSeam.h"
#include "platform/rtl/Classes.h"
#include "report/engine/FR_Aggr.h"
#include "report/engine/FR_Funcs.h"
#include "report/engine/FR_Locale.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Pars.h"
#include "report/engine/FR_Progress.h"
#include "report/engine/FR_ReportIntrp.h"
#include "report/engine/FR_StdFuncs.h"
#include "report/engine/FR_Utils.h"
#include "report/engine/FR_Variables.h"

#include <QApplication>

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

bool frShowBandTitles = true;
std::function<QString(const QString& Expression)> frFormattedValue;
std::function<void(TStrings* Script)> frRunScript;
std::function<Variant(const QString& Postfix)> frCalcPostfix;

bool frRegisteringAggregates = false;
TfrBand* frAggregateBand = nullptr;

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

// ---------------------------------------------------------------- engine globals

namespace {

TfrGlobals* Globals = nullptr;

// Script constants that are not colours.
struct TConstant
{
    const char* Name;
    int Value;
};

const TConstant Colors[] = {
    {"clWhite", 0xFFFFFF}, {"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000},
    {"clOlive", 0x008080}, {"clNavy", 0x800000},  {"clPurple", 0x800080}, {"clTeal", 0x808000},
    {"clGray", 0x808080},  {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF},  {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF}, {"clBlue", 0xFF0000}, {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},
    {"clTransparent", 0x1FFFFFFF},
};

// Value 0xFF000000 + position.
const char* const SystemColors[] = {
    "clScrollBar", "clBackground", "clActiveCaption", "clInactiveCaption", "clMenu", "clWindow",
    "clWindowFrame", "clMenuText", "clWindowText", "clCaptionText", "clActiveBorder",
    "clInactiveBorder", "clAppWorkSpace", "clHighlight", "clHighlightText", "clBtnFace",
    "clBtnShadow", "clGrayText", "clBtnText", "clInactiveCaptionText", "clBtnHighlight",
    "cl3DDkShadow", "cl3DLight", "clInfoText", "clInfoBk",
};

const TConstant Others[] = {
    {"mrNone", 0}, {"mrOk", 1}, {"mrCancel", 2}, {"mrYes", 6}, {"mrNo", 7},
    // Font style bits as memo views store them: bold is 2, italic 1.
    {"fsBold", 2}, {"fsItalic", 1}, {"fsUnderline", 4}, {"fsStrikeOut", 8},
    {"frftNone", 0}, {"frftRight", 1}, {"frftBottom", 2}, {"frftLeft", 4}, {"frftTop", 8},
    {"frtaLeft", 0}, {"frtaRight", 1}, {"frtaCenter", 2}, {"frtaVertical", 4}, {"frtaMiddle", 8},
    {"frtaDown", 16},
    {"baNone", 0}, {"baLeft", 1}, {"baRight", 2}, {"baCenter", 3}, {"baWidth", 4},
    {"baBottom", 5}, {"baTop", 6}, {"baRest", 7},
    {"psSolid", 0}, {"psDash", 1}, {"psDot", 2}, {"psDashDot", 3}, {"psDashDotDot", 4},
    {"psDouble", 5},
    {"mb_Ok", 0}, {"mb_OkCancel", 1}, {"mb_YesNo", 4}, {"mb_YesNoCancel", 3},
    {"mb_IconError", 16}, {"mb_IconQuestion", 32}, {"mb_IconInformation", 64},
    {"mb_IconWarning", 48},
};

} // namespace

TfrGlobals::TfrGlobals()
{
    LoadNames();
    SMemo = std::make_unique<TStringList>();
    BandPattern = std::make_unique<TBitmap>(8, 8);
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X)
            BandPattern->Canvas()->SetPixels(X, Y, (X + Y) % 2 == 0 ? clWhite : clSilver);
    BandPattern->Canvas()->Release();
    TempBmp = std::make_unique<TBitmap>(8, 8);
    ProgressForm = std::make_unique<TfrProgressForm>();
    // A dialog page hides the progress window while it shows.
    frShowProgress = [](bool Show) {
        TfrProgressForm* Form = Globals ? Globals->ProgressForm.get() : nullptr;
        if (!Form)
            return false;
        const bool Was = Form->isVisible();
        Form->setVisible(Show);
        return Was;
    };
    InstalledFunctions = std::make_unique<TfrInstalledFunctions>();
    frSetInstalledFunctions(InstalledFunctions.get());
    frRegisterFunctionLibrary(frLibraryClass<TfrStdFunctionLibrary>());
    frRegisterFunctionLibrary(frLibraryClass<TDatabaseFunctionLibrary>());
    Parser = std::make_unique<TfrParser>();
    Interpretator = std::make_unique<TInterpretator>();
    frInterpreter = Interpretator.get();
    frPrepareAggregates = frRegisterAggregates;
    Variables = std::make_unique<TfrVariables>();
    Variables->SetSorted(true);
    Consts = std::make_unique<TfrVariables>();
    Consts->SetSorted(true);
    FillConstants();
    Compressor = std::make_unique<TfrCompressor>();
    frSetCompressor(Compressor.get());
    DialogForm = std::make_unique<TForm>();
    DialogForm->setObjectName(QStringLiteral("DialogForm"));
    DialogForm->SetBounds(-100, -100, 10, 10);
}

TfrGlobals::~TfrGlobals()
{
    frFreeLocale();
    BandPattern.reset();
    TempBmp.reset();
    SMemo.reset();
    frShowProgress = nullptr;
    ProgressForm.reset();
    DialogForm.reset();
    frUnRegisterFunctionLibrary(frLibraryClass<TfrStdFunctionLibrary>());
    frUnRegisterFunctionLibrary(frLibraryClass<TDatabaseFunctionLibrary>());
    Parser.reset();
    frPrepareAggregates = nullptr;
    frInterpreter = nullptr;
    Interpretator.reset();
    Variables.reset();
    Consts.reset();
    frSetCompressor(nullptr);
    Compressor.reset();
    frSetInstalledFunctions(nullptr);
    InstalledFunctions.reset();
}

void TfrGlobals::LoadNames()
{
    DefaultCharset = ::DefaultCharset();
    for (int i = 0; i < 23; ++i)
        BandNames[i] = LoadEngineString(55077 + i);
    for (int i = 0; i < 4; ++i) {
        BoolStr[i] = LoadEngineString(55170 + i);
        DateFormats[i] = LoadEngineString(55175 + i);
        TimeFormats[i] = LoadEngineString(55179 + i);
    }
}

void TfrGlobals::FillConstants()
{
    for (const TConstant& C : Colors)
        Consts->SetVariable(QString::fromLatin1(C.Name), C.Value);
    for (size_t i = 0; i < std::size(SystemColors); ++i)
        Consts->SetVariable(QString::fromLatin1(SystemColors[i]),
                            static_cast<int>(0xFF000000u + static_cast<unsigned>(i)));
    for (const TConstant& C : Others)
        Consts->SetVariable(QString::fromLatin1(C.Name), C.Value);
    Consts->SetVariable(QStringLiteral("CRLF"), QStringLiteral("\r\n"));
    Consts->SetVariable(QStringLiteral("Null"), Variant::Null());
}

TfrGlobals& frGlobals()
{
    if (!Globals) {
        Globals = new TfrGlobals;
        // Widgets must go before the application object takes the window
        // system down; its destructor runs the post routines first.
        qAddPostRoutine(frFreeGlobals);
    }
    return *Globals;
}

void frFreeGlobals()
{
    if (!Globals)
        return;
    qRemovePostRoutine(frFreeGlobals);
    TfrGlobals* Old = Globals;
    Globals = nullptr;
    delete Old;
}

TfrVariables& frVariables()
{
    return *frGlobals().Variables;
}

TfrParser& frParser()
{
    return *frGlobals().Parser;
}

TInterpretator& frInterpretator()
{
    return *frGlobals().Interpretator;
}

TBitmap* TempBmp()
{
    return frGlobals().TempBmp.get();
}

const TBitmap* frBandPattern()
{
    return frGlobals().BandPattern.get();
}

TStringList* SMemo()
{
    return frGlobals().SMemo.get();
}

TfrVariables& frConstants()
{
    return *frGlobals().Consts;
}

TfrProgressForm* frProgressForm()
{
    return frGlobals().ProgressForm.get();
}

TForm* frDialogForm()
{
    return frGlobals().DialogForm.get();
}
