#include "core/configadaptor/MainConfig.h"

#include "core/CoreImplementation.h"
#include "core/MainConfigSettings.h"
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
    default:
        return;
    }
}

} // namespace mvk::qvn::core::configadaptor::element
