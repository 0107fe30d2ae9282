#include "core/windows/SubComponent.h"

#include <map>

namespace mvk::qvn::core {

namespace {

std::map<std::string, SubComponent::Creator>& kinds() {
    static std::map<std::string, SubComponent::Creator> registered;
    return registered;
}

} // namespace

bool SubComponent::registerKind(const std::string& name, Creator creator) {
    if (!creator)
        return false;
    return kinds().emplace(name, std::move(creator)).second;
}

void SubComponent::unregisterKind(const std::string& name) {
    kinds().erase(name);
}

bool SubComponent::isRegistered(const std::string& name) {
    return kinds().count(name) != 0;
}

SubComponent* SubComponent::create(const std::string& name) {
    const auto found = kinds().find(name);
    return found != kinds().end() ? found->second() : nullptr;
}

} // namespace mvk::qvn::core
