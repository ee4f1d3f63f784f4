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
    // Returns the new position. A target before the start (or beyond the
    // 64-bit range) raises EReadError; a target past the end is allowed.
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
    virtual int64_t Size() const = 0;
    virtual void SetSize(int64_t NewSize);

    int64_t Position() const { return const_cast<TStream*>(this)->Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t Pos) { Seek(Pos, TSeekOrigin::soBeginning); }
    // Never negative, also when the position lies past the end.
    int64_t Remaining() const;

    void ReadBuffer(void* Buffer, int64_t Count);             // raises EReadError on a short read
    void WriteBuffer(const void* Buffer, int64_t Count);      // raises EWriteError
    // Count 0 copies all of Source from its start; a negative Count raises EReadError.
    int64_t CopyFrom(TStream& Source, int64_t Count);

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
    void SetSize(int64_t NewSize) override;   // raises EWriteError when memory runs out

    const QByteArray& Data() const { return FData; }
    void Clear();
    void LoadFromFile(const QString& FileName);   // raises EReadError
    void SaveToFile(const QString& FileName);     // atomic; raises EWriteError
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

// A stream over a file. fmCreate creates or empties the file; the open modes
// need an existing file, and fmOpenWrite keeps its contents. Share flags in the
// upper bits are accepted and ignored. Raises EReadError ("Cannot open file
// \"x\"") when it cannot open, EWriteError ("Cannot create file \"x\"") when
// it cannot create.
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
    bool FCanRead = true;
};

// A stream over an open QIODevice that the caller owns (a socket, a buffer, a
// file). A sequential device has no position: only Seek(0, soCurrent) works
// there, and Size() is what is available now.
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
