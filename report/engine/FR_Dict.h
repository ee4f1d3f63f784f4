// The report's data dictionary as the form file carries it: report variables
// (with their categories), dataset and field aliases, band data-source aliases
// and the datasets hidden from the designer. Resolving names during preparation
// belongs to the preparation units; this unit keeps the lists and their block.
#pragma once

#include <QString>

#include "platform/rtl/Classes.h"
#include "report/engine/FR_Variables.h"

class TStream;

class TfrDataDictionary
{
public:
    TfrDataDictionary();
    ~TfrDataDictionary();

    // Values are texts: an expression, a data field or an alias.
    TfrVariables Variables;
    TfrVariables FieldAliases;
    TfrVariables BandDataSourceAliases;
    TStringList DisabledDataSets;

    // Empties the three stored lists (not DisabledDataSets).
    void Clear();

    // The block: 2-byte mark 0xFFFE, then each list as a 4-byte count and
    // name/value string pairs. The previous (0xFFFF) and the oldest form are read
    // too. Counts and lengths are bounded by the stream; damage raises EReadError.
    void LoadFromStream(TStream& Stream);
    void SaveToStream(TStream& Stream) const;
    // Dictionary file: version byte 25, then the block.
    void LoadFromFile(const QString& FileName);
    void SaveToFile(const QString& FileName) const;

private:
    void LoadOldest(TStream& Stream);
};
