#include "util/SingletonCollector.h"

#include <cstddef>

namespace mvk::util {

namespace detail {

SingletonCollector* collectorForRegistration() { return SingletonCollector::instance(); }

void registerSingleton(SingletonCollector* collector, SingletonReference* singleton) {
    collector->add(singleton);
}

void unregisterSingleton(SingletonReference* singleton) {
    if (SingletonCollector* collector = SingletonCollector::existing())
        collector->remove(singleton);
}

} // namespace detail

SingletonCollector::SingletonCollector() { entries.push_back(this); }

SingletonCollector::~SingletonCollector() { entries.clear(); }

void SingletonCollector::add(SingletonReference* singleton) { entries.push_back(singleton); }

void SingletonCollector::remove(SingletonReference* singleton) {
    for (std::size_t i = entries.size(); i-- > 0;)
        if (entries[i] == singleton)
            entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
}

void SingletonCollector::destroyAll() {
    while (entries.size() >= 2) {
        SingletonReference* last = entries.back();
        const std::size_t before = entries.size();
        last->destroy();
        // A singleton whose destroy() did not unregister it must not stall the loop.
        if (entries.size() == before && !entries.empty() && entries.back() == last)
            entries.pop_back();
    }
    if (entries.size() == 1)
        entries.front()->destroy();
}

SingletonReference* SingletonCollector::entry(int index) const {
    if (index < 0 || index >= count())
        return nullptr;
    return entries[static_cast<std::size_t>(index)];
}

} // namespace mvk::util
