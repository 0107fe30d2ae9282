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

void Tool::applyStartProfiles(Instance& instance) {
    const std::string start = XMLFileManager::StartProfile;
    configStore->addElement(instance.makeConfigProfile(XMLFileManager::FactorySettings), false,
                            true);
    if (configStore->elementByName(start).isEmpty())
        configStore->addElement(instance.makeConfigProfile(start), true, false);
    instance.applyConfigProfile(configStore->elementByName(start));
    if (inputStore->elementByName(start).isEmpty())
        inputStore->addElement(instance.makeInputProfile(start), true, false);
    instance.applyInputProfile(inputStore->elementByName(start));
}

bool Tool::applyConfigProfile(Instance& instance, const std::string& profile) {
    const util::xml::Element& stored = configStore->elementByName(profile);
    if (stored.isEmpty())
        return false;
    instance.applyConfigProfile(stored);
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
