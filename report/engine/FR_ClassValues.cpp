// What expressions ask the report while pages are formed: the value of a
// name (the application's handler, the dictionary, the engine's special names,
// script variables, object properties, constants, and last the name as an
// expression of its own), function calls with the built-in commands, and the
// text a memo prints for a bracketed part.
#include "report/engine/FR_Class.h"

#include "report/engine/FR_Band.h"
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Funcs.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Intrp.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Pars.h"
#include "report/engine/FR_Prepare.h"
#include "report/engine/FR_ReportIntrp.h"
#include "report/engine/FR_Utils.h"
#include "report/engine/FR_Variables.h"
#include "report/engine/FR_View.h"

TDateTime ReportDate = 0;
TDateTime ReportTime = 0;
Variant CurValue;
QString CurVariable;
QStringList EvaluatingNames;
bool SuppressErrors = false;
QString frErrorText;

namespace {

// The band whose line numbers "LINE#" reads and whose break counters the
// "NEWPAGE" and "NEWCOLUMN" commands raise.
TfrBand* LineBand()
{
    TfrBand* Band = CurBand;
    if (!Band || Band->DataSet)
        return Band;
    if (Band->Typ == btMasterData || Band->Typ == btDetailData || Band->Typ == btSubDetailData) {
        while (Band->Prev && !Band->DataSet)
            Band = Band->Prev;
        return Band;
    }
    return Band->DataBand ? Band->DataBand : Band;
}

bool SpecialValue(const QString& Name, Variant& Value)
{
    if (Name == u"VALUE")
        Value = CurValue;
    else if (Name == u"PAGE#")
        Value = PageNo + 1;
    else if (Name == u"DATE")
        Value = Variant::FromDateTime(ReportDate);
    else if (Name == u"TIME")
        Value = Variant::FromDateTime(ReportTime);
    else if (Name == u"LINE#")
        Value = LineBand() ? LineBand()->LocalLine : 0;
    else if (Name == u"LINETHROUGH#")
        Value = LineBand() ? LineBand()->GlobalLine : 0;
    else if (Name == u"COLUMN#")
        Value = CurPage ? CurPage->CurColumn + 1 : 0;
    else if (Name == u"CURRENT#")
        Value = CurPage ? CurPage->RowCount : 0;
    else if (Name == u"TOTALPAGES")
        Value = TotalPages;
    else if (Name == u"CALCWIDTH") {
        if (auto* Memo = dynamic_cast<TfrMemoView*>(CurView))
            Value = Memo->CalcWidth();
        else
            Value = CurView ? CurView->Width() : 0;
    } else
        return false;
    return true;
}

bool ReportInfoValue(const TfrReport* Report, const QString& Name, Variant& Value)
{
    if (Name == u"REPORTCOMMENT")
        Value = Report->ReportComment;
    else if (Name == u"REPORTNAME")
        Value = Report->ReportName;
    else if (Name == u"REPORTAUTOR")
        Value = Report->ReportAutor;
    else if (Name == u"VMAJOR")
        Value = Report->ReportVersionMajor;
    else if (Name == u"VMINOR")
        Value = Report->ReportVersionMinor;
    else if (Name == u"VRELEASE")
        Value = Report->ReportVersionRelease;
    else if (Name == u"VBUILD")
        Value = Report->ReportVersionBuild;
    else if (Name == u"REPORTDATE")
        Value = Variant::FromDateTime(Report->ReportCreateDate);
    else if (Name == u"REPORTLASTCHANGE")
        Value = Variant::FromDateTime(Report->ReportLastChange);
    else
        return false;
    return true;
}

bool PageValue(const QString& Name, Variant& Value)
{
    if (!CurPage && Name != u"FINALPASS")
        return false;
    if (Name == u"CURY")
        Value = CurPage->CurY;
    else if (Name == u"FREESPACE")
        Value = CurPage->CurBottomY - CurPage->CurY;
    else if (Name == u"FINALPASS")
        Value = MasterReport ? MasterReport->FinalPass() : false;
    else if (Name == u"PAGEHEIGHT")
        Value = CurPage->CurBottomY;
    else if (Name == u"PAGEWIDTH")
        Value = CurPage->GetRightBound();
    else
        return false;
    return true;
}

// Keeps Name on the list of names being evaluated while it lives.
class TEvaluating
{
public:
    explicit TEvaluating(const QString& Name) { EvaluatingNames.append(Name); }
    ~TEvaluating() { EvaluatingNames.removeLast(); }
    TEvaluating(const TEvaluating&) = delete;
    TEvaluating& operator=(const TEvaluating&) = delete;
};

Variant Evaluate(const Variant& Text)
{
    return frParser().Calc(VarToStr(Text));
}

QString ArrayCell(const QString& Array, const Variant& Index)
{
    const QString Key = Index.IsString() ? Index.AsString() : QString::number(Index.AsInteger());
    return QStringLiteral("Arr_") + Array + u'_' + Key;
}

} // namespace

void TfrReport::InstallParserCallbacks()
{
    TfrParser& Parser = frParser();
    Parser.OnGetValue = [this](TfrParser*, const QString& Name, Variant& Value) { GetVariableValue(Name, Value); };
    Parser.OnFunction = [this](TfrParser*, const QString& Name, const Variant& P1, const Variant& P2,
                               const Variant& P3, Variant& Value) { DoFunction(Name, P1, P2, P3, Value); };
    frFormattedValue = [](const QString& Expression) {
        return CurReport ? CurReport->GetFormattedValue(Expression) : QString();
    };
    frRunScript = [](TStrings* Script) {
        if (Script && Script->Count() > 0)
            frInterpretator().RunScript(*Script);
    };
    frCalcPostfix = [](const QString& Postfix) { return frParser().EvaluatePostfix(Postfix); };
}

// ---------------------------------------------------------------- names

void TfrReport::GetVariableValue(const QString& Name, Variant& Value)
{
    Value = Variant();
    if (OnGetValue) {
        OnGetValue(Name, Value);
        if (!Value.IsEmpty())
            return;
    }
    Value = 0;
    if (FDictionary->IsVariable(Name)) {
        FDictionary->GetValue(Name, Value);
        return;
    }
    if (SpecialValue(Name, Value) || ReportInfoValue(this, Name, Value))
        return;
    TfrVariables& Variables = frVariables();
    if (const int Index = Variables.IndexOf(Name); Index >= 0) {
        Value = Variables.GetValue(Index);
        return;
    }
    Value = Variant();
    if (PageValue(Name, Value))
        return;
    TfrObject* Obj = nullptr;
    QString Prop;
    GetObjectAndProperty(Name, Obj, Prop);
    if (Obj && Obj->FindPropRec(Prop)) {
        Value = Obj->GetPropValue(Prop);
    } else if (const int Index = frConstants().IndexOf(Name); Index >= 0) {
        Value = frConstants().GetValue(Index);
    }
    if (!Value.IsEmpty())
        return;
    // A name may stand for an expression; one that comes back to a name
    // being evaluated is unknown.
    if (EvaluatingNames.contains(Name)) {
        if (!SuppressErrors)
            throw EParserError(LoadEngineString(55439) + QStringLiteral(" \"") + Name + u'"');
        return;
    }
    TEvaluating Guard(Name);
    Value = frParser().Calc(Name);
}

// ---------------------------------------------------------------- functions

void TfrReport::DoFunction(const QString& Name, const Variant& P1, const Variant& P2, const Variant& P3,
                           Variant& Value)
{
    if (frCallLibraryFunction(Name, P1, P2, P3, Value))
        return;
    const QString Arg1 = VarToStr(P1);
    // A script asked ahead for a source (frAskingFor) changes its variables
    // alone: no stop, page, column or band, no object's property or method.
    const bool Acts = !frAskingFor;
    if (Name == u"STOPREPORT") {
        if (CurReport && Acts)
            CurReport->SetTerminated(true);
    } else if (Name == u"NEWPAGE") {
        if (TfrBand* Band = Acts ? LineBand() : nullptr)
            ++Band->NewPagesRequested;
    } else if (Name == u"NEWCOLUMN") {
        if (TfrBand* Band = Acts ? LineBand() : nullptr)
            ++Band->NewColumnsRequested;
    } else if (Name == u"SHOWBAND") {
        if (CurPage && Acts)
            CurPage->ShowBandByName(Arg1);
    } else if (Name == u"INC" || Name == u"DEC") {
        Variant Old;
        GetVariableValue(Arg1, Old);
        frInterpretator().SetValue(Arg1, Name == u"INC" ? Old + Variant(1) : Old - Variant(1));
    } else if (Name == u"SETARRAY" || Name == u"GETARRAY") {
        const bool Set = Name == u"SETARRAY";
        if (Arg1.contains(u'.')) {
            TfrObject* Obj = nullptr;
            QString Prop;
            GetObjectAndProperty(Arg1, Obj, Prop);
            if (Obj) {
                const Variant Index = Evaluate(P2);
                if (!Set)
                    Value = Obj->CallMethod(QStringLiteral("GETINDEXPROPERTY"), Prop, Index, Variant());
                else if (Acts)
                    Obj->CallMethod(QStringLiteral("SETINDEXPROPERTY"), Prop, Index, Evaluate(P3));
            }
        } else if (Set) {
            frVariables().SetVariable(ArrayCell(Arg1, Evaluate(P2)), Evaluate(P3));
        } else {
            Value = frVariables().GetVariable(ArrayCell(Arg1, Evaluate(P2)));
        }
    } else {
        TfrObject* Obj = nullptr;
        QString Prop;
        GetObjectAndProperty(Name, Obj, Prop);
        if (Obj && Acts)
            Value = Obj->CallMethod(Prop, P1, P2, P3);
    }
    if (OnUserFunction)
        OnUserFunction(Name, P1, P2, P3, Value);
}

// ---------------------------------------------------------------- memo texts

namespace {

// The format after " #" in a memo's bracketed part.
void ParseInlineFormat(QString Text, uint32_t& Format, QString& FormatStr)
{
    if (Text.isEmpty())
        return;
    if (Text[0].isDigit())
        Text.prepend(u'N');
    const QChar Kind = Text[0].toUpper();
    if (Kind == u'N') {
        uint32_t Separator = '.';
        qsizetype SepAt = -1;
        for (qsizetype i = Text.size() - 1; i >= 1; --i)
            if (Text[i] == u',' || Text[i] == u'-' || Text[i] == u'.') {
                SepAt = i;
                break;
            }
        if (SepAt >= 0) {
            Separator = Text[SepAt].unicode() & 0xFF;
            Text[SepAt] = u'.';
        }
        if (Text.size() > 1 && Text[1].isDigit()) {
            const uint32_t Decimals = SepAt >= 0 ? static_cast<uint32_t>(Text.size() - SepAt - 1) : 0;
            Format = (1u << 24) | (1u << 16) | ((Decimals & 0xFF) << 8) | Separator;
        } else {
            Format = (1u << 24) | (4u << 16) | Separator;
            FormatStr = Text.mid(1);
        }
    } else if (Kind == u'D' || Kind == u'T') {
        Format = (2u << 24) | (4u << 16);
        FormatStr = Text.mid(1);
    } else if (Kind == u'B') {
        Format = (4u << 24) | (4u << 16);
        FormatStr = Text.mid(1);
    }
}

bool IsZeroNumber(const Variant& V)
{
    return (V.Kind() == Variant::TKind::Integer || V.Kind() == Variant::TKind::Double) && V.AsFloat() == 0;
}

} // namespace

QString TfrReport::GetFormattedValue(const QString& AName)
{
    uint32_t Format = CurView ? CurView->Format() : 0;
    QString FormatStr = CurView ? CurView->FormatStr() : QString();
    QString Name = AName;
    if (const qsizetype At = Name.indexOf(QStringLiteral(" #")); At >= 0) {
        ParseInlineFormat(Name.mid(At + 2), Format, FormatStr);
        Name = Name.left(At);
    }
    CurVariable = Name;
    CurValue = 0;
    GetVariableValue(Name, CurValue);
    if (CurView && (CurView->Flags() & flHideZeroValues) && dynamic_cast<TfrMemoView*>(CurView) &&
        IsZeroNumber(CurValue))
        CurValue = QString();
    if (SuppressErrors)
        return VarToStr(CurValue);
    return FormatValue(CurValue, Format, FormatStr);
}

QString TfrReport::FormatValue(const Variant& Value, uint32_t Format, const QString& FormatStr)
{
    if (Value.IsEmpty() || Value.IsNull() || (Value.IsString() && Value.AsString().trimmed().isEmpty()))
        return QString();
    const int Kind = (Format >> 24) & 0x0F;
    const int Style = (Format >> 16) & 0xFF;
    const int Decimals = (Format >> 8) & 0xFF;
    const char16_t Separator = Format & 0xFF;
    const TfrGlobals& G = frGlobals();
    try {
        switch (Kind) {
        case 0:
            return VarToStr(Value);
        case 1: {
            TFormatSettings Settings = FormatSettings();
            if (Separator != 0)
                Settings.DecimalSeparator = QChar(Separator);
            // A decimal comma must not also group thousands: 5000,5 is not "5,000,5".
            if (Settings.ThousandSeparator == Settings.DecimalSeparator)
                Settings.ThousandSeparator = Settings.DecimalSeparator == u',' ? u'.' : u',';
            const double Number = Value.AsFloat();
            switch (Style) {
            case 0:
                return FormatFloat(QStringLiteral("##0.") + QString(Decimals, u'#'), Number, Settings);
            case 1:
                return FloatToStrF(Number, TFloatFormat::ffFixed, 15, Decimals, Settings);
            case 2:
                return FormatFloat(QStringLiteral("#,##0.") + QString(Decimals, u'#'), Number, Settings);
            case 3:
                return FloatToStrF(Number, TFloatFormat::ffNumber, 15, Decimals, Settings);
            case 4:
                return FormatFloat(FormatStr, Number, Settings);
            default:
                return QString();
            }
        }
        case 2:
        case 3: {
            QString Picture;
            if (Style == 4)
                Picture = FormatStr;
            else if (Kind == 2 && Style == 3)
                Picture = FormatSettings().LongDateFormat;
            else if (Style < 4)
                Picture = Kind == 2 ? G.DateFormats[Style] : G.TimeFormats[Style];
            else
                return QString();
            return FormatDateTime(Picture, Value.AsDateTime());
        }
        case 4: {
            QString Texts;
            if (Style == 4)
                Texts = FormatStr;
            else if (Style < 4)
                Texts = G.BoolStr[Style];
            else
                return QString();
            const qsizetype Semi = Texts.indexOf(u';');
            const bool False = Value.AsFloat() == 0;
            return Semi < 0 ? (False ? Texts : QString()) : False ? Texts.left(Semi) : Texts.mid(Semi + 1);
        }
        default:
            return QString();
        }
    } catch (const Exception&) {
        return VarToStr(Value);
    }
}
