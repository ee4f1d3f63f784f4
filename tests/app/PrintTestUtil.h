// Printing through the business windows in tests: the program folder's
// templates copied beside the test database, the progress window's work run
// without an event loop, and a prepared report as text.
#pragma once

#include "report/engine/FR_Class.h"
#include "report/engine/FR_EMFPages.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Preview.h"
#include "report/engine/FR_PrintDlg.h"
#include "report/engine/FR_Progress.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

inline void InstallTemplates(const QString& AppPath)
{
    const QDir From(QCoreApplication::applicationDirPath() + QStringLiteral("/Frf"));
    QDir().mkpath(AppPath + QStringLiteral("Frf"));
    for (const QString& Name : From.entryList({QStringLiteral("*.frf")}))
        QFile::copy(From.filePath(Name), AppPath + QStringLiteral("Frf/") + Name);
}

// True when Form is the progress window, whose work has then run.
inline bool RunProgress(TForm* Form)
{
    if (!dynamic_cast<TfrProgressForm*>(Form))
        return false;
    QCoreApplication::sendPostedEvents();
    return true;
}

// Every printed text of every prepared page, "|" between views.
inline QString PreparedText(TfrReport* Report)
{
    QStringList Texts;
    TfrEMFPages* Pages = Report->EMFPages();
    for (int i = 0; i < Pages->Count(); ++i) {
        Pages->ObjectsToPage(i);
        const TfrPage* Page = Pages->Items(i)->PageObject.get();
        for (int v = 0; Page && v < Page->Count(); ++v)
            Texts << Page->Objects(v)->Memo()->Text().remove(QChar(1)).trimmed();
    }
    return Texts.join(u'|');
}

// A user at the preview window who prints every page to the PDF file Pdf on
// the virtual printer; false when Form is not the preview.
inline bool PrintPreviewToPdf(TForm* Form, const QString& Pdf)
{
    auto* Preview = dynamic_cast<TfrPreviewForm*>(Form);
    if (!Preview)
        return false;
    TModalHandlers Handlers([](TForm* Dialog) { return dynamic_cast<TfrPrintForm*>(Dialog) ? mrOk : mrCancel; },
                            nullptr, [&](const TFileRequest&) { return Pdf; });
    Preview->PrintBtnClick();
    return true;
}

// The text of a PDF file as pdftotext reads it, line by line as laid out,
// without blanks (gaps between runs become nothing); empty without the tool.
inline QString PdfText(const QString& Pdf)
{
    QProcess P;
    P.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), Pdf, QStringLiteral("-")});
    P.waitForFinished();
    return QString::fromUtf8(P.readAllStandardOutput()).remove(u' ');
}
