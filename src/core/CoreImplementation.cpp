#include "core/CoreImplementation.h"

#include "core/Paths.h"
#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "core/instances/SceneTagWriter.h"
#include "core/libraries/Tool.h"
#include "gui/Component.h"
#include "gui/MessageBox.h"
#include "sdk/CCamera.h"
#include "gui/Toolkit.h"
#include "util/Log.h"

namespace mvk::qvn::core {

CoreImplementation::CoreImplementation()
    : AdaptorManager(this), RecordManager(this), InstanceManager(this), MainDlg(this),
      UpdateManager(this) {}

void CoreImplementation::startUp() {
    util::Log section("Constructing CORE main system", util::Log::Notice);
    Hooks::addKeyEventCallback(this);
    CoreSubSystem::setInitialized();
    // Copy: a subsystem made while initialising is not registered, but be safe anyway.
    const std::vector<CoreSubSystem*> subsystems = CoreSubSystem::registry();
    for (CoreSubSystem* subsystem : subsystems)
        subsystem->initSubSystem();
    section.write("Checking for updates");
    checkForUpdates();
}

CoreImplementation::~CoreImplementation() {
    util::Log section("Deinitializing CORE main system", util::Log::Notice);
    Hooks::removeKeyEventCallback(this);
}

void CoreImplementation::saveScene(SceneWriter& writer) {
    InstanceReference* root = getRoot();
    writer.write(root ? SceneTagWriter::write(*root, SceneTagWriter::WithSaveData)
                      : util::xml::Element(util::xml::Tag("QVT")));
}

int32_t CoreImplementation::saveLostInstances(SceneWriter& writer) {
    // Each lost instance stands alone: its children are listed on their own when lost too.
    util::xml::Element lost = util::xml::Tag("QVT");
    for (Instance* instance : instanceList()) {
        InstanceReference* reference = instance->getReference();
        if (reference == nullptr || reference->isRoot() || !instance->getNodes().empty())
            continue;
        lost.addChild(SceneTagWriter::write(*reference, SceneTagWriter::WithSaveData |
                                                            SceneTagWriter::WithoutChildren));
    }
    writer.write(lost);
    return ResultOk;
}

InstanceReference* CoreImplementation::loadInstances(const util::xml::Element& scene) {
    InstanceReference* created = createFromScene(scene);
    refreshTree();
    return created;
}

void CoreImplementation::removeAllInstances() {
    // The last instance of the list first, until none is left; the configuration window, once
    // it exists, is hidden afterwards.
    for (std::vector<Instance*> list = instanceList(); !list.empty(); list = instanceList()) {
        Instance* last = list.back();
        if (InstanceReference* reference = last->getReference(); reference == getRoot())
            releaseRoot();
        else
            last->destroy();
    }
    refreshTree();
}

int32_t CoreImplementation::openMainDialog() {
    if (MainDlg::isOpen()) {
        MainDlg::bringToFront();
        return ResultMainDialogOpen;
    }
    MainDlg::open();
    return ResultOk;
}

int32_t CoreImplementation::closeMainDialog() {
    if (!MainDlg::isOpen())
        return ResultMainDialogNotOpen;
    MainDlg::close();
    return ResultOk;
}

bool CoreImplementation::isMainDialogOpen() { return MainDlg::isOpen(); }

gui::Component* CoreImplementation::getMainWindow() { return MainDlg::getMainWindow(); }

gui::Component* CoreImplementation::createComponent(const util::xml::Element& element) {
    gui::ComponentFactory* factories = gui::ComponentFactory::existing();
    return factories ? factories->create(element) : nullptr;
}

void CoreImplementation::updateInstances(double time) {
    // While recording the record list drives this; otherwise the ticked instances of the tree.
    const std::vector<Instance*> instances =
        RecordManager::isRecording() ? getRecordList() : checkedInstances();
    for (Instance* instance : instances)
        if (CCamera* code = instance->getCode())
            code->onTimeUpdate(time);
}

bool CoreImplementation::isRecording() { return RecordManager::isRecording(); }

void CoreImplementation::setUnlockedKeys(const UnlockedKeys& keys) { Hooks::setUnlockedKeys(keys); }

int32_t CoreImplementation::startRecording() { return RecordManager::startRecording(); }

int32_t CoreImplementation::stopRecording() { return RecordManager::stopRecording(); }

int32_t CoreImplementation::getSlowMotion() { return RecordManager::getSlowMotion(); }

void CoreImplementation::setSlowMotion(int32_t step) {
    RecordManager::setSlowMotion(step);
    MainDlg::updateSlowMotion();
}

void CoreImplementation::resimulate(double start, double end) {
    RecordManager::resimulate(start, end);
}

InstanceReference* CoreImplementation::findInstance(const std::string& name) {
    return findReference(name);
}

void CoreImplementation::applyConfigProfile(const std::string& instanceName,
                                            const std::string& profile) {
    InstanceReference* reference = findReference(instanceName);
    Instance* instance = reference ? reference->getInstance() : nullptr;
    if (instance != nullptr)
        instance->getTool()->applyConfigProfile(*instance, profile);
}

std::string CoreImplementation::createInstance(const std::string& tool) {
    InstanceReference* created = InstanceManager::createInstance(tool, "");
    refreshTree();
    return created ? created->getName() : std::string();
}

std::string CoreImplementation::cloneInstance(const std::string& name) {
    InstanceReference* reference = findReference(name);
    InstanceReference* copy = reference ? reference->clone() : nullptr;
    refreshTree();
    return copy ? copy->getName() : std::string();
}

InstanceReference* CoreImplementation::getInstance(const std::string& name) {
    return findInstance(name);
}

int32_t CoreImplementation::deleteInstance(const std::string& name) {
    InstanceReference* reference = findReference(name);
    if (reference == nullptr || reference->getInstance() == nullptr)
        return 0;
    reference->deleteReference(true);
    refreshTree();
    return 0;
}

void CoreImplementation::setImageAliases(gui::Component* component) {
    if (component == nullptr)
        return;
    const std::string images = getInstallPath("data") + "/core/images";
    component->setPathAlias("[images]", images);
    component->setPathAlias("[coreimages]", images);
}

void CoreImplementation::processEvents() {
    // In simulated time the host's pump is what moves the clock: one due timer per pump.
    TimerManager::service().runNextTimer();
    gui::Toolkit::processEvents();
}

void CoreImplementation::startEventPump() { gui::Toolkit::startEventPump(); }

int32_t CoreImplementation::addSettingDouble(int32_t id, double value) {
    getSettings().addSetting<double>(id, value);
    return ResultOk;
}

int32_t CoreImplementation::addSettingString(int32_t id, const std::string& value) {
    getSettings().addSetting<std::string>(id, value);
    return ResultOk;
}

int32_t CoreImplementation::addSettingInt(int32_t id, int32_t value) {
    getSettings().addSetting<int32_t>(id, value);
    return ResultOk;
}

int32_t CoreImplementation::addSettingBool(int32_t id, bool value) {
    getSettings().addSetting<bool>(id, value);
    return ResultOk;
}

bool CoreImplementation::getSetting(int32_t id, void* value) {
    return getSettings().getSetting(id, value);
}

bool CoreImplementation::setSetting(int32_t id, const void* value) {
    return getSettings().setSetting(id, value);
}

int32_t CoreImplementation::messageBox(gui::Component* parent, const std::string& text,
                                       const std::string& caption, uint32_t flags, bool force) {
    return gui::messageBox(parent ? parent->getWidget() : nullptr, text, caption, flags, force);
}

void CoreImplementation::handleMessage(util::Message& message, bool) {
    MainDlg::onMessage(message);
}

void CoreImplementation::onKey(int32_t virtualKey, bool down, bool ctrl, bool alt, bool shift) {
    if (down)
        return;
    const bool takeRunning = RecordManager::isRecording() && !RecordManager::isResimulating();
    if (virtualKey == 32 || virtualKey == 27) {
        if (takeRunning)
            RecordManager::stopRecording();
        return;
    }
    if (virtualKey != 'Z' || !ctrl || alt || shift)
        return;
    if (takeRunning)
        RecordManager::stopRecording();
    HostAdaptor* adaptor = getAdaptor();
    if (adaptor != nullptr && adaptor->undo())
        RecordManager::startRecording();
}

} // namespace mvk::qvn::core
