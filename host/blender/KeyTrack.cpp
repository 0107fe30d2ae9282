#include "KeyTrack.h"

#include "BlenderScene.h"

#include <cmath>
#include <vector>

namespace qvn::host::blender {

namespace {

// Keys closer than this (in frames) are one key.
constexpr double SameFrame = 1e-4;

} // namespace

void KeyTrack::flush(const std::string& objectKey) {
    if (pending.empty())
        return;
    std::vector<double> frames, bases;
    frames.reserve(pending.size());
    bases.reserve(pending.size() * 16);
    for (const auto& [frame, basis] : pending) {
        frames.push_back(frame);
        bases.insert(bases.end(), basis.begin(), basis.end());
    }
    const double first = frames.front(), last = frames.back();
    double clearFrom = 1.0, clearTo = 0.0;
    if (replacing) {
        clearFrom = (wroteAny ? lastWritten + 2 * SameFrame : first) - SameFrame;
        clearTo = last + SameFrame;
        lastWritten = wroteAny ? std::max(lastWritten, last) : last;
        wroteAny = true;
    }
    BlenderScene::writeKeys(objectKey, frames, bases, clearFrom, clearTo);
    pending.clear();
}

} // namespace qvn::host::blender
