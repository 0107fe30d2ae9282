#include "core/libraries/XMLFileManager.h"

#include "core/Paths.h"
#include "platform/FileSystem.h"
#include "util/Log.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace mvk::qvn::core {

using util::xml::Element;

namespace {

void note(const std::string& message) {
    util::Log::instance()->write(message, util::Log::Notice);
}

void note(const std::string& message, const std::string& value) {
    util::Log::instance()->write(message, value, util::Log::Notice);
}

std::string lowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Both separators count, so a Windows-style path keeps its meaning.
size_t lastSeparator(const std::string& path) {
    return path.find_last_of("/\\");
}

std::string lastComponent(const std::string& path) {
    const size_t separator = lastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

} // namespace

void XMLFileManager::setDestinationPath(const std::string& folder) {
    note("Setting destination path", folder);
    destination = folder;
}

void XMLFileManager::addSourcePath(const std::string& path) {
    note("Adding source path", path);
    sources.push_back(path);
}

void XMLFileManager::addReservedName(const std::string& name) {
    const std::string lower = lowerCase(name);
    if (std::find(reserved.begin(), reserved.end(), lower) == reserved.end())
        reserved.push_back(lower);
}

bool XMLFileManager::isReserved(const std::string& name) const {
    return std::find(reserved.begin(), reserved.end(), lowerCase(name)) != reserved.end();
}

bool XMLFileManager::isUsableName(const std::string& name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

void XMLFileManager::setUp(const std::string& dataFolder, const std::string& installedDataFolder,
                           const std::string& folderName, const std::string& fileName) {
    sources.clear();
    reserved.clear();
    setDestinationPath(dataFolder + "/" + folderName);
    addSourcePath(destination);
    addSourcePath(installedDataFolder + "/" + fileName);
    addSourcePath(installedDataFolder + "/" + folderName);
    addReservedName(FactorySettings);
    reload();
}

void XMLFileManager::reload() {
    note("Reloading elements from files");
    elements.clear();
    files.clear();
    readSources(nullptr);
}

std::vector<std::string> XMLFileManager::filesOf(const std::string& source) const {
    if (lastComponent(source).find('.') != std::string::npos)
        return {source};
    std::vector<std::string> found;
    for (const std::string& name : platform::listFiles(source, filePattern()))
        found.push_back(source + "/" + name);
    return found;
}

void XMLFileManager::readSources(const std::string* only) {
    for (const std::string& source : sources) {
        for (const std::string& file : filesOf(source)) {
            for (Element& profile : readFile(file)) {
                std::string name = profileName(profile);
                // A profile that does not name itself is known by its file's name.
                if (name.empty()) {
                    name = lastComponent(file);
                    name.resize(std::min(name.size(), name.rfind('.')));
                    profile = renamed(profile, name);
                }
                if ((only != nullptr && name != *only) || hasElement(name))
                    continue;
                if (addElement(profile, false, false) == Done)
                    files[name] = file;
            }
        }
    }
}

int XMLFileManager::addElement(const Element& element, bool save, bool force) {
    const std::string name = profileName(element);
    note("Adding file element", name);
    if ((!force && isReserved(name)) || !isUsableName(name)) {
        refuse();
        return Refused;
    }
    if (save) {
        note("Saving element to file");
        const std::string file = saveToDestination(name, element);
        if (file.empty()) {
            util::Log::instance()->write("Could not save element to file", name, util::Log::Error);
            return WriteFailed;
        }
        files[name] = file;
    }
    auto existing = find(name);
    if (existing != elements.end()) {
        note("Replacing existing element");
        existing->second = element;
    } else {
        note("Adding new element");
        elements.emplace_back(name, element);
    }
    return Done;
}

void XMLFileManager::refuse() const {
    note("Name is reserved read-only. Aborting");
}

std::string XMLFileManager::saveToDestination(const std::string& name, const Element& element) {
    // Without a destination the file would land in the file system's root; without the user
    // data folder there is nowhere to store.
    if (destination.empty() || !createDataFolder(destination))
        return {};
    // A profile read from a file named otherwise is written back there: a second file would
    // leave the old one to win the next reload.
    const auto recorded = files.find(name);
    std::string target = destination + "/" + name + extension();
    if (recorded != files.end() && isInDestination(recorded->second))
        target = recorded->second;
    // An existing file may hold other profiles too; they are kept.
    if (platform::fileExists(target))
        return storeElement(name, element, target) ? target : std::string();
    return writeElement(name, element, destination) ? target : std::string();
}

bool XMLFileManager::isInDestination(const std::string& file) const {
    if (destination.empty() || file.size() <= destination.size() + 1)
        return false;
    return file.compare(0, destination.size(), destination) == 0 &&
           file[destination.size()] == '/' && lastSeparator(file) == destination.size();
}

const Element& XMLFileManager::elementByName(const std::string& name) const {
    const auto found = find(name);
    return found != elements.end() ? found->second : Element::emptyElement();
}

bool XMLFileManager::hasElement(const std::string& name) const {
    return find(name) != elements.end();
}

std::vector<std::string> XMLFileManager::names() const {
    std::vector<std::string> result;
    for (const Entry& entry : elements)
        result.push_back(entry.first);
    return result;
}

std::string XMLFileManager::fileOf(const std::string& name) const {
    const auto found = files.find(name);
    return found != files.end() ? found->second : std::string();
}

int XMLFileManager::removeElement(const std::string& name) {
    if (isReserved(name)) {
        refuse();
        return Refused;
    }
    if (!hasElement(name))
        return NotFound;
    const std::string file = fileOf(name);
    if (!file.empty()) {
        if (!isInDestination(file))
            return ReadOnly;
        if (!replaceInFile(file, name, nullptr))
            return WriteFailed;
    }
    forget(name);
    return Done;
}

int XMLFileManager::renameElement(const std::string& oldName, const std::string& newName) {
    if (isReserved(oldName) || isReserved(newName) || !isUsableName(newName)) {
        refuse();
        return Refused;
    }
    const auto found = find(oldName);
    if (found == elements.end())
        return NotFound;
    if (oldName == newName)
        return Done;
    const std::string oldFile = fileOf(oldName);
    if (!oldFile.empty() && !isInDestination(oldFile))
        return ReadOnly;
    const int added = addElement(renamed(found->second, newName), true, false);
    if (added != Done)
        return added;
    if (!oldFile.empty() && !replaceInFile(oldFile, oldName, nullptr))
        return WriteFailed;
    forget(oldName);
    return Done;
}

void XMLFileManager::forget(const std::string& name) {
    const auto found = find(name);
    if (found != elements.end())
        elements.erase(found);
    files.erase(name);
    readSources(&name);
}

std::vector<Element> XMLFileManager::readProfiles(const std::string& path) const {
    return readFile(path);
}

bool XMLFileManager::exportElement(const Element& element, const std::string& path) const {
    const size_t separator = lastSeparator(path);
    const std::string folder = separator == std::string::npos ? "." : path.substr(0, separator);
    std::string name = lastComponent(path);
    const std::string suffix = extension();
    if (name.size() >= suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
        name.resize(name.size() - suffix.size());
    if (!isUsableName(name))
        return false;
    return writeElement(name, element, folder);
}

std::string XMLFileManager::extension() const {
    const std::string pattern = filePattern();
    return pattern.empty() ? std::string() : pattern.substr(1);
}

bool XMLFileManager::replaceInFile(const std::string& file, const std::string& name,
                                   const Element* element) const {
    std::vector<Element> kept;
    for (Element& profile : readFile(file))
        if (profileName(profile) != name)
            kept.push_back(std::move(profile));
    if (element != nullptr)
        kept.push_back(renamed(*element, name));
    if (kept.empty())
        return platform::removeFile(file) || !platform::fileExists(file);
    return writeElements(file, kept);
}

std::vector<XMLFileManager::Entry>::iterator XMLFileManager::find(const std::string& name) {
    return std::find_if(elements.begin(), elements.end(),
                        [&name](const Entry& entry) { return entry.first == name; });
}

std::vector<XMLFileManager::Entry>::const_iterator
XMLFileManager::find(const std::string& name) const {
    return std::find_if(elements.begin(), elements.end(),
                        [&name](const Entry& entry) { return entry.first == name; });
}

} // namespace mvk::qvn::core
