#include "report/engine/FR_StdFuncs.h"

#include "platform/gui/Application.h"
#include "platform/gui/InputBox.h"
#include "platform/gui/Mask.h"
#include "platform/rtl/SysUtils.h"
#include "report/engine/FR_Aggr.h"
#include "report/engine/FR_DBFields.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Pars.h"
#include "report/engine/FR_Utils.h"

namespace {

// Name, category string id, description string id, in the order the
// descriptions are registered.
struct TDescription
{
    const char* Name;
    int Category;
    int Text;
};

constexpr int cAggregate = 55349, cDateTime = 55350, cString = 55351, cOther = 55352,
              cMath = 55353, cBoolean = 55354, cInterpreter = 55355, cReportInfo = 55622;

const TDescription StdDescriptions[] = {
    {"AVG", cAggregate, 55360},          {"COUNT", cAggregate, 55361},
    {"DAYOF", cDateTime, 55362},         {"FORMATDATETIME", cString, 55363},
    {"FORMATFLOAT", cString, 55364},     {"FORMATTEXT", cString, 55416},
    {"INPUT", cOther, 55365},            {"LENGTH", cString, 55366},
    {"LOWERCASE", cString, 55367},       {"MAX", cAggregate, 55368},
    {"MIN", cAggregate, 55369},          {"MONTHOF", cDateTime, 55370},
    {"NAMECASE", cString, 55371},        {"STRTODATE", cDateTime, 55372},
    {"STRTOTIME", cDateTime, 55373},     {"SUM", cAggregate, 55374},
    {"TRIM", cString, 55375},            {"UPPERCASE", cString, 55376},
    {"YEAROF", cDateTime, 55377},        {"MAXNUM", cMath, 55412},
    {"MINNUM", cMath, 55413},            {"POS", cString, 55414},
    {"MESSAGEBOX", cOther, 55415},       {"IF", cOther, 55378},
    {"COPY", cString, 55379},            {"MOD", cMath, 55380},
    {"STR", cString, 55381},             {"NOT", cBoolean, 55382},
    {"AND", cBoolean, 55383},            {"OR", cBoolean, 55384},
    {"ROUND", cMath, 55385},             {"FRAC", cMath, 55386},
    {"INT", cMath, 55387},               {"TRUE", cBoolean, 55388},
    {"FALSE", cBoolean, 55389},          {"PAGE#", cOther, 55390},
    {"DATE", cDateTime, 55391},          {"TIME", cDateTime, 55392},
    {"LINE#", cOther, 55393},            {"LINETHROUGH#", cOther, 55394},
    {"COLUMN#", cOther, 55395},          {"TOTALPAGES", cOther, 55396},
    {"REPORTCOMMENT", cReportInfo, 55623}, {"REPORTNAME", cReportInfo, 55624},
    {"REPORTAUTOR", cReportInfo, 55625}, {"VMAJOR", cReportInfo, 55626},
    {"VMINOR", cReportInfo, 55627},      {"VRELEASE", cReportInfo, 55628},
    {"VBUILD", cReportInfo, 55629},      {"REPORTDATE", cReportInfo, 55630},
    {"REPORTLASTCHANGE", cReportInfo, 55631},
    {"MROK", cInterpreter, 55397},       {"MRCANCEL", cInterpreter, 55398},
    {"CURY", cInterpreter, 55399},       {"FREESPACE", cInterpreter, 55400},
    {"FINALPASS", cInterpreter, 55401},  {"PAGEHEIGHT", cInterpreter, 55402},
    {"PAGEWIDTH", cInterpreter, 55403},  {"PROGRESS", cInterpreter, 55404},
    {"MODALRESULT", cInterpreter, 55405}, {"STOPREPORT", cInterpreter, 55406},
    {"NEWPAGE", cInterpreter, 55407},    {"NEWCOLUMN", cInterpreter, 55408},
    {"SHOWBAND", cInterpreter, 55409},   {"INC", cInterpreter, 55410},
    {"DEC", cInterpreter, 55411},
};

const char* const StdNames[] = {
    "AVG", "COUNT", "DAYOF", "FORMATDATETIME", "FORMATFLOAT", "FORMATTEXT", "INPUT",
    "LENGTH", "LOWERCASE", "MAX", "MAXNUM", "MESSAGEBOX", "MIN", "MINNUM", "MONTHOF",
    "NAMECASE", "POS", "SUM", "TRIM", "UPPERCASE", "YEAROF",
};

Variant Calc(const Variant& Argument)
{
    return frParser().Calc(VarToStr(Argument));
}

QString Text(const Variant& Argument)
{
    return VarToStr(Calc(Argument));
}

// The day, month or year of a date-time, as its formatted text read back.
Variant DatePart(const QString& Format, const Variant& Argument)
{
    return Variant(StrToInt(FormatDateTime(Format, Calc(Argument).AsDateTime())));
}

} // namespace

TfrStdFunctionLibrary::TfrStdFunctionLibrary()
{
    for (const char* Name : StdNames)
        List()->Add(QString::fromLatin1(Name));
    for (const TDescription& D : StdDescriptions)
        AddFunctionDesc(QString::fromLatin1(D.Name), LoadEngineString(D.Category),
                        LoadEngineString(D.Text));
}

void TfrStdFunctionLibrary::DoFunction(int FNo, const Variant& P1, const Variant& P2,
                                       const Variant& P3, Variant& Value)
{
    Value = Variant(QStringLiteral("0"));
    switch (FNo) {
    case fnAvg:
    case fnCount:
    case fnMax:
    case fnMin:
    case fnSum:
        frAggregateFunction(List()->Strings(FNo), P1, P2, P3, Value);
        break;
    case fnDayOf:
        Value = DatePart(QStringLiteral("d"), P1);
        break;
    case fnMonthOf:
        Value = DatePart(QStringLiteral("m"), P1);
        break;
    case fnYearOf:
        Value = DatePart(QStringLiteral("yyyy"), P1);
        break;
    case fnFormatDateTime:
        Value = Variant(FormatDateTime(Text(P1), Calc(P2).AsDateTime()));
        break;
    case fnFormatFloat:
        Value = Variant(FormatFloat(Text(P1), Calc(P2).AsFloat()));
        break;
    case fnFormatText:
        Value = Variant(FormatMaskText(Text(P1) + QStringLiteral(";0; "), Text(P2)));
        break;
    case fnInput:
        Value = Variant(InputBox(QString(), Text(P1), Text(P2)));
        break;
    case fnLength:
        Value = Variant(static_cast<int>(Text(P1).size()));
        break;
    case fnLowerCase:
        Value = Variant(AnsiLowerCase(Text(P1)));
        break;
    case fnUpperCase:
        Value = Variant(AnsiUpperCase(Text(P1)));
        break;
    case fnNameCase: {
        QString S = AnsiLowerCase(Text(P1));
        if (!S.isEmpty())
            S = AnsiUpperCase(S.left(1)) + S.mid(1);
        Value = Variant(S);
        break;
    }
    case fnTrim:
        Value = Variant(Trim(Text(P1)));
        break;
    case fnPos: {
        const QString Sub = Text(P1);
        // An empty text is found nowhere, as in the classic call.
        Value = Variant(Sub.isEmpty() ? 0 : static_cast<int>(Text(P2).indexOf(Sub)) + 1);
        break;
    }
    case fnMaxNum: {
        const Variant A = Calc(P1);
        const Variant B = Calc(P2);
        Value = VarGreater(A, B) ? A : B;
        break;
    }
    case fnMinNum: {
        const Variant A = Calc(P1);
        const Variant B = Calc(P2);
        Value = VarLess(A, B) ? A : B;
        break;
    }
    case fnMessageBox: {
        const QString Message = Text(P1);
        const QString Title = Text(P2);
        const int Flags = static_cast<int>(Calc(P3).AsInteger());
        Value = Variant(Application()->MessageBox(Message, Title, static_cast<unsigned>(Flags)));
        break;
    }
    default:
        break;
    }
}

TDatabaseFunctionLibrary::TDatabaseFunctionLibrary()
{
    List()->Add(QStringLiteral("FIELDISNULL"));
    AddFunctionDesc(QStringLiteral("FIELDISNULL"), LoadEngineString(55620), LoadEngineString(55621));
}

void TDatabaseFunctionLibrary::DoFunction(int FNo, const Variant& P1, const Variant&, const Variant&,
                                          Variant& Value)
{
    Value = Variant(0);
    if (FNo == 0)
        Value = Variant(FieldIsNull(Text(P1)));
}
