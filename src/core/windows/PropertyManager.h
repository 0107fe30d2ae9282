#pragma once
// The property list of the input settings: a row per input of one instance with its name, its
// binding and the icon of the binding's device, and each row's Bind... and Advanced... buttons.
// It runs the detection that binds a row and tells its subscribers (the dialog) when a binding
// changed; the dialog only gives the list its place in its own layout.
#include "core/windows/InputConfigDlg.h"
#include "util/DynamicObject.h"
#include "util/MessageNode.h"

#include "util/xml/Element.h"

#include <cstdint>
#include <memory>

namespace mvk::gui {
class Component;
}

namespace mvk::qvn::core {

class AdvancedSettingsDialog;
class BindingDialog;
class ControlDetector;

class InputConfigDlg::PropertyManager : public util::DynamicCreator, public util::MessageNode {
public:
    // The rows container of the layout. Its first child is the row every input is drawn with;
    // the row's parts carry the ids 1 (icon), 2 (name), 3 (binding), 4 (bind button) and
    // 5 (advanced settings button).
    static constexpr int32_t Rows = 202;
    // Row of input i: the parts' ids are RowBase + RowStride * i + the part.
    static constexpr int32_t RowBase = 1000;
    static constexpr int32_t RowStride = 10;
    static constexpr int32_t IconPart = 1;
    static constexpr int32_t NamePart = 2;
    static constexpr int32_t BindingPart = 3;
    static constexpr int32_t BindPart = 4;
    static constexpr int32_t AdvancedPart = 5;
    // Broadcast when the user bound an input; the parameter is its row.
    static constexpr int32_t BindingChanged = 0x5101;

    // `instance` must outlive the manager or announce its end through forgetInstance().
    explicit PropertyManager(Instance& instance);
    ~PropertyManager() override;
    PropertyManager(const PropertyManager&) = delete;
    PropertyManager& operator=(const PropertyManager&) = delete;

    // The list's layout with a row per input, to be placed into a window's layout; an empty
    // element when the layout file cannot be read or has no row.
    util::xml::Element layout() const;
    // Takes over the list the window built from layout(): listens to its buttons and fills the
    // rows. The window's tree keeps owning the components; false for null.
    bool attach(gui::Component* list);
    gui::Component* getRoot() const { return root; }
    // Shows every row's present binding again.
    void fillRows();
    // The instance is going: a running detection or tuning window is closed unused.
    void forgetInstance();
    // True while the binding or the tuning window runs.
    bool isBusy() const { return busy; }

    // The window that binds one input.
    BindingDialog& bindingDialog() { return *binding; }
    // The window that tunes one input's response.
    AdvancedSettingsDialog& advancedDialog() { return *advanced; }
    // The running detection, or null.
    ControlDetector* detector() const { return detection.get(); }

    void handleMessage(util::Message& message, bool broadcast) override;

private:
    void listenToRows();
    void onClicked(int32_t id);
    void detect(int32_t row);
    void tune(int32_t row);
    gui::Component* find(int32_t id) const;

    Instance* shown;
    gui::Component* root = nullptr;
    bool busy = false;
    std::unique_ptr<ControlDetector> detection;
    std::unique_ptr<BindingDialog> binding;
    std::unique_ptr<AdvancedSettingsDialog> advanced;
};

} // namespace mvk::qvn::core
