#pragma once
// The meeting point of an input thread and the host's poll: one slot per control that input has
// named so far, holding only its latest value. The input thread stores, the host reads; both sides
// hold the lock for a few map look-ups at most, so a flood of input never makes the poll wait
// longer than one store. Storing into a known slot allocates nothing: the name is looked up as
// it arrives, without building a key.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <pthread.h>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mvk::examples {

// A mutex that lends its holder the priority of a waiter. JACK calls the MIDI input from its
// real-time thread, while the host's poll that shares the slots runs at normal priority; without
// inheritance a poll preempted while it holds the lock would stall JACK's whole cycle.
class InheritingMutex {
public:
    InheritingMutex();
    ~InheritingMutex() { pthread_mutex_destroy(&handle); }
    InheritingMutex(const InheritingMutex&) = delete;
    InheritingMutex& operator=(const InheritingMutex&) = delete;
    void lock() { pthread_mutex_lock(&handle); }
    void unlock() { pthread_mutex_unlock(&handle); }

private:
    pthread_mutex_t handle;
};

// What a control is called and what it delivers; fixed when its slot is made.
struct SlotInfo {
    std::string type;
    int32_t index = 0;
    std::string description;
    uint32_t kind = 0;
};

struct SlotReading {
    double value = 0.0;
    uint32_t kind = 0;
};

class LatestValues {
public:
    // At most `capacity` slots; names beyond that are refused.
    explicit LatestValues(size_t capacity) : capacity(capacity) {}

    enum class Stored { Updated, Learned, Refused, Stale };

    // Input thread. Stores `value` for the slot (type, index), making the slot with describe()'s
    // answer when the name is new. A value stamped earlier than the slot's latest stamp is stale
    // and dropped; stamp 0 means "now" and always lands.
    template <class Describe>
    Stored store(std::string_view type, int32_t index, double value, uint64_t stamp,
                 Describe&& describe) {
        std::lock_guard<InheritingMutex> hold(lock);
        auto found = slots.find(KeyView{type, index});
        if (found == slots.end()) {
            if (entries.size() >= capacity) {
                refusedAny = true;
                return Stored::Refused;
            }
            SlotInfo info = describe();
            found = slots.emplace(Key{std::string(type), index}, entries.size()).first;
            entries.push_back(Entry{std::move(info), value, stamp, false});
            return Stored::Learned;
        }
        Entry& entry = entries[found->second];
        if (stamp != 0 && stamp < entry.stamp)
            return Stored::Stale;
        if (entry.reserved) {
            entry.info.kind = describe().kind;
            entry.reserved = false;
        }
        entry.value = value;
        if (stamp != 0)
            entry.stamp = stamp;
        return Stored::Updated;
    }

    // Host thread. Makes a resting slot for a control that a stored binding names before any
    // input did; the first real input settles its kind. The slot number, or -1 when the cap is
    // reached.
    int64_t reserve(const SlotInfo& info);

    // Host thread: the slots made from `from` on, in the order they were made.
    std::vector<SlotInfo> learnedSince(size_t from) const;
    // Host thread: every slot's latest value, by slot number.
    void read(std::vector<SlotReading>& readings) const;
    size_t size() const;
    // Every slot back to rest, as when the source goes away.
    void rest();
    // True once after a name was first refused for lack of room.
    bool takeRefusal();

private:
    struct Entry {
        SlotInfo info;
        double value;
        uint64_t stamp;
        bool reserved;
    };
    struct Key {
        std::string type;
        int32_t index;
    };
    struct KeyView {
        std::string_view type;
        int32_t index;
    };
    struct KeyHash {
        using is_transparent = void;
        size_t operator()(const KeyView& key) const {
            return std::hash<std::string_view>()(key.type) * 31 + static_cast<size_t>(key.index);
        }
        size_t operator()(const Key& key) const { return (*this)(KeyView{key.type, key.index}); }
    };
    struct KeyEqual {
        using is_transparent = void;
        template <class A, class B> bool operator()(const A& a, const B& b) const {
            return a.index == b.index && std::string_view(a.type) == std::string_view(b.type);
        }
    };

    const size_t capacity;
    mutable InheritingMutex lock;
    std::unordered_map<Key, size_t, KeyHash, KeyEqual> slots;
    std::vector<Entry> entries;
    bool refusedAny = false;
    bool refusalReported = false;
};

} // namespace mvk::examples
