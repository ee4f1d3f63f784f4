// A grid over a fresh in-memory dataset: Id (integer), Name (string), Amount
// (float), Paid (Boolean), with three rows.
#pragma once

#include "GridTestUtil.h"
#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "platform/db/DataSource.h"
#include "platform/db/MemDataSet.h"

#include <gtest/gtest.h>
#include <memory>

// Counts the grid's change notifications.
class TCountingGridEh : public TDBGridEh
{
public:
    using TDBGridEh::TDBGridEh;
    int Notifications = 0;

protected:
    void ColumnsChanged(TColumnEh* Item) override
    {
        ++Notifications;
        TDBGridEh::ColumnsChanged(Item);
    }
};

class TGridFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Data = std::make_unique<TMemDataSet>();
        Data->FieldDefs()->Add(QStringLiteral("Id"), ftInteger);
        Data->FieldDefs()->Add(QStringLiteral("Name"), ftWideString, 10);
        Data->FieldDefs()->Add(QStringLiteral("Amount"), ftFloat);
        Data->FieldDefs()->Add(QStringLiteral("Paid"), ftBoolean);
        Data->Open();
        Data->AppendRecord({Variant(1), Variant("Ann"), Variant(1.5), Variant(true)});
        Data->AppendRecord({Variant(2), Variant("Bob"), Variant::Null(), Variant(false)});
        Data->AppendRecord({Variant(3), Variant("Cy"), Variant(2.25), Variant::Null()});
        Data->First();
        Source = std::make_unique<TDataSource>();
        Source->SetDataSet(Data.get());
        Grid = std::make_unique<TCountingGridEh>();
    }

    void TearDown() override
    {
        Grid.reset();
        Source.reset();
        Data.reset();
    }

    TColumnEh* AddColumn(const char* FieldName)
    {
        TColumnEh* C = Grid->Columns()->Add();
        C->SetFieldName(QString::fromUtf8(FieldName));
        return C;
    }

    void Link() { Grid->SetDataSource(Source.get()); }

    std::unique_ptr<TMemDataSet> Data;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TCountingGridEh> Grid;
};
