// The deferred layout request and what the grid does when a field it shows,
// or its data source, goes away.
#include "GridFixture.h"
#include "platform/db/Field.h"

namespace {

class TDeferredFixture : public TGridTestFixture
{
public:
    TDeferredFixture()
        : TGridTestFixture({{"Name", ftWideString, 20}, {"Qty", ftInteger}, {"Amount", ftFloat}}, QSize(400, 300), 2)
    {
    }

    static void RunQueued() { QCoreApplication::processEvents(); }

protected:
    // A 1 1.5, B 2 2.5.
    QList<Variant> Record(int i) const override
    {
        return {Variant(QString(QChar(u'A' + i - 1))), Variant(i), Variant(i + 0.5)};
    }
};

} // namespace

TEST_F(TDeferredFixture, DeferredLayoutIsQueuedOnceAndRunsFromTheEventLoop)
{
    Grid->SetDataSource(Source.get());
    RunQueued();
    Grid->LayoutRequests = 0;
    Grid->DeferLayout();
    Grid->DeferLayout();
    EXPECT_TRUE(Grid->LayoutDeferred());
    EXPECT_EQ(Grid->LayoutRequests, 0);
    RunQueued();
    EXPECT_FALSE(Grid->LayoutDeferred());
    EXPECT_EQ(Grid->LayoutRequests, 1);
}

TEST_F(TDeferredFixture, LayoutPassDropsQueuedRequest)
{
    Grid->SetDataSource(Source.get());
    Grid->DeferLayout();
    Grid->LayoutChanged();
    EXPECT_FALSE(Grid->LayoutDeferred());
    Grid->LayoutRequests = 0;
    RunQueued();
    EXPECT_EQ(Grid->LayoutRequests, 0);
}

TEST_F(TDeferredFixture, DeferClosesOpenLayoutLevelWithoutLayingOut)
{
    AddColumn(QStringLiteral("Name"));
    Grid->SetDataSource(Source.get());
    ASSERT_EQ(Grid->ColCount(), 2);
    Grid->BeginLayout();
    AddColumn(QStringLiteral("Qty"));
    Grid->DeferLayout();
    // The level is closed but the pass waits for the queue.
    EXPECT_EQ(Grid->ColCount(), 2);
    RunQueued();
    EXPECT_EQ(Grid->ColCount(), 3);
    // No level is left open: a later change lays out at once.
    AddColumn(QStringLiteral("Amount"));
    EXPECT_EQ(Grid->ColCount(), 4);
}

TEST_F(TDeferredFixture, LoadedQueuesAFurtherLayout)
{
    Grid->BeginLoading();
    AddColumn(QStringLiteral("Name"));
    Grid->SetDataSource(Source.get());
    Grid->Loaded();
    EXPECT_EQ(Grid->ColCount(), 2);
    EXPECT_TRUE(Grid->LayoutDeferred());
    RunQueued();
    EXPECT_FALSE(Grid->LayoutDeferred());
}

TEST_F(TDeferredFixture, DeletingShownFieldRelaysOutDefaultColumnsAtOnce)
{
    Grid->SetDataSource(Source.get());
    ASSERT_EQ(Grid->Columns()->Count(), 3);
    delete Data->FieldByName(QStringLiteral("Qty"));
    ASSERT_EQ(Grid->Columns()->Count(), 2);
    EXPECT_EQ(Grid->Columns(0)->FieldName(), QStringLiteral("Name"));
    EXPECT_EQ(Grid->Columns(1)->FieldName(), QStringLiteral("Amount"));
    EXPECT_EQ(Grid->ColCount(), 3);
    EXPECT_FALSE(Grid->LayoutDeferred());
}

TEST_F(TDeferredFixture, DeletingShownFieldKeepsCustomColumnUnbound)
{
    AddColumn(QStringLiteral("Name"));
    TColumnEh* Qty = AddColumn(QStringLiteral("Qty"));
    Grid->SetDataSource(Source.get());
    ASSERT_NE(Qty->Field(), nullptr);
    Grid->LayoutRequests = 0;
    delete Data->FieldByName(QStringLiteral("Qty"));
    EXPECT_EQ(Qty->Field(), nullptr);
    EXPECT_EQ(Grid->Columns()->Count(), 2);
    EXPECT_GE(Grid->LayoutRequests, 1);
    EXPECT_FALSE(Grid->LayoutDeferred());
    // Painting the unbound column must not touch the deleted field.
    Grid->Invalidate();
    Grid->Update();
}

TEST_F(TDeferredFixture, DestroyingDatasetOnlyDefersLayout)
{
    AddColumn(QStringLiteral("Name"));
    Grid->SetDataSource(Source.get());
    Data.reset();
    EXPECT_TRUE(Grid->LayoutDeferred());
    RunQueued();
    EXPECT_FALSE(Grid->LayoutDeferred());
    EXPECT_EQ(Grid->Columns(0)->Field(), nullptr);
}

TEST_F(TDeferredFixture, RemovedDataSourceIsLetGo)
{
    Grid->SetDataSource(Source.get());
    Grid->Notification(Source.get(), opRemove);
    EXPECT_EQ(Grid->DataSource(), nullptr);
    Grid->SetDataSource(Source.get());
    Grid->Notification(Source.get(), opInsert);
    EXPECT_EQ(Grid->DataSource(), Source.get());
}

TEST_F(TDeferredFixture, ChangeScaleScalesFontsAndRunningWidths)
{
    TColumnEh* Name = AddColumn(QStringLiteral("Name"));
    TColumnEh* Qty = AddColumn(QStringLiteral("Qty"));
    TColumnEh* Amount = AddColumn(QStringLiteral("Amount"));
    Grid->SetDataSource(Source.get());
    Name->SetWidth(64);
    Qty->SetWidth(65);
    Amount->SetWidth(33);
    // Fonts of their own: the grid's title, footer and own font scale too.
    Grid->SetParentFont(false);
    Grid->TitleFont()->SetSize(9);
    Qty->Font()->SetSize(10);
    Amount->Footer()->Font()->SetSize(8);
    struct Row {
        const char* Name;
        int M, D;
        int Widths[3];
        int TitleSize, QtySize, FooterSize;
    };
    // 120/96 scales the sums 64, 129, 162 to 80, 161, 203: the last column
    // gets 42, where scaling it alone would give 41.
    const Row Rows[] = {
        {"same scale", 96, 96, {64, 65, 33}, 9, 10, 8},
        {"larger", 120, 96, {80, 81, 42}, 11, 13, 10},
        {"back", 96, 120, {64, 65, 33}, 9, 10, 8},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        Grid->ChangeScale(R.M, R.D);
        EXPECT_EQ(Name->Width(), R.Widths[0]);
        EXPECT_EQ(Qty->Width(), R.Widths[1]);
        EXPECT_EQ(Amount->Width(), R.Widths[2]);
        EXPECT_EQ(Grid->TitleFont()->Size(), R.TitleSize);
        EXPECT_EQ(Qty->Font()->Size(), R.QtySize);
        EXPECT_EQ(Amount->Footer()->Font()->Size(), R.FooterSize);
        EXPECT_EQ(Name->Font()->Size(), Grid->Font()->Size()) << "a font the column does not own follows the grid";
        EXPECT_EQ(Grid->ColWidths(2), Qty->Width());
    }
}

TEST_F(TDeferredFixture, ClosingOrReopeningTheDatasetNeedsNoFurtherLayout)
{
    AddColumn(QStringLiteral("Name"))->Title()->SetCaption(QStringLiteral("Name"));
    Grid->SetDataSource(Source.get());
    Grid->LayoutRequests = 0;
    Data->Close();
    const int AfterClose = Grid->LayoutRequests;
    EXPECT_FALSE(Grid->LayoutDeferred());
    Data->Open();
    EXPECT_NE(Grid->Columns(0)->Field(), nullptr);
    // Fields freed by the close ask for nothing beyond the link's own passes.
    EXPECT_LE(AfterClose, 2);
    // A field that no column shows changes nothing either.
    Grid->LayoutRequests = 0;
    delete Data->FieldByName(QStringLiteral("Amount"));
    EXPECT_EQ(Grid->LayoutRequests, 0);
}
