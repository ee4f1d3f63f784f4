#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <functional>
#include <limits>

namespace {

struct TWidthRow
{
    const char* Name;
    int Bytes;
    std::function<void(TStream&)> Read;
};

const TWidthRow WidthRows[] = {
    {"U8", 1, [](TStream& S) { S.ReadU8(); }},
    {"I8", 1, [](TStream& S) { S.ReadI8(); }},
    {"U16", 2, [](TStream& S) { S.ReadU16(); }},
    {"I16", 2, [](TStream& S) { S.ReadI16(); }},
    {"U32", 4, [](TStream& S) { S.ReadU32(); }},
    {"I32", 4, [](TStream& S) { S.ReadI32(); }},
    {"I64", 8, [](TStream& S) { S.ReadI64(); }},
    {"F32", 4, [](TStream& S) { S.ReadF32(); }},
    {"F64", 8, [](TStream& S) { S.ReadF64(); }},
};

} // namespace

TEST(StreamsTest, ShortReadOfEveryWidthRaises)
{
    for (const TWidthRow& Row : WidthRows) {
        for (int Have = 0; Have < Row.Bytes; ++Have) {
            SCOPED_TRACE(std::string(Row.Name) + " with " + std::to_string(Have) + " bytes");
            TMemoryStream S(QByteArray(Have, '\x7f'));
            try {
                Row.Read(S);
                FAIL() << "no exception";
            } catch (const EReadError& E) {
                EXPECT_EQ(E.Message(), "Stream read error");
            }
        }
        SCOPED_TRACE(Row.Name);
        TMemoryStream Exact(QByteArray(Row.Bytes, '\x01'));
        EXPECT_NO_THROW(Row.Read(Exact));
        EXPECT_EQ(Exact.Position(), Row.Bytes);
    }
}

TEST(StreamsTest, RoundTripOfEveryWidthIsLittleEndian)
{
    TMemoryStream S;
    S.WriteU8(0xFE);
    S.WriteI8(-2);
    S.WriteU16(0xBEEF);
    S.WriteI16(-12345);
    S.WriteU32(0xDEADBEEF);
    S.WriteI32(std::numeric_limits<int32_t>::min());
    S.WriteI64(-1234567890123456789LL);
    S.WriteF32(-1.5f);
    S.WriteF64(-0.1);
    S.WriteF64(std::numeric_limits<double>::infinity());
    S.WriteBytes("xyz");
    EXPECT_EQ(S.Data().left(4).toHex(), "fefeefbe");
    EXPECT_EQ(S.Data().mid(6, 4).toHex(), "efbeadde");

    S.SetPosition(0);
    EXPECT_EQ(S.ReadU8(), 0xFE);
    EXPECT_EQ(S.ReadI8(), -2);
    EXPECT_EQ(S.ReadU16(), 0xBEEF);
    EXPECT_EQ(S.ReadI16(), -12345);
    EXPECT_EQ(S.ReadU32(), 0xDEADBEEFu);
    EXPECT_EQ(S.ReadI32(), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(S.ReadI64(), -1234567890123456789LL);
    EXPECT_EQ(S.ReadF32(), -1.5f);
    EXPECT_EQ(S.ReadF64(), -0.1);
    EXPECT_TRUE(std::isinf(S.ReadF64()));
    EXPECT_EQ(S.ReadBytes(3), "xyz");
    EXPECT_EQ(S.Remaining(), 0);
}

TEST(StreamsTest, DoubleBytesAreTheStoredLayout)
{
    TMemoryStream S;
    S.WriteF64(1.0);
    EXPECT_EQ(S.Data().toHex(), "000000000000f03f");
}

TEST(StreamsTest, ReadBytesRefusesBadCountsWithoutAllocating)
{
    const struct
    {
        const char* Name;
        int64_t Count;
    } Rows[] = {
        {"one past the end", 5},
        {"negative", -1},
        {"most negative", std::numeric_limits<int64_t>::min()},
        {"huge", int64_t(1) << 60},
        {"max", std::numeric_limits<int64_t>::max()},
    };
    for (const auto& Row : Rows) {
        SCOPED_TRACE(Row.Name);
        TMemoryStream S(QByteArray("abcd"));
        EXPECT_THROW(S.ReadBytes(Row.Count), EReadError);
        EXPECT_EQ(S.Position(), 0);
    }
    TMemoryStream S(QByteArray("abcd"));
    EXPECT_EQ(S.ReadBytes(0), QByteArray());
    EXPECT_EQ(S.ReadBytes(4), "abcd");
}

TEST(StreamsTest, SeekPastEndReadsNothingAndWriteFillsTheGapWithZeros)
{
    TMemoryStream S(QByteArray("ab"));
    EXPECT_EQ(S.Seek(5, TSeekOrigin::soBeginning), 5);
    EXPECT_EQ(S.Remaining(), 0);
    char C = 0;
    EXPECT_EQ(S.Read(&C, 1), 0);
    EXPECT_THROW(S.ReadU8(), EReadError);
    EXPECT_THROW(S.ReadBytes(1), EReadError);
    S.WriteU8('z');
    EXPECT_EQ(S.Data(), QByteArray("ab\0\0\0z", 6));
}

TEST(StreamsTest, SeekBeforeTheStartOrOverflowingRaises)
{
    TMemoryStream S(QByteArray("abcd"));
    S.SetPosition(2);
    EXPECT_THROW(S.Seek(-3, TSeekOrigin::soCurrent), EReadError);
    EXPECT_THROW(S.Seek(-5, TSeekOrigin::soEnd), EReadError);
    EXPECT_THROW(S.Seek(std::numeric_limits<int64_t>::max(), TSeekOrigin::soCurrent), EReadError);
    EXPECT_EQ(S.Position(), 2);
    EXPECT_EQ(S.Seek(-1, TSeekOrigin::soEnd), 3);
}

TEST(StreamsTest, WriteFarPastEndFailsCleanly)
{
    TMemoryStream S;
    S.SetPosition(std::numeric_limits<int64_t>::max() - 1);
    EXPECT_THROW(S.WriteU32(1), EWriteError);
    EXPECT_EQ(S.Size(), 0);
}

TEST(StreamsTest, SetSizeBelowPositionMovesPositionToTheEnd)
{
    TMemoryStream S(QByteArray("abcdef"));
    S.SetPosition(5);
    S.SetSize(2);
    EXPECT_EQ(S.Position(), 2);
    EXPECT_EQ(S.Data(), "ab");
}

TEST(StreamsTest, CopyFromCopiesAllOrACountAndRefusesAShortSource)
{
    TMemoryStream Source(QByteArray(200000, 'q'));
    Source.SetPosition(123);
    TMemoryStream All;
    EXPECT_EQ(All.CopyFrom(Source, 0), 200000);
    EXPECT_EQ(All.Data(), Source.Data());

    Source.SetPosition(199990);
    TMemoryStream Part;
    EXPECT_EQ(Part.CopyFrom(Source, 10), 10);
    EXPECT_EQ(Part.Size(), 10);

    Source.SetPosition(199990);
    TMemoryStream Short;
    EXPECT_THROW(Short.CopyFrom(Source, 11), EReadError);
    EXPECT_THROW(Short.CopyFrom(Source, -1), EReadError);
    EXPECT_EQ(Short.Size(), 0);
}

TEST(StreamsTest, FileStreamModes)
{
    QTemporaryDir Dir;
    const QString Name = Dir.filePath("data.bin");

    try {
        TFileStream Missing(Name, fmOpenRead);
        FAIL() << "opened a missing file";
    } catch (const EReadError& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("Cannot open file \"%1\"").arg(Name));
    }
    EXPECT_THROW(TFileStream(Name, fmOpenWrite), EReadError);
    EXPECT_THROW(TFileStream(Dir.filePath("no/such/dir.bin"), fmCreate), EWriteError);

    {
        TFileStream S(Name, fmCreate);
        S.WriteI32(-7);
        S.WriteBytes("tail");
        EXPECT_EQ(S.Size(), 8);
    }
    {
        // Open for writing keeps the contents and overwrites in place.
        TFileStream S(Name, fmOpenWrite | 0x20);
        S.WriteU8('T');
        char C;
        EXPECT_EQ(S.Read(&C, 1), 0);
    }
    {
        TFileStream S(Name, fmOpenRead);
        EXPECT_EQ(S.Size(), 8);
        EXPECT_EQ(S.ReadU8(), 'T');
        S.SetPosition(4);
        EXPECT_EQ(S.ReadBytes(4), "tail");
        EXPECT_THROW(S.ReadU8(), EReadError);
        EXPECT_THROW(S.WriteU8(1), EWriteError);
        EXPECT_THROW(S.ReadBytes(int64_t(1) << 40), EReadError);
    }
    {
        TFileStream S(Name, fmOpenReadWrite);
        S.SetSize(2);
        EXPECT_EQ(S.Size(), 2);
    }
    {
        TFileStream S(Name, fmCreate);
        EXPECT_EQ(S.Size(), 0);
    }
}

TEST(StreamsTest, MemoryStreamFilesAndStreams)
{
    QTemporaryDir Dir;
    const QString Name = Dir.filePath("m.bin");
    TMemoryStream S(QByteArray("hello"));
    S.SaveToFile(Name);
    TMemoryStream Loaded;
    Loaded.LoadFromFile(Name);
    EXPECT_EQ(Loaded.Data(), "hello");
    EXPECT_EQ(Loaded.Position(), 0);
    EXPECT_THROW(Loaded.LoadFromFile(Dir.filePath("missing")), EReadError);
    EXPECT_THROW(S.SaveToFile(Dir.filePath("no/dir/m.bin")), EWriteError);

    TFileStream F(Name, fmOpenRead);
    TMemoryStream FromFile;
    FromFile.LoadFromStream(F);
    EXPECT_EQ(FromFile.Data(), "hello");
}

TEST(StreamsTest, DeviceStreamOverABuffer)
{
    QByteArray Bytes;
    QBuffer Buffer(&Bytes);
    ASSERT_TRUE(Buffer.open(QIODevice::ReadWrite));
    TDeviceStream S(&Buffer);
    S.WriteU16(0x1234);
    S.WriteF64(2.5);
    EXPECT_EQ(S.Size(), 10);
    S.SetPosition(0);
    EXPECT_EQ(S.ReadU16(), 0x1234);
    EXPECT_EQ(S.ReadF64(), 2.5);
    EXPECT_THROW(S.ReadU8(), EReadError);
    EXPECT_THROW(S.ReadBytes(100), EReadError);
    EXPECT_THROW(S.Seek(-1, TSeekOrigin::soBeginning), EReadError);
}
