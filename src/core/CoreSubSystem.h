#pragma once
// The base of the core object's subsystems, and the process-wide state of the core.
#include <vector>

namespace mvk::qvn::core {

class CoreImplementation;

class CoreSubSystem {
public:
    // Registers itself while the core is not yet initialised (and `core` is set).
    explicit CoreSubSystem(CoreImplementation* core);
    CoreSubSystem(const CoreSubSystem&) = delete;
    CoreSubSystem& operator=(const CoreSubSystem&) = delete;

    // Called once after the whole core object is built.
    virtual void initSubSystem() {}
    // The core; null when unset, and null with the error box when used before the core is
    // initialised (from a subsystem constructor, say).
    virtual CoreImplementation* getCore() const;
    // Leaves the registry; the last one to leave clears the initialised flag.
    virtual ~CoreSubSystem();

    // The registry, in registration order.
    static const std::vector<CoreSubSystem*>& registry();
    static bool isInitialized();
    static void setInitialized();

private:
    CoreImplementation* core;
};

} // namespace mvk::qvn::core
