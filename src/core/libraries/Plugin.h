#pragma once
// A tool that wraps one plug-in object of a module or of the internal library.
#include "core/libraries/Tool.h"

namespace mvk::qvn {
class CCameraPlugin;
}

namespace mvk::qvn::core {

class Plugin : public Tool {
public:
    // The plug-in object stays the module's.
    Plugin(Library* library, CCameraPlugin* plugin);

    std::string description() const override;
    std::string furtherText() const override;
    // False when the plug-in supports extension 51.
    bool isCreatable() const override;
    int kind() const override { return KindPlugin; }
    // The plug-in's name, then the identifiers it adds through extension 16.
    std::vector<std::string> identifiers() const override;
    std::vector<std::string> categories() const override;
    // user data + "/data/" + the data sub-path.
    std::string dataFolder() const override;
    // install data + "/" + the data sub-path.
    std::string installedDataFolder() const override;
    // install doc + "/" + the data sub-path with "/" and "\" as "_" + ".html".
    std::string helpDocument() const override;
    InstanceReference* createInstance(const std::string& name) override;
    Instance* createInstanceObject(const std::string& name) override;
    void makeToolTag(util::xml::Element& tag, const std::string& name) const override;

    CCameraPlugin* getPlugin() const { return plugin; }

protected:
    // For an instance of a template plug-in: the last part of its template's data path, so that
    // every template keeps its profiles apart ("core/template/turntable/configprofiles").
    std::string profileFolderOf(const Instance& instance) const override;

private:
    CCameraPlugin* plugin;
    std::vector<std::string> ids;
};

} // namespace mvk::qvn::core
