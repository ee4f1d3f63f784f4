// TDataSet: Locate, Lookup and record filtering.
#include "platform/db/DataSet.h"

#include "platform/db/RowStore_p.h"
#include "platform/rtl/SysUtils.h"

#include <functional>

namespace {

// Reads fields of one stored row for the duration of a scope.
class TReadRowGuard
{
public:
    TReadRowGuard(int64_t& Slot, int64_t Row) : FSlot(Slot), FOld(Slot) { FSlot = Row; }
    ~TReadRowGuard() { FSlot = FOld; }

private:
    int64_t& FSlot;
    int64_t FOld;
};

bool SameValue(TField* F, const Variant& Key, TLocateOptions Options)
{
    if (Key.IsNull() || Key.IsEmpty())
        return F->IsNull();
    if (F->IsNull())
        return false;
    if (IsStringFieldType(F->DataType()) || Key.Kind() == Variant::TKind::String) {
        const QString Text = F->AsString();
        const QString Want = Key.AsString();
        const Qt::CaseSensitivity CS = (Options & loCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
        if (Options & loPartialKey)
            return Text.startsWith(Want, CS);
        return Text.compare(Want, CS) == 0;
    }
    try {
        return VarEquals(F->AsVariant(), Key);
    } catch (const Exception&) {
        return false;
    }
}

} // namespace

std::vector<TField*> TDataSet::KeyFieldList(const QString& KeyFields) const
{
    std::vector<TField*> List;
    for (const QString& Name : KeyFields.split(u';', Qt::SkipEmptyParts))
        List.push_back(FieldByName(Name.trimmed()));
    return List;
}

bool TDataSet::MatchRecord(uint32_t Row, const std::vector<TField*>& Keys, const QList<Variant>& Values,
                           TLocateOptions Options)
{
    TReadRowGuard Guard(FReadRow, Row);
    for (size_t i = 0; i < Keys.size(); ++i)
        if (!SameValue(Keys[i], i < size_t(Values.size()) ? Values[qsizetype(i)] : Variant::Null(), Options))
            return false;
    return true;
}

int TDataSet::FindRecord(const QString& KeyFields, const QList<Variant>& KeyValues, TLocateOptions Options)
{
    CheckActive();
    const std::vector<TField*> Keys = KeyFieldList(KeyFields);
    if (Keys.empty())
        return -1;
    // The record being edited is compared with its stored values; post first to search the new ones.
    for (size_t i = 0; i < FRecs.size(); ++i)
        if (MatchRecord(FRecs[i], Keys, KeyValues, Options))
            return int(i);
    return -1;
}

bool TDataSet::Locate(const QString& KeyFields, const QList<Variant>& KeyValues, TLocateOptions Options)
{
    CheckBrowseMode();
    const int Index = FindRecord(KeyFields, KeyValues, Options);
    if (Index < 0)
        return false;
    DoEvent(BeforeScroll);
    MoveTo(Index, true);
    FBof = FEof = false;
    DoEvent(AfterScroll);
    return true;
}

// A key over several fields comes as an array with one element per field.
bool TDataSet::Locate(const QString& KeyFields, const Variant& KeyValue, TLocateOptions Options)
{
    return Locate(KeyFields, KeyValue.IsArray() ? KeyValue.Elements() : QList<Variant>{KeyValue}, Options);
}

Variant TDataSet::Lookup(const QString& KeyFields, const QList<Variant>& KeyValues, const QString& ResultField)
{
    const int Index = FindRecord(KeyFields, KeyValues, 0);
    if (Index < 0)
        return Variant::Null();
    TField* Result = FieldByName(ResultField);
    TReadRowGuard Guard(FReadRow, FRecs[size_t(Index)]);
    return Result->AsVariant();
}

Variant TDataSet::Lookup(const QString& KeyFields, const Variant& KeyValue, const QString& ResultField)
{
    return Lookup(KeyFields, KeyValue.IsArray() ? KeyValue.Elements() : QList<Variant>{KeyValue}, ResultField);
}

// ---------------------------------------------------------------- filter text

using TFilterTest = std::function<bool(TDataSet*)>;

namespace {

class TFilterParser
{
public:
    TFilterParser(const QString& Text, TFilterOptions Options) : FText(Text), FOptions(Options) {}

    TFilterTest Parse()
    {
        TFilterTest T = ParseOr();
        SkipBlanks();
        if (FPos < FText.size())
            Fail();
        return T;
    }

private:
    [[noreturn]] void Fail() const
    {
        throw EDatabaseError(QStringLiteral("Filter expression incorrectly terminated: %1").arg(FText));
    }
    void SkipBlanks()
    {
        while (FPos < FText.size() && FText[FPos].isSpace())
            ++FPos;
    }
    bool Keyword(const char* Word)
    {
        SkipBlanks();
        const QString W = QString::fromLatin1(Word);
        if (FText.mid(FPos, W.size()).compare(W, Qt::CaseInsensitive) != 0)
            return false;
        const qsizetype End = FPos + W.size();
        if (End < FText.size() && (FText[End].isLetterOrNumber() || FText[End] == u'_'))
            return false;
        FPos = End;
        return true;
    }
    TFilterTest ParseOr()
    {
        TFilterTest L = ParseAnd();
        while (Keyword("or")) {
            TFilterTest R = ParseAnd();
            L = [L, R](TDataSet* D) { return L(D) || R(D); };
        }
        return L;
    }
    TFilterTest ParseAnd()
    {
        TFilterTest L = ParseNot();
        while (Keyword("and")) {
            TFilterTest R = ParseNot();
            L = [L, R](TDataSet* D) { return L(D) && R(D); };
        }
        return L;
    }
    TFilterTest ParseNot()
    {
        if (Keyword("not")) {
            TFilterTest T = ParseNot();
            return [T](TDataSet* D) { return !T(D); };
        }
        SkipBlanks();
        if (FPos < FText.size() && FText[FPos] == u'(') {
            ++FPos;
            TFilterTest T = ParseOr();
            SkipBlanks();
            if (FPos >= FText.size() || FText[FPos] != u')')
                Fail();
            ++FPos;
            return T;
        }
        return ParseCompare();
    }
    QString ParseName()
    {
        SkipBlanks();
        if (FPos < FText.size() && FText[FPos] == u'[') {
            const qsizetype End = FText.indexOf(u']', FPos);
            if (End < 0)
                Fail();
            const QString Name = FText.mid(FPos + 1, End - FPos - 1);
            FPos = End + 1;
            return Name;
        }
        const qsizetype Start = FPos;
        while (FPos < FText.size() && (FText[FPos].isLetterOrNumber() || FText[FPos] == u'_'))
            ++FPos;
        if (FPos == Start)
            Fail();
        return FText.mid(Start, FPos - Start);
    }
    QString ParseOperator()
    {
        SkipBlanks();
        static const char* Ops[] = {"<>", "<=", ">=", "=", "<", ">"};
        for (const char* Op : Ops) {
            const QString O = QString::fromLatin1(Op);
            if (FText.mid(FPos, O.size()) == O) {
                FPos += O.size();
                return O;
            }
        }
        Fail();
    }
    Variant ParseValue()
    {
        SkipBlanks();
        if (FPos < FText.size() && (FText[FPos] == u'\'' || FText[FPos] == u'"')) {
            const QChar Q = FText[FPos++];
            QString S;
            while (true) {
                if (FPos >= FText.size())
                    Fail();
                if (FText[FPos] == Q) {
                    if (FPos + 1 < FText.size() && FText[FPos + 1] == Q) {
                        S += Q;
                        FPos += 2;
                        continue;
                    }
                    ++FPos;
                    return Variant(S);
                }
                S += FText[FPos++];
            }
        }
        if (Keyword("null"))
            return Variant::Null();
        const qsizetype Start = FPos;
        while (FPos < FText.size() && (FText[FPos].isDigit() || FText[FPos] == u'.' || FText[FPos] == u'-'))
            ++FPos;
        bool Ok = false;
        const double V = FText.mid(Start, FPos - Start).toDouble(&Ok);
        if (!Ok)
            Fail();
        return Variant(V);
    }
    TFilterTest ParseCompare()
    {
        const QString Name = ParseName();
        const QString Op = ParseOperator();
        const Variant Value = ParseValue();
        const bool CaseInsensitive = FOptions & foCaseInsensitive;
        const bool Partial = !(FOptions & foNoPartialCompare);
        return [Name, Op, Value, CaseInsensitive, Partial](TDataSet* D) {
            TField* F = D->FieldByName(Name);
            if (Value.IsNull())
                return Op == QLatin1String("=") ? F->IsNull() : (Op == QLatin1String("<>") && !F->IsNull());
            if (F->IsNull())
                return false;
            int Cmp;
            if (Value.Kind() == Variant::TKind::String) {
                QString Want = Value.AsString();
                const QString Text = F->AsString();
                const Qt::CaseSensitivity CS = CaseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
                if (Partial && Want.endsWith(u'*') && (Op == QLatin1String("=") || Op == QLatin1String("<>"))) {
                    Want.chop(1);
                    const bool Match = Text.startsWith(Want, CS);
                    return Op == QLatin1String("=") ? Match : !Match;
                }
                Cmp = Text.compare(Want, CS);
            } else {
                const double A = F->AsFloat(), B = Value.AsFloat();
                Cmp = A < B ? -1 : (A > B ? 1 : 0);
            }
            if (Op == QLatin1String("="))
                return Cmp == 0;
            if (Op == QLatin1String("<>"))
                return Cmp != 0;
            if (Op == QLatin1String("<"))
                return Cmp < 0;
            if (Op == QLatin1String(">"))
                return Cmp > 0;
            if (Op == QLatin1String("<="))
                return Cmp <= 0;
            return Cmp >= 0;
        };
    }

    QString FText;
    TFilterOptions FOptions;
    qsizetype FPos = 0;
};

} // namespace

bool TDataSet::RecordAccepted(uint32_t Row)
{
    TReadRowGuard Guard(FReadRow, Row);
    if (FFilterProgram && !FFilterProgram->Test(this))
        return false;
    if (OnFilterRecord) {
        bool Accept = true;
        OnFilterRecord(this, Accept);
        return Accept;
    }
    return true;
}

void TDataSet::ApplyFilterFlags()
{
    if (!Active())
        return;
    CheckBrowseMode();
    const TBookmark Here = GetBookmark();
    try {
        RebuildRecords();
    } catch (...) {
        // A filter naming a missing field: show every record again rather than a half-built list.
        FFiltered = false;
        RebuildRecords();
        FCurrent = FActive = FRecs.empty() ? -1 : 0;
        FBof = true;
        FEof = FRecs.empty();
        DataEvent(deDataSetChange);
        throw;
    }
    int Index = -1;
    uint32_t Row;
    if (Here.size() == sizeof Row) {
        memcpy(&Row, Here.constData(), sizeof Row);
        Index = IndexOfRow(Row);
    }
    FCurrent = FActive = Index >= 0 ? Index : (FRecs.empty() ? -1 : 0);
    FBof = Index < 0;
    FEof = FRecs.empty();
    DataEvent(deDataSetChange);
}

void TDataSet::SetFilter(const QString& Value)
{
    if (Value == FFilter && (FFilterProgram || Value.trimmed().isEmpty()))
        return;
    std::unique_ptr<TFilterProgram> Program;
    if (!Value.trimmed().isEmpty()) {
        Program = std::make_unique<TFilterProgram>();
        Program->Test = TFilterParser(Value, FFilterOptions).Parse();
    }
    FFilter = Value;
    FFilterProgram = std::move(Program);
    if (FFiltered)
        ApplyFilterFlags();
}

void TDataSet::SetFiltered(bool Value)
{
    if (Value == FFiltered)
        return;
    FFiltered = Value;
    ApplyFilterFlags();
}

void TDataSet::SetFilterOptions(TFilterOptions Value)
{
    if (Value == FFilterOptions)
        return;
    FFilterOptions = Value;
    if (!FFilter.trimmed().isEmpty()) {
        FFilterProgram = std::make_unique<TFilterProgram>();
        FFilterProgram->Test = TFilterParser(FFilter, FFilterOptions).Parse();
    }
    if (FFiltered)
        ApplyFilterFlags();
}
