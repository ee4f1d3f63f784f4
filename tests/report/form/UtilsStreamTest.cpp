// Stream strings and string lists in both generations, and the byte, word and
// integer helpers: exact bytes, bounds and refusals.
#include "ViewTestBytes.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Utils.h"

#include <gtest/gtest.h>

using viewtest::TBytes;

namespace {

QString Joined(const TStrings& List)
{
    return List.ToStringList().join(u'|');
}

QByteArray Written(const std::function<void(TStream&)>& Write)
{
    TMemoryStream Stream;
    Write(Stream);
    return Stream.Data();
}

// Restores the engine-wide version after a test changes it.
class TFormVersionGuard
{
public:
    explicit TFormVersionGuard(uint8_t Version) : FSaved(FormVersion) { FormVersion = Version; }
    ~TFormVersionGuard() { FormVersion = FSaved; }

private:
    uint8_t FSaved;
};

TEST(UtilsStream, StringFormMatchesLayout)
{
    struct TRow
    {
        const char* Name;
        QString Text;
        QByteArray Bytes;
    };
    const QList<TRow> Rows = {
        {"empty", QString(), QByteArray("\x00\x00\x00", 3)},
        {"ascii", QStringLiteral("ab"), QByteArray("\x02\x00" "ab" "\x00", 5)},
        {"gbk", QStringLiteral("合计"), TBytes().U16(4).Raw(ToGbk(QStringLiteral("合计"))).U8(0)},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        EXPECT_EQ(Written([&](TStream& S) { WriteStreamString(S, Row.Text); }), Row.Bytes);
        TMemoryStream In(Row.Bytes);
        EXPECT_EQ(ReadStreamString(In), Row.Text);
        EXPECT_EQ(In.Position(), Row.Bytes.size());
    }
}

TEST(UtilsStream, StringListFormMatchesLayout)
{
    struct TRow
    {
        const char* Name;
        QStringList Lines;
        QByteArray Bytes;
    };
    const QList<TRow> Rows = {
        {"empty", {}, QByteArray("\x00\x00\x00", 3)},
        {"two lines", {"a", "b"}, QByteArray("\x02\x00\x01\x00" "a" "\x0D\x01\x00" "b" "\x00", 10)},
        {"one empty line", {""}, QByteArray("\x01\x00\x00\x00\x00", 5)},
        {"chinese", {QStringLiteral("单价"), QString()},
         TBytes().U16(2).U16(4).Raw(ToGbk(QStringLiteral("单价"))).U8(13).U16(0).U8(0)},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TStringList List(Row.Lines);
        EXPECT_EQ(Written([&](TStream& S) { WriteStreamStrings(S, List); }), Row.Bytes);
        TMemoryStream In(Row.Bytes);
        TStringList Back(QStringList{"stale"});
        ReadStreamStrings(In, Back);
        EXPECT_EQ(Back.ToStringList(), Row.Lines);
        EXPECT_EQ(In.Position(), Row.Bytes.size());
    }
}

TEST(UtilsStream, ListReaderFollowsTerminatorsNotCount)
{
    // The count only says whether there is any line.
    TMemoryStream In(TBytes().U16(7).U16(1).Raw("x").U8(13).U16(1).Raw("y").U8(0).U8(0x55));
    TStringList List;
    ReadStreamStrings(In, List);
    EXPECT_EQ(Joined(List), u"x|y");
    EXPECT_EQ(In.Position(), 10);
}

TEST(UtilsStream, OldFormsReadUpToZero)
{
    struct TRow
    {
        const char* Name;
        QByteArray Bytes;
        QString Lines;
        int Count;
    };
    const QList<TRow> Rows = {
        {"empty", QByteArray("\x00", 1), "", 0},
        {"one line", QByteArray("ab\x00", 3), "ab", 1},
        {"two lines", QByteArray("a\x0D" "b\x00", 4), "a|b", 2},
        {"ends with 13", QByteArray("ab\x0D\x00", 4), "ab|", 2},
        {"only 13", QByteArray("\x0D\x00", 2), "|", 2},
        {"cr lf pairs", QByteArray("a\x0D\x0A" "b\x00", 5), "a|b", 2},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TMemoryStream In(Row.Bytes + QByteArray("tail"));
        TStringList List;
        ReadOldStrings(In, List);
        EXPECT_EQ(Joined(List), Row.Lines);
        EXPECT_EQ(List.Count(), Row.Count);
        EXPECT_EQ(In.Position(), Row.Bytes.size());
    }
    TMemoryStream In(TBytes().OldStr(QStringLiteral("合计")).Raw("rest"));
    EXPECT_EQ(ReadOldString(In), QStringLiteral("合计"));
    EXPECT_EQ(In.Remaining(), 4);
}

TEST(UtilsStream, LongOldStringCrossesReadChunks)
{
    const QByteArray Text(10000, 'q');
    TMemoryStream In(Text + QByteArray(1, '\0') + QByteArray("z"));
    EXPECT_EQ(ReadOldString(In).size(), 10000);
    EXPECT_EQ(In.Remaining(), 1);
}

TEST(UtilsStream, FormVersionChoosesGeneration)
{
    const QByteArray Old = TBytes().OldStr("abc").OldList({"l1", "l2"});
    const QByteArray New = TBytes().Str("abc").List({"l1", "l2"});
    for (uint8_t Version : {21, 22, 23, 24, 25}) {
        SCOPED_TRACE(Version);
        TFormVersionGuard Guard(Version);
        TMemoryStream In(Version < 23 ? Old : New);
        EXPECT_EQ(frReadString(In), u"abc");
        TStringList List;
        frReadMemo(In, List);
        EXPECT_EQ(Joined(List), u"l1|l2");
        EXPECT_EQ(In.Remaining(), 0);
    }
}

TEST(UtilsStream, EveryTruncatedPrefixRaises)
{
    const QList<std::pair<const char*, QByteArray>> Samples = {
        {"string", TBytes().Str(QStringLiteral("名称"))},
        {"list", TBytes().List({"a", QStringLiteral("金额"), ""})},
        {"empty list", TBytes().List({})},
        {"old string", TBytes().OldStr("abc")},
        {"old list", TBytes().OldList({"a", "b"})},
    };
    for (const auto& [Name, Bytes] : Samples)
        for (int Cut = 0; Cut < Bytes.size(); ++Cut) {
            SCOPED_TRACE(QStringLiteral("%1 cut at %2").arg(Name).arg(Cut).toStdString());
            TMemoryStream In(Bytes.left(Cut));
            TStringList List;
            const QString Kind = QString::fromLatin1(Name);
            if (Kind == u"string")
                EXPECT_THROW(ReadStreamString(In), EReadError);
            else if (Kind.endsWith(u"list") && !Kind.startsWith(u"old"))
                EXPECT_THROW(ReadStreamStrings(In, List), EReadError);
            else if (Kind == u"old string")
                EXPECT_THROW(ReadOldString(In), EReadError);
            else
                EXPECT_THROW(ReadOldStrings(In, List), EReadError);
        }
}

TEST(UtilsStream, LengthPastEndRaisesBeforeAllocating)
{
    // 65535 announced, three bytes present: a damaged file, not a 64 KB read.
    TMemoryStream In(TBytes().U16(0xFFFF).Raw("abc"));
    EXPECT_THROW(ReadStreamString(In), EReadError);
    TMemoryStream InList(TBytes().U16(1).U16(0xFFFF).Raw("abc"));
    TStringList List;
    EXPECT_THROW(ReadStreamStrings(InList, List), EReadError);
}

TEST(UtilsStream, TextsBeyondTwoByteLengthAreRefused)
{
    struct TRow
    {
        const char* Name;
        QString Text;
        bool Fits;
    };
    const QList<TRow> Rows = {
        {"65535 ascii bytes", QString(0xFFFF, u'a'), true},
        {"65536 ascii bytes", QString(0x10000, u'a'), false},
        {"32767 chinese", QString(32767, QChar(0x5408)), true},
        {"32768 chinese make 65536 bytes", QString(32768, QChar(0x5408)), false},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TMemoryStream Out;
        if (Row.Fits) {
            WriteStreamString(Out, Row.Text);
            Out.SetPosition(0);
            EXPECT_EQ(ReadStreamString(Out), Row.Text);
        } else {
            EXPECT_THROW(WriteStreamString(Out, Row.Text), EWriteError);
            TStringList List(QStringList{"short", Row.Text});
            EXPECT_THROW(WriteStreamStrings(Out, List), EWriteError);
            EXPECT_EQ(Out.Size(), 0) << "nothing half-written";
        }
    }
}

TEST(UtilsStream, MoreLinesThanTheCountHoldsStillReadBack)
{
    // A count of 65536 would wrap to 0 and read as an empty list.
    TStringList List;
    for (int i = 0; i < 0x10000; ++i)
        List.Add(QString());
    TMemoryStream Out;
    WriteStreamStrings(Out, List);
    Out.SetPosition(0);
    EXPECT_EQ(Out.ReadU16(), 0xFFFF);
    Out.SetPosition(0);
    TStringList Back;
    ReadStreamStrings(Out, Back);
    EXPECT_EQ(Back.Count(), 0x10000);
    EXPECT_EQ(Out.Remaining(), 0);
}

TEST(UtilsStream, NumbersAreLittleEndian)
{
    const QByteArray Bytes = Written([](TStream& S) {
        WriteStreamByte(S, 0xAB);
        WriteStreamWord(S, 0x1234);
        WriteStreamInteger(S, -2);
    });
    EXPECT_EQ(Bytes, QByteArray("\xAB\x34\x12\xFE\xFF\xFF\xFF", 7));
    TMemoryStream In(Bytes);
    EXPECT_EQ(ReadStreamByte(In), 0xAB);
    EXPECT_EQ(ReadStreamWord(In), 0x1234);
    EXPECT_EQ(ReadStreamInteger(In), -2);
    EXPECT_THROW(ReadStreamByte(In), EReadError);
}

} // namespace
