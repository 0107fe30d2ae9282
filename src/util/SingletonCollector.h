#pragma once
// Owns every singleton of the process (through destroy()) and destroys them newest first.
#include "util/Singleton.h"

#include <vector>

namespace mvk::util {

class SingletonCollector : public Singleton<SingletonCollector> {
public:
    // A new collector lists itself first.
    SingletonCollector();
    ~SingletonCollector() override;

    // The collector if one exists; never creates it.
    static SingletonCollector* existing() { return Singleton<SingletonCollector>::existing(); }

    void add(SingletonReference* singleton);
    // Removes every entry equal to `singleton`, scanning from the back.
    void remove(SingletonReference* singleton);
    // Destroys every registered singleton, the most recently created first, the collector last.
    void destroyAll();

    int count() const { return static_cast<int>(entries.size()); }
    SingletonReference* entry(int index) const;

private:
    std::vector<SingletonReference*> entries;
};

} // namespace mvk::util
