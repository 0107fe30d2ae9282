#include "core/libraries/InputProfileManager.h"

namespace mvk::qvn::core {

using util::xml::Element;

namespace {

constexpr const char* ProfileTag = "profile";
constexpr const char* ContainerTag = "unidevice";
// How an instance hands over its bindings: the profile wrapped in this element.
constexpr const char* WrapperTag = "inputprofile";

bool isTag(const Element& element, const char* name) {
    return element.type() == Element::KindTag && element.name() == name;
}

bool isWrapped(const Element& element) {
    return isTag(element, WrapperTag) && element.childCount(ProfileTag) > 0;
}

const Element& profileOf(const Element& element) {
    return isWrapped(element) ? element.child(ProfileTag) : element;
}

} // namespace

void Tool::InputProfileManager::setUp(const std::string& dataFolder,
                                      const std::string& installedDataFolder) {
    XMLFileManager::setUp(dataFolder, installedDataFolder, FolderName, FileName);
}

// The profiles are moved out of `root`: a profile can hold a great many properties.
std::vector<Element> Tool::InputProfileManager::profilesOf(Element root) {
    std::vector<Element> profiles;
    if (isTag(root, ProfileTag)) {
        profiles.push_back(std::move(root));
        return profiles;
    }
    if (!isTag(root, ContainerTag))
        return profiles;
    for (int i = 0; i < root.childCount(); ++i)
        if (isTag(root.child(i), ProfileTag))
            profiles.push_back(std::move(root.child(i)));
    return profiles;
}

bool Tool::InputProfileManager::writeElement(const std::string& name, const Element& element,
                                             const std::string& folder) const {
    return writeElements(folder + "/" + name + extension(), {renamed(element, name)});
}

std::vector<Element> Tool::InputProfileManager::readFile(const std::string& path) const {
    Element root;
    if (root.load(path) != Element::Parsed)
        return {};
    return profilesOf(std::move(root));
}

bool Tool::InputProfileManager::storeElement(const std::string& name, const Element& element,
                                             const std::string& file) const {
    return replaceInFile(file, name, &element);
}

std::string Tool::InputProfileManager::profileName(const Element& element) const {
    return profileOf(element).attribute("name");
}

// One profile is written as the root, as exported files are; several go under "unidevice".
bool Tool::InputProfileManager::writeElements(const std::string& file,
                                              const std::vector<Element>& elements) const {
    if (elements.size() == 1)
        return profileOf(elements.front()).saveAtomically(file);
    Element document = util::xml::Tag(ContainerTag);
    for (const Element& element : elements)
        document.addChild(profileOf(element));
    return document.saveAtomically(file);
}

Element Tool::InputProfileManager::renamed(const Element& element, const std::string& name) const {
    Element copy = element;
    if (isWrapped(copy))
        copy.child(ProfileTag).attribute("name") = name;
    else
        copy.attribute("name") = name;
    return copy;
}

} // namespace mvk::qvn::core
