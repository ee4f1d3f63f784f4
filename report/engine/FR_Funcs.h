// Function libraries: the functions report expressions call (SUM,
// FORMATDATETIME, FIELDISNULL ...) come from libraries registered with the
// engine, one instance per library class, asked in registration order. The
// installed-functions list keeps a category and a description per function
// for the designer's function picker. TfrCompressor is the hook through which
// prepared pages could be compressed; the engine ships only the empty base.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/rtl/Variants.h"

#include <QString>
#include <memory>
#include <vector>

class TStream;
class TfrFunctionLibrary;

// A library class as the registry knows it: its name and how to make one.
struct TfrFunctionLibraryClass
{
    QString ClassName;
    std::unique_ptr<TfrFunctionLibrary> (*Create)() = nullptr;
};

class TfrFunctionLibrary
{
public:
    TfrFunctionLibrary() = default;
    virtual ~TfrFunctionLibrary() = default;
    TfrFunctionLibrary(const TfrFunctionLibrary&) = delete;
    TfrFunctionLibrary& operator=(const TfrFunctionLibrary&) = delete;

    virtual QString ClassName() const = 0;

    // Upper-case function names; a name's index is its number in DoFunction.
    TStringList* List() { return &FList; }
    const TStringList* List() const { return &FList; }

    // True when Name (any case) is one of this library's functions, which
    // then has stored its result in Value.
    virtual bool OnFunction(const QString& Name, const Variant& P1, const Variant& P2,
                            const Variant& P3, Variant& Value);
    virtual void DoFunction(int FNo, const Variant& P1, const Variant& P2, const Variant& P3,
                            Variant& Value) = 0;
    void AddFunctionDesc(const QString& FuncName, const QString& Category,
                         const QString& Description);

private:
    TStringList FList;
};

template <class T>
TfrFunctionLibraryClass frLibraryClass()
{
    return {QString::fromLatin1(T::StaticClassName),
            [] { return std::unique_ptr<TfrFunctionLibrary>(new T); }};
}

// Nothing happens when a library of that class name is registered already.
void frRegisterFunctionLibrary(const TfrFunctionLibraryClass& ClassRef);
// Frees the library of that class name and drops its descriptions.
void frUnRegisterFunctionLibrary(const TfrFunctionLibraryClass& ClassRef);
int frFunctionLibraryCount();
TfrFunctionLibrary* frFunctionLibrary(int Index);

// Asks the registered libraries in order; the first that knows Name stores
// its result in Value and the answer is true.
bool frCallLibraryFunction(const QString& Name, const Variant& P1, const Variant& P2,
                           const Variant& P3, Variant& Value);

class TfrInstalledFunctions
{
public:
    struct TRecord
    {
        QString LibraryClass;
        QString FunctionName;
        QString Category;
        QString Description;
    };

    // Empty categories and names already described are not added.
    void Add(const TfrFunctionLibrary* Library, const QString& FuncName, const QString& Category,
             const QString& Description);
    // By name in any case; empty when none.
    QString GetFunctionDescription(const QString& Name) const;
    // Distinct categories, sorted.
    void GetCategoryList(TStrings& List) const;
    // Names of Category (any case), sorted; "All functions" or an empty
    // category gives every function.
    void GetFunctionList(const QString& Category, TStrings& List) const;
    void UnRegisterLibrary(const QString& LibraryClass);
    int Count() const { return static_cast<int>(FRecords.size()); }
    const TRecord& Records(int Index) const { return FRecords.at(Index); }

private:
    std::vector<TRecord> FRecords;
};

// The engine's list; none before the engine globals are made.
TfrInstalledFunctions* frInstalledFunctions();
void frSetInstalledFunctions(TfrInstalledFunctions* Value);
void frAddFunctionDesc(const TfrFunctionLibrary* Library, const QString& FuncName,
                       const QString& Category, const QString& Description);

class TfrCompressor
{
public:
    TfrCompressor() = default;
    virtual ~TfrCompressor() = default;
    TfrCompressor(const TfrCompressor&) = delete;
    TfrCompressor& operator=(const TfrCompressor&) = delete;

    bool Enabled() const { return FEnabled; }
    virtual void Compress(TStream& Source, TStream& Target);
    virtual void DeCompress(TStream& Source, TStream& Target);

protected:
    bool FEnabled = false;
};

// The engine's compressor hook; none before the engine globals are made.
TfrCompressor* frCompressor();
void frSetCompressor(TfrCompressor* Value);
