#include "platform/gui/FileDialogs.h"

#include "platform/gui/ModalSeam.h"

#include <QDir>
#include <QFileInfo>

QStringList FileFilterToNameFilters(const QString& Filter)
{
    const QStringList Parts = Filter.split(u'|');
    QStringList Result;
    for (qsizetype I = 0; I + 1 < Parts.size(); I += 2) {
        QStringList Patterns;
        for (const QString& P : Parts[I + 1].split(u';', Qt::SkipEmptyParts)) {
            if (!P.trimmed().isEmpty())
                Patterns << P.trimmed();
        }
        if (!Patterns.isEmpty())
            Result << Parts[I].trimmed() + QStringLiteral(" (") + Patterns.join(u' ') + u')';
    }
    return Result;
}

TOpenDialog::TOpenDialog(QObject* AOwner) : QObject(AOwner)
{
}

bool TOpenDialog::Execute()
{
    TFileRequest R;
    R.Save = SaveMode();
    R.Title = FTitle;
    R.FileName = FFileName;
    R.InitialDir = FInitialDir;
    R.DefaultExt = FDefaultExt.startsWith(u'.') ? FDefaultExt.mid(1) : FDefaultExt;
    R.NameFilters = FileFilterToNameFilters(FFilter);
    R.FilterIndex = FFilterIndex;
    R.OverwritePrompt = R.Save && FOverwritePrompt;
    R.OwnFile = FOwnFile;
    const QString Answer = TModalSeam::AskFileName(R);
    FFilterIndex = R.FilterIndex;
    if (Answer.isEmpty())
        return false;
    QString Path = QFileInfo(Answer).isAbsolute() ? Answer : QDir(FInitialDir).absoluteFilePath(Answer);
    const QFileInfo Info(Path);
    if (!R.DefaultExt.isEmpty() && Info.suffix().isEmpty() && !Info.isDir() && !Path.endsWith(u'.'))
        Path += u'.' + R.DefaultExt;
    FFileName = QDir::cleanPath(Path);
    return true;
}
