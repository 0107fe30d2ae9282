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
    static void SetUpTestSuite() {
        static int argc = 0;
        application = new QCoreApplication(argc, nullptr);
    }
    static void TearDownTestSuite() { delete application; }
    void SetUp() override { mvk::platform::setTickSource([this] { return tick; }); }
    void TearDown() override {
        service.removeTimer(&first, 5);
        service.removeTimer(&first, 6);
        service.removeTimer(&second, 7);
        mvk::platform::setTickSource({});
    }
    // Zero-interval timers fire on every pass of the event loop.
    static void pass() { QCoreApplication::processEvents(); }
    int qtTimersOfService() const {
        return static_cast<int>(
            QAbstractEventDispatcher::instance()->registeredTimers(&service).size());
    }

    TimerManager& service = TimerManager::service();
    Listener first;
    Listener second;
    uint32_t tick = 4242;
    static inline QCoreApplication* application = nullptr;
};

TEST_F(TimerManagerTest, RoutesEachIdToItsListenerWithTheTickCount) {
    service.addTimer(&first, 5, 0);
    service.addTimer(&second, 7, 0.9); // truncated to 0 ms
    pass();
    ASSERT_EQ(first.calls.size(), 1u);
    EXPECT_EQ(first.calls[0], std::make_pair(5, 4242u));
    ASSERT_EQ(second.calls.size(), 1u);
    EXPECT_EQ(second.calls[0].first, 7);
}

TEST_F(TimerManagerTest, RestartingAnIdLeavesOneQtTimerAndStoppingUnknownIdsChangesNothing) {
    service.addTimer(&first, 5, 0);
    service.addTimer(&first, 5, 250.7);
    EXPECT_EQ(service.runningCount(), 1);
    ASSERT_EQ(qtTimersOfService(), 1);
    EXPECT_EQ(QAbstractEventDispatcher::instance()->registeredTimers(&service)[0].interval, 250);

    service.removeTimer(&first, 99); // never started
    service.removeTimer(&second, 5); // someone else's id
    EXPECT_EQ(qtTimersOfService(), 1);
    service.removeTimer(&first, 5);
    EXPECT_EQ(qtTimersOfService(), 0);
    pass();
    EXPECT_TRUE(first.calls.empty());
}

TEST_F(TimerManagerTest, AListenerThatStopsItsTimerInsideTheCallIsNotCalledAgain) {
    first.stopInside = true;
    service.addTimer(&first, 5, 0);
    service.addTimer(&first, 6, 0);
    pass();
    pass();
    EXPECT_EQ(first.calls.size(), 2u);
    EXPECT_EQ(qtTimersOfService(), 0);
    // Started again, it fires again.
    service.addTimer(&first, 5, 0);
    pass();
    EXPECT_EQ(first.calls.size(), 3u);
}

} // namespace
