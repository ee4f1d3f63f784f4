// How the engine turns names into data: a band's data-source name into a data
// source, the text of a data field ("Query1.Name", "Form.Query1.\"A.B\"") into
// a dataset and a field name, and a field into the value a report prints.
// Components are looked up from the owner of the current report.
#pragma once

#include "platform/db/DBTypes.h"
#include "platform/rtl/Variants.h"

#include <QString>
#include <functional>
#include <memory>

class TfrBand;
class TfrDataset;
class TStrings;

// A name beginning with a digit 1-9 makes a data source of that many rows,
// handed over in Owned (EConvertError when the rest is no number); any other
// name finds a TfrDataset component. The source found is initialised (Init).
TfrDataset* GetDataSource(const QString& Name, std::unique_ptr<TfrDataset>& Owned);
// The same source, not yet initialised.
TfrDataset* FindDataSource(const QString& Name, std::unique_ptr<TfrDataset>& Owned);

// The type of data band whose data source serves a band of BandType when a
// field is named without its dataset: master data (5), detail data (8),
// subdetail data (11) or cross data (19); -1 keeps the report's data source.
int DefaultDataBandType(int BandType);
// The run-time bands belong to the band engine, which answers here for them:
// a band's type and its data source.
extern std::function<int(const TfrBand* Band)> frBandType;
extern std::function<TfrDataset*(const TfrBand* Band)> frBandDataSource;
// The dataset behind the current band's data band, else behind the report's
// Dataset; nullptr when neither is a TfrDBDataSet.
TDataSet* GetDefaultDataSet();

// The value a report prints for Field, opening its dataset when closed. A null
// value becomes "" for text fields, False for Boolean fields and 0 for others;
// lookup fields give their display text.
Variant GetFieldValue(TField* Field);

// Text with no point names a field of the DataSet given; "DataSet.Field",
// "Form.DataSet.Field" and "Form.Frame.DataSet.Field" name their dataset. A
// part in double quotes runs to the end, so quoted field names may hold
// points. FieldName stays empty unless the dataset has that field.
void GetDataSetAndField(const QString& Text, TDataSet*& DataSet, QString& FieldName);
// True when the field Name resolves to is null, or nothing resolves.
bool FieldIsNull(const QString& Name);
// The dataset's field names (its field definitions while closed); any error
// leaves List unchanged.
void GetDataSetFieldNames(TDataSet* DataSet, TStrings& List);

// Bookmarks, as the dataset keeps them.
TBookmark frGetBookmark(TDataSet* DataSet);
void frGotoBookmark(TDataSet* DataSet, const TBookmark& Bookmark);
void frFreeBookmark(TDataSet* DataSet, TBookmark& Bookmark);
bool frIsBookmarksEqual(TDataSet* DataSet, const TBookmark& A, const TBookmark& B);
