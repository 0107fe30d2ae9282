#pragma once
// The input settings of one tool instance: a row per input with its binding and device icon,
// the devices the input layer knows, and the input profile commands.
#include "core/windows/WindowBase.h"

#include <cstdint>
#include <memory>
#include <string>

namespace mvk::qvn::core {

class Instance;
class InputProfileCommands;
class BindingDialog;
class AdvancedSettingsDialog;

class InputConfigDlg : public WindowBase {
public:
    // Component ids of the layout.
    static constexpr int32_t DialogId = 100;
    static constexpr int32_t CloseButton = 110;
    // The container of the rows; its first child is the row every input is drawn with, and
    // the row's parts carry the ids 1 (icon), 2 (name), 3 (binding), 4 (bind button)
    // and 5 (advanced settings button).
    static constexpr int32_t Rows = 200;
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
    // Row of input i: the parts' ids are RowBase + RowStride * i + the part.
    static constexpr int32_t RowBase = 1000;
    static constexpr int32_t RowStride = 10;
    static constexpr int32_t IconPart = 1;
    static constexpr int32_t NamePart = 2;
    static constexpr int32_t BindingPart = 3;
    static constexpr int32_t BindPart = 4;
    static constexpr int32_t AdvancedPart = 5;

    InputConfigDlg();
    ~InputConfigDlg() override;

    // Builds the dialog for `instance` and shows it; false when the layout cannot be read.
    bool open(Instance* instance);
    Instance* instance() const { return shown; }
    // The window that binds one input; lives as long as this dialog.
    BindingDialog& bindingDialog() { return *binding; }
    // The window that tunes one input's response.
    AdvancedSettingsDialog& advancedDialog() { return *advanced; }
    // Re-reads the rows, the devices and the profile names.
    void refresh();

    void handleMessage(util::Message& message, bool broadcast) override;

private:
    bool build();
    void fillRows();
    void fillDevices();
    void fillProfiles(const std::string& selected);
    void onClicked(int32_t id);
    void bind(int32_t row);
    void tune(int32_t row);
    std::string selectedProfile() const;
    void setStatus(const std::string& text);
    void forgetInstance();

    Instance* shown = nullptr;
    std::unique_ptr<InputProfileCommands> commands;
    std::unique_ptr<BindingDialog> binding;
    std::unique_ptr<AdvancedSettingsDialog> advanced;
};

} // namespace mvk::qvn::core
