#pragma once
// Animated variables: time-keyed curves that hold what an instance recorded from its inputs, and
// their binary block (little-endian: header size 16, payload size, version 100, key count, then
// time and value per key).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace mvk::util {

template <class T> class AVar {
public:
    struct Key {
        double time;
        T value;
        bool operator==(const Key& other) const = default;
    };

    static constexpr uint32_t HeaderSize = 16;
    static constexpr uint32_t KeySize = 16;
    static constexpr uint32_t FormatVersion = 100;
    // The time of the keys a block names but does not carry.
    static constexpr double PlaceholderTime = -1.0;

    AVar() = default;
    AVar(const AVar&) = default;
    AVar& operator=(const AVar&) = default;
    AVar(AVar&&) noexcept = default;
    AVar& operator=(AVar&&) noexcept = default;

    // The key at time `t` between `a` and `b`.
    virtual Key interpolate(const Key& a, const Key& b, double t) const = 0;
    // 16 × (key count + 1).
    virtual uint32_t serializedSize() const;
    // Fills the header when `capacity` holds it (nothing otherwise); the keys follow only when
    // `capacity` is at least serializedSize().
    virtual void write(void* buffer, size_t capacity) const;
    // Takes the curve from a block of `length` bytes. A block without a readable header, with a
    // header size other than 16 or a version other than 100, or naming more keys than its bytes
    // could hold leaves the curve unchanged. A payload size that disagrees with the key count
    // leaves key-count keys at time -1. Keys come in the block's order.
    virtual void read(const void* buffer, size_t length);
    virtual ~AVar() = default;

    // Sets the key at `time`: overwrites a key at exactly that time, appends at or after the
    // last key in constant time, and inserts elsewhere in key order.
    void setKey(double time, const T& value);
    // The curve's value at `time`: the first or last key's value outside the keys, the
    // interpolation between the neighbouring keys inside; T() without keys.
    T valueAt(double time) const;
    // The same value for keys in time order, found from `cursor` (the key index found last, 0
    // to begin with) and updated: playing a curve forward frame by frame then costs no search.
    T valueAt(double time, size_t& cursor) const;

    size_t keyCount() const { return keys.size(); }
    const Key& key(size_t index) const { return keys[index]; }
    const std::vector<Key>& allKeys() const { return keys; }
    void clear() {
        keys.clear();
        increasing = true;
    }
    bool sameKeys(const AVar& other) const { return keys == other.keys; }

protected:
    std::vector<Key> keys;
    // The key times rise strictly and none is NaN: every key set in order keeps it so; a block
    // may not. A cursor's pair of keys then tells by itself whether it holds a time.
    bool increasing = true;
};

// A curve whose values run in straight lines between keys.
template <class T> class AVar_Linear : public AVar<T> {
public:
    using Key = typename AVar<T>::Key;
    // Between keys of equal time the earlier key's value holds.
    Key interpolate(const Key& a, const Key& b, double t) const override;
};

extern template class AVar<double>;
extern template class AVar_Linear<double>;

} // namespace mvk::util
