#pragma once
// Mesh and snapshot types filled by the host and read by plug-ins.
#include <cstdint>

namespace mvk::qvn {

class CoreNode;

// Vertices and texture coordinates as triples of doubles; faces and texture faces as triples of
// 32-bit indices. The arrays are allocated with new[] by whoever fills the mesh and freed by the
// core's freeMesh.
struct CMesh {
    int32_t numVertexes = 0;
    int32_t numTexCoords = 0;
    int32_t numFaces = 0;
    int32_t numTFaces = 0;
    double* vertex = nullptr;   // 3 * numVertexes
    double* texcoord = nullptr; // 3 * numTexCoords
    int32_t* face = nullptr;    // 3 * numFaces
    int32_t* tface = nullptr;   // 3 * numTFaces
};

// The kinds of snapshot a node can take.
enum class SnapshotKind : int32_t { Transform = 0, Helper = 1, Mesh = 2, Lens = 3 };

// A node's state at one time. Snapshots belong to the node that made them and go back to it.
class CSnapshot {
public:
    CSnapshot(CoreNode* owner, double time) : owner(owner), time(time) {}
    virtual ~CSnapshot() = default;
    virtual SnapshotKind kind() const = 0;

    CoreNode* owner;
    double time;
};

// Row-major 4x4 matrices.
class CSnapshot_Transform : public CSnapshot {
public:
    using CSnapshot::CSnapshot;
    SnapshotKind kind() const override { return SnapshotKind::Transform; }
    double local[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    double global[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

// A helper object: its transform and its display size.
class CSnapshot_Helper : public CSnapshot_Transform {
public:
    using CSnapshot_Transform::CSnapshot_Transform;
    SnapshotKind kind() const override { return SnapshotKind::Helper; }
    double size = 0.0;
};

class CSnapshot_Mesh : public CSnapshot_Transform {
public:
    using CSnapshot_Transform::CSnapshot_Transform;
    SnapshotKind kind() const override { return SnapshotKind::Mesh; }
    CMesh mesh;
};

class CSnapshot_Lens : public CSnapshot_Transform {
public:
    using CSnapshot_Transform::CSnapshot_Transform;
    SnapshotKind kind() const override { return SnapshotKind::Lens; }
    double fov = 0.0; // field of view, degrees
};

} // namespace mvk::qvn
