// The layout pass and the lock around it: widths the user sets, widths the
// grid sets itself, default columns following the fields, loading, scaling
// and the grid's update counter.
#include "GridFixture.h"
#include "platform/db/Field.h"
#include "platform/gui/Screen.h"
#include "platform/gui/SystemMetrics.h"

#include <QPixmap>
#include <functional>

namespace {

class TLayoutFixture : public TGridTestFixture
{
public:
    TLayoutFixture()
        : TGridTestFixture({{"Name", ftWideString, 20}, {"Qty", ftInteger}, {"Amount", ftFloat}}, QSize(400, 200), 3)
    {
    }

    // "A|B|C" of the columns' field names.
    QString FieldNames() const
    {
        QStringList L;
        for (int i = 0; i < Grid->Columns()->Count(); ++i)
            L << Grid->Columns(i)->FieldName();
        return L.join(u'|');
    }

protected:
    QList<Variant> Record(int i) const override
    {
        return {Variant(QStringLiteral("Item %1").arg(i)), Variant(i), Variant(i * 1.5)};
    }
};

} // namespace

// Switching the indicator on shifts the grid's columns by one; the widths
// the layout sets then must not be read back as if the user had set them.
TEST_F(TLayoutFixture, IndicatorToggleKeepsColumnWidths)
{
    for (const bool Linked : {false, true}) {
        SCOPED_TRACE(Linked ? "linked" : "unlinked");
        NewGrid();
        Grid->SetOptions(Grid->Options() - TDBGridOptions({dgIndicator}));
        AddColumn(QStringLiteral("Name"), 50);
        AddColumn(QStringLiteral("Qty"), 100);
        AddColumn(QStringLiteral("Amount"), 150);
        if (Linked)
            Grid->SetDataSource(Source.get());
        int Changes = 0;
        Grid->OnColWidthsChanged = [&](QObject*) { ++Changes; };
        for (const bool Indicator : {true, false, true}) {
            Grid->SetOptions(Indicator ? Grid->Options() + TDBGridOptions({dgIndicator})
                                       : Grid->Options() - TDBGridOptions({dgIndicator}));
            const int Offset = Indicator ? 1 : 0;
            EXPECT_EQ(Grid->Columns(0)->Width(), 50);
            EXPECT_EQ(Grid->Columns(1)->Width(), 100);
            EXPECT_EQ(Grid->Columns(2)->Width(), 150);
            EXPECT_EQ(Grid->ColWidths(Offset + 2), 150);
        }
        EXPECT_EQ(Changes, 0) << "widths set by the layout are no user change";
    }
}

// A width the user drags goes through the column's limits and, under
// auto-fit, into the shares (laid-out widths) of the columns.
TEST_F(TLayoutFixture, UserWidthChangesFollowTheColumnRules)
{
    struct Row {
        const char* Name;
        bool AutoFit;
        bool WholeRight;
        int Column;          // the one the user resizes
        int NewWidth;
        int MinWidth, MaxWidth;
        bool SecondFits;     // AutoFitColWidth of the middle column
        int Widths[3];       // Width after the change (-1: not checked)
        int Layouts[3];      // laid-out width after the change (-1: not checked)
    };
    const Row Rows[] = {
        {"plain width", false, false, 1, 130, 0, 0, true, {50, 130, 150}, {-1, -1, -1}},
        {"raised to MinWidth", false, false, 1, 80, 120, 0, true, {50, 120, 150}, {-1, -1, -1}},
        {"cut to MaxWidth", false, false, 1, 200, 0, 110, true, {50, 110, 150}, {-1, -1, -1}},
        {"auto-fit: next gives up as much", true, false, 0, 80, 0, 0, true, {80, 70, 150}, {80, 70, 150}},
        {"auto-fit: next not below 0", true, false, 1, 300, 0, 0, true, {43, 257, 0}, {50, 300, 0}},
        {"auto-fit: fixed column takes the width", true, false, 1, 130, 0, 0, false, {-1, 130, -1}, {50, 100, 150}},
        {"whole right part", true, true, 0, 80, 0, 0, true, {80, 88, 132}, {80, 88, 132}},
        {"whole right part: at least 1", true, true, 0, 340, 0, 0, true, {-1, -1, -1}, {340, 1, 1}},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        Grid = std::make_unique<TTestGridEh>();
        // Narrow on purpose: MinAutoFitWidth makes the room exactly 300.
        Grid->resize(120, 200);
        Grid->SetOptions(Grid->Options() - TDBGridOptions({dgIndicator, dgColLines}));
        Grid->SetMinAutoFitWidth(300);
        if (R.WholeRight)
            Grid->SetOptionsEh(Grid->OptionsEh() + TDBGridEhOptions({dghResizeWholeRightPart}));
        TColumnEh* C[3] = {AddColumn(QStringLiteral("Name"), 50), AddColumn(QStringLiteral("Qty"), 100),
                           AddColumn(QStringLiteral("Amount"), 150)};
        C[1]->SetMinWidth(R.MinWidth);
        C[1]->SetMaxWidth(R.MaxWidth);
        C[1]->SetAutoFitColWidth(R.SecondFits);
        Grid->SetAutoFitColWidths(R.AutoFit);
        ASSERT_EQ(C[2]->Width(), 150);
        int Changes = 0;
        Grid->OnColWidthsChanged = [&](QObject*) { ++Changes; };
        Grid->SetColWidths(R.Column, R.NewWidth);
        EXPECT_EQ(Changes, 1);
        for (int i = 0; i < 3; ++i) {
            if (R.Widths[i] >= 0) {
                EXPECT_EQ(C[i]->Width(), R.Widths[i]) << "column " << i;
            }
            if (R.Layouts[i] >= 0) {
                EXPECT_EQ(C[i]->LayoutWidth(), R.Layouts[i]) << "column " << i;
            }
        }
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(Grid->ColWidths(i), std::max(1, C[i]->Width())) << "column " << i;
    }
}

TEST_F(TLayoutFixture, DefaultColumnsKeepRunTimeSettingsWhileFieldsChange)
{
    Grid->SetDataSource(Source.get());
    ASSERT_EQ(FieldNames(), QStringLiteral("Name|Qty|Amount"));
    TColumnEh* Amount = Grid->Columns(2);
    Amount->Footer()->SetValueType(fvtStaticText);
    Amount->Footer()->SetValue(QStringLiteral("合计"));
    auto FooterOfAmount = [this] {
        for (int i = 0; i < Grid->Columns()->Count(); ++i)
            if (Grid->Columns(i)->FieldName() == QStringLiteral("Amount"))
                return Grid->Columns(i)->Footer()->Value();
        return QStringLiteral("<no column>");
    };
    struct Step {
        const char* Name;
        std::function<void()> Act;
        const char* Columns;
    };
    const Step Steps[] = {
        {"field hidden", [&] { Data->FieldByName(QStringLiteral("Qty"))->SetVisible(false); }, "Name|Amount"},
        {"field shown again", [&] { Data->FieldByName(QStringLiteral("Qty"))->SetVisible(true); },
         "Name|Qty|Amount"},
        {"field moved", [&] { Data->FieldByName(QStringLiteral("Amount"))->SetIndex(0); }, "Amount|Name|Qty"},
        {"closed and opened", [&] { Data->Close(); Data->Open(); }, "Name|Qty|Amount"},
        {"field added",
         [&] {
             Data->Close();
             Data->FieldDefs()->Add(QStringLiteral("Note"), ftWideString, 10);
             Data->Open();
         },
         "Name|Qty|Amount|Note"},
        {"field dropped",
         [&] {
             Data->Close();
             Data->FieldDefs()->Clear();
             Data->FieldDefs()->Add(QStringLiteral("Amount"), ftFloat);
             Data->FieldDefs()->Add(QStringLiteral("Note"), ftWideString, 10);
             Data->Open();
         },
         "Amount|Note"},
    };
    for (const Step& S : Steps) {
        SCOPED_TRACE(S.Name);
        S.Act();
        EXPECT_EQ(FieldNames(), QString::fromUtf8(S.Columns));
        EXPECT_EQ(FooterOfAmount(), QStringLiteral("合计"));
        EXPECT_FALSE(Grid->Columns()->Customized());
        for (int i = 0; i < Grid->Columns()->Count(); ++i)
            EXPECT_EQ(Grid->Columns(i)->Field(), Data->FieldByName(Grid->Columns(i)->FieldName()));
        EXPECT_EQ(Grid->ColCount(), Grid->Columns()->Count() + 1);
    }
    // Another dataset, still closed: nothing of the first one stays.
    TMemDataSet Other;
    Other.FieldDefs()->Add(QStringLiteral("Code"), ftInteger);
    TDataSource OtherSource;
    OtherSource.SetDataSet(&Other);
    Grid->SetDataSource(&OtherSource);
    EXPECT_EQ(Grid->Columns()->Count(), 0);
    Other.Open();
    EXPECT_EQ(FieldNames(), QStringLiteral("Code"));
    // Only a grid without a dataset lets its default columns go.
    Grid->SetDataSource(nullptr);
    EXPECT_EQ(Grid->Columns()->Count(), 0);
}

TEST_F(TLayoutFixture, DefaultColumnsMixedWithColumnsSetUpByCodeAreFreed)
{
    AddColumn(QStringLiteral("Qty"), 60);
    Grid->SetDataSource(Source.get());
    Grid->Columns()->AddDefaultColumn(Data->FieldByName(QStringLiteral("Name")));
    // A default column behind the stored ones is left alone ...
    EXPECT_EQ(FieldNames(), QStringLiteral("Qty|Name"));
    // ... but one in front of a stored column goes.
    Grid->Columns()->Move(1, 0);
    EXPECT_EQ(FieldNames(), QStringLiteral("Qty"));
    EXPECT_TRUE(Grid->Columns()->Customized());
}

TEST_F(TLayoutFixture, LoadedTakesOverWhatWasRead)
{
    Grid->BeginLoading();
    Grid->SetAutoFitColWidths(true);
    TColumnEh* Name = AddColumn(QStringLiteral("Name"), 80);
    TColumnEh* Qty = AddColumn(QStringLiteral("Qty"), 40);
    TColumnEh* Amount = AddColumn(QStringLiteral("Amount"), 60);
    Grid->SetOptionsEh(Grid->OptionsEh() + TDBGridEhOptions({dghMultiSortMarking}));
    Amount->Title()->SetSortMarker(smUpEh);
    Name->Title()->SetSortMarker(smDownEh);
    Amount->Title()->SetSortIndex(2);
    Name->Title()->SetSortIndex(1);
    Grid->SetDataSource(Source.get());
    Grid->Loaded();
    EXPECT_FALSE(Grid->Loading());
    EXPECT_EQ(Name->LayoutWidth(), 80);
    EXPECT_EQ(Qty->LayoutWidth(), 40);
    EXPECT_EQ(Amount->LayoutWidth(), 60);
    ASSERT_EQ(Grid->SortMarkedColumns().size(), 2u);
    EXPECT_EQ(Grid->SortMarkedColumns()[0], Name);
    EXPECT_EQ(Grid->SortMarkedColumns()[1], Amount);
    EXPECT_EQ(Grid->ColCount(), 4);
    EXPECT_TRUE(Grid->LayoutDeferred());
    QCoreApplication::processEvents();
    EXPECT_FALSE(Grid->LayoutDeferred());
}

TEST_F(TLayoutFixture, UpdateCounterHoldsLayoutBack)
{
    Grid->SetDataSource(Source.get());
    const int Rows = Grid->RowCount();
    Grid->BeginUpdate();
    EXPECT_FALSE(Grid->AcquireLayoutLock());
    Grid->SetFooterRowCount(1);
    EXPECT_EQ(Grid->RowCount(), Rows) << "no pass while the counter is raised";
    Grid->EndUpdate();
    Grid->EndUpdate();
    EXPECT_EQ(Grid->UpdateLock(), 0) << "never below 0";
    EXPECT_EQ(Grid->RowCount(), Rows) << "EndUpdate does not lay out";
    Grid->LayoutChanged();
    EXPECT_EQ(Grid->RowCount(), Rows + 2) << "filler and footer rows";
}

TEST_F(TLayoutFixture, EndLayoutRunsOnePass)
{
    Grid->SetDataSource(Source.get());
    Grid->RowUpdates = 0;
    Grid->LayoutChanged();
    const int OnePass = Grid->RowUpdates;
    ASSERT_GT(OnePass, 0);
    Grid->RowUpdates = 0;
    Grid->BeginLayout();
    Grid->BeginLayout();
    Grid->Columns(0)->Title()->SetCaption(QStringLiteral("品名"));
    Grid->SetFooterRowCount(0);
    Grid->EndLayout();
    EXPECT_EQ(Grid->RowUpdates, 0) << "an inner level lays nothing out";
    Grid->EndLayout();
    EXPECT_EQ(Grid->RowUpdates, OnePass);
    EXPECT_EQ(Grid->LayoutLock(), 0);
}

// Only a window scrolled to its last row can change its record count; the
// rows stay right either way.
TEST_F(TLayoutFixture, ScrollingRecomputesRowsOnlyAtTheLastRow)
{
    Data->Close();
    Data->Open();
    for (int i = 1; i <= 30; ++i)
        Data->AppendRecord({Variant(QStringLiteral("Item %1").arg(i)), Variant(i), Variant(i * 1.0)});
    Data->First();
    Grid->SetDataSource(Source.get());
    const int Window = Grid->VisibleDataRowCount();
    ASSERT_GT(Window, 2);
    ASSERT_LT(Window, 30);
    Grid->RowUpdates = 0;
    Data->Next();
    EXPECT_EQ(Grid->RowUpdates, 0) << "a move inside the window";
    for (int i = 1; i < 40; ++i)
        Data->Next();
    EXPECT_GT(Grid->RowUpdates, 0);
    EXPECT_EQ(Grid->VisibleDataRowCount(), Window);
    EXPECT_EQ(Grid->Row(), Grid->TitleRowCount() + Window - 1);
    Data->First();
    EXPECT_EQ(Grid->VisibleDataRowCount(), Window);
    EXPECT_EQ(Grid->Row(), Grid->TitleRowCount());
}

TEST_F(TLayoutFixture, ChangeScaleFollowsParentFontAndScalingFlags)
{
    struct Row {
        const char* Name;
        bool ParentFont;
        bool Loading;
        bool ScalingFonts;
        bool FontsScaled;    // title font and column widths
    };
    const Row Rows[] = {
        {"parent font", true, false, true, false},
        {"own fonts", false, false, true, true},
        {"loading with fonts", false, true, true, true},
        {"loading without fonts", false, true, false, false},
    };
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        NewGrid();
        TColumnEh* Name = AddColumn(QStringLiteral("Name"), 100);
        Grid->TitleFont()->SetSize(12);
        EXPECT_FALSE(Grid->ParentFont()) << "a title font of its own";
        Grid->SetParentFont(R.ParentFont);
        Grid->SetScalingFonts(R.ScalingFonts);
        if (R.Loading)
            Grid->BeginLoading();
        Grid->ChangeScale(2, 1);
        if (R.Loading)
            Grid->Loaded();
        const int Scaled = R.FontsScaled ? 2 : 1;
        EXPECT_EQ(Grid->TitleFont()->Size(), R.ParentFont ? 12 : 12 * Scaled);
        EXPECT_EQ(Name->Width(), 100 * (R.ParentFont || R.FontsScaled ? 2 : 1));
        EXPECT_EQ(Grid->width(), 800) << "the control's own bounds always scale";
    }
}

TEST_F(TLayoutFixture, DefaultsOfSettingsAndSharedResources)
{
    EXPECT_EQ(Grid->AllowedSelections(), TDBGridEhAllowedSelections({gstRecordBookmarks, gstRectangle, gstColumns, gstAll}));
    EXPECT_TRUE(Grid->EditActions().Empty());
    EXPECT_TRUE(Grid->ParentFont());
    Grid->SetDataSource(Source.get());
    EXPECT_EQ(Grid->ButtonWidth(), ScrollBarWidth());
    const int Flat = FlatButtonWidthEh();
    EXPECT_EQ(Flat % 2, 1);
    EXPECT_LE(Flat, ScrollBarWidth());
    for (const bool IsFlat : {false, true}) {
        SCOPED_TRACE(IsFlat ? "flat" : "raised");
        Grid->SetFlat(IsFlat);
        const int W = IsFlat ? Flat + 1 : ScrollBarWidth();
        EXPECT_EQ(Grid->ButtonWidth(), W);
        EXPECT_EQ(Grid->ButtonHeight(), Grid->DataRowHeight() * 2 > W * 3 ? W : Grid->DataRowHeight());
        Grid->SetRowLines(3);
        EXPECT_EQ(Grid->ButtonHeight(), W) << "tall rows keep square buttons";
        Grid->SetRowLines(0);
    }
    for (const TCursor C : {crDownCurEh, crRightCurEh, crLeftCurEh})
        EXPECT_FALSE(Screen()->Cursors(C).pixmap().isNull()) << C;
}

TEST_F(TLayoutFixture, MovedColumnStaysTheCurrentOne)
{
    AddColumn(QStringLiteral("Name"), 60);
    AddColumn(QStringLiteral("Qty"), 60);
    AddColumn(QStringLiteral("Amount"), 60);
    Grid->SetDataSource(Source.get());
    Grid->SetCol(1);
    Grid->MoveColumn(1, 3);
    EXPECT_EQ(FieldNames(), QStringLiteral("Qty|Amount|Name"));
    EXPECT_EQ(Grid->SelectedField(), Data->FieldByName(QStringLiteral("Name")));
    EXPECT_EQ(Grid->ColWidths(3), 60);
}
