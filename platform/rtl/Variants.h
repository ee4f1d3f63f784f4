// Variant: the value type of report expressions, dataset fields and the grid's
// filter values. Kinds: empty, null, integer, double, Boolean, string, date-time
// and array (the values of several key fields taken as one key).
// Every conversion and operator rule lives here, in one place, so that the
// report engine and the grid agree. This is not QVariant.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <memory>

// Classic type codes, as stored in the formats that record them.
enum TVarType : uint16_t {
    varEmpty = 0x0000,
    varNull = 0x0001,
    varSmallint = 0x0002,
    varInteger = 0x0003,
    varSingle = 0x0004,
    varDouble = 0x0005,
    varCurrency = 0x0006,
    varDate = 0x0007,
    varOleStr = 0x0008,
    varBoolean = 0x000B,
    varByte = 0x0011,
    varVariant = 0x000C,
    varInt64 = 0x0014,
    varString = 0x0100,
    varArray = 0x2000,                   // or-ed with the element type: varArray | varVariant
};

class Variant
{
public:
    enum class TKind : uint8_t { Empty, Null, Integer, Double, Boolean, String, DateTime, Array };

    Variant() = default;                 // empty
    Variant(int Value);
    Variant(int64_t Value);
    Variant(long long Value);            // qint64
    Variant(unsigned int Value);
    Variant(double Value);
    Variant(bool Value);
    Variant(const QString& Value);
    Variant(const char* Value);          // UTF-8 literal
    static Variant Null();
    static Variant FromDateTime(TDateTime Value);
    // An array of values; it converts to nothing else (every As... raises).
    static Variant ArrayOf(const QList<Variant>& Elements);

    TKind Kind() const { return FKind; }
    // varInteger for integers that fit 32 bits, varInt64 otherwise.
    TVarType VarType() const;
    bool IsEmpty() const { return FKind == TKind::Empty; }
    bool IsNull() const { return FKind == TKind::Null; }
    bool IsNumeric() const;              // integer, double, Boolean or date-time
    bool IsString() const { return FKind == TKind::String; }
    bool IsArray() const { return FKind == TKind::Array; }
    // The elements of an array; empty for every other kind.
    QList<Variant> Elements() const;

    // Conversions with the classic rules; a failure raises EVariantError
    // ("Could not convert variant of type (X) into type (Y)").
    // Empty and null give ""; Boolean "True"/"False"; doubles by FloatToStr;
    // date-times by DateTimeToStr (the date alone at midnight).
    QString AsString() const;
    double AsFloat() const;              // strings parse strictly (blanks around allowed); empty is 0; null raises
    int64_t AsInteger() const;           // doubles round halves to even
    bool AsBoolean() const;              // strings "True"/"False" any case, or a number
    TDateTime AsDateTime() const;        // strings parse as a date-time; numbers are day counts
    QString AsString(const TFormatSettings& Settings) const;
    double AsFloat(const TFormatSettings& Settings) const;
    TDateTime AsDateTime(const TFormatSettings& Settings) const;

    bool operator==(const Variant& Other) const = delete; // use VarSame or VarEquals

private:
    TKind FKind = TKind::Empty;
    bool FBool = false;
    int64_t FInt = 0;
    double FDouble = 0;                  // doubles and date-times
    QString FString;
    std::shared_ptr<const QList<Variant>> FArray; // arrays only; never changed once made
};

// Arithmetic with the classic promotion rules: integer op integer stays integer
// (overflow promotes to double), anything with a double or date-time is double,
// except that a date-time plus or minus a number stays a date-time (a date minus
// a date is a day count, a double); a string operand converts to a number or
// raises, '+' of two strings concatenates, null in any operand gives null,
// Boolean counts as -1/0 and empty as 0 (as "" beside a string).
Variant operator+(const Variant& A, const Variant& B);
Variant operator-(const Variant& A, const Variant& B);
Variant operator*(const Variant& A, const Variant& B);
Variant operator/(const Variant& A, const Variant& B);  // always double; division by 0 raises EZeroDivide
// div and mod work on integers (doubles round halves to even first); a zero
// divisor raises EZeroDivide.
Variant VarIntDiv(const Variant& A, const Variant& B);  // div
Variant VarMod(const Variant& A, const Variant& B);     // mod, sign of the dividend
Variant operator-(const Variant& A);                    // negation
// and/or/xor: bitwise on integers, logical on Booleans; not likewise. A Boolean
// beside a number counts as -1/0 (bitwise); a string reads as a Boolean when it is
// "True"/"False" in any case, else as a number. Null gives null.
Variant VarAnd(const Variant& A, const Variant& B);
Variant VarOr(const Variant& A, const Variant& B);
Variant VarXor(const Variant& A, const Variant& B);
Variant VarNot(const Variant& A);

// Comparison: numbers numerically; strings as text: equal only when identical,
// otherwise in the order of PinyinCompare (platform/rtl/PinyinOrder.h), with
// texts that differ only in letter case ordered by character code. A string
// against a number converts the string (or raises), against a date-time parses
// it as a date-time, against a Boolean reads it as a Boolean; null equals only
// null and orders before everything. NaN is vrNotEqual to all. Arrays compare
// element by element: equal when of one length with every pair equal, else
// vrNotEqual; an array beside a single value raises.
enum class TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };
TVariantRelationship VarCompareValue(const Variant& A, const Variant& B);
bool VarEquals(const Variant& A, const Variant& B);
bool VarLess(const Variant& A, const Variant& B);
bool VarLessEq(const Variant& A, const Variant& B);
bool VarGreater(const Variant& A, const Variant& B);
bool VarGreaterEq(const Variant& A, const Variant& B);
bool VarSame(const Variant& A, const Variant& B);        // same kind and same value

// Classic free functions.
QString VarToStr(const Variant& V);
bool VarIsNull(const Variant& V);
bool VarIsEmpty(const Variant& V);
TVarType VarType(const Variant& V);
Variant VarAsType(const Variant& V, TVarType Type);
QString VarTypeName(TVarType Type);                      // "String", "Double", ...
Variant VarFromDateTime(TDateTime Value);
Variant VarArrayOf(const QList<Variant>& Elements);
bool VarIsArray(const Variant& V);

// The classic Format: %d %u %x %e %f %g %n %m %s %p with index, '-', width,
// precision and '*'; raises EConvertError "Format '<Fmt>' invalid or incompatible
// with argument" on a bad format, a missing argument or an argument of the wrong
// kind (%d %u %x %p take integers; %e %f %g %n %m integers, doubles and
// date-times; %s takes anything through VarToStr).
QString Format(const QString& Fmt, const QList<Variant>& Args);
QString Format(const QString& Fmt, const QList<Variant>& Args, const TFormatSettings& Settings);
