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
    qtTimers[timerId] = startTimer(milliseconds);
    listeners[timerId] = {listener, timerId};
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
    listeners.erase(entry);
}

void TimerManager::timerEvent(QTimerEvent* event) {
    for (const auto& [timerId, qtId] : qtTimers) {
        if (qtId != event->timerId())
            continue;
        const auto entry = listeners.find(timerId);
        if (entry == listeners.end())
            return;
        // The listener may stop or restart timers: nothing of the maps is used after the call.
        entry->second.first->onTimer(timerId, platform::tickCount());
        return;
    }
}

} // namespace mvk::qvn::core
