// A picture on a page: a graphic stored in the template (bitmap, JPEG, icon or
// metafile) or taken from a BLOB field. The graphic is kept as the bytes and
// kind stored, so it is written back unchanged, and decoded once when first
// drawn. Metafiles have no renderer here: they draw as a placeholder frame.
#pragma once

#include "report/engine/FR_View.h"

#include <QByteArray>
#include <QImage>

// Graphic kind of the record.
enum TfrGraphicKind : uint8_t {
    gkNone = 0,
    gkBitmap = 1,
    gkMetafile = 2,
    gkIcon = 3,
    gkJpeg = 4,
};

// What a BLOB field holds.
enum TfrBlobType : uint8_t { btBMP = 0, btJPG = 1, btICO = 2, btWMF = 3 };

// Picture Flags bits (besides flStretched).
constexpr uint16_t flPictCenter = 2;
constexpr uint16_t flPictRatio = 4;

// The picture container: one graphic in its own stream form, or none.
class TfrPicture
{
public:
    TfrPicture();
    ~TfrPicture();
    TfrPicture(const TfrPicture&) = delete;
    TfrPicture& operator=(const TfrPicture&) = delete;

    // Whether Candidate is a picture container alive now (scripts hand them
    // around as integers).
    static bool IsLive(const void* Candidate);

    uint8_t Kind() const { return FKind; }
    const QByteArray& Data() const { return FData; }
    bool Empty() const { return FKind == gkNone || FData.isEmpty(); }
    void Assign(uint8_t Kind, const QByteArray& Data);
    void Assign(const TfrPicture& Source) { Assign(Source.FKind, Source.FData); }
    void Clear();

    // The decoded graphic (ARGB for icons, RGB otherwise); a null image for
    // none, for a metafile and for bytes that do not decode.
    const QImage& Image() const;
    // Loads a file by its extension (.bmp, .jpg/.jpeg, .ico, .wmf/.emf);
    // raises EReadError naming the file when it cannot be read, is of
    // another kind or does not decode.
    void LoadFromFile(const QString& FileName);

private:
    uint8_t FKind = gkNone;
    QByteArray FData;
    mutable QImage FImage;
    mutable bool FDecoded = false;
};

class TfrPictureView : public TfrView
{
public:
    TfrPictureView();
    ~TfrPictureView() override;

    QString ClassName() const override { return QStringLiteral("TfrPictureView"); }

    TfrPicture* Picture() { return &FPicture; }
    const TfrPicture* Picture() const { return &FPicture; }
    uint8_t BlobType() const { return FBlobType; }
    void SetBlobType(uint8_t Value) { FBlobType = Value; }

    void Draw(TCanvas* ACanvas) override;
    // Takes the field's bytes as a graphic of BlobType; a null field empties.
    void GetBlob(TField* Field) override;
    void DefinePopupMenu(TPopupMenu* Popup) override;
    void ShowEditor() override;

    void LoadFromStream(TStream& Stream) override;
    void SaveToStream(TStream& Stream) override;
    void SaveToFR3(TStream& Stream) override;

    void SetPropValue(const QString& Name, const Variant& Value) override;
    Variant GetPropValue(const QString& Name) override;
    // "LOADFROMFILE" (Par1 evaluated to a file name): a missing file empties
    // the picture, an unreadable one raises an error naming it.
    Variant CallMethod(const QString& Name, const Variant& Par1, const Variant& Par2,
                       const Variant& Par3) override;
    void RegisterProperties() override;

private:
    TfrPicture FPicture;
    uint8_t FBlobType = btBMP;
};
