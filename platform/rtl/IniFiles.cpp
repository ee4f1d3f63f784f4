// The private-profile reader and writer. A file is read whole into lines that
// keep their own line ends, so that a write changes only the line it must.
#include "platform/rtl/IniFiles.h"

#include "platform/rtl/GbkText.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <limits>

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");

struct TProfile
{
    QStringList Lines;     // without their line ends
    QStringList Endings;   // the end of each line; the last may be empty
    bool Bom = false;
    QString Ending = QStringLiteral("\r\n"); // for new lines: the file's first line end
};

bool SameName(QStringView A, QStringView B)
{
    return A.compare(B, Qt::CaseInsensitive) == 0;
}

// A section header gives its name; anything else gives a null view.
QStringView SectionName(const QString& Line)
{
    const QStringView T = QStringView(Line).trimmed();
    if (!T.startsWith(u'['))
        return {};
    const qsizetype Close = T.lastIndexOf(u']');
    const QStringView Name = Close > 0 ? T.mid(1, Close - 1) : T.mid(1);
    const QStringView Trimmed = Name.trimmed();
    return Trimmed.isNull() ? QStringView(u"") : Trimmed;
}

bool IsComment(const QString& Line)
{
    return QStringView(Line).trimmed().startsWith(u';');
}

// A key line gives its trimmed key; comments, headers and lines without '=' give null.
QStringView KeyName(const QString& Line)
{
    if (IsComment(Line) || !SectionName(Line).isNull())
        return {};
    const qsizetype Eq = Line.indexOf(u'=');
    if (Eq < 0)
        return {};
    const QStringView Key = QStringView(Line).left(Eq).trimmed();
    return Key.isEmpty() ? QStringView() : Key;
}

QString KeyValue(const QString& Line)
{
    QString Value = Line.mid(Line.indexOf(u'=') + 1).trimmed();
    if (Value.size() >= 2 && (Value.front() == u'"' || Value.front() == u'\'')
        && Value.back() == Value.front())
        Value = Value.mid(1, Value.size() - 2);
    return Value;
}

QString DecodeProfile(const QByteArray& Bytes, bool& Bom)
{
    QByteArrayView View(Bytes);
    Bom = View.startsWith(Utf8Bom);
    if (Bom)
        View = View.sliced(Utf8Bom.size());
    QStringDecoder Utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString Text = Utf8.decode(View);
    if (!Utf8.hasError())
        return Text;
    // An older file in the system code page: keep its text rather than losing it.
    return FromGbk(View.constData(), View.size());
}

void SplitLines(const QString& Text, TProfile& Profile)
{
    bool EndingSeen = false;
    qsizetype I = 0;
    const qsizetype N = Text.size();
    while (I < N) {
        const qsizetype Start = I;
        while (I < N && Text.at(I) != u'\r' && Text.at(I) != u'\n')
            ++I;
        const qsizetype EndStart = I;
        if (I < N && Text.at(I) == u'\r')
            ++I;
        if (I < N && Text.at(I) == u'\n')
            ++I;
        Profile.Lines.append(Text.mid(Start, EndStart - Start));
        Profile.Endings.append(Text.mid(EndStart, I - EndStart));
        if (!EndingSeen && I > EndStart) {
            Profile.Ending = Profile.Endings.back();
            EndingSeen = true;
        }
    }
}

// Reads the file; a missing file is an empty profile. False when it exists
// but cannot be read.
bool LoadProfile(const QString& FileName, TProfile& Profile, QByteArray* Raw = nullptr)
{
    QFile File(FileName);
    if (!File.exists())
        return true;
    if (!File.open(QIODevice::ReadOnly))
        return false;
    const QByteArray Bytes = File.readAll();
    if (File.error() != QFileDevice::NoError)
        return false;
    if (Raw)
        *Raw = Bytes;
    SplitLines(DecodeProfile(Bytes, Profile.Bom), Profile);
    return true;
}

bool SaveProfile(const QString& FileName, const TProfile& Profile, const QByteArray& Raw)
{
    QString Text;
    for (qsizetype I = 0; I < Profile.Lines.size(); ++I) {
        Text += Profile.Lines.at(I);
        Text += Profile.Endings.at(I);
    }
    QByteArray Bytes = Text.toUtf8();
    if (Profile.Bom)
        Bytes.prepend(Utf8Bom);
    if (Bytes == Raw && QFile::exists(FileName))
        return true;
    // QSaveFile writes beside the file and renames, so a crash leaves the old file.
    QSaveFile File(FileName);
    if (!File.open(QIODevice::WriteOnly))
        return false;
    if (File.write(Bytes) != Bytes.size())
        return false;
    return File.commit();
}

// Lines [First, End) of every section named Section, header excluded, in file order.
struct TSectionRange
{
    qsizetype Header = -1;
    qsizetype First = 0;
    qsizetype End = 0;
};

QList<TSectionRange> FindSections(const TProfile& Profile, QStringView Section)
{
    QList<TSectionRange> Result;
    for (qsizetype I = 0; I < Profile.Lines.size(); ++I) {
        const QStringView Name = SectionName(Profile.Lines.at(I));
        if (Name.isNull())
            continue;
        if (!Result.isEmpty() && Result.back().End < 0)
            Result.back().End = I;
        if (SameName(Name, Section))
            Result.append(TSectionRange{I, I + 1, -1});
    }
    if (!Result.isEmpty() && Result.back().End < 0)
        Result.back().End = Profile.Lines.size();
    return Result;
}

qsizetype FindKey(const TProfile& Profile, const QList<TSectionRange>& Sections, QStringView Key)
{
    for (const TSectionRange& R : Sections)
        for (qsizetype I = R.First; I < R.End; ++I) {
            const QStringView Name = KeyName(Profile.Lines.at(I));
            if (!Name.isNull() && SameName(Name, Key))
                return I;
        }
    return -1;
}

void InsertLine(TProfile& Profile, qsizetype At, const QString& Line)
{
    // The line before the new one may be the file's last, without a line end.
    if (At > 0 && Profile.Endings.at(At - 1).isEmpty())
        Profile.Endings[At - 1] = Profile.Ending;
    Profile.Lines.insert(At, Line);
    Profile.Endings.insert(At, Profile.Ending);
}

void RemoveLines(TProfile& Profile, qsizetype First, qsizetype Count)
{
    Profile.Lines.remove(First, Count);
    Profile.Endings.remove(First, Count);
}

bool HasLineBreak(const QString& S)
{
    return S.contains(u'\r') || S.contains(u'\n');
}

bool ValidSection(const QString& Section)
{
    return !Section.isEmpty() && !HasLineBreak(Section) && !Section.contains(u']');
}

bool ValidKey(const QString& Key)
{
    return !Key.isEmpty() && !HasLineBreak(Key) && !Key.contains(u'=') && !Key.startsWith(u';')
        && !Key.startsWith(u'[');
}

// Rewrites a key line with a new value, keeping the key as written and the
// spacing up to the value.
QString ReplaceValue(const QString& Line, const QString& Value)
{
    qsizetype P = Line.indexOf(u'=') + 1;
    if (!Value.isEmpty())
        while (P < Line.size() && (Line.at(P) == u' ' || Line.at(P) == u'\t'))
            ++P;
    QString Prefix = Line.left(P);
    return Value.isEmpty() ? Prefix.trimmed() : Prefix + Value;
}

void AppendSection(TProfile& Profile, const QString& Section, const QString& Line)
{
    qsizetype At = Profile.Lines.size();
    if (At > 0 && !Profile.Lines.back().trimmed().isEmpty())
        InsertLine(Profile, At++, QString());
    InsertLine(Profile, At++, u'[' + Section + u']');
    InsertLine(Profile, At, Line);
}

} // namespace

QString GetPrivateProfileString(const QString& Section, const QString& Key,
                                const QString& Default, const QString& FileName)
{
    // The classic call drops trailing spaces from the default.
    qsizetype DefaultEnd = Default.size();
    while (DefaultEnd > 0 && Default.at(DefaultEnd - 1) == u' ')
        --DefaultEnd;
    const QString Fallback = Default.left(DefaultEnd);
    TProfile Profile;
    if (!LoadProfile(FileName, Profile))
        return Fallback;
    const qsizetype Line = FindKey(Profile, FindSections(Profile, Section.trimmed()), Key.trimmed());
    return Line >= 0 ? KeyValue(Profile.Lines.at(Line)) : Fallback;
}

int GetPrivateProfileInt(const QString& Section, const QString& Key, int Default,
                         const QString& FileName)
{
    const QString Value = GetPrivateProfileString(Section, Key, QString(), FileName);
    qsizetype End = 0;
    if (End < Value.size() && (Value.at(End) == u'-' || Value.at(End) == u'+'))
        ++End;
    const qsizetype DigitsStart = End;
    while (End < Value.size() && Value.at(End) >= u'0' && Value.at(End) <= u'9')
        ++End;
    if (End == DigitsStart)
        return Default;
    bool Ok = false;
    const qlonglong N = QStringView(Value).left(End).toLongLong(&Ok);
    if (!Ok || N > std::numeric_limits<int>::max() || N < std::numeric_limits<int>::min())
        return Default;
    return static_cast<int>(N);
}

bool WritePrivateProfileString(const QString& Section, const QString& Key,
                               const QString& Value, const QString& FileName)
{
    const QString S = Section.trimmed();
    const QString K = Key.trimmed();
    if (!ValidSection(S) || !ValidKey(K) || HasLineBreak(Value))
        return false;
    TProfile Profile;
    QByteArray Raw;
    if (!LoadProfile(FileName, Profile, &Raw))
        return false;
    const QList<TSectionRange> Sections = FindSections(Profile, S);
    const qsizetype Line = FindKey(Profile, Sections, K);
    if (Line >= 0) {
        Profile.Lines[Line] = ReplaceValue(Profile.Lines.at(Line), Value);
    } else if (!Sections.isEmpty()) {
        const TSectionRange& R = Sections.front();
        qsizetype At = R.First;
        for (qsizetype I = R.First; I < R.End; ++I)
            if (!KeyName(Profile.Lines.at(I)).isNull())
                At = I + 1;
        InsertLine(Profile, At, K + u'=' + Value);
    } else {
        AppendSection(Profile, S, K + u'=' + Value);
    }
    return SaveProfile(FileName, Profile, Raw);
}

bool DeletePrivateProfileKey(const QString& Section, const QString& Key, const QString& FileName)
{
    TProfile Profile;
    QByteArray Raw;
    if (!LoadProfile(FileName, Profile, &Raw))
        return false;
    const qsizetype Line = FindKey(Profile, FindSections(Profile, Section.trimmed()), Key.trimmed());
    if (Line < 0)
        return true;
    RemoveLines(Profile, Line, 1);
    return SaveProfile(FileName, Profile, Raw);
}

bool DeletePrivateProfileSection(const QString& Section, const QString& FileName)
{
    TProfile Profile;
    QByteArray Raw;
    if (!LoadProfile(FileName, Profile, &Raw))
        return false;
    const QList<TSectionRange> Sections = FindSections(Profile, Section.trimmed());
    if (Sections.isEmpty())
        return true;
    for (qsizetype I = Sections.size() - 1; I >= 0; --I) {
        const TSectionRange& R = Sections.at(I);
        RemoveLines(Profile, R.Header, R.End - R.Header);
    }
    return SaveProfile(FileName, Profile, Raw);
}

QStringList GetPrivateProfileSectionNames(const QString& FileName)
{
    TProfile Profile;
    QStringList Result;
    if (!LoadProfile(FileName, Profile))
        return Result;
    for (const QString& Line : std::as_const(Profile.Lines)) {
        const QStringView Name = SectionName(Line);
        if (Name.isNull())
            continue;
        const bool Known = std::any_of(Result.cbegin(), Result.cend(),
                                       [&](const QString& N) { return SameName(N, Name); });
        if (!Known)
            Result.append(Name.toString());
    }
    return Result;
}

QStringList GetPrivateProfileKeys(const QString& Section, const QString& FileName)
{
    TProfile Profile;
    QStringList Result;
    if (!LoadProfile(FileName, Profile))
        return Result;
    for (const TSectionRange& R : FindSections(Profile, Section.trimmed()))
        for (qsizetype I = R.First; I < R.End; ++I) {
            const QStringView Name = KeyName(Profile.Lines.at(I));
            if (Name.isNull())
                continue;
            const bool Known = std::any_of(Result.cbegin(), Result.cend(),
                                           [&](const QString& N) { return SameName(N, Name); });
            if (!Known)
                Result.append(Name.toString());
        }
    return Result;
}
