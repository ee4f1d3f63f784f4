#include "platform/rtl/IniFiles.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

class IniFilesRegTest : public ::testing::Test
{
protected:
    QTemporaryDir Dir;
    const QString Root = QStringLiteral("Software\\Pagewright\\Tallybridge");
    const QString Designer = QStringLiteral("Form\\TfrDesignerForm");

    void SetUp() override { TRegIniFile::SetStorageFolder(Dir.path()); }
    void TearDown() override { TRegIniFile::SetStorageFolder(QString()); }
};

} // namespace

TEST_F(IniFilesRegTest, MissingValuesGiveDefaults)
{
    TRegIniFile Reg(Root);
    EXPECT_EQ(Reg.ReadString(Designer, "Units", "none"), "none");
    EXPECT_EQ(Reg.ReadInteger(Designer, "GridSize", 4), 4);
    EXPECT_TRUE(Reg.ReadBool(Designer, "GridShow", true));
    EXPECT_FALSE(Reg.ValueExists(Designer, "GridShow"));
    EXPECT_TRUE(Reg.ReadSection(Designer).isEmpty());
}

TEST_F(IniFilesRegTest, ValuesSurviveReopeningAndMatchWithoutRegardToCase)
{
    {
        TRegIniFile Reg(Root);
        Reg.WriteInteger(Designer, "GridSize", 8);
        Reg.WriteBool(Designer, "GridAlign", false);
        Reg.WriteBool(Designer, "GridShow", true);
        Reg.WriteString("ToolBar\\Panel1", "DockName", QString::fromUtf8("停靠, 上"));
        Reg.WriteString(Designer, QString::fromUtf8("字体"), QString::fromUtf8("宋体"));
    }
    EXPECT_TRUE(QFile::exists(Dir.filePath("registry.ini")));
    TRegIniFile Reg("\\" + Root);
    const struct
    {
        const char* Section;
        const char* Ident;
        const char* Expected;
    } Rows[] = {
        {"Form\\TfrDesignerForm", "GridSize", "8"},
        {"form\\tfrdesignerform", "gridsize", "8"},
        {"Form/TfrDesignerForm", "GRIDALIGN", "0"},
        {"Form\\TfrDesignerForm", "GridShow", "1"},
        {"TOOLBAR\\panel1", "dockname", "停靠, 上"},
        {"Form\\TfrDesignerForm", "字体", "宋体"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(std::string(Row.Section) + "/" + Row.Ident);
        EXPECT_EQ(Reg.ReadString(QString::fromUtf8(Row.Section), QString::fromUtf8(Row.Ident), "?"),
                  QString::fromUtf8(Row.Expected));
    }
    EXPECT_EQ(Reg.ReadInteger(Designer, "gridsize", 4), 8);
    EXPECT_FALSE(Reg.ReadBool(Designer, "GridAlign", true));
    EXPECT_TRUE(Reg.ReadBool(Designer, "GridShow", false));

    // Writing with another case replaces the value rather than adding a twin.
    Reg.WriteInteger("FORM\\TFRDESIGNERFORM", "GRIDSIZE", 18);
    EXPECT_EQ(Reg.ReadInteger(Designer, "GridSize", 4), 18);
    EXPECT_EQ(Reg.ReadSection(Designer).size(), 4);
}

TEST_F(IniFilesRegTest, MalformedNumbersGiveTheDefault)
{
    TRegIniFile Reg(Root);
    Reg.WriteString(Designer, "GridSize", "wide");
    Reg.WriteString(Designer, "GridShow", "maybe");
    Reg.WriteString(Designer, "Units", "True");
    EXPECT_EQ(Reg.ReadInteger(Designer, "GridSize", 4), 4);
    EXPECT_TRUE(Reg.ReadBool(Designer, "GridShow", true));
    EXPECT_FALSE(Reg.ReadBool(Designer, "GridShow", false));
    EXPECT_TRUE(Reg.ReadBool(Designer, "Units", false));
}

TEST_F(IniFilesRegTest, EraseSectionAndDeleteKeyStayWithinTheirScope)
{
    TRegIniFile Reg(Root);
    Reg.WriteInteger("Form\\TfrInspForm", "SplitPos", 75);
    Reg.WriteInteger("Form\\TfrInspForm\\Sub", "X", 1);
    Reg.WriteInteger(Designer, "GridSize", 4);
    Reg.WriteInteger(Designer, "Units", 1);
    TRegIniFile Other("Software\\Pagewright\\MRUFont");
    Other.WriteString("", "Font0", "Arial");

    Reg.EraseSection("form\\tfrinspform");
    EXPECT_FALSE(Reg.ValueExists("Form\\TfrInspForm", "SplitPos"));
    EXPECT_FALSE(Reg.ValueExists("Form\\TfrInspForm\\Sub", "X"));
    Reg.DeleteKey(Designer, "UNITS");
    EXPECT_EQ(Reg.ReadSection(Designer), QStringList({"GridSize"}));
    Reg.EraseSection("");
    EXPECT_EQ(Other.ReadString("", "Font0", ""), "Arial");
    EXPECT_FALSE(Reg.ValueExists(Designer, "GridSize"));
}
