#pragma once
// A tool's store of configuration profiles: "*.mcp" files whose root "configprofiles" holds
// "configprofile" elements; profiles of the older forms are converted when read.
#include "core/libraries/Tool.h"
#include "core/libraries/XMLFileManager.h"

namespace mvk::qvn::core {

class Tool::ConfigProfileManager : public XMLFileManager {
public:
    static constexpr const char* FolderName = "configprofiles";
    static constexpr const char* FileName = "configprofile.xml";

    // Destination dataFolder + "/configprofiles"; sources that folder, then
    // installedDataFolder + "/configprofile.xml", then installedDataFolder + "/configprofiles";
    // reserved name "Factory Settings"; then reads the sources.
    void setUp(const std::string& dataFolder, const std::string& installedDataFolder);

    // The profiles of a file's root: "configprofiles" of version "2.0", a single
    // "configprofile", or one of the older roots, whose profiles are converted.
    static std::vector<util::xml::Element> profilesOf(const util::xml::Element& root);

protected:
    bool writeElement(const std::string& name, const util::xml::Element& element,
                      const std::string& folder) const override;
    std::vector<util::xml::Element> readFile(const std::string& path) const override;
    bool storeElement(const std::string& name, const util::xml::Element& element,
                      const std::string& file) const override;
    std::string profileName(const util::xml::Element& element) const override;
    std::string filePattern() const override { return "*.mcp"; }
    bool writeElements(const std::string& file,
                       const std::vector<util::xml::Element>& elements) const override;
    util::xml::Element renamed(const util::xml::Element& element,
                               const std::string& name) const override;
};

} // namespace mvk::qvn::core
