// tallybridge-art OUT [--sheet FILE.png [--zoom N]]
// Draws every picture the program loads by file name into OUT/Res and OUT/Faces.
// Exits non-zero when a picture cannot be written.

#include "ArtCatalogue.h"
#include "ArtFiles.h"
#include "ArtSheet.h"

#include "platform/rtl/SysUtils.h"

#include <QDir>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: tallybridge-art OUT [--sheet FILE.png [--zoom N]]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    // Fonts need a GUI application; no screen is needed to draw into images.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(argc, argv);

    const QStringList Args = App.arguments().mid(1);
    QString OutDir, SheetFile;
    int Zoom = 2;
    for (int I = 0; I < Args.size(); ++I) {
        if (Args[I] == QLatin1String("--sheet") && I + 1 < Args.size())
            SheetFile = Args[++I];
        else if (Args[I] == QLatin1String("--zoom") && I + 1 < Args.size())
            Zoom = qBound(1, Args[++I].toInt(), 8);
        else if (!Args[I].startsWith(QLatin1String("--")) && OutDir.isEmpty())
            OutDir = Args[I];
        else
            return Usage();
    }
    if (OutDir.isEmpty())
        return Usage();

    try {
        std::vector<TArtSheetEntry> Drawn;
        for (const TArtPicture& Picture : ArtCatalogue()) {
            const QImage Image = Picture.Draw();
            ArtFiles::WritePicture(QDir(OutDir).filePath(Picture.FileName), Image);
            if (!SheetFile.isEmpty())
                Drawn.push_back({Picture.FileName, Image});
        }
        if (!SheetFile.isEmpty() && !ArtSheet(Drawn, Zoom).save(SheetFile, "PNG"))
            throw EWriteError(QStringLiteral("Cannot write %1").arg(SheetFile));
    } catch (const Exception& E) {
        std::fprintf(stderr, "tallybridge-art: %s\n", qPrintable(E.Message()));
        return 1;
    }
    return 0;
}
