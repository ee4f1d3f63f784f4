// One main for every test program: GUI tests need a QApplication, and they run
// on Qt's offscreen platform so that no display is needed.
#include <gtest/gtest.h>
#include <QApplication>

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
    ::testing::InitGoogleTest(&argc, argv);
    QApplication App(argc, argv);
    return RUN_ALL_TESTS();
}
