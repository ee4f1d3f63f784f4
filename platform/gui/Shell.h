// Opening a web address or a folder with the desktop's program for it. Tests
// install a handler to see what would be opened without starting a browser.
#pragma once

#include <QString>
#include <functional>

// A web address ("http://..."), a file or a folder; false when the desktop
// refuses. Folders and files may be given as plain paths.
bool ShellOpen(const QString& Target);

using TShellHandler = std::function<bool(const QString& Target)>;
// Returns the handler that was installed before.
TShellHandler SetShellHandler(TShellHandler Handler);
