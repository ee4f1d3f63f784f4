// The tool that delivers a new database: a path makes one, an option makes none.
#include "TestText.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(NewDatabaseTool, AnArgumentBeginningWithADashIsNoFileName)
{
    const QTemporaryDir Dir;
    const struct
    {
        const char* Argument;
        int Exit;
        bool Usage;        // the usage is printed
        const char* Files; // the folder afterwards
    } Rows[] = {
        {"--help", 0, true, ""},
        {"-h", 0, true, ""},
        {"-x", 2, true, ""},
        {"-", 2, true, ""},
        {"账本.mdb", 0, false, "账本.mdb"},
        {"账本.mdb", 1, false, "账本.mdb"}, // never overwritten
    };
    for (const auto& Row : Rows) {
        QProcess Tool;
        Tool.setWorkingDirectory(Dir.path());
        Tool.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tallybridge-newdb"), {U(Row.Argument)});
        ASSERT_TRUE(Tool.waitForFinished(30000)) << Row.Argument;
        EXPECT_EQ(Tool.exitCode(), Row.Exit) << Row.Argument;
        const QString Said = QString::fromUtf8(Tool.readAllStandardOutput() + Tool.readAllStandardError());
        EXPECT_EQ(Said.contains(QStringLiteral("usage: tallybridge-newdb PATH")), Row.Usage) << Row.Argument << ": " << U8(Said);
        EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden).join(u','), U(Row.Files)) << Row.Argument;
    }
}
