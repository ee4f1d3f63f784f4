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

QUrl ShellTargetUrl(const QString& Target)
{
    const qsizetype Colon = Target.indexOf(u':');
    bool Scheme = Colon >= 2 && Target[0].isLetter() && Target[0].unicode() < 0x80;
    for (qsizetype i = 1; Scheme && i < Colon; ++i) {
        const char16_t C = Target[i].unicode();
        Scheme = C < 0x80 && (QChar(C).isLetterOrNumber() || C == u'+' || C == u'-' || C == u'.');
    }
    return Scheme ? QUrl(Target) : QUrl::fromLocalFile(Target);
}

bool ShellOpen(const QString& Target)
{
    if (Handler())
        return Handler()(Target);
    return QDesktopServices::openUrl(ShellTargetUrl(Target));
}

TShellHandler SetShellHandler(TShellHandler Value)
{
    TShellHandler Old = std::move(Handler());
    Handler() = std::move(Value);
    return Old;
}
