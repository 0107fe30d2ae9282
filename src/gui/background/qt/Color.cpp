#include "gui/background/qt/Color.h"

#include "gui/Component.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace mvk::gui::background {

Background* Color::Factory::create(const util::xml::Element& element) {
    return new qt::Color(element);
}

namespace qt {

void Color::paint(Component* component) {
    QWidget* widget = component ? component->getWidget() : nullptr;
    if (widget == nullptr)
        return;
    QPainter painter(widget);
    painter.fillRect(widget->rect(), QColor(std::clamp(red, 0, 255), std::clamp(green, 0, 255),
                                            std::clamp(blue, 0, 255), std::clamp(alpha, 0, 255)));
}

} // namespace qt
} // namespace mvk::gui::background
