#pragma once
// A tool's store of input profiles: "*.mip" files holding one "profile" as their root, or several
// under a root "unidevice".
#include "core/libraries/Tool.h"
#include "core/libraries/XMLFileManager.h"

namespace mvk::qvn::core {

class Tool::InputProfileManager : public XMLFileManager {
public:
    static constexpr const char* FolderName = "inputprofiles";
    static constexpr const char* FileName = "inputprofile.xml";

    // Destination dataFolder + "/inputprofiles"; sources that folder, then
    // installedDataFolder + "/inputprofile.xml", then installedDataFolder + "/inputprofiles";
    // reserved name "Factory Settings"; then reads the sources.
    void setUp(const std::string& dataFolder, const std::string& installedDataFolder);

    // The profiles of a file's root: the "profile" children of "unidevice", or the root itself
    // when it is a "profile".
    static std::vector<util::xml::Element> profilesOf(util::xml::Element root);

protected:
    bool writeElement(const std::string& name, const util::xml::Element& element,
                      const std::string& folder) const override;
    std::vector<util::xml::Element> readFile(const std::string& path) const override;
    bool storeElement(const std::string& name, const util::xml::Element& element,
                      const std::string& file) const override;
    // The "name" of the profile, also when it is wrapped in an "inputprofile" element.
    std::string profileName(const util::xml::Element& element) const override;
    std::string filePattern() const override { return "*.mip"; }
    bool writeElements(const std::string& file,
                       const std::vector<util::xml::Element>& elements) const override;
    util::xml::Element renamed(const util::xml::Element& element,
                               const std::string& name) const override;
};

} // namespace mvk::qvn::core
