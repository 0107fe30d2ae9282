#include "core/recording/TimerManager.h"
#include "platform/TickCount.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using mvk::qvn::core::TimerManager;

namespace {

// Notes every call with the clock it saw; restarts timer 7 inside its call when asked.
struct Listener : TimerManager {
    void onTimer(int32_t id, uint32_t tick) override {
        calls.push_back({id, tick - start, mvk::platform::tickCount() - start});
        if (id == 7 && restartSevenWith > 0)
            service().addTimer(this, 7, restartSevenWith);
    }
    struct Call {
        int32_t id;
        uint32_t tick;
        uint32_t clock;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> calls;
    uint32_t start = 0;
    double restartSevenWith = 0;
};

class SimulatedClock : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(service.simulateClock(true)); }
    void TearDown() override {
        for (int32_t id : {5, 7})
            service.removeTimer(&listener, id);
        service.simulateClock(false);
    }

    int argc = 0;
    QCoreApplication application{argc, nullptr};
    TimerManager& service = TimerManager::service();
    Listener listener;
};

TEST_F(SimulatedClock, EachRunFiresTheTimerDueFirstWithTheClockMovedToItsDueTime) {
    listener.start = mvk::platform::tickCount();
    EXPECT_EQ(mvk::platform::tickCount(), listener.start) << "the clock stands still";
    service.addTimer(&listener, 5, 25);
    service.addTimer(&listener, 7, 50.9);
    EXPECT_TRUE(QAbstractEventDispatcher::instance()->registeredTimers(&service).isEmpty());
    EXPECT_FALSE(service.simulateClock(false)) << "refused while timers run";

    for (int run = 0; run < 5; ++run)
        ASSERT_TRUE(service.runNextTimer());
    // Due together at 50 ms and at 100 ms: the one that waited longer goes first.
    using Call = Listener::Call;
    EXPECT_EQ(listener.calls, (std::vector<Call>{
                                  {5, 25, 25}, {7, 50, 50}, {5, 50, 50}, {5, 75, 75}, {7, 100, 100}}));

    // A timer restarted inside its call counts from that moment; a stopped one never fires.
    listener.calls.clear();
    listener.restartSevenWith = 5;
    service.removeTimer(&listener, 5);
    ASSERT_TRUE(service.runNextTimer());
    ASSERT_TRUE(service.runNextTimer());
    EXPECT_EQ(listener.calls, (std::vector<Call>{{7, 150, 150}, {7, 155, 155}}));
    service.removeTimer(&listener, 7);
    EXPECT_FALSE(service.runNextTimer());
    EXPECT_EQ(mvk::platform::tickCount() - listener.start, 155u);
}

} // namespace
