// The classic string lists: SQL text, memo lines, scripts, name=value pairs.
// Qt widgets keep their own item APIs; these are for the program's own data.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <QList>
#include <QString>
#include <functional>

class TStream;

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings
{
public:
    virtual ~TStrings() = default;

    virtual int Count() const = 0;
    // Index errors raise EListError "List index out of bounds (%d)".
    virtual QString Strings(int Index) const = 0;
    virtual void SetStrings(int Index, const QString& S) = 0;
    virtual void* Objects(int Index) const = 0;            // not owned
    virtual void SetObjects(int Index, void* Object) = 0;
    virtual int Add(const QString& S);                      // index of the new line
    virtual int AddObject(const QString& S, void* Object);
    virtual void Insert(int Index, const QString& S) = 0;
    virtual void InsertObject(int Index, const QString& S, void* Object);
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    virtual int IndexOf(const QString& S) const;           // case-insensitive, -1 when absent
    int IndexOfObject(void* Object) const;
    int IndexOfName(const QString& Name) const;
    void Exchange(int A, int B);      // through SetStrings, so a sorted list raises
    void Move(int From, int To);
    void Assign(const TStrings& Source);
    void AddStrings(const TStrings& Source);
    bool Equals(const TStrings& Other) const;

    // Lines joined with "\r\n" (each line ends with it); setting splits at CR, LF or CRLF.
    QString Text() const;
    void SetText(const QString& Value);
    // Comma text: items quoted when they contain spaces, commas or quotes.
    QString CommaText() const;
    void SetCommaText(const QString& Value);

    // Name=value pairs; names match without regard to case. A line without '='
    // has an empty name and an empty value.
    QString Names(int Index) const;
    QString Values(const QString& Name) const;
    void SetValues(const QString& Name, const QString& Value); // empty value removes the line
    QString ValueFromIndex(int Index) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    QStringList ToStringList() const;
    void SetStringList(const QStringList& Lines);

    // Files and streams hold the Text form in UTF-8. Reading skips a BOM and
    // takes bytes that are not valid UTF-8 as GBK, the older files' encoding.
    void LoadFromStream(TStream& Stream);   // from the current position to the end
    void SaveToStream(TStream& Stream) const;
    void LoadFromFile(const QString& FileName);   // raises EReadError
    void SaveToFile(const QString& FileName) const; // raises EWriteError

    // Called after each change while no update is open, and once when the
    // outermost EndUpdate closes.
    std::function<void(TStrings* Sender)> OnChange;

protected:
    virtual void Changed();
    // Equality and order of lines for IndexOf and IndexOfName.
    virtual int CompareStrings(const QString& A, const QString& B) const;

private:
    int FUpdateCount = 0;
};

// Copies take the lines, objects and settings, never the OnChange handler.
class TStringList : public TStrings
{
public:
    TStringList() = default;
    explicit TStringList(const QStringList& Lines);
    TStringList(const TStringList& Other);
    TStringList& operator=(const TStringList& Other);

    int Count() const override { return static_cast<int>(FItems.size()); }
    QString Strings(int Index) const override;
    void SetStrings(int Index, const QString& S) override;
    void* Objects(int Index) const override;
    void SetObjects(int Index, void* Object) override;
    int Add(const QString& S) override;
    int AddObject(const QString& S, void* Object) override;
    void Insert(int Index, const QString& S) override;
    void InsertObject(int Index, const QString& S, void* Object) override;
    void Delete(int Index) override;
    void Clear() override;
    int IndexOf(const QString& S) const override;

    // Sorted mode keeps lines in case-insensitive order (CaseSensitive switches);
    // Add places the line and obeys Duplicates (dupIgnore returns the index of
    // the line already there, dupError raises "String list does not allow
    // duplicates"); Insert and SetStrings on a sorted list raise EListError
    // "Operation not allowed on sorted list".
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    // Binary search, meaningful in sorted mode: true when found; Index is the
    // first equal line or where S would go.
    bool Find(const QString& S, int& Index) const;
    void Sort();   // nothing to do while Sorted
    // Stable sort; Compare sees the list as it was before sorting, by index.
    void CustomSort(const std::function<int(const TStringList&, int, int)>& Compare);

protected:
    int CompareStrings(const QString& A, const QString& B) const override;

private:
    struct TItem
    {
        QString Text;
        void* Object = nullptr;
    };
    void CheckIndex(int Index) const;
    void SortItems(const std::function<int(const TStringList&, int, int)>& Compare);

    QList<TItem> FItems;
    bool FSorted = false;
    bool FCaseSensitive = false;
    TDuplicates FDuplicates = TDuplicates::dupIgnore;
};
