#include "LatestValues.h"

namespace mvk::examples {

InheritingMutex::InheritingMutex() {
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_setprotocol(&attributes, PTHREAD_PRIO_INHERIT);
    pthread_mutex_init(&handle, &attributes);
    pthread_mutexattr_destroy(&attributes);
}

int64_t LatestValues::reserve(const SlotInfo& info) {
    std::lock_guard<InheritingMutex> hold(lock);
    if (auto found = slots.find(KeyView{info.type, info.index}); found != slots.end())
        return static_cast<int64_t>(found->second);
    if (entries.size() >= capacity) {
        refusedAny = true;
        return -1;
    }
    slots.emplace(Key{info.type, info.index}, entries.size());
    entries.push_back(Entry{info, 0.0, 0, true});
    return static_cast<int64_t>(entries.size() - 1);
}

std::vector<SlotInfo> LatestValues::learnedSince(size_t from) const {
    std::lock_guard<InheritingMutex> hold(lock);
    std::vector<SlotInfo> made;
    for (size_t i = from; i < entries.size(); ++i)
        made.push_back(entries[i].info);
    return made;
}

void LatestValues::read(std::vector<SlotReading>& readings) const {
    std::lock_guard<InheritingMutex> hold(lock);
    readings.resize(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        readings[i] = SlotReading{entries[i].value, entries[i].info.kind};
}

size_t LatestValues::size() const {
    std::lock_guard<InheritingMutex> hold(lock);
    return entries.size();
}

void LatestValues::rest() {
    std::lock_guard<InheritingMutex> hold(lock);
    for (Entry& entry : entries) {
        entry.value = 0.0;
        entry.stamp = 0;
    }
}

bool LatestValues::takeRefusal() {
    std::lock_guard<InheritingMutex> hold(lock);
    if (!refusedAny || refusalReported)
        return false;
    refusalReported = true;
    return true;
}

} // namespace mvk::examples
