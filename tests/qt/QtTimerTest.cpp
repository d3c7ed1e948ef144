// Tests of the timer adapter on the Qt event loop.
#include "qt/QtTimer.h"

#include "EventLoop.h"

#include <gtest/gtest.h>

#include <chrono>

namespace qm::qt
{
namespace
{

using namespace std::chrono_literals;

TEST(QtTimerTest, TicksOnTheEventLoopUntilStopped)
{
    qttest::ensureApplication();
    QtTimer timer(10);
    int ticks = 0;
    timer.setHandler([&] { ++ticks; });
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(timer.interval(), 10);

    timer.start();

    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(ticks, 0);
    ASSERT_TRUE(qttest::waitUntil([&] { return ticks >= 3; }));
    timer.stop();
    const int stoppedAt = ticks;
    qttest::runEventsFor(50ms);
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(ticks, stoppedAt);
}

} // namespace
} // namespace qm::qt
