// TfrVariables: the ordered name/value list behind script variables, script
// constants and the dictionary's variables and aliases. Names compare without
// regard to case. Unsorted lists keep insertion order and find names through a
// hash of their case-folded forms; sorted lists keep names in order and find
// them by binary search. Each entry owns its value.
#pragma once

#include "platform/rtl/Variants.h"

#include <QHash>
#include <QList>
#include <QString>

class TfrVariables
{
public:
    TfrVariables() = default;
    TfrVariables(const TfrVariables&) = delete;
    TfrVariables& operator=(const TfrVariables&) = delete;

    // Overwrites the value of an existing name, else appends a new entry.
    void SetVariable(const QString& Name, const Variant& Value);
    // Null when the name is absent.
    Variant GetVariable(const QString& Name) const;

    int IndexOf(const QString& Name) const;
    // Out-of-range indexes: GetValue answers integer 0, GetName an empty text,
    // the setters do nothing.
    Variant GetValue(int Index) const;
    void SetValue(int Index, const Variant& Value);
    QString GetName(int Index) const;
    // A sorted list refuses a name another entry holds (EListError) and
    // changes nothing.
    void SetName(int Index, const QString& Name);
    int GetCount() const { return static_cast<int>(FItems.size()); }
    int Count() const { return GetCount(); }

    // Adds Name with the integer 0 and moves it to Position (sorted lists keep
    // their order instead).
    void Insert(int Position, const QString& Name);
    void Delete(int Index);
    void Clear();
    void Assign(const TfrVariables& Source);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);

private:
    struct TItem
    {
        QString Name;
        Variant Value;
    };
    // Sorted mode: position of Name or where it would go; Found tells which.
    int FindSorted(const QString& Name, bool& Found) const;
    void SortItems();
    // Drops the hash after a change that renames or moves entries; the next
    // look-up builds it again.
    void Unindex();

    QList<TItem> FItems;
    bool FSorted = false;
    // Unsorted lists: case-folded name -> index of the first entry of that
    // name, valid while FIndexed.
    mutable QHash<QString, int> FIndex;
    mutable bool FIndexed = false;
};
