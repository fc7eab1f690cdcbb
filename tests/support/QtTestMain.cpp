#include "support/TModalWatch.h"

#include <QApplication>
#include <gtest/gtest.h>

// For suites of subsystems that stand on Qt alone: a QApplication on the
// offscreen platform unless a display platform was asked for explicitly. A
// modal window left open fails the test instead of waiting (TModalWatch).
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication App(argc, argv);
    TModalWatch Watch;
    return RUN_ALL_TESTS();
}
