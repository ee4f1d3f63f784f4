#include "GridTestUtil.h"
#include "TwoKeyData.h"
#include "grid/DBGridEhDataService.h"
#include "grid/DBGridEhDropDownBox.h"
#include "grid/DBLookupGridsEh.h"
#include "grid/ToolCtrlsEh.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/db/MemDataSet.h"
#include "platform/gui/ExtCtrls.h"

#include <gtest/gtest.h>

namespace {

class LookupGrid : public ::testing::Test
{
protected:
    void SetUp() override
    {
        List.FieldDefs()->Add(QStringLiteral("Id"), ftInteger);
        List.FieldDefs()->Add(QStringLiteral("Name"), ftWideString, 60);
        List.Open();
        const char* Names[] = {"Apple", "abacus", "Banana", "blue", "Cherry"};
        int Id = 0;
        for (const char* Name : Names)
            Add(++Id, QString::fromLatin1(Name));
        Add(6, QString(40, u'z'));
        List.First();
        Source.SetDataSet(&List);
        Grid.Clock = [this] { return Now; };
        Grid.SetListSource(&Source);
        Grid.SetKeyFieldName(QStringLiteral("Id"));
        Grid.SetListFieldName(QStringLiteral("Name"));
        Grid.SetAutoFitColWidths(true);
        Grid.resize(200, 120);
        Grid.show();
    }

    void Add(int Id, const QString& Name)
    {
        List.Append();
        List.FieldByName(QStringLiteral("Id"))->SetAsInteger(Id);
        List.FieldByName(QStringLiteral("Name"))->SetAsString(Name);
        List.Post();
    }

    void Type(const QString& Keys, uint32_t Step = 100)
    {
        for (QChar K : Keys) {
            Now += Step;
            Grid.KeyPress(K);
        }
    }

    QString Key() const { return Grid.KeyValue().IsNull() ? QStringLiteral("null") : VarToStr(Grid.KeyValue()); }

    void Press(int VirtualKey)
    {
        int K = VirtualKey;
        Grid.KeyDown(K, {});
    }

    TMemDataSet List;
    TDataSource Source;
    TDBLookupGridEh Grid;
    uint32_t Now = 10000;
};

} // namespace

TEST_F(LookupGrid, TypeAheadFindsByBeginning)
{
    Type("ab");
    EXPECT_EQ(Key(), "2");
    EXPECT_EQ(Grid.SearchText(), "ab");
    EXPECT_EQ(Grid.DisplayText(), "abacus");
    Type("x");
    EXPECT_EQ(Grid.SearchText(), "ab") << "a miss changes nothing";
    Type("b", 2500);
    EXPECT_EQ(Key(), "3") << "after a pause the search starts anew";
    Type("\b");
    EXPECT_EQ(Grid.SearchText(), "");
    Type(QString(33, u'z'));
    EXPECT_EQ(Grid.SearchText().size(), 32);
    EXPECT_EQ(Key(), "6");
}

TEST_F(LookupGrid, TypeAheadIgnoresNumericListFields)
{
    Grid.SetListFieldName(QStringLiteral("Id"));
    Grid.SetKeyValue(1);
    Type("3");
    EXPECT_EQ(Key(), "1");
    EXPECT_EQ(Grid.SearchText(), "");
}

TEST_F(LookupGrid, SpecialRowAboveTheFirstRecord)
{
    Grid.SpecRow()->SetCellsText(QStringLiteral("(none)"));
    Grid.SpecRow()->SetVisible(true);
    Grid.resize(200, Grid.HeightForRows(4));
    Grid.SetKeyValue(Variant::Null());
    EXPECT_TRUE(Grid.SpecRowCurrent());
    EXPECT_EQ(Grid.DisplayText(), "(none)");
    // Keys walk from the special row into the list and back.
    const std::pair<int, const char*> Steps[] = {
        {VK_DOWN, "1"}, {VK_DOWN, "2"}, {VK_UP, "1"}, {VK_UP, "null"}, {VK_UP, "null"},
        {VK_END, "6"},  {VK_HOME, "1"}, {VK_NEXT, "4"},
    };
    for (const auto& [K, Expected] : Steps) {
        Press(K);
        EXPECT_EQ(Key(), Expected) << "after key " << K;
    }
}

TEST_F(LookupGrid, HeightSnapsToWholeRows)
{
    const int Three = Grid.HeightForRows(3), Step = Grid.GetRowStep();
    for (int H = Three; H < Three + Step; ++H)
        EXPECT_EQ(Grid.SnapHeight(H), Three) << H;
    Grid.resize(200, Three + Step / 2);
    EXPECT_EQ(Grid.height(), Three);
    Grid.SpecRow()->SetVisible(true);
    EXPECT_EQ(Grid.HeightForRows(3), Three + Step);
}

TEST_F(LookupGrid, DragScrollIntervalGrowsWithDistance)
{
    const std::pair<int, int> Cases[] = {{1, 185}, {5, 125}, {13, 5}, {14, 0}, {40, 0}};
    for (const auto& [Distance, Interval] : Cases)
        EXPECT_EQ(TDBLookupGridEh::MouseScrollInterval(Distance), Interval) << Distance;
    Grid.MouseDown(mbLeft, {ssLeft}, 10, Grid.HeightForRows(1) - 2);
    EXPECT_EQ(Key(), "1");
    Grid.MouseMove({ssLeft}, 10, Grid.ClientHeight() + 4);
    ASSERT_NE(Grid.MouseScrollTimer(), nullptr);
    EXPECT_EQ(Grid.MouseScrollTimer()->Interval(), 125);
    Grid.MouseScrollTimer()->OnTimer(nullptr);
    EXPECT_EQ(Key(), "2");
    Grid.MouseMove({ssLeft}, 10, 10);
    EXPECT_FALSE(Grid.MouseScrollTimer()->Enabled());
}

TEST_F(LookupGrid, PopupAcceptsOnReleaseOverARow)
{
    TPopupDataGridEh Popup;
    Popup.SetListSource(&Source);
    Popup.SetKeyFieldName(QStringLiteral("Id"));
    Popup.SetListFieldName(QStringLiteral("Name"));
    Popup.resize(200, Popup.HeightForRows(3));
    Popup.show();
    int Notified = -1;
    Popup.OnOwnerNotify = [&](TPopupDataGridEh*, bool Accept) { Notified = Accept; };
    const int Row2 = Popup.HeightForRows(2) - 2;
    Popup.MouseDown(mbLeft, {ssLeft}, 10, Row2);
    Popup.MouseUp(mbLeft, {}, 10, Row2);
    EXPECT_EQ(Notified, 1);
    EXPECT_EQ(VarToStr(Popup.KeyValue()), "2");
    Popup.MouseUp(mbLeft, {}, 10, Popup.height() + 20);
    EXPECT_EQ(Notified, 0);
}

TEST(ColumnDropDownBox, AssignCopiesSettingsAndClearsDefaultColumns)
{
    TDataSource Source;
    TColumnEh From, To;
    From.DropDownBox()->SetListSource(&Source);
    From.DropDownBox()->SetAutoFitColWidths(false);
    From.DropDownBox()->SetUseMultiTitle(true);
    From.DropDownBox()->SetOptions({dlgRowLinesEh});
    From.DropDownBox()->Columns()->Add()->SetFieldName(QStringLiteral("Name"));
    From.DropDownBox()->SetSizable(true);
    From.DropDownBox()->SetShowTitles(true);
    From.DropDownBox()->SetRows(12);
    From.DropDownBox()->SetWidth(250);
    From.DropDownBox()->SetAutoDrop(true);
    From.DropDownBox()->SetSortLocal(true);
    From.DropDownBox()->SetDefaultKeyValue(7);
    To.Assign(From);
    TColumnDropDownBoxEh* Box = To.DropDownBox();
    EXPECT_TRUE(Box->Sizable() && Box->ShowTitles() && Box->AutoDrop() && Box->SortLocal());
    EXPECT_EQ(Box->Rows(), 12);
    EXPECT_EQ(Box->Width(), 250);
    EXPECT_TRUE(VarSame(Box->DefaultKeyValue(), Variant(7)));
    EXPECT_EQ(Box->ListSource(), &Source);
    EXPECT_FALSE(Box->AutoFitColWidths());
    EXPECT_TRUE(Box->UseMultiTitle());
    EXPECT_EQ(Box->Options(), TDBLookupGridEhOptions{dlgRowLinesEh});
    ASSERT_EQ(Box->Columns()->Count(), 1);
    EXPECT_EQ(Box->Columns()->Items(0)->FieldName(), "Name");

    TColumnEh Plain;
    To.DropDownBox()->Assign(*Plain.DropDownBox());
    EXPECT_EQ(Box->Columns()->Count(), 0);
}

TEST(ColumnDropDownBox, GridLetsGoOfADestroyedListSource)
{
    TDBGridEh Grid;
    TColumnEh* C = Grid.Columns()->Add();
    auto Source = std::make_unique<TDataSource>();
    C->DropDownBox()->SetListSource(Source.get());
    EXPECT_EQ(C->DropDownLookupGrid()->ListSource(), Source.get());
    Source.reset();
    EXPECT_EQ(C->DropDownBox()->ListSource(), nullptr);
    EXPECT_EQ(C->DropDownLookupGrid()->ListSource(), nullptr);
}

TEST(DBGridEhDataService, SortingGoesToTheInstalledHandlerElseNowhere)
{
    TMemDataSet Data;
    TDataSource Source;
    Source.SetDataSet(&Data);
    struct TGrid : TDBGridEh
    {
        using TDBGridEh::DataServiceApplySorting;
    } Grid;
    Grid.SetDataSource(&Source);
    TDBGridEhDataService* Service = DBGridEhDataService();
    Service->ApplySorting(&Grid); // no handler registered for the dataset: nothing happens
    int Installed = 0;
    TCustomDBGridEh* Seen = nullptr;
    Service->OnApplySorting = [&](TDBGridEhDataService*, TCustomDBGridEh* G) {
        ++Installed;
        Seen = G;
    };
    Grid.DataServiceApplySorting();
    Service->OnApplySorting = nullptr;
    EXPECT_EQ(Installed, 1);
    EXPECT_EQ(Seen, &Grid);
}

// Keys over two fields travel as arrays; a lookup field as data field brings
// its own list and receives the chosen key in both of its key fields.
TEST(LookupGridTwoKeys, ArrayKeysAndLookupDataField)
{
    TTwoKeyData Two("R", "C");
    TMemDataSet &Branches = Two.Branches, &Data = Two.Data;
    TField* Branch = Two.Branch;
    TDataSource BranchSource, DataSource;
    BranchSource.SetDataSet(&Branches);
    DataSource.SetDataSet(&Data);
    TDBLookupGridEh Grid;
    Grid.SetListSource(&BranchSource);
    Grid.SetKeyFieldName(QStringLiteral("Region;Code"));
    Grid.SetListFieldName(QStringLiteral("Name"));
    Grid.resize(200, 120);
    const struct
    {
        const char* Name;
        Variant Key;
        const char* Shown; // nullptr: rejected, the key stays
    } Keys[] = {
        {"array of two", VarArrayOf({1, 2}), "Northeast"},
        {"another", VarArrayOf({2, 1}), "South"},
        {"single value for two fields", Variant(1), nullptr},
        {"array of three", VarArrayOf({1, 1, 1}), nullptr},
        {"null", Variant::Null(), ""},
    };
    for (const auto& K : Keys) {
        SCOPED_TRACE(K.Name);
        const Variant Before = Grid.KeyValue();
        Grid.SetKeyValue(K.Key);
        EXPECT_TRUE(VarSame(Grid.KeyValue(), K.Shown ? K.Key : Before));
        if (K.Shown) {
            EXPECT_EQ(Grid.DisplayText(), K.Shown);
        }
    }
    Grid.SetKeyValue(VarArrayOf({1, 1}));
    int Key = VK_DOWN;
    Grid.KeyDown(Key, {});
    EXPECT_TRUE(VarSame(Grid.KeyValue(), VarArrayOf({1, 2}))) << "a key press selects the next record's key";

    // The lookup field as data field: list, key and list field from it.
    TDBLookupGridEh Bound;
    Bound.SetDataFieldSource(&DataSource);
    Bound.SetDataFieldName(QStringLiteral("Branch"));
    EXPECT_TRUE(Bound.ListFromLookupField());
    ASSERT_EQ(Bound.DataFields().size(), 2u);
    EXPECT_EQ(Bound.ListDataSet(), &Branches);
    ASSERT_NE(Bound.ListField(), nullptr);
    EXPECT_EQ(Bound.ListField()->FieldName(), "Name");
    Bound.SelectKeyValue(VarArrayOf({1, 2}));
    EXPECT_EQ(Data.FieldByName(QStringLiteral("R"))->AsInteger(), 1);
    EXPECT_EQ(Data.FieldByName(QStringLiteral("C"))->AsInteger(), 2);
    EXPECT_EQ(Branch->AsString(), "Northeast");
    Data.Cancel();
    Bound.SetDataFieldName(QStringLiteral("R"));
    EXPECT_FALSE(Bound.ListFromLookupField()) << "a plain data field unbinds the lookup's list";
    EXPECT_EQ(Bound.ListDataSet(), nullptr);
}
