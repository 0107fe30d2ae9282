#include "core/libraries/Plugin.h"

#include "core/Paths.h"
#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "core/libraries/XMLFileManager.h"
#include "core/plugins/TemplatePlugin.h"
#include "sdk/CCameraPlugin.h"
#include "util/xml/Element.h"

namespace mvk::qvn::core {

Plugin::Plugin(Library* library, CCameraPlugin* wrapped) : Tool(library), plugin(wrapped) {
    ids.push_back(plugin->getName());
    std::vector<std::string> further;
    plugin->extend(Extension::ToolIdentifiers, &further, 0);
    ids.insert(ids.end(), further.begin(), further.end());
    setUpProfileStores(dataFolder(), installedDataFolder());
}

std::string Plugin::description() const { return plugin->getLongDescription(); }

std::string Plugin::furtherText() const { return plugin->getInfoText(); }

bool Plugin::isCreatable() const { return !plugin->supportsExtension(Extension::NotCreatable); }

std::vector<std::string> Plugin::identifiers() const { return ids; }

std::vector<std::string> Plugin::categories() const {
    return splitCategories(plugin->getCategory());
}

std::string Plugin::dataFolder() const {
    return getUserDataPath() + "/data/" + plugin->getDataPath();
}

std::string Plugin::installedDataFolder() const {
    return getInstallPath("data") + "/" + plugin->getDataPath();
}

std::string Plugin::profileFolderOf(const Instance& instance) const {
    const auto* code = dynamic_cast<const plugins::TemplatePlugin::Code*>(instance.getCode());
    if (code == nullptr)
        return {};
    // The template's data path travels with the instance's logic, in scenes too.
    const std::string& path = code->content().child("datapath").text();
    const size_t slash = path.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? path : path.substr(slash + 1);
    return XMLFileManager::isUsableName(folder) ? folder : std::string();
}

std::string Plugin::helpDocument() const {
    std::string flat = plugin->getDataPath();
    for (char& c : flat)
        if (c == '/' || c == '\\')
            c = '_';
    return getInstallPath("doc") + "/" + flat + ".html";
}

Instance* Plugin::createInstanceObject(const std::string& name) {
    CCamera::CreateParam param;
    param.plugin = plugin;
    param.name = name;
    CCamera* code = plugin->createCamera(param);
    if (code == nullptr)
        return nullptr;
    return new Instance(this, code, name);
}

InstanceReference* Plugin::createInstance(const std::string& requested) {
    const std::string name = requested.empty() ? this->name() + "_01" : requested;
    Instance* instance = createInstanceObject(name);
    if (instance == nullptr)
        return nullptr;
    CCamera* code = instance->getCode();
    if (code->initialize() != 0 || code->check() != 0) {
        instance->discardNodes();
        instance->destroy();
        return nullptr;
    }
    applyStartProfiles(*instance);
    return new InstanceReference(instance);
}

void Plugin::makeToolTag(util::xml::Element& tag, const std::string& name) const {
    tag.assign(util::xml::Tag("QVT_Plugin"));
    tag.attribute("version") = "2.5";
    tag.addChild(util::xml::TagWithData("type", plugin->getName()));
    if (!name.empty())
        tag.addChild(util::xml::TagWithData("name", name));
}

} // namespace mvk::qvn::core
