// The transfer's progress in the status bar: drawn at most every few tens of milliseconds, yet never left behind.
#include "app/QtUi.h"

#include <QProgressBar>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace qm::app
{
namespace
{

TEST(TransferProgressTest, ABurstOfCountsEndsShowingTheLatestAndTheEndHidesTheBarForGood)
{
    QWidget window;
    auto* bar = new QProgressBar(&window);
    window.show();
    QtUi ui(window, *bar, [] {});

    ui.showProgress(0, 129);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->text(), "0 of 129 bytes");
    for (int done = 1; done <= 100; ++done)
        ui.showProgress(done, 129);
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->value() == 100; }, 5000)) << bar->value();
    EXPECT_EQ(bar->text(), "100 of 129 bytes");

    ui.showProgress(128, 129);
    ui.showProgress(129, 129);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(bar->value(), 129);
    // No count held back from before the end comes afterwards.
    QTest::qWait(3 * QtUi::kProgressIntervalMs);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(bar->value(), 129);

    // The next transfer shows its first count at once.
    ui.showProgress(0, 131);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->text(), "0 of 131 bytes");
}

} // namespace
} // namespace qm::app
