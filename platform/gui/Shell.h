// Opening a web address or a folder with the desktop's program for it. Tests
// install a handler to see what would be opened without starting a browser.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

// A web or mail address ("http://...", "mailto:..."), a file or a folder;
// false when the desktop refuses. Folders and files may be given as plain paths.
bool ShellOpen(const QString& Target);

// What ShellOpen hands the desktop: Target as an address when it begins with
// a scheme (a letter, then letters, digits, '+', '-' or '.', two characters
// at least, then ':'), else as a local path; a drive letter ("C:\...") is a path.
QUrl ShellTargetUrl(const QString& Target);

using TShellHandler = std::function<bool(const QString& Target)>;
// Returns the handler that was installed before.
TShellHandler SetShellHandler(TShellHandler Handler);
