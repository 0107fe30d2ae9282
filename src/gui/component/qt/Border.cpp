#include "gui/component/qt/Border.h"

#include "gui/LayoutGuard.h"
#include "gui/component/qt/FrameStyles.h"

namespace mvk::gui::component {

Component* Border::Factory::create(const util::xml::Element& element) {
    return LayoutGuard::build<qt::Border>(element);
}

namespace qt {

Border::Border(const util::xml::Element& element) : QtComponent(element) {
    FrameStyles::apply(this, getStyle());
}

void Border::boxChanged() {
    FrameStyles::apply(this, getStyle());
    applyBoxSettings();
}

} // namespace qt
} // namespace mvk::gui::component
