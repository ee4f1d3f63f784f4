#include "platform/gui/Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

TShellHandler& Handler()
{
    static TShellHandler H;
    return H;
}

} // namespace

bool ShellOpen(const QString& Target)
{
    if (Handler())
        return Handler()(Target);
    const QUrl Url = Target.contains(QLatin1String("://")) ? QUrl(Target) : QUrl::fromLocalFile(Target);
    return QDesktopServices::openUrl(Url);
}

TShellHandler SetShellHandler(TShellHandler Value)
{
    TShellHandler Old = std::move(Handler());
    Handler() = std::move(Value);
    return Old;
}
