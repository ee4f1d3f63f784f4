#include "report/engine/FR_Dict.h"

#include "platform/rtl/Streams.h"
#include "report/engine/FR_Globals.h"
#include "platform/rtl/GbkText.h"
#include "report/engine/FR_Utils.h"

#include <iterator>

namespace {

constexpr uint16_t DictMark = 0xFFFE;
constexpr uint16_t DictMarkPrevious = 0xFFFF;

// Every entry takes at least two 3-byte strings, which bounds a count taken
// from the file.
void CheckCount(TStream& Stream, uint32_t Count, int64_t MinEntryBytes)
{
    if (static_cast<int64_t>(Count) * MinEntryBytes > Stream.Remaining())
        throw EReadError(QStringLiteral("Dictionary entry count past the end of the stream"));
}

void ReadList(TStream& Stream, TfrVariables& List)
{
    const uint32_t Count = Stream.ReadU32();
    CheckCount(Stream, Count, 6);
    for (uint32_t i = 0; i < Count; ++i) {
        const QString Name = ReadStreamString(Stream);
        List.SetVariable(Name, Variant(ReadStreamString(Stream)));
    }
}

void WriteList(TStream& Stream, const TfrVariables& List)
{
    Stream.WriteU32(static_cast<uint32_t>(List.Count()));
    for (int i = 0; i < List.Count(); ++i) {
        WriteStreamString(Stream, List.GetName(i));
        WriteStreamString(Stream, List.GetValue(i).AsString());
    }
}

// The special names by number as the oldest dictionaries refer to them; entry
// 1 is the dataset text itself.
QString SpecialName(int32_t Number, const QString& DataSet)
{
    static const char* const Names[] = {"PAGE#", "", "DATE", "TIME", "LINE#", "LINETHROUGH#",
                                        "COLUMN#", "CURRENT#", "TOTALPAGES"};
    if (Number == 1)
        return DataSet;
    if (Number < 0 || Number >= static_cast<int32_t>(std::size(Names)))
        return QString();
    return QString::fromLatin1(Names[Number]);
}

QString ReadShortString(TStream& Stream)
{
    const uint8_t Length = Stream.ReadU8();
    return FromGbk(Stream.ReadBytes(Length));
}

} // namespace

TfrDataDictionary::TfrDataDictionary() = default;
TfrDataDictionary::~TfrDataDictionary() = default;

void TfrDataDictionary::Clear()
{
    Variables.Clear();
    FieldAliases.Clear();
    BandDataSourceAliases.Clear();
}

void TfrDataDictionary::LoadFromStream(TStream& Stream)
{
    Clear();
    const uint16_t Mark = Stream.ReadU16();
    if (Mark == DictMark || Mark == DictMarkPrevious) {
        ReadList(Stream, Variables);
        ReadList(Stream, FieldAliases);
        ReadList(Stream, BandDataSourceAliases);
        if (Mark == DictMarkPrevious) {
            // Empty aliases of the previous form mean "no alias".
            for (int i = BandDataSourceAliases.Count() - 1; i >= 0; --i)
                if (BandDataSourceAliases.GetValue(i).AsString().isEmpty())
                    BandDataSourceAliases.Delete(i);
        }
    } else {
        Stream.Seek(-2, TSeekOrigin::soCurrent);
        LoadOldest(Stream);
    }
    // An older naming kept categories without the leading blank and variables
    // with one: toggle every name.
    if (Variables.Count() > 0 && !Variables.GetName(0).isEmpty() && !Variables.GetName(0).startsWith(u' ')) {
        for (int i = 0; i < Variables.Count(); ++i) {
            const QString N = Variables.GetName(i);
            Variables.SetName(i, N.startsWith(u' ') ? N.mid(1) : QStringLiteral(" ") + N);
        }
    }
}

void TfrDataDictionary::LoadOldest(TStream& Stream)
{
    const uint32_t Count = Stream.ReadU32();
    CheckCount(Stream, Count, 1 + 4 + 3);
    for (uint32_t i = 0; i < Count; ++i) {
        const uint8_t Kind = Stream.ReadU8();
        const int32_t Number = Stream.ReadI32();
        const QString Name = ReadShortString(Stream);
        const QString DataSet = ReadShortString(Stream);
        const QString Field = ReadShortString(Stream);
        QString Value;
        if (Kind == 1)
            Value = DataSet + QStringLiteral(".\"") + Field + QStringLiteral("\"");
        else if (Kind == 2)
            Value = SpecialName(Number, DataSet);
        Variables.SetVariable(QStringLiteral(" ") + Name, Variant(Value));
    }
    TStringList Categories;
    frReadMemo(Stream, Categories);
    TfrVariables Ordered;
    for (int i = 0; i < Categories.Count(); ++i) {
        const QString Line = Categories.Strings(i);
        const int Index = Line.startsWith(u' ') ? Variables.IndexOf(Line) : -1;
        Ordered.SetVariable(Line, Variant(Index >= 0 ? Variables.GetValue(Index).AsString() : QString()));
    }
    Variables.Assign(Ordered);
    FieldAliases.Clear();
}

void TfrDataDictionary::SaveToStream(TStream& Stream) const
{
    Stream.WriteU16(DictMark);
    WriteList(Stream, Variables);
    WriteList(Stream, FieldAliases);
    WriteList(Stream, BandDataSourceAliases);
}

void TfrDataDictionary::LoadFromFile(const QString& FileName)
{
    TFileStream Stream(FileName, fmOpenRead);
    Stream.ReadU8();
    LoadFromStream(Stream);
}

void TfrDataDictionary::SaveToFile(const QString& FileName) const
{
    TFileStream Stream(FileName, fmCreate);
    Stream.WriteU8(frCurrentVersion);
    SaveToStream(Stream);
}
