#pragma once
// The per-instance code object a tool plug-in makes for every tool instance.
#include "sdk/CExtendable.h"

#include <cstdint>
#include <string>

namespace mvk::qvn {

class CCameraPlugin;
class CInterface;

class CCamera : public CExtendable {
public:
    struct CreateParam {
        int32_t size = 100;
        CCameraPlugin* plugin = nullptr;
        std::string name;
    };

    explicit CCamera(const CreateParam& param) : plugin(param.plugin), name(param.name) {}

    // Notifications while recording and playing; empty by default. A take or resimulation's
    // start time is the core's getRecordStartTime().
    virtual void onRecordingBegin() {}
    virtual void onRecordingEnd() {}
    virtual void onSample(double time) {}
    virtual void onTimeUpdate(double time) {}
    // 0 means ready; anything else makes the core release the object.
    virtual int32_t initialize() { return 0; }
    // A second readiness check; 0 means success.
    virtual int32_t check() { return 0; }
    // Reserved query; 0 by default.
    virtual int32_t query() { return 0; }
    // Non-zero keeps the core from storing the instance's save data with the scene.
    virtual int32_t skipSaveData() { return 0; }
    // Frees the object in the module that made it.
    virtual void release() { delete this; }
    virtual ~CCamera() = default;

    CCameraPlugin* getPlugin() const { return plugin; }
    const std::string& getName() const { return name; }
    // Kept equal to the instance name by the core.
    void setName(const std::string& newName) { name = newName; }
    // The core's services for this instance, stored by the core when the instance is made.
    CInterface* getInterface() const { return core; }
    void setInterface(CInterface* services) { core = services; }

protected:
    CCameraPlugin* plugin;
    std::string name;
    CInterface* core = nullptr;
};

} // namespace mvk::qvn
