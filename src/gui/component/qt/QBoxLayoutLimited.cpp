#include "gui/component/qt/QBoxLayoutLimited.h"

#include <QWidget>

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

// The limits are the owning widget's, and Qt adds the widget's own margins (frame, group title)
// to a top-level box's minimum; those margins are inside the limits too.
QSize QBoxLayoutLimited::minimumSize() const {
    const QSize own = QBoxLayout::minimumSize();
    int aroundWidth = 0;
    int aroundHeight = 0;
    if (const QWidget* owner = parentWidget(); owner != nullptr && owner->layout() == this) {
        const QMargins margins = owner->contentsMargins();
        aroundWidth = margins.left() + margins.right();
        aroundHeight = margins.top() + margins.bottom();
    }
    // Raised first, then lowered: when the limits cross, the maximum wins.
    const int width = std::min(std::max(own.width() + aroundWidth, minimumWidth), maximumWidth);
    const int height =
        std::min(std::max(own.height() + aroundHeight, minimumHeight), maximumHeight);
    return {std::max(width - aroundWidth, 0), std::max(height - aroundHeight, 0)};
}

} // namespace mvk::gui::component::qt
