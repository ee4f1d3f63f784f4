// The grid test bench: a grid that opens its protected parts to the tests,
// and a fixture holding an in-memory dataset, its data source and the grid,
// with helpers to fill, link, paint and read the painted pixels.
#pragma once

#include "GridTestUtil.h"
#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "platform/db/DataSource.h"
#include "platform/db/MemDataSet.h"
#include "platform/gui/Graphics.h"

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

// Counts what the tests watch and lets them set the focus the painter sees.
class TTestGridEh : public TDBGridEh
{
public:
    using TDBGridEh::TDBGridEh;
    using TDBGridEh::CanEditAcceptKey;
    using TDBGridEh::CanEditShow;
    using TDBGridEh::ColLeft;
    using TDBGridEh::GetEditLimit;
    using TDBGridEh::GetEditMask;
    using TDBGridEh::GetEditText;
    using TDBGridEh::MouseDown;
    using TDBGridEh::MouseUp;
    using TDBGridEh::MouseWheel;
    using TDBGridEh::RowTop;
    using TDBGridEh::TimedScroll;
    using TDBGridEh::WMVScroll;
    using TDBGridEh::WMHScroll;
    using TDBGridEh::IsFixed3DEdgeCell;
    using TDBGridEh::TimedScrollByMouse;
    using TDBGridEh::IncSearchRunning;
    using TDBGridEh::IncSearchText;
    using TDBGridEh::FilterEditing;

    // Unset: what the widget really has.
    std::optional<bool> Focus;
    std::optional<bool> Active;
    int Notifications = 0;   // column change notifications
    int RowUpdates = 0;      // row recomputations
    int LayoutRequests = 0;  // layout passes asked for
    // The drag selection a press on data cells starts, when set; else the grid's own.
    std::optional<TDBGridEhSelectionType> DragKind;

    const QImage& Image() { return *Canvas()->Image(); }

    // Rows painted since the last call.
    int PaintedRows()
    {
        const int N = int(FRows.size());
        FRows.clear();
        return N;
    }

    bool GridFocused() const override { return Focus ? *Focus : TDBGridEh::GridFocused(); }
    bool IsActiveControl() const override { return Active ? *Active : TDBGridEh::IsActiveControl(); }

    void DrawCell(int ACol, int ARow, const QRect& ARect, TGridDrawState AState) override
    {
        FRows.insert(ARow);
        TDBGridEh::DrawCell(ACol, ARow, ARect, AState);
    }

    void UpdateRowHeights() override
    {
        ++RowUpdates;
        TDBGridEh::UpdateRowHeights();
    }

    void LayoutChanged() override
    {
        ++LayoutRequests;
        TDBGridEh::LayoutChanged();
    }

protected:
    TDBGridEhSelectionType StartMouseSelection(TGridCoord Cell, TShiftState Shift) override
    {
        return DragKind ? *DragKind : TDBGridEh::StartMouseSelection(Cell, Shift);
    }

    void ColumnsChanged(TColumnEh* Item) override
    {
        ++Notifications;
        TDBGridEh::ColumnsChanged(Item);
    }

private:
    std::set<int> FRows;
};

// Each test file names its fields, the grid's size and the records it starts
// with; Record(i) gives the i-th record (from 1) for those and for Fill.
class TGridTestFixture : public ::testing::Test
{
public:
    struct TFieldSpec
    {
        const char* Name;
        TFieldType Type;
        int Size = 0;
    };

    void SetUp() override
    {
        Data = std::make_unique<TMemDataSet>();
        for (const TFieldSpec& F : FFields)
            Data->FieldDefs()->Add(QString::fromUtf8(F.Name), F.Type, F.Size);
        Data->Open();
        if (FRecords > 0)
            Fill(FRecords);
        Source = std::make_unique<TDataSource>();
        Source->SetDataSet(Data.get());
        NewGrid();
    }

    void TearDown() override
    {
        Grid.reset();
        Source.reset();
        Data.reset();
    }

    // A fresh grid in place of the current one, of the fixture's size.
    void NewGrid()
    {
        Grid = std::make_unique<TTestGridEh>();
        if (FGridSize.isValid())
            Grid->resize(FGridSize);
        Grid->Focus = FFocus;
        Grid->Active = FActive;
    }

    void Fill(int Rows)
    {
        Data->DisableControls();
        for (int i = 1; i <= Rows; ++i)
            Data->AppendRecord(Record(i));
        Data->First();
        Data->EnableControls();
    }

    TColumnEh* AddColumn(const QString& Field)
    {
        TColumnEh* C = Grid->Columns()->Add();
        C->SetFieldName(Field);
        return C;
    }

    TColumnEh* AddColumn(const QString& Field, int Width)
    {
        TColumnEh* C = AddColumn(Field);
        C->SetWidth(Width);
        return C;
    }

    TColumnEh* AddColumn(const QString& Field, const QString& Caption, int Width = 80)
    {
        TColumnEh* C = AddColumn(Field);
        C->Title()->SetCaption(Caption);
        C->SetWidth(Width);
        return C;
    }

    void Link() { Grid->SetDataSource(Source.get()); }

    // Paints what is pending and returns a copy of the picture.
    QImage Painted()
    {
        Grid->Update();
        return Grid->Image().copy();
    }

    QImage FullPaint()
    {
        Grid->Invalidate();
        return Painted();
    }

    // A left click on the centre of the cell.
    void Click(int ACol, int ARow)
    {
        const QPoint P = Grid->CellRect(ACol, ARow).center();
        QMouseEvent Press(QEvent::MouseButtonPress, P, Grid->mapToGlobal(P), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(Grid.get(), &Press);
        QMouseEvent Release(QEvent::MouseButtonRelease, P, Grid->mapToGlobal(P), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(Grid.get(), &Release);
    }

    // Any pixel of Color inside R.
    static bool HasColor(const QImage& I, const QRect& R, TColor Color)
    {
        return !Colored(I, R, Color).isEmpty();
    }

    // Bounding box of the pixels of Color inside R.
    static QRect Colored(const QImage& I, const QRect& R, TColor Color)
    {
        const QRgb Want = ColorToQColor(Color).rgb() & 0xFFFFFF;
        QRect Box;
        for (int y = R.top(); y <= R.bottom(); ++y)
            for (int x = R.left(); x <= R.right(); ++x)
                if ((I.pixel(x, y) & 0xFFFFFF) == Want)
                    Box |= QRect(x, y, 1, 1);
        return Box;
    }

    // Any dark pixel inside R: text or glyph ink, whatever the anti-aliasing.
    static bool HasInk(const QImage& I, const QRect& R) { return !Ink(I, R).isEmpty(); }

    // Bounding box of the dark pixels inside R, leaving out those of Except
    // (a dark picture that is no text).
    static QRect Ink(const QImage& I, const QRect& R, TColor Except = clNone)
    {
        const QRgb Skip = Except == clNone ? QRgb(0xFFFFFFFF) : ColorToQColor(Except).rgb() & 0xFFFFFF;
        QRect Box;
        for (int y = R.top(); y <= R.bottom(); ++y)
            for (int x = R.left(); x <= R.right(); ++x)
                if (qGray(I.pixel(x, y)) < 96 && (I.pixel(x, y) & 0xFFFFFF) != Skip)
                    Box |= QRect(x, y, 1, 1);
        return Box;
    }

    // The colour most pixels of R have: the background under the text, which
    // may itself be white on a highlight.
    static TColor Background(const QImage& I, const QRect& R)
    {
        std::map<QRgb, int> Count;
        for (int y = R.top(); y <= R.bottom(); ++y)
            for (int x = R.left(); x <= R.right(); ++x)
                ++Count[I.pixel(x, y) & 0xFFFFFF];
        const auto Most = std::max_element(Count.begin(), Count.end(),
                                           [](const auto& A, const auto& B) { return A.second < B.second; });
        return RGB(qRed(Most->first), qGreen(Most->first), qBlue(Most->first));
    }

    std::unique_ptr<TMemDataSet> Data;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TTestGridEh> Grid;

protected:
    // Fields, grid size (an invalid size leaves the grid's own), the records
    // SetUp appends, and the focus the new grids report (unset: the real one).
    explicit TGridTestFixture(std::vector<TFieldSpec> Fields, QSize GridSize = QSize(), int Records = 0,
                              std::optional<bool> Focus = std::nullopt, std::optional<bool> Active = std::nullopt)
        : FFields(std::move(Fields)), FGridSize(GridSize), FRecords(Records), FFocus(Focus), FActive(Active)
    {
    }

    virtual QList<Variant> Record(int i) const = 0;

private:
    std::vector<TFieldSpec> FFields;
    QSize FGridSize;
    int FRecords;
    std::optional<bool> FFocus;
    std::optional<bool> FActive;
};

// Id (integer), Name (string), Amount (float), Paid (Boolean), three rows.
class TGridFixture : public TGridTestFixture
{
protected:
    TGridFixture()
        : TGridTestFixture({{"Id", ftInteger}, {"Name", ftWideString, 10}, {"Amount", ftFloat}, {"Paid", ftBoolean}},
                           QSize(), 3)
    {
    }

    QList<Variant> Record(int i) const override
    {
        switch (i) {
        case 1:
            return {Variant(1), Variant("Ann"), Variant(1.5), Variant(true)};
        case 2:
            return {Variant(2), Variant("Bob"), Variant::Null(), Variant(false)};
        default:
            return {Variant(3), Variant("Cy"), Variant(2.25), Variant::Null()};
        }
    }
};
