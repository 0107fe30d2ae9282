#pragma once
// The host adaptor for Blender: the core's nodes are Blender objects, its clock is the scene's
// frame, its holds are Blender undo steps. Every call reaches Blender through the add-on's
// callbacks (BlenderScene), on Blender's main thread.
#include "BlenderNode.h"
#include "HoldSteps.h"
#include "sdk/HostAdaptor.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace qvn::host::blender {

class BlenderHost : public mvk::qvn::HostAdaptor, public mvk::qvn::SceneWriter {
public:
    // createHostNode1 with this first value makes a camera whose horizontal field of view in
    // degrees is the second.
    static constexpr int32_t CameraNode = 1;

    BlenderHost();
    ~BlenderHost();

    // HostAdaptor
    uint32_t getVersion() override { return mvk::qvn::CoreVersion; }
    std::string getHostName() override { return "blender"; }
    uint32_t getMainWindowHandle() override;
    mvk::qvn::CoreNode* createHostNode1(mvk::qvn::CInterface* owner, const std::string& name,
                                        int32_t kind, int32_t value) override;
    mvk::qvn::CoreNode* createHostNode2(mvk::qvn::CInterface* owner, const std::string& name,
                                        int32_t, int32_t, int32_t) override;
    mvk::qvn::CoreNode* createHostNode3(mvk::qvn::CInterface* owner,
                                        const std::string& name) override;
    void getAllNodes(mvk::util::ReturnValue<mvk::qvn::NodeList>& nodes) override;
    void getInstanceNodes(mvk::qvn::CInterface* instance,
                          mvk::util::ReturnValue<mvk::qvn::NodeList>& nodes) override;
    void findNodes(const std::string& instanceName, const mvk::util::xml::Element& nodeInfo,
                   mvk::util::ReturnValue<mvk::qvn::NodeList>& nodes) override;
    void beginHold(const std::string& operation) override;
    void putUndo(mvk::qvn::CUndo* record) override { holds.put(record); }
    void acceptHold() override;
    void cancelHold() override;
    bool isHolding() override { return holds.isHolding(); }
    bool undo() override;
    double getTime() override { return BlenderScene::currentTime(); }
    void setTime(double time) override { BlenderScene::setCurrentTime(time); }
    void setSlowdown(int32_t factor) override { slowdown = factor; }
    void getRange(double& start, double& end) override;
    void setRange(double start, double end) override;
    double getFrameRate() override { return BlenderScene::frameRate(); }
    double getSampleInterval() override { return 1.0 / getFrameRate(); }
    void redrawViews() override { BlenderScene::redraw(); }
    void onWindowActivated() override {}
    void onWindowDeactivated() override {}
    void orderInstances(mvk::util::ReturnValue<mvk::qvn::InterfaceList>&) override {}
    void onRecordingDone() override;
    void onCoreDetach() override;
    void addHostPreferences(mvk::gui::Component*) override {}

    // SceneWriter: keeps the scene tag as the text the .blend file stores.
    void write(const mvk::util::xml::Element& tag) override;
    const std::string& sceneText() const { return lastSceneText; }

    // The node of the object with that key; one node per object for the whole session.
    BlenderNode* nodeFor(const std::string& key);
    // The keys of the objects of an instance's nodes (by the instance's interface).
    std::vector<std::string> nodeKeysOf(mvk::qvn::CInterface* instance);
    // Writes every node's waiting keys into the F-curves.
    void flushKeys();
    // Shows every node with waiting keys at its latest one. While a take runs this stands in
    // for writing the curves, which costs a pass over each curve and waits for the take's end.
    // A turn that brought no key and did not move the clock shows nothing: the objects still
    // stand where the last turn put them.
    void showLatestKeys();
    size_t waitingKeys() const;
    // The file is about to be replaced: undo records go, and nodes stop belonging to anybody.
    void forgetScene();
    void notice(const std::string& level, const std::string& text) const {
        BlenderScene::notice(level, text);
    }
    // Counts the host loop's turns outside operations; during an operation (a take, a
    // resimulation) the count stands still: what a node reads of Blender once (where its keys
    // go) is reused until the operation ends.
    void nextTurn() {
        if (!holds.isHolding())
            ++turn;
    }
    // The frame a running take started on; NaN outside a take (a resimulation starts from
    // the range it is given and keys only its samples).
    double takeStartFrame() const { return startFrame; }
    uint64_t pumpTurn() const { return turn; }

    HoldSteps& undoSteps() { return holds; }

    // What writing keys has cost so far: transform keys taken, F-curve flushes, objects shown at
    // their latest key, and the wall clock seconds spent in all three (the adaptor's share of a
    // take, for measuring).
    enum class KeyWork { Key, Flush, Show };
    struct KeyCost {
        uint64_t keys = 0;
        uint64_t flushes = 0;
        uint64_t shows = 0;
        double seconds = 0.0;
    };
    const KeyCost& keyCost() const { return cost; }
    void addKeyCost(KeyWork work, double seconds, uint64_t count = 1);
    int32_t slowdownFactor() const { return slowdown; }

private:
    BlenderNode* adoptOrCreate(mvk::qvn::CInterface* owner, const std::string& name, int kind,
                               double fov);
    bool isClaimed(const std::string& key) const;
    void endOperation();
    static std::string newKey();

    std::vector<std::unique_ptr<BlenderNode>> nodes;
    HoldSteps holds;
    std::string lastSceneText;
    int32_t slowdown = 1;
    uint64_t turn = 1;
    double startFrame = std::nan("");
    // A resimulation's hold stays open until its keys are written (see acceptHold).
    bool holdUntilDone = false;
    // The clock moves counted when the objects were last shown.
    uint64_t shownAtClockMove = 0;
    KeyCost cost;
};

} // namespace qvn::host::blender
