#pragma once
// A host node of the Blender adaptor: one Blender object, named by its key (see BlenderShim.h)
// and looked up again on every use, since undo steps and file loads replace the data blocks.
// The object the adaptor made carries its key as a custom property, so a node follows its
// object through renames, undo and saving, and a reopened file's tool finds it again.
#include "BlenderScene.h"
#include "KeyTrack.h"
#include "sdk/CoreNode.h"

#include <string>

namespace mvk::qvn {
class CInterface;
}

namespace qvn::host::blender {

class BlenderHost;

class BlenderNode : public mvk::qvn::CoreNode {
public:
    // `kind` and `fov` say how to make the object again (QVNB_OBJECT_*); -1 for an object the
    // adaptor did not make.
    BlenderNode(BlenderHost& host, std::string key, mvk::qvn::CInterface* owner, int kind = -1,
                double fov = 0.0);
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

    const std::string& key() const { return objectKey; }
    // The object's name as last seen (reports name it when the object is gone), and the name
    // the core gave the node (an object made again is made under it).
    void rememberName(const std::string& name) { lastName = name; }
    void setCoreName(const std::string& name) { coreName = name; }
    void setKind(int objectKind, double fieldOfView) { kind = objectKind, fov = fieldOfView; }
    ObjectInfo info() const { return BlenderScene::info(objectKey); }
    bool exists() const { return info().exists; }
    mvk::qvn::CInterface* owner() const { return ownerInterface; }
    void setOwner(mvk::qvn::CInterface* owner) { ownerInterface = owner; }
    // Writes the keys given since the last flush into the object's F-curves.
    void flushKeys();
    // The latest waiting key; null when none waits.
    const Matrix* latestKey() const { return keys.latest(); }
    size_t waitingKeys() const { return keys.size(); }
    KeyTrack& keyTrack() { return keys; }

private:
    // The object, made again when the user deleted it and its tool needs it; false when there
    // is none and none can be made.
    bool ensureObject();
    void reportMissing(const std::string& what);
    void keyStartFrame(double firstSampleFrame);

    BlenderHost& host;
    std::string objectKey;
    mutable std::string lastName;
    std::string coreName;
    mvk::qvn::CInterface* ownerInterface;
    int kind;
    double fov;
    bool deletedByCore = false;
    bool missingReported = false;
    // The parent inverse of the object as last read, and the pump turn it was read in: keys of
    // one turn reuse it.
    Matrix keySpace = identity();
    int keySpacePlacement = -1;
    uint64_t keySpaceTurn = 0;
    KeyTrack keys;
};

} // namespace qvn::host::blender
