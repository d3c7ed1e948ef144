// Runs the tests that need a real X screen with a window manager (tests/gui/with-xvfb.sh provides one): the
// selection clipboard, window frames and the stacking of windows exist only there.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
