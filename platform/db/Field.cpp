// TField: conversions between the stored cell and the classic value accessors.
#include "platform/db/Field.h"

#include "platform/db/DataSet.h"
#include "platform/db/RowStore_p.h"
#include "platform/rtl/SysUtils.h"

#include <limits>

bool IsStringFieldType(TFieldType T)
{
    return T == ftString || T == ftFixedChar || T == ftWideString || T == ftMemo || T == ftFmtMemo;
}

bool IsNumericFieldType(TFieldType T)
{
    switch (T) {
    case ftSmallint: case ftInteger: case ftWord: case ftFloat: case ftCurrency:
    case ftBCD: case ftAutoInc: case ftLargeint:
        return true;
    default:
        return false;
    }
}

static bool IsIntegerFieldType(TFieldType T)
{
    return T == ftSmallint || T == ftInteger || T == ftWord || T == ftAutoInc || T == ftLargeint;
}

// What an integer field can hold: a stored value it could not give back
// through AsInteger would make the record unreadable.
static bool FitsIntegerField(TFieldType T, int64_t Value)
{
    switch (T) {
    case ftSmallint: return Value >= INT16_MIN && Value <= INT16_MAX;
    case ftWord: return Value >= 0 && Value <= UINT16_MAX;
    case ftInteger: case ftAutoInc: return Value >= INT32_MIN && Value <= INT32_MAX;
    default: return true;
    }
}

bool IsBlobFieldType(TFieldType T)
{
    return T >= ftBlob && T <= ftTypedBinary;
}

bool IsDateTimeFieldType(TFieldType T)
{
    return T == ftDate || T == ftTime || T == ftDateTime;
}

QString FieldTypeName(TFieldType T)
{
    static const char* Names[] = {"Unknown", "String", "Smallint", "Integer", "Word", "Boolean", "Float",
                                  "Currency", "BCD", "Date", "Time", "DateTime", "Bytes", "VarBytes",
                                  "AutoInc", "Blob", "Memo", "Graphic", "FmtMemo", "ParadoxOle",
                                  "DBaseOle", "TypedBinary", "Cursor", "FixedChar", "WideString",
                                  "Largeint"};
    const int I = int(T);
    return I >= 0 && I <= int(ftLargeint) ? QString::fromLatin1(Names[I]) : QStringLiteral("Unknown");
}

TField::TField(QObject* AOwner) : QObject(AOwner)
{
}

TField::~TField()
{
    if (FDataSet)
        FDataSet->RemoveField(this);
}

void TField::SetDataSet(TDataSet* Value)
{
    if (Value == FDataSet)
        return;
    if (Value)
        Value->AddField(this);
    if (FDataSet)
        FDataSet->RemoveField(this);
    FDataSet = Value;
}

void TField::PropertyChanged(bool Layout)
{
    if (FDataSet && FDataSet->Active())
        FDataSet->DataEvent(Layout ? deLayoutChange : deDataSetChange);
}

void TField::SetDisplayLabel(const QString& Value)
{
    if (Value == FDisplayLabel)
        return;
    FDisplayLabel = Value;
    PropertyChanged(true);
}

int TField::DisplayWidth() const
{
    if (FDisplayWidth > 0)
        return FDisplayWidth;
    switch (FDataType) {
    case ftString: case ftFixedChar: case ftWideString:
        return FSize > 0 ? FSize : 20;
    case ftBoolean:
        return 5;
    case ftDate: case ftTime:
        return 10;
    case ftDateTime:
        return 18;
    case ftLargeint:
        return 15;
    case ftMemo: case ftFmtMemo: case ftBlob: case ftGraphic:
        return 10;
    default:
        return 10;
    }
}

void TField::SetDisplayWidth(int Value)
{
    if (Value == FDisplayWidth)
        return;
    FDisplayWidth = Value;
    PropertyChanged(true);
}

int TField::Index() const
{
    return FDataSet ? FDataSet->FieldIndexOf(this) : -1;
}

void TField::SetIndex(int Value)
{
    if (FDataSet)
        FDataSet->MoveField(this, Value);
}

void TField::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    PropertyChanged(true);
}

TAlignment TField::Alignment() const
{
    if (FAlignmentSet)
        return FAlignment;
    return IsNumericFieldType(FDataType) ? taRightJustify : taLeftJustify;
}

void TField::SetAlignment(TAlignment Value)
{
    if (FAlignmentSet && Value == FAlignment)
        return;
    FAlignment = Value;
    FAlignmentSet = true;
    PropertyChanged(false);
}

void TField::SetDisplayFormat(const QString& Value)
{
    if (Value == FDisplayFormat)
        return;
    FDisplayFormat = Value;
    PropertyChanged(false);
}

// ---------------------------------------------------------------- reading

const TCell& TField::Cell() const
{
    static const TCell NullCell;
    if (!FDataSet)
        throw EDatabaseError(QStringLiteral("Field '%1' has no dataset").arg(FFieldName));
    if (!FDataSet->Active())
        throw EDatabaseError(QStringLiteral("%1: Cannot perform this operation on a closed dataset")
                                 .arg(FDataSet->objectName()));
    return FFieldNo < 0 ? NullCell : FDataSet->ReadCell(FFieldNo);
}

Variant TField::CellVariant(const TCell& C) const
{
    switch (C.Kind) {
    case TCellKind::Null:
        return Variant::Null();
    case TCellKind::Integer:
        return FDataType == ftBoolean ? Variant(C.I != 0) : Variant(C.I);
    case TCellKind::Float:
        return IsDateTimeFieldType(FDataType) ? Variant::FromDateTime(C.D) : Variant(C.D);
    case TCellKind::DateTime:
        return Variant::FromDateTime(C.D);
    case TCellKind::Boolean:
        return Variant(C.I != 0);
    case TCellKind::Text:
        return Variant(FDataSet->Store().TextOf(C));
    }
    return Variant::Null();
}

Variant TField::LookupValue() const
{
    if (!FLookupDataSet || !FLookupDataSet->Active() || FKeyFields.isEmpty())
        return Variant::Null();
    QList<Variant> Keys;
    for (const QString& Name : FKeyFields.split(u';', Qt::SkipEmptyParts))
        Keys << FDataSet->FieldByName(Name.trimmed())->AsVariant();
    return FLookupDataSet->Lookup(FLookupKeyFields, Keys, FLookupResultField);
}

bool TField::IsNull() const
{
    if (FFieldKind == fkLookup)
        return LookupValue().IsNull();
    return Cell().Kind == TCellKind::Null;
}

Variant TField::AsVariant() const
{
    if (FFieldKind == fkLookup)
        return LookupValue();
    return CellVariant(Cell());
}

QString TField::AsString() const
{
    if (FFieldKind == fkLookup)
        return VarToStr(LookupValue());
    const TCell& C = Cell();
    switch (C.Kind) {
    case TCellKind::Null:
        return QString();
    case TCellKind::Text:
        return FDataSet->Store().TextOf(C);
    case TCellKind::Integer:
        if (FDataType == ftBoolean)
            return C.I ? QStringLiteral("True") : QStringLiteral("False");
        return QString::number(C.I);
    case TCellKind::Boolean:
        return C.I ? QStringLiteral("True") : QStringLiteral("False");
    case TCellKind::Float:
        if (!IsDateTimeFieldType(FDataType))
            return FloatToStr(C.D);
        [[fallthrough]];
    case TCellKind::DateTime:
        if (FDataType == ftDate)
            return DateToStr(C.D);
        if (FDataType == ftTime)
            return TimeToStr(C.D);
        return DateTimeToStr(C.D);
    }
    return QString();
}

double TField::AsFloat() const
{
    if (FFieldKind == fkLookup)
        return LookupValue().IsNull() ? 0.0 : LookupValue().AsFloat();
    const TCell& C = Cell();
    switch (C.Kind) {
    case TCellKind::Null:
        return 0;
    case TCellKind::Integer:
    case TCellKind::Boolean:
        return double(C.I);
    case TCellKind::Float:
    case TCellKind::DateTime:
        return C.D;
    case TCellKind::Text:
        return StrToFloat(FDataSet->Store().TextOf(C));
    }
    return 0;
}

int64_t TField::AsLargeInt() const
{
    if (FFieldKind == fkLookup)
        return LookupValue().IsNull() ? 0 : LookupValue().AsInteger();
    const TCell& C = Cell();
    switch (C.Kind) {
    case TCellKind::Null:
        return 0;
    case TCellKind::Integer:
    case TCellKind::Boolean:
        return C.I;
    case TCellKind::Float:
    case TCellKind::DateTime:
        return RoundHalfEven(C.D);
    case TCellKind::Text:
        return StrToInt64(FDataSet->Store().TextOf(C));
    }
    return 0;
}

int TField::AsInteger() const
{
    const int64_t V = AsLargeInt();
    if (V < std::numeric_limits<int>::min() || V > std::numeric_limits<int>::max())
        throw EConvertError(QStringLiteral("%1 is not a valid integer value").arg(V));
    return int(V);
}

TDateTime TField::AsDateTime() const
{
    if (FFieldKind == fkLookup)
        return LookupValue().IsNull() ? 0.0 : LookupValue().AsDateTime();
    const TCell& C = Cell();
    switch (C.Kind) {
    case TCellKind::Null:
        return 0;
    case TCellKind::Integer:
    case TCellKind::Boolean:
        return double(C.I);
    case TCellKind::Float:
    case TCellKind::DateTime:
        return C.D;
    case TCellKind::Text: {
        double V;
        if (ParseCanonicalDateTime(FDataSet->Store().TextData(C), C.Len, V))
            return V;
        return StrToDateTime(FDataSet->Store().TextOf(C));
    }
    }
    return 0;
}

bool TField::AsBoolean() const
{
    if (FFieldKind == fkLookup)
        return LookupValue().IsNull() ? false : LookupValue().AsBoolean();
    const TCell& C = Cell();
    switch (C.Kind) {
    case TCellKind::Null:
        return false;
    case TCellKind::Integer:
    case TCellKind::Boolean:
        return C.I != 0;
    case TCellKind::Float:
    case TCellKind::DateTime:
        return C.D != 0;
    case TCellKind::Text: {
        const QString S = FDataSet->Store().TextOf(C).trimmed();
        if (S.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || S == QLatin1String("1"))
            return true;
        if (S.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || S == QLatin1String("0") || S.isEmpty())
            return false;
        throw EConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(S));
    }
    }
    return false;
}

Variant TField::OldValue() const
{
    if (!FDataSet || !FDataSet->Active() || FFieldNo < 0 || FDataSet->FCurrent < 0)
        return Variant::Null();
    const TRowStore& S = FDataSet->Store();
    return CellVariant(S.RowCells(FDataSet->FRecs[size_t(FDataSet->FCurrent)])[FFieldNo]);
}

// ---------------------------------------------------------------- text

QString TField::FormatText(bool ForDisplay) const
{
    if (IsNull())
        return QString();
    if (FFieldKind == fkLookup)
        return AsString();
    const TCell& C = Cell();
    if (C.Kind == TCellKind::Text && !IsStringFieldType(FDataType))
        return FDataSet->Store().TextOf(C);
    const QString Fmt = (ForDisplay || FEditFormat.isEmpty()) ? FDisplayFormat : FEditFormat;
    if (IsNumericFieldType(FDataType)) {
        if (!Fmt.isEmpty())
            return FormatFloat(Fmt, AsFloat());
        if (IsIntegerFieldType(FDataType))
            return QString::number(AsLargeInt());
        if (FDataType == ftCurrency && ForDisplay)
            return FloatToStrF(AsFloat(), TFloatFormat::ffCurrency, 15, FormatSettings().CurrencyDecimals);
        return FloatToStr(AsFloat());
    }
    if (IsDateTimeFieldType(FDataType)) {
        if (ForDisplay && !FDisplayFormat.isEmpty())
            return FormatDateTime(FDisplayFormat, AsDateTime());
        return AsString();
    }
    return AsString();
}

QString TField::DisplayText() const
{
    if (OnGetText) {
        QString T;
        OnGetText(const_cast<TField*>(this), T, true);
        return T;
    }
    return FormatText(true);
}

QString TField::Text() const
{
    if (OnGetText) {
        QString T;
        OnGetText(const_cast<TField*>(this), T, false);
        return T;
    }
    return FormatText(false);
}

void TField::SetText(const QString& Value)
{
    if (OnSetText)
        OnSetText(this, Value);
    else
        SetAsString(Value);
}

// ---------------------------------------------------------------- writing

void TField::WriteCell(const TCell& Value)
{
    if (!FDataSet)
        throw EDatabaseError(QStringLiteral("Field '%1' has no dataset").arg(FFieldName));
    FDataSet->WriteCell(this, Value);
}

QByteArray TField::AsBytes() const
{
    if (FFieldKind == fkLookup)
        return QByteArray();
    const TCell& C = Cell();
    if (C.Kind != TCellKind::Text)
        return QByteArray();
    return QByteArray(FDataSet->Store().TextData(C), qsizetype(C.Len));
}

void TField::SetAsBytes(const QByteArray& Value)
{
    if (!FDataSet)
        throw EDatabaseError(QStringLiteral("Field '%1' has no dataset").arg(FFieldName));
    FDataSet->CheckEditing(this);
    WriteCell(FDataSet->Store().MakeText(Value.constData(), size_t(Value.size())));
}

void TField::Clear()
{
    WriteCell(TCell::Null());
}

void TField::SetAsString(const QString& Value)
{
    if (IsStringFieldType(FDataType) || FDataType == ftUnknown) {
        if (!FDataSet)
            throw EDatabaseError(QStringLiteral("Field '%1' has no dataset").arg(FFieldName));
        FDataSet->CheckEditing(this);
        WriteCell(FDataSet->Store().MakeText(Value));
        return;
    }
    const QString S = Value.trimmed();
    if (S.isEmpty()) {
        Clear();
        return;
    }
    if (IsIntegerFieldType(FDataType)) {
        int64_t V;
        if (!TryStrToInt64(S, V) || !FitsIntegerField(FDataType, V))
            throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(S));
        SetAsLargeInt(V);
    } else if (IsNumericFieldType(FDataType)) {
        SetAsFloat(StrToFloat(S));
    } else if (IsDateTimeFieldType(FDataType)) {
        double V;
        const QByteArray U = S.toUtf8();
        if (ParseCanonicalDateTime(U.constData(), size_t(U.size()), V))
            SetAsDateTime(V);
        else if (FDataType == ftTime)
            SetAsDateTime(StrToTime(S));
        else
            SetAsDateTime(StrToDateTime(S));
    } else if (FDataType == ftBoolean) {
        if (S.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || S == QLatin1String("1"))
            SetAsBoolean(true);
        else if (S.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || S == QLatin1String("0"))
            SetAsBoolean(false);
        else
            throw EConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(S));
    } else {
        throw EDatabaseError(QStringLiteral("Field '%1' cannot take a text value").arg(FFieldName));
    }
}

void TField::SetAsLargeInt(int64_t Value)
{
    if (IsIntegerFieldType(FDataType)) {
        if (!FitsIntegerField(FDataType, Value))
            throw EConvertError(QStringLiteral("%1 is not a valid integer value").arg(Value));
        WriteCell(TCell::Int(Value));
    } else if (IsNumericFieldType(FDataType)) {
        WriteCell(TCell::Float(double(Value)));
    } else if (IsDateTimeFieldType(FDataType)) {
        WriteCell(TCell::Date(double(Value)));
    } else if (FDataType == ftBoolean) {
        WriteCell(TCell::Bool(Value != 0));
    } else {
        SetAsString(QString::number(Value));
    }
}

void TField::SetAsInteger(int Value)
{
    SetAsLargeInt(Value);
}

void TField::SetAsFloat(double Value)
{
    if (IsIntegerFieldType(FDataType))
        SetAsLargeInt(RoundHalfEven(Value));
    else if (IsNumericFieldType(FDataType))
        WriteCell(TCell::Float(Value));
    else if (IsDateTimeFieldType(FDataType))
        SetAsDateTime(Value);
    else if (FDataType == ftBoolean)
        WriteCell(TCell::Bool(Value != 0));
    else
        SetAsString(FloatToStr(Value));
}

void TField::SetAsDateTime(TDateTime Value)
{
    if (FDataType == ftDate)
        WriteCell(TCell::Date(DateOf(Value)));
    else if (FDataType == ftTime)
        WriteCell(TCell::Date(TimeOf(Value)));
    else if (IsDateTimeFieldType(FDataType))
        WriteCell(TCell::Date(Value));
    else if (IsNumericFieldType(FDataType))
        SetAsFloat(Value);
    else
        SetAsString(DateTimeToStr(Value));
}

void TField::SetAsBoolean(bool Value)
{
    if (FDataType == ftBoolean)
        WriteCell(TCell::Bool(Value));
    else if (IsNumericFieldType(FDataType))
        SetAsLargeInt(Value ? 1 : 0);
    else
        SetAsString(Value ? QStringLiteral("True") : QStringLiteral("False"));
}

void TField::SetAsVariant(const Variant& Value)
{
    switch (Value.Kind()) {
    case Variant::TKind::Empty:
    case Variant::TKind::Null:
        Clear();
        break;
    case Variant::TKind::Integer:
        SetAsLargeInt(Value.AsInteger());
        break;
    case Variant::TKind::Double:
        SetAsFloat(Value.AsFloat());
        break;
    case Variant::TKind::Boolean:
        SetAsBoolean(Value.AsBoolean());
        break;
    case Variant::TKind::DateTime:
        SetAsDateTime(Value.AsDateTime());
        break;
    case Variant::TKind::String:
    case Variant::TKind::Array: // raises: an array is no field value
        SetAsString(Value.AsString());
        break;
    }
}

// ---------------------------------------------------------------- misc

bool TField::CanModify() const
{
    if (FReadOnly || !FDataSet || !FDataSet->CanModify())
        return false;
    if (FFieldKind == fkData)
        return FFieldNo >= 0;
    if (FFieldKind == fkLookup) {
        if (FKeyFields.isEmpty())
            return false;
        for (const QString& Name : FKeyFields.split(u';', Qt::SkipEmptyParts)) {
            TField* K = FDataSet->FindField(Name.trimmed());
            if (!K || !K->CanModify())
                return false;
        }
        return true;
    }
    return false;
}

// Only what the number conversions read: ASCII digits (a full-width digit
// would pass the editor and fail on post), the sign, and for fractional
// types the decimal separator; the exponent only for floating types.
bool TField::IsValidChar(QChar C) const
{
    if (!IsNumericFieldType(FDataType))
        return true;
    const bool Digit = C >= u'0' && C <= u'9';
    if (Digit || C == u'+' || C == u'-')
        return true;
    if (IsIntegerFieldType(FDataType))
        return false;
    if (C == FormatSettings().DecimalSeparator)
        return true;
    return FDataType != ftBCD && (C == u'E' || C == u'e');
}

void TField::FocusControl()
{
    if (!FDataSet || !FDataSet->Active())
        return;
    TField* Self = this;
    FDataSet->DataEvent(deFocusControl, reinterpret_cast<intptr_t>(&Self));
}
