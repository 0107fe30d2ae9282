#pragma once
// The transform keys a node has been given but not yet written to its object's F-curves.
// Inserting keyframes one at a time costs Blender a pass over the whole curve per key, far too
// slow for several cameras at 60 samples a second; keys are gathered here and merged into the
// curves in one pass per channel whenever the host needs the curves to be current.
#include "RefNode.h"

#include <map>
#include <string>

namespace qvn::host::blender {

class KeyTrack {
public:
    // `basis` is the object's own transform (location, rotation, scale) at `frame`; a key at a
    // frame already waiting replaces it.
    void add(double frame, const Matrix& basis) { pending[frame] = basis, fresh = true; }
    bool isEmpty() const { return pending.empty(); }
    // The waiting key of the latest frame; null when none waits.
    const Matrix* latest() const { return pending.empty() ? nullptr : &pending.rbegin()->second; }
    // Whether a key came since the object was last shown at its latest one.
    bool hasFreshKey() const { return fresh; }
    void markShown() { fresh = false; }
    size_t size() const { return pending.size(); }
    // Writes the waiting keys into the F-curves of the object with that key, replacing keys at
    // the same frames. While an operation replaces its range (between startReplacing and
    // stopReplacing), the first flush also clears the curves from its first key to its last and
    // later flushes from just after the keys already written to their last: the operation's
    // whole range ends up replaced without touching its own earlier keys.
    void flush(const std::string& objectKey);
    void startReplacing() { replacing = true, wroteAny = false, startKeyed = false; }
    // A take keys its start frame once, before its first sample's key.
    bool wantsStartKey() const { return replacing && !wroteAny && !startKeyed && pending.empty(); }
    void markStartKeyed() { startKeyed = true; }
    void stopReplacing() { replacing = false; }
    void clear() { pending.clear(); }

private:
    std::map<double, Matrix> pending;
    bool replacing = false;
    bool wroteAny = false;
    bool startKeyed = false;
    bool fresh = false;
    double lastWritten = 0.0;
};

} // namespace qvn::host::blender
