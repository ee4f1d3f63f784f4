// Small routines the whole engine and the designer share: the stream forms of
// strings and string lists used by every engine file format, byte and word
// access to streams, font-style bits, the engine's own texts by numeric id,
// component lookup by dotted path and tolerant number parsing.
//
// Stream forms (little-endian). From form version 23 on:
//   string       2-byte length n, n GBK bytes, one more byte (0 when written,
//                ignored when read)
//   string list  2-byte line count c; c = 0: one byte 0; otherwise each line as
//                2-byte length and bytes, a byte 13 after every line but the last
//                and a byte 0 after the last (the count only says whether there
//                is any line)
// Older forms (versions below 23):
//   string       bytes up to a byte 0
//   string list  text up to a byte 0, a byte 13 ending each line
//
// Every reader is bounded by the stream: a length past the end raises
// EReadError and nothing larger than the remaining bytes is allocated.
// Writers raise EWriteError for a text whose GBK form does not fit its 2-byte
// length.
#pragma once

#include "platform/gui/Graphics.h"
#include "platform/rtl/SysUtils.h"

#include <QList>
#include <QString>
#include <cstdint>

class QMetaObject;
class QObject;
class TStream;
class TStrings;

// The longest text a 2-byte length can describe, in GBK bytes.
constexpr int frMaxStreamStringBytes = 0xFFFF;

// ---------------------------------------------------------------- stream strings

QString ReadStreamString(TStream& Stream);
void WriteStreamString(TStream& Stream, const QString& Text);
// The reader clears List first.
void ReadStreamStrings(TStream& Stream, TStrings& List);
void WriteStreamStrings(TStream& Stream, const TStrings& List);

// The zero-terminated forms of forms before version 23.
QString ReadOldString(TStream& Stream);
void ReadOldStrings(TStream& Stream, TStrings& List);

// The form chosen by FormVersion (below 23: the old ones).
QString frReadString(TStream& Stream);
void frReadMemo(TStream& Stream, TStrings& List);

// ---------------------------------------------------------------- numbers

uint8_t ReadStreamByte(TStream& Stream);
uint16_t ReadStreamWord(TStream& Stream);
int32_t ReadStreamInteger(TStream& Stream);
void WriteStreamByte(TStream& Stream, uint8_t Value);
void WriteStreamWord(TStream& Stream, uint16_t Value);
void WriteStreamInteger(TStream& Stream, int32_t Value);

// ---------------------------------------------------------------- fonts

// Style bits as views store them: 1 italic, 2 bold, 4 underline, 8 strike-out.
constexpr int frfsItalic = 1;
constexpr int frfsBold = 2;
constexpr int frfsUnderline = 4;
constexpr int frfsStrikeOut = 8;

TFontStyles SetFontStyleBits(int Bits);
int GetFontStyleBits(TFontStyles Style);

// The default character set of new fonts: the integer of string 55337.
int DefaultCharset();

// ---------------------------------------------------------------- engine texts

// The engine's text with that numeric id; an empty text for an unknown id.
QString LoadEngineString(int Id);
// Every id the table holds, ascending (for the locale and for tests).
QList<int> EngineStringIds();

// ---------------------------------------------------------------- components

// Without a point: the component of that name owned by Owner. "Form.Component":
// the global component named by the first part, then its component named by the
// second; "Form.Frame.Component" one level deeper. Any error gives nullptr.
QObject* FindComponentByPath(QObject* Owner, const QString& Path);
// FindComponentByPath from the owner of CurReport.
QObject* FindReportComponent(const QString& Path);

// Global components: the application's top-level windows and the objects
// registered here (data modules). A registered object leaves the list when it
// is destroyed.
void frRegisterGlobalComponent(QObject* Component);
void frUnregisterGlobalComponent(QObject* Component);
QList<QObject*> frGlobalComponents();

// List is cleared, then filled with the components of ClassRef (or derived)
// other than Skip: those owned by Owner by their names, those of other global
// components as owner name + "." + name.
void GetComponents(QObject* Owner, const QMetaObject& ClassRef, TStrings& List, QObject* Skip);

// ---------------------------------------------------------------- text

// Every "," and "." becomes the decimal separator, the text is trimmed and
// converted; EConvertError propagates (so a text with both fails).
double StrToFloatAnySep(const QString& Text);
double StrToFloatAnySep(const QString& Text, const TFormatSettings& Settings);
// A text of at least 3 characters in double quotes loses them.
QString StripQuotes(const QString& Text);
// List gets the parts between ";" (a trailing ";" gives no empty part).
void SplitSemicolons(const QString& Text, TStrings& List);
// The platform family the engine runs on: always "NT" here.
QString GetWindowsVersion();
