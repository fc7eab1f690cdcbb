#include <QApplication>
#include <gtest/gtest.h>

#include "platform/Exception.h"
#include "platform/ui/TApplication.h"
#include "platform/ui/TScreen.h"
#include "support/TModalWatch.h"

// Every suite runs with a QApplication on the offscreen platform unless a
// display platform was asked for explicitly, and with the platform's
// application and screen objects in place, as a host would have them.
// An error that reaches the application fails the test that caused it, at
// once: a host would show it in a modal box, which nobody answers here. A
// test that expects such an error installs a handler of its own.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication App(argc, argv);
    TModalWatch Watch;
    TApplication OwnApplication;
    OwnApplication.OnException = [](QObject*, const Exception& E) {
        ADD_FAILURE() << "an error reached the application's handler: "
                      << E.ClassName().toStdString() << ": " << E.Message().toStdString();
    };
    TScreen OwnScreen;
    Application = &OwnApplication;
    Screen = &OwnScreen;
    const int Result = RUN_ALL_TESTS();
    Application = nullptr;
    Screen = nullptr;
    return Result;
}
