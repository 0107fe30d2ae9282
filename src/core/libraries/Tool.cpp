#include "core/libraries/Tool.h"

#include "core/instances/Instance.h"
#include "core/libraries/ConfigProfileManager.h"
#include "core/libraries/InputProfileManager.h"
#include "core/libraries/Library.h"
#include "core/windows/ProductPopout.h"

#include <algorithm>

namespace mvk::qvn::core {

Tool::Tool(Library* owner)
    : util::MessageNode("Tool"), library(owner), configStore(new ConfigProfileManager()),
      inputStore(new InputProfileManager()) {
    if (library != nullptr)
        library->addTool(this);
}

void Tool::release() { destroy(); }

gui::Component* Tool::infoPanel() { return ProductPopout::build(*this); }

Tool::~Tool() {
    if (library != nullptr)
        library->removeTool(this);
}

std::string Tool::name() const {
    const std::vector<std::string> ids = identifiers();
    return ids.empty() ? std::string() : ids.front();
}

void Tool::removeInstance(Instance* instance) {
    const auto found = std::find(instances.begin(), instances.end(), instance);
    if (found != instances.end())
        instances.erase(found);
}

Instance* Tool::instance(int index) const {
    if (index < 0 || index >= instanceCount())
        return nullptr;
    return instances[static_cast<size_t>(index)];
}

void Tool::releaseInstances() {
    while (!instances.empty()) {
        Instance* last = instances.back();
        last->destroy();
        // An instance leaves the list as it dies; never loop on one that does not.
        if (!instances.empty() && instances.back() == last)
            instances.pop_back();
    }
}

void Tool::setUpProfileStores(const std::string& dataFolder, const std::string& installedFolder) {
    inputStore->setUp(dataFolder, installedFolder);
    configStore->setUp(dataFolder, installedFolder);
}

std::string Tool::profileFolderOf(const Instance&) const {
    return {};
}

Tool::ConfigProfileManager& Tool::configProfilesOf(const Instance& instance) {
    const std::string folder = profileFolderOf(instance);
    return folder.empty() ? *configStore : *storesIn(folder).config;
}

Tool::InputProfileManager& Tool::inputProfilesOf(const Instance& instance) {
    const std::string folder = profileFolderOf(instance);
    return folder.empty() ? *inputStore : *storesIn(folder).input;
}

// The folder's own profiles come first; those kept in the tool's own folders (where such
// instances kept theirs before) follow, so they stay readable.
Tool::Stores& Tool::storesIn(const std::string& folder) {
    Stores& stores = folderStores[folder];
    if (stores.config != nullptr)
        return stores;
    const std::string data = dataFolder();
    const std::string installed = installedDataFolder();
    stores.config = std::make_unique<ConfigProfileManager>();
    stores.config->setUp(data + "/" + folder, installed + "/" + folder);
    stores.input = std::make_unique<InputProfileManager>();
    stores.input->setUp(data + "/" + folder, installed + "/" + folder);
    const auto addShared = [&](XMLFileManager& store, const char* folderName,
                               const char* fileName) {
        store.addSourcePath(data + "/" + folderName);
        store.addSourcePath(installed + "/" + fileName);
        store.addSourcePath(installed + "/" + folderName);
        store.reload();
    };
    addShared(*stores.config, ConfigProfileManager::FolderName, ConfigProfileManager::FileName);
    addShared(*stores.input, InputProfileManager::FolderName, InputProfileManager::FileName);
    return stores;
}

void Tool::applyStartProfiles(Instance& instance) {
    const std::string start = XMLFileManager::StartProfile;
    ConfigProfileManager& configs = configProfilesOf(instance);
    InputProfileManager& inputs = inputProfilesOf(instance);
    configs.addElement(instance.makeConfigProfile(XMLFileManager::FactorySettings), false, true);
    if (configs.elementByName(start).isEmpty())
        configs.addElement(instance.makeConfigProfile(start), true, false);
    instance.applyConfigProfile(configs.elementByName(start));
    if (inputs.elementByName(start).isEmpty())
        inputs.addElement(instance.makeInputProfile(start), true, false);
    instance.applyInputProfile(inputs.elementByName(start));
}

bool Tool::applyConfigProfile(Instance& instance, const std::string& profile) {
    const util::xml::Element& stored = configProfilesOf(instance).elementByName(profile);
    if (stored.isEmpty())
        return false;
    instance.applyConfigProfile(stored);
    // The windows showing the instance follow: its values now match the stored profile.
    util::Message applied(Instance::ConfigProfileApplied);
    instance.broadcastFrom(applied);
    return true;
}

std::vector<std::string> Tool::splitCategories(const std::string& text) {
    std::vector<std::string> pieces;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find(';', start);
        const std::string piece =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (piece.empty())
            break;
        pieces.push_back(piece);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return pieces;
}

} // namespace mvk::qvn::core
