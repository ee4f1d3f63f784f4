// Title cells on screen: images in place of captions, the pressed title
// button and captions written upwards.
#include "GridFixture.h"
#include "platform/gui/ImgList.h"

namespace {

class TTitleFixture : public TGridTestFixture
{
public:
    TTitleFixture() : TGridTestFixture({{"Name", ftWideString, 20}, {"Qty", ftInteger}}, QSize(400, 300), 1) {}

    void SetUp() override
    {
        TGridTestFixture::SetUp();
        TBitmap Red;
        Red.SetSize(12, 12);
        Red.Canvas()->Brush()->SetColor(clRed);
        Red.Canvas()->FillRect(QRect(0, 0, 12, 12));
        Images = std::make_unique<TImageList>(12, 12);
        Images->Add(&Red, nullptr);
    }

    // Text ink only: the red test image is dark too and does not count.
    static QRect Ink(const QImage& I, const QRect& R) { return TGridTestFixture::Ink(I, R, clRed); }

    std::unique_ptr<TImageList> Images;

protected:
    QList<Variant> Record(int) const override { return {Variant(QStringLiteral("A")), Variant(1)}; }
};

} // namespace

TEST_F(TTitleFixture, TitleImageTakesThePlaceOfTheCaption)
{
    struct Row {
        const char* Name;
        TAlignment Alignment;
        int MinX, MaxX; // where the image's left edge may lie, from the cell's left
    };
    const Row Rows[] = {
        {"left", taLeftJustify, 0, 6},
        {"centre", taCenter, 40, 46},
        {"right", taRightJustify, 84, 90},
    };
    TColumnEh* Name = AddColumn(QStringLiteral("Name"), QStringLiteral("WWWWWW"), 100);
    TColumnEh* Qty = AddColumn(QStringLiteral("Qty"), QStringLiteral("WWWWWW"), 100);
    Name->Title()->SetImageIndex(0);
    Grid->SetTitleImages(Images.get());
    Grid->SetDataSource(Source.get());
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        Name->Title()->SetAlignment(R.Alignment);
        const QImage I = FullPaint();
        const QRect Cell = Grid->CellRect(1, 0).adjusted(2, 2, -2, -2);
        const QRect Image = Colored(I, Cell, clRed);
        ASSERT_FALSE(Image.isEmpty());
        EXPECT_EQ(Image.width(), 12);
        EXPECT_GE(Image.left() - Grid->CellRect(1, 0).left(), R.MinX);
        EXPECT_LE(Image.left() - Grid->CellRect(1, 0).left(), R.MaxX);
        EXPECT_TRUE(Ink(I, Cell).isEmpty()) << "no caption beside the image";
    }
    // The column without an image index keeps its caption.
    const QImage I = FullPaint();
    EXPECT_FALSE(Ink(I, Grid->CellRect(2, 0).adjusted(2, 2, -2, -2)).isEmpty());
    // Without the list the caption comes back.
    Grid->SetTitleImages(nullptr);
    EXPECT_FALSE(Ink(FullPaint(), Grid->CellRect(1, 0).adjusted(2, 2, -2, -2)).isEmpty());
    (void)Qty;
}

TEST_F(TTitleFixture, PressedTitleSinksAndShiftsItsCaption)
{
    struct Row {
        const char* Name;
        int TitleLines;
        int Shift;
    };
    const Row Rows[] = {{"one plain line", 0, 1}, {"title lines", 2, 2}};
    TColumnEh* Name = AddColumn(QStringLiteral("Name"), QStringLiteral("Name"), 100);
    AddColumn(QStringLiteral("Qty"), QStringLiteral("Qty"), 60);
    bool SawDown = false;
    Grid->OnGetBtnParams = [&](QObject*, TColumnEh* Column, TFont*, TColor&, TSortMarkerEh&, bool IsDown) {
        if (Column == Name && IsDown)
            SawDown = true;
    };
    Grid->SetDataSource(Source.get());
    for (const Row& R : Rows) {
        SCOPED_TRACE(R.Name);
        Grid->SetTitleLines(R.TitleLines);
        Grid->SetPressedTitle(nullptr, false);
        const QImage Up = FullPaint();
        const QRect Cell = Grid->CellRect(1, 0);
        const QRect Before = Ink(Up, Cell.adjusted(2, 2, -2, -2));
        SawDown = false;
        Grid->SetPressedTitle(Name, true);
        EXPECT_EQ(Grid->PressedTitleColumn(), Name);
        const QImage Down = FullPaint();
        const QRect After = Ink(Down, Cell.adjusted(2, 2, -2, -2));
        ASSERT_FALSE(Before.isEmpty());
        EXPECT_EQ(After.topLeft() - Before.topLeft(), QPoint(R.Shift, R.Shift));
        EXPECT_TRUE(SawDown);
        // Raised edges are light at the top left, sunken ones are not.
        const QRgb Light = ColorToQColor(clBtnHighlight).rgb() & 0xFFFFFF;
        EXPECT_EQ(Up.pixel(Cell.left(), Cell.top() + 4) & 0xFFFFFF, Light);
        EXPECT_NE(Down.pixel(Cell.left(), Cell.top() + 4) & 0xFFFFFF, Light);
        // The other title keeps its raised look.
        const QRect Other = Grid->CellRect(2, 0);
        EXPECT_EQ(Down.pixel(Other.left(), Other.top() + 4) & 0xFFFFFF, Light);
    }
}

TEST_F(TTitleFixture, ReleasedOrRemovedColumnLeavesNoPressedTitle)
{
    TColumnEh* Name = AddColumn(QStringLiteral("Name"), QStringLiteral("Name"), 100);
    TColumnEh* Qty = AddColumn(QStringLiteral("Qty"), QStringLiteral("Qty"), 60);
    Grid->SetDataSource(Source.get());
    Grid->SetPressedTitle(Name, false);
    EXPECT_EQ(Grid->PressedTitleColumn(), nullptr);
    Grid->SetPressedTitle(Qty, true);
    Grid->Columns()->Delete(1);
    EXPECT_EQ(Grid->PressedTitleColumn(), nullptr);
    FullPaint();
}

TEST_F(TTitleFixture, VerticalTitleRunsUpwardsAndHeightensTheTitleRow)
{
    TColumnEh* Name = AddColumn(QStringLiteral("Name"), QStringLiteral("Name"), 30);
    AddColumn(QStringLiteral("Qty"), QStringLiteral("Qty"), 60);
    Grid->SetUseMultiTitle(true);
    Grid->SetDataSource(Source.get());
    const int FlatHeight = Grid->CellRect(1, 0).height();
    Name->Title()->SetCaption(QStringLiteral("Quantity on hand"));
    Name->Title()->SetOrientation(tohVertical);
    const QImage I = FullPaint();
    const QRect Cell = Grid->CellRect(1, 0);
    EXPECT_GT(Cell.height(), FlatHeight + 40);
    const QRect Text = Ink(I, Cell.adjusted(2, 2, -2, -2));
    ASSERT_FALSE(Text.isEmpty());
    EXPECT_GT(Text.height(), 3 * Text.width());
    EXPECT_LT(Text.width(), Cell.width());
}
