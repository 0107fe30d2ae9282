#include "TransformKeys.h"

#include "RefNode.h"

#include <algorithm>

namespace qvn::host {

namespace {

bool before(const TransformKey& key, double time) { return key.first < time; }

void prefetchForWrite(const void* start, size_t bytes) {
#if defined(__GNUC__)
    const auto* byte = static_cast<const char*>(start);
    for (size_t offset = 0; offset < bytes; offset += 64)
        __builtin_prefetch(byte + offset, 1);
    __builtin_prefetch(byte + bytes - 1, 1);
#else
    (void)start;
    (void)bytes;
#endif
}
bool after(double time, const TransformKey& key) { return time < key.first; }

} // namespace

TransformKeyList::const_iterator TransformKeyList::lower_bound(double time) const {
    return std::lower_bound(keys.begin(), keys.end(), time, before);
}

TransformKeyList::const_iterator TransformKeyList::upper_bound(double time) const {
    return std::upper_bound(keys.begin(), keys.end(), time, after);
}

TransformKeyList::const_iterator TransformKeyList::find(double time) const {
    const auto at = lower_bound(time);
    return at != keys.end() && at->first == time ? at : keys.end();
}

bool operator==(const TransformKeyList& list, const std::map<double, Matrix>& map) {
    return list.size() == map.size() &&
           std::equal(list.begin(), list.end(), map.begin(), [](const auto& a, const auto& b) {
               return a.first == b.first && a.second == b.second;
           });
}

size_t TransformKeys::place(double time) const {
    const std::vector<TransformKey>& all = keys.keys;
    if (last < all.size()) {
        if (all[last].first == time)
            return last;
        if (all[last].first < time && (last + 1 == all.size() || time <= all[last + 1].first))
            return last + 1;
    }
    return static_cast<size_t>(keys.lower_bound(time) - keys.begin());
}

bool TransformKeys::set(double time, const Matrix& local, Matrix* before) {
    std::vector<TransformKey>& all = keys.keys;
    if (all.empty() || all.back().first < time) {
        all.emplace_back(time, local);
        last = all.size() - 1;
        return false;
    }
    const size_t at = place(time);
    last = at;
    if (at < all.size() && all[at].first == time) {
        if (before != nullptr)
            *before = all[at].second;
        all[at].second = local;
        // A take or a resimulation comes back for the next key after one key of every other
        // node; asking for it now hides the wait for memory behind that work.
        if (at + 1 < all.size())
            prefetchForWrite(&all[at + 1], sizeof(TransformKey));
        return true;
    }
    all.emplace(all.begin() + static_cast<std::ptrdiff_t>(at), time, local);
    return false;
}

bool TransformKeys::erase(double time, Matrix* before) {
    const auto at = keys.find(time);
    if (at == keys.end())
        return false;
    if (before != nullptr)
        *before = at->second;
    std::vector<TransformKey>& all = items();
    all.erase(all.begin() + (at - keys.begin()));
    return true;
}

const Matrix* TransformKeys::find(double time) const {
    const auto at = keys.find(time);
    return at != keys.end() ? &at->second : nullptr;
}

Matrix TransformKeys::at(double time) const {
    if (keys.empty())
        return identity();
    const auto after = keys.upper_bound(time);
    if (after == keys.begin())
        return after->second;
    return std::prev(after)->second;
}

} // namespace qvn::host
