#pragma once
// The input settings of one tool instance: the list of its inputs (the PropertyManager's), the
// devices the input layer knows, and the input profile commands.
#include "core/windows/WindowBase.h"
#include "util/DynamicObject.h"

#include <cstdint>
#include <memory>
#include <string>

namespace mvk::qvn::core {

class Instance;
class InputProfileCommands;

class InputConfigDlg : public WindowBase, public util::DynamicCreator {
public:
    class PropertyManager;

    // Component ids of the layout.
    static constexpr int32_t DialogId = 100;
    static constexpr int32_t CloseButton = 110;
    // Where the property list is placed.
    static constexpr int32_t PropertyArea = 200;
    static constexpr int32_t DeviceList = 300;
    static constexpr int32_t ProfileBox = 400;
    static constexpr int32_t LoadButton = 401;
    static constexpr int32_t SaveButton = 402;
    static constexpr int32_t SaveAsNewButton = 403;
    static constexpr int32_t RenameButton = 404;
    static constexpr int32_t DeleteButton = 405;
    static constexpr int32_t ImportButton = 406;
    static constexpr int32_t ExportButton = 407;
    static constexpr int32_t StartProfileButton = 408;
    static constexpr int32_t StatusLine = 409;
    // The device list's first entry, which has no icon.
    static constexpr const char* NoDeviceEntry = "No device";

    InputConfigDlg();
    ~InputConfigDlg() override;

    // Builds the dialog for `instance` and shows it; false when a layout cannot be read, and
    // while a binding or tuning window of the dialog is running.
    bool open(Instance* instance);
    Instance* instance() const { return shown; }
    // The list of the open instance's inputs; null before the dialog was opened.
    PropertyManager* propertyManager() const { return properties.get(); }
    // Re-reads the rows, the devices and the profile names.
    void refresh();
    // A binding, tuning or profile window of the dialog is running modally, with the dialog's
    // own calls below it on the stack.
    bool isRunningModal() const;
    // Destroys the window, or, while it runs a modal window, hides it and destroys it once the
    // event loop is back, after the running call has returned.
    static void dispose(std::unique_ptr<InputConfigDlg> window);

    void handleMessage(util::Message& message, bool broadcast) override;

private:
    bool build();
    void fillDevices();
    void fillProfiles(const std::string& selected);
    void onClicked(int32_t id);
    std::string selectedProfile() const;
    void setStatus(const std::string& text);
    // After `deleted` left the store: loads the profile the box is to show now; false when
    // there is none.
    bool loadAfterDelete(const std::string& deleted);
    void forgetInstance();

    Instance* shown = nullptr;
    // Profile commands under way: they may be waiting in a prompt or file dialog.
    int commandsRunning = 0;
    std::unique_ptr<InputProfileCommands> commands;
    std::unique_ptr<PropertyManager> properties;
};

} // namespace mvk::qvn::core
