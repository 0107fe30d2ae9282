#include "core/plugins/TemplatePlugin.h"

#include <map>
#include <memory>

namespace mvk::qvn::core::plugins {

TemplatePlugin* TemplatePlugin::get(const std::string& name) {
    static std::map<std::string, std::unique_ptr<TemplatePlugin>> plugins;
    auto& slot = plugins[name];
    if (!slot)
        slot.reset(new TemplatePlugin(name));
    return slot.get();
}

} // namespace mvk::qvn::core::plugins
