#include "gui/component/qt/Group.h"

#include "gui/LayoutGuard.h"

namespace mvk::gui::component {

Component* Group::Factory::create(const util::xml::Element& element) {
    return LayoutGuard::build<qt::Group>(element);
}

namespace qt {

Group::Group(const util::xml::Element& element) : QtComponent(element) {
    applyLabel();
}

void Group::applyLabel() {
    setTitle(QString::fromStdString(getLabel()));
}

} // namespace qt
} // namespace mvk::gui::component
