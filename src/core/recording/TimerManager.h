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

    // Number of Qt timers the service runs.
    int runningCount() const { return static_cast<int>(qtTimers.size()); }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    // Timer ids are unique across all listeners of the service.
    std::map<int32_t, int> qtTimers;
    std::map<int32_t, std::pair<TimerManager*, int32_t>> listeners;
};

} // namespace mvk::qvn::core
