#include "report/engine/FR_Variables.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>

namespace {

int CompareNames(const QString& A, const QString& B)
{
    return QString::compare(A, B, Qt::CaseInsensitive);
}

// Equal for exactly the names CompareNames finds equal.
QString NameKey(const QString& Name)
{
    return Name.toCaseFolded();
}

} // namespace

int TfrVariables::FindSorted(const QString& Name, bool& Found) const
{
    int Lo = 0;
    int Hi = GetCount() - 1;
    Found = false;
    while (Lo <= Hi) {
        const int Mid = (Lo + Hi) / 2;
        const int C = CompareNames(FItems[Mid].Name, Name);
        if (C < 0) {
            Lo = Mid + 1;
        } else {
            Hi = Mid - 1;
            if (C == 0)
                Found = true;
        }
    }
    return Lo;
}

int TfrVariables::IndexOf(const QString& Name) const
{
    if (FSorted) {
        bool Found = false;
        const int I = FindSorted(Name, Found);
        return Found ? I : -1;
    }
    // One look-up per name, so that reading a list of many entries stays
    // linear.
    if (!FIndexed) {
        FIndex.clear();
        FIndex.reserve(GetCount());
        // From the back, so that the first entry of a name wins.
        for (int I = GetCount() - 1; I >= 0; --I)
            FIndex.insert(NameKey(FItems[I].Name), I);
        FIndexed = true;
    }
    return FIndex.value(NameKey(Name), -1);
}

void TfrVariables::Unindex()
{
    FIndexed = false;
    FIndex.clear();
}

void TfrVariables::SetVariable(const QString& Name, const Variant& Value)
{
    if (FSorted) {
        bool Found = false;
        const int I = FindSorted(Name, Found);
        if (Found)
            FItems[I].Value = Value;
        else
            FItems.insert(I, TItem{Name, Value});
        return;
    }
    const int I = IndexOf(Name);
    if (I >= 0) {
        FItems[I].Value = Value;
        return;
    }
    FItems.append(TItem{Name, Value});
    FIndex.insert(NameKey(Name), GetCount() - 1);
}

Variant TfrVariables::GetVariable(const QString& Name) const
{
    const int I = IndexOf(Name);
    return I >= 0 ? FItems[I].Value : Variant::Null();
}

Variant TfrVariables::GetValue(int Index) const
{
    if (Index < 0 || Index >= GetCount())
        return Variant(0);
    return FItems[Index].Value;
}

void TfrVariables::SetValue(int Index, const Variant& Value)
{
    if (Index >= 0 && Index < GetCount())
        FItems[Index].Value = Value;
}

QString TfrVariables::GetName(int Index) const
{
    if (Index < 0 || Index >= GetCount())
        return QString();
    return FItems[Index].Name;
}

void TfrVariables::SetName(int Index, const QString& Name)
{
    if (Index < 0 || Index >= GetCount())
        return;
    if (!FSorted) {
        FItems[Index].Name = Name;
        Unindex();
        return;
    }
    // A sorted list must stay ordered and free of duplicates: the renamed
    // entry moves to its place; a name another entry holds is refused before
    // anything changes.
    const int Existing = IndexOf(Name);
    if (Existing >= 0 && Existing != Index)
        throw EListError(QStringLiteral("String list does not allow duplicates: \"%1\"").arg(Name));
    TItem Item = FItems.takeAt(Index);
    bool Found = false;
    const int I = FindSorted(Name, Found);
    Item.Name = Name;
    FItems.insert(I, std::move(Item));
}

void TfrVariables::Insert(int Position, const QString& Name)
{
    SetVariable(Name, Variant(0));
    if (FSorted)
        return;
    const int From = IndexOf(Name);
    const int To = std::clamp(Position, 0, GetCount() - 1);
    if (From >= 0 && From != To) {
        FItems.move(From, To);
        Unindex();
    }
}

void TfrVariables::Delete(int Index)
{
    if (Index >= 0 && Index < GetCount()) {
        FItems.removeAt(Index);
        Unindex();
    }
}

void TfrVariables::Clear()
{
    FItems.clear();
    Unindex();
}

void TfrVariables::Assign(const TfrVariables& Source)
{
    if (&Source == this)
        return;
    Clear();
    for (const TItem& Item : Source.FItems)
        SetVariable(Item.Name, Item.Value);
}

void TfrVariables::SetSorted(bool Value)
{
    if (FSorted == Value)
        return;
    FSorted = Value;
    Unindex();
    if (FSorted)
        SortItems();
}

void TfrVariables::SortItems()
{
    std::stable_sort(FItems.begin(), FItems.end(), [](const TItem& A, const TItem& B) {
        return CompareNames(A.Name, B.Name) < 0;
    });
    // Duplicates are not kept in sorted mode: the first entry of a name wins.
    auto Last = std::unique(FItems.begin(), FItems.end(), [](const TItem& A, const TItem& B) {
        return CompareNames(A.Name, B.Name) == 0;
    });
    FItems.erase(Last, FItems.end());
}
