#pragma once
// The main settings kept in one XML file per host: countdown, silent mode, stay-on-top, the log
// level, and the additional settings a host adaptor registers.
#include "util/DynamicObject.h"

#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace mvk::qvn::core {

class MainConfigSettings {
public:
    // Built-in ids as getSetting takes them.
    static constexpr int32_t IdFilePath = 1;
    static constexpr int32_t IdCountdown = 2;
    static constexpr int32_t IdReserved = 3;
    static constexpr int32_t IdSilent = 4;
    static constexpr int32_t IdStayOnTop = 5;
    static constexpr int32_t IdLogLevel = 7;
    // Item ids in the file.
    static constexpr int32_t ItemCountdown = 100;
    static constexpr int32_t ItemSilent = 102;
    static constexpr int32_t ItemStayOnTop = 103;
    static constexpr int32_t ItemLogLevel = 106;
    // Listening for OSC control surfaces; written after the additional settings, so files read
    // by older cores keep the items those expect in the places they expect them.
    static constexpr int32_t ItemOscEnabled = 120;
    static constexpr int32_t ItemOscPort = 121;
    static constexpr int32_t ItemOscLoopbackOnly = 122;
    static constexpr int32_t DefaultOscPort = 9000;

    class AdditionalSettingBase : public util::DynamicObject, public util::DynamicCreator {
    public:
        explicit AdditionalSettingBase(int32_t id) : settingId(id) {}
        int32_t id() const { return settingId; }
        virtual bool setFrom(const void* value) = 0;
        virtual bool getInto(void* value) const = 0;
        virtual std::string toString() const = 0;
        virtual void fromString(const std::string& text) = 0;

    private:
        int32_t settingId;
    };

    template <class T>
    class AdditionalSetting : public AdditionalSettingBase {
    public:
        AdditionalSetting(int32_t id, T value) : AdditionalSettingBase(id), value(std::move(value)) {}
        bool set(const T* newValue) {
            value = *newValue;
            return true;
        }
        bool get(T* out) const {
            *out = value;
            return true;
        }
        bool setFrom(const void* newValue) override { return set(static_cast<const T*>(newValue)); }
        bool getInto(void* out) const override { return get(static_cast<T*>(out)); }
        // Standard stream formatting; a boolean reads and writes as 0 or 1.
        std::string toString() const override {
            std::ostringstream text;
            text << value;
            return text.str();
        }
        void fromString(const std::string& text) override {
            std::istringstream in(text);
            in >> value;
        }
        const T& current() const { return value; }

    private:
        T value;
    };

    MainConfigSettings() = default;
    MainConfigSettings(const MainConfigSettings&) = delete;
    MainConfigSettings& operator=(const MainConfigSettings&) = delete;
    // Saves once more, then frees the additional settings.
    ~MainConfigSettings();

    // Resets to the defaults, then reads <hostDataPath>/settings.xml when it can be read.
    void load(const std::string& hostDataPath);
    // Writes the file (beside it first, then renamed over it): a failed write keeps the old file.
    // False when nothing could be written; nothing happens without a file path.
    bool save() const;
    // Stores the name; "Disabled", "Low", "High" and "Debug" also set the log threshold 0 to 3.
    void setLogLevel(const std::string& name);
    // Writes the log's buffer to a file the user picks, and says how that went.
    void saveLogAs() const;

    // Registers an additional setting (appended). A value stored under its id in the last loaded
    // file is applied to it, so additional settings survive a restart.
    template <class T>
    void addSetting(int32_t id, T value) {
        auto* setting = new AdditionalSetting<T>(id, std::move(value));
        applyStored(*setting);
        additional.push_back(setting);
    }
    // Copies a built-in or additional setting into `value`; false for an unknown id.
    bool getSetting(int32_t id, void* value) const;
    // Sets an additional setting (the first with that id); false when there is none.
    bool setSetting(int32_t id, const void* value);
    AdditionalSettingBase* findAdditional(int32_t id) const;
    int additionalCount() const { return static_cast<int>(additional.size()); }

    const std::string& filePath() const { return settingsPath; }
    int32_t countdownSeconds() const { return countdown; }
    void setCountdownSeconds(int32_t seconds) { countdown = seconds; }
    bool silent() const { return silentFlag; }
    // Also copied into the process-wide silent flag.
    void setSilent(bool silent);
    bool stayOnTop() const { return stayOnTopFlag; }
    // A change is passed to the observer at once, so open windows follow it.
    void setStayOnTop(bool stayOnTop) {
        const bool changed = stayOnTop != stayOnTopFlag;
        stayOnTopFlag = stayOnTop;
        if (changed && stayOnTopObserver)
            stayOnTopObserver(stayOnTop);
    }
    void observeStayOnTop(std::function<void(bool)> observer) {
        stayOnTopObserver = std::move(observer);
    }
    const std::string& logLevelName() const { return logLevel; }

    // Off by default: a listening port is something the user asks for.
    bool oscEnabled() const { return oscListening; }
    void setOscEnabled(bool enabled) { oscListening = enabled; }
    int32_t oscPort() const { return oscPortNumber; }
    // Ports outside 1 .. 65535 are refused (false).
    bool setOscPort(int32_t port);
    bool oscLoopbackOnly() const { return oscLoopback; }
    void setOscLoopbackOnly(bool loopbackOnly) { oscLoopback = loopbackOnly; }
    // The settings the driver libraries take, as key and text ("osc.enabled", "osc.port",
    // "osc.loopbackOnly").
    std::vector<std::pair<std::string, std::string>> driverSettings() const;
    // Hands driverSettings() to every loaded driver library that takes settings.
    void applyToDrivers() const;

private:
    void resetDefaults();
    // Applies one stored item of the file.
    void loadItem(int32_t id, const std::string& text);
    void applyStored(AdditionalSettingBase& setting) const;

    std::string settingsPath;
    std::function<void(bool)> stayOnTopObserver;
    int32_t countdown = 2;
    bool silentFlag = false;
    bool stayOnTopFlag = true;
    std::string logLevel = "High";
    bool oscListening = false;
    int32_t oscPortNumber = DefaultOscPort;
    bool oscLoopback = false;
    std::vector<AdditionalSettingBase*> additional;
    // The additional items of the last loaded file, in file order.
    std::vector<std::pair<int32_t, std::string>> storedItems;
};

} // namespace mvk::qvn::core
