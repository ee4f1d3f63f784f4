// Types shared by the datasets, fields, data sources and links: the classic
// enumerations with their classic numbering (stored formats and the report
// engine depend on the field type numbers), bookmarks and event signatures.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

class TDataSet;
class TField;

// Numbered as the classic platform numbers them; gaps are kept on purpose.
enum TFieldType : int {
    ftUnknown = 0,
    ftString = 1,
    ftSmallint = 2,
    ftInteger = 3,
    ftWord = 4,
    ftBoolean = 5,
    ftFloat = 6,
    ftCurrency = 7,
    ftBCD = 8,
    ftDate = 9,
    ftTime = 10,
    ftDateTime = 11,
    ftBytes = 12,
    ftVarBytes = 13,
    ftAutoInc = 14,
    ftBlob = 15,
    ftMemo = 16,
    ftGraphic = 17,
    ftFmtMemo = 18,
    ftParadoxOle = 19,
    ftDBaseOle = 20,
    ftTypedBinary = 21,
    ftCursor = 22,
    ftFixedChar = 23,
    ftWideString = 24,
    ftLargeint = 25,
};

enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields, dsFilter };

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// What a dataset tells its data sources and links.
enum TDataEvent {
    deFieldChange,
    deRecordChange,
    deDataSetChange,
    deDataSetScroll,
    deLayoutChange,
    deUpdateRecord,
    deUpdateState,
    deCheckBrowseMode,
    deFocusControl,
};

enum TLocateOption : int { loCaseInsensitive = 1, loPartialKey = 2 };
using TLocateOptions = int;

enum TFilterOption : int { foCaseInsensitive = 1, foNoPartialCompare = 2 };
using TFilterOptions = int;

// A bookmark names one record of one open dataset; empty means none. It stays
// valid while the record exists, whatever is inserted or deleted around it.
using TBookmark = QByteArray;

using TDataSetNotifyEvent = std::function<void(TDataSet* DataSet)>;
using TFilterRecordEvent = std::function<void(TDataSet* DataSet, bool& Accept)>;
using TFieldNotifyEvent = std::function<void(TField* Sender)>;
using TFieldGetTextEvent = std::function<void(TField* Sender, QString& Text, bool DisplayText)>;
using TFieldSetTextEvent = std::function<void(TField* Sender, const QString& Text)>;

bool IsStringFieldType(TFieldType Type); // ftString, ftFixedChar, ftWideString, ftMemo, ftFmtMemo
bool IsNumericFieldType(TFieldType Type);
bool IsBlobFieldType(TFieldType Type);   // ftBlob .. ftTypedBinary
bool IsDateTimeFieldType(TFieldType Type);
QString FieldTypeName(TFieldType Type);  // "String", "Integer", ...
