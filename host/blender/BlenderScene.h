#pragma once
// Blender's scene as the adaptor reaches it through bpy: the current scene, its clock and its
// objects. Nothing here keeps a Python reference to Blender data: an undo step or a file load
// replaces the data blocks, so every caller looks its objects up again by name.
#include "RefNode.h"

#include <pybind11/pybind11.h>

#include <exception>
#include <string>

namespace qvn::host::blender {

namespace py = pybind11;

// The core's tools work in a world whose up axis is y; Blender's world is z-up. Transforms
// cross between the two through a quarter turn about x at the root of the hierarchy.
Matrix yUpToBlender(const Matrix& m);
Matrix blenderToYUp(const Matrix& m);

// Writes a failed bpy call to standard error (Blender's console).
void reportFailure(const char* what);

// Runs `body` and gives its result; `fallback` when it fails. Adaptor operations are called from
// inside the core, which knows nothing of Python errors: a failed bpy call (a removed object, a
// context Blender does not offer right now) must end here, never unwind through the core.
template <class T, class Body> T guarded(T fallback, Body&& body) {
    try {
        return body();
    } catch (const std::exception& error) {
        reportFailure(error.what());
        return fallback;
    }
}
template <class Body> void guarded(Body&& body) {
    guarded(0, [&] {
        body();
        return 0;
    });
}
class BlenderScene {
public:
    // Once Blender has freed its data (the program quits), no bpy call may be made: every
    // operation here fails instead, and guarded callers fall back.
    static void setUsable(bool usable);
    static py::object bpy();
    static py::object scene();
    static py::object objects();
    // The object of that name, or None.
    static py::object findObject(const std::string& name);

    // Frames per second of the current scene (fps / fps_base).
    static double frameRate();
    static double frameOf(double seconds);
    // The current frame with its sub-frame, in seconds.
    static double currentTime();
    static void setCurrentTime(double seconds);

    // New objects linked to the scene's main collection; the name Blender gave comes back.
    static std::string createCamera(const std::string& name, double horizontalFieldOfView);
    static std::string createEmpty(const std::string& name);

    // Conversions between mathutils.Matrix (4x4) and row-major matrices.
    static py::object toMathutils(const Matrix& m);
    static Matrix fromMathutils(const py::handle& matrix);
};

} // namespace qvn::host::blender
