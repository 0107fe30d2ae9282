#pragma once
// The reference host: an in-memory host behind the adaptor interface. Tests and the demo drive
// the core through it exactly as a real host's adaptor would.
#include "RefScene.h"
#include "RefUndoStack.h"
#include "sdk/CoreInterface.h"
#include "sdk/HostAdaptor.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace qvn::host {

class RefHost : public mvk::qvn::HostAdaptor, public mvk::qvn::SceneWriter {
public:
    RefHost();
    ~RefHost();

    // createHostNode1 with this first value makes a camera whose field of view is the second.
    static constexpr int32_t CameraNode = 1;

    // HostAdaptor
    uint32_t getVersion() override { return version; }
    std::string getHostName() override { return hostName; }
    uint32_t getMainWindowHandle() override { return mainWindowHandle; }
    mvk::qvn::CoreNode* createHostNode1(mvk::qvn::CInterface* owner, const std::string& name,
                                        int32_t a, int32_t b) override;
    mvk::qvn::CoreNode* createHostNode2(mvk::qvn::CInterface* owner, const std::string& name,
                                        int32_t a, int32_t b, int32_t c) override;
    mvk::qvn::CoreNode* createHostNode3(mvk::qvn::CInterface* owner,
                                        const std::string& name) override;
    void getAllNodes(mvk::util::ReturnValue<mvk::qvn::NodeList>& nodes) override;
    void getInstanceNodes(mvk::qvn::CInterface* instance,
                          mvk::util::ReturnValue<mvk::qvn::NodeList>& nodes) override;
    void findNodes(const std::string& instanceName, const mvk::util::xml::Element& nodeInfo,
                   mvk::util::ReturnValue<mvk::qvn::NodeList>& nodes) override;
    void beginHold(const std::string& operation) override;
    void putUndo(mvk::qvn::CUndo* record) override { undoStack.put(record); }
    void acceptHold() override { undoStack.accept(); }
    void cancelHold() override { undoStack.cancel(); }
    bool isHolding() override { return undoStack.isHolding(); }
    bool undo() override { return undoStack.undo(); }
    double getTime() override { return time; }
    void setTime(double newTime) override;
    void setSlowdown(int32_t factor) override;
    void getRange(double& start, double& end) override;
    void setRange(double start, double end) override;
    double getFrameRate() override { return frameRate; }
    double getSampleInterval() override { return sampleInterval; }
    void redrawViews() override { ++redraws; }
    void onWindowActivated() override { notices.push_back("activated"); }
    void onWindowDeactivated() override { notices.push_back("deactivated"); }
    void orderInstances(mvk::util::ReturnValue<mvk::qvn::InterfaceList>& instances) override;
    void onRecordingDone() override { notices.push_back("recordingDone"); }
    void onCoreDetach() override;
    void addHostPreferences(mvk::gui::Component* preferences) override;

    // The nodes that carry transform keys, by name, in scene order; the pointers stay valid while
    // the nodes live.
    std::vector<std::pair<std::string, const TransformKeyList*>> keyedCurves() const;

    // SceneWriter: keeps the scene tag as the single-line text a scene file would store.
    void write(const mvk::util::xml::Element& tag) override;

    // Host-side state, open to tests and the demo.
    RefScene scene;
    RefUndoStack undoStack;
    uint32_t version = mvk::qvn::CoreVersion;
    std::string hostName = "refhost";
    uint32_t mainWindowHandle = 0;
    double time = 0.0;
    double rangeStart = 0.0;
    double rangeEnd = 10.0;
    double frameRate = 30.0;
    double sampleInterval = 1.0 / 30.0;
    int32_t slowdown = 1;
    int evaluations = 0;
    // Every time the clock was set to, in order.
    std::vector<double> clockTrail;
    int redraws = 0;
    std::vector<std::string> notices;
    std::string sceneText;
    mvk::gui::Component* hostPreferences = nullptr;
    // Called after every beginHold (tests use it to act in the middle of an operation).
    std::function<void(const std::string&)> onBeginHold;
};

} // namespace qvn::host
