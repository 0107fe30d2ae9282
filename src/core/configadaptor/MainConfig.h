#pragma once
// The element behind the core's own main preferences page: it applies the page's changes to the
// main settings rather than to a tool's variables, and stores nothing in profiles.
#include "core/configadaptor/Node.h"

namespace mvk::qvn::core {
class MainConfigSettings;
}

namespace mvk::qvn::core::configadaptor::element {

class MainConfig : public Node {
public:
    // Component ids of the main preferences page.
    static constexpr int32_t CountdownSpinner = 100;
    static constexpr int32_t SilentCheckBox = 102;
    static constexpr int32_t StayOnTopCheckBox = 103;
    static constexpr int32_t LogLevelComboBox = 106;
    static constexpr int32_t SaveLogButton = 110;
    static constexpr int32_t OscEnabledCheckBox = 120;
    static constexpr int32_t OscPortSpinner = 121;
    static constexpr int32_t OscLoopbackCheckBox = 122;

    // Works on the main dialog's settings of the core.
    MainConfig();
    // Works on `settings`, which must outlive the element.
    explicit MainConfig(MainConfigSettings* settings);

    // Every click, index change, value change or state change of the page opens a host
    // operation named after the sending component's label, even one from a component the
    // settings do not know, and applies the change inside it.
    bool applyWidgetChange(const WidgetChange& change) override;

    // The fixed main preferences layout of the install data folder; empty when it cannot be
    // read.
    util::xml::Element pageLayout() const override;
    // Builds the page and fills it from the settings.
    gui::Component* buildPage() override;
    // Fills every bound page from the settings.
    void refreshPages() override;

protected:
    // Every component of the page: a change anywhere on it is one host operation.
    std::vector<gui::Component*> eventSources(gui::Component& page) const override;

private:
    void showSettings(gui::Component& page, const MainConfigSettings& mainSettings) const;

    MainConfigSettings* target() const;
    void applyToSettings(const WidgetChange& change, MainConfigSettings& mainSettings) const;

    MainConfigSettings* settings = nullptr;
};

} // namespace mvk::qvn::core::configadaptor::element
