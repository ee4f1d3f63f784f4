// The standard and database functions called through the library registry,
// and the registry's rules for classes, order and descriptions.
#include "ExprTestText.h"
#include "platform/gui/InputBox.h"
#include "platform/gui/ModalSeam.h"
#include "platform/gui/StdCtrls.h"
#include "report/engine/FR_Funcs.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Pars.h"
#include "report/engine/FR_StdFuncs.h"
#include "report/engine/FR_Utils.h"

#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

// The shared parser with function calls going to the registered libraries,
// as the preparation installs it.
class TLibraryCalls : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frParser().OnFunction = [](TfrParser*, const QString& Name, const Variant& P1, const Variant& P2,
                                   const Variant& P3, Variant& Value) {
            frCallLibraryFunction(Name, P1, P2, P3, Value);
        };
    }
    void TearDown() override { frParser().OnFunction = nullptr; }
    static QString Calc(const char* Expression)
    {
        return ShowValue(frParser().Calc(QString::fromUtf8(Expression)));
    }
};

TEST_F(TLibraryCalls, FunctionsGiveTheirValues)
{
    struct TRow { const char* Expression; const char* Expected; };
    const TRow Rows[] = {
        {"NAMECASE('jOHN sMITH')", "S:John smith"},
        {"NAMECASE('')", "S:"},
        {"POS('b', 'abc')", "I:2"},
        {"POS('x', 'abc')", "I:0"},
        {"POS('华南', '广州华南贸易')", "I:3"},
        {"LENGTH('广州华南贸易')", "I:6"},
        {"LOWERCASE('AbC')", "S:abc"},
        {"UPPERCASE('aBc')", "S:ABC"},
        {"TRIM('  a b ')", "S:a b"},
        {"MAXNUM(2, 10)", "D:10"},
        {"MINNUM(2, '2')", "S:2"},
        {"MAXNUM('b', 'a')", "S:b"},
        {"MINNUM('b', 'a')", "S:a"},
        {"DAYOF(STRTODATE('2024-03-05'))", "I:5"},
        {"MONTHOF(STRTODATE('2024-03-05'))", "I:3"},
        {"YEAROF(45356.75)", "I:2024"},
        {"FORMATDATETIME('yyyy年m月d日', STRTODATE('2024-03-05'))", "S:2024年3月5日"},
        {"FORMATFLOAT('#,##0.00', 1234567.5)", "S:1,234,567.50"},
        {"FORMATFLOAT('0.00;(0.00)', -2)", "S:(2.00)"},
        {"FORMATTEXT('(999) 999-9999', '5551234567')", "S:(555) 123-4567"},
        {"FORMATTEXT('(999) 999-9999', '(555) 123-4567')", "S:(555) 123-4567"},
        {"FORMATTEXT('>LLL-00', 'abc12')", "S:ABC-12"},
        {"FIELDISNULL('NoSuchTable.NoSuchField')", "B:True"},
        // Outside any footer an aggregate has nothing to read.
        {"SUM([Qty])", "S:0"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Expression);
        EXPECT_EQ(Calc(Row.Expression), QString::fromUtf8(Row.Expected));
    }
}

TEST_F(TLibraryCalls, ConversionErrorsReachTheCallerAndUnknownNumbersGiveZero)
{
    for (const char* Expression : {"FORMATFLOAT('0', 'abc')", "DAYOF('no date')", "YEAROF('')"})
        EXPECT_THROW(frParser().Calc(QString::fromUtf8(Expression)), Exception) << Expression;
    Variant Value(5);
    TfrStdFunctionLibrary().DoFunction(21, Variant("1"), Variant(""), Variant(""), Value);
    EXPECT_EQ(ShowValue(Value), QStringLiteral("S:0"));
}

TEST_F(TLibraryCalls, InputAndMessageBoxGoThroughTheSeam)
{
    struct TRow { const char* Name; bool Ok; const char* Expected; };
    for (const TRow& Row : {TRow{"OK", true, "S:typed"}, TRow{"Cancel", false, "S:start"}}) {
        SCOPED_TRACE(Row.Name);
        QString Shown;
        TModalHandlers Handlers(
            [&](TForm* F) -> TModalResult {
                auto* Box = dynamic_cast<TInputBoxForm*>(F);
                Shown = Box->Caption() + u'|' + Box->Prompt->text() + u'|' + Box->Edit->text();
                Box->Edit->setText(QStringLiteral("typed"));
                (Row.Ok ? Box->OKButton : Box->CancelButton)->Click();
                return mrNone;
            },
            nullptr);
        EXPECT_EQ(Calc("INPUT('Amount', 'start')"), QString::fromUtf8(Row.Expected));
        EXPECT_EQ(Shown, QStringLiteral("|Amount|start"));
    }
    TModalHandlers Handlers(nullptr, [](const TMessageRequest&) { return mrNo; });
    EXPECT_EQ(Calc("MESSAGEBOX('Print all?', 'Question', 4 + 32)"), QStringLiteral("I:7"));
    ASSERT_EQ(TModalSeam::Messages().size(), 1u);
    EXPECT_EQ(TModalSeam::Messages()[0].Describe(), QStringLiteral("Question|Print all?|question|Yes,No"));
}

// ---------------------------------------------------------------- registry

// Two libraries that both know TWICE; the first also HIDDEN, described
// without a category, and TWICE a second time.
template <bool First>
class TTestLibrary : public TfrFunctionLibrary
{
public:
    static constexpr const char* StaticClassName = First ? "TFirstLibrary" : "TSecondLibrary";
    TTestLibrary()
    {
        List()->SetStringList({QStringLiteral("TWICE"), QStringLiteral("HIDDEN")});
        AddFunctionDesc(QStringLiteral("TWICE"), First ? "Test" : "Other", First ? "first" : "by second");
        AddFunctionDesc(QStringLiteral("TWICE"), QStringLiteral("Test"), QStringLiteral("second"));
        AddFunctionDesc(QStringLiteral("HIDDEN"), QString(), QStringLiteral("unlisted"));
    }
    QString ClassName() const override { return QString::fromLatin1(StaticClassName); }
    void DoFunction(int FNo, const Variant&, const Variant&, const Variant&, Variant& Value) override
    {
        Value = Variant(QStringLiteral("%1 %2").arg(First ? "first" : "second").arg(FNo));
    }
};
using TFirstLibrary = TTestLibrary<true>;
using TSecondLibrary = TTestLibrary<false>;

QString FunctionList(const QString& Category)
{
    TStringList List;
    frInstalledFunctions()->GetFunctionList(Category, List);
    return List.ToStringList().join(u',');
}

TEST_F(TLibraryCalls, RegistryKeepsOneInstancePerClassAndAsksInOrder)
{
    frGlobals();
    const int Before = frFunctionLibraryCount();
    frRegisterFunctionLibrary(frLibraryClass<TFirstLibrary>());
    frRegisterFunctionLibrary(frLibraryClass<TFirstLibrary>());
    frRegisterFunctionLibrary(frLibraryClass<TSecondLibrary>());
    EXPECT_EQ(frFunctionLibraryCount(), Before + 2);
    EXPECT_EQ(Calc("twice(1)"), QStringLiteral("S:first 0"));
    // Callable without a category, but not offered.
    EXPECT_EQ(Calc("HIDDEN()"), QStringLiteral("S:first 1"));
    EXPECT_EQ(FunctionList(QStringLiteral("test")), QStringLiteral("TWICE"));
    EXPECT_EQ(frInstalledFunctions()->GetFunctionDescription(QStringLiteral("Twice")), QStringLiteral("first"));

    frUnRegisterFunctionLibrary(frLibraryClass<TFirstLibrary>());
    EXPECT_EQ(Calc("TWICE(1)"), QStringLiteral("S:second 0"));
    EXPECT_EQ(FunctionList(QStringLiteral("Test")), QString());
    // The second library's description was refused while the first held the name.
    EXPECT_EQ(frInstalledFunctions()->GetFunctionDescription(QStringLiteral("TWICE")), QString());
    frUnRegisterFunctionLibrary(frLibraryClass<TSecondLibrary>());
    EXPECT_EQ(frFunctionLibraryCount(), Before);
}

TEST(StandardLibrary, DescribesEveryNameByCategory)
{
    frGlobals();
    TStringList Categories;
    frInstalledFunctions()->GetCategoryList(Categories);
    EXPECT_EQ(Categories.ToStringList().join(u','),
              QStringLiteral("Aggregate,Boolean,Database,Date and time,Interpreter,Math,Other,Report info,String"));
    EXPECT_EQ(FunctionList(QStringLiteral("Aggregate")), QStringLiteral("AVG,COUNT,MAX,MIN,SUM"));
    EXPECT_EQ(FunctionList(LoadEngineString(55348)).count(u',') + 1, 67);
    EXPECT_EQ(frInstalledFunctions()->GetFunctionDescription(QStringLiteral("fieldisnull")),
              QStringLiteral("FIELDISNULL(<FieldName>)/Returns 'true' if DB-field is null"));
}

} // namespace
