// The window tests need one QApplication for the whole run, on the offscreen
// platform whatever display the caller has; a test that needs a window someone
// can see runs the program again on a virtual display, with
// TEXELO_TESTS_ON_DISPLAY set.

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("TEXELO_TESTS_ON_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
