#include "TransformKeys.h"

#include "RefNode.h"

#include <iterator>

namespace qvn::host {

TransformKeyList::iterator TransformKeys::place(double time) {
    if (last != keys.end()) {
        const auto next = std::next(last);
        if (last->first < time && (next == keys.end() || time <= next->first))
            return next;
        if (last->first == time)
            return last;
    }
    return keys.lower_bound(time);
}

bool TransformKeys::set(double time, const Matrix& local, Matrix* before) {
    const auto at = place(time);
    if (at != keys.end() && at->first == time) {
        if (before != nullptr)
            *before = at->second;
        at->second = local;
        last = at;
        return true;
    }
    last = keys.emplace_hint(at, time, local);
    return false;
}

bool TransformKeys::erase(double time, Matrix* before) {
    const auto at = keys.find(time);
    if (at == keys.end())
        return false;
    if (before != nullptr)
        *before = at->second;
    if (last == at)
        last = keys.end();
    keys.erase(at);
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

void TransformKeys::exchange(double time, Matrix& other, bool& otherPresent) {
    const auto at = keys.lower_bound(time);
    const bool present = at != keys.end() && at->first == time;
    if (present && otherPresent) {
        std::swap(at->second, other);
    } else if (present) {
        other = at->second;
        if (last == at)
            last = keys.end();
        keys.erase(at);
    } else if (otherPresent) {
        keys.emplace_hint(at, time, other);
    }
    otherPresent = present;
}

} // namespace qvn::host
