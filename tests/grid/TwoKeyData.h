// Shared by the grid tests: a list of branches keyed by two fields (Region,
// Code) and a dataset whose lookup field Branch picks one through its own
// two key fields, with one record keyed (Region 2, Code 1) = "South".
#pragma once

#include "platform/db/Field.h"
#include "platform/db/MemDataSet.h"

struct TTwoKeyData
{
    TMemDataSet Branches;
    TMemDataSet Data;
    TField* Branch = nullptr;

    TTwoKeyData(const char* Key1, const char* Key2)
    {
        for (const char* Name : {"Region", "Code"})
            Branches.FieldDefs()->Add(QString::fromLatin1(Name), ftInteger);
        Branches.FieldDefs()->Add(QStringLiteral("Name"), ftWideString, 20);
        Branches.Open();
        Branches.AppendRecord({Variant(1), Variant(1), Variant("North")});
        Branches.AppendRecord({Variant(1), Variant(2), Variant("Northeast")});
        Branches.AppendRecord({Variant(2), Variant(1), Variant("South")});
        for (const char* Name : {Key1, Key2}) {
            Data.FieldDefs()->Add(QString::fromLatin1(Name), ftInteger);
            auto* F = new TField(&Data);
            F->SetFieldName(QString::fromLatin1(Name));
            F->SetDataType(ftInteger);
            F->SetDataSet(&Data);
        }
        Branch = new TField(&Data);
        Branch->SetFieldName(QStringLiteral("Branch"));
        Branch->SetDataType(ftWideString);
        Branch->SetFieldKind(fkLookup);
        Branch->SetKeyFields(QString::fromLatin1(Key1) + u';' + QString::fromLatin1(Key2));
        Branch->SetLookupDataSet(&Branches);
        Branch->SetLookupKeyFields(QStringLiteral("Region;Code"));
        Branch->SetLookupResultField(QStringLiteral("Name"));
        Branch->SetDataSet(&Data);
        Data.Open();
        Data.AppendRecord({Variant(2), Variant(1)});
        Data.First();
    }
};
