// The main of every test program: a QApplication on the offscreen platform in a
// temporary home, with every seam scripted so no window ever waits for a person.
#include "testSupport.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // A home for the whole run, so nothing a test does can reach the real one.
    QTemporaryDir runHome;
    qputenv("HOME", runHome.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (runHome.path() + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (runHome.path() + "/data").toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (runHome.path() + "/cache").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", runHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    resetSeams();
    return RUN_ALL_TESTS();
}
