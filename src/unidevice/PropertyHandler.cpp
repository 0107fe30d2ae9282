#include "unidevice/PropertyHandler.h"

namespace mvk::unidevice {

PropertyHandler::~PropertyHandler() {
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        it->second->destroy();
}

Property* PropertyHandler::property(int32_t index) const {
    if (index < 0 || index >= count())
        return nullptr;
    return entries[static_cast<size_t>(index)].second;
}

Property* PropertyHandler::property(const std::string& name) const {
    for (const auto& [entryName, entry] : entries)
        if (entryName == name)
            return entry;
    return nullptr;
}

Property* PropertyHandler::getOrCreate(const std::string& name, uint32_t accepted,
                                       const Property::Factory& factory) {
    if (Property* existing = property(name))
        return existing;
    Property* made = factory ? factory(name, accepted) : nullptr;
    if (made == nullptr)
        made = new Property(name, accepted);
    entries.emplace_back(name, made);
    return made;
}

} // namespace mvk::unidevice
