// Small routines the whole engine and the designer share: the stream forms of
// strings and string lists used by every engine file format, byte and word
// access to streams, font-style bits, the engine's own texts by numeric id,
// component lookup by dotted path, tolerant number parsing, a rotated font and
// two helpers for the controls of dialogs.
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
#include <memory>

class QMetaObject;
class QObject;
class QPoint;
class QWidget;
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

// A new font like Font, turned by 90 degrees counter-clockwise (orientation
// 900), for text that runs upwards.
std::unique_ptr<TFont> CreateRotatedFont(const TFont& Font);

// ---------------------------------------------------------------- controls

// Enables or disables each control. A label's text turns window-text or grey;
// any other control gets the window colour or the button face as background.
void EnableControls(const QList<QWidget*>& Controls, bool Enabled);
// The deepest visible control under Point (in Parent's coordinates): Parent's
// children are searched from the topmost down, descending into those that have
// children of their own. nullptr when no child is there.
QWidget* FindControlAt(QWidget* Parent, const QPoint& Point);

// ---------------------------------------------------------------- engine texts

// The engine's text with that numeric id, through the locale (FR_Locale);
// an empty text for an unknown id.
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
// components, and of the data modules that windows of the class
// "TDataModuleForm" hold (their children that are not controls), as owner
// name + "." + name.
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
