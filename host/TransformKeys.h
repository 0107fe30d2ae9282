#pragma once
// The keys of a node's local transform, ordered by time, side by side in one array. Keying goes
// forward in time (a take, a resimulation), so the place of a new key is looked for first right
// after the last one set, and a key after every other is appended.
#include <array>
#include <cstddef>
#include <map>
#include <utility>
#include <vector>

namespace qvn::host {

using Matrix = std::array<double, 16>;
using TransformKey = std::pair<double, Matrix>;

class TransformKeysUndo;

// A node's keys as others read them: (time, matrix) pairs in time order, without two at one
// time. It reads like an ordered map, and becomes one where a caller keeps a copy as such.
class TransformKeyList {
public:
    using value_type = TransformKey;
    using const_iterator = std::vector<TransformKey>::const_iterator;
    using iterator = const_iterator;
    using const_reverse_iterator = std::vector<TransformKey>::const_reverse_iterator;

    const_iterator begin() const { return keys.begin(); }
    const_iterator end() const { return keys.end(); }
    const_reverse_iterator rbegin() const { return keys.rbegin(); }
    const_reverse_iterator rend() const { return keys.rend(); }
    bool empty() const { return keys.empty(); }
    size_t size() const { return keys.size(); }
    const TransformKey& operator[](size_t index) const { return keys[index]; }

    // The first key at or after `time`, and the first after it.
    const_iterator lower_bound(double time) const;
    const_iterator upper_bound(double time) const;
    // The key at exactly `time`; end() when there is none.
    const_iterator find(double time) const;

    operator std::map<double, Matrix>() const { return {keys.begin(), keys.end()}; }
    bool operator==(const TransformKeyList& other) const = default;
    friend bool operator==(const TransformKeyList& list, const std::map<double, Matrix>& map);

private:
    friend class TransformKeys;
    friend class TransformKeysUndo;
    std::vector<TransformKey> keys;
};

class TransformKeys {
public:
    TransformKeys() = default;
    // The place of the last key set belongs to these keys alone.
    TransformKeys(const TransformKeys&) = delete;
    TransformKeys& operator=(const TransformKeys&) = delete;

    // Sets the key at `time`, replacing one at exactly that time. Answers whether a key was
    // replaced; its old value goes to `before` when given.
    bool set(double time, const Matrix& local, Matrix* before = nullptr);
    // Removes the key at exactly `time`; answers whether there was one, its value going to
    // `before` when given.
    bool erase(double time, Matrix* before = nullptr);
    // The key at exactly `time`; null when there is none.
    const Matrix* find(double time) const;
    // The key in force at `time`: the last one at or before it, the first one before every key,
    // the identity without keys.
    Matrix at(double time) const;

    const TransformKeyList& list() const { return keys; }
    bool empty() const { return keys.empty(); }
    size_t size() const { return keys.size(); }

private:
    // The undo record of an operation puts whole runs of keys back at once.
    friend class TransformKeysUndo;
    std::vector<TransformKey>& items() {
        last = NoKey;
        return keys.keys;
    }

    // The index of the first key at or after `time`, tried right after the last key set before
    // searching.
    size_t place(double time) const;

    static constexpr size_t NoKey = static_cast<size_t>(-1);
    TransformKeyList keys;
    size_t last = NoKey;
};

} // namespace qvn::host
