#include "grid/DbUtilsEh.h"

#include "platform/db/DataSet.h"
#include "platform/rtl/SysUtils.h"

#include <QMetaObject>
#include <QRegularExpression>

const std::array<const char*, 16> STFilterOperatorsStrMap = {
    "", "=", "<>", ">", "<", ">=", "<=", "~", "!~", "In", "!In", "Null", "Null", "AND", "OR", ""};
const std::array<const char*, 16> STFilterOperatorsSQLStrMap = {
    "", "=", "<>", ">", "<", ">=", "<=", "LIKE", "NOT LIKE", "IN", "NOT IN", "IS NULL", "IS NOT NULL", "AND", "OR", ""};
const char* const SQLFilterMarker = "/*FILTER*/";

TSTFilterDataTypeEh STFilterDataTypeOf(TFieldType Type)
{
    switch (Type) {
    case ftString:
    case ftMemo:
    case ftFmtMemo:
    case ftFixedChar:
    case ftWideString:
        return fdtString;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftAutoInc:
    case ftLargeint:
        return fdtNumber;
    case ftDate:
    case ftTime:
    case ftDateTime:
        return fdtDateTime;
    case ftBoolean:
        return fdtBoolean;
    default:
        return fdtNone;
    }
}

void TSTFilterConditionsEh::Reset()
{
    Operator1 = Operator2 = Join = foNon;
    Operand1 = Operand2 = TSTFilterOperandEh();
}

// ---------------------------------------------------------------- scanner

namespace {

// Localised forms of NOT, AND, OR, IN and NULL; LIKE has none.
const char* const LocalNot = "Not";
const char* const LocalAnd = "AND";
const char* const LocalOr = "OR";
const char* const LocalIn = "In";
const char* const LocalNull = "Null";

enum TKeyword { kwNone, kwNot, kwAnd, kwOr, kwLike, kwIn, kwNull };

bool EndsWord(QChar C)
{
    if (C.unicode() < 32)
        return true;
    switch (C.unicode()) {
    case u' ': case u'!': case u'"': case u'&': case u'\'': case u'(': case u')': case u'+':
    case u',': case u'-': case u'.': case u'<': case u'=': case u'>': case u'|': case u'~':
        return true;
    default:
        return false;
    }
}

class TFilterScanner
{
public:
    TFilterScanner(const QString& Text, TSTFilterDataTypeEh DataType, const TFormatSettings& Settings)
        : FText(Text), FDataType(DataType), FSettings(Settings)
    {
    }

    qsizetype Pos = 0;
    // Inside an In list commas always separate items.
    bool InList = false;

    bool AtEnd() const { return Pos >= FText.size(); }
    QChar Peek() const { return AtEnd() ? QChar() : FText[Pos]; }
    void SkipSpaces()
    {
        while (!AtEnd() && FText[Pos] == u' ')
            ++Pos;
    }
    [[noreturn]] void Fail(const char* Message) const { throw Exception(QString::fromUtf8(Message) + FText); }

    // One token; a value token leaves its operand in Value.
    TSTFilterOperatorEh Next(TSTFilterOperandEh& Value) { return Scan(Value, false); }

    // Whether the value list just read is a number with decimals grouped by
    // thousand separators ("1,234.50"), which a comma-separated list would
    // split. Without decimals it is a list: "100,200" are the ids 100 and 200.
    bool ListIsGroupedNumber() const
    {
        if (FSettings.ThousandSeparator != u',')
            return false;
        const QRegularExpression Grouped(QStringLiteral("^[+-]?\\d{1,3}(,\\d{3})+%1\\d*$")
                                             .arg(QRegularExpression::escape(QString(FSettings.DecimalSeparator))));
        return Grouped.match(FText.mid(FListStart, FListEnd - FListStart).trimmed()).hasMatch();
    }

private:
    const QString& FText;
    TSTFilterDataTypeEh FDataType;
    const TFormatSettings& FSettings;
    qsizetype FListStart = 0;   // the last value list read
    qsizetype FListEnd = 0;

    bool CommasSeparate() const
    {
        return InList || !(FDataType == fdtNumber && FSettings.DecimalSeparator == u',');
    }

    // Silent scanning (looking ahead from inside a value) never raises; a
    // malformed operator there is simply not an operator.
    TSTFilterOperatorEh Scan(TSTFilterOperandEh& Value, bool Silent)
    {
        if (AtEnd())
            return foNon;
        const QChar C = FText[Pos];
        if (C == u'\'') {
            Value = ReadValueList(Silent);
            return foValue;
        }
        const QChar D = Pos + 1 < FText.size() ? FText[Pos + 1] : QChar();
        TKeyword Kw = kwNone;
        TSTFilterOperatorEh Op = foNon;
        bool Operator = true;
        qsizetype Len = 1;
        switch (C.unicode()) {
        case u'=': Op = foEqual; break;
        case u'>': Op = D == u'=' ? (Len = 2, foGreaterOrEqual) : foGreaterThan; break;
        case u'<':
            Op = D == u'=' ? (Len = 2, foLessOrEqual) : D == u'>' ? (Len = 2, foNotEqual) : foLessThan;
            break;
        case u'~': Op = foLike; break;
        case u'&': Kw = kwAnd; break;
        case u'|': Kw = kwOr; break;
        case u'!':
            if (D == u'=') {
                Len = 2;
                Op = foNotEqual;
            } else {
                Kw = kwNot;
            }
            break;
        case u'(': Op = foNon; break;
        default: {
            qsizetype End = Pos;
            while (End < FText.size() && !EndsWord(FText[End]))
                ++End;
            Kw = Keyword(FText.mid(Pos, End - Pos));
            Len = End - Pos;
            Operator = Kw != kwNone;
        }
        }
        if (!Operator) {
            Value = ReadValueList(Silent);
            return foValue;
        }
        Pos += Len;
        SkipSpaces();
        switch (Kw) {
        case kwNot: {
            TSTFilterOperandEh Ignored;
            switch (Scan(Ignored, Silent)) {
            case foLike: return foNotLike;
            case foIn: return foNotIn;
            case foNull: return foNotNull;
            default: return foNon;
            }
        }
        case kwIn:
            if (Peek() != u'(') {
                if (Silent)
                    return foNon;
                Fail("'(' expected: ");
            }
            ++Pos;
            return foIn;
        case kwAnd: return foAND;
        case kwOr: return foOR;
        case kwNull: return foNull;
        case kwLike: return foLike;
        case kwNone: return Op;
        }
        return Op;
    }

    static TKeyword Keyword(const QString& Word)
    {
        if (Word.isEmpty())
            return kwNone;
        const QString W = AnsiUpperCase(Word);
        static const struct {
            const char* Name;
            const char* Local;
            TKeyword Kw;
        } Words[] = {{"NOT", LocalNot, kwNot}, {"AND", LocalAnd, kwAnd}, {"OR", LocalOr, kwOr},
                     {"LIKE", "", kwLike},    {"IN", LocalIn, kwIn},     {"NULL", LocalNull, kwNull}};
        for (const auto& K : Words)
            if (W == QLatin1String(K.Name))
                return K.Kw;
        for (const auto& K : Words)
            if (*K.Local && W == AnsiUpperCase(QString::fromUtf8(K.Local)))
                return K.Kw;
        return kwNone;
    }

    // A space ends an unquoted value only when an operator or keyword follows.
    bool OperatorFollows(qsizetype From)
    {
        const qsizetype Saved = Pos;
        const bool SavedList = InList;
        Pos = From;
        SkipSpaces();
        TSTFilterOperandEh Ignored;
        const TSTFilterOperatorEh Op = AtEnd() || FText[Pos] == u'\'' ? foNon : Scan(Ignored, true);
        Pos = Saved;
        InList = SavedList;
        return Op >= foEqual && Op <= foOR;
    }

    Variant ReadValue(bool Silent)
    {
        if (Peek() == u'\'') {
            const qsizetype Close = FText.indexOf(u'\'', Pos + 1);
            if (Close < 0) {
                if (Silent) {
                    Pos = FText.size();
                    return QString();
                }
                Fail("Quote is absent: ");
            }
            const QString V = FText.mid(Pos + 1, Close - Pos - 1);
            Pos = Close + 1;
            return V;
        }
        const qsizetype Start = Pos;
        while (!AtEnd()) {
            const QChar C = FText[Pos];
            if (C == u'(' || C == u')' || (C == u',' && CommasSeparate()))
                break;
            if (C == u' ' && !Silent && OperatorFollows(Pos))
                break;
            ++Pos;
        }
        return FText.mid(Start, Pos - Start);
    }

    TSTFilterOperandEh ReadValueList(bool Silent)
    {
        const qsizetype Start = Pos;
        TSTFilterOperandEh Result;
        for (;;) {
            const Variant V = ReadValue(Silent);
            Result.Values.append(V);
            if (!CommasSeparate() || V.AsString().isEmpty() || Peek() != u',')
                break;
            ++Pos;
            SkipSpaces();
        }
        Result.IsArray = Result.Values.size() > 1;
        if (!Silent) {
            FListStart = Start;
            FListEnd = Pos;
        }
        return Result;
    }
};

bool IsComparison(TSTFilterOperatorEh Op)
{
    return Op >= foEqual && Op <= foNotIn;
}

// One condition starting with token Tok: a bare value, or an operator with
// its operand.
void ReadCondition(TFilterScanner& S, TSTFilterOperatorEh Tok, TSTFilterOperandEh& Value,
                   TSTFilterOperatorEh& Op, TSTFilterOperandEh& Operand, TSTFilterDataTypeEh DataType)
{
    if (Tok == foValue) {
        // "3,7" and "100,200" are lists on a number column too, but
        // "1,234.50" is a number written with thousand separators, never 1
        // and 234.5.
        if (Value.IsArray && DataType == fdtNumber && S.ListIsGroupedNumber())
            S.Fail("Error in expression: ");
        Op = Value.IsArray ? foIn : DataType == fdtString ? foLike : foEqual;
        Operand = Value;
        return;
    }
    // AND, OR and Null cannot start a condition.
    if (!IsComparison(Tok))
        S.Fail("Error in expression: ");
    Op = Tok;
    S.InList = Op == foIn || Op == foNotIn;
    S.SkipSpaces();
    TSTFilterOperandEh Next;
    const TSTFilterOperatorEh NextTok = S.Next(Next);
    if (NextTok == foNull) {
        if (Op == foEqual)
            Op = foNull;
        else if (Op == foNotEqual)
            Op = foNotNull;
        else
            S.Fail("Unexpected expression before Null: ");
    } else if (NextTok != foValue || (Next.IsArray && !S.InList)) {
        // "= 1,5" compares with one value; a list belongs to In and Not In only.
        S.Fail("Unexpected expression after operator: ");
    }
    Operand = Next;
}

} // namespace

// ---------------------------------------------------------------- parser

bool ParseFilterText(const QString& Text, TSTFilterConditionsEh& Record)
{
    return ParseFilterText(Text, Record, FormatSettings());
}

bool ParseFilterText(const QString& Text, TSTFilterConditionsEh& Record, const TFormatSettings& Settings)
{
    // A failed parse must not leave a half-filled record behind.
    TSTFilterConditionsEh R;
    R.DataType = Record.DataType;
    const QString T = Text.trimmed();
    if (T.isEmpty()) {
        Record = R;
        return false;
    }
    TFilterScanner S(T, R.DataType, Settings);
    TSTFilterOperandEh Value;
    S.SkipSpaces();
    TSTFilterOperatorEh Tok = S.Next(Value);
    if (Tok == foNon)
        S.Fail("Error in expression: ");
    ReadCondition(S, Tok, Value, R.Operator1, R.Operand1, R.DataType);
    if (S.InList) {
        S.SkipSpaces();
        if (S.Peek() != u')')
            S.Fail("')' expected: ");
        ++S.Pos;
        S.InList = false;
    }

    bool Second = false;
    S.SkipSpaces();
    if (!S.AtEnd()) {
        Tok = S.Next(Value);
        if (Tok == foNon)
            S.Fail("Incorrect expression: ");
        if (Tok != foAND && Tok != foOR)
            S.Fail("Unexpected AND or OR: ");
        R.Join = Tok;
        S.SkipSpaces();
        // A joining operator with nothing after it is as wrong as anything else.
        Tok = S.Next(Value);
        if (Tok == foNon)
            S.Fail("Incorrect expression: ");
        ReadCondition(S, Tok, Value, R.Operator2, R.Operand2, R.DataType);
        S.SkipSpaces();
        if (S.InList && S.Peek() == u')')
            ++S.Pos;
        S.InList = false;
        S.SkipSpaces();
        if (!S.AtEnd())
            S.Fail("Incorrect expression: ");
        Second = true;
    }

    for (auto [Op, Operand] : {std::pair{R.Operator1, &R.Operand1}, std::pair{R.Operator2, &R.Operand2}}) {
        if (IsComparison(Op))
            ConvertFilterOperand(*Operand, R.DataType, Settings);
        else
            *Operand = TSTFilterOperandEh();
    }
    Record = R;
    return Second;
}

void ConvertFilterOperand(TSTFilterOperandEh& Operand, TSTFilterDataTypeEh DataType)
{
    ConvertFilterOperand(Operand, DataType, FormatSettings());
}

void ConvertFilterOperand(TSTFilterOperandEh& Operand, TSTFilterDataTypeEh DataType, const TFormatSettings& Settings)
{
    if (DataType != fdtNumber && DataType != fdtDateTime)
        return;
    for (Variant& V : Operand.Values) {
        if (!V.IsString())
            continue;
        if (DataType == fdtNumber)
            V = Variant(StrToFloat(V.AsString(), Settings));
        else
            V = Variant::FromDateTime(StrToDateTime(V.AsString(), Settings));
    }
}

// ---------------------------------------------------------------- display text

namespace {

QString OperandText(const Variant& V, const TFormatSettings& Settings)
{
    switch (V.Kind()) {
    case Variant::TKind::Double: return FloatToStr(V.AsFloat(), Settings);
    case Variant::TKind::DateTime: return DateTimeToStr(V.AsDateTime(), Settings);
    default: return QLatin1Char('\'') + V.AsString() + QLatin1Char('\'');
    }
}

QString ConditionText(TSTFilterOperatorEh Op, const TSTFilterOperandEh& Operand, const TFormatSettings& Settings)
{
    const QString Form = QString::fromUtf8(STFilterOperatorsStrMap[Op]);
    if (Op == foNull)
        return QStringLiteral("=Null");
    if (Op == foNotNull)
        return QStringLiteral("<>Null");
    if (Op == foIn || Op == foNotIn) {
        QStringList Items;
        for (const Variant& V : Operand.Values)
            Items << OperandText(V, Settings);
        return Form + QStringLiteral(" (") + Items.join(u',') + u')';
    }
    return Form + u' ' + OperandText(Operand.Value(), Settings);
}

} // namespace

QString FormatFilterConditions(const TSTFilterConditionsEh& Record)
{
    return FormatFilterConditions(Record, FormatSettings());
}

QString FormatFilterConditions(const TSTFilterConditionsEh& Record, const TFormatSettings& Settings)
{
    if (Record.DataType == fdtNone || Record.Operator1 == foNon)
        return QString();
    QString Result = ConditionText(Record.Operator1, Record.Operand1, Settings);
    if (Record.Join != foNon)
        Result += u' ' + QString::fromUtf8(STFilterOperatorsStrMap[Record.Join]) + u' '
            + ConditionText(Record.Operator2, Record.Operand2, Settings);
    return Result;
}

// ---------------------------------------------------------------- handlers

void TDataSetHandlerRegistryEh::Register(const QString& DataSetClassName, std::unique_ptr<TDataSetHandlerEh> Handler)
{
    FEntries.push_back({DataSetClassName, std::move(Handler)});
}

TDataSetHandlerEh* TDataSetHandlerRegistryEh::Find(const TDataSet* DataSet) const
{
    if (!DataSet)
        return nullptr;
    TDataSetHandlerEh* Best = nullptr;
    int BestDistance = 0;
    for (const TEntry& E : FEntries) {
        const QString Name = E.ClassName.toUpper();
        int Distance = 0;
        for (const QMetaObject* M = DataSet->metaObject(); M; M = M->superClass(), ++Distance) {
            if (QString::fromLatin1(M->className()).toUpper() == Name) {
                if (!Best || Distance < BestDistance) {
                    Best = E.Handler.get();
                    BestDistance = Distance;
                }
                break;
            }
        }
    }
    return Best;
}

TDataSetHandlerRegistryEh& DataSetHandlerRegistry()
{
    static TDataSetHandlerRegistryEh Registry;
    return Registry;
}

TDataSetHandlerEh* FindDataSetHandler(const TDataSet* DataSet)
{
    return DataSetHandlerRegistry().Find(DataSet);
}

bool InsertedAtEnd(const TDataSet* DataSet)
{
    return DataSet->Eof() || DataSet->CurrentIndex() >= DataSet->VisibleCount() - 1;
}
