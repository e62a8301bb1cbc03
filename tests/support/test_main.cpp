// Test entry point: a QApplication on whatever platform QT_QPA_PLATFORM names
// (offscreen under CTest), created before any test runs. The user's own
// settings (database aliases) are out of reach: XDG_CONFIG_HOME points at an
// empty folder that lives as long as the run.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
