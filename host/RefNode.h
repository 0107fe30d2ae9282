#pragma once
// A scene node of the reference host: name, object name, hierarchy, visibility, an animated
// local transform, and optionally a lens or a mesh.
#include "TransformKeys.h"
#include "sdk/CoreNode.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace mvk::qvn {
class CInterface;
}

namespace qvn::host {

class RefScene;
class TransformKeysUndo;

Matrix identity();
Matrix multiply(const Matrix& a, const Matrix& b);
Matrix translation(double x, double y, double z);

class RefNode : public mvk::qvn::CoreNode {
public:
    RefNode(RefScene& scene, std::string name, mvk::qvn::CInterface* owner);
    ~RefNode() override;

    // CoreNode
    bool isVisible() const override { return visible; }
    mvk::qvn::CoreNode* getParent() const override { return parent; }
    int getChildCount() const override { return static_cast<int>(children.size()); }
    mvk::qvn::CoreNode* getChild(int index) const override;
    void unlinkChild(mvk::qvn::CoreNode* child) override;
    mvk::qvn::CSnapshot* getSnapshot(mvk::qvn::SnapshotKind kind, double time) override;
    void releaseSnapshot(mvk::qvn::CSnapshot* snapshot) override;
    void setName(const std::string& newName) override { name = newName; }
    std::string getName() const override { return name; }
    std::string getObjectName() const override { return objectName; }
    void deleteNode(bool withNodes) override;
    // Keys the local transform at `time` (see setLocalTransform).
    bool keyTransform(double time, const double (&local)[16]) override;

    void setVisible(bool value) override { visible = value; }
    void setFullDisplay(bool value) override { fullDisplay = value; }
    // Bit 0 visible, bit 1 drawn in full.
    uint64_t getDisplayState() const override;
    void setDisplayState(uint64_t state) override;

    // Host-side editing.
    void setObjectName(const std::string& text) { objectName = text; }
    bool isFullDisplay() const { return fullDisplay; }
    void addChild(RefNode* child);
    // Links `child` at `position` among the children (at the end when beyond them).
    void insertChild(RefNode* child, size_t position);
    // Unlinks `child` without an undo record; answers its position, -1 when it is no child.
    int removeChild(RefNode* child);
    RefNode* parentNode() const { return parent; }
    // Sets a key of the local transform at `time`, replacing one at exactly that time (the
    // transform is constant without keys, stepped between keys); a time that is not finite is
    // ignored. Changes made while the scene's undo stack holds an operation are part of its
    // undo step.
    void setLocalTransform(double time, const Matrix& local);
    // The keyed curves: every key of the local transform, in time order.
    const TransformKeyList& transformKeys() const { return keys.list(); }
    // The key at exactly `time`; null when there is none.
    const Matrix* transformKeyAt(double time) const { return keys.find(time); }
    // One element of the matrix (row-major index 0 to 15) at every key, as (time, value).
    std::vector<std::pair<double, double>> channel(int element) const;
    Matrix localAt(double time) const;
    Matrix globalAt(double time) const;
    void setLens(double fieldOfView) { lens = fieldOfView; }
    bool hasLens() const { return lens.has_value(); }
    // Copies `mesh` (the node keeps its own arrays).
    void setMesh(const mvk::qvn::CMesh& mesh);
    bool hasMesh() const { return meshData.has_value(); }
    mvk::qvn::CInterface* owner() const { return ownerInterface; }
    void setOwner(mvk::qvn::CInterface* owner) { ownerInterface = owner; }
    int outstandingSnapshots() const { return snapshotsOut; }

private:
    struct MeshData {
        std::vector<double> vertex, texcoord;
        std::vector<int32_t> face, tface;
    };
    void fillTransform(mvk::qvn::CSnapshot_Transform& snapshot, double time) const;
    // The undo record of the keys for the operation the scene's undo stack holds, made and
    // handed over on the first change; null when no operation is open.
    TransformKeysUndo* keysUndo();

    RefScene& scene;
    std::string name;
    std::string objectName;
    mvk::qvn::CInterface* ownerInterface;
    RefNode* parent = nullptr;
    std::vector<RefNode*> children;
    bool visible = true;
    bool fullDisplay = true;
    TransformKeys keys;
    // The hold whose undo step holds `openKeysUndo` (the stack owns the record).
    int keysUndoHold = 0;
    TransformKeysUndo* openKeysUndo = nullptr;
    // Undo records of the keys may outlive the node; they watch this to know.
    std::shared_ptr<const int> lifetime = std::make_shared<const int>(0);
    std::optional<double> lens;
    std::optional<MeshData> meshData;
    int snapshotsOut = 0;
};

} // namespace qvn::host
