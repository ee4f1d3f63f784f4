#include "ArtFiles.h"

#include "platform/rtl/SysUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

namespace ArtFiles {

namespace {

void PutU16(QByteArray& B, quint16 V)
{
    B.append(char(V & 0xff));
    B.append(char(V >> 8));
}

void PutU32(QByteArray& B, quint32 V)
{
    for (int I = 0; I < 4; ++I)
        B.append(char((V >> (8 * I)) & 0xff));
}

// BITMAPINFOHEADER; Height is doubled for icons (colour rows plus mask rows).
void PutInfoHeader(QByteArray& B, int Width, int Height, int Bits, quint32 ImageBytes)
{
    PutU32(B, 40);
    PutU32(B, quint32(Width));
    PutU32(B, quint32(Height));
    PutU16(B, 1);
    PutU16(B, quint16(Bits));
    PutU32(B, 0);          // BI_RGB
    PutU32(B, ImageBytes);
    PutU32(B, 3780);       // 96 dpi
    PutU32(B, 3780);
    PutU32(B, 0);
    PutU32(B, 0);
}

void Save(const QString& FileName, const QByteArray& Bytes)
{
    QSaveFile File(FileName);
    if (!File.open(QIODevice::WriteOnly))
        throw EWriteError(QStringLiteral("Cannot create %1: %2").arg(FileName, File.errorString()));
    if (File.write(Bytes) != Bytes.size() || !File.commit())
        throw EWriteError(QStringLiteral("Cannot write %1: %2").arg(FileName, File.errorString()));
}

// Flattens any transparency onto white: a .bmp has no alpha.
QImage Opaque(const QImage& Image)
{
    QImage Out(Image.size(), QImage::Format_RGB32);
    Out.fill(Qt::white);
    QPainter P(&Out);
    P.drawImage(0, 0, Image);
    return Out;
}

} // namespace

void WriteBmp24(const QString& FileName, const QImage& Image)
{
    const QImage Src = Opaque(Image);
    const int W = Src.width(), H = Src.height();
    const int Stride = (W * 3 + 3) & ~3;
    const quint32 ImageBytes = quint32(Stride) * quint32(H);
    QByteArray B;
    B.reserve(int(54 + ImageBytes));
    B.append("BM");
    PutU32(B, 54 + ImageBytes);
    PutU32(B, 0);
    PutU32(B, 54);
    PutInfoHeader(B, W, H, 24, ImageBytes);
    for (int Y = H - 1; Y >= 0; --Y) {
        const auto* Line = reinterpret_cast<const QRgb*>(Src.constScanLine(Y));
        for (int X = 0; X < W; ++X) {
            B.append(char(qBlue(Line[X])));
            B.append(char(qGreen(Line[X])));
            B.append(char(qRed(Line[X])));
        }
        B.append(Stride - W * 3, '\0');
    }
    Save(FileName, B);
}

void WriteIco32(const QString& FileName, const QImage& Image)
{
    const QImage Src = Image.convertToFormat(QImage::Format_ARGB32);
    const int W = Src.width(), H = Src.height();
    if (W < 1 || H < 1 || W > 256 || H > 256)
        throw EWriteError(QStringLiteral("Cannot write %1: an icon is 1 to 256 pixels a side").arg(FileName));
    const int MaskStride = ((W + 31) / 32) * 4;
    const quint32 ImageBytes = quint32(W * 4 * H + MaskStride * H);
    QByteArray B;
    PutU16(B, 0);
    PutU16(B, 1);          // icon
    PutU16(B, 1);          // one image
    B.append(char(W == 256 ? 0 : W));
    B.append(char(H == 256 ? 0 : H));
    B.append(char(0));     // no palette
    B.append(char(0));
    PutU16(B, 1);
    PutU16(B, 32);
    PutU32(B, 40 + ImageBytes);
    PutU32(B, 6 + 16);
    PutInfoHeader(B, W, H * 2, 32, ImageBytes);
    for (int Y = H - 1; Y >= 0; --Y) {
        const auto* Line = reinterpret_cast<const QRgb*>(Src.constScanLine(Y));
        for (int X = 0; X < W; ++X) {
            B.append(char(qBlue(Line[X])));
            B.append(char(qGreen(Line[X])));
            B.append(char(qRed(Line[X])));
            B.append(char(qAlpha(Line[X])));
        }
    }
    // The AND mask, for readers that ignore alpha: set bits are see-through.
    for (int Y = H - 1; Y >= 0; --Y) {
        const auto* Line = reinterpret_cast<const QRgb*>(Src.constScanLine(Y));
        QByteArray Row(MaskStride, '\0');
        for (int X = 0; X < W; ++X)
            if (qAlpha(Line[X]) < 128)
                Row[X / 8] = char(Row[X / 8] | (0x80 >> (X % 8)));
        B.append(Row);
    }
    Save(FileName, B);
}

void WriteJpeg(const QString& FileName, const QImage& Image)
{
    QSaveFile File(FileName);
    if (!File.open(QIODevice::WriteOnly))
        throw EWriteError(QStringLiteral("Cannot create %1: %2").arg(FileName, File.errorString()));
    QImageWriter Writer(&File, "jpeg");
    Writer.setQuality(92);
    if (!Writer.write(Opaque(Image)) || !File.commit())
        throw EWriteError(QStringLiteral("Cannot write %1: %2").arg(FileName, Writer.errorString()));
}

void WritePicture(const QString& FileName, const QImage& Image)
{
    const QFileInfo Info(FileName);
    if (!QDir().mkpath(Info.absolutePath()))
        throw EWriteError(QStringLiteral("Cannot create the folder %1").arg(Info.absolutePath()));
    const QString Ext = Info.suffix().toLower();
    if (Ext == QLatin1String("bmp"))
        WriteBmp24(FileName, Image);
    else if (Ext == QLatin1String("ico"))
        WriteIco32(FileName, Image);
    else if (Ext == QLatin1String("jpg") || Ext == QLatin1String("jpeg"))
        WriteJpeg(FileName, Image);
    else
        throw EWriteError(QStringLiteral("Cannot write %1: unknown picture format").arg(FileName));
}

} // namespace ArtFiles
