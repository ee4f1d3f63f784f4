// The standard edit actions on the grid, its property writers that clear
// the selection, leaving the grid, and the input method.
#include "GridFixture.h"
#include "grid/DBGridEhSelection.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/StdActns.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <functional>

namespace {

class TActionsFixture : public TGridTestFixture
{
public:
    TActionsFixture() : TGridTestFixture({{"Name", ftWideString, 20}, {"Num", ftInteger}}, QSize(300, 200), 3) {}

    void SetUp() override
    {
        TGridTestFixture::SetUp();
        AddColumn("Name", 80);
        AddColumn("Num", 80);
        Link();
        Grid->SetOptions(Grid->Options() + TDBGridOptions({dgMultiSelect}));
        Grid->SetEditActions({geaCutEh, geaCopyEh, geaPasteEh, geaDeleteEh, geaSelectAllEh});
        Clipboard()->SetAsText("x");
    }

    QList<Variant> Record(int i) const override { return {Variant(QStringLiteral("r%1").arg(i)), Variant(i)}; }

    // Enabled actions as letters: Cut, cOpy, Paste, Delete, select All.
    QString Enabled()
    {
        QString L;
        const std::pair<TEditActionKind, char> Kinds[] = {
            {eaCut, 'C'}, {eaCopy, 'O'}, {eaPaste, 'P'}, {eaDelete, 'D'}, {eaSelectAll, 'A'}};
        for (const auto& [Kind, Letter] : Kinds) {
            TEditAction A(Kind);
            A.SetControl(Grid.get());
            A.Update();
            if (A.isEnabled())
                L += QLatin1Char(Letter);
        }
        return L;
    }

    void SelectRecord(int RecNo)
    {
        Data->SetRecNo(RecNo);
        Grid->SelectedRows()->SetCurrentRowSelected(true);
    }

    void SelectRectangle()
    {
        Data->SetRecNo(1);
        Grid->Selection()->Rect()->Select(0, Data->GetBookmark(), false);
        Data->SetRecNo(2);
        Grid->Selection()->Rect()->Select(1, Data->GetBookmark(), true);
    }
};

TEST_F(TActionsFixture, EditActionsFollowTheGridsState)
{
    struct TCase
    {
        const char* Name;
        std::function<void(TActionsFixture&)> Setup;
        QString Enabled;
    };
    const std::vector<TCase> Cases = {
        {"nothing selected", {}, "PA"},
        {"a record selected", [](auto& F) { F.SelectRecord(2); }, "COPDA"},
        {"a read-only grid pastes nothing", [](auto& F) { F.Grid->SetReadOnly(true); F.SelectRecord(2); }, "OA"},
        {"records without alopDeleteEh", [](auto& F) {
             F.Grid->SetAllowedOperations({alopUpdateEh}); F.SelectRecord(2); }, "OPA"},
        {"a rectangle needs alopUpdateEh, not alopDeleteEh", [](auto& F) {
             F.Grid->SetAllowedOperations({alopUpdateEh}); F.SelectRectangle(); }, "COPDA"},
        {"a rectangle without alopUpdateEh", [](auto& F) {
             F.Grid->SetAllowedOperations({alopDeleteEh}); F.SelectRectangle(); }, "OA"},
        {"an empty clipboard", [](auto&) { Clipboard()->SetAsText(""); }, "A"},
        {"an empty dataset", [](auto& F) { F.Data->EmptyDataSet(); }, "P"},
        {"select all not allowed", [](auto& F) { F.Grid->SetAllowedSelections({gstRectangle}); }, "P"},
        {"actions not in EditActions", [](auto& F) { F.Grid->SetEditActions({geaCopyEh}); F.SelectRecord(1); }, "O"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TearDown();
        SetUp();
        if (C.Setup)
            C.Setup(*this);
        EXPECT_EQ(Enabled(), C.Enabled);
    }
}

TEST_F(TActionsFixture, ActionsRunOnTheGridOrOnItsEditor)
{
    TEditSelectAll SelectAll;
    SelectAll.SetControl(Grid.get());
    SelectAll.trigger();
    EXPECT_EQ(Grid->Selection()->SelectionType(), gstAll);
    TEditCopy Copy;
    Copy.SetControl(Grid.get());
    Copy.trigger();
    EXPECT_EQ(Clipboard()->AsText(), "Name\tNum\r\nr1\t1\r\nr2\t2\r\nr3\t3");
    // A focused line edit (the in-place editor) serves itself.
    QLineEdit Edit("abc");
    Edit.selectAll();
    Copy.SetControl(&Edit);
    Copy.Update();
    EXPECT_TRUE(Copy.isEnabled());
    Copy.trigger();
    EXPECT_EQ(Clipboard()->AsText(), "abc");
}

TEST_F(TActionsFixture, WritersClearWhatNoLongerHolds)
{
    Grid->SetOptions(Grid->Options() + TDBGridOptions({dgRowSelect}));
    EXPECT_FALSE(Grid->Options().Contains(dgEditing));
    EXPECT_FALSE(Grid->Options().Contains(dgAlwaysShowEditor));
    SelectRecord(1);
    Grid->SetAllowedSelections({gstRecordBookmarks, gstColumns});
    EXPECT_EQ(Grid->Selection()->SelectionType(), gstRecordBookmarks);
    Grid->SetAllowedSelections({gstColumns});
    EXPECT_EQ(Grid->Selection()->SelectionType(), gstNon);
    Grid->Selection()->Columns()->Select(Grid->Columns(0), false);
    Grid->SetOptions(Grid->Options() - TDBGridOptions({dgMultiSelect}));
    EXPECT_EQ(Grid->Selection()->SelectionType(), gstNon);
}

// Leaving the grid drops a record inserted and left untouched.
TEST_F(TActionsFixture, LeavingCancelsAnUntouchedInsert)
{
    QWidget Window;
    Grid->setParent(&Window);
    QLineEdit Other(&Window);
    Window.show();
    QApplication::setActiveWindow(&Window);
    for (const bool Cancel : {true, false}) {
        SCOPED_TRACE(Cancel);
        Grid->SetOptions(Cancel ? Grid->Options() + TDBGridOptions({dgCancelOnExit})
                                : Grid->Options() - TDBGridOptions({dgCancelOnExit}));
        Grid->setFocus();
        Data->Insert();
        Other.setFocus();
        EXPECT_EQ(Data->State(), Cancel ? dsBrowse : dsInsert);
        if (!Cancel)
            Data->Cancel();
    }
    Grid->setParent(nullptr);
}

// Composed text typed on a cell opens the editor and lands in it; a column
// that takes no input method switches it off.
TEST_F(TActionsFixture, InputMethodOpensTheEditor)
{
    Grid->show();
    Grid->SetSelectedIndex(0);
    QInputMethodEvent Compose(QString(), {});
    Compose.setCommitString(QStringLiteral("北京"));
    QCoreApplication::sendEvent(Grid.get(), &Compose);
    ASSERT_TRUE(Grid->EditorMode());
    EXPECT_TRUE(Grid->InplaceEditor()->text().endsWith(QStringLiteral("北京")));
    Grid->HideEditor();
    Grid->Columns(1)->SetImeMode(imDisable);
    Grid->SetSelectedIndex(1);
    Grid->Focus = true;
    Grid->SetSelectedIndex(0);
    EXPECT_TRUE(Grid->testAttribute(Qt::WA_InputMethodEnabled));
    Grid->SetSelectedIndex(1);
    EXPECT_FALSE(Grid->testAttribute(Qt::WA_InputMethodEnabled));
}

} // namespace
