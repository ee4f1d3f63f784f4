#include "platform/gui/Clipbrd.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

TClipboard* Clipboard()
{
    static TClipboard Instance;
    return &Instance;
}

QString ClipboardMimeType(const QString& Format)
{
    if (Format.contains(u'/'))
        return Format;
    if (Format.compare(QLatin1String("Rich Text Format"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("text/rtf");
    return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"").arg(Format);
}

void TClipboard::Open()
{
    if (FOpenCount++ == 0) {
        FHasText = false;
        FText.clear();
        FFormats.clear();
    }
}

void TClipboard::Close()
{
    if (FOpenCount > 0 && --FOpenCount == 0)
        Flush();
}

void TClipboard::Flush()
{
    auto* Data = new QMimeData;
    if (FHasText)
        Data->setText(FText);
    for (const auto& [Format, Bytes] : FFormats)
        Data->setData(ClipboardMimeType(Format), Bytes);
    QGuiApplication::clipboard()->setMimeData(Data); // the clipboard owns it
}

void TClipboard::SetAsText(const QString& Text)
{
    const bool Single = FOpenCount == 0;
    if (Single)
        Open();
    FHasText = true;
    FText = Text;
    if (Single)
        Close();
}

void TClipboard::SetFormat(const QString& Format, const QByteArray& Data)
{
    const bool Single = FOpenCount == 0;
    if (Single)
        Open();
    FFormats[Format] = Data;
    if (Single)
        Close();
}

void TClipboard::Clear()
{
    QGuiApplication::clipboard()->clear();
}

QString TClipboard::AsText() const
{
    const QMimeData* Data = QGuiApplication::clipboard()->mimeData();
    return Data && Data->hasText() ? Data->text() : QString();
}

QImage TClipboard::AsPicture() const
{
    const QMimeData* Data = QGuiApplication::clipboard()->mimeData();
    return Data && Data->hasImage() ? qvariant_cast<QImage>(Data->imageData()) : QImage();
}

void TClipboard::SetAsPicture(const QImage& Picture)
{
    QGuiApplication::clipboard()->setImage(Picture);
}

bool TClipboard::HasFormat(const QString& Format) const
{
    const QMimeData* Data = QGuiApplication::clipboard()->mimeData();
    if (!Data)
        return false;
    if (Format == QLatin1String("text/plain"))
        return Data->hasText();
    return Data->hasFormat(ClipboardMimeType(Format));
}

QByteArray TClipboard::GetFormat(const QString& Format) const
{
    const QMimeData* Data = QGuiApplication::clipboard()->mimeData();
    return Data ? Data->data(ClipboardMimeType(Format)) : QByteArray();
}

QStringList TClipboard::Formats() const
{
    const QMimeData* Data = QGuiApplication::clipboard()->mimeData();
    return Data ? Data->formats() : QStringList();
}
