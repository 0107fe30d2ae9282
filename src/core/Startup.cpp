#include "core/Startup.h"

#include "core/CoreImplementation.h"
#include "core/Hooks.h"
#include "core/Paths.h"
#include "core/libraries/LibraryManager.h"
#include "gui/Toolkit.h"
#include "mathscript/MathScript_Default.h"
#include "platform/FileSystem.h"
#include "unidevice/InputLayer.h"
#include "util/Log.h"
#include "util/SingletonCollector.h"

namespace mvk::qvn::core {

namespace {

void* module = nullptr;

// Log file, GUI toolkit, expression factories, built-in tool plug-ins and tool libraries. Runs
// before the version check, so a mismatching adaptor still finds the log written.
void startFoundation() {
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

void shutDown() {
    util::Log section("Shutting down CORE", util::Log::Notice);
    util::SingletonCollector::instance()->destroyAll();
    unidevice::shutDownInputLayer();
    gui::Toolkit::stop();
    gui::Toolkit::teardownFactories();
}

} // namespace

void* moduleHandle() { return module; }

void setModuleHandle(void* handle) { module = handle; }

CoreInterface* attachCore(HostAdaptor* adaptor) {
    startFoundation();
    if (adaptor == nullptr || !versionMatches(adaptor))
        return nullptr;
    util::Log section("Initializing unidevice", util::Log::Notice);
    startInputLayer(adaptor);
    CoreImplementation* core = CoreImplementation::instance();
    core->startUp();
    core->setAdaptor(adaptor);
    core->getSettings().load(core->getHostDataPath());
    return core;
}

int32_t detachCore(CoreInterface* coreInterface) {
    Hooks::stopHooks();
    util::Log section("Unlinking adaptor from CORE and deleting CORE interface", util::Log::Notice);
    auto* core = static_cast<CoreImplementation*>(coreInterface);
    if (core != nullptr) {
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
