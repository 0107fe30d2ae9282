#include "TransformKeysUndo.h"

#include <algorithm>

namespace qvn::host {

int32_t TransformKeysUndo::newSlot(const Matrix& value) {
    kept.push_back(value);
    return static_cast<int32_t>(kept.size() - 1);
}

void TransformKeysUndo::note(double time, const Matrix* before) {
    if (before == nullptr)
        changes.push_back(Change{time, false, -1});
    else
        changes.push_back(Change{time, true, newSlot(*before)});
}

void TransformKeysUndo::replaceRange() {
    if (undone || changes.empty() || lifetime.expired())
        return;
    std::vector<double> set;
    set.reserve(changes.size());
    for (const Change& change : changes)
        set.push_back(change.time);
    std::sort(set.begin(), set.end());
    std::vector<double> others;
    const TransformKeyList& list = keys.list();
    for (auto key = list.lower_bound(set.front()); key != list.end() && key->first <= set.back();
         ++key)
        if (!std::binary_search(set.begin(), set.end(), key->first))
            others.push_back(key->first);
    for (double time : others) {
        Matrix before;
        if (keys.erase(time, &before))
            changes.push_back(Change{time, true, newSlot(before)});
    }
}

void TransformKeysUndo::exchange(Change& change) {
    // A key added by the operation gets its slot when undo first takes it away; the slot is
    // reused on every later exchange, so undo and redo never grow the record.
    if (change.slot < 0) {
        if (keys.find(change.time) == nullptr)
            return;
        change.slot = newSlot(Matrix{});
    }
    keys.exchange(change.time, kept[static_cast<size_t>(change.slot)], change.present);
}

void TransformKeysUndo::restore(bool isUndo) {
    if (!isUndo || undone || lifetime.expired())
        return;
    for (auto change = changes.rbegin(); change != changes.rend(); ++change)
        exchange(*change);
    undone = true;
}

void TransformKeysUndo::redo() {
    if (!undone || lifetime.expired())
        return;
    for (Change& change : changes)
        exchange(change);
    undone = false;
}

} // namespace qvn::host
