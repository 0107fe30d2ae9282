#include "BlenderHost.h"

#include "BlenderScene.h"
#include "util/xml/Element.h"

#include <cmath>
#include <iostream>
#include <random>

using namespace mvk::qvn;

namespace qvn::host::blender {

BlenderHost::BlenderHost() {
    holds.setBeforePush([this] { flushKeys(); });
}

BlenderHost::~BlenderHost() = default;

std::string BlenderHost::newMark() {
    static std::mt19937_64 generator{std::random_device{}()};
    static const char digits[] = "0123456789abcdef";
    std::string mark;
    for (uint64_t bits = generator(); mark.size() < 16; bits >>= 4)
        mark += digits[bits & 15];
    return mark;
}

bool BlenderHost::isClaimed(const std::string& mark) const {
    for (const auto& node : nodes)
        if (node->mark() == mark && node->owner() != nullptr)
            return true;
    return false;
}

// An object of that name that the adaptor made and that no live instance holds is taken over:
// that is how a reloaded file's instances find their cameras, keys included, again. Otherwise
// a new object is made.
BlenderNode* BlenderHost::adoptOrCreate(CInterface* owner, const std::string& name,
                                        const std::function<std::string()>& create) {
    return guarded<BlenderNode*>(nullptr, [&]() -> BlenderNode* {
        const py::object existing = BlenderScene::findObject(name);
        if (!existing.is_none()) {
            const py::object mark = existing.attr("get")(BlenderNode::MarkProperty);
            if (py::isinstance<py::str>(mark) && !isClaimed(mark.cast<std::string>())) {
                BlenderNode* node = nodeFor(existing);
                node->setOwner(owner);
                return node;
            }
        }
        const std::string madeName = create();
        const std::string mark = newMark();
        BlenderScene::findObject(madeName)[BlenderNode::MarkProperty] = mark;
        nodes.push_back(std::make_unique<BlenderNode>(*this, madeName, mark, owner));
        return nodes.back().get();
    });
}

CoreNode* BlenderHost::createHostNode1(CInterface* owner, const std::string& name, int32_t kind,
                                       int32_t value) {
    if (kind != CameraNode)
        return createHostNode3(owner, name);
    return adoptOrCreate(owner, name, [&] { return BlenderScene::createCamera(name, value); });
}

CoreNode* BlenderHost::createHostNode2(CInterface* owner, const std::string& name, int32_t, int32_t,
                                       int32_t) {
    return createHostNode3(owner, name);
}

CoreNode* BlenderHost::createHostNode3(CInterface* owner, const std::string& name) {
    return adoptOrCreate(owner, name, [&] { return BlenderScene::createEmpty(name); });
}

BlenderNode* BlenderHost::nodeFor(const py::object& object) {
    const std::string name = object.attr("name").cast<std::string>();
    const py::object markValue = object.attr("get")(BlenderNode::MarkProperty);
    const std::string mark =
        py::isinstance<py::str>(markValue) ? markValue.cast<std::string>() : "";
    for (const auto& node : nodes)
        if (mark.empty() ? node->mark().empty() && node->getName() == name : node->mark() == mark)
            return node.get();
    nodes.push_back(std::make_unique<BlenderNode>(*this, name, mark, nullptr));
    return nodes.back().get();
}

void BlenderHost::getAllNodes(mvk::util::ReturnValue<NodeList>& result) {
    NodeList list;
    guarded([&] {
        for (const py::handle object : BlenderScene::scene().attr("objects"))
            list.push_back(nodeFor(py::reinterpret_borrow<py::object>(object)));
    });
    result.set(list);
}

void BlenderHost::getInstanceNodes(CInterface* instance, mvk::util::ReturnValue<NodeList>& result) {
    NodeList list;
    guarded([&] {
        for (const auto& node : nodes)
            if (instance != nullptr && node->owner() == instance && node->exists())
                list.push_back(node.get());
    });
    result.set(list);
}

void BlenderHost::findNodes(const std::string& instanceName,
                            const mvk::util::xml::Element& nodeInfo,
                            mvk::util::ReturnValue<NodeList>& result) {
    NodeList list;
    guarded([&] {
        nodeInfo.forEachChild("node", [&](const mvk::util::xml::Element& entry) {
            const py::object object =
                BlenderScene::findObject(instanceName + "_" + entry.attribute("name"));
            list.push_back(object.is_none() ? nullptr : nodeFor(object));
        });
    });
    result.set(list);
}

bool BlenderHost::undo() {
    return guarded<bool>(false, [&] {
        if (holds.isHolding())
            return false;
        flushKeys();
        const py::object result = BlenderScene::bpy().attr("ops").attr("ed").attr("undo")();
        return py::str(result).cast<std::string>().find("FINISHED") != std::string::npos;
    });
}

double BlenderHost::getTime() {
    return guarded<double>(0.0, [] { return BlenderScene::currentTime(); });
}

void BlenderHost::setTime(double time) {
    guarded([&] { BlenderScene::setCurrentTime(time); });
}

void BlenderHost::getRange(double& start, double& end) {
    guarded([&] {
        const py::object scene = BlenderScene::scene();
        const double fps = BlenderScene::frameRate();
        start = scene.attr("frame_start").cast<double>() / fps;
        end = scene.attr("frame_end").cast<double>() / fps;
    });
}

void BlenderHost::setRange(double start, double end) {
    guarded([&] {
        const py::object scene = BlenderScene::scene();
        // Whole frames that cover the range.
        const long first = static_cast<long>(std::floor(BlenderScene::frameOf(start)));
        const long last = std::max(first, static_cast<long>(std::ceil(BlenderScene::frameOf(end))));
        scene.attr("frame_start") = first;
        scene.attr("frame_end") = last;
    });
}

double BlenderHost::getFrameRate() {
    return guarded<double>(24.0, [] { return BlenderScene::frameRate(); });
}

double BlenderHost::getSampleInterval() {
    return 1.0 / getFrameRate();
}

void BlenderHost::redrawViews() {
    guarded([] {
        const py::object manager = BlenderScene::bpy().attr("context").attr("window_manager");
        if (manager.is_none())
            return;
        for (const py::handle window : manager.attr("windows"))
            for (const py::handle area : window.attr("screen").attr("areas"))
                area.attr("tag_redraw")();
    });
}

void BlenderHost::onRecordingDone() {
    flushKeys();
    redrawViews();
}

void BlenderHost::onCoreDetach() {
    flushKeys();
    // The records hold code of the core; they must be gone before the core is unloaded.
    holds.clear();
}

void BlenderHost::write(const mvk::util::xml::Element& tag) {
    lastSceneText = tag.toString("", "", "");
}

void BlenderHost::flushKeys() {
    for (const auto& node : nodes)
        node->flushKeys();
}

void BlenderHost::showLatestKeys() {
    for (const auto& node : nodes)
        node->showLatestKey();
}

size_t BlenderHost::waitingKeys() const {
    size_t count = 0;
    for (const auto& node : nodes)
        count += node->waitingKeys();
    return count;
}

void BlenderHost::addKeyCost(KeyWork work, double seconds) {
    ++(work == KeyWork::Key ? cost.keys : work == KeyWork::Flush ? cost.flushes : cost.shows);
    cost.seconds += seconds;
}

void BlenderHost::forgetScene() {
    holds.clear();
    nodes.clear();
}

void BlenderHost::notice(const std::string& level, const std::string& text) const {
    if (notices) {
        notices(level, text);
        return;
    }
    std::cout << "quorvane: " << text << "\n";
}

} // namespace qvn::host::blender
