#include "report/engine/FR_PictureView.h"

#include "platform/db/Field.h"
#include "platform/gui/Menus.h"
#include "platform/rtl/Streams.h"
#include "report/engine/FR_DBSet.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Jpeg.h"
#include "report/engine/FR_Locale.h"
#include "report/engine/FR_Utils.h"
#include "report/engine/FR_Variables.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSet>
#include <limits>

void frRegisterPictureView()
{
    frRegisterViewClass(gtPicture, QStringLiteral("TfrPictureView"),
                        [] { return std::make_unique<TfrPictureView>(); });
}

namespace {

QSet<const void*>& LivePictures()
{
    static QSet<const void*> Set;
    return Set;
}

} // namespace

// ---------------------------------------------------------------- TfrPicture

TfrPicture::TfrPicture()
{
    LivePictures().insert(this);
}

TfrPicture::~TfrPicture()
{
    LivePictures().remove(this);
}

bool TfrPicture::IsLive(const void* Candidate)
{
    return Candidate && LivePictures().contains(Candidate);
}

void TfrPicture::Assign(uint8_t Kind, const QByteArray& Data)
{
    FKind = Kind;
    FData = Data;
    FImage = QImage();
    FDecoded = false;
}

void TfrPicture::Clear()
{
    Assign(gkNone, QByteArray());
}

const QImage& TfrPicture::Image() const
{
    if (FDecoded)
        return FImage;
    FDecoded = true;
    FImage = QImage();
    if (FData.isEmpty())
        return FImage;
    try {
        TMemoryStream Stream(FData);
        switch (FKind) {
        case gkBitmap: {
            TBitmap Bitmap;
            Bitmap.LoadFromStream(Stream);
            FImage = Bitmap.Image();
            break;
        }
        case gkIcon: {
            TIcon Icon;
            Icon.LoadFromStream(Stream);
            FImage = Icon.ToImage();
            break;
        }
        case gkJpeg:
            FImage = frDecodeJpeg(FData);
            break;
        default:
            break;
        }
    } catch (const Exception&) {
        // Bytes that do not decode draw as an empty picture and are kept.
        FImage = QImage();
    }
    return FImage;
}

void TfrPicture::LoadFromFile(const QString& FileName)
{
    const QString Ext = QFileInfo(FileName).suffix().toLower();
    uint8_t Kind = gkNone;
    if (Ext == u"bmp")
        Kind = gkBitmap;
    else if (Ext == u"jpg" || Ext == u"jpeg")
        Kind = gkJpeg;
    else if (Ext == u"ico")
        Kind = gkIcon;
    else if (Ext == u"wmf" || Ext == u"emf")
        Kind = gkMetafile;
    QFile File(FileName);
    if (Kind == gkNone || !File.open(QIODevice::ReadOnly))
        throw EReadError(QStringLiteral("Cannot read the picture %1").arg(FileName));
    const QByteArray Bytes = File.readAll();
    TfrPicture Loaded;
    Loaded.Assign(Kind, Bytes);
    if (Bytes.isEmpty() || (Kind != gkMetafile && Loaded.Image().isNull()))
        throw EReadError(QStringLiteral("Cannot read the picture %1").arg(FileName));
    Assign(Kind, Bytes);
}

// ---------------------------------------------------------------- TfrPictureView

TfrPictureView::TfrPictureView()
{
    FBaseName = QStringLiteral("Picture");
    FObjectType = gtPicture;
    FFlags = flStretched | flPictRatio;
    TfrVariables& Constants = frConstants();
    Constants.SetVariable(QStringLiteral("btBMP"), int(btBMP));
    Constants.SetVariable(QStringLiteral("btJPG"), int(btJPG));
    Constants.SetVariable(QStringLiteral("btICO"), int(btICO));
    Constants.SetVariable(QStringLiteral("btWMF"), int(btWMF));
}

TfrPictureView::~TfrPictureView() = default;

void TfrPictureView::LoadFromStream(TStream& Stream)
{
    TfrView::LoadFromStream(Stream);
    const uint8_t Kind = Stream.ReadU8();
    if (FRecordVersion * 10 + FRecordSubVersion > 10)
        FBlobType = Stream.ReadU8();
    const int64_t End = Stream.ReadI32();
    const int64_t Here = Stream.Position();
    if (End < Here || End > Stream.Size())
        throw EReadError(QStringLiteral("Picture data of \"%1\" ends outside the stream").arg(Name()));
    if (Kind >= gkBitmap && Kind <= gkJpeg)
        FPicture.Assign(Kind, Stream.ReadBytes(End - Here));
    else
        FPicture.Clear();
    Stream.SetPosition(End);
}

void TfrPictureView::SaveToStream(TStream& Stream)
{
    TfrView::SaveToStream(Stream);
    const bool Empty = FPicture.Empty();
    Stream.WriteU8(Empty ? uint8_t(gkNone) : FPicture.Kind());
    Stream.WriteU8(FBlobType);
    const int64_t Placeholder = Stream.Position();
    Stream.WriteI32(0);
    if (!Empty)
        Stream.WriteBytes(FPicture.Data());
    const int64_t End = Stream.Position();
    if (End > std::numeric_limits<int32_t>::max())
        throw EWriteError(QStringLiteral("Picture \"%1\" ends past the 2 GB a form can address").arg(Name()));
    Stream.SetPosition(Placeholder);
    Stream.WriteI32(static_cast<int32_t>(End));
    Stream.SetPosition(End);
}

void TfrPictureView::SetPropValue(const QString& Name, const Variant& Value)
{
    const QString N = UpperCase(Name);
    if (N == u"CENTER")
        FFlags = frSetBit(FFlags, flPictCenter, Value.AsBoolean());
    else if (N == u"KEEPASPECT")
        FFlags = frSetBit(FFlags, flPictRatio, Value.AsBoolean());
    else if (N == u"BLOBTYPE")
        FBlobType = static_cast<uint8_t>(Value.AsInteger());
    else if (N == u"PICTURE") {
        // Only a live container is copied: any other integer is ignored.
        const auto* Source = reinterpret_cast<const TfrPicture*>(static_cast<intptr_t>(Value.AsInteger()));
        if (TfrPicture::IsLive(Source) && Source != &FPicture)
            FPicture.Assign(*Source);
    } else
        TfrView::SetPropValue(Name, Value);
}

Variant TfrPictureView::GetPropValue(const QString& Name)
{
    Variant Result = TfrView::GetPropValue(Name);
    if (!Result.IsEmpty())
        return Result;
    const QString N = UpperCase(Name);
    if (N == u"CENTER")
        return (FFlags & flPictCenter) != 0;
    if (N == u"KEEPASPECT")
        return (FFlags & flPictRatio) != 0;
    if (N == u"BLOBTYPE")
        return static_cast<int>(FBlobType);
    if (N == u"PICTURE")
        return static_cast<int64_t>(reinterpret_cast<intptr_t>(&FPicture));
    return Result;
}

Variant TfrPictureView::CallMethod(const QString& Name, const Variant& Par1, const Variant& Par2,
                                   const Variant& Par3)
{
    Variant Result = TfrView::CallMethod(Name, Par1, Par2, Par3);
    if (!Result.IsEmpty() || UpperCase(Name) != u"LOADFROMFILE")
        return Result;
    const QString FileName = (frEvaluateParameter ? frEvaluateParameter(Par1) : Par1).AsString();
    if (QFileInfo::exists(FileName))
        FPicture.LoadFromFile(FileName);
    else
        FPicture.Clear();
    return Result;
}

void TfrPictureView::GetBlob(TField* Field)
{
    static const uint8_t Kinds[] = {gkBitmap, gkJpeg, gkIcon, gkMetafile};
    if (!Field || Field->IsNull() || FBlobType > btWMF) {
        FPicture.Clear();
        return;
    }
    TMemoryStream Stream;
    AssignBlobTo(Field, Stream);
    FPicture.Assign(Kinds[FBlobType], Stream.Data());
}

void TfrPictureView::ShowEditor()
{
    if (frPictureEditor)
        frPictureEditor();
}

void TfrPictureView::DefinePopupMenu(TPopupMenu* Popup)
{
    TfrView::DefinePopupMenu(Popup);
    AddFlagItem(Popup, LoadEngineString(55197), flPictCenter);
    AddFlagItem(Popup, LoadEngineString(55198), flPictRatio);
    TMenuItem* Items = Popup->Items();
    Items->Items(Items->Count() - 1)->SetEnabled(FFlags & flStretched);
}

namespace {

} // namespace

void TfrPictureView::Draw(TCanvas* ACanvas)
{
    TCanvasState Saved(ACanvas);
    ApplyBandAlign(ACanvas);
    TfrDrawScope Scope(this);
    DrawBackground();
    const bool Metafile = FPicture.Kind() == gkMetafile && !FPicture.Empty();
    const QImage& Image = FPicture.Image();
    const QRect D = DrawRect();
    if (DisableDrawing) {
        return;
    } else if (!Metafile && Image.isNull()) {
        if (DocMode != dmPrinting) {
            TCanvasState State(ACanvas);
            ACanvas->Font()->SetName(QStringLiteral("Arial"));
            ACanvas->Font()->SetSize(8);
            ACanvas->Font()->SetStyle({});
            ACanvas->Font()->SetColor(clBlack);
            ACanvas->Brush()->SetStyle(bsClear);
            ACanvas->TextRect(D, Left() + 20, Top() + 3, LoadEngineString(55228));
            if (const TBitmap* Empty = LocaleInstance()->LoadBmp(QStringLiteral("FR_EMPTY")))
                ACanvas->DrawImage(Left() + 1, Top() + 2, Empty->Image());
        }
    } else {
        const int GW = Metafile ? D.width() : Image.width();
        const int GH = Metafile ? D.height() : Image.height();
        QRect R = D;
        bool Skip = false;
        if (!(FFlags & flStretched)) {
            const int W = static_cast<int>(RoundHalfEven(GW * ScaleX()));
            const int H = static_cast<int>(RoundHalfEven(GH * ScaleY()));
            R = QRect(D.left(), D.top(), W, H);
            if (FFlags & flPictCenter)
                R.translate((D.width() - W) / 2, (D.height() - H) / 2);
        } else if (FFlags & flPictRatio) {
            // A graphic without width or height has no aspect to keep.
            Skip = GW <= 0 || GH <= 0;
            if (!Skip) {
                const double KX = double(Width()) / GW;
                const double KY = double(Height()) / GH;
                if (KX < KY)
                    R.setHeight(static_cast<int>(RoundHalfEven(GH * KX)));
                else
                    R.setWidth(static_cast<int>(RoundHalfEven(GW * KY)));
                if (FFlags & flPictCenter)
                    R.translate((D.width() - R.width()) / 2, (D.height() - R.height()) / 2);
            }
        }
        if (!Skip && Metafile) {
            // No metafile renderer on this platform: a frame marks its place.
            TCanvasState State(ACanvas);
            ACanvas->Pen()->SetColor(clGray);
            ACanvas->Pen()->SetWidth(1);
            ACanvas->Pen()->SetStyle(psDot);
            ACanvas->Brush()->SetStyle(bsClear);
            ACanvas->Rectangle(R);
        } else if (!Skip && IsPrinting()) {
            // Printers get plain 24-bit pixels; icons are not printed.
            if (FPicture.Kind() != gkIcon)
                ACanvas->StretchDrawImage(R, Image.convertToFormat(QImage::Format_RGB888));
        } else if (!Skip) {
            ACanvas->StretchDrawImage(R, Image);
        }
    }
    DrawFrame();
}

void TfrPictureView::RegisterProperties()
{
    TfrView::RegisterProperties();
    AddProperty(QStringLiteral("Picture"), PropHasEditor, frPictureEditor);
    for (const char* Name : {"Stretched", "Center", "KeepAspect"})
        AddProperty(QString::fromLatin1(Name), PropBoolean);
    AddProperty(QStringLiteral("DataField"), PropString | PropHasEditor | PropOneObject, frFieldEditor);
    AddEnumProperty(QStringLiteral("BlobType"), QStringLiteral("btBMP;btJPG;btICO;btWMF"), {0, 1, 2, 3});
}
