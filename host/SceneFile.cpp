#include "SceneFile.h"

#include "util/DataChunk.h"
#include "util/xml/Element.h"

#include <charconv>
#include <cmath>
#include <map>
#include <vector>

using mvk::util::xml::Element;

namespace qvn::host {

namespace {

constexpr const char* RootName = "quorvanescene";
constexpr const char* CoreTagName = "QVT";

// Shortest text that reads back as the same double.
std::string number(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// The finite number `text` holds, or `fallback`.
double readNumber(const std::string& text, double fallback) {
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value) ? value : fallback;
}

// The sixteen numbers of a key, or false when the text holds anything else.
bool readMatrix(const std::string& text, Matrix& matrix) {
    const char* at = text.data();
    const char* end = at + text.size();
    for (double& value : matrix) {
        while (at < end && *at == ' ')
            ++at;
        const auto result = std::from_chars(at, end, value);
        if (result.ec != std::errc() || !std::isfinite(value))
            return false;
        at = result.ptr;
    }
    while (at < end && *at == ' ')
        ++at;
    return at == end;
}

std::string matrixText(const Matrix& matrix) {
    std::string text;
    for (double value : matrix)
        text += (text.empty() ? "" : " ") + number(value);
    return text;
}

// The name of the tool a scene tag entry stores, also when the entry is compressed.
std::string toolName(const Element& tool) {
    if (tool.attribute("compressed") != "1")
        return tool.child("name", 0).text();
    const mvk::util::DataChunk text = mvk::util::DataChunk::base64Decode(tool.text()).decode();
    Element plain;
    plain.parse(reinterpret_cast<const char*>(text.data()), text.size());
    return plain.child("name", 0).text();
}

// The core's tag as the core wrote it.
class TagCollector : public mvk::qvn::SceneWriter {
public:
    void write(const Element& written) override { tag = written; }
    Element tag;
};

Element nodeElement(RefNode& node, double time) {
    Element entry = mvk::util::xml::Tag("node");
    entry.attribute("name") = node.getName();
    entry.attribute("object") = node.getObjectName();
    if (RefNode* parent = node.parentNode())
        entry.attribute("parent") = parent->getName();
    entry.attribute("visible") = node.isVisible() ? "1" : "0";
    if (node.hasLens()) {
        mvk::qvn::CSnapshot* lens = node.getSnapshot(mvk::qvn::SnapshotKind::Lens, time);
        if (lens != nullptr)
            entry.attribute("fov") = number(static_cast<mvk::qvn::CSnapshot_Lens*>(lens)->fov);
        node.releaseSnapshot(lens);
    }
    for (const auto& [keyTime, local] : node.transformKeys()) {
        Element key = mvk::util::xml::TagWithData("key", matrixText(local));
        key.attribute("time") = number(keyTime);
        entry.addChild(std::move(key));
    }
    return entry;
}

// A node as the file describes it, checked before anything is changed.
struct StoredNode {
    std::string name;
    std::string objectName;
    std::string parent;
    bool visible = true;
    double fieldOfView = 0.0;
    bool hasLens = false;
    std::map<double, Matrix> keys;
};

bool readNode(const Element& entry, StoredNode& node) {
    node.name = entry.attribute("name");
    if (node.name.empty())
        return false;
    node.objectName = entry.hasAttribute("object") ? entry.attribute("object") : node.name;
    node.parent = entry.attribute("parent");
    node.visible = entry.attribute("visible") != "0";
    node.hasLens = entry.hasAttribute("fov");
    node.fieldOfView = readNumber(entry.attribute("fov"), 45.0);
    bool ok = true;
    entry.forEachChild("key", [&](const Element& key) {
        Matrix local{};
        const double time = readNumber(key.attribute("time"), NAN);
        if (std::isnan(time) || !readMatrix(key.text(), local))
            ok = false;
        else
            node.keys[time] = local;
    });
    return ok;
}

} // namespace

Element SceneFile::document(bool withTime) {
    TagCollector collector;
    core.saveScene(collector);
    Element root = mvk::util::xml::Tag(RootName);
    root.attribute("version") = "1";
    Element clock = mvk::util::xml::Tag("clock");
    if (withTime)
        clock.attribute("time") = number(host.time);
    clock.attribute("start") = number(host.rangeStart);
    clock.attribute("end") = number(host.rangeEnd);
    clock.attribute("framerate") = number(host.frameRate);
    root.addChild(std::move(clock));
    for (RefNode* node : host.scene.nodes())
        root.addChild(nodeElement(*node, host.time));
    if (!collector.tag.isEmpty())
        root.addChild(collector.tag);
    return root;
}

std::string SceneFile::text(bool withTime) {
    if (withTime)
        return document(true).toString("", "", "");
    // The tools store where their nodes stand at the present time; read at one fixed time, the
    // text does not change when only the playhead moved.
    const double present = host.time;
    host.time = 0.0;
    std::string text = document(false).toString("", "", "");
    host.time = present;
    return text;
}

bool SceneFile::save(const std::string& path, std::string& error) {
    Element root = document(true);
    if (!root.saveAtomically(path)) {
        error = "The scene could not be written to " + path + ".";
        return false;
    }
    return true;
}

bool SceneFile::load(const std::string& path, std::string& error) {
    Element root;
    if (root.load(path) != Element::Parsed || root.name() != RootName) {
        error = path + " is not a scene file.";
        return false;
    }
    std::vector<StoredNode> nodes;
    bool nodesOk = true;
    root.forEachChild("node", [&](const Element& entry) {
        nodesOk = readNode(entry, nodes.emplace_back()) && nodesOk;
    });
    const Element& clock = root.child("clock", 0);
    const double start = readNumber(clock.attribute("start"), 0.0);
    const double end = readNumber(clock.attribute("end"), 10.0);
    const double frameRate = readNumber(clock.attribute("framerate"), 30.0);
    if (!nodesOk || !(end > start) || !(frameRate > 0.0)) {
        error = path + " holds a damaged scene.";
        return false;
    }

    clear();
    host.rangeStart = start;
    host.rangeEnd = end;
    host.frameRate = frameRate;
    host.sampleInterval = 1.0 / frameRate;
    host.setTime(readNumber(clock.attribute("time"), start));
    // The tools first: they make their own nodes again, and the stored keys go onto those.
    if (root.childCount(CoreTagName) > 0)
        core.loadInstances(root.child(CoreTagName, 0));
    for (const StoredNode& stored : nodes) {
        RefNode* node = host.scene.find(stored.name);
        if (node == nullptr)
            node = host.scene.createNode(stored.name);
        node->setObjectName(stored.objectName);
        node->setVisible(stored.visible);
        if (stored.hasLens)
            node->setLens(stored.fieldOfView);
        for (const auto& [time, local] : stored.keys)
            node->setLocalTransform(time, local);
    }
    for (const StoredNode& stored : nodes)
        if (RefNode* parent = stored.parent.empty() ? nullptr : host.scene.find(stored.parent))
            parent->addChild(host.scene.find(stored.name));
    // Opening a scene is not a step the user can take back.
    host.undoStack.clear();
    core.updateInstances(host.time);
    return true;
}

void SceneFile::clear() {
    TagCollector collector;
    core.saveScene(collector);
    std::vector<std::string> tools;
    collector.tag.forEachChild("QVT_Plugin",
                               [&tools](const Element& tool) { tools.push_back(toolName(tool)); });
    for (auto name = tools.rbegin(); name != tools.rend(); ++name)
        core.deleteInstance(*name);
    // Released records may still refer to the tools and nodes that go now.
    host.undoStack.clear();
    for (std::vector<RefNode*> left = host.scene.nodes(); !left.empty(); left = host.scene.nodes())
        host.scene.deleteNode(left.back(), true);
    host.rangeStart = 0.0;
    host.rangeEnd = 10.0;
    host.frameRate = 30.0;
    host.sampleInterval = 1.0 / 30.0;
    host.setTime(0.0);
}

} // namespace qvn::host
