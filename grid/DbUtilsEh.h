// Filter conditions typed under a column title ("> 100", "~ 张", "in (1,2)",
// ">= 10 and <= 20"): the operator vocabulary, the condition record, its
// parser and display text, and the registry of dataset handlers; also the
// position test the grid's units share.
#pragma once

#include "platform/db/DBTypes.h"
#include "platform/rtl/Variants.h"

#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class TDataSet;

// The kind of value a field's operands are converted to.
enum TSTFilterDataTypeEh : uint8_t { fdtNone = 0, fdtString = 1, fdtNumber = 2, fdtDateTime = 3, fdtBoolean = 4 };

TSTFilterDataTypeEh STFilterDataTypeOf(TFieldType Type);

// One numbering serves the scanner's tokens and the condition record.
enum TSTFilterOperatorEh : uint8_t {
    foNon = 0,
    foEqual = 1,
    foNotEqual = 2,
    foGreaterThan = 3,
    foLessThan = 4,
    foGreaterOrEqual = 5,
    foLessOrEqual = 6,
    foLike = 7,
    foNotLike = 8,
    foIn = 9,
    foNotIn = 10,
    foNull = 11,
    foNotNull = 12,
    foAND = 13,
    foOR = 14,
    foValue = 15,
};

// Display and query-language forms, indexed by operator code.
extern const std::array<const char*, 16> STFilterOperatorsStrMap;
extern const std::array<const char*, 16> STFilterOperatorsSQLStrMap;
// Marks where a dataset handler splices a filter into a query text.
extern const char* const SQLFilterMarker;

// An operand: unassigned, one value, or the list of an In condition.
struct TSTFilterOperandEh
{
    QList<Variant> Values;
    bool IsArray = false;

    bool IsUnassigned() const { return !IsArray && Values.isEmpty(); }
    // The single value (empty when unassigned).
    Variant Value() const { return IsArray || Values.isEmpty() ? Variant() : Values.first(); }
    static TSTFilterOperandEh Single(const Variant& V) { return {{V}, false}; }
};

// At most two conditions joined by AND or OR.
struct TSTFilterConditionsEh
{
    TSTFilterDataTypeEh DataType = fdtNone;
    TSTFilterOperatorEh Operator1 = foNon;
    TSTFilterOperandEh Operand1;
    TSTFilterOperatorEh Join = foNon;
    TSTFilterOperatorEh Operator2 = foNon;
    TSTFilterOperandEh Operand2;

    // Clears conditions and operands; the value kind stays.
    void Reset();
};

// Parses Text into Record, whose DataType the caller has set. True when a
// second condition was read. Bad text raises Exception with a message
// followed by the trimmed text; an operand that does not convert raises
// EConvertError. On any error Record is left as it was.
bool ParseFilterText(const QString& Text, TSTFilterConditionsEh& Record);
bool ParseFilterText(const QString& Text, TSTFilterConditionsEh& Record, const TFormatSettings& Settings);

QString FormatFilterConditions(const TSTFilterConditionsEh& Record);
QString FormatFilterConditions(const TSTFilterConditionsEh& Record, const TFormatSettings& Settings);

// Text operands (or list items) to numbers or date-times by DataType.
void ConvertFilterOperand(TSTFilterOperandEh& Operand, TSTFilterDataTypeEh DataType);
void ConvertFilterOperand(TSTFilterOperandEh& Operand, TSTFilterDataTypeEh DataType, const TFormatSettings& Settings);

// What a dataset class offers for sorting and filtering by the grid.
class TDataSetHandlerEh
{
public:
    virtual ~TDataSetHandlerEh() = default;
};

class TDataSetHandlerRegistryEh
{
public:
    void Register(const QString& DataSetClassName, std::unique_ptr<TDataSetHandlerEh> Handler);
    // The handler whose class is nearest up the dataset's class chain; the
    // first registered on ties; nullptr when none matches.
    TDataSetHandlerEh* Find(const TDataSet* DataSet) const;
    int Count() const { return int(FEntries.size()); }

private:
    struct TEntry
    {
        QString ClassName;
        std::unique_ptr<TDataSetHandlerEh> Handler;
    };
    std::vector<TEntry> FEntries;
};

TDataSetHandlerRegistryEh& DataSetHandlerRegistry();
TDataSetHandlerEh* FindDataSetHandler(const TDataSet* DataSet);

// The cursor stands on the last record or past it. For a record being
// inserted: it was appended after the last one (our datasets do not raise
// Eof on Append, so only the position tells).
bool InsertedAtEnd(const TDataSet* DataSet);
