// Open and save dialogs: the classic filter text and the answers a user gives.
#include "GuiTestUtil.h"
#include "platform/gui/FileDialogs.h"
#include "platform/gui/ModalSeam.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

struct TFilterRow
{
    const char* Name;
    const char* Filter;
    QStringList Expected;
};

class FileFilterTest : public ::testing::TestWithParam<TFilterRow>
{
};

// The patterns of one name filter, as the dialog lists files by them.
bool Listed(const QString& NameFilter, const QString& File)
{
    const QString Patterns = NameFilter.section(u'(', -1).chopped(1);
    for (const QString& P : Patterns.split(u' '))
        if (QRegularExpression::fromWildcard(P, Qt::CaseSensitive).match(File).hasMatch())
            return true;
    return false;
}

} // namespace

TEST_P(FileFilterTest, ClassicFilterBecomesNameFilters)
{
    EXPECT_EQ(FileFilterToNameFilters(QString::fromUtf8(GetParam().Filter)), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FileFilterTest,
    ::testing::Values(
        TFilterRow{"DescriptionKeepsItsOwnText", "Mdb Files (*.mdb)|*.MDB", {"Mdb Files (*.mdb) (*.[mM][dD][bB])"}},
        TFilterRow{"SeveralPairsAndPatterns", "文本|*.txt;*.CSV|All|*.*",
                   {"文本 (*.[tT][xX][tT] *.[cC][sS][vV])", "All (*.*)"}},
        TFilterRow{"PairWithoutPatternsLeftOut", "Empty||Lone", {}},
        TFilterRow{"OwnSetKept", "Pictures|*.[bB]mp", {"Pictures (*.[bB]mp)"}}),
    [](const ::testing::TestParamInfo<TFilterRow>& Info) { return std::string(Info.param.Name); });

TEST(FileFilter, PatternListsFilesInAnyLetterCase)
{
    const QString Filter = FileFilterToNameFilters(QStringLiteral("Mdb Files (*.mdb)|*.MDB")).front();
    for (const char* File : {"a.mdb", "B.MDB", "备份.Mdb"})
        EXPECT_TRUE(Listed(Filter, QString::fromUtf8(File))) << File;
    for (const char* File : {"a.mdbx", "a.mdb.txt", "mdb"})
        EXPECT_FALSE(Listed(Filter, QString::fromUtf8(File))) << File;
}

namespace {

struct TAnswerRow
{
    const char* Name;
    bool Save;
    const char* Answer; // empty: Cancel
    bool Chosen;
    const char* FileName;
};

class FileDialogAnswerTest : public ::testing::TestWithParam<TAnswerRow>
{
};

} // namespace

TEST_P(FileDialogAnswerTest, ExecuteTakesTheAnswer)
{
    const TAnswerRow& Row = GetParam();
    TSaveDialog Save;
    TOpenDialog Open;
    TOpenDialog& Dialog = Row.Save ? Save : Open;
    Dialog.SetFileName(QStringLiteral("proposed.mdb"));
    Dialog.SetInitialDir(QStringLiteral("/data/备份"));
    Dialog.SetDefaultExt(QStringLiteral(".mdb"));
    Dialog.SetFilter(QStringLiteral("Mdb Files (*.mdb)|*.MDB"));
    TFileRequest Asked;
    TModalHandlers Handlers(nullptr, nullptr, [&](const TFileRequest& R) {
        Asked = R;
        return QString::fromUtf8(Row.Answer);
    });
    EXPECT_EQ(Dialog.Execute(), Row.Chosen);
    EXPECT_EQ(Dialog.FileName(), QString::fromUtf8(Row.FileName));
    EXPECT_EQ(Asked.Save, Row.Save);
    EXPECT_EQ(Asked.FileName + u'|' + Asked.InitialDir + u'|' + Asked.DefaultExt,
              QStringLiteral("proposed.mdb|/data/备份|mdb"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FileDialogAnswerTest,
    ::testing::Values(
        TAnswerRow{"SaveFullPath", true, "/tmp/x/备份.mdb", true, "/tmp/x/备份.mdb"},
        TAnswerRow{"DefaultExtensionAdded", true, "/tmp/x/备份", true, "/tmp/x/备份.mdb"},
        TAnswerRow{"OtherExtensionKept", false, "/tmp/x/old.MDB", true, "/tmp/x/old.MDB"},
        TAnswerRow{"RelativeNameInInitialFolder", false, "sub/old", true, "/data/备份/sub/old.mdb"},
        TAnswerRow{"CancelKeepsFileName", false, "", false, "proposed.mdb"}),
    [](const ::testing::TestParamInfo<TAnswerRow>& Info) { return std::string(Info.param.Name); });

TEST(FileDialog, HeadlessWithoutHandlerCancels)
{
    TOpenDialog Dialog;
    TModalHandlers Handlers(nullptr, nullptr);
    EXPECT_FALSE(Dialog.Execute());
}
