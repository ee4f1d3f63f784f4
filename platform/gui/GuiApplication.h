// The Qt application object that the program and the test programs make.
// It adds two things to QApplication: an exception that escapes an event
// handler goes to the program's error report (Application()->HandleException)
// instead of unwinding into the event loop, which would end the program and
// lose the user's unsaved work (handlers still catch at their own edge where
// they can put things right; this is the net under all of them); and a write
// past the system's file-size limit fails like one to a full disk instead of
// ending the program by a signal.
#pragma once

#include <QApplication>

class TGuiApplication : public QApplication
{
public:
    TGuiApplication(int& Argc, char** Argv);
    ~TGuiApplication() override;

    bool notify(QObject* Receiver, QEvent* Event) override;
};
