#include "core/recording/TimerManager.h"
#include "platform/TickCount.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using mvk::qvn::core::TimerManager;

namespace {

struct Listener : TimerManager {
    void onTimer(int32_t id, uint32_t tick) override {
        calls.emplace_back(id, tick);
        if (stopInside)
            service().removeTimer(this, id);
    }
    std::vector<std::pair<int32_t, uint32_t>> calls;
    bool stopInside = false;
};

class TimerManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        mvk::platform::setTickSource([] { return 4242u; });
    }
    void TearDown() override {
        for (int32_t id : {5, 6, 7}) {
            service.removeTimer(&first, id);
            service.removeTimer(&second, id);
        }
        mvk::platform::setTickSource({});
    }
    // Zero-interval timers fire on every pass of the event loop.
    static void pass() { QCoreApplication::processEvents(); }
    QList<QAbstractEventDispatcher::TimerInfo> qtTimers() const {
        return QAbstractEventDispatcher::instance()->registeredTimers(&service);
    }

    int argc = 0;
    QCoreApplication application{argc, nullptr};
    TimerManager& service = TimerManager::service();
    Listener first;
    Listener second;
};

TEST_F(TimerManagerTest, IdsRouteToTheirListenersRestartsReplaceAndUnknownStopsDoNothing) {
    service.addTimer(&first, 5, 0);
    service.addTimer(&second, 7, 0.9); // truncated to 0 ms
    pass();
    EXPECT_EQ(first.calls, (std::vector<std::pair<int32_t, uint32_t>>{{5, 4242u}}));
    EXPECT_EQ(second.calls, (std::vector<std::pair<int32_t, uint32_t>>{{7, 4242u}}));

    service.addTimer(&first, 5, 250.7);
    ASSERT_EQ(qtTimers().size(), 2);
    EXPECT_EQ(service.runningCount(), 2);
    service.removeTimer(&first, 99); // never started
    service.removeTimer(&second, 5); // someone else's id
    service.removeTimer(&second, 7);
    ASSERT_EQ(qtTimers().size(), 1);
    EXPECT_EQ(qtTimers()[0].interval, 250);
    service.removeTimer(&first, 5);
    EXPECT_TRUE(qtTimers().isEmpty());
    // An interval that would overflow a Qt timer is held at a day.
    service.addTimer(&first, 6, 1e12);
    ASSERT_EQ(qtTimers().size(), 1);
    EXPECT_EQ(qtTimers()[0].interval, TimerManager::LongestInterval);
}

TEST_F(TimerManagerTest, AListenerThatStopsItsTimerInsideTheCallIsNotCalledAgainUntilRestarted) {
    first.stopInside = true;
    service.addTimer(&first, 5, 0);
    service.addTimer(&first, 6, 0);
    pass();
    pass();
    EXPECT_EQ(first.calls.size(), 2u);
    EXPECT_TRUE(qtTimers().isEmpty());
    service.addTimer(&first, 5, 0);
    pass();
    EXPECT_EQ(first.calls.size(), 3u);
}

} // namespace
