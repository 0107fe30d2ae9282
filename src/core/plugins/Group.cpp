#include "core/plugins/Group.h"

#include <string>
#include <vector>

namespace mvk::qvn::core::plugins {

Group::Group() { extensions = {Extension::ToolIdentifiers, Extension::NotCreatable}; }

Group* Group::get() {
    static Group plugin;
    return &plugin;
}

void* Group::extend(uint32_t id, void* argument, intptr_t) {
    if (id != Extension::ToolIdentifiers || argument == nullptr)
        return nullptr;
    // Stored tags of the older type names find the group too.
    auto* identifiers = static_cast<std::vector<std::string>*>(argument);
    identifiers->push_back("Empty Plugin");
    identifiers->push_back("Empty plugin");
    return argument;
}

CCamera* Group::createCamera(const CCamera::CreateParam& param) { return new Code(param); }

int32_t Group::Code::initialize() { return 0; }

} // namespace mvk::qvn::core::plugins
