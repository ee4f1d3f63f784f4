// The in-place editor's calculator and lookup list, driven by keys and the mouse.
#include "EditKeys.h"
#include "TwoKeyData.h"
#include "GridTestUtil.h"
#include "MemoPaste.h"
#include "grid/CalculatorEh.h"
#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "grid/DBGridEhInplaceEdit.h"
#include "grid/DBLookupGridsEh.h"
#include "grid/ToolCtrlsEh.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/db/MemDataSet.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

class EditorPopups : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Cities.FieldDefs()->Add(QStringLiteral("Id"), ftInteger);
        Cities.FieldDefs()->Add(QStringLiteral("Name"), ftWideString, 20);
        Cities.Open();
        int Id = 0;
        for (const char* Name : {"Beijing", "Shanghai", "Shenzhen", "Chengdu"})
            Cities.AppendRecord({Variant(++Id), Variant(QString::fromUtf8(Name))});
        for (auto [Name, Type] : {std::pair{"CityId", ftInteger}, {"Qty", ftFloat}}) {
            Data.FieldDefs()->Add(QString::fromUtf8(Name), Type);
            auto* F = new TField(&Data);
            F->SetFieldName(QString::fromUtf8(Name));
            F->SetDataType(Type);
            F->SetDataSet(&Data);
        }
        auto* City = new TField(&Data);
        City->SetFieldName(QStringLiteral("City"));
        City->SetDataType(ftWideString);
        City->SetFieldKind(fkLookup);
        City->SetKeyFields(QStringLiteral("CityId"));
        City->SetLookupDataSet(&Cities);
        City->SetLookupKeyFields(QStringLiteral("Id"));
        City->SetLookupResultField(QStringLiteral("Name"));
        City->SetDataSet(&Data);
        Data.Open();
        Data.AppendRecord({Variant(2), Variant(2.5)});
        Data.First();
        Source.SetDataSet(&Data);
        Grid.resize(400, 200);
        for (const char* Name : {"City", "Qty"})
            Grid.Columns()->Add()->SetFieldName(QString::fromUtf8(Name));
        Grid.Columns(1)->SetButtonStyle(cbsDropDown);
        Grid.SetDataSource(&Source);
        Grid.show();
        QApplication::setActiveWindow(&Grid);
    }

    void TearDown() override
    {
        if (Data.State() != dsBrowse)
            Data.Cancel();
    }

    TDBGridInplaceEdit* Edit(int Column)
    {
        Grid.SetSelectedIndex(Column);
        Grid.ShowEditor();
        return dynamic_cast<TDBGridInplaceEdit*>(Grid.InplaceEditor());
    }

    TMemDataSet Cities;
    TMemDataSet Data;
    TDataSource Source;
    TDBGridEh Grid;
};

} // namespace

TEST_F(EditorPopups, NumberCellOpensTheCalculator)
{
    TDBGridInplaceEdit* E = Edit(1);
    ASSERT_EQ(E->EditorKind(), ekDropDown);
    TypeKeys(E, "<Alt+Down>");
    ASSERT_NE(E->Calculator(), nullptr);
    EXPECT_TRUE(E->Calculator()->isVisible());
    EXPECT_EQ(E->Calculator()->DisplayText(), "2.5");
    TypeKeys(E, "*4<Enter>");
    EXPECT_TRUE(E->ListVisible()) << "Enter on \"=\" computes";
    EXPECT_EQ(E->Calculator()->DisplayText(), "10");
    TypeKeys(E, "<Enter>");
    EXPECT_FALSE(E->ListVisible());
    EXPECT_EQ(E->text(), "10");
    TypeKeys(E, "<Alt+Down>7<Esc>");
    EXPECT_EQ(E->text(), "10");
    Data.Post();
    EXPECT_EQ(Data.FieldByName(QStringLiteral("Qty"))->AsFloat(), 10.0);
}

TEST_F(EditorPopups, LookupCellOpensTheColumnsList)
{
    TColumnEh* C = Grid.Columns(0);
    C->DropDownSpecRow()->SetCellsText(QStringLiteral("(none)"));
    C->DropDownSpecRow()->SetVisible(true);
    TDBGridInplaceEdit* E = Edit(0);
    ASSERT_EQ(E->EditorKind(), ekDataList);
    TypeKeys(E, "<Alt+Down>");
    TPopupDataGridEh* List = E->DataListGrid();
    ASSERT_NE(List, nullptr);
    EXPECT_EQ(List, C->DropDownLookupGrid());
    EXPECT_TRUE(List->isVisible());
    EXPECT_EQ(VarToStr(List->KeyValue()), "2") << "the pending key is located";
    EXPECT_TRUE(List->SpecRow()->Visible());
    EXPECT_GE(List->width(), E->width());
    // Keys browse the list and the editor shows the entry.
    const std::pair<const char*, const char*> Steps[] = {
        {"<Down>", "Shenzhen"}, {"<Up>", "Shanghai"}, {"<Up>", "Beijing"}, {"<Up>", "(none)"}, {"<Down>", "Beijing"},
    };
    for (const auto& [Keys, Text] : Steps) {
        TypeKeys(E, QString::fromLatin1(Keys));
        EXPECT_EQ(E->text(), Text) << Keys;
    }
    TypeKeys(E, "<Down><Enter>");
    EXPECT_FALSE(List->isVisible());
    EXPECT_EQ(E->text(), "Shanghai");
    Data.Post();
    EXPECT_EQ(Data.FieldByName(QStringLiteral("CityId"))->AsInteger(), 2);

    // A release over a row chooses it; one outside cancels.
    E = Edit(0);
    TypeKeys(E, "<Alt+Down>");
    const int Row4 = List->HeightForRows(4) - 2;
    List->MouseDown(mbLeft, {ssLeft}, 10, Row4);
    List->MouseUp(mbLeft, {}, 10, Row4);
    EXPECT_FALSE(List->isVisible());
    EXPECT_EQ(E->text(), "Chengdu");
    Grid.HideEditor();
    EXPECT_EQ(Data.FieldByName(QStringLiteral("CityId"))->AsInteger(), 4) << "the cell shows the choice at once";
    Data.Post();
    EXPECT_EQ(Data.FieldByName(QStringLiteral("CityId"))->AsInteger(), 4);
}

// With DropDownSizing the lookup list shows its grip; a size the user gives
// it is kept by the column, an untouched list leaves the column alone.
TEST_F(EditorPopups, ResizedLookupListIsRemembered)
{
    TColumnEh* C = Grid.Columns(0);
    C->SetDropDownSizing(true);
    C->SetDropDownRows(3);
    TDBGridInplaceEdit* E = Edit(0);
    const struct
    {
        const char* Name;
        int ResizeToRows; // 0: not resized
        int Rows;
        bool Grip;
    } Cases[] = {{"untouched", 0, 3, true}, {"enlarged", 4, 4, true}};
    for (const auto& K : Cases) {
        SCOPED_TRACE(K.Name);
        TypeKeys(E, "<Alt+Down>");
        TPopupDataGridEh* List = E->DataListGrid();
        ASSERT_NE(List, nullptr);
        EXPECT_EQ(List->SizeGrip()->isVisible(), K.Grip);
        int Width = C->DropDownWidth();
        if (K.ResizeToRows) {
            Width = List->width() + 30;
            List->resize(Width, List->HeightForRows(K.ResizeToRows) + 3);
        }
        TypeKeys(E, "<Esc>");
        EXPECT_EQ(C->DropDownRows(), K.Rows);
        EXPECT_EQ(C->DropDownWidth(), Width);
    }
}

// A lookup over two key fields: the key travels as an array from the list to
// both key fields of the record.
TEST(EditorPopupsTwoKeys, CompletionAndListWriteBothKeyFields)
{
    TTwoKeyData Two("Region", "Code");
    TMemDataSet& Data = Two.Data;
    EXPECT_EQ(Two.Branch->AsString(), "South");
    TDataSource Source;
    Source.SetDataSet(&Data);
    TDBGridEh Grid;
    Grid.resize(300, 150);
    Grid.Columns()->Add()->SetFieldName(QStringLiteral("Branch"));
    Grid.SetDataSource(&Source);
    Grid.show();
    Grid.ShowEditor();
    auto* E = dynamic_cast<TDBGridInplaceEdit*>(Grid.InplaceEditor());
    ASSERT_NE(E, nullptr);
    ASSERT_EQ(E->EditorKind(), ekDataList);

    // The list opens on the record's two-field key.
    TypeKeys(E, "<Alt+Down>");
    TPopupDataGridEh* List = E->DataListGrid();
    ASSERT_NE(List, nullptr);
    EXPECT_TRUE(VarEqualsEh(List->KeyValue(), VarArrayOf({2, 1})));
    EXPECT_EQ(List->DisplayText(), "South");
    TypeKeys(E, "<Ctrl+A>n");
    EXPECT_TRUE(VarEqualsEh(List->KeyValue(), VarArrayOf({1, 1}))) << "the open list follows the completion";
    TypeKeys(E, "<Esc>");

    const struct
    {
        const char* Keys;
        const char* Text;
        int Region, Code;
    } Cases[] = {
        {"<Ctrl+A>northe", "Northeast", 1, 2},
        {"<Alt+Down><Up><Up><Enter>", "North", 1, 1},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Keys);
        Grid.ShowEditor();
        TypeKeys(E, QString::fromLatin1(C.Keys));
        EXPECT_EQ(E->text(), C.Text);
        Data.Post();
        EXPECT_EQ(Data.FieldByName(QStringLiteral("Region"))->AsInteger(), C.Region);
        EXPECT_EQ(Data.FieldByName(QStringLiteral("Code"))->AsInteger(), C.Code);
    }
}

// A word-wrapped column in rows of several lines edits in a word-wrapping
// view: Up and Down move between its lines unless the editor is always shown
// and the caret is on the edge line, Ctrl+Enter breaks the line, and the
// text stays the editor's own.
TEST(WordWrapEditor, MultiLineCellsEditInLines)
{
    TMemDataSet Data;
    Data.FieldDefs()->Add(QStringLiteral("Note"), ftWideString, 200);
    Data.FieldDefs()->Add(QStringLiteral("Code"), ftWideString, 10);
    Data.Open();
    const QString Long = QStringLiteral("alpha beta gamma delta epsilon zeta eta theta iota kappa lambda");
    Data.AppendRecord({Variant(Long), Variant("x")});
    Data.AppendRecord({Variant("short"), Variant("y")});
    Data.First();
    TDataSource Source;
    Source.SetDataSet(&Data);
    TDBGridEh Grid;
    Grid.resize(300, 200);
    Grid.Columns()->Add()->SetFieldName(QStringLiteral("Note"));
    Grid.Columns()->Add()->SetFieldName(QStringLiteral("Code"));
    Grid.Columns(0)->SetWidth(90);
    Grid.Columns(0)->SetWordWrap(true);
    Grid.Columns(1)->SetWordWrap(false);
    Grid.SetRowLines(3);
    Grid.SetDataSource(&Source);
    Grid.show();
    QApplication::setActiveWindow(&Grid);
    Grid.ShowEditor();
    auto* E = dynamic_cast<TDBGridInplaceEdit*>(Grid.InplaceEditor());
    ASSERT_NE(E, nullptr);
    ASSERT_TRUE(E->MultiLine());
    QPlainTextEdit* W = E->WrapEdit();
    EXPECT_TRUE(W->isVisible());
    EXPECT_EQ(W->toPlainText(), Long);
    EXPECT_GT(W->document()->firstBlock().layout()->lineCount(), 2) << "the text wraps";
    EXPECT_LE(W->geometry().right(), E->width() - E->ButtonsWidth());
    // Ctrl+V over a clipboard without any format leaves the text as it was.
    EXPECT_EQ(PasteNothingIntoBoxes(&Grid), "TMemo");
    EXPECT_EQ(W->toPlainText(), Long);

    const struct
    {
        const char* Keys;
        bool FirstLine;
        int Caret; // -1: anywhere past the first line
        const char* Starts;
    } Steps[] = {
        {"<Ctrl+A><Left>", true, 0, "alpha"},
        {"<Down>", false, -1, "alpha"},
        {"<Up>", true, 0, "alpha"},
        {"X", true, 1, "Xalpha"},
        {"<Ctrl+Enter>", false, 2, "X\nalpha"},
    };
    for (const auto& S : Steps) {
        SCOPED_TRACE(S.Keys);
        TypeKeys(W, QString::fromLatin1(S.Keys));
        EXPECT_EQ(Grid.Row(), Grid.TopRow()) << "the keys stay in the cell";
        EXPECT_EQ(E->CaretOnFirstLine(), S.FirstLine);
        if (S.Caret >= 0) {
            EXPECT_EQ(E->cursorPosition(), S.Caret);
        } else {
            EXPECT_GT(E->cursorPosition(), 0);
        }
        EXPECT_TRUE(E->text().startsWith(QString::fromLatin1(S.Starts)));
        EXPECT_EQ(W->toPlainText(), E->text());
    }
    // A paste past the field's size is cut to what fits; the text after the
    // caret stays.
    const QString Cut = QStringLiteral("X\n") + QString(200 - 2 - Long.size(), u'y') + Long;
    QGuiApplication::clipboard()->setText(QString(300, u'y'));
    TypeKeys(W, "<Ctrl+V>");
    QGuiApplication::clipboard()->clear();
    EXPECT_EQ(E->text(), Cut);
    EXPECT_EQ(W->toPlainText(), Cut);
    Data.Post();
    EXPECT_EQ(Data.FieldByName(QStringLiteral("Note"))->AsString(), Cut);

    // Always shown: Down over the whole text goes to the next record; a
    // single-line column edits in the line edit itself.
    Grid.SetOptions(Grid.Options() + dgAlwaysShowEditor);
    Grid.ShowEditor();
    TypeKeys(E->WrapEdit(), "<Ctrl+A><Down>");
    EXPECT_EQ(Data.RecNo(), 2);
    Grid.SetSelectedIndex(1);
    Grid.ShowEditor();
    EXPECT_EQ(E->text(), "y");
    EXPECT_FALSE(E->MultiLine());
}
