// The grid's frame (line colours by region, raised edges, the flat border)
// and the column widths it takes from its data and its sort settings.
#include "GridFixture.h"
#include "platform/gui/TestRender.h"

#include <QDir>


namespace {

class TFrameFixture : public TGridTestFixture
{
public:
    TFrameFixture()
        : TGridTestFixture({{"Id", ftInteger}, {"Name", ftWideString, 30}, {"Amount", ftFloat}}, QSize(400, 200),
                           30)
    {
    }

    void SetUp() override
    {
        TGridTestFixture::SetUp();
        AddColumn(QStringLiteral("Id"), QStringLiteral("Id"), 50);
        AddColumn(QStringLiteral("Name"), QStringLiteral("Name"), 60);
        AddColumn(QStringLiteral("Amount"), QStringLiteral("Amount"), 70);
    }

    // The colour of the vertical line right of raw column ACol in row ARow.
    TColor VertLine(const QImage& I, int ACol, int ARow)
    {
        const QRect R = Grid->CellRect(ACol, ARow);
        return Background(I, QRect(R.left() + R.width(), R.top() + 2, 1, R.height() - 4));
    }

protected:
    QList<Variant> Record(int i) const override
    {
        const QString Name = i == 17 ? QStringLiteral("A much longer customer name") : QStringLiteral("N%1").arg(i);
        return {Variant(i), Variant(Name), Variant(i * 1.5)};
    }
};

// ---------------------------------------------------------------- lines

TEST_F(TFrameFixture, LineColoursByRegion)
{
    // Row: 0 the title row, 1 the first data row, -1 the footer row (the
    // grid then has one); the line right of raw column Col.
    const struct
    {
        const char* Name;
        bool Flat, Silver, Frozen;
        TDBGridEhOptions Raised;
        int Col, Row;
        TColor Line;
    } Cases[] = {
        {"titles", false, false, false, {}, 1, 0, clBlack},
        {"titles of a flat grid", true, false, false, {}, 1, 0, clGray},
        {"data", false, false, false, {}, 1, 1, clSilver},
        {"data on a silver grid", false, true, false, {}, 1, 1, clGray},
        {"indicator", false, false, false, {}, 0, 1, clBlack},
        {"frozen column", false, false, true, {}, 1, 1, clSilver},
        {"raised frozen column", false, false, true, TDBGridEhOptions(dghFrozen3D), 1, 1, clBlack},
        {"footer", false, false, false, {}, 1, -1, clSilver},
        {"raised footer", false, false, false, TDBGridEhOptions(dghFooter3D), 1, -1, clBlack},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        TearDown();
        SetUp();
        Grid->SetFlat(C.Flat);
        Grid->SetColor(C.Silver ? clSilver : clWindow);
        Grid->SetFrozenCols(C.Frozen ? 1 : 0);
        Grid->SetFooterRowCount(C.Row < 0 ? 1 : 0);
        Grid->SetOptionsEh(Grid->OptionsEh() + C.Raised);
        Link();
        EXPECT_EQ(VertLine(FullPaint(), C.Col, C.Row < 0 ? Grid->RowCount() - 1 : C.Row), C.Line);
    }
}

// ---------------------------------------------------------------- raised edges

struct TEdgeCase
{
    const char* Name;
    TDBGridEhOptions Options;
    TDBGridEhCellType Cell;
    bool Fixed;
    bool Raised;
};

TEST_F(TFrameFixture, RaisedEdgeRuleOverOptionsAndCells)
{
    const TDBGridEhOptions F3D(dghFixed3D), D3D(dghData3D);
    const TEdgeCase Cases[] = {
        {"title with fixed 3D", F3D, {false, 0, raTitle, 0}, true, true},
        {"data with data 3D", F3D + D3D, {false, 0, raData, 0}, false, true},
        {"filler indicator with fixed 3D", F3D, {true, -1, raFiller, 0}, true, false},
        {"filler indicator with fixed and data 3D", F3D + D3D, {true, -1, raFiller, 0}, true, true},
        {"footer with footer 3D", TDBGridEhOptions(dghFooter3D), {false, 0, raFooter, 0}, false, true},
        {"frozen data with frozen 3D", TDBGridEhOptions(dghFrozen3D), {false, 0, raData, 0}, true, true},
    };
    Grid->SetFooterRowCount(1);
    for (const TEdgeCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetOptionsEh(C.Options);
        EXPECT_EQ(Grid->IsFixed3DEdgeCell(C.Cell, C.Fixed ? TGridDrawState(gdFixed) : TGridDrawState()), C.Raised);
    }
}

TEST_F(TFrameFixture, RaisedTitlesLoseTheRightEdgeWithoutRowLines)
{
    Link();
    const QRect T = Grid->CellRect(2, 0);
    const QRect RightEdge(T.right(), T.top() + 3, 1, T.height() - 6);
    EXPECT_EQ(Background(FullPaint(), RightEdge), ColorToRGB(clBtnShadow));
    Grid->SetOptions(Grid->Options() - TDBGridOptions(dgRowLines));
    EXPECT_NE(Background(FullPaint(), RightEdge), ColorToRGB(clBtnShadow));
}

// The pictures in the documentation: a raised and a flat grid with frozen
// column, footer and sort marker. Written to TB_RENDER_DIR when set.
TEST_F(TFrameFixture, RendersRaisedAndFlatPictures)
{
    Grid->SetFrozenCols(1);
    Grid->SetFooterRowCount(1);
    Grid->Columns(0)->Footer()->SetValueType(fvtCount);
    Grid->Columns(2)->Footer()->SetValueType(fvtSum);
    Grid->Columns(2)->Footer()->SetAlignment(taRightJustify);
    Grid->Columns(1)->Title()->SetSortMarker(smDownEh);
    Grid->SumList()->SetActive(true);
    Link();
    Data->MoveBy(3);
    Grid->resize(260, 180);
    const QString Dir = qEnvironmentVariable("TB_RENDER_DIR", QDir::tempPath());
    for (const bool Flat : {false, true}) {
        SCOPED_TRACE(Flat);
        Grid->SetFlat(Flat);
        Grid->SetOptionsEh(Flat ? TDBGridEhOptions() : TDBGridEhOptions({dghFixed3D, dghFrozen3D, dghFooter3D}));
        const QString File = QDir(Dir).filePath(Flat ? QStringLiteral("grid-flat.png") : QStringLiteral("grid-raised.png"));
        RenderToPng(Grid.get(), File);
        const QImage I(File);
        ASSERT_EQ(I.size(), QSize(260, 180));
        // Raised titles carry a white top edge; the flat grid has a grey one and its own border.
        const QRect Title = Grid->CellRect(2, 0);
        EXPECT_EQ(Background(I, QRect(Title.left() + 3, Title.top(), Title.width() - 6, 1)),
                  Flat ? ColorToRGB(clBtnShadow) : ColorToRGB(clBtnHighlight));
        EXPECT_EQ(Background(I, QRect(0, 60, 1, 40)) == ColorToRGB(clBtnShadow), Flat);
        EXPECT_TRUE(HasInk(I, Grid->CellRect(3, Grid->RowCount() - 1))) << "the footer sum";
    }
}

// ---------------------------------------------------------------- widths by data

TEST_F(TFrameFixture, FittedWidthsKeepTheRecordsOnScreen)
{
    TColumnEh* Name = Grid->Columns(1);
    TColumnEh* Amount = Grid->Columns(2);
    Grid->SetFooterRowCount(1);
    Amount->Footer()->SetValueType(fvtStaticText);
    Amount->Footer()->SetValue(QStringLiteral("A long footer text here"));
    Name->Footer()->SetValueType(fvtFieldValue);
    Name->Footer()->SetFieldName(QStringLiteral("Missing"));
    Link();
    Data->MoveBy(21);
    Data->MoveBy(-3);
    const int Top = Grid->DataLink()->FirstRecord();
    const int RecNo = Data->RecNo();
    Grid->FitColumnsToData({Name, Amount});
    QImage Image(1, 1, QImage::Format_RGB32);
    TCanvas C(&Image);
    C.Font()->Assign(*Name->Font());
    EXPECT_EQ(Name->Width(), C.TextWidth(QStringLiteral("A much longer customer name")) + 4);
    C.Font()->Assign(*Amount->Footer()->Font());
    EXPECT_EQ(Amount->Width(), C.TextWidth(QStringLiteral("A long footer text here")) + 5);
    EXPECT_EQ(Data->RecNo(), RecNo);
    EXPECT_EQ(Grid->DataLink()->FirstRecord(), Top);

    // A failure on the way puts everything back before it is reported.
    Grid->OnGetCellParams = [](QObject*, TColumnEh* Column, TFont*, TColor&, TGridDrawState) {
        if (Column->Field()->DataSet()->FieldByName(QStringLiteral("Id"))->AsInteger() == 12)
            throw EDatabaseError(QStringLiteral("cell parameters failed"));
    };
    EXPECT_THROW(Grid->FitColumnsToData({Name}), EDatabaseError);
    EXPECT_EQ(Data->RecNo(), RecNo);
    EXPECT_EQ(Grid->DataLink()->FirstRecord(), Top);
    EXPECT_FALSE(Data->ControlsDisabled());
}

TEST_F(TFrameFixture, AutoFitOnAndOffRestoresTheWidths)
{
    Link();
    Grid->SetAutoFitColWidths(true);
    ASSERT_NE(Grid->Columns(2)->Width(), 70);
    Grid->SetAutoFitColWidths(false);
    EXPECT_EQ(Grid->Columns(0)->Width(), 50);
    EXPECT_EQ(Grid->Columns(1)->Width(), 60);
    EXPECT_EQ(Grid->Columns(2)->Width(), 70);
}

TEST_F(TFrameFixture, DroppingMultipleSortingKeepsTheFirstMarker)
{
    Grid->SetOptionsEh(Grid->OptionsEh() << dghMultiSortMarking);
    Grid->Columns(2)->Title()->SetSortMarker(smUpEh);
    Grid->Columns(0)->Title()->SetSortMarker(smDownEh);
    Grid->Columns(1)->Title()->SetSortMarker(smDownEh);
    Grid->SetOptionsEh(Grid->OptionsEh() >> dghMultiSortMarking);
    ASSERT_EQ(Grid->SortMarkedColumns().size(), 1u);
    EXPECT_EQ(Grid->SortMarkedColumns()[0], Grid->Columns(2));
    EXPECT_EQ(Grid->Columns(2)->Title()->SortIndex(), 1);
    EXPECT_EQ(Grid->Columns(0)->Title()->SortMarker(), smNoneEh);
    EXPECT_EQ(Grid->Columns(1)->Title()->SortMarker(), smNoneEh);
}

} // namespace
