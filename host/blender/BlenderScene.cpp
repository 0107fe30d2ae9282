#include "BlenderScene.h"

#include <cmath>
#include <cstring>
#include <iostream>

namespace qvn::host::blender {

namespace {

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

QvnbScene table{};
bool haveTable = false;
bool usable = true;
// The frame rate as read during the current call into the library; 0 until read.
double knownFrameRate = 0.0;
uint64_t clockMoveCount = 0;

// The callback when it can be called, else null.
template <class F> F call(F QvnbScene::*member) {
    if (!haveTable || !usable)
        return nullptr;
    return table.*member;
}

// Runs a callback that writes a string into a buffer, growing the buffer when the callback
// says it needs more.
template <class Fill> std::string filled(Fill&& fill) {
    std::string buffer(512, '\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int32_t needed = fill(buffer.data(), static_cast<int32_t>(buffer.size()));
        if (needed <= 0)
            return {};
        if (needed < static_cast<int32_t>(buffer.size())) {
            buffer.resize(std::strlen(buffer.c_str()));
            return buffer;
        }
        buffer.assign(static_cast<size_t>(needed) + 1, '\0');
    }
    return {};
}

void copyMatrix(const double* from, Matrix& to) {
    std::copy(from, from + 16, to.begin());
}

} // namespace

Matrix yUpToBlender(const Matrix& m) {
    return multiply(UpTurn, m);
}

Matrix blenderToYUp(const Matrix& m) {
    return multiply(UpTurnBack, m);
}

bool BlenderScene::setCallbacks(const QvnbScene& callbacks) {
    if (callbacks.size != sizeof(QvnbScene))
        return false;
    table = callbacks;
    haveTable = true;
    newCall();
    return true;
}

void BlenderScene::setUsable(bool value) {
    usable = value;
}

bool BlenderScene::isUsable() {
    return haveTable && usable;
}

void BlenderScene::newCall() {
    knownFrameRate = 0.0;
}

std::vector<std::string> BlenderScene::objectKeys() {
    std::vector<std::string> keys;
    auto list = call(&QvnbScene::list_objects);
    if (list == nullptr)
        return keys;
    const std::string text = filled([&](char* buffer, int32_t room) { return list(buffer, room); });
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            keys.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return keys;
}

ObjectInfo BlenderScene::info(const std::string& key) {
    ObjectInfo result;
    auto get = call(&QvnbScene::object_info);
    QvnbObjectInfo raw{};
    if (get == nullptr || key.empty() || get(key.c_str(), &raw) == 0)
        return result;
    // The callback may have filled a field to the brim.
    raw.name[sizeof raw.name - 1] = raw.data_name[sizeof raw.data_name - 1] = '\0';
    raw.parent[sizeof raw.parent - 1] = raw.core_name[sizeof raw.core_name - 1] = '\0';
    raw.type[sizeof raw.type - 1] = '\0';
    result.exists = true;
    result.name = raw.name;
    result.dataName = raw.data_name;
    result.parent = raw.parent;
    result.coreName = raw.core_name;
    result.type = raw.type;
    result.visible = raw.visible != 0;
    result.childCount = raw.child_count;
    result.fovDegrees = raw.fov_degrees;
    result.emptySize = raw.empty_size;
    return result;
}

std::string BlenderScene::child(const std::string& key, int index) {
    auto get = call(&QvnbScene::object_child);
    if (get == nullptr)
        return {};
    return filled([&](char* buffer, int32_t room) { return get(key.c_str(), index, buffer, room); });
}

int BlenderScene::transforms(const std::string& key, double frame, Matrix& local, Matrix& world) {
    auto get = call(&QvnbScene::object_transforms);
    double l[16], w[16];
    const int32_t placed = get != nullptr ? get(key.c_str(), frame, l, w) : 0;
    if (placed <= 0)
        return 0;
    copyMatrix(l, local);
    copyMatrix(w, world);
    return placed;
}

int BlenderScene::keySpace(const std::string& key, Matrix& inverse) {
    auto get = call(&QvnbScene::object_key_space);
    double m[16];
    if (get == nullptr)
        return -1;
    const int32_t placed = get(key.c_str(), m);
    if (placed > 0)
        copyMatrix(m, inverse);
    return placed;
}

bool BlenderScene::mesh(const std::string& key, std::vector<double>& vertices,
                        std::vector<int32_t>& triangles) {
    auto get = call(&QvnbScene::object_mesh);
    int32_t vertexCount = 0, triangleCount = 0;
    if (get == nullptr ||
        get(key.c_str(), nullptr, 0, nullptr, 0, &vertexCount, &triangleCount) == 0)
        return false;
    vertices.assign(static_cast<size_t>(std::max(0, vertexCount)) * 3, 0.0);
    triangles.assign(static_cast<size_t>(std::max(0, triangleCount)) * 3, 0);
    return get(key.c_str(), vertices.data(), vertexCount, triangles.data(), triangleCount,
               &vertexCount, &triangleCount) != 0;
}

std::string BlenderScene::create(const std::string& coreName, const std::string& key, int kind,
                                 double fov) {
    auto make = call(&QvnbScene::create_object);
    if (make == nullptr)
        return {};
    return filled([&](char* buffer, int32_t room) {
        return make(coreName.c_str(), key.c_str(), kind, fov, buffer, room);
    });
}

std::string BlenderScene::rename(const std::string& key, const std::string& name) {
    auto set = call(&QvnbScene::rename_object);
    if (set == nullptr)
        return {};
    return filled(
        [&](char* buffer, int32_t room) { return set(key.c_str(), name.c_str(), buffer, room); });
}

void BlenderScene::release(const std::string& key) {
    if (auto let = call(&QvnbScene::release_object))
        let(key.c_str());
}

void BlenderScene::remove(const std::string& key) {
    if (auto drop = call(&QvnbScene::delete_object))
        drop(key.c_str());
}

void BlenderScene::unlinkChild(const std::string& parent, const std::string& child) {
    if (auto unlink = call(&QvnbScene::unlink_child))
        unlink(parent.c_str(), child.c_str());
}

void BlenderScene::writeKeys(const std::string& key, const std::vector<double>& frames,
                             const std::vector<double>& bases, double clearFrom, double clearTo) {
    if (auto write = call(&QvnbScene::write_keys))
        write(key.c_str(), static_cast<int32_t>(frames.size()), frames.data(), bases.data(),
              clearFrom, clearTo);
}

void BlenderScene::showBases(int count, const std::string& keys, const std::vector<double>& bases) {
    if (auto show = call(&QvnbScene::show_bases))
        show(count, keys.c_str(), bases.data());
}

double BlenderScene::frameRate() {
    if (knownFrameRate > 0.0)
        return knownFrameRate;
    auto get = call(&QvnbScene::frame_rate);
    const double fps = get != nullptr ? get() : 0.0;
    if (!(fps > 0.0))
        return 24.0;
    knownFrameRate = fps;
    return fps;
}

double BlenderScene::frameOf(double seconds) {
    return snapped(seconds * frameRate());
}

double BlenderScene::currentTime() {
    auto get = call(&QvnbScene::current_frame);
    return get != nullptr ? get() / frameRate() : 0.0;
}

void BlenderScene::setCurrentTime(double seconds) {
    if (auto set = call(&QvnbScene::set_frame)) {
        set(frameOf(seconds));
        ++clockMoveCount;
    }
}

uint64_t BlenderScene::clockMoves() {
    return clockMoveCount;
}

void BlenderScene::range(double& firstFrame, double& lastFrame) {
    if (auto get = call(&QvnbScene::get_range))
        get(&firstFrame, &lastFrame);
}

void BlenderScene::setRange(int first, int last) {
    if (auto set = call(&QvnbScene::set_range))
        set(first, last);
}

void BlenderScene::redraw() {
    if (auto draw = call(&QvnbScene::redraw))
        draw();
}

bool BlenderScene::undo() {
    auto step = call(&QvnbScene::undo);
    const bool undone = step != nullptr && step() != 0;
    // The step taken back may have held another frame rate.
    newCall();
    return undone;
}

void BlenderScene::pushUndo(const std::string& name, int stamp) {
    if (auto push = call(&QvnbScene::push_undo))
        push(name.c_str(), stamp);
}

int BlenderScene::sceneStamp() {
    auto get = call(&QvnbScene::scene_stamp);
    return get != nullptr ? get() : 0;
}

void BlenderScene::notice(const std::string& level, const std::string& text) {
    if (auto tell = call(&QvnbScene::notice)) {
        tell(level.c_str(), text.c_str());
        return;
    }
    std::cerr << "quorvane: " << text << "\n";
}

} // namespace qvn::host::blender
