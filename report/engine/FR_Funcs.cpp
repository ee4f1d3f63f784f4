#include "report/engine/FR_Funcs.h"

#include "platform/rtl/SysUtils.h"
#include "report/engine/FR_Utils.h"

namespace {

// Registered libraries, asked in this order. They hold no widgets, so the
// list may outlive the application object.
std::vector<std::unique_ptr<TfrFunctionLibrary>>& Libraries()
{
    static std::vector<std::unique_ptr<TfrFunctionLibrary>> List;
    return List;
}

TfrInstalledFunctions* InstalledFunctions = nullptr;
TfrCompressor* Compressor = nullptr;

int FindLibrary(const QString& ClassName)
{
    const auto& List = Libraries();
    for (size_t i = 0; i < List.size(); ++i)
        if (List[i]->ClassName() == ClassName)
            return static_cast<int>(i);
    return -1;
}

} // namespace

// ---------------------------------------------------------------- library

bool TfrFunctionLibrary::OnFunction(const QString& Name, const Variant& P1, const Variant& P2,
                                    const Variant& P3, Variant& Value)
{
    const int Index = FList.IndexOf(Name);
    if (Index < 0)
        return false;
    DoFunction(Index, P1, P2, P3, Value);
    return true;
}

void TfrFunctionLibrary::AddFunctionDesc(const QString& FuncName, const QString& Category,
                                         const QString& Description)
{
    frAddFunctionDesc(this, FuncName, Category, Description);
}

// ---------------------------------------------------------------- registry

void frRegisterFunctionLibrary(const TfrFunctionLibraryClass& ClassRef)
{
    if (!ClassRef.Create || FindLibrary(ClassRef.ClassName) >= 0)
        return;
    Libraries().push_back(ClassRef.Create());
}

void frUnRegisterFunctionLibrary(const TfrFunctionLibraryClass& ClassRef)
{
    const int Index = FindLibrary(ClassRef.ClassName);
    if (Index < 0)
        return;
    if (InstalledFunctions)
        InstalledFunctions->UnRegisterLibrary(ClassRef.ClassName);
    Libraries().erase(Libraries().begin() + Index);
}

int frFunctionLibraryCount()
{
    return static_cast<int>(Libraries().size());
}

TfrFunctionLibrary* frFunctionLibrary(int Index)
{
    return Libraries().at(Index).get();
}

bool frCallLibraryFunction(const QString& Name, const Variant& P1, const Variant& P2,
                           const Variant& P3, Variant& Value)
{
    // By index: a function may register or unregister libraries while it runs.
    for (size_t i = 0; i < Libraries().size(); ++i)
        if (Libraries()[i]->OnFunction(Name, P1, P2, P3, Value))
            return true;
    return false;
}

// ---------------------------------------------------------------- descriptions

void TfrInstalledFunctions::Add(const TfrFunctionLibrary* Library, const QString& FuncName,
                                const QString& Category, const QString& Description)
{
    if (Category.isEmpty())
        return;
    for (const TRecord& R : FRecords)
        if (R.FunctionName == FuncName)
            return;
    FRecords.push_back({Library ? Library->ClassName() : QString(), FuncName, Category, Description});
}

QString TfrInstalledFunctions::GetFunctionDescription(const QString& Name) const
{
    for (const TRecord& R : FRecords)
        if (SameText(R.FunctionName, Name))
            return R.Description;
    return QString();
}

void TfrInstalledFunctions::GetCategoryList(TStrings& List) const
{
    TStringList Sorted;
    Sorted.SetSorted(true);
    Sorted.SetDuplicates(TDuplicates::dupIgnore);
    for (const TRecord& R : FRecords)
        Sorted.Add(R.Category);
    List.Assign(Sorted);
}

void TfrInstalledFunctions::GetFunctionList(const QString& Category, TStrings& List) const
{
    const bool All = Category.isEmpty() || Category == LoadEngineString(55348);
    TStringList Sorted;
    Sorted.SetSorted(true);
    Sorted.SetDuplicates(TDuplicates::dupAccept);
    for (const TRecord& R : FRecords)
        if (All || SameText(R.Category, Category))
            Sorted.Add(R.FunctionName);
    List.Assign(Sorted);
}

void TfrInstalledFunctions::UnRegisterLibrary(const QString& LibraryClass)
{
    std::erase_if(FRecords, [&](const TRecord& R) { return R.LibraryClass == LibraryClass; });
}

TfrInstalledFunctions* frInstalledFunctions()
{
    return InstalledFunctions;
}

void frSetInstalledFunctions(TfrInstalledFunctions* Value)
{
    InstalledFunctions = Value;
}

void frAddFunctionDesc(const TfrFunctionLibrary* Library, const QString& FuncName,
                       const QString& Category, const QString& Description)
{
    if (InstalledFunctions)
        InstalledFunctions->Add(Library, FuncName, Category, Description);
}

// ---------------------------------------------------------------- compressor

void TfrCompressor::Compress(TStream&, TStream&) {}

void TfrCompressor::DeCompress(TStream&, TStream&) {}

TfrCompressor* frCompressor()
{
    return Compressor;
}

void frSetCompressor(TfrCompressor* Value)
{
    Compressor = Value;
}
