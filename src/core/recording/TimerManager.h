#pragma once
// Numbered, re-armable timers on the GUI thread without each object owning a Qt timer. One
// process-wide TimerManager is the service: it owns the Qt timers and routes their events.
// Objects that want timer calls derive from TimerManager too and override onTimer.
#include <QObject>

#include <cstdint>
#include <map>
#include <utility>

namespace mvk::qvn::core {

class TimerManager : public QObject {
public:
    TimerManager() = default;
    ~TimerManager() override = default;

    // The listener side: called with the caller-chosen id and the system tick count (ms) at
    // delivery. Does nothing by default.
    virtual void onTimer(int32_t timerId, uint32_t tickCount);

    // The one service object of the process, made when the library is loaded.
    static TimerManager& service();

    // Longer intervals are held at this (one day, in milliseconds).
    static constexpr int LongestInterval = 24 * 60 * 60 * 1000;

    // On the service. Starts a repeating timer for `listener` under `timerId`, replacing one of
    // that id; `interval` is in milliseconds, truncated (0 fires whenever the loop is idle).
    void addTimer(TimerManager* listener, int32_t timerId, double interval);
    // On the service. Stops `listener`'s timer `timerId`; an unknown pair does nothing.
    void removeTimer(TimerManager* listener, int32_t timerId);

    // Number of timers the service runs.
    int runningCount() const { return static_cast<int>(listeners.size()); }

    // Simulated time, for takes that must come out the same on every run and as fast as the
    // machine goes: the wall clock (platform::tickCount) stands still, timers start no Qt
    // timers, and runNextTimer() moves the clock to the timer due first and fires it. Whatever
    // reads the wall clock (the record clock, resimulation slices, drivers playing scripts)
    // then sees simulated time. Switching either way is refused (false) while timers run.
    bool simulateClock(bool on);
    bool isClockSimulated() const { return simulated; }
    // Simulated time only: fires the timer due first (among equals the one waiting longest),
    // after moving the clock to its due time; false when no timer runs. A repeating timer is
    // next due an interval later, at least a millisecond, so time always moves on.
    bool runNextTimer();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    struct Schedule {
        uint64_t due;
        uint64_t interval;
        // Arming order, to break ties between timers due at the same time.
        uint64_t order;
    };
    void deliver(int32_t timerId);

    // Timer ids are unique across all listeners of the service.
    std::map<int32_t, int> qtTimers;
    std::map<int32_t, std::pair<TimerManager*, int32_t>> listeners;
    bool simulated = false;
    // Simulated milliseconds since simulation began, and the tick count at that moment.
    uint64_t simulatedNow = 0;
    uint32_t simulatedStart = 0;
    uint64_t armings = 0;
    std::map<int32_t, Schedule> schedule;
};

} // namespace mvk::qvn::core
