// The standard edit actions on the grid, its property writers that clear
// the selection, leaving the grid, and the input method.
#include "GridFixture.h"
#include "grid/DBGridEhSelection.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/ModalSeam.h"
#include "platform/gui/StdActns.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
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
        {"nothing selected: delete takes the current record", {}, "PDA"},
        {"nothing selected without alopDeleteEh", [](auto& F) { F.Grid->SetAllowedOperations({alopUpdateEh}); }, "PA"},
        {"a record selected", [](auto& F) { F.SelectRecord(2); }, "COPDA"},
        {"a read-only grid pastes nothing", [](auto& F) { F.Grid->SetReadOnly(true); F.SelectRecord(2); }, "OA"},
        {"records without alopDeleteEh", [](auto& F) {
             F.Grid->SetAllowedOperations({alopUpdateEh}); F.SelectRecord(2); }, "OPA"},
        {"a rectangle needs alopUpdateEh, not alopDeleteEh", [](auto& F) {
             F.Grid->SetAllowedOperations({alopUpdateEh}); F.SelectRectangle(); }, "COPDA"},
        {"a rectangle without alopUpdateEh", [](auto& F) {
             F.Grid->SetAllowedOperations({alopDeleteEh}); F.SelectRectangle(); }, "OA"},
        {"an empty clipboard", [](auto&) { Clipboard()->SetAsText(""); }, "DA"},
        {"an empty dataset", [](auto& F) { F.Data->EmptyDataSet(); }, "P"},
        {"select all not allowed", [](auto& F) { F.Grid->SetAllowedSelections({gstRectangle}); }, "PD"},
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
    // Delete with nothing selected asks, then deletes the current record.
    Grid->Selection()->Clear();
    Data->SetRecNo(2);
    QString Asked;
    TModalHandlers Handlers(nullptr, [&](const TMessageRequest& M) {
        Asked = M.Text;
        return mrOk;
    });
    TEditDelete Delete;
    Delete.SetControl(Grid.get());
    Delete.trigger();
    EXPECT_EQ(Asked, "Delete record?");
    EXPECT_EQ(Data->RecordCount(), 2);
    EXPECT_EQ(Data->FieldByName("Name")->AsString(), "r3");
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

// Font and colour changes of the parent, and the keys the grid takes before
// the window's shortcuts.
TEST_F(TActionsFixture, WindowEventsReachTheGrid)
{
    QWidget Parent;
    Grid->setParent(&Parent);
    Grid->SetFooterRowCount(1);
    QFont Big = Parent.font();
    Big.setPixelSize(30);
    for (const bool Follow : {true, false}) {
        SCOPED_TRACE(Follow);
        Grid->SetParentFont(Follow);
        const int Title = Grid->TitleFont()->Height(), Footer = Grid->FooterFont()->Height();
        Parent.setFont(Big);
        EXPECT_EQ(Grid->TitleFont()->Height(), Follow ? -30 : Title);
        EXPECT_EQ(Grid->FooterFont()->Height(), Follow ? -30 : Footer);
        EXPECT_EQ(Grid->ParentFont(), Follow);
        Parent.setFont(QFont());
    }
    // The grid's own font reaches its rows and the columns without a font of their own.
    const int Row = Grid->DataRowHeight();
    Grid->Font()->SetHeight(-40);
    EXPECT_GT(Grid->DataRowHeight(), Row);
    EXPECT_EQ(Grid->Columns(0)->Font()->Height(), -40);

    QPalette Red = Parent.palette();
    Red.setColor(QPalette::Window, Qt::red);
    Parent.setPalette(Red);
    EXPECT_NE(ColorToRGB(Grid->FooterColor()), clRed);
    Grid->SetParentColor(true);
    EXPECT_EQ(ColorToRGB(Grid->Color()), clRed);
    EXPECT_EQ(ColorToRGB(Grid->FooterColor()), clRed);
    Grid->SetFooterColor(clAqua);
    EXPECT_FALSE(Grid->ParentColor());
    Grid->setParent(nullptr);

    struct TCase
    {
        const char* Name;
        TDBGridOptions Remove;
        TDBGridEhOptions OptionsEh;
        int Key;
        Qt::KeyboardModifiers Modifiers;
        bool Wanted;
    };
    const TCase Cases[] = {
        {"a letter on an editable grid", {}, {}, Qt::Key_A, Qt::NoModifier, true},
        {"a letter on a grid that does not edit", {dgEditing}, {}, Qt::Key_A, Qt::NoModifier, false},
        {"a letter that starts a search", {dgEditing}, {dghPreferIncSearch}, Qt::Key_A, Qt::NoModifier, true},
        {"Ctrl+letter stays a shortcut", {}, {dghPreferIncSearch}, Qt::Key_A, Qt::ControlModifier, false},
        {"an arrow", {dgEditing}, {}, Qt::Key_Left, Qt::NoModifier, true},
        {"Tab without dgTabs", {dgTabs}, {}, Qt::Key_Tab, Qt::NoModifier, false},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetOptions(TDBGridOptions({dgEditing, dgTabs, dgTitles}) - C.Remove);
        Grid->SetOptionsEh(C.OptionsEh);
        QKeyEvent E(QEvent::ShortcutOverride, C.Key, C.Modifiers, C.Key == Qt::Key_A ? "a" : "");
        E.ignore();
        QCoreApplication::sendEvent(Grid.get(), &E);
        EXPECT_EQ(E.isAccepted(), C.Wanted);
    }
}

} // namespace
