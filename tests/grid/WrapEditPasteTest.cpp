// The word-wrapping views of the grid's in-place editor and of the
// data-aware edit are multi-line boxes too: Ctrl+V over an empty clipboard
// passes their keys' rules and leaves the text as it was.
#include "EditKeys.h"
#include "GridTestUtil.h"
#include "MemoPaste.h"
#include "grid/DBCtrlsEh.h"
#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/db/MemDataSet.h"
#include "platform/gui/Grids.h"

#include <QApplication>
#include <gtest/gtest.h>

TEST(WrapEditPaste, GridEditorAndWrappingEditKeepTheirText)
{
    const QString Note = QStringLiteral("alpha beta gamma delta epsilon zeta");
    TMemDataSet Data;
    Data.FieldDefs()->Add(QStringLiteral("Note"), ftWideString, 200);
    Data.Open();
    Data.AppendRecord({Variant(Note)});
    Data.First();
    TDataSource Source;
    Source.SetDataSet(&Data);

    TDBGridEh Grid;
    Grid.resize(300, 200);
    Grid.Columns()->Add()->SetFieldName(QStringLiteral("Note"));
    Grid.Columns(0)->SetWidth(90);
    Grid.Columns(0)->SetWordWrap(true);
    Grid.SetRowLines(3);
    Grid.SetDataSource(&Source);
    Grid.show();
    QApplication::setActiveWindow(&Grid);
    SendKey(&Grid, Qt::Key_F2, Qt::NoModifier, QString());
    auto* Editor = dynamic_cast<TInplaceEdit*>(Grid.InplaceEditor());
    ASSERT_NE(Editor, nullptr);
    ASSERT_TRUE(Editor->MultiLine());

    TDBEditEh Edit;
    Edit.resize(160, 60);
    Edit.SetWordWrap(true);
    Edit.SetDataSource(&Source);
    Edit.SetDataField(QStringLiteral("Note"));
    Edit.show();
    SendFocus(&Edit, true);

    const QString InGrid = PasteNothingIntoBoxes(&Grid);
    const QString InEdit = PasteNothingIntoBoxes(&Edit);
    EXPECT_EQ(InGrid + QStringLiteral(" / ") + InEdit, QStringLiteral("TMemo / TMemo"));
    EXPECT_EQ(Editor->text(), Note);
    EXPECT_EQ(Edit.Text(), Note);
}
