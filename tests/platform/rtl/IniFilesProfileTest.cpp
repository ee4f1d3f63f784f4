#include "platform/rtl/IniFiles.h"
#include "TestText.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class IniFilesProfileTest : public ::testing::Test
{
protected:
    QTemporaryDir Dir;
    QString Name = Dir.filePath("Tallybridge.ini");

    void Put(const QByteArray& Bytes)
    {
        QFile F(Name);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write(Bytes);
    }

    QByteArray Bytes() const
    {
        QFile F(Name);
        return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
    }

    QString Read(const char* Section, const char* Key, const char* Default = "dflt") const
    {
        return GetPrivateProfileString(U(Section), U(Key), U(Default), Name);
    }
};

const QByteArray Sample = "; settings of the shop\r\n"
                          "[Database]\r\n"
                          "Path = C:\\Shop\\Tallybridge.mdb \r\n"
                          "  Password=\"s e c\"\r\n"
                          "Single='x'\r\n"
                          "Half=\"open\r\n"
                          "NoEquals\r\n"
                          ";Hidden=1\r\n"
                          "\r\n"
                          "[ 打印 ]\r\n"
                          "打印机=LQ-1600K\r\n"
                          "Copies=3 copies\r\n";

} // namespace

TEST_F(IniFilesProfileTest, ReadsValuesTheClassicWay)
{
    Put(Sample);
    const struct
    {
        const char* Section;
        const char* Key;
        const char* Expected;
    } Rows[] = {
        {"Database", "Path", "C:\\Shop\\Tallybridge.mdb"},
        {"DATABASE", "path", "C:\\Shop\\Tallybridge.mdb"},
        {" database ", " PATH ", "C:\\Shop\\Tallybridge.mdb"},
        {"Database", "Password", "s e c"},
        {"Database", "Single", "x"},
        {"Database", "Half", "\"open"},
        {"Database", "NoEquals", "dflt"},
        {"Database", ";Hidden", "dflt"},
        {"Database", "Hidden", "dflt"},
        {"Database", "Missing", "dflt"},
        {"Missing", "Path", "dflt"},
        {"打印", "打印机", "LQ-1600K"},
        {"打印", "Copies", "3 copies"},
        {"Database", "打印机", "dflt"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(std::string(Row.Section) + "/" + Row.Key);
        EXPECT_EQ(Read(Row.Section, Row.Key), U(Row.Expected));
    }
    EXPECT_EQ(GetPrivateProfileInt(U("打印"), U("copies"), 1, Name), 3);
    EXPECT_EQ(GetPrivateProfileInt(U("Database"), U("Path"), 7, Name), 7);
}

TEST_F(IniFilesProfileTest, MissingFileGivesTheDefault)
{
    EXPECT_EQ(Read("A", "B", "fallback  "), "fallback");
    EXPECT_TRUE(GetPrivateProfileSectionNames(Name).isEmpty());
    EXPECT_FALSE(QFile::exists(Name));
}

TEST_F(IniFilesProfileTest, NonAsciiNamesMatchWithoutRegardToCase)
{
    Put(U("[Ärger]\nÉcole=1\n").toUtf8());
    EXPECT_EQ(Read("ärger", "école"), "1");
}

TEST_F(IniFilesProfileTest, ReplacesInPlaceAndKeepsEveryOtherLine)
{
    Put(Sample);
    ASSERT_TRUE(WritePrivateProfileString(U("DATABASE"), U("path"), U("D:\\new.mdb"), Name));
    QByteArray Expected = Sample;
    Expected.replace("Path = C:\\Shop\\Tallybridge.mdb \r\n", "Path = D:\\new.mdb\r\n");
    EXPECT_EQ(Bytes(), Expected);

    ASSERT_TRUE(WritePrivateProfileString(U("打印"), U("打印机"), U("针式"), Name));
    EXPECT_EQ(Read("打印", "打印机"), U("针式"));
    EXPECT_TRUE(Bytes().endsWith(U("打印机=针式\r\nCopies=3 copies\r\n").toUtf8()));
}

TEST_F(IniFilesProfileTest, NewKeyGoesAfterTheLastKeyOfItsSection)
{
    Put("[A]\nx=1\n; note\n\n[B]\ny=2");
    ASSERT_TRUE(WritePrivateProfileString("a", "z", "3", Name));
    ASSERT_TRUE(WritePrivateProfileString("B", "w", "4", Name));
    EXPECT_EQ(Bytes(), QByteArray("[A]\nx=1\nz=3\n; note\n\n[B]\ny=2\nw=4\n"));
}

TEST_F(IniFilesProfileTest, NewSectionIsAppendedAfterABlankLine)
{
    const struct
    {
        const char* Name;
        QByteArray Before;
        QByteArray After;
    } Rows[] = {
        {"no file", QByteArray(), "[新]\r\n键=值\r\n"},
        {"crlf file", "[A]\r\nx=1\r\n", "[A]\r\nx=1\r\n\r\n[新]\r\n键=值\r\n"},
        {"lf file without final break", "[A]\nx=1", "[A]\nx=1\n\n[新]\n键=值\n"},
        {"ends with a blank line", "[A]\nx=1\n\n", "[A]\nx=1\n\n[新]\n键=值\n"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        QFile::remove(Name);
        if (!Row.Before.isNull())
            Put(Row.Before);
        ASSERT_TRUE(WritePrivateProfileString(U("新"), U("键"), U("值"), Name));
        EXPECT_EQ(QString::fromUtf8(Bytes()), QString::fromUtf8(Row.After));
        EXPECT_EQ(Read("新", "键"), U("值"));
    }
}

TEST_F(IniFilesProfileTest, ByteOrderMarkIsReadAndKept)
{
    Put("\xEF\xBB\xBF[S]\r\nk=v\r\n");
    EXPECT_EQ(Read("S", "k"), "v");
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "w", Name));
    EXPECT_EQ(Bytes(), QByteArray("\xEF\xBB\xBF[S]\r\nk=w\r\n"));
}

TEST_F(IniFilesProfileTest, OlderGbkFileIsReadAndRewrittenAsUtf8)
{
    Put("[\xb4\xf2\xd3\xa1]\r\nk=\xd6\xd0\r\n");
    EXPECT_EQ(Read("打印", "k"), U("中"));
    ASSERT_TRUE(WritePrivateProfileString(U("打印"), "j", "1", Name));
    EXPECT_EQ(QString::fromUtf8(Bytes()), U("[打印]\r\nk=中\r\nj=1\r\n"));
}

TEST_F(IniFilesProfileTest, RefusesNamesAndValuesThatWouldNotReadBack)
{
    Put("[S]\r\nk=v\r\n");
    const struct
    {
        const char* Name;
        const char* Section;
        const char* Key;
        const char* Value;
    } Rows[] = {
        {"line break in value", "S", "k", "a\r\n[Other]"},
        {"line break in key", "S", "a\nb", "1"},
        {"equals in key", "S", "a=b", "1"},
        {"empty key", "S", " ", "1"},
        {"bracket in section", "S]x", "k", "1"},
        {"empty section", "", "k", "1"},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        EXPECT_FALSE(WritePrivateProfileString(U(Row.Section), U(Row.Key), U(Row.Value), Name));
        EXPECT_EQ(Bytes(), QByteArray("[S]\r\nk=v\r\n"));
    }
}

TEST_F(IniFilesProfileTest, UnwritableFolderReportsFailure)
{
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "v", Dir.filePath("no/such/dir/x.ini")));
}

TEST_F(IniFilesProfileTest, DeletesKeysAndSections)
{
    Put("[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n[a]\r\nq=4\r\n");
    EXPECT_TRUE(DeletePrivateProfileKey("a", "X", Name));
    EXPECT_EQ(Bytes(), QByteArray("[A]\r\ny=2\r\n\r\n[B]\r\nz=3\r\n[a]\r\nq=4\r\n"));
    EXPECT_TRUE(DeletePrivateProfileKey("A", "absent", Name));
    EXPECT_EQ(GetPrivateProfileSectionNames(Name), QStringList({"A", "B"}));
    EXPECT_EQ(GetPrivateProfileKeys("A", Name), QStringList({"y", "q"}));
    EXPECT_TRUE(DeletePrivateProfileSection("A", Name));
    EXPECT_EQ(Bytes(), QByteArray("[B]\r\nz=3\r\n"));
}

TEST_F(IniFilesProfileTest, EmptyValueIsWrittenAndReadAsEmpty)
{
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "", Name));
    EXPECT_EQ(Read("S", "k"), "");
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "  padded  ", Name));
    EXPECT_EQ(Read("S", "k"), "padded");
}
