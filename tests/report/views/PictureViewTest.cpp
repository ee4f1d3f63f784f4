// Picture views: placement of the graphic, the empty and metafile pictures,
// printers, blob fields and files, and damaged pictures that must fail cleanly.
#include "ViewTestUtil.h"

#include "platform/db/Field.h"
#include "platform/db/MemDataSet.h"
#include "platform/rtl/Streams.h"
#include "report/engine/FR_Jpeg.h"
#include "report/engine/FR_PictureView.h"
#include "report/engine/FR_Variables.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <random>
#include <gtest/gtest.h>

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
    QImageWriter Writer(&Buffer, Format);
    Writer.setQuality(100);
    EXPECT_TRUE(Writer.write(Image));
    return Bytes;
}

// 'R' red, 'B' blue, '.' white, '?' anything else (JPEG colours are near).
char Letter(QRgb P)
{
    if (qRed(P) > 200 && qGreen(P) < 60 && qBlue(P) < 60)
        return 'R';
    if (qBlue(P) > 200 && qRed(P) < 60 && qGreen(P) < 60)
        return 'B';
    return P == qRgb(255, 255, 255) ? '.' : '?';
}

struct TPlaceRow
{
    const char* Name;
    uint8_t Kind;
    uint16_t Flags;
    bool Printer;
    const char* Expected;   // pixels at (5,50) (45,50) (55,50) (95,50) (50,20) (50,80)
};

TEST(PictureView, GraphicIsPlacedByStretchCentreAndAspect)
{
    const TPlaceRow Rows[] = {
        {"stretched, keeping the aspect, centred", gkBitmap, flStretched | flPictRatio | flPictCenter, false,
         "RRBB.."},
        {"stretched over the view", gkBitmap, flStretched, false, "RRBBBB"},
        {"at its own size, centred", gkBitmap, flPictCenter, false, ".RB..."},
        {"at its own size in the corner", gkBitmap, 0, false, "......"},
        {"JPEG, blurred at the colour edge", gkJpeg, flStretched | flPictRatio | flPictCenter, false, "R?BB.."},
        {"on a printer", gkBitmap, flStretched, true, "RRBBBB"},
        {"an icon on a printer is left out", gkIcon, flStretched, true, "......"},
        {"an icon on screen", gkIcon, flStretched, false, "RRBBBB"},
    };
    for (const TPlaceRow& R : Rows) {
        SCOPED_TRACE(R.Name);
        TEngineState State(dmPrinting);
        QImage Image = WhiteImage(100, 100);
        TCanvas Canvas(&Image);
        TfrPictureView View;
        View.SetBounds(0, 0, 100, 100);
        View.SetFlags(R.Flags);
        View.SetIsPrinting(R.Printer);
        View.Picture()->Assign(R.Kind, Encoded(R.Kind == gkJpeg ? "jpeg" : R.Kind == gkIcon ? "ico" : "bmp"));
        View.Draw(&Canvas);
        Canvas.Release();
        QString Seen;
        for (QPoint P : {QPoint(5, 50), QPoint(45, 50), QPoint(55, 50), QPoint(95, 50), QPoint(50, 20), QPoint(50, 80)})
            Seen += QLatin1Char(Letter(Image.pixel(P)));
        EXPECT_EQ(Seen, QString::fromLatin1(R.Expected));
    }
}

TEST(PictureView, EmptyPictureShowsItsPlaceOnlyInTheDesigner)
{
    for (int Mode : {dmDesigning, dmPrinting}) {
        SCOPED_TRACE(Mode);
        TEngineState State(Mode);
        QImage Image = WhiteImage(120, 40);
        TCanvas Canvas(&Image);
        TfrPictureView View;
        View.SetBounds(0, 0, 110, 30);
        View.Picture()->Assign(gkBitmap, QByteArray("BM broken"));   // keeps its bytes, draws as empty
        View.Draw(&Canvas);
        Canvas.Release();
        const bool Designing = Mode == dmDesigning;
        EXPECT_EQ(!InkBox(Image, QRect(20, 3, 80, 14)).isNull(), Designing) << "\"[Picture]\"";
        EXPECT_EQ(Image.pixel(8, 10) != qRgb(255, 255, 255), Designing) << "the empty-picture glyph";
        EXPECT_EQ(View.Picture()->Data(), QByteArray("BM broken"));
    }
}

TEST(PictureView, MetafileDrawsAPlaceholderFrame)
{
    TEngineState State(dmPrinting);
    QImage Image = WhiteImage(60, 60);
    TCanvas Canvas(&Image);
    TfrPictureView View;
    View.SetBounds(10, 10, 40, 40);
    View.Picture()->Assign(gkMetafile, QByteArray("\xD7\xCD\xC6\x9A metafile", 14));
    View.Draw(&Canvas);
    Canvas.Release();
    EXPECT_EQ(Classic(InkBox(Image, QRect(), 250)), QStringLiteral("10,10,50,50"));
}

TEST(PictureView, BlobFieldGivesTheGraphicOfItsType)
{
    TMemDataSet Data;
    Data.FieldDefs()->Add(QStringLiteral("Photo"), ftBlob);
    Data.CreateDataSet();
    const QByteArray Jpeg = Encoded("jpeg");
    Data.Append();
    Data.FieldByName(QStringLiteral("Photo"))->SetAsBytes(Jpeg);
    Data.Post();
    Data.Append();
    Data.Post();
    TfrPictureView View;
    View.SetBlobType(btJPG);
    Data.First();
    View.GetBlob(Data.FieldByName(QStringLiteral("Photo")));
    EXPECT_EQ(View.Picture()->Kind(), gkJpeg);
    EXPECT_EQ(View.Picture()->Data(), Jpeg);
    EXPECT_EQ(View.Picture()->Image().size(), QSize(20, 10));
    Data.Next();
    View.GetBlob(Data.FieldByName(QStringLiteral("Photo")));
    EXPECT_TRUE(View.Picture()->Empty()) << "a null field empties the picture";
    EXPECT_EQ(frConstants().GetVariable(QStringLiteral("btWMF")).AsInteger(), 3);
}

TEST(PictureView, LoadFromFileByExtension)
{
    QTemporaryDir Dir;
    auto Write = [&](const QString& Name, const QByteArray& Bytes) {
        QFile File(Dir.filePath(Name));
        EXPECT_TRUE(File.open(QIODevice::WriteOnly));
        File.write(Bytes);
        return Dir.filePath(Name);
    };
    TfrPictureView View;
    View.CallMethod(QStringLiteral("LoadFromFile"), Write(QStringLiteral("a.jpg"), Encoded("jpeg")), {}, {});
    EXPECT_EQ(View.Picture()->Kind(), gkJpeg);
    const QString Broken = Write(QStringLiteral("b.bmp"), QByteArray("not a bitmap"));
    try {
        View.CallMethod(QStringLiteral("LOADFROMFILE"), Broken, {}, {});
        ADD_FAILURE() << "an unreadable file raises";
    } catch (const EReadError& E) {
        EXPECT_TRUE(E.Message().contains(Broken));
    }
    EXPECT_EQ(View.Picture()->Kind(), gkJpeg) << "a failed load keeps the picture";
    View.CallMethod(QStringLiteral("LOADFROMFILE"), Dir.filePath(QStringLiteral("missing.bmp")), {}, {});
    EXPECT_TRUE(View.Picture()->Empty());
}

TEST(PictureView, EveryKindRoundTripsByteForByte)
{
    const QByteArray Metafile("\x01\x00\x00\x00 any metafile bytes", 24);
    for (auto [Kind, Bytes] : {std::pair{gkBitmap, Encoded("bmp")}, std::pair{gkJpeg, Encoded("jpeg")},
                               std::pair{gkIcon, Encoded("ico")}, std::pair{gkMetafile, Metafile}}) {
        SCOPED_TRACE(int(Kind));
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

// The JPEG with its frame header set to Width x Height.
QByteArray WithSize(QByteArray Jpeg, int Width, int Height)
{
    const qsizetype Sof = Jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    EXPECT_GT(Sof, 0);
    Jpeg[Sof + 5] = char(Height >> 8);
    Jpeg[Sof + 6] = char(Height & 0xFF);
    Jpeg[Sof + 7] = char(Width >> 8);
    Jpeg[Sof + 8] = char(Width & 0xFF);
    return Jpeg;
}

TEST(PictureView, DamagedPicturesFailCleanly)
{
    const QByteArray Jpeg = Encoded("jpeg");
    for (auto [Width, Height] : {std::pair{65500, 65500}, std::pair{40000, 100}, std::pair{30000, 30000}}) {
        QString Error;
        EXPECT_TRUE(frDecodeJpeg(WithSize(Jpeg, Width, Height), &Error).isNull()) << Width << "x" << Height;
        EXPECT_TRUE(Error.contains(QStringLiteral("too large"))) << Error.toStdString();
    }
    std::mt19937 Random(19);
    for (auto [Kind, Bytes] : {std::pair{gkBitmap, Encoded("bmp")}, std::pair{gkJpeg, Jpeg},
                               std::pair{gkIcon, Encoded("ico")}}) {
        SCOPED_TRACE(int(Kind));
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
            const QImage& Image = Picture.Image();
            EXPECT_TRUE(Image.isNull() || Image.width() * qint64(Image.height()) <= 50'000'000);
        }
    }
}

} // namespace
