#include "report/engine/FR_Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

constexpr long long MaxPixels = 50'000'000;
constexpr unsigned MaxSide = 32767;
// Progressive pictures come in about ten scans, a few dozen at most; each scan
// walks the whole picture again (a hundred of them over the largest picture
// take some seconds), so thousands take as long as thousands of pictures.
constexpr int MaxScans = 100;

// libjpeg ends the process on an error unless told otherwise: this manager
// jumps back to the decoder with the message instead.
struct TErrorManager
{
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr Info)
{
    auto* Manager = reinterpret_cast<TErrorManager*>(Info->err);
    (*Info->err->format_message)(Info, Manager->Message);
    std::longjmp(Manager->Jump, 1);
}

void QuietMessage(j_common_ptr) {}

// Called between the steps of reading the input: a picture of too many scans
// ends here, before the rest of its scans are decoded.
void CountScans(j_common_ptr Info)
{
    const auto* Decompress = reinterpret_cast<j_decompress_ptr>(Info);
    if (Decompress->input_scan_number <= MaxScans)
        return;
    auto* Manager = reinterpret_cast<TErrorManager*>(Info->err);
    std::snprintf(Manager->Message, sizeof Manager->Message, "picture of more than %d scans", MaxScans);
    std::longjmp(Manager->Jump, 1);
}

// Kept apart from objects with destructors: a long jump must not skip one.
// Image is filled only once the header has been checked.
bool Decode(const QByteArray& Data, QImage& Image, char* Message, size_t MessageSize)
{
    jpeg_decompress_struct Info{};
    TErrorManager Errors{};
    jpeg_progress_mgr Progress{};
    Info.err = jpeg_std_error(&Errors.Base);
    Errors.Base.error_exit = ErrorExit;
    Errors.Base.output_message = QuietMessage;
    Progress.progress_monitor = CountScans;
    if (setjmp(Errors.Jump)) {
        std::snprintf(Message, MessageSize, "%s", Errors.Message);
        jpeg_destroy_decompress(&Info);
        return false;
    }
    jpeg_create_decompress(&Info);
    Info.progress = &Progress;
    jpeg_mem_src(&Info, reinterpret_cast<const unsigned char*>(Data.constData()),
                 static_cast<unsigned long>(Data.size()));
    jpeg_read_header(&Info, TRUE);
    if (Info.image_width == 0 || Info.image_height == 0 || Info.image_width > MaxSide
        || Info.image_height > MaxSide
        || static_cast<long long>(Info.image_width) * Info.image_height > MaxPixels) {
        std::snprintf(Message, MessageSize, "picture of %u x %u pixels is too large", Info.image_width,
                      Info.image_height);
        jpeg_destroy_decompress(&Info);
        return false;
    }
    const bool Cmyk = Info.jpeg_color_space == JCS_CMYK || Info.jpeg_color_space == JCS_YCCK;
    Info.out_color_space = Cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&Info);
    const int Components = Info.output_components;
    if ((Cmyk && Components != 4) || (!Cmyk && Components != 3)) {
        std::snprintf(Message, MessageSize, "unsupported colour layout");
        jpeg_abort_decompress(&Info);
        jpeg_destroy_decompress(&Info);
        return false;
    }
    Image = QImage(static_cast<int>(Info.output_width), static_cast<int>(Info.output_height), QImage::Format_RGB32);
    if (Image.isNull()) {
        std::snprintf(Message, MessageSize, "out of memory");
        jpeg_abort_decompress(&Info);
        jpeg_destroy_decompress(&Info);
        return false;
    }
    // The row buffer belongs to libjpeg's pool, which the destroy frees on
    // every way out.
    JSAMPARRAY Row = (*Info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&Info), JPOOL_IMAGE,
                                               Info.output_width * static_cast<JDIMENSION>(Components), 1);
    while (Info.output_scanline < Info.output_height) {
        const int Y = static_cast<int>(Info.output_scanline);
        jpeg_read_scanlines(&Info, Row, 1);
        auto* Out = reinterpret_cast<QRgb*>(Image.scanLine(Y));
        const unsigned char* In = Row[0];
        for (unsigned X = 0; X < Info.output_width; ++X, In += Components) {
            if (Cmyk) {
                // Adobe writes CMYK inverted: the samples are 255 - ink.
                const int K = In[3];
                Out[X] = qRgb(In[0] * K / 255, In[1] * K / 255, In[2] * K / 255);
            } else {
                Out[X] = qRgb(In[0], In[1], In[2]);
            }
        }
    }
    jpeg_finish_decompress(&Info);
    jpeg_destroy_decompress(&Info);
    return true;
}

} // namespace

QImage frDecodeJpeg(const QByteArray& Data, QString* Error)
{
    QImage Image;
    char Message[JMSG_LENGTH_MAX + 64] = {};
    if (Data.isEmpty()) {
        if (Error)
            *Error = QStringLiteral("no picture data");
        return QImage();
    }
    if (!Decode(Data, Image, Message, sizeof Message)) {
        if (Error)
            *Error = QString::fromLocal8Bit(Message);
        return QImage();
    }
    return Image;
}
