#pragma once
// The transform keys a node has been given but not yet written to its object's F-curves.
// Inserting keyframes one at a time costs Blender a pass over the whole curve per key, far too
// slow for several cameras at 60 samples a second; keys are gathered here and merged into the
// curves in one pass per channel whenever the host needs the curves to be current.
#include "RefNode.h"

#include <pybind11/pybind11.h>

#include <map>

namespace qvn::host::blender {

namespace py = pybind11;

class KeyTrack {
public:
    // `basis` is the object's own transform (location, rotation, scale) at `frame`; a key at a
    // frame already waiting replaces it.
    void add(double frame, const Matrix& basis) { pending[frame] = basis; }
    bool isEmpty() const { return pending.empty(); }
    // The waiting key of the latest frame; null when none waits.
    const Matrix* latest() const { return pending.empty() ? nullptr : &pending.rbegin()->second; }
    size_t size() const { return pending.size(); }
    // Writes the waiting keys into `object`'s action (made when missing) as linear keys of its
    // location, rotation (in the object's rotation mode) and scale channels, replacing keys at
    // the same frames. Nothing is written when `object` is None; the keys are dropped either way.
    void flush(const py::object& object);
    void clear() { pending.clear(); }

private:
    std::map<double, Matrix> pending;
};

} // namespace qvn::host::blender
