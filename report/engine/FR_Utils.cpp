#include "report/engine/FR_Utils.h"

#include "report/engine/FR_Class.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Locale.h"
#include "report/engine/FR_Strings.h"

#include "platform/gui/Controls.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/GbkText.h"
#include "platform/rtl/Streams.h"

#include <QApplication>
#include <QLabel>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <algorithm>

namespace {

constexpr uint8_t LineEnd = 13;
constexpr int OldFormVersion = 23;   // the first version with length-prefixed strings

QByteArray EncodeLimited(const QString& Text)
{
    QByteArray Bytes = ToGbk(Text);
    if (Bytes.size() > frMaxStreamStringBytes)
        throw EWriteError(QStringLiteral("Text too long to save: %1 bytes, at most %2 (\"%3...\")")
                              .arg(Bytes.size())
                              .arg(frMaxStreamStringBytes)
                              .arg(Text.left(40)));
    return Bytes;
}

// Reads a 2-byte length and that many bytes; the length is checked against
// what remains before anything is allocated.
QByteArray ReadLengthPrefixed(TStream& Stream)
{
    const uint16_t Length = Stream.ReadU16();
    return Stream.ReadBytes(Length);
}

// Bytes up to a byte 0 (consumed); a stream that ends first is damaged.
QByteArray ReadZeroTerminated(TStream& Stream)
{
    QByteArray Result;
    char Buffer[4096];
    for (;;) {
        const int64_t Got = Stream.Read(Buffer, sizeof(Buffer));
        if (Got <= 0)
            throw EReadError(QStringLiteral("Unterminated text at the end of the stream"));
        const char* End = std::find(Buffer, Buffer + Got, '\0');
        Result.append(Buffer, End - Buffer);
        if (End != Buffer + Got) {
            Stream.Seek(-(Got - (End - Buffer) - 1), TSeekOrigin::soCurrent);
            return Result;
        }
    }
}

QString ComponentName(const QObject* Object)
{
    return Object->objectName();
}

// The component of that name owned by Owner: one of its own children, not one
// further down its tree.
QObject* FindOwned(QObject* Owner, const QString& Name)
{
    if (!Owner || Name.isEmpty())
        return nullptr;
    for (QObject* Child : Owner->children())
        if (SameText(ComponentName(Child), Name))
            return Child;
    return nullptr;
}

// A window of the class "TDataModuleForm" (or derived) holds data modules:
// its children that are not controls.
bool IsDataModuleForm(const QObject* Object)
{
    for (const QMetaObject* Meta = Object->metaObject(); Meta; Meta = Meta->superClass())
        if (qstrcmp(Meta->className(), "TDataModuleForm") == 0)
            return true;
    return false;
}

QList<QObject*> HeldDataModules(QObject* Window)
{
    QList<QObject*> Result;
    if (IsDataModuleForm(Window))
        for (QObject* Child : Window->children())
            if (!Child->isWidgetType())
                Result.append(Child);
    return Result;
}

QList<QPointer<QObject>>& RegisteredGlobals()
{
    static QList<QPointer<QObject>> List;
    return List;
}

QObject* FindGlobal(const QString& Name)
{
    if (Name.isEmpty())
        return nullptr;
    for (QObject* Object : frGlobalComponents())
        if (SameText(ComponentName(Object), Name))
            return Object;
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------- stream strings

QString ReadStreamString(TStream& Stream)
{
    const QByteArray Bytes = ReadLengthPrefixed(Stream);
    Stream.ReadU8();   // the byte after the text carries nothing
    return FromGbk(Bytes);
}

void WriteStreamString(TStream& Stream, const QString& Text)
{
    const QByteArray Bytes = EncodeLimited(Text);
    Stream.WriteU16(static_cast<uint16_t>(Bytes.size()));
    Stream.WriteBytes(Bytes);
    Stream.WriteU8(0);
}

void ReadStreamStrings(TStream& Stream, TStrings& List)
{
    List.BeginUpdate();
    try {
        List.Clear();
        const uint16_t Count = Stream.ReadU16();
        if (Count == 0) {
            Stream.ReadU8();
        } else {
            // Every line takes at least three bytes, so a damaged count cannot
            // run this loop past the end of the stream.
            for (;;) {
                const QByteArray Bytes = ReadLengthPrefixed(Stream);
                const uint8_t After = Stream.ReadU8();
                List.Add(FromGbk(Bytes));
                if (After == 0)
                    break;
            }
        }
    } catch (...) {
        List.EndUpdate();
        throw;
    }
    List.EndUpdate();
}

void WriteStreamStrings(TStream& Stream, const TStrings& List)
{
    // Encode first so that a line too long leaves the stream untouched.
    QList<QByteArray> Lines;
    Lines.reserve(List.Count());
    for (int i = 0; i < List.Count(); ++i)
        Lines.append(EncodeLimited(List.Strings(i)));
    // The reader only asks whether the count is zero; a count above the 2-byte
    // range must not wrap to 0 and hide the lines that follow.
    Stream.WriteU16(static_cast<uint16_t>(std::min<qsizetype>(Lines.size(), 0xFFFF)));
    if (Lines.isEmpty()) {
        Stream.WriteU8(0);
        return;
    }
    for (qsizetype i = 0; i < Lines.size(); ++i) {
        Stream.WriteU16(static_cast<uint16_t>(Lines[i].size()));
        Stream.WriteBytes(Lines[i]);
        Stream.WriteU8(i + 1 < Lines.size() ? LineEnd : 0);
    }
}

QString ReadOldString(TStream& Stream)
{
    return FromGbk(ReadZeroTerminated(Stream));
}

void ReadOldStrings(TStream& Stream, TStrings& List)
{
    const QByteArray Text = ReadZeroTerminated(Stream);
    List.BeginUpdate();
    List.Clear();
    qsizetype Start = 0;
    bool EndedWithLineEnd = false;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        EndedWithLineEnd = false;
        if (static_cast<uint8_t>(Text[i]) != LineEnd)
            continue;
        List.Add(FromGbk(Text.mid(Start, i - Start)));
        // A CR LF pair ends one line, not two.
        if (i + 1 < Text.size() && Text[i + 1] == '\n')
            ++i;
        Start = i + 1;
        EndedWithLineEnd = true;
    }
    if (Start < Text.size() || EndedWithLineEnd)
        List.Add(FromGbk(Text.mid(Start)));
    List.EndUpdate();
}

QString frReadString(TStream& Stream)
{
    return FormVersion < OldFormVersion ? ReadOldString(Stream) : ReadStreamString(Stream);
}

void frReadMemo(TStream& Stream, TStrings& List)
{
    if (FormVersion < OldFormVersion)
        ReadOldStrings(Stream, List);
    else
        ReadStreamStrings(Stream, List);
}

// ---------------------------------------------------------------- numbers

uint8_t ReadStreamByte(TStream& Stream)
{
    return Stream.ReadU8();
}

uint16_t ReadStreamWord(TStream& Stream)
{
    return Stream.ReadU16();
}

int32_t ReadStreamInteger(TStream& Stream)
{
    return Stream.ReadI32();
}

void WriteStreamByte(TStream& Stream, uint8_t Value)
{
    Stream.WriteU8(Value);
}

void WriteStreamWord(TStream& Stream, uint16_t Value)
{
    Stream.WriteU16(Value);
}

void WriteStreamInteger(TStream& Stream, int32_t Value)
{
    Stream.WriteI32(Value);
}

// ---------------------------------------------------------------- fonts

TFontStyles SetFontStyleBits(int Bits)
{
    TFontStyles Style;
    if (Bits & frfsItalic)
        Style << fsItalic;
    if (Bits & frfsBold)
        Style << fsBold;
    if (Bits & frfsUnderline)
        Style << fsUnderline;
    if (Bits & frfsStrikeOut)
        Style << fsStrikeOut;
    return Style;
}

int GetFontStyleBits(TFontStyles Style)
{
    return (Style.Contains(fsItalic) ? frfsItalic : 0) | (Style.Contains(fsBold) ? frfsBold : 0) |
           (Style.Contains(fsUnderline) ? frfsUnderline : 0) |
           (Style.Contains(fsStrikeOut) ? frfsStrikeOut : 0);
}

int DefaultCharset()
{
    bool Ok = false;
    const int Value = LoadEngineString(55337).toInt(&Ok);
    return Ok ? Value : 1;
}

std::unique_ptr<TFont> CreateRotatedFont(const TFont& Font)
{
    auto Rotated = std::make_unique<TFont>();
    Rotated->Assign(Font);
    Rotated->SetOrientation(900);
    return Rotated;
}

// ---------------------------------------------------------------- controls

void EnableControls(const QList<QWidget*>& Controls, bool Enabled)
{
    for (QWidget* Control : Controls) {
        if (!Control)
            continue;
        Control->setEnabled(Enabled);
        if (auto* Custom = dynamic_cast<TCustomControl*>(Control)) {
            Custom->SetColor(Enabled ? clWindow : clBtnFace);
            continue;
        }
        // Every colour group, so that the colour also shows while disabled.
        QPalette Palette = Control->palette();
        if (qobject_cast<QLabel*>(Control)) {
            Palette.setColor(QPalette::WindowText, ColorToQColor(Enabled ? clWindowText : clGrayText));
        } else {
            const QColor Back = ColorToQColor(Enabled ? clWindow : clBtnFace);
            Palette.setColor(QPalette::Base, Back);
            Palette.setColor(QPalette::Window, Back);
        }
        Control->setPalette(Palette);
    }
}

QWidget* FindControlAt(QWidget* Parent, const QPoint& Point)
{
    if (!Parent)
        return nullptr;
    // Children are kept in stacking order: the last one is on top.
    const QObjectList& Children = Parent->children();
    for (auto It = Children.crbegin(); It != Children.crend(); ++It) {
        auto* Child = qobject_cast<QWidget*>(*It);
        if (!Child || Child->isWindow() || !Child->isVisibleTo(Parent) || !Child->geometry().contains(Point))
            continue;
        QWidget* Deeper = FindControlAt(Child, Point - Child->pos());
        return Deeper ? Deeper : Child;
    }
    return nullptr;
}

// ---------------------------------------------------------------- engine texts

QString LoadEngineString(int Id)
{
    return LocaleInstance()->LoadStr(Id);
}

QList<int> EngineStringIds()
{
    QList<int> Ids;
    Ids.reserve(frEngineStringCount);
    for (int i = 0; i < frEngineStringCount; ++i)
        Ids.append(frEngineStringTable[i].Id);
    return Ids;
}

// ---------------------------------------------------------------- components

void frRegisterGlobalComponent(QObject* Component)
{
    if (Component && !RegisteredGlobals().contains(Component))
        RegisteredGlobals().append(Component);
}

void frUnregisterGlobalComponent(QObject* Component)
{
    RegisteredGlobals().removeAll(Component);
}

QList<QObject*> frGlobalComponents()
{
    QList<QObject*> Result;
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        for (QWidget* Window : QApplication::topLevelWidgets())
            Result.append(Window);
    RegisteredGlobals().removeAll(QPointer<QObject>());
    for (const QPointer<QObject>& Object : RegisteredGlobals())
        if (!Result.contains(Object.data()))
            Result.append(Object.data());
    return Result;
}

QObject* FindComponentByPath(QObject* Owner, const QString& Path)
{
    const QStringList Parts = Path.split(u'.');
    switch (Parts.size()) {
    case 1:
        return FindOwned(Owner, Parts[0]);
    case 2:
        return FindOwned(FindGlobal(Parts[0]), Parts[1]);
    case 3:
        return FindOwned(FindOwned(FindGlobal(Parts[0]), Parts[1]), Parts[2]);
    default:
        return nullptr;
    }
}

QObject* FindReportComponent(const QString& Path)
{
    return CurReport ? FindComponentByPath(CurReport->parent(), Path) : nullptr;
}

void GetComponents(QObject* Owner, const QMetaObject& ClassRef, TStrings& List, QObject* Skip)
{
    List.BeginUpdate();
    List.Clear();
    auto AddOwned = [&](QObject* From, const QString& Prefix) {
        for (QObject* Object : From->children())
            if (Object != Skip && !ComponentName(Object).isEmpty() && Object->metaObject()->inherits(&ClassRef))
                List.Add(Prefix + ComponentName(Object));
    };
    if (Owner)
        AddOwned(Owner, QString());
    const QList<QObject*> Globals = frGlobalComponents();
    QList<QObject*> Modules;
    for (QObject* Global : Globals) {
        Modules.append(Global);
        for (QObject* Held : HeldDataModules(Global))
            if (!Globals.contains(Held))
                Modules.append(Held);
    }
    for (QObject* Module : Modules)
        if (Module != Owner && !ComponentName(Module).isEmpty())
            AddOwned(Module, ComponentName(Module) + u'.');
    List.EndUpdate();
}

// ---------------------------------------------------------------- text

double StrToFloatAnySep(const QString& Text)
{
    return StrToFloatAnySep(Text, FormatSettings());
}

double StrToFloatAnySep(const QString& Text, const TFormatSettings& Settings)
{
    QString S = Text;
    for (QChar& C : S)
        if (C == u',' || C == u'.')
            C = Settings.DecimalSeparator;
    return StrToFloat(Trim(S), Settings);
}

QString StripQuotes(const QString& Text)
{
    if (Text.size() >= 3 && Text.front() == u'"' && Text.back() == u'"')
        return Text.mid(1, Text.size() - 2);
    return Text;
}

void SplitSemicolons(const QString& Text, TStrings& List)
{
    List.BeginUpdate();
    List.Clear();
    qsizetype Start = 0;
    for (qsizetype i = 0; i < Text.size(); ++i)
        if (Text[i] == u';') {
            List.Add(Text.mid(Start, i - Start));
            Start = i + 1;
        }
    if (Start < Text.size())
        List.Add(Text.mid(Start));
    List.EndUpdate();
}

QString GetWindowsVersion()
{
    return QStringLiteral("NT");
}
