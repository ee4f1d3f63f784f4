// The report's data dictionary: report variables (with their categories),
// dataset and field aliases, band data-source aliases and the datasets hidden
// from the designer. During preparation it answers the name callback for its
// variables and for data fields, keeping resolved fields in a cache. It is
// stored inside the report form and alone as a dictionary file (".frd").
#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>

#include "platform/db/DataSet.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Variants.h"
#include "report/engine/FR_Variables.h"

class TStream;

class TfrDataDictionary
{
public:
    TfrDataDictionary();
    ~TfrDataDictionary();
    TfrDataDictionary(const TfrDataDictionary&) = delete;
    TfrDataDictionary& operator=(const TfrDataDictionary&) = delete;

    // A category is an entry whose name begins with a blank; the variables
    // after it belong to it. Values are texts: an expression or a data field.
    TfrVariables Variables;
    TfrVariables FieldAliases;            // "DataSet" or "DataSet.Field" = alias (unquoted)
    TfrVariables BandDataSourceAliases;   // component name = alias
    TStringList DisabledDataSets;         // "Query*" hides every name beginning "Query"

    // Empties the three stored lists (not DisabledDataSets).
    void Clear();
    void ClearCache();
    bool IsCached(const QString& Name) const;

    // True for a variable, or for a name that resolves to a data field (which
    // then joins the cache).
    bool IsVariable(const QString& Name);
    // The field's value for a cached name; else the variable's, where a script
    // variable of the same name wins and a text is evaluated. A variable that
    // comes back to itself while evaluated raises EParserError "Undefined symbol".
    void GetValue(const QString& Name, Variant& Value);

    bool IsDataSetEnabled(const QString& Name) const;
    QString GetRealDataSetName(const QString& Alias) const;
    QString GetRealDataSourceName(const QString& Alias) const;
    QString GetRealDataSetShortName(const QString& Alias) const;
    QString GetAliasName(const QString& Name) const;

    // Lists for the designer, from the current report's owner, its forms and
    // data modules. With dataset (or band data-source) entries only those are
    // offered, by alias or, with an empty one, by name. A field entry
    // ("DataSet.Field") gives the field's alias, an empty one leaves it out;
    // fields without one are listed by name.
    void GetDataSetList(TStrings& List) const;
    void GetFieldList(const QString& DataSetName, TStrings& List) const;
    void GetBandDataSourceList(TStrings& List) const;
    void GetCategoryList(TStrings& List) const;
    void GetVariablesList(const QString& Category, TStrings& List) const;

    // The block: 2-byte mark 0xFFFE, then each list as a 4-byte count and
    // name/value string pairs. The previous (0xFFFF) and the oldest form are read
    // too. Counts and lengths are bounded by the stream; damage raises EReadError.
    void LoadFromStream(TStream& Stream);
    void SaveToStream(TStream& Stream) const;
    // Dictionary file: version byte 25, then the block. Saving writes the whole
    // file or leaves the old one; a file that cannot be read raises EReadError
    // naming it and leaves the dictionary as it was.
    void LoadFromFile(const QString& FileName);
    void SaveToFile(const QString& FileName) const;

private:
    struct TCacheEntry
    {
        QPointer<TDataSet> DataSet;
        QString FieldName;
    };
    // The upper-case name, and for a field named without its dataset the
    // default dataset it was found in (0 for the others).
    using TCacheKey = std::pair<QString, quintptr>;
    void LoadOldest(TStream& Stream);
    void DropUnresolvedAliases();
    bool Resolve(const QString& Name, const QString& Text);
    const TCacheEntry* FindCached(const QString& Name) const;

    QHash<TCacheKey, TCacheEntry> FCache;
    QStringList FEvaluating;              // variables being evaluated, innermost last
};
