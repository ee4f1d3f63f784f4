// The cell painter: which row counts as current, rows without a record, group
// captions over scrolled titles, frozen filler cells, the room a sort marker
// takes from the caption and the footer texts by field type. Pixels are read
// from the grid's own image.
#include "GridFixture.h"
#include "platform/db/Field.h"
#include "platform/rtl/SysUtils.h"

namespace {

class TPaintFixture : public TGridTestFixture
{
public:
    TPaintFixture()
        : TGridTestFixture({{"Name", ftWideString, 20}, {"Qty", ftInteger}, {"Amount", ftFloat}}, QSize(400, 300), 0,
                           false, true)
    {
    }

protected:
    QList<Variant> Record(int i) const override
    {
        return {Variant(QStringLiteral("Item %1").arg(i)), Variant(i), Variant(i * 1.25)};
    }
};

// ---------------------------------------------------------------- current row

TEST_F(TPaintFixture, OnlyTheCursorRowCountsAsCurrent)
{
    Fill(5);
    AddColumn("Name", "Name");
    AddColumn("Qty", "Qty");
    Link();
    const TColor Window = ColorToRGB(clWindow);
    struct TRow
    {
        const char* Name;
        TDBGridOptions Options;
        TDBGridEhOptions OptionsEh;
        bool Focused;
        TColor Current;  // current row, current column
        TColor Beside;   // current row, the other column
    };
    const TRow Rows[] = {
        {"row select, focused", {dgRowSelect}, {}, true, clHighlight, clHighlight},
        {"row select, unfocused, always show", {dgRowSelect, dgAlwaysShowSelection}, {}, false, clBtnShadow,
         clBtnShadow},
        {"row highlight, focused", {}, {dghRowHighlight}, true, clHighlight,
         BlendColorEh(Window, clHighlight, true)},
        {"row highlight, unfocused, always show", {dgAlwaysShowSelection}, {dghRowHighlight}, false, clBtnShadow,
         BlendColorEh(Window, clBtnShadow, false)},
    };
    const TDBGridOptions BaseOptions = Grid->Options() - TDBGridOptions({dgRowSelect, dgAlwaysShowSelection});
    const TDBGridEhOptions BaseOptionsEh = Grid->OptionsEh() - TDBGridEhOptions(dghRowHighlight);
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        Grid->SetOptions(BaseOptions + Row.Options);
        Grid->SetOptionsEh(BaseOptionsEh + Row.OptionsEh);
        Grid->Focus = Row.Focused;
        Data->First();
        Data->MoveBy(2);
        Grid->SetCol(1);
        const QImage I = FullPaint();
        const int Current = Grid->TitleRowCount() + 2;
        EXPECT_EQ(Background(I, Grid->CellRect(1, Current)), ColorToRGB(Row.Current));
        EXPECT_EQ(Background(I, Grid->CellRect(2, Current)), ColorToRGB(Row.Beside));
        for (int r = Grid->TitleRowCount(); r < Grid->TitleRowCount() + 5; ++r) {
            if (r == Current)
                continue;
            SCOPED_TRACE(r);
            EXPECT_EQ(Background(I, Grid->CellRect(1, r)), Window);
            EXPECT_EQ(Background(I, Grid->CellRect(2, r)), Window);
        }
    }
}

// ---------------------------------------------------------------- no records

TEST_F(TPaintFixture, AnEmptyDatasetPaintsNoRecord)
{
    AddColumn("Name", "Name")->SetColor(clYellow);
    AddColumn("Qty", "Qty")->Footer()->SetValueType(fvtSum);
    int CellParams = 0, ColumnCells = 0;
    Grid->OnGetCellParams = [&](QObject*, TColumnEh*, TFont*, TColor&, TGridDrawState) { ++CellParams; };
    Grid->OnDrawColumnCell = [&](QObject*, const QRect&, int, TColumnEh*, TGridDrawState) { ++ColumnCells; };
    Grid->Focus = true;
    Link();
    for (int Footers : {1, 0}) {
        SCOPED_TRACE(Footers);
        Grid->SetFooterRowCount(Footers);
        Grid->SetCol(1);
        const QImage I = FullPaint();
        const int R = Grid->TitleRowCount();
        EXPECT_EQ(CellParams, 0);
        EXPECT_EQ(ColumnCells, 0);
        if (Footers > 0) {
            // The row below the titles is filler: the column colour, no cursor cell.
            EXPECT_EQ(Background(I, Grid->CellRect(1, R)), clYellow);
            EXPECT_EQ(Grid->RowCount(), R + 1 + 1 + Footers);
        } else {
            // Without footers the one blank row keeps the cursor cell.
            EXPECT_EQ(Background(I, Grid->CellRect(1, R)), ColorToRGB(clHighlight));
        }
    }
}

TEST_F(TPaintFixture, DataRowsPastTheLastRecordAreFillerWithFooters)
{
    Fill(2);
    AddColumn("Name", "Name")->SetColor(clYellow);
    Grid->SetFooterRowCount(1);
    Link();
    ASSERT_EQ(Grid->DataLink()->RecordCount(), 2);
    int CellParams = 0;
    Grid->OnGetCellParams = [&](QObject*, TColumnEh*, TFont*, TColor&, TGridDrawState) { ++CellParams; };
    const QImage I = FullPaint();
    EXPECT_EQ(CellParams, 2) << "one call per record, none for the filler";
    EXPECT_EQ(Background(I, Grid->CellRect(1, Grid->TitleRowCount() + 2)), clYellow);
}

// ---------------------------------------------------------------- group captions

TEST_F(TPaintFixture, GroupCaptionsStayRightOfTheFrozenColumns)
{
    Fill(3);
    AddColumn("Name", QStringLiteral("客户"), 90)->Title()->SetColor(clLime);
    for (TColumnEh* C : {AddColumn("Qty", QStringLiteral("本期|数量"), 150),
                         AddColumn("Amount", QStringLiteral("本期|金额"), 150)})
        C->Title()->SetColor(clAqua);
    AddColumn("Name", QStringLiteral("备注"), 200);
    Grid->SetUseMultiTitle(true);
    Grid->SetFrozenCols(1);
    Link();
    Grid->SetLeftCol(3);
    ASSERT_EQ(Grid->LeftCol(), 3);
    const QImage I = FullPaint();
    const QRect Frozen = Grid->CellRect(1, 0);
    const QRect Indicator = Grid->CellRect(0, 0);
    const QRect Amount = Grid->CellRect(3, 0);
    ASSERT_FALSE(Amount.isEmpty());
    EXPECT_FALSE(HasColor(I, Frozen, clAqua)) << "the group does not cover the frozen title";
    EXPECT_FALSE(HasColor(I, Indicator, clAqua)) << "nor the indicator title";
    EXPECT_TRUE(HasColor(I, Frozen.adjusted(2, 2, -2, -2), clLime));
    // The group band above the visible leaf carries the group's colour.
    EXPECT_EQ(Background(I, QRect(Amount.left() + 4, Amount.top() + 2, Amount.width() - 8, 4)), clAqua);
}

// A group over a frozen and a scrolling column, the scrolling one scrolled
// away: the group shows over the frozen leaf only.
TEST_F(TPaintFixture, GroupOverFrozenAndScrollingColumnsKeepsToEachArea)
{
    Fill(3);
    for (TColumnEh* C : {AddColumn("Qty", QStringLiteral("本期|数量"), 120),
                         AddColumn("Amount", QStringLiteral("本期|金额"), 150)})
        C->Title()->SetColor(clAqua);
    AddColumn("Name", QStringLiteral("备注"), 200)->Title()->SetColor(clLime);
    AddColumn("Name", QStringLiteral("其他"), 200)->Title()->SetColor(clLime);
    Grid->SetUseMultiTitle(true);
    Grid->SetFrozenCols(1);
    Link();
    Grid->SetLeftCol(3);
    ASSERT_EQ(Grid->LeftCol(), 3);
    const QImage I = FullPaint();
    const QRect Frozen = Grid->CellRect(1, 0);
    const QRect Note = Grid->CellRect(3, 0);
    ASSERT_FALSE(Note.isEmpty());
    EXPECT_EQ(Background(I, QRect(Frozen.left() + 4, Frozen.top() + 2, Frozen.width() - 8, 4)), clAqua);
    EXPECT_FALSE(HasColor(I, Note, clAqua)) << "the frozen half of the group stays in the frozen area";
}

TEST_F(TPaintFixture, GroupCaptionTakesTheLeafTitleAndSpansOnlyVisibleColumns)
{
    Fill(3);
    Grid->ColumnDefValues()->Title()->SetColor(clAqua);
    Grid->SetOptionsEh(Grid->OptionsEh() + TDBGridEhOptions(dghFixed3D));
    AddColumn("Name", QStringLiteral("客户"), 90);
    AddColumn("Name", QStringLiteral("本期|名称"), 60)->SetVisible(false);
    AddColumn("Qty", QStringLiteral("本期|数量"), 60);
    AddColumn("Amount", QStringLiteral("本期|金额"), 70);
    AddColumn("Qty", QStringLiteral("其他"), 60);
    Grid->SetUseMultiTitle(true);
    Link();
    const QImage I = FullPaint();
    const QRect Qty = Grid->CellRect(3, 0);
    const QRect Amount = Grid->CellRect(4, 0);
    const int Band = Qty.top() + 3;  // inside the group caption, above the leaves
    ASSERT_GT(Qty.height(), 2 * Grid->DataRowHeight()) << "two levels of titles";
    // The default title colour reaches the group caption.
    EXPECT_EQ(Background(I, QRect(Qty.left() + 4, Band, Qty.width() - 8, 3)), clAqua);
    // The hidden column counts nothing: the group ends on its last leaf and
    // leaves the line after it alone.
    EXPECT_FALSE(HasColor(I, QRect(Amount.right() + 1, Band, 1, 3), clAqua));
    EXPECT_TRUE(HasColor(I, QRect(Amount.right() - 2, Band, 2, 3), clAqua));
    // No raised edge between the leaves inside the group band.
    EXPECT_FALSE(HasColor(I, QRect(Amount.left() - 2, Band, 4, 3), clBtnHighlight));
}

// ---------------------------------------------------------------- frozen filler

TEST_F(TPaintFixture, FrozenFillerCellsTakeTheColumnColour)
{
    Fill(2);
    TColumnEh* Name = AddColumn("Name", "Name");
    Name->SetColor(clYellow);
    Name->Title()->SetColor(clAqua);
    AddColumn("Qty", "Qty");
    Grid->SetFrozenCols(1);
    Grid->SetFooterRowCount(1);
    Grid->SetOptionsEh(Grid->OptionsEh() - TDBGridEhOptions(dghFrozen3D));
    Link();
    const QImage I = FullPaint();
    const int Filler = Grid->TitleRowCount() + Grid->DataLink()->RecordCount();
    ASSERT_EQ(Grid->GetCellType(1, Filler).Area, raFiller);
    EXPECT_EQ(Background(I, Grid->CellRect(1, Filler)), clYellow);
    EXPECT_EQ(Background(I, Grid->CellRect(1, 0)), clAqua);
}

// ---------------------------------------------------------------- title edges

TEST_F(TPaintFixture, PressedTitlesSinkAndFlatGridsDrawThinLines)
{
    Fill(1);
    TColumnEh* Name = AddColumn("Name", "Name");
    Grid->SetOptionsEh(Grid->OptionsEh() + TDBGridEhOptions(dghFixed3D));
    Link();
    struct TRow
    {
        const char* Name;
        bool Flat;
        bool Pressed;
        TColor TopLeft;
        TColor BottomRight;
    };
    const TRow Rows[] = {
        {"raised", false, false, clBtnHighlight, clBtnShadow},
        {"pressed", false, true, cl3DDkShadow, cl3DLight},
        {"flat", true, false, clBtnShadow, clBtnShadow},
        {"flat, pressed", true, true, clBtnShadow, clBtnShadow},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        Grid->SetFlat(Row.Flat);
        Grid->SetPressedTitle(Name, Row.Pressed);
        const QImage I = FullPaint();
        const QRect T = Grid->CellRect(1, 0);
        const QRgb TL = I.pixel(T.left(), T.top() + T.height() / 2) & 0xFFFFFF;
        const QRgb BR = I.pixel(T.right(), T.top() + T.height() / 2) & 0xFFFFFF;
        EXPECT_EQ(TL, ColorToQColor(Row.TopLeft).rgb() & 0xFFFFFF);
        EXPECT_EQ(BR, ColorToQColor(Row.BottomRight).rgb() & 0xFFFFFF);
    }
}

// ---------------------------------------------------------------- events and focus

TEST_F(TPaintFixture, ButtonParamsAreAskedTwiceWithAFieldOnceWithout)
{
    Fill(1);
    AddColumn("Name", "Name");
    AddColumn("", "Free");
    std::map<QString, int> Calls;
    Grid->OnGetBtnParams = [&](QObject*, TColumnEh* Column, TFont*, TColor& Background, TSortMarkerEh&, bool) {
        ++Calls[Column->Title()->Caption()];
        Background = clLime;
    };
    Link();
    const QImage I = FullPaint();
    EXPECT_EQ(Calls["Name"], 2);
    EXPECT_EQ(Calls["Free"], 1);
    EXPECT_EQ(Background(I, Grid->CellRect(2, 0)), clLime) << "the second call gives the background";
}

TEST_F(TPaintFixture, FocusRectangleOnlyInTheActiveControl)
{
    Fill(3);
    AddColumn("Name", "Name");
    Link();
    Grid->Focus = true;
    Grid->Active = true;
    const QImage WithFocus = FullPaint();
    Grid->Active = false;
    const QImage Inactive = FullPaint();
    const QRect Cell = Grid->CellRect(1, Grid->TitleRowCount());
    // Same highlight both times: only the focus rectangle tells them apart.
    EXPECT_EQ(Background(WithFocus, Cell), Background(Inactive, Cell));
    EXPECT_NE(WithFocus.copy(Cell), Inactive.copy(Cell));
}

// ---------------------------------------------------------------- sort-marker room

TEST(TSortMarkerRoomEh, TextGivesWayToTheMarkerThenTakesItBack)
{
    struct TRow
    {
        const char* Name;
        int Width, ImageWidth, NumberWidth;
        bool Numbered;
        int TextWidth;
        bool Glyph, Number;
    };
    const TRow Rows[] = {
        {"wide, one marker", 80, 0, 0, false, 64, true, false},
        {"just fits, one marker", 16, 0, 0, false, 0, true, false},
        {"too narrow for the glyph, one marker", 15, 0, 0, false, 13, false, false},
        {"narrow, the last 2 pixels given back", 1, 0, 0, false, 1, false, false},
        {"wide, two markers", 80, 0, 6, true, 64, true, true},
        {"glyph dropped, number kept", 15, 0, 6, true, 7, false, true},
        {"number kept at the edge", 8, 0, 6, true, 0, false, true},
        {"number dropped too", 7, 0, 6, true, 7, false, false},
        {"image reserves room", 30, 16, 0, false, 28, false, false},
        {"image and marker fit", 32, 16, 0, false, 16, true, false},
        {"width ignored without numbers", 15, 0, 6, false, 13, false, false},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const int Left = 100;
        const TSortMarkerRoomEh Room =
            SortMarkerRoomEh(Left, Left + Row.Width, Row.ImageWidth, Row.NumberWidth, Row.Numbered);
        EXPECT_EQ(Room.Right - Left, Row.TextWidth);
        EXPECT_EQ(Room.Glyph, Row.Glyph);
        EXPECT_EQ(Room.Number, Row.Number);
    }
}

// ---------------------------------------------------------------- footer texts

class TFooterTextFixture : public TGridTestFixture
{
public:
    TFooterTextFixture()
        : TGridTestFixture({{"Price", ftFloat}, {"Cost", ftCurrency}, {"Rate", ftBCD}, {"Qty", ftInteger},
                            {"Day", ftDateTime}},
                           QSize(), 2)
    {
    }

    void SetUp() override
    {
        TGridTestFixture::SetUp();
        Grid->SumList()->SetActive(true);
        Link();
    }

protected:
    QList<Variant> Record(int i) const override
    {
        const double Value = i == 1 ? 1000.5 : 234.0678;
        return {Variant(Value), Variant(Value), Variant(Value), Variant(i == 1 ? 1000 : 234),
                Variant::FromDateTime(EncodeDate(2026, 3, 8))};
    }
};

TEST_F(TFooterTextFixture, FooterTextFollowsTheFieldTypeAndSettings)
{
    const TFormatSettings& S = FormatSettings();
    const QString Yuan = S.CurrencyString;
    struct TRow
    {
        const char* Name;
        const char* Field;
        TFooterValueType Type;
        int Precision;      // 0: leave the field's
        int Currency;       // -1: leave the field's
        const char* FieldFormat;
        const char* FooterFormat;
        QString Expected;
        std::vector<double> Values = {}; // the field's values in records of their own
    };
    const TRow Rows[] = {
        {"float, 15 digits", "Price", fvtSum, 0, -1, "", "", "1234.5678"},
        {"float, precision 6", "Price", fvtSum, 6, -1, "", "", "1234.57"},
        {"float, currency", "Price", fvtSum, 0, 1, "", "", Yuan + "1,234.57"},
        {"float, field format", "Price", fvtSum, 0, 1, "0.0", "", "1234.6"},
        {"float, footer format first", "Price", fvtSum, 0, 1, "0.0", "#,##0.000", "1,234.568"},
        {"currency field is currency by default", "Cost", fvtSum, 0, -1, "", "", Yuan + "1,234.57"},
        {"currency average", "Cost", fvtAvg, 0, -1, "", "", Yuan + "617.28"},
        {"currency field, flag off", "Cost", fvtSum, 0, 0, "", "", "1234.5678"},
        {"BCD, general", "Rate", fvtSum, 0, -1, "", "", "1234.5678"},
        {"BCD, currency", "Rate", fvtSum, 0, 1, "", "", Yuan + "1,234.57"},
        {"BCD, field format", "Rate", fvtSum, 0, -1, "0.00", "", "1234.57"},
        {"integer", "Qty", fvtSum, 0, -1, "", "", "1234"},
        {"integer, field format", "Qty", fvtSum, 0, -1, "#,##0", "", "1,234"},
        {"date value, footer format", "Day", fvtFieldValue, 0, -1, "", "yyyy'年'mm'月'", QStringLiteral("2026年03月")},
        {"date value, field format", "Day", fvtFieldValue, 0, -1, "yyyy.m.d", "", "2026.3.8"},
        {"number value, footer format", "Price", fvtFieldValue, 0, -1, "", "0.00", "1000.50"},
        {"integer average rounds to the nearest", "Qty", fvtAvg, 0, -1, "", "", "3", {2, 3, 3}},
        {"integer average rounds halves to even", "Qty", fvtAvg, 0, -1, "", "", "-2", {-1, -2}},
        {"an amount past the exact range", "Price", fvtSum, 0, 0, "", "", "6.22202123456789E15",
         {6222021234567890.0}},
        {"a total past the exact range does not wrap", "Price", fvtSum, 0, 0, "", "", "1E15", {5e14, 5e14}},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TField* F = Data->FieldByName(QString::fromUtf8(Row.Field));
        if (!Row.Values.empty()) {
            Data->EmptyDataSet();
            for (double V : Row.Values) {
                Data->Append();
                F->SetAsFloat(V);
                Data->Post();
            }
        }
        F->SetPrecision(Row.Precision > 0 ? Row.Precision : 15);
        if (Row.Currency >= 0)
            F->SetCurrency(Row.Currency == 1);
        F->SetDisplayFormat(QString::fromUtf8(Row.FieldFormat));
        TColumnEh* C = Grid->Columns()->Add();
        C->SetFieldName(F->FieldName());
        TColumnFooterEh* Footer = C->Footer();
        if (Row.Type == fvtFieldValue)
            Footer->SetFieldName(F->FieldName());
        Footer->SetDisplayFormat(QString::fromUtf8(Row.FooterFormat));
        Footer->SetValueType(Row.Type);
        Grid->SumList()->RecalcAll();
        EXPECT_EQ(Grid->GetFooterValueText(0, C), Row.Expected);
        Grid->Columns()->Clear();
        F->SetDisplayFormat(QString());
        if (!Row.Values.empty()) {
            Data->EmptyDataSet();
            Fill(2);
        }
    }
}

TEST(TFieldDisplaySettings, FloatLikeFieldsStartWithClassicDefaults)
{
    TMemDataSet Data;
    Data.FieldDefs()->Add(QStringLiteral("F"), ftFloat);
    Data.FieldDefs()->Add(QStringLiteral("C"), ftCurrency);
    Data.Open();
    EXPECT_EQ(Data.FieldByName(QStringLiteral("F"))->Precision(), 15);
    EXPECT_FALSE(Data.FieldByName(QStringLiteral("F"))->Currency());
    EXPECT_TRUE(Data.FieldByName(QStringLiteral("C"))->Currency());
}

} // namespace

// Right-to-left reading keeps the cells where they are; full right-to-left
// also moves left-aligned text to the right side of its cell and back.
TEST_F(TPaintFixture, RightToLeftTextTradesSidesOnlyWithRightToLeftAlignment)
{
    Fill(3);
    AddColumn("Name", "Name", 160)->SetAlignment(taLeftJustify);
    AddColumn("Qty", "Qty", 160)->SetAlignment(taRightJustify);
    Link();
    const int Row = Grid->TitleRowCount();
    struct TCase
    {
        const char* Name;
        TBiDiMode Mode;
        bool NameOnRight;
        bool QtyOnRight;
    };
    const TCase Cases[] = {
        {"left to right", bdLeftToRight, false, true},
        {"reading only", bdRightToLeftReadingOnly, false, true},
        {"no alignment", bdRightToLeftNoAlign, false, true},
        {"full right to left", bdRightToLeft, true, false},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetBiDiMode(C.Mode);
        const QImage I = FullPaint();
        for (int Col : {1, 2}) {
            const QRect Cell = Grid->CellRect(Col, Row);
            const QRect Ink = TGridTestFixture::Ink(I, Cell.adjusted(1, 1, -1, -1));
            ASSERT_FALSE(Ink.isEmpty());
            const bool OnRight = Ink.center().x() > Cell.center().x();
            EXPECT_EQ(OnRight, Col == 1 ? C.NameOnRight : C.QtyOnRight) << "column " << Col;
        }
    }
}
