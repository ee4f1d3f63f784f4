// Damaged, foreign and protected forms: each fails cleanly with the program's
// message and leaves a usable report; every truncated prefix and random byte
// flips of the golden files load without a crash, hang or large allocation.
#include "FormTestUtil.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <random>

using namespace formtest;

namespace {

const QString Unsupported = QStringLiteral("Error:Unsupported FRF format");

const char* const AllGolden[] = {"v21.frf", "v22.frf", "v23.frf", "v24.frf", "v25.frf",
                                 "memo.frf", "band.frf", "picture.frf", "subreport.frf",
                                 "line.frf", "dialog.frf", "addin.frf", "framed.frf",
                                 "badpage.frf", "password.frf", "printer.frf", "noversion.frf"};

// A report that went through a failed load must still be one a user can work
// with: pages with their views, a complete information block, and a save.
void ExpectUsable(TfrReport& Report)
{
    EXPECT_GE(Report.Pages()->Count(), 1);
    EXPECT_EQ(Report.ReportMark, u'X');
    TMemoryStream Out;
    Report.SaveToStream(Out);
    Out.SetPosition(0);
    TfrReport Again;
    EXPECT_TRUE(Again.LoadFromStream(Out));
}

bool LoadBytes(TfrReport& Report, const QByteArray& Bytes)
{
    TMemoryStream Stream(Bytes);
    return Report.LoadFromStream(Stream);
}

} // namespace

TEST(FormFileFault, UnsupportedVersionLeavesOneEmptyPage)
{
    TMessageRecorder Recorder;
    TfrReport Report;
    ASSERT_TRUE(Report.LoadFromFile(Golden("v25.frf")));
    EXPECT_FALSE(Report.LoadFromFile(Golden("version26.frf")));
    EXPECT_EQ(Recorder.Messages, QStringList{Unsupported});
    ASSERT_EQ(Report.Pages()->Count(), 1);
    EXPECT_EQ(Report.Pages()->Pages(0)->Count(), 0);
    EXPECT_EQ(Report.ReportName, QString());
    // The file name stays the one of the last good form.
    EXPECT_EQ(Report.FileName(), Golden("v25.frf"));
}

TEST(FormFileFault, UnknownMarkerIsUnsupported)
{
    TMessageRecorder Recorder;
    QByteArray Bytes = ReadGolden("line.frf");
    const int DictAt = Bytes.indexOf(QByteArray("\xFE\xFE\xFF", 3));
    ASSERT_GT(DictAt, 0);
    Bytes[DictAt] = char(100);
    TfrReport Report;
    EXPECT_FALSE(LoadBytes(Report, Bytes));
    EXPECT_EQ(Recorder.Messages, QStringList{Unsupported});
    EXPECT_EQ(Report.Pages()->Count(), 1);
    ExpectUsable(Report);
}

TEST(FormFileFault, EndOffsetOutsideTheStreamIsDamage)
{
    // Line record of line.frf: type 4, page 0, then the end offset.
    struct TRow { const char* Name; uint32_t Offset; };
    for (const TRow& Row : {TRow{"past the end", 0x7FFFFFF0u}, TRow{"backwards", 3u}}) {
        SCOPED_TRACE(Row.Name);
        TMessageRecorder Recorder;
        QByteArray Bytes = ReadGolden("line.frf");
        const int DictAt = Bytes.indexOf(QByteArray("\xFE\xFE\xFF", 3));
        QByteArray Record("\x04\x00", 2);
        for (int k = 0; k < 4; ++k)
            Record.append(char((DictAt >> (8 * k)) & 0xFF));
        const int At = Bytes.indexOf(Record);
        ASSERT_GT(At, 0);
        for (int k = 0; k < 4; ++k)
            Bytes[At + 2 + k] = char((Row.Offset >> (8 * k)) & 0xFF);
        TfrReport Report;
        EXPECT_FALSE(LoadBytes(Report, Bytes));
        EXPECT_EQ(Recorder.Messages, QStringList{Unsupported});
        ExpectUsable(Report);
    }
}

TEST(FormFileFault, PasswordIsAskedForFilesOnly)
{
    struct TRow { const char* Name; bool Answer; const char* Password; bool Loads; };
    const TRow Rows[] = {
        {"right password", true, "abc", true},
        {"wrong password", true, "abd", false},
        {"case matters", true, "ABC", false},
        {"cancelled", false, "abc", false},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TMessageRecorder Recorder;
        Recorder.AnswerPassword = Row.Answer;
        Recorder.Password = QString::fromLatin1(Row.Password);
        TfrReport Report;
        EXPECT_EQ(Report.LoadFromFile(Golden("password.frf")), Row.Loads);
        EXPECT_EQ(Recorder.PasswordAsked, 1);
        if (Row.Loads) {
            EXPECT_EQ(Report.ReportPassword, QStringLiteral("abc"));
            EXPECT_TRUE(Report.ReportPasswordProtected);
            EXPECT_EQ(Report.Pages()->Pages(0)->Count(), 1);
        } else {
            EXPECT_EQ(Report.FileName(), QStringLiteral("Untitled"));
            ASSERT_EQ(Report.Pages()->Count(), 1);
            EXPECT_EQ(Report.Pages()->Pages(0)->Count(), 0);
            EXPECT_FALSE(Report.ReportPasswordProtected);
            EXPECT_EQ(Report.ReportPassword, QString());
            EXPECT_EQ(Report.ReportName, QString());
        }
    }
    // Copies kept in memory are not asked.
    TMessageRecorder Recorder;
    TfrReport Report;
    EXPECT_TRUE(LoadBytes(Report, ReadGolden("password.frf")));
    EXPECT_EQ(Recorder.PasswordAsked, 0);
    EXPECT_EQ(Report.ReportPassword, QStringLiteral("abc"));
}

TEST(FormFileFault, PasswordIsStoredAsUpperCaseHex)
{
    TfrReport Report;
    Report.ReportPassword = QStringLiteral("a1");
    TMemoryStream Out;
    Report.SaveToStream(Out);
    // ... length 4, "6131", mark, protection, two dates.
    const QByteArray Tail = Out.Data().right(2 + 4 + 1 + 1 + 16);
    EXPECT_EQ(Tail.left(8), QByteArray("\x04\x00" "6131X\x00", 8));
    // Lower-case digits are read too.
    QByteArray Bytes = Out.Data();
    Bytes.replace(Bytes.size() - 22, 4, "6a31");
    TfrReport Again;
    ASSERT_TRUE(LoadBytes(Again, Bytes));
    EXPECT_EQ(Again.ReportPassword, QStringLiteral("j1"));
}

TEST(FormFileFault, MissingFileChangesNothing)
{
    TfrReport Report;
    ASSERT_TRUE(Report.LoadFromFile(Golden("memo.frf")));
    EXPECT_FALSE(Report.LoadFromFile(Golden("no-such-file.frf")));
    EXPECT_EQ(Report.Pages()->Pages(0)->Count(), 1);
    EXPECT_EQ(Report.FileName(), Golden("memo.frf"));
}

TEST(FormFileFault, EmptyStreamLeavesTheReportUnchanged)
{
    TfrReport Report;
    ASSERT_TRUE(Report.LoadFromFile(Golden("memo.frf")));
    EXPECT_TRUE(LoadBytes(Report, QByteArray()));
    EXPECT_EQ(Report.Pages()->Pages(0)->Count(), 1);
}

TEST(FormFileFault, SavingRefusesWhatTheFormatCannotHold)
{
    TMessageRecorder Recorder;
    QTemporaryDir Dir;
    const QString File = Dir.filePath("kept.frf");
    {
        TfrReport Good;
        Good.LoadFromFile(Golden("memo.frf"));
        Good.SaveToFile(File);
    }
    const QByteArray Before = [&] { QFile F(File); F.open(QIODevice::ReadOnly); return F.readAll(); }();

    TfrReport TooManyPages;
    for (int i = 0; i < 257; ++i)
        TooManyPages.Pages()->Add();
    EXPECT_THROW(TooManyPages.SaveToFile(File), EWriteError);

    TfrReport LongComment;
    LongComment.Pages()->Add();
    LongComment.ReportComment = QString(40000, QChar(0x4E2D));   // 80,000 GBK bytes
    EXPECT_THROW(LongComment.SaveToFile(File), EWriteError);

    // A refused save leaves the file as it was.
    QFile After(File);
    ASSERT_TRUE(After.open(QIODevice::ReadOnly));
    EXPECT_EQ(After.readAll(), Before);

    TfrReport Exactly256;
    for (int i = 0; i < 256; ++i)
        Exactly256.Pages()->Add();
    TMemoryStream Out;
    EXPECT_NO_THROW(Exactly256.SaveToStream(Out));
}

TEST(FormFileFault, EveryTruncatedPrefixLoadsCleanly)
{
    // A prefix either reads as a shorter form, which then saves and reads back
    // the same, or fails with the one message and one empty page.
    for (const char* File : AllGolden) {
        SCOPED_TRACE(File);
        const QByteArray Bytes = ReadGolden(File);
        ASSERT_FALSE(Bytes.isEmpty());
        for (qsizetype n = 1; n < Bytes.size(); ++n) {
            SCOPED_TRACE(n);
            TMessageRecorder Recorder;
            TfrReport Report;
            if (!LoadBytes(Report, Bytes.left(n))) {
                EXPECT_EQ(Recorder.Messages, QStringList{Unsupported});
                ASSERT_EQ(Report.Pages()->Count(), 1);
                EXPECT_EQ(Report.Pages()->Pages(0)->Count(), 0);
                continue;
            }
            for (const QString& Message : Recorder.Messages)
                EXPECT_TRUE(Message.startsWith(QStringLiteral("Error:Report contains the following non-plugged")))
                    << Message.toStdString();
            TMemoryStream Out;
            Report.SaveToStream(Out);
            Out.SetPosition(0);
            TfrReport Again;
            ASSERT_TRUE(Again.LoadFromStream(Out));
            EXPECT_EQ(Describe(Again), Describe(Report));
        }
    }
}

TEST(FormFileFault, RandomByteFlipsLoadCleanly)
{
    std::mt19937 Random(20261209);
    for (const char* File : AllGolden) {
        SCOPED_TRACE(File);
        const QByteArray Bytes = ReadGolden(File);
        std::uniform_int_distribution<int> Pos(0, static_cast<int>(Bytes.size()) - 1);
        std::uniform_int_distribution<int> Value(0, 255);
        for (int Round = 0; Round < 300; ++Round) {
            QByteArray Damaged = Bytes;
            const int Flips = 1 + Round % 4;
            for (int k = 0; k < Flips; ++k)
                Damaged[Pos(Random)] = static_cast<char>(Value(Random));
            TMessageRecorder Recorder;
            TfrReport Report;
            LoadBytes(Report, Damaged);
            TMemoryStream Out;
            // Whatever was read can be written again unless a text is too long.
            try {
                Report.SaveToStream(Out);
            } catch (const EWriteError&) {
            }
        }
    }
}
