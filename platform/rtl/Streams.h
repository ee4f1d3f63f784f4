// Binary streams for the byte formats: little-endian integers and doubles,
// position and size, bounded reads. A short read raises EReadError, and no read
// allocates more than the bytes that remain, so a damaged file fails cleanly.
#pragma once

#include "platform/rtl/SysUtils.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

class QIODevice;
class QFile;

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream
{
public:
    virtual ~TStream() = default;

    virtual int64_t Read(void* Buffer, int64_t Count) = 0;   // bytes actually read
    virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
    virtual int64_t Size() const = 0;
    virtual void SetSize(int64_t NewSize);

    int64_t Position() const { return const_cast<TStream*>(this)->Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t Pos) { Seek(Pos, TSeekOrigin::soBeginning); }
    int64_t Remaining() const { return Size() - Position(); }

    void ReadBuffer(void* Buffer, int64_t Count);             // raises EReadError on a short read
    void WriteBuffer(const void* Buffer, int64_t Count);      // raises EWriteError
    int64_t CopyFrom(TStream& Source, int64_t Count);         // Count 0 copies all from the start

    uint8_t ReadU8();
    int8_t ReadI8();
    uint16_t ReadU16();
    int16_t ReadI16();
    uint32_t ReadU32();
    int32_t ReadI32();
    int64_t ReadI64();
    double ReadF64();
    float ReadF32();
    // Raises EReadError when Count is negative or more than what remains.
    QByteArray ReadBytes(int64_t Count);

    void WriteU8(uint8_t V);
    void WriteI8(int8_t V);
    void WriteU16(uint16_t V);
    void WriteI16(int16_t V);
    void WriteU32(uint32_t V);
    void WriteI32(int32_t V);
    void WriteI64(int64_t V);
    void WriteF64(double V);
    void WriteF32(float V);
    void WriteBytes(const QByteArray& Bytes);
};

// A stream over its own growing buffer.
class TMemoryStream : public TStream
{
public:
    TMemoryStream() = default;
    explicit TMemoryStream(QByteArray Data);

    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() const override { return FData.size(); }
    void SetSize(int64_t NewSize) override;

    const QByteArray& Data() const { return FData; }
    void Clear();
    void LoadFromFile(const QString& FileName);   // raises EReadError
    void SaveToFile(const QString& FileName);     // raises EWriteError
    void LoadFromStream(TStream& Source);
    void SaveToStream(TStream& Dest);

private:
    QByteArray FData;
    int64_t FPosition = 0;
};

enum TFileMode : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmCreate = 0xFFFF,
};

// A stream over a file; raises EReadError ("Cannot open file ...") when it cannot open.
class TFileStream : public TStream
{
public:
    TFileStream(const QString& FileName, unsigned Mode);
    ~TFileStream() override;

    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() const override;
    void SetSize(int64_t NewSize) override;
    const QString& FileName() const { return FFileName; }

private:
    QString FFileName;
    std::unique_ptr<QFile> FFile;
};

// A stream over a QIODevice that the caller owns (a socket, a buffer, a file).
class TDeviceStream : public TStream
{
public:
    explicit TDeviceStream(QIODevice* Device);

    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() const override;

private:
    QIODevice* FDevice;
};
