#pragma once
// The undo record of one node's transform keys for one host operation. It is told of every key
// the operation sets and keeps only what those keys replaced: the time of a key that was added,
// and time and value of a key that was overwritten. Undo puts the old keys back (last change
// first) and keeps the operation's keys in their place, so redo can put them back in turn.
// Undo, redo and the replacement of a range each rebuild the span of keys they touch in one
// pass, so a take over thousands of keys costs no more than going through them once.
#include "RecordBlocks.h"
#include "TransformKeys.h"
#include "sdk/CUndo.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace qvn::host {

class TransformKeysUndo : public mvk::qvn::CUndo {
public:
    // The node may go before the host drops the record: once `lifetime` has expired, restore
    // and redo leave memory alone.
    TransformKeysUndo(TransformKeys& keys, std::weak_ptr<const void> lifetime)
        : keys(keys), lifetime(std::move(lifetime)) {}

    // The key at `time` was set; `before` is the key it replaced, null when there was none.
    void note(double time, const Matrix* before);
    // The key at `time` was set to the value it had: nothing to put back, but the operation
    // still counts it among its keys when it replaces its range.
    void noteUnchanged(double time);

    // Removes the keys between the operation's first and last key that it did not set itself.
    void replaceRange();

    void restore(bool isUndo) override;
    void redo() override;

    size_t changeCount() const { return changes.size(); }

private:
    struct Change {
        double time;
        // The other state of the key at `time`: a key whose value is kept[slot], or no key.
        bool present;
        int32_t slot;
    };
    // The slot of a key added by the operation that undo has not taken away yet, and of a key
    // set to the value it had.
    static constexpr int32_t Added = -1;
    static constexpr int32_t Unchanged = -2;
    // Exchanges the keys' state at each change's time with the one kept for it, the changes
    // taken last first for undo and first to last for redo.
    void exchangeAll(bool lastFirst);
    // Exchanges one change's state with the key's (`present`, `value`) at its time.
    void exchange(Change& change, bool& present, Matrix& value);
    int32_t newSlot(const Matrix& value);

    TransformKeys& keys;
    std::weak_ptr<const void> lifetime;
    // A take over a long animation notes a change, and keeps a value, for every key it sets.
    RecordBlocks<Change> changes;
    RecordBlocks<Matrix> kept;
    bool undone = false;
};

} // namespace qvn::host
