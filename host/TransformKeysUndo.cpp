#include "TransformKeysUndo.h"

#include <algorithm>
#include <numeric>

namespace qvn::host {

namespace {

bool keyBefore(const TransformKey& key, double time) { return key.first < time; }
bool keyAfter(double time, const TransformKey& key) { return time < key.first; }

} // namespace

int32_t TransformKeysUndo::newSlot(const Matrix& value) {
    kept.push_back(value);
    return static_cast<int32_t>(kept.size() - 1);
}

void TransformKeysUndo::note(double time, const Matrix* before) {
    if (before == nullptr)
        changes.push_back(Change{time, false, Added});
    else
        changes.push_back(Change{time, true, newSlot(*before)});
}

void TransformKeysUndo::noteUnchanged(double time) {
    changes.push_back(Change{time, true, Unchanged});
}

void TransformKeysUndo::replaceRange() {
    if (undone || changes.empty() || lifetime.expired())
        return;
    // The times the operation set, in order. A take keys forward, so they usually are already.
    const size_t noted = changes.size();
    std::vector<double> sortedTimes;
    bool inOrder = true;
    for (size_t i = 1; i < noted && inOrder; ++i)
        inOrder = !(changes[i].time < changes[i - 1].time);
    if (!inOrder) {
        sortedTimes.reserve(noted);
        for (size_t i = 0; i < noted; ++i)
            sortedTimes.push_back(changes[i].time);
        std::sort(sortedTimes.begin(), sortedTimes.end());
    }
    auto setTime = [&](size_t index) {
        return inOrder ? changes[index].time : sortedTimes[index];
    };

    // One pass over the keys in the range: those the operation set move up over the gaps that
    // the others leave, and the others go into the record.
    std::vector<TransformKey>& all = keys.items();
    const auto from = std::lower_bound(all.begin(), all.end(), setTime(0), keyBefore);
    const auto to = std::upper_bound(from, all.end(), setTime(noted - 1), keyAfter);
    auto out = from;
    size_t next = 0;
    for (auto key = from; key != to; ++key) {
        while (next < noted && setTime(next) < key->first)
            ++next;
        if (next < noted && setTime(next) == key->first) {
            if (out != key)
                *out = std::move(*key);
            ++out;
        } else {
            changes.push_back(Change{key->first, true, newSlot(key->second)});
        }
    }
    all.erase(out, to);
}

void TransformKeysUndo::exchangeAll(bool lastFirst) {
    if (changes.empty())
        return;
    // The changes by time; those at one time keep the order they were made in, since each
    // exchanges with the state the one before it left.
    std::vector<uint32_t> order(changes.size());
    std::iota(order.begin(), order.end(), 0U);
    auto byTime = [this](uint32_t a, uint32_t b) { return changes[a].time < changes[b].time; };
    if (!std::is_sorted(order.begin(), order.end(), byTime))
        std::stable_sort(order.begin(), order.end(), byTime);

    std::vector<TransformKey>& all = keys.items();
    const auto from =
        std::lower_bound(all.begin(), all.end(), changes[order.front()].time, keyBefore);
    const auto to = std::upper_bound(from, all.end(), changes[order.back()].time, keyAfter);
    std::vector<TransformKey> span;
    span.reserve(static_cast<size_t>(to - from) + changes.size());
    auto key = from;
    for (size_t group = 0; group < order.size();) {
        const double time = changes[order[group]].time;
        while (key != to && key->first < time)
            span.push_back(*key++);
        bool present = key != to && key->first == time;
        Matrix value{};
        if (present)
            value = (key++)->second;
        size_t end = group;
        while (end < order.size() && changes[order[end]].time == time)
            ++end;
        if (lastFirst) {
            for (size_t i = end; i-- > group;)
                exchange(changes[order[i]], present, value);
        } else {
            for (size_t i = group; i < end; ++i)
                exchange(changes[order[i]], present, value);
        }
        if (present)
            span.emplace_back(time, value);
        group = end;
    }
    span.insert(span.end(), key, to);

    // The new span takes the old one's place; the keys after it move at most once.
    const auto offset = from - all.begin();
    const size_t old = static_cast<size_t>(to - from);
    if (span.size() > old)
        all.insert(all.begin() + offset + static_cast<std::ptrdiff_t>(old), span.size() - old,
                   TransformKey{});
    else
        all.erase(all.begin() + offset + static_cast<std::ptrdiff_t>(span.size()),
                  all.begin() + offset + static_cast<std::ptrdiff_t>(old));
    std::move(span.begin(), span.end(), all.begin() + offset);
}

void TransformKeysUndo::exchange(Change& change, bool& present, Matrix& value) {
    // A key added by the operation gets its slot when undo first takes it away; the slot is
    // reused on every later exchange, so undo and redo never grow the record.
    if (change.slot == Unchanged)
        return;
    if (change.slot == Added) {
        if (!present)
            return;
        change.slot = newSlot(Matrix{});
    }
    Matrix& other = kept[static_cast<size_t>(change.slot)];
    if (present && change.present)
        std::swap(value, other);
    else if (present)
        other = value;
    else if (change.present)
        value = other;
    std::swap(present, change.present);
}

void TransformKeysUndo::restore(bool isUndo) {
    if (!isUndo || undone || lifetime.expired())
        return;
    exchangeAll(true);
    undone = true;
}

void TransformKeysUndo::redo() {
    if (!undone || lifetime.expired())
        return;
    exchangeAll(false);
    undone = false;
}

} // namespace qvn::host
