#pragma once
// The keys of a node's local transform, ordered by time. Keying goes forward in time (a take,
// a resimulation), so the place of a new key is looked for first right after the last one set.
#include <array>
#include <cstddef>
#include <map>

namespace qvn::host {

using Matrix = std::array<double, 16>;
using TransformKeyList = std::map<double, Matrix>;

class TransformKeys {
public:
    TransformKeys() = default;
    // The place of the last key set points into this object's own keys.
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
    // Exchanges the state at `time` with `other`: `otherPresent` says whether `other` holds a
    // key. Afterwards `other` and `otherPresent` describe what was at `time` before.
    void exchange(double time, Matrix& other, bool& otherPresent);

    const TransformKeyList& list() const { return keys; }
    bool empty() const { return keys.empty(); }
    size_t size() const { return keys.size(); }

private:
    // The first key at or after `time`, tried right after the last key set before searching.
    TransformKeyList::iterator place(double time);

    TransformKeyList keys;
    TransformKeyList::iterator last = keys.end();
};

} // namespace qvn::host
