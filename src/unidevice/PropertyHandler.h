#pragma once
// The named properties of one tool instance, in creation order. Owns them.
#include "unidevice/Property.h"
#include "util/DynamicObject.h"

#include <string>
#include <utility>
#include <vector>

namespace mvk::unidevice {

class PropertyHandler : public util::DynamicObject {
public:
    PropertyHandler() = default;
    PropertyHandler(const PropertyHandler&) = delete;
    PropertyHandler& operator=(const PropertyHandler&) = delete;
    // Destroys every property, the newest first.
    ~PropertyHandler() override;

    int32_t count() const { return static_cast<int32_t>(entries.size()); }
    // Null outside the range, or for an unknown name.
    Property* property(int32_t index) const;
    Property* property(const std::string& name) const;
    // The property of that name, or a new one made by `factory` (a plain Property when the
    // factory is empty or answers null) and appended.
    Property* getOrCreate(const std::string& name, uint32_t accepted,
                          const Property::Factory& factory = {});

private:
    std::vector<std::pair<std::string, Property*>> entries;
};

} // namespace mvk::unidevice
