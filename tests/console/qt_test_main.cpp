// GoogleTest under a Qt application: widgets need one, and the main thread's queue is driven
// from its event loop as in the program.
#include <QApplication>
#include <gtest/gtest.h>
#include <stdlib.h>

#include "console/main_thread_pump.h"

int main(int argc, char** argv)
{
    // Test discovery runs the program outside ctest's environment too.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    TMainThreadPump pump;
    return RUN_ALL_TESTS();
}
