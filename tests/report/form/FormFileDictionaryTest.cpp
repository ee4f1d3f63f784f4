// The dictionary block of a report form in its three generations, and the data
// source a report names.
#include "FormTestUtil.h"

#include "platform/db/MemDataSet.h"
#include "report/engine/FR_DBSet.h"
#include "report/engine/FR_Utils.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace formtest;

namespace {

void Short(TStream& S, const char* Text)
{
    const QByteArray Bytes(Text);
    S.WriteU8(static_cast<uint8_t>(Bytes.size()));
    S.WriteBytes(Bytes);
}

void Entry(TStream& S, uint8_t Kind, int32_t Number, const char* Name, const char* DataSet,
           const char* Field)
{
    S.WriteU8(Kind);
    S.WriteI32(Number);
    Short(S, Name);
    Short(S, DataSet);
    Short(S, Field);
}

} // namespace

TEST(FormFileDictionary, OldestFormBecomesCategoriesAndVariables)
{
    FormVersion = 25;
    TMemoryStream S;
    S.WriteU32(4);
    Entry(S, 1, 0, "Total", "Query1", "Amount");
    Entry(S, 2, 2, "Today", "", "");
    Entry(S, 2, 1, "DS", "frDBDataSet1", "");
    Entry(S, 0, 0, "Unlisted", "", "");
    TStringList Categories;
    Categories.SetStringList({"Sums", " Total", " Today", " Missing", "Other", " DS"});
    WriteStreamStrings(S, Categories);
    S.SetPosition(0);

    TfrDataDictionary Dict;
    Dict.FieldAliases.SetVariable("Query1", Variant("Q"));
    Dict.LoadFromStream(S);
    // Categories get the leading blank, variables lose it; a variable no
    // category lists stays, last; a line naming no variable adds none.
    EXPECT_EQ(DescribeDict(Dict.Variables).toStdString(),
              " Sums=;Total=Query1.\"Amount\";Today=DATE; Other=;DS=frDBDataSet1;Unlisted=");
    EXPECT_EQ(Dict.FieldAliases.Count(), 0);
    EXPECT_EQ(S.Position(), S.Size());
}

TEST(FormFileDictionary, PreviousFormDropsEmptySourceAliases)
{
    TMemoryStream S;
    S.WriteU16(0xFFFF);
    S.WriteU32(0);
    S.WriteU32(0);
    S.WriteU32(2);
    for (const char* Text : {"frDBDataSet1", "", "frDBDataSet2", "Rows"})
        WriteStreamString(S, QString::fromLatin1(Text));
    S.SetPosition(0);
    TfrDataDictionary Dict;
    Dict.LoadFromStream(S);
    EXPECT_EQ(DescribeDict(Dict.BandDataSourceAliases).toStdString(), "frDBDataSet2=Rows");
}

TEST(FormFileDictionary, CountsPastTheEndAreRefusedBeforeAllocating)
{
    for (uint16_t Mark : {uint16_t(0xFFFE), uint16_t(0)}) {
        SCOPED_TRACE(Mark);
        TMemoryStream S;
        if (Mark == 0xFFFE)
            S.WriteU16(Mark);
        S.WriteU32(0x00FFFFF0);
        S.WriteBytes(QByteArray(16, '\0'));
        S.SetPosition(0);
        TfrDataDictionary Dict;
        EXPECT_THROW(Dict.LoadFromStream(S), EReadError);
    }
}

TEST(FormFileDictionary, FileStartsWithTheVersionAndTheCurrentMark)
{
    QTemporaryDir Dir;
    TfrDataDictionary Dict;
    Dict.Variables.SetVariable(" 单据", Variant(""));
    Dict.Variables.SetVariable("Sum", Variant("[Amount]"));
    Dict.DisabledDataSets.Add("Query*");
    const QString File = Dir.filePath("d.frd");
    Dict.SaveToFile(File);
    QFile F(File);
    ASSERT_TRUE(F.open(QIODevice::ReadOnly));
    EXPECT_EQ(F.read(3), QByteArray("\x19\xFE\xFF", 3));
    TfrDataDictionary Back;
    Back.LoadFromFile(File);
    EXPECT_EQ(DescribeDict(Back.Variables), DescribeDict(Dict.Variables));
    // Hidden datasets are not stored.
    EXPECT_EQ(Back.DisabledDataSets.Count(), 0);
}

TEST(FormFileDictionary, ReportForgetsADataSourceThatGoesAway)
{
    TfrReport Report;
    auto* Source = new TfrDBDataSet;
    Source->SetName("frDBDataSet1");
    Report.SetDataset(Source);
    EXPECT_EQ(Report.Dataset(), Source);
    delete Source;
    EXPECT_EQ(Report.Dataset(), nullptr);
}

TEST(FormFileDictionary, DBDataSetWithoutDataSetCannotOpen)
{
    TfrDBDataSet Source;
    Source.SetName("frDBDataSet1");
    try {
        Source.GetDataSet();
        FAIL() << "no dataset named";
    } catch (const EDSError& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("Unable to open dataset frDBDataSet1"));
    }
    // A data source's dataset wins; a destroyed dataset is forgotten.
    auto* Direct = new TMemDataSet;
    TDataSource Link;
    auto* Linked = new TMemDataSet;
    Link.SetDataSet(Linked);
    Source.SetDataSet(Direct);
    EXPECT_EQ(Source.GetDataSet(), Direct);
    Source.SetDataSource(&Link);
    EXPECT_EQ(Source.DataSet(), nullptr);
    EXPECT_EQ(Source.GetDataSet(), Linked);
    delete Linked;
    Source.SetDataSet(Direct);
    delete Direct;
    EXPECT_EQ(Source.DataSet(), nullptr);
}
