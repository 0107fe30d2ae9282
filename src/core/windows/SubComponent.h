#pragma once
// The base of the parts of a window that are created by name: each kind registers a creator
// under its name, and a window asks for the part it needs by that name.
#include "util/DynamicObject.h"
#include "util/MessageNode.h"

#include <functional>
#include <string>

namespace mvk::gui {
class Component;
}

namespace mvk::qvn::core {

class SubComponent : public util::DynamicObject,
                     public util::DynamicCreator,
                     public util::MessageNode {
public:
    using Creator = std::function<SubComponent*()>;

    explicit SubComponent(std::string name) : MessageNode(std::move(name)) {}

    void destroy() override { delete this; }
    ~SubComponent() override = default;
    // Builds the part inside `parent`, a component of the owning window; false when the part
    // cannot live there.
    virtual bool attachTo(gui::Component* parent) = 0;

    // Registers `creator` under `name`; the first registration of a name wins (false after).
    static bool registerKind(const std::string& name, Creator creator);
    static void unregisterKind(const std::string& name);
    static bool isRegistered(const std::string& name);
    // A new part of the kind registered under `name`, or null for an unknown name.
    static SubComponent* create(const std::string& name);
};

} // namespace mvk::qvn::core
