#include "gui/Component.h"

#include "gui/componentinterface/Interface.h"

namespace mvk::gui {

Component::Component(std::string kindName) : kindName(std::move(kindName)) {}

void Component::destroy() {
    delete this;
}

Component::~Component() = default;

std::string Component::getKindName() const {
    return kindName;
}

Component* Component::root() {
    Component* top = this;
    while (top->parent() != nullptr)
        top = top->parent();
    return top;
}

} // namespace mvk::gui
