#include "GridTestUtil.h"
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
    To.Assign(From);
    TColumnDropDownBoxEh* Box = To.DropDownBox();
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
