// Entry point of the platform tests: a QCoreApplication, so that they link
// neither widgets nor the web engine, with the tests' settings kept away from
// the user's own.
#include <QCoreApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
