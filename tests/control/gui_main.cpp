// The window tests need a Qt application before the first control is made.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <QApplication>

int main(int argc, char** argv)
{
    // Listing the tests runs this too, without the test's environment.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
