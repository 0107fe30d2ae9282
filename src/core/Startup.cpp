#include "core/Startup.h"

#include "core/CoreImplementation.h"
#include "core/Hooks.h"
#include "core/Paths.h"
#include "core/libraries/LibraryManager.h"
#include "core/recording/TimerManager.h"
#include "gui/Toolkit.h"
#include "mathscript/MathScript_Default.h"
#include "platform/FileSystem.h"
#include "platform/TickCount.h"
#include "unidevice/InputLayer.h"
#include "util/Log.h"
#include "util/SingletonCollector.h"

namespace mvk::qvn::core {

namespace {

void* module = nullptr;
// Up from the first attach (even a refused one) until the shut-down.
bool foundationStarted = false;

// Log file, GUI toolkit, expression factories, built-in tool plug-ins and tool libraries. Runs
// before the version check, so a mismatching adaptor still finds the log written. Started once:
// the toolkit, the factories and the libraries exist only once per process.
void startFoundation() {
    if (foundationStarted)
        return;
    foundationStarted = true;
    const std::string dataFolder = getCoreDataPath();
    platform::createFolder(dataFolder);
    util::Log::instance()->setFile(dataFolder + "/core.log");
    gui::Toolkit::registerFactories();
    gui::Toolkit::start();
    MathScript_Default::registerFactories();
    util::Log::setLevel(util::Log::Notice);
    util::Log init("Initializing CORE", util::Log::Notice);
    {
        util::Log loading("Loading plugins", util::Log::Notice);
        LibraryManager::instance()->startUp();
    }
    init.write("QVT init done");
}

bool versionMatches(HostAdaptor* adaptor) {
    if (adaptor->getVersion() == CoreVersion)
        return true;
    util::Log section("version mismatch trying to attach to CORE", util::Log::Error);
    section.write("CORE version", CoreVersion, -1);
    section.write("Adaptor version", adaptor->getVersion(), -1);
    return false;
}

void startInputLayer(HostAdaptor* adaptor) {
    unidevice::startInputLayer(module, adaptor->getMainWindowHandle(), getInstallPath(""));
    util::Log::instance()->write("Starting hooks", util::Log::Notice);
    Hooks::startHooks();
}

// The core object exists once. A host that attaches again while attached gets the same core,
// now talking to the adaptor that asked; its input layer, hook and instances stay as they are,
// and the one detach that follows takes everything down.
CoreInterface* attachAgain(CoreImplementation* core, HostAdaptor* adaptor) {
    util::Log::instance()->write("CORE already attached", util::Log::Notice);
    core->setAdaptor(adaptor);
    return core;
}

// The core behind a pointer that attach handed out; null for null and for a pointer to a core
// that an earlier detach already took down.
CoreImplementation* attachedCore(CoreInterface* coreInterface) {
    CoreImplementation* core = CoreImplementation::existing();
    if (core == nullptr || coreInterface != static_cast<CoreInterface*>(core))
        return nullptr;
    return core;
}

void shutDown() {
    util::Log section("Shutting down CORE", util::Log::Notice);
    util::SingletonCollector::instance()->destroyAll();
    unidevice::shutDownInputLayer();
    gui::Toolkit::stop();
    gui::Toolkit::teardownFactories();
    foundationStarted = false;
}

} // namespace

void* moduleHandle() { return module; }

void setModuleHandle(void* handle) { module = handle; }

CoreInterface* attachCore(HostAdaptor* adaptor) {
    startFoundation();
    if (adaptor == nullptr || !versionMatches(adaptor))
        return nullptr;
    if (CoreImplementation* core = CoreImplementation::existing())
        return attachAgain(core, adaptor);
    // Before the drivers load: those that play scripts take their start from this clock.
    if (platform::simulatedClockRequested())
        TimerManager::service().simulateClock(true);
    util::Log section("Initializing unidevice", util::Log::Notice);
    startInputLayer(adaptor);
    CoreImplementation* core = CoreImplementation::instance();
    core->startUp();
    core->setAdaptor(adaptor);
    core->getSettings().load(core->getHostDataPath());
    // The drivers loaded before the settings were read; those that listen learn now where.
    core->getSettings().applyToDrivers();
    return core;
}

int32_t detachCore(CoreInterface* coreInterface) {
    Hooks::stopHooks();
    util::Log section("Unlinking adaptor from CORE and deleting CORE interface", util::Log::Notice);
    if (CoreImplementation* core = attachedCore(coreInterface)) {
        if (core->isResimulating())
            core->finishResimulation();
        else if (core->isRecording())
            core->stopRecording();
        core->releaseRoot();
        if (HostAdaptor* adaptor = core->getAdaptor())
            adaptor->onCoreDetach();
    }
    Hooks::stopHooks();
    shutDown();
    return 0;
}

} // namespace mvk::qvn::core
