#include "RefHost.h"

#include "util/xml/Element.h"

using namespace mvk::qvn;

namespace qvn::host {

RefHost::RefHost() { scene.setUndoStack(&undoStack); }

RefHost::~RefHost() = default;

CoreNode* RefHost::createHostNode1(CInterface* owner, const std::string& name, int32_t kind,
                                   int32_t value) {
    RefNode* node = scene.createNode(name, owner);
    if (kind == CameraNode)
        node->setLens(value);
    return node;
}

CoreNode* RefHost::createHostNode2(CInterface* owner, const std::string& name, int32_t, int32_t,
                                   int32_t) {
    return scene.createNode(name, owner);
}

CoreNode* RefHost::createHostNode3(CInterface* owner, const std::string& name) {
    return scene.createNode(name, owner);
}

void RefHost::getAllNodes(mvk::util::ReturnValue<NodeList>& nodes) {
    NodeList list;
    for (RefNode* node : scene.nodes())
        list.push_back(node);
    nodes.set(list);
}

void RefHost::getInstanceNodes(CInterface* instance, mvk::util::ReturnValue<NodeList>& nodes) {
    NodeList list;
    for (RefNode* node : scene.nodesOf(instance))
        list.push_back(node);
    nodes.set(list);
}

void RefHost::findNodes(const std::string& instanceName, const mvk::util::xml::Element& nodeInfo,
                        mvk::util::ReturnValue<NodeList>& nodes) {
    NodeList list;
    for (int i = 0; i < nodeInfo.childCount(); ++i) {
        const mvk::util::xml::Element& entry = nodeInfo.child(i);
        if (entry.name() != "node")
            continue;
        list.push_back(scene.find(instanceName + "_" + entry.attribute("name")));
    }
    nodes.set(list);
}

void RefHost::beginHold(const std::string& operation) {
    undoStack.beginHold(operation);
    if (onBeginHold)
        onBeginHold(operation);
}

void RefHost::setTime(double newTime) {
    time = newTime;
    clockTrail.push_back(newTime);
    ++evaluations;
}

std::vector<std::pair<std::string, const TransformKeyList*>> RefHost::keyedCurves() const {
    std::vector<std::pair<std::string, const TransformKeyList*>> curves;
    for (RefNode* node : scene.nodes())
        if (!node->transformKeys().empty())
            curves.emplace_back(node->getName(), &node->transformKeys());
    return curves;
}

void RefHost::setSlowdown(int32_t factor) {
    slowdown = factor;
    notices.push_back("slowdown:" + std::to_string(factor));
}

void RefHost::getRange(double& start, double& end) {
    start = rangeStart;
    end = rangeEnd;
}

void RefHost::setRange(double start, double end) {
    rangeStart = start;
    rangeEnd = end;
}

void RefHost::orderInstances(mvk::util::ReturnValue<InterfaceList>&) {
    // The reference host keeps the order it is given.
}

void RefHost::onCoreDetach() {
    notices.push_back("coreDetach");
    // Undo records hold code of the core; they must be gone before the core is unloaded.
    undoStack.clear();
}

void RefHost::addHostPreferences(mvk::gui::Component* preferences) {
    hostPreferences = preferences;
}

void RefHost::write(const mvk::util::xml::Element& tag) { sceneText = tag.toString("", "", ""); }

} // namespace qvn::host
