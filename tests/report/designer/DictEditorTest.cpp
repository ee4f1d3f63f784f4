// The data dictionary editor: sequences of a user's actions on its three
// pages, then OK or Cancel, read back from the dictionary and its lists.
#include "EditorTestUtil.h"
#include "report/form/FormTestUtil.h"

#include "report/designer/FR_DictForm.h"
#include "report/designer/FR_DsgLists.h"
#include "report/designer/FR_InsFields.h"
#include "platform/rtl/IniFiles.h"
#include "report/designer/FR_Vared.h"
#include "report/engine/FR_Ctrls.h"
#include "platform/gui/Menus.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace editortest {
namespace {

using formtest::DescribeDict;

// The node whose name path ("Sums/Total") matches, from the top level.
QTreeWidgetItem* Node(QTreeWidget* Tree, const QString& Path)
{
    QTreeWidgetItem* Found = nullptr;
    for (const QString& Part : Path.split(u'/')) {
        const int Count = Found ? Found->childCount() : Tree->topLevelItemCount();
        QTreeWidgetItem* Next = nullptr;
        for (int i = 0; i < Count && !Next; ++i) {
            QTreeWidgetItem* C = Found ? Found->child(i) : Tree->topLevelItem(i);
            if (C->data(0, frNodeNameRole).toString() == Part)
                Next = C;
        }
        Found = Next;
        if (!Found)
            break;
    }
    return Found;
}

QString Children(QTreeWidgetItem* N)
{
    QStringList R;
    for (int i = 0; N && i < N->childCount(); ++i)
        R << N->child(i)->text(0);
    return R.join(u'|');
}

void Pick(QTreeWidget* Tree, const QString& Path)
{
    Tree->setCurrentItem(Node(Tree, Path));
}

void Type(QLineEdit* Edit, const QString& Text)
{
    Edit->setText(Text);
    Edit->setModified(true);
}

struct TDictRow
{
    const char* Name;
    std::function<TModalResult(TfrDictForm*)> Act;
    const char* Variables;     // empty: unchanged
    const char* FieldAliases;  // empty: unchanged
    const char* Messages = "";
};

const char* const StartVariables = " Sums=;Total=Query1.\"Amount\";Day=DATE;Expr=[Total] * 2; Other=;Five=";
const char* const StartFields = "Query1=Bills;Query1.Amount=Sum;Gone=G;Gone.X=";

class DictTest : public TEditorTest, public ::testing::WithParamInterface<TDictRow>
{
protected:
    void SetUp() override
    {
        TEditorTest::SetUp();
        for (const char* Pair : {" Sums=", "Total=Query1.\"Amount\"", "Day=DATE", "Expr=[Total] * 2", " Other=", "Five="}) {
            const QString P = QString::fromUtf8(Pair);
            Dict()->Variables.SetVariable(P.section(u'=', 0, 0), P.section(u'=', 1));
        }
        for (const char* Pair : {"Query1=Bills", "Query1.Amount=Sum", "Gone=G", "Gone.X="}) {
            const QString P = QString::fromUtf8(Pair);
            Dict()->FieldAliases.SetVariable(P.section(u'=', 0, 0), P.section(u'=', 1));
        }
    }
};

TEST_P(DictTest, ActionsReachTheDictionaryOnlyByOk)
{
    const TDictRow& Row = GetParam();
    // A refused OK keeps the window open; the user then cancels.
    int Round = 0;
    On<TfrDictForm>([&](TfrDictForm* F) { return Round++ == 0 ? Row.Act(F) : mrCancel; });
    const auto Modal = Answer();
    TfrDictForm Form;
    Form.Doc = Report;
    Form.ShowModal();
    EXPECT_EQ(DescribeDict(Dict()->Variables), QString::fromUtf8(*Row.Variables ? Row.Variables : StartVariables));
    EXPECT_EQ(DescribeDict(Dict()->FieldAliases), QString::fromUtf8(*Row.FieldAliases ? Row.FieldAliases : StartFields));
    EXPECT_EQ(Messages.join(u'|'), QString::fromUtf8(Row.Messages));
    EXPECT_EQ(CurReport, Report);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, DictTest,
    ::testing::Values(
        TDictRow{"CancelDropsEverything", [](TfrDictForm* F) {
                     F->NewCategoryBtnClick();
                     Pick(F->VarTree, "Sums");
                     F->DelBtnClick();
                     Pick(F->FieldAliasesTree, "Query1");
                     F->frSpeedButton2Click();
                     return mrCancel;
                 }, "", ""},
        TDictRow{"DeleteCategoryTakesItsVariables", [](TfrDictForm* F) {
                     Pick(F->VarTree, "Sums");
                     F->DelBtnClick();
                     return mrOk;
                 }, " Other=;Five=", ""},
        TDictRow{"NewVariableEndsItsCategoryEmpty", [](TfrDictForm* F) {
                     Pick(F->VarTree, "Sums/Day");
                     F->NewVarBtnClick();
                     EXPECT_TRUE(F->LabelEdit->isVisible());
                     F->LabelEdit->setText("Rate");
                     return mrOk;   // the pending label goes in with OK
                 }, " Sums=;Total=Query1.\"Amount\";Day=DATE;Expr=[Total] * 2;Rate=; Other=;Five=", ""},
        TDictRow{"RefusedNames", [](TfrDictForm* F) {
                     for (const char* Name : {"", " Lead", "Trail ", "a[b", "q\"", "Fmt #0", "Two\nLines", "FIVE",
                                              "A\U0001F600"})
                         F->VarTreeEdited(Node(F->VarTree, "Sums/Total"), QString::fromUtf8(Name));
                     F->VarTreeEdited(Node(F->VarTree, "Sums"), "");
                     F->VarTreeEdited(Node(F->VarTree, "Sums"), QString::fromUtf8("S\U0001F600"));
                     F->VarTreeEdited(Node(F->VarTree, "Sums"), "OTHER");
                     F->VarTreeEdited(Node(F->VarTree, "Sums/Total"), "Grand");
                     F->VarTreeEdited(Node(F->VarTree, "Other"), "Misc");
                     return mrOk;
                 }, " Sums=;Grand=Query1.\"Amount\";Day=DATE;Expr=[Total] * 2; Misc=;Five=", ""},
        TDictRow{"ValuesShowWhereTheyComeFrom", [](TfrDictForm* F) {
                     Pick(F->VarTree, "Sums/Day");
                     EXPECT_EQ(F->ValCombo->currentText() + ":" + frSelectedText(F->ValList), "System variables:Date");
                     Pick(F->VarTree, "Sums/Total");
                     EXPECT_EQ(F->ValCombo->currentText() + ":" + frSelectedText(F->ValList), "Bills:Sum");
                     EXPECT_FALSE(F->ExprCB->isChecked());
                     Pick(F->VarTree, "Sums/Expr");
                     EXPECT_TRUE(F->ExprCB->isChecked());
                     EXPECT_EQ(F->ExprEdit->text(), "[Total] * 2");
                     // A field chosen from the lists, an expression typed and
                     // left pending when OK comes by Enter.
                     Pick(F->VarTree, "Other/Five");
                     F->ValCombo->setCurrentText("Bills");
                     F->ValComboClick();
                     Select(F->ValList, "A.B");   // a field name with a point
                     F->ValListClick();
                     Pick(F->VarTree, "Sums/Day");
                     Pick(F->VarTree, "Other/Five");
                     EXPECT_EQ(F->ValCombo->currentText() + ":" + frSelectedText(F->ValList), "Bills:A.B");
                     Pick(F->VarTree, "Sums/Day");
                     F->ExprCB->setChecked(true);
                     F->ExprEditEnter();
                     F->ExprEdit->setText("1 + 1");
                     return mrOk;
                 }, " Sums=;Total=Query1.\"Amount\";Day=1 + 1;Expr=[Total] * 2; Other=;Five=Query1.\"A.B\"", ""},
        TDictRow{"AliasesExcludeAndMoves", [](TfrDictForm* F) {
                     EXPECT_EQ(Items(F->AllTablesLB), "DM.Query2");
                     QTreeWidgetItem* Query1 = Node(F->FieldAliasesTree, "Datasets and fields/Query1");
                     Pick(F->FieldAliasesTree, "Datasets and fields/Query1/[None]");   // replaced by the fields
                     Query1->setExpanded(true);
                     EXPECT_EQ(Children(Query1), "A.B|Amount {Sum}|Name");
                     Pick(F->FieldAliasesTree, "Datasets and fields/Query1/Name");
                     F->CB1->setChecked(true);
                     EXPECT_TRUE(F->Edit1->isReadOnly());
                     Pick(F->FieldAliasesTree, "Datasets and fields/Query1/Amount");
                     Type(F->Edit1, "");
                     Pick(F->FieldAliasesTree, "Datasets and fields/Query1/A.B");
                     Type(F->Edit1, "Sum");   // another field's alias until now
                     Pick(F->FieldAliasesTree, "Datasets and fields/Query1");
                     Type(F->Edit1, "");
                     Select(F->AllTablesLB, "DM.Query2");
                     F->frSpeedButton1Click();
                     return mrOk;
                 }, "", "Query1=;Gone=G;Gone.X=;Query1.Name=;Query1.A.B=Sum;DM.Query2="},
        TDictRow{"DuplicateAliasRefused", [](TfrDictForm* F) {
                     Node(F->FieldAliasesTree, "Datasets and fields/Query1")->setExpanded(true);
                     Pick(F->FieldAliasesTree, "Datasets and fields/Query1/A.B");
                     Type(F->Edit1, "sum");
                     Pick(F->FieldAliasesTree, "Datasets and fields/Query1/Name");
                     Type(F->Edit1, "A.B");
                     return mrOk;    // refused again: stays open, then Cancel
                 }, "", "", "Alias \"sum\" is already used|Alias \"A.B\" is already used"},
        TDictRow{"AllBackLeavesMissingDatasets", [](TfrDictForm* F) {
                     F->frSpeedButton4Click();
                     EXPECT_EQ(Items(F->AllTablesLB), "DM.Query2|Query1");
                     F->frSpeedButton3Click();
                     Pick(F->FieldAliasesTree, "Datasets and fields/DM.Query2");
                     F->frSpeedButton2Click();
                     return mrOk;
                 }, "", "Gone=G;Gone.X=;Query1="}),
    [](const auto& Info) { return std::string(Info.param.Name); });

class DictEditorTest : public DictTest
{
};

TEST_F(DictEditorTest, EmptyDictionaryShowsNoneUntilACategoryComes)
{
    Dict()->Variables.Clear();
    for (int n = 1; n <= 1000; ++n)
        Dict()->Variables.SetVariable(QStringLiteral("Variable%1").arg(n), QString());
    for (int n = 1; n <= 1000; ++n)
        Dict()->Variables.SetVariable(QStringLiteral(" Category%1").arg(n), QString());
    On<TfrDictForm>([](TfrDictForm* F) {
        F->NewCategoryBtnClick();
        F->NewVarBtnClick();
        return mrOk;
    });
    const auto Modal = Answer();
    TfrDictForm Form;
    Form.Doc = Report;
    Form.ShowModal();
    EXPECT_EQ(Dict()->Variables.GetName(2000), " Category1001");
    EXPECT_EQ(Dict()->Variables.GetName(2001), "Variable1001");

    Dict()->Variables.Clear();
    On<TfrDictForm>([](TfrDictForm* F) {
        EXPECT_EQ(F->VarTree->topLevelItem(0)->text(0), "[None]");
        EXPECT_FALSE(F->VarTree->rootIsDecorated());
        EXPECT_FALSE(F->ExprCB->isEnabled());
        F->NewCategoryBtnClick();
        EXPECT_EQ(F->VarTree->topLevelItemCount(), 1);
        EXPECT_TRUE(F->VarTree->rootIsDecorated());
        return mrOk;
    });
    TfrDictForm Again;
    Again.Doc = Report;
    Again.ShowModal();
    EXPECT_EQ(DescribeDict(Dict()->Variables), " Category1=");
}

TEST_F(DictEditorTest, ListEditorRefusesRepeatedNamesAndKeepsTheText)
{
    int Round = 0;
    QString Kept;
    On<TfrVaredForm>([&](TfrVaredForm* F) {
        // A repeated name, a variable before any category, a name a report
        // file cannot keep: each refused in turn.
        const char* const Refused[] = {"Sums\n Total\n total", " Orphan\nSums", "Sums\n A\U0001F600"};
        if (Round == 0) {
            EXPECT_EQ(F->Memo1->toPlainText(), "Sums\n Total\n Day\n Expr\nOther\n Five");
        }
        if (Round < 3) {
            F->Memo1->setPlainText(QString::fromUtf8(Refused[Round++]));
            return mrOk;
        }
        Kept = F->Memo1->toPlainText();
        F->Memo1->setPlainText("Sums  \n Total\n  Sub\n\nNew\n Rate");
        return mrOk;
    });
    On<TfrDictForm>([](TfrDictForm* F) {
        F->EditListBtnClick();
        EXPECT_EQ(Children(Node(F->VarTree, "Sums")), "Total");
        EXPECT_EQ(F->VarTree->topLevelItemCount(), 3);
        return mrOk;
    });
    const auto Modal = Answer();
    TfrDictForm Form;
    Form.Doc = Report;
    Form.ShowModal();
    EXPECT_EQ(Messages.join(u'|'), "Line 3: total is not unique or not valid|"
                                   "Line 1: Orphan comes before the first category|"
                                   "Line 2: A\U0001F600 is not unique or not valid");
    EXPECT_EQ(Kept, "Sums\n A\U0001F600");
    EXPECT_EQ(DescribeDict(Dict()->Variables), " Sums=;Total=Query1.\"Amount\"; Sub=; New=;Rate=");
}

TEST_F(DictEditorTest, BandSourcesAndTheEngineListsReadBack)
{
    On<TfrDictForm>([](TfrDictForm* F) {
        EXPECT_EQ(Items(F->AllBandsLB), "frDBDataSet1|frDBDataSet2");
        Select(F->AllBandsLB, "frDBDataSet1");
        F->frSpeedButton5Click();
        Pick(F->BandDSTree, "Datasources/frDBDataSet1");
        Type(F->Edit2, "frDBDataSet2");
        Pick(F->BandDSTree, "Datasources");
        Pick(F->BandDSTree, "Datasources/frDBDataSet1");
        Type(F->Edit2, "Lines");
        F->PageControl1->setCurrentIndex(2);
        Keep(F, "dictionary-band-sources.png");
        F->PageControl1->setCurrentIndex(1);
        Node(F->FieldAliasesTree, "Datasets and fields/Query1")->setExpanded(true);
        Pick(F->FieldAliasesTree, "Datasets and fields/Query1/Amount");
        Keep(F, "dictionary-field-aliases.png");
        F->PageControl1->setCurrentIndex(0);
        Pick(F->VarTree, "Sums/Total");
        Keep(F, "dictionary-variables.png");
        return mrOk;
    });
    const auto Modal = Answer();
    TfrDictForm Form;
    Form.Doc = Report;
    Form.ShowModal();
    EXPECT_EQ(Messages.join(u'|'), "Alias \"frDBDataSet2\" is already used");
    EXPECT_EQ(DescribeDict(Dict()->BandDataSourceAliases), "frDBDataSet1=Lines");
    TStringList L;
    Dict()->GetBandDataSourceList(L);
    EXPECT_EQ(L.ToStringList().join(u'|'), "Lines");
    Dict()->GetDataSetList(L);
    EXPECT_EQ(L.ToStringList().join(u'|'), "Bills");
    Dict()->GetFieldList("Bills", L);
    EXPECT_EQ(L.ToStringList().join(u'|'), "Name|A.B|Sum");
}

TEST_F(DictEditorTest, DataDictionaryCommandRefreshesTheFieldsWindow)
{
    // The fields window keeps its place in the settings store.
    QTemporaryDir Settings;
    TRegIniFile::SetStorageFolder(Settings.path());
    Designer->ShowFieldsWindow(true);
    ASSERT_TRUE(frInsFieldsForm);
    EXPECT_EQ(Items(frInsFieldsForm->DatasetsLB), "Bills");
    On<TfrDictForm>([](TfrDictForm* F) {
        Pick(F->FieldAliasesTree, "Datasets and fields/Query1");
        Type(F->Edit1, "Sales");
        return mrOk;
    });
    const auto Modal = Answer();
    Designer->SetModified(false);
    Designer->N42->Click();
    EXPECT_TRUE(Designer->GetModified());
    EXPECT_EQ(Items(frInsFieldsForm->DatasetsLB), "Sales");
    Designer->ShowFieldsWindow(false);
    TRegIniFile::SetStorageFolder(QString());
}

} // namespace
} // namespace editortest
