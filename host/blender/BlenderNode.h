#pragma once
// A host node of the Blender adaptor: one Blender object, found again by name on every use
// (undo steps and file loads replace the data blocks behind Python references). An object the
// adaptor made carries a mark, so a node follows it through a rename and a reloaded file can
// hand it back to the instance that made it.
#include "KeyTrack.h"
#include "sdk/CoreNode.h"

#include <pybind11/pybind11.h>

#include <string>

namespace mvk::qvn {
class CInterface;
}

namespace qvn::host::blender {

class BlenderHost;

class BlenderNode : public mvk::qvn::CoreNode {
public:
    // The custom property that marks the objects the adaptor made; its value is the node's mark.
    static constexpr const char* MarkProperty = "quorvane_node";

    BlenderNode(BlenderHost& host, std::string objectName, std::string mark,
                mvk::qvn::CInterface* owner);
    ~BlenderNode() override = default;

    // CoreNode
    bool isVisible() const override;
    mvk::qvn::CoreNode* getParent() const override;
    int getChildCount() const override;
    mvk::qvn::CoreNode* getChild(int index) const override;
    void unlinkChild(mvk::qvn::CoreNode* child) override;
    mvk::qvn::CSnapshot* getSnapshot(mvk::qvn::SnapshotKind kind, double time) override;
    void releaseSnapshot(mvk::qvn::CSnapshot* snapshot) override;
    void setName(const std::string& name) override;
    std::string getName() const override;
    std::string getObjectName() const override;
    void deleteNode(bool withNodes) override;
    bool keyTransform(double time, const double (&local)[16]) override;

    // The object, or None when it is gone.
    py::object object() const;
    bool exists() const { return !object().is_none(); }
    const std::string& mark() const { return nodeMark; }
    mvk::qvn::CInterface* owner() const { return ownerInterface; }
    void setOwner(mvk::qvn::CInterface* owner) { ownerInterface = owner; }
    // Writes the keys given since the last flush into the object's F-curves.
    void flushKeys();
    // Puts the object where its latest waiting key has it, without touching its F-curves.
    void showLatestKey();
    size_t waitingKeys() const { return keys.size(); }

    // `object`'s own transform (location, rotation, scale) at `time` from its F-curves, with
    // this node's waiting keys written first; current values where a channel has no curve.
    Matrix basisAtTime(const py::object& object, double time);

private:
    // Row-major local and global transforms in the core's y-up world.
    void transformsAt(const py::object& object, double time, Matrix& local, Matrix& global);

    BlenderHost& host;
    mutable std::string objectName;
    std::string nodeMark;
    mvk::qvn::CInterface* ownerInterface;
    KeyTrack keys;
};

} // namespace qvn::host::blender
