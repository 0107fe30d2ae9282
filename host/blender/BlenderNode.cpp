#include "BlenderNode.h"

#include "BlenderHost.h"
#include "FreeSnapshot.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

using namespace mvk::qvn;

namespace qvn::host::blender {

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <class T> void copyInto(const std::vector<T>& from, T*& to) {
    to = new T[from.size()];
    std::copy(from.begin(), from.end(), to);
}

} // namespace

BlenderNode::BlenderNode(BlenderHost& host, std::string key, CInterface* owner, int kind,
                         double fov)
    : host(host), objectKey(std::move(key)), ownerInterface(owner), kind(kind), fov(fov) {}

void BlenderNode::reportMissing(const std::string& what) {
    if (missingReported || deletedByCore)
        return;
    missingReported = true;
    host.notice("WARNING", "the object \"" + lastName + "\" of a tool was deleted; " + what);
}

bool BlenderNode::ensureObject() {
    if (exists())
        return true;
    if (deletedByCore || kind < 0 || ownerInterface == nullptr || coreName.empty())
        return false;
    const std::string made = BlenderScene::create(coreName, objectKey, kind, fov);
    if (made.empty())
        return false;
    reportMissing("it was made again for its tool");
    host.notice("INFO", "made \"" + made + "\" again for its tool");
    missingReported = false;
    lastName = made;
    return true;
}

bool BlenderNode::isVisible() const {
    const ObjectInfo found = info();
    return found.exists && found.visible;
}

CoreNode* BlenderNode::getParent() const {
    const ObjectInfo found = info();
    if (!found.exists || found.parent.empty())
        return nullptr;
    return host.nodeFor(found.parent);
}

int BlenderNode::getChildCount() const {
    const ObjectInfo found = info();
    return found.exists ? found.childCount : 0;
}

CoreNode* BlenderNode::getChild(int index) const {
    if (index < 0)
        return nullptr;
    const std::string child = BlenderScene::child(objectKey, index);
    return child.empty() ? nullptr : host.nodeFor(child);
}

void BlenderNode::unlinkChild(CoreNode* child) {
    if (child == nullptr)
        return;
    BlenderScene::unlinkChild(objectKey, static_cast<BlenderNode*>(child)->key());
}

CSnapshot* BlenderNode::getSnapshot(SnapshotKind snapshotKind, double time) {
    // The snapshot is the object's animation at `time`: its waiting keys are written first, and
    // every node's when it has a parent, whose keys place it in the world. A tool reading back
    // its start pose during a take writes only its own key then, not every camera's.
    flushKeys();
    const ObjectInfo found = info();
    if (!found.parent.empty())
        host.flushKeys();
    if (!found.exists) {
        if (ownerInterface != nullptr)
            reportMissing("it is made again when its tool keys it");
        return nullptr;
    }
    lastName = found.name;
    Matrix local, world;
    const int placed = BlenderScene::transforms(objectKey, BlenderScene::frameOf(time), local, world);
    if (placed == 0)
        return nullptr;
    if (placed == 1)
        local = blenderToYUp(local);
    world = blenderToYUp(world);
    CSnapshot_Transform* snapshot = nullptr;
    switch (snapshotKind) {
    case SnapshotKind::Transform:
        snapshot = new CSnapshot_Transform(this, time);
        break;
    case SnapshotKind::Helper: {
        auto* helper = new CSnapshot_Helper(this, time);
        if (found.type == "EMPTY")
            helper->size = found.emptySize;
        snapshot = helper;
        break;
    }
    case SnapshotKind::Lens: {
        if (found.type != "CAMERA")
            return nullptr;
        auto* lens = new CSnapshot_Lens(this, time);
        lens->fov = found.fovDegrees;
        snapshot = lens;
        break;
    }
    case SnapshotKind::Mesh: {
        std::vector<double> vertices;
        std::vector<int32_t> triangles;
        if (found.type != "MESH" || !BlenderScene::mesh(objectKey, vertices, triangles))
            return nullptr;
        auto* mesh = new CSnapshot_Mesh(this, time);
        mesh->mesh.numVertexes = static_cast<int32_t>(vertices.size() / 3);
        mesh->mesh.numFaces = static_cast<int32_t>(triangles.size() / 3);
        copyInto(vertices, mesh->mesh.vertex);
        copyInto(triangles, mesh->mesh.face);
        snapshot = mesh;
        break;
    }
    }
    std::copy(local.begin(), local.end(), snapshot->local);
    std::copy(world.begin(), world.end(), snapshot->global);
    return snapshot;
}

void BlenderNode::releaseSnapshot(CSnapshot* snapshot) {
    freeSnapshot(snapshot);
}

void BlenderNode::setName(const std::string& name) {
    coreName = name;
    const std::string made = BlenderScene::rename(objectKey, name);
    // Blender keeps names unique and may have added a number.
    if (!made.empty())
        lastName = made;
}

std::string BlenderNode::getName() const {
    const ObjectInfo found = info();
    if (found.exists)
        lastName = found.name;
    return lastName;
}

std::string BlenderNode::getObjectName() const {
    const ObjectInfo found = info();
    if (!found.exists)
        return lastName;
    return found.dataName.empty() ? found.name : found.dataName;
}

// With the flag set the object goes (the core has unlinked or deleted the children it must);
// clear, the tool only lets go of it: the object and every key stay in the scene. Blender's undo
// step of the operation brings either back.
void BlenderNode::deleteNode(bool withNodes) {
    flushKeys();
    if (withNodes) {
        deletedByCore = true;
        BlenderScene::remove(objectKey);
    } else {
        BlenderScene::release(objectKey);
    }
}

bool BlenderNode::keyTransform(double time, const double (&local)[16]) {
    const auto started = std::chrono::steady_clock::now();
    if (keySpacePlacement < 0 || keySpaceTurn != host.pumpTurn()) {
        keySpacePlacement = BlenderScene::keySpace(objectKey, keySpace);
        if (keySpacePlacement < 0 && ensureObject())
            keySpacePlacement = BlenderScene::keySpace(objectKey, keySpace);
        keySpaceTurn = host.pumpTurn();
        if (keySpacePlacement < 0)
            return false;
    }
    Matrix matrix;
    std::copy(std::begin(local), std::end(local), matrix.begin());
    if (keySpacePlacement == 0)
        matrix = yUpToBlender(matrix);
    else
        matrix = multiply(keySpace, matrix);
    const double frame = BlenderScene::frameOf(time);
    keyStartFrame(frame);
    keys.add(frame, matrix);
    host.addKeyCost(BlenderHost::KeyWork::Key, secondsSince(started));
    return true;
}

// The core samples a take from the frame after the one it started on; the start frame gets the
// pose the object had there, so the take's keys begin where the playhead was.
void BlenderNode::keyStartFrame(double firstSampleFrame) {
    const double start = host.takeStartFrame();
    if (!keys.wantsStartKey() || std::isnan(start) || !(start < firstSampleFrame - 1e-4))
        return;
    keys.markStartKeyed();
    Matrix local, world;
    const int placed = BlenderScene::transforms(objectKey, start, local, world);
    if (placed == 0)
        return;
    keys.add(start, placed == 1 ? local : multiply(keySpace, local));
}

void BlenderNode::flushKeys() {
    if (keys.isEmpty())
        return;
    const auto started = std::chrono::steady_clock::now();
    keys.flush(objectKey);
    host.addKeyCost(BlenderHost::KeyWork::Flush, secondsSince(started));
}


} // namespace qvn::host::blender
