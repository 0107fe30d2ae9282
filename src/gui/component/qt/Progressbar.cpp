#include "gui/component/qt/Progressbar.h"

#include "gui/LayoutGuard.h"

#include <cmath>

namespace mvk::gui::component {

Component* Progressbar::Factory::create(const util::xml::Element& element) {
    return LayoutGuard::build<qt::Progressbar>(element);
}

namespace qt {

Progressbar::Progressbar(const util::xml::Element& element) : QtComponent(element) {
    setRange(0, 100);
    setValue(0);
}

void Progressbar::setProgress(double progress) {
    component::Progressbar::setProgress(progress);
    // Percent, truncated; values the bar cannot show are kept out of its range.
    const double percent = std::trunc(progress * 100.0);
    setValue(std::isfinite(percent) ? static_cast<int>(std::clamp(percent, 0.0, 100.0)) : 0);
}

} // namespace qt
} // namespace mvk::gui::component
