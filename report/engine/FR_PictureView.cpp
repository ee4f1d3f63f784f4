#include "report/engine/FR_PictureView.h"

#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Utils.h"

#include "platform/rtl/Streams.h"

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
}

void TfrPicture::Clear()
{
    FKind = gkNone;
    FData.clear();
}

// ---------------------------------------------------------------- TfrPictureView

TfrPictureView::TfrPictureView()
{
    FBaseName = QStringLiteral("Picture");
    FObjectType = gtPicture;
    FFlags = flStretched | flPictRatio;
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

void TfrPictureView::RegisterProperties()
{
    TfrView::RegisterProperties();
    AddProperty(QStringLiteral("Picture"), PropHasEditor, frPictureEditor);
    for (const char* Name : {"Stretched", "Center", "KeepAspect"})
        AddProperty(QString::fromLatin1(Name), PropBoolean);
    AddProperty(QStringLiteral("DataField"), PropString | PropHasEditor | PropOneObject, frFieldEditor);
    AddEnumProperty(QStringLiteral("BlobType"), QStringLiteral("btBMP;btJPG;btICO;btWMF"), {0, 1, 2, 3});
}
