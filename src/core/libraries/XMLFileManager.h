#pragma once
// A store of named XML profiles: gathered from source folders and files (the first source that
// holds a name wins), written to one destination folder, with names no file or user may take.
#include "util/xml/Element.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace mvk::qvn::core {

class XMLFileManager {
public:
    // Results of addElement, removeElement and renameElement.
    static constexpr int Done = 0;
    // The name is reserved, or cannot be a file name in the destination folder.
    static constexpr int Refused = 1;
    // The file could not be written; the store and the previous file are unchanged.
    static constexpr int WriteFailed = 2;
    static constexpr int NotFound = 3;
    // The profile lives outside the destination folder (an installed profile).
    static constexpr int ReadOnly = 4;

    // The profile every instance's present state is kept under, in memory only.
    static constexpr const char* FactorySettings = "Factory Settings";
    static constexpr const char* StartProfile = "Start Profile";

    XMLFileManager() = default;
    virtual ~XMLFileManager() = default;

    void setDestinationPath(const std::string& folder);
    const std::string& destinationPath() const { return destination; }
    // Appended; a path whose last component has no "." is a folder, any other a single file.
    void addSourcePath(const std::string& path);
    const std::vector<std::string>& sourcePaths() const { return sources; }
    // Compared without regard to letter case.
    void addReservedName(const std::string& name);
    bool isReserved(const std::string& name) const;
    // Non-empty, no "/", "\\" or NUL byte, not "." or "..": a name that stays a file of the
    // destination folder.
    static bool isUsableName(const std::string& name);

    // Forgets everything in memory and reads the sources again.
    void reload();
    // Done, Refused (reserved without `force`, or unusable even with it) or WriteFailed.
    int addElement(const util::xml::Element& element, bool save, bool force);
    // The stored element, or the shared empty element.
    const util::xml::Element& elementByName(const std::string& name) const;
    bool hasElement(const std::string& name) const;
    // Profile names in the order they were added.
    std::vector<std::string> names() const;
    // The file the profile was read from or saved to; empty for profiles held in memory only.
    std::string fileOf(const std::string& name) const;

    // Deletes the profile and its file (or its entry in a file holding several); a profile of
    // that name in a later source becomes visible again. Done, Refused, NotFound, ReadOnly or
    // WriteFailed.
    int removeElement(const std::string& name);
    // Writes the profile under the new name (replacing a profile of that name), then removes
    // the old one as removeElement does. Same results as addElement and removeElement.
    int renameElement(const std::string& oldName, const std::string& newName);
    // The profiles of a file the user chose, as the sources are read; none when unreadable.
    std::vector<util::xml::Element> readProfiles(const std::string& path) const;
    // Writes one profile to a file the user chose, named after the file without its extension;
    // false when that name is unusable or the file cannot be written.
    bool exportElement(const util::xml::Element& element, const std::string& path) const;

protected:
    // Points the store at a tool's folders: destination dataFolder/folderName; sources the
    // destination, installedDataFolder/fileName and installedDataFolder/folderName; the reserved
    // name FactorySettings; then reads them. Earlier sources and reserved names are dropped.
    void setUp(const std::string& dataFolder, const std::string& installedDataFolder,
               const std::string& folderName, const std::string& fileName);

    // The format of the files, in this order.
    // Writes one profile to folder + "/" + name + the extension; false on any failure.
    virtual bool writeElement(const std::string& name, const util::xml::Element& element,
                              const std::string& folder) const = 0;
    // The profiles held by a file; none when it cannot be read.
    virtual std::vector<util::xml::Element> readFile(const std::string& path) const = 0;
    // Replaces the profile of that name in a file that may hold several, or appends it.
    virtual bool storeElement(const std::string& name, const util::xml::Element& element,
                              const std::string& file) const = 0;
    virtual std::string profileName(const util::xml::Element& element) const = 0;
    // "*.<extension>".
    virtual std::string filePattern() const = 0;
    // Writes the profiles (at least one) as the whole content of a file.
    virtual bool writeElements(const std::string& file,
                               const std::vector<util::xml::Element>& elements) const = 0;
    // A copy of the element carrying `name` as its profile name.
    virtual util::xml::Element renamed(const util::xml::Element& element,
                                       const std::string& name) const = 0;

    // ".mcp" for "*.mcp".
    std::string extension() const;
    // Reads the file, drops the profiles called `name`, appends `element` unless it is null and
    // writes the file back; a file left without profiles is deleted.
    bool replaceInFile(const std::string& file, const std::string& name,
                       const util::xml::Element* element) const;

private:
    using Entry = std::pair<std::string, util::xml::Element>;

    std::vector<Entry>::iterator find(const std::string& name);
    std::vector<Entry>::const_iterator find(const std::string& name) const;
    // The files a source path stands for.
    std::vector<std::string> filesOf(const std::string& source) const;
    // Adds every profile of the sources not yet in memory; with `only`, just that name.
    void readSources(const std::string* only);
    // Writes the profile to its recorded file in the destination folder, or else to its own
    // file there; the file written, or empty on failure.
    std::string saveToDestination(const std::string& name, const util::xml::Element& element);
    bool isInDestination(const std::string& file) const;
    // Drops the profile from memory; a later source's profile of that name takes its place.
    void forget(const std::string& name);
    void refuse() const;

    std::vector<std::string> sources;
    std::string destination;
    std::vector<Entry> elements;
    std::map<std::string, std::string> files;
    std::vector<std::string> reserved;
};

} // namespace mvk::qvn::core
