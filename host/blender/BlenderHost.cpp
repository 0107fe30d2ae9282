#include "BlenderHost.h"

#include "MainWindowFinder.h"
#include "util/xml/Element.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>

using namespace mvk::qvn;

namespace qvn::host::blender {

BlenderHost::BlenderHost() {
    holds.setBeforePush([this] { flushKeys(); });
}

BlenderHost::~BlenderHost() = default;

uint32_t BlenderHost::getMainWindowHandle() {
    return MainWindowFinder::blenderWindow();
}

std::string BlenderHost::newKey() {
    static std::mt19937_64 generator{std::random_device{}()};
    static const char digits[] = "0123456789abcdef";
    std::string key;
    for (uint64_t bits = generator(); key.size() < 16; bits >>= 4)
        key += digits[bits & 15];
    return key;
}

bool BlenderHost::isClaimed(const std::string& key) const {
    for (const auto& node : nodes)
        if (node->key() == key && node->owner() != nullptr)
            return true;
    return false;
}

// An object the adaptor made for a node of that name, that no live tool holds, is taken over:
// that is how a reloaded file's tools find their objects, keys included, again, whatever the
// objects are called now. Otherwise a new object is made.
BlenderNode* BlenderHost::adoptOrCreate(CInterface* owner, const std::string& name, int kind,
                                        double fov) {
    for (const std::string& key : BlenderScene::objectKeys()) {
        if (key.empty() || key[0] == '=' || isClaimed(key))
            continue;
        const ObjectInfo found = BlenderScene::info(key);
        if (found.coreName != name)
            continue;
        BlenderNode* node = nodeFor(key);
        node->setOwner(owner);
        node->rememberName(found.name);
        node->setCoreName(name);
        node->setKind(kind, fov);
        return node;
    }
    const std::string key = newKey();
    const std::string made = BlenderScene::create(name, key, kind, fov);
    if (made.empty())
        return nullptr;
    nodes.push_back(std::make_unique<BlenderNode>(*this, key, owner, kind, fov));
    nodes.back()->rememberName(made);
    nodes.back()->setCoreName(name);
    return nodes.back().get();
}

CoreNode* BlenderHost::createHostNode1(CInterface* owner, const std::string& name, int32_t kind,
                                       int32_t value) {
    if (kind != CameraNode)
        return createHostNode3(owner, name);
    return adoptOrCreate(owner, name, QVNB_OBJECT_CAMERA, value);
}

CoreNode* BlenderHost::createHostNode2(CInterface* owner, const std::string& name, int32_t, int32_t,
                                       int32_t) {
    return createHostNode3(owner, name);
}

CoreNode* BlenderHost::createHostNode3(CInterface* owner, const std::string& name) {
    return adoptOrCreate(owner, name, QVNB_OBJECT_EMPTY, 0.0);
}

BlenderNode* BlenderHost::nodeFor(const std::string& key) {
    for (const auto& node : nodes)
        if (node->key() == key)
            return node.get();
    nodes.push_back(std::make_unique<BlenderNode>(*this, key, nullptr));
    return nodes.back().get();
}

void BlenderHost::getAllNodes(mvk::util::ReturnValue<NodeList>& result) {
    NodeList list;
    for (const std::string& key : BlenderScene::objectKeys())
        list.push_back(nodeFor(key));
    result.set(list);
}

std::vector<std::string> BlenderHost::nodeKeysOf(CInterface* instance) {
    std::vector<std::string> keys;
    for (const auto& node : nodes) {
        if (instance == nullptr || node->owner() != instance)
            continue;
        // A node the tool let go of keeps its object but no longer names the tool's node.
        const ObjectInfo found = node->info();
        if (found.exists && !found.coreName.empty())
            keys.push_back(node->key());
    }
    return keys;
}

void BlenderHost::getInstanceNodes(CInterface* instance, mvk::util::ReturnValue<NodeList>& result) {
    NodeList list;
    for (const std::string& key : nodeKeysOf(instance))
        list.push_back(nodeFor(key));
    result.set(list);
}

void BlenderHost::findNodes(const std::string& instanceName,
                            const mvk::util::xml::Element& nodeInfo,
                            mvk::util::ReturnValue<NodeList>& result) {
    std::vector<std::pair<std::string, std::string>> marked;
    for (const std::string& key : BlenderScene::objectKeys())
        if (!key.empty() && key[0] != '=')
            marked.emplace_back(key, BlenderScene::info(key).coreName);
    NodeList list;
    nodeInfo.forEachChild("node", [&](const mvk::util::xml::Element& entry) {
        const std::string wanted = instanceName + "_" + entry.attribute("name");
        const auto found = std::find_if(marked.begin(), marked.end(),
                                        [&](const auto& object) { return object.second == wanted; });
        list.push_back(found == marked.end() ? nullptr : nodeFor(found->first));
    });
    result.set(list);
}

void BlenderHost::beginHold(const std::string& operation) {
    if (!holds.isHolding())
        ++turn;
    // A take's or a resimulation's keys replace what lies in their range; so do the keys of
    // any other operation, which only ever key a sample's own frame.
    if (!holds.isHolding()) {
        for (const auto& node : nodes)
            node->keyTrack().startReplacing();
        // The core names a take's hold "Record" and has already put the clock on its start.
        startFrame = operation == "Record" ? BlenderScene::frameOf(getTime()) : std::nan("");
        holdUntilDone = operation == "Resimulating";
    }
    holds.begin(operation);
}

// The core accepts a resimulation's hold as each tool begins replaying, before any key, and
// again when it is done. Blender's undo step is a picture of the data when it is pushed, so the
// step waits for the end: the keys and the records of the resimulation are one step.
void BlenderHost::acceptHold() {
    if (holdUntilDone && holds.holdDepth() == 1)
        return;
    holds.accept();
    if (!holds.isHolding())
        endOperation();
}

void BlenderHost::cancelHold() {
    if (holds.holdDepth() == 1)
        holdUntilDone = false;
    holds.cancel();
    if (!holds.isHolding())
        endOperation();
}

void BlenderHost::endOperation() {
    ++turn;
    for (const auto& node : nodes)
        node->keyTrack().stopReplacing();
    startFrame = std::nan("");
    holdUntilDone = false;
}

bool BlenderHost::undo() {
    if (holds.isHolding())
        return false;
    flushKeys();
    return BlenderScene::undo();
}

void BlenderHost::getRange(double& start, double& end) {
    double first = 1.0, last = 250.0;
    BlenderScene::range(first, last);
    const double fps = BlenderScene::frameRate();
    start = first / fps;
    end = last / fps;
}

void BlenderHost::setRange(double start, double end) {
    // Whole frames that cover the range.
    const long first = static_cast<long>(std::floor(BlenderScene::frameOf(start)));
    const long last = std::max(first, static_cast<long>(std::ceil(BlenderScene::frameOf(end))));
    BlenderScene::setRange(static_cast<int>(first), static_cast<int>(last));
}

void BlenderHost::onRecordingDone() {
    flushKeys();
    holdUntilDone = false;
    BlenderScene::redraw();
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
    const uint64_t clockMoves = BlenderScene::clockMoves();
    const bool fresh = std::any_of(nodes.begin(), nodes.end(),
                                   [](const auto& node) { return node->keyTrack().hasFreshKey(); });
    if (!fresh && clockMoves == shownAtClockMove)
        return;
    shownAtClockMove = clockMoves;
    const auto started = std::chrono::steady_clock::now();
    std::string keys;
    std::vector<double> bases;
    int count = 0;
    for (const auto& node : nodes) {
        const Matrix* latest = node->latestKey();
        if (latest == nullptr)
            continue;
        keys += node->key() + "\n";
        bases.insert(bases.end(), latest->begin(), latest->end());
        node->keyTrack().markShown();
        ++count;
    }
    if (count == 0)
        return;
    BlenderScene::showBases(count, keys, bases);
    addKeyCost(KeyWork::Show,
               std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
               static_cast<uint64_t>(count));
}

size_t BlenderHost::waitingKeys() const {
    size_t count = 0;
    for (const auto& node : nodes)
        count += node->waitingKeys();
    return count;
}

void BlenderHost::addKeyCost(KeyWork work, double seconds, uint64_t count) {
    (work == KeyWork::Key ? cost.keys : work == KeyWork::Flush ? cost.flushes : cost.shows) += count;
    cost.seconds += seconds;
}

void BlenderHost::forgetScene() {
    holds.clear();
    nodes.clear();
}

} // namespace qvn::host::blender
