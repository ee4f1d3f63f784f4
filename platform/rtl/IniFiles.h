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

// Returns the value, or Default (without its trailing spaces) when the file,
// section or key is missing. Spaces around the value are trimmed, and a value
// enclosed in double or single quotes loses them. Lines starting with ';' are
// comments. A file that is not valid UTF-8 is read as GBK.
QString GetPrivateProfileString(const QString& Section, const QString& Key,
                                const QString& Default, const QString& FileName);
// The leading integer of the value ("12 pcs" gives 12), or Default.
int GetPrivateProfileInt(const QString& Section, const QString& Key, int Default,
                         const QString& FileName);
// Returns false when the file cannot be written (the file is left as it was).
// A new section goes at the end after a blank line; a new key after the last
// key of its section. The file is replaced atomically, keeps its other lines,
// its line ends (CRLF for a new file) and its byte-order mark, and is written
// in UTF-8. A section or key that would not read back (empty, line breaks, a
// ']' in a section, a '=' in a key) and a value with line breaks are refused.
bool WritePrivateProfileString(const QString& Section, const QString& Key,
                               const QString& Value, const QString& FileName);
// Removes a key (Value null in the classic call); returns false on a write failure.
bool DeletePrivateProfileKey(const QString& Section, const QString& Key, const QString& FileName);
// Removes a section with its lines (Key null in the classic call).
bool DeletePrivateProfileSection(const QString& Section, const QString& FileName);
// Names as written in the file, each once.
QStringList GetPrivateProfileSectionNames(const QString& FileName);
QStringList GetPrivateProfileKeys(const QString& Section, const QString& FileName);

class TRegIniFile
{
public:
    // Path like "Software\\Pagewright\\Tallybridge"; backslashes become groups,
    // and a leading backslash is ignored. Sections may hold backslashes too
    // ("Form\\TfrDesignerForm"). Section and value names match without regard
    // to case, as registry keys do. Everything lives in one file,
    // StorageFolder() + "/registry.ini".
    explicit TRegIniFile(const QString& Path);
    ~TRegIniFile();
    TRegIniFile(const TRegIniFile&) = delete;
    TRegIniFile& operator=(const TRegIniFile&) = delete;

    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const;
    int ReadInteger(const QString& Section, const QString& Ident, int Default) const;
    // Booleans are stored as 1 and 0; "true" and "false" are read too.
    bool ReadBool(const QString& Section, const QString& Ident, bool Default) const;
    void WriteString(const QString& Section, const QString& Ident, const QString& Value);
    void WriteInteger(const QString& Section, const QString& Ident, int Value);
    void WriteBool(const QString& Section, const QString& Ident, bool Value);
    bool ValueExists(const QString& Section, const QString& Ident) const;
    void EraseSection(const QString& Section);   // with its sub-sections
    void DeleteKey(const QString& Section, const QString& Ident);
    QStringList ReadSection(const QString& Section) const;   // the idents of a section
    void Flush();

    // Where the store lives; tests point it at a temporary folder.
    static void SetStorageFolder(const QString& Folder);
    static QString StorageFolder();

private:
    // The stored group path of a section, matching existing groups without regard to case.
    QString Group(const QString& Section) const;
    // The stored key of a value in Group, matching an existing key without regard to case.
    QString Key(const QString& Group, const QString& Ident) const;

    QString FPath;
    std::unique_ptr<QSettings> FSettings;
};
