// The grid's multi-selection: records, rectangles, columns and everything,
// the kind transitions between them and the sorted record list.
#include "GridFixture.h"
#include "grid/DBGridEhSelection.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/TestRender.h"

#include <QDir>

#include <QKeyEvent>
#include <QRandomGenerator>
#include <functional>

namespace {

class TSelectionFixture : public TGridTestFixture
{
public:
    TSelectionFixture() : TGridTestFixture({{"Id", ftInteger}, {"Name", ftWideString, 10}}, QSize(500, 300), 12) {}

    void SetUp() override
    {
        TGridTestFixture::SetUp();
        for (int i = 0; i < 6; ++i)
            AddColumn(i % 2 ? QStringLiteral("Name") : QStringLiteral("Id"), 60);
        Link();
        Grid->show();
    }

    QList<Variant> Record(int i) const override { return {Variant(i), Variant(QStringLiteral("R%1").arg(i))}; }

    TDBGridEhSelection* Sel() { return Grid->Selection(); }
    TColumnEh* Col(int i) { return Grid->Columns(i); }
    TBookmark Mark(int RecNo)
    {
        Data->SetRecNo(RecNo);
        return Data->GetBookmark();
    }
    void SelectRecord(int RecNo)
    {
        Data->SetRecNo(RecNo);
        Grid->SelectedRows()->SetCurrentRowSelected(true);
    }
    // The selected columns as "1,3"; the kind as its number.
    QString Cols()
    {
        QStringList L;
        for (TColumnEh* C : Sel()->Columns()->List())
            L << QString::number(C->Index());
        return L.join(u',');
    }
};

TEST_F(TSelectionFixture, KindsFollowTheEdgeCases)
{
    struct TCase
    {
        const char* Name;
        std::function<void(TSelectionFixture&)> Act;
        TDBGridEhSelectionType Kind;
        QString Columns;
    };
    const std::vector<TCase> Cases = {
        {"ctrl-click one title twice", [](auto& F) { F.Sel()->Columns()->InvertSelect(F.Col(2));
                                                     F.Sel()->Columns()->InvertSelect(F.Col(2)); }, gstNon, ""},
        {"extend 2 to 5 then back to 3", [](auto& F) { F.Sel()->Columns()->Select(F.Col(2), false);
                                                       F.Sel()->Columns()->SelectShift(F.Col(5));
                                                       F.Sel()->Columns()->SelectShift(F.Col(3)); }, gstColumns, "2,3"},
        {"shrinking keeps columns selected before", [](auto& F) {
             F.Sel()->Columns()->Select(F.Col(4), false);
             F.Sel()->Columns()->InvertSelect(F.Col(1));
             F.Sel()->Columns()->SelectShift(F.Col(5));
             F.Sel()->Columns()->SelectShift(F.Col(0));
             F.Sel()->Columns()->SelectShift(F.Col(2)); }, gstColumns, "1,2,4"},
        {"a deselected anchor deselects its range", [](auto& F) {
             F.Sel()->Columns()->Select(F.Col(1), false);
             F.Sel()->Columns()->SelectShift(F.Col(4));
             F.Sel()->Columns()->InvertSelect(F.Col(2));
             F.Sel()->Columns()->SelectShift(F.Col(4)); }, gstColumns, "1"},
        {"a hidden column is skipped by an extension", [](auto& F) {
             F.Col(3)->SetVisible(false);
             F.Sel()->Columns()->Select(F.Col(1), false);
             F.Sel()->Columns()->SelectShift(F.Col(5)); }, gstColumns, "1,2,4,5"},
        {"a plain click after a rectangle is one cell", [](auto& F) {
             F.Sel()->Rect()->Select(1, F.Mark(2), false);
             F.Sel()->Rect()->Select(3, F.Mark(5), true);
             F.Sel()->Rect()->Select(2, F.Mark(4), false); }, gstNon, ""},
        {"a record replaces selected columns", [](auto& F) {
             F.Sel()->Columns()->Select(F.Col(1), false);
             F.SelectRecord(3); }, gstRecordBookmarks, ""},
        {"a column click replaces records", [](auto& F) {
             F.SelectRecord(3);
             F.Sel()->Columns()->Select(F.Col(0), false); }, gstColumns, "0"},
        {"reopening the dataset empties the records", [](auto& F) {
             F.SelectRecord(3);
             F.SelectRecord(4);
             F.Data->Close();
             F.Data->Open(); }, gstNon, ""},
        {"deselecting the only record", [](auto& F) {
             F.SelectRecord(3);
             F.Grid->SelectedRows()->SetCurrentRowSelected(false); }, gstNon, ""},
        {"a removed column leaves the list", [](auto& F) {
             F.Sel()->Columns()->Select(F.Col(1), false);
             F.Sel()->Columns()->Select(F.Col(4), true);
             F.Grid->Columns()->Delete(1); }, gstColumns, "3"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TearDown();
        SetUp();
        C.Act(*this);
        EXPECT_EQ(Sel()->SelectionType(), C.Kind);
        EXPECT_EQ(Cols(), C.Columns);
    }
}

TEST_F(TSelectionFixture, CellTestsPerKind)
{
    Sel()->Rect()->Select(4, Mark(6), false);
    Sel()->Rect()->Select(2, Mark(3), true);
    const TBookmark In = Mark(4), Out = Mark(7);
    EXPECT_TRUE(Sel()->DataCellSelected(3, In));
    EXPECT_TRUE(Sel()->DataCellSelected(2, Mark(6)));
    EXPECT_FALSE(Sel()->DataCellSelected(3, Out));
    EXPECT_FALSE(Sel()->DataCellSelected(5, In));
    EXPECT_FALSE(Sel()->DataCellSelected(-1, In));
    Sel()->Columns()->Select(Col(0), false);
    EXPECT_TRUE(Sel()->DataCellSelected(0, Out));
    EXPECT_FALSE(Sel()->DataCellSelected(-1, Out));
    Sel()->SelectAll();
    EXPECT_TRUE(Sel()->DataCellSelected(-1, Out));
    Data->Close();
    Sel()->Rect()->Select(1, TBookmark(), false);
    EXPECT_THROW(Sel()->Rect()->CellSelected(1, TBookmark()), EInvalidGridOperation);
    EXPECT_THROW(Sel()->Rect()->BottomRow(), EInvalidGridOperation);
}

TEST_F(TSelectionFixture, DeletesListedRecordsFromTheLast)
{
    QStringList Deleted;
    Data->BeforeDelete = [&](TDataSet* D) { Deleted << D->FieldByName("Id")->AsString(); };
    for (int r : {7, 2, 5})
        SelectRecord(r);
    Grid->SelectedRows()->Delete();
    EXPECT_EQ(Deleted.join(u','), "7,5,2");
    EXPECT_EQ(Data->RecordCount(), 9);
    EXPECT_EQ(Sel()->SelectionType(), gstNon);
}

// Random toggles of the current record keep the list in the dataset's order,
// and the halving search answers as a scan of the list does.
TEST_F(TSelectionFixture, HalvingSearchAgreesWithAScan)
{
    QRandomGenerator Random(7);
    TBookmarkListEh* Rows = Grid->SelectedRows();
    for (int Step = 0; Step < 300; ++Step) {
        const int RecNo = 1 + int(Random.bounded(12));
        Data->SetRecNo(RecNo);
        Rows->SetCurrentRowSelected(!Rows->CurrentRowSelected());
        for (int i = 1; i < Rows->Count(); ++i)
            ASSERT_LT(Data->CompareBookmarks(Rows->Items(i - 1), Rows->Items(i)), 0);
        for (int r = 1; r <= 12; ++r) {
            const TBookmark B = Mark(r);
            int Scan = -1;
            for (int i = 0; i < Rows->Count(); ++i)
                if (Rows->Items(i) == B)
                    Scan = i;
            ASSERT_EQ(Rows->IndexOf(B), Scan) << "step " << Step << " record " << r;
        }
    }
}

// Extending a rectangle repaints only the cells whose state changed.
TEST_F(TSelectionFixture, RectangleRepaintsOnlyChangedCells)
{
    Grid->SetOptions(Grid->Options() + TDBGridOptions({dgMultiSelect}));
    const TBookmark B2 = Mark(2), B3 = Mark(3), B4 = Mark(4);
    Data->First();
    Sel()->Rect()->Select(1, B2, false);
    Sel()->Rect()->Select(2, B3, true);
    FullPaint();
    Grid->PaintedRows();
    Sel()->Rect()->Select(2, B4, true);
    Painted();
    EXPECT_EQ(Grid->PaintedRows(), 1); // only the newly covered row
}

// The keys and the mouse select through the grid's input handlers.
TEST_F(TSelectionFixture, KeysAndClicksSelect)
{
    using Step = std::function<void(TSelectionFixture&)>;
    auto Mouse = [](TSelectionFixture& F, QPoint P, Qt::KeyboardModifiers M) {
        for (QEvent::Type T : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent E(T, P, F.Grid->mapToGlobal(P), Qt::LeftButton,
                          T == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, M);
            QCoreApplication::sendEvent(F.Grid.get(), &E);
        }
    };
    auto Click = [Mouse](int RawCol, int RecNo, Qt::KeyboardModifiers M = Qt::NoModifier) -> Step {
        return [=](TSelectionFixture& F) {
            Mouse(F, F.Grid->CellRect(RawCol, RecNo == 0 ? 0 : F.Grid->TitleRowCount() + RecNo - 1).center(), M);
        };
    };
    auto Key = [](int K, Qt::KeyboardModifiers M = Qt::NoModifier) -> Step {
        return [=](TSelectionFixture& F) {
            QKeyEvent E(QEvent::KeyPress, K, M);
            QCoreApplication::sendEvent(F.Grid.get(), &E);
        };
    };
    // Records as their numbers, columns as indexes, a rectangle as its corners.
    auto Describe = [](TSelectionFixture& F) {
        QStringList L;
        switch (F.Sel()->SelectionType()) {
        case gstRecordBookmarks:
            for (const TBookmark& B : F.Grid->SelectedRows()->List())
                for (int r = 1; r <= 12; ++r)
                    if (F.Mark(r) == B)
                        L << QString::number(r);
            return "records " + L.join(u',');
        case gstColumns: return "columns " + F.Cols();
        case gstRectangle: {
            int Top = 0, Bottom = 0;
            for (int r = 1; r <= 12; ++r) {
                if (F.Mark(r) == F.Sel()->Rect()->TopRow())
                    Top = r;
                if (F.Mark(r) == F.Sel()->Rect()->BottomRow())
                    Bottom = r;
            }
            return QStringLiteral("rectangle %1-%2 x %3-%4")
                .arg(F.Sel()->Rect()->LeftCol()).arg(F.Sel()->Rect()->RightCol()).arg(Top).arg(Bottom);
        }
        case gstAll: return QStringLiteral("all");
        default: return QStringLiteral("none");
        }
    };
    const Qt::KeyboardModifiers Shift = Qt::ShiftModifier, Ctrl = Qt::ControlModifier;
    struct TCase
    {
        const char* Name;
        std::vector<Step> Steps;
        QString Want;
    };
    const std::vector<TCase> Cases = {
        {"titles: click, Shift+click", {Click(3, 0), Click(5, 0, Shift)}, "columns 2,3,4"},
        {"titles: Ctrl+click twice", {Click(3, 0, Ctrl), Click(3, 0, Ctrl)}, "none"},
        {"cells: click, Shift+click", {Click(2, 2), Click(4, 4, Shift)}, "rectangle 1-3 x 2-4"},
        {"indicator: click, Shift+click, Ctrl+click", {Click(0, 2), Click(0, 5, Shift), Click(0, 3, Ctrl)},
         "records 2,4,5"},
        {"Shift+Down twice from a cell", {Click(2, 1), Key(Qt::Key_Down, Shift), Key(Qt::Key_Down, Shift)},
         "rectangle 1-1 x 1-3"},
        {"Shift+Right", {Click(2, 1), Key(Qt::Key_Right, Shift)}, "rectangle 1-2 x 1-1"},
        {"Ctrl+A", {Key(Qt::Key_A, Ctrl)}, "all"},
        {"a plain move clears", {Click(2, 2), Click(4, 4, Shift), Key(Qt::Key_Down)}, "none"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TearDown();
        SetUp();
        Grid->Focus = true;
        Grid->SetOptions(Grid->Options() + TDBGridOptions({dgMultiSelect}));
        Grid->SetEditActions({geaCopyEh, geaCutEh, geaPasteEh, geaDeleteEh, geaSelectAllEh});
        Data->First();
        for (const Step& S : C.Steps)
            S(*this);
        EXPECT_EQ(Describe(*this), C.Want);
    }
    // Ctrl+C copies the rectangle of the last case but one.
    Click(2, 2)(*this);
    Click(3, 3, Shift)(*this);
    Key(Qt::Key_C, Ctrl)(*this);
    EXPECT_EQ(Clipboard()->AsText(), "Name\tId\r\nR2\t2\r\nR3\t3");
}

// The pictures in the documentation: selected records and a rectangle of
// cells in a focused grid. Written to TB_RENDER_DIR when set.
TEST_F(TSelectionFixture, RendersRecordAndRectanglePictures)
{
    Grid->Focus = true;
    Grid->SetOptions(Grid->Options() + TDBGridOptions({dgMultiSelect}));
    for (int i = 0; i < 6; ++i)
        Grid->Columns(i)->Title()->SetCaption(i % 2 ? QStringLiteral("客户") : QStringLiteral("编号"));
    Grid->resize(400, 200);
    const TBookmark B2 = Mark(2), B3 = Mark(3);
    const QString Dir = qEnvironmentVariable("TB_RENDER_DIR", QDir::tempPath());
    const int Ofs = Grid->IndicatorOffset(), Top = Grid->TitleRowCount();
    for (const bool Records : {true, false}) {
        SCOPED_TRACE(Records);
        Grid->Selection()->Clear();
        if (Records) {
            SelectRecord(2);
            SelectRecord(5);
        } else {
            Sel()->Rect()->Select(1, B2, false);
            Sel()->Rect()->Select(3, B3, true);
        }
        Data->SetRecNo(Records ? 5 : 3);
        const QString File = QDir(Dir).filePath(Records ? "grid-select-records.png" : "grid-select-rectangle.png");
        RenderToPng(Grid.get(), File);
        const QImage I(File);
        auto Tinted = [&](int Col, int RecNo) {
            return Background(I, Grid->CellRect(Col + Ofs, Top + RecNo - 1).adjusted(2, 2, -2, -2))
                != ColorToRGB(clWindow);
        };
        EXPECT_EQ(Tinted(0, 2), Records);
        EXPECT_TRUE(Tinted(2, 2));
        EXPECT_EQ(Tinted(2, 5), Records);
        EXPECT_FALSE(Tinted(2, 4));
        EXPECT_FALSE(Tinted(4, 3));
    }
}

} // namespace
