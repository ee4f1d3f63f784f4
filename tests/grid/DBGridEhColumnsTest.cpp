#include "GridFixture.h"
#include "grid/DBSumLst.h"
#include "platform/rtl/Classes.h"

#include <QLineEdit>

namespace {

using TColumnsTest = TGridFixture;

TEST(TColumnEhAlone, DefaultsWithoutAGrid)
{
    TColumnEh Column;
    EXPECT_EQ(Column.Width(), 64);
    EXPECT_EQ(Column.Color(), clWindow);
    EXPECT_EQ(Column.Title()->Color(), clBtnFace);
    EXPECT_EQ(Column.Alignment(), taLeftJustify);
    EXPECT_EQ(Column.ImeMode(), imDontCare);
    EXPECT_EQ(Column.DropDownRows(), 7);
    EXPECT_EQ(Column.NotInKeyListIndex(), -1);
    EXPECT_EQ(Column.Title()->ImageIndex(), -1);
    EXPECT_EQ(Column.Title()->SortMarker(), smNoneEh);
    EXPECT_FALSE(Column.ReadOnly());
    EXPECT_TRUE(Column.AutoFitColWidth());
    EXPECT_TRUE(Column.Visible());
}

TEST_F(TColumnsTest, NewGridOptions)
{
    EXPECT_EQ(Grid->Options().Bits(), 3325u);
    EXPECT_EQ(Grid->OptionsEh().Bits(), 97u);
    EXPECT_EQ(Grid->AllowedOperations().Bits(), 15u);
}

// Each row reads a property while it follows its default, changes the default's
// source, assigns a value, then changes the source again: the assigned value holds.
TEST_F(TColumnsTest, PropertiesFollowTheirDefaultUntilAssigned)
{
    Link();
    struct TRow
    {
        const char* Name;
        const char* Field;
        std::function<QString(TColumnEh*)> Read;
        std::function<void(TTestGridEh*, TMemDataSet*)> ChangeDefault;
        std::function<void(TColumnEh*)> Assign;
        const char* Expected; // default, moved default, assigned, after moving the default back
    };
    const TRow Rows[] = {
        {"Color from the grid", "Id", [](TColumnEh* C) { return QString::number(C->Color(), 16); },
         [](TTestGridEh* G, TMemDataSet*) { G->SetColor(G->Color() == clRed ? clWindow : clRed); },
         [](TColumnEh* C) { C->SetColor(clBlue); }, "ff000005 ff ff0000 ff0000"},
        {"Alignment from the field", "Amount", [](TColumnEh* C) { return QString::number(C->Alignment()); },
         [](TTestGridEh*, TMemDataSet* D) {
             TField* F = D->FieldByName(QStringLiteral("Amount"));
             F->SetAlignment(F->Alignment() == taCenter ? taRightJustify : taCenter); },
         [](TColumnEh* C) { C->SetAlignment(taLeftJustify); }, "1 2 0 0"},
        {"ReadOnly from the grid", "Name", [](TColumnEh* C) { return QString::number(C->ReadOnly()); },
         [](TTestGridEh* G, TMemDataSet*) { G->SetReadOnly(!G->ReadOnly()); },
         [](TColumnEh* C) { C->SetReadOnly(false); }, "0 1 0 0"},
        {"Checkboxes from the field type", "Paid", [](TColumnEh* C) { return QString::number(C->Checkboxes()); },
         [](TTestGridEh*, TMemDataSet*) {}, [](TColumnEh* C) { C->SetCheckboxes(false); }, "1 1 0 0"},
        {"WordWrap from the field type", "Name", [](TColumnEh* C) { return QString::number(C->WordWrap()); },
         [](TTestGridEh*, TMemDataSet*) {}, [](TColumnEh* C) { C->SetWordWrap(false); }, "1 1 0 0"},
        {"EndEllipsis from the grid's column defaults", "Id", [](TColumnEh* C) { return QString::number(C->EndEllipsis()); },
         [](TTestGridEh* G, TMemDataSet*) {
             G->ColumnDefValues()->SetEndEllipsis(!G->ColumnDefValues()->EndEllipsis()); },
         [](TColumnEh* C) { C->SetEndEllipsis(true); }, "0 1 1 1"},
        {"Title caption from the field's label", "Id", [](TColumnEh* C) { return C->Title()->Caption(); },
         [](TTestGridEh*, TMemDataSet* D) {
             TField* F = D->FieldByName(QStringLiteral("Id"));
             F->SetDisplayLabel(F->DisplayLabel() == u"No" ? QStringLiteral("Id") : QStringLiteral("No")); },
         [](TColumnEh* C) { C->Title()->SetCaption(QStringLiteral("Key")); }, "Id No Key Key"},
        {"Title alignment centred under multi-line titles", "Id",
         [](TColumnEh* C) { return QString::number(C->Title()->Alignment()); },
         [](TTestGridEh* G, TMemDataSet*) { G->SetUseMultiTitle(!G->UseMultiTitle()); },
         [](TColumnEh* C) { C->Title()->SetAlignment(taRightJustify); }, "0 2 1 1"},
        {"Title colour from FixedColor", "Id", [](TColumnEh* C) { return QString::number(C->Title()->Color(), 16); },
         [](TTestGridEh* G, TMemDataSet*) { G->SetFixedColor(G->FixedColor() == clGray ? clBtnFace : clGray); },
         [](TColumnEh* C) { C->Title()->SetColor(clWhite); }, "ff00000f 808080 ffffff ffffff"},
        {"Footer colour from FooterColor", "Id", [](TColumnEh* C) { return QString::number(C->Footer()->Color(), 16); },
         [](TTestGridEh* G, TMemDataSet*) { G->SetFooterColor(G->FooterColor() == clYellow ? clWindow : clYellow); },
         [](TColumnEh* C) { C->Footer()->SetColor(clLime); }, "ff000005 ffff ff00 ff00"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        Grid->Columns()->Clear();
        TColumnEh* C = AddColumn(Row.Field);
        QStringList Seen;
        Seen << Row.Read(C);
        Row.ChangeDefault(Grid.get(), Data.get());
        Seen << Row.Read(C);
        Row.Assign(C);
        Seen << Row.Read(C);
        Row.ChangeDefault(Grid.get(), Data.get());
        Seen << Row.Read(C);
        EXPECT_EQ(Seen.join(u' '), QString::fromUtf8(Row.Expected));
    }
}

TEST_F(TColumnsTest, OneNotificationPerChangeAndNoneForAnEqualValue)
{
    TColumnEh* C = AddColumn("Id");
    Grid->Notifications = 0;
    C->SetColor(clRed);
    C->SetColor(clRed);
    C->Title()->SetCaption(QStringLiteral("A"));
    C->Title()->SetCaption(QStringLiteral("A"));
    C->Footer()->SetValue(QStringLiteral("x"));
    C->Footer()->SetValue(QStringLiteral("x"));
    C->SetVisible(false);
    C->SetVisible(false);
    EXPECT_EQ(Grid->Notifications, 4);
    Grid->Columns()->BeginUpdate();
    C->SetColor(clBlue);
    C->SetTag(3);
    C->Footer()->SetValueType(fvtStaticText);
    Grid->Columns()->EndUpdate();
    EXPECT_EQ(Grid->Notifications, 5) << "an update pass notifies once";
}

TEST_F(TColumnsTest, WidthDefaultsLimitsAndStorage)
{
    TColumnEh* C = AddColumn("NoSuchField");
    EXPECT_EQ(C->Width(), Grid->DefaultColWidth());
    C->SetWidth(C->Width());
    EXPECT_FALSE(C->IsWidthStored()) << "the default width is not stored";
    C->SetMaxWidth(0);
    C->SetWidth(500);
    EXPECT_EQ(C->Width(), 500) << "MaxWidth 0 does not limit";
    C->SetMaxWidth(100);
    EXPECT_EQ(C->Width(), 100);
    C->SetMinWidth(150);
    EXPECT_EQ(C->Width(), 150);
    C->SetWidth(120);
    EXPECT_EQ(C->Width(), 150) << "MinWidth above MaxWidth wins";
    C->SetWidth(-1);
    EXPECT_EQ(C->Width(), 150) << "-1 is not stored";

    TColumnEh* Named = AddColumn("Name");
    Link();
    EXPECT_GT(Named->Width(), Grid->DefaultColWidth()) << "ten characters of text are wider";
}

TEST_F(TColumnsTest, DefaultColumnsFollowTheFieldsUntilColumnsAreAdded)
{
    Data->FieldByName(QStringLiteral("Paid"))->SetVisible(false);
    Link();
    QStringList Names;
    for (int i = 0; i < Grid->Columns()->Count(); ++i)
        Names << Grid->Columns(i)->FieldName();
    EXPECT_EQ(Names.join(u','), QStringLiteral("Id,Name,Amount"));
    EXPECT_FALSE(Grid->Columns()->Customized());

    Grid->Columns(2)->SetColor(clRed);
    Grid->Columns(1)->SetVisible(false);
    EXPECT_EQ(Grid->Columns(2)->Color(), clRed) << "a default column keeps its settings across changes";
    Grid->resize(400, 200); // only a grid with a window writes widths to the fields
    TField* Name = Data->FieldByName(QStringLiteral("Name"));
    const int Before = Name->DisplayWidth();
    for (const int Width : {100, 57, 203})
        Grid->Columns(1)->SetWidth(Width);
    EXPECT_EQ(Grid->Columns(1)->Width(), 203) << "the exact width holds";
    EXPECT_GT(Name->DisplayWidth(), Before) << "a default column's width is its field's";
    EXPECT_EQ(Grid->Columns()->Count(), 3);

    Grid->Columns(0)->Title()->SetCaption(QStringLiteral("编号"));
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Id"))->DisplayLabel(), QStringLiteral("编号"))
        << "a default column's caption is the field's label";

    Grid->Columns()->Clear();
    AddColumn("Amount");
    AddColumn("Missing");
    EXPECT_TRUE(Grid->Columns()->Customized());
    EXPECT_EQ(Grid->Columns()->Count(), 2);
    EXPECT_EQ(Grid->Columns(1)->Field(), nullptr);
}

TEST_F(TColumnsTest, SortMarkersInSingleAndMultiMode)
{
    TColumnEh* A = AddColumn("Id");
    TColumnEh* B = AddColumn("Name");
    TColumnEh* C = AddColumn("Amount");
    auto Render = [&] {
        QStringList Out;
        for (TColumnEh* X : {A, B, C})
            Out << QStringLiteral("%1%2").arg(int(X->Title()->SortMarker())).arg(X->Title()->SortIndex());
        QStringList Order;
        for (TColumnEh* X : Grid->SortMarkedColumns())
            Order << X->FieldName();
        return Out.join(u' ') + u'|' + Order.join(u',');
    };
    A->Title()->SetSortMarker(smDownEh);
    B->Title()->SetSortMarker(smUpEh);
    EXPECT_EQ(Render(), QStringLiteral("00 21 00|Name")) << "single mode keeps one marker";

    Grid->SetOptionsEh(Grid->OptionsEh() + dghMultiSortMarking);
    B->Title()->SetSortMarker(smNoneEh);
    A->Title()->SetSortMarker(smDownEh);
    B->Title()->SetSortMarker(smDownEh);
    C->Title()->SetSortMarker(smUpEh);
    EXPECT_EQ(Render(), QStringLiteral("11 12 23|Id,Name,Amount"));
    B->Title()->SetSortMarker(smUpEh);
    EXPECT_EQ(Render(), QStringLiteral("11 22 23|Id,Name,Amount")) << "down to up keeps the index";
    B->Title()->SetSortMarker(smNoneEh);
    EXPECT_EQ(Render(), QStringLiteral("11 00 22|Id,Amount"));
    C->Title()->SetSortIndex(1);
    EXPECT_EQ(Render(), QStringLiteral("12 00 21|Amount,Id")) << "indices swap";
}

TEST_F(TColumnsTest, TitleClickCycle)
{
    struct TRow
    {
        TSortMarkerEh From;
        bool Ctrl;
        TSortMarkerEh To;
    };
    const TRow Rows[] = {
        {smNoneEh, false, smDownEh}, {smDownEh, false, smUpEh}, {smUpEh, false, smDownEh},
        {smNoneEh, true, smDownEh},  {smDownEh, true, smUpEh},  {smUpEh, true, smNoneEh},
    };
    Grid->SetOptionsEh(Grid->OptionsEh() + dghMultiSortMarking);
    TColumnEh* Other = AddColumn("Id");
    TColumnEh* C = AddColumn("Name");
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(QStringLiteral("%1 ctrl %2").arg(int(Row.From)).arg(Row.Ctrl).toStdString());
        Other->Title()->SetSortMarker(smDownEh);
        C->Title()->SetSortMarker(Row.From);
        C->Title()->ClickSortMarker(Row.Ctrl);
        EXPECT_EQ(C->Title()->SortMarker(), Row.To);
        EXPECT_EQ(Other->Title()->SortMarker(), Row.Ctrl ? smDownEh : smNoneEh);
    }
}

TEST_F(TColumnsTest, FootersAggregateThroughTheSumList)
{
    TColumnEh* Amount = AddColumn("Amount");
    TColumnEh* Id = AddColumn("Id");
    Amount->Footer()->SetValueType(fvtSum);
    Id->Footer()->SetValueType(fvtCount);
    Id->Footer()->SetFieldName(QStringLiteral("Amount"));
    Amount->Footers()->Add()->SetValueType(fvtAvg);
    Grid->SumList()->SetActive(true);
    Link();
    ASSERT_NE(Amount->Footer()->DBSum(), nullptr);
    EXPECT_EQ(Amount->Footer()->DBSum()->SumValue(), 37500) << "an empty footer field sums the column's";
    EXPECT_EQ(Id->Footer()->DBSum()->SumValue(), 30000) << "a count counts every record";
    EXPECT_EQ(Amount->UsedFooter(0)->DBSum()->SumValue(), 18750);
    EXPECT_EQ(Amount->UsedFooter(1), Amount->Footer());
    EXPECT_EQ(Grid->SumList()->FindSumByOperationAndField(goSum, QStringLiteral("amount")),
              Amount->Footer()->DBSum());

    Data->Append();
    Data->FieldByName(QStringLiteral("Amount"))->SetAsFloat(1);
    Data->Post();
    EXPECT_EQ(Amount->Footer()->DBSum()->SumValue(), 47500);
    EXPECT_EQ(Id->Footer()->DBSum()->SumValue(), 40000);

    QString Events;
    Grid->OnSumListRecalcAll = [&](QObject*) { Events += u'R'; };
    Grid->OnSumListAfterRecalcAll = [&](QObject*) { Events += u'A'; };
    Data->Close();
    Data->Open();
    EXPECT_EQ(Events, QStringLiteral("RA")) << "one pass per open";
    EXPECT_EQ(Amount->Footer()->DBSum()->SumValue(), 47500);

    Data->SetFilter(QStringLiteral("Amount > 1.6"));
    Data->SetFiltered(true);
    EXPECT_EQ(Amount->Footer()->DBSum()->SumValue(), 22500) << "a new filter is noticed without a scroll";
    Data->SetFiltered(false);
    EXPECT_EQ(Amount->Footer()->DBSum()->SumValue(), 47500);

    Amount->Footer()->SetValueType(fvtStaticText);
    EXPECT_EQ(Amount->Footer()->DBSum(), nullptr);
    EXPECT_EQ(Grid->SumList()->SumCollection()->Count(), 2);
    Grid->Columns()->Delete(0);
    EXPECT_EQ(Grid->SumList()->SumCollection()->Count(), 1) << "a deleted column gives its sums back";
}

TEST_F(TColumnsTest, DisplayTextAndCheckBoxes)
{
    Link();
    TColumnEh* Amount = AddColumn("Amount");
    TColumnEh* Paid = AddColumn("Paid");
    TColumnEh* Name = AddColumn("Name");
    struct TRow
    {
        const char* Name;
        std::function<QString()> Read;
        const char* Expected; // for records 1, 2, 3
    };
    const TRow Rows[] = {
        {"plain", [&] { return Amount->GetDisplayText(); }, "1.5||2.25"},
        {"with a format", [&] { Amount->SetDisplayFormat(QStringLiteral("0.00")); return Amount->GetDisplayText(); },
         "1.50||2.25"},
        {"key list to pick list", [&] {
             Name->KeyList()->SetText(QStringLiteral("Ann\nBob"));
             Name->PickList()->SetText(QStringLiteral("Anna\nRobert\n?"));
             Name->SetNotInKeyListIndex(2);
             return Name->GetDisplayText(); },
         "Anna|Robert|?"},
        {"Boolean check boxes", [&] { return QString::number(Paid->CheckboxState()); }, "1|0|2"},
        {"check boxes from key lists", [&] {
             Name->KeyList()->SetText(QStringLiteral("ann;ANNE\nbob"));
             return QString::number(Name->CheckboxState()); },
         "1|0|2"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QStringList Seen;
        for (Data->First(); !Data->Eof(); Data->Next())
            Seen << Row.Read();
        EXPECT_EQ(Seen.join(u'|'), QString::fromUtf8(Row.Expected));
    }
    EXPECT_EQ(Paid->GetColumnType(), ctCheckboxes);
    Name->SetImageList(nullptr);
    EXPECT_EQ(Name->GetColumnType(), ctKeyPickList);
}

TEST_F(TColumnsTest, StepValueByEditKind)
{
    Link();
    TColumnEh* Amount = AddColumn("Amount");
    TColumnEh* Paid = AddColumn("Paid");
    TColumnEh* Name = AddColumn("Name");
    Name->PickList()->SetText(QStringLiteral("Ann\nBob\nCy"));
    TColumnEh* Id = AddColumn("Id");
    Id->KeyList()->SetText(QStringLiteral("1\n2\n3"));
    Id->PickList()->SetText(QStringLiteral("一\n二\n三"));
    Data->First();
    struct TRow
    {
        const char* Name;
        TColumnEh* Column;
        int Step;
        const char* Expected;
        const char* Typed = nullptr; // into the editor shown in the column first
    };
    const TRow Rows[] = {
        {"number up", Amount, 1, "2.5"},
        {"number down", Amount, -1, "1.5"},
        {"check box flips", Paid, 1, "False"},
        {"check box flips back", Paid, -1, "True"},
        {"pick list forward", Name, 1, "Bob"},
        {"pick list wraps forward", Name, 1, "Cy"},
        {"pick list wraps to the first", Name, 1, "Ann"},
        {"pick list wraps back to the last", Name, -1, "Cy"},
        {"number from the editor's text", Amount, 1, "8", "7"},
        {"pick list from the editor's text", Name, 1, "Cy", "Bob"},
        {"key list from the pick text the editor shows", Id, 1, "3", "二"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        if (Row.Typed) {
            Grid->SetSelectedIndex(Row.Column->Index());
            Grid->ShowEditor();
            ASSERT_TRUE(Grid->EditorMode());
            Grid->InplaceEditor()->setText(QString::fromUtf8(Row.Typed));
        }
        Row.Column->StepValue(Row.Step);
        Grid->HideEditor();
        EXPECT_EQ(Row.Column->Field()->AsString(), QString::fromUtf8(Row.Expected));
    }
    EXPECT_EQ(Data->State(), dsEdit);
    Data->Cancel();
    Grid->SetReadOnly(true);
    Amount->StepValue(1);
    EXPECT_EQ(Amount->Field()->AsFloat(), 1.5) << "a read-only grid steps nothing";
}

TEST_F(TColumnsTest, AssignCopiesWhatWasSetAndFlagsAsTheSourceReadsThem)
{
    TColumnEh* Source = AddColumn("Amount");
    Source->SetColor(clRed);
    Source->Title()->SetCaption(QStringLiteral("金额"));
    Source->Footer()->SetValueType(fvtSum);
    Source->SetTag(7);
    TColumnEh* Copy = Grid->Columns()->Add();
    Copy->Assign(*Source);
    EXPECT_EQ(Copy->FieldName(), QStringLiteral("Amount"));
    EXPECT_TRUE(Copy->IsColorStored());
    EXPECT_FALSE(Copy->IsWidthStored());
    EXPECT_EQ(Copy->Title()->Caption(), QStringLiteral("金额"));
    EXPECT_EQ(Copy->Footer()->ValueType(), fvtSum);
    EXPECT_NE(Copy->Footer()->DBSum(), Source->Footer()->DBSum());
    EXPECT_EQ(Copy->Tag(), 7);

    // Flags the grid gives by default are copied as the source reads them, and
    // then stay when the grid's defaults change.
    TDBGridEhColumnDefValuesEh* Def = Grid->ColumnDefValues();
    const auto SetDefaults = [Def](bool On) {
        using D = TDBGridEhColumnDefValuesEh;
        for (auto Set : {&D::SetAlwaysShowEditButton, &D::SetAutoDropDown, &D::SetDblClickNextVal,
                         &D::SetDropDownShowTitles, &D::SetDropDownSizing, &D::SetEndEllipsis, &D::SetToolTips})
            (Def->*Set)(On);
    };
    SetDefaults(true);
    Source->SetImeName(QStringLiteral("拼音"));
    Copy->Assign(*Source);
    SetDefaults(false);
    for (auto Get : {&TColumnEh::AlwaysShowEditButton, &TColumnEh::AutoDropDown, &TColumnEh::DblClickNextVal,
                     &TColumnEh::DropDownShowTitles, &TColumnEh::DropDownSizing, &TColumnEh::EndEllipsis,
                     &TColumnEh::ToolTips})
        EXPECT_TRUE((Copy->*Get)());
    EXPECT_EQ(Copy->ImeName(), QStringLiteral("拼音"));

    Copy->RestoreDefaults();
    EXPECT_FALSE(Copy->IsColorStored());
    EXPECT_EQ(Copy->Title()->Caption(), QStringLiteral("Amount"));
    EXPECT_FALSE(Copy->Title()->IsCaptionStored());
    Copy->Title()->SetCaption(QStringLiteral("Amount"));
    EXPECT_FALSE(Copy->Title()->IsCaptionStored()) << "a caption equal to the default is not stored";
}

} // namespace

namespace {

TEST_F(TColumnsTest, CanModifyChecksGridDataSetColumnAndField)
{
    struct TRow
    {
        const char* Name;
        std::function<void(TTestGridEh*, TMemDataSet*, TColumnEh*)> Setup;
        bool Expected;
    };
    const TRow Rows[] = {
        {"plain", [](TTestGridEh*, TMemDataSet*, TColumnEh*) {}, true},
        {"read-only grid", [](TTestGridEh* G, TMemDataSet*, TColumnEh*) { G->SetReadOnly(true); }, false},
        {"read-only dataset", [](TTestGridEh*, TMemDataSet* D, TColumnEh*) { D->SetReadOnly(true); }, false},
        {"read-only column", [](TTestGridEh*, TMemDataSet*, TColumnEh* C) { C->SetReadOnly(true); }, false},
        {"read-only field", [](TTestGridEh*, TMemDataSet* D, TColumnEh*) {
             D->FieldByName(QStringLiteral("Amount"))->SetReadOnly(true); }, false},
        {"no update allowed", [](TTestGridEh* G, TMemDataSet*, TColumnEh*) {
             G->SetAllowedOperations({alopInsertEh, alopAppendEh}); }, false},
        {"no update allowed but inserting", [](TTestGridEh* G, TMemDataSet* D, TColumnEh*) {
             G->SetAllowedOperations({alopInsertEh}); D->Append(); }, true},
        {"column without a field", [](TTestGridEh*, TMemDataSet*, TColumnEh* C) {
             C->SetFieldName(QStringLiteral("Missing")); }, false},
        {"empty dataset without insert or append", [](TTestGridEh* G, TMemDataSet* D, TColumnEh*) {
             D->EmptyDataSet(); G->SetAllowedOperations({alopUpdateEh}); }, false},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TearDown();
        SetUp();
        Link();
        TColumnEh* C = AddColumn("Amount");
        Row.Setup(Grid.get(), Data.get(), C);
        EXPECT_EQ(C->CanModify(false), Row.Expected);
        EXPECT_EQ(C->CanModify(true), Row.Expected);
        if (Row.Expected) {
            EXPECT_TRUE(Data->State() == dsEdit || Data->State() == dsInsert);
        }
    }
}

TEST_F(TColumnsTest, UpdateDataGoesThroughTheHandlerFirst)
{
    Link();
    TColumnEh* Name = AddColumn("Name");
    QStringList Seen;
    Name->OnUpdateData = [&](TColumnEh*, QString& Text, Variant&, bool& UseText, bool& Handled) {
        Seen << Text;
        Handled = Text == u"skip";
        Text = Text.toUpper();
        UseText = true;
    };
    Data->Edit();
    Name->UpdateData(QStringLiteral("skip"), Variant(), true);
    EXPECT_EQ(Name->Field()->AsString(), QStringLiteral("Ann"));
    Name->UpdateData(QStringLiteral("zed"), Variant("ignored"), false);
    EXPECT_EQ(Name->Field()->AsString(), QStringLiteral("ZED"));
    EXPECT_EQ(Seen.join(u','), QStringLiteral("skip,zed"));
}

} // namespace
