// Shared helpers of the data-source, dictionary and printer tests: a report
// owned by a form with datasets, a data module and a frame, all found by name.
#pragma once

#include "platform/db/MemDataSet.h"
#include "report/engine/FR_Class.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Utils.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace datatest {

inline TMemDataSet* MakeDataSet(QObject* Owner, const QString& Name, const QStringList& Fields, int Rows)
{
    auto* D = new TMemDataSet(Owner);
    D->setObjectName(Name);
    for (const QString& F : Fields)
        D->FieldDefs()->Add(F, ftInteger);
    D->Open();
    for (int r = 1; r <= Rows; ++r) {
        QList<Variant> Values;
        for (int f = 0; f < Fields.size(); ++f)
            Values << Variant(r * 10 + f);
        D->AppendRecord(Values);
    }
    D->First();
    return D;
}

// FormA owns the report and Query1 (fields Name, "A.B", Amount); the data
// module DM holds Query2 (Amount); FormB's frame Frame1 holds Query3 (Code).
class TReportWorld : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FormA.setObjectName("FormA");
        Report = new TfrReport(&FormA);
        Query1 = MakeDataSet(&FormA, "Query1", {"Name", "A.B", "Amount"}, 3);
        DM.setObjectName("DM");
        Query2 = MakeDataSet(&DM, "Query2", {"Amount"}, 2);
        FormB.setObjectName("FormB");
        auto* Frame = new QObject(&FormB);
        Frame->setObjectName("Frame1");
        Query3 = MakeDataSet(Frame, "Query3", {"Code"}, 1);
        frRegisterGlobalComponent(&DM);
        frRegisterGlobalComponent(&FormB);
        CurReport = Report;
    }
    void TearDown() override
    {
        CurReport = nullptr;
        frUnregisterGlobalComponent(&DM);
        frUnregisterGlobalComponent(&FormB);
    }

    QObject FormA, DM, FormB;
    TfrReport* Report = nullptr;
    TMemDataSet* Query1 = nullptr;
    TMemDataSet* Query2 = nullptr;
    TMemDataSet* Query3 = nullptr;
};

} // namespace datatest
