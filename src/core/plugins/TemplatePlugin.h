#pragma once
// The built-in template tools ("template", "PRM", "PRS", "PRC"): tools whose behaviour is
// described in XML.
#include "sdk/CCameraPlugin.h"

#include <string>

namespace mvk::qvn::core::plugins {

class TemplatePlugin : public CCameraPlugin {
public:
    // The plug-in object of that name (one per name for the life of the process).
    static TemplatePlugin* get(const std::string& name);

    // The per-instance template logic arrives with the template code objects; until then no
    // instance can be made from these tools.
    CCamera* createCamera(const CCamera::CreateParam& param) override { return nullptr; }
    std::string getName() const override { return pluginName; }
    std::string getDataPath() const override { return "core/template"; }
    std::string getShortDescription() const override { return {}; }
    std::string getCategory() const override { return "PRS"; }
    std::string getLongDescription() const override { return {}; }
    std::string getAuthor() const override { return {}; }
    uint32_t getVersion() const override { return 8101; }

private:
    explicit TemplatePlugin(std::string name) : pluginName(std::move(name)) {}

    std::string pluginName;
};

} // namespace mvk::qvn::core::plugins
