#include "core/recording/TimerManager.h"

#include "platform/TickCount.h"

#include <QTimerEvent>

#include <algorithm>

namespace mvk::qvn::core {

namespace {

// Made when the library is loaded and alive until it is unloaded; listeners stop their
// timers before they die, so nothing is left running by then.
TimerManager theService;

} // namespace

void TimerManager::onTimer(int32_t, uint32_t) {}

TimerManager& TimerManager::service() {
    return theService;
}

void TimerManager::addTimer(TimerManager* listener, int32_t timerId, double interval) {
    if (qtTimers.count(timerId) != 0)
        removeTimer(listener, timerId);
    // An id taken over from another listener (ids are meant to be unique) must not leave its
    // old Qt timer firing unseen forever.
    if (const auto orphan = qtTimers.find(timerId); orphan != qtTimers.end())
        killTimer(orphan->second);
    // Qt's timers overflow near the largest int; nobody waits longer than a day here.
    constexpr double longest = LongestInterval;
    const int milliseconds = interval > 0 ? static_cast<int>(std::min(interval, longest)) : 0;
    listeners[timerId] = {listener, timerId};
    if (simulated) {
        const uint64_t step = std::max(milliseconds, 1);
        schedule[timerId] = Schedule{simulatedNow + step, step, ++armings};
        return;
    }
    qtTimers[timerId] = startTimer(milliseconds);
}

void TimerManager::removeTimer(TimerManager* listener, int32_t timerId) {
    const auto entry = listeners.find(timerId);
    if (entry == listeners.end() || entry->second.first != listener)
        return;
    const auto qtTimer = qtTimers.find(timerId);
    if (qtTimer != qtTimers.end()) {
        killTimer(qtTimer->second);
        qtTimers.erase(qtTimer);
    }
    schedule.erase(timerId);
    listeners.erase(entry);
}

void TimerManager::timerEvent(QTimerEvent* event) {
    for (const auto& [timerId, qtId] : qtTimers) {
        if (qtId != event->timerId())
            continue;
        deliver(timerId);
        return;
    }
}

void TimerManager::deliver(int32_t timerId) {
    const auto entry = listeners.find(timerId);
    if (entry == listeners.end())
        return;
    // The listener may stop or restart timers: nothing of the maps is used after the call.
    entry->second.first->onTimer(timerId, platform::tickCount());
}

bool TimerManager::simulateClock(bool on) {
    if (on == simulated)
        return true;
    if (!listeners.empty())
        return false;
    simulated = on;
    if (!on) {
        platform::setTickSource({});
        return true;
    }
    simulatedStart = platform::tickCount();
    simulatedNow = 0;
    // The counter wraps like the system's.
    platform::setTickSource(
        [this] { return static_cast<uint32_t>(simulatedStart + simulatedNow); });
    return true;
}

bool TimerManager::runNextTimer() {
    if (!simulated || schedule.empty())
        return false;
    const auto next =
        std::min_element(schedule.begin(), schedule.end(), [](const auto& a, const auto& b) {
            return std::pair(a.second.due, a.second.order) <
                   std::pair(b.second.due, b.second.order);
        });
    const int32_t timerId = next->first;
    Schedule& due = next->second;
    simulatedNow = std::max(simulatedNow, due.due);
    // Due again an interval on, as a repeating Qt timer would be.
    due.due = simulatedNow + due.interval;
    due.order = ++armings;
    deliver(timerId);
    return true;
}

} // namespace mvk::qvn::core
