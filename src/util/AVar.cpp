#include "util/AVar.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace mvk::util {

namespace {

void putU32(uint8_t* out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * i));
}

void putDouble(uint8_t* out, double value) {
    const auto bits = std::bit_cast<uint64_t>(value);
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<uint8_t>(bits >> (8 * i));
}

uint32_t getU32(const uint8_t* in) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | in[i];
    return value;
}

double getDouble(const uint8_t* in) {
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | in[i];
    return std::bit_cast<double>(bits);
}

} // namespace

template <class T> uint32_t AVar<T>::serializedSize() const {
    return static_cast<uint32_t>(KeySize * (keys.size() + 1));
}

template <class T> void AVar<T>::write(void* buffer, size_t capacity) const {
    if (buffer == nullptr || capacity < HeaderSize)
        return;
    auto* out = static_cast<uint8_t*>(buffer);
    const auto count = static_cast<uint32_t>(keys.size());
    putU32(out, HeaderSize);
    putU32(out + 4, KeySize * count);
    putU32(out + 8, FormatVersion);
    putU32(out + 12, count);
    if (capacity < serializedSize())
        return;
    out += HeaderSize;
    for (const Key& key : keys) {
        putDouble(out, key.time);
        putDouble(out + 8, static_cast<double>(key.value));
        out += KeySize;
    }
}

template <class T> void AVar<T>::read(const void* buffer, size_t length) {
    if (buffer == nullptr || length < HeaderSize)
        return;
    const auto* in = static_cast<const uint8_t*>(buffer);
    if (getU32(in) != HeaderSize || getU32(in + 8) != FormatVersion)
        return;
    const uint64_t count = getU32(in + 12);
    // Checked before anything is made, so a damaged count cannot ask for more than is there.
    if (count > (length - HeaderSize) / KeySize)
        return;
    keys.assign(count, Key{PlaceholderTime, T()});
    increasing = count < 2;
    if (getU32(in + 4) != KeySize * count)
        return;
    in += HeaderSize;
    for (Key& key : keys) {
        key.time = getDouble(in);
        key.value = static_cast<T>(getDouble(in + 8));
        in += KeySize;
    }
    increasing = true;
    for (size_t i = 0; i < keys.size() && increasing; ++i)
        increasing = !std::isnan(keys[i].time) && (i == 0 || keys[i - 1].time < keys[i].time);
}

template <class T> void AVar<T>::setKey(double time, const T& value) {
    if (std::isnan(time))
        increasing = false;
    if (keys.empty() || keys.back().time < time) {
        keys.push_back(Key{time, value});
        return;
    }
    if (keys.back().time == time) {
        keys.back().value = value;
        return;
    }
    const auto at = std::lower_bound(keys.begin(), keys.end(), time,
                                     [](const Key& key, double t) { return key.time < t; });
    if (at != keys.end() && at->time == time)
        at->value = value;
    else
        keys.insert(at, Key{time, value});
}

template <class T> T AVar<T>::valueAt(double time) const {
    if (keys.empty())
        return T();
    if (time <= keys.front().time)
        return keys.front().value;
    if (time >= keys.back().time)
        return keys.back().value;
    const auto after = std::upper_bound(keys.begin(), keys.end(), time,
                                        [](double t, const Key& key) { return t < key.time; });
    // Keys read from a block come in the block's order, which need not be sorted (nor free of
    // NaN): the search may then end at either end of the keys.
    if (after == keys.begin())
        return keys.front().value;
    if (after == keys.end())
        return keys.back().value;
    return interpolate(*std::prev(after), *after, time).value;
}

template <class T> T AVar<T>::valueAt(double time, size_t& cursor) const {
    if (increasing) {
        // With the times rising, a pair of neighbouring keys around `time` (strictly after the
        // first key) shows by itself that `time` lies inside the curve, without a look at
        // either end, which a replay of many curves would fetch from memory on every frame.
        for (size_t at = cursor; at < cursor + 2 && at + 1 < keys.size(); ++at) {
            const double from = keys[at].time;
            if ((at > 0 ? from <= time : from < time) && time < keys[at + 1].time) {
                cursor = at;
#if defined(__GNUC__)
                // The keys a replay reaches a few frames on, while other curves are read.
                if (at + 8 < keys.size())
                    __builtin_prefetch(&keys[at + 8]);
#endif
                return interpolate(keys[at], keys[at + 1], time).value;
            }
        }
    }
    if (keys.empty() || time <= keys.front().time || time >= keys.back().time)
        return valueAt(time);
    // The pair found last or the next one holds `time` while playback moves forward.
    for (size_t at = cursor; at < cursor + 2 && at + 1 < keys.size(); ++at) {
        if (keys[at].time <= time && time < keys[at + 1].time) {
            cursor = at;
            return interpolate(keys[at], keys[at + 1], time).value;
        }
    }
    const auto after = std::upper_bound(keys.begin(), keys.end(), time,
                                        [](double t, const Key& key) { return t < key.time; });
    if (after == keys.begin() || after == keys.end())
        return valueAt(time);
    cursor = static_cast<size_t>(after - keys.begin()) - 1;
    return interpolate(*std::prev(after), *after, time).value;
}

template <class T>
typename AVar_Linear<T>::Key AVar_Linear<T>::interpolate(const Key& a, const Key& b,
                                                         double t) const {
    if (b.time == a.time)
        return Key{t, a.value};
    return Key{t, a.value + (b.value - a.value) * (t - a.time) / (b.time - a.time)};
}

template class AVar<double>;
template class AVar_Linear<double>;

} // namespace mvk::util
