#include "BlenderScene.h"

#include <cmath>
#include <iostream>
#include <stdexcept>

namespace qvn::host::blender {

namespace {

constexpr double Degrees = 3.14159265358979323846 / 180.0;

// Rotates y onto z and z onto -y.
const Matrix UpTurn = {1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1};
const Matrix UpTurnBack = {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1};

// Sub-frames closer than this to a whole frame are that frame: sample times are multiples of
// 1/fps and come back from the division a hair off.
constexpr double FrameSnap = 1e-6;

double snapped(double frame) {
    const double whole = std::round(frame);
    return std::abs(frame - whole) < FrameSnap ? whole : frame;
}

std::string link(py::object object) {
    BlenderScene::scene().attr("collection").attr("objects").attr("link")(object);
    return object.attr("name").cast<std::string>();
}

bool usable = true;

} // namespace

void reportFailure(const char* what) {
    std::cerr << "quorvane: " << what << "\n";
    // A failed conversion can leave Python's error set beside the C++ exception; a call into
    // Python with it set would fail in turn.
    if (PyErr_Occurred() != nullptr)
        PyErr_Clear();
}

void BlenderScene::setUsable(bool value) {
    usable = value;
}

Matrix yUpToBlender(const Matrix& m) {
    return multiply(UpTurn, m);
}

Matrix blenderToYUp(const Matrix& m) {
    return multiply(UpTurnBack, m);
}

py::object BlenderScene::bpy() {
    if (!usable)
        throw std::runtime_error("Blender's data is gone");
    return py::module_::import("bpy");
}

py::object BlenderScene::scene() {
    return bpy().attr("context").attr("scene");
}

py::object BlenderScene::objects() {
    return bpy().attr("data").attr("objects");
}

py::object BlenderScene::findObject(const std::string& name) {
    if (name.empty())
        return py::none();
    return objects().attr("get")(name);
}

double BlenderScene::frameRate() {
    const py::object render = scene().attr("render");
    const double base = render.attr("fps_base").cast<double>();
    const double fps = render.attr("fps").cast<double>();
    return base > 0 ? fps / base : fps;
}

double BlenderScene::frameOf(double seconds) {
    return snapped(seconds * frameRate());
}

double BlenderScene::currentTime() {
    const py::object current = scene();
    const double frame = current.attr("frame_current").cast<double>() +
                         current.attr("frame_subframe").cast<double>();
    return frame / frameRate();
}

void BlenderScene::setCurrentTime(double seconds) {
    const double frame = frameOf(seconds);
    const double whole = std::floor(frame);
    scene().attr("frame_set")(static_cast<long>(whole), py::arg("subframe") = frame - whole);
}

std::string BlenderScene::createCamera(const std::string& name, double horizontalFieldOfView) {
    py::object data = bpy().attr("data");
    py::object camera = data.attr("cameras").attr("new")(name);
    camera.attr("sensor_fit") = "HORIZONTAL";
    camera.attr("lens_unit") = "FOV";
    camera.attr("angle_x") = horizontalFieldOfView * Degrees;
    return link(data.attr("objects").attr("new")(name, camera));
}

std::string BlenderScene::createEmpty(const std::string& name) {
    py::object object = bpy().attr("data").attr("objects").attr("new")(name, py::none());
    object.attr("empty_display_type") = "PLAIN_AXES";
    return link(object);
}

py::object BlenderScene::toMathutils(const Matrix& m) {
    py::list rows;
    for (int row = 0; row < 4; ++row)
        rows.append(py::make_tuple(m[row * 4], m[row * 4 + 1], m[row * 4 + 2], m[row * 4 + 3]));
    return py::module_::import("mathutils").attr("Matrix")(rows);
}

Matrix BlenderScene::fromMathutils(const py::handle& matrix) {
    Matrix m = identity();
    size_t index = 0;
    for (const py::handle row : matrix)
        for (const py::handle value : row)
            if (index < m.size())
                m[index++] = value.cast<double>();
    return m;
}

} // namespace qvn::host::blender
