#include "gui/component/qt/List.h"

#include "gui/LayoutGuard.h"
#include "gui/component/qt/FrameStyles.h"

namespace mvk::gui::component {

Component* List::Factory::create(const util::xml::Element& element) {
    return LayoutGuard::build<qt::List>(element);
}

namespace qt {

List::List(const util::xml::Element& element) : QtComponent(element) {
    FrameStyles::apply(this, getStyle());
}

void List::boxChanged() {
    FrameStyles::apply(this, getStyle());
    applyBoxSettings();
}

} // namespace qt
} // namespace mvk::gui::component
