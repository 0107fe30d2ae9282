#pragma once
// The snapshots a host node hands out are made with new and their mesh arrays with new[]; every
// host node kind gives them back through here.
#include "sdk/CMesh.h"

namespace qvn::host {

inline void freeSnapshot(mvk::qvn::CSnapshot* snapshot) {
    if (snapshot == nullptr)
        return;
    if (snapshot->kind() == mvk::qvn::SnapshotKind::Mesh) {
        mvk::qvn::CMesh& mesh = static_cast<mvk::qvn::CSnapshot_Mesh*>(snapshot)->mesh;
        delete[] mesh.vertex;
        delete[] mesh.texcoord;
        delete[] mesh.face;
        delete[] mesh.tface;
    }
    delete snapshot;
}

} // namespace qvn::host
