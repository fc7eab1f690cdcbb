#include <QApplication>
#include <gtest/gtest.h>

#include "platform/ui/TApplication.h"
#include "platform/ui/TScreen.h"

// Every suite runs with a QApplication on the offscreen platform unless a
// display platform was asked for explicitly, and with the framework's
// application and screen objects in place, as a host would have them.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication App(argc, argv);
    TApplication OwnApplication;
    TScreen OwnScreen;
    Application = &OwnApplication;
    Screen = &OwnScreen;
    const int Result = RUN_ALL_TESTS();
    Application = nullptr;
    Screen = nullptr;
    return Result;
}
