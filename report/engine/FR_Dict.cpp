#include "report/engine/FR_Dict.h"

#include "platform/rtl/GbkText.h"
#include "platform/rtl/Streams.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_DBFields.h"
#include "report/engine/FR_DSet.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Pars.h"
#include "report/engine/FR_Utils.h"

#include <iterator>
#include <vector>

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

QObject* ReportOwner()
{
    return CurReport ? CurReport->parent() : nullptr;
}

// Position of the last point outside double quotes, -1 when none.
qsizetype LastPointOutsideQuotes(const QString& Name)
{
    qsizetype Result = -1;
    bool Quoted = false;
    for (qsizetype i = 0; i < Name.size(); ++i) {
        if (Name[i] == u'"')
            Quoted = !Quoted;
        else if (Name[i] == u'.' && !Quoted)
            Result = i;
    }
    return Result;
}

// An empty value means no alias, so an empty text names nothing.
QString FindByValue(const TfrVariables& List, const QString& Alias)
{
    for (int i = 0; i < List.Count() && !Alias.isEmpty(); ++i)
        if (SameText(VarToStr(List.GetValue(i)), Alias))
            return List.GetName(i);
    return Alias;
}

// Removes a name from the names being evaluated however the evaluation ends.
class TEvaluating
{
public:
    TEvaluating(QStringList& List, const QString& Name) : FList(List) { FList.append(Name); }
    ~TEvaluating() { FList.removeLast(); }
    TEvaluating(const TEvaluating&) = delete;
    TEvaluating& operator=(const TEvaluating&) = delete;

private:
    QStringList& FList;
};

} // namespace

TfrDataDictionary::TfrDataDictionary() = default;
TfrDataDictionary::~TfrDataDictionary() = default;

void TfrDataDictionary::Clear()
{
    Variables.Clear();
    FieldAliases.Clear();
    BandDataSourceAliases.Clear();
}

// ---------------------------------------------------------------- names during preparation

void TfrDataDictionary::ClearCache()
{
    FCache.clear();
}

const TfrDataDictionary::TCacheEntry* TfrDataDictionary::FindCached(const QString& Name) const
{
    const QString Upper = Name.toUpper();
    auto It = FCache.constFind(TCacheKey(Upper, 0));
    if (It == FCache.constEnd()) {
        // A field named without its dataset reads the current band's source,
        // which a script may have switched since.
        if (TDataSet* Default = GetDefaultDataSet())
            It = FCache.constFind(TCacheKey(Upper, reinterpret_cast<quintptr>(Default)));
    }
    // A dataset that went away no longer serves its names.
    return It != FCache.constEnd() && It->DataSet ? &*It : nullptr;
}

bool TfrDataDictionary::IsCached(const QString& Name) const
{
    return FindCached(Name) != nullptr;
}

bool TfrDataDictionary::Resolve(const QString& Name, const QString& Text)
{
    TDataSet* DataSet = GetDefaultDataSet();
    QString FieldName;
    GetDataSetAndField(Text, DataSet, FieldName);
    if (!DataSet || FieldName.isEmpty())
        return false;
    // Text without a point outside a leading quoted part names a field of the default dataset.
    const bool OfDefault = Text.startsWith(u'"') || !Text.contains(u'.');
    FCache.insert(TCacheKey(Name.toUpper(), OfDefault ? reinterpret_cast<quintptr>(DataSet) : 0),
                  TCacheEntry{DataSet, FieldName});
    return true;
}

bool TfrDataDictionary::IsVariable(const QString& Name)
{
    if (IsCached(Name))
        return true;
    const int Index = Variables.IndexOf(Name);
    if (Index >= 0) {
        const QString Value = VarToStr(Variables.GetValue(Index));
        if (Value.contains(u'.'))
            Resolve(Name, Value);
        return true;
    }
    const qsizetype Point = LastPointOutsideQuotes(Name);
    if (Point < 0)
        return Resolve(Name, Name);
    const QString DataSet = GetRealDataSetName(Name.left(Point));
    const QString FieldPart = StripQuotes(Name.mid(Point + 1));
    QString Field = GetRealDataSetName(FieldPart);
    if (Field != FieldPart)
        Field = Field.mid(Field.lastIndexOf(u'.') + 1);
    return Resolve(Name, DataSet + QStringLiteral(".\"") + Field + u'"');
}

void TfrDataDictionary::GetValue(const QString& Name, Variant& Value)
{
    Value = Variant::Null();
    if (const TCacheEntry* Entry = FindCached(Name)) {
        if (!Entry->DataSet->Active())
            Entry->DataSet->Open();
        Value = GetFieldValue(Entry->DataSet->FieldByName(Entry->FieldName));
        return;
    }
    const int Index = Variables.IndexOf(Name);
    if (Index < 0)
        return;
    if (frVariables().IndexOf(Name) >= 0) {
        Value = frVariables().GetVariable(Name);
        return;
    }
    const QString Text = VarToStr(Variables.GetValue(Index));
    Value = Text;
    if (Text.isEmpty())
        return;
    for (const QString& Pending : FEvaluating)
        if (SameText(Pending, Name))
            throw EParserError(LoadEngineString(55439) + QStringLiteral(" \"") + Name + u'"');
    TEvaluating Guard(FEvaluating, Name);
    Value = frParser().Calc(Text);
}

// ---------------------------------------------------------------- names for the designer

bool TfrDataDictionary::IsDataSetEnabled(const QString& Name) const
{
    for (int i = 0; i < DisabledDataSets.Count(); ++i) {
        const QString Entry = DisabledDataSets.Strings(i);
        if (Entry.endsWith(u'*') ? Name.startsWith(Entry.chopped(1), Qt::CaseInsensitive) : SameText(Entry, Name))
            return false;
    }
    return true;
}

QString TfrDataDictionary::GetRealDataSetName(const QString& Alias) const
{
    return FindByValue(FieldAliases, Alias);
}

QString TfrDataDictionary::GetRealDataSourceName(const QString& Alias) const
{
    return FindByValue(BandDataSourceAliases, Alias);
}

QString TfrDataDictionary::GetRealDataSetShortName(const QString& Alias) const
{
    const QString Name = GetRealDataSetName(Alias);
    return Name.mid(Name.lastIndexOf(u'.') + 1);
}

QString TfrDataDictionary::GetAliasName(const QString& Name) const
{
    // An entry with an empty value offers the name itself.
    QString Alias;
    if (const int i = FieldAliases.IndexOf(Name); i >= 0)
        Alias = VarToStr(FieldAliases.GetValue(i));
    else if (const int j = BandDataSourceAliases.IndexOf(Name); j >= 0)
        Alias = VarToStr(BandDataSourceAliases.GetValue(j));
    return Alias.isEmpty() ? Name : Alias;
}

void TfrDataDictionary::GetDataSetList(TStrings& List) const
{
    TStringList Names;
    GetComponents(ReportOwner(), TDataSet::staticMetaObject, Names, nullptr);
    List.BeginUpdate();
    List.Clear();
    for (int i = 0; i < Names.Count(); ++i) {
        const QString Name = Names.Strings(i);
        if (!IsDataSetEnabled(Name))
            continue;
        if (FieldAliases.Count() == 0)
            List.Add(Name);
        else if (FieldAliases.IndexOf(Name) >= 0)
            List.Add(GetAliasName(Name));
    }
    List.EndUpdate();
}

void TfrDataDictionary::GetFieldList(const QString& DataSetName, TStrings& List) const
{
    const QString Real = GetRealDataSetName(DataSetName);
    TStringList Fields;
    GetDataSetFieldNames(qobject_cast<TDataSet*>(FindReportComponent(Real)), Fields);
    // A field entry (dataset + "." + field) gives its alias; an empty one
    // leaves the field out. Fields without an entry are listed by name.
    List.BeginUpdate();
    List.Clear();
    for (int i = 0; i < Fields.Count(); ++i) {
        const int Entry = FieldAliases.IndexOf(Real + u'.' + Fields.Strings(i));
        if (Entry < 0)
            List.Add(Fields.Strings(i));
        else if (const QString Alias = VarToStr(FieldAliases.GetValue(Entry)); !Alias.isEmpty())
            List.Add(Alias);
    }
    List.EndUpdate();
}

void TfrDataDictionary::GetBandDataSourceList(TStrings& List) const
{
    TStringList Names;
    GetComponents(ReportOwner(), TfrDataset::staticMetaObject, Names, nullptr);
    List.BeginUpdate();
    List.Clear();
    for (int i = 0; i < Names.Count(); ++i) {
        const QString Name = Names.Strings(i);
        if (BandDataSourceAliases.Count() == 0)
            List.Add(Name);
        else if (const int Entry = BandDataSourceAliases.IndexOf(Name); Entry >= 0)
            List.Add(VarToStr(BandDataSourceAliases.GetValue(Entry)).isEmpty()
                         ? Name : VarToStr(BandDataSourceAliases.GetValue(Entry)));
    }
    List.EndUpdate();
}

void TfrDataDictionary::GetCategoryList(TStrings& List) const
{
    List.BeginUpdate();
    List.Clear();
    for (int i = 0; i < Variables.Count(); ++i)
        if (Variables.GetName(i).startsWith(u' '))
            List.Add(Variables.GetName(i).mid(1));
    List.EndUpdate();
}

void TfrDataDictionary::GetVariablesList(const QString& Category, TStrings& List) const
{
    List.BeginUpdate();
    List.Clear();
    const int Start = Variables.IndexOf(QStringLiteral(" ") + Category);
    for (int i = Start + 1; Start >= 0 && i < Variables.Count(); ++i) {
        if (Variables.GetName(i).startsWith(u' '))
            break;
        List.Add(Variables.GetName(i));
    }
    List.EndUpdate();
}

// ---------------------------------------------------------------- block and file

void TfrDataDictionary::LoadFromStream(TStream& Stream)
{
    Clear();
    const uint16_t Mark = Stream.ReadU16();
    if (Mark == DictMark || Mark == DictMarkPrevious) {
        ReadList(Stream, Variables);
        ReadList(Stream, FieldAliases);
        ReadList(Stream, BandDataSourceAliases);
        if (Mark == DictMarkPrevious)
            DropUnresolvedAliases();
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

// The previous form kept empty aliases for "no alias".
void TfrDataDictionary::DropUnresolvedAliases()
{
    // The entries kept go into new lists: deleting them one by one would
    // shift the list once per entry.
    TfrVariables Fields, Sources;
    for (int i = 0; i < FieldAliases.Count(); ++i) {
        const QString Name = FieldAliases.GetName(i);
        if (VarToStr(FieldAliases.GetValue(i)).isEmpty()) {
            TDataSet* DataSet = qobject_cast<TDataSet*>(FindReportComponent(Name));
            QString FieldName;
            if (!DataSet)
                GetDataSetAndField(Name, DataSet, FieldName);
            if (!DataSet)
                continue;
        }
        Fields.SetVariable(Name, FieldAliases.GetValue(i));
    }
    for (int i = 0; i < BandDataSourceAliases.Count(); ++i)
        if (!VarToStr(BandDataSourceAliases.GetValue(i)).isEmpty())
            Sources.SetVariable(BandDataSourceAliases.GetName(i), BandDataSourceAliases.GetValue(i));
    FieldAliases.Assign(Fields);
    BandDataSourceAliases.Assign(Sources);
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
    // Variables moved into place are marked rather than deleted, which would
    // shift the list once per line.
    std::vector<bool> Moved(size_t(Variables.Count()));
    for (int i = 0; i < Categories.Count(); ++i) {
        const QString Line = Categories.Strings(i);
        if (!Line.startsWith(u' ')) {
            Ordered.SetVariable(Line, Variant(QString()));
            continue;
        }
        // A line naming no variable, or one already moved, has nothing to move.
        const int Index = Variables.IndexOf(Line);
        if (Index < 0 || Moved[size_t(Index)])
            continue;
        Ordered.SetVariable(Line, Variant(VarToStr(Variables.GetValue(Index))));
        Moved[size_t(Index)] = true;
    }
    // Variables the category list misses stay, after it.
    for (int i = 0; i < Variables.Count(); ++i)
        if (!Moved[size_t(i)])
            Ordered.SetVariable(Variables.GetName(i), Variables.GetValue(i));
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
    TfrDataDictionary Read;
    try {
        TMemoryStream Stream;
        Stream.LoadFromFile(FileName);
        Stream.ReadU8();   // the form version carries nothing here
        Read.LoadFromStream(Stream);
    } catch (const Exception& E) {
        throw EReadError(QStringLiteral("Cannot read the dictionary file \"%1\": %2").arg(FileName, E.Message()));
    }
    Variables.Assign(Read.Variables);
    FieldAliases.Assign(Read.FieldAliases);
    BandDataSourceAliases.Assign(Read.BandDataSourceAliases);
    ClearCache();
}

void TfrDataDictionary::SaveToFile(const QString& FileName) const
{
    TMemoryStream Stream;
    Stream.WriteU8(frCurrentVersion);
    SaveToStream(Stream);
    Stream.SaveToFile(FileName);
}
