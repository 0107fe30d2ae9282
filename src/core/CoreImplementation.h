#pragma once
// The one core object: the service interface handed to the adaptor, assembled from the core's
// subsystems.
#include "core/AdaptorManager.h"
#include "core/Hooks.h"
#include "core/UpdateManager.h"
#include "core/instances/InstanceManager.h"
#include "core/recording/RecordManager.h"
#include "core/windows/MainDlg.h"
#include "sdk/CoreInterface.h"
#include "util/Singleton.h"

namespace mvk::qvn::core {

class CoreImplementation : public util::Singleton<CoreImplementation>,
                           public CoreInterface,
                           public AdaptorManager,
                           public RecordManager,
                           public InstanceManager,
                           public MainDlg,
                           public UpdateManager,
                           public Hooks::KeyEventCallback {
public:
    CoreImplementation();
    ~CoreImplementation() override;

    // The second half of construction: registers the key callback, sets the initialised flag,
    // initialises the subsystems in registry order and starts the update check. Kept apart from
    // the constructor so that subsystems already reach the finished singleton while they
    // initialise.
    void startUp();

    // CoreInterface
    void saveScene(SceneWriter& writer) override;
    int32_t saveLostInstances(SceneWriter& writer) override;
    InstanceReference* loadInstances(const util::xml::Element& tag) override;
    void removeAllInstances() override;
    int32_t openMainDialog() override;
    int32_t closeMainDialog() override;
    bool isMainDialogOpen() override;
    gui::Component* getMainWindow() override;
    gui::Component* createComponent(const util::xml::Element& element) override;
    void updateInstances(double time) override;
    bool isRecording() override;
    void setUnlockedKeys(const UnlockedKeys& keys) override;
    int32_t startRecording() override;
    int32_t stopRecording() override;
    int32_t getSlowMotion() override;
    void setSlowMotion(int32_t step) override;
    void resimulate(double start, double end) override;
    InstanceReference* findInstance(const std::string& name) override;
    void applyConfigProfile(const std::string& instance, const std::string& profile) override;
    std::string createInstance(const std::string& tool) override;
    std::string cloneInstance(const std::string& name) override;
    InstanceReference* getInstance(const std::string& name) override;
    int32_t deleteInstance(const std::string& name) override;
    void setImageAliases(gui::Component* component) override;
    void processEvents() override;
    void startEventPump() override;
    int32_t addSettingDouble(int32_t id, double value) override;
    int32_t addSettingString(int32_t id, const std::string& value) override;
    int32_t addSettingInt(int32_t id, int32_t value) override;
    int32_t addSettingBool(int32_t id, bool value) override;
    bool getSetting(int32_t id, void* value) override;
    bool setSetting(int32_t id, const void* value) override;
    int32_t messageBox(gui::Component* parent, const std::string& text,
                       const std::string& caption, uint32_t flags, bool force) override;

    // The core's message node: every message from a main-window component goes to the main
    // dialog.
    void handleMessage(util::Message& message, bool broadcast) override;

    // Hooks::KeyEventCallback: the recording shortcuts.
    void onKey(int32_t virtualKey, bool down, bool ctrl, bool alt, bool shift) override;
};

} // namespace mvk::qvn::core
