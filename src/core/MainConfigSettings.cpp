#include "core/MainConfigSettings.h"

#include "gui/MessageBox.h"
#include "platform/FileSystem.h"
#include "platform/Interaction.h"
#include "platform/ShellFolders.h"
#include "unidevice/InputLayer.h"
#include "util/Log.h"
#include "util/xml/Element.h"

#include <cstdlib>

namespace mvk::qvn::core {

namespace {

// Decimal integer as the file stores ids and values; anything unreadable is 0.
int32_t toInt(const std::string& text) {
    return static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
}

util::xml::Element item(int32_t id, const std::string& value) {
    util::xml::TagWithData element("item", value);
    element.attribute("id") = std::to_string(id);
    return element;
}

} // namespace

MainConfigSettings::~MainConfigSettings() {
    save();
    for (auto it = additional.rbegin(); it != additional.rend(); ++it)
        (*it)->destroy();
}

void MainConfigSettings::resetDefaults() {
    countdown = 2;
    silentFlag = false;
    stayOnTopFlag = true;
    logLevel = "High";
    oscListening = false;
    oscPortNumber = DefaultOscPort;
    oscLoopback = false;
    storedItems.clear();
}

void MainConfigSettings::loadItem(int32_t id, const std::string& text) {
    switch (id) {
    case ItemCountdown: countdown = toInt(text); break;
    case ItemSilent: silentFlag = toInt(text) != 0; break;
    case ItemStayOnTop: stayOnTopFlag = toInt(text) != 0; break;
    case ItemLogLevel: logLevel = text; break;
    case ItemOscEnabled: oscListening = toInt(text) != 0; break;
    case ItemOscPort: setOscPort(toInt(text)); break;
    case ItemOscLoopbackOnly: oscLoopback = toInt(text) != 0; break;
    default:
        storedItems.emplace_back(id, text);
        if (AdditionalSettingBase* setting = findAdditional(id))
            setting->fromString(text);
    }
}

bool MainConfigSettings::setOscPort(int32_t port) {
    if (port < 1 || port > 65535)
        return false;
    oscPortNumber = port;
    return true;
}

std::vector<std::pair<std::string, std::string>> MainConfigSettings::driverSettings() const {
    return {{"osc.enabled", oscListening ? "1" : "0"},
            {"osc.port", std::to_string(oscPortNumber)},
            {"osc.loopbackOnly", oscLoopback ? "1" : "0"}};
}

void MainConfigSettings::applyToDrivers() const { unidevice::driverLoader().applySettings(driverSettings()); }

void MainConfigSettings::load(const std::string& hostDataPath) {
    resetDefaults();
    settingsPath = hostDataPath + "/settings.xml";
    util::xml::Element document;
    if (document.load(settingsPath) == util::xml::Element::Parsed) {
        document.forEachChild("item", [this](const util::xml::Element& entry) {
            if (entry.hasAttribute("id"))
                loadItem(toInt(entry.attribute("id")), entry.text());
        });
    }
    platform::setSilent(silentFlag);
}

bool MainConfigSettings::save() const {
    if (settingsPath.empty())
        return false;
    util::xml::Tag document("QVNConfig");
    document.addChild(item(ItemCountdown, std::to_string(countdown)));
    document.addChild(item(ItemSilent, silentFlag ? "1" : "0"));
    document.addChild(item(ItemStayOnTop, stayOnTopFlag ? "1" : "0"));
    document.addChild(item(ItemLogLevel, logLevel));
    for (const AdditionalSettingBase* setting : additional)
        document.addChild(item(setting->id(), setting->toString()));
    document.addChild(item(ItemOscEnabled, oscListening ? "1" : "0"));
    document.addChild(item(ItemOscPort, std::to_string(oscPortNumber)));
    document.addChild(item(ItemOscLoopbackOnly, oscLoopback ? "1" : "0"));
    return document.saveAtomically(settingsPath);
}

void MainConfigSettings::setLogLevel(const std::string& name) {
    logLevel = name;
    if (name == "Disabled")
        util::Log::setLevel(0);
    else if (name == "Low")
        util::Log::setLevel(1);
    else if (name == "High")
        util::Log::setLevel(2);
    else if (name == "Debug")
        util::Log::setLevel(3);
}

void MainConfigSettings::saveLogAs() const {
    std::string chosen;
    if (!platform::interaction().saveFileName(nullptr, "Save log", platform::desktopFolder(),
                                              "log files (*.log)", chosen))
        return;
    if (util::Log::instance()->save(chosen))
        gui::messageBox(nullptr, "util::Log file saved successfully", "Morvik Quorvane", 1, false);
    else
        gui::messageBox(nullptr, "Error: Unable to save to file.", "Morvik Quorvane", 0x100001,
                        false);
}

void MainConfigSettings::applyStored(AdditionalSettingBase& setting) const {
    // The n-th setting registered under an id takes the n-th stored item of that id, so
    // duplicates written by save() come back to the same settings.
    int earlier = 0;
    for (const AdditionalSettingBase* existing : additional)
        earlier += existing->id() == setting.id() ? 1 : 0;
    for (const auto& [id, text] : storedItems) {
        if (id != setting.id())
            continue;
        if (earlier-- == 0) {
            setting.fromString(text);
            return;
        }
    }
}

MainConfigSettings::AdditionalSettingBase* MainConfigSettings::findAdditional(int32_t id) const {
    for (AdditionalSettingBase* setting : additional)
        if (setting->id() == id)
            return setting;
    return nullptr;
}

bool MainConfigSettings::getSetting(int32_t id, void* value) const {
    if (value == nullptr)
        return false;
    switch (id) {
    case IdFilePath: *static_cast<std::string*>(value) = settingsPath; return true;
    case IdCountdown: *static_cast<int32_t*>(value) = countdown; return true;
    case IdReserved: *static_cast<int32_t*>(value) = 0; return true;
    case IdSilent: *static_cast<bool*>(value) = silentFlag; return true;
    case IdStayOnTop: *static_cast<bool*>(value) = stayOnTopFlag; return true;
    case IdLogLevel: *static_cast<std::string*>(value) = logLevel; return true;
    default: break;
    }
    const AdditionalSettingBase* setting = findAdditional(id);
    return setting != nullptr && setting->getInto(value);
}

bool MainConfigSettings::setSetting(int32_t id, const void* value) {
    AdditionalSettingBase* setting = findAdditional(id);
    return setting != nullptr && value != nullptr && setting->setFrom(value);
}

void MainConfigSettings::setSilent(bool silent) {
    silentFlag = silent;
    platform::setSilent(silent);
}

} // namespace mvk::qvn::core
