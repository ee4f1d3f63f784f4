// The data dictionary: its block forms, names resolved to fields through the
// cache and aliases, variables evaluated, the designer's lists, and files that
// fail whole.
#include "DataTestUtil.h"
#include "report/form/FormTestUtil.h"

#include "platform/rtl/Streams.h"
#include "report/engine/FR_DBSet.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Pars.h"
#include "report/engine/FR_Utils.h"

#include <QFile>
#include <QTemporaryDir>

using namespace datatest;
using formtest::DescribeDict;
using formtest::Lines;

namespace {

// Installs the dictionary as the parser's name callback, as a preparation does.
class TDictionaryTest : public TReportWorld
{
protected:
    void SetUp() override
    {
        TReportWorld::SetUp();
        Dict = Report->Dictionary();
        frParser().OnGetValue = [this](TfrParser*, const QString& Name, Variant& Value) {
            if (Dict->IsVariable(Name))
                Dict->GetValue(Name, Value);
        };
        Dict->Variables.SetVariable(" Sums", "");
        Dict->Variables.SetVariable("Total", "Query1.\"Amount\"");
        Dict->Variables.SetVariable("Twice", "[Total] * 2");
        Dict->Variables.SetVariable(" Other", "");
        Dict->Variables.SetVariable("Five", "2 + 3");
        Dict->FieldAliases.SetVariable("Query1", "订单");
        Dict->FieldAliases.SetVariable("Query1.Amount", "金额");
    }
    void TearDown() override
    {
        frParser().OnGetValue = nullptr;
        frVariables().Clear();
        TReportWorld::TearDown();
    }

    Variant Value(const QString& Name)
    {
        Variant V;
        Dict->GetValue(Name, V);
        return V;
    }

    TfrDataDictionary* Dict = nullptr;
};

} // namespace

TEST_F(TDictionaryTest, PreviousFormDropsEmptyAliasesThatNoLongerResolve)
{
    TMemoryStream S;
    S.WriteU16(0xFFFF);
    S.WriteU32(1);
    WriteStreamString(S, " Sums");
    WriteStreamString(S, "");
    S.WriteU32(4);
    for (const char* Text : {"Query1", "", "Gone", "", "Query1.Amount", "", "DM.Query2", "Q2"})
        WriteStreamString(S, QString::fromUtf8(Text));
    S.WriteU32(0);
    S.SetPosition(0);
    Dict->LoadFromStream(S);
    EXPECT_EQ(DescribeDict(Dict->FieldAliases), "Query1=;Query1.Amount=;DM.Query2=Q2");

}

TEST(Dictionary, DisabledDataSets)
{
    struct TRow
    {
        const char* Entry;
        const char* Name;
        bool Enabled;
    };
    const TRow Rows[] = {
        {"Query*", "Query1", false},  {"Query*", "QueryOrders", false}, {"Query*", "MyQuery", true},
        {"Query*", "query2", false},  {"Query1", "QUERY1", false},      {"Query1", "Query10", true},
        {"*", "Anything", false},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TfrDataDictionary Dict;
        Dict.DisabledDataSets.Add(Row.Entry);
        EXPECT_EQ(Dict.IsDataSetEnabled(Row.Name), Row.Enabled);
    }
}

TEST_F(TDictionaryTest, AliasesBothWays)
{
    Dict->BandDataSourceAliases.SetVariable("frDBDataSet1", "单据");
    EXPECT_EQ(Dict->GetRealDataSetName("订单"), "Query1");
    EXPECT_EQ(Dict->GetRealDataSetName("金额"), "Query1.Amount");
    EXPECT_EQ(Dict->GetRealDataSetShortName("金额"), "Amount");
    EXPECT_EQ(Dict->GetRealDataSetName("Other"), "Other");
    EXPECT_EQ(Dict->GetRealDataSourceName("单据"), "frDBDataSet1");
    EXPECT_EQ(Dict->GetAliasName("Query1"), "订单");
    EXPECT_EQ(Dict->GetAliasName("frDBDataSet1"), "单据");
    EXPECT_EQ(Dict->GetAliasName("Query2"), "Query2");
}

TEST_F(TDictionaryTest, NamesResolveToFieldsOnceAndThenFromTheCache)
{
    ASSERT_TRUE(Dict->IsVariable("Total"));
    EXPECT_TRUE(Dict->IsCached("Total"));
    EXPECT_EQ(VarToStr(Value("Total")), "12");
    Query1->Next();
    EXPECT_EQ(VarToStr(Value("Total")), "22");
    EXPECT_EQ(VarToStr(Value("Twice")), "44");
    EXPECT_EQ(VarToStr(Value("Five")), "5");

    // The cache answers until the next preparation clears it.
    Dict->Variables.Delete(Dict->Variables.IndexOf("Total"));
    EXPECT_TRUE(Dict->IsVariable("Total"));
    Dict->ClearCache();
    EXPECT_FALSE(Dict->IsVariable("Total"));

    struct TRow
    {
        const char* Name;
        const char* Value;   // empty: not a variable
    };
    const TRow Rows[] = {
        {"订单.金额", "22"}, {"订单.\"金额\"", "22"}, {"Query1.\"A.B\"", "21"},
        {"DM.Query2.Amount", "10"}, {"Query1.Missing", ""}, {"Nothing", ""},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        const QString Name = QString::fromUtf8(Row.Name);
        EXPECT_EQ(Dict->IsVariable(Name), *Row.Value != 0);
        if (*Row.Value) {
            EXPECT_EQ(VarToStr(Value(Name)), QString::fromLatin1(Row.Value));
        }
    }
    // A dataset that goes away takes its cached names with it.
    Dict->IsVariable("DM.Query2.Amount");
    delete Query2;
    EXPECT_FALSE(Dict->IsCached("DM.Query2.Amount"));
}

TEST_F(TDictionaryTest, VariableThatComesBackToItselfIsUndefined)
{
    Dict->Variables.SetVariable("A", "[B] + 1");
    Dict->Variables.SetVariable("B", "[A] * 2");
    Dict->Variables.SetVariable("C", "[C]");
    for (const char* Name : {"A", "C"}) {
        SCOPED_TRACE(Name);
        try {
            Value(Name);
            FAIL() << "evaluated";
        } catch (const EParserError& E) {
            EXPECT_EQ(E.Message(), QStringLiteral("Undefined symbol \"%1\"").arg(Name));
        }
    }
    // Nothing stays marked after the failure; a script variable wins.
    EXPECT_EQ(VarToStr(Value("Five")), "5");
    frVariables().SetVariable("Five", 9);
    EXPECT_EQ(VarToStr(Value("Five")), "9");
}

TEST_F(TDictionaryTest, ListsForTheDesigner)
{
    TStringList L;
    Dict->GetCategoryList(L);
    EXPECT_EQ(Lines(L), "Sums|Other");
    Dict->GetVariablesList("Sums", L);
    EXPECT_EQ(Lines(L), "Total|Twice");
    Dict->GetVariablesList("None", L);
    EXPECT_EQ(L.Count(), 0);
    // With aliases only datasets with an entry, by alias or (empty) by name;
    // a field by its alias, left out by an empty one, else by name.
    Dict->FieldAliases.SetVariable("DM.Query2", "");
    Dict->GetDataSetList(L);
    EXPECT_EQ(Lines(L), "订单|DM.Query2");
    Dict->FieldAliases.SetVariable("Query1.Name", "");
    Dict->GetFieldList("订单", L);
    EXPECT_EQ(Lines(L), "A.B|金额");
    Dict->FieldAliases.Clear();
    Dict->DisabledDataSets.Add("FormB.*");
    Dict->GetDataSetList(L);
    EXPECT_EQ(Lines(L), "Query1|DM.Query2");
}

TEST(Dictionary, DamagedFilesFailWholeAndNameTheFile)
{
    QTemporaryDir Dir;
    TfrDataDictionary Source;
    Source.Variables.SetVariable(" 单据", "");
    Source.Variables.SetVariable("合计", "[Query1.\"Amount\"] * 2");
    Source.FieldAliases.SetVariable("Query1", "订单");
    Source.BandDataSourceAliases.SetVariable("frDBDataSet1", "明细");
    const QString Good = Dir.filePath("good.frd");
    Source.SaveToFile(Good);
    QFile F(Good);
    ASSERT_TRUE(F.open(QIODevice::ReadOnly));
    const QByteArray Bytes = F.readAll();

    TfrDataDictionary Dict;
    Dict.Variables.SetVariable("Kept", "1");
    const QString Before = DescribeDict(Dict.Variables);
    auto Load = [&](const QByteArray& Data) {
        const QString Path = Dir.filePath("bad.frd");
        QFile Out(Path);
        EXPECT_TRUE(Out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        Out.write(Data);
        Out.close();
        try {
            Dict.LoadFromFile(Path);
            return true;
        } catch (const EReadError& E) {
            EXPECT_TRUE(E.Message().contains(Path));
            EXPECT_EQ(DescribeDict(Dict.Variables), Before);
            return false;
        }
    };
    for (int Length = 0; Length < Bytes.size(); ++Length) {
        SCOPED_TRACE(Length);
        EXPECT_FALSE(Load(Bytes.left(Length)));
    }
    for (int i = 0; i < Bytes.size(); ++i) {
        QByteArray Flipped = Bytes;
        Flipped[i] = char(Flipped[i] ^ 0xFF);
        Load(Flipped);   // may read; must never crash or half-change
        Dict.Variables.Clear();
        Dict.Variables.SetVariable("Kept", "1");
    }
    EXPECT_THROW(Dict.LoadFromFile(Dir.filePath("missing.frd")), EReadError);
    Dict.LoadFromFile(Good);
    EXPECT_EQ(DescribeDict(Dict.Variables), DescribeDict(Source.Variables));
}
