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
    virtual QString Strings(int Index) const = 0;          // raises EListError out of range
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
    void Exchange(int A, int B);
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

    // Name=value pairs.
    QString Names(int Index) const;
    QString Values(const QString& Name) const;
    void SetValues(const QString& Name, const QString& Value); // empty value removes the line
    QString ValueFromIndex(int Index) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    QStringList ToStringList() const;
    void SetStringList(const QStringList& Lines);

    // Called after each change while no update is open.
    std::function<void(TStrings* Sender)> OnChange;

protected:
    virtual void Changed();

private:
    int FUpdateCount = 0;
};

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
    void Delete(int Index) override;
    void Clear() override;
    int IndexOf(const QString& S) const override;

    // Sorted mode keeps lines in case-insensitive order (CaseSensitive switches);
    // Add places the line and obeys Duplicates; Insert into a sorted list raises.
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    bool Find(const QString& S, int& Index) const;        // binary search in sorted mode
    void Sort();
    void CustomSort(const std::function<int(const TStringList&, int, int)>& Compare);

private:
    struct TItem
    {
        QString Text;
        void* Object = nullptr;
    };
    int CompareStrings(const QString& A, const QString& B) const;

    QList<TItem> FItems;
    bool FSorted = false;
    bool FCaseSensitive = false;
    TDuplicates FDuplicates = TDuplicates::dupIgnore;
};
