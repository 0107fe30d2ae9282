#pragma once
// Blender's scene as the adaptor reaches it: through the callbacks the add-on registered
// (BlenderShim.h). Every call goes to Python, which looks its object up again by key: an undo
// step or a file load replaces the data blocks, so nothing here keeps a reference to them.
#include "BlenderShim.h"
#include "RefNode.h"

#include <string>
#include <vector>

namespace qvn::host::blender {

// The core's tools work in a world whose up axis is y; Blender's world is z-up. Transforms
// cross between the two through a quarter turn about x at the root of the hierarchy.
Matrix yUpToBlender(const Matrix& m);
Matrix blenderToYUp(const Matrix& m);

// What the adaptor knows of one object; `exists` is false when no object has the key.
struct ObjectInfo {
    bool exists = false;
    std::string name;
    std::string dataName;
    std::string parent;
    std::string coreName;
    std::string type;
    bool visible = false;
    int childCount = 0;
    double fovDegrees = 0.0;
    double emptySize = 1.0;
};

class BlenderScene {
public:
    // The add-on's callbacks; false when the table is of another size. Until a table is set,
    // and after setUsable(false) (Blender quits and has freed its data), every operation answers
    // its harmless default without calling out.
    static bool setCallbacks(const QvnbScene& table);
    static void setUsable(bool usable);
    static bool isUsable();
    // A new call into the library begins: Blender may have changed anything since the last
    // one, so what was read of it (the frame rate) is read again when next needed.
    static void newCall();

    static std::vector<std::string> objectKeys();
    static ObjectInfo info(const std::string& key);
    static std::string child(const std::string& key, int index);
    // Blender-space transforms at `frame`: 0 when the object is gone, 1 at the root, 2 under a
    // parent.
    static int transforms(const std::string& key, double frame, Matrix& local, Matrix& world);
    // -1 gone, 0 at the root, 1 under a parent (`space` then turns parent-relative into basis).
    static int keySpace(const std::string& key, Matrix& space);
    static bool mesh(const std::string& key, std::vector<double>& vertices,
                     std::vector<int32_t>& triangles);
    // The name Blender gave the new object; empty on failure.
    static std::string create(const std::string& coreName, const std::string& key, int kind,
                              double fov);
    static std::string rename(const std::string& key, const std::string& name);
    static void release(const std::string& key);
    static void remove(const std::string& key);
    static void unlinkChild(const std::string& parent, const std::string& child);
    static void writeKeys(const std::string& key, const std::vector<double>& frames,
                          const std::vector<double>& bases, double clearFrom, double clearTo);
    // `keys` one per line, 16 doubles per key in `bases`.
    static void showBases(int count, const std::string& keys, const std::vector<double>& bases);

    // Frames per second of the current scene (fps / fps_base), read once per call into the
    // library: a take asks for it several times per sample and per node.
    static double frameRate();
    static double frameOf(double seconds);
    // The current frame with its sub-frame, in seconds.
    static double currentTime();
    static void setCurrentTime(double seconds);
    // Counts setCurrentTime calls: putting the clock on a frame re-evaluates the animation of
    // every object, so objects shown away from their curves must be shown again.
    static uint64_t clockMoves();
    static void range(double& firstFrame, double& lastFrame);
    static void setRange(int first, int last);
    static void redraw();

    static bool undo();
    static void pushUndo(const std::string& name, int stamp);
    static int sceneStamp();
    static void notice(const std::string& level, const std::string& text);
};

} // namespace qvn::host::blender
