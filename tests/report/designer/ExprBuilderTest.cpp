// The expression builder and its pickers: what each pick inserts reads back
// through the parser as one name or one call naming it.
#include "EditorTestUtil.h"

#include "report/designer/FR_Arg.h"
#include "report/designer/FR_DsgLists.h"
#include "report/designer/FR_Expr.h"
#include "report/designer/FR_Flds.h"
#include "report/designer/FR_Funcs.h"
#include "report/designer/FR_Var.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Funcs.h"
#include "report/engine/FR_Pars.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTreeWidget>

namespace editortest {
namespace {

// The names and calls the parser asks for while reading Text.
QString Parsed(const QString& Text)
{
    TfrParser P;
    QStringList Seen;
    P.OnGetValue = [&](TfrParser*, const QString& Name, Variant& V) {
        Seen << "v:" + Name;
        V = Variant(0);
    };
    P.OnFunction = [&](TfrParser*, const QString& Name, const Variant& A, const Variant& B, const Variant& C,
                       Variant& V) {
        Seen << QStringLiteral("f:%1(%2|%3|%4)").arg(Name, A.AsString(), B.AsString(), C.AsString());
        V = Variant(0);
    };
    P.Calc(Text);
    return Seen.join(u';');
}

class ExprBuilderTest : public TEditorTest
{
protected:
    void SetUp() override
    {
        TEditorTest::SetUp();
        frGlobals();
        for (const char* Name : {" Sums", "Total", "Total sum", "1st", "And", " Other", "Five"})
            Dict()->Variables.SetVariable(Name, QString());
        TfrFieldsForm::LastDB().clear();
        TfrVarForm::LastCategory().clear();
    }

public:
    void PickVariable(const QString& Category, const QString& Name)
    {
        On<TfrVarForm>([=](TfrVarForm* F) {
            Select(F->CategoryLB, Category);
            Select(F->VarLB, Name);
            return mrOk;
        });
    }
    void PickField(const QString& DataSet, const QString& Field)
    {
        On<TfrFieldsForm>([=](TfrFieldsForm* F) {
            Select(F->DatasetsLB, DataSet);
            Select(F->FieldsLB, Field);
            return mrOk;
        });
    }
    void PickFunction(const QString& Name, const QStringList& Arguments = {})
    {
        On<TfrFuncForm>([=](TfrFuncForm* F) {
            Select(F->FuncLB, Name);
            return mrOk;
        });
        On<TfrFuncArgForm>([=](TfrFuncArgForm* F) {
            TfrComboEdit* Edits[] = {F->ArgEdit1, F->ArgEdit2, F->ArgEdit3};
            for (int i = 0; i < Arguments.size(); ++i)
                Edits[i]->setText(Arguments[i]);
            return mrOk;
        });
    }
};

struct TInsertRow
{
    const char* Name;
    std::function<void(ExprBuilderTest*)> Setup;
    std::function<void(TfrExprForm*)> Act;
    const char* Memo;
    const char* Returned;   // by InsertExpression
    const char* Parsed;     // of the memo's text
};

class InsertTest : public ExprBuilderTest, public ::testing::WithParamInterface<TInsertRow>
{
};

TEST_P(InsertTest, InsertsWhatReadsBackAsThePick)
{
    const TInsertRow& Row = GetParam();
    Row.Setup(this);
    QString Memo;
    On<TfrExprForm>([&](TfrExprForm* F) {
        Row.Act(F);
        Memo = F->Text();
        return mrOk;
    });
    const auto Modal = Answer();
    EXPECT_EQ(Designer->InsertExpression(), QString::fromUtf8(Row.Returned));
    EXPECT_EQ(Memo, QString::fromUtf8(Row.Memo));
    if (*Row.Parsed) {
        EXPECT_EQ(Parsed(Memo), QString::fromUtf8(Row.Parsed));
    }
}

auto Var(const char* Category, const char* Name)
{
    return [=](ExprBuilderTest* T) { T->PickVariable(Category, Name); };
}
const auto NoSetup = [](ExprBuilderTest*) {};
const auto InsVar = [](TfrExprForm* F) { F->InsVarBtnClick(); };
auto Type(const char* Text)
{
    return [=](TfrExprForm* F) { F->ExprMemo->setPlainText(QString::fromUtf8(Text)); };
}

INSTANTIATE_TEST_SUITE_P(
    Picks, InsertTest,
    ::testing::Values(
        TInsertRow{"Total", Var("Sums", "Total"), InsVar, "Total", "[Total]", "v:TOTAL"},
        TInsertRow{"TotalSum", Var("Sums", "Total sum"), InsVar, "[Total sum]", "[Total sum]", "v:Total sum"},
        TInsertRow{"FirstDigit", Var("Sums", "1st"), InsVar, "[1st]", "[1st]", "v:1st"},
        TInsertRow{"OperatorWord", Var("Sums", "And"), InsVar, "[And]", "[And]", "v:And"},
        TInsertRow{"Page", Var("System variables", "Page#"), InsVar, "[PAGE#]", "[PAGE#]", "v:PAGE#"},
        TInsertRow{"Field", [](ExprBuilderTest* T) { T->PickField("Query1", "Name"); },
                   [](TfrExprForm* F) { F->InsDBBtnClick(); }, "[Query1.\"Name\"]", "[Query1.\"Name\"]",
                   "v:Query1.\"Name\""},
        TInsertRow{"FunctionWithoutParenthesis", [](ExprBuilderTest* T) { T->PickFunction("DATE"); },
                   [](TfrExprForm* F) { F->InsFuncBtnClick(); }, "DATE", "[DATE]", "v:DATE"},
        TInsertRow{"FunctionNamedLikeAConstant", [](ExprBuilderTest* T) { T->PickFunction("FALSE"); },
                   [](TfrExprForm* F) { F->InsFuncBtnClick(); }, "FALSE", "[FALSE]", ""},
        TInsertRow{"FormatFloat", [](ExprBuilderTest* T) { T->PickFunction("FORMATFLOAT", {"'#.##'", "[Sum]"}); },
                   [](TfrExprForm* F) { F->InsFuncBtnClick(); }, "FORMATFLOAT('#.##', [Sum])",
                   "[FORMATFLOAT('#.##', [Sum])]", "f:FORMATFLOAT('#.##'| [Sum]|)"},
        TInsertRow{"Operator", NoSetup, [](TfrExprForm* F) { F->frSpeedButton1Click(F->OperatorButtons[5]); },
                   "<> ", "[<> ]", ""},
        TInsertRow{"NothingChosen", Var("System variables", ""), InsVar, "", "", ""},
        TInsertRow{"AlreadyBracketed", NoSetup, Type("[Total]"), "[Total]", "[Total]", ""},
        TInsertRow{"TwoBrackets", NoSetup, Type("[A] + [B]"), "[A] + [B]", "[[A] + [B]]", ""},
        TInsertRow{"Typed", NoSetup, Type("A + 1"), "A + 1", "[A + 1]", ""},
        TInsertRow{"TypedOverTwoLines", NoSetup, Type("12+\n3\n"), "12+ 3", "[12+ 3]", ""},
        TInsertRow{"Empty", NoSetup, Type(""), "", "", ""}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(ExprBuilderTest, CancelInsertsNothing)
{
    On<TfrExprForm>([](TfrExprForm* F) {
        F->ExprMemo->setPlainText("1 + 2");
        return mrCancel;
    });
    const auto Modal = Answer();
    EXPECT_EQ(Designer->InsertExpression(), QString());
}

struct TArgRow
{
    const char* Syntax;
    QStringList Arguments;
    bool Row2, Row3;
    const char* Call;
    const char* Parsed;
};

class ArgumentTest : public ExprBuilderTest, public ::testing::WithParamInterface<TArgRow>
{
};

TEST_P(ArgumentTest, CommasEnableRowsAndEmptyArgumentsKeepTheirPlace)
{
    const TArgRow& Row = GetParam();
    TfrFuncArgForm Form;
    Form.FuncLabel->setText(Row.Syntax);
    Form.FuncName = "F";
    On<TfrFuncArgForm>([&](TfrFuncArgForm* F) {
        EXPECT_EQ(F->ArgEdit2->isEnabled(), Row.Row2);
        EXPECT_EQ(F->ArgEdit3->isEnabled(), Row.Row3);
        TfrComboEdit* Edits[] = {F->ArgEdit1, F->ArgEdit2, F->ArgEdit3};
        for (int i = 0; i < Row.Arguments.size(); ++i)
            Edits[i]->setText(Row.Arguments[i]);
        return mrOk;
    });
    const auto Modal = Answer();
    EXPECT_EQ(Form.ShowModal(), mrOk);
    EXPECT_EQ(Form.FuncName, Row.Call);
    EXPECT_EQ(Parsed(Form.FuncName), Row.Parsed);
}

INSTANTIATE_TEST_SUITE_P(
    Commas, ArgumentTest,
    ::testing::Values(TArgRow{"F(<X>)", {"a"}, false, false, "F(a)", "f:F(a||)"},
                      TArgRow{"F(<X>, <Y>)", {"", "b"}, true, false, "F(, b)", "f:F(| b|)"},
                      TArgRow{"F(<X>, <Y>, <Z>)", {"a", "", "c"}, true, true, "F(a, , c)", "f:F(a| | c)"},
                      TArgRow{"F(<X>, <Y>, <Z>, <W>)", {"a", "", ""}, true, true, "F(a)", "f:F(a||)"}));

TEST_F(ExprBuilderTest, FieldPickerRemembersItsDatasetAndOffersNothingWithoutOne)
{
    QString Shown;
    On<TfrFieldsForm>([&](TfrFieldsForm* F) {
        Shown = frSelectedText(F->DatasetsLB) + ":" + Items(F->FieldsLB);
        Select(F->DatasetsLB, "DM.Query2");
        return mrCancel;
    });
    const auto Modal = Answer();
    EXPECT_EQ(Designer->InsertDBField(), QString());
    EXPECT_EQ(Shown, "Query1:Name|A.B|Amount");
    Designer->InsertDBField();
    EXPECT_EQ(Shown, "DM.Query2:Amount") << "the dataset of last time";
    TfrFieldsForm::LastDB() = "Gone";
    Designer->InsertDBField();
    EXPECT_EQ(Shown, "Query1:Name|A.B|Amount") << "a dataset no longer listed";

    // No dataset offered, or no field chosen: nothing.
    PickField("Query1", "");
    EXPECT_EQ(Designer->InsertDBField(), QString());
    Dict()->DisabledDataSets.Add("*");
    PickField("Query1", "Name");
    EXPECT_EQ(Designer->InsertDBField(), QString());
    Dict()->DisabledDataSets.Clear();
    EXPECT_EQ(Designer->InsertDBField(), "[Query1.\"Name\"]");
}

TEST_F(ExprBuilderTest, VariablePickerRemembersItsCategory)
{
    QString Shown;
    On<TfrVarForm>([&](TfrVarForm* F) {
        Shown = Items(F->CategoryLB) + ">" + frSelectedText(F->CategoryLB) + ":" + Items(F->VarLB);
        Select(F->CategoryLB, "System variables");
        return mrCancel;
    });
    TfrVarForm Form;
    const auto Modal = Answer();
    Form.ShowModal();
    EXPECT_EQ(Shown, "Sums|Other|System variables>Sums:Total|Total sum|1st|And");
    TfrVarForm Again;
    Again.ShowModal();
    EXPECT_EQ(Shown, "Sums|Other|System variables>System variables:"
                     "Page#|Date|Time|Line#|Line through#|Column#|Current line#|TotalPages");
    EXPECT_EQ(Again.SelectedItem, QString());
}

// One function described without "/", one with it.
class TSyntaxLibrary : public TfrFunctionLibrary
{
public:
    static constexpr const char* StaticClassName = "TSyntaxLibrary";
    TSyntaxLibrary()
    {
        List()->SetStringList({"NOSLASH", "SLASHED"});
        AddFunctionDesc("NOSLASH", "Syntax test", "NOSLASH(<X>, <Y>)");
        AddFunctionDesc("SLASHED", "Syntax test", "SLASHED(<X>)/Says what/it does");
    }
    QString ClassName() const override { return StaticClassName; }
    void DoFunction(int, const Variant&, const Variant&, const Variant&, Variant&) override {}
};

TEST_F(ExprBuilderTest, FunctionPickerSplitsTheDescriptionAtItsFirstSlash)
{
    frRegisterFunctionLibrary(frLibraryClass<TSyntaxLibrary>());
    TfrFuncForm Form;
    Form.Tree1->setCurrentItem(Form.Tree1->findItems("Syntax test", Qt::MatchExactly | Qt::MatchRecursive).value(0));
    EXPECT_EQ(Items(Form.FuncLB), "NOSLASH|SLASHED");
    QStringList Shown;
    for (const char* Name : {"NOSLASH", "SLASHED", ""}) {
        Select(Form.FuncLB, Name);
        Shown << Form.FuncLabel->text() + "/" + Form.DescrLabel->text();
    }
    EXPECT_EQ(Shown.join(u'|'), "NOSLASH(<X>, <Y>)/|SLASHED(<X>)/Says what/it does|/");
    frUnRegisterFunctionLibrary(frLibraryClass<TSyntaxLibrary>());
}

TEST_F(ExprBuilderTest, BuilderWithItsArgumentDialogRenders)
{
    PickFunction("FORMATFLOAT", {"'#.##'", "[Sum]"});
    On<TfrFuncArgForm>([&](TfrFuncArgForm* F) {
        F->ArgEdit1->setText("'#.##'");
        F->ArgEdit2->setText("[Sum]");
        // The description box is the info-tip colour.
        const QImage I = RenderWidget(F);
        const QPoint P = F->DescrLabel->geometry().bottomRight() - QPoint(3, 3);
        EXPECT_EQ(I.pixel(P) & 0xFFFFFF, 0xFFFFE1u);
        Keep(F, "function-arguments.png");
        return mrOk;
    });
    On<TfrExprForm>([&](TfrExprForm* F) {
        F->InsFuncBtnClick();
        F->frSpeedButton1Click(F->OperatorButtons[0]);
        Keep(F, "expression-builder.png");
        return mrOk;
    });
    const auto Modal = Answer();
    EXPECT_EQ(Designer->InsertExpression(), "[FORMATFLOAT('#.##', [Sum])+ ]");
}

} // namespace
} // namespace editortest
