// One main for every test program: GUI tests need a QApplication, and they run
// on Qt's offscreen platform so that no display is needed; a program built with
// TB_TEST_XVFB runs on the xcb platform over a virtual display of its own.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#ifdef TB_TEST_XVFB
#include "XvfbDisplay.h"
#include <cstring>
#endif
#ifdef TB_GUI_APPLICATION
#include "platform/gui/GuiApplication.h"
// Programs over the GUI layer run under the program's own application
// object, so that an exception escaping an event handler is reported as in
// the program.
using TTestApplication = TGuiApplication;
#else
using TTestApplication = QApplication;
#endif

int main(int argc, char** argv)
{
#ifdef TB_TEST_XVFB
    // This program's tests show real windows, on an X display of its own;
    // listing them needs none.
    TXvfbDisplay Display;
    bool Listing = false;
    for (int i = 1; i < argc; ++i)
        Listing = Listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
    if (!Listing && !Display.Start()) {
        std::fprintf(stderr, "No X display for the tests: %s\n", qPrintable(Display.Error()));
        return 1;
    }
#endif
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef TB_TEST_FONTS_CONF
    // Text is measured and drawn with the fonts the build installs, not with
    // whatever else this machine has (cmake/TestFonts.cmake).
    if (qEnvironmentVariableIsEmpty("FONTCONFIG_FILE"))
        qputenv("FONTCONFIG_FILE", TB_TEST_FONTS_CONF);
#endif
    // Settings the program keeps in the user's configuration folder go to a
    // folder of this process's own: no test reads what an earlier run left
    // there, and none writes into the home folder.
    QTemporaryDir ConfigHome;
    if (!ConfigHome.isValid()) {
        std::fprintf(stderr, "Cannot make a temporary configuration folder\n");
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(ConfigHome.path()));
    ::testing::InitGoogleTest(&argc, argv);
    TTestApplication App(argc, argv);
    return RUN_ALL_TESTS();
}
