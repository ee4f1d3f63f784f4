#pragma once

// Writes pictures in the formats their file names promise: ".bmp" as a 24-bit
// bottom-up Windows bitmap, ".ico" as a one-image 32-bit icon with alpha,
// ".jpg" as JPEG. Any failure throws EWriteError naming the file.

#include <QImage>
#include <QString>

namespace ArtFiles {

void WriteBmp24(const QString& FileName, const QImage& Image);
void WriteIco32(const QString& FileName, const QImage& Image);
void WriteJpeg(const QString& FileName, const QImage& Image);

// Picks the writer by the name's extension and makes the folder first.
void WritePicture(const QString& FileName, const QImage& Image);

} // namespace ArtFiles
