// JPEG decoding for picture views, through libjpeg. Damaged data, pictures
// over 50 million pixels or wider or taller than 32,767 pixels (checked before
// anything is allocated) and pictures of more than 100 scans (checked as they
// are read) give a null image; libjpeg's errors never end the program.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The picture as 32-bit RGB, or a null image with the reason in Error.
QImage frDecodeJpeg(const QByteArray& Data, QString* Error = nullptr);
