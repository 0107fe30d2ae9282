#include "gui/component/qt/TearOffButton.h"

#include "gui/component/qt/FloatingMenu.h"

#include <QPainter>

namespace mvk::gui::component::qt {

TearOffButton::TearOffButton(FloatingMenu* menu) : QPushButton(menu) {
    setMaximumHeight(StripHeight);
    setMinimumHeight(StripHeight);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setToolTip(tr("Tear off"));
    connect(this, &QPushButton::clicked, menu, &FloatingMenu::createMenuDialog);
}

// A dashed line across the strip, the usual sign that a menu can be torn off.
void TearOffButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(),
                     palette().color(underMouse() ? QPalette::Highlight : QPalette::Window));
    QPen pen(palette().color(underMouse() ? QPalette::HighlightedText : QPalette::Mid), 1,
             Qt::DashLine);
    painter.setPen(pen);
    const int middle = height() / 2;
    painter.drawLine(4, middle, width() - 5, middle);
}

} // namespace mvk::gui::component::qt
