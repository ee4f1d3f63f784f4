// Code page 936 (GBK) lives only inside the byte formats; the program works in
// QString. These helpers convert at the format's edge and measure text the way
// a storage limit counts it, never cutting a character in half.
#pragma once

#include <QByteArray>
#include <QString>

// Characters that GBK cannot hold become '?'.
QByteArray ToGbk(const QString& Text);
// Invalid or truncated sequences become U+FFFD; never throws.
QString FromGbk(const QByteArray& Bytes);
QString FromGbk(const char* Bytes, qsizetype Length);

// Bytes the text occupies in GBK (1 for ASCII, 2 for a Chinese character).
qsizetype GbkLength(const QString& Text);
// The longest prefix whose GBK form fits MaxBytes, cut at a character boundary.
QString GbkLeft(const QString& Text, qsizetype MaxBytes);
// Whether every character can be written in GBK.
bool GbkCanEncode(const QString& Text);
