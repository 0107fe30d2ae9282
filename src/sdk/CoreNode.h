#pragma once
// A host scene node as the core sees it: an opaque handle whose operations the host implements.
// Only pointers cross the boundary; nodes belong to the host.
#include "sdk/CMesh.h"

#include <cstdint>
#include <string>

namespace mvk::qvn {

class CoreNode {
public:
    virtual bool isVisible() const = 0;
    virtual CoreNode* getParent() const = 0;
    virtual int getChildCount() const = 0;
    virtual CoreNode* getChild(int index) const = 0;
    // Detaches `child` from this node (it stays in the scene as a root node).
    virtual void unlinkChild(CoreNode* child) = 0;
    // The node's state at `time`; null when it has none of that kind (a lens snapshot of a node
    // without a lens, say). The snapshot goes back through releaseSnapshot.
    virtual CSnapshot* getSnapshot(SnapshotKind kind, double time) = 0;
    virtual void releaseSnapshot(CSnapshot* snapshot) = 0;
    virtual void setName(const std::string& name) = 0;
    virtual std::string getName() const = 0;
    virtual std::string getObjectName() const = 0;
    // Deletes the node; with `withNodes` its child nodes go too, otherwise they are unlinked.
    virtual void deleteNode(bool withNodes) = 0;
    // Plug-in code writes its motion through this: a key of the node's local transform
    // (row-major 4x4, as in snapshots) at `time`. False when the host keeps no such animation.
    virtual bool keyTransform(double time, const double (&local)[16]) { return false; }
    // Display, for the reduced display while recording. A host that can hide nodes or draw them
    // simplified implements these; the defaults keep nothing.
    virtual void setVisible(bool /*visible*/) {}
    // Off: the node is drawn simplified (as its bounding box, say) until switched on again.
    virtual void setFullDisplay(bool /*full*/) {}
    // All the host keeps about how the node is displayed, encoded as the host likes: the core
    // only hands it back to setDisplayState to undo its switches.
    virtual uint64_t getDisplayState() const { return 0; }
    virtual void setDisplayState(uint64_t /*state*/) {}

protected:
    virtual ~CoreNode() = default;
};

} // namespace mvk::qvn
