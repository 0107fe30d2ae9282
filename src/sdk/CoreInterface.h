#pragma once
// The face of the core that a host adaptor sees: attach returns it, and the adaptor drives the
// whole system through it. Codes: 0 success, 10002 main dialog already open, 10003 main dialog
// not open, 71 a recording already runs.
#include "sdk/HostAdaptor.h"
#include "util/MessageNode.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace mvk::qvn::core {
class InstanceReference;
}

namespace mvk::qvn {

constexpr int32_t ResultOk = 0;
constexpr int32_t ResultRecordingRunning = 71;
constexpr int32_t ResultMainDialogOpen = 10002;
constexpr int32_t ResultMainDialogNotOpen = 10003;

// Pairs of (virtual-key code, modifier flags: 1 Ctrl, 2 Alt, 4 Shift).
using UnlockedKeys = std::vector<std::pair<int32_t, int32_t>>;

class CoreInterface : public util::MessageNode {
public:
    CoreInterface() : util::MessageNode("CORE") {}

    // Scene persistence.
    virtual void saveScene(SceneWriter& writer) = 0;
    virtual int32_t saveLostInstances(SceneWriter& writer) = 0;
    virtual core::InstanceReference* loadInstances(const util::xml::Element& tag) = 0;
    virtual void removeAllInstances() = 0;
    // Main dialog.
    virtual int32_t openMainDialog() = 0;
    virtual int32_t closeMainDialog() = 0;
    virtual bool isMainDialogOpen() = 0;
    virtual gui::Component* getMainWindow() = 0;
    virtual gui::Component* createComponent(const util::xml::Element& element) = 0;
    // Time and recording.
    virtual void updateInstances(double time) = 0;
    virtual bool isRecording() = 0;
    virtual void setUnlockedKeys(const UnlockedKeys& keys) = 0;
    virtual int32_t startRecording() = 0;
    virtual int32_t stopRecording() = 0;
    virtual int32_t getSlowMotion() = 0;
    virtual void setSlowMotion(int32_t step) = 0;
    virtual void resimulate(double start, double end) = 0;
    // Instances.
    virtual core::InstanceReference* findInstance(const std::string& name) = 0;
    virtual void applyConfigProfile(const std::string& instance, const std::string& profile) = 0;
    virtual std::string createInstance(const std::string& tool) = 0;
    virtual std::string cloneInstance(const std::string& name) = 0;
    virtual core::InstanceReference* getInstance(const std::string& name) = 0;
    virtual int32_t deleteInstance(const std::string& name) = 0;
    // GUI services.
    virtual void setImageAliases(gui::Component* component) = 0;
    virtual void processEvents() = 0;
    virtual void startEventPump() = 0;
    // Settings.
    virtual int32_t addSettingDouble(int32_t id, double value) = 0;
    virtual int32_t addSettingString(int32_t id, const std::string& value) = 0;
    virtual int32_t addSettingInt(int32_t id, int32_t value) = 0;
    virtual int32_t addSettingBool(int32_t id, bool value) = 0;
    // `value` points at a value of the setting's type.
    virtual bool getSetting(int32_t id, void* value) = 0;
    virtual bool setSetting(int32_t id, const void* value) = 0;
    // Dialogs.
    virtual int32_t messageBox(gui::Component* parent, const std::string& text,
                               const std::string& caption, uint32_t flags, bool force) = 0;
};

// The core library's exports.
extern "C" {
using CoreGetVersionFunction = uint32_t (*)();
using CoreAttachFunction = CoreInterface* (*)(HostAdaptor* adaptor);
using CoreDetachFunction = int32_t (*)(CoreInterface* core);
}

} // namespace mvk::qvn
