// Test entry point: a QApplication on whatever platform QT_QPA_PLATFORM names
// (offscreen under CTest), created before any test runs. The user's own
// settings (database aliases) are out of reach: XDG_CONFIG_HOME points at an
// empty folder that lives as long as the run. An executable that links the
// whole engine starts it as a program does.
#ifdef BRP_LINKS_REPORT_ENGINE
#include "ReportEngine.h"
#endif
#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef BRP_DEFAULT_SOURCE_DIR
    if (qEnvironmentVariableIsEmpty("BRP_SOURCE_DIR"))
        qputenv("BRP_SOURCE_DIR", BRP_DEFAULT_SOURCE_DIR);
    if (qEnvironmentVariableIsEmpty("BRP_BINARY_DIR"))
        qputenv("BRP_BINARY_DIR", BRP_DEFAULT_BINARY_DIR);
#endif
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    // The embedded database engine's lock files: private to this run, so a
    // program left running by the user cannot hold up the tests.
    QTemporaryDir locks;
    qputenv("FIREBIRD_LOCK", QFile::encodeName(locks.path()));
    QApplication app(argc, argv);
#ifdef BRP_LINKS_REPORT_ENGINE
    brp::StartReportEngine(QCoreApplication::applicationName());
#endif
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
#ifdef BRP_LINKS_REPORT_ENGINE
    brp::StopReportEngine();
#endif
    return rc;
}
