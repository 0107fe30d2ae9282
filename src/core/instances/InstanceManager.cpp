#include "core/instances/InstanceManager.h"

#include "core/CoreImplementation.h"
#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "core/libraries/LibraryManager.h"
#include "core/libraries/Template.h"
#include "core/libraries/Tool.h"
#include "util/Log.h"

namespace mvk::qvn::core {

InstanceManager::InstanceManager(CoreImplementation* core) : CoreSubSystem(core) {
    util::Log section("Constructing Instance manager Core subsystem", util::Log::Notice);
}

InstanceManager::~InstanceManager() {
    util::Log section("DeInitializing Instance manager Core subsystem", util::Log::Notice);
    releaseRoot();
    section.write("Searching and destroying lost plugins");
    if (LibraryManager* libraries = LibraryManager::existing())
        libraries->releaseLostInstances();
}

void InstanceManager::initSubSystem() {
    util::Log::instance()->write("initsubsystem: InstanceManager", util::Log::Notice);
    Tool* group = LibraryManager::instance()->findTool("Group");
    if (group != nullptr)
        root = group->createInstance("root");
}

void InstanceManager::releaseRoot() {
    InstanceReference* tree = root;
    root = nullptr;
    if (tree != nullptr)
        tree->destroy();
}

InstanceReference* InstanceManager::createInstance(const std::string& toolId,
                                                   const std::string& name,
                                                   InstanceReference* parent) {
    util::Log::instance()->write("Creating instance", util::Log::Notice);
    CoreImplementation* core = getCore();
    HostAdaptor* host = core ? core->getAdaptor() : nullptr;
    if (host != nullptr)
        host->beginHold("Creating instance");
    Tool* tool = LibraryManager::instance()->findTool(toolId);
    InstanceReference* created = tool ? tool->createInstance(name) : nullptr;
    if (created == nullptr) {
        if (host != nullptr)
            host->cancelHold();
        return nullptr;
    }
    InstanceReference* below = parent ? parent : root;
    if (below != nullptr)
        below->insertChild(created);
    if (host != nullptr)
        host->acceptHold();
    return created;
}

InstanceReference* InstanceManager::createFromScene(const util::xml::Element& scene,
                                                    InstanceReference* parent) {
    util::Log::instance()->write("Creating instance", util::Log::Notice);
    CoreImplementation* core = getCore();
    HostAdaptor* host = core ? core->getAdaptor() : nullptr;
    if (host != nullptr)
        host->beginHold("Creating instance");
    util::xml::Element wrapped;
    const util::xml::Element* holder = &scene;
    if (scene.name() != "QVT" && scene.name() != "qvn") {
        wrapped = util::xml::Tag("qvn");
        wrapped.addChild(scene);
        holder = &wrapped;
    }
    InstanceReference* below = parent ? parent : root;
    InstanceReference* first = nullptr;
    const std::string path = holder->attribute("path");
    holder->forEachChild("QVT_Plugin", [&](const util::xml::Element& tag) {
        Template* stored = Template::make(nullptr, tag, path);
        InstanceReference* created = stored ? stored->createInstance("") : nullptr;
        if (stored != nullptr)
            stored->release();
        if (created == nullptr)
            return;
        if (below != nullptr)
            below->insertChild(created);
        if (first == nullptr)
            first = created;
    });
    if (host != nullptr)
        host->cancelHold();
    return first;
}

InstanceReference* InstanceManager::findReference(const std::string& name) const {
    return root ? root->find(name) : nullptr;
}

std::vector<Instance*> InstanceManager::checkedInstances() const {
    std::vector<InstanceReference*> references;
    if (root != nullptr)
        root->collectChecked(references);
    std::vector<Instance*> instances;
    for (InstanceReference* reference : references)
        instances.push_back(reference->getInstance());
    return instances;
}

std::vector<Instance*> InstanceManager::instanceList() const {
    LibraryManager* libraries = LibraryManager::existing();
    return libraries ? libraries->allInstances() : std::vector<Instance*>{};
}

} // namespace mvk::qvn::core
