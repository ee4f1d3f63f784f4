#include "platform/gui/GuiApplication.h"

#include "platform/gui/Application.h"
#include "platform/rtl/SysUtils.h"

#include <csignal>

namespace {

// A report that fails in turn (a broken message handler) is only logged:
// nothing may leave the event loop's own frame.
void Report(const std::exception& E) noexcept
{
    try {
        Application()->HandleException(E);
    } catch (const std::exception& Again) {
        qWarning("Error report failed: %s (reporting: %s)", Again.what(), E.what());
    } catch (...) {
        qWarning("Error report failed (reporting: %s)", E.what());
    }
}

} // namespace

TGuiApplication::TGuiApplication(int& Argc, char** Argv) : QApplication(Argc, Argv)
{
    // A write past the file-size limit fails (EFBIG) and its caller says so,
    // as a write to a full disk does; the signal would end the program
    // without a word and lose what was not saved.
    std::signal(SIGXFSZ, SIG_IGN);
}

TGuiApplication::~TGuiApplication() = default;

bool TGuiApplication::notify(QObject* Receiver, QEvent* Event)
{
    try {
        return QApplication::notify(Receiver, Event);
    } catch (const std::exception& E) {
        Report(E);
    } catch (...) {
        Report(Exception(QStringLiteral("Unknown exception")));
    }
    return false;
}
