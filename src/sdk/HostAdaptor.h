#pragma once
// What a host adaptor implements for the core. The adaptor object belongs to the host; the core
// keeps the pointer from attach to detach and never deletes it. Lists travel in holders that
// the core owns and the adaptor fills.
#include "util/ReturnValue.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mvk::util::xml {
class Element;
}
namespace mvk::gui {
class Component;
}

namespace mvk::qvn {

class CInterface;
class CoreNode;
class CUndo;

using NodeList = std::vector<CoreNode*>;
using InterfaceList = std::vector<CInterface*>;

class HostAdaptor {
public:
    // Must answer CoreVersion (9201).
    virtual uint32_t getVersion() = 0;
    // Used as a folder name under the user data folder.
    virtual std::string getHostName() = 0;
    virtual uint32_t getMainWindowHandle() = 0;
    // New host nodes for an instance (or for nobody when `owner` is null).
    virtual CoreNode* createHostNode1(CInterface* owner, const std::string& name, int32_t a,
                                      int32_t b) = 0;
    virtual CoreNode* createHostNode2(CInterface* owner, const std::string& name, int32_t a,
                                      int32_t b, int32_t c) = 0;
    virtual CoreNode* createHostNode3(CInterface* owner, const std::string& name) = 0;
    virtual void getAllNodes(util::ReturnValue<NodeList>& nodes) = 0;
    virtual void getInstanceNodes(CInterface* instance, util::ReturnValue<NodeList>& nodes) = 0;
    // One node per "node" entry of `nodeInfo`, null where the scene has none.
    virtual void findNodes(const std::string& instanceName, const util::xml::Element& nodeInfo,
                           util::ReturnValue<NodeList>& nodes) = 0;
    // Undoable host operations: records are taken only while a hold is open.
    virtual void beginHold(const std::string& operation) = 0;
    virtual void putUndo(CUndo* record) = 0;
    virtual void acceptHold() = 0;
    virtual void cancelHold() = 0;
    virtual bool isHolding() = 0;
    virtual bool undo() = 0;
    // The clock, in seconds.
    virtual double getTime() = 0;
    virtual void setTime(double time) = 0;
    virtual void setSlowdown(int32_t factor) = 0;
    virtual void getRange(double& start, double& end) = 0;
    virtual void setRange(double start, double end) = 0;
    virtual double getFrameRate() = 0;
    virtual double getSampleInterval() = 0;
    virtual void redrawViews() = 0;
    virtual void onWindowActivated() = 0;
    virtual void onWindowDeactivated() = 0;
    // Reorders the list in place; the core uses it in that order.
    virtual void orderInstances(util::ReturnValue<InterfaceList>& instances) = 0;
    virtual void onRecordingDone() = 0;
    virtual void onCoreDetach() = 0;
    virtual void addHostPreferences(gui::Component* preferences) = 0;

protected:
    ~HostAdaptor() = default;
};

// The host's receiver of the scene tag built by saveScene.
class SceneWriter {
public:
    virtual void write(const util::xml::Element& tag) = 0;

protected:
    ~SceneWriter() = default;
};

constexpr uint32_t CoreVersion = 9201;

} // namespace mvk::qvn
