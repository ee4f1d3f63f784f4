// One main for every test program: GUI tests need a QApplication, and they run
// on Qt's offscreen platform so that no display is needed.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
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
