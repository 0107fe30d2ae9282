#include "gui/component/qt/QBoxLayoutLimited.h"

#include <algorithm>

namespace mvk::gui::component::qt {

QBoxLayoutLimited::QBoxLayoutLimited(Direction direction, QWidget* parent)
    : QBoxLayout(direction, parent) {}

void QBoxLayoutLimited::setLimits(const QSize& minimum, const QSize& maximum) {
    minimumWidth = minimum.width();
    minimumHeight = minimum.height();
    maximumWidth = maximum.width();
    maximumHeight = maximum.height();
    invalidate();
}

QSize QBoxLayoutLimited::minimumSize() const {
    const QSize own = QBoxLayout::minimumSize();
    // Raised first, then lowered: when the limits cross, the maximum wins.
    return {std::min(std::max(own.width(), minimumWidth), maximumWidth),
            std::min(std::max(own.height(), minimumHeight), maximumHeight)};
}

} // namespace mvk::gui::component::qt
