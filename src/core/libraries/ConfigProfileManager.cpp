#include "core/libraries/ConfigProfileManager.h"

#include "core/configadaptor/ProfileFormat.h"

namespace mvk::qvn::core {

using configadaptor::ProfileFormat;
using util::xml::Element;

namespace {

constexpr const char* ContainerTag = "configprofiles";
// Roots written by earlier versions of the tools.
constexpr const char* OlderRoots[] = {"ConfigProfile", "qvn_config", "CameraConfig"};

bool isTag(const Element& element, const char* name) {
    return element.type() == Element::KindTag && element.name() == name;
}

bool isOlderRoot(const Element& root) {
    for (const char* name : OlderRoots)
        if (isTag(root, name))
            return true;
    return false;
}

// An older root holds its profiles as children or, lacking any, is the profile itself.
std::vector<Element> olderProfilesOf(const Element& root) {
    std::vector<Element> profiles;
    for (int i = 0; i < root.childCount(); ++i) {
        const Element& child = root.child(i);
        if (isTag(child, "profile") || isTag(child, ProfileFormat::ProfileTag))
            profiles.push_back(ProfileFormat::convertProfile(child));
    }
    if (!profiles.empty())
        return profiles;
    Element profile = root;
    profile.setName("profile");
    profiles.push_back(ProfileFormat::convertProfile(profile));
    return profiles;
}

} // namespace

void Tool::ConfigProfileManager::setUp(const std::string& dataFolder,
                                       const std::string& installedDataFolder) {
    XMLFileManager::setUp(dataFolder, installedDataFolder, FolderName, FileName);
}

std::vector<Element> Tool::ConfigProfileManager::profilesOf(const Element& root) {
    if (isTag(root, ContainerTag)) {
        if (root.attribute("version") != ProfileFormat::CurrentVersion)
            return {};
        std::vector<Element> profiles;
        for (int i = 0; i < root.childCount(); ++i)
            if (isTag(root.child(i), ProfileFormat::ProfileTag))
                profiles.push_back(ProfileFormat::convertProfile(root.child(i)));
        return profiles;
    }
    if (isTag(root, ProfileFormat::ProfileTag))
        return {ProfileFormat::convertProfile(root)};
    if (isOlderRoot(root))
        return olderProfilesOf(root);
    return {};
}

bool Tool::ConfigProfileManager::writeElement(const std::string& name, const Element& element,
                                              const std::string& folder) const {
    return writeElements(folder + "/" + name + extension(), {renamed(element, name)});
}

std::vector<Element> Tool::ConfigProfileManager::readFile(const std::string& path) const {
    Element root;
    if (root.load(path) != Element::Parsed)
        return {};
    return profilesOf(root);
}

bool Tool::ConfigProfileManager::storeElement(const std::string& name, const Element& element,
                                              const std::string& file) const {
    return replaceInFile(file, name, &element);
}

std::string Tool::ConfigProfileManager::profileName(const Element& element) const {
    return element.attribute("name");
}

bool Tool::ConfigProfileManager::writeElements(const std::string& file,
                                               const std::vector<Element>& elements) const {
    Element document = util::xml::Tag(ContainerTag);
    document.attribute("version") = ProfileFormat::CurrentVersion;
    for (const Element& element : elements)
        document.addChild(element);
    return document.saveAtomically(file);
}

// Files only ever hold the current form.
Element Tool::ConfigProfileManager::renamed(const Element& element, const std::string& name) const {
    Element profile = ProfileFormat::convertProfile(element);
    profile.attribute("name") = name;
    return profile;
}

} // namespace mvk::qvn::core
