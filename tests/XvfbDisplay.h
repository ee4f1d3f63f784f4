// A virtual X display of the test program's own, for the few tests that must
// see the real windows of the xcb platform (file dialogs Qt draws itself, not
// the offscreen platform's stand-ins). Xvfb picks a free display number and
// tells it through a pipe, so that programs running side by side never share
// one; it goes with this object, or with the test process if that dies first.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

class TXvfbDisplay
{
public:
    TXvfbDisplay() = default;
    ~TXvfbDisplay() { Stop(); }
    TXvfbDisplay(const TXvfbDisplay&) = delete;
    TXvfbDisplay& operator=(const TXvfbDisplay&) = delete;

    // Starts the server and points DISPLAY and the Qt platform at it. False
    // with Error set when there is no server (scripts/install-deps installs
    // the package "xvfb") or it does not come up within ten seconds.
    bool Start()
    {
        int Fds[2];
        if (pipe(Fds) != 0)
            return Fail(QStringLiteral("no pipe"));
        const pid_t Parent = getpid();
        FPid = fork();
        if (FPid < 0) {
            close(Fds[0]);
            close(Fds[1]);
            return Fail(QStringLiteral("no fork"));
        }
        if (FPid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (getppid() != Parent)
                _exit(1);
            close(Fds[0]);
            const int Null = open("/dev/null", O_RDWR);
            dup2(Null, 0);
            dup2(Null, 1);
            dup2(Null, 2);
            const QByteArray Fd = QByteArray::number(Fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", Fd.constData(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(Fds[1]);
        QByteArray Number;
        pollfd P{Fds[0], POLLIN, 0};
        while (!Number.endsWith('\n') && poll(&P, 1, 10000) > 0) {
            char C;
            if (read(Fds[0], &C, 1) != 1)
                break;
            Number += C;
        }
        close(Fds[0]);
        bool Ok = false;
        const int Display = Number.trimmed().toInt(&Ok);
        if (!Ok) {
            Stop();
            return Fail(QStringLiteral("Xvfb did not start (is the package xvfb installed?)"));
        }
        qputenv("DISPLAY", ":" + QByteArray::number(Display));
        qputenv("QT_QPA_PLATFORM", "xcb");
        // Nor a session bus: the desktop's would make the tests depend on
        // it, and libdbus keeps memory to the end once it goes looking.
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
        return true;
    }

    void Stop()
    {
        if (FPid <= 0)
            return;
        kill(FPid, SIGTERM);
        int Status = 0;
        waitpid(FPid, &Status, 0);
        FPid = -1;
    }

    QString Error() const { return FError; }

private:
    bool Fail(const QString& Text)
    {
        FError = Text;
        return false;
    }

    pid_t FPid = -1;
    QString FError;
};
