// Picture views: placement of the graphic, pictures that do not decode,
// printers, blob fields, files, byte round trips and damaged pictures.
#include "ViewTestUtil.h"

#include "platform/db/Field.h"
#include "platform/db/MemDataSet.h"
#include "platform/rtl/Streams.h"
#include "report/engine/FR_Jpeg.h"
#include "report/engine/FR_PictureView.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using namespace viewtest;

namespace {

// 20 x 10: the left half red, the right half blue.
QByteArray Encoded(const char* Format)
{
    QImage Image(20, 10, QImage::Format_RGB32);
    Image.fill(Qt::red);
    for (int Y = 0; Y < 10; ++Y)
        for (int X = 10; X < 20; ++X)
            Image.setPixel(X, Y, qRgb(0, 0, 255));
    QByteArray Bytes;
    QBuffer Buffer(&Bytes);
    Buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(Image.save(&Buffer, Format, 100));
    return Bytes;
}

TEST(PictureView, GraphicIsPlacedByStretchCentreAndAspect)
{
    // Pixels at (5,50) (45,50) (55,50) (95,50) (50,20) (50,80) of a 100 x 100
    // view: R red, B blue, . white, ? between (JPEG blurs the colour edge).
    const struct
    {
        const char* Name;
        uint8_t Kind;
        const char* Format;   // none: bytes that do not decode
        uint16_t Flags;
        bool Printer;
        const char* Expected;
    } Rows[] = {
        {"stretched, keeping the aspect, centred", gkBitmap, "bmp", flStretched | flPictRatio | flPictCenter, false,
         "RRBB.."},
        {"stretched over the view", gkBitmap, "bmp", flStretched, false, "RRBBBB"},
        {"at its own size, centred", gkBitmap, "bmp", flPictCenter, false, ".RB..."},
        {"at its own size in the corner", gkBitmap, "bmp", 0, false, "......"},
        {"JPEG", gkJpeg, "jpeg", flStretched | flPictRatio | flPictCenter, false, "R?BB.."},
        {"on a printer", gkBitmap, "bmp", flStretched, true, "RRBBBB"},
        {"an icon on a printer is left out", gkIcon, "ico", flStretched, true, "......"},
        {"an icon on screen", gkIcon, "ico", flStretched, false, "RRBBBB"},
        {"bytes that do not decode", gkBitmap, nullptr, flStretched, false, "......"},
    };
    TEngineState State(dmPrinting);
    for (const auto& R : Rows) {
        SCOPED_TRACE(R.Name);
        QImage Image = WhiteImage(100, 100);
        TCanvas Canvas(&Image);
        TfrPictureView View;
        View.SetBounds(0, 0, 100, 100);
        View.SetFlags(R.Flags);
        View.SetIsPrinting(R.Printer);
        const QByteArray Bytes = R.Format ? Encoded(R.Format) : QByteArray("BM broken");
        View.Picture()->Assign(R.Kind, Bytes);
        View.Draw(&Canvas);
        Canvas.Release();
        QString Seen;
        for (QPoint P : {QPoint(5, 50), QPoint(45, 50), QPoint(55, 50), QPoint(95, 50), QPoint(50, 20), QPoint(50, 80)}) {
            const QRgb C = Image.pixel(P);
            Seen += qRed(C) > 200 && qGreen(C) < 60 && qBlue(C) < 60   ? u'R'
                    : qBlue(C) > 200 && qRed(C) < 60 && qGreen(C) < 60 ? u'B'
                    : C == qRgb(255, 255, 255)                          ? u'.'
                                                                        : u'?';
        }
        EXPECT_EQ(Seen, QString::fromLatin1(R.Expected));
        EXPECT_EQ(View.Picture()->Data(), Bytes) << "the bytes are kept";
    }
}

TEST(PictureView, BlobFieldAndFileGiveTheGraphic)
{
    TMemDataSet Data;
    Data.FieldDefs()->Add(QStringLiteral("Photo"), ftBlob);
    Data.CreateDataSet();
    const QByteArray Jpeg = Encoded("jpeg");
    Data.AppendRecord({Variant::Null()});
    Data.Edit();
    Data.FieldByName(QStringLiteral("Photo"))->SetAsBytes(Jpeg);
    Data.Post();
    TfrPictureView View;
    View.SetBlobType(btJPG);
    View.GetBlob(Data.FieldByName(QStringLiteral("Photo")));
    EXPECT_EQ(View.Picture()->Kind(), gkJpeg);
    EXPECT_EQ(View.Picture()->Image().size(), QSize(20, 10));

    QTemporaryDir Dir;
    QFile File(Dir.filePath(QStringLiteral("b.bmp")));
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write("not a bitmap");
    File.close();
    try {
        View.CallMethod(QStringLiteral("LOADFROMFILE"), File.fileName(), {}, {});
        ADD_FAILURE() << "an unreadable file raises";
    } catch (const EReadError& E) {
        EXPECT_TRUE(E.Message().contains(File.fileName()));
    }
    EXPECT_EQ(View.Picture()->Kind(), gkJpeg) << "a failed load keeps the picture";
    View.CallMethod(QStringLiteral("LoadFromFile"), Dir.filePath(QStringLiteral("missing.bmp")), {}, {});
    EXPECT_TRUE(View.Picture()->Empty());
}

TEST(PictureView, EveryKindRoundTripsByteForByte)
{
    for (auto [Kind, Bytes] : {std::pair{gkBitmap, Encoded("bmp")}, std::pair{gkJpeg, Encoded("jpeg")},
                               std::pair{gkIcon, Encoded("ico")}, std::pair{gkMetafile, QByteArray("\1\0\0\0wmf", 7)}}) {
        TfrPictureView View;
        View.Picture()->Assign(Kind, Bytes);
        TMemoryStream Out;
        View.SaveToStream(Out);
        TMemoryStream In(Out.Data());
        TfrPictureView Back;
        Back.LoadFromStream(In);
        EXPECT_EQ(Back.Picture()->Kind(), Kind);
        EXPECT_EQ(Back.Picture()->Data(), Bytes);
    }
}

// A progressive picture whose last scan comes again until it has Scans.
QByteArray ProgressiveWithScans(int Scans)
{
    QByteArray Bytes;
    QBuffer Buffer(&Bytes);
    Buffer.open(QIODevice::WriteOnly);
    QImageWriter Writer(&Buffer, "jpeg");
    Writer.setProgressiveScanWrite(true);
    EXPECT_TRUE(Writer.write(QImage(20, 10, QImage::Format_RGB32)));
    const QByteArray Start("\xFF\xDA", 2);
    const qsizetype Last = Bytes.lastIndexOf(Start), End = Bytes.lastIndexOf(QByteArray("\xFF\xD9", 2));
    EXPECT_GT(Bytes.count(Start), 2);
    const QByteArray Scan = Bytes.mid(Last, End - Last);
    QByteArray More;
    for (qsizetype Count = Bytes.count(Start); Count < Scans; ++Count)
        More += Scan;
    return Bytes.insert(End, More);
}

TEST(PictureView, DamagedPicturesFailCleanly)
{
    // Every scan decodes the whole picture again: past 100 it is refused.
    for (auto [Scans, Decodes] : {std::pair{100, true}, std::pair{101, false}}) {
        QString Error;
        EXPECT_EQ(frDecodeJpeg(ProgressiveWithScans(Scans), &Error).isNull(), !Decodes) << Scans;
        EXPECT_EQ(Error.contains(QStringLiteral("scans")), !Decodes) << Error.toStdString();
    }

    const QByteArray Jpeg = Encoded("jpeg");
    const qsizetype Sof = Jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(Sof, 0);
    // Over 32,767 a side or 50 million pixels: refused before allocating.
    for (auto [Width, Height] : {std::pair{65500, 65500}, std::pair{40000, 100}, std::pair{30000, 30000}}) {
        QByteArray Huge = Jpeg;
        Huge[Sof + 5] = char(Height >> 8);
        Huge[Sof + 6] = char(Height);
        Huge[Sof + 7] = char(Width >> 8);
        Huge[Sof + 8] = char(Width);
        QString Error;
        EXPECT_TRUE(frDecodeJpeg(Huge, &Error).isNull());
        EXPECT_TRUE(Error.contains(QStringLiteral("too large"))) << Error.toStdString();
    }
    std::mt19937 Random(19);
    for (auto [Kind, Bytes] : {std::pair{gkBitmap, Encoded("bmp")}, std::pair{gkJpeg, Jpeg},
                               std::pair{gkIcon, Encoded("ico")}}) {
        TfrPicture Picture;
        for (qsizetype Length = 0; Length < Bytes.size(); Length += 3) {
            Picture.Assign(Kind, Bytes.left(Length));
            (void)Picture.Image();
        }
        for (int Round = 0; Round < 200; ++Round) {
            QByteArray Damaged = Bytes;
            for (int Flip = 0; Flip < 4; ++Flip)
                Damaged[Random() % Damaged.size()] = char(Random());
            Picture.Assign(Kind, Damaged);
            EXPECT_LE(Picture.Image().width() * qint64(Picture.Image().height()), 50'000'000);
        }
    }
}

} // namespace
