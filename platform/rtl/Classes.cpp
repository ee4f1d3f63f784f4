#include "platform/rtl/Classes.h"

#include "platform/rtl/GbkText.h"
#include "platform/rtl/Streams.h"

#include <QStringDecoder>

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

[[noreturn]] void ListIndexError(int Index)
{
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

[[noreturn]] void SortedListError()
{
    throw EListError(QStringLiteral("Operation not allowed on sorted list"));
}

// Comma text quotes an item that holds a control character, a space, a quote or a comma.
bool NeedsQuotes(const QString& S)
{
    return std::any_of(S.begin(), S.end(), [](QChar C) {
        return C.unicode() <= u' ' || C == u'"' || C == u',';
    });
}

bool IsBlank(QChar C)
{
    return C.unicode() >= 1 && C.unicode() <= u' ';
}

// Reads a quoted item starting at the quote at I: doubled quotes stand for one,
// and an item without its closing quote runs to the end. I ends after the item.
QString ExtractQuoted(const QString& Text, qsizetype& I)
{
    QString Result;
    ++I;
    while (I < Text.size()) {
        if (Text.at(I) == u'"') {
            if (I + 1 < Text.size() && Text.at(I + 1) == u'"') {
                Result += u'"';
                I += 2;
                continue;
            }
            ++I;
            return Result;
        }
        Result += Text.at(I++);
    }
    return Result;
}

QString DecodeText(const QByteArray& Bytes)
{
    QByteArrayView View(Bytes);
    if (View.startsWith("\xEF\xBB\xBF"))
        View = View.sliced(3);
    QStringDecoder Utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString Text = Utf8.decode(View);
    if (!Utf8.hasError())
        return Text;
    return FromGbk(View.constData(), View.size());
}

} // namespace

// ---------------------------------------------------------------- TStrings

int TStrings::Add(const QString& S)
{
    const int Index = Count();
    Insert(Index, S);
    return Index;
}

int TStrings::AddObject(const QString& S, void* Object)
{
    const int Index = Add(S);
    SetObjects(Index, Object);
    return Index;
}

void TStrings::InsertObject(int Index, const QString& S, void* Object)
{
    Insert(Index, S);
    SetObjects(Index, Object);
}

int TStrings::CompareStrings(const QString& A, const QString& B) const
{
    return AnsiCompareText(A, B);
}

int TStrings::IndexOf(const QString& S) const
{
    for (int I = 0; I < Count(); ++I)
        if (CompareStrings(Strings(I), S) == 0)
            return I;
    return -1;
}

int TStrings::IndexOfObject(void* Object) const
{
    for (int I = 0; I < Count(); ++I)
        if (Objects(I) == Object)
            return I;
    return -1;
}

int TStrings::IndexOfName(const QString& Name) const
{
    for (int I = 0; I < Count(); ++I) {
        const QString S = Strings(I);
        const qsizetype P = S.indexOf(u'=');
        if (P >= 0 && CompareStrings(S.left(P), Name) == 0)
            return I;
    }
    return -1;
}

void TStrings::Exchange(int A, int B)
{
    BeginUpdate();
    try {
        const QString TempString = Strings(A);
        void* TempObject = Objects(A);
        SetStrings(A, Strings(B));
        SetObjects(A, Objects(B));
        SetStrings(B, TempString);
        SetObjects(B, TempObject);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::Move(int From, int To)
{
    if (From == To)
        return;
    BeginUpdate();
    try {
        const QString TempString = Strings(From);
        void* TempObject = Objects(From);
        if (To < 0 || To >= Count())
            ListIndexError(To);
        // Insert before deleting: a list that refuses the insert (sorted)
        // must not lose the line.
        if (From < To) {
            InsertObject(To + 1, TempString, TempObject);
            Delete(From);
        } else {
            InsertObject(To, TempString, TempObject);
            Delete(From + 1);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::Assign(const TStrings& Source)
{
    if (&Source == this)
        return;
    BeginUpdate();
    try {
        Clear();
        AddStrings(Source);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::AddStrings(const TStrings& Source)
{
    BeginUpdate();
    try {
        const int N = Source.Count();
        for (int I = 0; I < N; ++I)
            AddObject(Source.Strings(I), Source.Objects(I));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

bool TStrings::Equals(const TStrings& Other) const
{
    if (Count() != Other.Count())
        return false;
    for (int I = 0; I < Count(); ++I)
        if (Strings(I) != Other.Strings(I))
            return false;
    return true;
}

QString TStrings::Text() const
{
    QString Result;
    for (int I = 0; I < Count(); ++I) {
        Result += Strings(I);
        Result += QLatin1String("\r\n");
    }
    return Result;
}

void TStrings::SetText(const QString& Value)
{
    BeginUpdate();
    try {
        Clear();
        qsizetype I = 0;
        const qsizetype N = Value.size();
        while (I < N) {
            const qsizetype Start = I;
            while (I < N && Value.at(I) != u'\r' && Value.at(I) != u'\n')
                ++I;
            Add(Value.mid(Start, I - Start));
            if (I < N && Value.at(I) == u'\r')
                ++I;
            if (I < N && Value.at(I) == u'\n')
                ++I;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

QString TStrings::CommaText() const
{
    const int N = Count();
    if (N == 1 && Strings(0).isEmpty())
        return QStringLiteral("\"\"");
    QString Result;
    for (int I = 0; I < N; ++I) {
        if (I > 0)
            Result += u',';
        const QString S = Strings(I);
        Result += NeedsQuotes(S) ? AnsiQuotedStr(S, u'"') : S;
    }
    return Result;
}

void TStrings::SetCommaText(const QString& Value)
{
    BeginUpdate();
    try {
        Clear();
        qsizetype I = 0;
        const qsizetype N = Value.size();
        while (I < N && IsBlank(Value.at(I)))
            ++I;
        while (I < N) {
            if (Value.at(I) == u'"') {
                Add(ExtractQuoted(Value, I));
            } else {
                const qsizetype Start = I;
                while (I < N && Value.at(I).unicode() > u' ' && Value.at(I) != u',')
                    ++I;
                Add(Value.mid(Start, I - Start));
            }
            while (I < N && IsBlank(Value.at(I)))
                ++I;
            if (I < N && Value.at(I) == u',') {
                // A comma at the very end stands for one more, empty item.
                if (I + 1 == N)
                    Add(QString());
                do
                    ++I;
                while (I < N && IsBlank(Value.at(I)));
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

QString TStrings::Names(int Index) const
{
    const QString S = Strings(Index);
    const qsizetype P = S.indexOf(u'=');
    return P >= 0 ? S.left(P) : QString();
}

QString TStrings::Values(const QString& Name) const
{
    const int Index = IndexOfName(Name);
    return Index >= 0 ? ValueFromIndex(Index) : QString();
}

void TStrings::SetValues(const QString& Name, const QString& Value)
{
    int Index = IndexOfName(Name);
    if (!Value.isEmpty()) {
        if (Index < 0)
            Index = Add(QString());
        SetStrings(Index, Name + u'=' + Value);
    } else if (Index >= 0) {
        Delete(Index);
    }
}

QString TStrings::ValueFromIndex(int Index) const
{
    // The classic call returned the line minus its first character when the
    // line has no '='; such a line has no value.
    const QString S = Strings(Index);
    const qsizetype P = S.indexOf(u'=');
    return P >= 0 ? S.mid(P + 1) : QString();
}

void TStrings::BeginUpdate()
{
    ++FUpdateCount;
}

void TStrings::EndUpdate()
{
    if (FUpdateCount <= 0)
        return;
    if (--FUpdateCount == 0)
        Changed();
}

void TStrings::Changed()
{
    if (FUpdateCount == 0 && OnChange)
        OnChange(this);
}

QStringList TStrings::ToStringList() const
{
    QStringList Result;
    Result.reserve(Count());
    for (int I = 0; I < Count(); ++I)
        Result.append(Strings(I));
    return Result;
}

void TStrings::SetStringList(const QStringList& Lines)
{
    BeginUpdate();
    try {
        Clear();
        for (const QString& Line : Lines)
            Add(Line);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::LoadFromStream(TStream& Stream)
{
    SetText(DecodeText(Stream.ReadBytes(Stream.Remaining())));
}

void TStrings::SaveToStream(TStream& Stream) const
{
    Stream.WriteBytes(Text().toUtf8());
}

void TStrings::LoadFromFile(const QString& FileName)
{
    TMemoryStream Stream;
    Stream.LoadFromFile(FileName);
    LoadFromStream(Stream);
}

void TStrings::SaveToFile(const QString& FileName) const
{
    TMemoryStream Stream;
    SaveToStream(Stream);
    Stream.SaveToFile(FileName);
}

// ---------------------------------------------------------------- TStringList

TStringList::TStringList(const QStringList& Lines)
{
    FItems.reserve(Lines.size());
    for (const QString& Line : Lines)
        FItems.append(TItem{Line, nullptr});
}

TStringList::TStringList(const TStringList& Other)
    : TStrings()
    , FItems(Other.FItems)
    , FSorted(Other.FSorted)
    , FCaseSensitive(Other.FCaseSensitive)
    , FDuplicates(Other.FDuplicates)
{
}

TStringList& TStringList::operator=(const TStringList& Other)
{
    if (this == &Other)
        return *this;
    FItems = Other.FItems;
    FSorted = Other.FSorted;
    FCaseSensitive = Other.FCaseSensitive;
    FDuplicates = Other.FDuplicates;
    Changed();
    return *this;
}

void TStringList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        ListIndexError(Index);
}

QString TStringList::Strings(int Index) const
{
    CheckIndex(Index);
    return FItems.at(Index).Text;
}

void TStringList::SetStrings(int Index, const QString& S)
{
    if (FSorted)
        SortedListError();
    CheckIndex(Index);
    FItems[Index].Text = S;
    Changed();
}

void* TStringList::Objects(int Index) const
{
    CheckIndex(Index);
    return FItems.at(Index).Object;
}

void TStringList::SetObjects(int Index, void* Object)
{
    CheckIndex(Index);
    FItems[Index].Object = Object;
    Changed();
}

int TStringList::Add(const QString& S)
{
    return AddObject(S, nullptr);
}

int TStringList::AddObject(const QString& S, void* Object)
{
    int Index = Count();
    if (FSorted && Find(S, Index)) {
        if (FDuplicates == TDuplicates::dupIgnore)
            return Index;
        if (FDuplicates == TDuplicates::dupError)
            throw EListError(QStringLiteral("String list does not allow duplicates"));
    }
    FItems.insert(Index, TItem{S, Object});
    Changed();
    return Index;
}

void TStringList::Insert(int Index, const QString& S)
{
    InsertObject(Index, S, nullptr);
}

void TStringList::InsertObject(int Index, const QString& S, void* Object)
{
    if (FSorted)
        SortedListError();
    if (Index < 0 || Index > Count())
        ListIndexError(Index);
    FItems.insert(Index, TItem{S, Object});
    Changed();
}

void TStringList::Delete(int Index)
{
    CheckIndex(Index);
    FItems.removeAt(Index);
    Changed();
}

void TStringList::Clear()
{
    if (FItems.isEmpty())
        return;
    FItems.clear();
    Changed();
}

int TStringList::IndexOf(const QString& S) const
{
    if (!FSorted)
        return TStrings::IndexOf(S);
    int Index = -1;
    return Find(S, Index) ? Index : -1;
}

int TStringList::CompareStrings(const QString& A, const QString& B) const
{
    return FCaseSensitive ? AnsiCompareStr(A, B) : AnsiCompareText(A, B);
}

void TStringList::SetSorted(bool Value)
{
    if (FSorted == Value)
        return;
    if (Value)
        Sort();
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value)
{
    if (FCaseSensitive == Value)
        return;
    FCaseSensitive = Value;
    // The order changes with the comparison; Find needs it restored.
    if (FSorted)
        SortItems([](const TStringList& List, int A, int B) {
            return List.CompareStrings(List.FItems.at(A).Text, List.FItems.at(B).Text);
        });
}

bool TStringList::Find(const QString& S, int& Index) const
{
    bool Result = false;
    int L = 0;
    int H = Count() - 1;
    while (L <= H) {
        const int I = L + (H - L) / 2;
        const int C = CompareStrings(FItems.at(I).Text, S);
        if (C < 0) {
            L = I + 1;
        } else {
            H = I - 1;
            if (C == 0) {
                Result = true;
                if (FDuplicates != TDuplicates::dupAccept)
                    L = I;
            }
        }
    }
    Index = L;
    return Result;
}

void TStringList::Sort()
{
    CustomSort([](const TStringList& List, int A, int B) {
        return List.CompareStrings(List.FItems.at(A).Text, List.FItems.at(B).Text);
    });
}

void TStringList::CustomSort(const std::function<int(const TStringList&, int, int)>& Compare)
{
    if (FSorted || Count() < 2)
        return;
    SortItems(Compare);
}

void TStringList::SortItems(const std::function<int(const TStringList&, int, int)>& Compare)
{
    std::vector<int> Order(FItems.size());
    std::iota(Order.begin(), Order.end(), 0);
    std::stable_sort(Order.begin(), Order.end(),
                     [&](int A, int B) { return Compare(*this, A, B) < 0; });
    QList<TItem> Sorted;
    Sorted.reserve(FItems.size());
    for (int I : Order)
        Sorted.append(FItems.at(I));
    FItems = std::move(Sorted);
    Changed();
}
