#include "platform/rtl/Variants.h"

#include "platform/rtl/PinyinOrder.h"

#include <cmath>
#include <limits>

namespace {

[[noreturn]] void RaiseCast(TVarType From, TVarType To)
{
    throw EVariantError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                            .arg(VarTypeName(From), VarTypeName(To)));
}

[[noreturn]] void RaiseRange(TVarType From, TVarType To)
{
    throw EVariantError(
        QStringLiteral("Range check error while converting variant of type (%1) into type (%2)")
            .arg(VarTypeName(From), VarTypeName(To)));
}

// Exact for every 64-bit integer: long double has a 64-bit mantissa here.
constexpr long double Int64Limit = 9223372036854775808.0L;

bool FitsInt64(double Value)
{
    return Value >= -9223372036854775808.0 && Value < 9223372036854775808.0;
}

bool ReadBooleanText(const QString& Text, bool& Value)
{
    const QString T = Trim(Text);
    if (T.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
        Value = true;
        return true;
    }
    if (T.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
        Value = false;
        return true;
    }
    return false;
}

// A number operand after the classic promotion: integers (Booleans and empty
// included) stay exact, doubles and date-times carry their kind for the result.
struct TNumber
{
    enum TNumKind { Int, Dbl, Date } Kind = Int;
    int64_t I = 0;
    double D = 0;
    double AsDouble() const { return Kind == Int ? double(I) : D; }
};

TNumber ToNumber(const Variant& V)
{
    TNumber N;
    switch (V.Kind()) {
    case Variant::TKind::Empty:
        break;
    case Variant::TKind::Boolean:
        N.I = V.AsBoolean() ? -1 : 0;
        break;
    case Variant::TKind::Integer:
        N.I = V.AsInteger();
        break;
    case Variant::TKind::DateTime:
        N.Kind = TNumber::Date;
        N.D = V.AsDateTime();
        break;
    default: // double, string (strict parse, raises); null never reaches here
        N.Kind = TNumber::Dbl;
        N.D = V.AsFloat();
        break;
    }
    return N;
}

int64_t ToIntegerOperand(const Variant& V)
{
    if (V.Kind() == Variant::TKind::Boolean)
        return V.AsBoolean() ? -1 : 0;
    return V.AsInteger();
}

bool AnyNull(const Variant& A, const Variant& B)
{
    return A.IsNull() || B.IsNull();
}

bool IsTextLike(const Variant& V)
{
    return V.IsString() || V.IsEmpty();
}

enum class TArith { Add, Sub, Mul };

Variant Arith(TArith Op, const Variant& A, const Variant& B)
{
    if (AnyNull(A, B))
        return Variant::Null();
    if (Op == TArith::Add && IsTextLike(A) && IsTextLike(B) && (A.IsString() || B.IsString()))
        return Variant(A.AsString() + B.AsString());
    const TNumber X = ToNumber(A);
    const TNumber Y = ToNumber(B);
    if (X.Kind == TNumber::Int && Y.Kind == TNumber::Int) {
        int64_t R = 0;
        bool Overflow = false;
        switch (Op) {
        case TArith::Add: Overflow = __builtin_add_overflow(X.I, Y.I, &R); break;
        case TArith::Sub: Overflow = __builtin_sub_overflow(X.I, Y.I, &R); break;
        case TArith::Mul: Overflow = __builtin_mul_overflow(X.I, Y.I, &R); break;
        }
        if (!Overflow)
            return Variant(R);
        const long double LX = X.I, LY = Y.I;
        const long double LR = Op == TArith::Add ? LX + LY : Op == TArith::Sub ? LX - LY : LX * LY;
        return Variant(double(LR));
    }
    const double DX = X.AsDouble(), DY = Y.AsDouble();
    switch (Op) {
    case TArith::Add:
        // A date moved by a number of days is still a date; two dates add to a count.
        if ((X.Kind == TNumber::Date) != (Y.Kind == TNumber::Date))
            return Variant::FromDateTime(DX + DY);
        return Variant(DX + DY);
    case TArith::Sub:
        if (X.Kind == TNumber::Date && Y.Kind != TNumber::Date)
            return Variant::FromDateTime(DX - DY);
        return Variant(DX - DY);
    case TArith::Mul:
        break;
    }
    return Variant(DX * DY);
}

// Logical operands: a Boolean, or an integer for bitwise work.
struct TLogical
{
    bool IsBool = false;
    bool B = false;
    int64_t I = 0;
};

TLogical ToLogical(const Variant& V)
{
    TLogical L;
    if (V.Kind() == Variant::TKind::Boolean) {
        L.IsBool = true;
        L.B = V.AsBoolean();
    } else if (V.IsString() && ReadBooleanText(V.AsString(), L.B)) {
        L.IsBool = true;
    } else {
        L.I = V.AsInteger();
    }
    if (L.IsBool)
        L.I = L.B ? -1 : 0;
    return L;
}

enum class TLogicOp { And, Or, Xor };

Variant Logic(TLogicOp Op, const Variant& A, const Variant& B)
{
    if (AnyNull(A, B))
        return Variant::Null();
    const TLogical X = ToLogical(A);
    const TLogical Y = ToLogical(B);
    if (X.IsBool && Y.IsBool) {
        switch (Op) {
        case TLogicOp::And: return Variant(X.B && Y.B);
        case TLogicOp::Or: return Variant(X.B || Y.B);
        case TLogicOp::Xor: return Variant(X.B != Y.B);
        }
    }
    switch (Op) {
    case TLogicOp::And: return Variant(int64_t(X.I & Y.I));
    case TLogicOp::Or: return Variant(int64_t(X.I | Y.I));
    case TLogicOp::Xor: break;
    }
    return Variant(int64_t(X.I ^ Y.I));
}

template <typename T>
TVariantRelationship Order(T X, T Y)
{
    if (X < Y)
        return TVariantRelationship::vrLessThan;
    if (Y < X)
        return TVariantRelationship::vrGreaterThan;
    if (X == Y)
        return TVariantRelationship::vrEqual;
    return TVariantRelationship::vrNotEqual; // NaN
}

TDateTime StringToDateOperand(const QString& S)
{
    TDateTime Value = 0;
    if (TryStrToDateTime(Trim(S), Value, FormatSettings()))
        return Value;
    if (TryStrToFloat(Trim(S), Value, FormatSettings()))
        return Value;
    RaiseCast(varString, varDate);
}

TVariantRelationship CompareNumbers(const TNumber& X, const TNumber& Y)
{
    if (X.Kind == TNumber::Int && Y.Kind == TNumber::Int)
        return Order(X.I, Y.I);
    const long double LX = X.Kind == TNumber::Int ? (long double)X.I : (long double)X.D;
    const long double LY = Y.Kind == TNumber::Int ? (long double)Y.I : (long double)Y.D;
    return Order(LX, LY);
}

} // namespace

// ---------------------------------------------------------------- construction

Variant::Variant(int Value) : FKind(TKind::Integer), FInt(Value) {}
Variant::Variant(int64_t Value) : FKind(TKind::Integer), FInt(Value) {}
Variant::Variant(long long Value) : FKind(TKind::Integer), FInt(int64_t(Value)) {}
Variant::Variant(unsigned int Value) : FKind(TKind::Integer), FInt(Value) {}
Variant::Variant(double Value) : FKind(TKind::Double), FDouble(Value) {}
Variant::Variant(bool Value) : FKind(TKind::Boolean), FBool(Value) {}
Variant::Variant(const QString& Value) : FKind(TKind::String), FString(Value) {}
Variant::Variant(const char* Value) : FKind(TKind::String), FString(QString::fromUtf8(Value)) {}

Variant Variant::Null()
{
    Variant V;
    V.FKind = TKind::Null;
    return V;
}

Variant Variant::FromDateTime(TDateTime Value)
{
    Variant V(Value);
    V.FKind = TKind::DateTime;
    return V;
}

Variant Variant::ArrayOf(const QList<Variant>& Elements)
{
    Variant V;
    V.FKind = TKind::Array;
    V.FArray = std::make_shared<const QList<Variant>>(Elements);
    return V;
}

QList<Variant> Variant::Elements() const
{
    return FArray ? *FArray : QList<Variant>();
}

TVarType Variant::VarType() const
{
    switch (FKind) {
    case TKind::Empty: return varEmpty;
    case TKind::Null: return varNull;
    case TKind::Integer:
        return FInt >= std::numeric_limits<int32_t>::min() && FInt <= std::numeric_limits<int32_t>::max()
                   ? varInteger
                   : varInt64;
    case TKind::Double: return varDouble;
    case TKind::Boolean: return varBoolean;
    case TKind::String: return varString;
    case TKind::DateTime: return varDate;
    case TKind::Array: return TVarType(varArray | varVariant);
    }
    return varEmpty;
}

bool Variant::IsNumeric() const
{
    return FKind == TKind::Integer || FKind == TKind::Double || FKind == TKind::Boolean
           || FKind == TKind::DateTime;
}

// ---------------------------------------------------------------- conversions

QString Variant::AsString() const
{
    return AsString(FormatSettings());
}

QString Variant::AsString(const TFormatSettings& Settings) const
{
    switch (FKind) {
    case TKind::Empty:
    case TKind::Null: return QString();
    case TKind::Integer: return QString::number(FInt);
    case TKind::Double: return FloatToStr(FDouble, Settings);
    case TKind::Boolean: return FBool ? QStringLiteral("True") : QStringLiteral("False");
    case TKind::String: return FString;
    case TKind::DateTime: return DateTimeToStr(FDouble, Settings);
    case TKind::Array: break;
    }
    RaiseCast(VarType(), varString);
}

double Variant::AsFloat() const
{
    return AsFloat(FormatSettings());
}

double Variant::AsFloat(const TFormatSettings& Settings) const
{
    switch (FKind) {
    case TKind::Empty: return 0;
    case TKind::Null: break;
    case TKind::Integer: return double(FInt);
    case TKind::Double:
    case TKind::DateTime: return FDouble;
    case TKind::Boolean: return FBool ? -1 : 0;
    case TKind::String: {
        double Value = 0;
        if (TryStrToFloat(Trim(FString), Value, Settings))
            return Value;
        break;
    }
    case TKind::Array: break;
    }
    RaiseCast(VarType(), varDouble);
}

int64_t Variant::AsInteger() const
{
    switch (FKind) {
    case TKind::Empty: return 0;
    case TKind::Null: break;
    case TKind::Integer: return FInt;
    case TKind::Boolean: return FBool ? -1 : 0;
    case TKind::Double:
    case TKind::DateTime:
        if (FitsInt64(FDouble))
            return RoundHalfEven(FDouble);
        break;
    case TKind::String: {
        int64_t Int = 0;
        if (TryStrToInt64(Trim(FString), Int))
            return Int;
        double Value = 0;
        if (TryStrToFloat(Trim(FString), Value, FormatSettings()) && FitsInt64(Value))
            return RoundHalfEven(Value);
        break;
    }
    case TKind::Array: break;
    }
    RaiseCast(VarType(), varInt64);
}

bool Variant::AsBoolean() const
{
    switch (FKind) {
    case TKind::Empty: return false;
    case TKind::Null: break;
    case TKind::Integer: return FInt != 0;
    case TKind::Double:
    case TKind::DateTime: return FDouble != 0;
    case TKind::Boolean: return FBool;
    case TKind::String: {
        bool Value = false;
        if (ReadBooleanText(FString, Value))
            return Value;
        double Number = 0;
        if (TryStrToFloat(Trim(FString), Number, FormatSettings()))
            return Number != 0;
        break;
    }
    case TKind::Array: break;
    }
    RaiseCast(VarType(), varBoolean);
}

TDateTime Variant::AsDateTime() const
{
    return AsDateTime(FormatSettings());
}

TDateTime Variant::AsDateTime(const TFormatSettings& Settings) const
{
    switch (FKind) {
    case TKind::Empty: return 0;
    case TKind::Null: break;
    case TKind::Integer: return double(FInt);
    case TKind::Double:
    case TKind::DateTime: return FDouble;
    case TKind::Boolean: return FBool ? -1 : 0;
    case TKind::String: {
        TDateTime Value = 0;
        if (TryStrToDateTime(Trim(FString), Value, Settings))
            return Value;
        break;
    }
    case TKind::Array: break;
    }
    RaiseCast(VarType(), varDate);
}

// ---------------------------------------------------------------- arithmetic

Variant operator+(const Variant& A, const Variant& B) { return Arith(TArith::Add, A, B); }
Variant operator-(const Variant& A, const Variant& B) { return Arith(TArith::Sub, A, B); }
Variant operator*(const Variant& A, const Variant& B) { return Arith(TArith::Mul, A, B); }

Variant operator/(const Variant& A, const Variant& B)
{
    if (AnyNull(A, B))
        return Variant::Null();
    const double X = ToNumber(A).AsDouble();
    const double Y = ToNumber(B).AsDouble();
    if (Y == 0)
        throw EZeroDivide(QStringLiteral("Floating point division by zero"));
    return Variant(X / Y);
}

Variant VarIntDiv(const Variant& A, const Variant& B)
{
    if (AnyNull(A, B))
        return Variant::Null();
    const int64_t X = ToIntegerOperand(A);
    const int64_t Y = ToIntegerOperand(B);
    if (Y == 0)
        throw EZeroDivide(QStringLiteral("Division by zero"));
    if (Y == -1 && X == std::numeric_limits<int64_t>::min())
        return Variant(double(Int64Limit));
    return Variant(int64_t(X / Y));
}

Variant VarMod(const Variant& A, const Variant& B)
{
    if (AnyNull(A, B))
        return Variant::Null();
    const int64_t X = ToIntegerOperand(A);
    const int64_t Y = ToIntegerOperand(B);
    if (Y == 0)
        throw EZeroDivide(QStringLiteral("Division by zero"));
    if (Y == -1)
        return Variant(int64_t(0));
    return Variant(int64_t(X % Y));
}

Variant operator-(const Variant& A)
{
    switch (A.Kind()) {
    case Variant::TKind::Null: return Variant::Null();
    case Variant::TKind::Double: return Variant(-A.AsFloat());
    case Variant::TKind::DateTime: return Variant::FromDateTime(-A.AsDateTime());
    case Variant::TKind::String: return Variant(-A.AsFloat());
    default: break;
    }
    const int64_t I = ToIntegerOperand(A);
    if (I == std::numeric_limits<int64_t>::min())
        return Variant(double(Int64Limit));
    return Variant(int64_t(-I));
}

Variant VarAnd(const Variant& A, const Variant& B) { return Logic(TLogicOp::And, A, B); }
Variant VarOr(const Variant& A, const Variant& B) { return Logic(TLogicOp::Or, A, B); }
Variant VarXor(const Variant& A, const Variant& B) { return Logic(TLogicOp::Xor, A, B); }

Variant VarNot(const Variant& A)
{
    if (A.IsNull())
        return Variant::Null();
    const TLogical L = ToLogical(A);
    if (L.IsBool)
        return Variant(!L.B);
    return Variant(int64_t(~L.I));
}

// ---------------------------------------------------------------- comparison

TVariantRelationship VarCompareValue(const Variant& A, const Variant& B)
{
    using R = TVariantRelationship;
    if (A.IsNull() || B.IsNull()) {
        if (A.IsNull() && B.IsNull())
            return R::vrEqual;
        return A.IsNull() ? R::vrLessThan : R::vrGreaterThan;
    }
    if (A.IsArray() != B.IsArray())
        RaiseCast(A.VarType(), B.VarType());
    if (A.IsArray()) {
        const QList<Variant> X = A.Elements(), Y = B.Elements();
        if (X.size() != Y.size())
            return R::vrNotEqual;
        for (qsizetype i = 0; i < X.size(); ++i)
            if (VarCompareValue(X[i], Y[i]) != R::vrEqual)
                return R::vrNotEqual;
        return R::vrEqual;
    }
    if (IsTextLike(A) && IsTextLike(B)) {
        // Equal only when identical; otherwise in the program's text order,
        // and texts that differ only in letter case by character code.
        const QString TextA = A.AsString(), TextB = B.AsString();
        if (TextA == TextB)
            return R::vrEqual;
        int C = PinyinCompare(TextA, TextB);
        if (C == 0)
            C = TextA.compare(TextB, Qt::CaseSensitive);
        return C < 0 ? R::vrLessThan : R::vrGreaterThan;
    }
    if (A.IsString() || B.IsString()) {
        const Variant& Text = A.IsString() ? A : B;
        const Variant& Other = A.IsString() ? B : A;
        double T = 0, O = 0;
        if (Other.Kind() == Variant::TKind::Boolean) {
            T = Text.AsBoolean() ? -1 : 0;
            O = Other.AsBoolean() ? -1 : 0;
        } else if (Other.Kind() == Variant::TKind::DateTime) {
            T = StringToDateOperand(Text.AsString());
            O = Other.AsDateTime();
        } else {
            TNumber N = ToNumber(Text);
            return A.IsString() ? CompareNumbers(N, ToNumber(Other)) : CompareNumbers(ToNumber(Other), N);
        }
        return A.IsString() ? Order(T, O) : Order(O, T);
    }
    return CompareNumbers(ToNumber(A), ToNumber(B));
}

bool VarEquals(const Variant& A, const Variant& B)
{
    return VarCompareValue(A, B) == TVariantRelationship::vrEqual;
}

bool VarLess(const Variant& A, const Variant& B)
{
    return VarCompareValue(A, B) == TVariantRelationship::vrLessThan;
}

bool VarLessEq(const Variant& A, const Variant& B)
{
    const TVariantRelationship R = VarCompareValue(A, B);
    return R == TVariantRelationship::vrLessThan || R == TVariantRelationship::vrEqual;
}

bool VarGreater(const Variant& A, const Variant& B)
{
    return VarCompareValue(A, B) == TVariantRelationship::vrGreaterThan;
}

bool VarGreaterEq(const Variant& A, const Variant& B)
{
    const TVariantRelationship R = VarCompareValue(A, B);
    return R == TVariantRelationship::vrGreaterThan || R == TVariantRelationship::vrEqual;
}

bool VarSame(const Variant& A, const Variant& B)
{
    if (A.Kind() != B.Kind())
        return false;
    switch (A.Kind()) {
    case Variant::TKind::Empty:
    case Variant::TKind::Null: return true;
    case Variant::TKind::Integer: return A.AsInteger() == B.AsInteger();
    case Variant::TKind::Boolean: return A.AsBoolean() == B.AsBoolean();
    case Variant::TKind::String: return A.AsString() == B.AsString();
    case Variant::TKind::Double:
    case Variant::TKind::DateTime: {
        // A NaN is the same as a NaN: callers use this to see whether a value changed.
        const double X = A.AsFloat(), Y = B.AsFloat();
        return X == Y || (std::isnan(X) && std::isnan(Y));
    }
    case Variant::TKind::Array: {
        const QList<Variant> X = A.Elements(), Y = B.Elements();
        if (X.size() != Y.size())
            return false;
        for (qsizetype i = 0; i < X.size(); ++i)
            if (!VarSame(X[i], Y[i]))
                return false;
        return true;
    }
    }
    return false;
}

// ---------------------------------------------------------------- free functions

QString VarToStr(const Variant& V)
{
    return V.AsString();
}

bool VarIsNull(const Variant& V)
{
    return V.IsNull();
}

bool VarIsEmpty(const Variant& V)
{
    return V.IsEmpty();
}

TVarType VarType(const Variant& V)
{
    return V.VarType();
}

Variant VarFromDateTime(TDateTime Value)
{
    return Variant::FromDateTime(Value);
}

Variant VarArrayOf(const QList<Variant>& Elements)
{
    return Variant::ArrayOf(Elements);
}

bool VarIsArray(const Variant& V)
{
    return V.IsArray();
}

namespace {

Variant IntegerInRange(const Variant& V, TVarType Type, int64_t Low, int64_t High)
{
    const int64_t I = V.AsInteger();
    if (I < Low || I > High)
        RaiseRange(V.VarType(), Type);
    return Variant(I);
}

} // namespace

Variant VarAsType(const Variant& V, TVarType Type)
{
    if (Type == varEmpty)
        return Variant();
    if (Type == varNull)
        return Variant::Null();
    if (V.IsNull())
        RaiseCast(varNull, Type);
    switch (Type) {
    case varSmallint: return IntegerInRange(V, Type, -32768, 32767);
    case varByte: return IntegerInRange(V, Type, 0, 255);
    case varInteger:
        return IntegerInRange(V, Type, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    case varInt64: return Variant(V.AsInteger());
    case varSingle:
    case varDouble: return Variant(V.AsFloat());
    case varCurrency: {
        // Currency holds four decimals.
        const double D = V.AsFloat();
        if (std::fabs(D) < 9.2e14)
            return Variant(double(RoundHalfEven(D * 10000)) / 10000);
        RaiseRange(V.VarType(), Type);
    }
    case varDate: return Variant::FromDateTime(V.AsDateTime());
    case varOleStr:
    case varString: return Variant(V.AsString());
    case varBoolean: return Variant(V.AsBoolean());
    default: break;
    }
    throw EVariantError(QStringLiteral("Invalid variant type conversion"));
}

QString VarTypeName(TVarType Type)
{
    switch (Type) {
    case varEmpty: return QStringLiteral("Empty");
    case varNull: return QStringLiteral("Null");
    case varSmallint: return QStringLiteral("Smallint");
    case varInteger: return QStringLiteral("Integer");
    case varSingle: return QStringLiteral("Single");
    case varDouble: return QStringLiteral("Double");
    case varCurrency: return QStringLiteral("Currency");
    case varDate: return QStringLiteral("Date");
    case varOleStr: return QStringLiteral("OleStr");
    case varBoolean: return QStringLiteral("Boolean");
    case varByte: return QStringLiteral("Byte");
    case varInt64: return QStringLiteral("Int64");
    case varString: return QStringLiteral("String");
    case varVariant: return QStringLiteral("Variant");
    case varArray: break;
    }
    if (Type & varArray)
        return QStringLiteral("Array ") + VarTypeName(TVarType(Type & ~varArray));
    return QStringLiteral("Unknown");
}
