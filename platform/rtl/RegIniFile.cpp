// The per-user store of the report engine and designer. Registry keys become
// QSettings groups; names match without regard to case as they did in the
// registry, so a value written as "isVisible" is found as "IsVisible".
#include "platform/rtl/IniFiles.h"

#include <QSettings>
#include <QStandardPaths>

namespace {

QString& StorageFolderOverride()
{
    static QString Folder;
    return Folder;
}

// "\\Software\\Pagewright\\X" -> {"Software", "Pagewright", "X"}.
QStringList PathParts(const QString& Path)
{
    QString P = Path;
    P.replace(u'/', u'\\');
    QStringList Parts = P.split(u'\\', Qt::SkipEmptyParts);
    for (QString& Part : Parts)
        Part = Part.trimmed();
    Parts.removeAll(QString());
    return Parts;
}

// A value name cannot hold a group separator.
QString CleanIdent(const QString& Ident)
{
    QString Result = Ident;
    Result.replace(u'/', u'_');
    Result.replace(u'\\', u'_');
    return Result;
}

QString MatchName(const QStringList& Existing, const QString& Name)
{
    if (Existing.contains(Name))
        return Name;
    for (const QString& E : Existing)
        if (E.compare(Name, Qt::CaseInsensitive) == 0)
            return E;
    return Name;
}

} // namespace

TRegIniFile::TRegIniFile(const QString& Path)
    : FPath(PathParts(Path).join(u'/'))
    , FSettings(std::make_unique<QSettings>(StorageFolder() + QStringLiteral("/registry.ini"),
                                            QSettings::IniFormat))
{
}

TRegIniFile::~TRegIniFile()
{
    FSettings->sync();
}

void TRegIniFile::SetStorageFolder(const QString& Folder)
{
    StorageFolderOverride() = Folder;
}

QString TRegIniFile::StorageFolder()
{
    const QString& Folder = StorageFolderOverride();
    if (!Folder.isEmpty())
        return Folder;
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

QString TRegIniFile::Group(const QString& Section) const
{
    QStringList Parts = PathParts(FPath);
    Parts += PathParts(Section);
    QString Resolved;
    for (const QString& Part : std::as_const(Parts)) {
        FSettings->beginGroup(Resolved);
        const QStringList Children = FSettings->childGroups();
        FSettings->endGroup();
        const QString Name = MatchName(Children, Part);
        Resolved = Resolved.isEmpty() ? Name : Resolved + u'/' + Name;
    }
    return Resolved;
}

QString TRegIniFile::Key(const QString& Group, const QString& Ident) const
{
    FSettings->beginGroup(Group);
    const QStringList Keys = FSettings->childKeys();
    FSettings->endGroup();
    const QString Name = MatchName(Keys, CleanIdent(Ident));
    return Group.isEmpty() ? Name : Group + u'/' + Name;
}

QString TRegIniFile::ReadString(const QString& Section, const QString& Ident,
                                const QString& Default) const
{
    const QVariant V = FSettings->value(Key(Group(Section), Ident));
    if (!V.isValid())
        return Default;
    // A hand-edited value with commas comes back as a list.
    if (V.typeId() == QMetaType::QStringList)
        return V.toStringList().join(QStringLiteral(", "));
    return V.toString();
}

int TRegIniFile::ReadInteger(const QString& Section, const QString& Ident, int Default) const
{
    bool Ok = false;
    const int Value = ReadString(Section, Ident, QString()).trimmed().toInt(&Ok);
    return Ok ? Value : Default;
}

bool TRegIniFile::ReadBool(const QString& Section, const QString& Ident, bool Default) const
{
    const QString Text = ReadString(Section, Ident, QString()).trimmed();
    if (Text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (Text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool Ok = false;
    const int Value = Text.toInt(&Ok);
    return Ok ? Value != 0 : Default;
}

void TRegIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value)
{
    FSettings->setValue(Key(Group(Section), Ident), Value);
}

void TRegIniFile::WriteInteger(const QString& Section, const QString& Ident, int Value)
{
    FSettings->setValue(Key(Group(Section), Ident), Value);
}

void TRegIniFile::WriteBool(const QString& Section, const QString& Ident, bool Value)
{
    FSettings->setValue(Key(Group(Section), Ident), Value ? 1 : 0);
}

bool TRegIniFile::ValueExists(const QString& Section, const QString& Ident) const
{
    return FSettings->contains(Key(Group(Section), Ident));
}

void TRegIniFile::EraseSection(const QString& Section)
{
    const QString G = Group(Section);
    // An empty section would name the whole store, not only this root.
    if (!G.isEmpty())
        FSettings->remove(G);
}

void TRegIniFile::DeleteKey(const QString& Section, const QString& Ident)
{
    FSettings->remove(Key(Group(Section), Ident));
}

QStringList TRegIniFile::ReadSection(const QString& Section) const
{
    FSettings->beginGroup(Group(Section));
    QStringList Keys = FSettings->childKeys();
    FSettings->endGroup();
    return Keys;
}

void TRegIniFile::Flush()
{
    FSettings->sync();
}
