// Test entry point: a QApplication on whatever platform QT_QPA_PLATFORM names
// (offscreen under CTest), created before any test runs.
#include <gtest/gtest.h>
#include <QApplication>

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
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
