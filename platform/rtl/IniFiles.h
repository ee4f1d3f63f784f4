// Settings files. The private-profile pair behaves as the classic calls do:
// section and key match without regard to case, a missing file, section or key
// gives the default, writing creates the file and the section, replaces a value
// in place and keeps every other line and comment. Text is UTF-8; Chinese
// section and key names stay as they are.
//
// TRegIniFile is the per-user store that the report engine and designer use in
// place of the classic registry keys ("Software\Pagewright\..."): an INI file
// under the user's configuration folder through QSettings.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QSettings;

// Returns the value, or Default when the file, section or key is missing.
QString GetPrivateProfileString(const QString& Section, const QString& Key,
                                const QString& Default, const QString& FileName);
// Returns false when the file cannot be written (the file is left as it was).
bool WritePrivateProfileString(const QString& Section, const QString& Key,
                               const QString& Value, const QString& FileName);
// Removes a key (Value null in the classic call); returns false on a write failure.
bool DeletePrivateProfileKey(const QString& Section, const QString& Key, const QString& FileName);
QStringList GetPrivateProfileSectionNames(const QString& FileName);
QStringList GetPrivateProfileKeys(const QString& Section, const QString& FileName);

class TRegIniFile
{
public:
    // Path like "Software\\Pagewright\\Tallybridge"; backslashes become groups.
    explicit TRegIniFile(const QString& Path);
    ~TRegIniFile();
    TRegIniFile(const TRegIniFile&) = delete;
    TRegIniFile& operator=(const TRegIniFile&) = delete;

    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const;
    int ReadInteger(const QString& Section, const QString& Ident, int Default) const;
    bool ReadBool(const QString& Section, const QString& Ident, bool Default) const;
    void WriteString(const QString& Section, const QString& Ident, const QString& Value);
    void WriteInteger(const QString& Section, const QString& Ident, int Value);
    void WriteBool(const QString& Section, const QString& Ident, bool Value);
    bool ValueExists(const QString& Section, const QString& Ident) const;
    void EraseSection(const QString& Section);
    void DeleteKey(const QString& Section, const QString& Ident);
    QStringList ReadSection(const QString& Section) const;   // the idents of a section
    void Flush();

    // Where the store lives; tests point it at a temporary folder.
    static void SetStorageFolder(const QString& Folder);
    static QString StorageFolder();

private:
    QString Group(const QString& Section) const;

    QString FPath;
    std::unique_ptr<QSettings> FSettings;
};
