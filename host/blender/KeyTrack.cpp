#include "KeyTrack.h"

#include "BlenderScene.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

namespace qvn::host::blender {

namespace {

// Keys closer than this (in frames) are the same key.
constexpr double SameFrame = 1e-4;
// Blender's interpolation enum: CONSTANT, LINEAR, BEZIER, ...
constexpr int LinearInterpolation = 1;

struct Point {
    float frame;
    float value;
    float left[2];
    float right[2];
    int interpolation;
};

struct Channel {
    std::string path;
    int index;
    std::vector<std::pair<float, float>> keys;
};

// One property of every keyframe through the buffer protocol: no Python object per value.
template <class T>
std::vector<T> readAll(const py::object& keyframes, const char* property, size_t width,
                       size_t count) {
    std::vector<T> values(width * count);
    py::object array = py::module_::import("array").attr("array")(
        std::is_same_v<T, float> ? "f" : "i",
        py::bytes(std::string(values.size() * sizeof(T), '\0')));
    keyframes.attr("foreach_get")(property, array);
    const std::string bytes = array.attr("tobytes")().cast<std::string>();
    std::memcpy(values.data(), bytes.data(), std::min(bytes.size(), values.size() * sizeof(T)));
    return values;
}

template <class T>
void writeAll(const py::object& keyframes, const char* property, const std::vector<T>& values) {
    py::object array = py::module_::import("array").attr("array")(
        std::is_same_v<T, float> ? "f" : "i",
        py::bytes(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T)));
    keyframes.attr("foreach_set")(property, array);
}

std::vector<Point> readPoints(const py::object& keyframes) {
    const size_t count = py::len(keyframes);
    std::vector<Point> points(count);
    if (count == 0)
        return points;
    const auto co = readAll<float>(keyframes, "co", 2, count);
    const auto left = readAll<float>(keyframes, "handle_left", 2, count);
    const auto right = readAll<float>(keyframes, "handle_right", 2, count);
    const auto interpolation = readAll<int>(keyframes, "interpolation", 1, count);
    for (size_t i = 0; i < count; ++i)
        points[i] = {co[2 * i],
                     co[2 * i + 1],
                     {left[2 * i], left[2 * i + 1]},
                     {right[2 * i], right[2 * i + 1]},
                     interpolation[i]};
    return points;
}

// Existing keys and new ones in frame order; a new key replaces an old one at its frame.
std::vector<Point> merged(const std::vector<Point>& old,
                          const std::vector<std::pair<float, float>>& added) {
    std::vector<Point> result;
    result.reserve(old.size() + added.size());
    size_t a = 0;
    for (const Point& point : old) {
        while (a < added.size() && added[a].first < point.frame - SameFrame) {
            const auto [frame, value] = added[a++];
            result.push_back({frame, value, {frame, value}, {frame, value}, LinearInterpolation});
        }
        if (a < added.size() && std::abs(added[a].first - point.frame) <= SameFrame) {
            const auto [frame, value] = added[a++];
            result.push_back({frame, value, {frame, value}, {frame, value}, LinearInterpolation});
            continue;
        }
        result.push_back(point);
    }
    for (; a < added.size(); ++a) {
        const auto [frame, value] = added[a];
        result.push_back({frame, value, {frame, value}, {frame, value}, LinearInterpolation});
    }
    return result;
}

void writePoints(const py::object& keyframes, const std::vector<Point>& points) {
    const size_t had = py::len(keyframes);
    if (points.size() > had)
        keyframes.attr("add")(points.size() - had);
    std::vector<float> co, left, right;
    std::vector<int> interpolation;
    for (const Point& p : points) {
        co.insert(co.end(), {p.frame, p.value});
        left.insert(left.end(), {p.left[0], p.left[1]});
        right.insert(right.end(), {p.right[0], p.right[1]});
        interpolation.push_back(p.interpolation);
    }
    writeAll(keyframes, "co", co);
    writeAll(keyframes, "handle_left", left);
    writeAll(keyframes, "handle_right", right);
    writeAll(keyframes, "interpolation", interpolation);
}

py::object actionOf(const py::object& object) {
    py::object animation = object.attr("animation_data");
    if (animation.is_none())
        animation = object.attr("animation_data_create")();
    py::object action = animation.attr("action");
    if (action.is_none()) {
        const std::string name = object.attr("name").cast<std::string>() + "Action";
        action = BlenderScene::bpy().attr("data").attr("actions").attr("new")(name);
        animation.attr("action") = action;
    }
    return action;
}

void writeChannel(const py::object& action, const Channel& channel) {
    py::object fcurves = action.attr("fcurves");
    py::object curve = fcurves.attr("find")(channel.path, py::arg("index") = channel.index);
    if (curve.is_none())
        curve = fcurves.attr("new")(channel.path, py::arg("index") = channel.index,
                                    py::arg("action_group") = "Object Transforms");
    py::object keyframes = curve.attr("keyframe_points");
    writePoints(keyframes, merged(readPoints(keyframes), channel.keys));
    curve.attr("update")();
}

// The object's channels filled from the waiting keys: location, rotation in the object's mode
// (each Euler continuing from the previous key, so a turn past 180 degrees does not flip), scale.
std::vector<Channel> channelsOf(const py::object& object, const std::map<double, Matrix>& keys) {
    std::string mode = object.attr("rotation_mode").cast<std::string>();
    if (mode == "AXIS_ANGLE") {
        object.attr("rotation_mode") = "XYZ";
        mode = "XYZ";
    }
    const bool quaternion = mode == "QUATERNION";
    const char* rotationPath = quaternion ? "rotation_quaternion" : "rotation_euler";
    std::vector<Channel> channels;
    for (int i = 0; i < 3; ++i)
        channels.push_back({"location", i, {}});
    for (int i = 0; i < (quaternion ? 4 : 3); ++i)
        channels.push_back({rotationPath, i, {}});
    for (int i = 0; i < 3; ++i)
        channels.push_back({"scale", i, {}});
    py::object previous = object.attr("rotation_euler").attr("copy")();
    for (const auto& [frame, basis] : keys) {
        const py::tuple parts = BlenderScene::toMathutils(basis).attr("decompose")();
        py::object rotation = parts[1];
        if (!quaternion) {
            rotation = rotation.attr("to_euler")(mode, previous);
            previous = rotation;
        }
        std::vector<float> values;
        for (int part = 0; part < 3; ++part)
            for (const py::handle value : part == 1 ? rotation : parts[part])
                values.push_back(value.cast<float>());
        for (size_t c = 0; c < channels.size(); ++c)
            channels[c].keys.emplace_back(static_cast<float>(frame), values[c]);
    }
    return channels;
}

} // namespace

void KeyTrack::flush(const py::object& object) {
    if (pending.empty())
        return;
    if (!object.is_none()) {
        const py::object action = actionOf(object);
        for (const Channel& channel : channelsOf(object, pending))
            writeChannel(action, channel);
    }
    pending.clear();
}

} // namespace qvn::host::blender
