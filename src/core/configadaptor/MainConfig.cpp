#include "core/configadaptor/MainConfig.h"

#include "core/CoreImplementation.h"
#include "core/MainConfigSettings.h"
#include "core/Paths.h"
#include "gui/Component.h"
#include "gui/componentinterface/CheckBox.h"
#include "gui/componentinterface/ComboBox.h"
#include "gui/componentinterface/Spinner.h"
#include "sdk/HostAdaptor.h"

#include <cmath>
#include <limits>

namespace mvk::qvn::core::configadaptor::element {

namespace {

bool isPageEvent(int32_t code) {
    return code == Node::ButtonClicked || code == Node::IndexChanged ||
           code == Node::ValueCommitted || code == Node::ValueChanged || code == Node::StateChanged;
}

// Truncation toward zero, kept inside the 32-bit range; false for a value that is no number.
bool truncateToInt32(double value, int32_t& result) {
    if (std::isnan(value))
        return false;
    const double low = std::numeric_limits<int32_t>::min();
    const double high = std::numeric_limits<int32_t>::max();
    result = static_cast<int32_t>(std::trunc(std::fmin(std::fmax(value, low), high)));
    return true;
}

template <class Kind> Kind* kindById(gui::Component& page, int32_t id) {
    return gui::interfaceOf<Kind>(page.findById(id));
}

void addSubtree(gui::Component& component, std::vector<gui::Component*>& list) {
    list.push_back(&component);
    for (int i = 0; i < component.childCount(); ++i)
        addSubtree(*component.child(i), list);
}

} // namespace

MainConfig::MainConfig() : MainConfig(nullptr) {}

MainConfig::MainConfig(MainConfigSettings* settings)
    : Node(0, "Main Preferences", "", nullptr), settings(settings) {}

bool MainConfig::applyWidgetChange(const WidgetChange& change) {
    if (!isPageEvent(change.code))
        return false;
    HostAdaptor* host = adaptor();
    if (host != nullptr)
        host->beginHold(change.senderLabel);
    if (MainConfigSettings* current = target())
        applyToSettings(change, *current);
    if (host != nullptr)
        host->acceptHold();
    return true;
}

MainConfigSettings* MainConfig::target() const {
    if (settings != nullptr)
        return settings;
    CoreImplementation* core = CoreImplementation::existing();
    return core != nullptr ? &core->getSettings() : nullptr;
}

void MainConfig::applyToSettings(const WidgetChange& change,
                                 MainConfigSettings& mainSettings) const {
    const int32_t code = change.code;
    switch (change.senderId) {
    case SaveLogButton:
        if (code == ButtonClicked)
            mainSettings.saveLogAs();
        return;
    case LogLevelComboBox:
        if (code == IndexChanged)
            mainSettings.setLogLevel(change.text);
        return;
    case CountdownSpinner: {
        int32_t seconds = 0;
        if ((code == ValueCommitted || code == ValueChanged) &&
            truncateToInt32(change.value, seconds))
            mainSettings.setCountdownSeconds(seconds);
        return;
    }
    case SilentCheckBox:
        if (code == StateChanged)
            mainSettings.setSilent(change.checked);
        return;
    case StayOnTopCheckBox:
        if (code == StateChanged)
            mainSettings.setStayOnTop(change.checked);
        return;
    // The OSC listener follows at once. The port only on a committed edit, so typing 9001
    // does not open ports 9, 90 and 900 on the way.
    case OscEnabledCheckBox:
        if (code == StateChanged) {
            mainSettings.setOscEnabled(change.checked);
            mainSettings.applyToDrivers();
        }
        return;
    case OscPortSpinner: {
        int32_t port = 0;
        if (code == ValueCommitted && truncateToInt32(change.value, port) &&
            mainSettings.setOscPort(port))
            mainSettings.applyToDrivers();
        return;
    }
    case OscLoopbackCheckBox:
        if (code == StateChanged) {
            mainSettings.setOscLoopbackOnly(change.checked);
            mainSettings.applyToDrivers();
        }
        return;
    default:
        return;
    }
}

util::xml::Element MainConfig::pageLayout() const {
    util::xml::Element layout;
    if (layout.load(getInstallPath("data") + "/core/layout/qvn_mainconfig.xml") !=
        util::xml::Element::Parsed)
        return {};
    return layout;
}

gui::Component* MainConfig::buildPage() {
    gui::Component* page = Node::buildPage();
    if (page == nullptr)
        return nullptr;
    if (const MainConfigSettings* current = target())
        showSettings(*page, *current);
    return page;
}

void MainConfig::refreshPages() {
    const MainConfigSettings* current = target();
    for (int i = 0; i < boundPageCount() && current != nullptr; ++i)
        showSettings(*boundPage(i), *current);
}

std::vector<gui::Component*> MainConfig::eventSources(gui::Component& page) const {
    std::vector<gui::Component*> sources;
    addSubtree(page, sources);
    return sources;
}

void MainConfig::showSettings(gui::Component& page, const MainConfigSettings& mainSettings) const {
    namespace kind = gui::componentinterface;
    if (auto* countdown = kindById<kind::Spinner>(page, CountdownSpinner))
        countdown->setValue(mainSettings.countdownSeconds());
    if (auto* silent = kindById<kind::CheckBox>(page, SilentCheckBox))
        silent->setChecked(mainSettings.silent());
    if (auto* stayOnTop = kindById<kind::CheckBox>(page, StayOnTopCheckBox))
        stayOnTop->setChecked(mainSettings.stayOnTop());
    if (auto* logLevel = kindById<kind::ComboBox>(page, LogLevelComboBox))
        logLevel->setCurrentText(mainSettings.logLevelName());
    if (auto* osc = kindById<kind::CheckBox>(page, OscEnabledCheckBox))
        osc->setChecked(mainSettings.oscEnabled());
    if (auto* port = kindById<kind::Spinner>(page, OscPortSpinner))
        port->setValue(mainSettings.oscPort());
    if (auto* loopback = kindById<kind::CheckBox>(page, OscLoopbackCheckBox))
        loopback->setChecked(mainSettings.oscLoopbackOnly());
}

} // namespace mvk::qvn::core::configadaptor::element
