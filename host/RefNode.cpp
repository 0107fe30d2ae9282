#include "RefNode.h"

#include "FreeSnapshot.h"
#include "RefScene.h"
#include "RefUndoStack.h"
#include "TransformKeysUndo.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

using namespace mvk::qvn;

namespace qvn::host {

Matrix identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix result{};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a[row * 4 + k] * b[k * 4 + column];
            result[row * 4 + column] = sum;
        }
    return result;
}

Matrix translation(double x, double y, double z) {
    Matrix m = identity();
    m[3] = x;
    m[7] = y;
    m[11] = z;
    return m;
}

RefNode::RefNode(RefScene& scene, std::string name, CInterface* owner)
    : scene(scene), name(name), objectName(std::move(name)), ownerInterface(owner) {}

RefNode::~RefNode() = default;

CoreNode* RefNode::getChild(int index) const {
    if (index < 0 || index >= getChildCount())
        return nullptr;
    return children[static_cast<size_t>(index)];
}

int RefNode::removeChild(RefNode* child) {
    const auto found = std::find(children.begin(), children.end(), child);
    if (found == children.end())
        return -1;
    const int position = static_cast<int>(found - children.begin());
    children.erase(found);
    child->parent = nullptr;
    return position;
}

void RefNode::unlinkChild(CoreNode* child) { scene.unlink(this, static_cast<RefNode*>(child)); }

void RefNode::addChild(RefNode* child) {
    insertChild(child, children.size());
}

void RefNode::insertChild(RefNode* child, size_t position) {
    if (child == nullptr || child == this)
        return;
    if (child->parent != nullptr)
        child->parent->removeChild(child);
    child->parent = this;
    children.insert(children.begin() + static_cast<std::ptrdiff_t>(std::min(position, children.size())),
                    child);
}

TransformKeysUndo* RefNode::keysUndo() {
    RefUndoStack* undo = scene.undoStack();
    if (undo == nullptr || !undo->isHolding())
        return nullptr;
    // While the same hold stays open its step keeps the record, so the pointer is good.
    if (keysUndoHold != undo->holdNumber()) {
        keysUndoHold = undo->holdNumber();
        openKeysUndo = new TransformKeysUndo(keys, lifetime);
        undo->put(openKeysUndo);
        // A take or a resimulation replaces the animation inside the time it keyed.
        undo->whenAccepted([record = openKeysUndo] { record->replaceRange(); });
    }
    return openKeysUndo;
}

void RefNode::setLocalTransform(double time, const Matrix& local) {
    if (!std::isfinite(time))
        return;
    TransformKeysUndo* undo = keysUndo();
    Matrix before;
    const bool replaced = keys.set(time, local, undo != nullptr ? &before : nullptr);
    if (undo == nullptr)
        return;
    // Resimulating many instances after changing one sets most keys to what they were. Bit for
    // bit: a zero that changed its sign is a change undo must put back.
    if (replaced && std::memcmp(before.data(), local.data(), sizeof(Matrix)) == 0)
        undo->noteUnchanged(time);
    else
        undo->note(time, replaced ? &before : nullptr);
}

bool RefNode::keyTransform(double time, const double (&local)[16]) {
    if (!std::isfinite(time))
        return false;
    Matrix matrix;
    std::copy(std::begin(local), std::end(local), matrix.begin());
    setLocalTransform(time, matrix);
    return true;
}

std::vector<std::pair<double, double>> RefNode::channel(int element) const {
    std::vector<std::pair<double, double>> values;
    if (element < 0 || element >= 16)
        return values;
    values.reserve(keys.size());
    for (const auto& [time, matrix] : keys.list())
        values.emplace_back(time, matrix[static_cast<size_t>(element)]);
    return values;
}

Matrix RefNode::localAt(double time) const { return keys.at(time); }

Matrix RefNode::globalAt(double time) const {
    const Matrix local = localAt(time);
    return parent ? multiply(parent->globalAt(time), local) : local;
}

void RefNode::fillTransform(CSnapshot_Transform& snapshot, double time) const {
    const Matrix local = localAt(time);
    const Matrix global = globalAt(time);
    std::copy(local.begin(), local.end(), snapshot.local);
    std::copy(global.begin(), global.end(), snapshot.global);
}

CSnapshot* RefNode::getSnapshot(SnapshotKind kind, double time) {
    CSnapshot_Transform* snapshot = nullptr;
    switch (kind) {
    case SnapshotKind::Transform:
        snapshot = new CSnapshot_Transform(this, time);
        break;
    case SnapshotKind::Helper:
        snapshot = new CSnapshot_Helper(this, time);
        break;
    case SnapshotKind::Lens: {
        if (!lens)
            return nullptr;
        auto* lensSnapshot = new CSnapshot_Lens(this, time);
        lensSnapshot->fov = *lens;
        snapshot = lensSnapshot;
        break;
    }
    case SnapshotKind::Mesh: {
        if (!meshData)
            return nullptr;
        auto* meshSnapshot = new CSnapshot_Mesh(this, time);
        CMesh& mesh = meshSnapshot->mesh;
        mesh.numVertexes = static_cast<int32_t>(meshData->vertex.size() / 3);
        mesh.numTexCoords = static_cast<int32_t>(meshData->texcoord.size() / 3);
        mesh.numFaces = static_cast<int32_t>(meshData->face.size() / 3);
        mesh.numTFaces = static_cast<int32_t>(meshData->tface.size() / 3);
        mesh.vertex = new double[meshData->vertex.size()];
        std::copy(meshData->vertex.begin(), meshData->vertex.end(), mesh.vertex);
        mesh.texcoord = new double[meshData->texcoord.size()];
        std::copy(meshData->texcoord.begin(), meshData->texcoord.end(), mesh.texcoord);
        mesh.face = new int32_t[meshData->face.size()];
        std::copy(meshData->face.begin(), meshData->face.end(), mesh.face);
        mesh.tface = new int32_t[meshData->tface.size()];
        std::copy(meshData->tface.begin(), meshData->tface.end(), mesh.tface);
        snapshot = meshSnapshot;
        break;
    }
    }
    if (snapshot == nullptr)
        return nullptr;
    fillTransform(*snapshot, time);
    ++snapshotsOut;
    return snapshot;
}

void RefNode::releaseSnapshot(CSnapshot* snapshot) {
    if (snapshot == nullptr)
        return;
    freeSnapshot(snapshot);
    --snapshotsOut;
}

void RefNode::setMesh(const CMesh& mesh) {
    MeshData data;
    data.vertex.assign(mesh.vertex, mesh.vertex + 3 * std::max(0, mesh.numVertexes));
    data.texcoord.assign(mesh.texcoord, mesh.texcoord + 3 * std::max(0, mesh.numTexCoords));
    data.face.assign(mesh.face, mesh.face + 3 * std::max(0, mesh.numFaces));
    data.tface.assign(mesh.tface, mesh.tface + 3 * std::max(0, mesh.numTFaces));
    meshData = std::move(data);
}

uint64_t RefNode::getDisplayState() const {
    return (visible ? 1U : 0U) | (fullDisplay ? 2U : 0U);
}

void RefNode::setDisplayState(uint64_t state) {
    visible = (state & 1U) != 0;
    fullDisplay = (state & 2U) != 0;
}

void RefNode::deleteNode(bool withNodes) { scene.deleteNode(this, withNodes); }

} // namespace qvn::host
