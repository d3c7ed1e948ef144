// Runs the desktop tests offscreen (QM_OFFSCREEN) or on the X screen with a window manager that with-xvfb.sh gives.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
#ifdef QM_OFFSCREEN
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
