// The data grid on screen: layout arithmetic, the record window and its
// scrolling, footer texts and the painted cells, checked offscreen on the
// grid's own image.
#include "GridFixture.h"
#include "platform/gui/TestRender.h"
#include "platform/rtl/Classes.h"

#include <QDir>
#include <QKeyEvent>
#include <functional>

namespace {

class TScreenFixture : public TGridTestFixture
{
public:
    TScreenFixture()
        : TGridTestFixture({{"Name", ftWideString, 20}, {"Qty", ftInteger}, {"Amount", ftFloat}, {"Paid", ftBoolean}},
                           QSize(400, 300), 0, false)
    {
    }

    // Rows records under Name and a summed Qty with a footer row, painted once.
    void ShowQtySum(int Rows)
    {
        Fill(Rows);
        AddColumn("Name", "Name");
        AddColumn("Qty", "Qty")->Footer()->SetValueType(fvtSum);
        Grid->SetFooterRowCount(1);
        Grid->SumList()->SetActive(true);
        Link();
        Painted();
    }

protected:
    QList<Variant> Record(int i) const override
    {
        return {Variant(QStringLiteral("Item %1").arg(i)), Variant(i), Variant(i * 1.25), Variant(i % 2 == 0)};
    }
};

} // namespace

TEST_F(TScreenFixture, RowHeightFitsTextLines)
{
    Fill(3);
    Link();
    const int Default = Grid->DataRowHeight();
    ASSERT_GT(Default, 4);
    // Margin 3 plus the row line; the text height is what is left.
    const int M = 3 + Grid->GridLineWidth();
    const int T = Default - M;
    struct TRow
    {
        const char* Name;
        int RowHeight;
        int ExpectedLines;
    };
    const TRow Rows[] = {
        {"half a line over rounds down", M + T + T / 2, 1},
        {"more than half rounds up", M + T + T / 2 + 1, 2},
        {"below one line is one line", M + 1, 1},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        Grid->SetOptionsEh(Grid->OptionsEh() - TDBGridEhOptions(dghFitRowHeightToText));
        Grid->SetRowLines(0);
        Grid->SetRowHeight(Row.RowHeight);
        Grid->SetOptionsEh(Grid->OptionsEh() + TDBGridEhOptions(dghFitRowHeightToText));
        EXPECT_EQ(Grid->DataRowHeight(), Row.ExpectedLines * T + M);
        EXPECT_EQ(Grid->RowLines(), Row.ExpectedLines);
        EXPECT_EQ(Grid->RowHeight(), M);
    }
}

TEST_F(TScreenFixture, FrozenColumnsCountHiddenColumnsAmongThem)
{
    Fill(3);
    struct TRow
    {
        const char* Name;
        std::vector<bool> Visible;
        int Frozen;
        int ExpectedFixed;
    };
    const TRow Rows[] = {
        {"none frozen", {true, true, true, true}, 0, 1},
        {"two frozen", {true, true, true, true}, 2, 3},
        {"a hidden column inside the frozen part", {true, false, true, true}, 2, 4},
        {"a hidden column right after the frozen part", {true, true, false, true}, 2, 4},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        NewGrid();
        const QString Fields[] = {"Name", "Qty", "Amount", "Paid"};
        for (int i = 0; i < 4; ++i)
            AddColumn(Fields[i], Fields[i])->SetVisible(Row.Visible[size_t(i)]);
        Link();
        Grid->SetFrozenCols(Row.Frozen);
        EXPECT_EQ(Grid->FixedCols(), Row.ExpectedFixed);
        EXPECT_EQ(Grid->ColCount(), 5);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Grid->ColWidths(i + 1) == 0, !Row.Visible[size_t(i)]) << "column " << i;
    }
}

TEST_F(TScreenFixture, AutoFitSharesTheClientWidth)
{
    Fill(3);
    for (const bool Default : {false, true}) {
        SCOPED_TRACE(Default ? "default columns" : "columns set up by code");
        NewGrid();
        if (!Default) {
            AddColumn("Name", "Name", 100);
            AddColumn("Qty", "Qty", 50)->SetMaxWidth(60);
            AddColumn("Amount", "Amount", 50);
        }
        Link();
        Grid->SetAutoFitColWidths(true);
        int Used = Grid->ColWidths(0) + 1;
        for (int i = 1; i < Grid->ColCount(); ++i)
            Used += Grid->ColWidths(i) + 1;
        EXPECT_EQ(Used, Grid->ClientWidth()) << "the columns fill the width exactly";
        if (!Default) {
            EXPECT_EQ(Grid->Columns(1)->Width(), 60) << "clamped by its limit";
            EXPECT_GT(Grid->Columns(0)->Width(), Grid->Columns(2)->Width());
        }
    }
}

TEST_F(TScreenFixture, RecordWindowFillsTheRowsAndKeepsFootersAtTheBottom)
{
    Fill(100);
    AddColumn("Name", "Name");
    Link();
    Grid->SetFooterRowCount(1);
    const int Step = Grid->DataRowHeight() + 1;
    const int Titles = Grid->TitleRowCount();
    const int Expected = (Grid->ClientHeight() - (Grid->RowHeights(0) + 1) - (Step + 1)) / Step;
    EXPECT_EQ(Grid->VisibleDataRowCount(), Expected);
    EXPECT_EQ(Grid->DataLink()->BufferCount(), Expected);
    EXPECT_EQ(Grid->RowCount(), Titles + Expected + 2);
    // The footer row ends at the bottom of the client area.
    const int Footer = Grid->RowCount() - 1;
    EXPECT_EQ(Grid->RowTop(Footer) + Grid->RowHeights(Footer) + 1, Grid->ClientHeight());
    EXPECT_EQ(Grid->GetCellType(1, Footer).Area, raFooter);
    EXPECT_EQ(Grid->GetCellType(1, Footer - 1).Area, raFiller);
    EXPECT_EQ(Grid->GetCellType(0, Titles).Indicator, true);
}

TEST_F(TScreenFixture, ScrollingMovesRowsAndLeavesFootersInPlace)
{
    ShowQtySum(1000);
    const int Rows = Grid->VisibleDataRowCount();
    struct TRow
    {
        const char* Name;
        int Move;
    };
    const TRow Moves[] = {
        {"within the window", 3},
        {"one past the bottom", Rows - 3},
        {"a page", Rows},
        {"farther than a page", 5 * Rows},
        {"back up by one beyond the top", -(Rows + 1)},
    };
    for (const TRow& Move : Moves) {
        SCOPED_TRACE(Move.Name);
        Grid->PaintedRows();
        Data->MoveBy(Move.Move);
        const QImage Scrolled = Painted();
        // A step of one row repaints the uncovered row and the two indicator rows.
        if (std::abs(Move.Move) <= Rows) {
            EXPECT_LE(Grid->PaintedRows(), std::abs(Move.Move) + 3);
        }
        EXPECT_EQ(Grid->Row(), Grid->TitleRowCount() + Grid->DataLink()->ActiveRecord());
        EXPECT_EQ(Scrolled, FullPaint()) << "the scrolled picture equals a fresh one";
    }
}

TEST_F(TScreenFixture, FooterTexts)
{
    Fill(3);
    TColumnEh* Name = AddColumn("Name", "Name");
    TColumnEh* Qty = AddColumn("Qty", "Qty");
    TColumnEh* Amount = AddColumn("Amount", "Amount");
    Grid->SumList()->SetActive(true);
    Link();
    struct TRow
    {
        const char* Name;
        TColumnEh* Column;
        TFooterValueType Type;
        QString FieldName;
        QString Format;
        QString Expected;
    };
    const TRow Rows[] = {
        {"integer sum", Qty, fvtSum, "", "", "6"},
        {"float sum", Amount, fvtSum, "", "", "7.5"},
        {"footer format", Amount, fvtSum, "", "#,##0.00", "7.50"},
        {"average", Amount, fvtAvg, "", "", "2.5"},
        {"count", Name, fvtCount, "", "", "3"},
        {"sum of a missing field", Qty, fvtSum, "Nothing", "", "0"},
        {"value of a missing field is empty", Name, fvtFieldValue, "Nothing", "", ""},
        {"value of a field", Name, fvtFieldValue, "Qty", "", "1"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TColumnFooterEh* F = Row.Column->Footer();
        F->SetFieldName(Row.FieldName);
        F->SetDisplayFormat(Row.Format);
        F->SetValueType(Row.Type);
        EXPECT_EQ(Grid->GetFooterValueText(0, Row.Column), Row.Expected);
        F->SetValueType(fvtNon);
    }
    Name->Footer()->SetValueType(fvtStaticText);
    Name->Footer()->SetValue(QStringLiteral("共%1条").arg(Data->RecordCount()));
    EXPECT_EQ(Grid->GetFooterValueText(0, Name), QStringLiteral("共3条"));
}

TEST_F(TScreenFixture, SumChangesRepaintOnlyTheFooterRow)
{
    ShowQtySum(30);
    Grid->PaintedRows();
    Data->Last();
    Data->Edit();
    Data->FieldByName(QStringLiteral("Qty"))->SetAsInteger(1000);
    Data->Post();
    const QImage I = Painted();
    EXPECT_EQ(Grid->GetFooterValueText(0, Grid->Columns(1)), QStringLiteral("1435"));
    EXPECT_EQ(I, FullPaint());
}

TEST_F(TScreenFixture, CellTypesAndTheImpossibleRow)
{
    Fill(2);
    AddColumn("Name", "Name");
    Link();
    EXPECT_EQ(Grid->GetCellType(1, 0).Area, raTitle);
    EXPECT_EQ(Grid->GetCellType(1, 1).Area, raData);
    EXPECT_EQ(Grid->GetCellType(1, 1).DataCol, 0);
    try {
        Grid->GetCellType(1, 50);
        FAIL() << "no error";
    } catch (const EInvalidGridOperation& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("Algorithm error in TCustomDBGridEh.GetCellType"));
    }
#ifdef QT_NO_DEBUG
    // Painting such a cell fills it as the filler row instead of failing.
    Grid->Canvas()->Brush()->SetColor(clLime);
    Grid->Canvas()->FillRect(QRect(10, 10, 20, 10));
    EXPECT_NO_THROW(Grid->DrawCell(1, 50, QRect(10, 10, 20, 10), TGridDrawState()));
    EXPECT_FALSE(HasColor(Grid->Image(), QRect(10, 10, 20, 10), clLime));
    EXPECT_TRUE(HasColor(Grid->Image(), QRect(10, 10, 20, 10), clWindow));
#endif
}

TEST_F(TScreenFixture, PaintsIndicatorMarkersFootersAndCellColours)
{
    Fill(5);
    TColumnEh* Name = AddColumn("Name", "Name", 90);
    TColumnEh* Qty = AddColumn("Qty", "Qty", 60);
    AddColumn("Paid", "Paid", 40)->SetCheckboxes(true);
    Grid->SetOptionsEh(Grid->OptionsEh() + TDBGridEhOptions(dghMultiSortMarking));
    Name->Title()->SetSortMarker(smDownEh);
    Qty->Title()->SetSortMarker(smUpEh);
    Qty->Footer()->SetValueType(fvtSum);
    Qty->Footer()->SetColor(clYellow);
    Grid->SetFooterRowCount(1);
    Grid->SumList()->SetActive(true);
    int Calls = 0;
    Grid->OnGetCellParams = [&](QObject*, TColumnEh* Column, TFont*, TColor& Background, TGridDrawState) {
        ++Calls;
        if (Column->FieldName() == "Qty" && Column->Field()->AsInteger() == 3)
            Background = clAqua;
    };
    Link();
    Data->MoveBy(1);
    const QImage I = FullPaint();
    EXPECT_GT(Calls, 0);
    const int Titles = Grid->TitleRowCount();
    auto Cell = [&](int Col, int Row) { return Grid->CellRect(Col, Row); };
    // The indicator glyph (black) only on the current row, the second record.
    EXPECT_TRUE(HasColor(I, Cell(0, Titles + 1).adjusted(1, 1, -1, -1), clBlack));
    EXPECT_FALSE(HasColor(I, Cell(0, Titles).adjusted(1, 1, -1, -1), clBlack));
    EXPECT_FALSE(HasColor(I, Cell(0, Titles + 2).adjusted(1, 1, -1, -1), clBlack));
    // Sort markers at the right of both titles, in the marker grey.
    for (int c : {1, 2}) {
        const QRect T = Cell(c, 0);
        EXPECT_TRUE(HasColor(I, QRect(T.right() - 30, T.top(), 30, T.height()), clGray)) << c;
    }
    // The event's colour on the third record's Qty cell only.
    EXPECT_TRUE(HasColor(I, Cell(2, Titles + 2), clAqua));
    EXPECT_FALSE(HasColor(I, Cell(2, Titles + 1), clAqua));
    // The footer in its own colour at the bottom, with its text inked.
    const QRect F = Cell(2, Grid->RowCount() - 1);
    EXPECT_TRUE(HasColor(I, F, clYellow));
    EXPECT_TRUE(HasInk(I, F.adjusted(2, 2, -2, -2)));
    // A checked box on the second record (Paid true for even numbers).
    EXPECT_TRUE(HasColor(I, Cell(3, Titles + 1).adjusted(3, 3, -3, -3), clBlack));
}

TEST_F(TScreenFixture, MultiLineTitlesSpanTheirGroup)
{
    Fill(3);
    AddColumn("Name", "Name", 90);
    AddColumn("Qty", QStringLiteral("金额|数量"), 60);
    AddColumn("Amount", QStringLiteral("金额|合计"), 70);
    Grid->SetUseMultiTitle(true);
    Link();
    const QImage I = FullPaint();
    const QRect Qty = Grid->CellRect(2, 0);
    const QRect Amount = Grid->CellRect(3, 0);
    ASSERT_GT(Qty.height(), 2 * Grid->DataRowHeight()) << "two levels of titles";
    // Between the two leaves, in the group band, no black column line: the
    // group caption spans both.
    const int Border = Qty.right() + 1;
    EXPECT_FALSE(HasColor(I, QRect(Border, Qty.top() + 4, 1, 4), clBlack));
    EXPECT_TRUE(HasColor(I, QRect(Border, Qty.bottom() - 4, 1, 4), clBlack));
    EXPECT_EQ(Amount.top(), Qty.top());
}

// The picture in the documentation: two-level titles, two sort markers with
// their numbers, colours from OnGetCellParams, a check-box column and a footer
// row. Written to TB_RENDER_DIR when set.
TEST_F(TScreenFixture, RendersTheDocumentationPicture)
{
    Fill(8);
    AddColumn("Name", QStringLiteral("客户"), 90);
    AddColumn("Qty", QStringLiteral("本期|数量"), 60);
    AddColumn("Amount", QStringLiteral("本期|金额"), 70);
    AddColumn("Paid", QStringLiteral("已付"), 40)->SetCheckboxes(true);
    Grid->SetOptionsEh(Grid->OptionsEh() + TDBGridEhOptions(dghMultiSortMarking));
    Grid->Columns(0)->Title()->SetSortMarker(smDownEh);
    Grid->Columns(2)->Title()->SetSortMarker(smUpEh);
    Grid->SetUseMultiTitle(true);
    Grid->SetFooterRowCount(1);
    Grid->SumList()->SetActive(true);
    Grid->Columns(0)->Footer()->SetValueType(fvtStaticText);
    Grid->Columns(0)->Footer()->SetValue(QStringLiteral("共%1条").arg(8));
    for (int c : {1, 2}) {
        Grid->Columns(c)->Footer()->SetValueType(fvtSum);
        Grid->Columns(c)->Footer()->SetAlignment(taRightJustify);
    }
    Grid->OnGetCellParams = [](QObject*, TColumnEh* Column, TFont* Font, TColor&, TGridDrawState) {
        if (Column->FieldName() == "Amount")
            Font->SetColor(Column->Field()->AsFloat() >= 5 ? clRed : clBlue);
    };
    Link();
    Data->MoveBy(2);
    Grid->resize(330, 250);
    const QString Dir = qEnvironmentVariable("TB_RENDER_DIR", QDir::tempPath());
    const QString File = QDir(Dir).filePath(QStringLiteral("grid.png"));
    RenderToPng(Grid.get(), File);
    const QImage I(File);
    ASSERT_EQ(I.size(), QSize(330, 250));
    // Read back from the file: per record the colour of its amount and a mark
    // in the box when paid; the footer holds the count and the two sums.
    const auto Tinted = [&I](const QRect& R, bool Red) {
        for (int y = R.top(); y <= R.bottom(); ++y)
            for (int x = R.left(); x <= R.right(); ++x) {
                const QColor C = I.pixelColor(x, y);
                const int Ink = Red ? C.red() : C.blue(), Other = Red ? C.blue() : C.red();
                if (Ink > 160 && Other < 100 && C.green() < 100)
                    return true;
            }
        return false;
    };
    QString Amounts, Paid, Footer;
    for (int r = 0; r < 8; ++r) {
        const int Row = Grid->TitleRowCount() + r;
        const QRect Amount = Grid->CellRect(3, Row);
        Amounts += Tinted(Amount, true) ? u'R' : Tinted(Amount, false) ? u'B' : u'-';
        // Inside the frame of the box, leaving its border out.
        const QRect Box = Ink(I, Grid->CellRect(4, Row)).adjusted(2, 2, -2, -2);
        Paid += !Box.isEmpty() && HasInk(I, Box) ? u'V' : u'-';
    }
    for (int c = 1; c <= 4; ++c)
        Footer += HasInk(I, Grid->CellRect(c, Grid->RowCount() - 1)) ? u'T' : u'-';
    EXPECT_EQ(Amounts, QStringLiteral("BBBRRRRR"));
    EXPECT_EQ(Paid, QStringLiteral("-V-V-V-V"));
    EXPECT_EQ(Footer, QStringLiteral("TTT-"));
}

TEST(TBlendColorEh, MixesHalfWayThenLightens)
{
    // White over the classic highlight (10, 36, 106): m = 132.5, 145.5, 180.5.
    EXPECT_EQ(BlendColorEh(clWhite, clHighlight, false), RGB(188, 193, 207));
    EXPECT_EQ(BlendColorEh(clWhite, clHighlight, true), RGB(205, 211, 229));
    EXPECT_EQ(BlendColorEh(clBlack, clBlack, true), RGB(138, 138, 138)) << "the dark blend lightens a dark cell";
}

TEST_F(TScreenFixture, HighlightOfTheCurrentCellAndRow)
{
    Fill(5);
    AddColumn("Name", "Name");
    AddColumn("Qty", "Qty");
    Link();
    struct TRow
    {
        const char* Name;
        TDBGridOptions Add;
        bool Focused;
        TColor Current;  // current row, current column
        TColor Beside;   // current row, the other column
    };
    const TColor Window = ColorToRGB(clWindow);
    const TRow Rows[] = {
        {"unfocused, nothing shown", {}, false, Window, Window},
        {"unfocused, always show", {dgAlwaysShowSelection}, false, clBtnShadow, Window},
        {"focused", {}, true, clHighlight, Window},
        {"row select, unfocused, always show", {dgRowSelect, dgAlwaysShowSelection}, false, clBtnShadow, clBtnShadow},
        {"row select, focused", {dgRowSelect}, true, clHighlight, clHighlight},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        Grid->SetOptions(Grid->Options() - TDBGridOptions({dgRowSelect, dgAlwaysShowSelection}) + Row.Add);
        Grid->Focus = Row.Focused;
        Data->First();
        Grid->SetCol(1);
        const QImage I = FullPaint();
        const int R = Grid->TitleRowCount();
        const QRect Current = Grid->CellRect(1, R).adjusted(2, 2, -2, -2);
        const QRect Beside = Grid->CellRect(2, R).adjusted(2, 2, -2, -2);
        EXPECT_EQ(Background(I, Current), ColorToRGB(Row.Current));
        EXPECT_EQ(Background(I, Beside), ColorToRGB(Row.Beside));
        for (int c : {1, 2})
            EXPECT_EQ(Background(I, Grid->CellRect(c, R + 1)), Window) << "other rows plain";
    }
}

TEST_F(TScreenFixture, MovingAColumnMovesItsModelColumn)
{
    Fill(3);
    AddColumn("Name", "Name");
    AddColumn("Qty", "Qty");
    AddColumn("Amount", "Amount");
    Link();
    std::vector<std::pair<int, int>> Moves;
    Grid->OnColumnMoved = [&](QObject*, int From, int To) { Moves.push_back({From, To}); };
    Grid->MoveColumn(1, 3);
    ASSERT_EQ(Moves.size(), 1u);
    EXPECT_EQ(Moves[0], (std::pair<int, int>{0, 2}));
    EXPECT_EQ(Grid->Columns(2)->FieldName(), QStringLiteral("Name"));
    EXPECT_EQ(Grid->Columns(0)->FieldName(), QStringLiteral("Qty"));
}

TEST_F(TScreenFixture, InplaceEditorEditsTheCurrentField)
{
    Fill(3);
    AddColumn("Name", "Name");
    TColumnEh* Kind = AddColumn("Qty", "Kind");
    Kind->KeyList()->Add(QStringLiteral("1"));
    Kind->KeyList()->Add(QStringLiteral("2"));
    Kind->PickList()->Add(QStringLiteral("一"));
    Kind->PickList()->Add(QStringLiteral("二"));
    AddColumn("Paid", "Paid")->SetCheckboxes(true);
    Link();
    Grid->SetCol(1);
    Grid->ShowEditor();
    ASSERT_TRUE(Grid->EditorMode());
    EXPECT_EQ(Grid->InplaceEditor()->text(), QStringLiteral("Item 1"));
    Grid->InplaceEditor()->setText(QStringLiteral("Changed"));
    Grid->InplaceEditor()->setModified(true);
    Grid->HideEditor();
    EXPECT_EQ(Data->State(), dsEdit);
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Changed"));

    Grid->SetCol(2);
    Grid->ShowEditor();
    EXPECT_EQ(Grid->InplaceEditor()->text(), QStringLiteral("一")) << "the pick-list text of the key";
    Grid->InplaceEditor()->setText(QStringLiteral("二"));
    Grid->InplaceEditor()->setModified(true);
    Grid->HideEditor();
    EXPECT_EQ(Data->FieldByName(QStringLiteral("Qty"))->AsInteger(), 2) << "the key of the picked text";

    Grid->SetCol(3);
    Grid->ShowEditor();
    EXPECT_FALSE(Grid->EditorMode()) << "check boxes take no editor";
    Grid->SetReadOnly(true);
    Grid->SetCol(1);
    Grid->ShowEditor();
    EXPECT_FALSE(Grid->EditorMode());
}

TEST_F(TScreenFixture, OptionsOfANewGridAndRowSelection)
{
    EXPECT_EQ(Grid->Options().Bits(), 3325u);
    EXPECT_EQ(Grid->OptionsEh().Bits(), 97u);
    Grid->SetOptions(Grid->Options() + TDBGridOptions({dgRowSelect, dgAlwaysShowEditor}));
    EXPECT_FALSE(Grid->Options().Contains(dgEditing));
    EXPECT_FALSE(Grid->Options().Contains(dgAlwaysShowEditor));
    EXPECT_TRUE(Grid->Options().Contains(dgRowSelect));
}

TEST_F(TScreenFixture, OddStatesPaintWithoutFailing)
{
    struct TRow
    {
        const char* Name;
        std::function<void(TScreenFixture&)> Setup;
        int ExpectedDataRows;
    };
    const TRow Rows[] = {
        {"no data source", [](TScreenFixture& F) { F.AddColumn("Name", "Name"); }, 1},
        {"empty dataset with footers",
         [](TScreenFixture& F) {
             F.AddColumn("Qty", "Qty")->Footer()->SetValueType(fvtSum);
             F.Grid->SetFooterRowCount(2);
             F.Link();
         },
         1},
        {"dataset closed after linking",
         [](TScreenFixture& F) {
             F.Fill(5);
             F.AddColumn("Name", "Name");
             F.Link();
             F.Data->Close();
         },
         1},
        {"a column naming no field",
         [](TScreenFixture& F) {
             F.Fill(5);
             F.AddColumn("Nothing", "Nothing");
             F.AddColumn("Name", "Name");
             F.Link();
         },
         5},
        {"a grid smaller than one row",
         [](TScreenFixture& F) {
             F.Fill(5);
             F.AddColumn("Name", "Name");
             F.Grid->resize(30, 12);
             F.Link();
         },
         1},
        {"default columns from the fields",
         [](TScreenFixture& F) {
             F.Fill(5);
             F.Link();
         },
         5},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TearDown();
        SetUp();
        Row.Setup(*this);
        EXPECT_NO_THROW(FullPaint());
        EXPECT_EQ(Grid->VisibleDataRowCount(), Row.ExpectedDataRows);
        EXPECT_EQ(Grid->RowCount(), Grid->TitleRowCount() + Row.ExpectedDataRows
                      + (Grid->FooterRowCount() > 0 ? 1 + Grid->FooterRowCount() : 0));
    }
    EXPECT_EQ(Grid->Columns()->Count(), 4) << "one default column per field";
}

TEST_F(TScreenFixture, KeysAndClicksMoveTheRecord)
{
    Fill(100);
    AddColumn("Name", "Name");
    AddColumn("Qty", "Qty");
    Link();
    const int Titles = Grid->TitleRowCount();
    const int Rows = Grid->VisibleDataRowCount();
    auto Key = [&](int K, Qt::KeyboardModifiers M = Qt::NoModifier) {
        QKeyEvent E(QEvent::KeyPress, K, M);
        QCoreApplication::sendEvent(Grid.get(), &E);
    };
    Click(2, Titles + 3);
    EXPECT_EQ(Data->RecNo(), 4);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), Titles + 3);
    Click(1, Titles + Rows - 1);
    Key(Qt::Key_Down);
    EXPECT_EQ(Data->RecNo(), Rows + 1) << "down at the bottom scrolls";
    EXPECT_EQ(Grid->Row(), Titles + Rows - 1);
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Data->RecNo(), 100);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Data->RecNo(), 100 - Rows);
    Key(Qt::Key_Home, Qt::ControlModifier);
    Key(Qt::Key_Up);
    EXPECT_EQ(Data->RecNo(), 1);
    EXPECT_EQ(Grid->Row(), Titles);
}

TEST_F(TScreenFixture, FieldMapFollowsColumnsOrVisibleFields)
{
    Fill(2);
    Data->FieldByName(QStringLiteral("Paid"))->SetVisible(false);
    Link();
    auto Map = [&] {
        QStringList Names;
        for (int i = 0; i < Grid->DataLink()->MappedCount(); ++i) {
            TField* F = Grid->DataLink()->GetMappedField(i);
            Names << (F ? F->FieldName() : QStringLiteral("-"));
        }
        return Names.join('|');
    };
    EXPECT_EQ(Map(), QStringLiteral("Name|Qty|Amount")) << "default columns: the visible fields";
    AddColumn("Amount", "Amount");
    AddColumn("Nothing", "Nothing");
    AddColumn("Name", "Name");
    EXPECT_EQ(Map(), QStringLiteral("Amount|-|Name")) << "own columns keep a missing field's place";
    EXPECT_EQ(Grid->DataLink()->GetMappedField(7), nullptr);
}
