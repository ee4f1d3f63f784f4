// Bitmaps, icons and pictures.
#include "platform/gui/Graphics.h"

#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <cstring>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <map>

namespace {

QImage ReadImage(QIODevice* Device, const QString& What, bool Largest)
{
    QImageReader Reader(Device);
    Reader.setDecideFormatFromContent(true);
    int Best = 0;
    if (Largest && Reader.imageCount() > 1) {
        int BestArea = -1;
        for (int i = 0; i < Reader.imageCount(); ++i) {
            Reader.jumpToImage(i);
            const QSize S = Reader.size();
            if (S.width() * S.height() > BestArea) {
                BestArea = S.width() * S.height();
                Best = i;
            }
        }
        Reader.jumpToImage(Best);
    }
    QImage Image = Reader.read();
    if (Image.isNull())
        throw EReadError(QStringLiteral("Cannot read the picture %1: %2").arg(What, Reader.errorString()));
    return Image;
}

QImage ReadImageFile(const QString& FileName, bool Largest)
{
    QFile File(FileName);
    if (!File.open(QIODevice::ReadOnly))
        throw EReadError(QStringLiteral("Cannot open the picture %1").arg(FileName));
    return ReadImage(&File, FileName, Largest);
}

// A bitmap in a stream is as long as its file header says; anything else
// takes the rest of the stream.
QByteArray ReadGraphicBytes(TStream& Stream)
{
    const int64_t Start = Stream.Position();
    if (Stream.Remaining() >= 14) {
        const QByteArray Head = Stream.ReadBytes(6);
        Stream.SetPosition(Start);
        if (Head.startsWith("BM")) {
            const auto* B = reinterpret_cast<const unsigned char*>(Head.constData());
            const int64_t Size = int64_t(B[2]) | int64_t(B[3]) << 8 | int64_t(B[4]) << 16 | int64_t(B[5]) << 24;
            if (Size >= 14 && Size <= Stream.Remaining())
                return Stream.ReadBytes(Size);
        }
    }
    return Stream.ReadBytes(Stream.Remaining());
}

void WriteImage(const QImage& Image, QIODevice* Device, const QByteArray& Format, const QString& What)
{
    QImageWriter Writer(Device, Format);
    if (!Writer.write(Image))
        throw EWriteError(QStringLiteral("Cannot write the picture %1: %2").arg(What, Writer.errorString()));
}

QByteArray FormatFor(const QString& FileName)
{
    const QByteArray Ext = QFileInfo(FileName).suffix().toLower().toLatin1();
    return QImageWriter::supportedImageFormats().contains(Ext) ? Ext : QByteArray("bmp");
}

} // namespace

// ---------------------------------------------------------------- TBitmap

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int AWidth, int AHeight)
{
    SetSize(AWidth, AHeight);
}

TBitmap::~TBitmap() = default;

void TBitmap::Assign(const TBitmap& Source)
{
    if (&Source == this)
        return;
    if (FCanvas)
        FCanvas->Release();
    FImage = Source.Image().copy();
    FTransparent = Source.FTransparent;
    FTransparentMode = Source.FTransparentMode;
    FTransparentColor = Source.FTransparentColor;
}

bool TBitmap::Empty() const { return FImage.isNull(); }
int TBitmap::Width() const { return FImage.width(); }
int TBitmap::Height() const { return FImage.height(); }
void TBitmap::SetWidth(int Value) { SetSize(Value, Height()); }
void TBitmap::SetHeight(int Value) { SetSize(Width(), Value); }

void TBitmap::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(0, AWidth);
    AHeight = std::max(0, AHeight);
    if (AWidth == Width() && AHeight == Height())
        return;
    if (FCanvas)
        FCanvas->Release();
    if (AWidth == 0 || AHeight == 0) {
        FImage = QImage();
        return;
    }
    QImage Next(AWidth, AHeight, QImage::Format_RGB32);
    Next.fill(Qt::white);
    // Keep what fits, as a resized bitmap keeps its picture.
    for (int Y = 0; Y < std::min(AHeight, Height()); ++Y)
        std::memcpy(Next.scanLine(Y), FImage.constScanLine(Y), size_t(std::min(AWidth, Width())) * 4);
    FImage = std::move(Next);
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas)
        FCanvas = std::make_unique<TCanvas>(&FImage);
    return FCanvas.get();
}

const QImage& TBitmap::Image() const
{
    if (FCanvas)
        FCanvas->Release();
    return FImage;
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault)
        return FTransparentColor;
    const QImage& I = Image();
    if (I.isNull())
        return clNone;
    return QColorToColor(QColor::fromRgb(I.pixel(0, I.height() - 1)));
}

void TBitmap::SetTransparentColor(TColor Value)
{
    FTransparentColor = Value;
    FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
}

void TBitmap::LoadFromImage(const QImage& Image)
{
    if (FCanvas)
        FCanvas->Release();
    FImage = Image.convertToFormat(QImage::Format_RGB32);
}

void TBitmap::LoadFromFile(const QString& FileName)
{
    LoadFromImage(ReadImageFile(FileName, true));
}

void TBitmap::SaveToFile(const QString& FileName) const
{
    QFile File(FileName);
    if (!File.open(QIODevice::WriteOnly))
        throw EWriteError(QStringLiteral("Cannot create the picture %1").arg(FileName));
    WriteImage(Image(), &File, FormatFor(FileName), FileName);
}

void TBitmap::LoadFromStream(TStream& Stream)
{
    QByteArray Bytes = ReadGraphicBytes(Stream);
    QBuffer Buffer(&Bytes);
    Buffer.open(QIODevice::ReadOnly);
    LoadFromImage(ReadImage(&Buffer, QStringLiteral("in the stream"), true));
}

void TBitmap::SaveToStream(TStream& Stream) const
{
    QByteArray Bytes;
    QBuffer Buffer(&Bytes);
    Buffer.open(QIODevice::WriteOnly);
    WriteImage(Image(), &Buffer, "bmp", QStringLiteral("to the stream"));
    Stream.WriteBytes(Bytes);
}

QImage TBitmap::ToImage() const
{
    const QImage& I = Image();
    if (!FTransparent || I.isNull())
        return I;
    QImage Out = I.convertToFormat(QImage::Format_ARGB32);
    const QRgb Key = ColorToQColor(TransparentColor()).rgb() & 0x00FFFFFF;
    for (int Y = 0; Y < Out.height(); ++Y) {
        auto* Line = reinterpret_cast<QRgb*>(Out.scanLine(Y));
        for (int X = 0; X < Out.width(); ++X) {
            if ((Line[X] & 0x00FFFFFF) == Key)
                Line[X] = 0;
        }
    }
    return Out;
}

std::unique_ptr<TGraphic> TBitmap::Clone() const
{
    auto Copy = std::make_unique<TBitmap>();
    Copy->Assign(*this);
    return Copy;
}

// ---------------------------------------------------------------- TIcon

void TIcon::LoadFromFile(const QString& FileName)
{
    FImage = ReadImageFile(FileName, true).convertToFormat(QImage::Format_ARGB32);
}

void TIcon::SaveToFile(const QString& FileName) const
{
    QFile File(FileName);
    if (!File.open(QIODevice::WriteOnly))
        throw EWriteError(QStringLiteral("Cannot create the picture %1").arg(FileName));
    WriteImage(FImage, &File, "ico", FileName);
}

void TIcon::LoadFromStream(TStream& Stream)
{
    QByteArray Bytes = Stream.ReadBytes(Stream.Remaining());
    QBuffer Buffer(&Bytes);
    Buffer.open(QIODevice::ReadOnly);
    FImage = ReadImage(&Buffer, QStringLiteral("in the stream"), true).convertToFormat(QImage::Format_ARGB32);
}

void TIcon::SaveToStream(TStream& Stream) const
{
    QByteArray Bytes;
    QBuffer Buffer(&Bytes);
    Buffer.open(QIODevice::WriteOnly);
    WriteImage(FImage, &Buffer, "ico", QStringLiteral("to the stream"));
    Stream.WriteBytes(Bytes);
}

std::unique_ptr<TGraphic> TIcon::Clone() const
{
    auto Copy = std::make_unique<TIcon>();
    Copy->FImage = FImage;
    return Copy;
}

// ---------------------------------------------------------------- TPicture

namespace {

std::map<QString, TPicture::TGraphicFactory>& Formats()
{
    static std::map<QString, TPicture::TGraphicFactory> Map = {
        {QStringLiteral("bmp"), [] { return std::unique_ptr<TGraphic>(std::make_unique<TBitmap>()); }},
        {QStringLiteral("png"), [] { return std::unique_ptr<TGraphic>(std::make_unique<TBitmap>()); }},
        {QStringLiteral("gif"), [] { return std::unique_ptr<TGraphic>(std::make_unique<TBitmap>()); }},
        {QStringLiteral("ico"), [] { return std::unique_ptr<TGraphic>(std::make_unique<TIcon>()); }},
    };
    return Map;
}

} // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Assign(const TPicture& Source)
{
    if (&Source == this)
        return;
    FGraphic = Source.FGraphic ? Source.FGraphic->Clone() : nullptr;
    Changed();
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> Value)
{
    FGraphic = std::move(Value);
    Changed();
}

TBitmap* TPicture::Bitmap()
{
    if (auto* B = dynamic_cast<TBitmap*>(FGraphic.get()))
        return B;
    auto B = std::make_unique<TBitmap>();
    if (FGraphic && !FGraphic->Empty()) {
        QImage I(FGraphic->Width(), FGraphic->Height(), QImage::Format_RGB32);
        I.fill(Qt::white);
        QPainter Painter(&I);
        Painter.drawImage(0, 0, FGraphic->ToImage());
        Painter.end();
        B->LoadFromImage(I);
    }
    FGraphic = std::move(B);
    Changed();
    return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::LoadFromFile(const QString& FileName)
{
    const QString Ext = QFileInfo(FileName).suffix().toLower();
    const auto It = Formats().find(Ext);
    if (It == Formats().end())
        throw EReadError(QStringLiteral("Unknown picture file extension (.%1)").arg(Ext));
    std::unique_ptr<TGraphic> G = It->second();
    G->LoadFromFile(FileName);
    FGraphic = std::move(G);
    Changed();
}

void TPicture::SaveToFile(const QString& FileName) const
{
    if (FGraphic)
        FGraphic->SaveToFile(FileName);
}

void TPicture::Clear()
{
    FGraphic.reset();
    Changed();
}

void TPicture::RegisterFileFormat(const QString& Extension, TGraphicFactory Factory)
{
    QString Ext = Extension.toLower();
    if (Ext.startsWith(u'.'))
        Ext.remove(0, 1);
    Formats()[Ext] = std::move(Factory);
}
