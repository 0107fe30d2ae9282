#include "BlenderNode.h"

#include "BlenderHost.h"
#include "BlenderScene.h"
#include "FreeSnapshot.h"

#include <pybind11/stl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

using namespace mvk::qvn;

namespace qvn::host::blender {

namespace {

constexpr double Degrees = 3.14159265358979323846 / 180.0;

bool hasParent(const py::object& object) {
    return !object.attr("parent").is_none();
}

// The object's place in Blender's world at `time`, down its parent chain.
Matrix worldAt(BlenderHost& host, const py::object& object, double time);

Matrix parentRelative(BlenderHost& host, const py::object& object, double time) {
    const Matrix inverse = BlenderScene::fromMathutils(object.attr("matrix_parent_inverse"));
    return multiply(inverse, host.nodeFor(object)->basisAtTime(object, time));
}

Matrix worldAt(BlenderHost& host, const py::object& object, double time) {
    const Matrix local = parentRelative(host, object, time);
    if (!hasParent(object))
        return local;
    return multiply(worldAt(host, object.attr("parent"), time), local);
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <class T> void copyInto(const std::vector<T>& from, T*& to) {
    to = new T[from.size()];
    std::copy(from.begin(), from.end(), to);
}

// The mesh as stored (not evaluated): its vertices and its faces split into triangles.
void fillMesh(const py::object& mesh, CMesh& out) {
    mesh.attr("calc_loop_triangles")();
    std::vector<double> vertices;
    for (const py::handle vertex : mesh.attr("vertices"))
        for (const py::handle value : vertex.attr("co"))
            vertices.push_back(value.cast<double>());
    std::vector<int32_t> faces;
    for (const py::handle triangle : mesh.attr("loop_triangles"))
        for (const py::handle index : triangle.attr("vertices"))
            faces.push_back(index.cast<int32_t>());
    out.numVertexes = static_cast<int32_t>(vertices.size() / 3);
    out.numFaces = static_cast<int32_t>(faces.size() / 3);
    copyInto(vertices, out.vertex);
    copyInto(faces, out.face);
}

} // namespace

BlenderNode::BlenderNode(BlenderHost& host, std::string objectName, std::string mark,
                         CInterface* owner)
    : host(host), objectName(std::move(objectName)), nodeMark(std::move(mark)),
      ownerInterface(owner) {}

py::object BlenderNode::object() const {
    py::object found = BlenderScene::findObject(objectName);
    if (nodeMark.empty())
        return found;
    if (!found.is_none() && found.attr("get")(MarkProperty).equal(py::str(nodeMark)))
        return found;
    // Renamed in Blender: the mark still tells which object is ours.
    for (const py::handle candidate : BlenderScene::objects())
        if (candidate.attr("get")(MarkProperty).equal(py::str(nodeMark))) {
            objectName = candidate.attr("name").cast<std::string>();
            return py::reinterpret_borrow<py::object>(candidate);
        }
    return py::none();
}

bool BlenderNode::isVisible() const {
    return guarded<bool>(false, [&]() -> bool {
        const py::object found = object();
        if (found.is_none())
            return false;
        return !found.attr("hide_viewport").cast<bool>() && !found.attr("hide_get")().cast<bool>();
    });
}

CoreNode* BlenderNode::getParent() const {
    return guarded<CoreNode*>(nullptr, [&]() -> CoreNode* {
        const py::object found = object();
        if (found.is_none() || !hasParent(found))
            return nullptr;
        return host.nodeFor(found.attr("parent"));
    });
}

int BlenderNode::getChildCount() const {
    return guarded<int>(0, [&]() -> int {
        const py::object found = object();
        return found.is_none() ? 0 : static_cast<int>(py::len(found.attr("children")));
    });
}

CoreNode* BlenderNode::getChild(int index) const {
    return guarded<CoreNode*>(nullptr, [&]() -> CoreNode* {
        const py::object found = object();
        if (found.is_none() || index < 0 || index >= getChildCount())
            return nullptr;
        return host.nodeFor(found.attr("children")[py::int_(index)]);
    });
}

void BlenderNode::unlinkChild(CoreNode* child) {
    guarded([&] {
        const py::object found = object();
        const py::object childObject =
            child != nullptr ? static_cast<BlenderNode*>(child)->object() : py::none();
        if (found.is_none() || childObject.is_none() ||
            !py::object(childObject.attr("parent")).equal(found))
            return;
        // It stays where it is in the world.
        const py::object world = childObject.attr("matrix_world").attr("copy")();
        childObject.attr("parent") = py::none();
        childObject.attr("matrix_world") = world;
    });
}

Matrix BlenderNode::basisAtTime(const py::object& found, double time) {
    flushKeys();
    const double frame = BlenderScene::frameOf(time);
    std::vector<double> location, rotation, scale;
    const std::string mode = found.attr("rotation_mode").cast<std::string>();
    const char* rotationPath = mode == "QUATERNION" ? "rotation_quaternion" : "rotation_euler";
    for (const py::handle value : found.attr("location"))
        location.push_back(value.cast<double>());
    for (const py::handle value : found.attr(rotationPath))
        rotation.push_back(value.cast<double>());
    for (const py::handle value : found.attr("scale"))
        scale.push_back(value.cast<double>());
    const py::object animation = found.attr("animation_data");
    const py::object action =
        animation.is_none() ? py::object(py::none()) : py::object(animation.attr("action"));
    if (!action.is_none())
        for (const py::handle curve : action.attr("fcurves")) {
            const std::string path = curve.attr("data_path").cast<std::string>();
            const size_t index = curve.attr("array_index").cast<size_t>();
            std::vector<double>* channel = path == "location"     ? &location
                                           : path == rotationPath ? &rotation
                                           : path == "scale"      ? &scale
                                                                  : nullptr;
            if (channel != nullptr && index < channel->size())
                (*channel)[index] = curve.attr("evaluate")(frame).cast<double>();
        }
    const py::module_ mathutils = py::module_::import("mathutils");
    const py::object turn = mode == "QUATERNION" ? mathutils.attr("Quaternion")(py::cast(rotation))
                            : mode == "AXIS_ANGLE"
                                ? mathutils.attr("Euler")(py::make_tuple(0.0, 0.0, 0.0))
                                : mathutils.attr("Euler")(py::cast(rotation), mode);
    return BlenderScene::fromMathutils(
        mathutils.attr("Matrix").attr("LocRotScale")(py::cast(location), turn, py::cast(scale)));
}

void BlenderNode::transformsAt(const py::object& found, double time, Matrix& local,
                               Matrix& global) {
    const Matrix relative = parentRelative(host, found, time);
    local = hasParent(found) ? relative : blenderToYUp(relative);
    global = blenderToYUp(worldAt(host, found, time));
}

CSnapshot* BlenderNode::getSnapshot(SnapshotKind kind, double time) {
    return guarded<CSnapshot*>(nullptr, [&]() -> CSnapshot* {
        flushKeys();
        const py::object found = object();
        if (found.is_none())
            return nullptr;
        const std::string type = found.attr("type").cast<std::string>();
        Matrix local, global;
        transformsAt(found, time, local, global);
        CSnapshot_Transform* snapshot = nullptr;
        switch (kind) {
        case SnapshotKind::Transform:
            snapshot = new CSnapshot_Transform(this, time);
            break;
        case SnapshotKind::Helper: {
            auto* helper = new CSnapshot_Helper(this, time);
            if (type == "EMPTY")
                helper->size = found.attr("empty_display_size").cast<double>();
            snapshot = helper;
            break;
        }
        case SnapshotKind::Lens: {
            if (type != "CAMERA")
                return nullptr;
            auto* lens = new CSnapshot_Lens(this, time);
            lens->fov = found.attr("data").attr("angle_x").cast<double>() / Degrees;
            snapshot = lens;
            break;
        }
        case SnapshotKind::Mesh: {
            if (type != "MESH")
                return nullptr;
            auto* mesh = new CSnapshot_Mesh(this, time);
            fillMesh(found.attr("data"), mesh->mesh);
            snapshot = mesh;
            break;
        }
        }
        std::copy(local.begin(), local.end(), snapshot->local);
        std::copy(global.begin(), global.end(), snapshot->global);
        return snapshot;
    });
}

void BlenderNode::releaseSnapshot(CSnapshot* snapshot) {
    if (snapshot == nullptr)
        return;
    freeSnapshot(snapshot);
}

void BlenderNode::setName(const std::string& name) {
    guarded([&] {
        const py::object found = object();
        if (found.is_none())
            return;
        found.attr("name") = name;
        // Blender keeps names unique and may have added a number.
        objectName = found.attr("name").cast<std::string>();
    });
}

std::string BlenderNode::getName() const {
    return guarded<std::string>(objectName, [&]() -> std::string {
        object();
        return objectName;
    });
}

std::string BlenderNode::getObjectName() const {
    return guarded<std::string>(objectName, [&]() -> std::string {
        const py::object found = object();
        if (found.is_none())
            return objectName;
        const py::object data = found.attr("data");
        return data.is_none() ? objectName : data.attr("name").cast<std::string>();
    });
}

void BlenderNode::deleteNode(bool withNodes) {
    guarded([&] {
        keys.clear();
        const py::object found = object();
        if (found.is_none())
            return;
        const py::list children(found.attr("children"));
        for (const py::handle child : children) {
            BlenderNode* node = host.nodeFor(py::reinterpret_borrow<py::object>(child));
            if (withNodes)
                node->deleteNode(true);
            else
                unlinkChild(node);
        }
        const py::object data = found.attr("data");
        const py::object blendData = BlenderScene::bpy().attr("data");
        blendData.attr("objects").attr("remove")(found);
        if (!data.is_none() && data.attr("users").cast<int>() == 0)
            blendData.attr("batch_remove")(py::make_tuple(data));
    });
}

bool BlenderNode::keyTransform(double time, const double (&local)[16]) {
    const auto started = std::chrono::steady_clock::now();
    const bool keyed = guarded<bool>(false, [&]() -> bool {
        const py::object found = object();
        if (found.is_none())
            return false;
        Matrix matrix;
        std::copy(std::begin(local), std::end(local), matrix.begin());
        if (!hasParent(found))
            matrix = yUpToBlender(matrix);
        const py::object inverse = found.attr("matrix_parent_inverse").attr("inverted_safe")();
        keys.add(BlenderScene::frameOf(time),
                 multiply(BlenderScene::fromMathutils(inverse), matrix));
        return true;
    });
    host.addKeyCost(BlenderHost::KeyWork::Key, secondsSince(started));
    return keyed;
}

void BlenderNode::flushKeys() {
    if (keys.isEmpty())
        return;
    const auto started = std::chrono::steady_clock::now();
    guarded([&] { keys.flush(object()); });
    host.addKeyCost(BlenderHost::KeyWork::Flush, secondsSince(started));
}

void BlenderNode::showLatestKey() {
    const Matrix* latest = keys.latest();
    if (latest == nullptr)
        return;
    const auto started = std::chrono::steady_clock::now();
    guarded([&] {
        const py::object found = object();
        if (!found.is_none())
            found.attr("matrix_basis") = BlenderScene::toMathutils(*latest);
    });
    host.addKeyCost(BlenderHost::KeyWork::Show, secondsSince(started));
}

} // namespace qvn::host::blender
