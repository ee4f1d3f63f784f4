// The clipboard. One copy puts every format into one QMimeData, so the
// formats of a copy always belong together; reads are by format name.
// "text/plain" stands for the classic text formats; other names (e.g. "Csv",
// "Rich Text Format", "VCLDBIF") travel as application formats.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <map>

class TClipboard
{
public:
    // Starts a copy; formats set until Close go out together.
    void Open();
    void Close();

    void SetAsText(const QString& Text);
    void SetFormat(const QString& Format, const QByteArray& Data);
    void Clear();

    QString AsText() const;
    // The picture on the clipboard; a null image when it holds none.
    QImage AsPicture() const;
    void SetAsPicture(const QImage& Picture);
    bool HasFormat(const QString& Format) const;
    QByteArray GetFormat(const QString& Format) const;
    QStringList Formats() const;

private:
    void Flush();
    int FOpenCount = 0;
    bool FHasText = false;
    QString FText;
    std::map<QString, QByteArray> FFormats;
};

TClipboard* Clipboard();
// The MIME type under which a classic format name travels.
QString ClipboardMimeType(const QString& Format);
