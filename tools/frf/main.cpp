// tallybridge-frf OUT [--render DIR]: writes the eight report templates the
// business windows load (OUT/Money.frf ...); with --render, each template is
// also prepared over sample data and its first page drawn into DIR.
#include "tools/frf/Sample.h"
#include "tools/frf/Templates.h"

#include "platform/rtl/SysUtils.h"
#include "report/engine/FR_Class.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication App(argc, argv);
    const QStringList Args = App.arguments().mid(1);
    if (Args.isEmpty() || Args[0].startsWith(u'-')) {
        std::fprintf(stderr, "usage: tallybridge-frf OUT [--render DIR]\n");
        return 2;
    }
    const QString Out = Args[0];
    const qsizetype RenderAt = Args.indexOf(QStringLiteral("--render"));
    const QString RenderDir = RenderAt >= 0 ? Args.value(RenderAt + 1) : QString();
    if (!QDir().mkpath(Out) || (!RenderDir.isEmpty() && !QDir().mkpath(RenderDir))) {
        std::fprintf(stderr, "tallybridge-frf: cannot make the folder\n");
        return 1;
    }
    int Failed = 0;
    for (const QString& Name : TemplateNames()) {
        const QString Path = QDir(Out).filePath(Name + QStringLiteral(".frf"));
        try {
            TfrReport Report;
            LayOutTemplate(Name, Report);
            Report.SaveToFile(Path);
        } catch (const Exception& E) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(Path), qPrintable(E.Message()));
            ++Failed;
            continue;
        }
        if (!RenderDir.isEmpty() &&
            !RenderTemplate(Name, Path, QDir(RenderDir).filePath(QStringLiteral("template-") + Name + ".png")))
            ++Failed;
    }
    return Failed == 0 ? 0 : 1;
}
