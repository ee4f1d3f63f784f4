#include "platform/rtl/Streams.h"

#include <QFile>
#include <QIODevice>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>

namespace {

const char* const SReadError = "Stream read error";
const char* const SWriteError = "Stream write error";
const char* const SInvalidPosition = "Invalid stream position";
const char* const SMemoryStreamError = "Out of memory while expanding memory stream";

// Chunk for copies, so a large copy never needs one large buffer.
constexpr int64_t CopyChunk = 64 * 1024;

QString OpenErrorText(const QString& FileName)
{
    return QStringLiteral("Cannot open file \"%1\"").arg(FileName);
}

QString CreateErrorText(const QString& FileName)
{
    return QStringLiteral("Cannot create file \"%1\"").arg(FileName);
}

// The absolute target of a seek; raises when it falls before the start or
// outside the 64-bit range, as a damaged offset in a file would.
int64_t SeekTarget(int64_t Offset, TSeekOrigin Origin, int64_t Current, int64_t Size)
{
    int64_t Base = 0;
    switch (Origin) {
    case TSeekOrigin::soBeginning: Base = 0; break;
    case TSeekOrigin::soCurrent: Base = Current; break;
    case TSeekOrigin::soEnd: Base = Size; break;
    }
    int64_t Target = 0;
    if (__builtin_add_overflow(Base, Offset, &Target) || Target < 0)
        throw EReadError(QString::fromLatin1(SInvalidPosition));
    return Target;
}

template <typename T>
T ReadLittle(TStream& Stream)
{
    unsigned char Bytes[sizeof(T)];
    Stream.ReadBuffer(Bytes, sizeof(T));
    return qFromLittleEndian<T>(Bytes);
}

template <typename T>
void WriteLittle(TStream& Stream, T Value)
{
    unsigned char Bytes[sizeof(T)];
    qToLittleEndian<T>(Value, Bytes);
    Stream.WriteBuffer(Bytes, sizeof(T));
}

} // namespace

// ---------------------------------------------------------------- TStream

void TStream::SetSize(int64_t)
{
    throw EWriteError(QString::fromLatin1(SWriteError));
}

int64_t TStream::Remaining() const
{
    return std::max<int64_t>(0, Size() - Position());
}

void TStream::ReadBuffer(void* Buffer, int64_t Count)
{
    if (Count < 0)
        throw EReadError(QString::fromLatin1(SReadError));
    if (Count == 0)
        return;
    if (Read(Buffer, Count) != Count)
        throw EReadError(QString::fromLatin1(SReadError));
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count)
{
    if (Count < 0)
        throw EWriteError(QString::fromLatin1(SWriteError));
    if (Count == 0)
        return;
    if (Write(Buffer, Count) != Count)
        throw EWriteError(QString::fromLatin1(SWriteError));
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count)
{
    if (Count < 0)
        throw EReadError(QString::fromLatin1(SReadError));
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.Size();
    }
    // A short source raises before the buffer grows past what it holds.
    if (Count > Source.Remaining())
        throw EReadError(QString::fromLatin1(SReadError));
    const int64_t Total = Count;
    QByteArray Buffer(static_cast<qsizetype>(std::min(Count, CopyChunk)), Qt::Uninitialized);
    while (Count > 0) {
        const int64_t N = std::min<int64_t>(Count, Buffer.size());
        Source.ReadBuffer(Buffer.data(), N);
        WriteBuffer(Buffer.constData(), N);
        Count -= N;
    }
    return Total;
}

uint8_t TStream::ReadU8() { return ReadLittle<uint8_t>(*this); }
int8_t TStream::ReadI8() { return ReadLittle<int8_t>(*this); }
uint16_t TStream::ReadU16() { return ReadLittle<uint16_t>(*this); }
int16_t TStream::ReadI16() { return ReadLittle<int16_t>(*this); }
uint32_t TStream::ReadU32() { return ReadLittle<uint32_t>(*this); }
int32_t TStream::ReadI32() { return ReadLittle<int32_t>(*this); }
int64_t TStream::ReadI64() { return ReadLittle<int64_t>(*this); }
double TStream::ReadF64() { return std::bit_cast<double>(ReadLittle<uint64_t>(*this)); }
float TStream::ReadF32() { return std::bit_cast<float>(ReadLittle<uint32_t>(*this)); }

QByteArray TStream::ReadBytes(int64_t Count)
{
    if (Count == 0)
        return {};
    // Checked before allocating: a damaged length must not reserve gigabytes.
    if (Count < 0 || Count > Remaining())
        throw EReadError(QString::fromLatin1(SReadError));
    QByteArray Result(static_cast<qsizetype>(Count), Qt::Uninitialized);
    ReadBuffer(Result.data(), Count);
    return Result;
}

void TStream::WriteU8(uint8_t V) { WriteLittle(*this, V); }
void TStream::WriteI8(int8_t V) { WriteLittle(*this, V); }
void TStream::WriteU16(uint16_t V) { WriteLittle(*this, V); }
void TStream::WriteI16(int16_t V) { WriteLittle(*this, V); }
void TStream::WriteU32(uint32_t V) { WriteLittle(*this, V); }
void TStream::WriteI32(int32_t V) { WriteLittle(*this, V); }
void TStream::WriteI64(int64_t V) { WriteLittle(*this, V); }
void TStream::WriteF64(double V) { WriteLittle(*this, std::bit_cast<uint64_t>(V)); }
void TStream::WriteF32(float V) { WriteLittle(*this, std::bit_cast<uint32_t>(V)); }

void TStream::WriteBytes(const QByteArray& Bytes)
{
    WriteBuffer(Bytes.constData(), Bytes.size());
}

// ---------------------------------------------------------------- TMemoryStream

TMemoryStream::TMemoryStream(QByteArray Data)
    : FData(std::move(Data))
{
}

int64_t TMemoryStream::Read(void* Buffer, int64_t Count)
{
    if (Count <= 0 || FPosition >= FData.size())
        return 0;
    const int64_t N = std::min<int64_t>(Count, FData.size() - FPosition);
    std::memcpy(Buffer, FData.constData() + FPosition, static_cast<size_t>(N));
    FPosition += N;
    return N;
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count)
{
    if (Count <= 0)
        return 0;
    int64_t End = 0;
    if (__builtin_add_overflow(FPosition, Count, &End))
        throw EWriteError(QString::fromLatin1(SMemoryStreamError));
    if (End > FData.size())
        SetSize(End);
    std::memcpy(FData.data() + FPosition, Buffer, static_cast<size_t>(Count));
    FPosition = End;
    return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    FPosition = SeekTarget(Offset, Origin, FPosition, FData.size());
    return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize)
{
    if (NewSize < 0)
        throw EWriteError(QString::fromLatin1(SWriteError));
    // QByteArray keeps a terminating zero and its header inside qsizetype.
    constexpr int64_t MaxSize = std::numeric_limits<qsizetype>::max() / 2;
    if (NewSize > MaxSize)
        throw EWriteError(QString::fromLatin1(SMemoryStreamError));
    const qsizetype OldSize = FData.size();
    try {
        FData.resize(static_cast<qsizetype>(NewSize));
    } catch (const std::bad_alloc&) {
        throw EWriteError(QString::fromLatin1(SMemoryStreamError));
    }
    // Bytes between the old end and a write past it read back as zeros.
    if (NewSize > OldSize)
        std::memset(FData.data() + OldSize, 0, static_cast<size_t>(NewSize - OldSize));
    if (FPosition > NewSize)
        FPosition = NewSize;
}

void TMemoryStream::Clear()
{
    FData.clear();
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const QString& FileName)
{
    QFile File(FileName);
    if (!File.open(QIODevice::ReadOnly))
        throw EReadError(OpenErrorText(FileName));
    QByteArray Bytes = File.readAll();
    if (File.error() != QFileDevice::NoError)
        throw EReadError(QString::fromLatin1(SReadError));
    FData = std::move(Bytes);
    FPosition = 0;
}

void TMemoryStream::SaveToFile(const QString& FileName)
{
    QSaveFile File(FileName);
    if (!File.open(QIODevice::WriteOnly))
        throw EWriteError(CreateErrorText(FileName));
    if (File.write(FData) != FData.size() || !File.commit())
        throw EWriteError(QString::fromLatin1(SWriteError));
}

void TMemoryStream::LoadFromStream(TStream& Source)
{
    Source.SetPosition(0);
    const int64_t Count = Source.Size();
    SetSize(Count);
    FPosition = 0;
    if (Count > 0)
        Source.ReadBuffer(FData.data(), Count);
}

void TMemoryStream::SaveToStream(TStream& Dest)
{
    Dest.WriteBuffer(FData.constData(), FData.size());
}

// ---------------------------------------------------------------- TFileStream

TFileStream::TFileStream(const QString& FileName, unsigned Mode)
    : FFileName(FileName)
    , FFile(std::make_unique<QFile>(FileName))
{
    if ((Mode & 0xFF00u) == 0xFF00u) {
        if (!FFile->open(QIODevice::ReadWrite | QIODevice::Truncate))
            throw EWriteError(CreateErrorText(FileName));
        return;
    }
    bool Opened = false;
    switch (Mode & 0x3u) {
    case fmOpenWrite:
        // Qt truncates a write-only open; read-write keeps the contents.
        Opened = FFile->open(QIODevice::ReadWrite | QIODevice::ExistingOnly);
        FCanRead = false;
        break;
    case fmOpenReadWrite:
        Opened = FFile->open(QIODevice::ReadWrite | QIODevice::ExistingOnly);
        break;
    default:
        Opened = FFile->open(QIODevice::ReadOnly);
        break;
    }
    if (!Opened)
        throw EReadError(OpenErrorText(FileName));
}

TFileStream::~TFileStream() = default;

int64_t TFileStream::Read(void* Buffer, int64_t Count)
{
    if (Count <= 0 || !FCanRead)
        return 0;
    const qint64 N = FFile->read(static_cast<char*>(Buffer), Count);
    return N < 0 ? 0 : N;
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count)
{
    if (Count <= 0 || !FFile->isWritable())
        return 0;
    const qint64 N = FFile->write(static_cast<const char*>(Buffer), Count);
    return N < 0 ? 0 : N;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    if (Origin == TSeekOrigin::soCurrent && Offset == 0)
        return FFile->pos();
    const int64_t Target = SeekTarget(Offset, Origin, FFile->pos(), FFile->size());
    if (!FFile->seek(Target))
        throw EReadError(QString::fromLatin1(SInvalidPosition));
    return Target;
}

int64_t TFileStream::Size() const
{
    return FFile->size();
}

void TFileStream::SetSize(int64_t NewSize)
{
    if (NewSize < 0 || !FFile->isWritable() || !FFile->resize(NewSize))
        throw EWriteError(QString::fromLatin1(SWriteError));
    if (FFile->pos() > NewSize)
        FFile->seek(NewSize);
}

// ---------------------------------------------------------------- TDeviceStream

TDeviceStream::TDeviceStream(QIODevice* Device)
    : FDevice(Device)
{
}

int64_t TDeviceStream::Read(void* Buffer, int64_t Count)
{
    if (Count <= 0 || !FDevice->isReadable())
        return 0;
    const qint64 N = FDevice->read(static_cast<char*>(Buffer), Count);
    return N < 0 ? 0 : N;
}

int64_t TDeviceStream::Write(const void* Buffer, int64_t Count)
{
    if (Count <= 0 || !FDevice->isWritable())
        return 0;
    const qint64 N = FDevice->write(static_cast<const char*>(Buffer), Count);
    return N < 0 ? 0 : N;
}

int64_t TDeviceStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    if (FDevice->isSequential()) {
        if (Origin == TSeekOrigin::soCurrent && Offset == 0)
            return 0;
        throw EReadError(QString::fromLatin1(SInvalidPosition));
    }
    if (Origin == TSeekOrigin::soCurrent && Offset == 0)
        return FDevice->pos();
    const int64_t Target = SeekTarget(Offset, Origin, FDevice->pos(), FDevice->size());
    if (!FDevice->seek(Target))
        throw EReadError(QString::fromLatin1(SInvalidPosition));
    return Target;
}

int64_t TDeviceStream::Size() const
{
    return FDevice->isSequential() ? FDevice->bytesAvailable() : FDevice->size();
}
